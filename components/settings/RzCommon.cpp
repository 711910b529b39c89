// RzCommon: the settings storage (TRzRegIniFile), the unit's routines for
// folders and registry listings, and the unit's start-up. The property store
// is in RzCommon_Store.cpp, the frame controller in RzCommon_Frame.cpp, the
// colour and frame-drawing routines in RzCommon_Drawing.cpp.
#include "components/settings/RzCommon.h"

#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {


String GStartDirectory;

String ModuleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return String();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool IsPathDelimiter(wchar_t C) { return C == L'\\' || C == L'/'; }

// A path that names its place only together with a current directory.
bool IsRelativePath(const String& APath) {
  if (APath.empty()) return true;
  if (IsPathDelimiter(APath[0])) return false;
  return !(APath.size() >= 2 && APath[1] == L':');
}

// The content of a settings file as text, and what was found reading it.
struct TSettingsText {
  bool Exists = false;
  String Text;
  TEncoding* Encoding = nullptr;
  bool ByteOrderMark = false;
  String Damage;  // why the file cannot be taken as it is; empty when it can
};

TSettingsText ReadSettingsText(const String& APath, TRzIniFileEncoding AEncoding) {
  TSettingsText result;
  const DWORD attributes = ::GetFileAttributesW(APath.c_str());
  // A directory in the file's place reads as no file; writing will say why it fails.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return result;
  const TKernelHandle file(::CreateFileW(APath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return result;
    throw ERzSettingsFileError(L"Die Einstellungsdatei %s kann nicht gelesen werden: %s",
                               {APath, SysErrorMessage(error)});
  }
  result.Exists = true;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size))
    throw ERzSettingsFileError(L"Die Einstellungsdatei %s kann nicht gelesen werden: %s",
                               {APath, SysErrorMessage(::GetLastError())});
  if (size.QuadPart > TRzRegIniFile::MaxFileSize) {
    result.Damage = L"sie ist größer als 16 MB";
    return result;
  }
  TBytes bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
      throw ERzSettingsFileError(L"Die Einstellungsdatei %s kann nicht gelesen werden: %s",
                                 {APath, SysErrorMessage(::GetLastError())});
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);

  TEncoding* encoding = AEncoding == feUTF8 ? TEncoding::UTF8() : AEncoding == feUnicode ? TEncoding::Unicode() : nullptr;
  const std::size_t mark = TEncoding::GetBufferEncoding(bytes, encoding);
  result.Encoding = encoding;
  result.ByteOrderMark = mark > 0;
  const TBytes body(bytes.begin() + static_cast<std::ptrdiff_t>(mark), bytes.end());
  result.Text = encoding->GetString(body);
  // Text that does not turn back into the same bytes would be rewritten
  // differently: the file is not in the encoding it is read in.
  if (result.Text.find(L'\0') != String::npos)
    result.Damage = L"sie enthält Nullzeichen";
  else if (encoding->GetBytes(result.Text) != body)
    result.Damage = Format(L"sie ist nicht in der Zeichenkodierung %s geschrieben", {encoding->EncodingName()});
  return result;
}

TMemIniFile* NewMemIniFile(const String& APath, const String& AText) {
  TOwned<TMemIniFile> ini(New<TMemIniFile>(String()));
  if (!AText.empty()) {
    TOwned<TStringList> lines(New<TStringList>());
    lines->SetText(AText);
    ini->SetStrings(lines.get());
  }
  ini->Rename(APath, false);
  return ini.release();
}

// Writes ALines beside APath first, then moves the new file over it.
void WriteFileReplacing(const String& APath, TStrings* ALines, TEncoding* AEncoding) {
  const String temporary = APath + L".tmp";
  // Until it has replaced the file, the new one goes again on every way out.
  TScopeExit discard([&] { ::DeleteFileW(temporary.c_str()); });
  {
    const TOwned<TFileStream> stream(New<TFileStream>(temporary, fmCreate));
    ALines->SaveToStream(stream.get(), AEncoding);
  }
  if (!::MoveFileExW(temporary.c_str(), APath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    throw EFCreateError(L"Die Datei %s kann nicht geschrieben werden: %s", {APath, SysErrorMessage(error)});
  }
  discard.Dismiss();
}

bool RepresentableIn(TEncoding* AEncoding, const String& AText) {
  return AEncoding->GetString(AEncoding->GetBytes(AText)) == AText;
}

}  // namespace

