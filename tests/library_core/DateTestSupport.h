// What the tests of the date unit and the format controller share: a scope
// that runs the thread and the run-time's format settings in another locale,
// and the reference tables the program carries as resources.
#pragma once

#include "library/core/locale/cxDateUtils.h"
#include "library/core/locale/cxFormats.h"
#include "platform/classes/Streams.h"

#include <sstream>
#include <string>
#include <vector>

// The thread locale and the run-time's global format settings of a Windows
// locale (as Wine reports it) for the scope; both are restored after it.
class TDateLocaleScope {
 public:
  explicit TDateLocaleScope(const wchar_t* ALocaleName)
      : FLocale(GetThreadLocale()), FSettings(FormatSettings), FAssigned(IsStartOfWeekAssigned()),
        FStartOfWeek(GetStartOfWeek()) {
    const LCID locale = LocaleNameToLCID(ALocaleName, 0);
    SetThreadLocale(locale);
    FormatSettings = TFormatSettings::Create(locale);
  }
  ~TDateLocaleScope() {
    SetThreadLocale(FLocale);
    FormatSettings = FSettings;
    if (FAssigned)
      SetAssignedStartOfWeek(FStartOfWeek);
    else
      ClearAssignedStartOfWeek();
  }
  TDateLocaleScope(const TDateLocaleScope&) = delete;
  TDateLocaleScope& operator=(const TDateLocaleScope&) = delete;

 private:
  LCID FLocale;
  TFormatSettings FSettings;
  bool FAssigned;
  TDay FStartOfWeek;
};

// The lines of a CSV table the test program carries (tests/library_core/locale/reference),
// split at commas; comment lines and the header are left out.
inline std::vector<std::vector<std::string>> ReferenceTable(const wchar_t* AResourceName) {
  TOwned<TResourceStream> stream(New<TResourceStream>(HINSTANCE(nullptr), String(AResourceName), RT_RCDATA));
  const std::string text(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  bool header = true;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> fields;
    std::string field;
    std::istringstream cells(line);
    while (std::getline(cells, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    rows.push_back(std::move(fields));
  }
  return rows;
}

// A TDateTime of a day and a time of day (milliseconds), also before 1899-12-30.
inline TDateTime DayAndTime(int ADay, int AMilliseconds) {
  return TimeStampToDateTime(TTimeStamp{AMilliseconds, ADay + DateDelta});
}
