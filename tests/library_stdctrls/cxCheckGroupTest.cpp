// The check group: its packed value written by real clicks on the inner
// check boxes and re-encoded when the format changes, the 64-item limit of
// the integer format refused without leaving anything behind, grayed items
// while focused, arrow keys that wrap, the stored test and the display text.
#include "library/stdctrls/cxCheckGroup.h"

#include "library/stdctrls/cxExtEditConsts.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

namespace {

// Conversion events that keep the states as a text of digits, in reverse.
class TReversedDigitsConverter : public TObject {
  SK_CLASS(TReversedDigitsConverter, TObject)
 public:
  void ToStates(TObject*, const Variant& AValue, TcxCheckStates& AStates) {
    const String text = VarIsStr(AValue) ? AValue.AsString() : String();
    for (std::size_t i = 0; i < AStates.size() && i < text.size(); ++i)
      AStates[i] = static_cast<TcxCheckBoxState>(text[text.size() - 1 - i] - L'0');
  }
  void ToValue(TObject*, const TcxCheckStates& AStates, Variant& AValue) {
    String text;
    for (TcxCheckBoxState state : AStates) text.insert(text.begin(), static_cast<wchar_t>(L'0' + state));
    AValue = Variant(text);
  }
};

struct CheckGroupOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxCheckGroup* Group = nullptr;
  bool MovedPointer = false;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 300);
    Form->Show();
    Group = New<TcxCheckGroup>(Form.get());
    Group->SetName(L"Group1");
    Group->SetParent(Form.get());
    Group->SetBounds(10, 10, 300, 200);
    Group->Style()->LookAndFeel()->SetNativeStyle(false);
    PumpPending();
  }
  void TearDown() override {
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
  }

  TcxCheckGroupProperties* Properties() { return Group->Properties(); }

  void SetItems(std::initializer_list<const wchar_t*> ACaptions, int AColumns = 1) {
    Properties()->BeginUpdate();
    Properties()->Items()->Clear();
    for (const wchar_t* caption : ACaptions) Properties()->Items()->Add()->SetCaption(caption);
    Properties()->SetColumns(AColumns);
    Properties()->EndUpdate();
    PumpPending();
  }

  // A real click on the mark of inner button AIndex.
  void ClickButton(int AIndex) {
    MovedPointer = true;
    TcxCheckGroupButton* button = Group->CheckButton(AIndex);
    const TRect mark = button->ViewInfo()->CheckBoxRect;
    const TPoint P = button->ClientToScreen(TPoint((mark.Left + mark.Right) / 2, (mark.Top + mark.Bottom) / 2));
    SendMouseMove(P);
    SendMouseButtons(P, MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(P, MOUSEEVENTF_LEFTUP);
    PumpInput();
  }

  void Press(WORD AKey) {
    SendKey(AKey, false);
    SendKey(AKey, true);
    PumpInput();
  }

  static void PumpInput() {
    PumpUntilWith(
        [] {
          Application()->ProcessMessages();
          return true;
        },
        [] { return GetQueueStatus(QS_INPUT) == 0; }, 2000, 50);
    PumpPending();
  }

  String ValueText() { return VarToStr(Group->EditValue()); }
};

TEST_F(CheckGroupOnForm, ClicksPackTheStatesAndANewFormatReencodesThem) {
  SetItems({L"Alpha", L"Beta", L"Gamma"});
  SetForegroundWindow(Form->Handle());
  EXPECT_TRUE(VarIsStr(Group->EditValue()));
  EXPECT_EQ(ValueText(), L"");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Group->GetState(i), cbsUnchecked);

  ClickButton(0);
  ClickButton(2);
  EXPECT_EQ(ValueText(), L";0,2");
  EXPECT_EQ(Group->GetState(0), cbsChecked);
  EXPECT_EQ(Group->GetState(1), cbsUnchecked);

  Group->SetState(1, cbsGrayed);
  EXPECT_EQ(ValueText(), L"1;0,2");

  // Clicking a checked box again takes it out of the value.
  ClickButton(0);
  EXPECT_EQ(ValueText(), L"1;2");
  ClickButton(0);
  EXPECT_EQ(ValueText(), L"1;0,2");

  Properties()->SetEditValueFormat(cvfInteger);
  PumpPending();
  EXPECT_EQ(Group->EditValue().AsInt64(), 5) << "the grayed item has no bit";
  Properties()->SetEditValueFormat(cvfStatesString);
  PumpPending();
  EXPECT_EQ(ValueText(), L"101") << "the states were read back from the integer, which drops the gray";

  // A value written by the program reaches the boxes (graying allowed: the
  // group has the focus).
  Properties()->SetAllowGrayed(true);
  Group->SetEditValue(Variant(String(L"012")));
  EXPECT_EQ(Group->GetState(0), cbsUnchecked);
  EXPECT_EQ(Group->GetState(1), cbsChecked);
  EXPECT_EQ(Group->GetState(2), cbsGrayed);
  // A value that does not decode leaves every item unchecked.
  Group->SetEditValue(Variant(String(L"9x")));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Group->GetState(i), cbsUnchecked);
}

