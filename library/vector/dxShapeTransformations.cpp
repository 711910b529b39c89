#include "library/vector/dxShapeTransformations.h"

#include "library/vector/dxShapeReaders.h"

#include <numbers>

using namespace Gdiplus;

namespace {
float DegreesToRadians(float ADegrees) { return ADegrees * std::numbers::pi_v<float> / 180; }
}  // namespace

// ---------------------------------------------------------------------------
// TdxShapeCustomTransformation, TdxShapeCenterTransformation

void TdxShapeCustomTransformation::Publish(TPublisher<TdxShapeCustomTransformation>& P) {
  P.Property(L"TransformationType", &TdxShapeCustomTransformation::TransformationType);
}

void TdxShapeCustomTransformation::GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF&, const TdxPointF&) const {
  AMatrix->Reset();
}

void TdxShapeCenterTransformation::Publish(TPublisher<TdxShapeCenterTransformation>& P) {
  P.Property(L"CenterX", &TdxShapeCenterTransformation::CenterX, &TdxShapeCenterTransformation::SetCenterX);
  P.Property(L"CenterY", &TdxShapeCenterTransformation::CenterY, &TdxShapeCenterTransformation::SetCenterY);
}

void TdxShapeCenterTransformation::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  auto* source = dynamic_cast<TdxShapeCenterTransformation*>(ASource);
  if (!source) return;
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  SetCenterX(source->CenterX());
  SetCenterY(source->CenterY());
}

// ---------------------------------------------------------------------------
// TdxShapeScaleTransformation

void TdxShapeScaleTransformation::Publish(TPublisher<TdxShapeScaleTransformation>& P) {
  P.Property(L"ScaleX", &TdxShapeScaleTransformation::ScaleX, &TdxShapeScaleTransformation::SetScaleX);
  P.Property(L"ScaleY", &TdxShapeScaleTransformation::ScaleY, &TdxShapeScaleTransformation::SetScaleY);
}

void TdxShapeScaleTransformation::Create() {
  inherited::Create();
  FType = dxsttScale;
  // A scale that names one factor leaves the other side as it is.
  FScale = TdxPointF(1, 1);
}

void TdxShapeScaleTransformation::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  auto* source = dynamic_cast<TdxShapeScaleTransformation*>(ASource);
  if (!source) return;
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  SetScaleX(source->ScaleX());
  SetScaleY(source->ScaleY());
}

void TdxShapeScaleTransformation::GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF&, const TdxPointF&) const {
  AMatrix->SetElements(FScale.X, 0, 0, FScale.Y, 0, 0);
}

// ---------------------------------------------------------------------------
// TdxShapeSkewTransformation

void TdxShapeSkewTransformation::Publish(TPublisher<TdxShapeSkewTransformation>& P) {
  P.Property(L"AngleX", &TdxShapeSkewTransformation::AngleX, &TdxShapeSkewTransformation::SetAngleX);
  P.Property(L"AngleY", &TdxShapeSkewTransformation::AngleY, &TdxShapeSkewTransformation::SetAngleY);
}

void TdxShapeSkewTransformation::Create() {
  inherited::Create();
  FType = dxsttSkew;
}

void TdxShapeSkewTransformation::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  auto* source = dynamic_cast<TdxShapeSkewTransformation*>(ASource);
  if (!source) return;
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  SetAngleX(source->AngleX());
  SetAngleY(source->AngleY());
}

void TdxShapeSkewTransformation::GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF&, const TdxPointF&) const {
  AMatrix->Reset();
  AMatrix->Shear(DegreesToRadians(FAngle.X), DegreesToRadians(FAngle.Y));
}

// ---------------------------------------------------------------------------
// TdxShapeRotateTransformation

void TdxShapeRotateTransformation::Publish(TPublisher<TdxShapeRotateTransformation>& P) {
  P.Property(L"Angle", &TdxShapeRotateTransformation::Angle, &TdxShapeRotateTransformation::SetAngle);
}

void TdxShapeRotateTransformation::Create() {
  inherited::Create();
  FType = dxsttRotate;
}

void TdxShapeRotateTransformation::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxShapeRotateTransformation*>(ASource)) SetAngle(source->Angle());
}

void TdxShapeRotateTransformation::GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds,
                                             const TdxPointF& AShapeOrigin) const {
  TdxPointF pivot(AShapeBounds.Width() * AShapeOrigin.X, AShapeBounds.Height() * AShapeOrigin.Y);
  if (pivot.X == 0) pivot.X = CenterX();
  if (pivot.Y == 0) pivot.Y = CenterY();
  AMatrix->Reset();
  AMatrix->Rotate(FAngle, pivot, MatrixOrderAppend);
}

// ---------------------------------------------------------------------------
// TdxShapeTranslateTransformation

void TdxShapeTranslateTransformation::Publish(TPublisher<TdxShapeTranslateTransformation>& P) {
  P.Property(L"X", &TdxShapeTranslateTransformation::X, &TdxShapeTranslateTransformation::SetX);
  P.Property(L"Y", &TdxShapeTranslateTransformation::Y, &TdxShapeTranslateTransformation::SetY);
}

void TdxShapeTranslateTransformation::Create() {
  inherited::Create();
  FType = dxsttTranslate;
}

void TdxShapeTranslateTransformation::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  auto* source = dynamic_cast<TdxShapeTranslateTransformation*>(ASource);
  if (!source) return;
  BeginUpdate();
  const TScopeExit end([this] { EndUpdate(); });
  SetX(source->X());
  SetY(source->Y());
}

void TdxShapeTranslateTransformation::GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds,
                                                const TdxPointF&) const {
  AMatrix->SetElements(1, 0, 0, 1, FOffset.X + AShapeBounds.Left, FOffset.Y + AShapeBounds.Top);
}

// ---------------------------------------------------------------------------

TClass TdxShapeFakeCustomTransformation::TMeta::GetReaderClass() const {
  return TdxShapeTransformationReader::ClassInfo();
}
