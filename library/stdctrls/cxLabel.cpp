#include "library/stdctrls/cxLabel.h"

void TcxLabel::Publish(TPublisher<TcxLabel>& P) {
  P.Property(L"Style", &TcxLabel::Style, &TcxLabel::SetStyle);
  P.Property(L"StyleDisabled", &TcxLabel::StyleDisabled, &TcxLabel::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxLabel::StyleFocused, &TcxLabel::SetStyleFocused);
  P.Property(L"StyleHot", &TcxLabel::StyleHot, &TcxLabel::SetStyleHot);
}

void TcxLabel::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FStyles.Create(this, nullptr);
}

void cxLabelInitialization() { RegisterClasses({TcxLabel::ClassInfo()}); }
