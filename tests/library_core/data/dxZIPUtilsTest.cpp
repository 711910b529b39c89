#include "library/core/data/dxZIPUtils.h"

#include "library/core/containers/dxHashUtils.h"
#include "tests/library_core/Fixtures.h"

#include "tests/library_core/ErrorText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::string ContentOf(TMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  s->SetPosition(0);
  return s;
}

TOwned<TdxZIPStreamReader> OpenFixture(const wchar_t* AArchive) {
  return TOwned<TdxZIPStreamReader>(New<TdxZIPStreamReader>(FixturePath(String(L"zip\\") + AArchive)));
}

// An archive in memory; the reader owns the stream.
TOwned<TdxZIPStreamReader> OpenBytes(const std::string& ABytes) {
  return TOwned<TdxZIPStreamReader>(New<TdxZIPStreamReader>(StreamOf(ABytes).release(), true));
}

// ---------------------------------------------------------------------------
// Archives made by Info-ZIP

TEST(ZIPReader, ListsEntriesOfRealArchives) {
  struct TEntry {
    RawByteString Name;
    int Method;
    bool IsDirectory;
  };
  struct TCase {
    const wchar_t* Archive;
    std::vector<TEntry> Entries;
  };
  const std::vector<TCase> cases = {
      {L"mixed.zip", {{"text.txt", 8, false}, {"random.bin", 0, false}, {"empty.txt", 0, false}}},
      {L"stored.zip", {{"text.txt", 0, false}}},
      {L"tree.zip", {{"dir/", 0, true}, {"dir/sub/", 0, true}, {"dir/sub/img.png", 8, false}}},
      {L"descriptor.zip", {{"text.txt", 8, false}, {"random.bin", 8, false}, {"empty.txt", 0, false}}},
      {L"backslash.zip", {{"dir/img.png", 8, false}}},
      {L"bzip2.zip", {{"text.txt", 12, false}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.Archive));
    TOwned<TdxZIPStreamReader> zip = OpenFixture(c.Archive);
    ASSERT_EQ(zip->Files().size(), c.Entries.size());
    for (std::size_t i = 0; i < c.Entries.size(); ++i) {
      const TdxZIPFileEntry& e = zip->Files()[i];
      EXPECT_EQ(e.Name, c.Entries[i].Name);
      EXPECT_EQ(e.Method, c.Entries[i].Method);
      EXPECT_EQ(e.IsDirectory, c.Entries[i].IsDirectory);
      EXPECT_EQ(e.Sign, dxZIPLocalFileHeaderSignature);
    }
  }
}

