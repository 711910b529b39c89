// The control unit.
//
// Classes in this file:
//   TcxMessageWindow        a hidden window with an overridable window procedure
//                           (declared in library/core/system/cxMessageWindow.h, which
//                           the foundation's own message windows derive from)
//   TcxSystemController     wakes the UI thread for pending synchronisation
//                           when the library runs inside a dynamic library
//   IdxSystemInfoListener, TdxSystemInfo   cached system settings and their changes
//   TdxMessagesController   locked message kinds, one swallowed message, purging
//   TcxWindowProcLinkedObject, TcxWindowProcLinkedObjectList, TcxSubclassingHelper,
//   TcxClassLibrarySubclassingHelper, TcxWin32SubclassingHelper, TcxWindowProcController
//                           chains of handlers that see the messages of a window
//                           they do not own (cxControls_WindowProc.cpp)
//   TMouseTrackingTimer, TcxMouseTrackingTimerList
//                           timer-based mouse tracking; the drag-detect and
//                           middle-button scrolling loops (cxControls_Mouse.cpp)
//   IcxPopupMenu, IcxDropDownMenu   components that pop up as menus
//   TdxApplicationActivateWindowHelper   keeps listed forms above a modal one
//                           (the unit's routines: cxControls_Routines.cpp)
//   TcxDragAndDropObject    one drag and drop inside a control
//   TcxControlHelper, TcxControlDefaultHandlerHelper, IdxLockedStateImageOwner
//                           scaling, the locked-state snapshot, unhandled keys
//   TcxControlHintHelper    element hints of a library control (cxControls_Hints.cpp)
//   TcxPopupAlignHorz, TdxRightToLeftLayoutConverter   mirroring for right to left
//   TdxControlsDesignSelectorHelper   the selection glyph of containers at
//                           design time (cxControls_Helpers.cpp)
//   TcxCustomControl, TcxControl   the base of the library's own controls:
//                           creation, scaling, look and feel (cxControls_Control.cpp),
//                           painting (cxControls_Painting.cpp), input
//                           (cxControls_Input.cpp)
//   TcxControlChildComponent   a component bound to one control
//   TScrollStyle, TcxScrollBarData, IcxControlScrollBar, TcxControlScrollBar,
//   TcxSizeGrip, TcxControlCustomScrollBars, TcxControlWindowedScrollBars,
//   TdxMainScrollbarsOwnerHelper, TcxControlMainScrollbarsHelper
//                           a control's main scroll bars and size grip
//                           (cxControls_ScrollBars.cpp)
//   TcxCustomPopupScrollBarHelper, TcxPopupScrollBarHelper, TdxHybridScrollBarHelper,
//   TcxPopupScrollBarViewInfo, TcxPopupScrollBarPainter, TdxHybridScrollBarPainter,
//   TcxControlPopupScrollBar, TcxPopupSizeGrip
//                           overlay main bars and grip: layered popups over
//                           the control (cxControls_PopupScrollBars.cpp)
//   TcxControlScrollBarHelper, TcxControlScrollBarsManager
//                           bars without a window of their own and the
//                           manager that routes the mouse to them
//                           (cxControls_ScrollBarsManager.cpp)
//
// Process-wide services: the system controller exists from the unit's
// start-up on; SystemInfo, MessagesController and WindowProcController are
// created on first use.
// All are freed at the unit's shut-down, after which the accessors answer nil.
// Everything here runs on the UI thread.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/cxMessageWindow.h"
#include "library/graphics/system/cxWindowGeometry.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/core/system/dxGestures.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "library/controls/control/cxHints.h"
#include "library/controls/scrollbars/cxScrollBar.h"
#include "library/controls/scrollbars/dxHybridScrollbars.h"
#include "library/controls/scrollbars/dxTouchScrollUI.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/UITypes.h"
#include "platform/runtime/Threads.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TCustomForm;
class TcxCanvas;

// ---------------------------------------------------------------------------
// System controller

class TcxSystemController : public TcxMessageWindow {
  SK_CLASS(TcxSystemController, TcxMessageWindow)
 public:
  // The message that asks the UI thread to run pending synchronisation.
  static constexpr UINT WM_SYNCHRONIZE_THREADS = 0x8066;

  // Takes over the run-time's main-thread wake-up only inside a dynamic
  // library (an executable's application object does that work).
  void Create() override { Create(IsInsideLibrary()); }
  virtual void Create(bool AInsideLibrary);
  // Puts the previous wake-up back.
  void Destroy() override;

 protected:
  void WndProc(TMessage& AMessage) override;

 private:
  bool FWakeInstalled;
  TWakeMainThread FPrevWakeMainThread;
};

// ---------------------------------------------------------------------------
// System information

struct IdxSystemInfoListener : public virtual IInterface {
  static constexpr GUID IID = {0xF137963E, 0x6165, 0x47F9, {0xA4, 0xC7, 0x96, 0xBB, 0x4E, 0xB9, 0x1A, 0xE0}};
  // A system setting changed (its SPI_SET... code).
  virtual void Changed(UINT AParameter) = 0;

 protected:
  ~IdxSystemInfoListener() = default;
};

class TdxSystemInfo : public TcxMessageWindow {
  SK_CLASS(TdxSystemInfo, TcxMessageWindow)
 public:
  // Reads the cached settings.
  void Create() override;
  void Destroy() override;

  void AddListener(IdxSystemInfoListener* AListener);
  void RemoveListener(IdxSystemInfoListener* AListener);
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }

  // SystemParametersInfoW for one SPI_GET... code into AValue (a record's
  // size field is filled in first where the code needs it).
  bool GetParameter(UINT ACode, void* AValue);
  template <class T>
  bool GetParameter(UINT ACode, T& AValue) { return GetParameter(ACode, static_cast<void*>(&AValue)); }
  bool IsRemoteSession();

  bool IsDropShadow() const { return FIsDropShadow; }
  const NONCLIENTMETRICSW& NonClientMetrics() const { return FNonClientMetrics; }
  bool UseMouseWheelRouting() const { return FUseMouseWheelRouting; }

 protected:
  // Message-only before Windows 10; there and later a hidden top-level
  // window, which hears the setting broadcasts.
  bool IsMessageOnly() override;
  void WndProc(TMessage& AMessage) override;
  // Reads the cached value of one SPI_SET... code again.
  void UpdateCache(UINT AParameter);

 private:
  bool FIsDropShadow;
  std::vector<IPtr<IdxSystemInfoListener>> FListeners;
  NONCLIENTMETRICSW FNonClientMetrics;
  bool FUseMouseWheelRouting;
};

// ---------------------------------------------------------------------------
// Messages controller

class TdxMessagesController : public TObject {
  SK_CLASS(TdxMessagesController, TObject)
 public:
  // Gives a still blocked window its procedure back.
  void Destroy() override;

  // A number may be locked more than once; each unlock removes one.
  void LockMessages(std::initializer_list<UINT> AMessages);
  void UnlockMessages(std::initializer_list<UINT> AMessages);
  bool IsMessageLocked(UINT AMessage) const;
  // The window's next message, whatever it is, is swallowed (answered 1).
  // Raises EdxException "dxLockMessage fails" while another window is
  // blocked.
  void BlockMessage(HWND AWnd);
  // BlockMessage for a locked message, which then becomes 0.
  void BlockLockedMessage(HWND AWnd, UINT& AMessage);
  bool IsBlocked() const { return FOldWndProc != nullptr; }
  // A message of that number waits in the queue for that window.
  bool IsMessageInQueue(HWND AWnd, UINT AMessage);
  // Removes the window's messages from AMsgFrom to AMsgTo (0: AMsgFrom only):
  // all with APurgeAll, else the first. A removed WM_QUIT is posted again
  // and ends the removal. Whether a message was removed.
  bool KillMessages(HWND AWnd, UINT AMsgFrom, bool APurgeAll = true, UINT AMsgTo = 0);

 private:
  static LRESULT CALLBACK BlockingWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
  void Unblock();

  std::vector<UINT> FLockedMessages;
  WNDPROC FOldWndProc;
  HWND FBlockedWnd;
};

// ---------------------------------------------------------------------------
// Window-procedure chains
//
// A chain holds, for one class-library control or one raw window, the
// handlers that see its messages before it does. The newest handler runs
// first; one that wants the usual processing calls DefaultProc on its own
// node, which hands the message to the next older handler and in the end to
// the window's initial procedure. Adding the first handler subclasses the
// window; removing the last puts the initial procedure back.
//
// A handler may remove any node, itself and the last one included, while a
// message runs through the chain: a removed node leaves the chain at once
// but lives on, still passing messages to the node before it, until the
// outermost message of the chain has returned.

class TcxWindowProcLinkedObjectList;

class TcxWindowProcLinkedObject : public TcxDoublyLinkedObject {
  SK_CLASS(TcxWindowProcLinkedObject, TcxDoublyLinkedObject)
 public:
  // Hands the message to the next older handler or the initial procedure.
  void DefaultProc(TMessage& Message);

  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  const TWndMethod& WindowProc() const { return FWindowProc; }

 private:
  friend class TcxWindowProcLinkedObjectList;
  friend class TcxWindowProcController;
  TcxWindowProcLinkedObject* Predecessor() const;

  TControl* FControl;
  HWND FHandle;
  TWndMethod FWindowProc;
  TcxWindowProcLinkedObjectList* FChain;
  // A node taken off its chain while a message ran through it: the node it
  // passed messages to then.
  TcxWindowProcLinkedObject* FDetachedPrev;
};

// How a chain takes the window's messages and gives them back.
class TcxSubclassingHelper : public TObject {
  SK_CLASS(TcxSubclassingHelper, TObject)
 public:
  // The procedure that was in place before subclassing.
  const TWndMethod& DefaultWindowProc() const { return FDefaultWindowProc; }

 protected:
  friend class TcxWindowProcLinkedObjectList;
  virtual TcxWindowProcLinkedObject* CreateLinkedObject(TcxWindowProcLinkedObjectList* AList);
  virtual void RestoreDefaultProc() = 0;
  // Stores the initial procedure and installs the chain's dispatcher.
  virtual void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) = 0;

  TWndMethod FDefaultWindowProc;
};

// Through the control's replaceable WindowProc.
class TcxClassLibrarySubclassingHelper : public TcxSubclassingHelper {
  SK_CLASS(TcxClassLibrarySubclassingHelper, TcxSubclassingHelper)
 public:
  void Create(TControl* AControl);

 protected:
  void RestoreDefaultProc() override;
  void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) override;

 private:
  // The control's own dispatch when it had no WindowProc of its own.
  void ControlWndProc(TMessage& Message);

  TControl* FControl;
  TWndMethod FPrevWindowProc;  // as it was, empty included
};

// Through GWLP_WNDPROC; the previous procedure is called with CallWindowProcW.
class TcxWin32SubclassingHelper : public TcxSubclassingHelper {
  SK_CLASS(TcxWin32SubclassingHelper, TcxSubclassingHelper)
 public:
  void Create(HWND AHandle);

 protected:
  void RestoreDefaultProc() override;
  void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) override;

 private:
  void CallAPIDefaultWndProc(TMessage& Message);
  static LRESULT CALLBACK APIWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

  HWND FHandle;
  WNDPROC FAPIWndProc;
  WNDPROC FAPIDefaultWndProc;
};

// The chain of one window. Its first node holds the initial procedure.
class TcxWindowProcLinkedObjectList : public TcxDoublyLinkedObjectList {
  SK_CLASS(TcxWindowProcLinkedObjectList, TcxDoublyLinkedObjectList)
 public:
  void Create(TControl* AControl);
  void Create(HWND AHandle);
  void Destroy() override;

