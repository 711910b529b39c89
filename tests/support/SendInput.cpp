#include "tests/support/SendInput.h"

#include "tests/support/PumpUntil.h"

#include <vector>

namespace {

// One look: whether the cursor has stayed at the point long enough.
bool SettledAt(const TPoint& AScreenPos, ULONGLONG& AArrived) {
  if (!CursorIsAt(AScreenPos)) {
    if (AArrived != 0) SendMouseButtons(AScreenPos, 0);
    AArrived = 0;
    return false;
  }
  const ULONGLONG now = GetTickCount64();
  if (AArrived == 0) AArrived = now;
  return now - AArrived >= MouseSettleMs;
}

}  // namespace

INPUT MouseInput(const TPoint& AScreenPos, DWORD AFlags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run 0..65535 over the screen; +1 keeps the rounding
  // on the intended pixel.
  input.mi.dx = MulDiv(AScreenPos.X, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input.mi.dy = MulDiv(AScreenPos.Y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input.mi.dwFlags = AFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

bool MoveUntil(const TPoint& AScreenPos, const std::function<bool()>& ACondition) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SendMouseMove(AScreenPos);
    if (PumpUntil(ACondition, 1000)) return true;
  }
  return false;
}

bool CursorIsAt(const TPoint& AScreenPos) {
  POINT p{};
  return GetCursorPos(&p) && p.x == AScreenPos.X && p.y == AScreenPos.Y;
}

void SendMouseMove(const TPoint& AScreenPos) {
  SendMouseButtons(AScreenPos, 0);
  ULONGLONG arrived = 0;
  // Woken every few milliseconds: a jump back must be seen while it lasts.
  PumpUntilWith(
      [] {
        PumpPending();
        return true;
      },
      [&] { return SettledAt(AScreenPos, arrived); }, 3000, 5);
}

void SendMouseButtons(const TPoint& AScreenPos, DWORD AButtonFlags) {
  INPUT input = MouseInput(AScreenPos, AButtonFlags);
  SendInput(1, &input, sizeof(INPUT));
}

void SendMouseSteps(std::initializer_list<std::pair<TPoint, DWORD>> ASteps) {
  std::vector<INPUT> inputs;
  for (const auto& [point, flags] : ASteps) inputs.push_back(MouseInput(point, flags));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD AVirtualKey, bool AUp) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = AVirtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(AVirtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = AUp ? KEYEVENTF_KEYUP : 0;
  return input;
}

void SendKey(WORD AVirtualKey, bool AUp) {
  INPUT input = KeyInput(AVirtualKey, AUp);
  SendInput(1, &input, sizeof(INPUT));
}

void SendText(const String& AText) {
  std::vector<INPUT> inputs;
  for (wchar_t c : AText) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool SendMouseUntil(const TPoint& AScreenPos, DWORD AButtonFlags, const std::function<bool()>& ACondition) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SendMouseButtons(AScreenPos, AButtonFlags);
    if (PumpUntil(ACondition, 1000)) return true;
  }
  return false;
}
