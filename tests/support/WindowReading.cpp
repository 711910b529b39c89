#include "tests/support/WindowReading.h"

String WindowText(HWND AWnd) {
  String text(static_cast<std::size_t>(SendMessageW(AWnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(AWnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

String ClassOf(HWND AWnd) {
  wchar_t name[256] = {};
  GetClassNameW(AWnd, name, 256);
  return name;
}

std::vector<HWND> Descendants(HWND AParent) {
  std::vector<HWND> found;
  EnumChildWindows(
      AParent,
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(AParam)->push_back(AWnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND ShownMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        if (ClassOf(AWnd) == L"#32768" && IsWindowVisible(AWnd)) *reinterpret_cast<HWND*>(AParam) = AWnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TPoint ScreenCentreOf(HWND AWnd) {
  RECT r{};
  GetWindowRect(AWnd, &r);
  return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
