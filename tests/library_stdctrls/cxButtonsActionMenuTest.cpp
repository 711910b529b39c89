// The button's action and its context menu: what a linked action gives the
// button, and the popup menu shown by the mouse and by the keyboard.
#include "library/stdctrls/cxButtons.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <functional>
#include <vector>

namespace {

class TCounter : public TComponent {
  SK_CLASS(TCounter, TComponent)
 public:
  void Executed(TObject*) { ++Executes; }
  void Chosen(TObject*) { ++Choices; }
  void ContextPopup(TObject*, TPoint APos, bool& AHandled) {
    ++ContextPopups;
    LastContextPos = APos;
    AHandled = HandleContextPopup;
  }
  int Executes = 0;
  int Choices = 0;
  int ContextPopups = 0;
  TPoint LastContextPos;
  bool HandleContextPopup = false;
};

struct TButtonAndAction : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TCounter> Counter{New<TCounter>(nullptr)};
  bool MovedPointer = false;
  void TearDown() override {
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
  }
  TcxButton* NewButton() {
    auto* button = New<TcxButton>(Form.get());
    button->SetParent(Form.get());
    button->SetBounds(20, 20, 82, 25);
    button->LookAndFeel()->SetNativeStyle(false);
    return button;
  }
  TAction* NewAction() {
    auto* action = New<TAction>(Form.get());
    action->SetCaption(L"Flash");
    action->SetHint(L"Writes the firmware");
    action->SetImageIndex(12);
    action->SetGroupIndex(4);
    action->SetChecked(true);
    action->SetOnExecute(BindEvent<&TCounter::Executed>(Counter.get()));
    return action;
  }
};

// Linked outside loading, the button shows what the action holds, follows
// each change, and a real click runs the action.
TEST_F(TButtonAndAction, TheButtonShowsAndFollowsItsAction) {
  Form->SetBounds(200, 200, 300, 120);
  Form->Show();
  TcxButton* button = NewButton();
  button->SetCaption(L"Mine");
  TAction* action = NewAction();
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), L"Flash");
  EXPECT_EQ(button->Hint(), L"Writes the firmware");
  EXPECT_EQ(button->OptionsImage()->ImageIndex(), 12);
  EXPECT_EQ(button->GroupIndex(), 4);
  EXPECT_TRUE(button->Down()) << "the action's checked state";

  struct TRow {
    const char* Name;
    std::function<void()> Change;
    std::function<bool()> Shown;
  };
  const TRow rows[] = {
      {"caption", [&] { action->SetCaption(L"Verbinden"); }, [&] { return button->Caption() == L"Verbinden"; }},
      {"hint", [&] { action->SetHint(L"Connects"); }, [&] { return button->Hint() == L"Connects"; }},
      {"image index", [&] { action->SetImageIndex(13); }, [&] { return button->OptionsImage()->ImageIndex() == 13; }},
      {"unchecked", [&] { action->SetChecked(false); }, [&] { return !button->Down(); }},
      {"checked", [&] { action->SetChecked(true); }, [&] { return button->Down(); }},
      {"group index", [&] { action->SetGroupIndex(7); }, [&] { return button->GroupIndex() == 7; }},
      {"disabled", [&] { action->SetEnabled(false); }, [&] { return !button->Enabled() && !button->Down(); }},
      {"enabled: down again", [&] { action->SetEnabled(true); }, [&] { return button->Enabled() && button->Down(); }},
      {"hidden", [&] { action->SetVisible(false); }, [&] { return !button->Visible(); }},
      {"shown", [&] { action->SetVisible(true); }, [&] { return button->Visible(); }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_FALSE(row.Shown()) << "before the change";
    row.Change();
    EXPECT_TRUE(row.Shown());
  }
  // Down belongs to the action: the button's own writes are refused.
  button->SetDown(false);
  EXPECT_TRUE(button->Down());

  // An index of the button's own stays when the action's changes.
  button->OptionsImage()->SetImageIndex(2);
  action->SetImageIndex(14);
  EXPECT_EQ(button->OptionsImage()->ImageIndex(), 2);

  PumpPending();
  MovedPointer = true;
  const TPoint centre = ScreenCentreOf(button->Handle());
  SendMouseSteps({{centre, MOUSEEVENTF_LEFTDOWN}, {centre, MOUSEEVENTF_LEFTUP}});
  SettleInput();
  EXPECT_EQ(Counter->Executes, 1) << "a real click runs the action once";
}

