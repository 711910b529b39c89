#include "platform/classes/IniFiles.h"

#include "platform/classes/Streams.h"

#include <algorithm>
#include <cwctype>
#include <memory>

namespace {


bool IsBlank(wchar_t C) { return C <= L' '; }

String TrimBlanks(const String& S) {
  std::size_t first = 0;
  std::size_t last = S.size();
  while (first < last && IsBlank(S[first])) ++first;
  while (last > first && IsBlank(S[last - 1])) --last;
  return S.substr(first, last - first);
}

// ---------------------------------------------------------------------------
// Dates and times as text: the user's short date order and separators, or
// the invariant yyyy-mm-dd; times h[:n[:s[.z]]] with an optional AM/PM mark.

int CurrentYear() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wYear;
}

// The numbers of S in order; false when S has anything but digits and separators.
bool SplitNumbers(const String& S, std::vector<int>& ANumbers, std::vector<int>& ADigits) {
  std::size_t i = 0;
  while (i < S.size()) {
    if (!std::iswdigit(S[i])) {
      const wchar_t c = S[i];
      if (!(c == L'/' || c == L'.' || c == L'-' || c == L' ' || c == L':' || c == L'\t')) return false;
      ++i;
      continue;
    }
    long long value = 0;
    int digits = 0;
    while (i < S.size() && std::iswdigit(S[i])) {
      if (digits < 9) value = value * 10 + (S[i] - L'0');
      ++digits;
      ++i;
    }
    if (digits > 9) return false;
    ANumbers.push_back(static_cast<int>(value));
    ADigits.push_back(digits);
  }
  return true;
}

bool TryParseDate(const String& AText, const TFormatSettings& ASettings, TDateTime& AValue) {
  String text = TrimBlanks(AText);
  if (text.empty()) return false;
  // The user's separator may be a letter-free character other than the usual ones.
  if (ASettings.DateSeparator && !std::iswalnum(ASettings.DateSeparator))
    std::replace(text.begin(), text.end(), ASettings.DateSeparator, L'/');
  std::vector<int> numbers, digits;
  if (!SplitNumbers(text, numbers, digits) || numbers.size() < 2 || numbers.size() > 3) return false;
  int year = 0, month = 0, day = 0;
  if (numbers.size() == 3 && digits[0] > 2) {  // yyyy-mm-dd
    year = numbers[0];
    month = numbers[1];
    day = numbers[2];
  } else {
    // The order of day, month and year in the short date format.
    String order;
    for (wchar_t c : ASettings.ShortDateFormat) {
      const wchar_t l = static_cast<wchar_t>(std::towlower(c));
      if ((l == L'd' || l == L'm' || l == L'y') && order.find(l) == String::npos) order += l;
    }
    if (order.size() != 3) order = L"mdy";
    if (numbers.size() == 2) {
      order.erase(order.find(L'y'), 1);
      year = CurrentYear();
    }
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      switch (order[k]) {
        case L'd': day = numbers[k]; break;
        case L'm': month = numbers[k]; break;
        default:
          year = numbers[k];
          if (digits[k] <= 2) {
            const int window = ASettings.TwoDigitYearCenturyWindow;
            const int threshold = CurrentYear() - window;
            year += threshold / 100 * 100;
            if (window > 0 && year < threshold) year += 100;
          }
          break;
      }
    }
  }
  return TryEncodeDate(year, month, day, AValue);
}

