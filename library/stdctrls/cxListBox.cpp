#include "library/stdctrls/cxListBox.h"

void TcxListBox::Publish(TPublisher<TcxListBox>& P) {
  P.Property(L"Style", &TcxListBox::Style, &TcxListBox::SetStyle);
  P.Property(L"StyleDisabled", &TcxListBox::StyleDisabled, &TcxListBox::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxListBox::StyleFocused, &TcxListBox::SetStyleFocused);
  P.Property(L"StyleHot", &TcxListBox::StyleHot, &TcxListBox::SetStyleHot);
}

void TcxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FStyles.Create(this, nullptr);
  SetBounds(Left(), Top(), 121, 97);
}

void cxListBoxInitialization() { RegisterClasses({TcxListBox::ClassInfo()}); }
