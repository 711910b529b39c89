// The GDI+ image handle and the GDI+ smart images: frames and property
// items, mirroring and resizing, drawing at an opacity, composition and
// canvases, PNG images and glyphs.
#include "platform/runtime/TypInfo.h"
#include "tests/library_graphics/PixelTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

class GPImages : public GdiPlusTest {};

TdxGPImageHandle* GPHandle(TdxCustomSmartImage* AImage) {
  return dynamic_cast<TdxGPImageHandle*>(AImage->ImageHandle());
}

std::string SavedBytes(TdxCustomSmartImage* AImage) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AImage->SaveToStream(stream.get());
  return BytesOf(stream.get());
}

std::vector<TRgbaPixel> Mirrored(const std::vector<TRgbaPixel>& APixels, int AWidth, int AHeight) {
  std::vector<TRgbaPixel> result(APixels.size());
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x) result[y * AWidth + x] = APixels[y * AWidth + (AWidth - 1 - x)];
  return result;
}

// ---------------------------------------------------------------------------
// The handle

TEST_F(GPImages, FramesAndTheirDelaysFromPropertyItems) {
  TOwned<TdxSmartImage> gif = LoadFixture(L"gif-animated.gif");
  TdxGPImageHandle* handle = GPHandle(gif.get());
  EXPECT_EQ(handle->GetAnimationFrameCount(), 5);
  // The delays come from behind the property item's header, whose size is
  // the platform's: read as 16 bytes on x86_64, they would be pointer bytes.
  for (int frame = 0; frame < 5; ++frame) {
    handle->SetActiveFrame(frame);
    EXPECT_EQ(handle->GetActiveFrame(), frame);
    EXPECT_EQ(handle->GetAnimationFrameDelay(), 100);
  }
  EXPECT_EQ(handle->GetAnimationLoopCount(), 3);
  handle->SetActiveFrame(7);
  EXPECT_EQ(handle->GetActiveFrame(), 0);

  // Each frame shows its own colour (make-images: green falls by 50 a frame).
  handle->SetActiveFrame(3);
  EXPECT_EQ(StraightPixels(handle)[0].G, 255 - 3 * 50);
}

TEST_F(GPImages, FlipsAndResizesItsImage) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  TdxGPImageHandle* handle = GPHandle(image.get());
  handle->Flip(true, false);
  EXPECT_EQ(handle->ImageDataFormat(), dxImageMemoryBmp);
  EXPECT_EQ(MaxChannelDifference(StraightPixels(handle), Mirrored(ReferencePixels(L"png24.png"), 24, 16)), 0);
  handle->Flip(true, true);
  handle->Flip(false, true);
  EXPECT_EQ(MaxChannelDifference(StraightPixels(handle), ReferencePixels(L"png24.png")), 0);

  handle->Resize(TSize(48, 8), InterpolationModeNearestNeighbor, PixelOffsetModeHalf);
  EXPECT_EQ(handle->Size(), TSize(48, 8));
  EXPECT_EQ(handle->PixelFormat(), PixelFormat32bppPARGB);
}

TEST_F(GPImages, GivesItsPixelsAsAPremultipliedBitmap) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  const TOwned<TBitmap> bitmap = image->GetAsBitmap();
  EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(bitmap->AlphaFormat(), afPremultiplied);
  const std::vector<TRgbaPixel> reference = ReferencePixels(L"png32.png");
  const TRGBColors bits = image->GetBitmapBits();
  ASSERT_EQ(bits.size(), reference.size());
  for (std::size_t i = 0; i < bits.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(bits[i].rgbRed, MulDiv(reference[i].R, reference[i].A, 255), 1);
    EXPECT_EQ(bits[i].rgbReserved, reference[i].A);
  }
  EXPECT_EQ(GetPixelsAlphaState(bits), asSemitransparent);
}

TEST_F(GPImages, DrawsAtAnOpacity) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  const std::vector<TRgbaPixel> reference = ReferencePixels(L"png24.png");
  TPixelSurface opaque(24, 16, RGB(255, 255, 255)), half(24, 16, RGB(255, 255, 255));
  image->StretchDraw(opaque.DC(), TRect(0, 0, 24, 16));
  image->StretchDraw(half.DC(), TdxRectF(0, 0, 24, 16), 128);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      const TRgbaPixel& p = reference[y * 24 + x];
      EXPECT_EQ(opaque.Pixel(x, y), RGB(p.R, p.G, p.B));
      EXPECT_NEAR(GetRValue(half.Pixel(x, y)), (p.R * 128 + 255 * 127) / 255, 2);
    }
}