// ---------------------------------------------------------------------------
// Unit routines

HKEY RegKeyHandle(TRzRegKey AKey) {
  static const HKEY keys[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                              HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
  const int index = static_cast<int>(AKey);
  return index >= 0 && index < static_cast<int>(std::size(keys)) ? keys[index] : HKEY_CURRENT_USER;
}

REGSAM RegAccessMask(const TRzRegAccess& AAccess) {
  static constexpr REGSAM masks[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x20019, 0x20006, 0x20019, 0xF003F};
  REGSAM result = 0;
  for (std::size_t i = 0; i < std::size(masks); ++i)
    if (AAccess.Contains(static_cast<TRzRegAccessKey>(i))) result |= masks[i];
  return result;
}

int SpecialFolderId(TRzSpecialFolder AFolder) {
  switch (AFolder) {
    case sfUserAppDataRoaming: return 26;
    case sfUserAppDataLocal: return 28;
    case sfUserDocuments: return 5;
    case sfProgramData: return 35;
    default: return 0;
  }
}

String GetSpecialFolderPath(int AFolderId) {
  // Every system this program runs on is of the NT family above version 4,
  // where the shell has this function; it is still looked up by name.
  const TOwnedModule shell(::LoadLibraryW(L"Shell32"));
  if (!shell) return String();
  using TGetPath = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  String result;
  // Through void*: a FARPROC and the real signature are unrelated function types.
  if (auto get = reinterpret_cast<TGetPath>(reinterpret_cast<void*>(::GetProcAddress(shell.Get(), "SHGetSpecialFolderPathW")))) {
    wchar_t buffer[261] = {};
    if (get(nullptr, buffer, AFolderId, FALSE) && buffer[0]) result = IncludeTrailingPathDelimiter(buffer);
  }
  return result;
}

String GetSettingsFolder(TRzSpecialFolder AFolder, const String& ASubDirectory) {
  if (AFolder == sfNone) return String();
  const String base = GetSpecialFolderPath(SpecialFolderId(AFolder));
  if (base.empty()) return String();
  String result = base + ASubDirectory;
  if (result.empty()) return result;
  ForceDirectories(ExcludeTrailingPathDelimiter(result));
  return IncludeTrailingPathDelimiter(result);
}

String StartDirectory() { return GStartDirectory.empty() ? GetCurrentDir() : GStartDirectory; }

String FormatRegistryValueLine(const String& AName, DWORD AType, const std::uint8_t* AData, std::size_t ASize) {
  const String name = AName.empty() ? String(L"Default") : AName;
  switch (AType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      String text(reinterpret_cast<const wchar_t*>(AData), ASize / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      return Format(L"%s=%s", {name, text});
    }
    case REG_DWORD: {
      std::int32_t value = 0;
      if (ASize >= sizeof(value)) std::memcpy(&value, AData, sizeof(value));
      return Format(L"%s=%d", {name, value});
    }
    case REG_BINARY: {
      String text;
      for (std::size_t i = 0; i < ASize; ++i) text += IntToHex(static_cast<int>(AData[i]), 2) + L" ";
      return Format(L"%s=%s", {name, text});
    }
    default:
      return Format(L"%s=%s", {name, String(L"Unknown Data Type")});
  }
}

// ---------------------------------------------------------------------------
// TRzRegIniFile

void TRzRegIniFile::Publish(TPublisher<TRzRegIniFile>& P) {
  P.Property(L"AutoUpdateIniFile", &TRzRegIniFile::AutoUpdateIniFile, &TRzRegIniFile::SetAutoUpdateIniFile)
      .Default(true);
  P.Property(L"FileEncoding", &TRzRegIniFile::FileEncoding, &TRzRegIniFile::SetFileEncoding).Default(feDefault);
  P.Property(L"Path", &TRzRegIniFile::Path, &TRzRegIniFile::SetPath);
  P.Property(L"PathType", &TRzRegIniFile::PathType, &TRzRegIniFile::SetPathType).Default(ptIniFile);
  P.Property(L"RegAccess", &TRzRegIniFile::RegAccess, &TRzRegIniFile::SetRegAccess)
      .Default(TRzRegAccess{keyAllAccess});
  P.Property(L"RegKey", &TRzRegIniFile::RegKey, &TRzRegIniFile::SetRegKey).Default(hkeyCurrentUser);
  P.Property(L"SpecialFolder", &TRzRegIniFile::SpecialFolder, &TRzRegIniFile::SetSpecialFolder).Default(sfNone);
}

void TRzRegIniFile::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FPathType = ptIniFile;
  FSpecialFolder = sfNone;
  FFileEncoding = feDefault;
  FRegKey = hkeyCurrentUser;
  FRegAccess = TRzRegAccess{keyAllAccess};
  FAutoUpdateIniFile = true;
  FRefreshStorage = true;
}

