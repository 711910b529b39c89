// The date unit against references nobody here wrote: ICU's calendars and
// week numbers, Python's ISO-8601 weeks and tzdata's time zones, through the
// tables reference/make_reference_tables.py generated from them.
#include "library/core/locale/cxDateUtils.h"
#include "platform/runtime/Handles.h"
#include "tests/library_core/DateTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

int Int(const std::string& AText) { return std::stoi(AText); }

// Collects the rows that failed and reports the first few, so that one wrong
// rule does not print thousands of lines.
class TReferenceFailures {
 public:
  void Add(const std::string& ARow) {
    if (FCount++ < 20) FText += ARow + "\n";
  }
  void Report(const char* AWhat, std::size_t ARows) const {
    EXPECT_EQ(FCount, 0) << FCount << " of " << ARows << " " << AWhat << " rows differ, the first of them:\n"
                         << FText;
  }

 private:
  int FCount = 0;
  std::string FText;
};

// ---------------------------------------------------------------------------
// Calendars (ICU)

struct TCalendarReference {
  const char* Name;
  std::vector<int> CalendarIDs;  // the tables that convert alike
  std::vector<std::string> KnownDifferences;  // notes where the table's rules differ from ICU
};

const TCalendarReference GCalendarReferences[] = {
    {"gregorian", {1, 2, 9, 10, 11, 12}, {}},
    // The table's eras end with Heisei; ICU goes on with Reiwa (2019).
    {"japanese", {3}, {"reiwa"}},
    {"taiwan", {4}, {}},
    {"korean", {5}, {}},
    // The table's cycle has its leap year at 15, ICU's at 16; the epoch is
    // the same (0622-07-18, ICU's islamic-tbla).
    {"hijri", {6}, {"leap15"}},
    {"thai", {7}, {}},
    // ICU moves the new years 5462, 5560 and 5807 a day further than the
    // calendar's postponement rules do (it applies the Monday rule to a molad
    // already moved from Sunday); the table follows the rules.
    {"hebrew", {8}, {"icu-postponement"}},
};

void PrintTo(const TCalendarReference& AReference, std::ostream* AStream) { *AStream << AReference.Name; }

class CalendarAgainstICU : public testing::TestWithParam<TCalendarReference> {
 protected:
  static const std::vector<std::vector<std::string>>& Rows() {
    static const std::vector<std::vector<std::string>> rows = ReferenceTable(L"CALENDARS_CSV");
    return rows;
  }
};

TEST_P(CalendarAgainstICU, EveryRowConvertsBothWays) {
  const TCalendarReference& reference = GetParam();
  std::size_t count = 0;
  std::map<std::string, int> differences;
  for (const int id : reference.CalendarIDs) {
    TcxCustomCalendarTable* table = GetCalendarTable(id);
    ASSERT_EQ(table->CalendarID(), id);
    TReferenceFailures failures;
    for (const std::vector<std::string>& row : Rows()) {
      if (row[0] != reference.Name) continue;
      ++count;
      const int day = Int(row[1]);
      const TcxDateTime expected{Int(row[2]), Int(row[3]), Int(row[4]), Int(row[5]), 6, 30, 15, 250};
      const TcxDateTime icu{Int(row[6]), Int(row[7]), Int(row[8]), Int(row[9]), 6, 30, 15, 250};
      const std::string& note = row[10];
      // Where a row names a known difference, the table's own rule holds;
      // everywhere else it is ICU's date.
      if (note.empty()) {
        if (!(expected == icu)) failures.Add("table data: expected value differs from ICU without a note: day " + row[1]);
      } else {
        ++differences[note];
        if (std::find(reference.KnownDifferences.begin(), reference.KnownDifferences.end(), note) ==
            reference.KnownDifferences.end())
          failures.Add("unknown difference " + note + " at day " + row[1]);
      }
      // A quarter past six and a bit, also before 1899-12-30.
      const TDateTime date = DayAndTime(day, ((6 * 60 + 30) * 60 + 15) * 1000 + 250);
      const TcxDateTime converted = table->FromDateTime(date);
      const TDateTime back = table->ToDateTime(expected);
      if (!(converted == expected) || back != date)
        failures.Add("day " + row[1] + (note.empty() ? "" : " (" + note + ")") + ": from " +
                     std::to_string(converted.Era) + "/" + std::to_string(converted.Year) + "-" +
                     std::to_string(converted.Month) + "-" + std::to_string(converted.Day) + ", expected " + row[2] +
                     "/" + row[3] + "-" + row[4] + "-" + row[5] + "; back " + std::to_string(back));
    }
    SCOPED_TRACE(testing::Message() << "calendar id " << id);
    failures.Report(reference.Name, count);
  }
  EXPECT_GE(count, 2000u * reference.CalendarIDs.size());
  for (const std::string& note : reference.KnownDifferences)
    EXPECT_GT(differences[note], 0) << "no row shows the difference " << note;
}

