// The control unit's top-level helper windows: the popup form every
// drop-down derives from, and the layered windows that follow the mouse
// while something is dragged or resized.
//
// Classes in this file:
//   TcxPopupAlignHorz, TcxPopupAlignVert, TcxPopupBorderStyle,
//   TcxPopupDirection                 where and how a popup opens
//   TcxPopupPlacement                 one placement being worked out
//   TcxPopupWindow                    the borderless stay-on-top popup form
//   TcxCustomDragImage                a layered, top-most window the mouse
//                                     passes through
//   TcxSizeFrame                      a drag image that shows a hollow
//                                     checkered frame
//
// Placement works in screen coordinates. The owner rectangle is given in
// the owner parent's client coordinates (screen coordinates without an
// owner parent). The anchor of a placement is the owner corner the popup
// starts from; the work area there decides flipping and fitting.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/windows/dxForms.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

// TcxPopupAlignHorz is declared with the control unit's right-to-left
// helpers, TcxPopupBorderStyle with the painters.
template <>
struct TEnumInfo<TcxPopupAlignHorz> {
  static constexpr const wchar_t* Name = L"TcxPopupAlignHorz";
  static constexpr const wchar_t* Names[] = {L"pahLeft", L"pahCenter", L"pahRight"};
  static constexpr TcxPopupAlignHorz Last = pahRight;
};

enum TcxPopupAlignVert { pavTop, pavCenter, pavBottom };
template <>
struct TEnumInfo<TcxPopupAlignVert> {
  static constexpr const wchar_t* Name = L"TcxPopupAlignVert";
  static constexpr const wchar_t* Names[] = {L"pavTop", L"pavCenter", L"pavBottom"};
  static constexpr TcxPopupAlignVert Last = pavBottom;
};

template <>
struct TEnumInfo<TcxPopupBorderStyle> {
  static constexpr const wchar_t* Name = L"TcxPopupBorderStyle";
  static constexpr const wchar_t* Names[] = {L"pbsNone", L"pbsUltraFlat", L"pbsFlat", L"pbs3D"};
  static constexpr TcxPopupBorderStyle Last = pbs3D;
};

enum TcxPopupDirection { pdHorizontal, pdVertical };
template <>
struct TEnumInfo<TcxPopupDirection> {
  static constexpr const wchar_t* Name = L"TcxPopupDirection";
  static constexpr const wchar_t* Names[] = {L"pdHorizontal", L"pdVertical"};
  static constexpr TcxPopupDirection Last = pdVertical;
};

// The alignments start as the popup's own; a flip changes them for this
// placement only, so the next opening starts from the side asked for again.
struct TcxPopupPlacement {
  TPoint Position;
  TPoint Anchor;
  TcxPopupAlignHorz AlignHorz = pahLeft;
  TcxPopupAlignVert AlignVert = pavBottom;
};

// ---------------------------------------------------------------------------
// TcxPopupWindow

class TcxPopupWindow : public TdxCustomForm {
  SK_CLASS(TcxPopupWindow, TdxCustomForm)
 public:
  static void Publish(TPublisher<TcxPopupWindow>& P);

  // A popup has no form description: both constructions make an empty form.
  void Create(TComponent* AOwner) override { CreateNew(AOwner); }
  void CreateNew(TComponent* AOwner) override;
  void Destroy() override;

  // Takes the owner parent's font, sizes, places and shows the window.
  virtual void Popup();
  // Hides the window.
  virtual void CloseUp();

