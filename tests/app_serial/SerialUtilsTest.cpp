#include "app/serial/SerialUtils.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Handles.h"
#include "tests/app_serial/TestDevice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// --- Timing -------------------------------------------------------------------

TEST(TickDistanceTest, AllowsForOneWrapAround) {
  const struct {
    std::uint32_t Old, New, Distance;
  } cases[] = {
      {100, 150, 50},
      {150, 100, 50},
      {0xFFFFFFF0u, 0x00000010u, 32},
      {0xFFFFFFFFu, 0, 1},
      {7, 7, 0},
      {0, 0x7FFFFFFFu, 0x7FFFFFFFu},
      {0x80000000u, 0x80000001u, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.Old << " -> " << c.New);
    EXPECT_EQ(c.Distance, TickDistance(c.Old, c.New));
  }
}

TEST(ReadMillisecondTickTest, FollowsTheClock) {
  const std::uint32_t before = ReadMillisecondTick();
  Sleep(60);
  const std::uint32_t distance = TickDistance(before, ReadMillisecondTick());
  EXPECT_GE(distance, 55u);
  EXPECT_LT(distance, 1000u);
}

// --- Line breaks ----------------------------------------------------------------

TEST(FindLineBreakTest, FindsTheFirstBreakAndItsKind) {
  const struct {
    const char* Text;
    int Position;
    const char* Break;
  } cases[] = {
      {"abc\r\ndef", 4, "\r\n"}, {"abc\n\rdef", 4, "\n\r"}, {"a\rb", 2, "\r"},      {"a\nb", 2, "\n"},
      {"\n\n", 1, "\n"},         {"\r\r\n", 1, "\r"},       {"tail\r", 5, "\r"},    {"no break", -1, ""},
      {"", -1, ""},              {"x\n\r\n", 2, "\n\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.Text)));
    RawByteString lineBreak = "stale";
    EXPECT_EQ(c.Position, FindLineBreak(c.Text, lineBreak));
    EXPECT_EQ(c.Break, lineBreak);
  }
}

// --- Byte order -----------------------------------------------------------------

TEST(ByteOrderTest, BigEndianTextAndSwap) {
  EXPECT_EQ(std::string("\x12\x34\x56\x78", 4), IntToBigEndianText(0x12345678));
  EXPECT_EQ(std::string("\xFF\xFF\xFF\xFE", 4), IntToBigEndianText(-2));
  EXPECT_EQ(0x78563412, SwapByteOrder(0x12345678));
  EXPECT_EQ(static_cast<std::int32_t>(0xFEFFFFFFu), SwapByteOrder(-2));
  EXPECT_EQ(-123456789, SwapByteOrder(SwapByteOrder(-123456789)));
}

TEST(OffsetPointerTest, AdvancesByBytes) {
  int values[4] = {};
  EXPECT_EQ(static_cast<void*>(&values[2]), OffsetPointer(values, 2 * sizeof(int)));
  const char text[] = "abc";
  EXPECT_EQ('c', *static_cast<const char*>(OffsetPointer(text, 2)));
}

TEST(WriteTextToStreamTest, WritesAllBytesAtThePosition) {
  TMemoryStream* stream = New<TMemoryStream>();
  WriteTextToStream(stream, std::string("hello\0world", 11));
  stream->SetPosition(5);
  WriteTextToStream(stream, "!");
  EXPECT_EQ(11, stream->Size());
  std::string data(11, ' ');
  stream->SetPosition(0);
  stream->ReadBuffer(data.data(), 11);
  EXPECT_EQ(std::string("hello!world", 11), data);
  stream->Free();
}

// --- Port list ------------------------------------------------------------------

// A key of its own under HKCU for each test, removed afterwards.
class PortListTest : public testing::Test {
 protected:
  void SetUp() override {
    FKey = L"Software\\SkarnivelTests\\PortList" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, FKey.c_str());
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, FKey.c_str()); }

  void AddValue(const String& AName, const std::wstring& AData, DWORD AType = REG_SZ) {
    TRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, FKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             key.Receive(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key.Get(), AName.c_str(), 0, AType, reinterpret_cast<const BYTE*>(AData.data()),
                             static_cast<DWORD>((AData.size() + 1) * sizeof(wchar_t))));
  }

  String FKey;
};

TEST_F(PortListTest, ListsThePortsInTheRegistrysOrder) {
  AddValue(L"\\Device\\Serial0", L"COM1");
  AddValue(L"\\Device\\Serial3", L"COM4");
  EXPECT_EQ(L"COM1,COM4", ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
}

TEST_F(PortListTest, TheOrderIsTheRegistrysNotTheNames) {
  AddValue(L"\\Device\\Serial9", L"COM9");
  AddValue(L"\\Device\\Serial1", L"COM2");
  // What the registry enumerates first comes first.
  wchar_t first[64];
  DWORD length = 64;
  {
    TRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_READ, key.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(key.Get(), 0, first, &length, nullptr, nullptr, nullptr, nullptr));
  }
  EXPECT_EQ(String(first) == L"\\Device\\Serial9" ? L"COM9,COM2" : L"COM2,COM9",
            ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
}

TEST_F(PortListTest, CutsEachNameAtItsFirstNul) {
  AddValue(L"a", std::wstring(L"COM5\0junk", 9));
  EXPECT_EQ(L"COM5", ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
}

TEST_F(PortListTest, QuotesNamesAsCommaTextDoes) {
  AddValue(L"a", L"My Port");
  AddValue(L"b", L"COM3");
  AddValue(L"c", L"x,y");
  EXPECT_EQ(L"\"My Port\",COM3,\"x,y\"", ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
}

TEST_F(PortListTest, SkipsValuesThatHoldNoText) {
  AddValue(L"a", L"COM6");
  {
    TRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_WRITE, key.Receive()));
    const DWORD number = 7;
    RegSetValueExW(key.Get(), L"b", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  }
  AddValue(L"c", L"COM8");
  EXPECT_EQ(L"COM6,COM8", ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
}

TEST_F(PortListTest, AMissingKeyGivesAnEmptyList) {
  EXPECT_EQ(L"", ListSerialPortsOf(HKEY_CURRENT_USER, FKey));
  EXPECT_EQ(L"", ListSerialPortsOf(HKEY_CURRENT_USER, FKey + L"\\Missing"));
}

TEST(SystemPortListTest, ListsTheTestPort) {
  const String port = TestPortName();
  ASSERT_FALSE(port.empty()) << "run this program through tools/with-device";
  const String list = L"," + ListSerialPorts() + L",";
  EXPECT_NE(String::npos, list.find(L"," + port + L",")) << list;
}

}  // namespace
