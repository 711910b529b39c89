// Scroll bars without a window of their own and the manager of a control
// that routes the mouse to them.

#include "library/controls/control/cxControls_Internal.h"

#include "library/graphics/canvas/cxCanvasScopes.h"
#include "platform/ui/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxControlScrollBarHelper

bool TcxControlScrollBarHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxControlScrollBar>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

TcxControl* TcxControlScrollBarHelper::OwnerCxControl() const {
  return Owner() ? dynamic_cast<TcxControl*>(Owner()->GetControl()) : nullptr;
}

void TcxControlScrollBarHelper::ApplyData() {
  if (FData.FVisible && FData.FIsValid) {
    SetScrollParams(FData.FMin, FData.FMax, FData.FPosition, FData.FPageSize, Visible());
    SetSmallChange(FData.FSmallChange);
    SetLargeChange(FData.FLargeChange);
  }
  SetEnabled(FData.FEnabled);
  if (Visible() != FData.FVisible) SetVisible(FData.FVisible);
}

void TcxControlScrollBarHelper::SetOwnerControlRelativeBounds(const TRect& ABounds) {
  TcxScrollBarHelper::SetBoundsRect(ABounds);
  Calculate();
}

void TcxControlScrollBarHelper::FocusOwner() {
  TcxControl* control = OwnerCxControl();
  if (!control || !control->CanFocus()) return;
  control->FActivateType = atByMouseNonClientArea;
  control->SetFocus();
}

void TcxControlScrollBarHelper::Repaint() {
  TcxControl* control = OwnerCxControl();
  if (!control || !control->HandleAllocated()) return;
  if (IPtr<IdxLockedStateImageOwner> locked = Supports<IdxLockedStateImageOwner>(static_cast<TObject*>(control));
      locked && locked->GetImage())
    return;
  if (IsNonClient()) {
    inherited::Repaint();
    return;
  }
  // No render canvas of this system keeps its own copy: every bar paints
  // straight onto the window.
  const TWindowDC dc(control->Handle());
  const TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(dc.Get());
  Paint(canvas.get());
  canvas->SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// TcxControlScrollBarsManager

void TcxControlScrollBarsManager::Create(TcxControl* AOwner) {
  inherited::Create();
  FOwner = AOwner;
}

void TcxControlScrollBarsManager::Destroy() {
  SetHotScrollBar(nullptr);
  FCheckCaptureTimer.reset();
  inherited::Destroy();
}

bool TcxControlScrollBarsManager::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxMouseTrackingCaller, IcxMouseTrackingCaller2, IcxMouseTrackingCaller3>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxControlScrollBarsManager::RegisterScrollBar(TcxControlScrollBarHelper* AScrollBar) {
  if (AScrollBar && std::find(FScrollBars.begin(), FScrollBars.end(), AScrollBar) == FScrollBars.end())
    FScrollBars.push_back(AScrollBar);
}

void TcxControlScrollBarsManager::UnRegisterScrollBar(TcxControlScrollBarHelper* AScrollBar) {
  if (AScrollBar && AScrollBar == FHotScrollBar) SetHotScrollBar(nullptr);
  std::erase(FScrollBars, AScrollBar);
}

bool TcxControlScrollBarsManager::IsShown(TcxControlScrollBarHelper* AScrollBar) {
  return AScrollBar->Visible() && AScrollBar->GetOwnerVisible();
}

TcxControlScrollBarHelper* TcxControlScrollBarsManager::ScrollBarAt(const TPoint& P) const {
  for (TcxControlScrollBarHelper* bar : FScrollBars) {
    const TPoint origin = bar->GetOwnerOrigin();
    if (bar->Enabled() && IsShown(bar) && bar->HitTestVisible(TPoint(P.X - origin.X, P.Y - origin.Y))) return bar;
  }
  return nullptr;
}

bool TcxControlScrollBarsManager::IsScrollBarsArea(const TPoint& P) {
  return std::any_of(FScrollBars.begin(), FScrollBars.end(), [&](TcxControlScrollBarHelper* bar) {
    const TPoint origin = bar->GetOwnerOrigin();
    return IsShown(bar) && bar->HitTestVisible(TPoint(P.X - origin.X, P.Y - origin.Y));
  });
}

bool TcxControlScrollBarsManager::PtInCaller(const TPoint& P) {
  if (!FHotScrollBar || !IsShown(FHotScrollBar)) return false;
  const TPoint origin = FHotScrollBar->GetOwnerOrigin();
  return FHotScrollBar->HitTestVisible(TPoint(P.X - origin.X, P.Y - origin.Y));
}

void TcxControlScrollBarsManager::MouseLeave() {
  if (!FHotScrollBar) return;
  TcxControlScrollBarHelper* bar = std::exchange(FHotScrollBar, nullptr);
  bar->CancelMode();
  bar->MouseLeave(nullptr);
}

void TcxControlScrollBarsManager::SetHotScrollBar(TcxControlScrollBarHelper* AValue) {
  if (FHotScrollBar == AValue) return;
  if (TcxControlScrollBarHelper* old = std::exchange(FHotScrollBar, nullptr)) {
    EndMouseTracking(this);
    old->MouseLeave(nullptr);
  }
  FHotScrollBar = AValue;
  if (!AValue) return;
  AValue->MouseEnter(FOwner);
  TRect bounds = AValue->BoundsRect();
  const TPoint origin = AValue->GetOwnerOrigin();
  bounds.Offset(origin.X, origin.Y);
  if (FOwner->HandleAllocated()) BeginMouseTracking(FOwner, bounds, this);
}

void TcxControlScrollBarsManager::TakeCapture() {
  FIsCapture = true;
  if (FOwner->HandleAllocated() && GetCapture() != FOwner->Handle()) SetCapture(FOwner->Handle());
}

void TcxControlScrollBarsManager::FreeCapture() {
  FIsCapture = false;
  FCheckCaptureTimer.reset();
  ReleaseCapture();
}

void TcxControlScrollBarsManager::CheckCapture(TObject*) {
  if (GetAsyncKeyState(VK_LBUTTON) < 0) return;
  FCheckCaptureTimer.reset();
  if (FHotScrollBar) FHotScrollBar->CancelMode();
  FreeCapture();
}

bool TcxControlScrollBarsManager::HandleMessage(TMessage& Message) {
  const UINT msg = Message.Msg;
  switch (msg) {
    case WM_CAPTURECHANGED:
      FIsCapture = false;
      if (FHotScrollBar) FHotScrollBar->CancelMode();
      return false;
    case WM_DESTROY:
      // The capture goes with the window; once the button is up the drag
      // ends for good.
      if (FIsCapture)
        FCheckCaptureTimer.reset(
            CreateTimer(CheckCaptureInterval, true, BindEvent<&TcxControlScrollBarsManager::CheckCapture>(this)));
      return false;
    case WM_CREATE:
      // The window was recreated in the middle of a drag.
      if (FIsCapture) {
        FIsCapture = false;
        if (!GetCapture() && GetAsyncKeyState(VK_LBUTTON) < 0) TakeCapture();
      }
      return false;
    default:
      break;
  }
  if (msg < WM_MOUSEFIRST || msg > WM_MBUTTONDBLCLK) return false;
  const TPoint p = FOwner->MessageMousePos(Message);
  const TShiftState shift = KeysToShiftState(static_cast<WORD>(Message.WParam));
  const TMouseButton button = msg >= WM_LBUTTONDOWN && msg <= WM_LBUTTONDBLCLK   ? mbLeft
                              : msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK ? mbRight
                                                                                 : mbMiddle;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!RouteMouseMove(shift, p.X, p.Y)) return false;
      if (Application()) Application()->CancelHint();
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return RouteMouseUp(button, shift, p.X, p.Y);
    default:
      return RouteMouseDown(button, shift, p.X, p.Y);
  }
}

