// The test programs carry no process manifest, so their controls are the
// classic ones; the program's manifest, linked into a test program as
// resource 2, activated around the windows' creation, gives them the themed
// common controls (comctl32 v6).
#pragma once

#include <windows.h>

class TCommonControls6 {
 public:
  TCommonControls6() {
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = GetModuleHandleW(nullptr);
    context.lpResourceName = MAKEINTRESOURCEW(2);
    FContext = CreateActCtxW(&context);
    if (FContext != INVALID_HANDLE_VALUE && !ActivateActCtx(FContext, &FCookie)) FCookie = 0;
  }
  ~TCommonControls6() {
    if (FCookie) DeactivateActCtx(0, FCookie);
    if (FContext != INVALID_HANDLE_VALUE) ReleaseActCtx(FContext);
  }
  TCommonControls6(const TCommonControls6&) = delete;
  TCommonControls6& operator=(const TCommonControls6&) = delete;
  bool Active() const { return FCookie != 0; }

 private:
  HANDLE FContext = INVALID_HANDLE_VALUE;
  ULONG_PTR FCookie = 0;
};
