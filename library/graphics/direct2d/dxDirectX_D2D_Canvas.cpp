// The Direct2D canvas: its clip, origin and transform of its own, shapes,
// images, native objects and the resources it draws with.
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"

#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

using namespace Gdiplus;

namespace {

const wchar_t* const D2DDifferentCanvasText = L"Resource was created for different Canvas";

ID2D1StrokeStyle* StrokeStyleOfPenStyle(TPenStyle AStyle) {
  switch (AStyle) {
    case psDash:
      return TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Dash);
    case psDot:
      return TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Dot);
    case psDashDot:
      return TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::DashDot);
    case psDashDotDot:
      return TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::DashDotDot);
    default:
      return nullptr;
  }
}

// The Direct2D brush and pen of non-empty handles; nil otherwise.
TdxDirect2DBrush* D2DBrushOf(TcxCanvasBasedResourceHandle* AHandle) {
  return AHandle && !AHandle->IsEmpty() ? As<TdxDirect2DCanvasBasedBrushHandle>(AHandle)->Brush() : nullptr;
}
TdxDirect2DCanvasBasedPenHandle* D2DPenOf(TcxCanvasBasedResourceHandle* AHandle) {
  return AHandle && !AHandle->IsEmpty() ? As<TdxDirect2DCanvasBasedPenHandle>(AHandle) : nullptr;
}
TcxCanvasBasedResourceHandle* HandleOf(TcxCanvasBasedResource* AResource) {
  return AResource ? AResource->Handle() : nullptr;
}

std::vector<D2D1_POINT_2F> D2DPointsOf(std::span<const TPoint> P) {
  std::vector<D2D1_POINT_2F> points;
  points.reserve(P.size());
  for (const TPoint& point : P) points.push_back(dxPointToD2DPoint(point));
  return points;
}

std::vector<D2D1_POINT_2F> D2DPointsOf(const TdxPointF* P, int ACount) {
  std::vector<D2D1_POINT_2F> points;
  for (int i = 0; i < ACount; ++i) points.push_back(dxPointToD2DPoint(P[i]));
  return points;
}

