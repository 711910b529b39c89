#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

namespace {

using P = TcxCustomLookAndFeelPainter;

TEST(ArrowPoints, TheTableOfTheFourDirections) {
  struct TRow {
    const char* Name;
    TRect R;
    TcxArrowDirection Direction;
    bool Proportional;
    int Size;
    TcxArrowPoints Expected;
  };
  const TRow rows[] = {
      // s = 8 div 4 + 1 = 3: cx 5, cy 3, xl (9 - 5) div 2 = 2, ym = 6 / 2 = 3.
      {"down 9x9", TRect(0, 0, 9, 9), adDown, false, 0, {TPoint(6, 3), TPoint(4, 5), TPoint(2, 3)}},
      {"up 9x9", TRect(0, 0, 9, 9), adUp, false, 0, {TPoint(2, 5), TPoint(4, 3), TPoint(6, 5)}},
      // Left and right: s from the height; cx 3, cy 5, xl 3, ym 2.
      {"left 9x9", TRect(0, 0, 9, 9), adLeft, false, 0, {TPoint(5, 6), TPoint(3, 4), TPoint(5, 2)}},
      {"right 9x9", TRect(0, 0, 9, 9), adRight, false, 0, {TPoint(3, 2), TPoint(5, 4), TPoint(3, 6)}},
      // Negative coordinates: xl truncates (-11 / 2 = -5, not -6), ym
      // rounds (7 / 2 = 4, not 3): s 2, cx 3, cy 2.
      {"down in negatives", TRect(-8, 0, 0, 9), adDown, false, 0, {TPoint(-3, 4), TPoint(-4, 5), TPoint(-5, 4)}},
      // A proportional arrow in 20 x 10 uses the square (5, 0, 15, 10): s 3,
      // cx 5, xl 7, ym 4 (7 / 2 rounded).
      {"proportional", TRect(0, 0, 20, 10), adDown, true, 0, {TPoint(11, 4), TPoint(9, 6), TPoint(7, 4)}},
      // A given size: s 2, cx 3, cy 2 in (0, 0, 10, 10): xl 3, ym 4.
      {"size 2", TRect(0, 0, 10, 10), adUp, false, 2, {TPoint(3, 5), TPoint(4, 4), TPoint(5, 5)}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TcxArrowPoints points;
    P::CalculateArrowPoints(row.R, points, row.Direction, row.Proportional, row.Size);
    EXPECT_EQ(points, row.Expected);
  }
}

TEST(Arrows, ArrowsAreFilledWithEveryVertexIncluded) {
  TCanvasOnSurface canvas(20, 20, Bg);
  const TOwned<P> painter(New<P>());
  painter->DrawArrow(canvas.Get(), TRect(0, 0, 9, 9), adDown, clRed);
  for (const TPoint& p : {TPoint(6, 3), TPoint(4, 5), TPoint(2, 3)})
    EXPECT_EQ(canvas.Surface.Pixel(p.X, p.Y), Red) << p.X << "," << p.Y << "\n" << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.BoundsOf(Red), TRect(2, 3, 7, 6));
  EXPECT_EQ(canvas.Surface.Count(Red), 5 + 3 + 1);
}

TEST(Arrows, AScrollBarArrowIsEmbossedWhenDisabledAndShiftedWhenPressed) {
  const TRect r(0, 0, 17, 17);
  TcxArrowPoints points;
  P::CalculateArrowPoints(r, points, adRight, true);
  const TRect arrow(points[0].X, points[0].Y, points[1].X + 1, points[2].Y + 1);
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const auto factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    TCanvasOnSurface canvas(30, 30, Bg);
    UltraFlatPainter()->DrawScaledScrollBarArrow(canvas.Get(), r, cxbsDisabled, adRight, factor.get());
    // The highlight arrow one scaled pixel lower and further right, the
    // shadow arrow over it: the highlight shows below and right of it.
    TRect highlight = arrow;
    highlight.Offset(factor->Apply(1), factor->Apply(1));
    EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNSHADOW)), arrow);
    const TRect shown = canvas.Surface.BoundsOf(Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_TRUE(highlight.Contains(shown));
    EXPECT_EQ(shown.Right, highlight.Right);
    EXPECT_EQ(shown.Bottom, highlight.Bottom);
  }
  // Normal: in the symbol colour, no background drawn.
  TCanvasOnSurface canvas(30, 30, Bg);
  UltraFlatPainter()->DrawScaledScrollBarArrow(canvas.Get(), r, cxbsNormal, adRight, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg), arrow);
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNTEXT)), arrow);
  // Pressed: in the highlight text colour, and not shifted by the
  // UltraFlat painter.
  TCanvasOnSurface pressed(30, 30, Bg);
  UltraFlatPainter()->DrawScaledScrollBarArrow(pressed.Get(), r, cxbsPressed, adRight, DefaultScaleFactor());
  EXPECT_EQ(pressed.Surface.BoundsOf(Sys(COLOR_HIGHLIGHTTEXT)), arrow);
}

