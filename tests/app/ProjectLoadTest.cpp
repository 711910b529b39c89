#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxListBox.h"
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The HEX files of the cases: 34 bytes of flash, 17 of EEPROM, 2 of user row.
std::string FlashHex() {
  std::vector<std::uint8_t> sixteen(16, 0x11);
  return HexRecord(0, 0, sixteen) + "\r\n" + HexRecord(0, 0x20, {0x22, 0x23}) + "\r\n" + HexEnd() + "\r\n";
}
std::string EepromHex() { return HexRecord(0, 0x10, {0x44}) + "\r\n" + HexEnd() + "\r\n"; }
std::string UserRowHex() { return HexRecord(0, 0, {0x55, 0x56}) + "\r\n" + HexEnd() + "\r\n"; }
std::string BrokenHex() {
  std::string line = HexRecord(0, 0, {1, 2});
  line.back() = line.back() == '0' ? '1' : '0';
  return line + "\r\n" + HexEnd() + "\r\n";
}

struct TFile {
  const wchar_t* Name;  // relative to the scratch directory
  std::string Text;     // "%D" stands for the scratch directory
};

struct TProjectCase {
  const char* Name;
  const wchar_t* Project;  // the file passed to LoadFiles, relative to the scratch directory
  std::vector<TFile> Files = {};
  std::vector<String> Lines = {};
  int FlashSize = 0, EepromSize = 0, UserRowSize = 0;
  std::uint8_t Family = 0;
  bool FlashChecked = false, EepromChecked = false, UserRowChecked = false;
  bool Loaded = true;  // FlasherState ready, option boxes and Connect enabled
  int Dialogs = 0;
};

const char* const ClassicIni =
    "[MainParams]\r\nMainFile=main.tor\r\nDeviceID=2004226\r\nCPUname=atmega328p\r\nBootLoaderID=258\r\n"
    "FlashMax=32768\r\nEEpromMax=1024\r\nPageSize=64\r\nEPageSize=4\r\n";

