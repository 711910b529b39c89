// The GDI+ canvas with vector images: a smart image is drawn through its own
// stretch drawing, so a vector image is drawn at the size it is given
// instead of being turned into pixels at its own size and stretched.
#include "library/vector/dxSVGImage.h"
#include "tests/library_vector/SVGTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

// Two pixels: red on the left, blue on the right.
TOwned<TdxSmartImage> TwoPixelHalves() {
  const std::string text = R"svg(<svg width="2" height="2"><rect width="1" height="2" fill="red"/>
<rect x="1" width="1" height="2" fill="blue"/></svg>)svg";
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  stream->SetPosition(0);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromStream(stream.get());
  return image;
}

TEST(GdiPlusCanvasWithVectorImages, AVectorImageIsDrawnAtTheSizeItIsGiven) {
  const TOwned<TdxSmartImage> image = TwoPixelHalves();
  ASSERT_EQ(image->Size(), TSize(2, 2));
  struct TCase {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  };
  const TCase cases[] = {
      {"integer rectangle", [&](TdxGPCanvas* C) { C->Draw(image.get(), TRect(0, 0, 20, 20)); }},
      {"float rectangle", [&](TdxGPCanvas* C) { C->Draw(image.get(), TdxRectF(0, 0, 20, 20)); }},
      {"with a source", [&](TdxGPCanvas* C) { C->Draw(image.get(), TRect(0, 0, 20, 20), image->ClientRect()); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSVGSurface surface(20, 20);
    // Stretched pixels would blend the two colours over most of the width.
    surface.Canvas()->SetInterpolationMode(imHighQualityBilinear);
    c.Draw(surface.Canvas());
    for (int x = 0; x < 20; ++x) {
      SCOPED_TRACE(x);
      EXPECT_EQ(surface.Pixel(x, 10), x < 10 ? Red : Blue);
    }
  }
}

}  // namespace