TEST_F(CheckGroupOnForm, TheIntegerFormatRefusesMoreThan64ItemsAndKeepsTheOldState) {
  const String message = LoadResString(&cxSCheckControlIncorrectItemCount);
  ASSERT_NE(message.find(L"number\u00A0of"), String::npos);
  TOwned<TReversedDigitsConverter> converter(New<TReversedDigitsConverter>());
  // Without a window the inner boxes have none either: 66 of them stay cheap.
  Group->SetParent(nullptr);

  // Adding the 65th item under cvfInteger.
  Properties()->BeginUpdate();
  for (int i = 0; i < 64; ++i) Properties()->Items()->Add()->SetCaption(L"Item " + IntToStr(i));
  Properties()->EndUpdate();
  Properties()->SetEditValueFormat(cvfInteger);
  PumpPending();
  Group->SetState(63, cbsChecked);
  const Variant before = Group->EditValue();
  try {
    Properties()->Items()->Add();
    ADD_FAILURE() << "the 65th item was taken";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), message);
  }
  PumpPending();
  EXPECT_EQ(Properties()->Items()->Count(), 64);
  EXPECT_EQ(Group->ButtonCount(), 64);
  EXPECT_TRUE(IsSameEditValue(Group->EditValue(), before));
  EXPECT_EQ(Group->GetState(63), cbsChecked);

  // Switching to cvfInteger with 65 items keeps the old format.
  Properties()->SetEditValueFormat(cvfIndices);
  Properties()->Items()->Add()->SetCaption(L"Item 64");
  PumpPending();
  Group->SetState(64, cbsChecked);
  EXPECT_THROW(Properties()->SetEditValueFormat(cvfInteger), EdxException);
  EXPECT_EQ(Properties()->EditValueFormat(), cvfIndices);
  EXPECT_EQ(ValueText(), L";63,64");

  // With both conversion events the format in force is the custom one.
  Properties()->SetOnEditValueToStates(BindEvent<&TReversedDigitsConverter::ToStates>(converter.get()));
  Properties()->SetOnStatesToEditValue(BindEvent<&TReversedDigitsConverter::ToValue>(converter.get()));
  EXPECT_NO_THROW(Properties()->SetEditValueFormat(cvfInteger));
  EXPECT_NO_THROW(Properties()->Items()->Add());
  PumpPending();
  EXPECT_EQ(Properties()->Items()->Count(), 66);
  EXPECT_EQ(ValueText().substr(0, 3), L"011") << "the events encode the states";
  Properties()->SetOnEditValueToStates(TcxValueToCheckStatesEvent());
  Properties()->SetOnStatesToEditValue(TcxCheckStatesToValueEvent());
}

