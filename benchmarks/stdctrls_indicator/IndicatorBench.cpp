// The activity indicator's frame next to the same frame drawn with the flat
// GDI+ API: the main window's indicator (133 x 11, five orange discs 5
// pixels across) painted 10^4 times into a 32-bit DIB, and the panel colour
// plus five antialiased discs drawn by GDI+ into a DIB of that size and
// blitted, in the same run. Prints both times, the ratio (target at most
// 1.5) and the CPU time one second of animation costs at the 100 frames a
// second a 1 ms timer gives under Wine.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int Frames = 10000;
constexpr double Target = 1.5;
constexpr int Width = 133, Height = 11;
constexpr int FramesPerSecond = 100;

// The dots of a frame part-way through a run.
constexpr float DotX[] = {118.5f, 96.0f, 66.5f, 37.0f, 14.5f};

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 300, 100);
    form->Show();
    auto* indicator = New<TdxActivityIndicator>(form.get());
    indicator->SetParent(form.get());
    indicator->SetBounds(10, 10, Width, Height);
    indicator->LookAndFeel()->SetNativeStyle(false);
    auto* dots = static_cast<TdxActivityIndicatorDotBasedProperties*>(indicator->Properties());
    dots->SetAnimationTime(3000);
    dots->SetDotColor(0xFFFF8000);
    dots->SetDotSize(5);
    indicator->SetActive(true);

    TMemoryDC target = TMemoryDC::Dib32(nullptr, Width, Height);
    TMemoryDC scratch = TMemoryDC::Dib32(nullptr, Width, Height);
    const auto ours = [&] {
      for (int i = 0; i < Frames; ++i)
        indicator->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT | PRF_ERASEBKGND);
    };
    const TOwnedBrush panel(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    const auto reference = [&] {
      const RECT all{0, 0, Width, Height};
      for (int i = 0; i < Frames; ++i) {
        FillRect(scratch.DC(), &all, panel.Get());
        GpGraphics* graphics = nullptr;
        GdipCreateFromHDC(scratch.DC(), &graphics);
        GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        GpSolidFill* brush = nullptr;
        GdipCreateSolidFill(0xFFFF8000, &brush);
        for (const float x : DotX) GdipFillEllipse(graphics, brush, x - 2.5f, 3.0f, 5.0f, 5.0f);
        GdipDeleteBrush(brush);
        GdipDeleteGraphics(graphics);
        BitBlt(target.DC(), 0, 0, Width, Height, scratch.DC(), 0, 0, SRCCOPY);
      }
    };
    ours();  // caches, brushes and the paint canvas warm up
    std::printf("stdctrls_indicator benchmark: %d frames of the %d x %d indicator with five dots\n", Frames, Width,
                Height);
    bench::TRatioReport report("indicator", "flat GDI+", Target, 8);
    const double oursMs = bench::BestOf(3, [] {}, ours);
    const double referenceMs = bench::BestOf(3, [] {}, reference);
    report.Add("frames", oursMs, referenceMs);
    std::printf("one second of animation (%d frames): indicator %.2f ms, flat GDI+ %.2f ms\n", FramesPerSecond,
                oursMs / Frames * FramesPerSecond, referenceMs / Frames * FramesPerSecond);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    indicator->SetActive(false);
  }
  FinalizeUnits();
  return 0;
}
