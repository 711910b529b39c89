#include "platform/classes/Streams.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

const wchar_t* const SMemoryStreamError =
    L"Expandieren des Speicher-Stream wegen Speichermangel nicht möglich";

namespace {

// The system's text for an error code, without the trailing line break.
String SystemErrorText(DWORD ACode) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, ACode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String text = n && buffer ? String(buffer, n) : String();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = Format(L"Systemfehler %u", {static_cast<unsigned>(ACode)});
  return text;
}


constexpr std::int64_t MemoryDelta = 0x2000;

void CheckArrayRange(const TBytes& ABuffer, int AOffset, int ACount) {
  if (AOffset < 0 || ACount < 0 ||
      static_cast<std::size_t>(AOffset) + static_cast<std::size_t>(ACount) > ABuffer.size())
    throw EStreamError(L"Bereich außerhalb des Byte-Arrays (Position %d, Anzahl %d)", {AOffset, ACount});
}

}  // namespace

// ---------------------------------------------------------------------------
// TStream

std::int64_t TStream::Position() const { return const_cast<TStream*>(this)->Seek(0, soCurrent); }

void TStream::SetSize(std::int64_t) {}

std::int64_t TStream::GetSize() const {
  TStream* self = const_cast<TStream*>(this);
  const std::int64_t position = self->Seek(0, soCurrent);
  const std::int64_t size = self->Seek(0, soEnd);
  self->Seek(position, soBeginning);
  return size;
}

int TStream::ReadBytes(TBytes& ABuffer, int AOffset, int ACount) {
  CheckArrayRange(ABuffer, AOffset, ACount);
  return ACount ? Read(ABuffer.data() + AOffset, ACount) : 0;
}

int TStream::WriteBytes(const TBytes& ABuffer, int AOffset, int ACount) {
  CheckArrayRange(ABuffer, AOffset, ACount);
  return ACount ? Write(ABuffer.data() + AOffset, ACount) : 0;
}

void TStream::ReadBuffer(void* ABuffer, std::int64_t ACount) {
  if (ACount < 0) throw EReadError(L"Stream-Lesefehler (Anzahl %d)", {ACount});
  auto* p = static_cast<std::uint8_t*>(ABuffer);
  while (ACount > 0) {
    const int n = Read(p, static_cast<int>(std::min<std::int64_t>(ACount, INT_MAX)));
    if (n <= 0) throw EReadError(L"Stream-Lesefehler");
    p += n;
    ACount -= n;
  }
}

void TStream::WriteBuffer(const void* ABuffer, std::int64_t ACount) {
  if (ACount < 0) throw EWriteError(L"Stream-Schreibfehler (Anzahl %d)", {ACount});
  const auto* p = static_cast<const std::uint8_t*>(ABuffer);
  while (ACount > 0) {
    const int n = Write(p, static_cast<int>(std::min<std::int64_t>(ACount, INT_MAX)));
    if (n <= 0) throw EWriteError(L"Stream-Schreibfehler");
    p += n;
    ACount -= n;
  }
}

std::int64_t TStream::CopyFrom(TStream* ASource, std::int64_t ACount) {
  if (ACount < 0) throw EStreamError(L"Ungültige Anzahl zu kopierender Bytes (%d)", {ACount});
  if (ACount == 0) {
    ASource->SetPosition(0);
    ACount = ASource->Size();
  }
  constexpr std::int64_t MaxBufferSize = 0x10000;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::clamp<std::int64_t>(ACount, 1, MaxBufferSize)));
  std::int64_t left = ACount;
  while (left > 0) {
    const auto n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
    ASource->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return ACount;
}

// ---------------------------------------------------------------------------
// THandleStream

int THandleStream::Read(void* ABuffer, int ACount) {
  if (ACount <= 0) return 0;
  DWORD n = 0;
  if (!::ReadFile(FHandle, ABuffer, static_cast<DWORD>(ACount), &n, nullptr)) return 0;
  return static_cast<int>(n);
}

int THandleStream::Write(const void* ABuffer, int ACount) {
  if (ACount <= 0) return 0;
  DWORD n = 0;
  if (!::WriteFile(FHandle, ABuffer, static_cast<DWORD>(ACount), &n, nullptr)) return 0;
  return static_cast<int>(n);
}

