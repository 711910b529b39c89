// The image list's "DXIL" stream: a list saved and loaded again, streams of
// another signature or version refused, damaged streams rejected with the
// read error and the list left as it was; and the list's form data.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/classes/ClassErrors.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"
#include "tests/library_graphics/ImageListTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cstring>
#include <string>

namespace {

constexpr std::size_t NativeLengthOffset = 29;
constexpr std::size_t NativeDataOffset = 33;

std::uint32_t Word32(const std::string& ABytes, std::size_t AOffset) {
  std::uint32_t value = 0;
  std::memcpy(&value, ABytes.data() + AOffset, sizeof value);
  return value;
}

std::string WithWord32(std::string ABytes, std::size_t AOffset, std::uint32_t AValue) {
  std::memcpy(ABytes.data() + AOffset, &AValue, sizeof AValue);
  return ABytes;
}

std::string Saved(TcxCustomImageList* AList) {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AList->SaveToStream(stream.get());
  return BytesOf(stream.get());
}

// A list of each kind of item: a PNG with keywords and a file name, a
// 32-bit bitmap with a mask, a 24-bit bitmap with a mask colour.
class ImageListStream : public ImageListTest {
 protected:
  void SetUp() override {
    ImageListTest::SetUp();
    List->SetBkColor(clRed);
    List->SetBlendColor(clBlue);
    const TOwned<TdxSmartImage> png = LoadFixture(L"png32.png");
    ASSERT_FALSE(png->Empty());
    List->Add(png.get(), L"open file", L"icons\\open.png");
    const TOwned<TcxBitmap32> glyph = MakeGlyph(16, 16, [](int x, int y) { return Quad(x * 10, y * 10, 90, 200); });
    const TOwned<TcxBitmap> mask(NewWith<TcxBitmap>([](TcxBitmap* ABitmap) { ABitmap->CreateSize(16, 16, pf1bit); }));
    mask->Canvas()->Brush()->SetColor(clWhite);
    mask->Canvas()->FillRect(TRect(0, 0, 16, 8));
    List->Add(glyph.get(), mask.get());
    const TOwned<TcxBitmap> plain(NewWith<TcxBitmap>([](TcxBitmap* ABitmap) { ABitmap->CreateSize(16, 16, pf24bit); }));
    plain->Canvas()->Brush()->SetColor(clFuchsia);
    plain->Canvas()->FillRect(TRect(0, 0, 16, 16));
    plain->Canvas()->Brush()->SetColor(clGreen);
    plain->Canvas()->FillRect(TRect(4, 4, 12, 12));
    List->AddMasked(plain.get(), clFuchsia);
    ASSERT_EQ(List->Count(), List->Images()->Count());
  }
};

TEST_F(ImageListStream, SavedAndLoadedReproducesTheList) {
  const std::string bytes = Saved(List.get());
  ASSERT_GT(bytes.size(), NativeDataOffset);
  EXPECT_EQ(bytes.substr(0, 4), "DXIL");
  EXPECT_EQ(Word32(bytes, 4), 1u);
  EXPECT_EQ(Word32(bytes, 8), 16u);
  EXPECT_EQ(Word32(bytes, 12), 16u);
  EXPECT_EQ(bytes[28], 1);
  EXPECT_LE(NativeDataOffset + Word32(bytes, NativeLengthOffset), bytes.size());

  const TOwned<TcxImageList> loaded(New<TcxImageList>(nullptr));
  loaded->SetSize(24, 24);
  loaded->Add(SolidGlyph(24, 24, RGB(1, 2, 3)).get(), nullptr);
  TImageListChangeCounter counter;
  loaded->SetOnChange(BindEvent<&TImageListChangeCounter::Changed>(&counter));
  const TOwned<TMemoryStream> stream = StreamOf(bytes);
  loaded->LoadFromStream(stream.get());
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(loaded->Width(), 16);
  EXPECT_EQ(loaded->Height(), 16);
  EXPECT_EQ(loaded->BkColor(), clRed);
  EXPECT_EQ(loaded->BlendColor(), clBlue);
  EXPECT_EQ(loaded->ColorDepth(), cd32Bit);
  EXPECT_EQ(loaded->FormatVersion(), 1);
  ASSERT_EQ(loaded->Count(), List->Count());
  ASSERT_EQ(loaded->Images()->Count(), List->Images()->Count());
  for (int i = 0; i < List->Images()->Count(); ++i) {
    SCOPED_TRACE(i);
    TcxImageInfo* expected = List->Images()->Items(i)->ImageInfo();
    TcxImageInfo* actual = loaded->Images()->Items(i)->ImageInfo();
    EXPECT_TRUE(CompareGraphics(actual->Image(), expected->Image()));
    EXPECT_TRUE(CompareGraphics(actual->Mask(), expected->Mask()));
    EXPECT_EQ(actual->MaskColor(), expected->MaskColor());
    EXPECT_EQ(actual->FileName(), expected->FileName());
    EXPECT_EQ(actual->Keywords(), expected->Keywords());
  }
  EXPECT_TRUE(Is<TdxSmartImage>(loaded->Images()->Items(0)->Image()));
  EXPECT_EQ(loaded->Images()->Items(0)->Keywords(), L"open file");
  EXPECT_EQ(loaded->Images()->Items(2)->MaskColor(), clFuchsia);
  EXPECT_TRUE(loaded->Equals(List.get()));
  EXPECT_EQ(NativeColors(loaded.get()), NativeColors(List.get()));
}

TEST_F(ImageListStream, SavesToAFileAndLoadsFromIt) {
  const TTempDir dir;
  const String name = dir.File(L"glyphs.dxil");
  List->SaveToFile(name);
  const TOwned<TcxImageList> loaded(New<TcxImageList>(nullptr));
  loaded->LoadFromFile(name);
  EXPECT_TRUE(loaded->Equals(List.get()));
}

TEST_F(ImageListStream, DamagedStreamsAreRejectedAndChangeNothing) {
  const std::string good = Saved(List.get());
  const std::uint32_t nativeLength = Word32(good, NativeLengthOffset);
  const std::size_t itemsOffset = NativeDataOffset + nativeLength;
  ASSERT_LT(itemsOffset + 20, good.size());
  std::string garbageNative = good;
  std::fill(garbageNative.begin() + NativeDataOffset, garbageNative.begin() + static_cast<std::ptrdiff_t>(itemsOffset),
            '\xAB');
  std::string garbageItems = good.substr(0, itemsOffset) + std::string(64, '\x7F');
  // The native data: a 28-byte header, the image bitmap, the mask bitmap.
  const std::size_t image = NativeDataOffset + 28;
  const std::size_t imageInfo = image + sizeof(BITMAPFILEHEADER);
  const std::size_t mask = imageInfo + sizeof(BITMAPINFOHEADER) +
                           static_cast<std::size_t>(Word32(good, imageInfo + 4)) * 4 * Word32(good, imageInfo + 8);
  ASSERT_EQ(good.substr(mask, 2), "BM");
  std::string zeroedMask = good;
  std::fill_n(zeroedMask.begin() + static_cast<std::ptrdiff_t>(mask + sizeof(BITMAPFILEHEADER) + 4), 12, '\0');
  std::string brokenItem = good;
  brokenItem[good.size() - 12] = '\x55';

  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Unsupported;
  };
  const TCase cases[] = {
      {"another signature", "DXIM" + good.substr(4), true},
      {"version 2", WithWord32(good, 4, 2), true},
      {"version 0", WithWord32(good, 4, 0), true},
      {"empty", "", false},
      {"signature only", good.substr(0, 4), false},
      {"header cut", good.substr(0, 18), false},
      {"no native byte", good.substr(0, 28), false},
      {"width 0", WithWord32(good, 8, 0), false},
      {"height beyond reason", WithWord32(good, 12, 0x10000000), false},
      {"colour depth 99", WithWord32(good, 24, 99), false},
      {"native length cut", good.substr(0, 31), false},
      {"native length beyond the stream", WithWord32(good, NativeLengthOffset, 0x7FFFFFF0), false},
      {"native length one too many",
       WithWord32(good.substr(0, itemsOffset), NativeLengthOffset, nativeLength + 1), false},
      {"negative native length", WithWord32(good, NativeLengthOffset, 0xFFFFFFFF), false},
      {"native data cut", good.substr(0, NativeDataOffset + nativeLength / 2), false},
      {"native data damaged", garbageNative, false},
      {"more native images than the bitmap holds", WithWord32(good, NativeDataOffset + 4, 0x00100040), false},
      {"native image narrower than the list", WithWord32(good, imageInfo + 4, 8), false},
      {"native image taller than its data", WithWord32(good, imageInfo + 8, 4096), false},
      {"native image of 0 bits a pixel", WithWord32(good, imageInfo + 12, 1), false},
      {"native mask header zeroed", zeroedMask, false},
      {"items missing", good.substr(0, itemsOffset), false},
      {"items cut", good.substr(0, good.size() - 10), false},
      {"items damaged", garbageItems, false},
      {"an item damaged", brokenItem, false},
  };
  const std::string before = Saved(List.get());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TMemoryStream> stream = StreamOf(c.Bytes);
    try {
      List->LoadFromStream(stream.get());
      ADD_FAILURE() << "loaded";
    } catch (const EcxUnsupportedImageListStreamFormat& e) {
      EXPECT_TRUE(c.Unsupported);
      EXPECT_EQ(e.Message(), L"Unsupported stream format");
    } catch (const EReadError&) {
      EXPECT_FALSE(c.Unsupported);
    } catch (const Exception& e) {
      ADD_FAILURE() << "another error: " << e.Message();
    }
    EXPECT_EQ(List->Count(), 3);
    EXPECT_EQ(Saved(List.get()), before);
  }
}