// ---------------------------------------------------------------------------
// TdxGPImage

TEST_F(GPImages, SetHandleTakesAGdiPlusImage) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(5, 3, 0, PixelFormat32bppARGB, nullptr, &bitmap));
  image->SetHandle(bitmap);
  EXPECT_EQ(image->Handle(), bitmap);
  EXPECT_EQ(image->Size(), TSize(5, 3));
  image->SetHandle(bitmap);  // the same: nothing happens, nothing is freed twice
  EXPECT_EQ(image->ImageDataFormat(), dxImageMemoryBmp);
}

TEST_F(GPImages, CompositionKeepsTheAlphaOfBothImages) {
  // png32's two left columns are fully transparent; png24 is opaque.
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  TOwned<TdxSmartImage> overlay = LoadFixture(L"png24.png");
  const TOwned<TdxGPImage> composition = image->MakeComposition(overlay.get(), 128);
  ASSERT_EQ(composition->Size(), TSize(24, 16));
  const TRGBColors bits = composition->GetBitmapBits();
  EXPECT_NEAR(bits[0].rgbReserved, 128, 1) << "only the overlay, at half opacity";
  const int a = ReferencePixels(L"png32.png")[10].A;
  EXPECT_NEAR(bits[10].rgbReserved, a + (255 - a) * 128 / 255, 2);

  TOwned<TdxSmartImage> empty(New<TdxSmartImage>());
  EXPECT_TRUE(empty->MakeComposition(overlay.get(), 255)->Empty());
}

TEST_F(GPImages, ACanvasDrawsIntoTheStoredImage) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  {
    const TOwned<TdxGPCanvas> canvas = image->CreateCanvas();
    canvas->FillRectangle(TRect(0, 0, 4, 4), 0xFFFF0000);
  }
  // Saved and read back, the drawing is there: no stale bytes are written.
  TOwned<TdxSmartImage> back = LoadImage(StreamOf(SavedBytes(image.get())).get());
  const std::vector<TRgbaPixel> pixels = StraightPixels(GPHandle(back.get()));
  EXPECT_EQ(pixels[0].R, 255);
  EXPECT_EQ(pixels[0].G, 0);
  EXPECT_EQ(pixels[5 * 24 + 20].R, ReferencePixels(L"png24.png")[5 * 24 + 20].R);
}

TEST_F(GPImages, AFlippedImageIsSavedFlipped) {
  TOwned<TdxPNGImage> image = LoadFixture<TdxPNGImage>(L"png24.png");
  image->Flip(true, false);
  TOwned<TdxSmartImage> back = LoadImage(StreamOf(SavedBytes(image.get())).get());
  EXPECT_EQ(MaxChannelDifference(StraightPixels(GPHandle(back.get())), Mirrored(ReferencePixels(L"png24.png"), 24, 16)),
            0);
}

TEST_F(GPImages, DrawsOnAGdiPlusCanvasThroughItsTransformAndClip) {
  TOwned<TdxSmartImage> image(
      NewWith<TdxSmartImage>([](TdxSmartImage* AImage) { AImage->CreateSize(4, 4, 0xFF0000FF); }));
  TPixelSurface surface(20, 20);
  {
    TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SetClipRect(TRect(10, 0, 12, 20), gmReplace);
    canvas->TranslateWorldTransform(10, 0);
    image->StretchDraw(canvas.get(), TRect(0, 0, 4, 4), TRect(0, 0, 4, 4));
  }
  EXPECT_EQ(surface.BoundsOf(RGB(0, 0, 255)), TRect(10, 0, 12, 4));
}

// ---------------------------------------------------------------------------
// TdxPNGImage and TdxSmartGlyph

