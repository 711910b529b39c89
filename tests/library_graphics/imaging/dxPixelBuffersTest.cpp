#include "library/graphics/imaging/dxPixelBuffers.h"
#include "library/graphics/imaging/dxPixelBuffers_Internal.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Premultiplication

TEST(PixelPremultiply, HalfAlphaExample) {
  std::vector<RGBQUAD> pixels = {Quad(200, 100, 50, 128)};
  TdxColors::Premultiply(pixels);
  EXPECT_EQ(Channels(pixels[0]), (TChannels{100, 50, 25, 128}));
  TdxColors::UnPremultiply(pixels);
  EXPECT_EQ(Channels(pixels[0]), (TChannels{199, 100, 50, 128})) << "straight colours need not come back";
}

// Valid premultiplied data (no channel above its alpha) survives an
// unpremultiply and a premultiply exactly, for every alpha and channel.
TEST(PixelPremultiply, PremultipliedPixelsRoundTripExactly) {
  std::vector<RGBQUAD> pixels;
  for (int alpha = 1; alpha < 256; ++alpha)
    for (int channel = 0; channel <= alpha; ++channel)
      pixels.push_back(Quad(channel, alpha - channel, channel / 2, alpha));
  const std::vector<RGBQUAD> original = pixels;
  TdxColors::UnPremultiply(pixels);
  TdxColors::Premultiply(pixels);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    ASSERT_EQ(Channels(pixels[i]), Channels(original[i])) << "pixel " << i;
}

