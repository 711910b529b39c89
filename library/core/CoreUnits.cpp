#include "library/core/CoreUnits.h"

#include "library/core/dxCore.h"

std::span<const TUnit> LibraryCoreUnits() {
  // Each entry: {name, initialization, finalization}, in link order. The core
  // unit starts first and finalizes last.
  static constexpr TUnit units[] = {
      {L"dxCore", &dxCoreInitialization, &dxCoreFinalization},
  };
  return units;
}
