// TBlockSerial against a real COM port of the Wine prefix: a pty whose other
// side is tools/device-sim in echo mode (every byte sent comes back).
#include "app/serial/BlockSerial.h"
#include "app/serial/SerialUtils.h"
#include "platform/classes/Streams.h"
#include "tests/app_serial/TestDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TStatusRecord {
  THookSerialReason Reason;
  String Value;
};

class TStatusLog : public TObject {
  SK_CLASS(TStatusLog, TObject)
 public:
  void Status(TObject* /*Sender*/, THookSerialReason AReason, const String& AValue) {
    Records.push_back({AReason, AValue});
  }
  int Count(THookSerialReason AReason) const {
    int n = 0;
    for (const TStatusRecord& r : Records) n += r.Reason == AReason;
    return n;
  }
  std::vector<TStatusRecord> Records;
};

// On the port's own clock: the system's tick count can lag behind it under load.
std::uint32_t MillisecondsSince(std::uint32_t AStart) { return TickDistance(AStart, ReadMillisecondTick()); }

String Upper(String AText) {
  for (wchar_t& c : AText) c = static_cast<wchar_t>(towupper(c));
  return AText;
}

String Lower(String AText) {
  for (wchar_t& c : AText) c = static_cast<wchar_t>(towlower(c));
  return AText;
}

class SerialPortTest : public testing::Test {
 protected:
  void SetUp() override {
    FPort = TestPortName();
    ASSERT_FALSE(FPort.empty()) << "run this program through tools/with-device";
    FSerial = New<TBlockSerial>();
    FLog = New<TStatusLog>();
    FSerial->SetOnStatus(BindEvent<&TStatusLog::Status>(FLog));
  }

  void TearDown() override {
    FreeAndNil(FSerial);
    FreeAndNil(FLog);
  }

  void Open() {
    FSerial->Connect(FPort);
    ASSERT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
    FSerial->Config(115200, 8, 'N', 0, false, false);
    ASSERT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
  }

  // Sends AData and waits until its echo waits in the driver's queue.
  void Echo(const RawByteString& AData) {
    const int before = FSerial->WaitingData();
    FSerial->SendString(AData);
    ASSERT_EQ(0, FSerial->LastError());
    const ULONGLONG end = GetTickCount64() + 3000;
    while (FSerial->WaitingData() < before + static_cast<int>(AData.size())) {
      ASSERT_LT(GetTickCount64(), end) << "the echo did not come back";
      FSerial->CanRead(50);
    }
  }

  String FPort;
  TBlockSerial* FSerial = nullptr;
  TStatusLog* FLog = nullptr;
};

// --- Creation, opening and closing -------------------------------------------

TEST_F(SerialPortTest, StartsClosedWithItsDefaults) {
  EXPECT_EQ(INVALID_HANDLE_VALUE, FSerial->Handle());
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ(L"OK", FSerial->LastErrorDesc());
  EXPECT_FALSE(FSerial->InstanceActive());
  EXPECT_EQ(30000, FSerial->DeadlockTimeout());
  EXPECT_EQ(4096, FSerial->SizeRecvBuffer());
  EXPECT_EQ(1000, FSerial->AtTimeout());
  EXPECT_TRUE(FSerial->InterPacketTimeout());
  EXPECT_TRUE(FSerial->LinuxLock());
  EXPECT_FALSE(FSerial->RaiseExcept());
}

struct TPortNameCase {
  const wchar_t* Name;
  const wchar_t* Opened;
};

class PortNameTest : public SerialPortTest, public testing::WithParamInterface<TPortNameCase> {};

TEST_P(PortNameTest, OpensTheMappedDevicePath) {
  const TPortNameCase& c = GetParam();
  FSerial->Connect(c.Name);
  EXPECT_EQ(String(c.Opened), FSerial->Device());
  // None of these ports exists in the test prefix.
  EXPECT_NE(0, FSerial->LastError());
  EXPECT_FALSE(FSerial->InstanceActive());
  EXPECT_EQ(INVALID_HANDLE_VALUE, FSerial->Handle());
}

