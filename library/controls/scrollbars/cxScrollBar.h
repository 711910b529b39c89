// Scroll bars without a window of their own: the model that lays out the
// arrows, the thumb and the page areas inside an owner control and maps the
// scroll parameters to them.
//
// Classes in this file:
//   IcxScrollBarOwner, IcxScrollBarOwner2   what the model asks of its owner
//   TcxScrollBarController           mouse handling: auto-repeat and thumb
//                                    dragging
//   TcxScrollBarPainter              drawing and metrics of a bar through the
//                                    look and feel (filled by the painters)
//   TcxScrollBarPartViewInfo, TcxScrollBarViewInfo   the geometry
//   TcxScrollBarHelper               the model
//   TcxScrollBarLookAndFeelPainter   the painter that draws with the owner's
//                                    look-and-feel painter
//   TcxScrollBar                     the stand-alone scroll-bar control
//   TcxScrollbarAnnotationInfo(s)    the annotation marks laid out on the
//                                    track (cxScrollBar_Annotations.cpp)
//   TcxScrollBarAnnotationHintableObject, TcxScrollBarHintHelper
//                                    the hot mark's hint, under the cursor
//
// Coordinates: the bar's bounds are in the owner's coordinates, relative to
// the owner origin that IcxScrollBarOwner2 may supply. Ranges are Integer;
// the arithmetic on them runs in 64 bits, so that a range reaching from
// -2^31 to 2^31 - 1 lays out like any other.
#pragma once

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/controls/control/cxHints.h"
#include "library/controls/scrollbars/dxScrollbarAnnotations.h"
#include "platform/ui/Controls.h"
#include "platform/ui/GdiScopes.h"

#include <array>

class TcxCanvas;
class TcxCustomCanvas;
class TcxLookAndFeel;
class TcxScrollBarHelper;


// ---------------------------------------------------------------------------
// Owners

struct IcxScrollBarOwner : public virtual IInterface {
  static constexpr GUID IID = {0x9E2B7C41, 0x53A0, 0x4D8E, {0xA6, 0x1F, 0x27, 0xC4, 0x90, 0x5B, 0xE8, 0x13}};
  virtual TWinControl* GetControl() = 0;
  virtual TcxLookAndFeel* GetLookAndFeel() = 0;
  virtual TdxScaleFactor* GetScaleFactor() = 0;

 protected:
  ~IcxScrollBarOwner() = default;
};

// An owner whose bars live in a part of it that moves or hides.
struct IcxScrollBarOwner2 : public virtual IInterface {
  static constexpr GUID IID = {0x5CAEC427, 0x0B33, 0x41D2, {0x88, 0x39, 0x5B, 0xE9, 0xE0, 0x92, 0x0B, 0xD4}};
  // Where the bar's coordinates start, in the owner control's client area.
  virtual TPoint GetOwnerOrigin() = 0;
  virtual bool GetOwnerVisible() = 0;

 protected:
  ~IcxScrollBarOwner2() = default;
};

// ---------------------------------------------------------------------------
// Annotation marks (cxScrollBar_Annotations.cpp)

// One mark: its rectangle, colour and the rows it stands for, in the order
// they were laid out.
class TcxScrollbarAnnotationInfo : public TObject {
  SK_CLASS(TcxScrollbarAnnotationInfo, TObject)
 public:
  const TRect& Bounds() const { return FBounds; }
  void SetBounds(const TRect& AValue) { FBounds = AValue; }
  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue) { FColor = AValue; }
  TdxScrollbarAnnotationRowIndexList& RecordIndexes() { return FRecordIndexes; }
  const TdxScrollbarAnnotationRowIndexList& RecordIndexes() const { return FRecordIndexes; }

 private:
  TRect FBounds;
  TdxAlphaColor FColor;
  TdxScrollbarAnnotationRowIndexList FRecordIndexes;
};

using TcxScrollbarAnnotationInfoList = std::vector<TOwned<TcxScrollbarAnnotationInfo>>;

