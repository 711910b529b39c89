// The smart image: what it keeps, when it decodes, how it encodes, assigns,
// recolours and animates, the clipboard, and a codec registered later (as
// the vector-image codec is).
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/graphics/imaging/dxSmartImage.h"
#include "platform/classes/Lists.h"
#include "platform/ui/Clipbrd.h"
#include "tests/library_graphics/PixelTesting.h"
#include "tests/platform_classes/TempFiles.h"
#include "tests/library_graphics/SmartImageTesting.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr COLORREF Black = RGB(0, 0, 0);

// Counts the change reports of the images it watches.
struct TSmartImageTestWatcher : TObject {
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

class SmartImage : public GdiPlusTest {
 protected:
  void Watch(TGraphic* AImage) { AImage->SetOnChange(BindEvent<&TSmartImageTestWatcher::Changed>(&FWatcher)); }
  int Changes() const { return FWatcher.Count; }

 private:
  TSmartImageTestWatcher FWatcher;
};

std::string SavedBytes(TdxCustomSmartImage* AImage) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AImage->SaveToStream(stream.get());
  return BytesOf(stream.get());
}

bool StartsWith(const std::string& ABytes, const char* APrefix) { return ABytes.rfind(APrefix, 0) == 0; }
constexpr char PngSignature[] = "\x89PNG";

// ---------------------------------------------------------------------------
// What is kept

TEST_F(SmartImage, WritesTheLoadedBytesBackWhetherOrNotDrawn) {
  const std::string bytes = FixtureBytes(L"png32.png");
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  EXPECT_EQ(SavedBytes(image.get()), bytes);
  TPixelSurface surface(24, 16);
  image->StretchDraw(surface.DC(), TRect(0, 0, 24, 16));
  ASSERT_TRUE(image->HandleAllocated());
  EXPECT_EQ(SavedBytes(image.get()), bytes);
  image->Dormant();
  EXPECT_FALSE(image->HandleAllocated());
  EXPECT_EQ(SavedBytes(image.get()), bytes);
}

TEST_F(SmartImage, KeepsABitmapFileAsPixels) {
  TOwned<TdxSmartImage> image = LoadFixture(L"bmp32.bmp");
  EXPECT_EQ(image->ImageDataFormat(), dxImageMemoryBmp);
  // Pixels with alpha are written as PNG, and read back alike.
  const std::string saved = SavedBytes(image.get());
  EXPECT_TRUE(StartsWith(saved, PngSignature));
  TOwned<TdxSmartImage> back = LoadImage(StreamOf(saved).get());
  EXPECT_TRUE(back->Compare(image.get()));

  TOwned<TdxSmartImage> opaque = LoadFixture(L"bmp24.bmp");
  EXPECT_TRUE(StartsWith(SavedBytes(opaque.get()), "BM"));
}

TEST_F(SmartImage, ResizeBeforeTheFirstDrawOnlyRecordsTheSize) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  Watch(image.get());
  EXPECT_TRUE(image->Resize(12, 8));
  EXPECT_FALSE(image->Resize(12, 8));
  EXPECT_EQ(Changes(), 1);
  EXPECT_EQ(image->Width(), 12);
  EXPECT_EQ(image->Height(), 8);
  EXPECT_FALSE(image->HandleAllocated());

  TPixelSurface surface(24, 16);
  image->StretchDraw(surface.DC(), TRect(0, 0, 24, 16));
  EXPECT_EQ(image->ImageHandle()->Size(), TSize(12, 8));
  // Resized pixels are the image now: the loaded bytes are gone.
  EXPECT_NE(SavedBytes(image.get()), FixtureBytes(L"png24.png"));
  TOwned<TdxSmartImage> back = LoadImage(StreamOf(SavedBytes(image.get())).get());
  EXPECT_EQ(back->Size(), TSize(12, 8));
}

TEST_F(SmartImage, DormantKeepsPixelsAsPngOnlyWhenTheyHaveAlpha) {
  for (const TdxAlphaColor color : {0x80336699u, 0xFF336699u}) {
    TOwned<TdxSmartImage> image(
        NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateSize(5, 4, color); }));
    image->HandleNeeded();
    image->Dormant();
    EXPECT_EQ(StartsWith(SavedBytes(image.get()), PngSignature), AlphaOf(color) != 255) << std::hex << color;
  }
}

