// Painting the check combo box's open list next to a native report list view
// with check boxes: the same 20 captions (every third checked) in windows of
// the same size and font, each repainted in full 10^3 times. Prints both
// times and the ratio (target at most 2).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxCheckComboBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int Rows = 20;
constexpr int Paints = 1000;
constexpr double Target = 2.0;

std::wstring Caption(int AIndex) { return L"Port option " + std::to_wstring(AIndex); }

// Runs the thread's messages until ADone holds or a few seconds passed.
template <class F>
bool PumpUntilDone(F ADone) {
  const ULONGLONG until = GetTickCount64() + 5000;
  while (!ADone() && GetTickCount64() < until) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return ADone();
}

void Repaint(HWND AWindow) {
  RedrawWindow(AWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(40, 40, 600, 560);
    form->Show();
    auto* box = New<TcxCheckComboBox>(form.get());
    box->SetParent(form.get());
    box->Style()->LookAndFeel()->SetNativeStyle(false);
    box->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    box->SetBounds(10, 10, 200, 21);
    box->Properties()->SetDropDownRows(Rows);
    for (int i = 0; i < Rows; ++i) box->Properties()->Items()->AddCheckItem(Caption(i).c_str());
    for (int i = 0; i < Rows; i += 3) box->SetItemState(i, cbsChecked);
    box->SetFocus();
    box->SetDroppedDown(true);
    if (!PumpUntilDone([&] { return box->DroppedDown(); })) {
      std::printf("the list did not open: no comparison\n");
      return 1;
    }
    TcxCustomEditListBox* list = box->LookupData()->List();
    const HWND ours = list->Handle();
    RECT client{};
    GetClientRect(ours, &client);

    const HWND native = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
                                        300, 40, client.right, client.bottom, form->Handle(), nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(list->Font()->Handle()), FALSE);
    SendMessageW(native, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = client.right;
    SendMessageW(native, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < Rows; ++i) {
      std::wstring text = Caption(i);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = text.data();
      SendMessageW(native, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      // The check box is state image 2 when checked, 1 when not.
      LVITEMW state{};
      state.stateMask = LVIS_STATEIMAGEMASK;
      state.state = INDEXTOSTATEIMAGEMASK(i % 3 == 0 ? 2 : 1);
      SendMessageW(native, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
    }
    PumpUntilDone([] { return false; });

    std::printf("stdctrls_checkcombo benchmark: %d paints of %d rows in %ld x %ld\n", Paints, Rows, client.right,
                client.bottom);
    bench::TRatioReport report("check list", "list view", Target, 8);
    const double oursMs = bench::BestOf(3, [] {}, [&] {
      for (int i = 0; i < Paints; ++i) Repaint(ours);
    });
    const double nativeMs = bench::BestOf(3, [] {}, [&] {
      for (int i = 0; i < Paints; ++i) Repaint(native);
    });
    report.Add("paint", oursMs, nativeMs);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    box->ClosePopup(crUnknown);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
