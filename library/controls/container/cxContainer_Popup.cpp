#include "library/controls/container/cxContainer.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxHooks.h"

#include <algorithm>

namespace {

TcxPopupVisibleController* GPopupVisibleController = nullptr;
bool GPopupVisibleControllerFinalized = false;
// Raised while a popup opens or a click closes one: the owner form keeps its
// active caption meanwhile.
bool GPopupTransition = false;

class TTransition {
 public:
  TTransition() : FPrev(GPopupTransition) { GPopupTransition = true; }
  ~TTransition() { GPopupTransition = FPrev; }
  TTransition(const TTransition&) = delete;
  TTransition& operator=(const TTransition&) = delete;

 private:
  bool FPrev;
};

// Locks message numbers in the messages controller for a scope.
class TMessagesLock {
 public:
  explicit TMessagesLock(std::initializer_list<UINT> AMessages) : FMessages(AMessages) {
    if (TdxMessagesController* c = MessagesController()) c->LockMessages(AMessages);
  }
  ~TMessagesLock() {
    if (TdxMessagesController* c = MessagesController())
      for (UINT m : FMessages) c->UnlockMessages({m});
  }
  TMessagesLock(const TMessagesLock&) = delete;
  TMessagesLock& operator=(const TMessagesLock&) = delete;

 private:
  std::vector<UINT> FMessages;
};

TCustomForm* OwnerFormOf(const TcxCustomPopupWindow* APopup) {
  return APopup->OwnerControl() ? GetParentForm(APopup->OwnerControl()) : nullptr;
}

HWND OwnerFormWindow(const TcxCustomPopupWindow* APopup) {
  TCustomForm* form = OwnerFormOf(APopup);
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

bool IsTopMostWindow(HWND AWnd) { return AWnd && (GetWindowLongPtrW(AWnd, GWL_EXSTYLE) & WS_EX_TOPMOST); }

std::vector<TcxCustomPopupWindow*> ShownPopups() {
  std::vector<TcxCustomPopupWindow*> items;
  if (TcxPopupVisibleController* c = GPopupVisibleController)
    for (int i = 0; i < c->Count(); ++i) items.push_back(c->GetItems(i));
  return items;
}

bool IsShown(TcxCustomPopupWindow* APopup) {
  const std::vector<TcxCustomPopupWindow*> items = ShownPopups();
  return std::find(items.begin(), items.end(), APopup) != items.end();
}

}  // namespace

// ---------------------------------------------------------------------------
// Unit routines

HWND FirstTopLevelWindowOf(HWND AWnd) {
  while (AWnd && (GetWindowLongPtrW(AWnd, GWL_STYLE) & WS_CHILD)) AWnd = GetParent(AWnd);
  return AWnd;
}

bool WindowsAreRelated(HWND A, HWND B) {
  if (!A || !B || A == B) return false;
  // Bounded: each round moves B to the owner of a popup, and owners do not
  // form cycles; a broken chain must still not hang the thread.
  for (int depth = 0; B && depth < 64; ++depth) {
    if (B == A || IsChild(A, B)) return true;
    const HWND root = GetAncestor(B, GA_ROOT);
    auto* popup = dynamic_cast<TcxCustomPopupWindow*>(FindControl(root));
    if (!popup || !popup->OwnerControl() || !popup->OwnerControl()->HandleAllocated()) return false;
    B = popup->OwnerControl()->Handle();
  }
  return false;
}

bool IsControlHandle(TWinControl* AControl, HWND H, bool ACheckChildren) {
  if (!AControl || !AControl->HandleAllocated()) return false;
  return H == AControl->Handle() || (ACheckChildren && WindowsAreRelated(AControl->Handle(), H));
}

bool CanShowHintForControl(TControl* AControl) {
  auto* control = dynamic_cast<TWinControl*>(AControl);
  if (!control) control = AControl ? AControl->Parent() : nullptr;
  if (!Application() || !Application()->Active() || !control || !control->HandleAllocated() ||
      !IsWindowVisible(control->Handle()))
    return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (FindDragTarget(TPoint(cursor), false) != AControl) return false;
  HWND top = control->Handle();
  while (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) {
    if (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_MDICHILD) break;
    top = GetParent(top);
  }
  auto* form = dynamic_cast<TCustomForm*>(FindControl(top));
  if (!form || (Screen() && form == Screen()->ActiveForm())) return true;
  const std::vector<TcxCustomPopupWindow*> items = ShownPopups();
  return !items.empty() && items.front()->OwnerControl() && items.front()->OwnerControl()->HandleAllocated() &&
         IsSameOrChildWindow(top, items.front()->OwnerControl()->Handle());
}

// ---------------------------------------------------------------------------
// TcxPopupVisibleController

TcxPopupVisibleController* cxPopupVisibleController() {
  if (!GPopupVisibleController && !GPopupVisibleControllerFinalized)
    GPopupVisibleController = New<TcxPopupVisibleController>();
  return GPopupVisibleController;
}

void TcxPopupVisibleController::Register(TcxCustomPopupWindow* AItem) {
  if (!IsVisible(AItem)) FItems.push_back(AItem);
}

void TcxPopupVisibleController::UnRegister(TcxCustomPopupWindow* AItem) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AItem), FItems.end());
}

