// The GDI+ codecs and the codec registry: every format against its
// reference decode (make-images, ImageMagick), sizes read from headers,
// encoding read back, metafiles made by GDI, and damaged headers.
#include "tests/library_graphics/SmartImageTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

class ImageCodecs : public GdiPlusTest {};

// ---------------------------------------------------------------------------
// Registration

TEST_F(ImageCodecs, EightCodecsInTheirOrderWithTheirFormats) {
  struct TExpected {
    const wchar_t* ClassName;
    TdxImageDataFormat Format;
    const wchar_t* Extensions;
    const wchar_t* MimeType;
  };
  const TExpected expected[] = {
      {L"TdxGPImageCodecBMP", dxImageBitmap, L"*.bmp;", L"image/bmp"},
      {L"TdxGPImageCodecMemoryBitmap", dxImageMemoryBmp, L"*.bmp;", L"image/bmp"},
      {L"TdxGPImageCodecPNG", dxImagePng, L"*.png;", L"image/png"},
      {L"TdxGPImageCodecTIFF", dxImageTiff, L"*.tiff;*.tif;", L"image/tiff"},
      {L"TdxGPImageCodecGIF", dxImageGif, L"*.gif;", L"image/gif"},
      {L"TdxGPImageCodecJPEG", dxImageJpeg, L"*.jpeg;*.jpg;", L"image/jpg"},
      {L"TdxGPImageCodecEMF", dxImageEmf, L"*.emf;", L"image/emf"},
      {L"TdxGPImageCodecWMF", dxImageWmf, L"*.wmf;", L"image/wmf"},
  };
  ASSERT_EQ(TdxSmartImageCodecsRepository::Count(), 8);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(expected[i].ClassName);
    const TdxSmartImageCodecClass codec = TdxSmartImageCodecsRepository::Items(i);
    EXPECT_EQ(codec->ClassName(), expected[i].ClassName);
    EXPECT_EQ(codec->GetFormatID(), expected[i].Format);
    EXPECT_EQ(codec->Extensions(), expected[i].Extensions);
    EXPECT_EQ(codec->MimeType(), expected[i].MimeType);
  }
  const TdxSmartImageClipboardFormats& formats = TdxSmartImageCodecsRepository::ClipboardFormats();
  EXPECT_EQ(formats[dxImageBitmap], static_cast<UINT>(CF_BITMAP));
  EXPECT_EQ(formats[dxImagePng], RegisterClipboardFormatW(L"PNG"));
  EXPECT_EQ(formats[dxImageJpeg], RegisterClipboardFormatW(L"JPEG"));
  EXPECT_EQ(formats[dxImageEmf], 0u);
}

TEST_F(ImageCodecs, LooksCodecsUpByExtensionAndSignature) {
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".JPG"), dxCodec<TdxGPImageCodecJPEG>());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".bmp"), dxCodec<TdxGPImageCodecBMP>());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".tif"), dxCodec<TdxGPImageCodecTIFF>());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L""), nullptr);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".svg"), nullptr);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetDefaultExt(dxCodec<TdxGPImageCodecJPEG>()), L"jpeg");
  EXPECT_TRUE(TdxSmartImageCodecsRepository::CanLoad(L"C:\\glyphs\\Save.PNG"));
  EXPECT_FALSE(TdxSmartImageCodecsRepository::CanLoad(L"notes.txt"));

  TOwned<TMemoryStream> gif = StreamOf(std::string("xxGIF87a\x10\x00\x20\x00", 12));
  gif->SetPosition(2);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatFromStream(gif.get()), dxCodec<TdxGPImageCodecGIF>());
  EXPECT_EQ(gif->Position(), 2);
  TOwned<TMemoryStream> unknown = StreamOf("GIF8");
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatFromStream(unknown.get()), nullptr);
}

