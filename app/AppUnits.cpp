#include "app/AppUnits.h"

#include "app/UDefines.h"
#include "library/core/CoreUnits.h"
#include "platform/ui/UiUnits.h"

std::span<const TUnit> AppUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"UDefines", nullptr, &UDefinesFinalization},
      {L"UHexLoad", nullptr, nullptr},
  };
  return units;
}

std::vector<std::span<const TUnit>> ProgramUnitLayers() {
  return {RuntimeUnits(), UiUnits(), LibraryCoreUnits(), AppUnits()};
}