INSTANTIATE_TEST_SUITE_P(Names, PortNameTest,
                         testing::Values(TPortNameCase{L"COM3", L"\\\\.\\COM3"},
                                         TPortNameCase{L"com12", L"\\\\.\\COM12"},
                                         TPortNameCase{L"Com7", L"\\\\.\\COM7"},
                                         TPortNameCase{L"/dev/ttyS2", L"\\\\.\\COM3"},
                                         TPortNameCase{L"COM0", L"COM0"},
                                         TPortNameCase{L"COMX", L"COMX"},
                                         TPortNameCase{L"COM", L"COM"},
                                         TPortNameCase{L"/dev/ttyS", L"/dev/ttyS"},
                                         TPortNameCase{L"NOPORT", L"NOPORT"},
                                         TPortNameCase{L"\\\\.\\COM4", L"\\\\.\\COM4"}));

TEST_F(SerialPortTest, OpensTheDevicePortWhateverTheNamesCase) {
  FSerial->Connect(Lower(FPort));
  EXPECT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
  EXPECT_EQ(L"\\\\.\\" + Upper(FPort), FSerial->Device());
  EXPECT_TRUE(FSerial->InstanceActive());
  EXPECT_NE(INVALID_HANDLE_VALUE, FSerial->Handle());
  EXPECT_EQ(1, FLog->Count(HR_Connect));
}

TEST_F(SerialPortTest, OpensAFullDevicePathUnchanged) {
  const String path = L"\\\\.\\" + Upper(FPort);
  FSerial->Connect(path);
  EXPECT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
  EXPECT_EQ(path, FSerial->Device());
  EXPECT_TRUE(FSerial->InstanceActive());
}

TEST_F(SerialPortTest, ASecondConnectIsRefusedAndKeepsThePortOpen) {
  Open();
  const HANDLE handle = FSerial->Handle();
  FSerial->Connect(FPort);
  EXPECT_EQ(ErrAlreadyInUse, FSerial->LastError());
  EXPECT_EQ(L"Instance already in use", FSerial->LastErrorDesc());
  EXPECT_TRUE(FSerial->InstanceActive());
  EXPECT_EQ(handle, FSerial->Handle());
  // Still usable.
  ASSERT_NO_FATAL_FAILURE(Echo("z"));
  EXPECT_EQ('z', FSerial->RecvByte(1000));
}

TEST_F(SerialPortTest, CloseSocketTwiceOnlyResetsTheSecondTime) {
  Open();
  FSerial->CloseSocket();
  EXPECT_FALSE(FSerial->InstanceActive());
  EXPECT_EQ(INVALID_HANDLE_VALUE, FSerial->Handle());
  EXPECT_EQ(0, FSerial->LastError());
  FSerial->CloseSocket();
  EXPECT_FALSE(FSerial->InstanceActive());
  EXPECT_EQ(INVALID_HANDLE_VALUE, FSerial->Handle());
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ(2, FLog->Count(HR_SerialClose));
  // The port was really given back: the object (and any other) opens it again.
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_NO_FATAL_FAILURE(Echo("k"));
  EXPECT_EQ('k', FSerial->RecvByte(1000));
}

// Keeps the device-control record of every SetCommState.
class TRecordingSerial : public TBlockSerial {
  SK_CLASS(TRecordingSerial, TBlockSerial)
 public:
  void SetCommState() override {
    Written = DeviceControl();
    inherited::SetCommState();
  }
  DCB Written{};
};