  TcxWindowProcLinkedObject* AddHandler(const TWndMethod& AWindowProc);
  // Takes the node off the chain; it is freed once no message runs through
  // the chain. Answers whether only the initial-procedure node remains.
  bool RemoveHandler(TcxWindowProcLinkedObject* ANode);
  // The window gets its initial procedure back; the chain frees itself once
  // no message runs through it.
  void Release();
  // Every message of the window comes here first.
  void WndProc(TMessage& Message);

  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  int HandlerCount() const { return Count() - 1; }

 protected:
  TClass GetNodeClass() override { return TcxWindowProcLinkedObject::ClassInfo(); }

 private:
  void Subclass(TcxSubclassingHelper* AHelper);
  void FreeDetachedNodes();

  TOwned<TcxSubclassingHelper> FHelper;
  TControl* FControl;
  HWND FHandle;
  int FDispatchDepth;
  bool FReleased;
  std::vector<TcxWindowProcLinkedObject*> FDetached;
};

class TcxWindowProcController : public TObject {
  SK_CLASS(TcxWindowProcController, TObject)
 public:
  // Gives every window its initial procedure back.
  void Destroy() override;

  // Nil for a nil control or a 0 handle.
  TcxWindowProcLinkedObject* Add(TControl* AControl, const TWndMethod& AWindowProc);
  TcxWindowProcLinkedObject* Add(HWND AHandle, const TWndMethod& AWindowProc);
  // Removes the handler and clears the variable; nothing for nil.
  void Remove(TcxWindowProcLinkedObject*& AObject);
  int ChainCount() const { return static_cast<int>(FWindowProcObjects.size()); }

 private:
  TcxWindowProcLinkedObjectList* Find(TControl* AControl, HWND AHandle) const;

  std::vector<TOwned<TcxWindowProcLinkedObjectList>> FWindowProcObjects;
};

// ---------------------------------------------------------------------------
// Mouse tracking
//
// For windows and parts the system does not track, a 10 ms timer per caller
// watches the cursor and tells the caller (and the control, with
// CM_MOUSELEAVE) when it has left. A timer ends quietly when its control is
// freed, and every tracking of a control ends when its window goes
// (EndAllMouseTracking), so no tick reaches a control that is gone.

class TMouseTrackingTimer : public TcxTimer {
  SK_CLASS(TMouseTrackingTimer, TcxTimer)
 public:
  IPtr<IcxMouseTrackingCaller> Caller;
  TWinControl* Control;
  TRect Bounds;  // screen coordinates

  // The caller as one object, whichever of its interfaces named it.
  IInterface* CallerIdentity() const { return static_cast<IInterface*>(Caller.Get()); }
  void SetControl(TWinControl* AValue);
  // One look at the cursor; ends the tracking when it has left.
  void Tick(TObject* Sender);

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  bool IsCursorInside(const TPoint& P);
};

// The running timers, in order of their start; owns them.
class TcxMouseTrackingTimerList : public TdxFastList {
  SK_CLASS(TcxMouseTrackingTimerList, TdxFastList)
 public:
  // Timers still running at shut-down are freed without telling anyone.
  void Destroy() override;
  TMouseTrackingTimer* Timers(int AIndex) const { return static_cast<TMouseTrackingTimer*>(Items(AIndex)); }
  TMouseTrackingTimer* Find(IInterface* ACallerIdentity) const;
};

// Nothing once the unit's shut-down has begun, or when the caller is tracked
// already. ABounds are client coordinates of AControl, or screen coordinates
// without a control.
void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller);
void EndMouseTracking(IcxMouseTrackingCaller* ACaller);
bool IsMouseTrackingActive(IcxMouseTrackingCaller* ACaller);
// Ends every tracking of the control (its window goes): each caller hears of
// the leave and the control gets WM_MOUSELEAVE, unless the control, its
// owner or its parent is being destroyed; then the timers just go.
void EndAllMouseTracking(TWinControl* AControl);
// The number of running tracking timers (0 after shut-down).
int MouseTrackingTimerCount();

// ---------------------------------------------------------------------------
// Modal mouse loops (each pumps the thread's messages until it ends)

// How the drag-detect loop ended.
enum TcxDragDetect { ddNone, ddDrag, ddCancel };

// With a button down at AStartPoint (screen): ddDrag once the mouse leaves
// the square of twice the drag threshold around it, ddNone when a button is
// released first, ddCancel on Esc or when the window loses the capture.
TcxDragDetect cxDragDetect(HWND AWnd, const TPoint& AStartPoint);

// One step of middle-button scrolling in a direction.
using TcxScrollContentProc = std::function<void(TcxDirection ADirection)>;

// Where the mouse is relative to the origin of middle-button scrolling.
struct TcxMiddleButtonScrollState {
  TcxDirection Direction = dirNone;
  int Speed = 0;  // 0 in the neutral zone, else 1..12
};
// The neutral zone is a square of AMarkerWidth around the origin, stretched
// over the whole screen along an axis whose bar is hidden.
TcxMiddleButtonScrollState MiddleButtonScrollStateAt(const TPoint& AOrigin, const TPoint& APoint, int AMarkerWidth,
                                                     bool AHorzScrollBarVisible, bool AVertScrollBarVisible);
// The screen cursor index for a state (the neutral one by the visible bars).
int MiddleButtonScrollCursor(const TcxMiddleButtonScrollState& AState, bool AHorzScrollBarVisible,
                             bool AVertScrollBarVisible);
// Runs middle-button scrolling for the control from the cursor position:
// AStep is called every (13 - speed)-th tick of a 20 ms timer. AScrolling is
// true for the duration. Nothing when neither bar is visible.
void MiddleButtonScrolling(TWinControl* AControl, bool AHorzScrollBarVisible, bool AVertScrollBarVisible,
                           bool& AScrolling, const TcxScrollContentProc& AStep);

// ---------------------------------------------------------------------------
// The unit's routines

