#include "tests/components_settings/SettingsTestSupport.h"

#include "components/settings/RzCommon.h"

TStartDirFile::TStartDirFile(const String& AName)
    : FName(AName), FFull(IncludeTrailingPathDelimiter(StartDirectory()) + AName) {
  ::DeleteFileW(FFull.c_str());
}

TStartDirFile::~TStartDirFile() {
  for (const wchar_t* suffix : {L"", L".bak", L".tmp"}) {
    const String name = FFull + suffix;
    ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(name.c_str());
  }
}

TCurrentDirGuard::TCurrentDirGuard() : FSaved(GetCurrentDir()) {}
TCurrentDirGuard::~TCurrentDirGuard() { SetCurrentDir(FSaved); }

TScratchRegistryKey::TScratchRegistryKey() {
  static int counter = 0;
  FPath = L"Software\\Skarnivel-Tests\\Settings-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
}

TScratchRegistryKey::~TScratchRegistryKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str()); }

TDialogRecorder::TDialogRecorder() : FDialogs(New<TRecordingDialogs>()), FPrevious(SetDialogProvider(FDialogs)) {}

TDialogRecorder::~TDialogRecorder() {
  SetDialogProvider(FPrevious);
  FDialogs->Free();
}

std::string FileBytes(const String& AFileName) { return ReadFileBytes(AFileName); }
