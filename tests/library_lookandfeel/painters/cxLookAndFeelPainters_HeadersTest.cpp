#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <utility>

namespace {

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Sorting triangles

// The pixels in AColor, as (x, y) pairs.
std::set<std::pair<int, int>> PixelsOf(const TPixelSurface& S, COLORREF AColor) {
  std::set<std::pair<int, int>> result;
  for (int y = 0; y < S.Height(); ++y)
    for (int x = 0; x < S.Width(); ++x)
      if (S.Pixel(x, y) == AColor) result.insert({x, y});
  return result;
}

TEST(SortingMarks, AnUltraFlatMarkIsATriangleOutlineCentredInItsRectangle) {
  // 7 x 8 at 96 DPI in (10, 4, 31, 24): the apex column is (10 + 31) / 2 =
  // 20, the mark spans columns 17 to 23 and rows (4 + 24 - 8) / 2 = 10 to 17.
  for (const bool ascending : {true, false}) {
    SCOPED_TRACE(ascending ? "ascending" : "descending");
    TCanvasOnSurface canvas(40, 28, Bg);
    UltraFlatPainter()->DrawSortingMark(canvas.Get(), TRect(10, 4, 31, 24), ascending);
    const COLORREF shadow = Sys(COLOR_BTNSHADOW);
    EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg), TRect(17, 10, 24, 18)) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), canvas.Surface.Count(shadow));
    const int apexRow = ascending ? 10 : 17;
    const int baseRow = ascending ? 17 : 10;
    EXPECT_EQ(canvas.Surface.Count(TRect(0, apexRow, 40, apexRow + 1), shadow), 1);
    EXPECT_EQ(canvas.Surface.Pixel(20, apexRow), shadow);
    EXPECT_EQ(canvas.Surface.Count(TRect(17, baseRow, 24, baseRow + 1), shadow), 7) << "a closed base";
    // Between apex and base: only the two edges, one on each side of the
    // apex column, each within half a pixel of the ideal line.
    for (int y = 11; y < 17; ++y) {
      const double t = std::abs(y - apexRow) / 7.0;
      for (int x = 17; x < 24; ++x) {
        if (canvas.Surface.Pixel(x, y) != shadow) continue;
        const double ideal = x < 20 ? 20 - 3 * t : 20 + 3 * t;
        EXPECT_LE(std::abs(x - ideal), 1.0) << "(" << x << ", " << y << ")";
      }
      // Next to the apex both edges may still lie on its column.
      EXPECT_GE(canvas.Surface.Count(TRect(17, y, 21, y + 1), shadow), 1) << "row " << y;
      EXPECT_GE(canvas.Surface.Count(TRect(20, y, 24, y + 1), shadow), 1) << "row " << y;
    }
  }
}

TEST(SortingMarks, TheLeftEdgeIsDarkTheRightLightAndTheBaseByDirection) {
  const COLORREF dark = RGB(200, 0, 0), light = RGB(0, 0, 200);
  for (const bool ascending : {true, false}) {
    SCOPED_TRACE(ascending ? "ascending" : "descending");
    TCanvasOnSurface canvas(40, 28, Bg);
    UltraFlatPainter()->DrawSortingTriangle(canvas.Get(), TRect(10, 4, 31, 24), static_cast<TColor>(dark),
                                            static_cast<TColor>(light), ascending, DefaultScaleFactor());
    const int baseRow = ascending ? 17 : 10;
    for (int y = 10; y < 18; ++y) {
      if (y == baseRow) continue;
      EXPECT_EQ(canvas.Surface.Count(TRect(17, y, 20, y + 1), light), 0) << "row " << y;
      EXPECT_EQ(canvas.Surface.Count(TRect(21, y, 24, y + 1), dark), 0) << "row " << y;
    }
    // The ascending base is light but for the dark left edge's end.
    const TRect base(17, baseRow, 24, baseRow + 1);
    EXPECT_EQ(canvas.Surface.Count(base, ascending ? light : dark), ascending ? 6 : 7) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Pixel(17, baseRow), dark);
    EXPECT_EQ(PixelsOf(canvas.Surface, dark).size() + PixelsOf(canvas.Surface, light).size(),
              static_cast<std::size_t>(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg)));
  }
}

