#include "library/core/system/dxUxTheme.h"
#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Replaces entry points of the binding for one test and puts the original
// binding back.
class TBindingScope {
 public:
  TBindingScope() : FSaved(dxUxThemeBinding()) {}
  ~TBindingScope() { dxSetUxThemeBinding(FSaved); }
  TBindingScope(const TBindingScope&) = delete;
  TBindingScope& operator=(const TBindingScope&) = delete;

  template <class F>
  void Set(TdxUxThemeEntry AEntry, F AFunction) {
    TdxUxThemeBinding b = dxUxThemeBinding();
    b.EntryPoints[static_cast<std::size_t>(AEntry)] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AFunction));
    dxSetUxThemeBinding(b);
  }
  void Clear(TdxUxThemeEntry AEntry) { Set(AEntry, static_cast<FARPROC>(nullptr)); }
  // No library and no entry point at all.
  void Unload() { dxSetUxThemeBinding(TdxUxThemeBinding{}); }

 private:
  TdxUxThemeBinding FSaved;
};

int GOpenCalls = 0;
int GOpenForDpiCalls = 0;
UINT GLastDpi = 0;
HTHEME WINAPI FakeOpenThemeData(HWND, LPCWSTR) {
  ++GOpenCalls;
  return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x1000));
}
HTHEME WINAPI FakeOpenThemeDataForDpi(HWND, LPCWSTR, UINT ADpi) {
  ++GOpenForDpiCalls;
  GLastDpi = ADpi;
  return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x2000));
}
// Fails the way a missing colour property does: the colour is not written.
HRESULT WINAPI FakeGetThemeColorMissing(HTHEME, int, int, int, COLORREF*) { return HRESULT_FROM_WIN32(ERROR_NOT_FOUND); }
HRESULT WINAPI FakeDrawParentBackground(HWND, HDC ADC, const RECT*) {
  SelectObject(ADC, GetStockObject(SYSTEM_FONT));
  return S_OK;
}

TEST(UxTheme, BindsTheFiftySevenNamesInOrder) {
  EXPECT_EQ(dxUxThemeEntryCount, 57);
  EXPECT_STREQ(UxThemeEntryName(TdxUxThemeEntry::CloseThemeData), "CloseThemeData");
  EXPECT_STREQ(UxThemeEntryName(TdxUxThemeEntry::OpenThemeDataForDpi), "OpenThemeDataForDpi");
  EXPECT_STREQ(UxThemeEntryName(TdxUxThemeEntry::EndPanningFeedback), "EndPanningFeedback");
  ASSERT_TRUE(IsUxThemeLoaded());
  EXPECT_NE(UxThemeEntryPoint(TdxUxThemeEntry::OpenThemeData), nullptr);
  EXPECT_NE(UxThemeEntryPoint(TdxUxThemeEntry::DrawThemeBackground), nullptr);
}

TEST(UxTheme, ThePanningFeedbackWrappersAnswerFalseWhereTheSystemLacksThem) {
  TBindingScope scope;
  for (TdxUxThemeEntry e :
       {TdxUxThemeEntry::BeginPanningFeedback, TdxUxThemeEntry::UpdatePanningFeedback, TdxUxThemeEntry::EndPanningFeedback})
    scope.Clear(e);
  const HWND desktop = GetDesktopWindow();
  EXPECT_FALSE(UxBeginPanningFeedback(desktop));
  EXPECT_FALSE(UxUpdatePanningFeedback(desktop, TPoint(3, 4), true));
  EXPECT_FALSE(UxEndPanningFeedback(desktop, false));
}

TEST(UxTheme, EveryWrapperIsNeutralWithoutItsEntryPoint) {
  TBindingScope scope;
  scope.Unload();
  const TScreenDC screen;
  const HDC dc = screen.Get();
  const HTHEME theme = reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x1234));  // never reaches the system
  TRect r(0, 0, 10, 10);
  TSize size(5, 5);
  COLORREF color = 0;
  TdxMargins margins;
  HRGN region = reinterpret_cast<HRGN>(1);
  HDC paintDC = dc;
  struct Case {
    const char* Name;
    HRESULT Result;
  };
  const Case cases[] = {
      {"CloseThemeData", UxCloseThemeData(theme)},
      {"DrawThemeBackground", UxDrawThemeBackground(theme, dc, 1, 1, r)},
      {"DrawThemeText", UxDrawThemeText(theme, dc, 1, 1, L"x", 1, 0, 0, r)},
      {"DrawThemeTextEx", UxDrawThemeTextEx(theme, dc, 1, 1, L"x", 1, 0, r, nullptr)},
      {"GetThemeBackgroundContentRect", UxGetThemeBackgroundContentRect(theme, dc, 1, 1, r, r)},
      {"GetThemeBackgroundRegion", UxGetThemeBackgroundRegion(theme, dc, 1, 1, r, region)},
      {"DrawThemeEdge", UxDrawThemeEdge(theme, dc, 1, 1, r, EDGE_RAISED, BF_RECT)},
      {"GetThemeColor", UxGetThemeColor(theme, 1, 1, 3803, color)},
      {"GetThemeMargins", UxGetThemeMargins(theme, dc, 1, 1, 3602, nullptr, margins)},
      {"GetCurrentThemeName", UxGetCurrentThemeName(nullptr, 0, nullptr, 0, nullptr, 0)},
      {"GetThemePartSize", UxGetThemePartSize(theme, dc, 1, 1, &r, TS_TRUE, size)},
      {"DrawThemeParentBackground", UxDrawThemeParentBackground(GetDesktopWindow(), dc, &r)},
      {"BufferedPaintInit", UxBufferedPaintInit()},
      {"BufferedPaintUnInit", UxBufferedPaintUnInit()},
      {"EndBufferedPaint", UxEndBufferedPaint(nullptr, true)},
      {"BufferedPaintClear", UxBufferedPaintClear(nullptr, &r)},
      {"BufferedPaintSetAlpha", UxBufferedPaintSetAlpha(nullptr, &r, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Result, E_NOTIMPL);
  }
  EXPECT_EQ(region, nullptr);
  EXPECT_EQ(UxOpenThemeData(nullptr, L"Button", 144), nullptr);
  EXPECT_EQ(UxBeginBufferedPaint(dc, r, BPBF_TOPDOWNDIB, nullptr, paintDC), nullptr);
  EXPECT_EQ(paintDC, nullptr);
  EXPECT_FALSE(UxIsThemeActive());
  EXPECT_FALSE(UxIsThemeBackgroundPartiallyTransparent(theme, 1, 1));
  EXPECT_FALSE(UxGetThemeSysBool(theme, 1));
  String file = L"old";
  String scheme = L"old";
  EXPECT_FALSE(UxGetCurrentThemeName(file, scheme));
  EXPECT_TRUE(file.empty() && scheme.empty());
  EXPECT_FALSE(IsUxThemeLoaded());
  EXPECT_FALSE(IsPerDpiThemeAvailable());
}

