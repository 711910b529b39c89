#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/colors/dxCoreGraphics.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Faces

struct TFaceRow {
  TcxButtonState State;
  int Frames;       // one-pixel frames around the face
  COLORREF Frame;
  COLORREF Face;
};

std::vector<TFaceRow> UltraFlatFaces() {
  return {{cxbsDefault, 2, Sys(COLOR_WINDOWFRAME), Sys(COLOR_BTNFACE)},
          {cxbsNormal, 1, Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE)},
          {cxbsHot, 1, Sys(COLOR_HIGHLIGHT), HotBlend()},
          {cxbsPressed, 1, Sys(COLOR_HIGHLIGHT), PressedBlend()},
          {cxbsDisabled, 1, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE)}};
}

TEST(UltraFlatButtons, EachStateHasItsFramesAndFace) {
  const TRect r(2, 3, 77, 26);
  for (const TFaceRow& row : UltraFlatFaces()) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(80, 30, Bg);
    UltraFlatPainter()->DrawScaledButton(canvas.Get(), r, row.State, DefaultScaleFactor(), cxbpButton, clDefault);
    TRect ring = r;
    for (int i = 0; i < row.Frames; ++i, ring.Deflate(1))
      EXPECT_EQ(RingCount(canvas.Surface, ring, row.Frame), RingLength(ring)) << "frame " << i;
    EXPECT_EQ(canvas.Surface.Count(ring, row.Face), ring.Width() * ring.Height());
    EXPECT_EQ(canvas.Surface.CountOther(r, Bg), r.Width() * r.Height()) << "nothing outside";
    EXPECT_EQ(canvas.Surface.Count(Bg), 80 * 30 - r.Width() * r.Height());
    EXPECT_EQ(UltraFlatPainter()->ButtonBorderSize(row.State), row.Frames);
  }
}

TEST(UltraFlatButtons, TheHotAndPressedBlendsMixTheSystemColoursWithSignedWeights) {
  // Wine's button face (F5F5F5) is neither black nor white, so the weights
  // apply.
  ASSERT_NE(Sys(COLOR_BTNFACE), RGB(0, 0, 0));
  ASSERT_NE(Sys(COLOR_BTNFACE), RGB(255, 255, 255));
  EXPECT_EQ(ColorToColorRef(UltraFlatPainter()->ButtonColor(cxbsHot)), HotBlend());
  EXPECT_EQ(ColorToColorRef(UltraFlatPainter()->ButtonColor(cxbsPressed)), PressedBlend());
  for (const TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsDisabled})
    EXPECT_EQ(UltraFlatPainter()->ButtonColor(state), clBtnFace);
  // On a white face the highlight itself is used.
  const TSystemColorsChange white({{COLOR_BTNFACE, RGB(255, 255, 255)}});
  EXPECT_EQ(ColorToColorRef(UltraFlatPainter()->ButtonColor(cxbsHot)), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToColorRef(UltraFlatPainter()->ButtonColor(cxbsPressed)), Sys(COLOR_HIGHLIGHT));
}

TEST(Buttons, TheBaseFillsTheWholeRectangleWithoutABorder) {
  const TOwned<P> base(New<P>());
  const TRect r(0, 0, 20, 10);
  TCanvasOnSurface canvas(20, 10, Bg);
  base->DrawScaledButton(canvas.Get(), r, cxbsHot, DefaultScaleFactor(), true, false, cxbpButton, clDefault);
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNFACE)), 200);
  TCanvasOnSurface colored(20, 10, Bg);
  UltraFlatPainter()->DrawScaledButton(colored.Get(), r, cxbsNormal, DefaultScaleFactor(), false, false, cxbpButton,
                                       clRed);
  EXPECT_EQ(colored.Surface.Count(Red), 200);
  // The drop-down part is a plain face.
  TCanvasOnSurface part(20, 10, Bg);
  UltraFlatPainter()->DrawScaledDropDownButtonArrow(part.Get(), r, cxbsHot, DefaultScaleFactor());
  EXPECT_EQ(part.Surface.Count(HotBlend()), 200);
}

