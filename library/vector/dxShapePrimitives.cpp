#include "library/vector/dxShapePrimitives.h"

#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/vector/dxShapeBrushes.h"
#include "library/vector/dxShapeReaders.h"
#include "library/vector/dxShapeTransformations.h"
#include "platform/runtime/Units.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace Gdiplus;

// ---------------------------------------------------------------------------
// Colours and points as text

TdxAlphaColor dxShapeTextToAlphaColor(const String& AText) {
  constexpr TdxAlphaColor OpaqueBlack = 0xFF000000;
  if (AText.empty()) return OpaqueBlack;
  if (AText[0] == L'#') {
    String digits = AText.substr(1);
    // A short run is read as the leading digits of RRGGBB: "FF" is red.
    if (!digits.empty() && digits.size() < 6) digits.append(6 - digits.size(), L'0');
    return TdxAlphaColors::HexTextToAlphaColor(digits, false);
  }
  if (SameText(AText, L"Transparent")) return 0;
  TColor color;
  return FindColorByName(AText, color) ? ColorToAlphaColor(color, 255) : OpaqueBlack;
}

TdxPointF dxShapeTextToPoint(const String& AText) {
  const std::size_t comma = AText.find(L',');
  const String x = AText.substr(0, comma);
  const String y = comma == String::npos ? String() : AText.substr(comma + 1);
  return TdxPointF(static_cast<float>(StrToFloatWithSeparator(x, L'.')),
                   static_cast<float>(StrToFloatWithSeparator(y, L'.')));
}

String dxShapePointToText(const TdxPointF& APoint) {
  return FloatToStrWithSeparator(APoint.X, L'.') + L"," + FloatToStrWithSeparator(APoint.Y, L'.');
}

// ---------------------------------------------------------------------------
// TdxShapeTransformations

void TdxShapeTransformations::Create() { FItems.reset(New<TdxFastObjectList>(true)); }

void TdxShapeTransformations::Destroy() {
  FItems.reset();
  inherited::Destroy();
}

void TdxShapeTransformations::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxShapeTransformations*>(ASource);
  if (!source) return inherited::Assign(ASource);
  if (source == this) return;
  FItems->Clear();
  for (int i = 0; i < source->Count(); ++i) {
    TdxShapeCustomTransformation* item = source->GetTransformation(i);
    TOwned<TdxShapeCustomTransformation> copy(NewOfClass<TdxShapeCustomTransformation>(item->ClassType()));
    copy->Assign(item);
    Append(copy.release());
  }
  Changed();
}

void TdxShapeTransformations::Add(TdxShapeCustomTransformation* ATransformation) {
  Append(ATransformation);
  Changed();
}

void TdxShapeTransformations::Append(TdxShapeCustomTransformation* ATransformation) {
  TOwned<TdxShapeCustomTransformation> item(ATransformation);
  item->SetOnChange(BindEvent<&TdxShapeTransformations::ItemChanged>(this));
  FItems->Add(item.release());
}

TdxShapeCustomTransformation* TdxShapeTransformations::GetTransformation(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) return nullptr;
  return static_cast<TdxShapeCustomTransformation*>(FItems->Items(AIndex));
}

void TdxShapeTransformations::ItemChanged(TObject*) { Changed(); }

// ---------------------------------------------------------------------------
// TdxShapeObject

TClass TdxShapeObject::TMeta::GetReaderClass() const { return TdxShapeObjectReader::ClassInfo(); }

void TdxShapeObject::Publish(TPublisher<TdxShapeObject>& P) {
  P.Property(L"RenderTransformOrigin", &TdxShapeObject::RenderTransformOrigin,
             &TdxShapeObject::SetRenderTransformOrigin);
  P.Property(L"OnChange", &TdxShapeObject::OnChange, &TdxShapeObject::SetOnChange);
}

void TdxShapeObject::Create() {
  FTransformations.reset(New<TdxShapeTransformations>());
  FTransformations->SetOnChange(BindEvent<&TdxShapeObject::TransformationsChanged>(this));
  FTransformMatrix.reset(New<TdxGPMatrix>());
}

void TdxShapeObject::Create(TdxShapeObject* AParent) {
  Create();
  FParent = AParent;
}

void TdxShapeObject::Destroy() {
  FTransformMatrix.reset();
  FTransformations.reset();
  inherited::Destroy();
}

void TdxShapeObject::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxShapeObject*>(ASource);
  if (!source) return inherited::Assign(ASource);
  FParent = source->FParent;
}

