#include "library/stdctrls/cxButtons.h"

#include "library/core/system/dxDPIAwareUtils.h"

// ---------------------------------------------------------------------------
// TcxButtonColors

void TcxButtonColors::Publish(TPublisher<TcxButtonColors>& P) {
  // Each colour is stored only while it is assigned.
  P.Property(L"Default", &TcxButtonColors::Default, &TcxButtonColors::SetDefault)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDefault>);
  P.Property(L"DefaultText", &TcxButtonColors::DefaultText, &TcxButtonColors::SetDefaultText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDefaultText>);
  P.Property(L"Disabled", &TcxButtonColors::Disabled, &TcxButtonColors::SetDisabled)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDisabled>);
  P.Property(L"DisabledText", &TcxButtonColors::DisabledText, &TcxButtonColors::SetDisabledText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDisabledText>);
  P.Property(L"Hot", &TcxButtonColors::Hot, &TcxButtonColors::SetHot)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iHot>);
  P.Property(L"HotText", &TcxButtonColors::HotText, &TcxButtonColors::SetHotText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iHotText>);
  P.Property(L"Normal", &TcxButtonColors::Normal, &TcxButtonColors::SetNormal)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iNormal>);
  P.Property(L"NormalText", &TcxButtonColors::NormalText, &TcxButtonColors::SetNormalText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iNormalText>);
  P.Property(L"Pressed", &TcxButtonColors::Pressed, &TcxButtonColors::SetPressed)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iPressed>);
  P.Property(L"PressedText", &TcxButtonColors::PressedText, &TcxButtonColors::SetPressedText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iPressedText>);
}

void TcxButtonColors::Create(TcxButton* AButton) {
  FButton = AButton;
  FColors.fill(clDefault);
}

void TcxButtonColors::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxButtonColors*>(ASource)) {
    FColors = source->FColors;
    FAssigned = source->FAssigned;
    FButton->Invalidate();
    return;
  }
  inherited::Assign(ASource);
}

void TcxButtonColors::SetColor(int AIndex, TColor AValue) {
  const auto i = static_cast<std::size_t>(AIndex);
  if (AValue == clNone || AValue == clDefault) {
    FColors[i] = clDefault;
    FAssigned &= ~(1u << AIndex);
  } else {
    if (IsAssigned(AIndex) && FColors[i] == AValue) return;
    FColors[i] = AValue;
    FAssigned |= 1u << AIndex;
  }
  FButton->Invalidate();
}

TColor TcxButtonColors::BackgroundColor(TcxButtonState AState) const {
  static constexpr TIndex indexes[] = {iDefault, iNormal, iHot, iPressed, iDisabled};
  const TIndex index = indexes[AState];
  if (IsAssigned(index)) return Color(index);
  return AState == cxbsNormal ? Default() : Normal();
}

TColor TcxButtonColors::TextColor(TcxButtonState AState) const {
  static constexpr TIndex indexes[] = {iDefaultText, iNormalText, iHotText, iPressedText, iDisabledText};
  const TIndex index = indexes[AState];
  if (IsAssigned(index)) return Color(index);
  return AState == cxbsNormal ? DefaultText() : NormalText();
}

TPersistent* TcxButtonColors::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
// TcxButtonImageOptions

void TcxButtonImageOptions::Publish(TPublisher<TcxButtonImageOptions>& P) {
  P.Property(L"ImageIndex", &TcxButtonImageOptions::ImageIndex, &TcxButtonImageOptions::SetImageIndex).Default(-1);
  P.Property(L"Images", &TcxButtonImageOptions::Images, &TcxButtonImageOptions::SetImages);
}

void TcxButtonImageOptions::Create(TcxButton* AButton) { FButton = AButton; }

void TcxButtonImageOptions::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxButtonImageOptions*>(ASource)) {
    SetImages(source->FImages);
    SetImageIndex(source->FImageIndex);
    return;
  }
  inherited::Assign(ASource);
}

void TcxButtonImageOptions::SetImages(TCustomImageList* AValue) {
  if (FImages == AValue) return;
  if (FImages) FImages->RemoveFreeNotification(FButton);
  FImages = AValue;
  if (FImages) FImages->FreeNotification(FButton);
  FButton->Invalidate();
}

void TcxButtonImageOptions::SetImageIndex(int AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  FButton->Invalidate();
}

TPersistent* TcxButtonImageOptions::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
// TcxButton

void TcxButton::Publish(TPublisher<TcxButton>& P) {
  P.Property(L"Colors", &TcxButton::Colors, &TcxButton::SetColors);
  PublishLookAndFeel(P);
  P.Property(L"OptionsImage", &TcxButton::OptionsImage, &TcxButton::SetOptionsImage);
  P.Message<&TcxButton::CNDrawItem>(CN_DRAWITEM);
  P.Message<&TcxButton::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

void TcxButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FColors.reset(New<TcxButtonColors>(this));
  FOptionsImage.reset(New<TcxButtonImageOptions>(this));
  CreateLookAndFeel(this, BindEvent<&TcxButton::LookAndFeelChanged>(this));
  FCanvas.reset(New<TCanvas>());
  FcxCanvas.reset(New<TcxCanvas>(FCanvas.get()));
  SetBounds(Left(), Top(), 75, 25);
}

