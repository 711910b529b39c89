#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"

#include <gtest/gtest.h>

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

}  // namespace
