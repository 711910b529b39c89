// The base control's input: the window procedure's own steps, focus on
// click, mouse enter and leave, the capture object, the cursor, keys, the
// wheel, gestures and drag and drop inside the control.

#include "library/controls/control/cxControls_Internal.h"

#include "platform/ui/Forms.h"

#include <algorithm>
#include <cstdlib>

namespace {

// 16-bit message coordinates cannot hold a point of a larger control.
constexpr int MaxMessageCoordinate = 0x8000;

}  // namespace

// ---------------------------------------------------------------------------
// Window procedure

void TcxControl::WndProc(TMessage& Message) {
  if (CanPreprocessMessage()) {
    if (FGestureHelper && FGestureHelper->HandleMessage(Message)) return;
    if (FScrollBarsManager && FScrollBarsManager->HandleMessage(Message)) return;
  }
  TControlTracker alive(this);
  if (IsOverlayScrollMode() && FScrollbarsHelper) {
    FScrollbarsHelper->CheckScrollActivity(Message);
    if (!alive.Alive()) return;
  }
  switch (Message.Msg) {
    case WM_RBUTTONUP:
      FMouseRightButtonReleased = true;
      break;
    case WM_LBUTTONDBLCLK:
      FMouseDoubleClick = true;
      break;
    case WM_MOUSEMOVE:
      TControl::SetHint(HintTextAt(MessageMousePos(Message)));
      break;
    default:
      break;
  }
  inherited::WndProc(Message);
  if (!alive.Alive() || IsDestroying()) return;
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      NotifyOverlayScrollBarsMoved(Message);
      break;
    case WM_SETFOCUS:
      FocusEntered();
      if (alive.Alive()) FocusChanged();
      break;
    case WM_KILLFOCUS:
      FocusLeft();
      if (alive.Alive()) FocusChanged();
      break;
    case WM_LBUTTONDBLCLK:
      FMouseDoubleClick = false;
      break;
    case WM_RBUTTONUP:
      FMouseRightButtonReleased = false;
      break;
    default:
      break;
  }
  if (!alive.Alive()) return;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const TPoint p = MessageMousePos(Message);
      const TMouseButton button =
          Message.Msg == WM_LBUTTONDOWN ? mbLeft : (Message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle);
      BeginAutoDragAt(button, p.X, p.Y);
      break;
    }
    default:
      break;
  }
}

TPoint TcxControl::MessageMousePos(const TMessage& Message) {
  if (HandleAllocated() && (Width() > MaxMessageCoordinate || Height() > MaxMessageCoordinate))
    return GetMouseClientPos();
  return PointFromLParam(Message.LParam);
}

bool TcxControl::IsTooLargeForMessageCoordinates() {
  return HandleAllocated() && (Width() > MaxMessageCoordinate || Height() > MaxMessageCoordinate);
}

void TcxControl::DefaultHandler(TMessage& Message) {
  if (!TcxControlDefaultHandlerHelper::Process(Message)) inherited::DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Focus and mouse buttons

void TcxControl::SetFocus() {
  inherited::SetFocus();
  FActivateType = atOther;
}

bool TcxControl::CanFocusEx() {
  if (!CanFocus()) return false;
  TCustomForm* form = GetParentForm(this);
  return !form || (form->CanFocus() && form->Enabled() && form->Visible());
}

bool TcxControl::ShouldFocusOnClick() {
  return !IsDesigning() && FFocusOnClick && WantsFocus() && CanFocus() && HandleAllocated() &&
         IsWindowVisible(FHandle);
}

bool TcxControl::FocusOnMouseDownAllowed(TMouseButton, int, int) { return ShouldFocusOnClick(); }

void TcxControl::FocusByMouse(TMouseButton, int, int) { SetFocus(); }

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsTooLargeForMessageCoordinates()) {
    const TPoint p = GetMouseClientPos();
    X = p.X;
    Y = p.Y;
  }
  FMouseDownPos = TPoint(X, Y);
  TControlTracker alive(this);
  const TScopeExit pressed([&] {
    if (alive.Alive() && MouseCapture()) FMouseButtonPressed = true;
  });
  if (FocusOnMouseDownAllowed(Button, X, Y) && !Shift.Contains(ssDouble)) {
    const TRect before = BoundsRect();
    FActivateType = atByMouse;
    FocusByMouse(Button, X, Y);
    if (!alive.Alive()) return;
    TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() == this && !Focused()) ::SetFocus(FHandle);
    if (!Focused() && !KeepsCaptureWithoutFocus()) {
      SetMouseCapture(false);
      return;
    }
    if (AdjustsMouseDownAfterFocus()) {
      X -= Left() - before.Left;
      Y -= Top() - before.Top;
    }
  }
  StartDragAndDropAt(Button, Shift, X, Y);
  if (!alive.Alive()) return;
  HookMouseDown(Button, Shift, X, Y);
  if (!alive.Alive()) return;
  inherited::MouseDown(Button, Shift, X, Y);
}

void TcxControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (IsTooLargeForMessageCoordinates()) {
    const TPoint p = GetMouseClientPos();
    X = p.X;
    Y = p.Y;
  }
  TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (alive.Alive()) TrackDragAndDropMove(Shift, X, Y);
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseButtonPressed = false;
  TControlTracker alive(this);
  CancelMouseOperations();
  if (alive.Alive()) inherited::MouseUp(Button, Shift, X, Y);
}

void TcxControl::CancelMouseOperations() {
  TControlTracker alive(this);
  FinishDragAndDrop(true);
  if (alive.Alive()) SetMouseCaptureObject(nullptr);
}

void TcxControl::CancelMouseCapture() {
  FMouseButtonPressed = false;
  SetMouseCaptureObject(nullptr);
}

void TcxControl::WMCancelMode(TMessage& Message) {
  TControlTracker alive(this);
  TControl::WMCancelMode(Message);
  if (alive.Alive()) FinishDragAndDrop(false);
  if (alive.Alive()) CancelMouseCapture();
}

bool TcxControl::AcceptMousePosForClick(int X, int Y) { return DragMode() == dmManual || IsMouseInPressedArea(X, Y); }

bool TcxControl::IsMouseInPressedArea(int X, int Y) {
  const int threshold = Mouse()->DragThreshold();
  return std::abs(X - FMouseDownPos.X) < threshold && std::abs(Y - FMouseDownPos.Y) < threshold;
}

void TcxControl::SetMouseCaptureObject(TObject* AValue) {
  if (FMouseCaptureObject == AValue) return;
  const bool hadCapture = HandleAllocated() && GetCapture() == FHandle;
  FMouseCaptureObject = AValue;
  SetMouseCapture(AValue != nullptr);
  const bool hasCapture = HandleAllocated() && GetCapture() == FHandle;
  if (hadCapture && !hasCapture && FDragAndDropState == ddsStarting && CancelsDragOnCaptureLoss())
    Perform(WM_CANCELMODE, 0, 0);
}

TPoint TcxControl::GetMouseClientPos() { return ScreenToClient(ReadCursorPos()); }

void TcxControl::PostMouseMove() {
  if (HandleAllocated() && WindowFromPoint(ReadCursorPos()) == FHandle) PostMouseMove(GetMouseClientPos());
}

void TcxControl::PostMouseMove(const TPoint& AMousePos) {
  if (HandleAllocated() && !GetCapture()) PostMessageW(FHandle, WM_MOUSEMOVE, 0, PointToLParam(AMousePos));
}

// ---------------------------------------------------------------------------
// Enter and leave