// ---------------------------------------------------------------------------
// Pixels

TEST_F(SmartImage, CreateSizeStoresTheStraightColourPremultiplied) {
  TOwned<TdxSmartImage> image(
      NewWith<TdxSmartImage>([](TdxSmartImage* AImage) { AImage->CreateSize(3, 2, 0x80FF0000); }));
  EXPECT_TRUE(image->IsAlphaUsed());
  for (const RGBQUAD& pixel : image->GetBitmapBits()) EXPECT_EQ(Channels(pixel), (TChannels{0, 0, 128, 128}));
  TPixelSurface surface(3, 2, Black);
  image->StretchDraw(surface.DC(), TRect(0, 0, 3, 2));
  EXPECT_NEAR(GetRValue(surface.Pixel(1, 1)), 128, 1);
}

TEST_F(SmartImage, ChangeColorKeepsTheAlphaOfEveryPixel) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  Watch(image.get());
  image->ChangeColor(clNone);
  image->ChangeColor(clDefault);
  EXPECT_EQ(Changes(), 0);
  image->ChangeColor(clRed);
  EXPECT_EQ(Changes(), 1);
  const std::vector<TRgbaPixel> reference = ReferencePixels(L"png32.png");
  const TRGBColors bits = image->GetBitmapBits();
  ASSERT_EQ(bits.size(), reference.size());
  for (std::size_t i = 0; i < bits.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Channels(bits[i]), (TChannels{0, 0, MulDiv(255, reference[i].A, 255), reference[i].A}));
  }
  EXPECT_NE(SavedBytes(image.get()), FixtureBytes(L"png32.png"));
}

TEST_F(SmartImage, PixelsWithoutAlphaBecomeOpaqueOrTransparentAtTheKeyColour) {
  // A 24-bit bitmap: magenta all round, green in the top-left quarter.
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(4, 4);
  bitmap->Canvas()->Brush()->SetColor(clFuchsia);
  bitmap->Canvas()->FillRect(TRect(0, 0, 4, 4));
  bitmap->Canvas()->Brush()->SetColor(clLime);
  bitmap->Canvas()->FillRect(TRect(0, 0, 2, 2));

  TOwned<TdxSmartImage> opaque(New<TdxSmartImage>());
  opaque->SetBitmap(bitmap.get());
  EXPECT_FALSE(opaque->IsAlphaUsed());

  // The key is the bottom-left pixel unless the bitmap fixes it; a
  // transparent pixel keeps no colour to add to what it is drawn over.
  bitmap->SetTransparent(true);
  for (const TTransparentMode mode : {tmAuto, tmFixed}) {
    SCOPED_TRACE(mode);
    bitmap->SetTransparentMode(mode);
    bitmap->SetTransparentColor(clFuchsia);
    TOwned<TdxSmartImage> keyed(New<TdxSmartImage>());
    keyed->SetBitmap(bitmap.get());
    TPixelSurface surface(4, 4, Black);
    keyed->StretchDraw(surface.DC(), TRect(0, 0, 4, 4));
    EXPECT_EQ(surface.Count(Black), 12);
    EXPECT_EQ(surface.Count(TRect(0, 0, 2, 2), RGB(0, 255, 0)), 4);
  }

  // A fixed black key: black, too, is a colour.
  bitmap->Canvas()->Brush()->SetColor(clBlack);
  bitmap->Canvas()->FillRect(TRect(2, 2, 4, 4));
  bitmap->SetTransparentColor(clBlack);
  TOwned<TdxSmartImage> black(New<TdxSmartImage>());
  black->SetBitmap(bitmap.get());
  TPixelSurface surface(4, 4, RGB(255, 255, 255));
  black->StretchDraw(surface.DC(), TRect(0, 0, 4, 4));
  EXPECT_EQ(surface.Count(TRect(2, 2, 4, 4), RGB(255, 255, 255)), 4);
}

