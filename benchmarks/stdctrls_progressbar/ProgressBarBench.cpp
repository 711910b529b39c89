// The progress bar's position writes next to the native progress bar: 10^4
// writes to the main window's bar (313 x 21, orange, percentage text), each
// followed by its repaint, and 10^4 PBM_SETPOS + UpdateWindow on a
// msctls_progress32 window of the same size, in the same run. Prints both
// times and the ratio (target at most 2). Under Wine either side takes about
// 1.5 to 2 ms a write, so each side runs once after a short warm-up: the
// whole program takes some 40 seconds.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxProgressBar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr int Writes = 10000;
constexpr int WarmUp = 200;
constexpr double Target = 2.0;
constexpr int Width = 313, Height = 21;

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 400, 120);
    form->Show();
    auto* bar = New<TcxProgressBar>(form.get());
    bar->SetParent(form.get());
    bar->SetAutoSize(false);
    bar->SetBounds(8, 8, Width, Height);
    for (TcxContainerStyle* style : {bar->Style(), bar->StyleDisabled(), bar->StyleFocused(), bar->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(false);
    bar->Properties()->SetBeginColor(TColor(33023));
    bar->Properties()->SetSolidTextColor(true);
    bar->Style()->Font()->SetName(L"Tahoma");
    bar->Style()->Font()->SetHeight(-11);
    const HWND native = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 8, 40, Width, Height,
                                        form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, PBM_SETRANGE32, 0, 100);
    UpdateWindow(form->Handle());
    // Each write a different value, so every one passes the equality test.
    const auto oursN = [&](int ACount) {
      for (int i = 0; i < ACount; ++i) {
        bar->SetPosition(i % 101 + (i / 101 % 2 ? 0.5 : 0));
        UpdateWindow(bar->Handle());
      }
    };
    const auto ours = [&] { oursN(Writes); };
    const auto reference = [&] {
      for (int i = 0; i < Writes; ++i) {
        SendMessageW(native, PBM_SETPOS, static_cast<WPARAM>(i % 101), 0);
        UpdateWindow(native);
      }
    };
    oursN(WarmUp);
    std::printf("stdctrls_progressbar benchmark: %d position writes with their repaint, %d x %d\n", Writes, Width,
                Height);
    std::fflush(stdout);
    bench::TRatioReport report("progress bar", "msctls_progress32", Target, 8);
    const double oursMs = bench::BestOf(1, [] {}, ours);
    const double referenceMs = bench::BestOf(1, [] {}, reference);
    report.Add("writes", oursMs, referenceMs);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
