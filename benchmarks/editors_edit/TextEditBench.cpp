// Typing into a baud-rate editor (the baud items, esEditList) beside typing
// into a bare native EDIT in the same run: 10^4 posted WM_KEYDOWN/WM_CHAR
// pairs, dispatched until the queue is empty (target: at most 3.0). Every
// character of the editor runs an incremental search over its items.
#include "benchmarks/support/Ratios.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/ui/Forms.h"

#include <cstdio>

namespace {

constexpr int ListKeys = 10000;
constexpr int ListRuns = 3;

class TBenchListProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TBenchListProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return esEditList; }
};

class TBenchListEdit : public TcxCustomTextEdit {
  SK_CLASS(TBenchListEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TBenchListProperties::ClassInfo(); }
};

// Digits with a Backspace now and then, and a select-all every hundredth
// key, so that the search both finds and misses.
void PostListTyping(HWND AWnd) {
  for (int i = 0; i < ListKeys; ++i) {
    if (i % 100 == 99) PostMessageW(AWnd, EM_SETSEL, 0, -1);
    const wchar_t c = i % 7 == 6 ? L'\b' : static_cast<wchar_t>(L'0' + (i * 7) % 10);
    PostMessageW(AWnd, WM_KEYDOWN, c == L'\b' ? VK_BACK : c, 1);
    PostMessageW(AWnd, WM_CHAR, c, 1);
  }
}

void DispatchListTyping() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

void RunListTyping() {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(0, 0, 400, 100);
  form->HandleNeeded();
  auto* edit = New<TBenchListEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 180, 24);
  edit->ActiveProperties()->LookupItems()->SetText(
      L"9600\n19200\n38400\n57600\n100000\n115200\n200000\n230400\n460800\n500000\n576000\n921600\n1000000\n"
      L"1500000\n2000000");
  edit->HandleNeeded();
  const HWND inner = edit->InnerControl()->Handle();
  const HWND native = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 200, 10, 180, 20,
                                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  bench::TRatioReport report("baud editor", "EDIT", 3.0, 26);
  const double theirs = bench::BestOf(ListRuns, [native] { SetWindowTextW(native, L""); DispatchListTyping(); }, [&] {
    PostListTyping(native);
    DispatchListTyping();
  });
  const double ours = bench::BestOf(ListRuns, [edit] { edit->SetText(L""); DispatchListTyping(); }, [&] {
    PostListTyping(inner);
    DispatchListTyping();
  });
  std::printf("typed: baud editor \"%ls\", EDIT %d characters\n", edit->Text().c_str(), GetWindowTextLengthW(native));
  report.Add("10^4 characters typed", ours, theirs);
  DestroyWindow(native);
}
