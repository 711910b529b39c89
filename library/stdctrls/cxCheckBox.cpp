#include "library/stdctrls/cxCheckBox.h"

#include <algorithm>

void TcxCheckBox::Publish(TPublisher<TcxCheckBox>& P) {
  P.Property(L"AutoSize", &TcxCheckBox::AutoSize, &TcxCheckBox::SetAutoSize).Default(true);
  P.Property(L"Checked", &TcxCheckBox::Checked, &TcxCheckBox::SetChecked).Stored(false);
  P.Property(L"Style", &TcxCheckBox::Style, &TcxCheckBox::SetStyle);
  P.Property(L"StyleDisabled", &TcxCheckBox::StyleDisabled, &TcxCheckBox::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxCheckBox::StyleFocused, &TcxCheckBox::SetStyleFocused);
  P.Property(L"StyleHot", &TcxCheckBox::StyleHot, &TcxCheckBox::SetStyleHot);
  P.Message<&TcxCheckBox::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCheckBox::CMFontChanged>(CM_FONTCHANGED);
}

void TcxCheckBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAutoSize = true;
  FStyles.Create(this, nullptr);
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
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  const String text = StringReplace(Caption(), L"&", L"", {});
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The box, the gap the system leaves after it, the caption and room for
  // the focus frame.
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  SetBounds(Left(), Top(), box + 6 + extent.cx + 4, std::max(box, static_cast<int>(metrics.tmHeight)) + 4);
}

void cxCheckBoxInitialization() { RegisterClasses({TcxCheckBox::ClassInfo()}); }
