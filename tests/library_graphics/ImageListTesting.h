// Shared pieces of the image-list tests: glyphs of known pixels, the
// colours an image list holds in its items and in its native list, the
// pixels each drawing mode gives a glyph over white (from the modes'
// formulas), and a counter of change notifications.
#pragma once

#include "library/graphics/imaging/cxImageList.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// The quadrant glyph: four 8 x 8 quadrants, opaque, half transparent,
// transparent and opaque again (straight alpha).
inline const RGBQUAD GlyphQuadrants[4] = {Quad(40, 120, 200, 255), Quad(200, 80, 20, 128), Quad(0, 0, 0, 0),
                                          Quad(10, 220, 90, 255)};

inline TOwned<TcxBitmap32> QuadrantGlyph() {
  TOwned<TcxBitmap32> glyph =
      MakeGlyph(16, 16, [](int x, int y) { return GlyphQuadrants[(y / 8) * 2 + x / 8]; });
  glyph->SetAlphaFormat(afDefined);
  return glyph;
}

inline int Grey(const std::array<double, 3>& ABgr, double AWeightR, double AWeightG, double AWeightB) {
  return std::clamp(static_cast<int>(std::lround(ABgr[2] * AWeightR + ABgr[1] * AWeightG + ABgr[0] * AWeightB)), 0,
                    255);
}

// The pixel a mode gives a glyph pixel over white: the premultiplied colour
// transformed by the mode, then blended with the mode's constant alpha.
inline COLORREF ExpectedOverWhite(const RGBQUAD& APixel, TcxImageDrawMode AMode) {
  const double a = APixel.rgbReserved;
  std::array<double, 3> p = {std::round(APixel.rgbBlue * a / 255), std::round(APixel.rgbGreen * a / 255),
                             std::round(APixel.rgbRed * a / 255)};
  double alpha = a, constant = 255;
  const auto setGrey = [&](int g) { p = {double(g), double(g), double(g)}; };
  switch (AMode) {
    case idmDisabled:
      setGrey(Grey(p, 0.0729, 0.7146, 0.2125));
      constant = 151;
      break;
    case idmFaded:
      setGrey(Grey(p, 0.299, 0.587, 0.114));
      constant = 64;
      break;
    case idmGrayScale:
      setGrey(static_cast<int>(p[0] + p[1] + p[2]) / 3);
      break;
    case idmDingy:
      if (a == 255) {
        for (double& c : p) c += MulDiv(255 - static_cast<int>(c), 3, 10);
      } else {
        for (double& c : p) c = MulDiv(static_cast<int>(c), 200, 255);
        alpha = MulDiv(static_cast<int>(alpha), 200, 255);
      }
      break;
    default:
      break;
  }
  const auto channel = [&](double c) {
    return static_cast<BYTE>(std::lround(c * constant / 255 + 255 * (1 - alpha * constant / 255 / 255)));
  };
  return RGB(channel(p[2]), channel(p[1]), channel(p[0]));
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