TEST_F(SerialPortTest, ConfigBuildsTheDeviceControlRecord) {
  TOwned<TRecordingSerial> serialOwner(New<TRecordingSerial>());
  TRecordingSerial* serial = serialOwner.get();
  serial->Connect(FPort);
  ASSERT_EQ(0, serial->LastError());
  struct TCase {
    char Parity;
    BYTE Expected;
    bool SoftFlow;
    bool HardFlow;
  };
  for (const TCase& c : {TCase{'N', NOPARITY, false, false}, TCase{'O', ODDPARITY, false, false},
                         TCase{'E', EVENPARITY, true, false}, TCase{'M', MARKPARITY, false, true},
                         TCase{'S', SPACEPARITY, true, true}, TCase{'e', EVENPARITY, false, false},
                         TCase{'s', SPACEPARITY, false, false}, TCase{'X', NOPARITY, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.Parity << " soft " << c.SoftFlow << " hard " << c.HardFlow);
    serial->Config(19200, 7, c.Parity, 2, c.SoftFlow, c.HardFlow);
    const DCB& d = serial->Written;
    EXPECT_EQ(sizeof(DCB), d.DCBlength);
    EXPECT_EQ(19200u, d.BaudRate);
    EXPECT_EQ(7, d.ByteSize);
    EXPECT_EQ(2, d.StopBits);
    EXPECT_EQ(c.Expected, d.Parity);
    EXPECT_EQ(c.Expected != NOPARITY, static_cast<bool>(d.fParity));
    EXPECT_TRUE(d.fBinary);
    EXPECT_EQ(c.SoftFlow, static_cast<bool>(d.fOutX));
    EXPECT_EQ(c.SoftFlow, static_cast<bool>(d.fInX));
    EXPECT_EQ(c.HardFlow, static_cast<bool>(d.fOutxCtsFlow));
    EXPECT_EQ(static_cast<DWORD>(c.HardFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE), d.fRtsControl);
    EXPECT_EQ(static_cast<DWORD>(DTR_CONTROL_ENABLE), d.fDtrControl);
    EXPECT_FALSE(d.fOutxDsrFlow);
    EXPECT_EQ(0x11, d.XonChar);
    EXPECT_EQ(0x13, d.XoffChar);
    EXPECT_EQ(1024, d.XonLim);
    EXPECT_EQ(1024, d.XoffLim);
  }
  serialOwner.reset();
}

TEST_F(SerialPortTest, ConfigSetsThePortsRate) {
  Open();
  for (int baud : {9600, 38400, 115200}) {
    SCOPED_TRACE(baud);
    FSerial->Config(baud, 8, 'N', 0, false, false);
    ASSERT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    ASSERT_TRUE(::GetCommState(FSerial->Handle(), &dcb));
    EXPECT_EQ(static_cast<DWORD>(baud), dcb.BaudRate);
    EXPECT_EQ(8, dcb.ByteSize);
  }
}

TEST_F(SerialPortTest, TheReceiveBufferSizeSetsTheFlowLimits) {
  TRecordingSerial* serial = New<TRecordingSerial>();
  serial->Connect(FPort);
  serial->Config(9600, 8, 'N', 0, false, false);
  serial->SetSizeRecvBuffer(8192);
  EXPECT_EQ(8192, serial->SizeRecvBuffer());
  EXPECT_EQ(2048, serial->Written.XonLim);
  EXPECT_EQ(2048, serial->Written.XoffLim);
  EXPECT_EQ(9600u, serial->Written.BaudRate);
  serial->Free();
}

TEST_F(SerialPortTest, ConfigOnAClosedPortReportsTheSystemError) {
  FSerial->Config(9600, 8, 'N', 0, false, false);
  EXPECT_EQ(static_cast<int>(ERROR_INVALID_HANDLE), FSerial->LastError());
  EXPECT_NE(L"OK", FSerial->LastErrorDesc());
}

// --- Operations before Connect ---------------------------------------------------

struct TClosedCase {
  const char* Name;
  void (*Run)(TBlockSerial*);
};

class ClosedPortTest : public SerialPortTest, public testing::WithParamInterface<TClosedCase> {};

TEST_P(ClosedPortTest, EndsAtOnceWith9994) {
  GetParam().Run(FSerial);
  EXPECT_EQ(ErrPortNotOpen, FSerial->LastError());
  EXPECT_EQ(L"Instance not yet connected", FSerial->LastErrorDesc());
  EXPECT_EQ(0, FLog->Count(HR_WriteCount));
  EXPECT_EQ(0, FLog->Count(HR_ReadCount));
}

TEST_P(ClosedPortTest, RaisesWhenAskedTo) {
  FSerial->SetRaiseExcept(true);
  try {
    GetParam().Run(FSerial);
    FAIL() << "no exception";
  } catch (const ESerialPortError& e) {
    EXPECT_EQ(ErrPortNotOpen, e.ErrorCode());
    EXPECT_EQ(L"Instance not yet connected", e.ErrorMessage());
    EXPECT_EQ(L"Communication error 9994: Instance not yet connected", e.Message());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ClosedPortTest,
    testing::Values(
        TClosedCase{"SendByte", [](TBlockSerial* s) { s->SendByte('I'); }},
        TClosedCase{"SendString", [](TBlockSerial* s) { s->SendString("abc"); }},
        TClosedCase{"SendBuffer", [](TBlockSerial* s) { EXPECT_EQ(0, s->SendBuffer("ab", 2)); }},
        TClosedCase{"RecvByte", [](TBlockSerial* s) { EXPECT_EQ(0, s->RecvByte(100)); }},
        TClosedCase{"RecvPacket", [](TBlockSerial* s) { EXPECT_EQ("", s->RecvPacket(100)); }},
        TClosedCase{"Recvstring", [](TBlockSerial* s) { EXPECT_EQ("", s->Recvstring(100)); }},
        TClosedCase{"RecvBufferStr", [](TBlockSerial* s) { EXPECT_EQ("", s->RecvBufferStr(3, 100)); }},
        TClosedCase{"WaitingData", [](TBlockSerial* s) { EXPECT_EQ(0, s->WaitingData()); }},
        TClosedCase{"CanRead", [](TBlockSerial* s) { EXPECT_FALSE(s->CanRead(100)); }},
        TClosedCase{"Flush", [](TBlockSerial* s) { s->Flush(); }},
        TClosedCase{"Purge", [](TBlockSerial* s) { s->Purge(); }}),
    [](const testing::TestParamInfo<TClosedCase>& AInfo) { return std::string(AInfo.param.Name); });

// --- Sending and receiving ----------------------------------------------------------

TEST_F(SerialPortTest, RecvByteTakesEverythingWaitingAtOnceAndHandsItOutBytewise) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("ABCDE"));
  ASSERT_EQ(5, FSerial->WaitingData());
  FLog->Records.clear();

  EXPECT_EQ('A', FSerial->RecvByte(1000));
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ("BCDE", FSerial->LineBuffer());
  EXPECT_EQ(0, FSerial->WaitingData());
  EXPECT_EQ(4, FSerial->WaitingDataEx());
  ASSERT_EQ(1, FLog->Count(HR_ReadCount));
  EXPECT_EQ(L"5", FLog->Records.back().Value);

  std::string rest;
  for (int i = 0; i < 4; ++i) rest += static_cast<char>(FSerial->RecvByte(1000));
  EXPECT_EQ("BCDE", rest);
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_TRUE(FSerial->LineBuffer().empty());
  EXPECT_EQ(1, FLog->Count(HR_ReadCount)) << "the port was read again";
}

