// The image list: adding (strips cut into cells), inserting, replacing,
// moving and deleting with the native list kept in step; images from files
// and from a ZIP archive; the items' alpha detection and conversions.
#include "library/core/containers/dxHashUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/classes/Streams.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/ImageListTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF C0 = RGB(200, 0, 0), C1 = RGB(0, 200, 0), C2 = RGB(0, 0, 200), C3 = RGB(200, 200, 0),
                   C8 = RGB(0, 80, 160), C9 = RGB(90, 30, 60);

// Images side by side, one colour each, every cell ACell wide.
TOwned<TcxBitmap32> Strip(const std::vector<COLORREF>& AColors, int ACell = 16) {
  return MakeGlyph(ACell * static_cast<int>(AColors.size()), ACell, [&](int x, int) {
    const COLORREF c = AColors[static_cast<std::size_t>(x / ACell)];
    return Quad(GetBValue(c), GetGValue(c), GetRValue(c), 255);
  });
}

void AddSolids(TcxImageList* AList, const std::vector<COLORREF>& AColors) {
  for (COLORREF color : AColors) AList->Add(SolidGlyph(16, 16, color).get(), nullptr);
}

void ExpectColors(TcxImageList* AList, const std::vector<COLORREF>& AExpected) {
  EXPECT_EQ(ItemColors(AList), AExpected);
  EXPECT_EQ(NativeColors(AList), AExpected);
}

// ---------------------------------------------------------------------------
// Adding and the native list in step

TEST_F(ImageListTest, StartsEmptyAt16WithAlphaBlendingAnd32Bits) {
  EXPECT_EQ(List->Width(), 16);
  EXPECT_EQ(List->Height(), 16);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_TRUE(List->AlphaBlending());
  EXPECT_EQ(List->ColorDepth(), cd32Bit);
  EXPECT_EQ(List->SourceDPI(), 96);
}