TEST(Arrows, AButtonArrowDrawsItsFaceBorderAndAnArrowOfAQuarterSide) {
  const TRect r(0, 0, 16, 16);
  TCanvasOnSurface canvas(20, 20, Bg);
  UltraFlatPainter()->DrawScaledArrow(canvas.Get(), r, cxbsHot, adUp, DefaultScaleFactor(), true);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_HIGHLIGHT)), RingLength(r));
  TcxArrowPoints points;
  P::CalculateArrowPoints(r, points, adUp, false);
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNTEXT)),
            TRect(points[0].X, points[1].Y, points[2].X + 1, points[0].Y + 1));
  const int face = canvas.Surface.Count(HotBlend());
  EXPECT_EQ(face, 14 * 14 - canvas.Surface.Count(Sys(COLOR_BTNTEXT)));
  // Without a border the whole rectangle is the face.
  TCanvasOnSurface plain(20, 20, Bg);
  UltraFlatPainter()->DrawScaledArrow(plain.Get(), r, cxbsNormal, adUp, DefaultScaleFactor(), false);
  EXPECT_EQ(plain.Surface.Count(Sys(COLOR_BTNFACE)) + plain.Surface.Count(Sys(COLOR_BTNTEXT)), 16 * 16);
}

TEST(Arrows, TheCollapseArrowIsTwoChevronsInTheBrush) {
  // s = (13 - 1) div 4 = 3; width 3 + 3 - 1 = 5, centred at x 4; y = 6.
  TCanvasOnSurface canvas(20, 20, Bg);
  const TOwned<P> painter(New<P>());
  painter->DrawCollapseArrow(canvas.Get(), TRect(0, 0, 13, 13), clRed, 1);
  EXPECT_EQ(canvas.Surface.Count(Red), 2 * (2 * 3 - 1)) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.BoundsOf(Red), TRect(4, 4, 4 + 2 + 3, 9));
  for (const TPoint& tip : {TPoint(4, 6), TPoint(6, 6)}) EXPECT_EQ(canvas.Surface.Pixel(tip.X, tip.Y), Red);
}

// ---------------------------------------------------------------------------
// Borders and separators

// What the system's DrawEdge gives on a surface of the same size.
TPixelSurface SystemEdge(int AWidth, int AHeight, UINT AEdge) {
  TPixelSurface surface(AWidth, AHeight, Bg);
  RECT r{0, 0, AWidth, AHeight};
  DrawEdge(surface.DC(), &r, AEdge, BF_RECT);
  return surface;
}

int DifferingPixels(const TPixelSurface& A, const TPixelSurface& B, const TRect& AArea) {
  int count = 0;
  for (int y = AArea.Top; y < AArea.Bottom; ++y)
    for (int x = AArea.Left; x < AArea.Right; ++x) count += A.Pixel(x, y) != B.Pixel(x, y);
  return count;
}

TEST(ContainerBorders, TheThreeDBorderIsTheSystemsSunkenEdge) {
  for (const TSize& size : {TSize(30, 20), TSize(7, 5), TSize(4, 4)}) {
    SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy);
    TCanvasOnSurface canvas(size.cx, size.cy, Bg);
    UltraFlatPainter()->DrawContainerBorder(canvas.Get(), TRect(0, 0, size.cx, size.cy), cbs3D, 2, clRed,
                                            cxBordersAll());
    const TPixelSurface edge = SystemEdge(size.cx, size.cy, EDGE_SUNKEN);
    EXPECT_EQ(DifferingPixels(canvas.Surface, edge, canvas.Surface.ClientRect()), 0);
  }
}

