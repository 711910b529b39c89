#include "library/core/base/dxCoreClasses.h"

#include "platform/runtime/Handles.h"
#include "tests/library_core/ErrorText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

TBytes Bytes(std::initializer_list<int> AValues) {
  TBytes b;
  for (int v : AValues) b.push_back(static_cast<std::uint8_t>(v));
  return b;
}

TBytes Sequence(int ACount) {
  TBytes b(static_cast<std::size_t>(ACount));
  for (int i = 0; i < ACount; ++i) b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 1);
  return b;
}

TMemoryStream* StreamOf(const TBytes& AContent) {
  TMemoryStream* s = New<TMemoryStream>();
  if (!AContent.empty()) s->WriteBuffer(AContent.data(), static_cast<std::int64_t>(AContent.size()));
  s->SetPosition(0);
  return s;
}

TBytes ContentOf(TStream* AStream) {
  TBytes b(static_cast<std::size_t>(AStream->Size()));
  AStream->SetPosition(0);
  if (!b.empty()) AStream->ReadBuffer(b.data(), static_cast<std::int64_t>(b.size()));
  return b;
}

// ---------------------------------------------------------------------------
// TdxMemoryStream

TEST(MemoryStream, GrowsInWholeStepsOf16384Bytes) {
  TdxMemoryStream* s = New<TdxMemoryStream>();
  s->WriteByte(1);
  EXPECT_EQ(s->Capacity(), 16384);
  // The first block is zero-filled beyond what was written.
  const auto* memory = static_cast<const std::uint8_t*>(s->Memory());
  EXPECT_EQ(std::count(memory + 1, memory + 16384, 0), 16383);
  s->SetSize(16385);
  EXPECT_EQ(s->Capacity(), 32768);
  EXPECT_EQ(static_cast<const std::uint8_t*>(s->Memory())[0], 1);  // kept
  s->SetCapacity(s->Size());  // equal to the size: taken as it is
  EXPECT_EQ(s->Capacity(), 16385);
  s->SetCapacity(32768);  // already a whole step
  EXPECT_EQ(s->Capacity(), 32768);
  s->Clear();
  EXPECT_EQ(s->Capacity(), 0);
  EXPECT_EQ(s->Memory(), nullptr);
  s->Free();
}

TEST(MemoryStream, ContentConstructorsAndTypedAccess) {
  const TBytes content = Bytes({9, 8, 7, 6, 5});
  TdxMemoryStream* part = New<TdxMemoryStream>(content, 1, 3);
  EXPECT_EQ(part->Position(), 0);
  EXPECT_EQ(part->ToArray(), Bytes({8, 7, 6}));
  part->Free();
  TdxMemoryStream* first = New<TdxMemoryStream>(content, 2);
  EXPECT_EQ(first->ToArray(), Bytes({9, 8}));
  first->Free();
  EXPECT_THROW(New<TdxMemoryStream>(content, 3, 3), EStreamError);
  EXPECT_THROW(New<TdxMemoryStream>(content, -1, 1), EStreamError);

  TdxMemoryStream* s = New<TdxMemoryStream>();
  s->WriteInteger(0x12345678);
  s->WriteInteger(-2);
  s->WriteByte(0xAB);
  s->WriteByteArray(Bytes({1, 2}));
  EXPECT_EQ(s->ToArray(), Bytes({0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xAB, 1, 2}));
  s->SetPosition(0);
  EXPECT_EQ(s->ReadInteger(), 0x12345678);
  EXPECT_EQ(s->ReadInteger(), -2);
  EXPECT_EQ(s->ReadByte(), 0xAB);
  EXPECT_EQ(s->ReadByte(), 1);
  EXPECT_EQ(s->ReadByte(), 2);
  EXPECT_THROW(s->ReadByte(), EReadError);
  s->SetPosition(9);
  EXPECT_THROW(s->ReadInteger(), EReadError);  // only two bytes left
  s->Free();
}

TEST(MemoryStream, LoadsAFileThatOthersHoldOpenForWriting) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const String path = String(dir) + L"dxMemoryStreamTest.bin";
  TFileStream* writer = New<TFileStream>(path, fmCreate);
  writer->Free();
  writer = New<TFileStream>(path, fmOpenReadWrite | fmShareDenyNone);
  writer->WriteBuffer("abc", 3);
  TdxMemoryStream* s = New<TdxMemoryStream>();
  s->LoadFromFile(path);
  EXPECT_EQ(s->ToArray(), Bytes({'a', 'b', 'c'}));
  s->Free();
  // The class library's own loading denies writers, so it fails here.
  TMemoryStream* plain = New<TMemoryStream>();
  EXPECT_THROW(plain->LoadFromFile(path), EFOpenError);
  plain->Free();
  writer->Free();
  TdxMemoryStream* byMode = New<TdxMemoryStream>(path, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyWrite));
  EXPECT_EQ(byMode->Size(), 3);
  byMode->Free();
  DeleteFileW(path.c_str());
  EXPECT_THROW(New<TdxMemoryStream>(path, static_cast<std::uint16_t>(fmOpenRead)), EFOpenError);
}

