#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/controls/control/cxControls.h"
#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr TcxScrollBarPart HitTestOrder[] = {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown};

// MulDiv over 64-bit operands (the product in 128 bits), rounded to the
// nearest integer, halves away from zero; AC > 0 and AA, AB >= 0 here.
std::int64_t MulDiv64(std::int64_t AA, std::int64_t AB, std::int64_t AC) {
  const __int128 product = static_cast<__int128>(AA) * AB;
  return static_cast<std::int64_t>((2 * product + AC) / (2 * static_cast<__int128>(AC)));
}

int PartIndex(TcxScrollBarPart APart) { return static_cast<int>(APart) - 1; }

// A copy of the region for a canvas to take over.
TcxRegion* CopyRegion(HRGN ARegion) {
  TcxRegion* region = New<TcxRegion>(TRect());
  CombineRgn(region->Handle(), ARegion, nullptr, RGN_COPY);
  return region;
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxScrollBarController

void TcxScrollBarController::Create(TcxScrollBarHelper* AScrollBar) {
  FScrollBar = AScrollBar;
  FHotAnnotationRowIndex = -1;
  FAnnotationsHintableObject.reset(New<TcxScrollBarAnnotationHintableObject>());
  FHintHelper.reset(CreateHintHelper());
  FTimer.reset(CreateTimer(FirstRepeatInterval, false, BindEvent<&TcxScrollBarController::TimerHandler>(this)));
}

void TcxScrollBarController::Destroy() {
  FTimer.reset();
  FHintHelper.reset();
  FAnnotationsHintableObject.reset();
  inherited::Destroy();
}

TcxScrollBarHintHelper* TcxScrollBarController::CreateHintHelper() { return New<TcxScrollBarHintHelper>(FScrollBar); }

bool TcxScrollBarController::IsVertical() const { return FScrollBar->Kind() == sbVertical; }

bool TcxScrollBarController::IsRepeatingPart(TcxScrollBarPart APart) const {
  return APart == sbpLineUp || APart == sbpLineDown || APart == sbpPageUp || APart == sbpPageDown;
}

void TcxScrollBarController::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FHintHelper->MouseDown();
  DoMouseDown(Button, Shift, X, Y);
}

void TcxScrollBarController::MouseEnter(TControl* AControl) { DoMouseEnter(AControl); }

void TcxScrollBarController::MouseLeave(TControl* AControl) {
  DoMouseLeave(AControl);
  FHintHelper->HideHint();
}

void TcxScrollBarController::MouseMove(TShiftState Shift, int X, int Y) { DoMouseMove(Shift, X, Y); }

void TcxScrollBarController::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  DoMouseUp(Button, Shift, X, Y);
}

void TcxScrollBarController::ScrollByPart(TcxScrollBarPart APart) {
  switch (APart) {
    case sbpLineUp:
      FScrollBar->Scroll(scLineUp);
      break;
    case sbpLineDown:
      FScrollBar->Scroll(scLineDown);
      break;
    case sbpThumbnail:
      FScrollBar->Scroll(scTrack);
      break;
    case sbpPageUp:
      FScrollBar->Scroll(scPageUp);
      break;
    case sbpPageDown:
      FScrollBar->Scroll(scPageDown);
      break;
    case sbpNone:
      break;
  }
}

void TcxScrollBarController::StartRepeat() {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(FirstRepeatInterval);
  FTimer->SetEnabled(true);
}

void TcxScrollBarController::DoMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  const TPoint p(X, Y);
  const TcxScrollBarPart part = viewInfo->HitTest(p);
  if (part == sbpNone) return;
  // The bar shows the press also when a step raises.
  TScopeExit repaint([this] { FScrollBar->Repaint(); });
  if (part == sbpThumbnail) {
    FDownMousePos = p;
    FLastMousePos = p;
    FSavePosition = FScrollBar->Position();
    const TRect thumb = viewInfo->PartBounds(sbpThumbnail);
    FSaveThumbnailPos = FScrollBar->ReverseDirection() ? thumb.BottomRight() : thumb.TopLeft();
    int position = FScrollBar->Position();
    FScrollBar->DoScroll(scTrack, position);
  }
  viewInfo->SetPressedPart(part);
  viewInfo->SetHotPart(part);
  const bool onMark = (part == sbpPageUp || part == sbpPageDown) && HasAnnotations() && FHotAnnotationRowIndex != -1;
  if (onMark) {
    // The mark is clicked at mouse up; the page does not scroll.
    viewInfo->SetPressedPart(sbpNone);
  } else if (IsRepeatingPart(part)) {
    ScrollByPart(part);
    StartRepeat();
  }
}