TEST_F(GPImages, APngImageWritesItsBytesOrANewPng) {
  const std::string glyph = FixtureBytes(L"glyph.png");
  TOwned<TdxPNGImage> image = LoadImage<TdxPNGImage>(StreamOf(glyph).get());
  EXPECT_EQ(SavedBytes(image.get()), glyph);
  TPixelSurface surface(16, 16);
  image->StretchDraw(surface.DC(), TRect(0, 0, 16, 16));
  EXPECT_EQ(SavedBytes(image.get()), glyph);

  TOwned<TdxPNGImage> pixels = LoadFixture<TdxPNGImage>(L"bmp24.bmp");
  EXPECT_EQ(pixels->ImageDataFormat(), dxImagePng);
  const std::string saved = SavedBytes(pixels.get());
  EXPECT_EQ(saved.compare(0, 4, "\x89PNG"), 0);
  EXPECT_TRUE(LoadImage(StreamOf(saved).get())->Compare(pixels.get()));
}

TEST_F(GPImages, AGlyphKeepsItsSourceDpiWithinBounds) {
  TOwned<TdxSmartGlyph> glyph(New<TdxSmartGlyph>());
  EXPECT_EQ(glyph->SourceDPI(), 96);
  const TPropInfo* dpi = FindPropInfo(glyph.get(), L"SourceDPI");
  EXPECT_FALSE(IsStoredProp(glyph.get(), dpi)) << "an empty glyph stores no DPI";
  const std::pair<int, int> cases[] = {{600, 480}, {10, 30}, {144, 144}};
  for (const auto& [value, expected] : cases) {
    glyph->SetSourceDPI(value);
    EXPECT_EQ(glyph->SourceDPI(), expected) << value;
  }
}

TEST_F(GPImages, AGlyphStoresASourceSizeOnlyWhenItIsItsOwn) {
  TOwned<TdxSmartGlyph> glyph = LoadFixture<TdxSmartGlyph>(L"png24.png");
  const TPropInfo* width = FindPropInfo(glyph.get(), L"SourceWidth");
  glyph->SetSourceWidth(24);
  EXPECT_EQ(glyph->SourceWidth(), 24);
  EXPECT_FALSE(IsStoredProp(glyph.get(), width));
  EXPECT_EQ(glyph->GetSourceSize(), TSize(24, 16));
  glyph->SetSourceWidth(8);
  EXPECT_TRUE(IsStoredProp(glyph.get(), width));
  EXPECT_EQ(glyph->GetSourceSize(), TSize(8, 16));
  glyph->SetSourceHeight(-3);
  EXPECT_EQ(glyph->SourceHeight(), 16);
  EXPECT_TRUE(IsStoredProp(glyph.get(), FindPropInfo(glyph.get(), L"SourceDPI")));
  EXPECT_NE(SupportsRaw<IdxSourceSize>(glyph.get()), nullptr);
  EXPECT_NE(SupportsRaw<IdxSourceDPI>(glyph.get()), nullptr);

  TOwned<TdxSmartGlyph> copy(New<TdxSmartGlyph>());
  copy->Assign(glyph.get());
  EXPECT_EQ(copy->GetSourceSize(), TSize(8, 16));
}

TEST_F(GPImages, AGlyphReadsABitmapsFormDataAndIsTransparentAtItsKey) {
  // A class-library bitmap stores its file's length, then the file.
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(4, 4);
  bitmap->Canvas()->Brush()->SetColor(clFuchsia);
  bitmap->Canvas()->FillRect(TRect(0, 0, 4, 4));
  bitmap->Canvas()->Brush()->SetColor(clBlue);
  bitmap->Canvas()->FillRect(TRect(0, 0, 2, 2));
  TOwned<TMemoryStream> file(New<TMemoryStream>());
  bitmap->SaveToStream(file.get());
  const std::uint32_t length = static_cast<std::uint32_t>(file->Size());
  std::string data(reinterpret_cast<const char*>(&length), 4);
  data += BytesOf(file.get());

  TOwned<TdxSmartGlyph> glyph = LoadImage<TdxSmartGlyph>(StreamOf(data).get());
  EXPECT_EQ(glyph->Size(), TSize(4, 4));
  TPixelSurface surface(4, 4, RGB(0, 0, 0));
  glyph->StretchDraw(surface.DC(), TRect(0, 0, 4, 4));
  EXPECT_EQ(surface.Count(RGB(0, 0, 255)), 4);
  EXPECT_EQ(surface.Count(RGB(0, 0, 0)), 12);
}

}  // namespace
