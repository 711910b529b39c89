// Controls: the visual components, windowed and not.
//
// Classes in this file:
//   TAlign, TAnchors, TControlStyle, TControlState, TShiftState, TMouseButton,
//   TCursor (crDefault ...), TBiDiMode, TStyleElements, TDragMode, TCreateParams, THintInfo
//   TSizeConstraints        the smallest and largest size of a control
//   TInteractiveGesture, TInteractiveGestureOption, TGestureEventInfo,
//   TTouchManager           touch gestures a control takes, and their event
//   TScrollBarKind          sbHorizontal, sbVertical
//   TDragState, TDragMessage, TDragRec, the drag events
//   TDragObject             one drag between controls: capture, target, cursor
//   TBaseDragControlObject, TDragControlObject   the drag of a control
//   TMouse                  cursor position, capture, wheel and drag settings
//   TControlCanvas          a canvas on a control's device context
//   TControl                bounds, parent, visibility, colour, font, mouse,
//                           hints, popup menu, actions, the message route
//   TWinControl             a control with a window: creation, children,
//                           focus and tab order, keyboard, alignment, painting
//   TGraphicControl         a control without a window, painted by its parent
//   TCustomControl          a window that paints itself on a canvas
//   TControlTracker         tells whether a control survived a call
//   FindControl, GetParentForm, KeysToShiftState ...   routines
//
// The message route: every window of a control has one window procedure,
// which hands the message to the control's replaceable WindowProc (by
// default the virtual WndProc). WndProc does the work all controls share
// (mouse capture, graphic children, focus bookkeeping) and then Dispatch
// finds the handler published for the message id along the class tree; an
// unhandled message ends in DefaultHandler, which calls the window class's
// own procedure (the native one for a superclassed standard control, else
// DefWindowProcW). Notifications that a child window sends to its parent
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* ...) come back to the
// child as CN_BASE + the message. No C++ exception leaves the window
// procedure: it goes to HandleCallbackException.
//
// A handler may free its own control. Code that goes on after calling an
// event checks a TControlTracker first; a window whose control is freed while
// it is inside its own window procedure is destroyed once that procedure
// returns.
#pragma once

#include "platform/classes/Component.h"
#include "platform/runtime/Types.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"
#include "platform/ui/WindowAllocation.h"

#include <cstdint>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;

// ---------------------------------------------------------------------------
// Types

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
template <>
struct TEnumInfo<TAlign> {
  static constexpr const wchar_t* Name = L"TAlign";
  static constexpr const wchar_t* Names[] = {L"alNone", L"alTop",    L"alBottom", L"alLeft",
                                             L"alRight", L"alClient", L"alCustom"};
  static constexpr TAlign Last = alCustom;
};

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
template <>
struct TEnumInfo<TAnchorKind> {
  static constexpr const wchar_t* Name = L"TAnchorKind";
  static constexpr const wchar_t* Names[] = {L"akLeft", L"akTop", L"akRight", L"akBottom"};
  static constexpr TAnchorKind Last = akBottom;
};
inline const TAnchors AnchorAlign[] = {
    {akLeft, akTop},                    // alNone
    {akLeft, akTop, akRight},           // alTop
    {akLeft, akRight, akBottom},        // alBottom
    {akLeft, akTop, akBottom},          // alLeft
    {akRight, akTop, akBottom},         // alRight
    {akLeft, akTop, akRight, akBottom}, // alClient
    {akLeft, akTop},                    // alCustom
};

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint,
  csParentBackground, csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning,
  csRecreating, csAligning, csGlassPaint, csPrintClient
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TScrollBarKind { sbHorizontal, sbVertical };
template <>
struct TEnumInfo<TScrollBarKind> {
  static constexpr const wchar_t* Name = L"TScrollBarKind";
  static constexpr const wchar_t* Names[] = {L"sbHorizontal", L"sbVertical"};
  static constexpr TScrollBarKind Last = sbVertical;
};
// What a scroll bar asks its owner to do (the SB_ codes of WM_HSCROLL and
// WM_VSCROLL, in their order).
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
// The handler may change the position the scroll goes to.
using TScrollEvent = Delegate<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;
// A line or page step of a scroll bar (1 to 32767).
using TScrollBarInc = std::int16_t;

// Touch: the interactive gestures of Windows, how a control takes them, and
// the record a control's gesture handling receives with CM_GESTURE (LParam).
enum TInteractiveGesture { igZoom, igPan, igRotate, igTwoFingerTap, igPressAndTap };
using TInteractiveGestures = TSet<TInteractiveGesture>;
enum TInteractiveGestureOption {
  igoPanSingleFingerHorizontal, igoPanSingleFingerVertical, igoPanInertia, igoPanGutter, igoParentPassthrough
};
using TInteractiveGestureOptions = TSet<TInteractiveGestureOption>;
enum TInteractiveGestureFlag { gfBegin, gfInertia, gfEnd };
using TInteractiveGestureFlags = TSet<TInteractiveGestureFlag>;

