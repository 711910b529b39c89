// The integer geometry records of the platform.
//
// Classes in this file:
//   TPoint        X, Y (layout of the Windows POINT)
//   TSmallPoint   two 16-bit coordinates, as packed into mouse messages
//   TSize         cx, cy (layout of the Windows SIZE)
//   TRect         Left, Top, Right, Bottom (layout of the Windows RECT)
//   Point, Rect, Bounds, SmallPointToPoint, PointToSmallPoint   builders
//
// Conventions: rectangles are half-open (Right and Bottom are one beyond the
// last pixel). A rectangle is empty unless Left < Right and Top < Bottom; no
// method normalises silently. Each record converts to and from its Windows
// twin by value, and `WinRect()`/`WinPoint()`/`WinSize()` give a pointer for
// the API calls that write into one.
#pragma once

#include "platform/runtime/WinApi.h"

#include <cstdint>
#include <type_traits>
#include <vector>

struct TPoint {
  int X = 0;
  int Y = 0;

  constexpr TPoint() = default;
  constexpr TPoint(int AX, int AY) : X(AX), Y(AY) {}
  constexpr TPoint(const POINT& P) : X(P.x), Y(P.y) {}
  constexpr operator POINT() const { return POINT{X, Y}; }
  POINT* WinPoint() { return reinterpret_cast<POINT*>(this); }
  const POINT* WinPoint() const { return reinterpret_cast<const POINT*>(this); }

  static constexpr TPoint Create(int AX, int AY) { return TPoint(AX, AY); }
  constexpr void Init(int AX, int AY) { X = AX; Y = AY; }
  constexpr void Assign(const TPoint& P) { *this = P; }
  constexpr bool IsZero() const { return X == 0 && Y == 0; }
  constexpr bool IsEqual(const TPoint& P) const { return *this == P; }
  // (-X, -Y).
  constexpr void Negate() { X = -X; Y = -Y; }
  constexpr void Offset(const TPoint& P) { X += P.X; Y += P.Y; }
  constexpr void Offset(int DX, int DY) { X += DX; Y += DY; }

  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  friend constexpr TPoint operator+(TPoint A, const TPoint& B) { return {A.X + B.X, A.Y + B.Y}; }
  friend constexpr TPoint operator-(TPoint A, const TPoint& B) { return {A.X - B.X, A.Y - B.Y}; }
  constexpr TPoint operator-() const { return {-X, -Y}; }
};