  bool AcceptAnyPosition() const { return FAcceptAnyPosition; }
  void SetAcceptAnyPosition(bool AValue) { FAcceptAnyPosition = AValue; }
  bool Adjustable() const { return FAdjustable; }
  void SetAdjustable(bool AValue);
  TcxPopupAlignHorz AlignHorz() const { return FAlignHorz; }
  void SetAlignHorz(TcxPopupAlignHorz AValue) { FAlignHorz = AValue; }
  TcxPopupAlignVert AlignVert() const { return FAlignVert; }
  void SetAlignVert(TcxPopupAlignVert AValue) { FAlignVert = AValue; }
  int BorderSpace() const { return FBorderSpace; }
  void SetBorderSpace(int AValue);
  TcxPopupBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxPopupBorderStyle AValue);
  TcxPopupDirection Direction() const { return FDirection; }
  void SetDirection(TcxPopupDirection AValue) { FDirection = AValue; }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor AValue);
  bool IsOwnerBoundsRTLDependent() const { return FIsOwnerBoundsRTLDependent; }
  void SetIsOwnerBoundsRTLDependent(bool AValue) { FIsOwnerBoundsRTLDependent = AValue; }
  const TRect& OwnerBounds() const { return FOwnerBounds; }
  void SetOwnerBounds(const TRect& AValue) { FOwnerBounds = AValue; }
  TControl* OwnerParent() const { return FOwnerParent; }
  void SetOwnerParent(TControl* AValue);
  // The client rectangle less the border and the border space.
  TRect ClientBounds() { return GetClientBounds(); }
  TRect OwnerScreenBounds() { return GetOwnerScreenBounds(); }
  // The window that was active when the popup took the activation.
  HWND PrevActiveWindow() const { return FPrevActiveWindow; }

  // The size Popup gives the window, and the position for a size.
  TSize CalculateSize() { return DoCalculateSize(); }
  TPoint CalculatePosition(const TSize& ASize);

 protected:
  // Placement steps. Each works on the placement passed in.
  virtual void PlaceHorizontally(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize);
  virtual void PlaceVertically(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize);
  virtual void PlaceByDirection(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize);
  virtual void AdjustableChanged() {}
  virtual void BorderChanged() {}
  virtual void PlaceCentred(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize);
  virtual TSize DoCalculateSize();
  // Flips to the other side of the owner when the work area at the anchor
  // asks for it, then fits the popup into that work area.
  virtual void CorrectPosition(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize);
  virtual void FitToWorkArea(TcxPopupPlacement& APlacement, const TRect& AWorkArea, const TSize& ASize);
  virtual int BorderWidthWithSpace(TcxBorder ASide) { return BorderWidth(ASide) + FBorderSpace; }
  virtual TRect GetClientBounds();
  virtual int BorderWidth(TcxBorder ASide);
  virtual TRect GetOwnerScreenBounds();
  virtual void TakeOwnerFont();
  virtual bool OwnerBoundsAreClient() { return true; }
  virtual void DrawFrame(HDC DC);
  virtual void VisibleChangedHook() {}

  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void Deactivate() override;
  void PaintWindow(HDC DC) override;

  // Message handlers
  void WMActivate(TMessage& Message);
  void WMActivateApp(TMessage& Message);
  void WMPaint(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);

 private:
  // Moves the children so that their common origin lies at the border's
  // inner corner; remembers where that is, so a second call moves nothing.
  void PlaceChildrenInsideBorder();
  void MoveChildren(int DX, int DY);

  bool FAcceptAnyPosition;
  bool FAdjustable;
  TcxPopupAlignHorz FAlignHorz;
  TcxPopupAlignVert FAlignVert;
  int FBorderSpace;
  TcxPopupBorderStyle FBorderStyle;
  TcxPopupDirection FDirection;
  TColor FFrameColor;
  bool FIsOwnerBoundsRTLDependent;
  TRect FOwnerBounds;
  TControl* FOwnerParent;
  HWND FPrevActiveWindow;
  TPoint FChildrenOffset;  // how far the children stand moved inside the border
};

// ---------------------------------------------------------------------------
// TcxCustomDragImage

class TcxCustomDragImage : public TCustomControl {
  SK_CLASS(TcxCustomDragImage, TCustomControl)
 public:
  static void Publish(TPublisher<TcxCustomDragImage>& P);

  // Made with no owner component; at (0, 0, 0, 0) until Init or MoveTo.
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // The size of the source bounds; the point is where the image is held.
  void Init(const TRect& ASourceBounds, const TPoint& ASourcePoint);
  // Puts the held point at APosition (screen coordinates).
  void MoveTo(const TPoint& APosition);
  void Offset(int DX, int DY);
  // Shows the window top-most without taking the activation.
  void Show(int AShowCommand);
  void Hide();
  bool AlphaBlended() const { return FAlphaBlend; }
  // The window exists and is visible (this window's own showing bypasses
  // the control's visible flag: it must never activate).
  bool Visible();
  void SetVisible(bool AValue);
  TWinControl* PopupParent() const { return FPopupParent; }
  void SetPopupParent(TWinControl* AValue);
  TcxCanvas* cxCanvas() const { return FcxCanvas.get(); }

  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool AValue);
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE AValue);
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool AValue);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor AValue);
  const TPoint& PositionOffset() const { return FPositionOffset; }

 protected:
  virtual void UpdateLayeredAttributes();
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;

  void WMEraseBkgnd(TMessage& Message);
  void WMNCHitTest(TMessage& Message);

 private:
  bool WantsLayered() const { return FAlphaBlend || FTransparentColor; }

  bool FAlphaBlend;
  BYTE FAlphaBlendValue;
  TOwned<TcxCanvas> FcxCanvas;
  TWinControl* FPopupParent;
  TPoint FPositionOffset;
  bool FTransparentColor;
  TColor FTransparentColorValue;
};

// ---------------------------------------------------------------------------
// TcxSizeFrame

class TcxSizeFrame : public TcxCustomDragImage {
  SK_CLASS(TcxSizeFrame, TcxCustomDragImage)
 public:
  void Create(TComponent* AOwner) override { Create(AOwner, 1); }
  virtual void Create(TComponent* AOwner, int AFrameWidth);
  void Destroy() override;

  // The window takes R (screen coordinates); its shape is R's rectangle or
  // the region (in window coordinates), hollowed to the frame width.
  void DrawSizeFrame(const TRect& R);
  void DrawSizeFrame(const TRect& R, HRGN ARegion);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  bool FillSelection() const { return FFillSelection; }
  void SetFillSelection(bool AValue) { FFillSelection = AValue; }
  int FrameWidth() const { return FFrameWidth; }
  // The shape the window last took (window coordinates).
  const TcxRegion* Region() const { return FRegion.get(); }

 protected:
  void Paint() override;

 private:
  void ApplyRegion();

  bool FFillSelection;
  int FFrameWidth;
  TOwned<TcxRegion> FRegion;
  TOwnedBrush FPatternBrush;
};

// Unit start-up: the popup and drag classes become creatable by name.
void cxControlsWindowsInitialization();