void TcxControl::CMMouseEnter(TMessage& Message) {
  TControlTracker alive(this);
  TControl::CMMouseEnter(Message);
  if (alive.Alive()) NotifyMouseEnter(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxControl::CMMouseLeave(TMessage& Message) {
  TControlTracker alive(this);
  TControl::CMMouseLeave(Message);
  if (alive.Alive() && !IsDestroying())
    NotifyMouseLeave(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxControl::NotifyMouseEnter(TControl* AControl) {
  if (AControl != this || FMouseEnterCounter != 0) return;
  FMouseEnterCounter = 1;
  CallEvent(TControl::OnMouseEnter(), static_cast<TObject*>(this));
}

void TcxControl::NotifyMouseLeave(TControl* AControl) {
  if (AControl != this || FMouseEnterCounter != 1) return;
  FMouseEnterCounter = 0;
  CallEvent(TControl::OnMouseLeave(), static_cast<TObject*>(this));
}

// ---------------------------------------------------------------------------
// Cursor, context menu, design hit test, keys

TCursor TcxControl::CursorAt(int X, int Y) {
  if (IsOnScrollBarArea(TPoint(X, Y))) return crArrow;
  if (IsDesigning()) return crDefault;
  return Cursor();
}

void TcxControl::WMSetCursor(TMessage& Message) {
  TScreen* screen = Screen();
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT &&
      FDragAndDropState == ddsNone && screen && screen->Cursor() == crDefault) {
    const TPoint p = GetMouseClientPos();
    const TCursor cursor = CursorAt(p.X, p.Y);
    if (cursor != crDefault) {
      ::SetCursor(screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(Message);
}

namespace {

TcxContextPopupHook GContextPopupHook = nullptr;

}  // namespace

TcxContextPopupHook GetContextPopupHook() { return GContextPopupHook; }
void SetContextPopupHook(TcxContextPopupHook AHook) { GContextPopupHook = AHook; }

void TcxControl::WMContextMenu(TMessage& Message) {
  const TPoint screenPos = PointFromLParam(Message.LParam);
  const bool fromKeyboard = screenPos.X == -1 && screenPos.Y == -1;
  if ((FScrollBarsManager && FScrollBarsManager->IsCapture()) ||
      (!fromKeyboard && IsOnScrollBarArea(ScreenToClient(screenPos)))) {
    Message.Result = 1;
    return;
  }
  if (GContextPopupHook &&
      GContextPopupHook(this, GetPopupMenu(), fromKeyboard ? screenPos : ScreenToClient(screenPos))) {
    Message.Result = 1;
    return;
  }
  TControl::WMContextMenu(Message);
}

bool TcxControl::GetDesignHitTest(int X, int Y, TShiftState) {
  return FDragAndDropState != ddsNone || FMouseButtonPressed || IsOnScrollBarArea(TPoint(X, Y));
}

void TcxControl::CMDesignHitTest(TMessage& Message) {
  DefaultHandler(Message);
  if (Message.Result != 0) return;
  TShiftState shift = KeysToShiftState(static_cast<WORD>(Message.WParam));
  if (FMouseDoubleClick) shift.Include(ssDouble);
  const TPoint p = PointFromLParam(Message.LParam);
  Message.Result = GetDesignHitTest(p.X, p.Y, shift) ? 1 : 0;
}

void TcxControl::WMGetDlgCode(TMessage& Message) {
  LRESULT code = 0;
  if (FKeys.Contains(kAll)) code |= DLGC_WANTALLKEYS;
  if (FKeys.Contains(kArrows)) code |= DLGC_WANTARROWS;
  if (FKeys.Contains(kChars)) code |= DLGC_WANTCHARS;
  // Ctrl+Tab still moves the focus.
  if (FKeys.Contains(kTab) && GetKeyState(VK_CONTROL) >= 0) code |= DLGC_WANTTAB;
  Message.Result = code;
}

void TcxControl::CNKeyDown(TMessage& Message) {
  if (FDragAndDropState == ddsInProcess && FDragAndDropObject) {
    if (!FDragAndDropObject->DoProcessKeyDown(Message)) FinishDragAndDrop(false);
    Message.Result = 1;
    return;
  }
  if (!IsDesigning()) {
    for (TWinControl* control = this; control; control = control->Parent()) {
      auto* owner = dynamic_cast<TcxControl*>(control);
      if (owner && owner->PopupMenu() && HandlePopupMenuShortcut(owner->PopupMenu(), Message)) {
        Message.Result = 1;
        return;
      }
    }
  }
  inherited::CNKeyDown(Message);
}

void TcxControl::CNKeyUp(TMessage& Message) {
  if (FDragAndDropState == ddsInProcess && FDragAndDropObject && FDragAndDropObject->DoProcessKeyUp(Message)) {
    Message.Result = 1;
    return;
  }
  inherited::CNKeyUp(Message);
}

// ---------------------------------------------------------------------------
// Wheel

int TcxControl::WheelScrollLines() { return Mouse()->WheelScrollLines(); }

int TcxControl::WheelScrollKind() { return IsScrollBarVisible(sbVertical) ? sbVertical + 1 : 0; }

bool TcxControl::CanWheelScroll(TShiftState, int, const TPoint&) {
  const int kind = WheelScrollKind();
  return kind != 0 && IsScrollBarVisible(static_cast<TScrollBarKind>(kind - 1));
}

bool TcxControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  TControlTracker alive(this);
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!alive.Alive() || !CanWheelScroll(Shift, WheelDelta, MousePos)) return false;
  AccumulateWheelDelta(Shift, WheelDelta, false, MousePos);
  return true;
}

bool TcxControl::AccumulateWheelDelta(TShiftState Shift, int WheelDelta, bool AHorizontal, const TPoint& MousePos) {
  const int delta = std::clamp(WheelDelta, -WHEEL_DELTA, WHEEL_DELTA);
  // A change of direction starts over.
  if (delta * FMouseWheelAccumulator < 1) FMouseWheelAccumulator = delta;
  else FMouseWheelAccumulator += delta;
  if (std::abs(FMouseWheelAccumulator) < WHEEL_DELTA) return true;
  const int accumulated = std::exchange(FMouseWheelAccumulator, 0);
  if (AHorizontal) ScrollByHorizontalWheel(Shift, accumulated, MousePos);
  else ScrollByWheel(Shift, accumulated, MousePos);
  return true;
}

bool TcxControl::ScrollByWheel(TShiftState, int WheelDelta, const TPoint&) {
  const int kind = WheelScrollKind();
  if (kind == 0) return false;
  const int lines = WheelScrollLines();
  if (lines == -1) {
    int pos = 0;
    HandleScroll(sbVertical, WheelDelta >= 0 ? scPageUp : scPageDown, pos);
    return true;
  }
  const bool vertical = kind == sbVertical + 1;
  const TcxDirection direction =
      vertical ? (WheelDelta >= 0 ? dirUp : dirDown) : (WheelDelta >= 0 ? dirLeft : dirRight);
  TControlTracker alive(this);
  for (int i = 0; i < lines && alive.Alive(); ++i) ScrollContent(direction);
  return true;
}

bool TcxControl::ScrollByHorizontalWheel(TShiftState Shift, int WheelDelta, const TPoint&) {
  const int lines = WheelScrollLines();
  if (lines == -1) {
    int pos = 0;
    HandleScroll(sbHorizontal, WheelDelta >= 0 ? scPageUp : scPageDown, pos);
    return true;
  }
  const bool forward = (WheelDelta >= 0) != Shift.Contains(ssCtrl);
  const TcxDirection direction = forward ? dirRight : dirLeft;
  TControlTracker alive(this);
  for (int i = 0; i < lines && alive.Alive(); ++i) ScrollContent(direction);
  return true;
}

void TcxControl::WMMouseHWheel(TMessage& Message) {
  Message.Result = Perform(DXM_FORWARDEDHWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0) DefaultHandler(Message);
}

bool TcxControl::HandleForwardedHorizontalWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (!CanHorzWheelScroll()) return false;
  AccumulateWheelDelta(Shift, WheelDelta, true, MousePos);
  return true;
}

void TcxControl::DXMForwardedHWheel(TMessage& Message) {
  Message.Result = 0;
  const TShiftState shift = KeysToShiftState(LOWORD(Message.WParam));
  const int delta = static_cast<short>(HIWORD(Message.WParam));
  if (HandleForwardedHorizontalWheel(shift, delta, PointFromLParam(Message.LParam))) Message.Result = 1;
  else if (Parent()) Message.Result = Parent()->Perform(DXM_FORWARDEDHWHEEL, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------
// Gestures

IPtr<IInterface> TcxControl::GetGestureClient(const TPoint&) {
  return IPtr<IInterface>(static_cast<IdxGestureClient*>(this));
}

void TcxControl::BeginGestureScroll(const TPoint&) {
  if (FScrollbarsHelper) FScrollbarsHelper->ClearGestureDelta();
}

void TcxControl::GestureScroll(int ADeltaX, int ADeltaY) {
  TControlTracker alive(this);
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    if (!alive.Alive()) return;
    if (!ScrollsByBarsOnGesture(kind)) GestureScrollContent(kind, kind == sbHorizontal ? ADeltaX : ADeltaY);
    else if (FScrollbarsHelper) FScrollbarsHelper->GestureScroll(kind, ADeltaX, ADeltaY);
  }
}

bool TcxControl::IsGestureEnabled(DWORD AGestureId) {
  if (AGestureId < GID_ZOOM || AGestureId > GID_PRESSANDTAP) return false;
  return Touch().InteractiveGestures().Contains(GestureIdToGestureKind(AGestureId));
}

bool TcxControl::AllowsPan(TScrollBarKind AScrollKind) {
  if (PansAlongWheelAxisOnly()) return WheelScrollKind() == AScrollKind + 1;
  if (!IsScrollBarVisible(AScrollKind)) return false;
  const TScrollBarKind other = AScrollKind == sbHorizontal ? sbVertical : sbHorizontal;
  return WheelScrollKind() == AScrollKind + 1 || !IsScrollBarVisible(other);
}

bool TcxControl::IsPanning() { return FGestureHelper && FGestureHelper->IsPanning(); }

// ---------------------------------------------------------------------------
// Drag and drop inside the control

TClass TcxControl::DragAndDropObjectClass() {
  return FDragAndDropObjectClass ? FDragAndDropObjectClass : TcxDragAndDropObject::ClassInfo();
}

void TcxControl::SetDragAndDropObjectClass(TClass AValue) {
  if (AValue && !AValue->InheritsFrom(TcxDragAndDropObject::ClassInfo()))
    throw EInvalidOperation(L"\"%s\" is no drag-and-drop object class", {AValue->ClassName()});
  FDragAndDropObjectClass = AValue;
}

TcxDragAndDropObject* TcxControl::CreateDragAndDropObject() {
  return NewOfClass<TcxDragAndDropObject>(DragAndDropObjectClass(), static_cast<TWinControl*>(this),
                                          FCanvas.get());
}

TcxDragAndDropObject* TcxControl::DragAndDropObject() {
  if (!FDragAndDropObject) FDragAndDropObject.reset(CreateDragAndDropObject());
  return FDragAndDropObject.get();
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState AValue) {
  if (FDragAndDropState == AValue) return;
  FDragAndDropState = AValue;
  if (AValue == ddsNone && !FFinishingDragAndDrop) CancelMouseCapture();
}

bool TcxControl::CanStartDragAndDrop(TMouseButton Button, TShiftState Shift, int X, int Y) {
  return Button == mbLeft && !Shift.Contains(ssDouble) && AllowsDragAndDropAt(Button, Shift, X, Y);
}

bool TcxControl::StartDragAndDropAt(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FFinishingDragAndDrop) return false;
  if (!CanStartDragAndDrop(Button, Shift, X, Y)) {
    FinishDragAndDrop(false);
    return false;
  }
  if (DragAndDropObject()->ImmediateStart()) BeginDragAndDrop();
  else SetDragAndDropState(ddsStarting);
  return true;
}

void TcxControl::BeginDragAndDrop() {
  DragAndDropObject()->DoBeginDragAndDrop();
  SetMouseCapture(true);
  if (TScreen* screen = Screen()) FDragAndDropPrevCursor = screen->Cursor();
  FDragAndDropState = ddsInProcess;
}

void TcxControl::TrackDragAndDropMove(TShiftState, int X, int Y) {
  if (FDragAndDropState == ddsStarting && !IsMouseInPressedArea(X, Y)) {
    BeginDragAndDrop();
  } else if (FDragAndDropState == ddsInProcess) {
    bool accepted = false;
    DragAndDrop(TPoint(X, Y), accepted);
  }
}

void TcxControl::DragAndDrop(const TPoint& P, bool& Accepted) {
  if (FDragAndDropObject) FDragAndDropObject->DoDragAndDrop(P, Accepted);
}

void TcxControl::FinishDragAndDrop(bool Accepted) {
  if (FDragAndDropState == ddsNone || FFinishingDragAndDrop) return;
  FFinishingDragAndDrop = true;
  TControlTracker alive(this);
  const TScopeExit finished([&] {
    if (!alive.Alive()) return;
    FFinishingDragAndDrop = false;
    FDragAndDropObject.reset();
  });
  EndDragAndDropSession(Accepted);
}

void TcxControl::EndDragAndDropSession(bool Accepted) {
  if (FDragAndDropState == ddsInProcess) EndDragAndDrop(Accepted);
  else FDragAndDropState = ddsNone;
}

void TcxControl::EndDragAndDrop(bool Accepted) {
  FDragAndDropState = ddsNone;
  if (TScreen* screen = Screen()) screen->SetCursor(FDragAndDropPrevCursor);
  SetMouseCapture(false);
  SetMouseCaptureObject(nullptr);
  if (FDragAndDropObject) FDragAndDropObject->DoEndDragAndDrop(Accepted);
}
