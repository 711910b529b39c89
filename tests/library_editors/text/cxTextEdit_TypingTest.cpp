#include "library/editors/text/cxTextEdit.h"
#include "tests/library_editors/text/TextEditTesting.h"

#include "platform/ui/Forms.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The baud-rate box's items as the main window's form holds them.
const wchar_t* const TypingBaudItems[] = {L"9600",   L"19200",  L"38400",   L"57600",   L"100000",
                                          L"115200", L"200000", L"230400",  L"460800",  L"500000",
                                          L"576000", L"921600", L"1000000", L"1500000", L"2000000"};

// A text editor whose list styles come from its properties, and which moves
// through its items by keys and the wheel as a drop-down editor does.
class TTypingListEdit : public TcxCustomTextEdit {
  SK_CLASS(TTypingListEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TTextEditListStyleProperties::ClassInfo(); }
  TTextEditListStyleProperties* ListProperties() { return static_cast<TTextEditListStyleProperties*>(ActiveProperties()); }
  bool Navigates = true;
  int Clicks = 0;
  std::vector<WORD> AfterKeyDown;

  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetOnClick(BindEvent<&TTypingListEdit::Clicked>(this));
    SetOnAfterKeyDown(BindEvent<&TTypingListEdit::AfterKey>(this));
  }

 protected:
  bool CanNavigateLookupItems(bool) override { return Navigates; }

 private:
  void Clicked(TObject*) { ++Clicks; }
  void AfterKey(TObject*, WORD& Key, TShiftState) { AfterKeyDown.push_back(Key); }
};

void Settle() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpPending();
}

void Press(WORD AKey, std::initializer_list<WORD> AModifiers = {}) {
  for (WORD m : AModifiers) SendKey(m, false);
  SendKey(AKey, false);
  SendKey(AKey, true);
  for (WORD m : AModifiers) SendKey(m, true);
  Settle();
}

void Type(const wchar_t* AText) {
  SendText(AText);
  Settle();
}

struct TypingEditors : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TTypingListEdit* Edit = nullptr;

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    Form->SetBounds(100, 100, 300, 120);
    Form->Show();
    Edit = New<TTypingListEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 160, 24);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    PumpPending();
  }

  void Make(TcxEditEditingStyle AStyle, std::initializer_list<const wchar_t*> AItems, const wchar_t* AText) {
    TTextEditListStyleProperties* properties = Edit->ListProperties();
    properties->BeginUpdate();
    properties->SetStyle(AStyle);
    properties->LookupItems()->Clear();
    for (const wchar_t* item : AItems) properties->LookupItems()->Add(item);
    properties->EndUpdate();
    Edit->SetText(AText);
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    Edit->SetFocus();
    PumpUntil([&] { return Edit->Focused(); });
    Edit->Clicks = 0;
    Edit->AfterKeyDown.clear();
    Edit->SetEditModified(false);
  }
};

// After each key: what the user sees and what the editor reports. AfterKeys
// lists the keys handed to OnAfterKeyDown during the step: a key the editor
// consumed without a move, or a key-down that left text and caret as they were
// (typed characters arrive as VK_PACKET key-downs that change nothing before
// their WM_CHAR, and so does a modifier).
struct TTypingStep {
  const char* Name;
  std::function<void()> Keys;
  const wchar_t* Text;
  int SelStart;
  int SelLength;
  bool FindSelection;
  int ItemIndex;
  int Clicks;  // since the sequence began
  bool Modified;
  std::vector<WORD> AfterKeys;
};

void RunSteps(TTypingListEdit* AEdit, const std::vector<TTypingStep>& ASteps) {
  for (const TTypingStep& step : ASteps) {
    SCOPED_TRACE(step.Name);
    AEdit->AfterKeyDown.clear();
    step.Keys();
    EXPECT_EQ(AEdit->Text(), step.Text);
    EXPECT_EQ(AEdit->SelStart(), step.SelStart);
    EXPECT_EQ(AEdit->SelLength(), step.SelLength);
    EXPECT_EQ(AEdit->FindSelection(), step.FindSelection);
    EXPECT_EQ(AEdit->ItemIndex(), step.ItemIndex);
    EXPECT_EQ(AEdit->Clicks, step.Clicks);
    EXPECT_EQ(AEdit->ModifiedAfterEnter(), step.Modified);
    EXPECT_EQ(AEdit->AfterKeyDown, step.AfterKeys);
  }
}

