// The flash button and the flashing task.
//
// The task runs on a thread of the run-time's pool and owns the port while
// it runs. It never touches a control itself: every effect on the window is
// queued to the UI thread in the order the task produces it, and what it
// must wait for (the option boxes it reads, an error dialog, the final
// hand-shake) is synchronised, which keeps that order. The runs reach the
// window through a link; when the window goes away (AbandonFlash) the link
// is cut: the UI-thread side of every effect still queued, also by a run
// that has already ended, then does nothing, a running task stops at its
// next step and closes the port itself, and the unit's shut-down waits for
// it before it frees the port.
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "app/serial/BlockSerial.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/cxProgressBar.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <span>

namespace {

// The runs' way to their window. Cut on the UI thread when the window goes;
// read by the task between its steps and by the UI-thread side of
// everything it queued.
struct TFlashWindowLink {
  TMainForm* Form = nullptr;
  std::atomic<bool> Cut{false};
};

// The link of the window that started the last run.
std::shared_ptr<TFlashWindowLink> CurrentFlashLink;

// A reply is awaited in slices of this many ms, so that an abandoned task
// stops soon even while the device keeps silent.
constexpr int ReplySlice = 50;

// The least time (ms) given to the line after the last byte before the port
// closes: an adapter or a pseudo-terminal may still hold it beyond the
// driver's queue, and closing discards what it holds.
constexpr DWORD TransmitterSettleMin = 20;

// A failed step: its text is shown in the error dialog.
class EFlashError : public Exception { public: using Exception::Exception; };
// The window went away; the task ends without another word.
class EFlashAbandoned : public Exception { public: using Exception::Exception; };

// What the task reads of the option boxes.
struct TFlashOptions {
  bool Flash = false;
  bool Eeprom = false;
  bool UserRow = false;
};

bool FlashStepRuns(const TFlashOptions& AOptions) { return AOptions.Flash && FlashSize > 0; }
bool EepromStepRuns(const TFlashOptions& AOptions) { return AOptions.Eeprom && EepromSize > 0; }
bool UserRowStepRuns(const TFlashOptions& AOptions) {
  return DeviceFamily == FamilyXmega && AOptions.UserRow && UserRowSize > 0;
}

// The XMEGA EEPROM chunk: the project's EEPROM page size, at most 32.
int EepromChunkSize() { return std::min(EepromPageSize, EepromChunkMax); }

// The first flash byte address that the flash step leaves alone: the
// device's flash end (in words; the loader lives above it), or the project's
// flash size when that is smaller.
std::int64_t FlashWriteLimit() {
  std::int64_t limit = 2 * static_cast<std::int64_t>(std::max(FlashEnd, 0));
  if (FlashLimit > 0) limit = std::min<std::int64_t>(limit, FlashLimit);
  return limit;
}

// The highest address of the loaded flash image that holds data at or beyond
// AFrom; -1 when there is none. Erased bytes ($FF) are no data: leaving them
// out loses nothing.
std::int64_t LastFlashDataFrom(std::int64_t AFrom) {
  const std::span<const std::uint8_t> image(FlashImage.data(), static_cast<std::size_t>(std::max(FlashSize, 0)));
  for (std::int64_t address = std::ssize(image) - 1; address >= AFrom; --address)
    if (image[static_cast<std::size_t>(address)] != 0xFF) return address;
  return -1;
}

// Why the steps that AOptions select cannot be written as they are; empty
// when they can. Checked before the first byte goes out.
String FlashParameterError(const TFlashOptions& AOptions) {
  if ((FlashStepRuns(AOptions) || UserRowStepRuns(AOptions)) && (BlockSize < 1 || BlockSize > BlockBufferSize))
    return L"Blocksize " + IntToStr(BlockSize) + L" is not supported (1 to " + IntToStr(BlockBufferSize) +
           L" bytes).\rNothing was written.";
  // The flash step writes no further than the limit; data beyond it would be
  // lost while the run reported success.
  if (FlashStepRuns(AOptions)) {
    const std::int64_t limit = FlashWriteLimit();
    if (const std::int64_t last = LastFlashDataFrom(limit); last >= 0)
      return L"Flash data up to $" + IntToHex(last, 5) + L" lies beyond the writable flash (below $" +
             IntToHex(limit, 5) + L").\rNothing was written.";
  }
  if (DeviceFamily == FamilyXmega && EepromStepRuns(AOptions) && EepromChunkSize() < 1)
    return L"EEprom page size " + IntToStr(EepromPageSize) + L" is not supported (1 to " +
           IntToStr(EepromChunkMax) + L" bytes).\rNothing was written.";
  return String();
}

class TFlashRun {
 public:
  TFlashRun(TBlockSerial* APort, std::shared_ptr<TFlashWindowLink> ALink) : FPort(APort), FLink(std::move(ALink)) {}