TEST(PixelPremultiply, OpaquePixelsAreLeftAsTheyAre) {
  std::vector<RGBQUAD> pixels;
  for (int channel = 0; channel < 256; ++channel) pixels.push_back(Quad(channel, 255 - channel, channel, 255));
  const std::vector<RGBQUAD> original = pixels;
  TdxColors::Premultiply(pixels);
  for (std::size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(Channels(pixels[i]), Channels(original[i]));
  TdxColors::UnPremultiply(pixels);
  for (std::size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(Channels(pixels[i]), Channels(original[i]));
}

TEST(PixelPremultiply, TransparentAndInvalidPixels) {
  struct {
    const char* Name;
    RGBQUAD Pixel;
    bool Premultiply;
    TChannels Expected;
  } const cases[] = {
      {"transparent colour premultiplied", Quad(10, 200, 255, 0), true, {0, 0, 0, 0}},
      {"transparent black unpremultiplied becomes white", Quad(0, 0, 0, 0), false, {255, 255, 255, 0}},
      {"a transparent channel above 0 unpremultiplies to 0", Quad(5, 0, 0, 0), false, {0, 255, 255, 0}},
      // MulDiv(100, 255, 200) = 127.5, a half rounded away from zero.
      {"a channel above its alpha takes alpha * 255 / channel", Quad(200, 100, 100, 100), false, {128, 255, 255, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<RGBQUAD> pixels = {c.Pixel};
    if (c.Premultiply)
      TdxColors::Premultiply(pixels);
    else
      TdxColors::UnPremultiply(pixels);
    EXPECT_EQ(Channels(pixels[0]), c.Expected);
  }
}

TEST(PixelPremultiply, ArePremultiplied) {
  struct {
    const char* Name;
    std::vector<RGBQUAD> Pixels;
    bool Expected;
  } const cases[] = {
      {"channels at their alpha", {Quad(128, 0, 128, 128), Quad(0, 0, 0, 0)}, true},
      {"opaque", {Quad(255, 255, 255, 255)}, true},
      {"red above alpha", {Quad(0, 0, 0, 0), Quad(10, 10, 11, 10)}, false},
      {"blue above alpha", {Quad(1, 0, 0, 0)}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TdxColors::ArePremultiplied(c.Pixels), c.Expected);
    EXPECT_EQ(TdxColors::ArePremultiplied(std::span<const RGBQUAD>(c.Pixels)), c.Expected);
  }
  EXPECT_FALSE(TdxColors::ArePremultiplied(TRGBColors{})) << "an empty array";
  EXPECT_TRUE(TdxColors::ArePremultiplied(std::span<const RGBQUAD>{})) << "no pixels at a pointer";
}

TEST(PixelGrayScale, BlueWeighs77GreenWeighs150RedWeighs28) {
  std::vector<RGBQUAD> pixels = {Quad(255, 0, 0, 10), Quad(0, 255, 0, 20), Quad(0, 0, 255, 30),
                                 Quad(255, 255, 255, 40), Quad(100, 100, 100, 255)};
  TdxColors::GrayScale(pixels);
  const TChannels expected[] = {{77, 77, 77, 10}, {150, 150, 150, 20}, {28, 28, 28, 30}, {255, 255, 255, 40},
                                {100, 100, 100, 255}};
  for (std::size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(Channels(pixels[i]), expected[i]) << "pixel " << i;
}

// ---------------------------------------------------------------------------
// Tests of pixels

TEST(PixelTests, AlphaState) {
  struct {
    const char* Name;
    std::vector<int> Alphas;
    TdxAlphaState Expected;
  } const cases[] = {
      {"no pixels", {}, asNoAlpha},
      {"all 0", {0, 0, 0}, asNoAlpha},
      {"all 255", {255, 255}, asOpaque},
      {"0 and 255", {0, 255, 255}, asSemitransparent},
      {"255 then 0", {255, 0}, asSemitransparent},
      {"one 128", {255, 128, 255}, asSemitransparent},
      {"only 1", {1}, asSemitransparent},
      {"only 254", {254}, asSemitransparent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<RGBQUAD> pixels;
    for (int alpha : c.Alphas) pixels.push_back(Quad(9, 9, 9, alpha));
    EXPECT_EQ(GetPixelsAlphaState(pixels), c.Expected);
  }
}

TEST(PixelTests, ColorizeScalesTheColourByEachPixelsAlpha) {
  std::vector<RGBQUAD> pixels = {Quad(1, 2, 3, 128), Quad(9, 9, 9, 255), Quad(7, 7, 7, 0)};
  ColorizePixels(pixels, TColor(RGB(50, 100, 200)));
  EXPECT_EQ(Channels(pixels[0]), (TChannels{100, 50, 25, 128}));
  EXPECT_EQ(Channels(pixels[1]), (TChannels{200, 100, 50, 255}));
  EXPECT_EQ(Channels(pixels[2]), (TChannels{0, 0, 0, 0}));

  std::vector<RGBQUAD> system = {Quad(0, 0, 0, 255)};
  ColorizePixels(system, clBtnFace);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(Channels(system[0]), (TChannels{GetBValue(face), GetGValue(face), GetRValue(face), 255}));
}

TEST(PixelTests, SameColourWithTolerance) {
  struct {
    TdxAlphaColor A, B;
    int Tolerance;
    bool Expected;
  } const cases[] = {
      {0x80102030, 0x80102030, 0, true},   {0x80102030, 0x80102031, 0, false},
      {0x80102030, 0x82122032, 2, true},   {0x80102030, 0x83102030, 2, false},  // alpha counts too
      {0x80102030, 0x80132030, 2, false},  {0x00000000, 0xFFFFFFFF, 255, true},
      {0x80102030, 0x80102030, -1, false},  // no difference is ever within a negative tolerance
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.A << " " << c.B << " " << std::dec << c.Tolerance);
    EXPECT_EQ(IsSameColorWithTolerance(c.A, c.B, c.Tolerance), c.Expected);
    EXPECT_EQ(IsSameColorWithTolerance(c.B, c.A, c.Tolerance), c.Expected);
  }
}

TEST(PixelTests, BitmapAndDibSectionRecords) {
  TMemoryDC dib = TMemoryDC::Dib32(nullptr, 7, 3);
  BITMAP bitmap{};
  DIBSECTION section{};
  ASSERT_TRUE(GetBitmapObject(dib.Bitmap(), bitmap));
  EXPECT_EQ(bitmap.bmWidth, 7);
  EXPECT_EQ(bitmap.bmBitsPixel, 32);
  ASSERT_TRUE(GetDIBSectionObject(dib.Bitmap(), section));
  EXPECT_EQ(section.dsBmih.biBitCount, 32);

  const TOwnedBitmap ddb(CreateBitmap(5, 4, 1, 1, nullptr));
  EXPECT_TRUE(GetBitmapObject(ddb.Get(), bitmap));
  EXPECT_EQ(bitmap.bmHeight, 4);
  EXPECT_FALSE(GetDIBSectionObject(ddb.Get(), section)) << "a device-dependent bitmap has no DIB section";

  const TOwnedBrush brush(CreateSolidBrush(0));
  EXPECT_FALSE(GetBitmapObject(reinterpret_cast<HBITMAP>(brush.Get()), bitmap));
  EXPECT_FALSE(GetBitmapObject(nullptr, bitmap));
}

// ---------------------------------------------------------------------------
// Pixels of graphics

// Row y, column x: a pixel that tells both.
RGBQUAD Marker(int X, int Y) { return Quad(X * 10, Y * 10, 200, 255 - Y); }

std::vector<RGBQUAD> Markers(int AWidth, int AHeight) {
  std::vector<RGBQUAD> pixels;
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x) pixels.push_back(Marker(x, y));
  return pixels;
}

TEST(PixelGraphics, ReadsRowsTopDownOrBottomUp) {
  TTestBitmaps bitmaps;
  TBitmap* bitmap = bitmaps.Make32(3, 4, Markers(3, 4));
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    TRGBColors pixels;
    ASSERT_TRUE(GetGraphicPixels(bitmap, pixels, topDown));
    ASSERT_EQ(pixels.size(), 12u);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x) {
        const int row = topDown ? y : 3 - y;
        EXPECT_EQ(Channels(pixels[static_cast<std::size_t>(row * 3 + x)]), Channels(Marker(x, y)));
      }
  }
}

TEST(PixelGraphics, TheRowByRowReadGivesWhatTheWholeReadGives) {
  TTestBitmaps bitmaps;
  TBitmap* bitmap = bitmaps.Make32(5, 6, Markers(5, 6));
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    TRGBColors whole;
    ASSERT_TRUE(GetGraphicPixels(bitmap, whole, topDown));
    TRGBColors rows(whole.size());
    ASSERT_TRUE(dxReadBitmapRows(dc.Get(), bitmap->Handle(), 5, 6, topDown, rows));
    for (std::size_t i = 0; i < whole.size(); ++i) EXPECT_EQ(Channels(rows[i]), Channels(whole[i])) << "pixel " << i;
  }
}

TEST(PixelGraphics, ReadsOtherFormatsAs32BitPixels) {
  TTestBitmaps bitmaps;
  TBitmap* bitmap = bitmaps.Make(pf24bit, 2, 2);
  bitmap->Canvas()->Brush()->SetColor(TColor(RGB(10, 20, 30)));
  bitmap->Canvas()->FillRect(TRect(0, 0, 2, 2));
  TRGBColors pixels;
  ASSERT_TRUE(GetGraphicPixels(bitmap, pixels, true));
  EXPECT_EQ(Channels(pixels[3]), (TChannels{30, 20, 10, 0}));
}

TEST(PixelGraphics, WritesPixelsBack) {
  TTestBitmaps bitmaps;
  TBitmap* bitmap = bitmaps.Make32(3, 2, std::vector<RGBQUAD>(6, Quad(0, 0, 0, 0)));
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    TRGBColors pixels = Markers(3, 2);
    if (!topDown) std::swap_ranges(pixels.begin(), pixels.begin() + 3, pixels.begin() + 3);
    ASSERT_TRUE(SetGraphicPixels(bitmap, pixels, topDown));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(Channels(static_cast<RGBQUAD*>(bitmap->ScanLine(y))[x]), Channels(Marker(x, y)));
  }
}

