// Touch gestures. Windows sends a control WM_GESTURENOTIFY before a gesture
// and WM_GESTURE during it; the control's TdxGestureHelper finds the child
// control that should receive the gesture (passing it up to parents that let
// gestures through), limits the configured gestures to what the control under
// the finger allows, pans the gesture client with inertia, forwards zoom and
// rotation, and shows the system's over-pan feedback at a scroll limit.
//
// Classes in this file:
//   TdxGestureApi            the user32 gesture functions, bound by name
//   TdxGestureConfig         one configuration, as SetGestureConfig takes it
//   IdxGestureOwner          the control that owns a helper
//   IdxGestureClient         the part of a control that pans
//   IdxGestureClient2        whether that part is mirrored (right-to-left)
//   IdxZoomClient, IdxRotationClient   parts that zoom or rotate
//   TdxGestureHelper         a control's gesture handling
//
// The gesture functions are optional: each wrapper answers a neutral result
// when its entry point is missing (Wine has them only as failing stubs).
// Interfaces are held without reference counts of their own meaning: the
// controls that answer them decide their lifetime.
#pragma once

#include "library/core/base/dxCore.h"
#include "platform/ui/Controls.h"

#include <memory>
#include <vector>

// ---------------------------------------------------------------------------
// The bound entry points

struct TdxGestureApi {
  BOOL(WINAPI* GetGestureInfo)(HGESTUREINFO, PGESTUREINFO) = nullptr;
  BOOL(WINAPI* CloseGestureInfoHandle)(HGESTUREINFO) = nullptr;
  BOOL(WINAPI* SetGestureConfig)(HWND, DWORD, UINT, PGESTURECONFIG, UINT) = nullptr;
  BOOL(WINAPI* LogicalToPhysicalPoint)(HWND, LPPOINT) = nullptr;
  BOOL(WINAPI* PhysicalToLogicalPoint)(HWND, LPPOINT) = nullptr;
};

// The binding as it stands, and a replacement for it (tests drive the
// helper with their own gesture information).
const TdxGestureApi& dxGestureApi();
void dxSetGestureApi(const TdxGestureApi& AApi);

// Whether pan locations are converted from the desktop scale factor to the
// system scale factor: set at start-up before Windows 8 in a process that is
// not DPI aware. The setter is for tests.
bool dxGesturePanPointConversion();
void dxSetGesturePanPointConversion(bool AValue);

// ---------------------------------------------------------------------------
// Routines

struct TdxGestureConfig {
  std::uint32_t dwID = 0;
  std::uint32_t dwWant = 0;
  std::uint32_t dwBlock = 0;
};
using TdxGestureConfigs = std::vector<TdxGestureConfig>;

// Windows gesture id to interactive gesture: 3 zoom, 4 pan, 5 rotate, 6
// two-finger tap, any other press and tap.
TInteractiveGesture GestureIdToGestureKind(DWORD AId);
// One GC_PAN flag: 2 single finger vertically, 4 horizontally, 8 gutter,
// any other inertia.
TInteractiveGestureOption PanOptionToGestureOption(DWORD AFlag);
// The options of the flags 2, 4, 8 and 16 present in AFlags.
TInteractiveGestureOptions PanOptionsToGestureOptions(DWORD AFlags);
DWORD GestureOptionsToPanOptions(TInteractiveGestureOptions AOptions);
// "SetGestureConfig" for the window; false when it is missing or fails.
bool ApplyGestureConfig(HWND AWindow, const TdxGestureConfigs& AConfigs);
// Blocks every gesture of the window; the message's result becomes 1.
void DisableAllGestures(HWND AWindow, TMessage& AMessage);
// "PhysicalToLogicalPoint"; false when it is missing or fails.
bool PhysicalToLogicalPointOf(HWND AWindow, TPoint& APoint);

// ---------------------------------------------------------------------------
// Interfaces

struct IdxGestureOwner : public virtual IInterface {
  static constexpr GUID IID = {0xB5AC3E0C, 0xDFEF, 0x4608, {0xA5, 0xE2, 0xFD, 0x95, 0x31, 0x09, 0xA4, 0xE7}};
  virtual HWND GestureWindowHandle() = 0;
  // The object under a client point (its gesture client), or null.
  virtual IPtr<IInterface> GetGestureClient(const TPoint& APoint) = 0;
  virtual bool IsGestureTarget(HWND AWindow) = 0;
  virtual TPoint GestureScreenToClient(const TPoint& APoint) = 0;

 protected:
  ~IdxGestureOwner() = default;
};

struct IdxGestureClient : public virtual IInterface {
  static constexpr GUID IID = {0x652B8A09, 0xDAC8, 0x4332, {0x92, 0x06, 0xC8, 0x90, 0x5A, 0xEE, 0x77, 0x91}};
  virtual void BeginGestureScroll(const TPoint& APoint) = 0;
  // ADeltaX is already negated for a mirrored client.
  virtual void GestureScroll(int ADeltaX, int ADeltaY) = 0;
  virtual void EndGestureScroll() = 0;
  virtual bool IsGestureEnabled(DWORD AGestureId) = 0;
  virtual bool AllowsPan(TScrollBarKind AScrollKind) = 0;
  virtual bool IsPanArea(const TPoint& APoint) = 0;
  virtual bool WantsPanFeedback(TScrollBarKind AScrollKind) = 0;
  virtual bool IsPanning() = 0;

