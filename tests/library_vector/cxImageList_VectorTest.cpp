// An image list of SVG images: vector items are drawn into its native list,
// its form data keep the native images too once vector items are more than
// a third of the list, and its items reach a canvas recoloured by a palette.
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/cxImageList.h"
#include "library/vector/dxSVGImage.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Red on the left half, blue on the right, 32 x 32: a vector item is
// drawn stretched to the list's size, never cut into cells.
const char* const HalvesSvg = R"svg(<svg width="32" height="32"><rect width="16" height="32" fill="red"/>
<rect x="16" width="16" height="32" fill="blue"/></svg>)svg";

TOwned<TdxSmartImage> SvgImage() {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(HalvesSvg, static_cast<std::int64_t>(std::char_traits<char>::length(HalvesSvg)));
  stream->SetPosition(0);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromStream(stream.get());
  return image;
}

TOwned<TcxBitmap32> GreenSquare() {
  TOwned<TcxBitmap32> bitmap(NewWith<TcxBitmap32>([](TcxBitmap32* B) { B->CreateSize(16, 16, true); }));
  FillRectWithColor(bitmap->Canvas()->Handle(), bitmap->ClientRect(), clGreen);
  bitmap->MakeOpaque();
  return bitmap;
}

TEST(ImageListOfVectorImages, StoresItsNativeImagesOnceMoreThanAThirdAreVectorImages) {
  struct TCase {
    int Vectors;
    bool NativeData;
  };
  for (const TCase c : {TCase{5, false}, TCase{6, true}}) {
    SCOPED_TRACE(testing::Message() << c.Vectors << " vector items of 15");
    const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
    for (int i = 0; i < 15; ++i) {
      if (i < c.Vectors)
        list->Add(SvgImage().get(), nullptr);
      else
        list->Add(GreenSquare().get(), nullptr);
    }
    ASSERT_EQ(list->Count(), 15);
    ASSERT_EQ(list->Images()->Count(), 15);
    EXPECT_EQ(list->Images()->GetVectorImageCount(), c.Vectors);
    const String text = WriteComponentToText(list.get());
    EXPECT_EQ(text.find(L"Bitmap = {") != String::npos, c.NativeData);
    const TOwned<TcxImageList> read(static_cast<TcxImageList*>(ReadComponentFromText(text)));
    ASSERT_NE(read.get(), nullptr);
    EXPECT_EQ(read->Count(), 15);
    EXPECT_TRUE(read->Equals(list.get()));
  }
}

// A list that does not share its images draws its items on a canvas
// through the library's image drawing, which hands the palette to them.
TEST(ImageListOfVectorImages, ItemsReachACanvasRecolouredByThePalette) {
  const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  list->Add(SvgImage().get(), nullptr);
  TPixelSurface surface(40, 20, RGB(255, 255, 255));
  const TOwned<TCanvas> target(New<TCanvas>());
  target->SetHandle(surface.DC());
  {
    const TOwned<TcxCanvas> canvas(New<TcxCanvas>(target.get()));
    const TOwned<TcxCanvasBasedImageList> images = canvas->CreateImageList(list.get());
    const IPtr<IdxColorPalette> green(New<TdxSimpleColorPalette>(0xFF00FF00, 0xFF00FF00));
    images->Draw(TRect(2, 2, 18, 18), 0);
    images->Draw(TRect(22, 2, 38, 18), 0, -1, idmNormal, 255, green.Get());
    EXPECT_EQ(images->ListHandle()->CachedImageCount(), 2) << "one image per palette";
  }
  target->SetHandle(nullptr);
  EXPECT_EQ(surface.Pixel(6, 10), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(14, 10), RGB(0, 0, 255));
  EXPECT_EQ(surface.Count(TRect(22, 2, 38, 18), RGB(0, 255, 0)), 16 * 16) << surface.Picture(RGB(255, 255, 255));
}

}  // namespace
