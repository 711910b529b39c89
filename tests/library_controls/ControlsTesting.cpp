#include "tests/library_controls/ControlsTesting.h"

#include "library/core/base/cxClasses.h"
#include "tests/support/PumpUntil.h"

#include <memory>
#include <vector>

namespace {

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

// Under Wine a move from a window of this program to another window is
// sometimes answered, a few milliseconds later, by the cursor jumping back to
// where it came from (measured). A move counts as done once the cursor has
// stayed at the point this long, the move sent again after each jump.
constexpr ULONGLONG SettleMs = 40;

void SendMove(const TPoint& AScreenPos) {
  INPUT input = MouseInput(AScreenPos, 0);
  SendInput(1, &input, sizeof(INPUT));
}

// One look: whether the cursor has stayed at the point long enough.
bool SettledAt(const TPoint& AScreenPos, ULONGLONG& AArrived) {
  if (!CursorIsAt(AScreenPos)) {
    if (AArrived != 0) SendMove(AScreenPos);
    AArrived = 0;
    return false;
  }
  const ULONGLONG now = GetTickCount64();
  if (AArrived == 0) AArrived = now;
  return now - AArrived >= SettleMs;
}

}  // namespace

TForm* NewShownForm(const TRect& AScreenBounds) {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(AScreenBounds);
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([form] { return GetForegroundWindow() == form->Handle(); });
  return form;
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
  SendMove(AScreenPos);
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

void SendKey(WORD AVirtualKey, bool AUp) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = AVirtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(AVirtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = AUp ? KEYEVENTF_KEYUP : 0;
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

// ---------------------------------------------------------------------------
// TLoopScript

class TLoopScript::TDriver : public TObject {
  SK_CLASS(TLoopScript::TDriver, TObject)
 public:
  struct TStep {
    std::function<bool()> Ready;
    std::function<void()> Action;
  };
  std::vector<TStep> Steps;
  std::size_t Next = 0;
  int Failed = -1;
  ULONGLONG StepStarted = 0;
  TOwned<TcxTimer> Timer;

  void Create() {
    Timer.reset(CreateTimer(10, true, BindEvent<&TDriver::Tick>(this)));
    StepStarted = GetTickCount64();
  }
  void Tick(TObject*) {
    while (Failed < 0 && Next < Steps.size()) {
      if (!Steps[Next].Ready()) {
        if (GetTickCount64() - StepStarted > 5000) {
          Failed = static_cast<int>(Next);
          ReleaseCapture();
        }
        return;
      }
      Steps[Next++].Action();
      StepStarted = GetTickCount64();
    }
  }
};

TLoopScript::TLoopScript() : FDriver(New<TDriver>()) {}
TLoopScript::~TLoopScript() = default;

void TLoopScript::Then(std::function<bool()> AReady, std::function<void()> AAction) {
  FDriver->Steps.push_back({std::move(AReady), std::move(AAction)});
}

void TLoopScript::MoveTo(const TPoint& AScreenPos, std::function<bool()> AArrived) {
  struct TState {
    ULONGLONG Sent = 0;
    ULONGLONG Arrived = 0;
  };
  auto state = std::make_shared<TState>();
  Then([AScreenPos, state] {
    SendMove(AScreenPos);
    state->Sent = GetTickCount64();
  });
  Then(
      [AScreenPos, AArrived = std::move(AArrived), state] {
        const ULONGLONG now = GetTickCount64();
        if (AArrived()) {
          if (state->Arrived == 0) state->Arrived = now;
          return now - state->Arrived >= SettleMs;
        }
        // Taken back after it came, or never came: send it again.
        if (state->Arrived != 0 || now - state->Sent >= 150) {
          SendMove(AScreenPos);
          state->Sent = now;
        }
        state->Arrived = 0;
        return false;
      },
      [] {});
}

bool TLoopScript::Finished() const { return FDriver->Next == FDriver->Steps.size(); }
bool TLoopScript::TimedOut() const { return FDriver->Failed >= 0; }
int TLoopScript::FailedStep() const { return FDriver->Failed; }

namespace {
HWND VisibleNotepadOf(DWORD AProcessId) {
  for (HWND w = FindWindowW(L"Notepad", nullptr); w; w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == AProcessId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}
}  // namespace

TOtherProgramWindow::~TOtherProgramWindow() {
  if (!FProcess) return;
  TerminateProcess(FProcess.Get(), 0);
  WaitForSingleObject(FProcess.Get(), 5000);
}

HWND TOtherProgramWindow::Window() {
  if (!FProcess) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    wchar_t command[] = L"notepad.exe";
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    FProcess.Reset(pi.hProcess);
    CloseHandle(pi.hThread);
    FProcessId = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 5000);
    PumpUntil([this] { return VisibleNotepadOf(FProcessId) != nullptr; });
  }
  return VisibleNotepadOf(FProcessId);
}
