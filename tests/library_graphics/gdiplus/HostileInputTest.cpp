// Hostile input: one fixture per kind of attack on the graphics readers
// (HostileFixtures.rc, made by make-hostile), each beside the well-formed
// file it was made from. A hostile file is refused with the reader's own
// error, quickly and without the process growing; a well-formed one decodes
// and draws as GDI draws it. Time and memory bounds are generous: they catch
// minutes and gigabytes, not milliseconds.
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/cxImageList.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/SampleMetafiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <functional>
#include <cstring>
#include <span>

namespace {

constexpr auto TimeBound = std::chrono::seconds(20);
constexpr std::uint64_t MemoryBound = std::uint64_t{1} << 30;

enum class TReader { Image, BitmapData, ImageListStream, FormText };
enum class TOutcome { Refused, Draws, Passes };

struct THostileCase {
  const wchar_t* Fixture;
  TReader Reader;
  TOutcome Outcome;
};

std::span<const std::uint8_t> Span(const std::string& ABytes) {
  return {reinterpret_cast<const std::uint8_t*>(ABytes.data()), ABytes.size()};
}

// The form data of a compressed bitmap, read as the form reader does.
class THostileFormDataBitmap : public TcxBitmap {
  SK_CLASS(THostileFormDataBitmap, TcxBitmap)
 public:
  using TcxBitmap::ReadData;
};

// Red pixels of a surface where the picture was drawn.
int RedPixels(const TPixelSurface& ASurface) { return ASurface.Count(RGB(255, 0, 0)); }

class HostileInput : public GdiPlusTest, public testing::WithParamInterface<THostileCase> {
 protected:
  void ReadImage(const std::string& ABytes, TOutcome AOutcome) {
    EXPECT_EQ(dxIsSafeToDecode(Span(ABytes)), AOutcome != TOutcome::Refused);
    if (AOutcome == TOutcome::Passes) return;
    TOwned<TdxSmartImage> image = LoadImage(StreamOf(ABytes).get());
    TPixelSurface surface(100, 100);
    if (AOutcome == TOutcome::Refused) {
      EXPECT_THROW(image->StretchDraw(surface.DC(), surface.ClientRect()), EdxException);
      return;
    }
    image->StretchDraw(surface.DC(), surface.ClientRect());
    EXPECT_GT(surface.CountOther(surface.ClientRect(), RGB(255, 255, 255)), 1000);
    // What draws, saves as PNG and reads back at its size (metafiles too).
    TOwned<TMemoryStream> png(New<TMemoryStream>());
    image->SaveToStreamByCodec(png.get(), dxImagePng);
    png->SetPosition(0);
    TOwned<TdxSmartImage> back = LoadImage(png.get());
    EXPECT_EQ(back->ImageDataFormat(), dxImagePng);
    EXPECT_EQ(back->Size(), image->Size());
  }

  void ReadBitmapData(const std::string& ABytes) {
    TOwned<THostileFormDataBitmap> bitmap(New<THostileFormDataBitmap>());
    EXPECT_THROW(bitmap->ReadData(StreamOf(ABytes).get()), EReadError);
    EXPECT_TRUE(bitmap->Empty());
  }

  void ReadImageListStream(const std::string& ABytes, TOutcome AOutcome) {
    TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
    list->Add(SolidGlyph(16, 16, RGB(255, 0, 0)).get(), nullptr);
    if (AOutcome == TOutcome::Refused) {
      EXPECT_THROW(list->LoadFromStream(StreamOf(ABytes).get()), EReadError);
      EXPECT_EQ(list->Count(), 1) << "a refused stream changes nothing";
      EXPECT_EQ(list->Images()->Count(), 1);
    } else {
      list->LoadFromStream(StreamOf(ABytes).get());
      EXPECT_EQ(list->Count(), list->Images()->Count());
    }
  }

  void ReadFormText(const std::string& ABytes) {
    const String text(ABytes.begin(), ABytes.end());
    EXPECT_THROW({ const TOwned<TComponent> read(ReadComponentFromText(text)); }, Exception);
  }