// The marks of each kind over the bar's annotation area. Positions are
// computed in 64 bits, so data of any pixel size maps onto the track, and data
// that reports no scroll size gives no marks.
class TcxScrollbarAnnotationInfos : public TObject {
  SK_CLASS(TcxScrollbarAnnotationInfos, TObject)
 public:
  virtual void Create(TcxScrollBarHelper* AScrollbar);
  // Lays the changed kinds out again over ABounds; with no source, drops
  // every mark. With an empty area or no records the kinds stay stale.
  virtual void Calculate(const TRect& ABounds);
  void Invalidate();

  const TRect& Bounds() const { return FBounds; }
  const TdxScrollbarAnnotationKinds& ChangedAnnotationKinds() const { return FChangedAnnotationKinds; }
  void SetChangedAnnotationKinds(const TdxScrollbarAnnotationKinds& AValue) { FChangedAnnotationKinds = AValue; }
  // Kinds with marks, ascending.
  const std::map<TdxScrollbarAnnotationKind, TcxScrollbarAnnotationInfoList>& Infos() const { return FInfos; }
  // The length of a mark for a real length x, at the bar's scale factor.
  int GetMarkLength(const TdxScrollbarAnnotationStyle& AStyle, double X) const;

 private:
  void CalculateKind(TdxScrollbarAnnotationKind AKind, const TdxScrollbarAnnotationRowIndexList& ARows);

  TRect FBounds;
  TdxScrollbarAnnotationKinds FChangedAnnotationKinds;
  std::map<TdxScrollbarAnnotationKind, TcxScrollbarAnnotationInfoList> FInfos;
  TcxScrollBarHelper* FScrollbar;
};

// The hint target of the hot mark: a point is on it while it lies in the
// mark (owner client coordinates); its hint shows at the mouse and has no
// hide pause.
class TcxScrollBarAnnotationHintableObject : public TcxIUnknownObject,
                                             public IcxHintableObject,
                                             public IcxHintableObject2 {
  SK_CLASS(TcxScrollBarAnnotationHintableObject, TcxIUnknownObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;
  const TRect& Bounds() const { return FBounds; }
  void SetBounds(const TRect& AValue) { FBounds = AValue; }
  void SetHintText(const String& AValue) { FHintText = AValue; }

  // IcxHintableObject
  bool HasHintPoint(const TPoint& P) override { return FBounds.Contains(P); }
  bool IsHintAtMousePos() override { return true; }
  bool UseHintHidePause() override { return false; }
  // IcxHintableObject2
  TObject* GetObject() override { return this; }
  String GetHintText() override { return FHintText; }
  bool GetHintTextUseWidth() override { return false; }
  TFont* GetHintFont() override { return nullptr; }
  TRect GetHintAreaBounds() override { return FBounds; }
  TRect GetHintTextRect() override { return FBounds; }

 private:
  TRect FBounds;
  String FHintText;
};

// Annotation hints: the window's top-left corner at the cursor (its top-right
// for right-to-left owners), below the cursor's visible height; the hint's
// control is the bar's owner.
class TcxScrollBarHintHelper : public TcxCustomHintHelper {
  SK_CLASS(TcxScrollBarHintHelper, TcxCustomHintHelper)
 public:
  virtual void Create(TcxScrollBarHelper* AScrollBar);
  TRect CalculateHintWindowRect(const TRect& AHintAreaBounds, const TRect& ATextRect, bool AUseTextWidth,
                                const String& AText) override;

 protected:
  TControl* GetHintControl() override;
  TControl* GetOwnerControl() override { return GetHintControl(); }

 private:
  TcxScrollBarHelper* FScrollBar;
};

// ---------------------------------------------------------------------------
// Controller: turns the mouse into scrolling. A press on an arrow or a page
// area steps at once and again after 400 ms, then every 60 ms while the
// mouse stays on that part; a press on the thumb drags it while the mouse
// stays within 136 pixels across and 34 pixels along the bar (anywhere with
// UnlimitedTracking), and snaps it back outside.

class TcxScrollBarController : public TObject {
  SK_CLASS(TcxScrollBarController, TObject)
 public:
  static constexpr unsigned FirstRepeatInterval = 400;
  static constexpr unsigned RepeatInterval = 60;
  static constexpr int TrackingAcross = 136;
  static constexpr int TrackingAlong = 34;

  virtual void Create(TcxScrollBarHelper* AScrollBar);
  void Destroy() override;
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }

  // Points are in the bar's coordinates.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // Ends any scrolling; AHotPart becomes the hot part. A thumb drag ends with
  // scPosition, every press with scEndScroll.
  virtual void StopScrolling(TcxScrollBarPart AHotPart);

  // The auto-repeat timer (runs while an arrow or a page area is held).
  TcxTimer* Timer() const { return FTimer.get(); }
  // The rectangle the mouse must stay in while the thumb is dragged.
  TRect TrackingRect() const;
  // The position the thumb shows where it lies now.
  int PositionFromThumb() const;

  // Annotations: the first row of the mark under the mouse (-1: none), the
  // rows of every mark there by kind, the hint helper.
  int HotAnnotationRowIndex() const { return FHotAnnotationRowIndex; }
  const TdxScrollbarAnnotationRowIndexLists& HotAnnotationRowIndexLists() const { return FHotAnnotationRowIndexLists; }
  TcxScrollBarHintHelper* HintHelper() const { return FHintHelper.get(); }
  TcxScrollBarAnnotationHintableObject* AnnotationsHintableObject() const { return FAnnotationsHintableObject.get(); }

 protected:
  virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DoMouseEnter(TControl* AControl);
  virtual void DoMouseLeave(TControl* AControl);
  virtual void DoMouseMove(TShiftState Shift, int X, int Y);
  virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // AFull: through SetScrollParams (the thumb laid out again); otherwise
  // stored as the dragged thumb shows it. Both send scTrack.
  virtual void SetPositionFromThumb(int AValue, bool AFull);
  virtual TcxScrollBarHintHelper* CreateHintHelper();

 private:
  void DragThumb(const TPoint& P);
  void ScrollByPart(TcxScrollBarPart APart);
  void StartRepeat();
  void TimerHandler(TObject* Sender);
  bool IsRepeatingPart(TcxScrollBarPart APart) const;
  bool IsVertical() const;
  bool HasAnnotations() const;
  void UpdateHotAnnotation(const TPoint& P);
  void ShowAnnotationHint();
  void ClickHotAnnotation();

  TOwned<TcxScrollBarAnnotationHintableObject> FAnnotationsHintableObject;
  TOwned<TcxScrollBarHintHelper> FHintHelper;
  int FHotAnnotationRowIndex;
  TdxScrollbarAnnotationRowIndexLists FHotAnnotationRowIndexLists;
  TPoint FDownMousePos;
  TPoint FLastMousePos;
  int FSavePosition;
  TPoint FSaveThumbnailPos;
  TcxScrollBarHelper* FScrollBar;
  TOwned<TcxTimer> FTimer;
};

