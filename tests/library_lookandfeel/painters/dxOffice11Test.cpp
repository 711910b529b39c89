#include "library/lookandfeel/painters/dxOffice11.h"

#include "library/core/base/dxCore.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "tests/library_lookandfeel/LookAndFeelTesting.h"
#include "tests/library_lookandfeel/Office11Testing.h"
#include "tests/support/Pixels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using testing::ElementsAre;

// Channel by channel: AWeight % of A plus the rest of B, each product
// rounded.
COLORREF Blend(COLORREF A, COLORREF B, int AWeight) {
  const auto channel = [&](int a, int b) {
    return static_cast<int>(std::lround(a * AWeight / 100.0) + std::lround(b * (100 - AWeight) / 100.0));
  };
  return RGB(channel(GetRValue(A), GetRValue(B)), channel(GetGValue(A), GetGValue(B)),
             channel(GetBValue(A), GetBValue(B)));
}

// Button face, highlight and window mixed with signed weights, each product
// rounded, the sum clamped.
COLORREF SystemMix(int AFace, int AHighlight, int AWindow) {
  const COLORREF f = GetSysColor(COLOR_BTNFACE), h = GetSysColor(COLOR_HIGHLIGHT), w = GetSysColor(COLOR_WINDOW);
  const auto channel = [&](int cf, int ch, int cw) {
    const long sum = std::lround(cf * AFace / 100.0) + std::lround(ch * AHighlight / 100.0) +
                     std::lround(cw * AWindow / 100.0);
    return static_cast<int>(std::clamp(sum, 0L, 255L));
  };
  return RGB(channel(GetRValue(f), GetRValue(h), GetRValue(w)), channel(GetGValue(f), GetGValue(h), GetGValue(w)),
             channel(GetBValue(f), GetBValue(h), GetBValue(w)));
}

COLORREF Value(TdxOffice11Color AColor) { return ColorToColorRef(Office11Color(AColor)); }

TEST(Office11Colors, TheTestThemeHasNoSchemeSoTheColoursAreSystemBlends) {
  String file, scheme;
  ASSERT_TRUE(UxGetCurrentThemeName(file, scheme));
  EXPECT_EQ(AnsiLowerCase(ExtractFileName(file)), L"light.msstyles");
  EXPECT_EQ(scheme, L"Blue");
  RefreshOffice11Colors();
  EXPECT_EQ(Office11Scheme(), TdxOffice11Scheme::None);
  EXPECT_FALSE(IsOffice11Themed());

  const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  struct TRow {
    TdxOffice11Color Color;
    COLORREF Expected;
  };
  const TRow rows[] = {
      {Office11GradientLightColor, Blend(face, window, 22)},
      {Office11GradientDarkColor, Blend(face, window, 96)},
      {Office11BackgroundColor, face},
      {Office11ControlColor, Blend(face, window, 20)},
      {Office11GroupByBoxColor1, shadow},
      {Office11GroupByBoxColor2, face},
      {Office11GripDarkColor, Blend(shadow, window, 76)},
      {Office11GripLightColor, window},
      {Office11SeparatorDarkColor, Blend(shadow, window, 70)},
      {Office11SeparatorLightColor, RGB(255, 255, 255)},
      {Office11FilterBoxColor, shadow},
      {Office11FrameColor, shadow},
      {Office11DropDownBackgroundColor, window},
      {Office11HighlightBorderColor, GetSysColor(COLOR_HIGHLIGHT)},
      {Office11HotColor, SystemMix(-2, 30, 72)},
      {Office11HotColor2, SystemMix(-2, 30, 72)},
      {Office11PressedColor, SystemMix(14, 44, 40)},
      {Office11PressedColor2, SystemMix(14, 44, 40)},
      {Office11PressedDarkColor, SystemMix(41, 11, 48)},
      {Office11TextColor, GetSysColor(COLOR_BTNTEXT)},
      {Office11DisabledTextColor, GetSysColor(COLOR_GRAYTEXT)},
      {Office11GroupColor, face},
      {Office11DateNavigatorSelectionColor, SystemMix(41, 11, 48)},
      {Office11SchedulerControlColor, face},
      {Office11SchedulerBorderColor, shadow},
      {Office11GroupRowTextColor, shadow},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Color);
    EXPECT_EQ(Value(row.Color), row.Expected);
  }
  EXPECT_EQ(ColorToColorRef(Office11GroupByBoxColor()), Blend(shadow, face, 50));
  EXPECT_EQ(ColorToColorRef(Office11FilterBoxTextColor()), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(ColorToColorRef(Office11GroupRowContentColor()), face);
  EXPECT_EQ(ColorToColorRef(Office11GroupRowSeparatorColor()), shadow);
  EXPECT_EQ(Office11GradientBend(), 75);
}

