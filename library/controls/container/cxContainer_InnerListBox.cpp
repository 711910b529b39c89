// The inner list box of a container and its accessibility node.
#include "library/controls/container/cxContainer.h"

#include "platform/ui/Messages.h"

// ---------------------------------------------------------------------------
// TcxCustomInnerListBox

void TcxCustomInnerListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FLookAndFeel.reset(New<TcxLookAndFeel>(this));
  FLookAndFeel->SetOnChanged(BindEvent<&TcxCustomInnerListBox::LookAndFeelChanged>(this));
  FScrollUIActivityHelper.reset(New<TdxTouchScrollUIActivityHelper>());
  FAutoComplete = true;
  FAutoCompleteDelay = 500;
  FTickCount = [] { return GetTickCount(); };
  SetBorderStyle(bsNone);
  ControlStyle().Exclude(csOpaque).Include(csDoubleClicks);
  SetParentColor(false);
  SetParentFont(true);
}

void TcxCustomInnerListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The overlay layout gives the list an exact height; rounding it down to
  // whole items would uncover a strip of the content.
  if (FContainer && FContainer->IsOverlayScrollMode()) Params.Style |= LBS_NOINTEGRALHEIGHT;
}

void TcxCustomInnerListBox::Destroy() {
  NotifyAccessibilityHelperRemoved(FAccessibilityHelper);
  FLookAndFeel.reset();
  inherited::Destroy();
}

void TcxCustomInnerListBox::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (HandleAllocated()) Invalidate();
}

void TcxCustomInnerListBox::DefaultHandler(TMessage& Message) {
  if (FContainer && FContainer->InnerControlDefaultHandler(Message)) return;
  inherited::DefaultHandler(Message);
}

bool TcxCustomInnerListBox::ItemVisible(int AIndex) {
  const TRect r = ItemRect(AIndex);
  const TRect window(0, 0, Width(), Height());
  for (const TPoint corner : {TPoint(r.Left, r.Top), TPoint(r.Right - 1, r.Top), TPoint(r.Left, r.Bottom - 1),
                              TPoint(r.Right - 1, r.Bottom - 1)})
    if (window.Contains(corner)) return true;
  return false;
}

void TcxCustomInnerListBox::CreateWnd() {
  inherited::CreateWnd();
  // A new window has no region yet: the container cuts it again.
  if (FContainer) FContainer->ClearSavedChildControlRegions();
  RequestAlign();
}

void TcxCustomInnerListBox::DestroyWindowHandle() {
  inherited::DestroyWindowHandle();
  FIsRedrawLocked = false;
}

void TcxCustomInnerListBox::SetExternalScrollBarsParameters() {
  if (!FContainer || FContainer->IsDestroying() || FIsRedrawLocked || !HandleAllocated() || !GetParent(Handle())) return;
  FContainer->SetScrollBarsParameters(false);
}

void TcxCustomInnerListBox::ScrollBy(bool AVertical, TScrollCode ACode, int APos) {
  if (AVertical && (ACode == scLineUp || ACode == scLineDown || ACode == scPosition || ACode == scTrack)) {
    SetTopIndex(APos);
    return;
  }
  TMessage message{};
  message.Msg = AVertical ? WM_VSCROLL : WM_HSCROLL;
  message.WParam = MAKEWPARAM(ACode, APos);
  inherited::DefaultHandler(message);
}

void TcxCustomInnerListBox::ScrollTo(bool AVertical, TScrollCode ACode, int& APos) {
  ScrollBy(AVertical, ACode, APos);
  APos = GetScrollPos(Handle(), AVertical ? SB_VERT : SB_HORZ);
}

namespace {

// The messages after which the list's own bars may have changed.
bool MayChangeScrollBars(const TMessage& AMessage) {
  switch (AMessage.Msg) {
    case WM_SETREDRAW: return AMessage.WParam != 0;
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETHORIZONTALEXTENT:
    case LB_SETTOPINDEX:
    case LB_SETCARETINDEX:
    case WM_MOUSEWHEEL:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CM_WININICHANGE:
    case CM_RECREATEWND: return true;
    default: return false;
  }
}

}  // namespace

void TcxCustomInnerListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      inherited::WndProc(Message);
      Message.Result |= DLGC_WANTCHARS;
      if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_GETOBJECT:
      if (IsAccessibilitySupported() &&
          (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
        if (!FAccessibilityHelper) {
          auto* node = New<TdxCustomInnerListBoxAccessibilityHelper>(this);
          FAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
        }
        Message.Result = ReturnAccessibleObject(Message.WParam, FAccessibilityHelper->GetHelper());
        return;
      }
      break;
    default:
      break;
  }
  const TControlTracker alive(this);
  // The list covers the container's content: moving over it is what shows
  // the overlay bars.
  if (FContainer && FContainer->IsOverlayScrollMode()) {
    const auto onBars = [this](const TPoint& P) { return FContainer->IsOnScrollBarArea(ToContainer(P.X, P.Y)); };
    if (FScrollUIActivityHelper->CheckScrollActivity(this, Message, onBars)) FContainer->RevealScrollBars(true);
    if (!alive.Alive()) return;
  }
  const UINT msg = Message.Msg;
  const HWND focusFrom = reinterpret_cast<HWND>(Message.WParam);
  const bool syncScrollBars = MayChangeScrollBars(Message);
  inherited::WndProc(Message);
  if (!alive.Alive()) return;
  if (msg == WM_SETREDRAW) FIsRedrawLocked = Message.WParam == 0;
  if (syncScrollBars) SetExternalScrollBarsParameters();
  if (!FContainer || FContainer->IsDestroying()) return;
  if ((msg == WM_HSCROLL || msg == WM_VSCROLL) && FContainer->IsOverlayScrollMode()) FContainer->RevealScrollBars(true);
  if (msg == WM_SETFOCUS && !(FContainer->HandleAllocated() && focusFrom == FContainer->Handle()))
    FContainer->FocusChanged();
  else if (msg == WM_KILLFOCUS)
    FContainer->FocusChanged();
  else if (msg == CM_MOUSELEAVE)
    FContainer->ShortRefreshContainer(true);
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomInnerListBox::KeyDown(WORD& Key, TShiftState Shift) {
  const TControlTracker alive(this);
  if (FContainer) FContainer->KeyDown(Key, Shift);
  if (alive.Alive() && Key != 0) inherited::KeyDown(Key, Shift);
}

void TcxCustomInnerListBox::KeyPress(wchar_t& Key) {
  if (Key == L'\t') Key = 0;
  if (FContainer && Key != 0) FContainer->KeyPress(Key);
  if (Key == L'\r') Key = 0;
  if (Key != 0) inherited::KeyPress(Key);
  if (Key != 0) ProcessAutoComplete(Key);
}

void TcxCustomInnerListBox::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  const TControlTracker alive(this);
  if (FContainer && Key != 0) FContainer->KeyUp(Key, Shift);
  if (alive.Alive() && Key != 0) inherited::KeyUp(Key, Shift);
}

void TcxCustomInnerListBox::ProcessAutoComplete(wchar_t& Key) {
  if (!FAutoComplete) return;
  const DWORD now = FTickCount();
  if (now - FPrevKeyPressTime >= FAutoCompleteDelay) FAutoCompleteFilter.clear();
  FPrevKeyPressTime = now;
  if (Key == L'\b') {
    if (!FAutoCompleteFilter.empty()) FAutoCompleteFilter.pop_back();
  } else {
    FAutoCompleteFilter += Key;
  }
  if (FAutoCompleteFilter.empty()) {
    SetItemIndex(0);
    Click();
    return;
  }
  const LRESULT found =
      SendMessageW(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(FAutoCompleteFilter.c_str()));
  if (found != LB_ERR) {
    if (MultiSelect()) {
      ClearSelection();
      SendMessageW(Handle(), LB_SELITEMRANGE, TRUE, MAKELPARAM(found, found));
    }
    SetItemIndex(static_cast<int>(found));
    Click();
  }
  if (Key != L'\b' && Key != L'\r' && Key != 27) Key = 0;
}

