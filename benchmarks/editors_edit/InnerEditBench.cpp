// Typing into a text editor's edit window beside typing into a bare native
// EDIT in the same run: 10^4 posted WM_KEYDOWN/WM_CHAR pairs, dispatched
// until the queue is empty (target: at most 2.0). Every key passes the
// editor's key handlers and its inner-message hook on the way.
#include "benchmarks/support/Ratios.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/ui/Forms.h"

#include <cstdio>

namespace {

constexpr int Keys = 10000;
constexpr int TypingRuns = 3;

// Every hundredth key the text is selected, so the next one replaces it: the
// text stays short, as in a real edit, instead of growing to 10^4 characters.
void PostTyping(HWND AWnd) {
  for (int i = 0; i < Keys; ++i) {
    if (i % 100 == 99) PostMessageW(AWnd, EM_SETSEL, 0, -1);
    const wchar_t c = static_cast<wchar_t>(L'a' + i % 26);
    PostMessageW(AWnd, WM_KEYDOWN, 'A' + i % 26, 1);
    PostMessageW(AWnd, WM_CHAR, c, 1);
  }
}

void DispatchAll() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

void RunInnerEditTyping() {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(0, 0, 400, 100);
  form->HandleNeeded();
  auto* edit = New<TcxCustomTextEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 180, 24);
  edit->HandleNeeded();
  const HWND inner = edit->InnerControl()->Handle();
  const HWND native = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 200, 10, 180, 20,
                                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  const auto clear = [](HWND AWnd) {
    return [AWnd] {
      SetWindowTextW(AWnd, L"");
      DispatchAll();
    };
  };
  bench::TRatioReport report("editor", "EDIT", 2.0, 26);
  const double theirs = bench::BestOf(TypingRuns, clear(native), [&] {
    PostTyping(native);
    DispatchAll();
  });
  const double ours = bench::BestOf(TypingRuns, clear(inner), [&] {
    PostTyping(inner);
    DispatchAll();
  });
  std::printf("typed: editor %d, EDIT %d characters\n", GetWindowTextLengthW(inner), GetWindowTextLengthW(native));
  report.Add("10^4 keys typed", ours, theirs);
  DestroyWindow(native);
}