void TcxScrollBarController::TimerHandler(TObject*) {
  FTimer->SetEnabled(false);
  const TcxScrollBarPart pressed = FScrollBar->ViewInfo()->PressedPart();
  if (!FScrollBar->IsCaptured() || !IsRepeatingPart(pressed)) {
    StopScrolling(sbpNone);
    return;
  }
  FTimer->SetInterval(RepeatInterval);
  ScrollByPart(pressed);
  TPoint p;
  FScrollBar->ScreenToClient(ReadCursorPos(), p);
  // A page area shrinks as the thumb comes towards the mouse: the repeat
  // ends where the thumb arrives.
  FTimer->SetEnabled(FScrollBar->ViewInfo()->HitTest(p) == pressed);
}

TRect TcxScrollBarController::TrackingRect() const {
  TRect r = FScrollBar->BoundsRect();
  if (IsVertical())
    r.Inflate(TrackingAcross, TrackingAlong);
  else
    r.Inflate(TrackingAlong, TrackingAcross);
  return r;
}

namespace {

// The track between the two arrow buttons along the bar: its low and high
// ends, and whether the line-up button sits at the low end.
struct TTrack {
  int Low;
  int High;
  bool LineUpAtLow;
};

TTrack TrackOf(const TcxScrollBarViewInfo* AViewInfo, bool AVertical) {
  const TRect up = AViewInfo->PartBounds(sbpLineUp);
  const TRect down = AViewInfo->PartBounds(sbpLineDown);
  if (AVertical) return {up.Bottom, down.Top, true};
  const bool upAtLow = up.Left <= down.Left;
  return upAtLow ? TTrack{up.Right, down.Left, true} : TTrack{down.Right, up.Left, false};
}

}  // namespace

int TcxScrollBarController::PositionFromThumb() const {
  const TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  const bool vertical = IsVertical();
  const TTrack track = TrackOf(viewInfo, vertical);
  const TRect thumb = viewInfo->PartBounds(sbpThumbnail);
  const int thumbLow = vertical ? thumb.Top : thumb.Left;
  const int thumbHigh = vertical ? thumb.Bottom : thumb.Right;
  const std::int64_t span = static_cast<std::int64_t>(track.High - track.Low) - (thumbHigh - thumbLow);
  std::int64_t range = static_cast<std::int64_t>(FScrollBar->Max()) - FScrollBar->Min();
  if (FScrollBar->PageSize() > 0) range -= FScrollBar->PageSize() - 1;
  // A thumb that fills its track has nowhere to go: the position stays.
  if (span <= 0 || range <= 0) return FScrollBar->Position();
  const bool fromLow = track.LineUpAtLow != FScrollBar->ReverseDirection();
  const std::int64_t offset = std::clamp<std::int64_t>(fromLow ? thumbLow - track.Low : track.High - thumbHigh, 0, span);
  return static_cast<int>(FScrollBar->Min() + MulDiv64(range, offset, span));
}

void TcxScrollBarController::SetPositionFromThumb(int AValue, bool AFull) {
  if (AFull) {
    FScrollBar->SetScrollParams(FScrollBar->Min(), FScrollBar->Max(), AValue, FScrollBar->PageSize(), true);
  } else {
    FScrollBar->FPosition = AValue;
  }
  int position = AValue;
  FScrollBar->DoScroll(scTrack, position);
  if (!AFull) FScrollBar->DoChange();
}