// The gesture ids of the event record: the Windows id plus 256.
using TGestureID = int;
constexpr TGestureID igiBegin = 257;
constexpr TGestureID igiEnd = 258;
constexpr TGestureID igiZoom = 259;
constexpr TGestureID igiPan = 260;
constexpr TGestureID igiRotate = 261;
constexpr TGestureID igiTwoFingerTap = 262;
constexpr TGestureID igiPressAndTap = 263;

struct TGestureEventInfo {
  TGestureID GestureID = 0;
  TPoint Location;  // client coordinates of the receiving control
  TInteractiveGestureFlags Flags;
  double Angle = 0;            // rotate, radians
  TSmallPoint InertiaVector;   // pan
  int Distance = 0;            // zoom, pan, two-finger tap
  TSmallPoint TapLocation;     // press and tap, client coordinates
};

// The gestures a control takes and the options of panning.
class TTouchManager {
 public:
  TInteractiveGestures InteractiveGestures() const { return FInteractiveGestures; }
  void SetInteractiveGestures(TInteractiveGestures AValue) { FInteractiveGestures = AValue; }
  TInteractiveGestureOptions InteractiveGestureOptions() const { return FInteractiveGestureOptions; }
  void SetInteractiveGestureOptions(TInteractiveGestureOptions AValue) { FInteractiveGestureOptions = AValue; }

 private:
  TInteractiveGestures FInteractiveGestures{igPan, igPressAndTap};
  TInteractiveGestureOptions FInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical,
                                                        igoPanInertia, igoPanGutter, igoParentPassthrough};
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand, ssHorizontal };
using TShiftState = TSet<TShiftStateItem>;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
template <>
struct TEnumInfo<TBiDiMode> {
  static constexpr const wchar_t* Name = L"TBiDiMode";
  static constexpr const wchar_t* Names[] = {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign",
                                             L"bdRightToLeftReadingOnly"};
  static constexpr TBiDiMode Last = bdRightToLeftReadingOnly;
};

// The parts of a control that a visual style other than the system's may
// draw. The class library draws with the system's style alone; controls that
// keep colours of their own by style consult them.
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = TSet<TStyleElement>;
template <>
struct TEnumInfo<TStyleElement> {
  static constexpr const wchar_t* Name = L"TStyleElement";
  static constexpr const wchar_t* Names[] = {L"seFont", L"seClient", L"seBorder"};
  static constexpr TStyleElement Last = seBorder;
};
inline const TStyleElements AllStyleElements{seFont, seClient, seBorder};

// What of a control read from a form description is still laid out for the
// resolution it was designed at: a scaling while it loads touches only these.
enum TScalingFlag { sfLeft, sfTop, sfWidth, sfHeight, sfFont, sfDesignSize };
using TScalingFlags = TSet<TScalingFlag>;
inline const TScalingFlags AllScalingFlags{sfLeft, sfTop, sfWidth, sfHeight, sfFont};

enum TDragMode { dmManual, dmAutomatic };
template <>
struct TEnumInfo<TDragMode> {
  static constexpr const wchar_t* Name = L"TDragMode";
  static constexpr const wchar_t* Names[] = {L"dmManual", L"dmAutomatic"};
  static constexpr TDragMode Last = dmAutomatic;
};

// A cursor: an index into Screen's cursor table. The predefined ones are
// negative; a program registers its own under positive indices.
enum TCursor : std::int16_t {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22, crSize = -22
};
bool CursorToIdent(std::int64_t ACursor, String& AIdent);
bool IdentToCursor(const String& AIdent, std::int64_t& ACursor);
template <>
struct TIntegerIdents<TCursor> {
  static constexpr const wchar_t* Name = L"TCursor";
  static bool ToIdent(std::int64_t AValue, String& AIdent) { return CursorToIdent(AValue, AIdent); }
  static bool FromIdent(const String& AIdent, std::int64_t& AValue) { return IdentToCursor(AIdent, AValue); }
};

// What CreateWnd passes to CreateWindowExW; CreateParams fills it.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSEXW WindowClass{};
  String WinClassName;
};

// CM_HINTSHOW carries a pointer to this record; a handler may change it, and
// a non-zero result refuses the hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  TRect CursorRect;    // client coordinates of HintControl: moving out hides the hint
  TPoint CursorPos;    // client coordinates of HintControl
  TPoint HintPos;      // screen coordinates of the hint window
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  String HintStr;
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  // The class of the window that shows the hint (a THintWindow descendant);
  // nil: the application's HintWindowClass.
  const TMetaClass* HintWindowClass = nullptr;
  // Whatever the showing code wants a hint window to know.
  void* HintData = nullptr;
};

