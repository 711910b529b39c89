// The time zones of the registry: read once at start-up, with the system's
// current zone found among them.
//
// The registry is input like any file: a value of the wrong type or size is
// skipped, a rule that names no date drops only its year, and a per-year
// range is walked through the values that exist, so no entry of the key can
// stop the start-up or hold it up.
#include "library/core/cxDateUtils.h"

#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

std::vector<TcxTimeZoneInformation> GTimeZones;
TcxTimeZoneInformation GCurrentTimeZone;
int GCurrentTimeZoneIndex = -1;

const wchar_t* TimeZonesKey() {
  return IsWinNT || !IsWin9X ? L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"
                             : L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones";
}

String ReadStringValue(TRegistry* ARegistry, const String& AName, const String& ACurrent) {
  const TRegDataType type = ARegistry->GetDataType(AName);
  return type == rdString || type == rdExpandString ? ARegistry->ReadString(AName) : ACurrent;
}

int ReadIntegerValue(TRegistry* ARegistry, const String& AName, int ADefault) {
  return ARegistry->GetDataType(AName) == rdInteger ? ARegistry->ReadInteger(AName) : ADefault;
}

// The first 44 bytes of a binary value as a REG_TZI_FORMAT; false for a value
// that is missing, not binary or shorter.
bool ReadTZIValue(TRegistry* ARegistry, const String& AName, TcxTZIField& ATZI) {
  TRegDataInfo info;
  if (!ARegistry->GetDataInfo(AName, info) || info.RegData != rdBinary ||
      info.DataSize < static_cast<int>(sizeof(TcxTZIField)))
    return false;
  const TBytes bytes = ARegistry->ReadBinaryBytes(AName);
  if (bytes.size() < sizeof(TcxTZIField)) return false;
  std::memcpy(&ATZI, bytes.data(), sizeof(TcxTZIField));
  return true;
}

// The per-year values of an open "Dynamic DST" key from AFirst to ALast, in
// ascending order of the year.
void ReadDynamicDST(TRegistry* ARegistry, int AFirst, int ALast, std::vector<TcxDSTInfo>& AEntries) {
  TOwned<TStringList> names(New<TStringList>());
  ARegistry->GetValueNames(names.get());
  std::vector<int> years;
  for (int i = 0; i < names->Count(); ++i) {
    const String name = names->Strings(i);
    int year = 0;
    // Only a year's own decimal name ("2020", not "02020" or " 2020").
    if (TryStrToInt(name, year) && IntToStr(year) == name && year >= AFirst && year <= ALast) years.push_back(year);
  }
  std::sort(years.begin(), years.end());
  years.erase(std::unique(years.begin(), years.end()), years.end());
  for (int year : years) {
    TcxTZIField tzi;
    if (!ReadTZIValue(ARegistry, IntToStr(year), tzi)) continue;
    TcxDSTInfo entry;
    entry.Year = static_cast<std::uint16_t>(year);
    if (tzi.StandardDate.wMonth != 0 &&
        (!TdxTimeZoneHelper::TryTransitionDate(year, tzi.DaylightDate, entry.DaylightDate) ||
         !TdxTimeZoneHelper::TryTransitionDate(year, tzi.StandardDate, entry.StandardDate)))
      continue;
    AEntries.push_back(entry);
  }
}

void CopyName(const String& AName, WCHAR (&ATarget)[32]) {
  const std::size_t length = std::min<std::size_t>(AName.size(), 31);
  std::copy_n(AName.data(), length, ATarget);
  ATarget[length] = L'\0';
}

String NameOf(const WCHAR (&ASource)[32]) { return String(ASource, ASource + wcsnlen(ASource, 32)); }

}  // namespace

const std::vector<TcxTimeZoneInformation>& TdxTimeZoneHelper::TimeZones() { return GTimeZones; }
const TcxTimeZoneInformation& TdxTimeZoneHelper::CurrentTimeZone() { return GCurrentTimeZone; }
int TdxTimeZoneHelper::CurrentTimeZoneIndex() { return GCurrentTimeZoneIndex; }