bool TryParseTime(const String& AText, const TFormatSettings& ASettings, TDateTime& AValue) {
  String text = TrimBlanks(AText);
  if (text.empty()) return false;
  int pm = -1;  // -1 no mark, 0 AM, 1 PM
  auto stripMark = [&](const String& AMark, int AKind) {
    if (AMark.empty() || text.size() < AMark.size()) return false;
    const String tail = text.substr(text.size() - AMark.size());
    if (::CompareStringOrdinal(tail.data(), static_cast<int>(tail.size()), AMark.data(),
                               static_cast<int>(AMark.size()), TRUE) != CSTR_EQUAL)
      return false;
    pm = AKind;
    text = TrimBlanks(text.substr(0, text.size() - AMark.size()));
    return true;
  };
  stripMark(ASettings.TimePMString, 1) || stripMark(L"PM", 1) || stripMark(ASettings.TimeAMString, 0) ||
      stripMark(L"AM", 0);
  if (ASettings.TimeSeparator && !std::iswalnum(ASettings.TimeSeparator))
    std::replace(text.begin(), text.end(), ASettings.TimeSeparator, L':');
  if (ASettings.DecimalSeparator && !std::iswalnum(ASettings.DecimalSeparator))
    std::replace(text.begin(), text.end(), ASettings.DecimalSeparator, L'.');
  std::vector<int> numbers, digits;
  if (text.find(L':') == String::npos || !SplitNumbers(text, numbers, digits) || numbers.size() > 4) return false;
  int hour = numbers[0];
  const int minute = numbers.size() > 1 ? numbers[1] : 0;
  const int second = numbers.size() > 2 ? numbers[2] : 0;
  int msec = numbers.size() > 3 ? numbers[3] : 0;
  if (numbers.size() > 3) {  // fraction digits to milliseconds
    for (int d = digits[3]; d < 3; ++d) msec *= 10;
    for (int d = digits[3]; d > 3; --d) msec /= 10;
  }
  if (pm >= 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return TryEncodeTime(hour, minute, second, msec, AValue);
}

bool TryParseDateTime(const String& AText, const TFormatSettings& ASettings, TDateTime& AValue) {
  const String text = TrimBlanks(AText);
  // The time starts with the blank-separated word that holds the first time separator.
  std::size_t colon = text.find(ASettings.TimeSeparator ? ASettings.TimeSeparator : L':');
  if (colon == String::npos) colon = text.find(L':');
  if (colon == String::npos) return TryParseDate(text, ASettings, AValue);
  std::size_t start = text.find_last_of(L" T", colon);
  start = start == String::npos ? 0 : start + 1;
  const String datePart = TrimBlanks(text.substr(0, start ? start - 1 : 0));
  TDateTime date = 0;
  TDateTime time = 0;
  if (!datePart.empty() && !TryParseDate(datePart, ASettings, date)) return false;
  if (!TryParseTime(text.substr(start), ASettings, time)) return false;
  AValue = date < 0 ? date - time : date + time;
  return true;
}

template <class F>
bool TryWithSettings(const String& AText, TDateTime& AValue, F AParse) {
  return AParse(AText, FormatSettings, AValue) || AParse(AText, TFormatSettings::Invariant(), AValue);
}

String HexOf(const TBytes& ABytes) {
  static constexpr wchar_t digits[] = L"0123456789ABCDEF";
  String text;
  text.reserve(ABytes.size() * 2);
  for (std::uint8_t b : ABytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

bool BytesOfHex(const String& AText, TBytes& ABytes) {
  if (AText.size() % 2) return false;
  auto nibble = [](wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
  };
  ABytes.resize(AText.size() / 2);
  for (std::size_t i = 0; i < ABytes.size(); ++i) {
    const int hi = nibble(AText[2 * i]);
    const int lo = nibble(AText[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    ABytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return true;
}

constexpr DWORD MaxProfileBuffer = 64u << 20;  // characters

// The names of a double-NUL list from the private-profile functions, into
// AStrings (cleared first). AFetch(buffer, size) answers the characters it
// wrote; a list that may have been cut short is fetched again into a larger
// buffer.
template <class TFetch>
void ReadNulSeparated(TStrings* AStrings, TFetch AFetch) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    std::vector<wchar_t> buffer(4096);
    DWORD n = 0;
    for (;;) {
      n = AFetch(buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n + 2 < buffer.size() || buffer.size() >= MaxProfileBuffer) break;
      buffer.resize(buffer.size() * 4);
    }
    const wchar_t* p = buffer.data();
    const wchar_t* end = p + n;
    while (p < end && *p) {
      const String name(p);
      AStrings->Add(name);
      p += name.size() + 1;
    }
  });
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomIniFile

void TCustomIniFile::CheckSectionName(const String& ASection) {
  if (ASection.find_first_of(L"]\r\n") != String::npos)
    throw EIniFileException(L"Ungültiger Abschnittsname \"%s\" in einer INI-Datei", {ASection});
}

void TCustomIniFile::CheckIdent(const String& AIdent) {
  if (AIdent.find_first_of(L"=\r\n") != String::npos || (!AIdent.empty() && (AIdent[0] == L'[' || AIdent[0] == L';')))
    throw EIniFileException(L"Ungültiger Name \"%s\" in einer INI-Datei", {AIdent});
}

void TCustomIniFile::CheckValue(const String& AIdent, const String& AValue) {
  if (AValue.find_first_of(L"\r\n") != String::npos)
    throw EIniFileException(L"Der Wert von \"%s\" enthält einen Zeilenumbruch und kann nicht gespeichert werden",
                            {AIdent});
}

int TCustomIniFile::ReadInteger(const String& ASection, const String& AIdent, int ADefault) {
  int value = 0;
  return TryStrToInt(TrimBlanks(ReadString(ASection, AIdent, String())), value) ? value : ADefault;
}

void TCustomIniFile::WriteInteger(const String& ASection, const String& AIdent, int AValue) {
  WriteString(ASection, AIdent, IntToStr(AValue));
}

std::int64_t TCustomIniFile::ReadInt64(const String& ASection, const String& AIdent, std::int64_t ADefault) {
  std::int64_t value = 0;
  return TryStrToInt64(TrimBlanks(ReadString(ASection, AIdent, String())), value) ? value : ADefault;
}

void TCustomIniFile::WriteInt64(const String& ASection, const String& AIdent, std::int64_t AValue) {
  WriteString(ASection, AIdent, IntToStr(static_cast<long long>(AValue)));
}

bool TCustomIniFile::ReadBool(const String& ASection, const String& AIdent, bool ADefault) {
  bool value = false;
  return TryStrToBool(TrimBlanks(ReadString(ASection, AIdent, String())), value) ? value : ADefault;
}

void TCustomIniFile::WriteBool(const String& ASection, const String& AIdent, bool AValue) {
  WriteString(ASection, AIdent, AValue ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& ASection, const String& AIdent, double ADefault) {
  const String text = TrimBlanks(ReadString(ASection, AIdent, String()));
  double value = 0;
  if (TryStrToFloat(text, value, FormatSettings) || TryStrToFloat(text, value, TFormatSettings::Invariant()))
    return value;
  return ADefault;
}

void TCustomIniFile::WriteFloat(const String& ASection, const String& AIdent, double AValue) {
  WriteString(ASection, AIdent, FloatToStr(AValue));
}

TDateTime TCustomIniFile::ReadDate(const String& ASection, const String& AIdent, TDateTime ADefault) {
  TDateTime value = 0;
  return TryWithSettings(ReadString(ASection, AIdent, String()), value, TryParseDate) ? value : ADefault;
}

void TCustomIniFile::WriteDate(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteString(ASection, AIdent, DateToStr(AValue));
}

TDateTime TCustomIniFile::ReadDateTime(const String& ASection, const String& AIdent, TDateTime ADefault) {
  TDateTime value = 0;
  return TryWithSettings(ReadString(ASection, AIdent, String()), value, TryParseDateTime) ? value : ADefault;
}

void TCustomIniFile::WriteDateTime(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteString(ASection, AIdent, DateTimeToStr(AValue));
}

TDateTime TCustomIniFile::ReadTime(const String& ASection, const String& AIdent, TDateTime ADefault) {
  TDateTime value = 0;
  return TryWithSettings(ReadString(ASection, AIdent, String()), value, TryParseTime) ? value : ADefault;
}

void TCustomIniFile::WriteTime(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteString(ASection, AIdent, TimeToStr(AValue));
}

int TCustomIniFile::ReadBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) {
  TBytes bytes;
  if (!BytesOfHex(TrimBlanks(ReadString(ASection, AIdent, String())), bytes) || bytes.empty()) return 0;
  const std::int64_t position = AValue->Position();
  AValue->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  AValue->SetPosition(position);
  return static_cast<int>(bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) {
  TBytes bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, AValue->Size() - AValue->Position())));
  if (!bytes.empty()) AValue->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  WriteString(ASection, AIdent, HexOf(bytes));
}

bool TCustomIniFile::SectionExists(const String& ASection) {
  TOwned<TStringList> sections(New<TStringList>());
  ReadSections(sections.get());
  return sections->IndexOf(ASection) >= 0;
}

bool TCustomIniFile::ValueExists(const String& ASection, const String& AIdent) {
  TOwned<TStringList> names(New<TStringList>());
  ReadSection(ASection, names.get());
  return names->IndexOf(AIdent) >= 0;
}

// ---------------------------------------------------------------------------
// TIniFile

String TIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault) {
  std::vector<wchar_t> buffer(2048);
  for (;;) {
    const DWORD n = ::GetPrivateProfileStringW(ASection.c_str(), AIdent.c_str(), ADefault.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), FileName().c_str());
    if (n + 1 < buffer.size() || buffer.size() >= MaxProfileBuffer) return String(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}

void TIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue) {
  CheckSectionName(ASection);
  CheckIdent(AIdent);
  CheckValue(AIdent, AValue);
  if (!::WritePrivateProfileStringW(ASection.c_str(), AIdent.c_str(), AValue.c_str(), FileName().c_str()))
    throw EIniFileException(L"In die Datei %s kann nicht geschrieben werden", {FileName()});
}

void TIniFile::ReadSection(const String& ASection, TStrings* AStrings) {
  ReadNulSeparated(AStrings, [&](wchar_t* ABuffer, DWORD ASize) {
    return ::GetPrivateProfileStringW(ASection.c_str(), nullptr, L"", ABuffer, ASize, FileName().c_str());
  });
}

void TIniFile::ReadSections(TStrings* AStrings) {
  ReadNulSeparated(AStrings, [&](wchar_t* ABuffer, DWORD ASize) {
    return ::GetPrivateProfileSectionNamesW(ABuffer, ASize, FileName().c_str());
  });
}

void TIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) {
  TOwned<TStringList> names(New<TStringList>());
  ReadSection(ASection, names.get());
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    for (int i = 0; i < names->Count(); ++i)
      AStrings->Add(names->Strings(i) + L"=" + ReadString(ASection, names->Strings(i), String()));
  });
}

