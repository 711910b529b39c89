// Unit start-up and shut-down for test programs. Each test folder may define
// TestUnitTable() (in its own Units.cpp) to list the units its layer needs;
// without one, the default table of the run-time library is used.
#pragma once

#include "platform/runtime/Units.h"

#include <span>

void TestUnitsInitialize();
void TestUnitsFinalize();
