#include "library/stdctrls/cxLabel.h"

#include "platform/runtime/SysUtils.h"

void TcxLabel::Publish(TPublisher<TcxLabel>& P) {
  P.Property(L"AutoSize", &TcxLabel::AutoSize, &TcxLabel::SetAutoSize).Default(true);
  PublishStyles(P);
  P.Message<&TcxLabel::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxLabel::CMFontChanged>(CM_FONTCHANGED);
}

void TcxLabel::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAutoSize = true;
  CreateStyles(this, nullptr);
  SetTabStop(false);
  SetBounds(Left(), Top(), 37, 17);
}

void TcxLabel::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  AdjustToCaption();
}

void TcxLabel::Loaded() {
  inherited::Loaded();
  AdjustToCaption();
}

void TcxLabel::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxLabel>(Message);
  AdjustToCaption();
  Invalidate();
}

void TcxLabel::CMFontChanged(TMessage& Message) {
  InheritedMessage<TcxLabel>(Message);
  AdjustToCaption();
  Invalidate();
}

void TcxLabel::AdjustToCaption() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  const TcxCaptionSize caption = cxCaptionSize(Font(), Caption());
  SetBounds(Left(), Top(), caption.Width + 2, caption.LineHeight + 4);
}

void TcxLabel::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  canvas->Font()->Assign(Font());
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  canvas->Brush()->SetStyle(bsClear);
  RECT r{client.Left, client.Top, client.Right, client.Bottom};
  const String caption = Caption();
  DrawTextW(canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_LEFT | DT_TOP);
}

void cxLabelInitialization() { RegisterClasses({TcxLabel::ClassInfo()}); }