void TRzRegIniFile::Destroy() {
  if (FIniFile && FPathType == ptIniFile && !FAutoUpdateIniFile) {
    // Destruction cannot raise; a failed write is reported like a callback's.
    try {
      UpdateIniFile();
    } catch (...) {
      HandleCallbackException(this);
    }
  }
  FIniFile.reset();
  inherited::Destroy();
}

void TRzRegIniFile::SetPath(const String& AValue) {
  if (FPath == AValue) return;
  FPath = AValue;
  Changed();
}

void TRzRegIniFile::SetPathType(TRzPathType AValue) {
  if (FPathType == AValue) return;
  FPathType = AValue;
  Changed();
}

void TRzRegIniFile::SetSpecialFolder(TRzSpecialFolder AValue) {
  if (FSpecialFolder == AValue) return;
  FSpecialFolder = AValue;
  Changed();
}

void TRzRegIniFile::SetFileEncoding(TRzIniFileEncoding AValue) {
  if (FFileEncoding == AValue) return;
  FFileEncoding = AValue;
  Changed();
}

void TRzRegIniFile::SetRegKey(TRzRegKey AValue) {
  if (FRegKey == AValue) return;
  FRegKey = AValue;
  Changed();
}

void TRzRegIniFile::SetRegAccess(TRzRegAccess AValue) {
  if (FRegAccess == AValue) return;
  FRegAccess = AValue;
  Changed();
}

void TRzRegIniFile::SetAutoUpdateIniFile(bool AValue) {
  if (FAutoUpdateIniFile == AValue) return;
  FAutoUpdateIniFile = AValue;
  Changed();
}

TCustomIniFile* TRzRegIniFile::Storage() {
  if (FRefreshStorage || !FIniFile) RefreshStorage();
  return FIniFile.get();
}

String TRzRegIniFile::ResolveIniPath() const {
  String path = FPath;
  const String program = ModuleFileName();
  if (FSpecialFolder != sfNone) {
    const String folder = GetSettingsFolder(FSpecialFolder, ExtractFilePath(path));
    if (!folder.empty())
      path = folder + ChangeFileExt(ExtractFileName(path.empty() ? program : path), L".ini");
  }
  if (!path.empty() && ExtractFilePath(path).empty()) path = ExtractFilePath(program) + ChangeFileExt(path, L".ini");
  if (path.empty()) path = ChangeFileExt(program, L".ini");
  // Resolved once against the start directory: later changes of the current
  // directory (opening a project elsewhere) must not move the settings.
  if (IsRelativePath(path)) return ExpandFileName(IncludeTrailingPathDelimiter(StartDirectory()) + path);
  return ExpandFileName(path);
}

