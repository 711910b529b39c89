// Mouse tracking and the modal mouse loops of the control unit.
#include "library/controls/control/cxControls_Internal.h"

#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cstdlib>
#include <windowsx.h>

namespace {

TcxMouseTrackingTimerList* GMouseTrackingTimerList = nullptr;

constexpr UINT MouseTrackingInterval = 10;

// Takes the timer off the list and frees it (when it is still there).
void FreeTrackingTimer(TMouseTrackingTimer* ATimer) {
  if (GMouseTrackingTimerList && GMouseTrackingTimerList->Remove(ATimer) >= 0) ATimer->Free();
}

// The control's window, never created here.
HWND WindowOf(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() ? AControl->Handle() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// The list of running timers

TcxMouseTrackingTimerList* MouseTrackingTimerList() {
  if (!GMouseTrackingTimerList && !cxControlsFinalizing()) GMouseTrackingTimerList = New<TcxMouseTrackingTimerList>();
  return GMouseTrackingTimerList;
}

void FreeMouseTrackingTimerList() { FreeAndNil(GMouseTrackingTimerList); }

void TcxMouseTrackingTimerList::Destroy() {
  while (Count() > 0) {
    TMouseTrackingTimer* timer = Timers(Count() - 1);
    Delete(Count() - 1);
    timer->Free();
  }
  inherited::Destroy();
}

TMouseTrackingTimer* TcxMouseTrackingTimerList::Find(IInterface* ACallerIdentity) const {
  for (int i = 0; i < Count(); ++i)
    if (Timers(i)->CallerIdentity() == ACallerIdentity) return Timers(i);
  return nullptr;
}

int MouseTrackingTimerCount() { return GMouseTrackingTimerList ? GMouseTrackingTimerList->Count() : 0; }

// ---------------------------------------------------------------------------
// TMouseTrackingTimer

void TMouseTrackingTimer::SetControl(TWinControl* AValue) {
  if (Control) Control->RemoveFreeNotification(this);
  Control = AValue;
  if (Control) Control->FreeNotification(this);
}

void TMouseTrackingTimer::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  // The control is freed: nothing of it may be touched again.
  if (AOperation == opRemove && AComponent == Control) {
    Control = nullptr;
    FreeTrackingTimer(this);
  }
}

bool TMouseTrackingTimer::IsCursorInside(const TPoint& P) {
  const HWND window = WindowOf(Control);
  if (Control) {
    const bool overWindow = window && (IsSameOrChildWindow(window, DeepWindowFromPoint(P)) || GetCapture() == window);
    if (!overWindow) return false;
  }
  if (IPtr<IcxMouseTrackingCaller2> caller2 = Supports<IcxMouseTrackingCaller2>(Caller)) {
    if (!Control) return caller2->PtInCaller(P);
    return window && caller2->PtInCaller(Control->ScreenToClient(P));
  }
  return Bounds.Contains(P);
}

void TMouseTrackingTimer::Tick(TObject* /*Sender*/) {
  const TPoint cursor = ReadCursorPos();
  const HWND window = WindowOf(Control);
  const bool usable = !Control || (window && IsWindowEnabledDeep(window));
  const bool inside = usable && IsCursorInside(cursor);
  if (usable && !inside) {
    IPtr<IcxMouseTrackingCaller3> caller3 = Supports<IcxMouseTrackingCaller3>(Caller);
    if (caller3 && caller3->IsCaptureObject()) return;
  }
  if (inside) return;

  // The leave: each call below may free the control, the caller or this timer.
  SetEnabled(false);
  const IPtr<IcxMouseTrackingCaller> caller = Caller;
  if (window) {
    POINT client{cursor.X, cursor.Y};
    ScreenToClient(window, &client);
    const bool outsideClient = !SafeGetClientRect(window).Contains(TPoint(client));
    if (outsideClient || !IsWindowEnabledDeep(window))
      SendMessageW(window, CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Control));
  }
  TcxMouseTrackingTimerList* list = GMouseTrackingTimerList;
  if (!list || list->IndexOf(this) < 0) return;
  if (caller) caller->MouseLeave();
  FreeTrackingTimer(this);
}

// ---------------------------------------------------------------------------
// Tracking routines

void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller) {
  TcxMouseTrackingTimerList* list = MouseTrackingTimerList();
  if (!list || !ACaller || list->Find(static_cast<IInterface*>(ACaller))) return;
  TOwned<TMouseTrackingTimer> timer(New<TMouseTrackingTimer>(nullptr));
  timer->Caller = IPtr<IcxMouseTrackingCaller>(ACaller);
  timer->SetControl(AControl);
  timer->Bounds = ABounds;
  if (HWND window = WindowOf(AControl)) {
    const TPoint origin = ClientPointToScreen(window, TPoint());
    timer->Bounds.Offset(origin.X, origin.Y);
  }
  timer->SetInterval(MouseTrackingInterval);
  timer->SetOnTimer(BindEvent<&TMouseTrackingTimer::Tick>(timer.get()));
  list->Add(timer.release());
}

