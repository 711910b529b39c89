// Smart images beside GDI+'s flat API doing the same work, in the same run:
// - a 1024 x 1024 PNG (gradients and noise, with alpha) loaded from memory
//   and drawn once at its size onto a 32-bit DIB;
// - 100 of the main window's 16 x 16 PNG glyphs, each loaded and drawn once.
// The smart image keeps the bytes, decodes through the codec registry and
// draws through the shared GDI+ paint canvas; the reference loads with
// GdipLoadImageFromStream from an IStream over the bytes and draws with
// GdipDrawImageRectRectI on a graphics object of the DC. Target: at most
// 1.1 x the flat API. Each line prints the best of several runs of both,
// taken in turns.
#include "benchmarks/support/GdiPlusMain.h"
#include "benchmarks/support/Ratios.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/GdiScopes.h"

#include <shlwapi.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr int Runs = 15;
constexpr int GlyphCount = 100;

// A PNG file of gradients with noise and alpha all over the range, made by GDI+.
std::string BigPng(int ASize) {
  TdxGPImageHandle* bitmap = NewWith<TdxGPImageHandle>([&](TdxGPImageHandle* AHandle) {
    AHandle->CreateSize(ASize, ASize, PixelFormat32bppARGB);
  });
  TOwned<TdxGPImageHandle> owned(bitmap);
  BitmapData data = bitmap->LockBits(TRect(0, 0, ASize, ASize), ImageLockModeWrite, PixelFormat32bppARGB);
  std::mt19937 random(7);
  for (int y = 0; y < ASize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < ASize; ++x)
      row[x] = ComposeAlphaColor(128 + (x + y) % 128, x * 255 / ASize, y * 255 / ASize, random() % 64);
  }
  bitmap->UnlockBits(data);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  dxCodec<TdxGPImageCodecPNG>()->Save(stream.get(), bitmap);
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

std::vector<std::string> Glyphs() {
  std::vector<std::string> glyphs;
  for (int i = 0; i < 15; ++i) {
    wchar_t name[16];
    std::swprintf(name, 16, L"GLYPH%02d", i);
    TOwned<TResourceStream> stream(New<TResourceStream>(nullptr, String(name), RT_RCDATA));
    glyphs.emplace_back(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
  }
  return glyphs;
}

// The reference: the flat API on the same bytes and the same DC.
void DrawWithFlatApi(HDC DC, const std::string& ABytes, int X, int Y) {
  IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(ABytes.data()), static_cast<UINT>(ABytes.size()));
  GpImage* image = nullptr;
  CheckGdipStatus(GdipLoadImageFromStream(stream, &image));
  UINT width = 0, height = 0;
  GdipGetImageWidth(image, &width);
  GdipGetImageHeight(image, &height);
  GpGraphics* graphics = nullptr;
  CheckGdipStatus(GdipCreateFromHDC(DC, &graphics));
  CheckGdipStatus(GdipDrawImageRectRectI(graphics, image, X, Y, static_cast<INT>(width), static_cast<INT>(height), 0, 0,
                                         static_cast<INT>(width), static_cast<INT>(height), UnitPixel, nullptr, nullptr,
                                         nullptr));
  GdipDeleteGraphics(graphics);
  GdipDisposeImage(image);
  stream->Release();
}

void DrawSmartImage(HDC DC, const std::string& ABytes, int X, int Y) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromStream(stream.get());
  const TSize size = image->Size();
  image->StretchDraw(DC, TRect(X, Y, X + size.cx, Y + size.cy));
}

// Both ways in turns, so that a busy moment of the machine weighs on both.
void Compare(bench::TRatioReport& AReport, const char* AName, const std::function<void(bool)>& AWork) {
  double ours = 1e300, reference = 1e300;
  for (int i = 0; i < Runs; ++i) {
    reference = std::min(reference, bench::BestOf(1, [] {}, [&] { AWork(false); }));
    ours = std::min(ours, bench::BestOf(1, [] {}, [&] { AWork(true); }));
  }
  AReport.Add(AName, ours, reference);
}

}  // namespace

int wmain() {
  return bench::RunWithGdiPlus([] {
    const std::string big = BigPng(1024);
    const std::vector<std::string> glyphs = Glyphs();
    const TMemoryDC target = TMemoryDC::Dib32(nullptr, 1024, 1024);
    std::printf("graphics_images benchmark (best of %d runs; the PNG is %zu bytes)\n", Runs, big.size());
    bench::TRatioReport report("smart image", "flat API", 1.1, 36);
    Compare(report, "1024 x 1024 PNG, load and draw", [&](bool AOurs) {
      (AOurs ? DrawSmartImage : DrawWithFlatApi)(target.DC(), big, 0, 0);
    });
    Compare(report, "100 glyphs 16 x 16, load and draw", [&](bool AOurs) {
      for (int i = 0; i < GlyphCount; ++i)
        (AOurs ? DrawSmartImage : DrawWithFlatApi)(target.DC(), glyphs[i % glyphs.size()], (i % 32) * 16,
                                                   (i / 32) * 16);
    });
    // Every paint on a device context tests it for few colours first
    // (GetDeviceCaps, slow under Wine); the flat API paying that test too
    // shows what the smart image costs beyond the paint canvas.
    Compare(report, "100 glyphs, flat API + device test", [&](bool AOurs) {
      for (int i = 0; i < GlyphCount; ++i) {
        if (!AOurs) IsLowColorDC(target.DC());
        (AOurs ? DrawSmartImage : DrawWithFlatApi)(target.DC(), glyphs[i % glyphs.size()], (i % 32) * 16,
                                                   (i / 32) * 16);
      }
    });
    std::printf(report.Slower() ? "%d measurement(s) over the target\n" : "all within the target\n",
                report.Slower());
    return 0;
  });
}