D2D1_RECT_F D2DPointsBounds(std::span<const D2D1_POINT_2F> P) {
  D2D1_RECT_F r{P[0].x, P[0].y, P[0].x, P[0].y};
  for (const D2D1_POINT_2F& point : P) {
    r.left = std::min(r.left, point.x);
    r.top = std::min(r.top, point.y);
    r.right = std::max(r.right, point.x);
    r.bottom = std::max(r.bottom, point.y);
  }
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxCustomDirect2DCanvas

void TdxCustomDirect2DCanvas::Create() {
  inherited::Create();
  FIsGDICompatible = true;
  FCacheNativeObjects.reset(New<TNativeObjectCache>(256));
  FCacheSolidBrushes.reset(New<TSolidBrushCache>(128));
  FSharedBrushes.reset(New<TcxCanvasBasedSharedBrushes>(this, TdxDirect2DCanvasBasedBrushHandle::ClassInfo()));
  FSharedImageLists.reset(New<TcxCanvasBasedSharedImageLists>(this, TcxCanvasBasedImageListHandle::ClassInfo()));
  FSharedPens.reset(New<TcxCanvasBasedSharedPens>(this, TdxDirect2DCanvasBasedPenHandle::ClassInfo()));
}

void TdxCustomDirect2DCanvas::Destroy() {
  if (FCacheNativeObjects) ReleaseDeviceResources();
  FSharedPens.reset();
  FSharedImageLists.reset();
  FSharedBrushes.reset();
  FCacheSolidBrushes.reset();
  FCacheNativeObjects.reset();
  inherited::Destroy();
}

bool TdxCustomDirect2DCanvas::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxCanvasCacheControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxCustomDirect2DCanvas::SetDeviceContext(ID2D1DeviceContext* AValue) {
  FDeviceContext = TComPtr<ID2D1DeviceContext>(AValue);
  FMaxBitmapSize = AValue ? static_cast<int>(AValue->GetMaximumBitmapSize()) : 0;
}

void TdxCustomDirect2DCanvas::ReleaseDeviceResources() {
  ReleaseResources();
  FlushCache();
  SetDeviceContext(nullptr);
}

void TdxCustomDirect2DCanvas::FlushCache() {
  FCacheNativeObjects->Clear();
  FCacheSolidBrushes->Clear();
}

void TdxCustomDirect2DCanvas::BeginDraw(const TRect& U) {
  FClipRect = U;
  FClipRectModificationCount = 0;
  FStateStack.ResetWorldTransform();
  FDeviceContext->SetAntialiasMode(dxDirect2DAntialiasing ? D2D1_ANTIALIAS_MODE_PER_PRIMITIVE
                                                          : D2D1_ANTIALIAS_MODE_ALIASED);
  FDeviceContext->SetTextAntialiasMode(dxDirect2DTextAntialiasMode);
  ApplyTransform();
  FDeviceContext->BeginDraw();
  IntersectClipRect(U);
}

bool TdxCustomDirect2DCanvas::EndDraw() {
  PopClipRects();
  // The base clips of saves that were never restored go too: EndDraw fails
  // on layers left pushed.
  for (std::size_t i = 0; i < FSavedClipRects.size(); ++i) FDeviceContext->PopAxisAlignedClip();
  FSavedClipRects.clear();
  if (!IsDirect2DDeviceLost(DoEndDraw())) return false;
  FRecreateContextNeeded = true;
  return true;
}

HRESULT TdxCustomDirect2DCanvas::DoEndDraw() { return FDeviceContext->EndDraw(); }

// Resources

TcxCanvasBasedSharedFonts* TdxCustomDirect2DCanvas::GetSharedFonts() {
  return TdxDirect2DCanvasBasedSharedFonts::Instance();
}

ID2D1SolidColorBrush* TdxCustomDirect2DCanvas::SolidBrush(TdxAlphaColor AColor) {
  TComPtr<ID2D1SolidColorBrush> brush;
  if (!FCacheSolidBrushes->Get(AColor, brush)) {
    const D2D1_COLOR_F color = dxAlphaColorToD2DColor(AColor);
    dxCheckDirectXResult(FDeviceContext->CreateSolidColorBrush(&color, nullptr, brush.Receive()));
    FCacheSolidBrushes->Add(AColor, brush);
  }
  return brush.Get();
}

TOwned<TcxCanvasBasedBrush> TdxCustomDirect2DCanvas::CreateBrush(TdxGPCustomBrush* ABrush,
                                                                  TdxObjectOwnership AOwnership) {
  if (!ABrush) return nullptr;
  const TOwned<TdxGPCustomBrush> owned(AOwnership == ooOwned ? ABrush : nullptr);
  auto* handle = New<TdxDirect2DCanvasBasedBrushHandle>(TdxDirect2DBrushFactory::Create(FDeviceContext.Get(), ABrush));
  return TOwned<TcxCanvasBasedBrush>(New<TcxCanvasBasedBrush>(this, handle));
}

TOwned<TcxCanvasBasedImage> TdxCustomDirect2DCanvas::CreateImage(TBitmap* ABitmap, TAlphaFormat AAlphaFormat) {
  TComPtr<ID2D1Bitmap> bitmap = dxCreateD2DBitmap(FDeviceContext.Get(), ABitmap, AAlphaFormat);
  if (!bitmap) return nullptr;
  return TOwned<TcxCanvasBasedImage>(
      New<TdxDirect2DCanvasBasedImage>(this, ABitmap->Width(), ABitmap->Height(), std::move(bitmap)));
}

TOwned<TcxCanvasBasedImage> TdxCustomDirect2DCanvas::CreateImage(TdxCustomFastDIB* ABitmap,
                                                                  TAlphaFormat AAlphaFormat) {
  TComPtr<ID2D1Bitmap> bitmap = dxCreateD2DBitmap(FDeviceContext.Get(), ABitmap, AAlphaFormat);
  if (!bitmap) return nullptr;
  return TOwned<TcxCanvasBasedImage>(
      New<TdxDirect2DCanvasBasedImage>(this, ABitmap->Width(), ABitmap->Height(), std::move(bitmap)));
}

TOwned<TcxCanvasBasedPath> TdxCustomDirect2DCanvas::CreatePath() {
  return TOwned<TcxCanvasBasedPath>(New<TdxDirect2DCanvasBasedPath>(this));
}

TOwned<TcxCanvasBasedPen> TdxCustomDirect2DCanvas::CreatePeN(TdxGPPen* APen, TdxObjectOwnership AOwnership) {
  if (!APen) return nullptr;
  const TOwned<TdxGPPen> owned(AOwnership == ooOwned ? APen : nullptr);
  if (APen->IsEmpty()) return nullptr;
  return TOwned<TcxCanvasBasedPen>(New<TcxCanvasBasedPen>(this, New<TdxDirect2DCanvasBasedPenHandle>(this, APen)));
}

TOwned<TcxCanvasBasedTextLayout> TdxCustomDirect2DCanvas::CreateTextLayout() {
  return TOwned<TcxCanvasBasedTextLayout>(New<TdxDirect2DCanvasBasedTextLayout>(this));
}

// Images

void TdxCustomDirect2DCanvas::DrawImageHandle(TcxCanvasBasedImage* AImage, const D2D1_RECT_F& ATargetRect,
                                              const D2D1_RECT_F& ASourceRect, std::uint8_t AAlpha) {
  if (!AImage || AImage->Canvas() != this || !AImage->InheritsFrom(TdxDirect2DCanvasBasedImage::ClassInfo()))
    throw EInvalidArgument(String(D2DDifferentCanvasText));
  if (ID2D1Bitmap* bitmap = static_cast<TdxDirect2DCanvasBasedImage*>(AImage)->Handle())
    DrawBitmap(bitmap, dxD2DRectToRect(ATargetRect), dxD2DRectToRect(ASourceRect), AAlpha);
}

void TdxCustomDirect2DCanvas::DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect,
                                             const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  DrawImageHandle(AImage, dxRectToD2DRect(ATargetRect), dxRectToD2DRect(ASourceRect), AAlpha);
}