 protected:
  ~IdxGestureClient() = default;
};

struct IdxGestureClient2 : public virtual IInterface {
  static constexpr GUID IID = {0x834D1E09, 0xD446, 0x4E7E, {0x9D, 0xE3, 0xAE, 0x15, 0x8B, 0xAA, 0x9B, 0x73}};
  // The horizontal direction runs right to left.
  virtual bool IsPanMirrored() = 0;

 protected:
  ~IdxGestureClient2() = default;
};

struct IdxZoomClient : public virtual IInterface {
  static constexpr GUID IID = {0xB3A0623E, 0xD155, 0x462F, {0xB2, 0x34, 0x22, 0xE9, 0xCF, 0xC6, 0xBF, 0xBF}};
  // ADelta: the change of the distance between the fingers since the last event.
  virtual void Zoom(int ADelta, bool& AHandled) = 0;

 protected:
  ~IdxZoomClient() = default;
};

struct IdxRotationClient : public virtual IInterface {
  static constexpr GUID IID = {0xEAC9BA3A, 0xC2C3, 0x42E2, {0x8C, 0xA8, 0x8C, 0xEA, 0x85, 0x82, 0x1C, 0xAE}};
  // AAngle in radians, as the gesture event gives it.
  virtual void Rotate(double AAngle, bool& AHandled) = 0;

 protected:
  ~IdxRotationClient() = default;
};

// ---------------------------------------------------------------------------
// The helper

class TdxGestureHelper : public TObject {
  SK_CLASS(TdxGestureHelper, TObject)
 public:
  void Create(IdxGestureOwner* AGestureOwner);
  void Destroy() override;

  // WM_GESTURE (handled: true), WM_GESTURENOTIFY (false, so that the
  // control goes on configuring its gestures), WM_DESTROY (ends a pan,
  // false); false for any other message.
  bool HandleMessage(TMessage& Message);
  // While the control answers WM_GESTURENOTIFY: takes the client under the
  // touch point and drops the single-finger pans it does not allow (both
  // outside its pan area); pan goes when neither is left.
  void CheckGestureOptions(TInteractiveGestures& AGestures, TInteractiveGestureOptions& AOptions);
  // From the control's gesture event: zoom, pan and rotate; other ids are
  // left alone.
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled);
  // Called by the client while it scrolls: at or beyond a limit the
  // over-pan grows by the delta of that direction.
  void CheckOverpan(TScrollBarKind AScrollKind, int ANewDataPos, int AMinDataPos, int AMaxDataPos, int ADeltaX,
                    int ADeltaY);

  bool IsPanning() const { return FIsPanning; }
  bool IsInertia() const { return FIsInertia; }
  // The over-pan the system feedback shows.
  TPoint OverPan() const { return FOverPan; }

 protected:
  virtual bool AllowGesture(DWORD AGestureId);
  virtual bool AllowPan(TScrollBarKind AScrollKind);
  virtual HWND GetHandle();
  virtual bool IsPanningActive();
  virtual bool IsGestureTarget(HWND AWindow);
  virtual bool IsPanArea(const TPoint& APoint);
  virtual bool NeedPanningFeedback(TScrollBarKind AScrollKind);
  virtual TPoint ScreenToClient(const TPoint& APoint);

 private:
  // A control kept across messages: nil once it is freed.
  class TTrackedControl {
   public:
    TControl* Get() const { return FTracker && FTracker->Alive() ? FControl : nullptr; }
    void Set(TControl* AControl);

   private:
    TControl* FControl = nullptr;
    std::unique_ptr<TControlTracker> FTracker;
  };

  friend void GestureNotifyHook(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT& AHookResult);
  IPtr<IdxGestureClient> NotifyClient() const;
  TPoint TouchStartPoint();
  void WMGesture(TMessage& Message);
  void WMGestureNotify();
  bool Pan(TPoint ALocation, TInteractiveGestureFlags AFlags);
  bool Zoom(int ADistance, TInteractiveGestureFlags AFlags);
  bool Rotate(double AAngle, TInteractiveGestureFlags AFlags);
  void BeginPanning(const TPoint& ALocation);
  void EndPanning();
  bool IsMirrored() const;
  void UpdateFeedback();

  IdxGestureOwner* FGestureOwner;
  IPtr<IInterface> FGestureNotifyClient;
  IPtr<IdxGestureClient> FGestureClient;
  bool FIsPanning;
  bool FIsInertia;
  int FLastDistance;
  TPoint FPanPoint;
  TPoint FOverPan;
  TTrackedControl FNotifyTouchControl;
  TTrackedControl FTouchControl;
};

// The unit's window-procedure hook handler (htWndProc): before a window
// sees WM_GESTURENOTIFY it records the touch point and makes every helper
// forget the control it found for the last gesture.
void GestureNotifyHook(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT& AHookResult);

// The unit's start-up (binds the entry points, sets the conversion flag,
// registers GestureNotifyHook) and shut-down.
void dxGesturesInitialization();
void dxGesturesFinalization();
