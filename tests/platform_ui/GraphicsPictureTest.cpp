#include "platform/classes/Streams.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

// A graphic class of the test, to register and unregister.
class TTestGraphic : public TBitmap {
  SK_CLASS(TTestGraphic, TBitmap)
};

String TempFile(const String& AName) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return String(dir) + AName;
}

HICON MakeIcon(int ASize, COLORREF AColor) {
  TPixelSurface color(ASize, ASize, AColor);
  const TOwnedBitmap mask(CreateBitmap(ASize, ASize, 1, 1, nullptr));
  PatBlt(TBitmapDC(mask.Get()).DC(), 0, 0, ASize, ASize, BLACKNESS);  // all opaque
  ICONINFO info{TRUE, 0, 0, mask.Get(), color.Bitmap()};
  return CreateIconIndirect(&info);
}

TEST(GraphicsPicture, RegistryFindsClassesByExtensionAndFormat) {
  EXPECT_EQ(TPicture::FindFileFormat(L"bmp"), TBitmap::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L".BMP"), TBitmap::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"ico"), TIcon::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"xyz"), nullptr);
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));

  TPicture::RegisterFileFormat(L"tst", L"Test", TTestGraphic::ClassInfo());
  TPicture::RegisterFileFormat(L"bmp", L"Test bitmaps", TTestGraphic::ClassInfo());
  TPicture::RegisterClipboardFormat(CF_DIB, TTestGraphic::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"bmp"), TTestGraphic::ClassInfo()) << "the latest registration wins";
  EXPECT_EQ(TPicture::GraphicExtension(TTestGraphic::ClassInfo()), L"tst");
  EXPECT_EQ(TPicture::GraphicFilter(TTestGraphic::ClassInfo()),
            L"Alle (*.tst;*.bmp)|*.tst;*.bmp|Test (*.tst)|*.tst|Test bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(TPicture::GraphicFilter(TIcon::ClassInfo()), L"Symbole (*.ico)|*.ico");

  TPicture::UnregisterGraphicClass(TTestGraphic::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"bmp"), TBitmap::ClassInfo());
  EXPECT_EQ(TPicture::FindFileFormat(L"tst"), nullptr);
  EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_DIB));
  EXPECT_THROW(TPicture::RegisterFileFormat(L"x", L"x", TFont::ClassInfo()), EInvalidGraphic);
}

TEST(GraphicsPicture, BitmapReplacesAnotherGraphicAndGraphicIsCopied) {
  TOwned<TPicture> pictureOwner(New<TPicture>());
  TPicture* picture = pictureOwner.get();
  struct TCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } counter;
  picture->SetOnChange(BindEvent<&TCounter::Changed>(&counter));
  TIcon* icon = picture->Icon();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(counter.Count, 1);
  TBitmap* bitmap = picture->Bitmap();
  EXPECT_EQ(picture->Graphic(), bitmap);
  EXPECT_EQ(picture->Bitmap(), bitmap) << "stays once it is a bitmap";
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  EXPECT_GE(counter.Count, 3) << "changes of the graphic reach the picture";
  EXPECT_EQ(picture->Width(), 3);

  TBitmap* mine = New<TBitmap>();
  mine->SetPixelFormat(pf24bit);
  mine->SetSize(7, 5);
  picture->SetGraphic(mine);
  EXPECT_NE(picture->Graphic(), mine) << "the picture keeps a copy";
  EXPECT_EQ(picture->Width(), 7);
  mine->SetSize(1, 1);
  EXPECT_EQ(picture->Width(), 7);
  // A picture assigns into a bitmap.
  mine->Assign(picture);
  EXPECT_EQ(mine->Width(), 7);
  picture->Assign(nullptr);
  EXPECT_EQ(picture->Graphic(), nullptr);
  mine->Free();
  pictureOwner.reset();
}

TEST(GraphicsPicture, StreamsAreRecognisedByTheirBytes) {
  TBitmap* bitmap = New<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(4, 4);
  TBytesStream* stream = New<TBytesStream>();
  bitmap->SaveToStream(stream);
  stream->SetPosition(0);
  EXPECT_TRUE(ClassMeta<TGraphic>(TBitmap::ClassInfo())->CanLoadFromStream(stream));
  EXPECT_FALSE(ClassMeta<TGraphic>(TIcon::ClassInfo())->CanLoadFromStream(stream));
  EXPECT_EQ(stream->Position(), 0);
  TPicture* picture = New<TPicture>();
  picture->LoadFromStream(stream);
  EXPECT_TRUE(Is<TBitmap>(picture->Graphic()));
  EXPECT_EQ(picture->Width(), 4);

  TBytesStream* junk = New<TBytesStream>(TBytes{1, 2, 3, 4, 5});
  EXPECT_THROW(picture->LoadFromStream(junk), EInvalidGraphic);
  EXPECT_EQ(picture->Width(), 4) << "the old graphic stays";
  junk->Free();
  stream->Free();
  picture->Free();
  bitmap->Free();
}