void TcxScrollBarController::DragThumb(const TPoint& P) {
  TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  const bool vertical = IsVertical();
  if (!FScrollBar->UnlimitedTracking() && !TrackingRect().Contains(P)) {
    // Outside the tracking rectangle the thumb goes back to where the drag
    // began; the next move inside counts from the press again.
    FLastMousePos = FDownMousePos;
    if (viewInfo->DragThumbnailPos() != TPoint()) {
      viewInfo->SetDragThumbnailPos(TPoint());
      viewInfo->CalculateThumbRect();
      FScrollBar->Repaint();
    }
    if (FScrollBar->Position() != FSavePosition) SetPositionFromThumb(FSavePosition, true);
    return;
  }
  const int along = vertical ? P.Y : P.X;
  if (along == (vertical ? FLastMousePos.Y : FLastMousePos.X)) return;
  FLastMousePos = P;

  const TTrack track = TrackOf(viewInfo, vertical);
  const TRect thumb = viewInfo->PartBounds(sbpThumbnail);
  const int length = vertical ? thumb.Height() : thumb.Width();
  const bool reversed = FScrollBar->ReverseDirection();
  const int corner = vertical ? FSaveThumbnailPos.Y : FSaveThumbnailPos.X;
  const int savedLow = reversed ? corner - length : corner;
  const int delta = std::clamp(along - (vertical ? FDownMousePos.Y : FDownMousePos.X), track.Low - savedLow,
                               std::max(track.Low - savedLow, track.High - length - savedLow));
  viewInfo->SetDragThumbnailPos(vertical ? TPoint(FSaveThumbnailPos.X, corner + delta)
                                         : TPoint(corner + delta, FSaveThumbnailPos.Y));
  viewInfo->CalculateThumbRect();
  FScrollBar->Repaint();
  const int position = PositionFromThumb();
  if (position != FScrollBar->Position()) SetPositionFromThumb(position, false);
}

void TcxScrollBarController::DoMouseMove(TShiftState, int X, int Y) {
  TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  const TPoint p(X, Y);
  const TcxScrollBarPart pressed = viewInfo->PressedPart();
  if (pressed == sbpThumbnail) {
    DragThumb(p);
    return;
  }
  if (HasAnnotations()) {
    UpdateHotAnnotation(p);
    ShowAnnotationHint();
  } else {
    FHotAnnotationRowIndex = -1;
  }
  const TcxScrollBarPart hit = viewInfo->HitTest(p);
  if (IsRepeatingPart(pressed)) {
    // The repeat pauses off the held part and goes on when the mouse comes back.
    if ((hit == pressed) != FTimer->Enabled()) FTimer->SetEnabled(hit == pressed);
  }
  if (hit != viewInfo->HotPart()) {
    viewInfo->SetHotPart(hit);
    if (FScrollBar->Painter()->IsButtonHotTrack() || pressed != sbpNone) FScrollBar->Repaint();
  }
}

void TcxScrollBarController::DoMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  StopScrolling(FScrollBar->ViewInfo()->HitTest(TPoint(X, Y)));
  if (Button == mbLeft && HasAnnotations()) ClickHotAnnotation();
}

void TcxScrollBarController::DoMouseEnter(TControl*) {
  if (FScrollBar->Painter()->IsButtonHotTrack() || IsRepeatingPart(FScrollBar->ViewInfo()->PressedPart()))
    FScrollBar->Repaint();
}

void TcxScrollBarController::DoMouseLeave(TControl*) {
  TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  if (viewInfo->PressedPart() != sbpThumbnail) viewInfo->SetHotPart(sbpNone);
  if (FScrollBar->Painter()->IsButtonHotTrack() || IsRepeatingPart(viewInfo->PressedPart()))
    FScrollBar->InvalidateAll();
}

void TcxScrollBarController::StopScrolling(TcxScrollBarPart AHotPart) {
  TcxScrollBarViewInfo* viewInfo = FScrollBar->ViewInfo();
  const TcxScrollBarPart pressed = viewInfo->PressedPart();
  const bool dragged = pressed == sbpThumbnail && viewInfo->DragThumbnailPos() != TPoint();
  const int shown = dragged ? PositionFromThumb() : FScrollBar->Position();
  viewInfo->SetDragThumbnailPos(TPoint());
  viewInfo->SetHotPart(AHotPart);
  if (pressed != sbpNone) {
    FTimer->SetEnabled(false);
    viewInfo->SetPressedPart(sbpNone);
    if (pressed == sbpThumbnail) {
      FScrollBar->FPosition = shown;
      int position = shown;
      FScrollBar->DoScroll(scPosition, position);
    }
    int position = FScrollBar->Position();
    FScrollBar->DoScroll(scEndScroll, position);
  }
  viewInfo->CalculateThumbRect();
  FScrollBar->InvalidateAll();
}

// ---------------------------------------------------------------------------
// TcxScrollBarPainter

