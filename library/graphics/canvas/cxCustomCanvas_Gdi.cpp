// The GDI-based canvas: GDI+-object resources with the process-wide pools,
// and the drawing operations on a device context.
#include "library/graphics/canvas/cxCustomCanvas.h"

#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

using namespace Gdiplus;

namespace {

TOwned<TcxGdiCanvasBasedSharedBrushes> SharedBrushes;
TOwned<TcxGdiCanvasBasedSharedFonts> SharedFonts;
TOwned<TcxGdiCanvasBasedSharedImageLists> SharedImageLists;
TOwned<TcxGdiCanvasBasedSharedPens> SharedPens;

void FreeSharedPools() {
  SharedImageLists.reset();
  SharedBrushes.reset();
  SharedFonts.reset();
  SharedPens.reset();
}

template <class TPool, class THandle>
TPool* PoolInstance(TOwned<TPool>& APool) {
  if (!APool) APool.reset(New<TPool>(static_cast<TcxCustomCanvas*>(nullptr), THandle::ClassInfo()));
  return APool.get();
}

std::vector<TPoint> PointsOf(std::span<const TPoint> P) { return std::vector<TPoint>(P.begin(), P.end()); }

TOwned<TdxGPImage> ImageOfPixels(int AWidth, int AHeight, const RGBQUAD* ABits, TAlphaFormat AAlphaFormat) {
  return TOwned<TdxGPImage>(NewWith<TdxGPImage>(
      [&](TdxGPImage* AImage) { AImage->CreateFromBits(AWidth, AHeight, ABits, AAlphaFormat); }));
}

}  // namespace

TdxGPCustomBrush* GpBrushOf(TcxCanvasBasedResourceHandle* AHandle) {
  return AHandle && !AHandle->IsEmpty() ? As<TcxGdiCanvasBasedBrushHandle>(AHandle)->Brush() : nullptr;
}
TdxGPPen* GpPenOf(TcxCanvasBasedResourceHandle* AHandle) {
  return AHandle && !AHandle->IsEmpty() ? As<TcxGdiCanvasBasedPenHandle>(AHandle)->Pen() : nullptr;
}
TdxGPCustomBrush* GpBrushOf(TcxCanvasBasedBrush* ABrush) { return ABrush ? GpBrushOf(ABrush->Handle()) : nullptr; }
TdxGPPen* GpPenOf(TcxCanvasBasedPen* APen) { return APen ? GpPenOf(APen->Handle()) : nullptr; }
TdxGPImage* GpImageOf(TcxCanvasBasedImage* AImage) { return As<TcxGdiCanvasBasedImage>(AImage)->Image(); }

// ---------------------------------------------------------------------------
// Handles

void TcxGdiCanvasBasedBrushHandle::Create(TdxGPCustomBrush* ABrush, TdxObjectOwnership AOwnership) {
  TcxCanvasBasedResourceHandle::Create();
  FBrush.Hold(ABrush, AOwnership, [](TdxGPCustomBrush* AOriginal) {
    return static_cast<TdxGPCustomBrush*>(AOriginal->Clone());
  });
}

TOwned<TdxGPCustomBrush> TcxCanvasBasedBrushHandle::CreateGPBrush() const {
  if (FMode == TdxFillOptionsMode::Hatch)
    return TOwned<TdxGPCustomBrush>(New<TdxGPHatchBrush>(FColor1, FColor2, FHatchStyle));
  TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  switch (FMode) {
    case TdxFillOptionsMode::Gradient:
      brush->SetStyle(gpbsGradient);
      brush->SetGradientMode(FGradientMode);
      brush->GradientPoints()->Add(0, FColor1);
      brush->GradientPoints()->Add(1, FColor2);
      break;
    case TdxFillOptionsMode::Solid:
      brush->SetColor(FColor1);
      break;
    case TdxFillOptionsMode::Texture:
      brush->SetStyle(gpbsTexture);
      if (FTexture && !FTexture->Empty()) brush->SetTexture(FTexture->Handle());
      break;
    default:
      brush->SetColor(0);
      break;
  }
  return brush;
}

void TcxGdiCanvasBasedBrushHandle::CreateNativeHandle(TcxCustomCanvas*) { FBrush.Own(CreateGPBrush().release()); }

void TcxGdiCanvasBasedBrushHandle::FreeNativeHandle() { FBrush.Reset(); }

bool TcxGdiCanvasBasedBrushHandle::IsEmpty() { return !FBrush.Get() || FBrush.Get()->IsEmpty(); }

