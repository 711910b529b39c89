#include "platform/ui/ExtCtrls.h"

#include "platform/ui/WindowAllocation.h"

#include <unordered_map>
#include <unordered_set>

// The shared timer window receives the WM_TIMER of every running timer. It is
// an object only so that AllocateHWnd has a method to call; its state lives
// apart from it, because the last timer may free the window while its method
// still runs.
class TTimerWindow : public TObject {
  SK_CLASS(TTimerWindow, TObject)
 public:
  // Timers need no broadcasts: a message-only window, the cheaper kind.
  void Create() { FWnd = AllocateHWnd(BindEvent<&TTimerWindow::WndProc>(this), true); }
  void Destroy() override {
    DeallocateHWnd(FWnd);
    inherited::Destroy();
  }
  HWND Handle() const { return FWnd; }

 private:
  void WndProc(TMessage& Message);
  HWND FWnd;
};

namespace {

// Timers belong to the thread that made them; each thread has its own window.
struct TTimerThreadState {
  TTimerWindow* Window = nullptr;
  std::unordered_set<TTimer*> Timers;                // alive on this thread
  std::unordered_map<UINT_PTR, TTimer*> Running;     // Windows timer id -> timer
  UINT_PTR LastId = 0;
};

thread_local TTimerThreadState GTimers;

UINT_PTR NextTimerId() {
  do ++GTimers.LastId; while (GTimers.LastId == 0 || GTimers.Running.contains(GTimers.LastId));
  return GTimers.LastId;
}

}  // namespace

void TTimerWindow::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProcW(FWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  const auto found = GTimers.Running.find(static_cast<UINT_PTR>(Message.WParam));
  if (found == GTimers.Running.end()) return;  // stopped or freed since the message was queued
  TTimer* timer = found->second;
  // The handler may free the timer and, with the last timer, this window:
  // nothing of this object is touched afterwards.
  try {
    timer->Timer();
  } catch (...) {
    HandleCallbackException(GTimers.Timers.contains(timer) ? timer : nullptr);
  }
}

// ---------------------------------------------------------------------------
// TTimer

void TTimer::Publish(TPublisher<TTimer>& P) {
  P.Property(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  P.Property(L"Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
  P.Property(L"OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

void TTimer::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FEnabled = true;
  FInterval = 1000;
  if (!GTimers.Window) GTimers.Window = New<TTimerWindow>();
  GTimers.Timers.insert(this);
}

void TTimer::Destroy() {
  FEnabled = false;
  StopTimer();
  // A half-built timer never entered the set and must not free the window.
  if (GTimers.Timers.erase(this) && GTimers.Timers.empty()) FreeAndNil(GTimers.Window);
  inherited::Destroy();
}

void TTimer::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned AValue) {
  if (FInterval == AValue) return;
  FInterval = AValue;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent AValue) {
  FOnTimer = AValue;
  UpdateTimer();
}

void TTimer::Timer() { CallEvent(FOnTimer, this); }

void TTimer::StopTimer() {
  if (!FTimerId) return;
  GTimers.Running.erase(FTimerId);
  if (GTimers.Window) KillTimer(GTimers.Window->Handle(), FTimerId);
  FTimerId = 0;
}

void TTimer::UpdateTimer() {
  StopTimer();
  if (!FEnabled || FInterval == 0 || !FOnTimer || !GTimers.Window) return;
  const UINT_PTR id = NextTimerId();
  if (!SetTimer(GTimers.Window->Handle(), id, FInterval, nullptr))
    throw EOutOfResources(L"Nicht genügend Timer verfügbar (Fehler %d)",
                          {static_cast<unsigned long>(GetLastError())});
  FTimerId = id;
  GTimers.Running.emplace(id, this);
}

// ---------------------------------------------------------------------------
// Unit start-up

void ExtCtrlsInitialization() { RegisterClasses({TTimer::ClassInfo()}); }