using TMouseEvent = Delegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Delegate<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    Delegate<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = Delegate<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = Delegate<void(TObject* Sender, wchar_t& Key)>;
using TContextPopupEvent = Delegate<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// ---------------------------------------------------------------------------
// Dragging between controls (Controls_Drag.cpp)
//
// One drag runs at a time. BeginDrag asks the source control for its drag
// object (DoStartDrag, OnStartDrag; a TDragControlObject of the platform's
// own when none is given, freed at the end), takes the mouse capture with a
// window of the object's and, once the mouse has moved past the threshold,
// asks the control under the cursor with CM_DRAG whether it takes the drop
// (DragOver, OnDragOver). Releasing the left button drops on a target that
// accepted; Esc or a lost capture cancels. The object's Finished ends the
// drag for the source (EndDrag, OnEndDrag).

class TDragObject;
class TDragImageList;

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// CM_DRAG: WParam is one of these, LParam a TDragRec*. For dmDragEnter and
// dmDragMove a non-zero result accepts the drop.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop };
struct TDragRec {
  TPoint Pos;  // screen coordinates
  TDragObject* Source = nullptr;
  TControl* Target = nullptr;
};

// Source is the dragged control for a control drag, else the drag object.
using TDragOverEvent =
    Delegate<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = Delegate<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = Delegate<void(TObject* Sender, TDragObject*& DragObject)>;
// Target is null when the drag was cancelled or refused.
using TEndDragEvent = Delegate<void(TObject* Sender, TObject* Target, int X, int Y)>;

class TDragObject : public TObject {
  SK_CLASS(TDragObject, TObject)
 public:
  void Destroy() override;
  virtual void Assign(TDragObject* Source);
  // The drag ended: accepted by Target (X, Y in its client coordinates), or
  // not (Target null, X, Y on the screen). May free the object.
  virtual void Finished(TObject* /*Target*/, int /*X*/, int /*Y*/, bool /*Accepted*/) {}
  // The cursor over a target that accepts the drop, or over one that does not.
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
  // The images shown under the cursor during the drag, or null.
  virtual TDragImageList* GetDragImages() { return nullptr; }
  virtual void HideDragImage();
  virtual void ShowDragImage();
  // Where the drag is (screen), the control under it and the point there.
  TPoint DragPos() const { return FDragPos; }
  TControl* DragTarget() const { return FDragTarget; }
  TPoint DragTargetPos() const { return FDragTargetPos; }
  bool Dropped() const { return FDropped; }
  // Esc ended the drag.
  bool Cancelling() const { return FCancelling; }

 protected:
  friend class TDragSession;
  // The window that holds the mouse capture during the drag.
  virtual HWND Capture();
  virtual void ReleaseCapture(HWND AHandle);
  virtual void WndProc(TMessage& Message);

 private:
  TPoint FDragPos;
  TControl* FDragTarget;
  TPoint FDragTargetPos;
  bool FDropped;
  bool FCancelling;
  HWND FDragHandle;
};

// A drag whose source is a control.
class TBaseDragControlObject : public TDragObject {
  SK_CLASS(TBaseDragControlObject, TDragObject)
 public:
  virtual void Create(TControl* AControl);
  void Assign(TDragObject* Source) override;
  // Not accepted: the control's DragCanceled and a null target; then EndDrag.
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* AValue) { FControl = AValue; }

 protected:
  // Tells the control (DoEndDrag).
  virtual void EndDrag(TObject* Target, int X, int Y);

 private:
  TControl* FControl;
};

// The drag of a control with the control's cursor and drag images.
class TDragControlObject : public TBaseDragControlObject {
  SK_CLASS(TDragControlObject, TBaseDragControlObject)
 public:
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
  TDragImageList* GetDragImages() override;
};

// The control being dragged, or null.
TControl* DragControl();
// The drag object of the drag under way, or null.
TDragObject* DragObject();
// Ends the drag under way: dropped where it is when ADrop, else cancelled.
void DragDone(bool ADrop);
// Cancels the drag under way; called while the source makes its drag object
// (DoStartDrag), it keeps the drag from starting.
void CancelDrag();

// ---------------------------------------------------------------------------
// Routines

// The shift state of mouse key flags (MK_xxx) and of a key message's LParam
// (with the keyboard's current Shift and Ctrl).
TShiftState KeysToShiftState(WORD AKeys);
TShiftState KeyDataToShiftState(LPARAM AKeyData);
TShiftState KeyboardStateToShiftState();
// MK_xxx flags of a shift state, for synthesised mouse messages.
WPARAM ShiftStateToKeys(const TShiftState& AShift);