// ---------------------------------------------------------------------------
// Read-only windows

class TFreedSpy : public TMemoryStream {
  SK_CLASS(TFreedSpy, TMemoryStream)
 public:
  void Destroy() override {
    if (Freed) *Freed = true;
    inherited::Destroy();
  }
  bool* Freed = nullptr;
};

TEST(ReadOnlySubStream, ClampsItsWindowToTheSource) {
  TMemoryStream* source = StreamOf(Sequence(30));
  TdxReadOnlySubStream* beyond = New<TdxReadOnlySubStream>(source, 50, 10);
  EXPECT_EQ(beyond->Offset(), 30);
  EXPECT_EQ(beyond->Size(), 0);
  std::uint8_t buffer[100];
  EXPECT_EQ(beyond->Read(buffer, 100), 0);
  beyond->Free();

  TdxReadOnlySubStream* window = New<TdxReadOnlySubStream>(source, 5, 10);
  EXPECT_EQ(window->Read(buffer, 100), 10);
  EXPECT_EQ(std::memcmp(buffer, Sequence(30).data() + 5, 10), 0);
  EXPECT_EQ(window->Read(buffer, 100), 0);
  EXPECT_EQ(window->Seek(5, soFromEnd), 10);
  EXPECT_EQ(window->Seek(-3, soFromBeginning), 0);
  EXPECT_EQ(window->Seek(4, soFromCurrent), 4);
  EXPECT_EQ(window->Read(buffer, 2), 2);
  EXPECT_EQ(buffer[0], Sequence(30)[9]);
  window->Free();

  TdxReadOnlySubStream* tail = New<TdxReadOnlySubStream>(source, 25, 100);
  EXPECT_EQ(tail->Size(), 5);
  tail->Free();
  source->Free();
}

TEST(ReadOnlySubStream, RefusesChangesAndFreesAnOwnedSource) {
  bool freed = false;
  TFreedSpy* source = New<TFreedSpy>();
  source->Freed = &freed;
  source->WriteBuffer("0123456789", 10);
  TdxReadOnlySubStream* window = New<TdxReadOnlySubStream>(source, 2, 4, soOwned);
  EXPECT_EQ(ErrorOf([&] { window->Write("x", 1); }), L"EInvalidOperation: You cannot modify read-only stream");
  EXPECT_EQ(ErrorOf([&] { window->SetSize(1); }), L"EInvalidOperation: You cannot modify read-only stream");
  EXPECT_FALSE(freed);
  window->Free();
  EXPECT_TRUE(freed);
}

TEST(ReadOnlySubStream, WindowsOverOneSourceReadFromSeveralThreads) {
  const TBytes data = Sequence(4096);
  TMemoryStream* source = StreamOf(data);
  std::vector<std::thread> threads;
  std::atomic<int> mismatches{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      TdxReadOnlySubStream* window = New<TdxReadOnlySubStream>(source, t * 1000, 1000);
      std::uint8_t buffer[1000];
      for (int round = 0; round < 200; ++round) {
        window->SetPosition(0);
        int got = 0;
        while (got < 1000) got += window->Read(buffer + got, 37);
        if (std::memcmp(buffer, data.data() + t * 1000, 1000) != 0) ++mismatches;
      }
      window->Free();
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(mismatches, 0);
  source->Free();
}

TEST(HGlobalReadOnlyStream, ReadsTheBlockAndLeavesItUnlocked) {
  const TGlobalMemory owned(GlobalAlloc(GMEM_MOVEABLE, 6));
  const HGLOBAL block = owned.Get();
  std::memcpy(TGlobalLock(block).Data(), "global", 6);
  TdxHGlobalReadOnlyStream* s = New<TdxHGlobalReadOnlyStream>(block);
  EXPECT_EQ(s->Size(), static_cast<std::int64_t>(GlobalSize(block)));
  char text[6];
  s->ReadBuffer(text, 6);
  EXPECT_EQ(std::memcmp(text, "global", 6), 0);
  EXPECT_EQ(ErrorOf([&] { s->Write("x", 1); }), L"EInvalidOperation: You cannot modify read-only stream");
  EXPECT_THROW(s->SetSize(0), EInvalidOperation);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
  s->Free();
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);  // not owned: still there, unlocked
  EXPECT_THROW(New<TdxHGlobalReadOnlyStream>(nullptr), EStreamError);
}

// ---------------------------------------------------------------------------
// Buffered stream

