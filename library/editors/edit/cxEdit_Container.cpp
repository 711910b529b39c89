// TcxCustomEditContainer: hot tracking over the border and the inner control
// as one area.
#include "library/editors/edit/cxEdit.h"

bool TcxCustomEditContainer::IsMouseCapturedInside() {
  const HWND capture = GetCapture();
  return HandleAllocated() && capture && IsSameOrChildWindow(Handle(), capture);
}

bool TcxCustomEditContainer::ContainsScreenPoint(const TPoint& P) { return Bounds().Contains(ScreenToClient(P)); }

bool TcxCustomEditContainer::TrackedPointInside(const TPoint& AClientPoint) {
  return ContainsScreenPoint(ClientToScreen(AClientPoint));
}

// While the tracking timer runs, the system's leave (sent as the pointer
// crosses onto the inner window, which is another window) is not a leave of
// the editor: the timer decides, and reports it through TrackedMouseLeave.
void TcxCustomEditContainer::WndProc(TMessage& Message) {
  if (Message.Msg == CM_MOUSELEAVE && MouseTrackingActive()) return;
  inherited::WndProc(Message);
}

void TcxCustomEditContainer::TrackedMouseLeave() {
  const TControlTracker alive(this);
  inherited::TrackedMouseLeave();
  // Tracking has ended: the leave now reaches the control framework, which
  // raises OnMouseLeave and tells the parent.
  if (alive.Alive() && !IsDestroying()) Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
}

void TcxCustomEditContainer::MouseMove(TShiftState Shift, int X, int Y) {
  if (!MouseTrackingActive()) {
    const TControlTracker alive(this);
    NotifyMouseEnter(this);
    if (!alive.Alive()) return;
  }
  inherited::MouseMove(Shift, X, Y);
}

void TcxCustomEditContainer::NotifyMouseEnter(TControl* AControl) { inherited::NotifyMouseEnter(AsOwnControl(AControl)); }

void TcxCustomEditContainer::NotifyMouseLeave(TControl* AControl) { inherited::NotifyMouseLeave(AsOwnControl(AControl)); }
