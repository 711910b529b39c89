// Hybrid scroll bars: the manager of one control and the list of managers.

#include "library/controls/scrollbars/dxHybridScrollbars.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Made at the unit's start-up; empty (no list) after its shut-down.
std::optional<std::vector<TdxHybridScrollbarsManager*>> GManagers;

unsigned ScaledTime(unsigned AFullTime, int ASpan, int AFullSpan) {
  return static_cast<unsigned>(std::lround(static_cast<double>(ASpan) * AFullTime / AFullSpan));
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxHybridScrollbarsManager

void TdxHybridScrollbarsManager::Create(IdxHybridScrollbarOwner* AOwner) {
  inherited::Create();
  FOwner = AOwner;
}

void TdxHybridScrollbarsManager::Destroy() {
  TdxHybridScrollbarManagers::Deactivate(this);
  FFadingAnimation.reset();
  FSizeAnimation.reset();
  FHidingTimer.reset();
  FCollapsingTimer.reset();
  inherited::Destroy();
}

bool TdxHybridScrollbarsManager::IsActive() const { return TdxHybridScrollbarManagers::IsActive(this); }

bool TdxHybridScrollbarsManager::OwnerShown() const {
  TWinControl* control = FOwner ? FOwner->GetOwnerControl() : nullptr;
  return control && control->HandleAllocated() && IsWindowVisible(control->Handle());
}

void TdxHybridScrollbarsManager::Show(bool AHideByTimer) {
  if (!OwnerShown()) return;
  FIsDeactivating = false;
  if (!FAllowVisible) {
    FAllowVisible = true;
    FOwner->ShowHybridScrollBars();
  }
  if (FOwner->CanActivateHybridScrollBars()) TdxHybridScrollbarManagers::Activate(this);
  const bool timerRuns = FHidingTimer && FHidingTimer->Enabled();
  if (!AHideByTimer) {
    ++FHidingLockCount;
    if (timerRuns) StopHidingTimer();
    else if (FFadingValue < 255 && FFadingState != TFadingState::fstShowing) StartFade(true);
  } else if (timerRuns) {
    FHidingTimer->Reset();
  } else if (FFadingValue < 255 && FFadingState != TFadingState::fstShowing) {
    StartFade(true);
  } else if (FFadingState == TFadingState::fstNone && FHidingLockCount == 0) {
    StartHidingTimer();
  }
}

void TdxHybridScrollbarsManager::StartFade(bool AShowing) {
  FFadingAnimation.reset();
  const int span = AShowing ? 255 - FFadingValue : FFadingValue;
  FStartFadingValue = FFadingValue;
  FFadingState = AShowing ? TFadingState::fstShowing : TFadingState::fstHiding;
  if (span == 0) {
    int position = 0;
    bool finished = true;
    FadeStep(nullptr, position, finished);
    return;
  }
  FFadingAnimation.reset(New<TdxAnimationTransition>(ScaledTime(FullFadeTime, span, 255), ateLinear, span));
  FFadingAnimation->SetFreeOnTerminate(false);
  FFadingAnimation->SetOnAnimate(BindEvent<&TdxHybridScrollbarsManager::FadeStep>(this));
  FFadingAnimation->Resume();
}

void TdxHybridScrollbarsManager::FadeStep(TdxAnimationTransition*, int& APosition, bool& AFinished) {
  const bool showing = FFadingState == TFadingState::fstShowing;
  FFadingValue = static_cast<std::uint8_t>(std::clamp(FStartFadingValue + (showing ? APosition : -APosition), 0, 255));
  FOwner->RefreshHybridScrollBars();
  if (!AFinished) return;
  FFadingState = TFadingState::fstNone;
  if (!showing) HideForGood(false);
  else if (FHidingLockCount == 0) StartHidingTimer();
}

void TdxHybridScrollbarsManager::StartHidingTimer() {
  if (!FHidingTimer)
    FHidingTimer.reset(CreateTimer(HidingInterval, false, BindEvent<&TdxHybridScrollbarsManager::HidingTimerTick>(this)));
  FHidingTimer->SetEnabled(true);
  FHidingTimer->Reset();
}

void TdxHybridScrollbarsManager::StopHidingTimer() {
  if (FHidingTimer) FHidingTimer->SetEnabled(false);
}

void TdxHybridScrollbarsManager::HidingTimerTick(TObject*) {
  StopHidingTimer();
  HideForGood(true);
}

void TdxHybridScrollbarsManager::HideForGood(bool AAnimated) {
  StopHidingTimer();
  FCollapsingTimer.reset();
  if (AAnimated) {
    StartFade(false);
    return;
  }
  FAllowVisible = false;
  FHidingLockCount = 0;
  FOwner->HideHybridScrollBars();
  TdxHybridScrollbarManagers::Deactivate(this);
  FFadingValue = 0;
}

void TdxHybridScrollbarsManager::Hide(bool AImmediately, bool AAnimated) {
  if (AImmediately) {
    FFadingAnimation.reset();
    FFadingState = TFadingState::fstNone;
    FSizeAnimation.reset();
    FExpandState = TExpandState::estNone;
    HideForGood(AAnimated);
    return;
  }
  ReleaseHidingLock();
  if (FAllowVisible && FHidingLockCount == 0) StartHidingTimer();
}

void TdxHybridScrollbarsManager::ReleaseHidingLock() {
  if (FHidingLockCount > 0) --FHidingLockCount;
}

void TdxHybridScrollbarsManager::ResetAnimatedBar() {
  FSizeAnimation.reset();
  FExpandState = TExpandState::estNone;
  FCollapsingTimer.reset();
  FVisibleSize = 0;
  FAnimateObject = nullptr;
}

void TdxHybridScrollbarsManager::BeginExpand(TObject* ABar) {
  if (FAnimateObject && FAnimateObject != ABar &&
      (FCollapsingTimer || FExpandState == TExpandState::estExpanding)) {
    ResetAnimatedBar();
    ReleaseHidingLock();
  }
  FAnimateObject = ABar;
  ++FExpandLockCount;
  if (FExpandState == TExpandState::estExpanding) return;
  if (FCollapsingTimer) FCollapsingTimer.reset();
  else if (FExpandState == TExpandState::estNone) Show(false);
  if (FVisibleSize < 100) StartSizeAnimation(true);
}

void TdxHybridScrollbarsManager::StartSizeAnimation(bool AExpanding) {
  FSizeAnimation.reset();
  FStartSize = FVisibleSize;
  const int span = AExpanding ? 100 - FVisibleSize : FVisibleSize;
  FExpandState = AExpanding ? TExpandState::estExpanding : TExpandState::estCollapsing;
  if (span == 0) {
    int position = 0;
    bool finished = true;
    SizeStep(nullptr, position, finished);
    return;
  }
  FSizeAnimation.reset(New<TdxAnimationTransition>(ScaledTime(FullExpandTime, span, 100), ateLinear, span));
  FSizeAnimation->SetFreeOnTerminate(false);
  FSizeAnimation->SetOnAnimate(BindEvent<&TdxHybridScrollbarsManager::SizeStep>(this));
  FSizeAnimation->Resume();
}

void TdxHybridScrollbarsManager::SizeStep(TdxAnimationTransition*, int& APosition, bool& AFinished) {
  const bool expanding = FExpandState == TExpandState::estExpanding;
  FVisibleSize = std::clamp(FStartSize + (expanding ? APosition : -APosition), 0, 100);
  FOwner->RefreshHybridScrollBars();
  if (!AFinished) return;
  FExpandState = TExpandState::estNone;
  if (expanding) {
    if (FExpandLockCount == 0) StartCollapsingTimer();
  } else {
    Collapsed();
  }
  FOwner->RefreshHybridScrollBars();
}

void TdxHybridScrollbarsManager::StartCollapsingTimer() {
  FCollapsingTimer.reset(
      CreateTimer(CollapsingInterval, true, BindEvent<&TdxHybridScrollbarsManager::CollapsingTimerTick>(this)));
}

void TdxHybridScrollbarsManager::CollapsingTimerTick(TObject*) {
  // The handler may free its own timer.
  FCollapsingTimer.reset();
  StartSizeAnimation(false);
}

void TdxHybridScrollbarsManager::EndExpand() {
  if (FExpandLockCount > 0) --FExpandLockCount;
  if (FSizeAnimation && FExpandState != TExpandState::estNone) return;
  if (!IsActive() || FIsDeactivating) StartSizeAnimation(false);
  else StartCollapsingTimer();
}

void TdxHybridScrollbarsManager::Collapsed() {
  if (FExpandLockCount > 0) return;
  FAnimateObject = nullptr;
  FVisibleSize = 0;
  FOwner->RefreshHybridScrollBars();
  ReleaseHidingLock();
  if ((!IsActive() || FIsDeactivating) && FHidingLockCount == 0) HideForGood(true);
  else if (FAllowVisible && FHidingLockCount == 0) StartHidingTimer();
}

void TdxHybridScrollbarsManager::BarReleased(TObject* ABar) {
  if (!ABar || ABar != FAnimateObject) return;
  ResetAnimatedBar();
  FHidingLockCount = 0;
  FFadingValue = 0;
  StopHidingTimer();
}

void TdxHybridScrollbarsManager::Deactivated() {
  FIsDeactivating = true;
  if (FCollapsingTimer) {
    FCollapsingTimer.reset();
    StartSizeAnimation(false);
  } else if (FExpandState == TExpandState::estExpanding) {
    FSizeAnimation.reset();
    FExpandState = TExpandState::estNone;
    EndExpand();
  } else if (FFadingState == TFadingState::fstShowing) {
    FFadingAnimation.reset();
    FFadingState = TFadingState::fstNone;
    if (FHidingLockCount == 0) HideForGood(true);
  } else if (FHidingTimer && FHidingTimer->Enabled()) {
    HideForGood(true);
  }
}

bool TdxHybridScrollbarsManager::ControlIsIn(HWND AWnd, bool AOwnWindow, bool AAncestors) const {
  TWinControl* control = FOwner ? FOwner->GetOwnerControl() : nullptr;
  if (!control || !control->HandleAllocated()) return false;
  const HWND wnd = control->Handle();
  return (AOwnWindow && wnd == AWnd) || (AAncestors && IsChild(AWnd, wnd));
}

void TdxHybridScrollbarsManager::WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors) {
  if (FAllowVisible && ControlIsIn(AWnd, AOwnWindow, AAncestors)) FOwner->ShowHybridScrollBars();
}

