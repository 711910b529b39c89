// SVG smart images: the codec (recognising, sizing, loading, saving), the
// decoded handle's rasters (size, supersampling, cache, palette, flips,
// bounds) and drawing onto a device context.
#include "library/vector/dxSVGImage.h"
#include "tests/library_vector/SVGTestSupport.h"
#include "tests/library_vector/XMLTestSupport.h"
#include "library/core/data/dxBase64.h"
#include "tests/support/Pixels.h"

#include <cstring>

#include <gtest/gtest.h>
#include <psapi.h>

#include <string>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

const char* const YellowGlyph = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg version="1.1" id="Layer_1" xmlns="http://www.w3.org/2000/svg" x="0px" y="0px" viewBox="0 0 32 32"><style type="text/css">.Yellow{fill:#FFB115;}</style>
<polygon class="Yellow" points="0,0 32,0 32,32 0,32"/></svg>)svg";

// Red on the left half, blue on the right, 16 x 16.
const char* const HalvesGlyph = R"svg(<svg width="16" height="16"><rect width="8" height="16" fill="red"/>
<rect x="8" width="8" height="16" fill="blue"/></svg>)svg";

// A palette with a fill colour for one style name only.
class TSVGNamedTestPalette : public TdxCustomColorPalette {
  SK_CLASS(TSVGNamedTestPalette, TdxCustomColorPalette)
 public:
  void Create(const String& AName, TdxAlphaColor AColor) {
    FName = AName;
    FColor = AColor;
  }
  TdxAlphaColor GetFillColor(const String& AID) override { return AID == FName ? FColor : TdxAlphaColors::Default; }
  TdxAlphaColor GetStrokeColor(const String&) override { return TdxAlphaColors::Default; }

 private:
  String FName;
  TdxAlphaColor FColor;
};

TOwned<TMemoryStream> StreamOf(const std::string& AText) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(AText.data(), static_cast<int>(AText.size()));
  stream->SetPosition(0);
  return stream;
}

TOwned<TdxSVGImageHandle> LoadHandle(const std::string& AText) {
  TOwned<TdxSmartImageCustomHandle> handle;
  const TOwned<TMemoryStream> stream = StreamOf(AText);
  EXPECT_TRUE(dxCodec<TdxSVGImageCodec>()->Load(stream.get(), handle));
  return TOwned<TdxSVGImageHandle>(static_cast<TdxSVGImageHandle*>(handle.release()));
}

std::string Text(TMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

// ---------------------------------------------------------------------------
// The codec

TEST(SVGCodec, SVGIsAFormatOfTheSmartImages) {
  const TdxSmartImageCodecClass codec = dxCodec<TdxSVGImageCodec>();
  // The unit's shut-down takes the format back and its start-up (with GDI+)
  // registers it, both through the units loader.
  TdxUnitsLoader* loader = GetUnitsLoader();
  ASSERT_NE(loader, nullptr);
  const std::size_t units = loader->FinalizeList().size();
  dxSVGImageFinalization();
  EXPECT_EQ(loader->FinalizeList().size(), units - 1);
  EXPECT_FALSE(TdxSmartImageCodecsRepository::Contains(codec));
  EXPECT_EQ(TPicture::FindFileFormat(L"svg"), nullptr);
  dxSVGImageInitialization();
  EXPECT_EQ(loader->FinalizeList().size(), units);
  EXPECT_TRUE(TdxSmartImageCodecsRepository::Contains(codec));
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".SVG"), codec);
  EXPECT_EQ(codec->MimeType(), L"image/svg+xml");
  EXPECT_EQ(codec->GetGraphicClass(), TdxSmartImage::ClassInfo());
  EXPECT_EQ(codec->GetFormatID(), dxImageUnknown);
  EXPECT_EQ(TPicture::FindFileFormat(L"svg"), TdxSmartImage::ClassInfo());

  const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  const TOwned<TMemoryStream> stream = StreamOf(YellowGlyph);
  image->LoadFromStream(stream.get());
  EXPECT_EQ(image->ImageCodec(), codec);
  EXPECT_EQ(image->Size(), TSize(32, 32));
  EXPECT_TRUE(Is<TdxSVGImageHandle>(image->ImageHandle()));
  EXPECT_TRUE(SupportsRaw<IdxVectorImage>(image->ImageHandle()));
  EXPECT_TRUE(image->IsAlphaUsed());
}