TEST(SortingMarks, SummaryMarksHaveABarAboveAShorterTriangle) {
  const COLORREF dark = RGB(200, 0, 0), light = RGB(0, 0, 200);
  for (const bool ascending : {true, false}) {
    SCOPED_TRACE(ascending ? "ascending" : "descending");
    TCanvasOnSurface canvas(40, 30, Bg);
    // 7 x 9: a bar at row 3 (dark) and 4 (light), then a 7 x 7 triangle in
    // rows (3 + 27 - 7) / 2 + 2 = 13 to 19.
    UltraFlatPainter()->DrawSummarySortingTriangle(canvas.Get(), TRect(10, 3, 31, 27), static_cast<TColor>(dark),
                                                   static_cast<TColor>(light), ascending, DefaultScaleFactor());
    EXPECT_EQ(canvas.Surface.Count(TRect(17, 3, 24, 4), dark), 7) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(TRect(17, 4, 24, 5), light), 7);
    const int top = ascending ? 13 : (3 + 27 + 7) / 2 + 1 - 6;
    EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg), TRect(17, 3, 24, top + 7));
    EXPECT_EQ(canvas.Surface.CountOther(TRect(0, 5, 40, top), Bg), 0) << "a gap under the bar";
  }
  // With one colour the bar is one row.
  TCanvasOnSurface canvas(40, 30, Bg);
  UltraFlatPainter()->DrawScaledSummarySortingMark(canvas.Get(), TRect(10, 3, 31, 27), true, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.CountOther(TRect(0, 4, 40, 5), Bg), 0);
}

TEST(SortingMarks, SizesAndTheAreaWidth) {
  for (const TScale& scale : Scales) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const auto scaled = [&](int V) { return static_cast<int>(std::lround(V * scale.Numerator / double(scale.Denominator))); };
    EXPECT_EQ(UltraFlatPainter()->ScaledSortingMarkSize(factor.get()), TSize(scaled(7), scaled(8)));
    EXPECT_EQ(UltraFlatPainter()->ScaledSummarySortingMarkSize(factor.get()), TSize(scaled(7), scaled(9)));
    EXPECT_EQ(UltraFlatPainter()->ScaledSortingMarkAreaSize(factor.get()), TPoint(scaled(16), scaled(8)))
        << "touch mode is off";
  }
}

TEST(SortingMarks, TheSummaryValueMarkIsTheIndicatorListsLastImageCentred) {
  P* painter = UltraFlatPainter();
  EXPECT_EQ(painter->SummaryValueSortingMarkSize(), TSize(8, 9));
  TCanvasOnSurface canvas(30, 31, Bg);
  painter->DrawSummaryValueSortingMark(canvas.Get(), TRect(0, 0, 30, 31), true);
  const TRect drawn = canvas.Surface.BoundsOfOther(Bg);
  ASSERT_FALSE(drawn.IsEmpty());
  // (30 - 8) / 2 = 11, (31 - 9) / 2 = 11.
  EXPECT_GE(drawn.Left, 11);
  EXPECT_GE(drawn.Top, 11);
  EXPECT_LE(drawn.Right, 19);
  EXPECT_LE(drawn.Bottom, 20);
}

// ---------------------------------------------------------------------------
// Headers

