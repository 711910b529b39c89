// Single-precision geometry: records, routines, ellipse and arc geometry,
// and the largest rectangle that fits a rotated frame.
#include "library/core/geometry/cxGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegToRad(double AAngle) { return AAngle * Pi / 180; }
constexpr double RadToDeg(double AAngle) { return AAngle * 180 / Pi; }

}  // namespace

// ---------------------------------------------------------------------------
// Records

void TdxPointF::Offset(float DX, float DY, bool APositiveFactor) {
  if (APositiveFactor) {
    X += DX;
    Y += DY;
  } else {
    X -= DX;
    Y -= DY;
  }
}

void TdxPointF::Offset(const TdxSizeF& S, bool APositiveFactor) { Offset(S.cx, S.cy, APositiveFactor); }
void TdxPointF::Scale(const TdxSizeF& S) { Scale(S.cx, S.cy); }

TdxSizeF TdxSizeF::Ceil() const { return TdxSizeF(std::ceil(cx), std::ceil(cy)); }

void TdxSizeF::ChangeScale(int M, int D) {
  cx = static_cast<float>(static_cast<double>(cx) * M / D);
  cy = static_cast<float>(static_cast<double>(cy) * M / D);
}

TdxRectF TdxRectF::Create(const TdxPointF& ACenter, float AWidth, float AHeight) {
  const float left = std::ceil(ACenter.X - AWidth / 2);
  const float top = std::ceil(ACenter.Y - AHeight / 2);
  return TdxRectF(left, top, left + AWidth, top + AHeight);
}

bool TdxRectF::IsZero() const { return dxIsZero(Left) && dxIsZero(Top) && dxIsZero(Right) && dxIsZero(Bottom); }

void TdxRectF::SetCenter(const TdxPointF& APoint) {
  const float w = Width();
  const float h = Height();
  Left = APoint.X - w / 2;
  Top = APoint.Y - h / 2;
  Right = Left + w;
  Bottom = Top + h;
}

void TdxRectF::Intersect(const TdxRectF& R) {
  Left = std::max(Left, R.Left);
  Top = std::max(Top, R.Top);
  Right = std::min(Right, R.Right);
  Bottom = std::min(Bottom, R.Bottom);
  if (Left > Right || Top > Bottom) Empty();
}

void TdxRectF::Union(const TdxRectF& R) {
  Left = std::min(Left, R.Left);
  Top = std::min(Top, R.Top);
  Right = std::max(Right, R.Right);
  Bottom = std::max(Bottom, R.Bottom);
}

void TdxRectF::Normalize() {
  if (Right < Left) std::swap(Left, Right);
  if (Bottom < Top) std::swap(Top, Bottom);
}

TdxRectF TdxRectF::Content(const TRect& AMargins) const {
  return TdxRectF(Left + AMargins.Left, Top + AMargins.Top, Right - AMargins.Right, Bottom - AMargins.Bottom);
}

TdxRectF TdxRectF::Content(const TcxMargin* AMargins) const {
  return AMargins ? Content(AMargins->Margin()) : *this;
}

void TdxRectF::SetMargins(const TdxRectF& AMargins) {
  Left -= AMargins.Left;
  Top -= AMargins.Top;
  Right -= AMargins.Right;
  Bottom -= AMargins.Bottom;
}

void TdxRectF::AdjustByBorder(const TdxSizeF& ASize, TcxBorder ASide) { AdjustByBorder(ASize, ASide, TRect()); }

void TdxRectF::AdjustByBorder(const TdxSizeF& ASize, TcxBorder ASide, const TRect& M) {
  const float w = ASize.cx + static_cast<float>(M.Left + M.Right);
  const float h = ASize.cy + static_cast<float>(M.Top + M.Bottom);
  switch (ASide) {
    case bLeft: Right = std::min(Right, Left + w); break;
    case bTop: Bottom = std::min(Bottom, Top + h); break;
    case bRight: Left = std::max(Left, Right - w); break;
    case bBottom: Top = std::max(Top, Bottom - h); break;
  }
}

void TdxRectF::TruncBorder(const TdxRectF& R, const TcxBorders& ASide, const TRect& M) {
  if (ASide.Contains(bLeft)) Left = std::min(R.Right + static_cast<float>(M.Right), Right);
  if (ASide.Contains(bTop)) Top = std::min(R.Bottom + static_cast<float>(M.Bottom), Bottom);
  if (ASide.Contains(bRight)) Right = std::max(R.Left - static_cast<float>(M.Left), Left);
  if (ASide.Contains(bBottom)) Bottom = std::max(R.Top - static_cast<float>(M.Top), Top);
}

