// The abstract canvas: what TcxCustomCanvas does itself for the operations it
// does not leave to the back ends.
#include "library/graphics/canvas/cxCustomCanvas.h"

#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// Shared types

TFontPitch dxFontPitchToFontPitch(TdxFontPitch APitch) {
  switch (APitch) {
    case TdxFontPitch::Fixed:
      return fpFixed;
    case TdxFontPitch::Variable:
      return fpVariable;
    default:
      return fpDefault;
  }
}

TdxFontPitch FontPitchToDxFontPitch(TFontPitch APitch) {
  switch (APitch) {
    case fpFixed:
      return TdxFontPitch::Fixed;
    case fpVariable:
      return TdxFontPitch::Variable;
    default:
      return TdxFontPitch::Default;
  }
}

bool SupportsNonGdiRenderModes(TObject* AControl) {
  return static_cast<bool>(Supports<IdxNonGdiRenderModesSupport>(AControl));
}

namespace {

// The rectangle of whole pixels that covers R.
TRect EnclosingRect(const TdxRectF& R) { return ConvertRectFToRect(R, false); }

TcxBorders BordersOf(TcxBorders ABorders, std::initializer_list<TcxBorder> ASides) {
  TcxBorders result;
  for (TcxBorder side : ASides)
    if (ABorders.Contains(side)) result.Include(side);
  return result;
}

TcxCanvasBasedResourceHandle* HandleOf(const TcxCanvasBasedResource* AResource) {
  return AResource ? AResource->Handle() : nullptr;
}

// A copy of a bitmap, or any other graphic drawn on a cleared 32-bit bitmap
// of its size.
TOwned<TBitmap> GraphicAsBitmap(TGraphic* AGraphic) {
  TOwned<TBitmap> result(New<TBitmap>());
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) {
    result->Assign(bitmap);
    return result;
  }
  result->SetPixelFormat(pf32bit);
  result->SetSize(AGraphic->Width(), AGraphic->Height());
  if (!result->Empty()) result->Canvas()->Draw(0, 0, AGraphic);
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomCanvas

void TcxCustomCanvas::Create() {
  inherited::Create();
  FImageStretchQuality = isqStandard;
  FUseRightToLeftAlignment = bDefault;
  FResources.reserve(4096);
}

void TcxCustomCanvas::BeforeDestruction() {
  ReleaseResources();
  inherited::BeforeDestruction();
}

void TcxCustomCanvas::ReleaseResources() {
  std::vector<TcxCanvasBasedResource*> resources;
  resources.swap(FResources);
  for (auto it = resources.rbegin(); it != resources.rend(); ++it) (*it)->Release();
}

bool TcxCustomCanvas::UseRightToLeftAlignment() {
  switch (FUseRightToLeftAlignment) {
    case bTrue:
      return true;
    case bFalse:
      return false;
    default:
      return GetControlRightToLeft();
  }
}

// Resources

TOwned<TcxCanvasBasedBrush> TcxCustomCanvas::CreateBrush(TdxAlphaColor AColor) {
  if (AColor == TdxAlphaColors::Empty) return nullptr;
  return TOwned<TcxCanvasBasedBrush>(New<TcxCanvasBasedBrush>(this, GetSharedBrushes()->GetOrCreate(AColor)));
}

TOwned<TcxCanvasBasedBrush> TcxCustomCanvas::CreateBrush(TdxFillOptions* AFillOptions) {
  if (!AFillOptions) return nullptr;
  return TOwned<TcxCanvasBasedBrush>(New<TcxCanvasBasedBrush>(this, GetSharedBrushes()->GetOrCreate(AFillOptions)));
}

TOwned<TcxCanvasBasedFont> TcxCustomCanvas::CreateFonT(TFont* AFont, TdxObjectOwnership AOwnership) {
  if (!AFont) return nullptr;
  return TOwned<TcxCanvasBasedFont>(New<TcxCanvasBasedFont>(this, GetSharedFonts()->GetOrCreate(AFont, AOwnership)));
}

TOwned<TcxCanvasBasedFont> TcxCustomCanvas::CreateFonT(TdxFontOptions* AFont) {
  if (!AFont) return nullptr;
  return TOwned<TcxCanvasBasedFont>(New<TcxCanvasBasedFont>(this, GetSharedFonts()->GetOrCreate(AFont)));
}

TOwned<TcxCanvasBasedImage> TcxCustomCanvas::CreateImage(TGraphic* AGraphic) {
  if (!AGraphic) return nullptr;
  if (auto* image = dynamic_cast<TdxGPImage*>(AGraphic)) return CreateImage(image, ooCloned);
  const TOwned<TBitmap> bitmap = GraphicAsBitmap(AGraphic);
  return CreateImage(bitmap.get(), afIgnored);
}

TOwned<TcxCanvasBasedImage> TcxCustomCanvas::CreateImage(TdxGPImage* AImage, TdxObjectOwnership AOwnership) {
  if (!AImage) return nullptr;
  const TOwned<TdxGPImage> owned(AOwnership == ooOwned ? AImage : nullptr);
  const TOwned<TBitmap> bitmap = AImage->GetAsBitmap();
  return CreateImage(bitmap.get(), afPremultiplied);
}

TOwned<TcxCanvasBasedImageList> TcxCustomCanvas::CreateImageList(TCustomImageList* AImageList) {
  if (!AImageList) return nullptr;
  return TOwned<TcxCanvasBasedImageList>(
      New<TcxCanvasBasedImageList>(this, GetSharedImageLists()->GetOrCreate(AImageList)));
}

TOwned<TcxCanvasBasedPen> TcxCustomCanvas::CreatePeN(TdxAlphaColor AColor, float AWidth, TdxStrokeStyle AStyle) {
  return TOwned<TcxCanvasBasedPen>(New<TcxCanvasBasedPen>(this, GetSharedPens()->GetOrCreate(AColor, AWidth, AStyle)));
}

TOwned<TcxCanvasBasedPen> TcxCustomCanvas::CreatePeN(TdxStrokeOptions* AStrokeOptions) {
  if (!AStrokeOptions) return nullptr;
  return TOwned<TcxCanvasBasedPen>(New<TcxCanvasBasedPen>(this, GetSharedPens()->GetOrCreate(AStrokeOptions)));
}

// Native drawing

void TcxCustomCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                       TcxCanvasNativeDrawExProc AProc) {
  if (!RectVisible(R)) return;
  DrawNativeObject(R, ACacheKey, TcxCanvasNativeDrawProc([&AProc](TcxCanvas* ACanvas, const TRect& ARect) {
                     const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
                     AProc(paint.Canvas(), ARect);
                   }));
}