  // The task's body; nothing escapes it.
  void Execute() noexcept;

 private:
  // Window operations, carried out on the UI thread in the task's order.
  void OnUi(std::function<void(TMainForm*)> AOperation);
  void SyncUi(const std::function<void(TMainForm*)>& AOperation);
  void AddLine(const String& ALine);
  void SetProgress(double APosition);
  void SetRunning(bool AActive);

  // The protocol.
  void CheckAbandoned();
  void Send(std::uint8_t AByte);
  void SendWord(unsigned AValue, int ABytes);
  std::uint8_t Reply();
  void ExpectAck(const String& AError, bool ATestLastError = false);
  void ExpectChecksum(const String& AError);
  void SendAddress(std::uint32_t APosition);
  // Fills the block buffer with $FF and copies up to ACount bytes of AImage
  // from APosition; the part of a block past the image's end stays $FF.
  // True when a copied byte is not $FF.
  bool FillBlock(std::span<const std::uint8_t> AImage, std::uint32_t APosition, int ACount);
  void SendBlockData(int ACount);
  // Returns once what was sent has left the port.
  void WaitUntilSent();
  void UpdateProgress();

  // The steps.
  void Start();
  void WriteFlash();
  void WriteEeprom();
  void WriteUserRow();
  void Finish();
  [[noreturn]] void Fail(const String& AMessage);

  TBlockSerial* FPort;
  std::shared_ptr<TFlashWindowLink> FLink;
  TFlashOptions FOptions;
  bool FXmega = false;
  std::uint32_t WritePos = 0;
  std::uint32_t WriteTotal = 0;
  std::array<std::uint8_t, BlockBufferSize> BlockBuffer{};
  std::uint8_t BlockChecksum = 0;
};

// ---------------------------------------------------------------------------
// Window operations

void TFlashRun::OnUi(std::function<void(TMainForm*)> AOperation) {
  TThread::Queue(nullptr, [link = FLink, operation = std::move(AOperation)] {
    if (!link->Cut) operation(link->Form);
  });
}

void TFlashRun::SyncUi(const std::function<void(TMainForm*)>& AOperation) {
  TThread::Synchronize(nullptr, [link = FLink, &AOperation] {
    if (!link->Cut) AOperation(link->Form);
  });
}

void TFlashRun::AddLine(const String& ALine) {
  OnUi([ALine](TMainForm* AForm) { AForm->LB_Info->Items()->Add(ALine); });
}

void TFlashRun::SetProgress(double APosition) {
  OnUi([APosition](TMainForm* AForm) { AForm->PB->SetPosition(APosition); });
}

void TFlashRun::SetRunning(bool AActive) {
  OnUi([AActive](TMainForm* AForm) { AForm->Running->SetActive(AActive); });
}

// ---------------------------------------------------------------------------
// Protocol

void TFlashRun::CheckAbandoned() {
  if (FLink->Cut) throw EFlashAbandoned(L"The window was closed");
}

void TFlashRun::Send(std::uint8_t AByte) {
  CheckAbandoned();
  FPort->SendByte(AByte);
}

void TFlashRun::SendWord(unsigned AValue, int ABytes) {
  for (int i = 0; i < ABytes; ++i) Send(static_cast<std::uint8_t>(AValue >> (8 * i)));
}

std::uint8_t TFlashRun::Reply() {
  const std::uint64_t start = TickCount();
  for (;;) {
    CheckAbandoned();
    const std::uint64_t spent = TicksSince(start);
    const int left = spent >= RecvTimeout ? 0 : RecvTimeout - static_cast<int>(spent);
    const std::uint8_t reply = FPort->RecvByte(std::min(left, ReplySlice));
    if (FPort->LastError() != ErrTimeout || TicksSince(start) >= RecvTimeout) return reply;
  }
}

void TFlashRun::ExpectAck(const String& AError, bool ATestLastError) {
  const std::uint8_t reply = Reply();
  if ((ATestLastError && FPort->LastError() != 0) || reply != ReplyAck) Fail(AError);
}

void TFlashRun::ExpectChecksum(const String& AError) {
  if (Reply() != BlockChecksum) Fail(AError);
}

void TFlashRun::SendAddress(std::uint32_t APosition) {
  Send(CmdSetAddress);
  if (FXmega) {
    SendWord(APosition, 3);
  } else {
    // Classic devices take a word address; the third byte only beyond 128 KiB.
    SendWord(APosition >> 1, 2);
    if (FlashLimit > WideAddressThreshold) Send(static_cast<std::uint8_t>(APosition >> 17));
  }
}

bool TFlashRun::FillBlock(std::span<const std::uint8_t> AImage, std::uint32_t APosition, int ACount) {
  BlockBuffer.fill(0xFF);
  if (APosition >= AImage.size()) return false;
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(ACount), AImage.size() - APosition);
  const auto source = AImage.subspan(APosition, count);
  std::ranges::copy(source, BlockBuffer.begin());
  return std::ranges::any_of(source, [](std::uint8_t b) { return b != 0xFF; });
}

