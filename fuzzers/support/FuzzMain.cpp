#include "fuzzers/support/FuzzMain.h"

#include "fuzzers/support/Mutator.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

struct TWatchdog {
  std::atomic<long long> Round{-1};
  std::atomic<long long> StartedMs{0};
  std::atomic<bool> Done{false};
  const wchar_t* Name = L"";

  static long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  void Watch() {
    while (!Done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const long long round = Round;
      if (round >= 0 && NowMs() - StartedMs > 10000) {
        std::fwprintf(stderr, L"%ls: round %lld takes longer than 10 s: hang\n", Name, round);
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  }
};

}  // namespace

int RunFuzzDrivers(int argc, wchar_t** argv, std::span<const TFuzzDriver> ADrivers) {
  long long rounds = 100000;
  uint32_t seed = 1;
  std::vector<std::wstring> names;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--rounds" && i + 1 < argc)
      rounds = std::wcstoll(argv[++i], nullptr, 10);
    else if (arg == L"--seed" && i + 1 < argc)
      seed = static_cast<uint32_t>(std::wcstoul(argv[++i], nullptr, 10));
    else
      names.push_back(arg);
  }

  TWatchdog watchdog;
  std::thread watcher([&] { watchdog.Watch(); });
  int failures = 0;
  for (const TFuzzDriver& driver : ADrivers) {
    if (!names.empty() && std::find(names.begin(), names.end(), driver.Name) == names.end()) continue;
    const std::vector<std::string> seeds = driver.Seeds();
    if (seeds.empty()) {
      std::fwprintf(stderr, L"%ls: no seed inputs\n", driver.Name);
      ++failures;
      continue;
    }
    TFuzzMutator mutator(seed);
    watchdog.Name = driver.Name;
    const auto started = std::chrono::steady_clock::now();
    for (long long round = 0; round < rounds; ++round) {
      const std::string input = mutator.Mutate(seeds[static_cast<size_t>(round) % seeds.size()]);
      watchdog.StartedMs = TWatchdog::NowMs();
      watchdog.Round = round;
      driver.Run(input);
      watchdog.Round = -1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::wprintf(L"%ls: %lld mutated inputs from %zu seeds (seed %u) in %.1f s: no crash, no hang\n",
                 driver.Name, rounds, seeds.size(), seed, seconds);
    std::fflush(stdout);
  }
  watchdog.Done = true;
  watcher.join();
  return failures == 0 ? 0 : 1;
}

void FuzzInvariantBroken(const char* AWhat) {
  std::fprintf(stderr, "invariant broken: %s\n", AWhat);
  std::fflush(stderr);
  std::abort();
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
