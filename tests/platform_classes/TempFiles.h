// Scratch files for tests: a fresh directory under the system's temporary
// folder, removed with everything in it when the test ends.
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/runtime/System.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

class TTempDir {
 public:
  TTempDir() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    FPath = String(base) + L"sk_test_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    ::CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TTempDir() { RemoveTree(FPath); }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  String File(const String& AName) const { return FPath + L"\\" + AName; }

 private:
  static void RemoveTree(const String& APath) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((APath + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const String name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const String full = APath + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
        else {
          ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileW(full.c_str());
        }
      } while (::FindNextFileW(find, &data));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(APath.c_str());
  }
  String FPath;
};

// The raw bytes of a file (empty when it cannot be read).
inline std::string ReadFileBytes(const String& AFileName) {
  std::string bytes;
  const TKernelHandle file(::CreateFileW(AFileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char buffer[4096];
  DWORD n = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n) bytes.append(buffer, n);
  return bytes;
}

inline void WriteFileBytes(const String& AFileName, const std::string& ABytes) {
  const TKernelHandle file(::CreateFileW(AFileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD n = 0;
  ::WriteFile(file.Get(), ABytes.data(), static_cast<DWORD>(ABytes.size()), &n, nullptr);
}