void TIniFile::EraseSection(const String& ASection) {
  if (!::WritePrivateProfileStringW(ASection.c_str(), nullptr, nullptr, FileName().c_str()))
    throw EIniFileException(L"Abschnitt %s der Datei %s kann nicht gelöscht werden", {ASection, FileName()});
}

void TIniFile::DeleteKey(const String& ASection, const String& AIdent) {
  ::WritePrivateProfileStringW(ASection.c_str(), AIdent.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile() { ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, FileName().c_str()); }

// ---------------------------------------------------------------------------
// TMemIniFile

void TMemIniFile::Create(const String& AFileName, TEncoding* AEncoding) {
  inherited::Create(AFileName);
  FEncoding = AEncoding;
  FSections.emplace_back();  // the lines before the first section
  LoadValues();
}

void TMemIniFile::Destroy() {
  FSections.clear();
  FSectionIndex.clear();
  inherited::Destroy();
}

String TMemIniFile::KeyOf(const String& AName) const {
  if (FCaseSensitive || AName.empty()) return AName;
  String key = AName;
  const int n = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, AName.data(), static_cast<int>(AName.size()),
                               key.data(), static_cast<int>(key.size()));
  if (n != static_cast<int>(AName.size())) {
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(c));
  }
  return key;
}

void TMemIniFile::ReindexSection(TSection& ASection) const {
  ASection.Index.clear();
  for (std::size_t i = 0; i < ASection.Entries.size(); ++i)
    if (ASection.Entries[i].IsPair) ASection.Index.emplace(KeyOf(ASection.Entries[i].Name), i);
}

