#include "library/graphics/direct2d/dxDirectX_D2D_Classes.h"

#include "library/graphics/imaging/dxPixelBuffers.h"

#include <array>
#include <cmath>

using namespace Gdiplus;

namespace {

// Sides further apart than this count as a new target.
constexpr float TargetTolerance = 0.01f;

constexpr D2D1_BITMAP_BRUSH_PROPERTIES TiledNearest{D2D1_EXTEND_MODE_WRAP, D2D1_EXTEND_MODE_WRAP,
                                                    D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR};

bool DiffersFrom(float A, float B) { return std::abs(A - B) > TargetTolerance; }

D2D1_MATRIX_3X2_F Translation(const TdxPointF& AOffset) { return {{{1, 0, 0, 1, AOffset.X, AOffset.Y}}}; }

D2D1_POINT_2F PointInRect(const D2D1_RECT_F& R, const TdxPointF& AFraction) {
  return {R.left + AFraction.X * (R.right - R.left), R.top + AFraction.Y * (R.bottom - R.top)};
}

TOwned<TdxGPMatrix> KeptTransform(TdxGPMatrix* ATransform) {
  if (!ATransform || !ATransform->HandleAllocated()) return nullptr;
  return TOwned<TdxGPMatrix>(TdxGPMatrix::Clone(ATransform));
}

// TdxGPBrush: by style.
TOwned<TdxDirect2DBrush> CreateFromGpBrush(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  auto* brush = static_cast<TdxGPBrush*>(ABrush);
  switch (brush->Style()) {
    case gpbsSolid:
      return TOwned<TdxDirect2DBrush>(New<TdxDirect2DSolidBrush>(AContext, brush->Color()));
    case gpbsGradient:
      return TOwned<TdxDirect2DBrush>(
          New<TdxDirect2DLinearGradientBrush>(AContext, static_cast<LinearGradientMode>(brush->GradientMode()),
                                              dxGpGradientPointsToD2DStops(brush->GradientPoints(), false)));
    case gpbsTexture:
      return TOwned<TdxDirect2DBrush>(New<TdxDirect2DTexturedBrush>(AContext, brush->TextureTransform(),
                                                                    dxCreateD2DBitmap(AContext, brush->Texture()).Get()));
    default:
      return TOwned<TdxDirect2DBrush>(New<TdxDirect2DSolidBrush>(AContext, TdxAlphaColor{0}));
  }
}

TOwned<TdxDirect2DBrush> CreateFromHatchBrush(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  const TComPtr<ID2D1Bitmap> pattern = TdxDirect2DComplexNativeBrush::CreateBrushBitmap(AContext, ABrush, 8, 8);
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DHatchBrush>(AContext, pattern.Get()));
}

TOwned<TdxDirect2DBrush> CreateFromAnyBrush(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DComplexNativeBrush>(AContext, ABrush));
}

TOwned<TdxClassDictionary<TdxDirect2DBrushCreateFunc>> FactoryTable;

TdxClassDictionary<TdxDirect2DBrushCreateFunc>* Table() {
  if (!FactoryTable) {
    FactoryTable.reset(New<TdxClassDictionary<TdxDirect2DBrushCreateFunc>>());
    FactoryTable->Add(TdxGPCustomBrush::ClassInfo(), &CreateFromAnyBrush);
    FactoryTable->Add(TdxGPHatchBrush::ClassInfo(), &CreateFromHatchBrush);
    FactoryTable->Add(TdxGPBrush::ClassInfo(), &CreateFromGpBrush);
  }
  return FactoryTable.get();
}

std::array<TComPtr<ID2D1StrokeStyle1>, 5> StrokeStyles;

}  // namespace

// ---------------------------------------------------------------------------
// TdxDirect2DBrush

void TdxDirect2DBrush::Create(ID2D1DeviceContext* AContext) {
  inherited::Create();
  FContext = TComPtr<ID2D1DeviceContext>(AContext);
}

ID2D1Brush* TdxDirect2DBrush::GetHandle(const D2D1_RECT_F&) { return FHandle.Get(); }

void TdxDirect2DSolidBrush::Create(ID2D1DeviceContext* AContext, TdxAlphaColor AColor) {
  inherited::Create(AContext);
  const D2D1_COLOR_F color = dxAlphaColorToD2DColor(AColor);
  TComPtr<ID2D1SolidColorBrush> brush;
  if (SUCCEEDED(AContext->CreateSolidColorBrush(&color, nullptr, brush.Receive()))) FHandle = TComPtr<ID2D1Brush>(brush.Get());
}

