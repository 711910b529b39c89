#include "platform/classes/Streams.h"

#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Content(TCustomMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

// ---------------------------------------------------------------------------
// Memory streams

TEST(MemoryStream, ReadsAreClampedToTheEnd) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer("abcdef", 6);
  s->SetPosition(4);
  char buffer[10] = {};
  EXPECT_EQ(s->Read(buffer, 10), 2);
  EXPECT_EQ(std::string(buffer), "ef");
  EXPECT_EQ(s->Read(buffer, 10), 0);
  s->SetPosition(100);
  EXPECT_EQ(s->Read(buffer, 10), 0);
  EXPECT_EQ(s->Read(buffer, -5), 0);
  s->SetPosition(3);
  EXPECT_THROW(s->ReadBuffer(buffer, 4), EReadError);
}

TEST(MemoryStream, SeekFromEachOriginAndNegativePositionsRaise) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer("0123456789", 10);
  EXPECT_EQ(s->Seek(2, soBeginning), 2);
  EXPECT_EQ(s->Seek(3, soCurrent), 5);
  EXPECT_EQ(s->Seek(-4, soEnd), 6);
  EXPECT_EQ(s->Seek(5, soFromEnd), 15);  // beyond the end is allowed
  EXPECT_THROW(s->Seek(-1, soBeginning), EStreamError);
  EXPECT_THROW(s->Seek(-11, soEnd), EStreamError);
  EXPECT_EQ(s->Position(), 15);
}

TEST(MemoryStream, WritingBeyondTheEndFillsTheGapWithZeros) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer("ab", 2);
  s->SetPosition(5);
  s->WriteBuffer("z", 1);
  EXPECT_EQ(s->Size(), 6);
  EXPECT_EQ(Content(s.get()), std::string("ab\0\0\0z", 6));
}

TEST(MemoryStream, GrowsInBlocksAndKeepsContent) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer("x", 1);
  EXPECT_EQ(s->Capacity(), 0x2000);
  std::string expected = "x";
  // Many small writes: content intact, capacity grows ahead of the size.
  for (int i = 0; i < 100000; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    s->WriteBuffer(&c, 1);
    expected += c;
  }
  EXPECT_EQ(Content(s.get()), expected);
  EXPECT_GE(s->Capacity(), s->Size());
  EXPECT_EQ(s->Capacity() % 0x2000, 0);
  s->SetSize(3);
  EXPECT_EQ(s->Position(), 3);
  s->SetSize(5);
  EXPECT_EQ(Content(s.get()), std::string("xab\0\0", 5));
  s->Clear();
  EXPECT_EQ(s->Size(), 0);
  EXPECT_EQ(s->Memory(), nullptr);
  EXPECT_THROW(s->SetSize(-1), EStreamError);
}

// Records the capacity requests a derived stream sees.
class TBlockStream : public TMemoryStream {
  SK_CLASS(TBlockStream, TMemoryStream)
 protected:
  void* Realloc(std::int64_t& ANewCapacity) override {
    if (ANewCapacity > 0 && ANewCapacity != Size()) ANewCapacity = (ANewCapacity + 0x3FFF) / 0x4000 * 0x4000;
    return inherited::Realloc(ANewCapacity);
  }
};

TEST(MemoryStream, ADerivedReallocDecidesTheCapacity) {
  TOwned<TBlockStream> s(New<TBlockStream>());
  s->WriteBuffer("x", 1);
  EXPECT_EQ(s->Capacity(), 0x4000);
  std::string block(0x4000, 'y');
  s->WriteBuffer(block.data(), static_cast<std::int64_t>(block.size()));
  EXPECT_EQ(s->Capacity(), 0x8000);
}

TEST(MemoryStream, CopyFromWholeOrPart) {
  TOwned<TMemoryStream> source(New<TMemoryStream>());
  source->WriteBuffer("hello world", 11);
  TOwned<TMemoryStream> dest(New<TMemoryStream>());
  EXPECT_EQ(dest->CopyFrom(source.get()), 11);  // 0: all of it, from the start
  EXPECT_EQ(Content(dest.get()), "hello world");
  source->SetPosition(6);
  dest->Clear();
  EXPECT_EQ(dest->CopyFrom(source.get(), 3), 3);
  EXPECT_EQ(Content(dest.get()), "wor");
  EXPECT_THROW(dest->CopyFrom(source.get(), 5), EReadError);  // only 2 left
  EXPECT_THROW(dest->CopyFrom(source.get(), -1), EStreamError);
}

