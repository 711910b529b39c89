#include "tests/library_vector/SVGTestSupport.h"

#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>

TOwned<TdxSVGElementRoot> ImportSVG(const std::string& AText) {
  const TOwned<TdxXMLDocument> document = ReadXML(AText);
  TdxSVGElementRoot* root = nullptr;
  TdxSVGImporter::Import(document.get(), root);
  return TOwned<TdxSVGElementRoot>(root);
}

std::string ExportSVG(TdxSVGElementRoot* ARoot) {
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  TdxSVGExporter::Export(ARoot, document.get());
  return WriteXML(document.get());
}

TSVGSurface::TSVGSurface(int AWidth, int AHeight)
    : FWidth(AWidth), FHeight(AHeight), FPixels(static_cast<std::size_t>(AWidth) * AHeight, 0) {
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormat32bppPARGB,
                                            reinterpret_cast<BYTE*>(FPixels.data()), &bitmap));
  FBitmap.Reset(bitmap);
  GpGraphics* graphics = nullptr;
  CheckGdipStatus(GdipGetImageGraphicsContext(FBitmap.Get(), &graphics));
  FCanvas.reset(New<TdxGPCanvas>(graphics));
}

TSVGSurface::~TSVGSurface() = default;

void TSVGSurface::Draw(TdxSVGElementRoot* ARoot, IdxColorPalette* APalette) {
  const TOwned<TdxSVGRenderer> renderer(New<TdxSVGRenderer>(FCanvas.get(), APalette));
  ARoot->Draw(renderer.get(), TdxRectF(0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight)));
  GdipFlush(FCanvas->Handle(), Gdiplus::FlushIntentionSync);
}

TdxAlphaColor TSVGSurface::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  const std::uint32_t p = FPixels[static_cast<std::size_t>(Y) * FWidth + X];
  const int alpha = static_cast<int>(p >> 24);
  if (alpha == 0) return 0;
  const auto straight = [&](int AShift) { return std::min(255, (static_cast<int>((p >> AShift) & 0xFF) * 255 + alpha / 2) / alpha); };
  return ComposeAlphaColor(alpha, straight(16), straight(8), straight(0));
}

int TSVGSurface::Count(TdxAlphaColor AColor) const {
  int result = 0;
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) result += Pixel(x, y) == AColor;
  return result;
}

TRect TSVGSurface::InkBounds() const {
  TRect result(FWidth, FHeight, 0, 0);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x)
      if (AlphaOf(Pixel(x, y)) != 0) {
        result.Left = std::min(result.Left, x);
        result.Top = std::min(result.Top, y);
        result.Right = std::max(result.Right, x + 1);
        result.Bottom = std::max(result.Bottom, y + 1);
      }
  return result.Left < result.Right ? result : TRect();
}

std::string TSVGSurface::Picture() const {
  std::string result;
  for (int y = 0; y < FHeight; ++y) {
    for (int x = 0; x < FWidth; ++x) {
      const int alpha = AlphaOf(Pixel(x, y));
      result += alpha == 0 ? '.' : alpha == 255 ? '#' : '+';
    }
    result += '\n';
  }
  return result;
}

// ---------------------------------------------------------------------------
// Reference images

std::vector<std::uint32_t> PremultipliedPixels(GpImage* AImage, TSize& ASize) {
  UINT width = 0;
  UINT height = 0;
  GdipGetImageWidth(AImage, &width);
  GdipGetImageHeight(AImage, &height);
  ASize = TSize(static_cast<int>(width), static_cast<int>(height));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  Gdiplus::BitmapData data{};
  data.Width = width;
  data.Height = height;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = pixels.data();
  const Gdiplus::Rect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  CheckGdipStatus(GdipBitmapLockBits(static_cast<GpBitmap*>(AImage), &rect,
                                     Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                     PixelFormat32bppPARGB, &data));
  CheckGdipStatus(GdipBitmapUnlockBits(static_cast<GpBitmap*>(AImage), &data));
  return pixels;
}

int DifferingPixels(const std::vector<std::uint32_t>& A, const std::vector<std::uint32_t>& B) {
  int result = 0;
  for (std::size_t i = 0; i < A.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8) {
      const int a = static_cast<int>((A[i] >> shift) & 0xFF);
      const int b = static_cast<int>((B[i] >> shift) & 0xFF);
      if (std::abs(a - b) > 32) {
        ++result;
        break;
      }
    }
  return result;
}

TOwned<TdxSVGImageHandle> LoadPicture(const String& APath) {
  TOwned<TdxSmartImageCustomHandle> handle;
  if (!TdxSVGImageCodec::Load(APath, handle)) return nullptr;
  return TOwned<TdxSVGImageHandle>(static_cast<TdxSVGImageHandle*>(handle.release()));
}

std::vector<std::uint32_t> Render(TdxSVGImageHandle* AHandle, const TSize& ASize) {
  TdxGPImageHandle* raster = AHandle->GetRasterizedImage(ASize, nullptr);
  TSize size;
  if (!raster) return std::vector<std::uint32_t>(static_cast<std::size_t>(ASize.cx) * ASize.cy);
  if (raster->Size() == ASize) return PremultipliedPixels(raster->Handle(), size);
  const TOwned<TdxGPImageHandle> target(NewWith<TdxGPImageHandle>([&](TdxGPImageHandle* H) { H->CreateSize(ASize); }));
  {
    const TOwned<TdxGPCanvas> canvas = target->CreateCanvas();
    canvas->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    AHandle->Draw(canvas.get(), TdxRectF(0, 0, static_cast<float>(ASize.cx), static_cast<float>(ASize.cy)),
                  TdxRectF(AHandle->ClientRect()), nullptr, nullptr);
  }
  return PremultipliedPixels(target->Handle(), size);
}


bool IsWithinReferenceTolerance(int ADiffering, std::size_t APixels) {
  return static_cast<std::size_t>(ADiffering) * 50 <= APixels;
}