void TcxGdiCanvasBasedPenHandle::Create(TdxGPPen* APen, TdxObjectOwnership AOwnership) {
  TcxCanvasBasedResourceHandle::Create();
  FPen.Hold(APen, AOwnership, [](TdxGPPen* AOriginal) { return static_cast<TdxGPPen*>(AOriginal->Clone()); });
  FWidth = APen->Width();
}

void TcxGdiCanvasBasedPenHandle::CreateNativeHandle(TcxCustomCanvas*) {
  FPen.Own(New<TdxGPPen>(FColor, FWidth, static_cast<TdxGPPenStyle>(FStyle)));
}

void TcxGdiCanvasBasedPenHandle::FreeNativeHandle() { FPen.Reset(); }

bool TcxGdiCanvasBasedPenHandle::IsEmpty() { return !FPen.Get() || FPen.Get()->IsEmpty(); }

void TcxGdiCanvasBasedFontHandle::Create(TFont* AFont, TdxObjectOwnership AOwnership) {
  TcxCanvasBasedResourceHandle::Create();
  AssignValues(AFont);
  FFont.Hold(AFont, AOwnership, [](TFont* AOriginal) {
    TFont* copy = New<TFont>();
    copy->Assign(AOriginal);
    return copy;
  });
}

void TcxGdiCanvasBasedFontHandle::CreateNativeHandle(TcxCustomCanvas*) {
  if (FFont.Get()) return;
  TOwned<TFont> font(New<TFont>());
  font->SetStyle(FStyle);
  font->SetName(FName);
  font->SetHeight(FHeight);
  font->SetPitch(dxFontPitchToFontPitch(FPitch));
  font->SetQuality(dxFontQualityToFontQuality(FQuality));
  FFont.Own(font.release());
}

void TcxGdiCanvasBasedFontHandle::FreeNativeHandle() { FFont.Reset(); }

// ---------------------------------------------------------------------------
// Images and paths

void TcxGdiCanvasBasedImage::Create(TcxCustomCanvas* ACanvas, TdxGPImage* AImage, TdxObjectOwnership AOwnership) {
  inherited::Create(ACanvas, AImage->Width(), AImage->Height());
  FImage.Hold(AImage, AOwnership, [](TdxGPImage* AOriginal) { return AOriginal->Clone().release(); });
}

void TcxGdiCanvasBasedImage::Destroy() {
  FImage.Reset();
  inherited::Destroy();
}

void TcxGdiCanvasBasedPath::Create(TcxCustomCanvas* ACanvas) {
  inherited::Create(ACanvas);
  FPath.reset(New<TdxGPPath>());
}

void TcxGdiCanvasBasedPath::Destroy() {
  FPath.reset();
  inherited::Destroy();
}

void TcxGdiCanvasBasedPath::AddArc(const TdxRectF& AEllipse, float AStartAngle, float ASweepAngle) {
  FPath->AddArc(AEllipse.Left, AEllipse.Top, AEllipse.Width(), AEllipse.Height(), -AStartAngle, -ASweepAngle);
}

void TcxGdiCanvasBasedPath::AddLine(const TdxPointF& P1, const TdxPointF& P2) { FPath->AddLine(P1, P2); }

void TcxGdiCanvasBasedPath::AddPolyline(const TdxPointF* APoints, int ACount) {
  if (ACount > 0) FPath->AddPolyline(APoints, ACount);
}

void TcxGdiCanvasBasedPath::FigureClose() { FPath->FigureFinish(); }

void TcxGdiCanvasBasedPath::FigureStart() { FPath->FigureStart(); }

// ---------------------------------------------------------------------------
// Pools

TcxGdiCanvasBasedSharedBrushes* TcxGdiCanvasBasedSharedBrushes::Instance() {
  return PoolInstance<TcxGdiCanvasBasedSharedBrushes, TcxGdiCanvasBasedBrushHandle>(SharedBrushes);
}

TcxGdiCanvasBasedSharedFonts* TcxGdiCanvasBasedSharedFonts::Instance() {
  return PoolInstance<TcxGdiCanvasBasedSharedFonts, TcxGdiCanvasBasedFontHandle>(SharedFonts);
}

TcxGdiCanvasBasedSharedImageLists* TcxGdiCanvasBasedSharedImageLists::Instance() {
  return PoolInstance<TcxGdiCanvasBasedSharedImageLists, TcxCanvasBasedImageListHandle>(SharedImageLists);
}