// ---------------------------------------------------------------------------
// Painter: draws and measures a bar through the look and feel; the
// look-and-feel painters supply it.

class TcxScrollBarPainter : public TObject {
  SK_CLASS(TcxScrollBarPainter, TObject)
 public:
  virtual void Create(TcxScrollBarHelper* AScrollBar) { FScrollBar = AScrollBar; }
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }

  // The shortest thumb, at the bar's scale factor.
  virtual int MinThumbnailSize() = 0;
  // Whether parts show a hot state under the mouse.
  virtual bool IsButtonHotTrack() = 0;
  // The background over the bounds, then each part that is not empty, in
  // the order LineUp, LineDown, Thumbnail, PageUp, PageDown, in its state.
  // A brush pattern stays aligned with the owner, not with the bar.
  virtual void Paint(TcxCustomCanvas* ACanvas);

 protected:
  // The owner control's colour, then the look's background.
  virtual void DrawBackground(TcxCustomCanvas* ACanvas, const TRect& R);
  virtual void DrawPartWithFading(TcxCustomCanvas* ACanvas, TcxScrollBarPart APart);
  // What the look draws: the bar's background and one part in a state.
  // DrawBackground and DrawPart call them inside a saved canvas state whose
  // right-to-left alignment is the bar's.
  virtual void DrawLookBackground(TcxCustomCanvas* ACanvas, const TRect& R) = 0;
  virtual void DrawLookPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                            TcxScrollBarPart APart) = 0;
  void DrawPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxScrollBarPart APart);
  // Each mark filled with its colour, kinds in ascending order (higher kinds
  // paint over lower ones).
  virtual void DrawAnnotation(TcxCustomCanvas* ACanvas, const TcxScrollbarAnnotationInfo* AInfo);
  virtual void DrawAnnotationsByKind(TcxCustomCanvas* ACanvas);
  virtual void DrawAnnotations(TcxCustomCanvas* ACanvas);

 private:
  TcxScrollBarHelper* FScrollBar;
};