TEST(PixelGraphics, WhatHasNoPixelsToGiveIsRefused) {
  TTestBitmaps bitmaps;
  TRGBColors pixels(4, Quad(1, 1, 1, 1));
  EXPECT_FALSE(GetGraphicPixels(bitmaps.Make(pf32bit, 0, 5), pixels, true));
  EXPECT_TRUE(pixels.empty()) << "sized to width x height";
  EXPECT_FALSE(GetGraphicPixels(nullptr, pixels, true));
  TOwned<TIcon> icon(New<TIcon>());
  EXPECT_FALSE(GetGraphicPixels(icon.get(), pixels, true));

  TBitmap* bitmap = bitmaps.Make32(3, 3, std::vector<RGBQUAD>(9, Quad(1, 2, 3, 4)));
  EXPECT_FALSE(SetGraphicPixels(bitmap, TRGBColors(8, Quad(9, 9, 9, 9)), true)) << "one pixel short";
  EXPECT_EQ(Channels(static_cast<RGBQUAD*>(bitmap->ScanLine(2))[2]), (TChannels{1, 2, 3, 4}));
  EXPECT_FALSE(SetGraphicPixels(icon.get(), TRGBColors(9), true));
}

TEST(PixelGraphics, BitsPerPixelOfEachFormat) {
  TTestBitmaps bitmaps;
  const struct {
    TPixelFormat Format;
    int Bits;
  } cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16}, {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bits);
    EXPECT_EQ(GetBitmapBitsPerPixel(bitmaps.Make(c.Format, 2, 2)), c.Bits);
  }
  TBitmap* device = bitmaps.Make(pfDevice, 2, 2);
  device->SetHandleType(bmDDB);
  const TScreenDC screen;
  EXPECT_EQ(GetBitmapBitsPerPixel(device), GetDeviceCaps(screen.Get(), BITSPIXEL));
}

TEST(PixelGraphics, AlphaStateOfGraphics) {
  TTestBitmaps bitmaps;
  struct {
    const char* Name;
    TBitmap* Bitmap;
    TdxAlphaState Expected;
  } const cases[] = {
      {"24 bits", bitmaps.Make(pf24bit, 2, 2), asNoAlpha},
      {"32 bits, alpha 0", bitmaps.Make32(2, 1, {Quad(9, 9, 9, 0), Quad(0, 0, 0, 0)}), asNoAlpha},
      {"32 bits, opaque", bitmaps.Make32(2, 1, {Quad(9, 9, 9, 255), Quad(0, 0, 0, 255)}), asOpaque},
      {"32 bits, mixed", bitmaps.Make32(2, 1, {Quad(9, 9, 9, 255), Quad(0, 0, 0, 0)}), asSemitransparent},
      {"empty", bitmaps.Make(pf32bit, 0, 0), asNoAlpha},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GetGraphicAlphaState(c.Bitmap), c.Expected);
    EXPECT_EQ(HasGraphicAlphaChannel(c.Bitmap), c.Expected != asNoAlpha);
  }
}

}  // namespace
