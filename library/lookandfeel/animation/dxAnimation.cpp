#include "library/lookandfeel/animation/dxAnimation.h"

#include "library/core/base/cxClasses.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

TdxAnimationController* GAnimationController = nullptr;
bool GAnimationFinalized = false;
TdxPerformanceCounter GPerformanceCounter;

// ---------------------------------------------------------------------------
// Effects. Positions round half to even (the floating-point environment's
// default); the ease-in curves f run from f(0) = 0 to f(1) = 1.

int RoundPosition(double AValue) { return static_cast<int>(std::nearbyint(AValue)); }

// Three arcs whose heights grow by the bounciness, the last one ending at 1.
double BounceEaseIn(double X) {
  constexpr double Bounces = 3;
  constexpr double Bounciness = 5;
  const double total = (1 - std::pow(Bounciness, Bounces)) / (1 - Bounciness) + std::pow(Bounciness, Bounces) / 2;
  const double bounce = std::floor(std::log(1 - X * total * (1 - Bounciness)) / std::log(Bounciness));
  const double start = (1 - std::pow(Bounciness, bounce)) / ((1 - Bounciness) * total);
  const double end = (1 - std::pow(Bounciness, bounce + 1)) / ((1 - Bounciness) * total);
  const double halfWidth = (end - start) / 2;
  const double offset = X - (start + end) / 2;
  return std::pow(1 / Bounciness, Bounces - bounce) * (1 - offset * offset / (halfWidth * halfWidth));
}

double EaseIn(TdxAnimationTransitionEffect AEffect, double X) {
  using std::numbers::pi;
  switch (AEffect) {
    case ateCubic:
      return X * X * X;
    case ateBack:
      return X * X * X - 0.3 * X * std::sin(pi * X);
    case ateBounce:
      return BounceEaseIn(X);
    case ateCircle: {
      const double c = std::clamp(X, 0.0, 1.0);
      return 1 - std::sqrt(1 - c * c);
    }
    case ateElastic:
      return std::sin(4.5 * pi * X) * (std::exp(7.5 * X) - 1) / (std::exp(7.5) - 1);
    case ateExponential:
      return (std::exp(7 * X) - 1) / (std::exp(7.0) - 1);
    case ateSine:
      return 1 - std::sin((1 - X) * pi / 2);
    case ateQuadratic:
      return X * X;
    case ateQuartic:
      return X * X * X * X;
    default:
      return X;
  }
}

double EaseByMode(TdxAnimationTransitionEffect AEffect, TdxAnimationTransitionEffectMode AMode, double T) {
  switch (AMode) {
    case atmOut:
      return 1 - EaseIn(AEffect, 1 - T);
    case atmInOut:
      return T < 0.5 ? EaseIn(AEffect, 2 * T) / 2 : (1 - EaseIn(AEffect, 2 * (1 - T))) / 2 + 0.5;
    default:
      return EaseIn(AEffect, T);
  }
}

double Progress(std::int64_t ATotal, std::int64_t AElapsed) {
  return ATotal > 0 ? static_cast<double>(AElapsed) / static_cast<double>(ATotal) : 1.0;
}

int LinearEffect(TdxAnimationTransition*, int ALength, std::int64_t ATotal, std::int64_t AElapsed) {
  return ATotal > 0 ? static_cast<int>(static_cast<std::int64_t>(ALength) * AElapsed / ATotal) : ALength;
}

int AccelerateDecelerateEffect(TdxAnimationTransition*, int ALength, std::int64_t ATotal, std::int64_t AElapsed) {
  return RoundPosition(ALength * (1 - std::pow(Progress(ATotal, AElapsed) - 1, 6)));
}

