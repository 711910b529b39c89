#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

namespace {

using P = TcxCustomLookAndFeelPainter;

TEST(Containers, BorderWidthsColoursAndEditorButtonsOfTheBase) {
  const TOwned<P> base(New<P>());
  const std::pair<TcxContainerBorderStyle, int> widths[] = {{cbsNone, 0}, {cbsSingle, 1}, {cbsThick, 2}, {cbsFlat, 2},
                                                            {cbs3D, 2},   {cbsUltraFlat, 1}, {cbsOffice11, 1}};
  for (const auto& [style, width] : widths) EXPECT_EQ(base->GetContainerBorderWidth(style), width) << style;
  EXPECT_EQ(base->GetContainerBorderColor(true), clBtnText);
  EXPECT_EQ(base->GetContainerBorderColor(false), clBtnText);
  EXPECT_EQ(base->EditButtonSize(), TSize(0, 0));
  EXPECT_EQ(base->EditButtonTextColor(cxbsHot), clDefault);
  EXPECT_EQ(base->EditButtonTextOffset(), 0);
  EXPECT_EQ(base->EditButtonColorPalette(cxbsNormal).Get(), nullptr);
  TCanvasOnSurface canvas(20, 20, Bg);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
    UltraFlatPainter()->DrawEditorButton(canvas.Get(), TRect(0, 0, 20, 20), cxbkComboBtn, state);
    UltraFlatPainter()->DrawEditorButtonGlyph(canvas.Get(), TRect(0, 0, 20, 20), cxbkComboBtn, state);
  }
  EXPECT_EQ(canvas.Surface.Count(Bg), 400) << "the editors draw their buttons themselves";
}

// ---------------------------------------------------------------------------
// Progress bars

TEST(ProgressBars, OnlyTheOverloadBarIsDrawnAndItInvertsTheBounds) {
  const TOwned<P> base(New<P>());
  EXPECT_EQ(base->ProgressBarTextColor(pbpBackground), clWindowText);
  for (const TcxProgressBarPart part : {pbpProgressChunk, pbpOverloadBar, pbpPeakBar})
    EXPECT_EQ(base->ProgressBarTextColor(part), clDefault);
  EXPECT_EQ(base->ProgressBarBorderSize(true), TRect());
  TCanvasOnSurface canvas(40, 20, Bg);
  const TRect bounds(2, 2, 30, 18), bar(10, 4, 20, 16);
  for (const TcxProgressBarPart part : {pbpBackground, pbpProgressChunk, pbpPeakBar})
    base->DrawProgressBarPart(canvas.Get(), bounds, bar, false, DefaultScaleFactor(), part);
  EXPECT_EQ(canvas.Surface.Count(Bg), 800);
  base->DrawProgressBarPart(canvas.Get(), bounds, bar, false, DefaultScaleFactor(), pbpOverloadBar);
  const COLORREF inverted = RGB(255 - GetRValue(Bg), 255 - GetGValue(Bg), 255 - GetBValue(Bg));
  EXPECT_EQ(canvas.Surface.Count(bounds, inverted), bounds.Width() * bounds.Height());
  EXPECT_EQ(canvas.Surface.Count(Bg), 800 - bounds.Width() * bounds.Height());
}

// A progress bar: the background left of 20 white, the bar to its right dark
// blue.
struct TBarScene {
  TBarScene() : Canvas(60, 24, RGB(255, 255, 255)) {
    Canvas->Font()->SetName(L"Tahoma");
    Canvas->Font()->SetHeight(-11);
    Canvas->FillRect(Bar, TColor(RGB(0, 0, 128)));
  }
  TCanvasOnSurface Canvas;
  const TRect Bounds{0, 0, 60, 24};
  const TRect Bar{0, 0, 30, 24};
};

TEST(ProgressBars, TextOfOneColourSitsInTheMiddle) {
  TBarScene scene;
  const TSize extent = scene.Canvas->TextExtent(L"42 %");
  UltraFlatPainter()->DrawProgressBarText(scene.Canvas.Get(), L"42 %", scene.Bounds, scene.Bar, TRect(), TRect(), clRed,
                                          false);
  const TRect red = scene.Canvas.Surface.BoundsOf(Red);
  ASSERT_FALSE(red.IsEmpty());
  const TRect box((60 - extent.cx) / 2, (24 - extent.cy) / 2, (60 - extent.cx) / 2 + extent.cx,
                  (24 - extent.cy) / 2 + extent.cy);
  EXPECT_TRUE(box.Contains(red)) << scene.Canvas.Surface.Picture(RGB(255, 255, 255));
  EXPECT_GT(red.Width(), extent.cx / 2);
}

