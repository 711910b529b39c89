#include "library/stdctrls/cxListBox.h"

void TcxListBox::Publish(TPublisher<TcxListBox>& P) {
  P.Property(L"ExtendedSelect", &TcxListBox::ExtendedSelect, &TcxListBox::SetExtendedSelect).Default(true);
  P.Property(L"ItemHeight", &TcxListBox::ItemHeight, &TcxListBox::SetItemHeight).Stored(&TcxListBox::IsItemHeightStored);
  P.Property(L"Items", &TcxListBox::Items, &TcxListBox::SetItems);
  P.Property(L"Style", &TcxListBox::Style, &TcxListBox::SetStyle);
  P.Property(L"StyleDisabled", &TcxListBox::StyleDisabled, &TcxListBox::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxListBox::StyleFocused, &TcxListBox::SetStyleFocused);
  P.Property(L"StyleHot", &TcxListBox::StyleHot, &TcxListBox::SetStyleHot);
}

void TcxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FInnerListBox = New<TcxCustomInnerListBox>(this);
  FInnerListBox->SetContainer(this);
  FInnerListBox->SetParent(this);
  SetInnerControl(FInnerListBox);
  SetBounds(Left(), Top(), 121, 97);
}

void TcxListBox::HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) {
  inherited::HandleScroll(AKind, ACode, APosition);
  if (Enabled()) FInnerListBox->ScrollTo(AKind == sbVertical, ACode, APosition);
}

void cxListBoxInitialization() { RegisterClasses({TcxListBox::ClassInfo(), TdxCustomListBox::ClassInfo()}); }

void cxListBoxFinalization() {
  UnRegisterClass(TdxCustomListBox::ClassInfo());
  UnRegisterClass(TcxListBox::ClassInfo());
}