INSTANTIATE_TEST_SUITE_P(ICU, CalendarAgainstICU, testing::ValuesIn(GCalendarReferences),
                         [](const testing::TestParamInfo<TCalendarReference>& AInfo) {
                           return std::string(AInfo.param.Name);
                         });

// The table's ranges hold the reference's ends: the first and last rows of
// each calendar are the first and last supported days.
TEST(CalendarAgainstICURange, TheReferenceSpansEachSupportedRange) {
  const std::vector<std::vector<std::string>> rows = ReferenceTable(L"CALENDARS_CSV");
  for (const TCalendarReference& reference : GCalendarReferences) {
    SCOPED_TRACE(reference.Name);
    int first = 0, last = 0;
    bool any = false;
    for (const std::vector<std::string>& row : rows) {
      if (row[0] != reference.Name) continue;
      const int day = Int(row[1]);
      first = any ? std::min(first, day) : day;
      last = any ? std::max(last, day) : day;
      any = true;
    }
    ASSERT_TRUE(any);
    TcxCustomCalendarTable* table = GetCalendarTable(reference.CalendarIDs[0]);
    EXPECT_EQ(first, DateDayNumber(table->MinSupportedDate()));
    EXPECT_EQ(last, DateDayNumber(table->MaxSupportedDate()));
  }
}

// ---------------------------------------------------------------------------
// Week numbers (ICU, and Python's ISO-8601 weeks)

TEST(WeekNumbersAgainstICU, GregorianWeeksOverYearBoundaries) {
  TDateLocaleScope locale(L"en-US");
  const std::vector<std::vector<std::string>> rows = ReferenceTable(L"WEEKS_CSV");
  ASSERT_GT(rows.size(), 8000u);
  TReferenceFailures failures;
  std::size_t iso = 0;
  for (const std::vector<std::string>& row : rows) {
    const TDay start = static_cast<TDay>(Int(row[0]));
    const TcxFirstWeekOfYear rule = static_cast<TcxFirstWeekOfYear>(Int(row[1]));
    const int day = Int(row[2]), week = Int(row[3]);
    if (!row[4].empty()) {
      ++iso;
      if (Int(row[4]) != week) failures.Add("table data: ICU and ISO differ at day " + row[2]);
    }
    SetAssignedStartOfWeek(start);
    const int ours = GetGregorianWeekNumber(day + 0.75, rule);
    if (ours != week)
      failures.Add("start " + row[0] + " rule " + row[1] + " day " + row[2] + ": " + std::to_string(ours) +
                   ", ICU " + row[3]);
  }
  failures.Report("week", rows.size());
  EXPECT_GT(iso, 800u);
}

// ---------------------------------------------------------------------------
// Time zones (tzdata against Wine's registry)

// The list as the unit's start-up reads it; read again here, since a test of
// the core unit's shut-down runs the registered finalize procedures.
class TimeZoneList : public testing::Test {
 protected:
  static void SetUpTestSuite() { TdxTimeZoneHelper::LoadTimeZones(); }
};

const TcxTimeZoneInformation* FindZone(const std::string& AKey) {
  const String key(AKey.begin(), AKey.end());
  for (const TcxTimeZoneInformation& zone : TdxTimeZoneHelper::TimeZones())
    if (zone.StandardName == key) return &zone;
  return nullptr;
}