TEST_F(ImageListStream, ItemsThatHoldNoImageRaiseTheirOwnErrorAndChangeNothing) {
  const std::string good = Saved(List.get());
  const auto load = [&](const std::string& ABytes) {
    const TOwned<TMemoryStream> stream = StreamOf(ABytes);
    List->LoadFromStream(stream.get());
  };
  // The PNG item's data (written as hexadecimal text) with its signature
  // spoilt: the smart image's own error.
  std::string undecodable = good;
  const std::size_t png = good.find("89504E47");
  ASSERT_NE(png, std::string::npos);
  undecodable[png + 3] = '1';
  try {
    load(undecodable);
    ADD_FAILURE() << "loaded";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), L"Unsupported image format.");
  }
  EXPECT_EQ(Saved(List.get()), good);
  // The item's class name replaced by one of the same length that no class
  // has: the class library's reader tells where, with the item's own text.
  std::string unknownClass = good;
  const std::size_t name = good.find("TdxSmartImage");
  ASSERT_NE(name, std::string::npos);
  unknownClass.replace(name, 13, "TNoSuchImage1");
  try {
    load(unknownClass);
    ADD_FAILURE() << "loaded";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find(L"The \"TNoSuchImage1\" is invalid graphic class"), String::npos) << e.Message();
  }
  EXPECT_EQ(Saved(List.get()), good);
}