const std::vector<WORD> TypedKey = {VK_PACKET};

TEST_F(TypingEditors, BaudBoxTypesOnlyPrefixesOfItems) {
  Make(esEditList, {}, L"");
  TTextEditListStyleProperties* properties = Edit->ListProperties();
  properties->BeginUpdate();
  for (const wchar_t* item : TypingBaudItems) properties->LookupItems()->Add(item);
  properties->EndUpdate();
  Edit->SetText(L"9600");
  Edit->Clicks = 0;
  Edit->SetEditModified(false);
  const int item9600 = Edit->ItemIndex();
  // The rejected 1 still marks the editor modified: editing was allowed before
  // the search refused the character.
  RunSteps(Edit, {
                     {"Home", [] { Press(VK_HOME); }, L"9600", 0, 0, false, item9600, 0, false, {VK_HOME}},
                     {"1 before 9600", [] { Type(L"1"); }, L"9600", 0, 0, true, item9600, 0, true, TypedKey},
                     {"select all, 1", [] { Press('A', {VK_CONTROL}); Type(L"1"); }, L"19200", 1, 4, true, 1, 1,
                      true, {VK_CONTROL, VK_PACKET}},
                     {"11", [] { Type(L"1"); }, L"115200", 2, 4, true, 5, 2, true, TypedKey},
                     {"119 rejected", [] { Type(L"9"); }, L"115200", 2, 4, true, 5, 2, true, TypedKey},
                     {"Backspace", [] { Press(VK_BACK); }, L"19200", 1, 4, true, 1, 3, true, {VK_BACK}},
                     {"Delete consumed", [] { Press(VK_DELETE); }, L"19200", 1, 4, true, 1, 3, true, {VK_DELETE}},
                     {"Down", [] { Press(VK_DOWN); }, L"38400", 0, 5, false, 2, 4, true, {}},
                     {"Ctrl+PageDown", [] { Press(VK_NEXT, {VK_CONTROL}); }, L"2000000", 0, 7, false, 14, 5, true,
                      {VK_CONTROL}},
                 });
}

TEST_F(TypingEditors, PortBoxSelectsItemsByTyping) {
  Make(esFixedList, {L"COM1", L"COM3", L"COM4", L"COM10"}, L"COM4");
  RunSteps(Edit, {
                     {"c", [] { Type(L"c"); }, L"COM1", 1, 3, true, 0, 1, true, TypedKey},
                     {"co", [] { Type(L"o"); }, L"COM1", 2, 2, true, 0, 1, true, TypedKey},
                     {"com", [] { Type(L"m"); }, L"COM1", 3, 1, true, 0, 1, true, TypedKey},
                     {"com3", [] { Type(L"3"); }, L"COM3", 4, 0, true, 1, 2, true, TypedKey},
                     {"com39 rejected", [] { Type(L"9"); }, L"COM3", 4, 0, true, 1, 2, true, TypedKey},
                     {"Backspace", [] { Press(VK_BACK); }, L"COM1", 3, 1, true, 0, 3, true, {VK_BACK}},
                     {"Left", [] { Press(VK_LEFT); }, L"COM1", 0, 0, false, 0, 3, true, {VK_LEFT}},
                     {"Right", [] { Press(VK_RIGHT); }, L"COM1", 0, 0, false, 0, 3, true, {VK_RIGHT}},
                     {"Delete", [] { Press(VK_DELETE); }, L"COM1", 0, 0, false, 0, 3, true, {VK_DELETE}},
                     {"Backspace off", [] { Press(VK_BACK); }, L"COM1", 0, 0, false, 0, 3, true, {VK_BACK}},
                     {"End", [] { Press(VK_END); }, L"COM10", 0, 0, false, 3, 4, true, {}},
                     {"Home", [] { Press(VK_HOME); }, L"COM1", 0, 0, false, 0, 5, true, {}},
                     {"Home again", [] { Press(VK_HOME); }, L"COM1", 0, 0, false, 0, 5, true, {}},
                     {"Down", [] { Press(VK_DOWN); }, L"COM3", 0, 0, false, 1, 6, true, {}},
                     {"Up", [] { Press(VK_UP); }, L"COM1", 0, 0, false, 0, 7, true, {}},
                     {"Ctrl+PageDown", [] { Press(VK_NEXT, {VK_CONTROL}); }, L"COM10", 0, 0, false, 3, 8, true,
                      {VK_CONTROL}},
                     {"Ctrl+PageUp", [] { Press(VK_PRIOR, {VK_CONTROL}); }, L"COM1", 0, 0, false, 0, 9, true,
                      {VK_CONTROL}},
                     {"x finds nothing", [] { Type(L"x"); }, L"COM1", 0, 0, false, 0, 9, true, TypedKey},
                 });
}

