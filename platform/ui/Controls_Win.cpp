// Controls: TWinControl (windows, children, focus, keyboard, alignment,
// painting) and the one window procedure of every control.
#include "platform/ui/Controls.h"

#include "platform/ui/Controls_Internal.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <utility>

using namespace controls_detail;

namespace {

// The window property that links a window to its control, and the one that
// keeps the class procedure of a window whose control has gone.
const wchar_t* const ControlProp = L"SkControl";
const wchar_t* const DefProcProp = L"SkDefProc";

// The control whose window CreateWindowExW is making: its first message
// binds the window to it. GCreatingControl stays set for the whole call (a
// list box asks its parent to measure items before CreateWindowExW returns).
thread_local TWinControl* GCreationControl = nullptr;
thread_local TWinControl* GCreatingControl = nullptr;

// Child window ids: unique, so GetDlgItem finds a control by its id.
std::atomic<UINT> GNextControlId{0x1000};

// Windows destroyed once the procedure they were in has returned.
class TDeferredDestroyer : public TObject {
  SK_CLASS(TDeferredDestroyer, TObject)
 public:
  static constexpr UINT DestroyMsg = WM_APP + 1;
  void Create() { FWindow = AllocateHWnd(BindEvent<&TDeferredDestroyer::WndProc>(this), true); }
  void Destroy() override {
    DeallocateHWnd(FWindow);
    inherited::Destroy();
  }
  void Post(HWND AWnd) { PostMessageW(FWindow, DestroyMsg, reinterpret_cast<WPARAM>(AWnd), 0); }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg == DestroyMsg) {
      auto wnd = reinterpret_cast<HWND>(Message.WParam);
      if (IsWindow(wnd) && !GetPropW(wnd, ControlProp)) DestroyWindow(wnd);
      return;
    }
    Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWindow;
};

// Made on first use: most runs never destroy a window from inside its own
// procedure, and a hidden window is dear at start-up under Wine.
TDeferredDestroyer* GDestroyer = nullptr;
bool GControlsWinStarted = false;

TDeferredDestroyer* Destroyer() {
  if (!GDestroyer && GControlsWinStarted) GDestroyer = New<TDeferredDestroyer>();
  return GDestroyer;
}

void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT p{};
  GetWindowOrgEx(DC, &p);
  SetWindowOrgEx(DC, p.x - DX, p.y - DY, nullptr);
}

bool IsDialogKeyRange(UINT AMsg) { return AMsg >= CM_BASE && AMsg <= 0xBFFF; }

}  // namespace

void ControlsWinInitialization() { GControlsWinStarted = true; }

void ControlsWinFinalization() {
  GControlsWinStarted = false;
  FreeAndNil(GDestroyer);
}

// ---------------------------------------------------------------------------
// The window procedure

LRESULT CALLBACK ControlWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(AWnd, ControlProp));
  if (!control) {
    if (GCreationControl && !GCreationControl->FHandle) {
      control = std::exchange(GCreationControl, nullptr);
      control->FHandle = AWnd;
      SetPropW(AWnd, ControlProp, control);
    } else {
      // A window whose control has gone keeps only its class behaviour.
      auto def = reinterpret_cast<WNDPROC>(GetPropW(AWnd, DefProcProp));
      const LRESULT result = def ? CallWindowProcW(def, AWnd, AMsg, AWParam, ALParam)
                                 : DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
      if (AMsg == WM_NCDESTROY) RemovePropW(AWnd, DefProcProp);
      return result;
    }
  }
  TMessage message{AMsg, AWParam, ALParam, 0};
  TControlTracker alive(control);
  ++control->FWndProcDepth;
  try {
    control->HandleMessage(message);
  } catch (...) {
    HandleCallbackException(control);
  }
  if (alive.Alive()) --control->FWndProcDepth;
  // However the route treated it, a window that is gone is unbound.
  if (AMsg == WM_NCDESTROY) {
    RemovePropW(AWnd, ControlProp);
    if (alive.Alive() && control->FHandle == AWnd) {
      control->FHandle = nullptr;
      control->FShowing = false;
    }
  }
  return message.Result;
}

TWinControl* FindControl(HWND AWnd) {
  if (!AWnd) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(AWnd, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(AWnd, ControlProp));
}

// ---------------------------------------------------------------------------
// Construction and destruction

