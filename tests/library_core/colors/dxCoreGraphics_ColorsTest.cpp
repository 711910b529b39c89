#include "library/core/colors/dxCoreGraphics.h"
#include "tests/support/Pixels.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// The opaque alpha colour of a system colour as GetSysColor gives it now.
TdxAlphaColor SysAlphaColor(int AIndex) {
  const COLORREF rgb = GetSysColor(AIndex);
  return 0xFF000000u | (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

std::string Hex(TdxAlphaColor AColor) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", AColor);
  return text;
}

const std::map<String, std::uint32_t>& CssReference() {
  static const std::map<String, std::uint32_t> reference = {
#include "tests/support/CssColors.inc"
  };
  return reference;
}

TEST(AlphaColor, TColorConversions) {
  struct Case {
    const char* Name;
    TColor Color;
    std::uint8_t Alpha;
    TdxAlphaColor Expected;
  };
  const Case cases[] = {
      {"clNone", clNone, 255, 0},
      {"clDefault", clDefault, 255, 0x00010203},
      {"red", clRed, 255, 0xFFFF0000},
      {"half red", clRed, 0x80, 0x80FF0000},
      {"channels in order", TColor(0x123456), 0x40, 0x40563412},
      {"transparent black", clBlack, 0, 0x00000000},
      {"system colour", clBtnFace, 255, SysAlphaColor(COLOR_BTNFACE)},
      {"system colour, alpha kept", clHighlight, 7, (SysAlphaColor(COLOR_HIGHLIGHT) & 0xFFFFFF) | 0x07000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Hex(ColorToAlphaColor(c.Color, c.Alpha)), Hex(c.Expected));
  }
}

TEST(AlphaColor, BackToTColor) {
  struct Case {
    TdxAlphaColor Color;
    TColor Expected;
    std::uint8_t Alpha;
  };
  const Case cases[] = {
      {0x00000000, clNone, 0},         {0x00010203, clDefault, 0},        {0x80FF0000, clRed, 0x80},
      {0xFF563412, TColor(0x123456), 255}, {0x00FFFFFF, clWhite, 0},       {0x00000001, TColor(0x010000), 0},
      {0x01010203, TColor(0x030201), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.Color));
    std::uint8_t alpha = 99;
    EXPECT_EQ(ConvertAlphaColorToColor(c.Color, alpha), c.Expected);
    EXPECT_EQ(alpha, c.Alpha);
    EXPECT_EQ(AlphaColorToTColor(c.Color), c.Expected);
  }
  EXPECT_EQ(AlphaColorToTColor(ColorToAlphaColor(clDefault, 255)), clDefault);
  EXPECT_EQ(AlphaColorToTColor(ColorToAlphaColor(clNone, 255)), clNone);
}

TEST(AlphaColor, SharesTheMemoryLayoutOfDibPixelsAndRGBQuads) {
  TPixelSurface surface(2, 1, RGB(0x11, 0x22, 0x33));
  const TdxAlphaColor pixel = surface.Raw(1, 0);
  EXPECT_EQ(RedOf(pixel), 0x11);
  EXPECT_EQ(GreenOf(pixel), 0x22);
  EXPECT_EQ(BlueOf(pixel), 0x33);

  const RGBQUAD quad = AlphaColorToRGBQuad(0x80112233);
  EXPECT_EQ(quad.rgbReserved, 0x80);
  EXPECT_EQ(quad.rgbRed, 0x11);
  EXPECT_EQ(quad.rgbGreen, 0x22);
  EXPECT_EQ(quad.rgbBlue, 0x33);
  EXPECT_EQ(std::bit_cast<TdxAlphaColor>(ColorToQuad(TColor(RGB(0x11, 0x22, 0x33)), 7)), 0x07112233u);
  EXPECT_EQ(std::bit_cast<TdxAlphaColor>(ColorToQuad(clWindow, 0)), SysAlphaColor(COLOR_WINDOW) & 0xFFFFFF);
}

