// The touch scroll UI's activity check and its process-wide manager.

#include "library/controls/scrollbars/dxTouchScrollUI.h"

#include "platform/ui/Forms.h"

#include <windowsx.h>

#include <cstdlib>

// ---------------------------------------------------------------------------
// TdxTouchScrollUIActivityHelper

bool TdxTouchScrollUIActivityHelper::CheckScrollActivity(TWinControl* AControl, const TMessage& Message,
                                                         const std::function<bool(const TPoint&)>& AOnScrollBarArea) {
  if (Message.Msg == CM_MOUSELEAVE) {
    FMouseEnter = false;
    return false;
  }
  if (Message.Msg != WM_MOUSEMOVE || !AControl) return false;
  const TPoint p(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  if (AOnScrollBarArea && AOnScrollBarArea(p)) return true;
  if (!FMouseEnter) {
    FMouseEnter = true;
    FLastMousePos = p;
    return false;
  }
  if (std::abs(p.X - FLastMousePos.X) < JitterDistance && std::abs(p.Y - FLastMousePos.Y) < JitterDistance)
    return false;
  FLastMousePos = p;
  return true;
}

// ---------------------------------------------------------------------------
// TdxTouchScrollUIModeManager

namespace {

// The manager's state; an object so that its timer can call it.
class TTouchScrollUIState : public TObject {
  SK_CLASS(TTouchScrollUIState, TObject)
 public:
  void Destroy() override {
    FreeAndNil(HideTimer);
    inherited::Destroy();
  }
  void HideTimerTick(TObject*);

  IdxTouchScrollUIOwner* ActiveOwner;
  bool Visible;
  int ShowCount;
  bool Locked;
  TcxTimer* HideTimer;  // owned
};

TTouchScrollUIState* GStatePtr = nullptr;

TTouchScrollUIState& State() {
  if (!GStatePtr) GStatePtr = New<TTouchScrollUIState>();
  return *GStatePtr;
}

bool IsControlShown(IdxTouchScrollUIOwner* AOwner) {
  TWinControl* control = AOwner->GetOwnerControl();
  return control && control->HandleAllocated() && IsWindowVisible(control->Handle());
}

void HideAtOnce() {
  State().Locked = false;
  if (State().HideTimer) State().HideTimer->SetEnabled(false);
  State().Visible = false;
  State().ShowCount = 0;
  if (State().ActiveOwner) State().ActiveOwner->HideScrollUI();
}

void TTouchScrollUIState::HideTimerTick(TObject*) {
  HideTimer->SetEnabled(false);
  HideAtOnce();
}

void Release() {
  if (State().ShowCount > 0) --State().ShowCount;
  if (State().ShowCount > 0 || !State().Visible) return;
  if (!State().HideTimer) {
    State().HideTimer = CreateTimer(TdxTouchScrollUIModeManager::HideInterval, false,
                                   BindEvent<&TTouchScrollUIState::HideTimerTick>(&State()));
  }
  State().HideTimer->SetEnabled(true);
}

// AWnd is the control's window or one of its ancestors (AOwnWindow: the
// window itself counts).
bool ControlIsIn(IdxTouchScrollUIOwner* AOwner, HWND AWnd, bool AOwnWindow, bool AAncestors) {
  TWinControl* control = AOwner->GetOwnerControl();
  if (!control || !control->HandleAllocated()) return false;
  const HWND wnd = control->Handle();
  if (AOwnWindow && wnd == AWnd) return true;
  return AAncestors && IsChild(AWnd, wnd);
}

}  // namespace

void TdxTouchScrollUIModeManager::ShowScrollUI(IdxTouchScrollUIOwner* AOwner, bool AControlledByTimer) {
  if (!AOwner) return;
  if (State().Locked && AOwner != State().ActiveOwner) return;
  if (!IsControlShown(AOwner)) return;
  if (AOwner != State().ActiveOwner) {
    if (State().ActiveOwner) HideAtOnce();
    State().ShowCount = 0;
    State().Visible = false;
    State().ActiveOwner = AOwner;
  }
  if (State().HideTimer) State().HideTimer->SetEnabled(false);
  ++State().ShowCount;
  if (!State().Visible) {
    State().Visible = true;
    AOwner->ShowScrollUI();
  }
  if (AControlledByTimer) Release();
}

void TdxTouchScrollUIModeManager::HideScrollUI(IdxTouchScrollUIOwner* AOwner, bool AImmediately) {
  if (!AOwner || AOwner != State().ActiveOwner) return;
  if (AImmediately) HideAtOnce();
  else Release();
}

void TdxTouchScrollUIModeManager::HideActive() { HideAtOnce(); }

bool TdxTouchScrollUIModeManager::IsScrollUIHidden(IdxTouchScrollUIOwner* AOwner) {
  return !(State().Visible && AOwner && AOwner == State().ActiveOwner);
}

void TdxTouchScrollUIModeManager::Deactivate(IdxTouchScrollUIOwner* AOwner) {
  if (!AOwner || AOwner != State().ActiveOwner) return;
  State().ActiveOwner = nullptr;
  State().Visible = false;
  State().ShowCount = 0;
  State().Locked = false;
  if (State().HideTimer) State().HideTimer->SetEnabled(false);
}

void TdxTouchScrollUIModeManager::WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors) {
  IdxTouchScrollUIOwner* owner = State().ActiveOwner;
  if (!owner || !State().Visible) return;
  const bool mainForm = Application() && Application()->MainForm() && Application()->MainForm()->HandleAllocated() &&
                        Application()->MainForm()->Handle() == AWnd;
  if (ControlIsIn(owner, AWnd, AOwnWindow, AAncestors) || mainForm) owner->ShowScrollUI();
}

void TdxTouchScrollUIModeManager::WindowHidden(HWND AWnd) {
  if (State().ActiveOwner && ControlIsIn(State().ActiveOwner, AWnd, true, true)) HideAtOnce();
}

void TdxTouchScrollUIModeManager::Lock() { State().Locked = true; }

void TdxTouchScrollUIModeManager::Unlock() { State().Locked = false; }

IdxTouchScrollUIOwner* TdxTouchScrollUIModeManager::ActiveOwner() { return State().ActiveOwner; }

bool TdxTouchScrollUIModeManager::Visible() { return State().Visible; }

TcxTimer* TdxTouchScrollUIModeManager::HideTimer() { return State().HideTimer; }

void dxTouchScrollUIFinalization() { FreeAndNil(GStatePtr); }
