// The control unit: element hints bound to a library control.
#include "library/controls/control/cxControls.h"

TControl* TcxControlHintHelper::GetHintControl() { return GetControl(); }

void TcxControlHintHelper::GetHintAreaBounds(TRect& R) {
  TcxControl* control = GetControl();
  R = control ? control->Bounds() : TRect();
}

TControl* TcxControlHintHelper::GetOwnerControl() { return GetHintedControl(); }