TEST(AlphaColor, ChannelsComposeTruncatedAndSwap) {
  EXPECT_EQ(AlphaOf(0x80112233), 0x80);
  EXPECT_EQ(Hex(ComposeAlphaColor(0x180, 0x1FF, -1, 0x100)), "80FFFF00");
  EXPECT_EQ(ArgbToAlphaColor(1, 2, 3, 4), 0x01020304u);
  EXPECT_EQ(Hex(SwapRedBlue(0x80112233)), "80332211");
}

TEST(AlphaColor, Visibility) {
  const std::pair<TdxAlphaColor, bool> cases[] = {
      {0x00000000, false}, {0x00010203, false}, {0x00FFFFFF, false}, {0x00000001, true},
      {0x01010203, true},  {0xFF000000, true},  {0x00FF0000, true},
  };
  for (const auto& [color, visible] : cases) {
    SCOPED_TRACE(Hex(color));
    EXPECT_EQ(IsAlphaColorVisible(color), visible);
  }
}

TEST(AlphaColorText, HexadecimalText) {
  struct Case {
    const wchar_t* Text;
    bool Swap;
    TdxAlphaColor Expected;
  };
  const Case cases[] = {
      {L"", false, 0},
      {L"f", false, 0xFF00000F},
      {L"FF", false, 0xFF0000FF},
      {L"12345", false, 0xFF012345},
      {L"FF0000", false, 0xFFFF0000},
      {L"FF0000", true, 0xFF0000FF},
      {L"aBcDeF", false, 0xFFABCDEF},
      {L"#FF8800", false, 0xFFFF8800},
      {L"xff8800", false, 0xFFFF8800},
      {L"80FF0000", false, 0x80FF0000},
      {L"#80FF0000", false, 0x80FF0000},
      {L"$80ff0000", false, 0x80FF0000},
      {L"80112233", true, 0x80332211},
      {L"1234567890", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << String(c.Text) << (c.Swap ? " swapped" : ""));
    EXPECT_EQ(Hex(TdxAlphaColors::HexTextToAlphaColor(c.Text, c.Swap)), Hex(c.Expected));
  }
}

TEST(AlphaColorText, AGroupThatIsNoNumberRaisesTheConversionError) {
  for (const wchar_t* text : {L"12g456", L"#zz0000", L"zz", L"1234567g", L"-10000", L" 10000"}) {
    SCOPED_TRACE(testing::Message() << String(text));
    EXPECT_THROW(TdxAlphaColors::HexTextToAlphaColor(text, false), EConvertError);
  }
  try {
    TdxAlphaColors::HexTextToAlphaColor(L"12g456", false);
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find(L"$g4"), String::npos) << "names the group: " << e.what();
  }
}

TEST(AlphaColorText, CssText) {
  struct Case {
    const wchar_t* Text;
    TdxAlphaColor Expected;
  };
  const Case cases[] = {
      {L"", 0},
      {L"RED", 0xFFFF0000},
      {L"red", 0xFFFF0000},
      {L"Red", 0xFFFF0000},
      {L"#F80", 0xFFFF8800},
      {L"#f80", 0xFFFF8800},
      {L"#ff8800", 0xFFFF8800},
      {L"#12345", 0},
      {L"#1234567", 0},
      {L"no such colour", 0},
      {L"grey", 0xFF808080},
      {L"LightGray", 0xFFD3D3D3},
      {L"lightgrey", 0xFFD3D3D3},
      {L"DarkSlateGrey", 0xFF2F4F4F},
      {L"Default", 0x00010203},
      {L"empty", 0},
      {L"ButtonFace", SysAlphaColor(COLOR_BTNFACE)},
      {L"Control", SysAlphaColor(COLOR_BTNFACE)},
      {L"ControlLight", SysAlphaColor(COLOR_3DLIGHT)},
      {L"HotTrack", SysAlphaColor(COLOR_HOTLIGHT)},
      {L"GradientInactiveCaption", SysAlphaColor(COLOR_GRADIENTINACTIVECAPTION)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << String(c.Text));
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(c.Text)), Hex(c.Expected));
  }
  EXPECT_THROW(TdxAlphaColors::CssTextToAlphaColor(L"#zz0000"), EConvertError);
  EXPECT_THROW(TdxAlphaColors::CssTextToAlphaColor(L"#g00"), EConvertError);
}

