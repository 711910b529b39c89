#include "app/serial/BlockSerial.h"

#include "app/serial/SerialUtils.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <cstring>
#include <string_view>

// Implementation notes. Every transfer is overlapped: it starts, waits on its
// own event up to DeadlockTimeout and is always finished (completed or
// aborted and then collected) before its OVERLAPPED record and buffer go out
// of scope. Port operations on a closed object end with 9994.

namespace {

constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

// Waits of the layer: a negative time-out waits without limit.
DWORD WaitMilliseconds(int ATimeout) { return ATimeout < 0 ? INFINITE : static_cast<DWORD>(ATimeout); }

WORD FlowLimit(int ARecvBufferSize) { return static_cast<WORD>(std::clamp(ARecvBufferSize / 4, 0, 0xFFFF)); }

// The number after a prefix: decimal digits only; -1 when there are none
// or the number does not fit.
int ParseNumber(std::wstring_view ADigits) {
  if (ADigits.empty() || ADigits.size() > 9) return -1;
  int value = 0;
  for (wchar_t c : ADigits) {
    if (c < L'0' || c > L'9') return -1;
    value = value * 10 + (c - L'0');
  }
  return value;
}

std::int32_t LittleEndianInteger(const RawByteString& AData) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(AData[static_cast<std::size_t>(i)]);
  return static_cast<std::int32_t>(v);
}

RawByteString LittleEndianText(std::int32_t AValue) {
  const std::uint32_t v = static_cast<std::uint32_t>(AValue);
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

}  // namespace

// ---------------------------------------------------------------------------
// ESerialPortError

ESerialPortError::ESerialPortError(int ACode, const String& ADescription)
    : Exception(L"Communication error %d: %s", {ACode, ADescription}), FErrorCode(ACode), FErrorMessage(ADescription) {}

// ---------------------------------------------------------------------------
// Construction and destruction

void TBlockSerial::Create() {
  inherited::Create();
  FHandle = INVALID_HANDLE_VALUE;
  FLastError = 0;
  FDeadlockTimeout = 30000;
  FLinuxLock = true;
  FAtTimeout = 1000;
  FInterPacketTimeout = true;
  FRecvBufferSize = 4096;
  FPortNumber = -1;
}

void TBlockSerial::Destroy() {
  CloseSocket();
  CloseEvents();
  inherited::Destroy();
}

String TBlockSerial::GetErrorDesc(int AErrorCode) {
  switch (AErrorCode) {
    case 0: return L"OK";
    case ErrAlreadyOwned: return L"Port owned by other process";
    case ErrAlreadyInUse: return L"Instance already in use";
    case ErrWrongParameter: return L"Wrong parameter at call";
    case ErrPortNotOpen: return L"Instance not yet connected";
    case ErrNoDeviceAnswer: return L"No device answer detected";
    case ErrMaxBuffer: return L"Maximal buffer length exceeded";
    case ErrTimeout: return L"Timeout during operation";
    case ErrNotRead: return L"Reading of data failed";
    case ErrFrame: return L"Receive framing error";
    case ErrOverrun: return L"Receive Overrun Error";
    case ErrRxOver: return L"Receive Queue overflow";
    case ErrRxParity: return L"Receive Parity Error";
    case ErrTxFull: return L"Tranceive Queue is full";
    default: {
      const String text = SysErrorMessage(static_cast<DWORD>(AErrorCode));
      return text.empty() ? L"System error " + std::to_wstring(AErrorCode) : text;
    }
  }
}

// ---------------------------------------------------------------------------
// Overridables

void TBlockSerial::MapCommErrors() {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(FHandle, &errors, &status)) return;
  // The last match wins.
  if (errors & CE_FRAME) FLastError = ErrFrame;
  if (errors & CE_OVERRUN) FLastError = ErrOverrun;
  if (errors & CE_RXOVER) FLastError = ErrRxOver;
  if (errors & CE_RXPARITY) FLastError = ErrRxParity;
  if (errors & CE_TXFULL) FLastError = ErrTxFull;
}

int TBlockSerial::QueryPortAddress() { return 0; }

bool TBlockSerial::IsTransmitterEmpty() { return true; }

