#include "platform/classes/IniFiles.h"
#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"

#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <functional>
#include <string>

namespace {

std::vector<String> Lines(TStrings* AStrings) { return AStrings->ToStringArray(); }

// ---------------------------------------------------------------------------
// Typed values through every kind of INI storage

struct TStorageKind {
  const char* Name;
  std::function<TCustomIniFile*(const TTempDir&)> Make;
  bool KeepsWriteOrder;  // the registry lists in its own order (Wine: sorted)
};
void PrintTo(const TStorageKind& AKind, std::ostream* AOut) { *AOut << AKind.Name; }

std::vector<String> InOrder(std::vector<String> ALines, bool AKeepsWriteOrder) {
  if (!AKeepsWriteOrder) std::sort(ALines.begin(), ALines.end());
  return ALines;
}

class ScratchRegistryKey {
 public:
  static String Path() { return L"Software\\Skarnivel-Tests\\IniFiles-" + std::to_wstring(::GetCurrentProcessId()); }
  ~ScratchRegistryKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, Path().c_str()); }
};

const TStorageKind Kinds[] = {
    {"TMemIniFile", [](const TTempDir& D) -> TCustomIniFile* { return New<TMemIniFile>(D.File(L"typed.ini")); }, true},
    {"TIniFile", [](const TTempDir& D) -> TCustomIniFile* { return New<TIniFile>(D.File(L"typed.ini")); }, true},
    {"TRegistryIniFile",
     [](const TTempDir&) -> TCustomIniFile* { return New<TRegistryIniFile>(ScratchRegistryKey::Path()); }, false},
};

class IniTyped : public testing::TestWithParam<TStorageKind> {
 protected:
  TTempDir Dir;
  ScratchRegistryKey Key;
  TOwned<TCustomIniFile> Ini{GetParam().Make(Dir)};
};

TEST_P(IniTyped, ValuesReadBackAsWritten) {
  TCustomIniFile* ini = Ini.get();
  ini->WriteString(L"Main", L"Text", L"Größe 100 %");
  ini->WriteInteger(L"Main", L"Negative", -42);
  ini->WriteInt64(L"Main", L"Big", 0x123456789LL);
  ini->WriteBool(L"Main", L"Yes", true);
  ini->WriteBool(L"Main", L"No", false);
  ini->WriteFloat(L"Main", L"Ratio", 0.1);
  const TDateTime day = EncodeDate(2024, 2, 29);
  const TDateTime moment = EncodeDateTime(2023, 12, 31, 23, 59, 58, 0);
  const TDateTime time = EncodeTime(7, 5, 3, 0);
  ini->WriteDate(L"Main", L"Day", day);
  ini->WriteDateTime(L"Main", L"Moment", moment);
  ini->WriteTime(L"Main", L"Time", time);
  TOwned<TMemoryStream> data(New<TMemoryStream>());
  data->WriteBuffer("\x00\x01\xFE\xFF", 4);
  data->SetPosition(0);
  ini->WriteBinaryStream(L"Main", L"Data", data.get());
  ini->UpdateFile();

  EXPECT_EQ(ini->ReadString(L"Main", L"Text", L"?"), L"Größe 100 %");
  EXPECT_EQ(ini->ReadInteger(L"Main", L"Negative", 0), -42);
  EXPECT_EQ(ini->ReadInt64(L"Main", L"Big", 0), 0x123456789LL);
  EXPECT_TRUE(ini->ReadBool(L"Main", L"Yes", false));
  EXPECT_FALSE(ini->ReadBool(L"Main", L"No", true));
  EXPECT_DOUBLE_EQ(ini->ReadFloat(L"Main", L"Ratio", 0), 0.1);
  EXPECT_EQ(ini->ReadDate(L"Main", L"Day", 0), day);
  EXPECT_NEAR(ini->ReadDateTime(L"Main", L"Moment", 0), moment, 1.0 / MSecsPerDay);
  EXPECT_NEAR(ini->ReadTime(L"Main", L"Time", 0), time, 1.0 / MSecsPerDay);
  TOwned<TMemoryStream> back(New<TMemoryStream>());
  EXPECT_EQ(ini->ReadBinaryStream(L"Main", L"Data", back.get()), 4);
  EXPECT_EQ(back->Position(), 0);
  EXPECT_EQ(std::string(static_cast<const char*>(back->Memory()), 4), std::string("\x00\x01\xFE\xFF", 4));
}

