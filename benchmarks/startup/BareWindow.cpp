// The yardstick of the start-up benchmark (benchmarks/startup/run): the
// least a Win32 program does to show a window, built as the program is.
#include "platform/runtime/WinApi.h"

namespace {

LRESULT CALLBACK BareWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE AInstance, HINSTANCE, PWSTR, int AShow) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = BareWindowProc;
  windowClass.hInstance = AInstance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"BareWindow";
  if (!RegisterClassExW(&windowClass)) return 1;
  // The size of the program's main window.
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 335, 416, nullptr, nullptr, AInstance, nullptr);
  if (!window) return 1;
  ShowWindow(window, AShow);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
