#include "library/stdctrls/cxGroupBox.h"

void TcxGroupBox::Publish(TPublisher<TcxGroupBox>& P) {
  P.Property(L"ParentBackground", &TcxGroupBox::ParentBackground, &TcxGroupBox::SetParentBackground)
      .Default(true);
  PublishStyles(P);
}

void TcxGroupBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  CreateStyles(this, nullptr);
  ControlStyle().Include(csParentBackground);
}

void TcxGroupBox::SetParentBackground(bool AValue) {
  if (ParentBackground() == AValue) return;
  if (AValue) ControlStyle().Include(csParentBackground);
  else ControlStyle().Exclude(csParentBackground);
  Invalidate();
}

void cxGroupBoxInitialization() { RegisterClasses({TcxGroupBox::ClassInfo()}); }