TEST_F(SmartImage, BitsOfEachAlphaFormat) {
  const TRGBColors bits(6, Quad(10, 20, 30, 0));
  TOwned<TdxSmartImage> ignored(New<TdxSmartImage>());
  ignored->LoadFromBits(3, 2, bits, false);
  EXPECT_EQ(Channels(ignored->GetBitmapBits()[4]), (TChannels{10, 20, 30, 255}));
  TOwned<TdxSmartImage> premultiplied(New<TdxSmartImage>());
  premultiplied->LoadFromBits(3, 2, TRGBColors(6, Quad(10, 20, 30, 40)), true);
  EXPECT_EQ(Channels(premultiplied->GetBitmapBits()[4]), (TChannels{10, 20, 30, 40}));
  EXPECT_THROW(premultiplied->LoadFromBits(3, 3, bits, true), EArgumentException);
}

TEST(SmartImageHelper, PixelsCarryAlphaWhenAnyAlphaByteIsSetOrAllAreZero) {
  const struct {
    const char* Name;
    TRGBColors Bits;
    bool HasAlpha;
  } cases[] = {
      {"opaque colours without alpha", {Quad(1, 2, 3, 0), Quad(255, 255, 255, 0)}, false},
      {"one alpha byte", {Quad(1, 2, 3, 0), Quad(0, 0, 0, 1)}, true},
      {"every pixel zero", {Quad(0, 0, 0, 0), Quad(0, 0, 0, 0)}, true},
      {"black and a colour", {Quad(0, 0, 0, 0), Quad(0, 0, 9, 0)}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TdxSmartImageHelper::HasAlpha(c.Bits), c.HasAlpha);
  }
  const TRGBColors filled = TdxSmartImageHelper::AllocColors(3, 2, 0x80102030);
  ASSERT_EQ(filled.size(), 6u);
  for (const RGBQUAD& pixel : filled) EXPECT_EQ(Channels(pixel), (TChannels{0x30, 0x20, 0x10, 0x80}));
}

TEST_F(SmartImage, TakesTheCallersBitmapHandleWithoutKeepingIt) {
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  bitmap->Canvas()->Brush()->SetColor(clBlue);
  bitmap->Canvas()->FillRect(TRect(0, 0, 3, 2));
  const HBITMAP handle = bitmap->ReleaseHandle();
  const TOwnedBitmap owned(handle);
  TOwned<TdxSmartImage> image(NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateFromHBitmap(handle); }));
  EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(image->Size(), TSize(3, 2));
  for (const RGBQUAD& pixel : image->GetBitmapBits()) EXPECT_EQ(Channels(pixel), (TChannels{255, 0, 0, 255}));
}

TEST_F(SmartImage, FilesAreWrittenByTheCodecOfTheirExtension) {
  const TTempDir folder;
  const std::string png = FixtureBytes(L"png24.png");
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  const struct {
    const wchar_t* Name;
    TdxImageDataFormat Format;  // of the file written
  } cases[] = {{L"a.jpg", dxImageJpeg}, {L"b.PNG", dxImagePng}, {L"c.tif", dxImageTiff}, {L"d.dat", dxImagePng}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
    const String file = folder.File(c.Name);
    image->SaveToFile(file);
    TSize size;
    TdxSmartImageCodecClass codec = nullptr;
    ASSERT_TRUE(TdxSmartImageCodecsRepository::GetImageInfo(file, size, codec));
    EXPECT_EQ(size, TSize(24, 16));
    EXPECT_EQ(codec->GetFormatID(), c.Format);
    // The loaded bytes themselves when the file's format is the image's.
    if (c.Format == dxImagePng) {
      EXPECT_EQ(ReadFileBytes(file), png);
    }
    TOwned<TdxSmartImage> back(NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateFromFile(file); }));
    EXPECT_EQ(back->ImageDataFormat(), c.Format);
  }
  EXPECT_TRUE(TdxSmartImageCodecsRepository::CanLoad(String(L"picture.JPEG")));
  EXPECT_FALSE(TdxSmartImageCodecsRepository::CanLoad(String(L"picture.dat")));
}

