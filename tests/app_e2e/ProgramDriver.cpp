#include "tests/app_e2e/ProgramDriver.h"

#include "platform/runtime/SysUtils.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

String ProgramFile() {
  wchar_t buffer[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  // The tests live in tests/ of the build folder, the program beside it.
  return ExtractFilePath(ExcludeTrailingPathDelimiter(ExtractFilePath(buffer))) + L"Skarnivel.exe";
}

const wchar_t* const DesktopSizesKey = L"Software\\Wine\\Explorer\\Desktops";

// The input of one step is taken before the next one goes out.
void Settle() { Sleep(30); }

}  // namespace

void RunOnOwnThread(const std::function<void()>& ABody) {
  std::thread worker([&ABody] { ABody(); });
  worker.join();
}

TProgramDriver::TProgramDriver(const String& ADirectory) {
  static std::atomic<int> counter;
  FDesktopName = L"SkarnivelDrive" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
  // The size of the desktop's screen, like the one the other tests use.
  const wchar_t size[] = L"1280x1024";
  RegSetKeyValueW(HKEY_CURRENT_USER, DesktopSizesKey, FDesktopName.c_str(), REG_SZ, size, sizeof size);
  FDesktop = CreateDesktopW(FDesktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (!FDesktop || !SetThreadDesktop(FDesktop)) {
    ADD_FAILURE() << "cannot make a desktop for the program (error " << GetLastError() << ")";
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  String desktop = FDesktopName;
  startup.lpDesktop = desktop.data();
  String command = L"\"" + ProgramFile() + L"\"";
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ADirectory.c_str(), &startup,
                      &FInfo)) {
    ADD_FAILURE() << "cannot start " << UTF8Encode(ProgramFile()) << " (error " << GetLastError() << ")";
    FInfo = PROCESS_INFORMATION{};
    return;
  }
  WaitForInputIdle(FInfo.hProcess, 10000);
}

TProgramDriver::~TProgramDriver() {
  if (FInfo.hProcess) {
    if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(FInfo.hProcess, 99);
      WaitForSingleObject(FInfo.hProcess, 5000);
    }
    CloseHandle(FInfo.hThread);
    CloseHandle(FInfo.hProcess);
  }
  if (FDesktop) CloseDesktop(FDesktop);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopSizesKey, FDesktopName.c_str());
}

HWND TProgramDriver::FindWindow(const String& ATitle, const String& AClass) {
  struct TSearch {
    DWORD Process;
    const String* Title;
    const String* Class;
    HWND Found;
  } search{FInfo.dwProcessId, &ATitle, &AClass, nullptr};
  EnumDesktopWindows(
      FDesktop,
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(AParam);
        DWORD process = 0;
        GetWindowThreadProcessId(AWnd, &process);
        if (process != s->Process || !IsWindowVisible(AWnd)) return TRUE;
        if (!s->Title->empty() && WindowText(AWnd) != *s->Title) return TRUE;
        if (!s->Class->empty() && ClassOf(AWnd) != *s->Class) return TRUE;
        s->Found = AWnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND TProgramDriver::WaitForWindow(const String& ATitle, DWORD ATimeout, const String& AClass) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindow(ATitle, AClass)) != nullptr; }, ATimeout);
  return found;
}

bool TProgramDriver::WaitUntil(const std::function<bool()>& APredicate, DWORD ATimeout) {
  const ULONGLONG deadline = GetTickCount64() + ATimeout;
  for (;;) {
    if (APredicate()) return true;
    if (GetTickCount64() >= deadline) return false;
    if (FInfo.hProcess && WaitForSingleObject(FInfo.hProcess, 10) != WAIT_TIMEOUT) return APredicate();
  }
}