TEST(ContainerBorders, TheFlatBorderIsTheSunkenOuterEdgeAroundAFaceRing) {
  const TRect r(0, 0, 30, 20);
  TCanvasOnSurface canvas(30, 20, Bg);
  UltraFlatPainter()->DrawContainerBorder(canvas.Get(), r, cbsFlat, 2, clRed, cxBordersAll());
  const TPixelSurface edge = SystemEdge(30, 20, BDR_SUNKENOUTER);
  TRect inner = r;
  inner.Deflate(1);
  EXPECT_EQ(DifferingPixels(canvas.Surface, edge, r) - DifferingPixels(canvas.Surface, edge, inner), 0);
  EXPECT_EQ(RingCount(canvas.Surface, inner, Sys(COLOR_BTNFACE)), RingLength(inner));
  inner.Deflate(1);
  EXPECT_EQ(canvas.Surface.Count(inner, Bg), inner.Width() * inner.Height());
}

TEST(ContainerBorders, SidesOnlyForTheFlatAndThreeDStylesAndWidthsForTheOthers) {
  const TRect r(0, 0, 30, 20);
  {
    // Single and thick frame every side in the given colour and width,
    // whatever the sides asked.
    TCanvasOnSurface canvas(30, 20, Bg);
    UltraFlatPainter()->DrawContainerBorder(canvas.Get(), r, cbsSingle, 2, clRed, TcxBorders{bLeft});
    TRect inner = r;
    inner.Deflate(2);
    EXPECT_EQ(canvas.Surface.Count(Red), 30 * 20 - inner.Width() * inner.Height());
  }
  {
    // The 3-D style on the left and top only: no right or bottom lines.
    TCanvasOnSurface canvas(30, 20, Bg);
    UltraFlatPainter()->DrawContainerBorder(canvas.Get(), r, cbs3D, 2, clRed, TcxBorders{bLeft, bTop});
    EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNHIGHLIGHT)), 0);
    EXPECT_EQ(canvas.Surface.Count(TRect(28, 2, 30, 18), Bg), 2 * 16);
  }
  for (const TcxContainerBorderStyle style : {cbsNone, cbsUltraFlat, cbsOffice11}) {
    TCanvasOnSurface canvas(30, 20, Bg);
    UltraFlatPainter()->DrawContainerBorder(canvas.Get(), r, style, 2, clRed, cxBordersAll());
    EXPECT_EQ(canvas.Surface.Count(Bg), 30 * 20) << style;
  }
}

// A painter with borders two pixels wide shows the base's etched line.
class TWideBorderPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TWideBorderPainter, TcxCustomLookAndFeelPainter)
 public:
  int BorderSize() override { return 2; }
};

TEST(Separators, BandsOfTheSeparatorSizeCentredInTheRectangle) {
  {
    // The base: a separator of size 0 shows nothing.
    TCanvasOnSurface canvas(20, 20, Bg);
    const TOwned<P> base(New<P>());
    EXPECT_EQ(base->SeparatorSize(), 0);
    base->DrawSeparator(canvas.Get(), TRect(0, 0, 20, 20), true);
    EXPECT_EQ(canvas.Surface.Count(Bg), 400);
  }
  {
    // Etched: a shadow line and a highlight line beside it.
    TCanvasOnSurface canvas(20, 20, Bg);
    const TOwned<TWideBorderPainter> painter(New<TWideBorderPainter>());
    painter->DrawSeparator(canvas.Get(), TRect(0, 2, 20, 17), true);
    EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNSHADOW)), TRect(9, 2, 10, 16));
    EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNHIGHLIGHT)), TRect(10, 3, 11, 17));
  }
  // The UltraFlat painter: one pixel of the shadow, across the height of a
  // horizontal separator.
  TCanvasOnSurface canvas(20, 20, Bg);
  UltraFlatPainter()->DrawSeparator(canvas.Get(), TRect(2, 0, 18, 11), false);
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNSHADOW)), TRect(2, 5, 18, 6));
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNSHADOW)), 16);
}

TEST(Borders, TheUltraFlatBorderIsOnePixelOfTheShadow) {
  EXPECT_EQ(UltraFlatPainter()->BorderSize(), 1);
  const TRect r(1, 1, 19, 12);
  TCanvasOnSurface canvas(20, 20, Bg);
  UltraFlatPainter()->DrawBorder(canvas.Get(), r);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r));
  EXPECT_EQ(canvas.Surface.CountOther(r, Bg), RingLength(r));
  // The base draws none.
  TCanvasOnSurface base(20, 20, Bg);
  const TOwned<P> painter(New<P>());
  painter->DrawBorder(base.Get(), r);
  EXPECT_EQ(base.Surface.Count(Bg), 400);
}

}  // namespace
