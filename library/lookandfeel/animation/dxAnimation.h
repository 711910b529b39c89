// Timed animation: transitions that move an integer position from 0 to a
// length along an easing curve, driven by one process-wide controller, and
// the high-resolution clock they run on.
//
// Classes in this file:
//   TdxAnimationTransitionEffect, TdxAnimationTransitionEffectMode
//   TdxAnimationEvent, TdxAnimationTransitionEffectProc
//   TdxAnimationTransition    one position moving over a time
//   IdxAnimationListener      hears each controller tick and each transition freed
//   TdxAnimationController    owns the transitions and ticks them every millisecond
//   TdxPerformanceCounter     the clock's two system calls (replaceable by tests)
//
// Everything runs on the UI thread. Handlers may pump messages (a nested
// tick or step is refused), finish, terminate or free their own transition,
// or free others: the code that called them checks that a transition still
// exists before it touches it again.
//
// The controller's timer runs only while some transition is active: resumed,
// not suspended and not finished. A transition counts once however often it
// is resumed, and stops counting when it finishes, is suspended as finished
// or is freed.
#pragma once

#include "library/core/base/cxClasses.h"
#include "platform/runtime/System.h"
#include "platform/runtime/WinApi.h"

#include <cstdint>
#include <vector>

class TdxAnimationController;
class TdxAnimationTransition;

enum TdxAnimationTransitionEffect {
  ateLinear,
  ateAccelerateDecelerate,
  ateCubic,
  ateTanh,
  ateBack,
  ateBounce,
  ateCircle,
  ateElastic,
  ateExponential,
  ateSine,
  ateQuadratic,
  ateQuartic,
  ateCustom
};

enum TdxAnimationTransitionEffectMode { atmIn, atmOut, atmInOut };

// A handler may change AFinished to end the transition (or to restart it).
using TdxAnimationEvent = Delegate<void(TdxAnimationTransition* Sender, int& APosition, bool& AFinished)>;
// The position for ALength after AElapsed of ATotal counter ticks.
using TdxAnimationTransitionEffectProc = int (*)(TdxAnimationTransition* Sender, int ALength, std::int64_t ATotal,
                                                 std::int64_t AElapsed);

// ---------------------------------------------------------------------------
// Transition

class TdxAnimationTransition : public TObject {
  SK_CLASS(TdxAnimationTransition, TObject)
 public:
  // Created suspended (Resume starts it) and freed when it terminates.
  virtual void Create(unsigned ATime, TdxAnimationTransitionEffect ATransitionEffect, int ALength = 0,
                      TdxAnimationTransitionEffectMode ATransitionEffectMode = atmIn);
  // Adds the whole transition to the controller (created on first use).
  void AfterConstruction() override;
  // Leaves the controller and frees Info.
  void Destroy() override;

  // Releases one suspension; the last one starts the clock (a resume keeps
  // the time already run).
  void Resume();
  // Adds a suspension; the first one with AFinished ends the transition.
  void Suspend(bool AFinished = false);
  // Finishes (one final step), then frees the transition when FreeOnTerminate.
  void Terminate();
  // Runs every step at once, busy, until finished; then frees the transition
  // when FreeOnTerminate.
  void ImmediateAnimation();

  TdxAnimationTransitionEffect TransitionEffect() const { return FTransitionEffect; }
  TdxAnimationTransitionEffectMode TransitionEffectMode() const { return FTransitionEffectMode; }
  TdxAnimationTransitionEffectProc TransitionEffectProc() const { return FTransitionEffectProc; }
  void SetTransitionEffectProc(TdxAnimationTransitionEffectProc AValue) { FTransitionEffectProc = AValue; }
  int Length() const { return FLength; }
  int Position() const { return FPosition; }
  unsigned Time() const { return FTime; }
  bool Finished() const { return FFinished; }
  // True runs the final step; false restarts the clock and runs a step.
  // Inside a step (from a handler) a finish turns the rest of that step into
  // the final one.
  void SetFinished(bool AValue);
  bool Suspended() const { return FLockCount > 0; }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool AValue) { FFreeOnTerminate = AValue; }
  // The caller's object; the transition owns it.
  TObject* Info() const { return FInfo.get(); }
  void SetInfo(TObject* AValue) { FInfo.reset(AValue); }
  // A step of the current controller tick changed the position.
  bool PositionChanged() const { return FPositionChanged; }

  TdxAnimationEvent OnAfterAnimate() const { return FOnAfterAnimate; }
  void SetOnAfterAnimate(TdxAnimationEvent AValue) { FOnAfterAnimate = AValue; }
  TdxAnimationEvent OnAnimate() const { return FOnAnimate; }
  void SetOnAnimate(TdxAnimationEvent AValue) { FOnAnimate = AValue; }
  TdxAnimationEvent OnBeforeAnimate() const { return FOnBeforeAnimate; }
  void SetOnBeforeAnimate(TdxAnimationEvent AValue) { FOnBeforeAnimate = AValue; }
  TNotifyEvent OnTerminate() const { return FOnTerminate; }
  void SetOnTerminate(TNotifyEvent AValue) { FOnTerminate = AValue; }

  // Tells whether the transition is still alive after a call that may free
  // it (a handler).
  class TTracker {
   public:
    explicit TTracker(TdxAnimationTransition* ATransition);
    ~TTracker();
    TTracker(const TTracker&) = delete;
    TTracker& operator=(const TTracker&) = delete;
    bool Alive() const { return FTransition != nullptr; }

   private:
    friend class TdxAnimationTransition;
    TdxAnimationTransition* FTransition;
    TTracker* FNext;
  };

 protected:
  virtual void SelectTransitionEffectProc();
  // Whether this transition may go on beside ANewTransition; the controller
  // finishes it when not. True in the base.
  virtual bool IsCompatibleWith(TdxAnimationTransition* ANewTransition);
  virtual void DoAfterAnimate();
  virtual void DoAnimate();
  virtual void DoBeforeAnimate();
  virtual void RefreshAnimatedObject() {}

 private:
  friend class TdxAnimationController;

  // One step; false when a handler freed the transition.
  bool Animate();
  // Calls an event with the position and the finished flag; false when a
  // handler freed the transition.
  bool CallAnimationEvent(const TdxAnimationEvent& AEvent, bool& AFinished);
  void InitializeTime();
  // Counts the transition with the controller exactly while it is resumed
  // and not finished.
  void UpdateActive();
  void SetActive(bool AValue);

  bool FIsAnimate;
  std::int64_t FCurrent;
  std::int64_t FFinish;
  bool FFinished;
  bool FFreeOnTerminate;
  int FLength;
  int FLockCount;
  int FPosition;
  bool FPositionChanged;
  std::int64_t FStart;
  unsigned FTime;
  TdxAnimationTransitionEffect FTransitionEffect;
  TdxAnimationTransitionEffectProc FTransitionEffectProc;
  TdxAnimationTransitionEffectMode FTransitionEffectMode;
  TdxAnimationEvent FOnAfterAnimate;
  TdxAnimationEvent FOnAnimate;
  TdxAnimationEvent FOnBeforeAnimate;
  TNotifyEvent FOnTerminate;
  TOwned<TObject> FInfo;
  // Counted in the controller's active animations.
  bool FActive;
  TTracker* FTrackers;
};