int TProgramDriver::WaitForExit(DWORD ATimeout) {
  if (!FInfo.hProcess || WaitForSingleObject(FInfo.hProcess, ATimeout) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return static_cast<int>(code);
}

bool TProgramDriver::Running() { return FInfo.hProcess && WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }

HWND TProgramDriver::ChildWithText(HWND AWindow, const String& AText) {
  for (HWND child : Descendants(AWindow))
    if (WindowText(child) == AText) return child;
  return nullptr;
}

HWND TProgramDriver::ListBox(HWND AWindow) {
  for (HWND child : Descendants(AWindow))
    if ((GetWindowLongW(child, GWL_STYLE) & LBS_HASSTRINGS) && SendMessageW(child, LB_GETCOUNT, 0, 0) != LB_ERR &&
        ClassOf(child) != L"ComboLBox" && ClassOf(child).find(L"ComboBox") == String::npos)
      return child;
  return nullptr;
}

std::vector<String> TProgramDriver::ListLines(HWND AListBox) {
  // A list that changes or goes while it is read gives an incomplete
  // answer; that read is dropped and the lines read before stand.
  std::vector<String> lines;
  const LRESULT count = SendMessageW(AListBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(AListBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) return FLastLines;
    String line(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(AListBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
    if (got != length) return FLastLines;
    line.resize(static_cast<std::size_t>(got));
    if (line.find(L'\0') != String::npos) return FLastLines;
    lines.push_back(line);
  }
  if (SendMessageW(AListBox, LB_GETCOUNT, 0, 0) != count) return FLastLines;
  FLastLines = lines;
  return lines;
}

void TProgramDriver::Activate(HWND AWindow) {
  SetForegroundWindow(AWindow);
  WaitUntil([AWindow] { return GetForegroundWindow() == AWindow; }, 2000);
}

namespace {

// A mouse event at a screen point, in the absolute coordinates SendInput takes.
INPUT MouseInput(const POINT& APoint, DWORD AFlags) { return MouseInput(TPoint{APoint.x, APoint.y}, AFlags); }

POINT CenterOf(HWND AControl) {
  RECT r{};
  GetWindowRect(AControl, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void TProgramDriver::MoveMouseTo(const POINT& APoint) {
  FMouse = APoint;
  INPUT move = MouseInput(APoint, 0);
  SendInput(1, &move, sizeof(INPUT));
  WaitUntil(
      [&] {
        POINT p{};
        return GetCursorPos(&p) && p.x == APoint.x && p.y == APoint.y;
      },
      1000);
  Settle();
}

void TProgramDriver::MoveMouseOnto(HWND AControl) { MoveMouseTo(CenterOf(AControl)); }

// The button events go where the driver last put the mouse, not where the
// cursor is read to be: the program's X11 driver answers each pointer warp a
// move makes with a move of its own, and a busy program sends that echo late,
// putting the cursor back where an earlier move had it.
void TProgramDriver::PressMouse() {
  INPUT down = MouseInput(FMouse, MOUSEEVENTF_LEFTDOWN);
  SendInput(1, &down, sizeof(INPUT));
  Settle();
}

void TProgramDriver::ReleaseMouse() {
  INPUT up = MouseInput(FMouse, MOUSEEVENTF_LEFTUP);
  SendInput(1, &up, sizeof(INPUT));
  Settle();
}

bool TProgramDriver::WaitHoldingMouse(const std::function<bool()>& APredicate, DWORD ATimeout) {
  return WaitUntil(
      [&] {
        if (APredicate()) return true;
        INPUT move = MouseInput(FMouse, 0);
        SendInput(1, &move, sizeof(INPUT));
        return false;
      },
      ATimeout);
}

HWND TProgramDriver::Capture() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(FInfo.dwThreadId, &info) ? info.hwndCapture : nullptr;
}

void TProgramDriver::ClickOn(HWND AControl, int AClicks) {
  const POINT center = CenterOf(AControl);
  MoveMouseTo(center);
  // Each button event carries the position, so the click lands there.
  std::vector<INPUT> clicks;
  for (int i = 0; i < AClicks; ++i) {
    clicks.push_back(MouseInput(center, MOUSEEVENTF_LEFTDOWN));
    clicks.push_back(MouseInput(center, MOUSEEVENTF_LEFTUP));
  }
  SendInput(static_cast<UINT>(clicks.size()), clicks.data(), sizeof(INPUT));
  Settle();
}

void TProgramDriver::Key(WORD AVirtualKey) {
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = AVirtualKey;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(AVirtualKey, MAPVK_VK_TO_VSC));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Settle();
}

void TProgramDriver::KeyWith(WORD AModifier, WORD AVirtualKey) {
  INPUT in[4]{};
  const WORD keys[4] = {AModifier, AVirtualKey, AVirtualKey, AModifier};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
    if (i >= 2) in[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(4, in, sizeof(INPUT));
  Settle();
}

void TProgramDriver::TypeText(const String& AText) {
  SendText(AText);
  Settle();
}
