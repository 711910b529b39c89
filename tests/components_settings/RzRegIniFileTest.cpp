#include "components/settings/RzCommon.h"

#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Handles.h"
#include "tests/components_settings/SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

String ProgramFile() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return buffer;
}

std::vector<String> Lines(TStrings* AStrings) { return AStrings->ToStringArray(); }

// ---------------------------------------------------------------------------
// Where the INI file lies

TEST(RzRegIniFilePath, ResolvesOnceAgainstTheStartDirectory) {
  TStartDirFile file(L"rz_start_dir.cfg");
  TCurrentDirGuard restore;
  TTempDir elsewhere;
  {
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetPath(L".\\" + file.Name());
    EXPECT_EQ(ini->ReadString(L"S", L"K", L"none"), L"none");
    EXPECT_EQ(ini->Path(), file.Full());
    // Opening a project elsewhere changes the current directory.
    ASSERT_TRUE(SetCurrentDir(elsewhere.File(L"")));
    ini->WriteString(L"S", L"K", L"115200");
  }
  EXPECT_TRUE(FileThere(file.Full()));
  EXPECT_FALSE(FileThere(elsewhere.File(file.Name())));
  // The next run, started from the same place, finds the value.
  TOwned<TRzRegIniFile> next(New<TRzRegIniFile>(nullptr));
  next->SetPath(L".\\" + file.Name());
  EXPECT_EQ(next->ReadString(L"S", L"K", String()), L"115200");
}

TEST(RzRegIniFilePath, ARelativePathNeverFollowsTheCurrentDirectory) {
  TCurrentDirGuard restore;
  TTempDir elsewhere;
  ASSERT_TRUE(SetCurrentDir(elsewhere.File(L"")));
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(L"sub\\x.cfg");
  ini->ValueExists(L"S", L"K");
  EXPECT_EQ(ini->Path(), IncludeTrailingPathDelimiter(StartDirectory()) + L"sub\\x.cfg");
}

struct TPathCase {
  const wchar_t* Name;
  String Path;
  TRzSpecialFolder Folder;
  String Expected;
};

TEST(RzRegIniFilePath, ResolvedPaths) {
  TTempDir dir;
  const String programDir = ExtractFilePath(ProgramFile());
  const String local = GetSpecialFolderPath(28);
  ASSERT_FALSE(local.empty());
  const String subDir = L"SkarnivelTest" + std::to_wstring(::GetCurrentProcessId());
  const TPathCase cases[] = {
      {L"absolute, unchanged", dir.File(L"a.cfg"), sfNone, dir.File(L"a.cfg")},
      {L"bare name: program directory, .ini", L"settings.cfg", sfNone, programDir + L"settings.ini"},
      {L"empty: the program's name, .ini", L"", sfNone, ChangeFileExt(ProgramFile(), L".ini")},
      {L"relative with directory keeps its extension", L".\\Skarnivel.cfg", sfNone,
       IncludeTrailingPathDelimiter(StartDirectory()) + L"Skarnivel.cfg"},
      {L"special folder: sub-directory and .ini", subDir + L"\\App.cfg", sfUserAppDataLocal,
       local + subDir + L"\\App.ini"},
  };
  for (const TPathCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetPath(c.Path);
    ini->SetSpecialFolder(c.Folder);
    ini->SectionExists(L"any");
    EXPECT_EQ(UpperCase(ini->Path()), UpperCase(c.Expected));
  }
  EXPECT_TRUE(DirectoryExists(local + subDir));
  RemoveDir(local + subDir);
}

TEST(RzRegIniFilePath, ANewPathOpensTheNewFileWithoutTheOldContent) {
  TTempDir dir;
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(dir.File(L"one.cfg"));
  ini->WriteString(L"S", L"K", L"first");
  ini->SetPath(dir.File(L"two.cfg"));
  EXPECT_FALSE(ini->ValueExists(L"S", L"K"));
  ini->WriteString(L"S", L"Other", L"second");
  EXPECT_EQ(FileBytes(dir.File(L"two.cfg")), "[S]\r\nOther=second\r\n\r\n");
  EXPECT_EQ(FileBytes(dir.File(L"one.cfg")), "[S]\r\nK=first\r\n\r\n");
}