int TanhEffect(TdxAnimationTransition*, int ALength, std::int64_t ATotal, std::int64_t AElapsed) {
  // The two ends in single precision, as the curve was first tuned.
  const double tanh3 = static_cast<float>(std::tanh(3.0));
  const double tanhMinus3 = static_cast<float>(std::tanh(-3.0));
  const double t = Progress(ATotal, AElapsed);
  return static_cast<int>(ALength * (std::tanh(6 * t - 3) - tanhMinus3) / (2 * tanh3) + 0.5);
}

int EasingEffect(TdxAnimationTransition* Sender, int ALength, std::int64_t ATotal, std::int64_t AElapsed) {
  return RoundPosition(
      ALength * EaseByMode(Sender->TransitionEffect(), Sender->TransitionEffectMode(), Progress(ATotal, AElapsed)));
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxAnimationTransition::TTracker

// A tracker lives on the stack and takes itself off the list when it goes;
// the compiler sees only the store of a local's address.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
TdxAnimationTransition::TTracker::TTracker(TdxAnimationTransition* ATransition)
    : FTransition(ATransition), FNext(ATransition->FTrackers) {
  ATransition->FTrackers = this;
}
#pragma GCC diagnostic pop

TdxAnimationTransition::TTracker::~TTracker() {
  if (!FTransition) return;
  for (TTracker** p = &FTransition->FTrackers; *p; p = &(*p)->FNext)
    if (*p == this) {
      *p = FNext;
      break;
    }
}

// ---------------------------------------------------------------------------
// TdxAnimationTransition

void TdxAnimationTransition::Create(unsigned ATime, TdxAnimationTransitionEffect ATransitionEffect, int ALength,
                                    TdxAnimationTransitionEffectMode ATransitionEffectMode) {
  inherited::Create();
  FTime = ATime;
  FTransitionEffect = ATransitionEffect;
  FLength = ALength;
  FTransitionEffectMode = ATransitionEffectMode;
  SelectTransitionEffectProc();
  FLockCount = 1;
  FFreeOnTerminate = true;
}

void TdxAnimationTransition::AfterConstruction() {
  inherited::AfterConstruction();
  // Only now is the whole transition there for IsCompatibleWith to look at.
  if (TdxAnimationController* controller = dxAnimationController()) controller->Add(this);
}

void TdxAnimationTransition::Destroy() {
  for (TTracker* t = std::exchange(FTrackers, nullptr); t; t = t->FNext) t->FTransition = nullptr;
  SetActive(false);
  if (GAnimationController) GAnimationController->Remove(this);
  FInfo.reset();
  inherited::Destroy();
}

void TdxAnimationTransition::SelectTransitionEffectProc() {
  switch (FTransitionEffect) {
    case ateLinear:
    case ateCustom:
      FTransitionEffectProc = &LinearEffect;
      break;
    case ateAccelerateDecelerate:
      FTransitionEffectProc = &AccelerateDecelerateEffect;
      break;
    case ateTanh:
      FTransitionEffectProc = &TanhEffect;
      break;
    default:
      FTransitionEffectProc = &EasingEffect;
  }
}

bool TdxAnimationTransition::IsCompatibleWith(TdxAnimationTransition*) { return true; }

void TdxAnimationTransition::Resume() {
  if (FLockCount == 0) return;
  if (--FLockCount > 0) return;
  InitializeTime();
  UpdateActive();
}

void TdxAnimationTransition::Suspend(bool AFinished) {
  ++FLockCount;
  UpdateActive();
  if (FLockCount == 1 && AFinished) Terminate();
}

void TdxAnimationTransition::Terminate() {
  TTracker tracker(this);
  SetFinished(true);
  if (tracker.Alive() && FFreeOnTerminate) Free();
}

void TdxAnimationTransition::ImmediateAnimation() {
  if (FIsAnimate) {
    // Called from a handler of this transition: the step in progress
    // becomes the last one, and the tick that runs it frees the transition.
    SetFinished(true);
    return;
  }
  TTracker tracker(this);
  InitializeTime();
  while (!FFinished)
    if (!Animate()) return;
  if (tracker.Alive() && FFreeOnTerminate) Free();
}

void TdxAnimationTransition::SetFinished(bool AValue) {
  if (FFinished == AValue) return;
  FCurrent = FFinish;
  FFinished = AValue;
  if (!AValue) {
    FCurrent = 0;
    InitializeTime();
  }
  UpdateActive();
  if (FIsAnimate) {
    // Set by a handler during a step: the events still to come in that
    // step carry the final position.
    if (AValue) FPosition = FLength;
    return;
  }
  Animate();
}

bool TdxAnimationTransition::Animate() {
  if (FIsAnimate) return true;
  TTracker tracker(this);
  FIsAnimate = true;
  const TScopeExit done([&] {
    if (tracker.Alive()) FIsAnimate = false;
  });
  FCurrent = std::min(ReadPerformanceCounter(), FFinish);
  if (!FFinished && FCurrent >= FFinish) {
    FFinished = true;
    UpdateActive();
  }
  int position;
  if (FFinished) {
    FCurrent = FFinish;
    position = FLength;
  } else {
    position = FTransitionEffectProc(this, FLength, FFinish - FStart, FCurrent - FStart);
  }
  if (position == FPosition && FPosition != 0 && !FFinished) return true;
  FPositionChanged = true;
  FPosition = position;
  DoBeforeAnimate();
  if (!tracker.Alive()) return false;
  DoAnimate();
  if (!tracker.Alive()) return false;
  DoAfterAnimate();
  return tracker.Alive();
}

bool TdxAnimationTransition::CallAnimationEvent(const TdxAnimationEvent& AEvent, bool& AFinished) {
  AFinished = FFinished;
  if (!AEvent) return true;
  TTracker tracker(this);
  int position = FPosition;
  AEvent(this, position, AFinished);
  return tracker.Alive();
}

void TdxAnimationTransition::DoBeforeAnimate() {
  const bool before = FFinished;
  bool finished;
  // Only a change is written back: a handler may also have ended the
  // transition by a call (Terminate) without touching the flag.
  if (CallAnimationEvent(FOnBeforeAnimate, finished) && finished != before) SetFinished(finished);
}

void TdxAnimationTransition::DoAnimate() {
  const bool before = FFinished;
  bool finished;
  if (CallAnimationEvent(FOnAnimate, finished) && finished != before) SetFinished(finished);
}

void TdxAnimationTransition::DoAfterAnimate() {
  bool finished;
  if (!CallAnimationEvent(FOnAfterAnimate, finished)) return;
  FFinished = finished;
  UpdateActive();
  if (FFinished) CallEvent(FOnTerminate, this);
}

void TdxAnimationTransition::InitializeTime() {
  const std::int64_t now = ReadPerformanceCounter();
  if (FCurrent == 0) {
    FStart = now;
  } else {
    FStart = now - (FCurrent - FStart);
    FCurrent = now;
  }
  FFinish = FStart + MillisecondsToTicks(FTime);
}

void TdxAnimationTransition::UpdateActive() { SetActive(FLockCount == 0 && !FFinished); }

void TdxAnimationTransition::SetActive(bool AValue) {
  if (FActive == AValue) return;
  FActive = AValue;
  if (GAnimationController) GAnimationController->ChangeActiveAnimations(AValue ? 1 : -1);
}

// ---------------------------------------------------------------------------
// TdxAnimationController

void TdxAnimationController::Create() {
  inherited::Create();
  FTimer.reset(CreateTimer(1, false, BindEvent<&TdxAnimationController::DoTimer>(this)));
}

void TdxAnimationController::Destroy() {
  FTimer.reset();
  // Each transition leaves the list as it goes.
  while (!FAnimations.empty()) {
    TdxAnimationTransition* animation = FAnimations.back();
    animation->Free();
    std::erase(FAnimations, animation);
  }
  FListenerList.clear();
  inherited::Destroy();
}

void TdxAnimationController::Add(TdxAnimationTransition* AAnimation) {
  const std::vector<TdxAnimationTransition*> animations = FAnimations;
  for (TdxAnimationTransition* animation : animations)
    if (Contains(animation) && !animation->IsCompatibleWith(AAnimation)) animation->SetFinished(true);
  FAnimations.push_back(AAnimation);
}

void TdxAnimationController::Remove(TdxAnimationTransition* AAnimation) {
  const std::vector<IPtr<IdxAnimationListener>> listeners = FListenerList;
  for (const IPtr<IdxAnimationListener>& listener : listeners) listener->AnimationDestroyed(AAnimation);
  std::erase(FAnimations, AAnimation);
}

void TdxAnimationController::AddListener(IdxAnimationListener* AListener) {
  if (!AListener || std::ranges::find(FListenerList, IPtr<IdxAnimationListener>(AListener)) != FListenerList.end())
    return;
  FListenerList.emplace_back(AListener);
}

void TdxAnimationController::RemoveListener(IdxAnimationListener* AListener) {
  std::erase(FListenerList, IPtr<IdxAnimationListener>(AListener));
}

bool TdxAnimationController::Contains(TdxAnimationTransition* AAnimation) const {
  return std::ranges::find(FAnimations, AAnimation) != FAnimations.end();
}

bool TdxAnimationController::TimerEnabled() const { return FTimer && FTimer->Enabled(); }

void TdxAnimationController::DoTimer(TObject*) {
  if (FTimerHandling) return;
  FTimerHandling = true;
  const TScopeExit done([this] { FTimerHandling = false; });
  const std::vector<IPtr<IdxAnimationListener>> listeners = FListenerList;
  TryFinally(
      [&] {
        for (const IPtr<IdxAnimationListener>& listener : listeners) listener->BeforeAnimationStep(this);
        // Handlers may free transitions, their own or others, and add new
        // ones: the tick walks the list as it was and skips those gone.
        const std::vector<TdxAnimationTransition*> animations = FAnimations;
        for (auto it = animations.rbegin(); it != animations.rend(); ++it) {
          TdxAnimationTransition* animation = *it;
          if (!Contains(animation) || animation->Suspended()) continue;
          TdxAnimationTransition::TTracker tracker(animation);
          if (animation->Finished() || ReadPerformanceCounter() >= animation->FFinish)
            animation->SetFinished(true);
          else
            animation->Animate();
          if (tracker.Alive() && animation->Finished() && animation->FreeOnTerminate()) animation->Free();
        }
      },
      [&] {
        for (const IPtr<IdxAnimationListener>& listener : listeners) listener->AfterAnimationStep(this);
      });
  for (TdxAnimationTransition* animation : FAnimations) animation->FPositionChanged = false;
}

void TdxAnimationController::ChangeActiveAnimations(int ADelta) {
  FActiveAnimations += ADelta;
  if (FTimer) FTimer->SetEnabled(FActiveAnimations > 0);
}

TdxAnimationController* dxAnimationController() {
  if (!GAnimationController && !GAnimationFinalized) GAnimationController = New<TdxAnimationController>();
  return GAnimationController;
}

// ---------------------------------------------------------------------------
// Clock

const TdxPerformanceCounter& dxPerformanceCounter() { return GPerformanceCounter; }

void dxSetPerformanceCounter(const TdxPerformanceCounter& AValue) { GPerformanceCounter = AValue; }

std::int64_t ReadPerformanceCounter() {
  LARGE_INTEGER value;
  if (GPerformanceCounter.Counter(&value)) return value.QuadPart;
  return GetTickCount();
}

std::int64_t MillisecondsToTicks(std::int64_t AValue) {
  LARGE_INTEGER frequency;
  if (!GPerformanceCounter.Frequency(&frequency)) return AValue;
  return AValue * frequency.QuadPart / 1000;
}

void dxAnimationFinalization() {
  GAnimationFinalized = true;
  FreeAndNil(GAnimationController);
}
