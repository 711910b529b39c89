// Hints: application hints restyled by hint style controllers, the library's
// hint windows, and element hints that a control times itself.
//
// Classes in this file:
//   TcxHintAnimationStyle                        how a hint window appears
//   IcxHintableObject, IcxHintableObject2,
//   IcxHintWindowHelper                          what a hinted element offers
//   TcxCustomHintStyle                           restyles application hints
//   TcxCustomHintStyleController                 a component that owns a style
//   TcxHintController (HintController())         the one hook in
//                                                Application->OnShowHint
//   TcxBaseHintWindow, TcxCustomHintWindow       hint windows with a show
//                                                animation and a caption
//   TcxCustomHintHelper                          element hints: a 900 ms pause,
//                                                a 100 ms check, a hide pause
//
// Element hints run on the helper's own timers: ActivateHint starts the
// pause; the show timer shows the hint; every check tick hides it again once
// the mouse is pressed, the application deactivates or the cursor is on
// another control; the hide timer ends it; leaving the element's area ends
// the mouse tracking, which cancels it. The element hinted last does not show
// again until another one is hinted.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "platform/ui/Forms.h"

#include <functional>

class TcxLookAndFeel;
class TcxCustomLookAndFeelPainter;
class TcxCustomHintStyleController;
class TdxScaleFactor;

enum TcxHintAnimationStyle {
  cxhaSlideFromLeft, cxhaSlideFromRight, cxhaSlideDownward, cxhaSlideUpward, cxhaSlideFromCenter, cxhaHide,
  cxhaActivate, cxhaFadeIn, cxhaAuto, cxhaNone
};

// ---------------------------------------------------------------------------
// What a hinted element offers

// Optional: how the element's hint behaves.
struct IcxHintableObject : public virtual IInterface {
  static constexpr GUID IID = {0x6A3C0E52, 0x91D4, 0x4B7F, {0x8E, 0x21, 0x5F, 0x0B, 0x93, 0xC4, 0x7A, 0x16}};
  // P in the hint control's client coordinates.
  virtual bool HasHintPoint(const TPoint& P) = 0;
  virtual bool IsHintAtMousePos() = 0;
  virtual bool UseHintHidePause() = 0;

 protected:
  ~IcxHintableObject() = default;
};

// Required of an element whose hint a helper shows.
struct IcxHintableObject2 : public virtual IInterface {
  static constexpr GUID IID = {0x2F8D7B41, 0x0C6E, 0x4A95, {0xB3, 0x57, 0xD8, 0x1A, 0x64, 0xE2, 0x09, 0xCF}};
  virtual TObject* GetObject() = 0;
  virtual String GetHintText() = 0;
  virtual bool GetHintTextUseWidth() = 0;
  // Nil: the hint window's own font.
  virtual TFont* GetHintFont() = 0;
  // Client coordinates of the hint control.
  virtual TRect GetHintAreaBounds() = 0;
  virtual TRect GetHintTextRect() = 0;

 protected:
  ~IcxHintableObject2() = default;
};

// Optional, of a hint window: told where the hinted area is before it shows.
struct IcxHintWindowHelper : public virtual IInterface {
  static constexpr GUID IID = {0xB4E2950D, 0x7F31, 0x4C08, {0x9A, 0x6C, 0x13, 0xD7, 0x4E, 0xB8, 0x25, 0x6A}};
  // AHintAreaBounds in screen coordinates.
  virtual void SetHintAreaBounds(const TRect& AHintAreaBounds, bool AUseMousePos) = 0;

 protected:
  ~IcxHintWindowHelper() = default;
};

// ---------------------------------------------------------------------------
// Hint styles and their controllers

class TcxCustomHintStyle : public TcxInterfacedPersistent {
  SK_CLASS(TcxCustomHintStyle, TcxInterfacedPersistent)
 public:
  // AOwner: the style controller.
  void Create(TPersistent* AOwner) override;
  // The base has nothing to copy; styles copy their own settings.
  void Assign(TPersistent* ASource) override;
  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