// ---------------------------------------------------------------------------
// Geometry

class TcxScrollBarViewInfo;

class TcxScrollBarPartViewInfo : public TObject {
  SK_CLASS(TcxScrollBarPartViewInfo, TObject)
 public:
  void Create(TcxScrollBarViewInfo* AOwner, TcxScrollBarPart APart);

  TcxScrollBarPart Part() const { return FPart; }
  const TRect& Bounds() const { return FBounds; }
  void SetBounds(const TRect& AValue) { FBounds = AValue; }
  // The state the part shows now (see the view info's hot and pressed parts).
  TcxButtonState State() const;

 private:
  TcxScrollBarViewInfo* FOwner;
  TRect FBounds;
  TcxScrollBarPart FPart;
};

class TcxScrollBarViewInfo : public TObject {
  SK_CLASS(TcxScrollBarViewInfo, TObject)
 public:
  virtual void Create(TcxScrollBarHelper* AScrollBar);

  // Buttons, thumb and page areas.
  virtual void Calculate();
  // The thumb and the page areas from the scroll parameters.
  void CalculateThumbRect();
  // The first part, in the order LineUp, LineDown, Thumbnail, PageUp,
  // PageDown, whose rectangle holds the point; sbpNone otherwise.
  TcxScrollBarPart HitTest(const TPoint& P) const;

  virtual TRect Bounds() const;
  TcxScrollBarPartViewInfo* PartInfos(TcxScrollBarPart APart) const;
  const TRect& PartBounds(TcxScrollBarPart APart) const { return PartInfos(APart)->Bounds(); }
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }
  int ArrowButtonLength() const { return FArrowButtonLength; }
  // The bar's length along its kind.
  int Length() const { return FLength; }
  int MinThumbnailSize() const { return FMinThumbnailSize; }
  TcxScrollBarPart HotPart() const { return FHotPart; }
  void SetHotPart(TcxScrollBarPart AValue) { FHotPart = AValue; }
  TcxScrollBarPart PressedPart() const { return FPressedPart; }
  void SetPressedPart(TcxScrollBarPart AValue) { FPressedPart = AValue; }
  // While the thumb is dragged, its leading edge (trailing when reversed);
  // 0 otherwise.
  TPoint DragThumbnailPos() const { return TPoint(FDragThumbnailPosX, FDragThumbnailPosY); }
  void SetDragThumbnailPos(const TPoint& AValue);
  TcxScrollbarAnnotationInfos* AnnotationInfos() const { return FAnnotationInfos.get(); }
  // The track between the arrows, 2 pixels in from each side across it.
  const TRect& AnnotationInfosBounds() const { return FAnnotationInfosBounds; }

 protected:
  virtual TcxScrollbarAnnotationInfos* CreateAnnotationInfos();
  virtual int GetArrowButtonLength();

 private:
  // The button or page part at the start (AFirst) or end of a horizontal bar
  // as it is seen: right-to-left bars swap them.
  TcxScrollBarPart VisualButton(bool AFirst) const;
  TcxScrollBarPart VisualPage(bool AFirst) const;
  void CalculateButtons();
  void CalculateAnnotationInfosBounds();

  TOwned<TcxScrollbarAnnotationInfos> FAnnotationInfos;
  TRect FAnnotationInfosBounds;
  int FArrowButtonLength;
  int FDragThumbnailPosX;
  int FDragThumbnailPosY;
  TScrollBarKind FKind;
  int FLength;
  TcxScrollBarPart FHotPart;
  int FMinThumbnailSize;
  std::array<TOwned<TcxScrollBarPartViewInfo>, 5> FPartInfos;
  TcxScrollBarPart FPressedPart;
  TcxScrollBarHelper* FScrollBar;
};

// ---------------------------------------------------------------------------
// The model

