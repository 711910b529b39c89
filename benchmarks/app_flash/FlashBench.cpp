// The flasher's own cost on the serial line: the main window (from its form
// description) connects to the simulated XMEGA bootloader and its flashing
// task writes a 128 KiB image, as after a click on Flash. Beside it, the cost
// of a bare one-byte overlapped write on the same port in the same run.
// benchmarks/app_flash/run starts it unpaced and paced (38400 baud, 4 ms per
// page write).
#include "app/AppUnits.h"
#include "app/MainUnit.h"
#include "app/UDefines.h"
#include "app/serial/BlockSerial.h"
#include "benchmarks/support/BareWrite.h"
#include "components/settings/RzCommon.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

String Environment(const wchar_t* AName) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(AName, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? String(buffer, length) : String();
}

// Reports every dialog instead of showing it: nobody is there to answer.
class TPrintedDialogs : public TDialogProvider {
  SK_CLASS(TPrintedDialogs, TDialogProvider)
 public:
  TModalResult MessageDlg(const TMessageDlgParams& AParams) override {
    std::printf("dialog: %ls\n", AParams.Text.c_str());
    ++Count;
    return mrAbort;
  }
  int MessageBox(const TMessageBoxParams& AParams) override {
    std::printf("message box: %ls\n", AParams.Text.c_str());
    ++Count;
    return IDOK;
  }
  void MessageSound(UINT) override {}
  int Count = 0;
};

int Run() {
  const String port = Environment(L"SKARNIVEL_TEST_PORT");
  if (port.empty()) {
    std::printf("run through benchmarks/app_flash/run (tools/with-device)\n");
    return 2;
  }
  const double baud = StrToFloat(Environment(L"SKARNIVEL_BENCH_BAUD").empty() ? L"0"
                                                                               : Environment(L"SKARNIVEL_BENCH_BAUD"));
  const double pageWriteMs = StrToFloat(
      Environment(L"SKARNIVEL_BENCH_PAGE_MS").empty() ? L"0" : Environment(L"SKARNIVEL_BENCH_PAGE_MS"));
  TPrintedDialogs* dialogs = New<TPrintedDialogs>();
  SetDialogProvider(dialogs);
  Application()->Initialize();
  Application()->CreateForm(MainForm);
  TMainForm* form = MainForm;
  form->RzRegIniFile1->SetPath(Environment(L"SKARNIVEL_TEST_DEVICE_DIR") + L"\\Skarnivel.cfg");

  // An XMEGA project with 128 KiB of flash, every block holding data.
  constexpr int ImageSize = 0x20000;
  EraseImages();
  std::uint32_t seed = 12345;
  for (int i = 0; i < ImageSize; ++i) {
    seed = seed * 1103515245u + 12345u;
    FlashImage[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(seed >> 16);
  }
  DeviceFamily = FamilyXmega;
  FlashSize = ImageSize;
  EepromSize = 0;
  UserRowSize = 0;
  ExpectedDeviceID = 0;
  RequestedLoaderID = -1;
  FlashLimit = 0x22000;
  form->CB_Comport->Properties()->Items()->SetCommaText(port);
  form->CB_Comport->SetItemIndex(0);
  form->CB_Baudrate->SetText(L"38400");
  form->CB_Flash->SetChecked(true);
  form->CB_EEprom->SetChecked(false);
  form->CB_UserRow->SetChecked(false);

  form->BTN_ConnectClick(form->BTN_Connect);
  if (!Connected) {
    std::printf("no device answered on %ls\n", port.c_str());
    return 1;
  }
  const bench::TBareWrite bareBefore = bench::MeasureBareWrite(SerialPort);

  const std::uint32_t blocks = (ImageSize + BlockSize - 1) / BlockSize;
  // Host to device: E, per block A+3, D+2+data, P, then V and X; back: one
  // byte per command that is answered.
  const double sent = 1 + blocks * (4.0 + 3 + BlockSize + 1) + 2;
  const double received = 1 + blocks * 3.0 + 1;
  const double start = bench::PerfNow();
  form->BTN_FlashClick(form->BTN_Flash);
  FlashTask->Wait();
  const double total = bench::PerfNow() - start;
  // The floor again, on the port reopened after the task closed it: the
  // cost of a bare write moves with the load of the machine.
  form->BTN_ConnectClick(form->BTN_Connect);
  form->BTN_ConnectClick(form->BTN_Connect);
  const bench::TBareWrite bareAfter = Connected ? bench::MeasureBareWrite(SerialPort) : bareBefore;
  const double bareWrite = (bareBefore.Steady + bareAfter.Steady) / 2;
  if (!FlashedOK || dialogs->Count != 0 || std::min({bareBefore.Fresh, bareBefore.Steady, bareAfter.Steady}) < 0) {
    std::printf("the flash failed\n");
    return 1;
  }
  std::printf("flash %d bytes in %u blocks of %d: %.2f s, %.0f protocol bytes (%.0f sent, %.0f received)\n",
              ImageSize, blocks, BlockSize, total, sent + received, sent, received);
  std::printf("  host cost per protocol byte  %8.1f us\n", total / (sent + received) * 1e6);
  std::printf("  bare one-byte write          %8.1f us (medians of %d samples of %d writes before and after the\n"
              "                                          flash: %.1f (quartiles %.1f-%.1f), %.1f (%.1f-%.1f))\n",
              bareWrite * 1e6, bareBefore.Samples, bench::SampleWrites, bareBefore.Steady * 1e6,
              bareBefore.Lower * 1e6, bareBefore.Upper * 1e6, bareAfter.Steady * 1e6, bareAfter.Lower * 1e6,
              bareAfter.Upper * 1e6);
  std::printf("    (the first 4 KiB on a newly opened port: %.1f us before, %.1f after)\n", bareBefore.Fresh * 1e6,
              bareAfter.Fresh * 1e6);
  if (baud <= 0) {
    std::printf("  ratio                        %8.2f  (target: at most 1.3)\n",
                total / (sent + received) / bareWrite);
  } else {
    const double wire = (sent + received) * 10.0 / baud + blocks * pageWriteMs / 1000.0;
    std::printf("  wire time at %.0f baud with %.1f ms page writes: %.2f s\n", baud, pageWriteMs, wire);
    std::printf("  ratio to wire time           %8.3f  (target: below 1.05)\n", total / wire);
  }
  form->Free();
  MainForm = nullptr;
  SetDialogProvider(nullptr);
  dialogs->Free();
  return 0;
}

}  // namespace

int wmain() {
  for (std::span<const TUnit> layer : ProgramUnitLayers()) InitializeUnits({layer});
  int result = 1;
  try {
    result = Run();
  } catch (const Exception& E) {
    std::printf("failed: %ls\n", E.Message().c_str());
  }
  FinalizeUnits();
  return result;
}
