// The units of the control library's vector images, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryVectorUnits();
