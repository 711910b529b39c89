#include "library/vector/dxShapeBrushes.h"

#include "library/vector/dxShapeReaders.h"

#include <utility>
#include <vector>

using namespace Gdiplus;

// ---------------------------------------------------------------------------
// TdxGPSolidBrush

void TdxGPSolidBrush::Create(TdxAlphaColor AColor) {
  Create();
  FColor = AColor;
}

void TdxGPSolidBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGPSolidBrush*>(ASource)) SetColor(source->FColor);
}

void TdxGPSolidBrush::SetColor(TdxAlphaColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  CheckGdipStatus(GdipSetSolidFillColor(static_cast<GpSolidFill*>(Handle()), FColor));
  Changed();
}

void TdxGPSolidBrush::CreateHandle(TdxGpHandle& AHandle) {
  GpSolidFill* brush = nullptr;
  CheckGdipStatus(GdipCreateSolidFill(FColor, &brush));
  AHandle = brush;
}

// ---------------------------------------------------------------------------
// TdxGPTextureBrush

void TdxGPTextureBrush::Create() {
  inherited::Create();
  FTexture.reset(New<TdxGPImage>());
  FTexture->SetOnChange(BindEvent<&TdxGPTextureBrush::TextureChanged>(this));
}

void TdxGPTextureBrush::Create(TdxGPImage* ATexture) {
  Create();
  SetTexture(ATexture);
}

void TdxGPTextureBrush::SetTexture(TdxGPImage* ATexture) {
  if (ATexture) FTexture->Assign(ATexture);
  else FTexture->Clear();
}

void TdxGPTextureBrush::Destroy() {
  FTexture.reset();
  inherited::Destroy();
}

void TdxGPTextureBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGPTextureBrush*>(ASource)) SetTexture(source->Texture());
}

void TdxGPTextureBrush::TextureChanged(TObject*) {
  // A GDI+ texture brush keeps its own copy of the image: a new image needs a new brush.
  FreeHandle();
  Changed();
}

void TdxGPTextureBrush::CreateHandle(TdxGpHandle& AHandle) {
  if (FTexture->Empty()) {
    GpSolidFill* brush = nullptr;
    CheckGdipStatus(GdipCreateSolidFill(0, &brush));
    AHandle = brush;
    return;
  }
  TdxGpOwnedBrush brush;
  CheckGdipStatus(GdipCreateTexture2(FTexture->Handle(), WrapModeTile, 0, 0, static_cast<float>(FTexture->Width()),
                                     static_cast<float>(FTexture->Height()),
                                     reinterpret_cast<GpTexture**>(brush.Receive())));
  auto* texture = static_cast<GpTexture*>(brush.Get());
  CheckGdipStatus(GdipResetTextureTransform(texture));
  CheckGdipStatus(GdipTranslateTextureTransform(texture, FTargetRect.X, FTargetRect.Y, MatrixOrderAppend));
  AHandle = brush.Release();
}

// ---------------------------------------------------------------------------
// TdxGpCustomGradientBrush

void TdxGpCustomGradientBrush::Create() {
  inherited::Create();
  FGradientPoints.reset(New<TdxGPBrushGradientPoints>());
  FGradientPoints->SetOnChange(BindEvent<&TdxGpCustomGradientBrush::GradientPointsChanged>(this));
  FTransformMatrix.reset(New<TdxGPMatrix>());
}

void TdxGpCustomGradientBrush::Destroy() {
  FTransformMatrix.reset();
  FGradientPoints.reset();
  inherited::Destroy();
}

void TdxGpCustomGradientBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGpCustomGradientBrush*>(ASource)) {
    SetGradientPoints(source->GradientPoints());
    SetTransformMatrix(source->TransformMatrix());
  }
}

void TdxGpCustomGradientBrush::GradientPointsChanged(TObject*) {
  // The stops are baked into the GDI+ brush.
  FreeHandle();
  Changed();
}

void TdxGpCustomGradientBrush::CreateHandle(TdxGpHandle& AHandle) {
  CreateHandleFromPoints(AHandle, FGradientPoints.get());
}

void TdxGpCustomGradientBrush::CreateHandleFromPoints(TdxGpHandle& AHandle, TdxGPBrushGradientPoints* APoints) {
  PrepareGradientPoints(APoints);
  const ARGB* colors;
  const float* positions;
  int count;
  APoints->GetPresetBlendArrays(colors, positions, count);
  CreateGradientHandle(AHandle, colors, positions, count);
}

void TdxGpCustomGradientBrush::PrepareGradientPoints(TdxGPBrushGradientPoints* APoints) {
  if (APoints->Count() == 0) APoints->Add(1.0f, 0);
}

// ---------------------------------------------------------------------------
// TdxGPLinearGradientBrush

