// DPI-aware forms and frames.
//
// Classes in this file:
//   TdxCustomForm                    the library's form: rescales itself on a DPI change,
//                                    keeps a scale factor, mirrors itself right to left
//   IdxEmbeddedForm                  marks a form whose window lies inside another form's
//   TdxFormHelper                    the scaling procedure and window helpers forms and
//                                    popups share
//   TdxFormRightToLeftLayoutHelper   the mirrored window styles
//   TdxFrameController               makes a class-library frame follow its parent's DPI
//   TdxFrameControllerManager        one controller per frame, registered at WM_CREATE
//   TdxFormImageListHelper           swaps image lists for the ones named after a DPI
//   TdxFluentDesignContainerControlHelper  the layered style of controls on acrylic parents
//
// A form scales inside a bracket: every control on it hears DXM_SCALECHANGING
// before anything moves and DXM_SCALECHANGED, in reverse order, once all is
// done; the bracket closes on every way out, an exception included. While a
// form (or its parent) scales, nested requests for it are ignored and one
// WM_DPICHANGED passes to the class library.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/geometry/cxGeometry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <map>
#include <memory>
#include <vector>

class TCustomImageList;
class TcxFreeNotificator;
class TcxWindowProcLinkedObject;

// ---------------------------------------------------------------------------
// IdxEmbeddedForm

// A form whose window lies inside a window of another form keeps a focused
// control of its own, so the focus moving between the two forms passes
// neither form's enter and exit steps. For a form that answers this
// interface the popup unit's message hook tells the library controls on
// both sides (CM_ENTER, CM_EXIT).
struct IdxEmbeddedForm : public virtual IInterface {
  static constexpr GUID IID = {0xDEA877D7, 0x1646, 0x477A, {0xA7, 0x22, 0x81, 0x8D, 0xFE, 0x41, 0xEE, 0x47}};

 protected:
  ~IdxEmbeddedForm() = default;
};

// ---------------------------------------------------------------------------
// TdxCustomForm

class TdxCustomForm : public TNoRefCount<TCustomForm>, public IdxScaleFactor {
  SK_CLASS(TdxCustomForm, TCustomForm)
 public:
  static void Publish(TPublisher<TdxCustomForm>& P);