void TFlashRun::SendBlockData(int ACount) {
  BlockChecksum = 0;
  for (int i = 0; i < ACount; ++i) {
    const std::uint8_t b = BlockBuffer[static_cast<std::size_t>(i)];
    Send(b);
    BlockChecksum = static_cast<std::uint8_t>(BlockChecksum + b);
  }
}

void TFlashRun::WaitUntilSent() {
  // The driver's buffer first, then what the transmitter may still hold: a
  // FIFO of 16 characters of 10 bits at the line's rate.
  FPort->Flush();
  const DWORD rate = FPort->DeviceControl().BaudRate;
  const DWORD baud = rate > 0 ? rate : 9600;
  Sleep(std::max<DWORD>(TransmitterSettleMin, (16 * 10 * 1000 + baud - 1) / baud));
}

void TFlashRun::UpdateProgress() {
  // The bar clamps what lies beyond its maximum.
  SetProgress(static_cast<double>(WritePos) / static_cast<double>(WriteTotal) * 100.0);
}

void TFlashRun::Fail(const String& AMessage) { throw EFlashError(AMessage); }

// ---------------------------------------------------------------------------
// The steps

void TFlashRun::Start() {
  FXmega = DeviceFamily == FamilyXmega;
  OnUi([](TMainForm* AForm) {
    AForm->Running->SetActive(true);
    AForm->BTN_Connect->SetEnabled(false);
    AForm->BTN_Oeffnen->SetEnabled(false);
    AForm->BTN_Flash->SetEnabled(false);
    AForm->PB->SetPosition(0);
  });
  FlasherState = StateFlashing;
  // The boxes are disabled first, so what is read here holds for the run.
  TFlashOptions options;
  SyncUi([&options](TMainForm* AForm) {
    AForm->CB_Flash->SetEnabled(false);
    AForm->CB_EEprom->SetEnabled(false);
    AForm->CB_UserRow->SetEnabled(false);
    options.Flash = AForm->CB_Flash->Checked();
    options.Eeprom = AForm->CB_EEprom->Checked();
    options.UserRow = AForm->CB_UserRow->Checked();
  });
  CheckAbandoned();
  FOptions = options;
  if (const String error = FlashParameterError(FOptions); !error.empty()) Fail(error);
}

