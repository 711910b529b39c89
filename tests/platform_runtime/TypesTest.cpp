#include "platform/runtime/Types.h"

#include <gtest/gtest.h>

namespace {

TEST(Types, RecordsShareTheWindowsLayout) {
  TRect r(1, 2, 30, 40);
  // An API call that writes through the pointer must land in our fields.
  ASSERT_TRUE(SetRect(r.WinRect(), -5, 6, 70, 80));
  EXPECT_EQ(r, TRect(-5, 6, 70, 80));
  const RECT w = r;
  EXPECT_EQ(TRect(w), r);

  TPoint pts[2] = {{1, 2}, {3, 4}};
  ASSERT_TRUE(OffsetRect(r.WinRect(), 10, 10));
  EXPECT_EQ(r, TRect(5, 16, 80, 90));
  // Arrays of points travel to the API as POINT arrays.
  EXPECT_EQ(pts[1].WinPoint(), reinterpret_cast<POINT*>(pts) + 1);
}

TEST(Types, ContainsIsHalfOpen) {
  const TRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.Contains(TPoint(0, 0)));
  EXPECT_TRUE(r.Contains(TPoint(9, 9)));
  EXPECT_FALSE(r.Contains(TPoint(10, 5)));
  EXPECT_FALSE(r.Contains(TPoint(5, 10)));
  EXPECT_FALSE(r.Contains(TPoint(-1, 5)));
  EXPECT_FALSE(TRect(5, 5, 5, 9).Contains(TPoint(5, 6)));
}

TEST(Types, EmptinessAndZero) {
  struct Case { const char* Name; TRect R; bool Empty; bool Zero; };
  const Case cases[] = {
      {"zero", TRect(), true, true},
      {"zero width", TRect(5, 5, 5, 9), true, false},
      {"reversed", TRect(10, 0, 0, 10), true, false},
      {"one pixel", TRect(3, 3, 4, 4), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.R.IsEmpty(), c.Empty);
    EXPECT_EQ(c.R.IsZero(), c.Zero);
  }
}

TEST(Types, IntersectZeroesOnlyNegativeExtents) {
  TRect touching(0, 0, 10, 10);
  touching.Intersect(TRect(10, 0, 20, 10));
  EXPECT_EQ(touching, TRect(10, 0, 10, 10));

  TRect apart(0, 0, 10, 10);
  apart.Intersect(TRect(20, 0, 30, 10));
  EXPECT_TRUE(apart.IsZero());

  TRect overlap(0, 0, 10, 10);
  overlap.Intersect(TRect(5, -5, 15, 5));
  EXPECT_EQ(overlap, TRect(5, 0, 10, 5));
}

TEST(Types, CenterTruncatesTowardZero) {
  EXPECT_EQ(TRect(0, 0, 7, 7).GetCenter(), TPoint(3, 3));
  EXPECT_EQ(TRect(0, 0, -3, -3).GetCenter(), TPoint(-1, -1));
}

TEST(Types, InflateDeflateAndNormalize) {
  TRect r(10, 10, 20, 20);
  r.Inflate(2, 3);
  EXPECT_EQ(r, TRect(8, 7, 22, 23));
  EXPECT_EQ(r.DeflateByMargins(TRect(1, 2, 3, 4)), TRect(9, 9, 19, 19));
  r.InflateSides(1, 2, 3, 4);
  EXPECT_EQ(r, TRect(8, 7, 22, 23));
  r.Deflate(8);
  EXPECT_EQ(r, TRect(16, 15, 14, 15));
  r.Normalize();
  EXPECT_EQ(r, TRect(14, 15, 16, 15));
  EXPECT_EQ(TRect::Create(5, 6, 1, 2, true), TRect(1, 2, 5, 6));
  EXPECT_EQ(TRect::Create(5, 6, 1, 2), TRect(5, 6, 1, 2));
}

TEST(Types, SplitHorizontallyCoversTheWidth) {
  struct Case { int Width; int N; std::vector<int> Widths; };
  const Case cases[] = {{10, 3, {4, 3, 3}}, {10, 5, {2, 2, 2, 2, 2}}, {2, 4, {1, 1, 0, 0}}, {10, 1, {10}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " into " << c.N);
    const TRect r(5, 1, 5 + c.Width, 9);
    const std::vector<TRect> parts = r.SplitHorizontally(c.N);
    ASSERT_EQ(parts.size(), c.Widths.size());
    int left = r.Left;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      EXPECT_EQ(parts[i], TRect(left, 1, left + c.Widths[i], 9));
      left = parts[i].Right;
    }
    EXPECT_EQ(left, r.Right);
  }
  const TRect r(0, 0, 10, 10);
  for (int n : {0, -2}) {
    const std::vector<TRect> parts = r.SplitHorizontally(n);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0], r);
  }
}

TEST(Types, SmallPointsClampAndTravelInLParam) {
  EXPECT_EQ(PointToSmallPoint(TPoint(40000, -40000)), (TSmallPoint{32767, -32768}));
  for (const TPoint p : {TPoint(0, 0), TPoint(-1, -1), TPoint(123, -456), TPoint(-32768, 32767)}) {
    SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
    EXPECT_EQ(PointFromLParam(PointToLParam(p)), p);
  }
  // As the system packs it: GET_X_LPARAM semantics.
  EXPECT_EQ(PointFromLParam(MAKELPARAM(0xFFFE, 5)), TPoint(-2, 5));
}

TEST(Types, PointAndSizeHelpers) {
  TPoint p = TPoint::Create(3, -4);
  p.Negate();
  EXPECT_EQ(p, TPoint(-3, 4));
  p.Offset(TPoint(3, -4));
  EXPECT_TRUE(p.IsZero());
  EXPECT_EQ(Bounds(2, 3, 10, 20), TRect(2, 3, 12, 23));
  EXPECT_EQ(Bounds(2, 3, 10, 20).GetSize(), TSize(10, 20));
  EXPECT_EQ(TRect::CreateFromPointAndExtent(TPoint(1, 1), 2, 3), TRect(1, 1, 3, 4));
  EXPECT_FALSE(TSize(0, 1).IsZero());
}

}  // namespace
