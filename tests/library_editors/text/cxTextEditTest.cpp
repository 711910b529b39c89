#include "library/editors/text/cxTextEdit.h"
#include "tests/library_editors/text/TextEditTesting.h"

#include "library/editors/edit/dxSpellCheckerCore.h"
#include "platform/ui/Forms.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TTextEditStyledEdit : public TcxCustomTextEdit {
  SK_CLASS(TTextEditStyledEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TTextEditListStyleProperties::ClassInfo(); }
  TTextEditListStyleProperties* StyledProperties() { return static_cast<TTextEditListStyleProperties*>(ActiveProperties()); }
  int Clicks = 0;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetOnClick(BindEvent<&TTextEditStyledEdit::Clicked>(this));
  }

 private:
  void Clicked(TObject*) { ++Clicks; }
};

void SettleTextInput() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpPending();
}

void PutClipboardText(const std::wstring& AText) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const SIZE_T bytes = (AText.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), AText.c_str(), bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<busy>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

struct TextEditor : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxTextEdit* Edit = nullptr;
  TTextEditStyledEdit* Styled = nullptr;
  HWND Native = nullptr;

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    Form->SetBounds(100, 100, 460, 140);
    Form->Show();
    Edit = New<TcxTextEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 24);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Styled = New<TTextEditStyledEdit>(Form.get());
    Styled->SetParent(Form.get());
    Styled->SetBounds(10, 50, 200, 24);
    Styled->Style()->LookAndFeel()->SetNativeStyle(false);
    Native = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 220, 12, 200, 20,
                             Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpPending();
  }
  void TearDown() override {
    if (Native) DestroyWindow(Native);
  }

  void MakeStyled(TcxEditEditingStyle AStyle, std::initializer_list<const wchar_t*> AItems, const wchar_t* AText) {
    TTextEditListStyleProperties* properties = Styled->StyledProperties();
    properties->BeginUpdate();
    properties->SetStyle(AStyle);
    for (const wchar_t* item : AItems) properties->LookupItems()->Add(item);
    properties->EndUpdate();
    Styled->SetText(AText);
  }
  void Focus(HWND AWnd) {
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    SetFocus(AWnd);
    PumpUntil([&] { return GetFocus() == AWnd; });
  }
  HWND EditWindow() const { return Edit->InnerControl()->Handle(); }
};

TEST_F(TextEditor, GetTextCutsToTheBufferAsTheNativeEditDoes) {
  const std::wstring text = L"115200";
  Edit->SetText(text);
  SetWindowTextW(Native, text.c_str());
  struct TRow {
    const char* Name;
    WPARAM Size;
  } const rows[] = {{"none", 0}, {"one", 1}, {"three", 3}, {"exact", text.size() + 1}, {"larger", 64}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    std::vector<wchar_t> ours(65, L'#'), native(65, L'#');
    const LRESULT oursResult = SendMessageW(Edit->Handle(), WM_GETTEXT, row.Size, reinterpret_cast<LPARAM>(ours.data()));
    const LRESULT nativeResult =
        SendMessageW(Native, WM_GETTEXT, row.Size, reinterpret_cast<LPARAM>(native.data()));
    EXPECT_EQ(oursResult, nativeResult);
    EXPECT_EQ(std::wstring(ours.data(), 65), std::wstring(native.data(), 65));
    const size_t expected = row.Size == 0 ? 0 : std::min<size_t>(row.Size - 1, text.size());
    EXPECT_EQ(oursResult, static_cast<LRESULT>(expected));
  }
  EXPECT_EQ(SendMessageW(Edit->Handle(), WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(text.size()));
}

TEST_F(TextEditor, ProgramTextIsTheEditValueAtOnceTypedTextOnlyAfterValidation) {
  Edit->SetText(L"abc");
  EXPECT_EQ(VarToStr(Edit->EditValue()), L"abc");
  EXPECT_FALSE(Edit->EditModified());
  Focus(EditWindow());
  SendMessageW(EditWindow(), EM_SETSEL, 3, 3);
  SendText(L"d");
  SettleTextInput();
  EXPECT_EQ(Edit->Text(), L"abcd");
  EXPECT_EQ(VarToStr(Edit->EditValue()), L"abc");
  EXPECT_TRUE(Edit->ModifiedAfterEnter());
  EXPECT_TRUE(Edit->ValidateEdit());
  EXPECT_EQ(VarToStr(Edit->EditValue()), L"abcd");
}

TEST_F(TextEditor, SetTextTheListRefusesChangesNothing) {
  MakeStyled(esFixedList, {L"COM1", L"COM3"}, L"COM1");
  EXPECT_EQ(SendMessageW(Styled->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"COM7")), 0);
  EXPECT_EQ(Styled->Text(), L"COM1");
  EXPECT_EQ(SendMessageW(Styled->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"COM3")), 1);
  EXPECT_EQ(Styled->Text(), L"COM3");
  EXPECT_EQ(VarToStr(Styled->EditValue()), L"COM3");
}

