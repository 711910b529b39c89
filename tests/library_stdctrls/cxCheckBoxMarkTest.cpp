// The check mark: glyph-strip indexes, theme states and the hand-drawn mark
// on a 32-bit surface beside the system's own drawing.
#include "library/stdctrls/cxCheckBox.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>

namespace {

constexpr COLORREF MarkBg = RGB(10, 200, 60);
constexpr COLORREF MarkBorder = RGB(200, 30, 170);
constexpr COLORREF MarkFill = RGB(40, 50, 220);
const TRect MarkBox(3, 4, 16, 17);

struct TCheckIndexCase {
  TcxCheckBoxState State;
  TcxEditCheckState Edit;
  bool ThreeState;
  int Count;
  int Expected;
};

TEST(CheckMarkGlyphIndex, PicksTheImageOfTheStateInsideTheStrip) {
  const TCheckIndexCase cases[] = {
      {cbsUnchecked, ecsPressed, true, 6, 3},  {cbsChecked, ecsPressed, true, 6, 4},
      {cbsGrayed, ecsPressed, true, 6, 5},     {cbsGrayed, ecsHot, true, 6, 2},
      {cbsChecked, ecsDisabled, true, 6, 1},   {cbsUnchecked, ecsPressed, true, 3, 0},
      {cbsChecked, ecsPressed, true, 3, 1},    {cbsGrayed, ecsPressed, true, 3, 2},
      {cbsGrayed, ecsNormal, true, 3, 2},      {cbsChecked, ecsPressed, true, 1, 0},
      {cbsGrayed, ecsNormal, false, 1, 0},     {cbsChecked, ecsPressed, false, 4, 3},
      {cbsUnchecked, ecsPressed, false, 4, 2}, {cbsChecked, ecsPressed, false, 2, 1},
      {cbsUnchecked, ecsPressed, false, 2, 0}, {cbsChecked, ecsNormal, true, 2, 1},
      // A two-image strip has no grayed picture: the first image, not a cut
      // past the strip's end.
      {cbsGrayed, ecsNormal, true, 2, 0},      {cbsGrayed, ecsPressed, true, 2, 0},
      {cbsGrayed, ecsPressed, false, 4, 0},
  };
  for (const TCheckIndexCase& c : cases)
    EXPECT_EQ(GetCheckGlyphIndex(c.State, c.Edit, c.ThreeState, c.Count), c.Expected)
        << "state " << c.State << " edit " << c.Edit << " three " << c.ThreeState << " count " << c.Count;
}

TEST(CheckMarkGlyphIndex, NeverLeavesAStripOfAnySize) {
  for (int count = 1; count <= 9; ++count)
    for (const bool three : {false, true})
      for (const TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed})
        for (const TcxEditCheckState edit : {ecsNormal, ecsHot, ecsPressed, ecsDisabled}) {
          const int index = GetCheckGlyphIndex(state, edit, three, count);
          EXPECT_TRUE(index >= 0 && index < count) << index << " of " << count;
        }
}

