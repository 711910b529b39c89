// Geometry of the control library: integer and single-precision routines,
// the DPI scale factor, publishable geometry objects, world transforms.
//
// Classes in this file:
//   TcxBorder, TcxBorders, TdxAlignment
//   integer routines on TRect, TPoint, TSize            (cxGeometry.cpp)
//   TdxPointF, TdxSizeF, TdxRectF and their routines    (cxGeometry_Float.cpp)
//   IdxScaleFactor, TdxScaleFactor, TdxOwnedScaleFactor (cxGeometry_ScaleFactor.cpp)
//   TcxGeometryObject, TcxPointBasedGeometryObject, TcxSize, TcxRectBasedGeometryObject,
//   TcxOffsets, TcxMargin, TcxRect                      (cxGeometry_Objects.cpp)
//   TdxTransformationOrder, TdxMatrix, TdxVectors, the XFORM routines (cxGeometry_Matrix.cpp)
//
// Conventions, shared by every routine here:
//   - Rectangles are half-open: (x, y) is inside when Left <= x < Right and
//     Top <= y < Bottom. A rectangle is empty unless Left < Right and
//     Top < Bottom. Nothing is normalised silently.
//   - Integer centring halves toward minus infinity (7 -> 3, -3 -> -2).
//   - Float-to-integer conversions name their rule at the call: nearest with
//     an exact half to even, truncation, ceiling or floor. Integer scaling
//     goes through the system's MulDiv (64-bit product, halves away from
//     zero; a zero denominator or an overflow gives -1).
//   - Singles compare equal within 1e-4, relative to the smaller magnitude
//     above 1; a Single is zero within 1e-4.
//   - Angles are degrees at every interface.
//   - A positive factor of true adds an offset, false subtracts it.
#pragma once

#include "library/core/base/dxCoreClasses.h"
#include "platform/runtime/Types.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

class TcxMargin;

enum TcxBorder { bLeft, bTop, bRight, bBottom };
using TcxBorders = TSet<TcxBorder>;
template <>
struct TEnumInfo<TcxBorder> {
  static constexpr const wchar_t* Name = L"TcxBorder";
  static constexpr const wchar_t* Names[] = {L"bLeft", L"bTop", L"bRight", L"bBottom"};
  static constexpr TcxBorder Last = bBottom;
};

enum class TdxAlignment { Default, Near, Center, Far };

// ---------------------------------------------------------------------------
// Rounding rules and tolerances

// Nearest, an exact half to the even neighbour.
int RoundToInt(double AValue);
int TruncToInt(double AValue);
int CeilToInt(double AValue);
int FloorToInt(double AValue);

constexpr float dxSingleTolerance = 1e-4f;
// Equal within 1e-4, relative to the smaller magnitude above 1.
bool dxSameValue(float A, float B);
bool dxIsZero(float AValue);
bool dxIsZero(double AValue);  // within 1e-4 as well

// ---------------------------------------------------------------------------
// Single-precision records

struct TdxSizeF;

struct TdxPointF {
  float X = 0;
  float Y = 0;

  constexpr TdxPointF() = default;
  constexpr TdxPointF(float AX, float AY) : X(AX), Y(AY) {}
  // Exact.
  constexpr TdxPointF(const TPoint& P) : X(static_cast<float>(P.X)), Y(static_cast<float>(P.Y)) {}
  // Each coordinate to the nearest integer, halves to even.
  explicit operator TPoint() const { return TPoint(RoundToInt(X), RoundToInt(Y)); }

  static constexpr TdxPointF Create(float AX, float AY) { return TdxPointF(AX, AY); }
  static constexpr TdxPointF Null() { return TdxPointF(); }
  void Init(float AX, float AY) { X = AX; Y = AY; }
  void Offset(float DX, float DY, bool APositiveFactor = true);
  void Offset(const TdxPointF& P, bool APositiveFactor = true) { Offset(P.X, P.Y, APositiveFactor); }
  void Offset(const TdxSizeF& S, bool APositiveFactor = true);
  void Scale(float DX, float DY) { X *= DX; Y *= DY; }
  void Scale(const TdxPointF& P) { Scale(P.X, P.Y); }
  void Scale(const TdxSizeF& S);

  // Within the float tolerance.
  friend bool operator==(const TdxPointF& P1, const TdxPointF& P2) {
    return dxSameValue(P1.X, P2.X) && dxSameValue(P1.Y, P2.Y);
  }
};

struct TdxSizeF {
  float cx = 0;
  float cy = 0;

  constexpr TdxSizeF() = default;
  constexpr TdxSizeF(float AWidth, float AHeight) : cx(AWidth), cy(AHeight) {}
  // Exact.
  constexpr TdxSizeF(const TSize& S) : cx(static_cast<float>(S.cx)), cy(static_cast<float>(S.cy)) {}
  // Each component truncated toward zero.
  explicit operator TSize() const { return TSize(TruncToInt(cx), TruncToInt(cy)); }

  static constexpr TdxSizeF Create(float AWidth, float AHeight) { return TdxSizeF(AWidth, AHeight); }
  static constexpr TdxSizeF Null() { return TdxSizeF(); }
  void Init(float AWidth, float AHeight) { cx = AWidth; cy = AHeight; }
  // Each component rounded up to a whole number.
  TdxSizeF Ceil() const;
  // Each component times M / D, in double precision.
  void ChangeScale(int M, int D);

  friend bool operator==(const TdxSizeF& S1, const TdxSizeF& S2) {
    return dxSameValue(S1.cx, S2.cx) && dxSameValue(S1.cy, S2.cy);
  }
};

struct TdxRectF {
  float Left = 0;
  float Top = 0;
  float Right = 0;
  float Bottom = 0;

  constexpr TdxRectF() = default;
  constexpr TdxRectF(float ALeft, float ATop, float ARight, float ABottom)
      : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
  // Exact.
  constexpr TdxRectF(const TRect& R)
      : Left(static_cast<float>(R.Left)), Top(static_cast<float>(R.Top)),
        Right(static_cast<float>(R.Right)), Bottom(static_cast<float>(R.Bottom)) {}

