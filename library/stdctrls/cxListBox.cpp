#include "library/stdctrls/cxListBox.h"

void TcxListBox::Publish(TPublisher<TcxListBox>& P) {
  PublishStyles(P);
}

void TcxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FStyles.Create(this, nullptr);
  SetBounds(Left(), Top(), 121, 97);
}

void cxListBoxInitialization() { RegisterClasses({TcxListBox::ClassInfo()}); }