void TdxTimeZoneHelper::ClearTimeZones() {
  GTimeZones = {};
  GCurrentTimeZone = {};
  GCurrentTimeZoneIndex = -1;
}

bool TdxTimeZoneHelper::GetDynamicTimeZoneKeyName(String& AKeyName) {
  using TGetDynamicTimeZoneInformation = DWORD(WINAPI*)(PDYNAMIC_TIME_ZONE_INFORMATION);
  const TOwnedModule kernel(LoadLibraryW(L"kernel32.dll"));
  if (!kernel) return false;
  const auto getInformation = reinterpret_cast<TGetDynamicTimeZoneInformation>(
      reinterpret_cast<void*>(GetProcAddress(kernel.Get(), "GetDynamicTimeZoneInformation")));
  if (!getInformation) return false;
  DYNAMIC_TIME_ZONE_INFORMATION information{};
  if (getInformation(&information) == TIME_ZONE_ID_INVALID) return false;
  AKeyName.assign(information.TimeZoneKeyName, wcsnlen(information.TimeZoneKeyName, 128));
  return true;
}

void TdxTimeZoneHelper::LoadTimeZones() {
  ClearTimeZones();
  TIME_ZONE_INFORMATION system{};
  GetTimeZoneInformation(&system);
  TimeZoneFromSystemInformation(system, GCurrentTimeZone);
  TIME_ZONE_INFORMATION current{};
  TimeZoneToSystemInformation(GCurrentTimeZone, current);
  String keyName;
  if (!GetDynamicTimeZoneKeyName(keyName)) keyName.clear();

  TOwned<TRegistry> registry(New<TRegistry>(KEY_READ));
  registry->SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry->OpenKeyReadOnly(TimeZonesKey()) || !registry->HasSubKeys()) return;
  const String zonesPath = registry->CurrentPath();
  TOwned<TStringList> names(New<TStringList>());
  registry->GetKeyNames(names.get());
  GTimeZones.resize(static_cast<std::size_t>(names->Count()));
  for (int i = 0; i < names->Count(); ++i) {
    const String name = names->Strings(i);
    TcxTimeZoneInformation& zone = GTimeZones[static_cast<std::size_t>(i)];
    if (!registry->OpenKeyReadOnly(L"\\" + zonesPath + L"\\" + name)) continue;
    ReadTimeZoneFromRegistry(registry.get(), zone);
    registry->CloseKey();
    TIME_ZONE_INFORMATION information{};
    TimeZoneToSystemInformation(zone, information);
    // The bias and the standard name: the first 68 bytes of the record.
    constexpr std::size_t compared = offsetof(TIME_ZONE_INFORMATION, StandardDate);
    if (keyName.empty() ? std::memcmp(&information, &current, compared) == 0 : SameText(name, keyName))
      GCurrentTimeZoneIndex = i;
  }
}

void TdxTimeZoneHelper::ReadTimeZoneFromRegistry(TRegistry* ARegistry, TcxTimeZoneInformation& AInfo) {
  AInfo.Display = ReadStringValue(ARegistry, L"Display", AInfo.Display);
  AInfo.StandardName = ReadStringValue(ARegistry, L"Std", AInfo.StandardName);
  AInfo.DaylightName = ReadStringValue(ARegistry, L"Dlt", AInfo.DaylightName);
  AInfo.MapId = ReadStringValue(ARegistry, L"MapID", AInfo.MapId);
  AInfo.Index = ReadIntegerValue(ARegistry, L"Index", AInfo.Index);
  ReadTZIValue(ARegistry, L"TZI", AInfo.TZI);
  if (!ARegistry->HasSubKeys()) return;
  const String path = ARegistry->CurrentPath();
  ARegistry->CloseKey();
  if (!ARegistry->OpenKeyReadOnly(L"\\" + path + L"\\Dynamic DST")) return;
  const int first = ReadIntegerValue(ARegistry, L"FirstEntry", std::numeric_limits<int>::max());
  const int last = ReadIntegerValue(ARegistry, L"LastEntry", -1);
  ReadDynamicDST(ARegistry, first, last, AInfo.DynamicDST);
}

