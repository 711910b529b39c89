// The window's handshake and flashing task against the simulated bootloader
// (tools/with-device): every refusal of the handshake, every communication
// error of the flashing task, the address forms and limits of the devices,
// the runs that write little or nothing, the progress the bar is given, the
// activity indicator's dots during a run and the GDI objects over many runs.
// Each case gives the device its options (UseDevice) before the window opens
// the port, so one device serves them all.
#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/serial/BlockSerial.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/controls/scrollbars/dxTouchScrollUI.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/cxProgressBar.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/ui/GdiScopes.h"
#include "tests/app/MainFormFixture.h"
#include "tests/app_serial/TestDevice.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/NativeScrollBars.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

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

// Records every position the progress bar is given.
class TProgressRecorder : public TObject {
  SK_CLASS(TProgressRecorder, TObject)
 public:
  void Create(TcxProgressBar* ABar) {
    inherited::Create();
    FBar = ABar;
    FListener.reset(New<TcxProgressBarListener>(ABar));
    FListener->SetOnChanged(BindEvent<&TProgressRecorder::Changed>(this));
    ABar->RegisterListener(FListener.get());
  }
  void Destroy() override {
    if (FBar) FBar->UnRegisterListener(FListener.get());
    FListener.reset();
    inherited::Destroy();
  }
  std::vector<double> Positions;

 private:
  // A listener hears every passing write and every settings change.
  void Changed(TObject*) {
    if (Positions.empty() || Positions.back() != FBar->Position()) Positions.push_back(FBar->Position());
  }

