// Drawing an element tree: the renderers, the SVG brush and pen, the
// drawing step of every element, clipping, gradients, patterns, text and
// use elements.
//
// A reference is resolved through the renderer: a reference back into one
// that is being resolved (a use of an ancestor, a pattern painted with
// itself, a clip path clipped by itself) draws nothing, so no picture makes
// the drawing recurse without end.
#include "library/vector/dxSVGCore.h"

#include "library/core/base/dxCore.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

using namespace Gdiplus;

namespace {

// The larger side and the area a pattern tile's image may have.
constexpr float MaxTileSide = 4096;
constexpr float MaxTilePixels = 4096.0f * 4096.0f;

TdxGPFillMode ToGPFillMode(TdxSVGFillMode AMode) { return AMode == fmEvenOdd ? gpfmAlternate : gpfmWinding; }

bool IsNullVector(const TdxRectF& R) {
  return std::abs(R.Right - R.Left) <= 0.0001f && std::abs(R.Bottom - R.Top) <= 0.0001f;
}

// Both corners through the matrix, kept as given (not a bounding box).
TdxRectF TransformCorners(const TdxMatrix* AMatrix, const TdxRectF& R) {
  const TdxPointF p1 = AMatrix->Transform(TdxPointF(R.Left, R.Top));
  const TdxPointF p2 = AMatrix->Transform(TdxPointF(R.Right, R.Bottom));
  return TdxRectF(p1.X, p1.Y, p2.X, p2.Y);
}

// How far from the device origin GDI+ is left to flatten curves itself.
constexpr float MaxNativeCurveReach = 8192;

// How far a radial gradient's outline may stray from its ellipse, as a
// fraction of the ellipse's larger side.
constexpr float GradientOutlineTolerance = 1e-4f;

// The path with each Bezier curve replaced by lines no farther than
// ATolerance from it; nil when it has no curves. GDI+ (Wine's, at least)
// flattens by halving a curve until it looks flat in single precision, which
// never happens for a curve stretched over tens of thousands of pixels.
TOwned<TdxGPPath> CurvesAsLines(TdxGPPath* APath, float ATolerance) {
  const int count = APath->GetPointCount();
  if (count <= 0) return nullptr;
  std::vector<PointF> points(static_cast<std::size_t>(count));
  std::vector<BYTE> types(static_cast<std::size_t>(count));
  if (GdipGetPathPoints(APath->Handle(), points.data(), count) != Ok ||
      GdipGetPathTypes(APath->Handle(), types.data(), count) != Ok)
    return nullptr;
  const auto isCurve = [](BYTE AType) { return (AType & PathPointTypePathTypeMask) == PathPointTypeBezier; };
  if (std::none_of(types.begin(), types.end(), isCurve)) return nullptr;
  // A curve's distance from its chords of n equal steps is at most
  // 3/4 * max|P0 - 2 P1 + P2| / n^2.
  constexpr int MaxStepsPerCurve = 256;
  std::vector<PointF> linePoints;
  std::vector<BYTE> lineTypes;
  linePoints.reserve(points.size());
  lineTypes.reserve(types.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!isCurve(types[i]) || i == 0 || i + 2 >= points.size()) {
      linePoints.push_back(points[i]);
      lineTypes.push_back(isCurve(types[i]) ? static_cast<BYTE>((types[i] & ~PathPointTypePathTypeMask) | PathPointTypeLine)
                                            : types[i]);
      continue;
    }
    const PointF& p0 = points[i - 1];
    const PointF& p1 = points[i];
    const PointF& p2 = points[i + 1];
    const PointF& p3 = points[i + 2];
    const double bend = std::max(std::hypot(p0.X - 2.0 * p1.X + p2.X, p0.Y - 2.0 * p1.Y + p2.Y),
                                 std::hypot(p1.X - 2.0 * p2.X + p3.X, p1.Y - 2.0 * p2.Y + p3.Y));
    const double steps = std::ceil(std::sqrt(0.75 * bend / std::max(ATolerance, 1e-6f)));
    const int n = std::isfinite(steps) ? std::clamp(static_cast<int>(steps), 1, MaxStepsPerCurve) : 1;
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n;
      const double u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      linePoints.emplace_back(static_cast<float>(a * p0.X + b * p1.X + c * p2.X + d * p3.X),
                              static_cast<float>(a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y));
      // The last point keeps the curve's end flags (a closed figure, a marker).
      lineTypes.push_back(k < n ? static_cast<BYTE>(PathPointTypeLine)
                                : static_cast<BYTE>((types[i + 2] & ~PathPointTypePathTypeMask) | PathPointTypeLine));
    }
    i += 2;
  }
  TOwned<TdxGPPath> result(NewWith<TdxGPPath>([&](TdxGPPath* P) { P->Create(linePoints, lineTypes); }));
  result->SetFillMode(APath->FillMode());
  return result;
}

// A 32-bit premultiplied GDI+ bitmap with a canvas drawing on it.
class TdxSVGTileImage {
 public:
  TdxSVGTileImage(int AWidth, int AHeight) : FImage(CreateGdipBitmap(AWidth, AHeight)) {
    GpGraphics* graphics = nullptr;
    CheckGdipStatus(GdipGetImageGraphicsContext(FImage.Get(), &graphics));
    FCanvas.reset(New<TdxGPCanvas>(graphics));
  }
  TdxGPCanvas* Canvas() const { return FCanvas.get(); }
  // The image once its canvas is done with.
  GpImage* Finish() {
    FCanvas.reset();
    return FImage.Get();
  }

 private:
  TdxGpOwnedImage FImage;
  TOwned<TdxGPCanvas> FCanvas;
};

// The gradient points: strictly rising positions from 0 to 1, as GDI+ wants them.
struct TdxSVGGradientPoint {
  float Position;
  TdxAlphaColor Color;
};

void MakePositionsRising(std::vector<TdxSVGGradientPoint>& APoints) {
  constexpr float step = 0.0001f;
  for (std::size_t i = 1; i < APoints.size(); ++i)
    APoints[i].Position = std::max(APoints[i].Position, APoints[i - 1].Position + step);
  APoints.back().Position = 1;
  for (std::size_t i = APoints.size() - 1; i-- > 0;)
    APoints[i].Position = std::min(APoints[i].Position, APoints[i + 1].Position - step);
  APoints.front().Position = 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxSVGBrush

void TdxSVGBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxSVGBrush*>(ASource)) {
    SetGradientMode(source->FGradientMode);
    SetGradientBox(source->FGradientBox);
    SetGradientFocalPoint(source->FGradientFocalPoint);
  }
}