TEST(Buttons, SymbolColoursStatesOffsetsAndFocusRectangles) {
  const TOwned<P> base(New<P>());
  TcxCustomLookAndFeelPainter* ultraFlat = UltraFlatPainter();
  struct TRow {
    TcxButtonState State;
    TColor Default;
    TColor Base;
    TColor UltraFlat;
  };
  const TRow rows[] = {{cxbsNormal, clDefault, clBtnText, clBtnText},  {cxbsNormal, clRed, clRed, clRed},
                       {cxbsDisabled, clRed, clBtnShadow, clBtnShadow}, {cxbsHot, clDefault, clBtnText, clBtnText},
                       {cxbsPressed, clRed, clRed, clHighlightText},    {cxbsDefault, clDefault, clBtnText, clBtnText}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    EXPECT_EQ(base->ButtonSymbolColor(row.State, row.Default), row.Base);
    EXPECT_EQ(ultraFlat->ButtonSymbolColor(row.State, row.Default), row.UltraFlat);
    EXPECT_EQ(base->ButtonSymbolState(row.State), row.State);
    EXPECT_EQ(ultraFlat->ButtonSymbolState(row.State), cxbsNormal);
    EXPECT_EQ(base->DefaultCommandLinkTextColor(row.State, row.Default), row.Base);
    EXPECT_EQ(base->ButtonDescriptionTextColor(row.State, row.Default), row.Default);
  }
  EXPECT_EQ(base->ButtonColorPalette(cxbsHot).Get(), nullptr);
  EXPECT_FALSE(base->IsButtonHotTrack());
  EXPECT_TRUE(ultraFlat->IsButtonHotTrack());
  EXPECT_EQ(base->ButtonBorderSize(cxbsDefault), 0);

  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const auto factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const auto scaled = [&](int V) { return MulDiv(V, scale.Numerator, scale.Denominator); };
    EXPECT_EQ(ultraFlat->ScaledButtonTextOffset(factor.get()), scaled(2));
    EXPECT_EQ(base->ScaledButtonTextOffset(factor.get()), 0);
    EXPECT_EQ(ultraFlat->ScaledButtonTextShift(factor.get()), 0);
    const TRect button(10, 10, 85, 33);
    TRect inner = button;
    inner.Deflate(scaled(3));
    EXPECT_EQ(ultraFlat->ScaledButtonFocusRect(nullptr, button, factor.get()), inner);
    inner = button;
    inner.Deflate(scaled(4));
    EXPECT_EQ(base->ScaledButtonFocusRect(nullptr, button, factor.get()), inner);
  }
  // A rectangle that the inset would empty is kept whole.
  EXPECT_EQ(ultraFlat->ScaledButtonFocusRect(nullptr, TRect(0, 0, 5, 5), DefaultScaleFactor()), TRect(0, 0, 5, 5));
  EXPECT_EQ(base->ScaledButtonFocusRect(nullptr, TRect(0, 0, 6, 6), DefaultScaleFactor()), TRect(0, 0, 6, 6));
  EXPECT_EQ(base->ButtonTextShift(), 0);
}

TEST(Buttons, UnscaledFormsPassTheSystemScaleFactor) {
  const TSystemScale scale(2, 1);
  TcxCustomLookAndFeelPainter* ultraFlat = UltraFlatPainter();
  EXPECT_EQ(ultraFlat->ButtonTextOffset(), 4);
  EXPECT_EQ(ultraFlat->ButtonFocusRect(nullptr, TRect(0, 0, 40, 20)), TRect(6, 6, 34, 14));
  EXPECT_EQ(ultraFlat->GetDropDownButtonRightPartSize(), 30);
  EXPECT_EQ(ultraFlat->GetCommandLinkGlyphSize(), TSize(40, 40));
  EXPECT_EQ(ultraFlat->GetCommandLinkMargins(), TRect(14, 20, 14, 20));
  EXPECT_EQ(ultraFlat->ButtonTextShift(), 0) << "not the painter's, and not scaled";
}

