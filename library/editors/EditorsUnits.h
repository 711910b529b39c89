// The units of the control library's editors, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryEditorsUnits();
