#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/colors/dxCoreGraphics.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TcxCustomLookAndFeelPainter* Flat() { return GetPaintersManager()->GetPainter(lfsFlat); }

constexpr int W = 40;
constexpr int H = 30;
const TRect Part(3, 4, 35, 26);

TPixelSurface SystemEdge(const TRect& R, UINT AEdge) {
  TPixelSurface s(W, H, Bg);
  RECT r = R;
  DrawEdge(s.DC(), &r, AEdge, BF_RECT);
  return s;
}

TEST(FlatPainter, NamesItselfAndIsFiledUnderItsStyle) {
  ASSERT_NE(Flat(), nullptr);
  EXPECT_TRUE(Is<TcxFlatLookAndFeelPainter>(Flat()));
  EXPECT_EQ(Flat()->LookAndFeelName(), L"Flat");
  EXPECT_EQ(Flat()->BorderSize(), 1);
  EXPECT_EQ(Flat()->SeparatorSize(), 2);
  EXPECT_FALSE(Flat()->IsButtonHotTrack());
  EXPECT_EQ(Flat()->DefaultSchedulerTimeRulerTextColor(), Flat()->DefaultSchedulerTimeRulerBorderColorClassic());
}

// Every frame against the system's one-pixel edge of the same kind.
TEST(FlatPainter, FramesAreTheSystemsEdges) {
  struct TRow {
    const char* Name;
    void (*Draw)(TcxCanvas* ACanvas, const TRect& R);
    UINT Edge;
  };
  const TRow rows[] = {
      {"border", [](TcxCanvas* C, const TRect& R) { Flat()->DrawBorder(C, R); }, BDR_SUNKENOUTER},
      {"normal button", [](TcxCanvas* C, const TRect& R) { Flat()->DrawButtonBorder(C, R, cxbsNormal); },
       BDR_RAISEDINNER},
      {"hot button", [](TcxCanvas* C, const TRect& R) { Flat()->DrawButtonBorder(C, R, cxbsHot); },
       BDR_RAISEDINNER},
      {"pressed button", [](TcxCanvas* C, const TRect& R) { Flat()->DrawButtonBorder(C, R, cxbsPressed); },
       BDR_SUNKENOUTER},
      {"header section",
       [](TcxCanvas* C, const TRect& R) { Flat()->DrawHeaderControlSectionBorder(C, R, cxBordersAll(), cxbsHot); },
       BDR_RAISEDINNER},
      {"pressed header section",
       [](TcxCanvas* C, const TRect& R) {
         Flat()->DrawHeaderControlSectionBorder(C, R, cxBordersAll(), cxbsPressed);
       },
       BDR_SUNKENOUTER},
      {"footer", [](TcxCanvas* C, const TRect& R) { Flat()->DrawFooterBorder(C, R); }, BDR_RAISEDINNER},
      {"footer cell", [](TcxCanvas* C, const TRect& R) { Flat()->DrawFooterCellBorder(C, R); }, BDR_SUNKENOUTER},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    row.Draw(canvas.Get(), Part);
    EXPECT_EQ(DifferingPixels(canvas.Surface, SystemEdge(Part, row.Edge)), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(FlatPainter, TheDefaultButtonIsOnePixelSmallerInsideABlackFrame) {
  EXPECT_EQ(Flat()->ButtonBorderSize(cxbsDefault), 2);
  EXPECT_EQ(Flat()->ButtonBorderSize(cxbsNormal), 1);
  TCanvasOnSurface canvas(W, H, Bg);
  Flat()->DrawScaledButton(canvas.Get(), Part, cxbsDefault, DefaultScaleFactor(), cxbpButton, clDefault);
  EXPECT_EQ(RingCount(canvas.Surface, Part, RGB(0, 0, 0)), RingLength(Part));
  TRect inner = Part;
  inner.Deflate(1);
  TPixelSurface system = SystemEdge(inner, BDR_RAISEDINNER);
  TRect face = inner;
  face.Deflate(1);
  EXPECT_EQ(DifferingPixels(canvas.Surface, system, inner) - DifferingPixels(canvas.Surface, system, face), 0);
  EXPECT_EQ(canvas.Surface.Count(face, Sys(COLOR_BTNFACE)), face.Width() * face.Height());
}

TEST(FlatPainter, CheckBorderAndGroupBoxFrame) {
  {
    TCanvasOnSurface canvas(W, H, Bg);
    Flat()->DrawCheckBorder(canvas.Get(), Part, cxbsPressed);
    TPixelSurface system = SystemEdge(Part, BDR_SUNKENOUTER);
    TRect inner = Part;
    inner.Deflate(1);
    EXPECT_EQ(DifferingPixels(canvas.Surface, system, Part) - DifferingPixels(canvas.Surface, system, inner), 0);
    // The pressed state's check colour, not the unchecked window colour.
    EXPECT_EQ(RingCount(canvas.Surface, inner, Sys(COLOR_BTNFACE)), RingLength(inner));
  }
  for (const bool enabled : {false, true}) {
    TCanvasOnSurface canvas(W, H, Bg);
    Flat()->DrawGroupBoxFrame(canvas.Get(), Part, enabled, cxgpLeft, TcxBorders{bLeft, bTop});
    TRect inner = Part;
    inner.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(TRect(Part.Left, Part.Top, Part.Left + 1, Part.Bottom), Sys(COLOR_BTNSHADOW)),
              Part.Height());
    EXPECT_EQ(canvas.Surface.Count(TRect(inner.Left, inner.Top, inner.Right, inner.Top + 1), Sys(COLOR_BTNHIGHLIGHT)),
              inner.Width() - 0);
    EXPECT_EQ(canvas.Surface.Count(TRect(Part.Right - 2, Part.Top + 2, Part.Right, Part.Bottom), Bg),
              2 * (Part.Height() - 2));
  }
}

TEST(FlatPainter, TheToggleSwitchIsLitFromTheBottomRight) {
  for (const bool checked : {false, true}) {
    SCOPED_TRACE(checked);
    TCanvasOnSurface canvas(W, H, Bg);
    Flat()->DrawScaledToggleSwitchState(canvas.Get(), Part, cxbsNormal, checked, DefaultScaleFactor());
    const COLORREF shadow = RGB(0xA0, 0xA0, 0xA0);
    const COLORREF light = RGB(255, 255, 255);
    TRect inner = Part;
    inner.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(inner, checked ? shadow : RGB(0xC8, 0xC8, 0xC8)), inner.Width() * inner.Height());
    // Left column and top row: the shadow, but for the bottom-left corner
    // (where the light line ends) and the top-right corner (where it starts).
    EXPECT_EQ(canvas.Surface.Pixel(Part.Left, Part.Bottom - 1), shadow);
    EXPECT_EQ(canvas.Surface.Pixel(Part.Left, Part.Top), shadow);
    EXPECT_EQ(canvas.Surface.Pixel(Part.Right - 1, Part.Top), light);
    EXPECT_EQ(canvas.Surface.Pixel(Part.Right - 1, Part.Bottom - 1), light);
    EXPECT_EQ(canvas.Surface.Pixel(Part.Left + 1, Part.Bottom - 1), light);
    EXPECT_EQ(RingCount(canvas.Surface, Part, shadow) + RingCount(canvas.Surface, Part, light), RingLength(Part));
  }
}

TEST(FlatPainter, ScrollPartsAreButtonsAndHotLooksNormal) {
  const TRect r(2, 2, 19, 19);
  const auto draw = [&](TcxScrollBarPart APart, TcxButtonState AState) {
    TCanvasOnSurface canvas(21, 21, Bg);
    Flat()->DrawScaledScrollBarPart(canvas.Get(), false, r, APart, AState, DefaultScaleFactor());
    return canvas;
  };
  for (const TcxScrollBarPart part : {sbpLineUp, sbpLineDown, sbpThumbnail}) {
    SCOPED_TRACE(part);
    const TCanvasOnSurface normal = draw(part, cxbsNormal);
    EXPECT_EQ(DifferingPixels(draw(part, cxbsHot).Surface, normal.Surface), 0);
    TPixelSurface edge(21, 21, Bg);
    RECT er = r;
    DrawEdge(edge.DC(), &er, BDR_RAISEDINNER, BF_RECT);
    TRect inner = r;
    inner.Deflate(1);
    EXPECT_EQ(DifferingPixels(normal.Surface, edge, r) - DifferingPixels(normal.Surface, edge, inner), 0);
    // The arrow of a line button, nothing on the thumb.
    EXPECT_EQ(normal.Surface.Count(inner, Sys(COLOR_BTNTEXT)) > 0, part != sbpThumbnail);
  }
  EXPECT_TRUE(draw(sbpThumbnail, cxbsDisabled).Surface.BoundsOfOther(Bg).IsEmpty());
  // A disabled line button is still drawn, its arrow embossed.
  EXPECT_GT(draw(sbpLineUp, cxbsDisabled).Surface.Count(Sys(COLOR_BTNSHADOW)), 0);
}

TEST(FlatPainter, HeaderFooterAndTabSizes) {
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(Flat()->HeaderBorderSize(), 1);
  EXPECT_EQ(Flat()->ScaledSortingMarkSize(twice.get()), TSize(16, 14));
  EXPECT_EQ(Flat()->ScaledSummarySortingMarkSize(twice.get()), TSize(16, 16));
  EXPECT_EQ(Flat()->FooterBorderSize(), 1);
  EXPECT_EQ(Flat()->FooterCellBorderSize(), 1);
  EXPECT_EQ(Flat()->FooterCellOffset(), 1);
  EXPECT_EQ(Flat()->TabBorderSize(false), 1);
  TCanvasOnSurface canvas(W, H, Bg);
  Flat()->DrawFindPanelBorder(canvas.Get(), Part, cxBordersAll());
  EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
}

// The header section and the tabs root keep to the borders asked for.
TEST(FlatPainter, PartialFramesAreTheSystemsPartialEdges) {
  const UINT sides = BF_LEFT | BF_TOP | BF_RIGHT;
  const TcxBorders borders{bLeft, bTop, bRight};
  for (const bool root : {false, true}) {
    SCOPED_TRACE(root ? "tabs root" : "header section");
    TCanvasOnSurface canvas(W, H, Bg);
    if (root)
      Flat()->DrawTabsRoot(canvas.Get(), Part, borders, false);
    else
      Flat()->DrawHeaderControlSectionBorder(canvas.Get(), Part, borders, cxbsNormal);
    TPixelSurface system(W, H, Bg);
    RECT r = Part;
    DrawEdge(system.DC(), &r, BDR_RAISEDINNER, sides);
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// The Standard painter draws these pieces as the Flat one does, but for the
// colour of the tab corners.
struct TClassicPainter {
  const char* Name;
  TcxLookAndFeelStyle Style;
  COLORREF TabCorner;
};

std::vector<TClassicPainter> ClassicPainters() {
  return {{"Flat", lfsFlat, RGB(0, 1, 1)}, {"Standard", lfsStandard, Sys(COLOR_BTNHIGHLIGHT)}};
}

TEST(FlatAndStandardPainters, SortingMarksAreInTheButtonHighlightAndShadow) {
  for (const TClassicPainter& painter : ClassicPainters()) {
    for (const bool summary : {false, true}) {
      SCOPED_TRACE(testing::Message() << painter.Name << (summary ? " summary" : ""));
      TCanvasOnSurface canvas(W, H, Bg);
      TcxCustomLookAndFeelPainter* p = GetPaintersManager()->GetPainter(painter.Style);
      if (summary)
        p->DrawScaledSummarySortingMark(canvas.Get(), Part, true, DefaultScaleFactor());
      else
        p->DrawScaledSortingMark(canvas.Get(), Part, true, DefaultScaleFactor());
      const int shadow = canvas.Surface.Count(Sys(COLOR_BTNSHADOW));
      const int light = canvas.Surface.Count(Sys(COLOR_BTNHIGHLIGHT));
      EXPECT_GT(shadow, 0);
      EXPECT_GT(light, 0);
      EXPECT_EQ(shadow + light, canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg));
    }
  }
}

// The filter button: the system's one-pixel edge, the face, and the arrow
// in blue while the filter is on.
TEST(FlatAndStandardPainters, FilterDropDownButton) {
  struct TRow {
    TcxButtonState State;
    bool Active;
    UINT Edge;
    COLORREF Arrow;
  };
  const TRow rows[] = {{cxbsNormal, false, BDR_RAISEDINNER, Sys(COLOR_BTNTEXT)},
                       {cxbsHot, true, BDR_RAISEDINNER, RGB(0, 0, 255)},
                       {cxbsPressed, true, BDR_SUNKENOUTER, RGB(0, 0, 255)}};
  const TRect r(2, 2, 18, 18);
  for (const TClassicPainter& painter : ClassicPainters()) {
    int arrowPixels = -1;
    for (const TRow& row : rows) {
      SCOPED_TRACE(testing::Message() << painter.Name << " state " << row.State);
      TCanvasOnSurface canvas(20, 20, Bg);
      GetPaintersManager()->GetPainter(painter.Style)->DrawScaledFilterDropDownButton(canvas.Get(), r, row.State,
                                                                                    row.Active, DefaultScaleFactor());
      TPixelSurface system(20, 20, Bg);
      RECT sr = r;
      DrawEdge(system.DC(), &sr, row.Edge, BF_RECT);
      TRect face = r;
      face.Deflate(1);
      EXPECT_EQ(DifferingPixels(canvas.Surface, system) - DifferingPixels(canvas.Surface, system, face), 0);
      const int arrow = canvas.Surface.Count(face, row.Arrow);
      EXPECT_GT(arrow, 0);
      EXPECT_EQ(arrow + canvas.Surface.Count(face, Sys(COLOR_BTNFACE)), face.Width() * face.Height());
      // The same arrow in every state.
      if (arrowPixels >= 0) {
        EXPECT_EQ(arrow, arrowPixels);
      }
      arrowPixels = arrow;
    }
  }
}

// Each border strip of a tab, drawn on its own: the pixels it fills,
// computed from the tab's rectangle (5, 5)-(25, 20).
TEST(FlatAndStandardPainters, TabBorderStrips) {
  enum TKind { kLight, kShadow, kCorner };
  struct TRun {
    TRect Area;
    TKind Kind;
  };
  struct TRow {
    const char* Name;
    bool Vertical;
    TcxBorder Border;
    TcxBorders Borders;
    std::vector<TRun> Runs;
  };
  const TcxBorders tabH{bLeft, bTop, bRight};
  const TcxBorders tabV{bLeft, bTop, bBottom};
  const std::vector<TRow> rows = {
      // Horizontal tabs: the sides start below the top's rounded corners.
      {"horizontal left", false, bLeft, tabH, {{TRect(5, 7, 6, 20), kLight}}},
      {"horizontal left, bottom too", false, bLeft, cxBordersAll(), {{TRect(5, 7, 6, 19), kLight}}},
      {"horizontal right", false, bRight, tabH, {{TRect(24, 7, 25, 20), kShadow}}},
      {"horizontal right, no top", false, bRight, TcxBorders{bRight}, {{TRect(24, 5, 25, 20), kShadow}}},
      {"horizontal top",
       false,
       bTop,
       tabH,
       {{TRect(6, 5, 24, 6), kLight}, {TRect(5, 6, 6, 7), kCorner}, {TRect(24, 6, 25, 7), kCorner}}},
      {"horizontal bottom", false, bBottom, cxBordersAll(), {{TRect(5, 19, 25, 20), kLight}}},
      // Vertical tabs: the left side leads and is the rounded one.
      {"vertical left",
       true,
       bLeft,
       tabV,
       {{TRect(5, 7, 6, 18), kLight}, {TRect(6, 6, 7, 7), kCorner}, {TRect(6, 18, 7, 19), kCorner}}},
      {"vertical left alone",
       true,
       bLeft,
       TcxBorders{bLeft},
       {{TRect(5, 6, 6, 19), kLight}, {TRect(6, 5, 7, 6), kCorner}, {TRect(6, 19, 7, 20), kCorner}}},
      {"vertical top", true, bTop, tabV, {{TRect(6, 5, 25, 6), kLight}}},
      {"vertical bottom", true, bBottom, tabV, {{TRect(6, 19, 25, 20), kShadow}}},
      {"vertical bottom, no left", true, bBottom, TcxBorders{bBottom}, {{TRect(5, 19, 25, 20), kShadow}}},
      {"vertical right", true, bRight, cxBordersAll(), {{TRect(24, 5, 25, 20), kLight}}},
  };
  const TRect tab(5, 5, 25, 20);
  const auto strip = [&](TcxBorder ABorder) {
    switch (ABorder) {
      case bLeft: return TRect(tab.Left, tab.Top, tab.Left + 1, tab.Bottom);
      case bTop: return TRect(tab.Left, tab.Top, tab.Right, tab.Top + 1);
      case bRight: return TRect(tab.Right - 1, tab.Top, tab.Right, tab.Bottom);
      default: return TRect(tab.Left, tab.Bottom - 1, tab.Right, tab.Bottom);
    }
  };
  for (const TClassicPainter& painter : ClassicPainters()) {
    const COLORREF colors[] = {Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), painter.TabCorner};
    for (const TRow& row : rows) {
      SCOPED_TRACE(testing::Message() << painter.Name << ": " << row.Name);
      TCanvasOnSurface canvas(30, 25, Bg);
      GetPaintersManager()->GetPainter(painter.Style)->DrawTabBorder(canvas.Get(), strip(row.Border), row.Border,
                                                                     row.Borders, row.Vertical);
      TPixelSurface expected(30, 25, Bg);
      for (const TRun& run : row.Runs) {
        for (int y = run.Area.Top; y < run.Area.Bottom; ++y)
          for (int x = run.Area.Left; x < run.Area.Right; ++x) SetPixel(expected.DC(), x, y, colors[run.Kind]);
      }
      GdiFlush();
      EXPECT_EQ(DifferingPixels(canvas.Surface, expected), 0) << canvas.Surface.Picture(Bg);
    }
  }
}

}  // namespace

