// Shared pieces of the image-list tests: glyphs of known pixels, the
// colours an image list holds in its items and in its native list, and a
// counter of change notifications.
#pragma once

#include "library/graphics/imaging/cxImageList.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <functional>
#include <vector>

// A 32-bit bitmap whose pixels (straight alpha) come from APixel(x, y).
inline TOwned<TcxBitmap32> MakeGlyph(int AWidth, int AHeight, const std::function<RGBQUAD(int X, int Y)>& APixel) {
  TOwned<TcxBitmap32> bitmap(
      NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(AWidth, AHeight, true); }));
  for (int y = 0; y < AHeight; ++y) {
    auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
    for (int x = 0; x < AWidth; ++x) row[x] = APixel(x, y);
  }
  bitmap->Changed(bitmap.get());
  return bitmap;
}

// An opaque glyph of one colour.
inline TOwned<TcxBitmap32> SolidGlyph(int AWidth, int AHeight, COLORREF AColor) {
  const RGBQUAD pixel = Quad(GetBValue(AColor), GetGValue(AColor), GetRValue(AColor), 255);
  return MakeGlyph(AWidth, AHeight, [&](int, int) { return pixel; });
}

// The colour in the middle of each native image.
inline std::vector<COLORREF> NativeColors(TCustomImageList* AImages) {
  std::vector<COLORREF> result;
  for (int i = 0; i < AImages->Count(); ++i) {
    const TOwned<TcxBitmap32> image(NewWith<TcxBitmap32>(
        [&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(AImages->Width(), AImages->Height(), true); }));
    TcxCustomImageList::GetImageInfo(AImages->Handle(), i, image.get(), nullptr);
    const RGBQUAD pixel = static_cast<const RGBQUAD*>(image->ScanLine(AImages->Height() / 2))[AImages->Width() / 2];
    result.push_back(RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue));
  }
  return result;
}

// The colour in the middle of each item's image.
inline std::vector<COLORREF> ItemColors(TcxCustomImageList* AImages) {
  std::vector<COLORREF> result;
  for (int i = 0; i < AImages->Images()->Count(); ++i) {
    TGraphic* image = AImages->Images()->Items(i)->Image();
    result.push_back(
        ColorToColorRef(TcxImageInfoHelper::GetPixel(image, image->Width() / 2, image->Height() / 2)));
  }
  return result;
}

class TImageListChangeCounter : public TObject {
  SK_CLASS(TImageListChangeCounter, TObject)
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

// A 16 x 16 list, freed with the test.
class ImageListTest : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    List.reset(New<TcxImageList>(nullptr));
  }
  void TearDown() override {
    List.reset();
    GdiPlusTest::TearDown();
  }
  TOwned<TcxImageList> List;
};