void TdxGPLinearGradientBrush::Create() {
  inherited::Create();
  FGradientMode = gplgbmHorizontal;
  FStartPoint = TdxPointF(0, 0);
  FEndPoint = TdxPointF(1, 1);
}

void TdxGPLinearGradientBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGPLinearGradientBrush*>(ASource)) {
    SetGradientMode(source->FGradientMode);
    SetStartPoint(source->FStartPoint);
    SetEndPoint(source->FEndPoint);
  }
}

void TdxGPLinearGradientBrush::GeometryChanged() {
  FreeHandle();
  Changed();
}

void TdxGPLinearGradientBrush::SetGradientMode(TdxGPLinearGradientBrushMode AValue) {
  if (FGradientMode == AValue) return;
  FGradientMode = AValue;
  GeometryChanged();
}

void TdxGPLinearGradientBrush::SetEndPoint(const TdxPointF& AValue) {
  if (FEndPoint == AValue) return;
  FEndPoint = AValue;
  GeometryChanged();
}

void TdxGPLinearGradientBrush::SetStartPoint(const TdxPointF& AValue) {
  if (FStartPoint == AValue) return;
  FStartPoint = AValue;
  GeometryChanged();
}

void TdxGPLinearGradientBrush::CreateGradientHandle(TdxGpHandle& AHandle, const ARGB* AColors, const float* APositions,
                                                    int ACount) {
  const TdxGpRectF& r = FTargetRect;
  TdxGpOwnedBrush brush;
  auto** line = reinterpret_cast<GpLineGradient**>(brush.Receive());
  if (FGradientMode == gplgbmLine) {
    const PointF start(FStartPoint.X * r.Width + r.X, FStartPoint.Y * r.Height + r.Y);
    const PointF end(FEndPoint.X * r.Width + r.X, FEndPoint.Y * r.Height + r.Y);
    CheckGdipStatus(GdipCreateLineBrush(&start, &end, 0, 0, WrapModeTileFlipX, line));
  } else {
    CheckGdipStatus(GdipCreateLineBrushFromRect(r.AsGdip(), 0, 0, static_cast<LinearGradientMode>(FGradientMode),
                                                WrapModeTileFlipX, line));
  }
  CheckGdipStatus(GdipSetLinePresetBlend(*line, AColors, APositions, ACount));
  CheckGdipStatus(GdipGetLineTransform(*line, TransformMatrix()->GpHandle()));
  AHandle = brush.Release();
}

// ---------------------------------------------------------------------------
// TdxGPPathGradientBrush

void TdxGPPathGradientBrush::CreateHandle(TdxGpHandle& AHandle) {
  const TOwned<TdxGPBrushGradientPoints> points(New<TdxGPBrushGradientPoints>());
  points->Assign(GradientPoints());
  CreateHandleFromPoints(AHandle, points.get());
}

void TdxGPPathGradientBrush::PrepareGradientPoints(TdxGPBrushGradientPoints* APoints) {
  inherited::PrepareGradientPoints(APoints);
  TdxAlphaColor outline = 0;
  float largest = 0;
  for (int i = 0; i < APoints->Count(); ++i)
    if (APoints->Offsets(i) > largest) {
      largest = APoints->Offsets(i);
      outline = APoints->Colors(i);
    }
  const TdxAlphaColor centre = APoints->Colors(0);
  std::vector<std::pair<float, TdxAlphaColor>> mirrored;
  for (int i = 0; i < APoints->Count(); ++i) mirrored.emplace_back(1 - APoints->Offsets(i), APoints->Colors(i));
  APoints->Clear();
  for (const auto& [offset, color] : mirrored) APoints->Add(offset, color);
  APoints->Add(0, outline);
  APoints->Add(1, centre);
}

void TdxGPPathGradientBrush::CreateGradientHandle(TdxGpHandle& AHandle, const ARGB* AColors, const float* APositions,
                                                  int ACount) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  AddPathFigure(path.get());
  const TdxPointF center = GetPathBounds().CenterPoint();
  TdxGpOwnedBrush brush;
  auto** gradient = reinterpret_cast<GpPathGradient**>(brush.Receive());
  CheckGdipStatus(GdipCreatePathGradientFromPath(path->Handle(), gradient));
  const PointF centerPoint(center.X, center.Y);
  CheckGdipStatus(GdipSetPathGradientCenterPoint(*gradient, &centerPoint));
  CheckGdipStatus(GdipSetPathGradientPresetBlend(*gradient, AColors, APositions, ACount));
  CheckGdipStatus(GdipSetPathGradientTransform(*gradient, TransformMatrix()->GpHandle()));
  AHandle = brush.Release();
}

void TdxGPPathGradientBrush::AddPathFigure(TdxGPPath*) {}