void TcxScrollBarPainter::Paint(TcxCustomCanvas* ACanvas) {
  const TPoint origin = FScrollBar->GetOwnerOrigin();
  auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas);
  std::optional<TcxDCStateScope<TcxCanvas>> brushOrigin;
  if (canvas && origin != TPoint()) {
    brushOrigin.emplace(canvas);
    SetBrushOrgEx(canvas->Handle(), origin.X, origin.Y, nullptr);
  }
  DrawBackground(ACanvas, FScrollBar->BoundsRect());
  for (TcxScrollBarPart part : HitTestOrder) DrawPartWithFading(ACanvas, part);
  if (FScrollBar->Annotations() && !FScrollBar->ViewInfo()->AnnotationInfosBounds().IsEmpty())
    DrawAnnotations(ACanvas);
}

void TcxScrollBarPainter::DrawBackground(TcxCustomCanvas* ACanvas, const TRect& R) {
  if (TWinControl* control = FScrollBar->OwnerControl()) ACanvas->FillRect(R, control->Brush()->Color());
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->SetUseRightToLeftAlignment(FScrollBar->UseRightToLeft());
  DrawLookBackground(ACanvas, R);
}

void TcxScrollBarPainter::DrawPartWithFading(TcxCustomCanvas* ACanvas, TcxScrollBarPart APart) {
  const TcxScrollBarPartViewInfo* info = FScrollBar->ViewInfo()->PartInfos(APart);
  if (info->Bounds().IsEmpty()) return;
  DrawPart(ACanvas, info->Bounds(), info->State(), APart);
}

void TcxScrollBarPainter::DrawPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   TcxScrollBarPart APart) {
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->SetUseRightToLeftAlignment(FScrollBar->UseRightToLeft());
  DrawLookPart(ACanvas, R, AState, APart);
}

// ---------------------------------------------------------------------------
// TcxScrollBarPartViewInfo

void TcxScrollBarPartViewInfo::Create(TcxScrollBarViewInfo* AOwner, TcxScrollBarPart APart) {
  FOwner = AOwner;
  FPart = APart;
}

TcxButtonState TcxScrollBarPartViewInfo::State() const {
  TcxScrollBarHelper* bar = FOwner->ScrollBar();
  if (!bar->Enabled()) return cxbsDisabled;
  if (FPart == sbpThumbnail && !bar->Painter()->IsButtonHotTrack()) return cxbsNormal;
  if (FOwner->HotPart() != FPart) return cxbsNormal;
  if (FOwner->PressedPart() == sbpNone) return cxbsHot;
  return FOwner->PressedPart() == FPart ? cxbsPressed : cxbsNormal;
}

// ---------------------------------------------------------------------------
// TcxScrollBarViewInfo

void TcxScrollBarViewInfo::Create(TcxScrollBarHelper* AScrollBar) {
  FScrollBar = AScrollBar;
  for (TcxScrollBarPart part : HitTestOrder)
    FPartInfos[static_cast<std::size_t>(PartIndex(part))].reset(New<TcxScrollBarPartViewInfo>(this, part));
  FAnnotationInfos.reset(CreateAnnotationInfos());
}

TcxScrollbarAnnotationInfos* TcxScrollBarViewInfo::CreateAnnotationInfos() {
  return New<TcxScrollbarAnnotationInfos>(FScrollBar);
}

TRect TcxScrollBarViewInfo::Bounds() const { return FScrollBar->BoundsRect(); }

TcxScrollBarPartViewInfo* TcxScrollBarViewInfo::PartInfos(TcxScrollBarPart APart) const {
  return FPartInfos.at(static_cast<std::size_t>(PartIndex(APart))).get();
}

void TcxScrollBarViewInfo::SetDragThumbnailPos(const TPoint& AValue) {
  FDragThumbnailPosX = AValue.X;
  FDragThumbnailPosY = AValue.Y;
}

int TcxScrollBarViewInfo::GetArrowButtonLength() {
  TSize size;
  FScrollBar->GetSize(size);
  return FScrollBar->Kind() == sbHorizontal ? size.cy : size.cx;
}

TcxScrollBarPart TcxScrollBarViewInfo::VisualButton(bool AFirst) const {
  const bool mirrored = FKind == sbHorizontal && FScrollBar->UseRightToLeft();
  return AFirst != mirrored ? sbpLineUp : sbpLineDown;
}

TcxScrollBarPart TcxScrollBarViewInfo::VisualPage(bool AFirst) const {
  const bool mirrored = FKind == sbHorizontal && FScrollBar->UseRightToLeft();
  return AFirst != mirrored ? sbpPageUp : sbpPageDown;
}