TEST_F(SmartImage, ComparesDecodedPixels) {
  TOwned<TdxSmartImage> png = LoadFixture(L"png24.png");
  TOwned<TdxSmartImage> bmp = LoadFixture(L"bmp24.bmp");
  TOwned<TdxSmartImage> grey = LoadFixture(L"png8-grey.png");
  EXPECT_TRUE(png->Compare(bmp.get()));
  EXPECT_TRUE(png->Equals(bmp.get()));
  EXPECT_EQ(png->GetHashCode(), bmp->GetHashCode());
  EXPECT_FALSE(png->Compare(grey.get()));
  EXPECT_NE(png->GetHashCode(), grey->GetHashCode());
  TOwned<TdxSmartImage> empty(New<TdxSmartImage>());
  EXPECT_EQ(empty->GetHashCode(), 0u);
  EXPECT_FALSE(png->Compare(empty.get()));
}

// ---------------------------------------------------------------------------
// Changes, assigning, errors

TEST_F(SmartImage, ClearReportsOnlyARealChange) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  Watch(image.get());
  image->Clear();
  image->Clear();
  EXPECT_EQ(Changes(), 1);
  EXPECT_TRUE(image->Empty());
  EXPECT_EQ(image->Size(), TSize());
}

TEST_F(SmartImage, AssignsImagesAndGraphics) {
  TOwned<TdxSmartImage> source = LoadFixture(L"png32.png");
  TOwned<TdxSmartImage> target(New<TdxSmartImage>());
  target->Assign(source.get());
  EXPECT_EQ(SavedBytes(target.get()), FixtureBytes(L"png32.png"));
  TOwned<TdxCustomSmartImage> clone = source->Clone();
  EXPECT_EQ(clone->ClassType(), TdxSmartImage::ClassInfo());
  EXPECT_TRUE(clone->Compare(source.get()));

  TOwned<TdxSmartImage> empty(New<TdxSmartImage>());
  target->Assign(empty.get());
  EXPECT_TRUE(target->Empty());

  // To a bitmap and back: the same pixels.
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->Assign(source.get());
  EXPECT_EQ(bitmap->Width(), 24);
  target->Assign(bitmap.get());
  EXPECT_TRUE(target->Compare(source.get()));

  // To a metafile: recorded and played back at the same size.
  TOwned<TdxSmartImage> opaque = LoadFixture(L"png24.png");
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->Assign(opaque.get());
  EXPECT_FALSE(metafile->Empty());
  target->Assign(metafile.get());
  EXPECT_EQ(target->ImageDataFormat(), dxImageEmf);

  TOwned<TStringList> other(New<TStringList>());
  EXPECT_THROW(target->Assign(other.get()), EConvertError);
}

TEST_F(SmartImage, ResizedPixelsKeepTheirAlphaWhenSaved) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  image->HandleNeeded();
  image->Resize(12, 8);
  TOwned<TdxSmartImage> copy(New<TdxSmartImage>());
  copy->Assign(image.get());
  EXPECT_TRUE(copy->IsAlphaUsed());
  // Through a PNG file: the same straight colours.
  EXPECT_EQ(MaxChannelDifference(StraightPixels(dynamic_cast<TdxGPImageHandle*>(copy->ImageHandle())),
                                 StraightPixels(dynamic_cast<TdxGPImageHandle*>(image->ImageHandle()))),
            0);
}

TEST_F(SmartImage, ReportsFailuresInItsOwnWords) {
  TOwned<TdxSmartImage> garbage = LoadImage(StreamOf("not an image at all").get());
  try {
    garbage->HandleNeeded();
    FAIL() << "decoded garbage";
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"Unsupported image format.");
  }
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  try {
    image->SaveToStreamByCodec(stream.get(), static_cast<TdxSmartImageCodecClass>(nullptr));
    FAIL() << "encoded without a codec";
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"Operation was not supported.");
  }
}