void TcxButton::Destroy() {
  if (FOptionsImage) FOptionsImage->SetImages(nullptr);
  FcxCanvas.reset();
  FCanvas.reset();
  FOptionsImage.reset();
  FColors.reset();
  inherited::Destroy();
}

void TcxButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
  // Without double clicks, a quick second click is a second click.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_DBLCLKS);
}

void TcxButton::SetButtonStyle(bool) {
  // The window stays owner-drawn; the default frame is painted by Paint.
  Invalidate();
}

void TcxButton::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && FOptionsImage && AComponent == FOptionsImage->FImages) {
    FOptionsImage->FImages = nullptr;
    Invalidate();
  }
}

void TcxButton::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxButton>(Message);
  Invalidate();
}

void TcxButton::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TcxButton>(Message);
  Invalidate();
}

TcxButtonState TcxButton::PaintState(bool APressed, bool AFocused) const {
  if (!Enabled()) return cxbsDisabled;
  if (APressed) return cxbsPressed;
  if (FHot) return cxbsHot;
  return AFocused || Active() ? cxbsDefault : cxbsNormal;
}

void TcxButton::MouseEnter() {
  inherited::MouseEnter();
  TcxCustomLookAndFeelPainter* painter = LookAndFeel()->Painter();
  SetHot(painter && painter->IsButtonHotTrack());
}

void TcxButton::MouseLeave() {
  inherited::MouseLeave();
  SetHot(false);
}

void TcxButton::SetHot(bool AValue) {
  if (FHot == AValue) return;
  FHot = AValue;
  Invalidate();
}

void TcxButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }

void TcxButton::CNDrawItem(TMessage& Message) {
  Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
  Message.Result = TRUE;
}

void TcxButton::Paint(const DRAWITEMSTRUCT& AItem) {
  const TcxButtonState state = PaintState((AItem.itemState & ODS_SELECTED) != 0, (AItem.itemState & ODS_FOCUS) != 0);
  const bool focused = (AItem.itemState & ODS_FOCUS) != 0;
  TcxCustomLookAndFeelPainter* painter = LookAndFeel()->Painter();
  const TdxScaleFactor* factor = SystemScaleFactor();
  const TRect bounds(AItem.rcItem);
  const TCanvasDCScope drawing(FCanvas.get(), AItem.hDC);
  TcxCanvas* canvas = FcxCanvas.get();
  // Without a painter (after the painters' shut-down) the face alone.
  if (!painter) return canvas->FillRect(bounds, ResolveDefaultColor(FColors->BackgroundColor(state), clBtnFace));
  painter->DrawScaledButton(canvas, bounds, state, factor, true, false, cxbpButton, FColors->BackgroundColor(state));

  // Glyph and caption side by side, centred together.
  TRect r = bounds;
  r.Deflate(painter->ButtonBorderSize(state));
  if (state == cxbsPressed) {
    const int shift = painter->ScaledButtonTextShift(factor);
    r.Offset(shift, shift);
  }
  const String caption = Caption();
  canvas->Font()->Assign(Font());
  TCustomImageList* images = FOptionsImage->Images();
  const int index = FOptionsImage->ImageIndex();
  const bool hasGlyph = images && index >= 0 && index < images->Count();
  const int glyphWidth = hasGlyph ? images->Width() : 0;
  const TSize text = caption.empty() ? TSize{0, 0} : canvas->TextExtent(StringReplace(caption, L"&", L"", {}));
  const int gap = hasGlyph && !caption.empty() ? 4 : 0;
  int x = (r.Left + r.Right - (glyphWidth + gap + text.cx)) / 2;
  if (hasGlyph) {
    images->Draw(FCanvas.get(), x, (r.Top + r.Bottom - images->Height()) / 2, index, Enabled());
    x += glyphWidth + gap;
  }
  if (!caption.empty()) {
    canvas->Font()->SetColor(painter->ButtonSymbolColor(state, FColors->TextColor(state)));
    canvas->SetBrushColor(clNone);
    canvas->DrawTexT(caption, TRect(x, r.Top, x + text.cx + 1, r.Bottom),
                     cxtfLeft | cxtfCenterY | cxtfSingleLine | cxtfShowPrefix, state != cxbsDisabled);
  }
  if (focused) canvas->DrawFocusRect(painter->ScaledButtonFocusRect(canvas, bounds, factor));
}

void cxButtonsInitialization() { RegisterClasses({TcxButton::ClassInfo()}); }