void TdxSVGBrush::SetGradientBox(const TdxRectF& AValue) {
  if (FGradientBox == AValue) return;
  FGradientBox = AValue;
  if (Style() == gpbsGradient) FreeHandle();
  Changed();
}

void TdxSVGBrush::SetGradientFocalPoint(const TdxPointF& AValue) {
  if (FGradientFocalPoint == AValue) return;
  FGradientFocalPoint = AValue;
  if (Style() == gpbsGradient) FreeHandle();
  Changed();
}

void TdxSVGBrush::SetGradientMode(TdxSVGBrushGradientMode AValue) {
  if (FGradientMode == AValue) return;
  FGradientMode = AValue;
  if (Style() == gpbsGradient) FreeHandle();
  Changed();
}

bool TdxSVGBrush::IsTargetRectDependent() { return Style() == gpbsGradient && FGradientMode == sbgmNative; }

void TdxSVGBrush::TargetRectChanged() { TdxGPCustomBrush::TargetRectChanged(); }

void TdxSVGBrush::CreateGradientHandle(TdxGpHandle& AHandle) {
  if (FGradientMode == sbgmNative) return inherited::CreateGradientHandle(AHandle);
  if (GradientPoints()->Count() == 0) return CreateSolidHandle(AHandle, 0);
  const ARGB* colors;
  const float* offsets;
  int count;
  GradientPoints()->GetPresetBlendArrays(colors, offsets, count);
  TdxGpOwnedBrush brush;
  if (FGradientMode == sbgmRadial) {
    const TOwned<TdxGPPath> ellipse(New<TdxGPPath>());
    ellipse->AddEllipse(FGradientBox);
    // GDI+ flattens the ellipse on the device, where it may reach far (see
    // CurvesAsLines); flattened here finely enough for any scale it is drawn at.
    const float extent = std::max(FGradientBox.Width(), FGradientBox.Height());
    const TOwned<TdxGPPath> outline = CurvesAsLines(ellipse.get(), extent * GradientOutlineTolerance);
    CheckGdipStatus(GdipCreatePathGradientFromPath((outline ? outline : ellipse)->Handle(),
                                                   reinterpret_cast<GpPathGradient**>(brush.Receive())));
    auto* gradient = static_cast<GpPathGradient*>(brush.Get());
    const PointF centre(FGradientFocalPoint.X, FGradientFocalPoint.Y);
    CheckGdipStatus(GdipSetPathGradientCenterPoint(gradient, &centre));
    // The blend overrides the centre and boundary colours; where GDI+ draws
    // path gradients without blends (Wine), they give the two end colours.
    ARGB surround = colors[0];
    INT surroundCount = 1;
    CheckGdipStatus(GdipSetPathGradientSurroundColorsWithCount(gradient, &surround, &surroundCount));
    CheckGdipStatus(GdipSetPathGradientCenterColor(gradient, colors[count - 1]));
    CheckGdipStatus(GdipSetPathGradientPresetBlend(gradient, colors, offsets, count));
  } else {
    const PointF start(FGradientBox.Left, FGradientBox.Top);
    const PointF finish(FGradientBox.Right, FGradientBox.Bottom);
    CheckGdipStatus(GdipCreateLineBrush(&start, &finish, 0, 0, WrapModeTileFlipX,
                                        reinterpret_cast<GpLineGradient**>(brush.Receive())));
    CheckGdipStatus(GdipSetLinePresetBlend(static_cast<GpLineGradient*>(brush.Get()), colors, offsets, count));
  }
  AHandle = brush.Release();
}

void TdxSVGBrush::CreateTextureHandle(TdxGpHandle& AHandle) {
  if (!Texture()) return CreateSolidHandle(AHandle, 0);
  TdxGpOwnedBrush brush;
  CheckGdipStatus(GdipCreateTexture(Texture(), WrapModeTile, reinterpret_cast<GpTexture**>(brush.Receive())));
  CheckGdipStatus(GdipSetTextureTransform(static_cast<GpTexture*>(brush.Get()), TextureTransform()->GpHandle()));
  AHandle = brush.Release();
}

// ---------------------------------------------------------------------------
// TdxSVGPen

void TdxSVGPen::SetDashes(const std::vector<float>& ADashes, float AOffset) {
  FDashOffset = AOffset;
  if (ADashes.empty()) {
    if (Style() != gppsSolid) SetStyle(gppsSolid);
    return;
  }
  SetDashArray(ADashes);
  CheckGdipStatus(GdipSetPenDashOffset(GpHandle(), FDashOffset));
}

void TdxSVGPen::CreateHandle(TdxGpHandle& AHandle) {
  inherited::CreateHandle(AHandle);
  if (!DashArray().empty()) CheckGdipStatus(GdipSetPenDashOffset(static_cast<GpPen*>(AHandle), FDashOffset));
}

// ---------------------------------------------------------------------------
// TdxSVGCustomRenderer

void TdxSVGCustomRenderer::Create(IdxColorPalette* APalette) {
  FPalette = IPtr<IdxColorPalette>(APalette);
  FBrush.reset(CreateBrush());
  FPen.reset(CreatePen());
  FWorldTransform.reset(New<TdxGPMatrix>());
  FOpacity = 1;
  FState = std::make_shared<TdxSVGRenderState>();
}

void TdxSVGCustomRenderer::Destroy() {
  FSavedWorldTransforms.clear();
  FWorldTransform.reset();
  FPen.reset();
  FBrush.reset();
  FPalette = nullptr;
  inherited::Destroy();
}

void TdxSVGCustomRenderer::InitializeAppearance(TdxSVGElement* AElement) {
  AElement->InitializePen(this, AElement);
  AElement->InitializeBrush(this, AElement);
}

TdxAlphaColor TdxSVGCustomRenderer::MakeColor(TdxAlphaColor AColor, float AOpacity) {
  if (FOpacityAssigned) AOpacity *= FOpacity;
  AOpacity = std::max(AOpacity, 0.0f);
  if (AOpacity >= 1 || !IsAlphaColorVisible(AColor)) return AColor;
  const int alpha = static_cast<int>(AOpacity * AlphaOf(AColor));
  return (AColor & 0x00FFFFFF) | (static_cast<TdxAlphaColor>(alpha) << 24);
}

float TdxSVGCustomRenderer::ModifyOpacity(float AOpacity) {
  const float previous = FOpacity;
  SetOpacity(FOpacity * AOpacity);
  return previous;
}

void TdxSVGCustomRenderer::SetOpacity(float AOpacity) {
  FOpacity = AOpacity;
  FOpacityAssigned = AOpacity != 1;
}

