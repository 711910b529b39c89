#include "fuzzers/library_editors/TextTypingFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

#include <array>

namespace {

class TTypingFuzzProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TTypingFuzzProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle Style = esEdit;
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
};

// Moves through its items by keys as a drop-down editor does, and, as a list
// combo box does, lets the current item follow a text the user changed
// without typing (a cut or a paste).
class TTypingFuzzEdit : public TcxCustomTextEdit {
  SK_CLASS(TTypingFuzzEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TTypingFuzzProperties::ClassInfo(); }

 protected:
  bool CanNavigateLookupItems(bool) override { return true; }
  void HandleContentChanged() override {
    const int before = ItemIndex();
    LockClick(true);
    TryFinally(
        [this] {
          inherited::HandleContentChanged();
          if (!FLookupDataTextChangedLocked && !EditModeSetting() && ILookupData()) ILookupData()->TextChanged();
        },
        [this] { LockClick(false); });
    if (ItemIndex() != before) SetModifiedAndClick();
  }
};

constexpr std::array<const wchar_t*, 2> ItemLists = {
    L"9600\n19200\n38400\n57600\n100000\n115200\n200000\n230400\n460800\n500000\n576000\n921600\n1000000\n"
    L"1500000\n2000000",
    L"COM1\nCOM3\nCOM10\nCOM11\ncom4\nLPT1"};
constexpr std::array<wchar_t, 16> Chars = {L'1', L'5', L'9', L'0', L'2', L'c', L'C', L'o',
                                           L'm', L'3', L'x', L' ', L'L', L'\b', 1, 24};
constexpr std::array<WORD, 10> Keys = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME,
                                       VK_END,  VK_UP,     VK_DOWN, VK_PRIOR, VK_NEXT};

bool StartsWithIgnoringCase(const String& AItem, const String& AText) {
  return AItem.size() >= AText.size() && AnsiUpperCase(AItem.substr(0, AText.size())) == AnsiUpperCase(AText);
}

void CheckListText(TTypingFuzzEdit* AEdit) {
  const String text = AEdit->Text();
  TStrings* items = AEdit->ActiveProperties()->LookupItems();
  if (!text.empty()) {
    bool prefix = false;
    for (int i = 0; i < items->Count() && !prefix; ++i) prefix = StartsWithIgnoringCase(items->Strings(i), text);
    if (!prefix) FuzzInvariantBroken("a list editor's text begins no item");
  }
  const int index = AEdit->ItemIndex();
  if (index < -1 || index >= items->Count()) FuzzInvariantBroken("the current item is outside the items");
  if (index != -1 && !StartsWithIgnoringCase(items->Strings(index), text))
    FuzzInvariantBroken("the current item does not begin with the text");
}

void DispatchTyping() { Application()->ProcessMessages(); }

}  // namespace

std::vector<std::string> TextTypingSeeds() {
  return {std::string("\x01\x00\x00\x00\x01\x01\x01\x0E\x00\x02\x02\x06", 12),
          std::string("\x02\x01\x00\x05\x00\x07\x00\x08\x01\x07\x00\x0A\x02\x05\x02\x00", 16),
          std::string("\x00\x01\x00\x05\x00\x06\x02\x01\x01\x0D\x00\x0C", 12),
          std::string("\x03\x00\x00\x01\x01\x03\x02\x04", 8)};
}

void RunTextTyping(const std::string& AInput) {
  if (AInput.empty()) return;
  static TOwned<TForm> form;
  if (!form) {
    form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(10, 10, 300, 100);
    form->Show();
  }
  const auto head = static_cast<unsigned char>(AInput[0]);
  auto* edit = New<TTypingFuzzEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 200, 21);
  auto* properties = static_cast<TTypingFuzzProperties*>(edit->ActiveProperties());
  properties->BeginUpdate();
  properties->Style = static_cast<TcxEditEditingStyle>(head % 4);
  properties->LookupItems()->SetText(ItemLists[(head >> 2) % ItemLists.size()]);
  properties->SetMaxLength((head & 0x10) ? 6 : 0);
  properties->EndUpdate();
  edit->SetFocus();
  const HWND wnd = edit->InnerControl()->Handle();
  const bool isList = properties->Style == esEditList || properties->Style == esFixedList;
  for (std::size_t at = 1; at + 2 <= AInput.size(); at += 2) {
    const auto op = static_cast<unsigned char>(AInput[at]);
    const auto arg = static_cast<unsigned char>(AInput[at + 1]);
    if (!IsWindow(wnd)) break;
    switch (op % 4) {
      case 0:
        SendMessageW(wnd, WM_CHAR, Chars[arg % Chars.size()], 1);
        break;
      case 1: {
        const WORD key = Keys[arg % Keys.size()];
        SendMessageW(wnd, WM_KEYDOWN, key, 1);
        SendMessageW(wnd, WM_KEYUP, key, 0xC0000001);
        break;
      }
      case 2:
        SendMessageW(wnd, EM_SETSEL, arg % 8, (arg >> 3) % 8);
        break;
      default:
        if (arg % 2) {
          if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
          }
          Clipboard()->SetAsText(arg % 4 == 1 ? L"115200" : L"CO");
          SendMessageW(wnd, WM_PASTE, 0, 0);
        } else {
          SendMessageW(wnd, WM_CUT, 0, 0);
        }
        break;
    }
    DispatchTyping();
    if (isList) CheckListText(edit);
    if (edit->IsUserAction() || edit->IsUserActionDisabled())
      FuzzInvariantBroken("a user-action counter stayed raised");
  }
  edit->Free();
  DispatchTyping();
}
