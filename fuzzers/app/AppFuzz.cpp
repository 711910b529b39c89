// Fuzzing drivers of the application: the Intel HEX loader on mutated HEX
// files. Besides not crashing or hanging, every load must keep the loader's
// promise: a reported fault never leaves an image that counts as loaded
// (length above 0), and a length never exceeds the target image.
#include "app/AppUnits.h"
#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "fuzzers/support/FuzzMain.h"
#include "platform/runtime/SysUtils.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Counts the dialogs instead of showing them.
class TCountingDialogs : public TDialogProvider {
  SK_CLASS(TCountingDialogs, TDialogProvider)
 public:
  int Count = 0;
  TModalResult MessageDlg(const TMessageDlgParams&) override {
    ++Count;
    return mrAbort;
  }
};

std::string Record(int AType, int AOffset, const std::vector<std::uint8_t>& AData) {
  std::uint8_t sum = static_cast<std::uint8_t>(AData.size() + (AOffset >> 8) + AOffset + AType);
  char hex[16];
  std::snprintf(hex, sizeof hex, ":%02X%04X%02X", static_cast<unsigned>(AData.size()), AOffset & 0xFFFF, AType);
  std::string line = hex;
  for (const std::uint8_t b : AData) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
    sum = static_cast<std::uint8_t>(sum + b);
  }
  std::snprintf(hex, sizeof hex, "%02X\r\n", static_cast<std::uint8_t>(-sum));
  return line + hex;
}

std::vector<std::string> HexSeeds() {
  const std::string end = ":00000001FF\r\n";
  return {
      Record(0, 0x10, {1, 2, 3, 4}) + Record(0, 0x20, std::vector<std::uint8_t>(16, 0xA5)) + end,
      Record(2, 0, {0x10, 0x00}) + Record(0, 0xFFF0, std::vector<std::uint8_t>(16, 7)) + end,
      Record(3, 0, {0x12, 0x34, 0x56, 0x78}) + "\r\n" + Record(0, 0, {}) + end,
      Record(2, 0, {0x8F, 0xFF}) + Record(0, 0x000F, {0x5A}) + end,
      Record(0, 0, {9}) + Record(0, 0x100, {1, 2}),
  };
}

struct THexFuzz {
  String File;
  TCountingDialogs* Dialogs = nullptr;

  void Run(const std::string& AInput, std::uint8_t ATarget) {
    {
      const TKernelHandle file(CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD written = 0;
      WriteFile(file.Get(), AInput.data(), static_cast<DWORD>(AInput.size()), &written, nullptr);
    }
    Dialogs->Count = 0;
    const int result = LoadHexFile(File, ATarget);
    const int size = static_cast<int>(TargetImage(ATarget).size());
    // A fault shows one dialog and is never a loaded image; a file that holds
    // nothing (0) may have been reported as empty.
    const bool consistent = result > 0 ? Dialogs->Count == 0 : result == -1 ? Dialogs->Count == 1 : Dialogs->Count <= 1;
    if (result < -1 || result > size || !consistent) {
      std::fprintf(stderr, "HEX loader: result %d with %d dialogs for a file of %zu bytes\n", result, Dialogs->Count,
                   AInput.size());
      std::abort();
    }
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (std::span<const TUnit> layer : ProgramUnitLayers()) InitializeUnits({layer});
  int status = 0;
  {
    const TOwned<TCountingDialogs> dialogs(New<TCountingDialogs>());
    SetDialogProvider(dialogs.get());
    const TBeepHook previousBeep = SetBeepHook([] {});
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    THexFuzz fuzz{String(temp) + L"sk_fuzz_" + std::to_wstring(GetCurrentProcessId()) + L".hex", dialogs.get()};

    const TFuzzDriver drivers[] = {
        {L"hex_flash", HexSeeds, [&](const std::string& AInput) { fuzz.Run(AInput, TargetFlash); }},
        {L"hex_eeprom", HexSeeds, [&](const std::string& AInput) { fuzz.Run(AInput, TargetEeprom); }},
    };
    status = RunFuzzDrivers(argc, argv, drivers);

    DeleteFileW(fuzz.File.c_str());
    SetBeepHook(previousBeep);
    SetDialogProvider(nullptr);
  }
  FinalizeUnits();
  return status;
}
