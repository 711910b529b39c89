// Base64 (RFC 4648: the alphabet "A".."Z", "a".."z", "0".."9", "+", "/" and
// the pad character "="): bytes to UTF-16 text, optionally in lines of 76
// characters joined by CR LF, and text back to bytes.
//
// Classes in this file:
//   EdxBase64FormatException   malformed Base64 text
//
// Decoding skips tab, LF, CR and space wherever they stand (trailing ones
// included) and is strict about padding: one "=" ends a group of three
// characters, two "=" a group of two, and nothing but white space may follow.
#pragma once

#include "library/core/base/dxCore.h"
#include "platform/runtime/Encoding.h"

#include <cstdint>

// "Bad Base64 char" or "Bad Base64 char array length".
class EdxBase64FormatException : public EdxException { public: using EdxException::EdxException; };

// The characters that encoding ACount bytes gives: 4 per started group of 3
// bytes, plus CR LF between lines of 76 with ALineBreaks. Raises
// EOutOfMemory when that is beyond the 32-bit signed range.
int Base64EncodedLength(int ACount, bool ALineBreaks);
// Base64EncodeLines without line breaks.
String Base64Encode(const TBytes& AData, int AOffset, int ALength);
// ALength bytes from AOffset of AData. Raises EdxException "inArray" for an
// empty array, EArgumentOutOfRangeException "length" for a negative length
// and "offset" for a negative offset or a range beyond the array.
String Base64EncodeLines(const TBytes& AData, int AOffset, int ALength, bool ALineBreaks);
// Writes the characters into AText (room for Base64EncodedLength) and
// answers their count; the range must lie in AData.
int Base64EncodeInto(wchar_t* AText, const TBytes& AData, int AOffset, bool ALineBreaks, int ALength);
// The bytes of ACount characters of Base64 text in ABuffer: their count, or
// -1 when ABufferLength bytes are too few (the bytes that fitted stay).
// Raises EdxBase64FormatException for bad padding or an unfinished group and
// EArgumentException (empty message) for a character outside the alphabet.
int Base64Decode(const wchar_t* AText, int ACount, std::uint8_t* ABuffer, int ABufferLength);
