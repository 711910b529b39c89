#include "platform/classes/Registry.h"

#include "platform/classes/Streams.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {


String SystemErrorText(LONG ACode) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(ACode), 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                                   nullptr);
  String text = n && buffer ? String(buffer, n) : String();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = Format(L"Systemfehler %d", {static_cast<int>(ACode)});
  return text;
}

TRegDataType DataTypeOf(DWORD AType) {
  switch (AType) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

// A path without its leading and trailing "\", and whether it was relative.
String NormalizePath(const String& AKey, bool& ARelative) {
  ARelative = AKey.empty() || AKey[0] != L'\\';
  std::size_t first = ARelative ? 0 : 1;
  std::size_t last = AKey.size();
  while (last > first && AKey[last - 1] == L'\\') --last;
  return AKey.substr(first, last - first);
}

String JoinPath(const String& ABase, const String& AKey) {
  if (ABase.empty()) return AKey;
  if (AKey.empty()) return ABase;
  return ABase + L"\\" + AKey;
}

// Deletes ASubKey of ABase with everything below it.
bool DeleteTree(HKEY ABase, const String& ASubKey) {
  TRegKey owned;
  if (::RegOpenKeyExW(ABase, ASubKey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, owned.Receive()) !=
      ERROR_SUCCESS)
    return false;
  const HKEY key = owned.Get();
  std::vector<String> children;
  std::vector<wchar_t> name(256);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG rc = ::RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    children.emplace_back(name.data(), length);
  }
  for (const String& child : children) DeleteTree(key, child);
  owned.Reset();
  return ::RegDeleteKeyW(ABase, ASubKey.c_str()) == ERROR_SUCCESS;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRegistry

void TRegistry::Create(REGSAM AAccess) {
  FRootKey = HKEY_CURRENT_USER;
  FAccess = AAccess;
}

void TRegistry::Destroy() {
  CloseKey();
  inherited::Destroy();
}

void TRegistry::SetRootKey(HKEY AValue) {
  if (FRootKey == AValue) return;
  CloseKey();
  FRootKey = AValue;
}

HKEY TRegistry::GetBaseKey(bool ARelative) const {
  return ARelative && FCurrentKey ? FCurrentKey.Get() : FRootKey;
}

void TRegistry::ChangeKey(TRegKey AKey, const String& APath) {
  CloseKey();
  FCurrentKey = std::move(AKey);
  FCurrentPath = APath;
}

void TRegistry::CloseKey() {
  if (!FCurrentKey) return;
  if (FNoLazyWrite) ::RegFlushKey(FCurrentKey.Get());
  FCurrentKey.Reset();
  FCurrentPath.clear();
}

bool TRegistry::OpenKey(const String& AKey, bool ACanCreate) {
  bool relative = false;
  const String path = NormalizePath(AKey, relative);
  TRegKey key;
  const LONG rc = ACanCreate ? ::RegCreateKeyExW(GetBaseKey(relative), path.c_str(), 0, nullptr,
                                                 REG_OPTION_NON_VOLATILE, FAccess, nullptr, key.Receive(), nullptr)
                             : ::RegOpenKeyExW(GetBaseKey(relative), path.c_str(), 0, FAccess, key.Receive());
  if (rc != ERROR_SUCCESS) return false;
  ChangeKey(std::move(key), relative && FCurrentKey ? JoinPath(FCurrentPath, path) : path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& AKey) {
  const REGSAM access = std::exchange(FAccess, KEY_READ);
  TScopeExit restore([&] { FAccess = access; });
  return OpenKey(AKey, false);
}

bool TRegistry::CreateKey(const String& AKey) {
  bool relative = false;
  const String path = NormalizePath(AKey, relative);
  TRegKey key;
  const LONG rc = ::RegCreateKeyExW(GetBaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                                    nullptr, key.Receive(), nullptr);
  if (rc != ERROR_SUCCESS)
    throw ERegistryException(L"Der Registrierungsschlüssel %s kann nicht erstellt werden. %s",
                             {AKey, SystemErrorText(rc)});
  return true;
}

bool TRegistry::DeleteKey(const String& AKey) {
  bool relative = false;
  const String path = NormalizePath(AKey, relative);
  // An empty path would name the key itself (or the root).
  if (path.empty()) return false;
  return DeleteTree(GetBaseKey(relative), path);
}

bool TRegistry::KeyExists(const String& AKey) {
  bool relative = false;
  const String path = NormalizePath(AKey, relative);
  TRegKey key;
  const LONG rc = ::RegOpenKeyExW(GetBaseKey(relative), path.c_str(), 0, KEY_READ, key.Receive());
  return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& AValue) {
  AValue = TRegKeyInfo();
  if (!FCurrentKey) return false;
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
  if (::RegQueryInfoKeyW(FCurrentKey.Get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values,
                         &maxValueLen, &maxDataLen, nullptr, &AValue.FileTime) != ERROR_SUCCESS)
    return false;
  AValue.NumSubKeys = static_cast<int>(subKeys);
  AValue.MaxSubKeyLen = static_cast<int>(maxSubKeyLen);
  AValue.NumValues = static_cast<int>(values);
  AValue.MaxValueLen = static_cast<int>(maxValueLen);
  AValue.MaxDataLen = static_cast<int>(maxDataLen);
  return true;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* AStrings) { GetNames(AStrings, TNameKind::SubKeys); }

void TRegistry::GetValueNames(TStrings* AStrings) { GetNames(AStrings, TNameKind::Values); }

void TRegistry::GetNames(TStrings* AStrings, TNameKind AKind) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    TRegKeyInfo info;
    if (!GetKeyInfo(info)) return;
    const bool keys = AKind == TNameKind::SubKeys;
    std::vector<wchar_t> name(static_cast<std::size_t>(keys ? info.MaxSubKeyLen : info.MaxValueLen) + 1);
    for (DWORD i = 0;;) {
      DWORD length = static_cast<DWORD>(name.size());
      const HKEY key = FCurrentKey.Get();
      const LONG rc = keys ? ::RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                           : ::RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_MORE_DATA) {
        name.resize(name.size() * 2 + 16);
        continue;
      }
      if (rc != ERROR_SUCCESS) break;
      AStrings->Add(String(name.data(), length));
      ++i;
    }
  });
}

