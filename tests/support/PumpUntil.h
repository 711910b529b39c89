// Running the thread's message loop in tests, without sleeping.
#pragma once

#include "platform/runtime/WinApi.h"

#include <functional>

// Dispatches the thread's messages until APredicate holds or ATimeoutMs have
// passed; returns whether it held. Waits for messages, never polls. A quit
// request ends it early and stays queued.
bool PumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs = 5000);
// The same loop with another dispatch step: ADispatch handles what waits and
// answers false to end the loop (a quit request). Between rounds the thread
// waits for input, AMaxWaitMs at most.
bool PumpUntilWith(const std::function<bool()>& ADispatch, const std::function<bool()>& APredicate,
                   unsigned ATimeoutMs, unsigned AMaxWaitMs = INFINITE);
// Dispatches the messages already waiting, then returns.
void PumpPending();
// Input sent is taken once the queue holds none and every message has run.
void SettleInput();
// Dispatches messages for AMs milliseconds (for checking that nothing happens).
void PumpFor(unsigned AMs);

// Takes the next WM_TIMER for AWnd (null: any window of the thread) out of
// the queue without dispatching it: a message that is already on its way.
// Fails the test when none comes within 5 seconds.
MSG TakeTimerMessage(HWND AWnd);
// Removes the quit requests waiting in the queue.
void DropQuitRequests();