void TdxSVGCustomRenderer::ModifyWorldTransform(TdxGPMatrix* AMatrix) {
  FWorldTransform->Multiply(AMatrix, MatrixOrderPrepend);
}

void TdxSVGCustomRenderer::ModifyWorldTransform(const XFORM& AXForm) {
  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>(AXForm));
  ModifyWorldTransform(matrix.get());
}

void TdxSVGCustomRenderer::SaveWorldTransform() {
  FSavedWorldTransforms.emplace_back(TdxGPMatrix::Clone(FWorldTransform.get()));
}

void TdxSVGCustomRenderer::RestoreWorldTransform() {
  if (FSavedWorldTransforms.empty()) return;
  FWorldTransform = std::move(FSavedWorldTransforms.back());
  FSavedWorldTransforms.pop_back();
}

// Only references resolved inside others count against the budget: they
// are what multiplies, while a picture may hold any number side by side.
bool TdxSVGCustomRenderer::EnterReference(const TdxSVGElement* AElement) {
  const bool nested = !FState->References.empty();
  if (nested && FState->ReferenceCount >= TdxSVGRenderState::MaxReferences) return false;
  if (!FState->References.insert(AElement).second) return false;
  if (nested) ++FState->ReferenceCount;
  return true;
}

void TdxSVGCustomRenderer::LeaveReference(const TdxSVGElement* AElement) { FState->References.erase(AElement); }

bool TdxSVGCustomRenderer::EnterDrawing() {
  if (FState->Depth >= TdxSVGRenderState::MaxDepth) return false;
  ++FState->Depth;
  return true;
}

void TdxSVGCustomRenderer::LeaveDrawing() { --FState->Depth; }

// ---------------------------------------------------------------------------
// TdxSVGRenderer

void TdxSVGRenderer::Create(TdxGPCanvas* ACanvas, IdxColorPalette* APalette) {
  FCanvas = ACanvas;
  inherited::Create(APalette);
}

float TdxSVGRenderer::TransformStrokeWidth(float AWidth) {
  if (!(AWidth > 0)) return 0;
  float m11, m12, m21, m22, dx, dy;
  FCanvas->GetWorldTransform()->GetElements(m11, m12, m21, m22, dx, dy);
  return std::hypot(AWidth * m11 + AWidth * m21, AWidth * m12 + AWidth * m22) / std::numbers::sqrt2_v<float>;
}

TdxGPPen* TdxSVGRenderer::ActivePen() const { return FPen->IsEmpty() ? nullptr : FPen.get(); }

TdxGPCustomBrush* TdxSVGRenderer::ActiveBrush() const { return FBrush->IsEmpty() ? nullptr : FBrush.get(); }

// GDI+ (Wine's, at least) can take without end to flatten a curve far off
// the surface, and it would draw nothing there anyway: such shapes are left
// out. The pen's reach counts, a miter's included.
bool TdxSVGRenderer::IsOutside(const TdxRectF& ABounds, TdxGPPen* APen) {
  float reach = 0;
  if (APen) {
    const float scale = std::max(TransformStrokeWidth(1), 0.0001f);
    reach = APen->Width() * std::max(APen->MiterLimit(), 1.0f) / scale;
  }
  BOOL visible = TRUE;
  return GdipIsVisibleRect(FCanvas->Handle(), ABounds.Left - reach, ABounds.Top - reach, ABounds.Width() + 2 * reach,
                           ABounds.Height() + 2 * reach, &visible) == Gdiplus::Ok &&
         !visible;
}

// The image's border pixels are mirrored outwards for the interpolation
// instead of fading into transparency: a stretched image keeps its edges.
void TdxSVGRenderer::Draw(TdxSmartImage* AImage, const TdxRectF& R) {
  const TOwned<TdxGPAlphaBlendAttributes> attributes(New<TdxGPAlphaBlendAttributes>());
  attributes->SetAlpha(static_cast<std::uint8_t>(std::clamp(FOpacity, 0.0f, 1.0f) * 255));
  CheckGdipStatus(GdipSetImageAttributesWrapMode(attributes->Handle(), WrapModeTileFlipXY, 0, FALSE));
  AImage->StretchDraw(FCanvas, R, TdxRectF(AImage->ClientRect()), attributes.get());
}

void TdxSVGRenderer::Ellipse(const TdxRectF& R) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddEllipse(R);
  Path(path.get());
}

void TdxSVGRenderer::Line(float X1, float Y1, float X2, float Y2) {
  TdxGPPen* pen = ActivePen();
  if (pen && !IsOutside(TdxRectF(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)), pen))
    FCanvas->Line(X1, Y1, X2, Y2, pen);
}

void TdxSVGRenderer::Path(TdxGPPath* APath) {
  TdxGPPen* pen = ActivePen();
  TdxGPCustomBrush* brush = ActiveBrush();
  TdxRectF bounds;
  const bool bounded = APath->TryGetBoundsF(bounds) == Gdiplus::Ok;
  if (!(pen || brush) || (bounded && IsOutside(bounds, pen))) return;
  // Curves that reach far across the device are flattened here, to a quarter
  // of a device pixel in the path's own units; GDI+ flattens the others.
  const TdxRectF device = bounded ? FCanvas->GetWorldTransform()->GetBoundingRectangle(bounds) : TdxRectF();
  const bool reachesFar = !bounded || std::max({std::abs(device.Left), std::abs(device.Top), std::abs(device.Right),
                                          std::abs(device.Bottom)}) > MaxNativeCurveReach;
  const TOwned<TdxGPPath> lines =
      reachesFar ? CurvesAsLines(APath, 0.25f / std::max(TransformStrokeWidth(1), 1e-6f)) : TOwned<TdxGPPath>();
  FCanvas->Path(lines ? lines.get() : APath, pen, brush);
}

void TdxSVGRenderer::Polygon(const TdxSVGPoints& APoints) {
  if (!IsOutside(APoints.BoudingRect(), ActivePen())) FCanvas->Polygon(APoints.List(), ActivePen(), ActiveBrush());
}

void TdxSVGRenderer::Polyline(const TdxSVGPoints& APoints) {
  TdxGPPen* pen = ActivePen();
  if (pen && !IsOutside(APoints.BoudingRect(), pen)) FCanvas->Polyline(APoints.List(), pen);
}

void TdxSVGRenderer::Rectangle(const TdxRectF& R) {
  if (!IsOutside(R, ActivePen())) FCanvas->Rectangle(R, ActivePen(), ActiveBrush());
}

void TdxSVGRenderer::RoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddRoundRect(R, ARadiusX, ARadiusY);
  Path(path.get());
}