void TMemIniFile::Reindex() {
  FSectionIndex.clear();
  for (std::size_t i = 1; i < FSections.size(); ++i) {
    FSectionIndex.emplace(KeyOf(FSections[i].Name), i);
    ReindexSection(FSections[i]);
  }
}

void TMemIniFile::SetCaseSensitive(bool AValue) {
  if (FCaseSensitive == AValue) return;
  FCaseSensitive = AValue;
  Reindex();
}

TMemIniFile::TSection* TMemIniFile::FindSection(const String& ASection) {
  const auto it = FSectionIndex.find(KeyOf(ASection));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

TMemIniFile::TSection* TMemIniFile::FindOrAddSection(const String& ASection) {
  if (TSection* section = FindSection(ASection)) return section;
  FSections.push_back(TSection{ASection, {}, {}});
  FSectionIndex.emplace(KeyOf(ASection), FSections.size() - 1);
  return &FSections.back();
}

String TMemIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault) {
  if (const TSection* section = FindSection(ASection)) {
    const auto it = section->Index.find(KeyOf(AIdent));
    if (it != section->Index.end()) return section->Entries[it->second].Value;
  }
  return ADefault;
}

void TMemIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue) {
  CheckSectionName(ASection);
  CheckIdent(AIdent);
  CheckValue(AIdent, AValue);
  TSection* section = FindOrAddSection(ASection);
  const String key = KeyOf(AIdent);
  const auto it = section->Index.find(key);
  if (it != section->Index.end()) {
    section->Entries[it->second].Value = AValue;
    return;
  }
  section->Entries.push_back(TEntry{AIdent, AValue, true});
  section->Index.emplace(key, section->Entries.size() - 1);
}