TEST_F(ImageListStream, ANativeLengthBeyondTheStreamIsRefusedBeforeAnythingIsAllocated) {
  const std::string good = Saved(List.get());
  const TOwned<TMemoryStream> stream = StreamOf(WithWord32(good, NativeLengthOffset, 0x7FFFFFF0));
  PROCESS_MEMORY_COUNTERS before{}, after{};
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
  EXPECT_THROW(List->LoadFromStream(stream.get()), EReadError);
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
  // Two gigabytes asked for would show in the peak.
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, std::size_t{256} << 20);
  EXPECT_EQ(Saved(List.get()), good);
}

// ---------------------------------------------------------------------------
// Form data

TEST_F(ImageListStream, FormDataOfRasterItemsStoreTheItemsAlone) {
  List->SetDesignInfo(0x00100020);
  const String text = WriteComponentToText(List.get());
  EXPECT_NE(text.find(L"FormatVersion = 1"), String::npos) << text;
  EXPECT_NE(text.find(L"DesignInfo = 1048608"), String::npos) << text;
  EXPECT_NE(text.find(L"ImageInfo = <"), String::npos) << text;
  EXPECT_NE(text.find(L"ImageClass = 'TdxSmartImage'"), String::npos) << text;
  EXPECT_NE(text.find(L"Keywords = 'open file'"), String::npos) << text;
  EXPECT_EQ(text.find(L"Bitmap = {"), String::npos) << text;
  const TOwned<TcxImageList> read(static_cast<TcxImageList*>(ReadComponentFromText(text)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_TRUE(read->Equals(List.get()));
  EXPECT_EQ(read->Count(), 3);
  EXPECT_EQ(read->DesignInfo(), 0x00100020);
  EXPECT_EQ(NativeColors(read.get()), NativeColors(List.get()));
}

TEST_F(ImageListStream, FormDataOfOnlyTheNativeListGiveOneItemPerImage) {
  // Older form data: a list of the class library, which stores only its
  // native images.
  const TOwned<TImageList> plain(New<TImageList>(nullptr));
  for (COLORREF color : {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)})
    plain->Add(SolidGlyph(16, 16, color).get(), nullptr);
  String text = WriteComponentToText(plain.get());
  ASSERT_NE(text.find(L"Bitmap = {"), String::npos) << text;
  text.replace(text.find(L"TImageList"), 10, L"TcxImageList");
  const TOwned<TcxImageList> read(static_cast<TcxImageList*>(ReadComponentFromText(text)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_EQ(read->FormatVersion(), 0);
  EXPECT_EQ(read->Images()->Count(), 3);
  EXPECT_EQ(ItemColors(read.get()), NativeColors(plain.get()));
}

}  // namespace