// The CSS 2 system-colour keywords and the Windows colours they stand for.
TEST(AlphaColorText, SystemColorKeywordsFollowTheirWindowsColors) {
  const std::pair<const wchar_t*, int> keywords[] = {
      {L"ActiveBorder", COLOR_ACTIVEBORDER},
      {L"ActiveCaption", COLOR_ACTIVECAPTION},
      {L"AppWorkspace", COLOR_APPWORKSPACE},
      {L"Background", COLOR_BACKGROUND},
      {L"ButtonFace", COLOR_BTNFACE},
      {L"ButtonHighlight", COLOR_BTNHIGHLIGHT},
      {L"ButtonShadow", COLOR_BTNSHADOW},
      {L"ButtonText", COLOR_BTNTEXT},
      {L"CaptionText", COLOR_CAPTIONTEXT},
      {L"GrayText", COLOR_GRAYTEXT},
      {L"Highlight", COLOR_HIGHLIGHT},
      {L"HighlightText", COLOR_HIGHLIGHTTEXT},
      {L"InactiveBorder", COLOR_INACTIVEBORDER},
      {L"InactiveCaption", COLOR_INACTIVECAPTION},
      {L"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
      {L"InfoBackground", COLOR_INFOBK},
      {L"InfoText", COLOR_INFOTEXT},
      {L"Menu", COLOR_MENU},
      {L"MenuText", COLOR_MENUTEXT},
      {L"Scrollbar", COLOR_SCROLLBAR},
      {L"ThreeDDarkShadow", COLOR_3DDKSHADOW},
      {L"ThreeDFace", COLOR_3DFACE},
      {L"ThreeDHighlight", COLOR_3DLIGHT},
      {L"ThreeDLightShadow", COLOR_3DHIGHLIGHT},
      {L"Window", COLOR_WINDOW},
      {L"WindowFrame", COLOR_WINDOWFRAME},
      {L"WindowText", COLOR_WINDOWTEXT},
  };
  // The two 3-D highlights tell apart only where the scheme gives them
  // different colours, as Wine's does.
  ASSERT_NE(SysAlphaColor(COLOR_3DLIGHT), SysAlphaColor(COLOR_3DHIGHLIGHT));
  for (const auto& [keyword, index] : keywords) {
    SCOPED_TRACE(testing::Message() << String(keyword));
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(keyword)), Hex(SysAlphaColor(index)));
  }
  // Twenty-seven keywords: the 3-D shadow is not among them.
  EXPECT_EQ(TdxAlphaColors::CssTextToAlphaColor(L"ThreeDShadow"), 0u);
}

