#include "library/core/geometry/cxGeometry.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

std::ostream& operator<<(std::ostream& AStream, const TRect& R) {
  return AStream << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
std::ostream& operator<<(std::ostream& AStream, const TPoint& P) { return AStream << "(" << P.X << ", " << P.Y << ")"; }
std::ostream& operator<<(std::ostream& AStream, const TSize& S) { return AStream << "(" << S.cx << ", " << S.cy << ")"; }
std::ostream& operator<<(std::ostream& AStream, const TdxRectF& R) {
  return AStream << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
std::ostream& operator<<(std::ostream& AStream, const TdxPointF& P) { return AStream << "(" << P.X << ", " << P.Y << ")"; }

namespace {

// ---------------------------------------------------------------------------
// Integer routines

struct RectCase {
  const char* Name;
  TRect Actual;
  TRect Expected;
};

TEST(IntegerGeometry, RectangleRoutines) {
  const TRect r(10, 20, 30, 60);
  const RectCase cases[] = {
      {"SetRectBorderValue", SetRectBorderValue(r, bRight, 99), TRect(10, 20, 99, 60)},
      {"SetRectWidth", SetRectWidth(r, 5), TRect(10, 20, 15, 60)},
      {"SetRectHeight", SetRectHeight(r, -5), TRect(10, 20, 30, 15)},
      {"SetRectSize", SetRectSize(r, 1, 2), TRect(10, 20, 11, 22)},
      {"MakeRectangle(size)", MakeRectangle(TSize(4, 5)), TRect(0, 0, 4, 5)},
      {"MakeRectangle(reversed)", MakeRectangle(9, 9, 1, 1), TRect(9, 9, 1, 1)},
      {"MakeBoundsRect", MakeBoundsRect(3, 4, 5, 6), TRect(3, 4, 8, 10)},
      {"InflateRectangle(dx, dy)", InflateRectangle(r, 1, 2), TRect(9, 18, 31, 62)},
      {"InflateRectangle(4 deltas)", InflateRectangle(r, 1, 2, 3, 4), TRect(9, 18, 33, 64)},
      {"InflateRectangle(d)", InflateRectangle(r, -2), TRect(12, 22, 28, 58)},
      {"InflateRectangle(margins)", InflateRectangle(r, TRect(1, 2, 3, 4)), TRect(9, 18, 33, 64)},
      {"GetContentRect", GetContentRect(r, TRect(1, 2, 3, 4)), TRect(11, 22, 27, 56)},
      {"OffsetRectSides", OffsetRectSides(r, 1, -1, 2, -2), TRect(11, 19, 32, 58)},
      {"OffsetRectangle(+)", OffsetRectangle(r, 5, 6), TRect(15, 26, 35, 66)},
      {"OffsetRectangle(-)", OffsetRectangle(r, TPoint(5, 6), false), TRect(5, 14, 25, 54)},
      {"OffsetRectHorizontally", OffsetRectHorizontally(r, -10), TRect(0, 20, 20, 60)},
      {"OffsetRectVertically", OffsetRectVertically(r, 1), TRect(10, 21, 30, 61)},
      {"MoveRectLeft", MoveRectLeft(r, 0), TRect(0, 20, 20, 60)},
      {"MoveRectLeft(w)", MoveRectLeft(r, 0, 7), TRect(0, 20, 7, 60)},
      {"MoveRectTop", MoveRectTop(r, 0), TRect(10, 0, 30, 40)},
      {"MoveRectRight", MoveRectRight(r, 100), TRect(80, 20, 100, 60)},
      {"MoveRectBottom(h)", MoveRectBottom(r, 100, 10), TRect(10, 90, 30, 100)},
      {"MoveRectToPoint", MoveRectToPoint(r, TPoint(-1, -2)), TRect(-1, -2, 19, 38)},
      {"MoveRectToOrigin", MoveRectToOrigin(r), TRect(0, 0, 20, 40)},
      {"TransposeRect", TransposeRect(r), TRect(20, 10, 60, 30)},
      {"ScaleRectangle", ScaleRectangle(TRect(1, 1, 4, 4), 3, 2, 1, 2), TRect(2, 1, 6, 2)},
      {"ScaleRectangle(/0)", ScaleRectangle(TRect(1, 1, 4, 4), 3, 0, 1, 1), TRect(-1, 1, -1, 4)},
      {"GetCenteredRect", GetCenteredRect(TRect(0, 0, 10, 10), 3, 3), TRect(3, 3, 6, 6)},
      {"GetCenteredRect(odd)", GetCenteredRect(TRect(0, 0, 10, 10), TSize(4, 5)), TRect(3, 2, 7, 7)},
      {"GetCenteredRect(negative)", GetCenteredRect(TRect(-10, -10, -1, -1), 2, 2), TRect(-7, -7, -5, -5)},
      {"CenterRectHorizontally", CenterRectHorizontally(r, 4), TRect(18, 20, 22, 60)},
      {"CenterRectVertically", CenterRectVertically(r, 5), TRect(10, 37, 30, 42)},
      {"UnionRectangles", UnionRectangles(r, TRect(0, 30, 15, 70)), TRect(0, 20, 30, 70)},
      {"UnionRectangles(zero width)", UnionRectangles(r, TRect(5, 5, 5, 9)), r},
      {"UnionRectangles(empty A)", UnionRectangles(TRect(), TRect(5, 5, 6, 9)), TRect(0, 0, 6, 9)},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Actual, c.Expected);
  }
}

TEST(IntegerGeometry, HalvingGoesTowardMinusInfinity) {
  const int sums[] = {7, -3, -4, 0, 1, -1, 2147483647, -2147483647 - 1};
  const int halves[] = {3, -2, -2, 0, 0, -1, 1073741823, -1073741824};
  for (std::size_t i = 0; i < std::size(sums); ++i) {
    SCOPED_TRACE(sums[i]);
    EXPECT_EQ(dxHalfDown(sums[i]), halves[i]);
  }
  EXPECT_EQ(GetRectCenter(TRect(-3, -3, 0, 0)), TPoint(-2, -2));
  // The record's own centre truncates the half width toward zero instead.
  EXPECT_EQ(TRect(-3, -3, 0, 0).GetCenter(), TPoint(-2, -2));
  EXPECT_EQ(TRect(0, 0, -3, -3).GetCenter(), TPoint(-1, -1));
  EXPECT_EQ(GetRectCenter(TRect(0, 0, -3, -3)), TPoint(-2, -2));
}

TEST(IntegerGeometry, IntersectionOfTouchingRectangles) {
  TRect r(1, 2, 3, 4);
  EXPECT_FALSE(GetRectIntersection(TRect(0, 0, 10, 10), TRect(10, 0, 20, 10), r));
  EXPECT_EQ(r, TRect());
  EXPECT_FALSE(CheckRectsIntersect(TRect(0, 0, 10, 10), TRect(10, 0, 20, 10)));
  TRect touching(0, 0, 10, 10);
  touching.Intersect(TRect(10, 0, 20, 10));
  EXPECT_EQ(touching, TRect(10, 0, 10, 10));  // only a negative width is zeroed
  EXPECT_TRUE(GetRectIntersection(TRect(0, 0, 10, 10), TRect(5, -5, 20, 5), r));
  EXPECT_EQ(r, TRect(5, 0, 10, 5));
}

TEST(IntegerGeometry, Tests) {
  EXPECT_FALSE(IsPointInRectangle(TRect(0, 0, 10, 10), TPoint(10, 5)));
  EXPECT_TRUE(IsPointInRectangle(TRect(0, 0, 10, 10), TPoint(0, 0)));
  EXPECT_FALSE(IsPointInRectangle(TRect(0, 0, 10, 10), 5, -1));
  EXPECT_TRUE(IsRectangleEmpty(TRect(0, 0, 0, 5)));
  EXPECT_TRUE(IsRectangleEmpty(TRect(5, 5, 1, 9)));
  EXPECT_FALSE(IsRectangleEmpty(TRect(-5, -5, -4, -4)));
  EXPECT_FALSE(IsZeroRect(TRect(5, 5, 5, 5)));
  EXPECT_TRUE(AreRectSizesEqual(TRect(0, 0, 3, 4), TRect(10, 10, 13, 14)));
  EXPECT_TRUE(HasPositiveSize(TSize(1, 1)));
  EXPECT_FALSE(HasPositiveSize(TSize(1, 0)));
  EXPECT_EQ(SumRectLeftRight(TRect(1, 2, 3, 4)), 4);
  EXPECT_EQ(SumRectTopBottom(TRect(1, 2, 3, 4)), 6);
  EXPECT_EQ(GetRectBorderValue(TRect(1, 2, 3, 4), bBottom), 4);
}

TEST(IntegerGeometry, FloatConversionsNameTheirRounding) {
  EXPECT_EQ(ConvertPointFToPoint(TdxPointF(2.5f, 3.5f), false), TPoint(2, 4));
  EXPECT_EQ(ConvertPointFToPoint(TdxPointF(2.5f, 3.5f), true), TPoint(2, 3));
  EXPECT_EQ(ConvertPointFToPoint(TdxPointF(-2.5f, -1.7f), true), TPoint(-2, -1));
  EXPECT_EQ(ConvertPointFToPoint(TdxPointF(-2.5f, -1.7f), false), TPoint(-2, -2));
  EXPECT_EQ(ConvertSizeFToSize(TdxSizeF(0.5f, 1.5f)), TSize(0, 2));
  EXPECT_EQ(ConvertRectFToRect(TdxRectF(0.5f, 0.5f, 9.5f, 9.5f), true), TRect(1, 1, 9, 9));
  EXPECT_EQ(ConvertRectFToRect(TdxRectF(0.5f, 0.5f, 9.5f, 9.5f), false), TRect(0, 0, 10, 10));
  EXPECT_EQ(ConvertRectFToRect(TdxRectF(-0.5f, -1.0f, 2.0f, 2.25f), true), TRect(0, -1, 2, 2));
  EXPECT_EQ(ConvertRectToRectF(TRect(1, 2, 3, 4)), TdxRectF(1, 2, 3, 4));
  // Out of range and not-a-number give defined results.
  EXPECT_EQ(RoundToInt(1e20), INT_MAX);
  EXPECT_EQ(RoundToInt(std::nan("")), 0);
}

TEST(IntegerGeometry, PointsAndSizes) {
  EXPECT_EQ(NegatePoint(TPoint(1, -2)), TPoint(-1, 2));
  EXPECT_EQ(OffsetPointBy(TPoint(1, 1), 2, 3, false), TPoint(-1, -2));
  EXPECT_EQ(OffsetPointBy(TPoint(1, 1), TPoint(2, 3), true), TPoint(3, 4));
  EXPECT_EQ(OffsetPointBy(TPoint(1, 1), 5), TPoint(6, 6));
  EXPECT_EQ(ScalePoint(TPoint(5, -5), 3, 2), TPoint(8, -8));  // halves away from zero
  EXPECT_EQ(ScaleSize(TSize(5, 7), 3, 2), TSize(8, 11));
  EXPECT_EQ(ScaleSize(TSize(5, -7), 1.5f), TSize(7, -10));     // truncated toward zero
  EXPECT_EQ(InflateSizeByMargins(TSize(10, 10), TRect(1, 2, 3, 4)), TSize(14, 16));
  EXPECT_EQ(GetMaxSize(TSize(1, 9), TSize(5, 2)), TSize(5, 9));
}

TEST(IntegerGeometry, PointsBoundsAreInclusive) {
  const std::vector<TPoint> points = {TPoint(3, 4), TPoint(-1, 7), TPoint(5, 0)};
  EXPECT_EQ(GetPointsBounds(points), TRect(-1, 0, 5, 7));
  EXPECT_EQ(GetPointsBounds(points, 0), TRect(3, 4, 3, 4));
  EXPECT_EQ(GetPointsBounds(points, -1), TRect());
  EXPECT_EQ(GetPointsBounds(std::span<const TPoint>()), TRect());
  EXPECT_EQ(GetPointsBounds(points, 99), TRect(-1, 0, 5, 7));  // never beyond the array
}

TEST(IntegerGeometry, FitSizeToAspectRatio) {
  struct Case {
    TSize Size, Ratio, Expected;
  };
  const Case cases[] = {
      {TSize(100, 50), TSize(1, 1), TSize(50, 50)},  {TSize(50, 100), TSize(1, 1), TSize(50, 50)},
      {TSize(100, 50), TSize(16, 9), TSize(88, 50)}, {TSize(100, 50), TSize(4, 1), TSize(100, 25)},
      {TSize(100, 50), TSize(0, 1), TSize(100, 50)}, {TSize(0, 50), TSize(1, 1), TSize(0, 50)},
      {TSize(100, 50), TSize(2, -1), TSize(100, 50)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Size << " to " << c.Ratio);
    EXPECT_EQ(FitSizeToAspectRatio(c.Size, c.Ratio), c.Expected);
  }
}

TEST(IntegerGeometry, SplitHorizontally) {
  const std::vector<TRect> parts = TRect(10, 0, 20, 5).SplitHorizontally(3);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0], TRect(10, 0, 14, 5));
  EXPECT_EQ(parts[1], TRect(14, 0, 17, 5));
  EXPECT_EQ(parts[2], TRect(17, 0, 20, 5));
  EXPECT_EQ(TRect(10, 0, 20, 5).SplitHorizontally(0), std::vector<TRect>{TRect(10, 0, 20, 5)});
}

