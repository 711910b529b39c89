#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/LookAndFeelTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A painter with the base behaviour throughout.
TOwned<TTestPainter> BasePainter() { return TOwned<TTestPainter>(New<TTestPainter>(L"Base", lfsStandard)); }

// The one-pixel edges of R on ABorders.
std::vector<TRect> Edges(const TRect& R, TcxBorders ABorders) {
  std::vector<TRect> result;
  if (ABorders.Contains(bLeft)) result.emplace_back(R.Left, R.Top, R.Left + 1, R.Bottom);
  if (ABorders.Contains(bTop)) result.emplace_back(R.Left, R.Top, R.Right, R.Top + 1);
  if (ABorders.Contains(bRight)) result.emplace_back(R.Right - 1, R.Top, R.Right, R.Bottom);
  if (ABorders.Contains(bBottom)) result.emplace_back(R.Left, R.Bottom - 1, R.Right, R.Bottom);
  return result;
}

// ---------------------------------------------------------------------------
// Breadcrumbs

TEST(Breadcrumbs, TheBaseBordersAreSunkenOnTheSidesAsked) {
  const auto painter = BasePainter();
  const TRect r(2, 2, 30, 20);
  struct TRow {
    const char* Name;
    TcxBorders Borders;
  };
  const TRow rows[] = {{"all", cxBordersAll()}, {"left and top", {bLeft, bTop}}, {"right and bottom", {bRight, bBottom}},
                       {"left and right", {bLeft, bRight}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 22, Bg);
    painter->DrawBreadcrumbEditBorders(canvas.Get(), r, row.Borders, dxbcsNormal);
    // The system's own sunken edge on the same sides.
    TPixelSurface reference(32, 22, Bg);
    RECT edge = r;
    UINT flags = 0;
    if (row.Borders.Contains(bLeft)) flags |= BF_LEFT;
    if (row.Borders.Contains(bTop)) flags |= BF_TOP;
    if (row.Borders.Contains(bRight)) flags |= BF_RIGHT;
    if (row.Borders.Contains(bBottom)) flags |= BF_BOTTOM;
    DrawEdge(reference.DC(), &edge, BDR_SUNKENOUTER, flags);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(Breadcrumbs, TheBaseShowsOnlyFocusedHotAndPressedButtonsAsPlainButtons) {
  const auto painter = BasePainter();
  const TRect r(1, 1, 25, 19);
  struct TRow {
    TdxBreadcrumbEditButtonState State;
    bool Shown;
    TcxButtonState ButtonState;
  };
  const TRow rows[] = {{dxbcbsNormal, false, cxbsNormal},
                       {dxbcbsFocused, true, cxbsNormal},
                       {dxbcbsHot, true, cxbsHot},
                       {dxbcbsPressed, true, cxbsPressed},
                       {dxbcbsDisabled, false, cxbsDisabled}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(26, 20, Bg);
    painter->DrawBreadcrumbEditButton(canvas.Get(), r, row.State, false, false);
    // The node and its delimiter draw the same button.
    TCanvasOnSurface node(26, 20, Bg);
    painter->DrawBreadcrumbEditNode(node.Get(), r, row.State, true);
    EXPECT_EQ(Differing(canvas.Surface, node.Surface), 0);
    if (!row.Shown) {
      EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 0);
      continue;
    }
    TCanvasOnSurface button(26, 20, Bg);
    painter->DrawButton(button.Get(), r, String(), row.ButtonState);
    EXPECT_EQ(Differing(canvas.Surface, button.Surface), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(Breadcrumbs, TheBaseDropDownButtonIsAlwaysAButtonInTheEditor) {
  const auto painter = BasePainter();
  const TRect r(0, 0, 18, 18);
  TCanvasOnSurface outside(18, 18, Bg);
  painter->DrawBreadcrumbEditDropDownButton(outside.Get(), r, dxbcbsNormal, false);
  EXPECT_EQ(outside.Surface.CountOther(r, Bg), 0) << "a normal button outside the editor is not drawn";
  TCanvasOnSurface inside(18, 18, Bg);
  painter->DrawBreadcrumbEditDropDownButton(inside.Get(), r, dxbcbsNormal, true);
  TCanvasOnSurface button(18, 18, Bg);
  painter->DrawButton(button.Get(), r, String(), cxbsNormal);
  EXPECT_EQ(Differing(inside.Surface, button.Surface), 0);
}

TEST(Breadcrumbs, GlyphsTakeTheStatesSymbolColours) {
  const auto painter = BasePainter();
  const TRect r(0, 0, 16, 16);
  TCanvasOnSurface normal(16, 16, Bg);
  painter->DrawBreadcrumbEditNodeDelimiterGlyph(normal.Get(), r, dxbcbsNormal);
  EXPECT_GT(normal.Surface.Count(Sys(COLOR_BTNTEXT)), 4);
  const TRect arrow = normal.Surface.BoundsOf(Sys(COLOR_BTNTEXT));
  EXPECT_GT(arrow.Width(), arrow.Height()) << "pointing down: wider than high";
  TCanvasOnSurface disabled(16, 16, Bg);
  painter->DrawBreadcrumbEditNodeMoreButtonGlyph(disabled.Get(), r, dxbcbsDisabled);
  EXPECT_EQ(disabled.Surface.Count(Sys(COLOR_BTNTEXT)), 0);
  EXPECT_EQ(disabled.Surface.Count(Sys(COLOR_BTNSHADOW)), normal.Surface.Count(Sys(COLOR_BTNTEXT)));
  TCanvasOnSurface red(16, 16, Bg);
  painter->DrawBreadcrumbEditNodeDelimiterGlyph(red.Get(), r, dxbcbsNormal, clRed);
  EXPECT_EQ(red.Surface.Count(RGB(255, 0, 0)), normal.Surface.Count(Sys(COLOR_BTNTEXT)));
  // The drop-down triangle two pixels inside: nothing on the outer ring.
  TCanvasOnSurface drop(16, 16, Bg);
  painter->DrawBreadcrumbEditDropDownButtonGlyph(drop.Get(), r, dxbcbsHot, false);
  const TRect triangle = drop.Surface.BoundsOfOther(Bg);
  EXPECT_FALSE(triangle.IsEmpty());
  EXPECT_GE(triangle.Left, 2);
  EXPECT_LE(triangle.Right, 14);
  const COLORREF symbol = Rgb(painter->ButtonSymbolColor(cxbsHot));
  EXPECT_EQ(drop.Surface.CountOther(triangle, symbol), drop.Surface.Count(triangle, Bg)) << "one colour";
}

TEST(Breadcrumbs, SizesAndTheProgressChunk) {
  const auto painter = BasePainter();
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->BreadcrumbEditScaledButtonAreaSeparatorSize(twice.get()), 2) << "not scaled";
  EXPECT_EQ(painter->BreadcrumbEditScaledButtonContentOffsets(true, true, twice.get()), TRect(6, 6, 6, 6));
  EXPECT_EQ(painter->BreadcrumbEditScaledNodeDelimiterSize(twice.get()), 32);
  EXPECT_EQ(painter->BreadcrumbEditScaledNodeTextOffsets(twice.get()), TRect(8, 8, 8, 8));
  EXPECT_EQ(painter->BreadcrumbEditScaledDropDownButtonWidth(DefaultScaleFactor()), GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_EQ(painter->BreadcrumbEditBordersSize(), TRect(1, 1, 1, 1));
  EXPECT_EQ(painter->BreadcrumbEditProgressChunkPadding(), TRect(1, 1, 1, 1));
  TCanvasOnSurface chunk(8, 8, Bg);
  painter->DrawBreadcrumbEditProgressChunk(chunk.Get(), TRect(1, 1, 7, 7));
  EXPECT_EQ(chunk.Surface.Count(RGB(0xA4, 0xA8, 0xAA)), 36);
  EXPECT_EQ(chunk.Surface.Count(Bg), 64 - 36);
}

TEST(Breadcrumbs, UltraFlatFramesButtonsOnTheirInnerSides) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 21, 17);
  struct TRow {
    const char* Name;
    TdxBreadcrumbEditButtonState State;
    bool First, Last;
    COLORREF Face, Frame;
    TcxBorders Framed;
  };
  const TRow rows[] = {
      {"focused", dxbcbsFocused, false, false, Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW), {bLeft, bRight}},
      {"hot first", dxbcbsHot, true, false, HotBlend(), Sys(COLOR_HIGHLIGHT), {bRight}},
      {"pressed last", dxbcbsPressed, false, true, PressedBlend(), Sys(COLOR_HIGHLIGHT), {bLeft}},
      {"hot alone", dxbcbsHot, true, true, HotBlend(), Sys(COLOR_HIGHLIGHT), TcxBorders()},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(22, 18, Bg);
    painter->DrawBreadcrumbEditButton(canvas.Get(), r, row.State, row.First, row.Last);
    TPixelSurface reference(22, 18, Bg);
    GdiFill(reference.DC(), r, row.Face);
    for (const TRect& e : Edges(r, row.Framed)) GdiFill(reference.DC(), e, row.Frame);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
  for (const auto state : {dxbcbsNormal, dxbcbsDisabled}) {
    TCanvasOnSurface canvas(22, 18, Bg);
    painter->DrawBreadcrumbEditButton(canvas.Get(), r, state, false, false);
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 0);
  }
  // The drop-down button: its left side only; a normal one in the editor is
  // a face without a frame.
  TCanvasOnSurface drop(22, 18, Bg);
  painter->DrawBreadcrumbEditDropDownButton(drop.Get(), r, dxbcbsNormal, true);
  EXPECT_EQ(drop.Surface.Count(r, Sys(COLOR_BTNFACE)), r.Width() * r.Height());
  TCanvasOnSurface hotDrop(22, 18, Bg);
  painter->DrawBreadcrumbEditDropDownButton(hotDrop.Get(), r, dxbcbsHot, false);
  EXPECT_EQ(hotDrop.Surface.Count(TRect(1, 1, 2, 17), Sys(COLOR_HIGHLIGHT)), 16);
  EXPECT_EQ(hotDrop.Surface.Count(TRect(20, 1, 21, 17), HotBlend()), 16);
}

TEST(Breadcrumbs, UltraFlatBordersLightWhileFocusedOrHot) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 20, 12);
  struct TRow {
    TdxBreadcrumbEditState State;
    COLORREF Color;
  };
  const TRow rows[] = {{dxbcsNormal, Sys(COLOR_BTNSHADOW)},
                       {dxbcsFocused, Sys(COLOR_HIGHLIGHT)},
                       {dxbcsHot, Sys(COLOR_HIGHLIGHT)},
                       {dxbcsDisabled, Sys(COLOR_BTNSHADOW)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(20, 12, Bg);
    painter->DrawBreadcrumbEditBorders(canvas.Get(), r, cxBordersAll(), row.State);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Color), RingLength(r));
    TCanvasOnSurface separator(20, 12, Bg);
    painter->DrawBreadcrumbEditButtonAreaSeparator(separator.Get(), r, row.State);
    EXPECT_EQ(separator.Surface.Count(TRect(0, 0, 1, 12), row.Color), 12);
    EXPECT_EQ(separator.Surface.CountOther(TRect(1, 0, 20, 12), Bg), 0) << "the left side only";
  }
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->BreadcrumbEditScaledButtonContentOffsets(true, false, twice.get()), TRect(4, 6, 6, 6));
  EXPECT_EQ(painter->BreadcrumbEditScaledButtonContentOffsets(false, true, twice.get()), TRect(6, 6, 4, 6));
  EXPECT_EQ(painter->BreadcrumbEditScaledButtonAreaSeparatorSize(twice.get()), 1);
}