  TcxProgressBar* FBar;
  TOwned<TcxProgressBarListener> FListener;
};

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

  // A whole run of everything the project holds, as a user starts it:
  // opened, shown, connected, flashed, and the queued work done.
  void RunToEnd(const TDeviceProject& AProject) {
    ASSERT_NO_FATAL_FAILURE(Open(AProject));
    CheckBoxes(true, true, true);
    ShowForm();
    ASSERT_TRUE(Connect()) << "not connected";
    ASSERT_NO_FATAL_FAILURE(Flash());
    ExpectSucceeded();
    PumpPending();
  }

  // The list's lines from the first one equal to AFirst on; empty when there
  // is none.
  std::vector<String> LinesFrom(const String& AFirst) const {
    std::vector<String> lines;
    for (int i = 0; i < Form->LB_Info->Items()->Count(); ++i) lines.push_back(Form->LB_Info->Items()->Strings(i));
    return {std::ranges::find(lines, AFirst), lines.end()};
  }

  // The lines of the flashing run: those after the handshake's last one.
  std::vector<String> RunLines() const {
    std::vector<String> lines = LinesFrom(InfoLine);
    const auto loader =
        std::ranges::find_if(lines, [](const String& ALine) { return ALine.starts_with(L"LoaderID : $"); });
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
// Loader IDs

struct TLoaderRow {
  const char* Name;
  const char* Key;          // the BootLoaderID line, or empty
  const char* DeviceLoader;
  const wchar_t* Refusal;   // null: connected
};

void PrintTo(const TLoaderRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

const TLoaderRow LoaderRows[] = {
    {"without the key loader 0 is required", "", "0x0102",
     L"Requested LoaderID is 0\rLoaderID in device is 258"},
    {"without the key loader 0 passes", "", "0", nullptr},
    {"a negative ID accepts any loader", "BootLoaderID=-1\r\n", "0x0102", nullptr},
    {"the requested loader passes", "BootLoaderID=258\r\n", "0x0102", nullptr},
};

class DeviceRunLoader : public DeviceRunFixture, public testing::WithParamInterface<TLoaderRow> {};

TEST_P(DeviceRunLoader, TheProjectsLoaderIdDecides) {
  const TLoaderRow& row = GetParam();
  ASSERT_NO_FATAL_FAILURE(Open({std::string("--preset m328p --loader-id ") + row.DeviceLoader,
                                std::string("CPUname=ATmega328P\r\nFlashMax=32768\r\n") + row.Key}));

  EXPECT_EQ(Connect(), row.Refusal == nullptr);

  if (row.Refusal) {
    ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
    EXPECT_EQ(Dialogs->Dialogs[0].Text, row.Refusal);
    EXPECT_EQ(Dialogs->Dialogs[0].DlgType, mtError);
    EXPECT_FALSE(SerialPort->InstanceActive());
  } else {
    EXPECT_TRUE(Dialogs->Dialogs.empty());
    EXPECT_TRUE(Form->BTN_Flash->Enabled());
  }
  EXPECT_EQ(DeviceLog(2).Names(), "I i");
}

INSTANTIATE_TEST_SUITE_P(Projects, DeviceRunLoader, testing::ValuesIn(LoaderRows),
                         [](const testing::TestParamInfo<TLoaderRow>& AInfo) { return CaseName(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Every communication error of the flashing run

struct TErrorRow {
  const char* Name;
  bool Xmega;
  const char* Fault;      // tools/device-sim --fault
  const wchar_t* Text;    // the error dialog's
  std::string Commands;   // everything the device was sent
  std::vector<String> Lines;  // the run's lines
};

void PrintTo(const TErrorRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

std::vector<TErrorRow> ErrorRows() {
  const String flash = L"schreibe Flash...";
  const String flashDone = L"Flash erfolgreich geschrieben";
  const String eeprom = L"schreibe EEprom...";
  const String userRow = L"schreibe UserRow...";
  // Classic: I i, erase address, erase, then A E D P for each of the three
  // blocks, then B for each EEPROM byte.
  // XMEGA: I i, erase, A D P for the block, A D B for each EEPROM chunk,
  // then U A A R for the user row.
  const std::string xmegaFlash = "I i E A D P";
  const std::string xmegaEeprom = xmegaFlash + " A D B A D B";
  return {
      {"classic erase address", false, "A#1:wrong", L"Communication error 2", "I i A", {flash}},
      {"classic erase", false, "E#1:wrong", L"Communication error 3", "I i A E", {flash}},
      {"classic block address", false, "A#2:wrong", L"Communication error block 4: $000", "I i A E A", {flash}},
      {"classic block erase", false, "E#2:wrong", L"Communication error 5", "I i A E A E", {flash}},
      {"classic block checksum", false, "D#1:wrong", L"Communication error block 5: $000. Checksum",
       "I i A E A E D", {flash}},
      {"classic page write", false, "P#1:wrong", L"Communication error block 6: $000", "I i A E A E D P", {flash}},
      {"classic second block address", false, "A#3:wrong", L"Communication error block 4: $080",
       "I i A E A E D P A", {flash}},
      {"classic third page write without a reply", false, "P#3:silent", L"Communication error block 6: $100",
       "I i A E A E D P A E D P A E D P", {flash}},
      {"classic EEPROM byte", false, "B#2:wrong", L"Communication error 10", "I i A E A E D P A E D P A E D P B B",
       {flash, flashDone, eeprom}},
      {"XMEGA erase", true, "E:wrong", L"Communication error 1", "I i E", {flash}},
      {"XMEGA block address", true, "A#1:wrong", L"Communication error block 4: $000", "I i E A", {flash}},
      {"XMEGA block checksum", true, "D#1:wrong", L"Communication error block 5: $000. Checksum", "I i E A D",
       {flash}},
      {"XMEGA page write", true, "P:wrong", L"Communication error block 6: $000", xmegaFlash, {flash}},
      {"XMEGA EEPROM address", true, "A#3:wrong", L"Communication error 7", xmegaFlash + " A D B A",
       {flash, flashDone, eeprom}},
      {"XMEGA EEPROM checksum", true, "D#2:wrong", L"Communication error 8", xmegaFlash + " A D",
       {flash, flashDone, eeprom}},
      {"XMEGA EEPROM write", true, "B#1:wrong", L"Communication error 9", xmegaFlash + " A D B",
       {flash, flashDone, eeprom}},
      {"XMEGA user row select", true, "U:wrong", L"Communication error 11", xmegaEeprom + " U",
       {flash, flashDone, eeprom, userRow}},
      {"XMEGA user row address", true, "A#4:wrong", L"Communication error 12", xmegaEeprom + " U A",
       {flash, flashDone, eeprom, userRow}},
      {"XMEGA user row data", true, "A#5:wrong", L"Communication error 13", xmegaEeprom + " U A A",
       {flash, flashDone, eeprom, userRow}},
      {"XMEGA user row write", true, "R:wrong", L"Communication error 14", xmegaEeprom + " U A A R",
       {flash, flashDone, eeprom, userRow}},
  };
}

class DeviceRunErrors : public DeviceRunFixture, public testing::WithParamInterface<TErrorRow> {};

TEST_P(DeviceRunErrors, TheFirstWrongReplyStopsTheRunWithItsText) {
  const TErrorRow& row = GetParam();
  const std::string fault = std::string("--fault ") + row.Fault;
  ASSERT_NO_FATAL_FAILURE(Open(row.Xmega ? XmegaProject(fault) : ClassicProject(fault)));
  ASSERT_TRUE(Connect()) << "not connected";

  ASSERT_NO_FATAL_FAILURE(Flash());

  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text, row.Text);
  EXPECT_EQ(Dialogs->Dialogs[0].DlgType, mtError);
  EXPECT_EQ(Dialogs->Dialogs[0].Buttons, TMsgDlgButtons{mbAbort});
  // Nothing was sent after the wrong reply.
  EXPECT_EQ(DeviceLog(CommandCount(row.Commands)).Names(), row.Commands);
  EXPECT_EQ(RunLines(), row.Lines);
  // Only quitting is left; the port stays open.
  EXPECT_FALSE(FlashedOK);
  EXPECT_EQ(FlasherState, StateFinished);
  EXPECT_FALSE(Form->Running->Active());
  EXPECT_TRUE(SerialPort->InstanceActive());
  for (TControl* control : std::initializer_list<TControl*>{Form->BTN_Flash, Form->BTN_Connect, Form->BTN_Oeffnen,
                                                            Form->CB_Flash, Form->CB_EEprom, Form->CB_UserRow})
    EXPECT_FALSE(control->Enabled()) << UTF8Encode(control->Name());
}

INSTANTIATE_TEST_SUITE_P(Faults, DeviceRunErrors, testing::ValuesIn(ErrorRows()),
                         [](const testing::TestParamInfo<TErrorRow>& AInfo) { return CaseName(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Runs that write little or nothing

struct TQuietRow {
  const char* Name;
  TDeviceProject Project;
  bool Flash, Eeprom, UserRow;  // the option boxes
  std::string Commands;
  std::vector<String> Lines;
};

void PrintTo(const TQuietRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

std::vector<TQuietRow> QuietRows() {
  const TImageParts erased = {{0, TBytes(256, 0xFF)}};
  const String done = L"Flashen erfolgreich beendet!";
  return {
      // Erased flash holds the blocks already: only the preparation is sent.
      {"an erased classic image", {ClassicDevice, ClassicParams, erased}, true, false, false, "I i A E X",
       {L"schreibe Flash...", L"Flash erfolgreich geschrieben", done}},
      {"an erased XMEGA image", {XmegaDevice, XmegaParams, erased}, true, false, false, "I i E V X",
       {L"schreibe Flash...", L"Flash erfolgreich geschrieben", done}},
      {"a classic run without a box", ClassicProject(), false, false, false, "I i X", {done}},
      // The reply to 'V' is read and not looked at.
      {"an XMEGA run without a box", XmegaProject("--fault V:wrong"), false, false, false, "I i V X", {done}},
      {"the XMEGA user row alone", XmegaProject(), false, false, true, "I i U A A R V X",
       {L"schreibe UserRow...", L"UserRow erfolgreich geschrieben", done}},
  };
}

class DeviceRunQuiet : public DeviceRunFixture, public testing::WithParamInterface<TQuietRow> {};

TEST_P(DeviceRunQuiet, OnlyWhatIsCheckedAndHoldsDataIsSent) {
  const TQuietRow& row = GetParam();
  ASSERT_NO_FATAL_FAILURE(Open(row.Project));
  ASSERT_TRUE(Connect()) << "not connected";
  CheckBoxes(row.Flash, row.Eeprom, row.UserRow);

  ASSERT_NO_FATAL_FAILURE(Flash());

  ExpectSucceeded();
  EXPECT_EQ(DeviceLog(CommandCount(row.Commands)).Names(), row.Commands);
  EXPECT_EQ(RunLines(), row.Lines);
}

INSTANTIATE_TEST_SUITE_P(Runs, DeviceRunQuiet, testing::ValuesIn(QuietRows()),
                         [](const testing::TestParamInfo<TQuietRow>& AInfo) { return CaseName(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Address forms, block sizes and the flash end

struct TFlashRow {
  const char* Name;
  TDeviceProject Project;
  std::size_t MemorySize;            // the device's flash
  std::vector<String> Handshake;     // the lines after the device ID
  std::vector<std::string> Addresses;  // the bytes after each 'A', in hex
  int Blocks;                        // data blocks sent
};

void PrintTo(const TFlashRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

std::vector<TFlashRow> FlashRows() {
  return {
      // 3 address bytes beyond 128 KiB; the flash end is raised by $10000
      // words after its line. The erase address $1EF80 goes out halved.
      {"a classic device with wide addresses",
       {"--preset m2560",
        "CPUname=ATmega2560\r\nDeviceID=2004993\r\nBootLoaderID=-1\r\nFlashMax=262144\r\nPageSize=128\r\n",
        {{0, PatternBytes(256, 7)}, {0x30000, PatternBytes(256, 8)}}},
       0x40000,
       {L"Blocksize : 256", L"FlashEnd : 61440"},
       {"c0f700", "000000", "008001"},
       2},
      {"a classic device of exactly 128 KiB",
       {"--preset m1284p",
        "CPUname=ATmega1284P\r\nDeviceID=2004741\r\nBootLoaderID=-1\r\nFlashMax=131072\r\nPageSize=128\r\n",
        {{0, PatternBytes(256, 9)}, {0x10000, PatternBytes(256, 10)}}},
       0x20000,
       {L"Blocksize : 256", L"FlashEnd : 61440"},
       {"c077", "0000", "0080"},
       2},
      // The device's page of 64 words decides.
      {"a project without a page size",
       {ClassicDevice, "CPUname=ATmega328P\r\nBootLoaderID=258\r\nFlashMax=32768\r\nPageSize=0\r\n",
        {{0, PatternBytes(200, 11)}}},
       0x8000,
       {L"Blocksize : 128", L"FlashEnd : 15360"},
       {"e01d", "0000", "4000"},
       2},
      // The project's page of 128 words wins over the device's 64.
      {"a project page size",
       {ClassicDevice + " --data-block 256",
        "CPUname=ATmega328P\r\nBootLoaderID=258\r\nFlashMax=32768\r\nPageSize=128\r\n",
        {{0, PatternBytes(300, 12)}}},
       0x8000,
       {L"Blocksize : 256", L"FlashEnd : 15360"},
       {"c01d", "0000", "8000"},
       2},
      // The image's erased end beyond the device's flash end ($8000) is left
      // out; a byte of it written would be a protocol violation.
      {"an erased end beyond the flash end",
       {"--preset x32a4", "CPUname=XMEGA32A4\r\nBootLoaderID=-1\r\nFlashMax=36864\r\nPageSize=128\r\n",
        {{0, PatternBytes(256, 13)}, {0x8000, TBytes(0x100, 0xFF)}}},
       0x9000,
       {L"Blocksize : 256", L"FlashEnd : 16384"},
       {"000000"},
       1},
  };
}

class DeviceRunFlash : public DeviceRunFixture, public testing::WithParamInterface<TFlashRow> {};

TEST_P(DeviceRunFlash, TheImageLandsWhereItBelongs) {
  const TFlashRow& row = GetParam();
  ASSERT_NO_FATAL_FAILURE(Open(row.Project));
  ASSERT_TRUE(Connect()) << "not connected";
  std::vector<String> handshake = LinesFrom(InfoLine);
  ASSERT_EQ(handshake.size(), 5u);
  EXPECT_EQ(std::vector<String>(handshake.begin() + 2, handshake.end() - 1), row.Handshake);
  const int dumps = DeviceDumpCount();

  ASSERT_NO_FATAL_FAILURE(Flash());

  ExpectSucceeded();
  ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader";
  const TDeviceLog log = DeviceLog(2);
  std::vector<std::string> addresses;
  for (const TDeviceCommand& command : log.Commands)
    if (command.Name == "A") addresses.push_back(command.Raw);
  EXPECT_EQ(addresses, row.Addresses);
  EXPECT_EQ(log.Count("D"), row.Blocks);
  ExpectSameMemory(ErasedMemoryWith(row.MemorySize, row.Project.Flash), DeviceFile(L"flash.bin"), "flash");
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceRunFlash, testing::ValuesIn(FlashRows()),
                         [](const testing::TestParamInfo<TFlashRow>& AInfo) { return CaseName(AInfo.param.Name); });

using DeviceRun = DeviceRunFixture;

TEST_F(DeviceRun, FlashDataBeyondTheFlashEndIsRefusedBeforeAnythingIsWritten) {
  // An XMEGA32A4 writes below $8000; its loader lives above.
  ASSERT_NO_FATAL_FAILURE(Open({"--preset x32a4",
                                "CPUname=XMEGA32A4\r\nBootLoaderID=-1\r\nFlashMax=36864\r\nEPageSize=32\r\n",
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

// ---------------------------------------------------------------------------
// Progress

struct TProgressRow {
  const char* Name;
  TDeviceProject Project;
  std::vector<double> Positions;
};

void PrintTo(const TProgressRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

std::vector<TProgressRow> ProgressRows() {
  return {
      // Blocks at 128 and 256 of 300 bytes, then past the end (the bar stops
      // at 100); then each of the two EEPROM bytes.
      {"classic", ClassicProject(), {128 / 3.0, 256 / 3.0, 100, 50, 100}},
      // The one flash block; the two EEPROM chunks of 32 of 40 bytes; the
      // user row leaves the bar alone.
      {"XMEGA", XmegaProject(), {100, 80, 100}},
  };
}

class DeviceRunProgress : public DeviceRunFixture, public testing::WithParamInterface<TProgressRow> {};

TEST_P(DeviceRunProgress, TheBarFollowsEachStep) {
  ASSERT_NO_FATAL_FAILURE(Open(GetParam().Project));
  ASSERT_TRUE(Connect()) << "not connected";
  std::vector<double> positions;
  {
    const TOwned<TProgressRecorder> recorder(New<TProgressRecorder>(Form->PB));
    ASSERT_NO_FATAL_FAILURE(Flash());
    positions = recorder->Positions;
  }
  ExpectSucceeded();
  const std::vector<double>& expected = GetParam().Positions;
  ASSERT_EQ(positions.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(positions[i], expected[i], 1e-9) << "step " << i;
}

INSTANTIATE_TEST_SUITE_P(Runs, DeviceRunProgress, testing::ValuesIn(ProgressRows()),
                         [](const testing::TestParamInfo<TProgressRow>& AInfo) { return CaseName(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// The activity indicator and the resources of many runs

// The indicator's pixels as its window shows them.
struct TIndicatorPixels {
  std::vector<COLORREF> Pixels;
  bool HasColour(COLORREF AColour) const { return std::ranges::find(Pixels, AColour) != Pixels.end(); }
  bool AllOneColour() const {
    return !Pixels.empty() && std::ranges::all_of(Pixels, [&](COLORREF C) { return C == Pixels.front(); });
  }
};

TIndicatorPixels ReadIndicator(TWinControl* AIndicator) {
  TIndicatorPixels result;
  const HWND window = AIndicator->Handle();
  RECT client{};
  GetClientRect(window, &client);
  const TWindowDC dc(window);
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) result.Pixels.push_back(GetPixel(dc.Get(), x, y));
  return result;
}

// The form's dot colour, $FFFF8000 as an alpha colour.
const COLORREF Orange = RGB(0xFF, 0x80, 0x00);

TEST_F(DeviceRun, TheIndicatorShowsOrangeDotsWhileTheRunLastsAndOnlyItsBackgroundOtherwise) {
  // Eight blocks the device takes 60 ms each to write: the run lasts long
  // enough for the indicator's timer to move the dots several times.
  ASSERT_NO_FATAL_FAILURE(Open({ClassicDevice + " --page-write-ms 60", ClassicParams, {{0, PatternBytes(1024, 17)}}}));
  CheckBoxes(true, false, false);
  ShowForm();
  ASSERT_TRUE(Connect()) << "not connected";
  PumpPending();
  const TIndicatorPixels before = ReadIndicator(Form->Running);
  EXPECT_TRUE(before.AllOneColour()) << "before the run";
  EXPECT_FALSE(before.HasColour(Orange));

  Form->BTN_FlashClick(Form->BTN_Flash);
  ASSERT_TRUE(FlashTask) << "no run started";
  int framesWithDots = 0;
  std::vector<COLORREF> firstFrame;
  bool dotsMoved = false;
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (Form->Running->Active()) {
          const TIndicatorPixels now = ReadIndicator(Form->Running);
          if (now.HasColour(Orange)) {
            ++framesWithDots;
            if (firstFrame.empty()) firstFrame = now.Pixels;
            else dotsMoved = dotsMoved || now.Pixels != firstFrame;
          }
        }
        return !FlashTaskActive();
      },
      20000));
  FlashTask->Wait();
  CheckSynchronize();
  ExpectSucceeded();
  EXPECT_GT(framesWithDots, 0) << "no orange dot was seen during the run";
  EXPECT_TRUE(dotsMoved) << "the dots stood still";

  PumpPending();
  const TIndicatorPixels after = ReadIndicator(Form->Running);
  EXPECT_TRUE(after.AllOneColour()) << "after the run";
  EXPECT_FALSE(after.HasColour(Orange));
  EXPECT_EQ(before.Pixels, after.Pixels);
}

// ---------------------------------------------------------------------------
// The message list's touch bar

bool PopupBarShown(TcxListBox* AList) {
  IcxControlScrollBar* bar = AList->GetVertScrollBar();
  auto* window = bar ? dynamic_cast<TWinControl*>(bar->GetControl()) : nullptr;
  return window && window->HandleAllocated() && IsWindowVisible(window->Handle());
}

// The pixel of the container's ring halfway down its left side, as the
// window shows it: the ring lies inside the list's transparent margin.
COLORREF RingPixel(TcxListBox* AList) {
  const TWindowDC dc(AList->Handle());
  const TRect border = AList->ViewInfo()->BorderRect;
  return GetPixel(dc.Get(), border.Left - 1, (border.Top + border.Bottom) / 2);
}

TEST_F(DeviceRun, MovingTheMouseOverTheLoggedLinesShowsTheTouchBarForASecond) {
  ASSERT_NO_FATAL_FAILURE(RunToEnd(XmegaProject()));

  TcxListBox* const list = Form->LB_Info;
  const HWND inner = list->InnerListBox()->Handle();
  ASSERT_EQ(list->ScrollbarMode(), sbmTouch);
  TRect content = list->ViewInfo()->ClientRect;
  content.Offset(list->ClientToScreen(TPoint(0, 0)));
  const int itemHeight = static_cast<int>(SendMessageW(inner, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(itemHeight, 0);
  ASSERT_GT(list->Items()->Count(), content.Height() / itemHeight) << "the run logged no more lines than fit";
  // No native bar shows inside the content.
  ASSERT_TRUE(NativeBarShown(inner, sbVertical));
  EXPECT_GE(NativeBarInfo(inner, sbVertical).rcScrollBar.left, content.Right);

  // Away from the list: no bar, the ring in the button shadow colour.
  const TPoint away = Form->ClientToScreen(TPoint(list->Left() + list->Width() + 40, list->Top() + 10));
  SendMouseMove(away);
  ASSERT_TRUE(PumpUntil([&] { return !PopupBarShown(list); }, 3000));
  EXPECT_EQ(RingPixel(list), static_cast<COLORREF>(GetSysColor(COLOR_BTNSHADOW)));

  // Moves of more than the jitter distance over the lines.
  const int step = TdxTouchScrollUIActivityHelper::JitterDistance * 2;
  const TPoint start(content.Left + content.Width() / 3, content.Top + content.Height() / 3);
  // The bar cannot begin its second before the last move is sent.
  ULONGLONG lastMove = 0;
  for (int i = 0; i < 3; ++i) {
    lastMove = GetTickCount64();
    SendMouseMove(TPoint(start.X, start.Y + i * step));
  }
  ASSERT_TRUE(PumpUntil([&] { return PopupBarShown(list); }, 3000)) << "no bar after the mouse moved";
  EXPECT_EQ(RingPixel(list), static_cast<COLORREF>(GetSysColor(COLOR_HIGHLIGHT))) << "hovering";

  // The bar at the content's right edge with the list's own values.
  IcxControlScrollBar* bar = list->GetVertScrollBar();
  auto* window = dynamic_cast<TcxControlPopupScrollBar*>(bar->GetControl());
  ASSERT_NE(window, nullptr);
  const int touch = 16;  // a touch bar's thickness at 96 DPI
  EXPECT_EQ(ScreenRectOf(window->Handle()), TRect(content.Right - touch, content.Top, content.Right, content.Bottom));
  const SCROLLINFO info = NativeScrollInfo(inner, sbVertical);
  EXPECT_EQ(bar->GetMin(), info.nMin);
  EXPECT_EQ(bar->GetMax(), info.nMax);
  EXPECT_EQ(bar->GetPageSize(), static_cast<int>(info.nPage));
  EXPECT_EQ(bar->GetPosition(), info.nPos);
  // The thumb splits the track as the position splits the range the page
  // does not cover, and is as long against the track as the page against
  // the range (each to the pixel).
  const TcxScrollBarViewInfo* view = window->Helper()->ViewInfo();
  const TRect thumb = view->PartBounds(sbpThumbnail);
  TRect track = view->Bounds();
  track.Top += view->ArrowButtonLength();
  track.Bottom -= view->ArrowButtonLength();
  ASSERT_FALSE(thumb.IsEmpty());
  const double span = info.nMax - info.nMin + 1.0;
  const double free = track.Height() - thumb.Height();
  EXPECT_NEAR(thumb.Top - track.Top, free * (info.nPos - info.nMin) / (span - info.nPage), 1.0);
  EXPECT_NEAR(thumb.Height(), std::max<double>(track.Height() * info.nPage / span, view->MinThumbnailSize()), 1.0);

  // Gone by itself a second after the last move.
  ASSERT_TRUE(PumpUntil([&] { return !PopupBarShown(list); }, 5000)) << "the bar stayed";
  // Less a tick of the system timer, which may round the interval down.
  EXPECT_GE(GetTickCount64() - lastMove, TdxTouchScrollUIModeManager::HideInterval - 16);
}

TEST_F(DeviceRun, AnAccessibilityClientReadsTheLoggedLines) {
  ASSERT_NO_FATAL_FAILURE(RunToEnd(XmegaProject()));

  TcxListBox* const list = Form->LB_Info;
  TComPtr<IAccessible> client = AccessibleClientOf(list->InnerListBox()->Handle());
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  ASSERT_GT(count, 0);
  ASSERT_EQ(count, list->Items()->Count());
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    TBstr name;
    ASSERT_EQ(client->get_accName(AccessibleChild(i + 1), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), list->Items()->Strings(i));
  }
}

TEST_F(DeviceRun, AHundredRunsLeaveNoGdiObjectBehind) {
  ASSERT_NO_FATAL_FAILURE(Open(ClassicProject()));
  ShowForm();
  const auto run = [&] {
    // After a run the port is closed and the window still says connected:
    // the first click disconnects, the second connects again.
    if (Connected) Form->BTN_ConnectClick(Form->BTN_Connect);
    ASSERT_TRUE(Connect()) << "not connected";
    ASSERT_NO_FATAL_FAILURE(Flash());
    ASSERT_TRUE(FlashedOK);
    FlashedOK = false;
    PumpPending();
  };
  // Objects the system makes on first use are there after the first run.
  ASSERT_NO_FATAL_FAILURE(run());
  const int objects = GdiObjectCount();
  for (int i = 0; i < 100; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NO_FATAL_FAILURE(run());
  }
  EXPECT_EQ(objects, GdiObjectCount());
}

}  // namespace