TCustomIniFile* TRzRegIniFile::OpenIniFile(String& APath) {
  APath = ResolveIniPath();
  TSettingsText content = ReadSettingsText(APath, FFileEncoding);
  if (content.Damage.empty()) {
    FFoundEncoding = content.Encoding;
    FFoundByteOrderMark = content.ByteOrderMark;
    return NewMemIniFile(APath, content.Text);
  }
  // A damaged file is kept aside under another name before anything could
  // be written over it; while that is impossible, nothing is stored.
  const String backup = APath + L".bak";
  if (!::MoveFileExW(APath.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    throw ERzSettingsFileError(
        L"Die Einstellungsdatei %s ist beschädigt (%s) und kann nicht als %s gesichert werden: %s. "
        L"Es werden keine Einstellungen gespeichert.",
        {APath, content.Damage, backup, SysErrorMessage(::GetLastError())});
  FFoundEncoding = nullptr;
  FFoundByteOrderMark = false;
  FIniFile.reset(NewMemIniFile(APath, String()));
  FPath = APath;
  FRefreshStorage = false;
  throw ERzSettingsFileError(
      L"Die Einstellungsdatei %s ist beschädigt (%s). Sie wurde als %s gesichert; es gelten die Standardeinstellungen.",
      {APath, content.Damage, backup});
}

TCustomIniFile* TRzRegIniFile::OpenRegistry(String& APath) {
  APath = FPath;
  if (APath.empty()) {
    String title = Application() ? Application()->Title() : String();
    if (title.empty()) title = ChangeFileExt(ExtractFileName(ModuleFileName()), String());
    APath = L"\\Software\\Temp\\" + title;
  }
  TOwned<TRegistryIniFile> registry(New<TRegistryIniFile>(APath, RegAccessMask(FRegAccess)));
  registry->RegIniFile()->SetRootKey(RegKeyHandle(FRegKey));
  registry->RegIniFile()->OpenKey(APath, true);
  return registry.release();
}

void TRzRegIniFile::RefreshStorage() {
  FIniFile.reset();
  String path;
  FIniFile.reset(FPathType == ptRegistry ? OpenRegistry(path) : OpenIniFile(path));
  FPath = path;
  FRefreshStorage = false;
}

TEncoding* TRzRegIniFile::WriteEncoding(const String& AText) const {
  if (FFileEncoding == feUTF8) return TEncoding::UTF8();
  if (FFileEncoding == feUnicode) return TEncoding::Unicode();
  if (FFoundByteOrderMark && FFoundEncoding) return FFoundEncoding;
  return RepresentableIn(TEncoding::Default(), AText) ? TEncoding::Default() : TEncoding::UTF8();
}

void TRzRegIniFile::UpdateIniFile() {
  if (FPathType != ptIniFile) return;
  auto* ini = As<TMemIniFile>(Storage());
  TOwned<TStringList> lines(New<TStringList>());
  ini->GetStrings(lines.get());
  TEncoding* encoding = WriteEncoding(lines->Text());
  ini->SetEncoding(encoding);
  WriteFileReplacing(ini->FileName(), lines.get(), encoding);
  if (encoding != TEncoding::Default()) {
    FFoundEncoding = encoding;
    FFoundByteOrderMark = !encoding->GetPreamble().empty();
  }
}

void TRzRegIniFile::AfterWrite() {
  if (FPathType == ptIniFile && FAutoUpdateIniFile) UpdateIniFile();
}

bool TRzRegIniFile::SectionExists(const String& ASection) { return Storage()->SectionExists(ASection); }

bool TRzRegIniFile::ValueExists(const String& ASection, const String& AName) {
  return Storage()->ValueExists(ASection, AName);
}

bool TRzRegIniFile::ReadBool(const String& ASection, const String& AName, bool ADefault) {
  return Storage()->ReadBool(ASection, AName, ADefault);
}

TDateTime TRzRegIniFile::ReadDate(const String& ASection, const String& AName, TDateTime ADefault) {
  return Storage()->ReadDate(ASection, AName, ADefault);
}

TDateTime TRzRegIniFile::ReadDateTime(const String& ASection, const String& AName, TDateTime ADefault) {
  return Storage()->ReadDateTime(ASection, AName, ADefault);
}

double TRzRegIniFile::ReadFloat(const String& ASection, const String& AName, double ADefault) {
  return Storage()->ReadFloat(ASection, AName, ADefault);
}

int TRzRegIniFile::ReadInteger(const String& ASection, const String& AName, int ADefault) {
  return Storage()->ReadInteger(ASection, AName, ADefault);
}

String TRzRegIniFile::ReadString(const String& ASection, const String& AName, const String& ADefault) {
  return Storage()->ReadString(ASection, AName, ADefault);
}

TDateTime TRzRegIniFile::ReadTime(const String& ASection, const String& AName, TDateTime ADefault) {
  return Storage()->ReadTime(ASection, AName, ADefault);
}

int TRzRegIniFile::ReadBinaryStream(const String& ASection, const String& AName, TStream* AStream) {
  return Storage()->ReadBinaryStream(ASection, AName, AStream);
}

void TRzRegIniFile::ReadSection(const String& ASection, TStrings* AStrings) {
  Storage()->ReadSection(ASection, AStrings);
}

void TRzRegIniFile::ReadSections(TStrings* AStrings) { Storage()->ReadSections(AStrings); }

void TRzRegIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) {
  TCustomIniFile* storage = Storage();
  if (FPathType == ptIniFile) {
    storage->ReadSectionValues(ASection, AStrings);
    return;
  }
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    TOwned<TRegistry> registry(New<TRegistry>(KEY_READ));
    registry->SetRootKey(RegKeyHandle(FRegKey));
    const bool endsWithDelimiter = !FPath.empty() && FPath.back() == L'\\';
    if (registry->OpenKeyReadOnly(FPath + (endsWithDelimiter ? L"" : L"\\") + ASection)) {
      TOwned<TStringList> names(New<TStringList>());
      registry->GetValueNames(names.get());
      names->SetSorted(true);
      for (int i = 0; i < names->Count(); ++i) {
        const String name = names->Strings(i);
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(registry->CurrentKey(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
          continue;
        std::vector<std::uint8_t> data(size);
        if (::RegQueryValueExW(registry->CurrentKey(), name.c_str(), nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
          continue;
        AStrings->Add(FormatRegistryValueLine(name, type, data.data(), std::min<std::size_t>(size, data.size())));
      }
      registry->CloseKey();
    }
  });
}

void TRzRegIniFile::WriteBool(const String& ASection, const String& AName, bool AValue) {
  Storage()->WriteBool(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteDate(const String& ASection, const String& AName, TDateTime AValue) {
  Storage()->WriteDate(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteDateTime(const String& ASection, const String& AName, TDateTime AValue) {
  Storage()->WriteDateTime(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteFloat(const String& ASection, const String& AName, double AValue) {
  Storage()->WriteFloat(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteInteger(const String& ASection, const String& AName, int AValue) {
  Storage()->WriteInteger(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteString(const String& ASection, const String& AName, const String& AValue) {
  Storage()->WriteString(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteTime(const String& ASection, const String& AName, TDateTime AValue) {
  Storage()->WriteTime(ASection, AName, AValue);
  AfterWrite();
}

void TRzRegIniFile::WriteBinaryStream(const String& ASection, const String& AName, TStream* AStream) {
  Storage()->WriteBinaryStream(ASection, AName, AStream);
  AfterWrite();
}

void TRzRegIniFile::EraseSection(const String& ASection) {
  Storage()->EraseSection(ASection);
  AfterWrite();
}

void TRzRegIniFile::DeleteKey(const String& ASection, const String& AName) {
  Storage()->DeleteKey(ASection, AName);
  AfterWrite();
}

// ---------------------------------------------------------------------------
// Unit start-up

void RzCommonInitialization() {
  GStartDirectory = GetCurrentDir();
  ReadXPColorScheme();
  RegisterClasses({TRzRegIniFile::ClassInfo(), TRzPropertyStore::ClassInfo(), TRzFrameController::ClassInfo()});
}