TEST(ZIPReader, ExtractsByteExactWithTheirCRC) {
  struct TCase {
    const wchar_t* Archive;
    RawByteString Entry;
    const wchar_t* Original;
  };
  const std::vector<TCase> cases = {
      {L"mixed.zip", "text.txt", L"files\\text.txt"},
      {L"mixed.zip", "random.bin", L"files\\random.bin"},
      {L"mixed.zip", "empty.txt", L"files\\empty.txt"},
      {L"stored.zip", "text.txt", L"files\\text.txt"},
      {L"tree.zip", "dir/sub/img.png", L"files\\dir\\sub\\img.png"},
      {L"descriptor.zip", "text.txt", L"files\\text.txt"},
      {L"descriptor.zip", "random.bin", L"files\\random.bin"},
      {L"descriptor.zip", "empty.txt", L"files\\empty.txt"},
      {L"backslash.zip", "dir/img.png", L"backslash.png"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(UTF8Encode(String(c.Archive) + L" " + AnsiToString(c.Entry)));
    const std::string original = ReadFixture(String(L"zip\\") + c.Original);
    TOwned<TdxZIPStreamReader> zip = OpenFixture(c.Archive);
    TdxZIPFileEntry entry;
    ASSERT_TRUE(zip->FindEntry(c.Entry, entry));
    EXPECT_EQ(entry.OriginalSize, static_cast<std::int32_t>(original.size()));
    // Entries written with a data descriptor take their CRC from the directory.
    EXPECT_EQ(entry.CRC32, original.empty() ? 0u : CalculateCrc32(original.data(), original.size()));
    TOwned<TMemoryStream> target(New<TMemoryStream>());
    EXPECT_TRUE(zip->Extract(c.Entry, target.get()));
    EXPECT_TRUE(ContentOf(target.get()) == original);
    EXPECT_EQ(target->Position(), target->Size());
  }
}

TEST(ZIPReader, FindsNamesAsStoredCaseSensitive) {
  TOwned<TdxZIPStreamReader> zip = OpenFixture(L"backslash.zip");
  EXPECT_TRUE(zip->Exists("dir/img.png"));
  EXPECT_TRUE(zip->Exists("dir/sub/../img.png"));
  EXPECT_TRUE(zip->Exists("/dir/img.png"));
  EXPECT_TRUE(zip->Exists("x/../dir/img.png"));
  EXPECT_FALSE(zip->Exists("dir\\img.png"));
  EXPECT_FALSE(zip->Exists("DIR/img.png"));
  EXPECT_FALSE(zip->Exists("/../dir/img.png"));
  TOwned<TMemoryStream> target(New<TMemoryStream>());
  EXPECT_FALSE(zip->Extract("missing.png", target.get()));
  EXPECT_EQ(target->Size(), 0);
}

TEST(ZIPReader, ExtractsAtTheTargetsPosition) {
  const std::string original = ReadFixture(L"zip\\files\\random.bin");
  TOwned<TdxZIPStreamReader> zip = OpenFixture(L"mixed.zip");
  TOwned<TMemoryStream> target = StreamOf(std::string(5000, 'k'));
  target->SetPosition(10);
  ASSERT_TRUE(zip->Extract("random.bin", target.get()));
  EXPECT_EQ(target->Size(), 5000);
  EXPECT_EQ(target->Position(), 10 + static_cast<std::int64_t>(original.size()));
  const std::string content = ContentOf(target.get());
  EXPECT_TRUE(content.substr(10, original.size()) == original);
  EXPECT_EQ(content.substr(0, 10), std::string(10, 'k'));
  EXPECT_EQ(content.substr(10 + original.size()), std::string(5000 - 10 - original.size(), 'k'));
}

TEST(ZIPReader, OtherMethodsListButDoNotExtract) {
  TOwned<TdxZIPStreamReader> zip = OpenFixture(L"bzip2.zip");
  TOwned<TMemoryStream> target(New<TMemoryStream>());
  EXPECT_EQ(ErrorOf([&] { zip->Extract("text.txt", target.get()); }), L"EdxZIPUnsupportedCompressionMethod: ");
  EXPECT_EQ(target->Size(), 0);
}

TEST(ZIPReader, StreamsThatAreNoArchiveHaveNoEntries) {
  for (const std::string& bytes : {std::string(), std::string("PK"), std::string("hello, world"), std::string(100, '\0')}) {
    SCOPED_TRACE(bytes.size());
    TOwned<TdxZIPStreamReader> zip = OpenBytes(bytes);
    EXPECT_TRUE(zip->Files().empty());
  }
  EXPECT_THROW(New<TdxZIPStreamReader>(FixturePath(L"zip\\missing.zip")), EFOpenError);
}

TEST(ZIPReader, EntryHeaderWrittenAndReadBack) {
  EXPECT_EQ(TdxZIPFileEntry::CheckName("\\dir\\a.png"), "dir/a.png");
  EXPECT_EQ(TdxZIPFileEntry::CheckName("//a"), "/a");
  const TdxZIPFileEntry entry = TdxZIPFileEntry::Create("\\img\\x.png", 0x12345678, 0xCAFEBABE, 7, 9);
  EXPECT_EQ(entry.Name, "img/x.png");
  EXPECT_EQ(entry.NameLength, 9);
  EXPECT_EQ(entry.Method, 8);
  EXPECT_EQ(entry.VersionToExtract, 20);
  TOwned<TMemoryStream> s = StreamOf("pad");
  s->SetPosition(3);
  entry.WriteToStream(s.get());
  EXPECT_EQ(s->Size(), 3 + 30 + 9);
  EXPECT_EQ(ContentOf(s.get()).substr(3, 4), "PK\x03\x04");
  TdxZIPFileEntry back;
  back.LoadFromStream(s.get(), 3);
  EXPECT_EQ(back.RelativeOffset, 3);
  EXPECT_EQ(back.Name, entry.Name);
  EXPECT_EQ(back.CRC32, 0xCAFEBABEu);
  EXPECT_EQ(back.DateTime, 0x12345678u);
  EXPECT_EQ(back.PackedSize, 7);
  EXPECT_EQ(back.OriginalSize, 9);
  EXPECT_EQ(back.DataOffset(), 3 + 30 + 9);
}

// ---------------------------------------------------------------------------
// Damaged archives

// Positions of the records of an archive's bytes, found through its end
// record, and little-endian writes into them.
struct TArchiveBytes {
  std::string Bytes;

  static std::uint32_t Get(const std::string& B, std::size_t AOffset, int ASize) {
    std::uint32_t v = 0;
    for (int i = ASize - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(B[AOffset + static_cast<std::size_t>(i)]);
    return v;
  }
  void Set(std::size_t AOffset, int ASize, std::uint32_t AValue) {
    for (int i = 0; i < ASize; ++i) Bytes[AOffset + static_cast<std::size_t>(i)] = static_cast<char>(AValue >> (8 * i));
  }
  std::size_t End() const { return Bytes.rfind("PK\x05\x06"); }
  std::size_t Central(int AIndex) const {
    std::size_t p = Get(Bytes, End() + 16, 4);
    for (int i = 0; i < AIndex; ++i) p += 46 + Get(Bytes, p + 28, 2) + Get(Bytes, p + 30, 2) + Get(Bytes, p + 32, 2);
    return p;
  }
  std::size_t Local(int AIndex) const { return Get(Bytes, Central(AIndex) + 42, 4); }
  std::size_t Data(int AIndex) const {
    const std::size_t l = Local(AIndex);
    return l + 30 + Get(Bytes, l + 26, 2) + Get(Bytes, l + 28, 2);
  }
  // A field of entry AIndex in both its local header and its directory record.
  void SetBoth(int AIndex, std::size_t ALocalOffset, std::size_t ACentralOffset, int ASize, std::uint32_t AValue) {
    Set(Local(AIndex) + ALocalOffset, ASize, AValue);
    Set(Central(AIndex) + ACentralOffset, ASize, AValue);
  }
};

TEST(ZIPReader, DamagedArchivesGiveClearErrors) {
  const std::string mixed = ReadFixture(L"zip\\mixed.zip");
  const std::string descriptor = ReadFixture(L"zip\\descriptor.zip");
  ASSERT_FALSE(mixed.empty());
  const String format = L"EdxPackedStreamReader: ";
  const String outside = L"EdxPackedStreamReader: The ZIP directory points outside the archive.";
  const String textCorrupted = L"EdxPackedStreamReader: text.txt is corrupted.";
  const String randomCorrupted = L"EdxPackedStreamReader: random.bin is corrupted.";
  // Entries: 0 text.txt (deflated), 1 random.bin (stored), 2 empty.txt.
  struct TCase {
    const char* Name;
    const std::string* Archive;
    std::function<void(TArchiveBytes&)> Damage;
    String OpenError;     // "" when the archive opens
    String ExtractError;  // of the first entry that fails, "" when all extract
  };
  const std::vector<TCase> cases = {
      {"end record cut off", &mixed, [](TArchiveBytes& A) { A.Bytes.resize(A.Bytes.size() - 22); }, format, L""},
      {"cut in half", &mixed, [](TArchiveBytes& A) { A.Bytes.resize(A.Bytes.size() / 2); }, format, L""},
      {"cut inside the directory", &mixed,
       [](TArchiveBytes& A) { A.Bytes.erase(A.Central(1), A.End() - A.Central(1)); }, outside, L""},
      {"wrong CRC", &mixed, [](TArchiveBytes& A) { A.SetBoth(0, 14, 16, 4, 0x12345678); }, L"", textCorrupted},
      {"altered deflated data", &mixed, [](TArchiveBytes& A) { A.Bytes[A.Data(0) + 100] ^= 0x55; }, L"", textCorrupted},
      {"altered stored data", &mixed, [](TArchiveBytes& A) { A.Bytes[A.Data(1) + 7] ^= 1; }, L"", randomCorrupted},
      {"size larger than the data", &mixed,
       [](TArchiveBytes& A) { A.SetBoth(0, 22, 24, 4, A.Get(A.Bytes, A.Local(0) + 22, 4) + 100); }, L"", textCorrupted},
      {"size smaller than the data", &mixed,
       [](TArchiveBytes& A) { A.SetBoth(0, 22, 24, 4, A.Get(A.Bytes, A.Local(0) + 22, 4) - 100); }, L"", textCorrupted},
      {"huge stated size", &mixed, [](TArchiveBytes& A) { A.SetBoth(0, 22, 24, 4, 0x7FFFFFFF); }, L"", textCorrupted},
      {"negative stated size", &mixed, [](TArchiveBytes& A) { A.SetBoth(0, 22, 24, 4, 0xFFFFFFFF); }, L"", textCorrupted},
      {"stored sizes that differ", &mixed,
       [](TArchiveBytes& A) { A.SetBoth(1, 22, 24, 4, A.Get(A.Bytes, A.Local(1) + 22, 4) - 1); }, L"", randomCorrupted},
      {"local and directory sizes differ", &mixed,
       [](TArchiveBytes& A) { A.Set(A.Local(1) + 18, 4, 2999); }, format, L""},
      {"bad local signature", &mixed, [](TArchiveBytes& A) { A.Set(A.Local(1), 4, 0x04034B51); }, format, L""},
      {"bad directory signature", &mixed, [](TArchiveBytes& A) { A.Set(A.Central(2), 4, 0); }, format, L""},
      {"local header past the end", &mixed,
       [](TArchiveBytes& A) { A.Set(A.Central(1) + 42, 4, static_cast<std::uint32_t>(A.Bytes.size()) + 100); }, outside, L""},
      {"local header at the very end", &mixed,
       [](TArchiveBytes& A) { A.Set(A.Central(1) + 42, 4, static_cast<std::uint32_t>(A.Bytes.size()) - 10); }, outside, L""},
      {"negative local header offset", &mixed, [](TArchiveBytes& A) { A.Set(A.Central(0) + 42, 4, 0xFFFFFFF0); }, outside, L""},
      {"directory past the end", &mixed, [](TArchiveBytes& A) { A.Set(A.End() + 16, 4, 0x7FFFFFF0); }, outside, L""},
      {"more entries than the directory holds", &mixed, [](TArchiveBytes& A) { A.Set(A.End() + 10, 2, 500); }, outside, L""},
      {"name length past the end", &mixed, [](TArchiveBytes& A) { A.Set(A.Central(2) + 28, 2, 0xFFFF); }, outside, L""},
      {"packed data past the end", &mixed, [](TArchiveBytes& A) { A.SetBoth(1, 18, 20, 4, 0x100000); }, outside, L""},
      {"zip64 markers", &mixed, [](TArchiveBytes& A) { A.SetBoth(0, 18, 20, 4, 0xFFFFFFFF); }, outside, L""},
      {"descriptor with a wrong directory CRC", &descriptor,
       [](TArchiveBytes& A) { A.Set(A.Central(1) + 16, 4, 0xDEADBEEF); }, L"", randomCorrupted},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TArchiveBytes archive{*c.Archive};
    c.Damage(archive);
    TOwned<TdxZIPStreamReader> zip;
    EXPECT_EQ(ErrorOf([&] { zip.reset(OpenBytes(archive.Bytes).release()); }),
              c.OpenError.empty() ? L"(no error)" : c.OpenError);
    if (!zip) continue;
    String error;
    for (const TdxZIPFileEntry& entry : zip->Files()) {
      // A failed entry leaves the target as it was, whether it was to go
      // over the target's bytes or after them.
      for (const std::int64_t position : {2, 4}) {
        TOwned<TMemoryStream> target = StreamOf("keep");
        target->SetPosition(position);
        const String e = ErrorOf([&] { zip->Extract(entry, target.get()); });
        if (e == L"(no error)") continue;
        EXPECT_EQ(ContentOf(target.get()), "keep");
        EXPECT_EQ(target->Position(), position);
        if (error.empty()) error = e;
      }
    }
    EXPECT_EQ(error, c.ExtractError);
  }
}

}  // namespace