TPoint ReadCursorPos();
// MK_ flags from the asynchronous state of the buttons, Shift and Ctrl.
WPARAM GetAsyncMouseKeys();
UINT DoubleClickInterval();
// The work area of the monitor nearest the point (the screen's without one).
TRect WorkAreaAtPoint(const TPoint& P);
TRect WorkAreaOfRect(const TRect& R);
bool IsPlainMouseMove(const TShiftState& AShift);
bool IsLeftButtonOnly(const TShiftState& AShift, bool AAllowDoubleClick = false);
bool IsButtonDownMessage(UINT AMsg);
bool IsChildWindowStyle(HWND AWnd);
// AWnd is AParent or a descendant of it.
bool IsSameOrChildWindow(HWND AParent, HWND AWnd);
bool IsCtrlKeyDown();
// Enabled, and for a child window its parents too.
bool IsWindowEnabledDeep(HWND AWnd);
bool IsControlWindowVisible(TWinControl* AControl);
// The first class-library control on the window or its ancestors.
TWinControl* FindClassLibraryControl(HWND AWnd);
TComponent* FindComponentOfClass(TComponent* AOwner, TClass AClass);
// A point of the control in AParent's client coordinates.
TPoint PointToParent(TControl* AControl, TWinControl* AParent, const TPoint& P);
TCustomForm* ParentFormOfWindow(HWND AWnd);
// The screen's active form, else the form of the active window.
TCustomForm* ActiveCustomForm();
// Sends the message to the control and each parent up to the first form (not
// included).
void PerformUpToForm(TControl* AControl, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
// Both distances to the mouse-down point below the drag threshold.
bool IsWithinDragDetectArea(const TPoint& AMouseDownPos, const TPoint& P);
// R moved by the least amount that brings it inside the work area at P:
// right and bottom edges first, then left and top.
TRect FitRectToWorkArea(const TRect& R, const TPoint& P);
TPoint MapPointBetweenWindows(HWND AFromWnd, HWND AToWnd, const TPoint& P);
// CM_RECREATEWND to a control that has a window, posted or sent.
void RequestRecreateWindow(TWinControl* AControl, bool APost);
// The window rectangle in the parent's client coordinates; empty on failure.
TRect GetControlWindowRect(TWinControl* AControl);
// The client area's top-left inside the window rectangle.
TPoint ClientOriginInWindow(HWND AWnd);
// The deepest visible window under a screen point.
HWND DeepWindowFromPoint(const TPoint& P);
void SetZOrder(HWND AWnd, HWND AInsertAfter, bool AActivate);
WPARAM ShiftToMouseKeyFlags(const TShiftState& AShift);
void AdjustControlAutoSize(TControl* AControl);
// Sets AInclude's bits and clears AExclude's in the window long; the new value.
LONG_PTR ModifyWindowLong(HWND AWnd, int AIndex, LONG_PTR AInclude, LONG_PTR AExclude);
// Replaces GWLP_WNDPROC; the previous procedure.
WNDPROC SetWindowProcOf(HWND AWnd, WNDPROC AWndProc);
// The frame recalculated in place (SWP_FRAMECHANGED), then painted when asked.
void RecalculateNonClient(HWND AWnd, bool AUpdate = false);
bool IsWindowOfThisProcess(HWND AWnd);
// Copies the update region into ARegion; false on Windows 7 without
// composition (its update regions there are not to be trusted) and when the
// window has no update region.
bool HasUpdateRegion(HWND AWnd, HRGN ARegion);
// The control has a window, paints on glass and the desktop is composed.
bool IsPaintingOnGlass(TWinControl* AControl);
// Whether the control has a window or can get one.
bool CanHaveWindowHandle(TWinControl* AControl);
// Below 255 the window becomes layered with that alpha; with a colour key it
// becomes layered with that key; otherwise it stops being layered.
void SetWindowLayeredAttributes(HWND AWnd, BYTE AAlpha, TColor AColorKey = clNone);
// The layered window shows the bitmap selected into ABitmapDC, with its
// per-pixel alpha times AAlpha. Nothing where the system lacks the function.
void UpdateLayeredWindowFromBitmap(HWND AWnd, HDC ABitmapDC, const TSize& ASize, BYTE AAlpha = 255);
// The program's cursor resource under a screen cursor index.
void RegisterCursor(int AIndex, const wchar_t* AResName);
void UnregisterCursor(int AIndex);

// Text on desktop-composition glass: drawn through the theme text function
// into a 32-bit bitmap of R (with ACopyBackground, over the destination's
// pixels), then copied to R. ARotation 1, 2, 3: 90, 270 and 180 degrees.
// AFont 0 takes the DC's font, clDefault its text colour. Vista and later.
void DrawTextOnGlass(HDC DC, const String& AText, HFONT AFont, const TRect& R, TColor AColor, UINT AFlags,
                     int AGlowSize = 0, int ARotation = 0, bool ACopyBackground = true);
void DrawTextOnGlass(TcxCanvas* ACanvas, const String& AText, const TRect& R, UINT AFlags, int AGlowSize = 0,
                     int ARotation = 0, bool ACopyBackground = true);

// ---------------------------------------------------------------------------
// Popup menus

// A component that is a popup menu of its own kind.
struct IcxPopupMenu : public virtual IInterface {
  static constexpr GUID IID = {0x61C8F2A3, 0x4D17, 0x4E9B, {0x9A, 0x52, 0x0E, 0x3B, 0x7C, 0xD1, 0x84, 0x26}};
  virtual bool IsShortCut(TMessage& Message) = 0;
  virtual void Popup(int X, int Y) = 0;

 protected:
  ~IcxPopupMenu() = default;
};

// A component that drops itself down under a button.
struct IcxDropDownMenu : public virtual IInterface {
  static constexpr GUID IID = {0xB3E90D57, 0x28A4, 0x4C61, {0x83, 0xF9, 0x41, 0x6D, 0xA2, 0x0C, 0xE7, 0x95}};
  virtual void Popup(const TPoint& P, TPopupAlignment AAlignment, const TRect& AButtonRect) = 0;

 protected:
  ~IcxDropDownMenu() = default;
};

bool IsPopupMenuComponent(TComponent* AComponent);
// Lets the component take a shortcut key message; true when it did.
bool HandlePopupMenuShortcut(TComponent* AComponent, TMessage& Message);
// Shows the component as the control's popup menu at a screen point; true
// when a menu was shown.
bool ShowPopupMenuAt(TControl* AControl, TComponent* AComponent, int X, int Y);
// Drops the component down under (or, near the work area's bottom, above)
// the button rectangle (screen coordinates); true when a menu was shown.
bool ShowDropDownMenu(TControl* AButton, TComponent* AComponent, const TRect& AButtonRect,
                      TPopupAlignment AAlignment);
// The height the system gives a popup menu's window at a DPI.
int GetPopupMenuHeight(TPopupMenu* AMenu, int ADpi);

// The process-wide context-menu hook: a control asks it first when a menu is
// requested (APoint in client coordinates, (-1, -1) from the keyboard) and
// shows no menu of its own when it answers true. Nil: no hook.
class TcxControl;
using TcxContextPopupHook = bool (*)(TcxControl* AControl, TComponent* APopupMenu, const TPoint& APoint);
TcxContextPopupHook GetContextPopupHook();
void SetContextPopupHook(TcxContextPopupHook AHook);

// ---------------------------------------------------------------------------
// Application activate window helper: forms listed here stay above the
// focused form while the application runs a modal loop.

class TdxApplicationActivateWindowHelper : public TComponent {
  SK_CLASS(TdxApplicationActivateWindowHelper, TComponent)
 public:
  void Destroy() override;
  void AddWindow(TCustomForm* AForm);
  void RemoveWindow(TCustomForm* AForm);
  int WindowCount() const { return static_cast<int>(FWindows.size()); }
  // AFocusedForm is the form that has the focus (Screen's active form).
  void NormalizeTopMostWindows(TCustomForm* AFocusedForm);

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  std::vector<TCustomForm*> FWindows;
};

TdxApplicationActivateWindowHelper* ApplicationActivateWindowHelper();
// The design selector's glyphs drawn so far (0 outside the unit's life).
int DesignSelectorGlyphCount();

// ---------------------------------------------------------------------------
// Drag and drop inside a control
//
// The control makes one object of its drag-and-drop class when a drag may
// start and frees it when the drag ends. Positions are in object
// coordinates: client coordinates divided by the zoom.

class TcxDragAndDropObject : public TObject {
  SK_CLASS(TcxDragAndDropObject, TObject)
 public:
  // AControl's client coordinates are the object's; ACanvas is the
  // control's canvas (neither is owned).
  virtual void Create(TWinControl* AControl, TcxCanvas* ACanvas);

  void DoBeginDragAndDrop();
  void DoDragAndDrop(const TPoint& P, bool& Accepted);
  void DoEndDragAndDrop(bool Accepted);
  // A key during the drag; false when it was not taken (the control then
  // ends the drag unaccepted).
  virtual bool DoProcessKeyDown(TMessage& Message);
  virtual bool DoProcessKeyUp(TMessage& Message);

  TWinControl* Control() const { return FControl; }
  TcxCanvas* Canvas() const { return FCanvas; }
  bool Dirty() const { return FDirty; }
  void SetDirty(bool AValue);
  // The drag begins at the press, not once the mouse left the drag area.
  virtual bool ImmediateStart() { return false; }
  virtual int ZoomPercent() { return 100; }

  TPoint CurMousePos{-1, -1};
  TPoint PrevMousePos{-1, -1};

 protected:
  virtual void DirtyChanged() {}
  virtual void GetClientCursorPos(TPoint& P);
  virtual TCursor GetDragAndDropCursor(bool Accepted);
  virtual void AfterDragAndDrop(bool /*Accepted*/) {}
  virtual void BeforeBeginDragAndDrop() {}
  virtual void StartDragging();
  virtual void TrackDragging(const TPoint& P, bool& Accepted);
  virtual void FinishDragging(bool Accepted);
  virtual bool ProcessKeyDown(WORD /*Key*/, TShiftState /*Shift*/) { return false; }
  virtual bool ProcessKeyUp(WORD /*Key*/, TShiftState /*Shift*/) { return false; }
  virtual TPoint TranslateCoords(const TPoint& P);

 private:
  TcxCanvas* FCanvas;
  TWinControl* FControl;
  bool FDirty;
};

// ---------------------------------------------------------------------------
// Control helpers (class operations)

// An owner that shows a snapshot of itself while it is locked.
struct IdxLockedStateImageOwner : public virtual IInterface {
  static constexpr GUID IID = {0xEB45AB76, 0x3681, 0x4838, {0xBD, 0xA8, 0x7D, 0x00, 0x81, 0xB4, 0xC1, 0x84}};
  // The snapshot, nil when there is none.
  virtual TBitmap* GetImage() = 0;
  // The control in whose client coordinates the snapshot lies.
  virtual TWinControl* GetControl() = 0;

 protected:
  ~IdxLockedStateImageOwner() = default;
};

class TcxControlHelper {
 public:
  TcxControlHelper() = delete;

  // A new parent, or any while the control is read from a stream.
  static bool CanSetParent(TControl* AControl, TWinControl* ANewParent);
  // Brings a control with IdxScaleFactor to the ratio M / D (nothing for
  // others, and nothing when it is there already).
  static void ChangeScaleFactor(TControl* AControl, int M, int D);
  static void ChangeScaleFactor(TControl* AControl, const TdxScaleFactor* ATarget);
  // Copies the part of the owner's snapshot under the child onto the canvas;
  // false when the owner shows none.
  static bool DrawLockedState(TcxCanvas* ACanvas, TControl* AOwner, TControl* AChild);
  // The control's resolution, else the screen's.
  static int GetCurrentDPIFromControl(TObject* AObject);
  static void ScaleForPPI(TObject* AObject, int ATargetPPI);
  // Follows the DPI ratio of the control's (new) parent, when it is known.
  static void UpdateScaleFactorOnParentChange(TControl* AControl);
};

// Offers an unhandled key-down to the application window ($806B), which may
// take it.
class TcxControlDefaultHandlerHelper {
 public:
  TcxControlDefaultHandlerHelper() = delete;
  static constexpr UINT DX_KEYTOAPPLICATION = 0x806B;
  // Whether the application window took the message.
  static bool Process(TMessage& Message);
};

// ---------------------------------------------------------------------------
// Element hints of a library control: the hint control and the owner are the
// control a descendant names, the hint area is that control's Bounds.

class TcxControl;

class TcxControlHintHelper : public TcxCustomHintHelper {
  SK_CLASS(TcxControlHintHelper, TcxCustomHintHelper)
 public:
  TcxControl* GetControl() { return GetHintedControl(); }

 protected:
  virtual TcxControl* GetHintedControl() = 0;
  TControl* GetHintControl() override;
  void GetHintAreaBounds(TRect& R) override;
  TControl* GetOwnerControl() override;
};

// ---------------------------------------------------------------------------
// Right to left

enum TcxPopupAlignHorz { pahLeft, pahCenter, pahRight };

// Pure mirroring of geometry and of what names a side: left and right swap,
// everything else stays.
class TdxRightToLeftLayoutConverter {
 public:
  TdxRightToLeftLayoutConverter() = delete;

  static TAlignment ConvertAlignment(TAlignment AValue);
  static TAnchors ConvertAnchors(const TAnchors& AValue);
  // The library's text flags 1 (left) and 2 (right) swap.
  static int ConvertcxDrawTextAlignment(int AValue);
  static TcxTextAlignX ConvertcxTextAlignX(TcxTextAlignX AValue);
  static TcxBorder ConvertBorder(TcxBorder AValue);
  static TcxBorders ConvertBorders(const TcxBorders& AValue);
  static TdxCorner ConvertCorner(TdxCorner AValue);
  static TcxDirection ConvertDirection(TcxDirection AValue);
  static TcxPopupAlignHorz ConvertPopupAlignHorz(TcxPopupAlignHorz AValue);
  static TPopupAlignment ConvertPopupAlignment(TPopupAlignment AValue);
  static int ConvertXCoordinate(int X, const TRect& AParent);
  static float ConvertXCoordinate(float X, const TdxRectF& AParent);
  static TPoint ConvertPoint(const TPoint& P, const TRect& AParent);
  static TdxPointF ConvertPoint(const TdxPointF& P, const TdxRectF& AParent);
  // An empty rectangle comes back as it is.
  static TRect ConvertRect(const TRect& R, const TRect& AParent);
  static TdxRectF ConvertRect(const TdxRectF& R, const TdxRectF& AParent);
  // Offsets held in a rectangle: left and right swap.
  static TRect ConvertOffsets(const TRect& AOffsets);
  static WORD ConvertVirtualKeyCode(WORD AKey);
};

// ---------------------------------------------------------------------------
// Design selector: the square in a container's bottom-right corner by which
// the form designer selects it. Only a form designer runs it; the program
// never does.

class TdxControlsDesignSelectorHelper : public TComponent {
  SK_CLASS(TdxControlsDesignSelectorHelper, TComponent)
 public:
  // AOwner is the control the selector belongs to.
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // The square of 15 scaled pixels in the bottom-right corner of R deflated
  // by 8 scaled pixels.
  static TRect CalculateBounds(const TRect& R, const TdxScaleFactor* AScaleFactor);
  // Takes the source's square into this control's client coordinates.
  void Assign(TPersistent* ASource) override;

  TControl* Control() const { return FControl; }
  const TRect& SelectorBounds() const { return FSelectorBounds; }
  void SetSelectorBounds(const TRect& AValue) { FSelectorBounds = AValue; }
  TdxControlsDesignSelectorHelper* Parent() const { return FParent; }
  int ChildCount() const { return FChildren->Count(); }
  TdxControlsDesignSelectorHelper* Children(int AIndex) const;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  // Before the control: whether the message was answered here.
  virtual bool ProcessMessage(TMessage& Message);
  virtual bool HitTest(const TPoint& P);
  // Every child control with a window gets a selector; others go.
  virtual void RefreshChildren();
  virtual void RemoveChild(TdxControlsDesignSelectorHelper* AChild);
  virtual TClass GetChildClass();
  virtual TdxControlsDesignSelectorHelper* AddChild(TControl* AControl);
  virtual bool CanDraw();
  // Top selectors follow the designer's selection, children their parent.
  virtual bool IsChecked();
  virtual bool IsUsable();
  virtual bool IsVisible();
  virtual void Draw(HDC DC);

 private:
  void WndProc(TMessage& Message);
  // The selector's picture in R.
  static void DrawGlyph(HDC DC, const TRect& R, bool AChecked);

  TControl* FControl;
  bool FChecked;
  TOwned<TcxComponentList> FChildren;
  TdxControlsDesignSelectorHelper* FParent;
  TRect FSelectorBounds;
  TcxWindowProcLinkedObject* FWindowProcObject;
};

// ---------------------------------------------------------------------------
// The base control
//
// TcxCustomControl adds the DPI scale factor to TCustomControl; TcxControl
// adds the look-and-feel, the render canvas, the painting pipeline
// (cxControls_Painting.cpp), mouse, focus, keyboard, wheel and gesture input
// and in-control drag and drop (cxControls_Input.cpp). Creation, destruction,
// scaling and the look-and-feel link: cxControls_Control.cpp.
//
// The main scroll bars: cxControls_ScrollBars.cpp. The only render mode any
// control supports is GDI.

enum TcxControlBorderStyle { cxcbsNone, cxcbsDefault };
template <>
struct TEnumInfo<TcxControlBorderStyle> {
  static constexpr const wchar_t* Name = L"TcxControlBorderStyle";
  static constexpr const wchar_t* Names[] = {L"cxcbsNone", L"cxcbsDefault"};
  static constexpr TcxControlBorderStyle Last = cxcbsDefault;
};
enum TcxControlActivateType { atOther, atByMouse, atByMouseNonClientArea };
enum TcxDragAndDropState { ddsNone, ddsStarting, ddsInProcess };
// The keys a control asks for in WM_GETDLGCODE.
enum TcxKey { kAll, kArrows, kChars, kTab };
using TcxKeys = TSet<TcxKey>;

// The control's private messages.
// Asks the control to fit its main scroll bars to the system metrics.
constexpr UINT DXM_CHECKSCROLLBARSIZES = 0x8065;
// The DPI-aware form brackets its scaling with these two.
constexpr UINT DXM_SCALECHANGING = 0x806C;
constexpr UINT DXM_SCALECHANGED = 0x806D;
// A horizontal wheel passed up the parent chain (WParam, LParam of
// WM_MOUSEHWHEEL); the answer 1 means a control scrolled.
constexpr UINT DXM_FORWARDEDHWHEEL = 0x806F;

class TcxControl;

// Told of every font change of the control it listens to.
struct IcxFontListener : public virtual IInterface {
  static constexpr GUID IID = {0xB144DD7E, 0x0B27, 0x4D7D, {0xB0, 0x6B, 0x5B, 0x1A, 0x3E, 0x88, 0xA5, 0x10}};
  virtual void Changed(TObject* ASender, TFont* AFont) = 0;

 protected:
  ~IcxFontListener() = default;
};

// ---------------------------------------------------------------------------
// Main scroll bars of a control (cxControls_ScrollBars.cpp)
//
// A TcxControl has a horizontal and a vertical main scroll bar and a size
// grip. Its main scroll-bars helper asks the control for both bars'
// parameters (SetupScrollBars, which calls SetScrollBarInfo) until the
// choice of visible bars settles, places the bars and turns wheel steps and
// gestures into scroll codes. Classic bars are child windows beside the
// content; overlay bars (touch and hybrid modes) are layered popups drawn
// over it that show only while they are useful.

// Which main bars a control may show. Scoped: the shift state has its own
// ssHorizontal.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// The parameters of one main bar as the control last gave them.
struct TcxScrollBarData {
  bool FAllowHide = false;
  bool FAllowShow = false;
  bool FEnabled = true;
  bool FIsValid = false;
  TScrollBarInc FLargeChange = 1;
  int FMax = 100;
  int FMin = 0;
  int FPageSize = 0;
  int FPosition = 0;
  TScrollBarInc FSmallChange = 1;
  bool FVisible = false;

  // FIsValid from the parameters: a range, a page shorter than it and a
  // position not below the minimum. In 64 bits: the range may span Integer.
  void Correct();
};

// What the helper sees of a main bar.
struct IcxControlScrollBar : public virtual IInterface {
  static constexpr GUID IID = {0x3F0A6C52, 0x9D1E, 0x4B7A, {0x8E, 0x21, 0x6C, 0x5D, 0x0B, 0x93, 0xA4, 0x7F}};
  // Copies the data into the bar (an invalid set changes only Enabled and
  // the visibility).
  virtual void ApplyData() = 0;
  virtual TcxScrollBarData& GetData() = 0;
  virtual TWinControl* GetControl() = 0;
  virtual TRect GetBoundsRect() = 0;
  virtual void SetBoundsRect(const TRect& ABounds) = 0;
  virtual bool GetVisible() = 0;
  virtual bool GetEnabled() = 0;
  virtual TScrollBarKind GetKind() = 0;
  virtual int GetMin() = 0;
  virtual int GetMax() = 0;
  virtual int GetPageSize() = 0;
  virtual int GetPosition() = 0;
  virtual void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) = 0;

 protected:
  ~IcxControlScrollBar() = default;
};

