#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace {

using P = TcxCustomLookAndFeelPainter;

// GDI drawing in system colours, for the references.
void Fill(HDC DC, const TRect& R, int AColorIndex) {
  const RECT r = R;
  FillRect(DC, &r, GetSysColorBrush(AColorIndex));
}
void Frame(HDC DC, const TRect& R, int AColorIndex) {
  const RECT r = R;
  FrameRect(DC, &r, GetSysColorBrush(AColorIndex));
}
void Edge(HDC DC, const TRect& R, UINT AEdge) {
  RECT r = R;
  DrawEdge(DC, &r, AEdge, BF_RECT);
}

struct TBevelRow {
  const char* Name;
  TdxBevelShape Shape;
  TdxBevelStyle Style;
  std::function<void(HDC, const TRect&)> Reference;
};

constexpr int Shadow = COLOR_BTNSHADOW;
constexpr int Light = COLOR_BTNHIGHLIGHT;

// Each row's shape drawn by APainter in (3, 2, 23, 14) equals its GDI
// reference.
template <std::size_t N>
void ExpectBevels(P* APainter, const TBevelRow (&ARows)[N]) {
  const TRect r(3, 2, 23, 14);
  for (const TBevelRow& row : ARows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(26, 16, Bg);
    APainter->DrawBevelShape(canvas.Get(), r, row.Shape, row.Style);
    TPixelSurface reference(26, 16, Bg);
    row.Reference(reference.DC(), r);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n"
                                                       << reference.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// Bevels

TEST(Bevels, TheBaseShapesAreTheSystemsEdgesAndTwoPixelLines) {
  const TOwned<P> base(New<P>());
  // The centred vertical band starts at (3 + 23 - 2) / 2 = 12, the centred
  // horizontal one at (2 + 14 - 2) / 2 = 7.
  const TBevelRow rows[] = {
      {"none", dxbsNone, dxbsLowered, [](HDC, const TRect&) {}},
      {"lowered box", dxbsBox, dxbsLowered, [](HDC DC, const TRect& R) { Edge(DC, R, BDR_SUNKENOUTER); }},
      {"raised box", dxbsBox, dxbsRaised, [](HDC DC, const TRect& R) { Edge(DC, R, BDR_RAISEDINNER); }},
      {"lowered frame", dxbsFrame, dxbsLowered,
       [](HDC DC, const TRect& R) {
         Frame(DC, TRect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), Light);
         Frame(DC, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), Shadow);
       }},
      {"raised frame", dxbsFrame, dxbsRaised,
       [](HDC DC, const TRect& R) {
         Frame(DC, TRect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), Shadow);
         Frame(DC, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), Light);
       }},
      {"lowered top line", dxbsLineTop, dxbsLowered,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(R.Left, 2, R.Right, 3), Shadow);
         Fill(DC, TRect(R.Left, 3, R.Right, 4), Light);
       }},
      {"raised top line", dxbsLineTop, dxbsRaised,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(R.Left, 2, R.Right, 3), Light);
         Fill(DC, TRect(R.Left, 3, R.Right, 4), Shadow);
       }},
      {"lowered bottom line", dxbsLineBottom, dxbsLowered,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(R.Left, 12, R.Right, 13), Shadow);
         Fill(DC, TRect(R.Left, 13, R.Right, 14), Light);
       }},
      {"lowered left line", dxbsLineLeft, dxbsLowered,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(3, R.Top, 4, R.Bottom), Shadow);
         Fill(DC, TRect(4, R.Top, 5, R.Bottom), Light);
       }},
      {"raised right line", dxbsLineRight, dxbsRaised,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(21, R.Top, 22, R.Bottom), Light);
         Fill(DC, TRect(22, R.Top, 23, R.Bottom), Shadow);
       }},
      {"lowered line centred across", dxbsLineCenteredHorz, dxbsLowered,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(12, R.Top, 13, R.Bottom), Shadow);
         Fill(DC, TRect(13, R.Top, 14, R.Bottom), Light);
       }},
      {"raised line centred down", dxbsLineCenteredVert, dxbsRaised,
       [](HDC DC, const TRect& R) {
         Fill(DC, TRect(R.Left, 7, R.Right, 8), Light);
         Fill(DC, TRect(R.Left, 8, R.Right, 9), Shadow);
       }},
  };
  ExpectBevels(base.get(), rows);
}

TEST(Bevels, ACentredLineLeftOfTheOriginIsRoundedDown) {
  // (-9 + 4 - 2) / 2 = -3.5 puts the band at -4, not -3; the window origin
  // at -20 shows it at device column 16.
  const TOwned<P> base(New<P>());
  TCanvasOnSurface canvas(26, 16, Bg);
  SetWindowOrgEx(canvas.Surface.DC(), -20, 0, nullptr);
  base->DrawBevelShape(canvas.Get(), TRect(-9, 2, 4, 14), dxbsLineCenteredHorz, dxbsLowered);
  SetWindowOrgEx(canvas.Surface.DC(), 0, 0, nullptr);
  EXPECT_EQ(canvas.Surface.Count(TRect(16, 2, 17, 14), Sys(COLOR_BTNSHADOW)), 12) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.Count(TRect(17, 2, 18, 14), Sys(COLOR_BTNHIGHLIGHT)), 12);
  EXPECT_EQ(canvas.Surface.Count(Bg), 26 * 16 - 24);
}

