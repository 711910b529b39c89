// The units of the windowed class library, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> UiUnits();
