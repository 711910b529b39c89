// The drop-down editors: a mask editor with a drop-down button and a popup
// window beside it that shows a list or any control.
//
// Classes in this file:
//   TcxEditCloseUpReason              why a popup closed
//   TcxCustomDropDownEditData         a popup size kept between in-place activations
//   TcxEditPopupControlLookAndFeel    the look the popup's controls follow
//   TcxCustomDropDownEditProperties   popup size, alignment, events, the drop-down button
//   TcxCustomDropDownEditViewData     the open state in the editor's layout
//   TcxCustomEditPopupWindowViewInfo  border, client edge, system panel, grip (cxDropDownEdit_PopupWindow.cpp)
//   TcxCustomEditPopupWindow          sizing, placement, grip and edge resizing (cxDropDownEdit_PopupWindow.cpp)
//   TcxCustomDropDownInnerEdit        the edit window while a popup is open
//   TcxCustomDropDownEdit             opening, closing, close-up reasons, events (cxDropDownEdit.cpp)
//   TdxCustomDropDownEditAccessibilityHelper  the editor as a combo box to MSAA clients
//   TdxCustomDropDownExpandCollapseProvider   its expand/collapse pattern (cxDropDownEdit_Accessibility.cpp)
//   TcxFilterDropDownEditHelper       a drop-down editor in a filter row
//   TcxCustomPopupEditProperties, TcxPopupEditProperties, TcxCustomPopupEdit,
//   TcxPopupEdit, TcxPopupEditPopupWindow, TcxPopupEditPopupWindowViewInfo
//                                     a popup that hosts any control (cxDropDownEdit_PopupEdit.cpp)
//
// Opening is asynchronous: OpenPopup prepares the window and posts
// CM_REPOPUP to it; the window shows when that message arrives, so
// DroppedDown reads False until then and a second request meanwhile is
// ignored.
#pragma once

#include "library/controls/container/cxContainer.h"
#include "library/controls/windows/cxControls_Windows.h"
#include "library/editors/masks/cxMaskEdit.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <memory>

enum TcxEditCloseUpReason { crUnknown, crTab, crClose, crCancel, crEnter };
template <>
struct TEnumInfo<TcxEditCloseUpReason> {
  static constexpr const wchar_t* Name = L"TcxEditCloseUpReason";
  static constexpr const wchar_t* Names[] = {L"crUnknown", L"crTab", L"crClose", L"crCancel", L"crEnter"};
  static constexpr TcxEditCloseUpReason Last = crEnter;
};

// (Sender, AReason)
using TcxEditClosePopupEvent = Delegate<void(TObject*, TcxEditCloseUpReason)>;

class TcxCustomDropDownEdit;
class TcxCustomEditPopupWindow;

// Messages of the drop-down editors: the editor re-reads its lookup data
// after a paste; the popup window forwards a character to its focused control.
inline constexpr UINT DXM_DROPDOWN_SYNCLOOKUP = 0x8097;
inline constexpr UINT DXM_POPUP_FORWARDCHAR = 0x8096;

// Raises the expand/collapse state change of an editor whose popup opened
// (AExpanded) or closed; the default tells MSAA clients of a state change.
// Returns the raiser replaced; nil restores the default.
using TcxExpandCollapseRaiser = void (*)(TcxCustomDropDownEdit* AEdit, bool AExpanded);
TcxExpandCollapseRaiser cxSetExpandCollapseRaiser(TcxExpandCollapseRaiser ARaiser);

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditData

class TcxCustomDropDownEditData : public TcxCustomEditData {
  SK_CLASS(TcxCustomDropDownEditData, TcxCustomEditData)
 public:
  bool Initialized = false;
  // The popup size at 96 DPI.
  int Width = 0;
  int Height = 0;
};

// ---------------------------------------------------------------------------
// TcxEditPopupControlLookAndFeel

class TcxEditPopupControlLookAndFeel : public TcxLookAndFeel {
  SK_CLASS(TcxEditPopupControlLookAndFeel, TcxLookAndFeel)
 public:
  // Takes kind, native style, skin name and scroll-bar mode from the editor
  // and reports the changed ones as one change.
  void RefreshFrom(TcxCustomDropDownEdit* AEdit);
};

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditProperties

class TcxCustomDropDownEditProperties : public TcxCustomMaskEditProperties {
  SK_CLASS(TcxCustomDropDownEditProperties, TcxCustomMaskEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TdxSmartGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }
  void SetButtonGlyph(TdxSmartGlyph* AValue);
  bool ImmediateDropDownWhenActivated() const { return FImmediateDropDownWhenActivated; }
  void SetImmediateDropDownWhenActivated(bool AValue) { SetField(FImmediateDropDownWhenActivated, AValue); }
  bool ImmediateDropDownWhenKeyPressed() const { return FImmediateDropDownWhenKeyPressed; }
  void SetImmediateDropDownWhenKeyPressed(bool AValue) { SetField(FImmediateDropDownWhenKeyPressed, AValue); }
  // Two further names of the fields above, never stored.
  bool ImmediateDropDown() const { return FImmediateDropDownWhenKeyPressed; }
  void SetImmediateDropDown(bool AValue) { SetImmediateDropDownWhenKeyPressed(AValue); }
  bool ImmediatePopup() const { return FImmediateDropDownWhenActivated; }
  void SetImmediatePopup(bool AValue) { SetImmediateDropDownWhenActivated(AValue); }
  bool KeepArrowButtonPressedWhenDroppedDown() const { return FKeepArrowButtonPressedWhenDroppedDown; }
  void SetKeepArrowButtonPressedWhenDroppedDown(bool AValue) {
    SetField(FKeepArrowButtonPressedWhenDroppedDown, AValue);
  }
  TAlignment PopupAlignment() const;
  void SetPopupAlignment(TAlignment AValue);
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool AValue) { SetField(FPopupAutoSize, AValue); }
  bool PopupClientEdge() const { return FPopupClientEdge; }
  void SetPopupClientEdge(bool AValue) { SetField(FPopupClientEdge, AValue); }
  TcxPopupDirection PopupDirection() const { return FPopupDirection; }
  void SetPopupDirection(TcxPopupDirection AValue) { SetField(FPopupDirection, AValue); }
  // Raised to PopupMinHeight; no change notification.
  int PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int AValue);
  TcxPopupAlignHorz PopupHorzAlignment() const { return FPopupHorzAlignment; }
  void SetPopupHorzAlignment(TcxPopupAlignHorz AValue) { SetField(FPopupHorzAlignment, AValue); }
  int PopupMinHeight() const { return FPopupMinHeight; }
  void SetPopupMinHeight(int AValue);
  int PopupMinWidth() const { return FPopupMinWidth; }
  void SetPopupMinWidth(int AValue);
  bool PopupSizeable() const { return FPopupSizeable; }
  void SetPopupSizeable(bool AValue) { SetField(FPopupSizeable, AValue); }
  bool PopupSysPanelStyle() const { return FPopupSysPanelStyle; }
  void SetPopupSysPanelStyle(bool AValue) { SetField(FPopupSysPanelStyle, AValue); }
  TcxPopupAlignVert PopupVertAlignment() const { return FPopupVertAlignment; }
  void SetPopupVertAlignment(TcxPopupAlignVert AValue) { SetField(FPopupVertAlignment, AValue); }
  // Negative gives 0; a positive value below PopupMinWidth is raised to it;
  // 0 (the editor's width) stays. No change notification.
  int PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int AValue);
  bool PostPopupValueOnTab() const { return FPostPopupValueOnTab; }
  void SetPostPopupValueOnTab(bool AValue) { SetField(FPostPopupValueOnTab, AValue); }

  TcxEditClosePopupEvent OnClosePopup() const { return FOnClosePopup; }
  void SetOnClosePopup(TcxEditClosePopupEvent AValue) { FOnClosePopup = AValue; }
  TCloseQueryEvent OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent AValue) { FOnCloseQuery = AValue; }
  TNotifyEvent OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TNotifyEvent AValue) { FOnCloseUp = AValue; }
  TNotifyEvent OnFinalizePopup() const { return FOnFinalizePopup; }
  void SetOnFinalizePopup(TNotifyEvent AValue) { FOnFinalizePopup = AValue; }
  TNotifyEvent OnInitPopup() const { return FOnInitPopup; }
  void SetOnInitPopup(TNotifyEvent AValue) { FOnInitPopup = AValue; }
  TNotifyEvent OnPopup() const { return FOnPopup; }
  void SetOnPopup(TNotifyEvent AValue) { FOnPopup = AValue; }

  // Overridables
  virtual int GetDropDownButtonIndex() { return 0; }
  virtual bool UsesArrowDropDownButton() { return true; }
  virtual bool DropDownOnClick() { return false; }
  virtual bool PostsPopupValueImmediately() { return false; }
  virtual TClass GetPopupWindowClass();
  virtual bool PopupWindowCorrectsBounds() { return true; }
  virtual bool PopupWindowCapturesFocus() { return IsIncrementalFilteringActive(); }

  // TcxCustomEditProperties
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  void NotifyPropertiesChanged() override;
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  bool ShowsLookupListInPopup() override { return true; }
  // The scale the popup sizes are given at (cxDropDownEdit_Scaling.cpp).
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  virtual void ApplyScale(int M, int D);

 private:
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  void GlyphChanged(TObject* Sender);
  // Detaches the glyph from its button, then attaches it to FGlyphButtonIndex.
  void ApplyGlyphButton();
  void SetGlyphButton(int AIndex, bool AAttach);

  TOwned<TdxSmartGlyph> FButtonGlyph;
  TOwned<TdxScaleFactor> FScaleFactor;
  bool FApplyingGlyphButton = false;
  int FGlyphButtonIndex = 0;
  bool FImmediateDropDownWhenActivated = false;
  bool FImmediateDropDownWhenKeyPressed = true;
  bool FKeepArrowButtonPressedWhenDroppedDown = false;
  bool FPopupAutoSize = true;
  bool FPopupClientEdge = false;
  TcxPopupDirection FPopupDirection = pdVertical;
  int FPopupHeight = 0;
  TcxPopupAlignHorz FPopupHorzAlignment = pahLeft;
  int FPopupMinHeight = 0;
  int FPopupMinWidth = 0;
  bool FPopupSizeable = false;
  bool FPopupSysPanelStyle = false;
  TcxPopupAlignVert FPopupVertAlignment = pavBottom;
  int FPopupWidth = 0;
  bool FPostPopupValueOnTab = false;
  TcxEditClosePopupEvent FOnClosePopup;
  TCloseQueryEvent FOnCloseQuery;
  TNotifyEvent FOnCloseUp;
  TNotifyEvent FOnFinalizePopup;
  TNotifyEvent FOnInitPopup;
  TNotifyEvent FOnPopup;
};

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditViewData

