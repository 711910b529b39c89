#include "library/controls/ControlsUnits.h"

#include "library/controls/control/cxControls.h"

std::span<const TUnit> LibraryControlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"cxControls", &cxControlsInitialization, &cxControlsFinalization},
  };
  return units;
}
