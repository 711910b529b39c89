// The window's handshake and flashing task against the simulated bootloader
// (tools/with-device): every refusal of the handshake, every communication
// error of the flashing task, the address forms and limits of the devices,
// the runs that write little or nothing, and the progress the bar is given.
// Each case gives the device its options (UseDevice) before the window opens
// the port, so one device serves them all.
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/serial/BlockSerial.h"
#include "library/editors/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "tests/app/MainFormFixture.h"
#include "tests/app_serial/TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

// An ATmega328P: 64 words a page, flash end $3C00 words, loader $0102.
const std::string ClassicDevice = "--preset m328p --loader-id 0x0102";
const std::string ClassicParams =
    "CPUname=ATmega328P\r\nDeviceID=2004239\r\nBootLoaderID=258\r\nFlashMax=32768\r\nEEpromMax=512\r\n"
    "PageSize=64\r\nEPageSize=0\r\n";
// An XMEGA128A1: blocks of 512 bytes, flash end $10000 words, loader 0.
const std::string XmegaDevice = "--preset x128a1";
const std::string XmegaParams =
    "CPUname=XMEGA128A1\r\nDeviceID=2004812\r\nBootLoaderID=-1\r\nFlashMax=139264\r\nEEpromMax=0\r\n"
    "PageSize=256\r\nEPageSize=64\r\n";

const String InfoLine = L"----- Flashloader Info -----";
const String NoDeviceText = L"Das Device ist nicht zu ermitteln.\r\n\r\nBefindet sich das Device im Bootloader-Modus?";

struct TDeviceProject {
  std::string Device;  // tools/device-sim options
  std::string Params;  // the lines of section MainParams
  TImageParts Flash = {};
  TImageParts Eeprom = {};
  TImageParts UserRow = {};
};

// Three flash blocks (0, 128, 256; the last one partly beyond the image) and
// two EEPROM bytes.
TDeviceProject ClassicProject(const std::string& AFault = std::string()) {
  return {ClassicDevice + " " + AFault, ClassicParams, {{0, PatternBytes(300, 1)}}, {{0, PatternBytes(2, 2)}}};
}

// One flash block, two EEPROM chunks of 32 bytes, a user row.
TDeviceProject XmegaProject(const std::string& AFault = std::string()) {
  return {XmegaDevice + " " + AFault, XmegaParams, {{0, PatternBytes(512, 3)}}, {{0, PatternBytes(40, 4)}},
          {{0, PatternBytes(40, 5)}}};
}

