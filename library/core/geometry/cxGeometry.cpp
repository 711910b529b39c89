// Integer geometry routines and the rounding rules.
#include "library/core/geometry/cxGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

// ---------------------------------------------------------------------------
// Rounding rules and tolerances

namespace {

// A double that is not a number or out of the integer range gives the
// nearest end of the range (0 for not a number) rather than undefined behaviour.
int ClampToInt(double AValue) {
  if (std::isnan(AValue)) return 0;
  if (AValue >= 2147483647.0) return INT_MAX;
  if (AValue <= -2147483648.0) return INT_MIN;
  return static_cast<int>(AValue);
}

}  // namespace

int RoundToInt(double AValue) { return ClampToInt(std::nearbyint(AValue)); }
int TruncToInt(double AValue) { return ClampToInt(std::trunc(AValue)); }
int CeilToInt(double AValue) { return ClampToInt(std::ceil(AValue)); }
int FloorToInt(double AValue) { return ClampToInt(std::floor(AValue)); }

bool dxSameValue(float A, float B) {
  const float tolerance = std::max(std::min(std::fabs(A), std::fabs(B)) * dxSingleTolerance, dxSingleTolerance);
  return std::fabs(A - B) <= tolerance;
}

bool dxIsZero(float AValue) { return std::fabs(AValue) <= dxSingleTolerance; }
bool dxIsZero(double AValue) { return std::fabs(AValue) <= static_cast<double>(dxSingleTolerance); }

// ---------------------------------------------------------------------------
// Integer routines

int GetRectBorderValue(const TRect& R, TcxBorder ASide) {
  switch (ASide) {
    case bLeft: return R.Left;
    case bTop: return R.Top;
    case bRight: return R.Right;
    case bBottom: return R.Bottom;
  }
  return 0;
}

TRect SetRectBorderValue(const TRect& R, TcxBorder ASide, int AValue) {
  TRect result = R;
  switch (ASide) {
    case bLeft: result.Left = AValue; break;
    case bTop: result.Top = AValue; break;
    case bRight: result.Right = AValue; break;
    case bBottom: result.Bottom = AValue; break;
  }
  return result;
}

TRect ConvertRectFToRect(const TdxRectF& R, bool AInner) {
  if (AInner) return TRect(CeilToInt(R.Left), CeilToInt(R.Top), FloorToInt(R.Right), FloorToInt(R.Bottom));
  return TRect(FloorToInt(R.Left), FloorToInt(R.Top), CeilToInt(R.Right), CeilToInt(R.Bottom));
}

TPoint ConvertPointFToPoint(const TdxPointF& P, bool ATrunc) {
  if (ATrunc) return TPoint(TruncToInt(P.X), TruncToInt(P.Y));
  return TPoint(RoundToInt(P.X), RoundToInt(P.Y));
}

TSize ConvertSizeFToSize(const TdxSizeF& S, bool ATrunc) {
  if (ATrunc) return TSize(TruncToInt(S.cx), TruncToInt(S.cy));
  return TSize(RoundToInt(S.cx), RoundToInt(S.cy));
}

bool GetRectIntersection(const TRect& A, const TRect& B, TRect& R) {
  R = TRect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom));
  if (IsRectangleEmpty(R)) {
    R = TRect();
    return false;
  }
  return true;
}

bool CheckRectsIntersect(const TRect& A, const TRect& B) {
  TRect r;
  return GetRectIntersection(A, B, r);
}

TRect UnionRectangles(const TRect& A, const TRect& B) {
  if (GetRectWidth(B) <= 0 || GetRectHeight(B) <= 0) return A;
  return TRect(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom));
}

TRect OffsetRectangle(const TRect& R, int DX, int DY, bool APositiveFactor) {
  if (!APositiveFactor) {
    DX = -DX;
    DY = -DY;
  }
  return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

TRect ScaleRectangle(const TRect& R, int NX, int DX, int NY, int DY) {
  return TRect(MulDiv(R.Left, NX, DX), MulDiv(R.Top, NY, DY), MulDiv(R.Right, NX, DX), MulDiv(R.Bottom, NY, DY));
}

TPoint ScalePoint(const TPoint& P, int N, int D) { return TPoint(MulDiv(P.X, N, D), MulDiv(P.Y, N, D)); }
TSize ScaleSize(const TSize& S, int N, int D) { return TSize(MulDiv(S.cx, N, D), MulDiv(S.cy, N, D)); }

TSize ScaleSize(const TSize& S, float AFactor) {
  return TSize(TruncToInt(static_cast<double>(S.cx) * AFactor), TruncToInt(static_cast<double>(S.cy) * AFactor));
}

TRect GetPointsBounds(std::span<const TPoint> APoints, int AHigh) {
  return cxgeometry_detail::PointsBounds<TRect>(APoints, AHigh);
}

TSize FitSizeToAspectRatio(const TSize& S, int AWidth, int AHeight) {
  if (S.cx <= 0 || S.cy <= 0 || AWidth <= 0 || AHeight <= 0) return S;
  const double ratio = static_cast<double>(AWidth) / AHeight;
  const double current = static_cast<double>(S.cx) / S.cy;
  if (ratio > current) return TSize(S.cx, TruncToInt(S.cx / ratio));
  return TSize(TruncToInt(ratio * S.cy), S.cy);
}

String FormatRectText(const TRect& R) { return Format(L"%d;%d;%d;%d", {R.Left, R.Top, R.Right, R.Bottom}); }
String FormatSizeText(const TSize& S) { return Format(L"%dx%d", {S.cx, S.cy}); }

// ---------------------------------------------------------------------------
// Start-up and shut-down: stored forms create TcxRect by name.

void cxGeometryInitialization() { RegisterClass(TcxRect::ClassInfo()); }
void cxGeometryFinalization() { UnRegisterClass(TcxRect::ClassInfo()); }
