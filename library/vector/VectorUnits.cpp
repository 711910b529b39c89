#include "library/vector/VectorUnits.h"

#include "library/vector/dxSVGCore.h"
#include "library/vector/dxSVGImage.h"
#include "library/vector/dxShapeBrushes.h"
#include "library/vector/dxShapePrimitives.h"

std::span<const TUnit> LibraryVectorUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxShapePrimitives", &dxShapePrimitivesInitialization, &dxShapePrimitivesFinalization},
      {L"dxShapeBrushes", &dxShapeBrushesInitialization, &dxShapeBrushesFinalization},
      {L"dxSVGCore", &dxSVGCoreInitialization, &dxSVGCoreFinalization},
      {L"dxSVGImage", &dxSVGImageInitialization, &dxSVGImageFinalization},
  };
  return units;
}
