// The touch scroll UI: at most one control in the process shows its overlay
// scroll bars, from the first sign of scrolling activity until one second
// after the last.
//
// Classes in this file:
//   IdxTouchScrollUIOwner            what the manager asks of a control
//   TdxTouchScrollUIActivityHelper   tells scrolling activity in a control's
//                                    mouse messages
//   TdxTouchScrollUIModeManager      the one visible scroll UI and its hide
//                                    timer (unit state)
#pragma once

#include "library/core/base/cxClasses.h"
#include "platform/ui/Controls.h"

#include <functional>

struct IdxTouchScrollUIOwner : public virtual IInterface {
  static constexpr GUID IID = {0x2B7E51C4, 0x6F0A, 0x4C39, {0x9A, 0x52, 0x1E, 0x80, 0x3D, 0xC7, 0x44, 0x6B}};
  // Shows the overlay bars (also places them again after the window moved).
  virtual void ShowScrollUI() = 0;
  virtual void HideScrollUI() = 0;
  virtual bool IsScrollUIVisible() = 0;
  virtual TWinControl* GetOwnerControl() = 0;

 protected:
  ~IdxTouchScrollUIOwner() = default;
};

class TdxTouchScrollUIActivityHelper : public TObject {
  SK_CLASS(TdxTouchScrollUIActivityHelper, TObject)
 public:
  // Mouse moves shorter than this in both directions are jitter.
  static constexpr int JitterDistance = 10;

  // Whether the message shows scrolling activity: a move onto the scroll-bar
  // area, or a move of at least JitterDistance from the last recorded one
  // (the first move after the mouse came in only records the position).
  // AOnScrollBarArea answers for a client point.
  bool CheckScrollActivity(TWinControl* AControl, const TMessage& Message,
                           const std::function<bool(const TPoint&)>& AOnScrollBarArea);

 private:
  TPoint FLastMousePos;
  bool FMouseEnter;
};

class TdxTouchScrollUIModeManager {
 public:
  TdxTouchScrollUIModeManager() = delete;
  static constexpr unsigned HideInterval = 1000;

  // ATimerControlled: the UI hides again HideInterval after this request.
  static void ShowScrollUI(IdxTouchScrollUIOwner* AOwner, bool AControlledByTimer);
  // Not AImmediately: releases one request instead (the timer then hides).
  static void HideScrollUI(IdxTouchScrollUIOwner* AOwner, bool AImmediately);
  static void HideActive();
  static bool IsScrollUIHidden(IdxTouchScrollUIOwner* AOwner);
  // The owner goes away: forgotten without being called.
  static void Deactivate(IdxTouchScrollUIOwner* AOwner);
  // A window moved: the active owner whose control is a child of it (or it,
  // with AOwnWindow) places its UI again. A window hid: the UI of a control
  // in it hides at once.
  static void WindowMoved(HWND AWnd, bool AOwnWindow, bool AAncestors);
  static void WindowHidden(HWND AWnd);
  // While the user drags a touch bar only its owner may show.
  static void Lock();
  static void Unlock();

  static IdxTouchScrollUIOwner* ActiveOwner();
  static bool Visible();
  // The hide timer (nil before first use).
  static TcxTimer* HideTimer();
};

void dxTouchScrollUIFinalization();