class TcxScrollBarHelper : public TcxIUnknownObject, public IdxScrollbarAnnotationRenderer {
  SK_CLASS(TcxScrollBarHelper, TcxIUnknownObject)
 public:
  virtual void Create(IcxScrollBarOwner* AOwner);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Annotations (not owned): the bar joins the source's renderers.
  TdxScrollbarAnnotations* Annotations() const { return FAnnotations; }
  void SetAnnotations(TdxScrollbarAnnotations* AAnnotations) override;
  void ScrollbarAnnotationsInvalidate(const TdxScrollbarAnnotationKinds& AAnnotationKinds) override;
  void ScrollbarAnnotationsUpdate() override;
  // The painter's colour of a kind (240 selected, 241 focused, 242 search
  // results, 243 errors, the custom colour for the others).
  virtual TdxAlphaColor GetAnnotationDefaultColor(TdxScrollbarAnnotationKind AKind);

  // Properties
  const TRect& BoundsRect() const { return FBoundsRect; }
  void SetBoundsRect(const TRect& AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  bool IsNonClient() const { return FIsNonClient; }
  void SetIsNonClient(bool AValue) { FIsNonClient = AValue; }
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind AValue) { FKind = AValue; }
  TScrollBarInc LargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc AValue) { FLargeChange = AValue; }
  TScrollBarInc SmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc AValue) { FSmallChange = AValue; }
  int Max() const { return FMax; }
  void SetMax(int AValue) { SetScrollParams(FMin, AValue, FPosition, FPageSize, FVisible); }
  int Min() const { return FMin; }
  void SetMin(int AValue) { SetScrollParams(AValue, FMax, FPosition, FPageSize, FVisible); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int AValue) { SetScrollParams(FMin, FMax, FPosition, AValue, FVisible); }
  int Position() const { return FPosition; }
  void SetPosition(int AValue) { SetScrollParams(FMin, FMax, AValue, FPageSize, FVisible); }
  bool ReverseDirection() const { return FReverseDirection; }
  void SetReverseDirection(bool AValue) { FReverseDirection = AValue; }
  bool UnlimitedTracking() const { return FUnlimitedTracking; }
  void SetUnlimitedTracking(bool AValue) { FUnlimitedTracking = AValue; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue);
  TcxLookAndFeel* LookAndFeel() const { return FOwner ? FOwner->GetLookAndFeel() : nullptr; }
  IcxScrollBarOwner* Owner() const { return FOwner; }
  TcxScrollBarController* Controller() const { return FController.get(); }
  TcxScrollBarPainter* Painter() const { return FPainter.get(); }
  TcxScrollBarViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  TScrollEvent OnScroll() const { return FOnScroll; }
  void SetOnScroll(TScrollEvent AValue) { FOnScroll = AValue; }

  // Raises EInvalidOperation for AMin > AMax or a page below 0 or larger than
  // the range, and changes nothing then. The position is held to AMin..AMax.
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw = true);
  // The region (owned from now on) that clips painting and hit tests; nil
  // for none.
  void SetVisibleRegion(HRGN ARegion);
  HRGN VisibleRegion() const { return FVisibleRgn.Get(); }
  // A point of the owner, relative to the origin, in the visible region (or
  // the bounds when there is none).
  bool HitTestVisible(const TPoint& P) const;

  virtual void Calculate();
  // The controller stops any scrolling; no part stays hot.
  virtual void CancelMode();
  virtual TPoint GetOwnerOrigin();
  virtual bool GetOwnerVisible();
  // Points in the owner's client coordinates.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // On a TcxCanvas: clipped to the bar, which is then left out of the
  // canvas's clip; another canvas gets the painter's drawing directly.
  virtual void Paint(TcxCustomCanvas* ACanvas);
  // On a class-library canvas of the owner: through an off-screen bitmap.
  virtual void Paint(TCanvas* ACanvas);
  virtual void Repaint();
  virtual void InvalidateAll();
  virtual void InvalidateRect(const TRect& R, bool AErase);

  // The bar's thickness (SM_CXVSCROLL, SM_CYHSCROLL) at the owner's factor.
  virtual void GetSize(TSize& ASize);
  TdxScaleFactor* ScaleFactor();
  virtual bool IsCaptured();
  // Vertical bars: the owner places its scroll bars right to left;
  // horizontal ones: the owner aligns right to left.
  virtual bool UseRightToLeft();
  // The owner's screen point in the bar's coordinates.
  virtual void ScreenToClient(const TPoint& P, TPoint& AResult);
  // Scrolling by a code: the handler may change the position.
  virtual void DoScroll(TScrollCode AScrollCode, int& AScrollPos);
  // One scroll step by code from the current position (or from APosition):
  // reversed bars mirror the code; the result is held to Min..Max, offered
  // to OnScroll and held again. scTrack stores it without OnChange; other
  // codes set Position.
  void Scroll(TScrollCode AScrollCode);
  void Scroll(TScrollCode AScrollCode, int APosition);

 protected:
  virtual void DoChange();
  virtual void DoPaint(TcxCustomCanvas* ACanvas);
  virtual TClass GetControllerClass();
  // TcxScrollBarLookAndFeelPainter.
  virtual TClass GetPainterClass();
  virtual TClass GetViewInfoClass();
  virtual bool PaintsThroughBitmap();

 private:
  friend class TcxScrollBarController;
  friend class TcxScrollBarPainter;
  TWinControl* OwnerControl() const { return FOwner ? FOwner->GetControl() : nullptr; }
  bool HasOwnerWindow() const;
  // Intersects the canvas's clip with the visible region, else the bounds.
  void ClipToBar(TcxCanvas* ACanvas) const;
  void PaintThroughBitmap(HDC ADC);

  TdxScrollbarAnnotations* FAnnotations;
  TRect FBoundsRect;
  TOwned<TcxScrollBarController> FController;
  bool FEnabled;
  bool FIsNonClient;
  TScrollBarKind FKind;
  TScrollBarInc FLargeChange;
  int FMax;
  int FMin;
  IcxScrollBarOwner* FOwner;
  IPtr<IcxScrollBarOwner2> FOwner2;
  int FPageSize;
  TOwned<TcxScrollBarPainter> FPainter;
  int FPosition;
  bool FReverseDirection;
  TScrollBarInc FSmallChange;
  bool FUnlimitedTracking;
  TOwned<TcxScrollBarViewInfo> FViewInfo;
  bool FVisible;
  TOwnedRegion FVisibleRgn;
  TNotifyEvent FOnChange;
  TScrollEvent FOnScroll;
};