void TdxDirect2DHatchBrush::Create(ID2D1DeviceContext* AContext, ID2D1Bitmap* ATexture) {
  inherited::Create(AContext);
  TComPtr<ID2D1BitmapBrush> brush;
  dxCheckDirectXResult(AContext->CreateBitmapBrush(ATexture, &TiledNearest, nullptr, brush.Receive()));
  FHandle = TComPtr<ID2D1Brush>(brush.Get());
}

// ---------------------------------------------------------------------------
// Textured brushes

void TdxDirect2DCustomTexturedBrush::Create(ID2D1DeviceContext* AContext, TdxGPMatrix* ATransform) {
  inherited::Create(AContext);
  FOriginalTransform = KeptTransform(ATransform);
}

ID2D1Brush* TdxDirect2DCustomTexturedBrush::GetHandle(const D2D1_RECT_F& R) {
  const TdxPointF origin(R.left, R.top);
  if (FHandle && (origin.X != FOrigin.X || origin.Y != FOrigin.Y)) {
    FOrigin = origin;
    ApplyOrigin(FHandle.Get(), FOrigin);
  }
  return FHandle.Get();
}

void TdxDirect2DCustomTexturedBrush::ApplyOrigin(ID2D1Brush* ABrush, const TdxPointF& AOrigin) {
  if (FOriginalTransform) {
    const TOwned<TdxGPMatrix> transform(TdxGPMatrix::Clone(FOriginalTransform.get()));
    transform->Translate(AOrigin, MatrixOrderAppend);
    ABrush->SetTransform(dxXFormToD2DMatrix(transform->ToXForm()));
  } else {
    ABrush->SetTransform(Translation(AOrigin));
  }
}

TComPtr<ID2D1Brush> TdxDirect2DCustomTexturedBrush::CreateTextureBrush(ID2D1Bitmap* ATexture,
                                                                      const D2D1_BRUSH_PROPERTIES* AProperties) {
  TComPtr<ID2D1BitmapBrush> brush;
  dxCheckDirectXResult(FContext->CreateBitmapBrush(ATexture, &TiledNearest, AProperties, brush.Receive()));
  return TComPtr<ID2D1Brush>(brush.Get());
}

void TdxDirect2DComplexNativeBrush::Create(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  inherited::Create(AContext, nullptr);
  FBrush.reset(static_cast<TdxGPCustomBrush*>(ABrush->Clone()));
}

TComPtr<ID2D1Bitmap> TdxDirect2DComplexNativeBrush::CreateBrushBitmap(ID2D1DeviceContext* AContext,
                                                                     TdxGPCustomBrush* ABrush, int AWidth,
                                                                     int AHeight) {
  const TOwned<TdxGpFastDIB> pixels(New<TdxGpFastDIB>(std::max(AWidth, 1), std::max(AHeight, 1), true));
  {
    const TOwned<TdxGPCanvas> canvas(pixels->CreateCanvas());
    canvas->FillRectangle(pixels->ClientRect(), ABrush);
  }
  return dxCreateD2DBitmap(AContext, pixels.get(), afPremultiplied);
}

ID2D1Brush* TdxDirect2DComplexNativeBrush::GetHandle(const D2D1_RECT_F& R) {
  const D2D1_SIZE_F size = dxD2DRectSize(R);
  if (!FHandle || DiffersFrom(size.width, FSize.width) || DiffersFrom(size.height, FSize.height)) {
    FSize = size;
    const TComPtr<ID2D1Bitmap> bitmap = CreateBrushBitmap(FContext.Get(), FBrush.get(), RoundToInt(size.width),
                                                          RoundToInt(size.height));
    FHandle = CreateTextureBrush(bitmap.Get(), nullptr);
    // The new brush starts at (0, 0) until it is moved to the target's corner.
    FOrigin = TdxPointF();
  }
  return inherited::GetHandle(R);
}

