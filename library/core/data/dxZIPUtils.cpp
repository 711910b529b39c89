#include "library/core/data/dxZIPUtils.h"

#include "library/core/containers/dxHashUtils.h"
#include "platform/runtime/Handles.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr int StoredCopyBufferSize = 1048576;
constexpr int InflateBufferSize = 32768;
// Deflate cannot give more than about 1032 bytes per packed byte, so a
// larger stated size is a lie and earns no memory in advance.
constexpr std::int64_t MaxInflateRatio = 1032;
constexpr std::int64_t MaxPreallocation = std::int64_t{64} << 20;
constexpr std::uint32_t DirectoryAttribute = 0x10;
// General purpose flags: the entry is encrypted (traditional, or strong).
constexpr std::uint16_t EncryptedFlag = 0x0001;
constexpr std::uint16_t StrongEncryptionFlag = 0x0040;

std::uint16_t Get16(const std::uint8_t* P, int AOffset) {
  return static_cast<std::uint16_t>(P[AOffset] | (P[AOffset + 1] << 8));
}
std::uint32_t Get32(const std::uint8_t* P, int AOffset) {
  return static_cast<std::uint32_t>(P[AOffset]) | static_cast<std::uint32_t>(P[AOffset + 1]) << 8 |
         static_cast<std::uint32_t>(P[AOffset + 2]) << 16 | static_cast<std::uint32_t>(P[AOffset + 3]) << 24;
}
void Put16(std::uint8_t* P, int AOffset, std::uint16_t AValue) {
  P[AOffset] = static_cast<std::uint8_t>(AValue);
  P[AOffset + 1] = static_cast<std::uint8_t>(AValue >> 8);
}
void Put32(std::uint8_t* P, int AOffset, std::uint32_t AValue) {
  for (int i = 0; i < 4; ++i) P[AOffset + i] = static_cast<std::uint8_t>(AValue >> (8 * i));
}

[[noreturn]] void RaiseCorrupted(const RawByteString& AName) {
  throw EdxPackedStreamReader(AnsiToString(AName) + L" is corrupted.");
}

[[noreturn]] void RaiseOutside() { throw EdxPackedStreamReader(L"The ZIP directory points outside the archive."); }

// Whether [AOffset, AOffset + ACount) lies inside a stream of ASize bytes.
bool InsideArchive(std::int64_t AOffset, std::int64_t ACount, std::int64_t ASize) {
  return AOffset >= 0 && ACount >= 0 && AOffset <= ASize && ACount <= ASize - AOffset;
}

// The last position of the end-of-central-directory signature at which the
// whole 22-byte record fits, scanning back from the end; -1 when none.
std::int64_t FindEndOfCentralDir(TStream* AStream) {
  constexpr std::int64_t Chunk = 65536;
  const std::int64_t last = AStream->Size() - dxZIPEndOfCentralDirSize;
  std::vector<std::uint8_t> buffer;
  for (std::int64_t high = last; high >= 0; high -= Chunk) {
    const std::int64_t low = std::max<std::int64_t>(0, high - Chunk + 1);
    buffer.resize(static_cast<std::size_t>(high - low + 4));
    AStream->SetPosition(low);
    AStream->ReadBuffer(buffer.data(), static_cast<std::int64_t>(buffer.size()));
    for (std::int64_t p = high; p >= low; --p)
      if (Get32(buffer.data(), static_cast<int>(p - low)) == dxZIPEndOfCentralDirSignature) return p;
  }
  return -1;
}

}  // namespace

// What an unpack method writes into: the entry's bytes, kept apart until
// they have passed their checks, or written as they come where the target
// can be cut back. It takes at most one byte more than the entry's stated
// size, so that too much data shows without being kept, and keeps the CRC as
// the bytes arrive. The bytes go
// - straight into a memory stream's memory beyond its end, when the entry is
//   appended to one;
// - through a buffer of 1 MB into any other stream the entry is appended
//   to, so that an entry of gigabytes never sits in memory whole;
// - into memory of their own otherwise (the entry overwrites bytes of the
//   target, which must stay as they were should the entry fail).
// The caller cuts an appended target back to its size on failure.
class TdxZIPExtractBuffer {
 public:
  TdxZIPExtractBuffer(const TdxZIPFileEntry& AEntry, TMemoryStream* ADirectTarget, TStream* AStreamedTarget)
      : FName(AEntry.Name), FLimit(static_cast<std::size_t>(AEntry.OriginalSize) + 1), FTarget(ADirectTarget),
        FStreamed(AStreamedTarget), FStart(ADirectTarget ? ADirectTarget->Position() : 0) {
    const std::int64_t possible = AEntry.Method == 0 ? std::int64_t{AEntry.PackedSize}
                                                     : std::int64_t{AEntry.PackedSize} * MaxInflateRatio + 1024;
    const std::int64_t first = std::min({static_cast<std::int64_t>(FLimit), possible + 1, MaxPreallocation});
    Reserve(static_cast<std::size_t>(FStreamed ? std::min<std::int64_t>(first, StoredCopyBufferSize) : first));
  }