void TdxCustomDirect2DCanvas::DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect,
                                            const TRect& ASourceRect, std::uint8_t AAlpha) {
  DrawImageHandle(AImage, dxRectToD2DRect(ATargetRect), dxRectToD2DRect(ASourceRect), AAlpha);
}

void TdxCustomDirect2DCanvas::DrawBitmap(ID2D1Bitmap* AHandle, const TRect& ATargetRect, std::uint8_t AAlpha) {
  DrawBitmap(AHandle, TdxRectF(ATargetRect), AAlpha);
}

void TdxCustomDirect2DCanvas::DrawBitmap(ID2D1Bitmap* AHandle, const TdxRectF& ATargetRect, std::uint8_t AAlpha) {
  const D2D1_SIZE_F size = AHandle->GetSize();
  DrawBitmap(AHandle, ATargetRect, TdxRectF(0, 0, size.width, size.height), AAlpha);
}

void TdxCustomDirect2DCanvas::DrawBitmap(ID2D1Bitmap* AHandle, const TdxRectF& ATargetRect,
                                         const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  const D2D1_RECT_F target = dxRectToD2DRect(ATargetRect);
  const D2D1_RECT_F source = dxRectToD2DRect(ASourceRect);
  FDeviceContext->DrawBitmap(AHandle, &target, AAlpha / 255.0f,
                             ImageStretchQuality() == isqHigh ? D2D1_INTERPOLATION_MODE_ANISOTROPIC
                                                              : D2D1_INTERPOLATION_MODE_NEAREST_NEIGHBOR,
                             &source, nullptr);
}

void TdxCustomDirect2DCanvas::DrawTextLayout(IDWriteTextLayout* AHandle, float X, float Y, TdxAlphaColor AColor) {
  FDeviceContext->DrawTextLayout(D2D1_POINT_2F{X - 0.5f, Y - 0.5f}, AHandle, SolidBrush(AColor),
                                 D2D1_DRAW_TEXT_OPTIONS_CLIP);
}

// Fills

void TdxCustomDirect2DCanvas::FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                                     LinearGradientMode AMode) {
  const std::vector<D2D1_GRADIENT_STOP> stops{{0, dxAlphaColorToD2DColor(AColor1)},
                                              {1, dxAlphaColorToD2DColor(AColor2)}};
  const TOwned<TdxDirect2DLinearGradientBrush> brush(
      New<TdxDirect2DLinearGradientBrush>(FDeviceContext.Get(), AMode, stops));
  const D2D1_RECT_F rect = dxRectToD2DRect(R);
  FDeviceContext->FillRectangle(&rect, brush->GetHandle(rect));
}

void TdxCustomDirect2DCanvas::FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                                                TcxCanvasBasedResourceHandle* APen) {
  const D2D1_RECT_F rect = dxRectToD2DRect(R);
  if (TdxDirect2DBrush* brush = D2DBrushOf(ABrush))
    if (ID2D1Brush* handle = brush->GetHandle(rect)) FDeviceContext->FillRectangle(&rect, handle);
  if (TdxDirect2DCanvasBasedPenHandle* pen = D2DPenOf(APen))
    if (ID2D1Brush* handle = pen->GetBrush(rect))
      FDeviceContext->DrawRectangle(&rect, handle, pen->Width(), pen->StrokeStyle());
}

void TdxCustomDirect2DCanvas::FillRect(const TRect& R, TdxAlphaColor AColor) {
  if (!IsAlphaColorVisible(AColor)) return;
  const D2D1_RECT_F rect = dxRectToD2DRect(R);
  FDeviceContext->FillRectangle(&rect, SolidBrush(AColor));
}

// Geometries

TComPtr<ID2D1PathGeometry> TdxCustomDirect2DCanvas::CreateGeometry(
    const std::function<void(ID2D1GeometrySink* ASink)>& AFigures) {
  TComPtr<ID2D1PathGeometry> geometry;
  ID2D1Factory1* factory = dxD2DFactory();
  if (!factory) return geometry;
  dxCheckDirectXResult(factory->CreatePathGeometry(geometry.Receive()));
  TComPtr<ID2D1GeometrySink> sink;
  dxCheckDirectXResult(geometry->Open(sink.Receive()));
  AFigures(sink.Get());
  dxCheckDirectXResult(sink->Close());
  return geometry;
}

TComPtr<ID2D1PathGeometry> TdxCustomDirect2DCanvas::CreatePointsGeometry(const D2D1_POINT_2F* APoints, int ACount,
                                                                         bool AClosed) {
  if (ACount <= 0) return nullptr;
  return CreateGeometry([&](ID2D1GeometrySink* ASink) {
    ASink->BeginFigure(APoints[0], AClosed ? D2D1_FIGURE_BEGIN_FILLED : D2D1_FIGURE_BEGIN_HOLLOW);
    ASink->AddLines(APoints + 1, static_cast<UINT32>(ACount - 1));
    ASink->EndFigure(AClosed ? D2D1_FIGURE_END_CLOSED : D2D1_FIGURE_END_OPEN);
  });
}