TEST(Headers, TheBaseBorderIsARaisedEdgeOnEverySideWhateverTheBorders) {
  const TOwned<P> base(New<P>());
  const TRect r(2, 2, 30, 20);
  struct TRow {
    const char* Name;
    TcxNeighbors Neighbors;
  };
  const TRow rows[] = {{"alone", {}}, {"left neighbour", {nLeft}}, {"right neighbour", {nRight}}, {"both", {nLeft, nRight}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 22, Bg);
    base->DrawHeaderBorder(canvas.Get(), r, row.Neighbors, {});
    TPixelSurface reference(32, 22, Bg);
    RECT edge = r;
    DrawEdge(reference.DC(), &edge, BDR_RAISEDINNER, BF_RECT);
    if (row.Neighbors.Contains(nLeft)) {
      SetPixel(reference.DC(), 2, 3, Sys(COLOR_BTNFACE));
      SetPixel(reference.DC(), 2, 18, Sys(COLOR_BTNFACE));
    }
    if (row.Neighbors.Contains(nRight)) {
      SetPixel(reference.DC(), 29, 2, Sys(COLOR_BTNHIGHLIGHT));
      SetPixel(reference.DC(), 29, 3, Sys(COLOR_BTNFACE));
      SetPixel(reference.DC(), 29, 18, Sys(COLOR_BTNFACE));
    }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
  EXPECT_EQ(base->HeaderBounds(r, {nLeft, nTop}, cxBordersAll()), r);
}

TEST(Headers, TextHeadersAreBorderBackgroundAndTextWhereDrawTextPutsIt) {
  const String text = L"Name";
  const TRect bounds(3, 2, 83, 22);
  const TRect textArea(8, 4, 78, 20);
  const COLORREF background = RGB(240, 230, 200), textColor = RGB(20, 20, 120);
  struct TRow {
    const char* Name;
    P* Painter;
    int Border;
  };
  const TOwned<P> base(New<P>());
  const TRow rows[] = {{"base", base.get(), 0}, {"UltraFlat", UltraFlatPainter(), 1}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(90, 26, Bg);
    const TOwned<TFont> font(New<TFont>());
    font->SetName(L"Tahoma");
    font->SetHeight(-11);
    row.Painter->DrawHeader(canvas.Get(), bounds, textArea, {}, cxBordersAll(), cxbsNormal, taCenter, vaCenter, false,
                            false, text, font.get(), static_cast<TColor>(textColor),
                            static_cast<TColor>(background));
    TRect content = bounds;
    content.Deflate(row.Border);
    TRect inside = content;
    inside.Deflate(1);
    // The background fills the content bounds, less the text.
    EXPECT_EQ(canvas.Surface.Count(content, background) + canvas.Surface.CountOther(content, background),
              content.Width() * content.Height());
    EXPECT_GT(canvas.Surface.Count(content, background), content.Width() * content.Height() * 3 / 4)
        << canvas.Surface.Picture(Bg);
    TPixelSurface reference(90, 26, background);
    {
      const TOwnedFont handle(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
      const TSelectObject selected(reference.DC(), handle.Get());
      SetBkMode(reference.DC(), TRANSPARENT);
      SetTextColor(reference.DC(), textColor);
      RECT r = textArea;
      DrawTextW(reference.DC(), text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    const TRect expected = reference.BoundsOfOther(background);
    ASSERT_FALSE(expected.IsEmpty());
    // The text, inside the border.
    const TRect ours = [&] {
      TPixelSurface inner(90, 26, background);
      BitBlt(inner.DC(), inside.Left, inside.Top, inside.Width(), inside.Height(), canvas.Surface.DC(), inside.Left,
             inside.Top, SRCCOPY);
      return inner.BoundsOfOther(background);
    }();
    EXPECT_LE(std::abs(ours.Left - expected.Left), 1);
    EXPECT_LE(std::abs(ours.Right - expected.Right), 1);
    EXPECT_LE(std::abs(ours.Top - expected.Top), 1);
    EXPECT_LE(std::abs(ours.Bottom - expected.Bottom), 1);
    EXPECT_GT(canvas.Surface.Count(textColor), 10);
  }
}

TEST(Headers, UltraFlatBordersAreOnePixelOfTextColourOnTheSidesAskedPlusRightAndBottom) {
  const TRect r(2, 2, 30, 20);
  struct TRow {
    const char* Name;
    TcxBorders Borders;
  };
  const TRow rows[] = {{"none", {}}, {"left", {bLeft}}, {"top", {bTop}}, {"all", cxBordersAll()}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 22, Bg);
    UltraFlatPainter()->DrawHeaderBorder(canvas.Get(), r, {}, row.Borders);
    TPixelSurface reference(32, 22, Bg);
    const COLORREF text = Sys(COLOR_BTNTEXT);
    GdiFill(reference.DC(), TRect(29, 2, 30, 20), text);
    GdiFill(reference.DC(), TRect(2, 19, 30, 20), text);
    if (row.Borders.Contains(bLeft)) GdiFill(reference.DC(), TRect(2, 2, 3, 20), text);
    if (row.Borders.Contains(bTop)) GdiFill(reference.DC(), TRect(2, 2, 30, 3), text);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(Headers, UltraFlatGeometry) {
  P* painter = UltraFlatPainter();
  EXPECT_EQ(painter->HeaderBorders({nLeft}), (TcxBorders{bTop, bRight, bBottom}));
  EXPECT_EQ(painter->HeaderBorders({nTop, nRight}), (TcxBorders{bLeft, bRight, bBottom}));
  const TRect r(10, 10, 50, 30);
  // A side asked for that the neighbour draws lies outside the bounds.
  EXPECT_EQ(painter->HeaderBounds(r, {nLeft}, cxBordersAll()), TRect(9, 10, 50, 30));
  EXPECT_EQ(painter->HeaderBounds(r, {nLeft, nTop}, {bRight}), r);
  EXPECT_EQ(painter->ScaledHeaderContentBounds(r, {bLeft, bBottom}, DefaultScaleFactor()), TRect(11, 10, 50, 29));
  EXPECT_EQ(painter->HeaderHeight(13), 2 + 13 + 2 + 2);

  TCanvasOnSurface canvas(10, 10);
  const TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-11);
  SIZE extent{};
  {
    const TOwnedFont handle(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const TSelectObject selected(canvas.Surface.DC(), handle.Get());
    GetTextExtentPoint32W(canvas.Surface.DC(), L"Header", 6, &extent);
  }
  ASSERT_GT(extent.cx, 0);
  // A left and a right border cancel; either alone moves the width by one.
  EXPECT_EQ(painter->HeaderWidth(canvas.Get(), {bLeft, bRight}, L"Header", font.get()), 4 + extent.cx);
  EXPECT_EQ(painter->HeaderWidth(canvas.Get(), {bLeft}, L"Header", font.get()), 4 + extent.cx + 1);
  EXPECT_EQ(painter->HeaderWidth(canvas.Get(), {bRight}, L"Header", font.get()), 4 + extent.cx - 1);
}

TEST(Headers, HeaderControlSectionTextIsEmbossedWhenDisabledAndNothingWhenEmpty) {
  TCanvasOnSurface canvas(60, 20, Bg);
  UltraFlatPainter()->DrawHeaderControlSectionText(canvas.Get(), TRect(0, 0, 60, 20), cxbsDisabled, taLeftJustify,
                                                   vaTop, false, false, L"Abc", canvas->Font(), clRed);
  EXPECT_GT(canvas.Surface.Count(Sys(COLOR_BTNSHADOW)), 5);
  EXPECT_GT(canvas.Surface.Count(Sys(COLOR_BTNHIGHLIGHT)), 5);
  EXPECT_EQ(canvas.Surface.Count(Red), 0);
  TCanvasOnSurface empty(60, 20, Bg);
  UltraFlatPainter()->DrawHeaderControlSectionText(empty.Get(), TRect(0, 0, 60, 20), cxbsNormal, taLeftJustify, vaTop,
                                                   false, false, String(), empty->Font(), clRed);
  EXPECT_EQ(empty.Surface.Count(Bg), 1200);
}

TEST(Headers, UltraFlatHeaderControlSectionsFrameAndFillByState) {
  struct TRow {
    TcxButtonState State;
    COLORREF Frame;
    COLORREF Fill;
  };
  const COLORREF given = RGB(250, 245, 220);
  const TRow rows[] = {{cxbsNormal, RGB(0, 0, 0), given},
                       {cxbsHot, RGB(0, 0, 0), HotBlend()},
                       {cxbsPressed, RGB(0, 0, 0), PressedBlend()},
                       {cxbsDisabled, Sys(COLOR_BTNSHADOW), given}};
  const TRect r(2, 2, 40, 20);
  TRect inner = r;
  inner.Deflate(1);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(42, 22, Bg);
    UltraFlatPainter()->DrawHeaderControlSection(canvas.Get(), r, inner, {}, cxBordersAll(), row.State, taCenter,
                                                 vaCenter, false, false, String(), canvas->Font(), clBlack,
                                                 static_cast<TColor>(given));
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r)) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(inner, row.Fill), inner.Width() * inner.Height());
  }
}

TEST(Headers, TheGalleryGroupHeaderIsANormalHeaderWithEveryBorder) {
  TCanvasOnSurface canvas(40, 20, Bg);
  const TRect r(2, 2, 38, 18);
  UltraFlatPainter()->DrawGalleryGroupHeader(canvas.Get(), r);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r)) << canvas.Surface.Picture(Bg);
  TRect inner = r;
  inner.Deflate(1);
  EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_BTNFACE)), inner.Width() * inner.Height());
}

