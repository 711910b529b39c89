// Running the thread's message loop in tests, without sleeping.
#pragma once

#include <functional>

// Dispatches the thread's messages until APredicate holds or ATimeoutMs have
// passed; returns whether it held. Waits for messages, never polls. A quit
// request ends it early and stays queued.
bool PumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs = 5000);
// Dispatches the messages already waiting, then returns.
void PumpPending();
// Dispatches messages for AMs milliseconds (for checking that nothing happens).
void PumpFor(unsigned AMs);