struct TSmallPoint {
  std::int16_t X = 0;
  std::int16_t Y = 0;
  friend constexpr bool operator==(const TSmallPoint&, const TSmallPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;

  constexpr TSize() = default;
  constexpr TSize(int ACx, int ACy) : cx(ACx), cy(ACy) {}
  constexpr TSize(const SIZE& S) : cx(S.cx), cy(S.cy) {}
  constexpr operator SIZE() const { return SIZE{cx, cy}; }
  SIZE* WinSize() { return reinterpret_cast<SIZE*>(this); }
  const SIZE* WinSize() const { return reinterpret_cast<const SIZE*>(this); }

  static constexpr TSize Create(int ACx, int ACy) { return TSize(ACx, ACy); }
  constexpr void Init(int ACx, int ACy) { cx = ACx; cy = ACy; }
  constexpr bool IsZero() const { return cx == 0 && cy == 0; }
  constexpr int Width() const { return cx; }
  constexpr int Height() const { return cy; }

  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr TRect() = default;
  constexpr TRect(int ALeft, int ATop, int ARight, int ABottom)
      : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
  constexpr TRect(const TPoint& ATopLeft, const TPoint& ABottomRight)
      : Left(ATopLeft.X), Top(ATopLeft.Y), Right(ABottomRight.X), Bottom(ABottomRight.Y) {}
  constexpr TRect(const RECT& R) : Left(R.left), Top(R.top), Right(R.right), Bottom(R.bottom) {}
  constexpr operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
  RECT* WinRect() { return reinterpret_cast<RECT*>(this); }
  const RECT* WinRect() const { return reinterpret_cast<const RECT*>(this); }

  // Building. ANormalize exchanges reversed sides (see Normalize).
  static constexpr TRect Create(int L, int T, int R, int B, bool ANormalize = false) {
    TRect r(L, T, R, B);
    if (ANormalize) r.Normalize();
    return r;
  }
  static constexpr TRect CreateFromSize(const TSize& S) { return TRect(0, 0, S.cx, S.cy); }
  static constexpr TRect CreateFromPointAndExtent(const TPoint& P, int W, int H) {
    return TRect(P.X, P.Y, P.X + W, P.Y + H);
  }
  constexpr void Init(int L, int T, int R, int B, bool ANormalize = false) { *this = Create(L, T, R, B, ANormalize); }
  constexpr void InitFromSize(const TSize& S) { *this = CreateFromSize(S); }
  constexpr void InitBounds(int L, int T, int W, int H) { *this = TRect(L, T, L + W, T + H); }
  constexpr void InitFromPointAndSize(int L, int T, const TSize& S) { InitBounds(L, T, S.cx, S.cy); }

  // Size and corners.
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TSize GetSize() const { return TSize(Width(), Height()); }
  constexpr void SetWidth(int W) { Right = Left + W; }
  constexpr void SetHeight(int H) { Bottom = Top + H; }
  constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
  constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
  // Left plus half the width, the half truncated toward zero (likewise Top).
  constexpr TPoint GetCenter() const { return TPoint(Left + Width() / 2, Top + Height() / 2); }

  // Tests.
  constexpr bool IsEmpty() const { return !(Left < Right && Top < Bottom); }
  constexpr bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
  constexpr bool Contains(const TPoint& P) const { return Left <= P.X && P.X < Right && Top <= P.Y && P.Y < Bottom; }
  constexpr bool Contains(int X, int Y) const { return Contains(TPoint(X, Y)); }
  // Whether R lies wholly inside (an empty R inside counts).
  constexpr bool Contains(const TRect& R) const {
    return Left <= R.Left && R.Right <= Right && Top <= R.Top && R.Bottom <= Bottom;
  }
  // Whether the two share at least one pixel.
  constexpr bool IntersectsWith(const TRect& R) const {
    return Left < R.Right && R.Left < Right && Top < R.Bottom && R.Top < Bottom;
  }

  // In-place changes.
  constexpr void Empty() { *this = TRect(); }
  constexpr void Normalize() {
    if (Right < Left) { const int t = Left; Left = Right; Right = t; }
    if (Bottom < Top) { const int t = Top; Top = Bottom; Bottom = t; }
  }
  constexpr void Offset(int DX, int DY) { Left += DX; Right += DX; Top += DY; Bottom += DY; }
  constexpr void Offset(const TPoint& P) { Offset(P.X, P.Y); }
  constexpr void Inflate(int DX, int DY) { Left -= DX; Top -= DY; Right += DX; Bottom += DY; }
  constexpr void InflateSides(int L, int T, int R, int B) { Left -= L; Top -= T; Right += R; Bottom += B; }
  constexpr TRect& InflateByMargins(const TRect& M) { InflateSides(M.Left, M.Top, M.Right, M.Bottom); return *this; }
  constexpr void Deflate(int D) { Inflate(-D, -D); }
  constexpr TRect& DeflateXY(int DX, int DY) { Inflate(-DX, -DY); return *this; }
  constexpr TRect& DeflateByMargins(const TRect& M) {
    InflateSides(-M.Left, -M.Top, -M.Right, -M.Bottom);
    return *this;
  }
  // Clips each side to R; only a negative width or height turns the result
  // into the zero rectangle (rectangles that merely touch keep a zero-width
  // remainder).
  constexpr void Intersect(const TRect& R) {
    if (R.Left > Left) Left = R.Left;
    if (R.Top > Top) Top = R.Top;
    if (R.Right < Right) Right = R.Right;
    if (R.Bottom < Bottom) Bottom = R.Bottom;
    if (Right < Left || Bottom < Top) Empty();
  }
  // Splits into N columns of the full height; the first (width mod N)
  // columns are one pixel wider. N < 1 gives the rectangle itself.
  std::vector<TRect> SplitHorizontally(int N) const;

  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

static_assert(sizeof(TPoint) == sizeof(POINT) && std::is_standard_layout_v<TPoint>);
static_assert(sizeof(TSize) == sizeof(SIZE) && std::is_standard_layout_v<TSize>);
static_assert(sizeof(TRect) == sizeof(RECT) && std::is_standard_layout_v<TRect>);

constexpr TPoint Point(int X, int Y) { return TPoint(X, Y); }
constexpr TRect Rect(int ALeft, int ATop, int ARight, int ABottom) { return TRect(ALeft, ATop, ARight, ABottom); }
constexpr TRect Rect(const TPoint& ATopLeft, const TPoint& ABottomRight) { return TRect(ATopLeft, ABottomRight); }
// (ALeft, ATop, ALeft + AWidth, ATop + AHeight).
constexpr TRect Bounds(int ALeft, int ATop, int AWidth, int AHeight) {
  return TRect(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
}
constexpr TPoint SmallPointToPoint(const TSmallPoint& P) { return TPoint(P.X, P.Y); }
// Coordinates outside 16 bits are clamped, not wrapped.
constexpr TSmallPoint PointToSmallPoint(const TPoint& P) {
  auto clamp = [](int v) -> std::int16_t {
    return static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
  };
  return TSmallPoint{clamp(P.X), clamp(P.Y)};
}
// The signed point packed in a mouse message's LParam.
inline TPoint PointFromLParam(LPARAM AParam) {
  return TPoint(static_cast<std::int16_t>(AParam & 0xFFFF), static_cast<std::int16_t>((AParam >> 16) & 0xFFFF));
}
inline LPARAM PointToLParam(const TPoint& P) {
  const TSmallPoint s = PointToSmallPoint(P);
  return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.X)) |
                             (static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.Y)) << 16));
}
