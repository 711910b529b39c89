#include "library/core/system/dxThemeManager.h"

#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <vector>

namespace {

// Fake visual-styles entry points that count what the manager opens and
// closes; each open answers a new handle.
int GOpened = 0;
int GOpenedForDpi = 0;
int GClosed = 0;
UINT GLastDpi = 0;
String GLastClassList;
bool GThemeActive = true;

HTHEME NextHandle() { return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x5000 + GOpened + GOpenedForDpi)); }
HTHEME WINAPI FakeOpen(HWND, LPCWSTR AClassList) {
  ++GOpened;
  GLastClassList = AClassList;
  return NextHandle();
}
HTHEME WINAPI FakeOpenForDpi(HWND, LPCWSTR AClassList, UINT ADpi) {
  ++GOpenedForDpi;
  GLastDpi = ADpi;
  GLastClassList = AClassList;
  return NextHandle();
}
HTHEME WINAPI FakeOpenFailing(HWND, LPCWSTR) {
  ++GOpened;
  return nullptr;
}
HRESULT WINAPI FakeClose(HTHEME) {
  ++GClosed;
  return S_OK;
}
BOOL WINAPI FakeIsThemeActive() { return GThemeActive; }

class ThemeManager : public testing::Test {
 protected:
  void SetUp() override {
    if (!IsUxThemeLoaded() || !ThemeDataManager()) GTEST_SKIP() << "no visual styles library";
    CloseAllThemes();
    FSaved = dxUxThemeBinding();
    GOpened = GOpenedForDpi = GClosed = 0;
    GThemeActive = true;
    Set(TdxUxThemeEntry::OpenThemeData, &FakeOpen);
    Set(TdxUxThemeEntry::OpenThemeDataForDpi, nullptr);
    Set(TdxUxThemeEntry::CloseThemeData, &FakeClose);
    Set(TdxUxThemeEntry::IsThemeActive, &FakeIsThemeActive);
    ThemeChanged();
  }
  void TearDown() override {
    if (!IsUxThemeLoaded() || !ThemeDataManager()) return;
    // Fake handles are closed by the fakes; then the real binding reads the
    // real state again.
    CloseAllThemes();
    dxSetUxThemeBinding(FSaved);
    ThemeChanged();
  }

  template <class F>
  static void Set(TdxUxThemeEntry AEntry, F AFunction) {
    TdxUxThemeBinding b = dxUxThemeBinding();
    b.EntryPoints[static_cast<std::size_t>(AEntry)] =
        AFunction ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AFunction)) : nullptr;
    dxSetUxThemeBinding(b);
  }
  static void Set(TdxUxThemeEntry AEntry, std::nullptr_t) { Set(AEntry, static_cast<FARPROC>(nullptr)); }
  static void ThemeChanged() { SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_THEMECHANGED, 0, 0); }

  TdxUxThemeBinding FSaved;
};

class TNotified : public TObject {
  SK_CLASS(TNotified, TObject)
 public:
  int Count = 0;
  void Changed() { ++Count; }
};

TEST_F(ThemeManager, OneHandlePerTypeAndDpiUntilTheCacheCloses) {
  const HTHEME first = OpenTheme(totButton);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(OpenTheme(totButton), first);
  EXPECT_EQ(GOpened, 1);
  EXPECT_EQ(GLastClassList, L"Button");
  EXPECT_NE(OpenTheme(totScrollBar), first);
  EXPECT_EQ(GLastClassList, L"ScrollBar");
  EXPECT_EQ(ThemeDataManager()->Count(), 2);
  CloseAllThemes();
  EXPECT_EQ(GClosed, 2);
  EXPECT_EQ(ThemeDataManager()->Count(), 0);
}

TEST_F(ThemeManager, AClassListIsComparedIgnoringCaseAndAnotherReplacesTheHandle) {
  const HTHEME first = OpenTheme(totButton);
  EXPECT_EQ(OpenTheme(totButton, L"button"), first);
  EXPECT_EQ(GOpened, 1);
  const HTHEME other = OpenTheme(totButton, L"Explorer::Button");
  EXPECT_NE(other, first);
  EXPECT_EQ(GOpened, 2);
  EXPECT_EQ(GClosed, 1) << "the replaced handle is closed";
  EXPECT_EQ(ThemeDataManager()->Count(), 1);
  EXPECT_EQ(OpenTheme(totButton), other) << "without a list the cached handle serves";
}

TEST_F(ThemeManager, AFailedOpenIsCachedUntilTheNextClose) {
  Set(TdxUxThemeEntry::OpenThemeData, &FakeOpenFailing);
  EXPECT_EQ(OpenTheme(totTab), nullptr);
  EXPECT_EQ(OpenTheme(totTab), nullptr);
  EXPECT_EQ(GOpened, 1);
  EXPECT_FALSE(IsThemedObjectTypeAvailable(totTab));
  EXPECT_FALSE(AreVisualStylesAvailable({totButton, totTab}));
  CloseAllThemes();
  Set(TdxUxThemeEntry::OpenThemeData, &FakeOpen);
  EXPECT_TRUE(AreVisualStylesAvailable({totButton, totTab}));
}

