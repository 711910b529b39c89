// Binary-coded decimals: the 34-byte decimal record of database fields, its
// conversions from and to text and numbers, and its custom variant type.
//
// Classes in this file:
//   TBcd                    up to 64 decimal digits, two to a byte
//   EBcdException           a record or a text that holds no valid decimal
//   EBcdOverflowException   a value too large for the record or the target
//
// A record's value is its first Precision digits (high nibble first) divided
// by ten to the power of its decimal places; bit 7 of SignSpecialPlaces is
// the sign, bits 0..5 the places. Texts drop leading zeros and the
// fraction's trailing zeros. Roundings to fewer digits go half away from
// zero, roundings to integers (and to currency) half to the even neighbour,
// as the variant conversions do.
#pragma once

#include "platform/runtime/Variants.h"

#include <cstdint>

struct TBcd {
  std::uint8_t Precision = 0;          // digits held, 0..64
  std::uint8_t SignSpecialPlaces = 0;  // bit 7 negative, bit 6 special, bits 0..5 decimal places
  std::uint8_t Fraction[32] = {};

  friend bool operator==(const TBcd&, const TBcd&) = default;
};
static_assert(sizeof(TBcd) == 34, "the stored decimal record");

class EBcdException : public Exception { public: using Exception::Exception; };
class EBcdOverflowException : public EBcdException { public: using EBcdException::EBcdException; };

constexpr int MaxFMTBcdFractionSize = 64;

// An optional sign, digits with at most one decimal separator and an
// optional exponent ("1.5E-3"); blanks around are allowed. StrToBcd raises
// EBcdException "'%s' ist kein gültiger BCD-Wert" (EBcdOverflowException
// beyond 64 integer digits).
bool TryStrToBcd(const String& AValue, TBcd& ABcd);
bool TryStrToBcd(const String& AValue, TBcd& ABcd, const TFormatSettings& ASettings);
TBcd StrToBcd(const String& AValue);
TBcd StrToBcd(const String& AValue, const TFormatSettings& ASettings);
// Raises EBcdException for a record that is no valid decimal (more than 64
// digits, a nibble above 9).
String BcdToStr(const TBcd& ABcd);
String BcdToStr(const TBcd& ABcd, const TFormatSettings& ASettings);

TBcd IntegerToBcd(std::int64_t AValue);
// The double's 15 significant digits; EBcdException for infinities and NaN.
TBcd DoubleToBcd(double AValue);
double BcdToDouble(const TBcd& ABcd);
TBcd CurrToBcd(Currency AValue);
// Rounded to four decimals; EBcdOverflowException beyond the currency range.
Currency BcdToCurr(const TBcd& ABcd);
// Rounded to an integer; EBcdOverflowException beyond the 64-bit range.
std::int64_t BcdToInt64(const TBcd& ABcd);
// -1, 0 or 1 by value (1.50 equals 1.5).
int BcdCompare(const TBcd& A, const TBcd& B);

// The custom variant type (0 before the unit's start-up).
TVarType VarFMTBcd();
Variant VarFMTBcdCreate(const TBcd& ABcd);
bool VarIsFMTBcd(const Variant& AValue);
// A decimal variant's record, or any other value converted (raises the
// variant conversion errors).
TBcd VarToBcd(const Variant& AValue);

void FMTBcdInitialization();
void FMTBcdFinalization();