void TdxCustomDirect2DCanvas::Geometry(ID2D1Geometry* AGeometry, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                       float APenWidth, ID2D1StrokeStyle* AStrokeStyle) {
  if (!AGeometry) return;
  if (IsAlphaColorVisible(ABrushColor)) FDeviceContext->FillGeometry(AGeometry, SolidBrush(ABrushColor), nullptr);
  if (IsAlphaColorVisible(APenColor) && APenWidth > 0)
    FDeviceContext->DrawGeometry(AGeometry, SolidBrush(APenColor), APenWidth, AStrokeStyle);
}

void TdxCustomDirect2DCanvas::Geometry(ID2D1Geometry* AGeometry, TcxCanvasBasedResourceHandle* ABrush,
                                       TcxCanvasBasedResourceHandle* APen, const D2D1_RECT_F* ATargetRect) {
  TdxDirect2DBrush* brush = D2DBrushOf(ABrush);
  TdxDirect2DCanvasBasedPenHandle* pen = D2DPenOf(APen);
  if (!AGeometry || (!brush && !pen)) return;
  D2D1_RECT_F bounds{};
  if (ATargetRect) bounds = *ATargetRect;
  else dxCheckDirectXResult(AGeometry->GetBounds(nullptr, &bounds));
  if (brush)
    if (ID2D1Brush* handle = brush->GetHandle(bounds)) FDeviceContext->FillGeometry(AGeometry, handle, nullptr);
  if (pen)
    if (ID2D1Brush* handle = pen->GetBrush(bounds))
      FDeviceContext->DrawGeometry(AGeometry, handle, pen->Width(), pen->StrokeStyle());
}

// Shapes

void TdxCustomDirect2DCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint,
                                  TdxAlphaColor AColor, int APenWidth, TPenStyle APenStyle) {
  if (!IsAlphaColorVisible(AColor)) return;
  const TdxD2DArc arc = dxD2DArc(AEllipse, AStartPoint, AEndPoint);
  const TComPtr<ID2D1PathGeometry> geometry = CreateGeometry([&](ID2D1GeometrySink* ASink) {
    ASink->BeginFigure(arc.StartPoint, D2D1_FIGURE_BEGIN_HOLLOW);
    ASink->AddArc(&arc.Segment);
    ASink->EndFigure(D2D1_FIGURE_END_OPEN);
  });
  Geometry(geometry.Get(), TdxAlphaColor{0}, AColor, static_cast<float>(APenWidth), StrokeStyleOfPenStyle(APenStyle));
}

void TdxCustomDirect2DCanvas::DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle,
                                         float AWholePercent, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (ASweepAngle == 0) return;
  if (AWholePercent <= 0) {
    Pie(R, AStartAngle, ASweepAngle, ABrush, APen);
    return;
  }
  const float side = AWholePercent * std::min(R.Width(), R.Height()) / 100;
  const D2D1_RECT_F inner = dxD2DCenteredRect(dxRectToD2DRect(R), {side, side});
  const TdxD2DArc outerArc = dxD2DArc(R, AStartAngle, ASweepAngle);
  const TdxD2DArc innerArc = dxD2DArc(dxD2DRectToRect(inner), AStartAngle + ASweepAngle, -ASweepAngle);
  const TComPtr<ID2D1PathGeometry> geometry = CreateGeometry([&](ID2D1GeometrySink* ASink) {
    ASink->BeginFigure(outerArc.StartPoint, D2D1_FIGURE_BEGIN_FILLED);
    ASink->AddArc(&outerArc.Segment);
    ASink->AddLine(innerArc.StartPoint);
    ASink->AddArc(&innerArc.Segment);
    ASink->AddLine(outerArc.StartPoint);
    ASink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  const D2D1_RECT_F target = dxRectToD2DRect(R);
  Geometry(geometry.Get(), HandleOf(ABrush), HandleOf(APen), &target);
}

void TdxCustomDirect2DCanvas::Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle,
                                  TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (ASweepAngle == 0 || (!D2DBrushOf(HandleOf(ABrush)) && !D2DPenOf(HandleOf(APen)))) return;
  const TdxD2DArc arc = dxD2DArc(R, AStartAngle, ASweepAngle);
  const TComPtr<ID2D1PathGeometry> geometry = CreateGeometry([&](ID2D1GeometrySink* ASink) {
    ASink->BeginFigure(D2D1_POINT_2F{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}, D2D1_FIGURE_BEGIN_FILLED);
    ASink->AddLine(arc.StartPoint);
    ASink->AddArc(&arc.Segment);
    ASink->EndFigure(D2D1_FIGURE_END_CLOSED);
  });
  const D2D1_RECT_F target = dxRectToD2DRect(R);
  Geometry(geometry.Get(), HandleOf(ABrush), HandleOf(APen), &target);
}