void TcxScrollBarViewInfo::Calculate() {
  FKind = FScrollBar->Kind();
  FMinThumbnailSize = FScrollBar->Painter()->MinThumbnailSize();
  const TRect bounds = Bounds();
  FLength = FKind == sbHorizontal ? bounds.Width() : bounds.Height();
  FArrowButtonLength = std::min(FLength / 2, GetArrowButtonLength());
  CalculateButtons();
  CalculateThumbRect();
  CalculateAnnotationInfosBounds();
  if (FAnnotationInfos->ChangedAnnotationKinds().any()) FAnnotationInfos->Calculate(FAnnotationInfosBounds);
}

void TcxScrollBarViewInfo::CalculateAnnotationInfosBounds() {
  TRect r = Bounds();
  if (FKind == sbVertical) {
    r.Inflate(-2, 0);
    r.Top = PartBounds(sbpLineUp).Bottom + 1;
    r.Bottom = PartBounds(sbpLineDown).Top - 1;
  } else {
    r.Inflate(0, -2);
    r.Left = PartBounds(VisualButton(true)).Right + 1;
    r.Right = PartBounds(VisualButton(false)).Left - 1;
  }
  FAnnotationInfosBounds = r;
}

void TcxScrollBarViewInfo::CalculateButtons() {
  const TRect b = Bounds();
  const int a = FArrowButtonLength;
  if (FKind == sbVertical) {
    TSize size;
    FScrollBar->GetSize(size);
    const TRect lineUp(b.Left, b.Top, b.Left + size.cx, b.Top + a);
    PartInfos(sbpLineUp)->SetBounds(lineUp);
    TRect lineDown = lineUp;
    lineDown.Offset(0, FLength - a);
    PartInfos(sbpLineDown)->SetBounds(lineDown);
  } else {
    PartInfos(VisualButton(true))->SetBounds(TRect(b.Left, b.Top, b.Left + a, b.Bottom));
    PartInfos(VisualButton(false))->SetBounds(TRect(b.Right - a, b.Top, b.Right, b.Bottom));
  }
}

void TcxScrollBarViewInfo::CalculateThumbRect() {
  for (TcxScrollBarPart part : {sbpThumbnail, sbpPageUp, sbpPageDown}) PartInfos(part)->SetBounds(TRect());
  if (!FScrollBar->Enabled()) return;
  const TcxScrollBarHelper* bar = FScrollBar;
  const std::int64_t l = FLength - 2 * FArrowButtonLength;
  const std::int64_t range = static_cast<std::int64_t>(bar->Max()) - bar->Min();
  const std::int64_t position = static_cast<std::int64_t>(bar->Position()) - bar->Min();
  const std::int64_t page = bar->PageSize();
  std::int64_t thumb;
  std::int64_t offset;
  if (page == 0) {
    thumb = GetSystemMetricsForScaleFactor(FKind == sbHorizontal ? SM_CXHTHUMB : SM_CYVTHUMB,
                                           FScrollBar->ScaleFactor());
    if (l < thumb) return;
    offset = l == thumb || range == 0 ? 0 : MulDiv64(l - thumb, position, range);
  } else {
    if (l < FMinThumbnailSize || range == 0) return;
    thumb = std::max<std::int64_t>(std::min(l, MulDiv64(page, l, range + 1)), FMinThumbnailSize);
    const std::int64_t span = range - page + 1;  // at least 1: the page fits the range
    offset = MulDiv64(l - thumb, std::min(position, span), span);
  }

  const TRect b = Bounds();
  const bool reversed = bar->ReverseDirection();
  const bool dragging = FDragThumbnailPosX != 0 || FDragThumbnailPosY != 0;
  const int length = static_cast<int>(thumb);
  TRect r;
  if (FKind == sbVertical) {
    r.Left = b.Left;
    r.Right = b.Right;
    if (dragging)
      r.Top = reversed ? FDragThumbnailPosY - length : FDragThumbnailPosY;
    else
      r.Top = reversed ? PartBounds(sbpLineDown).Top - static_cast<int>(offset) - length
                       : PartBounds(sbpLineUp).Bottom + static_cast<int>(offset);
    r.Bottom = r.Top + length;
  } else {
    r.Top = b.Top;
    r.Bottom = b.Bottom;
    if (dragging)
      r.Left = reversed ? FDragThumbnailPosX - length : FDragThumbnailPosX;
    else
      r.Left = reversed ? PartBounds(VisualButton(false)).Left - static_cast<int>(offset) - length
                        : PartBounds(VisualButton(true)).Right + static_cast<int>(offset);
    r.Right = r.Left + length;
    if (!dragging && FScrollBar->UseRightToLeft()) {
      const int left = b.Left + b.Right - r.Right;
      r = TRect(left, r.Top, left + length, r.Bottom);
    }
  }
  PartInfos(sbpThumbnail)->SetBounds(r);

  if (FKind == sbVertical) {
    PartInfos(sbpPageUp)->SetBounds(TRect(b.Left, PartBounds(sbpLineUp).Bottom, b.Right, r.Top));
    PartInfos(sbpPageDown)->SetBounds(TRect(b.Left, r.Bottom, b.Right, PartBounds(sbpLineDown).Top));
  } else {
    PartInfos(VisualPage(true))->SetBounds(TRect(PartBounds(VisualButton(true)).Right, b.Top, r.Left, b.Bottom));
    PartInfos(VisualPage(false))->SetBounds(TRect(r.Right, b.Top, PartBounds(VisualButton(false)).Left, b.Bottom));
  }
}