TcxGdiCanvasBasedSharedPens* TcxGdiCanvasBasedSharedPens::Instance() {
  return PoolInstance<TcxGdiCanvasBasedSharedPens, TcxGdiCanvasBasedPenHandle>(SharedPens);
}

// ---------------------------------------------------------------------------
// TcxCustomGdiBasedCanvas

TOwned<TcxCanvasBasedBrush> TcxCustomGdiBasedCanvas::CreateBrush(TdxGPCustomBrush* ABrush,
                                                                  TdxObjectOwnership AOwnership) {
  return TOwned<TcxCanvasBasedBrush>(New<TcxCanvasBasedBrush>(this, New<TcxGdiCanvasBasedBrushHandle>(ABrush, AOwnership)));
}

TOwned<TcxCanvasBasedImage> TcxCustomGdiBasedCanvas::CreateImage(TBitmap* ABitmap, TAlphaFormat AAlphaFormat) {
  TRGBColors pixels;
  if (!ABitmap || !GetGraphicPixels(ABitmap, pixels, true)) return nullptr;
  return CreateImage(ImageOfPixels(ABitmap->Width(), ABitmap->Height(), pixels.data(), AAlphaFormat).release(), ooOwned);
}

TOwned<TcxCanvasBasedImage> TcxCustomGdiBasedCanvas::CreateImage(TdxCustomFastDIB* ABitmap, TAlphaFormat AAlphaFormat) {
  if (!ABitmap || ABitmap->Empty()) return nullptr;
  GdiFlush();
  return CreateImage(ImageOfPixels(ABitmap->Width(), ABitmap->Height(), ABitmap->Bits(), AAlphaFormat).release(),
                     ooOwned);
}

TOwned<TcxCanvasBasedImage> TcxCustomGdiBasedCanvas::CreateImage(TdxGPImage* AImage, TdxObjectOwnership AOwnership) {
  if (!AImage) return nullptr;
  return TOwned<TcxCanvasBasedImage>(New<TcxGdiCanvasBasedImage>(this, AImage, AOwnership));
}

void TcxCustomGdiBasedCanvas::FillRect(const TRect& R, TcxCanvasBasedImage* AImage) {
  if (AImage) FillRect(R, GpImageOf(AImage), nullptr);
}

TOwned<TcxCanvasBasedPath> TcxCustomGdiBasedCanvas::CreatePath() {
  return TOwned<TcxCanvasBasedPath>(New<TcxGdiCanvasBasedPath>(this));
}

TOwned<TcxCanvasBasedPen> TcxCustomGdiBasedCanvas::CreatePeN(TdxGPPen* APen, TdxObjectOwnership AOwnership) {
  return TOwned<TcxCanvasBasedPen>(New<TcxCanvasBasedPen>(this, New<TcxGdiCanvasBasedPenHandle>(APen, AOwnership)));
}

TcxCanvasBasedSharedBrushes* TcxCustomGdiBasedCanvas::GetSharedBrushes() {
  return TcxGdiCanvasBasedSharedBrushes::Instance();
}

TcxCanvasBasedSharedFonts* TcxCustomGdiBasedCanvas::GetSharedFonts() { return TcxGdiCanvasBasedSharedFonts::Instance(); }

TcxCanvasBasedSharedImageLists* TcxCustomGdiBasedCanvas::GetSharedImageLists() {
  return TcxGdiCanvasBasedSharedImageLists::Instance();
}

TcxCanvasBasedSharedPens* TcxCustomGdiBasedCanvas::GetSharedPens() { return TcxGdiCanvasBasedSharedPens::Instance(); }

// ---------------------------------------------------------------------------
// TcxGdiBasedCanvas

template <class F>
void TcxGdiBasedCanvas::PaintWithGdiPlus(const TRect& R, const F& APaint) {
  const TdxGPPaintCanvasScope paint(Handle(), R);
  APaint(paint.Canvas());
}

TPoint TcxGdiBasedCanvas::DCOrigin() {
  POINT viewport{};
  POINT window{};
  GetViewportOrgEx(Handle(), &viewport);
  GetWindowOrgEx(Handle(), &window);
  return TPoint(viewport.x - window.x, viewport.y - window.y);
}

TPoint TcxGdiBasedCanvas::ViewportOrg() {
  POINT origin{};
  GetViewportOrgEx(Handle(), &origin);
  return TPoint(origin.x, origin.y);
}

void TcxGdiBasedCanvas::SetViewportOrg(const TPoint& AValue) { SetViewportOrgEx(Handle(), AValue.X, AValue.Y, nullptr); }