void TdxCustomDirect2DCanvas::Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                      TPenStyle APenStyle, int APenWidth) {
  const D2D1_ELLIPSE ellipse = dxD2DEllipse(TdxRectF(R));
  if (IsAlphaColorVisible(ABrushColor)) FDeviceContext->FillEllipse(&ellipse, SolidBrush(ABrushColor));
  if (IsAlphaColorVisible(APenColor) && APenWidth > 0)
    FDeviceContext->DrawEllipse(&ellipse, SolidBrush(APenColor), static_cast<float>(APenWidth),
                                StrokeStyleOfPenStyle(APenStyle));
}

void TdxCustomDirect2DCanvas::Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  const D2D1_RECT_F rect = dxRectToD2DRect(R);
  const D2D1_ELLIPSE ellipse = dxD2DEllipse(R);
  if (TdxDirect2DBrush* brush = D2DBrushOf(HandleOf(ABrush)))
    if (ID2D1Brush* handle = brush->GetHandle(rect)) FDeviceContext->FillEllipse(&ellipse, handle);
  if (TdxDirect2DCanvasBasedPenHandle* pen = D2DPenOf(HandleOf(APen)))
    if (ID2D1Brush* handle = pen->GetBrush(rect))
      FDeviceContext->DrawEllipse(&ellipse, handle, pen->Width(), pen->StrokeStyle());
}

void TdxCustomDirect2DCanvas::Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth,
                                   TPenStyle APenStyle) {
  Line(P1, P2, ColorToAlphaColor(AColor, 255), APenWidth, APenStyle);
}

void TdxCustomDirect2DCanvas::Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth,
                                   TPenStyle APenStyle) {
  if (!IsAlphaColorVisible(AColor)) return;
  FDeviceContext->DrawLine(dxPointToD2DPoint(P1), dxPointToD2DPoint(P2), SolidBrush(AColor),
                           static_cast<float>(APenWidth), StrokeStyleOfPenStyle(APenStyle));
}

void TdxCustomDirect2DCanvas::Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) {
  TdxDirect2DCanvasBasedPenHandle* pen = D2DPenOf(HandleOf(APen));
  if (!pen) return;
  const D2D1_POINT_2F points[] = {dxPointToD2DPoint(P1), dxPointToD2DPoint(P2)};
  if (ID2D1Brush* handle = pen->GetBrush(D2DPointsBounds(points)))
    FDeviceContext->DrawLine(points[0], points[1], handle, pen->Width(), pen->StrokeStyle());
}

void TdxCustomDirect2DCanvas::Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
  if (!APath || APath->Canvas() != this) return;
  if (!D2DBrushOf(HandleOf(ABrush)) && !D2DPenOf(HandleOf(APen))) return;
  Geometry(As<TdxDirect2DCanvasBasedPath>(APath)->Handle(), HandleOf(ABrush), HandleOf(APen));
}

void TdxCustomDirect2DCanvas::Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) {
  if (!IsAlphaColorVisible(ABrushColor) && !IsAlphaColorVisible(APenColor)) return;
  const std::vector<D2D1_POINT_2F> points = D2DPointsOf(P);
  const TComPtr<ID2D1PathGeometry> geometry = CreatePointsGeometry(points.data(), static_cast<int>(points.size()), true);
  Geometry(geometry.Get(), ABrushColor, APenColor);
}

void TdxCustomDirect2DCanvas::Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush,
                                      TcxCanvasBasedPen* APen) {
  if (!D2DBrushOf(HandleOf(ABrush)) && !D2DPenOf(HandleOf(APen))) return;
  const std::vector<D2D1_POINT_2F> points = D2DPointsOf(P, ACount);
  Geometry(CreatePointsGeometry(points.data(), ACount, true).Get(), HandleOf(ABrush), HandleOf(APen));
}

void TdxCustomDirect2DCanvas::Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth,
                                       TPenStyle APenStyle) {
  if (!IsAlphaColorVisible(AColor)) return;
  const std::vector<D2D1_POINT_2F> points = D2DPointsOf(P);
  const TComPtr<ID2D1PathGeometry> geometry =
      CreatePointsGeometry(points.data(), static_cast<int>(points.size()), false);
  Geometry(geometry.Get(), TdxAlphaColor{0}, AColor, static_cast<float>(APenWidth), StrokeStyleOfPenStyle(APenStyle));
}

void TdxCustomDirect2DCanvas::Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) {
  if (!D2DPenOf(HandleOf(APen))) return;
  const std::vector<D2D1_POINT_2F> points = D2DPointsOf(P, ACount);
  Geometry(CreatePointsGeometry(points.data(), ACount, false).Get(), nullptr, HandleOf(APen));
}

void TdxCustomDirect2DCanvas::Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                                        TPenStyle APenStyle, int APenWidth) {
  const D2D1_RECT_F rect = dxRectToD2DRect(R);
  if (IsAlphaColorVisible(ABrushColor)) FDeviceContext->FillRectangle(&rect, SolidBrush(ABrushColor));
  if (IsAlphaColorVisible(APenColor) && APenWidth > 0)
    FDeviceContext->DrawRectangle(&rect, SolidBrush(APenColor), static_cast<float>(APenWidth),
                                  StrokeStyleOfPenStyle(APenStyle));
}

// Window origin, world transform and states