class TdxMainScrollbarsOwnerHelper;

// A classic main bar: a TcxScrollBar window on its control.
class TcxControlScrollBar : public TcxScrollBar, public IcxControlScrollBar {
  SK_CLASS(TcxControlScrollBar, TcxScrollBar)
 public:
  static void Publish(TPublisher<TcxControlScrollBar>& P);

  void Create(TComponent* AOwner) override;
  // The bar of a control; no component owns it.
  virtual void Create(TcxControl* AOwnerControl);
  // The bar that a main scroll-bars helper makes: that of its control here.
  virtual void Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner);
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxControl* OwnerControl() const { return FOwnerControl; }

  // IcxControlScrollBar
  void ApplyData() override;
  TcxScrollBarData& GetData() override { return FData; }
  TWinControl* GetControl() override { return this; }
  TRect GetBoundsRect() override { return BoundsRect(); }
  void SetBoundsRect(const TRect& ABounds) override { TControl::SetBoundsRect(ABounds); }
  bool GetVisible() override { return Visible(); }
  bool GetEnabled() override { return Enabled(); }
  TScrollBarKind GetKind() override { return Kind(); }
  int GetMin() override { return Min(); }
  int GetMax() override { return Max(); }
  int GetPageSize() override { return PageSize(); }
  int GetPosition() override { return Position(); }
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) override {
    TcxScrollBar::SetScrollParams(AMin, AMax, APosition, APageSize, ARedraw);
  }

  virtual void InitializeParent();
  // ABounds in the owner control's client coordinates.
  virtual void SetOwnerControlRelativeBounds(const TRect& ABounds);
  virtual void UpdateBounds(const TRect& ABounds);
  virtual bool WantsVisible() { return FData.FVisible; }
  // Shows or hides the bar as the set decides (overlay bars have more to do).
  virtual void SetVisible(bool AValue) { TControl::SetVisible(AValue); }
  // An overlay bar gives its window back (made again when next shown).
  void ReleaseWindow() { DestroyHandle(); }

 protected:
  void WndProc(TMessage& Message) override;
  void CreateHandle() override;
  void Paint() override;
  // Before the bar's own handling.
  virtual void ProcessMessage(TMessage& Message);
  virtual void FocusOwner();

 private:
  void CMAnswerOne(TMessage& Message) { Message.Result = 1; }

  TcxScrollBarData FData;
  TcxControl* FOwnerControl;
};

// The filled square between two classic bars.
class TcxSizeGrip : public TNoRefCount<TCustomControl>, public TcxLookAndFeelOwner {
  SK_CLASS(TcxSizeGrip, TCustomControl)
 public:
  static void Publish(TPublisher<TcxSizeGrip>& P);

  void Create(TComponent* AOwner) override;
  // The grip of a control; no component owns it.
  virtual void Create(TcxControl* AOwnerControl);
  // The grip that a main scroll-bars helper makes: that of its control here.
  virtual void Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner);
  void Destroy() override;

  // Whether a grip in AControl's bottom-right corner would size its form:
  // the form has a sizing border, is neither maximised nor minimised, and
  // the control's corner lies on the form's right client edge, at or below
  // its bottom one.
  static bool IsAvailable(TControl* AControl);

  TcxControl* OwnerControl() const { return FOwnerControl; }
  virtual void InitializeParent();
  virtual void SetOwnerControlRelativeBounds(const TRect& ABounds) { SetBoundsRect(ABounds); }
  // An overlay grip gives its window back (made again when next shown).
  void ReleaseWindow() { DestroyHandle(); }

 protected:
  void CreateHandle() override;
  void Paint() override;
  virtual void DrawGrip(TcxCanvas* ACanvas);

 private:
  void LookAndFeelChangeHandler(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }
  void WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

  TcxControl* FOwnerControl;
};

// The two main bars and the grip of one control.
class TcxControlCustomScrollBars : public TcxIUnknownObject {
  SK_CLASS(TcxControlCustomScrollBars, TcxIUnknownObject)
 public:
  // With the control's own main scroll-bars helper.
  void Create(TcxControl* AOwner);
  // Makes both bars and the grip through AMainScrollbarsOwner.
  virtual void Create(TcxControl* AOwner, TdxMainScrollbarsOwnerHelper* AMainScrollbarsOwner);
  void Destroy() override;

  TcxControl* Owner() const { return FOwner; }
  TdxMainScrollbarsOwnerHelper* MainScrollbarsOwner() const { return FMainScrollbarsOwner; }
  // The helper is laying the bars out: visibility answers come from the data.
  bool Calculating() const { return FCalculating; }
  void SetCalculating(bool AValue) { FCalculating = AValue; }
  TObject* HScrollBar() const { return FHScrollBar; }
  TObject* VScrollBar() const { return FVScrollBar; }
  TObject* SizeGrip() const { return FSizeGrip; }

  virtual IcxControlScrollBar* GetScrollBar(TScrollBarKind AKind);
  virtual bool GetScrollBarVisible(TScrollBarKind AKind);
  // The bar of that kind takes the thickness the helper reports; whether it
  // changed.
  virtual bool AdjustScrollBarSize(bool AVertical) = 0;
  virtual void SetSizeGripVisible(bool AValue) = 0;
  virtual void RaiseScrollBars() {}
  virtual void HideAll() {}
  virtual void InitializeParents() {}
  virtual void Invalidate() {}
  virtual bool IsScrollBarControl(TControl* AControl);
  virtual void ReleasePopupHandles() {}
  // Places the visible bars and the grip where the helper says.
  virtual void UpdateBounds() {}
  // Each bar takes its data.
  virtual void UpdateControlStates() {}
  virtual void DrawSizeGrip(TcxCanvas*) {}

 protected:
  virtual TObject* CreateScrollBar(TScrollBarKind AKind) = 0;
  virtual TObject* CreateSizeGrip() = 0;
  virtual void CreateScrollBars();
  virtual void DestroyScrollBars();
  virtual void ScrollBarScroll(TObject* Sender, TScrollCode AScrollCode, int& AScrollPos);

  bool FCalculating;
  TdxMainScrollbarsOwnerHelper* FMainScrollbarsOwner;
  TcxControl* FOwner;
  TObject* FHScrollBar;
  TObject* FSizeGrip;
  TObject* FVScrollBar;
};

// Bars and grip as windows of the control (classic mode).
class TcxControlWindowedScrollBars : public TcxControlCustomScrollBars {
  SK_CLASS(TcxControlWindowedScrollBars, TcxControlCustomScrollBars)
 public:
  bool AdjustScrollBarSize(bool AVertical) override;
  void SetSizeGripVisible(bool AValue) override;
  bool GetScrollBarVisible(TScrollBarKind AKind) override;
  void RaiseScrollBars() override;
  void HideAll() override;
  void InitializeParents() override;
  void Invalidate() override;
  void ReleasePopupHandles() override;
  void UpdateBounds() override;
  void UpdateControlStates() override;

 protected:
  TObject* CreateScrollBar(TScrollBarKind AKind) override;
  TObject* CreateSizeGrip() override;

 private:
  TcxControlScrollBar* Bar(TScrollBarKind AKind) const {
    return static_cast<TcxControlScrollBar*>(AKind == sbHorizontal ? FHScrollBar : FVScrollBar);
  }
  TcxSizeGrip* Grip() const { return static_cast<TcxSizeGrip*>(FSizeGrip); }
  TdxScrollbarMode Mode() const;
  void BarMouseEnter(TObject* Sender);
};