  static constexpr TdxRectF Create(float ALeft, float ATop, float ARight, float ABottom) {
    return TdxRectF(ALeft, ATop, ARight, ABottom);
  }
  // The top-left corner snapped up to whole numbers; the size kept.
  static TdxRectF Create(const TdxPointF& ACenter, float AWidth, float AHeight);
  static constexpr TdxRectF CreateSize(float ALeft, float ATop, float AWidth, float AHeight) {
    return TdxRectF(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
  }
  static constexpr TdxRectF Null() { return TdxRectF(); }
  void Init(float ALeft, float ATop, float ARight, float ABottom) { *this = TdxRectF(ALeft, ATop, ARight, ABottom); }
  void InitSize(float ALeft, float ATop, float AWidth, float AHeight) { *this = CreateSize(ALeft, ATop, AWidth, AHeight); }
  void Assign(const TRect& AValue) { *this = TdxRectF(AValue); }

  float Width() const { return Right - Left; }
  float Height() const { return Bottom - Top; }
  void Empty() { *this = TdxRectF(); }
  bool IsEmpty() const { return !(Right > Left && Bottom > Top); }
  bool IsZero() const;
  TdxPointF CenterPoint() const { return TdxPointF((Left + Right) / 2, (Top + Bottom) / 2); }
  TdxPointF TopLeft() const { return TdxPointF(Left, Top); }
  TdxPointF BottomRight() const { return TdxPointF(Right, Bottom); }
  // Keeps the size.
  void SetCenter(const TdxPointF& APoint);
  // Half-open for a point, closed for a rectangle.
  bool Contains(const TdxPointF& P) const { return Left <= P.X && P.X < Right && Top <= P.Y && P.Y < Bottom; }
  bool Contains(const TdxRectF& R) const {
    return R.Left >= Left && R.Right <= Right && R.Top >= Top && R.Bottom <= Bottom;
  }
  // Rectangles that only touch intersect.
  bool IntersectsWith(const TdxRectF& R) const {
    return R.Left <= Right && R.Top <= Bottom && Left <= R.Right && Top <= R.Bottom;
  }
  // Clips each side; only a reversed result becomes the zero rectangle.
  void Intersect(const TdxRectF& R);
  void Union(const TdxRectF& R);
  void Normalize();
  void Offset(float X, float Y) { Left += X; Right += X; Top += Y; Bottom += Y; }
  void Offset(const TdxPointF& ATopLeft) { Offset(ATopLeft.X, ATopLeft.Y); }
  void Inflate(float DX, float DY) { Left -= DX; Top -= DY; Right += DX; Bottom += DY; }
  void Inflate(const TdxPointF& P) { Inflate(P.X, P.Y); }
  void Inflate(const TdxSizeF& S) { Inflate(S.cx, S.cy); }
  void Inflate(float ALeft, float ATop, float ARight, float ABottom) {
    Left -= ALeft; Top -= ATop; Right += ARight; Bottom += ABottom;
  }
  void Inflate(const TdxRectF& R) { Inflate(R.Left, R.Top, R.Right, R.Bottom); }
  TdxRectF Content(const TRect& AMargins) const;
  // The margin object's current value (nil: no margins).
  TdxRectF Content(const TcxMargin* AMargins) const;
  // Subtracts each margin from its own side.
  void SetMargins(const TdxRectF& AMargins);
  // (R.Left - Left, R.Top - Top).
  TdxPointF Distance(const TdxRectF& R) const { return TdxPointF(R.Left - Left, R.Top - Top); }
  // Shrinks toward one side so that at most ASize plus the margins remains.
  void AdjustByBorder(const TdxSizeF& ASize, TcxBorder ASide);
  void AdjustByBorder(const TdxSizeF& ASize, TcxBorder ASide, const TRect& AMargins);
  // Cuts back the sides in ASide so that the rectangle does not overlap R plus AMargin.
  void TruncBorder(const TdxRectF& R, const TcxBorders& ASide, const TRect& AMargin);
  // A rectangle of ASize at Top, placed along the width: Near like Default
  // at Left, Center in the middle, Far at the right.
  TdxRectF AlignHorizontally(const TdxSizeF& ASize, TdxAlignment AAlignment) const;
  TdxRectF AlignHorizontally(const TdxRectF& R, TdxAlignment AAlignment) const;
  // A rectangle of ASize at Left, placed along the height: Near like Default
  // at Top, Center in the middle, Far at the bottom.
  TdxRectF AlignVertically(const TdxSizeF& ASize, TdxAlignment AAlignment) const;
  TdxRectF AlignVertically(const TdxRectF& R, TdxAlignment AAlignment) const;
  // Scaled to fit ABounds with the aspect ratio kept, centred in it.
  TdxRectF ZoomInto(const TdxRectF& ABounds) const;
  TdxRectF ZoomInto(const TdxSizeF& ASize) const { return ZoomInto(TdxRectF(0, 0, ASize.cx, ASize.cy)); }

  friend bool operator==(const TdxRectF& R1, const TdxRectF& R2) {
    return dxSameValue(R1.Left, R2.Left) && dxSameValue(R1.Top, R2.Top) && dxSameValue(R1.Right, R2.Right) &&
           dxSameValue(R1.Bottom, R2.Bottom);
  }
};

// ---------------------------------------------------------------------------
// Integer routines

inline int GetRectWidth(const TRect& R) { return R.Right - R.Left; }
inline int GetRectHeight(const TRect& R) { return R.Bottom - R.Top; }
inline TSize GetRectSize(const TRect& R) { return TSize(GetRectWidth(R), GetRectHeight(R)); }
// The totals of margins held in a rectangle.
inline int SumRectLeftRight(const TRect& R) { return R.Left + R.Right; }
inline int SumRectTopBottom(const TRect& R) { return R.Top + R.Bottom; }
int GetRectBorderValue(const TRect& R, TcxBorder ASide);
TRect SetRectBorderValue(const TRect& R, TcxBorder ASide, int AValue);
inline TRect SetRectWidth(const TRect& R, int W) { return TRect(R.Left, R.Top, R.Left + W, R.Bottom); }
inline TRect SetRectHeight(const TRect& R, int H) { return TRect(R.Left, R.Top, R.Right, R.Top + H); }
inline TRect SetRectSize(const TRect& R, int W, int H) { return TRect(R.Left, R.Top, R.Left + W, R.Top + H); }

inline TRect MakeRectangle(const TSize& ASize) { return TRect(0, 0, ASize.cx, ASize.cy); }
inline TRect MakeRectangle(int L, int T, int R, int B) { return TRect(L, T, R, B); }
inline TRect MakeRectangle(const TPoint& ATopLeft, const TPoint& ABottomRight) { return TRect(ATopLeft, ABottomRight); }
inline TRect MakeBoundsRect(int X, int Y, int W, int H) { return TRect(X, Y, X + W, Y + H); }
inline TRect MakeBoundsRect(int X, int Y, const TSize& ASize) { return MakeBoundsRect(X, Y, ASize.cx, ASize.cy); }
inline TPoint MakePoint(int X, int Y) { return TPoint(X, Y); }
inline TPoint CopyPoint(const TPoint& P) { return P; }
inline TSize MakeSize(int V) { return TSize(V, V); }
inline TSize MakeSize(int cx, int cy) { return TSize(cx, cy); }

// AInner: the largest integer rectangle inside R; otherwise the smallest that covers it.
TRect ConvertRectFToRect(const TdxRectF& R, bool AInner = false);
// Truncated toward zero with ATrunc, otherwise nearest with halves to even.
TPoint ConvertPointFToPoint(const TdxPointF& P, bool ATrunc = false);
TSize ConvertSizeFToSize(const TdxSizeF& S, bool ATrunc = false);
inline TdxRectF ConvertRectToRectF(const TRect& R) { return TdxRectF(R); }
inline TdxPointF ConvertPointToPointF(const TPoint& P) { return TdxPointF(P); }
inline TdxSizeF ConvertSizeToSizeF(const TSize& S) { return TdxSizeF(S); }

inline bool IsRectangleEmpty(const TRect& R) { return !(R.Left < R.Right && R.Top < R.Bottom); }
inline bool IsZeroRect(const TRect& R) { return R.Left == 0 && R.Top == 0 && R.Right == 0 && R.Bottom == 0; }
inline bool AreRectsEqual(const TRect& A, const TRect& B) { return A == B; }
inline bool AreRectSizesEqual(const TRect& A, const TRect& B) {
  return GetRectWidth(A) == GetRectWidth(B) && GetRectHeight(A) == GetRectHeight(B);
}
inline bool IsPointInRectangle(const TRect& R, int X, int Y) { return R.Left <= X && X < R.Right && R.Top <= Y && Y < R.Bottom; }
inline bool IsPointInRectangle(const TRect& R, const TPoint& P) { return IsPointInRectangle(R, P.X, P.Y); }
inline bool ArePointsEqual(const TPoint& A, const TPoint& B) { return A == B; }
inline bool IsZeroPoint(const TPoint& P) { return P.X == 0 && P.Y == 0; }
inline bool AreSizesEqual(const TSize& A, const TSize& B) { return A == B; }
inline bool IsZeroSize(const TSize& S) { return S.cx == 0 && S.cy == 0; }
inline bool HasPositiveSize(const TSize& S) { return S.cx >= 1 && S.cy >= 1; }

// R = the overlap; an empty overlap gives the zero rectangle and false.
bool GetRectIntersection(const TRect& A, const TRect& B, TRect& R);
bool CheckRectsIntersect(const TRect& A, const TRect& B);
// A unchanged when B has no positive width and height; otherwise each side
// pushed out to B's where B reaches further (A is not tested).
TRect UnionRectangles(const TRect& A, const TRect& B);
inline TRect InflateRectangle(const TRect& R, int DX, int DY) { return TRect(R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY); }
inline TRect InflateRectangle(const TRect& R, int DX1, int DY1, int DX2, int DY2) {
  return TRect(R.Left - DX1, R.Top - DY1, R.Right + DX2, R.Bottom + DY2);
}
inline TRect InflateRectangle(const TRect& R, int D) { return InflateRectangle(R, D, D); }
inline TRect InflateRectangle(const TRect& R, const TRect& AMargins) {
  return InflateRectangle(R, AMargins.Left, AMargins.Top, AMargins.Right, AMargins.Bottom);
}
inline TRect GetContentRect(const TRect& R, const TRect& AMargins) {
  return TRect(R.Left + AMargins.Left, R.Top + AMargins.Top, R.Right - AMargins.Right, R.Bottom - AMargins.Bottom);
}
inline TRect OffsetRectSides(const TRect& R, int DL, int DT, int DR, int DB) {
  return TRect(R.Left + DL, R.Top + DT, R.Right + DR, R.Bottom + DB);
}
inline TRect OffsetRectSides(const TRect& R, const TRect& D) { return OffsetRectSides(R, D.Left, D.Top, D.Right, D.Bottom); }
TRect OffsetRectangle(const TRect& R, int DX, int DY, bool APositiveFactor = true);
inline TRect OffsetRectangle(const TRect& R, const TPoint& P, bool APositiveFactor = true) {
  return OffsetRectangle(R, P.X, P.Y, APositiveFactor);
}
inline TRect OffsetRectHorizontally(const TRect& R, int DX) { return OffsetRectangle(R, DX, 0); }
inline TRect OffsetRectVertically(const TRect& R, int DY) { return OffsetRectangle(R, 0, DY); }
inline TRect MoveRectLeft(const TRect& R, int X, int W) { return TRect(X, R.Top, X + W, R.Bottom); }
inline TRect MoveRectLeft(const TRect& R, int X) { return MoveRectLeft(R, X, GetRectWidth(R)); }
inline TRect MoveRectTop(const TRect& R, int Y, int H) { return TRect(R.Left, Y, R.Right, Y + H); }
inline TRect MoveRectTop(const TRect& R, int Y) { return MoveRectTop(R, Y, GetRectHeight(R)); }
inline TRect MoveRectRight(const TRect& R, int X, int W) { return TRect(X - W, R.Top, X, R.Bottom); }
inline TRect MoveRectRight(const TRect& R, int X) { return MoveRectRight(R, X, GetRectWidth(R)); }
inline TRect MoveRectBottom(const TRect& R, int Y, int H) { return TRect(R.Left, Y - H, R.Right, Y); }
inline TRect MoveRectBottom(const TRect& R, int Y) { return MoveRectBottom(R, Y, GetRectHeight(R)); }
inline TRect MoveRectToPoint(const TRect& R, const TPoint& P) { return MakeBoundsRect(P.X, P.Y, GetRectWidth(R), GetRectHeight(R)); }
inline TRect MoveRectToOrigin(const TRect& R) { return MoveRectToPoint(R, TPoint(0, 0)); }
inline TRect TransposeRect(const TRect& R) { return TRect(R.Top, R.Left, R.Bottom, R.Right); }
TRect ScaleRectangle(const TRect& R, int NX, int DX, int NY, int DY);
// The half of a sum, toward minus infinity.
constexpr int dxHalfDown(int ASum) { return (ASum - (ASum & 1)) >> 1; }
inline TPoint GetRectCenter(const TRect& R) {
  return TPoint(dxHalfDown(R.Left + R.Right), dxHalfDown(R.Top + R.Bottom));
}
inline TRect GetCenteredRect(const TRect& R, int W, int H) {
  const int left = dxHalfDown(R.Left + R.Right - W);
  const int top = dxHalfDown(R.Top + R.Bottom - H);
  return TRect(left, top, left + W, top + H);
}
inline TRect GetCenteredRect(const TRect& R, const TSize& ASize) { return GetCenteredRect(R, ASize.cx, ASize.cy); }
inline TRect CenterRectHorizontally(const TRect& R, int W) {
  const int left = dxHalfDown(R.Left + R.Right - W);
  return TRect(left, R.Top, left + W, R.Bottom);
}
inline TRect CenterRectVertically(const TRect& R, int H) {
  const int top = dxHalfDown(R.Top + R.Bottom - H);
  return TRect(R.Left, top, R.Right, top + H);
}

inline TPoint NegatePoint(const TPoint& P) { return TPoint(-P.X, -P.Y); }
inline TPoint OffsetPointBy(const TPoint& P, int DX, int DY, bool APositiveFactor = true) {
  return APositiveFactor ? TPoint(P.X + DX, P.Y + DY) : TPoint(P.X - DX, P.Y - DY);
}
inline TPoint OffsetPointBy(const TPoint& P, const TPoint& Q, bool APositiveFactor) {
  return OffsetPointBy(P, Q.X, Q.Y, APositiveFactor);
}
inline TPoint OffsetPointBy(const TPoint& P, int D) { return TPoint(P.X + D, P.Y + D); }
TPoint ScalePoint(const TPoint& P, int N, int D);
TSize ScaleSize(const TSize& S, int N, int D);
// Each component times AFactor, truncated toward zero.
TSize ScaleSize(const TSize& S, float AFactor);
namespace cxgeometry_detail {
// (min X, min Y, max X, max Y) of APoints[0..AHigh]; a highest index beyond
// the array is read as the array's own last one; a negative AHigh or no
// points give the empty rectangle.
template <class R, class P>
R PointsBounds(std::span<const P> APoints, int AHigh) {
  if (AHigh < 0 || APoints.empty()) return R();
  const std::size_t last = std::min(static_cast<std::size_t>(AHigh), APoints.size() - 1);
  R r(APoints[0].X, APoints[0].Y, APoints[0].X, APoints[0].Y);
  for (std::size_t i = 1; i <= last; ++i) {
    r.Left = std::min(r.Left, APoints[i].X);
    r.Top = std::min(r.Top, APoints[i].Y);
    r.Right = std::max(r.Right, APoints[i].X);
    r.Bottom = std::max(r.Bottom, APoints[i].Y);
  }
  return r;
}
}  // namespace cxgeometry_detail

// The inclusive bounds of APoints[0..AHigh] (Right is the largest X itself);
// a negative AHigh gives the null rectangle.
TRect GetPointsBounds(std::span<const TPoint> APoints, int AHigh);
inline TRect GetPointsBounds(std::span<const TPoint> APoints) {
  return GetPointsBounds(APoints, static_cast<int>(APoints.size()) - 1);
}
inline TSize InflateSizeByMargins(const TSize& S, const TRect& AMargins) {
  return TSize(S.cx + AMargins.Left + AMargins.Right, S.cy + AMargins.Top + AMargins.Bottom);
}
inline TSize GetMaxSize(const TSize& A, const TSize& B) {
  return TSize(A.cx > B.cx ? A.cx : B.cx, A.cy > B.cy ? A.cy : B.cy);
}
// S with one side shortened (truncated) to the ratio AWidth : AHeight; S as
// it is when any value is not positive.
TSize FitSizeToAspectRatio(const TSize& S, int AWidth, int AHeight);
inline TSize FitSizeToAspectRatio(const TSize& S, const TSize& ARatio) {
  return FitSizeToAspectRatio(S, ARatio.cx, ARatio.cy);
}

// "1;2;30;40" and "16x16"; nothing parses them back.
String FormatRectText(const TRect& R);
String FormatSizeText(const TSize& S);

// ---------------------------------------------------------------------------
// Single-precision routines

inline float GetRectWidth(const TdxRectF& R) { return R.Right - R.Left; }
inline float GetRectHeight(const TdxRectF& R) { return R.Bottom - R.Top; }
// Also true when a compared value is not a number.
inline bool IsRectangleEmpty(const TdxRectF& R) { return !(R.Left < R.Right && R.Top < R.Bottom); }
inline TdxRectF MakeRectF(float L, float T, float R, float B) { return TdxRectF(L, T, R, B); }
inline TdxRectF MakeRectF(const TdxPointF& ATopLeft, const TdxPointF& ABottomRight) {
  return TdxRectF(ATopLeft.X, ATopLeft.Y, ABottomRight.X, ABottomRight.Y);
}
inline TdxRectF MakeBoundsRect(float X, float Y, float W, float H) { return TdxRectF(X, Y, X + W, Y + H); }
inline TdxRectF SetRectSize(const TdxRectF& R, const TdxSizeF& S) { return TdxRectF(R.Left, R.Top, R.Left + S.cx, R.Top + S.cy); }
inline TdxPointF MakePointF(float X, float Y) { return TdxPointF(X, Y); }
inline TdxSizeF MakeSizeF(float cx, float cy) { return TdxSizeF(cx, cy); }
inline TdxRectF InflateRectangle(const TdxRectF& R, float D) { return TdxRectF(R.Left - D, R.Top - D, R.Right + D, R.Bottom + D); }
inline TdxRectF InflateRectangle(const TdxRectF& R, const TdxRectF& AMargins) {
  return TdxRectF(R.Left - AMargins.Left, R.Top - AMargins.Top, R.Right + AMargins.Right, R.Bottom + AMargins.Bottom);
}
inline TdxRectF GetContentRect(const TdxRectF& R, const TdxRectF& AMargins) {
  return TdxRectF(R.Left + AMargins.Left, R.Top + AMargins.Top, R.Right - AMargins.Right, R.Bottom - AMargins.Bottom);
}
TdxRectF OffsetRectangle(const TdxRectF& R, float DX, float DY, bool APositiveFactor = true);
inline TdxRectF OffsetRectangle(const TdxRectF& R, const TdxPointF& P, bool APositiveFactor = true) {
  return OffsetRectangle(R, P.X, P.Y, APositiveFactor);
}
inline TdxPointF OffsetPointBy(const TdxPointF& P, float DX, float DY, bool APositiveFactor = true) {
  return APositiveFactor ? TdxPointF(P.X + DX, P.Y + DY) : TdxPointF(P.X - DX, P.Y - DY);
}
inline TdxPointF OffsetPointBy(const TdxPointF& P, const TdxPointF& Q, bool APositiveFactor) {
  return OffsetPointBy(P, Q.X, Q.Y, APositiveFactor);
}
inline TdxRectF ScaleRectangle(const TdxRectF& R, float AFactor) {
  return TdxRectF(R.Left * AFactor, R.Top * AFactor, R.Right * AFactor, R.Bottom * AFactor);
}
inline TdxPointF ScalePoint(const TdxPointF& P, float AFactor) { return TdxPointF(P.X * AFactor, P.Y * AFactor); }
// A unchanged when B's width or height is not positive (or not a number).
TdxRectF UnionRectangles(const TdxRectF& A, const TdxRectF& B);
inline TdxPointF GetRectCenter(const TdxRectF& R) { return TdxPointF((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
inline TdxRectF GetCenteredRect(const TdxRectF& R, float W, float H) {
  const float left = (R.Left + R.Right - W) * 0.5f;
  const float top = (R.Top + R.Bottom - H) * 0.5f;
  return TdxRectF(left, top, left + W, top + H);
}
inline bool ArePointsEqual(const TdxPointF& A, const TdxPointF& B) { return A == B; }
// (min X, min Y, max X, max Y) of APoints[0..AHigh]; a negative AHigh gives the zero rectangle.
TdxRectF GetPointsBounds(std::span<const TdxPointF> APoints, int AHigh);
inline TdxRectF GetPointsBounds(std::span<const TdxPointF> APoints) {
  return GetPointsBounds(APoints, static_cast<int>(APoints.size()) - 1);
}
inline TdxRectF MakeRectFAroundPoint(float ACenterX, float ACenterY, float ARadiusX, float ARadiusY) {
  return TdxRectF(ACenterX - ARadiusX, ACenterY - ARadiusY, ACenterX + ARadiusX, ACenterY + ARadiusY);
}
inline TdxRectF MakeRectFAroundPoint(const TdxPointF& ACenter, float ARadiusX, float ARadiusY) {
  return MakeRectFAroundPoint(ACenter.X, ACenter.Y, ARadiusX, ARadiusY);
}
inline TdxRectF MakeRectFAroundPoint(const TdxPointF& ACenter, float ARadius) {
  return MakeRectFAroundPoint(ACenter, ARadius, ARadius);
}
// Every corner of R (top-left, top-right, bottom-left, bottom-right) inside the ellipse.
bool IsRectInsideEllipse(const TdxRectF& R, const TdxPointF& ACenter, float ARadiusX, float ARadiusY);
inline double MulDivFloat(double AValue, double ANumerator, double ADenominator) {
  return AValue * ANumerator / ADenominator;
}
// Into 0 <= angle < 360 by whole turns; a value that is not a number stays.
float NormalizeAngle(float AAngle);
// The start angle and sweep (degrees, counter-clockwise on the screen) of the
// arc of the ellipse in R from the direction of AStartPoint to that of AEndPoint.
void CalcArcAngles(const TdxRectF& R, const TdxPointF& AStartPoint, const TdxPointF& AEndPoint,
                   float& AStartAngle, float& ASweepAngle);
// The points of the ellipse at the start angle and at start + sweep.
void GetEllipseArcPoints(const TdxRectF& R, float AStartAngle, float ASweepAngle, TdxPointF& AStartPoint,
                         TdxPointF& AEndPoint);
void GetEllipseArcPoints(const TdxPointF& ACenter, float ARadiusX, float ARadiusY, float AStartAngle,
                         float ASweepAngle, TdxPointF& AStartPoint, TdxPointF& AEndPoint);
// The bounds of R's corners rotated by AAngle about APivot.
TdxRectF GetRotatedRectBounds(const TdxRectF& R, const TdxPointF& APivot, float AAngle);
// The largest rectangle rotated by AAngle that fits inside R: its corners
// (in R's plane) and its size; zero corners and size when none is found.
void GetLargestRotatedRect(const TdxRectF& R, float AAngle, TdxPointF& ATopLeft, TdxPointF& ATopRight,
                           TdxPointF& ABottomRight, TdxPointF& ABottomLeft, float& AWidth, float& AHeight);

// ---------------------------------------------------------------------------
// Scale factor

class TdxScaleFactor;

struct IdxScaleFactor : public virtual IInterface {
  static constexpr GUID IID = {0x367A805A, 0xA84B, 0x441A, {0x83, 0xA3, 0x6A, 0x7E, 0x48, 0x9D, 0x3B, 0x6C}};
  virtual TdxScaleFactor* GetScaleFactor() = 0;

 protected:
  ~IdxScaleFactor() = default;
};

// M / D is the new ratio divided by the old one (not reduced).
using TdxScaleFactorNotifyEvent = Delegate<void(TObject* Sender, int M, int D, bool IsLoading)>;

// Reduces N / D when both are at least 2.
void ReduceFraction(int& N, int& D);

// The ratio of an object's current DPI to its design DPI, kept reduced. Every
// scaling operation returns its input unchanged while the factor is 1.
class TdxScaleFactor : public TObject {
  SK_CLASS(TdxScaleFactor, TObject)
 public:
  void Create();

  // Properties
  int Numerator() const { return FNumerator; }
  int Denominator() const { return FDenominator; }
  // The factor is not 1.
  bool Assigned() const { return FNumerator != FDenominator; }

  // Value management. Listeners hear of each real change once, after it is stored.
  void Assign(int ANumerator, int ADenominator, bool AIsLoading);
  void Assign(const TdxScaleFactor* ASource) { Assign(ASource->FNumerator, ASource->FDenominator, false); }
  // Multiplies the current ratio.
  void Change(int ANumerator, int ADenominator) { Assign(ANumerator * FNumerator, ADenominator * FDenominator, false); }
  // The same ratio, whatever the reduction.
  bool Equals(const TdxScaleFactor* AOther) const {
    return static_cast<std::int64_t>(AOther->FNumerator) * FDenominator ==
           static_cast<std::int64_t>(AOther->FDenominator) * FNumerator;
  }
  // A handler may be added more than once; removal takes its first occurrence.
  void ListenerAdd(const TdxScaleFactorNotifyEvent& AHandler) { FListeners.push_back(AHandler); }
  void ListenerRemove(const TdxScaleFactorNotifyEvent& AHandler);
  // Also for an absent factor.
  static void ListenerRemove(TdxScaleFactor* AFactor, const TdxScaleFactorNotifyEvent& AHandler) {
    if (AFactor) AFactor->ListenerRemove(AHandler);
  }
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }

  // Scaling: integers through MulDiv(V, Numerator, Denominator).
  int Apply(int V) const { return Assigned() ? MulDiv(V, FNumerator, FDenominator) : V; }
  TPoint Apply(const TPoint& V) const;
  TSize Apply(const TSize& V) const;
  // Each side on its own (the width may differ by one from the scaled width).
  TRect Apply(const TRect& V) const;
  // V is a value at ASource's scale, converted to this factor's scale.
  int Apply(int V, const TdxScaleFactor* ASource) const;
  TPoint Apply(const TPoint& V, const TdxScaleFactor* ASource) const;
  TSize Apply(const TSize& V, const TdxScaleFactor* ASource) const;
  TRect Apply(const TRect& V, const TdxScaleFactor* ASource) const;
  int Apply(int V, int ASourceNumerator, int ASourceDenominator) const;
  TPoint Apply(const TPoint& V, int ASourceNumerator, int ASourceDenominator) const;
  TSize Apply(const TSize& V, int ASourceNumerator, int ASourceDenominator) const;
  TRect Apply(const TRect& V, int ASourceNumerator, int ASourceDenominator) const;
  // Floats: in extended precision, returned in the argument's precision.
  float ApplyF(float V) const;
  double ApplyF(double V) const;
  // The ratio first rounded to a Single, then each coordinate times it.
  TdxPointF ApplyF(const TdxPointF& V) const;
  TdxSizeF ApplyF(const TdxSizeF& V) const;
  TdxRectF ApplyF(const TdxRectF& V) const;
  int Revert(int V) const { return Assigned() ? MulDiv(V, FDenominator, FNumerator) : V; }
  TPoint Revert(const TPoint& V) const;
  TSize Revert(const TSize& V) const;
  TRect Revert(const TRect& V) const;
  float RevertF(float V) const;
  double RevertF(double V) const;
  TdxPointF RevertF(const TdxPointF& V) const;
  TdxSizeF RevertF(const TdxSizeF& V) const;
  TdxRectF RevertF(const TdxRectF& V) const;

 protected:
  // Calls each listener, in the order of addition, unless M = D.
  virtual void NotifyChange(int M, int D, bool AIsLoading);
  // The effective ratio from ASource's scale to this one, reduced; false
  // (arguments unchanged) when the two ratios are equal.
  bool GetSourceRatio(int& ASourceNumerator, int& ASourceDenominator) const;

 private:
  int FNumerator;
  int FDenominator;
  std::vector<TdxScaleFactorNotifyEvent> FListeners;
};

// Follows its owner's factor while UseOwnerValue is on; an assignment made
// outside loading switches it off.
class TdxOwnedScaleFactor : public TdxScaleFactor {
  SK_CLASS(TdxOwnedScaleFactor, TdxScaleFactor)
 public:
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TdxScaleFactor* Owner() const { return FOwner; }
  // Ignores the current owner and the factor itself; takes the new owner's
  // value at once while UseOwnerValue is on.
  void SetOwner(TdxScaleFactor* AValue);
  bool UseOwnerValue() const { return FUseOwnerValue; }
  void SetUseOwnerValue(bool AValue);

 protected:
  void NotifyChange(int M, int D, bool AIsLoading) override;
  void OwnerChangeHandler(TObject* Sender, int M, int D, bool IsLoading);
  void UpdateFromOwner(bool AIsLoading);

 private:
  TdxScaleFactor* FOwner;
  bool FUseOwnerValue;
};

// ---------------------------------------------------------------------------
// Geometry objects: publishable sizes, offsets, margins and rectangles that
// report every change through OnChange.

class TcxGeometryObject : public TcxLockablePersistent {
  SK_CLASS(TcxGeometryObject, TcxLockablePersistent)
 public:
  static void Publish(TPublisher<TcxGeometryObject>& P);

  // At most one OnChange for the whole scaling.
  void ChangeScale(int M, int D);
  virtual void LoadFromStream(TStream* AStream) = 0;
  virtual void SaveToStream(TStream* AStream) = 0;

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  void DoChanged() override;
  virtual void DoChangeScale(int M, int D) = 0;

 private:
  TNotifyEvent FOnChange;
};

class TcxPointBasedGeometryObject : public TcxGeometryObject {
  SK_CLASS(TcxPointBasedGeometryObject, TcxGeometryObject)
 public:
  void Create(TPersistent* AOwner) override { Create(AOwner, 0, 0); }
  // Value and default both (ADefaultX, ADefaultY); no change is reported.
  virtual void Create(TPersistent* AOwner, int ADefaultX, int ADefaultY);

  virtual TPoint GetValue() const;
  virtual void SetValue(const TPoint& AValue);
  virtual int GetValueByIndex(int AIndex) const;
  virtual void SetValueByIndex(int AIndex, int AValue);
  virtual bool IsValueStored(int AIndex) const;
  const TPoint& DefaultValue() const { return FDefaultValue; }
  void Reset() { SetValue(FDefaultValue); }
  bool IsDefault() const { return FValue == FDefaultValue; }
  bool IsEmpty() const { return FValue.IsZero(); }
  bool IsEqual(const TPoint& AValue) const { return FValue == AValue; }
  bool IsEqual(const TSize& AValue) const { return FValue == TPoint(AValue.cx, AValue.cy); }
  bool IsEqual(const TcxPointBasedGeometryObject* AObject) const { return FValue == AObject->FValue; }

  // 8 bytes: X then Y, signed 32-bit little-endian.
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  virtual void AdjustValue(TPoint&) {}
  void DoAssign(TPersistent* ASource) override;
  void DoChangeScale(int M, int D) override;

 private:
  TPoint FValue;
  TPoint FDefaultValue;
};

// (Width, Height); negative components are stored as 0.
class TcxSize : public TcxPointBasedGeometryObject {
  SK_CLASS(TcxSize, TcxPointBasedGeometryObject)
 public:
  static void Publish(TPublisher<TcxSize>& P);
  using inherited::Create;
  void Create(TPersistent* AOwner, const TSize& ADefaultValue) { inherited::Create(AOwner, ADefaultValue.cx, ADefaultValue.cy); }

  int Width() const { return GetValueByIndex(0); }
  void SetWidth(int AValue) { SetValueByIndex(0, AValue); }
  int Height() const { return GetValueByIndex(1); }
  void SetHeight(int AValue) { SetValueByIndex(1, AValue); }
  TSize Size() const { const TPoint v = GetValue(); return TSize(v.X, v.Y); }
  void SetSize(const TSize& AValue) { SetValue(TPoint(AValue.cx, AValue.cy)); }
  TSize Value() const { return Size(); }
  // "%dx%d".
  String ToString() const { return FormatSizeText(Size()); }

 protected:
  void AdjustValue(TPoint& AValue) override;

 private:
  bool IsWidthStored() const { return IsValueStored(0); }
  bool IsHeightStored() const { return IsValueStored(1); }
};

class TcxRectBasedGeometryObject : public TcxGeometryObject {
  SK_CLASS(TcxRectBasedGeometryObject, TcxGeometryObject)
 public:
  static void Publish(TPublisher<TcxRectBasedGeometryObject>& P);
  void Create(TPersistent* AOwner) override { Create(AOwner, TRect()); }
  // Stores the default, then Reset.
  virtual void Create(TPersistent* AOwner, const TRect& ADefaultValue);
  void Create(TPersistent* AOwner, int ADefaultValue) {
    Create(AOwner, TRect(ADefaultValue, ADefaultValue, ADefaultValue, ADefaultValue));
  }

  const TRect& Value() const { return FValue; }
  void SetValue(const TRect& AValue);
  const TRect& DefaultValue() const { return FDefaultValue; }
  // Side by index: 0 Left, 1 Top, 2 Right, 3 Bottom.
  int GetValueByIndex(int AIndex) const { return GetRectBorderValue(FValue, static_cast<TcxBorder>(AIndex)); }
  void SetValueByIndex(int AIndex, int AValue) {
    SetValue(SetRectBorderValue(FValue, static_cast<TcxBorder>(AIndex), AValue));
  }
  int Left() const { return FValue.Left; }
  void SetLeft(int AValue) { SetValueByIndex(0, AValue); }
  int Top() const { return FValue.Top; }
  void SetTop(int AValue) { SetValueByIndex(1, AValue); }
  int Right() const { return FValue.Right; }
  void SetRight(int AValue) { SetValueByIndex(2, AValue); }
  int Bottom() const { return FValue.Bottom; }
  void SetBottom(int AValue) { SetValueByIndex(3, AValue); }
  int Width() const { return GetWidth(); }
  void SetWidth(int AValue) { DoSetWidth(AValue); }
  int Height() const { return GetHeight(); }
  void SetHeight(int AValue) { DoSetHeight(AValue); }

  void Reset() { SetValue(FDefaultValue); }
  bool IsDefault() const { return FValue == FDefaultValue; }
  bool IsEqual(const TRect& AValue) const { return FValue == AValue; }
  bool IsEqual(const TcxRectBasedGeometryObject* AObject) const { return FValue == AObject->FValue; }
  virtual bool IsEmpty() const { return IsRectangleEmpty(FValue); }
  virtual bool IsValueStored(int AIndex) const;
  // "%d;%d;%d;%d".
  String ToString() const { return FormatRectText(FValue); }

  // 16 bytes: Left, Top, Right, Bottom, signed 32-bit little-endian.
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  virtual int GetHeight() const { return FValue.Bottom - FValue.Top; }
  virtual int GetWidth() const { return FValue.Right - FValue.Left; }
  virtual void DoSetHeight(int AValue) { SetValue(TRect(FValue.Left, FValue.Top, FValue.Right, FValue.Top + AValue)); }
  virtual void DoSetWidth(int AValue) { SetValue(TRect(FValue.Left, FValue.Top, FValue.Left + AValue, FValue.Bottom)); }
  virtual void AdjustValue(TRect&) {}
  void DoAssign(TPersistent* ASource) override;
  void DoChangeScale(int M, int D) override;

 private:
  bool IsLeftStored() const { return IsValueStored(0); }
  bool IsTopStored() const { return IsValueStored(1); }
  bool IsRightStored() const { return IsValueStored(2); }
  bool IsBottomStored() const { return IsValueStored(3); }

  TRect FValue;
  TRect FDefaultValue;
};

// The rectangle read as four independent side offsets.
class TcxOffsets : public TcxRectBasedGeometryObject {
  SK_CLASS(TcxOffsets, TcxRectBasedGeometryObject)
 public:
  static void Publish(TPublisher<TcxOffsets>& P);

  // The common value of the four sides, or -1 when they differ.
  int All() const;
  // -1 restores the default sides; any other value sets all four.
  void SetAll(int AValue);
  // All four sides 0.
  bool IsEmpty() const override { return IsZeroRect(Value()); }
  // Only while All is -1.
  bool IsValueStored(int AIndex) const override;

 protected:
  int GetHeight() const override { return Value().Top + Value().Bottom; }
  int GetWidth() const override { return Value().Left + Value().Right; }
  void DoSetHeight(int AValue) override { SetValue(TRect(Value().Left, Value().Top, Value().Right, AValue - Value().Top)); }
  void DoSetWidth(int AValue) override { SetValue(TRect(Value().Left, Value().Top, AValue - Value().Left, Value().Bottom)); }

 private:
  bool IsAllStored() const;
};

class TcxMargin : public TcxOffsets {
  SK_CLASS(TcxMargin, TcxOffsets)
 public:
  const TRect& Margin() const { return Value(); }
  void SetMargin(const TRect& AValue) { SetValue(AValue); }
};

// The rectangle read as a rectangle with corner points.
class TcxRect : public TcxRectBasedGeometryObject {
  SK_CLASS(TcxRect, TcxRectBasedGeometryObject)
 public:
  const TRect& Rect() const { return Value(); }
  void SetRect(const TRect& AValue) { SetValue(AValue); }
  TPoint TopLeft() const { return TPoint(Value().Left, Value().Top); }
  void SetTopLeft(const TPoint& P) { SetValue(TRect(P.X, P.Y, Value().Right, Value().Bottom)); }
  TPoint TopRight() const { return TPoint(Value().Right, Value().Top); }
  void SetTopRight(const TPoint& P) { SetValue(TRect(Value().Left, P.Y, P.X, Value().Bottom)); }
  TPoint BottomLeft() const { return TPoint(Value().Left, Value().Bottom); }
  void SetBottomLeft(const TPoint& P) { SetValue(TRect(P.X, Value().Top, Value().Right, P.Y)); }
  TPoint BottomRight() const { return TPoint(Value().Right, Value().Bottom); }
  void SetBottomRight(const TPoint& P) { SetValue(TRect(Value().Left, Value().Top, P.X, P.Y)); }
};

// ---------------------------------------------------------------------------
// World transforms

enum TdxTransformationOrder { moPrepend, moAppend };

inline XFORM MakeXForm(float M11, float M12, float M21, float M22, float DX, float DY) {
  return XFORM{M11, M12, M21, M22, DX, DY};
}
inline XFORM GetIdentityXForm() { return MakeXForm(1, 0, 0, 1, 0, 0); }
XFORM MakeRotationXForm(float AAngle);
inline XFORM MakeScaleXForm(float SX, float SY) { return MakeXForm(SX, 0, 0, SY, 0, 0); }
inline XFORM MakeTranslationXForm(float DX, float DY) { return MakeXForm(1, 0, 0, 1, DX, DY); }
// A mirror about x = ACenterX and/or y = ACenterY.
XFORM MakeFlipXForm(bool AFlipHorizontally, bool AFlipVertically, float ACenterX, float ACenterY);
// AFirst, then ASecond (the system's CombineTransform).
XFORM CombineXForms(const XFORM& AFirst, const XFORM& ASecond);
// Exactly the identity: no tolerance.
bool IsIdentityXForm(const XFORM& AXForm);
TdxPointF TransformPointFByXForm(const XFORM& AXForm, const TdxPointF& P);
// Mapped in single precision, each coordinate rounded to nearest with halves to even.
TPoint TransformPointByXForm(const XFORM& AXForm, const TPoint& P);
// The two corners mapped on their own: no bounding box, possibly reversed.
TRect TransformRectByXForm(const XFORM& AXForm, const TRect& R);
TdxRectF TransformRectFByXForm(const XFORM& AXForm, const TdxRectF& R);

// Accumulates transformations, each applied before (moPrepend) or after
// (moAppend) the ones already there.
class TdxMatrix : public TObject {
  SK_CLASS(TdxMatrix, TObject)
 public:
  void Create() { Reset(); }
  void CreateEx(float M11, float M12, float M21, float M22, float DX, float DY) { Assign(M11, M12, M21, M22, DX, DY); }
  void CreateEx(const TdxMatrix* AMatrix) { Assign(AMatrix); }
  void CreateEx(const XFORM& AXForm) { Assign(AXForm); }

  const XFORM& XForm() const { return FXForm; }
  void SetXForm(const XFORM& AValue) { FXForm = AValue; }
  void Assign(const TdxMatrix* AMatrix) { FXForm = AMatrix->FXForm; }
  void Assign(float M11, float M12, float M21, float M22, float DX, float DY) {
    FXForm = MakeXForm(M11, M12, M21, M22, DX, DY);
  }
  void Assign(const XFORM& AXForm) { FXForm = AXForm; }
  void Reset() { FXForm = GetIdentityXForm(); }
  bool IsIdentity() const { return IsIdentityXForm(FXForm); }
  TdxPointF Transform(const TdxPointF& APoint) const { return TransformPointFByXForm(FXForm, APoint); }
  TdxRectF Transform(const TdxRectF& ARect) const { return TransformRectFByXForm(FXForm, ARect); }

  void Multiply(const XFORM& AXForm, TdxTransformationOrder AOrder = moPrepend);
  void Multiply(const TdxMatrix* AMatrix, TdxTransformationOrder AOrder = moPrepend) { Multiply(AMatrix->FXForm, AOrder); }
  void Rotate(float AAngle, TdxTransformationOrder AOrder = moPrepend);
  // About a pivot: moved to the origin, rotated, moved back.
  void Rotate(float AAngle, const TPoint& APivotPoint, TdxTransformationOrder AOrder = moPrepend) {
    Rotate(AAngle, TdxPointF(APivotPoint), AOrder);
  }
  void Rotate(float AAngle, const TdxPointF& APivotPoint, TdxTransformationOrder AOrder = moPrepend);
  void Scale(float SX, float SY, TdxTransformationOrder AOrder = moPrepend) { Multiply(MakeScaleXForm(SX, SY), AOrder); }
  void Scale(const TdxPointF& AScale, TdxTransformationOrder AOrder = moPrepend) { Scale(AScale.X, AScale.Y, AOrder); }
  void Translate(float DX, float DY, TdxTransformationOrder AOrder = moPrepend) {
    Multiply(MakeTranslationXForm(DX, DY), AOrder);
  }
  void Translate(const TdxPointF& AOffset, TdxTransformationOrder AOrder = moPrepend) {
    Translate(AOffset.X, AOffset.Y, AOrder);
  }

 private:
  XFORM FXForm;
};

// Plane-vector functions; angles in radians.
struct TdxVectors {
  static float ScalarProduct(const TdxPointF& A, const TdxPointF& B) { return A.X * B.X + A.Y * B.Y; }
  static float Length(const TdxPointF& V);
  static float Length(float X, float Y);
  static float Length(const TdxPointF& P1, const TdxPointF& P2) { return Length(P2.X - P1.X, P2.Y - P1.Y); }
  // V scaled to length 1; a zero vector unchanged.
  static TdxPointF Normalize(const TdxPointF& V);
  static TdxPointF Scale(const TdxPointF& V, float AScaleFactor) { return TdxPointF(V.X * AScaleFactor, V.Y * AScaleFactor); }
  // From A to B counter-clockwise (in y-up terms), 0 <= angle < 2 pi.
  static float Angle(const TdxPointF& A, const TdxPointF& B);
};

void cxGeometryInitialization();
void cxGeometryFinalization();
