// Forms, the application object and the screen.
//
// Classes in this file:
//   TFormBorderStyle, TBorderIcons, TPosition, TCloseAction, TWindowState,
//   TPopupMode, TDefaultMonitor, TFormState   form settings and states
//   TCustomForm, TForm                  top-level windows made from form descriptions
//   TCustomFrame, TFrame                a control laid out at a resolution of its own, placed on forms
//   THintWindow                         the small window that shows a hint
//   TScreenMonitor, TScreen             monitors, work areas, cursors, forms, focus
//   TApplication                        the message loop, exceptions, hints,
//                                       work queued for the main thread
//   Application(), Screen()             the two process-wide objects
//
// The message loop takes one message at a time, offers it to OnMessage, the
// hint logic and the keyboard filters (the focused control's CN_KEYDOWN,
// CN_CHAR ..., dialog keys and accelerators), and dispatches the rest. An
// exception that reaches a window procedure, the loop or queued work goes
// to HandleException, which shows it (or hands it to OnException) and lets
// the loop go on.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/UITypes.h"

#include <exception>
#include <vector>

class TForm;
class TFiler;
class TScreenMonitor;

// ---------------------------------------------------------------------------
// Types

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
template <>
struct TEnumInfo<TFormBorderStyle> {
  static constexpr const wchar_t* Name = L"TFormBorderStyle";
  static constexpr const wchar_t* Names[] = {L"bsNone",   L"bsSingle",     L"bsSizeable",
                                             L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"};
  static constexpr TFormBorderStyle Last = bsSizeToolWin;
};

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
template <>
struct TEnumInfo<TBorderIcon> {
  static constexpr const wchar_t* Name = L"TBorderIcon";
  static constexpr const wchar_t* Names[] = {L"biSystemMenu", L"biMinimize", L"biMaximize", L"biHelp"};
  static constexpr TBorderIcon Last = biHelp;
};

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
template <>
struct TEnumInfo<TPosition> {
  static constexpr const wchar_t* Name = L"TPosition";
  static constexpr const wchar_t* Names[] = {L"poDesigned",       L"poDefault",       L"poDefaultPosOnly",
                                             L"poDefaultSizeOnly", L"poScreenCenter", L"poDesktopCenter",
                                             L"poMainFormCenter", L"poOwnerFormCenter"};
  static constexpr TPosition Last = poOwnerFormCenter;
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
template <>
struct TEnumInfo<TWindowState> {
  static constexpr const wchar_t* Name = L"TWindowState";
  static constexpr const wchar_t* Names[] = {L"wsNormal", L"wsMinimized", L"wsMaximized"};
  static constexpr TWindowState Last = wsMaximized;
};

// Which window owns a form's window: the application's usual choice, the
// form active when the window is made, or PopupParent.
enum TPopupMode { pmNone, pmAuto, pmExplicit };
template <>
struct TEnumInfo<TPopupMode> {
  static constexpr const wchar_t* Name = L"TPopupMode";
  static constexpr const wchar_t* Names[] = {L"pmNone", L"pmAuto", L"pmExplicit"};
  static constexpr TPopupMode Last = pmExplicit;
};

// The monitor a form moves onto when it first shows; dmDesktop leaves it
// where it was put.
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
template <>
struct TEnumInfo<TDefaultMonitor> {
  static constexpr const wchar_t* Name = L"TDefaultMonitor";
  static constexpr const wchar_t* Names[] = {L"dmDesktop", L"dmPrimary", L"dmMainForm", L"dmActiveForm"};
  static constexpr TDefaultMonitor Last = dmActiveForm;
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };

enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = Delegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Delegate<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = Delegate<void(TObject* Sender, const Exception& E)>;
using TMessageEvent = Delegate<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = Delegate<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = Delegate<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// ---------------------------------------------------------------------------
// TCustomForm

class TCustomForm : public TWinControl {
  SK_CLASS(TCustomForm, TWinControl)
 public:
  static void Publish(TPublisher<TCustomForm>& P);