TEST_F(SmartImage, LoadsFieldValuesWithOrWithoutTheirHeader) {
  const std::string png = FixtureBytes(L"png24.png");
  std::string header(8, '\0');
  header[0] = 1;
  header[3] = 1;
  const std::uint32_t length = static_cast<std::uint32_t>(png.size());
  std::memcpy(header.data() + 4, &length, 4);
  for (const std::string& bytes : {png, header + png}) {
    TOwned<TdxSmartImage> image(New<TdxSmartImage>());
    image->LoadFromFieldValue(Variant(RawByteString(bytes)));
    EXPECT_EQ(SavedBytes(image.get()), png);
  }
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  image->LoadFromFieldValue(Null());
  const std::string headerOnly = std::string("\x01\x00\x00\x01", 4) + std::string(4, '\0');
  image->LoadFromFieldValue(Variant(RawByteString(headerOnly)));
  EXPECT_EQ(SavedBytes(image.get()), png) << "a header of no data changes nothing";
}

TEST_F(SmartImage, LoadsResourcesOfEachType) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromResource(module, L"PNG24", L"PNG");
  EXPECT_EQ(SavedBytes(image.get()), FixtureBytes(L"png24.png"));
  image->LoadFromResource(module, L"BMP24", RT_BITMAP);
  EXPECT_EQ(image->ImageDataFormat(), dxImageMemoryBmp);
  EXPECT_EQ(MaxChannelDifference(StraightPixels(dynamic_cast<TdxGPImageHandle*>(image->ImageHandle())),
                                 ReferencePixels(L"bmp24.bmp")),
            0);
  // A missing resource is an error, and the image stays what it was.
  const std::string bitmap = SavedBytes(image.get());
  EXPECT_THROW(image->LoadFromResource(module, L"NO_SUCH_IMAGE", L"PNG"), EResNotFound);
  EXPECT_THROW(image->LoadFromResource(module, L"NO_SUCH_IMAGE", RT_BITMAP), EResNotFound);
  EXPECT_EQ(SavedBytes(image.get()), bitmap);
}

TEST_F(SmartImage, ChangingTheCodecReencodes) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  image->SetImageDataFormat(dxImageJpeg);
  EXPECT_EQ(image->ImageDataFormat(), dxImageJpeg);
  EXPECT_TRUE(StartsWith(SavedBytes(image.get()), "\xFF\xD8\xFF"));
}

// ---------------------------------------------------------------------------
// The resize cache

// Counts the resized copies the cache asks for.
class TSmartImageTestCountingImage : public TdxSmartImage {
  SK_CLASS(TSmartImageTestCountingImage, TdxSmartImage)
 public:
  int Resized = 0;

 protected:
  TOwned<TdxSmartImageCustomHandle> CreateResizedHandle(const TSize& ASize) override {
    ++Resized;
    return inherited::CreateResizedHandle(ASize);
  }
};