TPoint TcxGdiBasedCanvas::GetWindowOrg() {
  POINT origin{};
  GetWindowOrgEx(Handle(), &origin);
  return TPoint(origin.x - FBaseOrigin.X, origin.y - FBaseOrigin.Y);
}

void TcxGdiBasedCanvas::SetWindowOrgCore(const TPoint& AValue) {
  SetWindowOrgEx(Handle(), AValue.X + FBaseOrigin.X, AValue.Y + FBaseOrigin.Y, nullptr);
}

bool TcxGdiBasedCanvas::GetIsLowColorsMode() {
  const HDC DC = Handle();
  return GetDeviceCaps(DC, BITSPIXEL) <= 16 || GetDeviceCaps(DC, NUMCOLORS) > 1 ||
         GetDeviceCaps(DC, TECHNOLOGY) == DT_RASPRINTER;
}

TOwned<TcxCanvasBasedTextLayout> TcxGdiBasedCanvas::CreateTextLayout() {
  return TOwned<TcxCanvasBasedTextLayout>(New<TcxGdiCanvasBasedTextLayout>(this));
}

void TcxGdiBasedCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey&,
                                         TcxCanvasNativeDrawProc AProc) {
  if (auto* canvas = dynamic_cast<TcxCanvas*>(this)) {
    AProc(canvas, R);
    return;
  }
  // A GDI canvas of another kind lends its device context to the shared one.
  const TcxPaintCanvasScope paint(Handle());
  AProc(paint.Canvas(), R);
}

// Images and bitmaps

void TcxGdiBasedCanvas::DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect,
                                       const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  GpImageOf(AImage)->StretchDraw(Handle(), ATargetRect, ASourceRect, AAlpha);
}

void TcxGdiBasedCanvas::DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect, const TRect& ASourceRect,
                                      std::uint8_t AAlpha) {
  GpImageOf(AImage)->StretchDraw(Handle(), ATargetRect, ASourceRect, AAlpha);
}

void TcxGdiBasedCanvas::DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage) {
  if (AImage) AImage->StretchDraw(Handle(), ATargetRect, 255);
}

void TcxGdiBasedCanvas::DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage) {
  if (AImage) AImage->StretchDraw(Handle(), ATargetRect, 255);
}

void TcxGdiBasedCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                   TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  if (ImageStretchQuality() == isqHigh)
    inherited::DrawBitmap(ABitmap, ATargetRect, ASourceRect, AAlphaFormat, ACache);
  else if (AAlphaFormat != afIgnored)
    AlphaBlendBitmap(Handle(), ABitmap, ATargetRect, ASourceRect);
  else
    StretchBltRect(Handle(), ABitmap->Canvas()->Handle(), ATargetRect, ASourceRect, SRCCOPY);
}

void TcxGdiBasedCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                   TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  if (ImageStretchQuality() == isqHigh)
    inherited::DrawBitmap(ABitmap, ATargetRect, ASourceRect, AAlphaFormat, ACache);
  else if (AAlphaFormat != afIgnored)
    AlphaBlendFromDC(Handle(), ABitmap->DC(), ATargetRect, ASourceRect);
  else
    StretchBltRect(Handle(), ABitmap->DC(), ATargetRect, ASourceRect, SRCCOPY);
}

void TcxGdiBasedCanvas::DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                                   TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, ConvertRectFToRect(ATargetRect, true), ConvertRectFToRect(ASourceRect, true), AAlphaFormat,
             ACache);
}

void TcxGdiBasedCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                   TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache) {
  DrawBitmap(ABitmap, TdxRectF(ATargetRect), TdxRectF(ASourceRect), AAlphaFormat, ACache);
}

void TcxGdiBasedCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                                   TAlphaFormat AAlphaFormat, PcxCanvasBasedImage) {
  if (ABitmap->Empty()) return;
  PaintWithGdiPlus(ConvertRectFToRect(ATargetRect), [&](TdxGPCanvas* ACanvas) {
    ACanvas->SetInterpolationMode(ImageStretchQuality() == isqHigh ? imHighQualityBicubic : imNearestNeighbor);
    ACanvas->SetCompositionMode(AAlphaFormat == afIgnored ? cmSourceCopy : cmSourceOver);
    ACanvas->SetPixelOffsetMode(PixelOffsetModeHalf);
    ACanvas->Draw(ABitmap->Handle(), ATargetRect, ASourceRect, 255);
  });
}