bool TcxPopupVisibleController::IsVisible(const TcxCustomPopupWindow* AItem) const {
  return std::find(FItems.begin(), FItems.end(), AItem) != FItems.end();
}

void TcxPopupVisibleController::CloseRelated(HWND AWnd) {
  const auto first = std::find_if(FItems.begin(), FItems.end(), [AWnd](TcxCustomPopupWindow* p) {
    return !p->IsDestroying() && IsControlHandle(p->OwnerControl(), AWnd, true);
  });
  if (first == FItems.end()) return;
  // Newest first; closing one may close or free others, so each round looks again.
  TcxCustomPopupWindow* const oldest = *first;
  while (IsVisible(oldest)) {
    TcxCustomPopupWindow* newest = FItems.back();
    newest->CloseUp();
    if (IsVisible(newest)) UnRegister(newest);
  }
}

void TcxPopupVisibleController::CloseUnRelated(HWND AWnd) {
  for (;;) {
    const auto it = std::find_if(FItems.begin(), FItems.end(), [AWnd](TcxCustomPopupWindow* p) {
      return !(p->CaptureFocus() && !p->Active()) && !IsControlHandle(p, AWnd, true);
    });
    if (it == FItems.end()) return;
    TcxCustomPopupWindow* popup = *it;
    popup->CloseUp();
    if (IsVisible(popup)) UnRegister(popup);
  }
}

// ---------------------------------------------------------------------------
// TcxCustomPopupWindow

void TcxCustomPopupWindow::Publish(TPublisher<TcxCustomPopupWindow>& P) {
  P.Message<&TcxCustomPopupWindow::WMActivate>(WM_ACTIVATE);
  P.Message<&TcxCustomPopupWindow::WMActivateApp>(WM_ACTIVATEAPP);
  P.Message<&TcxCustomPopupWindow::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TcxCustomPopupWindow::WMWindowPosChanging>(WM_WINDOWPOSCHANGING);
  P.Message<&TcxCustomPopupWindow::CMRecreateWnd>(CM_RECREATEWND);
  P.Message<&TcxCustomPopupWindow::CMShowingChanged>(CM_SHOWINGCHANGED);
  P.Message<&TcxCustomPopupWindow::CMClosePopup>(CM_CLOSEPOPUP);
  P.Message<&TcxCustomPopupWindow::CMRepopup>(CM_REPOPUP);
}

void TcxCustomPopupWindow::Create(TComponent* AOwner) { CreateNew(AOwner); }

void TcxCustomPopupWindow::CreateNew(TComponent* AOwner) {
  inherited::CreateNew(AOwner);
  FOwnerControl = dynamic_cast<TWinControl*>(AOwner);
  SetScaled(!FOwnerControl || !Supports<IdxScaleFactor>(FOwnerControl));
  FStyle.reset(NewOfClass<TcxContainerStyle>(GetStyleClass(), static_cast<TPersistent*>(this), false,
                                             static_cast<TcxContainerStyle*>(nullptr), csNormal));
  FStyle->SetOnChanged(BindEvent<&TcxCustomPopupWindow::HandleShowEmpty>(this));
  FViewInfo.reset(NewOfClass<TcxContainerViewInfo>(GetViewInfoClass()));
  FViewInfo->UpdateStyle(FStyle.get());
  FCaptureFocus = true;
  SetKeyPreview(true);
  FModalMode = true;
}

