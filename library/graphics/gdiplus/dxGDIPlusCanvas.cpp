#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"

#include "library/graphics/canvas/cxGraphics.h"

using namespace Gdiplus;

namespace {

std::vector<TPoint> GpPointsOf(std::span<const TPoint> P) { return std::vector<TPoint>(P.begin(), P.end()); }

}  // namespace

// ---------------------------------------------------------------------------
// TdxCustomGDIPlusCanvas

void TdxCustomGDIPlusCanvas::Create() {
  inherited::Create();
  FPixelOffsetMode = PixelOffsetModeHalf;
  FSmoothingMode = smAntiAlias;
}

void TdxCustomGDIPlusCanvas::Destroy() {
  FGpCanvas.reset();
  inherited::Destroy();
}

void TdxCustomGDIPlusCanvas::SetSmoothingMode(TdxGPSmoothingMode AValue) {
  FSmoothingMode = AValue;
  if (FGpCanvas) FGpCanvas->SetSmoothingMode(AValue);
}

void TdxCustomGDIPlusCanvas::ApplyTransform() {
  // Between paints the values wait for the next graphics object.
  if (!FGpCanvas) return;
  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>(FStateStack.DeviceTransform()));
  FGpCanvas->SetWorldTransform(matrix.get());
}

void TdxCustomGDIPlusCanvas::SetWindowOrgCore(const TPoint& AValue) {
  if (FStateStack.SetWindowOrg(AValue)) ApplyTransform();
}

TOwned<TcxCanvasBasedTextLayout> TdxCustomGDIPlusCanvas::CreateTextLayout() {
  return TOwned<TcxCanvasBasedTextLayout>(New<TdxGDIPlusCanvasBasedTextLayout>(this));
}

// Native objects

void TdxCustomGDIPlusCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey&,
                                              TcxCanvasNativeDrawExProc AProc) {
  AProc(FGpCanvas.get(), R);
}

void TdxCustomGDIPlusCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey&,
                                              TcxCanvasNativeDrawProc AProc) {
  const TOwned<TdxGPMatrix> matrix = FGpCanvas->GetWorldTransform();
  // Null for the unbounded clip.
  const TOwnedRegion clip = FGpCanvas->GetClipGdiRegion();
  const TdxGPCanvasDCScope DC(FGpCanvas.get());
  const TcxPaintCanvasScope paint(DC.Get());
  paint->ModifyWorldTransform(matrix->ToXForm());
  if (clip) SelectClipRgn(DC.Get(), clip.Get());
  AProc(paint.Canvas(), R);
}

// Images and bitmaps

void TdxCustomGDIPlusCanvas::DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect,
                                            const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  GpImageOf(AImage)->StretchDraw(FGpCanvas.get(), ATargetRect, ASourceRect, GetAlphaBlendAttributes(AAlpha));
}

void TdxCustomGDIPlusCanvas::DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect,
                                           const TRect& ASourceRect, std::uint8_t AAlpha) {
  GpImageOf(AImage)->StretchDraw(FGpCanvas.get(), ATargetRect, ASourceRect, GetAlphaBlendAttributes(AAlpha));
}

void TdxCustomGDIPlusCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                                        TAlphaFormat, PcxCanvasBasedImage) {
  if (!ABitmap->Empty()) FGpCanvas->Draw(ABitmap->Handle(), ATargetRect, ASourceRect, 255);
}

void TdxCustomGDIPlusCanvas::DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect,
                                        const TdxRectF& ASourceRect, TAlphaFormat, PcxCanvasBasedImage) {
  if (!ABitmap->Empty()) FGpCanvas->Draw(ABitmap->Handle(), ATargetRect, ASourceRect, 255);
}

void TdxCustomGDIPlusCanvas::DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage) {
  if (AImage && !AImage->Empty()) AImage->StretchDraw(FGpCanvas.get(), ATargetRect, AImage->ClientRect());
}

void TdxCustomGDIPlusCanvas::DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage) {
  if (AImage && !AImage->Empty())
    AImage->StretchDraw(FGpCanvas.get(), ATargetRect, TdxRectF(AImage->ClientRect()));
}

void TdxCustomGDIPlusCanvas::FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage) {
  if (AImage && !AImage->Empty() && !R.IsEmpty()) FGpCanvas->DrawTile(AImage, R);
}

// Fills

void TdxCustomGDIPlusCanvas::FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                                    LinearGradientMode AMode) {
  FGpCanvas->FillRectangleByGradient(R, AColor1, AColor2, static_cast<TdxGPBrushGradientMode>(AMode));
}

void TdxCustomGDIPlusCanvas::FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                                               TcxCanvasBasedResourceHandle* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (brush || pen) FGpCanvas->Rectangle(R, pen, brush);
}

void TdxCustomGDIPlusCanvas::FillRect(const TRect& R, TdxAlphaColor AColor) { FGpCanvas->FillRectangle(R, AColor); }

// Shapes

void TdxCustomGDIPlusCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint,
                                 TdxAlphaColor AColor, int APenWidth, TPenStyle APenStyle) {
  FGpCanvas->Arc(AEllipse, AStartPoint, AEndPoint, AColor, static_cast<float>(APenWidth), APenStyle);
}

void TdxCustomGDIPlusCanvas::DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                                        TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (brush || pen) FGpCanvas->DonutSlice(R, AStartAngle, ASweepAngle, AWholePercent, brush, pen);
}

