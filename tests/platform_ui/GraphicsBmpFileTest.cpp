// BMP files from other writers: header variants, row orders, run lengths,
// and damaged files.
#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using TBytesV = std::vector<std::uint8_t>;

void Put16(TBytesV& B, std::uint16_t V) {
  B.push_back(static_cast<std::uint8_t>(V));
  B.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TBytesV& B, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B.push_back(static_cast<std::uint8_t>(V >> (8 * i)));
}
void Set32(TBytesV& B, std::size_t At, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B[At + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(V >> (8 * i));
}

// A BMP file: file header, a BITMAPINFOHEADER, extra (masks or colours),
// pixel bytes.
TBytesV MakeBmp(int W, int H, int Bits, std::uint32_t Compression, const TBytesV& Extra, const TBytesV& Pixels,
                std::uint32_t ColorsUsed = 0) {
  TBytesV b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, static_cast<std::uint32_t>(14 + 40 + Extra.size() + Pixels.size()));
  Put32(b, 0);
  Put32(b, static_cast<std::uint32_t>(14 + 40 + Extra.size()));
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(W));
  Put32(b, static_cast<std::uint32_t>(H));
  Put16(b, 1);
  Put16(b, static_cast<std::uint16_t>(Bits));
  Put32(b, Compression);
  Put32(b, static_cast<std::uint32_t>(Pixels.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, ColorsUsed);
  Put32(b, 0);
  b.insert(b.end(), Extra.begin(), Extra.end());
  b.insert(b.end(), Pixels.begin(), Pixels.end());
  return b;
}

// 2 x 2, 24 bits: rows padded to 8 bytes. Given in file order.
TBytesV Pixels24(bool TopDown) {
  // Top row: red, green; bottom row: blue, white (B, G, R bytes).
  const TBytesV top = {0, 0, 255, 0, 255, 0, 0, 0};
  const TBytesV bottom = {255, 0, 0, 255, 255, 255, 0, 0};
  TBytesV p = TopDown ? top : bottom;
  const TBytesV& second = TopDown ? bottom : top;
  p.insert(p.end(), second.begin(), second.end());
  return p;
}

struct TLoaded {
  const TOwned<TBitmap> Bitmap{New<TBitmap>()};
  TColor At(int X, int Y) { return Bitmap->Canvas()->Pixels(X, Y); }
};

TEST(GraphicsBmpFile, BottomUpAndTopDownRowsGiveTheSamePicture) {
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    TLoaded l;
    l.Bitmap->LoadFromBmpData(MakeBmp(2, topDown ? -2 : 2, 24, BI_RGB, {}, Pixels24(topDown)));
    EXPECT_EQ(l.Bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(l.At(0, 0), clRed);
    EXPECT_EQ(l.At(1, 0), clLime);
    EXPECT_EQ(l.At(0, 1), clBlue);
    EXPECT_EQ(l.At(1, 1), clWhite);
  }
}

TEST(GraphicsBmpFile, PaletteFormatsUseTheFilesColours) {
  // 8 bits with a three-colour palette; rows of 4 bytes.
  const TBytesV palette = {0, 0, 0, 0, /*1: orange*/ 0, 128, 255, 0, /*2: teal*/ 128, 128, 0, 0};
  const TBytesV pixels = {2, 1, 0, 0, /*top*/ 1, 2, 0, 0};
  TLoaded l;
  l.Bitmap->LoadFromBmpData(MakeBmp(2, 2, 8, BI_RGB, palette, pixels, 3));
  EXPECT_EQ(l.Bitmap->PixelFormat(), pf8bit);
  EXPECT_EQ(l.At(0, 0), TColor(0x0080FF));
  EXPECT_EQ(l.At(1, 0), clTeal);
  EXPECT_EQ(l.At(0, 1), clTeal);
}

