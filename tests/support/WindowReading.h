// Reading windows from outside, also another process's: through window
// messages, which the window itself answers.
#pragma once

#include "platform/runtime/System.h"
#include "platform/runtime/Types.h"

#include <vector>

// The text of a window, asked of the window itself (for another process's
// window GetWindowText gives only the title the system keeps).
String WindowText(HWND AWnd);
String ClassOf(HWND AWnd);
// Every window below AParent, at any depth.
std::vector<HWND> Descendants(HWND AParent);
// The system's popup menu window ("#32768") this thread shows, or nil.
HWND ShownMenuWindow();
// The centre of a window's rectangle, in screen coordinates.
TPoint ScreenCentreOf(HWND AWnd);
