#include "platform/classes/Registry.h"

#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A scratch key under HKEY_CURRENT_USER, removed with everything below it.
class RegistryTest : public testing::Test {
 protected:
  const String Path = L"Software\\Skarnivel-Tests\\Registry-" + std::to_wstring(::GetCurrentProcessId());
  TOwned<TRegistry> Reg{New<TRegistry>()};

  void SetUp() override { ASSERT_TRUE(Reg->OpenKey(L"\\" + Path, true)); }
  void TearDown() override {
    Reg->CloseKey();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Path.c_str());
  }

  // The value names as the system enumerates them.
  std::vector<String> RawValueNames() {
    std::vector<String> names;
    TRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (::RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
};

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes) {
  Reg->WriteString(L"Text", L"Größe");
  Reg->WriteExpandString(L"Expand", L"%TEMP%\\x");
  Reg->WriteInteger(L"Int", -5);
  Reg->WriteBool(L"Flag", true);
  Reg->WriteFloat(L"Float", 2.75);
  Reg->WriteDateTime(L"When", 45000.5);
  const unsigned char bytes[] = {0, 1, 2, 0xFF};
  Reg->WriteBinaryData(L"Bin", bytes, 4);
  Reg->WriteString(L"", L"default value");

  EXPECT_EQ(Reg->ReadString(L"Text"), L"Größe");
  EXPECT_EQ(Reg->ReadString(L"Expand"), L"%TEMP%\\x");
  EXPECT_EQ(Reg->ReadInteger(L"Int"), -5);
  EXPECT_TRUE(Reg->ReadBool(L"Flag"));
  EXPECT_EQ(Reg->ReadFloat(L"Float"), 2.75);
  EXPECT_EQ(Reg->ReadDateTime(L"When"), 45000.5);
  EXPECT_EQ(Reg->ReadBinaryBytes(L"Bin"), (TBytes{0, 1, 2, 0xFF}));
  EXPECT_EQ(Reg->ReadString(L""), L"default value");

  struct TCase {
    const wchar_t* Name;
    TRegDataType Type;
    int Size;
  } cases[] = {
      {L"Text", rdString, 12},     {L"Expand", rdExpandString, 18}, {L"Int", rdInteger, 4},
      {L"Float", rdBinary, 8},     {L"Bin", rdBinary, 4},           {L"Missing", rdUnknown, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(String(c.Name)));
    EXPECT_EQ(Reg->GetDataType(c.Name), c.Type);
    EXPECT_EQ(Reg->GetDataSize(c.Name), c.Size);
    TRegDataInfo info;
    EXPECT_EQ(Reg->GetDataInfo(c.Name, info), c.Size >= 0);
  }
}

TEST_F(RegistryTest, WrongTypesAndMissingValuesRaise) {
  Reg->WriteString(L"Text", L"12");
  Reg->WriteInteger(L"Int", 12);
  const unsigned char bytes[16] = {};
  Reg->WriteBinaryData(L"Bin", bytes, 16);
  EXPECT_EQ(Reg->ReadString(L"Missing"), L"");
  EXPECT_THROW(Reg->ReadInteger(L"Missing"), ERegistryException);
  EXPECT_THROW(Reg->ReadInteger(L"Text"), ERegistryException);
  EXPECT_THROW(Reg->ReadString(L"Int"), ERegistryException);
  EXPECT_THROW(Reg->ReadFloat(L"Bin"), ERegistryException);  // 16 bytes are no double
  unsigned char small[8];
  EXPECT_THROW(Reg->ReadBinaryData(L"Bin", small, 8), ERegistryException);
  EXPECT_THROW(Reg->ReadBinaryData(L"Text", small, 8), ERegistryException);
}

TEST_F(RegistryTest, StringsEndAtTheirFirstNul) {
  const wchar_t raw[] = L"COM3\0garbage";  // as some drivers store port names
  ASSERT_EQ(::RegSetValueExW(Reg->CurrentKey(), L"Port", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw),
            ERROR_SUCCESS);
  EXPECT_EQ(Reg->ReadString(L"Port"), L"COM3");
  const wchar_t unterminated[] = {L'A', L'B'};
  ASSERT_EQ(::RegSetValueExW(Reg->CurrentKey(), L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated),
                             sizeof unterminated),
            ERROR_SUCCESS);
  EXPECT_EQ(Reg->ReadString(L"Bare"), L"AB");
}

TEST_F(RegistryTest, ValueNamesComeInTheRegistrysOrder) {
  for (const wchar_t* name : {L"COM4", L"COM1", L"\\Device\\Serial0", L"B"}) Reg->WriteString(name, L"x");
  TOwned<TStringList> names(New<TStringList>());
  names->Add(L"stale");
  Reg->GetValueNames(names.get());
  EXPECT_EQ(names->ToStringArray(), RawValueNames());
  EXPECT_EQ(names->Count(), 4);
  EXPECT_TRUE(Reg->ValueExists(L"COM1"));
  EXPECT_TRUE(Reg->DeleteValue(L"COM1"));
  EXPECT_FALSE(Reg->DeleteValue(L"COM1"));
  EXPECT_FALSE(Reg->ValueExists(L"COM1"));
}