// ---------------------------------------------------------------------------
// Controller

struct IdxAnimationListener : public virtual IInterface {
  static constexpr GUID IID = {0x6A1E3F52, 0x0C4B, 0x4D77, {0x9E, 0x21, 0x58, 0x3B, 0xA4, 0x7D, 0x10, 0xC6}};
  virtual void AfterAnimationStep(TdxAnimationController* AController) = 0;
  virtual void BeforeAnimationStep(TdxAnimationController* AController) = 0;
  virtual void AnimationDestroyed(TdxAnimationTransition* AAnimation) = 0;

 protected:
  ~IdxAnimationListener() = default;
};

class TdxAnimationController : public TObject {
  SK_CLASS(TdxAnimationController, TObject)
 public:
  // The timer: 1 ms, disabled.
  virtual void Create();
  // Frees every transition still held.
  void Destroy() override;

  // Finishes every transition that is not compatible with AAnimation, then
  // holds (and owns) it.
  void Add(TdxAnimationTransition* AAnimation);
  // Tells the listeners, then lets go of AAnimation without freeing it.
  void Remove(TdxAnimationTransition* AAnimation);
  // Once per listener.
  void AddListener(IdxAnimationListener* AListener);
  void RemoveListener(IdxAnimationListener* AListener);
  // Runs a tick now.
  void Update() { DoTimer(nullptr); }

  int Count() const { return static_cast<int>(FAnimations.size()); }
  TdxAnimationTransition* Items(int AIndex) const { return FAnimations.at(static_cast<std::size_t>(AIndex)); }
  bool Contains(TdxAnimationTransition* AAnimation) const;
  // Transitions resumed and not finished; the timer runs while it is above 0.
  int ActiveAnimations() const { return FActiveAnimations; }
  bool TimerEnabled() const;

 protected:
  // One tick (nothing when already inside one).
  virtual void DoTimer(TObject* Sender);

 private:
  friend class TdxAnimationTransition;
  void ChangeActiveAnimations(int ADelta);

  std::vector<TdxAnimationTransition*> FAnimations;  // owned
  int FActiveAnimations;
  std::vector<IPtr<IdxAnimationListener>> FListenerList;
  TOwned<TcxTimer> FTimer;
  bool FTimerHandling;
};

// The controller, created on first use; nil once the unit's shut-down has begun.
TdxAnimationController* dxAnimationController();

// ---------------------------------------------------------------------------
// Clock

// The two system calls the clock reads. Tests put their own counter in and
// the original back.
struct TdxPerformanceCounter {
  BOOL(WINAPI* Counter)(LARGE_INTEGER*) = &::QueryPerformanceCounter;
  BOOL(WINAPI* Frequency)(LARGE_INTEGER*) = &::QueryPerformanceFrequency;
};
const TdxPerformanceCounter& dxPerformanceCounter();
void dxSetPerformanceCounter(const TdxPerformanceCounter& AValue);

// The performance counter, or the millisecond tick count when there is none.
std::int64_t ReadPerformanceCounter();
// Milliseconds in counter ticks (truncated); the milliseconds themselves
// when there is no counter.
std::int64_t MillisecondsToTicks(std::int64_t AValue);

// Unit start-up and shut-down (see LookAndFeelUnits.cpp).
void dxAnimationFinalization();