TEST(Office11Colors, EachSchemeGivesItsTableColourAtItsIndex) {
  struct TRow {
    int Index;
    COLORREF Blue, Olive, Silver;
  };
  const TRow table[] = {
      {0, RGB(221, 236, 254), RGB(244, 247, 222), RGB(243, 244, 250)},
      {1, RGB(129, 169, 226), RGB(183, 198, 145), RGB(153, 151, 181)},
      {2, RGB(158, 190, 245), RGB(217, 217, 167), RGB(215, 215, 229)},
      {3, RGB(195, 218, 249), RGB(242, 240, 228), RGB(243, 243, 247)},
      {4, RGB(0, 53, 145), RGB(96, 119, 107), RGB(118, 116, 146)},
      {11, RGB(123, 164, 224), RGB(181, 196, 143), RGB(147, 145, 176)},
      {12, RGB(39, 65, 118), RGB(81, 94, 51), RGB(84, 84, 117)},
      {13, RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)},
      {14, RGB(106, 140, 203), RGB(96, 128, 88), RGB(110, 109, 143)},
      {15, RGB(241, 249, 255), RGB(244, 247, 222), RGB(255, 255, 255)},
      {16, RGB(42, 102, 201), RGB(116, 134, 94), RGB(122, 121, 153)},
      {18, RGB(0, 45, 150), RGB(117, 141, 94), RGB(124, 124, 148)},
      {19, RGB(246, 246, 246), RGB(244, 244, 238), RGB(253, 250, 255)},
      {21, RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)},
      {22, RGB(255, 244, 204), RGB(255, 244, 204), RGB(255, 244, 204)},
      {23, RGB(255, 208, 145), RGB(255, 208, 145), RGB(255, 208, 145)},
      {24, RGB(255, 211, 142), RGB(255, 211, 142), RGB(255, 211, 142)},
      {25, RGB(254, 145, 78), RGB(254, 145, 78), RGB(254, 145, 78)},
      {27, RGB(255, 192, 111), RGB(255, 192, 111), RGB(255, 192, 111)},
      {30, RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
      {31, RGB(141, 141, 141), RGB(141, 141, 141), RGB(141, 141, 141)},
      {32, RGB(190, 218, 251), RGB(175, 186, 145), RGB(229, 229, 235)},
      {33, RGB(251, 230, 148), RGB(251, 230, 148), RGB(251, 230, 148)},
      {34, RGB(196, 218, 250), RGB(242, 241, 228), RGB(243, 243, 247)},
      {35, RGB(0, 45, 150), RGB(96, 128, 88), RGB(124, 124, 148)},
      {36, RGB(55, 104, 185), RGB(115, 137, 84), RGB(112, 111, 145)},
  };
  struct TScheme {
    const wchar_t* Name;
    TdxOffice11Scheme Scheme;
    COLORREF TRow::*Column;
    int Bend;
  };
  for (const TScheme& s : {TScheme{L"NormalColor", TdxOffice11Scheme::Blue, &TRow::Blue, 41},
                           TScheme{L"homestead", TdxOffice11Scheme::Olive, &TRow::Olive, 125},
                           TScheme{L"Metallic", TdxOffice11Scheme::Silver, &TRow::Silver, 40}}) {
    SCOPED_TRACE(UTF8Encode(s.Name));
    // From Windows Vista on the theme file does not matter.
    const TThemeNames names(L"C:\\windows\\resources\\themes\\light\\light.msstyles", s.Name);
    EXPECT_EQ(Office11Scheme(), s.Scheme);
    EXPECT_TRUE(IsOffice11Themed());
    for (const TRow& row : table) {
      SCOPED_TRACE(row.Index);
      EXPECT_EQ(Value(static_cast<TdxOffice11Color>(row.Index)), row.*s.Column);
    }
    EXPECT_EQ(Office11GradientBend(), s.Bend);
    EXPECT_EQ(ColorToColorRef(Office11FilterBoxTextColor()), RGB(255, 255, 255));
    EXPECT_EQ(ColorToColorRef(Office11GroupRowContentColor()), RGB(253, 238, 201));
    EXPECT_EQ(ColorToColorRef(Office11GroupRowSeparatorColor()), Value(Office11GroupByBoxColor2));
    EXPECT_EQ(ColorToColorRef(Office11GroupByBoxColor()),
              Blend(Value(Office11GroupByBoxColor1), Value(Office11GroupByBoxColor2), 50));
  }
  const TThemeNames other(L"Luna.msstyles", L"Royale");
  EXPECT_EQ(Office11Scheme(), TdxOffice11Scheme::None);
}

