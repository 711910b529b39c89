// The check box's Checked writes next to the native auto check box: 10^4
// writes to a check box like the main window's (UltraFlat, "EEprom"), each
// followed by its repaint, and 10^4 BM_SETCHECK + UpdateWindow on a
// BS_AUTOCHECKBOX of the same size and caption, in the same run. Prints both
// times and the ratio (target at most 2).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxCheckBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Writes = 10000;
constexpr double Target = 2.0;
constexpr int Width = 80, Height = 19;

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 300, 120);
    form->Show();
    auto* box = New<TcxCheckBox>(form.get());
    box->SetParent(form.get());
    box->SetAutoSize(false);
    box->SetBounds(8, 8, Width, Height);
    box->SetCaption(L"EEprom");
    for (TcxContainerStyle* style : {box->Style(), box->StyleDisabled(), box->StyleFocused(), box->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(false);
    const HWND native = CreateWindowExW(0, L"BUTTON", L"EEprom", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8, 40, Width,
                                        Height, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(box->Font()->Handle()), 0);
    UpdateWindow(form->Handle());
    const auto ours = [&] {
      for (int i = 0; i < Writes; ++i) {
        box->SetChecked(i % 2 == 0);
        UpdateWindow(box->Handle());
      }
    };
    const auto reference = [&] {
      for (int i = 0; i < Writes; ++i) {
        SendMessageW(native, BM_SETCHECK, i % 2 == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        UpdateWindow(native);
      }
    };
    ours();
    std::printf("stdctrls_checkbox benchmark: %d Checked writes with their repaint, %d x %d\n", Writes, Width, Height);
    bench::TRatioReport report("check box", "BS_AUTOCHECKBOX", Target, 8);
    const double oursMs = bench::BestOf(3, [] {}, ours);
    const double referenceMs = bench::BestOf(3, [] {}, reference);
    report.Add("writes", oursMs, referenceMs);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