TEST(GraphicsPicture, FilesByExtension) {
  const String bmp = TempFile(L"sk_graphics_picture.bmp");
  TOwned<TBitmap> bitmapOwner(New<TBitmap>());
  TBitmap* bitmap = bitmapOwner.get();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(5, 3);
  bitmap->Canvas()->SetPixels(4, 2, clRed);
  bitmap->SaveToFile(bmp);
  TOwned<TPicture> pictureOwner(New<TPicture>());
  TPicture* picture = pictureOwner.get();
  picture->LoadFromFile(bmp);
  ASSERT_TRUE(Is<TBitmap>(picture->Graphic()));
  EXPECT_EQ(picture->Bitmap()->Canvas()->Pixels(4, 2), clRed);
  EXPECT_TRUE(picture->Graphic()->Equals(bitmap));
  bitmap->Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_FALSE(picture->Graphic()->Equals(bitmap));
  DeleteFileW(bmp.c_str());
  EXPECT_THROW(picture->LoadFromFile(TempFile(L"picture.unknownext")), EInvalidGraphic);
  EXPECT_THROW(picture->LoadFromFile(TempFile(L"sk_graphics_missing.bmp")), EFOpenError);
  EXPECT_EQ(picture->Width(), 5);
  pictureOwner.reset();
  bitmapOwner.reset();
}

TEST(GraphicsIcon, HandleSaveLoadAndDraw) {
  TOwned<TIcon> iconOwner(New<TIcon>());
  TIcon* icon = iconOwner.get();
  EXPECT_TRUE(icon->Empty());
  icon->SetHandle(MakeIcon(16, RGB(0, 0, 255)));
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(icon->Height(), 16);
  EXPECT_THROW(icon->SetWidth(20), EInvalidGraphicOperation);

  TOwned<TBytesStream> streamOwner(New<TBytesStream>());
  TBytesStream* stream = streamOwner.get();
  icon->SaveToStream(stream);
  const std::int64_t size = stream->Size();
  ASSERT_GT(size, 6 + 16 + 40);
  const std::uint8_t tail = 0x5A;
  stream->WriteBuffer(&tail, 1);
  stream->SetPosition(0);
  EXPECT_TRUE(ClassMeta<TGraphic>(TIcon::ClassInfo())->CanLoadFromStream(stream));
  TIcon* copy = New<TIcon>();
  copy->LoadFromStream(stream);
  EXPECT_EQ(stream->Position(), size) << "reads only the icon";
  EXPECT_EQ(copy->Width(), 16);

  TPixelSurface surface(20, 20, RGB(255, 255, 255));
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Draw(2, 2, copy);
  EXPECT_EQ(surface.BoundsOf(RGB(0, 0, 255)), Bounds(2, 2, 16, 16));

  // As a bitmap.
  TBitmap* bitmap = New<TBitmap>();
  bitmap->Assign(copy);
  EXPECT_EQ(bitmap->Width(), 16);
  EXPECT_EQ(bitmap->Canvas()->Pixels(8, 8), clBlue);
  bitmap->Free();
  canvas->Free();
  copy->Free();
  streamOwner.reset();
  iconOwner.reset();
}

TEST(GraphicsIcon, DamagedIconsRaise) {
  const std::vector<std::vector<std::uint8_t>> cases = {
      {},
      {0, 0, 1, 0},
      {0, 0, 2, 0, 1, 0},  // a cursor directory
      {0, 0, 1, 0, 0, 0},  // no images
      {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0},  // image beyond the end
      {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 22, 0, 0, 0, 1, 2, 3, 4},  // not an image
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    TIcon* icon = New<TIcon>();
    EXPECT_THROW(icon->LoadFromIcoData(cases[i]), EInvalidGraphic);
    EXPECT_TRUE(icon->Empty());
    icon->Free();
  }
}

TEST(GraphicsPicture, CreateAndFreeLeaksNoGdiObjects) {
  auto cycle = [] {
    TPicture* picture = New<TPicture>();
    picture->Icon()->SetHandle(MakeIcon(8, RGB(1, 2, 3)));
    TIcon* icon = New<TIcon>();
    icon->Assign(picture->Icon());
    picture->Bitmap()->SetSize(5, 5);
    TBitmap* bitmap = New<TBitmap>();
    bitmap->Assign(icon);
    bitmap->Free();
    icon->Free();
    picture->Free();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