void TBlockSerial::SetSizeRecvBuffer(int AValue) {
  if (FRecvBufferSize == AValue) return;
  FRecvBufferSize = AValue;
  if (FHandle == INVALID_HANDLE_VALUE) return;
  SetupComm(FHandle, static_cast<DWORD>(std::max(AValue, 0)), 0);
  GetCommState();
  if (FLastError != 0) return;
  FDCB.XonLim = FlowLimit(AValue);
  FDCB.XoffLim = FlowLimit(AValue);
  SetCommState();
}

bool TBlockSerial::DSR() { return (ModemStatus() & MS_DSR_ON) != 0; }

void TBlockSerial::SetDTR(bool AValue) {
  if (FHandle != INVALID_HANDLE_VALUE) EscapeCommFunction(FHandle, AValue ? SETDTR : CLRDTR);
}

bool TBlockSerial::CTS() { return (ModemStatus() & MS_CTS_ON) != 0; }

void TBlockSerial::SetRTS(bool AValue) {
  if (FHandle != INVALID_HANDLE_VALUE) EscapeCommFunction(FHandle, AValue ? SETRTS : CLRRTS);
}

bool TBlockSerial::Carrier() { return (ModemStatus() & MS_RLSD_ON) != 0; }

bool TBlockSerial::Ring() { return (ModemStatus() & MS_RING_ON) != 0; }

void TBlockSerial::ReportStatus(THookSerialReason AReason, const String& AValue) {
  CallEvent(FOnStatus, this, AReason, AValue);
}

int TBlockSerial::ParsePortNumber(const String& AName) {
  String name = AName;
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - 32 : c; });
  const std::wstring_view view(name);
  if (view.starts_with(L"COM")) {
    // COM0 and names without a number have none.
    return std::max(ParseNumber(view.substr(3)), 0) - 1;
  }
  if (view.starts_with(L"/DEV/TTYS")) {
    const int number = ParseNumber(view.substr(9));
    return number < 0 ? -2 : number;
  }
  return -1;
}

bool TBlockSerial::NotReadyForIo() {
  if (!FInstanceActive) {
    RaiseSerialError(ErrPortNotOpen);
    return true;
  }
  if (!LinesReady()) {
    RaiseSerialError(ErrNoDeviceAnswer);
    return true;
  }
  return false;
}

bool TBlockSerial::LinesReady() {
  if (FTestDSR && !DSR()) return false;
  if (FTestCTS && !CTS()) return false;
  return true;
}

void TBlockSerial::ThrottleTransfer(int ALength, int ALimit, std::uint32_t& ANextTime) {
  if (ALimit <= 0) return;
  std::uint32_t now = ReadMillisecondTick();
  const std::int32_t ahead = static_cast<std::int32_t>(ANextTime - now);
  if (ANextTime != 0 && ahead > 0) {
    ReportStatus(HR_Wait, std::to_wstring(ahead));
    Sleep(static_cast<DWORD>(ahead));
    now = ReadMillisecondTick();
  }
  ANextTime = now + static_cast<std::uint32_t>(static_cast<double>(ALength) / ALimit * 1000.0);
}

void TBlockSerial::SetMaxBandwidth(int AValue) {
  FMaxSendBandwidth = AValue;
  FMaxRecvBandwidth = AValue;
}

// ---------------------------------------------------------------------------
// Opening, configuring, closing

String TBlockSerial::GetVersion() { return L"Skarnivel serial port 1.0"; }

void TBlockSerial::CloseSocket() {
  if (FHandle != INVALID_HANDLE_VALUE) {
    Purge();
    SetRTS(false);
    SetDTR(false);
    CloseHandle(FHandle);
  }
  FInstanceActive = false;
  FHandle = INVALID_HANDLE_VALUE;
  FPortNumber = -1;
  FLastError = 0;
  ReportStatus(HR_SerialClose, FDevice);
}