void EndMouseTracking(IcxMouseTrackingCaller* ACaller) {
  if (!GMouseTrackingTimerList || !ACaller) return;
  if (TMouseTrackingTimer* timer = GMouseTrackingTimerList->Find(static_cast<IInterface*>(ACaller)))
    FreeTrackingTimer(timer);
}

bool IsMouseTrackingActive(IcxMouseTrackingCaller* ACaller) {
  return GMouseTrackingTimerList && ACaller && GMouseTrackingTimerList->Find(static_cast<IInterface*>(ACaller));
}

void EndAllMouseTracking(TWinControl* AControl) {
  if (!GMouseTrackingTimerList || !AControl) return;
  const bool notify = !IsComponentDestroying(AControl, true);
  bool found = false;
  for (int i = GMouseTrackingTimerList->Count() - 1; i >= 0; --i) {
    // A caller told of the leave may end other trackings.
    if (!GMouseTrackingTimerList || i >= GMouseTrackingTimerList->Count()) continue;
    TMouseTrackingTimer* timer = GMouseTrackingTimerList->Timers(i);
    if (timer->Control != AControl) continue;
    found = true;
    const IPtr<IcxMouseTrackingCaller> caller = timer->Caller;
    FreeTrackingTimer(timer);
    if (notify && caller) caller->MouseLeave();
  }
  if (found && notify && AControl->HandleAllocated())
    SendMessageW(AControl->Handle(), WM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(AControl));
}

// ---------------------------------------------------------------------------
// Modal loops

namespace {

// Takes the next message for a modal loop; false when the loop must end
// (an error, or a quit request, which stays queued for the outer loop).
bool NextLoopMessage(MSG& AMsg) {
  const BOOL result = GetMessageW(&AMsg, nullptr, 0, 0);
  if (result == -1) return false;
  if (result == 0) {
    PostQuitMessage(static_cast<int>(AMsg.wParam));
    return false;
  }
  return true;
}

void DispatchLoopMessage(const MSG& AMsg) {
  TranslateMessage(&AMsg);
  DispatchMessageW(&AMsg);
}

bool IsEscapeKey(const MSG& AMsg) {
  return (AMsg.message == WM_KEYDOWN || AMsg.message == WM_KEYUP) && AMsg.wParam == VK_ESCAPE;
}

TPoint MessageScreenPoint(const MSG& AMsg) {
  return ClientPointToScreen(AMsg.hwnd, TPoint(GET_X_LPARAM(AMsg.lParam), GET_Y_LPARAM(AMsg.lParam)));
}

bool IsMouseButtonMessage(UINT AMsg) {
  return (AMsg >= WM_LBUTTONDOWN && AMsg <= WM_MBUTTONDBLCLK) || (AMsg >= WM_XBUTTONDOWN && AMsg <= WM_XBUTTONDBLCLK);
}

}  // namespace

TcxDragDetect cxDragDetect(HWND AWnd, const TPoint& AStartPoint) {
  const int threshold = Mouse()->DragThreshold();
  const TRect square(AStartPoint.X - threshold, AStartPoint.Y - threshold, AStartPoint.X + threshold,
                     AStartPoint.Y + threshold);
  if (GetCapture() != AWnd) SetCapture(AWnd);
  TcxDragDetect result = ddCancel;
  bool done = false;
  MSG msg;
  while (!done && GetCapture() == AWnd && NextLoopMessage(msg)) {
    if (IsEscapeKey(msg)) {
      result = ddCancel;
      done = true;
    } else if (msg.message == WM_MOUSEMOVE && msg.hwnd == AWnd && !square.Contains(MessageScreenPoint(msg))) {
      result = ddDrag;
      done = true;
    } else if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_MBUTTONUP) {
      result = ddNone;
      done = true;
    }
    DispatchLoopMessage(msg);
  }
  if (GetCapture() == AWnd) ReleaseCapture();
  return result;
}

TcxMiddleButtonScrollState MiddleButtonScrollStateAt(const TPoint& AOrigin, const TPoint& APoint, int AMarkerWidth,
                                                     bool AHorzScrollBarVisible, bool AVertScrollBarVisible) {
  const int half = AMarkerWidth / 2;
  const int dx = APoint.X - AOrigin.X;
  const int dy = APoint.Y - AOrigin.Y;
  // The zone spans [-half, AMarkerWidth - half) on each axis it limits.
  const bool neutralX = !AHorzScrollBarVisible || (dx >= -half && dx < AMarkerWidth - half);
  const bool neutralY = !AVertScrollBarVisible || (dy >= -half && dy < AMarkerWidth - half);
  TcxMiddleButtonScrollState state;
  if (neutralX && neutralY) return state;
  int distance;
  if (!AHorzScrollBarVisible || (AVertScrollBarVisible && std::abs(dy) >= std::abs(dx))) {
    state.Direction = dy < 0 ? dirUp : dirDown;
    distance = std::abs(dy);
  } else {
    state.Direction = dx < 0 ? dirLeft : dirRight;
    distance = std::abs(dx);
  }
  state.Speed = std::min((distance - half) / 5 + 1, 12);
  return state;
}