// ---------------------------------------------------------------------------
// Reading and writing the INI file

TEST(RzRegIniFileIni, AMissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
  TTempDir dir;
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(dir.File(L"new.cfg"));
  EXPECT_FALSE(ini->SectionExists(L"S"));
  EXPECT_EQ(ini->ReadInteger(L"S", L"N", 7), 7);
  EXPECT_FALSE(FileThere(dir.File(L"new.cfg")));
  ini->WriteInteger(L"S", L"N", 42);
  EXPECT_EQ(FileBytes(dir.File(L"new.cfg")), "[S]\r\nN=42\r\n\r\n");
}

TEST(RzRegIniFileIni, TypedValuesSurviveANewInstance) {
  TTempDir dir;
  const String path = dir.File(L"typed.cfg");
  const TDateTime when = EncodeDateTime(2024, 2, 29, 13, 45, 30, 0);
  {
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetPath(path);
    ini->WriteBool(L"T", L"Bool", true);
    ini->WriteInteger(L"T", L"Int", -17);
    ini->WriteFloat(L"T", L"Float", 2.5);
    ini->WriteString(L"T", L"Text", L"115200");
    ini->WriteDateTime(L"T", L"When", when);
    TOwned<TBytesStream> bytes(New<TBytesStream>(TBytes{1, 2, 0xAB}));
    ini->WriteBinaryStream(L"T", L"Bin", bytes.get());
  }
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  EXPECT_TRUE(ini->ReadBool(L"T", L"Bool", false));
  EXPECT_EQ(ini->ReadInteger(L"T", L"Int", 0), -17);
  EXPECT_DOUBLE_EQ(ini->ReadFloat(L"T", L"Float", 0), 2.5);
  EXPECT_EQ(ini->ReadString(L"T", L"Text", String()), L"115200");
  EXPECT_NEAR(ini->ReadDateTime(L"T", L"When", 0), when, 1.0 / 86400);
  TOwned<TBytesStream> bytes(New<TBytesStream>());
  EXPECT_EQ(ini->ReadBinaryStream(L"T", L"Bin", bytes.get()), 3);
  EXPECT_EQ(bytes->Bytes(), (TBytes{1, 2, 0xAB}));
  TOwned<TStringList> names(New<TStringList>());
  ini->ReadSection(L"T", names.get());
  EXPECT_EQ(names->Count(), 6);
}