std::int64_t THandleStream::Seek(std::int64_t AOffset, TSeekOrigin AOrigin) {
  static constexpr DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance;
  distance.QuadPart = AOffset;
  LARGE_INTEGER result{};
  if (AOrigin < soBeginning || AOrigin > soEnd || !::SetFilePointerEx(FHandle, distance, &result, methods[AOrigin]))
    throw EStreamError(L"Stream-Position %d kann nicht gesetzt werden. %s",
                       {AOffset, SystemErrorText(::GetLastError())});
  return result.QuadPart;
}

std::int64_t THandleStream::GetSize() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(FHandle, &size))
    throw EStreamError(L"Die Stream-Größe ist nicht lesbar. %s", {SystemErrorText(::GetLastError())});
  return size.QuadPart;
}

void THandleStream::SetSize(std::int64_t ANewSize) {
  const std::int64_t position = Position();
  Seek(ANewSize, soBeginning);
  if (!::SetEndOfFile(FHandle)) {
    const DWORD error = ::GetLastError();
    Seek(position, soBeginning);
    throw EStreamError(L"Die Stream-Größe kann nicht auf %d gesetzt werden. %s", {ANewSize, SystemErrorText(error)});
  }
  if (position < ANewSize) Seek(position, soBeginning);
}

// ---------------------------------------------------------------------------
// TFileStream

