#include "components/settings/RzCommon.h"

#include "platform/runtime/Handles.h"
#include "tests/components_settings/SettingsTestSupport.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

COLORREF Sys(TColor AColor) { return ColorToColorRef(AColor); }

// ---------------------------------------------------------------------------
// Colours

TEST(RzColors, HslOfKnownColours) {
  struct TCase {
    const wchar_t* Name;
    TColor Color;
    TRzHSL Expected;
  };
  const TCase cases[] = {
      {L"red", clRed, {0, 240, 120}},
      {L"mid grey rounds 120.47 down", TColor(0x808080), {0, 0, 120}},
      {L"black", clBlack, {0, 0, 0}},
      {L"white", clWhite, {0, 0, 240}},
      {L"lime", clLime, {80, 240, 120}},
      {L"blue", clBlue, {160, 240, 120}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRzHSL hsl = ColorToHSL(c.Color);
    EXPECT_EQ(hsl.H, c.Expected.H);
    EXPECT_EQ(hsl.S, c.Expected.S);
    EXPECT_EQ(hsl.L, c.Expected.L);
  }
}

TEST(RzColors, HslBackToColours) {
  EXPECT_EQ(HSLToColor(0, 0, 120), TColor(0x808080));
  for (int h : {0, 60, 120, 239, 240})
    for (int s : {0, 120, 240}) {
      SCOPED_TRACE(testing::Message() << "H " << h << " S " << s);
      EXPECT_EQ(HSLToColor(h, s, 0), clBlack);
    }
  EXPECT_EQ(HSLToColor(0, 240, 120), clRed);
}

TEST(RzColors, ConversionsRoundTripWithinTheScale) {
  const TColor colours[] = {TColor(0x123456), TColor(0xFEDCBA), TColor(0x00FF80), TColor(0x7F7F00),
                            TColor(0x0A0B0C), TColor(0xC0C0C0)};
  for (TColor colour : colours) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(colour));
    const TRzHSL hsl = ColorToHSL(colour);
    const COLORREF back = ColorToColorRef(HSLToColor(hsl.H, hsl.S, hsl.L));
    const COLORREF original = ColorToColorRef(colour);
    // A step of 1/240 in each of H, S and L moves a channel by a few units.
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(original)), 6);
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(original)), 6);
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(original)), 6);
  }
}

TEST(RzColors, LightenDarkenAndAdjust) {
  for (TColor colour : {clRed, clNavy, TColor(0x808080), clBlack, clBtnFace}) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(colour));
    EXPECT_EQ(LightenColor(colour, 255), clWhite);
    EXPECT_EQ(DarkenColor(colour, 255), clBlack);
    EXPECT_EQ(AdjustColor(colour, 0), colour);
    EXPECT_EQ(AdjustColor(colour, 30), LightenColor(colour, 30));
    EXPECT_EQ(AdjustColor(colour, -30), DarkenColor(colour, 30));
  }
  // Darkening lowers the lightness by the amount.
  EXPECT_EQ(ColorToHSL(DarkenColor(TColor(0x808080), 20)).L, 100);
  EXPECT_EQ(ColorToHSL(LightenColor(TColor(0x808080), 20)).L, 140);
}

class TSchemeName {
 public:
  explicit TSchemeName(const wchar_t* AName) {
    TRegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    DWORD size = sizeof FOld;
    FHadOld = ::RegQueryValueExW(key.Get(), L"ColorName", nullptr, nullptr, reinterpret_cast<BYTE*>(FOld), &size) ==
              ERROR_SUCCESS;
    ::RegSetValueExW(key.Get(), L"ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(AName),
                     static_cast<DWORD>((wcslen(AName) + 1) * sizeof(wchar_t)));
  }
  ~TSchemeName() {
    {
      TRegKey key;
      ::RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath, 0, KEY_ALL_ACCESS, key.Receive());
      if (FHadOld)
        ::RegSetValueExW(key.Get(), L"ColorName", 0, REG_SZ, reinterpret_cast<const BYTE*>(FOld),
                         static_cast<DWORD>((wcslen(FOld) + 1) * sizeof(wchar_t)));
      else
        ::RegDeleteValueW(key.Get(), L"ColorName");
    }
    ReadXPColorScheme();
  }

 private:
  static constexpr const wchar_t* KeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  wchar_t FOld[256] = {};
  bool FHadOld = false;
};