// The transitions of a zone in a year: from its per-year entries where it has
// one for the year, else from its fixed rule.
bool Transitions(const TcxTimeZoneInformation& AZone, int AYear, TDateTime& ADaylight, TDateTime& AStandard) {
  for (const TcxDSTInfo& entry : AZone.DynamicDST)
    if (entry.Year == AYear) {
      ADaylight = entry.DaylightDate;
      AStandard = entry.StandardDate;
      return entry.DaylightDate != 0;
    }
  if (AZone.TZI.StandardDate.wMonth == 0) return false;
  ADaylight = TdxTimeZoneHelper::TransitionDate(AYear, AZone.TZI.DaylightDate);
  AStandard = TdxTimeZoneHelper::TransitionDate(AYear, AZone.TZI.StandardDate);
  return true;
}

std::string LocalText(TDateTime ADate) {
  const SYSTEMTIME st = DateTimeToSystemTime(ADate);
  char text[32];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
                st.wMinute, st.wSecond);
  return text;
}

TEST_F(TimeZoneList, OffsetsAndTransitionsOf2020To2030AgreeWithTzdata) {
  const std::vector<std::vector<std::string>> rows = ReferenceTable(L"TIMEZONES_CSV");
  ASSERT_GT(rows.size(), 100u);
  TReferenceFailures failures;
  std::map<std::string, int> zones;
  for (const std::vector<std::string>& row : rows) {
    const std::string& key = row[1];
    const int year = Int(row[2]);
    const std::string& event = row[3];
    const TcxTimeZoneInformation* zone = FindZone(key);
    if (!zone) {
      failures.Add("no zone " + key + " in the registry");
      continue;
    }
    ++zones[key];
    const int standard = -(zone->TZI.Bias + zone->TZI.StandardBias);
    const int daylight = -(zone->TZI.Bias + zone->TZI.DaylightBias);
    TDateTime daylightStart = 0, standardStart = 0;
    const bool dst = Transitions(*zone, year, daylightStart, standardStart);
    const std::string where = row[0] + " " + row[2] + " " + event + ": ";
    if (event == "daylight" || event == "standard") {
      const bool toDaylight = event == "daylight";
      const std::string local = dst ? LocalText(toDaylight ? daylightStart : standardStart) : "none";
      if (local != row[4]) failures.Add(where + local + ", tzdata " + row[4]);
      const int before = toDaylight ? standard : daylight, after = toDaylight ? daylight : standard;
      if (before != Int(row[5]) || after != Int(row[6]))
        failures.Add(where + "offsets " + std::to_string(before) + " to " + std::to_string(after));
    } else {
      // A moment in January or July: daylight time between the two
      // transitions (which wrap around the new year in the south).
      const TDateTime moment = EncodeDateTime(year, event == "january" ? 1 : 7, 15, 12, 0, 0, 0);
      bool inDaylight = false;
      if (dst)
        inDaylight = daylightStart < standardStart ? moment >= daylightStart && moment < standardStart
                                                   : moment >= daylightStart || moment < standardStart;
      const int offset = inDaylight ? daylight : standard;
      if (offset != Int(row[5])) failures.Add(where + "offset " + std::to_string(offset) + ", tzdata " + row[5]);
    }
  }
  failures.Report("time-zone", rows.size());
  EXPECT_EQ(zones.size(), 4u);
}

// ---------------------------------------------------------------------------
// The registry's list

TEST_F(TimeZoneList, HoldsEveryZoneOfTheRegistry) {
  TRegKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", 0,
                          KEY_READ, key.Receive()),
            ERROR_SUCCESS);
  DWORD subKeys = 0;
  RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr);
  const std::vector<TcxTimeZoneInformation>& zones = TdxTimeZoneHelper::TimeZones();
  EXPECT_EQ(zones.size(), subKeys);
  const TcxTimeZoneInformation* berlin = FindZone("W. Europe Standard Time");
  ASSERT_NE(berlin, nullptr);
  EXPECT_EQ(berlin->Display, L"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna");
  EXPECT_EQ(berlin->DaylightName, L"W. Europe Daylight Time");
  EXPECT_EQ(berlin->TZI.Bias, -60);
  EXPECT_EQ(berlin->TZI.StandardDate.wMonth, 10);
  const TcxTimeZoneInformation* newYork = FindZone("Eastern Standard Time");
  ASSERT_NE(newYork, nullptr);
  // Wine keeps per-year rules for 2000 to 2007 (FirstEntry and LastEntry).
  ASSERT_EQ(newYork->DynamicDST.size(), 8u);
  EXPECT_EQ(newYork->DynamicDST.front().Year, 2000);
  EXPECT_EQ(LocalText(newYork->DynamicDST.front().DaylightDate), "2000-04-02 02:00:00");
  EXPECT_EQ(LocalText(newYork->DynamicDST.back().DaylightDate), "2007-03-11 02:00:00");
}

