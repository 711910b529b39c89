// The shared main routine of the fuzzing drivers. A folder's own main passes
// its table of drivers; each driver gets mutated copies of its seeds and must
// return (or raise the exceptions it documents, which it catches itself).
//
// Usage: fuzz_X.exe [NAME...] [--rounds N] [--seed S]
// A watchdog ends the run with the round number when one input takes longer
// than 10 s, so a hang is reported instead of waited for.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

struct TFuzzDriver {
  const wchar_t* Name;
  std::function<std::vector<std::string>()> Seeds;    // valid inputs to mutate
  std::function<void(const std::string&)> Run;        // one input
};

int RunFuzzDrivers(int argc, wchar_t** argv, std::span<const TFuzzDriver> ADrivers);

// Reports a broken invariant of the current input and ends the run.
[[noreturn]] void FuzzInvariantBroken(const char* AWhat);
