// What the files of the Graphics unit share among themselves.
#pragma once

#include "platform/runtime/Encoding.h"

class TStream;

namespace graphics_detail {

// The next ACount bytes of a stream without moving it; fewer at its end
// (Graphics_Streams.cpp).
TBytes PeekBytes(TStream* AStream, int ACount);

}  // namespace graphics_detail