void TdxSVGRenderer::TextOut(const String& AText, TdxGPFont* AFont, float X, float Y) {
  if (TdxGPCustomBrush* brush = ActiveBrush()) FCanvas->DrawString(AText, AFont, brush, X, Y);
}

void TdxSVGRenderer::RestoreClipRegion() { FCanvas->RestoreClipRegion(); }
void TdxSVGRenderer::SaveClipRegion() { FCanvas->SaveClipRegion(); }
void TdxSVGRenderer::SetClipRegion(TdxGPPath* APath, TdxGPCombineMode AMode) { FCanvas->SetClipPath(APath, AMode); }

void TdxSVGRenderer::ModifyWorldTransform(TdxGPMatrix* AMatrix) {
  inherited::ModifyWorldTransform(AMatrix);
  FCanvas->ModifyWorldTransform(AMatrix, MatrixOrderPrepend);
}

void TdxSVGRenderer::RestoreWorldTransform() {
  inherited::RestoreWorldTransform();
  FCanvas->RestoreWorldTransform();
}

void TdxSVGRenderer::SaveWorldTransform() {
  inherited::SaveWorldTransform();
  FCanvas->SaveWorldTransform();
}

// ---------------------------------------------------------------------------
// TdxSVGRendererClipPath

void TdxSVGRendererClipPath::Create(TdxSVGFillMode AClipRule) {
  inherited::Create(nullptr);
  FFillMode = ToGPFillMode(AClipRule);
  FClipPath.reset(New<TdxGPPath>(FFillMode));
}

void TdxSVGRendererClipPath::Destroy() {
  FTransforms.clear();
  FClipPath.reset();
  inherited::Destroy();
}

void TdxSVGRendererClipPath::InitializeAppearance(TdxSVGElement* AElement) {
  inherited::InitializeAppearance(AElement);
  FFillMode = ToGPFillMode(AElement->ActualClipRule());
  FClipPath->SetFillMode(FFillMode);
}

// The innermost transform acts first, as it does in the world transform.
void TdxSVGRendererClipPath::AddTransformed(TdxGPPath* APath) {
  for (auto it = FTransforms.rbegin(); it != FTransforms.rend(); ++it) APath->Transform(it->get());
  FClipPath->AddPath(APath, false);
}

TdxRectF TdxSVGRendererClipPath::TransformRect(const TdxRectF& R) const {
  TdxRectF result = R;
  for (auto it = FTransforms.rbegin(); it != FTransforms.rend(); ++it) result = (*it)->TransformRect(result);
  return TdxRectF(std::min(result.Left, result.Right), std::min(result.Top, result.Bottom),
                  std::max(result.Left, result.Right), std::max(result.Top, result.Bottom));
}

void TdxSVGRendererClipPath::Ellipse(const TdxRectF& R) { FClipPath->AddEllipse(TransformRect(R)); }

void TdxSVGRendererClipPath::Rectangle(const TdxRectF& R) { FClipPath->AddRect(TransformRect(R)); }

void TdxSVGRendererClipPath::RoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) {
  FClipPath->AddRoundRect(TransformRect(R), ARadiusX, ARadiusY);
}

void TdxSVGRendererClipPath::Line(float X1, float Y1, float X2, float Y2) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>(FFillMode));
  path->AddLine(X1, Y1, X2, Y2);
  AddTransformed(path.get());
}

void TdxSVGRendererClipPath::Path(TdxGPPath* APath) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>(FFillMode));
  path->Assign(APath);
  path->SetFillMode(FFillMode);
  AddTransformed(path.get());
}

void TdxSVGRendererClipPath::Polygon(const TdxSVGPoints& APoints) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>(FFillMode));
  path->AddPolygon(APoints.List());
  AddTransformed(path.get());
}

void TdxSVGRendererClipPath::Polyline(const TdxSVGPoints& APoints) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>(FFillMode));
  path->AddPolyline(APoints.List());
  AddTransformed(path.get());
}

void TdxSVGRendererClipPath::TextOut(const String& AText, TdxGPFont* AFont, float X, float Y) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>(FFillMode));
  const TScreenDC screen;
  const TOwned<TdxGPCanvas> measure(New<TdxGPCanvas>(screen.Get()));
  const TdxSizeF size = measure->MeasureString(AText, AFont);
  path->AddString(AText, AFont, TdxRectF(X, Y, X + size.cx, Y + size.cy), nullptr);
  AddTransformed(path.get());
}

void TdxSVGRendererClipPath::ModifyWorldTransform(TdxGPMatrix* AMatrix) {
  inherited::ModifyWorldTransform(AMatrix);
  FTransforms.emplace_back(TdxGPMatrix::Clone(AMatrix));
}

void TdxSVGRendererClipPath::SaveWorldTransform() {
  inherited::SaveWorldTransform();
  FSavedTransforms.push_back(static_cast<int>(FTransforms.size()));
}

void TdxSVGRendererClipPath::RestoreWorldTransform() {
  inherited::RestoreWorldTransform();
  if (FSavedTransforms.empty()) return;
  FTransforms.resize(static_cast<std::size_t>(FSavedTransforms.back()));
  FSavedTransforms.pop_back();
}

// ---------------------------------------------------------------------------
// Drawing an element

void TdxSVGElement::Draw(TdxSVGCustomRenderer* ARenderer) {
  if (!ARenderer->EnterDrawing()) return;
  const TScopeExit leave([ARenderer] { ARenderer->LeaveDrawing(); });
  const float previousOpacity = ARenderer->ModifyOpacity(FOpacity);
  const TScopeExit opacity([ARenderer, previousOpacity] { ARenderer->SetOpacity(previousOpacity); });
  std::optional<TcxWorldTransformScope<TdxSVGCustomRenderer>> transform;
  if (!FTransform->IsIdentity()) {
    transform.emplace(ARenderer);
    ARenderer->ModifyWorldTransform(FTransform->XForm());
  }
  ARenderer->InitializeAppearance(this);
  if (FClipPath.empty()) return DrawContent(ARenderer);
  TdxSVGElement* clip = nullptr;
  if (!FindByID(FClipPath, TdxSVGElementClipPath::ClassInfo(), clip)) return DrawContent(ARenderer);
  // A clip path that clips itself draws nothing.
  if (!ARenderer->EnterReference(clip)) return;
  const TScopeExit left([ARenderer, clip] { ARenderer->LeaveReference(clip); });
  const TcxClipRegionScope clipRegion(ARenderer);
  static_cast<TdxSVGElementClipPath*>(clip)->ApplyTo(ARenderer, this);
  DrawContent(ARenderer);
}