void TcxCustomPopupWindow::Destroy() {
  SetPopupMode(pmNone);
  if (GPopupVisibleController) GPopupVisibleController->UnRegister(this);
  SetFocusedControlOf(FFocusedControl, nullptr);
  SetFocusedControlOf(FPrevActiveControl, nullptr);
  if (FPrevActiveForm) FPrevActiveForm->RemoveFreeNotification(this);
  FPrevActiveForm = nullptr;
  FViewInfo.reset();
  if (FStyle) FStyle->SetOnChanged(TNotifyEvent());
  FStyle.reset();
  inherited::Destroy();
}

void TcxCustomPopupWindow::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  if (AComponent == FPrevActiveControl) FPrevActiveControl = nullptr;
  if (AComponent == FPrevActiveForm) FPrevActiveForm = nullptr;
  if (AComponent == FOwnerControl) FOwnerControl = nullptr;
}

void TcxCustomPopupWindow::SetFocusedControlOf(TWinControl*& AField, TWinControl* AValue) {
  if (AField == AValue) return;
  if (AField && AField != FOwnerControl) AField->RemoveFreeNotification(this);
  AField = AValue;
  if (AField) AField->FreeNotification(this);
}

bool TcxCustomPopupWindow::IsVisible() const {
  return GPopupVisibleController && GPopupVisibleController->IsVisible(this);
}

bool TcxCustomPopupWindow::JustClosed() {
  const bool result = FJustClosed;
  FJustClosed = false;
  return result;
}

bool TcxCustomPopupWindow::Focused() {
  if (!IsVisible() || !FCaptureFocus || !HandleAllocated()) return false;
  const HWND focus = GetFocus();
  return focus == Handle() || WindowsAreRelated(Handle(), focus);
}

bool TcxCustomPopupWindow::HasCapture() {
  return HandleAllocated() && GetCapture() && GetCapture() == Handle();
}

bool TcxCustomPopupWindow::IsShortCut(TMessage& Message) {
  if (inherited::IsShortCut(Message)) return true;
  TCustomForm* ownerForm = OwnerFormOf(this);
  return ownerForm && ownerForm->IsShortCut(Message);
}

bool TcxCustomPopupWindow::SetFocusedControl(TWinControl* AControl) {
  if (AControl && AControl->ComponentState().Contains(csDestroying)) return false;
  const TMessagesLock blocked({CM_ACTIVATE});
  return inherited::SetFocusedControl(AControl);
}

void TcxCustomPopupWindow::SetWindowEnabled(bool AEnable) {
  if (HandleAllocated()) EnableWindow(Handle(), AEnable);
}

bool TcxCustomPopupWindow::AcceptsSysKey(WORD AKey) { return (AKey >= VK_PRIOR && AKey <= VK_DOWN) || AKey == VK_F4; }

bool TcxCustomPopupWindow::ConsumesClosingClick(HWND, UINT, const TPoint&, TShiftState) { return false; }

void TcxCustomPopupWindow::ReopenAfterChange() {
  if (HandleAllocated()) RecreateWnd();
  if (IsVisible()) {
    CloseUp();
    PostMessageW(Handle(), CM_REPOPUP, 0, 0);
  }
}

void TcxCustomPopupWindow::SetCaptureFocus(bool AValue) {
  if (FCaptureFocus == AValue) return;
  FCaptureFocus = AValue;
  ReopenAfterChange();
}