namespace {

// The track: a sunken one-pixel edge around a frame of the button face; a
// two-sided thumb the raised one-pixel edge; the other thumbs' outlines
// without their shadow line.
TEST(FlatPainter, TrackBarBordersAreOnePixelEdges) {
  TCanvasOnSurface track(W, H, Bg);
  Flat()->DrawTrackBarTrackBounds(track.Get(), Part);
  TPixelSurface sunken = SystemEdge(Part, BDR_SUNKENOUTER);
  TRect inner = Part;
  inner.Deflate(1);
  GdiFrame(sunken.DC(), inner, Sys(COLOR_BTNFACE));
  EXPECT_EQ(DifferingPixels(track.Surface, sunken), 0) << track.Surface.Picture(Bg);

  TCanvasOnSurface thumb(W, H, Bg);
  Flat()->DrawTrackBarThumbBorderBoth(thumb.Get(), Part);
  EXPECT_EQ(DifferingPixels(thumb.Surface, SystemEdge(Part, BDR_RAISEDINNER)), 0) << thumb.Surface.Picture(Bg);

  const TPoint light[] = {{5, 20}, {5, 6}, {20, 6}};
  const TPoint shadow[] = {{21, 7}, {21, 20}};
  const TPoint dark[] = {{22, 6}, {22, 21}, {5, 21}};
  TCanvasOnSurface outline(W, H, Bg);
  Flat()->DrawTrackBarThumbBorderUpDown(outline.Get(), light, shadow, dark);
  TPixelSurface gdi(W, H, Bg);
  GdiPolyline(gdi.DC(), light, Sys(COLOR_BTNHIGHLIGHT));
  GdiPolyline(gdi.DC(), dark, Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(DifferingPixels(outline.Surface, gdi), 0) << outline.Surface.Picture(Bg);
}

TEST(FlatPainter, SchedulerSplittersAreBevelledOnTheirLongSides) {
  TcxViewParams params;
  params.Color = clYellow;
  for (const bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    const TRect r = horizontal ? TRect(3, 4, 27, 9) : TRect(4, 3, 9, 27);
    TCanvasOnSurface canvas(W, H, Bg);
    Flat()->DrawSchedulerSplitterBorder(canvas.Get(), r, params, horizontal);
    TPixelSurface reference(W, H, Bg);
    // The fill reaches one pixel past the short sides.
    GdiFill(reference.DC(), horizontal ? TRect(2, 5, 28, 8) : TRect(5, 2, 8, 28), RGB(255, 255, 0));
    if (horizontal) {
      GdiFill(reference.DC(), TRect(3, 4, 27, 5), Sys(COLOR_BTNHIGHLIGHT));
      GdiFill(reference.DC(), TRect(3, 8, 27, 9), Sys(COLOR_BTNSHADOW));
    } else {
      GdiFill(reference.DC(), TRect(4, 3, 5, 27), Sys(COLOR_BTNHIGHLIGHT));
      GdiFill(reference.DC(), TRect(8, 3, 9, 27), Sys(COLOR_BTNSHADOW));
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

// The date header: the header colour over a button-face bottom row, which
// the caller's rectangle gives up.
TEST(FlatPainter, TheDateHeaderEndsInAButtonFaceRow) {
  TCanvasOnSurface canvas(W, H, Bg);
  TRect r = Part;
  Flat()->DrawDateNavigatorDateHeader(canvas.Get(), r);
  EXPECT_EQ(r, TRect(Part.Left, Part.Top, Part.Right, Part.Bottom - 1));
  TPixelSurface reference(W, H, Bg);
  GdiFill(reference.DC(), Part, ColorToColorRef(Flat()->DefaultDateNavigatorHeaderColor()));
  GdiFill(reference.DC(), TRect(Part.Left, Part.Bottom - 1, Part.Right, Part.Bottom), Sys(COLOR_BTNFACE));
  EXPECT_EQ(DifferingPixels(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(Flat()->GetSplitterOuterColor(true), cl3DDkShadow);
  EXPECT_EQ(Flat()->GetSplitterOuterColor(false), clBtnShadow);
}

}  // namespace