TEST_F(ThemeManager, WithThemesInactiveNothingOpens) {
  GThemeActive = false;
  ThemeChanged();
  EXPECT_FALSE(AreThemesActive());
  EXPECT_EQ(OpenTheme(totButton), nullptr);
  EXPECT_EQ(GOpened, 0);
  EXPECT_EQ(GetThemePartSizeOrDefault(totButton, nullptr, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, tpsDefault), TSize(0, 0));
  EXPECT_FALSE(AreVisualStylesAvailable());
}

TEST_F(ThemeManager, ADpiIsServedByTheNearestMonitorWhenPerDpiThemesExist) {
  struct Case {
    const char* Name;
    bool PerDpi;
    std::vector<int> Monitors;
    int Requested;
    int Served;
  };
  const Case cases[] = {
      {"nearer of 120 and 192", true, {120, 192}, 144, 120},
      {"a tie goes to the first monitor", true, {96, 192}, 144, 96},
      {"below 96 the default entry", true, {96, 192}, 72, 0},
      {"no monitors", true, {}, 144, 0},
      {"without per-DPI themes", false, {120, 192}, 144, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Set(TdxUxThemeEntry::OpenThemeDataForDpi, c.PerDpi ? &FakeOpenForDpi : nullptr);
    ThemeDataManager()->SetMonitorDpiList(c.Monitors);
    EXPECT_EQ(ThemeDataManager()->SnapDpi(c.Requested), c.Served);
  }
}

TEST_F(ThemeManager, HandlesOpenedForADpiRememberItsScale) {
  Set(TdxUxThemeEntry::OpenThemeDataForDpi, &FakeOpenForDpi);
  ThemeDataManager()->SetMonitorDpiList({96, 144});
  TOwned<TdxScaleFactor> factorOwner(New<TdxScaleFactor>());
  TdxScaleFactor* factor = factorOwner.get();
  factor->Assign(3, 2, false);
  const HTHEME scaled = OpenThemeForScaleFactor(totButton, factor);
  EXPECT_EQ(GOpenedForDpi, 1);
  EXPECT_EQ(GLastDpi, 144u);
  ASSERT_NE(GetThemeHandleScaleFactor(scaled), nullptr);
  EXPECT_TRUE(GetThemeHandleScaleFactor(scaled)->Equals(factor));
  const HTHEME plain = OpenTheme(totButton);
  EXPECT_NE(plain, scaled) << "DPI 0 is an entry of its own";
  EXPECT_EQ(GetThemeHandleScaleFactor(plain), SystemScaleFactor());
  factorOwner.reset();
}

TEST_F(ThemeManager, AThemeChangeClosesTheCacheRereadsTheStateAndTellsEachNotificator) {
  TNotified* seen = New<TNotified>();
  TdxThemeChangedNotificator* a = New<TdxThemeChangedNotificator>();
  TdxThemeChangedNotificator* b = New<TdxThemeChangedNotificator>();
  a->SetOnThemeChanged(BindEvent<&TNotified::Changed>(seen));
  b->SetOnThemeChanged(BindEvent<&TNotified::Changed>(seen));
  OpenTheme(totButton);
  OpenTheme(totEdit);
  GThemeActive = false;
  ThemeChanged();
  EXPECT_EQ(GClosed, 2);
  EXPECT_EQ(ThemeDataManager()->Count(), 0);
  EXPECT_FALSE(AreThemesActive());
  EXPECT_EQ(seen->Count, 2);
  b->Free();
  GThemeActive = true;
  SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(AreThemesActive());
  EXPECT_EQ(seen->Count, 3) << "a freed notificator is told nothing";
  a->Free();
  seen->Free();
}

TEST_F(ThemeManager, ASettingChangeClosesTheCacheOnlyWithPerDpiThemes) {
  OpenTheme(totButton);
  SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(ThemeDataManager()->Count(), 1);
  Set(TdxUxThemeEntry::OpenThemeDataForDpi, &FakeOpenForDpi);
  SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(ThemeDataManager()->Count(), 0);
}

TEST(ThemeManagerSystem, TheSystemsButtonThemeMeasuresAndDrawsUnderThePinnedPrefix) {
  if (!AreVisualStylesAvailable({totButton})) GTEST_SKIP() << "no active theme";
  EXPECT_TRUE(AreThemesActive());
  const TSize size = GetThemePartSizeOrDefault(totButton, nullptr, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, tpsDefault);
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  TdxScaleFactor* twice = New<TdxScaleFactor>();
  twice->Assign(2, 1, false);
  const TSize doubled = GetThemePartSizeOrDefault(totButton, twice, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, tpsDefault);
  EXPECT_EQ(doubled, TSize(2 * size.cx, 2 * size.cy)) << "a 96-DPI size converted to twice the scale";
  twice->Free();
  COLORREF color = 0;
  EXPECT_TRUE(GetThemedObjectColor(totButton, BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR, color));
  const TMemoryDC surface = TMemoryDC::Compatible(nullptr, 30, 30);
  ASSERT_TRUE(surface);
  EXPECT_TRUE(DrawThemedObjectBackground(surface.DC(), totButton, BP_PUSHBUTTON, PBS_NORMAL, TRect(0, 0, 30, 30)));
}

}  // namespace
