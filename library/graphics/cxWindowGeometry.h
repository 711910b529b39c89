// The window-geometry routines of the control unit (cxControls) that the
// graphics unit needs.
//
// They belong to the control unit, which re-exports them; they live here
// because regions are made from windows and graphics never reaches up into
// the control framework. This file is the whole of that link.
#pragma once

#include "platform/runtime/Types.h"

// The window rectangle in screen coordinates; empty when the system cannot
// give it.
TRect SafeGetWindowRect(HWND AHandle);
// The window rectangle moved to the origin: (0, 0, width, height).
TRect GetWindowBoundsOfHandle(HWND AHandle);