std::string CaseName(const char* AName) {
  std::string name;
  for (const char* p = AName; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

class DeviceRunFixture : public MainFormFixture {
 protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    ASSERT_FALSE(TestPortName().empty()) << "run these tests through tools/with-device";
    FlashTask = nullptr;
    Form->CB_Comport->Properties()->Items()->Clear();
    Form->CB_Comport->Properties()->Items()->Add(TestPortName());
    Form->CB_Comport->SetItemIndex(0);
    Form->CB_Baudrate->SetText(L"38400");
  }

  void TearDown() override {
    if (FlashTask) FlashTask->Wait();
    FlashTask = nullptr;
    CheckSynchronize();
    MainFormFixture::TearDown();
    EraseImages();
    FlashSize = EepromSize = UserRowSize = 0;
  }

  // Writes the project and its images and opens it.
  void Open(const TDeviceProject& AProject) {
    UseDevice(AProject.Device);
    Dir.Write(L"Board.PPRO", "[MainParams]\r\nMainFile=Board.c\r\n" + AProject.Params);
    if (!AProject.Flash.empty()) Dir.Write(L"Board.hex", HexText(AProject.Flash));
    if (!AProject.Eeprom.empty()) Dir.Write(L"Board.eep", HexText(AProject.Eeprom));
    if (!AProject.UserRow.empty()) Dir.Write(L"Board.usr", HexText(AProject.UserRow));
    Form->LoadFiles(Dir.File(L"Board.PPRO"));
  }

  // Clicks Connect; true when connected.
  bool Connect() {
    Form->BTN_ConnectClick(Form->BTN_Connect);
    return Connected;
  }

  void CheckBoxes(bool AFlash, bool AEeprom, bool AUserRow) {
    Form->CB_Flash->SetChecked(AFlash);
    Form->CB_EEprom->SetChecked(AEeprom);
    Form->CB_UserRow->SetChecked(AUserRow);
  }

  // Clicks Flash and waits for the end of the run and everything it queued.
  void Flash() {
    Form->BTN_FlashClick(Form->BTN_Flash);
    ASSERT_TRUE(FlashTask) << "no run started";
    FlashTask->Wait();
    CheckSynchronize();
  }

  // The list's lines from the first one equal to AFirst (after it, with
  // AAfter); empty when there is none.
  std::vector<String> LinesFrom(const String& AFirst, bool AAfter = false) const {
    std::vector<String> lines;
    for (int i = 0; i < Form->LB_Info->Items()->Count(); ++i) lines.push_back(Form->LB_Info->Items()->Strings(i));
    const auto first = std::ranges::find(lines, AFirst);
    if (first == lines.end()) return {};
    return {first + (AAfter ? 1 : 0), lines.end()};
  }

  // The lines of the flashing run: those after the handshake's last one.
  std::vector<String> RunLines() const {
    std::vector<String> lines = LinesFrom(InfoLine);
    const auto loader = std::ranges::find_if(lines, [](const String& ALine) { return ALine.starts_with(L"LoaderID : $"); });
    return loader == lines.end() ? std::vector<String>{} : std::vector<String>(loader + 1, lines.end());
  }

  // The device's log once it shows ACommands commands; it must have taken
  // the options of this case and seen no protocol violation.
  static TDeviceLog DeviceLog(std::size_t ACommands) {
    const TDeviceLog log = WaitForDeviceLog(ACommands);
    EXPECT_TRUE(log.NewOptions) << "the device did not take the case's options";
    for (const std::string& violation : log.Violations) ADD_FAILURE() << "protocol violation: " << violation;
    return log;
  }

  static std::size_t CommandCount(const std::string& ANames) {
    return static_cast<std::size_t>(std::ranges::count(ANames, ' ') + (ANames.empty() ? 0 : 1));
  }

  // After a successful run only quitting and the options are left; the port
  // is closed.
  void ExpectSucceeded() {
    EXPECT_TRUE(Dialogs->Dialogs.empty()) << UTF8Encode(Dialogs->Dialogs.front().Text);
    EXPECT_TRUE(FlashedOK);
    EXPECT_EQ(FlasherState, StateFinished);
    EXPECT_FALSE(Form->Running->Active());
    EXPECT_FALSE(SerialPort->InstanceActive()) << "the port stayed open";
    EXPECT_FALSE(Form->BTN_Flash->Enabled());
    EXPECT_FALSE(Form->BTN_Connect->Enabled());
    EXPECT_FALSE(Form->BTN_Oeffnen->Enabled());
    EXPECT_TRUE(Form->CB_Flash->Enabled());
    EXPECT_TRUE(Form->CB_EEprom->Enabled());
  }
};

// ---------------------------------------------------------------------------
// Every reply of the handshake must come whole

struct THandshakeRow {
  const char* Name;
  TDeviceProject Project;
  std::vector<String> Lines;  // from the info line on
  std::string Commands;       // what the device was sent
};

void PrintTo(const THandshakeRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

const String ClassicId = L"Device ID : $1E950F";
const String XmegaId = L"Device ID : $1E974C";

std::vector<THandshakeRow> HandshakeRows() {
  const std::vector<String> classicInfo = {InfoLine, ClassicId, L"Blocksize : 128", L"FlashEnd : 15360"};
  return {
      {"no echo", ClassicProject("--fault I:silent"), {InfoLine}, "I"},
      {"a wrong echo", ClassicProject("--fault I:wrong"), {InfoLine}, "I"},
      // Nothing in the project to refuse a device $000000 with loader 0.
      {"the echo and then silence",
       {ClassicDevice + " --fault I:short --fault i:silent", "CPUname=ATmega328P\r\nFlashMax=32768\r\nPageSize=64\r\n",
        {{0, PatternBytes(16, 6)}}},
       {InfoLine},
       "I"},
      {"a device ID cut short", ClassicProject("--fault I:short=3"), {InfoLine}, "I"},
      {"a classic page size missing", ClassicProject("--fault I:short=4"), {InfoLine, ClassicId}, "I"},
      {"a classic flash end cut short", ClassicProject("--fault I:short=6"), {InfoLine, ClassicId, L"Blocksize : 128"},
       "I"},
      {"an XMEGA block size cut short", XmegaProject("--fault I:short=5"), {InfoLine, XmegaId}, "I"},
      {"an XMEGA flash end cut short", XmegaProject("--fault I:short=8"), {InfoLine, XmegaId, L"Blocksize : 512"},
       "I"},
      {"no loader ID", ClassicProject("--fault i:silent"), classicInfo, "I i"},
      {"a loader ID cut short", ClassicProject("--fault i:short"), classicInfo, "I i"},
  };
}

class DeviceRunHandshake : public DeviceRunFixture, public testing::WithParamInterface<THandshakeRow> {};

TEST_P(DeviceRunHandshake, AMissingReplyByteMeansNoDevice) {
  const THandshakeRow& row = GetParam();
  ASSERT_NO_FATAL_FAILURE(Open(row.Project));

  EXPECT_FALSE(Connect());

  ASSERT_EQ(Dialogs->Boxes.size(), 1u);
  EXPECT_EQ(Dialogs->Boxes[0].Text, NoDeviceText);
  EXPECT_EQ(Dialogs->Boxes[0].Caption, L"Skarnivel");
  EXPECT_EQ(Dialogs->Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(Dialogs->Dialogs.empty());
  EXPECT_EQ(LinesFrom(InfoLine), row.Lines);
  EXPECT_EQ(DeviceLog(CommandCount(row.Commands)).Names(), row.Commands);
  // Disconnected, the port closed, ready for another attempt.
  EXPECT_FALSE(SerialPort->InstanceActive());
  EXPECT_EQ(Form->BTN_Connect->Caption(), L"Verbinden");
  EXPECT_TRUE(Form->BTN_Connect->Enabled());
  EXPECT_FALSE(Form->BTN_Flash->Enabled());
  EXPECT_TRUE(Form->BTN_Oeffnen->Enabled());
}

INSTANTIATE_TEST_SUITE_P(Replies, DeviceRunHandshake, testing::ValuesIn(HandshakeRows()),
                         [](const testing::TestParamInfo<THandshakeRow>& AInfo) { return CaseName(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Flash data beyond the flash end

using DeviceRun = DeviceRunFixture;

TEST_F(DeviceRun, FlashDataBeyondTheFlashEndIsRefusedBeforeAnythingIsWritten) {
  // An XMEGA32A4 writes below $8000; its loader lives above.
  ASSERT_NO_FATAL_FAILURE(Open({"--preset x32a4", "CPUname=XMEGA32A4\r\nBootLoaderID=-1\r\nFlashMax=36864\r\nEPageSize=32\r\n",
                                {{0, PatternBytes(256, 14)}, {0x8000, PatternBytes(16, 15)}},
                                {{0, PatternBytes(8, 16)}}}));
  ASSERT_TRUE(Connect()) << "not connected";

  Form->BTN_FlashClick(Form->BTN_Flash);

  EXPECT_FALSE(FlashTask) << "a run started";
  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text,
            L"Flash data up to $0800F lies beyond the writable flash (below $08000).\rNothing was written.");
  EXPECT_EQ(DeviceLog(2).Names(), "I i");
  // Still connected: the EEPROM alone can go.
  ASSERT_TRUE(Form->BTN_Flash->Enabled());
  Dialogs->Clear();
  CheckBoxes(false, true, false);
  ASSERT_NO_FATAL_FAILURE(Flash());
  ExpectSucceeded();
  EXPECT_EQ(DeviceLog(7).Names(), "I i A D B V X");
}

}  // namespace