void TdxCustomDirect2DCanvas::ApplyTransform() {
  if (!FDeviceContext) return;
  const D2D1_MATRIX_3X2_F transform = dxXFormToD2DMatrix(FStateStack.DeviceTransform());
  FDeviceContext->SetTransform(&transform);
}

void TdxCustomDirect2DCanvas::SetWindowOrgCore(const TPoint& AValue) {
  const TPoint delta = AValue - FStateStack.WindowOrg();
  if (!FStateStack.SetWindowOrg(AValue)) return;
  FClipRect.Offset(delta);
  ApplyTransform();
}

void TdxCustomDirect2DCanvas::ModifyWorldTransform(const XFORM& AForm) {
  FStateStack.ModifyWorldTransform(AForm);
  ApplyTransform();
}

void TdxCustomDirect2DCanvas::RestoreWorldTransform() {
  if (FStateStack.RestoreWorldTransform()) ApplyTransform();
}

void TdxCustomDirect2DCanvas::SaveWorldTransform() { FStateStack.SaveWorldTransform(); }

void TdxCustomDirect2DCanvas::RestoreState() { FStateStack.RestoreState(this); }

void TdxCustomDirect2DCanvas::SaveState() { FStateStack.SaveState(this); }

// Clipping

void TdxCustomDirect2DCanvas::ApplyClipRect() {
  const D2D1_RECT_F rect = dxRectToD2DRect(FClipRect);
  FDeviceContext->PushAxisAlignedClip(&rect, D2D1_ANTIALIAS_MODE_ALIASED);
  ++FClipRectModificationCount;
}

void TdxCustomDirect2DCanvas::PopClipRects() {
  for (; FClipRectModificationCount > 0; --FClipRectModificationCount) FDeviceContext->PopAxisAlignedClip();
}

void TdxCustomDirect2DCanvas::IntersectClipRect(const TRect& ARect) {
  TRect clip;
  if (!GetRectIntersection(FClipRect, ARect, clip)) clip = TRect();
  FClipRect = clip;
  ApplyClipRect();
}

bool TdxCustomDirect2DCanvas::RectVisible(const TRect& R) { return FClipRect.IntersectsWith(R); }

void TdxCustomDirect2DCanvas::SaveClipRegion() {
  PopClipRects();
  FSavedClipRects.push_back(FClipRect);
  // The level's base clip: not counted, so that only a restore pops it.
  const D2D1_RECT_F rect = dxRectToD2DRect(FClipRect);
  FDeviceContext->PushAxisAlignedClip(&rect, D2D1_ANTIALIAS_MODE_ALIASED);
}

void TdxCustomDirect2DCanvas::RestoreClipRegion() {
  if (FSavedClipRects.empty()) return;
  PopClipRects();
  FClipRect = FSavedClipRects.back();
  FSavedClipRects.pop_back();
  FDeviceContext->PopAxisAlignedClip();
  ApplyClipRect();
}

// Native objects

void TdxCustomDirect2DCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                               TcxCanvasNativeDrawProc AProc) {
  DrawNative(
      R, ACacheKey,
      [&](HDC DC) {
        const TcxPaintCanvasScope paint(DC);
        paint->SetWindowOrg(FStateStack.WindowOrg());
        AProc(paint.Canvas(), R);
      },
      [&](const TRect& APart) {
        const TOwned<TcxBitmap32> bitmap(
            NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(APart, true); }));
        bitmap->cxCanvas()->SetWindowOrg(APart.TopLeft());
        AProc(bitmap->cxCanvas(), R);
        // GDI leaves the alpha of what it draws at 0: the conversion of a
        // bitmap with alpha makes those pixels opaque again.
        return dxCreateD2DBitmap(FDeviceContext.Get(), bitmap.get(), afPremultiplied);
      });
}

void TdxCustomDirect2DCanvas::DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                               TcxCanvasNativeDrawExProc AProc) {
  DrawNative(
      R, ACacheKey,
      [&](HDC DC) {
        const TPoint origin = FStateStack.WindowOrg();
        TRect area = R;
        area.Offset(-origin.X, -origin.Y);
        const TdxGPPaintCanvasScope paint(DC, area);
        paint->TranslateWorldTransform(static_cast<float>(-origin.X), static_cast<float>(-origin.Y),
                                       MatrixOrderPrepend);
        AProc(paint.Canvas(), R);
      },
      [&](const TRect& APart) {
        const TOwned<TdxGpFastDIB> pixels(New<TdxGpFastDIB>(APart.Width(), APart.Height(), true));
        {
          const TOwned<TdxGPCanvas> canvas(pixels->CreateCanvas());
          canvas->TranslateWorldTransform(static_cast<float>(-APart.Left), static_cast<float>(-APart.Top));
          AProc(canvas.get(), R);
        }
        return dxCreateD2DBitmap(FDeviceContext.Get(), pixels.get(), afPremultiplied);
      });
}