TEST(ProgressBars, WithoutAChunkColourTheTextIsTheComplementOfWhatLiesBeneath) {
  TBarScene scene;
  std::vector<COLORREF> before;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 60; ++x) before.push_back(scene.Canvas.Surface.Pixel(x, y));
  UltraFlatPainter()->DrawProgressBarText(scene.Canvas.Get(), L"42 %", scene.Bounds, scene.Bar, TRect(), TRect(),
                                          clDefault, false);
  int changedOnBar = 0, changedBeside = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF was = before[static_cast<std::size_t>(y * 60 + x)];
      const COLORREF now = scene.Canvas.Surface.Pixel(x, y);
      if (now == was) continue;
      EXPECT_EQ(now, RGB(255 - GetRValue(was), 255 - GetGValue(was), 255 - GetBValue(was))) << x << "," << y;
      (scene.Bar.Contains(x, y) ? changedOnBar : changedBeside)++;
    }
  EXPECT_GT(changedOnBar, 5);
  EXPECT_GT(changedBeside, 5);
}

// Gives the chunk's text a colour: the text is then drawn area by area.
class TColoredProgressPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TColoredProgressPainter, TcxCustomLookAndFeelPainter)
 public:
  TColor ProgressBarTextColor(TcxProgressBarPart APart) override {
    switch (APart) {
      case pbpProgressChunk: return clYellow;
      case pbpPeakBar: return clNone;
      default: return clRed;
    }
  }
};

TEST(ProgressBars, ColouredAreasPaintTheirOwnPartOfTheText) {
  TBarScene scene;
  const TOwned<TColoredProgressPainter> painter(New<TColoredProgressPainter>());
  // The peak bar has no colour: no text there, and nothing later paints it.
  const TRect peak(40, 0, 44, 24);
  painter->DrawProgressBarText(scene.Canvas.Get(), L"4242", scene.Bounds, scene.Bar, TRect(), peak, clDefault, false);
  const COLORREF yellow = RGB(255, 255, 0);
  EXPECT_GT(scene.Canvas.Surface.Count(scene.Bar, yellow), 5);
  EXPECT_EQ(scene.Canvas.Surface.Count(scene.Bar, Red), 0);
  const TRect rest(30, 0, 60, 24);
  EXPECT_GT(scene.Canvas.Surface.Count(rest, Red), 5);
  EXPECT_EQ(scene.Canvas.Surface.Count(rest, yellow), 0);
  EXPECT_EQ(scene.Canvas.Surface.CountOther(peak, RGB(255, 255, 255)), 0) << scene.Canvas.Surface.Picture(Bg);
  // The clip region is as it was.
  scene.Canvas->FillRect(scene.Bounds, clLime);
  EXPECT_EQ(scene.Canvas.Surface.Count(RGB(0, 255, 0)), 60 * 24);
}

TEST(ProgressBars, VerticalTextReadsFromTopToBottom) {
  TCanvasOnSurface canvas(30, 80, RGB(255, 255, 255));
  canvas->Font()->SetName(L"Tahoma");
  canvas->Font()->SetHeight(-11);
  const TSize extent = canvas->TextExtent(L"100 %");
  UltraFlatPainter()->DrawProgressBarText(canvas.Get(), L"100 %", TRect(0, 0, 30, 80), TRect(), TRect(), TRect(),
                                          clBlue, true);
  const TRect text = canvas.Surface.BoundsOf(Blue);
  ASSERT_FALSE(text.IsEmpty()) << canvas.Surface.Picture(RGB(255, 255, 255));
  EXPECT_GT(text.Height(), text.Width()) << "turned a quarter";
  EXPECT_GT(text.Height(), extent.cx / 2);
  // The same text turned clockwise by the system: a font of escapement -900.
  LOGFONTW logFont{};
  GetObjectW(canvas->Font()->Handle(), sizeof(logFont), &logFont);
  logFont.lfEscapement = logFont.lfOrientation = -900;
  logFont.lfQuality = NONANTIALIASED_QUALITY;
  const TOwnedFont turned(CreateFontIndirectW(&logFont));
  TPixelSurface reference(30, 80, RGB(255, 255, 255));
  const TSelectObject font(reference.DC(), turned.Get());
  SetBkMode(reference.DC(), TRANSPARENT);
  SetTextColor(reference.DC(), RGB(0, 0, 255));
  TextOutW(reference.DC(), text.Right, text.Top, L"100 %", 5);
  const TRect expected = reference.BoundsOf(Blue);
  EXPECT_LE(std::abs(expected.Height() - text.Height()), 2);
  EXPECT_LE(std::abs(expected.Width() - text.Width()), 2);
}

