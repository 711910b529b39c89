// World transforms, the matrix that accumulates them, plane vectors.
#include "library/core/geometry/cxGeometry.h"

#include <cmath>
#include <numbers>

XFORM MakeRotationXForm(float AAngle) {
  const double t = static_cast<double>(AAngle) * std::numbers::pi / 180;
  const auto c = static_cast<float>(std::cos(t));
  const auto s = static_cast<float>(std::sin(t));
  return MakeXForm(c, s, -s, c, 0, 0);
}

XFORM MakeFlipXForm(bool AFlipHorizontally, bool AFlipVertically, float ACenterX, float ACenterY) {
  return MakeXForm(AFlipHorizontally ? -1.0f : 1.0f, 0, 0, AFlipVertically ? -1.0f : 1.0f,
                   AFlipHorizontally ? 2 * ACenterX : 0.0f, AFlipVertically ? 2 * ACenterY : 0.0f);
}

XFORM CombineXForms(const XFORM& AFirst, const XFORM& ASecond) {
  XFORM result;
  if (!CombineTransform(&result, &AFirst, &ASecond)) {
    // The system refuses only for invalid pointers; compute the product alike.
    result.eM11 = AFirst.eM11 * ASecond.eM11 + AFirst.eM12 * ASecond.eM21;
    result.eM12 = AFirst.eM11 * ASecond.eM12 + AFirst.eM12 * ASecond.eM22;
    result.eM21 = AFirst.eM21 * ASecond.eM11 + AFirst.eM22 * ASecond.eM21;
    result.eM22 = AFirst.eM21 * ASecond.eM12 + AFirst.eM22 * ASecond.eM22;
    result.eDx = AFirst.eDx * ASecond.eM11 + AFirst.eDy * ASecond.eM21 + ASecond.eDx;
    result.eDy = AFirst.eDx * ASecond.eM12 + AFirst.eDy * ASecond.eM22 + ASecond.eDy;
  }
  return result;
}

bool IsIdentityXForm(const XFORM& X) {
  return X.eM11 == 1 && X.eM12 == 0 && X.eM21 == 0 && X.eM22 == 1 && X.eDx == 0 && X.eDy == 0;
}

TdxPointF TransformPointFByXForm(const XFORM& X, const TdxPointF& P) {
  return TdxPointF(P.X * X.eM11 + P.Y * X.eM21 + X.eDx, P.X * X.eM12 + P.Y * X.eM22 + X.eDy);
}

TPoint TransformPointByXForm(const XFORM& X, const TPoint& P) {
  const TdxPointF p = TransformPointFByXForm(X, TdxPointF(P));
  return TPoint(RoundToInt(p.X), RoundToInt(p.Y));
}

TRect TransformRectByXForm(const XFORM& X, const TRect& R) {
  const TPoint topLeft = TransformPointByXForm(X, TPoint(R.Left, R.Top));
  const TPoint bottomRight = TransformPointByXForm(X, TPoint(R.Right, R.Bottom));
  return TRect(topLeft, bottomRight);
}

TdxRectF TransformRectFByXForm(const XFORM& X, const TdxRectF& R) {
  const TdxPointF topLeft = TransformPointFByXForm(X, TdxPointF(R.Left, R.Top));
  const TdxPointF bottomRight = TransformPointFByXForm(X, TdxPointF(R.Right, R.Bottom));
  return TdxRectF(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
}

// ---------------------------------------------------------------------------
// TdxMatrix

void TdxMatrix::Multiply(const XFORM& AXForm, TdxTransformationOrder AOrder) {
  FXForm = AOrder == moPrepend ? CombineXForms(AXForm, FXForm) : CombineXForms(FXForm, AXForm);
}

void TdxMatrix::Rotate(float AAngle, TdxTransformationOrder AOrder) { Multiply(MakeRotationXForm(AAngle), AOrder); }

void TdxMatrix::Rotate(float AAngle, const TdxPointF& APivotPoint, TdxTransformationOrder AOrder) {
  // Prepending builds the chain from its last step back, appending from its first.
  const float s = AOrder == moPrepend ? 1.0f : -1.0f;
  Translate(s * APivotPoint.X, s * APivotPoint.Y, AOrder);
  Rotate(AAngle, AOrder);
  Translate(-s * APivotPoint.X, -s * APivotPoint.Y, AOrder);
}

// ---------------------------------------------------------------------------
// TdxVectors

float TdxVectors::Length(const TdxPointF& V) { return std::sqrt(ScalarProduct(V, V)); }
float TdxVectors::Length(float X, float Y) { return std::sqrt(X * X + Y * Y); }

TdxPointF TdxVectors::Normalize(const TdxPointF& V) {
  const float length = Length(V);
  return length > 0 ? Scale(V, 1 / length) : V;
}

float TdxVectors::Angle(const TdxPointF& A, const TdxPointF& B) {
  const double a = std::atan2(A.Y, A.X);
  const double b = std::atan2(B.Y, B.X);
  return static_cast<float>(a <= b ? b - a : 2 * std::numbers::pi - (a - b));
}
