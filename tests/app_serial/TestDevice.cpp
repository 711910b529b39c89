#include "tests/app_serial/TestDevice.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

String Environment(const wchar_t* AName) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(AName, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? String(buffer, length) : String();
}

}  // namespace

String TestPortName() { return Environment(L"SKARNIVEL_TEST_PORT"); }

String TestDeviceDir() { return Environment(L"SKARNIVEL_TEST_DEVICE_DIR"); }

std::string ReadWholeFile(const String& APath) {
  std::ifstream file(std::filesystem::path(APath), std::ios::binary);
  std::ostringstream data;
  data << file.rdbuf();
  return data.str();
}

int DeviceDumpCount() { return std::atoi(ReadWholeFile(TestDeviceDir() + L"\\dump-seq").c_str()); }

bool WaitForDeviceDump(int ABefore, int ATimeout) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ATimeout);
  while (DeviceDumpCount() <= ABefore) {
    if (GetTickCount64() > end) return false;
    Sleep(5);
  }
  return true;
}
