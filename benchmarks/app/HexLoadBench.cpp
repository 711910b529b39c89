// Loading a maximal flash image: 0x90000 bytes in 16-byte data records, with
// an extended segment record every 64 KiB. Prints the time of one load (the
// best of several) and the rate, so runs can be compared.
#include "app/AppUnits.h"
#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string Record(int AType, int AOffset, const std::uint8_t* AData, int ACount) {
  std::uint8_t sum = static_cast<std::uint8_t>(ACount + (AOffset >> 8) + AOffset + AType);
  char hex[16];
  std::snprintf(hex, sizeof hex, ":%02X%04X%02X", ACount, AOffset & 0xFFFF, AType);
  std::string line = hex;
  for (int i = 0; i < ACount; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", AData[i]);
    line += hex;
    sum = static_cast<std::uint8_t>(sum + AData[i]);
  }
  std::snprintf(hex, sizeof hex, "%02X\r\n", static_cast<std::uint8_t>(-sum));
  return line + hex;
}

std::string MaximalFlashImage() {
  std::string text;
  std::uint8_t data[16];
  for (int address = 0; address < FlashImageSize; address += 16) {
    if (address % 0x10000 == 0) {
      const std::uint8_t segment[2] = {static_cast<std::uint8_t>(address >> 12), 0};
      text += Record(2, 0, segment, 2);
    }
    for (int i = 0; i < 16; ++i) data[i] = static_cast<std::uint8_t>((address + i) * 7);
    text += Record(0, address & 0xFFFF, data, 16);
  }
  text += ":00000001FF\r\n";
  return text;
}

// A failed load prints its dialog instead of waiting for a person.
class TPrintingDialogs : public TDialogProvider {
  SK_CLASS(TPrintingDialogs, TDialogProvider)
 public:
  TModalResult MessageDlg(const TMessageDlgParams& AParams) override {
    std::printf("dialog: %s\n", UTF8Encode(AParams.Text).c_str());
    return mrAbort;
  }
};

}  // namespace

int wmain() {
  const std::vector<std::span<const TUnit>> layers = ProgramUnitLayers();
  for (std::span<const TUnit> layer : layers) InitializeUnits({layer});

  TPrintingDialogs* dialogs = New<TPrintingDialogs>();
  SetDialogProvider(dialogs);

  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  const String file = String(temp) + L"sk_bench_flash_" + std::to_wstring(GetCurrentProcessId()) + L".hex";
  const std::string text = MaximalFlashImage();
  {
    const TKernelHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(out.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  constexpr int Runs = 10;
  double best = 1e9;
  double total = 0;
  int result = 0;
  for (int run = 0; run < Runs; ++run) {
    EraseImages();
    const auto start = std::chrono::steady_clock::now();
    result = LoadHexFile(file, TargetFlash);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, seconds);
    total += seconds;
  }
  DeleteFileW(file.c_str());

  const bool ok = result == FlashImageSize && FlashImage[FlashImageSize - 1] == static_cast<std::uint8_t>((FlashImageSize - 1) * 7);
  std::printf("HEX load of a maximal flash image: %d bytes (%zu bytes of text), %s\n", result, text.size(),
              ok ? "image verified" : "WRONG RESULT");
  std::printf("  best %.2f ms, mean %.2f ms over %d runs; %.1f MB/s of image (%.1f MB/s of text)\n", best * 1e3,
              total / Runs * 1e3, Runs, FlashImageSize / best / 1e6, static_cast<double>(text.size()) / best / 1e6);
  std::printf("  limit: well under 100 ms per load: %s\n", best < 0.1 ? "met" : "NOT MET");
  SetDialogProvider(nullptr);
  dialogs->Free();
  FinalizeUnits();
  return ok ? 0 : 1;
}