TRegistry::TSavedKey TRegistry::EnterSubKey(const String& ASubKey, bool ACanCreate) {
  TSavedKey saved;
  bool relative = false;
  const String path = NormalizePath(ASubKey, relative);
  HKEY base = GetBaseKey(true);
  TRegKey key;
  const LONG rc = ACanCreate ? ::RegCreateKeyExW(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                                                 nullptr, key.Receive(), nullptr)
                             : ::RegOpenKeyExW(base, path.c_str(), 0, FAccess, key.Receive());
  if (rc != ERROR_SUCCESS) return saved;
  saved.Entered = true;
  saved.Path = JoinPath(FCurrentPath, path);
  std::swap(saved.Path, FCurrentPath);
  saved.Key = std::exchange(FCurrentKey, std::move(key));
  return saved;
}

void TRegistry::LeaveSubKey(TSavedKey& ASaved) {
  FCurrentKey = std::move(ASaved.Key);
  FCurrentPath = std::move(ASaved.Path);
}

bool TRegistry::ValueExists(const String& AName) {
  TRegDataInfo info;
  return GetDataInfo(AName, info);
}

bool TRegistry::DeleteValue(const String& AName) {
  return FCurrentKey && ::RegDeleteValueW(FCurrentKey.Get(), AName.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const String& AName, TRegDataInfo& AValue) {
  AValue = TRegDataInfo();
  if (!FCurrentKey) return false;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (::RegQueryValueExW(FCurrentKey.Get(), AName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  AValue.RegData = DataTypeOf(type);
  AValue.DataSize = static_cast<int>(size);
  return true;
}

TRegDataType TRegistry::GetDataType(const String& AName) {
  TRegDataInfo info;
  return GetDataInfo(AName, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const String& AName) {
  TRegDataInfo info;
  return GetDataInfo(AName, info) ? info.DataSize : -1;
}

void TRegistry::RequireKey(const String& AName) const {
  if (!FCurrentKey)
    throw ERegistryException(L"Kein Registrierungsschlüssel geöffnet für den Wert '%s'", {AName});
}

DWORD TRegistry::GetData(const String& AName, void* ABuffer, DWORD ABufSize, TRegDataType& AType) {
  RequireKey(AName);
  DWORD type = REG_NONE;
  DWORD size = ABufSize;
  const LONG rc =
      ::RegQueryValueExW(FCurrentKey.Get(), AName.c_str(), nullptr, &type, static_cast<BYTE*>(ABuffer), &size);
  if (rc != ERROR_SUCCESS)
    throw ERegistryException(L"Der Registrierungswert '%s' kann nicht gelesen werden. %s",
                             {AName, SystemErrorText(rc)});
  AType = DataTypeOf(type);
  return size;
}

void TRegistry::PutData(const String& AName, const void* ABuffer, DWORD ABufSize, DWORD AType) {
  RequireKey(AName);
  const LONG rc =
      ::RegSetValueExW(FCurrentKey.Get(), AName.c_str(), 0, AType, static_cast<const BYTE*>(ABuffer), ABufSize);
  if (rc != ERROR_SUCCESS)
    throw ERegistryException(L"Der Registrierungswert '%s' kann nicht geschrieben werden. %s",
                             {AName, SystemErrorText(rc)});
}

String TRegistry::ReadString(const String& AName) {
  // The value may change between measuring and reading: measure again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    TRegDataInfo info;
    if (!GetDataInfo(AName, info)) return String();
    if (info.RegData != rdString && info.RegData != rdExpandString)
      throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
    std::vector<wchar_t> text(static_cast<std::size_t>(info.DataSize) / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD type = REG_NONE;
    const LONG rc = ::RegQueryValueExW(FCurrentKey.Get(), AName.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(text.data()), &size);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS)
      throw ERegistryException(L"Der Registrierungswert '%s' kann nicht gelesen werden. %s",
                               {AName, SystemErrorText(rc)});
    // Stored strings need not end with a NUL; the first NUL ends the text.
    const std::size_t chars = std::min<std::size_t>(size / sizeof(wchar_t), text.size());
    return String(text.data(), std::find(text.data(), text.data() + chars, L'\0'));
  }
  throw ERegistryException(L"Der Registrierungswert '%s' kann nicht gelesen werden", {AName});
}

int TRegistry::ReadInteger(const String& AName) {
  TRegDataInfo info;
  if (!GetDataInfo(AName, info)) throw ERegistryException(L"Der Registrierungswert '%s' existiert nicht", {AName});
  if (info.RegData != rdInteger || info.DataSize != sizeof(std::int32_t))
    throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
  std::int32_t value = 0;
  TRegDataType type = rdUnknown;
  if (GetData(AName, &value, sizeof value, type) != sizeof value || type != rdInteger)
    throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
  return value;
}

double TRegistry::ReadFloat(const String& AName) {
  TRegDataInfo info;
  if (!GetDataInfo(AName, info)) throw ERegistryException(L"Der Registrierungswert '%s' existiert nicht", {AName});
  if (info.RegData != rdBinary || info.DataSize != sizeof(double))
    throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
  double value = 0;
  TRegDataType type = rdUnknown;
  if (GetData(AName, &value, sizeof value, type) != sizeof value)
    throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
  return value;
}

int TRegistry::ReadBinaryData(const String& AName, void* ABuffer, int ABufSize) {
  TRegDataInfo info;
  if (!GetDataInfo(AName, info)) throw ERegistryException(L"Der Registrierungswert '%s' existiert nicht", {AName});
  if (info.RegData != rdBinary && info.RegData != rdUnknown)
    throw ERegistryException(L"Ungültiger Datentyp für '%s'", {AName});
  if (ABufSize < 0 || info.DataSize > ABufSize)
    throw ERegistryException(L"Der Puffer ist zu klein für den Registrierungswert '%s' (%d Bytes)",
                             {AName, info.DataSize});
  TRegDataType type = rdUnknown;
  return static_cast<int>(GetData(AName, ABuffer, static_cast<DWORD>(ABufSize), type));
}

TBytes TRegistry::ReadBinaryBytes(const String& AName) {
  const int size = GetDataSize(AName);
  if (size < 0) throw ERegistryException(L"Der Registrierungswert '%s' existiert nicht", {AName});
  TBytes bytes(static_cast<std::size_t>(size));
  const int n = ReadBinaryData(AName, bytes.data(), size);
  bytes.resize(static_cast<std::size_t>(n));
  return bytes;
}

void TRegistry::WriteString(const String& AName, const String& AValue) {
  PutData(AName, AValue.c_str(), static_cast<DWORD>((AValue.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const String& AName, const String& AValue) {
  PutData(AName, AValue.c_str(), static_cast<DWORD>((AValue.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const String& AName, int AValue) {
  const std::int32_t value = AValue;
  PutData(AName, &value, sizeof value, REG_DWORD);
}

void TRegistry::WriteFloat(const String& AName, double AValue) { PutData(AName, &AValue, sizeof AValue, REG_BINARY); }

void TRegistry::WriteBinaryData(const String& AName, const void* ABuffer, int ABufSize) {
  if (ABufSize < 0) throw ERegistryException(L"Ungültige Datenlänge %d für '%s'", {ABufSize, AName});
  PutData(AName, ABuffer, static_cast<DWORD>(ABufSize), REG_BINARY);
}

// ---------------------------------------------------------------------------
// TRegIniFile

void TRegIniFile::Create(const String& AFileName, REGSAM AAccess) {
  inherited::Create(AAccess);
  FFileName = AFileName;
  OpenKey(AFileName, true);
}

String TRegIniFile::ValueText(const String& AName) {
  TRegDataInfo info;
  if (!GetDataInfo(AName, info)) return String();
  switch (info.RegData) {
    case rdString:
    case rdExpandString: return TRegistry::ReadString(AName);
    case rdInteger: return IntToStr(TRegistry::ReadInteger(AName));
    default: {
      static constexpr wchar_t digits[] = L"0123456789ABCDEF";
      String text;
      for (std::uint8_t b : ReadBinaryBytes(AName)) {
        text += digits[b >> 4];
        text += digits[b & 15];
      }
      return text;
    }
  }
}

String TRegIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault) {
  String result = ADefault;
  WithSubKey(ASection, false, [&] {
    if (ValueExists(AIdent)) result = ValueText(AIdent);
  });
  return result;
}

int TRegIniFile::ReadInteger(const String& ASection, const String& AIdent, int ADefault) {
  int result = ADefault;
  WithSubKey(ASection, false, [&] {
    switch (GetDataType(AIdent)) {
      case rdInteger: result = TRegistry::ReadInteger(AIdent); break;
      case rdString:
      case rdExpandString:
        if (!TryStrToInt(TRegistry::ReadString(AIdent), result)) result = ADefault;
        break;
      default: break;
    }
  });
  return result;
}

bool TRegIniFile::ReadBool(const String& ASection, const String& AIdent, bool ADefault) {
  bool result = ADefault;
  WithSubKey(ASection, false, [&] {
    switch (GetDataType(AIdent)) {
      case rdInteger: result = TRegistry::ReadInteger(AIdent) != 0; break;
      case rdString:
      case rdExpandString:
        if (!TryStrToBool(TRegistry::ReadString(AIdent), result)) result = ADefault;
        break;
      default: break;
    }
  });
  return result;
}

void TRegIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue) {
  if (!WithSubKey(ASection, true, [&] { TRegistry::WriteString(AIdent, AValue); }))
    throw ERegistryException(L"Der Registrierungsschlüssel %s kann nicht geöffnet werden", {ASection});
}

void TRegIniFile::WriteInteger(const String& ASection, const String& AIdent, int AValue) {
  if (!WithSubKey(ASection, true, [&] { TRegistry::WriteInteger(AIdent, AValue); }))
    throw ERegistryException(L"Der Registrierungsschlüssel %s kann nicht geöffnet werden", {ASection});
}

void TRegIniFile::WriteBool(const String& ASection, const String& AIdent, bool AValue) {
  WriteInteger(ASection, AIdent, AValue ? 1 : 0);
}

void TRegIniFile::ReadSection(const String& ASection, TStrings* AStrings) {
  if (!WithSubKey(ASection, false, [&] { GetValueNames(AStrings); })) AStrings->Clear();
}

void TRegIniFile::ReadSections(TStrings* AStrings) { GetKeyNames(AStrings); }

void TRegIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) {
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    WithSubKey(ASection, false, [&] {
      TOwned<TStringList> names(New<TStringList>());
      GetValueNames(names.get());
      for (int i = 0; i < names->Count(); ++i)
        AStrings->Add(names->Strings(i) + L"=" + ValueText(names->Strings(i)));
    });
  });
}

void TRegIniFile::EraseSection(const String& ASection) {
  if (ASection.empty() || ASection[0] == L'\\') return;  // only sub-keys of the current key
  TRegistry::DeleteKey(ASection);
}

void TRegIniFile::DeleteKey(const String& ASection, const String& AIdent) {
  WithSubKey(ASection, false, [&] { DeleteValue(AIdent); });
}

// ---------------------------------------------------------------------------
// TRegistryIniFile

void TRegistryIniFile::Create(const String& AFileName, REGSAM AAccess) {
  inherited::Create(AFileName);
  FRegIniFile.reset(New<TRegIniFile>(AFileName, AAccess));
}

void TRegistryIniFile::Destroy() {
  FRegIniFile.reset();
  inherited::Destroy();
}

String TRegistryIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault) {
  return FRegIniFile->ReadString(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue) {
  FRegIniFile->WriteString(ASection, AIdent, AValue);
}

int TRegistryIniFile::ReadInteger(const String& ASection, const String& AIdent, int ADefault) {
  return FRegIniFile->ReadInteger(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteInteger(const String& ASection, const String& AIdent, int AValue) {
  FRegIniFile->WriteInteger(ASection, AIdent, AValue);
}

bool TRegistryIniFile::ReadBool(const String& ASection, const String& AIdent, bool ADefault) {
  return FRegIniFile->ReadBool(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteBool(const String& ASection, const String& AIdent, bool AValue) {
  FRegIniFile->WriteBool(ASection, AIdent, AValue);
}

bool TRegistryIniFile::ReadStoredDouble(const String& ASection, const String& AIdent, double& AValue) {
  bool stored = false;
  FRegIniFile->WithSubKey(ASection, false, [&] {
    if (FRegIniFile->GetDataType(AIdent) == rdBinary && FRegIniFile->GetDataSize(AIdent) == sizeof(double)) {
      AValue = FRegIniFile->ReadFloat(AIdent);
      stored = true;
    }
  });
  return stored;
}

// Values stored as text read like an INI file's.

double TRegistryIniFile::ReadFloat(const String& ASection, const String& AIdent, double ADefault) {
  double value = 0;
  return ReadStoredDouble(ASection, AIdent, value) ? value : inherited::ReadFloat(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteFloat(const String& ASection, const String& AIdent, double AValue) {
  if (!FRegIniFile->WithSubKey(ASection, true, [&] { FRegIniFile->WriteFloat(AIdent, AValue); }))
    throw ERegistryException(L"Der Registrierungsschlüssel %s kann nicht geöffnet werden", {ASection});
}

TDateTime TRegistryIniFile::ReadDate(const String& ASection, const String& AIdent, TDateTime ADefault) {
  double value = 0;
  return ReadStoredDouble(ASection, AIdent, value) ? value : inherited::ReadDate(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteDate(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteFloat(ASection, AIdent, AValue);
}

TDateTime TRegistryIniFile::ReadDateTime(const String& ASection, const String& AIdent, TDateTime ADefault) {
  double value = 0;
  return ReadStoredDouble(ASection, AIdent, value) ? value : inherited::ReadDateTime(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteDateTime(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteFloat(ASection, AIdent, AValue);
}

TDateTime TRegistryIniFile::ReadTime(const String& ASection, const String& AIdent, TDateTime ADefault) {
  double value = 0;
  return ReadStoredDouble(ASection, AIdent, value) ? value : inherited::ReadTime(ASection, AIdent, ADefault);
}

void TRegistryIniFile::WriteTime(const String& ASection, const String& AIdent, TDateTime AValue) {
  WriteFloat(ASection, AIdent, AValue);
}

int TRegistryIniFile::ReadBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) {
  TBytes bytes;
  bool stored = false;
  FRegIniFile->WithSubKey(ASection, false, [&] {
    if (FRegIniFile->GetDataType(AIdent) == rdBinary) {
      bytes = FRegIniFile->ReadBinaryBytes(AIdent);
      stored = true;
    }
  });
  if (!stored) return inherited::ReadBinaryStream(ASection, AIdent, AValue);
  const std::int64_t position = AValue->Position();
  AValue->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  AValue->SetPosition(position);
  return static_cast<int>(bytes.size());
}

void TRegistryIniFile::WriteBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) {
  TBytes bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, AValue->Size() - AValue->Position())));
  if (!bytes.empty()) AValue->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  if (!FRegIniFile->WithSubKey(ASection, true, [&] {
        FRegIniFile->WriteBinaryData(AIdent, bytes.data(), static_cast<int>(bytes.size()));
      }))
    throw ERegistryException(L"Der Registrierungsschlüssel %s kann nicht geöffnet werden", {ASection});
}

void TRegistryIniFile::ReadSection(const String& ASection, TStrings* AStrings) {
  FRegIniFile->ReadSection(ASection, AStrings);
}

void TRegistryIniFile::ReadSections(TStrings* AStrings) { FRegIniFile->ReadSections(AStrings); }

void TRegistryIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) {
  FRegIniFile->ReadSectionValues(ASection, AStrings);
}

void TRegistryIniFile::EraseSection(const String& ASection) { FRegIniFile->EraseSection(ASection); }

void TRegistryIniFile::DeleteKey(const String& ASection, const String& AIdent) {
  FRegIniFile->DeleteKey(ASection, AIdent);
}

bool TRegistryIniFile::SectionExists(const String& ASection) {
  return !ASection.empty() && ASection[0] != L'\\' && FRegIniFile->KeyExists(ASection);
}

bool TRegistryIniFile::ValueExists(const String& ASection, const String& AIdent) {
  bool exists = false;
  FRegIniFile->WithSubKey(ASection, false, [&] { exists = FRegIniFile->ValueExists(AIdent); });
  return exists;
}