// ---------------------------------------------------------------------------
// Overlay main bars (cxControls_PopupScrollBars.cpp)
//
// In touch and hybrid modes each main bar is a layered popup window owned by
// the control's form and laid over the control's content. It draws into one
// 32-bit premultiplied bitmap per update and hands it to UpdateLayeredWindow
// with the bar's constant alpha; WM_PAINT draws nothing. What shows of the
// bar is the part of its rectangle that the control itself shows on screen
// (the owner's visible region), so a bar never covers a window above the
// control. Touch and hybrid state (shown or hidden, fading value, expansion)
// lives in the managers that the main scroll-bars helper reaches; a bar only
// reads it when it repaints.

// The model of an overlay bar: its thickness comes from its mode, and every
// repaint goes to the layered window.
class TcxCustomPopupScrollBarHelper : public TcxScrollBarHelper {
  SK_CLASS(TcxCustomPopupScrollBarHelper, TcxScrollBarHelper)
 public:
  void GetSize(TSize& ASize) override;
  void Repaint() override;
  void InvalidateRect(const TRect& R, bool AErase) override;

 protected:
  bool PaintsThroughBitmap() override { return false; }
};

// Touch mode: no arrow buttons, a thin outlined thumb.
class TcxPopupScrollBarHelper : public TcxCustomPopupScrollBarHelper {
  SK_CLASS(TcxPopupScrollBarHelper, TcxCustomPopupScrollBarHelper)
 protected:
  TClass GetPainterClass() override;
  TClass GetViewInfoClass() override;
};

// Hybrid mode: a stripe that widens under the mouse and shows arrows then.
class TdxHybridScrollBarHelper : public TcxCustomPopupScrollBarHelper {
  SK_CLASS(TdxHybridScrollBarHelper, TcxCustomPopupScrollBarHelper)
 protected:
  TClass GetPainterClass() override;
};

class TcxPopupScrollBarViewInfo : public TcxScrollBarViewInfo {
  SK_CLASS(TcxPopupScrollBarViewInfo, TcxScrollBarViewInfo)
 protected:
  int GetArrowButtonLength() override { return 0; }
};

class TcxControlPopupScrollBar;

// What both overlay painters share: parts are always hot-tracked, never
// faded, and nothing of the control's own background shows.
class TcxCustomPopupScrollBarPainter : public TcxScrollBarLookAndFeelPainter {
  SK_CLASS(TcxCustomPopupScrollBarPainter, TcxScrollBarLookAndFeelPainter)
 public:
  bool IsButtonHotTrack() override { return true; }
  // Background and parts through GDI+, alpha kept; only on a TcxCanvas.
  void Paint(TcxCustomCanvas* ACanvas) override;

 protected:
  // The bar whose model this painter draws, when it is an overlay bar.
  TcxControlPopupScrollBar* Bar() const;
  virtual void DrawOverlayBackground(TdxGPCanvas* ACanvas, const TRect& R) = 0;
  virtual void DrawOverlayPart(TdxGPCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxScrollBarPart APart) = 0;
  // Called only when the bar shows annotations and has room for their marks.
  virtual void DrawOverlayAnnotations(TdxGPCanvas*) {}
};

// Touch: a grey thumb with a white outline on a nearly invisible track.
class TcxPopupScrollBarPainter : public TcxCustomPopupScrollBarPainter {
  SK_CLASS(TcxPopupScrollBarPainter, TcxCustomPopupScrollBarPainter)
 public:
  static constexpr TColor TrackColor = TColor(0xC0C0C0);
  static constexpr TColor ThumbColor = TColor(0x808080);
  static constexpr std::uint8_t TrackAlpha = 1;
  static constexpr std::uint8_t HotTrackAlpha = 50;
  static constexpr std::uint8_t ThumbAlpha = 150;
  static constexpr std::uint8_t ThumbOutlineAlpha = 200;

 protected:
  void DrawOverlayBackground(TdxGPCanvas* ACanvas, const TRect& R) override;
  void DrawOverlayPart(TdxGPCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxScrollBarPart APart) override;
};

// Hybrid: the owner's base colour at alphas that follow the expansion.
class TdxHybridScrollBarPainter : public TcxCustomPopupScrollBarPainter {
  SK_CLASS(TdxHybridScrollBarPainter, TcxCustomPopupScrollBarPainter)
 protected:
  void DrawOverlayBackground(TdxGPCanvas* ACanvas, const TRect& R) override;
  void DrawOverlayPart(TdxGPCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxScrollBarPart APart) override;
  void DrawOverlayAnnotations(TdxGPCanvas* ACanvas) override;

 private:
  bool Expanded() const;
  TColor BaseColor() const;
  // R cut to the bar's visible thickness along its far edge.
  TRect VisiblePart(const TRect& R) const;
};

// An overlay main bar.
class TcxControlPopupScrollBar : public TcxControlScrollBar {
  SK_CLASS(TcxControlPopupScrollBar, TcxControlScrollBar)
 public:
  static void Publish(TPublisher<TcxControlPopupScrollBar>& P);

  using TcxControlScrollBar::Create;
  void Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) override;
  void Destroy() override;

  TdxMainScrollbarsOwnerHelper* ScrollbarOwner() const { return FScrollbarOwner; }
  TdxScrollbarMode Mode() const;
  std::uint8_t Alpha() const { return FAlpha; }
  // The data's visibility at the last ApplyData.
  bool AllowVisible() const { return FAllowVisible; }
  // The current thickness in hybrid mode.
  int VisibleSize() const { return FVisibleSize; }
  bool MouseInside() const { return FMouseEnter; }

  void ApplyData() override;
  void InitializeParent() override;
  void SetOwnerControlRelativeBounds(const TRect& ABounds) override;
  void UpdateBounds(const TRect& ABounds) override;
  bool WantsVisible() override;
  void SetVisible(bool AValue) override;
  // Repaints the layered window (hybrid: with the manager's size and alpha).
  void Invalidate() override;
  // Draws the model into a new bitmap and hands it to the layered window.
  void UpdateLayeredContent();

  // Where the bitmap goes: UpdateLayeredWindow by default; tests look at it.
  using TLayeredWindowUpdater = std::function<void(HWND AWnd, HDC ABitmapDC, const TSize& ASize, BYTE AAlpha)>;
  static void SetLayeredWindowUpdater(TLayeredWindowUpdater AUpdater);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DestroyWnd() override;
  void Paint() override {}
  void Resize() override;
  TSize GetDefaultSize() override;
  TClass GetHelperClass() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void ProcessMessage(TMessage& Message) override;

 private:
  void WMMouseActivate(TMessage& Message) { Message.Result = MA_NOACTIVATE; }
  void ProcessHybridMessage(TMessage& Message);
  void ProcessTouchMessage(TMessage& Message);

  TOwned<TdxTouchScrollUIActivityHelper> FActivityHelper;
  std::uint8_t FAlpha;
  bool FAllowVisible;
  bool FMouseEnter;
  TdxMainScrollbarsOwnerHelper* FScrollbarOwner;
  int FVisibleSize;
};

// The overlay grip: a translucent square between two overlay bars.
class TcxPopupSizeGrip : public TcxSizeGrip {
  SK_CLASS(TcxPopupSizeGrip, TcxSizeGrip)
 public:
  static void Publish(TPublisher<TcxPopupSizeGrip>& P);
  static constexpr std::uint8_t DefaultAlpha = 50;
  static constexpr TColor DefaultColor = TColor(0xC0C0C0);

  using TcxSizeGrip::Create;
  void Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) override;

  TdxMainScrollbarsOwnerHelper* ScrollbarOwner() const { return FScrollbarOwner; }
  void InitializeParent() override;
  void SetOwnerControlRelativeBounds(const TRect& ABounds) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DrawGrip(TcxCanvas* ACanvas) override;

 private:
  void WMMouseActivate(TMessage& Message) { Message.Result = MA_NOACTIVATE; }

  TdxMainScrollbarsOwnerHelper* FScrollbarOwner;
};

// The window that owns a control's popups: its form's (the top-level
// window's for an embedded form; the class library has no MDI forms), else
// the active form's; nil when there is none.
HWND PopupOwnerWindow(TControl* AControl);
// Lays a popup just above its owner window without activating anything
// (topmost when the owner is topmost or there is none).
void PlacePopupAboveOwnerForm(HWND AWnd);
// The part of R (the control's client coordinates) that the control shows on
// screen, relative to R's top-left corner; nil without a window.
HRGN OwnerVisibleRegion(TWinControl* AControl, const TRect& R);
// Its bounding box, in the control's client coordinates.
TRect OwnerVisibleRect(TWinControl* AControl, const TRect& R);