std::vector<TProjectCase> Cases() {
  const std::vector<String> classicHead = {L"----- MCU -----", L"ATMEGA328P", L"Flash 32768 Bytes", L"EEprom 1024 Bytes"};
  auto with = [](std::vector<String> AHead, std::initializer_list<String> ATail) {
    AHead.insert(AHead.end(), ATail);
    return AHead;
  };
  const std::string xmegaIni =
      "[MainParams]\r\nMainFile=main.tor\r\nCPUname=xmega128A1\r\nFlashMax=139264\r\nEEpromMax=2048\r\n"
      "PageSize=256\r\nEPageSize=32\r\n";
  const std::vector<String> xmegaHead = {L"----- MCU -----", L"XMEGA128A1", L"Flash 139264 Bytes",
                                         L"EEprom 2048 Bytes"};
  return {
      {.Name = "classic project with flash and EEPROM",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni}, {L"main.hex", FlashHex()}, {L"main.eep", EepromHex()}},
       .Lines = with(classicHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : 17 Bytes"}),
       .FlashSize = 34, .EepromSize = 17, .Family = FamilyClassic, .FlashChecked = true, .EepromChecked = true},
      {.Name = "a user row of a classic device is not read",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni}, {L"main.hex", FlashHex()}, {L"main.usr", UserRowHex()}},
       .Lines = with(classicHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : 0 Bytes"}),
       .FlashSize = 34, .Family = FamilyClassic, .FlashChecked = true},
      {.Name = "XMEGA project with user row",
       .Project = L"x.PPRO",
       .Files = {{L"x.PPRO", xmegaIni}, {L"main.hex", FlashHex()}, {L"main.eep", EepromHex()},
                 {L"main.usr", UserRowHex()}},
       .Lines = with(xmegaHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : 17 Bytes"}),
       .FlashSize = 34, .EepromSize = 17, .UserRowSize = 2, .Family = FamilyXmega, .FlashChecked = true,
       .EepromChecked = true, .UserRowChecked = true},
      {.Name = "XMEGA project checks the user row even without a file",
       .Project = L"x.PPRO",
       .Files = {{L"x.PPRO", xmegaIni}, {L"main.hex", FlashHex()}},
       .Lines = with(xmegaHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : 0 Bytes"}),
       .FlashSize = 34, .Family = FamilyXmega, .FlashChecked = true, .UserRowChecked = true},
      {.Name = "missing keys give the defaults",
       .Project = L"empty.PPRO",
       .Files = {{L"empty.PPRO", "[MainParams]\r\n"}},
       .Lines = {L"----- MCU -----", L"---", L"Flash 0 Bytes", L"EEprom 0 Bytes"},
       .Family = FamilyClassic},
      {.Name = "lower-case extension",
       .Project = L"proj.ppro",
       .Files = {{L"proj.ppro", ClassicIni}, {L"main.hex", FlashHex()}},
       .Lines = with(classicHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : 0 Bytes"}),
       .FlashSize = 34, .Family = FamilyClassic, .FlashChecked = true},
      {.Name = "relative main file below the project",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", "[MainParams]\r\nMainFile=src\\fw.tor\r\nCPUname=m8\r\n"},
                 {L"src\\fw.hex", FlashHex()},
                 {L"fw.hex", UserRowHex()}},
       .Lines = {L"----- MCU -----", L"M8", L"Flash 0 Bytes", L"EEprom 0 Bytes", L"----- Bytes to write -----",
                 L"Flash : 34 Bytes", L"EEprom : 0 Bytes"},
       .FlashSize = 34, .Family = FamilyClassic, .FlashChecked = true},
      {.Name = "absolute main file in another directory",
       .Project = L"p\\proj.PPRO",
       .Files = {{L"p\\proj.PPRO", "[MainParams]\r\nMainFile=%D\\other\\fw.tor\r\nCPUname=m8\r\n"},
                 {L"other\\fw.eep", EepromHex()},
                 {L"p\\fw.eep", UserRowHex()}},
       .Lines = {L"----- MCU -----", L"M8", L"Flash 0 Bytes", L"EEprom 0 Bytes", L"----- Bytes to write -----",
                 L"Flash : 0 Bytes", L"EEprom : 17 Bytes"},
       .EepromSize = 17, .Family = FamilyClassic, .EepromChecked = true},
      {.Name = "no images lists the MCU block only",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni}},
       .Lines = classicHead,
       .Family = FamilyClassic},
      {.Name = "a failing image counts as not loaded",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni}, {L"main.hex", BrokenHex()}, {L"main.eep", EepromHex()}},
       .Lines = with(classicHead, {L"----- Bytes to write -----", L"Flash : -1 Bytes", L"EEprom : 17 Bytes"}),
       .FlashSize = -1, .EepromSize = 17, .Family = FamilyClassic, .EepromChecked = true, .Dialogs = 1},
      // The flash image stops short of its end record: what it holds is
      // partial and must not be flashed.
      {.Name = "a flash image without its end record counts as not loaded",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni}, {L"main.hex", HexRecord(0, 0, {1, 2}) + "\r\n"}},
       .Lines = classicHead, .FlashSize = -1, .Family = FamilyClassic, .Dialogs = 1},
      {.Name = "an EEPROM image beyond its memory counts as not loaded",
       .Project = L"proj.PPRO",
       .Files = {{L"proj.PPRO", ClassicIni},
                 {L"main.hex", FlashHex()},
                 {L"main.eep", HexRecord(0, 0x10, {0x44}) + "\r\n" + HexRecord(2, 0, {0x10, 0x00}) + "\r\n" +
                                   HexRecord(0, 0, {9}) + "\r\n" + HexEnd() + "\r\n"}},
       .Lines = with(classicHead, {L"----- Bytes to write -----", L"Flash : 34 Bytes", L"EEprom : -1 Bytes"}),
       .FlashSize = 34, .EepromSize = -1, .Family = FamilyClassic, .FlashChecked = true, .Dialogs = 1},
      {.Name = "another extension reads nothing",
       .Project = L"proj.txt",
       .Files = {{L"proj.txt", ClassicIni}, {L"main.hex", FlashHex()}}},
      {.Name = "a missing project file reads nothing", .Project = L"absent.PPRO", .Files = {}},
      {.Name = "a name without extension stops early",
       .Project = L"proj",
       .Files = {{L"proj", ClassicIni}},
       .Loaded = false},
  };
}

