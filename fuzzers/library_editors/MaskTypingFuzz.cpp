#include "fuzzers/library_editors/MaskTypingFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/editors/masks/cxMaskEdit.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<const wchar_t*, 10> ClassicMasks = {
    L"00/00/0000", L"(999) 000-0000;1;_", L"!>LL<ll\\-00:00;0;*", L"#9AaCcLl0", L"00;x", L"<>C>c<a",
    L"0000000000000000000000000000000000000000;0", L"\\ \\ 0", L"aaaa;1; ", L"!999;0;_"};
constexpr std::array<const wchar_t*, 12> Patterns = {
    L"\\d\\d/\\d\\d/\\d\\d\\d\\d",
    L"'+1 '\\d{3}' '\\d{3}-\\d{4}",
    L"(ab|cd)+[^x-z]{2,5}\\w*",
    L"[-a-c'x''y'\\d/:\\p]+",
    L"(a?){1,}(\\1|b)*c",
    L"((a|b)(c|d)?)\\2\\1{0,3}",
    L"(0?[1-9]|1[012])/(0?[1-9]|[12][0-9]|3[01])/\\d\\d(\\d\\d)?",
    L"abc(def|deg)h",
    L"'COM'\\d{1,3}|'LPT'[1-3]",
    L"x*y?z+",
    L"(\\d{1,3}'.'){3}\\d{1,3}",
    L"a|A|b"};
constexpr std::array<wchar_t, 20> Chars = {L'1', L'0', L'9', L'5', L'a', L'A', L'b', L'c', L'd', L'x',
                                           L'/', L':', L'.', L'-', L' ', L'C', L'o', L'm', L'\b', L'z'};
constexpr std::array<WORD, 8> Keys = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_UP, VK_DOWN};
constexpr std::array<const wchar_t*, 4> Pastes = {L"12/31/1999", L"abcd", L"COM7", L"9x9"};

class TMaskTypingWatcher : public TObject {
  SK_CLASS(TMaskTypingWatcher, TObject)
 public:
  void Raised(TObject*, const Exception& E) {
    std::fprintf(stderr, "unexpected exception: %ls\n", E.Message().c_str());
    FuzzInvariantBroken("an exception reached the application");
  }
};

void DispatchMaskTyping() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A key with the modifiers held in the thread's keyboard state, which is
// what the editor reads for Shift and Ctrl.
void SendMaskKey(HWND AWnd, WORD AKey, bool AShift, bool ACtrl) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = AShift ? 0x80 : 0;
  state[VK_CONTROL] = ACtrl ? 0x80 : 0;
  SetKeyboardState(state);
  SendMessageW(AWnd, WM_KEYDOWN, AKey, 1);
  DispatchMaskTyping();
  SendMessageW(AWnd, WM_KEYUP, AKey, 0xC0000001);
  state[VK_SHIFT] = state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

void CheckMaskModel(TcxMaskEdit* AEdit, bool AAfterKey) {
  if (!AEdit->IsMasked()) return;
  const String text = AEdit->EditText();
  if (auto* standard = dynamic_cast<TcxMaskEditStandardMode*>(AEdit->Mode())) {
    if (text.size() != standard->Mask()->FullEmptyString().size())
      FuzzInvariantBroken("a classic mask's text changed its length");
    return;
  }
  auto* regExpr = dynamic_cast<TcxMaskEditRegExprMode*>(AEdit->Mode());
  // A click or a paste leaves the mode to rebuild its model at the next key.
  if (!regExpr || !AAfterKey) return;
  if (regExpr->Head() + regExpr->Tail() != text) {
    std::fprintf(stderr, "text \"%ls\", head \"%ls\", tail \"%ls\"\n", text.c_str(), regExpr->Head().c_str(),
                 regExpr->Tail().c_str());
    FuzzInvariantBroken("head and tail are not the text");
  }
}

}  // namespace

std::vector<std::string> MaskTypingSeeds() {
  return {std::string("\x00\x00\x00\x01\x00\x02\x00\x03\x01\x00\x00\x04\x01\x02", 14),
          std::string("\x01\x00\x00\x00\x00\x01\x01\x04\x00\x0A\x02\x12\x01\x01\x03\x01", 16),
          std::string("\x02\x06\x00\x00\x00\x02\x00\x0A\x01\x02\x01\x05\x00\x01\x03\x00\x01\x00", 18),
          std::string("\x01\x07\x00\x04\x00\x05\x00\x07\x01\x02\x01\x02\x05\x0A\x00\x07\x00\x09", 18),
          std::string("\x02\x08\x00\x0F\x00\x10\x00\x11\x00\x01\x04\x03\x01\x00\x01\x00", 16)};
}

void RunMaskTyping(const std::string& AInput) {
  if (AInput.size() < 2) return;
  static TOwned<TForm> form;
  static TOwned<TMaskTypingWatcher> watcher;
  if (!form) {
    watcher.reset(New<TMaskTypingWatcher>());
    form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(10, 10, 300, 100);
    form->Show();
  }
  Application()->SetOnException(BindEvent<&TMaskTypingWatcher::Raised>(watcher.get()));
  const auto kind = static_cast<TcxEditMaskKind>(static_cast<unsigned char>(AInput[0]) % 3);
  const auto pick = static_cast<unsigned char>(AInput[1]);
  auto* edit = New<TcxMaskEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 200, 21);
  TcxMaskEditProperties* properties = edit->Properties();
  properties->BeginUpdate();
  properties->SetMaskKind(kind);
  try {
    properties->SetEditMask(kind == emkStandard ? ClassicMasks[pick % ClassicMasks.size()]
                                                : Patterns[pick % Patterns.size()]);
  } catch (const EcxMaskEditError&) {
    // A pattern the engine refuses leaves the editor unmasked, which is typed at as well.
  }
  properties->SetCaseInsensitive(pick % 2 == 0);
  properties->EndUpdate();
  edit->SetFocus();
  DispatchMaskTyping();
  const HWND wnd = edit->InnerControl()->Handle();
  for (std::size_t at = 2; at + 2 <= AInput.size(); at += 2) {
    const auto op = static_cast<unsigned char>(AInput[at]);
    const auto arg = static_cast<unsigned char>(AInput[at + 1]);
    if (!IsWindow(wnd)) break;
    bool key = true;
    switch (op % 5) {
      case 0:
        SendMessageW(wnd, WM_CHAR, Chars[arg % Chars.size()], 1);
        break;
      case 1:
      case 2:
        SendMaskKey(wnd, Keys[arg % Keys.size()], (arg >> 4) & 1, (arg >> 5) & 1);
        break;
      case 3:
        // A selection made from outside, as a click or a drag leaves it.
        SendMessageW(wnd, EM_SETSEL, arg % 12, (arg >> 4) % 12);
        key = false;
        break;
      default:
        if (arg % 2) {
          Clipboard()->SetAsText(Pastes[(arg >> 1) % Pastes.size()]);
          SendMessageW(wnd, WM_PASTE, 0, 0);
        } else {
          SendMessageW(wnd, WM_CUT, 0, 0);
        }
        key = false;
        break;
    }
    DispatchMaskTyping();
    CheckMaskModel(edit, key);
  }
  edit->Free();
  DispatchMaskTyping();
}
