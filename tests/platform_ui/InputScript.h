// Driving modal windows with real input in tests.
//
// A TDialogScript waits (through a TTimer, so inside whatever modal loop is
// running) for a visible window of the thread with the given class and
// title, looks at it through a callback, then sends its input steps with
// SendInput. When the window is still open 5 s later the script closes it
// and reports a time-out, so a broken dialog fails the test instead of
// hanging it.
#pragma once

#include "platform/runtime/System.h"

#include <functional>
#include <vector>

struct TInputStep {
  std::vector<INPUT> Inputs;
};

// A key press and release (virtual-key code).
TInputStep Key(WORD AVirtualKey);
// Alt held around a key: the accelerator of a dialog control.
TInputStep AltKey(WORD AVirtualKey);
// Each character typed as a Unicode key press.
std::vector<TInputStep> TypeText(const String& AText);
// A left click at a screen point (real mouse input).
void ClickAt(POINT AScreen);
POINT CentreOf(const RECT& ARect);
// Sends the steps, in order.
void SendSteps(const std::vector<TInputStep>& ASteps);

struct TChildInfo {
  String ClassName;
  String Text;
  DWORD Style = 0;
  int Id = 0;
  bool Default = false;  // a default push button
  RECT ClientRect{};     // in the dialog's client coordinates
  RECT ScreenRect{};
};

// What a dialog window shows.
struct TDialogSnapshot {
  String Caption;
  RECT WindowRect{};
  SIZE ClientSize{};
  std::vector<TChildInfo> Children;
  std::vector<TChildInfo> Buttons;  // left to right
  HICON Icon = nullptr;             // of an icon static, if any
  String Text;                      // of the text static
  RECT TextRect{};
  int LineHeight = 0;               // of the text static's font

  static TDialogSnapshot Of(HWND ADialog);
  const TChildInfo* ButtonWithText(const String& AText) const;
};

class TDialogScriptDriver;

class TDialogScript {
 public:
  using TLook = std::function<void(HWND ADialog)>;
  TDialogScript(const String& AClassName, std::vector<TInputStep> ASteps, TLook ALook = nullptr,
                const String& ATitle = String());
  ~TDialogScript();
  TDialogScript(const TDialogScript&) = delete;
  TDialogScript& operator=(const TDialogScript&) = delete;

  // The input waits until APredicate holds (checked at each tick).
  void SendWhen(std::function<bool()> APredicate);

  bool Acted() const;
  bool TimedOut() const;

 private:
  TOwned<TDialogScriptDriver> FDriver;
};
