// Driving the real program from outside, as a person would.
//
// TProgramDriver starts Skarnivel.exe on a desktop of its own, so that the
// mouse and keyboard input it sends (SendInput) reaches that program only,
// whatever else runs on the display at the same time. It finds the
// program's windows, reads them through window messages (texts, list-box
// lines, enabled states) and clicks and types. A driver belongs to the thread
// that made it; that thread must own no window (see RunOnOwnThread).
#pragma once

#include "platform/runtime/System.h"
#include "tests/support/WindowReading.h"

#include <functional>
#include <vector>

// Runs ABody on a new thread and waits for it; gtest's EXPECT and ASSERT
// work inside (an ASSERT ends ABody).
void RunOnOwnThread(const std::function<void()>& ABody);

class TProgramDriver {
 public:
  // Starts the program in ADirectory (its settings file lies there).
  explicit TProgramDriver(const String& ADirectory);
  // Ends a program that is still running and closes the desktop.
  ~TProgramDriver();
  TProgramDriver(const TProgramDriver&) = delete;
  TProgramDriver& operator=(const TProgramDriver&) = delete;

  bool Started() const { return FInfo.hProcess != nullptr; }

  // A visible top-level window of the program with that title (any title
  // when ATitle is empty and AClass given); null after ATimeout ms.
  HWND WaitForWindow(const String& ATitle, DWORD ATimeout = 30000, const String& AClass = String());
  // Whether the program has such a window now.
  HWND FindWindow(const String& ATitle, const String& AClass = String());
  // Waits for the end of the program: its exit code, or -1 after ATimeout ms.
  int WaitForExit(DWORD ATimeout = 10000);
  bool Running();

  // Reading the main window.
  HWND ChildWithText(HWND AWindow, const String& AText);
  // The list box of the main window and its lines (as last read in full
  // when a read comes back incomplete).
  HWND ListBox(HWND AWindow);
  std::vector<String> ListLines(HWND AListBox);
  // Waits until APredicate holds, checking every few milliseconds.
  bool WaitUntil(const std::function<bool()>& APredicate, DWORD ATimeout = 10000);

  // Real input.
  void Activate(HWND AWindow);
  // AClicks left clicks in the middle of the control, sent in one batch.
  void ClickOn(HWND AControl, int AClicks = 1);
  // The mouse moved to a screen point, or to the middle of a control.
  void MoveMouseTo(const POINT& APoint);
  void MoveMouseOnto(HWND AControl);
  // The left button pressed or released where the driver put the mouse.
  void PressMouse();
  void ReleaseMouse();
  // WaitUntil while a hand keeps the mouse still where the driver put it: a
  // late echo of an earlier pointer warp can move it off a control (making
  // it leave its hot look or let a pressed button up), so each poll that
  // fails moves the mouse there again.
  bool WaitHoldingMouse(const std::function<bool()>& APredicate, DWORD ATimeout = 10000);
  // The program's window that holds the mouse capture now, if any.
  HWND Capture();
  void Key(WORD AVirtualKey);
  // A key pressed while a modifier (e.g. VK_MENU) is held.
  void KeyWith(WORD AModifier, WORD AVirtualKey);
  void TypeText(const String& AText);

 private:
  HDESK FDesktop = nullptr;
  String FDesktopName;
  PROCESS_INFORMATION FInfo{};
  std::vector<String> FLastLines;
  POINT FMouse{};
};