void TWinControl::Publish(TPublisher<TWinControl>& P) {
  P.Property(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).NoDefault();
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
  P.Property(L"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered).Default(false);
  P.Property(L"Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).Stored(&TWinControl::IsCtl3DStored);
  P.Property(L"ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground);
  P.Property(L"ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
  P.Property(L"OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
  P.Property(L"OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit);
  P.Property(L"OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown);
  P.Property(L"OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
  P.Property(L"OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);

  P.Message<&TWinControl::WMPaint>(WM_PAINT);
  P.Message<&TWinControl::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TWinControl::WMPrintClient>(WM_PRINTCLIENT);
  P.Message<&TWinControl::WMCommand>(WM_COMMAND);
  P.Message<&TWinControl::WMNotify>(WM_NOTIFY);
  P.Message<&TWinControl::WMDrawItem>(WM_DRAWITEM);
  P.Message<&TWinControl::WMMeasureItem>(WM_MEASUREITEM);
  P.Message<&TWinControl::WMDeleteItem>(WM_DELETEITEM);
  P.Message<&TWinControl::WMCompareItem>(WM_COMPAREITEM);
  for (UINT msg : {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORDLG,
                   WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC}) {
    P.Message<&TWinControl::WMCtlColor>(msg);
    P.Message<&TWinControl::CNCtlColor>(CN_BASE + msg);
  }
  P.Message<&TWinControl::WMScroll>(WM_HSCROLL);
  P.Message<&TWinControl::WMScroll>(WM_VSCROLL);
  P.Message<&TWinControl::WMCharToItem>(WM_CHARTOITEM);
  P.Message<&TWinControl::WMCharToItem>(WM_VKEYTOITEM);
  P.Message<&TWinControl::WMSetFocus>(WM_SETFOCUS);
  P.Message<&TWinControl::WMKillFocus>(WM_KILLFOCUS);
  P.Message<&TWinControl::WMKeyDown>(WM_KEYDOWN);
  P.Message<&TWinControl::WMKeyDown>(WM_SYSKEYDOWN);
  P.Message<&TWinControl::WMKeyUp>(WM_KEYUP);
  P.Message<&TWinControl::WMKeyUp>(WM_SYSKEYUP);
  P.Message<&TWinControl::WMChar>(WM_CHAR);
  P.Message<&TWinControl::WMWindowPosChanged>(WM_WINDOWPOSCHANGED);
  P.Message<&TWinControl::WMSize>(WM_SIZE);
  P.Message<&TWinControl::WMSetCursor>(WM_SETCURSOR);
  P.Message<&TWinControl::WMMouseLeave>(WM_MOUSELEAVE);
  P.Message<&TWinControl::WMNCDestroy>(WM_NCDESTROY);
  P.Message<&TWinControl::CNKeyDown>(CN_KEYDOWN);
  P.Message<&TWinControl::CNKeyDown>(CN_SYSKEYDOWN);
  P.Message<&TWinControl::CNKeyUp>(CN_KEYUP);
  P.Message<&TWinControl::CNKeyUp>(CN_BASE + WM_SYSKEYUP);
  P.Message<&TWinControl::CNChar>(CN_CHAR);
  P.Message<&TWinControl::CNSysChar>(CN_SYSCHAR);
  P.Message<&TWinControl::CMDialogKey>(CM_DIALOGKEY);
  P.Message<&TWinControl::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TWinControl::CMEnter>(CM_ENTER);
  P.Message<&TWinControl::CMExit>(CM_EXIT);
  P.Message<&TWinControl::CMFocusChanged>(CM_FOCUSCHANGED);
  P.Message<&TWinControl::CMShowingChanged>(CM_SHOWINGCHANGED);
  P.Message<&TWinControl::CMVisibleChanged>(CM_VISIBLECHANGED);
  P.Message<&TWinControl::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TWinControl::CMColorChanged>(CM_COLORCHANGED);
  P.Message<&TWinControl::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TWinControl::CMRecreateWnd>(CM_RECREATEWND);
  P.Message<&TWinControl::CMInvalidate>(CM_INVALIDATE);
  P.Message<&TWinControl::CMShowHintChanged>(CM_SHOWHINTCHANGED);
  P.Message<&TWinControl::CMBiDiModeChanged>(CM_BIDIMODECHANGED);
  P.Message<&TWinControl::CMParentCtl3DChanged>(CM_PARENTCTL3DCHANGED);
}

void TWinControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FDefWndProc = &DefWindowProcW;
  FTabOrder = -1;
  FCtl3D = true;
  FParentCtl3D = true;
  FBrush.reset(New<TBrush>());
  FBrush->SetColor(Color());
}

void TWinControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  if (FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, true);
  }
}

void TWinControl::Destroy() {
  Destroying();
  if (FHandle) DestroyWindowHandle();
  // Child controls go with their parent, whoever owns them.
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* child = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    RemoveControl(child);
    child->Free();
  }
  FBrush.reset();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// The window

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND AValue) {
  if (FParent || FParentWindow == AValue) return;
  if (FHandle && AValue) {
    ::SetParent(FHandle, AValue);
  } else {
    DestroyHandle();
  }
  FParentWindow = AValue;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = TextField();
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!ComponentState().Contains(csDesigning) && !Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProcW;
  Params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Params.WindowClass.hInstance = GetModuleHandleW(nullptr);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* AClassName) {
  WNDCLASSEXW base{};
  base.cbSize = sizeof(base);
  if (!GetClassInfoExW(nullptr, AClassName, &base) && !GetClassInfoExW(GetModuleHandleW(nullptr), AClassName, &base))
    throw EOutOfResources(L"Fensterklasse '%s' ist nicht registriert", {AClassName});
  base.hInstance = GetModuleHandleW(nullptr);
  // Our class is private to this module and has no DC of its own.
  base.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
  Params.WindowClass = base;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD))
    throw EInvalidOperation(L"Steuerelement '%s' hat kein übergeordnetes Fenster", {Name()});
  FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : &DefWindowProcW;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  const bool registered = GetClassInfoExW(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != &ControlWindowProc) {
    if (registered) UnregisterClassW(params.WinClassName.c_str(), params.WindowClass.hInstance);
    WNDCLASSEXW wc = params.WindowClass;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &ControlWindowProc;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.lpszMenuName = nullptr;
    if (!RegisterClassExW(&wc))
      throw EOutOfResources(L"RegisterClassExW für '%s' schlug fehl (Fehler %d)",
                            {params.WinClassName, static_cast<unsigned long>(GetLastError())});
  }
  CreateWindowHandle(params);
  if (!FHandle)
    throw EOutOfResources(L"CreateWindowExW für '%s' schlug fehl (Fehler %d)",
                          {Name(), static_cast<unsigned long>(GetLastError())});
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  InitializeWindow();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  const HMENU id = (Params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(GNextControlId++)) : nullptr;
  TWinControl* outerCreation = GCreationControl;
  TWinControl* outerCreating = GCreatingControl;
  GCreationControl = this;
  GCreatingControl = this;
  HWND wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, id,
                             Params.WindowClass.hInstance, Params.Param);
  GCreationControl = outerCreation;
  GCreatingControl = outerCreating;
  // The window procedure bound the window already; a failed creation has
  // cleared it again on WM_NCDESTROY.
  if (!wnd) FHandle = nullptr;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent) {
    // Place the window behind the next windowed sibling that has one, so the
    // system's z-order matches the list's.
    HWND insertAfter = HWND_BOTTOM;
    auto& siblings = FParent->FWinControls;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end())
      for (++it; it != siblings.end(); ++it)
        if ((*it)->FHandle) {
          insertAfter = (*it)->FHandle;
          break;
        }
    // A new child window comes last already: the windows of a form made in
    // list order need no move (each a round of messages).
    const bool placed = insertAfter == HWND_BOTTOM ? !GetWindow(FHandle, GW_HWNDNEXT)
                                                   : GetWindow(FHandle, GW_HWNDPREV) == insertAfter;
    if (!placed) SetWindowPos(FHandle, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (!ComponentState().Contains(csLoading))
    for (TControl* c : FControls) c->UpdateAnchorRules();
  if (!ComponentState().Contains(csLoading))
    for (TWinControl* c : FWinControls) c->UpdateAnchorRules();
}

void TWinControl::DestroyWnd() {
  FreeDeviceContexts(FHandle);
  // The text lives in the window while it exists.
  SetTextField(GetText());
  DestroyWindowHandle();
}

void TWinControl::FreeDescendantDeviceContexts() {
  if (FHandle) FreeDeviceContexts(FHandle);
  for (TWinControl* c : FWinControls) c->FreeDescendantDeviceContexts();
}

bool TWinControl::InOwnProcedure() const {
  if (FWndProcDepth > 0) return true;
  return std::any_of(FWinControls.begin(), FWinControls.end(), [](TWinControl* c) { return c->InOwnProcedure(); });
}

void TWinControl::DetachWindows() {
  for (TWinControl* c : FWinControls) c->DetachWindows();
  if (!FHandle) return;
  SetPropW(FHandle, DefProcProp, reinterpret_cast<HANDLE>(FDefWndProc));
  RemovePropW(FHandle, ControlProp);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::DestroyWindowHandle() {
  if (!FHandle) return;
  FControlState.Include(csDestroyingHandle);
  // Device contexts of this window and its descendants' go first.
  FreeDescendantDeviceContexts();
  TDeferredDestroyer* destroyer = InOwnProcedure() ? Destroyer() : nullptr;
  if (destroyer) {
    // A window (or a child's) is still inside its own procedure: it keeps
    // only its class behaviour and goes once that procedure has returned.
    HWND wnd = FHandle;
    DetachWindows();
    ShowWindow(wnd, SW_HIDE);
    destroyer->Post(wnd);
  } else {
    HWND wnd = FHandle;
    DestroyWindow(wnd);
    if (FHandle == wnd) DetachWindows();  // the window refused to go: forget it all the same
  }
  FHandle = nullptr;
  FShowing = false;
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* c : FWinControls) c->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  const bool wasFocused = Focused();
  {
    FControlState.Include(csRecreating);
    TScopeExit recreated([this] { FControlState.Exclude(csRecreating); });
    DestroyHandle();
    UpdateControlState();
  }
  if (wasFocused && FHandle) ::SetFocus(FHandle);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  if (FHandle) RemovePropW(FHandle, ControlProp);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    inherited::DefaultHandler(Message);
    return;
  }
  // Our own control and reflected messages mean nothing to a window class.
  if (IsDialogKeyRange(Message.Msg)) {
    Message.Result = 0;
    return;
  }
  Message.Result = CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      // A control without a window answers for its place as a child window
      // would; HTNOWHERE leaves the point to this window.
      if (FHandle) {
        if (TControl* control = ControlAtPos(ScreenToClient(PointFromLParam(Message.LParam)), false)) {
          Message.Result = control->Perform(WM_NCHITTEST, Message.WParam, Message.LParam);
          if (Message.Result != HTNOWHERE) return;
        }
      }
      break;
    case WM_MOUSEMOVE:
      TrackMouse(Message);
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
      TControlTracker alive(this);
      if (IsControlMouseMsg(Message)) {
        if (alive.Alive() && Message.Result == 0 && FHandle)
          DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    }
    default:
      break;
  }
  inherited::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (GCaptureControl && GCaptureControl->FParent == this) control = GCaptureControl;
  } else {
    control = ControlAtPos(TWMMouse(Message).Pos(), false);
  }
  if (!control) return false;
  const TPoint p = TWMMouse(Message).Pos() - TPoint(control->FLeft, control->FTop);
  Message.Result = control->Perform(Message.Msg, Message.WParam, PointToLParam(p));
  return true;
}

