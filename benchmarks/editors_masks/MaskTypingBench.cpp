// Typing into a date-masked editor (00/00/0000) beside typing into a bare
// native EDIT in the same run: 10^4 posted key pairs, dispatched until the
// queue is empty (target: at most 3.0). Every key of the masked editor goes
// through the classic mode: literals stepped over, blanks written back.
#include "benchmarks/editors_masks/MaskTypingBench.h"

#include "benchmarks/support/Ratios.h"
#include "library/editors/masks/cxMaskEdit.h"
#include "platform/ui/Forms.h"

#include <cstdio>

namespace {

constexpr int MaskKeys = 10000;
constexpr int MaskRuns = 3;

// Keys are posted a batch at a time, each batch dispatched and both texts
// emptied before the next one: the native edit's text grows with every key
// and its single line is laid out again whole per character, so without the
// reset the run would measure that line's length, not the typing.
constexpr int MaskBatch = 250;

void DispatchMaskTyping() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Digits, a Backspace now and then and Home every ninth key, so that the
// mask is filled, partly blanked and typed over again.
template <typename TEmpty>
void PostMaskTyping(HWND AWnd, const TEmpty& AEmpty) {
  for (int i = 0; i < MaskKeys; ++i) {
    if (i % MaskBatch == 0) {
      DispatchMaskTyping();
      AEmpty();
    }
    if (i % 9 == 8) {
      PostMessageW(AWnd, WM_KEYDOWN, VK_HOME, 1);
      PostMessageW(AWnd, WM_KEYUP, VK_HOME, 0xC0000001);
      continue;
    }
    const wchar_t c = i % 13 == 12 ? L'\b' : static_cast<wchar_t>(L'0' + (i * 7) % 10);
    const WORD key = c == L'\b' ? VK_BACK : c;
    PostMessageW(AWnd, WM_KEYDOWN, key, 1);
    PostMessageW(AWnd, WM_CHAR, c, 1);
    PostMessageW(AWnd, WM_KEYUP, key, 0xC0000001);
  }
}

}  // namespace

int RunMaskTyping() {
  FormatSettings.DateSeparator = L'/';
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(0, 0, 400, 100);
  form->Show();
  auto* edit = New<TcxMaskEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 180, 24);
  edit->Properties()->SetEditMask(L"00/00/0000");
  edit->HandleNeeded();
  const HWND inner = edit->InnerControl()->Handle();
  const HWND native = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 200, 10, 180, 20,
                                      form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  bench::TRatioReport report("masked editor", "EDIT", 3.0, 26);
  const double theirs = bench::BestOf(
      MaskRuns,
      [native] {
        SetWindowTextW(native, L"");
        SetFocus(native);
        DispatchMaskTyping();
      },
      [&] {
        PostMaskTyping(native, [native] { SetWindowTextW(native, L""); });
        DispatchMaskTyping();
      });
  const double ours = bench::BestOf(
      MaskRuns,
      [edit, inner] {
        edit->SetText(L"");
        SetFocus(inner);
        DispatchMaskTyping();
      },
      [&] {
        PostMaskTyping(inner, [edit] { edit->SetText(L""); });
        DispatchMaskTyping();
      });
  std::printf("typed: masked editor \"%ls\", EDIT %d characters\n", edit->Text().c_str(),
              GetWindowTextLengthW(native));
  report.Add("10^4 keys typed", ours, theirs);
  DestroyWindow(native);
  return report.Slower();
}