void TcxCustomPopupWindow::SetIsTopMost(bool AValue) {
  if (FIsTopMost == AValue) return;
  FIsTopMost = AValue;
  ReopenAfterChange();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  // A capturing popup belongs to its owner's form, which the form's own
  // parameters turn into the window's owner.
  TCustomForm* ownerForm = OwnerFormOf(this);
  SetPopupParent(FCaptureFocus && ownerForm != this ? ownerForm : nullptr);
  inherited::CreateParams(Params);
  FSavedWndParent = Params.WndParent;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  if (FCaptureFocus) {
    Params.Style = (Params.Style & ~static_cast<DWORD>(WS_CHILD)) | WS_POPUP;
    if (FIsTopMost && (!ownerForm || IsTopMostWindow(ownerForm->Handle()))) Params.ExStyle |= WS_EX_TOPMOST;
  } else {
    Params.Style = (Params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD;
    Params.WndParent = GetDesktopWindow();
  }
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::CreateWindowHandle(const TCreateParams& Params) {
  // While its window is made, an unregistered popup counts as shown to the
  // hooks (the creation sends messages they look at).
  FCreatingWindow = true;
  TScopeExit created([this] { FCreatingWindow = false; });
  try {
    inherited::CreateWindowHandle(Params);
  } catch (const Exception&) {
    if (GetLastError() != ERROR_ACCESS_DENIED || Params.WndParent != GetDesktopWindow()) throw;
    TCreateParams retry = Params;
    retry.WndParent = FSavedWndParent;
    inherited::CreateWindowHandle(retry);
    SetParent(nullptr);
    ::SetParent(Handle(), GetDesktopWindow());
  }
}

void TcxCustomPopupWindow::PrepareShow() {
  if (FPrevActiveForm) FPrevActiveForm->RemoveFreeNotification(this);
  FPrevActiveForm = Screen() ? Screen()->ActiveForm() : nullptr;
  if (FPrevActiveForm) FPrevActiveForm->FreeNotification(this);
  SetFocusedControlOf(FPrevActiveControl, Screen() ? Screen()->ActiveControl() : nullptr);
  ScaleToOwner();
}

void TcxCustomPopupWindow::ScaleToOwner() {
  TdxScaleFactor* factor = nullptr;
  if (!FOwnerControl || !FOwnerControl->Parent() || !FindParentScaleFactor(FOwnerControl->Parent(), factor)) return;
  // A popup the user has sized keeps that size.
  const TRect bounds = BoundsRect();
  ForceScaleForPPI(ScaleFactorToDpi(factor), Adjustable() ? &bounds : nullptr);
}

void TcxCustomPopupWindow::CorrectBoundsWithDesktopWorkArea(TPoint& APosition, TSize& ASize) {
  if (!NeedsWorkAreaCorrection()) return;
  const TRect area = WorkAreaOfRect(OwnerScreenBounds());
  if (APosition.X < area.Left) {
    ASize.cx -= area.Left - APosition.X;
    APosition.X = area.Left;
  }
  if (APosition.Y < area.Top) {
    ASize.cy -= area.Top - APosition.Y;
    APosition.Y = area.Top;
  }
  ASize.cx = std::min(ASize.cx, area.Right - APosition.X);
  ASize.cy = std::min(ASize.cy, area.Bottom - APosition.Y);
}

void TcxCustomPopupWindow::Popup(TWinControl* AFocusedControl) {
  TcxPopupVisibleController* controller = cxPopupVisibleController();
  if (!controller || IsVisible() || !IsControlWindowVisible(FOwnerControl)) return;
  if (FShowWithoutActivation && controller->IsAnyVisible()) return;
  FIsPopup = true;
  PrepareShow();
  TakeOwnerFont();
  TSize size = CalculateSize();
  TPoint position = CalculatePosition(size);
  CorrectBoundsWithDesktopWorkArea(position, size);
  TControlTracker alive(this);
  {
    const TTransition transition;
    controller->Register(this);
    DoShowing();
    if (!alive.Alive()) return;
    HandleNeeded();
    SetBounds(position.X, position.Y, size.cx, size.cy);
    CalculateViewInfo();
    if (FShowWithoutActivation) SetVisible(true);
    else Show();
    if (!alive.Alive()) return;
    if (!FShowWithoutActivation) {
      TWinControl* focused = nullptr;
      if (FCaptureFocus) {
        if (AFocusedControl && AFocusedControl->CanFocus() && AFocusedControl->TabStop()) focused = AFocusedControl;
        else focused = FindNextControl(nullptr, true, true, false);
        if (!focused) focused = this;
      } else {
        focused = AFocusedControl;
      }
      SetFocusedControlOf(FFocusedControl, focused == this ? nullptr : focused);
      if (focused && focused->CanFocus()) focused->SetFocus();
      else if (CanFocus()) SetFocus();
    }
    HWND ownerForm = OwnerFormWindow(this);
    const HWND after = !FCaptureFocus || !ownerForm || IsTopMostWindow(ownerForm) ? HWND_TOPMOST : HWND_TOP;
    SetWindowPos(Handle(), after, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
  SetModalResult(mrNone);
  DoShowed();
  if (!alive.Alive() || !FCaptureFocus || !FModalMode) return;
  TApplication* app = Application();
  while (alive.Alive() && Visible() && app && !app->Terminated()) {
    MSG msg{};
    // A quit request stays queued for the loop that runs the program.
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) break;
    if (PeekMessageW(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_MENU || msg.wParam == VK_SPACE))
      PeekMessageW(&msg, msg.hwnd, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (ModalResult() != mrNone) {
      if (CloseQuery()) CloseOnModalResult();
      else SetModalResult(mrNone);
      continue;
    }
    app->HandleMessage();
  }
}

void TcxCustomPopupWindow::CloseUp() {
  TControlTracker alive(this);
  try {
    DoBeforeClosing();
  } catch (...) {
    HandleCallbackException(this);
  }
  if (!alive.Alive()) return;
  FIsPopup = false;
  if (!IsVisible()) return;
  TCustomForm* ownerForm = OwnerFormOf(this);
  {
    const TMessagesLock blocked({CM_ACTIVATE});
    if (GPopupVisibleController) GPopupVisibleController->UnRegister(this);
    DoClosing();
    if (!alive.Alive()) return;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    Hide();
    if (!FShowWithoutActivation) ReturnFocus();
    if (!alive.Alive()) return;
    DoClosed();
    if (!alive.Alive()) return;
    const HWND capture = GetCapture();
    if (capture && HandleAllocated() && (capture == Handle() || WindowsAreRelated(Handle(), capture)))
      ReleaseCapture();
  }
  if (GPopupVisibleController && !GPopupVisibleController->IsAnyVisible() && ownerForm &&
      ownerForm->HandleAllocated() && (!Screen() || Screen()->ActiveForm() != ownerForm))
    SendMessageW(ownerForm->Handle(), WM_NCACTIVATE, FALSE, 0);
}

void TcxCustomPopupWindow::ReturnFocus() {
  if (!FPrevActiveForm || !Screen() || FPrevActiveForm->ActiveControl() == Screen()->ActiveControl()) return;
  if (FPrevActiveControl && FPrevActiveControl->HandleAllocated() && FPrevActiveControl->CanFocus())
    FPrevActiveForm->FocusControl(FPrevActiveControl);
  else if (FPrevActiveForm->CanFocus())
    FPrevActiveForm->SetFocus();
}

void TcxCustomPopupWindow::ClosePopup() {
  if (HandleAllocated()) PostMessageW(Handle(), CM_CLOSEPOPUP, 0, 0);
}

void TcxCustomPopupWindow::CMClosePopup(TMessage&) {
  {
    const TMessagesLock blocked({CM_ENTER});
    LockDeactivate(true);
    TScopeExit unlock([this] { LockDeactivate(false); });
    CloseUp();
  }
  if (FOwnerControl && FOwnerControl->HandleAllocated()) SendMessageW(FOwnerControl->Handle(), WM_SETFOCUS, 0, 0);
}

void TcxCustomPopupWindow::CMRepopup(TMessage&) { Popup(FFocusedControl); }

void TcxCustomPopupWindow::Deactivate() {
  FDeactivation = false;
  TCustomForm::Deactivate();
  if (FDeactivateLockCount > 0 || !GPopupVisibleController) return;
  std::vector<TcxCustomPopupWindow*> items = ShownPopups();
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    TcxCustomPopupWindow* popup = *it;
    if (!IsShown(popup)) continue;
    if (popup->HandleAllocated() && GetActiveWindow() == popup->Handle()) return;
    if (popup->HandleAllocated() && IsWindowEnabled(popup->Handle()) && popup->FDeactivateLockCount == 0)
      popup->CloseUp();
  }
  if (IsVisible()) CloseUp();
}

void TcxCustomPopupWindow::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && IsVisible() && HasCapture()) {
    ReleaseCapture();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::CalculateViewInfo() {
  TcxContainerViewInfo& v = *FViewInfo;
  v.UpdateStyle(FStyle.get());
  v.Bounds = TRect(0, 0, Width(), Height());
  v.BorderStyle = FStyle->BorderStyle();
  v.BorderWidth = BorderStyleToWidth(v.BorderStyle);
  v.Edges = FStyle->Edges();
  v.BorderColor = v.CalculateBorderColor(FStyle.get(), Enabled(), false, nullptr);
  v.SetBackgroundColor(v.CalculateBackgroundColor(FStyle.get(), Enabled(), nullptr));
  TRect inner = v.Bounds;
  if (v.Edges.Contains(bLeft)) inner.Left += v.BorderWidth;
  if (v.Edges.Contains(bTop)) inner.Top += v.BorderWidth;
  if (v.Edges.Contains(bRight)) inner.Right -= v.BorderWidth;
  if (v.Edges.Contains(bBottom)) inner.Bottom -= v.BorderWidth;
  v.BorderRect = inner;
  v.ClientRect = inner;
  v.SetCalculated(true);
}

TRect TcxCustomPopupWindow::GetClientBounds() {
  if (!FViewInfo || !FViewInfo->Calculated()) return inherited::GetClientBounds();
  return FViewInfo->ClientRect;
}

void TcxCustomPopupWindow::PaintWindow(HDC DC) {
  if (!FViewInfo->Calculated()) CalculateViewInfo();
  const TcxPaintCanvasScope paint(DC);
  FViewInfo->Paint(paint.Canvas());
}

// The view info draws the frame with the window.
void TcxCustomPopupWindow::DrawFrame(HDC) {}

void TcxCustomPopupWindow::VisibleChangedHook() {
  if (!FCaptureFocus || !HandleAllocated() || IsWindowVisible(Handle()) || !FOwnerControl) return;
  TCustomForm* ownerForm = OwnerFormOf(this);
  if (ownerForm && ownerForm->HandleAllocated() && GetFocus() == ownerForm->Handle() && FOwnerControl->CanFocus() &&
      !ownerForm->ComponentState().Contains(csDesigning))
    FOwnerControl->SetFocus();
}

void TcxCustomPopupWindow::WMActivate(TMessage& Message) {
  if (FIsPopup || LOWORD(Message.WParam) == WA_INACTIVE) InheritedMessage<TcxCustomPopupWindow>(Message);
}

void TcxCustomPopupWindow::WMActivateApp(TMessage&) {}

void TcxCustomPopupWindow::WMEraseBkgnd(TMessage& Message) {
  if (ErasesBackground()) InheritedMessage<TcxCustomPopupWindow>(Message);
  else Message.Result = 1;
}

void TcxCustomPopupWindow::WMWindowPosChanging(TMessage& Message) {
  if (!FIsPopup) reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
  InheritedMessage<TcxCustomPopupWindow>(Message);
}

void TcxCustomPopupWindow::CMRecreateWnd(TMessage& Message) {
  if (IsDestroying()) Message.Result = 1;
  else InheritedMessage<TcxCustomPopupWindow>(Message);
}

void TcxCustomPopupWindow::CMShowingChanged(TMessage& Message) {
  if (!FShowWithoutActivation || !Showing()) {
    InheritedMessage<TcxCustomPopupWindow>(Message);
    return;
  }
  TControlTracker alive(this);
  try {
    DoShow();
  } catch (...) {
    HandleCallbackException(this);
  }
  if (alive.Alive()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

// ---------------------------------------------------------------------------
// The thread hooks

struct TcxPopupHooks {
  static bool AnyShown() { return GPopupVisibleController && GPopupVisibleController->IsAnyVisible(); }

  static TcxCustomPopupWindow* PopupOfWindow(HWND AWnd) {
    for (TcxCustomPopupWindow* p : ShownPopups())
      if (p->HandleAllocated() && p->Handle() == AWnd) return p;
    return nullptr;
  }

  // Closes the popup and every popup shown after it, newest first.
  static void CloseFrom(TcxCustomPopupWindow* AOldest) {
    while (IsShown(AOldest)) {
      TcxCustomPopupWindow* newest = ShownPopups().back();
      newest->CloseUp();
      if (IsShown(newest) && GPopupVisibleController) GPopupVisibleController->UnRegister(newest);
    }
  }

  static void CallWndProc(int ACode, WPARAM, LPARAM ALParam, LRESULT&) {
    if (ACode != HC_ACTION) return;
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(ALParam);
    TdxMessagesController* messages = MessagesController();
    if (messages && messages->IsMessageLocked(cwp->message) && !messages->IsBlocked()) {
      messages->BlockLockedMessage(cwp->hwnd, cwp->message);
      return;
    }
    if (cwp->message == WM_SETFOCUS || cwp->message == WM_KILLFOCUS) HandOverFocus(*cwp);
    if (!AnyShown()) return;
    switch (cwp->message) {
      case WM_NCACTIVATE:
        if (cwp->wParam == 0 && messages && !messages->IsBlocked() && (GPopupTransition || IsOwnerForm(cwp->hwnd)))
          messages->BlockMessage(cwp->hwnd);
        break;
      case WM_GESTURE:
      case WM_POINTERACTIVATE:
        GPopupVisibleController->CloseUnRelated(cwp->hwnd);
        break;
      case WM_DESTROY:
        if (TcxCustomPopupWindow* popup = PopupOfWindow(cwp->hwnd)) {
          TControlTracker alive(popup);
          popup->CloseUp();
          if (alive.Alive() && !popup->Visible() && !popup->IsDestroying() && popup->TerminateOnDestroy() &&
              Application())
            Application()->Terminate();
        }
        break;
      case WM_CLOSE:
        HookClose(cwp->hwnd);
        break;
      case WM_SHOWWINDOW:
        if (!cwp->wParam) {
          for (TcxCustomPopupWindow* p : ShownPopups())
            if (p->HandleAllocated() && (p->Handle() == cwp->hwnd || WindowsAreRelated(cwp->hwnd, p->Handle()))) {
              CloseFrom(p);
              break;
            }
        }
        break;
      case WM_ACTIVATEAPP:
        if (!cwp->wParam) ApplicationDeactivated();
        break;
      case WM_WINDOWPOSCHANGED:
        for (bool again = true; again;) {
          again = false;
          for (TcxCustomPopupWindow* p : ShownPopups()) {
            TWinControl* owner = p->OwnerControl();
            if (owner && owner->HandleAllocated() && owner->Handle() == cwp->hwnd && !IsControlWindowVisible(owner)) {
              p->CloseUp();
              again = true;
              break;
            }
          }
        }
        break;
      default:
        break;
    }
  }

  // The focus moves between a form and a form embedded in it: the library
  // control whose window gains it hears CM_ENTER, the one losing it CM_EXIT.
  static void HandOverFocus(const CWPSTRUCT& ACwp) {
    TdxMessagesController* messages = MessagesController();
    if (messages && (messages->IsMessageLocked(CM_ENTER) || messages->IsMessageLocked(CM_EXIT))) return;
    auto* target = dynamic_cast<TcxControl*>(FindControl(ACwp.hwnd));
    TControl* other = FindControl(reinterpret_cast<HWND>(ACwp.wParam));
    TCustomForm* targetForm = target ? GetParentForm(target) : nullptr;
    TCustomForm* otherForm = other ? GetParentForm(other) : nullptr;
    if (!targetForm || !otherForm || targetForm == otherForm || !targetForm->HandleAllocated() ||
        !otherForm->HandleAllocated())
      return;
    TCustomForm* inner = IsChild(targetForm->Handle(), otherForm->Handle())   ? otherForm
                         : IsChild(otherForm->Handle(), targetForm->Handle()) ? targetForm
                                                                              : nullptr;
    if (!inner || !Supports<IdxEmbeddedForm>(inner)) return;
    // A form whose focus moves to a new control announces the entry itself
    // when the message reaches the window; only a return is left to us.
    if (ACwp.message == WM_SETFOCUS && targetForm->FocusedControl() != target) return;
    target->Perform(ACwp.message == WM_SETFOCUS ? CM_ENTER : CM_EXIT, 0, 0);
  }

  static bool IsOwnerForm(HWND AWnd) {
    for (TcxCustomPopupWindow* p : ShownPopups())
      if (OwnerFormWindow(p) == AWnd) return true;
    return false;
  }

  static void HookClose(HWND AWnd) {
    for (TcxCustomPopupWindow* p : ShownPopups()) {
      if (p->CaptureFocus() && p->HandleAllocated() && p->Handle() == AWnd) {
        const HWND top = p->OwnerControl() && p->OwnerControl()->HandleAllocated()
                             ? FirstTopLevelWindowOf(p->OwnerControl()->Handle())
                             : nullptr;
        TControlTracker alive(p);
        if (p->CloseQuery()) p->CloseUp();
        if (alive.Alive() && !p->Visible() && top) PostMessageW(top, WM_CLOSE, 0, 0);
        return;
      }
      if (!p->CaptureFocus() && OwnerFormWindow(p) == AWnd) {
        p->CloseUp();
        return;
      }
    }
  }

  static void ApplicationDeactivated() {
    for (;;) {
      TcxCustomPopupWindow* closing = nullptr;
      for (TcxCustomPopupWindow* p : ShownPopups()) {
        if (const HWND form = OwnerFormWindow(p)) PostMessageW(form, WM_NCACTIVATE, FALSE, 0);
        if (!closing && !(p->CaptureFocus() && p->Active()) && p->HandleAllocated() && IsWindowEnabled(p->Handle()))
          closing = p;
      }
      if (!closing) return;
      // The owner drew itself focused while its list was open; it repaints
      // as the now inactive application sees it.
      auto* const container = dynamic_cast<TcxContainer*>(closing->OwnerControl());
      TControlTracker containerAlive(container);
      closing->CloseUp();
      if (IsShown(closing) && GPopupVisibleController) GPopupVisibleController->UnRegister(closing);
      if (container && containerAlive.Alive()) container->FocusChanged();
    }
  }

  static void GetMessage(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT&) {
    if (ACode != HC_ACTION || AWParam != PM_REMOVE || !AnyShown()) return;
    auto* msg = reinterpret_cast<MSG*>(ALParam);
    if (msg->message != WM_SYSKEYDOWN) return;
    TcxCustomPopupWindow* newest = ShownPopups().back();
    if ((newest->CaptureFocus() && newest->ModalMode()) || newest->AcceptsSysKey(static_cast<WORD>(msg->wParam)))
      return;
    msg->message = WM_NULL;
  }

  static void Mouse(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
    if (ACode != HC_ACTION || !AnyShown() || !IsButtonDownMessage(static_cast<UINT>(AWParam))) return;
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(ALParam);
    if (OutsideClick(info->hwnd, static_cast<UINT>(AWParam), TPoint(info->pt))) AResult = 1;
  }

  // Whether the click is consumed.
  static bool OutsideClick(HWND W, UINT M, const TPoint& P) {
    bool consumed = false;
    const TShiftState shift = KeysToShiftState(static_cast<WORD>(GetAsyncMouseKeys()));
    for (bool restart = true; restart;) {
      restart = false;
      for (TcxCustomPopupWindow* p : ShownPopups()) {
        if ((p->CaptureFocus() && !p->Active()) || IsControlHandle(p, W, true)) continue;
        TCustomForm* ownerForm = OwnerFormOf(p);
        const HWND formWnd = ownerForm && ownerForm->HandleAllocated() ? ownerForm->Handle() : nullptr;
        auto* ownerPopup = dynamic_cast<TcxCustomPopupWindow*>(ownerForm);
        const bool inOwnerForm =
            formWnd && (W == formWnd || WindowsAreRelated(formWnd, W) ||
                        IsSameOrChildWindow(FirstTopLevelWindowOf(formWnd), W));
        if (!inOwnerForm && !(ownerPopup && !ownerPopup->Visible())) continue;
        TWinControl* owner = p->OwnerControl();
        TRect ownerBounds;
        if (owner && owner->HandleAllocated()) GetWindowRect(owner->Handle(), ownerBounds.WinRect());
        const bool onOwner = IsControlHandle(owner, W, true) && (M == WM_LBUTTONDOWN || M == WM_LBUTTONDBLCLK) &&
                             ownerBounds.Contains(P);
        if (onOwner && p->ConsumesClosingClick(W, M, P, shift)) p->FJustClosed = true;
        {
          const TTransition transition;
          TControlTracker alive(p);
          p->LockDeactivate(true);
          TScopeExit unlock([&] {
            if (alive.Alive()) p->LockDeactivate(false);
          });
          p->CloseUp();
          if (!onOwner && alive.Alive() && p->ConsumesClosingClick(W, M, P, shift)) consumed = true;
        }
        if (onOwner && owner && (owner->ComponentState().Contains(csDestroying) || !IsControlWindowVisible(owner)))
          consumed = true;
        if (IsShown(p) && GPopupVisibleController) GPopupVisibleController->UnRegister(p);
        restart = true;
        break;
      }
    }
    return consumed;
  }
};

void cxContainerPopupInitialization() {
  SetSystemHook(htWndProc, &TcxPopupHooks::CallWndProc);
  SetSystemHook(htGetMessage, &TcxPopupHooks::GetMessage);
  SetSystemHook(htMouse, &TcxPopupHooks::Mouse);
}

void cxContainerPopupFinalization() {
  ReleaseSystemHook(&TcxPopupHooks::Mouse);
  ReleaseSystemHook(&TcxPopupHooks::GetMessage);
  ReleaseSystemHook(&TcxPopupHooks::CallWndProc);
  FreeAndNil(GPopupVisibleController);
  GPopupVisibleControllerFinalized = true;
}