void TWinControl::TrackMouse(TMessage& Message) {
  if (!FHandle) return;
  const TPoint p = TWMMouse(Message).Pos();
  TControl* target = nullptr;
  if (ClientRect().Contains(p)) {
    target = ControlAtPos(p, false);
    if (!target) target = this;
  }
  SetMouseControl(target);
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = FHandle;
  TrackMouseEvent(&tme);
}

void TWinControl::WMMouseLeave(TMessage& Message) {
  if (GMouseControl == this || (GMouseControl && !GMouseControl->IsWindowed() && GMouseControl->FParent == this))
    SetMouseControl(nullptr);
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Children

TControl* TWinControl::Controls(int AIndex) const {
  const auto graphic = static_cast<int>(FControls.size());
  if (AIndex < 0 || AIndex >= ControlCount())
    throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return AIndex < graphic ? FControls[AIndex] : FWinControls[AIndex - graphic];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  if (AControl->IsWindowed()) {
    auto* win = static_cast<TWinControl*>(AControl);
    FWinControls.push_back(win);
    InsertTab(win);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
  AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  AControl->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
  if (AControl->IsWindowed()) static_cast<TWinControl*>(AControl)->UpdateControlState();
  else AControl->Invalidate();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (AControl->IsWindowed()) {
    auto* win = static_cast<TWinControl*>(AControl);
    if (TCustomForm* form = GetParentForm(win)) form->DefocusControl(win, true);
    win->DestroyHandle();
    RemoveTab(win);
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), win), FWinControls.end());
  } else {
    AControl->InvalidateControl(AControl->FVisible, false);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  if (GCaptureControl == AControl) SetCaptureControl(nullptr);
  AControl->FParent = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(TControl* AControl) const {
  for (TControl* c = AControl; c; c = c->FParent)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& APos, bool AAllowDisabled, bool AAllowWinControls, bool AAllLevels) {
  auto hits = [&](TControl* c) {
    if (!c->FVisible || !(c->Enabled() || AAllowDisabled)) return false;
    if (!c->BoundsRect().Contains(APos)) return false;
    return c->Perform(CM_HITTEST, 0, PointToLParam(APos - TPoint(c->FLeft, c->FTop))) != 0;
  };
  TControl* result = nullptr;
  // Child windows always lie above the parent's own drawing.
  if (AAllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend() && !result; ++it)
      if (hits(*it)) result = *it;
  for (auto it = FControls.rbegin(); it != FControls.rend() && !result; ++it)
    if (hits(*it)) result = *it;
  if (AAllLevels && result && result->IsWindowed()) {
    auto* win = static_cast<TWinControl*>(result);
    if (TControl* deeper = win->ControlAtPos(APos - TPoint(win->FLeft, win->FTop), AAllowDisabled, true, true))
      result = deeper;
  }
  return result;
}

TControl* TWinControl::FindChildControl(const String& AName) const {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (CompareStringOrdinal(c->Name().c_str(), -1, AName.c_str(), -1, TRUE) == CSTR_EQUAL) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    Controls(i)->HandleMessage(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT AMsg) {
  TMessage message{AMsg, 0, 0, 0};
  Broadcast(message);
}

void TWinControl::GetChildren(const TGetChildProc& AProc, TComponent* ARoot) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == ARoot) AProc(c);
  }
}