TEST_F(ImageCodecs, DialogFilterListsEveryCodecButTheMemoryBitmap) {
  const String all = L"*.bmp;*.png;*.tiff;*.tif;*.gif;*.jpeg;*.jpg;*.emf;*.wmf;";
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetOpenDialogFilter(),
            L"Alle (" + all + L")|" + all +
                L"|BMP graphics from Skarnivel|*.bmp;|PNG graphics from Skarnivel|*.png;"
                L"|TIFF graphics from Skarnivel|*.tiff;*.tif;|GIF graphics from Skarnivel|*.gif;"
                L"|JPEG graphics from Skarnivel|*.jpeg;*.jpg;|EMF graphics from Skarnivel|*.emf;"
                L"|WMF graphics from Skarnivel|*.wmf;|");
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetSupportedExtensions(), L"*.bmp;" + all);
}

TEST_F(ImageCodecs, PictureKnowsTheImageClassesByExtension) {
  EXPECT_EQ(TPicture::FindFileFormat(L"png"), TdxPNGImage::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"jpg"), TdxSmartImage::ClassInfo());
  EXPECT_EQ(TPicture::FindClipboardFormat(RegisterClipboardFormatW(L"GIF")), TdxSmartImage::ClassInfo());
  EXPECT_EQ(GetClass(L"TdxPNGImage"), TdxPNGImage::ClassInfo());

  // The picture forgets a class with its descendants; what the remaining
  // codecs registered comes back.
  TdxSmartImageCodecsRepository::Unregister(dxCodec<TdxGPImageCodecGIF>());
  EXPECT_FALSE(TdxSmartImageCodecsRepository::Contains(dxCodec<TdxGPImageCodecGIF>()));
  EXPECT_EQ(TPicture::FindFileFormat(L"gif"), nullptr);
  EXPECT_EQ(TPicture::FindFileFormat(L"tif"), TdxSmartImage::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"png"), TdxPNGImage::ClassInfo());
}

// ---------------------------------------------------------------------------
// Every format against its reference

struct TFixtureCase {
  const wchar_t* Name;
  TdxImageDataFormat Format;  // of the codec that recognises the signature
  // The header tells the size (a progressive JPEG has to be decoded).
  bool SizeInHeader;
  // Largest channel difference from ImageMagick's decode.
  int Tolerance;
};

class ImageFixtures : public GdiPlusTest, public testing::WithParamInterface<TFixtureCase> {};

TEST_P(ImageFixtures, SignatureHeaderAndPixelsMatchTheReference) {
  const TFixtureCase& c = GetParam();
  const std::string bytes = FixtureBytes(c.Name);
  ASSERT_FALSE(bytes.empty());

  TOwned<TMemoryStream> stream = StreamOf(bytes);
  const TdxSmartImageCodecClass codec = TdxSmartImageCodecsRepository::GetFormatFromStream(stream.get());
  ASSERT_NE(codec, nullptr);
  EXPECT_EQ(codec->GetFormatID(), c.Format);
  EXPECT_EQ(stream->Position(), 0);

  TSize headerSize;
  TdxSmartImageCodecClass sizeCodec = nullptr;
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetImageInfo(stream.get(), headerSize, sizeCodec), c.SizeInHeader);

  TOwned<TdxSmartImage> image = LoadFixture(c.Name);
  const TSize size = image->Size();
  // BMP files become pixels at once; every other format stays encoded.
  EXPECT_EQ(image->HandleAllocated(), !c.SizeInHeader);
  auto* handle = dynamic_cast<TdxGPImageHandle*>(image->ImageHandle());
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(handle->Size(), size);
  if (c.SizeInHeader) {
    EXPECT_EQ(headerSize, size);
    EXPECT_EQ(sizeCodec, codec);
  }
  const std::vector<TRgbaPixel> reference = ReferencePixels(c.Name);
  ASSERT_EQ(reference.size(), static_cast<std::size_t>(size.cx * size.cy));
  EXPECT_LE(MaxChannelDifference(StraightPixels(handle), reference), c.Tolerance);
}