TEST_F(TextEditor, FixedListShowsNoSelectionWithoutSearchAndReplacesWholeText) {
  MakeStyled(esFixedList, {L"COM1", L"COM3"}, L"COM1");
  SendMessageW(Styled->InnerControl()->Handle(), EM_SETSEL, 2, 3);
  EXPECT_EQ(Styled->SelStart(), 0);
  EXPECT_EQ(Styled->SelLength(), 0);
  EXPECT_EQ(Styled->SelText(), L"");
  Styled->SetSelText(L"COM3");
  EXPECT_EQ(Styled->Text(), L"COM3");
  Styled->SetSelText(L"3");
  EXPECT_EQ(Styled->Text(), L"COM3") << "not an item";
}

TEST_F(TextEditor, ItemIndexReplacesLetterCaseAndIgnoresIndexesOutside) {
  MakeStyled(esEdit, {L"COM1", L"COM3"}, L"");
  Styled->SetItemIndex(1);
  EXPECT_EQ(Styled->Text(), L"COM3");
  EXPECT_EQ(Styled->Clicks, 1);
  EXPECT_FALSE(Styled->EditModified());
  Styled->SetItemIndex(1);
  EXPECT_EQ(Styled->Clicks, 1) << "the current index again";
  Styled->SetText(L"com3");
  Styled->SetItemIndex(1);
  EXPECT_EQ(Styled->Text(), L"COM3");
  EXPECT_EQ(VarToStr(Styled->EditValue()), L"COM3");
  EXPECT_EQ(Styled->Clicks, 1);
  Styled->SetItemIndex(2);
  EXPECT_EQ(Styled->ItemIndex(), 1);
  EXPECT_EQ(Styled->Text(), L"COM3");
  EXPECT_EQ(Styled->Clicks, 1);
}

TEST_F(TextEditor, FixedListEmptiesATextThatIsNoLongerAnItem) {
  MakeStyled(esFixedList, {L"COM1", L"COM3"}, L"COM3");
  TStrings* items = Styled->StyledProperties()->LookupItems();
  items->Clear();
  items->Add(L"COM1");
  items->Add(L"COM4");
  EXPECT_EQ(Styled->Text(), L"");
  EXPECT_EQ(VarToStr(Styled->EditValue()), L"");
}

TEST_F(TextEditor, PasteStopsAtMaxLengthAndRefusesACaretBeforeTheSelection) {
  Edit->ActiveProperties()->SetMaxLength(5);
  Edit->SetText(L"abc");
  Focus(EditWindow());
  SendMessageW(EditWindow(), EM_SETSEL, 3, 3);
  PutClipboardText(L"12345");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->Text(), L"abc12");
  EXPECT_EQ(Edit->SelStart(), 5);
  // Text longer than MaxLength, written by the program.
  Edit->SetText(L"abcdefgh");
  SendMessageW(EditWindow(), EM_SETSEL, 7, 8);
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->Text(), L"abcdefgh");
}

