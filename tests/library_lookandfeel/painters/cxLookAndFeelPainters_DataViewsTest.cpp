#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/LookAndFeelTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Gantt

TEST(Gantt, BarsAndBracketsFillAtAlpha128AsGdiPlusDoes) {
  auto* painter = UltraFlatPainter();
  const TRect r(2, 3, 38, 17);
  struct TRow {
    const char* Name;
    std::function<void(TcxCanvas*)> Draw;
    COLORREF Color;
    std::vector<TRect> Parts;
  };
  const TRow rows[] = {
      {"task, default colour", [&](TcxCanvas* C) { painter->DrawGanttTask(C, r, clDefault); }, Sys(COLOR_BTNFACE),
       {r}},
      {"task, red", [&](TcxCanvas* C) { painter->DrawGanttTask(C, r, clRed); }, RGB(255, 0, 0), {r}},
      {"baseline task", [&](TcxCanvas* C) { painter->DrawGanttBaselineTask(C, r, clDefault); },
       Sys(COLOR_BTNSHADOW), {r}},
      // The bar on top, then the legs below it, three pixels wide.
      {"summary task", [&](TcxCanvas* C) { painter->DrawGanttSummaryTask(C, r, DefaultScaleFactor(), clBlue); },
       RGB(0, 0, 255), {TRect(2, 3, 38, 6), TRect(2, 6, 5, 17), TRect(35, 6, 38, 17)}},
      {"baseline summary task",
       [&](TcxCanvas* C) { painter->DrawGanttBaselineSummaryTask(C, r, DefaultScaleFactor(), clDefault); },
       Sys(COLOR_BTNSHADOW), {TRect(2, 14, 38, 17), TRect(2, 3, 5, 14), TRect(35, 3, 38, 14)}},
      // The progress over the whole task, cut at the progress rectangle.
      {"task progress", [&](TcxCanvas* C) { painter->DrawGanttTaskProgress(C, r, TRect(2, 3, 20, 17), clDefault); },
       Sys(COLOR_BTNHIGHLIGHT), {TRect(2, 3, 20, 17)}},
      {"summary progress",
       [&](TcxCanvas* C) {
         painter->DrawGanttSummaryTaskProgress(C, r, TRect(2, 3, 36, 17), DefaultScaleFactor(), clYellow);
       },
       RGB(255, 255, 0), {TRect(2, 3, 36, 6), TRect(2, 6, 5, 17), TRect(35, 6, 36, 17)}},
      {"hot dependency point", [&](TcxCanvas* C) { painter->DrawGanttDependencyEditPoint(C, r, cxbsHot, true); },
       Sys(COLOR_BTNHIGHLIGHT), {r}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(40, 20, Bg);
    row.Draw(canvas.Get());
    TPixelSurface reference(40, 20, Bg);
    GdipFill(reference.DC(), row.Parts, row.Color, 128);
    EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 1) << canvas.Surface.Picture(Bg);
    EXPECT_GT(canvas.Surface.CountOther(r, Bg), 0);
  }
  // The focused row is a faint shadow.
  TCanvasOnSurface canvas(40, 20, Bg);
  painter->DrawGanttFocusedRow(canvas.Get(), r, true);
  TPixelSurface reference(40, 20, Bg);
  GdipFill(reference.DC(), {r}, Sys(COLOR_BTNSHADOW), 32);
  EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 1);
}