void TdxHybridScrollbarsManager::WindowHidden(HWND AWnd) {
  if (FAllowVisible && ControlIsIn(AWnd, true, true)) Hide(true, false);
}

// ---------------------------------------------------------------------------
// TdxHybridScrollbarManagers

void TdxHybridScrollbarManagers::Activate(TdxHybridScrollbarsManager* AManager) {
  if (!GManagers || !AManager) return;
  std::erase(*GManagers, AManager);
  GManagers->push_back(AManager);
  // A deactivated manager may hide and leave the list: walk a copy.
  const std::vector<TdxHybridScrollbarsManager*> others(GManagers->begin(), GManagers->end() - 1);
  for (auto it = others.rbegin(); it != others.rend(); ++it)
    if (std::find(GManagers->begin(), GManagers->end(), *it) != GManagers->end()) (*it)->Deactivated();
}

void TdxHybridScrollbarManagers::Deactivate(TdxHybridScrollbarsManager* AManager) {
  if (GManagers) std::erase(*GManagers, AManager);
}

void TdxHybridScrollbarManagers::HideAll() {
  if (!GManagers) return;
  const std::vector<TdxHybridScrollbarsManager*> managers(*GManagers);
  for (auto it = managers.rbegin(); it != managers.rend(); ++it) (*it)->Hide(true, false);
}

bool TdxHybridScrollbarManagers::IsActive(const TdxHybridScrollbarsManager* AManager) {
  return GManagers && !GManagers->empty() && GManagers->back() == AManager;
}

int TdxHybridScrollbarManagers::Count() { return GManagers ? static_cast<int>(GManagers->size()) : 0; }

void TdxHybridScrollbarManagers::WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors) {
  if (!GManagers) return;
  const std::vector<TdxHybridScrollbarsManager*> managers(*GManagers);
  for (auto it = managers.rbegin(); it != managers.rend(); ++it) (*it)->WindowMoved(AWnd, AOwnWindow, AAncestors);
}

void TdxHybridScrollbarManagers::WindowHidden(HWND AWnd) {
  if (!GManagers) return;
  const std::vector<TdxHybridScrollbarsManager*> managers(*GManagers);
  for (auto it = managers.rbegin(); it != managers.rend(); ++it) (*it)->WindowHidden(AWnd);
}

void dxHybridScrollbarsInitialization() {
  if (!GManagers) GManagers.emplace();
}

void dxHybridScrollbarsFinalization() { GManagers.reset(); }