void TdxShapeObject::ApplyTransformMatrix(TdxGPMatrix* AMatrix) { FTransformMatrix->Assign(AMatrix); }

void TdxShapeObject::CancelUpdate() {
  if (FLockCount > 0) --FLockCount;
}

void TdxShapeObject::EndUpdate() {
  if (FLockCount == 0) return;
  if (--FLockCount == 0) Changed();
}

void TdxShapeObject::Changed() {
  if (IsLocked()) return;
  Calculate();
  CallEvent(FOnChange, this);
}

void TdxShapeObject::SetValue(float& AField, float AValue) {
  if (dxSameValue(AField, AValue)) return;
  AField = AValue;
  Changed();
}

String TdxShapeObject::GetName(TClass AClass) { return ClassMeta<TdxShapeObject>(AClass)->GetName(); }

void TdxShapeObject::SetRenderTransformOrigin(const String& AValue) {
  const TdxPointF origin = dxShapeTextToPoint(AValue);
  if (origin == FTransformOrigin) return;
  FTransformOrigin = origin;
  Changed();
}

// ---------------------------------------------------------------------------
// TdxCustomVectorShape

void TdxCustomVectorShape::Publish(TPublisher<TdxCustomVectorShape>& P) {
  P.Property(L"Brush", &TdxCustomVectorShape::Brush, &TdxCustomVectorShape::SetBrush);
  P.Property(L"Left", &TdxCustomVectorShape::Left, &TdxCustomVectorShape::SetLeft);
  P.Property(L"Top", &TdxCustomVectorShape::Top, &TdxCustomVectorShape::SetTop);
  P.Property(L"Width", &TdxCustomVectorShape::Width, &TdxCustomVectorShape::SetWidth);
  P.Property(L"Height", &TdxCustomVectorShape::Height, &TdxCustomVectorShape::SetHeight);
  P.Property(L"Name", &TdxCustomVectorShape::Name, &TdxCustomVectorShape::SetName);
  P.Property(L"Stroke", &TdxCustomVectorShape::Stroke, &TdxCustomVectorShape::SetStroke);
  P.Property(L"StrokeThickness", &TdxCustomVectorShape::StrokeThickness,
             &TdxCustomVectorShape::SetStrokeThickness);
}

void TdxCustomVectorShape::Create() {
  inherited::Create();
  FBrush.reset(New<TdxShapeSolidBrush>(this));
  FGPPen.reset(New<TdxGPPen>(0, 1.0f));
}

void TdxCustomVectorShape::Destroy() {
  FPath.reset();
  FGPPen.reset();
  FBrush.reset();
  inherited::Destroy();
}

void TdxCustomVectorShape::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  auto* source = dynamic_cast<TdxCustomVectorShape*>(ASource);
  if (!source) return;
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  SetLeft(source->Left());
  SetTop(source->Top());
  SetWidth(source->Width());
  SetHeight(source->Height());
  SetName(source->Name());
  if (TdxShapeCustomBrush* brush = source->Brush()) {
    // The copy's parent is this shape: only the GDI+ brush is copied.
    TOwned<TdxShapeCustomBrush> copy(NewOfClass<TdxShapeCustomBrush>(brush->ClassType(), this));
    copy->GPBrush()->Assign(brush->GPBrush());
    SetBrush(copy.release());
  } else {
    SetBrush(nullptr);
  }
  FGPPen->Assign(source->Pen());
}

void TdxCustomVectorShape::Calculate() {
  // The figure follows the bounds and the matrix: a kept one is stale now.
  FPath.reset();
  FBounds = TdxRectF(0, 0, FWidth, FHeight);
  CalculateTransformMatrix();
}

void TdxCustomVectorShape::CalculateTransformMatrix() {
  BeginUpdate();
  const TScopeExit unlock([this] { CancelUpdate(); });
  TdxGPMatrix* matrix = TransformMatrix();
  matrix->Reset();
  TdxShapeTransformations* transformations = Transformations();
  if (transformations->Count() == 0) {
    matrix->Translate(Left() + FBounds.Left, Top() + FBounds.Top, MatrixOrderAppend);
    return;
  }
  const TOwned<TdxGPMatrix> step(New<TdxGPMatrix>());
  for (int i = 0; i < transformations->Count(); ++i) {
    transformations->GetTransformation(i)->GetMatrix(step.get(), FBounds, TransformOrigin());
    if (!step->IsIdentity()) matrix->Multiply(step.get(), MatrixOrderAppend);
  }
}