TEST_F(SerialPortTest, RecvByteOnASilentLineTimesOut) {
  Open();
  const std::uint32_t start = ReadMillisecondTick();
  EXPECT_EQ(0, FSerial->RecvByte(150));
  const std::uint32_t elapsed = MillisecondsSince(start);
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ(L"Timeout during operation", FSerial->LastErrorDesc());
  EXPECT_GE(elapsed, 130u);
  EXPECT_LT(elapsed, 1500u);
  // A byte that comes later is read normally and clears the error.
  ASSERT_NO_FATAL_FAILURE(Echo("Q"));
  EXPECT_EQ('Q', FSerial->RecvByte(1000));
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, RecvByteWaitsForAByteThatIsStillOnItsWay) {
  Open();
  // The echo comes back while RecvByte already waits.
  FSerial->SendByte(0x0D);
  EXPECT_EQ(0x0D, FSerial->RecvByte(1000));
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, SendBufferReportsTheBytesWritten) {
  Open();
  const RawByteString data(300, 'x');
  EXPECT_EQ(300, FSerial->SendBuffer(data.data(), static_cast<int>(data.size())));
  EXPECT_EQ(0, FSerial->LastError());
  ASSERT_FALSE(FLog->Records.empty());
  EXPECT_EQ(HR_WriteCount, FLog->Records.back().Reason);
  EXPECT_EQ(L"300", FLog->Records.back().Value);
  EXPECT_EQ(data, FSerial->RecvBufferStr(300, 2000));
}

