// The compressed form data of TcxBitmap ("XDBM"): packets of the writer,
// bitmaps written and read back equal in every pixel format, the plain
// form read as well, and a table of damaged data rejected with the
// bitmap left as it was.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include "platform/classes/ClassErrors.h"
#include "platform/classes/Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using TByteVector = std::vector<std::uint8_t>;

// The bitmap's form data, read and written as the form reader does.
class TFormDataBitmap : public TcxBitmap {
  SK_CLASS(TFormDataBitmap, TcxBitmap)
 public:
  using TcxBitmap::ReadData;
  using TcxBitmap::WriteData;
};
class TFormDataPlainBitmap : public TBitmap {
  SK_CLASS(TFormDataPlainBitmap, TBitmap)
 public:
  using TBitmap::WriteData;
};

TByteVector BytesOf(TMemoryStream* AStream) {
  const auto* data = static_cast<const std::uint8_t*>(AStream->Memory());
  return TByteVector(data, data + AStream->Size());
}

TByteVector FormData(TFormDataBitmap* ABitmap) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  ABitmap->WriteData(stream.get());
  return BytesOf(stream.get());
}

// Reads the data into the bitmap; the stream must be left right after it.
void ReadFormData(TFormDataBitmap* ABitmap, const TByteVector& AData) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(AData.data(), static_cast<std::int64_t>(AData.size()));
  const std::uint8_t trailer = 0xA5;
  stream->WriteBuffer(&trailer, 1);
  stream->SetPosition(0);
  ABitmap->ReadData(stream.get());
  EXPECT_EQ(stream->Position(), static_cast<std::int64_t>(AData.size())) << "the data read, nothing after it";
}

TOwned<TFormDataBitmap> NewFormDataBitmap(int AWidth, int AHeight, TPixelFormat AFormat) {
  return TOwned<TFormDataBitmap>(
      NewWith<TFormDataBitmap>([&](TFormDataBitmap* b) { b->CreateSize(AWidth, AHeight, AFormat); }));
}

// Pixels that change along the rows, with runs of equal pixels.
void Paint(TBitmap* ABitmap) {
  const HDC DC = ABitmap->Canvas()->Handle();
  FillRectWithColor(DC, TRect(0, 0, ABitmap->Width(), ABitmap->Height()), clWhite);
  for (int x = 0; x < ABitmap->Width(); x += 3)
    FillRectWithColor(DC, TRect(x, x % 5, x + 2, ABitmap->Height()), TColor(RGB(x * 9, 255 - x * 5, 128)));
}

TByteVector RawPixels(TBitmap* ABitmap) {
  TByteVector result;
  const int bytes = (ABitmap->Width() * PixelFormatBits(ABitmap->PixelFormat()) + 7) / 8;
  for (int y = 0; y < ABitmap->Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(ABitmap->ScanLine(y));
    result.insert(result.end(), row, row + bytes);
  }
  return result;
}

class BitmapFormData : public GdiPlusTest {};

// ---------------------------------------------------------------------------
// Packets

