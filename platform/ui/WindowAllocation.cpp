#include "platform/ui/WindowAllocation.h"

#include "platform/runtime/SysUtils.h"

#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>

namespace {

const wchar_t* const UtilWindowClass = L"SkUtilWindow";

LRESULT CALLBACK UtilWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  const auto* stored = reinterpret_cast<const TWndMethod*>(GetWindowLongPtrW(AWnd, GWLP_USERDATA));
  if (!stored || !stored->Assigned()) return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  // A copy: the method may free this window, and with it the stored method.
  const TWndMethod method = *stored;
  TMessage message{AMsg, AWParam, ALParam, 0};
  try {
    method(message);
  } catch (...) {
    HandleCallbackException(method.Object());
  }
  return message.Result;
}

void RegisterUtilClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &UtilWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = UtilWindowClass;
    // Registering twice (another module of the process) is harmless.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOutOfResources(L"RegisterClassExW für das Hilfsfenster schlug fehl (Fehler %d)",
                      {static_cast<unsigned long>(GetLastError())});
  });
}

}  // namespace

HWND AllocateHWnd(const TWndMethod& AMethod, bool AMessageOnly) {
  RegisterUtilClass();
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, UtilWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                             AMessageOnly ? HWND_MESSAGE : nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!wnd)
    throw EOutOfResources(L"CreateWindowExW für das Hilfsfenster schlug fehl (Fehler %d)",
                    {static_cast<unsigned long>(GetLastError())});
  auto method = std::make_unique<TWndMethod>(AMethod);
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(method.release()));
  return wnd;
}

bool IsAllocatedHWnd(HWND AWnd) {
  if (!AWnd || !IsWindow(AWnd)) return false;
  wchar_t name[32] = {};
  GetClassNameW(AWnd, name, static_cast<int>(std::size(name)));
  return std::wstring_view(name) == UtilWindowClass;
}

void DeallocateHWnd(HWND AWnd) {
  if (!IsAllocatedHWnd(AWnd)) return;
  // Detach the method first so that the messages of the destruction itself
  // no longer reach an object that is going away.
  std::unique_ptr<TWndMethod> method(
      reinterpret_cast<TWndMethod*>(SetWindowLongPtrW(AWnd, GWLP_USERDATA, 0)));
  DestroyWindow(AWnd);
}