TEST_F(SerialPortTest, BytesOfEveryValuePassUnchanged) {
  Open();
  RawByteString all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  FSerial->SendString(all);
  EXPECT_EQ(all, FSerial->RecvBufferStr(256, 2000));
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, PurgeDropsTheDriversQueueAndTheLineBuffer) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("12345"));
  EXPECT_EQ('1', FSerial->RecvByte(1000));
  ASSERT_NO_FATAL_FAILURE(Echo("678"));
  ASSERT_EQ(3, FSerial->WaitingData());
  ASSERT_EQ("2345", FSerial->LineBuffer());

  FSerial->Purge();
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_TRUE(FSerial->LineBuffer().empty());
  EXPECT_EQ(0, FSerial->WaitingData());
  EXPECT_EQ(0, FSerial->RecvByte(100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
}

TEST_F(SerialPortTest, CanReadTellsWhetherBytesCame) {
  Open();
  EXPECT_FALSE(FSerial->CanRead(50));
  EXPECT_EQ(0, FLog->Count(HR_CanRead));
  FSerial->SendByte('c');
  EXPECT_TRUE(FSerial->CanRead(1000));
  EXPECT_EQ(1, FLog->Count(HR_CanRead));
  EXPECT_EQ('c', FSerial->RecvByte(0));
}

TEST_F(SerialPortTest, RecvBufferStrLeavesSurplusAndKeepsAnIncompleteBlock) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("0123456789"));
  EXPECT_EQ("0123", FSerial->RecvBufferStr(4, 1000));
  EXPECT_EQ("456789", FSerial->LineBuffer());
  // Six bytes are there, eight are asked for: nothing is handed out and
  // nothing is lost.
  EXPECT_EQ("", FSerial->RecvBufferStr(8, 100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ("456789", FSerial->LineBuffer());
  ASSERT_NO_FATAL_FAILURE(Echo("ab"));
  EXPECT_EQ("456789ab", FSerial->RecvBufferStr(8, 1000));
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ("", FSerial->RecvBufferStr(0, 100));
}

TEST_F(SerialPortTest, RecvBufferExHandsOutWhatCameBeforeTheTimeout) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("xyz"));
  char buffer[8] = {};
  EXPECT_EQ(3, FSerial->RecvBufferEx(buffer, 8, 100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ("xyz", std::string(buffer, 3));
}

TEST_F(SerialPortTest, IntegersAndBlocksTravelLowByteFirst) {
  Open();
  FSerial->SendInteger(0x12345678);
  EXPECT_EQ("\x78\x56\x34\x12", FSerial->RecvBufferStr(4, 1000));
  FSerial->SendInteger(-2);
  EXPECT_EQ(-2, FSerial->RecvInteger(1000));
  FSerial->SendBlock("block!");
  EXPECT_EQ("block!", FSerial->RecvBlock(1000));
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, RecvIntegerOnASilentLineGivesZero) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("\x01\x02"));
  EXPECT_EQ(0, FSerial->RecvInteger(100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
}

// --- Streams -----------------------------------------------------------------------

RawByteString Pattern(std::size_t ALength) {
  RawByteString data(ALength, '\0');
  for (std::size_t i = 0; i < ALength; ++i) data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return data;
}

RawByteString StreamText(TStream* AStream) {
  RawByteString data(static_cast<std::size_t>(AStream->Size()), '\0');
  AStream->SetPosition(0);
  AStream->ReadBuffer(data.data(), AStream->Size());
  return data;
}

class SerialStreamTest : public SerialPortTest {
 protected:
  void SetUp() override {
    SerialPortTest::SetUp();
    FSource = New<TMemoryStream>();
    FTarget = New<TMemoryStream>();
    // More than two pieces of 8192 bytes.
    FData = Pattern(20000);
    FSource->WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
  }
  void TearDown() override {
    FreeAndNil(FSource);
    FreeAndNil(FTarget);
    SerialPortTest::TearDown();
  }
  TMemoryStream* FSource = nullptr;
  TMemoryStream* FTarget = nullptr;
  RawByteString FData;
};

TEST_F(SerialStreamTest, SendStreamSendsTheRestWithItsSizeFirst) {
  Open();
  FSource->SetPosition(100);
  FSerial->SendStream(FSource);
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ(19900, FSerial->RecvInteger(2000));
  FSerial->RecvStreamSize(FTarget, 2000, 19900);
  EXPECT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
  EXPECT_EQ(FData.substr(100), StreamText(FTarget));
}

TEST_F(SerialStreamTest, StreamsRoundTrip) {
  Open();
  FSource->SetPosition(0);
  FSerial->SendStream(FSource);
  FSerial->RecvStream(FTarget, 2000);
  EXPECT_EQ(0, FSerial->LastError()) << FSerial->LastErrorDesc();
  EXPECT_EQ(FData, StreamText(FTarget));
}

TEST_F(SerialStreamTest, TheIndyFormSendsTheSizeInReversedByteOrder) {
  Open();
  FSource->SetPosition(20000 - 0x0102);
  FSerial->SendStreamIndy(FSource);
  EXPECT_EQ(IntToBigEndianText(0x0102), FSerial->RecvBufferStr(4, 2000));
  EXPECT_EQ(FData.substr(20000 - 0x0102), FSerial->RecvBufferStr(0x0102, 2000));

  FSource->SetPosition(5000);
  FSerial->SendStreamIndy(FSource);
  FSerial->RecvStreamIndy(FTarget, 2000);
  EXPECT_EQ(0, FSerial->LastError());
  EXPECT_EQ(FData.substr(5000), StreamText(FTarget));
}

TEST_F(SerialStreamTest, RawStreamsEndAtTheTimeout) {
  Open();
  FSource->SetPosition(0);
  FSerial->SendStreamRaw(FSource);
  EXPECT_EQ(0, FSerial->LastError());
  FSerial->RecvStreamRaw(FTarget, 300);
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ(FData, StreamText(FTarget));
}

TEST_F(SerialStreamTest, AShortStreamLeavesWhatCameForLater) {
  Open();
  FSerial->SendInteger(100);
  FSerial->SendString(RawByteString(60, 's'));
  FSerial->RecvStream(FTarget, 200);
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ(0, FTarget->Size());
  EXPECT_EQ(RawByteString(60, 's'), FSerial->LineBuffer());
}

TEST_F(SerialStreamTest, NoStreamIsAWrongParameter) {
  Open();
  FSerial->SendStream(nullptr);
  EXPECT_EQ(ErrWrongParameter, FSerial->LastError());
  FSerial->RecvStreamRaw(nullptr, 10);
  EXPECT_EQ(ErrWrongParameter, FSerial->LastError());
}

// --- Lines -----------------------------------------------------------------------------

TEST_F(SerialPortTest, RecvstringSplitsAtCrLf) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("hello\r\nworld\r\nrest"));
  EXPECT_EQ("hello", FSerial->Recvstring(1000));
  EXPECT_EQ("world", FSerial->Recvstring(1000));
  EXPECT_EQ(0, FSerial->LastError());
  // A line without its break stays for later.
  EXPECT_EQ("", FSerial->Recvstring(100));
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_EQ("rest", FSerial->LineBuffer());
  ASSERT_NO_FATAL_FAILURE(Echo("!\r\n"));
  EXPECT_EQ("rest!", FSerial->Recvstring(1000));
}

