#include "tests/support/PumpUntil.h"

#include "platform/runtime/WinApi.h"

namespace {

// Returns false when a quit request stopped it.
bool DispatchWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the loop it was meant for.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + ATimeoutMs;
  for (;;) {
    const bool more = DispatchWaiting();
    if (APredicate()) return true;
    if (!more) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void PumpPending() { DispatchWaiting(); }

void PumpFor(unsigned AMs) {
  PumpUntil([] { return false; }, AMs);
}