TEST_F(TypingEditors, PlainEditorCompletesAndLetsOtherTextThrough) {
  Make(esEdit, {L"alpha", L"beta"}, L"");
  Edit->Navigates = false;
  RunSteps(Edit, {
                     {"b", [] { Type(L"b"); }, L"beta", 1, 3, true, 1, 1, true, TypedKey},
                     {"bx", [] { Type(L"x"); }, L"bx", 2, 0, false, -1, 2, true, TypedKey},
                     {"Delete at the end", [] { Press(VK_DELETE); }, L"bx", 2, 0, false, -1, 2, true, {VK_DELETE}},
                     {"Up stays in a plain editor", [] { Press(VK_UP); }, L"bx", 2, 0, false, -1, 2, true, {VK_UP}},
                 });
}

TEST_F(TypingEditors, PlainEditorWithoutIncrementalSearchCompletesNothing) {
  Make(esEdit, {L"alpha", L"beta"}, L"");
  Edit->ActiveProperties()->SetIncrementalSearch(false);
  RunSteps(Edit, {{"b", [] { Type(L"b"); }, L"b", 1, 0, false, -1, 0, true, TypedKey}});
}

TEST_F(TypingEditors, WheelMovesOneItemPerNotchWhenAllowed) {
  Make(esFixedList, {L"COM1", L"COM3", L"COM4"}, L"COM3");
  const TPoint centre = Edit->ClientToScreen(TPoint(Edit->Width() / 2, Edit->Height() / 2));
  SendMouseMove(centre);
  const auto wheel = [&](int ADelta) {
    INPUT input = MouseInput(centre, MOUSEEVENTF_WHEEL);
    input.mi.mouseData = static_cast<DWORD>(ADelta);
    SendInput(1, &input, sizeof(INPUT));
    Settle();
  };
  Edit->ActiveProperties()->SetUseMouseWheel(false);
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(Edit->Text(), L"COM3") << "the wheel without UseMouseWheel and without Ctrl";
  Edit->ActiveProperties()->SetUseMouseWheel(true);
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(Edit->Text(), L"COM4");
  EXPECT_EQ(Edit->Clicks, 1);
  wheel(WHEEL_DELTA);
  wheel(WHEEL_DELTA);
  EXPECT_EQ(Edit->Text(), L"COM1");
  EXPECT_EQ(Edit->Clicks, 3);
  Edit->ActiveProperties()->SetUseMouseWheel(false);
  SendKey(VK_CONTROL, false);
  wheel(-WHEEL_DELTA);
  SendKey(VK_CONTROL, true);
  Settle();
  EXPECT_EQ(Edit->Text(), L"COM3") << "Ctrl allows the wheel";
}

TEST_F(TypingEditors, ReadOnlyListRefusesNavigationAndTyping) {
  Make(esFixedList, {L"COM1", L"COM3"}, L"COM1");
  Edit->ActiveProperties()->SetReadOnly(true);
  Press(VK_DOWN);
  Type(L"c");
  EXPECT_EQ(Edit->Text(), L"COM1");
  EXPECT_EQ(Edit->Clicks, 0);
  EXPECT_FALSE(Edit->ModifiedAfterEnter());
}

}  // namespace
