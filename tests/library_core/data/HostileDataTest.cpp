// Hostile input to the foundation's readers: archives whose entries overlap
// or are encrypted (HostileFixtures.rc, made by
// tests/library_graphics/make-hostile) and a typed stream of a list of more
// nulls than one value may hold. Each is refused with the reader's error,
// quickly and without the process growing. An honest entry larger than the
// memory bound is extracted into a stream without the process growing.
#include "library/core/data/cxVariants.h"
#include "library/core/data/dxZIPUtils.h"
#include "platform/classes/ClassErrors.h"
#include "tests/support/ProcessMemory.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr auto TimeBound = std::chrono::seconds(20);
constexpr std::uint64_t MemoryBound = std::uint64_t{1} << 30;

std::string Fixture(const wchar_t* AName) {
  const HRSRC resource = FindResourceW(nullptr, AName, L"FIXTURE");
  const HGLOBAL data = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, resource)) : std::string();
}

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

class HostileData : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_LT(std::chrono::steady_clock::now() - FStarted, TimeBound);
    EXPECT_LT(PeakProcessMemory(), MemoryBound);
  }

 private:
  std::chrono::steady_clock::time_point FStarted = std::chrono::steady_clock::now();
};

// 3,000 directory entries that all point at one entry of 100,000 zeros:
// extracting everything would inflate the one entry 3,000 times.
TEST_F(HostileData, AnArchiveWhoseEntriesOverlapIsRefused) {
  const std::string archive = Fixture(L"ZIP_OVERLAPPING_ZIP");
  ASSERT_FALSE(archive.empty()) << "run tests/library_graphics/make-hostile";
  try {
    TOwned<TdxZIPStreamReader> reader(New<TdxZIPStreamReader>(StreamOf(archive).release(), true));
    ADD_FAILURE() << "read with " << reader->Files().size() << " entries";
  } catch (const EdxPackedStreamReader& e) {
    EXPECT_NE(e.Message().find(L"overlap"), String::npos) << e.Message();
  }
}

// Takes what is written and keeps only its size and whether it was all zeros.
class TZeroSink : public TStream {
  SK_CLASS(TZeroSink, TStream)
 public:
  int Read(void*, int) override { return 0; }
  int Write(const void* ABuffer, int ACount) override {
    const auto* bytes = static_cast<const char*>(ABuffer);
    AllZero = AllZero && (ACount == 0 || (bytes[0] == 0 && std::memcmp(bytes, bytes + 1, ACount - 1) == 0));
    FPosition += ACount;
    FSize = std::max(FSize, FPosition);
    return ACount;
  }
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override {
    FPosition = AOrigin == soBeginning ? AOffset : AOrigin == soCurrent ? FPosition + AOffset : FSize + AOffset;
    return FPosition;
  }
  void SetSize(std::int64_t ANewSize) override { FSize = ANewSize; }
  bool AllZero = true;

 protected:
  std::int64_t GetSize() const override { return FSize; }

 private:
  std::int64_t FPosition = 0;
  std::int64_t FSize = 0;
};