TEST_F(SmartImage, TheResizeCacheKeepsOneSmoothCopyForAMuchSmallerSizeAndPalette) {
  const TOwned<TSmartImageTestCountingImage> image = LoadFixture<TSmartImageTestCountingImage>(L"png24.png");
  ASSERT_EQ(image->Size(), TSize(24, 16));
  TPixelSurface surface(40, 40);
  const auto draw = [&](int AWidth, int AHeight, IdxColorPalette* APalette = nullptr) {
    image->StretchDraw(surface.DC(), TRect(0, 0, AWidth, AHeight), 255, APalette);
    return image->Resized;
  };
  EXPECT_EQ(draw(8, 4), 0) << "off unless asked for";
  image->SetUseCache(true);
  surface.Fill(RGB(255, 255, 255));
  EXPECT_EQ(draw(8, 4), 1);
  // What is drawn is the image's own smooth resize.
  const TOwned<TdxSmartImage> resized(New<TdxSmartImage>());
  resized->Assign(image.get());
  resized->Resize(TSize(8, 4));
  TPixelSurface expected(40, 40);
  resized->StretchDraw(expected.DC(), TRect(0, 0, 8, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(surface.Pixel(x, y), expected.Pixel(x, y)) << x << ", " << y;

  EXPECT_EQ(draw(8, 4), 1) << "the same size again";
  EXPECT_EQ(draw(11, 7), 2) << "another size below a quarter of the area";
  EXPECT_EQ(draw(12, 8), 2) << "a quarter of the area: drawn directly";
  EXPECT_EQ(draw(24, 4), 2) << "as wide as the image";
  EXPECT_EQ(draw(11, 7), 3);
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(0xFF00FF00, 0xFF00FF00));
  EXPECT_EQ(draw(11, 7, palette.Get()), 4) << "another palette";
  EXPECT_EQ(draw(11, 7, palette.Get()), 4);
  image->ChangeColor(clRed);
  EXPECT_EQ(draw(11, 7, palette.Get()), 5) << "a change drops the copy";
}

// ---------------------------------------------------------------------------
// Animation

// A controller without a timer: the test steps it. The one alive is known.
class TSmartImageTestController : public TdxSmartImageAnimationController {
  SK_CLASS(TSmartImageTestController, TdxSmartImageAnimationController)
 public:
  static inline TSmartImageTestController* Alive = nullptr;
  void Create(TdxCustomSmartImage* AImage) override {
    inherited::Create(AImage);
    Alive = this;
  }
  void Destroy() override {
    if (Alive == this) Alive = nullptr;
    inherited::Destroy();
  }
  void StartTimer() override { FRunning = true; }
  void StopTimer() override { FRunning = false; }
  bool IsTimerActive() override { return FRunning; }

 private:
  bool FRunning;
};

class SmartImageAnimation : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    TdxCustomSmartImage::SetAnimationControllerClass(TSmartImageTestController::ClassInfo());
  }
  void TearDown() override {
    TdxCustomSmartImage::SetAnimationControllerClass(nullptr);
    GdiPlusTest::TearDown();
  }
};

TEST_F(SmartImageAnimation, FramesOfAGifAndOfAPng) {
  TOwned<TdxSmartImage> gif = LoadFixture(L"gif-animated.gif");
  EXPECT_EQ(gif->AnimationFrameCount(), 5);
  EXPECT_EQ(gif->AnimationFrameDelay(), 100);
  EXPECT_EQ(gif->AnimationLoopCount(), 3);
  gif->SetAnimationFrameDelay(-5);
  EXPECT_EQ(gif->AnimationFrameDelay(), 100);
  gif->SetAnimationFrameDelay(40);
  EXPECT_EQ(gif->AnimationFrameDelay(), 40);

  TOwned<TdxSmartImage> png = LoadFixture(L"png24.png");
  EXPECT_EQ(png->AnimationFrameCount(), 1);
  EXPECT_EQ(png->AnimationFrameDelay(), 75);
  EXPECT_EQ(png->AnimationLoopCount(), 0);
  png->StartAnimation();
  EXPECT_FALSE(png->Animation());
}

struct TLoopCase {
  TdxDefaultBoolean Loop;
  // The frame after each step past the last frame (frame 4 of 5).
  std::vector<int> Frames;
};

class SmartImageLoops : public SmartImageAnimation, public testing::WithParamInterface<TLoopCase> {};

TEST_P(SmartImageLoops, StepPastTheLastFrame) {
  TOwned<TdxSmartImage> gif = LoadFixture(L"gif-animated.gif");
  gif->SetAnimationLoop(GetParam().Loop);
  std::vector<int> frames;
  for (std::size_t i = 0; i < GetParam().Frames.size(); ++i) {
    gif->SetActiveFrame(4);
    gif->SetActiveFrame(5);
    frames.push_back(gif->ActiveFrame());
  }
  EXPECT_EQ(frames, GetParam().Frames);
}

// The GIF plays three times: the index counts the wraps until it reaches that.
INSTANTIATE_TEST_SUITE_P(LoopModes, SmartImageLoops,
                         testing::Values(TLoopCase{bTrue, {0, 0, 0, 0, 0}}, TLoopCase{bFalse, {4, 4}},
                                         TLoopCase{bDefault, {0, 0, 0, 4, 4}}),
                         [](const testing::TestParamInfo<TLoopCase>& AInfo) {
                           return std::string(AInfo.param.Loop == bTrue    ? "Wraps"
                                              : AInfo.param.Loop == bFalse ? "Stays"
                                                                           : "CountsTheImagesLoops");
                         });