// ---------------------------------------------------------------------------
// Footers

TEST(Footers, AnUltraFlatFooterPanelIsItsContentFramedRightAndBottom) {
  TCanvasOnSurface canvas(40, 20, Bg);
  TcxViewParams params;
  params.Color = static_cast<TColor>(RGB(250, 250, 210));
  const TRect r(2, 3, 36, 17);
  UltraFlatPainter()->DrawFooterPanel(canvas.Get(), r, params, UltraFlatPainter()->FooterBorders());
  TPixelSurface reference(40, 20, Bg);
  GdiFill(reference.DC(), r, RGB(250, 250, 210));
  GdiFill(reference.DC(), TRect(35, 3, 36, 17), Sys(COLOR_BTNSHADOW));
  GdiFill(reference.DC(), TRect(2, 16, 36, 17), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  // The base draws its separator along the top.
  const TOwned<P> base(New<P>());
  TCanvasOnSurface baseCanvas(40, 20, Bg);
  base->DrawFooterPanel(baseCanvas.Get(), r, params, cxBordersAll());
  EXPECT_EQ(baseCanvas.Surface.Count(TRect(2, 3, 36, 4), Sys(COLOR_BTNSHADOW)), 34);
  EXPECT_EQ(baseCanvas.Surface.Count(TRect(2, 4, 36, 17), RGB(250, 250, 210)), 34 * 13);
}

TEST(Footers, AnUltraFlatCellIsFramedAndItsTextKeepsTwoPixelsAway) {
  TCanvasOnSurface canvas(60, 24, Bg);
  const TRect r(1, 1, 59, 23);
  UltraFlatPainter()->DrawFooterCell(canvas.Get(), r, taLeftJustify, vaTop, false, L"W", canvas->Font(), clBlack,
                                     static_cast<TColor>(RGB(255, 255, 255)));
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r));
  const TRect text = canvas.Surface.BoundsOf(RGB(0, 0, 0));
  ASSERT_FALSE(text.IsEmpty());
  EXPECT_GE(text.Left, 1 + 1 + 2);
  EXPECT_GE(text.Top, 1 + 1 + 2);
}

// ---------------------------------------------------------------------------
// Filter panel parts

