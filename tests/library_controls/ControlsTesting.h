// Shared pieces of the control framework's tests: a shown form to put
// controls on, and real input (SendInput) that waits until the system has
// taken it.
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"
#include "tests/support/SendInput.h"

#include <functional>

// A form at AScreenBounds, shown and active (the tests run on a desktop of
// their own, so it can take the foreground).
TForm* NewShownForm(const TRect& AScreenBounds);

// Steps run one after another from a 10 ms timer, so also inside a modal
// loop that dispatches timer messages: each step waits until its condition
// holds, then acts. A step that waits longer than 5 s ends the script and,
// so that no loop hangs the test, takes the mouse capture away.
class TLoopScript {
 public:
  TLoopScript();
  ~TLoopScript();
  TLoopScript(const TLoopScript&) = delete;
  TLoopScript& operator=(const TLoopScript&) = delete;

  void Then(std::function<bool()> AReady, std::function<void()> AAction);
  void Then(std::function<void()> AAction) { Then([] { return true; }, std::move(AAction)); }
  // Moves the mouse there (real input) and waits until AArrived has said for
  // a while that the move came through; a move that does not come, or that
  // Wine takes back to where its display's pointer was, is sent again.
  void MoveTo(const TPoint& AScreenPos, std::function<bool()> AArrived);
  bool Finished() const;
  bool TimedOut() const;
  // The number of the step that timed out (from 0), or -1.
  int FailedStep() const;

 private:
  class TDriver;
  TOwned<TDriver> FDriver;
};

// A visible top-level window of another program (Wine's notepad), started on
// first use and ended with the object: for activation leaving the process.
class TOtherProgramWindow {
 public:
  TOtherProgramWindow() = default;
  ~TOtherProgramWindow();
  TOtherProgramWindow(const TOtherProgramWindow&) = delete;
  TOtherProgramWindow& operator=(const TOtherProgramWindow&) = delete;
  // Null when the program cannot be started.
  HWND Window();

 private:
  TKernelHandle FProcess;
  DWORD FProcessId = 0;
};
