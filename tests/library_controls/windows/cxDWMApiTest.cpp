#include "library/controls/windows/cxDWMApi.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/Handles.h"

#include <gtest/gtest.h>

namespace {

// Puts the unit's own binding back after a test replaced it.
struct TDwmBindingFixture : testing::Test {
  void TearDown() override { BindDwmApi(); }
};

FARPROC SystemEntry(const char* AName) { return GetProcAddress(GetModuleHandleW(L"dwmapi.dll"), AName); }

template <class F>
FARPROC AsProc(F AEntry) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AEntry));
}

TEST_F(TDwmBindingFixture, BindsTheTwelveEntryPointsByName) {
  ASSERT_TRUE(IsDwmApiBound());
  const TdxDwmApi& api = dxDwmApi();
  ASSERT_NE(api.Library, nullptr);
  const struct {
    const char* Name;
    FARPROC Bound;
  } entries[] = {
      {"DwmDefWindowProc", AsProc(api.DwmDefWindowProc)},
      {"DwmEnableBlurBehindWindow", AsProc(api.DwmEnableBlurBehindWindow)},
      {"DwmEnableComposition", AsProc(api.DwmEnableComposition)},
      {"DwmEnableMMCSS", AsProc(api.DwmEnableMMCSS)},
      {"DwmExtendFrameIntoClientArea", AsProc(api.DwmExtendFrameIntoClientArea)},
      {"DwmGetColorizationColor", AsProc(api.DwmGetColorizationColor)},
      {"DwmGetWindowAttribute", AsProc(api.DwmGetWindowAttribute)},
      {"DwmIsCompositionEnabled", AsProc(api.DwmIsCompositionEnabled)},
      {"DwmSetWindowAttribute", AsProc(api.DwmSetWindowAttribute)},
      {"DwmSetIconicThumbnail", AsProc(api.DwmSetIconicThumbnail)},
      {"DwmSetIconicLivePreviewBitmap", AsProc(api.DwmSetIconicLivePreviewBitmap)},
      {"DwmInvalidateIconicBitmaps", AsProc(api.DwmInvalidateIconicBitmaps)},
  };
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.Name);
    EXPECT_NE(entry.Bound, nullptr);
    EXPECT_EQ(entry.Bound, SystemEntry(entry.Name));
  }
}

TEST_F(TDwmBindingFixture, CompositionIsTheSystemsAnswer) {
  // The pinned Windows 10 prefix answers TRUE, though nothing composes.
  BOOL system = FALSE;
  ASSERT_HRESULT_SUCCEEDED(DwmIsCompositionEnabled(&system));
  EXPECT_EQ(IsCompositionEnabled(), system != FALSE);
}

HRESULT WINAPI ComposedProbe(BOOL* AEnabled) {
  *AEnabled = TRUE;
  return S_OK;
}
HRESULT WINAPI PlainProbe(BOOL* AEnabled) {
  *AEnabled = FALSE;
  return S_OK;
}
HRESULT WINAPI FailingProbe(BOOL* AEnabled) {
  *AEnabled = TRUE;
  return E_FAIL;
}

TEST_F(TDwmBindingFixture, AnInjectedProbeDecidesAndAFailureOrAMissingBindingMeansNoComposition) {
  const struct {
    const char* Name;
    HRESULT(WINAPI* Probe)(BOOL*);
    bool Bound;
    bool Expected;
  } rows[] = {
      {"composed", &ComposedProbe, true, true},
      {"not composed", &PlainProbe, true, false},
      {"probe fails", &FailingProbe, true, false},
      {"binding incomplete", &ComposedProbe, false, false},
      {"entry missing", nullptr, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TdxDwmApi api = dxDwmApi();
    api.DwmIsCompositionEnabled = row.Probe;
    dxSetDwmApi(api, row.Bound);
    EXPECT_EQ(IsCompositionEnabled(), row.Expected);
  }
}

TEST_F(TDwmBindingFixture, BeforeVistaNothingIsBound) {
  const bool vista = IsWinVistaOrLater;
  TScopeExit restore([vista] { IsWinVistaOrLater = vista; });
  IsWinVistaOrLater = false;
  dxSetDwmApi(TdxDwmApi{}, false);
  EXPECT_FALSE(BindDwmApi());
  EXPECT_EQ(dxDwmApi().DwmIsCompositionEnabled, nullptr);
  EXPECT_FALSE(IsCompositionEnabled());
}

}  // namespace
