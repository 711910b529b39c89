// Drawing the main window's 15 glyphs through the window's image list (read
// from the form description the program carries), 1,000 times each in the
// normal and the disabled mode, beside comctl32's drawing of the same
// images from the list's own native list in the same run (ImageList_Draw,
// and ImageList_DrawIndirect with ILS_SATURATE for the disabled look).
// The paint cache is warm: each glyph has been drawn once before timing.
// Target: at most 1.0 x comctl32.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/imaging/cxImageList.h"
#include "platform/classes/FormReader.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Runs = 5;
constexpr int Repeats = 1000;

// The image list's object of the form description, read on its own.
TOwned<TcxImageList> FormImageList() {
  const String form = ReadResourceText(GetModuleHandleW(nullptr), L"TMAINFORM");
  const std::size_t start = form.find(L"object cxImageList1: TcxImageList");
  if (start == String::npos) return nullptr;
  // The object ends at the first "end" as indented as its "object".
  const std::size_t lineStart = form.rfind(L'\n', start) + 1;
  const String ending = L"\n" + form.substr(lineStart, start - lineStart) + L"end";
  const std::size_t stop = form.find(ending, start);
  if (stop == String::npos) return nullptr;
  return TOwned<TcxImageList>(
      static_cast<TcxImageList*>(ReadComponentFromText(form.substr(start, stop + ending.size() - start))));
}

// Every glyph drawn ARepeats times at places over the surface.
template <class TDraw>
void DrawAll(int ACount, TDraw ADraw) {
  for (int r = 0; r < Repeats; ++r)
    for (int i = 0; i < ACount; ++i) ADraw(i, (r % 12) * 20, (i % 12) * 20);
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  int slower = 0;
  {
    const TOwned<TcxImageList> images = FormImageList();
    if (!images || images->Count() != 15) {
      std::printf("the form's image list did not load\n");
      FinalizeUnits();
      return 1;
    }
    const TMemoryDC surface = TMemoryDC::Dib32(nullptr, 256, 256);
    const TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(surface.DC());
    const HIMAGELIST native = images->Handle();
    const int count = images->Count();
    std::printf("graphics_imagelist benchmark: %d glyphs x %d draws (best of %d runs)\n", count, Repeats, Runs);
    bench::TRatioReport report("image list", "comctl32", 1.0, 10);
    for (const bool enabled : {true, false}) {
      // Warm: each glyph is prepared once.
      for (int i = 0; i < count; ++i) images->Draw(canvas.get(), 0, 0, i, enabled);
      const double ours = bench::BestOf(Runs, [] {}, [&] {
        DrawAll(count, [&](int i, int x, int y) { images->Draw(canvas.get(), x, y, i, enabled); });
        GdiFlush();
      });
      const double reference = bench::BestOf(Runs, [] {}, [&] {
        DrawAll(count, [&](int i, int x, int y) {
          if (enabled) {
            ImageList_Draw(native, i, surface.DC(), x, y, ILD_NORMAL);
          } else {
            IMAGELISTDRAWPARAMS params{};
            params.cbSize = sizeof params;
            params.himl = native;
            params.i = i;
            params.hdcDst = surface.DC();
            params.x = x;
            params.y = y;
            params.rgbBk = CLR_NONE;
            params.rgbFg = CLR_DEFAULT;
            params.fStyle = ILD_NORMAL;
            params.fState = ILS_SATURATE;
            ImageList_DrawIndirect(&params);
          }
        });
        GdiFlush();
      });
      report.Add(enabled ? "normal" : "disabled", ours, reference);
    }
    canvas->SetHandle(nullptr);
    slower = report.Slower();
  }
  std::printf(slower ? "%d measurement(s) over their target\n" : "all within their targets\n", slower);
  FinalizeUnits();
  return 0;
}