bool TcxControlScrollBarsManager::RouteMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint p(X, Y);
  if (FOwner->IsOnSizeGrip(p)) return true;
  if (!FHotScrollBar || Button != mbLeft || !FHotScrollBar->Enabled()) return FHotScrollBar != nullptr;
  TakeCapture();
  TControlTracker alive(FOwner);
  if (FOwner->FocusOnMouseDownAllowed(Button, X, Y)) {
    FHotScrollBar->FocusOwner();
    if (!alive.Alive()) return true;
    if (!FHotScrollBar) SetHotScrollBar(ScrollBarAt(p));
  }
  if (FHotScrollBar) FHotScrollBar->MouseDown(Button, Shift, X, Y);
  else FreeCapture();
  return true;
}

bool TcxControlScrollBarsManager::RouteMouseMove(TShiftState Shift, int X, int Y) {
  const TPoint p(X, Y);
  // A capture the control took for something else (a drag) keeps the mouse
  // there.
  if (!FIsCapture && FOwner->HandleAllocated() && GetCapture() == FOwner->Handle()) return false;
  if (!FIsCapture) SetHotScrollBar(ScrollBarAt(p));
  if (!FHotScrollBar) return FOwner->IsOnSizeGrip(p);
  FHotScrollBar->MouseMove(Shift, X, Y);
  return true;
}

bool TcxControlScrollBarsManager::RouteMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FIsCapture) return false;
  TScopeExit released([this] { FreeCapture(); });
  if (FHotScrollBar) FHotScrollBar->MouseUp(Button, Shift, X, Y);
  return true;
}

void TcxControlScrollBarsManager::Paint(TcxCustomCanvas* ACanvas) {
  auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas);
  if (!canvas) return;
  for (TcxControlScrollBarHelper* bar : FScrollBars) {
    const TcxWindowOrgScope origin(canvas, bar->GetOwnerOrigin());
    const RECT bounds = bar->BoundsRect();
    if (bar->Visible() && RectVisible(canvas->Handle(), &bounds)) bar->Paint(canvas);
  }
}

// ---------------------------------------------------------------------------
// TcxControl: the windowless bars

void TcxControl::PaintScrollBars(TcxCustomCanvas* ACanvas) {
  if (FScrollBarsManager) FScrollBarsManager->Paint(ACanvas);
  if (auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas); canvas && FScrollbarsHelper)
    FScrollbarsHelper->DrawSizeGrip(canvas);
}