// Wine's decoders give ImageMagick's pixels exactly, JPEG included when its
// colour is not subsampled (with 4:2:0 colour the two upsample differently,
// by up to 65 at sharp colour edges); 2 allows for another IDCT.
INSTANTIATE_TEST_SUITE_P(
    EveryFormat, ImageFixtures,
    testing::Values(
        TFixtureCase{L"png1.png", dxImagePng, true, 0}, TFixtureCase{L"png8-palette.png", dxImagePng, true, 0},
        TFixtureCase{L"png8-grey.png", dxImagePng, true, 0}, TFixtureCase{L"png24.png", dxImagePng, true, 0},
        TFixtureCase{L"png32.png", dxImagePng, true, 0}, TFixtureCase{L"png32-interlaced.png", dxImagePng, true, 0},
        TFixtureCase{L"gif-transparent.gif", dxImageGif, true, 0},
        TFixtureCase{L"gif-animated.gif", dxImageGif, true, 0},
        TFixtureCase{L"jpeg-baseline.jpg", dxImageJpeg, true, 2},
        TFixtureCase{L"jpeg-progressive.jpg", dxImageJpeg, false, 2}, TFixtureCase{L"bmp1.bmp", dxImageBitmap, true, 0},
        TFixtureCase{L"bmp4.bmp", dxImageBitmap, true, 0}, TFixtureCase{L"bmp8.bmp", dxImageBitmap, true, 0},
        TFixtureCase{L"bmp24.bmp", dxImageBitmap, true, 0}, TFixtureCase{L"bmp32.bmp", dxImageBitmap, true, 0},
        TFixtureCase{L"tiff-ii.tif", dxImageTiff, true, 0}, TFixtureCase{L"tiff-mm.tif", dxImageTiff, true, 0}),
    [](const testing::TestParamInfo<TFixtureCase>& AInfo) {
      std::string name;
      for (const wchar_t* p = AInfo.param.Name; *p; ++p) name += std::isalnum(*p) ? static_cast<char>(*p) : '_';
      return name;
    });

// ---------------------------------------------------------------------------
// Encoding

struct TEncodeCase {
  const wchar_t* Source;
  TdxImageDataFormat Format;
  int Tolerance;  // -1: the pixels are not compared
};

class ImageEncoding : public GdiPlusTest, public testing::WithParamInterface<TEncodeCase> {};

TEST_P(ImageEncoding, WrittenBytesReadBackAlike) {
  const TEncodeCase& c = GetParam();
  TOwned<TdxSmartImage> image = LoadFixture(c.Source);
  image->HandleNeeded();  // decoded: the codec writes, the loaded bytes do not
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  image->SaveToStreamByCodec(stream.get(), c.Format);
  ASSERT_GT(stream->Size(), 0);

  stream->SetPosition(0);
  TOwned<TdxSmartImage> back = LoadImage(stream.get());
  // A BMP file comes back as pixels, a memory bitmap.
  EXPECT_EQ(back->ImageDataFormat(), c.Format == dxImageBitmap ? dxImageMemoryBmp : c.Format);
  EXPECT_EQ(back->Size(), image->Size());
  if (c.Tolerance < 0) return;
  EXPECT_LE(MaxChannelDifference(StraightPixels(dynamic_cast<TdxGPImageHandle*>(back->ImageHandle())),
                                 ReferencePixels(c.Source)),
            c.Tolerance);
}

INSTANTIATE_TEST_SUITE_P(EveryEncoder, ImageEncoding,
                         testing::Values(TEncodeCase{L"png32.png", dxImagePng, 0},
                                         TEncodeCase{L"png32.png", dxImageTiff, 0},
                                         TEncodeCase{L"png24.png", dxImageBitmap, 0},
                                         TEncodeCase{L"gif-transparent.gif", dxImageGif, 0},
                                         // GIF's palette for colours that had none loses some of them.
                                         TEncodeCase{L"png24.png", dxImageGif, -1}),
                         [](const testing::TestParamInfo<TEncodeCase>& AInfo) {
                           return "Format" + std::to_string(AInfo.param.Format) + "_" + std::to_string(AInfo.index);
                         });

