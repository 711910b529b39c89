// Pages of readable memory between two inaccessible ones: an input placed
// against either end makes a read beyond that end fault instead of passing
// unseen.
#pragma once

#include "platform/runtime/WinApi.h"

#include <cstddef>
#include <cstring>
#include <string>

class TGuardedBuffer {
 public:
  TGuardedBuffer(const TGuardedBuffer&) = delete;
  TGuardedBuffer& operator=(const TGuardedBuffer&) = delete;
  explicit TGuardedBuffer(std::size_t ASize) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    FPage = info.dwPageSize;
    FData = ((ASize + FPage - 1) / FPage) * FPage;
    FBase = static_cast<char*>(VirtualAlloc(nullptr, FData + 2 * FPage, MEM_RESERVE, PAGE_NOACCESS));
    if (FBase) VirtualAlloc(FBase + FPage, FData, MEM_COMMIT, PAGE_READWRITE);
  }
  ~TGuardedBuffer() {
    if (FBase) VirtualFree(FBase, 0, MEM_RELEASE);
  }
  // ABytes copied against the leading or the trailing guard page.
  char* Place(const std::string& ABytes, bool AAtEnd) const {
    char* target = FBase + FPage + (AAtEnd ? FData - ABytes.size() : 0);
    std::memcpy(target, ABytes.data(), ABytes.size());
    return target;
  }
  std::size_t Capacity() const { return FData; }

 private:
  std::size_t FPage = 0;
  std::size_t FData = 0;
  char* FBase = nullptr;
};