class ProjectLoadTest : public MainFormFixture, public testing::WithParamInterface<TProjectCase> {};

TEST_P(ProjectLoadTest, ListLinesBoxesAndButtons) {
  const TProjectCase& c = GetParam();
  for (const TFile& file : c.Files) {
    const std::string text = UTF8Encode(StringReplace(UTF8ToString(file.Text), L"%D", Dir.Path(), {rfReplaceAll}));
    Dir.Write(file.Name, text);
  }
  Form->LB_Info->Items()->Add(L"a line of an earlier run");

  Form->LoadFiles(Dir.File(c.Project));

  std::vector<String> lines;
  for (int i = 0; i < Form->LB_Info->Items()->Count(); ++i) lines.push_back(Form->LB_Info->Items()->Strings(i));
  EXPECT_EQ(lines, c.Lines);
  EXPECT_EQ(FlashSize, c.FlashSize);
  EXPECT_EQ(EepromSize, c.EepromSize);
  EXPECT_EQ(UserRowSize, c.UserRowSize);
  EXPECT_EQ(DeviceFamily, c.Family);
  EXPECT_EQ(Form->CB_Flash->Checked(), c.FlashChecked);
  EXPECT_EQ(Form->CB_EEprom->Checked(), c.EepromChecked);
  EXPECT_EQ(Form->CB_UserRow->Checked(), c.UserRowChecked);
  EXPECT_EQ(FlasherState, c.Loaded ? StateReady : StateIdle);
  for (TControl* control : std::initializer_list<TControl*>{Form->BTN_Connect, Form->CB_Flash, Form->CB_EEprom,
                                                            Form->CB_UserRow})
    EXPECT_EQ(control->Enabled(), c.Loaded) << UTF8Encode(control->Name());
  EXPECT_FALSE(Form->CB_UserRow->Visible());
  EXPECT_FALSE(Form->BTN_Flash->Enabled());
  EXPECT_EQ(static_cast<int>(Dialogs->Dialogs.size()), c.Dialogs);
  EXPECT_EQ(ProjectFile, Dir.File(c.Project));
}

