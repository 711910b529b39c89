// Off-screen bitmaps: construction and update locking, flipping and
// turning with the alpha channel kept, and the per-pixel operations of the
// 32-bit and alpha bitmaps as tables of pixels.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

class OffScreenBitmap : public GdiPlusTest {};

template <class T>
TOwned<T> MakeBitmap(int AWidth, int AHeight) {
  return TOwned<T>(NewWith<T>([&](T* b) { b->CreateSize(AWidth, AHeight); }));
}

// Pixels top row first, as the test writes them.
void SetPixels(TBitmap* ABitmap, const std::vector<RGBQUAD>& APixels) {
  for (int y = 0; y < ABitmap->Height(); ++y) {
    auto* row = static_cast<RGBQUAD*>(ABitmap->ScanLine(y));
    for (int x = 0; x < ABitmap->Width(); ++x) row[x] = APixels[static_cast<std::size_t>(y * ABitmap->Width() + x)];
  }
  ABitmap->Changed(ABitmap);
}
std::vector<TChannels> PixelsOf(TBitmap* ABitmap) {
  std::vector<TChannels> result;
  for (int y = 0; y < ABitmap->Height(); ++y) {
    const auto* row = static_cast<const RGBQUAD*>(ABitmap->ScanLine(y));
    for (int x = 0; x < ABitmap->Width(); ++x) result.push_back(Channels(row[x]));
  }
  return result;
}

