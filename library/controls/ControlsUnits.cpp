#include "library/controls/ControlsUnits.h"

#include "library/controls/control/cxControls.h"
#include "library/controls/windows/cxDWMApi.h"

std::span<const TUnit> LibraryControlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"cxDWMApi", &cxDWMApiInitialization, &cxDWMApiFinalization},
      {L"cxControls", &cxControlsInitialization, &cxControlsFinalization},
      {L"cxScrollBar", nullptr, nullptr},
  };
  return units;
}
