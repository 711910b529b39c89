// What the flash and connect buttons refuse or clean up before the device is
// touched: block sizes the block buffer cannot take, flash data beyond what
// the run would write, a second click (or a
// click on connect or open) while a task runs, and ports left open by a
// failed configuration or a baud-rate text that is no number.
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/serial/BlockSerial.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/runtime/Handles.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class FlashGuardTest : public MainFormFixture {
 protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    EraseImages();
    FlashTask = nullptr;
    // As a connected device with room for every image of these tests.
    FlashEnd = 0x10000;
    FlashLimit = 0;
  }

  void TearDown() override {
    // A task still running would outlive the form and the port.
    if (FlashTask) FlashTask->Wait();
    FlashTask = nullptr;
    EraseImages();
    FlashSize = 0;
    EepromSize = 0;
    UserRowSize = 0;
    MainFormFixture::TearDown();
  }

  // A port object that was never opened: a task that starts fails at its
  // first reply, quickly and without a device.
  void GiveClosedPort() {
    FreeAndNil(SerialPort);
    SerialPort = New<TBlockSerial>();
  }

  // One XMEGA block to flash over the closed port: the task starts and fails
  // at its first reply with "Communication error 1".
  void PrepareFailingRun() {
    GiveClosedPort();
    DeviceFamily = FamilyXmega;
    BlockSize = 512;
    EepromPageSize = 32;
    FlashSize = 512;
    FlashImage[0] = 0x12;
    CheckBoxes(true, false, false);
  }

  void CheckBoxes(bool AFlash, bool AEeprom, bool AUserRow) {
    Form->CB_Flash->SetChecked(AFlash);
    Form->CB_EEprom->SetChecked(AEeprom);
    Form->CB_UserRow->SetChecked(AUserRow);
  }

  // A port name that opens but is no serial port: a file of the scratch
  // directory. Its configuration fails.
  String FilePort() {
    const String name = Dir.Write(L"port.bin", "not a serial port");
    Form->CB_Comport->Properties()->Items()->Clear();
    Form->CB_Comport->Properties()->Items()->Add(name);
    Form->CB_Comport->SetItemIndex(0);
    return name;
  }

  // Whether nobody holds the file open: it opens without sharing.
  static bool NobodyHolds(const String& AFileName) {
    return bool(TKernelHandle(
        CreateFileW(AFileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
  }
};

// ---------------------------------------------------------------------------
// Block sizes

struct TBlockRow {
  const char* Name;
  std::uint8_t Family;
  int Block;
  int EepromPage;
  bool Flash, Eeprom, UserRow;  // the option boxes
  const wchar_t* Refusal;       // null: the task starts
};

const TBlockRow BlockRows[] = {
    {"classic, block 0", FamilyClassic, 0, 0, true, false, false,
     L"Blocksize 0 is not supported (1 to 1024 bytes).\rNothing was written."},
    {"classic, negative block", FamilyClassic, -2, 0, true, true, false,
     L"Blocksize -2 is not supported (1 to 1024 bytes).\rNothing was written."},
    {"classic, block 1025", FamilyClassic, 1025, 0, true, false, false,
     L"Blocksize 1025 is not supported (1 to 1024 bytes).\rNothing was written."},
    {"xmega, block 2048", FamilyXmega, 2048, 32, true, false, false,
     L"Blocksize 2048 is not supported (1 to 1024 bytes).\rNothing was written."},
    {"xmega, user row with block 0", FamilyXmega, 0, 32, false, false, true,
     L"Blocksize 0 is not supported (1 to 1024 bytes).\rNothing was written."},
    {"xmega, EEPROM page 0", FamilyXmega, 512, 0, true, true, false,
     L"EEprom page size 0 is not supported (1 to 32 bytes).\rNothing was written."},
    {"xmega, negative EEPROM page", FamilyXmega, 512, -64, false, true, false,
     L"EEprom page size -64 is not supported (1 to 32 bytes).\rNothing was written."},
    // The limits themselves, and steps that do not use the odd value.
    {"classic, block 1", FamilyClassic, 1, 0, true, false, false, nullptr},
    {"classic, block 1024", FamilyClassic, 1024, 0, true, false, false, nullptr},
    {"classic, EEPROM byte by byte needs no page", FamilyClassic, 128, 0, false, true, false, nullptr},
    {"classic, block 0 without the flash step", FamilyClassic, 0, 0, false, true, false, nullptr},
    {"xmega, EEPROM only, block 0", FamilyXmega, 0, 32, false, true, false, nullptr},
    {"xmega, EEPROM page 1", FamilyXmega, 512, 1, false, true, false, nullptr},
    {"xmega, EEPROM page 0 unchecked", FamilyXmega, 512, 0, true, false, false, nullptr},
};

TEST_F(FlashGuardTest, BlockSizesTheBufferCannotTakeAreRefusedBeforeATaskStarts) {
  for (const TBlockRow& row : BlockRows) {
    SCOPED_TRACE(row.Name);
    Dialogs->Clear();
    FlashTask = nullptr;
    GiveClosedPort();
    DeviceFamily = row.Family;
    BlockSize = row.Block;
    EepromPageSize = row.EepromPage;
    FlashSize = 300;
    EepromSize = 40;
    UserRowSize = 20;
    FlashImage[0] = 0x12;
    CheckBoxes(row.Flash, row.Eeprom, row.UserRow);
    Form->BTN_Flash->SetEnabled(true);

    Form->BTN_FlashClick(Form->BTN_Flash);

    if (row.Refusal) {
      EXPECT_FALSE(FlashTask) << "a task started";
      ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
      EXPECT_EQ(Dialogs->Dialogs[0].Text, row.Refusal);
      EXPECT_EQ(Dialogs->Dialogs[0].DlgType, mtError);
      // Nothing changed: another choice of steps may still be flashed.
      EXPECT_TRUE(Form->BTN_Flash->Enabled());
      EXPECT_EQ(FlasherState, StateIdle);
      continue;
    }
    ASSERT_TRUE(FlashTask) << "no task started";
    // The closed port makes the first reply fail; that is the only dialog.
    FlashTask->Wait();
    ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
    EXPECT_TRUE(Dialogs->Dialogs[0].Text.starts_with(L"Communication error")) << UTF8Encode(Dialogs->Dialogs[0].Text);
    FlasherState = StateIdle;
  }
}

// ---------------------------------------------------------------------------
// Flash data beyond what the run writes

struct TLimitRow {
  const char* Name;
  std::uint8_t Family;
  int FlashEnd;    // as the handshake left it, in words
  int FlashLimit;  // the project's FlashMax
  int FlashSize;
  std::vector<std::pair<int, std::uint8_t>> Bytes;  // image bytes other than $FF
  bool Flash;                                        // the Flash box
  const wchar_t* Refusal;                            // null: the task starts
};

const TLimitRow LimitRows[] = {
    {"data at the device's flash end", FamilyClassic, 0x3C00, 32768, 0x7801, {{0, 1}, {0x7800, 2}}, true,
     L"Flash data up to $07800 lies beyond the writable flash (below $07800).\rNothing was written."},
    {"the highest data address is named", FamilyClassic, 0x3C00, 32768, 0x8000, {{0x7900, 2}, {0x7A00, 3}}, true,
     L"Flash data up to $07A00 lies beyond the writable flash (below $07800).\rNothing was written."},
    {"data beyond the project's flash size", FamilyClassic, 0x3C00, 0x4000, 0x4001, {{0x4000, 2}}, true,
     L"Flash data up to $04000 lies beyond the writable flash (below $04000).\rNothing was written."},
    {"XMEGA data in the boot section", FamilyXmega, 0x10000, 139264, 0x20100, {{0x200FF, 7}}, true,
     L"Flash data up to $200FF lies beyond the writable flash (below $20000).\rNothing was written."},
    {"a device that reports no flash", FamilyXmega, 0, 139264, 1, {{0, 7}}, true,
     L"Flash data up to $00000 lies beyond the writable flash (below $00000).\rNothing was written."},
    {"data up to the last writable byte", FamilyClassic, 0x3C00, 32768, 0x7800, {{0x77FF, 2}}, true, nullptr},
    // Erased bytes beyond the end are left out without loss.
    {"erased bytes beyond the device's flash end", FamilyClassic, 0x3C00, 32768, 0x8000, {{0x100, 2}}, true, nullptr},
    {"no project flash size", FamilyClassic, 0x3C00, 0, 0x7800, {{0x77FF, 2}}, true, nullptr},
    {"without the flash step", FamilyClassic, 0x3C00, 32768, 0x8000, {{0x7F00, 2}}, false, nullptr},
};

TEST_F(FlashGuardTest, FlashDataBeyondWhatTheRunWritesIsRefusedBeforeATaskStarts) {
  for (const TLimitRow& row : LimitRows) {
    SCOPED_TRACE(row.Name);
    Dialogs->Clear();
    FlashTask = nullptr;
    GiveClosedPort();
    EraseImages();
    DeviceFamily = row.Family;
    BlockSize = 256;
    EepromPageSize = 32;
    FlashEnd = row.FlashEnd;
    FlashLimit = row.FlashLimit;
    FlashSize = row.FlashSize;
    EepromSize = 16;
    for (const auto& [address, value] : row.Bytes) FlashImage[static_cast<std::size_t>(address)] = value;
    CheckBoxes(row.Flash, true, false);
    Form->BTN_Flash->SetEnabled(true);

    Form->BTN_FlashClick(Form->BTN_Flash);

    if (row.Refusal) {
      EXPECT_FALSE(FlashTask) << "a task started";
      ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
      EXPECT_EQ(Dialogs->Dialogs[0].Text, row.Refusal);
      EXPECT_EQ(Dialogs->Dialogs[0].DlgType, mtError);
      EXPECT_TRUE(Form->BTN_Flash->Enabled());
      EXPECT_EQ(FlasherState, StateIdle);
      continue;
    }
    ASSERT_TRUE(FlashTask) << "no task started";
    FlashTask->Wait();
    ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
    EXPECT_TRUE(Dialogs->Dialogs[0].Text.starts_with(L"Communication error")) << UTF8Encode(Dialogs->Dialogs[0].Text);
    FlasherState = StateIdle;
  }
}

// ---------------------------------------------------------------------------
// A second click

TEST_F(FlashGuardTest, ASecondClickBeforeTheButtonIsDisabledStartsNoSecondTask) {
  PrepareFailingRun();
  Form->BTN_Flash->SetEnabled(true);

  // Nothing is pumped between the clicks: the task cannot have disabled
  // the button yet (it waits for the UI thread to read the option boxes).
  Form->BTN_FlashClick(Form->BTN_Flash);
  const IPtr<ITask> first = FlashTask;
  ASSERT_TRUE(first);
  EXPECT_TRUE(Form->BTN_Flash->Enabled());
  Form->BTN_FlashClick(Form->BTN_Flash);
  EXPECT_EQ(FlashTask.Get(), first.Get()) << "a second task replaced the first";

  first->Wait();
  // One run: one failure, reported once.
  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text, L"Communication error 1");
  EXPECT_FALSE(Form->BTN_Flash->Enabled());
}

TEST_F(FlashGuardTest, ConnectAndOpenClicksBeforeTheButtonsAreDisabledLeaveTheRunAlone) {
  PrepareFailingRun();
  Connected = false;
  Dialogs->ChosenFile = Dir.Write(L"other.ppro", "[Project]\r\n");

  // As in one input batch: the task has not disabled the buttons yet.
  Form->BTN_FlashClick(Form->BTN_Flash);
  const IPtr<ITask> task = FlashTask;
  ASSERT_TRUE(task);
  TBlockSerial* port = SerialPort;
  Form->BTN_ConnectClick(Form->BTN_Connect);
  EXPECT_EQ(SerialPort, port) << "the task's port was replaced";
  Form->BTN_OeffnenClick(Form->BTN_Oeffnen);
  EXPECT_TRUE(Dialogs->OpenTitles.empty()) << "a project was opened under the task";
  EXPECT_EQ(FlashSize, 512);

  task->Wait();
  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text, L"Communication error 1");
}

