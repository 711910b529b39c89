#include "library/stdctrls/cxCheckBox.h"

#include <algorithm>

void TcxCheckBox::Publish(TPublisher<TcxCheckBox>& P) {
  P.Property(L"AutoSize", &TcxCheckBox::AutoSize, &TcxCheckBox::SetAutoSize).Default(true);
  P.Property(L"Checked", &TcxCheckBox::Checked, &TcxCheckBox::SetChecked).Stored(false);
  PublishStyles(P);
  P.Message<&TcxCheckBox::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCheckBox::CMFontChanged>(CM_FONTCHANGED);
}

void TcxCheckBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAutoSize = true;
  CreateStyles(this, nullptr);
  SetBounds(Left(), Top(), 121, 21);
}

void TcxCheckBox::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  AdjustToCaption();
}

void TcxCheckBox::Loaded() {
  inherited::Loaded();
  AdjustToCaption();
}

void TcxCheckBox::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxCheckBox>(Message);
  AdjustToCaption();
}

void TcxCheckBox::CMFontChanged(TMessage& Message) {
  InheritedMessage<TcxCheckBox>(Message);
  AdjustToCaption();
}

void TcxCheckBox::AdjustToCaption() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  const TcxCaptionSize caption = cxCaptionSize(Font(), Caption());
  // The box, the gap the system leaves after it, the caption and room for
  // the focus frame.
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  SetBounds(Left(), Top(), box + 6 + caption.Width + 4, std::max(box, caption.LineHeight) + 4);
}

void cxCheckBoxInitialization() { RegisterClasses({TcxCheckBox::ClassInfo()}); }