// The control that owns a window, or null.
TWinControl* FindControl(HWND AWnd);
// The deepest control under a screen point (graphic controls included).
TControl* FindDragTarget(const TPoint& AScreenPos, bool AAllowDisabled);
// The form a control sits on (the control itself for a form), or null.
TCustomForm* GetParentForm(TControl* AControl, bool ATopForm = true);
// The control that holds the mouse capture: a windowed one through the
// system, a graphic one through its parent's window.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* AControl);
// Whether AChar is the accelerator ("&x") of ACaption.
bool IsAccel(wchar_t AChar, const String& ACaption);

// ---------------------------------------------------------------------------
// TSizeConstraints: the smallest and largest size a control may take (0: no
// limit).

class TSizeConstraints : public TPersistent {
  SK_CLASS(TSizeConstraints, TPersistent)
 public:
  static void Publish(TPublisher<TSizeConstraints>& P);
  void Create(TControl* AControl);
  void Assign(TPersistent* ASource) override;
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int AValue);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int AValue);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int AValue);
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int AValue);
  // Bends a proposed size into the limits.
  void Apply(int& AWidth, int& AHeight) const;
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  TPersistent* GetOwner() override;

 private:
  void Change();
  // Sets ALimit, which is AMin or AMax of one dimension.
  void SetLimit(int& ALimit, int AValue, int& AMin, int& AMax);
  TControl* FControl;
  int FMinWidth;
  int FMinHeight;
  int FMaxWidth;
  int FMaxHeight;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// TControlTracker: after a call that may free the control, Alive() tells.

class TControlTracker {
 public:
  explicit TControlTracker(TControl* AControl);
  ~TControlTracker();
  TControlTracker(const TControlTracker&) = delete;
  TControlTracker& operator=(const TControlTracker&) = delete;
  bool Alive() const { return FControl != nullptr; }

 private:
  friend class TControl;
  TControl* FControl;
  TControlTracker* FNext;
};

// ---------------------------------------------------------------------------
// TMouse

class TMouse : public TObject {
  SK_CLASS(TMouse, TObject)
 public:
  void Create();
  // Screen coordinates of the cursor; (0, 0) when the system cannot say.
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& AValue);
  // The window that holds the mouse capture.
  HWND Capture() const;
  void SetCapture(HWND AValue);
  bool MousePresent() const { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }
  bool WheelPresent() const { return GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0; }
  // Lines per wheel notch; -1 means a page. Read from the system on creation
  // and on setting changes; tests may set it.
  int WheelScrollLines() const { return FWheelScrollLines; }
  void SetWheelScrollLines(int AValue) { FWheelScrollLines = AValue; }
  void SettingChanged();
  // Pixels the mouse must move with a button down before a drag begins.
  int DragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(int AValue) { FDragThreshold = AValue; }
  // Whether a control with DragMode dmAutomatic starts dragging at the press
  // (else once the mouse moved past the threshold).
  bool DragImmediate() const { return FDragImmediate; }
  void SetDragImmediate(bool AValue) { FDragImmediate = AValue; }

 private:
  int FWheelScrollLines;
  int FDragThreshold;
  bool FDragImmediate;
};

// The one mouse object (created by the Controls unit).
TMouse* Mouse();

// ---------------------------------------------------------------------------
// TControlCanvas