TEST(BitmapDataPackets, RunsOfBlocks) {
  struct Case {
    const char* Name;
    TByteVector Plain;
    int BlockSize;
    TByteVector Payload;  // block size, raw count, raw bytes, packets
  };
  const Case cases[] = {
      {"A B C C C D", {'A', 'B', 'C', 'C', 'C', 'D'}, 1, {1, 0, 0x82, 'A', 'B', 3, 'C', 0x81, 'D'}},
      {"A A", {'A', 'A'}, 1, {1, 0, 2, 'A'}},
      {"A", {'A'}, 1, {1, 0, 0x81, 'A'}},
      {"A B", {'A', 'B'}, 1, {1, 0, 0x82, 'A', 'B'}},
      {"blocks of two with a raw byte", {9, 'A', 'a', 'A', 'a', 'B', 'b'}, 2, {2, 1, 9, 2, 'A', 'a', 0x81, 'B', 'b'}},
      {"three equal blocks of three", {1, 2, 3, 1, 2, 3, 1, 2, 3}, 3, {3, 0, 3, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const TByteVector data = CompressBitmapData(c.Plain, c.BlockSize);
    ASSERT_GE(data.size(), 10u);
    EXPECT_EQ(TByteVector(data.begin() + 4, data.begin() + 10), (TByteVector{'X', 'D', 'B', 'M', 2, 0}));
    std::int32_t length = 0;
    std::memcpy(&length, data.data(), 4);
    EXPECT_EQ(length, static_cast<std::int32_t>(data.size() - 10));
    EXPECT_EQ(TByteVector(data.begin() + 10, data.end()), c.Payload);
  }
}

TEST(BitmapDataPackets, LongRunsSplitAt125) {
  const TByteVector plain(300, 7);
  const TByteVector data = CompressBitmapData(plain, 1);
  EXPECT_EQ(TByteVector(data.begin() + 10, data.end()), (TByteVector{1, 0, 125, 7, 125, 7, 50, 7}));
  TByteVector alternating;
  for (int i = 0; i < 130; ++i) alternating.push_back(static_cast<std::uint8_t>(i));
  const TByteVector literal = CompressBitmapData(alternating, 1);
  EXPECT_EQ(literal[12], 0x80 | 125);
  EXPECT_EQ(literal[12 + 126], 0x80 | 5);
}

// ---------------------------------------------------------------------------
// Bitmaps

TEST_F(BitmapFormData, WrittenAndReadBackEqual) {
  struct Case {
    const char* Name;
    TPixelFormat Format;
    int Width;
    int Height;
  };
  const Case cases[] = {
      {"32 bits with alpha", pf32bit, 13, 7}, {"24 bits", pf24bit, 10, 9}, {"16 bits", pf16bit, 11, 3},
      {"15 bits", pf15bit, 4, 4},            {"8 bits", pf8bit, 17, 5},  {"1 bit", pf1bit, 9, 9},
      {"one pixel", pf24bit, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TFormDataBitmap> bitmap = NewFormDataBitmap(c.Width, c.Height, c.Format);
    Paint(bitmap.get());
    if (c.Format == pf32bit) {
      auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(2));
      row[3].rgbReserved = 77;
    }
    bitmap->SetCompressData(true);
    const TByteVector data = FormData(bitmap.get());
    ASSERT_GT(data.size(), 10u);
    EXPECT_EQ(std::memcmp(data.data() + 4, "XDBM", 4), 0);

    TOwned<TFormDataBitmap> read = NewFormDataBitmap(2, 2, pf24bit);
    ReadFormData(read.get(), data);
    EXPECT_EQ(read->PixelFormat(), c.Format);
    EXPECT_EQ(read->Width(), c.Width);
    EXPECT_EQ(read->Height(), c.Height);
    EXPECT_EQ(RawPixels(read.get()), RawPixels(bitmap.get()));
  }
}

TEST_F(BitmapFormData, OneColourCompressesToRepeatsOf125Pixels) {
  TOwned<TFormDataBitmap> bitmap = NewFormDataBitmap(10, 30, pf32bit);
  for (int y = 0; y < 30; ++y) {
    auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
    for (int x = 0; x < 10; ++x) row[x] = RGBQUAD{1, 2, 3, 4};
  }
  bitmap->SetCompressData(true);
  const TByteVector data = FormData(bitmap.get());
  // 300 pixels: 125, 125 and 50.
  const TByteVector tail{0x7D, 1, 2, 3, 4, 0x7D, 1, 2, 3, 4, 0x32, 1, 2, 3, 4};
  ASSERT_GT(data.size(), tail.size());
  EXPECT_EQ(TByteVector(data.end() - static_cast<std::ptrdiff_t>(tail.size()), data.end()), tail);
  EXPECT_LT(data.size(), 150u);
}

TEST_F(BitmapFormData, PlainDataWrittenAndReadAsItIs) {
  TOwned<TFormDataPlainBitmap> other(New<TFormDataPlainBitmap>());
  other->SetPixelFormat(pf24bit);
  other->SetSize(6, 5);
  Paint(other.get());
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  other->WriteData(stream.get());
  const TByteVector plain = BytesOf(stream.get());

  TOwned<TFormDataBitmap> read = NewFormDataBitmap(1, 1, pf32bit);
  ReadFormData(read.get(), plain);
  EXPECT_EQ(read->PixelFormat(), pf24bit);
  EXPECT_EQ(RawPixels(read.get()), RawPixels(other.get()));

  // Without CompressData the written data is the plain data itself.
  EXPECT_FALSE(read->CompressData());
  EXPECT_EQ(FormData(read.get()), plain);
}

TEST_F(BitmapFormData, DamagedDataRejectedAndTheBitmapKept) {
  TOwned<TFormDataBitmap> source = NewFormDataBitmap(5, 4, pf24bit);
  Paint(source.get());
  source->SetCompressData(true);
  const TByteVector valid = FormData(source.get());
  // The valid data with a change.
  auto changed = [&](const std::function<void(TByteVector&)>& AChange) {
    TByteVector data = valid;
    AChange(data);
    return data;
  };
  auto setLength = [](TByteVector& AData, std::int32_t ALength) { std::memcpy(AData.data(), &ALength, 4); };
  auto payloadOf = [](const TByteVector& APayload) {
    TByteVector data{0, 0, 0, 0, 'X', 'D', 'B', 'M', 2, 0};
    const auto length = static_cast<std::int32_t>(APayload.size());
    std::memcpy(data.data(), &length, 4);
    data.insert(data.end(), APayload.begin(), APayload.end());
    return data;
  };
  // Plain data of 8 bytes stated, then one byte of bitmap file.
  const TByteVector stated8{8, 0, 0, 0};
  struct Case {
    const char* Name;
    TByteVector Data;
  };
  const Case cases[] = {
      {"negative payload length", changed([&](TByteVector& d) { setLength(d, -5); })},
      {"payload beyond the stream", changed([&](TByteVector& d) { setLength(d, static_cast<std::int32_t>(d.size())); })},
      {"payload cut short", changed([&](TByteVector& d) {
         d.resize(d.size() - 3);
         setLength(d, static_cast<std::int32_t>(d.size() - 10));
       })},
      {"unknown method", changed([](TByteVector& d) { d[8] = 3; })},
      {"no block size", payloadOf({})},
      {"block size 0", payloadOf({0, 0})},
      {"block size 5", payloadOf({5, 0, 0x81, 1, 2, 3, 4, 5})},
      {"raw bytes not below the block size", payloadOf({2, 2, 8, 0})},
      {"raw bytes beyond the payload", payloadOf({4, 3, 8})},
      {"a literal beyond the payload", payloadOf({1, 0, 0x84, 8, 0, 0})},
      {"a repeated block beyond the payload", payloadOf({4, 0, 0x81, 8, 0, 0, 0, 3, 1, 2})},
      {"more bytes than stated", payloadOf({4, 0, 0x81, 8, 0, 0, 0, 3, 1, 2, 3, 4})},
      {"fewer bytes than stated", payloadOf({4, 0, 0x81, 8, 0, 0, 0, 1, 1, 2, 3, 4})},
      {"a negative stated length", payloadOf({4, 0, 0x81, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"a stated length no payload this short reaches",
       payloadOf({4, 0, 0x81, 0xF0, 0xFF, 0xFF, 0x7F, 0x7F, 0, 0, 0, 0})},
      {"no stated length", payloadOf({1, 0, 0x83, 1, 2, 3})},
      {"method 1 beyond the payload", changed([](TByteVector& d) {
         d[8] = 1;
         d.resize(14);
         const std::int32_t length = 4;
         std::memcpy(d.data(), &length, 4);
         d[10] = 0x85;
       })},
      {"repeats of nothing and a short literal", payloadOf({4, 0, 0, 1, 2, 3, 4, 0x81, 4, 0, 0, 0, 0x81})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TFormDataBitmap> bitmap = NewFormDataBitmap(3, 2, pf32bit);
    Paint(bitmap.get());
    const TByteVector before = RawPixels(bitmap.get());
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(c.Data.data(), static_cast<std::int64_t>(c.Data.size()));
    stream->SetPosition(0);
    EXPECT_THROW(bitmap->ReadData(stream.get()), EReadError);
    EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(RawPixels(bitmap.get()), before);
  }
}

TEST_F(BitmapFormData, ABrokenBitmapFileInsideIsTheBitmapReadersError) {
  // Well-formed packets of a bitmap file that is not one.
  const TByteVector data{0, 0, 0, 0, 'X', 'D', 'B', 'M', 2, 0};
  TByteVector framed = data;
  const TByteVector payload{1, 0, 0x88, 4, 0, 0, 0, 'B', 'M', 0, 1};
  const auto length = static_cast<std::int32_t>(payload.size());
  std::memcpy(framed.data(), &length, 4);
  framed.insert(framed.end(), payload.begin(), payload.end());
  TOwned<TFormDataBitmap> bitmap = NewFormDataBitmap(3, 2, pf24bit);
  Paint(bitmap.get());
  const TByteVector before = RawPixels(bitmap.get());
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(framed.data(), static_cast<std::int64_t>(framed.size()));
  stream->SetPosition(0);
  EXPECT_THROW(bitmap->ReadData(stream.get()), EInvalidGraphic);
  EXPECT_EQ(bitmap->Width(), 3);
  EXPECT_EQ(RawPixels(bitmap.get()), before);
}

TEST_F(BitmapFormData, CountsOfZeroAreAccepted) {
  TOwned<TFormDataBitmap> source = NewFormDataBitmap(3, 3, pf24bit);
  Paint(source.get());
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  source->WriteData(stream.get());
  const TByteVector plain = BytesOf(stream.get());
  // Method 1 by hand: empty packets between literals of up to 127 bytes.
  TByteVector payload;
  for (std::size_t i = 0; i < plain.size(); i += 100) {
    payload.push_back(0x80);
    payload.push_back(0);
    payload.push_back(0x55);
    const std::size_t n = std::min<std::size_t>(100, plain.size() - i);
    payload.push_back(static_cast<std::uint8_t>(0x80 | n));
    payload.insert(payload.end(), plain.begin() + static_cast<std::ptrdiff_t>(i),
                   plain.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  TByteVector data{0, 0, 0, 0, 'X', 'D', 'B', 'M', 1, 0};
  const auto length = static_cast<std::int32_t>(payload.size());
  std::memcpy(data.data(), &length, 4);
  data.insert(data.end(), payload.begin(), payload.end());
  TOwned<TFormDataBitmap> read = NewFormDataBitmap(1, 1, pf32bit);
  ReadFormData(read.get(), data);
  EXPECT_EQ(RawPixels(read.get()), RawPixels(source.get()));
}

}  // namespace
