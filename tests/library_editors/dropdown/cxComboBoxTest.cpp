#include "library/editors/dropdown/cxDropDownEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t* const ComboBaudItems[] = {L"9600",   L"19200",  L"38400",   L"57600",   L"100000",
                                         L"115200", L"200000", L"230400",  L"460800",  L"500000",
                                         L"576000", L"921600", L"1000000", L"1500000", L"2000000"};

void ComboSettle() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpFor(30);
  PumpPending();
}

void ComboWheel(const TPoint& AAt, int ADelta) {
  SendMouseMove(AAt);
  INPUT input = MouseInput(AAt, MOUSEEVENTF_WHEEL);
  input.mi.mouseData = static_cast<DWORD>(ADelta);
  SendInput(1, &input, sizeof(INPUT));
  ComboSettle();
}

void ComboClick(const TPoint& AAt) {
  SendMouseButtons(AAt, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(AAt, MOUSEEVENTF_LEFTUP);
  ComboSettle();
}

TPoint RectCenter(const RECT& R) { return TPoint((R.left + R.right) / 2, (R.top + R.bottom) / 2); }

// What a user sees of either box after a step.
struct TComboState {
  String Text;
  int ItemIndex;
  bool DroppedDown;
};

// One box under test: ours or the native one, driven by the same input.
struct TComboUnderTest {
  std::function<void()> Focus;
  std::function<TComboState()> State;
  std::function<RECT()> Bounds;      // screen
  std::function<RECT()> ListBounds;  // screen, of the open list
  std::function<int()> RowHeight;
};

struct TComboStep {
  const char* Name;
  std::function<void(TComboUnderTest&)> Input;
  // Empty for the native box's state; else why ours differs, and its state.
  const char* DiffersBecause = nullptr;
  TComboState Ours{};
};

TPoint ButtonPoint(TComboUnderTest& ABox) {
  const RECT r = ABox.Bounds();
  return TPoint(r.right - 6, (r.top + r.bottom) / 2);
}

TPoint ListRowPoint(TComboUnderTest& ABox, int ARow) {
  const RECT r = ABox.ListBounds();
  return TPoint(r.left + 20, r.top + 2 + ABox.RowHeight() * ARow + ABox.RowHeight() / 2);
}

struct ComboBoxes : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxComboBox* Combo = nullptr;
  HWND Native = nullptr;

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    Form->SetBounds(60, 60, 420, 320);
    Form->Show();
    Combo = New<TcxComboBox>(Form.get());
    Combo->SetParent(Form.get());
    Combo->SetBounds(10, 10, 121, 21);
    Combo->Style()->LookAndFeel()->SetNativeStyle(false);
    // Where Tab goes from our box.
    auto* next = New<TEdit>(Form.get());
    next->SetParent(Form.get());
    next->SetBounds(10, 250, 100, 21);
    PumpPending();
  }

  void TearDown() override {
    if (Native) DestroyWindow(Native);
  }

  void Make(TcxEditDropDownListStyle AStyle, const std::vector<const wchar_t*>& AItems, const wchar_t* AText) {
    Combo->Properties()->SetDropDownListStyle(AStyle);
    Combo->Properties()->Items()->Clear();
    for (const wchar_t* item : AItems) Combo->Properties()->Items()->Add(item);
    Combo->SetText(AText);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP |
                        (AStyle == lsFixedList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    // The native list gets the rows ours shows (DropDownRows), so that both
    // page by the same number of items.
    for (int height = 200, pass = 0; pass < 2; ++pass) {
      if (Native) DestroyWindow(Native);
      Native = CreateWindowExW(0, L"COMBOBOX", L"", style, 200, 10, 121, height, Form->Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
      SendMessageW(Native, WM_SETFONT, reinterpret_cast<WPARAM>(Combo->Style()->Font()->Handle()), TRUE);
      for (const wchar_t* item : AItems) SendMessageW(Native, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      // The closed box's height: its button is inset alike at top and bottom.
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      GetComboBoxInfo(Native, &info);
      const int row = static_cast<int>(SendMessageW(Native, CB_GETITEMHEIGHT, 0, 0));
      height = info.rcButton.bottom + info.rcButton.top + Combo->Properties()->DropDownRows() * row + 2;
    }
    const LRESULT index = SendMessageW(Native, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(AText));
    if (index >= 0) SendMessageW(Native, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else SetWindowTextW(Native, AText);
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
  }

  TComboUnderTest Ours() {
    TComboUnderTest box;
    box.Focus = [this] {
      Combo->SetFocus();
      PumpUntil([this] { return Combo->Focused(); });
    };
    box.State = [this] { return TComboState{Combo->Text(), Combo->ItemIndex(), Combo->DroppedDown()}; };
    box.Bounds = [this] {
      RECT r;
      GetWindowRect(Combo->Handle(), &r);
      return r;
    };
    box.ListBounds = [this] {
      RECT r{};
      if (TcxCustomEditListBox* list = Combo->LookupData()->List()) GetWindowRect(list->Handle(), &r);
      return r;
    };
    box.RowHeight = [this] { return Combo->LookupData()->List()->GetItemHeight(-1); };
    return box;
  }

  TComboUnderTest NativeBox() {
    TComboUnderTest box;
    box.Focus = [this] {
      SetFocus(Native);
      ComboSettle();
    };
    box.State = [this] {
      wchar_t text[256] = {};
      GetWindowTextW(Native, text, 256);
      return TComboState{text, static_cast<int>(SendMessageW(Native, CB_GETCURSEL, 0, 0)),
                         SendMessageW(Native, CB_GETDROPPEDSTATE, 0, 0) != 0};
    };
    box.Bounds = [this] {
      RECT r;
      GetWindowRect(Native, &r);
      return r;
    };
    box.ListBounds = [this] {
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      GetComboBoxInfo(Native, &info);
      RECT r{};
      GetWindowRect(info.hwndList, &r);
      // The list's client starts inside its one-pixel border.
      r.top -= 1;
      return r;
    };
    box.RowHeight = [this] { return static_cast<int>(SendMessageW(Native, CB_GETITEMHEIGHT, 0, 0)); };
    return box;
  }

  void RunTable(const std::vector<TComboStep>& ASteps) {
    TComboUnderTest native = NativeBox();
    TComboUnderTest ours = Ours();
    native.Focus();
    std::vector<TComboState> expected;
    for (const TComboStep& step : ASteps) {
      step.Input(native);
      expected.push_back(native.State());
    }
    SendMessageW(Native, CB_SHOWDROPDOWN, FALSE, 0);
    ComboSettle();
    ours.Focus();
    for (size_t i = 0; i < ASteps.size(); ++i) {
      const TComboStep& step = ASteps[i];
      SCOPED_TRACE(step.Name);
      step.Input(ours);
      const TComboState want = step.DiffersBecause ? step.Ours : expected[i];
      const TComboState got = ours.State();
      EXPECT_EQ(got.Text, want.Text);
      EXPECT_EQ(got.ItemIndex, want.ItemIndex);
      EXPECT_EQ(got.DroppedDown, want.DroppedDown);
    }
  }
};

auto Key(WORD AKey, std::initializer_list<WORD> AModifiers = {}) {
  std::vector<WORD> modifiers(AModifiers);
  return [AKey, modifiers](TComboUnderTest&) {
    for (WORD m : modifiers) SendKey(m, false);
    SendKey(AKey, false);
    SendKey(AKey, true);
    for (WORD m : modifiers) SendKey(m, true);
    ComboSettle();
  };
}

auto Typed(const wchar_t* AText) {
  return [AText](TComboUnderTest&) {
    SendText(AText);
    ComboSettle();
  };
}

// The port box against a native drop-down list with the same items.
TEST_F(ComboBoxes, FixedListFollowsTheNativeDropDownList) {
  Make(lsFixedList, {L"COM1", L"COM3", L"COM4", L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"COM10", L"COM11"},
       L"COM4");
  RunTable({
      {"F4 opens", Key(VK_F4)},
      {"F4 closes", Key(VK_F4)},
      {"Alt+Down opens", Key(VK_DOWN, {VK_MENU})},
      {"Down in the open list", Key(VK_DOWN), "the list moves alone until Enter", {L"COM4", 2, true}},
      {"Enter takes it", Key(VK_RETURN)},
      {"Down while closed", Key(VK_DOWN)},
      {"Up while closed", Key(VK_UP)},
      {"End", Key(VK_END)},
      {"Home", Key(VK_HOME)},
      {"typed prefix", Typed(L"c"), "the first item with the prefix, and typing opens the list", {L"COM1", 0, true}},
      {"Escape", Key(VK_ESCAPE), "closes the list that typing opened", {L"COM1", 0, false}},
      {"Home again", Key(VK_HOME)},
      {"Alt+Down, Down, Escape keeps",
       [](TComboUnderTest& b) { Key(VK_DOWN, {VK_MENU})(b); Key(VK_DOWN)(b); Key(VK_ESCAPE)(b); },
       "the list moves alone, and Escape drops its move", {L"COM1", 0, false}},
      {"Home once more", Key(VK_HOME)},
      {"wheel down", [](TComboUnderTest& b) { ComboWheel(RectCenter(b.Bounds()), -WHEEL_DELTA); }},
      {"button click opens", [](TComboUnderTest& b) { ComboClick(ButtonPoint(b)); }},
      {"click on the third row", [](TComboUnderTest& b) { ComboClick(ListRowPoint(b, 2)); }},
      {"press on the button, release over a row",
       [](TComboUnderTest& b) {
         const TPoint from = ButtonPoint(b);
         SendMouseButtons(from, MOUSEEVENTF_LEFTDOWN);
         ComboSettle();
         const TPoint to = ListRowPoint(b, 4);
         SendMouseMove(TPoint(to.X, to.Y - 1));
         SendMouseMove(to);
         SendMouseButtons(to, MOUSEEVENTF_LEFTUP);
         ComboSettle();
       }},
      {"Home", Key(VK_HOME)},
      {"PageDown", Key(VK_NEXT), "a page is DropDownRows - 1 items", {L"COM9", 7, false}},
      {"PageUp", Key(VK_PRIOR), "a page is DropDownRows - 1 items", {L"COM1", 0, false}},
  });
}

// The baud box against a native drop-down combo box: the same keys, and the
// character that begins no item refused by design.
TEST_F(ComboBoxes, EditFixedListFollowsTheNativeDropDown) {
  Make(lsEditFixedList, std::vector<const wchar_t*>(std::begin(ComboBaudItems), std::end(ComboBaudItems)), L"9600");
  RunTable({
      {"Alt+Down opens", Key(VK_DOWN, {VK_MENU})},
      {"Alt+Up closes", Key(VK_UP, {VK_MENU})},
      {"Down while closed", Key(VK_DOWN)},
      {"Up while closed", Key(VK_UP)},
      {"F4, Down, Enter", [](TComboUnderTest& b) { Key(VK_F4)(b); Key(VK_DOWN)(b); Key(VK_RETURN)(b); }},
      {"PageDown", Key(VK_NEXT), "a page is DropDownRows - 1 items", {L"460800", 8, false}},
      {"PageUp", Key(VK_PRIOR), "a page is DropDownRows - 1 items", {L"19200", 1, false}},
      {"select all, 5 completes", [](TComboUnderTest& b) { Key('A', {VK_CONTROL})(b); Typed(L"5")(b); },
       "5 is completed to the first item it begins, and typing opens the list", {L"57600", 3, true}},
      {"8 begins no item", Typed(L"8"), "the box refuses a character that begins no item", {L"57600", 3, true}},
      {"Tab leaves", Key(VK_TAB),
       "the refused 8 is not in the text", {L"57600", 3, false}},
  });
}

TEST_F(ComboBoxes, PopupShowsDropDownRowsAndIsAsWideAsTheWidestItem) {
  struct {
    int Items;
    bool LongItem;
    int Rows;
    bool ScrollBar;
  } cases[] = {{15, true, 8, true}, {3, true, 3, false}, {3, false, 3, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Items << (c.LongItem ? " with a long item" : " short"));
    Combo->Properties()->Items()->Clear();
    for (int i = 0; i < c.Items; ++i)
      Combo->Properties()->Items()->Add(i == 1 && c.LongItem ? String(L"a rather long item, wider than the box")
                                                             : IntToStr(i));
    Combo->SetDroppedDown(true);
    ASSERT_TRUE(PumpUntil([&] { return Combo->DroppedDown(); }));
    ComboSettle();
    TcxCustomEditListBox* list = Combo->LookupData()->List();
    TWinControl* area = Combo->LookupData()->ListContainer();
    EXPECT_EQ(area->Height(), c.Rows * list->GetItemHeight(-1));
    int widest = 0;
    for (int i = 0; i < c.Items; ++i) widest = std::max(widest, list->GetItemWidth(i));
    const int wanted = widest + 4 + (c.ScrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    RECT popup;
    GetWindowRect(Combo->GetPopupWindow()->Handle(), &popup);
    if (c.LongItem) EXPECT_EQ(area->Width(), wanted);
    else EXPECT_GE(area->Width(), wanted);
    // As wide as the editor's visible part, which the popup lines up with.
    EXPECT_GE(popup.right - popup.left, Combo->VisibleBounds().Width());
    Combo->SetDroppedDown(false);
    ASSERT_TRUE(PumpUntil([&] { return !Combo->DroppedDown(); }));
  }
}

// What a screen reader finds: a combo box that says whether it is open, whose
// default action opens and closes it, and whose list names the items.
TEST_F(ComboBoxes, ScreenReadersSeeAComboBoxAndItsItems) {
  Make(lsFixedList, {L"COM1", L"COM3", L"COM4"}, L"COM3");
  TComPtr<IAccessible> client;
  ASSERT_EQ(AccessibleObjectFromWindow(Combo->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       client.ReceiveVoid()),
            S_OK);
  VARIANT role{}, state{};
  ASSERT_EQ(client->get_accRole(AccessibleChild(0), &role), S_OK);
  EXPECT_EQ(role.lVal, 46);
  ASSERT_EQ(client->get_accState(AccessibleChild(0), &state), S_OK);
  EXPECT_EQ(state.lVal & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED), STATE_SYSTEM_COLLAPSED);
  TBstr action;
  ASSERT_EQ(client->get_accDefaultAction(AccessibleChild(0), &action.Value), S_OK);
  EXPECT_EQ(action.Text(), L"Open");
  ASSERT_EQ(client->accDoDefaultAction(AccessibleChild(0)), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Combo->DroppedDown(); }));
  ComboSettle();
  ASSERT_EQ(client->get_accState(AccessibleChild(0), &state), S_OK);
  EXPECT_EQ(state.lVal & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED), STATE_SYSTEM_EXPANDED);
  TBstr close;
  ASSERT_EQ(client->get_accDefaultAction(AccessibleChild(0), &close.Value), S_OK);
  EXPECT_EQ(close.Text(), L"Close");

  TComPtr<IAccessible> list;
  ASSERT_EQ(AccessibleObjectFromWindow(Combo->LookupData()->List()->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), list.ReceiveVoid()),
            S_OK);
  long count = 0;
  ASSERT_EQ(list->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 3);
  const wchar_t* names[] = {L"COM1", L"COM3", L"COM4"};
  for (int i = 0; i < 3; ++i) {
    TBstr name;
    ASSERT_EQ(list->get_accName(AccessibleChild(i + 1), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), names[i]);
  }
  ASSERT_EQ(client->accDoDefaultAction(AccessibleChild(0)), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return !Combo->DroppedDown(); }));
  EXPECT_EQ(Combo->Text(), L"COM3");
}

}  // namespace
