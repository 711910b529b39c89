// The editor model's two hot paths beside what Windows does for the same job
// in the same run:
// - 10^5 EditValue writes of alternating integers to an editor whose
//   OnEditValueChanged is assigned, beside 10^5 WM_SETTEXT to a native EDIT
//   whose parent handles EN_CHANGE (target: at most 1.0);
// - one properties change reaching 200 editors that share a repository item,
//   beside WM_SETFONT sent to 200 native EDIT windows (target: at most 3.0).
// Each line prints the best of several runs and the ratio.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/graphics/GraphicsUnits.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int Writes = 100000;
constexpr int Editors = 200;
constexpr int Runs = 5;
// Wine's EDIT takes about half a millisecond per WM_SETTEXT: one run of 10^5 is enough.
constexpr int NativeTextRuns = 1;

// Properties that compare values, as every concrete editor kind's do.
class TBenchProperties : public TcxCustomEditProperties {
  SK_CLASS(TBenchProperties, TcxCustomEditProperties)
 public:
  bool CanCompareEditValue() override { return true; }
  bool HasOwnChangeNotification() override { return true; }
};

class TBenchEdit : public TcxCustomEdit {
  SK_CLASS(TBenchEdit, TcxCustomEdit)
 public:
  TClass GetPropertiesClass() override { return TBenchProperties::ClassInfo(); }
};

class TBenchItem : public TcxEditRepositoryItem {
  SK_CLASS(TBenchItem, TcxEditRepositoryItem)
 protected:
  TClass EditPropertiesClass() override { return TBenchProperties::ClassInfo(); }
};

class TCounter : public TObject {
  SK_CLASS(TCounter, TObject)
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

int GChanges;

LRESULT CALLBACK ParentProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_COMMAND && HIWORD(AWParam) == EN_CHANGE) {
    ++GChanges;
    return 0;
  }
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}

HWND NativeParent() {
  WNDCLASSW cls = {};
  cls.lpfnWndProc = ParentProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"EditBenchParent";
  RegisterClassW(&cls);
  return CreateWindowW(L"EditBenchParent", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                       cls.hInstance, nullptr);
}

HWND NativeEdit(HWND AParent, int AIndex) {
  return CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, AIndex % 10 * 20, 100, 20, AParent,
                       nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Run() {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(0, 0, 400, 300);
  form->Show();
  TOwned<TCounter> counter(New<TCounter>());
  HWND parent = NativeParent();

  bench::TRatioReport values("editor", "EDIT", 1.0, 26);
  auto* edit = New<TBenchEdit>(form.get());
  edit->SetParent(form.get());
  edit->InternalProperties()->SetOnEditValueChanged(BindEvent<&TCounter::Changed>(counter.get()));
  HWND native = NativeEdit(parent, 0);
  const double ours = bench::BestOf(Runs, [] {}, [&] {
    for (int i = 0; i < Writes; ++i) edit->SetEditValue(Variant(i & 1));
  });
  const double windows = bench::BestOf(NativeTextRuns, [] {}, [&] {
    for (int i = 0; i < Writes; ++i) SendMessageW(native, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(i & 1 ? L"1" : L"0"));
  });
  values.Add("10^5 value writes", ours, windows);
  std::printf("events: %d OnEditValueChanged, %d EN_CHANGE\n", counter->Count, GChanges);

  bench::TRatioReport settings("editors", "EDITs", 3.0, 26);
  auto* repository = New<TcxEditRepository>(form.get());
  TcxEditRepositoryItem* item = repository->CreateItem(TBenchItem::ClassInfo());
  std::vector<HWND> natives;
  for (int i = 0; i < Editors; ++i) {
    auto* shared = New<TBenchEdit>(form.get());
    shared->SetParent(form.get());
    shared->SetBounds(120, i % 10 * 20, 100, 20);
    shared->SetRepositoryItem(item);
    natives.push_back(NativeEdit(parent, i));
  }
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  bool beep = false;
  const double change = bench::BestOf(Runs, [] {}, [&] {
    beep = !beep;
    item->Properties()->SetBeepOnError(beep);
  });
  const double setFont = bench::BestOf(Runs, [] {}, [&] {
    for (HWND w : natives) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  });
  settings.Add("one change to 200 editors", change, setFont);
  DestroyWindow(parent);
}

}  // namespace

int wmain() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits(),
                   LibraryEditorsUnits()});
  Run();
  FinalizeUnits();
  return 0;
}