TEST(SVGCodec, OnlyATopLevelSvgElementIsRecognised) {
  const struct {
    const char* Name;
    std::string Text;
    bool Recognised;
  } cases[] = {
      {"glyph", YellowGlyph, true},
      {"prefixed", R"(<svg:svg xmlns:svg="http://www.w3.org/2000/svg" width="4" height="4"/>)", false},
      {"html", "<html><svg width=\"4\" height=\"4\"/></html>", false},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TMemoryStream> stream = StreamOf(c.Text);
    EXPECT_EQ(dxCodec<TdxSVGImageCodec>()->CanLoadStream(stream.get()), c.Recognised);
    EXPECT_EQ(stream->Position(), 0);
    TOwned<TdxSmartImageCustomHandle> handle;
    EXPECT_EQ(dxCodec<TdxSVGImageCodec>()->Load(stream.get(), handle), c.Recognised);
    EXPECT_EQ(handle != nullptr, c.Recognised);
  }
}

TEST(SVGCodec, TheSizeIsReadFromWhereTheStreamStandsAndItStaysThere) {
  const TOwned<TMemoryStream> stream = StreamOf(std::string("<other/>") + HalvesGlyph);
  stream->SetPosition(8);
  TSize size;
  ASSERT_TRUE(dxCodec<TdxSVGImageCodec>()->GetSize(stream.get(), size));
  EXPECT_EQ(size, TSize(16, 16));
  EXPECT_EQ(stream->Position(), 8);
  stream->SetPosition(0);
  EXPECT_FALSE(dxCodec<TdxSVGImageCodec>()->GetSize(stream.get(), size));
}

TEST(SVGCodec, SavingWritesTheLoadedDocumentIndented) {
  const std::string compact = R"(<svg viewBox="0 0 8 8"><g fill="red"><rect width="4" height="8"/></g></svg>)";
  const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromStream(StreamOf(compact).get());
  image->HandleNeeded();
  const TOwned<TMemoryStream> saved(New<TMemoryStream>());
  image->SaveToStreamByCodec(saved.get(), dxCodec<TdxSVGImageCodec>());
  EXPECT_EQ(Text(saved.get()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<svg viewBox=\"0 0 8 8\">\r\n\t<g fill=\"red\">\r\n"
            "\t\t<rect width=\"4\" height=\"8\"/>\r\n\t</g>\r\n</svg>\r\n");
  // It loads to the same picture.
  const TOwned<TdxSVGImageHandle> first = LoadHandle(compact);
  const TOwned<TdxSVGImageHandle> second = LoadHandle(Text(saved.get()));
  EXPECT_TRUE(first->Equals(second.get()));
}

TEST(SVGCodec, ATreeWithoutSourceIsWrittenOut) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(HalvesGlyph);
  handle->SetSourceData(nullptr);
  const TOwned<TMemoryStream> saved(New<TMemoryStream>());
  ASSERT_TRUE(dxCodec<TdxSVGImageCodec>()->Save(saved.get(), handle.get()));
  const TOwned<TdxSVGImageHandle> again = LoadHandle(Text(saved.get()));
  EXPECT_TRUE(handle->Equals(again.get()));
  EXPECT_FALSE(dxCodec<TdxSVGImageCodec>()->CanSaveImage(nullptr));
  const TOwned<TdxGPImageHandle> raster(NewWith<TdxGPImageHandle>([](TdxGPImageHandle* H) { H->CreateSize(4, 4); }));
  EXPECT_FALSE(dxCodec<TdxSVGImageCodec>()->Save(saved.get(), raster.get()));
}

TEST(SVGCodec, AnSVGImageAlwaysSavesAsSVG) {
  const TOwned<TdxSVGImage> image(New<TdxSVGImage>());
  image->LoadFromStream(StreamOf(HalvesGlyph).get());
  const TOwned<TMemoryStream> saved(New<TMemoryStream>());
  image->SaveToStream(saved.get());
  EXPECT_EQ(Text(saved.get()).substr(0, 44), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<svg");
}

// ---------------------------------------------------------------------------
// Rasters

TEST(SVGImageHandle, TheSupersamplingFactorFollowsTheQualityBudget) {
  const struct {
    int S, T;
    TdxSVGRenderQuality Quality;
    int Factor;
  } cases[] = {
      {24, 24, srqHigh, 32}, {100, 100, srqHigh, 16}, {1000, 500, srqHigh, 2}, {16, 16, srqHigh, 48},
      {16, 32, srqHigh, 48}, {8, 8, srqHigh, 96},     {16, 16, srqLow, 32},    {100, 100, srqLow, 8},
      {100, 300, srqMedium, 12}, {5000, 100, srqHigh, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TdxSVGImageHandle::SupersamplingFactor(c.S, c.T, c.Quality), c.Factor) << c.S << " at " << c.T;
}

TEST(SVGImageHandle, TheGlyphIsPaintedInItsOwnOrThePalettesColour) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(YellowGlyph);
  EXPECT_EQ(handle->Size(), TSize(32, 32));
  TdxGPImageHandle* raster = handle->GetRasterizedImage(TSize(32, 32), nullptr);
  ASSERT_NE(raster, nullptr);
  EXPECT_EQ(raster->Size(), TSize(32, 32));
  EXPECT_EQ(raster->GetPixel(16, 16), 0xFFFFB115u);
  const IPtr<IdxColorPalette> palette(New<TSVGNamedTestPalette>(L"Yellow", Blue));
  EXPECT_EQ(handle->GetRasterizedImage(TSize(32, 32), palette.Get())->GetPixel(16, 16), Blue);
  const IPtr<IdxColorPalette> other(New<TSVGNamedTestPalette>(L"Green", Blue));
  EXPECT_EQ(handle->GetRasterizedImage(TSize(32, 32), other.Get())->GetPixel(16, 16), 0xFFFFB115u);
}

TEST(SVGImageHandle, TheRasterCoversTheRequestedSize) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(HalvesGlyph);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(32, 32), nullptr)->Size(), TSize(32, 32));
  EXPECT_EQ(handle->GetRasterizedImage(TSize(32, 24), nullptr)->Size(), TSize(32, 32));
  EXPECT_EQ(handle->GetRasterizedImage(TSize(8, 30), nullptr)->Size(), TSize(30, 30));
  const TOwned<TdxSVGImageHandle> wide = LoadHandle(R"(<svg viewBox="0 0 40 10"/>)");
  EXPECT_EQ(wide->GetRasterizedImage(TSize(20, 20), nullptr)->Size(), TSize(80, 20));
}

