// Skin elements beside GDI+'s flat API doing the same work, in the same run:
// - 10^4 draws of a 200 x 30 nine-part element whose texture is a PNG, once
//   through the element's cache and once straight from the texture, beside
//   nine GdipDrawImageRectRectI calls per draw (one graphics object of the DC
//   per draw, as the element needs one per draw too);
// - loading a skin of 50 such elements from its stream, beside
//   GdipLoadImageFromStream of its 50 PNGs.
// Targets: at most 1.0 x the flat API cached, 1.2 x uncached, 1.5 x to load.
// The draws run once each way (they take minutes under Wine); the load is
// the best of ten runs of both, taken in turns.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <shlwapi.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr int Draws = 10000;
constexpr int Elements = 50;
constexpr int Width = 200, Height = 30;
constexpr int Texture = 24;
// Left, top, right and bottom margins of the nine parts.
constexpr int MarginL = 6, MarginT = 5, MarginR = 7, MarginB = 4;

// An opaque 24 x 24 PNG of a gradient with noise, different for each seed.
std::string TexturePng(unsigned ASeed) {
  TOwned<TdxGPImageHandle> bitmap(NewWith<TdxGPImageHandle>([](TdxGPImageHandle* AHandle) {
    AHandle->CreateSize(Texture, Texture, PixelFormat32bppARGB);
  }));
  BitmapData data = bitmap->LockBits(TRect(0, 0, Texture, Texture), ImageLockModeWrite, PixelFormat32bppARGB);
  std::mt19937 random(ASeed);
  for (int y = 0; y < Texture; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < Texture; ++x)
      row[x] = ComposeAlphaColor(255, x * 10 + random() % 16, y * 10 + random() % 16, random() % 256);
  }
  bitmap->UnlockBits(data);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  dxCodec<TdxGPImageCodecPNG>()->Save(stream.get(), bitmap.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

void MakeNinePart(TdxSkinElement* AElement, const std::string& APng) {
  TdxSkinImage* image = AElement->Image();
  const TOwned<TMemoryStream> texture = StreamOf(APng);
  image->Texture()->LoadFromStream(texture.get());
  image->SetStates({esNormal});
  image->SetMargins(TRect(MarginL, MarginT, MarginR, MarginB));
}

// Where draw AIndex goes on the target: the cache is keyed by size, not place.
TRect Cell(int AIndex) {
  const int x = (AIndex % 4) * Width, y = (AIndex / 4 % 4) * Height;
  return TRect(x, y, x + Width, y + Height);
}

// The reference draw: the nine parts of the texture stretched into ARect.
void DrawNineFlat(HDC DC, GpImage* AImage, const TRect& ARect) {
  const int srcX[] = {0, MarginL, Texture - MarginR, Texture};
  const int srcY[] = {0, MarginT, Texture - MarginB, Texture};
  const int dstX[] = {ARect.Left, ARect.Left + MarginL, ARect.Right - MarginR, ARect.Right};
  const int dstY[] = {ARect.Top, ARect.Top + MarginT, ARect.Bottom - MarginB, ARect.Bottom};
  GpGraphics* graphics = nullptr;
  CheckGdipStatus(GdipCreateFromHDC(DC, &graphics));
  const TdxGpOwnedGraphics owned(graphics);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      CheckGdipStatus(GdipDrawImageRectRectI(graphics, AImage, dstX[col], dstY[row], dstX[col + 1] - dstX[col],
                                             dstY[row + 1] - dstY[row], srcX[col], srcY[row], srcX[col + 1] - srcX[col],
                                             srcY[row + 1] - srcY[row], UnitPixel, nullptr, nullptr, nullptr));
}

GpImage* LoadFlat(const std::string& APng) {
  IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(APng.data()), static_cast<UINT>(APng.size()));
  GpImage* image = nullptr;
  const GpStatus status = GdipLoadImageFromStream(stream, &image);
  stream->Release();
  CheckGdipStatus(status);
  return image;
}

// Both ways in turns, so that a busy moment of the machine weighs on both.
void Compare(bench::TRatioReport& AReport, int ARuns, const char* AName, const std::function<void()>& AOurs,
             const std::function<void()>& AReference) {
  double ours = 1e300, reference = 1e300;
  for (int i = 0; i < ARuns; ++i) {
    reference = std::min(reference, bench::BestOf(1, [] {}, AReference));
    ours = std::min(ours, bench::BestOf(1, [] {}, AOurs));
  }
  AReport.Add(AName, ours, reference);
}

int Run() {
  std::vector<std::string> pngs;
  for (int i = 0; i < Elements; ++i) pngs.push_back(TexturePng(static_cast<unsigned>(i + 1)));

  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Bench"));
  TdxSkinControlGroup* group = skin->AddGroup(L"Common");
  for (int i = 0; i < Elements; ++i) MakeNinePart(group->AddElement(L"Element" + IntToStr(i)), pngs[i]);
  TdxSkinElement* element = group->GetElement(0);
  const TOwned<TMemoryStream> skinStream(New<TMemoryStream>());
  skin->SaveToStream(skinStream.get());

  const TMemoryDC target = TMemoryDC::Dib32(nullptr, Width * 4, Height * 4);
  const HDC dc = target.DC();
  const TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(96, 96, false);
  const TdxGpOwnedImage flatImage(LoadFlat(pngs[0]));

  const auto drawElement = [&](bool ACached) {
    return [&, ACached] {
      element->SetUseCache(ACached);
      for (int i = 0; i < Draws; ++i) element->Draw(dc, Cell(i), factor.get());
    };
  };
  const auto drawFlat = [&] {
    for (int i = 0; i < Draws; ++i) DrawNineFlat(dc, flatImage.Get(), Cell(i));
  };
  // A few of each first: the texture decodes, the cache fills.
  drawElement(true)();

  std::printf("lookandfeel_skins benchmark: %d draws of a %d x %d nine-part element (%d x %d PNG texture);\n", Draws,
              Width, Height, Texture, Texture);
  std::printf("a skin of %d such elements (%lld bytes) loaded from its stream\n", Elements,
              static_cast<long long>(skinStream->Size()));
  int slower = 0;
  {
    bench::TRatioReport report("element", "flat API", 1.0, 16);
    Compare(report, 1, "cached draws", drawElement(true), drawFlat);
    slower += report.Slower();
  }
  {
    bench::TRatioReport report("element", "flat API", 1.2, 16);
    Compare(report, 1, "uncached draws", drawElement(false), drawFlat);
    slower += report.Slower();
  }
  {
    bench::TRatioReport report("skin    ", "flat API", 1.5, 16);
    Compare(
        report, 10, "load 50 elements",
        [&] {
          skinStream->SetPosition(0);
          const TOwned<TdxSkin> loaded(New<TdxSkin>(nullptr, L""));
          loaded->LoadFromStream(skinStream.get());
        },
        [&] {
          for (const std::string& png : pngs) const TdxGpOwnedImage image(LoadFlat(png));
        });
    slower += report.Slower();
  }
  std::printf("targets: cached <= 1.0, uncached <= 1.2, load <= 1.5; %d over\n", slower);
  return 0;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  const int result = TdxGdiPlusLibrary::IsLoaded() ? Run() : (std::printf("GDI+ is not available\n"), 1);
  FinalizeUnits();
  return result;
}
