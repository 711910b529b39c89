// Hostile input to the foundation's readers: archives whose entries overlap
// or are encrypted (HostileFixtures.rc, made by
// tests/library_graphics/make-hostile) and a typed stream of a list of more
// nulls than one value may hold. Each is refused with the reader's error,
// quickly and without the process growing.
#include "library/core/data/cxVariants.h"
#include "library/core/data/dxZIPUtils.h"
#include "platform/classes/ClassErrors.h"
#include "tests/support/ProcessMemory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

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