class TcxCustomDropDownEditViewData : public TcxCustomTextEditViewData {
  SK_CLASS(TcxCustomDropDownEditViewData, TcxCustomTextEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

  bool HasPopupWindow = false;
  bool IsHotAndPopup = false;
  bool KeepArrowButtonPressedWhenDroppedDown = false;

 protected:
  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  bool IsButtonHeldPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
};

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindowViewInfo (cxDropDownEdit_PopupWindow.cpp)

// (AViewInfo, ACanvas, R, var AHandled, out ABorderWidth); ACanvas is nil
// when only the width is asked.
using TcxCustomDrawBorderEvent = Delegate<void(TcxContainerViewInfo*, TcxCanvas*, const TRect&, bool&, int&)>;

class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
  SK_CLASS(TcxCustomEditPopupWindowViewInfo, TcxContainerViewInfo)
 public:
  // Shadow strips right of and below the body.
  static constexpr int ShadowSize = 3;
  // The square at the grip corner of a border-sized window.
  static constexpr int CornerSize = 10;

  virtual bool IsSearchInfoPanelInClientArea() { return false; }
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  // Left, top, right, bottom widths of everything around the client area.
  virtual TRect GetBorderExtent();
  virtual TRect GetClientExtent() { return GetBorderExtent(); }
  virtual int GetSysPanelHeight();
  // The search-info panel's height; the incremental-filtering window sets it.
  virtual int GetSearchInfoPanelHeight() { return 0; }
  virtual void DrawSearchInfoPanel(TcxCanvas*) {}
  int GetBorderWidth();
  int GetClientEdgeWidth();

  TcxCustomDrawBorderEvent OnCustomDrawBorder;
  TcxEditPopupBorderStyle BorderStyle = epbsDefault;
  bool ClientEdge = false;
  int MinSysPanelHeight = 0;
  bool NativeStyle = false;
  bool Shadow = false;
  bool ShowCloseButton = false;
  TRect CloseButtonRect;
  TcxButtonState CloseButtonState = cxbsNormal;
  bool Sizeable = false;
  TdxCorner SizeGripCorner = coBottomRight;
  TRect SizeGripRect;
  TRect SizeGripSizingRect;
  int SysPanelHeight = 0;
  TRect SysPanelBounds;
  bool SysPanelStyle = false;
  bool ShowSearchInfoPanel = false;
  TRect SearchInfoPanelBounds;
  bool UseRightToLeftAlignment = false;
  TdxScaleFactor* ScaleFactor = nullptr;

  // Separator widths of the system panel (left, top, right, bottom).
  TRect PanelSeparators();

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
};

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindow (cxDropDownEdit_PopupWindow.cpp)

// Hit-test codes of the popup window.
inline constexpr int cxPopupHitNone = -1;
inline constexpr int cxPopupHitCloseButton = 0;
inline constexpr int cxPopupHitCornerNWSE = 1;
inline constexpr int cxPopupHitCornerNESW = 2;
inline constexpr int cxPopupHitVert = 3;
inline constexpr int cxPopupHitHorz = 4;

class TcxCustomEditPopupWindow : public TcxCustomPopupWindow {
  SK_CLASS(TcxCustomEditPopupWindow, TcxCustomPopupWindow)
 public:
  void Create(TComponent* AOwnerControl) override;
  void Destroy() override;

  TcxCustomDropDownEdit* Edit() const;
  TcxCustomEditPopupWindowViewInfo* ViewInfo() const {
    return static_cast<TcxCustomEditPopupWindowViewInfo*>(TcxCustomPopupWindow::ViewInfo());
  }
  TClass GetViewInfoClass() override { return TcxCustomEditPopupWindowViewInfo::ClassInfo(); }
  bool ConsumesClosingClick(HWND AWnd, UINT AMessage, const TPoint& APoint, TShiftState AShift) override;