TEST(IntegerGeometry, TextForms) {
  EXPECT_EQ(FormatRectText(TRect(-1, 0, 5, 7)), L"-1;0;5;7");
  EXPECT_EQ(FormatRectText(TRect(1, 2, 30, 40)), L"1;2;30;40");
  EXPECT_EQ(FormatSizeText(TSize(16, 16)), L"16x16");
}

// ---------------------------------------------------------------------------
// Single precision

TEST(FloatGeometry, ToleranceIsRelativeAboveOne) {
  EXPECT_TRUE(TdxPointF(1, 1) == TdxPointF(1.00005f, 0.99995f));
  EXPECT_TRUE(dxSameValue(1000.0f, 1000.05f));
  EXPECT_FALSE(dxSameValue(1000.0f, 1000.2f));
  EXPECT_FALSE(dxSameValue(1.0f, 1.0002f));
  EXPECT_TRUE(dxSameValue(0.0f, 0.0001f));
  EXPECT_FALSE(dxSameValue(0.0f, 0.0002f));
  EXPECT_TRUE(TdxRectF(0, 0, 0.00005f, 0).IsZero());
  EXPECT_FALSE(TdxSizeF(1, 2) == TdxSizeF(1, 2.01f));
}

TEST(FloatGeometry, RecordsAndConversions) {
  EXPECT_EQ(TdxRectF::Create(TdxPointF(10.3f, 10.3f), 4, 4), TdxRectF(9, 9, 13, 13));
  EXPECT_EQ(static_cast<TPoint>(TdxPointF(2.5f, -1.5f)), TPoint(2, -2));
  EXPECT_EQ(static_cast<TSize>(TdxSizeF(2.9f, 2.9f)), TSize(2, 2));
  EXPECT_EQ(static_cast<TSize>(TdxSizeF(-2.9f, 0.1f)), TSize(-2, 0));
  EXPECT_EQ(TdxSizeF(1.2f, -1.5f).Ceil(), TdxSizeF(2, -1));
  TdxSizeF s(10, 3);
  s.ChangeScale(3, 2);
  EXPECT_EQ(s, TdxSizeF(15, 4.5f));
  TdxPointF p(1, 2);
  p.Offset(TdxSizeF(1, 1), false);
  EXPECT_EQ(p, TdxPointF(0, 1));
  p.Scale(TdxPointF(3, 4));
  EXPECT_EQ(p, TdxPointF(0, 4));
}