TEST(Gantt, MilestonesAreTheDiamondInTheirSizeCentred) {
  auto* painter = UltraFlatPainter();
  for (const TScale& scale : Scales) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const TRect r(1, 1, 39, 29);
    const int side = factor->Apply(10) / 2 * 2;
    const int left = r.Left + (r.Width() - factor->Apply(10)) / 2 + (factor->Apply(10) - side) / 2;
    const int top = r.Top + (r.Height() - factor->Apply(10)) / 2 + (factor->Apply(10) - side) / 2;
    const std::vector<POINT> diamond = {{left, top + side / 2}, {left + side / 2, top},
                                        {left + side, top + side / 2}, {left + side / 2, top + side}};
    TCanvasOnSurface canvas(40, 30, Bg);
    painter->DrawGanttMilestone(canvas.Get(), r, factor.get(), clRed);
    TPixelSurface reference(40, 30, Bg);
    {
      const HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
      const HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
      const HGDIOBJ oldPen = SelectObject(reference.DC(), pen);
      const HGDIOBJ oldBrush = SelectObject(reference.DC(), brush);
      Polygon(reference.DC(), diamond.data(), 4);
      SelectObject(reference.DC(), oldPen);
      SelectObject(reference.DC(), oldBrush);
      DeleteObject(pen);
      DeleteObject(brush);
    }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);

    // The baseline milestone: the closed outline only, by Polyline.
    TCanvasOnSurface outline(40, 30, Bg);
    painter->DrawGanttBaselineMilestone(outline.Get(), r, factor.get(), clDefault);
    TPixelSurface outlineReference(40, 30, Bg);
    const HPEN pen = CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
    const HGDIOBJ oldPen = SelectObject(outlineReference.DC(), pen);
    std::vector<POINT> closed = diamond;
    closed.push_back(diamond[0]);
    Polyline(outlineReference.DC(), closed.data(), 5);
    SelectObject(outlineReference.DC(), oldPen);
    DeleteObject(pen);
    EXPECT_EQ(Differing(outline.Surface, outlineReference), 0) << outline.Surface.Picture(Bg);
  }
}

TEST(Gantt, Colours) {
  auto* painter = UltraFlatPainter();
  EXPECT_EQ(painter->GetGanttTaskColor(true), TColor(0xADA32B));
  EXPECT_EQ(painter->GetGanttTaskColor(false), TColor(0xD7843B));
  const COLORREF text = Rgb(painter->DefaultContentTextColor());
  const COLORREF start = Rgb(painter->DefaultGanttProjectStartGridLineColor());
  EXPECT_EQ(GetRValue(start), GetRValue(text) * 4 / 5 + (GetRValue(text) * 4 % 5 >= 3 ? 1 : 0));
  EXPECT_EQ(start, Rgb(painter->DefaultGanttProjectFinishGridLineColor()));
}

// ---------------------------------------------------------------------------
// List views

TEST(ListViews, ItemBackgroundsByState) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 31, 15);
  TRect inside = r;
  inside.Deflate(1);
  const COLORREF content = Rgb(painter->GridLikeControlContentColor());
  const COLORREF selection = Rgb(painter->DefaultSelectionColor());
  const COLORREF inactive = Rgb(painter->DefaultInactiveColor());
  const COLORREF hotFill = RGB(0xC7, 0xE1, 0xF6);
  const COLORREF outline = RGB(0, 0, 0xCC);
  enum TMark { mNone, mOutline, mFocusRect };
  struct TRow {
    const char* Name;
    TdxListViewItemStates States;
    bool Explorer;
    COLORREF Fill;
    TMark Mark;
  };
  const TRow rows[] = {
      {"normal", {}, false, content, mNone},
      {"hot", {dxlisHot}, false, hotFill, mNone},
      {"hot, focused, explorer: no outline", {dxlisHot, dxlisFocused}, true, hotFill, mNone},
      {"hot, focused: the focus rectangle", {dxlisHot, dxlisFocused}, false, hotFill, mFocusRect},
      {"hot and selected: outlined", {dxlisHot, dxlisSelected}, true, selection, mOutline},
      {"selected", {dxlisSelected}, false, selection, mNone},
      {"selected, inactive", {dxlisSelected, dxlisInactive}, false, inactive, mNone},
      {"focused, inactive: no mark", {dxlisFocused, dxlisInactive}, false, content, mNone},
      {"focused, explorer: outlined", {dxlisFocused}, true, content, mOutline},
      {"focused: the focus rectangle", {dxlisFocused}, false, content, mFocusRect},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 16, Bg);
    painter->DrawListViewItemBackground(canvas.Get(), r, row.States, row.Explorer);
    TPixelSurface reference(32, 16, Bg);
    GdiFill(reference.DC(), r, row.Fill);
    if (row.Mark == mOutline) GdiFrame(reference.DC(), r, outline);
    if (row.Mark == mFocusRect) {
      SetTextColor(reference.DC(), RGB(0, 0, 0));
      SetBkColor(reference.DC(), RGB(255, 255, 255));
      const RECT focus = inside;
      DrawFocusRect(reference.DC(), &focus);
    }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
  // A tree-view node is a list item without the explorer style.
  TCanvasOnSurface node(32, 16, Bg);
  painter->DrawTreeViewNodeBackground(node.Get(), r, {dxtnsFocused, dxtnsSelected});
  TCanvasOnSurface item(32, 16, Bg);
  painter->DrawListViewItemBackground(item.Get(), r, {dxlisFocused, dxlisSelected}, false);
  EXPECT_EQ(Differing(node.Surface, item.Surface), 0);
}