// ---------------------------------------------------------------------------
// Group boxes and panels

TEST(GroupBoxes, TheUltraFlatFrameIsTheHighlightOrTheShadowOnTheGivenSides) {
  const TRect r(1, 1, 39, 29);
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    const COLORREF color = Sys(enabled ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW);
    TCanvasOnSurface canvas(40, 30, Bg);
    UltraFlatPainter()->DrawGroupBoxFrame(canvas.Get(), r, enabled, cxgpTop, cxBordersAll());
    EXPECT_EQ(RingCount(canvas.Surface, r, color), RingLength(r));
    TCanvasOnSurface sides(40, 30, Bg);
    UltraFlatPainter()->DrawGroupBoxFrame(sides.Get(), r, enabled, cxgpTop, TcxBorders{bLeft, bBottom});
    EXPECT_EQ(sides.Surface.Count(color), r.Height() + r.Width() - 1);
    EXPECT_EQ(sides.Surface.BoundsOf(color), r);
  }
  TCanvasOnSurface canvas(40, 30, Bg);
  const TOwned<P> base(New<P>());
  base->DrawGroupBoxFrame(canvas.Get(), r, true, cxgpTop, cxBordersAll());
  base->DrawGroupBoxBackground(canvas.Get(), r, r);
  base->DrawGroupBoxCaption(canvas.Get(), r, r, cxgpTop);
  base->DrawGroupBoxContent(canvas.Get(), r, cxgpTop, cxBordersAll());
  base->DrawPanelBackground(canvas.Get(), nullptr, r);
  base->DrawPanelBorders(canvas.Get(), r);
  base->DrawPanelCaption(canvas.Get(), r, cxgpTop);
  EXPECT_EQ(canvas.Surface.Count(Bg), 1200) << "the base draws none of these";
  base->DrawPanelContent(canvas.Get(), r);
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNFACE)), r.Width() * r.Height());
}

TEST(GroupBoxes, TextColoursSizesAndTheButton) {
  const TOwned<P> base(New<P>());
  EXPECT_EQ(base->GroupBoxTextColor(true, cxgpLeft), clWindowText);
  EXPECT_EQ(base->GroupBoxTextColor(false, cxgpLeft), clBtnShadow);
  EXPECT_EQ(base->PanelTextColor(), clWindowText);
  EXPECT_EQ(UltraFlatPainter()->PanelTextColor(), clWindowText);
  EXPECT_EQ(base->GroupBoxBorderSize(true, cxgpTop), TRect());
  EXPECT_EQ(base->PanelBorderSize(), TRect());
  EXPECT_EQ(base->GroupBoxCaptionTailSize(cxgpBottom), 0);
  EXPECT_TRUE(base->IsGroupBoxCaptionTextDrawnOverBorder(cxgpRight));
  EXPECT_FALSE(base->IsGroupBoxTransparent(cxgpCenter));
  const TOwned<TFont> font(New<TFont>());
  font->SetHeight(-13);
  base->GroupBoxAdjustCaptionFont(font.get(), cxgpLeft);
  EXPECT_EQ(font->Height(), -13);
  const TRect r(0, 0, 20, 12);
  TCanvasOnSurface canvas(20, 12, Bg);
  UltraFlatPainter()->DrawGroupBoxButton(canvas.Get(), r, cxbsHot);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_HIGHLIGHT)), RingLength(r));
  EXPECT_EQ(canvas.Surface.Count(HotBlend()), 18 * 10);
}

// ---------------------------------------------------------------------------
// Drop-down lists