  TcxEditPopupBorderStyle PopupBorderStyle() const { return FBorderStyle; }
  void SetPopupBorderStyle(TcxEditPopupBorderStyle AValue);
  bool ClientEdge() const { return FClientEdge; }
  void SetClientEdge(bool AValue);
  bool CloseButton() const { return FCloseButton; }
  void SetCloseButton(bool AValue);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int AValue) { FMinHeight = AValue; }
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int AValue) { FMinWidth = AValue; }
  int MinSysPanelHeight() const { return ViewInfo()->MinSysPanelHeight; }
  void SetMinSysPanelHeight(int AValue) { ViewInfo()->MinSysPanelHeight = AValue; }
  bool NativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool AValue);
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool AValue) { FPopupAutoSize = AValue; }
  int PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int AValue) { FPopupHeight = AValue; }
  int PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int AValue) { FPopupWidth = AValue; }
  bool Shadow() const { return FShadow; }
  void SetShadow(bool AValue);
  bool ShowContentWhileResize() const { return FShowContentWhileResize; }
  void SetShowContentWhileResize(bool AValue) { FShowContentWhileResize = AValue; }
  bool ShowSearchInfoPanel() const { return ViewInfo()->ShowSearchInfoPanel; }
  void SetShowSearchInfoPanel(bool AValue) { ViewInfo()->ShowSearchInfoPanel = AValue; }
  bool Sizeable() const { return FSizeable; }
  void SetSizeable(bool AValue);
  bool SysPanelStyle() const { return FSysPanelStyle; }
  void SetSysPanelStyle(bool AValue);
  // The smallest size: the extents, and with a sizeable system panel room
  // for its close button and grip.
  virtual TSize MinSize();
  bool IsSizing() const { return FSizingCapture; }
  // The size frame of a drag without live content; null otherwise.
  TcxSizeFrame* SizeFrame() const { return FSizeFrame.get(); }

  virtual void CalculateViewInfo();
  // Forwards a character the editor posted to the focused window.
  virtual void HandleEditKey(wchar_t AChar);
  // The hit-test code of P (window coordinates).
  int GetHitTest(const TPoint& P);
  // Recomputes the owner bounds from the editor.
  void UpdateOwnerBounds();
  // The largest content the work area allows next to the editor.
  TSize GetMaxContentSize();
  void LockCheckSize() { ++FLockCheckSizeCount; }
  void UnlockCheckSize() { --FLockCheckSizeCount; }

  using TcxCustomPopupWindow::Popup;
  void Popup(TWinControl* AFocusedControl) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  // The window region: the body and, with a shadow, the shadow strips
  // except where they would cover the editor.
  void SetRegionWithShadow();

 protected:
  TSize DoCalculateSize() override;
  void CorrectPosition(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) override;
  bool NeedsWorkAreaCorrection() override;
  void DoClosing() override;
  void CloseOnModalResult() override;
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& ARect) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void Resize() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void PaintWindow(HDC DC) override;
  void WndProc(TMessage& Message) override;

  // Applies bounds the user dragged to: the editor learns the new size.
  void ApplyBounds(const TRect& R);
  // Ends a drag; AApply takes the last frame rectangle.
  void EndSizing(bool AApply);
  // The grip corner after placement: right-hand unless the window was
  // pushed left past the editor's right edge; bottom unless opened above.
  void UpdateSizeGripCorner(const TPoint& APosition, const TSize& ASize);

 private:
  void UpdateHitState(const TPoint& P, bool ALeftHeld);
  bool IsRightGrip() const;
  bool IsBottomGrip() const;

  bool FPopupAutoSize = false;
  TcxEditPopupBorderStyle FBorderStyle = epbsDefault;
  bool FClientEdge = false;
  bool FCloseButton = false;
  int FMinHeight = 0;
  int FMinWidth = 0;
  bool FNativeStyle = false;
  int FPopupHeight = 0;
  int FPopupWidth = 0;
  bool FShadow = false;
  bool FShowContentWhileResize = false;
  bool FSizeable = false;
  TOwned<TcxSizeFrame> FSizeFrame;
  bool FSysPanelStyle = false;
  // Screen point, window bounds and the last frame when the drag began.
  TPoint FCapturePoint;
  TRect FCaptureBounds;
  TRect FFrameBounds;
  bool FSizingCapture = false;
  int FSizingHitTest = cxPopupHitNone;
  int FLockCheckSizeCount = 0;
};

// ---------------------------------------------------------------------------
// TcxCustomDropDownInnerEdit

class TcxCustomDropDownInnerEdit : public TcxCustomInnerTextEdit {
  SK_CLASS(TcxCustomDropDownInnerEdit, TcxCustomInnerTextEdit)
 protected:
  void WndProc(TMessage& Message) override;
};

// ---------------------------------------------------------------------------
// TcxCustomDropDownEdit (cxDropDownEdit.cpp)

class TcxCustomDropDownEdit : public TcxCustomMaskEdit {
  SK_CLASS(TcxCustomDropDownEdit, TcxCustomMaskEdit)
 public:
  void Destroy() override;
  void BeforeDestruction() override;