// ---------------------------------------------------------------------------
// Captions

// The rectangle the caption is centred in: inside the border, the height
// made even, one pixel higher below 18 pixels.
TRect CaptionRect(const TRect& AButton, int ABorder) {
  TRect r = AButton;
  r.Deflate(ABorder);
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) --r.Top;
  return r;
}

void UseTahoma(TCanvasOnSurface& ACanvas) {
  ACanvas->Font()->SetName(L"Tahoma");
  ACanvas->Font()->SetHeight(-11);
}

// The caption's pixels (anything but the face) within R.
TRect TextBounds(const TPixelSurface& ASurface, const TRect& R, COLORREF AFace) {
  TRect bounds;
  bool any = false;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (ASurface.Pixel(x, y) != AFace) {
        if (!any) bounds = TRect(x, y, x + 1, y + 1);
        bounds.Left = std::min(bounds.Left, x);
        bounds.Top = std::min(bounds.Top, y);
        bounds.Right = std::max(bounds.Right, x + 1);
        bounds.Bottom = std::max(bounds.Bottom, y + 1);
        any = true;
      }
  return bounds;
}

void ExpectWithinOne(const TRect& A, const TRect& B) {
  EXPECT_LE(std::abs(A.Left - B.Left), 1) << "left";
  EXPECT_LE(std::abs(A.Top - B.Top), 1) << "top";
  EXPECT_LE(std::abs(A.Right - B.Right), 1) << "right";
  EXPECT_LE(std::abs(A.Bottom - B.Bottom), 1) << "bottom";
}

TEST(ButtonCaptions, SitWhereDrawTextPutsThemInTheEvenedRectangle) {
  const String caption = L"\u00D6ffnen";
  for (const int height : {23, 16, 19, 25}) {
    for (const TcxButtonState state : {cxbsNormal, cxbsPressed, cxbsDefault}) {
      SCOPED_TRACE(testing::Message() << "height " << height << " state " << state);
      const TRect button(0, 0, 82, height);
      const TFaceRow face = UltraFlatFaces()[static_cast<std::size_t>(state)];
      TCanvasOnSurface ours(90, 30, Bg);
      UseTahoma(ours);
      UltraFlatPainter()->DrawScaledButton(ours.Get(), button, caption, state, DefaultScaleFactor());

      // The system's text in the same font, colour and flags.
      TCanvasOnSurface reference(90, 30, Bg);
      UseTahoma(reference);
      UltraFlatPainter()->DrawScaledButton(reference.Get(), button, state, DefaultScaleFactor(), cxbpButton,
                                           clDefault);
      const HDC dc = reference.Surface.DC();
      const TSelectObject font(dc, reference->Font()->Handle());
      SetBkMode(dc, TRANSPARENT);
      const COLORREF textColor = state == cxbsPressed ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_BTNTEXT);
      SetTextColor(dc, textColor);
      RECT r = CaptionRect(button, face.Frames);
      DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

      TRect face_area = button;
      face_area.Deflate(face.Frames);
      const TRect expected = TextBounds(reference.Surface, face_area, face.Face);
      ASSERT_FALSE(expected.IsEmpty());
      ExpectWithinOne(TextBounds(ours.Surface, face_area, face.Face), expected);
      EXPECT_GT(ours.Surface.Count(face_area, textColor), 10) << "in the symbol colour";
    }
  }
}