TEST_F(SerialPortTest, RecvTerminatedWithAnyTerminator) {
  Open();
  ASSERT_NO_FATAL_FAILURE(Echo("a;b\r\n;c;;"));
  EXPECT_EQ("a", FSerial->RecvTerminated(1000, ";"));
  EXPECT_EQ("b\r\n", FSerial->RecvTerminated(1000, ";"));
  EXPECT_EQ("c", FSerial->RecvTerminated(1000, ";;"));
  EXPECT_EQ("", FSerial->RecvTerminated(1000, ""));
  EXPECT_EQ(ErrWrongParameter, FSerial->LastError());
}

TEST_F(SerialPortTest, ConvertLineEndTakesEveryKindOfBreak) {
  Open();
  FSerial->SetConvertLineEnd(true);
  ASSERT_NO_FATAL_FAILURE(Echo("a\rb\nc\r\nd\n\re\n\nf\r"));
  std::vector<std::string> lines;
  for (int i = 0; i < 7; ++i) lines.push_back(FSerial->Recvstring(1000));
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d", "e", "", "f"}), lines);
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, ConvertLineEndDropsTheSecondHalfOfABreakThatCameLater) {
  Open();
  FSerial->SetConvertLineEnd(true);
  ASSERT_NO_FATAL_FAILURE(Echo("one\r"));
  EXPECT_EQ("one", FSerial->Recvstring(1000));
  ASSERT_NO_FATAL_FAILURE(Echo("\ntwo\n"));
  EXPECT_EQ("two", FSerial->Recvstring(1000));
  ASSERT_NO_FATAL_FAILURE(Echo("\rthree\r\n"));
  EXPECT_EQ("three", FSerial->Recvstring(1000));
  // A second CR after a lone CR is an empty line, not half a break.
  ASSERT_NO_FATAL_FAILURE(Echo("x\r"));
  EXPECT_EQ("x", FSerial->Recvstring(1000));
  ASSERT_NO_FATAL_FAILURE(Echo("\ry\r\n"));
  EXPECT_EQ("", FSerial->Recvstring(1000));
  EXPECT_EQ("y", FSerial->Recvstring(1000));
}