// Decides which main bars show and scrolls through them. The base asks its
// owner through the virtual operations below; TcxControlMainScrollbarsHelper
// answers each from its TcxControl.
class TdxMainScrollbarsOwnerHelper : public TcxIUnknownObject,
                                     public IdxSystemInfoListener,
                                     public IdxTouchScrollUIOwner,
                                     public IdxHybridScrollbarOwner {
  SK_CLASS(TdxMainScrollbarsOwnerHelper, TcxIUnknownObject)
 public:
  // The most SetupScrollBars rounds one calculation runs: a control whose
  // bars flip on every call must not hang the layout.
  static constexpr int MaxSetupRounds = 8;

  virtual void Create(TObject* AOwner);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TObject* Owner() const { return FOwner; }
  TcxControlCustomScrollBars* MainScrollBars() const { return FMainScrollBars.get(); }
  TScrollStyle ScrollBars() const { return FScrollBars; }

  void LockScrollBars();
  void UnlockScrollBars();
  void UpdateScrollBars();
  void SetScrollBarInfo(TScrollBarKind AKind, int AMin, int AMax, int AStep, int APage, int APos, bool AAllowShow,
                        bool AAllowHide);
  void DrawSizeGrip(TcxCanvas* ACanvas);

  // The scroll-bars object exists while the owner wants scroll bars.
  void CreateScrollBars();
  void DestroyScrollBars();
  // A window was created for the owner: the object follows WantsScrollBars.
  void HandleWindowCreated();
  bool IsScrollBarVisible(TScrollBarKind AKind);
  IcxControlScrollBar* GetScrollBar(TScrollBarKind AKind);
  TcxSizeGrip* GetSizeGrip();
  // Scrolls the kind's bar by gesture pixels; nothing unless the bar may
  // scroll.
  void GestureScroll(TScrollBarKind AKind, int ADeltaX, int ADeltaY);
  void ClearGestureDelta() { FGestureAccumulatedDelta = {0, 0}; }
  // A scroll of a main bar, from the bar set.
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) { HandleScroll(AKind, ACode, APosition); }

  // IdxSystemInfoListener
  void Changed(UINT AParameter) override { SystemInfoChanged(AParameter); }

  virtual void SystemInfoChanged(UINT) {}
  virtual bool PansAlongWheelAxisOnly() { return false; }
  virtual bool CanUpdateScrollBars();
  virtual TObject* CreateScrollBar(TScrollBarKind AKind);
  virtual TObject* CreateSizeGrip();
  virtual void CalculateScrollBars();
  virtual TcxControl* GetControl() { return nullptr; }
  virtual TScrollStyle ScrollBarsStyle() { return TScrollStyle::ssBoth; }
  virtual TRect HorzScrollBarBounds() { return TRect(); }
  virtual int HorzScrollBarHeight();
  virtual bool IsDesigning() { return false; }
  virtual bool IsDestroying() { return false; }
  virtual bool IsLoading() { return false; }
  virtual TdxScaleFactor* ScaleFactor() { return nullptr; }
  virtual TSize ClientSize() { return TSize(0, 0); }
  virtual TcxLookAndFeel* ScrollBarsLookAndFeel() { return nullptr; }
  virtual TRect SizeGripBounds();
  virtual TRect VertScrollBarBounds() { return TRect(); }
  virtual int VertScrollBarWidth();
  virtual bool HasScrollBarsObject() { return FMainScrollBars != nullptr; }
  virtual bool WantsScrollBarsNow() { return WantsScrollBars(); }
  virtual void SetupScrollBars() {}
  virtual void BeforeSetupScrollBars() {}
  virtual bool ExtendsPageWhenBothBarsFit(TScrollBarKind) { return false; }
  virtual bool IsOnSizeGrip(const TPoint& P);
  virtual bool BothScrollBarsVisible();
  virtual bool WantsScrollBars() { return true; }
  virtual bool KeepsScrollBarsOnTop() { return !IsDesigning(); }
  virtual bool CanScrollWithoutScrollBars(TcxDirection) { return false; }
  virtual void ReportOverpan(TScrollBarKind, int, int, int, int, int) {}
  virtual void CalculateScrollBarsNow() { CalculateScrollBars(); }
  virtual void TrackScrollTo(TScrollBarKind, int) {}
  virtual int HorzScrollBarHeightNow() { return HorzScrollBarHeight(); }
  virtual int VertScrollBarWidthNow() { return VertScrollBarWidth(); }
  virtual TRect SizeGripBoundsNow() { return SizeGripBounds(); }
  virtual bool BothScrollBarsVisibleNow() { return BothScrollBarsVisible(); }
  virtual void ResetScrollBarsControls();
  virtual void PositionScrollBars() { PlaceScrollBars(); }
  virtual void UpdateOwner() {}
  virtual void HandleScroll(TScrollBarKind, TScrollCode, int&) {}
  // AChanges: 1 horizontal, 2 vertical.
  virtual void HandleScrollBarsVisibilityChange(int) {}
  virtual void ScrollContent(TcxDirection ADirection);
  void PlaceScrollBars();

  // Overlay bars. The resolved mode of the owner (classic without one).
  virtual TdxScrollbarMode ScrollbarMode() { return sbmClassic; }
  bool IsClassicScrollBarMode() { return ScrollbarMode() == sbmClassic; }
  virtual bool IsClassicScrollBarModeNow() { return IsClassicScrollBarMode(); }
  // The thickness of an overlay bar of the mode: (16, 16) touch, the
  // collapsed (6, 6) hybrid, both scaled; the system's in classic mode.
  TSize OverlayScrollBarSize(TdxScrollbarMode AMode);
  virtual TColor DefaultTextColor() { return clDefault; }
  // Black on light text, white on dark, unless a colour is set.
  TColor HybridScrollBarBaseColor();
  void SetHybridScrollBarBaseColor(TColor AValue) { FHybridScrollbarBaseColor = AValue; }
  // Hybrid mode: on the collapsed stripe of a visible bar.
  virtual bool IsOnOverlayScrollBar(const TPoint& P);
  // Overlay bars hide at once, classic bars and grip hide.
  virtual void HideAllScrollBars();
  // Whether the manager of the mode keeps this owner's overlay bars hidden.
  bool AreOverlayScrollBarsHidden();
  // What the hybrid manager shows: the expansion (0 collapsed .. 100), the
  // fading alpha and the bar that is expanding or expanded.
  int HybridVisibleSizePercent();
  std::uint8_t HybridFadingValue();
  TObject* HybridAnimatedBar();
  TdxHybridScrollbarsManager* HybridScrollbarsManager() const { return FHybridScrollbarsManager.get(); }
  // Reports of overlay bars: the mouse came onto a hybrid bar or left it, a
  // bar goes away or hides.
  void HybridBarEntered(TObject* ABar);
  void HybridBarLeft(TObject* ABar);
  void HybridBarReleased(TObject* ABar);
  // Shows the overlay bars (ATimerControlled: they hide again after a
  // pause) or hides them (AImmediately: at once, without fading).
  void RevealScrollBars(bool ATimerControlled);
  void HideScrollBars(bool AImmediately);
  // A message of the owner window: mouse activity shows touch bars.
  void CheckScrollActivity(const TMessage& Message);

  // IdxTouchScrollUIOwner, IdxHybridScrollbarOwner
  void ShowScrollUI() override { ShowOverlayScrollBars(); }
  void HideScrollUI() override { HideOverlayScrollBars(); }
  bool IsScrollUIVisible() override;
  TWinControl* GetOwnerControl() override;
  void ShowHybridScrollBars() override { ShowOverlayScrollBars(); }
  void HideHybridScrollBars() override { HideOverlayScrollBars(); }
  bool CanActivateHybridScrollBars() override { return true; }
  void RefreshHybridScrollBars() override;

 protected:
  virtual TClass ScrollBarsClass();

 private:
  void RunSetupFixpoint();
  void ShowOverlayScrollBars();
  void HideOverlayScrollBars();
  void ExtendPagesWhenBothBarsFit();
  void ApplyLayout();
  TcxScrollBarData* Data(TScrollBarKind AKind);

  std::array<int, 2> FGestureAccumulatedDelta;
  TColor FHybridScrollbarBaseColor;
  TOwned<TdxHybridScrollbarsManager> FHybridScrollbarsManager;
  TOwned<TdxTouchScrollUIActivityHelper> FScrollUIActivityHelper;
  bool FInitialHScrollBarActive;
  bool FInitialVScrollBarActive;
  TOwned<TcxControlCustomScrollBars> FMainScrollBars;
  TObject* FOwner;
  TScrollStyle FScrollBars;
  int FScrollBarsLockCount;
  bool FScrollBarsUpdateNeeded;
  int FUpdateScrollBarsCount;
  bool FListening;
};

// The helper of a TcxControl: every question goes to the control.
class TcxControlMainScrollbarsHelper : public TdxMainScrollbarsOwnerHelper {
  SK_CLASS(TcxControlMainScrollbarsHelper, TdxMainScrollbarsOwnerHelper)
 public:
  void SystemInfoChanged(UINT AParameter) override;
  bool PansAlongWheelAxisOnly() override;
  TObject* CreateScrollBar(TScrollBarKind AKind) override;
  TObject* CreateSizeGrip() override;
  TcxControl* GetControl() override;
  TScrollStyle ScrollBarsStyle() override;
  TRect HorzScrollBarBounds() override;
  bool IsDesigning() override;
  bool IsDestroying() override;
  bool IsLoading() override;
  TdxScaleFactor* ScaleFactor() override;
  TSize ClientSize() override;
  TcxLookAndFeel* ScrollBarsLookAndFeel() override;
  TRect VertScrollBarBounds() override;
  bool WantsScrollBarsNow() override;
  void SetupScrollBars() override;
  void BeforeSetupScrollBars() override;
  bool ExtendsPageWhenBothBarsFit(TScrollBarKind AKind) override;
  bool WantsScrollBars() override;
  bool KeepsScrollBarsOnTop() override;
  bool CanScrollWithoutScrollBars(TcxDirection ADirection) override;
  void ReportOverpan(TScrollBarKind AKind, int ANewPos, int ADeltaY, int ADeltaX, int AMaxPos, int AMinPos) override;
  void CalculateScrollBarsNow() override;
  void TrackScrollTo(TScrollBarKind AKind, int APosition) override;
  int HorzScrollBarHeightNow() override;
  int VertScrollBarWidthNow() override;
  TRect SizeGripBoundsNow() override;
  bool BothScrollBarsVisibleNow() override;
  void PositionScrollBars() override;
  void UpdateOwner() override;
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override;
  void HandleScrollBarsVisibilityChange(int AChanges) override;
  TdxScrollbarMode ScrollbarMode() override;
  bool IsClassicScrollBarModeNow() override;
  TColor DefaultTextColor() override;

 protected:
  TClass ScrollBarsClass() override;

 private:
  TcxControl* Control() const;
};

// A bar without a window of its own: painted on its control's canvas and
// driven through the control's scroll-bars manager. Its owner is the
// control (or a part of it, through IcxScrollBarOwner2).
class TcxControlScrollBarHelper : public TcxScrollBarHelper, public IcxControlScrollBar {
  SK_CLASS(TcxControlScrollBarHelper, TcxScrollBarHelper)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // IcxControlScrollBar
  void ApplyData() override;
  TcxScrollBarData& GetData() override { return FData; }
  // No window of its own.
  TWinControl* GetControl() override { return nullptr; }
  TRect GetBoundsRect() override { return BoundsRect(); }
  void SetBoundsRect(const TRect& ABounds) override { TcxScrollBarHelper::SetBoundsRect(ABounds); }
  bool GetVisible() override { return Visible(); }
  bool GetEnabled() override { return Enabled(); }
  TScrollBarKind GetKind() override { return Kind(); }
  int GetMin() override { return Min(); }
  int GetMax() override { return Max(); }
  int GetPageSize() override { return PageSize(); }
  int GetPosition() override { return Position(); }
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) override {
    TcxScrollBarHelper::SetScrollParams(AMin, AMax, APosition, APageSize, ARedraw);
  }

  // ABounds in the owner's coordinates; then the layout.
  virtual void SetOwnerControlRelativeBounds(const TRect& ABounds);
  // A click on the bar focuses its control.
  virtual void FocusOwner();
  // At once: GDI bars paint straight onto the owner window.
  void Repaint() override;

 private:
  TcxControl* OwnerCxControl() const;

  TcxScrollBarData FData;
};

// The windowless bars of one control: which one is under the mouse (hot),
// mouse input to it, and the mouse capture while it is dragged. Every
// control has one and offers it each message first.
class TcxControlScrollBarsManager : public TcxIUnknownObject, public IcxMouseTrackingCaller3 {
  SK_CLASS(TcxControlScrollBarsManager, TcxIUnknownObject)
 public:
  // How often a capture lost with the window is checked for.
  static constexpr unsigned CheckCaptureInterval = 100;

  virtual void Create(TcxControl* AOwner);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  void RegisterScrollBar(TcxControlScrollBarHelper* AScrollBar);
  // A hot bar leaves first.
  void UnRegisterScrollBar(TcxControlScrollBarHelper* AScrollBar);
  int ScrollBarCount() const { return static_cast<int>(FScrollBars.size()); }
  TcxControlScrollBarHelper* HotScrollBar() const { return FHotScrollBar; }
  bool IsCapture() const { return FIsCapture; }
  TcxTimer* CheckCaptureTimer() const { return FCheckCaptureTimer.get(); }

  // Whether the message was consumed.
  virtual bool HandleMessage(TMessage& Message);
  // On a visible bar of a visible owner (client coordinates).
  virtual bool IsScrollBarsArea(const TPoint& P);
  // Each visible bar in the canvas's visible area.
  virtual void Paint(TcxCustomCanvas* ACanvas);

  // IcxMouseTrackingCaller3: the tracking over the hot bar, which goes on
  // while the bar is dragged.
  void MouseLeave() override;
  bool PtInCaller(const TPoint& P) override;
  bool IsCaptureObject() override { return FIsCapture; }

 protected:
  virtual bool RouteMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool RouteMouseMove(TShiftState Shift, int X, int Y);
  virtual bool RouteMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

 private:
  TcxControlScrollBarHelper* ScrollBarAt(const TPoint& P) const;
  static bool IsShown(TcxControlScrollBarHelper* AScrollBar);
  void SetHotScrollBar(TcxControlScrollBarHelper* AValue);
  void TakeCapture();
  void FreeCapture();
  void CheckCapture(TObject* Sender);

  TOwned<TcxTimer> FCheckCaptureTimer;
  bool FIsCapture;
  TcxControlScrollBarHelper* FHotScrollBar;
  TcxControl* FOwner;
  std::vector<TcxControlScrollBarHelper*> FScrollBars;
};