  TcxCustomDropDownEditProperties* ActiveProperties() {
    return static_cast<TcxCustomDropDownEditProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomDropDownEditProperties* Properties() const {
    return static_cast<TcxCustomDropDownEditProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomDropDownEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomDropDownEditProperties::ClassInfo(); }

  // A popup window exists and is shown.
  bool DroppedDown();
  void SetDroppedDown(bool AValue);
  bool HasPopupWindow() override;
  // Whether the drop-down button lies under a point of the editor's client.
  bool IsDropDownButtonAt(const TPoint& P);
  bool IsFocused() override;
  virtual bool CanHide() { return true; }
  virtual void ClosePopup(TcxEditCloseUpReason AReason);
  // The bounds the popup opens next to, in the parent's client coordinates.
  void CalculatePopupOwnerBounds(TRect& ARect);
  TcxEditCloseUpReason CloseUpReason() const { return FCloseUpReason; }
  TcxEditPopupControlLookAndFeel* PopupControlsLookAndFeel() const { return FPopupControlsLookAndFeel.get(); }
  bool IsHotAndPopup() const { return FIsHotAndPopup; }
  bool PopupInitialized() const { return FPopupInitialized; }
  bool PopupSizeChanged() const { return FPopupSizeChanged; }
  // An open request waits in the popup window's queue.
  bool IsOpenPending();

  // Overridables
  virtual bool CanDropDown() { return false; }
  virtual void CreatePopupWindow();
  virtual void DestroyPopupWindow();
  virtual void DoCloseUp();
  virtual void DoFinalizePopup();
  virtual void DoInitPopup();
  virtual void DoPopup();
  virtual void OpenPopup();
  virtual int GetPopupHeight();
  virtual TWinControl* GetPopupFocusedControl();
  virtual int GetPopupWidth();
  virtual TSize CalculatePopupSize() = 0;
  virtual TcxCustomEditPopupWindow* GetPopupWindow() { return FPopupWindow.get(); }
  virtual void InitializePopupContent();
  virtual void SetupPopupWindow();
  virtual bool PopupCapturesFocus() { return ActiveProperties()->PopupWindowCapturesFocus(); }
  virtual bool ShowsSearchInfoPanel();
  virtual void PopupLookAndFeelChanged(TObject*) {}
  virtual void PositionPopupContent(const TRect& AClientRect);
  virtual void PreparePopupWindow();
  virtual void StorePopupSize();

  TcxCustomEditPopupWindow* PopupWindow() { return GetPopupWindow(); }
  void SetPopupSizeChanged(bool AValue) { FPopupSizeChanged = AValue; }

 protected:
  friend class TcxCustomEditPopupWindow;
  friend class TcxCustomDropDownEditViewData;
  friend class TcxCustomDropDownInnerEdit;

  // Handlers the popup window's events are wired to.
  virtual void PopupWindowBeforeClosing(TObject*) {}
  virtual void PopupWindowClosed(TObject* Sender);
  virtual void PopupWindowCloseQuery(TObject* Sender, bool& CanClose);
  virtual void PopupWindowClosing(TObject*) {}
  virtual void PopupWindowShowing(TObject*) {}
  virtual void AfterPopupOpened(TObject* Sender);

  void InitializeEdit() override;
  TClass GetInnerControlClass() override;
  TClass GetEditDataClass() override { return TcxCustomDropDownEditData::ClassInfo(); }
  TClass GetAccessibilityHelperClass() override;
  TOwned<TcxCustomEditViewData> CreateEditViewData() override;
  void PropertiesChanged(TObject* Sender) override;
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  void ProcessKeyPress(wchar_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void PressButton(int AIndex) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override;
  void DoExit() override;
  void FocusChanged() override;
  void PrepareTabExit(TShiftState Shift) override;
  bool WantsTabKey() override;
  void DestroyWnd() override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void PasteFromClipboard() override;
  void ApplyScale(int M, int D, bool AIsDpiChange) override;

 public:
  void Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus = true) override;
  void ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData) override;
  bool Deactivate() override;

 protected:
  void UpdateHotState();
  // The focus is in a window that is neither the editor's nor the popup's.
  bool FocusMovedAway();
  // The editor and its parent chain are visible and it is not parked at the
  // off-screen position in-place hosts use.
  bool IsOnScreen();
  // Removes a queued open request; whether there was one.
  bool RemovePendingOpen();
  void InitializeLookupDataTimerTick(TObject* Sender);
  void PopupControlsLookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues) {
    PopupLookAndFeelChanged(Sender);
  }
  void RaiseExpandCollapseEvent();

  TPoint FCachedPosition;
  bool FIsActivatingByMouse = false;
  bool FIsHotAndPopup = false;
  TOwned<TcxEditPopupControlLookAndFeel> FPopupControlsLookAndFeel;
  bool FPopupInitialized = false;
  bool FPopupMouseMoveLocked = false;
  bool FPopupSizeChanged = false;
  bool FSendChildrenStyle = false;
  TOwned<TcxTimer> FInitializeLookupDataTimer;
  TcxEditCloseUpReason FCloseUpReason = crUnknown;
  TOwned<TcxCustomEditPopupWindow> FPopupWindow;
  bool FClosedByButtonPress = false;
};

// -- dd44b
// The expand/collapse pattern of a drop-down editor's node, and the drop-down
// editors in a filter row (cxDropDownEdit_Accessibility.cpp).

// Expanded while the popup shows; expanding and collapsing write DroppedDown.
class TdxCustomDropDownExpandCollapseProvider : public TdxExpandCollapseProvider {
 public:
  TdxCustomDropDownExpandCollapseProvider(TcxAccessibilityHelper* AOwner, TcxCustomDropDownEdit* AEdit)
      : TdxExpandCollapseProvider(AOwner), FEdit(AEdit) {}

 protected:
  void DoCollapse() override;
  void DoExpand() override;
  int GetExpandCollapseState() override;

 private:
  TcxCustomDropDownEdit* Edit() const;
  TcxCustomDropDownEdit* FEdit;
};

// A drop-down editor's properties keep their buttons in a filter row.
class TcxFilterDropDownEditHelper : public TcxFilterMaskEditHelper {
  SK_CLASS(TcxFilterDropDownEditHelper, TcxFilterMaskEditHelper)
 public:
  struct TMeta : TcxFilterMaskEditHelper::TMeta {
    bool EditPropertiesHasButtons() const override { return true; }
  };
};
// -- end dd44b

// ---------------------------------------------------------------------------
// TdxCustomDropDownEditAccessibilityHelper