TEST_F(TextEditor, ClearSelectionKeepsTheCaretAndAsksTheList) {
  Edit->SetText(L"hello world");
  Edit->SetSelection(5, 6);
  SendMessageW(Edit->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(Edit->Text(), L"hello");
  EXPECT_EQ(Edit->SelStart(), 5);
  MakeStyled(esEditList, {L"19200", L"115200"}, L"115200");
  SendMessageW(Styled->InnerControl()->Handle(), EM_SETSEL, 2, 6);
  Styled->ClearSelection();
  EXPECT_EQ(Styled->Text(), L"115200") << "\"11\" is no item";
}

// Keys through the real clipboard, on the editor and on a native EDIT with
// the same limit.
struct TClipboardRow {
  const char* Name;
  std::initializer_list<WORD> Modifiers;
  WORD Key;
};

TEST_F(TextEditor, ClipboardKeysActAsOnTheNativeEdit) {
  const TClipboardRow rows[] = {
      {"Ctrl+C", {VK_CONTROL}, 'C'},         {"Ctrl+X", {VK_CONTROL}, 'X'},
      {"Ctrl+V", {VK_CONTROL}, 'V'},         {"Shift+Insert", {VK_SHIFT}, VK_INSERT},
      {"Shift+Delete", {VK_SHIFT}, VK_DELETE}, {"Ctrl+Insert", {VK_CONTROL}, VK_INSERT},
  };
  struct TStart {
    const char* Name;
    int MaxLength;
    const wchar_t* Text;
    int SelStart, SelEnd;
  } const starts[] = {
      {"no limit", 0, L"hello world", 6, 11},
      {"limit, room", 8, L"hello", 1, 3},
      {"limit, full", 5, L"hello", 5, 5},
      {"limit, caret inside", 7, L"abcdef", 2, 2},
  };
  for (const TStart& start : starts) {
    Edit->ActiveProperties()->SetMaxLength(start.MaxLength);
    SendMessageW(Native, EM_LIMITTEXT, static_cast<WPARAM>(start.MaxLength), 0);
    for (const TClipboardRow& row : rows) {
      SCOPED_TRACE(std::string(start.Name) + ", " + row.Name);
      const HWND windows[2] = {EditWindow(), Native};
      std::wstring texts[2], clipboards[2];
      DWORD selStarts[2] = {}, selEnds[2] = {};
      for (int i = 0; i < 2; ++i) {
        if (i == 0)
          Edit->SetText(start.Text);
        else
          SetWindowTextW(Native, start.Text);
        Focus(windows[i]);
        SendMessageW(windows[i], EM_SETSEL, static_cast<WPARAM>(start.SelStart), start.SelEnd);
        PutClipboardText(L"XYZ12");
        for (WORD m : row.Modifiers) SendKey(m, false);
        SendKey(row.Key, false);
        SendKey(row.Key, true);
        for (WORD m : row.Modifiers) SendKey(m, true);
        SettleTextInput();
        wchar_t buffer[64] = {};
        GetWindowTextW(windows[i], buffer, 64);
        texts[i] = buffer;
        SendMessageW(windows[i], EM_GETSEL, reinterpret_cast<WPARAM>(&selStarts[i]),
                     reinterpret_cast<LPARAM>(&selEnds[i]));
        clipboards[i] = ClipboardText();
      }
      EXPECT_EQ(texts[0], texts[1]);
      EXPECT_EQ(selStarts[0], selStarts[1]);
      EXPECT_EQ(selEnds[0], selEnds[1]);
      EXPECT_EQ(clipboards[0], clipboards[1]);
      EXPECT_EQ(Edit->Text(), texts[0]) << "the editor reads its edit window";
    }
  }
}

// A spell checker that owns one window of its own, its dialog.
class TDialogSpellChecker : public TNoRefCount<TObject>, public IdxSpellChecker {
 public:
  HWND Dialog = nullptr;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSpellChecker>(this, AIID, AObj) || TObject::GetInterface(AIID, AObj);
  }
  void CheckFinish() override {}
  void CheckStart(TWinControl*) override {}
  void DrawMisspellings(TWinControl*, HDC) override {}
  bool IsDialogWindow(HWND AWnd) override { return AWnd == Dialog; }
  void KeyPress(wchar_t&) override {}
  void LayoutChanged(TWinControl*) override {}
  bool QueryPopup(TComponent*, const TPoint&) override { return false; }
  void SelectionChanged(TWinControl*) override {}
  void TextChanged(TWinControl*) override {}
  void Undo() override {}
};

TEST_F(TextEditor, ChildWindowsAreItsOwnItsInnerOnesItsPopupsAndTheSpellCheckersDialog) {
  auto* bare = New<TcxCustomEdit>(Form.get());
  bare->SetParent(Form.get());
  bare->SetBounds(10, 90, 100, 24);
  // A popup owned by the text editor, with a window inside it, never shown.
  auto* popup = New<TcxCustomPopupWindow>(Edit);
  popup->SetModalMode(false);
  auto* popupChild = New<TEdit>(popup);
  popupChild->SetParent(popup);
  popup->HandleNeeded();
  popupChild->HandleNeeded();
  TDialogSpellChecker checker;
  checker.Dialog = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"spelling", WS_POPUP, 0, 0, 50, 20, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(checker.Dialog);
  PumpPending();

  struct TRow {
    const char* Name;
    HWND Window;
    bool Text, TextWithChecker, Bare;
  } const rows[] = {
      {"the editor's window", Edit->Handle(), true, true, false},
      {"its edit window", EditWindow(), true, true, false},
      {"its popup", popup->Handle(), true, true, false},
      {"a window in its popup", popupChild->Handle(), true, true, false},
      {"the spell checker's dialog", checker.Dialog, false, true, false},
      {"the form", Form->Handle(), false, false, false},
      {"another editor", Styled->Handle(), false, false, false},
      {"a native sibling", Native, false, false, false},
      {"no window", nullptr, false, false, false},
      {"the bare editor's window", bare->Handle(), false, false, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(Edit->IsChildWindow(row.Window), row.Text);
    EXPECT_EQ(bare->IsChildWindow(row.Window), row.Bare);
  }
  TdxSpellCheckerInstance::SetInstance(&checker);
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::string(row.Name) + ", spell checker registered");
    EXPECT_EQ(Edit->IsChildWindow(row.Window), row.TextWithChecker);
    // Only the text editor asks the spell checker.
    EXPECT_EQ(bare->IsChildWindow(row.Window), row.Bare);
  }
  TdxSpellCheckerInstance::SetInstance(nullptr);
  DestroyWindow(checker.Dialog);
}

}  // namespace
