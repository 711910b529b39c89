// The group box's repaint next to the native group box: 10^4 invalidations
// and repaints of the main window's first group box (201 x 89, captioned,
// the flat frame) and of a BS_GROUPBOX button window of the same size and
// caption, in the same run. Prints both times and the ratio (target at most 2).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxGroupBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Repaints = 10000;
constexpr double Target = 2.0;
constexpr int Width = 201, Height = 89;

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 460, 140);
    form->Show();
    auto* box = New<TcxGroupBox>(form.get());
    for (TcxContainerStyle* style : {box->Style(), box->StyleDisabled(), box->StyleFocused(), box->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(false);
    box->SetParent(form.get());
    box->SetBounds(8, 8, Width, Height);
    box->SetCaption(L"Verbindungsparameter");
    const HWND native = CreateWindowExW(0, L"BUTTON", L"Verbindungsparameter", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                        220, 8, Width, Height, form->Handle(), nullptr, GetModuleHandleW(nullptr),
                                        nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(box->CaptionFont()->Handle()), FALSE);
    UpdateWindow(form->Handle());
    const auto repaint = [](HWND AWindow) {
      return [AWindow] {
        for (int i = 0; i < Repaints; ++i) {
          InvalidateRect(AWindow, nullptr, TRUE);
          UpdateWindow(AWindow);
        }
      };
    };
    const auto ours = repaint(box->Handle());
    const auto reference = repaint(native);
    ours();
    std::printf("stdctrls_groupbox benchmark: %d repaints, %d x %d\n", Repaints, Width, Height);
    bench::TRatioReport report("group box", "BS_GROUPBOX", Target, 8);
    const double oursMs = bench::BestOf(3, [] {}, ours);
    const double referenceMs = bench::BestOf(3, [] {}, reference);
    report.Add("repaints", oursMs, referenceMs);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