// What the JPEG codec hands GDI+'s encoder (Wine's encoder itself takes no
// parameters, so the output cannot tell).
struct TRecordedJpegQuality {
  int Count = -1;  // 0: saved without parameters
  GUID Guid{};
  ULONG Value = 0;
};
TRecordedJpegQuality GRecordedJpegQuality;
decltype(GdipSaveImageToStream) GRealSaveImageToStream = nullptr;

GpStatus WINGDIPAPI RecordingSaveImageToStream(GpImage* AImage, IStream* AStream, const CLSID* AEncoder,
                                               const EncoderParameters* AParameters) {
  GRecordedJpegQuality = {0};
  if (AParameters) {
    GRecordedJpegQuality.Count = static_cast<int>(AParameters->Count);
    GRecordedJpegQuality.Guid = AParameters->Parameter[0].Guid;
    GRecordedJpegQuality.Value = *static_cast<const ULONG*>(AParameters->Parameter[0].Value);
  }
  return GRealSaveImageToStream(AImage, AStream, AEncoder, AParameters);
}

TEST_F(ImageCodecs, JpegQualityGoesToTheEncoderWhenSet) {
  // Pixels: every format is encoded anew.
  TOwned<TdxSmartImage> image = LoadFixture(L"bmp24.bmp");
  GRealSaveImageToStream = std::exchange(GdipSaveImageToStream, &RecordingSaveImageToStream);
  TScopeExit restore([] {
    GdipSaveImageToStream = GRealSaveImageToStream;
    SetJPEGQuality(-1);
  });
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  image->SaveToStreamByCodec(stream.get(), dxImageJpeg);
  EXPECT_EQ(GRecordedJpegQuality.Count, 0) << "no parameters while the quality is -1";

  SetJPEGQuality(35);
  image->SaveToStreamByCodec(stream.get(), dxImageJpeg);
  EXPECT_EQ(GRecordedJpegQuality.Count, 1);
  constexpr GUID Quality = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
  EXPECT_EQ(GRecordedJpegQuality.Guid, Quality);
  EXPECT_EQ(GRecordedJpegQuality.Value, 35u);
  GRecordedJpegQuality = {};
  image->SaveToStreamByCodec(stream.get(), dxImagePng);
  EXPECT_EQ(GRecordedJpegQuality.Count, 0) << "only the JPEG codec passes it";
}

TEST_F(ImageCodecs, JpegEncodingKeepsThePicture) {
  // Lossy: the mean error stays small where the largest one need not.
  TOwned<TdxSmartImage> image = LoadFixture(L"jpeg-baseline.jpg");
  image->HandleNeeded();
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  image->SaveToStreamByCodec(stream.get(), dxImageJpeg);
  stream->SetPosition(0);
  TOwned<TdxSmartImage> back = LoadImage(stream.get());
  const std::vector<TRgbaPixel> pixels = StraightPixels(dynamic_cast<TdxGPImageHandle*>(back->ImageHandle()));
  const std::vector<TRgbaPixel> reference = ReferencePixels(L"jpeg-baseline.jpg");
  ASSERT_EQ(pixels.size(), reference.size());
  double total = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i)
    total += std::abs(pixels[i].R - reference[i].R) + std::abs(pixels[i].G - reference[i].G) +
             std::abs(pixels[i].B - reference[i].B);
  EXPECT_LT(total / (pixels.size() * 3), 16.0);
}

// ---------------------------------------------------------------------------
// Metafiles made by GDI

TOwned<TMetafile> DrawnMetafile(bool AEnhanced) {
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->SetEnhanced(AEnhanced);
  metafile->SetWidth(40);
  metafile->SetHeight(30);
  {
    TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(metafile.get(), nullptr));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(TRect(0, 0, 40, 30));
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(TRect(10, 5, 30, 25));
  }
  return metafile;
}

class Metafiles : public GdiPlusTest, public testing::WithParamInterface<bool> {};