void TMemIniFile::ReadEntries(const String& ASection, TStrings* AStrings, String (*AText)(const TEntry& AEntry)) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    if (const TSection* section = FindSection(ASection))
      for (std::size_t i = 0; i < section->Entries.size(); ++i) {
        const TEntry& entry = section->Entries[i];
        if (entry.IsPair && section->Index.at(KeyOf(entry.Name)) == i) AStrings->Add(AText(entry));
      }
  });
}

void TMemIniFile::ReadSection(const String& ASection, TStrings* AStrings) {
  ReadEntries(ASection, AStrings, [](const TEntry& AEntry) { return AEntry.Name; });
}

void TMemIniFile::ReadSections(TStrings* AStrings) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    for (std::size_t i = 1; i < FSections.size(); ++i) AStrings->Add(FSections[i].Name);
  });
}

void TMemIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) {
  ReadEntries(ASection, AStrings, [](const TEntry& AEntry) { return AEntry.Name + L"=" + AEntry.Value; });
}

void TMemIniFile::EraseSection(const String& ASection) {
  const auto it = FSectionIndex.find(KeyOf(ASection));
  if (it == FSectionIndex.end()) return;
  FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(it->second));
  Reindex();
}

void TMemIniFile::DeleteKey(const String& ASection, const String& AIdent) {
  TSection* section = FindSection(ASection);
  if (!section) return;
  const String key = KeyOf(AIdent);
  if (!section->Index.count(key)) return;
  std::erase_if(section->Entries, [&](const TEntry& AEntry) { return AEntry.IsPair && KeyOf(AEntry.Name) == key; });
  ReindexSection(*section);
}

bool TMemIniFile::SectionExists(const String& ASection) { return FindSection(ASection) != nullptr; }

bool TMemIniFile::ValueExists(const String& ASection, const String& AIdent) {
  const TSection* section = FindSection(ASection);
  return section && section->Index.count(KeyOf(AIdent));
}

void TMemIniFile::Clear() {
  FSections.clear();
  FSections.emplace_back();
  FSectionIndex.clear();
}

void TMemIniFile::GetStrings(TStrings* AStrings) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    for (std::size_t i = 0; i < FSections.size(); ++i) {
      const TSection& section = FSections[i];
      if (i == 0 && section.Entries.empty()) continue;
      if (i > 0) AStrings->Add(L"[" + section.Name + L"]");
      for (const TEntry& entry : section.Entries)
        AStrings->Add(entry.IsPair ? entry.Name + L"=" + entry.Value : entry.Name);
      AStrings->Add(String());
    }
  });
}

void TMemIniFile::SetStrings(TStrings* AStrings) {
  Clear();
  TSection* section = &FSections[0];
  const int count = AStrings->Count();
  for (int i = 0; i < count; ++i) {
    const String line = TrimBlanks(AStrings->Strings(i));
    if (line.empty()) continue;
    if (line[0] == L'[') {
      // A header without "]" still names its section.
      const std::size_t close = line.find(L']');
      const String name = TrimBlanks(line.substr(1, close == String::npos ? String::npos : close - 1));
      section = FindOrAddSection(name);
      continue;
    }
    const std::size_t equals = line[0] == L';' ? String::npos : line.find(L'=');
    if (equals == String::npos) {
      section->Entries.push_back(TEntry{line, String(), false});
      continue;
    }
    section->Entries.push_back(TEntry{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)), true});
    // The lines before the first section are kept but not looked up.
    if (section != &FSections[0])
      section->Index.emplace(KeyOf(section->Entries.back().Name), section->Entries.size() - 1);
  }
}

void TMemIniFile::LoadValues() {
  Clear();
  const String& name = FileName();
  if (name.empty()) return;
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  TOwned<TStringList> lines(New<TStringList>());
  lines->LoadFromFile(name, FEncoding);
  FEncoding = lines->Encoding();
  SetStrings(lines.get());
}

void TMemIniFile::UpdateFile() {
  if (FileName().empty()) return;
  TOwned<TStringList> lines(New<TStringList>());
  GetStrings(lines.get());
  lines->SaveToFile(FileName(), FEncoding ? FEncoding : TEncoding::Default());
}

void TMemIniFile::Rename(const String& AFileName, bool AReload) {
  SetFileName(AFileName);
  if (AReload) LoadValues();
}
