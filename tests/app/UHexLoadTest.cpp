#include "app/UHexLoad.h"

#include "app/UDefines.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// A byte run the loader must have stored.
struct TBytes {
  int Address;
  std::vector<std::uint8_t> Values;
};

// One fixture file and what loading it must give. In Dialog, "%f" stands for
// the file name without its directory and "%p" for the name as passed.
struct THexCase {
  const char* Name;
  std::vector<std::string> Lines;
  std::uint8_t Target = TargetFlash;
  std::uint8_t Family = FamilyClassic;
  int Result = 0;
  const wchar_t* Dialog = nullptr;  // null: no dialog
  std::vector<TBytes> Stored = {};
  const char* LineEnd = "\r\n";
};

String Expand(const wchar_t* AText, const String& AFile, const String& APassed) {
  String s = AText;
  s = StringReplace(s, L"%f", AFile, {rfReplaceAll});
  s = StringReplace(s, L"%p", APassed, {rfReplaceAll});
  return s;
}

std::vector<std::uint8_t> Run(int AFrom, int ACount) {
  std::vector<std::uint8_t> v;
  for (int i = 0; i < ACount; ++i) v.push_back(static_cast<std::uint8_t>(AFrom + i));
  return v;
}

std::vector<THexCase> Cases() {
  const std::string seg9000 = HexRecord(2, 0, {0x90, 0x00});
  const std::string seg8FFF = HexRecord(2, 0, {0x8F, 0xFF});
  const std::string seg1000 = HexRecord(2, 0, {0x10, 0x00});
  std::string badSum = HexRecord(0, 0x20, {0x11, 0x22});
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  return {
      {.Name = "empty file", .Lines = {}, .Result = 0, .Dialog = L"unexpected end of file!"},
      {.Name = "one byte at $0010", .Lines = {HexRecord(0, 0x10, {0xA5}), HexEnd()}, .Result = 0x11,
       .Stored = {{0x10, {0xA5}}}},
      {.Name = "no end record", .Lines = {HexRecord(0, 0x10, {0xA5})}, .Result = -1,
       .Dialog = L"unexpected end of file!", .Stored = {{0x10, {0xA5}}}},
      {.Name = "empty data record raises the length", .Lines = {HexRecord(0, 0x10, {1}), HexRecord(0, 0x100, {}), HexEnd()},
       .Result = 0x100, .Stored = {{0x10, {1}}}},
      {.Name = "highest address decides, not the last record",
       .Lines = {HexRecord(0, 0x40, {1, 2}), HexRecord(0, 0x00, {3}), HexEnd()}, .Result = 0x42,
       .Stored = {{0x40, {1, 2}}, {0, {3}}}},
      {.Name = "type 04 is refused", .Lines = {HexRecord(0, 0, {7}), HexRecord(4, 0, {0x00, 0x01}), HexEnd()},
       .Result = -1, .Dialog = L"Error in Hex-File!\r+File :\r%f\rLine : 2", .Stored = {{0, {7}}}},
      {.Name = "type 05 is refused", .Lines = {HexRecord(5, 0, {0, 0, 0, 0}), HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!\r+File :\r%f\rLine : 1"},
      {.Name = "checksum error keeps the bytes stored before",
       .Lines = {HexRecord(0, 0, {9, 8}), badSum, HexEnd()}, .Result = -1,
       .Dialog = L"checksum error!\r+File :\r%f\rLine : 2", .Stored = {{0, {9, 8}}, {0x20, {0x11, 0x22}}}},
      {.Name = "line numbers count empty lines", .Lines = {"", HexRecord(0, 0, {1}), "", "", badSum}, .Result = -1,
       .Dialog = L"checksum error!\r+File :\r%f\rLine : 5", .Stored = {{0, {1}}, {0x20, {0x11, 0x22}}}},
      {.Name = "segment $9000 is beyond the flash", .Lines = {HexRecord(0, 0, {1, 2, 3, 4}), seg9000,
                                                              HexRecord(0, 0, {5}), HexEnd()},
       .Result = -1, .Dialog = L"Buffer overflow!\rFile :\r%f\rLine : 3", .Stored = {{0, {1, 2, 3, 4}}}},
      {.Name = "segment $9000 names the address for XMEGA", .Lines = {seg9000, HexRecord(0, 0, {5}), HexEnd()},
       .Family = FamilyXmega, .Result = -1,
       .Dialog = L"Buffer overflow!\rXMega application area exceeded at addr:\r$90000\rFile :\r%f\rLine : 2"},
      {.Name = "the start test covers every record type", .Lines = {seg9000, HexEnd()}, .Result = -1,
       .Dialog = L"Buffer overflow!\rFile :\r%f\rLine : 2"},
      {.Name = "last flash byte $8FFFF", .Lines = {seg8FFF, HexRecord(0, 0x000F, {0x5A}), HexEnd()},
       .Result = 0x90000, .Stored = {{0x8FFFF, {0x5A}}}},
      {.Name = "a record running past the flash end",
       .Lines = {HexRecord(0, 0, {1}), seg8FFF, HexRecord(0, 0x000F, {0x5A, 0x5B}), HexEnd()}, .Family = FamilyXmega,
       .Result = -1, .Dialog = L"Buffer overflow!\rFile :\r%f\rLine : 3", .Stored = {{0, {1}}, {0x8FFFF, {0x5A}}}},
      {.Name = "EEPROM byte at $FFFF is the last accepted", .Lines = {HexRecord(0, 0xFFFF, {0x42}), HexEnd()},
       .Target = TargetEeprom, .Result = 0x10000, .Stored = {{0xFFFF, {0x42}}}},
      {.Name = "EEPROM record running past $FFFF", .Lines = {HexRecord(0, 0xFFFE, {0x42, 0x43, 0x44}), HexEnd()},
       .Target = TargetEeprom, .Result = -1, .Dialog = L"Buffer overflow!\rFile :\r%f\rLine : 1",
       .Stored = {{0xFFFE, {0x42, 0x43}}}},
      {.Name = "EEPROM address $10000 refused at its start", .Lines = {seg1000, HexRecord(0, 0, {1}), HexEnd()},
       .Target = TargetEeprom, .Family = FamilyXmega, .Result = -1,
       .Dialog = L"Buffer overflow!\rXMega application area exceeded at addr:\r$10000\rFile :\r%f\rLine : 2"},
      {.Name = "user row target", .Lines = {HexRecord(0, 0x20, {0xC1, 0xC2}), HexEnd()}, .Target = TargetUserRow,
       .Family = FamilyXmega, .Result = 0x22, .Stored = {{0x20, {0xC1, 0xC2}}}},
      {.Name = "extended segment address", .Lines = {seg1000, HexRecord(0, 0x0002, {0xEE}), HexEnd()},
       .Result = 0x10003, .Stored = {{0x10002, {0xEE}}}},
      {.Name = "start segment record is read and ignored",
       .Lines = {HexRecord(3, 0, {0x12, 0x34, 0x56, 0x78}), HexRecord(0, 0, {0x77}), HexEnd()}, .Result = 1,
       .Stored = {{0, {0x77}}}},
      {.Name = "lines after the end record are not read",
       .Lines = {HexRecord(0, 0, {0x77}), HexEnd(), "garbage", HexRecord(0, 0x30, {1})}, .Result = 1,
       .Stored = {{0, {0x77}}}},
      {.Name = "bad digits fail the load",
       .Lines = {HexRecord(0, 0, {1, 2}), ":0100100G22", HexEnd()}, .Result = -1, .Dialog = L"Error in Hex-File!",
       .Stored = {{0, {1, 2}}}},
      {.Name = "a truncated record is a format error", .Lines = {HexRecord(0, 0, {1, 2}), ":02001000AB"}, .Result = -1,
       .Dialog = L"Error in Hex-File!", .Stored = {{0, {1, 2}}}},
      // $FF sums to 0 with the count: the one digit left of the checksum "00"
      // would pass it.
      {.Name = "a checksum missing a digit", .Lines = {":01000000FF0", HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!"},
      {.Name = "text after the checksum", .Lines = {HexRecord(0, 0, {1}) + "00", HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!"},
      {.Name = "two records on one line",
       .Lines = {HexRecord(0, 0, {1}), HexRecord(0, 0x10, {2}) + HexRecord(0, 0x20, {3}), HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!", .Stored = {{0, {1}}}},
      // Its sum is right and the segment digits are where a count of 2 puts them.
      {.Name = "a segment record that counts no bytes",
       .Lines = {":000000021000EE", HexRecord(0, 0, {1}), HexEnd()}, .Result = -1, .Dialog = L"Error in Hex-File!"},
      {.Name = "a segment record of one byte",
       .Lines = {HexRecord(2, 0, {0x10}), HexRecord(0, 0, {1}), HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!"},
      {.Name = "a segment record of three bytes",
       .Lines = {HexRecord(2, 0, {0x10, 0x00, 0x00}), HexRecord(0, 0, {1}), HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!"},
      {.Name = "an end record with data", .Lines = {HexRecord(0, 0, {1}), HexRecord(1, 0, {0})}, .Result = -1,
       .Dialog = L"Error in Hex-File!", .Stored = {{0, {1}}}},
      {.Name = "a start segment record of two bytes", .Lines = {HexRecord(3, 0, {0x12, 0x34}), HexEnd()}, .Result = -1,
       .Dialog = L"Error in Hex-File!"},
      {.Name = "blanks after a record are no text", .Lines = {HexRecord(0, 0, {1}) + " \t", HexEnd() + "  "},
       .Result = 1, .Stored = {{0, {1}}}},
      {.Name = "a line that is no record is a format error",
       .Lines = {HexRecord(0, 0, {1, 2, 3}), "; comment", HexEnd()}, .Result = -1, .Dialog = L"Error in Hex-File!",
       .Stored = {{0, {1, 2, 3}}}},
      {.Name = "blank lines are skipped", .Lines = {"   ", HexRecord(0, 0, {1}), "\t", HexEnd()}, .Result = 1,
       .Stored = {{0, {1}}}},
      {.Name = "lower-case digits and CR line ends",
       .Lines = {":02000000abcd86", HexEnd()}, .Result = 2, .Stored = {{0, {0xAB, 0xCD}}}, .LineEnd = "\r"},
      {.Name = "LF line ends", .Lines = {HexRecord(0, 0, Run(0x30, 16)), HexEnd()}, .Result = 16,
       .Stored = {{0, Run(0x30, 16)}}, .LineEnd = "\n"},
  };
}

class UHexLoadTest : public testing::TestWithParam<THexCase> {
 protected:
  void SetUp() override {
    EraseImages();
    FSavedFamily = DeviceFamily;
  }
  void TearDown() override { DeviceFamily = FSavedFamily; }

  std::uint8_t FSavedFamily = 0;
};

// Counts the bytes of all three images that are not $FF.
std::size_t WrittenBytes() {
  auto count = [](const auto& AImage) {
    return static_cast<std::size_t>(std::ranges::count_if(AImage, [](std::uint8_t b) { return b != 0xFF; }));
  };
  return count(FlashImage) + count(EepromImage) + count(UserRowImage);
}

TEST_P(UHexLoadTest, LoadsTheFixture) {
  const THexCase& c = GetParam();
  TScratchDir dir;
  std::string text;
  for (const std::string& line : c.Lines) text += line + c.LineEnd;
  const String file = dir.Write(L"image.hex", text);
  DeviceFamily = c.Family;
  TRecordedDialogs dialogs;

  EXPECT_EQ(LoadHexFile(file, c.Target), c.Result);

  if (c.Dialog) {
    ASSERT_EQ(dialogs->Dialogs.size(), 1u);
    const TMessageDlgParams& d = dialogs->Dialogs[0];
    EXPECT_EQ(d.Text, Expand(c.Dialog, L"image.hex", file));
    EXPECT_EQ(d.DlgType, mtError);
    EXPECT_EQ(d.Buttons, TMsgDlgButtons{mbAbort});
    EXPECT_EQ(dialogs->Beeps, 1);
  } else {
    EXPECT_TRUE(dialogs->Dialogs.empty()) << UTF8Encode(dialogs->Dialogs[0].Text);
    EXPECT_EQ(dialogs->Beeps, 0);
  }

  std::span<std::uint8_t> image = TargetImage(c.Target);
  std::size_t stored = 0;
  for (const TBytes& run : c.Stored) {
    for (std::size_t i = 0; i < run.Values.size(); ++i)
      EXPECT_EQ(image[static_cast<std::size_t>(run.Address) + i], run.Values[i]) << "at " << run.Address + i;
    stored += run.Values.size();
  }
  EXPECT_EQ(WrittenBytes(), stored) << "bytes outside the expected runs changed";
}

INSTANTIATE_TEST_SUITE_P(Fixtures, UHexLoadTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<THexCase>& AInfo) {
                           std::string name;
                           for (const char* p = AInfo.param.Name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(UHexLoad, MissingFileNamesTheFileAsPassed) {
  TScratchDir dir;
  const String file = dir.File(L"missing.hex");
  TRecordedDialogs dialogs;
  EXPECT_EQ(LoadHexFile(file, TargetFlash), -1);
  ASSERT_EQ(dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(dialogs->Dialogs[0].Text, L"File " + file + L" not found!");
  EXPECT_EQ(dialogs->Beeps, 1);
}

TEST(UHexLoad, TheFileIsClosedAfterEveryOutcome) {
  // A file left open could not be replaced by the next build of the firmware.
  TScratchDir dir;
  TRecordedDialogs dialogs;
  const std::vector<std::string> texts = {HexRecord(0, 0, {1}) + "\r\n" + HexEnd(), HexRecord(0, 0, {1}),
                                          HexRecord(4, 0, {0, 1}), ":XX", ""};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const String file = dir.Write(L"closed.hex", text);
    LoadHexFile(file, TargetFlash);
    EXPECT_TRUE(DeleteFileW(file.c_str()));
  }
}

TEST(UHexLoad, UnknownTargetIsRefused) {
  TScratchDir dir;
  const String file = dir.Write(L"a.hex", HexEnd());
  EXPECT_THROW(LoadHexFile(file, 3), EArgumentOutOfRangeException);
}

TEST(UHexLoad, WaitPumpingHandlesMessagesAndWaitsTheTime) {
  const std::uint64_t start = TickCount();
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  WaitPumping(120);
  const std::uint64_t elapsed = TicksSince(start);
  MSG msg{};
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE)) << "the posted message was not handled";
  EXPECT_GE(elapsed, 120u);
  EXPECT_LT(elapsed, 1000u);
}

}  // namespace