void TdxSVGElement::DrawContent(TdxSVGCustomRenderer* ARenderer) {
  DrawCore(ARenderer);
  // By index: a use element among the children moves an element out and
  // back while it draws.
  for (int i = 0; i < Count(); ++i) GetElement(i)->Draw(ARenderer);
}

TdxSVGElement* TdxSVGElement::FindReference(TdxSVGCustomRenderer*, const String& AID) {
  TdxSVGElementRoot* root = Root();
  TdxSVGElement* result = nullptr;
  return root && root->FindByID(AID, result) ? result : nullptr;
}

void TdxSVGElement::ApplyPaint(TdxSVGCustomRenderer* ARenderer, const TdxSVGFill& APaint, float AOpacity,
                               TdxGPBrush* ABrush, bool AStroke) {
  if (!APaint.IsReference()) {
    ABrush->SetStyle(gpbsSolid);
    ABrush->SetColor(ARenderer->MakeColor(APaint.AsColor(), AOpacity));
    return;
  }
  TdxSVGElement* server = FindReference(ARenderer, APaint.AsReference());
  // Unresolvable: the brush stays as it is.
  if (!server) return;
  if (!ARenderer->EnterReference(server)) {
    ABrush->SetStyle(gpbsSolid);
    ABrush->SetColor(0);
    return;
  }
  TryFinally(
      [&] {
        if (AStroke)
          server->InitializePen(ARenderer, this);
        else
          server->InitializeBrush(ARenderer, this);
      },
      [&] { ARenderer->LeaveReference(server); });
}

void TdxSVGElement::InitializeBrush(TdxSVGCustomRenderer* ARenderer, TdxSVGElement*) {
  ApplyPaint(ARenderer, ActualFillPaint(ARenderer->Palette()), FFillOpacity, ARenderer->Brush(), false);
}

void TdxSVGElement::InitializePen(TdxSVGCustomRenderer* ARenderer, TdxSVGElement*) {
  TdxSVGPen* pen = ARenderer->Pen();
  ApplyPaint(ARenderer, ActualStrokePaint(ARenderer->Palette()), FStrokeOpacity, pen->Brush(), true);
  const float width = ActualStrokeWidth();
  pen->SetLineJoin(FStrokeLineJoin);
  static constexpr TdxGPPenLineCapStyle caps[] = {gpcsFlat, gpcsFlat, gpcsSquare, gpcsRound};
  const TdxGPPenLineCapStyle cap = caps[ActualStrokeLineCap()];
  pen->SetLineStartCapStyle(cap);
  pen->SetLineEndCapStyle(cap);
  pen->SetMiterLimit(std::max(FStrokeMiterLimit, 1.0f));
  pen->SetWidth(ARenderer->TransformStrokeWidth(width));
  // GDI+ measures dashes in pen widths; a pattern of nothing but gaps is no pattern.
  const TdxSVGValues& dashes = ActualStrokeDashArray();
  std::vector<float> pattern;
  if (width > 0 && std::any_of(dashes.List().begin(), dashes.List().end(), [](float V) { return V > 0; })) {
    pattern.reserve(dashes.List().size());
    for (float dash : dashes.List()) pattern.push_back(std::max(dash / width, 0.001f));
    // An odd list is repeated to give dashes and gaps in pairs.
    if (pattern.size() % 2) {
      const std::vector<float> once = pattern;
      pattern.insert(pattern.end(), once.begin(), once.end());
    }
  }
  pen->SetDashes(pattern, pattern.empty() ? 0 : ActualStrokeDashOffset() / width);
}

// ---------------------------------------------------------------------------
// Shapes

void TdxSVGElementCircle::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  const TdxRectF bounds = GetBounds();
  if (!bounds.IsEmpty()) ARenderer->Ellipse(bounds);
}

void TdxSVGElementEllipse::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  const TdxRectF bounds = GetBounds();
  if (!bounds.IsEmpty()) ARenderer->Ellipse(bounds);
}

void TdxSVGElementLine::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  ARenderer->Line(PixelsX(FX1), PixelsY(FY1), PixelsX(FX2), PixelsY(FY2));
}

// An image that does not decode is not drawn.
void TdxSVGElementImage::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  const TdxRectF bounds = GetBounds();
  if (FImage->Empty() || bounds.IsEmpty()) return;
  try {
    ARenderer->Draw(FImage.get(), bounds);
  } catch (const EdxException&) {
  }
}

void TdxSVGElementPath::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  if (FPath->GetPointCount() == 0) return;
  FPath->SetFillMode(ToGPFillMode(ActualFillMode()));
  ARenderer->Path(FPath.get());
}

void TdxSVGElementPolygon::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  if (FPoints.Count() >= 2) ARenderer->Polygon(FPoints);
}

void TdxSVGElementPolyline::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  if (FPoints.Count() < 2) return;
  if (ARenderer->Brush()->IsEmpty())
    ARenderer->Polyline(FPoints);
  else
    ARenderer->Polygon(FPoints);
}

void TdxSVGElementRectangle::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  const TdxRectF bounds = GetBounds();
  if (bounds.IsEmpty()) return;
  if (FCornerRadiusX.IsEmpty() && FCornerRadiusY.IsEmpty())
    ARenderer->Rectangle(bounds);
  else
    ARenderer->RoundRect(bounds, PixelsX(FCornerRadiusX), PixelsY(FCornerRadiusY));
}

// ---------------------------------------------------------------------------
// Text

TdxGPFontFamily* TdxSVGElementText::FontFamily() {
  if (FCachedFontFamily) return FCachedFontFamily.get();
  const String names = ActualFontName();
  std::size_t start = 0;
  while (start <= names.size() && !FCachedFontFamily) {
    const std::size_t end = std::min(names.find(L',', start), names.size());
    String name = Trim(names.substr(start, end - start));
    while (!name.empty()) {
      TOwned<TdxGPFontFamily> family(New<TdxGPFontFamily>(name));
      if (family->Handle()) {
        FCachedFontFamily = std::move(family);
        break;
      }
      const std::size_t dash = name.rfind(L'-');
      name = dash == String::npos ? String() : name.substr(0, dash);
    }
    start = end + 1;
  }
  if (!FCachedFontFamily) {
    const bool sans = Pos(L"SANS-SERIF", UpperCase(names)) > 0;
    TdxGPFontFamily* generic = sans ? GetGenericSansSerifFontFamily() : GetGenericSerifFontFamily();
    if (generic) FCachedFontFamily.reset(generic->Clone());
  }
  return FCachedFontFamily.get();
}