void TBlockSerial::Config(int ABaud, int ABits, char AParity, int AStop, bool ASoftFlow, bool AHardFlow) {
  FDCB = DCB{};
  GetCommState();
  FDCB.DCBlength = sizeof(DCB);
  FDCB.BaudRate = static_cast<DWORD>(ABaud);
  FDCB.ByteSize = static_cast<BYTE>(ABits);
  switch (AParity) {
    case 'N': case 'n': FDCB.Parity = NOPARITY; break;
    case 'O': case 'o': FDCB.Parity = ODDPARITY; break;
    case 'E': case 'e': FDCB.Parity = EVENPARITY; break;
    case 'M': case 'm': FDCB.Parity = MARKPARITY; break;
    case 'S': case 's': FDCB.Parity = SPACEPARITY; break;
    default: FDCB.Parity = NOPARITY; break;
  }
  FDCB.StopBits = static_cast<BYTE>(AStop);
  FDCB.XonChar = 0x11;
  FDCB.XoffChar = 0x13;
  FDCB.XonLim = FlowLimit(FRecvBufferSize);
  FDCB.XoffLim = FlowLimit(FRecvBufferSize);
  // The flags are set afresh, whatever the port had.
  FDCB.fBinary = TRUE;
  FDCB.fParity = FDCB.Parity != NOPARITY;
  FDCB.fOutxCtsFlow = AHardFlow;
  FDCB.fOutxDsrFlow = FALSE;
  FDCB.fDtrControl = DTR_CONTROL_ENABLE;
  FDCB.fDsrSensitivity = FALSE;
  FDCB.fTXContinueOnXoff = FALSE;
  FDCB.fOutX = ASoftFlow;
  FDCB.fInX = ASoftFlow;
  FDCB.fErrorChar = FALSE;
  FDCB.fNull = FALSE;
  FDCB.fRtsControl = AHardFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  FDCB.fAbortOnError = FALSE;
  SetCommState();
}

void TBlockSerial::Connect(const String& ACommPort) {
  if (FInstanceActive) {
    RaiseSerialError(ErrAlreadyInUse);
    return;
  }
  FLineBuffer.clear();
  FLastCR = false;
  FLastLF = false;
  FDevice = ACommPort;
  FPortNumber = ParsePortNumber(FDevice);
  if (FPortNumber >= 0) FDevice = L"\\\\.\\COM" + std::to_wstring(FPortNumber + 1);
  FHandle = CreateFileW(FDevice.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
  SerialCheck(FHandle == INVALID_HANDLE_VALUE ? -1 : 0);
  ExceptCheck();
  if (FHandle == INVALID_HANDLE_VALUE) return;
  ::SetCommMask(FHandle, 0);
  SetupComm(FHandle, static_cast<DWORD>(std::max(FRecvBufferSize, 0)), 0);
  // Reads return at once with what is waiting; waits are done on events.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 65535;
  SetCommTimeouts(FHandle, &timeouts);
  FPortAddress = QueryPortAddress();
  FEventsUnsupported = false;
  FLastError = 0;
  if (LinesReady()) {
    FInstanceActive = true;
    SetRTS(true);
    SetDTR(true);
    Purge();
  } else {
    FLastError = ErrNoDeviceAnswer;
    CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
  }
  ExceptCheck();
  ReportStatus(HR_Connect, FDevice);
}

void TBlockSerial::SetCommState() {
  SerialCheck(::SetCommState(FHandle, &FDCB) ? 0 : -1);
  ExceptCheck();
}

void TBlockSerial::GetCommState() {
  SerialCheck(::GetCommState(FHandle, &FDCB) ? 0 : -1);
  ExceptCheck();
}

// ---------------------------------------------------------------------------
// Sending

HANDLE TBlockSerial::TransferEvent(TKernelHandle& AEvent) {
  if (!AEvent) AEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  return AEvent.Get();
}

void TBlockSerial::CloseEvents() {
  for (TKernelHandle* event : {&FReadEvent, &FWriteEvent, &FCommEvent}) event->Reset();
}

int TBlockSerial::OverlappedTransfer(TIoKind AKind, void* ABuffer, int ALength) {
  const HANDLE event = TransferEvent(AKind == TIoKind::Read ? FReadEvent : FWriteEvent);
  if (!event) {
    SerialCheck(-1);
    return 0;
  }
  OVERLAPPED overlapped{};
  overlapped.hEvent = event;
  const DWORD length = static_cast<DWORD>(ALength);
  const BOOL started = AKind == TIoKind::Read ? ReadFile(FHandle, ABuffer, length, nullptr, &overlapped)
                                              : WriteFile(FHandle, ABuffer, length, nullptr, &overlapped);
  if (!started) {
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
      FLastError = static_cast<int>(error);
      return 0;
    }
    if (WaitForSingleObject(event, WaitMilliseconds(FDeadlockTimeout)) != WAIT_OBJECT_0) {
      PurgeComm(FHandle, AKind == TIoKind::Read ? PURGE_RXABORT | PURGE_RXCLEAR : PURGE_TXABORT | PURGE_TXCLEAR);
      // The aborted transfer still owns the record and the buffer until it
      // has been collected.
      CancelIoEx(FHandle, &overlapped);
      DWORD count = 0;
      GetOverlappedResult(FHandle, &overlapped, &count, TRUE);
      FLastError = ErrTimeout;
      return static_cast<int>(count);
    }
  }
  DWORD count = 0;
  if (!GetOverlappedResult(FHandle, &overlapped, &count, FALSE)) FLastError = static_cast<int>(GetLastError());
  return static_cast<int>(count);
}

