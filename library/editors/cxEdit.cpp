#include "library/editors/cxEdit.h"

#include "platform/classes/Filer.h"

void TcxCustomEditStyle::Publish(TPublisher<TcxCustomEditStyle>& P) {
  P.Property(L"ButtonTransparency", &TcxCustomEditStyle::ButtonTransparency,
             &TcxCustomEditStyle::SetButtonTransparency)
      .Default(ebtNone);
  P.Property(L"Font", &TcxCustomEditStyle::Font, &TcxCustomEditStyle::SetFont)
      .Stored(&TcxCustomEditStyle::IsFontStored);
  P.Property(L"HotTrack", &TcxCustomEditStyle::HotTrack, &TcxCustomEditStyle::SetHotTrack).Default(true);
  PublishLookAndFeel(P);
}

void TcxCustomEditStyle::Create(TPersistent* AOwner) {
  FOwner = AOwner;
  FFont.reset(New<TFont>());
  FFont->SetOnChange(BindEvent<&TcxCustomEditStyle::FontChanged>(this));
  CreateLookAndFeel(this, BindEvent<&TcxCustomEditStyle::LookAndFeelChanged>(this));
}

void TcxCustomEditStyle::Destroy() {
  FFont.reset();
  inherited::Destroy();
}

void TcxCustomEditStyle::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCustomEditStyle*>(ASource)) {
    FHotTrack = source->FHotTrack;
    FButtonTransparency = source->FButtonTransparency;
    if (source->FFontAssigned) FFont->Assign(source->FFont.get());
    LookAndFeel()->Assign(source->LookAndFeel());
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

void TcxCustomEditStyle::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"IsFontAssigned", [this](TReader* AReader) { FFontAssigned = AReader->ReadBoolean(); },
      [](TWriter* AWriter) { AWriter->WriteBoolean(true); }, FFontAssigned);
}

void TcxCustomEditStyle::SetHotTrack(bool AValue) {
  if (FHotTrack == AValue) return;
  FHotTrack = AValue;
  Changed();
}

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency AValue) {
  if (FButtonTransparency == AValue) return;
  FButtonTransparency = AValue;
  Changed();
}

void TcxCustomEditStyle::FontChanged(TObject*) {
  FFontAssigned = true;
  Changed();
}

void TcxCustomEditStyle::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); }

void TcxEditStyles::Create(TPersistent* AOwner, TNotifyEvent AOnChanged) {
  FNormal.reset(New<TcxEditStyle>(AOwner));
  FNormal->SetOnChanged(AOnChanged);
  FDisabled.reset(New<TcxEditStyle>(AOwner));
  FFocused.reset(New<TcxEditStyle>(AOwner));
  FHot.reset(New<TcxEditStyle>(AOwner));
}

void TcxEditStylesOwner::ApplyStyleFont(TFont* AControlFont) const {
  if (FStyles.Normal()->IsFontAssigned()) AControlFont->Assign(FStyles.Normal()->Font());
}

TcxCaptionSize cxCaptionSize(TFont* AFont, const String& ACaption) {
  const String text = StringReplace(ACaption, L"&", L"", {});
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), AFont->Handle());
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  return TcxCaptionSize{static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}
