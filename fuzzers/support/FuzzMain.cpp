#include "fuzzers/support/FuzzMain.h"

#include "fuzzers/support/Mutator.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

std::string FuzzFileBytes(const std::wstring& APath);

std::uint64_t ProcessMemoryBytes(bool APeak) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return APeak ? std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage)
               : std::max(counters.WorkingSetSize, counters.PagefileUsage);
}

// An input kept for a closer look, as fuzz-NAME-ROUND.bin in the working folder.
void KeepInput(const wchar_t* AName, long long ARound, const std::string& AInput) {
  wchar_t path[MAX_PATH];
  std::swprintf(path, MAX_PATH, L"fuzz-%ls-%lld.bin", AName, ARound);
  const TKernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (file.Valid()) WriteFile(file.Get(), AInput.data(), static_cast<DWORD>(AInput.size()), &written, nullptr);
}

// Watches the input under way from a thread of its own: one that runs past
// the time cap or makes the process grow past the memory cap ends the run.
struct TWatchdog {
  std::atomic<long long> Round{-1};
  std::atomic<long long> StartedMs{0};
  std::atomic<bool> Done{false};
  const wchar_t* Name = L"";
  const std::string* Input = nullptr;  // kept when the run fails on it
  long long TimeCapMs = 10000;
  std::uint64_t MemoryCap = std::uint64_t{1024} << 20;

  static long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  [[noreturn]] void Fail(long long ARound, const wchar_t* AWhat) const {
    std::fwprintf(stderr, L"%ls: round %lld %ls: failure (input kept as fuzz-%ls-%lld.bin)\n", Name, ARound, AWhat,
                  Name, ARound);
    if (Input) KeepInput(Name, ARound, *Input);
    std::fflush(stderr);
    std::_Exit(3);
  }

  // After each input: the peak since the last one.
  void CheckPeak(long long ARound) const {
    if (ProcessMemoryBytes(true) > MemoryCap) Fail(ARound, L"made the process grow past the memory cap");
  }

  void Watch() {
    while (!Done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const long long round = Round;
      if (round < 0) continue;
      if (NowMs() - StartedMs > TimeCapMs) Fail(round, L"takes longer than the time cap: hang");
      if (ProcessMemoryBytes(false) > MemoryCap) Fail(round, L"grows past the memory cap");
    }
  }
};

TWatchdog* GWatchdog = nullptr;