int MiddleButtonScrollCursor(const TcxMiddleButtonScrollState& AState, bool AHorzScrollBarVisible,
                             bool AVertScrollBarVisible) {
  switch (AState.Direction) {
    case dirUp: return 2104;
    case dirRight: return 2105;
    case dirDown: return 2106;
    case dirLeft: return 2107;
    case dirNone: break;
  }
  if (AHorzScrollBarVisible && AVertScrollBarVisible) return 2101;
  return AHorzScrollBarVisible ? 2102 : 2103;
}

namespace {

// The marker at the origin: a round top-most popup showing the bitmap of
// the directions that scroll.
class TcxMiddleButtonScrollMarker {
 public:
  TcxMiddleButtonScrollMarker(HWND AOwner, const TPoint& AOrigin, bool AHorz, bool AVert) {
    const wchar_t* name = AHorz && AVert ? L"CX_FULLSCROLLBITMAP" : AVert ? L"CX_VERSCROLLBITMAP" : L"CX_HORSCROLLBITMAP";
    FBitmap.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (FBitmap) GetObjectW(FBitmap.Get(), sizeof(info), &info);
    FSize = TSize(info.bmWidth, info.bmHeight);
    TOwnedRegion region(CreateEllipticRgn(0, 0, FSize.cx + 1, FSize.cy + 1));
    if (FBitmap) {
      TBitmapDC dc(FBitmap.Get());
      FrameRgn(dc.DC(), region.Get(), GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
    }
    FWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", nullptr, WS_POPUP | SS_BITMAP,
                              AOrigin.X - FSize.cx / 2, AOrigin.Y - FSize.cy / 2, FSize.cx, FSize.cy, AOwner,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!FWindow) return;
    SendMessageW(FWindow, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FBitmap.Get()));
    // The window owns the region from here on.
    if (SetWindowRgn(FWindow, region.Get(), FALSE)) static_cast<void>(region.Release());
    ShowWindow(FWindow, SW_SHOWNOACTIVATE);
  }
  ~TcxMiddleButtonScrollMarker() {
    if (FWindow) DestroyWindow(FWindow);
  }
  TcxMiddleButtonScrollMarker(const TcxMiddleButtonScrollMarker&) = delete;
  TcxMiddleButtonScrollMarker& operator=(const TcxMiddleButtonScrollMarker&) = delete;

  HWND Window() const { return FWindow; }
  int Width() const { return FSize.cx; }

 private:
  TOwnedBitmap FBitmap;
  TSize FSize;
  HWND FWindow = nullptr;
};

void ShowScreenCursor(int AIndex) {
  if (Screen()) SetCursor(Screen()->Cursors(AIndex));
}

}  // namespace

void MiddleButtonScrolling(TWinControl* AControl, bool AHorzScrollBarVisible, bool AVertScrollBarVisible,
                           bool& AScrolling, const TcxScrollContentProc& AStep) {
  if (!AHorzScrollBarVisible && !AVertScrollBarVisible) return;
  const HWND window = AControl->Handle();
  AScrolling = true;
  const TPoint origin = ReadCursorPos();
  UINT_PTR timer = 0;
  TcxMiddleButtonScrollMarker marker(window, origin, AHorzScrollBarVisible, AVertScrollBarVisible);
  TScopeExit finish([&] {
    if (GetCapture() == window) ReleaseCapture();
    if (timer) KillTimer(nullptr, timer);
    AScrolling = false;
  });

  TcxMiddleButtonScrollState state;
  ShowScreenCursor(MiddleButtonScrollCursor(state, AHorzScrollBarVisible, AVertScrollBarVisible));
  timer = SetTimer(nullptr, 0, 20, nullptr);
  SetCapture(window);

  TPoint last = origin;
  bool leftNeutralZone = false;
  int ticks = 0;
  MSG msg;
  while (GetCapture() == window && NextLoopMessage(msg)) {
    if (msg.message == WM_PAINT && msg.hwnd == marker.Window()) {
      ValidateRect(marker.Window(), nullptr);
      continue;
    }
    if (IsEscapeKey(msg)) {
      DispatchLoopMessage(msg);
      break;
    }
    if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) {
      if (++ticks >= 13 - state.Speed) {
        ticks = 0;
        if (state.Direction != dirNone) AStep(state.Direction);
      }
      continue;
    }
    if (msg.message == WM_MOUSEMOVE) {
      const TPoint p(msg.pt);
      if (p != last) {
        last = p;
        state = MiddleButtonScrollStateAt(origin, p, marker.Width(), AHorzScrollBarVisible, AVertScrollBarVisible);
        leftNeutralZone = leftNeutralZone || state.Direction != dirNone;
        ShowScreenCursor(MiddleButtonScrollCursor(state, AHorzScrollBarVisible, AVertScrollBarVisible));
      }
      DispatchLoopMessage(msg);
      continue;
    }
    if (msg.message == WM_MBUTTONUP) {
      DispatchLoopMessage(msg);
      if (leftNeutralZone) break;
      continue;
    }
    if (IsMouseButtonMessage(msg.message)) break;
    DispatchLoopMessage(msg);
  }
}
