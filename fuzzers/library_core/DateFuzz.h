// Fuzzing drivers of the date unit and the format controller (DateFuzz.cpp),
// listed in the folder's table (CoreFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Format strings, also as the nested short date and time formats: parsing,
// every mask and display format, item positions, the date-edit format and
// the picture formatter.
std::vector<std::string> DateFormatSeeds();
void RunDateFormat(const std::string& AInput);

// Calendar tables driven by numbers taken from the input: conversions both
// ways, arithmetic, week numbers, numbers from text, and transition rules
// of time zones.
std::vector<std::string> CalendarSeeds();
void RunCalendar(const std::string& AInput);
