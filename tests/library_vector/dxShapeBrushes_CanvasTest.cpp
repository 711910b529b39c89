// The canvas resource cache of the graphics layer paints its solid and
// texture modes with the shape unit's brushes once that unit has started.
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "tests/library_vector/ShapeTesting.h"

namespace {

class CanvasCacheBrushes : public GdiPlusTest {};

// Red, green in the first row, blue, black in the second: the image the
// texture mode tiles.
TOwned<TdxSmartImage> CheckerTexture() {
  const TdxAlphaColor pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(2, 2, 8, PixelFormat32bppARGB,
                                            reinterpret_cast<BYTE*>(const_cast<TdxAlphaColor*>(pixels)), &bitmap));
  const TdxGpOwnedImage image(bitmap);
  GpImage* copy = nullptr;
  CheckGdipStatus(GdipCloneImage(image.Get(), &copy));
  TOwned<TdxSmartImage> result(New<TdxSmartImage>());
  result->SetHandle(copy);
  return result;
}

// The canvas resource cache paints its solid and texture modes with these
// brushes once the brush unit has started; the texture tiles from the
// target rectangle's corner.
TEST_F(CanvasCacheBrushes, AreTheShapeUnitsSolidAndTextureBrushes) {
  const TOwned<TcxGdiCanvasBasedBrushHandle> solid(New<TcxGdiCanvasBasedBrushHandle>(TdxAlphaColor{0xFFFF0000}));
  const TOwned<TdxGPCustomBrush> solidBrush = solid->CreateGPBrush();
  ASSERT_TRUE(Is<TdxGPSolidBrush>(solidBrush.get()));
  EXPECT_EQ(static_cast<TdxGPSolidBrush*>(solidBrush.get())->Color(), 0xFFFF0000u);

  const TOwned<TdxFillOptions> options(New<TdxFillOptions>(nullptr, nullptr, nullptr));
  options->SetMode(TdxFillOptionsMode::Texture);
  const TOwned<TdxSmartImage> texture = CheckerTexture();
  options->SetTexture(texture.get());
  const TOwned<TcxGdiCanvasBasedBrushHandle> textured(New<TcxGdiCanvasBasedBrushHandle>(options.get()));
  const TOwned<TdxGPCustomBrush> textureBrush = textured->CreateGPBrush();
  ASSERT_TRUE(Is<TdxGPTextureBrush>(textureBrush.get()));
  // Tiled from the target rectangle's corner, which the brush keeps grown by one.
  textureBrush->SetTargetRect(TdxRectF(1, 1, 7, 7));
  TGpSurface surface(8, 8);
  CheckGdipStatus(GdipFillRectangle(surface.Graphics(), textureBrush->GpHandle(), 1, 1, 6, 6));
  surface.Flush();
  const COLORREF colors[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(0, 0, 0)}};
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < 7; ++x) ASSERT_EQ(surface.Pixel(x, y), colors[y % 2][x % 2]) << x << "," << y;

  options->SetMode(TdxFillOptionsMode::Clear);
  const TOwned<TcxGdiCanvasBasedBrushHandle> clear(New<TcxGdiCanvasBasedBrushHandle>(options.get()));
  const TOwned<TdxGPCustomBrush> clearBrush = clear->CreateGPBrush();
  ASSERT_TRUE(Is<TdxGPSolidBrush>(clearBrush.get()));
  EXPECT_TRUE(clearBrush->IsEmpty());
}


}  // namespace