int TBlockSerial::SendBuffer(const void* ABuffer, int ALength) {
  if (NotReadyForIo()) return 0;
  if (ALength < 0 || (ALength > 0 && !ABuffer)) {
    RaiseSerialError(ErrWrongParameter);
    return 0;
  }
  ThrottleTransfer(ALength, FMaxSendBandwidth, FNextSend);
  if (FRTSToggle) {
    Flush();
    SetRTS(true);
  }
  FLastError = 0;
  const int count = OverlappedTransfer(TIoKind::Write, const_cast<void*>(ABuffer), ALength);
  MapCommErrors();
  if (FRTSToggle) {
    Flush();
    CanWrite(255);
    SetRTS(false);
  }
  ExceptCheck();
  ReportStatus(HR_WriteCount, std::to_wstring(count));
  return count;
}

void TBlockSerial::SendByte(std::uint8_t AData) { SendBuffer(&AData, 1); }

void TBlockSerial::SendString(const RawByteString& AData) {
  SendBuffer(AData.data(), static_cast<int>(AData.size()));
}

void TBlockSerial::SendInteger(std::int32_t AData) { SendString(LittleEndianText(AData)); }

void TBlockSerial::SendBlock(const RawByteString& AData) {
  SendInteger(static_cast<std::int32_t>(AData.size()));
  if (FLastError == 0) SendString(AData);
}

void TBlockSerial::SendStreamRaw(TStream* AStream) {
  if (!AStream) {
    RaiseSerialError(ErrWrongParameter);
    return;
  }
  RawByteString piece(SerialStreamPiece, '\0');
  for (;;) {
    const int count = AStream->Read(piece.data(), SerialStreamPiece);
    if (count <= 0) break;
    SendBuffer(piece.data(), count);
    if (FLastError != 0) break;
  }
}

void TBlockSerial::SendStream(TStream* AStream) {
  if (!AStream || AStream->Size() - AStream->Position() > INT32_MAX) {
    RaiseSerialError(ErrWrongParameter);
    return;
  }
  SendInteger(static_cast<std::int32_t>(AStream->Size() - AStream->Position()));
  if (FLastError == 0) SendStreamRaw(AStream);
}

void TBlockSerial::SendStreamIndy(TStream* AStream) {
  if (!AStream || AStream->Size() - AStream->Position() > INT32_MAX) {
    RaiseSerialError(ErrWrongParameter);
    return;
  }
  SendInteger(SwapByteOrder(static_cast<std::int32_t>(AStream->Size() - AStream->Position())));
  if (FLastError == 0) SendStreamRaw(AStream);
}

// ---------------------------------------------------------------------------
// Receiving