TEST_P(Metafiles, HaveNoSignatureOrHeaderSizeAndDrawAsGdiPlaysThem) {
  const bool enhanced = GetParam();
  TOwned<TMetafile> metafile = DrawnMetafile(enhanced);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  metafile->SaveToStream(stream.get());
  stream->SetPosition(0);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatFromStream(stream.get()), nullptr);
  TSize size;
  TdxSmartImageCodecClass codec = nullptr;
  EXPECT_FALSE(TdxSmartImageCodecsRepository::GetImageInfo(stream.get(), size, codec));

  TOwned<TdxSmartImage> image = LoadImage(stream.get());
  EXPECT_EQ(image->ImageDataFormat(), enhanced ? dxImageEmf : dxImageWmf);
  // GDI's own playback is the reference: the same rectangles, unscaled.
  TPixelSurface drawn(40, 30), played(40, 30);
  image->StretchDraw(drawn.DC(), TRect(0, 0, 40, 30));
  const RECT bounds{0, 0, 40, 30};
  PlayEnhMetaFile(played.DC(), metafile->Handle(), &bounds);
  EXPECT_EQ(drawn.Count(RGB(0, 0, 255)), played.Count(RGB(0, 0, 255)));
  EXPECT_EQ(drawn.Count(RGB(0, 0, 255)), 20 * 20);
  EXPECT_EQ(drawn.BoundsOf(RGB(0, 0, 255)), played.BoundsOf(RGB(0, 0, 255)));
  EXPECT_EQ(drawn.Count(RGB(255, 0, 0)), 40 * 30 - 20 * 20);

  // Saved through the metafile codecs (recorded again by GDI), read back alike.
  TOwned<TMemoryStream> saved(New<TMemoryStream>());
  image->SaveToStreamByCodec(saved.get(), enhanced ? dxImageEmf : dxImageWmf);
  saved->SetPosition(0);
  TOwned<TdxSmartImage> back = LoadImage(saved.get());
  TPixelSurface redrawn(40, 30);
  back->StretchDraw(redrawn.DC(), TRect(0, 0, 40, 30));
  EXPECT_EQ(redrawn.BoundsOf(RGB(0, 0, 255)), played.BoundsOf(RGB(0, 0, 255)));
}

INSTANTIATE_TEST_SUITE_P(EnhancedAndWindows, Metafiles, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& AInfo) { return AInfo.param ? "Emf" : "Wmf"; });

// Metafiles whose records GDI would play beyond what the file holds (Wine's
// GDI crashes or hangs on them) are no image.
std::uint32_t Le32At(const std::string& ABytes, std::size_t AOffset) {
  std::uint32_t value;
  std::memcpy(&value, ABytes.data() + AOffset, 4);
  return value;
}
void SetLe32At(std::string& ABytes, std::size_t AOffset, std::uint32_t AValue) {
  std::memcpy(ABytes.data() + AOffset, &AValue, 4);
}
std::uint16_t Le16At(const std::string& ABytes, std::size_t AOffset) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(ABytes[AOffset]) |
                                    static_cast<std::uint8_t>(ABytes[AOffset + 1]) << 8);
}

// The offset of the first EMF record of the type (npos when there is none).
std::size_t FindEmfRecord(const std::string& AEmf, DWORD AType) {
  for (std::size_t position = 0; position + 8 <= AEmf.size(); position += Le32At(AEmf, position + 4)) {
    if (Le32At(AEmf, position) == AType) return position;
    if (Le32At(AEmf, position + 4) < 8) break;
  }
  return std::string::npos;
}

// A Windows metafile's first record of the function, after the placeable and the standard header.
std::size_t FindWmfRecord(const std::string& AWmf, std::uint16_t AFunction, std::size_t AFrom = 22 + 18) {
  for (std::size_t position = AFrom; position + 6 <= AWmf.size(); position += 2 * Le32At(AWmf, position)) {
    if (Le16At(AWmf, position + 4) == AFunction) return position;
    if (Le32At(AWmf, position) < 3) break;
  }
  return std::string::npos;
}

