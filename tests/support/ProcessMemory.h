// The test process's memory as the system counts it (GetProcessMemoryInfo):
// the hostile-input tests check that no input took it past a bound.
#pragma once

#include "platform/runtime/WinApi.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>

// The most the working set or the private memory has ever been.
inline std::uint64_t PeakProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return std::max<std::uint64_t>(counters.PeakWorkingSetSize, counters.PeakPagefileUsage);
}