int TBlockSerial::RecvBuffer(void* ABuffer, int ALength) {
  if (NotReadyForIo()) return 0;
  if (ALength < 0 || (ALength > 0 && !ABuffer)) {
    RaiseSerialError(ErrWrongParameter);
    return 0;
  }
  ThrottleTransfer(ALength, FMaxRecvBandwidth, FNextRecv);
  FLastError = 0;
  const int count = OverlappedTransfer(TIoKind::Read, ABuffer, ALength);
  MapCommErrors();
  ExceptCheck();
  ReportStatus(HR_ReadCount, std::to_wstring(count));
  return count;
}

template <class F>
bool TBlockSerial::CollectPackets(RawByteString& AData, int ATimeout, F&& ADone) {
  const std::uint32_t start = ReadMillisecondTick();
  try {
    while (!ADone(AData)) {
      int timeout = ATimeout;
      if (!FInterPacketTimeout) {
        const std::int64_t left =
            static_cast<std::int64_t>(ATimeout) - TickDistance(start, ReadMillisecondTick());
        if (left <= 0) {
          RaiseSerialError(ErrTimeout);
          return false;
        }
        timeout = static_cast<int>(left);
      }
      RawByteString packet = RecvPacket(timeout);
      if (FLastError != 0) return false;
      AData += packet;
    }
  } catch (...) {
    // What was collected stays for the next read.
    FLineBuffer.insert(0, AData);
    AData.clear();
    throw;
  }
  return FLastError == 0;
}

int TBlockSerial::RecvBufferEx(void* ABuffer, int ALength, int ATimeout) {
  if (NotReadyForIo()) return 0;
  FLastError = 0;
  if (ALength < 1) return 0;
  if (!ABuffer) {
    RaiseSerialError(ErrWrongParameter);
    return 0;
  }
  const std::size_t wanted = static_cast<std::size_t>(ALength);
  RawByteString data;
  CollectPackets(data, ATimeout, [wanted](const RawByteString& AData) { return AData.size() >= wanted; });
  // On an error the bytes collected so far are handed out with their count.
  const std::size_t count = std::min(data.size(), wanted);
  std::memcpy(ABuffer, data.data(), count);
  if (data.size() > wanted) FLineBuffer.insert(0, data, wanted);
  ExceptCheck();
  return static_cast<int>(count);
}

RawByteString TBlockSerial::RecvBufferStr(int ALength, int ATimeout) {
  if (ALength < 1) return {};
  if (NotReadyForIo()) return {};
  FLastError = 0;
  const std::size_t wanted = static_cast<std::size_t>(ALength);
  RawByteString data;
  if (!CollectPackets(data, ATimeout, [wanted](const RawByteString& AData) { return AData.size() >= wanted; })) {
    // Nothing is lost: a later read finds the incomplete block.
    FLineBuffer.insert(0, data);
    return {};
  }
  if (data.size() > wanted) {
    FLineBuffer.insert(0, data, wanted);
    data.resize(wanted);
  }
  return data;
}

RawByteString TBlockSerial::RecvPacket(int ATimeout) {
  RawByteString result;
  if (NotReadyForIo()) return result;
  FLastError = 0;
  if (!FLineBuffer.empty()) {
    result.swap(FLineBuffer);
    return result;
  }
  Sleep(0);
  int waiting = WaitingData();
  if (waiting <= 0 && FLastError == 0) {
    if (CanRead(ATimeout)) {
      waiting = WaitingData();
      if (waiting <= 0 && FLastError == 0) FLastError = ErrTimeout;
    } else if (FLastError == 0) {
      FLastError = ErrTimeout;
    }
  }
  if (waiting > 0 && FLastError == 0) {
    result.resize(static_cast<std::size_t>(waiting));
    result.resize(static_cast<std::size_t>(std::max(RecvBuffer(result.data(), waiting), 0)));
    // Bytes were announced but none came: not a silent line.
    if (result.empty() && FLastError == 0) FLastError = ErrNotRead;
  }
  ExceptCheck();
  return result;
}

std::uint8_t TBlockSerial::RecvByte(int ATimeout) {
  if (NotReadyForIo()) return 0;
  FLastError = 0;
  if (FLineBuffer.empty()) FLineBuffer = RecvPacket(ATimeout);
  std::uint8_t result = 0;
  if (FLastError == 0 && !FLineBuffer.empty()) {
    result = static_cast<std::uint8_t>(FLineBuffer.front());
    FLineBuffer.erase(0, 1);
  }
  ExceptCheck();
  return result;
}

