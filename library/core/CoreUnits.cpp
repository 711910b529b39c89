#include "library/core/CoreUnits.h"

#include "library/core/cxGeometry.h"
#include "library/core/dxCore.h"
#include "library/core/dxStringHelper.h"

std::span<const TUnit> LibraryCoreUnits() {
  // Each entry: {name, initialization, finalization}, in link order. The core
  // unit starts first and finalizes last.
  static constexpr TUnit units[] = {
      {L"dxCore", &dxCoreInitialization, &dxCoreFinalization},
      {L"dxStringHelper", nullptr, &dxStringHelperFinalization},
      {L"dxCoreClasses", nullptr, nullptr},
      {L"cxGeometry", &cxGeometryInitialization, &cxGeometryFinalization},
  };
  return units;
}