  virtual void StyleControllerChanged(TcxCustomHintStyleController*) {}
  virtual void StyleControllerRemoved(TcxCustomHintStyleController*) {}
  virtual void ProcessShowHint(String&, bool&, THintInfo&) {}
  virtual void ComponentRemoved(TComponent*) {}
  // The class of the window the style's hints show in (a TcxCustomHintWindow).
  virtual TClass StyleHintWindowClass() = 0;

 protected:
  void Changed() { CallEvent(FOnChanged, this); }

 private:
  TNotifyEvent FOnChanged;
};

// Style classes a style controller can be given by name.
void RegisterHintStyleClass(TClass AClass);
void UnregisterHintStyleClass(TClass AClass);
TClass FindHintStyleClass(const String& AClassName);

using TcxHintStyleChangedEvent = Delegate<void(TObject* Sender, TcxCustomHintStyle* AStyle)>;
using TcxShowHintEvent = Delegate<void(TObject* Sender, String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TcxShowHintExEvent =
    Delegate<void(TObject* Sender, String& Caption, String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TcxCustomHintWindow;

class TcxCustomHintStyleController : public TcxCustomComponent {
  SK_CLASS(TcxCustomHintStyleController, TcxCustomComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;
  void Loaded() override;

  // Application hints through this controller's style and window.
  void ProcessApplicationHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
  // A hint at the screen point, for the library control under it.
  void ShowHint(int X, int Y, int AMaxWidth, const String& AHint, const String& ACaption = String());
  void HideHint();

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

  // Objects told of style changes (StyleControllerChanged, then
  // OnHintStyleChanged with the listener) and of the controller's end.
  void AddListener(TcxCustomHintStyle* AListener);
  void RemoveListener(TcxCustomHintStyle* AListener);

  bool Global() const { return FGlobal; }
  void SetGlobal(bool AValue) { FGlobal = AValue; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int AValue);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int AValue);
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int AValue);
  TClass HintStyleClass() const { return FHintStyleClass; }
  // Frees window and style and makes them again of the new class.
  void SetHintStyleClass(TClass AValue);
  TcxCustomHintStyle* HintStyle() const { return FHintStyle.get(); }
  TcxCustomHintWindow* HintWindow() const { return FHintWindow; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const;
  bool UseHintControlLookAndFeel() const { return FUseHintControlLookAndFeel; }
  void SetUseHintControlLookAndFeel(bool AValue) { FUseHintControlLookAndFeel = AValue; }
  // The style's window class; TcxCustomHintWindow without a style.
  TClass WindowClass() const;

  TcxHintStyleChangedEvent OnHintStyleChanged() const { return FOnHintStyleChanged; }
  void SetOnHintStyleChanged(TcxHintStyleChangedEvent AValue) { FOnHintStyleChanged = AValue; }
  TcxShowHintEvent OnShowHint() const { return FOnShowHint; }
  void SetOnShowHint(TcxShowHintEvent AValue) { FOnShowHint = AValue; }
  TcxShowHintExEvent OnShowHintEx() const { return FOnShowHintEx; }
  void SetOnShowHintEx(TcxShowHintExEvent AValue) { FOnShowHintEx = AValue; }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  void CreateStyleAndWindow();
  void FreeStyleAndWindow();
  void StyleChanged(TObject* Sender);
  void ApplyPauses();

  bool FGlobal;
  int FHintShortPause;
  int FHintPause;
  int FHintHidePause;
  TClass FHintStyleClass;
  TcxCustomHintWindow* FHintWindow;  // owned as a component of the controller
  std::vector<TcxCustomHintStyle*> FListeners;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  int FUpdateCount;
  bool FUseHintControlLookAndFeel;
  TcxHintStyleChangedEvent FOnHintStyleChanged;
  TcxShowHintEvent FOnShowHint;
  TcxShowHintExEvent FOnShowHintEx;
  TOwned<TcxCustomHintStyle> FHintStyle;
};

class TcxHintController : public TComponent {
  SK_CLASS(TcxHintController, TComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  void RegisterStyleController(TcxCustomHintStyleController* AController);
  void UnregisterStyleController(TcxCustomHintStyleController* AController);
  // The controller that serves the hinted control: one owned by the control
  // or a parent (or, for an inner control, by its container's parents), else
  // the newest global one, else nil.
  TcxCustomHintStyleController* ActiveStyleController();
  TClass GetHintWindowClass();
  TControl* HintedControl() const { return FHintedControl; }
  void SetHintedControl(TControl* AValue);
  int ControllerCount() const { return static_cast<int>(FControllerList.size()); }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  void ApplicationShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
  TControl* FindHintedControl() const;
  bool IsHooked() const;

  TControl* FHintedControl;
  std::vector<TcxCustomHintStyleController*> FControllerList;
  TShowHintEvent FSavedApplicationOnShowHint;
  TClass FSavedHintWindowClass;
  bool FHooked;
};

// Nil before the unit's start-up and after its shut-down.
TcxHintController* HintController();

// ---------------------------------------------------------------------------
// Hint windows

class TcxBaseHintWindow : public THintWindow {
  SK_CLASS(TcxBaseHintWindow, THintWindow)
 public:
  static void Publish(TPublisher<TcxBaseHintWindow>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;
  void ActivateHint(const TRect& ARect, const String& AHint) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TcxHintAnimationStyle AnimationStyle() const { return FAnimationStyle; }
  void SetAnimationStyle(TcxHintAnimationStyle AValue) { FAnimationStyle = AValue; }
  int AnimationDelay() const { return FAnimationDelay; }
  void SetAnimationDelay(int AValue) { FAnimationDelay = AValue; }
  bool AbsolutePosition() const { return FAbsolutePosition; }
  void SetAbsolutePosition(bool AValue) { FAbsolutePosition = AValue; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle AValue);
  bool HasAnimation() const { return FHasAnimation; }
  bool StandardHint() const { return FStandardHint; }
  void SetStandardHint(bool AValue) { FStandardHint = AValue; }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  // The style that runs when the system's tooltip settings are applied.
  TcxHintAnimationStyle EffectiveAnimationStyle();
  // The AnimateWindow flags of a style (AW_SLIDE included); 0 for cxhaNone.
  static DWORD AnimationFlags(TcxHintAnimationStyle AStyle);

  // The window's controls rescaled from its DPI to ADpi.
  void ScaleForPPI(int ADpi);
  void CheckMonitorDpi(const TPoint& P);

  // Injected for tests: the system's AnimateWindow, the tick counter, and
  // SystemParametersInfo's Boolean answers (SPI_GETTOOLTIPANIMATION,
  // SPI_GETTOOLTIPFADE).
  using TAnimateWindowFunc = std::function<BOOL(HWND, DWORD, DWORD)>;
  void SetAnimateWindow(TAnimateWindowFunc AValue) { FAnimateWindow = std::move(AValue); }
  void SetTickCount(std::function<DWORD()> AValue) { FTickCount = std::move(AValue); }
  void SetSystemSetting(std::function<bool(UINT)> AValue) { FSystemSetting = std::move(AValue); }

  virtual void FitToWorkArea(TRect& R);
  virtual void SetHintAreaBounds(const TRect& R, bool AUseMousePos);

 protected:
  void CreateParams(TCreateParams& Params) override;
  virtual void RemoveWindowRegion();
  virtual void ApplyWindowShape() {}
  virtual bool HasWindowShape() { return false; }
  virtual void ShowHintWindow();
  void StartAnimation(const String& AHint);

  bool FStandardHint;

 private:
  void CMTextChanged(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  DWORD TickCount() const;
  TRect WorkAreaAt(const TPoint& P) const;

  bool FAbsolutePosition;
  bool FActivating;
  TcxHintAnimationStyle FAnimationStyle;
  int FAnimationDelay;
  TFormBorderStyle FBorderStyle;
  bool FHasAnimation;
  TRect FHintAreaBounds;
  DWORD FLastActive;
  bool FNeedEraseBackground;
  TOwned<TdxScaleFactor> FScaleFactor;
  bool FUseMousePos;
  TAnimateWindowFunc FAnimateWindow;
  std::function<DWORD()> FTickCount;
  std::function<bool(UINT)> FSystemSetting;
};

class TcxCustomHintWindow : public TcxBaseHintWindow {
  SK_CLASS(TcxCustomHintWindow, TcxBaseHintWindow)
 public:
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue) { FCaption = AValue; }
  // The hint's window at the screen point (at the DPI of the monitor there).
  virtual void ShowHintAt(int X, int Y, int AMaxWidth, const String& AHint, const String& ACaption);

 private:
  String FCaption;
};

// ---------------------------------------------------------------------------
// Element hints

class TcxCustomHintHelper : public TcxIUnknownObject, public IcxMouseTrackingCaller2 {
  SK_CLASS(TcxCustomHintHelper, TcxIUnknownObject)
 public:
  static constexpr unsigned HintShowPause = 900;
  static constexpr unsigned HintCheckInterval = 100;
  static constexpr int MaxHintTextLength = 32768;

  virtual void Create();
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Starts the pause for the element (nil, or an empty text: only cancels).
  void ActivateHint(IcxHintableObject2* AHintableObject);
  void ShowHint(const TRect& AHintAreaBounds, const TRect& ATextRect, TFont* AFont, TObject* AObject,
                bool AUseTextWidth, const String& AText);
  void HideHint();
  void CancelHint();
  virtual void MouseDown();
  // The element goes: its hint or its pending pause goes with it.
  void UnsubscribeHintObject(TObject* AObject);
  virtual void ResetLastHintElement();

  THintWindow* HintWindow() const { return FHintWindow.get(); }
  TObject* HintableObject() const { return FHintableObject; }
  TObject* ActivatingHintObject() const { return FActivatingHintObject; }
  TObject* LastHintableObject() const { return FLastHintableObject; }
  const String& LastHintText() const { return FLastHintText; }
  int HintHidePause() const { return FHintHidePause; }
  // The three timers while they exist (nil otherwise).
  TcxTimer* ShowTimer() const { return FHintShowTimer.get(); }
  TcxTimer* CheckerTimer() const { return FHintCheckerTimer.get(); }
  TcxTimer* HideTimer() const { return FHintHideTimer.get(); }
  // The hint window's rectangle for a text, in screen coordinates.
  virtual TRect CalculateHintWindowRect(const TRect& AHintAreaBounds, const TRect& ATextRect, bool AUseTextWidth,
                                        const String& AText);

  // IcxMouseTrackingCaller2
  void MouseLeave() override { CancelHintRequest(); }
  bool PtInCaller(const TPoint& P) override { return IsPointInHintArea(P); }

  virtual bool IsPointInHintArea(const TPoint& P);
  virtual bool CanShowHint();

 protected:
  virtual void CancelHintRequest() { CancelHint(); }
  virtual void InflateHintWindowRect(TRect& R);
  virtual TControl* GetHintControl() = 0;
  virtual void GetHintAreaBounds(TRect& R) { R = TRect(); }
  virtual int GetHintHidePause();
  virtual TClass GetHelperHintWindowClass();
  virtual TControl* GetOwnerControl() { return nullptr; }
  virtual bool HintFollowsMouse();
  virtual bool HidesOnMouseDown() { return true; }
  virtual bool UsesHidePause();

 private:
  void ShowTimerHandler(TObject* Sender);
  void CheckerTimerHandler(TObject* Sender);
  void HideTimerHandler(TObject* Sender);
  void StopShowTimer();
  void StartTracking(const TRect& ABounds);
  IPtr<IcxHintableObject> HintableIntf() const;
  TWinControl* HintWinControl();
  void DoShow(const TRect& AHintAreaBounds, const TRect& ATextRect, TFont* AFont, TObject* AObject,
              bool AUseTextWidth, const String& AText);

  TObject* FActivatingHintObject;
  IcxHintableObject2* FActivatingHintIntf;
  TObject* FHintableObject;
  TRect FHintAreaBounds;
  TOwned<TcxTimer> FHintCheckerTimer;
  TOwned<TcxTimer> FHintHideTimer;
  int FHintHidePause;
  TOwned<TcxTimer> FHintShowTimer;
  unsigned FHintShowPause;
  TObject* FLastHintableObject;
  TPoint FLastHintMousePos;
  String FLastHintText;
  TRect FHintTextRect;
  TOwned<THintWindow> FHintWindow;
};


void cxHintsInitialization();
void cxHintsFinalization();
