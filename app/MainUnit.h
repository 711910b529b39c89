// The main window and the state of the connection and the flashing run.
//
// TMainForm is made from its form description (resource TMAINFORM): every
// component below is created by its class, placed, given its stored
// properties and stored in the field of its name; the stored events are bound
// to the published methods of the same names. The handshake behind the
// connect button and the flashing task behind the flash button belong to the
// form as well (GetDevice, BTN_ConnectClick, BTN_FlashClick).
#pragma once

#include "platform/runtime/Tasks.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

#include <atomic>
#include <cstdint>

class TBlockSerial;
class TcxButton;
class TcxCheckBox;
class TcxComboBox;
class TcxGroupBox;
class TcxImageList;
class TcxLabel;
class TcxListBox;
class TcxProgressBar;
class TdxActivityIndicator;
class TRzPropertyStore;
class TRzRegIniFile;
class TRzVersionInfo;
class TRzVersionInfoStatus;
class TTimer;

// Every byte awaited from the device is awaited this long (ms).
constexpr int RecvTimeout = 1000;

// Bootloader commands and the acknowledgement.
constexpr std::uint8_t CmdIdentify = 'I';
constexpr std::uint8_t CmdLoaderId = 'i';
constexpr std::uint8_t CmdErase = 'E';
constexpr std::uint8_t CmdSetAddress = 'A';
constexpr std::uint8_t CmdDataBlock = 'D';
constexpr std::uint8_t CmdWritePage = 'P';
constexpr std::uint8_t CmdEepromWrite = 'B';
constexpr std::uint8_t CmdUserRowSelect = 'U';
constexpr std::uint8_t CmdUserRowWrite = 'R';
constexpr std::uint8_t CmdFinishXmega = 'V';
constexpr std::uint8_t CmdExitLoader = 'X';
constexpr std::uint8_t ReplyAck = 0x0D;

// The flashing task copies each block into a buffer of this size; an XMEGA
// EEPROM chunk holds at most EepromChunkMax bytes.
constexpr int BlockBufferSize = 1024;
constexpr int EepromChunkMax = 32;

// FlasherState values.
constexpr std::uint8_t StateIdle = 0;
constexpr std::uint8_t StateReady = 1;
constexpr std::uint8_t StateFinished = 2;
constexpr std::uint8_t StateFlashing = 3;
constexpr std::uint8_t StateFinishing = 4;

class TMainForm : public TForm {
  SK_CLASS(TMainForm, TForm)
 public:
  static void Publish(TPublisher<TMainForm>& P);

  // Published components, in declaration order.
  TcxGroupBox* cxGroupBox1;
  TcxComboBox* CB_Comport;
  TcxLabel* cxLabel1;
  TcxLabel* cxLabel2;
  TcxComboBox* CB_Baudrate;
  TcxImageList* cxImageList1;
  TcxButton* BTN_Beenden;
  TcxButton* BTN_Connect;
  TcxListBox* LB_Info;
  TcxButton* BTN_Oeffnen;
  TOpenDialog* OD;
  TcxButton* BTN_Flash;
  TcxProgressBar* PB;
  TcxGroupBox* cxGroupBox2;
  TcxCheckBox* CB_Flash;
  TcxCheckBox* CB_EEprom;
  TcxCheckBox* CB_UserRow;
  TdxActivityIndicator* Running;
  TcxGroupBox* cxGroupBox3;
  TcxCheckBox* CB_EndAfterFlash;
  TTimer* Timer1;
  TRzVersionInfo* RzVersionInfo1;
  TRzVersionInfoStatus* RzVersionInfoStatus2;
  TRzVersionInfoStatus* RzVersionInfoStatus1;
  TRzPropertyStore* Store;
  TRzRegIniFile* RzRegIniFile1;

  // Published methods (event handlers by name)
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Timer1Timer(TObject* Sender);
  void BTN_BeendenClick(TObject* Sender);
  void BTN_OeffnenClick(TObject* Sender);
  void BTN_ConnectClick(TObject* Sender);
  void BTN_FlashClick(TObject* Sender);
  void dxBarButton1Click(TObject* Sender);
  // Reads a project file and the HEX images beside its main file.
  void LoadFiles(const String& FileName);
  // The handshake with the bootloader on the open port; true when the device
  // and its loader were accepted.
  bool GetDevice();

  // Called when the window goes away (closed or destroyed) while a flashing
  // task may still run: the task then stops at its next step, touches the
  // window no more and closes the port itself. True when a task was running.
  bool AbandonFlash();

  void Destroy() override;
};

// The main window (null until the program made it).
extern TMainForm* MainForm;

// Module state shared with the handshake and the flashing task. The task
// writes FlasherState and FlashedOK while the UI thread reads them.
extern TBlockSerial* SerialPort;                 // the port of the current connection
extern std::atomic<bool> Connected;
extern std::atomic<bool> FlashedOK;
extern std::atomic<std::uint8_t> FlasherState;   // StateIdle ... StateFinishing
extern IPtr<ITask> FlashTask;                    // the last flashing task

// True while the flashing task is queued or runs: it owns the port and reads
// the images until it ends.
bool FlashTaskActive();

// Unit shut-down: stops and waits for a running task, then frees the port.
void MainUnitFinalization();
