// The units of the control library's standard controls, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryStdCtrlsUnits();