std::string SavedMetafile(bool AEnhanced, bool AWithBitmap) {
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->SetEnhanced(AEnhanced);
  metafile->SetWidth(20);
  metafile->SetHeight(20);
  {
    TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(metafile.get(), nullptr));
    canvas->Brush()->SetColor(clRed);
    canvas->Ellipse(TRect(2, 2, 18, 18));
    if (AWithBitmap) {
      TOwned<TBitmap> bitmap(New<TBitmap>());
      bitmap->SetPixelFormat(pf24bit);
      bitmap->SetSize(4, 4);
      canvas->StretchDraw(TRect(0, 0, 8, 8), bitmap.get());
    }
  }
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  metafile->SaveToStream(stream.get());
  return BytesOf(stream.get());
}

class HostileMetafiles : public GdiPlusTest {
 protected:
  static bool Decodes(const std::string& ABytes) {
    TOwned<TdxSmartImage> image = LoadImage(StreamOf(ABytes).get());
    try {
      TPixelSurface surface(20, 20);
      image->StretchDraw(surface.DC(), TRect(0, 0, 20, 20));
      return true;
    } catch (const EdxException&) {
      return false;
    }
  }
};

TEST_F(HostileMetafiles, EmfRecordsBeyondTheFileAreRefused) {
  const std::string emf = SavedMetafile(true, true);
  ASSERT_TRUE(Decodes(emf));
  const std::size_t select = FindEmfRecord(emf, EMR_SELECTOBJECT);
  ASSERT_NE(select, std::string::npos);
  // The bitmap went in by one of these, whichever GDI chose.
  std::size_t bitmap = std::string::npos, offBmi = 0, cbBits = 0;
  for (const auto& [type, bmi, bits] :
       {std::tuple{EMR_STRETCHBLT, offsetof(EMRSTRETCHBLT, offBmiSrc), offsetof(EMRSTRETCHBLT, cbBitsSrc)},
        std::tuple{EMR_STRETCHDIBITS, offsetof(EMRSTRETCHDIBITS, offBmiSrc), offsetof(EMRSTRETCHDIBITS, cbBitsSrc)},
        std::tuple{EMR_BITBLT, offsetof(EMRBITBLT, offBmiSrc), offsetof(EMRBITBLT, cbBitsSrc)}})
    if (bitmap == std::string::npos && (bitmap = FindEmfRecord(emf, type)) != std::string::npos) {
      offBmi = bmi;
      cbBits = bits;
    }
  ASSERT_NE(bitmap, std::string::npos);

  std::string badIndex = emf;
  SetLe32At(badIndex, select + 8, 0x7FFF);
  EXPECT_FALSE(Decodes(badIndex));
  std::string badBitmap = emf;
  SetLe32At(badBitmap, bitmap + offBmi, 0x01000000);
  EXPECT_FALSE(Decodes(badBitmap));
  std::string badRows = emf;
  SetLe32At(badRows, bitmap + cbBits, 4);
  EXPECT_FALSE(Decodes(badRows));
  std::string badSize = emf;
  SetLe32At(badSize, select + 4, 0x7FFFFFF0);
  EXPECT_FALSE(Decodes(badSize));
}

TEST_F(HostileMetafiles, WmfRecordsBeyondTheFileAreRefused) {
  const std::string wmf = SavedMetafile(false, false);
  ASSERT_TRUE(Decodes(wmf));
  const std::size_t select = FindWmfRecord(wmf, META_SELECTOBJECT);
  ASSERT_NE(select, std::string::npos);
  std::string badIndex = wmf;
  badIndex[select + 6] = 0x7F;
  EXPECT_FALSE(Decodes(badIndex));

  // GDI keeps the EMF it converted from in comments; their sizes must fit.
  const std::size_t comment = FindWmfRecord(wmf, META_ESCAPE);
  ASSERT_NE(comment, std::string::npos);
  ASSERT_EQ(wmf.compare(comment + 10, 4, "WMFC"), 0);
  std::string badVersion = wmf;
  SetLe32At(badVersion, comment + 10 + 8, 0xFFFFFF00);
  EXPECT_FALSE(Decodes(badVersion));
  std::string badChunk = wmf;
  SetLe32At(badChunk, comment + 10 + 22, 0x7FFFFFFF);
  EXPECT_FALSE(Decodes(badChunk));
}