void TFileStream::Create(const String& AFileName, std::uint16_t AMode) {
  FFileName = AFileName;
  FHandle = INVALID_HANDLE_VALUE;
  DWORD share;
  switch (AMode & 0x00F0) {
    case fmShareCompat: case fmShareExclusive: share = 0; break;
    case fmShareDenyWrite: share = FILE_SHARE_READ; break;
    case fmShareDenyRead: share = FILE_SHARE_WRITE; break;
    case fmShareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default:
      throw EFOpenError(L"Datei %s kann nicht geöffnet werden. Ungültiger Modus $%x", {AFileName, unsigned(AMode)});
  }
  if ((AMode & fmCreate) == fmCreate) {
    const DWORD disposition = (AMode & fmExclusive) ? CREATE_NEW : CREATE_ALWAYS;
    FHandle = ::CreateFileW(AFileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
      throw EFCreateError(L"Datei %s kann nicht erstellt werden. %s", {AFileName, SystemErrorText(::GetLastError())});
    return;
  }
  DWORD access;
  switch (AMode & 0x0003) {
    case fmOpenRead: access = GENERIC_READ; break;
    case fmOpenWrite: access = GENERIC_WRITE; break;
    case fmOpenReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default:
      throw EFOpenError(L"Datei %s kann nicht geöffnet werden. Ungültiger Modus $%x", {AFileName, unsigned(AMode)});
  }
  FHandle = ::CreateFileW(AFileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE)
    throw EFOpenError(L"Datei %s kann nicht geöffnet werden. %s", {AFileName, SystemErrorText(::GetLastError())});
}

void TFileStream::Destroy() {
  if (FHandle && FHandle != INVALID_HANDLE_VALUE) ::CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// TCustomMemoryStream

int TCustomMemoryStream::Read(void* ABuffer, int ACount) {
  if (ACount <= 0 || FPosition >= FSize) return 0;
  const auto n = static_cast<int>(std::min<std::int64_t>(ACount, FSize - FPosition));
  std::memcpy(ABuffer, static_cast<const std::uint8_t*>(FMemory) + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t AOffset, TSeekOrigin AOrigin) {
  std::int64_t base = 0;
  switch (AOrigin) {
    case soBeginning: base = 0; break;
    case soCurrent: base = FPosition; break;
    case soEnd: base = FSize; break;
    default: throw EStreamError(L"Ungültiger Bezugspunkt für die Stream-Position (%d)", {int(AOrigin)});
  }
  if ((AOffset < 0 && base + AOffset < 0) || (AOffset > 0 && base > INT64_MAX - AOffset))
    throw EStreamError(L"Ungültige Stream-Position (%d)", {AOffset < 0 ? base + AOffset : AOffset});
  FPosition = base + AOffset;
  return FPosition;
}

void TCustomMemoryStream::SetPointer(void* APtr, std::int64_t ASize) {
  FMemory = APtr;
  FSize = ASize;
}

void TCustomMemoryStream::SaveToStream(TStream* AStream) {
  if (FSize > 0) AStream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmCreate));
  SaveToStream(file.get());
}

// ---------------------------------------------------------------------------
// TMemoryStream

void TMemoryStream::Destroy() {
  Clear();
  inherited::Destroy();
}

void TMemoryStream::SetCapacity(std::int64_t ANewCapacity) {
  if (ANewCapacity < 0) throw EStreamError(L"Ungültige Kapazität des Speicher-Stream (%d)", {ANewCapacity});
  void* memory = Realloc(ANewCapacity);
  SetPointer(memory, std::min(Size(), ANewCapacity));
  FCapacity = ANewCapacity;
}

void* TMemoryStream::Realloc(std::int64_t& ANewCapacity) {
  if (ANewCapacity > 0 && ANewCapacity != Size())
    ANewCapacity = (ANewCapacity + (MemoryDelta - 1)) & ~(MemoryDelta - 1);
  if (ANewCapacity == FCapacity) return Memory();
  if (ANewCapacity == 0) {
    std::free(Memory());
    return nullptr;
  }
  if (static_cast<std::uint64_t>(ANewCapacity) > SIZE_MAX) throw EStreamError(SMemoryStreamError);
  void* memory = std::realloc(Memory(), static_cast<std::size_t>(ANewCapacity));
  if (!memory) throw EStreamError(SMemoryStreamError);
  return memory;
}

int TMemoryStream::Write(const void* ABuffer, int ACount) {
  if (ACount <= 0) return 0;
  if (FPosition > INT64_MAX - ACount) throw EStreamError(SMemoryStreamError);
  const std::int64_t end = FPosition + ACount;
  const std::int64_t size = Size();
  if (end > size) {
    // Grow by at least half the capacity so that many small writes stay linear.
    if (end > FCapacity) SetCapacity(std::max(end, FCapacity + FCapacity / 2));
    auto* memory = static_cast<std::uint8_t*>(Memory());
    if (FPosition > size) std::memset(memory + size, 0, static_cast<std::size_t>(FPosition - size));
    SetPointer(memory, end);
  }
  std::memcpy(static_cast<std::uint8_t*>(Memory()) + FPosition, ABuffer, static_cast<std::size_t>(ACount));
  FPosition = end;
  return ACount;
}

void TMemoryStream::SetSize(std::int64_t ANewSize) {
  if (ANewSize < 0) throw EStreamError(L"Ungültige Größe des Speicher-Stream (%d)", {ANewSize});
  const std::int64_t oldSize = Size();
  SetCapacity(ANewSize);
  auto* memory = static_cast<std::uint8_t*>(Memory());
  if (ANewSize > oldSize) std::memset(memory + oldSize, 0, static_cast<std::size_t>(ANewSize - oldSize));
  SetPointer(memory, ANewSize);
  if (FPosition > ANewSize) FPosition = ANewSize;
}

void TMemoryStream::Clear() {
  SetCapacity(0);
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* AStream) {
  AStream->SetPosition(0);
  const std::int64_t count = AStream->Size();
  SetSize(count);
  if (count) AStream->ReadBuffer(Memory(), count);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(file.get());
}

// ---------------------------------------------------------------------------
// TBytesStream

void TBytesStream::Create(const TBytes& ABytes) {
  FBytes = ABytes;
  FCapacity = static_cast<std::int64_t>(FBytes.size());
  SetPointer(FBytes.empty() ? nullptr : FBytes.data(), FCapacity);
}

void* TBytesStream::Realloc(std::int64_t& ANewCapacity) {
  if (static_cast<std::uint64_t>(ANewCapacity) > FBytes.max_size()) throw EStreamError(SMemoryStreamError);
  try {
    FBytes.resize(static_cast<std::size_t>(ANewCapacity));
    if (ANewCapacity == 0) FBytes.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    throw EStreamError(SMemoryStreamError);
  }
  return FBytes.empty() ? nullptr : FBytes.data();
}

// ---------------------------------------------------------------------------
// TStringStream

void TStringStream::Create(const String& AString, TEncoding* AEncoding) {
  FEncoding = AEncoding ? AEncoding : TEncoding::Default();
  TBytesStream::Create(FEncoding->GetBytes(AString));
}

void TStringStream::Create(const TBytes& ABytes, TEncoding* AEncoding) {
  FEncoding = AEncoding ? AEncoding : TEncoding::Default();
  TBytesStream::Create(ABytes);
}

String TStringStream::DataString() const {
  return FEncoding->GetString(static_cast<const std::uint8_t*>(Memory()), static_cast<std::size_t>(Size()));
}

String TStringStream::ReadString(int ACount) {
  const std::int64_t available = std::max<std::int64_t>(0, Size() - FPosition);
  const std::int64_t n = std::clamp<std::int64_t>(ACount, 0, available);
  if (n == 0) return String();
  String result = FEncoding->GetString(static_cast<const std::uint8_t*>(Memory()) + FPosition,
                                       static_cast<std::size_t>(n));
  FPosition += n;
  return result;
}

void TStringStream::WriteString(const String& AString) {
  const TBytes bytes = FEncoding->GetBytes(AString);
  WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// ---------------------------------------------------------------------------
// TResourceStream

void TResourceStream::Create(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType) {
  Initialize(AInstance, AResName.c_str(), AResType, AResName);
}

void TResourceStream::Create(HINSTANCE AInstance, int AResID, const wchar_t* AResType) {
  if (AResID <= 0 || AResID > 0xFFFF) throw EResNotFound(L"Ressource %d nicht gefunden", {AResID});
  Initialize(AInstance, MAKEINTRESOURCEW(AResID), AResType, Format(L"%d", {AResID}));
}

void TResourceStream::Initialize(HINSTANCE AInstance, const wchar_t* AName, const wchar_t* AResType,
                                 const String& AShownName) {
  if (!AInstance) AInstance = ::GetModuleHandleW(nullptr);
  HRSRC info = ::FindResourceW(AInstance, AName, AResType);
  HGLOBAL handle = info ? ::LoadResource(AInstance, info) : nullptr;
  void* data = handle ? ::LockResource(handle) : nullptr;
  if (!data) throw EResNotFound(L"Ressource %s nicht gefunden", {AShownName});
  SetPointer(data, ::SizeofResource(AInstance, info));
}

int TResourceStream::Write(const void*, int) {
  throw EStreamError(L"In einen Ressourcen-Stream kann nicht geschrieben werden");
}

void TResourceStream::SetSize(std::int64_t) {
  throw EStreamError(L"Die Größe eines Ressourcen-Stream kann nicht geändert werden");
}

// ---------------------------------------------------------------------------
// TStreamAdapter

void TStreamAdapter::Create(TStream* AStream, TStreamOwnership AOwnership) {
  FStream = AStream;
  FOwnership = AOwnership;
  FRefCount = 1;
}

void TStreamAdapter::Destroy() {
  if (FOwnership == soOwned) FreeAndNil(FStream);
  inherited::Destroy();
}

HRESULT TStreamAdapter::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  if (AIID == IID_IUnknown || AIID == IID_ISequentialStream || AIID == IID_IStream) {
    *AObj = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *AObj = nullptr;
  return E_NOINTERFACE;
}

ULONG TStreamAdapter::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&FRefCount)); }