INSTANTIATE_TEST_SUITE_P(Projects, ProjectLoadTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<TProjectCase>& AInfo) {
                           std::string name;
                           for (const char* p = AInfo.param.Name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

using ProjectLoad = MainFormFixture;

TEST_F(ProjectLoad, ParametersOfTheProject) {
  Dir.Write(L"proj.PPRO", ClassicIni);
  Dir.Write(L"main.hex", FlashHex());
  Form->LoadFiles(Dir.File(L"proj.PPRO"));
  EXPECT_EQ(ExpectedDeviceID, 2004226);
  EXPECT_EQ(RequestedLoaderID, 258);
  EXPECT_EQ(FlashLimit, 32768);
  EXPECT_EQ(EepromLimit, 1024);
  EXPECT_EQ(BlockSize, 128);
  EXPECT_EQ(EepromPageSize, 4);
  EXPECT_EQ(ProjectDir, Dir.Path());
  EXPECT_EQ(ExcludeTrailingPathDelimiter(GetCurrentDir()), Dir.Path());
  // The image holds the file's bytes and is erased elsewhere.
  EXPECT_EQ(FlashImage[0], 0x11);
  EXPECT_EQ(FlashImage[0x21], 0x23);
  EXPECT_EQ(FlashImage[0x10], 0xFF);
  EXPECT_EQ(FlashImage[0x22], 0xFF);
}

TEST_F(ProjectLoad, ASecondProjectReplacesTheFirst) {
  Dir.Write(L"a\\x.PPRO", "[MainParams]\r\nMainFile=fw\r\nCPUname=xmega32a4\r\nPageSize=128\r\n");
  Dir.Write(L"a\\fw.usr", UserRowHex());
  Dir.Write(L"a\\fw.hex", FlashHex());
  Dir.Write(L"b\\y.PPRO", "[MainParams]\r\nMainFile=fw\r\nCPUname=xmega32a4\r\n");
  Form->LoadFiles(Dir.File(L"a\\x.PPRO"));
  ASSERT_EQ(UserRowSize, 2);
  ASSERT_EQ(FlashSize, 34);
  Form->LoadFiles(Dir.File(L"b\\y.PPRO"));
  EXPECT_EQ(UserRowSize, 0);
  EXPECT_EQ(FlashSize, 0);
  EXPECT_EQ(UserRowImage[0], 0xFF) << "every load starts from erased images";
  EXPECT_EQ(FlashImage[0], 0xFF);
  EXPECT_EQ(BlockSize, 0);
  EXPECT_TRUE(Form->CB_UserRow->Checked());
}

TEST_F(ProjectLoad, KeysNotReachedKeepTheEarlierProjectsValues) {
  Dir.Write(L"proj.PPRO", ClassicIni);
  Form->LoadFiles(Dir.File(L"proj.PPRO"));
  Dir.Write(L"notes.txt", "");
  Form->LoadFiles(Dir.File(L"notes.txt"));
  EXPECT_EQ(BlockSize, 128);
  EXPECT_EQ(ExpectedDeviceID, 2004226);
  EXPECT_EQ(DeviceFamily, FamilyClassic);
  // The limits and the loader id are reset by every load.
  EXPECT_EQ(FlashLimit, -1);
  EXPECT_EQ(EepromLimit, -1);
  EXPECT_EQ(RequestedLoaderID, -1);
}

TEST_F(ProjectLoad, AnUnreachableDirectoryRaisesAndEndsTheLoad) {
  EXPECT_THROW(Form->LoadFiles(Dir.File(L"no such dir\\proj.PPRO")), EInOutError);
  EXPECT_EQ(Form->LB_Info->Items()->Count(), 0);
  EXPECT_EQ(FlasherState, StateIdle);
  EXPECT_FALSE(Form->BTN_Connect->Enabled());
}

TEST_F(ProjectLoad, AHugePageSizeDoesNotWrapAround) {
  Dir.Write(L"proj.PPRO", "[MainParams]\r\nPageSize=2000000000\r\n");
  Form->LoadFiles(Dir.File(L"proj.PPRO"));
  EXPECT_GT(BlockSize, 0);
}

TEST_F(ProjectLoad, TheOpenButtonLoadsWhatTheDialogReturns) {
  Dir.Write(L"proj.PPRO", ClassicIni);
  Dialogs->ChosenFile.clear();
  Form->BTN_OeffnenClick(Form->BTN_Oeffnen);
  ASSERT_EQ(Dialogs->OpenTitles.size(), 1u);
  EXPECT_EQ(Dialogs->OpenTitles[0], L"Torvik Projekt öffnen");
  EXPECT_EQ(Form->LB_Info->Items()->Count(), 0) << "cancelling loads nothing";
  EXPECT_FALSE(Form->BTN_Connect->Enabled());

  Dialogs->ChosenFile = Dir.File(L"proj.PPRO");
  Form->BTN_OeffnenClick(Form->BTN_Oeffnen);
  EXPECT_EQ(Form->LB_Info->Items()->Count(), 4);
  EXPECT_TRUE(Form->BTN_Connect->Enabled());
}

}  // namespace
