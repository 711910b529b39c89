// The shared main routine of the fuzzing drivers. A folder's own main passes
// its table of drivers; each driver gets mutated copies of its seeds and must
// return (or raise the exceptions it documents, which it catches itself).
// All inputs of a run go through one process, one after the other, so that a
// corruption one input leaves behind shows on a later one.
//
// Usage: fuzz_X.exe [NAME...] [--rounds N] [--seed S] [--time-cap SECONDS] [--memory-cap MB]
//                   [--keep-slow MS] [--replay FILE]
// --keep-slow writes each input that took longer than MS to fuzz-NAME-ROUND.bin;
// --replay runs the named drivers on that one input.
// A watchdog ends the run as a failure, with the round number, when one
// input takes longer than the time cap (10 s) or the process's working set
// or private memory grows past the memory cap (1024 MB), so a hang or a
// memory bomb is reported instead of waited for.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TFuzzMutator;

struct TFuzzDriver {
  const wchar_t* Name;
  std::function<std::vector<std::string>()> Seeds;    // valid inputs to mutate
  std::function<void(const std::string&)> Run;        // one input
  // A mutation that knows the format, so that the input stays valid enough
  // to reach the decoder behind the parser; none: byte-level mutations only.
  std::function<std::string(TFuzzMutator&, const std::string&)> Mutate = nullptr;
};

int RunFuzzDrivers(int argc, wchar_t** argv, std::span<const TFuzzDriver> ADrivers);

// Reports a broken invariant of the current input and ends the run.
[[noreturn]] void FuzzInvariantBroken(const char* AWhat);

// The contents of the files in AFolder (a path of the build machine, as the
// build passes it; sub-folders too with ARecursive) whose names end in one of
// AExtensions, in any case: the seeds a driver takes from test data.
std::vector<std::string> FileSeeds(std::string_view AFolder, std::initializer_list<const wchar_t*> AExtensions,
                                   bool ARecursive = true);