TdxRectF TdxRectF::AlignHorizontally(const TdxSizeF& ASize, TdxAlignment AAlignment) const {
  float left = Left;
  if (AAlignment == TdxAlignment::Center) left = (Left + Right - ASize.cx) / 2;
  else if (AAlignment == TdxAlignment::Far) left = Right - ASize.cx;
  return TdxRectF(left, Top, left + ASize.cx, Top + ASize.cy);
}

TdxRectF TdxRectF::AlignHorizontally(const TdxRectF& R, TdxAlignment AAlignment) const {
  TdxRectF result = AlignHorizontally(TdxSizeF(R.Width(), R.Height()), AAlignment);
  result.Offset(0, R.Top - result.Top);
  return result;
}

TdxRectF TdxRectF::AlignVertically(const TdxSizeF& ASize, TdxAlignment AAlignment) const {
  float top = Top;
  if (AAlignment == TdxAlignment::Center) top = (Top + Bottom - ASize.cy) / 2;
  else if (AAlignment == TdxAlignment::Far) top = Bottom - ASize.cy;
  return TdxRectF(Left, top, Left + ASize.cx, top + ASize.cy);
}

TdxRectF TdxRectF::AlignVertically(const TdxRectF& R, TdxAlignment AAlignment) const {
  TdxRectF result = AlignVertically(TdxSizeF(R.Width(), R.Height()), AAlignment);
  result.Offset(R.Left - result.Left, 0);
  return result;
}

TdxRectF TdxRectF::ZoomInto(const TdxRectF& ABounds) const {
  if (!(Height() > 0) || !(ABounds.Height() > 0)) return *this;
  const double boundsRatio = static_cast<double>(ABounds.Width()) / ABounds.Height();
  const double ratio = static_cast<double>(Width()) / Height();
  TdxRectF result = *this;
  if (boundsRatio > ratio) {
    const double height = ABounds.Height();
    const double width = ratio * height;
    result.Right = static_cast<float>(result.Left + width);
    result.Bottom = static_cast<float>(result.Top + height);
    result.Offset(static_cast<float>((ABounds.Width() - width) / 2 + ABounds.Left), ABounds.Top);
  } else {
    const double width = ABounds.Width();
    const double height = width / ratio;
    result.Right = static_cast<float>(result.Left + width);
    result.Bottom = static_cast<float>(result.Top + height);
    result.Offset(ABounds.Left, static_cast<float>((ABounds.Height() - height) / 2 + ABounds.Top));
  }
  return result;
}

// ---------------------------------------------------------------------------
// Routines