// ---------------------------------------------------------------------------
// The alert window and the pin

TEST(AlertWindow, ThePinStandsWhenPinnedAndLiesWhenNot) {
  const auto painter = BasePainter();
  // A 14-pixel square: head 7 x 7, bar 13 x 1, needle 1 x 7, each part
  // overlapping the last by one pixel.
  const TRect bounds(3, 3, 17, 17);
  struct TRow {
    const char* Name;
    bool Pinned;
    TRect Head, HeadFill, Bar, Needle;
  };
  const TRow rows[] = {
      {"pinned", true, TRect(6, 3, 13, 10), TRect(9, 3, 13, 10), TRect(3, 9, 16, 10), TRect(9, 9, 10, 16)},
      {"unpinned", false, TRect(10, 6, 17, 13), TRect(10, 9, 17, 13), TRect(10, 3, 11, 16), TRect(4, 9, 11, 10)},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(20, 20, Bg);
    painter->DrawPin(canvas.Get(), bounds, clRed, row.Pinned);
    TPixelSurface reference(20, 20, Bg);
    GdiFrame(reference.DC(), row.Head, RGB(255, 0, 0));
    for (const TRect& r : {row.HeadFill, row.Bar, row.Needle}) GdiFill(reference.DC(), r, RGB(255, 0, 0));
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(AlertWindow, ADownPinButtonIsPressedAndPinned) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 20, 20);
  TCanvasOnSurface canvas(20, 20, Bg);
  painter->DrawAlertWindowButton(canvas.Get(), r, cxbsNormal, awbkPin, true);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_HIGHLIGHT)), RingLength(r)) << "the pressed frame";
  EXPECT_EQ(canvas.Surface.Pixel(1, 1), PressedBlend());
  // The pin in the pressed symbol colour, standing inside the offsets.
  const TRect pin = canvas.Surface.BoundsOf(Sys(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(pin, TRect(3, 3, 16, 16)) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.Count(TRect(9, 10, 10, 16), Sys(COLOR_HIGHLIGHTTEXT)), 6) << "the needle below";
  // Not down: the normal look, the pin lying.
  TCanvasOnSurface up(20, 20, Bg);
  painter->DrawAlertWindowButton(up.Get(), r, cxbsNormal, awbkPin, false);
  EXPECT_EQ(RingCount(up.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r));
  EXPECT_EQ(up.Surface.Count(TRect(4, 9, 10, 10), Sys(COLOR_BTNTEXT)), 6) << "the needle to the left";
}