RawByteString TBlockSerial::ReceiveLine(int ATimeout, const RawByteString& ATerminator) {
  const bool anyBreak = FConvertLineEnd && ATerminator == CRLF;
  // For a line without a terminator, the longest text that may still end
  // in a line of at most MaxLineLength characters.
  const std::size_t maxLength = FMaxLineLength > 0 ? static_cast<std::size_t>(FMaxLineLength) : 0;
  const std::size_t pending = anyBreak ? 0 : ATerminator.size() - 1;
  std::size_t lineEnd = RawByteString::npos;
  std::size_t breakLength = 0;
  bool tooLong = false;
  RawByteString data;
  const bool complete = CollectPackets(data, ATimeout, [&](RawByteString& AData) {
    if (anyBreak) {
      if (!AData.empty() && (FLastCR || FLastLF)) {
        // The second half of the break that ended the previous line.
        if ((FLastCR && AData.front() == '\n') || (FLastLF && AData.front() == '\r')) AData.erase(0, 1);
        FLastCR = false;
        FLastLF = false;
      }
      RawByteString lineBreak;
      const int pos = FindLineBreak(AData, lineBreak);
      if (pos > 0) {
        lineEnd = static_cast<std::size_t>(pos - 1);
        breakLength = lineBreak.size();
        FLastCR = lineBreak == CR;
        FLastLF = lineBreak == LF;
      }
    } else {
      lineEnd = AData.find(ATerminator);
      breakLength = ATerminator.size();
    }
    if (lineEnd != RawByteString::npos) {
      tooLong = maxLength > 0 && lineEnd > maxLength;
      return true;
    }
    tooLong = maxLength > 0 && AData.size() > maxLength + pending;
    return tooLong;
  });
  if (tooLong) {
    // An over-long line is dropped, so the next call starts afresh.
    if (lineEnd != RawByteString::npos) FLineBuffer.insert(0, data, lineEnd + breakLength);
    RaiseSerialError(ErrMaxBuffer);
    return {};
  }
  if (!complete) {
    FLineBuffer.insert(0, data);
    return {};
  }
  FLineBuffer.insert(0, data, lineEnd + breakLength);
  data.resize(lineEnd);
  return data;
}

RawByteString TBlockSerial::RecvTerminated(int ATimeout, const RawByteString& ATerminator) {
  if (NotReadyForIo()) return {};
  FLastError = 0;
  if (ATerminator.empty()) {
    RaiseSerialError(ErrWrongParameter);
    return {};
  }
  return ReceiveLine(ATimeout, ATerminator);
}

RawByteString TBlockSerial::Recvstring(int ATimeout) { return RecvTerminated(ATimeout, CRLF); }

std::int32_t TBlockSerial::RecvInteger(int ATimeout) {
  const RawByteString data = RecvBufferStr(4, ATimeout);
  return FLastError == 0 && data.size() == 4 ? LittleEndianInteger(data) : 0;
}

RawByteString TBlockSerial::RecvBlock(int ATimeout) {
  const std::int32_t length = RecvInteger(ATimeout);
  if (FLastError != 0) return {};
  return RecvBufferStr(length, ATimeout);
}

void TBlockSerial::RecvStreamRaw(TStream* AStream, int ATimeout) {
  if (!AStream) {
    RaiseSerialError(ErrWrongParameter);
    return;
  }
  // Normally the time-out ends it.
  for (;;) {
    const RawByteString packet = RecvPacket(ATimeout);
    if (FLastError != 0) break;
    WriteTextToStream(AStream, packet);
  }
}

void TBlockSerial::RecvStreamSize(TStream* AStream, int ATimeout, std::int64_t ASize) {
  if (!AStream) {
    RaiseSerialError(ErrWrongParameter);
    return;
  }
  for (std::int64_t left = ASize; left > 0;) {
    const int piece = static_cast<int>(std::min<std::int64_t>(left, SerialStreamPiece));
    const RawByteString data = RecvBufferStr(piece, ATimeout);
    if (FLastError != 0) break;
    WriteTextToStream(AStream, data);
    left -= piece;
  }
}