// While linked, what the action supplies is not written into the form
// description; a value of the button's own is.
TEST_F(TButtonAndAction, WhatTheActionSuppliesIsNotStored) {
  TcxButton* button = NewButton();
  button->SetName(L"BTN_Flash");
  button->SetAction(NewAction());
  const String linked = WriteComponentToText(button);
  for (const wchar_t* absent : {L"OptionsImage.ImageIndex", L"SpeedButtonOptions.GroupIndex", L"SpeedButtonOptions.Down"})
    EXPECT_EQ(linked.find(absent), String::npos) << linked;
  button->OptionsImage()->SetImageIndex(3);
  const String own = WriteComponentToText(button);
  EXPECT_NE(own.find(L"OptionsImage.ImageIndex = 3"), String::npos) << own;
}

// The action is linked while the form loads (Action comes after the
// button's own values): the button keeps what it has and takes the rest.
TEST_F(TButtonAndAction, AnActionLinkedWhileLoadingKeepsTheButtonsOwnValues) {
  RegisterClasses({TcxButton::ClassInfo(), TAction::ClassInfo()});
  const String text =
      L"object Form: TForm\n"
      L"  object Flash: TAction\n"
      L"    Caption = 'Flash'\n"
      L"    Hint = 'Writes the firmware'\n"
      L"    ImageIndex = 12\n"
      L"    GroupIndex = 4\n"
      L"    Checked = True\n"
      L"  end\n"
      L"  object Own: TcxButton\n"
      L"    Caption = 'Mine'\n"
      L"    Hint = 'My hint'\n"
      L"    OptionsImage.ImageIndex = 5\n"
      L"    SpeedButtonOptions.GroupIndex = 2\n"
      L"    Action = Flash\n"
      L"  end\n"
      L"  object Plain: TcxButton\n"
      L"    Action = Flash\n"
      L"  end\n"
      L"end\n";
  const TOwned<TForm> form(New<TForm>(nullptr));
  ReadComponentFromText(text, form.get());
  auto* own = static_cast<TcxButton*>(form->FindComponent(L"Own"));
  auto* plain = static_cast<TcxButton*>(form->FindComponent(L"Plain"));
  ASSERT_TRUE(own && plain);
  ASSERT_NE(own->Action(), nullptr);
  EXPECT_EQ(own->Caption(), L"Mine");
  EXPECT_EQ(own->Hint(), L"My hint");
  EXPECT_EQ(own->OptionsImage()->ImageIndex(), 5);
  EXPECT_EQ(own->GroupIndex(), 2);
  EXPECT_EQ(plain->Caption(), L"Flash");
  EXPECT_EQ(plain->Hint(), L"Writes the firmware");
  EXPECT_EQ(plain->OptionsImage()->ImageIndex(), 12);
  EXPECT_EQ(plain->GroupIndex(), 4);
  EXPECT_TRUE(plain->Down());
}

// --- the context menu, a real one ---------------------------------------------

// A timer looks for the open menu, notes where it stands and ends it.
struct TContextMenu : TButtonAndAction {
  static inline int Menus = 0;
  static inline TPoint MenuPos;
  static void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    RECT r{};
    GetWindowRect(menu, &r);
    MenuPos = TPoint(r.left, r.top);
    ++Menus;
    EndMenu();
  }
  void SetUp() override {
    Menus = 0;
    Menu = New<TPopupMenu>(Form.get());
    auto* item = New<TMenuItem>(Menu);
    item->SetCaption(L"One");
    item->SetShortCut(ShortCut('K', false, true, false));
    item->SetOnClick(BindEvent<&TCounter::Chosen>(Counter.get()));
    Menu->Items()->Add(item);
    Form->SetBounds(200, 200, 300, 120);
    Form->Show();
    Button = NewButton();
    Button->SetPopupMenu(Menu);
    Button->SetOnContextPopup(BindEvent<&TCounter::ContextPopup>(Counter.get()));
    PumpPending();
    Timer = SetTimer(nullptr, 0, 30, &Watch);
  }
  void TearDown() override {
    KillTimer(nullptr, Timer);
    TButtonAndAction::TearDown();
  }
  // Waits for the menu of the next request.
  bool MenuShown(int ACount) {
    PumpUntil([&] { return Menus >= ACount; }, 3000);
    SettleInput();
    return Menus == ACount;
  }
  TPopupMenu* Menu = nullptr;
  TcxButton* Button = nullptr;
  UINT_PTR Timer = 0;
};