class TdxCustomDropDownEditAccessibilityHelper : public TdxCustomTextEditAccessibilityHelper {
  SK_CLASS(TdxCustomDropDownEditAccessibilityHelper, TdxCustomTextEditAccessibilityHelper)
 public:
  void Destroy() override;
  bool GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider, int AChildID) override;

 protected:
  int GetRole(int AChildID) override;
  int GetState(int AChildID) override;
  String GetValue(int AChildID) override;
  String GetDefaultActionDescription(int AChildID) override;
  void DoDefaultAction(int AChildID) override;
  int GetSupportedProperties(int AChildID) override;

 private:
  TcxCustomDropDownEdit* DropDownEdit();
  std::unique_ptr<TdxCustomDropDownExpandCollapseProvider> FExpandCollapseProvider;
};

// ---------------------------------------------------------------------------
// The popup edit (cxDropDownEdit_PopupEdit.cpp)

class TcxCustomPopupEditProperties : public TcxCustomDropDownEditProperties {
  SK_CLASS(TcxCustomPopupEditProperties, TcxCustomDropDownEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TControl* PopupControl() const { return FPopupControl; }
  void SetPopupControl(TControl* AValue);

  TClass GetPopupWindowClass() override;
  bool PopupWindowCapturesFocus() override { return true; }
  bool ShowsLookupListInPopup() override { return false; }
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetContainerClass() override;

 private:
  void PopupControlFreed(TComponent* AComponent);

  TControl* FPopupControl = nullptr;
  TOwned<TcxFreeNotificator> FFreeNotificator;
};

class TcxPopupEditProperties : public TcxCustomPopupEditProperties {
  SK_CLASS(TcxPopupEditProperties, TcxCustomPopupEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
};

struct TcxPrevPopupControlData {
  TAlign Align = alNone;
  // At 96 DPI.
  TRect Bounds;
  TWinControl* Parent = nullptr;
  bool Visible = false;
  TFormBorderStyle BorderStyle = bsNone;
  TWinControl* ActiveControl = nullptr;
};

class TcxPopupEditPopupWindowViewInfo : public TcxCustomEditPopupWindowViewInfo {
  SK_CLASS(TcxPopupEditPopupWindowViewInfo, TcxCustomEditPopupWindowViewInfo)
 public:
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
};

class TcxPopupEditPopupWindow : public TcxCustomEditPopupWindow {
  SK_CLASS(TcxPopupEditPopupWindow, TcxCustomEditPopupWindow)
 public:
  TClass GetViewInfoClass() override { return TcxPopupEditPopupWindowViewInfo::ClassInfo(); }
};

class TcxCustomPopupEdit : public TcxCustomDropDownEdit {
  SK_CLASS(TcxCustomPopupEdit, TcxCustomDropDownEdit)
 public:
  void Destroy() override;

  TcxCustomPopupEditProperties* ActiveProperties() {
    return static_cast<TcxCustomPopupEditProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomPopupEditProperties* Properties() const {
    return static_cast<TcxCustomPopupEditProperties*>(InternalProperties());
  }
  TClass GetPropertiesClass() override { return TcxPopupEditProperties::ClassInfo(); }

  // Stores AReason and asks the popup window to close itself.
  virtual void RequestClosePopup(TcxEditCloseUpReason AReason);
  virtual void RestorePopupControl();
  virtual void SavePopupControl();
  const TcxPrevPopupControlData& PrevPopupControlData() const { return FPrevPopupControlData; }

  bool CanDropDown() override { return ActiveProperties()->PopupControl() != nullptr; }
  TWinControl* GetPopupFocusedControl() override;
  TSize CalculatePopupSize() override;
  void DoInitPopup() override;
  void PreparePopupWindow() override;
  void PositionPopupContent(const TRect& AClientRect) override;

 protected:
  void PopupWindowClosing(TObject* Sender) override;
  void PopupWindowClosed(TObject* Sender) override;

 private:
  TcxPrevPopupControlData FPrevPopupControlData;
  // The control taken into the popup, until it is put back.
  TControl* FSavedControl = nullptr;
};

class TcxPopupEdit : public TcxCustomPopupEdit {
  SK_CLASS(TcxPopupEdit, TcxCustomPopupEdit)
 public:
  TcxPopupEditProperties* Properties() const {
    return static_cast<TcxPopupEditProperties*>(InternalProperties());
  }
  void SetProperties(TcxPopupEditProperties* AValue) { InternalProperties()->Assign(AValue); }
};

// -- combo box
// The combo box: a drop-down editor whose popup lists its items, and whose
// text is one of them or, in the free style, any text.
//
// Classes in this block:
//   TcxEditDropDownListStyle            how much of the text the user may type
//   TcxCustomComboBoxProperties, TcxComboBoxProperties   the combo box's settings
//   TcxCustomComboBox, TcxComboBox      the editor
//   TcxComboBoxLookupData               the lookup over the items with its list
//   TcxCustomComboBoxListBox, TcxComboBoxListBox   the owner-drawn list
//   TcxComboBoxPopupWindow              the popup with the list's size rule
//   TcxComboBoxIncrementalFilteringHelper          the search box of a filtering list
//   TcxFilterComboBoxHelper             the combo box in a filter row

#include "library/editors/dropdown/cxDropDownEdit_Filtering.h"
#include "library/editors/filter/cxFilterEditHelpers.h"

// lsEditFixedList: typing, with the text meant to be one of the items;
// lsEditList: any text; lsFixedList: only a choice from the list.
enum TcxEditDropDownListStyle { lsEditFixedList, lsEditList, lsFixedList };
template <>
struct TEnumInfo<TcxEditDropDownListStyle> {
  static constexpr const wchar_t* Name = L"TcxEditDropDownListStyle";
  static constexpr const wchar_t* Names[] = {L"lsEditFixedList", L"lsEditList", L"lsFixedList"};
  static constexpr TcxEditDropDownListStyle Last = lsFixedList;
};

class TcxCustomComboBox;
class TcxComboBoxLookupData;

using TcxEditDrawItemEvent =
    Delegate<void(TcxCustomComboBox* AControl, TcxCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState)>;

class TcxCustomComboBoxProperties : public TcxCustomDropDownEditProperties {
  SK_CLASS(TcxCustomComboBoxProperties, TcxCustomDropDownEditProperties)
 public:
  TcxEditDropDownListStyle DropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(TcxEditDropDownListStyle AValue);
  int DropDownRows() const { return FDropDownRows; }
  // Values below 1 are ignored.
  void SetDropDownRows(int AValue);
  // 0: the list's standard row height.
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int AValue);
  // A double click steps to the next item.
  bool Revertable() const { return FRevertable; }
  void SetRevertable(bool AValue) { FRevertable = AValue; }
  TStrings* Items() const { return LookupItems(); }
  void SetItems(TStrings* AValue) { SetLookupItems(AValue); }
  bool Sorted() const { return LookupItemsSorted(); }
  void SetSorted(bool AValue) { SetLookupItemsSorted(AValue); }
  bool DropDownAutoWidth() const { return PopupAutoSize(); }
  void SetDropDownAutoWidth(bool AValue) { SetPopupAutoSize(AValue); }
  bool DropDownSizeable() const { return PopupSizeable(); }
  void SetDropDownSizeable(bool AValue) { SetPopupSizeable(AValue); }
  int DropDownWidth() const { return PopupWidth(); }
  void SetDropDownWidth(int AValue) { SetPopupWidth(AValue); }
  TcxEditDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TcxEditDrawItemEvent AValue) { FOnDrawItem = AValue; }
  TMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
  void SetOnMeasureItem(TMeasureItemEvent AValue) { FOnMeasureItem = AValue; }

