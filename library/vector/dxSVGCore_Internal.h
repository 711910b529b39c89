// What the files of the dxSVGCore unit share among themselves.
#pragma once

#include "library/vector/dxSVGCore.h"

namespace svgcore_detail {

// The transform parser's operator table (dxSVGCore_Parsers.cpp).
void RegisterTransformOperators();
void UnregisterTransformOperators();
// The tag registry (dxSVGCore_Elements.cpp).
void RegisterElementClasses();
void UnregisterElementClasses();

}  // namespace svgcore_detail