// The bounds of AColor's pixels inside R.
TRect BoundsIn(const TPixelSurface& ASurface, const TRect& R, COLORREF AColor) {
  TRect result;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) {
      if (ASurface.Pixel(x, y) != AColor) continue;
      const TRect pixel(x, y, x + 1, y + 1);
      result = result.IsEmpty() ? pixel
                               : TRect(std::min(result.Left, x), std::min(result.Top, y), std::max(result.Right, x + 1),
                                       std::max(result.Bottom, y + 1));
    }
  return result;
}

TEST(AlertWindow, ButtonGlyphsByKind) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 20, 20);
  TRect inner = r;
  inner.Deflate(1);
  TRect content = r;
  content.Deflate(3);
  // Arrows as DrawArrow draws them in the content rectangle.
  const auto arrowBounds = [&](TcxArrowDirection ADirection) {
    TCanvasOnSurface arrow(20, 20, Bg);
    painter->DrawArrow(arrow.Get(), content, ADirection, clBtnText);
    return arrow.Surface.BoundsOf(Sys(COLOR_BTNTEXT));
  };
  struct TRow {
    const char* Name;
    TdxAlertWindowButtonKind Kind;
    TRect Glyph;
  };
  const TRow rows[] = {{"drop-down", awbkDropdown, arrowBounds(adDown)},
                       {"previous", awbkPrevious, arrowBounds(adLeft)},
                       {"next", awbkNext, arrowBounds(adRight)},
                       {"custom", awbkCustom, TRect()}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(20, 20, Bg);
    painter->DrawAlertWindowButton(canvas.Get(), r, cxbsNormal, row.Kind);
    EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r)) << "the frame";
    EXPECT_EQ(BoundsIn(canvas.Surface, inner, Sys(COLOR_BTNTEXT)), row.Glyph) << canvas.Surface.Picture(Bg);
  }
  // The close button's cross stays inside the content offsets.
  TCanvasOnSurface close(20, 20, Bg);
  painter->DrawAlertWindowButton(close.Get(), r, cxbsNormal, awbkClose);
  const TRect cross = BoundsIn(close.Surface, inner, Sys(COLOR_BTNTEXT));
  EXPECT_FALSE(cross.IsEmpty());
  EXPECT_TRUE(content.Contains(cross)) << close.Surface.Picture(Bg);
  EXPECT_EQ(painter->AlertWindowButtonGlyphSize(awbkCustom), TSize(0, 0));
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(painter->AlertWindowScaledButtonGlyphSize(awbkClose, twice.get()), TSize(20, 20));
  EXPECT_EQ(painter->AlertWindowScaledContentOffsets(twice.get()), TRect(8, 8, 8, 8));
  EXPECT_EQ(painter->AlertWindowScaledButtonContentOffsets(awbkNext, twice.get()), TRect(6, 6, 6, 6));
}

