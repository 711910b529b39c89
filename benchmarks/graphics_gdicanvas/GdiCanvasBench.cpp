// The GDI canvas and the graphics routines beside the plain GDI they end in,
// in the same run: 10^5 fills and frames through TcxCanvas, 10^4 saved and
// restored canvas states beside SaveDC/RestoreDC, a region made from a
// 512 x 512 bitmap beside one CombineRgn per run of pixels, the alpha blend
// beside AlphaBlend, and a 512 x 512 bitmap's form data written and read
// compressed beside the plain form (with the sizes). Each line prints the
// best of several runs of both and the ratio (ours / reference).
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/classes/Streams.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 3;
constexpr int FillCount = 100000;
constexpr int StateCount = 10000;
constexpr int Size = 512;

double Best(const std::function<void()>& AWork) { return bench::BestOf(Runs, [] {}, AWork); }

bench::TRatioReport GReport("ours", "GDI", 1.5, 34);

TRect Spot(int I) { return Bounds((I * 7) % (Size - 20), (I * 13) % (Size - 20), 17, 11); }

class TBenchFormBitmap : public TcxBitmap {
  SK_CLASS(TBenchFormBitmap, TcxBitmap)
 public:
  using TcxBitmap::ReadData;
  using TcxBitmap::WriteData;
};

void BenchCanvas() {
  TOwned<TBitmap> target(CreateBitmapWithFormat(Size, Size, pf32bit));
  const HDC DC = target->Canvas()->Handle();
  TOwned<TcxCanvas> canvas(New<TcxCanvas>(target->Canvas()));
  const TColor colors[] = {clRed, clBlue, TColor(0x336699)};
  GReport.Add("fills", Best([&] {
                for (int i = 0; i < FillCount; ++i) canvas->FillRect(Spot(i), colors[i % 3]);
              }),
              Best([&] {
                for (int i = 0; i < FillCount; ++i) {
                  const TOwnedBrush brush(CreateSolidBrush(ColorToColorRef(colors[i % 3])));
                  ::FillRect(DC, Spot(i).WinRect(), brush.Get());
                }
              }));
  GReport.Add("two-pixel frames", Best([&] {
                for (int i = 0; i < FillCount; ++i) canvas->FrameRect(Spot(i), colors[i % 3], 2);
              }),
              Best([&] {
                for (int i = 0; i < FillCount; ++i) {
                  const TOwnedBrush brush(CreateSolidBrush(ColorToColorRef(colors[i % 3])));
                  const TRect r = Spot(i);
                  const TRect strips[] = {TRect(r.Left, r.Top, r.Left + 2, r.Bottom),
                                          TRect(r.Right - 2, r.Top, r.Right, r.Bottom),
                                          TRect(r.Left, r.Top, r.Right, r.Top + 2),
                                          TRect(r.Left, r.Bottom - 2, r.Right, r.Bottom)};
                  for (const TRect& s : strips) ::FillRect(DC, s.WinRect(), brush.Get());
                }
              }));
  GReport.Add("saved and restored states", Best([&] {
                for (int i = 0; i < StateCount; ++i) {
                  const TcxCanvasStateScope state(canvas.get());
                  canvas->Brush()->SetColor(colors[i % 3]);
                  canvas->FillRect(Spot(i));
                }
              }),
              Best([&] {
                for (int i = 0; i < StateCount; ++i) {
                  const int level = SaveDC(DC);
                  const TOwnedBrush brush(CreateSolidBrush(ColorToColorRef(colors[i % 3])));
                  ::FillRect(DC, Spot(i).WinRect(), brush.Get());
                  RestoreDC(DC, level);
                }
              }));
}

void BenchRegions() {
  TOwned<TBitmap> bitmap(CreateBitmapWithFormat(Size, Size, pf24bit));
  for (int y = 0; y < Size; ++y) {
    auto* row = static_cast<RGBTRIPLE*>(bitmap->ScanLine(y));
    for (int x = 0; x < Size; ++x)
      row[x] = ((x / 3 + y / 5) % 2) ? RGBTRIPLE{0, 0, 200} : RGBTRIPLE{255, 0, 255};
  }
  GReport.Add("region from a bitmap", Best([&] { TOwnedRegion region(CreateRegionFromBitmap(bitmap.get(), clFuchsia)); }),
              Best([&] {
                TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
                for (int y = 0; y < Size; ++y) {
                  const auto* row = static_cast<const RGBTRIPLE*>(bitmap->ScanLine(y));
                  for (int x = 0; x < Size;) {
                    while (x < Size && row[x].rgbtBlue == 255) ++x;
                    const int start = x;
                    while (x < Size && row[x].rgbtBlue != 255) ++x;
                    if (start < x) {
                      const TOwnedRegion run(CreateRectRgn(start, y, x, y + 1));
                      CombineRgn(region.Get(), region.Get(), run.Get(), RGN_OR);
                    }
                  }
                }
              }));
}

void BenchAlphaBlend() {
  TOwned<TcxBitmap32> source(NewWith<TcxBitmap32>([](TcxBitmap32* b) { b->CreateSize(256, 256, true); }));
  source->SetAlphaChannel(128);
  TOwned<TBitmap> target(CreateBitmapWithFormat(Size, Size, pf32bit));
  const HDC DC = target->Canvas()->Handle();
  const HDC sourceDC = source->Canvas()->Handle();
  auto ours = [&] {
    for (int i = 0; i < 100; ++i)
      AlphaBlendDC(DC, sourceDC, Bounds(i, i, 256, 256), source->ClientRect(), false, 200, source.get());
  };
  auto system = [&] {
    for (int i = 0; i < 100; ++i) {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, AC_SRC_ALPHA};
      AlphaBlend(DC, i, i, 256, 256, sourceDC, 0, 0, 256, 256, blend);
    }
  };
  const TcxMsImg32Functions bound = cxMsImg32Functions();
  GReport.Add("alpha blend, 100 times", Best(ours), Best(system));
  cxMsImg32Functions().AlphaBlend = nullptr;
  GReport.Add("alpha blend in code, 100 times", Best(ours), Best(system));
  cxMsImg32Functions() = bound;
}

void BenchFormData() {
  TOwned<TBenchFormBitmap> bitmap(
      NewWith<TBenchFormBitmap>([](TBenchFormBitmap* b) { b->CreateSize(Size, Size, pf32bit); }));
  const HDC DC = bitmap->Canvas()->Handle();
  for (int i = 0; i < 2000; ++i) FillRectWithColor(DC, Spot(i), TColor(0x10000 * (i % 50) + 0x301));
  auto roundTrip = [&](bool ACompressed, std::int64_t& ASize) {
    bitmap->SetCompressData(ACompressed);
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    bitmap->WriteData(stream.get());
    ASize = stream->Size();
    stream->SetPosition(0);
    TOwned<TBenchFormBitmap> read(New<TBenchFormBitmap>());
    read->ReadData(stream.get());
  };
  std::int64_t compressed = 0;
  std::int64_t plain = 0;
  GReport.Add("form data written and read", Best([&] { roundTrip(true, compressed); }),
              Best([&] { roundTrip(false, plain); }));
  std::printf("  form data of a 512 x 512 32-bit picture: %lld bytes compressed, %lld plain\n",
              static_cast<long long>(compressed), static_cast<long long>(plain));
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  BenchCanvas();
  BenchRegions();
  BenchAlphaBlend();
  BenchFormData();
  FinalizeUnits();
  return 0;
}
