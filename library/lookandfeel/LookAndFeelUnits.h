// The units of the control library's look and feel, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryLookAndFeelUnits();