TEST(BufferedStream, ReadsEverythingInOneCallAcrossRefills) {
  TMemoryStream* source = StreamOf(Sequence(10));
  TdxBufferedStream* s = New<TdxBufferedStream>(source, soReference, 4);
  std::uint8_t buffer[20] = {};
  EXPECT_EQ(s->Read(buffer, 20), 10);
  EXPECT_EQ(std::memcmp(buffer, Sequence(10).data(), 10), 0);
  EXPECT_EQ(s->Read(buffer, 20), 0);
  EXPECT_EQ(s->Seek(-3, soFromEnd), 7);
  EXPECT_EQ(s->Seek(100, soFromBeginning), 10);  // clamped
  EXPECT_EQ(s->Seek(-100, soFromCurrent), 0);
  s->Free();
  source->Free();
}

TEST(BufferedStream, WritesReachTheSourceWhenThePositionLeavesTheWindow) {
  TMemoryStream* source = StreamOf(Sequence(10));
  TdxBufferedStream* s = New<TdxBufferedStream>(source, soReference, 4);
  s->Write("ab", 2);
  EXPECT_EQ(ContentOf(source), Sequence(10));  // still in the buffer
  s->Write("cd", 2);                         // fills the window
  EXPECT_EQ(ContentOf(source), Sequence(10));
  s->Write("e", 1);  // position 4 leaves the window: the first four bytes go out
  TBytes expected = Sequence(10);
  std::memcpy(expected.data(), "abcd", 4);
  EXPECT_EQ(ContentOf(source), expected);
  s->Seek(0, soFromEnd);
  s->Write("XYZ", 3);  // beyond the source's end
  EXPECT_EQ(s->Size(), 13);
  EXPECT_EQ(source->Size(), 10);
  s->Free();  // the rest at destruction
  expected[4] = 'e';
  expected.insert(expected.end(), {'X', 'Y', 'Z'});
  EXPECT_EQ(ContentOf(source), expected);
  source->Free();
}

TEST(BufferedStream, BehavesLikeThePlainStreamUnderRandomOperations) {
  std::mt19937 random(11);
  for (int bufferSize : {1, 3, 16, 64}) {
    SCOPED_TRACE(bufferSize);
    TMemoryStream* model = StreamOf(Sequence(50));
    TMemoryStream* source = StreamOf(Sequence(50));
    TOwned<TdxBufferedStream> sOwner(New<TdxBufferedStream>(source, soReference, bufferSize));
    TdxBufferedStream* s = sOwner.get();
    for (int step = 0; step < 2000; ++step) {
      const int op = static_cast<int>(random() % 3);
      const int count = static_cast<int>(random() % 40);
      if (op == 0) {
        const std::int64_t target = static_cast<std::int64_t>(random() % 120) - 10;
        ASSERT_EQ(s->Seek(target, soFromBeginning), std::clamp<std::int64_t>(target, 0, model->Size()));
        model->SetPosition(std::clamp<std::int64_t>(target, 0, model->Size()));
      } else if (op == 1) {
        std::uint8_t a[40], b[40];
        const int got = s->Read(a, count);
        ASSERT_EQ(got, model->Read(b, count));
        ASSERT_EQ(std::memcmp(a, b, static_cast<std::size_t>(got)), 0);
      } else {
        std::uint8_t data[40];
        for (int i = 0; i < count; ++i) data[i] = static_cast<std::uint8_t>(random());
        s->Write(data, count);
        model->Write(data, count);
      }
      ASSERT_EQ(s->Position(), model->Position());
      ASSERT_EQ(s->Size(), model->Size());
    }
    sOwner.reset();
    EXPECT_EQ(ContentOf(source), ContentOf(model));
    source->Free();
    model->Free();
  }
}

TEST(BufferedStream, AGrownSourceGetsZerosNotOldBufferBytes) {
  TMemoryStream* source = StreamOf(Sequence(10));
  TdxBufferedStream* s = New<TdxBufferedStream>(source, soReference, 8);  // window 0..8 holds bytes 0..7
  std::uint8_t b[2];
  s->Seek(8, soFromBeginning);
  ASSERT_EQ(s->Read(b, 2), 2);  // window 8..16 holds 2 bytes
  s->SetSize(20);
  s->Seek(14, soFromBeginning);
  s->Write("x", 1);
  s->Free();
  TBytes expected = Sequence(10);
  expected.resize(20, 0);
  expected[14] = 'x';
  EXPECT_EQ(ContentOf(source), expected);
  source->Free();
}

TEST(BufferedStream, OwnsAFileItCreates) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const String path = String(dir) + L"dxBufferedStreamTest.bin";
  TdxBufferedStream* s = New<TdxBufferedStream>(path, fmCreate, 8);
  for (int i = 0; i < 100; ++i) s->Write(&i, 1);
  s->Free();
  TOwned<TdxMemoryStream> checkOwner(New<TdxMemoryStream>());
  TdxMemoryStream* check = checkOwner.get();
  check->LoadFromFile(path);
  ASSERT_EQ(check->Size(), 100);
  EXPECT_EQ(static_cast<const std::uint8_t*>(check->Memory())[99], 99);
  checkOwner.reset();
  DeleteFileW(path.c_str());
}

}  // namespace