TEST(ListViews, GroupHeadersByState) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 31, 15);
  struct TRow {
    const char* Name;
    TdxListViewGroupHeaderStates States;
    COLORREF Fill;
    COLORREF Ring;  // Bg: the fill runs to the edge
  };
  const COLORREF content = Rgb(painter->GridLikeControlContentColor());
  const TRow rows[] = {{"normal", {}, content, content},
                       {"hot", {dxlgsHot}, Rgb(painter->DefaultSelectionColor()), Rgb(painter->DefaultSelectionColor())},
                       {"focused", {dxlgsFocused}, content, RGB(0, 0, 0xCC)},
                       {"focused and hot", {dxlgsFocused, dxlgsHot}, Rgb(painter->DefaultSelectionColor()),
                        Rgb(painter->DefaultSelectionColor())}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 16, Bg);
    painter->DrawListViewGroupHeaderBackground(canvas.Get(), r, row.States, false, DefaultScaleFactor());
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Ring), RingLength(r));
    TRect inner = r;
    inner.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(inner, row.Fill), inner.Width() * inner.Height());
  }
  EXPECT_EQ(painter->GetListViewGroupTextColor(dxlgtHeader, {dxlgsHot}, false), painter->DefaultSelectionTextColor());
  EXPECT_EQ(painter->GetListViewGroupTextColor(dxlgtFooter, {dxlgsHot}, false),
            painter->GridLikeControlContentTextColor());
}

TEST(ListViews, TheSortingMarkIsTheTriangleOfTheHeaderMarkInSegments) {
  auto* painter = UltraFlatPainter();
  // UltraFlat's own header mark uses the same six points in one colour
  // pair; drawn in the shadow colour both ways, the two must agree.
  for (const bool ascending : {true, false}) {
    SCOPED_TRACE(ascending);
    const TRect r(0, 0, 20, 16);
    TCanvasOnSurface canvas(20, 16, Bg);
    painter->DrawListViewSortingMark(canvas.Get(), r, ascending, DefaultScaleFactor());
    TCanvasOnSurface reference(20, 16, Bg);
    painter->DrawSortingTriangle(reference.Get(), r, clBtnShadow, clBtnShadow, ascending, DefaultScaleFactor());
    EXPECT_EQ(Differing(canvas.Surface, reference.Surface), 0) << canvas.Surface.Picture(Bg) << "\n"
                                                               << reference.Surface.Picture(Bg);
    EXPECT_GT(canvas.Surface.Count(Sys(COLOR_BTNSHADOW)), 8);
  }
}

TEST(ListViews, ItemTextColours) {
  auto* painter = UltraFlatPainter();
  EXPECT_EQ(painter->GetListViewItemTextColor({dxlisSelected, dxlisInactive}, false),
            painter->DefaultInactiveTextColor());
  EXPECT_EQ(painter->GetListViewItemTextColor({dxlisSelected, dxlisInactive, dxlisHot}, false),
            painter->DefaultSelectionTextColor());
  EXPECT_EQ(painter->GetListViewItemTextColor({dxlisHot}, false), painter->DefaultHotTrackTextColor());
  EXPECT_EQ(painter->GetTreeViewNodeTextColor({dxtnsHot}), painter->DefaultHotTrackTextColor());
  EXPECT_NE(painter->GetListViewItemTextColor({}, false), clDefault);
  EXPECT_NE(painter->GetTreeViewBackgroundColor(true), clDefault);
}

// ---------------------------------------------------------------------------
// Maps