void TdxDirect2DTexturedBrush::Create(ID2D1DeviceContext* AContext, TdxGPMatrix* ATextureTransform,
                                      ID2D1Bitmap* ATexture) {
  inherited::Create(AContext, ATextureTransform);
  if (!ATexture) return;
  if (FOriginalTransform) {
    const D2D1_BRUSH_PROPERTIES properties{1, dxXFormToD2DMatrix(FOriginalTransform->ToXForm())};
    FHandle = CreateTextureBrush(ATexture, &properties);
  } else {
    FHandle = CreateTextureBrush(ATexture, nullptr);
  }
}

// ---------------------------------------------------------------------------
// Gradient brushes

TComPtr<ID2D1GradientStopCollection> dxCreateD2DGradientStops(ID2D1DeviceContext* AContext,
                                                              const std::vector<D2D1_GRADIENT_STOP>& AStops) {
  TComPtr<ID2D1GradientStopCollection> stops;
  if (AStops.empty()) return stops;
  dxCheckDirectXResult(AContext->CreateGradientStopCollection(AStops.data(), static_cast<UINT32>(AStops.size()),
                                                              D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP, stops.Receive()));
  return stops;
}

TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, GpImage* AImage) {
  if (!AImage) return nullptr;
  UINT width = 0;
  UINT height = 0;
  CheckGdipStatus(GdipGetImageWidth(AImage, &width));
  CheckGdipStatus(GdipGetImageHeight(AImage, &height));
  const TOwned<TdxGpFastDIB> pixels(New<TdxGpFastDIB>(static_cast<int>(width), static_cast<int>(height), true));
  if (pixels->Empty()) return nullptr;
  {
    const TOwned<TdxGPCanvas> canvas(pixels->CreateCanvas());
    canvas->Draw(AImage, pixels->ClientRect());
  }
  return dxCreateD2DBitmap(AContext, pixels.get(), afPremultiplied);
}

void TdxDirect2DCustomGradientBrush::Create(ID2D1DeviceContext* AContext,
                                            const std::vector<D2D1_GRADIENT_STOP>& AStops) {
  inherited::Create(AContext);
  FStopCollection = dxCreateD2DGradientStops(AContext, AStops);
}

ID2D1Brush* TdxDirect2DCustomGradientBrush::GetHandle(const D2D1_RECT_F& R) {
  if (!FStopCollection) return nullptr;
  if (!FHandle || DiffersFrom(R.left, FTargetRect.left) || DiffersFrom(R.top, FTargetRect.top) ||
      DiffersFrom(R.right, FTargetRect.right) || DiffersFrom(R.bottom, FTargetRect.bottom)) {
    FTargetRect = R;
    FHandle = CreateGradientBrush(R, FStopCollection.Get());
    ++FBuildCount;
  }
  return FHandle.Get();
}

TComPtr<ID2D1Brush> TdxDirect2DCustomGradientBrush::CreateLinearBrush(const D2D1_POINT_2F& AStart,
                                                                      const D2D1_POINT_2F& AEnd,
                                                                      ID2D1GradientStopCollection* AStops) {
  const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES properties{AStart, AEnd};
  TComPtr<ID2D1LinearGradientBrush> brush;
  dxCheckDirectXResult(FContext->CreateLinearGradientBrush(&properties, nullptr, AStops, brush.Receive()));
  return TComPtr<ID2D1Brush>(brush.Get());
}

void TdxDirect2DLineGradientBrush::Create(ID2D1DeviceContext* AContext, const TdxPointF& AStartPoint,
                                          const TdxPointF& AEndPoint, const std::vector<D2D1_GRADIENT_STOP>& AStops) {
  inherited::Create(AContext, AStops);
  FStartPoint = AStartPoint;
  FEndPoint = AEndPoint;
}

TComPtr<ID2D1Brush> TdxDirect2DLineGradientBrush::CreateGradientBrush(const D2D1_RECT_F& R,
                                                                      ID2D1GradientStopCollection* AStops) {
  return CreateLinearBrush(PointInRect(R, FStartPoint), PointInRect(R, FEndPoint), AStops);
}

void TdxDirect2DLinearGradientBrush::Create(ID2D1DeviceContext* AContext, LinearGradientMode AMode,
                                            const std::vector<D2D1_GRADIENT_STOP>& AStops) {
  inherited::Create(AContext, AStops);
  FMode = AMode;
}

