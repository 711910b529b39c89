#include "library/controls/windows/cxDWMApi.h"

#include "library/core/base/dxCore.h"

#include <utility>

namespace {

TdxDwmApi GApi;
bool GBound = false;

// Binds one entry point; answers whether it was found.
template <class F>
bool Bind(F& AEntry, HMODULE AModule, const char* AName) {
  AEntry = AModule ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName))) : nullptr;
  return AEntry != nullptr;
}

}  // namespace

bool BindDwmApi() {
  GBound = false;
  if (!IsWinVistaOrLater) return false;
  if (!GApi.Library) GApi.Library = LoadLibraryW(L"dwmapi.dll");
  const HMODULE dwm = GApi.Library;
  // Every entry point is looked up even after a miss: the others still serve.
  bool all = true;
  all &= Bind(GApi.DwmDefWindowProc, dwm, "DwmDefWindowProc");
  all &= Bind(GApi.DwmEnableBlurBehindWindow, dwm, "DwmEnableBlurBehindWindow");
  all &= Bind(GApi.DwmEnableComposition, dwm, "DwmEnableComposition");
  all &= Bind(GApi.DwmEnableMMCSS, dwm, "DwmEnableMMCSS");
  all &= Bind(GApi.DwmExtendFrameIntoClientArea, dwm, "DwmExtendFrameIntoClientArea");
  all &= Bind(GApi.DwmGetColorizationColor, dwm, "DwmGetColorizationColor");
  all &= Bind(GApi.DwmGetWindowAttribute, dwm, "DwmGetWindowAttribute");
  all &= Bind(GApi.DwmIsCompositionEnabled, dwm, "DwmIsCompositionEnabled");
  all &= Bind(GApi.DwmSetWindowAttribute, dwm, "DwmSetWindowAttribute");
  all &= Bind(GApi.DwmSetIconicThumbnail, dwm, "DwmSetIconicThumbnail");
  all &= Bind(GApi.DwmSetIconicLivePreviewBitmap, dwm, "DwmSetIconicLivePreviewBitmap");
  all &= Bind(GApi.DwmInvalidateIconicBitmaps, dwm, "DwmInvalidateIconicBitmaps");
  GBound = all;
  return GBound;
}

bool IsDwmApiBound() { return GBound; }

const TdxDwmApi& dxDwmApi() { return GApi; }

void dxSetDwmApi(const TdxDwmApi& AApi, bool ABound) {
  const HMODULE library = GApi.Library;
  GApi = AApi;
  GApi.Library = library;
  GBound = ABound;
}

bool IsCompositionEnabled() {
  if (!GBound || !GApi.DwmIsCompositionEnabled) return false;
  BOOL enabled = FALSE;
  return SUCCEEDED(GApi.DwmIsCompositionEnabled(&enabled)) && enabled != FALSE;
}

void cxDWMApiInitialization() { BindDwmApi(); }

void cxDWMApiFinalization() {
  const HMODULE library = std::exchange(GApi.Library, nullptr);
  GApi = TdxDwmApi{};
  GBound = false;
  if (library) FreeLibrary(library);
}