TEST(Maps, CustomElementsAreTranslucentRoundedRectanglesByState) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 30, 20);
  struct TRow {
    TdxMapControlElementState State;
    BYTE Alpha;  // of the white fill; 0: nothing drawn
  };
  const TRow rows[] = {{mcesNormal, 0}, {mcesHot, 0x5A}, {mcesPressed, 0x5A}, {mcesSelected, 0x80}, {mcesDisabled, 0}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(30, 20, Bg);
    painter->DrawMapCustomElementBackground(canvas.Get(), r, row.State);
    if (row.Alpha == 0) {
      EXPECT_EQ(canvas.Surface.CountOther(r, Bg), 0);
      continue;
    }
    // The middle: white over the background at the state's alpha.
    TPixelSurface reference(30, 20, Bg);
    GdipFill(reference.DC(), {r}, RGB(255, 255, 255), row.Alpha);
    const COLORREF a = canvas.Surface.Pixel(15, 10), b = reference.Pixel(15, 10);
    EXPECT_LE(std::abs(GetGValue(a) - GetGValue(b)), 1);
    EXPECT_LE(std::abs(GetRValue(a) - GetRValue(b)), 1);
    // The outline one pixel inside: darker than the fill; the outer ring
    // keeps the background.
    EXPECT_LT(GetGValue(canvas.Surface.Pixel(15, 1)), GetGValue(a));
    EXPECT_EQ(RingCount(canvas.Surface, r, Bg), RingLength(r));
  }
}

TEST(Maps, ThePushpinStretchesIntoItsRectangle) {
  auto* painter = UltraFlatPainter();
  const TSize size = painter->MapControlGetMapPushpinSize(DefaultScaleFactor());
  ASSERT_GT(size.cx, 0);
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->MapControlGetMapPushpinSize(twice.get()), TSize(2 * size.cx, 2 * size.cy));
  EXPECT_EQ(painter->MapControlGetMapPushpinTextOrigin(twice.get()), TPoint(34, 34));
  TCanvasOnSurface canvas(2 * size.cx + 4, 2 * size.cy + 4, Bg);
  const TRect r(2, 2, 2 + 2 * size.cx, 2 + 2 * size.cy);
  painter->DrawMapPushpin(canvas.Get(), r, mcesNormal, twice.get());
  const TRect drawn = canvas.Surface.BoundsOfOther(Bg);
  EXPECT_TRUE(r.Contains(drawn));
  EXPECT_GT(drawn.Width(), r.Width() * 3 / 4) << canvas.Surface.Picture(Bg);
  EXPECT_GT(drawn.Height(), r.Height() * 3 / 4);
}

// ---------------------------------------------------------------------------
// The office navigation bar

TEST(OfficeNavigationBar, ImageSelectionsAndTextColoursByState) {
  auto* painter = UltraFlatPainter();
  struct TRow {
    TcxCalendarElementState State;
    COLORREF Fill;  // Bg: nothing drawn
    COLORREF Text;
  };
  const TRow rows[] = {{cesNormal, Bg, RGB(0x56, 0x56, 0x56)},
                       {cesHot, RGB(0xCD, 0xE6, 0xF7), RGB(0x00, 0x72, 0xC6)},
                       {cesSelected, RGB(0xCD, 0xE6, 0xF7), RGB(0x00, 0x72, 0xC6)},
                       {cesPressed, RGB(0x92, 0xC0, 0xE0), RGB(0x00, 0x72, 0xC6)},
                       {cesFocused, Bg, RGB(0x56, 0x56, 0x56)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(10, 10, Bg);
    painter->OfficeNavigationBarDrawImageSelection(canvas.Get(), TRect(1, 1, 9, 9), row.State);
    EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, 9, 9), row.Fill), 64);
    EXPECT_EQ(Rgb(painter->OfficeNavigationBarItemTextColor(row.State)), row.Text);
    EXPECT_EQ(Rgb(painter->OfficeNavigationBarButtonItemTextColor(row.State)), row.Text);
  }
  TCanvasOnSurface background(10, 10, Bg);
  painter->OfficeNavigationBarDrawBackground(background.Get(), TRect(0, 0, 10, 10));
  EXPECT_EQ(background.Surface.Count(RGB(0xE4, 0xE4, 0xE4)), 100);
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->OfficeNavigationBarScaledItemFontSize(twice.get()), 38);
  EXPECT_EQ(painter->OfficeNavigationBarScaledButtonItemContentOffsets(twice.get()), TRect(8, 8, 8, 8));
}