TEST(ButtonCaptions, ADisabledCaptionIsEmbossedInTheShadowAndWordWrapBreaksLines) {
  const TRect button(0, 0, 82, 23);
  TCanvasOnSurface canvas(90, 60, Bg);
  UseTahoma(canvas);
  UltraFlatPainter()->DrawScaledButton(canvas.Get(), button, L"Flash", cxbsDisabled, DefaultScaleFactor());
  TRect inner = button;
  inner.Deflate(1);
  EXPECT_GT(canvas.Surface.Count(inner, Sys(COLOR_BTNSHADOW)), 10);
  EXPECT_GT(canvas.Surface.Count(inner, Sys(COLOR_BTNHIGHLIGHT)), 10) << "the embossed light copy";

  // Two words in a narrow button: two lines with word wrap, one without.
  const TRect narrow(0, 0, 40, 50);
  TCanvasOnSurface wrapped(90, 60, Bg), single(90, 60, Bg);
  UseTahoma(wrapped);
  UseTahoma(single);
  UltraFlatPainter()->DrawScaledButton(wrapped.Get(), narrow, L"Sehr lange", cxbsNormal, DefaultScaleFactor(), true,
                                       clDefault, clDefault, true);
  UltraFlatPainter()->DrawScaledButton(single.Get(), narrow, L"Sehr lange", cxbsNormal, DefaultScaleFactor(), true,
                                       clDefault, clDefault, false);
  TRect face = narrow;
  face.Deflate(1);
  EXPECT_GT(TextBounds(wrapped.Surface, face, Sys(COLOR_BTNFACE)).Height(),
            TextBounds(single.Surface, face, Sys(COLOR_BTNFACE)).Height() * 3 / 2);
}

// ---------------------------------------------------------------------------
// The cross

TEST(ButtonCross, TwoCrossesOfLinesWithoutTheirEndPoints) {
  for (const TScale& scale : Scales)
    for (const TcxButtonState state : {cxbsNormal, cxbsPressed}) {
      SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator << " state " << state);
      const auto factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
      const TRect r(0, 0, 30, 30);
      TCanvasOnSurface canvas(40, 40, Bg);
      const TOwned<P> painter(New<P>());
      painter->DrawScaledButtonCrossEx(canvas.Get(), r, clRed, state, 5, factor.get());
      const int n = MulDiv(5, scale.Numerator, scale.Denominator);
      const int shift = state == cxbsPressed ? 1 : 0;
      std::set<std::pair<int, int>> expected;
      for (int i = 0; i < 2; ++i) {
        const int x = (30 - n) / 2 + i + shift, y = (30 - n) / 2 + shift;
        for (int k = 0; k < n; ++k) {
          expected.insert({x + k, y + k});
          expected.insert({x + k, y + n - 1 - k});
        }
      }
      std::set<std::pair<int, int>> drawn;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
          if (canvas.Surface.Pixel(x, y) == Red) drawn.insert({x, y});
      EXPECT_EQ(drawn, expected) << canvas.Surface.Picture(Bg);
    }
}

// ---------------------------------------------------------------------------
// Glyph buttons

TEST(GlyphButtons, TheSearchGlyphOfADefaultButtonIsTheNormalBand) {
  const TOwned<P> painter(New<P>());
  const TSize band = painter->ScaledSearchButtonGlyphSize(DefaultScaleFactor());
  ASSERT_EQ(band, TSize(16, 16));
  const TRect r(0, 0, 30, 24);
  std::vector<std::vector<COLORREF>> pictures;
  for (const TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    TCanvasOnSurface canvas(30, 24, Bg);
    painter->DrawScaledSearchEditButtonGlyph(canvas.Get(), r, state, DefaultScaleFactor());
    // Centred: 7 pixels at the sides, 4 above and below.
    EXPECT_TRUE(TRect(7, 4, 23, 20).Contains(canvas.Surface.BoundsOfOther(Bg))) << state;
    EXPECT_GT(canvas.Surface.CountOther(r, Bg), 20) << state;
    std::vector<COLORREF>& picture = pictures.emplace_back();
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 30; ++x) picture.push_back(canvas.Surface.Pixel(x, y));
  }
  EXPECT_EQ(pictures[0], pictures[1]);
  EXPECT_NE(pictures[1], pictures[2]);
  EXPECT_NE(pictures[2], pictures[3]);
  EXPECT_NE(pictures[3], pictures[4]);
  for (const TScale& scale : Scales) {
    const auto factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const int side = MulDiv(16, scale.Numerator, scale.Denominator);
    EXPECT_EQ(painter->ScaledSearchButtonGlyphSize(factor.get()), TSize(side, side));
  }
}

