// The button's behaviour: clicks beside the platform's own push button,
// speed-button groups, repeat clicks, the drop-down menu and what an
// accessibility client reads.
#include "library/stdctrls/cxButtons.h"

#include "platform/ui/Forms.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <vector>

namespace {

// Counts OnClick of the buttons it is given.
class TClickCounter : public TComponent {
  SK_CLASS(TClickCounter, TComponent)
 public:
  void Clicked(TObject*) { ++Count; }
  int Count = 0;
};

struct TButtonOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TClickCounter> Counter{New<TClickCounter>(nullptr)};
  // A test that moved the pointer leaves it where no other test's window lies.
  bool MovedPointer = false;
  void TearDown() override {
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
  }

  TcxButton* NewButton(int ALeft, const String& ACaption = L"Go") {
    auto* button = New<TcxButton>(Form.get());
    button->SetParent(Form.get());
    button->SetBounds(ALeft, 10, 82, 25);
    button->SetCaption(ACaption);
    button->LookAndFeel()->SetNativeStyle(false);
    button->SetOnClick(BindEvent<&TClickCounter::Clicked>(Counter.get()));
    return button;
  }
  void Press(TcxButton* AButton, int X = 40, int Y = 12) {
    AButton->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    AButton->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  }
  void Release(TcxButton* AButton, int X = 40, int Y = 12) { AButton->Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
};

// --- clicks with real input beside BS_PUSHBUTTON -----------------------------

LRESULT CALLBACK HostProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_COMMAND && HIWORD(AWParam) == BN_CLICKED)
    SetWindowLongPtrW(AWnd, GWLP_USERDATA, GetWindowLongPtrW(AWnd, GWLP_USERDATA) + 1);
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}

// A push button of the platform in a child window that counts its BN_CLICKED.
struct TNativeButton {
  explicit TNativeButton(HWND AParent) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = HostProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"SkButtonTestHost";
    RegisterClassW(&cls);
    Host = CreateWindowExW(0, cls.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 110, 10, 82, 25, AParent, nullptr,
                           cls.hInstance, nullptr);
    Button = CreateWindowExW(0, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 82, 25,
                             Host, nullptr, cls.hInstance, nullptr);
  }
  ~TNativeButton() { DestroyWindow(Host); }
  int Clicks() const { return static_cast<int>(GetWindowLongPtrW(Host, GWLP_USERDATA)); }
  HWND Host;
  HWND Button;
};

TEST_F(TButtonOnForm, ScriptsOfRealInputClickItAsOftenAsThePlatformsPushButton) {
  Form->SetBounds(100, 100, 320, 120);
  Form->Show();
  MovedPointer = true;
  TcxButton* button = NewButton(10);
  TNativeButton native(Form->Handle());
  PumpPending();
  struct TRow {
    const char* Name;
    int Clicks;  // for both buttons
    std::function<void(HWND)> Script;
  };
  const auto outside = [](HWND) { return TPoint(100 + 150, 100 + 90); };
  const TRow rows[] = {
      {"click", 1, [](HWND w) { SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}}); }},
      {"press, drag out, release", 0,
       [&](HWND w) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {outside(w), 0}, {outside(w), MOUSEEVENTF_LEFTUP}});
       }},
      {"double click", 2,
       [](HWND w) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
       }},
      {"space", 1,
       [](HWND w) {
         SetFocus(w);
         SendKey(VK_SPACE, false);
         SendKey(VK_SPACE, true);
       }},
      {"disabled", 0,
       [](HWND w) {
         EnableWindow(w, FALSE);
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const int before = Counter->Count;
    const int nativeBefore = native.Clicks();
    row.Script(button->Handle());
    SettleInput();
    SendMouseMove(outside(nullptr));
    row.Script(native.Button);
    SettleInput();
    SendMouseMove(outside(nullptr));
    SettleInput();
    EXPECT_EQ(native.Clicks() - nativeBefore, row.Clicks) << "the platform's button";
    EXPECT_EQ(Counter->Count - before, row.Clicks);
  }
}

TEST_F(TButtonOnForm, AnAcceleratorClicksWithoutFocusingOrToggling) {
  TcxButton* button = NewButton(10, L"&Go");
  button->SpeedButtonOptions()->SetGroupIndex(3);
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, L'g', 0), 1);
  EXPECT_EQ(Counter->Count, 1);
  EXPECT_FALSE(button->Focused());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, L'x', 0), 0);
  EXPECT_EQ(Counter->Count, 1);
}

