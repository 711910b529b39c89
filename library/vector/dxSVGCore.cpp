// The unit's start-up and shut-down: the transform parser's operators and
// the tag registry.
#include "library/vector/dxSVGCore.h"

#include "library/vector/dxSVGCore_Internal.h"

void dxSVGCoreInitialization() {
  svgcore_detail::RegisterTransformOperators();
  svgcore_detail::RegisterElementClasses();
}

void dxSVGCoreFinalization() {
  svgcore_detail::UnregisterElementClasses();
  svgcore_detail::UnregisterTransformOperators();
}