TEST(OfficeNavigationBar, TheCustomizationButtonIsRecolouredUnlessTheColourIsTheDefault) {
  auto* painter = UltraFlatPainter();
  const TSize size = painter->OfficeNavigationBarCustomizationButtonSize();
  ASSERT_GT(size.cx, 0);
  const TRect r(0, 0, size.cx, size.cy);
  TCanvasOnSurface plain(size.cx, size.cy, RGB(255, 255, 255));
  painter->OfficeNavigationBarDrawCustomizationButton(plain.Get(), r, cesNormal);
  const int drawn = plain.Surface.CountOther(r, RGB(255, 255, 255));
  ASSERT_GT(drawn, 8);
  TCanvasOnSurface blue(size.cx, size.cy, RGB(255, 255, 255));
  painter->OfficeNavigationBarDrawScaledCustomizationButton(blue.Get(), r, cesNormal, DefaultScaleFactor(),
                                                            0xFF0000FF);
  EXPECT_EQ(blue.Surface.CountOther(r, RGB(255, 255, 255)), drawn) << "the same shape";
  // Every drawn pixel is white blended toward pure blue.
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      const COLORREF c = blue.Surface.Pixel(x, y);
      EXPECT_EQ(GetRValue(c), GetGValue(c));
      EXPECT_EQ(GetBValue(c), 255);
    }
  // Half the colour's alpha: lighter than the opaque one.
  TCanvasOnSurface faint(size.cx, size.cy, RGB(255, 255, 255));
  painter->OfficeNavigationBarDrawScaledCustomizationButton(faint.Get(), r, cesNormal, DefaultScaleFactor(),
                                                            0x800000FF);
  const TRect dots = blue.Surface.BoundsOfOther(RGB(255, 255, 255));
  const TPoint middle((dots.Left + dots.Right) / 2, (dots.Top + dots.Bottom) / 2);
  EXPECT_GT(GetRValue(faint.Surface.Pixel(middle.X, middle.Y)), GetRValue(blue.Surface.Pixel(middle.X, middle.Y)) + 60);
}

// ---------------------------------------------------------------------------
// The PDF viewer

TEST(PDFViewer, PaneButtonsReachOutWhenSelected) {
  auto* painter = UltraFlatPainter();
  const TRect r(10, 10, 52, 52);
  // Content offsets 4 on each side; the overlay adds the border at the top.
  EXPECT_EQ(painter->PDFViewerNavigationPaneButtonRect(r, cxbsNormal, true, DefaultScaleFactor()),
            TRect(6, 5, 56, 57));
  EXPECT_EQ(painter->PDFViewerNavigationPaneButtonRect(r, cxbsPressed, false, DefaultScaleFactor()),
            TRect(6, 5, 56, 57));
  EXPECT_EQ(painter->PDFViewerNavigationPaneButtonRect(r, cxbsHot, false, DefaultScaleFactor()), r);
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->PDFViewerNavigationPaneButtonOverlay(twice.get()), TPoint(8, 9));
  EXPECT_EQ(painter->PDFViewerNavigationPaneButtonSize(twice.get()), TSize(84, 84));
}