TEST(AlphaColorText, EverySystemColorRowReadsItsWindowsColor) {
  using TAccessor = TdxAlphaColor (*)();
  const std::pair<TAccessor, int> rows[] = {
      {&TdxAlphaColors::ActiveBorder, COLOR_ACTIVEBORDER},
      {&TdxAlphaColors::ActiveCaption, COLOR_ACTIVECAPTION},
      {&TdxAlphaColors::ActiveCaptionText, COLOR_CAPTIONTEXT},
      {&TdxAlphaColors::AppWorkspace, COLOR_APPWORKSPACE},
      {&TdxAlphaColors::Control, COLOR_BTNFACE},
      {&TdxAlphaColors::ControlDark, COLOR_BTNSHADOW},
      {&TdxAlphaColors::ControlDarkDark, COLOR_3DDKSHADOW},
      {&TdxAlphaColors::ControlLight, COLOR_3DLIGHT},
      {&TdxAlphaColors::ControlLightLight, COLOR_BTNHIGHLIGHT},
      {&TdxAlphaColors::ControlText, COLOR_BTNTEXT},
      {&TdxAlphaColors::Desktop, COLOR_DESKTOP},
      {&TdxAlphaColors::GradientActiveCaption, COLOR_GRADIENTACTIVECAPTION},
      {&TdxAlphaColors::GradientInactiveCaption, COLOR_GRADIENTINACTIVECAPTION},
      {&TdxAlphaColors::GrayText, COLOR_GRAYTEXT},
      {&TdxAlphaColors::Highlight, COLOR_HIGHLIGHT},
      {&TdxAlphaColors::HighlightText, COLOR_HIGHLIGHTTEXT},
      {&TdxAlphaColors::HotTrack, COLOR_HOTLIGHT},
      {&TdxAlphaColors::InactiveBorder, COLOR_INACTIVEBORDER},
      {&TdxAlphaColors::InactiveCaption, COLOR_INACTIVECAPTION},
      {&TdxAlphaColors::InactiveCaptionText, COLOR_INACTIVECAPTIONTEXT},
      {&TdxAlphaColors::Info, COLOR_INFOBK},
      {&TdxAlphaColors::InfoText, COLOR_INFOTEXT},
      {&TdxAlphaColors::Menu, COLOR_MENU},
      {&TdxAlphaColors::MenuBar, COLOR_MENUBAR},
      {&TdxAlphaColors::MenuHighlight, COLOR_MENUHILIGHT},
      {&TdxAlphaColors::MenuText, COLOR_MENUTEXT},
      {&TdxAlphaColors::ScrollBar, COLOR_SCROLLBAR},
      {&TdxAlphaColors::Window, COLOR_WINDOW},
      {&TdxAlphaColors::WindowFrame, COLOR_WINDOWFRAME},
      {&TdxAlphaColors::WindowText, COLOR_WINDOWTEXT},
  };
  for (const auto& [accessor, index] : rows) {
    SCOPED_TRACE(index);
    EXPECT_EQ(Hex(accessor()), Hex(SysAlphaColor(index)));
  }
  // Every row is also a colour name.
  for (const TdxSystemColorData& row : TdxAlphaColors::SystemColorTable) {
    SCOPED_TRACE(testing::Message() << String(row.Name));
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(String(row.Name))), Hex(SysAlphaColor(row.Index)));
  }
}

TEST(AlphaColorText, NamedColorsAreTheCssKeywordsAsLibrsvgRendersThem) {
  int named = 0;
  for (const TdxAlphaColors::TColorInfo& info : TdxAlphaColors::NamedColors()) {
    const String key = LowerCase(String(info.Name));
    if (key == L"default" || key == L"empty") continue;
    SCOPED_TRACE(testing::Message() << key);
    const auto it = CssReference().find(key);
    ASSERT_NE(it, CssReference().end()) << "not a CSS keyword";
    EXPECT_EQ(Hex(info.Color), Hex(0xFF000000u | it->second));
    ++named;
  }
  EXPECT_EQ(named, 141);
  // Every keyword of the CSS colour module parses, in either spelling of grey.
  for (const auto& [keyword, rgb] : CssReference()) {
    if (keyword == L"rebeccapurple") continue;  // added to CSS after the SVG colour set
    SCOPED_TRACE(testing::Message() << keyword);
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(keyword)), Hex(0xFF000000u | rgb));
  }
}

TEST(AlphaColorText, ColorToText) {
  struct Case {
    TdxAlphaColor Color;
    bool UseNames;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {0x00000000, true, L""},
      {0x00000000, false, L""},
      {0xFF808080, true, L"Gray"},
      {0xFFD3D3D3, true, L"LightGrey"},
      {0xFF8FBC8F, true, L"DarkSeaGreen"},
      {0xFF00FFFF, true, L"Aqua"},
      {0xFFFF00FF, true, L"Fuchsia"},
      {0x00010203, true, L"Default"},
      {0xFF8FBC8B, true, L"#8fbc8b"},
      {0x80FF0000, true, L"#ff0000"},
      {0x80FF0000, false, L"#ff0000"},
      {0xFF808080, false, L"#808080"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << Hex(c.Color) << (c.UseNames ? " with names" : ""));
    EXPECT_EQ(TdxAlphaColors::AlphaColorToText(c.Color, c.UseNames), c.Expected);
  }
}