TEST_F(CheckGroupOnForm, AGrayedItemShowsUncheckedWhileTheGroupIsFocusedUnlessGrayingIsAllowed) {
  SetItems({L"Alpha", L"Beta"});
  SetForegroundWindow(Form->Handle());
  auto* other = New<TButton>(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(330, 10, 60, 24);
  PumpPending();
  const struct {
    bool AllowGrayed;
    bool Focused;
    TcxCheckBoxState Shown;
  } cases[] = {{false, false, cbsGrayed}, {false, true, cbsUnchecked}, {true, true, cbsGrayed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "AllowGrayed " << c.AllowGrayed << ", focused " << c.Focused);
    Properties()->SetAllowGrayed(c.AllowGrayed);
    if (c.Focused) {
      Group->SetFocus();
      ASSERT_TRUE(PumpUntil([&] { return Group->GetFocusedButtonIndex() >= 0; }));
    } else {
      other->SetFocus();
      ASSERT_TRUE(PumpUntil([&] { return other->Focused(); }));
    }
    Group->SetEditValue(Variant(String(L"1;0")));
    PumpPending();
    EXPECT_EQ(Group->GetState(0), cbsChecked);
    EXPECT_EQ(Group->GetState(1), c.Shown);
    Group->SetEditValue(Variant(String()));
  }
}

TEST_F(CheckGroupOnForm, ArrowKeysWrapToTheNextEnabledButton) {
  // Two columns: 0 and 1 in the first, 2 and 3 in the second.
  SetItems({L"A", L"B", L"C", L"D"}, 2);
  SetForegroundWindow(Form->Handle());
  const struct {
    int From;
    WORD Key;
    bool LastDisabled;
    int To;
  } moves[] = {
      {0, VK_RIGHT, false, 2},  // the grid's own move
      {0, VK_LEFT, false, 3},   {0, VK_UP, false, 3}, {3, VK_RIGHT, false, 0},
      {1, VK_DOWN, false, 2},   {0, VK_LEFT, true, 2}, {2, VK_DOWN, true, 0},
  };
  for (const auto& m : moves) {
    SCOPED_TRACE(testing::Message() << "from " << m.From << " key " << m.Key);
    Properties()->Items()->GetItem(3)->SetEnabled(!m.LastDisabled);
    PumpPending();
    Group->Button(m.From)->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return Group->GetFocusedButtonIndex() == m.From; }));
    Press(m.Key);
    EXPECT_EQ(Group->GetFocusedButtonIndex(), m.To);
  }
  // Arrow keys move the focus; they never toggle.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Group->GetState(i), cbsUnchecked);
  // Tab leaves the group from its button instead of visiting the others.
  Properties()->Items()->GetItem(3)->SetEnabled(true);
  auto* after = New<TButton>(Form.get());
  after->SetParent(Form.get());
  after->SetBounds(330, 10, 60, 24);
  PumpPending();
  Group->Button(1)->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return Group->GetFocusedButtonIndex() == 1; }));
  Press(VK_TAB);
  EXPECT_TRUE(after->Focused());
  Press(VK_TAB);
  EXPECT_EQ(Group->GetFocusedButtonIndex(), 1) << "the group is entered at the button left last";
}

TEST_F(CheckGroupOnForm, TheValueIsStoredByFormat) {
  SetItems({L"A", L"B", L"C"});
  const struct {
    TcxCheckStatesValueFormat Format;
    Variant Value;
    bool Stored;
  } cases[] = {{cvfStatesString, Variant(String(L"000")), false}, {cvfStatesString, Variant(String(L"010")), true},
               {cvfStatesString, Variant(String(L"002")), true},  {cvfIndices, Variant(String()), false},
               {cvfIndices, Variant(String(L";1")), true},         {cvfCaptions, Variant(String()), false},
               {cvfCaptions, Variant(String(L";1:B")), true},      {cvfInteger, Variant(0), false},
               {cvfInteger, Variant(4), true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "format " << c.Format << ", value " << VarToStr(c.Value));
    Properties()->SetEditValueFormat(c.Format);
    Group->SetEditValue(c.Value);
    PumpPending();
    const String text = WriteComponentToText(Form.get());
    EXPECT_EQ(text.find(L" EditValue = ") != String::npos, c.Stored) << text;
  }
}

TEST_F(CheckGroupOnForm, DisplayTextNamesEveryItemWithItsState) {
  SetItems({L"A", L"B", L"C"});
  TcxCustomEditProperties* properties = Properties();
  EXPECT_EQ(properties->GetDisplayText(Variant(String(L"1;0"))), L"A: Checked; B: Grayed; C: Unchecked");
  Properties()->SetEditValueFormat(cvfStatesString);
  EXPECT_EQ(properties->GetDisplayText(Variant(String(L"21"))), L"A: Grayed; B: Checked; C: Unchecked");
  EXPECT_TRUE(properties->CompareDisplayValues(Variant(String(L"210")), Variant(String(L"21"))))
      << "the same states in two texts";
  EXPECT_FALSE(properties->CompareDisplayValues(Variant(String(L"210")), Variant(String(L"211"))));
}

}  // namespace
