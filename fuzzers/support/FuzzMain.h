// The shared main routine of the fuzzing drivers. A folder's own main passes
// its table of drivers; each driver gets mutated copies of its seeds and must
// return (or raise the exceptions it documents, which it catches itself).
//
// Usage: fuzz_X.exe [NAME...] [--rounds N] [--seed S]
// A watchdog ends the run with the round number when one input takes longer
// than 10 s, so a hang is reported instead of waited for.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TFuzzDriver {
  const wchar_t* Name;
  std::function<std::vector<std::string>()> Seeds;    // valid inputs to mutate
  std::function<void(const std::string&)> Run;        // one input
};

int RunFuzzDrivers(int argc, wchar_t** argv, std::span<const TFuzzDriver> ADrivers);

// Reports a broken invariant of the current input and ends the run.
[[noreturn]] void FuzzInvariantBroken(const char* AWhat);

// The contents of the files in AFolder (a path of the build machine, as the
// build passes it; sub-folders too with ARecursive) whose names end in one of
// AExtensions, in any case: the seeds a driver takes from test data.
std::vector<std::string> FileSeeds(std::string_view AFolder, std::initializer_list<const wchar_t*> AExtensions,
                                   bool ARecursive = true);