void TdxDirect2DLinearGradientBrush::GetGradientLine(const D2D1_RECT_F& R, LinearGradientMode AMode,
                                                     D2D1_POINT_2F& AStart, D2D1_POINT_2F& AEnd) {
  AStart = {R.left, R.top};
  switch (AMode) {
    case LinearGradientModeVertical:
      AEnd = {R.left, R.bottom};
      break;
    case LinearGradientModeForwardDiagonal:
      AEnd = {R.right, R.bottom};
      break;
    case LinearGradientModeBackwardDiagonal:
      AStart = {R.right, R.top};
      AEnd = {R.left, R.bottom};
      break;
    default:
      AEnd = {R.right, R.top};
      break;
  }
}

TComPtr<ID2D1Brush> TdxDirect2DLinearGradientBrush::CreateGradientBrush(const D2D1_RECT_F& R,
                                                                        ID2D1GradientStopCollection* AStops) {
  D2D1_POINT_2F start;
  D2D1_POINT_2F end;
  GetGradientLine(R, FMode, start, end);
  return CreateLinearBrush(start, end, AStops);
}

void TdxDirect2DRadialGradientBrush::Create(ID2D1DeviceContext* AContext, const TdxPointF& ACenter,
                                            const TdxPointF& ARadius, const std::vector<D2D1_GRADIENT_STOP>& AStops) {
  inherited::Create(AContext, AStops);
  FCenter = ACenter;
  FRadius = ARadius;
}

TComPtr<ID2D1Brush> TdxDirect2DRadialGradientBrush::CreateGradientBrush(const D2D1_RECT_F& R,
                                                                        ID2D1GradientStopCollection* AStops) {
  const D2D1_SIZE_F size = dxD2DRectSize(R);
  const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES properties{PointInRect(R, FCenter), {0, 0}, FRadius.X * size.width,
                                                         FRadius.Y * size.height};
  TComPtr<ID2D1RadialGradientBrush> brush;
  dxCheckDirectXResult(FContext->CreateRadialGradientBrush(&properties, nullptr, AStops, brush.Receive()));
  return TComPtr<ID2D1Brush>(brush.Get());
}

// ---------------------------------------------------------------------------
// TdxDirect2DBrushFactory

TOwned<TdxDirect2DBrush> TdxDirect2DBrushFactory::Create(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  return Table()->Items(ABrush->ClassType())(AContext, ABrush);
}

void TdxDirect2DBrushFactory::RegisterBrushClass(TClass AGpBrushClass, TdxDirect2DBrushCreateFunc ACreate) {
  Table()->AddOrSetValue(AGpBrushClass, std::move(ACreate));
}

void TdxDirect2DBrushFactory::UnregisterBrushClass(TClass AGpBrushClass) {
  if (FactoryTable) FactoryTable->Remove(AGpBrushClass);
}

void TdxDirect2DBrushFactory::Finalize() { FactoryTable.reset(); }

// ---------------------------------------------------------------------------
// TdxDirect2DPenStyleCache

ID2D1StrokeStyle1* TdxDirect2DPenStyleCache::Get(TdxStrokeStyle AStyle) {
  if (AStyle == TdxStrokeStyle::Solid) return nullptr;
  TComPtr<ID2D1StrokeStyle1>& style = StrokeStyles[static_cast<std::size_t>(AStyle)];
  if (!style) {
    ID2D1Factory1* factory = dxD2DFactory();
    if (!factory) return nullptr;
    const D2D1_STROKE_STYLE_PROPERTIES1 properties{D2D1_CAP_STYLE_FLAT,
                                                   D2D1_CAP_STYLE_FLAT,
                                                   D2D1_CAP_STYLE_SQUARE,
                                                   D2D1_LINE_JOIN_MITER,
                                                   10,
                                                   static_cast<D2D1_DASH_STYLE>(AStyle),
                                                   0,
                                                   D2D1_STROKE_TRANSFORM_TYPE_NORMAL};
    dxCheckDirectXResult(factory->CreateStrokeStyle(&properties, nullptr, 0, style.Receive()));
  }
  return style.Get();
}

void TdxDirect2DPenStyleCache::Release() {
  for (TComPtr<ID2D1StrokeStyle1>& style : StrokeStyles) style.Reset();
}

void dxDirectX_D2D_ClassesFinalization() {
  TdxDirect2DPenStyleCache::Release();
  TdxDirect2DBrushFactory::Finalize();
}
