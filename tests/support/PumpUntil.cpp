#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>

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

bool PumpUntilWith(const std::function<bool()>& ADispatch, const std::function<bool()>& APredicate,
                   unsigned ATimeoutMs, unsigned AMaxWaitMs) {
  const ULONGLONG deadline = GetTickCount64() + ATimeoutMs;
  for (;;) {
    const bool more = ADispatch();
    if (APredicate()) return true;
    if (!more) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, AMaxWaitMs)),
                                QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool PumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs) {
  return PumpUntilWith(&DispatchWaiting, APredicate, ATimeoutMs);
}

void PumpPending() { DispatchWaiting(); }

void SettleInput() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT) == 0; }, 2000);
  PumpPending();
}

void PumpFor(unsigned AMs) {
  PumpUntil([] { return false; }, AMs);
}

MSG TakeTimerMessage(HWND AWnd) {
  MSG msg{};
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (GetTickCount64() < deadline) {
    if (PeekMessageW(&msg, AWnd, WM_TIMER, WM_TIMER, PM_REMOVE)) return msg;
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_TIMER, 0);
  }
  ADD_FAILURE() << "no WM_TIMER arrived";
  return msg;
}

void DropQuitRequests() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