// --- speed buttons -------------------------------------------------------------

TEST_F(TButtonOnForm, TheDownRule) {
  struct TRow {
    const char* Name;
    int Group;
    bool AllowAllUp;
    bool Enabled;
    bool StartDown;
    bool Request;
    bool Expected;
  };
  const TRow rows[] = {
      {"no group never goes down", 0, false, true, false, true, false},
      {"a group goes down", 1, false, true, false, true, true},
      {"disabled never goes down", 1, false, false, false, true, false},
      {"the last down button stays down", 1, false, true, true, false, true},
      {"unless all may be up", 1, true, true, true, false, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TcxButton* button = NewButton(10);
    button->SpeedButtonOptions()->SetCanBeFocused(false);
    button->SpeedButtonOptions()->SetGroupIndex(row.Group);
    button->SpeedButtonOptions()->SetAllowAllUp(true);
    if (row.StartDown) button->SetDown(true);
    ASSERT_EQ(button->Down(), row.StartDown);
    button->SpeedButtonOptions()->SetAllowAllUp(row.AllowAllUp);
    button->SetEnabled(row.Enabled);
    button->SetDown(row.Request);
    EXPECT_EQ(button->Down(), row.Expected);
    EXPECT_EQ(button->InternalStates().Contains(bisDown), row.Expected);
    button->Free();
  }
}

TEST_F(TButtonOnForm, AGroupKeepsOneButtonDownAndSharesItsOptions) {
  std::vector<TcxButton*> group;
  for (int i = 0; i < 3; ++i) {
    group.push_back(NewButton(10 + 90 * i));
    group.back()->SpeedButtonOptions()->SetCanBeFocused(false);
    group.back()->SpeedButtonOptions()->SetGroupIndex(1);
  }
  TcxButton* other = NewButton(300);
  other->SpeedButtonOptions()->SetCanBeFocused(false);
  other->SpeedButtonOptions()->SetGroupIndex(2);
  other->SetDown(true);

  // A press of each in turn leaves just that one down.
  for (TcxButton* pressed : group) {
    Press(pressed);
    Release(pressed);
    for (TcxButton* b : group) EXPECT_EQ(b->Down(), b == pressed);
    EXPECT_TRUE(other->Down()) << "another group is not touched";
    EXPECT_FALSE(pressed->Focused()) << "a speed button never takes the focus";
  }
  EXPECT_EQ(Counter->Count, 3);
  // Clicking the down one again: it stays down (all-up not allowed).
  Press(group[2]);
  Release(group[2]);
  EXPECT_TRUE(group[2]->Down());
  // Options set on one reach the group the next time it speaks.
  group[0]->SpeedButtonOptions()->SetAllowAllUp(true);
  for (TcxButton* b : group) EXPECT_TRUE(b->SpeedButtonOptions()->AllowAllUp());
  Press(group[2]);
  Release(group[2]);
  EXPECT_FALSE(group[2]->Down());
  // GroupIndex 0 releases.
  other->SpeedButtonOptions()->SetGroupIndex(0);
  EXPECT_FALSE(other->Down());
}

TEST_F(TButtonOnForm, ASpeedButtonPressReleasedOutsideDoesNotClick) {
  TcxButton* button = NewButton(10);
  button->SpeedButtonOptions()->SetCanBeFocused(false);
  Press(button);
  EXPECT_TRUE(button->InternalStates().Contains(bisPressed));
  button->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 12));
  EXPECT_FALSE(button->IsHot());
  Release(button, 200, 12);
  EXPECT_EQ(Counter->Count, 0);
  EXPECT_FALSE(button->InternalStates().Contains(bisPressed));
}

TEST_F(TButtonOnForm, ACommandLinkIsAlwaysFocusableAndUngrouped) {
  TcxButton* button = NewButton(10);
  button->SpeedButtonOptions()->SetCanBeFocused(false);
  button->SpeedButtonOptions()->SetGroupIndex(4);
  EXPECT_FALSE(button->CanBeFocused());
  button->SetKind(cxbkCommandLink);
  EXPECT_TRUE(button->CanBeFocused());
  EXPECT_EQ(button->GroupIndex(), 0);
  EXPECT_EQ(button->SpeedButtonOptions()->GroupIndex(), 4) << "kept for the other kinds";
}