TEST_F(SmartImageAnimation, TheControllerStepsToTheLastFrameAndEnds) {
  TOwned<TdxSmartImage> gif = LoadFixture(L"gif-animated.gif");
  gif->SetAnimationLoop(bFalse);
  gif->SetAnimation(true);
  ASSERT_TRUE(gif->Animation());
  ASSERT_NE(TSmartImageTestController::Alive, nullptr);
  std::vector<int> frames;
  while (TSmartImageTestController::Alive) {
    TSmartImageTestController::Alive->NextFrame();
    frames.push_back(gif->ActiveFrame());
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 4}));
  EXPECT_FALSE(gif->Animation());

  // Pages of a TIFF do not animate.
  TOwned<TdxSmartImage> tiff = LoadFixture(L"tiff-ii.tif");
  tiff->SetAnimation(true);
  EXPECT_EQ(TSmartImageTestController::Alive, nullptr);
}

// ---------------------------------------------------------------------------
// Clipboard

TEST_F(SmartImage, CopiesToAndPastesFromTheClipboard) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png32.png");
  image->CopyToClipboard();
  EXPECT_TRUE(Clipboard()->HasFormat(RegisterClipboardFormatW(L"PNG")));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  TOwned<TdxSmartImage> pasted(New<TdxSmartImage>());
  pasted->Assign(Clipboard());
  EXPECT_EQ(SavedBytes(pasted.get()), FixtureBytes(L"png32.png"));

  // A picture of pixels only has the bitmap as its format.
  TOwned<TdxSmartImage> pixels = LoadFixture(L"bmp24.bmp");
  pixels->CutToClipboard();
  EXPECT_TRUE(pixels->Empty());
  EXPECT_FALSE(Clipboard()->HasFormat(RegisterClipboardFormatW(L"PNG")));
  ASSERT_TRUE(pasted->PasteFromClipboard());
  EXPECT_EQ(MaxChannelDifference(StraightPixels(dynamic_cast<TdxGPImageHandle*>(pasted->ImageHandle())),
                                 ReferencePixels(L"bmp24.bmp")),
            0);
}

// ---------------------------------------------------------------------------
// A codec registered later: a square of one colour, "TSQ1", the side (one
// byte) and the colour (4 bytes ARGB, little-endian); it answers as vector
// images do and draws its fill colour from the palette.

class TSmartImageTestSquareHandle : public TdxSmartImageCustomHandle,
                                    public IdxVectorImage,
                                    public IdxImageDataFormatEx {
  SK_CLASS(TSmartImageTestSquareHandle, TdxSmartImageCustomHandle)
 public:
  void Create(int ASide, TdxAlphaColor AColor) {
    FSide = ASide;
    FColor = AColor;
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxVectorImage, IdxImageDataFormatEx>(this, AIID, AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  TSize GetSize() const override { return TSize(FSide, FSide); }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC DC, const TRect& ADest, const TRect&, std::uint8_t, IdxColorPalette* APalette) override {
    TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(DC));
    canvas->FillRectangle(ADest, APalette ? APalette->GetFillColor(L"square") : FColor);
  }
  TdxSmartImageCodecClass GetImageCodec() override;
  std::string Bytes() const {
    std::string bytes = "TSQ1" + std::string(1, static_cast<char>(FSide)) + std::string(4, '\0');
    std::memcpy(bytes.data() + 5, &FColor, 4);
    return bytes;
  }

 private:
  int FSide;
  TdxAlphaColor FColor;
};