TEST(FilterParts, TokenBackgroundsByState) {
  struct TRow {
    const char* Name;
    void (P::*Draw)(TcxCanvas*, const TRect&, TcxButtonState, const TdxScaleFactor*);
    COLORREF Normal;
    COLORREF Hot;
  };
  // Written as the system's COLORREF (0x00BBGGRR).
  const TRow rows[] = {{"bool operator", &P::DrawScaledFilterBoolOperatorBackground, 0xCDCDF7, 0xB4B4F3},
                       {"item caption", &P::DrawScaledFilterItemCaptionBackground, 0xA8CAE9, 0x9ACBF4},
                       {"operator", &P::DrawScaledFilterOperatorBackground, 0xE0CCC1, 0xE4C8BA},
                       {"value", &P::DrawScaledFilterValueBackground, 0xBFD3C0, 0xB7D5BC}};
  for (const TRow& row : rows) {
    for (const TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
      SCOPED_TRACE(testing::Message() << row.Name << ", state " << state);
      TCanvasOnSurface canvas(20, 10, Bg);
      (UltraFlatPainter()->*row.Draw)(canvas.Get(), TRect(2, 2, 18, 8), state, DefaultScaleFactor());
      const COLORREF expected = state == cxbsDefault || state == cxbsHot ? row.Hot : row.Normal;
      EXPECT_EQ(canvas.Surface.Count(TRect(2, 2, 18, 8), expected), 16 * 6);
      EXPECT_EQ(canvas.Surface.Count(Bg), 200 - 96);
    }
  }
}

TEST(FilterParts, BracketsOpenTowardsTheContent) {
  TCanvasOnSurface canvas(30, 14, Bg);
  UltraFlatPainter()->DrawScaledFilterPanelBrackets(canvas.Get(), TRect(3, 2, 27, 12), DefaultScaleFactor());
  const COLORREF grey = RGB(0xC3, 0xC3, 0xC3);
  TPixelSurface reference(30, 14, Bg);
  // "[" in columns 3-6 and "]" in columns 23-26, rows 2-11.
  GdiFill(reference.DC(), TRect(3, 2, 7, 3), grey);
  GdiFill(reference.DC(), TRect(3, 11, 7, 12), grey);
  GdiFill(reference.DC(), TRect(3, 2, 4, 12), grey);
  GdiFill(reference.DC(), TRect(23, 2, 27, 3), grey);
  GdiFill(reference.DC(), TRect(23, 11, 27, 12), grey);
  GdiFill(reference.DC(), TRect(26, 2, 27, 12), grey);
  EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
}

TEST(FilterParts, UltraFlatDropDownButtonsFrameAFaceWithABlueArrowWhileActive) {
  struct TRow {
    TcxButtonState State;
    bool Active;
    COLORREF Frame;
    COLORREF Face;
    COLORREF Arrow;
  };
  const TRow rows[] = {{cxbsNormal, false, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT)},
                       {cxbsNormal, true, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE), RGB(0, 0, 255)},
                       {cxbsHot, false, Sys(COLOR_HIGHLIGHT), HotBlend(), Sys(COLOR_BTNTEXT)},
                       {cxbsPressed, true, Sys(COLOR_HIGHLIGHT), PressedBlend(), RGB(0, 0, 255)}};
  const TRect r(1, 1, 16, 19);
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "state " << row.State << (row.Active ? ", active" : ""));
    TCanvasOnSurface canvas(18, 20, Bg);
    UltraFlatPainter()->DrawFilterDropDownButton(canvas.Get(), r, row.State, row.Active);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r)) << canvas.Surface.Picture(Bg);
    // (15 - 2) / 2 = 6 made odd: a 5-pixel base, 3 rows down to its tip.
    const TRect arrow = canvas.Surface.BoundsOf(row.Arrow);
    EXPECT_EQ(arrow.GetSize(), TSize(5, 3));
    EXPECT_EQ(canvas.Surface.Count(row.Arrow), 5 + 3 + 1);
    TRect face = r;
    face.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(face, row.Face), face.Width() * face.Height() - 9);
  }
}