TcxScrollBarPart TcxScrollBarViewInfo::HitTest(const TPoint& P) const {
  for (TcxScrollBarPart part : HitTestOrder)
    if (PartBounds(part).Contains(P)) return part;
  return sbpNone;
}

// ---------------------------------------------------------------------------
// TcxScrollBarHelper

void TcxScrollBarHelper::Create(IcxScrollBarOwner* AOwner) {
  FOwner = AOwner;
  FViewInfo.reset(NewOfClass<TcxScrollBarViewInfo>(GetViewInfoClass(), this));
  FController.reset(NewOfClass<TcxScrollBarController>(GetControllerClass(), this));
  FPainter.reset(NewOfClass<TcxScrollBarPainter>(GetPainterClass(), this));
  TSize size;
  GetSize(size);
  FBoundsRect = TRect(0, 0, size.cx, size.cy);
  FKind = sbHorizontal;
  FEnabled = true;
  FMax = 100;
  FSmallChange = 1;
  FLargeChange = 1;
  if (AOwner) FOwner2 = Supports<IcxScrollBarOwner2>(AOwner);
}

void TcxScrollBarHelper::Destroy() {
  SetAnnotations(nullptr);
  FVisibleRgn.Reset();
  FPainter.reset();
  FController.reset();
  FViewInfo.reset();
  inherited::Destroy();
}

TClass TcxScrollBarHelper::GetControllerClass() { return TcxScrollBarController::ClassInfo(); }

TClass TcxScrollBarHelper::GetPainterClass() { return TcxScrollBarLookAndFeelPainter::ClassInfo(); }

TClass TcxScrollBarHelper::GetViewInfoClass() { return TcxScrollBarViewInfo::ClassInfo(); }

bool TcxScrollBarHelper::PaintsThroughBitmap() { return !IsWinVistaOrLater; }

void TcxScrollBarHelper::SetBoundsRect(const TRect& AValue) {
  if (FBoundsRect == AValue) return;
  FBoundsRect = AValue;
  FViewInfo->AnnotationInfos()->SetChangedAnnotationKinds(AllScrollbarAnnotationKinds());
  FVisibleRgn.Reset();
}

void TcxScrollBarHelper::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  if (!FEnabled) CancelMode();
}

void TcxScrollBarHelper::SetVisible(bool AValue) {
  if (FVisible == AValue) return;
  FVisible = AValue;
  if (!FVisible)
    CancelMode();
  else
    ScrollbarAnnotationsUpdate();
}

void TcxScrollBarHelper::SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) {
  if (AMin > AMax || APageSize < 0 || static_cast<std::int64_t>(AMax) - AMin < APageSize)
    throw EInvalidOperation(L"Eigenschaft Scrollbar außerhalb des zulässigen Bereichs");
  const int position = std::clamp(APosition, AMin, AMax);
  const bool sameRange = AMin == FMin && AMax == FMax && APageSize == FPageSize;
  if (sameRange && position == FPosition) ARedraw = false;
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  const bool positionChanged = position != FPosition;
  FPosition = position;
  FViewInfo->CalculateThumbRect();
  if (ARedraw && HasOwnerWindow()) Repaint();
  if (positionChanged) DoChange();
}

void TcxScrollBarHelper::SetVisibleRegion(HRGN ARegion) { FVisibleRgn.Reset(ARegion); }

bool TcxScrollBarHelper::HitTestVisible(const TPoint& P) const {
  if (FVisibleRgn) return PtInRegion(FVisibleRgn.Get(), P.X, P.Y) != FALSE;
  return FBoundsRect.Contains(P);
}