// Bitmaps and images

template <class TCreate, class TDraw>
void TcxCustomCanvas::DrawThroughImage(PcxCanvasBasedImage ACache, const TCreate& ACreateImage, const TDraw& ADraw) {
  if (ACache) {
    if (!CheckIsValid(*ACache)) *ACache = ACreateImage();
    if (*ACache) ADraw(ACache->get());
  } else if (const TOwned<TcxCanvasBasedImage> image = ACreateImage()) {
    ADraw(image.get());
  }
}

void TcxCustomCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                 TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(ABitmap, AAlphaFormat); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, ASourceRect, 255); });
}

void TcxCustomCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                 TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(static_cast<TdxCustomFastDIB*>(ABitmap), AAlphaFormat); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, ASourceRect, 255); });
}

void TcxCustomCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                                 TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(static_cast<TdxCustomFastDIB*>(ABitmap), AAlphaFormat); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, ASourceRect, 255); });
}

void TcxCustomCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                 TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(static_cast<TdxCustomFastDIB*>(ABitmap), AAlphaFormat); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, ASourceRect, 255); });
}

void TcxCustomCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                                 TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(static_cast<TdxCustomFastDIB*>(ABitmap), AAlphaFormat); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, ASourceRect, 255); });
}

void TcxCustomCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                                 PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, TRect(0, 0, ABitmap->Width(), ABitmap->Height()), AAlphaFormat, ACache);
}

void TcxCustomCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, ABitmap->AlphaFormat(), ACache);
}

void TcxCustomCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                                 PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, ABitmap->ClientRect(), AAlphaFormat, ACache);
}

void TcxCustomCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, TAlphaFormat AAlphaFormat,
                                 PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, TdxRectF(ABitmap->ClientRect()), AAlphaFormat, ACache);
}

void TcxCustomCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                                 PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, ABitmap->ClientRect(), AAlphaFormat, ACache);
}

void TcxCustomCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, TAlphaFormat AAlphaFormat,
                                 PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ATargetRect, TdxRectF(ABitmap->ClientRect()), AAlphaFormat, ACache);
}

void TcxCustomCanvas::DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(AImage, ooReferenced); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, 255); });
}

void TcxCustomCanvas::DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(AImage, ooReferenced); },
      [&](TcxCanvasBasedImage* AImage) { AImage->Draw(ATargetRect, 255); });
}

// Frames

void TcxCustomCanvas::DrawComplexFrame(const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor,
                                       TcxBorders ABorders, int ABorderWidth) {
  FrameRect(R, ALeftTopColor, ABorderWidth, BordersOf(ABorders, {bLeft, bTop}));
  FrameRect(R, ARightBottomColor, ABorderWidth, BordersOf(ABorders, {bRight, bBottom}));
}

void TcxCustomCanvas::DrawEdge(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders) {
  struct TcxEdgeColors {
    bool Sunken;
    bool Outer;
    TColor LeftTop;
    TColor RightBottom;
  };
  static constexpr TcxEdgeColors table[] = {
      {true, true, clBtnShadow, clBtnHighlight},
      {true, false, cl3DDkShadow, cl3DLight},
      {false, true, cl3DLight, cl3DDkShadow},
      {false, false, clBtnHighlight, clBtnShadow},
  };
  for (const TcxEdgeColors& row : table)
    if (row.Sunken == ASunken && row.Outer == AOuter) DrawComplexFrame(R, row.LeftTop, row.RightBottom, ABorders, 1);
}

void TcxCustomCanvas::FrameRect(const TRect& R, TColor AColor, int ALineWidth, TcxBorders ABorders) {
  if (R.IsEmpty() || AColor == clNone) return;
  const int w = ALineWidth;
  if (ABorders.Contains(bLeft)) FillRect(TRect(R.Left, R.Top, std::min(R.Left + w, R.Right), R.Bottom), AColor);
  if (ABorders.Contains(bRight)) FillRect(TRect(std::max(R.Right - w, R.Left), R.Top, R.Right, R.Bottom), AColor);
  if (ABorders.Contains(bTop)) FillRect(TRect(R.Left, R.Top, R.Right, std::min(R.Top + w, R.Bottom)), AColor);
  if (ABorders.Contains(bBottom)) FillRect(TRect(R.Left, std::max(R.Bottom - w, R.Top), R.Right, R.Bottom), AColor);
}

void TcxCustomCanvas::FrameRect(const TRect& R, TdxAlphaColor AColor, int ALineWidth, TcxBorders ABorders) {
  if (R.IsEmpty() || AColor == TdxAlphaColors::Empty || AColor == 0x00FFFFFF) return;
  const int w = ALineWidth;
  // The top and bottom bands leave the sides out: no pixel is blended twice.
  TRect r = R;
  const auto band = [&](const TRect& ABand) {
    if (!ABand.IsEmpty()) FillRect(ABand, AColor);
  };
  if (ABorders.Contains(bLeft)) {
    band(TRect(r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom));
    r.Left += w;
  }
  if (ABorders.Contains(bRight)) {
    band(TRect(std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom));
    r.Right -= w;
  }
  if (ABorders.Contains(bTop)) band(TRect(r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)));
  if (ABorders.Contains(bBottom)) band(TRect(r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom));
}

void TcxCustomCanvas::FrameRect(const TdxRectF& R, TdxAlphaColor AColor, float ALineWidth, TcxBorders ABorders) {
  if (R.IsEmpty() || !IsAlphaColorVisible(AColor) || !(ALineWidth > 0) || ABorders.Empty()) return;
  const TOwned<TcxCanvasBasedBrush> brush = CreateBrush(AColor);
  const float w = ALineWidth;
  TdxRectF r = R;
  const auto band = [&](const TdxRectF& ABand) {
    if (!ABand.IsEmpty()) FillRect(ABand, brush.get());
  };
  if (ABorders.Contains(bLeft)) {
    band(TdxRectF(r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom));
    r.Left += w;
  }
  if (ABorders.Contains(bRight)) {
    band(TdxRectF(std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom));
    r.Right -= w;
  }
  if (ABorders.Contains(bTop)) band(TdxRectF(r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)));
  if (ABorders.Contains(bBottom)) band(TdxRectF(r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom));
}

