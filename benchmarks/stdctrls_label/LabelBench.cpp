// The label's repaint next to plain text drawing: 10^4 repaints
// (InvalidateRect + UpdateWindow) of a TcxLabel showing one caption in
// Tahoma, and 10^4 of a STATIC window of the same size, font and text, whose
// paint is one DrawTextW, in the same run. Prints both times and the ratio
// (target at most 2).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxLabel.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Repaints = 10000;
constexpr double Target = 2.0;
constexpr int Width = 240, Height = 20;
constexpr const wchar_t* Caption = L"Firmware: skarnivel-atxmega128a1.hex";

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 300, 120);
    form->Font()->SetName(L"Tahoma");
    form->Font()->SetHeight(-11);
    form->Show();
    auto* label = New<TcxLabel>(form.get());
    label->SetParent(form.get());
    label->SetAutoSize(false);
    label->SetBounds(8, 8, Width, Height);
    label->SetCaption(Caption);
    const HWND native = CreateWindowExW(0, L"STATIC", Caption, WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 40, Width, Height,
                                        form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()->Handle()), FALSE);
    UpdateWindow(form->Handle());
    const auto ours = [&] {
      for (int i = 0; i < Repaints; ++i) {
        InvalidateRect(label->Handle(), nullptr, TRUE);
        UpdateWindow(label->Handle());
      }
    };
    const auto reference = [&] {
      for (int i = 0; i < Repaints; ++i) {
        InvalidateRect(native, nullptr, TRUE);
        UpdateWindow(native);
      }
    };
    std::printf("stdctrls_label benchmark: %d repaints of a %d x %d label\n", Repaints, Width, Height);
    std::fflush(stdout);
    bench::TRatioReport report("label", "STATIC/DrawTextW", Target, 8);
    const double oursMs = bench::BestOf(1, [] {}, ours);
    const double referenceMs = bench::BestOf(1, [] {}, reference);
    report.Add("repaints", oursMs, referenceMs);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
