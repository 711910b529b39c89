// The window-geometry routines of the control unit (cxControls) that the
// graphics unit needs.
//
// They belong to the control unit, which re-exports them; they live here
// because regions are made from windows and parent backgrounds are painted
// from them, and graphics never reaches up into the control framework. This
// file is the whole of that link.
#pragma once

#include "platform/runtime/Types.h"

class TWinControl;

// The window rectangle in screen coordinates; empty when the system cannot
// give it.
TRect SafeGetWindowRect(HWND AHandle);
// The client rectangle; empty when the system cannot give it.
TRect SafeGetClientRect(HWND AHandle);
// The window rectangle moved to the origin: (0, 0, width, height).
TRect GetWindowBoundsOfHandle(HWND AHandle);
TRect GetControlWindowBounds(TWinControl* AControl);
// R moved from one window's coordinates to the other's, its size kept: by
// the difference of the window rectangles' top-left corners, or with
// AClientCoordinates through the system's client mapping of the top-left.
TRect MapRectBetweenWindows(HWND AFromWnd, HWND AToWnd, const TRect& R, bool AClientCoordinates);
TPoint ClientPointToScreen(HWND AHandle, const TPoint& APoint);
// WS_EX_LAYOUTRTL.
bool IsRightToLeftLayoutWindow(HWND AHandle);
// Whether every bit of AStyle is set in the window's GWL_STYLE.
bool HasWindowStyle(HWND AHandle, int AStyle);