TEST_F(SerialPortTest, ALineOverMaxLineLengthIsRefused) {
  Open();
  FSerial->SetMaxLineLength(4);
  ASSERT_NO_FATAL_FAILURE(Echo("abcd\r\nabcdefgh\r\nok\r\n"));
  EXPECT_EQ("abcd", FSerial->Recvstring(1000));
  EXPECT_EQ("", FSerial->Recvstring(1000));
  EXPECT_EQ(ErrMaxBuffer, FSerial->LastError());
  EXPECT_EQ(L"Maximal buffer length exceeded", FSerial->LastErrorDesc());
  // The over-long line is dropped; the next one reads normally.
  EXPECT_EQ("ok", FSerial->Recvstring(1000));
  EXPECT_EQ(0, FSerial->LastError());
}

TEST_F(SerialPortTest, AnUnendedLineOverMaxLineLengthEndsTheWaitEarly) {
  Open();
  FSerial->SetMaxLineLength(3);
  ASSERT_NO_FATAL_FAILURE(Echo("abcdef"));
  const std::uint32_t start = ReadMillisecondTick();
  EXPECT_EQ("", FSerial->Recvstring(5000));
  EXPECT_EQ(ErrMaxBuffer, FSerial->LastError());
  EXPECT_LT(MillisecondsSince(start), 2000u);
}

// --- Lines of the modem ----------------------------------------------------------------