TEST(CheckMarkNames, ThemeStatesAndPartNames) {
  EXPECT_EQ(CheckBoxThemeState(cbsUnchecked, ecsNormal), CBS_UNCHECKEDNORMAL);
  EXPECT_EQ(CheckBoxThemeState(cbsChecked, ecsHot), CBS_CHECKEDHOT);
  EXPECT_EQ(CheckBoxThemeState(cbsChecked, ecsPressed), CBS_CHECKEDPRESSED);
  EXPECT_EQ(CheckBoxThemeState(cbsGrayed, ecsDisabled), CBS_MIXEDDISABLED);
  EXPECT_EQ(CheckBoxThemeState(cbsGrayed, ecsDisabled), 12);
  const wchar_t* names[] = {L"Unchecked",         L"Checked",         L"Grayed",         L"Unchecked Pressed",
                            L"Checked Pressed",   L"Grayed Pressed",  L"Not Used",       L"Not Used"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(GetCheckGlyphPartName(i), String(names[i])) << i;
  EXPECT_EQ(GetCheckGlyphPartName(-1), String(L"Not Used"));
}

TEST(CheckMarkSize, OneImageOfTheStripScaledElseTheSystemsCheckSize) {
  const TOwned<TBitmap> strip(New<TBitmap>());
  strip->SetSize(42, 13);
  const TOwned<TdxScaleFactor> normal = ScaleFactorOf(1, 1);
  const TOwned<TdxScaleFactor> doubled = ScaleFactorOf(2, 1);
  EXPECT_EQ(GetCheckMarkSize(strip.get(), 3, false, nullptr, normal.get()), TSize(14, 13));
  EXPECT_EQ(GetCheckMarkSize(strip.get(), 3, false, nullptr, doubled.get()), TSize(28, 26));
  EXPECT_EQ(GetCheckMarkSize(strip.get(), 1, false, nullptr, normal.get()), TSize(42, 13));
  // No images, or an empty glyph: the painter's mark, which follows the scale.
  const TSize system = GetCheckMarkSize(strip.get(), 0, false, nullptr, normal.get());
  const TOwned<TBitmap> empty(New<TBitmap>());
  EXPECT_EQ(GetCheckMarkSize(empty.get(), 3, false, nullptr, normal.get()), system);
  EXPECT_EQ(GetCheckMarkSize(nullptr, 3, false, nullptr, doubled.get()),
            TSize(system.cx * 2, system.cy * 2));
  EXPECT_GT(system.cx, 10);
}

void DrawMark(TCanvasOnSurface& ACanvas, const TRect& R, TcxCheckBoxState AState, TcxEditCheckState AEdit,
              TcxEditBorderStyle ABorder, TcxCheckBoxNullValueShowingStyle ANull, bool AFocused = false,
              bool ANative = false) {
  const TOwned<TdxScaleFactor> scale = ScaleFactorOf(1, 1);
  DrawCheckMark(ACanvas.Get(), R, AState, AEdit, nullptr, 0, ABorder, ANative, static_cast<TColor>(MarkBorder),
                static_cast<TColor>(MarkFill), true, false, AFocused, true, nullptr, scale.get(), ANull);
}

TRect Deflated(TRect R, int AWidth) {
  R.Deflate(AWidth);
  return R;
}

TEST(CheckMarkPainting, AnEmptyRectangleDrawsNothing) {
  TCanvasOnSurface canvas(20, 20, MarkBg);
  DrawMark(canvas, TRect(5, 5, 5, 18), cbsChecked, ecsNormal, ebsUltraFlat, nssUnchecked);
  EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), MarkBg), 0);
}

struct TFlatMarkCase {
  TcxCheckBoxState State;
  TcxCheckBoxNullValueShowingStyle Null;
  TcxEditCheckState Edit;
  bool Focused;
  COLORREF Frame;
  COLORREF Inside;
  COLORREF Check;  // MarkBg: no check drawn
};

TEST(CheckMarkPainting, UltraFlatRingFrameFillAndCheck) {
  const COLORREF none = MarkBg;
  const COLORREF shadow = Sys(COLOR_BTNSHADOW), text = Sys(COLOR_BTNTEXT), window = Sys(COLOR_WINDOW),
                 face = Sys(COLOR_BTNFACE), hot = Sys(COLOR_HIGHLIGHT);
  const TFlatMarkCase cases[] = {
      {cbsUnchecked, nssUnchecked, ecsNormal, false, shadow, window, none},
      {cbsChecked, nssUnchecked, ecsNormal, false, shadow, window, text},
      {cbsChecked, nssUnchecked, ecsNormal, true, hot, window, text},
      {cbsChecked, nssUnchecked, ecsHot, false, hot, HotBlend(), text},
      {cbsUnchecked, nssUnchecked, ecsPressed, false, hot, PressedBlend(), none},
      {cbsChecked, nssUnchecked, ecsDisabled, false, shadow, face, shadow},
      {cbsUnchecked, nssUnchecked, ecsDisabled, true, shadow, face, none},
      {cbsGrayed, nssUnchecked, ecsNormal, false, shadow, window, none},
      {cbsGrayed, nssInactive, ecsNormal, false, shadow, face, none},
      {cbsGrayed, nssGrayedChecked, ecsNormal, false, shadow, window, shadow},
      {cbsGrayed, nssGrayedChecked, ecsHot, false, hot, HotBlend(), shadow},
  };
  for (const TFlatMarkCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.State << " null " << c.Null << " edit " << c.Edit << " focused "
                                    << c.Focused);
    TCanvasOnSurface canvas(20, 20, MarkBg);
    DrawMark(canvas, MarkBox, c.State, c.Edit, ebsUltraFlat, c.Null, c.Focused);
    const TPixelSurface& s = canvas.Surface;
    EXPECT_EQ(RingCount(s, MarkBox, MarkFill), RingLength(MarkBox)) << s.Picture(MarkBg);
    const TRect frame = Deflated(MarkBox, 1);
    EXPECT_EQ(RingCount(s, frame, c.Frame), RingLength(frame));
    const TRect inside = Deflated(MarkBox, 2);
    EXPECT_EQ(s.Pixel(inside.Left, inside.Top), c.Inside);
    EXPECT_EQ(s.Pixel(inside.Right - 1, inside.Bottom - 1), c.Inside);
    const int marked = s.CountOther(inside, c.Inside);
    if (c.Check == none) {
      EXPECT_EQ(marked, 0);
    } else {
      EXPECT_GT(marked, 8);
      EXPECT_EQ(s.Count(inside, c.Check), marked);
    }
    EXPECT_EQ(s.CountOther(TRect(0, 0, 20, MarkBox.Top), MarkBg), 0);
  }
}

