// The serial-port list and the small routines of the serial layer: timing,
// line breaks, byte order and streams.
#pragma once

#include "platform/runtime/System.h"

#include <cstddef>
#include <cstdint>

class TStream;

// The names of the system's serial ports (the values of
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, in the registry's order) as one comma
// text; empty when the key cannot be opened.
String ListSerialPorts();
// The same for any key: the port names held by the values of ARoot\AKey.
String ListSerialPortsOf(HKEY ARoot, const String& AKey);

// Milliseconds from the performance counter (or the system tick count when
// there is none); wraps at 2^32.
std::uint32_t ReadMillisecondTick();
// The distance between two readings of a wrapping 32-bit counter.
std::uint32_t TickDistance(std::uint32_t AOld, std::uint32_t ANew);

// The 1-based position of the first CR or LF in AText (-1: none) and the
// break found there: CR, LF, CR LF or LF CR.
int FindLineBreak(const RawByteString& AText, RawByteString& ABreak);

// The value's four bytes, most significant first.
RawByteString IntToBigEndianText(std::int32_t AValue);
std::int32_t SwapByteOrder(std::int32_t AValue);

inline void* OffsetPointer(void* APointer, std::ptrdiff_t ACount) { return static_cast<std::uint8_t*>(APointer) + ACount; }
inline const void* OffsetPointer(const void* APointer, std::ptrdiff_t ACount) {
  return static_cast<const std::uint8_t*>(APointer) + ACount;
}

// Writes all bytes of AText to AStream at its position.
void WriteTextToStream(TStream* AStream, const RawByteString& AText);