TEST(Office11Colors, BeforeVistaOnlyLunaHasTheSchemes) {
  const bool saved = std::exchange(IsWinVistaOrLater, false);
  const TScopeExit restore([saved] { IsWinVistaOrLater = saved; });
  {
    const TThemeNames names(L"C:\\Windows\\Resources\\Themes\\Luna\\luna.msstyles", L"NormalColor");
    EXPECT_EQ(Office11Scheme(), TdxOffice11Scheme::Blue);
  }
  const TThemeNames names(L"C:\\Windows\\Resources\\Themes\\Royale\\royale.msstyles", L"NormalColor");
  EXPECT_EQ(Office11Scheme(), TdxOffice11Scheme::None);
}

TEST(Office11Colors, TheBrushesLiveWhileTheSetIsAcquired) {
  // The system-colour listener holds the set from the program's start.
  ASSERT_NE(Office11GripDarkBrush(), nullptr);
  AcquireOffice11Colors();
  ReleaseOffice11Colors();
  EXPECT_NE(Office11GripDarkBrush(), nullptr);
  ReleaseOffice11Colors();
  EXPECT_EQ(Office11GripDarkBrush(), nullptr);
  EXPECT_EQ(Office11GripLightBrush(), nullptr);
  EXPECT_EQ(Office11HighlightBorderBrush(), nullptr);
  AcquireOffice11Colors();
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectW(Office11HighlightBorderBrush(), sizeof(brush), &brush));
  EXPECT_EQ(brush.lbColor, Value(Office11HighlightBorderColor));
  ASSERT_TRUE(GetObjectW(Office11GripLightBrush(), sizeof(brush), &brush));
  EXPECT_EQ(brush.lbColor, Value(Office11GripLightColor));
}

// A primary notifier that writes the scheme it sees into the log.
class TSchemeRecorder : public TObject {
 public:
  void Changed(TObject*) {
    Log->push_back(std::string("primary:") + (Office11Scheme() == TdxOffice11Scheme::Blue ? "blue" : "none"));
  }
  std::vector<std::string>* Log;
};