struct TFrameControlMarkCase {
  TcxCheckBoxState State;
  TcxCheckBoxNullValueShowingStyle Null;
  TcxEditCheckState Edit;
  TcxEditBorderStyle Border;
  UINT Flags;
};

TEST(CheckMarkPainting, OtherBorderStylesHoldTheSystemFrameControl) {
  const TFrameControlMarkCase cases[] = {
      {cbsChecked, nssUnchecked, ecsNormal, ebsSingle, 0x4400},
      {cbsUnchecked, nssUnchecked, ecsNormal, ebsNone, 0x4000},
      {cbsUnchecked, nssUnchecked, ecsDisabled, ebs3D, 0x0308},
      {cbsChecked, nssUnchecked, ecsDisabled, ebsFlat, 0x4608},
      {cbsGrayed, nssInactive, ecsPressed, ebsFlat, 0x4308},
      {cbsGrayed, nssInactive, ecsDisabled, ebsThick, 0x4308},
      {cbsGrayed, nssGrayedChecked, ecsDisabled, ebsThick, 0x4608},
      {cbsGrayed, nssGrayedChecked, ecsNormal, ebs3D, 0x0408},
      {cbsGrayed, nssUnchecked, ecsPressed, ebsSingle, 0x4200},
      {cbsChecked, nssUnchecked, ecsHot, ebs3D, 0x0400},
  };
  for (const TFrameControlMarkCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.State << " null " << c.Null << " edit " << c.Edit << " border "
                                    << c.Border);
    TCanvasOnSurface canvas(20, 20, MarkBg);
    DrawMark(canvas, MarkBox, c.State, c.Edit, c.Border, c.Null);
    TPixelSurface system(20, 20, MarkBg);
    RECT r = MarkBox;
    DrawFrameControl(system.DC(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | c.Flags);
    const TRect inside = Deflated(MarkBox, 2);
    int differing = 0;
    for (int y = inside.Top; y < inside.Bottom; ++y)
      for (int x = inside.Left; x < inside.Right; ++x) differing += canvas.Surface.Pixel(x, y) != system.Pixel(x, y);
    EXPECT_EQ(differing, 0) << canvas.Surface.Picture(MarkBg) << "\n" << system.Picture(MarkBg);
    const TRect outside(0, 0, 20, MarkBox.Top);
    EXPECT_EQ(canvas.Surface.CountOther(outside, MarkBg), 0);
  }
}

