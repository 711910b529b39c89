#include "platform/runtime/TextFiles.h"

#include <algorithm>

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kCtrlZ = 26;
}  // namespace

TTextFile::~TTextFile() {
  if (FMode == TMode::Output) {
    try {
      FlushOutput();
    } catch (...) {
      // A destructor cannot report; Close reports write errors.
    }
  }
  CloseHandleOnly();
}

void TTextFile::Assign(const String& AFileName) {
  if (IsOpen()) {
    if (FMode == TMode::Output) FlushOutput();
    CloseHandleOnly();
  }
  FFileName = AFileName;
  FAssigned = true;
}

void TTextFile::Open(TMode AMode, DWORD ACreation, bool AAtEnd) {
  if (!FAssigned) RaiseInOutError(ioFileNotAssigned);
  if (IsOpen()) {
    if (FMode == TMode::Output) FlushOutput();
    CloseHandleOnly();
  }
  const DWORD access = AMode == TMode::Input ? GENERIC_READ : GENERIC_WRITE;
  const DWORD flags = AMode == TMode::Input ? FILE_FLAG_SEQUENTIAL_SCAN : 0;
  TKernelHandle handle(CreateFileW(FFileName.c_str(), access,
                                   FILE_SHARE_READ | (AMode == TMode::Input ? FILE_SHARE_WRITE : 0), nullptr,
                                   ACreation, FILE_ATTRIBUTE_NORMAL | flags, nullptr));
  if (!handle) {
    const DWORD error = GetLastError();
    RaiseInOutError(error ? static_cast<int>(error) : ERROR_FILE_NOT_FOUND);
  }
  if (AAtEnd && SetFilePointer(handle.Get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR)
    RaiseInOutError(static_cast<int>(GetLastError()));
  FHandle = std::move(handle);
  FMode = AMode;
  FBuffer.clear();
  FBufferPos = 0;
  FAtEnd = false;
  FLineTruncated = false;
}

void TTextFile::Reset() { Open(TMode::Input, OPEN_EXISTING, false); }
void TTextFile::Rewrite() { Open(TMode::Output, CREATE_ALWAYS, false); }
void TTextFile::Append() { Open(TMode::Output, OPEN_ALWAYS, true); }

void TTextFile::Close() {
  if (!IsOpen()) RaiseInOutError(ioFileNotOpen);
  TScopeExit close([this] { CloseHandleOnly(); });
  if (FMode == TMode::Output) FlushOutput();
}

void TTextFile::CloseHandleOnly() noexcept {
  FHandle.Reset();
  FMode = TMode::Closed;
  FBuffer.clear();
  FBufferPos = 0;
}

void TTextFile::CheckInput() const {
  if (!IsOpen()) RaiseInOutError(ioFileNotOpen);
  if (FMode != TMode::Input) RaiseInOutError(ioNotOpenForInput);
}

void TTextFile::CheckOutput() const {
  if (!IsOpen()) RaiseInOutError(ioFileNotOpen);
  if (FMode != TMode::Output) RaiseInOutError(ioNotOpenForOutput);
}

// Reads the next block; false at the end of the file.
bool TTextFile::Fill() {
  if (FAtEnd) return false;
  FBuffer.resize(kBufferSize);
  DWORD read = 0;
  if (!ReadFile(FHandle.Get(), FBuffer.data(), static_cast<DWORD>(FBuffer.size()), &read, nullptr)) {
    FBuffer.clear();
    FBufferPos = 0;
    RaiseInOutError(ioReadError);
  }
  FBuffer.resize(read);
  FBufferPos = 0;
  // A Ctrl+Z ends the text; what follows it is never read.
  const std::size_t mark = FBuffer.find(kCtrlZ);
  if (mark != std::string::npos) {
    FBuffer.resize(mark);
    FAtEnd = true;
  }
  if (read == 0) FAtEnd = true;
  return !FBuffer.empty();
}

int TTextFile::PeekByte() {
  while (FBufferPos >= FBuffer.size())
    if (!Fill()) return -1;
  return static_cast<unsigned char>(FBuffer[FBufferPos]);
}

bool TTextFile::Eof() {
  CheckInput();
  return PeekByte() < 0;
}

void TTextFile::ReadLn(String& ALine) {
  CheckInput();
  std::string bytes;
  FLineTruncated = false;
  bool ended = false;
  while (!ended && PeekByte() >= 0) {
    // Take the run up to the next line end from the buffer at once.
    const std::size_t start = FBufferPos;
    std::size_t end = start;
    while (end < FBuffer.size() && FBuffer[end] != '\r' && FBuffer[end] != '\n') ++end;
    const std::size_t room = FMaxLineLength > bytes.size() ? FMaxLineLength - bytes.size() : 0;
    const std::size_t take = std::min(end - start, room);
    bytes.append(FBuffer, start, take);
    if (take < end - start) FLineTruncated = true;
    FBufferPos = end;
    if (end < FBuffer.size()) {
      const char c = FBuffer[FBufferPos++];
      ended = true;
      if (c == '\r' && PeekByte() == '\n') ++FBufferPos;
    }
  }
  ALine = AnsiToString(bytes, FCodePage);
}

String TTextFile::ReadLn() {
  String line;
  ReadLn(line);
  return line;
}

void TTextFile::Write(const String& AText) {
  CheckOutput();
  FBuffer += StringToAnsi(AText, FCodePage);
  if (FBuffer.size() >= kBufferSize) FlushOutput();
}

void TTextFile::WriteLn(const String& AText) {
  Write(AText);
  FBuffer += "\r\n";
  if (FBuffer.size() >= kBufferSize) FlushOutput();
}

void TTextFile::FlushOutput() {
  std::size_t done = 0;
  while (done < FBuffer.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(FBuffer.size() - done, 1 << 30));
    if (!WriteFile(FHandle.Get(), FBuffer.data() + done, chunk, &written, nullptr) || written == 0) {
      FBuffer.erase(0, done);
      RaiseInOutError(ioWriteError);
    }
    done += written;
  }
  FBuffer.clear();
}

void AssignFile(TTextFile& AFile, const String& AFileName) { AFile.Assign(AFileName); }
void Reset(TTextFile& AFile) { AFile.Reset(); }
void Rewrite(TTextFile& AFile) { AFile.Rewrite(); }
void Append(TTextFile& AFile) { AFile.Append(); }
void CloseFile(TTextFile& AFile) { AFile.Close(); }
void ReadLn(TTextFile& AFile, String& ALine) { AFile.ReadLn(ALine); }
void WriteLn(TTextFile& AFile, const String& AText) { AFile.WriteLn(AText); }
bool Eof(TTextFile& AFile) { return AFile.Eof(); }