  // Construction: CreateNew makes an empty form; Create also reads the
  // form descriptions of the class and its ancestors (when the program
  // carries them) and then runs OnCreate.
  void Create(TComponent* AOwner) override;
  virtual void CreateNew(TComponent* AOwner);
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Destroy() override;

  // Showing and closing
  void Show();
  void Hide() { SetVisible(false); }
  // Asks OnCloseQuery, then OnClose decides: hide, free (later), minimise
  // or nothing. Closing the main form ends the application.
  void Close();
  virtual bool CloseQuery();
  // Shows the form, runs the loop until ModalResult is set, hides it again
  // and answers the result. Other windows are disabled meanwhile.
  virtual TModalResult ShowModal();
  // Frees the form once the messages waiting now have been handled.
  void Release();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
  const TFormState& FormState() const { return FFormState; }

  // Window settings
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle AValue);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons AValue);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition AValue);
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState AValue);
  // Both recreate an existing window under its new owner. A PopupParent
  // given to a form without a popup mode makes the mode pmExplicit; with
  // pmExplicit and no PopupParent the main form owns the window.
  TPopupMode PopupMode() const { return FPopupMode; }
  void SetPopupMode(TPopupMode AValue);
  TCustomForm* PopupParent() const { return FPopupParent; }
  void SetPopupParent(TCustomForm* AValue);
  // A layered window: drawn AlphaBlendValue opaque, and without the pixels
  // of TransparentColorValue. Applied whenever the window is made and on
  // each change; with neither, the window is an ordinary one again.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool AValue);
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE AValue);
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool AValue);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor AValue);
  TDefaultMonitor DefaultMonitor() const { return FDefaultMonitor; }
  void SetDefaultMonitor(TDefaultMonitor AValue) { FDefaultMonitor = AValue; }
  // The monitor DefaultMonitor names now (null for dmDesktop, or when the
  // form it names has no window).
  TScreenMonitor* DefaultMonitorTarget();
  int ClientWidth() { return ClientRect().Width(); }
  void SetClientWidth(int AValue);
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientHeight(int AValue);
  TRect ClientRect() override;
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int AValue) { FPixelsPerInch = AValue; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool AValue) { FScaled = AValue; }
  // The text height the form was laid out with (stored with the form).
  int TextHeight() const { return FTextHeight; }

  // Focus
  bool Active() const { return FActive; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* AValue);
  // The control the form last announced with CM_ENTER.
  TWinControl* FocusedControl() const { return FFocusedControl; }
  // Makes AControl active and gives the form the focus when it lacks it.
  void FocusControl(TWinControl* AControl);
  void SetFocus() override;
  // Called for WM_SETFOCUS of a control on the form: exit/enter messages
  // along the way; false when a handler moved the focus elsewhere.
  virtual bool SetFocusedControl(TWinControl* AControl);
  // Takes the focus mark away from a control that hides, is disabled or
  // goes (ARemoving).
  void DefocusControl(TWinControl* AControl, bool ARemoving);
  // Runs the item of a shortcut key message that no popup menu along the
  // focused control's parents took: here the form's own popup menu.
  virtual bool IsShortCut(TMessage& Message);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool AValue) { FKeyPreview = AValue; }
  bool CanFocus() override;

  // Events
  TNotifyEvent OnCreate() const { return FOnCreate; }
  void SetOnCreate(TNotifyEvent AValue) { FOnCreate = AValue; }
  TNotifyEvent OnDestroy() const { return FOnDestroy; }
  void SetOnDestroy(TNotifyEvent AValue) { FOnDestroy = AValue; }
  TNotifyEvent OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent AValue) { FOnShow = AValue; }
  TNotifyEvent OnHide() const { return FOnHide; }
  void SetOnHide(TNotifyEvent AValue) { FOnHide = AValue; }
  TNotifyEvent OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent AValue) { FOnActivate = AValue; }
  TNotifyEvent OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent AValue) { FOnDeactivate = AValue; }
  TCloseQueryEvent OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent AValue) { FOnCloseQuery = AValue; }
  TCloseEvent OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent AValue) { FOnClose = AValue; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DefineProperties(TFiler* AFiler) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow() { CallEvent(FOnShow, this); }
  virtual void DoHide() { CallEvent(FOnHide, this); }
  virtual void DoClose(TCloseAction& Action) { CallEvent(FOnClose, this, Action); }
  virtual void Activate() { CallEvent(FOnActivate, this); }
  virtual void Deactivate() { CallEvent(FOnDeactivate, this); }

  // Message handlers
  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMQueryEndSession(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMRelease(TMessage& Message);
  // A scaled form takes the new DPI and the rectangle the system suggests.
  void WMDpiChanged(TMessage& Message);

 private:
  friend class TApplication;
  void SetActive(bool AValue);
  void SetWindowFocus();
  void CloseModal();
  void ApplyPosition();
  void MoveToDefaultMonitor();
  void RecreateForNewOwner();
  void UpdateLayeredAttributes();
  HWND PopupOwnerWindow() const;
  void FormStyles(DWORD& AStyle, DWORD& AExStyle) const;
  void ReadTextHeight(TReader* AReader);
  void WriteTextHeight(TWriter* AWriter);

  TFormBorderStyle FBorderStyle;
  TBorderIcons FBorderIcons;
  TPosition FPosition;
  TWindowState FWindowState;
  TPopupMode FPopupMode;
  TCustomForm* FPopupParent;
  TDefaultMonitor FDefaultMonitor;
  bool FAlphaBlend;
  BYTE FAlphaBlendValue;
  bool FTransparentColor;
  TColor FTransparentColorValue;
  TFormState FFormState;
  TModalResult FModalResult;
  bool FActive;
  bool FKeyPreview;
  bool FScaled;
  bool FPositioned;
  int FPixelsPerInch;
  int FTextHeight;
  TSize FPendingClientSize;  // a client size asked for before the window exists
  TWinControl* FActiveControl;
  TWinControl* FFocusedControl;
  TNotifyEvent FOnCreate;
  TNotifyEvent FOnDestroy;
  TNotifyEvent FOnShow;
  TNotifyEvent FOnHide;
  TNotifyEvent FOnActivate;
  TNotifyEvent FOnDeactivate;
  TCloseQueryEvent FOnCloseQuery;
  TCloseEvent FOnClose;
};

class TForm : public TCustomForm {
  SK_CLASS(TForm, TCustomForm)
 public:
  static void Publish(TPublisher<TForm>& P);
};

// ---------------------------------------------------------------------------
// TCustomFrame

class TCustomFrame : public TWinControl {
  SK_CLASS(TCustomFrame, TWinControl)
 public:
  void Create(TComponent* AOwner) override;

  // The resolution the frame's description was laid out at.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int AValue) { FPixelsPerInch = AValue; }

 private:
  int FPixelsPerInch;
};

class TFrame : public TCustomFrame {
  SK_CLASS(TFrame, TCustomFrame)
 public:
  static void Publish(TPublisher<TFrame>& P);
};

// ---------------------------------------------------------------------------
// THintWindow

class THintWindow : public TCustomControl {
  SK_CLASS(THintWindow, TCustomControl)
 public:
  void Create(TComponent* AOwner) override;
  // Shows AHint in ARect (screen coordinates).
  virtual void ActivateHint(const TRect& ARect, const String& AHint);
  // The size of the window that shows AHint, at most AMaxWidth wide.
  virtual TRect CalcHintRect(int AMaxWidth, const String& AHint);
  void ReleaseHandle() { DestroyHandle(); }
  bool IsShowing() { return HandleAllocated() && IsWindowVisible(Handle()); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WMNCHitTest(TMessage& Message);

 public:
  static void Publish(TPublisher<THintWindow>& P);
};

// ---------------------------------------------------------------------------
// TScreen

class TScreenMonitor : public TObject {
  SK_CLASS(TScreenMonitor, TObject)
 public:
  void Create(HMONITOR AHandle, int ANum);
  HMONITOR Handle() const { return FHandle; }
  int MonitorNum() const { return FNum; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  bool Primary() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }
  int PixelsPerInch() const;

 private:
  HMONITOR FHandle;
  int FNum;
};

class TScreen : public TComponent {
  SK_CLASS(TScreen, TComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  int PixelsPerInch() const { return FPixelsPerInch; }
  // Tests and DPI changes set it; forms scale to it when they load.
  void SetPixelsPerInch(int AValue) { FPixelsPerInch = AValue; }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  int MonitorCount();
  TScreenMonitor* Monitors(int AIndex);
  TScreenMonitor* PrimaryMonitor();
  TScreenMonitor* MonitorFromPoint(const TPoint& APoint);
  TScreenMonitor* MonitorFromRect(const TRect& ARect);
  TScreenMonitor* MonitorFromWindow(HWND AWnd);

  // The cursor for the whole program (crDefault: each control's own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor AValue);
  HCURSOR Cursors(int AIndex) const;
  // Registers a cursor under an index (positive for a program's own).
  void SetCursors(int AIndex, HCURSOR AValue);

  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int AIndex) const;
  TNotifyEvent OnActiveControlChange() const { return FOnActiveControlChange; }
  void SetOnActiveControlChange(TNotifyEvent AValue) { FOnActiveControlChange = AValue; }
  TNotifyEvent OnActiveFormChange() const { return FOnActiveFormChange; }
  void SetOnActiveFormChange(TNotifyEvent AValue) { FOnActiveFormChange = AValue; }

  // Kept by the forms
  void AddForm(TCustomForm* AForm);
  void RemoveForm(TCustomForm* AForm);
  void SetActiveForm(TCustomForm* AForm);
  void SetActiveControl(TWinControl* AControl);

 private:
  void LoadMonitors();

  int FPixelsPerInch;
  TCursor FCursor;
  std::vector<std::pair<int, HCURSOR>> FCursors;
  std::vector<TScreenMonitor*> FMonitors;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm;
  TWinControl* FActiveControl;
  TNotifyEvent FOnActiveControlChange;
  TNotifyEvent FOnActiveFormChange;
};

// ---------------------------------------------------------------------------
// TApplication

class TApplication : public TComponent {
  SK_CLASS(TApplication, TComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Start-up and the loop
  void Initialize() {}
  // Creates a form of AClass owned by the application; the first one made
  // becomes the main form.
  void CreateForm(TClass AClass, TCustomForm*& AReference);
  template <class T>
  void CreateForm(T*& AReference) {
    TCustomForm* form = nullptr;
    CreateForm(T::ClassInfo(), form);
    AReference = static_cast<T*>(form);
  }
  // Shows the main form and runs the loop until Terminate.
  void Run();
  // Handles one message, or idles and waits for the next.
  void HandleMessage();
  // Handles the messages that wait now, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Leaves Terminated again (for a new run, in tests).
  void ResetTerminated() { FTerminated = false; }

  // Exceptions: call from inside a catch block.
  void HandleException(TObject* Sender);
  // Shows the message in an error box (the default when OnException is not
  // assigned).
  void ShowException(const Exception& E);
  TExceptionEvent OnException() const { return FOnException; }
  void SetOnException(TExceptionEvent AValue) { FOnException = AValue; }

  // The application's own window (hidden), the main form and their settings
  HWND Handle() const { return FHandle; }
  TCustomForm* MainForm() const { return FMainForm; }
  bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
  void SetMainFormOnTaskBar(bool AValue);
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool AValue) { FShowMainForm = AValue; }
  String ExeName() const;
  const String& Title() const { return FTitle; }
  void SetTitle(const String& AValue) { FTitle = AValue; }
  int ModalLevel() const { return FModalLevel; }
  bool Active() const;
  // Whether a change of the regional settings makes the library re-read the
  // run-time's format settings (true by default).
  bool UpdateFormatSettings() const { return FUpdateFormatSettings; }
  void SetUpdateFormatSettings(bool AValue) { FUpdateFormatSettings = AValue; }
  // A message box owned by the active window.
  int MessageBox(const String& AText, const String& ACaption, UINT AFlags = MB_OK);

  // Hints
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool AValue);
  // A new hint goes to OnHint; without one, a THintAction with it is run.
  const String& Hint() const { return FHint; }
  void SetHint(const String& AValue);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int AValue) { FHintPause = AValue; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int AValue) { FHintShortPause = AValue; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int AValue) { FHintHidePause = AValue; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor AValue) { FHintColor = AValue; }
  THintWindow* HintWindow() const { return FHintWindow; }
  TControl* HintControl() const { return FHintControl; }
  void ActivateHint(const TPoint& ACursorPos);
  void CancelHint();
  void HideHint();
  // Every mouse message of a control passes here (hint timing).
  void HintMouseMessage(TControl* AControl, TMessage& Message);
  // A control that goes is forgotten.
  void ControlDestroyed(TControl* AControl);

  // Events
  TNotifyEvent OnHint() const { return FOnHint; }
  void SetOnHint(TNotifyEvent AValue) { FOnHint = AValue; }
  TShowHintEvent OnShowHint() const { return FOnShowHint; }
  void SetOnShowHint(TShowHintEvent AValue) { FOnShowHint = AValue; }
  TIdleEvent OnIdle() const { return FOnIdle; }
  void SetOnIdle(TIdleEvent AValue) { FOnIdle = AValue; }
  TMessageEvent OnMessage() const { return FOnMessage; }
  void SetOnMessage(TMessageEvent AValue) { FOnMessage = AValue; }

  // Runs the work other threads queued for the main thread.
  void RunQueuedWork();

  // Offers an action to the active form's controls (ExecuteAction): its
  // active control first, then the form and every visible control on it,
  // each before its children. Answers whether one ran the action.
  bool ExecuteAction(TBasicAction* AAction);

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsHintMsg(const MSG& Msg);
  void WndProc(TMessage& Message);
  void StartHintTimer(int AValue, UINT AId);
  void StopHintTimer(UINT AId);
  void UpdateActions();

  HWND FHandle;
  TCustomForm* FMainForm;
  bool FMainFormOnTaskBar;
  bool FShowMainForm;
  bool FUpdateFormatSettings;
  bool FTerminated;
  bool FHandlingException;
  int FModalLevel;
  String FTitle;
  bool FShowHint;
  String FHint;
  int FHintPause;
  int FHintShortPause;
  int FHintHidePause;
  TColor FHintColor;
  THintWindow* FHintWindow;
  TControl* FHintControl;
  TRect FHintCursorRect;
  bool FHintActive;
  TExceptionEvent FOnException;
  TNotifyEvent FOnHint;
  TShowHintEvent FOnShowHint;
  TIdleEvent FOnIdle;
  TMessageEvent FOnMessage;
};

// The process-wide objects (null before start-up and after shut-down).
TApplication* Application();
TScreen* Screen();

// The class of the application's hint window (THintWindow unless a library
// restyles hints); nil reads as THintWindow.
TClass HintWindowClass();
void SetHintWindowClass(TClass AValue);

// Whether a form (or any window) of the thread may be disabled for a modal
// one; the modal loop re-enables exactly those it disabled.
std::vector<HWND> DisableTaskWindows(HWND AActiveWindow);
void EnableTaskWindows(const std::vector<HWND>& AWindows);

// Makes AWnd a layered window drawn AAlphaBlendValue opaque and without the
// pixels of ATransparentColorValue, each when asked; with neither asked, an
// ordinary window again, repainted.
void ApplyLayeredAttributes(HWND AWnd, bool AAlphaBlend, BYTE AAlphaBlendValue, bool ATransparentColor,
                            TColor ATransparentColorValue);

void FormsInitialization();
void FormsFinalization();