TEST(SVGImageHandle, ARasterIsDrawnAgainOnlyForAnotherSizePaletteQualityOrFlip) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(HalvesGlyph);
  TdxGPImageHandle* first = handle->GetRasterizedImage(TSize(16, 16), nullptr);
  const ARGB firstPixel = first->GetPixel(0, 0);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr), first);
  // Another raster is a new object each time: mark the cached one to tell.
  first->SetPixel(0, 0, 0xFF00FF00);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr)->GetPixel(0, 0), 0xFF00FF00u);
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(Red, Red));
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), palette.Get())->GetPixel(15, 8), Red);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr)->GetPixel(0, 0), firstPixel);
  handle->GetRasterizedImage(TSize(16, 16), nullptr)->SetPixel(0, 0, 0xFF00FF00);
  handle->SetRenderQuality(srqLow);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr)->GetPixel(0, 0), firstPixel);
  // Interpolation and smoothing keep the raster.
  handle->GetRasterizedImage(TSize(16, 16), nullptr)->SetPixel(0, 0, 0xFF00FF00);
  handle->SetInterpolationMode(imNearestNeighbor);
  handle->SetSmoothingMode(smAntiAlias);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr)->GetPixel(0, 0), 0xFF00FF00u);
  handle->Flip(false, false);
  EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr)->GetPixel(0, 0), firstPixel);
}