TEST_P(IniTyped, MissingAndMalformedValuesGiveTheDefault) {
  TCustomIniFile* ini = Ini.get();
  ini->WriteString(L"S", L"Word", L"abc");
  EXPECT_EQ(ini->ReadString(L"S", L"Missing", L"dflt"), L"dflt");
  EXPECT_EQ(ini->ReadString(L"Nowhere", L"Word", L"dflt"), L"dflt");
  EXPECT_EQ(ini->ReadInteger(L"S", L"Word", 7), 7);
  EXPECT_EQ(ini->ReadInteger(L"S", L"Missing", 7), 7);
  EXPECT_TRUE(ini->ReadBool(L"S", L"Word", true));
  EXPECT_EQ(ini->ReadFloat(L"S", L"Word", 1.5), 1.5);
  EXPECT_EQ(ini->ReadDate(L"S", L"Word", 3.0), 3.0);
  EXPECT_EQ(ini->ReadDateTime(L"S", L"Word", 3.0), 3.0);
  EXPECT_EQ(ini->ReadTime(L"S", L"Word", 0.5), 0.5);
  TOwned<TMemoryStream> back(New<TMemoryStream>());
  EXPECT_EQ(ini->ReadBinaryStream(L"S", L"Word", back.get()), 0);
  EXPECT_EQ(back->Size(), 0);
}

TEST_P(IniTyped, SectionsKeysAndErasure) {
  TCustomIniFile* ini = Ini.get();
  ini->WriteString(L"B", L"k2", L"2");
  ini->WriteString(L"B", L"k1", L"1");
  ini->WriteString(L"A", L"x", L"");
  TOwned<TStringList> list(New<TStringList>());
  const bool ordered = GetParam().KeepsWriteOrder;
  ini->ReadSection(L"B", list.get());
  EXPECT_EQ(InOrder(Lines(list.get()), ordered), InOrder({L"k2", L"k1"}, ordered));
  ini->ReadSectionValues(L"B", list.get());
  EXPECT_EQ(InOrder(Lines(list.get()), ordered), InOrder({L"k2=2", L"k1=1"}, ordered));
  EXPECT_TRUE(ini->SectionExists(L"A"));
  EXPECT_TRUE(ini->ValueExists(L"A", L"x"));
  EXPECT_FALSE(ini->ValueExists(L"A", L"y"));
  ini->DeleteKey(L"B", L"k2");
  ini->ReadSection(L"B", list.get());
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"k1"}));
  ini->EraseSection(L"B");
  EXPECT_FALSE(ini->SectionExists(L"B"));
  ini->ReadSection(L"B", list.get());
  EXPECT_EQ(list->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Storages, IniTyped, testing::ValuesIn(Kinds),
                         [](const testing::TestParamInfo<TStorageKind>& I) { return std::string(I.param.Name); });

// Text files keep one value per line; the registry has no such limit.
class IniText : public IniTyped {};

TEST_P(IniText, LineBreakingNamesAndValuesAreRefused) {
  TCustomIniFile* ini = Ini.get();
  ini->WriteString(L"S", L"Safe", L"1");
  EXPECT_THROW(ini->WriteString(L"S", L"Evil", L"x\r\n[Other]\r\nInjected=1"), EIniFileException);
  EXPECT_THROW(ini->WriteString(L"S", L"a=b", L"1"), EIniFileException);
  EXPECT_THROW(ini->WriteString(L"S", L"[T]", L"1"), EIniFileException);
  EXPECT_THROW(ini->WriteString(L"S]x", L"k", L"1"), EIniFileException);
  ini->UpdateFile();
  EXPECT_FALSE(ini->SectionExists(L"Other"));
  EXPECT_FALSE(ini->ValueExists(L"S", L"Evil"));
  EXPECT_EQ(ini->ReadString(L"S", L"Safe", L""), L"1");
}

