// The units of the settings components, in link order.
#pragma once

#include "platform/runtime/Units.h"

std::span<const TUnit> SettingsUnits();