TEST(AlphaColorText, HexTextForms) {
  EXPECT_EQ(TdxAlphaColors::AlphaColorToHexText(0x80FF0010, true, false), L"80ff0010");
  EXPECT_EQ(TdxAlphaColors::AlphaColorToHexText(0x80FF0010, false, false), L"ff0010");
  EXPECT_EQ(TdxAlphaColors::AlphaColorToHexText(0x80FF0010, true, true), L"801000ff");
  EXPECT_EQ(TdxAlphaColors::AlphaColorToHexText(0x0000000A, false, false), L"00000a");
  EXPECT_EQ(TdxAlphaColors::AlphaColorToPrefixedHexText(0x80FF0010, true, L'#'), L"#80ff0010");
  EXPECT_EQ(TdxAlphaColors::AlphaColorToPrefixedHexText(0x80FF0010, false, L'$'), L"$ff0010");
}

TEST(AlphaColorText, TextReadsBackAsTheSameColor) {
  for (const TdxAlphaColors::TColorInfo& info : TdxAlphaColors::NamedColors()) {
    SCOPED_TRACE(testing::Message() << String(info.Name));
    const String text = TdxAlphaColors::AlphaColorToText(info.Color, true);
    EXPECT_EQ(TdxAlphaColors::CssTextToAlphaColor(text), info.Color);
    if (info.Color != TdxAlphaColors::Empty) {
      EXPECT_NE(text.front(), L'#') << "a named colour is written by name";
    }
  }
  TdxAlphaColor color = 0x12345678;
  for (int i = 0; i < 200; ++i) {
    color = color * 1664525u + 1013904223u;
    const TdxAlphaColor opaque = color | 0xFF000000u;
    SCOPED_TRACE(Hex(opaque));
    EXPECT_EQ(TdxAlphaColors::CssTextToAlphaColor(TdxAlphaColors::AlphaColorToText(opaque, false)), opaque);
    EXPECT_EQ(TdxAlphaColors::HexTextToAlphaColor(TdxAlphaColors::AlphaColorToHexText(color, true, true), true),
              color);
  }
}

// ---------------------------------------------------------------------------
// Changes of the system colours (a suite that ctest runs apart)

TEST(SystemColorChange, KeywordsAndRowsFollowTheNewScheme) {
  const TdxAlphaColor before = SysAlphaColor(COLOR_INFOBK);
  {
    TSystemColorsChange change({{COLOR_INFOBK, RGB(0x12, 0x34, 0x56)}});
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(L"infobackground")), "FF123456");
    EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(L"Info")), "FF123456");
    EXPECT_EQ(Hex(TdxAlphaColors::Info()), "FF123456");
    EXPECT_EQ(TdxAlphaColors::AlphaColorToText(0xFF123456, true), L"infobackground");
  }
  EXPECT_EQ(Hex(TdxAlphaColors::CssTextToAlphaColor(L"infobackground")), Hex(before));
}

TEST(SystemColorChange, NamesOfSystemColors) {
  TSystemColorsChange change({
      {COLOR_GRADIENTACTIVECAPTION, RGB(1, 2, 10)},
      {COLOR_ACTIVECAPTION, RGB(1, 2, 11)},
      {COLOR_HOTLIGHT, RGB(1, 2, 12)},
      {COLOR_HIGHLIGHT, RGB(1, 2, 13)},
      {COLOR_MENUHILIGHT, RGB(1, 2, 14)},
      {COLOR_HIGHLIGHTTEXT, RGB(1, 2, 14)},
      {COLOR_MENUBAR, RGB(1, 2, 15)},
      {COLOR_MENU, RGB(1, 2, 16)},
      {COLOR_BTNFACE, RGB(1, 2, 17)},
      {COLOR_3DLIGHT, RGB(1, 2, 18)},
  });
  struct Case {
    int Blue;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {10, L"activecaption"},  // either caption colour
      {11, L"activecaption"},
      {13, L"#01020d"},  // the hot-track colour differs
      {14, L"highlighttext"},
      {16, L"#010210"},  // the menu bar differs
      {17, L"buttonface"},
      {18, L"buttonface"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Blue);
    EXPECT_EQ(TdxAlphaColors::AlphaColorToText(ComposeAlphaColor(255, 1, 2, c.Blue), true), c.Expected);
  }
}

}  // namespace