TEST(FloatGeometry, ContainsIntersectsAndUnion) {
  const TdxRectF a(0, 0, 10, 10);
  EXPECT_FALSE(a.Contains(TdxPointF(10, 5)));
  EXPECT_TRUE(a.Contains(TdxPointF(0, 0)));
  EXPECT_TRUE(a.Contains(TdxRectF(0, 0, 10, 10)));
  EXPECT_FALSE(a.Contains(TdxRectF(0, 0, 10.5f, 10)));
  EXPECT_TRUE(a.IntersectsWith(TdxRectF(10, 0, 20, 10)));
  EXPECT_FALSE(a.IntersectsWith(TdxRectF(10.1f, 0, 20, 10)));
  TdxRectF i = a;
  i.Intersect(TdxRectF(10, 0, 20, 10));
  EXPECT_EQ(i, TdxRectF(10, 0, 10, 10));
  i = a;
  i.Intersect(TdxRectF(11, 0, 20, 10));
  EXPECT_EQ(i, TdxRectF());
  TdxRectF u = a;
  u.Union(TdxRectF(20, 20, 20, 30));  // no emptiness test
  EXPECT_EQ(u, TdxRectF(0, 0, 20, 30));
  EXPECT_EQ(UnionRectangles(a, TdxRectF(20, 20, 20, 30)), a);
  EXPECT_EQ(UnionRectangles(a, TdxRectF(0, 0, std::nanf(""), 5)), a);
  EXPECT_TRUE(IsRectangleEmpty(TdxRectF(0, 0, std::nanf(""), 5)));
  EXPECT_TRUE(TdxRectF(5, 0, 5, 5).IsEmpty());
}

