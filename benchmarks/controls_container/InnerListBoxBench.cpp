// 1,000 lines added one at a time to a container's inner list box, beside a
// plain LISTBOX of the same size in the same run. Target: at most 2 x.
// (Each add to a shown list costs Wine about 14 ms on both sides, so 1,000
// lines keep a run near a minute.)
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/controls/container/cxContainer.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 3;
constexpr int Lines = 1000;

class TListHost : public TcxContainer {
  SK_CLASS(TListHost, TcxContainer)
 public:
  TcxCustomInnerListBox* List = nullptr;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    List = New<TcxCustomInnerListBox>(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
};

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits(), LibraryControlsUnits()});
  int slower = 0;
  {
    std::vector<String> lines;
    for (int i = 0; i < Lines; ++i) lines.push_back(L"Page " + IntToStr(i) + L" written and verified");
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(50, 50, 700, 300);
    form->Show();
    auto* host = New<TListHost>(form.get());
    host->SetParent(form.get());
    host->SetBounds(10, 10, 313, 185);
    const HWND plain = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                       340, 10, 313, 185, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    std::printf("controls_container benchmark: %d lines added one at a time (best of %d runs)\n", Lines, Runs);
    bench::TRatioReport report("inner list box", "LISTBOX", 2.0, 8);
    const double ours = bench::BestOf(Runs, [&] { host->List->Clear(); }, [&] {
      for (const String& line : lines) host->List->Items()->Add(line);
    });
    const double reference = bench::BestOf(Runs, [&] { SendMessageW(plain, LB_RESETCONTENT, 0, 0); }, [&] {
      for (const String& line : lines) SendMessageW(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    });
    report.Add("add", ours, reference);
    slower = report.Slower();
    DestroyWindow(plain);
  }
  FinalizeUnits();
  return slower == 0 ? 0 : 1;
}