// An archive of one entry of ASize zero bytes, deflated (about a thousandth of its size).
std::string ArchiveOfZeros(std::uint32_t ASize) {
  z_stream z{};
  // Runs of one byte: quick, and as small as deflate makes them.
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_RLE);
  const std::vector<Bytef> zeros(1 << 20);
  std::vector<Bytef> packed(ASize / 900 + (1 << 16));
  uLong crc = crc32(0, nullptr, 0);
  z.next_out = packed.data();
  z.avail_out = static_cast<uInt>(packed.size());
  for (std::uint32_t left = ASize; left > 0 || z.avail_in > 0;) {
    if (z.avail_in == 0) {
      const auto count = static_cast<uInt>(std::min<std::uint32_t>(left, zeros.size()));
      z.next_in = const_cast<Bytef*>(zeros.data());
      z.avail_in = count;
      crc = crc32(crc, zeros.data(), count);
      left -= count;
    }
    deflate(&z, Z_NO_FLUSH);
  }
  while (deflate(&z, Z_FINISH) != Z_STREAM_END) {
  }
  const auto packedSize = static_cast<std::uint32_t>(z.total_out);
  deflateEnd(&z);
  const auto le = [](std::string& AOut, std::uint64_t AValue, int ABytes) {
    for (int i = 0; i < ABytes; ++i) AOut += static_cast<char>(AValue >> (8 * i));
  };
  const std::string name = "zeros.bin";
  std::string archive, central;
  for (std::string* header : {&archive, &central}) {
    const bool local = header == &archive;
    le(*header, local ? 0x04034B50 : 0x02014B50, 4);
    if (!local) le(*header, 20, 2);
    for (const auto& [value, bytes] : {std::pair{20, 2}, {0, 2}, {8, 2}, {0, 4}})
      le(*header, static_cast<std::uint64_t>(value), bytes);
    le(*header, crc, 4);
    le(*header, packedSize, 4);
    le(*header, ASize, 4);
    le(*header, name.size(), 2);
    le(*header, 0, local ? 2 : 12);  // extra; comment, disk, attributes
    if (!local) le(*header, 0, 4);   // the local header's offset
    *header += name;
    if (local) archive.append(reinterpret_cast<const char*>(packed.data()), packedSize);
  }
  const std::size_t directory = archive.size();
  archive += central;
  le(archive, 0x06054B50, 4);
  for (const std::uint64_t value : {0, 0, 1, 1}) le(archive, value, 2);
  le(archive, central.size(), 4);
  le(archive, directory, 4);
  le(archive, 0, 2);
  return archive;
}

// An entry of 1.25 GiB, more than the memory bound, goes to a stream as it
// inflates: the process never holds it whole.
TEST_F(HostileData, AnEntryLargerThanMemoryIsStreamedIntoItsTarget) {
  constexpr std::uint32_t Size = std::uint32_t{5} << 28;
  const TOwned<TdxZIPStreamReader> reader(New<TdxZIPStreamReader>(StreamOf(ArchiveOfZeros(Size)).release(), true));
  ASSERT_EQ(reader->Files().size(), 1u);
  const TOwned<TZeroSink> target(New<TZeroSink>());
  reader->Extract(reader->Files()[0], target.get());
  EXPECT_EQ(target->Size(), Size);
  EXPECT_EQ(target->Position(), Size);
  EXPECT_TRUE(target->AllZero);
}

// An entry marked encrypted is listed, but extracting it is an error, not its encrypted bytes.
TEST_F(HostileData, AnEncryptedEntryIsRefusedWhenExtracted) {
  const TOwned<TdxZIPStreamReader> reader(
      New<TdxZIPStreamReader>(StreamOf(Fixture(L"ZIP_ENCRYPTED_ZIP")).release(), true));
  ASSERT_EQ(reader->Files().size(), 1u);
  EXPECT_EQ(reader->Files()[0].Name, "locked.png");
  const TOwned<TMemoryStream> target = StreamOf("keep");
  target->SetPosition(4);
  try {
    reader->Extract(reader->Files()[0], target.get());
    ADD_FAILURE() << "extracted";
  } catch (const EdxPackedStreamReader& e) {
    EXPECT_EQ(e.Message(), L"locked.png is encrypted: encrypted entries cannot be extracted.");
  }
  EXPECT_EQ(target->Size(), 4);
}

// A list of nulls takes a byte each in the stream and far more once read:
// one value holds at most 2^20 elements, nested lists counted too.
TEST_F(HostileData, ATypedStreamListBeyondTheElementBoundIsRefused) {
  const auto list = [](std::uint32_t ACount, std::uint8_t AElement) {
    std::string bytes = {'\x01', '\x04'};  // a list, its count as a 32-bit integer
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(ACount >> (8 * i));
    return bytes + std::string(ACount, static_cast<char>(AElement));
  };
  constexpr std::uint32_t Bound = 1 << 20;
  EXPECT_THROW(ReadVariantFromStream(StreamOf(list(Bound + 1, 0)).get()), EReadError);
  // Two lists of half the bound each, in a list of two: the bound holds over the nesting.
  const std::string half = list(Bound / 2, 0);
  std::string nested = {'\x01', '\x02', '\x02'};
  nested += half + half;
  EXPECT_THROW(ReadVariantFromStream(StreamOf(nested).get()), EReadError);
  const Variant small = ReadVariantFromStream(StreamOf(list(1000, 0)).get());
  EXPECT_EQ(VarArrayHighBound(small, 1), 999);
  EXPECT_TRUE(small.GetElement(999).IsNull());
}

}  // namespace
