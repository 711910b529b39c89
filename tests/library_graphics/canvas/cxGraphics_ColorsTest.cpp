#include "library/graphics/canvas/cxGraphics.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

struct TColorModelRow {
  int R, G, B;
  double H, S, L;
  double HV, SV, V;
};
const TColorModelRow ColorModels[] = {
#include "tests/library_graphics/ColorModels.inc"
};

RGBQUAD Quad(int R, int G, int B) {
  return RGBQUAD{static_cast<BYTE>(B), static_cast<BYTE>(G), static_cast<BYTE>(R), 0};
}

std::string Rgb(TColor AColor) {
  char text[16];
  const COLORREF c = ColorToColorRef(AColor);
  std::snprintf(text, sizeof text, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

TEST(ColorUtils, HslAndHsvAgreeWithColorsys) {
  for (const TColorModelRow& row : ColorModels) {
    SCOPED_TRACE(testing::Message() << row.R << "," << row.G << "," << row.B);
    const TdxHSL hsl = TdxColorUtils::RGBToHSL(Quad(row.R, row.G, row.B));
    EXPECT_NEAR(hsl.H, row.H, 1e-9);
    EXPECT_NEAR(hsl.S, row.S, 1e-9);
    EXPECT_NEAR(hsl.L, row.L, 1e-9);
    const TdxHSV hsv = TdxColorUtils::RGBToHSV(Quad(row.R, row.G, row.B));
    EXPECT_NEAR(hsv.H, row.HV, 1e-9);
    EXPECT_NEAR(hsv.S, row.SV, 1e-9);
    EXPECT_NEAR(hsv.V, row.V, 1e-9);
    // And back to the same RGB.
    const TColor rgb = TColor(RGB(row.R, row.G, row.B));
    EXPECT_EQ(Rgb(TdxColorUtils::HSLToColor(row.H, row.S, row.L)), Rgb(rgb));
    EXPECT_EQ(Rgb(TdxColorUtils::HSVToColor(row.HV, row.SV, row.V)), Rgb(rgb));
    const RGBQUAD q = TdxColorUtils::HSLToRGB(hsl);
    EXPECT_EQ(q.rgbReserved, 255);
    EXPECT_EQ(TdxColorUtils::HSLToAlphaColor(hsl, 0x40), ComposeAlphaColor(0x40, row.R, row.G, row.B));
  }
}

TEST(ColorUtils, ConversionEdgeValues) {
  const TdxHSL red = TdxColorUtils::ColorToHSL(clRed);
  EXPECT_DOUBLE_EQ(red.H, 0);
  EXPECT_DOUBLE_EQ(red.S, 1);
  EXPECT_DOUBLE_EQ(red.L, 0.5);
  EXPECT_DOUBLE_EQ(TdxColorUtils::ColorToHSL(clBlue).H, 2.0 / 3);
  EXPECT_DOUBLE_EQ(TdxColorUtils::ColorToHSL(clGray).S, 0);
  for (TColor none : {clNone, clDefault}) {
    const TdxHSL hsl = TdxColorUtils::ColorToHSL(none);
    EXPECT_EQ(hsl.H + hsl.S + hsl.L, 0);
    const TdxHSV hsv = TdxColorUtils::ColorToHSV(none);
    EXPECT_EQ(hsv.H + hsv.S + hsv.V, 0);
  }
  EXPECT_EQ(TdxColorUtils::HSLToColor(0, 0, 1), clWhite);
  EXPECT_EQ(TdxColorUtils::HSLToColor(2.0 / 3, 1, 0.5), clBlue);
  EXPECT_DOUBLE_EQ(TdxColorUtils::ColorToHSV(clLime).H, 120);
  EXPECT_EQ(TdxColorUtils::HSVToColor(240, 1, 1), clBlue);
  EXPECT_EQ(HSVToColor(ColorToHSV(TColor(0x123456))), TColor(0x123456));

  // A system colour is its current RGB.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const TdxHSL faceHsl = TdxColorUtils::ColorToHSL(clBtnFace);
  EXPECT_EQ(Rgb(TdxColorUtils::HSLToColor(faceHsl)), Rgb(TColor(face)));
}

TEST(ColorUtils, HuesAtOrBeyondAFullTurnWrapWhole) {
  struct Case {
    double Hue;
    double SameAs;
  };
  const Case cases[] = {{360, 0}, {400, 40}, {719.5, 359.5}, {-120, 240}, {1e6, 1e6 - 2777 * 360}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Hue);
    EXPECT_EQ(Rgb(TdxColorUtils::HSVToColor(c.Hue, 0.7, 0.9)), Rgb(TdxColorUtils::HSVToColor(c.SameAs, 0.7, 0.9)));
  }
  EXPECT_EQ(TdxColorUtils::HSVToColor(0, 2, 5), TdxColorUtils::HSVToColor(0, 1, 1)) << "S and V at most 1";
  EXPECT_EQ(TdxColorUtils::HSVToColor(std::nan(""), 1, 1), TdxColorUtils::HSVToColor(0, 1, 1));
}

TEST(ColorUtils, LightnessAndSaturation) {
  const TColor grey = TColor(RGB(100, 100, 100));
  EXPECT_EQ(TdxColorUtils::ChangeLightness(grey, 1), clWhite);
  EXPECT_EQ(TdxColorUtils::ChangeLightness(grey, -1), clBlack);
  EXPECT_EQ(Rgb(TdxColorUtils::ChangeLightness(clRed, 0.25)), "255,128,128");
  EXPECT_EQ(Rgb(TdxColorUtils::ChangeSaturation(clRed, -1)), "128,128,128");
  EXPECT_EQ(Rgb(TdxColorUtils::ChangeSaturation(TColor(RGB(150, 100, 100)), 2)), "250,0,0");
  EXPECT_EQ(Rgb(TdxColorUtils::MultiplyLightness(grey, 0.5)), "50,50,50");
  // Lightness beyond 1 gives channels beyond 255: they end at 255.
  EXPECT_EQ(TdxColorUtils::MultiplyLightness(grey, 3), clWhite);
  EXPECT_EQ(Rgb(TdxColorUtils::MultiplyLightness(clRed, 1.5)), "255,128,128");
  EXPECT_EQ(Rgb(TdxColorUtils::MultiplyLightness(clRed, 2.5)), "255,255,255");
  EXPECT_EQ(TdxColorUtils::InvertLightness(clWhite), clBlack);
  EXPECT_EQ(Rgb(TdxColorUtils::InvertLightness(TColor(RGB(255, 128, 128)))), "127,0,0");
  EXPECT_EQ(TdxColorUtils::InvertLightness(TdxAlphaColor{0x80FFFFFF}), 0x80000000u) << "alpha kept";
  // Colorize: the hue of the second colour, saturation and lightness of the
  // first within their bounds.
  const TdxHSL colorized = TdxColorUtils::ColorToHSL(TdxColorUtils::Colorize(clGray, clBlue));
  EXPECT_NEAR(colorized.H, 2.0 / 3, 0.01);
  EXPECT_NEAR(colorized.S, 0.6, 0.01);
  EXPECT_NEAR(colorized.L, 0.5, 0.01);
  const TdxHSL bright = TdxColorUtils::ColorToHSL(TdxColorUtils::Colorize(clWhite, clLime));
  EXPECT_NEAR(bright.S, 0.6, 0.01);
  EXPECT_NEAR(bright.L, 0.8, 0.01);
}

TEST(ColorUtils, LuminanceAndContrast) {
  EXPECT_DOUBLE_EQ(TdxColorUtils::Contrast(clBlack, clWhite), 21);
  EXPECT_DOUBLE_EQ(TdxColorUtils::Contrast(clWhite, clBlack), 21);
  EXPECT_DOUBLE_EQ(TdxColorUtils::Contrast(clTeal, clTeal), 1);
  // The contrast ratios quoted with the accessibility guidelines.
  EXPECT_NEAR(TdxColorUtils::Contrast(TColor(0x777777), clWhite), 4.48, 0.01);
  EXPECT_NEAR(TdxColorUtils::Contrast(TColor(0x767676), clWhite), 4.54, 0.01);
  EXPECT_DOUBLE_EQ(TdxColorUtils::Luminance(255, 255, 255), 1);
  EXPECT_NEAR(TdxColorUtils::ComponentToXYZ(10), 10 / 255.0 / 12.92, 1e-12);
  EXPECT_NEAR(TdxColorUtils::ComponentToXYZ(128), 0.2158605, 1e-6);
}

TEST(ColorUtils, ForegroundForABackground) {
  const TColor onWhite = TdxColorUtils::MakeForegroundColor(clWhite);
  EXPECT_NEAR(TdxColorUtils::ColorToHSL(onWhite).L, 0.05, 0.01);
  const TColor onNavy = TdxColorUtils::MakeForegroundColor(clNavy);
  EXPECT_NEAR(TdxColorUtils::ColorToHSL(onNavy).L, 0.95, 0.01);
  EXPECT_NEAR(TdxColorUtils::ColorToHSL(onNavy).H, 2.0 / 3, 0.01);
  // A grey between the two: neither candidate reaches 4.5.
  const TColor grey = TColor(RGB(118, 118, 118));
  ASSERT_LE(TdxColorUtils::Contrast(TdxColorUtils::HSLToColor(0, 0, 0.05), grey), 4.5);
  ASSERT_LE(TdxColorUtils::Contrast(TdxColorUtils::HSLToColor(0, 0, 0.95), grey), 4.5);
  EXPECT_EQ(TdxColorUtils::MakeForegroundColor(grey), clDefault);
}

TEST(ColorUtils, ChannelRoutines) {
  struct Case {
    const char* Name;
    TColor Result;
    const char* Expected;
  };
  const TColor c = TColor(RGB(200, 100, 0));
  const Case cases[] = {
      {"blend 30 white over black", BlendColors(clWhite, clBlack, 30), "77,77,77"},
      {"blend 100", BlendColors(c, clBlack, 100), "200,100,0"},
      {"blend 0", BlendColors(c, clBlack, 0), "0,0,0"},
      {"blend 50", BlendColors(clRed, clBlue, 50), "128,0,128"},
      {"blend beyond 100", BlendColors(clWhite, clBlack, 150), "255,255,255"},
      {"blend below 0", BlendColors(clWhite, clBlack, -50), "0,0,0"},
      {"scale 50", ScaleColorChannels(c, 50), "100,50,0"},
      {"scale 33", ScaleColorChannels(TColor(RGB(255, 10, 3)), 33), "84,3,0"},
      {"scale 0", ScaleColorChannels(c, 0), "0,0,0"},
      {"scale 200", ScaleColorChannels(c, 200), "255,200,0"},
      {"scale -10", ScaleColorChannels(c, -10), "0,0,0"},
      {"fade 33", FadeColorToWhite(TColor(RGB(0, 100, 255)), 33), "170,203,255"},
      {"fade 100", FadeColorToWhite(c, 100), "200,100,0"},
      {"fade 0", FadeColorToWhite(c, 0), "255,255,255"},
      {"fade 150", FadeColorToWhite(c, 150), "172,22,0"},
      {"invert", InvertColor(TColor(RGB(0x12, 0x34, 0x56))), "237,203,169"},
      {"brightness +100", ChangeColorBrightness(c, 100), "255,255,255"},
      {"brightness -100", ChangeColorBrightness(c, -100), "0,0,0"},
      {"brightness 0", ChangeColorBrightness(c, 0), "200,100,0"},
      {"brightness +50 red", ChangeColorBrightness(clRed, 50), "255,128,128"},
      {"brightness -50 pink", ChangeColorBrightness(TColor(RGB(255, 128, 128)), -50), "128,32,32"},
      {"brightness +40 grey", ChangeColorBrightness(TColor(RGB(100, 100, 100)), 40), "162,162,162"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    EXPECT_EQ(Rgb(k.Result), k.Expected);
  }
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ColorToColorRef(InvertColor(clBtnFace)), face ^ 0xFFFFFF);
}

TEST(ColorUtils, SmallTests) {
  EXPECT_FALSE(IsColorValid(clNone));
  EXPECT_FALSE(IsColorValid(clDefault));
  EXPECT_TRUE(IsColorValid(clBlack));
  EXPECT_TRUE(IsColorValid(clBtnFace));
  EXPECT_EQ(ResolveDefaultColor(clDefault, clRed), clRed);
  EXPECT_EQ(ResolveDefaultColor(clNone, clRed), clNone);
  EXPECT_FALSE(ColorsEqual(clBtnFace, TColor(GetSysColor(COLOR_BTNFACE))));
  EXPECT_TRUE(ColorsEqual(clBtnFace, clBtnFace));
  TColor a = clRed;
  TColor b = clBlue;
  SwapColors(a, b);
  EXPECT_EQ(a, clBlue);
  EXPECT_EQ(b, clRed);
  // A 24-bit screen shows every colour as it is.
  EXPECT_EQ(GetNearestScreenColor(TColor(0x123456)), TColor(0x123456));
}

TEST(ColorUtils, ColorNames) {
  struct Case {
    const wchar_t* Name;
    bool Found;
    TColor Color;
  };
  const Case cases[] = {
      {L"Tomato", true, TColor(RGB(255, 99, 71))},
      {L"TOMATO", true, TColor(RGB(255, 99, 71))},
      {L"grey", false, clBlack},
      {L"lightgray", false, clBlack},
      {L"LightGrey", true, TColor(RGB(211, 211, 211))},
      {L"DarkSlateGray", true, TColor(RGB(47, 79, 79))},
      {L"rebeccapurple", false, clBlack},
      {L"", false, clBlack},
      {L"ButtonFace", true, clBtnFace},
      {L"threedface", true, clBtnFace},
      {L"ThreeDHighlight", true, clHighlightText},
      {L"threedlightshadow", true, cl3DLight},
      {L"threedshadow", true, clBtnShadow},
      {L"infobackground", true, clInfoBk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << String(c.Name));
    TColor color = clBlack;
    EXPECT_EQ(FindColorByName(c.Name, color), c.Found);
    EXPECT_EQ(color, c.Color);
  }
}

TEST(ColorUtils, ColorNamesAreTheCssKeywordsAsLibrsvgRendersThem) {
  static const std::map<String, std::uint32_t> reference = {
#include "tests/support/CssColors.inc"
  };
  int keywords = 0;
  for (const TcxColorInfo& info : cxColorNames()) {
    if (static_cast<std::uint32_t>(info.Color) & 0xFF000000u) continue;  // system colours
    SCOPED_TRACE(testing::Message() << String(info.Name));
    const auto it = reference.find(String(info.Name));
    ASSERT_NE(it, reference.end());
    const std::uint32_t rgb = it->second;
    EXPECT_EQ(Rgb(info.Color), Rgb(TColor(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF))));
    ++keywords;
  }
  EXPECT_EQ(keywords, 140);
}