TEST(SVGImageHandle, AGlyphRecolouredAndFlipped) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(HalvesGlyph);
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(0xFF00FF00, TdxAlphaColors::Default));
  TdxGPImageHandle* plain = handle->GetRasterizedImage(TSize(16, 16), nullptr);
  EXPECT_EQ(plain->GetPixel(2, 8), Red);
  EXPECT_EQ(plain->GetPixel(13, 8), Blue);
  handle->Flip(true, false);
  TdxGPImageHandle* flipped = handle->GetRasterizedImage(TSize(16, 16), nullptr);
  EXPECT_EQ(flipped->GetPixel(2, 8), Blue);
  EXPECT_EQ(flipped->GetPixel(13, 8), Red);
  // The palette fills everything; the flip of a half-transparent glyph shows.
  const TOwned<TdxSVGImageHandle> corner = LoadHandle(R"(<svg width="16" height="16"><rect width="8" height="8"/></svg>)");
  corner->Flip(true, true);
  TdxGPImageHandle* recoloured = corner->GetRasterizedImage(TSize(16, 16), palette.Get());
  EXPECT_EQ(recoloured->GetPixel(12, 12), 0xFF00FF00u);
  EXPECT_EQ(AlphaOf(recoloured->GetPixel(3, 3)), 0);
  EXPECT_EQ(AlphaOf(recoloured->GetPixel(12, 3)), 0);
}

TEST(SVGImageHandle, EdgesAreAntialiasedByTheSupersampling) {
  // Half of column 8 and a quarter of column 9 of row 4 are covered.
  TOwned<TdxSVGImageHandle> handle =
      LoadHandle(R"svg(<svg width="16" height="16"><rect width="8.5" height="16" fill="red"/>
                        <rect x="9" y="4" width="0.25" height="1" fill="red"/></svg>)svg");
  TdxGPImageHandle* raster = handle->GetRasterizedImage(TSize(16, 16), nullptr);
  EXPECT_EQ(raster->GetPixel(7, 8), Red);
  EXPECT_NEAR(AlphaOf(raster->GetPixel(8, 8)), 128, 8);
  EXPECT_NEAR(AlphaOf(raster->GetPixel(9, 4)), 64, 8);
  EXPECT_EQ(AlphaOf(raster->GetPixel(10, 8)), 0);
  // Drawn at twice the size, the half-covered column becomes one full column.
  TdxGPImageHandle* twice = handle->GetRasterizedImage(TSize(32, 32), nullptr);
  EXPECT_EQ(twice->GetPixel(16, 8), Red);
  EXPECT_EQ(AlphaOf(twice->GetPixel(17, 8)), 0);
}

TEST(SVGImageHandle, DrawingStretchesTheCoveringRasterIntoTheDestination) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(HalvesGlyph);
  TPixelSurface surface(40, 30, RGB(255, 255, 255));
  handle->Draw(surface.DC(), TRect(4, 3, 36, 27), handle->ClientRect(), 255, nullptr);
  EXPECT_EQ(surface.Pixel(6, 15), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(33, 15), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(2, 15), RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(20, 1), RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(20, 28), RGB(255, 255, 255));
  // The source rectangle picks a part: the right half alone.
  surface.Fill(RGB(255, 255, 255));
  handle->Draw(surface.DC(), TRect(0, 0, 40, 30), TRect(8, 0, 16, 16), 255, nullptr);
  EXPECT_EQ(surface.Count(TRect(1, 1, 39, 29), RGB(0, 0, 255)), 38 * 28);
  // A half-transparent draw mixes with what is there.
  surface.Fill(RGB(255, 255, 255));
  handle->Draw(surface.DC(), TRect(0, 0, 40, 30), handle->ClientRect(), 128, nullptr);
  EXPECT_NEAR(GetGValue(surface.Pixel(5, 15)), 127, 3);
}

TEST(SVGImageHandle, APictureWithoutANaturalSizeIsEmpty) {
  for (const char* text : {R"(<svg/>)", R"(<svg width="100%" height="100%"/>)", R"(<svg width="10"/>)",
                           R"(<svg viewBox="0 0 10 0"/>)", R"(<svg viewBox="0 0 10 0" height="50%"/>)",
                           R"(<svg viewBox="0 0 -10 10"/>)"}) {
    SCOPED_TRACE(text);
    TOwned<TdxSVGImageHandle> handle = LoadHandle(text);
    EXPECT_EQ(handle->Size(), TSize(0, 0));
    EXPECT_TRUE(handle->Empty());
    EXPECT_EQ(handle->GetRasterizedImage(TSize(16, 16), nullptr), nullptr);
    TPixelSurface surface(8, 8, RGB(255, 255, 255));
    handle->Draw(surface.DC(), TRect(0, 0, 8, 8), TRect(0, 0, 8, 8), 255, nullptr);
    EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 64);
  }
}