TEST(PDFViewer, TheFindPanelKeepsItsBorderOnlyOnTheSidesAsked) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 21, 15);
  const COLORREF control = Rgb(painter->DefaultControlColor());
  struct TRow {
    const char* Name;
    TcxBorders Borders;
  };
  const TRow rows[] = {{"all", cxBordersAll()}, {"right", {bRight}}, {"none", TcxBorders()}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(22, 16, Bg);
    painter->PDFViewerDrawFindPanelBackground(canvas.Get(), r, row.Borders);
    TPixelSurface reference(22, 16, Bg);
    GdiFill(reference.DC(), r, control);
    if (row.Borders.Contains(bLeft)) GdiFill(reference.DC(), TRect(1, 1, 2, 15), Sys(COLOR_BTNSHADOW));
    if (row.Borders.Contains(bTop)) GdiFill(reference.DC(), TRect(1, 1, 21, 2), Sys(COLOR_BTNSHADOW));
    if (row.Borders.Contains(bRight)) GdiFill(reference.DC(), TRect(20, 1, 21, 15), Sys(COLOR_BTNSHADOW));
    if (row.Borders.Contains(bBottom)) GdiFill(reference.DC(), TRect(1, 14, 21, 15), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
  // A selected pane button: the border at its sides, the control colour
  // between its top and bottom borders.
  TCanvasOnSurface selected(60, 60, Bg);
  painter->PDFViewerDrawNavigationPaneButton(selected.Get(), TRect(10, 10, 52, 52), cxbsNormal, DefaultScaleFactor(),
                                             false, true, true);
  EXPECT_EQ(selected.Surface.BoundsOfOther(Bg), TRect(6, 5, 56, 57));
  EXPECT_EQ(selected.Surface.Count(TRect(6, 6, 7, 56), control), 50) << "the sides are overpainted";
  EXPECT_EQ(selected.Surface.Count(TRect(6, 5, 56, 6), Sys(COLOR_BTNSHADOW)), 50);
  // Not selected: the pane background, then the hot face one pixel in.
  TCanvasOnSurface hot(60, 60, Bg);
  painter->PDFViewerDrawNavigationPaneButton(hot.Get(), TRect(10, 10, 52, 52), cxbsHot, DefaultScaleFactor(), false,
                                             false, true);
  EXPECT_EQ(hot.Surface.Count(TRect(7, 6, 55, 56), HotBlend()), 48 * 50);
  EXPECT_EQ(hot.Surface.Count(TRect(55, 5, 56, 57), Sys(COLOR_BTNSHADOW)), 52) << "the right border";
}

// ---------------------------------------------------------------------------
// Spreadsheets

TEST(Spreadsheets, HeadersBlendTheHighlightWhileHotOrPressed) {
  auto* painter = UltraFlatPainter();
  // AWeight per cent of the first colour, the rest of the highlight.
  const auto blend = [](COLORREF A, int AWeight) {
    const COLORREF h = Sys(COLOR_HIGHLIGHT);
    const auto c = [&](int a, int b) {
      return static_cast<int>(std::lround(a * AWeight / 100.0) + std::lround(b * (100 - AWeight) / 100.0));
    };
    return RGB(c(GetRValue(A), GetRValue(h)), c(GetGValue(A), GetGValue(h)), c(GetBValue(A), GetBValue(h)));
  };
  struct TRow {
    TcxButtonState State;
    COLORREF Fill;
  };
  const TRow rows[] = {{cxbsNormal, Rgb(painter->DefaultHeaderColor())},
                       {cxbsHot, blend(Sys(COLOR_BTNHIGHLIGHT), 85)},
                       {cxbsPressed, blend(Sys(COLOR_BTNFACE), 70)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(40, 20, Bg);
    painter->DrawGanttSheetHeader(canvas.Get(), TRect(0, 0, 40, 20), row.State, {}, cxBordersAll(),
                                  DefaultScaleFactor());
    EXPECT_EQ(canvas.Surface.Pixel(20, 10), row.Fill);
    EXPECT_EQ(canvas.Surface.Pixel(39, 10), Sys(COLOR_BTNTEXT)) << "the header border";
  }
}

TEST(Spreadsheets, TheFormulaBarButtonIsAScrollBarArrowUpWhenExpanded) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 17, 17);
  for (const bool expanded : {true, false}) {
    SCOPED_TRACE(expanded);
    TCanvasOnSurface canvas(17, 17, Bg);
    painter->DrawSpreadSheetFormulaBarScaledExpandButton(canvas.Get(), r, cxbsNormal, expanded, DefaultScaleFactor());
    TCanvasOnSurface up(17, 17, Bg), down(17, 17, Bg);
    painter->DrawScrollBarPart(up.Get(), false, r, sbpLineUp, cxbsNormal);
    painter->DrawScrollBarPart(down.Get(), false, r, sbpLineDown, cxbsNormal);
    ASSERT_GT(Differing(up.Surface, down.Surface), 0);
    EXPECT_EQ(Differing(canvas.Surface, expanded ? up.Surface : down.Surface), 0);
  }
  EXPECT_EQ(painter->SpreadSheetFormulaBarGetScaledSeparatorSize(DefaultScaleFactor()), 1) << "UltraFlat's splitter";
  const auto base = TOwned<TTestPainter>(New<TTestPainter>(L"Base", lfsStandard));
  EXPECT_EQ(base->SpreadSheetFormulaBarGetScaledSeparatorSize(DefaultScaleFactor()), 2);
  EXPECT_EQ(base->SpreadSheetGroupLevelMarkSize(), TSize(2, 2));
  EXPECT_EQ(base->SpreadSheetGroupExpandButtonGlyphSize(), base->NavigatorButtonGlyphSize());
}

}  // namespace