// ---------------------------------------------------------------------------
// Under other system colours (a suite that ctest runs apart)

TEST(SystemColorChange, HighlightBlendsOfTheSystemColors) {
  struct Case {
    const char* Name;
    COLORREF Face;
    COLORREF Highlight;
    COLORREF Window;
    const char* Light;
    const char* Lighter;
  };
  const Case cases[] = {
      // MulDiv(f, 14, 100) + MulDiv(h, 44, 100) + MulDiv(w, 40, 100) and
      // -MulDiv(f, 2, 100) + MulDiv(h, 30, 100) + MulDiv(w, 72, 100).
      {"grey face", RGB(200, 200, 200), RGB(0, 100, 200), RGB(255, 255, 255), "130,174,218", "180,210,240"},
      {"lighter ends at 255", RGB(10, 10, 10), RGB(255, 255, 255), RGB(255, 255, 255), "215,215,215", "255,255,255"},
      {"black face takes the highlight", RGB(0, 0, 0), RGB(0, 100, 200), RGB(255, 255, 255), "0,100,200", "0,100,200"},
      {"white face takes the highlight", RGB(255, 255, 255), RGB(0, 100, 200), RGB(9, 9, 9), "0,100,200", "0,100,200"},
      {"black face, black highlight", RGB(0, 0, 0), RGB(0, 0, 0), RGB(100, 100, 100), "40,40,40", "72,72,72"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TSystemColorsChange change({{COLOR_BTNFACE, c.Face}, {COLOR_HIGHLIGHT, c.Highlight}, {COLOR_WINDOW, c.Window}});
    EXPECT_EQ(Rgb(GetLightHighlightColor()), c.Light);
    EXPECT_EQ(Rgb(GetLighterHighlightColor()), c.Lighter);
  }
}

TEST(SystemColorChange, HighContrastSchemes) {
  {
    TSystemColorsChange change({{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 0)}});
    EXPECT_TRUE(IsButtonFaceBlack());
    EXPECT_TRUE(IsHighContrastBlackScheme());
  }
  {
    TSystemColorsChange change({{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 255)}});
    EXPECT_TRUE(IsButtonFaceBlack());
    EXPECT_FALSE(IsHighContrastBlackScheme());
  }
  TSystemColorsChange change({{COLOR_BTNFACE, RGB(0, 0, 1)}, {COLOR_BTNTEXT, RGB(255, 255, 0)}});
  EXPECT_FALSE(IsButtonFaceBlack());
  EXPECT_FALSE(IsHighContrastBlackScheme());
}

}  // namespace
