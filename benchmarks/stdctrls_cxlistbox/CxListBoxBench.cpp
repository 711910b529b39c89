// The list box's items next to the bare list box: 10^4 lines through
// Items.Add on a TcxListBox and 10^4 LB_ADDSTRING on a LISTBOX window of the
// same client size, both shown, in the same run. Prints both times and the
// ratio (target at most 1.2). Under Wine and Xvfb one line costs either side
// some 10 ms (the bar and the list redraw at once), so each side runs once:
// the program takes a few minutes.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxListBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <string>

namespace {

constexpr int Lines = 10000;
constexpr double Target = 1.2;
constexpr int Width = 200, Height = 300;

std::wstring LineText(int AIndex) { return L"Zeile " + std::to_wstring(AIndex) + L": Seite geschrieben"; }

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 460, 360);
    form->Show();
    auto* list = New<TcxListBox>(form.get());
    list->SetParent(form.get());
    list->SetBounds(8, 8, Width + 2, Height + 2);
    const TRect client = list->InnerListBox()->ClientRect();
    const HWND native = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                        Width + 20, 8, client.Width() + GetSystemMetrics(SM_CXVSCROLL),
                                        client.Height(), form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(list->InnerListBox()->Font()->Handle()), FALSE);
    UpdateWindow(form->Handle());
    const auto ours = [&] {
      for (int i = 0; i < Lines; ++i) list->Items()->Add(LineText(i));
      UpdateWindow(list->InnerListBox()->Handle());
    };
    const auto reference = [&] {
      for (int i = 0; i < Lines; ++i) {
        const std::wstring text = LineText(i);
        SendMessageW(native, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      UpdateWindow(native);
    };
    std::printf("stdctrls_cxlistbox benchmark: %d lines added to a %d x %d list\n", Lines, Width, Height);
    std::fflush(stdout);
    bench::TRatioReport report("Items.Add", "LB_ADDSTRING", Target, 8);
    const double oursMs = bench::BestOf(1, [&] { list->Clear(); }, ours);
    const double referenceMs = bench::BestOf(1, [&] { SendMessageW(native, LB_RESETCONTENT, 0, 0); }, reference);
    report.Add("lines", oursMs, referenceMs);
    const LRESULT count = SendMessageW(list->InnerListBox()->Handle(), LB_GETCOUNT, 0, 0);
    std::printf("items in the window: %ld of %d\n", static_cast<long>(count), Lines);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