// ---------------------------------------------------------------------------
// The painter that draws with the look-and-feel painter of the owner's look
// and feel for scroll bars (the root look and feel's without an owner one).

class TcxCustomLookAndFeelPainter;

class TcxScrollBarLookAndFeelPainter : public TcxScrollBarPainter {
  SK_CLASS(TcxScrollBarLookAndFeelPainter, TcxScrollBarPainter)
 public:
  int MinThumbnailSize() override;
  bool IsButtonHotTrack() override;

 protected:
  void DrawLookBackground(TcxCustomCanvas* ACanvas, const TRect& R) override;
  void DrawLookPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxScrollBarPart APart) override;
  // Nil when no painter is registered for the style: nothing is drawn then.
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const;
};

// ---------------------------------------------------------------------------
// The stand-alone scroll-bar control: one model filling the client area,
// painted through one off-screen bitmap and never erased.

class TcxScrollBar : public TNoRefCount<TCustomControl>,
                     public TcxLookAndFeelOwner,
                     public IcxScrollBarOwner,
                     public IdxScrollbarAnnotationRenderer {
  SK_CLASS(TcxScrollBar, TCustomControl)
 public:
  static void Publish(TPublisher<TcxScrollBar>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  // The scale factor follows the new parent.
  void SetParent(TWinControl* AValue) override;

  // Raises EInvalidOperation for an invalid range and changes nothing then.
  void SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw = true);
  // Keeps the page size; redraws.
  void SetParams(int APosition, int AMin, int AMax);

  bool Ctl3D() const { return inherited::Ctl3D(); }
  // The request is kept; a skin look and feel shows no 3-D edge whatever it is.
  void SetCtl3D(bool AValue);
  TScrollBarKind Kind() const { return FHelper->Kind(); }
  void SetKind(TScrollBarKind AValue);
  TScrollBarInc LargeChange() const { return FHelper->LargeChange(); }
  void SetLargeChange(TScrollBarInc AValue) { FHelper->SetLargeChange(AValue); }
  TScrollBarInc SmallChange() const { return FHelper->SmallChange(); }
  void SetSmallChange(TScrollBarInc AValue) { FHelper->SetSmallChange(AValue); }
  int Max() const { return FHelper->Max(); }
  void SetMax(int AValue) { SetScrollParams(Min(), AValue, Position(), PageSize()); }
  int Min() const { return FHelper->Min(); }
  void SetMin(int AValue) { SetScrollParams(AValue, Max(), Position(), PageSize()); }
  int PageSize() const { return FHelper->PageSize(); }
  void SetPageSize(int AValue) { SetScrollParams(Min(), Max(), Position(), AValue); }
  int Position() const { return FHelper->Position(); }
  void SetPosition(int AValue) { SetScrollParams(Min(), Max(), AValue, PageSize()); }
  bool ReverseDirection() const { return FHelper->ReverseDirection(); }
  void SetReverseDirection(bool AValue);
  bool UnlimitedTracking() const { return FHelper->UnlimitedTracking(); }
  void SetUnlimitedTracking(bool AValue) { FHelper->SetUnlimitedTracking(AValue); }
  TcxScrollBarHelper* Helper() const { return FHelper.get(); }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  TNotifyEvent OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent AValue) { FOnMouseEnter = AValue; }
  TNotifyEvent OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent AValue) { FOnMouseLeave = AValue; }
  TScrollEvent OnScroll() const { return FOnScroll; }
  void SetOnScroll(TScrollEvent AValue) { FOnScroll = AValue; }

  // IcxScrollBarOwner
  TWinControl* GetControl() override { return this; }
  TcxLookAndFeel* GetLookAndFeel() override { return LookAndFeel(); }
  TdxScaleFactor* GetScaleFactor() override { return FScaleFactor.get(); }
  // IdxScrollbarAnnotationRenderer: the model's.
  void SetAnnotations(TdxScrollbarAnnotations* AAnnotations) override { FHelper->SetAnnotations(AAnnotations); }
  void ScrollbarAnnotationsInvalidate(const TdxScrollbarAnnotationKinds& AKinds) override {
    FHelper->ScrollbarAnnotationsInvalidate(AKinds);
  }
  void ScrollbarAnnotationsUpdate() override { FHelper->ScrollbarAnnotationsUpdate(); }

 protected:
  virtual void Change();
  // The system's bar thickness at the control's scale factor.
  virtual TSize GetDefaultSize();
  virtual TClass GetHelperClass();
  virtual void LookAndFeelChanged();
  virtual void PaintTo(TcxCustomCanvas* ACanvas);
  virtual void Scroll(TScrollCode AScrollCode, int& AScrollPos);

  void ChangeScale(int M, int D, bool AIsDpiChange) override;
  void Paint() override;
  void Resize() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void HelperChange(TObject* Sender);
  void HelperScroll(TObject* Sender, TScrollCode AScrollCode, int& AScrollPos);
  void LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ThemeChanged();
  // Ctl3D as shown: off under a skin, the request otherwise.
  void ApplyCtl3D();
  bool IsCtl3DStored() const { return !ParentCtl3D(); }

  void CNScroll(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void CNCtlColorScrollBar(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMGestureNotify(TMessage& Message);

  TOwned<TcxScrollBarHelper> FHelper;
  bool FRealCtl3D;
  bool FApplyingCtl3D;
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
  TOwned<TdxThemeChangedNotificator> FThemeChangedNotificator;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;
  TScrollEvent FOnScroll;
};

// ---------------------------------------------------------------------------
// Sizes of bars

// (SM_CXVSCROLL, SM_CYHSCROLL) at the factor.
TSize GetSystemScrollBarSize(const TdxScaleFactor* AFactor);
TSize GetDefaultSystemScrollBarSize();
// (16, 16) at the factor (the system's without one).
TSize GetTouchScrollBarSize(const TdxScaleFactor* AFactor);
// (16, 16) expanded, (6, 6) collapsed, scaled the same way.
TSize GetHybridScrollBarSize(const TdxScaleFactor* AFactor, bool AExpanded);

// The unit's start-up: TcxScrollBar is creatable by name.
void cxScrollBarInitialization();