void TBlockSerial::RecvStream(TStream* AStream, int ATimeout) {
  const std::int32_t size = RecvInteger(ATimeout);
  if (FLastError == 0) RecvStreamSize(AStream, ATimeout, size);
}

void TBlockSerial::RecvStreamIndy(TStream* AStream, int ATimeout) {
  const std::int32_t size = SwapByteOrder(RecvInteger(ATimeout));
  if (FLastError == 0) RecvStreamSize(AStream, ATimeout, size);
}

// ---------------------------------------------------------------------------
// Queues, events and lines

int TBlockSerial::WaitingData() {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return 0;
  }
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(FHandle, &errors, &status)) {
    SerialCheck(-1);
    ExceptCheck();
    return 0;
  }
  return static_cast<int>(status.cbInQue);
}

int TBlockSerial::WaitingDataEx() {
  if (!FLineBuffer.empty()) return static_cast<int>(FLineBuffer.size());
  return WaitingData();
}

int TBlockSerial::SendingData() {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return 0;
  }
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(FHandle, &errors, &status)) {
    SerialCheck(-1);
    ExceptCheck();
    return 0;
  }
  return static_cast<int>(status.cbOutQue);
}

void TBlockSerial::EnableRTSToggle(bool AValue) {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return;
  }
  // The driver toggles RTS itself; the software toggle of SendBuffer stays off.
  GetCommState();
  if (FLastError != 0) return;
  FDCB.fRtsControl = AValue ? RTS_CONTROL_TOGGLE : RTS_CONTROL_ENABLE;
  SetCommState();
}

void TBlockSerial::Flush() {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return;
  }
  SerialCheck(FlushFileBuffers(FHandle) ? 0 : -1);
  ExceptCheck();
}

void TBlockSerial::Purge() {
  FLineBuffer.clear();
  FLastCR = false;
  FLastLF = false;
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return;
  }
  SerialCheck(PurgeComm(FHandle, PurgeAll) ? 0 : -1);
  ExceptCheck();
}

bool TBlockSerial::WaitCommEventFor(DWORD AMask, int ATimeout) {
  const HANDLE event = TransferEvent(FCommEvent);
  if (!event) return false;
  // Whether what the event announces is already the case: a character that
  // came before the mask was set raises no event.
  const auto satisfied = [&] { return AMask == EV_RXCHAR ? WaitingData() > 0 : SendingData() == 0; };
  const std::uint32_t start = ReadMillisecondTick();
  const auto left = [&]() -> DWORD {
    if (ATimeout < 0) return INFINITE;
    const std::uint32_t spent = TickDistance(start, ReadMillisecondTick());
    return spent >= static_cast<std::uint32_t>(ATimeout) ? 0 : static_cast<DWORD>(ATimeout) - spent;
  };
  while (!FEventsUnsupported) {
    if (!::SetCommMask(FHandle, AMask)) {
      FEventsUnsupported = true;
      break;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD events = 0;
    bool signalled = false;
    if (WaitCommEvent(FHandle, &events, &overlapped)) {
      signalled = (events & AMask) != 0;
    } else if (GetLastError() == ERROR_IO_PENDING) {
      signalled = satisfied();
      if (!signalled && WaitForSingleObject(event, left()) == WAIT_OBJECT_0) {
        DWORD unused = 0;
        if (GetOverlappedResult(FHandle, &overlapped, &unused, FALSE))
          signalled = (events & AMask) != 0;
        else if (GetLastError() == ERROR_OPERATION_ABORTED)
          // The driver gave the wait up by itself: Wine does so at once on a
          // pseudo-terminal, which has no modem lines to watch.
          FEventsUnsupported = true;
      }
      // Clearing the mask ends a wait still pending; it is collected before
      // the record goes.
      ::SetCommMask(FHandle, 0);
      if (!HasOverlappedIoCompleted(&overlapped)) CancelIoEx(FHandle, &overlapped);
      DWORD unused = 0;
      GetOverlappedResult(FHandle, &overlapped, &unused, TRUE);
    } else {
      FEventsUnsupported = true;
    }
    ::SetCommMask(FHandle, 0);
    if (signalled || satisfied()) return true;
    if (left() == 0) return false;
  }
  // Without events the queue is watched: closely for the first moments,
  // when most replies come, then once a millisecond.
  const std::uint32_t spinUntil = ReadMillisecondTick() + 2;
  for (;;) {
    if (satisfied()) return true;
    const DWORD rest = left();
    if (rest == 0) return false;
    if (static_cast<std::int32_t>(spinUntil - ReadMillisecondTick()) > 0)
      SwitchToThread();
    else
      Sleep(std::min<DWORD>(1, rest));
  }
}

bool TBlockSerial::CanRead(int ATimeout) {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return false;
  }
  const bool result = WaitingData() > 0 || WaitCommEventFor(EV_RXCHAR, ATimeout);
  if (result) ReportStatus(HR_CanRead, L"");
  return result;
}