class TcxCustomControl : public TNoRefCount<TCustomControl>, public IdxScaleFactor {
  SK_CLASS(TcxCustomControl, TCustomControl)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TdxScaleFactor* GetScaleFactor() override { return FScaleFactor.get(); }

  // Scale changes nest; BeforeScaleChange runs when the depth leaves zero,
  // AfterScaleChange when it comes back to it.
  void BeginScaleChange();
  void EndScaleChange();
  bool IsScaleChanging() const { return FScaleChangeCounter > 0; }

  void ChangeScale(int M, int D, bool AIsDpiChange) override;
  // The children scaled to a new resolution, as one scale change.
  void ScaleControlsForDpi(int ANewPPI);
  void SetParent(TWinControl* AValue) override;

 protected:
  virtual bool NeedsDoubleBuffering();
  virtual void ApplyScale(int M, int D, bool AIsDpiChange);
  virtual void BeforeScaleChange() {}
  virtual void AfterScaleChange() {}

 private:
  std::uint16_t FScaleChangeCounter;
  TOwned<TdxScaleFactor> FScaleFactor;
};

class TcxControl : public TcxCustomControl,
                   public TcxLookAndFeelOwner,
                   public IdxVisualRefinementsListener,
                   public IdxSystemInfoListener,
                   public IdxGestureOwner,
                   public IdxGestureClient,
                   public IcxScrollBarOwner {
  SK_CLASS(TcxControl, TcxCustomControl)
 public:
  static void Publish(TPublisher<TcxControl>& P);

  void Create(TComponent* AOwner) override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Canvases: Canvas is the GDI canvas over the window; ActualCanvas the
  // one painting uses (the same in GDI mode); ActiveCanvas is Canvas once
  // the window exists, else the shared screen canvas.
  TcxCanvas* Canvas() const { return FCanvas.get(); }
  TcxCustomCanvas* ActualCanvas() const { return FActualCanvas; }
  TdxRenderMode ActualRenderMode() const { return FActualRenderMode; }
  TcxCanvas* ActiveCanvas();

  // Bounds (empty FBounds: the client rectangle, or 0, 0, Width, Height
  // without a window) and the content inside border and scroll bars.
  virtual TRect Bounds();
  virtual TRect ClientBounds();
  virtual bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  virtual bool IsFocused() { return Focused(); }

  TcxControlBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxControlBorderStyle AValue);
  bool FocusOnClick() const { return FFocusOnClick; }
  void SetFocusOnClick(bool AValue) { FFocusOnClick = AValue; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  TcxKeys Keys() const { return FKeys; }
  void SetKeys(TcxKeys AValue) { FKeys = AValue; }
  const String& Hint() const { return FOriginalHint; }
  void SetHint(const String& AValue);
  TcxControlActivateType ActivateType() const { return FActivateType; }
  bool MouseButtonPressed() const { return FMouseButtonPressed; }
  bool MouseDoubleClick() const { return FMouseDoubleClick; }
  int MouseEnterCounter() const { return FMouseEnterCounter; }
  int MouseWheelAccumulator() const { return FMouseWheelAccumulator; }

  // Painting
  void Invalidate() override;
  void InvalidateRect(const TRect& R, bool AEraseBackground);
  void InvalidateRgn(HRGN ARegion, bool AEraseBackground);
  void InvalidateWithChildren();
  void UpdateWithChildren();
  // The next paint first fills the window with the control's brush.
  void SetJustTurnedOpaque() { FJustTurnedOpaque = true; }
  bool JustTurnedOpaque() const { return FJustTurnedOpaque; }

  // Focus and mouse
  void SetFocus() override;
  bool CanFocusEx();
  bool AcceptMousePosForClick(int X, int Y);
  bool IsMouseInPressedArea(int X, int Y);
  TPoint MouseDownPos() const { return FMouseDownPos; }
  TObject* MouseCaptureObject() const { return FMouseCaptureObject; }
  void SetMouseCaptureObject(TObject* AValue);
  void PostMouseMove();
  void PostMouseMove(const TPoint& AMousePos);
  TPoint GetMouseClientPos();
  void DefaultHandler(TMessage& Message) override;

  // Drag and drop inside the control
  TcxDragAndDropObject* DragAndDropObject();
  TClass DragAndDropObjectClass();
  void SetDragAndDropObjectClass(TClass AValue);
  TcxDragAndDropState DragAndDropState() const { return FDragAndDropState; }
  void SetDragAndDropState(TcxDragAndDropState AValue);
  virtual void BeginDragAndDrop();
  void FinishDragAndDrop(bool Accepted);

  // Main scroll bars. SetScrollBarInfo is for SetupScrollBars; a locked
  // control calculates its bars once, at the last unlock.
  void SetScrollBarInfo(TScrollBarKind AScrollBarKind, int AMin, int AMax, int AStep, int APage, int APos,
                        bool AAllowShow, bool AAllowHide);
  void LockScrollBars();
  void UnlockScrollBars();
  // One line step in the direction, as from the bar's arrow.
  virtual void ScrollContent(TcxDirection ADirection);
  bool IsScrollBarVisible(TScrollBarKind AKind);
  IcxControlScrollBar* GetHorzScrollBar();
  IcxControlScrollBar* GetVertScrollBar();
  TcxSizeGrip* GetSizeGrip();
  TcxControlMainScrollbarsHelper* ScrollbarsHelper() const { return FScrollbarsHelper.get(); }
  TcxControlScrollBarsManager* ScrollBarsManager() const { return FScrollBarsManager.get(); }

  // IcxScrollBarOwner: the owner of windowless bars on the control.
  TWinControl* GetControl() override { return this; }
  TcxLookAndFeel* GetLookAndFeel() override { return LookAndFeel(); }
  TdxScaleFactor* GetScaleFactor() override { return ScaleFactor(); }
  TdxScrollbarMode ScrollbarMode() const { return FScrollbarMode; }
  // Whether a click on the child (a main bar) focuses the control.
  virtual bool FocusesOnChildClick(TControl* AChild);

  void AddFontListener(IcxFontListener* AListener);
  void RemoveFontListener(IcxFontListener* AListener);
  int FontListenerCount() const { return static_cast<int>(FFontListenerList.size()); }

  // Listeners
  void RefinementsChanged() override;
  void Changed(UINT AParameter) override { SystemInfoChanged(AParameter); }
  virtual void SystemInfoChanged(UINT AParameter);
  virtual void TranslationChanged() {}

  // Gestures
  HWND GestureWindowHandle() override { return Handle(); }
  IPtr<IInterface> GetGestureClient(const TPoint& APoint) override;
  bool IsGestureTarget(HWND AWindow) override { return AWindow == FHandle; }
  TPoint GestureScreenToClient(const TPoint& APoint) override { return ScreenToClient(APoint); }
  void BeginGestureScroll(const TPoint& APoint) override;
  void GestureScroll(int ADeltaX, int ADeltaY) override;
  void EndGestureScroll() override {}
  bool IsGestureEnabled(DWORD AGestureId) override;
  bool AllowsPan(TScrollBarKind AScrollKind) override;
  bool IsPanArea(const TPoint& APoint) override { return IsPointInContent(APoint); }
  bool WantsPanFeedback(TScrollBarKind) override { return true; }
  bool IsPanning() override;
  TdxGestureHelper* GestureHelper() const { return FGestureHelper.get(); }

  // Events
  TNotifyEvent OnFocusChanged() const { return FOnFocusChanged; }
  void SetOnFocusChanged(TNotifyEvent AValue) { FOnFocusChanged = AValue; }

 protected:
  void AfterScaleChange() override;
  bool NeedsDoubleBuffering() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void PaintWindow(HDC DC) override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  // OnMouseEnter and OnMouseLeave fire once per crossing, from
  // NotifyMouseEnter and NotifyMouseLeave.
  void MouseEnter() override {}
  void MouseLeave() override {}

  // Render modes
  virtual TcxCustomCanvas* CreateRenderCanvas(TdxRenderMode& AMode);
  virtual TdxRenderMode GetDefaultRenderMode() { return rmGDI; }
  virtual bool IsRenderModeSupported(TdxRenderMode AMode);
  virtual void AfterRenderCanvasCreated() {}
  virtual void BeforeRenderCanvasFreed() {}
  // The supported mode for a requested one; raises when none is.
  TdxRenderMode ResolveRenderMode(TdxRenderMode AMode);
  void CreateActualCanvas();
  void FreeActualCanvas();
  void RecreateActualCanvas();
  // Queues a recreation to the UI thread (withdrawn when the control goes).
  void RecreateActualCanvasNeeded();

  // Painting
  virtual void PaintControl();
  virtual void PaintNonClientArea(HDC DC);
  virtual void PaintBorder(TcxCustomCanvas* ACanvas);
  // The windowless bars, then the size grip.
  virtual void PaintScrollBars(TcxCustomCanvas* ACanvas);
  virtual void FillBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void EraseBackgroundCore(HDC DC);
  virtual void DrawBackgroundContent(TcxCanvas* ACanvas, const TRect& R);
  // 0 none, 1 own, 2 the parent's (2 wins over 1).
  virtual int BackgroundPaintKind();
  virtual void DrawNonClientArea(TcxCanvas*) {}
  virtual int BorderThickness();
  virtual TRect GetNonClientMargins() { return TRect(); }
  virtual void ClipToContent();
  virtual bool IsGlassPaintOpaque();
  virtual bool IsGlassPainting() { return FControlState.Contains(csGlassPaint); }
  virtual bool PaintsOwnBackground() { return false; }
  virtual bool UsesNonClientArea() { return false; }
  virtual bool HasTransparentBackground();
  virtual bool RedrawsOnResize() { return false; }

  // Look and feel
  virtual TcxLookAndFeel* EffectiveLookAndFeel() { return LookAndFeel(); }
  virtual TcxCustomLookAndFeelPainter* ActivePainter();
  virtual void HandleLookAndFeelChange(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);

  // Mouse, focus, keys
  virtual bool CanPreprocessMessage() { return Enabled(); }
  virtual bool FocusOnMouseDownAllowed(TMouseButton Button, int X, int Y);
  virtual void FocusByMouse(TMouseButton Button, int X, int Y);
  virtual bool ShouldFocusOnClick();
  virtual bool AdjustsMouseDownAfterFocus() { return true; }
  virtual void HookMouseDown(TMouseButton, TShiftState, int, int) {}
  virtual void CancelMouseOperations();
  virtual TCursor CursorAt(int X, int Y);
  virtual String HintTextAt(const TPoint&) { return Hint(); }
  virtual bool IsPointInContent(const TPoint& P) { return ClientBounds().Contains(P); }
  virtual bool IsOnScrollBarArea(const TPoint& P);
  virtual bool CanDrag(int, int) { return FDragAndDropState == ddsNone; }
  virtual bool KeepsCaptureWithoutFocus() { return false; }
  virtual void CancelMouseCapture();
  virtual bool GetDesignHitTest(int X, int Y, TShiftState Shift);
  virtual void NotifyMouseEnter(TControl* AControl);
  virtual void NotifyMouseLeave(TControl* AControl);
  virtual void FocusEntered() {}
  virtual void FocusLeft() {}
  virtual void FocusChanged() { CallEvent(FOnFocusChanged, static_cast<TObject*>(this)); }
  virtual bool WantsFocus() { return true; }
  virtual void HandleBoundsChange();
  virtual void HandleFontChange();
  virtual void HandleTransparencyChange();
  virtual void HandleEnabledChange() { Invalidate(); }

  // Wheel
  // 0 none, sbHorizontal + 1, sbVertical + 1: vertical while that bar shows.
  virtual int WheelScrollKind();
  virtual bool CanWheelScroll(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
  virtual bool CanHorzWheelScroll() { return false; }
  virtual bool HandleForwardedHorizontalWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
  virtual bool AccumulateWheelDelta(TShiftState Shift, int WheelDelta, bool AHorizontal, const TPoint& MousePos);
  virtual bool ScrollByWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
  virtual bool ScrollByHorizontalWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
  // One scroll of a main scroll bar: the control moves its content.
  virtual void HandleScroll(TScrollBarKind, TScrollCode, int&) {}
  // The system's lines per notch (-1: a page).
  virtual int WheelScrollLines();

  // Gestures
  virtual bool ScrollsByBarsOnGesture(TScrollBarKind) { return true; }
  virtual void GestureScrollContent(TScrollBarKind, int) {}
  virtual bool PansAlongWheelAxisOnly() { return false; }
  virtual void ReportOverpan(TScrollBarKind AKind, int ANewPos, int ADeltaY, int ADeltaX, int AMaxPos, int AMinPos);
  // A gesture moved the bar: a track scroll to the position.
  virtual void TrackScrollTo(TScrollBarKind AKind, int APosition);

  // Main scroll bars: what the helper asks of the control
  // (cxControls_ScrollBars.cpp). Bounds are client coordinates.
  virtual bool WantsScrollBars() { return true; }
  virtual bool CanScrollWithoutScrollBars(TcxDirection) { return false; }
  virtual TScrollStyle ScrollBarsStyle() { return TScrollStyle::ssBoth; }
  virtual void SetupScrollBars() {}
  virtual void BeforeSetupScrollBars() {}
  virtual bool ExtendsPageWhenBothBarsFit(TScrollBarKind) { return false; }
  virtual void CalculateScrollBars();
  // Asks the control for its bars' parameters again.
  virtual void RefreshScrollBars();
  virtual void PositionScrollBars();
  virtual void HandleScrollBarsVisibilityChange(int) { HandleBoundsChange(); }
  virtual bool KeepsScrollBarsOnTop();
  virtual void BringScrollBarsToFront();
  virtual TRect HorzScrollBarBounds();
  virtual TRect VertScrollBarBounds();
  virtual TRect SizeGripBounds();
  virtual int HorzScrollBarHeight();
  virtual int VertScrollBarWidth();
  virtual bool BothScrollBarsVisible();
  virtual bool IsOnSizeGrip(const TPoint& P);
  virtual bool IsInternalChildControl(TControl* AControl);
  virtual void ResetScrollBarsControls();
  virtual void HideScrollBarWindows();
  virtual void InvalidateScrollBars();
  // The mode the look and feel asks for, as far as the control allows it:
  // classic without overlay bars, touch for hybrid without hybrid bars.
  virtual TdxScrollbarMode ActualScrollBarMode();
  // The thickness of this control's bars in its mode (the expanded one in
  // hybrid mode).
  TSize OverlayScrollBarSize();
  virtual bool AllowsOverlayScrollBars() { return false; }
  virtual bool AllowsHybridScrollBars() { return AllowsOverlayScrollBars(); }
  bool IsClassicScrollBarMode() const { return FScrollbarMode == sbmClassic; }
  bool IsOverlayScrollMode() const { return !IsClassicScrollBarMode(); }
  bool IsTouchScrollMode() const { return FScrollbarMode == sbmTouch; }
  // Rebuilds the bars when the resolved mode changed.
  virtual void CheckScrollBarModeChange();
  virtual void ApplyScrollBarMode();
  virtual void HandleScrollBarModeChange() { HandleBoundsChange(); }
  // Overlay bars: shown (ATimerControlled: hidden again after a pause) and
  // hidden (AImmediately: without waiting or fading).
  virtual void RevealScrollBars(bool ATimerControlled);
  virtual void HideScrollBars(bool AImmediately);
  virtual TColor DefaultTextColor() { return Font()->Color(); }
  // WM_WINDOWPOSCHANGED: a move takes the overlay bars along.
  void NotifyOverlayScrollBarsMoved(const TMessage& Message);
  virtual TClass ScrollBarsClass();
  virtual TClass ScrollBarClass();
  virtual TClass SizeGripClass();

  // Drag and drop
  virtual bool StartDragAndDropAt(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void TrackDragAndDropMove(TShiftState Shift, int X, int Y);
  virtual bool CanStartDragAndDrop(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool AllowsDragAndDropAt(TMouseButton, TShiftState, int, int) { return false; }
  virtual bool CancelsDragOnCaptureLoss() { return true; }
  virtual TcxDragAndDropObject* CreateDragAndDropObject();
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual void EndDragAndDropSession(bool Accepted);
  virtual bool IsCopyDragging() { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

  // Dragging the control onto others (cxControls_Drag.cpp): an automatic
  // drag starts after the press, through the drag-detect loop, so the
  // press itself reaches the control.
  friend class TcxDragControlObject;
  bool BeginAutoDrag() override { return false; }
  virtual void BeginAutoDragAt(TMouseButton Button, int X, int Y);
  virtual bool AllowsDesignTimeDrag(int, int) { return true; }
  virtual TClass GetDragControlObjectClass();
  // Whether a drag of the control may start (its object is made by then).
  virtual bool StartDrag() { return true; }
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  // The picture that follows the mouse while the control is dragged: made
  // once a drag from DrawDragImage at DragImageSize, gone when it ends.
  TDragImageList* GetDragImages() override;
  virtual bool ShowsDragImage() { return false; }
  virtual TClass DragImageListClass();
  virtual TSize DragImageSize() { return TSize(0, 0); }
  virtual void DrawDragImage(TcxCanvas*, const TRect&) {}
  virtual void PrepareDragImages();
  // ScrollWindowEx with the dragged picture hidden meanwhile, so that it is
  // not scrolled along with the content.
  void ScrollWindow(int DX, int DY, const TRect& AScrollRect);
  // Whether the middle-button scrolling loop runs.
  bool IsScrollingContent() const { return FIsScrollingContent; }

  // The mouse position of a mouse message (from the cursor for controls too
  // wide or tall for 16-bit coordinates).
  TPoint MessageMousePos(const TMessage& Message);
  bool IsTooLargeForMessageCoordinates();

  TRect FBounds;

 private:
  void LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ResetDragAndDropObject();
  // Painting (cxControls_Painting.cpp)
  void DirectPaint(TMessage& Message);
  void DoubleBufferedPaint(bool AWholeClient);
  void OpaqueFill();
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMPrint(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  // Input (cxControls_Input.cpp)
  void WMSetCursor(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMMouseHWheel(TMessage& Message);
  void DXMForwardedHWheel(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDesignHitTest(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  // Control (cxControls_Control.cpp)
  void WMDestroy(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void DXMCheckScrollBarSizes(TMessage& Message);
  friend class TcxControlMainScrollbarsHelper;
  friend class TcxControlPopupScrollBar;
  friend class TcxControlScrollBarHelper;
  friend class TcxControlScrollBarsManager;
  void DXMScaleChanging(TMessage& Message);
  void DXMScaleChanged(TMessage& Message);

  TcxControlActivateType FActivateType;
  TcxCustomCanvas* FActualCanvas;
  TdxRenderMode FActualRenderMode;
  TcxControlBorderStyle FBorderStyle;
  TOwned<TcxCanvas> FCanvas;
  bool FCreatingWindow;
  bool FFinishingDragAndDrop;
  bool FFocusOnClick;
  std::vector<IPtr<IcxFontListener>> FFontListenerList;
  String FOriginalHint;
  bool FJustTurnedOpaque;
  bool FTransparent;
  TOwned<TDragImageList> FDragImages;
  bool FIsScrollingContent = false;
  TOwned<TcxDragAndDropObject> FDragAndDropObject;
  TClass FDragAndDropObjectClass;
  TCursor FDragAndDropPrevCursor;
  TcxDragAndDropState FDragAndDropState;
  TOwned<TdxGestureHelper> FGestureHelper;
  TcxKeys FKeys;
  bool FMouseDoubleClick;
  bool FMouseButtonPressed;
  TObject* FMouseCaptureObject;
  TPoint FMouseDownPos;
  int FMouseEnterCounter;
  bool FMouseRightButtonReleased;
  int FMouseWheelAccumulator;
  TNotifyEvent FOnFocusChanged;
  TdxScrollbarMode FScrollbarMode;
  bool FIsScrollUIModeChanging;
  TOwned<TcxControlMainScrollbarsHelper> FScrollbarsHelper;
  TOwned<TcxControlScrollBarsManager> FScrollBarsManager;
};

// ---------------------------------------------------------------------------
// A component that belongs to one control and follows its scale factor.

class TcxControlChildComponent : public TcxComponent {
  SK_CLASS(TcxControlChildComponent, TcxComponent)
 public:
  void Create(TComponent* AOwner) override;
  // Bound to AControl; with AAssignOwner the control's owner owns the
  // component.
  virtual void Create(TcxControl* AControl, bool AAssignOwner);
  void Destroy() override;

  TcxControl* Control() const { return FControl; }
  virtual void SetControl(TcxControl* AValue);
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  TComponent* GetParentComponent() override { return FControl; }
  bool HasParent() override { return FControl != nullptr; }
  void SetParentComponent(TComponent* AValue) override;

 protected:
  virtual void InitChild() {}
  virtual void ApplyScaleChange(int, int) {}

 private:
  void ScaleFactorChanged(TObject* Sender, int M, int D, bool AIsLoading);

  TcxControl* FControl;
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
};

// The process-wide services (nil once the unit has shut down).
TcxSystemController* cxSystemController();
TdxSystemInfo* SystemInfo();
TdxMessagesController* MessagesController();
TcxWindowProcController* WindowProcController();

// Whether the unit's start-up (run through the units loader) initialised the
// system's buffered painting, which its shut-down gives back.
bool cxControlsBufferedPaintInitialized();

// The unit's start-up and shut-down.
void cxControlsInitialization();
void cxControlsFinalization();

// ---------------------------------------------------------------------------
// Dragging a control onto others (cxControls_Drag.cpp)

// Cursor index of the library's copy cursor, shown while Ctrl is held over a
// target that accepts.
constexpr int crDragCopy = 2100;

// The drag object a TcxControl hands out: it frees itself when the drag ends.
class TcxDragControlObject : public TDragControlObject {
  SK_CLASS(TcxDragControlObject, TDragControlObject)
 public:
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
};

// The list that holds a dragged control's picture.
class TcxDragImageList : public TDragImageList {
  SK_CLASS(TcxDragImageList, TDragImageList)
};

// The drag object a target of a drag last heard of (a drag whose source is
// no control), or null.
TDragObject* cxDragObject();

// ---------------------------------------------------------------------------
// Buffered painting (cxControls_BufferedPaint.cpp)

// Paints R of a window through the system's buffered painting: the buffer is
// cleared, the control (or, without one, the window) gets WM_ERASEBKGND and
// WM_PRINTCLIENT on it, its alpha is made opaque unless AKeepAlpha, and it is
// copied onto DC. Where buffered painting fails, the two messages go to DC.
void PaintWindowBuffered(HWND AWnd, HDC DC, TWinControl* AControl, bool AKeepAlpha, const TRect& R);
// The same for the invalid rectangle, between BeginPaint and EndPaint.
void PaintWindowInBeginPaint(HWND AWnd, TWinControl* AControl, bool AKeepAlpha);
// The same for the whole client area, on the window's own device context
// (a repaint outside WM_PAINT, e.g. of a native child on glass).
void PaintWindowThroughDC(HWND AWnd, TWinControl* AControl, bool AKeepAlpha);