void TdxSVGElementText::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  if (FText.empty()) return;
  TdxGPFontFamily* family = FontFamily();
  const float size = ActualFontSize();
  if (!family || !(size > 0)) return;
  const int style = GdipFontStyleFromFontStyles(ActualFontStyles());
  TOwned<TdxGPFont> font;
  try {
    font.reset(New<TdxGPFont>(family, size, style, static_cast<int>(UnitPixel)));
  } catch (const EdxGdipException&) {
    return;
  }
  float x = PixelsX(FX);
  const float top = PixelsY(FY) - family->GetCellAscent(style) * size / std::max<int>(family->GetEmHeight(style), 1);
  if (FTextAnchor != taInherit) {
    const TScreenDC screen;
    const TOwned<TdxGPCanvas> measure(New<TdxGPCanvas>(screen.Get()));
    // The blank GDI+ adds around a measured string.
    const float padding =
        std::max(0.0f, measure->MeasureString(L"|", font.get()).cx - measure->MeasureString(L"||", font.get()).cx / 2);
    const float width = FTextAnchor == taStart ? 0 : measure->MeasureString(FText, font.get()).cx;
    switch (FTextAnchor) {
      case taStart: x -= padding; break;
      case taMiddle: x -= width / 2; break;
      case taEnd: x -= width - padding; break;
      case taInherit: break;
    }
  }
  ARenderer->TextOut(FText, font.get(), x + PixelsX(FDX), top + PixelsY(FDY));
}

// ---------------------------------------------------------------------------
// Use

void TdxSVGElementUse::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  TdxSVGElement* target = FindReference(ARenderer, FReference);
  // A use of itself or of an element it lies in would draw that element inside itself.
  if (!target || target->IsAncestorOf(this) || !ARenderer->EnterReference(target)) return;
  TdxSVGElement* parent = target->Parent();
  const int index = parent ? parent->IndexOf(target) : -1;
  const TdxSVGFillMode clipRule = target->ClipRule();
  const TdxSVGFillMode fillMode = target->FillMode();
  const TScopeExit left([ARenderer, target] { ARenderer->LeaveReference(target); });
  const TcxWorldTransformScope transform(ARenderer);
  ARenderer->ModifyWorldTransform(MakeTranslationXForm(PixelsX(FX), PixelsY(FY)));
  TryFinally(
      [&] {
        target->InsertInto(this, Count());
        target->SetClipRule(fmInherit);
        target->SetFillMode(fmInherit);
        target->Draw(ARenderer);
      },
      [&] {
        target->SetClipRule(clipRule);
        target->SetFillMode(fillMode);
        if (parent) target->InsertInto(parent, index);
      });
}

// ---------------------------------------------------------------------------
// The root

void TdxSVGElementRoot::Draw(TdxSVGCustomRenderer* ARenderer, const TdxRectF& R) {
  const TdxRectF box = ActualViewBox();
  if (box.IsEmpty() || R.IsEmpty()) return;
  auto* renderer = dynamic_cast<TdxSVGRenderer*>(ARenderer);
  const TcxWorldTransformScope transform(ARenderer);
  if (renderer) {
    TdxGPCanvas* canvas = renderer->Canvas();
    canvas->TranslateWorldTransform(R.Left, R.Top);
    canvas->ScaleWorldTransform(R.Width() / box.Width(), R.Height() / box.Height());
    canvas->TranslateWorldTransform(-box.Left, -box.Top);
  }
  Draw(ARenderer);
}

// ---------------------------------------------------------------------------
// Clip paths

void TdxSVGElementClipPath::ApplyTo(TdxSVGCustomRenderer* ARenderer, TdxSVGElement*) {
  const TOwned<TdxSVGRendererClipPath> collector(New<TdxSVGRendererClipPath>(ActualClipRule()));
  collector->ShareStateWith(ARenderer);
  // The clip path's own transform acts on its content.
  if (!FTransform->IsIdentity()) collector->ModifyWorldTransform(FTransform->XForm());
  for (int i = 0; i < Count(); ++i) GetElement(i)->Draw(collector.get());
  ARenderer->SetClipRegion(collector->ClipPath(), gmIntersect);
}

// ---------------------------------------------------------------------------
// Paint servers

void TdxSVGElementCustomPattern::InitializeBrush(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) {
  InitializePaint(ARenderer, AElement, ARenderer->Brush());
}

void TdxSVGElementCustomPattern::InitializePen(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) {
  InitializePaint(ARenderer, AElement, ARenderer->Pen()->Brush());
}

TdxRectF TdxSVGElementCustomPattern::CalculateUnitBox(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) {
  if (FPatternUnitsType == cuObjectBoundingBox) return AElement->GetBounds();
  TdxSVGElementRoot* root = Root();
  const TdxRectF bounds = root ? root->GetBounds() : TdxRectF();
  const TOwned<TdxGPMatrix> inverse(TdxGPMatrix::Clone(ARenderer->WorldTransform()));
  if (!inverse->IsInvertible()) return bounds;
  inverse->Invert();
  return inverse->GetBoundingRectangle(bounds);
}

// Patterns