TEST_F(TimeZoneList, TheCurrentZoneIsFoundInIt) {
  TIME_ZONE_INFORMATION system{};
  GetTimeZoneInformation(&system);
  const TcxTimeZoneInformation& current = TdxTimeZoneHelper::CurrentTimeZone();
  EXPECT_EQ(current.StandardName, String(system.StandardName));
  EXPECT_EQ(current.TZI.Bias, system.Bias);
  const int index = TdxTimeZoneHelper::CurrentTimeZoneIndex();
  ASSERT_GE(index, 0);
  ASSERT_LT(index, static_cast<int>(TdxTimeZoneHelper::TimeZones().size()));
  String keyName;
  ASSERT_TRUE(TdxTimeZoneHelper::GetDynamicTimeZoneKeyName(keyName));
  // Wine's zones carry their key name as the standard name.
  EXPECT_EQ(TdxTimeZoneHelper::TimeZones()[static_cast<std::size_t>(index)].StandardName, keyName);
  EXPECT_EQ(TdxTimeZoneHelper::TimeZones()[static_cast<std::size_t>(index)].TZI.Bias, system.Bias);
}

TEST(DateUnit, StartUpReadsTheZonesAndShutDownReleasesZonesAndTables) {
  cxDateUtilsFinalization();
  EXPECT_TRUE(TdxTimeZoneHelper::TimeZones().empty());
  EXPECT_EQ(TdxTimeZoneHelper::CurrentTimeZoneIndex(), -1);
  EXPECT_EQ(CalendarTables(), nullptr);
  EXPECT_EQ(GetCalendarTable(cxCalendarHebrew), nullptr);
  EXPECT_TRUE(SmartInputKeywords().empty());
  cxDateUtilsInitialization();
  EXPECT_FALSE(TdxTimeZoneHelper::TimeZones().empty());  // at once, in an executable
  EXPECT_GE(TdxTimeZoneHelper::CurrentTimeZoneIndex(), 0);
  const std::vector<TdxUnitProc>& finalizers = GetUnitsLoader()->FinalizeList();
  EXPECT_NE(std::find(finalizers.begin(), finalizers.end(), &TdxTimeZoneHelper::ClearTimeZones), finalizers.end());
  ASSERT_NE(GetCalendarTable(cxCalendarHebrew), nullptr);
  EXPECT_EQ(GetStartOfWeek(), GetLocaleStartOfWeek());
}

TEST(DateUnit, TheStartUpReadOnFirstUseGivesWhatADirectReadGives) {
  TdxTimeZoneHelper::LoadTimeZones();
  const std::vector<TcxTimeZoneInformation> direct = TdxTimeZoneHelper::TimeZones();
  const int directIndex = TdxTimeZoneHelper::CurrentTimeZoneIndex();
  ASSERT_FALSE(direct.empty());

  TdxTimeZoneHelper::LoadTimeZonesOnFirstUse();
  TdxTimeZoneHelper::ClearTimeZones();  // before the first use read anything
  EXPECT_TRUE(TdxTimeZoneHelper::TimeZones().empty());

  TdxTimeZoneHelper::LoadTimeZonesOnFirstUse();
  const std::vector<TcxTimeZoneInformation>& read = TdxTimeZoneHelper::TimeZones();
  ASSERT_EQ(read.size(), direct.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(read[i].Display, direct[i].Display);
    EXPECT_EQ(read[i].StandardName, direct[i].StandardName);
    EXPECT_EQ(std::memcmp(&read[i].TZI, &direct[i].TZI, sizeof(TcxTZIField)), 0);
    EXPECT_EQ(read[i].DynamicDST.size(), direct[i].DynamicDST.size());
  }
  EXPECT_EQ(TdxTimeZoneHelper::CurrentTimeZoneIndex(), directIndex);
}

