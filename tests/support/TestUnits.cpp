#include "tests/support/TestUnits.h"

#include <vector>

// Defined by each test folder (Units.cpp): its layers, bottom-up.
std::vector<std::span<const TUnit>> TestUnitLayers();

void TestUnitsInitialize() {
  const std::vector<std::span<const TUnit>> layers = TestUnitLayers();
  for (std::span<const TUnit> layer : layers) InitializeUnits({layer});
}

void TestUnitsFinalize() { FinalizeUnits(); }