INSTANTIATE_TEST_SUITE_P(Files, IniText, testing::ValuesIn(Kinds, Kinds + 2),
                         [](const testing::TestParamInfo<TStorageKind>& I) { return std::string(I.param.Name); });

// ---------------------------------------------------------------------------
// Text forms of typed values

TEST(IniValues, IntegersInHexAndBooleansInWords) {
  TOwned<TMemIniFile> ini(New<TMemIniFile>(String()));
  struct TCase {
    const wchar_t* Text;
    int Integer;  // read with default -1
    int Boolean;  // read with default true: 1, 0
  } cases[] = {
      {L"0x1F", 31, 1},  {L"$ff", 255, 1},     {L"  12 ", 12, 1}, {L"-7", -7, 1},       {L"0", 0, 0},
      {L"True", -1, 1},  {L"false", -1, 0},    {L"1.5", -1, 1},   {L"99999999999", -1, 1}, {L"", -1, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(String(c.Text)));
    ini->WriteString(L"S", L"V", c.Text);
    EXPECT_EQ(ini->ReadInteger(L"S", L"V", -1), c.Integer);
    EXPECT_EQ(ini->ReadBool(L"S", L"V", true), c.Boolean != 0);
  }
}

TEST(IniValues, FloatsAndDatesAlsoReadInTheInvariantForm) {
  TOwned<TMemIniFile> ini(New<TMemIniFile>(String()));
  ini->WriteString(L"S", L"F", L"2.5");
  EXPECT_EQ(ini->ReadFloat(L"S", L"F", 0), 2.5);
  ini->WriteString(L"S", L"D", L"2021-07-04");
  EXPECT_EQ(ini->ReadDate(L"S", L"D", 0), EncodeDate(2021, 7, 4));
  ini->WriteString(L"S", L"DT", L"2021-07-04 13:30:15");
  EXPECT_NEAR(ini->ReadDateTime(L"S", L"DT", 0), EncodeDateTime(2021, 7, 4, 13, 30, 15, 0), 1e-9);
  ini->WriteString(L"S", L"T", L"1:02 PM");
  EXPECT_NEAR(ini->ReadTime(L"S", L"T", 0), EncodeTime(13, 2, 0, 0), 1e-9);
  ini->WriteString(L"S", L"Bad", L"2021-02-30");
  EXPECT_EQ(ini->ReadDate(L"S", L"Bad", -1), -1);
  ini->WriteString(L"S", L"Hex", L"0A0");
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  EXPECT_EQ(ini->ReadBinaryStream(L"S", L"Hex", s.get()), 0);
}

// ---------------------------------------------------------------------------
// TMemIniFile: the file itself

TEST(MemIniFile, CaseInsensitiveLookupKeepsOrderAndSpelling) {
  TTempDir dir;
  const String name = dir.File(L"order.ini");
  WriteFileBytes(name, "; settings\r\n[Zeta]\r\nb=2\r\na=1\r\n\r\n[alpha]\r\nKey = value with spaces \r\n");
  TOwned<TMemIniFile> ini(New<TMemIniFile>(name));
  EXPECT_EQ(ini->ReadString(L"ZETA", L"B", L""), L"2");
  EXPECT_EQ(ini->ReadString(L"Alpha", L"key", L""), L"value with spaces");
  ini->WriteString(L"ALPHA", L"KEY", L"new");
  ini->WriteString(L"zeta", L"c", L"3");
  ini->WriteString(L"Omega", L"z", L"26");
  TOwned<TStringList> sections(New<TStringList>());
  ini->ReadSections(sections.get());
  EXPECT_EQ(Lines(sections.get()), (std::vector<String>{L"Zeta", L"alpha", L"Omega"}));
  ini->UpdateFile();
  EXPECT_EQ(ReadFileBytes(name),
            "; settings\r\n\r\n[Zeta]\r\nb=2\r\na=1\r\nc=3\r\n\r\n[alpha]\r\nKey=new\r\n\r\n[Omega]\r\nz=26\r\n\r\n");
  ini->SetCaseSensitive(true);
  EXPECT_EQ(ini->ReadString(L"ZETA", L"b", L"none"), L"none");
  EXPECT_EQ(ini->ReadString(L"Zeta", L"b", L"none"), L"2");
}

