#include "library/vector/VectorUnits.h"

#include "library/vector/dxSVGCore.h"

std::span<const TUnit> LibraryVectorUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxSVGCore", &dxSVGCoreInitialization, &dxSVGCoreFinalization},
  };
  return units;
}