TEST(DropDownLists, TheBaseBackgroundIsTheSystemsRaisedEdgeAroundTheMenuColour) {
  const TOwned<P> base(New<P>());
  const TRect r(0, 0, 30, 20);
  TCanvasOnSurface canvas(30, 20, Bg);
  base->DrawDropDownListBoxBackground(canvas.Get(), r, true);
  TPixelSurface edge(30, 20, Bg);
  RECT er = r;
  DrawEdge(edge.DC(), &er, EDGE_RAISED, BF_RECT);
  TRect inner = r;
  inner.Deflate(2);
  int differing = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      if (!inner.Contains(x, y)) differing += canvas.Surface.Pixel(x, y) != edge.Pixel(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_MENU)), inner.Width() * inner.Height());
  TCanvasOnSurface plain(30, 20, Bg);
  base->DrawDropDownListBoxBackground(plain.Get(), r, false);
  EXPECT_EQ(plain.Surface.Count(Sys(COLOR_MENU)), 600);
  EXPECT_EQ(base->DropDownListBoxBordersSize(), 3);
  EXPECT_EQ(base->DropDownListBoxItemTextColor(true), clHighlightText);
  EXPECT_EQ(base->DropDownListBoxItemTextColor(false), clMenuText);
}

TEST(DropDownLists, TheUltraFlatBackgroundSelectionGutterAndSeparator) {
  TcxCustomLookAndFeelPainter* ultraFlat = UltraFlatPainter();
  const TRect r(0, 0, 30, 20);
  {
    TCanvasOnSurface canvas(30, 20, Bg);
    ultraFlat->DrawDropDownListBoxBackground(canvas.Get(), r, true);
    TRect inner = r;
    EXPECT_EQ(RingCount(canvas.Surface, inner, Sys(COLOR_BTNSHADOW)), RingLength(inner));
    inner.Deflate(1);
    EXPECT_EQ(RingCount(canvas.Surface, inner, Sys(COLOR_BTNHIGHLIGHT)), RingLength(inner));
    inner.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_WINDOW)), inner.Width() * inner.Height());
  }
  {
    TCanvasOnSurface canvas(30, 20, Bg);
    ultraFlat->DrawDropDownListBoxSelection(canvas.Get(), r, TRect(0, 0, 5, 20));
    EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_HIGHLIGHT)), RingLength(r));
    EXPECT_EQ(canvas.Surface.Count(HotBlend()), 28 * 18);
  }
  {
    TCanvasOnSurface canvas(30, 20, Bg);
    ultraFlat->DrawDropDownListBoxGutterBackground(canvas.Get(), TRect(0, 0, 5, 20));
    EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNFACE)), 100);
  }
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const auto factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    TCanvasOnSurface canvas(30, 9, Bg);
    ultraFlat->DrawDropDownListBoxScaledSeparator(canvas.Get(), TRect(0, 0, 30, 9), TRect(0, 0, 5, 9), factor.get());
    const int start = 5 + MulDiv(4, scale.Numerator, scale.Denominator);
    EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNSHADOW)), TRect(start, 4, 30, 5));
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 30 - start);
    EXPECT_EQ(ultraFlat->DropDownListBoxScaledSeparatorSize(factor.get()), MulDiv(8, scale.Numerator, scale.Denominator));
    const auto scaled = [&](int V) { return MulDiv(V, scale.Numerator, scale.Denominator); };
    EXPECT_EQ(ultraFlat->DropDownListBoxScaledItemImageOffsets(factor.get()),
              TRect(scaled(5), scaled(3), scaled(5), scaled(3)));
    EXPECT_EQ(ultraFlat->DropDownListBoxScaledItemTextOffsets(factor.get()),
              TRect(scaled(5), scaled(2), scaled(5), scaled(2)));
  }
  EXPECT_EQ(ultraFlat->DropDownListBoxItemTextColor(true), clMenuText);
  // The base separator: two lines, the shadow over the highlight, the
  // gutter not used.
  const TOwned<P> base(New<P>());
  TCanvasOnSurface canvas(30, 9, Bg);
  base->DrawDropDownListBoxSeparator(canvas.Get(), TRect(0, 0, 30, 9), TRect(0, 0, 5, 9));
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNSHADOW)), TRect(0, 3, 30, 4));
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNHIGHLIGHT)), TRect(0, 4, 30, 5));
  // The base selection fills with the menu highlight.
  TCanvasOnSurface selection(30, 9, Bg);
  base->DrawDropDownListBoxSelection(selection.Get(), TRect(0, 0, 30, 9), TRect());
  EXPECT_EQ(selection.Surface.Count(Sys(COLOR_MENUHILIGHT)), 270);
}

}  // namespace