TEST_F(TLookAndFeelFixture, ASystemColourChangeRefreshesTheSetBeforeAnyNotifier) {
  TSchemeRecorder recorder;
  recorder.Log = &Log;
  const TOwned<TcxSystemPaletteChangedNotifier> primary(New<TcxSystemPaletteChangedNotifier>(true));
  primary->SetOnSystemPaletteChanged(BindEvent<&TSchemeRecorder::Changed>(&recorder));
  const auto lf = NewLookAndFeel();
  const auto listener = Listen(lf.get(), "L");
  // The probe answers blue, but nothing has refreshed the set yet.
  SetOffice11ThemeNameProbe([](String& F, String& S) {
    F = L"luna.msstyles";
    S = L"NormalColor";
    return true;
  });
  const TScopeExit restore([] {
    SetOffice11ThemeNameProbe(nullptr);
    RefreshOffice11Colors();
  });
  ASSERT_EQ(Office11Scheme(), TdxOffice11Scheme::None);
  // What the system sends to every top-level window of the program.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWindow, LPARAM) {
        SendMessageW(AWindow, WM_SYSCOLORCHANGE, 0, 0);
        return TRUE;
      },
      0);
  // The look-and-feel hears its own notifier and, later, the root's change
  // passed on: each time the native style is reported.
  ASSERT_GE(Log.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(Log.begin(), Log.begin() + 4),
              ElementsAre("primary:blue", "L:begin", "L:changed[lfvNativeStyle]", "L:end"));
  for (const std::string& entry : Log) {
    if (entry.starts_with("L:changed")) {
      EXPECT_EQ(entry, "L:changed[lfvNativeStyle]");
    }
  }
}

// The grip's dots: the dark squares and the light squares a step lower and
// further right, in rows of three, two and one from the bottom up.
TEST(Office11Colors, TheSizeGripIsAStaircaseOfDots) {
  constexpr COLORREF White = RGB(255, 255, 255);
  constexpr COLORREF Dark = RGB(200, 0, 0);
  constexpr COLORREF Light = RGB(0, 0, 200);
  for (const auto& [num, den] : {std::pair{1, 1}, std::pair{5, 4}, std::pair{3, 2}, std::pair{2, 1}}) {
    SCOPED_TRACE(testing::Message() << num << "/" << den);
    const TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
    factor->Assign(num, den, false);
    const int dot = MulDiv(4, num, den), step = MulDiv(1, num, den);
    const int side = dot - 2 * step;
    TPixelSurface surface(60, 60, White);
    const TRect r(10, 10, 50, 50);
    Office11DrawSizeGrip(surface.DC(), r, TColor(Dark), factor.get(), TColor(Light));
    // Dots of the bottom row of a 12-pixel (scaled) strip: as many whole dots
    // as fit, centred.
    const int width = MulDiv(12, num, den);
    EXPECT_EQ(surface.Count(Dark), 6 * side * side) << surface.Picture(White);
    EXPECT_EQ(surface.Count(Light), 6 * (side * side - (side - step) * (side - step)));
    const TRect bounds = surface.BoundsOfOther(White);
    EXPECT_EQ(bounds.Bottom, r.Bottom - MulDiv(3, num, den) + dot - step);
    EXPECT_LE(bounds.Right, r.Right);
    EXPECT_GE(bounds.Left, r.Right - width);
    EXPECT_EQ(bounds.Top, r.Bottom - MulDiv(3, num, den) - 2 * dot);
    // The top dot of the staircase sits at the right: nothing dark to the
    // left of the last two dots in the top row's band.
    EXPECT_EQ(surface.Count(TRect(0, bounds.Top, r.Right - 2 * dot, bounds.Top + dot), Dark), 0);
  }
  // Without colours the set's grip colours are used.
  TPixelSurface surface(20, 20, White);
  Office11DrawSizeGrip(surface.DC(), TRect(0, 0, 20, 20), clDefault, DefaultScaleFactor(), clDefault);
  EXPECT_EQ(surface.Count(Value(Office11GripDarkColor)), 6 * 4);
}

TEST(Office11Colors, TheBentGradientBendsWhereTheSetSays) {
  TPixelSurface ours(40, 20), reference(40, 20);
  const TRect r(0, 0, 40, 20);
  Office11FillBentGradient(ours.DC(), r, clRed, true, clBlue);
  FillBentGradientRect(reference.DC(), r, clRed, clBlue, 75, true);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(ours.Pixel(x, 5), reference.Pixel(x, 5)) << x;
  EXPECT_NE(ours.Pixel(0, 5), ours.Pixel(39, 5));
}

}  // namespace