ULONG TStreamAdapter::Release() {
  const LONG result = InterlockedDecrement(&FRefCount);
  if (result == 0) Free();
  return static_cast<ULONG>(result);
}

namespace {

// No exception crosses the COM boundary: a call that raises answers AFailure.
template <class F>
HRESULT AnswerOrFail(HRESULT AFailure, F&& ACall) noexcept {
  try {
    return ACall();
  } catch (...) {
    return AFailure;
  }
}

}  // namespace

HRESULT TStreamAdapter::Read(void* ABuffer, ULONG ACount, ULONG* ARead) {
  if (ARead) *ARead = 0;
  if (!ABuffer) return STG_E_INVALIDPOINTER;
  return AnswerOrFail(STG_E_READFAULT, [&]() -> HRESULT {
    const int n = std::max(0, FStream->Read(ABuffer, static_cast<int>(std::min<ULONG>(ACount, INT_MAX))));
    if (ARead) *ARead = static_cast<ULONG>(n);
    return static_cast<ULONG>(n) == ACount ? S_OK : S_FALSE;
  });
}

HRESULT TStreamAdapter::Write(const void* ABuffer, ULONG ACount, ULONG* AWritten) {
  if (AWritten) *AWritten = 0;
  if (!ABuffer) return STG_E_INVALIDPOINTER;
  return AnswerOrFail(STG_E_CANTSAVE, [&]() -> HRESULT {
    const int n = std::max(0, FStream->Write(ABuffer, static_cast<int>(std::min<ULONG>(ACount, INT_MAX))));
    if (AWritten) *AWritten = static_cast<ULONG>(n);
    return static_cast<ULONG>(n) == ACount ? S_OK : STG_E_CANTSAVE;
  });
}