// The size is the viewport's; a view box below a pixel is no empty picture.
TEST(SVGImageHandle, AViewBoxSmallerThanAPixelInAViewportIsDrawn) {
  TOwned<TdxSVGImageHandle> handle = LoadHandle(
      R"(<svg viewBox="0 0 0.4 0.4" width="16" height="16"><rect width="0.2" height="0.4" fill="red"/></svg>)");
  EXPECT_EQ(handle->Size(), TSize(16, 16));
  TdxGPImageHandle* raster = handle->GetRasterizedImage(TSize(16, 16), nullptr);
  ASSERT_NE(raster, nullptr);
  EXPECT_EQ(raster->GetPixel(3, 8), Red);
  EXPECT_EQ(AlphaOf(raster->GetPixel(12, 8)), 0);
}

// A bitmap of a huge stated size stays within the raster bounds: no
// gigabytes are taken for it.
TEST(SVGImageHandle, TheBitmapOfAHugePictureStaysWithinTheRasterBounds) {
  TOwned<TdxSVGImageHandle> handle =
      LoadHandle(R"(<svg width="40000" height="20000" viewBox="0 0 10 10"><rect width="5" height="10" fill="red"/></svg>)");
  PROCESS_MEMORY_COUNTERS before{}, after{};
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
  const TOwned<TBitmap> bitmap = handle->GetAsBitmap();
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
  EXPECT_LE(static_cast<double>(bitmap->Width()) * bitmap->Height(), TdxSVGImageHandle::MaxRasterPixels);
  EXPECT_LE(bitmap->Width(), TdxSVGImageHandle::MaxRasterSide);
  EXPECT_NEAR(static_cast<double>(bitmap->Width()) / bitmap->Height(), 2, 0.01);
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, std::size_t{768} << 20);
  // The view box is centred whole: its red left half lies in the second quarter.
  EXPECT_EQ(GetPixel(bitmap->Canvas()->Handle(), bitmap->Width() * 3 / 8, bitmap->Height() / 2), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(bitmap->Canvas()->Handle(), bitmap->Width() / 8, bitmap->Height() / 2), RGB(0, 0, 0));
}

TEST(SVGImageHandle, HugePicturesAreRasterisedAtTheBound) {
  TOwned<TdxSVGImageHandle> handle =
      LoadHandle(R"(<svg width="1e9" height="1e9" viewBox="0 0 10 10"><rect width="5" height="10" fill="red"/></svg>)");
  EXPECT_EQ(handle->Size(), TSize(1000000000, 1000000000));
  TdxGPImageHandle* raster = handle->GetRasterizedImage(TSize(64, 64), nullptr);
  ASSERT_NE(raster, nullptr);
  EXPECT_EQ(raster->Size(), TSize(64, 64));
  EXPECT_EQ(raster->GetPixel(10, 32), Red);
  EXPECT_EQ(AlphaOf(raster->GetPixel(50, 32)), 0);
  // Asked for more than the bound, the raster stops at it.
  TdxGPImageHandle* big = handle->GetRasterizedImage(TSize(100000, 100000), nullptr);
  EXPECT_LE(static_cast<double>(big->Width()) * big->Height(), TdxSVGImageHandle::MaxRasterPixels);
  EXPECT_EQ(big->Width(), big->Height());
  EXPECT_EQ(big->GetPixel(big->Width() / 4, big->Height() / 2), Red);
}

// ---------------------------------------------------------------------------
// Images inside pictures