TEST(GlyphButtons, TheClearGlyphKeepsItsColourUntilHot) {
  const TOwned<P> painter(New<P>());
  const TRect r(0, 0, 16, 16);
  EXPECT_EQ(painter->GetScaledClearButtonGlyphSize(DefaultScaleFactor()), TSize(16, 16));
  const auto factor = ScaleFactorOf(3, 2);
  EXPECT_EQ(painter->GetScaledClearButtonGlyphSize(factor.get()), TSize(24, 24));
  const COLORREF white = RGB(255, 255, 255);
  struct TRow {
    TcxButtonState State;
    COLORREF Solid;  // the colour of the glyph's inside
  };
  for (const TRow& row : {TRow{cxbsNormal, RGB(0x8C, 0x8C, 0x8C)}, TRow{cxbsDisabled, RGB(0x8C, 0x8C, 0x8C)},
                          TRow{cxbsHot, RGB(0xED, 0x3D, 0x3B)}, TRow{cxbsPressed, RGB(0xED, 0x3D, 0x3B)}}) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(16, 16, white);
    painter->DrawScaledClearButtonGlyph(canvas.Get(), r, row.State, DefaultScaleFactor());
    EXPECT_GT(canvas.Surface.Count(row.Solid), 40) << canvas.Surface.Picture(white);
  }
}

TEST(GlyphButtons, ThePasswordRevealGlyphTakesItsColourFromTheState) {
  const TOwned<P> painter(New<P>());
  const TRect r(0, 0, 32, 32);
  {
    TCanvasOnSurface canvas(32, 32, Bg);
    painter->DrawScaledPasswordRevealButton(canvas.Get(), r, cxbsNormal, clRed, DefaultScaleFactor());
    EXPECT_GT(canvas.Surface.Count(Red), 20);
  }
  {
    TCanvasOnSurface canvas(32, 32, Bg);
    painter->DrawScaledPasswordRevealButton(canvas.Get(), r, cxbsHot, clRed, DefaultScaleFactor());
    EXPECT_GT(canvas.Surface.Count(Sys(COLOR_HIGHLIGHT)), 20);
    EXPECT_EQ(canvas.Surface.Count(Red), 0);
  }
  TCanvasOnSurface canvas(32, 32, Bg);
  painter->DrawScaledPasswordRevealButton(canvas.Get(), r, cxbsPressed, clRed, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.Count(Bg), 0) << "a highlight fill under the glyph";
  EXPECT_GT(canvas.Surface.Count(Sys(COLOR_HIGHLIGHTTEXT)), 20);
  EXPECT_GT(canvas.Surface.Count(Sys(COLOR_HIGHLIGHT)), 20);
}