TEST_F(SerialPortTest, RequiredLinesThatAreNotThereRefuseTheConnection) {
  // A pseudo-terminal has no CTS line to report.
  FSerial->SetTestCTS(true);
  FSerial->Connect(FPort);
  EXPECT_EQ(ErrNoDeviceAnswer, FSerial->LastError());
  EXPECT_EQ(L"No device answer detected", FSerial->LastErrorDesc());
  EXPECT_FALSE(FSerial->InstanceActive());
  EXPECT_EQ(INVALID_HANDLE_VALUE, FSerial->Handle());
  // Without the requirement the same port opens.
  FSerial->SetTestCTS(false);
  ASSERT_NO_FATAL_FAILURE(Open());
}

TEST_F(SerialPortTest, CanWriteOnceTheQueueIsEmpty) {
  Open();
  FSerial->SendString("out");
  EXPECT_TRUE(FSerial->CanWrite(1000));
  EXPECT_EQ(0, FSerial->SendingData());
  EXPECT_EQ(1, FLog->Count(HR_CanWrite));
  // Taken back, or the echo may reach the next test's port.
  EXPECT_EQ("out", FSerial->RecvBufferStr(3, 1000));
}

TEST_F(SerialPortTest, ATCommandSkipsTheEchoAndRestoresLineEnds) {
  Open();
  FSerial->SetAtTimeout(150);
  // The echo device answers with the command only: no "OK" ever comes.
  EXPECT_EQ("", FSerial->ATCommand("ATZ"));
  EXPECT_FALSE(FSerial->ATResult());
  EXPECT_EQ(ErrTimeout, FSerial->LastError());
  EXPECT_FALSE(FSerial->ConvertLineEnd());
  EXPECT_TRUE(FSerial->LineBuffer().empty());
}

// --- Bandwidth and errors ----------------------------------------------------------------

TEST_F(SerialPortTest, MaxSendBandwidthSpacesTheWrites) {
  Open();
  FSerial->SetMaxSendBandwidth(1000);  // 100 bytes: 100 ms
  const RawByteString data(100, 'b');
  const std::uint32_t start = ReadMillisecondTick();
  FSerial->SendString(data);
  FSerial->SendString(data);
  FSerial->SendString(data);
  const std::uint32_t elapsed = MillisecondsSince(start);
  EXPECT_GE(elapsed, 180u);
  EXPECT_LT(elapsed, 1500u);
  EXPECT_EQ(2, FLog->Count(HR_Wait));
  EXPECT_EQ(RawByteString(300, 'b'), FSerial->RecvBufferStr(300, 2000));
}

TEST(SerialErrorTest, EveryCodeHasItsText) {
  const struct {
    int Code;
    const wchar_t* Text;
  } cases[] = {{0, L"OK"},
               {9991, L"Port owned by other process"},
               {9992, L"Instance already in use"},
               {9993, L"Wrong parameter at call"},
               {9994, L"Instance not yet connected"},
               {9995, L"No device answer detected"},
               {9996, L"Maximal buffer length exceeded"},
               {9997, L"Timeout during operation"},
               {9998, L"Reading of data failed"},
               {9999, L"Receive framing error"},
               {10000, L"Receive Overrun Error"},
               {10001, L"Receive Queue overflow"},
               {10002, L"Receive Parity Error"},
               {10003, L"Tranceive Queue is full"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Code);
    EXPECT_EQ(String(c.Text), TBlockSerial::GetErrorDesc(c.Code));
  }
}

TEST(SerialErrorTest, SystemCodesGetTheSystemsText) {
  const String text = TBlockSerial::GetErrorDesc(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(TBlockSerial::GetErrorDesc(ERROR_ACCESS_DENIED), text);
}

TEST(SerialErrorTest, TheExceptionCarriesCodeAndText) {
  const ESerialPortError e(ErrTimeout, L"Timeout during operation");
  EXPECT_EQ(ErrTimeout, e.ErrorCode());
  EXPECT_EQ(L"Communication error 9997: Timeout during operation", e.Message());
}

TEST(SerialVersionTest, HasAVersionText) {
  TBlockSerial* serial = New<TBlockSerial>();
  EXPECT_FALSE(serial->GetVersion().empty());
  serial->Free();
}

}  // namespace
