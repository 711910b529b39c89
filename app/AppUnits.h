// The application's units, and the whole program's unit layers in link order.
#pragma once

#include "platform/runtime/Units.h"

#include <span>
#include <vector>

// The units of the application itself (UDefines, UHexLoad, MainUnit).
std::span<const TUnit> AppUnits();

// Every layer the program links, bottom-up: the run-time and windowed class
// libraries, the control library's layers, the application.
std::vector<std::span<const TUnit>> ProgramUnitLayers();