  // Room at the end for at least one byte (ACount of them); raises
  // "corrupted" when the entry has more bytes than its header states.
  std::uint8_t* Tail(std::size_t& ACount) {
    if (FSize == FCapacity) {
      if (FStreamed) {
        Flush();
      } else {
        if (FCapacity >= FLimit) Corrupted();
        Reserve(std::min(FLimit, std::max<std::size_t>(FCapacity * 2, 65536)));
      }
    }
    ACount = std::min(FCapacity - FSize, FLimit - Total());
    if (ACount == 0) Corrupted();
    return Data() + FSize;
  }
  void Commit(std::size_t ACount) {
    FCrc = UpdateCrc32(Data() + FSize, ACount, FCrc);
    FSize += ACount;
    if (Total() >= FLimit) Corrupted();
  }
  // The streamed bytes not yet written go out.
  void Finish() {
    if (FStreamed) Flush();
  }
  [[noreturn]] void Corrupted() const { RaiseCorrupted(FName); }
  // The whole entry, except when it was streamed.
  std::uint8_t* Data() const {
    return FTarget ? static_cast<std::uint8_t*>(FTarget->Memory()) + FStart : FOwnData.get();
  }
  std::size_t Size() const { return Total(); }
  std::uint32_t Crc() const { return ~FCrc; }

 private:
  std::size_t Total() const { return FWritten + FSize; }
  void Flush() {
    FStreamed->WriteBuffer(FOwnData.get(), static_cast<std::int64_t>(FSize));
    FWritten += FSize;
    FSize = 0;
  }
  void Reserve(std::size_t ACapacity) {
    ACapacity = std::max<std::size_t>(ACapacity, 1);
    if (FTarget) {
      FTarget->SetSize(FStart + static_cast<std::int64_t>(ACapacity));
    } else {
      auto data = std::make_unique_for_overwrite<std::uint8_t[]>(ACapacity);
      if (FSize) std::memcpy(data.get(), FOwnData.get(), FSize);
      FOwnData = std::move(data);
    }
    FCapacity = ACapacity;
  }

  RawByteString FName;
  std::size_t FLimit;
  TMemoryStream* FTarget;
  TStream* FStreamed;
  std::int64_t FStart;
  std::unique_ptr<std::uint8_t[]> FOwnData;
  std::size_t FCapacity = 0;
  std::size_t FSize = 0;     // in the buffer
  std::size_t FWritten = 0;  // streamed out already
  std::uint32_t FCrc = 0xFFFFFFFF;
};

void CheckZIPCondition(bool ACondition, const String& AMessage) {
  if (!ACondition) throw EdxPackedStreamReader(AMessage);
}

// ---------------------------------------------------------------------------
// TdxZIPFileEntry

TdxZIPFileEntry TdxZIPFileEntry::Create(const RawByteString& AName, std::uint32_t ADateTime, std::uint32_t ACRC32,
                                        std::int32_t APackedSize, std::int32_t AOriginalSize) {
  TdxZIPFileEntry e;
  e.Sign = dxZIPLocalFileHeaderSignature;
  e.VersionToExtract = 20;
  e.Flag = 0;
  e.Method = 8;
  e.DateTime = ADateTime;
  e.CRC32 = ACRC32;
  e.PackedSize = APackedSize;
  e.OriginalSize = AOriginalSize;
  e.ExtraLength = 0;
  e.Name = CheckName(AName);
  e.NameLength = static_cast<std::uint16_t>(e.Name.size());
  return e;
}

RawByteString TdxZIPFileEntry::CheckName(const RawByteString& AName) {
  RawByteString name = AName;
  std::replace(name.begin(), name.end(), '\\', '/');
  if (!name.empty() && name[0] == '/') name.erase(0, 1);
  return name;
}