void TFlashRun::WriteFlash() {
  if (!FlashStepRuns(FOptions)) return;
  AddLine(L"schreibe Flash...");
  if (FXmega) {
    Send(CmdErase);
    ExpectAck(L"Communication error 1", true);
  } else {
    // The page below the boot section; its word address goes out halved.
    const std::uint32_t eraseAddress = static_cast<std::uint32_t>(FlashEnd - (BlockSize >> 1));
    Send(CmdSetAddress);
    Send(static_cast<std::uint8_t>(eraseAddress >> 1));
    Send(static_cast<std::uint8_t>(eraseAddress >> 9));
    if (FlashLimit > WideAddressThreshold) Send(static_cast<std::uint8_t>(eraseAddress >> 17));
    ExpectAck(L"Communication error 2", true);
    Send(CmdErase);
    ExpectAck(L"Communication error 3");
  }
  // The device's flash end (in words) caps the bytes written.
  const std::uint32_t flashEnd = static_cast<std::uint32_t>(FlashEnd);
  const std::uint32_t flashSize = static_cast<std::uint32_t>(FlashSize);
  WriteTotal = flashEnd > (flashSize >> 1) ? flashSize : flashEnd * 2;
  const std::uint32_t blockSize = static_cast<std::uint32_t>(BlockSize);
  WritePos = 0;
  do {
    // Blocks of $FF only are not sent: erased flash holds them already.
    if (FillBlock(FlashImage, WritePos, BlockSize)) {
      const String position = IntToHex(WritePos, 3);
      SendAddress(WritePos);
      ExpectAck(L"Communication error block 4: $" + position);
      if (!FXmega) {
        Send(CmdErase);
        ExpectAck(L"Communication error 5");
      }
      Send(CmdDataBlock);
      if (FXmega) SendWord(blockSize, 2);
      SendBlockData(BlockSize);
      ExpectChecksum(L"Communication error block 5: $" + position + L". Checksum");
      Send(CmdWritePage);
      ExpectAck(L"Communication error block 6: $" + position);
    }
    WritePos += blockSize;
    UpdateProgress();
  } while (WritePos < WriteTotal);
  AddLine(L"Flash erfolgreich geschrieben");
}

void TFlashRun::WriteEeprom() {
  if (!EepromStepRuns(FOptions)) return;
  AddLine(L"schreibe EEprom...");
  WriteTotal = static_cast<std::uint32_t>(EepromLimit > 0 && EepromLimit <= EepromSize ? EepromLimit : EepromSize);
  WritePos = 0;
  if (FXmega) {
    const int chunk = EepromChunkSize();
    do {
      // Every chunk is sent, $FF or not.
      FillBlock(EepromImage, WritePos, chunk);
      Send(CmdSetAddress);
      SendWord(WritePos, 3);
      ExpectAck(L"Communication error 7");
      Send(CmdDataBlock);
      SendWord(static_cast<unsigned>(chunk), 2);
      SendBlockData(chunk);
      ExpectChecksum(L"Communication error 8");
      Send(CmdEepromWrite);
      ExpectAck(L"Communication error 9");
      WritePos += static_cast<std::uint32_t>(chunk);
      UpdateProgress();
    } while (WritePos < WriteTotal);
    return;
  }
  do {
    Send(CmdEepromWrite);
    Send(static_cast<std::uint8_t>(WritePos));
    Send(static_cast<std::uint8_t>(WritePos >> 8));
    Send(EepromImage[WritePos]);
    ExpectAck(L"Communication error 10");
    ++WritePos;
    UpdateProgress();
  } while (WritePos < WriteTotal);
  AddLine(L"EEprom erfolgreich geschrieben");
}

void TFlashRun::WriteUserRow() {
  if (!UserRowStepRuns(FOptions)) return;
  AddLine(L"schreibe UserRow...");
  Send(CmdUserRowSelect);
  ExpectAck(L"Communication error 11");
  // Exactly one block, whatever the image's length.
  FillBlock(UserRowImage, 0, BlockSize);
  Send(CmdSetAddress);
  SendWord(0, 3);
  ExpectAck(L"Communication error 12");
  // The data follow a second 'A' in this step.
  Send(CmdSetAddress);
  SendWord(static_cast<unsigned>(BlockSize), 2);
  SendBlockData(BlockSize);
  ExpectChecksum(L"Communication error 13");
  Send(CmdUserRowWrite);
  ExpectAck(L"Communication error 14");
  AddLine(L"UserRow erfolgreich geschrieben");
}

