// The blocking serial port through which the flasher talks to the bootloader.
//
// Classes in this file:
//   ESerialPortError    the exception of a failed operation (only with RaiseExcept)
//   TBlockSerial        a serial port opened for overlapped I/O, used blockingly
//
// Every operation records its outcome in LastError (0, one of the codes
// below, or a system error code); nothing raises unless RaiseExcept is set.
// Bytes that arrived but were not yet handed out wait in LineBuffer, so the
// single-byte receive touches the port only when that buffer is empty.
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/System.h"

#include <cstdint>

class TStream;

// Error codes of the serial layer; any other non-zero code is a system error.
constexpr int ErrAlreadyOwned = 9991;
constexpr int ErrAlreadyInUse = 9992;
constexpr int ErrWrongParameter = 9993;
constexpr int ErrPortNotOpen = 9994;
constexpr int ErrNoDeviceAnswer = 9995;
constexpr int ErrMaxBuffer = 9996;
constexpr int ErrTimeout = 9997;
constexpr int ErrNotRead = 9998;
constexpr int ErrFrame = 9999;
constexpr int ErrOverrun = 10000;
constexpr int ErrRxOver = 10001;
constexpr int ErrRxParity = 10002;
constexpr int ErrTxFull = 10003;

// Pieces in which streams are sent and received.
constexpr int SerialStreamPiece = 8192;

inline constexpr char CR[] = "\r";
inline constexpr char LF[] = "\n";
inline constexpr char CRLF[] = "\r\n";

class ESerialPortError : public Exception {
 public:
  ESerialPortError(int ACode, const String& ADescription);
  int ErrorCode() const { return FErrorCode; }
  const String& ErrorMessage() const { return FErrorMessage; }

 private:
  int FErrorCode = 0;
  String FErrorMessage;
};

enum THookSerialReason {
  HR_SerialClose,  // value: the device name
  HR_Connect,      // value: the device name
  HR_CanRead,
  HR_CanWrite,
  HR_ReadCount,    // value: bytes read
  HR_WriteCount,   // value: bytes written
  HR_Wait          // value: milliseconds waited by the bandwidth limit
};

using THookSerialStatus = Delegate<void(TObject* Sender, THookSerialReason Reason, const String& Value)>;

class TBlockSerial : public TObject {
  SK_CLASS(TBlockSerial, TObject)
 public:
  // Construction and destruction
  void Create();
  void Destroy() override;

  // The text of an error code of this layer, or the system's text for it.
  static String GetErrorDesc(int AErrorCode);

  // Properties
  HANDLE Handle() const { return FHandle; }
  const String& Device() const { return FDevice; }
  int LastError() const { return FLastError; }
  String LastErrorDesc() const { return GetErrorDesc(FLastError); }
  RawByteString& LineBuffer() { return FLineBuffer; }
  const RawByteString& LineBuffer() const { return FLineBuffer; }
  void SetLineBuffer(const RawByteString& AValue) { FLineBuffer = AValue; }
  bool RaiseExcept() const { return FRaiseExcept; }
  void SetRaiseExcept(bool AValue) { FRaiseExcept = AValue; }
  bool TestDSR() const { return FTestDSR; }
  void SetTestDSR(bool AValue) { FTestDSR = AValue; }
  bool TestCTS() const { return FTestCTS; }
  void SetTestCTS(bool AValue) { FTestCTS = AValue; }
  int MaxLineLength() const { return FMaxLineLength; }
  void SetMaxLineLength(int AValue) { FMaxLineLength = AValue; }
  int DeadlockTimeout() const { return FDeadlockTimeout; }
  void SetDeadlockTimeout(int AValue) { FDeadlockTimeout = AValue; }
  bool LinuxLock() const { return FLinuxLock; }
  void SetLinuxLock(bool AValue) { FLinuxLock = AValue; }
  bool ConvertLineEnd() const { return FConvertLineEnd; }
  void SetConvertLineEnd(bool AValue) { FConvertLineEnd = AValue; }
  int AtTimeout() const { return FAtTimeout; }
  void SetAtTimeout(int AValue) { FAtTimeout = AValue; }
  bool InterPacketTimeout() const { return FInterPacketTimeout; }
  void SetInterPacketTimeout(bool AValue) { FInterPacketTimeout = AValue; }
  bool ATResult() const { return FATResult; }
  bool InstanceActive() const { return FInstanceActive; }
  int MaxSendBandwidth() const { return FMaxSendBandwidth; }
  void SetMaxSendBandwidth(int AValue) { FMaxSendBandwidth = AValue; }
  int MaxRecvBandwidth() const { return FMaxRecvBandwidth; }
  void SetMaxRecvBandwidth(int AValue) { FMaxRecvBandwidth = AValue; }
  int SizeRecvBuffer() const { return FRecvBufferSize; }
  int Tag() const { return FTag; }
  void SetTag(int AValue) { FTag = AValue; }

  // Events
  THookSerialStatus OnStatus() const { return FOnStatus; }
  void SetOnStatus(THookSerialStatus AValue) { FOnStatus = AValue; }

 protected:
  // Overridables, in their fixed order.
  // Reads and clears the port's error flags and turns them into LastError.
  virtual void MapCommErrors();
  virtual int QueryPortAddress();
  virtual bool IsTransmitterEmpty();

