// Hybrid scroll bars: each control's manager fades its overlay bars in and
// out and expands the bar under the mouse; of all managers only the last
// activated keeps its bars once the mouse has gone.
//
// Classes in this file:
//   IdxHybridScrollbarOwner       what a manager asks of its control
//   TdxHybridScrollbarsManager    fading, expansion and their timers
//   TdxHybridScrollbarManagers    the process-wide list; its last entry is
//                                 the active manager
//
// Fades take 1000 ms for the whole alpha range and expansions 100 ms for the
// whole size, each scaled to the distance left, so an interrupted animation
// goes on from where it stopped.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/lookandfeel/animation/dxAnimation.h"
#include "platform/ui/Controls.h"

#include <cstdint>

class TdxHybridScrollbarsManager;

struct IdxHybridScrollbarOwner : public virtual IInterface {
  static constexpr GUID IID = {0x7C41E0A9, 0x3B52, 0x4E86, {0xA1, 0x0D, 0x95, 0x2F, 0x6E, 0xB4, 0x38, 0x17}};
  virtual void ShowHybridScrollBars() = 0;
  virtual void HideHybridScrollBars() = 0;
  // Whether the manager becomes the active one when its bars show.
  virtual bool CanActivateHybridScrollBars() = 0;
  // Every animation step: the bars repaint with the new alpha and size.
  virtual void RefreshHybridScrollBars() = 0;
  virtual TWinControl* GetOwnerControl() = 0;

 protected:
  ~IdxHybridScrollbarOwner() = default;
};

enum class TFadingState { fstNone, fstShowing, fstHiding };
enum class TExpandState { estNone, estExpanding, estCollapsing };

class TdxHybridScrollbarsManager : public TObject {
  SK_CLASS(TdxHybridScrollbarsManager, TObject)
 public:
  static constexpr unsigned HidingInterval = 1000;
  static constexpr unsigned CollapsingInterval = 500;
  static constexpr unsigned FullFadeTime = 1000;
  static constexpr unsigned FullExpandTime = 100;

  void Create(IdxHybridScrollbarOwner* AOwner);
  void Destroy() override;

  // AHideByTimer: the bars fade out again HidingInterval later; otherwise
  // they stay until a matching Hide.
  void Show(bool AHideByTimer);
  void Hide(bool AImmediately, bool AAnimated);
  // The mouse came onto a bar, or left it; a bar goes away.
  void BeginExpand(TObject* ABar);
  void EndExpand();
  void BarReleased(TObject* ABar);
  // Another manager became the active one.
  void Deactivated();
  void WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors);
  void WindowHidden(HWND AWnd);

  std::uint8_t FadingValue() const { return FFadingValue; }
  // 0 collapsed .. 100 expanded.
  int VisibleSize() const { return FVisibleSize; }
  bool AllowVisible() const { return FAllowVisible; }
  TObject* AnimateObject() const { return FAnimateObject; }
  TFadingState FadingState() const { return FFadingState; }
  TExpandState ExpandState() const { return FExpandState; }
  int HidingLockCount() const { return FHidingLockCount; }
  TdxAnimationTransition* FadingAnimation() const { return FFadingAnimation.get(); }
  TdxAnimationTransition* SizeAnimation() const { return FSizeAnimation.get(); }
  TcxTimer* HidingTimer() const { return FHidingTimer.get(); }
  TcxTimer* CollapsingTimer() const { return FCollapsingTimer.get(); }
  IdxHybridScrollbarOwner* Owner() const { return FOwner; }

 private:
  void StartFade(bool AShowing);
  void FadeStep(TdxAnimationTransition* Sender, int& APosition, bool& AFinished);
  void StartSizeAnimation(bool AExpanding);
  void SizeStep(TdxAnimationTransition* Sender, int& APosition, bool& AFinished);
  void StartHidingTimer();
  void StopHidingTimer();
  void HidingTimerTick(TObject* Sender);
  void StartCollapsingTimer();
  void CollapsingTimerTick(TObject* Sender);
  void HideForGood(bool AAnimated);
  void Collapsed();
  void ResetAnimatedBar();
  void ReleaseHidingLock();
  bool IsActive() const;
  bool OwnerShown() const;
  bool ControlIsIn(HWND AWnd, bool AOwnWindow, bool AAncestors) const;

  TFadingState FFadingState;
  TOwned<TdxAnimationTransition> FFadingAnimation;
  std::uint8_t FFadingValue;
  std::uint8_t FStartFadingValue;
  TExpandState FExpandState;
  TOwned<TdxAnimationTransition> FSizeAnimation;
  TOwned<TcxTimer> FCollapsingTimer;
  int FExpandLockCount;
  int FStartSize;
  int FVisibleSize;
  bool FAllowVisible;
  TObject* FAnimateObject;
  int FHidingLockCount;
  TOwned<TcxTimer> FHidingTimer;
  bool FIsDeactivating;
  IdxHybridScrollbarOwner* FOwner;
};

class TdxHybridScrollbarManagers {
 public:
  TdxHybridScrollbarManagers() = delete;

  static void Activate(TdxHybridScrollbarsManager* AManager);
  static void Deactivate(TdxHybridScrollbarsManager* AManager);
  static void HideAll();
  static bool IsActive(const TdxHybridScrollbarsManager* AManager);
  static int Count();
  static void WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors);
  static void WindowHidden(HWND AWnd);
};

void dxHybridScrollbarsInitialization();
void dxHybridScrollbarsFinalization();
