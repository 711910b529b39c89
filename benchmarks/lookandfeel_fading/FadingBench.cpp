// A 13-frame fade (the default fade-out: frames 0 to 12) of a 75 x 23 part,
// 1,000 times, through the fader: the part hands over its two looks (drawn
// before the timing), every frame is blended and drawn where the part's paint
// code would draw it, driven by the fader's own timer message, and the fade
// ends with the part's last repaint request. Beside it in the same run, GDI's
// AlphaBlend of the same two images at the same 13 alphas (the hot look
// copied, the normal look blended over it). Target: at most 2 x AlphaBlend.
//
// A second line times the frames alone: the 12 frames the timer advances,
// without the start and the end of each fade (taking the looks over and
// freeing them, reading the screen's depth, switching the timer on and off),
// beside 12 AlphaBlend frames.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int Fades = 1000;
constexpr int Width = 75;
constexpr int Height = 23;
constexpr int Frames = TdxFadingOptions::DefaultFadeOutFrameCount;

// A 32-bit look of the part, as its paint code would leave it (alpha 0).
TMemoryDC MakeLook(int ASeed) {
  TMemoryDC look = TMemoryDC::Dib32(nullptr, Width, Height);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      SetPixelV(look.DC(), x, y, RGB((x * 3 + ASeed * 70) % 256, (y * 11 + ASeed * 40) % 256, (x * y) % 255 + 1));
  GdiFlush();
  return look;
}

TOwned<TBitmap> BitmapOf(const TMemoryDC& ALook) {
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) std::memcpy(bitmap->ScanLine(y), ALook.Bits() + y * Width, Width * 4);
  return bitmap;
}

// The part: hands over looks made before the timing; each frame is drawn
// onto the surface when the fader asks for a repaint.
class TBenchFadingPart : public TdxFadingObjectHelper {
  SK_CLASS(TBenchFadingPart, TdxFadingObjectHelper)
 public:
  std::vector<std::pair<TOwned<TBitmap>, TOwned<TBitmap>>> Looks;
  HDC Surface = nullptr;
  int Repaints = 0;

  void PrepareLooks(const TMemoryDC& ANormal, const TMemoryDC& AHot) {
    Looks.clear();
    for (int i = 0; i < Fades; ++i) Looks.emplace_back(BitmapOf(ANormal), BitmapOf(AHot));
  }
  bool CanFade() override { return true; }
  void DrawFadeImage() override {
    ++Repaints;
    DrawImage(Surface, TRect(0, 0, Width, Height));
  }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override {
    AFadeOutImage = std::move(Looks.back().first);
    AFadeInImage = std::move(Looks.back().second);
    Looks.pop_back();
  }
};

// The fader's timer message, taken once as the system sends it; the ticks
// of the benchmark dispatch copies of it.
bool TakeFaderTick(MSG& AMessage) {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (GetTickCount64() < deadline) {
    if (PeekMessageW(&AMessage, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) return true;
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_TIMER, 0);
  }
  return false;
}

void AlphaBlendFrames(const TMemoryDC& ASurface, const TMemoryDC& AStart, const TMemoryDC& AEnd, int AFirst) {
  for (int s = AFirst; s <= Frames; ++s) {
    BitBlt(ASurface.DC(), 0, 0, Width, Height, AStart.DC(), 0, 0, SRCCOPY);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::lround(255.0 * s / Frames)), 0};
    AlphaBlend(ASurface.DC(), 0, 0, Width, Height, AEnd.DC(), 0, 0, Width, Height, blend);
  }
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  int slower = 0;
  {
    TdxFader* fader = GetFader();
    fader->SetState(fasEnabled);
    const TMemoryDC normal = MakeLook(0);
    const TMemoryDC hot = MakeLook(1);
    const TMemoryDC surface = TMemoryDC::Dib32(nullptr, Width, Height);
    TOwned<TBenchFadingPart> part(New<TBenchFadingPart>());
    part->Surface = surface.DC();
    part->PrepareLooks(normal, hot);
    part->FadeOut();
    MSG tick{};
    const bool runs = fader->IsReady() && part->Active() && TakeFaderTick(tick);
    fader->Clear();
    if (!runs) {
      std::printf("the fader does not run here\n");
      part.reset();
      FinalizeUnits();
      return 1;
    }

    std::printf("lookandfeel_fading benchmark: %d fades of %d frames, %d x %d (best of %d runs)\n", Fades,
                Frames + 1, Width, Height, Runs);
    bench::TRatioReport report("fader", "AlphaBlend", 2.0, 11);
    const double fades = bench::BestOf(Runs, [&] { part->PrepareLooks(normal, hot); }, [&] {
      for (int f = 0; f < Fades; ++f) {
        part->FadeOut();
        while (part->Active()) DispatchMessageW(&tick);
      }
      GdiFlush();
    });
    const double reference = bench::BestOf(Runs, [] {}, [&] {
      for (int f = 0; f < Fades; ++f) AlphaBlendFrames(surface, hot, normal, 0);
      GdiFlush();
    });
    report.Add("fade", fades, reference);

    double frames = 1e300;
    for (int run = 0; run < Runs; ++run) {
      part->PrepareLooks(normal, hot);
      std::chrono::steady_clock::duration total{};
      for (int f = 0; f < Fades; ++f) {
        part->FadeOut();
        const int last = part->Repaints + Frames;
        const auto start = std::chrono::steady_clock::now();
        while (part->Repaints < last) DispatchMessageW(&tick);
        GdiFlush();
        total += std::chrono::steady_clock::now() - start;
        while (part->Active()) DispatchMessageW(&tick);
      }
      frames = std::min(frames, std::chrono::duration<double, std::milli>(total).count());
    }
    const double referenceFrames = bench::BestOf(Runs, [] {}, [&] {
      for (int f = 0; f < Fades; ++f) AlphaBlendFrames(surface, hot, normal, 1);
      GdiFlush();
    });
    report.Add("12 frames", frames, referenceFrames);
    slower = report.Slower();
    part.reset();
  }
  FinalizeUnits();
  return slower == 0 ? 0 : 2;
}
