#include "tests/support/TestUnits.h"

#include <vector>

std::vector<std::span<const TUnit>> TestUnitLayers() { return {RuntimeUnits()}; }