TEST(FloatGeometry, SidesMarginsAndAlignment) {
  TdxRectF r(0, 0, 100, 50);
  r.SetCenter(TdxPointF(0, 0));
  EXPECT_EQ(r, TdxRectF(-50, -25, 50, 25));
  EXPECT_EQ(TdxRectF(0, 0, 10, 10).Content(TRect(1, 2, 3, 4)), TdxRectF(1, 2, 7, 6));
  TdxRectF m(10, 10, 20, 20);
  m.SetMargins(TdxRectF(1, 2, 3, 4));
  EXPECT_EQ(m, TdxRectF(9, 8, 17, 16));
  EXPECT_EQ(TdxRectF(1, 2, 9, 9).Distance(TdxRectF(4, 0, 5, 5)), TdxPointF(3, -2));

  struct AdjustCase {
    TcxBorder Side;
    TdxRectF Expected;
  };
  const AdjustCase adjust[] = {{bLeft, TdxRectF(0, 0, 14, 100)},
                               {bTop, TdxRectF(0, 0, 100, 11)},
                               {bRight, TdxRectF(86, 0, 100, 100)},
                               {bBottom, TdxRectF(0, 89, 100, 100)}};
  for (const AdjustCase& c : adjust) {
    SCOPED_TRACE(c.Side);
    TdxRectF a(0, 0, 100, 100);
    a.AdjustByBorder(TdxSizeF(10, 5), c.Side, TRect(1, 2, 3, 4));
    EXPECT_EQ(a, c.Expected);
  }
  TdxRectF small(0, 0, 5, 5);
  small.AdjustByBorder(TdxSizeF(10, 10), bLeft);  // never grows
  EXPECT_EQ(small, TdxRectF(0, 0, 5, 5));

  TdxRectF t(0, 0, 100, 100);
  t.TruncBorder(TdxRectF(10, 20, 30, 40), TcxBorders{bLeft, bBottom}, TRect(1, 2, 3, 4));
  EXPECT_EQ(t, TdxRectF(33, 0, 100, 18));
  TdxRectF t2(0, 0, 100, 100);
  t2.TruncBorder(TdxRectF(10, 20, 30, 40), TcxBorders{bTop, bRight}, TRect(1, 2, 3, 4));
  EXPECT_EQ(t2, TdxRectF(0, 44, 9, 100));

  const TdxRectF box(0, 0, 100, 50);
  EXPECT_EQ(box.AlignHorizontally(TdxSizeF(10, 5), TdxAlignment::Default), TdxRectF(0, 0, 10, 5));
  EXPECT_EQ(box.AlignHorizontally(TdxSizeF(10, 5), TdxAlignment::Near), TdxRectF(0, 0, 10, 5));
  EXPECT_EQ(box.AlignHorizontally(TdxSizeF(10, 5), TdxAlignment::Center), TdxRectF(45, 0, 55, 5));
  EXPECT_EQ(box.AlignHorizontally(TdxSizeF(10, 5), TdxAlignment::Far), TdxRectF(90, 0, 100, 5));
  EXPECT_EQ(box.AlignHorizontally(TdxRectF(0, 7, 10, 12), TdxAlignment::Far), TdxRectF(90, 7, 100, 12));
  EXPECT_EQ(box.AlignVertically(TdxSizeF(10, 5), TdxAlignment::Center), TdxRectF(0, 22.5f, 10, 27.5f));
  EXPECT_EQ(box.AlignVertically(TdxSizeF(10, 5), TdxAlignment::Far), TdxRectF(0, 45, 10, 50));
  EXPECT_EQ(box.AlignVertically(TdxRectF(3, 0, 13, 5), TdxAlignment::Near), TdxRectF(3, 0, 13, 5));
}

TEST(FloatGeometry, ZoomIntoCentresInTheBounds) {
  EXPECT_EQ(TdxRectF(0, 0, 10, 5).ZoomInto(TdxRectF(0, 0, 100, 100)), TdxRectF(0, 25, 100, 75));
  EXPECT_EQ(TdxRectF(0, 0, 5, 10).ZoomInto(TdxRectF(0, 0, 100, 100)), TdxRectF(25, 0, 75, 100));
  EXPECT_EQ(TdxRectF(0, 0, 10, 5).ZoomInto(TdxSizeF(20, 20)), TdxRectF(0, 5, 20, 15));
  EXPECT_EQ(TdxRectF(0, 0, 10, 0).ZoomInto(TdxRectF(0, 0, 100, 100)), TdxRectF(0, 0, 10, 0));
}

TEST(FloatGeometry, AnglesArcsAndEllipses) {
  EXPECT_FLOAT_EQ(NormalizeAngle(-30), 330);
  EXPECT_FLOAT_EQ(NormalizeAngle(720), 0);
  EXPECT_FLOAT_EQ(NormalizeAngle(359.5f), 359.5f);
  EXPECT_FLOAT_EQ(NormalizeAngle(-720.25f), 359.75f);
  EXPECT_TRUE(std::isnan(NormalizeAngle(std::nanf(""))));

  float start = 0, sweep = 0;
  CalcArcAngles(TdxRectF(0, 0, 100, 100), TdxPointF(100, 50), TdxPointF(50, 0), start, sweep);
  EXPECT_NEAR(start, 0, 1e-4);
  EXPECT_NEAR(sweep, 90, 1e-4);
  CalcArcAngles(TdxRectF(0, 0, 100, 100), TdxPointF(50, 0), TdxPointF(100, 50), start, sweep);
  EXPECT_NEAR(start, 90, 1e-4);
  EXPECT_NEAR(sweep, 270, 1e-4);
  CalcArcAngles(TdxRectF(0, 0, 100, 100), TdxPointF(50, 100), TdxPointF(0, 50), start, sweep);
  EXPECT_NEAR(start, 270, 1e-4);
  EXPECT_NEAR(sweep, 270, 1e-4);

  TdxPointF a, b;
  GetEllipseArcPoints(TdxRectF(0, 0, 100, 50), 0, 90, a, b);
  EXPECT_EQ(a, TdxPointF(100, 25));
  EXPECT_EQ(b, TdxPointF(50, 0));
  GetEllipseArcPoints(TdxRectF(0, 0, 100, 50), 90, 0, a, b);
  EXPECT_EQ(a, TdxPointF(50, 0));
  EXPECT_EQ(b, a);
  GetEllipseArcPoints(TdxRectF(0, 0, 0, 50), 45, 90, a, b);  // a zero radius: the centre
  EXPECT_EQ(a, TdxPointF(0, 25));
  EXPECT_EQ(b, TdxPointF(0, 25));

  EXPECT_TRUE(IsRectInsideEllipse(TdxRectF(-7, -7, 7, 7), TdxPointF(0, 0), 10, 10));
  EXPECT_FALSE(IsRectInsideEllipse(TdxRectF(-8, -7, 7, 7.5f), TdxPointF(0, 0), 10, 10));
  EXPECT_EQ(MakeRectFAroundPoint(TdxPointF(5, 5), 2), TdxRectF(3, 3, 7, 7));
  EXPECT_DOUBLE_EQ(MulDivFloat(10, 1, 3), 10.0 / 3);
}

TEST(FloatGeometry, RotatedBounds) {
  EXPECT_EQ(GetRotatedRectBounds(TdxRectF(0, 0, 10, 10), TdxPointF(0, 0), 90), TdxRectF(-10, 0, 0, 10));
  const std::vector<TdxPointF> points = {TdxPointF(1, 5), TdxPointF(-2, 3)};
  EXPECT_EQ(GetPointsBounds(points), TdxRectF(-2, 3, 1, 5));
  EXPECT_EQ(GetPointsBounds(points, -1), TdxRectF());
}

struct RotatedCase {
  const char* Name;
  TdxRectF R;
  float Angle;
  float MinArea, MaxArea;
};

class LargestRotatedRect : public testing::TestWithParam<RotatedCase> {};

