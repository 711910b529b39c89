// The connect button and the handshake with the bootloader (UI thread).
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "app/serial/BlockSerial.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxListBox.h"
#include "platform/runtime/SysUtils.h"

#include <array>
#include <optional>
#include <span>

namespace {

// Set while a connect click runs: the handshake's pause handles messages, and
// a second click then must not free the port that the first one uses.
bool HandshakeRunning;

// Fills ABytes with reply bytes in the order received; false when one does
// not come in time. A missing byte must never read as 0: a device that
// stopped answering would pass as device $000000 with a flash end of 0.
bool ReadReply(TBlockSerial* APort, std::span<std::uint8_t> ABytes) {
  for (std::uint8_t& b : ABytes) {
    b = APort->RecvByte(RecvTimeout);
    if (APort->LastError() != 0) return false;
  }
  return true;
}

// A value of ACount reply bytes, little-endian; none when a byte does not come.
std::optional<int> ReadValue(TBlockSerial* APort, std::size_t ACount) {
  std::array<std::uint8_t, 3> bytes{};
  if (!ReadReply(APort, std::span(bytes).first(ACount))) return std::nullopt;
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16;
}

// Tells that no loader answers as it should; the handshake has failed.
bool NoDeviceFound() {
  Application()->MessageBox(
      L"Das Device ist nicht zu ermitteln.\r\n\r\nBefindet sich das Device im Bootloader-Modus?", L"Skarnivel",
      MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace

void TMainForm::BTN_ConnectClick(TObject*) {
  // A click that comes before the flashing task disabled the button would
  // close or free the port under it.
  if (HandshakeRunning || FlashTaskActive()) return;
  if (Connected) {
    if (SerialPort) SerialPort->CloseSocket();
    Connected = false;
    BTN_Connect->SetCaption(L"Verbinden");
    BTN_Connect->Colors()->SetDefault(clDefault);
    LB_Info->Clear();
    CB_Comport->SetEnabled(true);
    CB_Baudrate->SetEnabled(true);
    BTN_Flash->SetEnabled(false);
    BTN_Oeffnen->SetEnabled(true);
    BTN_Connect->SetEnabled(false);
    return;
  }
  HandshakeRunning = true;
  TScopeExit handshakeDone([] { HandshakeRunning = false; });
  // Every attempt uses a new port object; the earlier one is closed and goes.
  if (SerialPort) SerialPort->CloseSocket();
  FreeAndNil(SerialPort);
  SerialPort = New<TBlockSerial>();
  SerialPort->Connect(CB_Comport->Text());
  try {
    SerialPort->Config(StrToInt(CB_Baudrate->Text()), 8, 'N', 0, false, false);
  } catch (...) {
    // A baud rate that is no number: the port is closed again, so that the
    // next attempt can open it.
    SerialPort->CloseSocket();
    throw;
  }
  if (SerialPort->LastError() != 0) {
    // Also after a failed open; a port that opened but refused its
    // configuration is closed for the next attempt.
    SerialPort->CloseSocket();
    ShowMessage(L"Der angegebene Port ist nicht bereit, Daten zu senden/empfangen.");
    return;
  }
  SerialPort->Flush();
  SerialPort->Purge();
  if (GetDevice()) {
    Connected = true;
    BTN_Connect->SetCaption(L"Verbunden");
    BTN_Connect->Colors()->SetDefault(clLime);
    CB_Comport->SetEnabled(false);
    CB_Baudrate->SetEnabled(false);
    BTN_Flash->SetEnabled(true);
    BTN_Oeffnen->SetEnabled(false);
  } else {
    SerialPort->CloseSocket();
    Connected = false;
    BTN_Connect->SetCaption(L"Verbinden");
    BTN_Connect->Colors()->SetDefault(clDefault);
    CB_Comport->SetEnabled(true);
    CB_Baudrate->SetEnabled(true);
    BTN_Flash->SetEnabled(false);
    BTN_Oeffnen->SetEnabled(true);
  }
}

bool TMainForm::GetDevice() {
  TBlockSerial* port = SerialPort;
  TStrings* lines = LB_Info->Items();
  // The device needs a moment after the port opened; the window stays alive.
  WaitPumping(400);
  lines->Add(L"----- Flashloader Info -----");

  port->SendByte(CmdIdentify);
  std::uint8_t echo = 0;
  if (!ReadReply(port, {&echo, 1}) || echo != CmdIdentify) return NoDeviceFound();

  // The device ID comes most significant first.
  std::array<std::uint8_t, 3> id{};
  if (!ReadReply(port, id)) return NoDeviceFound();
  String idText;
  for (const std::uint8_t b : id) idText += IntToHex(static_cast<int>(b), 2);
  lines->Add(L"Device ID : $" + idText);
  ReportedDeviceID = id[0] << 16 | id[1] << 8 | id[2];

  const bool xmega = DeviceFamily == FamilyXmega;
  // XMEGA devices give their block size in bytes, classic ones their page
  // size in words, which the project's page size overrides.
  const std::optional<int> blockSize = ReadValue(port, xmega ? 2 : 1);
  if (!blockSize) return NoDeviceFound();
  if (xmega) BlockSize = *blockSize;
  else if (BlockSize == 0) BlockSize = *blockSize * 2;
  lines->Add(L"Blocksize : " + UIntToStr(static_cast<unsigned>(BlockSize)));
  const std::optional<int> flashEnd = ReadValue(port, xmega ? 3 : 2);
  if (!flashEnd) return NoDeviceFound();
  FlashEnd = *flashEnd;
  lines->Add(L"FlashEnd : " + UIntToStr(static_cast<unsigned>(FlashEnd)));
  // Classic devices report 16 bits of their flash end.
  if (!xmega && FlashLimit > WideAddressThreshold) FlashEnd += 0x10000;

  if (ExpectedDeviceID > 0 && ExpectedDeviceID != ReportedDeviceID) {
    Beep();
    MainFormMessageDlg(L"Device ID : \r" + IntToHex(ExpectedDeviceID, 6) + L"\r" + L"expected!", mtWarning, mbOK);
    return false;
  }

  port->SendByte(CmdLoaderId);
  if (port->LastError() != 0) {
    ShowMessage(L"Das Device ist nicht zu ermitteln!");
    return false;
  }
  const std::optional<int> loaderId = ReadValue(port, 2);
  if (!loaderId) return NoDeviceFound();
  ReportedLoaderID = *loaderId;
  if (RequestedLoaderID >= 0 && RequestedLoaderID != ReportedLoaderID) {
    MainFormMessageDlg(L"Requested LoaderID is " + UIntToStr(static_cast<unsigned>(RequestedLoaderID)) + L"\r" +
                           L"LoaderID in device is " + UIntToStr(static_cast<unsigned>(ReportedLoaderID)),
                       mtError, mbOK);
    return false;
  }
  lines->Add(L"LoaderID : $" + IntToHex(ReportedLoaderID, 4));
  return true;
}
