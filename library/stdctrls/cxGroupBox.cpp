#include "library/stdctrls/cxGroupBox.h"

void TcxGroupBox::Publish(TPublisher<TcxGroupBox>& P) {
  P.Property(L"ParentBackground", &TcxGroupBox::ParentBackground, &TcxGroupBox::SetParentBackground)
      .Default(true);
  P.Property(L"Style", &TcxGroupBox::Style, &TcxGroupBox::SetStyle);
  P.Property(L"StyleDisabled", &TcxGroupBox::StyleDisabled, &TcxGroupBox::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxGroupBox::StyleFocused, &TcxGroupBox::SetStyleFocused);
  P.Property(L"StyleHot", &TcxGroupBox::StyleHot, &TcxGroupBox::SetStyleHot);
}

void TcxGroupBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FStyles.Create(this, nullptr);
  ControlStyle().Include(csParentBackground);
}

void TcxGroupBox::SetParentBackground(bool AValue) {
  if (ParentBackground() == AValue) return;
  if (AValue) ControlStyle().Include(csParentBackground);
  else ControlStyle().Exclude(csParentBackground);
  Invalidate();
}

void cxGroupBoxInitialization() { RegisterClasses({TcxGroupBox::ClassInfo()}); }