void TdxCustomGDIPlusCanvas::Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                     TPenStyle APenStyle, int APenWidth) {
  FGpCanvas->Ellipse(R, APenColor, ABrushColor, static_cast<float>(APenWidth), APenStyle);
}

void TdxCustomGDIPlusCanvas::Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (brush || pen) FGpCanvas->Ellipse(R, pen, brush);
}

void TdxCustomGDIPlusCanvas::Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth,
                                  TPenStyle APenStyle) {
  Line(P1, P2, ColorToAlphaColor(AColor, 255), APenWidth, APenStyle);
}

void TdxCustomGDIPlusCanvas::Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth,
                                  TPenStyle APenStyle) {
  FGpCanvas->Line(P1.X, P1.Y, P2.X, P2.Y, AColor, static_cast<float>(APenWidth), APenStyle);
}

void TdxCustomGDIPlusCanvas::Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) {
  if (TdxGPPen* pen = GpPenOf(APen)) FGpCanvas->Line(P1.X, P1.Y, P2.X, P2.Y, pen);
}

void TdxCustomGDIPlusCanvas::Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (!APath || APath->Canvas() != this) return;
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (brush || pen) FGpCanvas->Path(As<TcxGdiCanvasBasedPath>(APath)->Path(), pen, brush);
}

void TdxCustomGDIPlusCanvas::Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TcxCanvasBasedBrush* ABrush,
                                 TcxCanvasBasedPen* APen) {
  TdxGPCustomBrush* brush = GpBrushOf(ABrush);
  TdxGPPen* pen = GpPenOf(APen);
  if (brush || pen) FGpCanvas->Pie(R, AStartAngle, ASweepAngle, brush, pen);
}

void TdxCustomGDIPlusCanvas::Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) {
  FGpCanvas->Polygon(GpPointsOf(P), APenColor, ABrushColor, 1, psSolid);
}

void TdxCustomGDIPlusCanvas::Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush,
                                     TcxCanvasBasedPen* APen) {
  FGpCanvas->Polygon(P, ACount, GpPenOf(APen), GpBrushOf(ABrush));
}

void TdxCustomGDIPlusCanvas::Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth,
                                      TPenStyle APenStyle) {
  FGpCanvas->Polyline(GpPointsOf(P), AColor, static_cast<float>(APenWidth), APenStyle);
}

void TdxCustomGDIPlusCanvas::Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) {
  FGpCanvas->Polyline(P, ACount, GpPenOf(APen));
}

void TdxCustomGDIPlusCanvas::Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                       TPenStyle APenStyle, int APenWidth) {
  FGpCanvas->Rectangle(R, APenColor, ABrushColor, static_cast<float>(APenWidth), APenStyle);
}

// World transform, states and clipping

void TdxCustomGDIPlusCanvas::ModifyWorldTransform(const XFORM& AForm) {
  FStateStack.ModifyWorldTransform(AForm);
  ApplyTransform();
}

void TdxCustomGDIPlusCanvas::RestoreWorldTransform() {
  if (FStateStack.RestoreWorldTransform()) ApplyTransform();
}

void TdxCustomGDIPlusCanvas::SaveWorldTransform() { FStateStack.SaveWorldTransform(); }

void TdxCustomGDIPlusCanvas::RestoreState() { FStateStack.RestoreState(this); }

void TdxCustomGDIPlusCanvas::SaveState() { FStateStack.SaveState(this); }

void TdxCustomGDIPlusCanvas::IntersectClipRect(const TRect& ARect) { FGpCanvas->SetClipRect(ARect, gmIntersect); }

void TdxCustomGDIPlusCanvas::IntersectClipRect(const TdxRectF& ARect) { FGpCanvas->SetClipRect(ARect, gmIntersect); }

bool TdxCustomGDIPlusCanvas::RectVisible(const TdxRectF& R) { return IsGdipRectVisible(FGpCanvas->Handle(), R); }

bool TdxCustomGDIPlusCanvas::RectVisible(const TRect& R) { return IsGdipRectVisible(FGpCanvas->Handle(), R); }

void TdxCustomGDIPlusCanvas::RestoreClipRegion() { FGpCanvas->RestoreClipRegion(); }

void TdxCustomGDIPlusCanvas::SaveClipRegion() { FGpCanvas->SaveClipRegion(); }

// ---------------------------------------------------------------------------
// TdxGDIPlusControlCanvas

void TdxGDIPlusControlCanvas::Create(TCanvas* ACanvas) {
  inherited::Create();
  FCanvas = ACanvas;
}

void TdxGDIPlusControlCanvas::BeginPaint() {
  FStateStack.ResetWorldTransform();
  FGpCanvas.reset(New<TdxGPCanvas>(FCanvas->Handle()));
  FGpCanvas->SetPixelOffsetMode(FPixelOffsetMode);
  FGpCanvas->SetSmoothingMode(FSmoothingMode);
  // The window origin lives on from the paint before.
  ApplyTransform();
}

void TdxGDIPlusControlCanvas::EndPaint() { FGpCanvas.reset(); }

// ---------------------------------------------------------------------------
// TdxGDIPlusCanvasBasedTextLayout

void TdxGDIPlusCanvasBasedTextLayout::DrawCore(const TRect& R) {
  Canvas()->DrawNativeObject(R, TcxCanvasBasedResourceCacheKey(),
                             TcxCanvasNativeDrawProc([this](TcxCanvas* ACanvas, const TRect& ARect) {
                               DrawRows(ACanvas->Handle(), ARect);
                             }));
}