// Shapes

void TcxGdiBasedCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint,
                            TdxAlphaColor AColor, int APenWidth, TPenStyle APenStyle) {
  if (!IsAlphaColorVisible(AColor)) return;
  PaintWithGdiPlus(AEllipse, [&](TdxGPCanvas* ACanvas) {
    ACanvas->Arc(AEllipse, AStartPoint, AEndPoint, AColor, static_cast<float>(APenWidth), APenStyle);
  });
}

void TcxGdiBasedCanvas::DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                                   TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (!brush && !pen) return;
  PaintWithGdiPlus(ConvertRectFToRect(R), [&](TdxGPCanvas* ACanvas) {
    ACanvas->DonutSlice(R, AStartAngle, ASweepAngle, AWholePercent, brush, pen);
  });
}

void TcxGdiBasedCanvas::Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                TPenStyle APenStyle, int APenWidth) {
  PaintWithGdiPlus(R, [&](TdxGPCanvas* ACanvas) {
    ACanvas->Ellipse(R, APenColor, ABrushColor, static_cast<float>(APenWidth), APenStyle);
  });
}

void TcxGdiBasedCanvas::Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (!brush && !pen) return;
  PaintWithGdiPlus(ConvertRectFToRect(R), [&](TdxGPCanvas* ACanvas) { ACanvas->Ellipse(R, pen, brush); });
}

void TcxGdiBasedCanvas::FillPixel(int X, int Y, TColor AColor) { SetPixel(Handle(), X, Y, ColorToColorRef(AColor)); }

void TcxGdiBasedCanvas::FillPolygon(std::span<const TPoint> P, TColor AColor) { Polygon(P, AColor, AColor); }

void TcxGdiBasedCanvas::FillRect(const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  if (const HBRUSH brush = TdxSolidBrushCache::Get(AColor)) {
    const RECT r = R;
    ::FillRect(Handle(), &r, brush);
  }
}

void TcxGdiBasedCanvas::FillRect(const TRect& R, TdxAlphaColor AColor) {
  if (!IsAlphaColorVisible(AColor)) return;
  PaintWithGdiPlus(R, [&](TdxGPCanvas* ACanvas) { ACanvas->FillRectangle(R, AColor); });
}

void TcxGdiBasedCanvas::FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage) {
  if (!AImage || AImage->Empty() || R.IsEmpty()) return;
  PaintWithGdiPlus(R, [&](TdxGPCanvas* ACanvas) { ACanvas->DrawTile(AImage, R); });
}

void TcxGdiBasedCanvas::FillRectByGradient(const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  FillGradientRect(Handle(), R, AColor1, AColor2, AHorizontal);
}

void TcxGdiBasedCanvas::FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                               LinearGradientMode AMode) {
  PaintWithGdiPlus(R, [&](TdxGPCanvas* ACanvas) {
    ACanvas->FillRectangleByGradient(R, AColor1, AColor2, static_cast<TdxGPBrushGradientMode>(AMode));
  });
}

void TcxGdiBasedCanvas::FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                                          TcxCanvasBasedResourceHandle* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (!brush && !pen) return;
  PaintWithGdiPlus(ConvertRectFToRect(R), [&](TdxGPCanvas* ACanvas) { ACanvas->Rectangle(R, pen, brush); });
}

void TcxGdiBasedCanvas::FocusRectangle(const TRect& R) {
  const HDC DC = Handle();
  const int mapMode = SetMapMode(DC, MM_TEXT);
  const RECT r = R;
  DrawFocusRect(DC, &r);
  SetMapMode(DC, mapMode);
}

void TcxGdiBasedCanvas::Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth,
                             TPenStyle APenStyle) {
  const TPoint points[] = {P1, P2};
  PaintWithGdiPlus(GetPointsBounds(points), [&](TdxGPCanvas* ACanvas) {
    ACanvas->Line(P1.X, P1.Y, P2.X, P2.Y, AColor, static_cast<float>(APenWidth), APenStyle);
  });
}

void TcxGdiBasedCanvas::Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) {
  TdxGPPen* pen = GpPenOf(APen);
  if (!pen) return;
  const TdxPointF points[] = {P1, P2};
  PaintWithGdiPlus(ConvertRectFToRect(GetPointsBounds(points)),
                   [&](TdxGPCanvas* ACanvas) { ACanvas->Line(P1.X, P1.Y, P2.X, P2.Y, pen); });
}