TEST(RzRegIniFileIni, OtherSectionsAndKeysStayInTheFile) {
  TTempDir dir;
  const String path = dir.File(L"keep.cfg");
  WriteFileBytes(path, "; written by hand\r\n[Other]\r\nA=1\r\n[Main]\r\nOld=x\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  ini->WriteString(L"Main", L"New", L"y");
  EXPECT_EQ(FileBytes(path), "; written by hand\r\n\r\n[Other]\r\nA=1\r\n\r\n[Main]\r\nOld=x\r\nNew=y\r\n\r\n");
  ini->DeleteKey(L"Main", L"Old");
  ini->EraseSection(L"Other");
  EXPECT_EQ(FileBytes(path), "; written by hand\r\n\r\n[Main]\r\nNew=y\r\n\r\n");
}

TEST(RzRegIniFileIni, WithoutAutoUpdateOnlyUpdateIniFileOrDestructionWrites) {
  TTempDir dir;
  const String path = dir.File(L"manual.cfg");
  {
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetAutoUpdateIniFile(false);
    ini->SetPath(path);
    ini->WriteString(L"S", L"A", L"1");
    EXPECT_FALSE(FileThere(path));
    ini->UpdateIniFile();
    EXPECT_EQ(FileBytes(path), "[S]\r\nA=1\r\n\r\n");
    ini->WriteString(L"S", L"B", L"2");
    EXPECT_EQ(FileBytes(path), "[S]\r\nA=1\r\n\r\n");
  }
  EXPECT_EQ(FileBytes(path), "[S]\r\nA=1\r\nB=2\r\n\r\n");
}

TEST(RzRegIniFileIni, ReadSectionValuesGivesNameValueLines) {
  TTempDir dir;
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(dir.File(L"values.cfg"));
  ini->WriteString(L"S", L"B", L"2");
  ini->WriteString(L"S", L"A", L"1");
  TOwned<TStringList> lines(New<TStringList>());
  ini->ReadSectionValues(L"S", lines.get());
  EXPECT_EQ(Lines(lines.get()), (std::vector<String>{L"B=2", L"A=1"}));
}

TEST(RzRegIniFileIni, AHugeLineIsReadAndWrittenBack) {
  TTempDir dir;
  const String path = dir.File(L"huge.cfg");
  const std::string value(3 * 1024 * 1024, '7');
  WriteFileBytes(path, "[S]\r\nK=" + value + "\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  EXPECT_EQ(ini->ReadString(L"S", L"K", String()).size(), value.size());
  ini->WriteString(L"S", L"Other", L"1");
  EXPECT_EQ(FileBytes(path), "[S]\r\nK=" + value + "\r\nOther=1\r\n\r\n");
}

// ---------------------------------------------------------------------------
// Encodings

TEST(RzRegIniFileEncoding, PlainTextIsWrittenInTheAnsiCodePage) {
  TTempDir dir;
  const String path = dir.File(L"ansi.cfg");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  ini->WriteString(L"S", L"K", L"Größe");
  EXPECT_EQ(FileBytes(path), StringToAnsi(L"[S]\r\nK=Größe\r\n\r\n"));
}

TEST(RzRegIniFileEncoding, AFileWithAByteOrderMarkKeepsItsEncoding) {
  TTempDir dir;
  const String path = dir.File(L"utf8.cfg");
  WriteFileBytes(path, "\xEF\xBB\xBF[Other]\r\nName=\xCE\xA9mega\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  EXPECT_EQ(ini->ReadString(L"Other", L"Name", String()), L"\u03A9mega");
  ini->WriteString(L"S", L"K", L"1");
  EXPECT_EQ(FileBytes(path), "\xEF\xBB\xBF[Other]\r\nName=\xCE\xA9mega\r\n\r\n[S]\r\nK=1\r\n\r\n");
}

TEST(RzRegIniFileEncoding, TextTheAnsiCodePageCannotHoldIsWrittenAsUtf8) {
  TTempDir dir;
  const String path = dir.File(L"wide.cfg");
  const String text = L"\u03A9\u4E2D";
  if (TEncoding::Default()->GetString(TEncoding::Default()->GetBytes(text)) == text)
    GTEST_SKIP() << "the ANSI code page holds these characters";
  {
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetPath(path);
    ini->WriteString(L"S", L"K", text);
  }
  EXPECT_EQ(FileBytes(path), "\xEF\xBB\xBF[S]\r\nK=" + UTF8Encode(text) + "\r\n\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  EXPECT_EQ(ini->ReadString(L"S", L"K", String()), text);
}

TEST(RzRegIniFileEncoding, ChosenEncodingsReadAndWrite) {
  struct TCase {
    const wchar_t* Name;
    TRzIniFileEncoding Encoding;
    std::string Expected;
  };
  const TCase cases[] = {
      {L"feUTF8", feUTF8, "\xEF\xBB\xBF[S]\r\nK=\xC3\xA4\r\n\r\n"},
      {L"feUnicode", feUnicode,
       std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE4\0\r\0\n\0\r\0\n\0", 26)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    const String path = dir.File(L"chosen.cfg");
    {
      TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
      ini->SetFileEncoding(c.Encoding);
      ini->SetPath(path);
      ini->WriteString(L"S", L"K", L"ä");
    }
    EXPECT_EQ(FileBytes(path), c.Expected);
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetFileEncoding(c.Encoding);
    ini->SetPath(path);
    EXPECT_EQ(ini->ReadString(L"S", L"K", String()), L"ä");
  }
}

// ---------------------------------------------------------------------------
// Damaged files

struct TDamageCase {
  const wchar_t* Name;
  TRzIniFileEncoding Encoding;
  std::string Bytes;
};

TEST(RzRegIniFileDamage, ADamagedFileIsKeptAsideAndReported) {
  std::string utf16WithoutMark;
  for (char c : std::string("[Skarnivel configuration]\r\nCB_Baudrate.Text=19200\r\n")) {
    utf16WithoutMark += c;
    utf16WithoutMark += '\0';
  }
  std::string binary;
  for (int i = 0; i < 600; ++i) binary += static_cast<char>((i * 37) & 0xFF);
  const TDamageCase cases[] = {
      {L"UTF-16 without byte-order mark", feDefault, utf16WithoutMark},
      {L"binary garbage", feDefault, binary},
      {L"not UTF-8 although UTF-8 was chosen", feUTF8, "[S]\r\nK=\xFF\xFE\xC3\r\n"},
      {L"UTF-16 with an odd number of bytes", feDefault, std::string("\xFF\xFE[\0S\0]", 7)},
  };
  for (const TDamageCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    const String path = dir.File(L"damaged.cfg");
    WriteFileBytes(path, c.Bytes);
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetFileEncoding(c.Encoding);
    ini->SetPath(path);
    try {
      ini->ValueExists(L"Skarnivel configuration", L"CB_Baudrate.Text");
      ADD_FAILURE() << "no error for a damaged file";
    } catch (const ERzSettingsFileError& E) {
      EXPECT_NE(E.Message().find(path + L".bak"), String::npos) << E.Message();
    }
    // Nothing is lost: the old bytes lie beside, and the storage goes on empty.
    EXPECT_EQ(FileBytes(path + L".bak"), c.Bytes);
    EXPECT_FALSE(FileThere(path));
    EXPECT_FALSE(ini->ValueExists(L"Skarnivel configuration", L"CB_Baudrate.Text"));
    ini->WriteString(L"S", L"K", L"1");
    TOwned<TRzRegIniFile> next(New<TRzRegIniFile>(nullptr));
    next->SetFileEncoding(c.Encoding);
    next->SetPath(path);
    EXPECT_EQ(next->ReadString(L"S", L"K", String()), L"1");
    EXPECT_FALSE(FileThere(path + L".tmp"));
  }
}

TEST(RzRegIniFileDamage, AFileTooLargeForSettingsIsKeptAside) {
  TTempDir dir;
  const String path = dir.File(L"large.cfg");
  {
    const TKernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER size{};
    size.QuadPart = TRzRegIniFile::MaxFileSize + 1;
    ::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
  }
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  EXPECT_THROW(ini->SectionExists(L"S"), ERzSettingsFileError);
  EXPECT_TRUE(FileThere(path + L".bak"));
  EXPECT_FALSE(ini->SectionExists(L"S"));
}

TEST(RzRegIniFileDamage, AnUnreadableFileIsNeverOverwritten) {
  TTempDir dir;
  const String path = dir.File(L"locked.cfg");
  WriteFileBytes(path, "[S]\r\nK=old\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  TKernelHandle lock(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  EXPECT_THROW(ini->ReadString(L"S", L"K", String()), ERzSettingsFileError);
  EXPECT_THROW(ini->WriteString(L"S", L"K", L"new"), ERzSettingsFileError);
  lock.Reset();
  EXPECT_EQ(FileBytes(path), "[S]\r\nK=old\r\n");
  // Once the file can be read, it is read.
  EXPECT_EQ(ini->ReadString(L"S", L"K", String()), L"old");
}

TEST(RzRegIniFileDamage, AFailedWriteLeavesTheOldFile) {
  TTempDir dir;
  const String path = dir.File(L"kept.cfg");
  WriteFileBytes(path, "[S]\r\nK=old\r\n");
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPath(path);
  ASSERT_EQ(ini->ReadString(L"S", L"K", String()), L"old");
  // A directory where the temporary file would go makes the write fail.
  ASSERT_TRUE(CreateDir(path + L".tmp"));
  EXPECT_THROW(ini->WriteString(L"S", L"K", L"new"), EStreamError);
  EXPECT_EQ(FileBytes(path), "[S]\r\nK=old\r\n");
  RemoveDir(path + L".tmp");
}

// ---------------------------------------------------------------------------
// The registry

TEST(RzRegIniFileRegistry, ValuesGoToTheKeyBelowTheChosenRoot) {
  TScratchRegistryKey key;
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPathType(ptRegistry);
  ini->SetPath(L"\\" + key.Path());
  ini->WriteInteger(L"Sec", L"Count", 5);
  ini->WriteString(L"Sec", L"Name", L"Skarnivel");
  TOwned<TRegistry> reg(New<TRegistry>(KEY_READ));
  reg->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg->OpenKeyReadOnly(key.Path() + L"\\Sec"));
  EXPECT_EQ(reg->ReadInteger(L"Count"), 5);
  EXPECT_EQ(reg->ReadString(L"Name"), L"Skarnivel");
  EXPECT_EQ(ini->ReadInteger(L"Sec", L"Count", 0), 5);
  EXPECT_FALSE(FileThere(ChangeFileExt(ProgramFile(), L".ini")));
}

TEST(RzRegIniFileRegistry, SectionValuesAreListedSortedByType) {
  TScratchRegistryKey key;
  TRegKey section;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (key.Path() + L"\\S").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              section.Receive(), nullptr),
            ERROR_SUCCESS);
  const DWORD number = static_cast<DWORD>(-3);
  const BYTE binary[] = {0x0A, 0xFF};
  const wchar_t text[] = L"hello";
  const wchar_t multi[] = L"a\0b\0";
  ::RegSetValueExW(section.Get(), L"Zeta", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  ::RegSetValueExW(section.Get(), L"Alpha", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  ::RegSetValueExW(section.Get(), L"Bin", 0, REG_BINARY, binary, sizeof binary);
  ::RegSetValueExW(section.Get(), L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
  ::RegSetValueExW(section.Get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  section.Reset();

  // Without and with a trailing delimiter on the key path.
  for (const String& path : {L"\\" + key.Path(), L"\\" + key.Path() + L"\\"}) {
    SCOPED_TRACE(path);
    TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
    ini->SetPathType(ptRegistry);
    ini->SetPath(path);
    TOwned<TStringList> lines(New<TStringList>());
    ini->ReadSectionValues(L"S", lines.get());
    EXPECT_EQ(Lines(lines.get()), (std::vector<String>{L"Default=hello", L"Alpha=hello", L"Bin=0A FF ",
                                                       L"Multi=Unknown Data Type", L"Zeta=-3"}));
  }
}

TEST(RzRegIniFileRegistry, AnEmptyPathUsesTheTemporaryKeyOfTheProgram) {
  TOwned<TRzRegIniFile> ini(New<TRzRegIniFile>(nullptr));
  ini->SetPathType(ptRegistry);
  ini->SectionExists(L"S");
  EXPECT_EQ(ini->Path(), L"\\Software\\Temp\\" + ChangeFileExt(ExtractFileName(ProgramFile()), String()));
  ::RegDeleteKeyW(HKEY_CURRENT_USER, ini->Path().substr(1).c_str());
}

TEST(RzRegIniFileRegistry, AccessRightsAreTheOrOfTheChosenMasks) {
  EXPECT_EQ(RegAccessMask(TRzRegAccess{keyAllAccess}), static_cast<REGSAM>(KEY_ALL_ACCESS));
  EXPECT_EQ(RegAccessMask(TRzRegAccess{keyRead, keyWrite}), static_cast<REGSAM>(KEY_READ | KEY_WRITE));
  EXPECT_EQ(RegAccessMask(TRzRegAccess{keyQueryValue, keyEnumerateSubKeys, keyNotify}),
            static_cast<REGSAM>(KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY));
}

}  // namespace