// ---------------------------------------------------------------------------
// Damaged and hostile headers

std::string Bytes(std::initializer_list<int> AValues) {
  std::string result;
  for (int v : AValues) result += static_cast<char>(v);
  return result;
}

std::string Png(std::uint32_t AWidth, std::uint32_t AHeight) {
  const auto be = [](std::uint32_t v) {
    return Bytes({int(v >> 24), int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255)});
  };
  return Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13}) + "IHDR" + be(AWidth) + be(AHeight) +
         Bytes({8, 6, 0, 0, 0});
}

// A little-endian TIFF: the header, then the directory at AOffset with its entries.
std::string Tiff(std::uint32_t AOffset, std::initializer_list<std::array<std::uint32_t, 4>> AEntries, int ACount = -1) {
  const auto le16 = [](std::uint32_t v) { return Bytes({int(v & 255), int(v >> 8 & 255)}); };
  const auto le32 = [&](std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); };
  std::string result = "II*" + std::string(1, '\0') + le32(AOffset);
  result += le16(ACount < 0 ? static_cast<std::uint32_t>(AEntries.size()) : static_cast<std::uint32_t>(ACount));
  for (const auto& e : AEntries) result += le16(e[0]) + le16(e[1]) + le32(e[2]) + le32(e[3]);
  return result;
}

struct THeaderCase {
  const char* Name;
  std::string Bytes;
  bool Known;  // GetImageInfo finds a size
  TSize Size;
};

class DamagedHeaders : public GdiPlusTest, public testing::WithParamInterface<THeaderCase> {};

TEST_P(DamagedHeaders, EndWithASizeOrSizeUnknown) {
  const THeaderCase& c = GetParam();
  TOwned<TMemoryStream> stream = StreamOf(c.Bytes);
  TSize size(-7, -7);
  TdxSmartImageCodecClass codec = nullptr;
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetImageInfo(stream.get(), size, codec), c.Known);
  EXPECT_EQ(size, c.Known ? c.Size : TSize());
  // As an image: the size without decoding, or a clean error when decoding
  // fails (a BMP file is read by the class library's bitmap, with its own).
  const bool bitmap = c.Bytes.compare(0, 2, "BM") == 0;
  try {
    stream->SetPosition(0);
    TOwned<TdxSmartImage> image = LoadImage(stream.get());
    if (c.Known && !bitmap) {
      EXPECT_EQ(image->Size(), c.Size);
    }
    const TSize stated = image->Size();
    TPixelSurface surface(8, 8);
    image->StretchDraw(surface.DC(), TRect(0, 0, 8, 8));
    // Decoded, it is the size it said it was.
    if (!bitmap) {
      EXPECT_EQ(image->Size(), stated);
    }
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"Unsupported image format.");
  } catch (const Exception& E) {
    EXPECT_TRUE(bitmap) << E.ClassName() << ": " << E.what();
  }
}

const std::string Soi = Bytes({0xFF, 0xD8, 0xFF});