void TcxGdiBasedCanvas::Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (!APath || APath->Canvas() != this) return;
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (!brush && !pen) return;
  TdxGPPath* path = As<TcxGdiCanvasBasedPath>(APath)->Path();
  PaintWithGdiPlus(path->GetBounds(pen), [&](TdxGPCanvas* ACanvas) { ACanvas->Path(path, pen, brush); });
}

void TcxGdiBasedCanvas::Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TcxCanvasBasedBrush* ABrush,
                            TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (!brush && !pen) return;
  PaintWithGdiPlus(ConvertRectFToRect(R),
                   [&](TdxGPCanvas* ACanvas) { ACanvas->Pie(R, AStartAngle, ASweepAngle, brush, pen); });
}

void TcxGdiBasedCanvas::Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) {
  PaintWithGdiPlus(GetPointsBounds(P),
                   [&](TdxGPCanvas* ACanvas) { ACanvas->Polygon(PointsOf(P), APenColor, ABrushColor, 1, psSolid); });
}

void TcxGdiBasedCanvas::Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  PaintWithGdiPlus(TRect(),
                   [&](TdxGPCanvas* ACanvas) { ACanvas->Polygon(P, ACount, GpPenOf(APen), GpBrushOf(ABrush)); });
}

void TcxGdiBasedCanvas::Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth, TPenStyle APenStyle) {
  PaintWithGdiPlus(GetPointsBounds(P), [&](TdxGPCanvas* ACanvas) {
    ACanvas->Polyline(PointsOf(P), AColor, static_cast<float>(APenWidth), APenStyle);
  });
}

void TcxGdiBasedCanvas::Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) {
  PaintWithGdiPlus(TRect(), [&](TdxGPCanvas* ACanvas) { ACanvas->Polyline(P, ACount, GpPenOf(APen)); });
}

void TcxGdiBasedCanvas::Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                  TPenStyle APenStyle, int APenWidth) {
  if (!IsAlphaColorVisible(ABrushColor) && !(APenWidth > 0 && IsAlphaColorVisible(APenColor))) return;
  PaintWithGdiPlus(R, [&](TdxGPCanvas* ACanvas) {
    ACanvas->Rectangle(R, APenColor, ABrushColor, static_cast<float>(APenWidth), APenStyle);
  });
}

// Transform and clipping

void TcxGdiBasedCanvas::ModifyWorldTransform(const XFORM& AForm) {
  const HDC DC = Handle();
  SetGraphicsMode(DC, GM_ADVANCED);
  ::ModifyWorldTransform(DC, &AForm, MWT_LEFTMULTIPLY);
}

void TcxGdiBasedCanvas::RestoreWorldTransform() {
  if (FSavedWorldTransforms.empty()) return;
  const XFORM saved = FSavedWorldTransforms.back();
  FSavedWorldTransforms.pop_back();
  SetWorldTransform(Handle(), &saved);
}

void TcxGdiBasedCanvas::SaveWorldTransform() {
  XFORM current{};
  GetWorldTransform(Handle(), &current);
  FSavedWorldTransforms.push_back(current);
}

void TcxGdiBasedCanvas::IntersectClipRect(const TRect& ARect) {
  ::IntersectClipRect(Handle(), ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
}

bool TcxGdiBasedCanvas::RectVisible(const TRect& R) {
  const RECT r = R;
  return ::RectVisible(Handle(), &r);
}

void TcxGdiBasedCanvas::ExcludeClipRect(const TRect& R) {
  ::ExcludeClipRect(Handle(), R.Left, R.Top, R.Right, R.Bottom);
}

void TcxGdiBasedCanvas::SyncBrushOrigin() {
  const HDC DC = Handle();
  POINT origin{};
  GetWindowOrgEx(DC, &origin);
  FBaseOrigin = TPoint(origin.x, origin.y);
  POINT previous{};
  SetBrushOrgEx(DC, FBaseOrigin.X, FBaseOrigin.Y, &previous);
  FBrushOrigin = TPoint(previous.x, previous.y);
}

void TcxGdiBasedCanvas::RestoreBrushOrigin() {
  SetBrushOrgEx(Handle(), FBrushOrigin.X, FBrushOrigin.Y, nullptr);
  FBrushOrigin = TPoint();
  FBaseOrigin = TPoint();
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxCustomCanvasInitialization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader()) loader->AddUnit(nullptr, &FreeSharedPools);
}

void cxCustomCanvasFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader()) loader->RemoveUnit(&FreeSharedPools);
  // Also when the loader had nothing to run it for.
  FreeSharedPools();
}
