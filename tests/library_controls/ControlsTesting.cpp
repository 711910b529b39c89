#include "tests/library_controls/ControlsTesting.h"

#include "library/core/base/cxClasses.h"
#include "tests/support/PumpUntil.h"

#include <memory>
#include <vector>

TForm* NewShownForm(const TRect& AScreenBounds) {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(AScreenBounds);
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([form] { return GetForegroundWindow() == form->Handle(); });
  return form;
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
    SendMouseButtons(AScreenPos, 0);
    state->Sent = GetTickCount64();
  });
  Then(
      [AScreenPos, AArrived = std::move(AArrived), state] {
        const ULONGLONG now = GetTickCount64();
        if (AArrived()) {
          if (state->Arrived == 0) state->Arrived = now;
          return now - state->Arrived >= MouseSettleMs;
        }
        // Taken back after it came, or never came: send it again.
        if (state->Arrived != 0 || now - state->Sent >= 150) {
          SendMouseButtons(AScreenPos, 0);
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