TEST(FilterParts, TheCloseButtonsCrossIsHalfTheWidthMadeOdd) {
  // UltraFlat: 16 x 15; the cross 16 / 2 = 8, made 7, two pixels thick.
  EXPECT_EQ(UltraFlatPainter()->FilterCloseButtonSize(), TPoint(16, 15));
  const TOwned<P> base(New<P>());
  EXPECT_EQ(base->FilterCloseButtonSize(), TPoint(16, 14));
  for (const TScale& scale : {TScale{1, 1}, TScale{2, 1}}) {
    SCOPED_TRACE(scale.Numerator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const int n = scale.Numerator == 1 ? 7 : 15;
    TCanvasOnSurface canvas(40, 40, Bg);
    const TRect r(2, 3, 2 + 16 * scale.Numerator, 3 + 15 * scale.Numerator);
    UltraFlatPainter()->DrawScaledFilterCloseButton(canvas.Get(), r, cxbsNormal, factor.get());
    // Within the face: the frame may share the text colour.
    TPixelSurface face(40, 40, Sys(COLOR_BTNFACE));
    BitBlt(face.DC(), r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2, canvas.Surface.DC(), r.Left + 1, r.Top + 1,
           SRCCOPY);
    const TRect cross = face.BoundsOf(Sys(COLOR_BTNTEXT));
    EXPECT_EQ(cross.GetSize(), TSize(n + 1, n)) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(face.Count(Sys(COLOR_BTNTEXT)), 4 * n - 2) << "two crosses a column apart";
  }
}

TEST(FilterParts, GlyphsTakeTheColourOfTheirState) {
  P* painter = UltraFlatPainter();
  struct TRow {
    const char* Name;
    std::function<void(TcxCanvas*, const TRect&)> Draw;
    COLORREF Color;
  };
  const auto findNext = [painter](TcxButtonState AState) {
    return [painter, AState](TcxCanvas* C, const TRect& R) {
      painter->DrawScaledFindPanelNextButtonGlyph(C, R, AState, DefaultScaleFactor());
    };
  };
  const TRow rows[] = {
      {"find next, normal", findNext(cxbsNormal), Sys(COLOR_BTNTEXT)},
      {"find next, disabled", findNext(cxbsDisabled), Sys(COLOR_BTNSHADOW)},
      {"find previous, pressed",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledFindPanelPreviousButtonGlyph(C, R, cxbsPressed, DefaultScaleFactor());
       },
       Sys(COLOR_HIGHLIGHTTEXT)},
      {"add, hot",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledFilterControlAddButtonGlyph(C, R, cxbsHot, DefaultScaleFactor());
       },
       RGB(34, 33, 55)},
      {"remove, hot",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledFilterControlRemoveButtonGlyph(C, R, cxbsHot, DefaultScaleFactor());
       },
       RGB(213, 8, 8)},
      {"panel remove, pressed",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledFilterPanelRemoveButtonGlyph(C, R, cxbsPressed, DefaultScaleFactor());
       },
       RGB(84, 84, 84)},
      {"remove, disabled",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledFilterControlRemoveButtonGlyph(C, R, cxbsDisabled, DefaultScaleFactor());
       },
       RGB(132, 132, 132)},
      {"smart tag, active", [painter](TcxCanvas* C, const TRect& R) { painter->DrawFilterSmartTag(C, R, fstsNormal, true); },
       RGB(0, 38, 255)},
      {"smart tag, pressed",
       [painter](TcxCanvas* C, const TRect& R) { painter->DrawFilterSmartTag(C, R, fstsPressed, true); },
       RGB(48, 48, 48)},
      {"group-by search, normal",
       [painter](TcxCanvas* C, const TRect& R) {
         painter->DrawScaledGroupByBoxSearchButtonGlyph(C, R, cxbsNormal, DefaultScaleFactor());
       },
       static_cast<COLORREF>(ColorToRGB(painter->DefaultGroupByBoxTextColor()))},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(24, 24, RGB(255, 255, 255));
    row.Draw(canvas.Get(), TRect(2, 2, 22, 22));
    EXPECT_GE(canvas.Surface.Count(row.Color), 8) << canvas.Surface.Picture(RGB(255, 255, 255));
    EXPECT_EQ(canvas.Surface.CountOther(TRect(2, 2, 22, 22), RGB(255, 255, 255)),
              canvas.Surface.CountOther(canvas.Surface.ClientRect(), RGB(255, 255, 255)))
        << "inside the rectangle";
  }
  // A colour given is faded while hot: 150 of 255 over white.
  TCanvasOnSurface canvas(24, 24, RGB(255, 255, 255));
  painter->DrawScaledGroupByBoxSearchButtonGlyph(canvas.Get(), TRect(2, 2, 22, 22), cxbsHot, DefaultScaleFactor(),
                                                 clBlack);
  EXPECT_EQ(canvas.Surface.Count(RGB(0, 0, 0)), 0);
  const int faded = 255 - 150;
  int fadedPixels = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const COLORREF c = canvas.Surface.Pixel(x, y);
      fadedPixels += std::abs(GetRValue(c) - faded) <= 2 && std::abs(GetGValue(c) - faded) <= 2;
    }
  EXPECT_GE(fadedPixels, 8);
}

TEST(FilterParts, PanelsFillOrTileTheirBackground) {
  const TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetSize(2, 2);
  const COLORREF a = RGB(200, 10, 10), b = RGB(10, 10, 200);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) SetPixel(bitmap->Canvas()->Handle(), x, y, (x + y) % 2 ? b : a);
  const TRect r(3, 2, 15, 11);
  {
    TCanvasOnSurface canvas(18, 14, Bg);
    UltraFlatPainter()->DrawFilterPanel(canvas.Get(), r, false, static_cast<TColor>(RGB(1, 2, 3)), bitmap.get());
    EXPECT_EQ(canvas.Surface.Count(r, RGB(1, 2, 3)), 12 * 9) << "opaque: the colour";
  }
  {
    TCanvasOnSurface canvas(18, 14, Bg);
    UltraFlatPainter()->DrawFindPanel(canvas.Get(), r, true, static_cast<TColor>(RGB(1, 2, 3)), nullptr);
    EXPECT_EQ(canvas.Surface.Count(Bg), 18 * 14) << "transparent without a bitmap: nothing";
  }
  {
    TCanvasOnSurface canvas(18, 14, Bg);
    UltraFlatPainter()->DrawFilterPanel(canvas.Get(), r, true, clRed, bitmap.get());
    int mismatched = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) mismatched += canvas.Surface.Pixel(x, y) != ((x + y) % 2 ? b : a);
    EXPECT_EQ(mismatched, 0) << "tiled from the origin" << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(Bg), 18 * 14 - 12 * 9);
  }
}

