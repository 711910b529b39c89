// TBlockSerial talking to the simulated bootloader (tools/device-sim with
// --preset m328p --loader-id 0x0102): identification, one page of flash and
// one EEPROM byte, checked in the memory the device wrote out.
#include "app/serial/BlockSerial.h"
#include "tests/app_serial/TestDevice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class BootloaderLink : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(TestPortName().empty()) << "run this program through tools/with-device";
    FSerial = New<TBlockSerial>();
    FSerial->Connect(TestPortName());
    ASSERT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
    FSerial->Config(38400, 8, 'N', 0, false, false);
    ASSERT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
    FSerial->Flush();
    FSerial->Purge();
  }
  void TearDown() override { FreeAndNil(FSerial); }

  std::string Reply(int ACount) {
    std::string bytes;
    for (int i = 0; i < ACount; ++i) {
      bytes += static_cast<char>(FSerial->RecvByte(1000));
      if (FSerial->LastError() != 0) ADD_FAILURE() << "reply byte " << i << ": " << FSerial->LastErrorDesc();
    }
    return bytes;
  }

  TBlockSerial* FSerial = nullptr;
};

TEST_F(BootloaderLink, IdentifiesDeviceAndLoader) {
  FSerial->SendByte('I');
  // Echo, ID $1E950F, 64 words a page, flash end $3C00 words.
  EXPECT_EQ(std::string("I\x1E\x95\x0F\x40\x00\x3C", 7), Reply(7));
  FSerial->SendByte('i');
  EXPECT_EQ(std::string("\x02\x01", 2), Reply(2));
  // Nothing more comes.
  EXPECT_EQ(0, FSerial->RecvByte(100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
}

TEST_F(BootloaderLink, WritesAPageAndAnEepromByte) {
  const int dumps = DeviceDumpCount();
  std::string page(128, '\0');
  unsigned sum = 0;
  for (int i = 0; i < 128; ++i) {
    page[static_cast<std::size_t>(i)] = static_cast<char>(i * 3 + 1);
    sum += static_cast<std::uint8_t>(page[static_cast<std::size_t>(i)]);
  }
  // Word address $0100 is byte address $200.
  FSerial->SendByte('A');
  FSerial->SendByte(0x00);
  FSerial->SendByte(0x01);
  EXPECT_EQ("\r", Reply(1));
  FSerial->SendByte('E');
  EXPECT_EQ("\r", Reply(1));
  FSerial->SendByte('D');
  for (char c : page) FSerial->SendByte(static_cast<std::uint8_t>(c));
  EXPECT_EQ(std::string(1, static_cast<char>(sum & 0xFF)), Reply(1));
  FSerial->SendByte('P');
  EXPECT_EQ("\r", Reply(1));
  FSerial->SendString(std::string("B\x10\x00\x5A", 4));
  EXPECT_EQ("\r", Reply(1));
  FSerial->SendByte('X');

  ASSERT_TRUE(WaitForDeviceDump(dumps, 5000));
  const std::string flash = ReadWholeFile(TestDeviceDir() + L"\\flash.bin");
  ASSERT_EQ(0x8000u, flash.size());
  EXPECT_EQ(page, flash.substr(0x200, 128));
  EXPECT_EQ(std::string(0x200, '\xFF'), flash.substr(0, 0x200));
  EXPECT_EQ(std::string(0x8000 - 0x280, '\xFF'), flash.substr(0x280));
  const std::string eeprom = ReadWholeFile(TestDeviceDir() + L"\\eeprom.bin");
  ASSERT_EQ(0x400u, eeprom.size());
  EXPECT_EQ('\x5A', eeprom[0x10]);
  EXPECT_EQ(std::string(0x10, '\xFF'), eeprom.substr(0, 0x10));
}

}  // namespace