TEST(MemIniFile, EncodingsWithAndWithoutByteOrderMark) {
  TTempDir dir;
  struct TCase {
    const char* Name;
    std::string Bytes;
    TEncoding* Given;  // null: detect
    TEncoding* Expected;
  } cases[] = {
      {"UTF-8 with mark", "\xEF\xBB\xBF[S]\r\nk=Gr\xC3\xB6\xC3\x9F" "e\r\n", nullptr, TEncoding::UTF8()},
      {"UTF-8 without mark, given", "[S]\r\nk=Gr\xC3\xB6\xC3\x9F" "e\r\n", TEncoding::UTF8(), TEncoding::UTF8()},
      {"UTF-16 with mark", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0G\0r\0\xF6\0\xDF\0" "e\0", 26), nullptr,
       TEncoding::Unicode()},
      {"code page 1252 without mark", "[S]\r\nk=Gr\xF6\xDF" "e\r\n", TEncoding::GetEncoding(1252),
       TEncoding::GetEncoding(1252)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const String name = dir.File(L"enc.ini");
    WriteFileBytes(name, c.Bytes);
    TOwned<TMemIniFile> ini(New<TMemIniFile>(name, c.Given));
    EXPECT_EQ(ini->ReadString(L"S", L"k", L""), L"Größe");
    EXPECT_EQ(ini->Encoding(), c.Expected);
    // Written back in the same encoding, with its mark when it has one.
    ini->UpdateFile();
    const TBytes preamble = c.Expected->GetPreamble();
    const std::string written = ReadFileBytes(name);
    EXPECT_EQ(written.substr(0, preamble.size()), std::string(preamble.begin(), preamble.end()));
    TOwned<TMemIniFile> again(New<TMemIniFile>(name, c.Given));
    EXPECT_EQ(again->ReadString(L"S", L"k", L""), L"Größe");
  }
}

TEST(MemIniFile, ChosenEncodingDecidesTheWrittenBytes) {
  TTempDir dir;
  const String name = dir.File(L"out.ini");
  TOwned<TMemIniFile> ini(New<TMemIniFile>(name));
  ini->WriteString(L"S", L"k", L"ü");
  ini->SetEncoding(TEncoding::UTF8());
  ini->UpdateFile();
  EXPECT_EQ(ReadFileBytes(name), "\xEF\xBB\xBF[S]\r\nk=\xC3\xBC\r\n\r\n");
  ini->SetEncoding(TEncoding::GetEncoding(1252));
  ini->UpdateFile();
  EXPECT_EQ(ReadFileBytes(name), "[S]\r\nk=\xFC\r\n\r\n");
}

TEST(MemIniFile, HostileFilesLoadAndKeepWhatTheyCan) {
  TTempDir dir;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  struct TCase {
    const char* Name;
    std::string Bytes;
    const wchar_t* Section;
    const wchar_t* Key;
    const wchar_t* Value;
  } cases[] = {
      {"binary garbage before a section", garbage + "\r\n[Real]\r\nkey=value\r\n", L"Real", L"key", L"value"},
      {"huge line", "[S]\r\nlong=" + std::string(2000000, 'x') + "\r\nafter=1\r\n", L"S", L"after", L"1"},
      {"missing bracket", "[Open\r\nk=v\r\n", L"Open", L"k", L"v"},
      {"invalid UTF-8 read as UTF-8", "\xEF\xBB\xBF[S]\r\nbad=\xC3\x28\xFF\r\nok=1\r\n", L"S", L"ok", L"1"},
      {"NUL bytes", std::string("[S]\r\na=1\0\0\r\nb=2\r\n", 17), L"S", L"b", L"2"},
      {"repeated section continues the first", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2\r\n", L"S", L"b", L"2"},
      {"repeated name: the first counts", "[S]\r\nk=first\r\nk=second\r\n", L"S", L"k", L"first"},
      {"lone CR line breaks", "[S]\ra=1\rb=2", L"S", L"b", L"2"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const String name = dir.File(L"hostile.ini");
    WriteFileBytes(name, c.Bytes);
    TOwned<TMemIniFile> ini(New<TMemIniFile>(name));
    EXPECT_EQ(ini->ReadString(c.Section, c.Key, L"<missing>"), c.Value);
    // Writing back and reading again keeps the value.
    ini->WriteString(L"Added", L"x", L"y");
    ini->UpdateFile();
    TOwned<TMemIniFile> again(New<TMemIniFile>(name, ini->Encoding()));
    EXPECT_EQ(again->ReadString(c.Section, c.Key, L"<missing>"), c.Value);
    EXPECT_EQ(again->ReadString(L"Added", L"x", L""), L"y");
  }
}

TEST(MemIniFile, CommentsAndOddLinesSurviveARewrite) {
  TOwned<TMemIniFile> ini(New<TMemIniFile>(String()));
  TOwned<TStringList> lines(New<TStringList>());
  lines->SetText(L"top=1\r\n; about S\r\n[S]\r\n;k=commented\r\nno pair here\r\nk=v\r\nk=dup\r\n");
  ini->SetStrings(lines.get());
  EXPECT_EQ(ini->ReadString(L"S", L"k", L""), L"v");
  TOwned<TStringList> names(New<TStringList>());
  ini->ReadSection(L"S", names.get());
  EXPECT_EQ(Lines(names.get()), (std::vector<String>{L"k"}));
  ini->GetStrings(lines.get());
  EXPECT_EQ(Lines(lines.get()), (std::vector<String>{L"top=1", L"; about S", L"", L"[S]", L";k=commented",
                                                     L"no pair here", L"k=v", L"k=dup", L""}));
  ini->DeleteKey(L"S", L"K");  // every line of that name
  ini->GetStrings(lines.get());
  EXPECT_EQ(lines->IndexOf(L"k=dup"), -1);
  EXPECT_EQ(lines->IndexOf(L";k=commented"), 4);
}

TEST(MemIniFile, MissingFileIsEmptyAndRenameReloads) {
  TTempDir dir;
  TOwned<TMemIniFile> ini(New<TMemIniFile>(dir.File(L"none.ini")));
  TOwned<TStringList> sections(New<TStringList>());
  ini->ReadSections(sections.get());
  EXPECT_EQ(sections->Count(), 0);
  ini->WriteString(L"S", L"k", L"v");
  const String other = dir.File(L"other.ini");
  WriteFileBytes(other, "[O]\r\nq=1\r\n");
  ini->Rename(other, true);
  EXPECT_EQ(ini->ReadString(L"S", L"k", L"gone"), L"gone");
  EXPECT_EQ(ini->ReadInteger(L"O", L"q", 0), 1);
  ini->Rename(dir.File(L"third.ini"), false);
  ini->UpdateFile();
  EXPECT_EQ(ReadFileBytes(dir.File(L"third.ini")), "[O]\r\nq=1\r\n\r\n");
  ini->Clear();
  EXPECT_FALSE(ini->SectionExists(L"O"));
}

// ---------------------------------------------------------------------------
// TIniFile: the system's view of the same file

TEST(IniFile, ReadsWhatTheMemoryFileWrote) {
  TTempDir dir;
  const String name = dir.File(L"shared.ini");
  {
    TOwned<TMemIniFile> mem(New<TMemIniFile>(name));
    mem->WriteString(L"MainParams", L"CPUname", L"ATxmega128A1");
    mem->WriteInteger(L"MainParams", L"PageSize", 256);
    mem->UpdateFile();
  }
  TOwned<TIniFile> ini(New<TIniFile>(name));
  EXPECT_EQ(ini->ReadString(L"mainparams", L"cpuname", L"---"), L"ATxmega128A1");
  EXPECT_EQ(ini->ReadInteger(L"MainParams", L"PageSize", 0), 256);
  EXPECT_EQ(ini->ReadInteger(L"MainParams", L"FlashMax", -1), -1);
  const String big(70000, L'v');
  ini->WriteString(L"MainParams", L"Big", big);
  EXPECT_EQ(ini->ReadString(L"MainParams", L"Big", L""), big);
}

}  // namespace