// Shapes

void TcxCustomCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TColor AColor,
                          int APenWidth, TPenStyle APenStyle) {
  Arc(AEllipse, AStartPoint, AEndPoint, ColorToAlphaColor(AColor), APenWidth, APenStyle);
}

void TcxCustomCanvas::Ellipse(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle,
                              int APenWidth) {
  Ellipse(R, ColorToAlphaColor(ABrushColor), ColorToAlphaColor(APenColor), APenStyle, APenWidth);
}

void TcxCustomCanvas::FillPixel(int X, int Y, TColor AColor) { FillRect(TRect(X, Y, X + 1, Y + 1), AColor); }

void TcxCustomCanvas::FillPolygon(std::span<const TPoint> P, TColor AColor) { Polygon(P, AColor, clNone); }

void TcxCustomCanvas::FillPolygon(std::span<const TPoint> P, TdxAlphaColor AColor) {
  Polygon(P, AColor, TdxAlphaColors::Empty);
}

void TcxCustomCanvas::FillPolygon(std::span<const TdxPointF> P, TcxCanvasBasedBrush* ABrush) {
  Polygon(P, ABrush, nullptr);
}

void TcxCustomCanvas::FillRect(const TRect& R, TColor AColor) { FillRect(R, ColorToAlphaColor(AColor)); }

void TcxCustomCanvas::FillRect(const TRect& R, TcxCanvasBasedImage* AImage) {
  if (!AImage || AImage->IsEmpty() || R.IsEmpty()) return;
  const int w = AImage->Width();
  const int h = AImage->Height();
  const int columns = (R.Width() + w - 1) / w;
  const int rows = (R.Height() + h - 1) / h;
  const TcxClipRegionScope clip(this, R);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      AImage->Draw(MakeBoundsRect(R.Left + column * w, R.Top + row * h, w, h), 255);
}

void TcxCustomCanvas::FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage ACache) {
  DrawThroughImage(
      ACache, [&] { return CreateImage(AImage, ooReferenced); },
      [&](TcxCanvasBasedImage* AImage) { FillRect(R, AImage); });
}

void TcxCustomCanvas::FillRect(const TdxRectF& R, TcxCanvasBasedBrush* ABrush) {
  FillAndFrameRectF(R, HandleOf(ABrush), nullptr);
}

void TcxCustomCanvas::FillRectByGradient(const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  FillRectByGradient(R, ColorToAlphaColor(AColor1), ColorToAlphaColor(AColor2),
                     AHorizontal ? Gdiplus::LinearGradientModeHorizontal : Gdiplus::LinearGradientModeVertical);
}

void TcxCustomCanvas::FocusRectangle(const TRect& R) { Rectangle(R, clNone, clBlack, psDash, 1); }

void TcxCustomCanvas::Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth, TPenStyle APenStyle) {
  const TPoint points[] = {P1, P2};
  Polyline(points, AColor, APenWidth, APenStyle);
}

void TcxCustomCanvas::Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth,
                           TPenStyle APenStyle) {
  const TPoint points[] = {P1, P2};
  Polyline(points, AColor, APenWidth, APenStyle);
}

void TcxCustomCanvas::Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) {
  const TdxPointF points[] = {P1, P2};
  Polyline(std::span<const TdxPointF>(points), APen);
}

void TcxCustomCanvas::Polygon(std::span<const TPoint> P, TColor ABrushColor, TColor APenColor) {
  Polygon(P, ColorToAlphaColor(ABrushColor), ColorToAlphaColor(APenColor));
}

void TcxCustomCanvas::Polygon(std::span<const TdxPointF> P, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (!P.empty()) Polygon(P.data(), static_cast<int>(P.size()), ABrush, APen);
}

void TcxCustomCanvas::Polyline(std::span<const TPoint> P, TColor AColor, int APenWidth, TPenStyle APenStyle) {
  Polyline(P, ColorToAlphaColor(AColor), APenWidth, APenStyle);
}

