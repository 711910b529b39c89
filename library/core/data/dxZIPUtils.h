// Reading ZIP archives: the entries listed from the central directory and
// checked against their local headers, and extracted (stored or deflated)
// with a check of their size and CRC-32.
//
// Classes in this file:
//   TdxZIPFileEntry                      an entry: its local header and bookkeeping
//   TdxZIPCentralDirEntry                one record of the central directory
//   TdxZIPCustomStream                   an archive stream and its entries
//   TdxZIPStreamReader                   lists and extracts the entries
//   EdxPackedStreamReader                a damaged archive or entry
//   EdxZIPUnsupportedCompressionMethod   an entry packed by another method
//
// Every offset and length that the archive states is checked against the
// archive's size before it is used, and entries may not share bytes (an
// archive whose entries overlap is refused: it is how a small archive
// inflates to terabytes). A target stream receives an entry only whole and
// intact, and is left as it was when the entry turns out damaged or
// encrypted. An entry appended to a stream is written as it inflates, so
// memory holds at most 1 MB of it (a memory stream holds it whole, being the
// target); memory is reserved for at most what the packed data can
// possibly give.
#pragma once

#include "library/core/base/dxCore.h"
#include "platform/classes/Streams.h"

#include <cstdint>
#include <vector>

constexpr std::uint32_t dxZIPLocalFileHeaderSignature = 0x04034B50;
constexpr std::uint32_t dxZIPCentralDirSignature = 0x02014B50;
constexpr std::uint32_t dxZIPEndOfCentralDirSignature = 0x06054B50;
constexpr int dxZIPFileHeaderSize = 30;
constexpr int dxZIPCentralDirEntrySize = 46;
constexpr int dxZIPEndOfCentralDirSize = 22;

class EdxPackedStreamReader : public Exception { public: using Exception::Exception; };
class EdxZIPUnsupportedCompressionMethod : public EdxException { public: using EdxException::EdxException; };

// Raises EdxPackedStreamReader(AMessage) when ACondition is false.
void CheckZIPCondition(bool ACondition, const String& AMessage = String());

// The local file header (its first 30 bytes as stored, little-endian) with
// what the reader adds to it.
struct TdxZIPFileEntry {
  std::uint32_t Sign = 0;
  std::uint16_t VersionToExtract = 0;
  std::uint16_t Flag = 0;
  std::uint16_t Method = 0;
  std::uint32_t DateTime = 0;  // DOS time and date
  std::uint32_t CRC32 = 0;
  std::int32_t PackedSize = 0;
  std::int32_t OriginalSize = 0;
  std::uint16_t NameLength = 0;
  std::uint16_t ExtraLength = 0;
  bool IsDirectory = false;  // from the central directory
  RawByteString Name;        // normalised by CheckName
  std::int32_t RelativeOffset = 0;  // of the local header in the archive

  // A header of a deflated entry (version 20, no flags, no extra field).
  static TdxZIPFileEntry Create(const RawByteString& AName, std::uint32_t ADateTime, std::uint32_t ACRC32,
                                std::int32_t APackedSize, std::int32_t AOriginalSize);
  // Backslashes become slashes, then one leading slash goes.
  static RawByteString CheckName(const RawByteString& AName);
  // The 30 header bytes at AOffset and the name after them.
  void LoadFromStream(TStream* AStream, std::int64_t AOffset);
  // The 30 header bytes and the name.
  void WriteToStream(TStream* AStream) const;
  // Where the entry's packed data starts.
  std::int64_t DataOffset() const;
};

// One record of the central directory (46 bytes as stored).
struct TdxZIPCentralDirEntry {
  std::uint32_t Sign = 0;
  std::uint16_t Version = 0;
  std::uint16_t VersionToExtract = 0;
  std::uint16_t Flag = 0;
  std::uint16_t Method = 0;
  std::uint32_t DateTime = 0;
  std::uint32_t CRC32 = 0;
  std::int32_t PackedSize = 0;
  std::int32_t OriginalSize = 0;
  std::uint16_t NameLength = 0;
  std::uint16_t ExtraLength = 0;
  std::uint16_t CommentLength = 0;
  std::uint16_t DiskStart = 0;
  std::uint16_t IntAttributes = 0;
  std::uint32_t ExtAttributes = 0;
  std::int32_t RelativeOffset = 0;

  void LoadFromStream(TStream* AStream);
};

using TdxZIPFileEntries = std::vector<TdxZIPFileEntry>;

class TdxZIPCustomStream : public TObject {
  SK_CLASS(TdxZIPCustomStream, TObject)
 public:
  // AStream is freed with this object when AAutoFreeStream is set.
  virtual void Create(TStream* AStream, bool AAutoFreeStream);
  // Opens the file for reading (and owns that stream).
  virtual void Create(const String& AFileName);
  void Destroy() override;

  TStream* Stream() const { return FStream; }
  // In central-directory order.
  const TdxZIPFileEntries& Files() const { return FFiles; }

 protected:
  TStream* FStream;
  TdxZIPFileEntries FFiles;

 private:
  TOwned<TStream> FOwnedStream;  // the stream again when this object frees it
};

class TdxZIPExtractBuffer;

class TdxZIPStreamReader : public TdxZIPCustomStream {
  SK_CLASS(TdxZIPStreamReader, TdxZIPCustomStream)
 public:
  // Reads the directory: raises EdxPackedStreamReader for a damaged one and
  // for one whose entries overlap; a stream that does not begin with a local
  // header has no entries.
  void AfterConstruction() override;

  bool Exists(const RawByteString& AFileName);
  // Whether the entry was found; found, it is extracted at the target's position.
  bool Extract(const RawByteString& AFileName, TStream* ATargetStream);
  // Appends the entry's bytes at the target's position. Raises
  // EdxPackedStreamReader "<name> is encrypted: ..." for an encrypted entry,
  // EdxZIPUnsupportedCompressionMethod for a method other than 0 and 8, and
  // EdxPackedStreamReader "<name> is corrupted." when the data lies outside
  // the archive, does not inflate, or gives another size or CRC than the
  // header states; the target is then left as it was.
  void Extract(const TdxZIPFileEntry& AEntry, TStream* ATargetStream);
  // The first entry whose name is byte for byte the requested one, after
  // "dir/../" steps and one leading slash are taken out of the request.
  bool FindEntry(const RawByteString& AFileName, TdxZIPFileEntry& AEntry);

 protected:
  using TUnpackMethod = void (TdxZIPStreamReader::*)(std::int32_t ACount, TdxZIPExtractBuffer& ATarget);
  virtual void ReadDirectory();
  void UnpackStored(std::int32_t ACount, TdxZIPExtractBuffer& ATarget);
  void UnpackDeflate(std::int32_t ACount, TdxZIPExtractBuffer& ATarget);

 private:
  void CheckNoOverlap() const;
  std::vector<std::pair<std::uint16_t, TUnpackMethod>> FUnpackMethods;
};
