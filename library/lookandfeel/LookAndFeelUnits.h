// The units of the look and feel and skins, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> LibraryLookAndFeelUnits();