void TdxCustomVectorShape::ApplyTransformMatrix(TdxGPMatrix* AMatrix) {
  inherited::ApplyTransformMatrix(AMatrix);
  FPath.reset();
}

TOwned<TdxGPPath> TdxCustomVectorShape::CreatePath() { return TOwned<TdxGPPath>(New<TdxGPPath>()); }

TdxGPPath* TdxCustomVectorShape::Path() {
  if (!FPath || !FPath->Handle()) {
    FPath = CreatePath();
    FPath->Transform(TransformMatrix());
  }
  return FPath.get();
}

void TdxCustomVectorShape::Draw(TdxGPCanvas* ACanvas) {
  ACanvas->Path(Path(), FGPPen.get(), FBrush ? Brush()->GPBrush() : nullptr);
}

void TdxCustomVectorShape::SetColor(TdxAlphaColor AColor) {
  if (auto* brush = dynamic_cast<TdxShapeSolidBrush*>(FBrush.get())) brush->SetColor(AColor);
}

TdxShapeCustomBrush* TdxCustomVectorShape::Brush() const { return static_cast<TdxShapeCustomBrush*>(FBrush.get()); }

void TdxCustomVectorShape::ReleaseReference() {
  if (--FRefCount <= 0) Free();
}

void TdxCustomVectorShape::SetBrush(TdxShapeCustomBrush* AValue) {
  if (AValue == FBrush.get()) return;
  FBrush.reset(AValue);
  Changed();
}

TdxRectF TdxCustomVectorShape::ContentBounds() const {
  return TdxRectF::CreateSize(Left(), Top(), FBounds.Width(), FBounds.Height());
}

void TdxCustomVectorShape::SetLeft(float AValue) { SetValue(FTopLeft.X, AValue); }
void TdxCustomVectorShape::SetTop(float AValue) { SetValue(FTopLeft.Y, AValue); }
void TdxCustomVectorShape::SetWidth(float AValue) { SetValue(FWidth, AValue); }
void TdxCustomVectorShape::SetHeight(float AValue) { SetValue(FHeight, AValue); }

String TdxCustomVectorShape::Stroke() const {
  return TdxAlphaColors::AlphaColorToPrefixedHexText(FGPPen->Brush()->Color(), true, L'#');
}

void TdxCustomVectorShape::SetStroke(const String& AValue) { FGPPen->Brush()->SetColor(dxShapeTextToAlphaColor(AValue)); }

// ---------------------------------------------------------------------------
// TdxShapeRectangle, TdxShapeEllipse

void TdxShapeRectangle::Publish(TPublisher<TdxShapeRectangle>& P) {
  P.Property(L"RadiusX", &TdxShapeRectangle::RadiusX, &TdxShapeRectangle::SetRadiusX);
  P.Property(L"RadiusY", &TdxShapeRectangle::RadiusY, &TdxShapeRectangle::SetRadiusY);
}

void TdxShapeRectangle::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxShapeRectangle*>(ASource);
  if (!source) return inherited::Assign(ASource);
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  inherited::Assign(ASource);
  SetRadiusX(source->RadiusX());
  SetRadiusY(source->RadiusY());
}

void TdxShapeRectangle::SetRadiusX(float AValue) { SetValue(FRadius.X, AValue); }
void TdxShapeRectangle::SetRadiusY(float AValue) { SetValue(FRadius.Y, AValue); }

TOwned<TdxGPPath> TdxShapeRectangle::CreatePath() {
  TOwned<TdxGPPath> result = inherited::CreatePath();
  result->AddRoundRect(FBounds, FRadius.X, FRadius.Y);
  return result;
}

TOwned<TdxGPPath> TdxShapeEllipse::CreatePath() {
  TOwned<TdxGPPath> result = inherited::CreatePath();
  result->AddEllipse(FBounds);
  return result;
}

// ---------------------------------------------------------------------------
// TdxShapePath

void TdxShapePath::Publish(TPublisher<TdxShapePath>& P) {
  P.Property(L"Data", &TdxShapePath::Data, &TdxShapePath::SetData);
}

void TdxShapePath::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxShapePath*>(ASource);
  if (!source) return inherited::Assign(ASource);
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  inherited::Assign(ASource);
  SetData(source->Data());
}

void TdxShapePath::SetData(const String& AValue) {
  if (SameText(FData, AValue)) return;
  FData = AValue;
  Changed();
}