// A crash keeps its input too, before the process ends.
LONG WINAPI KeepCrashingInput(EXCEPTION_POINTERS* AException) {
  const TWatchdog* watchdog = GWatchdog;
  if (watchdog && watchdog->Round >= 0) {
    std::fwprintf(stderr, L"%ls: round %lld crashed (exception %08lX): failure (input kept as fuzz-%ls-%lld.bin)\n",
                  watchdog->Name, watchdog->Round.load(), AException->ExceptionRecord->ExceptionCode, watchdog->Name,
                  watchdog->Round.load());
    std::fflush(stderr);
    if (watchdog->Input) KeepInput(watchdog->Name, watchdog->Round, *watchdog->Input);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int RunFuzzDrivers(int argc, wchar_t** argv, std::span<const TFuzzDriver> ADrivers) {
  long long rounds = 100000;
  uint32_t seed = 1;
  TWatchdog watchdog;
  long long keepSlowMs = -1;
  std::wstring replay;
  std::vector<std::wstring> names;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--rounds" && i + 1 < argc)
      rounds = std::wcstoll(argv[++i], nullptr, 10);
    else if (arg == L"--seed" && i + 1 < argc)
      seed = static_cast<uint32_t>(std::wcstoul(argv[++i], nullptr, 10));
    else if (arg == L"--time-cap" && i + 1 < argc)
      watchdog.TimeCapMs = static_cast<long long>(std::wcstod(argv[++i], nullptr) * 1000);
    else if (arg == L"--replay" && i + 1 < argc)
      replay = argv[++i];
    else if (arg == L"--keep-slow" && i + 1 < argc)
      keepSlowMs = std::wcstoll(argv[++i], nullptr, 10);
    else if (arg == L"--memory-cap" && i + 1 < argc)
      watchdog.MemoryCap = static_cast<std::uint64_t>(std::wcstoull(argv[++i], nullptr, 10)) << 20;
    else
      names.push_back(arg);
  }

  GWatchdog = &watchdog;
  SetUnhandledExceptionFilter(KeepCrashingInput);
  std::thread watcher([&] { watchdog.Watch(); });
  int failures = 0;
  for (const TFuzzDriver& driver : ADrivers) {
    if (!names.empty() && std::find(names.begin(), names.end(), driver.Name) == names.end()) continue;
    if (!replay.empty()) {
      // One kept input, under the same caps.
      const std::string input = FuzzFileBytes(replay);
      const long long start = TWatchdog::NowMs();
      watchdog.Name = driver.Name;
      watchdog.StartedMs = start;
      watchdog.Round = 0;
      driver.Run(input);
      watchdog.Round = -1;
      std::wprintf(L"%ls: %ls replayed in %lld ms\n", driver.Name, replay.c_str(), TWatchdog::NowMs() - start);
      continue;
    }
    const std::vector<std::string> seeds = driver.Seeds();
    if (seeds.empty()) {
      std::fwprintf(stderr, L"%ls: no seed inputs\n", driver.Name);
      ++failures;
      continue;
    }
    TFuzzMutator mutator(seed);
    watchdog.Name = driver.Name;
    const auto started = std::chrono::steady_clock::now();
    long long slowest = 0, slowestRound = 0;
    for (long long round = 0; round < rounds; ++round) {
      const std::string& from = seeds[static_cast<size_t>(round) % seeds.size()];
      // Three inputs in four keep the format; the fourth is bytes only.
      const std::string input = driver.Mutate && round % 4 != 3 ? driver.Mutate(mutator, from) : mutator.Mutate(from);
      const long long start = TWatchdog::NowMs();
      watchdog.StartedMs = start;
      watchdog.Input = &input;
      watchdog.Round = round;
      driver.Run(input);
      watchdog.Round = -1;
      const long long took = TWatchdog::NowMs() - start;
      if (took > slowest) slowest = took, slowestRound = round;
      if (keepSlowMs >= 0 && took > keepSlowMs) KeepInput(driver.Name, round, input);
      watchdog.CheckPeak(round);
      // A long run tells how far it has come.
      if ((round + 1) % 10000 == 0 && round + 1 < rounds) {
        std::wprintf(L"%ls: %lld inputs so far\n", driver.Name, round + 1);
        std::fflush(stdout);
      }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::wprintf(L"%ls: %lld mutated inputs from %zu seeds (seed %u) in %.1f s, slowest %lld ms (round %lld), "
                 L"peak %llu MB: no crash, no hang\n",
                 driver.Name, rounds, seeds.size(), seed, seconds, slowest, slowestRound,
                 static_cast<unsigned long long>(ProcessMemoryBytes(true) >> 20));
    std::fflush(stdout);
  }
  watchdog.Done = true;
  watcher.join();
  return failures == 0 ? 0 : 1;
}

void FuzzInvariantBroken(const char* AWhat) {
  std::fprintf(stderr, "invariant broken: %s\n", AWhat);
  if (const TWatchdog* watchdog = GWatchdog; watchdog && watchdog->Round >= 0 && watchdog->Input) {
    std::fwprintf(stderr, L"%ls: round %lld: failure (input kept as fuzz-%ls-%lld.bin)\n", watchdog->Name,
                  watchdog->Round.load(), watchdog->Name, watchdog->Round.load());
    KeepInput(watchdog->Name, watchdog->Round, *watchdog->Input);
  }
  std::fflush(stderr);
  std::_Exit(4);
}

namespace {

std::string FuzzFileBytes(const std::wstring& APath) {
  const TKernelHandle file(
      CreateFileW(APath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

void CollectFileSeeds(const std::wstring& AFolder, std::initializer_list<const wchar_t*> AExtensions, bool ARecursive,
                      std::vector<std::string>& ASeeds) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((AFolder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  const TScopeExit close([find] { FindClose(find); });
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = AFolder + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (ARecursive) CollectFileSeeds(path, AExtensions, ARecursive, ASeeds);
    } else if (std::any_of(AExtensions.begin(), AExtensions.end(),
                           [&](const wchar_t* AExtension) { return EndsText(AExtension, name); })) {
      ASeeds.push_back(FuzzFileBytes(path));
    }
  } while (FindNextFileW(find, &data));
}

}  // namespace

std::vector<std::string> FileSeeds(std::string_view AFolder, std::initializer_list<const wchar_t*> AExtensions,
                                   bool ARecursive) {
  std::wstring folder = L"Z:" + std::wstring(AFolder.begin(), AFolder.end());
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  std::vector<std::string> seeds;
  CollectFileSeeds(folder, AExtensions, ARecursive, seeds);
  return seeds;
}