TEST(GraphicsBmpFile, RunLengthsAreDecoded) {
  // RLE8, 4 x 2: bottom row "3 x index 1, 1 x index 0", end of line,
  // top row "4 x index 2", end of bitmap.
  const TBytesV palette = {0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
  const TBytesV rle = {3, 1, 1, 0, 0, 0, 4, 2, 0, 1};
  TLoaded l;
  l.Bitmap->LoadFromBmpData(MakeBmp(4, 2, 8, BI_RLE8, palette, rle, 3));
  EXPECT_EQ(l.At(0, 1), clRed);
  EXPECT_EQ(l.At(2, 1), clRed);
  EXPECT_EQ(l.At(3, 1), clBlack);
  EXPECT_EQ(l.At(0, 0), clBlue);
  EXPECT_EQ(l.At(3, 0), clBlue);
}

TEST(GraphicsBmpFile, BitFieldsOfSixteenBits) {
  TBytesV masks;
  Put32(masks, 0xF800);
  Put32(masks, 0x07E0);
  Put32(masks, 0x001F);
  // One row of two pixels: pure red and pure blue in 5-6-5.
  TBytesV pixels;
  Put16(pixels, 0xF800);
  Put16(pixels, 0x001F);
  TLoaded l;
  l.Bitmap->LoadFromBmpData(MakeBmp(2, 1, 16, BI_BITFIELDS, masks, pixels));
  EXPECT_EQ(l.Bitmap->PixelFormat(), pf16bit);
  EXPECT_EQ(l.At(0, 0), clRed);
  EXPECT_EQ(l.At(1, 0), clBlue);
}

TEST(GraphicsBmpFile, CoreHeaderFiles) {
  TBytesV b = {'B', 'M'};
  Put32(b, 14 + 12 + 6 + 4);
  Put32(b, 0);
  Put32(b, 14 + 12 + 6);
  Put32(b, 12);
  Put16(b, 2);
  Put16(b, 1);
  Put16(b, 1);
  Put16(b, 1);
  // Two RGBTRIPLEs: yellow, navy.
  b.insert(b.end(), {0, 255, 255, 128, 0, 0});
  b.insert(b.end(), {0x40, 0, 0, 0});  // pixels: 0 then 1
  TLoaded l;
  l.Bitmap->LoadFromBmpData(b);
  EXPECT_EQ(l.Bitmap->PixelFormat(), pf1bit);
  EXPECT_EQ(l.At(0, 0), clYellow);
  EXPECT_EQ(l.At(1, 0), clNavy);
}

struct TDamage {
  const char* Name;
  std::function<void(TBytesV&)> Apply;
};

TEST(GraphicsBmpFile, DamagedFilesRaiseAndKeepTheOldPicture) {
  const TBytesV good = MakeBmp(2, 2, 24, BI_RGB, {}, Pixels24(false));
  const TDamage damages[] = {
      {"too short", [](TBytesV& b) { b.resize(20); }},
      {"wrong magic", [](TBytesV& b) { b[0] = 'X'; }},
      {"unknown header size", [](TBytesV& b) { Set32(b, 14, 44); }},
      {"zero width", [](TBytesV& b) { Set32(b, 18, 0); }},
      {"negative width", [](TBytesV& b) { Set32(b, 18, static_cast<std::uint32_t>(-5)); }},
      {"zero height", [](TBytesV& b) { Set32(b, 22, 0); }},
      {"huge", [](TBytesV& b) { Set32(b, 18, 60000); Set32(b, 22, 60000); }},
      {"odd bit count", [](TBytesV& b) { b[28] = 7; }},
      {"jpeg inside", [](TBytesV& b) { Set32(b, 30, 4 /* BI_JPEG */); }},
      {"run lengths at 24 bits", [](TBytesV& b) { Set32(b, 30, BI_RLE8); }},
      {"truncated pixels", [](TBytesV& b) { b.resize(b.size() - 3); }},
      {"palette too long", [](TBytesV& b) { b[28] = 8; Set32(b, 46, 300); }},
      {"palette beyond the end", [](TBytesV& b) { b[28] = 8; Set32(b, 46, 256); }},
  };
  for (const TDamage& d : damages) {
    SCOPED_TRACE(d.Name);
    TBytesV bad = good;
    d.Apply(bad);
    TLoaded l;
    l.Bitmap->SetPixelFormat(pf24bit);
    l.Bitmap->SetSize(5, 5);
    l.Bitmap->Canvas()->SetPixels(1, 1, clAqua);
    EXPECT_THROW(l.Bitmap->LoadFromBmpData(bad), EInvalidGraphic);
    EXPECT_EQ(l.Bitmap->Width(), 5);
    EXPECT_EQ(l.At(1, 1), clAqua);
  }
}

TEST(GraphicsBmpFile, RunLengthsCannotWriteOutsideTheImage) {
  // A delta that jumps far beyond the bitmap and runs longer than a row.
  const TBytesV palette = {0, 0, 0, 0, 0, 0, 255, 0};
  const TBytesV rle = {0, 2, 200, 200, 255, 1, 0, 0, 255, 1, 255, 1, 0, 1};
  TLoaded l;
  try {
    l.Bitmap->LoadFromBmpData(MakeBmp(4, 2, 8, BI_RLE8, palette, rle, 2));
    EXPECT_EQ(l.Bitmap->Width(), 4);
  } catch (const EInvalidGraphic&) {
    // Refusing the file is as good.
  }
}

}  // namespace