// ---------------------------------------------------------------------------
// The window goes while a run's effects still wait for the UI thread

class FlashGuardQueueTest : public FlashGuardTest {
 protected:
  // Runs a flash that fails at once and lets its error dialog be answered,
  // but leaves what the task queued after the dialog (the activity
  // indicator stops) unprocessed; returns when the task has ended.
  void RunToTheErrorAndLeaveTheRestQueued() {
    PrepareFailingRun();
    Form->BTN_FlashClick(Form->BTN_Flash);
    ASSERT_TRUE(FlashTask);
    // Each pass runs only what was queued before it began, so what the task
    // queues after the dialog stays for a later pass.
    const std::uint64_t start = TickCount();
    while (Dialogs->Dialogs.empty() && TicksSince(start) < 5000) {
      CheckSynchronize();
      Sleep(1);
    }
    ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
    while (FlashTask->Status() != TTaskStatus::Completed && TicksSince(start) < 5000) Sleep(1);
    ASSERT_EQ(FlashTask->Status(), TTaskStatus::Completed);
    ASSERT_TRUE(Form->Running->Active()) << "the run's last effect was carried out too early for this test";
  }
};

TEST_F(FlashGuardQueueTest, EffectsStillQueuedWhenTheWindowClosesAreDropped) {
  ASSERT_NO_FATAL_FAILURE(RunToTheErrorAndLeaveTheRestQueued());
  // As the window's close and its destruction do; the run itself has ended.
  EXPECT_FALSE(Form->AbandonFlash());
  CheckSynchronize();
  EXPECT_TRUE(Form->Running->Active()) << "a closed window was changed";
}