// ---------------------------------------------------------------------------
// Hints, tabs, indicator

TEST(Hints, TheDefaultBackgroundIsTheInfoColourAndScreenTipsAreOutlined) {
  TCanvasOnSurface canvas(30, 20, Bg);
  UltraFlatPainter()->DrawHintBackground(canvas.Get(), TRect(0, 0, 30, 20));
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_INFOBK)), 600);

  TCanvasOnSurface tip(30, 20, Bg);
  UltraFlatPainter()->ScreenTipDrawBackground(tip.Get(), TRect(2, 2, 28, 18));
  TPixelSurface reference(30, 20, Bg);
  GdiFill(reference.DC(), TRect(3, 3, 27, 17), Sys(COLOR_INFOBK));
  {
    const TOwnedPen pen(CreatePen(PS_SOLID, 1, Sys(COLOR_WINDOWFRAME)));
    const TSelectObject selectedPen(reference.DC(), pen.Get());
    const TSelectObject selectedBrush(reference.DC(), GetStockObject(NULL_BRUSH));
    RoundRect(reference.DC(), 2, 2, 28, 18, 2, 2);
  }
  EXPECT_EQ(Differing(tip.Surface, reference), 0) << tip.Surface.Picture(Bg);

  TCanvasOnSurface line(30, 6, Bg);
  UltraFlatPainter()->ScreenTipDrawFooterLine(line.Get(), TRect(1, 1, 29, 5));
  EXPECT_EQ(line.Surface.Count(TRect(1, 1, 29, 2), Sys(COLOR_WINDOWFRAME)), 28);
  EXPECT_EQ(line.Surface.Count(TRect(1, 2, 29, 3), RGB(255, 255, 255)), 28);
  EXPECT_EQ(line.Surface.Count(Bg), 180 - 56);
}

TEST(Tabs, UltraFlatTabBordersAreShadowedAwayFromTheLight) {
  struct TRow {
    const char* Name;
    TcxBorder Border;
    bool Vertical;
    COLORREF Color;
    int Length;
  };
  // Strips 1 x 12 (left, right) or 12 x 1 (top, bottom) at (4, 3).
  const TRow rows[] = {{"horizontal right", bRight, false, Sys(COLOR_BTNTEXT), 11},
                       {"horizontal left", bLeft, false, Sys(COLOR_BTNSHADOW), 12},
                       {"horizontal top", bTop, false, Sys(COLOR_BTNSHADOW), 12},
                       {"vertical bottom", bBottom, true, Sys(COLOR_BTNTEXT), 12},
                       {"vertical right", bRight, true, Sys(COLOR_BTNSHADOW), 12}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(20, 20, Bg);
    const bool upright = row.Border == bLeft || row.Border == bRight;
    const TRect strip = upright ? TRect(4, 3, 5, 15) : TRect(4, 3, 16, 4);
    UltraFlatPainter()->DrawTabBorder(canvas.Get(), strip, row.Border, cxBordersAll(), row.Vertical);
    EXPECT_EQ(canvas.Surface.Count(row.Color), row.Length) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(Bg), 400 - row.Length);
  }
  TCanvasOnSurface root(20, 20, Bg);
  UltraFlatPainter()->DrawTabsRoot(root.Get(), TRect(2, 2, 18, 18), {bBottom}, false);
  EXPECT_EQ(root.Surface.Count(TRect(2, 17, 18, 18), Sys(COLOR_BTNSHADOW)), 16);
  EXPECT_EQ(root.Surface.Count(Bg), 400 - 16);
}

TEST(Indicator, TheCustomizationMarkIsFiveLinesTheOddOnesDotted) {
  TCanvasOnSurface canvas(20, 20, Bg);
  const COLORREF color = RGB(40, 40, 40);
  UltraFlatPainter()->DrawScaledIndicatorCustomizationMark(canvas.Get(), TRect(0, 0, 16, 19), static_cast<TColor>(color),
                                                           DefaultScaleFactor());
  // Lines at rows (0 + 19 - 9) / 2 = 5, 7, 9, 11, 13 from column 3 to 12.
  for (int y = 0; y < 20; ++y) {
    SCOPED_TRACE(y);
    const bool line = y >= 5 && y <= 13 && (y - 5) % 2 == 0;
    const bool dotted = line && (y - 5) % 4 == 0;
    EXPECT_EQ(canvas.Surface.Count(TRect(5, y, 13, y + 1), color), line ? 8 : 0);
    EXPECT_EQ(canvas.Surface.Pixel(3, y) == color, dotted);
    EXPECT_EQ(canvas.Surface.Pixel(4, y), Bg);
    EXPECT_EQ(canvas.Surface.Count(TRect(13, y, 20, y + 1), color), 0);
  }
}