TEST(MemoryStream, TypedData) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBufferData<std::int32_t>(0x01020304);
  s->WriteBufferData<double>(2.5);
  EXPECT_EQ(Content(s.get()).substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  s->SetPosition(0);
  std::int32_t i = 0;
  double d = 0;
  s->ReadBufferData(i);
  s->ReadBufferData(d);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(d, 2.5);
  std::int64_t big = 0;
  s->SetPosition(8);
  EXPECT_EQ(s->ReadData(big), 4);
  EXPECT_THROW(s->ReadBufferData(big), EReadError);
}

TEST(BytesStream, ExposesItsArray) {
  TOwned<TBytesStream> s(New<TBytesStream>(TBytes{1, 2, 3}));
  EXPECT_EQ(s->Size(), 3);
  EXPECT_EQ(s->Position(), 0);
  s->Seek(0, soEnd);
  const std::uint8_t four = 4;
  s->WriteBuffer(&four, 1);
  EXPECT_GE(s->Bytes().size(), 4u);
  EXPECT_EQ(TBytes(s->Bytes().begin(), s->Bytes().begin() + 4), (TBytes{1, 2, 3, 4}));
  TBytes out(2);
  s->SetPosition(1);
  EXPECT_EQ(s->ReadBytes(out, 0, 2), 2);
  EXPECT_EQ(out, (TBytes{2, 3}));
  EXPECT_THROW(s->ReadBytes(out, 1, 2), EStreamError);
}

// ---------------------------------------------------------------------------
// String streams

TEST(StringStream, EncodesInItsEncoding) {
  struct TCase {
    const char* Name;
    TEncoding* Encoding;
    std::string Bytes;
  } cases[] = {
      {"UTF-8", TEncoding::UTF8(), "Gr\xC3\xB6\xC3\x9F" "e"},
      {"UTF-16", TEncoding::Unicode(), std::string("G\0r\0\xF6\0\xDF\0e\0", 10)},
      {"UTF-16 big-endian", TEncoding::BigEndianUnicode(), std::string("\0G\0r\0\xF6\0\xDF\0e", 10)},
      {"code page 1252", TEncoding::GetEncoding(1252), "Gr\xF6\xDF" "e"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TStringStream> s(New<TStringStream>(String(L"Größe"), c.Encoding));
    EXPECT_EQ(Content(s.get()), c.Bytes);
    EXPECT_EQ(s->DataString(), L"Größe");
    EXPECT_EQ(s->Position(), 0);
  }
}

TEST(StringStream, ReadAndWriteStringsAtThePosition) {
  TOwned<TStringStream> s(New<TStringStream>(String(L"abc"), TEncoding::UTF8()));
  s->Seek(0, soEnd);
  s->WriteString(L"dé");
  EXPECT_EQ(s->DataString(), L"abcdé");
  s->SetPosition(1);
  EXPECT_EQ(s->ReadString(2), L"bc");
  EXPECT_EQ(s->ReadString(100), L"dé");
  EXPECT_EQ(s->ReadString(5), L"");
}

TEST(StringStream, InvalidBytesBecomeReplacementCharacters) {
  TOwned<TStringStream> s(New<TStringStream>(TBytes{'a', 0xC3, 0x28, 0xFF, 'b'}, TEncoding::UTF8()));
  const String text = s->DataString();
  EXPECT_EQ(text.front(), L'a');
  EXPECT_EQ(text.back(), L'b');
  EXPECT_NE(text.find(L'\xFFFD'), String::npos);
  TOwned<TStringStream> odd(New<TStringStream>(TBytes{'a', 0, 'b'}, TEncoding::Unicode()));
  EXPECT_EQ(odd->DataString(), String(L"a\xFFFD"));
}

// ---------------------------------------------------------------------------
// File streams

TEST(FileStream, CreateWriteReopenRead) {
  TTempDir dir;
  const String name = dir.File(L"data.bin");
  {
    TOwned<TFileStream> f(New<TFileStream>(name, fmCreate));
    f->WriteBuffer("0123456789", 10);
    EXPECT_EQ(f->Size(), 10);
    f->SetSize(4);
    EXPECT_EQ(f->Size(), 4);
    EXPECT_EQ(f->Position(), 4);
  }
  {
    TOwned<TFileStream> f(New<TFileStream>(name, fmOpenReadWrite));
    f->Seek(0, soEnd);
    f->WriteBuffer("xy", 2);
    EXPECT_EQ(f->FileName(), name);
  }
  EXPECT_EQ(ReadFileBytes(name), "0123xy");
  TOwned<TFileStream> f(New<TFileStream>(name, fmOpenRead | fmShareDenyNone));
  char buffer[8] = {};
  EXPECT_EQ(f->Read(buffer, 8), 6);
  EXPECT_EQ(f->Write("z", 1), 0);  // opened for reading only
  EXPECT_THROW(f->WriteBuffer("z", 1), EWriteError);
}

TEST(FileStream, ErrorsNameTheFile) {
  TTempDir dir;
  const String missing = dir.File(L"missing.txt");
  try {
    New<TFileStream>(missing, fmOpenRead);
    ADD_FAILURE() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(missing), String::npos) << e.what();
    EXPECT_NE(e.Message().find(L"kann nicht geöffnet werden"), String::npos) << e.what();
  }
  try {
    New<TFileStream>(dir.File(L"no\\such\\dir\\x.txt"), fmCreate);
    ADD_FAILURE() << "created a file in a missing directory";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(L"kann nicht erstellt werden"), String::npos) << e.what();
  }
  const String existing = dir.File(L"exists.txt");
  WriteFileBytes(existing, "a");
  EXPECT_THROW(New<TFileStream>(existing, fmCreate | fmExclusive), EFCreateError);
  EXPECT_THROW(New<TFileStream>(existing, fmOpenRead | 0x0070), EFOpenError);
}