TEST(TimeZones, TransitionDates) {
  const auto rule = [](WORD AMonth, WORD ADayOfWeek, WORD AOccurrence, WORD AHour, WORD AYear = 0) {
    SYSTEMTIME st{};
    st.wYear = AYear;
    st.wMonth = AMonth;
    st.wDayOfWeek = ADayOfWeek;
    st.wDay = AOccurrence;
    st.wHour = AHour;
    return st;
  };
  struct Case {
    const char* Name;
    SYSTEMTIME Rule;
    const char* Expected;
  };
  const Case cases[] = {
      {"second Sunday of March", rule(3, 0, 2, 2), "2024-03-10 02:00:00"},
      {"first Sunday of November", rule(11, 0, 1, 2), "2024-11-03 02:00:00"},
      {"last Sunday of October", rule(10, 0, 5, 3), "2024-10-27 03:00:00"},
      {"fifth Friday of February: the fourth", rule(2, 5, 5, 0), "2024-02-23 00:00:00"},
      {"fifth Thursday of February: the fifth", rule(2, 4, 5, 0), "2024-02-29 00:00:00"},
      {"first Monday of January", rule(1, 1, 1, 0), "2024-01-01 00:00:00"},
      {"an absolute date", rule(4, 0, 7, 1, 2024), "2024-04-07 01:00:00"},
      {"an absolute date of another year is a rule", rule(4, 0, 1, 1, 2023), "2024-04-07 01:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LocalText(TdxTimeZoneHelper::TransitionDate(2024, c.Rule)), c.Expected);
  }
  TDateTime date = 0;
  EXPECT_FALSE(TdxTimeZoneHelper::TryTransitionDate(2024, rule(13, 0, 1, 0), date));
  EXPECT_FALSE(TdxTimeZoneHelper::TryTransitionDate(2024, rule(3, 7, 1, 0), date));
  EXPECT_FALSE(TdxTimeZoneHelper::TryTransitionDate(2024, rule(3, 0, 1, 24), date));
  EXPECT_FALSE(TdxTimeZoneHelper::TryTransitionDate(2024, rule(2, 0, 30, 0, 2024), date));
  EXPECT_THROW(TdxTimeZoneHelper::TransitionDate(2024, rule(0, 0, 1, 0)), EConvertError);
}

TEST(TimeZones, SystemRecordsKeepBiasesDatesAndNames) {
  TcxTimeZoneInformation info;
  info.StandardName = String(40, L'S');  // longer than the record holds
  info.DaylightName = L"Daylight";
  info.TZI.Bias = -330;
  info.TZI.DaylightBias = -60;
  info.TZI.StandardDate.wMonth = 10;
  TIME_ZONE_INFORMATION system;
  std::memset(&system, 0xAB, sizeof(system));
  TdxTimeZoneHelper::TimeZoneToSystemInformation(info, system);
  EXPECT_EQ(system.Bias, -330);
  EXPECT_EQ(String(system.StandardName), String(31, L'S'));
  EXPECT_EQ(system.StandardName[31], L'\0');
  EXPECT_EQ(system.DaylightName[8], L'\0');
  EXPECT_EQ(system.DaylightName[31], L'\0');  // the rest is zero
  TcxTimeZoneInformation back;
  TdxTimeZoneHelper::TimeZoneFromSystemInformation(system, back);
  EXPECT_EQ(back.StandardName, String(31, L'S'));
  EXPECT_EQ(back.DaylightName, L"Daylight");
  EXPECT_EQ(back.TZI.DaylightBias, -60);
  EXPECT_EQ(back.TZI.StandardDate.wMonth, 10);
}

// A zone key written by the test below the current user's key: the reader
// takes what is well formed and skips the rest.
class TimeZoneRegistryKey : public testing::Test {
 protected:
  const String FPath = L"Software\\Skarnivel Tests\\Time zone " + IntToStr(static_cast<int>(GetCurrentProcessId()));
  TOwned<TRegistry> FRegistry{New<TRegistry>()};

  void SetUp() override {
    FRegistry->SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(FRegistry->OpenKey(L"\\" + FPath, true));
    FRegistry->WriteString(L"Display", L"(UTC+02:00) Test");
    FRegistry->WriteInteger(L"Std", 7);  // of the wrong type: left empty
    FRegistry->WriteString(L"Dlt", L"Test Daylight Time");
    FRegistry->WriteString(L"MapID", L"1,2");
    FRegistry->WriteInteger(L"Index", 42);
    TcxTZIField tzi;
    tzi.Bias = -120;
    tzi.DaylightBias = -60;
    tzi.StandardDate.wMonth = 10;
    tzi.StandardDate.wDay = 5;
    tzi.DaylightDate.wMonth = 3;
    tzi.DaylightDate.wDay = 5;
    FRegistry->WriteBinaryData(L"TZI", &tzi, sizeof(tzi));
    FRegistry->CloseKey();
  }
  void TearDown() override {
    FRegistry->CloseKey();
    FRegistry->DeleteKey(L"\\" + FPath);
  }

  void WriteYear(const String& AName, const TcxTZIField& ATZI, int ASize = sizeof(TcxTZIField)) {
    FRegistry->WriteBinaryData(AName, &ATZI, ASize);
  }

  TcxTimeZoneInformation Read() {
    TcxTimeZoneInformation info;
    EXPECT_TRUE(FRegistry->OpenKeyReadOnly(L"\\" + FPath));
    TdxTimeZoneHelper::ReadTimeZoneFromRegistry(FRegistry.get(), info);
    FRegistry->CloseKey();
    return info;
  }
};

TEST_F(TimeZoneRegistryKey, ReadsTheValuesThatAreWellFormed) {
  const TcxTimeZoneInformation info = Read();
  EXPECT_EQ(info.Display, L"(UTC+02:00) Test");
  EXPECT_EQ(info.StandardName, L"");
  EXPECT_EQ(info.DaylightName, L"Test Daylight Time");
  EXPECT_EQ(info.MapId, L"1,2");
  EXPECT_EQ(info.Index, 42);
  EXPECT_EQ(info.TZI.Bias, -120);
  EXPECT_EQ(info.TZI.StandardDate.wMonth, 10);
  EXPECT_TRUE(info.DynamicDST.empty());
}

TEST_F(TimeZoneRegistryKey, DynamicDSTWithoutItsRangeAddsNothing) {
  ASSERT_TRUE(FRegistry->OpenKey(L"\\" + FPath + L"\\Dynamic DST", true));
  WriteYear(L"2020", TcxTZIField{});
  FRegistry->CloseKey();
  EXPECT_TRUE(Read().DynamicDST.empty());
}

TEST_F(TimeZoneRegistryKey, DynamicDSTTakesWellFormedYearsOfItsRangeInOrder) {
  ASSERT_TRUE(FRegistry->OpenKey(L"\\" + FPath + L"\\Dynamic DST", true));
  // A range the size of the integers: only the years present are read.
  FRegistry->WriteInteger(L"FirstEntry", 0);
  FRegistry->WriteInteger(L"LastEntry", 0x7FFFFFFF);
  TcxTZIField rule;
  rule.StandardDate.wMonth = 10;
  rule.StandardDate.wDay = 5;
  rule.StandardDate.wHour = 3;
  rule.DaylightDate.wMonth = 3;
  rule.DaylightDate.wDay = 5;
  rule.DaylightDate.wHour = 2;
  WriteYear(L"2022", rule);
  WriteYear(L"2020", rule);
  WriteYear(L"2021", TcxTZIField{});  // no daylight saving that year
  WriteYear(L"2023", rule, 40);       // too short
  FRegistry->WriteString(L"2024", L"not binary");
  WriteYear(L"02025", rule);           // not a year's own name
  TcxTZIField broken = rule;
  broken.DaylightDate.wMonth = 14;     // names no date
  WriteYear(L"2026", broken);
  FRegistry->CloseKey();
  const TcxTimeZoneInformation info = Read();
  ASSERT_EQ(info.DynamicDST.size(), 3u);
  EXPECT_EQ(info.DynamicDST[0].Year, 2020);
  EXPECT_EQ(LocalText(info.DynamicDST[0].DaylightDate), "2020-03-29 02:00:00");
  EXPECT_EQ(LocalText(info.DynamicDST[0].StandardDate), "2020-10-25 03:00:00");
  EXPECT_EQ(info.DynamicDST[1].Year, 2021);
  EXPECT_EQ(info.DynamicDST[1].DaylightDate, 0);
  EXPECT_EQ(info.DynamicDST[1].StandardDate, 0);
  EXPECT_EQ(info.DynamicDST[2].Year, 2022);
  EXPECT_EQ(info.TZI.Bias, -120);  // the zone's own values were read first
}

}  // namespace