// ---------------------------------------------------------------------------
// Showing

void TWinControl::UpdateControlState() {
  TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->FShowing) return;
  }
  if (Is<TCustomForm>(top) || top->FParentWindow) UpdateShowing();
}

void TWinControl::UpdateShowing() {
  const bool show = FVisible && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
  if (show) {
    if (!FHandle) CreateHandle();
    // Children may be added or freed while their windows come up.
    for (std::size_t i = 0; i < FWinControls.size(); ++i) FWinControls[i]->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!FVisible && FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
  }
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!Enabled() && FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
  }
  if (FHandle) EnableWindow(FHandle, Enabled());
}

void TWinControl::ApplyDefaultColor(TColor AValue) {
  inherited::ApplyDefaultColor(AValue);
  if (FBrush) FBrush->SetColor(AValue);
}

void TWinControl::CMColorChanged(TMessage&) {
  FBrush->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::FontChanged(TObject* Sender) { inherited::FontChanged(Sender); }

void TWinControl::CMFontChanged(TMessage&) {
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMBiDiModeChanged(TMessage&) {
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  Invalidate();
}

void TWinControl::SetParentBackground(bool AValue) {
  if (ParentBackground() == AValue) return;
  if (AValue) FControlStyle.Include(csParentBackground);
  else FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

void TWinControl::SetCtl3D(bool AValue) {
  if (FCtl3D == AValue) return;
  FCtl3D = AValue;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool AValue) {
  if (FParentCtl3D == AValue) return;
  FParentCtl3D = AValue;
  if (FParent && AValue && !ComponentState().Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMParentCtl3DChanged(TMessage&) {
  if (!FParentCtl3D || !FParent) return;
  SetCtl3D(FParent->Ctl3D());
  FParentCtl3D = true;
}

// ---------------------------------------------------------------------------
// Focus and tab order

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  TControl* stop = form;
  for (TControl* c = this; c && c != stop; c = c->FParent)
    if (!c->FVisible || !c->Enabled()) return false;
  return form != nullptr || FParentWindow != nullptr || !FParent;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation(L"Ein deaktiviertes oder unsichtbares Fenster kann den Fokus nicht erhalten");
  ::SetFocus(Handle());
}

int TWinControl::TabOrder() const {
  if (!FParent || ComponentState().Contains(csLoading)) return FTabOrder;
  const auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int AValue) {
  if (!FParent || ComponentState().Contains(csLoading)) {
    // Applied once all siblings are read (see Loaded).
    FTabOrder = AValue;
    return;
  }
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  const int count = static_cast<int>(list.size());
  if (AValue < 0 || AValue >= count) AValue = count - 1;
  list.erase(it);
  list.insert(list.begin() + AValue, this);
  for (int i = 0; i < count; ++i) list[i]->FTabOrder = i;
}

void TWinControl::InsertTab(TWinControl* AControl) {
  FTabList.push_back(AControl);
  if (!AControl->ComponentState().Contains(csLoading)) AControl->FTabOrder = static_cast<int>(FTabList.size()) - 1;
}

void TWinControl::RemoveTab(TWinControl* AControl) {
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), AControl), FTabList.end());
  for (std::size_t i = 0; i < FTabList.size(); ++i)
    if (!FTabList[i]->ComponentState().Contains(csLoading)) FTabList[i]->FTabOrder = static_cast<int>(i);
}

void TWinControl::SortTabList() {
  // Stored tab orders first; controls without one keep their place after them.
  std::stable_sort(FTabList.begin(), FTabList.end(), [](TWinControl* A, TWinControl* B) {
    const int a = A->FTabOrder < 0 ? INT32_MAX : A->FTabOrder;
    const int b = B->FTabOrder < 0 ? INT32_MAX : B->FTabOrder;
    return a < b;
  });
  for (std::size_t i = 0; i < FTabList.size(); ++i)
    if (!FTabList[i]->ComponentState().Contains(csLoading)) FTabList[i]->FTabOrder = static_cast<int>(i);
}

void TWinControl::SetTabStop(bool AValue) {
  if (FTabStop == AValue) return;
  FTabStop = AValue;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    style = AValue ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(FHandle, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& AList) {
  for (TWinControl* c : FTabList) {
    AList.push_back(c);
    c->GetTabOrderList(AList);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* ACurControl, bool AGoForward, bool ACheckTabStop,
                                          bool ACheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), ACurControl);
  int start = found == list.end() ? -1 : static_cast<int>(found - list.begin());
  if (start < 0) start = AGoForward ? count - 1 : 0;
  int i = start;
  do {
    if (AGoForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    TWinControl* c = list[i];
    if (c != ACurControl && c->CanFocus() && (c->FTabStop || !ACheckTabStop) && (c->FParent == this || !ACheckParent))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* ACurControl, bool AGoForward, bool ACheckTabStop) {
  // Arrow keys (no tab-stop check) move among siblings only.
  if (TWinControl* next = FindNextControl(ACurControl, AGoForward, ACheckTabStop, !ACheckTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) form->SetActiveControl(c);
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

// ---------------------------------------------------------------------------
// Keyboard

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWMKey key(Message);
  const TShiftState shift = KeyDataToShiftState(key.KeyData());
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(Message)) return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  WORD code = key.CharCode();
  KeyDown(code, shift);
  // The handler may have freed the control: only the message is touched.
  key.SetCharCode(code);
  return code == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWMKey key(Message);
  const TShiftState shift = KeyDataToShiftState(key.KeyData());
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(Message)) return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  WORD code = key.CharCode();
  KeyUp(code, shift);
  key.SetCharCode(code);
  return code == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWMChar ch(Message);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(Message)) return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  wchar_t c = ch.CharCode();
  KeyPress(c);
  ch.SetCharCode(c);
  return c == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return false;
  for (TControl* c = this; c; c = c->FParent) {
    TPopupMenu* menu = c->GetPopupMenu();
    if (menu && menu->IsShortCut(Message)) return true;
  }
  TCustomForm* form = GetParentForm(this);
  return form && form->IsShortCut(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (!ComponentState().Contains(csDesigning)) {
    const WORD key = TWMKey(Message).CharCode();
    UINT mask = 0;
    switch (key) {
      case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
      default:
        break;
    }
    if (mask && Perform(CM_WANTSPECIALKEY, key, Message.LParam) == 0 &&
        (static_cast<UINT>(Perform(WM_GETDLGCODE, 0, 0)) & mask) == 0) {
      if (TCustomForm* form = GetParentForm(this))
        if (form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0) return;
    }
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  if (!ComponentState().Contains(csDesigning)) {
    Message.Result = 1;
    if ((static_cast<UINT>(Perform(WM_GETDLGCODE, 0, 0)) & DLGC_WANTCHARS) == 0) {
      if (TCustomForm* form = GetParentForm(this))
        if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
    }
  }
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  // Alt+letter: the accelerators of the form's controls.
  if (ComponentState().Contains(csDesigning) || Message.WParam == VK_SPACE) return;
  if (TCustomForm* form = GetParentForm(this))
    if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

// ---------------------------------------------------------------------------
// Reflection of child notifications

bool TWinControl::ReflectToChild(HWND AChild, TMessage& Message) {
  if (!AChild || AChild == FHandle) return false;
  TWinControl* child = FindControl(AChild);
  if (!child) return false;
  Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& Message) {
  if (!ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  const NMHDR* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
  if (!hdr || !ReflectToChild(hdr->hwndFrom, Message)) DefaultHandler(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (!item || item->CtlType == ODT_MENU || !ReflectToChild(item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
  if (item && item->CtlType != ODT_MENU) {
    HWND child = FHandle ? GetDlgItem(FHandle, static_cast<int>(item->CtlID)) : nullptr;
    if (ReflectToChild(child, Message)) return;
    // A list box measures its items while its window is still being made.
    if (GCreatingControl && GCreatingControl->FParent == this) {
      Message.Result = GCreatingControl->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMDeleteItem(TMessage& Message) {
  const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam);
  if (!item || !ReflectToChild(item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMCompareItem(TMessage& Message) {
  const auto* item = reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam);
  if (!item || !ReflectToChild(item->hwndItem, Message)) DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  if (!ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMScroll(TMessage& Message) {
  if (!ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::WMCharToItem(TMessage& Message) {
  if (!ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message) {
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(dc, ColorToColorRef(Font()->Color()));
  SetBkColor(dc, ColorToColorRef(FBrush->Color()));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

// ---------------------------------------------------------------------------
// Bounds and alignment

TRect TWinControl::ClientRect() {
  if (FHandle) {
    RECT r{};
    GetClientRect(FHandle, &r);
    return TRect(r);
  }
  return inherited::ClientRect();
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return TPoint(p);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle && !IsIconic(FHandle)) {
    // The window reports back through WM_WINDOWPOSCHANGED and WM_SIZE.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (resized && !ComponentState().Contains(csLoading)) {
      Realign();
      Resize();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r{};
  GetWindowRect(FHandle, &r);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) {
    if (HWND parent = GetParent(FHandle)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
  UpdateAnchorRules();
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  if (!FControlState.Contains(csDestroyingHandle)) UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  TControlTracker alive(this);
  DefaultHandler(Message);
  if (!alive.Alive()) return;
  Realign();
  if (alive.Alive() && !ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::SetZOrder(bool ATopMost) {
  if (FParent) {
    auto& list = FParent->FWinControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
      list.erase(it);
      if (ATopMost) list.push_back(this);
      else list.insert(list.begin(), this);
    }
  }
  if (FHandle)
    SetWindowPos(FHandle, ATopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (AlignDisabled() || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  TryFinally(
      [&] {
        TRect r = ClientRect();
        AlignControls(AControl, r);
      },
      [this] {
        // Requests made while aligning are answered by this pass.
        FControlState.Exclude(csAlignmentNeeded);
        EnableAlign();
      });
}

void TWinControl::AdjustClientRect(TRect&) {}

bool TWinControl::CustomAlignInsertBefore(TControl*, TControl*) { return false; }

void TWinControl::CustomAlignPosition(TControl*, int&, int&, int&, int&, TRect&) {}

void TWinControl::AlignControls(TControl* AControl, TRect& ARect) {
  AdjustClientRect(ARect);
  FControlState.Include(csAligning);
  TScopeExit aligned([this] { FControlState.Exclude(csAligning); });
  std::vector<TControl*> list;
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom}) DoAlign(align, ARect, AControl, list);
  AnchorChildren();
}

void TWinControl::DoAlign(TAlign AAlign, TRect& ARect, TControl* AControl, std::vector<TControl*>& AList) {
  auto before = [&](TControl* C1, TControl* C2) {
    switch (AAlign) {
      case alTop: return C1->FTop < C2->FTop;
      case alBottom: return C1->FTop + C1->FHeight >= C2->FTop + C2->FHeight;
      case alLeft: return C1->FLeft < C2->FLeft;
      case alRight: return C1->FLeft + C1->FWidth >= C2->FLeft + C2->FWidth;
      case alCustom: return CustomAlignInsertBefore(C1, C2);
      default: return false;
    }
  };
  AList.clear();
  // The control being placed keeps its place among equals.
  if (AControl && AControl->FAlign == AAlign && AControl->FVisible && AControl->FParent == this) AList.push_back(AControl);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == AControl || c->FAlign != AAlign || !c->FVisible) continue;
    auto pos = AList.begin();
    while (pos != AList.end() && !before(c, *pos)) ++pos;
    AList.insert(pos, c);
  }
  for (TControl* c : AList) {
    int left = ARect.Left, top = ARect.Top;
    int width = ARect.Width(), height = ARect.Height();
    switch (AAlign) {
      case alTop: height = c->FHeight; break;
      case alBottom: height = c->FHeight; top = ARect.Bottom - height; break;
      case alLeft: width = c->FWidth; break;
      case alRight: width = c->FWidth; left = ARect.Right - width; break;
      case alCustom:
        left = c->FLeft;
        top = c->FTop;
        width = c->FWidth;
        height = c->FHeight;
        CustomAlignPosition(c, left, top, width, height, ARect);
        break;
      default: break;
    }
    c->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    // The control may have taken another size than offered.
    switch (AAlign) {
      case alTop: ARect.Top = std::min(ARect.Top + c->FHeight, ARect.Bottom); break;
      case alBottom: ARect.Bottom = std::max(ARect.Bottom - c->FHeight, ARect.Top); break;
      case alLeft: ARect.Left = std::min(ARect.Left + c->FWidth, ARect.Right); break;
      case alRight: ARect.Right = std::max(ARect.Right - c->FWidth, ARect.Left); break;
      default: break;
    }
  }
}

void TWinControl::AnchorChildren() {
  const TSize client = ClientRect().GetSize();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->FAlign != alNone || c->FAnchors == TAnchors{akLeft, akTop}) continue;
    const TRect r = c->AnchoredBounds(client);
    if (!(r == c->BoundsRect())) c->SetBoundsRect(r);
  }
}

void TWinControl::Loaded() {
  inherited::Loaded();
  if (FParent) FParent->SortTabList();
  SortTabList();
  Realign();
  if (FParent) UpdateControlState();
}

void TWinControl::ChangeScale(int M, int D, bool AIsDpiChange) {
  if (M == D || D == 0) return;
  DisableAlign();
  TryFinally(
      [&] {
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D, AIsDpiChange);
        inherited::ChangeScale(M, D, AIsDpiChange);
        // Anchors measure from the new sizes.
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
      },
      [this] { EnableAlign(); });
}

// ---------------------------------------------------------------------------
// Painting

void TWinControl::SetDoubleBuffered(bool AValue) {
  if (FDoubleBuffered == AValue) return;
  FDoubleBuffered = AValue;
  Perform(CM_DOUBLEBUFFEREDCHANGED, 0, 0);
  Invalidate();
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::CMInvalidate(TMessage& Message) {
  if (!FHandle || ComponentState().Contains(csDestroying)) return;
  if (FParent) FParent->Perform(CM_INVALIDATE, 1, 0);
  if (Message.WParam == 0) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::WMPaint(TMessage& Message) {
  HDC given = TWMPaint(Message).DC();
  if (!FDoubleBuffered || given) {
    if (!FControlState.Contains(csCustomPaint) && FControls.empty()) DefaultHandler(Message);
    else PaintHandler(Message);
    return;
  }
  // Paint the invalid rectangle into a bitmap, then copy it in one go. The
  // scopes hold handles, not this control, which the paint may destroy.
  TPaintScope paint(FHandle);
  const TRect r(paint.PaintRect());
  if (!paint.DC() || r.IsEmpty()) return;
  const TMemoryDC buffer = TMemoryDC::Compatible(paint.DC(), r.Width(), r.Height());
  if (!buffer) return;
  SetWindowOrgEx(buffer.DC(), r.Left, r.Top, nullptr);
  TControlTracker alive(this);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer.DC()), reinterpret_cast<LPARAM>(buffer.DC()));
  if (!alive.Alive()) return;
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(buffer.DC()), 0);
  if (alive.Alive()) BitBlt(paint.DC(), r.Left, r.Top, r.Width(), r.Height(), buffer.DC(), r.Left, r.Top, SRCCOPY);
}

void TWinControl::PaintHandler(TMessage& Message) {
  const TPaintScope paint(FHandle, TWMPaint(Message).DC());
  const HDC dc = paint.DC();
  TControlTracker alive(this);
  if (FControls.empty()) {
    PaintWindow(dc);
  } else {
    const TSavedDC saved(dc);
    int clip = SIMPLEREGION;
    // Opaque graphic children cover their part: the window leaves it alone.
    for (TControl* c : FControls)
      if (c->FVisible && c->FControlStyle.Contains(csOpaque)) {
        clip = ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
        if (clip == NULLREGION) break;
      }
    if (clip != NULLREGION) PaintWindow(dc);
  }
  if (alive.Alive()) PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(message);
}

void TWinControl::PaintControls(HDC DC, TControl* AFirst) {
  auto it = FControls.begin();
  if (AFirst) {
    it = std::find(FControls.begin(), FControls.end(), AFirst);
    if (it == FControls.end()) it = FControls.begin();
  }
  // A copy: painting code may add or remove controls.
  const std::vector<TControl*> controls(it, FControls.end());
  for (TControl* c : controls) {
    if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    if (!c->FVisible) continue;
    const RECT bounds = c->BoundsRect();
    if (!RectVisible(DC, &bounds)) continue;
    if (FControlState.Contains(csPaintCopy)) c->FControlState.Include(csPaintCopy);
    TControlTracker alive(c);
    TScopeExit painted([&] {
      if (alive.Alive()) c->FControlState.Exclude(csPaintCopy);
    });
    const TSavedDC saved(DC);
    MoveWindowOrg(DC, c->FLeft, c->FTop);
    IntersectClipRect(DC, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  // A double-buffered control erases only the buffer (the pipeline passes
  // the context in both parameters); the system's own erase is skipped.
  if (!FDoubleBuffered || Message.WParam == static_cast<WPARAM>(Message.LParam)) {
    if (FControlStyle.Contains(csParentBackground) && FParent && FParent->HandleAllocated()) {
      // The parent erases its own background behind us, in our coordinates.
      const TSavedDC saved(dc);
      MoveWindowOrg(dc, -FLeft, -FTop);
      FParent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    } else {
      const RECT r = ClientRect();
      FillRect(dc, &r, FBrush->Handle());
    }
  }
  Message.Result = 1;
}

void TWinControl::WMPrintClient(TMessage& Message) {
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  const auto flags = static_cast<UINT>(Message.LParam);
  if ((flags & PRF_CHECKVISIBLE) && !FVisible) return;
  const TSavedDC saved(dc);
  TControlTracker alive(this);
  if (flags & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, Message.WParam, Message.WParam);
  if (alive.Alive()) {
    TMessage paint{WM_PAINT, Message.WParam, 0, 0};
    if (!FControlState.Contains(csCustomPaint) && FControls.empty()) DefaultHandler(Message);
    else PaintHandler(paint);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  FControlState.Include(csPaintCopy);
  TScopeExit copied([this] { FControlState.Exclude(csPaintCopy); });
  const TSavedDC saved(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  // The client area may lie inside a frame.
  if (HandleAllocated()) {
    RECT window{};
    GetWindowRect(FHandle, &window);
    POINT origin{0, 0};
    ::ClientToScreen(FHandle, &origin);
    MoveWindowOrg(DC, origin.x - window.left, origin.y - window.top);
  }
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (TWinControl* c : FWinControls)
    if (c->FVisible) c->PaintTo(DC, c->FLeft, c->FTop);
}

// ---------------------------------------------------------------------------
// Cursor

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor cursor = crDefault;
    if (TScreen* screen = Screen()) cursor = screen->Cursor();
    if (cursor == crDefault) {
      POINT p{};
      GetCursorPos(&p);
      ::ScreenToClient(FHandle, &p);
      if (TControl* c = ControlAtPos(TPoint(p), false)) cursor = c->Cursor();
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault) {
      if (TScreen* screen = Screen()) {
        ::SetCursor(screen->Cursors(cursor));
        Message.Result = 1;
        return;
      }
    }
  }
  DefaultHandler(Message);
}