// ---------------------------------------------------------------------------
// Mouse and clicks

void TcxCustomInnerListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (!alive.Alive() || !FContainer) return;
  FContainer->FInnerControlMouseDown = true;
  TScopeExit reset([container = FContainer] { container->FInnerControlMouseDown = false; });
  const TPoint p = ToContainer(X, Y);
  FContainer->MouseDown(Button, Shift, p.X, p.Y);
}

void TcxCustomInnerListBox::MouseMove(TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (!alive.Alive() || !FContainer) return;
  const TPoint p = ToContainer(X, Y);
  FContainer->MouseMove(Shift, p.X, p.Y);
}

void TcxCustomInnerListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (!alive.Alive() || !FContainer) return;
  const TPoint p = ToContainer(X, Y);
  FContainer->MouseUp(Button, Shift, p.X, p.Y);
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (FContainer && FContainer->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerListBox::Click() {
  const TControlTracker alive(this);
  inherited::Click();
  if (!alive.Alive()) return;
  // A selection moved by the keyboard scrolls the list without a message of
  // its own that would bring the container's bars along.
  SetExternalScrollBarsParameters();
  if (!alive.Alive() || !FContainer) return;
  if (FContainer->IsOverlayScrollMode()) FContainer->RevealScrollBars(true);
  if (alive.Alive() && FContainer) FContainer->Click();
}

void TcxCustomInnerListBox::DblClick() {
  const TControlTracker alive(this);
  inherited::DblClick();
  if (alive.Alive() && FContainer) FContainer->DblClick();
}

// ---------------------------------------------------------------------------
// TdxCustomInnerListBoxAccessibilityHelper

void TdxCustomInnerListBoxAccessibilityHelper::Create(TObject* AOwnerObject) {
  inherited::Create(AOwnerObject);
  FScrollItemProvider = std::make_unique<TdxScrollItemProvider>(this);
}

String TdxCustomInnerListBoxAccessibilityHelper::GetDefaultActionDescription(int AChildID) {
  return AChildID == CHILDID_SELF ? String() : String(L"Double click");
}

String TdxCustomInnerListBoxAccessibilityHelper::GetName(int AChildID) {
  return AChildID == CHILDID_SELF ? String() : OwnerListBox()->Items()->Strings(AChildID - 1);
}

int TdxCustomInnerListBoxAccessibilityHelper::GetState(int AChildID) {
  constexpr int base = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  if (AChildID != CHILDID_SELF && AChildID - 1 == OwnerListBox()->ItemIndex())
    return base | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
  return base;
}

int TdxCustomInnerListBoxAccessibilityHelper::GetSupportedProperties(int AChildID) {
  if (AChildID == CHILDID_SELF) return aopFocus | aopLocation;
  return aopDefaultAction | aopFocus | aopLocation | aopSelect;
}

bool TdxCustomInnerListBoxAccessibilityHelper::GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider,
                                                                  int AChildID) {
  if (AChildID == CHILDID_SELF || APatternID != UIA_ScrollItemPatternId)
    return inherited::GetPatternProvider(APatternID, AProvider, AChildID);
  AProvider = TComPtr<IUnknown>(static_cast<IdxScrollItemProvider*>(FScrollItemProvider.get()));
  return true;
}

TRect TdxCustomInnerListBoxAccessibilityHelper::GetScreenBounds(int AChildID) {
  TcxCustomInnerListBox* list = OwnerListBox();
  if (AChildID == CHILDID_SELF) {
    const TPoint origin = list->ClientToScreen(TPoint());
    return TRect(origin.X, origin.Y, origin.X + list->Width(), origin.Y + list->Height());
  }
  TRect r = list->ItemRect(AChildID - 1);
  const TPoint origin = list->ClientToScreen(TPoint());
  r.Offset(origin.X, origin.Y);
  return r;
}