void TdxShapePath::Calculate() {
  inherited::Calculate();
  std::vector<PointF> points;
  std::vector<BYTE> types;
  TdxShapePathDataParser().Parse(LowerCase(FData), points, types);
  std::vector<PointF> normalized;
  if (!points.empty()) {
    const TOwned<TdxGPPath> path(New<TdxGPPath>(points, types));
    path->Flatten(nullptr, 0.15f);
    FBounds = path->GetBoundsF();
    normalized.reserve(points.size());
    for (const PointF& point : points) normalized.emplace_back(point.X - FBounds.Left, point.Y - FBounds.Top);
  }
  FPoints = std::move(points);
  FPointTypes = std::move(types);
  FNormalizedPoints = std::move(normalized);
}

TOwned<TdxGPPath> TdxShapePath::CreatePath() {
  if (FNormalizedPoints.empty()) return inherited::CreatePath();
  return TOwned<TdxGPPath>(New<TdxGPPath>(FNormalizedPoints, FPointTypes));
}

// ---------------------------------------------------------------------------
// TdxShapePathDataParser

namespace {

constexpr BYTE ShapePointTypeStart = PathPointTypeStart;
constexpr BYTE ShapePointTypeLine = PathPointTypeLine;
constexpr BYTE ShapePointTypeBezier = PathPointTypeBezier;
constexpr BYTE ShapePointTypeCloseSubpath = PathPointTypeCloseSubpath;

bool IsShapeSeparator(wchar_t C) { return C == L' ' || C == L',' || C == L'\r' || C == L'\n' || C == L'\t'; }

bool IsShapeNumberChar(wchar_t C) {
  return (C >= L'0' && C <= L'9') || C == L'+' || C == L'-' || C == L'.' || C == L'e';
}

}  // namespace

void TdxShapePathDataParser::Parse(const String& AData, std::vector<PointF>& APoints, std::vector<BYTE>& APointTypes) {
  FData = AData;
  const std::size_t move = FData.find(L'm');
  FPosition = move == String::npos ? 0 : move;
  FCommand = 0;
  FLastPointType = ShapePointTypeStart;
  while (HasData()) {
    const float x = ReadCoordinate();
    if (FCommand == L'z') {
      if (!APointTypes.empty()) APointTypes.back() |= ShapePointTypeCloseSubpath;
      continue;
    }
    const float y = ReadCoordinate();
    if (FCommand == L'c')
      FLastPointType = ShapePointTypeBezier;
    else if (FCommand == L'l')
      FLastPointType = ShapePointTypeLine;
    APoints.emplace_back(x, y);
    APointTypes.push_back(FCommand == L'm' ? ShapePointTypeStart : FLastPointType);
  }
}

void TdxShapePathDataParser::SkipSeparators() {
  while (HasData()) {
    const wchar_t c = FData[FPosition];
    if (c == L'&') {
      // An entity up to its ";", which then reads as a command.
      FPosition = std::min(FData.find(L';', FPosition), FData.size());
      return;
    }
    if (!IsShapeSeparator(c)) return;
    ++FPosition;
  }
}

float TdxShapePathDataParser::ReadCoordinate() {
  SkipSeparators();
  if (HasData() && !IsShapeNumberChar(FData[FPosition])) FCommand = FData[FPosition++];
  SkipSeparators();
  const std::size_t start = FPosition;
  while (HasData() && IsShapeNumberChar(FData[FPosition])) ++FPosition;
  if (FPosition == start) return 0;
  return static_cast<float>(StrToFloatWithSeparator(FData.substr(start, FPosition - start), L'.'));
}

// ---------------------------------------------------------------------------
// TdxShapeList, TdxShapeCanvas

void TdxShapeList::Add(TdxCustomVectorShape* AShape) {
  AShape->AddReference();
  inherited::Add(AShape);
}

void TdxShapeList::FreeObjectAt(int AIndex) {
  if (TdxCustomVectorShape* shape = Items(AIndex)) shape->ReleaseReference();
}

TClass TdxShapeCanvas::TMeta::GetReaderClass() const { return TdxShapeCanvasReader::ClassInfo(); }

void TdxShapeCanvas::Publish(TPublisher<TdxShapeCanvas>& P) { P.Property(L"Count", &TdxShapeCanvas::Count); }

void TdxShapeCanvas::Create() {
  inherited::Create();
  FShapes.reset(New<TdxShapeList>());
}

void TdxShapeCanvas::Destroy() {
  FShapes.reset();
  inherited::Destroy();
}

void TdxShapeCanvas::AddShape(TdxCustomVectorShape* AShape) { FShapes->Add(AShape); }

void TdxShapeCanvas::Calculate() {
  inherited::Calculate();
  for (int i = 0; i < Count(); ++i) FShapes->Items(i)->Calculate();
}

