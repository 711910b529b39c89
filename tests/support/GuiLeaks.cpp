#include "tests/support/GuiLeaks.h"

#include "platform/runtime/WinApi.h"

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM ACount) {
  ++*reinterpret_cast<int*>(ACount);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND AWnd, LPARAM ACount) {
  ++*reinterpret_cast<int*>(ACount);
  EnumChildWindows(AWnd, &CountChild, ACount);
  return TRUE;
}

}  // namespace

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

int GdiObjectCount() {
  // A handle whose high word is zero names the table slot alone, so every
  // slot can be probed without knowing its reuse counter.
  int count = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
  return count;
}