TEST(SVGImageElement, ADataURIBringsItsPicture) {
  // A 2 x 1 PNG: red, then blue.
  const TOwned<TdxSVGImageHandle> inner = LoadHandle(HalvesGlyph);
  const TOwned<TdxSmartImage> png(New<TdxSmartImage>());
  {
    const TOwned<TBitmap> bitmap = inner->GetAsBitmap();
    png->SetBitmap(bitmap.get());
  }
  const String uri = TdxSVGParserImage::ImageToString(png.get());
  EXPECT_EQ(uri.substr(0, 22), L"data:image/png;base64,");
  const std::string text = "<svg width=\"32\" height=\"16\"><image x=\"16\" xlink:href=\"" +
                           std::string(uri.begin(), uri.end()) + "\"/><image width=\"4\" href=\"data:image/png;base64,!!\"/></svg>";
  const auto root = ImportSVG(text);
  ASSERT_TRUE(root);
  auto* image = dynamic_cast<TdxSVGElementImage*>(root->GetElement(0));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetBounds(), TdxRectF(16, 0, 32, 16));
  EXPECT_TRUE(dynamic_cast<TdxSVGElementImage*>(root->GetElement(1))->Image()->Empty());
  TSVGSurface surface(32, 16);
  surface.Draw(root.get());
  EXPECT_EQ(surface.Pixel(18, 8), Red);
  EXPECT_EQ(surface.Pixel(30, 8), Blue);
  EXPECT_EQ(surface.Pixel(5, 8), 0u);
  // Written as a data URI again.
  const auto again = ImportSVG(ExportSVG(root.get()));
  EXPECT_FALSE(dynamic_cast<TdxSVGElementImage*>(again->GetElement(0))->Image()->Empty());
}

TEST(SVGImageElement, DataThatNoCodecDecodesIsNoImage) {
  // Without width and height the image's own size is asked for. A PNG cut
  // after its header is sized from the header but cannot be decoded.
  const TOwned<TdxSmartImage> png(New<TdxSmartImage>());
  png->CreateSize(2, 2, Red);
  png->SetImageCodec(dxCodec<TdxGPImageCodecPNG>());
  const TOwned<TMemoryStream> bytes(New<TMemoryStream>());
  png->SaveToStream(bytes.get());
  const auto* data = static_cast<const std::uint8_t*>(bytes->Memory());
  const auto encoded = [](const TBytes& ABytes) {
    const String text = Base64Encode(ABytes, 0, static_cast<int>(ABytes.size()));
    return std::string(text.begin(), text.end());
  };
  const std::string noSvg = "<html/>";
  const struct {
    const char* Name;
    std::string URI;
  } cases[] = {
      {"text", "data:image/png;base64," + encoded(TBytes{'n', 'o', ' ', 'i', 'm', 'a', 'g', 'e'})},
      {"truncated PNG", "data:image/png;base64," + encoded(TBytes(data, data + 40))},
      {"XML without svg", "data:image/svg+xml;base64," + encoded(TBytes(noSvg.begin(), noSvg.end()))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxSVGImageHandle> handle =
        LoadHandle("<svg width=\"8\" height=\"8\"><image href=\"" + c.URI + "\"/><rect width=\"4\" height=\"8\" fill=\"red\"/></svg>");
    ASSERT_TRUE(handle);
    EXPECT_TRUE(dynamic_cast<TdxSVGElementImage*>(handle->Root()->GetElement(0))->Image()->Empty());
    TdxGPImageHandle* raster = handle->GetRasterizedImage(TSize(8, 8), nullptr);
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(raster->GetPixel(1, 4), Red);
    EXPECT_EQ(AlphaOf(raster->GetPixel(6, 4)), 0);
  }
}

TEST(SVGImageElement, APictureInsideAPicture) {
  const String uri = L"data:image/svg+xml;base64," +
                     Base64Encode(TBytes(HalvesGlyph, HalvesGlyph + std::strlen(HalvesGlyph)), 0,
                                  static_cast<int>(std::strlen(HalvesGlyph)));
  const auto root = ImportSVG("<svg width=\"32\" height=\"32\"><image width=\"32\" height=\"32\" href=\"" +
                              std::string(uri.begin(), uri.end()) + "\"/></svg>");
  TSVGSurface surface(32, 32);
  surface.Draw(root.get());
  EXPECT_EQ(surface.Pixel(4, 16), Red);
  EXPECT_EQ(surface.Pixel(28, 16), Blue);
}

}  // namespace
