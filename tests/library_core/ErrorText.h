// What an action raised, for tests that compare error classes and messages.
#pragma once

#include "platform/runtime/SysUtils.h"

#include <functional>

// "<class>: <message>" of the Exception that AAction raises, or
// "(no error)" when it returns.
String ErrorOf(const std::function<void()>& AAction);
