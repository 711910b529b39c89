#include "fuzzers/library_editors/EditInputFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEdit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <array>
#include <cstdio>

namespace {

class TFuzzEditProperties : public TcxCustomEditProperties {
  SK_CLASS(TFuzzEditProperties, TcxCustomEditProperties)
 public:
  bool CanCompareEditValue() override { return true; }
  bool ValidatesDisplayValue() override { return true; }
  bool IsResetEditClass() override { return true; }
};

// Types printable characters into its text; every key reaches it.
class TFuzzEdit : public TcxCustomEdit {
  SK_CLASS(TFuzzEdit, TcxCustomEdit)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetKeys({kAll, kArrows, kChars, kTab});
  }
  TClass GetPropertiesClass() override { return TFuzzEditProperties::ClassInfo(); }
  String Text;

 protected:
  void ProcessKeyPress(wchar_t& Key) override {
    inherited::ProcessKeyPress(Key);
    if (Key < L' ' || !DoEditing()) return;
    Text += Key;
    SetInternalEditValue(Variant(Text));
  }
  bool IsEditingChar(wchar_t Key) override { return Key >= L' '; }
  void GetDisplayString(String& AText) override { AText = Text; }
  void SyncDisplayValue() override { Text = VarToStr(EditValue()); }
  void SetDisplayText(const String& AText) override { Text = AText; }
  void ApplyDisplayValue(const Variant& AValue) override { Text = VarToStr(AValue); }
};

// Rejects a value holding 'z' (with a text every other time) and lets the
// validation error be the one exception the application may see.
class TFuzzWatcher : public TObject {
  SK_CLASS(TFuzzWatcher, TObject)
 public:
  int Rejections = 0;
  void Validate(TObject*, Variant& ADisplayValue, String& AErrorText, bool& AError) {
    if (VarToStr(ADisplayValue).find(L'z') == String::npos) return;
    AError = true;
    if (++Rejections % 2 == 0) AErrorText = L"no z";
  }
  void Raised(TObject*, const Exception& E) {
    if (!dynamic_cast<const EcxEditValidationError*>(&E) && !dynamic_cast<const EAbort*>(&E)) {
      std::fprintf(stderr, "unexpected exception: %ls\n", E.Message().c_str());
      FuzzInvariantBroken("an exception other than the validation error reached the application");
    }
  }
};

constexpr std::array<WORD, 20> Keys = {VK_RETURN, VK_ESCAPE, VK_TAB,  VK_INSERT, VK_DELETE, VK_PRIOR, VK_NEXT,
                                       VK_END,    VK_HOME,   VK_LEFT, VK_UP,     VK_RIGHT,  VK_DOWN,  VK_F5,
                                       VK_F8,     'A',       'J',     VK_BACK,   VK_SPACE,  VK_SHIFT};
constexpr std::array<wchar_t, 10> Chars = {L'a', L'z', L'1', L'\r', L'\x1B', L'\t', L'\n', L' ', L'g', L'\b'};
constexpr std::array<UINT, 3> Clipboard = {WM_COPY, WM_CUT, WM_PASTE};

void SetModifiers(BYTE AMask) {
  BYTE state[256];
  if (!GetKeyboardState(state)) return;
  state[VK_SHIFT] = (AMask & 1) ? 0x80 : 0;
  state[VK_CONTROL] = (AMask & 2) ? 0x80 : 0;
  state[VK_MENU] = (AMask & 4) ? 0x80 : 0;
  SetKeyboardState(state);
}

// The application's own step: key reflection and dialog characters too.
void DispatchPending() { Application()->ProcessMessages(); }

}  // namespace

std::vector<std::string> EditInputSeeds() {
  return {std::string("\x00\x00\x01\x01\x02\x00\x03\x01", 8), std::string("\x07\x02\x00\x10\x07\x00\x00\x01\x01\x01", 10),
          std::string("\x01\x00\x00\x01\x05\x09\x06\x01\x00\x02\x03\x00", 12)};
}