void TFlashRun::Finish() {
  if (FXmega) {
    Send(CmdFinishXmega);
    FlasherState = StateFinishing;
    Reply();
  }
  FlasherState = StateFinished;
  SetRunning(false);
  AddLine(L"Flashen erfolgreich beendet!");
  Send(CmdExitLoader);
  // Closing purges what the driver has not sent yet; the loader must hear
  // its exit command first.
  WaitUntilSent();
  FPort->CloseSocket();
  OnUi([](TMainForm* AForm) {
    AForm->CB_Flash->SetEnabled(true);
    AForm->CB_EEprom->SetEnabled(true);
    AForm->CB_UserRow->SetEnabled(true);
    AForm->BTN_Connect->SetEnabled(false);
    AForm->BTN_Oeffnen->SetEnabled(false);
    AForm->BTN_Flash->SetEnabled(false);
    // Last, so that the closing timer sees success only after the window
    // shows it.
    FlashedOK = true;
  });
  // Returns once the UI thread has carried out everything queued before.
  TThread::Synchronize(nullptr, [] {});
}

void TFlashRun::Execute() noexcept {
  try {
    try {
      Start();
      WriteFlash();
      WriteEeprom();
      WriteUserRow();
      Finish();
    } catch (const EFlashError& E) {
      FlasherState = StateFinished;
      const String message = E.Message();
      SyncUi([&message](TMainForm*) { MainFormMessageDlg(message, mtError, mbAbort); });
      SetRunning(false);
    }
  } catch (const EFlashAbandoned&) {
  } catch (...) {
    // Nothing else is expected here; the task still ends in order.
    FlasherState = StateFinished;
  }
  // Nobody else may close the port under the task, so it does it itself.
  if (FLink->Cut) FPort->CloseSocket();
}

}  // namespace

// ---------------------------------------------------------------------------
// The flash button

bool FlashTaskActive() {
  if (!FlashTask) return false;
  const TTaskStatus status = FlashTask->Status();
  return status == TTaskStatus::Created || status == TTaskStatus::WaitingToRun || status == TTaskStatus::Running;
}

void TMainForm::BTN_FlashClick(TObject*) {
  // A click that comes before the task disabled the button starts nothing.
  if (FlashTaskActive() || !SerialPort) return;
  const TFlashOptions options{CB_Flash->Checked(), CB_EEprom->Checked(), CB_UserRow->Checked()};
  if (const String error = FlashParameterError(options); !error.empty()) {
    MainFormMessageDlg(error, mtError, mbOK);
    return;
  }
  FlashedOK = false;
  if (!CurrentFlashLink || CurrentFlashLink->Cut || CurrentFlashLink->Form != this) {
    CurrentFlashLink = std::make_shared<TFlashWindowLink>();
    CurrentFlashLink->Form = this;
  }
  TBlockSerial* port = SerialPort;
  FlashTask = TTask::Create([port, link = CurrentFlashLink] { TFlashRun(port, link).Execute(); },
                            TThreadPool::Default());
  FlashTask->Start();
}

bool TMainForm::AbandonFlash() {
  // Also after the run: what it queued may still wait for the UI thread.
  if (CurrentFlashLink && CurrentFlashLink->Form == this) CurrentFlashLink->Cut = true;
  return FlashTaskActive();
}

void TMainForm::Destroy() {
  AbandonFlash();
  inherited::Destroy();
}

void MainUnitFinalization() {
  // The task is done with the port before the port goes.
  if (CurrentFlashLink) CurrentFlashLink->Cut = true;
  if (FlashTaskActive()) {
    try {
      FlashTask->Wait();
    } catch (...) {
    }
  }
  FlashTask = nullptr;
  CurrentFlashLink = nullptr;
  if (SerialPort) SerialPort->CloseSocket();
  FreeAndNil(SerialPort);
  MainForm = nullptr;
}