INSTANTIATE_TEST_SUITE_P(
    HostileInputs, DamagedHeaders,
    testing::Values(
        THeaderCase{"Empty", "", false, {}},
        THeaderCase{"JpegMarkerOfLengthZero", Soi + Bytes({0xE0, 0x00, 0x00, 0xFF, 0xC0}), false, {}},
        THeaderCase{"JpegMarkerOfLengthOne", Soi + Bytes({0xE0, 0x00, 0x01, 0xFF, 0xE1, 0x00, 0x01}), false, {}},
        THeaderCase{"JpegLengthPastTheEnd", Soi + Bytes({0xE0, 0xFF, 0xF0, 1, 2, 3}), false, {}},
        THeaderCase{"JpegTruncatedInTheFrame", Soi + Bytes({0xC0, 0x00, 0x11, 8, 0x00}), false, {}},
        THeaderCase{"JpegProgressiveFrame", Soi + Bytes({0xC2, 0x00, 0x11, 8, 0, 16, 0, 24}), false, {}},
        THeaderCase{"JpegRestartMarkersThenFrame",
                    Soi + Bytes({0xD0, 0xFF, 0xDD, 0, 4, 0, 0, 0xFF, 0xC0, 0, 17, 8, 0x01, 0x00, 0x7F, 0xFF}), true,
                    TSize(0x7FFF, 0x100)},
        THeaderCase{"JpegEndOfImage", Soi + Bytes({0xD9, 0xFF, 0xC0, 0, 17, 8, 0, 1, 0, 1}), false, {}},
        THeaderCase{"TiffDirectoryPastTheEnd", Tiff(4000, {{256, 3, 1, 5}, {257, 3, 1, 5}}), false, {}},
        THeaderCase{"TiffDirectoryAtTheLastAddress", Tiff(0xFFFFFFFF, {}), false, {}},
        THeaderCase{"TiffEntryCountBeyondTheData", Tiff(8, {{256, 3, 1, 5}}, 0xFFFF), false, {}},
        THeaderCase{"TiffShortSizesAfterAnotherShort", Tiff(8, {{254, 3, 1, 9}, {256, 3, 1, 33}, {257, 3, 1, 44}}),
                    true, TSize(33, 44)},
        THeaderCase{"TiffLongSizes", Tiff(8, {{257, 4, 1, 70000}, {256, 4, 1, 3}}), true, TSize(3, 70000)},
        THeaderCase{"TiffNegativeLongWidth", Tiff(8, {{256, 4, 1, 0x80000000}, {257, 3, 1, 5}}), false, {}},
        THeaderCase{"PngTruncated", Png(5, 6).substr(0, 20), false, {}},
        THeaderCase{"PngHugeStatedSize", Png(0x7FFFFFFF, 0x7FFFFFFF), true, TSize(0x7FFFFFFF, 0x7FFFFFFF)},
        THeaderCase{"PngSizeBeyondTheFormat", Png(0x80000000, 1), false, {}},
        THeaderCase{"GifTruncated", "GIF89a" + Bytes({7}), false, {}},
        THeaderCase{"GifHugeStatedSize", "GIF89a" + Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, ',', 0, 0, 0, 0, 0xFF, 0xFF,
                                                           0xFF, 0xFF, 0, 2, 2, 0x4C, 1, 0, ';'}),
                    true, TSize(0xFFFF, 0xFFFF)},
        // Decoders differ on a screen the first frame does not cover: only decoding tells.
        THeaderCase{"GifFirstFrameSmallerThanTheScreen",
                    "GIF89a" + Bytes({8, 0, 6, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, ',', 0, 0, 0, 0, 4, 0, 3, 0, 0,
                                      2, 3, 0x84, 0x8F, 0x56, 0, ';'}),
                    false, {}},
        THeaderCase{"JpegHugeStatedSize", Soi + Bytes({0xC0, 0, 17, 8, 0xFF, 0xFF, 0xFF, 0xFF, 3}), true,
                    TSize(0xFFFF, 0xFFFF)},
        THeaderCase{"BmpOnlyTheFileHeader", "BM" + std::string(12, '\0'), false, {}},
        THeaderCase{"BmpCoreHeader", "BM" + std::string(12, '\0') + Bytes({12, 0, 0, 0, 0x20, 0, 0x10, 0}), true,
                    TSize(32, 16)},
        THeaderCase{"BmpHugeStatedSize",
                    "BM" + std::string(12, '\0') +
                        Bytes({40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 32, 0}) +
                        std::string(24, '\0'),
                    true, TSize(0x7FFFFFFF, 0x7FFFFFFF)},
        THeaderCase{"BmpTopDown",
                    "BM" + std::string(12, '\0') + Bytes({40, 0, 0, 0, 3, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}), true,
                    TSize(3, -2)}),
    [](const testing::TestParamInfo<THeaderCase>& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