void TdxZIPFileEntry::LoadFromStream(TStream* AStream, std::int64_t AOffset) {
  std::uint8_t header[dxZIPFileHeaderSize];
  AStream->SetPosition(AOffset);
  AStream->ReadBuffer(header, sizeof header);
  Sign = Get32(header, 0);
  VersionToExtract = Get16(header, 4);
  Flag = Get16(header, 6);
  Method = Get16(header, 8);
  DateTime = Get32(header, 10);
  CRC32 = Get32(header, 14);
  PackedSize = static_cast<std::int32_t>(Get32(header, 18));
  OriginalSize = static_cast<std::int32_t>(Get32(header, 22));
  NameLength = Get16(header, 26);
  ExtraLength = Get16(header, 28);
  RawByteString name(NameLength, '\0');
  AStream->ReadBuffer(name.data(), NameLength);
  RelativeOffset = static_cast<std::int32_t>(AOffset);
  Name = CheckName(name);
}

void TdxZIPFileEntry::WriteToStream(TStream* AStream) const {
  std::uint8_t header[dxZIPFileHeaderSize];
  Put32(header, 0, Sign);
  Put16(header, 4, VersionToExtract);
  Put16(header, 6, Flag);
  Put16(header, 8, Method);
  Put32(header, 10, DateTime);
  Put32(header, 14, CRC32);
  Put32(header, 18, static_cast<std::uint32_t>(PackedSize));
  Put32(header, 22, static_cast<std::uint32_t>(OriginalSize));
  Put16(header, 26, NameLength);
  Put16(header, 28, ExtraLength);
  AStream->WriteBuffer(header, sizeof header);
  AStream->WriteBuffer(Name.data(), static_cast<std::int64_t>(Name.size()));
}

std::int64_t TdxZIPFileEntry::DataOffset() const {
  return std::int64_t{RelativeOffset} + dxZIPFileHeaderSize + NameLength + ExtraLength;
}

void TdxZIPCentralDirEntry::LoadFromStream(TStream* AStream) {
  std::uint8_t record[dxZIPCentralDirEntrySize];
  AStream->ReadBuffer(record, sizeof record);
  Sign = Get32(record, 0);
  Version = Get16(record, 4);
  VersionToExtract = Get16(record, 6);
  Flag = Get16(record, 8);
  Method = Get16(record, 10);
  DateTime = Get32(record, 12);
  CRC32 = Get32(record, 16);
  PackedSize = static_cast<std::int32_t>(Get32(record, 20));
  OriginalSize = static_cast<std::int32_t>(Get32(record, 24));
  NameLength = Get16(record, 28);
  ExtraLength = Get16(record, 30);
  CommentLength = Get16(record, 32);
  DiskStart = Get16(record, 34);
  IntAttributes = Get16(record, 36);
  ExtAttributes = Get32(record, 38);
  RelativeOffset = static_cast<std::int32_t>(Get32(record, 42));
}

// ---------------------------------------------------------------------------
// TdxZIPCustomStream

void TdxZIPCustomStream::Create(TStream* AStream, bool AAutoFreeStream) {
  FStream = AStream;
  if (AAutoFreeStream) FOwnedStream.reset(AStream);
}

void TdxZIPCustomStream::Create(const String& AFileName) {
  Create(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyWrite)), true);
}