class TControlCanvas : public TCanvas {
  SK_CLASS(TControlCanvas, TCanvas)
 public:
  void Destroy() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* AValue);
  // Releases a device context the canvas took from the window itself.
  void FreeHandle();
  HWND WindowHandle() const { return FWindowHandle; }
  // Restricts drawing to the control when it draws on its parent's context.
  void UpdateTextFlags();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HDC FDeviceContext;
  HWND FWindowHandle;
};

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
  SK_CLASS(TControl, TComponent)
 public:
  static void Publish(TPublisher<TControl>& P);

  // Construction and destruction
  void Create(TComponent* AOwner) override;
  void BeforeDestruction() override;
  void Destroy() override;

  // Messages
  // Sends a message straight to the control's WindowProc and answers its result.
  LRESULT Perform(UINT AMsg, WPARAM AWParam, LPARAM ALParam);
  // Hands a message to WindowProc (the route's first step).
  void HandleMessage(TMessage& Message) {
    if (FWindowProc) FWindowProc(Message);
    else WndProc(Message);
  }
  // The replaceable entry of the message route (by default WndProc).
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(const TWndMethod& AValue) { FWindowProc = AValue; }
  virtual void WndProc(TMessage& Message);
  void DefaultHandler(TMessage& Message) override;

  // Parent and place
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AValue);
  int Left() const { return FLeft; }
  void SetLeft(int AValue) { SetBounds(AValue, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int AValue) { SetBounds(FLeft, AValue, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { SetBounds(FLeft, FTop, AValue, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int AValue) { SetBounds(FLeft, FTop, FWidth, AValue); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The client area in client coordinates.
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  void SetClientWidth(int AValue);
  int ClientHeight() { return ClientRect().Height(); }
  void SetClientHeight(int AValue);
  void SetClientSize(const TSize& AValue);
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P) { return P + ClientOrigin(); }
  TPoint ScreenToClient(const TPoint& P) { return P - ClientOrigin(); }
  TPoint ClientToParent(const TPoint& P, TWinControl* AParent = nullptr);
  TPoint ParentToClient(const TPoint& P, TWinControl* AParent = nullptr);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign AValue);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors AValue);
  // Front of the siblings (painted last, hit first) or back.
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool ATopMost);

  // Appearance and state
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue);
  void Show();
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool AValue);
  // Visible and, for a child, on a showing parent.
  bool IsVisibleOnScreen();
  String Caption() const { return GetText(); }
  void SetCaption(const String& AValue) { SetText(AValue); }
  String Text() const { return GetText(); }
  void SetText(const String& AValue);
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool AValue);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* AValue) { FFont->Assign(AValue); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool AValue);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor AValue);
  TControlStyle& ControlStyle() { return FControlStyle; }
  const TControlStyle& ControlStyle() const { return FControlStyle; }
  void SetControlStyle(const TControlStyle& AValue) { FControlStyle = AValue; }
  TControlState& ControlState() { return FControlState; }
  const TControlState& ControlState() const { return FControlState; }
  void SetControlState(const TControlState& AValue) { FControlState = AValue; }
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode AValue) { FDragMode = AValue; }
  // The cursor over a target that accepts the control.
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor AValue) { FDragCursor = AValue; }
  // Size rules: AutoSize lets the control choose its size (CanAutoSize),
  // CanResize may refuse or bend a size, Constraints limit it.
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool AValue);
  virtual void AdjustSize();
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* AValue) { FConstraints->Assign(AValue); }
  // Reading order and alignment (the layout itself is not mirrored).
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode AValue);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool AValue);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftScrollBar() const { return FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign; }
  // Sends CM_STYLEELEMENTSCHANGED when it changes.
  TStyleElements StyleElements() const { return FStyleElements; }
  void SetStyleElements(TStyleElements AValue);
  // The resolution the control is laid out for; ScaleForPPI moves it.
  int CurrentPPI() const { return FCurrentPPI; }
  virtual void ScaleForPPI(int ANewPPI);
  // Takes a resolution without scaling (a control being read is laid out
  // for it already).
  void SetCurrentPPI(int AValue) { FCurrentPPI = AValue; }

  // Hints and menus
  const String& Hint() const { return FHint; }
  void SetHint(const String& AValue) { FHint = AValue; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool AValue);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool AValue);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* AValue);

  // Actions
  TBasicAction* Action() const;
  void SetAction(TBasicAction* AValue);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }

  // Painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // Mouse
  bool MouseCapture();
  void SetMouseCapture(bool AValue);

  // Touch
  TTouchManager& Touch() { return FTouch; }
  const TTouchManager& Touch() const { return FTouch; }

  // Scaling: positions, sizes and (own) fonts by M/D.
  virtual void ScaleBy(int M, int D);
  virtual void ChangeScale(int M, int D, bool AIsDpiChange);
  TScalingFlags ScalingFlags() const { return FScalingFlags; }
  void SetScalingFlags(TScalingFlags AValue) { FScalingFlags = AValue; }

  // Dragging (Controls_Drag.cpp). BeginDrag starts at once, or once the
  // mouse has moved AThreshold pixels (-1: the mouse's drag threshold) away.
  void BeginDrag(bool AImmediate, int AThreshold = -1);
  // Ends this control's drag: dropped where it is when ADrop, else cancelled.
  void EndDrag(bool ADrop);
  bool Dragging() const;
  // Source dropped at (X, Y) in client coordinates (OnDragDrop).
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual TDragImageList* GetDragImages() { return nullptr; }

  // Components: a control's parent is its parent component.
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* AValue) override;

  // Events
  TNotifyEvent OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent AValue) { FOnClick = AValue; }
  TNotifyEvent OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(TNotifyEvent AValue) { FOnDblClick = AValue; }
  TMouseEvent OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent AValue) { FOnMouseDown = AValue; }
  TMouseMoveEvent OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent AValue) { FOnMouseMove = AValue; }
  TMouseEvent OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent AValue) { FOnMouseUp = AValue; }
  TMouseWheelEvent OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent AValue) { FOnMouseWheel = AValue; }
  TNotifyEvent OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent AValue) { FOnMouseEnter = AValue; }
  TNotifyEvent OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent AValue) { FOnMouseLeave = AValue; }
  TNotifyEvent OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent AValue) { FOnResize = AValue; }
  TContextPopupEvent OnContextPopup() const { return FOnContextPopup; }
  void SetOnContextPopup(TContextPopupEvent AValue) { FOnContextPopup = AValue; }
  TDragOverEvent OnDragOver() const { return FOnDragOver; }
  void SetOnDragOver(TDragOverEvent AValue) { FOnDragOver = AValue; }
  TDragDropEvent OnDragDrop() const { return FOnDragDrop; }
  void SetOnDragDrop(TDragDropEvent AValue) { FOnDragDrop = AValue; }
  TStartDragEvent OnStartDrag() const { return FOnStartDrag; }
  void SetOnStartDrag(TStartDragEvent AValue) { FOnStartDrag = AValue; }
  TEndDragEvent OnEndDrag() const { return FOnEndDrag; }
  void SetOnEndDrag(TEndDragEvent AValue) { FOnEndDrag = AValue; }

  // Overridables that callers outside the class use
  virtual void Click();
  virtual void DblClick();
  // Called by the action link (and descendants) when the action changed.
  virtual void ActionChange(TObject* Sender, bool ACheckDefaults);
  // An action offered to the control as its target (an action without
  // OnExecute goes round the active form's controls): true when the control
  // ran it. By default it runs the actions that handle it as a target.
  virtual bool ExecuteAction(TBasicAction* Action);
  // The client rectangle in the parent's client coordinates (graphic
  // controls draw on their parent through this offset).
  virtual bool IsWindowed() const { return false; }

 protected:
  friend class TWinControl;
  friend class TControlCanvas;
  friend class TControlActionLink;
  friend class TControlTracker;
  friend class TBaseDragControlObject;
  friend class TDragSession;

  virtual String GetText() const;
  virtual void SetTextBuf(const String& AValue);
  virtual void Loaded() override;
  void ReadState(TReader* Reader) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  virtual void Resize();
  virtual void RequestAlign();
  virtual void VisibleChanging() {}
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos);
  virtual void MouseEnter() { CallEvent(FOnMouseEnter, this); }
  virtual void MouseLeave() { CallEvent(FOnMouseLeave, this); }
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
  virtual TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  virtual void FontChanged(TObject* Sender);
  // Dragging: the drag object is made here (OnStartDrag; null lets the
  // platform make one); the end (OnEndDrag); whether a drag over the control
  // may drop (OnDragOver; refused without a handler); a refused or
  // cancelled drag; a left press with DragMode dmAutomatic (true when the
  // press started a drag: it then goes no further).
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragCanceled() {}
  virtual bool BeginAutoDrag();
  // The window whose device context a graphic control draws on.
  virtual HWND GetDeviceContextWindow();
  void InvalidateControl(bool AIsVisible, bool AIsOpaque);
  void UpdateAnchorRules();
  void SetTextField(const String& AValue) { FText = AValue; }
  const String& TextField() const { return FText; }
  // Sets the colour a class starts with (no change messages, no tie cut).
  virtual void ApplyDefaultColor(TColor AValue) { FColor = AValue; }
  // Whether a stored value differs from what the parent would give.
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }
  bool IsShowHintStored() const { return !FParentShowHint; }
  bool IsCaptionStored() const;
  bool IsHintStored() const;
  bool IsEnabledStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  // CanResize, AutoSize and Constraints applied to a proposed size; false
  // when the size is refused.
  bool CheckNewSize(int& NewWidth, int& NewHeight);
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }
  // Computes the place of an anchored (not aligned) control inside a parent
  // client size.
  TRect AnchoredBounds(const TSize& AParentClient) const;

  // Message handlers
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMRButtonDblClk(TMessage& Message);
  void WMMButtonDown(TMessage& Message);
  void WMMButtonUp(TMessage& Message);
  void WMMButtonDblClk(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMParentBiDiModeChanged(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CMMouseWheel(TMessage& Message);
  void CMDrag(TMessage& Message);

  // Fields shared with TWinControl
  TWinControl* FParent;
  int FLeft;
  int FTop;
  int FWidth;
  int FHeight;
  TControlStyle FControlStyle;
  TControlState FControlState;
  bool FVisible;
  bool FEnabled;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  // A button message: the default processing, then the mouse event. The
  // down form answers whether the control is still alive afterwards.
  bool ButtonDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void ButtonUpMessage(TMessage& Message, TMouseButton Button);
  void DoActionChange(TObject* Sender);
  void ConstraintsChanged(TObject* Sender);
  void ParentFontApplied();

  TWndMethod FWindowProc;
  String FText;
  TAlign FAlign;
  TAnchors FAnchors;
  // Bounds and parent client size when the control was last placed by hand;
  // anchors keep the distances they had then.
  TRect FAnchorOrigin;
  TSize FAnchorParentSize;
  bool FAnchorValid;
  TColor FColor;
  bool FParentColor;
  TOwned<TFont> FFont;
  bool FParentFont;
  bool FApplyingParentFont;
  TCursor FCursor;
  TDragMode FDragMode;
  TCursor FDragCursor;
  bool FAutoSize;
  TOwned<TSizeConstraints> FConstraints;
  TBiDiMode FBiDiMode;
  bool FParentBiDiMode;
  TStyleElements FStyleElements;
  TScalingFlags FScalingFlags;
  int FCurrentPPI;
  String FHint;
  bool FShowHint;
  bool FParentShowHint;
  TPopupMenu* FPopupMenu;
  TOwned<TControlActionLink> FActionLink;
  TControlTracker* FTrackers;
  TTouchManager FTouch;
  TNotifyEvent FOnClick;
  TNotifyEvent FOnDblClick;
  TMouseEvent FOnMouseDown;
  TMouseMoveEvent FOnMouseMove;
  TMouseEvent FOnMouseUp;
  TMouseWheelEvent FOnMouseWheel;
  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;
  TNotifyEvent FOnResize;
  TContextPopupEvent FOnContextPopup;
  TDragOverEvent FOnDragOver;
  TDragDropEvent FOnDragDrop;
  TStartDragEvent FOnStartDrag;
  TEndDragEvent FOnEndDrag;
};

// ---------------------------------------------------------------------------
// TWinControl

class TWinControl : public TControl {
  SK_CLASS(TWinControl, TControl)
 public:
  static void Publish(TPublisher<TWinControl>& P);

  // Construction and destruction
  void Create(TComponent* AOwner) override;
  void BeforeDestruction() override;
  void Destroy() override;

  // The window
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // A top-level control without a parent control may live in another window.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND AValue);
  // Destroys the window and makes a new one with the current parameters
  // (when the control has one).
  void RecreateWnd();
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  bool IsWindowed() const override { return true; }

  // Children, in z-order (graphic controls first, then windowed ones)
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  TControl* Controls(int AIndex) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* AControl) const;
  // The topmost child under a client point (windowed ones only when asked).
  TControl* ControlAtPos(const TPoint& APos, bool AAllowDisabled, bool AAllowWinControls = false,
                         bool AAllLevels = false);
  TControl* FindChildControl(const String& AName) const;
  // Sends the message to every child until one answers non-zero.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT AMsg);
  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;

  // Showing: visible here and on every parent up to a visible top window.
  bool Showing() const { return FShowing; }
  void UpdateControlState();

  // Focus and tab order
  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  int TabOrder() const;
  void SetTabOrder(int AValue);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool AValue);
  // Every windowed descendant in tab order. A compound control may put the
  // window that stands for it in its place.
  virtual void GetTabOrderList(std::vector<TWinControl*>& AList);
  TWinControl* FindNextControl(TWinControl* ACurControl, bool AGoForward, bool ACheckTabStop,
                               bool ACheckParent);
  void SelectNext(TWinControl* ACurControl, bool AGoForward, bool ACheckTabStop);
  void SelectFirst();

  // Alignment
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetZOrder(bool ATopMost) override;
  void ChangeScale(int M, int D, bool AIsDpiChange) override;

  // Painting
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool AValue);
  // The parent's background shows through where the control erases.
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  virtual void SetParentBackground(bool AValue);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool AValue);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool AValue);
  TBrush* Brush() const { return FBrush.get(); }
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the graphic children (all from AFirst on, in z-order) on DC.
  void PaintControls(HDC DC, TControl* AFirst);
  // Paints the control and its children into DC (WM_PRINT with children).
  void PaintTo(HDC DC, int X, int Y);

  // Events
  TNotifyEvent OnEnter() const { return FOnEnter; }
  void SetOnEnter(TNotifyEvent AValue) { FOnEnter = AValue; }
  TNotifyEvent OnExit() const { return FOnExit; }
  void SetOnExit(TNotifyEvent AValue) { FOnExit = AValue; }
  TKeyEvent OnKeyDown() const { return FOnKeyDown; }
  void SetOnKeyDown(TKeyEvent AValue) { FOnKeyDown = AValue; }
  TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent AValue) { FOnKeyPress = AValue; }
  TKeyEvent OnKeyUp() const { return FOnKeyUp; }
  void SetOnKeyUp(TKeyEvent AValue) { FOnKeyUp = AValue; }

  // Key handling that the application and forms call
  bool DoKeyDown(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  bool DoKeyUp(TMessage& Message);

 protected:
  friend class TControl;
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

  // Window creation and destruction
  virtual void CreateParams(TCreateParams& Params);
  // Takes a registered window class (a standard control) as the base of this
  // control's own class: its procedure becomes the default handler.
  void CreateSubClass(TCreateParams& Params, const wchar_t* AClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void DestroyHandle();
  // After the window exists: text, font and children.
  virtual void InitializeWindow() {}
  WNDPROC DefWndProc() const { return FDefWndProc; }
  void UpdateBounds();
  void UpdateShowing();

  // Alignment and layout
  virtual void AlignControls(TControl* AControl, TRect& ARect);
  virtual void AdjustClientRect(TRect& ARect);
  virtual bool CustomAlignInsertBefore(TControl* C1, TControl* C2);
  virtual void CustomAlignPosition(TControl* AControl, int& ANewLeft, int& ANewTop, int& ANewWidth,
                                   int& ANewHeight, TRect& AAlignRect);
  void AlignControl(TControl* AControl);
  void Loaded() override;

  // Focus
  virtual void DoEnter() { CallEvent(FOnEnter, this); }
  virtual void DoExit() { CallEvent(FOnExit, this); }
  // Keyboard
  virtual void KeyDown(WORD& Key, TShiftState Shift) { CallEvent(FOnKeyDown, this, Key, Shift); }
  virtual void KeyUp(WORD& Key, TShiftState Shift) { CallEvent(FOnKeyUp, this, Key, Shift); }
  virtual void KeyPress(wchar_t& Key) { CallEvent(FOnKeyPress, this, Key); }
  // Whether a popup menu of this control or a parent takes a shortcut key.
  bool IsMenuKey(TMessage& Message);

  // Painting
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  HWND GetDeviceContextWindow() override { return Handle(); }
  void ApplyDefaultColor(TColor AValue) override;
  void FontChanged(TObject* Sender) override;

  // Message handlers
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMPrintClient(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  void WMDeleteItem(TMessage& Message);
  void WMCompareItem(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void WMScroll(TMessage& Message);
  void WMCharToItem(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMShowHintChanged(TMessage& Message);
  void CMBiDiModeChanged(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);
  bool IsCtl3DStored() const { return !FParentCtl3D; }

  HWND FHandle;
  bool FShowing;

 private:
  friend class TCustomForm;
  bool IsControlMouseMsg(TMessage& Message);
  void TrackMouse(TMessage& Message);
  bool ReflectToChild(HWND AChild, TMessage& Message);
  void InsertTab(TWinControl* AControl);
  void RemoveTab(TWinControl* AControl);
  void SortTabList();
  void DoAlign(TAlign AAlign, TRect& ARect, TControl* AControl, std::vector<TControl*>& AAligned);
  void AnchorChildren();
  // Whether this window or a descendant's is inside its own procedure.
  bool InOwnProcedure() const;
  void DetachWindows();
  void FreeDescendantDeviceContexts();

  HWND FParentWindow;
  WNDPROC FDefWndProc;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FWinControls;
  std::vector<TWinControl*> FTabList;
  int FTabOrder;
  bool FTabStop;
  int FAlignLevel;
  bool FDoubleBuffered;
  bool FCtl3D;
  bool FParentCtl3D;
  TOwned<TBrush> FBrush;
  // Depth of this window's own procedure on the stack.
  int FWndProcDepth;
  TNotifyEvent FOnEnter;
  TNotifyEvent FOnExit;
  TKeyEvent FOnKeyDown;
  TKeyPressEvent FOnKeyPress;
  TKeyEvent FOnKeyUp;
};

// ---------------------------------------------------------------------------
// TGraphicControl

class TGraphicControl : public TControl {
  SK_CLASS(TGraphicControl, TControl)
 public:
  static void Publish(TPublisher<TGraphicControl>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void WMPaint(TMessage& Message);
  // The parent's window asks the control under a point (screen coordinates
  // in LParam) first; a graphic control claims its place as client area.
  void WMNCHitTest(TMessage& Message);

 private:
  TOwned<TCanvas> FCanvas;
};

// ---------------------------------------------------------------------------
// TCustomControl

class TCustomControl : public TWinControl {
  SK_CLASS(TCustomControl, TWinControl)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  TOwned<TCanvas> FCanvas;
};

// Told after a control scaled itself to another resolution (ScaleForPPI): M
// is the new DPI, D the old one. Listeners hear it in the order they came.
struct TChangeScaleMessage {
  TControl* Sender;
  int M;
  int D;
};
using TChangeScaleListener = void (*)(const TChangeScaleMessage& AMessage);
void SubscribeToChangeScale(TChangeScaleListener AListener);
void UnsubscribeFromChangeScale(TChangeScaleListener AListener);

// The unit's start-up and shut-down (see UiUnits.cpp).
void ControlsInitialization();
void ControlsFinalization();
