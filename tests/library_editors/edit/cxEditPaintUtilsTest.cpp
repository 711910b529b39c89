#include "library/editors/edit/cxEditPaintUtils.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr COLORREF Ink = RGB(200, 30, 90);

// --- FillRectExcept --------------------------------------------------------

struct TExceptRow {
  const char* Name;
  TRect Outer;
  TRect Inner;
};

class FillRectExceptTest : public testing::TestWithParam<TExceptRow> {};

TEST_P(FillRectExceptTest, FillsWhatARegionDifferenceFills) {
  const TExceptRow& row = GetParam();
  TCanvasOnSurface canvas(30, 30, Bg);
  FillRectExcept(canvas.Get(), row.Outer, row.Inner, TdxSolidBrushCache::Get(TColor(Ink)));

  TPixelSurface reference(30, 30, Bg);
  const TOwnedRegion outer(CreateRectRgn(row.Outer.Left, row.Outer.Top, row.Outer.Right, row.Outer.Bottom));
  const TOwnedRegion inner(CreateRectRgn(row.Inner.Left, row.Inner.Top, row.Inner.Right, row.Inner.Bottom));
  const TOwnedRegion ring(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(ring.Get(), outer.Get(), inner.Get(), RGN_DIFF);
  const TOwnedBrush brush(CreateSolidBrush(Ink));
  FillRgn(reference.DC(), ring.Get(), brush.Get());

  EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FillRectExceptTest,
    testing::Values(TExceptRow{"InnerInside", {2, 3, 25, 20}, {6, 8, 19, 12}},
                    TExceptRow{"InnerOnTheLeftEdge", {2, 3, 25, 20}, {2, 8, 19, 12}},
                    TExceptRow{"InnerOnTheTopAndRight", {2, 3, 25, 20}, {6, 3, 25, 12}},
                    TExceptRow{"InnerOnTheBottom", {2, 3, 25, 20}, {6, 8, 19, 20}},
                    TExceptRow{"InnerOnePixelSmaller", {0, 0, 30, 30}, {1, 1, 29, 29}},
                    TExceptRow{"InnerEqual", {2, 3, 25, 20}, {2, 3, 25, 20}},
                    TExceptRow{"InnerEmpty", {2, 3, 25, 20}, {10, 10, 10, 15}},
                    TExceptRow{"OuterEmpty", {5, 5, 5, 20}, {5, 6, 5, 10}}),
    [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// --- DrawPolylineWithEnd ---------------------------------------------------

struct TPolylineRow {
  const char* Name;
  std::vector<TPoint> Points;
};

class PolylineWithEndTest : public testing::TestWithParam<TPolylineRow> {};

// Both modes give GDI's pen path plus its end pixel.
TEST_P(PolylineWithEndTest, EqualsAPenPathWithItsEndPixel) {
  const std::vector<TPoint>& points = GetParam().Points;
  TPixelSurface reference(20, 20, Bg);
  GdiPolyline(reference.DC(), points, Ink);
  SetPixel(reference.DC(), points.back().X, points.back().Y, Ink);

  for (const bool fill : {false, true}) {
    SCOPED_TRACE(fill ? "filled" : "pen");
    TCanvasOnSurface canvas(20, 20, Bg);
    if (fill) {
      // A wide pen must not matter to the filled path.
      canvas->Pen()->SetWidth(3);
    }
    DrawPolylineWithEnd(canvas.Get(), points, static_cast<int>(points.size()) - 1, TColor(Ink), fill);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PolylineWithEndTest,
                         testing::Values(TPolylineRow{"Up", {{5, 9}, {5, 2}}},
                                         TPolylineRow{"Down", {{5, 2}, {5, 9}}},
                                         TPolylineRow{"Right", {{2, 4}, {15, 4}}},
                                         TPolylineRow{"Left", {{15, 4}, {2, 4}}},
                                         TPolylineRow{"Corner", {{2, 2}, {2, 12}, {14, 12}}},
                                         TPolylineRow{"Spiral", {{1, 1}, {17, 1}, {17, 17}, {3, 17}, {3, 4}, {14, 4}}},
                                         TPolylineRow{"SinglePoint", {{7, 7}}}),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST(PolylineWithEnd, AnUpwardSegmentCoversTheSegmentPixelsAndTheEnd) {
  TCanvasOnSurface canvas(20, 20, Bg);
  const std::array<TPoint, 2> points = {TPoint(5, 9), TPoint(5, 2)};
  DrawPolylineWithEnd(canvas.Get(), points, 1, TColor(Ink), true);
  EXPECT_EQ(canvas.Surface.BoundsOf(Ink), TRect(5, 2, 6, 10));
  EXPECT_EQ(canvas.Surface.Count(Ink), 8);
}

// --- DrawEditButtonSides ---------------------------------------------------

TEST(EditButtonSides, FourSidesAreGdisFrameAndLeaveTheInside) {
  for (const TRect& given : {TRect(0, 0, 10, 10), TRect(3, 2, 20, 9), TRect(4, 4, 6, 5)}) {
    SCOPED_TRACE(testing::Message() << given.Left << "," << given.Top << "," << given.Right << "," << given.Bottom);
    TCanvasOnSurface canvas(24, 24, Bg);
    TRect R = given;
    DrawEditButtonSides(canvas.Get(), R, cxBordersAll(), TColor(Ink));

    TPixelSurface reference(24, 24, Bg);
    GdiFrame(reference.DC(), given, Ink);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(R, TRect(given.Left + 1, given.Top + 1, given.Right - 1, given.Bottom - 1));
  }
}

TEST(EditButtonSides, EachSideSpansTheWholeSideAndMovesOnlyItsEdge) {
  const TRect given(2, 3, 12, 9);
  struct TSide {
    TcxBorder Border;
    TRect Line;      // GDI fill of the expected line
    TRect Remaining;
  };
  const TSide sides[] = {{bLeft, {2, 3, 3, 9}, {3, 3, 12, 9}},
                         {bRight, {11, 3, 12, 9}, {2, 3, 11, 9}},
                         {bTop, {2, 3, 12, 4}, {2, 4, 12, 9}},
                         {bBottom, {2, 8, 12, 9}, {2, 3, 12, 8}}};
  for (const TSide& side : sides) {
    SCOPED_TRACE(side.Border);
    TCanvasOnSurface canvas(16, 16, Bg);
    TRect R = given;
    DrawEditButtonSides(canvas.Get(), R, TcxBorders{side.Border}, TColor(Ink));
    TPixelSurface reference(16, 16, Bg);
    GdiFill(reference.DC(), side.Line, Ink);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(R, side.Remaining);
  }
}

// --- Arrows ----------------------------------------------------------------

// Rows of '#' and '.' inside R of the surface.
std::string Cut(const TPixelSurface& S, const TRect& R) {
  std::string result;
  for (int y = R.Top; y < R.Bottom; ++y) {
    for (int x = R.Left; x < R.Right; ++x) result += S.Pixel(x, y) == Ink ? '#' : '.';
    result += '\n';
  }
  return result;
}

TEST(EditButtonArrow, ADownArrowOfFourRowsInFifteenPixels) {
  TCanvasOnSurface canvas(15, 15, Bg);
  DrawEditButtonArrow(canvas.Get(), 4, TRect(0, 0, 15, 15), adDown, false, false, TColor(Ink));
  EXPECT_EQ(canvas.Surface.BoundsOf(Ink), TRect(4, 5, 11, 9));
  EXPECT_EQ(Cut(canvas.Surface, TRect(4, 5, 11, 9)),
            "#######\n"
            ".#####.\n"
            "..###..\n"
            "...#...\n");
  EXPECT_EQ(canvas.Surface.Pixel(7, 8), Ink);
}

TEST(EditButtonArrow, TheOffsetMovesEveryPixelRightAndDown) {
  TCanvasOnSurface plain(16, 16, Bg), offset(16, 16, Bg);
  DrawEditButtonArrow(plain.Get(), 4, TRect(0, 0, 15, 15), adDown, false, false, TColor(Ink));
  DrawEditButtonArrow(offset.Get(), 4, TRect(0, 0, 15, 15), adDown, false, true, TColor(Ink));
  int moved = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) {
      EXPECT_EQ(plain.Surface.Pixel(x, y) == Ink, offset.Surface.Pixel(x + 1, y + 1) == Ink) << x << "," << y;
      moved += plain.Surface.Pixel(x, y) == Ink;
    }
  EXPECT_EQ(moved, 16);
  EXPECT_EQ(offset.Surface.Count(Ink), 16);
}

TEST(EditButtonArrow, ADoubleUpArrowIsTwoTrianglesOneAboveTheOther) {
  TCanvasOnSurface canvas(11, 12, Bg);
  DrawEditButtonArrow(canvas.Get(), 3, TRect(0, 0, 11, 12), adUp, true, false, TColor(Ink));
  // Box 5 x 6 centred: (3, 3).
  EXPECT_EQ(canvas.Surface.BoundsOf(Ink), TRect(3, 3, 8, 9));
  EXPECT_EQ(Cut(canvas.Surface, TRect(3, 3, 8, 9)),
            "..#..\n"
            ".###.\n"
            "#####\n"
            "..#..\n"
            ".###.\n"
            "#####\n");
}

// Left and right arrows are up and down arrows with rows and columns
// exchanged: drawn in a square, the transposed picture.
TEST(EditButtonArrow, SidewaysArrowsAreTransposedVerticalOnes) {
  const std::pair<TcxArrowDirection, TcxArrowDirection> pairs[] = {{adUp, adLeft}, {adDown, adRight}};
  for (const auto& [vertical, sideways] : pairs)
    for (const bool isDouble : {false, true}) {
      SCOPED_TRACE(testing::Message() << vertical << (isDouble ? " double" : ""));
      TCanvasOnSurface a(17, 17, Bg), b(17, 17, Bg);
      DrawEditButtonArrow(a.Get(), 5, TRect(0, 0, 17, 17), vertical, isDouble, false, TColor(Ink));
      DrawEditButtonArrow(b.Get(), 5, TRect(0, 0, 17, 17), sideways, isDouble, false, TColor(Ink));
      EXPECT_GT(a.Surface.Count(Ink), 0);
      for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) ASSERT_EQ(a.Surface.Pixel(x, y), b.Surface.Pixel(y, x)) << x << "," << y;
    }
}

TEST(EditButtonArrow, NoSizeDrawsNothing) {
  TCanvasOnSurface canvas(15, 15, Bg);
  DrawEditButtonArrow(canvas.Get(), 0, TRect(0, 0, 15, 15), adDown, true, false, TColor(Ink));
  DrawEditButtonArrow(canvas.Get(), -2, TRect(0, 0, 15, 15), adLeft, false, true, TColor(Ink));
  EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 0);
}

TEST(EditButtonArrow, SizesFitTheArea) {
  struct TRow {
    TSize Area;
    TSize Vertical;
  };
  const TRow rows[] = {{{15, 15}, {7, 4}}, {{10, 20}, {5, 3}}, {{1, 1}, {1, 1}},
                       {{0, 0}, {1, 1}},   {{12, 12}, {5, 3}}, {{17, 40}, {9, 5}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Area.cx << "x" << row.Area.cy);
    for (const TcxArrowDirection d : {adUp, adDown}) EXPECT_EQ(GetEditButtonArrowSize(row.Area, d), row.Vertical);
    const TSize swapped(row.Vertical.cy, row.Vertical.cx);
    for (const TcxArrowDirection d : {adLeft, adRight}) EXPECT_EQ(GetEditButtonArrowSize(row.Area, d), swapped);
  }
}

// --- Text flags ------------------------------------------------------------

TEST(EditTextFlags, EveryCombinationOfTheNineFlagsComesBack) {
  const int textOut[] = {0x1, 0x2, 0x10, 0x20, 0x200, 0x100, 0x800, 0x8000, 0x4000000};
  const int canvas[] = {0x4, 0x2, 0x20, 0x10, 0x40, 0x400, 0x800, 0x80, 0x10000};
  for (int mask = 0; mask < 512; ++mask) {
    int flags = 0, expected = 0;
    for (int i = 0; i < 9; ++i)
      if (mask & (1 << i)) {
        flags |= textOut[i];
        expected |= canvas[i];
      }
    ASSERT_EQ(TextOutFlagsToCanvasFlags(flags), expected) << mask;
    ASSERT_EQ(CanvasFlagsToTextOutFlags(expected), flags) << mask;
  }
  EXPECT_EQ(TextOutFlagsToCanvasFlags(0x1), 0x4);
  EXPECT_EQ(TextOutFlagsToCanvasFlags(0x100), 0x400);
}

TEST(EditTextFlags, FlagsWithoutACounterpartAreDropped) {
  EXPECT_EQ(TextOutFlagsToCanvasFlags(0x4 | 0x8 | 0x40 | 0x1000), 0);
  EXPECT_EQ(CanvasFlagsToTextOutFlags(0x1 | 0x8 | 0x100 | 0x200), 0);
}

// --- Colours and small rules -------------------------------------------------

TEST(EditButtonColor, UltraFlatFacesAreTheSystemBlendsSnappedToTheScreen) {
  const TScreenDC screen;
  EXPECT_EQ(Rgb(GetEditButtonColor(false, false)), GetNearestColor(screen.Get(), HotBlend()));
  EXPECT_EQ(Rgb(GetEditButtonColor(true, false)), GetNearestColor(screen.Get(), PressedBlend()));
  EXPECT_NE(Rgb(GetEditButtonColor(false, false)), Rgb(GetEditButtonColor(true, false)));
}

TEST(EditButtonColor, TheHotBorderIsTheHighlight) {
  EXPECT_EQ(Rgb(EditHotBorderColor(false)), Sys(COLOR_HIGHLIGHT));
}

TEST(EditPaintRules, ContentOffsetsByButtonStyle) {
  TCanvasOnSurface canvas;
  const int expected[] = {0, 4, 2, 2, 2, 2, 2};
  for (int style = btsDefault; style <= btsOffice11; ++style)
    EXPECT_EQ(EditButtonContentVerticalOffset(canvas.Get(), TcxEditButtonStyle(style), false), expected[style])
        << style;
}

TEST(EditPaintRules, NumericCharactersAreTheTenDigits) {
  int digits = 0;
  for (wchar_t c = 0; c < 0x800; ++c) digits += IsNumericChar(c);
  EXPECT_EQ(digits, 10);
  EXPECT_TRUE(IsNumericChar(L'0'));
  EXPECT_TRUE(IsNumericChar(L'9'));
  EXPECT_FALSE(IsNumericChar(L'\x0660'));  // Arabic-Indic zero
}

TEST(EditPaintRules, ThePainterOfAKindFollowsTheStyleTable) {
  EXPECT_EQ(GetLookAndFeelPainterForKind(false, lfUltraFlat), GetPaintersManager()->GetPainter(lfsUltraFlat));
  EXPECT_EQ(GetLookAndFeelPainterForKind(false, lfStandard), GetPaintersManager()->GetPainter(lfsStandard));
  EXPECT_EQ(GetLookAndFeelPainterForKind(false, lfOffice11), GetPaintersManager()->GetPainter(lfsOffice11));
  const TcxLookAndFeelStyle native = AreVisualStylesAvailable() ? lfsNative : lfsFlat;
  EXPECT_EQ(GetLookAndFeelPainterForKind(true, lfFlat), GetPaintersManager()->GetPainter(native));
}

}  // namespace
