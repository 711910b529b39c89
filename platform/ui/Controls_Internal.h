// State the Controls, Forms and Menus units share inside the windowed layer.
#pragma once

class TControl;

namespace controls_detail {

// The graphic control that holds the mouse capture through its parent.
extern TControl* GCaptureControl;
// The control the mouse is over (for CM_MOUSEENTER/CM_MOUSELEAVE).
extern TControl* GMouseControl;

// Forgets a control that is going away.
void ControlDestroying(TControl* AControl);
// Forgets a control that is going away as a drag target (Controls_Drag.cpp).
void DragControlDestroying(TControl* AControl);
// Releases the device contexts that control canvases took outside painting
// (of one window, or all when null).
void FreeDeviceContexts(HWND AWnd);
// Moves the mouse-over mark, sending leave to the old control and enter to
// the new one.
void SetMouseControl(TControl* AControl);

}  // namespace controls_detail

// The window part of the Controls unit's start-up (Controls_Win.cpp).
void ControlsWinInitialization();
void ControlsWinFinalization();