class TSmartImageTestSquareCodec : public TdxSmartImageCodec {
  SK_CLASS(TSmartImageTestSquareCodec, TdxSmartImageCodec)
 public:
  struct TMeta : TdxSmartImageCodec::TMeta {
    TClass GetGraphicClass() const override { return TdxSmartImage::ClassInfo(); }
    String Extensions() const override { return L"*.sq;"; }
    bool CanLoadStream(TStream* AStream) const override { return CheckSignature(AStream, std::span(Signature, 4)); }
    bool GetSize(TStream* AStream, TSize& ASize) const override {
      std::uint8_t head[5];
      if (!CanLoadStream(AStream) || AStream->Read(head, 5) != 5) return false;
      ASize = TSize(head[4], head[4]);
      return true;
    }
    bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const override {
      return dynamic_cast<TSmartImageTestSquareHandle*>(AHandle) != nullptr;
    }
    bool Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const override {
      std::uint8_t bytes[9];
      if (!CanLoadStream(AStream) || AStream->Read(bytes, 9) != 9) return false;
      TdxAlphaColor color;
      std::memcpy(&color, bytes + 5, 4);
      AHandle.reset(New<TSmartImageTestSquareHandle>(bytes[4], color));
      return true;
    }
    using TdxSmartImageCodec::TMeta::Load;
    bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override {
      const auto* square = dynamic_cast<TSmartImageTestSquareHandle*>(AHandle);
      if (!square) return false;
      const std::string bytes = square->Bytes();
      AStream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
      return true;
    }
    static constexpr std::uint8_t Signature[4] = {'T', 'S', 'Q', '1'};
  };
};

TdxSmartImageCodecClass TSmartImageTestSquareHandle::GetImageCodec() { return dxCodec<TSmartImageTestSquareCodec>(); }

class SmartImageLaterCodec : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    TdxSmartImageCodecsRepository::Register(dxCodec<TSmartImageTestSquareCodec>());
  }
  void TearDown() override {
    TdxSmartImageCodecsRepository::Unregister(dxCodec<TSmartImageTestSquareCodec>());
    GdiPlusTest::TearDown();
  }
  static std::string Square(int ASide, TdxAlphaColor AColor) {
    std::string bytes = "TSQ1" + std::string(1, static_cast<char>(ASide)) + std::string(4, '\0');
    std::memcpy(bytes.data() + 5, &AColor, 4);
    return bytes;
  }
};

TEST_F(SmartImageLaterCodec, DecodesEncodesAndDrawsThroughIt) {
  const std::string bytes = Square(6, 0xFF0000FF);
  TOwned<TdxSmartImage> image = LoadImage(StreamOf(bytes).get());
  EXPECT_EQ(image->Size(), TSize(6, 6));
  EXPECT_FALSE(image->HandleAllocated());
  EXPECT_EQ(image->ImageCodec(), dxCodec<TSmartImageTestSquareCodec>());
  EXPECT_EQ(image->ImageDataFormat(), dxImageUnknown);
  EXPECT_NE(SupportsRaw<IdxVectorImage>(image.get()), nullptr);
  EXPECT_EQ(SavedBytes(image.get()), bytes);
  EXPECT_EQ(TPicture::FindFileFormat(L"sq"), TdxSmartImage::ClassInfo());

  TOwned<TdxSimpleColorPalette> palette(New<TdxSimpleColorPalette>(0xFF00FF00, 0));
  TPixelSurface surface(6, 6, Black);
  image->StretchDraw(surface.DC(), TRect(0, 0, 6, 6), 255, palette.get());
  EXPECT_EQ(surface.Count(RGB(0, 255, 0)), 36);

  // Another codec saves it from its pixels.
  TOwned<TMemoryStream> png(New<TMemoryStream>());
  image->SaveToStreamByCodec(png.get(), dxImagePng);
  png->SetPosition(0);
  TOwned<TdxSmartImage> back = LoadImage(png.get());
  for (const RGBQUAD& pixel : back->GetBitmapBits()) EXPECT_EQ(Channels(pixel), (TChannels{255, 0, 0, 255}));

  // As pixels it is a vector image no more.
  image->ConvertToBitmap();
  EXPECT_EQ(image->ImageDataFormat(), dxImageMemoryBmp);
  EXPECT_EQ(SupportsRaw<IdxVectorImage>(image.get()), nullptr);
}

TEST_F(SmartImageLaterCodec, ACodecThatCannotSaveIsNamed) {
  TOwned<TdxSmartImage> image = LoadFixture(L"png24.png");
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  try {
    image->SaveToStreamByCodec(stream.get(), dxCodec<TSmartImageTestSquareCodec>());
    FAIL() << "saved a PNG as a square";
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"The TSmartImageTestSquareCodec codec failed to export the image (3)");
  }
}

}  // namespace