TEST(UxTheme, OpeningForADpiNeedsThePerDpiEntryAndADpiAboveZero) {
  TBindingScope scope;
  scope.Set(TdxUxThemeEntry::OpenThemeData, &FakeOpenThemeData);
  struct Case {
    const char* Name;
    bool PerDpi;
    UINT Dpi;
    bool ExpectPerDpi;
  };
  const Case cases[] = {
      {"per-DPI entry missing, 144", false, 144, false},
      {"per-DPI entry present, 0", true, 0, false},
      {"per-DPI entry present, 144", true, 144, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.PerDpi)
      scope.Set(TdxUxThemeEntry::OpenThemeDataForDpi, &FakeOpenThemeDataForDpi);
    else
      scope.Clear(TdxUxThemeEntry::OpenThemeDataForDpi);
    GOpenCalls = GOpenForDpiCalls = 0;
    UxOpenThemeData(nullptr, L"Button", c.Dpi);
    EXPECT_EQ(GOpenForDpiCalls, c.ExpectPerDpi ? 1 : 0);
    EXPECT_EQ(GOpenCalls, c.ExpectPerDpi ? 0 : 1);
    if (c.ExpectPerDpi) {
      EXPECT_EQ(GLastDpi, c.Dpi);
    }
  }
}

TEST(UxTheme, AColourThatIsNotThereComesBackAs255WithTheFailure) {
  {
    TBindingScope scope;
    scope.Set(TdxUxThemeEntry::GetThemeColor, &FakeGetThemeColorMissing);
    COLORREF color = 0;
    EXPECT_EQ(UxGetThemeColorValue(reinterpret_cast<HTHEME>(1), 1, 1, 3803, color), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_EQ(color, 255u);
  }
  // The system's own theme: a property the button does not define.
  const HTHEME theme = UxOpenThemeData(nullptr, L"Button");
  if (!theme) GTEST_SKIP() << "no active theme";
  COLORREF color = 0;
  EXPECT_TRUE(FAILED(UxGetThemeColorValue(theme, 1, 1, 9999, color)));
  UxCloseThemeData(theme);
}

TEST(UxTheme, TheParentBackgroundKeepsTheFontOfTheDC) {
  TBindingScope scope;
  scope.Set(TdxUxThemeEntry::DrawThemeParentBackground, &FakeDrawParentBackground);
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ font = GetStockObject(ANSI_VAR_FONT);
  const TSelectObject selected(dc.Get(), font);
  EXPECT_EQ(UxDrawThemeParentBackground(GetDesktopWindow(), dc.Get(), nullptr), S_OK);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
}

TEST(UxTheme, MarginsBecomeARectangleOfWidthsAndShrinkAContentRectangle) {
  const TdxMargins m{1, 2, 3, 4};  // left, right, top, bottom
  EXPECT_EQ(MarginsToRect(m), TRect(1, 3, 2, 4));
  EXPECT_EQ(m.GetContentRect(TRect(10, 20, 110, 220)), TRect(11, 23, 108, 216));
}

TEST(UxTheme, TheSystemsThemeDrawsIntoABitmap) {
  if (!UxIsThemeActive()) GTEST_SKIP() << "no active theme";
  const HTHEME theme = UxOpenThemeData(nullptr, L"Button");
  ASSERT_NE(theme, nullptr);
  TSize size;
  EXPECT_EQ(UxGetThemePartSizeNoRect(theme, nullptr, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, TS_TRUE, size), S_OK);
  EXPECT_GT(size.cx, 0);
  const TMemoryDC memory = TMemoryDC::Dib32(nullptr, 40, 40);
  ASSERT_TRUE(memory);
  std::memset(memory.Bits(), 0, 40 * 40 * 4);
  EXPECT_EQ(UxDrawThemeBackground(theme, memory.DC(), BP_PUSHBUTTON, PBS_NORMAL, TRect(0, 0, 40, 40)), S_OK);
  GdiFlush();
  EXPECT_NE(memory.Bits()[20 * 40 + 20] & 0xFFFFFF, 0u) << "the button's face was not drawn";
  UxCloseThemeData(theme);
}

}  // namespace