void TdxSVGElementPattern::InitializePaint(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement,
                                           TdxSVGBrush* ABrush) {
  if (Count() == 0) return;
  const bool onlyImage = Count() == 1 && Is<TdxSVGElementImage>(GetElement(0));
  const float scale = onlyImage ? 1 : ARenderer->TransformStrokeWidth(1);
  if (!(scale > 0)) return;
  // In bounding-box units the tile is a fraction of the box, placed at its corner.
  const TdxRectF box = CalculateUnitBox(ARenderer, AElement);
  const auto length = [&](const TdxSVGValue& AValue, float ABoxSize) {
    if (FPatternUnitsType == cuObjectBoundingBox)
      return AValue.UnitsType == utPercents ? AValue.Data / 100 * ABoxSize : AValue.ToPixels(96, ABoxSize) * ABoxSize;
    return AValue.ToPixels(96, ABoxSize);
  };
  TdxRectF tile(length(FX, box.Width()), length(FY, box.Height()), 0, 0);
  if (FPatternUnitsType == cuObjectBoundingBox) {
    tile.Left += box.Left;
    tile.Top += box.Top;
  }
  tile.Right = tile.Left + length(FWidth, box.Width());
  tile.Bottom = tile.Top + length(FHeight, box.Height());
  if (tile.IsEmpty()) return;

  // The image holds the tile at the target's resolution, within a bounded size.
  float imageScale = scale;
  const float side = std::max(tile.Width(), tile.Height()) * imageScale;
  const float area = tile.Width() * tile.Height() * imageScale * imageScale;
  if (side > MaxTileSide || area > MaxTilePixels)
    imageScale *= std::min(MaxTileSide / side, std::sqrt(MaxTilePixels / area));
  const int width = std::max(1, static_cast<int>(std::ceil(tile.Width() * imageScale)));
  const int height = std::max(1, static_cast<int>(std::ceil(tile.Height() * imageScale)));
  float k = imageScale;
  if (!FViewBox.IsEmpty()) k = std::min(height / FViewBox.Height(), width / FViewBox.Width());

  // The tile carries the opacity of what it paints: the fill's or the stroke's.
  const float opacity =
      ARenderer->Opacity() * (ABrush == ARenderer->Brush() ? AElement->FillOpacity() : AElement->StrokeOpacity());
  TdxSVGRenderState& state = ARenderer->State();
  const TdxSVGRenderState::TTileKey key(this, width, height, k, opacity);
  const auto cached = state.Tiles.find(key);
  if (cached == state.Tiles.end()) {
    TdxSVGTileImage image(width, height);
    TdxGPCanvas* canvas = image.Canvas();
    canvas->ScaleWorldTransform(k, k);
    canvas->TranslateWorldTransform(-FViewBox.Value().Left, -FViewBox.Value().Top);
    canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
    canvas->SetSmoothingMode(smHighQuality);
    {
      const TOwned<TdxSVGRenderer> renderer(New<TdxSVGRenderer>(canvas, ARenderer->Palette()));
      renderer->ShareStateWith(ARenderer);
      renderer->SetOpacity(opacity);
      for (int i = 0; i < Count(); ++i) GetElement(i)->Draw(renderer.get());
    }
    ABrush->SetStyle(gpbsTexture);
    ABrush->SetTexture(image.Finish());
    const double pixels = static_cast<double>(width) * height;
    if (state.TilePixels + pixels <= TdxSVGRenderState::MaxTilePixels) {
      state.TilePixels += pixels;
      TdxGpOwnedImage copy;
      CheckGdipStatus(GdipCloneImage(ABrush->Texture(), copy.Receive()));
      state.Tiles.emplace(key, std::move(copy));
    }
  } else {
    ABrush->SetStyle(gpbsTexture);
    ABrush->SetTexture(cached->second.Get());
  }
  // Image pixels to tile units, to the tile's place, through the pattern transform.
  TdxGPMatrix* transform = ABrush->TextureTransform();
  transform->Reset();
  transform->Multiply(FPatternTransform->XForm(), MatrixOrderPrepend);
  transform->Translate(tile.Left, tile.Top, MatrixOrderPrepend);
  transform->Scale(1 / imageScale, 1 / imageScale, MatrixOrderPrepend);
  ABrush->FreeHandle();
}

// Gradients

float TdxSVGElementCustomGradient::ToUnitsX(TdxSVGCustomRenderer*, const TdxSVGValue& AValue, const TdxRectF& AUnitBox,
                                            bool AOffset) {
  if (FPatternUnitsType == cuUserSpaceOnUse) return PixelsX(AValue);
  const float fraction = AValue.UnitsType == utPercents ? AValue.Data / 100 : AValue.ToPixels(96, 0);
  return (AOffset ? AUnitBox.Left : 0) + fraction * AUnitBox.Width();
}

float TdxSVGElementCustomGradient::ToUnitsY(TdxSVGCustomRenderer*, const TdxSVGValue& AValue, const TdxRectF& AUnitBox,
                                            bool AOffset) {
  if (FPatternUnitsType == cuUserSpaceOnUse) return PixelsY(AValue);
  const float fraction = AValue.UnitsType == utPercents ? AValue.Data / 100 : AValue.ToPixels(96, 0);
  return (AOffset ? AUnitBox.Top : 0) + fraction * AUnitBox.Height();
}

void TdxSVGElementCustomGradient::BuildPoints(TdxSVGCustomRenderer* ARenderer, TdxGPBrushGradientPoints* APoints,
                                              float AStart, float AFinish) {
  APoints->Clear();
  std::vector<TdxSVGGradientPoint> points;
  float offset = 0;
  for (int i = 0; i < Count(); ++i) {
    auto* stop = dynamic_cast<TdxSVGElementGradientStop*>(GetElement(i));
    if (!stop) continue;
    const TdxSVGValue& value = stop->Offset();
    // Offsets lie in 0..1 and never fall back.
    offset = std::max(offset, std::clamp(value.UnitsType == utPercents ? value.Data / 100 : value.Data, 0.0f, 1.0f));
    points.push_back({offset, ARenderer->MakeColor(stop->Color(), std::clamp(stop->ColorOpacity(), 0.0f, 1.0f))});
  }
  if (points.empty()) return;
  float start = std::clamp(AStart, 0.0f, 1.0f);
  float finish = std::clamp(AFinish, 0.0f, 1.0f);
  const bool reversed = finish < start;
  if (reversed) {
    std::swap(start, finish);
    std::reverse(points.begin(), points.end());
  }
  for (TdxSVGGradientPoint& point : points) {
    point.Position = start + point.Position * (finish - start);
    if (reversed) point.Position = 1 - point.Position;
  }
  if (points.front().Position > 0) points.insert(points.begin(), {0, points.front().Color});
  if (points.back().Position < 1) points.push_back({1, points.back().Color});
  MakePositionsRising(points);
  for (const TdxSVGGradientPoint& point : points) APoints->Add(point.Position, point.Color);
}

void TdxSVGElementCustomGradient::InitializePaint(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement,
                                                  TdxSVGBrush* ABrush) {
  ABrush->FreeHandle();
  const TdxRectF unitBox = CalculateUnitBox(ARenderer, AElement);
  // Fractions of a box without width or height are no place: nothing is
  // painted (and GDI+ does not come back from a gradient that thin).
  if (FPatternUnitsType == cuObjectBoundingBox && !(unitBox.Width() > 0 && unitBox.Height() > 0)) {
    ABrush->SetStyle(gpbsSolid);
    ABrush->SetColor(0);
    return;
  }
  const TdxRectF vector = CalculateGradientVector(ARenderer, unitBox);
  SetUpBrush(ABrush, vector);
  const TdxRectF gradientBox = IsNullVector(vector) ? TdxRectF() : CalculateGradientBox(unitBox, vector);
  if (IsNullVector(gradientBox)) {
    BuildPoints(ARenderer, ABrush->GradientPoints(), 0, 1);
    const int count = ABrush->GradientPoints()->Count();
    ABrush->SetStyle(gpbsSolid);
    ABrush->SetColor(count > 0 ? ABrush->GradientPoints()->Colors(count - 1) : 0);
    return;
  }
  ABrush->SetGradientBox(gradientBox);
  float start;
  float finish;
  CalculateStopRange(vector, gradientBox, start, finish);
  BuildPoints(ARenderer, ABrush->GradientPoints(), start, finish);
  ABrush->SetStyle(gpbsGradient);
}