TdxRectF OffsetRectangle(const TdxRectF& R, float DX, float DY, bool APositiveFactor) {
  if (!APositiveFactor) {
    DX = -DX;
    DY = -DY;
  }
  return TdxRectF(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

TdxRectF UnionRectangles(const TdxRectF& A, const TdxRectF& B) {
  if (!(GetRectWidth(B) > 0) || !(GetRectHeight(B) > 0)) return A;
  return TdxRectF(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom));
}

TdxRectF GetPointsBounds(std::span<const TdxPointF> APoints, int AHigh) {
  return cxgeometry_detail::PointsBounds<TdxRectF>(APoints, AHigh);
}

bool IsRectInsideEllipse(const TdxRectF& R, const TdxPointF& ACenter, float ARadiusX, float ARadiusY) {
  auto inside = [&](float X, float Y) {
    const double dx = static_cast<double>(X) - ACenter.X;
    const double dy = static_cast<double>(Y) - ACenter.Y;
    const double rx = ARadiusX;
    const double ry = ARadiusY;
    return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1;
  };
  return inside(R.Left, R.Top) && inside(R.Right, R.Top) && inside(R.Left, R.Bottom) && inside(R.Right, R.Bottom);
}

float NormalizeAngle(float AAngle) {
  if (!std::isfinite(AAngle)) return AAngle;
  double a = std::fmod(static_cast<double>(AAngle), 360.0);
  if (a < 0) a += 360;
  if (a >= 360) a -= 360;
  return static_cast<float>(a);
}

namespace {

// The direction of a point seen from the centre in a y-down plane: 0 to the
// right, pi/2 straight up.
double PointDirection(double ACenterX, double ACenterY, double X, double Y) {
  return Pi - std::atan2(ACenterY - Y, ACenterX - X);
}

}  // namespace

void CalcArcAngles(const TdxRectF& R, const TdxPointF& AStartPoint, const TdxPointF& AEndPoint, float& AStartAngle,
                   float& ASweepAngle) {
  const double cx = R.Left + R.Width() * 0.5;
  const double cy = R.Top + R.Height() * 0.5;
  const double a1 = PointDirection(cx, cy, AStartPoint.X, AStartPoint.Y);
  const double a2 = PointDirection(cx, cy, AEndPoint.X, AEndPoint.Y);
  double sweep = a2 - a1;
  if (sweep < -0.001) sweep += 2 * Pi;
  AStartAngle = static_cast<float>(RadToDeg(a1));
  ASweepAngle = static_cast<float>(RadToDeg(sweep));
}

void GetEllipseArcPoints(const TdxPointF& ACenter, float ARadiusX, float ARadiusY, float AStartAngle,
                         float ASweepAngle, TdxPointF& AStartPoint, TdxPointF& AEndPoint) {
  if (dxIsZero(ARadiusX) || dxIsZero(ARadiusY)) {
    AStartPoint = ACenter;
    AEndPoint = ACenter;
    return;
  }
  auto pointAt = [&](double AAngle) {
    const double t = DegToRad(AAngle);
    const double rx = ARadiusX;
    const double ry = ARadiusY;
    const double s = std::sin(t);
    const double c = std::cos(t);
    const double k = rx * ry / std::sqrt(s * s * rx * rx + c * c * ry * ry);
    return TdxPointF(static_cast<float>(ACenter.X + k * c), static_cast<float>(ACenter.Y - k * s));
  };
  AStartPoint = pointAt(AStartAngle);
  AEndPoint = dxIsZero(ASweepAngle) ? AStartPoint : pointAt(static_cast<double>(AStartAngle) + ASweepAngle);
}

void GetEllipseArcPoints(const TdxRectF& R, float AStartAngle, float ASweepAngle, TdxPointF& AStartPoint,
                         TdxPointF& AEndPoint) {
  GetEllipseArcPoints(R.CenterPoint(), R.Width() / 2, R.Height() / 2, AStartAngle, ASweepAngle, AStartPoint, AEndPoint);
}

TdxRectF GetRotatedRectBounds(const TdxRectF& R, const TdxPointF& APivot, float AAngle) {
  const TOwned<TdxMatrix> matrix(New<TdxMatrix>());
  matrix->Rotate(AAngle, APivot, moPrepend);
  const TdxPointF corners[4] = {matrix->Transform(TdxPointF(R.Left, R.Top)), matrix->Transform(TdxPointF(R.Right, R.Top)),
                                matrix->Transform(TdxPointF(R.Right, R.Bottom)),
                                matrix->Transform(TdxPointF(R.Left, R.Bottom))};
  return GetPointsBounds(corners);
}

// ---------------------------------------------------------------------------
// The largest rectangle rotated by an angle that fits inside a rectangle

namespace {

struct TPointD {
  double X, Y;
};

// Where the lines through (P1, P2) and (P3, P4) cross; false for parallel
// lines or a crossing outside a segment that is restricted.
bool LineIntersection(TPointD P1, TPointD P2, TPointD P3, TPointD P4, bool ARestrictFirst, bool ARestrictSecond,
                      TPointD& AResult) {
  const double d1x = P2.X - P1.X, d1y = P2.Y - P1.Y;
  const double d2x = P4.X - P3.X, d2y = P4.Y - P3.Y;
  const double det = d1x * d2y - d1y * d2x;
  if (std::fabs(det) <= 1e-12) return false;
  const double t = ((P3.X - P1.X) * d2y - (P3.Y - P1.Y) * d2x) / det;
  AResult = {P1.X + t * d1x, P1.Y + t * d1y};
  // A crossing computed on a side of R lies on it only up to rounding: the
  // closed box is widened by far less than any pixel.
  constexpr double e = 1e-6;
  auto within = [&](TPointD A, TPointD B) {
    return AResult.X >= std::min(A.X, B.X) - e && AResult.X <= std::max(A.X, B.X) + e &&
           AResult.Y >= std::min(A.Y, B.Y) - e && AResult.Y <= std::max(A.Y, B.Y) + e;
  };
  if (ARestrictFirst && !within(P1, P2)) return false;
  if (ARestrictSecond && !within(P3, P4)) return false;
  return true;
}

// The points where the line through (P1, P2) crosses the sides of R (top,
// right, bottom, left), each point once.
std::vector<TPointD> RectIntersections(const TdxRectF& R, TPointD P1, TPointD P2) {
  const TPointD tl{R.Left, R.Top}, tr{R.Right, R.Top}, br{R.Right, R.Bottom}, bl{R.Left, R.Bottom};
  const TPointD sides[4][2] = {{tl, tr}, {tr, br}, {bl, br}, {tl, bl}};
  std::vector<TPointD> result;
  for (const auto& side : sides) {
    TPointD p;
    if (!LineIntersection(P1, P2, side[0], side[1], false, true, p)) continue;
    const bool known = std::any_of(result.begin(), result.end(), [&](const TPointD& q) {
      return dxSameValue(static_cast<float>(q.X), static_cast<float>(p.X)) &&
             dxSameValue(static_cast<float>(q.Y), static_cast<float>(p.Y));
    });
    if (!known) result.push_back(p);
  }
  return result;
}

double Round5(double AValue) { return std::round(AValue * 1e5) / 1e5; }

TPointD Map(const XFORM& X, TPointD P) {
  return {P.X * X.eM11 + P.Y * X.eM21 + X.eDx, P.X * X.eM12 + P.Y * X.eM22 + X.eDy};
}

struct TCandidate {
  TPointD TopLeft, BottomRight;
};

}  // namespace

void GetLargestRotatedRect(const TdxRectF& R, float AAngle, TdxPointF& ATopLeft, TdxPointF& ATopRight,
                           TdxPointF& ABottomRight, TdxPointF& ABottomLeft, float& AWidth, float& AHeight) {
  ATopLeft = ATopRight = ABottomRight = ABottomLeft = TdxPointF();
  AWidth = AHeight = 0;
  if (IsRectangleEmpty(R)) return;
  const float angle = NormalizeAngle(AAngle);
  if (dxIsZero(angle)) {
    ATopLeft = TdxPointF(R.Left, R.Top);
    ATopRight = TdxPointF(R.Right, R.Top);
    ABottomRight = TdxPointF(R.Right, R.Bottom);
    ABottomLeft = TdxPointF(R.Left, R.Bottom);
    AWidth = R.Width();
    AHeight = R.Height();
    return;
  }
  const TdxPointF center = R.CenterPoint();
  const TOwned<TdxMatrix> forward(New<TdxMatrix>());
  const TOwned<TdxMatrix> backward(New<TdxMatrix>());
  forward->Rotate(angle, center, moPrepend);
  backward->Rotate(-angle, center, moPrepend);
  const XFORM toRotated = forward->XForm();
  const XFORM fromRotated = backward->XForm();

  // The two ends of the chord at the centre's y + AOffset, in the unrotated
  // frame, left end first; false when the rotated chord does not cross R twice.
  auto chord = [&](double AOffset, TPointD& ALeft, TPointD& ARight) {
    const TPointD a = Map(toRotated, {R.Left, center.Y + AOffset});
    const TPointD b = Map(toRotated, {R.Right, center.Y + AOffset});
    std::vector<TPointD> points = RectIntersections(R, a, b);
    if (points.size() != 2) return false;
    for (TPointD& p : points) p = Map(fromRotated, {Round5(p.X), Round5(p.Y)});
    // Ordered once back in the unrotated frame, where the chord is
    // horizontal: beyond a quarter turn the rotated order is reversed.
    if (points[1].X < points[0].X || (points[1].X == points[0].X && points[1].Y < points[0].Y))
      std::swap(points[0], points[1]);
    ALeft = points[0];
    ARight = points[1];
    return true;
  };

  bool found = false;
  TCandidate best{};
  double bestArea = 0;
  const double limit = std::max(R.Width(), R.Height()) / 2.0;
  for (double h = 0.5; h <= limit; h += 0.5) {
    TPointD l1, r1, l2, r2;
    if (!chord(h, l1, r1) || !chord(-h, l2, r2)) break;
    const TCandidate c{{std::max(l1.X, l2.X), std::min(l1.Y, l2.Y)}, {std::min(r1.X, r2.X), std::max(r1.Y, r2.Y)}};
    const double area = (c.BottomRight.X - c.TopLeft.X) * (c.BottomRight.Y - c.TopLeft.Y);
    if (!found || area > bestArea) {
      found = true;
      best = c;
      bestArea = area;
    }
  }
  if (!found) return;
  auto toPoint = [&](double X, double Y) {
    const TPointD p = Map(toRotated, {X, Y});
    return TdxPointF(static_cast<float>(p.X), static_cast<float>(p.Y));
  };
  ATopLeft = toPoint(best.TopLeft.X, best.TopLeft.Y);
  ATopRight = toPoint(best.BottomRight.X, best.TopLeft.Y);
  ABottomRight = toPoint(best.BottomRight.X, best.BottomRight.Y);
  ABottomLeft = toPoint(best.TopLeft.X, best.BottomRight.Y);
  AWidth = static_cast<float>(best.BottomRight.X - best.TopLeft.X);
  AHeight = static_cast<float>(best.BottomRight.Y - best.TopLeft.Y);
}