void TdxShapeCanvas::Draw(TdxGPCanvas* ACanvas) {
  for (int i = 0; i < Count(); ++i) FShapes->Items(i)->Draw(ACanvas);
}

TdxRectF TdxShapeCanvas::ContentBounds() const {
  TdxRectF result;
  for (int i = 0; i < Count(); ++i) {
    const TdxRectF bounds = FShapes->Items(i)->ContentBounds();
    if (bounds.IsEmpty()) continue;
    if (result.IsEmpty())
      result = bounds;
    else
      result.Union(bounds);
  }
  return result;
}

TdxCustomVectorShape* TdxShapeCanvas::GetShape(int AIndex) const {
  return AIndex >= 0 && AIndex < Count() ? FShapes->Items(AIndex) : nullptr;
}

// ---------------------------------------------------------------------------
// Property elements

TClass TdxShapeFakeBrush::TMeta::GetReaderClass() const { return TdxShapeFakeBrushReader::ClassInfo(); }
TClass TdxShapeFakeGradientStops::TMeta::GetReaderClass() const {
  return TdxShapeFakeGradientStopsReader::ClassInfo();
}

// ---------------------------------------------------------------------------
// TdxShapesFactory

std::vector<TdxShapesFactory::TEntry>::const_iterator TdxShapesFactory::Find(const String& AName, bool& AFound) const {
  const auto result = std::lower_bound(FClasses.begin(), FClasses.end(), AName, [](const TEntry& AEntry,
                                                                                    const String& AKey) {
    return CompareText(AEntry.Name, AKey) < 0;
  });
  AFound = result != FClasses.end() && SameText(result->Name, AName);
  return result;
}

void TdxShapesFactory::RegisterShape(TClass AShapeClass) {
  const String name = TdxShapeObject::GetName(AShapeClass);
  bool found;
  const auto position = Find(name, found);
  if (!found) FClasses.insert(position, TEntry{name, AShapeClass});
}

void TdxShapesFactory::UnregisterShape(TClass AShapeClass) {
  bool found;
  const auto position = Find(TdxShapeObject::GetName(AShapeClass), found);
  if (found) FClasses.erase(position);
}

TClass TdxShapesFactory::GetShapeClass(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) dxListIndexError(AIndex);
  return FClasses[static_cast<std::size_t>(AIndex)].ShapeClass;
}

TClass TdxShapesFactory::GetShapeClass(const String& AName) const {
  const std::size_t dot = AName.find(L'.');
  bool found;
  const auto position = Find(dot == String::npos ? AName : AName.substr(dot), found);
  return found ? position->ShapeClass : TdxShapeObject::ClassInfo();
}

namespace {

TdxShapesFactory* GShapesFactory = nullptr;

// The shape classes in the order the unit registers them.
std::array<TClass, 17> RegisteredShapeClasses() {
  return {TdxShapeCanvas::ClassInfo(),
          TdxShapeViewBox::ClassInfo(),
          TdxShapeEllipse::ClassInfo(),
          TdxShapePath::ClassInfo(),
          TdxShapeRectangle::ClassInfo(),
          TdxShapeFakeBrush::ClassInfo(),
          TdxShapeFakeGradientStops::ClassInfo(),
          TdxShapeSolidBrush::ClassInfo(),
          TdxShapeLinearGradientBrush::ClassInfo(),
          TdxShapeRadialGradientBrush::ClassInfo(),
          TdxShapeBrushGradientStop::ClassInfo(),
          TdxShapeFakeRenderTransformation::ClassInfo(),
          TdxShapeFakeRelativeTransformation::ClassInfo(),
          TdxShapeScaleTransformation::ClassInfo(),
          TdxShapeSkewTransformation::ClassInfo(),
          TdxShapeRotateTransformation::ClassInfo(),
          TdxShapeTranslateTransformation::ClassInfo()};
}

}  // namespace

TdxShapesFactory* dxShapesFactory() {
  if (!GShapesFactory && !UnitsFinalizing()) GShapesFactory = New<TdxShapesFactory>();
  return GShapesFactory;
}

void dxShapePrimitivesInitialization() {
  for (TClass shapeClass : RegisteredShapeClasses()) dxShapesFactory()->RegisterShape(shapeClass);
}

void dxShapePrimitivesFinalization() {
  if (!GShapesFactory) return;
  for (TClass shapeClass : RegisteredShapeClasses()) GShapesFactory->UnregisterShape(shapeClass);
  FreeAndNil(GShapesFactory);
}
