// SQL time stamps: the 16-byte date-and-time record of database fields and
// its custom variant type.
//
// Classes in this file:
//   TSQLTimeStamp           year, month, day, hour, minute, second, milliseconds
//
// A time stamp converts to the TDateTime of the same moment; the all-zero
// record is the date-time 0. As a variant it converts like that date-time
// and compares field by field, the year first.
#pragma once

#include "platform/runtime/Variants.h"

#include <cstdint>

struct TSQLTimeStamp {
  std::int16_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint32_t Fractions = 0;  // milliseconds

  friend bool operator==(const TSQLTimeStamp&, const TSQLTimeStamp&) = default;
};
static_assert(sizeof(TSQLTimeStamp) == 16, "the stored time-stamp record");

// Raises EConvertError for a record that names no date or time.
TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& AValue);
TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime AValue);
// DateTimeToStr of the moment.
String SQLTimeStampToStr(const TSQLTimeStamp& AValue);

// The custom variant type (0 before the unit's start-up).
TVarType VarSQLTimeStamp();
Variant VarSQLTimeStampCreate(const TSQLTimeStamp& AValue);
Variant VarSQLTimeStampCreate(TDateTime AValue);
bool VarIsSQLTimeStamp(const Variant& AValue);
// A time-stamp variant's record, or any other value converted to a date-time
// first (raises the variant conversion errors).
TSQLTimeStamp VarToSQLTimeStamp(const Variant& AValue);

void SqlTimStInitialization();
void SqlTimStFinalization();
