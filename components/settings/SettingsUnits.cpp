#include "components/settings/SettingsUnits.h"

#include "components/settings/RzCommon.h"
#include "components/settings/RzStatus.h"

std::span<const TUnit> SettingsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"RzCommon", &RzCommonInitialization, nullptr},
      {L"RzStatus", &RzStatusInitialization, &RzStatusFinalization},
  };
  return units;
}
