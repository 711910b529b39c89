// The library's streams.
#include "library/core/base/dxCoreClasses.h"

#include "platform/runtime/SyncObjs.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const wchar_t* const SReadOnlyStream = L"You cannot modify read-only stream";

// Where a seek lands in a stream of ASize bytes positioned at ACurrent:
// clamped to 0..ASize.
std::int64_t ClampedSeekTarget(std::int64_t AOffset, TSeekOrigin AOrigin, std::int64_t ACurrent, std::int64_t ASize) {
  std::int64_t position = AOffset;
  if (AOrigin == soCurrent) position = ACurrent + AOffset;
  else if (AOrigin == soEnd) position = ASize + AOffset;
  return std::clamp<std::int64_t>(position, 0, ASize);
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxMemoryStream

void TdxMemoryStream::Create(const TBytes& AContent, int AOffset, int ACount) {
  if (AOffset < 0 || ACount < 0 || static_cast<std::int64_t>(AOffset) + ACount > static_cast<std::int64_t>(AContent.size()))
    throw EStreamError(L"Bereich außerhalb des Byte-Arrays (%d, %d)", {AOffset, ACount});
  if (ACount > 0) WriteBuffer(AContent.data() + AOffset, ACount);
  SetPosition(0);
}

void TdxMemoryStream::LoadFromFile(const String& AFileName, std::uint16_t AMode) {
  const TOwned<TFileStream> file(New<TFileStream>(AFileName, AMode));
  LoadFromStream(file.get());
}

std::uint8_t TdxMemoryStream::ReadByte() {
  std::uint8_t value;
  ReadBuffer(&value, 1);
  return value;
}

std::int32_t TdxMemoryStream::ReadInteger() {
  std::uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                   static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

void TdxMemoryStream::WriteInteger(std::int32_t AValue) {
  const auto u = static_cast<std::uint32_t>(AValue);
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                             static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
  WriteBuffer(b, 4);
}

void TdxMemoryStream::WriteByteArray(const TBytes& AValue) {
  if (!AValue.empty()) WriteBuffer(AValue.data(), static_cast<std::int64_t>(AValue.size()));
}

TBytes TdxMemoryStream::ToArray() const {
  const auto* memory = static_cast<const std::uint8_t*>(Memory());
  return memory ? TBytes(memory, memory + Size()) : TBytes();
}

void* TdxMemoryStream::Realloc(std::int64_t& ANewCapacity) {
  if (ANewCapacity > 0 && ANewCapacity != Size())
    ANewCapacity = (ANewCapacity + (GrowthStep - 1)) & ~(GrowthStep - 1);
  void* memory = Memory();
  if (ANewCapacity == FCapacity) return memory;
  if (ANewCapacity == 0) {
    std::free(memory);
    return nullptr;
  }
  if (static_cast<std::uint64_t>(ANewCapacity) > SIZE_MAX) throw EStreamError(String(SMemoryStreamError));
  const auto size = static_cast<std::size_t>(ANewCapacity);
  void* result = memory ? std::realloc(memory, size) : std::calloc(size, 1);
  if (!result) throw EStreamError(String(SMemoryStreamError));
  return result;
}

// ---------------------------------------------------------------------------
// TdxReadOnlySubStream

void TdxReadOnlySubStream::Create(TStream* ASource, std::int64_t AOffset, std::int64_t ASize,
                                  TStreamOwnership ASourceOwnership) {
  FSource = ASource;
  FSourceOwnership = ASourceOwnership;
  const std::int64_t sourceSize = ASource ? ASource->Size() : 0;
  FOffset = std::clamp<std::int64_t>(AOffset, 0, sourceSize);
  FSize = std::clamp<std::int64_t>(ASize, 0, sourceSize - FOffset);
  FPosition = 0;
}

void TdxReadOnlySubStream::Destroy() {
  if (FSourceOwnership == soOwned && FSource) FreeAndNil(FSource);
  inherited::Destroy();
}

int TdxReadOnlySubStream::Read(void* ABuffer, int ACount) {
  const std::int64_t wanted = std::min<std::int64_t>(std::max(ACount, 0), FSize - FPosition);
  if (wanted <= 0) return 0;
  TMonitorLock lock(FSource);
  FSource->SetPosition(FOffset + FPosition);
  const int read = FSource->Read(ABuffer, static_cast<int>(wanted));
  if (read > 0) FPosition += read;
  return std::max(read, 0);
}

int TdxReadOnlySubStream::Write(const void*, int) { throw EInvalidOperation(String(SReadOnlyStream)); }

void TdxReadOnlySubStream::SetSize(std::int64_t) { throw EInvalidOperation(String(SReadOnlyStream)); }

std::int64_t TdxReadOnlySubStream::Seek(std::int64_t AOffset, TSeekOrigin AOrigin) {
  FPosition = ClampedSeekTarget(AOffset, AOrigin, FPosition, FSize);
  return FPosition;
}

// ---------------------------------------------------------------------------
// TdxHGlobalReadOnlyStream

void TdxHGlobalReadOnlyStream::Create(HGLOBAL AData, TStreamOwnership ADataOwnership) {
  void* memory = AData ? GlobalLock(AData) : nullptr;
  if (!memory) throw EStreamError(String(L"Der globale Speicherblock kann nicht gelesen werden"));
  FData = AData;
  FDataOwnership = ADataOwnership;
  SetPointer(memory, static_cast<std::int64_t>(GlobalSize(AData)));
}

void TdxHGlobalReadOnlyStream::Destroy() {
  if (FData) {
    GlobalUnlock(FData);
    if (FDataOwnership == soOwned) GlobalFree(FData);
    FData = nullptr;
  }
  inherited::Destroy();
}

int TdxHGlobalReadOnlyStream::Write(const void*, int) { throw EInvalidOperation(String(SReadOnlyStream)); }

void TdxHGlobalReadOnlyStream::SetSize(std::int64_t) { throw EInvalidOperation(String(SReadOnlyStream)); }

// ---------------------------------------------------------------------------
// TdxBufferedStream

void TdxBufferedStream::Create(TStream* ASource, TStreamOwnership AOwnership, int ABufferSize) {
  FSource = ASource;
  FSourceOwnership = AOwnership;
  FBufferSize = std::max(ABufferSize, 1);
  FBuffer.assign(static_cast<std::size_t>(FBufferSize), 0);
  FBufferPosition = 0;
  RefillBuffer();
}

void TdxBufferedStream::Create(const String& AFileName, std::uint16_t AAccessMode, int ABufferSize) {
  Create(New<TFileStream>(AFileName, AAccessMode), soOwned, ABufferSize);
}

void TdxBufferedStream::Destroy() {
  // The source is released also when the last changes cannot be written.
  TryFinally(
      [this] {
        if (FSource) FlushBuffer();
      },
      [this] {
        FBuffer.clear();
        if (FSourceOwnership == soOwned) FreeAndNil(FSource);
      });
  inherited::Destroy();
}

void TdxBufferedStream::FlushBuffer() {
  if (!FBufferModified) return;
  FBufferModified = false;
  FSource->SetPosition(FBufferAllocationBase);
  FSource->WriteBuffer(FBuffer.data(), FBufferUsed);
}

void TdxBufferedStream::RefillBuffer() {
  FlushBuffer();
  FBufferAllocationBase = FBufferPosition;
  FSource->SetPosition(FBufferAllocationBase);
  const int read = FSource->Read(FBuffer.data(), FBufferSize);
  FBufferUsed = std::max(read, 0);
  // No bytes of an earlier window may stay behind the valid ones: a write
  // further on would carry them into the source.
  std::fill(FBuffer.begin() + FBufferUsed, FBuffer.end(), 0);
  FBufferModified = false;
}

int TdxBufferedStream::Read(void* ABuffer, int ACount) {
  auto* target = static_cast<std::uint8_t*>(ABuffer);
  int copied = 0;
  while (copied < ACount) {
    if (FBufferPosition < FBufferAllocationBase || FBufferPosition >= FBufferAllocationBase + FBufferUsed) {
      RefillBuffer();
      if (FBufferUsed == 0) break;
    }
    const auto offset = static_cast<int>(FBufferPosition - FBufferAllocationBase);
    const int n = std::min(ACount - copied, FBufferUsed - offset);
    std::memcpy(target + copied, FBuffer.data() + offset, static_cast<std::size_t>(n));
    copied += n;
    FBufferPosition += n;
  }
  return copied;
}

int TdxBufferedStream::Write(const void* ABuffer, int ACount) {
  const auto* source = static_cast<const std::uint8_t*>(ABuffer);
  int written = 0;
  while (written < ACount) {
    if (FBufferPosition < FBufferAllocationBase || FBufferPosition >= FBufferAllocationBase + FBufferSize) RefillBuffer();
    const auto offset = static_cast<int>(FBufferPosition - FBufferAllocationBase);
    const int n = std::min(ACount - written, FBufferSize - offset);
    std::memcpy(FBuffer.data() + offset, source + written, static_cast<std::size_t>(n));
    FBufferUsed = std::max(FBufferUsed, offset + n);
    FBufferModified = true;
    written += n;
    FBufferPosition += n;
  }
  return std::max(written, 0);
}

std::int64_t TdxBufferedStream::Seek(std::int64_t AOffset, TSeekOrigin AOrigin) {
  FBufferPosition = ClampedSeekTarget(AOffset, AOrigin, FBufferPosition, GetSize());
  return FBufferPosition;
}

std::int64_t TdxBufferedStream::GetSize() const {
  const std::int64_t size = FSource->Size();
  return FBufferModified ? std::max(size, FBufferAllocationBase + FBufferUsed) : size;
}

void TdxBufferedStream::SetSize(std::int64_t ANewSize) { FSource->SetSize(ANewSize); }
