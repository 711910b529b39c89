// The fuzzing driver of the check-state value formats (CheckStatesFuzz.cpp),
// listed in the folder's table (ButtonsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Reads a value built from the input (texts of digits and separators with
// huge numbers and length prefixes, NaN and infinities, dates, BCD, Null,
// other kinds) in one of the formats for 0..70 items. Every answer is a
// reading with one valid state per item, or False with all unchecked.
std::vector<std::string> CheckStatesSeeds();
void RunCheckStates(const std::string& AInput);
