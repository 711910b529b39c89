// Each test program runs on a desktop of its own, so that real keyboard and
// mouse input (SendInput) reaches its windows while other test programs run
// in parallel: Wine keeps one input queue and one foreground window per
// desktop. A thread's desktop is the one its process was started on, so the
// test main starts the program a second time, on a fresh desktop, and passes
// its exit code on; programs a test starts inherit that desktop.
#pragma once

// In the first run: creates the desktop, runs the program again on it and
// answers true with its exit code. In the second run: answers false.
bool RunOnOwnDesktop(int& AExitCode);