class TChangeCounter : public TObject {
  SK_CLASS(TChangeCounter, TObject)
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

// ---------------------------------------------------------------------------
// Construction and locking

TEST_F(OffScreenBitmap, FormatsAndSizes) {
  TOwned<TcxBitmap> plain = MakeBitmap<TcxBitmap>(10, 10);
  EXPECT_EQ(plain->PixelFormat(), pf24bit);
  EXPECT_EQ(plain->ClientRect(), TRect(0, 0, 10, 10));
  TOwned<TcxBitmap32> empty(New<TcxBitmap32>());
  EXPECT_EQ(empty->PixelFormat(), pf32bit);
  EXPECT_TRUE(empty->Empty());
  TOwned<TcxAlphaBitmap> alpha(New<TcxAlphaBitmap>());
  EXPECT_EQ(alpha->PixelFormat(), pf32bit);
  TOwned<TcxBitmap> custom(NewWith<TcxBitmap>([](TcxBitmap* b) { b->CreateSize(TRect(2, 2, 9, 5), pf8bit); }));
  EXPECT_EQ(custom->PixelFormat(), pf8bit);
  EXPECT_EQ(custom->Width(), 7);
  EXPECT_EQ(custom->Height(), 3);
  plain->SetSize(-3, 4);
  EXPECT_EQ(plain->Width(), 0);
  EXPECT_EQ(plain->Height(), 4);
  EXPECT_EQ(plain->cxCanvas()->Canvas(), plain->Canvas());
}

TEST_F(OffScreenBitmap, ChangesReportedOnceUnderALock) {
  struct Case {
    const char* Name;
    std::function<void(TcxBitmap*)> Action;
    int Reports;
  };
  const Case cases[] = {
      {"a change, unforced", [](TcxBitmap* b) {
         b->BeginUpdate();
         b->SetSize(5, 5);
         b->SetPixelFormat(pf32bit);
         b->EndUpdate(false);
       }, 1},
      {"no change, unforced", [](TcxBitmap* b) {
         b->BeginUpdate();
         b->EndUpdate(false);
       }, 0},
      {"no change, forced", [](TcxBitmap* b) {
         b->BeginUpdate();
         b->EndUpdate(true);
       }, 1},
      {"nested", [](TcxBitmap* b) {
         b->BeginUpdate();
         b->BeginUpdate();
         b->SetSize(6, 6);
         b->EndUpdate(false);
         b->SetSize(7, 7);
         b->EndUpdate(false);
       }, 1},
      {"cancelled", [](TcxBitmap* b) {
         b->BeginUpdate();
         b->SetSize(5, 5);
         b->CancelUpdate();
       }, 0},
      {"the same size", [](TcxBitmap* b) { b->SetSize(3, 3); }, 0},
      {"a new size", [](TcxBitmap* b) { b->SetSize(4, 3); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxBitmap> bitmap = MakeBitmap<TcxBitmap>(3, 3);
    TOwned<TChangeCounter> counter(New<TChangeCounter>());
    bitmap->SetOnChange(BindEvent<&TChangeCounter::Changed>(counter.get()));
    c.Action(bitmap.get());
    EXPECT_EQ(counter->Count, c.Reports);
  }
}

TEST_F(OffScreenBitmap, ThirtyTwoBitsOrAnError) {
  TOwned<TcxBitmap32> bitmap = MakeBitmap<TcxBitmap32>(4, 4);
  try {
    bitmap->SetPixelFormat(pf24bit);
    FAIL() << "no error";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), L"Wrong PixelFormat");
  }
  // Loading a 24-bit bitmap file comes out with 32 bits.
  TOwned<TBitmap> file(CreateBitmapWithFormat(3, 2, pf24bit));
  FillRectWithColor(file->Canvas()->Handle(), TRect(0, 0, 3, 2), clRed);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  file->SaveToStream(stream.get());
  stream->SetPosition(0);
  TOwned<TcxBitmap32> loaded(New<TcxBitmap32>());
  loaded->LoadFromStream(stream.get());
  EXPECT_EQ(loaded->PixelFormat(), pf32bit);
  EXPECT_EQ(loaded->Width(), 3);
  EXPECT_EQ(PixelsOf(loaded.get())[4][2], 255) << "red";
}

// ---------------------------------------------------------------------------
// Flipping and turning

TEST_F(OffScreenBitmap, FlipsAndTurnsKeepTheAlphaChannel) {
  // 3 x 2, each pixel with its own alpha.
  const std::vector<RGBQUAD> pixels = {Quad(1, 0, 0, 10), Quad(2, 0, 0, 20), Quad(3, 0, 0, 30),
                                       Quad(4, 0, 0, 40), Quad(5, 0, 0, 50), Quad(6, 0, 0, 60)};
  auto id = [](int ABlue) { return TChannels{ABlue, 0, 0, ABlue * 10}; };
  struct Case {
    const char* Name;
    std::function<void(TcxBitmap*)> Action;
    std::vector<int> Expected;  // the blue value of each pixel, top row first
  };
  const Case cases[] = {
      {"horizontally", [](TcxBitmap* b) { b->Flip(true, false); }, {3, 2, 1, 6, 5, 4}},
      {"vertically", [](TcxBitmap* b) { b->Flip(false, true); }, {4, 5, 6, 1, 2, 3}},
      {"both", [](TcxBitmap* b) { b->Flip(true, true); }, {6, 5, 4, 3, 2, 1}},
      {"neither", [](TcxBitmap* b) { b->Flip(false, false); }, {1, 2, 3, 4, 5, 6}},
      {"a quarter turn", [](TcxBitmap* b) { b->Rotate(raPlus90); }, {3, 6, 2, 5, 1, 4}},
      {"a half turn", [](TcxBitmap* b) { b->Rotate(ra180); }, {6, 5, 4, 3, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxBitmap32> bitmap = MakeBitmap<TcxBitmap32>(3, 2);
    SetPixels(bitmap.get(), pixels);
    c.Action(bitmap.get());
    std::vector<TChannels> expected;
    for (int blue : c.Expected) expected.push_back(id(blue));
    EXPECT_EQ(PixelsOf(bitmap.get()), expected);
  }
}

// ---------------------------------------------------------------------------
// Per-pixel operations

TEST_F(OffScreenBitmap, PixelOperationsOfThirtyTwoBitBitmaps) {
  const std::vector<RGBQUAD> pixels = {Quad(30, 60, 90, 255), Quad(255, 0, 255, 0), Quad(10, 20, 30, 0),
                                       Quad(200, 100, 50, 128)};
  struct Case {
    const char* Name;
    std::function<void(TcxBitmap32*)> Action;
    std::vector<TChannels> Expected;
  };
  const Case cases[] = {
      {"darken 50", [](TcxBitmap32* b) { b->Darken(50); },
       {{15, 30, 45, 255}, {127, 0, 127, 0}, {5, 10, 15, 0}, {100, 50, 25, 128}}},
      {"darken 100 changes nothing", [](TcxBitmap32* b) { b->Darken(100); },
       {{30, 60, 90, 255}, {255, 0, 255, 0}, {10, 20, 30, 0}, {200, 100, 50, 128}}},
      {"lighten 0 is white", [](TcxBitmap32* b) { b->Lighten(0); },
       {{255, 255, 255, 255}, {255, 255, 255, 0}, {255, 255, 255, 0}, {255, 255, 255, 128}}},
      {"lighten 100 changes nothing", [](TcxBitmap32* b) { b->Lighten(100); },
       {{30, 60, 90, 255}, {255, 0, 255, 0}, {10, 20, 30, 0}, {200, 100, 50, 128}}},
      {"lighten 50", [](TcxBitmap32* b) { b->Lighten(50); },
       {{142, 157, 172, 255}, {255, 127, 255, 0}, {132, 137, 142, 0}, {227, 177, 152, 128}}},
      {"alpha channel", [](TcxBitmap32* b) { b->SetAlphaChannel(77); },
       {{30, 60, 90, 77}, {255, 0, 255, 77}, {10, 20, 30, 77}, {200, 100, 50, 77}}},
      {"opaque", [](TcxBitmap32* b) { b->MakeOpaque(); },
       {{30, 60, 90, 255}, {255, 0, 255, 255}, {10, 20, 30, 255}, {200, 100, 50, 255}}},
      {"transparency from magenta", [](TcxBitmap32* b) { b->RecoverTransparency(clFuchsia); },
       {{30, 60, 90, 255}, {0, 0, 0, 0}, {10, 20, 30, 255}, {200, 100, 50, 128}}},
      {"inverted colours", [](TcxBitmap32* b) { b->Invert(); },
       {{225, 195, 165, 0}, {0, 255, 0, 255}, {245, 235, 225, 255}, {55, 155, 205, 127}}},
      {"cleared", [](TcxBitmap32* b) { b->Clear(); }, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxBitmap32> bitmap = MakeBitmap<TcxBitmap32>(2, 2);
    SetPixels(bitmap.get(), pixels);
    c.Action(bitmap.get());
    EXPECT_EQ(PixelsOf(bitmap.get()), c.Expected);
  }
}

TEST_F(OffScreenBitmap, FilterKeepsWhatTheMaskLeavesOut) {
  TOwned<TcxBitmap32> bitmap = MakeBitmap<TcxBitmap32>(2, 1);
  SetPixels(bitmap.get(), {Quad(10, 20, 30, 255), Quad(40, 50, 60, 255)});
  TOwned<TcxBitmap32> mask = MakeBitmap<TcxBitmap32>(2, 1);
  SetPixels(mask.get(), {Quad(0, 0, 0, 0), Quad(255, 255, 255, 255)});
  bitmap->Filter(mask.get());
  EXPECT_EQ(PixelsOf(bitmap.get()), (std::vector<TChannels>{{10, 20, 30, 255}, {0, 0, 0, 0}}));
}

TEST_F(OffScreenBitmap, AlphaUseFollowsTheChanges) {
  TOwned<TcxBitmap32> bitmap = MakeBitmap<TcxBitmap32>(2, 2);
  bitmap->Clear();
  EXPECT_FALSE(bitmap->IsAlphaUsed());
  bitmap->SetAlphaChannel(128);
  EXPECT_TRUE(bitmap->IsAlphaUsed());
  bitmap->Clear();
  EXPECT_FALSE(bitmap->IsAlphaUsed());
}

// The blend of a colour into a pixel, computed here.
RGBQUAD Blended(RGBQUAD APixel, const RGBQUAD& AColor, int AFactor) {
  const float k = AFactor / 255.0f;
  const float m = 1 - AColor.rgbReserved * k / 255.0f;
  auto channel = [&](int c, int p) {
    return static_cast<BYTE>(std::clamp(static_cast<int>(std::nearbyint(c * k + p * m)), 0, 255));
  };
  return Quad(channel(AColor.rgbBlue, APixel.rgbBlue), channel(AColor.rgbGreen, APixel.rgbGreen),
              channel(AColor.rgbRed, APixel.rgbRed), channel(AColor.rgbReserved, APixel.rgbReserved));
}

TEST_F(OffScreenBitmap, TransformationsPixelByPixel) {
  // An opaque pixel, the transparent background colour (0), a pixel without
  // alpha and a half-transparent one.
  const std::vector<RGBQUAD> pixels = {Quad(30, 60, 90, 255), Quad(0, 0, 0, 0), Quad(10, 20, 30, 0),
                                       Quad(200, 100, 50, 128)};
  const RGBQUAD dirty = [] {
    RGBQUAD shadow = ColorToQuad(clBtnShadow, 0xC0);
    return shadow;
  }();
  const TChannels dirtyOpaque = Channels(Blended(Quad(66, 66, 66, 255), dirty, 238));
  const TChannels dirtyNoAlpha = Channels(Blended(Quad(22, 22, 22, 0), dirty, 238));
  const TChannels dirtyHalf = Channels(Blended(Quad(96, 96, 96, 128), dirty, 238));
  struct Case {
    const char* Name;
    TcxBitmapTransformationMode Mode;
    std::vector<TChannels> Expected;
  };
  const Case cases[] = {
      {"grey scale", btmGrayScale, {{60, 60, 60, 255}, {0, 0, 0, 0}, {20, 20, 20, 0}, {116, 116, 116, 128}}},
      {"fade", btmFade, {{66, 66, 66, 255}, {0, 0, 0, 0}, {22, 22, 22, 0}, {96, 96, 96, 128}}},
      {"disable", btmDisable, {{56, 56, 56, 255}, {0, 0, 0, 0}, {19, 19, 19, 0}, {118, 118, 118, 128}}},
      {"dingy", btmDingy, {{98, 119, 140, 255}, {0, 0, 0, 0}, {8, 16, 24, 0}, {157, 78, 39, 100}}},
      {"dirty", btmDirty, {dirtyOpaque, {0, 0, 0, 0}, dirtyNoAlpha, dirtyHalf}},
      {"set opaque", btmSetOpaque, {{30, 60, 90, 255}, {0, 0, 0, 255}, {10, 20, 30, 255}, {200, 100, 50, 255}}},
      {"reset alpha", btmResetAlpha, {{30, 60, 90, 0}, {0, 0, 0, 0}, {10, 20, 30, 0}, {200, 100, 50, 0}}},
      {"mask", btmMakeMask, {{0, 0, 0, 0}, {255, 255, 255, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {"correct blend", btmCorrectBlend, {{30, 60, 90, 255}, {0, 0, 0, 0}, {10, 20, 30, 255}, {200, 100, 50, 128}}},
      {"clear", btmClear, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {"extract layer", btmExtractLayer, {{30, 60, 90, 255}, {0, 0, 0, 0}, {10, 20, 30, 0}, {200, 100, 50, 128}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxAlphaBitmap> bitmap = MakeBitmap<TcxAlphaBitmap>(2, 2);
    SetPixels(bitmap.get(), pixels);
    bitmap->TransformBitmap(c.Mode);
    EXPECT_EQ(PixelsOf(bitmap.get()), c.Expected);
  }
}

TEST_F(OffScreenBitmap, TransparentColoursOfAnAlphaBitmap) {
  const std::vector<RGBQUAD> pixels = {Quad(255, 0, 255, 0), Quad(10, 20, 30, 0), Quad(255, 0, 255, 255),
                                       Quad(1, 2, 3, 4)};
  TOwned<TcxAlphaBitmap> recovered = MakeBitmap<TcxAlphaBitmap>(2, 2);
  SetPixels(recovered.get(), pixels);
  recovered->RecoverAlphaChannel(clFuchsia);
  EXPECT_EQ(PixelsOf(recovered.get()),
            (std::vector<TChannels>{{255, 0, 255, 0}, {10, 20, 30, 255}, {255, 0, 255, 255}, {1, 2, 3, 4}}));

  TOwned<TcxAlphaBitmap> extracted = MakeBitmap<TcxAlphaBitmap>(2, 2);
  SetPixels(extracted.get(), pixels);
  extracted->ExtractLayer(clFuchsia);
  EXPECT_EQ(PixelsOf(extracted.get()),
            (std::vector<TChannels>{{0, 0, 0, 0}, {10, 20, 30, 0}, {0, 0, 0, 0}, {1, 2, 3, 4}}));

  // Only within a rectangle.
  TOwned<TcxAlphaBitmap> part = MakeBitmap<TcxAlphaBitmap>(2, 2);
  SetPixels(part.get(), {Quad(9, 9, 9, 0), Quad(9, 9, 9, 0), Quad(9, 9, 9, 0), Quad(255, 0, 255, 0)});
  part->RecoverAlphaChannel(TRect(1, 0, 2, 2), clFuchsia);
  EXPECT_EQ(PixelsOf(part.get()),
            (std::vector<TChannels>{{9, 9, 9, 0}, {9, 9, 9, 255}, {9, 9, 9, 0}, {255, 0, 255, 0}}));

  // A cleared bitmap of another size, with no transparent colours left.
  TOwned<TcxAlphaBitmap> refreshed(
      NewWith<TcxAlphaBitmap>([](TcxAlphaBitmap* b) { b->CreateSize(2, 2, Quad(1, 2, 3, 255)); }));
  refreshed->TransparentPixels().Add(clRed);
  refreshed->RefreshImage(3, 1);
  EXPECT_EQ(refreshed->TransparentPixels().Count(), 0);
  EXPECT_EQ(PixelsOf(refreshed.get()), (std::vector<TChannels>(3, TChannels{1, 2, 3, 255})))
      << "cleared to an opaque background colour";
}

TEST_F(OffScreenBitmap, HatchCellsAlternateFromTheFirstColourInTheCorner) {
  const RGBQUAD red = Quad(0, 0, 255, 255);
  const RGBQUAD blue = Quad(255, 0, 0, 255);
  const RGBQUAD under = Quad(10, 20, 30, 40);
  struct TCase {
    const char* Name;
    int Width, Height, Step, Alpha1, Alpha2;
  };
  const TCase cases[] = {{"2 x 2 cells, opaque", 4, 4, 2, 255, 255}, {"3 x 3 cells, translucent", 7, 5, 3, 128, 64}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxAlphaBitmap> bitmap = MakeBitmap<TcxAlphaBitmap>(c.Width, c.Height);
    SetPixels(bitmap.get(), std::vector<RGBQUAD>(static_cast<std::size_t>(c.Width * c.Height), under));
    bitmap->DrawHatch(clRed, clBlue, static_cast<std::uint8_t>(c.Step), static_cast<std::uint8_t>(c.Alpha1),
                      static_cast<std::uint8_t>(c.Alpha2));
    // Cells count from the first row of the bitmap's memory, the bottom row
    // of a bottom-up bitmap: the cell there takes the first colour, the
    // next one across and the next one up the second.
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap->Handle(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    std::vector<TChannels> expected;
    for (int row = 0; row < c.Height; ++row)
      for (int x = 0; x < c.Width; ++x) {
        const int y = bottomUp ? c.Height - 1 - row : row;
        const bool second = (x / c.Step + y / c.Step) % 2 == 1;
        expected.push_back(Channels(Blended(under, second ? blue : red, second ? c.Alpha2 : c.Alpha1)));
      }
    EXPECT_EQ(PixelsOf(bitmap.get()), expected);
  }
}

TEST_F(OffScreenBitmap, ShadowsAndResizing) {
  // A 4 x 4 bitmap with an opaque 2 x 2 square; its mask white with the
  // square black.
  TOwned<TcxAlphaBitmap> bitmap = MakeBitmap<TcxAlphaBitmap>(4, 4);
  bitmap->Clear();
  FillRectWithColor(bitmap->Canvas()->Handle(), TRect(1, 1, 3, 3), clRed);
  bitmap->TransformBitmap(btmCorrectBlend);
  TOwned<TcxBitmap32> mask = MakeBitmap<TcxBitmap32>(4, 4);
  FillRectWithColor(mask->Canvas()->Handle(), TRect(0, 0, 4, 4), clWhite);
  FillRectWithColor(mask->Canvas()->Handle(), TRect(1, 1, 3, 3), clBlack);
  bitmap->DrawShadow(mask.get(), 2, clBlue, true);
  EXPECT_EQ(bitmap->Width(), 6);
  EXPECT_EQ(bitmap->Height(), 6);
  // The square where it was, its shadow (the mask's square) two pixels
  // further down and right in the shadow colour, opaque; nothing else.
  const char* const picture[6] = {"......", ".RR...", ".RR...", "...BB.", "...BB.", "......"};
  std::vector<TChannels> expected;
  for (const char* row : picture)
    for (const char* p = row; *p; ++p)
      expected.push_back(*p == 'R' ? TChannels{0, 0, 255, 255} : *p == 'B' ? TChannels{255, 0, 0, 255} : TChannels{});
  EXPECT_EQ(PixelsOf(bitmap.get()), expected);

  TOwned<TcxBitmap32> small = MakeBitmap<TcxBitmap32>(2, 2);
  SetPixels(small.get(), std::vector<RGBQUAD>(4, Quad(0, 0, 255, 255)));
  ResizeBitmap32(small.get(), 4, 4, false, false, clLime);
  EXPECT_EQ(PixelsOf(small.get())[0], (TChannels{0, 255, 0, 0})) << "the background colour around";
  EXPECT_EQ(PixelsOf(small.get())[5], (TChannels{0, 0, 255, 255})) << "the old pixels in the middle";
  ResizeBitmap32(small.get(), 8, 8, true, true);
  EXPECT_EQ(small->Width(), 8);
  EXPECT_EQ(PixelsOf(small.get())[3 * 8 + 3], (TChannels{0, 0, 255, 255})) << "stretched over it";
}

TEST_F(OffScreenBitmap, PixelBlend) {
  struct Case {
    const char* Name;
    RGBQUAD Pixel;
    RGBQUAD Colour;
    int Factor;
  };
  const Case cases[] = {
      {"opaque colour, full factor", Quad(10, 20, 30, 40), Quad(200, 100, 50, 255), 255},
      {"half factor", Quad(10, 20, 30, 255), Quad(200, 100, 50, 255), 128},
      {"premultiplied colour", Quad(100, 100, 100, 255), Quad(64, 32, 0, 128), 200},
      {"no factor", Quad(1, 2, 3, 4), Quad(200, 100, 50, 255), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    RGBQUAD pixel = c.Pixel;
    cxBlendPixel(pixel, c.Colour, static_cast<std::uint8_t>(c.Factor));
    EXPECT_EQ(Channels(pixel), Channels(Blended(c.Pixel, c.Colour, c.Factor)));
  }
  RGBQUAD full = Quad(10, 20, 30, 40);
  cxBlendPixel(full, Quad(200, 100, 50, 255), 255);
  EXPECT_EQ(Channels(full), (TChannels{200, 100, 50, 255}));
}

}  // namespace