void TdxCustomDirect2DCanvas::DrawNative(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                         const std::function<void(HDC DC)>& ADrawOnDC,
                                         const std::function<TComPtr<ID2D1Bitmap>(const TRect& APart)>& ARender) {
  if (!RectVisible(R)) return;
  if (FIsGDICompatible && DrawNativeThroughInterop(R, ADrawOnDC)) return;
  if (std::max(R.Width(), R.Height()) > FMaxBitmapSize) {
    // Too large for one bitmap: only what the clip shows, never kept.
    TRect part;
    if (!GetRectIntersection(R, FClipRect, part)) return;
    if (const TComPtr<ID2D1Bitmap> bitmap = ARender(part)) DrawBitmap(bitmap.Get(), part);
    return;
  }
  TComPtr<ID2D1Bitmap> bitmap;
  if (!FCacheNativeObjects->Get(ACacheKey, bitmap)) {
    bitmap = ARender(R);
    if (!bitmap) return;
    FCacheNativeObjects->Add(ACacheKey, bitmap);
  }
  DrawBitmap(bitmap.Get(), R);
}

bool TdxCustomDirect2DCanvas::DrawNativeThroughInterop(const TRect& R, const std::function<void(HDC DC)>& ADrawOnDC) {
  const TComPtr<ID2D1GdiInteropRenderTarget> interop = FDeviceContext.As<ID2D1GdiInteropRenderTarget>();
  HDC DC = nullptr;
  if (!interop || FAILED(interop->GetDC(D2D1_DC_INITIALIZE_MODE_COPY, &DC))) {
    FIsGDICompatible = false;
    return false;
  }
  const TPoint origin = FStateStack.WindowOrg();
  TRect updated = R;
  updated.Offset(-origin.X, -origin.Y);
  TryFinally(
      [&] {
        // The device context knows nothing of the canvas's clip.
        const TSavedDC saved(DC);
        ::IntersectClipRect(DC, FClipRect.Left - origin.X, FClipRect.Top - origin.Y, FClipRect.Right - origin.X,
                            FClipRect.Bottom - origin.Y);
        ADrawOnDC(DC);
      },
      [&] {
        const RECT update = updated;
        interop->ReleaseDC(&update);
      });
  return true;
}

// ---------------------------------------------------------------------------
// Resources of the canvas

void TdxDirect2DCanvasBasedBrushHandle::Create(TOwned<TdxDirect2DBrush> ABrush) {
  TcxCanvasBasedResourceHandle::Create();
  FBrush = std::move(ABrush);
}

void TdxDirect2DCanvasBasedBrushHandle::CreateNativeHandle(TcxCustomCanvas* ACanvas) {
  auto* canvas = static_cast<TdxCustomDirect2DCanvas*>(ACanvas);
  // A pool whose canvas went away makes empty handles.
  if (!canvas || !canvas->DeviceContext()) return;
  const TOwned<TdxGPCustomBrush> brush(CreateGPBrush());
  FBrush = TdxDirect2DBrushFactory::Create(canvas->DeviceContext(), brush.get());
}

namespace {

D2D1_CAP_STYLE D2DLineCapOf(TdxGPPenLineCapStyle AStyle) {
  switch (AStyle) {
    case gpcsSquare:
      return D2D1_CAP_STYLE_SQUARE;
    case gpcsRound:
      return D2D1_CAP_STYLE_ROUND;
    default:
      return D2D1_CAP_STYLE_FLAT;
  }
}

D2D1_CAP_STYLE D2DDashCapOf(TdxGPPenDashCapStyle AStyle) {
  switch (AStyle) {
    case gpdcRound:
      return D2D1_CAP_STYLE_ROUND;
    case gpdcTriangle:
      return D2D1_CAP_STYLE_TRIANGLE;
    default:
      return D2D1_CAP_STYLE_FLAT;
  }
}

D2D1_LINE_JOIN D2DLineJoinOf(TdxGpLineJoin AJoin) {
  switch (AJoin) {
    case LineJoinBevel:
      return D2D1_LINE_JOIN_BEVEL;
    case LineJoinRound:
      return D2D1_LINE_JOIN_ROUND;
    case LineJoinMiterClipped:
      return D2D1_LINE_JOIN_MITER_OR_BEVEL;
    default:
      return D2D1_LINE_JOIN_MITER;
  }
}

TComPtr<ID2D1StrokeStyle> D2DStrokeStyleOf(TdxGPPen* APen) {
  TComPtr<ID2D1StrokeStyle> style;
  ID2D1Factory1* factory = dxD2DFactory();
  if (!factory) return style;
  const D2D1_STROKE_STYLE_PROPERTIES properties{D2DLineCapOf(APen->LineStartCapStyle()),
                                                D2DLineCapOf(APen->LineEndCapStyle()),
                                                D2DDashCapOf(APen->DashCapStyle()),
                                                D2DLineJoinOf(APen->LineJoin()),
                                                APen->MiterLimit(),
                                                static_cast<D2D1_DASH_STYLE>(APen->Style()),
                                                0};
  dxCheckDirectXResult(factory->CreateStrokeStyle(&properties, nullptr, 0, style.Receive()));
  return style;
}

}  // namespace

