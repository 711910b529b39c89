#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using P = TcxCustomLookAndFeelPainter;

void GdiShape(HDC DC, const std::vector<POINT>& APoints, COLORREF AColor, bool AFilled) {
  const HPEN pen = CreatePen(PS_SOLID, 1, AColor);
  const HBRUSH brush = CreateSolidBrush(AColor);
  const HGDIOBJ oldPen = SelectObject(DC, pen);
  const HGDIOBJ oldBrush = SelectObject(DC, brush);
  if (AFilled)
    Polygon(DC, APoints.data(), static_cast<int>(APoints.size()));
  else
    Polyline(DC, APoints.data(), static_cast<int>(APoints.size()));
  SelectObject(DC, oldPen);
  SelectObject(DC, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// ---------------------------------------------------------------------------
// Track-bar thumbs

// AVertical is AHorizontal mirrored on its diagonal.
void ExpectExchanged(const TPixelSurface& AVertical, const TPixelSurface& AHorizontal) {
  int differing = 0;
  for (int y = 0; y < AVertical.Height(); ++y)
    for (int x = 0; x < AVertical.Width(); ++x) differing += AVertical.Pixel(x, y) != AHorizontal.Pixel(y, x);
  EXPECT_EQ(differing, 0) << AHorizontal.Picture(Bg) << "\n" << AVertical.Picture(Bg);
}

// A thumb as UltraFlat draws it: the body filled in yellow, the light and
// dark outlines in the window-text colour; drawn by GDI from the points.
void ExpectThumb(const TPixelSurface& ASurface, const std::vector<POINT>& ABody, const std::vector<POINT>& ALight,
                 const std::vector<POINT>& ADark) {
  TPixelSurface reference(ASurface.Width(), ASurface.Height(), Bg);
  GdiShape(reference.DC(), ABody, RGB(255, 255, 0), true);
  GdiShape(reference.DC(), ALight, Sys(COLOR_WINDOWTEXT), false);
  GdiShape(reference.DC(), ADark, Sys(COLOR_WINDOWTEXT), false);
  EXPECT_EQ(Differing(ASurface, reference), 0) << ASurface.Picture(Bg) << "\n" << reference.Picture(Bg);
}

TEST(TrackBarThumbs, UltraFlatThumbsAreTheBodyPolygonWithLightAndDarkOutlines) {
  const TRect r(4, 3, 15, 23);
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, a = r.Width() / 2, m = T + a - 1;
  struct TRow {
    const char* Name;
    TcxTrackBarTicksAlign Ticks;
    std::vector<POINT> Body, Light, Dark;
  };
  const TRow rows[] = {
      {"down",
       tbtaDown,
       {{R - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - a}, {L + a, B - 1}, {R - 1, B - a}},
       {{R, T}, {L, T}, {L, B - a}, {L + a, B}},
       {{L + a, B}, {R, B - a}, {R, T}}},
      {"up",
       tbtaUp,
       {{R - 1, B - 2}, {L + 1, B - 2}, {L + 1, m}, {L + a, T}, {R - 1, m}},
       {{L, B - 1}, {L, m}, {L + a, T - 1}},
       {{L + a, T - 1}, {R, m}, {R, B - 1}, {L, B - 1}}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(20, 28, Bg);
    UltraFlatPainter()->DrawTrackBarThumb(canvas.Get(), r, cxbsNormal, true, row.Ticks, clYellow);
    ExpectThumb(canvas.Surface, row.Body, row.Light, row.Dark);
  }
}

TEST(TrackBarThumbs, AVerticalThumbIsTheHorizontalOneWithXAndYExchanged) {
  const TOwned<TcxCustomLookAndFeelPainter> base(New<TcxCustomLookAndFeelPainter>());
  for (P* painter : {UltraFlatPainter(), base.get()}) {
    for (const TcxTrackBarTicksAlign ticks : {tbtaUp, tbtaDown, tbtaBoth}) {
      SCOPED_TRACE(testing::Message() << painter->LookAndFeelName().c_str() << " " << ticks);
      TCanvasOnSurface horizontal(30, 30, Bg);
      painter->DrawTrackBarThumb(horizontal.Get(), TRect(5, 3, 16, 24), cxbsNormal, true, ticks, clYellow);
      TCanvasOnSurface vertical(30, 30, Bg);
      painter->DrawTrackBarThumb(vertical.Get(), TRect(3, 5, 24, 16), cxbsNormal, false, ticks, clYellow);
      ExpectExchanged(vertical.Surface, horizontal.Surface);
      EXPECT_GT(vertical.Surface.Count(RGB(255, 255, 0)), 100);
    }
  }
}

TEST(TrackBarThumbs, ATwoSidedThumbFillsItsRectangle) {
  const TRect r(2, 2, 13, 22);
  const TOwned<TcxCustomLookAndFeelPainter> base(New<TcxCustomLookAndFeelPainter>());
  TCanvasOnSurface canvas(16, 24, Bg);
  base->DrawTrackBarThumb(canvas.Get(), r, cxbsNormal, true, tbtaBoth, clYellow);
  EXPECT_EQ(canvas.Surface.Count(r, RGB(255, 255, 0)), r.Width() * r.Height());
  EXPECT_EQ(canvas.Surface.Count(Bg), 16 * 24 - r.Width() * r.Height());
  // UltraFlat frames it in the window-text colour.
  TCanvasOnSurface flat(16, 24, Bg);
  UltraFlatPainter()->DrawTrackBarThumb(flat.Get(), r, cxbsNormal, true, tbtaBoth, clYellow);
  EXPECT_EQ(RingCount(flat.Surface, r, Sys(COLOR_WINDOWTEXT)), RingLength(r));
}

// ---------------------------------------------------------------------------
// Range-track-bar thumbs

TEST(RangeTrackBarThumbs, UltraFlatHalfThumbsAreTheirBodyWithLightAndDarkOutlines) {
  // One-sided ticks give up the rectangle's last column.
  const TRect given(4, 3, 13, 23);
  const int L = 4, T = 3, R = 12, B = 23, a = R - L;
  struct TRow {
    const char* Name;
    bool Left;
    TcxTrackBarTicksAlign Ticks;
    std::vector<POINT> Body, Light, Dark;
  };
  const TRow rows[] = {
      {"left down",
       true,
       tbtaDown,
       {{R - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - a}, {R - 1, B - 1}},
       {{R, T}, {L, T}, {L, B - a}, {R, B}},
       {{R, B}, {R, T}}},
      {"left up",
       true,
       tbtaUp,
       {{R - 1, B - 2}, {L + 1, B - 2}, {L + 1, T + a - 1}, {R - 1, T}},
       {{L, B - 1}, {L, T + a - 1}, {R, T - 1}},
       {{R, T - 1}, {R, B - 1}, {L, B - 1}}},
      {"right down",
       false,
       tbtaDown,
       {{R - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - 1}, {R - 1, B - a}},
       {{R, T}, {L, T}, {L, B}},
       {{L, B}, {R, B - a}, {R, T}}},
      {"right up",
       false,
       tbtaUp,
       {{R - 1, B - 2}, {L + 1, B - 2}, {L + 1, T}, {R - 1, T + a - 1}},
       {{L, B - 1}, {L, T - 1}},
       {{L, T - 1}, {R, T + a - 1}, {R, B - 1}, {L, B - 1}}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(20, 28, Bg);
    if (row.Left)
      UltraFlatPainter()->DrawRangeTrackBarLeftThumb(canvas.Get(), given, cxbsNormal, true, row.Ticks, clYellow);
    else
      UltraFlatPainter()->DrawRangeTrackBarRightThumb(canvas.Get(), given, cxbsNormal, true, row.Ticks, clYellow);
    ExpectThumb(canvas.Surface, row.Body, row.Light, row.Dark);
  }
}

TEST(RangeTrackBarThumbs, AVerticalHalfThumbIsTheHorizontalOneWithXAndYExchanged) {
  for (const bool left : {true, false})
    for (const TcxTrackBarTicksAlign ticks : {tbtaUp, tbtaDown, tbtaBoth}) {
      SCOPED_TRACE(testing::Message() << (left ? "left " : "right ") << ticks);
      const auto draw = [&](TcxCanvas* ACanvas, const TRect& ARect, bool AHorizontal) {
        if (left)
          UltraFlatPainter()->DrawRangeTrackBarLeftThumb(ACanvas, ARect, cxbsNormal, AHorizontal, ticks, clYellow);
        else
          UltraFlatPainter()->DrawRangeTrackBarRightThumb(ACanvas, ARect, cxbsNormal, AHorizontal, ticks, clYellow);
      };
      TCanvasOnSurface horizontal(30, 30, Bg);
      draw(horizontal.Get(), TRect(5, 3, 14, 24), true);
      TCanvasOnSurface vertical(30, 30, Bg);
      draw(vertical.Get(), TRect(3, 5, 24, 14), false);
      ExpectExchanged(vertical.Surface, horizontal.Surface);
      EXPECT_GT(vertical.Surface.Count(RGB(255, 255, 0)), 60);
    }
}

TEST(RangeTrackBarThumbs, TwoSidedTicksFillTheWholeRectangle) {
  const TOwned<TcxCustomLookAndFeelPainter> base(New<TcxCustomLookAndFeelPainter>());
  const TRect r(2, 2, 11, 22);
  TCanvasOnSurface canvas(16, 24, Bg);
  base->DrawRangeTrackBarLeftThumb(canvas.Get(), r, cxbsNormal, true, tbtaBoth, clYellow);
  EXPECT_EQ(canvas.Surface.Count(r, RGB(255, 255, 0)), r.Width() * r.Height());
  EXPECT_EQ(canvas.Surface.Count(Bg), 16 * 24 - r.Width() * r.Height());
  EXPECT_EQ(base->RangeTrackBarLeftThumbSize(true, tbtaDown), TSize(0, 0));
  EXPECT_EQ(base->RangeTrackBarRightThumbSize(false, tbtaUp), TSize(0, 0));
}

// ---------------------------------------------------------------------------
// Splitters

// The columns of row AY that are AColor, as half-open runs.
std::vector<std::pair<int, int>> Runs(const TPixelSurface& ASurface, int AY, COLORREF AColor) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < ASurface.Width(); ++x) {
    if (ASurface.Pixel(x, AY) != AColor) continue;
    if (!runs.empty() && runs.back().second == x)
      ++runs.back().second;
    else
      runs.emplace_back(x, x + 1);
  }
  return runs;
}

using TRuns = std::vector<std::pair<int, int>>;

TEST(Splitters, TheLineIsBrokenByThreeDashesInTheMiddle) {
  TCanvasOnSurface canvas(40, 1, Bg);
  UltraFlatPainter()->DrawSplitter(canvas.Get(), TRect(0, 0, 40, 1), false, false, true);
  EXPECT_EQ(Runs(canvas.Surface, 0, Sys(COLOR_BTNSHADOW)), (TRuns{{0, 15}, {16, 18}, {19, 21}, {22, 24}, {25, 40}}));
  // Highlighted, UltraFlat draws it in the highlight colour.
  TCanvasOnSurface hot(40, 1, Bg);
  UltraFlatPainter()->DrawSplitter(hot.Get(), TRect(0, 0, 40, 1), true, false, true);
  EXPECT_EQ(Runs(hot.Surface, 0, Sys(COLOR_HIGHLIGHT)), (TRuns{{0, 15}, {16, 18}, {19, 21}, {22, 24}, {25, 40}}));
}

TEST(Splitters, AThickSplitterAddsAWhiteLineOnePixelRightAndDown) {
  const TOwned<TcxCustomLookAndFeelPainter> base(New<TcxCustomLookAndFeelPainter>());
  EXPECT_EQ(base->GetSplitterSize(true), TSize(17, 2));
  EXPECT_TRUE(base->HasSplitterInnerLine(true, DefaultScaleFactor()));
  EXPECT_FALSE(UltraFlatPainter()->HasSplitterInnerLine(true, DefaultScaleFactor()));
  TCanvasOnSurface canvas(42, 4, Bg);
  // The line sits in the middle row of the four (row 1) and stops a pixel
  // short of the end; centre (0 + 39) / 2 = 19.
  base->DrawSplitter(canvas.Get(), TRect(0, 0, 40, 4), false, false, true);
  EXPECT_EQ(Runs(canvas.Surface, 1, Sys(COLOR_BTNSHADOW)), (TRuns{{0, 14}, {15, 17}, {18, 20}, {21, 23}, {24, 39}}));
  EXPECT_EQ(Runs(canvas.Surface, 2, RGB(255, 255, 255)), (TRuns{{1, 15}, {16, 18}, {19, 21}, {22, 24}, {25, 40}}));
  EXPECT_EQ(canvas.Surface.CountOther(TRect(0, 0, 42, 1), Bg) + canvas.Surface.CountOther(TRect(0, 3, 42, 4), Bg), 0);
}

TEST(Splitters, TheCloseMarkIsAChevronOfTwoPixelSteps) {
  struct TRow {
    const char* Name;
    TcxArrowDirection Direction;
    bool Horizontal;
  };
  const TRow rows[] = {{"left", adLeft, true}, {"right", adRight, true}, {"up", adUp, false}, {"down", adDown, false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TRect r = row.Horizontal ? TRect(0, 0, 40, 11) : TRect(0, 0, 11, 40);
    TCanvasOnSurface canvas(r.Right, r.Bottom, Bg);
    UltraFlatPainter()->DrawSplitter(canvas.Get(), r, false, false, row.Horizontal, true, row.Direction);
    TPixelSurface reference(r.Right, r.Bottom, Bg);
    const COLORREF shadow = Sys(COLOR_BTNSHADOW);
    const int c = 20, m = 5;
    // The line, with a gap from c - 5 to c + 6 for the mark.
    for (int t = 0; t < 40; ++t)
      if (t < c - 5 || t >= c + 6) SetPixel(reference.DC(), row.Horizontal ? t : m, row.Horizontal ? m : t, shadow);
    // Steps i = 0 .. 3 on each side of the axis: along the axis two pixels
    // starting 5 before the centre (3 after it for right and down) and
    // moving one toward the tip per step.
    for (int i = 0; i <= 3; ++i)
      for (const int side : {-i, i})
        for (int k = 0; k < 2; ++k) {
          const bool backwards = row.Direction == adRight || row.Direction == adDown;
          const int along = backwards ? c + 4 - i - k : c - 5 + i + k;
          const int across = m + side;
          SetPixel(reference.DC(), row.Horizontal ? along : across, row.Horizontal ? across : along, shadow);
        }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(Splitters, TheScrollBarSplitterIsANavigatorButtonWithAVerticalSplitterInside) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 17, 30);
  TCanvasOnSurface canvas(17, 30, Bg);
  painter->DrawScaledScrollBarSplitter(canvas.Get(), r, cxbsNormal, DefaultScaleFactor());
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r)) << "the navigator border";
  // The splitter runs down the middle column of (2, 2, 15, 28), broken in
  // its middle (centre 15).
  int column = 0;
  for (int y = 2; y < 28; ++y) column += canvas.Surface.Pixel(8, y) == Sys(COLOR_BTNSHADOW);
  // Gaps at 15 - 5, 15 - 2, 15 + 1 and 15 + 4.
  EXPECT_EQ(column, 26 - 4);
  for (const int gap : {10, 13, 16, 19}) EXPECT_NE(canvas.Surface.Pixel(8, gap), Sys(COLOR_BTNSHADOW)) << gap;
  EXPECT_EQ(canvas.Surface.Pixel(8, 9), Sys(COLOR_BTNSHADOW));
}

// ---------------------------------------------------------------------------
// The range control

// GDI+'s own framed rectangle: the fill, then a one-pixel pen around the
// inside of R.
void GdipFramedRectangle(HDC DC, const TRect& R, ARGB AFill, ARGB ABorder) {
  GdipFill(DC, {R}, AFill);
  GpGraphics* graphics = nullptr;
  GdipCreateFromHDC(DC, &graphics);
  GpPen* pen = nullptr;
  GdipCreatePen1(ABorder, 1, Gdiplus::UnitPixel, &pen);
  GdipDrawRectangleI(graphics, pen, R.Left, R.Top, R.Width() - 1, R.Height() - 1);
  GdipDeletePen(pen);
  GdipDeleteGraphics(graphics);
}

TEST(RangeControl, ThumbsAreFramedWithThreeGripLinesAsGdiPlusDrawsThem) {
  auto* painter = UltraFlatPainter();
  constexpr ARGB red = 0x80FF0000, blue = 0xFF0000FF;
  struct TRow {
    const char* Name;
    bool Left;
    TdxAlphaColor Color;
    ARGB Fill;
    TScale Scale;
    std::vector<TRect> Grip;
  };
  // An 11 x 19 thumb at (2, 3): the grip 5 wide and 8 shorter, centred:
  // lines at x = 5, 7 and 9 from y = 7 to 18; at 200 % a 22 x 38 thumb
  // with lines two wide, four apart, in a grip 9 wide and 16 shorter.
  const TRow rows[] = {
      {"left, translucent red", true, red, red, {1, 1}, {TRect(5, 7, 6, 18), TRect(7, 7, 8, 18), TRect(9, 7, 10, 18)}},
      {"right, default white", false, TdxAlphaColors::Default, 0xFFFFFFFF, {1, 1},
       {TRect(5, 7, 6, 18), TRect(7, 7, 8, 18), TRect(9, 7, 10, 18)}},
      {"left at 200 %", true, red, red, {2, 1},
       {TRect(8, 11, 10, 33), TRect(12, 11, 14, 33), TRect(16, 11, 18, 33)}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const auto factor = ScaleFactorOf(row.Scale.Numerator, row.Scale.Denominator);
    const TRect r = TRect(2, 3, 2, 3).InflateByMargins(TRect(0, 0, factor->Apply(11), factor->Apply(19)));
    EXPECT_EQ(r.Width(), painter->GetRangeControlScaledThumbSize(factor.get()).cx);
    TCanvasOnSurface canvas(30, 44, Bg);
    if (row.Left)
      painter->DrawRangeControlScaledLeftThumb(canvas.Get(), r, row.Color, blue, factor.get());
    else
      painter->DrawRangeControlScaledRightThumb(canvas.Get(), r, row.Color, blue, factor.get());
    TPixelSurface reference(30, 44, Bg);
    GdipFramedRectangle(reference.DC(), r, row.Fill, blue);
    GdipFill(reference.DC(), row.Grip, blue);
    EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 1) << canvas.Surface.Picture(Bg);
  }
}

TEST(RangeControl, RulerHeaderAndSizingGlyph) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 31, 13);
  constexpr ARGB border = 0xC0102030;
  struct TRow {
    const char* Name;
    bool Hot;
    TdxAlphaColor Color;
    ARGB Fill;
  };
  const TRow rows[] = {{"default", false, TdxAlphaColors::Default, 0xFFFFFFFF},
                       {"default, hot", true, TdxAlphaColors::Default, 0xFFE2EAFD},
                       {"translucent green", true, 0x6000FF00, 0x6000FF00}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 14, Bg);
    painter->DrawRangeControlRulerHeader(canvas.Get(), r, row.Hot, row.Color, border);
    TPixelSurface reference(32, 14, Bg);
    GdipFill(reference.DC(), {r}, row.Fill);
    GdipFill(reference.DC(), {TRect(1, 1, 2, 13)}, border);
    GdipFill(reference.DC(), {TRect(1, 12, 31, 13)}, border);
    EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 1) << canvas.Surface.Picture(Bg);
  }
  // The sizing glyph: one line down the middle, two pixels short at each end.
  TCanvasOnSurface glyph(7, 11, Bg);
  painter->DrawRangeControlSizingGlyph(glyph.Get(), TRect(1, 1, 6, 10), 0xFF000000);
  EXPECT_EQ(glyph.Surface.BoundsOfOther(Bg), TRect(3, 3, 4, 8));
  EXPECT_EQ(glyph.Surface.Count(RGB(0, 0, 0)), 5);
  EXPECT_EQ(painter->GetRangeControlSizingGlyphSize(), TSize(5, 9));
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->GetRangeControlScaledScrollAreaHeight(twice.get()), 22);
}

}  // namespace
