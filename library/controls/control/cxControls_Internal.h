// What the control unit's source files share and nobody else uses.
#pragma once

#include "library/controls/control/cxControls.h"

// The unit's shut-down has begun: services are no longer created.
bool cxControlsFinalizing();

// The running tracking timers; created on first need unless the unit shuts
// down (nil then). The shut-down frees it with the timers still in it.
TcxMouseTrackingTimerList* MouseTrackingTimerList();
void FreeMouseTrackingTimerList();

// The unit's routines that its start-up and shut-down run.
void BindLayeredWindowFunctions();
void RegisterLibraryCursors();
void UnregisterLibraryCursors();
void CreateApplicationActivateWindowHelper();
void CreateDesignSelectorGlyphCache();
void FreeDesignSelectorGlyphCache();
void FreeApplicationActivateWindowHelper();

// Hides or places again the overlay bars of controls in a window that hides,
// closes, minimises or moves (a window-procedure hook of the unit).
void OverlayScrollBarsWndProcHook(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT& AHookResult);
