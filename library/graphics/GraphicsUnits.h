// The units of the control library's graphics, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryGraphicsUnits();