  static TOwned<TcxBitmap32> SolidGlyph(int AWidth, int AHeight, COLORREF AColor) {
    TOwned<TcxBitmap32> bitmap(
        NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(AWidth, AHeight, true); }));
    for (int y = 0; y < AHeight; ++y) {
      auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
      for (int x = 0; x < AWidth; ++x)
        row[x] = RGBQUAD{GetBValue(AColor), GetGValue(AColor), GetRValue(AColor), 255};
    }
    bitmap->Changed(bitmap.get());
    return bitmap;
  }
};

TEST_P(HostileInput, IsRefusedOrDrawnWithinBounds) {
  const THostileCase& test = GetParam();
  const std::string bytes = FixtureBytes(test.Fixture);
  ASSERT_FALSE(bytes.empty()) << "run tests/library_graphics/make-hostile";
  const auto started = std::chrono::steady_clock::now();
  switch (test.Reader) {
    case TReader::Image: ReadImage(bytes, test.Outcome); break;
    case TReader::BitmapData: ReadBitmapData(bytes); break;
    case TReader::ImageListStream: ReadImageListStream(bytes, test.Outcome); break;
    case TReader::FormText: ReadFormText(bytes); break;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, TimeBound);
  EXPECT_LT(PeakProcessMemory(), MemoryBound);
}

const THostileCase Cases[] = {
    {L"png-base.png", TReader::Image, TOutcome::Draws},
    {L"png-30000.png", TReader::Image, TOutcome::Refused},
    {L"png-16bit-12000.png", TReader::Image, TOutcome::Refused},
    {L"png-text-chunks.png", TReader::Image, TOutcome::Refused},
    {L"jpeg-24x16.jpg", TReader::Image, TOutcome::Passes},
    {L"jpeg-64250.jpg", TReader::Image, TOutcome::Refused},
    {L"jpeg-progressive-10000.jpg", TReader::Image, TOutcome::Refused},
    {L"gif-base.gif", TReader::Image, TOutcome::Passes},
    {L"gif-frames.gif", TReader::Image, TOutcome::Refused},
    {L"gif-pixels-in-frames.gif", TReader::Image, TOutcome::Refused},
    {L"emf-base.emf", TReader::Image, TOutcome::Draws},
    {L"emf-alphablend-base.emf", TReader::Image, TOutcome::Draws},
    {L"emf-polyline-count.emf", TReader::Image, TOutcome::Refused},
    {L"emf-polypolygon-counts.emf", TReader::Image, TOutcome::Refused},
    {L"emf-ellipse-huge.emf", TReader::Image, TOutcome::Refused},
    {L"emf-font-height.emf", TReader::Image, TOutcome::Refused},
    {L"emf-pen-width.emf", TReader::Image, TOutcome::Refused},
    {L"emf-restoredc.emf", TReader::Image, TOutcome::Refused},
    {L"emf-alphablend-source.emf", TReader::Image, TOutcome::Refused},
    {L"emf-colour-usage.emf", TReader::Image, TOutcome::Refused},
    {L"emf-colour-space.emf", TReader::Image, TOutcome::Refused},
    {L"emf-bitfields-base.emf", TReader::Image, TOutcome::Draws},
    {L"emf-overlapping-masks.emf", TReader::Image, TOutcome::Refused},
    {L"emf-deleted-stock.emf", TReader::Image, TOutcome::Refused},
    {L"emf-scale-zero.emf", TReader::Image, TOutcome::Refused},
    {L"emf-negative-frame.emf", TReader::Image, TOutcome::Refused},
    {L"emf-after-end.emf", TReader::Image, TOutcome::Refused},
    {L"wmf-base.wmf", TReader::Image, TOutcome::Draws},
    {L"wmf-polygon-count.wmf", TReader::Image, TOutcome::Refused},
    {L"wmf-scale-zero.wmf", TReader::Image, TOutcome::Refused},
    {L"wmf-object-table.wmf", TReader::Image, TOutcome::Refused},
    {L"wmf-tiny-window.wmf", TReader::Image, TOutcome::Refused},
    {L"xdbm-20000.bin", TReader::BitmapData, TOutcome::Refused},
    {L"dxil-native-base.bin", TReader::ImageListStream, TOutcome::Passes},
    {L"dxil-native-capacity0.bin", TReader::ImageListStream, TOutcome::Refused},
    {L"dxil-native-count32.bin", TReader::ImageListStream, TOutcome::Refused},
    {L"form-huge-size.txt", TReader::FormText, TOutcome::Refused},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, HostileInput, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<THostileCase>& AInfo) {
                           std::string name;
                           for (const wchar_t* c = AInfo.param.Fixture; *c; ++c)
                             name += std::isalnum(static_cast<int>(*c)) ? static_cast<char>(*c) : '_';
                           return name;
                         });