TEST(RzColors, DesktopSchemesByName) {
  const std::pair<const wchar_t*, int> cases[] = {
      {L"HomeStead", 1}, {L"METALLIC", 2}, {L"NormalColor", 0}, {L"", 0}};
  for (const auto& [name, scheme] : cases) {
    SCOPED_TRACE(name);
    TSchemeName set(name);
    EXPECT_EQ(ReadXPColorScheme(), scheme);
    EXPECT_EQ(GetXPColorScheme(), scheme);
  }
}

TEST(RzColors, FrameColorsByPreferenceAndThemes) {
  const TRzStyleServicesProbe saved = SetStyleServicesProbe([] { return true; });
  {
    TSchemeName set(L"Metallic");
    ReadXPColorScheme();
    const TRzFrameColors themed = GetFrameColors(nullptr, fpXPThemes);
    EXPECT_EQ(themed.First, TColor(0xD0BCBD));
    EXPECT_EQ(themed.Second, TColor(0xFFF9F9));
    EXPECT_EQ(themed.Third, TColor(0xD0BCBD));
    const TRzFrameColors custom = GetFrameColors(nullptr, fpCustomFraming);
    EXPECT_EQ(custom.First, DarkenColor(clBtnFace, 20));
    EXPECT_EQ(custom.Second, clWindow);
    EXPECT_EQ(custom.Third, DarkenColor(clBtnFace, 40));
  }
  SetStyleServicesProbe([] { return false; });
  EXPECT_EQ(GetFrameColors(nullptr, fpXPThemes).First, DarkenColor(clBtnFace, 20));
  SetStyleServicesProbe(saved);
}

// ---------------------------------------------------------------------------
// Frames

class FrameDrawing : public testing::Test {
 protected:
  static constexpr COLORREF Paper = RGB(1, 2, 3);
  void SetUp() override { Canvas->SetHandle(Surface.DC()); }
  void TearDown() override { Canvas->SetHandle(nullptr); }
  TPixelSurface Surface{24, 16, Paper};
  TOwned<TCanvas> Canvas{New<TCanvas>()};
};

TEST_F(FrameDrawing, SidesWithoutTheFirstColourDrawOnlyRightAndBottom) {
  const TRect r(2, 2, 20, 12);
  const TRect inner = DrawFrameSides(Canvas.get(), r, clNone, sdAllSides, clRed);
  EXPECT_EQ(inner, TRect(3, 3, 19, 11));
  EXPECT_EQ(Surface.BoundsOf(RGB(255, 0, 0)), TRect(2, 2, 20, 12));
  EXPECT_EQ(Surface.Count(RGB(255, 0, 0)), 10 + 18 - 1);
  EXPECT_EQ(Surface.Pixel(2, 5), Paper);
  EXPECT_EQ(Surface.Pixel(5, 2), Paper);
}

TEST_F(FrameDrawing, LinesStackInward) {
  const TRect inner = DrawFrameLines(Canvas.get(), TRect(0, 0, 24, 16), clBlue, {sdLeft, sdTop}, clRed, 3);
  EXPECT_EQ(inner, TRect(3, 3, 24, 16));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(Surface.Pixel(x, 10), RGB(0, 0, 255));
  EXPECT_EQ(Surface.Pixel(3, 10), Paper);
  EXPECT_EQ(Surface.Count(RGB(255, 0, 0)), 0);
}

struct TStyleCase {
  const char* Name;
  TFrameStyleEx Style;
  int Width;               // lines on each side
  TColor OuterTopLeft;
  TColor OuterBottomRight;
  TColor InnerTopLeft;     // for two-line styles
  TColor InnerBottomRight;
};
void PrintTo(const TStyleCase& C, std::ostream* AOut) { *AOut << C.Name; }

class FrameStyles : public FrameDrawing, public testing::WithParamInterface<TStyleCase> {};

