#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using P = TcxCustomLookAndFeelPainter;

COLORREF Rgb(TColor AColor) { return static_cast<COLORREF>(ColorToRGB(AColor)); }

int Differing(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

int MaxChannelDifference(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) {
      const COLORREF a = A.Pixel(x, y), b = B.Pixel(x, y);
      result = std::max({result, std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                         std::abs(GetBValue(a) - GetBValue(b))});
    }
  return result;
}

// GDI+'s own translucent fills of the rectangles given.
void GdipFill(HDC DC, const std::vector<TRect>& ARects, COLORREF AColor, BYTE AAlpha) {
  GpGraphics* graphics = nullptr;
  GdipCreateFromHDC(DC, &graphics);
  GpSolidFill* brush = nullptr;
  const ARGB argb = (static_cast<ARGB>(AAlpha) << 24) | (GetRValue(AColor) << 16) | (GetGValue(AColor) << 8) |
                    GetBValue(AColor);
  GdipCreateSolidFill(argb, &brush);
  for (const TRect& r : ARects) GdipFillRectangleI(graphics, brush, r.Left, r.Top, r.Width(), r.Height());
  GdipDeleteBrush(brush);
  GdipDeleteGraphics(graphics);
}

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

}  // namespace
