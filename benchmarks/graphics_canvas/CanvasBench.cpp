// The GDI-based canvas next to the raw calls it ends in: 10^5 mixed canvas
// operations (fills, frames, lines, text, images) on a 32-bit surface, and
// the same work done straight with GDI, GDI+ and AlphaBlend in the same run.
// Prints the times and ratios (canvas / raw) per kind and for the mix; the
// target for the canvas's overhead is at most 1.2. Lines go through the
// shared GDI+ paint canvas: a row sets the canvas's line beside that paint
// canvas's own, and the last line times the low-colour test that each of
// its paints makes and the raw line drawing does not.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Operations = 100000;
constexpr int Kinds = 5;
constexpr int Rounds = Operations / Kinds;
constexpr double Target = 1.2;
constexpr int Size = 256;

// The canvas on the benchmark's surface.
class TBenchCanvas : public TcxGdiBasedCanvas {
  SK_CLASS(TBenchCanvas, TcxGdiBasedCanvas)
 public:
  void Create(HDC DC) {
    inherited::Create();
    FDC = DC;
  }
  HDC Handle() override { return FDC; }
  void SaveState() override { SaveDC(FDC); }
  void RestoreState() override { RestoreDC(FDC, -1); }
  void SaveClipRegion() override { FSavedClip = ::SaveClipRegion(FDC); }
  void RestoreClipRegion() override { ::RestoreClipRegion(FDC, std::move(FSavedClip)); }

 private:
  HDC FDC;
  TOwnedRegion FSavedClip;
};

TRect Cell(int I) {
  const int x = (I * 37) % (Size - 40);
  const int y = (I * 53) % (Size - 20);
  return TRect(x, y, x + 40, y + 20);
}