TEST(Indicator, AnItemIsAHeaderCellWithTheImageInIt) {
  TCanvasOnSurface canvas(20, 24, Bg);
  const TRect r(2, 2, 18, 22);
  const COLORREF color = RGB(230, 230, 250);
  UltraFlatPainter()->DrawIndicatorItem(canvas.Get(), r, ikArrow, static_cast<TColor>(color));
  // Neighbours above and below: the top border is theirs.
  EXPECT_EQ(canvas.Surface.Count(TRect(3, 2, 17, 3), Sys(COLOR_BTNTEXT)), 0) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 21, 18, 22), Sys(COLOR_BTNTEXT)), 16);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 2, 3, 22), Sys(COLOR_BTNTEXT)), 20);
  TRect inner(3, 2, 17, 21);
  const int image = inner.Width() * inner.Height() - canvas.Surface.Count(inner, color);
  EXPECT_GT(image, 4) << "the arrow";
  EXPECT_LT(image, 8 * 9);
}

// ---------------------------------------------------------------------------
// Month headers and range thumbs

TEST(SharedRoutines, MonthHeaderArrowsSitInTheSquaresAtTheEnds) {
  const TRect r(2, 2, 60, 16);
  for (const TcxArrowDirections arrows : {TcxArrowDirections{adLeft}, TcxArrowDirections{adRight},
                                          TcxArrowDirections{adLeft, adRight}}) {
    TCanvasOnSurface canvas(64, 18, Bg);
    UltraFlatPainter()->DrawMonthHeaderArrows(canvas.Get(), r, arrows, 0, clBlack);
    TCanvasOnSurface reference(64, 18, Bg);
    if (arrows.Contains(adLeft)) UltraFlatPainter()->DrawArrow(reference.Get(), TRect(2, 2, 16, 16), adLeft, clBlack);
    if (arrows.Contains(adRight)) UltraFlatPainter()->DrawArrow(reference.Get(), TRect(46, 2, 60, 16), adRight, clBlack);
    EXPECT_EQ(Differing(canvas.Surface, reference.Surface), 0);
    EXPECT_EQ(canvas.Surface.CountOther(TRect(16, 0, 46, 18), Bg), 0);
    EXPECT_GT(canvas.Surface.Count(RGB(0, 0, 0)), 10);
  }
}

TEST(SharedRoutines, RangeThumbsLoseAPixelAlongTheTrackForOneSidedTicks) {
  const TRect r(5, 6, 20, 30);
  struct TRow {
    TcxTrackBarTicksAlign Ticks;
    bool Horizontal;
    TRect Expected;
  };
  const TRow rows[] = {{tbtaUp, true, TRect(5, 6, 19, 30)},
                       {tbtaDown, true, TRect(5, 6, 19, 30)},
                       {tbtaUp, false, TRect(5, 6, 20, 29)},
                       {tbtaDown, false, TRect(5, 6, 20, 29)},
                       {tbtaBoth, true, r},
                       {tbtaBoth, false, r}};
  for (const TRow& row : rows) {
    TRect result;
    GetRangeThumbRect(r, row.Ticks, row.Horizontal, result);
    EXPECT_EQ(result, row.Expected) << row.Ticks << " " << row.Horizontal;
  }
}

// ---------------------------------------------------------------------------
// Touch mode

TEST(TouchMode, RaisesPositiveSizesTo27ScaledSomeByTheSystemsFactor) {
  P* painter = UltraFlatPainter();
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(2, 1);
  TOwned<TcxLookAndFeelController> controller(New<TcxLookAndFeelController>(nullptr));
  controller->SetTouchMode(true);
  ASSERT_TRUE(cxIsTouchModeEnabled());
  int value = 12;
  EnsureTouchModeMinimum(value, twice.get());
  EXPECT_EQ(value, 54);
  for (int small : {0, -3}) {
    EnsureTouchModeMinimum(small, twice.get());
    EXPECT_LE(small, 0) << "zero and negative values stay";
  }
  // Header heights follow the factor given.
  EXPECT_EQ(painter->HeaderHeight(13), 27);
  EXPECT_EQ(painter->ScaledHeaderHeight(13, twice.get()), 54);
  EXPECT_EQ(painter->ScaledSortingMarkAreaSize(twice.get()).X, 40);
  // These follow the system's factor (96 DPI here), whatever the control's.
  EXPECT_EQ(painter->GetScaledTokenCloseGlyphSize(twice.get()), TSize(27, 22));
  EXPECT_EQ(painter->ScaledFilterDropDownButtonSize(twice.get()), TPoint(30, 0));
  EXPECT_EQ(painter->FilterDropDownButtonSize(), TPoint(27, 0));
  EXPECT_EQ(painter->ScaledSmallCloseButtonSize(DefaultScaleFactor()), TSize(27, 27));
  controller.reset();
  EXPECT_FALSE(cxIsTouchModeEnabled());
  EXPECT_EQ(painter->HeaderHeight(13), 19);
}

}  // namespace
