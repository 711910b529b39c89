// The time zones of the registry: read once, when first asked for after
// start-up, with the system's current zone found among them.
//
// The registry is input like any file: a value of the wrong type or size is
// skipped, a rule that names no date drops only its year, and a per-year
// range is walked through the values that exist, so no entry of the key can
// stop the start-up or hold it up.
#include "library/core/locale/cxDateUtils.h"

#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

namespace {

std::vector<TcxTimeZoneInformation> GTimeZones;
TcxTimeZoneInformation GCurrentTimeZone;
int GCurrentTimeZoneIndex = -1;

// Set by the unit's start-up until the first use reads the list: a few
// thousand registry round trips that only time-zone features need.
bool GReadDue = false;

const wchar_t* TimeZonesKey() {
  return IsWinNT || !IsWin9X ? L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"
                             : L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones";
}

// The values of an open key, each read once: under Wine every registry call
// is a round trip to the server, and the list is read at every start-up.
class TZoneKeyValues {
 public:
  explicit TZoneKeyValues(HKEY AKey) {
    DWORD count = 0, nameLength = 0, dataLength = 0;
    if (!AKey || RegQueryInfoKeyW(AKey, nullptr, nullptr, nullptr, &FSubKeys, nullptr, nullptr, &count, &nameLength,
                                  &dataLength, nullptr, nullptr) != ERROR_SUCCESS)
      return;
    String name(nameLength + 1, L'\0');
    std::vector<BYTE> data(dataLength);
    for (DWORD i = 0; i < count; ++i) {
      DWORD nameSize = nameLength + 1, dataSize = dataLength, type = 0;
      if (RegEnumValueW(AKey, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
        continue;  // changed meanwhile: skipped like a malformed value
      FValues.push_back({name.substr(0, nameSize), type, std::vector<BYTE>(data.begin(), data.begin() + dataSize)});
    }
  }

  bool HasSubKeys() const { return FSubKeys > 0; }

  // A string value, or ACurrent when the value is missing or of another type.
  String Text(const wchar_t* AName, const String& ACurrent) const {
    const TValue* value = Find(AName);
    if (!value || (value->Type != REG_SZ && value->Type != REG_EXPAND_SZ)) return ACurrent;
    String text(reinterpret_cast<const wchar_t*>(value->Data.data()), value->Data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
  }

  int Integer(const wchar_t* AName, int ADefault) const {
    const TValue* value = Find(AName);
    if (!value || value->Type != REG_DWORD || value->Data.size() < sizeof(DWORD)) return ADefault;
    DWORD number = 0;
    std::memcpy(&number, value->Data.data(), sizeof(number));
    return static_cast<int>(number);
  }

  // The first 44 bytes of a binary value as a REG_TZI_FORMAT; false for a
  // value that is missing, not binary or shorter.
  bool TZI(const String& AName, TcxTZIField& ATZI) const {
    const TValue* value = Find(AName);
    if (!value || value->Type != REG_BINARY || value->Data.size() < sizeof(TcxTZIField)) return false;
    std::memcpy(&ATZI, value->Data.data(), sizeof(TcxTZIField));
    return true;
  }

  // The years from AFirst to ALast that have a value named by the year's own
  // decimal number ("2020", not "02020"), in ascending order.
  std::vector<int> Years(int AFirst, int ALast) const {
    std::vector<int> years;
    for (const TValue& value : FValues) {
      int year = 0;
      if (TryStrToInt(value.Name, year) && IntToStr(year) == value.Name && year >= AFirst && year <= ALast)
        years.push_back(year);
    }
    std::sort(years.begin(), years.end());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    return years;
  }

 private:
  struct TValue {
    String Name;
    DWORD Type;
    std::vector<BYTE> Data;
  };

  // Value names compare ignoring case, as the registry's do.
  const TValue* Find(const String& AName) const {
    for (const TValue& value : FValues)
      if (SameText(value.Name, AName)) return &value;
    return nullptr;
  }

  std::vector<TValue> FValues;
  DWORD FSubKeys = 0;
};

// The per-year entries of a "Dynamic DST" key from AFirst to ALast.
void ReadDynamicDST(const TZoneKeyValues& AValues, std::vector<TcxDSTInfo>& AEntries) {
  const int first = AValues.Integer(L"FirstEntry", std::numeric_limits<int>::max());
  const int last = AValues.Integer(L"LastEntry", -1);
  for (int year : AValues.Years(first, last)) {
    TcxTZIField tzi;
    if (!AValues.TZI(IntToStr(year), tzi)) continue;
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

namespace {

void ForgetTimeZones() {
  GTimeZones = {};
  GCurrentTimeZone = {};
  GCurrentTimeZoneIndex = -1;
}

}  // namespace

void TdxTimeZoneHelper::ReadWhenDue() {
  // Cleared first: a read that raises is not tried again.
  if (std::exchange(GReadDue, false)) ReadTimeZones();
}

const std::vector<TcxTimeZoneInformation>& TdxTimeZoneHelper::TimeZones() {
  ReadWhenDue();
  return GTimeZones;
}

const TcxTimeZoneInformation& TdxTimeZoneHelper::CurrentTimeZone() {
  ReadWhenDue();
  return GCurrentTimeZone;
}

int TdxTimeZoneHelper::CurrentTimeZoneIndex() {
  ReadWhenDue();
  return GCurrentTimeZoneIndex;
}

void TdxTimeZoneHelper::ClearTimeZones() {
  GReadDue = false;
  ForgetTimeZones();
}

void TdxTimeZoneHelper::LoadTimeZonesOnFirstUse() {
  ClearTimeZones();
  GReadDue = true;
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
  ReadTimeZones();
}

void TdxTimeZoneHelper::ReadTimeZones() {
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
  const TZoneKeyValues values(ARegistry->CurrentKey());
  AInfo.Display = values.Text(L"Display", AInfo.Display);
  AInfo.StandardName = values.Text(L"Std", AInfo.StandardName);
  AInfo.DaylightName = values.Text(L"Dlt", AInfo.DaylightName);
  AInfo.MapId = values.Text(L"MapID", AInfo.MapId);
  AInfo.Index = values.Integer(L"Index", AInfo.Index);
  values.TZI(L"TZI", AInfo.TZI);
  if (!values.HasSubKeys()) return;
  const String path = ARegistry->CurrentPath();
  ARegistry->CloseKey();
  if (!ARegistry->OpenKeyReadOnly(L"\\" + path + L"\\Dynamic DST")) return;
  ReadDynamicDST(TZoneKeyValues(ARegistry->CurrentKey()), AInfo.DynamicDST);
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