// ---------------------------------------------------------------------------
// Ports that a failed connect leaves behind

TEST_F(FlashGuardTest, AFailedConfigurationClosesThePortAgain) {
  const String port = FilePort();
  Form->CB_Baudrate->SetText(L"38400");
  Form->BTN_Connect->SetEnabled(true);

  Form->BTN_ConnectClick(Form->BTN_Connect);

  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text, L"Der angegebene Port ist nicht bereit, Daten zu senden/empfangen.");
  EXPECT_FALSE(Connected);
  EXPECT_TRUE(NobodyHolds(port)) << "the port stayed open after its configuration failed";
  // The next attempt opens it again (and fails the same way, nothing worse).
  Form->BTN_ConnectClick(Form->BTN_Connect);
  ASSERT_EQ(Dialogs->Dialogs.size(), 2u);
  EXPECT_EQ(Dialogs->Dialogs[1].Text, L"Der angegebene Port ist nicht bereit, Daten zu senden/empfangen.");
  EXPECT_TRUE(NobodyHolds(port));
}

TEST_F(FlashGuardTest, ABaudRateTextThatIsNoNumberRaisesTheConversionErrorAndClosesThePort) {
  const String port = FilePort();
  Form->CB_Baudrate->SetText(L"38k4");
  Form->BTN_Connect->SetEnabled(true);

  try {
    Form->BTN_ConnectClick(Form->BTN_Connect);
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), L"'38k4' ist kein gültiger Integerwert");
  }
  EXPECT_TRUE(Dialogs->Dialogs.empty());
  EXPECT_FALSE(Connected);
  EXPECT_TRUE(Form->BTN_Connect->Enabled());
  EXPECT_TRUE(NobodyHolds(port)) << "the port stayed open after the conversion error";
}

}  // namespace