bool TdxTimeZoneHelper::TryTransitionDate(int AYear, const SYSTEMTIME& ASystemTime, TDateTime& ADate) {
  TDateTime time = 0;
  if (!TryEncodeTime(ASystemTime.wHour, ASystemTime.wMinute, ASystemTime.wSecond, ASystemTime.wMilliseconds, time))
    return false;
  int year = AYear, month = ASystemTime.wMonth, day = ASystemTime.wDay;
  if (ASystemTime.wYear != AYear) {
    // The occurrence of a weekday in the month; 5 (or more) means the last.
    TDateTime first = 0;
    if (ASystemTime.wDayOfWeek > 6 || !TryEncodeDate(AYear, month, 1, first)) return false;
    if (ASystemTime.wDay >= 1 && ASystemTime.wDay <= 4) {
      int c = ASystemTime.wDayOfWeek - DayOfWeek(first) + 2;
      if (c <= 0) c += 7;
      day = c + 7 * (ASystemTime.wDay - 1);
    } else {
      const int days = DaysInAMonth(AYear, month);
      const int lastWeekday = DayOfWeek(EncodeDate(AYear, month, days));
      day = days + ASystemTime.wDayOfWeek - lastWeekday + 1;
      if (day > days) day -= 7;
    }
  } else {
    year = ASystemTime.wYear;
  }
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  ADate = EncodeDateTime(year, month, day, ASystemTime.wHour, ASystemTime.wMinute, ASystemTime.wSecond,
                         ASystemTime.wMilliseconds);
  return true;
}

TDateTime TdxTimeZoneHelper::TransitionDate(int AYear, const SYSTEMTIME& ASystemTime) {
  TDateTime result = 0;
  if (!TryTransitionDate(AYear, ASystemTime, result))
    throw EConvertError(L"Ungültiges Argument für Datumskodierung: %d-%d-%d",
                        {AYear, static_cast<int>(ASystemTime.wMonth), static_cast<int>(ASystemTime.wDay)});
  return result;
}

void TdxTimeZoneHelper::TimeZoneToSystemInformation(const TcxTimeZoneInformation& AInfo,
                                                    TIME_ZONE_INFORMATION& ATimeZone) {
  ATimeZone = {};
  ATimeZone.Bias = AInfo.TZI.Bias;
  ATimeZone.StandardBias = AInfo.TZI.StandardBias;
  ATimeZone.DaylightBias = AInfo.TZI.DaylightBias;
  ATimeZone.StandardDate = AInfo.TZI.StandardDate;
  ATimeZone.DaylightDate = AInfo.TZI.DaylightDate;
  CopyName(AInfo.StandardName, ATimeZone.StandardName);
  CopyName(AInfo.DaylightName, ATimeZone.DaylightName);
}

void TdxTimeZoneHelper::TimeZoneFromSystemInformation(const TIME_ZONE_INFORMATION& ATimeZone,
                                                      TcxTimeZoneInformation& AInfo) {
  AInfo.TZI.Bias = ATimeZone.Bias;
  AInfo.TZI.StandardBias = ATimeZone.StandardBias;
  AInfo.TZI.DaylightBias = ATimeZone.DaylightBias;
  AInfo.TZI.StandardDate = ATimeZone.StandardDate;
  AInfo.TZI.DaylightDate = ATimeZone.DaylightDate;
  AInfo.StandardName = NameOf(ATimeZone.StandardName);
  AInfo.DaylightName = NameOf(ATimeZone.DaylightName);
}