TdxRectF TdxSVGElementLinearGradient::CalculateGradientVector(TdxSVGCustomRenderer* ARenderer, const TdxRectF& AUnitBox) {
  const TdxRectF vector(ToUnitsX(ARenderer, FX1, AUnitBox, true), ToUnitsY(ARenderer, FY1, AUnitBox, true),
                        ToUnitsX(ARenderer, FX2, AUnitBox, true), ToUnitsY(ARenderer, FY2, AUnitBox, true));
  return TransformCorners(FPatternTransform.get(), vector);
}

void TdxSVGElementLinearGradient::SetUpBrush(TdxSVGBrush* ABrush, const TdxRectF&) { ABrush->SetGradientMode(sbgmLinear); }

// Each end moves outwards until the segment spans the box in both directions.
TdxRectF TdxSVGElementLinearGradient::CalculateGradientBox(const TdxRectF& AUnitBox, const TdxRectF& AVector) {
  const TdxPointF start(AVector.Left, AVector.Top);
  const TdxPointF finish(AVector.Right, AVector.Bottom);
  const float length = TdxVectors::Length(start, finish);
  if (!(length > 0)) return TdxRectF();
  const TdxPointF d((finish.X - start.X) / length, (finish.Y - start.Y) / length);
  const auto reach = [&](const TdxPointF& P, float DX, float DY) {
    float t = 0;
    if (DX > 0) t = std::max(t, (AUnitBox.Right - P.X) / DX);
    if (DX < 0) t = std::max(t, (AUnitBox.Left - P.X) / DX);
    if (DY > 0) t = std::max(t, (AUnitBox.Bottom - P.Y) / DY);
    if (DY < 0) t = std::max(t, (AUnitBox.Top - P.Y) / DY);
    return t;
  };
  const float back = reach(start, -d.X, -d.Y);
  const float forth = reach(finish, d.X, d.Y);
  return TdxRectF(start.X - d.X * back, start.Y - d.Y * back, finish.X + d.X * forth, finish.Y + d.Y * forth);
}

void TdxSVGElementLinearGradient::CalculateStopRange(const TdxRectF& AVector, const TdxRectF& AGradientBox,
                                                     float& AStart, float& AFinish) {
  const TdxPointF origin(AGradientBox.Left, AGradientBox.Top);
  const float length = TdxVectors::Length(origin, TdxPointF(AGradientBox.Right, AGradientBox.Bottom));
  AStart = length > 0 ? TdxVectors::Length(origin, TdxPointF(AVector.Left, AVector.Top)) / length : 0;
  AFinish = length > 0 ? TdxVectors::Length(origin, TdxPointF(AVector.Right, AVector.Bottom)) / length : 1;
}

float TdxSVGElementRadialGradient::RadiusToUnits(TdxSVGCustomRenderer*, const TdxSVGValue& AValue,
                                                 const TdxRectF& AUnitBox) {
  if (FPatternUnitsType == cuUserSpaceOnUse) return std::max(PixelsX(AValue), PixelsY(AValue));
  const float fraction = AValue.UnitsType == utPercents ? AValue.Data / 100 : AValue.ToPixels(96, 0);
  return fraction * std::max(AUnitBox.Width(), AUnitBox.Height());
}

TdxRectF TdxSVGElementRadialGradient::CalculateGradientVector(TdxSVGCustomRenderer* ARenderer, const TdxRectF& AUnitBox) {
  const float cx = ToUnitsX(ARenderer, FCenterX, AUnitBox, true);
  const float cy = ToUnitsY(ARenderer, FCenterY, AUnitBox, true);
  const float r = RadiusToUnits(ARenderer, FRadius, AUnitBox);
  // A focal point outside the circle is moved onto its edge.
  TdxPointF focal(ToUnitsX(ARenderer, FFocalX, AUnitBox, true), ToUnitsY(ARenderer, FFocalY, AUnitBox, true));
  const float distance = TdxVectors::Length(TdxPointF(cx, cy), focal);
  if (distance > r * 0.999f && distance > 0) {
    const float scale = r * 0.999f / distance;
    focal = TdxPointF(cx + (focal.X - cx) * scale, cy + (focal.Y - cy) * scale);
  }
  FActualFocalPoint = FPatternTransform->Transform(focal);
  FActualFocalRadius = RadiusToUnits(ARenderer, FFocalRadius, AUnitBox);
  return TransformCorners(FPatternTransform.get(), TdxRectF(cx - r, cy - r, cx + r, cy + r));
}

void TdxSVGElementRadialGradient::SetUpBrush(TdxSVGBrush* ABrush, const TdxRectF&) {
  ABrush->SetGradientMode(sbgmRadial);
  ABrush->SetGradientFocalPoint(FActualFocalPoint);
}

// The circle grows until its ellipse holds the whole box, so that the last
// stop's colour reaches every corner (as the circle meets the box, it grows
// to no more than its radius and the box's diagonal).
TdxRectF TdxSVGElementRadialGradient::CalculateGradientBox(const TdxRectF& AUnitBox, const TdxRectF& AVector) {
  const TdxPointF centre((AVector.Left + AVector.Right) / 2, (AVector.Top + AVector.Bottom) / 2);
  float rx = std::abs(AVector.Right - AVector.Left) / 2;
  float ry = std::abs(AVector.Bottom - AVector.Top) / 2;
  if (!(rx > 0) || !(ry > 0)) return TdxRectF();
  // A box wholly outside the circle lies where the last stop pads: no gradient.
  const float nearestX = std::clamp(centre.X, AUnitBox.Left, AUnitBox.Right);
  const float nearestY = std::clamp(centre.Y, AUnitBox.Top, AUnitBox.Bottom);
  if (std::pow((nearestX - centre.X) / rx, 2.0f) + std::pow((nearestY - centre.Y) / ry, 2.0f) > 1) return TdxRectF();
  for (int i = 0; i < 256 && !IsRectInsideEllipse(AUnitBox, centre, rx, ry); ++i) {
    rx *= 1.25f;
    ry *= 1.25f;
  }
  return MakeRectFAroundPoint(centre, rx, ry);
}

void TdxSVGElementRadialGradient::CalculateStopRange(const TdxRectF& AVector, const TdxRectF& AGradientBox,
                                                     float& AStart, float& AFinish) {
  const float boxWidth = AGradientBox.Width();
  AStart = boxWidth > 0 ? std::abs(AVector.Right - AVector.Left) / boxWidth : 1;
  AFinish = std::min(boxWidth > 0 ? 2 * FActualFocalRadius / boxWidth : 0, AStart);
}