void TdxDirect2DCanvasBasedPenHandle::Create(TdxCustomDirect2DCanvas* ACanvas, TdxGPPen* APen) {
  TcxCanvasBasedResourceHandle::Create();
  FWidth = APen->Width();
  FStyle = static_cast<TdxStrokeStyle>(APen->Style());
  AssignHashTableItem(FBrushHandle, New<TdxDirect2DCanvasBasedBrushHandle>(
                                        TdxDirect2DBrushFactory::Create(ACanvas->DeviceContext(), APen->Brush())));
  FStrokeStyle = D2DStrokeStyleOf(APen);
}

void TdxDirect2DCanvasBasedPenHandle::CreateNativeHandle(TcxCustomCanvas* ACanvas) {
  auto* canvas = static_cast<TdxCustomDirect2DCanvas*>(ACanvas);
  if (!canvas || !canvas->DeviceContext()) return;
  FStrokeStyle = TComPtr<ID2D1StrokeStyle>(TdxDirect2DPenStyleCache::Get(FStyle));
  FSolidBrush = TComPtr<ID2D1Brush>(canvas->SolidBrush(FColor));
}

void TdxDirect2DCanvasBasedPenHandle::FreeNativeHandle() {
  FSolidBrush.Reset();
  FStrokeStyle.Reset();
  AssignHashTableItem(FBrushHandle, static_cast<TdxDirect2DCanvasBasedBrushHandle*>(nullptr));
}

bool TdxDirect2DCanvasBasedPenHandle::IsEmpty() {
  return FWidth <= 0 || (!FSolidBrush && (!FBrushHandle || FBrushHandle->IsEmpty()));
}

ID2D1Brush* TdxDirect2DCanvasBasedPenHandle::GetBrush(const D2D1_RECT_F& R) {
  if (FSolidBrush) return FSolidBrush.Get();
  return FBrushHandle && FBrushHandle->Brush() ? FBrushHandle->Brush()->GetHandle(R) : nullptr;
}

void TdxDirect2DCanvasBasedImage::Create(TcxCustomCanvas* ACanvas, int AWidth, int AHeight,
                                         TComPtr<ID2D1Bitmap> AHandle) {
  inherited::Create(ACanvas, AWidth, AHeight);
  FHandle = std::move(AHandle);
}

void TdxDirect2DCanvasBasedImage::Release() {
  FHandle.Reset();
  inherited::Release();
}

// Paths

void TdxDirect2DCanvasBasedPath::Create(TcxCustomCanvas* ACanvas) {
  inherited::Create(ACanvas);
  ID2D1Factory1* factory = dxD2DFactory();
  if (!factory || FAILED(factory->CreatePathGeometry(FHandle.Receive())) || FAILED(FHandle->Open(FSink.Receive())))
    FSink.Reset();
}

void TdxDirect2DCanvasBasedPath::Destroy() {
  CloseSink();
  inherited::Destroy();
}

void TdxDirect2DCanvasBasedPath::Release() {
  CloseSink();
  FHandle.Reset();
  inherited::Release();
}

void TdxDirect2DCanvasBasedPath::BeginFigureAt(const D2D1_POINT_2F& APoint) {
  FSink->BeginFigure(APoint, D2D1_FIGURE_BEGIN_FILLED);
  FFigureStarted = true;
}

void TdxDirect2DCanvasBasedPath::EndFigure(D2D1_FIGURE_END AEnd) {
  if (!FSink || !FFigureStarted) return;
  FSink->EndFigure(AEnd);
  FFigureStarted = false;
}

void TdxDirect2DCanvasBasedPath::CloseSink() {
  if (!FSink) return;
  EndFigure(D2D1_FIGURE_END_OPEN);
  FSink->Close();
  FSink.Reset();
}

void TdxDirect2DCanvasBasedPath::AddArc(const TdxRectF& AEllipse, float AStartAngle, float ASweepAngle) {
  if (!FSink) return;
  const TdxD2DArc arc = dxD2DArc(AEllipse, AStartAngle, ASweepAngle);
  if (FFigureStarted) FSink->AddLine(arc.StartPoint);
  else BeginFigureAt(arc.StartPoint);
  FSink->AddArc(&arc.Segment);
}

void TdxDirect2DCanvasBasedPath::AddPolyline(const TdxPointF* APoints, int ACount) {
  if (!FSink || ACount <= 0) return;
  const std::vector<D2D1_POINT_2F> points = D2DPointsOf(APoints, ACount);
  if (!FFigureStarted) BeginFigureAt(points[0]);
  FSink->AddLines(points.data(), static_cast<UINT32>(points.size()));
}

void TdxDirect2DCanvasBasedPath::FigureClose() { EndFigure(D2D1_FIGURE_END_CLOSED); }

void TdxDirect2DCanvasBasedPath::FigureStart() { EndFigure(D2D1_FIGURE_END_OPEN); }

ID2D1PathGeometry1* TdxDirect2DCanvasBasedPath::Handle() {
  CloseSink();
  return FHandle.Get();
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void dxDirectX_D2D_CanvasInitialization() {
  if (IsWin8) dxDirect2DSwapChainBufferCount = 4;
}

void dxDirectX_D2D_CanvasFinalization() { TdxDirect2DCanvasBasedSharedFonts::Finalize(); }
