#include "components/settings/RzStatus.h"

#include "tests/components_settings/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

String ProgramFile() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return buffer;
}

TEST(RzVersionInfo, ReadsTheProgramsOwnRecord) {
  TOwned<TRzVersionInfo> info(New<TRzVersionInfo>(nullptr));
  EXPECT_TRUE(info->VersionInfoAvailable());
  EXPECT_EQ(info->FilePath(), ProgramFile());
  struct TField {
    TRzVersionInfoField Field;
    const wchar_t* Text;
  };
  // The record names no trademarks and no comments: those stay empty.
  const TField fields[] = {
      {vifCompanyName, L"Torvik"},         {vifFileDescription, L"Skarnivel - AVR/XMEGA Flashloader"},
      {vifFileVersion, L"1.0.0.0"},        {vifInternalName, L"Skarnivel"},
      {vifCopyright, L"Torvik"},           {vifTrademarks, L""},
      {vifOriginalFilename, L"Skarnivel.exe"}, {vifProductName, L"Skarnivel"},
      {vifProductVersion, L"1.0.0.0"},     {vifComments, L""},
  };
  for (const TField& f : fields) {
    SCOPED_TRACE(GetEnumName(TypeInfoOf<TRzVersionInfoField>(), f.Field));
    EXPECT_EQ(info->GetField(f.Field), f.Text);
  }
  EXPECT_EQ(info->CompanyName(), L"Torvik");
  EXPECT_EQ(info->Comments(), L"");
  EXPECT_EQ(info->MajorVersion(), 1);
  EXPECT_EQ(info->MinorVersion(), 0);
  EXPECT_EQ(info->Release(), 0);
  EXPECT_EQ(info->Build(), 0);
  EXPECT_FALSE(info->DebugBuild());
  EXPECT_FALSE(info->PreRelease());
  EXPECT_FALSE(info->PrivateBuild());
  EXPECT_FALSE(info->SpecialBuild());
}

TEST(RzVersionInfo, CustomKeysAreReadFromTheFile) {
  TOwned<TRzVersionInfo> info(New<TRzVersionInfo>(nullptr));
  EXPECT_EQ(info->GetCustomKeyValue(L"InternalName"), L"Skarnivel");
  EXPECT_EQ(info->GetCustomKeyValue(L"NoSuchKey"), L"Value Not Available");
}

TEST(RzVersionInfo, AFileWithoutRecordShowsValueNotAvailable) {
  TTempDir dir;
  const String file = dir.File(L"plain.txt");
  WriteFileBytes(file, "no version here");
  TOwned<TRzVersionInfo> info(New<TRzVersionInfo>(nullptr));
  info->SetFilePath(file);
  EXPECT_FALSE(info->VersionInfoAvailable());
  for (int i = 0; i < VersionInfoFieldCount; ++i)
    EXPECT_EQ(info->GetField(static_cast<TRzVersionInfoField>(i)), L"Value Not Available");
  EXPECT_EQ(info->MajorVersion(), 0);
  EXPECT_EQ(info->GetCustomKeyValue(L"CompanyName"), L"Value Not Available");
}

TEST(RzVersionInfo, ANewFileUpdatesEveryAttachedPaneAtOnce) {
  TTempDir dir;
  const String file = dir.File(L"plain.txt");
  WriteFileBytes(file, "x");
  TOwned<TComponent> owner(New<TComponent>(nullptr));
  auto* info = New<TRzVersionInfo>(owner.get());
  auto* company = New<TRzVersionInfoStatus>(owner.get());
  company->SetField(vifCompanyName);
  company->SetVersionInfo(info);
  auto* version = New<TRzVersionInfoStatus>(owner.get());
  version->SetVersionInfo(info);
  version->SetField(vifFileVersion);
  EXPECT_EQ(company->Caption(), L"Torvik");
  EXPECT_EQ(version->Caption(), L"1.0.0.0");
  info->SetFilePath(file);
  EXPECT_EQ(company->Caption(), L"Value Not Available");
  EXPECT_EQ(version->Caption(), L"Value Not Available");
  info->SetFilePath(ProgramFile());
  EXPECT_EQ(company->Caption(), L"Torvik");
  // A pane that leaves is no longer updated; a freed record lets go of its panes.
  version->SetVersionInfo(nullptr);
  info->SetFilePath(file);
  EXPECT_EQ(version->Caption(), L"1.0.0.0");
  info->Free();
  EXPECT_EQ(company->VersionInfo(), nullptr);
  company->SetField(vifComments);
  EXPECT_EQ(company->Caption(), L"Value Not Available");
}

TEST(RzVersionInfo, DesignTimeCaptionsNameTheField) {
  TOwned<TRzVersionInfoStatus> pane(New<TRzVersionInfoStatus>(nullptr));
  pane->IncludeState(csDesigning);
  const std::pair<TRzVersionInfoField, const wchar_t*> cases[] = {
      {vifCompanyName, L"{CompanyName}"}, {vifCopyright, L"{Copyright}"}, {vifComments, L"{Comments}"}};
  for (const auto& [field, caption] : cases) {
    pane->SetField(field);
    EXPECT_EQ(pane->Caption(), caption);
  }
}

TEST(RzVersionInfo, FileDateTimeIsTheProgramsModificationTime) {
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW(ProgramFile().c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  ::FindClose(find);
  FILETIME local{};
  SYSTEMTIME time{};
  ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  ::FileTimeToSystemTime(&local, &time);
  const TDateTime expected = EncodeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                                            time.wSecond, time.wMilliseconds);
  TOwned<TRzVersionInfo> info(New<TRzVersionInfo>(nullptr));
  info->SetFilePath(L"C:\\windows\\system32\\kernel32.dll");
  EXPECT_NEAR(info->FileDateTime(), expected, 1.0 / 86400);
}

}  // namespace