 public:
  virtual void SetSizeRecvBuffer(int AValue);
  virtual bool DSR();
  virtual void SetDTR(bool AValue);
  virtual bool CTS();
  virtual void SetRTS(bool AValue);
  virtual bool Carrier();
  virtual bool Ring();

 protected:
  virtual void ReportStatus(THookSerialReason AReason, const String& AValue);
  // The port number of a port name: COMn gives n - 1, /dev/ttySn gives n;
  // below 0 when the name carries no number.
  virtual int ParsePortNumber(const String& AName);
  // True (with LastError set) when no transfer may happen now.
  virtual bool NotReadyForIo();
  virtual bool LinesReady();
  // Waits until ANextTime and books the time ALength bytes take at ALimit
  // bytes per second.
  virtual void ThrottleTransfer(int ALength, int ALimit, std::uint32_t& ANextTime);

 public:
  // The device-control record that SetCommState writes.
  const DCB& DeviceControl() const { return FDCB; }
  virtual void SetMaxBandwidth(int AValue);

  // Operations
  virtual String GetVersion();
  virtual void CloseSocket();
  virtual void Config(int ABaud, int ABits, char AParity, int AStop, bool ASoftFlow, bool AHardFlow);
  virtual void Connect(const String& ACommPort);
  virtual void SetCommState();
  virtual void GetCommState();
  virtual int SendBuffer(const void* ABuffer, int ALength);
  virtual void SendByte(std::uint8_t AData);
  virtual void SendString(const RawByteString& AData);
  virtual void SendInteger(std::int32_t AData);
  virtual void SendBlock(const RawByteString& AData);
  virtual void SendStreamRaw(TStream* AStream);
  virtual void SendStream(TStream* AStream);
  virtual void SendStreamIndy(TStream* AStream);
  virtual int RecvBuffer(void* ABuffer, int ALength);
  virtual int RecvBufferEx(void* ABuffer, int ALength, int ATimeout);
  virtual RawByteString RecvBufferStr(int ALength, int ATimeout);
  virtual RawByteString RecvPacket(int ATimeout);
  virtual std::uint8_t RecvByte(int ATimeout);
  virtual RawByteString RecvTerminated(int ATimeout, const RawByteString& ATerminator);
  virtual RawByteString Recvstring(int ATimeout);
  virtual std::int32_t RecvInteger(int ATimeout);
  virtual RawByteString RecvBlock(int ATimeout);
  virtual void RecvStreamRaw(TStream* AStream, int ATimeout);
  virtual void RecvStreamSize(TStream* AStream, int ATimeout, std::int64_t ASize);
  virtual void RecvStream(TStream* AStream, int ATimeout);
  virtual void RecvStreamIndy(TStream* AStream, int ATimeout);
  virtual int WaitingData();
  virtual int WaitingDataEx();
  virtual int SendingData();
  virtual void EnableRTSToggle(bool AValue);
  virtual void Flush();
  virtual void Purge();
  virtual bool CanRead(int ATimeout);
  virtual bool CanWrite(int ATimeout);
  virtual bool CanReadEx(int ATimeout);
  virtual DWORD ModemStatus();
  virtual void SetBreak(int ADuration);
  virtual RawByteString ATCommand(const RawByteString& AValue);
  virtual RawByteString ATConnect(const RawByteString& AValue);
  // LastError := 0 for a result other than -1, else the system's last error.
  virtual void SerialCheck(int AResult);
  virtual void ExceptCheck();
  virtual void SetSerialError(int AErrorCode);
  virtual void RaiseSerialError(int AErrorCode);

 private:
  enum class TIoKind { Read, Write };
  // One overlapped transfer, waited for up to DeadlockTimeout.
  int OverlappedTransfer(TIoKind AKind, void* ABuffer, int ALength);
  // Waits for one of the port's events (EV_...) up to ATimeout.
  bool WaitCommEventFor(DWORD AMask, int ATimeout);
  HANDLE TransferEvent(TKernelHandle& AEvent);
  void CloseEvents();
  // Collects packets until ADone says the collection is complete; false
  // when an error (LastError) ended it first.
  template <class F>
  bool CollectPackets(RawByteString& AData, int ATimeout, F&& ADone);
  RawByteString ReceiveLine(int ATimeout, const RawByteString& ATerminator);

  HANDLE FHandle;
  String FDevice;
  int FLastError;
  RawByteString FLineBuffer;
  bool FRaiseExcept;
  bool FTestDSR;
  bool FTestCTS;
  int FMaxLineLength;
  int FDeadlockTimeout;
  bool FLinuxLock;
  bool FConvertLineEnd;
  int FAtTimeout;
  bool FInterPacketTimeout;
  bool FATResult;
  bool FInstanceActive;
  int FMaxSendBandwidth;
  int FMaxRecvBandwidth;
  int FRecvBufferSize;
  int FTag;
  THookSerialStatus FOnStatus;

  int FPortNumber;
  int FPortAddress;
  DCB FDCB;
  DWORD FModemWord;
  bool FRTSToggle;
  std::uint32_t FNextSend;
  std::uint32_t FNextRecv;
  // A line ended by a lone CR or LF: the LF or CR that may follow at the
  // start of the next line belongs to that break.
  bool FLastCR;
  bool FLastLF;
  // The driver ends every event wait at once without an event; the queues
  // are then watched instead.
  bool FEventsUnsupported;
  // Manual-reset events of the overlapped transfers, made on first use.
  TKernelHandle FReadEvent;
  TKernelHandle FWriteEvent;
  TKernelHandle FCommEvent;
};