TEST(Bevels, UltraFlatBevelsAreOnePlainShadowLineWhateverTheStyle) {
  // The single colour comes first again after a raised style's swap.
  for (const TdxBevelStyle style : {dxbsLowered, dxbsRaised}) {
    SCOPED_TRACE(style == dxbsRaised ? "raised" : "lowered");
    // Centred bands at (3 + 23 - 1) / 2 = 12 and (2 + 14 - 1) / 2 = 7.
    const TBevelRow rows[] = {
        {"none", dxbsNone, style, [](HDC, const TRect&) {}},
        {"box", dxbsBox, style, [](HDC DC, const TRect& R) { Frame(DC, R, Shadow); }},
        {"frame", dxbsFrame, style, [](HDC DC, const TRect& R) { Frame(DC, R, Shadow); }},
        {"top", dxbsLineTop, style, [](HDC DC, const TRect& R) { Fill(DC, TRect(R.Left, 2, R.Right, 3), Shadow); }},
        {"bottom", dxbsLineBottom, style,
         [](HDC DC, const TRect& R) { Fill(DC, TRect(R.Left, 13, R.Right, 14), Shadow); }},
        {"left", dxbsLineLeft, style, [](HDC DC, const TRect& R) { Fill(DC, TRect(3, R.Top, 4, R.Bottom), Shadow); }},
        {"right", dxbsLineRight, style,
         [](HDC DC, const TRect& R) { Fill(DC, TRect(22, R.Top, 23, R.Bottom), Shadow); }},
        {"centred across", dxbsLineCenteredHorz, style,
         [](HDC DC, const TRect& R) { Fill(DC, TRect(12, R.Top, 13, R.Bottom), Shadow); }},
        {"centred down", dxbsLineCenteredVert, style,
         [](HDC DC, const TRect& R) { Fill(DC, TRect(R.Left, 7, R.Right, 8), Shadow); }},
    };
    ExpectBevels(UltraFlatPainter(), rows);
  }
}

// ---------------------------------------------------------------------------
// Tokens

constexpr TcxButtonState AllStates[] = {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};

TEST(Tokens, TheBaseTokenIsAShadowFrameAroundTheButtonFaceOfActiveStates) {
  const TOwned<P> base(New<P>());
  const TRect r(2, 3, 28, 17);
  TRect inner = r;
  inner.Deflate(1);
  for (const TcxButtonState state : AllStates) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(30, 20, Bg);
    base->DrawScaledTokenBackground(canvas.Get(), r, state, DefaultScaleFactor());
    EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r)) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), canvas.Surface.CountOther(r, Bg))
        << "nothing outside the token";
    if (state == cxbsNormal || state == cxbsDisabled) {
      EXPECT_EQ(canvas.Surface.Count(inner, Bg), inner.Width() * inner.Height());
    } else {
      // Inside the frame: the button of the state as drawn over the whole
      // token, its own outer ring cut away.
      TCanvasOnSurface button(30, 20, Bg);
      base->DrawScaledButton(button.Get(), r, state, DefaultScaleFactor(), true, false, cxbpButton, clDefault);
      EXPECT_LT(button.Surface.Count(inner, Bg), inner.Width() * inner.Height()) << "a face was drawn";
      int differing = 0;
      for (int y = inner.Top; y < inner.Bottom; ++y)
        for (int x = inner.Left; x < inner.Right; ++x)
          differing += canvas.Surface.Pixel(x, y) != button.Surface.Pixel(x, y);
      EXPECT_EQ(differing, 0) << canvas.Surface.Picture(Bg) << "\n" << button.Surface.Picture(Bg);
    }
    // The clip region is the caller's again.
    canvas->FillRect(canvas.Surface.ClientRect(), clRed);
    EXPECT_EQ(canvas.Surface.Count(Red), 600);
  }
}

TEST(Tokens, UltraFlatTokensByState) {
  struct TRow {
    TcxButtonState State;
    COLORREF Frame;
    COLORREF Inside;
  };
  const TRow rows[] = {{cxbsDefault, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE)},
                       {cxbsNormal, Sys(COLOR_BTNSHADOW), Bg},
                       {cxbsHot, Sys(COLOR_HIGHLIGHT), HotBlend()},
                       {cxbsPressed, Sys(COLOR_HIGHLIGHT), PressedBlend()},
                       {cxbsDisabled, Sys(COLOR_BTNSHADOW), Bg}};
  const TRect r(1, 2, 25, 16);
  TRect inner = r;
  inner.Deflate(1);
  const int innerArea = inner.Width() * inner.Height();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(26, 18, Bg);
    UltraFlatPainter()->DrawTokenBackground(canvas.Get(), r, row.State);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r)) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(inner, row.Inside), innerArea);
    EXPECT_EQ(canvas.Surface.Count(Bg), 26 * 18 - r.Width() * r.Height() + (row.Inside == Bg ? innerArea : 0));
  }
}

}  // namespace