TEST(CheckMarkPainting, FramesOfTheBorderStyles) {
  TCanvasOnSurface single(20, 20, MarkBg);
  DrawMark(single, MarkBox, cbsChecked, ecsNormal, ebsSingle, nssUnchecked);
  EXPECT_EQ(RingCount(single.Surface, MarkBox, MarkFill), RingLength(MarkBox));
  EXPECT_EQ(RingCount(single.Surface, Deflated(MarkBox, 1), MarkBorder), RingLength(Deflated(MarkBox, 1)));

  TCanvasOnSurface thick(20, 20, MarkBg);
  DrawMark(thick, MarkBox, cbsChecked, ecsNormal, ebsThick, nssUnchecked);
  EXPECT_EQ(RingCount(thick.Surface, MarkBox, MarkBorder), RingLength(MarkBox));
  EXPECT_EQ(RingCount(thick.Surface, Deflated(MarkBox, 1), MarkBorder), RingLength(Deflated(MarkBox, 1)));

  TCanvasOnSurface none(20, 20, MarkBg);
  DrawMark(none, MarkBox, cbsChecked, ecsNormal, ebsNone, nssUnchecked);
  EXPECT_EQ(none.Surface.Count(MarkBox, MarkFill), RingLength(MarkBox) + RingLength(Deflated(MarkBox, 1)));

  TCanvasOnSurface flat(20, 20, MarkBg);
  DrawMark(flat, MarkBox, cbsChecked, ecsNormal, ebsFlat, nssUnchecked);
  EXPECT_EQ(flat.Surface.Pixel(MarkBox.Left, MarkBox.Top), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(flat.Surface.Pixel(MarkBox.Right - 1, MarkBox.Bottom - 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(RingCount(flat.Surface, Deflated(MarkBox, 1), Sys(COLOR_BTNFACE)), RingLength(Deflated(MarkBox, 1)));

  TCanvasOnSurface sunken(20, 20, MarkBg);
  DrawMark(sunken, MarkBox, cbsChecked, ecsNormal, ebs3D, nssUnchecked);
  const TRect inner = Deflated(MarkBox, 1);
  EXPECT_EQ(sunken.Surface.Pixel(inner.Left, inner.Top + 3), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(sunken.Surface.Pixel(inner.Right - 1, inner.Top + 3), Sys(COLOR_3DLIGHT));
}

TEST(CheckMarkPainting, NativeStyleIsTheThemesCheckBoxPart) {
  const HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
  if (!theme) GTEST_SKIP() << "no BUTTON theme";
  for (const TcxCheckBoxState state : {cbsUnchecked, cbsChecked, cbsGrayed})
    for (const TcxEditCheckState edit : {ecsNormal, ecsHot, ecsPressed, ecsDisabled}) {
      TCanvasOnSurface canvas(20, 20, MarkBg);
      DrawMark(canvas, MarkBox, state, edit, ebsUltraFlat, nssGrayedChecked, false, true);
      TPixelSurface system(20, 20, MarkBg);
      const RECT r = MarkBox;
      DrawThemeBackground(theme, system.DC(), BP_CHECKBOX, CheckBoxThemeState(state, edit), &r, nullptr);
      EXPECT_EQ(Differing(canvas.Surface, system), 0) << "state " << state << " edit " << edit;
    }
  CloseThemeData(theme);
}



// A strip of ACount solid images, image i in StripColor(i).
COLORREF StripColor(int AIndex) { return RGB(20 + AIndex * 30, 200 - AIndex * 25, 90 + AIndex * 20); }

TOwned<TBitmap> MakeStrip(int ACount, int ASize) {
  TOwned<TBitmap> strip(New<TBitmap>());
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(ACount * ASize, ASize);
  for (int i = 0; i < ACount; ++i) {
    strip->Canvas()->Brush()->SetColor(static_cast<TColor>(StripColor(i)));
    strip->Canvas()->FillRect(TRect(i * ASize, 0, (i + 1) * ASize, ASize));
  }
  return strip;
}

struct TStripPaintCase {
  int Count;
  TcxCheckBoxState State;
  TcxEditCheckState Edit;
  int Image;
};

// The whole mark rectangle shows the chosen image and nothing of its
// neighbours; a strip too short for the state falls back to image 0.
TEST(CheckMarkPainting, AGlyphStripDrawsTheStatesImage) {
  const TStripPaintCase cases[] = {
      {6, cbsUnchecked, ecsPressed, 3}, {6, cbsChecked, ecsPressed, 4}, {6, cbsGrayed, ecsPressed, 5},
      {6, cbsChecked, ecsHot, 1},       {6, cbsGrayed, ecsNormal, 2},   {1, cbsChecked, ecsPressed, 0},
      {1, cbsGrayed, ecsNormal, 0},     {2, cbsGrayed, ecsNormal, 0},   {3, cbsChecked, ecsPressed, 1},
  };
  const TOwned<TdxScaleFactor> scale = ScaleFactorOf(1, 1);
  for (const TStripPaintCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Count << " images, state " << c.State << " edit " << c.Edit);
    const TOwned<TBitmap> strip = MakeStrip(c.Count, 13);
    TCanvasOnSurface canvas(20, 20, MarkBg);
    DrawCheckMark(canvas.Get(), MarkBox, c.State, c.Edit, strip.get(), c.Count, ebsUltraFlat, false,
                  static_cast<TColor>(MarkBorder), static_cast<TColor>(MarkFill), true, false, false, true, nullptr,
                  scale.get(), nssGrayedChecked);
    EXPECT_EQ(canvas.Surface.Count(MarkBox, StripColor(c.Image)), MarkBox.Width() * MarkBox.Height());
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), MarkBg),
              MarkBox.Width() * MarkBox.Height()) << "nothing outside the mark";
  }
  // Scaled, the image fills the doubled rectangle.
  const TOwned<TBitmap> strip = MakeStrip(6, 13);
  const TOwned<TdxScaleFactor> doubled = ScaleFactorOf(2, 1);
  TCanvasOnSurface canvas(40, 40, MarkBg);
  const TRect big(2, 2, 28, 28);
  DrawCheckMark(canvas.Get(), big, cbsChecked, ecsNormal, strip.get(), 6, ebsUltraFlat, false, clBlack, clBlack, false,
                false, false, true, nullptr, doubled.get(), nssGrayedChecked);
  EXPECT_EQ(canvas.Surface.Count(big, StripColor(1)), 26 * 26);
}

}  // namespace