// The well-formed metafiles draw as GDI itself plays them: the red disc of
// the EMF and of the WMF as PlayEnhMetaFile draws them.
TEST_F(HostileInput, AcceptedMetafilesDrawAsGdiPlaysThem) {
  const std::string emf = FixtureBytes(L"emf-base.emf");
  TPixelSurface drawn(100, 100), played(100, 100);
  LoadImage(StreamOf(emf).get())->StretchDraw(drawn.DC(), drawn.ClientRect());
  const TOwnedEnhMetaFile handle(SetEnhMetaFileBits(static_cast<UINT>(emf.size()),
                                                    reinterpret_cast<const BYTE*>(emf.data())));
  const RECT bounds{0, 0, 100, 100};
  PlayEnhMetaFile(played.DC(), handle.Get(), &bounds);
  EXPECT_NEAR(RedPixels(drawn), RedPixels(played), RedPixels(played) * 0.03);

  // GDI turns a WMF into an EMF to play it: the file without its placeable
  // header, its box (1000 units of 1/1440 inch) in 0.01 mm.
  const std::string wmf = FixtureBytes(L"wmf-base.wmf");
  TPixelSurface wmfDrawn(100, 100), wmfPlayed(100, 100);
  LoadImage(StreamOf(wmf).get())->StretchDraw(wmfDrawn.DC(), wmfDrawn.ClientRect());
  const METAFILEPICT picture{MM_ANISOTROPIC, 1000 * 2540 / 1440, 1000 * 2540 / 1440, nullptr};
  const TOwnedEnhMetaFile converted(SetWinMetaFileBits(static_cast<UINT>(wmf.size() - 22),
                                                       reinterpret_cast<const BYTE*>(wmf.data() + 22), nullptr,
                                                       &picture));
  PlayEnhMetaFile(wmfPlayed.DC(), converted.Get(), &bounds);
  EXPECT_NEAR(RedPixels(wmfDrawn), RedPixels(wmfPlayed), RedPixels(wmfPlayed) * 0.06);
}

// The sample metafiles GDI recorded (shapes, text, bitmaps, blending, paths,
// transforms, pens, regions) all pass the checks.
TEST_F(HostileInput, MetafilesGdiRecordsArePlayable) {
  for (const TSampleMetafile& sample : SampleMetafiles()) {
    SCOPED_TRACE(testing::Message() << std::string(sample.Name, sample.Name + std::wcslen(sample.Name)));
    EXPECT_TRUE(dxIsPlayableMetafile(Span(sample.Emf)));
    EXPECT_TRUE(dxIsPlayableMetafile(Span(sample.Wmf)));
  }
}

// Form text of an image list of thousands of items reads in time
// proportional to the items (the native list is made with room for them
// all, not grown a few images at a time, copying all it holds each time).
// The text is one item's, repeated.
TEST_F(HostileInput, AnImageListOfThousandsOfItemsReadsWithinBounds) {
  constexpr int Items = 6000;
  TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  list->Add(SolidGlyph(16, 16, RGB(255, 0, 0)).get(), nullptr);
  const String one = WriteComponentToText(list.get());
  const auto first = one.find(L"    item"), last = one.find(L"    end>", first);
  ASSERT_NE(last, String::npos);
  const String item = one.substr(first, last - first);
  String text = one.substr(0, first);
  for (int i = 1; i < Items; ++i) text += item + L"    end\r\n";
  text += item + one.substr(last);
  const auto started = std::chrono::steady_clock::now();
  const TOwned<TcxImageList> read(static_cast<TcxImageList*>(ReadComponentFromText(text)));
  EXPECT_LT(std::chrono::steady_clock::now() - started, TimeBound);
  EXPECT_EQ(read->Count(), Items);
  EXPECT_EQ(read->Images()->Count(), Items);
  EXPECT_LT(PeakProcessMemory(), MemoryBound);
}

}  // namespace