TdxRectF TdxGPPathGradientBrush::GetPathBounds() {
  return TdxRectF::CreateSize(FTargetRect.X, FTargetRect.Y, FTargetRect.Width, FTargetRect.Height);
}

// ---------------------------------------------------------------------------
// TdxRadialGradientBrush

void TdxRadialGradientBrush::Create() {
  inherited::Create();
  FCenter = TdxPointF(0.5f, 0.5f);
  FRadius = TdxPointF(0.5f, 0.5f);
}

void TdxRadialGradientBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxRadialGradientBrush*>(ASource)) {
    SetCenter(source->FCenter);
    SetRadius(source->FRadius);
  }
}

void TdxRadialGradientBrush::SetCenter(const TdxPointF& AValue) {
  if (FCenter == AValue) return;
  FCenter = AValue;
  FreeHandle();
  Changed();
}

void TdxRadialGradientBrush::SetRadius(const TdxPointF& AValue) {
  if (FRadius == AValue) return;
  FRadius = AValue;
  FreeHandle();
  Changed();
}

void TdxRadialGradientBrush::AddPathFigure(TdxGPPath* APath) { APath->AddEllipse(GetPathBounds()); }

TdxRectF TdxRadialGradientBrush::GetPathBounds() {
  TdxRectF result = inherited::GetPathBounds();
  if (FRadius.X == 0 && FRadius.Y == 0) return result;
  const float width = result.Width();
  const float height = result.Height();
  const float left = (FCenter.X - FRadius.X) * width + result.Left;
  const float top = (FCenter.Y - FRadius.Y) * height + result.Top;
  return TdxRectF::CreateSize(left, top, 2 * FRadius.X * width, 2 * FRadius.Y * height);
}

// ---------------------------------------------------------------------------
// Shape brushes

void TdxShapeCustomBrush::Publish(TPublisher<TdxShapeCustomBrush>& P) {
  P.Property(L"GPBrush", &TdxShapeCustomBrush::GPBrush);
}

void TdxShapeCustomBrush::Create() {
  inherited::Create();
  FGPBrush.reset(NewOfClass<TdxGPCustomBrush>(ClassMeta<TdxShapeCustomBrush>(ClassType())->GetGPBrushClass()));
  FGPBrush->SetOnChange(BindEvent<&TdxShapeCustomBrush::GPBrushChanged>(this));
}

void TdxShapeCustomBrush::Destroy() {
  FGPBrush.reset();
  inherited::Destroy();
}

void TdxShapeCustomBrush::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxShapeCustomBrush*>(ASource)) FGPBrush->Assign(source->GPBrush());
}

void TdxShapeSolidBrush::Publish(TPublisher<TdxShapeSolidBrush>& P) {
  P.Property(L"Color", &TdxShapeSolidBrush::Color, &TdxShapeSolidBrush::SetColor);
}

void TdxShapeCustomGradientBrush::Publish(TPublisher<TdxShapeCustomGradientBrush>& P) {
  P.Property(L"GradientPoints", &TdxShapeCustomGradientBrush::GradientPoints);
}

void TdxShapeLinearGradientBrush::Publish(TPublisher<TdxShapeLinearGradientBrush>& P) {
  P.Property(L"StartPoint", &TdxShapeLinearGradientBrush::StartPoint, &TdxShapeLinearGradientBrush::SetStartPoint);
  P.Property(L"EndPoint", &TdxShapeLinearGradientBrush::EndPoint, &TdxShapeLinearGradientBrush::SetEndPoint);
}

void TdxShapeLinearGradientBrush::Create() {
  inherited::Create();
  LinearBrush()->SetGradientMode(gplgbmLine);
}

void TdxShapeRadialGradientBrush::Publish(TPublisher<TdxShapeRadialGradientBrush>& P) {
  P.Property(L"Center", &TdxShapeRadialGradientBrush::Center, &TdxShapeRadialGradientBrush::SetCenter);
  P.Property(L"RadiusX", &TdxShapeRadialGradientBrush::RadiusX, &TdxShapeRadialGradientBrush::SetRadiusX);
  P.Property(L"RadiusY", &TdxShapeRadialGradientBrush::RadiusY, &TdxShapeRadialGradientBrush::SetRadiusY);
}

void TdxShapeBrushGradientStop::Publish(TPublisher<TdxShapeBrushGradientStop>& P) {
  P.Property(L"Color", &TdxShapeBrushGradientStop::Color, &TdxShapeBrushGradientStop::SetColor);
  P.Property(L"Offset", &TdxShapeBrushGradientStop::Offset, &TdxShapeBrushGradientStop::SetOffset);
}

TClass TdxShapeBrushGradientStop::TMeta::GetReaderClass() const { return TdxShapeGradientStopReader::ClassInfo(); }