bool TBlockSerial::CanWrite(int ATimeout) {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return false;
  }
  const bool result = SendingData() == 0 || WaitCommEventFor(EV_TXEMPTY, ATimeout);
  if (result) ReportStatus(HR_CanWrite, L"");
  return result;
}

bool TBlockSerial::CanReadEx(int ATimeout) {
  if (!FLineBuffer.empty()) return true;
  return CanRead(ATimeout);
}

DWORD TBlockSerial::ModemStatus() {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return 0;
  }
  if (!GetCommModemStatus(FHandle, &FModemWord)) {
    FModemWord = 0;
    SerialCheck(-1);
    ExceptCheck();
  }
  return FModemWord;
}

void TBlockSerial::SetBreak(int ADuration) {
  if (FHandle == INVALID_HANDLE_VALUE) {
    RaiseSerialError(ErrPortNotOpen);
    return;
  }
  SerialCheck(SetCommBreak(FHandle) ? 0 : -1);
  if (FLastError == 0) {
    Sleep(WaitMilliseconds(std::max(ADuration, 0)));
    SerialCheck(ClearCommBreak(FHandle) ? 0 : -1);
  }
  ExceptCheck();
}

// ---------------------------------------------------------------------------
// AT commands

RawByteString TBlockSerial::ATCommand(const RawByteString& AValue) {
  FATResult = false;
  const bool convertLineEnd = std::exchange(FConvertLineEnd, true);
  TScopeExit restore([this, convertLineEnd] { FConvertLineEnd = convertLineEnd; });
  RawByteString result;
  SendString(AValue + CR);
  while (FLastError == 0) {
    const RawByteString line = Recvstring(FAtTimeout);
    if (FLastError != 0) break;
    if (line == AValue) continue;  // the modem's echo
    result += line + CRLF;
    if (line == "OK") {
      FATResult = true;
      break;
    }
    if (line == "ERROR") break;
  }
  return result;
}

RawByteString TBlockSerial::ATConnect(const RawByteString& AValue) {
  FATResult = false;
  const bool convertLineEnd = std::exchange(FConvertLineEnd, true);
  TScopeExit restore([this, convertLineEnd] { FConvertLineEnd = convertLineEnd; });
  RawByteString result;
  SendString(AValue + CR);
  while (FLastError == 0) {
    const RawByteString line = Recvstring(90 * FAtTimeout);
    if (FLastError != 0) break;
    if (line == AValue) continue;
    result += line + CRLF;
    if (line == "NO CARRIER" || line == "ERROR" || line == "BUSY" || line == "NO DIALTONE") break;
    if (line.starts_with("CONNECT")) {
      FATResult = true;
      break;
    }
  }
  return result;
}

// ---------------------------------------------------------------------------
// Error state

void TBlockSerial::SerialCheck(int AResult) {
  FLastError = AResult == -1 ? static_cast<int>(GetLastError()) : 0;
}

void TBlockSerial::ExceptCheck() {
  if (FRaiseExcept && FLastError != 0) throw ESerialPortError(FLastError, GetErrorDesc(FLastError));
}

void TBlockSerial::SetSerialError(int AErrorCode) { FLastError = AErrorCode; }

void TBlockSerial::RaiseSerialError(int AErrorCode) {
  SetSerialError(AErrorCode);
  ExceptCheck();
}