  TClass GetContainerClass() override;
  TClass GetViewInfoClass() override;
  TClass GetViewDataClassType() override;
  TClass GetLookupDataClassType() override;
  TClass GetPopupWindowClass() override;
  TcxEditEditingStyle GetEditingStyle() override;
  int GetDropDownRowCount() override { return FDropDownRows; }
  bool DropDownOnClick() override { return FDropDownListStyle == lsFixedList; }
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  void ApplyScale(int M, int D) override;

 private:
  TcxEditDropDownListStyle FDropDownListStyle = lsEditList;
  int FDropDownRows = 8;
  int FItemHeight = 0;
  bool FRevertable = false;
  TcxEditDrawItemEvent FOnDrawItem;
  TMeasureItemEvent FOnMeasureItem;
};

class TcxComboBoxProperties : public TcxCustomComboBoxProperties {
  SK_CLASS(TcxComboBoxProperties, TcxCustomComboBoxProperties)
 public:
  static void Publish(TPublisher<TcxComboBoxProperties>& P);
};

// The edit area of a fixed list drawn by OnDrawItem.
class TcxCustomComboBoxViewData : public TcxCustomDropDownEditViewData {
  SK_CLASS(TcxCustomComboBoxViewData, TcxCustomDropDownEditViewData)
 public:
  bool IsComboStyle() override { return true; }
  int OwnerDrawItemIndex = -1;
};

class TcxCustomComboBoxViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxCustomComboBoxViewInfo, TcxCustomTextEditViewInfo)
 public:
  int ItemIndex = -1;
};

class TcxCustomComboBox : public TcxCustomDropDownEdit {
  SK_CLASS(TcxCustomComboBox, TcxCustomDropDownEdit)
 public:
  TcxCustomComboBoxProperties* ActiveProperties() {
    return static_cast<TcxCustomComboBoxProperties*>(inherited::ActiveProperties());
  }
  TcxCustomComboBoxProperties* Properties() const {
    return static_cast<TcxCustomComboBoxProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomComboBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomComboBoxProperties::ClassInfo(); }
  TcxComboBoxLookupData* ComboLookupData() const;
  int SelectedItem();
  void SetSelectedItem(int AValue);