// --- repeat click ----------------------------------------------------------------

// The timer's intervals run on a clock of the test's own: the first repeat
// after 400 ms, then every 100 ms while the left button is held.
TEST_F(TButtonOnForm, RepeatClicksFollowTheTimersIntervalsOnAnInjectedClock) {
  TcxButton* button = NewButton(10);
  button->SetRepeatClick(true);
  bool held = true;
  button->IsLeftButtonDown = [&held] { return held; };
  button->SpeedButtonOptions()->SetCanBeFocused(false);
  Press(button);
  ASSERT_TRUE(button->RepeatTimerEnabled());
  EXPECT_EQ(button->RepeatTimerInterval(), 400u);
  unsigned clock = 0;
  while (clock + button->RepeatTimerInterval() <= 2000) {
    clock += button->RepeatTimerInterval();
    button->RepeatClickTick();
  }
  // 400, 500, ..., 2000 ms.
  EXPECT_EQ(Counter->Count, 1 + (2000 - 400) / 100);
  // Off the button the ticks go on but click nothing.
  button->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 12));
  button->RepeatClickTick();
  EXPECT_EQ(Counter->Count, 17);
  // The button let go: the next tick stops the timer.
  held = false;
  button->RepeatClickTick();
  EXPECT_FALSE(button->RepeatTimerEnabled());
  Release(button, 200, 12);
  EXPECT_EQ(Counter->Count, 17);
}

// --- drop-down menu ----------------------------------------------------------------

struct TDropDown : TButtonOnForm {
  static inline int Tracks = 0;
  static inline std::function<void()> WhileShown;
  static UINT Track(HMENU, UINT, int, int, HWND) {
    ++Tracks;
    if (WhileShown) WhileShown();
    return 0;
  }
  void SetUp() override {
    Tracks = 0;
    WhileShown = nullptr;
    Old = TPopupMenu::SetTrackProc(&Track);
    Menu = New<TPopupMenu>(Form.get());
    auto* item = New<TMenuItem>(Menu);
    item->SetCaption(L"One");
    Menu->Items()->Add(item);
    Form->SetBounds(100, 100, 320, 120);
  }
  void TearDown() override {
    TPopupMenu::SetTrackProc(Old);
    WhileShown = nullptr;
    TButtonOnForm::TearDown();
  }
  TPopupMenu::TTrackProc Old = nullptr;
  TPopupMenu* Menu = nullptr;
};

TEST_F(TDropDown, ADropDownButtonOpensItsMenuInsteadOfClicking) {
  TcxButton* button = NewButton(10);
  button->SetKind(cxbkDropDown);
  button->SetDropDownMenu(Menu);
  bool visibleWhileShown = false;
  WhileShown = [&] { visibleWhileShown = button->InternalStates().Contains(bisMenuVisible); };
  button->Click();
  EXPECT_EQ(Tracks, 0) << "opened through a posted message";
  PumpUntil([] { return Tracks == 1; }, 2000);
  PumpPending();
  EXPECT_EQ(Tracks, 1);
  EXPECT_TRUE(visibleWhileShown);
  EXPECT_FALSE(button->InternalStates().Contains(bisMenuVisible));
  EXPECT_EQ(Counter->Count, 0);
  // Something that is no popup menu is not taken.
  button->SetDropDownMenu(Counter.get());
  EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST_F(TDropDown, TheClickThatClosesTheMenuOverTheArrowDoesNotReopenIt) {
  Form->Show();
  TcxButton* button = NewButton(10);
  button->SetKind(cxbkDropDownButton);
  button->SetDropDownMenu(Menu);
  PumpPending();
  const int arrowX = 82 - 3;
  MovedPointer = true;
  // The pointer stays over the button: when the platform's button lets the
  // capture go, nothing is taken from the press.
  SendMouseMove(button->ClientToScreen(TPoint(40, 12)));
  // The click that ends the menu reaches the button after it.
  WhileShown = [&] { PostMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrowX, 12)); };
  Press(button, arrowX);
  EXPECT_TRUE(button->InternalStates().Contains(bisMenuButtonPressed));
  Release(button, arrowX);
  PumpUntil([] { return Tracks == 1; }, 2000);
  PumpPending();
  Release(button, arrowX);
  PumpPending();
  EXPECT_EQ(Tracks, 1);
  EXPECT_EQ(Counter->Count, 0) << "the arrow part does not click";
  // The next press on the arrow opens it again.
  WhileShown = nullptr;
  Press(button, arrowX);
  Release(button, arrowX);
  PumpUntil([] { return Tracks == 2; }, 2000);
  EXPECT_EQ(Tracks, 2);
  // A press on the face clicks.
  Press(button, 10);
  Release(button, 10);
  EXPECT_EQ(Counter->Count, 1);
}