TEST(FileStream, ShareModesDecideWhoElseMayOpen) {
  TTempDir dir;
  const String name = dir.File(L"shared.txt");
  WriteFileBytes(name, "abc");
  struct TCase {
    const char* Name;
    std::uint16_t FirstMode;
    std::uint16_t SecondMode;
    bool SecondOpens;
  } cases[] = {
      {"exclusive refuses a reader", fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
      {"deny write lets a reader in", fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
      {"deny write refuses a writer", fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
      {"deny none lets a writer in", fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
      {"deny read refuses a reader", fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TFileStream> first(New<TFileStream>(name, c.FirstMode));
    bool opened = false;
    try {
      New<TFileStream>(name, c.SecondMode)->Free();
      opened = true;
    } catch (const EFOpenError&) {
    }
    EXPECT_EQ(opened, c.SecondOpens);
  }
}

TEST(FileStream, MemoryStreamSavesAndLoadsFiles) {
  TTempDir dir;
  const String name = dir.File(L"copy.bin");
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer("payload", 7);
  s->SaveToFile(name);
  TOwned<TMemoryStream> back(New<TMemoryStream>());
  back->LoadFromFile(name);
  EXPECT_EQ(Content(back.get()), "payload");
  EXPECT_EQ(back->Position(), 0);
}

// ---------------------------------------------------------------------------
// Resource streams

TEST(ResourceStream, ReadsTheProgramsResourcesByNameAndId) {
  TOwned<TResourceStream> byName(
      New<TResourceStream>(HINSTANCE(nullptr), String(L"SK_STREAM_SAMPLE"), RT_RCDATA));
  EXPECT_EQ(Content(byName.get()), "Skarnivel");
  TOwned<TResourceStream> byId(New<TResourceStream>(HINSTANCE(nullptr), String(L"#4711"), RT_RCDATA));
  EXPECT_EQ(Content(byId.get()), "by id");
  TOwned<TResourceStream> viaId(New<TResourceStream>(HINSTANCE(nullptr), 4711, RT_RCDATA));
  EXPECT_EQ(Content(viaId.get()), "by id");
  EXPECT_THROW(byName->WriteBuffer("x", 1), EStreamError);
}

TEST(ResourceStream, MissingResourceRaisesEResNotFound) {
  try {
    New<TResourceStream>(HINSTANCE(nullptr), String(L"NO_SUCH_RESOURCE"), RT_RCDATA);
    ADD_FAILURE() << "found a missing resource";
  } catch (const EResNotFound& e) {
    EXPECT_NE(e.Message().find(L"NO_SUCH_RESOURCE"), String::npos);
  }
  EXPECT_THROW(New<TResourceStream>(HINSTANCE(nullptr), 4712, RT_RCDATA), EResNotFound);
  EXPECT_THROW(New<TResourceStream>(HINSTANCE(nullptr), -3, RT_RCDATA), EResNotFound);
}

// ---------------------------------------------------------------------------
// IStream adapter

// Tells when it is freed.
class TWatchedStream : public TMemoryStream {
  SK_CLASS(TWatchedStream, TMemoryStream)
 public:
  void Create(bool* AFreed) { FFreed = AFreed; }
  void Destroy() override {
    *FFreed = true;
    inherited::Destroy();
  }

 private:
  bool* FFreed;
};

TEST(StreamAdapter, ReadsWritesAndSeeksTheStream) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  const TComRef<IStream> adapter(New<TStreamAdapter>(stream.get()));
  ULONG count = 0;
  EXPECT_EQ(adapter.Get()->Write("hello", 5, &count), S_OK);
  EXPECT_EQ(count, 5u);
  LARGE_INTEGER move{};
  ULARGE_INTEGER position{};
  move.QuadPart = 1;
  EXPECT_EQ(adapter.Get()->Seek(move, STREAM_SEEK_SET, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 1u);
  char buffer[8] = {};
  EXPECT_EQ(adapter.Get()->Read(buffer, 8, &count), S_FALSE) << "fewer bytes than asked for";
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(std::string(buffer, 4), "ello");
  move.QuadPart = -2;
  EXPECT_EQ(adapter.Get()->Seek(move, STREAM_SEEK_END, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 3u);
  EXPECT_EQ(adapter.Get()->Seek(move, 7, &position), STG_E_INVALIDFUNCTION);
  move.QuadPart = -10;
  EXPECT_EQ(adapter.Get()->Seek(move, STREAM_SEEK_CUR, nullptr), STG_E_INVALIDFUNCTION);
  ULARGE_INTEGER size{};
  size.QuadPart = 2;
  EXPECT_EQ(adapter.Get()->SetSize(size), S_OK);
  STATSTG stat;
  std::memset(&stat, 0xAB, sizeof(stat));
  EXPECT_EQ(adapter.Get()->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_EQ(stat.cbSize.QuadPart, 2u);
  EXPECT_EQ(stat.pwcsName, nullptr);
  EXPECT_EQ(adapter.Get()->Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
  EXPECT_EQ(adapter.Get()->Read(nullptr, 1, &count), STG_E_INVALIDPOINTER);
}

TEST(StreamAdapter, CopiesIntoAnotherStream) {
  TOwned<TMemoryStream> source(New<TMemoryStream>());
  source->WriteBuffer("0123456789", 10);
  source->SetPosition(2);
  TOwned<TMemoryStream> target(New<TMemoryStream>());
  const TComRef<IStream> from(New<TStreamAdapter>(source.get()));
  const TComRef<IStream> to(New<TStreamAdapter>(target.get()));
  ULARGE_INTEGER count{};
  count.QuadPart = 100;
  ULARGE_INTEGER read{};
  ULARGE_INTEGER written{};
  EXPECT_EQ(from.Get()->CopyTo(to.Get(), count, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 8u);
  EXPECT_EQ(written.QuadPart, 8u);
  EXPECT_EQ(Content(target.get()), "23456789");
}

TEST(StreamAdapter, TheLastReferenceFreesItAndTheStreamItOwns) {
  bool freed = false;
  TStreamAdapter* adapter = New<TStreamAdapter>(New<TWatchedStream>(&freed), soOwned);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(adapter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  void* other = &other;
  EXPECT_EQ(adapter->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_FALSE(freed);
  EXPECT_EQ(adapter->Release(), 0u);
  EXPECT_TRUE(freed);

  bool referencedFreed = false;
  TOwned<TWatchedStream> stream(New<TWatchedStream>(&referencedFreed));
  { const TComRef<IStream> reference(New<TStreamAdapter>(stream.get())); }
  EXPECT_FALSE(referencedFreed);
}

TEST(StreamAdapter, AFailingStreamAnswersTheErrorOfTheOperation) {
  TOwned<TResourceStream> stream(New<TResourceStream>(HINSTANCE(nullptr), 4711, RT_RCDATA));
  const TComRef<IStream> adapter(New<TStreamAdapter>(stream.get()));
  ULONG written = 7;
  EXPECT_EQ(adapter.Get()->Write("x", 1, &written), STG_E_CANTSAVE);
  EXPECT_EQ(written, 0u);
  ULARGE_INTEGER size{};
  EXPECT_EQ(adapter.Get()->SetSize(size), E_FAIL);
  IStream* clone = adapter.Get();
  EXPECT_EQ(adapter.Get()->Clone(&clone), E_NOTIMPL);
  EXPECT_EQ(clone, nullptr);
}

}  // namespace