void TcxScrollBarHelper::Calculate() { FViewInfo->Calculate(); }

void TcxScrollBarHelper::CancelMode() { FController->StopScrolling(sbpNone); }

TPoint TcxScrollBarHelper::GetOwnerOrigin() { return FOwner2 ? FOwner2->GetOwnerOrigin() : TPoint(); }

bool TcxScrollBarHelper::GetOwnerVisible() { return !FOwner2 || FOwner2->GetOwnerVisible(); }

void TcxScrollBarHelper::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint origin = GetOwnerOrigin();
  FController->MouseDown(Button, Shift, X - origin.X, Y - origin.Y);
}

void TcxScrollBarHelper::MouseEnter(TControl* AControl) { FController->MouseEnter(AControl); }

void TcxScrollBarHelper::MouseLeave(TControl* AControl) { FController->MouseLeave(AControl); }

void TcxScrollBarHelper::MouseMove(TShiftState Shift, int X, int Y) {
  const TPoint origin = GetOwnerOrigin();
  FController->MouseMove(Shift, X - origin.X, Y - origin.Y);
}

void TcxScrollBarHelper::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint origin = GetOwnerOrigin();
  FController->MouseUp(Button, Shift, X - origin.X, Y - origin.Y);
}

bool TcxScrollBarHelper::HasOwnerWindow() const {
  TWinControl* control = OwnerControl();
  return control && control->HandleAllocated();
}

void TcxScrollBarHelper::InvalidateRect(const TRect& R, bool AErase) {
  if (!HasOwnerWindow()) return;
  const HWND window = OwnerControl()->Handle();
  if (FIsNonClient) {
    const RECT r = R;
    RedrawWindow(window, &r, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return;
  }
  const TPoint origin = GetOwnerOrigin();
  TOwned<TcxRegion> area(FVisibleRgn ? CopyRegion(FVisibleRgn.Get()) : New<TcxRegion>(FBoundsRect));
  TOwnedRegion part(CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom));
  CombineRgn(area->Handle(), area->Handle(), part.Get(), RGN_AND);
  OffsetRgn(area->Handle(), origin.X, origin.Y);
  InvalidateRgn(window, area->Handle(), AErase);
}

void TcxScrollBarHelper::InvalidateAll() { InvalidateRect(FBoundsRect, false); }

void TcxScrollBarHelper::Repaint() {
  if (!HasOwnerWindow()) return;
  if (FIsNonClient) {
    const RECT r = FBoundsRect;
    RedrawWindow(OwnerControl()->Handle(), &r, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return;
  }
  InvalidateAll();
  OwnerControl()->Update();
}

TdxScaleFactor* TcxScrollBarHelper::ScaleFactor() {
  TdxScaleFactor* factor = FOwner ? FOwner->GetScaleFactor() : nullptr;
  return factor ? factor : SystemScaleFactor();
}

void TcxScrollBarHelper::GetSize(TSize& ASize) { ASize = GetSystemScrollBarSize(ScaleFactor()); }

bool TcxScrollBarHelper::IsCaptured() { return HasOwnerWindow() && GetCapture() == OwnerControl()->Handle(); }

bool TcxScrollBarHelper::UseRightToLeft() {
  TWinControl* control = OwnerControl();
  if (!control) return false;
  return FKind == sbVertical ? control->UseRightToLeftScrollBar() : control->UseRightToLeftAlignment();
}

void TcxScrollBarHelper::ScreenToClient(const TPoint& P, TPoint& AResult) {
  TWinControl* control = OwnerControl();
  const TPoint client = control ? control->ScreenToClient(P) : P;
  const TPoint origin = GetOwnerOrigin();
  AResult = TPoint(client.X - origin.X, client.Y - origin.Y);
}

void TcxScrollBarHelper::DoScroll(TScrollCode AScrollCode, int& AScrollPos) {
  CallEvent(FOnScroll, this, AScrollCode, AScrollPos);
}

void TcxScrollBarHelper::Scroll(TScrollCode AScrollCode) { Scroll(AScrollCode, FPosition); }

void TcxScrollBarHelper::Scroll(TScrollCode AScrollCode, int APosition) {
  if (FReverseDirection) {
    switch (AScrollCode) {
      case scLineUp: AScrollCode = scLineDown; break;
      case scLineDown: AScrollCode = scLineUp; break;
      case scPageUp: AScrollCode = scPageDown; break;
      case scPageDown: AScrollCode = scPageUp; break;
      case scTop: AScrollCode = scBottom; break;
      case scBottom: AScrollCode = scTop; break;
      default: break;
    }
  }
  // In 64 bits: a step from the ends of the Integer range does not wrap.
  std::int64_t p = APosition;
  switch (AScrollCode) {
    case scLineUp: p -= FSmallChange; break;
    case scLineDown: p += FSmallChange; break;
    case scPageUp: p -= FLargeChange; break;
    case scPageDown: p += FLargeChange; break;
    case scTop: p = FMin; break;
    case scBottom: p = FMax; break;
    default: break;
  }
  int position = static_cast<int>(std::clamp<std::int64_t>(p, FMin, FMax));
  DoScroll(AScrollCode, position);
  position = std::clamp(position, FMin, FMax);
  if (position == FPosition) return;
  if (AScrollCode == scTrack) {
    FPosition = position;
    FViewInfo->CalculateThumbRect();
    Repaint();
  } else {
    SetScrollParams(FMin, FMax, position, FPageSize, true);
  }
}

void TcxScrollBarHelper::DoChange() { CallEvent(FOnChange, this); }

void TcxScrollBarHelper::DoPaint(TcxCustomCanvas* ACanvas) { FPainter->Paint(ACanvas); }

void TcxScrollBarHelper::Paint(TcxCustomCanvas* ACanvas) {
  auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas);
  if (!canvas) {
    FPainter->Paint(ACanvas);
    return;
  }
  {
    const TcxClipRegionScope clip(canvas);
    ClipToBar(canvas);
    if (PaintsThroughBitmap())
      PaintThroughBitmap(canvas->Handle());
    else
      DoPaint(canvas);
  }
  // What comes after does not paint over the bar.
  if (FVisibleRgn)
    canvas->SetClipRegion(CopyRegion(FVisibleRgn.Get()), roSubtract);
  else
    canvas->ExcludeClipRect(FBoundsRect);
}

