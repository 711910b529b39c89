// The units of the control framework, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryControlsUnits();