TEST_F(RegistryTest, RelativeAndAbsoluteKeyPaths) {
  EXPECT_EQ(Reg->CurrentPath(), Path);
  ASSERT_TRUE(Reg->OpenKey(L"Sub\\Deeper\\", true));
  EXPECT_EQ(Reg->CurrentPath(), Path + L"\\Sub\\Deeper");
  Reg->WriteInteger(L"Level", 2);
  EXPECT_FALSE(Reg->OpenKey(L"Missing", false));
  EXPECT_EQ(Reg->CurrentPath(), Path + L"\\Sub\\Deeper");  // a failed open keeps the key
  ASSERT_TRUE(Reg->OpenKey(L"\\" + Path, false));
  EXPECT_TRUE(Reg->KeyExists(L"Sub\\Deeper"));
  EXPECT_TRUE(Reg->KeyExists(L"\\" + Path + L"\\Sub"));
  EXPECT_FALSE(Reg->KeyExists(L"Nope"));
  EXPECT_TRUE(Reg->CreateKey(L"Other"));
  EXPECT_TRUE(Reg->HasSubKeys());
  TOwned<TStringList> keys(New<TStringList>());
  Reg->GetKeyNames(keys.get());
  keys->Sort();
  EXPECT_EQ(keys->ToStringArray(), (std::vector<String>{L"Other", L"Sub"}));

  EXPECT_TRUE(Reg->DeleteKey(L"Sub"));  // with everything below it
  EXPECT_FALSE(Reg->KeyExists(L"Sub"));
  EXPECT_FALSE(Reg->DeleteKey(L"Sub"));
  EXPECT_FALSE(Reg->DeleteKey(L""));
  EXPECT_TRUE(Reg->KeyExists(L""));

  Reg->SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(Reg->CurrentKey(), nullptr);
  EXPECT_EQ(Reg->CurrentPath(), L"");
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWritesAndNoKeyMeansNoValues) {
  Reg->WriteString(L"Kept", L"1");
  Reg->CloseKey();
  EXPECT_THROW(Reg->WriteString(L"X", L"1"), ERegistryException);
  EXPECT_FALSE(Reg->ValueExists(L"Kept"));
  TOwned<TStringList> names(New<TStringList>());
  Reg->GetValueNames(names.get());
  EXPECT_EQ(names->Count(), 0);
  ASSERT_TRUE(Reg->OpenKeyReadOnly(L"\\" + Path));
  EXPECT_EQ(Reg->Access(), REGSAM(KEY_ALL_ACCESS));
  EXPECT_EQ(Reg->ReadString(L"Kept"), L"1");
  EXPECT_THROW(Reg->WriteString(L"X", L"1"), ERegistryException);
}

TEST_F(RegistryTest, MachineKeysOpenForReading) {
  // As the port list is read: another root, read access, an absolute path.
  TOwned<TRegistry> machine(New<TRegistry>(REGSAM(KEY_READ)));
  machine->SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(machine->OpenKey(L"\\HARDWARE", false));
  EXPECT_EQ(machine->CurrentPath(), L"HARDWARE");
  TOwned<TStringList> keys(New<TStringList>());
  machine->GetKeyNames(keys.get());
  EXPECT_GE(keys->IndexOf(L"DEVICEMAP"), 0);
  EXPECT_THROW(machine->WriteString(L"X", L"1"), ERegistryException);
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubKeys) {
  Reg->CloseKey();
  TOwned<TRegistryIniFile> ini(New<TRegistryIniFile>(Path + L"\\Ini"));
  ini->WriteInteger(L"Section", L"Count", 3);
  ini->WriteString(L"Section", L"Name", L"x");
  EXPECT_TRUE(Reg->OpenKey(L"\\" + Path + L"\\Ini\\Section", false));
  EXPECT_EQ(Reg->ReadInteger(L"Count"), 3);
  Reg->WriteString(L"Text", L"17");
  EXPECT_EQ(ini->ReadInteger(L"Section", L"Text", 0), 17);  // numbers stored as text read too
  EXPECT_EQ(ini->ReadString(L"Section", L"Count", L""), L"3");
  // The section operations leave the ini file's own key current.
  EXPECT_EQ(ini->RegIniFile()->CurrentPath(), Path + L"\\Ini");
  // Another root and key, as the settings component opens them.
  ini->RegIniFile()->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(ini->RegIniFile()->OpenKey(L"\\" + Path + L"\\Other", true));
  ini->WriteBool(L"S", L"On", true);
  EXPECT_TRUE(Reg->KeyExists(L"\\" + Path + L"\\Other\\S"));
}

}  // namespace