void TcxScrollBarHelper::Paint(TCanvas* ACanvas) {
  const TcxPaintCanvasScope paint(ACanvas);
  const TcxWindowOrgScope origin(paint.Canvas(), GetOwnerOrigin());
  const TcxClipRegionScope clip(paint.Canvas());
  ClipToBar(paint.Canvas());
  PaintThroughBitmap(paint->Handle());
}

void TcxScrollBarHelper::ClipToBar(TcxCanvas* ACanvas) const {
  if (FVisibleRgn)
    ACanvas->SetClipRegion(CopyRegion(FVisibleRgn.Get()), roIntersect);
  else
    ACanvas->IntersectClipRect(FBoundsRect);
}

void TcxScrollBarHelper::PaintThroughBitmap(HDC ADC) {
  if (FVisibleRgn) {
    RECT box{};
    if (GetRgnBox(FVisibleRgn.Get(), &box) == NULLREGION || IsRectEmpty(&box)) return;
  }
  const TRect bounds = FBoundsRect;
  TOwned<TcxBitmap> bitmap(NewWith<TcxBitmap>([&](TcxBitmap* b) { b->CreateSize(bounds.Width(), bounds.Height()); }));
  TcxCanvas* canvas = bitmap->cxCanvas();
  canvas->SetWindowOrg(bounds.TopLeft());
  DoPaint(canvas);
  BitBlt(ADC, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), canvas->Handle(), bounds.Left, bounds.Top,
         SRCCOPY);
}

// ---------------------------------------------------------------------------
// Sizes of bars

TSize GetSystemScrollBarSize(const TdxScaleFactor* AFactor) {
  return TSize(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, AFactor),
               GetSystemMetricsForScaleFactor(SM_CYHSCROLL, AFactor));
}

TSize GetDefaultSystemScrollBarSize() { return GetSystemScrollBarSize(SystemScaleFactor()); }

TSize GetTouchScrollBarSize(const TdxScaleFactor* AFactor) {
  const TdxScaleFactor* factor = AFactor ? AFactor : SystemScaleFactor();
  return factor ? factor->Apply(TSize(16, 16)) : TSize(16, 16);
}

TSize GetHybridScrollBarSize(const TdxScaleFactor* AFactor, bool AExpanded) {
  const TdxScaleFactor* factor = AFactor ? AFactor : SystemScaleFactor();
  const int side = AExpanded ? 16 : 6;
  return factor ? factor->Apply(TSize(side, side)) : TSize(side, side);
}