  // For the list.
  bool HasDrawItemHandler();
  bool HasMeasureItemHandler();
  void DoDrawItem(TcxCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState);
  void DoMeasureItem(int AIndex, int& AHeight);
  bool PopupMouseMoveLocked() const { return FPopupMouseMoveLocked; }
  void SetPopupMouseMoveLocked(bool AValue) { FPopupMouseMoveLocked = AValue; }
  // A row picked with the mouse becomes the value.
  void CloseListByUser();
  bool IsPopupOpenOrPending() { return HasPopupWindow() || IsOpenPending(); }
  // Whether the current item follows the edit text.
  bool LookupFollowsText();
  void RepreparePopup() { PreparePopupWindow(); }
  void HandleSearchBoxKeyDown(WORD& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  void HandleSearchBoxKeyPress(wchar_t& Key);

  bool CanDropDown() override;
  TSize CalculatePopupSize() override;

 protected:
  // The repository item's properties when they are a combo box's.
  TcxCustomComboBoxProperties* SharedComboProperties();
  void SetupPopupWindow() override;
  void PreparePopupWindow() override;
  void HandleContentChanged() override;
  bool CanNavigateLookupItems(bool AByWheel) override;
  void DblClick() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void InitializeEdit() override;
  bool SetWindowTextValue(const String& AText) override;
};

class TcxComboBox : public TcxCustomComboBox {
  SK_CLASS(TcxComboBox, TcxCustomComboBox)
 public:
  static void Publish(TPublisher<TcxComboBox>& P);
  TcxComboBoxProperties* ActiveProperties() {
    return static_cast<TcxComboBoxProperties*>(inherited::ActiveProperties());
  }
  TcxComboBoxProperties* Properties() const { return static_cast<TcxComboBoxProperties*>(InternalProperties()); }
  void SetProperties(TcxComboBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxComboBoxProperties::ClassInfo(); }
  bool SupportsSpelling();
};

class TcxComboBoxIncrementalFilteringHelper : public TdxCustomIncrementalFilteringHelper {
  SK_CLASS(TcxComboBoxIncrementalFilteringHelper, TdxCustomIncrementalFilteringHelper)
 public:
  virtual void Create(TcxComboBoxLookupData* ALookupData);

  TcxCustomLookAndFeelPainter* GetPainter() override;
  void SearchEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
  void HandleSearchKey(TObject* Sender, wchar_t& Key) override;
  void SearchEditMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                            bool& Handled) override;
  void SearchEditValueChanged(TObject* Sender) override;

 private:
  bool SearchTextIsEmpty();
  TcxComboBoxLookupData* FLookupData = nullptr;
};

class TcxComboBoxLookupData : public TcxCustomTextEditLookupData {
  SK_CLASS(TcxComboBoxLookupData, TcxCustomTextEditLookupData)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TcxCustomComboBox* ComboBox() const;
  TcxComboBoxIncrementalFilteringHelper* FilteringHelper() const { return FIncrementalFilteringHelper.get(); }

  bool CanResizeVisualArea(TSize& NewSize, int AMaxHeight, int AMaxWidth) override;
  void CloseUp() override;
  TWinControl* GetActiveControl() override;
  TSize GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) override;
  void PositionVisualArea(const TRect& AClientRect) override;
  void TextChanged() override;

 protected:
  virtual TOwned<TcxComboBoxIncrementalFilteringHelper> CreateFilteringHelper();
  virtual int GetMaxItemWidth();
  virtual bool HasMultiLineItems() { return false; }

  void BuildList(TWinControl* AVisualControlsParent) override;
  TClass GetListBoxClass() override;
  bool IsDroppedDown() override;

 private:
  TcxCustomComboBoxProperties* ComboProperties() const;
  bool IsFilteringApplied();
  int SearchBoxHeight();

  TOwned<TcxComboBoxIncrementalFilteringHelper> FIncrementalFilteringHelper;
};

class TcxCustomComboBoxListBox : public TcxCustomEditListBox {
  SK_CLASS(TcxCustomComboBoxListBox, TcxCustomEditListBox)
 public:
  void Create(TComponent* AOwner) override;

  bool UsesItemPadding() override;
  bool DrawItemByHandler(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;
  String GetItemTextAt(int AIndex) override;
  void UpdateItemLayout() override;
  int GetHeight(int ARowCount, int AMaxHeight) override;
  int GetItemHeight(int AIndex) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MeasureItem(int AIndex, int& AHeight) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Click() override;
  void DblClick() override;
  void ItemIndexChanged() override;

  TcxCustomComboBox* ComboBox();

 private:
  TcxCustomComboBoxProperties* ComboProperties();
  bool HasDrawItemHandler();
  bool HasMeasureItemHandler();
  void FocusSearchBox();

  TOwned<TcxCanvas> FItemCanvas;
  bool FMousePressed = false;
  bool FHotTracking = false;
};

class TcxComboBoxListBox : public TcxCustomComboBoxListBox {
  SK_CLASS(TcxComboBoxListBox, TcxCustomComboBoxListBox)
};

class TcxComboBoxPopupWindow : public TcxCustomEditPopupWindow {
  SK_CLASS(TcxComboBoxPopupWindow, TcxCustomEditPopupWindow)
 public:

 protected:
  TSize DoCalculateSize() override;
};

// Unit start-up: the combo box and popup edit classes by name, their
// repository descriptions and the combo box's filter helper.
void cxDropDownEditInitialization();
void cxDropDownEditFinalization();

// The combo box in a filter row: a free-text list.
class TcxFilterComboBoxHelper : public TcxFilterDropDownEditHelper {
  SK_CLASS(TcxFilterComboBoxHelper, TcxFilterDropDownEditHelper)
 public:
  struct TMeta : TcxFilterDropDownEditHelper::TMeta {
    bool EditPropertiesHasButtons() const override { return true; }
    TcxFilterDataType GetFilterDataType(TcxValueTypeClass) const override { return fdtText; }
    TClass GetFilterEditClass() const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
  };
};