HRESULT TStreamAdapter::Seek(LARGE_INTEGER AMove, DWORD AOrigin, ULARGE_INTEGER* ANewPosition) {
  if (AOrigin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  return AnswerOrFail(STG_E_INVALIDFUNCTION, [&]() -> HRESULT {
    const TSeekOrigin origin = AOrigin == STREAM_SEEK_SET ? soBeginning : AOrigin == STREAM_SEEK_CUR ? soCurrent : soEnd;
    const std::int64_t position = FStream->Seek(AMove.QuadPart, origin);
    if (ANewPosition) ANewPosition->QuadPart = static_cast<ULONGLONG>(position);
    return S_OK;
  });
}

HRESULT TStreamAdapter::SetSize(ULARGE_INTEGER ANewSize) {
  if (ANewSize.QuadPart > static_cast<ULONGLONG>(INT64_MAX)) return STG_E_INVALIDFUNCTION;
  return AnswerOrFail(E_FAIL, [&]() -> HRESULT {
    FStream->SetSize(static_cast<std::int64_t>(ANewSize.QuadPart));
    return S_OK;
  });
}

HRESULT TStreamAdapter::CopyTo(IStream* ADest, ULARGE_INTEGER ACount, ULARGE_INTEGER* ARead,
                               ULARGE_INTEGER* AWritten) {
  if (ARead) ARead->QuadPart = 0;
  if (AWritten) AWritten->QuadPart = 0;
  if (!ADest) return STG_E_INVALIDPOINTER;
  return AnswerOrFail(STG_E_READFAULT, [&]() -> HRESULT {
    std::vector<std::uint8_t> buffer(0x10000);
    ULONGLONG left = ACount.QuadPart;
    while (left > 0) {
      const int n = FStream->Read(buffer.data(), static_cast<int>(std::min<ULONGLONG>(left, buffer.size())));
      if (n <= 0) break;
      if (ARead) ARead->QuadPart += static_cast<ULONGLONG>(n);
      ULONG written = 0;
      const HRESULT status = ADest->Write(buffer.data(), static_cast<ULONG>(n), &written);
      if (AWritten) AWritten->QuadPart += written;
      if (FAILED(status)) return status;
      if (written != static_cast<ULONG>(n)) return STG_E_MEDIUMFULL;
      left -= static_cast<ULONGLONG>(n);
    }
    return S_OK;
  });
}

HRESULT TStreamAdapter::Commit(DWORD) { return S_OK; }
HRESULT TStreamAdapter::Revert() { return STG_E_REVERTED; }
HRESULT TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT TStreamAdapter::Stat(STATSTG* AStatStg, DWORD) {
  if (!AStatStg) return STG_E_INVALIDPOINTER;
  return AnswerOrFail(E_UNEXPECTED, [&]() -> HRESULT {
    *AStatStg = STATSTG{};
    AStatStg->type = STGTY_STREAM;
    AStatStg->cbSize.QuadPart = static_cast<ULONGLONG>(FStream->Size());
    return S_OK;
  });
}

HRESULT TStreamAdapter::Clone(IStream** AStream) {
  if (AStream) *AStream = nullptr;
  return E_NOTIMPL;
}
