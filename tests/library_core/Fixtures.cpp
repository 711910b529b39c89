#include "tests/library_core/Fixtures.h"

#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"

String FixturePath(const String& AName) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  // The test program lies in BUILD\tests.
  const String build = ExtractFilePath(ExcludeTrailingPathDelimiter(ExtractFilePath(String(module, length))));
  return build + L"testdata\\library_core\\" + AName;
}

std::string ReadFixture(const String& AName) {
  TKernelHandle file(CreateFileW(FixturePath(AName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file.Valid()) return bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n) bytes.append(buffer, n);
  return bytes;
}
