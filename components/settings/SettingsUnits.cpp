#include "components/settings/SettingsUnits.h"

#include "components/settings/RzCommon.h"

std::span<const TUnit> SettingsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"RzCommon", &RzCommonInitialization, nullptr},
  };
  return units;
}