TEST_F(TContextMenu, TheMouseAndThePopupKeysShowThePopupMenu) {
  MovedPointer = true;
  const TPoint centre = ScreenCentreOf(Button->Handle());
  const TPoint origin = Button->ClientToScreen(TPoint());
  const TPoint outside = Button->ClientToScreen(TPoint(150, 60));
  struct TRow {
    const char* Name;
    std::function<void()> Request;
    TPoint At;  // where the menu opens
    TPoint ContextPos;  // what OnContextPopup hears
  };
  const TRow rows[] = {
      {"right click", [&] { SendMouseSteps({{centre, MOUSEEVENTF_RIGHTDOWN}, {centre, MOUSEEVENTF_RIGHTUP}}); },
       centre, Button->ScreenToClient(centre)},
      {"Shift+F10",
       [&] {
         Button->SetFocus();
         SendKey(VK_SHIFT, false);
         SendKey(VK_F10, false);
         SendKey(VK_F10, true);
         SendKey(VK_SHIFT, true);
       },
       origin, TPoint(-1, -1)},
      {"Apps key",
       [&] {
         Button->SetFocus();
         SendKey(VK_APPS, false);
         SendKey(VK_APPS, true);
       },
       origin, TPoint(-1, -1)},
      {"a request for a point outside the button",
       [&] { SendMessageW(Button->Handle(), WM_CONTEXTMENU, WPARAM(Button->Handle()), MAKELPARAM(outside.X, outside.Y)); },
       outside, TPoint(150, 60)},
  };
  int count = 0;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const int popups = Counter->ContextPopups;
    row.Request();
    ASSERT_TRUE(MenuShown(++count));
    EXPECT_EQ(MenuPos, row.At);
    EXPECT_EQ(Counter->ContextPopups - popups, 1) << "OnContextPopup asked once";
    EXPECT_EQ(Counter->LastContextPos, row.ContextPos);
    EXPECT_EQ(Menu->PopupComponent(), Button);
  }
  EXPECT_EQ(Counter->Choices, 0) << "ended, not chosen";
}

// OnContextPopup may take the request; without a popup menu the request is
// the window's, and OnContextPopup is not asked twice.
TEST_F(TContextMenu, OnContextPopupComesFirst) {
  Counter->HandleContextPopup = true;
  EXPECT_EQ(SendMessageW(Button->Handle(), WM_CONTEXTMENU, WPARAM(Button->Handle()), MAKELPARAM(-1, -1)), 1);
  EXPECT_FALSE(MenuShown(1));
  EXPECT_EQ(Counter->ContextPopups, 1);

  Counter->HandleContextPopup = false;
  Button->SetPopupMenu(nullptr);
  EXPECT_EQ(SendMessageW(Button->Handle(), WM_CONTEXTMENU, WPARAM(Button->Handle()), MAKELPARAM(-1, -1)), 0);
  EXPECT_EQ(Counter->ContextPopups, 2);
  // A result already set leaves the request alone.
  TMessage taken{WM_CONTEXTMENU, WPARAM(Button->Handle()), MAKELPARAM(-1, -1), 1};
  Button->HandleMessage(taken);
  EXPECT_EQ(Counter->ContextPopups, 2);
  EXPECT_EQ(Menus, 0);
}

// A shortcut of the popup menu's items runs while the button has the focus.
TEST_F(TContextMenu, ThePopupMenusShortcutsWorkOnTheFocusedButton) {
  Button->SetFocus();
  SendKey(VK_CONTROL, false);
  SendKey('K', false);
  SendKey('K', true);
  SendKey(VK_CONTROL, true);
  // Through the application's loop, which offers keys to the controls first.
  PumpUntilWith(
      [] {
        Application()->ProcessMessages();
        return true;
      },
      [&] { return Counter->Choices > 0 && GetQueueStatus(QS_INPUT) == 0; }, 2000);
  EXPECT_EQ(Counter->Choices, 1);
  EXPECT_EQ(Menus, 0);
}

}  // namespace