TEST(GlyphButtons, TheCommandLinkGlyphIsMirroredRightToLeftAndHasAHotImage) {
  const TOwned<P> painter(New<P>());
  EXPECT_EQ(painter->GetScaledCommandLinkGlyphSize(DefaultScaleFactor()), TSize(20, 20));
  EXPECT_EQ(painter->GetScaledCommandLinkMargins(DefaultScaleFactor()), TRect(7, 10, 7, 10));
  const auto draw = [&](TcxButtonState AState, bool ARightToLeft, const TdxScaleFactor* AFactor) {
    auto canvas = std::make_unique<TCanvasOnSurface>(50, 50, Bg);
    (*canvas)->SetUseRightToLeftAlignment(ARightToLeft);
    painter->DrawScaledCommandLinkGlyph(canvas->Get(), TPoint(5, 3), AState, AFactor);
    return canvas;
  };
  const auto normal = draw(cxbsNormal, false, DefaultScaleFactor());
  const auto mirrored = draw(cxbsNormal, true, DefaultScaleFactor());
  const auto hot = draw(cxbsHot, false, DefaultScaleFactor());
  EXPECT_TRUE(TRect(5, 3, 25, 23).Contains(normal->Surface.BoundsOfOther(Bg)));
  int differing = 0, hotDiffering = 0;
  for (int y = 3; y < 23; ++y)
    for (int x = 5; x < 25; ++x) {
      differing += normal->Surface.Pixel(x, y) != mirrored->Surface.Pixel(5 + 24 - x, y);
      hotDiffering += normal->Surface.Pixel(x, y) != hot->Surface.Pixel(x, y);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_NE(normal->Surface.Pixel(8, 13), mirrored->Surface.Pixel(8, 13)) << "the arrow points the other way";
  EXPECT_GT(hotDiffering, 20);
  // At twice the size, from the 20-pixel source.
  const auto factor = ScaleFactorOf(2, 1);
  const auto large = draw(cxbsNormal, false, factor.get());
  const TRect bounds = large->Surface.BoundsOfOther(Bg);
  EXPECT_TRUE(TRect(5, 3, 45, 43).Contains(bounds));
  EXPECT_GT(bounds.Width(), 30);
}

// ---------------------------------------------------------------------------
// The UltraFlat painter's added operations

TEST(UltraFlatButtons, AddedColoursAndTheBreadcrumbButtonFrame) {
  auto* ultraFlat = static_cast<TcxUltraFlatLookAndFeelPainter*>(UltraFlatPainter());
  EXPECT_EQ(ultraFlat->ButtonFrameColor(cxbsNormal), clBtnShadow);
  for (const TcxButtonState state : {cxbsDefault, cxbsHot, cxbsPressed, cxbsDisabled})
    EXPECT_EQ(ultraFlat->ButtonFrameColor(state), clHighlight);
  EXPECT_EQ(ultraFlat->TabBorderColor(), clBtnShadow);
  EXPECT_EQ(ultraFlat->TabSelectedBorderColor(), clBtnText);
  EXPECT_EQ(ultraFlat->BorderHighlightColor(), clHighlight);

  struct TRow {
    TdxBreadcrumbEditButtonState State;
    COLORREF Face;
    COLORREF Frame;  // Bg: none
  };
  const TRow rows[] = {{dxbcbsNormal, Sys(COLOR_BTNFACE), Bg},
                       {dxbcbsFocused, Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW)},
                       {dxbcbsHot, HotBlend(), Sys(COLOR_HIGHLIGHT)},
                       {dxbcbsPressed, PressedBlend(), Sys(COLOR_HIGHLIGHT)},
                       {dxbcbsDisabled, Sys(COLOR_BTNFACE), Bg}};
  const TRect r(0, 0, 20, 10);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(20, 10, Bg);
    ultraFlat->DrawBreadcrumbButtonFrame(canvas.Get(), r, TcxBorders{bLeft, bRight}, row.State);
    if (row.Frame == Bg) {
      EXPECT_EQ(canvas.Surface.Count(row.Face), 200);
    } else {
      EXPECT_EQ(canvas.Surface.Count(TRect(0, 0, 1, 10), row.Frame), 10);
      EXPECT_EQ(canvas.Surface.Count(TRect(19, 0, 20, 10), row.Frame), 10);
      EXPECT_EQ(canvas.Surface.Count(row.Face), 180) << "no top or bottom frame";
    }
  }
}

}  // namespace