TEST_P(FrameStyles, EachStyleDrawsItsColoursAndReturnsTheInside) {
  const TStyleCase& c = GetParam();
  const TRect r(2, 2, 22, 14);
  const TRect inner = DrawFrameAllSides(Canvas.get(), r, c.Style);
  EXPECT_EQ(inner, TRect(2 + c.Width, 2 + c.Width, 22 - c.Width, 14 - c.Width));
  // Probes in the middle of each side, outer line first.
  EXPECT_EQ(Surface.Pixel(2, 8), Sys(c.OuterTopLeft)) << Surface.Picture(Paper);
  EXPECT_EQ(Surface.Pixel(12, 2), Sys(c.OuterTopLeft));
  EXPECT_EQ(Surface.Pixel(21, 8), Sys(c.OuterBottomRight));
  EXPECT_EQ(Surface.Pixel(12, 13), Sys(c.OuterBottomRight));
  if (c.Width == 2) {
    EXPECT_EQ(Surface.Pixel(3, 8), Sys(c.InnerTopLeft));
    EXPECT_EQ(Surface.Pixel(12, 3), Sys(c.InnerTopLeft));
    EXPECT_EQ(Surface.Pixel(20, 8), Sys(c.InnerBottomRight));
    EXPECT_EQ(Surface.Pixel(12, 12), Sys(c.InnerBottomRight));
  }
  // Inside and outside stay untouched.
  EXPECT_EQ(Surface.CountOther(inner, Paper), 0);
  EXPECT_EQ(Surface.Pixel(1, 1), Paper);
  EXPECT_EQ(Surface.Pixel(22, 14), Paper);
}

INSTANTIATE_TEST_SUITE_P(
    All, FrameStyles,
    testing::Values(TStyleCase{"Flat", fsFlat, 1, cl3DDkShadow, cl3DDkShadow, clNone, clNone},
                    TStyleCase{"Status", fsStatus, 1, clBtnShadow, clBtnHighlight, clNone, clNone},
                    TStyleCase{"Popup", fsPopup, 1, clBtnHighlight, clBtnShadow, clNone, clNone},
                    TStyleCase{"FlatBold", fsFlatBold, 2, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow},
                    TStyleCase{"Raised", fsRaised, 2, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
                    TStyleCase{"Lowered", fsLowered, 2, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
                    TStyleCase{"ButtonUp", fsButtonUp, 2, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
                    TStyleCase{"ButtonDown", fsButtonDown, 2, clBtnText, clBtnText, clBtnShadow, clBtnShadow},
                    TStyleCase{"Groove", fsGroove, 2, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
                    TStyleCase{"Bump", fsBump, 2, clBtnHighlight, clBtnShadow, clBtnShadow, clBtnHighlight}),
    [](const testing::TestParamInfo<TStyleCase>& I) { return std::string(I.param.Name); });

TEST_F(FrameDrawing, NoneDrawsNothing) {
  EXPECT_EQ(DrawFrameAllSides(Canvas.get(), TRect(2, 2, 22, 14), fsNone), TRect(2, 2, 22, 14));
  EXPECT_EQ(Surface.CountOther(Surface.ClientRect(), Paper), 0);
}

TEST_F(FrameDrawing, AGrooveOnOneSideClosesItsCorners) {
  const TRect r(2, 2, 22, 14);
  const TRect inner = DrawFrame(Canvas.get(), r, {sdLeft}, fsGroove);
  EXPECT_EQ(inner, TRect(4, 2, 22, 14));
  const COLORREF shadow = Sys(clBtnShadow);
  const COLORREF light = Sys(clBtnHighlight);
  // The left side's two lines, full height; the top-left pixel of the inner
  // line is the corner pixel drawn for a left side without a top.
  EXPECT_EQ(Surface.Pixel(2, 2), shadow);
  EXPECT_EQ(Surface.Pixel(3, 2), light);
  EXPECT_EQ(Surface.Pixel(2, 12), shadow);
  EXPECT_EQ(Surface.Pixel(2, 13), shadow);
  EXPECT_EQ(Surface.Pixel(3, 13), light);
  EXPECT_EQ(Surface.CountOther(TRect(4, 2, 24, 16), Paper), 0);
}

TEST_F(FrameDrawing, TextInARectangleStaysInside) {
  Canvas->Font()->SetColor(clBlack);
  Canvas->Brush()->SetStyle(bsClear);
  DrawTextInRect(Canvas.get(), L"WWWWWWWW", TRect(3, 2, 12, 14), DT_SINGLELINE | DT_LEFT | DT_VCENTER);
  EXPECT_GT(Surface.Count(TRect(3, 2, 12, 14), RGB(0, 0, 0)), 0);
  EXPECT_EQ(Surface.Count(TRect(12, 0, 24, 16), RGB(0, 0, 0)), 0);
  EXPECT_EQ(Surface.Count(TRect(0, 0, 3, 16), RGB(0, 0, 0)), 0);
}

}  // namespace