TEST_P(LargestRotatedRect, FitsInsideAndIsLarge) {
  const RotatedCase& c = GetParam();
  TdxPointF tl, tr, br, bl;
  float w = 0, h = 0;
  GetLargestRotatedRect(c.R, c.Angle, tl, tr, br, bl, w, h);
  EXPECT_GE(w * h, c.MinArea);
  EXPECT_LE(w * h, c.MaxArea);
  EXPECT_GT(w, 0);
  EXPECT_GT(h, 0);
  for (const TdxPointF& p : {tl, tr, br, bl}) {
    SCOPED_TRACE(testing::Message() << p);
    EXPECT_GE(p.X, c.R.Left - 0.01f);
    EXPECT_LE(p.X, c.R.Right + 0.01f);
    EXPECT_GE(p.Y, c.R.Top - 0.01f);
    EXPECT_LE(p.Y, c.R.Bottom + 0.01f);
  }
  // The corners form a rectangle of that size.
  EXPECT_NEAR(TdxVectors::Length(tl, tr), w, 0.01);
  EXPECT_NEAR(TdxVectors::Length(tl, bl), h, 0.01);
  EXPECT_NEAR(TdxVectors::Length(tl, br), std::sqrt(w * w + h * h), 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LargestRotatedRect,
    testing::Values(RotatedCase{"Square45", TdxRectF(0, 0, 100, 100), 45, 4800, 5000},
                    RotatedCase{"Wide90", TdxRectF(0, 0, 200, 100), 90, 19500, 20000},
                    RotatedCase{"Square180", TdxRectF(10, 10, 110, 110), 180, 9800, 10000},
                    RotatedCase{"Wide30", TdxRectF(0, 0, 200, 100), 30, 5500, 6000},
                    RotatedCase{"Negative", TdxRectF(0, 0, 100, 100), -45, 4800, 5000}),
    [](const testing::TestParamInfo<RotatedCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(FloatGeometry, LargestRotatedRectEdgeCases) {
  TdxPointF tl, tr, br, bl;
  float w = -1, h = -1;
  GetLargestRotatedRect(TdxRectF(0, 0, 0, 10), 30, tl, tr, br, bl, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(tl, TdxPointF());
  GetLargestRotatedRect(TdxRectF(1, 2, 11, 22), 360, tl, tr, br, bl, w, h);
  EXPECT_EQ(tl, TdxPointF(1, 2));
  EXPECT_EQ(tr, TdxPointF(11, 2));
  EXPECT_EQ(br, TdxPointF(11, 22));
  EXPECT_EQ(bl, TdxPointF(1, 22));
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 20);
}

// ---------------------------------------------------------------------------
// Scale factor

class TListenerLog : public TObject {
  SK_CLASS(TListenerLog, TObject)
 public:
  void Changed(TObject* Sender, int M, int D, bool IsLoading) {
    Calls.push_back({Sender, M, D, IsLoading});
  }
  struct Call {
    TObject* Sender;
    int M, D;
    bool IsLoading;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> Calls;
};

class ScaleFactor : public testing::Test {
 protected:
  void SetUp() override {
    FFactor = New<TdxScaleFactor>();
    FLog = New<TListenerLog>();
    FFactor->ListenerAdd(BindEvent<&TListenerLog::Changed>(FLog));
  }
  void TearDown() override {
    FFactor->Free();
    FLog->Free();
  }
  TdxScaleFactor* FFactor = nullptr;
  TListenerLog* FLog = nullptr;
};

TEST_F(ScaleFactor, AssignReducesAndNotifiesTheRelativeChange) {
  EXPECT_FALSE(FFactor->Assigned());
  FFactor->Assign(192, 96, false);
  EXPECT_EQ(FFactor->Numerator(), 2);
  EXPECT_EQ(FFactor->Denominator(), 1);
  FFactor->Assign(4, 2, true);  // the same ratio: silent
  ASSERT_EQ(FLog->Calls.size(), 1u);
  EXPECT_EQ(FLog->Calls[0], (TListenerLog::Call{FFactor, 2, 1, false}));
  FFactor->Assign(3, 2, true);
  FFactor->Assign(2, 1, false);
  ASSERT_EQ(FLog->Calls.size(), 3u);
  EXPECT_EQ(FLog->Calls[1], (TListenerLog::Call{FFactor, 3, 4, true}));
  EXPECT_EQ(FLog->Calls[2], (TListenerLog::Call{FFactor, 4, 3, false}));
  FFactor->Change(3, 4);  // 2/1 * 3/4 = 3/2
  EXPECT_EQ(FFactor->Numerator(), 3);
  EXPECT_EQ(FFactor->Denominator(), 2);
}

TEST_F(ScaleFactor, ApplyAndRevertRoundHalvesAwayFromZero) {
  FFactor->Assign(3, 2, false);
  EXPECT_EQ(FFactor->Apply(5), 8);
  EXPECT_EQ(FFactor->Apply(-5), -8);
  EXPECT_EQ(FFactor->Revert(8), 5);
  EXPECT_EQ(FFactor->Apply(TRect(1, 1, 4, 4)), TRect(2, 2, 6, 6));
  EXPECT_EQ(FFactor->Revert(TRect(2, 2, 6, 6)), TRect(1, 1, 4, 4));
  EXPECT_EQ(FFactor->Apply(TPoint(1, -1)), TPoint(2, -2));
  EXPECT_EQ(FFactor->Apply(TSize(3, 7)), TSize(5, 11));
  EXPECT_FLOAT_EQ(FFactor->ApplyF(1.0f), 1.5f);
  EXPECT_DOUBLE_EQ(FFactor->RevertF(3.0), 2.0);
  EXPECT_EQ(FFactor->ApplyF(TdxRectF(0, 1, 2, 4)), TdxRectF(0, 1.5f, 3, 6));
  EXPECT_EQ(FFactor->RevertF(TdxPointF(3, 6)), TdxPointF(2, 4));
  EXPECT_EQ(FFactor->ApplyF(TdxSizeF(2, 2)), TdxSizeF(3, 3));
}

TEST_F(ScaleFactor, AtOneEverythingIsReturnedExactly) {
  EXPECT_EQ(FFactor->Apply(7), 7);
  EXPECT_EQ(FFactor->Revert(-7), -7);
  EXPECT_EQ(FFactor->ApplyF(0.1f), 0.1f);
  EXPECT_EQ(FFactor->ApplyF(0.1), 0.1);
  EXPECT_EQ(FFactor->RevertF(0.1), 0.1);
  const TdxRectF r(0.1f, 0.2f, 0.3f, 0.7f);
  const TdxRectF applied = FFactor->ApplyF(r);
  EXPECT_EQ(std::memcmp(&applied, &r, sizeof(r)), 0);
  EXPECT_EQ(FFactor->Apply(TRect(1, 2, 3, 4)), TRect(1, 2, 3, 4));
}

TEST_F(ScaleFactor, ValuesAtAnotherScaleAreConverted) {
  FFactor->Assign(2, 1, false);
  TdxScaleFactor* source = New<TdxScaleFactor>();
  source->Assign(3, 2, false);
  EXPECT_EQ(FFactor->Apply(100, source), 133);  // 100 * 4 / 3
  EXPECT_EQ(FFactor->Apply(TSize(3, 3), 3, 2), TSize(4, 4));
  EXPECT_EQ(FFactor->Apply(100, 4, 2), 100);  // the same ratio
  // A factor of 1 still converts a value designed at another scale.
  TdxScaleFactor* one = New<TdxScaleFactor>();
  source->Assign(2, 1, false);
  EXPECT_EQ(one->Apply(100, source), 50);
  EXPECT_EQ(one->Apply(TRect(2, 4, 6, 8), source), TRect(1, 2, 3, 4));
  EXPECT_TRUE(FFactor->Equals(source));
  EXPECT_FALSE(one->Equals(source));
  one->Free();
  source->Free();
}

TEST_F(ScaleFactor, ListenersInOrderOfAdditionAndRemovalOfTheFirstOccurrence) {
  TListenerLog* second = New<TListenerLog>();
  const auto handler = BindEvent<&TListenerLog::Changed>(FLog);
  FFactor->ListenerAdd(BindEvent<&TListenerLog::Changed>(second));
  FFactor->ListenerAdd(handler);
  FFactor->Assign(2, 1, false);
  EXPECT_EQ(FLog->Calls.size(), 2u);
  EXPECT_EQ(second->Calls.size(), 1u);
  FFactor->ListenerRemove(handler);
  FFactor->Assign(3, 1, false);
  EXPECT_EQ(FLog->Calls.size(), 3u);
  TdxScaleFactor::ListenerRemove(nullptr, handler);  // no factor: nothing
  FFactor->ListenerRemove(handler);
  FFactor->ListenerRemove(BindEvent<&TListenerLog::Changed>(second));
  EXPECT_EQ(FFactor->ListenerCount(), 0);
  FFactor->Assign(1, 1, false);
  EXPECT_EQ(FLog->Calls.size(), 3u);
  second->Free();
}

TEST(ReduceFraction, Table) {
  struct Case {
    int N, D, ExpectedN, ExpectedD;
  };
  const Case cases[] = {{96, 144, 2, 3}, {120, 96, 5, 4}, {1, 5, 1, 5}, {0, 5, 0, 5}, {7, 7, 1, 1}, {97, 96, 97, 96}};
  for (const Case& c : cases) {
    int n = c.N, d = c.D;
    ReduceFraction(n, d);
    SCOPED_TRACE(testing::Message() << c.N << "/" << c.D);
    EXPECT_EQ(n, c.ExpectedN);
    EXPECT_EQ(d, c.ExpectedD);
  }
}

TEST(OwnedScaleFactor, FollowsItsOwnerUntilAssignedExplicitly) {
  TOwned<TdxScaleFactor> ownerGuard(New<TdxScaleFactor>());
  TdxScaleFactor* owner = ownerGuard.get();
  TdxOwnedScaleFactor* owned = New<TdxOwnedScaleFactor>();
  TOwned<TListenerLog> logOwner(New<TListenerLog>());
  TListenerLog* log = logOwner.get();
  owned->ListenerAdd(BindEvent<&TListenerLog::Changed>(log));
  EXPECT_TRUE(owned->UseOwnerValue());
  owned->SetOwner(owned);  // itself: ignored
  EXPECT_EQ(owned->Owner(), nullptr);
  owned->SetOwner(owner);
  owner->Assign(2, 1, true);
  EXPECT_EQ(owned->Numerator(), 2);
  ASSERT_EQ(log->Calls.size(), 1u);
  EXPECT_EQ(log->Calls[0], (TListenerLog::Call{owned, 2, 1, true}));
  EXPECT_TRUE(owned->UseOwnerValue());

  owned->Assign(1, 1, false);  // explicit: detaches
  EXPECT_FALSE(owned->UseOwnerValue());
  owner->Assign(3, 1, false);
  EXPECT_EQ(owned->Numerator(), 1);
  owned->SetUseOwnerValue(true);  // takes the owner's value again
  EXPECT_EQ(owned->Numerator(), 3);
  EXPECT_TRUE(owned->UseOwnerValue());

  owned->Free();  // leaves the owner's listeners
  EXPECT_EQ(owner->ListenerCount(), 0);
  owner->Assign(1, 1, false);
  ownerGuard.reset();
  logOwner.reset();
}

TEST(OwnedScaleFactor, ANewOwnerGivesItsValueAtOnce) {
  TdxScaleFactor* first = New<TdxScaleFactor>();
  TdxScaleFactor* second = New<TdxScaleFactor>();
  second->Assign(5, 4, false);
  TdxOwnedScaleFactor* owned = New<TdxOwnedScaleFactor>();
  owned->SetOwner(first);
  owned->SetOwner(second);
  EXPECT_EQ(owned->Numerator(), 5);
  EXPECT_EQ(first->ListenerCount(), 0);
  EXPECT_EQ(second->ListenerCount(), 1);
  owned->Free();
  first->Free();
  second->Free();
}

// ---------------------------------------------------------------------------
// Geometry objects

class TChangeCounter : public TObject {
  SK_CLASS(TChangeCounter, TObject)
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

std::vector<std::wstring> StoredProperties(TObject* AObject) {
  std::vector<std::wstring> names;
  for (const TPropInfo* p : GetPropList(AObject))
    if (p->Kind() == tkInteger && IsStoredProp(AObject, p)) names.push_back(p->Name);
  return names;
}

class GeometryObjects : public testing::Test {
 protected:
  void SetUp() override { FCounter = New<TChangeCounter>(); }
  void TearDown() override { FCounter->Free(); }
  template <class T>
  T* Watch(T* AObject) {
    AObject->SetOnChange(BindEvent<&TChangeCounter::Changed>(FCounter));
    return AObject;
  }
  TChangeCounter* FCounter = nullptr;
};

TEST_F(GeometryObjects, OffsetsStoreOnlyWhatDiffersFromTheDefault) {
  TcxOffsets* offsets = New<TcxOffsets>(nullptr, 2);
  EXPECT_EQ(StoredProperties(offsets), std::vector<std::wstring>{});
  offsets->SetValue(TRect(4, 4, 4, 4));
  EXPECT_EQ(StoredProperties(offsets), std::vector<std::wstring>{L"All"});
  EXPECT_EQ(offsets->All(), 4);
  offsets->SetValue(TRect(1, 2, 2, 2));
  EXPECT_EQ(StoredProperties(offsets), std::vector<std::wstring>{L"Left"});
  EXPECT_EQ(offsets->All(), -1);
  offsets->Free();
}

TEST_F(GeometryObjects, AllMinusOneRestoresTheDefault) {
  TcxMargin* margin = Watch(New<TcxMargin>(nullptr, TRect(1, 2, 3, 4)));
  margin->SetAll(5);
  EXPECT_EQ(margin->Margin(), TRect(5, 5, 5, 5));
  margin->SetAll(5);  // unchanged
  EXPECT_EQ(FCounter->Count, 1);
  margin->SetAll(-1);
  EXPECT_EQ(margin->Margin(), TRect(1, 2, 3, 4));
  EXPECT_EQ(FCounter->Count, 2);
  margin->SetAll(-1);  // already at the default: All is -1 there
  EXPECT_EQ(FCounter->Count, 2);
  EXPECT_EQ(margin->Width(), 4);
  EXPECT_EQ(margin->Height(), 6);
  margin->SetWidth(10);  // Right = 10 - Left
  EXPECT_EQ(margin->Margin(), TRect(1, 2, 9, 4));
  margin->Free();
}

TEST_F(GeometryObjects, SizeClampsNegativeComponentsAndIgnoresEqualValues) {
  TcxSize* size = Watch(New<TcxSize>(nullptr, TSize(16, 16)));
  size->SetWidth(-5);
  EXPECT_EQ(size->Width(), 0);
  EXPECT_EQ(FCounter->Count, 1);
  size->SetWidth(0);
  EXPECT_EQ(FCounter->Count, 1);
  EXPECT_EQ(StoredProperties(size), std::vector<std::wstring>{L"Width"});
  EXPECT_EQ(size->ToString(), L"0x16");
  size->Reset();
  EXPECT_TRUE(size->IsDefault());
  EXPECT_EQ(FCounter->Count, 2);
  TcxSize* other = New<TcxSize>(nullptr, 3, 4);
  EXPECT_EQ(other->Size(), TSize(3, 4));
  size->Assign(other);
  EXPECT_TRUE(size->IsEqual(other));
  EXPECT_EQ(FCounter->Count, 3);
  other->Free();
  size->Free();
}

TEST_F(GeometryObjects, ChangeScaleReportsAtMostOnce) {
  TcxRect* rect = Watch(New<TcxRect>(nullptr, TRect(1, 1, 4, 4)));
  rect->ChangeScale(3, 2);
  EXPECT_EQ(rect->Rect(), TRect(2, 2, 6, 6));
  EXPECT_EQ(FCounter->Count, 1);
  TcxRect* zero = Watch(New<TcxRect>(nullptr));
  zero->ChangeScale(3, 2);
  EXPECT_EQ(FCounter->Count, 1);
  TcxSize* size = Watch(New<TcxSize>(nullptr, 5, 7));
  size->ChangeScale(3, 2);
  EXPECT_EQ(size->Size(), TSize(8, 11));
  EXPECT_EQ(FCounter->Count, 2);
  size->Free();
  zero->Free();
  rect->Free();
}

TEST_F(GeometryObjects, StreamFormIsSixteenLittleEndianBytes) {
  TcxMargin* margin = Watch(New<TcxMargin>(nullptr, 0));
  margin->SetMargin(TRect(1, 2, 3, -4));
  TOwned<TMemoryStream> streamOwner(New<TMemoryStream>());
  TMemoryStream* stream = streamOwner.get();
  margin->SaveToStream(stream);
  const std::uint8_t expected[16] = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF};
  ASSERT_EQ(stream->Size(), 16);
  EXPECT_EQ(std::memcmp(stream->Memory(), expected, 16), 0);
  const int changes = FCounter->Count;
  stream->SetPosition(0);
  margin->LoadFromStream(stream);  // the same value: no change
  EXPECT_EQ(FCounter->Count, changes);
  TOwned<TcxRect> rectOwner(New<TcxRect>(nullptr));
  TcxRect* rect = rectOwner.get();
  stream->SetPosition(0);
  rect->LoadFromStream(stream);
  EXPECT_EQ(rect->Rect(), TRect(1, 2, 3, -4));
  stream->SetPosition(8);  // too short: an error, nothing changed
  EXPECT_THROW(rect->LoadFromStream(stream), EReadError);
  EXPECT_EQ(rect->Rect(), TRect(1, 2, 3, -4));

  TOwned<TcxSize> sizeOwner(New<TcxSize>(nullptr, 300, 2));
  TcxSize* size = sizeOwner.get();
  stream->Clear();
  size->SaveToStream(stream);
  const std::uint8_t sizeBytes[8] = {0x2C, 0x01, 0, 0, 2, 0, 0, 0};
  ASSERT_EQ(stream->Size(), 8);
  EXPECT_EQ(std::memcmp(stream->Memory(), sizeBytes, 8), 0);
  sizeOwner.reset();
  rectOwner.reset();
  streamOwner.reset();
  margin->Free();
}

TEST_F(GeometryObjects, RectCornersAndTextForms) {
  TcxRect* rect = Watch(New<TcxRect>(nullptr, TRect(1, 2, 3, 4)));
  rect->SetBottomLeft(TPoint(5, 6));
  EXPECT_EQ(rect->Rect(), TRect(5, 2, 3, 6));
  rect->SetTopRight(TPoint(9, 0));
  EXPECT_EQ(rect->Rect(), TRect(5, 0, 9, 6));
  EXPECT_EQ(rect->TopLeft(), TPoint(5, 0));
  EXPECT_EQ(rect->BottomRight(), TPoint(9, 6));
  EXPECT_EQ(FCounter->Count, 2);
  EXPECT_EQ(rect->ToString(), L"5;0;9;6");
  EXPECT_EQ(StoredProperties(rect), (std::vector<std::wstring>{L"Left", L"Top", L"Right", L"Bottom"}));
  rect->SetWidth(1);
  EXPECT_EQ(rect->Rect(), TRect(5, 0, 6, 6));
  EXPECT_EQ(GetClass(L"TcxRect"), TcxRect::ClassInfo());
  rect->Free();
}

TEST_F(GeometryObjects, AssignmentBetweenBranchesChangesNothing) {
  TcxRect* rect = Watch(New<TcxRect>(nullptr, TRect(1, 2, 3, 4)));
  TcxSize* size = New<TcxSize>(nullptr, 7, 8);
  rect->Assign(size);
  EXPECT_EQ(rect->Rect(), TRect(1, 2, 3, 4));
  EXPECT_EQ(FCounter->Count, 0);
  TcxMargin* margin = New<TcxMargin>(nullptr, 9);
  rect->Assign(margin);  // both rectangle-based
  EXPECT_EQ(rect->Rect(), TRect(9, 9, 9, 9));
  EXPECT_EQ(FCounter->Count, 1);
  margin->Free();
  size->Free();
  rect->Free();
}

TEST(FloatGeometry, ContentOfAMarginObject) {
  TcxMargin* margin = New<TcxMargin>(nullptr, TRect(1, 2, 3, 4));
  EXPECT_EQ(TdxRectF(0, 0, 10, 10).Content(margin), TdxRectF(1, 2, 7, 6));
  EXPECT_EQ(TdxRectF(0, 0, 10, 10).Content(static_cast<const TcxMargin*>(nullptr)), TdxRectF(0, 0, 10, 10));
  margin->Free();
}

// ---------------------------------------------------------------------------
// World transforms

TEST(Matrix, FlipMirrorsAboutThePixelCentre) {
  const XFORM flip = MakeFlipXForm(true, false, 4.5f, 0);
  EXPECT_EQ(TransformPointFByXForm(flip, TdxPointF(0, 3)), TdxPointF(9, 3));
  EXPECT_EQ(TransformPointFByXForm(flip, TdxPointF(9, 3)), TdxPointF(0, 3));
  const XFORM both = MakeFlipXForm(true, true, 1, 2);
  EXPECT_EQ(TransformPointFByXForm(both, TdxPointF(0, 0)), TdxPointF(2, 4));
}

TEST(Matrix, OrderOfOperations) {
  TdxMatrix* m = New<TdxMatrix>();
  m->Translate(10, 0, moAppend);
  m->Rotate(90, moPrepend);  // applied before the translation
  EXPECT_EQ(m->Transform(TdxPointF(1, 0)), TdxPointF(10, 1));
  m->Reset();
  m->Translate(10, 0, moPrepend);
  m->Rotate(90, moAppend);  // applied after the translation
  EXPECT_EQ(m->Transform(TdxPointF(1, 0)), TdxPointF(0, 11));

  for (TdxTransformationOrder order : {moPrepend, moAppend}) {
    SCOPED_TRACE(order);
    m->Reset();
    m->Rotate(90, TdxPointF(5, 5), order);
    EXPECT_EQ(m->Transform(TdxPointF(6, 5)), TdxPointF(5, 6));
    EXPECT_EQ(m->Transform(TdxPointF(5, 5)), TdxPointF(5, 5));
  }
  m->Reset();
  m->Scale(2, 3);
  m->Translate(TdxPointF(1, 1), moAppend);
  EXPECT_EQ(m->Transform(TdxPointF(1, 1)), TdxPointF(3, 4));
  EXPECT_FALSE(m->IsIdentity());
  m->Reset();
  EXPECT_TRUE(m->IsIdentity());
  m->Free();
}

TEST(Matrix, RectanglesMapOnlyTheirTwoCorners) {
  TdxMatrix* m = New<TdxMatrix>();
  m->Rotate(90);
  EXPECT_EQ(m->Transform(TdxRectF(0, 0, 10, 10)), TdxRectF(0, 0, -10, 10));
  EXPECT_EQ(TransformRectByXForm(m->XForm(), TRect(0, 0, 10, 10)), TRect(0, 0, -10, 10));
  m->Free();
  // Integer points are rounded half to even after mapping.
  const XFORM shift = MakeTranslationXForm(0.5f, 1.5f);
  EXPECT_EQ(TransformPointByXForm(shift, TPoint(0, 0)), TPoint(0, 2));
  EXPECT_EQ(TransformPointByXForm(shift, TPoint(1, 1)), TPoint(2, 2));
}

TEST(Matrix, CombineAppliesTheFirstThenTheSecond) {
  const XFORM scaleThenMove = CombineXForms(MakeScaleXForm(2, 2), MakeTranslationXForm(1, 0));
  const XFORM moveThenScale = CombineXForms(MakeTranslationXForm(1, 0), MakeScaleXForm(2, 2));
  EXPECT_EQ(TransformPointFByXForm(scaleThenMove, TdxPointF(1, 1)), TdxPointF(3, 2));
  EXPECT_EQ(TransformPointFByXForm(moveThenScale, TdxPointF(1, 1)), TdxPointF(4, 2));
  EXPECT_TRUE(IsIdentityXForm(GetIdentityXForm()));
  EXPECT_FALSE(IsIdentityXForm(MakeXForm(1, 0, 0, 1, 0.00001f, 0)));
  const XFORM r = MakeRotationXForm(30);
  EXPECT_FLOAT_EQ(r.eM12, 0.5f);
  EXPECT_FLOAT_EQ(r.eM21, -0.5f);
}

TEST(Vectors, AnglesLengthsAndNormals) {
  const float pi = std::numbers::pi_v<float>;
  EXPECT_FLOAT_EQ(TdxVectors::Angle(TdxPointF(1, 0), TdxPointF(0, 1)), pi / 2);
  EXPECT_FLOAT_EQ(TdxVectors::Angle(TdxPointF(0, 1), TdxPointF(1, 0)), 3 * pi / 2);
  EXPECT_FLOAT_EQ(TdxVectors::Angle(TdxPointF(1, 1), TdxPointF(2, 2)), 0);
  EXPECT_EQ(TdxVectors::Normalize(TdxPointF(0, 0)), TdxPointF(0, 0));
  EXPECT_EQ(TdxVectors::Normalize(TdxPointF(3, 4)), TdxPointF(0.6f, 0.8f));
  EXPECT_FLOAT_EQ(TdxVectors::Length(TdxPointF(1, 1), TdxPointF(4, 5)), 5);
  EXPECT_FLOAT_EQ(TdxVectors::ScalarProduct(TdxPointF(1, 2), TdxPointF(3, 4)), 11);
  EXPECT_EQ(TdxVectors::Scale(TdxPointF(1, -2), 3), TdxPointF(3, -6));
}

}  // namespace
