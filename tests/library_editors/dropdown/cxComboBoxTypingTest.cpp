#include "library/editors/dropdown/cxDropDownEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const wchar_t* const TypedBaudItems[] = {L"9600",   L"19200",  L"38400",   L"57600",   L"100000",
                                         L"115200", L"200000", L"230400",  L"460800",  L"500000",
                                         L"576000", L"921600", L"1000000", L"1500000", L"2000000"};

void TypedSettle() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpFor(20);
  PumpPending();
}

void TypedKey(WORD AKey) {
  SendKey(AKey, false);
  SendKey(AKey, true);
  TypedSettle();
}

void TypedText(const wchar_t* AText) {
  SendText(AText);
  TypedSettle();
}

// Counts the box's OnClick.
class TComboClickCounter : public TObject {
  SK_CLASS(TComboClickCounter, TObject)
 public:
  int Count = 0;
  void Clicked(TObject*) { ++Count; }
};

struct ComboTyping : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxComboBox* Box = nullptr;
  TOwned<TComboClickCounter> Clicks{New<TComboClickCounter>()};

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    Form->SetBounds(100, 100, 300, 160);
    Form->Show();
    Box = New<TcxComboBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBounds(10, 10, 121, 21);
    Box->SetOnClick(BindEvent<&TComboClickCounter::Clicked>(Clicks.get()));
    PumpPending();
  }

  void Make(TcxEditDropDownListStyle AStyle, const std::vector<const wchar_t*>& AItems, const wchar_t* AText) {
    Box->Properties()->SetDropDownListStyle(AStyle);
    Box->Properties()->Items()->Clear();
    for (const wchar_t* item : AItems) Box->Properties()->Items()->Add(item);
    Box->SetText(AText);
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    Box->SetFocus();
    PumpUntil([&] { return Box->Focused(); });
    TypedSettle();
    Clicks->Count = 0;
  }
};

struct TComboTypingStep {
  const char* Name;
  std::function<void(TcxComboBox*)> Input;
  const wchar_t* Text;
  int SelStart;
  int SelLength;
  int ItemIndex;
  bool DroppedDown = false;
};

void RunTypingSteps(TcxComboBox* ABox, const std::vector<TComboTypingStep>& ASteps) {
  for (const TComboTypingStep& step : ASteps) {
    SCOPED_TRACE(step.Name);
    step.Input(ABox);
    EXPECT_EQ(ABox->Text(), step.Text);
    EXPECT_EQ(ABox->SelStart(), step.SelStart);
    EXPECT_EQ(ABox->SelLength(), step.SelLength);
    EXPECT_EQ(ABox->ItemIndex(), step.ItemIndex);
    EXPECT_EQ(ABox->DroppedDown(), step.DroppedDown);
  }
}

TEST_F(ComboTyping, PortBoxTakesOnlyTypedItems) {
  Make(lsFixedList, {L"COM1", L"COM3"}, L"COM3");
  RunTypingSteps(Box, {
                          // Typing opens the list.
                          {"c", [](TcxComboBox*) { TypedText(L"c"); }, L"COM1", 1, 3, 0, true},
                          {"x begins nothing", [](TcxComboBox*) { TypedText(L"x"); }, L"COM1", 1, 3, 0, true},
                          // Delete and Left end the completion and change nothing else.
                          {"Delete", [](TcxComboBox*) { TypedKey(VK_DELETE); }, L"COM1", 0, 0, 0, true},
                          {"Left", [](TcxComboBox*) { TypedKey(VK_LEFT); }, L"COM1", 0, 0, 0, true},
                      });
  EXPECT_EQ(Clicks->Count, 1);
}

TEST_F(ComboTyping, BaudBoxAcceptsOnlyBeginningsOfItems) {
  Make(lsEditFixedList, std::vector<const wchar_t*>(std::begin(TypedBaudItems), std::end(TypedBaudItems)), L"9600");
  RunTypingSteps(Box, {
                          // Typing opens the list.
                          {"caret at the end, 5", [](TcxComboBox* b) { b->SetSelection(4, 0); TypedText(L"5"); },
                           L"9600", 4, 0, 0, true},
                          {"all selected, 5", [](TcxComboBox* b) { b->SelectAll(); TypedText(L"5"); }, L"57600", 1,
                           4, 3, true},
                          {"8 begins nothing", [](TcxComboBox*) { TypedText(L"8"); }, L"57600", 1, 4, 3, true},
                          {"0 instead", [](TcxComboBox*) { TypedText(L"0"); }, L"500000", 2, 4, 9, true},
                      });
}

TEST_F(ComboTyping, ProgramChoicesAndDoubleClickStepping) {
  Make(lsFixedList, {}, L"");
  Box->Properties()->Items()->SetDelimiter(L',');
  Box->Properties()->Items()->SetCommaText(L"COM1,COM3,COM4");
  Box->SetItemIndex(0);
  EXPECT_EQ(Box->Text(), L"COM1");
  EXPECT_EQ(Clicks->Count, 1);
  Box->Properties()->SetDropDownRows(0);
  EXPECT_EQ(Box->Properties()->DropDownRows(), 8);

  // Stepping by double click, on a box whose click does not open the list.
  Box->Properties()->SetDropDownListStyle(lsEditFixedList);
  Box->Properties()->SetRevertable(true);
  Box->SetItemIndex(2);
  const TPoint p = Box->ClientToScreen(TPoint(20, Box->Height() / 2));
  SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(p, MOUSEEVENTF_LEFTUP);
  SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(p, MOUSEEVENTF_LEFTUP);
  TypedSettle();
  EXPECT_FALSE(Box->DroppedDown());
  EXPECT_EQ(Box->Text(), L"COM1") << "the last item steps round to the first";
  EXPECT_EQ(Box->ItemIndex(), 0);
}

}  // namespace