// A real menu: a timer frees the button while the menu's own loop runs, then
// ends the menu.
TEST_F(TDropDown, FreeingTheButtonWhileItsMenuIsUpIsSafe) {
  TPopupMenu::SetTrackProc(Old);
  Form->Show();
  TcxButton* button = NewButton(10);
  button->SetKind(cxbkDropDown);
  button->SetDropDownMenu(Menu);
  PumpPending();
  static TcxButton* Victim;
  static bool Freed;
  Victim = button;
  Freed = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (Victim) {
      Victim->Free();
      Victim = nullptr;
      Freed = true;
    }
    EndMenu();
  });
  button->Click();
  PumpUntil([] { return Freed; }, 5000);
  PumpPending();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(Freed);
  EXPECT_EQ(Form->ControlCount(), 0);
}

// --- accessibility ----------------------------------------------------------------

TEST_F(TButtonOnForm, AnAccessibilityClientReadsTheButtonAndClicksIt) {
  TcxButton* button = NewButton(10, L"Flash");
  button->SetDescription(L"Writes the firmware");
  TComPtr<IAccessible> client = AccessibleClientOf(button->Handle());
  ASSERT_TRUE(client);
  VARIANT role;
  ASSERT_EQ(client->get_accRole(AccessibleChild(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
  BSTR text = nullptr;
  ASSERT_EQ(client->get_accName(AccessibleChild(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(TakeBstr(text), L"Flash");
  ASSERT_EQ(client->get_accDescription(AccessibleChild(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(TakeBstr(text), L"Writes the firmware");
  ASSERT_EQ(client->get_accDefaultAction(AccessibleChild(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(TakeBstr(text), L"Click");
  long count = -1;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 0);
  VARIANT state;
  ASSERT_EQ(client->get_accState(AccessibleChild(CHILDID_SELF), &state), S_OK);
  EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE);
  button->SetEnabled(false);
  ASSERT_EQ(client->get_accState(AccessibleChild(CHILDID_SELF), &state), S_OK);
  EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
  button->SetEnabled(true);
  EXPECT_EQ(client->accDoDefaultAction(AccessibleChild(CHILDID_SELF)), S_OK);
  EXPECT_EQ(Counter->Count, 1);
  EXPECT_EQ(client->get_accRole(AccessibleChild(1), &role), E_INVALIDARG) << "no child";

  // The caption-less button is named by its hint.
  button->SetCaption(L"");
  button->SetHint(L"Quit");
  ASSERT_EQ(client->get_accName(AccessibleChild(CHILDID_SELF), &text), S_OK);
  EXPECT_EQ(TakeBstr(text), L"Quit");
}

TEST_F(TButtonOnForm, ASplitButtonIsASplitButtonWithADropDownChild) {
  TcxButton* button = NewButton(10);
  button->SetKind(cxbkDropDownButton);
  TComPtr<IAccessible> client = AccessibleClientOf(button->Handle());
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  VARIANT role;
  ASSERT_EQ(client->get_accRole(AccessibleChild(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_SPLITBUTTON);
  ASSERT_EQ(client->get_accRole(AccessibleChild(1), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_BUTTONDROPDOWN);
  BSTR text = nullptr;
  ASSERT_EQ(client->get_accName(AccessibleChild(1), &text), S_OK);
  EXPECT_EQ(TakeBstr(text), L"Open");
  EXPECT_EQ(client->get_accRole(AccessibleChild(2), &role), E_INVALIDARG);
  EXPECT_EQ(client->get_accRole(AccessibleChild(-7), &role), E_INVALIDARG);
}

}  // namespace
