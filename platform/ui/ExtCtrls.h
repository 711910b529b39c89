// Extended controls: the timer component.
//
// Classes in this file:
//   TTimer    calls OnTimer every Interval milliseconds on the UI thread
//
// All timers of the thread share one hidden window (WindowAllocation.h),
// made with the first timer and freed with the last. Each start of a timer
// gives it a fresh Windows timer id, and only ids of running timers are
// served, so a WM_TIMER that was already queued when its timer stopped,
// restarted or was freed calls nothing.
#pragma once

#include "platform/classes/Component.h"

#include <cstdint>

class TTimer : public TComponent {
  SK_CLASS(TTimer, TComponent)
 public:
  static void Publish(TPublisher<TTimer>& P);

  // Construction and destruction
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Properties. Every change stops the timer and starts it again (the
  // interval counts anew) when it is enabled, has an interval above 0 and an
  // OnTimer handler.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned AValue);
  TNotifyEvent OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent AValue);

  // Whether a Windows timer runs for this component now.
  bool Running() const { return FTimerId != 0; }

 protected:
  // Calls OnTimer. The handler may free the timer.
  virtual void Timer();

 private:
  friend class TTimerWindow;
  void UpdateTimer();
  void StopTimer();

  bool FEnabled;
  unsigned FInterval;
  TNotifyEvent FOnTimer;
  UINT_PTR FTimerId;  // 0 while not running
};

// Unit start-up: registers the classes by name.
void ExtCtrlsInitialization();