TColor ColorOf(int I) { return TColor(RGB(I * 7 & 0xFF, I * 13 & 0xFF, I * 29 & 0xFF)); }

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  {
    TMemoryDC surface = TMemoryDC::Dib32(nullptr, Size, Size);
    const HDC dc = surface.DC();
    const TOwned<TBenchCanvas> canvas(New<TBenchCanvas>(dc));

    const TOwned<TdxFastDIB> image(New<TdxFastDIB>(16, 16, true));
    for (int i = 0; i < 256; ++i) image->Bits()[i] = RGBQUAD{static_cast<BYTE>(i), 0, 0, static_cast<BYTE>(i)};
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Tahoma");
    font->SetHeight(-11);
    const TOwned<TcxCanvasBasedTextLayout> layout = canvas->CreateTextLayout();
    layout->SetFont(font.get(), ooReferenced);
    layout->SetColor(clBlack);
    layout->SetText(L"Canvas text");
    const TSize textSize = layout->MeasureSize();
    constexpr TdxAlphaColor LineColor = 0xFF204080;

    // The canvas's operations.
    const auto canvasFill = [&](int I) { canvas->FillRect(Cell(I), ColorOf(I)); };
    const auto canvasFrame = [&](int I) { canvas->FrameRect(Cell(I), ColorOf(I), 1); };
    const auto canvasLine = [&](int I) {
      const TRect r = Cell(I);
      canvas->Line(r.TopLeft(), r.BottomRight(), LineColor);
    };
    const auto canvasText = [&](int I) { layout->Draw(Cell(I)); };
    const auto canvasImage = [&](int I) {
      const TRect r = Cell(I);
      canvas->DrawBitmap(image.get(), MakeBoundsRect(r.Left, r.Top, 16, 16), afPremultiplied);
    };

    // What they end in, called straight.
    const auto rawFill = [&](int I) {
      const RECT r = Cell(I);
      ::FillRect(dc, &r, TdxSolidBrushCache::Get(ColorOf(I)));
    };
    const auto rawFrame = [&](int I) {
      const TRect c = Cell(I);
      const HBRUSH brush = TdxSolidBrushCache::Get(ColorOf(I));
      const RECT sides[] = {{c.Left, c.Top, c.Left + 1, c.Bottom},
                            {c.Right - 1, c.Top, c.Right, c.Bottom},
                            {c.Left, c.Top, c.Right, c.Top + 1},
                            {c.Left, c.Bottom - 1, c.Right, c.Bottom}};
      for (const RECT& side : sides) ::FillRect(dc, &side, brush);
    };
    GpPen* pen = nullptr;
    GdipCreatePen1(LineColor, 1, Gdiplus::UnitPixel, &pen);
    const auto rawLine = [&](int I) {
      const TRect r = Cell(I);
      GpGraphics* graphics = nullptr;
      GdipCreateFromHDC(dc, &graphics);
      GdipDrawLineI(graphics, pen, r.Left, r.Top, r.Right, r.Bottom);
      GdipDeleteGraphics(graphics);
    };
    const auto rawText = [&](int I) {
      const TRect r = Cell(I);
      const TSelectObject selected(dc, font->Handle());
      const int mode = SetBkMode(dc, TRANSPARENT);
      TextOutW(dc, r.Left, r.Top, L"Canvas text", 11);
      SetBkMode(dc, mode);
    };
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const auto rawImage = [&](int I) {
      const TRect r = Cell(I);
      AlphaBlend(dc, r.Left, r.Top, 16, 16, image->DC(), 0, 0, 16, 16, blend);
    };

    const auto rounds = [](const auto& AWork) {
      return [&AWork] {
        for (int i = 0; i < Rounds; ++i) AWork(i);
      };
    };
    const auto mixed = [&](const auto& AFill, const auto& AFrame, const auto& ALine, const auto& AText,
                           const auto& AImage) {
      return [&] {
        for (int i = 0; i < Rounds; ++i) {
          AFill(i);
          AFrame(i);
          ALine(i);
          AText(i);
          AImage(i);
        }
      };
    };
    // One round of each first: caches and fonts warm up.
    for (int i = 0; i < 8; ++i) {
      canvasFill(i), canvasFrame(i), canvasLine(i), canvasText(i), canvasImage(i);
      rawFill(i), rawFrame(i), rawLine(i), rawText(i), rawImage(i);
    }

    std::printf("graphics_canvas benchmark: %d operations, %d of each kind, on a %d x %d surface; text %d x %d\n",
                Operations, Rounds, Size, Size, textSize.cx, textSize.cy);
    bench::TRatioReport report("canvas", "raw", Target, 10);
    const auto add = [&](const char* AName, const auto& ACanvas, const auto& ARaw) {
      report.Add(AName, bench::BestOf(3, [] {}, ACanvas), bench::BestOf(3, [] {}, ARaw));
    };
    add("fill", rounds(canvasFill), rounds(rawFill));
    add("frame", rounds(canvasFrame), rounds(rawFrame));
    add("line", rounds(canvasLine), rounds(rawLine));
    const auto paintCanvasLine = [&](int I) {
      const TRect r = Cell(I);
      const TdxGPPaintCanvasScope paint(dc, r);
      paint->Line(r.Left, r.Top, r.Right, r.Bottom, LineColor, 1, psSolid);
    };
    std::printf("(line against the paint canvas's own)\n");
    bench::TRatioReport againstPaint("canvas", "paint", Target, 10);
    againstPaint.Add("line", bench::BestOf(3, [] {}, rounds(canvasLine)), bench::BestOf(3, [] {}, rounds(paintCanvasLine)));
    add("text", rounds(canvasText), rounds(rawText));
    add("image", rounds(canvasImage), rounds(rawImage));
    add("mixed", mixed(canvasFill, canvasFrame, canvasLine, canvasText, canvasImage),
        mixed(rawFill, rawFrame, rawLine, rawText, rawImage));
    const auto lowColorTest = [&](int) { (void)IsLowColorDC(dc); };
    std::printf("%-10s %9.2f ms for %d GDI+ paints\n", "low-colour", bench::BestOf(3, [] {}, rounds(lowColorTest)),
                Rounds);
    GdipDeletePen(pen);
  }
  FinalizeUnits();
  return 0;
}