  void CreateNew(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Form DPI / 96.
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TdxScaleFactor* GetScaleFactor() override { return FScaleFactor.get(); }

  // Inside a running scale change of the form or a parent the class
  // library's scaling; otherwise the whole procedure of TdxFormHelper.
  void ScaleForPPI(int ATargetDPI) override;
  virtual void ScaleForPPI(int ATargetDPI, const TRect* AWindowRect);
  // The same for a form that is not Scaled.
  void ForceScaleForPPI(int ATargetDPI, const TRect* AWindowRect);
  void ChangeScale(int M, int D, bool AIsDpiChange) override;
  // To the form's DPI × M / D, by the whole procedure.
  void ScaleBy(int M, int D) override;
  void SetParent(TWinControl* AValue) override;
  TPoint ClientOrigin() override;

  // bDefault follows the form's right-to-left alignment.
  TdxDefaultBoolean RightToLeftLayout() const { return FRightToLeftLayout; }
  void SetRightToLeftLayout(TdxDefaultBoolean AValue);
  bool RightToLeftApplied() const { return FRightToLeftApplied; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void ScaleChanged(int M, int D);
  virtual void UpdateImageListsForDpi();

  void CMBiDiModeChanged(TMessage& Message);
  void WMDpiChanged(TMessage& Message);

 private:
  bool IsRightToLeftLayoutRequested() const;
  void CheckRightToLeftLayout();
  void ApplyRightToLeftLayout(bool AValue);

  bool FRightToLeftApplied;
  TdxDefaultBoolean FRightToLeftLayout;
  TOwned<TdxScaleFactor> FScaleFactor;
};

// ---------------------------------------------------------------------------
// TdxFormHelper

class TdxFormHelper {
 public:
  // What one form's scale change holds between its two halves.
  struct TState {
    TCustomForm* Form = nullptr;
    // The form and every control on it, depth first (not owned), each
    // with a tracker: a handler may free controls while the form scales.
    std::vector<TControl*> LockedControls;
    std::vector<std::unique_ptr<TControlTracker>> Trackers;
    bool RedrawLocked = false;
  };

  TdxFormHelper() = delete;

  // Binds the optional user32 entry points and installs the hook that
  // gives frames their controllers; Finalize takes both back.
  static void Initialize();
  static void Finalize();

  // Nothing for a DPI outside 30..480 or while the form or a parent scales.
  // A given window rectangle is applied as it is; otherwise the client area
  // is scaled and the non-client extent and the top-left corner stay. A
  // maximised form keeps its bounds and gets a scaled restore rectangle.
  static void ScaleForPPI(TCustomForm* AForm, int ATargetDPI, bool AFromDpiMessage, const TRect* AWindowRect);
  // Tells every component AOwner owns that offers IcxScalableComponent.
  static void ScaleComponentsForDpi(TComponent* AOwner, int ANewPPI);
  static bool IsScaleChanging(TControl* AContainer);
  static bool ShouldPassDpiChangeMessage(TCustomForm* AForm);
  // False exactly for a component being loaded with M = D ≠ 1.
  static bool CanResetScalingFlags(TComponent* AComponent, int M, int D);
  // Clears the scaling flags of the control and of every control inside it.
  static void ResetScalingFlags(TControl* AControl);
  static void ProcessDpiChangeMessageBegin(TCustomForm* AForm);
  static void ProcessDpiChangeMessageEnd(TCustomForm* AForm);

  // The system's window animation (SPI_GETANIMATION); SetAnimation writes it
  // only when it differs and answers the previous value.
  static bool GetAnimation();
  static bool SetAnimation(bool AValue);

  // Hides the window from drawing by dropping WS_VISIBLE (not over a remote
  // desktop connection) and answers the style to put back.
  static LONG_PTR LockWindowRedrawing(HWND AWnd);
  static void UnlockWindowRedrawing(HWND AWnd, LONG_PTR APrevStyle);
  static void SetWindowTextWithoutRedrawing(HWND AWnd, const String& AText);

  static HRGN CreateRoundedRegion(const TRect& ABounds, int ARadius);
  static int GetMinBorderWidth(int ARadius);
  // The window's region (the caller owns it); without one, or on Windows 11
  // when it is just the window's rectangle, the bounds rounded by the
  // window's corner preference.
  static HRGN GetRegion(TWinControl* AForm);
  // Redraws the part of the window that became visible inside its monitor's
  // work area since APrevVisibleRegion (window coordinates), and keeps the new part.
  static void RepaintVisibleWindowArea(HWND AWnd, TOwnedRegion& APrevVisibleRegion);

  // Scale changes under way (tests and the fuzzer check that none is left).
  static int ScaleChangeCount();

 private:
  static TState BeginFormScaleChange(TCustomForm* AForm);
  static void EndFormScaleChange(const TState& AState);
};

// ---------------------------------------------------------------------------
// Right to left

class TdxFormRightToLeftLayoutHelper {
 public:
  TdxFormRightToLeftLayoutHelper() = delete;

  static constexpr DWORD MirroredExStyle = WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
  static constexpr DWORD BiDiExStyles = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;

  static void AddRightToLeftFormExStyle(TCreateParams& Params);
  static void RemoveBiDiModeStyles(TWinControl* AForm);
  // The menus the form owns: following the form, or left to right under a
  // mirrored layout, which turns them already.
  static void SetMenusParentBiDiMode(TComponent* AForm);
  static void ResetMenusBiDiMode(TComponent* AForm);
};

// ---------------------------------------------------------------------------
// Windows 11 corners

constexpr DWORD dxDwmWindowCornerPreference = 33;
constexpr int dxCornerDefault = 0;
constexpr int dxCornerDoNotRound = 1;
constexpr int dxCornerRound = 2;
constexpr int dxCornerRoundSmall = 3;

// 1 no rounding, 2 round, 3 round-small; 0 for the default, before Windows 11
// and when the window manager does not answer.
int GetWindowCornerPreference(HWND AWnd);
// False before Windows 11 or when the window manager refuses.
bool SetWindowCornerPreference(HWND AWnd, int APreference);
// Whether the system is Windows 11 or later; tests replace the probe and get
// the previous one back.
using TdxWindows11Probe = bool (*)();
TdxWindows11Probe dxSetWindows11Probe(TdxWindows11Probe AProbe);
// What the probe answers now.
bool dxIsWindows11();

// ---------------------------------------------------------------------------
// Frames

class TdxFrameController : public TObject {
  SK_CLASS(TdxFrameController, TObject)
 public:
  void Create(TCustomFrame* AFrame);
  void Destroy() override;

  TCustomFrame* Frame() const { return FFrame; }
  // 96 × the parent's DPI ratio; 96 without a parent or a ratio.
  int GetParentDPI();

 private:
  void ApplyDPI(int ADpi, bool AScale);
  void WndProc(TMessage& Message);

  TCustomFrame* FFrame;
  TcxWindowProcLinkedObject* FWindowProcObject;
};

class TdxFrameControllerManager {
 public:
  TdxFrameControllerManager() = delete;

  // Only a frame window of this process without a scale factor of its own
  // and without a controller yet.
  static void Register(HWND AWnd);
  static void Unregister(HWND AWnd);
  static TdxFrameController* Find(TCustomFrame* AFrame);
  static int Count();

 private:
  friend class TdxFormHelper;
  static void Initialize();
  static void Finalize();
};

// ---------------------------------------------------------------------------
// Image lists

// Each image list a form's components point to is replaced by the one of the
// same owner named after the target DPI, else after the highest DPI below it
// (the bare name standing for 96).
class TdxFormImageListHelper : public TObject {
  SK_CLASS(TdxFormImageListHelper, TObject)
 public:
  void Create(int ATargetDPI);
  static void Execute(int ATargetDPI, TComponent* AForm);
  TCustomImageList* GetReplacement(TCustomImageList* AImageList);

 private:
  void Visit(TObject* AObject, int ADepth);

  std::map<TCustomImageList*, TCustomImageList*> FReplacementCache;
  int FTargetDPI;
};

// ---------------------------------------------------------------------------
// Fluent design

// A parent that may show an acrylic background.
struct IdxAcrylicContainer : public virtual IInterface {
  static constexpr GUID IID = {0x5B0E4C21, 0x7F3A, 0x4D86, {0x9A, 0x1C, 0x33, 0xE8, 0x62, 0xD4, 0x0B, 0x97}};
  virtual bool HasAcrylic() = 0;

 protected:
  ~IdxAcrylicContainer() = default;
};

// A control told that the layered style was given to its window.
struct IdxFluentDesignStyleListener : public virtual IInterface {
  static constexpr GUID IID = {0xC6A21F58, 0x0D94, 0x4E3B, {0x8F, 0x47, 0x1B, 0x5A, 0xE9, 0x70, 0x2C, 0x63}};
  virtual void LayeredStyleApplied() = 0;

 protected:
  ~IdxFluentDesignStyleListener() = default;
};

class TdxFluentDesignContainerControlHelper {
 public:
  TdxFluentDesignContainerControlHelper() = delete;
  static constexpr COLORREF AcrylicColorKey = 0x00FFFAFA;

  static void CheckStyle(TWinControl* AControl);
  static void CheckStyle(TWinControl* AControl, bool AHasAcrylicParent);
};

// The optional user32 entry points (null where missing).
using TEnableNonClientDpiScaling = BOOL(WINAPI*)(HWND);
TEnableNonClientDpiScaling dxEnableNonClientDpiScaling();
using TSetWindowCompositionAttribute = BOOL(WINAPI*)(HWND, void*);
TSetWindowCompositionAttribute dxSetWindowCompositionAttribute();

// The unit's start-up and shut-down.
void dxFormsInitialization();
void dxFormsFinalization();
