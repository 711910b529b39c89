// Hidden utility windows whose messages go to a method of an object.
//
// A non-visual object that needs a window of its own (timers, the
// application object, notifiers of system changes) allocates one here and
// receives every message through its method. The method sets
// Message.Result; for a message it does not handle it calls
// DefWindowProcW itself.
//
// The window is a hidden top-level window, so it also receives the
// broadcasts of the system (setting, colour and palette changes). It belongs
// to the thread that allocates it and must be freed on that thread.
#pragma once

#include "platform/runtime/SysUtils.h"
#include "platform/ui/Graphics.h"  // EOutOfResources

using TWndMethod = Delegate<void(TMessage& Message)>;

// Creates the window; raises EOutOfResources when the system refuses. A
// message-only window (parent HWND_MESSAGE) hears no broadcasts; made so at
// once, it costs less than a top-level window moved there afterwards.
HWND AllocateHWnd(const TWndMethod& AMethod, bool AMessageOnly = false);
// Destroys a window made by AllocateHWnd; null, a window already gone and a
// window of another kind are left alone. The method may
// free its own window while it handles one of its messages.
void DeallocateHWnd(HWND AWnd);
// Whether the window is one that AllocateHWnd made.
bool IsAllocatedHWnd(HWND AWnd);
