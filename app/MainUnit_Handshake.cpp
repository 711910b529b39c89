// The connect button and the handshake with the bootloader (UI thread).
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "app/serial/BlockSerial.h"
#include "library/editors/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxListBox.h"
#include "platform/runtime/SysUtils.h"

namespace {

// Set while a connect click runs: the handshake's pause handles messages, and
// a second click then must not free the port that the first one uses.
bool HandshakeRunning;

class THandshakeGuard {
 public:
  THandshakeGuard() { HandshakeRunning = true; }
  ~THandshakeGuard() { HandshakeRunning = false; }
  THandshakeGuard(const THandshakeGuard&) = delete;
  THandshakeGuard& operator=(const THandshakeGuard&) = delete;
};

// A value of ACount reply bytes, little-endian. A byte that does not come
// in time reads as 0.
unsigned ReadLittleEndian(TBlockSerial* APort, int ACount) {
  unsigned value = 0;
  for (int i = 0; i < ACount; ++i) value |= static_cast<unsigned>(APort->RecvByte(RecvTimeout)) << (8 * i);
  return value;
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
  const THandshakeGuard guard;
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
  const std::uint8_t echo = port->RecvByte(RecvTimeout);
  if (port->LastError() != 0 || echo != CmdIdentify) {
    Application()->MessageBox(
        L"Das Device ist nicht zu ermitteln.\r\n\r\nBefindet sich das Device im Bootloader-Modus?", L"Skarnivel",
        MB_OK | MB_ICONERROR);
    return false;
  }

  // The device ID comes most significant first.
  String idText;
  int id = 0;
  for (int i = 0; i < 3; ++i) {
    const std::uint8_t b = port->RecvByte(RecvTimeout);
    idText += IntToHex(static_cast<int>(b), 2);
    id = (id << 8) | b;
  }
  lines->Add(L"Device ID : $" + idText);
  ReportedDeviceID = id;

  if (DeviceFamily == FamilyXmega) {
    BlockSize = static_cast<int>(ReadLittleEndian(port, 2));
    lines->Add(L"Blocksize : " + UIntToStr(static_cast<unsigned>(BlockSize)));
    FlashEnd = static_cast<int>(ReadLittleEndian(port, 3));
    lines->Add(L"FlashEnd : " + UIntToStr(static_cast<unsigned>(FlashEnd)));
  } else {
    const std::uint8_t pageWords = port->RecvByte(RecvTimeout);
    // The project's page size wins over the device's.
    if (BlockSize == 0) BlockSize = pageWords * 2;
    lines->Add(L"Blocksize : " + UIntToStr(static_cast<unsigned>(BlockSize)));
    FlashEnd = static_cast<int>(ReadLittleEndian(port, 2));
    lines->Add(L"FlashEnd : " + UIntToStr(static_cast<unsigned>(FlashEnd)));
    // Classic devices report 16 bits of their flash end.
    if (FlashLimit > WideAddressThreshold) FlashEnd += 0x10000;
  }

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
  ReportedLoaderID = static_cast<int>(ReadLittleEndian(port, 2));
  if (RequestedLoaderID >= 0 && RequestedLoaderID != ReportedLoaderID) {
    MainFormMessageDlg(L"Requested LoaderID is " + UIntToStr(static_cast<unsigned>(RequestedLoaderID)) + L"\r" +
                           L"LoaderID in device is " + UIntToStr(static_cast<unsigned>(ReportedLoaderID)),
                       mtError, mbOK);
    return false;
  }
  lines->Add(L"LoaderID : $" + IntToHex(ReportedLoaderID, 4));
  return true;
}