TEST(AlertWindow, TheBackgroundIsOutlinedInThePensColourAndThePanelFramed) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 31, 21);
  TCanvasOnSurface canvas(32, 22, Bg);
  canvas->Pen()->SetColor(clRed);
  canvas->SetBrushColor(clBtnFace);
  painter->DrawAlertWindowBackground(canvas.Get(), r, DefaultScaleFactor());
  EXPECT_EQ(RingCount(canvas.Surface, r, RGB(255, 0, 0)), RingLength(r));
  TRect inner = r;
  inner.Deflate(1);
  EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_BTNFACE)), inner.Width() * inner.Height());
  EXPECT_EQ(canvas.Surface.Count(Bg), 32 * 22 - r.Width() * r.Height());
  TCanvasOnSurface panel(32, 22, Bg);
  painter->DrawAlertWindowNavigationPanel(panel.Get(), r);
  EXPECT_EQ(RingCount(panel.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r));
  EXPECT_EQ(panel.Surface.Count(inner, Bg), inner.Width() * inner.Height());
  EXPECT_EQ(painter->AlertWindowNavigationPanelTextColor(), clBtnText);
}

TEST(AlertWindow, TheShellPinGlyphFillsTheRectangleInThePalettesColour) {
  const auto painter = BasePainter();
  TCanvasOnSurface canvas(32, 32, RGB(255, 255, 255));
  const auto palette = IPtr<IdxColorPalette>(New<TdxSimpleColorPalette>(TdxAlphaColor(0xFF0000FF), TdxAlphaColor(0)));
  painter->DrawShellQuickAccessPin(canvas.Get(), TRect(0, 0, 32, 32), ifmStretch, palette.Get());
  const TRect drawn = canvas.Surface.BoundsOfOther(RGB(255, 255, 255));
  EXPECT_GT(drawn.Height(), 24) << canvas.Surface.Picture(RGB(255, 255, 255));
  EXPECT_GT(canvas.Surface.Count(RGB(0, 0, 255)), 40) << "recoloured blue";
}

}  // namespace