void TdxZIPCustomStream::Destroy() {
  FStream = nullptr;
  FOwnedStream.reset();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// TdxZIPStreamReader

void TdxZIPStreamReader::AfterConstruction() {
  inherited::AfterConstruction();
  FUnpackMethods = {{0, &TdxZIPStreamReader::UnpackStored}, {8, &TdxZIPStreamReader::UnpackDeflate}};
  ReadDirectory();
}

void TdxZIPStreamReader::ReadDirectory() {
  const std::int64_t size = FStream->Size();
  std::uint8_t probe[dxZIPCentralDirEntrySize] = {};
  FStream->SetPosition(0);
  if (FStream->Read(probe, sizeof probe) < 4 || Get32(probe, 0) != dxZIPLocalFileHeaderSignature) return;

  const std::int64_t endRecord = FindEndOfCentralDir(FStream);
  CheckZIPCondition(endRecord >= 0);
  std::uint8_t end[dxZIPEndOfCentralDirSize];
  FStream->SetPosition(endRecord);
  FStream->ReadBuffer(end, sizeof end);
  const int count = Get16(end, 10);
  const std::int64_t directory = Get32(end, 16);
  if (!InsideArchive(directory, std::int64_t{count} * dxZIPCentralDirEntrySize, size)) RaiseOutside();

  std::vector<TdxZIPCentralDirEntry> central(static_cast<std::size_t>(count));
  FStream->SetPosition(directory);
  for (TdxZIPCentralDirEntry& entry : central) {
    if (!InsideArchive(FStream->Position(), dxZIPCentralDirEntrySize, size)) RaiseOutside();
    entry.LoadFromStream(FStream);
    CheckZIPCondition(entry.Sign == dxZIPCentralDirSignature);
    const std::int64_t next = FStream->Position() + entry.NameLength + entry.ExtraLength + entry.CommentLength;
    if (next > size) RaiseOutside();
    FStream->SetPosition(next);
  }

  FFiles.clear();
  FFiles.reserve(central.size());
  for (const TdxZIPCentralDirEntry& c : central) {
    if (!InsideArchive(c.RelativeOffset, dxZIPFileHeaderSize, size)) RaiseOutside();
    TdxZIPFileEntry entry;
    std::uint8_t header[dxZIPFileHeaderSize];
    FStream->SetPosition(c.RelativeOffset);
    FStream->ReadBuffer(header, sizeof header);
    if (!InsideArchive(c.RelativeOffset, std::int64_t{dxZIPFileHeaderSize} + Get16(header, 26), size)) RaiseOutside();
    entry.LoadFromStream(FStream, c.RelativeOffset);
    entry.IsDirectory = (c.ExtAttributes & DirectoryAttribute) != 0;
    // An entry written with a data descriptor states its sizes and CRC only
    // in the central directory.
    if (entry.OriginalSize == 0) entry.OriginalSize = c.OriginalSize;
    if (entry.PackedSize == 0) entry.PackedSize = c.PackedSize;
    if (entry.CRC32 == 0) entry.CRC32 = c.CRC32;
    CheckZIPCondition(entry.Sign == dxZIPLocalFileHeaderSignature && entry.OriginalSize == c.OriginalSize &&
                      entry.PackedSize == c.PackedSize);
    if (!InsideArchive(entry.DataOffset(), entry.PackedSize, size)) RaiseOutside();
    FFiles.push_back(std::move(entry));
  }
  CheckNoOverlap();
}

void TdxZIPStreamReader::CheckNoOverlap() const {
  // An archive lists every entry once, each at its own place. Entries that
  // share their bytes let a small archive inflate to any size (thousands of
  // entries pointing at one large one), so such an archive is refused whole.
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  spans.reserve(FFiles.size());
  for (const TdxZIPFileEntry& entry : FFiles)
    spans.emplace_back(entry.RelativeOffset, entry.DataOffset() + entry.PackedSize);
  std::sort(spans.begin(), spans.end());
  for (std::size_t i = 1; i < spans.size(); ++i)
    if (spans[i].first < spans[i - 1].second)
      throw EdxPackedStreamReader(L"The ZIP directory lists entries that overlap.");
}

bool TdxZIPStreamReader::FindEntry(const RawByteString& AFileName, TdxZIPFileEntry& AEntry) {
  RawByteString name = AFileName;
  for (std::size_t step; (step = name.find("/../", 1)) != RawByteString::npos;) {
    const std::size_t slash = name.rfind('/', step - 1);
    const std::size_t start = slash == RawByteString::npos ? 0 : slash + 1;
    name.erase(start, step + 4 - start);
  }
  if (!name.empty() && name[0] == '/') name.erase(0, 1);
  const auto found = std::find_if(FFiles.begin(), FFiles.end(), [&](const TdxZIPFileEntry& E) { return E.Name == name; });
  if (found == FFiles.end()) return false;
  AEntry = *found;
  return true;
}

bool TdxZIPStreamReader::Exists(const RawByteString& AFileName) {
  TdxZIPFileEntry entry;
  return FindEntry(AFileName, entry);
}

bool TdxZIPStreamReader::Extract(const RawByteString& AFileName, TStream* ATargetStream) {
  TdxZIPFileEntry entry;
  if (!FindEntry(AFileName, entry)) return false;
  Extract(entry, ATargetStream);
  return true;
}

void TdxZIPStreamReader::Extract(const TdxZIPFileEntry& AEntry, TStream* ATargetStream) {
  // Its bytes are not what it holds: handing them out would pass ciphertext off as the entry.
  if (AEntry.Flag & (EncryptedFlag | StrongEncryptionFlag))
    throw EdxPackedStreamReader(AnsiToString(AEntry.Name) + L" is encrypted: encrypted entries cannot be extracted.");
  const auto method = std::find_if(FUnpackMethods.begin(), FUnpackMethods.end(),
                                   [&](const auto& M) { return M.first == AEntry.Method; });
  if (method == FUnpackMethods.end()) throw EdxZIPUnsupportedCompressionMethod(String());
  if (AEntry.OriginalSize < 0 || !InsideArchive(AEntry.DataOffset(), AEntry.PackedSize, FStream->Size()))
    RaiseCorrupted(AEntry.Name);

  // A target that receives the entry at or past its end gets the bytes as
  // they come (a memory stream straight into its memory) and is cut back to
  // its size on failure.
  auto* memory = dynamic_cast<TMemoryStream*>(ATargetStream);
  const std::int64_t start = ATargetStream->Position(), oldSize = ATargetStream->Size();
  const bool appended = start >= oldSize;
  TMemoryStream* direct = memory && appended ? memory : nullptr;
  TStream* streamed = !memory && appended ? ATargetStream : nullptr;
  TScopeExit restore([&] {
    if (!appended) return;
    ATargetStream->SetSize(oldSize);
    ATargetStream->SetPosition(start);
  });
  TdxZIPExtractBuffer buffer(AEntry, direct, streamed);
  FStream->SetPosition(AEntry.DataOffset());
  (this->*method->second)(AEntry.PackedSize, buffer);
  buffer.Finish();
  if (buffer.Size() != static_cast<std::size_t>(AEntry.OriginalSize)) buffer.Corrupted();
  if (AEntry.CRC32 != 0 && buffer.Crc() != AEntry.CRC32) buffer.Corrupted();
  restore.Dismiss();

  const std::int64_t end = start + AEntry.OriginalSize;
  if (direct) {
    direct->SetSize(end);
    direct->SetPosition(end);
    return;
  }
  if (streamed) return;
  if (memory) {
    memory->SetSize(std::max(end, memory->Size()));
    memory->SetPosition(start);
  }
  ATargetStream->WriteBuffer(buffer.Data(), static_cast<std::int64_t>(buffer.Size()));
}

void TdxZIPStreamReader::UnpackStored(std::int32_t ACount, TdxZIPExtractBuffer& ATarget) {
  std::int64_t left = ACount;
  while (left > 0) {
    std::size_t room = 0;
    std::uint8_t* tail = ATarget.Tail(room);
    const std::int64_t n = std::min<std::int64_t>({left, static_cast<std::int64_t>(room), StoredCopyBufferSize});
    FStream->ReadBuffer(tail, n);
    ATarget.Commit(static_cast<std::size_t>(n));
    left -= n;
  }
}

void TdxZIPStreamReader::UnpackDeflate(std::int32_t ACount, TdxZIPExtractBuffer& ATarget) {
  if (ACount < 1) return;
  std::vector<std::uint8_t> input(InflateBufferSize);
  z_stream z{};
  // The entry holds raw deflate data: no zlib header, no trailer.
  CheckZIPCondition(inflateInit2(&z, -MAX_WBITS) == Z_OK);
  TScopeExit endOnError([&z] { inflateEnd(&z); });
  std::int64_t left = ACount;
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    if (z.avail_in == 0 && left > 0) {
      const int n = static_cast<int>(std::min<std::int64_t>(left, InflateBufferSize));
      FStream->ReadBuffer(input.data(), n);
      left -= n;
      z.next_in = input.data();
      z.avail_in = static_cast<uInt>(n);
    }
    std::size_t room = 0;
    z.next_out = ATarget.Tail(room);
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(room, std::numeric_limits<uInt>::max()));
    const uInt before = z.avail_out;
    result = inflate(&z, left > 0 ? Z_NO_FLUSH : Z_FINISH);
    ATarget.Commit(before - z.avail_out);
    // Without input left, a stream that cannot go on has ended short; the
    // size check of the caller reports it.
    if (result == Z_BUF_ERROR && left == 0 && z.avail_in == 0) break;
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) ATarget.Corrupted();
  }
  endOnError.Dismiss();
  CheckZIPCondition(inflateEnd(&z) == Z_OK);
}