void RunEditInput(const std::string& AInput) {
  static TOwned<TForm> form;
  static TOwned<TFuzzWatcher> watcher;
  if (!form) {
    watcher.reset(New<TFuzzWatcher>());
    form.reset(New<TForm>(nullptr));
    form->SetBounds(10, 10, 300, 200);
    form->Show();
  }
  Application()->SetOnException(BindEvent<&TFuzzWatcher::Raised>(watcher.get()));
  auto* edit = NewWith<TFuzzEdit>([](TFuzzEdit* e) { e->Create(form.get()); });
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 200, 21);
  auto* other = NewWith<TEdit>([](TEdit* e) { e->Create(form.get()); });
  other->SetParent(form.get());
  other->SetBounds(10, 60, 100, 21);
  TcxCustomEditProperties* properties = edit->ActiveProperties();
  properties->SetOnValidate(BindEvent<&TFuzzWatcher::Validate>(watcher.get()));
  properties->SetClearKey(VK_F8);
  properties->SetImmediatePost(AInput.size() % 3 == 0);
  auto* defaultButton = static_cast<TcxEditButton*>(properties->Buttons()->Add());
  defaultButton->SetDefault(true);
  auto* textButton = static_cast<TcxEditButton*>(properties->Buttons()->Add());
  textButton->SetKind(bkText);
  textButton->SetCaption(L"&Go");
  properties->SetValidationOptions(AInput.size() % 2 ? TcxEditValidationOptions{evoRaiseException}
                                                     : TcxEditValidationOptions{evoAllowLoseFocus});
  const HWND wnd = edit->Handle();
  const int w = edit->Width(), h = edit->Height();
  const std::array<TPoint, 4> points = {TPoint(20, h / 2), TPoint(w - 5, h / 2), TPoint(w - 25, h / 2),
                                        TPoint(0, 0)};
  for (std::size_t at = 0; at + 2 <= AInput.size(); at += 2) {
    const auto op = static_cast<unsigned char>(AInput[at]);
    const auto arg = static_cast<unsigned char>(AInput[at + 1]);
    if (!IsWindow(wnd)) break;
    switch (op % 9) {
      case 0: {
        const WORD key = Keys[arg % Keys.size()];
        SendMessageW(wnd, WM_KEYDOWN, key, 1);
        SendMessageW(wnd, WM_KEYUP, key, 0xC0000001);
        break;
      }
      case 1:
        SendMessageW(wnd, WM_CHAR, Chars[arg % Chars.size()], 1);
        break;
      case 2:
      case 3: {
        const TPoint p = points[arg % points.size()];
        const LPARAM l = MAKELPARAM(p.X, p.Y);
        SendMessageW(wnd, (arg & 0x10) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, l);
        if (op % 9 == 2) SendMessageW(wnd, WM_LBUTTONUP, 0, (arg & 0x20) ? MAKELPARAM(w + 40, h + 40) : l);
        break;
      }
      case 4:
        switch (arg % 3) {
          case 0: edit->SetFocus(); break;
          case 1: other->SetFocus(); break;
          default: ::SetFocus(nullptr); break;
        }
        break;
      case 5:
        SendMessageW(wnd, Clipboard[arg % Clipboard.size()], 0, 0);
        break;
      case 6:
        SendMessageW(wnd, CM_DIALOGCHAR, Chars[arg % Chars.size()], 0);
        break;
      case 7:
        SetModifiers(arg);
        break;
      default:
        SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(arg) * 8), 0);
        break;
    }
    DispatchPending();
    if (edit->IsUserAction() || edit->IsUserActionDisabled())
      FuzzInvariantBroken("a user-action counter stayed raised");
    if (edit->SavedModifiedStateCount() != 0) FuzzInvariantBroken("a saved modified state was left behind");
    if (edit->IsHiding()) FuzzInvariantBroken("the exit processing did not end");
  }
  SetModifiers(0);
  other->Free();
  edit->Free();
  DispatchPending();
}