void TcxCustomCanvas::Polyline(std::span<const TdxPointF> P, TcxCanvasBasedPen* APen) {
  Polyline(P.data(), static_cast<int>(P.size()), APen);
}

void TcxCustomCanvas::Rectangle(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle,
                                int APenWidth) {
  Rectangle(R, ColorToAlphaColor(ABrushColor), ColorToAlphaColor(APenColor), APenStyle, APenWidth);
}

// Origin and clipping

TPoint TcxCustomCanvas::MoveWindowOrg(const TPoint& P) {
  const TPoint result = WindowOrg();
  SetWindowOrg(TPoint(result.X - P.X, result.Y - P.Y));
  return result;
}

void TcxCustomCanvas::IntersectClipRect(const TdxRectF& ARect) { IntersectClipRect(EnclosingRect(ARect)); }

bool TcxCustomCanvas::RectVisible(const TdxRectF& R) { return RectVisible(EnclosingRect(R)); }

// ---------------------------------------------------------------------------
// TcxCanvasStateStack

bool TcxCanvasStateStack::SetWindowOrg(const TPoint& AValue) {
  if (AValue == FWindowOrg) return false;
  FWindowOrg = AValue;
  return true;
}

void TcxCanvasStateStack::ResetWorldTransform() { FWorldTransform = XFORM{1, 0, 0, 1, 0, 0}; }

void TcxCanvasStateStack::ModifyWorldTransform(const XFORM& AForm) {
  const XFORM& B = FWorldTransform;
  FWorldTransform = XFORM{AForm.eM11 * B.eM11 + AForm.eM12 * B.eM21,
                          AForm.eM11 * B.eM12 + AForm.eM12 * B.eM22,
                          AForm.eM21 * B.eM11 + AForm.eM22 * B.eM21,
                          AForm.eM21 * B.eM12 + AForm.eM22 * B.eM22,
                          AForm.eDx * B.eM11 + AForm.eDy * B.eM21 + B.eDx,
                          AForm.eDx * B.eM12 + AForm.eDy * B.eM22 + B.eDy};
}

bool TcxCanvasStateStack::RestoreWorldTransform() {
  if (FSavedWorldTransforms.empty()) return false;
  FWorldTransform = FSavedWorldTransforms.back();
  FSavedWorldTransforms.pop_back();
  return true;
}

XFORM TcxCanvasStateStack::DeviceTransform() const {
  XFORM result = FWorldTransform;
  result.eDx -= static_cast<float>(FWindowOrg.X);
  result.eDy -= static_cast<float>(FWindowOrg.Y);
  return result;
}

void TcxCanvasStateStack::SaveState(TcxCustomCanvas* ACanvas) {
  FSavedWindowOrgs.push_back(FWindowOrg);
  ACanvas->SaveWorldTransform();
  ACanvas->SaveClipRegion();
}

void TcxCanvasStateStack::RestoreState(TcxCustomCanvas* ACanvas) {
  if (FSavedWindowOrgs.empty()) return;
  const TPoint origin = FSavedWindowOrgs.back();
  FSavedWindowOrgs.pop_back();
  ACanvas->SetWindowOrg(origin);
  ACanvas->RestoreWorldTransform();
  ACanvas->RestoreClipRegion();
}

// ---------------------------------------------------------------------------
// Non-virtual forms

void TcxCustomCanvas::FillRect(const TRect& R, TColor AColor, std::uint8_t AAlpha) {
  FillRect(R, ColorToAlphaColor(AColor, AAlpha));
}

void TcxCustomCanvas::FillRect(const TdxRectF& R, TdxAlphaColor AColor) {
  const TOwned<TcxCanvasBasedBrush> brush = CreateBrush(AColor);
  FillRect(R, brush.get());
}

void TcxCustomCanvas::FillRectByGradient(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                         Gdiplus::LinearGradientMode AMode) {
  if (AColor1 == AColor2 || !IsAlphaColorVisible(AColor2))
    FillRect(R, AColor1);
  else if (IsAlphaColorVisible(AColor1))
    FillRectByGradientCore(R, AColor1, AColor2, AMode);
  else
    FillRect(R, AColor2);
}

void TcxCustomCanvas::Rectangle(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  FillAndFrameRectF(R, HandleOf(ABrush), HandleOf(APen));
}
