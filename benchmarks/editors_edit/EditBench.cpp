// The editor model's two hot paths beside what Windows does for the same job
// in the same run:
// - 10^5 EditValue writes of alternating integers to an editor whose
//   OnEditValueChanged is assigned, beside 10^5 WM_SETTEXT to a native EDIT
//   whose parent handles EN_CHANGE (target: at most 1.0);
// - one properties change reaching 200 editors that share a repository item,
//   beside WM_SETFONT sent to 200 native EDIT windows (target: at most 3.0);
// - 10^4 paints of a 121 x 21 editor with a drop-down button into a memory DC,
//   its record calculated normal and hot (at a point over the button) by
//   turns, beside 10^4 WM_PRINTCLIENT to a native drop-down-list COMBOBOX of
//   the same size (target: at most 1.0); the paint alone and the calculation
//   alone are printed beside it, to show where the time goes.
// Each line prints the best of several runs and the ratio.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/canvas/cxGraphics.h"
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
constexpr int Paints = 10000;
constexpr int PaintWidth = 121, PaintHeight = 21;

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

// Lays itself out at a point as a mouse move over it would.
class TPaintedEdit : public TcxCustomEdit {
  SK_CLASS(TPaintedEdit, TcxCustomEdit)
 public:
  void CalculateAt(const TPoint& P) { CalculateViewInfoAt(ViewInfo(), P, cxmbNone, {}, true); }
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

// A surface of the painted size in a memory DC, filled with a colour that
// neither painter uses, so that "it drew" can be counted.
class TPaintTarget {
 public:
  static constexpr COLORREF Blank = RGB(1, 254, 3);

  TPaintTarget() : FBitmap(CreateBitmapWithFormat(PaintWidth, PaintHeight, pf32bit)) { Clear(); }
  HDC DC() const { return FBitmap->Canvas()->Handle(); }
  TCanvas* Canvas() const { return FBitmap->Canvas(); }
  void Clear() const {
    const TOwnedBrush blank(CreateSolidBrush(Blank));
    const RECT all{0, 0, PaintWidth, PaintHeight};
    ::FillRect(DC(), &all, blank.Get());
  }
  int Drawn() const {
    int result = 0;
    for (int y = 0; y < PaintHeight; ++y)
      for (int x = 0; x < PaintWidth; ++x) result += GetPixel(DC(), x, y) != Blank;
    return result;
  }

 private:
  TOwned<TBitmap> FBitmap;
};

HWND NativeComboBox(HWND AParent) {
  const HWND result = CreateWindowW(L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, PaintWidth, 200,
                                    AParent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(result, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  SendMessageW(result, CB_SETCURSEL, 0, 0);
  // The closed box's height follows its selection field's item height, by a
  // margin that the first change alters: adjusted until it fits.
  auto height = [result] {
    RECT r{};
    GetWindowRect(result, &r);
    return static_cast<int>(r.bottom - r.top);
  };
  auto asked = static_cast<int>(SendMessageW(result, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int tries = 0; tries < 4 && height() != PaintHeight; ++tries) {
    asked += PaintHeight - height();
    SendMessageW(result, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
  }
  return result;
}

void RunPaint() {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(0, 0, 400, 300);
  form->Show();
  auto* edit = NewWith<TPaintedEdit>([&](TPaintedEdit* e) { e->Create(form.get()); });
  edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
  edit->Style()->LookAndFeel()->SetNativeStyle(false);
  edit->Style()->SetBorderStyle(ebsUltraFlat);
  edit->ActiveProperties()->Buttons()->Add()->SetKind(bkDown);
  edit->SetParent(form.get());
  // The bare kind measures no content: sized by it, it would shrink to its frame.
  edit->SetAutoSize(false);
  edit->SetBounds(20, 20, PaintWidth, PaintHeight);
  const HWND parent = NativeParent();
  const HWND combo = NativeComboBox(parent);

  TcxCustomEditViewInfo* vi = edit->ViewInfo();
  const TPoint away(PaintWidth / 2, PaintHeight + 40);
  const TPoint overButton(PaintWidth - 10, PaintHeight / 2);
  const TPoint points[] = {away, overButton};

  const TPaintTarget ours, theirs;
  const TOwned<TcxCanvas> canvas(New<TcxCanvas>(ours.Canvas()));
  edit->CalculateAt(overButton);
  vi->Paint(canvas.get());
  const bool hot = vi->SelectedButton == 0;
  SendMessageW(combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(theirs.DC()), PRF_CLIENT);
  RECT comboRect{};
  GetWindowRect(combo, &comboRect);
  std::printf("drawn pixels: editor %d (hot record: %s), COMBOBOX %d (%ld x %ld); of %d\n", ours.Drawn(),
              hot ? "yes" : "NO", theirs.Drawn(), comboRect.right - comboRect.left, comboRect.bottom - comboRect.top,
              PaintWidth * PaintHeight);

  bench::TRatioReport report("editor", "COMBOBOX", 1.0, 26);
  const double native = bench::BestOf(Runs, [] {}, [&] {
    for (int i = 0; i < Paints; ++i)
      SendMessageW(combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(theirs.DC()), PRF_CLIENT);
  });
  report.Add("10^4 paints, normal/hot", bench::BestOf(Runs, [] {}, [&] {
               for (int i = 0; i < Paints; ++i) {
                 edit->CalculateAt(points[i & 1]);
                 vi->Paint(canvas.get());
               }
             }),
             native);
  // The two halves of the line above: each record laid out once and painted
  // half the times; and the layouts alone.
  report.Add("  of which the paints", bench::BestOf(Runs, [] {}, [&] {
               for (const TPoint& p : points) {
                 edit->CalculateAt(p);
                 for (int i = 0; i < Paints / 2; ++i) vi->Paint(canvas.get());
               }
             }),
             native);
  report.Add("  of which the layouts", bench::BestOf(Runs, [] {}, [&] {
               for (int i = 0; i < Paints; ++i) edit->CalculateAt(points[i & 1]);
             }),
             native);
  DestroyWindow(parent);
}

}  // namespace

void RunInnerEditTyping();  // InnerEditBench.cpp
void RunLookupLocate();     // LookupBench.cpp
void RunListTyping();       // TextEditBench.cpp

int wmain() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits(),
                   LibraryEditorsUnits()});
  Run();
  RunPaint();
  RunInnerEditTyping();
  RunLookupLocate();
  RunListTyping();
  FinalizeUnits();
  return 0;
}