TEST_F(ImageListTest, AddCutsStripsOfWholeCellsAndFitsOtherImages) {
  struct TCase {
    int Width, Height, Items;
  };
  const TCase cases[] = {{16, 16, 1}, {48, 16, 3}, {32, 32, 4}, {20, 16, 1}, {16, 48, 3}, {8, 8, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
    List->Clear();
    const TOwned<TcxBitmap32> image = SolidGlyph(c.Width, c.Height, C0);
    EXPECT_EQ(List->Add(image.get(), nullptr), 0);
    EXPECT_EQ(List->Count(), c.Items);
    EXPECT_EQ(List->Images()->Count(), c.Items);
    EXPECT_EQ(List->Add(image.get(), nullptr), c.Items);
  }
}

TEST_F(ImageListTest, StripCellsKeepTheirOrderRowByRow) {
  const TOwned<TcxBitmap32> square = MakeGlyph(32, 32, [](int x, int y) {
    const COLORREF colors[] = {C0, C1, C2, C3};
    const COLORREF c = colors[(y / 16) * 2 + x / 16];
    return Quad(GetBValue(c), GetGValue(c), GetRValue(c), 255);
  });
  List->Add(square.get(), nullptr);
  ExpectColors(List.get(), {C0, C1, C2, C3});
}

TEST_F(ImageListTest, EditsKeepItemsAndNativeImagesInStep) {
  struct TCase {
    const char* Name;
    std::function<void(TcxImageList*)> Edit;
    std::vector<COLORREF> Expected;
  };
  const TCase cases[] = {
      {"replace", [](TcxImageList* L) { L->Replace(2, SolidGlyph(16, 16, C9).get(), nullptr); }, {C0, C1, C9, C3}},
      {"replace out of range",
       [](TcxImageList* L) { EXPECT_THROW(L->Replace(4, SolidGlyph(16, 16, C9).get(), nullptr), Exception); },
       {C0, C1, C2, C3}},
      {"replace masked", [](TcxImageList* L) { L->ReplaceMasked(0, SolidGlyph(16, 16, C9).get(), clNone); },
       {C9, C1, C2, C3}},
      {"move down", [](TcxImageList* L) { L->Move(0, 3); }, {C1, C2, C3, C0}},
      {"move up", [](TcxImageList* L) { L->Move(3, 1); }, {C0, C3, C1, C2}},
      {"delete", [](TcxImageList* L) { L->Delete(1); }, {C0, C2, C3}},
      {"delete all", [](TcxImageList* L) { L->Delete(-1); }, {}},
      {"insert", [](TcxImageList* L) { L->Insert(1, SolidGlyph(16, 16, C9).get(), nullptr); },
       {C0, C9, C1, C2, C3}},
      {"insert at the end", [](TcxImageList* L) { L->Insert(4, SolidGlyph(16, 16, C9).get(), nullptr); },
       {C0, C1, C2, C3, C9}},
      {"insert beyond", [](TcxImageList* L) { L->Insert(5, SolidGlyph(16, 16, C9).get(), nullptr); },
       {C0, C1, C2, C3}},
      {"insert before", [](TcxImageList* L) { L->Insert(-1, SolidGlyph(16, 16, C9).get(), nullptr); },
       {C0, C1, C2, C3}},
      {"insert a strip", [](TcxImageList* L) { L->Insert(1, Strip({C8, C9}).get(), nullptr); },
       {C0, C8, C9, C1, C2, C3}},
      {"insert masked", [](TcxImageList* L) { L->InsertMasked(0, SolidGlyph(16, 16, C9).get(), clNone); },
       {C9, C0, C1, C2, C3}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    List->Clear();
    AddSolids(List.get(), {C0, C1, C2, C3});
    c.Edit(List.get());
    ExpectColors(List.get(), c.Expected);
  }
}

TEST_F(ImageListTest, ANewSizeDeletesEveryImageAndSidesStayPositive) {
  AddSolids(List.get(), {C0, C1});
  List->SetSize(16, 16);
  EXPECT_EQ(List->Count(), 2);
  List->SetWidth(0);
  EXPECT_EQ(List->Width(), 1);
  EXPECT_EQ(List->Height(), 16);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_EQ(List->Images()->Count(), 0);
}

TEST_F(ImageListTest, ChangesAreToldOncePerOutermostUpdate) {
  TImageListChangeCounter counter;
  List->SetOnChange(BindEvent<&TImageListChangeCounter::Changed>(&counter));
  List->BeginUpdate();
  List->BeginUpdate();
  AddSolids(List.get(), {C0, C1});
  List->EndUpdate();
  EXPECT_EQ(counter.Count, 0);
  List->EndUpdate();
  EXPECT_EQ(counter.Count, 1);
  List->BeginUpdate();
  List->Delete(0);
  List->CancelUpdate();
  EXPECT_EQ(counter.Count, 1);
  List->Replace(0, SolidGlyph(16, 16, C2).get(), nullptr);
  EXPECT_EQ(counter.Count, 2);
}

TEST_F(ImageListTest, ResizeScalesEveryItemAndTheNativeList) {
  AddSolids(List.get(), {C0, C1});
  List->AddMasked(MakeGlyph(16, 16, [](int x, int) { return x < 8 ? Quad(255, 0, 255, 255) : Quad(0, 0, 200, 255); })
                      .get(),
                  clFuchsia);
  List->Resize(TSize(24, 24));
  EXPECT_EQ(List->Width(), 24);
  ASSERT_EQ(List->Images()->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(GetGraphicSize(List->Images()->Items(i)->Image()), TSize(24, 24));
  }
  EXPECT_EQ(NativeColors(List.get())[1], C1);
  // The mask colour became transparency of a 32-bit image.
  EXPECT_EQ(List->Images()->Items(2)->MaskColor(), clNone);
  auto* converted = dynamic_cast<TBitmap*>(List->Images()->Items(2)->Image());
  ASSERT_NE(converted, nullptr);
  const auto* row = static_cast<const RGBQUAD*>(converted->ScanLine(12));
  EXPECT_EQ(Channels(row[2]), (TChannels{0, 0, 0, 0}));
  EXPECT_EQ(row[20].rgbReserved, 255);
  EXPECT_TRUE(List->Images()->Items(2)->ImageInfo()->IsAlphaUsed());
}

TEST_F(ImageListTest, CopiesFromAnotherList) {
  AddSolids(List.get(), {C0, C1, C2, C3});
  const TOwned<TcxImageList> other(New<TcxImageList>(nullptr));
  EXPECT_EQ(other->AddImage(List.get(), 2), 0);
  EXPECT_EQ(other->AddImage(List.get(), 4), -1);
  other->CopyImages(List.get(), 1, -1);
  ExpectColors(other.get(), {C2, C1, C2, C3});
  // From a plain list of the class library: its native images.
  const TOwned<TImageList> plain(New<TImageList>(nullptr));
  plain->Add(SolidGlyph(16, 16, C8).get(), nullptr);
  other->AddImages(plain.get());
  ExpectColors(other.get(), {C2, C1, C2, C3, C8});
  EXPECT_FALSE(other->Equals(List.get()));
  other->Assign(List.get());
  EXPECT_TRUE(other->Equals(List.get()));
  EXPECT_TRUE(TcxCustomImageList::IsEquals(other.get(), List.get()));
}

// ---------------------------------------------------------------------------
// Files and archives

// Writes the bytes to a file of the test's own directory; answers its name.
String WriteFile(const TTempDir& ADir, const wchar_t* AName, const std::string& ABytes) {
  const String name = ADir.File(AName);
  const TOwned<TFileStream> file(New<TFileStream>(name, fmCreate));
  file->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  return name;
}

TEST_F(ImageListTest, InsertsImagesFromFiles) {
  AddSolids(List.get(), {C0, C1});
  const std::string png = FixtureBytes(L"png32.png");
  ASSERT_FALSE(png.empty());
  const TTempDir dir;
  const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromFile(WriteFile(dir, L"open.png", png));
  List->Insert(1, image.get(), nullptr);
  ASSERT_EQ(List->Count(), 3);
  ASSERT_EQ(List->Images()->Count(), 3);
  // The item keeps the file's bytes as they were.
  const TOwned<TMemoryStream> saved(New<TMemoryStream>());
  List->Images()->Items(1)->Image()->SaveToStream(saved.get());
  EXPECT_EQ(BytesOf(saved.get()), png);
  EXPECT_EQ(NativeColors(List.get())[2], C1);
}

TEST_F(ImageListTest, LoadsABitmapFileThroughTheNativeListAndMakesItsItems) {
  const TOwned<TcxBitmap32> strip = Strip({C0, C1, C2});
  const TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->Assign(strip.get());
  bitmap->SetPixelFormat(pf24bit);
  const TOwned<TMemoryStream> bytes(New<TMemoryStream>());
  bitmap->SaveToStream(bytes.get());
  const TTempDir dir;
  ASSERT_TRUE(List->FileLoad(rtBitmap, WriteFile(dir, L"strip.bmp", BytesOf(bytes.get())), clNone));
  ExpectColors(List.get(), {C0, C1, C2});
}

// ---------------------------------------------------------------------------
// Icons, fitted bitmaps, resources and overlays

// A 16 x 16 icon of one colour whose mask makes its left half transparent.
TOwned<TIcon> HalfIcon(COLORREF AColor) {
  const TScreenDC screen;
  const TOwnedBitmap colour(CreateCompatibleBitmap(screen.Get(), 16, 16));
  {
    const TOwnedDC dc(CreateCompatibleDC(screen.Get()));
    const TSelectObject selected(dc.Get(), colour.Get());
    FillRectWithColor(dc.Get(), TRect(0, 0, 16, 16), TColor(AColor));
  }
  // Rows of 16 bits: set bits are transparent.
  std::vector<std::uint8_t> maskBits;
  for (int y = 0; y < 16; ++y) maskBits.insert(maskBits.end(), {0xFF, 0x00});
  const TOwnedBitmap mask(CreateBitmap(16, 16, 1, 1, maskBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  TOwned<TIcon> icon(New<TIcon>());
  icon->SetHandle(CreateIconIndirect(&info));
  return icon;
}

// The list's item drawn on white by the list's own drawing.
TPixelSurface DrawnItem(TcxCustomImageList* AList, int AIndex, bool AEnabled = true) {
  TPixelSurface surface(16, 16, RGB(255, 255, 255));
  const TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(surface.DC());
  AList->Draw(canvas.get(), TRect(0, 0, 16, 16), AIndex, false, false, AEnabled);
  canvas->SetHandle(nullptr);
  return surface;
}

TEST_F(ImageListTest, IconsAreAddedInsertedAndReplacedWithTheirMasks) {
  EXPECT_EQ(List->AddIcon(HalfIcon(C0).get()), 0);
  ASSERT_EQ(List->Count(), 1);
  ASSERT_EQ(List->Images()->Count(), 1);
  TcxImageInfoItem* item = List->Images()->Items(0);
  EXPECT_EQ(TcxImageInfoHelper::GetPixelFormat(item->Image()), pf32bit);
  ASSERT_NE(item->Mask(), nullptr);
  EXPECT_EQ(item->Mask()->PixelFormat(), pf1bit);
  // The mask's half is transparent where the list draws the icon.
  const TPixelSurface drawn = DrawnItem(List.get(), 0);
  EXPECT_EQ(drawn.Count(TRect(0, 0, 8, 16), RGB(255, 255, 255)), 8 * 16);
  EXPECT_EQ(drawn.Count(TRect(8, 0, 16, 16), C0), 8 * 16);

  List->InsertIcon(0, HalfIcon(C1).get());
  List->InsertIcon(3, HalfIcon(C3).get());  // beyond Count: ignored
  ExpectColors(List.get(), {C1, C0});
  List->ReplaceIcon(1, HalfIcon(C2).get());
  ExpectColors(List.get(), {C1, C2});
}

TEST_F(ImageListTest, BitmapsOfAnotherSizeAreStretchedOrCentred) {
  const TOwned<TcxBitmap32> small = SolidGlyph(8, 8, C2);
  EXPECT_EQ(List->AddBitmap(small.get(), nullptr, clNone, true, false), 0);
  EXPECT_EQ(List->AddBitmap(small.get(), nullptr, clNone, false, false), 1);
  // A 24-bit bitmap with a fuchsia border: the mask colour makes it transparent.
  const TOwned<TcxBitmap> framed(NewWith<TcxBitmap>([](TcxBitmap* B) { B->CreateSize(8, 8, pf24bit); }));
  FillRectWithColor(framed->Canvas()->Handle(), TRect(0, 0, 8, 8), clFuchsia);
  FillRectWithColor(framed->Canvas()->Handle(), TRect(2, 2, 6, 6), TColor(C0));
  EXPECT_EQ(List->AddBitmap(framed.get(), nullptr, clFuchsia, true, false), 2);
  ASSERT_EQ(List->Count(), 3);

  const TPixelSurface stretched = DrawnItem(List.get(), 0);
  EXPECT_EQ(stretched.Count(C2), 16 * 16);
  const TPixelSurface centred = DrawnItem(List.get(), 1);
  EXPECT_EQ(centred.BoundsOf(C2), TRect(4, 4, 12, 12));
  EXPECT_EQ(centred.Count(C2), 8 * 8);
  EXPECT_EQ(centred.Count(RGB(255, 255, 255)), 16 * 16 - 8 * 8);
  const TPixelSurface keyed = DrawnItem(List.get(), 2);
  EXPECT_EQ(keyed.BoundsOf(C0), TRect(4, 4, 12, 12)) << "the middle, stretched twice";
  EXPECT_EQ(keyed.Count(RGB(255, 0, 255)), 0);
  EXPECT_EQ(keyed.Count(RGB(255, 255, 255)), 16 * 16 - 8 * 8);
}

TEST_F(ImageListTest, ImagesFromTheModulesResources) {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  EXPECT_EQ(List->AddImageFromResource(module, L"", L"PNG"), -1);
  EXPECT_THROW(List->AddImageFromResource(module, L"NO_SUCH_IMAGE", L"PNG"), EResNotFound);
  EXPECT_EQ(List->Count(), 0);
  // A 24 x 16 picture in a 16 x 16 list: one item holding the file.
  EXPECT_EQ(List->AddImageFromResource(module, L"PNG24", L"PNG"), 0);
  ASSERT_EQ(List->Images()->Count(), 1);
  const TOwned<TMemoryStream> saved(New<TMemoryStream>());
  List->Images()->Items(0)->Image()->SaveToStream(saved.get());
  EXPECT_EQ(BytesOf(saved.get()), FixtureBytes(L"png24.png"));

  // The same picture as a bitmap resource, cut into cells of a width:
  // each item holds its columns of the reference decode.
  const std::vector<TRgbaPixel> reference = ReferencePixels(L"bmp24.bmp");
  const auto expectCells = [&](int AWidth) {
    ASSERT_EQ(List->Count(), 24 / AWidth);
    ASSERT_EQ(List->Images()->Count(), List->Count());
    for (int i = 0; i < List->Count(); ++i) {
      const TOwned<TcxBitmap32> cell(NewWith<TcxBitmap32>([&](TcxBitmap32* B) { B->CreateSize(AWidth, 16, true); }));
      List->GetImage(i, cell.get());
      for (int y = 0; y < 16; ++y) {
        const auto* row = static_cast<const RGBQUAD*>(cell->ScanLine(y));
        for (int x = 0; x < AWidth; ++x) {
          const TRgbaPixel& p = reference[static_cast<std::size_t>(y * 24 + i * AWidth + x)];
          ASSERT_EQ(RGB(row[x].rgbRed, row[x].rgbGreen, row[x].rgbBlue), RGB(p.R, p.G, p.B))
              << "cell " << i << " at " << x << ", " << y;
        }
      }
    }
  };
  List->Clear();
  ASSERT_TRUE(List->LoadImage(module, L"BMP24", clNone, 8, TLoadResources{}));
  // The list keeps its size; the three loaded images are copied in.
  EXPECT_EQ(List->Width(), 16);
  EXPECT_EQ(List->Count(), 3);
  EXPECT_EQ(List->Images()->Count(), 3);
  List->SetSize(8, 16);
  ASSERT_TRUE(List->ResInstLoad(module, rtBitmap, L"BMP24", clNone));
  expectCells(8);
  List->SetSize(12, 16);
  ASSERT_TRUE(List->GetInstRes(module, rtBitmap, L"BMP24", 12, TLoadResources{}, clNone));
  expectCells(12);
  EXPECT_FALSE(List->ResInstLoad(module, rtBitmap, L"NO_SUCH_IMAGE", clNone));
}

TEST_F(ImageListTest, OverlaysDrawTheItemAtItsPlace) {
  List->Add(QuadrantGlyph().get(), nullptr);
  List->Add(SolidGlyph(16, 16, C1).get(), nullptr);
  ASSERT_TRUE(List->Overlay(1, 0));
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    TPixelSurface surface(40, 40, RGB(255, 255, 255));
    const TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(surface.DC());
    List->DrawOverlay(canvas.get(), 10, 20, 0, 0, enabled);
    List->DrawOverlay(canvas.get(), 0, 0, 0, 15, enabled);   // no such overlay
    List->DrawOverlay(canvas.get(), 0, 0, 2, 0, enabled);    // no such image
    canvas->SetHandle(nullptr);
    // The item through the list's own drawing, in its look.
    EXPECT_EQ(surface.BoundsOfOther(RGB(255, 255, 255)), TRect(10, 20, 26, 36)) << surface.Picture(RGB(255, 255, 255));
    for (int q = 0; q < 4; ++q) {
      SCOPED_TRACE(q);
      const COLORREF expected = ExpectedOverWhite(GlyphQuadrants[q], enabled ? idmNormal : idmDisabled);
      EXPECT_LE(Distance(surface.Pixel(10 + 4 + (q % 2) * 8, 20 + 4 + (q / 2) * 8), expected), 3);
    }
  }
  // Without alpha blending the native list draws, with the overlay's bits.
  List->SetAlphaBlending(false);
  TPixelSurface surface(40, 40, RGB(255, 255, 255));
  TPixelSurface native(40, 40, RGB(255, 255, 255));
  const TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(surface.DC());
  List->DrawOverlay(canvas.get(), 10, 20, 0, 0, true);
  canvas->SetHandle(nullptr);
  ImageList_DrawEx(List->Handle(), 0, native.DC(), 10, 20, 0, 0, CLR_NONE, CLR_NONE, INDEXTOOVERLAYMASK(1));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(surface.Pixel(x, y), native.Pixel(x, y)) << x << ", " << y;
}

// A ZIP archive of stored entries.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& AEntries) {
  std::string zip, central;
  const auto put = [](std::string& s, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  for (const auto& [name, data] : AEntries) {
    const auto offset = static_cast<std::uint32_t>(zip.size());
    const std::uint32_t crc = CalculateCrc32(data.data(), data.size());
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto nameSize = static_cast<std::uint32_t>(name.size());
    put(zip, 0x04034B50, 4), put(zip, 20, 2), put(zip, 0, 2), put(zip, 0, 2), put(zip, 0, 4);
    put(zip, crc, 4), put(zip, size, 4), put(zip, size, 4), put(zip, nameSize, 2), put(zip, 0, 2);
    zip += name + data;
    put(central, 0x02014B50, 4), put(central, 20, 2), put(central, 20, 2), put(central, 0, 2);
    put(central, 0, 2), put(central, 0, 4), put(central, crc, 4), put(central, size, 4), put(central, size, 4);
    put(central, nameSize, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 2), put(central, 0, 2);
    put(central, 0, 4), put(central, offset, 4);
    central += name;
  }
  const auto centralOffset = static_cast<std::uint32_t>(zip.size());
  zip += central;
  const auto count = static_cast<std::uint32_t>(AEntries.size());
  put(zip, 0x06054B50, 4), put(zip, 0, 2), put(zip, 0, 2), put(zip, count, 2), put(zip, count, 2);
  put(zip, static_cast<std::uint32_t>(central.size()), 4), put(zip, centralOffset, 4), put(zip, 0, 2);
  return zip;
}

class ImageListArchive : public ImageListTest {
 protected:
  void SetUp() override {
    ImageListTest::SetUp();
    Png32 = FixtureBytes(L"png32.png");
    Png24 = FixtureBytes(L"png24.png");
    ASSERT_FALSE(Png32.empty());
    ASSERT_FALSE(Png24.empty());
  }
  std::string Png32, Png24;
};

TEST_F(ImageListArchive, AddsEveryEntryInArchiveOrderWithItsName) {
  AddSolids(List.get(), {C0});
  const TOwned<TMemoryStream> zip = StreamOf(StoredZip({{"icons/open.png", Png32}, {"quit.png", Png24}}));
  List->AddImagesFromZipStream(zip.get());
  ASSERT_EQ(List->Count(), 3);
  ASSERT_EQ(List->Images()->Count(), 3);
  EXPECT_EQ(List->Images()->Items(1)->FileName(), L"icons/open.png");
  EXPECT_EQ(List->Images()->Items(2)->FileName(), L"quit.png");
  const std::string* expected[] = {&Png32, &Png24};
  for (int i = 1; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Is<TdxSmartImage>(List->Images()->Items(i)->Image()));
    const TOwned<TMemoryStream> saved(New<TMemoryStream>());
    List->Images()->Items(i)->Image()->SaveToStream(saved.get());
    EXPECT_EQ(BytesOf(saved.get()), *expected[i - 1]);
  }
}

TEST_F(ImageListArchive, AnEntryThatIsNoImageRaisesAndAddsNothingForIt) {
  const TOwned<TMemoryStream> zip = StreamOf(StoredZip({{"a.png", Png32}, {"notes.txt", "not an image"}}));
  EXPECT_THROW(List->AddImagesFromZipStream(zip.get()), Exception);
  EXPECT_EQ(List->Count(), List->Images()->Count());
  EXPECT_EQ(List->Count(), 1);
}

// ---------------------------------------------------------------------------
// Items

TEST_F(ImageListTest, AlphaDetectionOfEachKindOfImage) {
  struct TCase {
    const char* Name;
    std::function<TOwned<TGraphic>()> Make;
    bool AlphaUsed;
  };
  const TCase cases[] = {
      {"32-bit with alpha",
       [] { return TOwned<TGraphic>(MakeGlyph(4, 4, [](int x, int) { return Quad(9, 9, 9, x * 60); }).release()); },
       true},
      {"32-bit fully opaque", [] { return TOwned<TGraphic>(SolidGlyph(4, 4, C0).release()); }, true},
      {"24-bit",
       [] {
         TOwned<TcxBitmap> b(NewWith<TcxBitmap>([](TcxBitmap* B) { B->CreateSize(4, 4, pf24bit); }));
         return TOwned<TGraphic>(b.release());
       },
       false},
      {"PNG with alpha", [] { return TOwned<TGraphic>(LoadFixture(L"png32.png").release()); }, true},
      {"PNG without alpha", [] { return TOwned<TGraphic>(LoadFixture(L"png24.png").release()); }, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TGraphic> graphic = c.Make();
    EXPECT_EQ(TcxImageInfoHelper::IsAlphaUsed(graphic.get()), c.AlphaUsed);
    const TOwned<TcxImageInfo> info(New<TcxImageInfo>());
    info->SetImage(graphic.get());
    EXPECT_EQ(info->IsAlphaUsed(), c.AlphaUsed);
  }
  const TOwned<TMetafile> metafile(New<TMetafile>());
  EXPECT_FALSE(TcxImageInfoHelper::IsAlphaUsed(metafile.get()));
}

TEST_F(ImageListTest, TheMaskColourBecomesTransparencyOfA32BitImage) {
  const TOwned<TcxBitmap> image(NewWith<TcxBitmap>([](TcxBitmap* B) { B->CreateSize(4, 4, pf24bit); }));
  image->Canvas()->Brush()->SetColor(clFuchsia);
  image->Canvas()->FillRect(TRect(0, 0, 4, 4));
  image->Canvas()->Brush()->SetColor(clGreen);
  image->Canvas()->FillRect(TRect(0, 0, 2, 4));
  EXPECT_EQ(TcxImageInfoHelper::GetDefaultTransparentColor(image.get(), nullptr), clGreen);
  const TOwned<TcxImageInfo> info(New<TcxImageInfo>());
  info->SetImage(image.get());
  info->SetMaskColor(clFuchsia);
  info->ConvertTo32Bit();
  EXPECT_EQ(info->MaskColor(), clNone);
  auto* converted = dynamic_cast<TBitmap*>(info->Image());
  ASSERT_NE(converted, nullptr);
  ASSERT_EQ(converted->PixelFormat(), pf32bit);
  const auto* row = static_cast<const RGBQUAD*>(converted->ScanLine(1));
  EXPECT_EQ(row[0].rgbReserved, 255);
  EXPECT_EQ(row[3].rgbReserved, 0);
  EXPECT_TRUE(info->IsAlphaUsed());
}

TEST_F(ImageListTest, ItemClassesComeFromTheirRegisteredNames) {
  const TOwned<TcxImageInfo> info(New<TcxImageInfo>());
  EXPECT_TRUE(Is<TcxBitmap>(info->Image()));
  info->SetImageClassName(L"TdxPNGImage");
  EXPECT_TRUE(Is<TdxPNGImage>(info->Image()));
  for (const wchar_t* name : {L"TdxNoSuchImage", L"TcxImageList"}) {
    SCOPED_TRACE(testing::Message() << String(name));
    try {
      info->SetImageClassName(name);
      ADD_FAILURE() << "no exception";
    } catch (const EdxException& e) {
      EXPECT_EQ(e.Message(), String(L"The \"") + name + L"\" is invalid graphic class");
    }
  }
  EXPECT_TRUE(Is<TdxPNGImage>(info->Image()));
}

TEST_F(ImageListTest, ReadsImagesBackFromItemsAndFromTheNativeList) {
  const TOwned<TcxBitmap32> glyph = MakeGlyph(16, 16, [](int x, int) { return Quad(200, 100, 50, x < 8 ? 255 : 0); });
  List->Add(glyph.get(), nullptr);
  const TOwned<TcxBitmap> image(New<TcxBitmap>());
  List->GetImage(0, image.get());
  ASSERT_EQ(image->Width(), 16);
  EXPECT_EQ(TcxImageInfoHelper::GetPixel(image.get(), 2, 2), TColor(RGB(50, 100, 200)));
  const TOwned<TcxBitmap> untouched(New<TcxBitmap>());
  List->GetImage(5, untouched.get());
  EXPECT_TRUE(untouched->Empty());
  EXPECT_EQ(TcxCustomImageList::GetPixelFormat(List->Handle()), 32);
}

}  // namespace
