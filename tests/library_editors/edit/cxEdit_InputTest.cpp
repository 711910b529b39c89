// An editor window driven by real keys and mouse input: the click key and
// the default button, button presses, accelerators, the keys handed to
// OnAfterKeyDown, the clear key, hints, the context menu and the clipboard.
#include "tests/library_editors/edit/cxEdit_InputTesting.h"

#include "platform/ui/Menus.h"

namespace {

using namespace input_testing;

TShortCut Ctrl(WORD AKey) { return static_cast<TShortCut>(scCtrl | AKey); }

// ---------------------------------------------------------------------------
// The click key

struct TClickKeyRow {
  const char* Name;
  bool HasDefault;
  bool DefaultEnabled;
  TShortCut ClickKey;
  std::initializer_list<WORD> Keys;
  bool Clicks;
};

TEST_F(InputFixture, ClickKeyClicksTheEnabledDefaultButtonWithoutOnKeyDownAndLeavesNoCharacter) {
  const TClickKeyRow rows[] = {
      {"Ctrl+Enter, default button", true, true, Ctrl(VK_RETURN), {VK_CONTROL, VK_RETURN}, true},
      {"Ctrl+Enter, disabled default button", true, false, Ctrl(VK_RETURN), {VK_CONTROL, VK_RETURN}, false},
      {"Ctrl+Enter, no default button", false, true, Ctrl(VK_RETURN), {VK_CONTROL, VK_RETURN}, false},
      {"Ctrl+J as click key", true, true, Ctrl('J'), {VK_CONTROL, 'J'}, true},
  };
  TcxEditButtons* buttons = Edit->Properties()->Buttons();
  buttons->Add();
  buttons->Add();
  FocusEdit();
  for (const TClickKeyRow& row : rows) {
    SCOPED_TRACE(row.Name);
    buttons->Items(1)->SetDefault(row.HasDefault);
    buttons->Items(1)->SetEnabled(row.DefaultEnabled);
    Edit->Properties()->SetClickKey(row.ClickKey);
    PumpPending();
    Events->Log.clear();
    Events->Clicks.clear();
    Events->QueuedCharAtClick = false;
    const WORD key = *(row.Keys.begin() + 1);
    Chord(row.Keys);
    const bool sawKeyDown = std::count(Events->Log.begin(), Events->Log.end(), "KeyDown " + KeyName(key)) != 0;
    // Ctrl+Enter and Ctrl+J both type a line feed.
    const bool sawChar = std::count(Events->Log.begin(), Events->Log.end(), "KeyPress 10") != 0;
    if (row.Clicks) {
      // The button's visible index: the added buttons show in order.
      EXPECT_EQ(Events->Clicks, std::vector<int>{1});
      EXPECT_FALSE(sawKeyDown);
      EXPECT_FALSE(sawChar);
      EXPECT_FALSE(Events->QueuedCharAtClick);
    } else {
      EXPECT_TRUE(Events->Clicks.empty());
      EXPECT_TRUE(sawKeyDown);
      EXPECT_TRUE(sawChar);
    }
  }
}

// ---------------------------------------------------------------------------
// Mouse on the buttons

struct TMouseRow {
  const char* Name;
  std::vector<std::pair<int, DWORD>> Steps;  // the button (-1: away from the editor) and the mouse flags
  int Presses;  // and as many releases; 0: at least one, since Wine may move the
               // pointer back over the button on the way away, which presses it again
  std::vector<int> Clicks;
};

TEST_F(InputFixture, ButtonsArePressedReleasedAndClickedByRealMouseInput) {
  Edit->Properties()->Buttons()->Add();
  Edit->Properties()->Buttons()->Add();
  FocusEdit();
  const auto at = [this](int AButton) {
    return AButton < 0 ? Screen(TPoint(W / 2, H + 60)) : Screen(Center(ButtonRect(1 - AButton)));
  };
  const TMouseRow rows[] = {
      {"click", {{0, MOUSEEVENTF_LEFTDOWN}, {0, MOUSEEVENTF_LEFTUP}}, 1, {0}},
      {"double click",
       {{1, MOUSEEVENTF_LEFTDOWN}, {1, MOUSEEVENTF_LEFTUP}, {1, MOUSEEVENTF_LEFTDOWN}, {1, MOUSEEVENTF_LEFTUP}},
       2, {1, 1}},
      {"released away", {{0, MOUSEEVENTF_LEFTDOWN}, {-1, 0}, {-1, MOUSEEVENTF_LEFTUP}}, 0, {}},
      {"released on the other button", {{0, MOUSEEVENTF_LEFTDOWN}, {1, 0}, {1, MOUSEEVENTF_LEFTUP}}, 0, {}},
  };
  for (const TMouseRow& row : rows) {
    SCOPED_TRACE(row.Name);
    MoveUntil(at(-1), [this] { return !Edit->ViewInfo()->ContainerState.Contains(csHotTrack); });
    Edit->Presses = Edit->Releases = 0;
    Events->Clicks.clear();
    for (const auto& [button, flags] : row.Steps) {
      const int downs = Edit->Presses, ups = Edit->Releases;
      // Wine may move the pointer back after a move: it rests at the point
      // before the button changes there.
      ASSERT_TRUE(MoveUntil(at(button), [] { return true; }));
      PumpPending();
      if (flags == 0) continue;
      SendMouseButtons(at(button), flags);
      if (flags == MOUSEEVENTF_LEFTDOWN)
        ASSERT_TRUE(PumpUntil([&] { return Edit->Presses > downs; }));
      else
        // The release may have come with the move away: the capture's end
        // tells the button-up was read.
        ASSERT_TRUE(PumpUntil([&] { return Edit->Releases > ups || GetCapture() != Edit->Handle(); }));
    }
    PumpPending();
    if (row.Presses)
      EXPECT_EQ(Edit->Presses, row.Presses);
    else
      EXPECT_GE(Edit->Presses, 1);
    EXPECT_EQ(Edit->Releases, Edit->Presses);
    EXPECT_EQ(Events->Clicks, row.Clicks);
    EXPECT_EQ(Edit->CaptureButtonVisibleIndex(), -1) << "the capture went with the release";
  }
}

// ---------------------------------------------------------------------------
// Accelerators

TEST_F(InputFixture, AltWithAnAcceleratorClicksTheFirstEnabledButtonCarryingIt) {
  TcxEditButtons* buttons = Edit->Properties()->Buttons();
  const wchar_t* captions[] = {L"&Go", L"&Hold", L"Go &again"};
  for (const wchar_t* caption : captions) {
    TcxEditButton* b = static_cast<TcxEditButton*>(buttons->Add());
    b->SetKind(bkText);
    b->SetCaption(caption);
  }
  buttons->Items(1)->SetEnabled(false);
  struct TRow {
    const char* Name;
    bool FocusOnOther;
    WORD Key;
    std::vector<int> Clicks;
  };
  const TRow rows[] = {
      {"Alt+G, editor focused", false, 'G', {0}},
      {"Alt+G from another control", true, 'G', {0}},
      {"Alt+A", false, 'A', {2}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    if (row.FocusOnOther) {
      Other->SetFocus();
      ASSERT_TRUE(PumpUntil([this] { return GetFocus() == Other->Handle(); }));
    } else {
      FocusEdit();
    }
    Events->Clicks.clear();
    SendKey(VK_MENU, false);
    SendKey(row.Key, false);
    SendKey(row.Key, true);
    SendKey(VK_MENU, true);
    // The Alt release is the last input: once it is read, all is done.
    ASSERT_TRUE(AppPumpUntil([this] { return !Events->Clicks.empty(); }));
    AppPumpUntil([] { return GetQueueStatus(QS_INPUT) == 0; });
    EXPECT_EQ(Events->Clicks, row.Clicks);
  }
  // A character no enabled button carries is left to the rest of the form.
  // (Sent, not typed: an unanswered Alt+character would open the system menu.)
  Events->Clicks.clear();
  EXPECT_EQ(Edit->Perform(CM_DIALOGCHAR, L'h', 0), 0) << "the disabled button";
  EXPECT_EQ(Edit->Perform(CM_DIALOGCHAR, L'x', 0), 0);
  EXPECT_TRUE(Events->Clicks.empty());
  EXPECT_EQ(Edit->Perform(CM_DIALOGCHAR, L'g', 0), 1) << "either case";
  EXPECT_EQ(Events->Clicks, std::vector<int>{0});
}

// ---------------------------------------------------------------------------
// Keys handed to OnAfterKeyDown

struct TAfterKeyRow {
  const char* Name;
  std::initializer_list<WORD> Keys;
  bool HandlerSet;
  bool NavigationHandled;
  bool Raised;
  bool KeyLeft;  // the key still set once the editor's key processing is done
};

TEST_F(InputFixture, PlainInsertDeleteAndNavigationKeysReachOnAfterKeyDown) {
  const TAfterKeyRow rows[] = {
      {"Insert", {VK_INSERT}, true, false, true, true},
      {"Shift+Insert", {VK_SHIFT, VK_INSERT}, true, false, false, true},
      {"Ctrl+Insert", {VK_CONTROL, VK_INSERT}, true, false, false, true},
      {"Delete", {VK_DELETE}, true, false, true, true},
      {"Ctrl+Delete", {VK_CONTROL, VK_DELETE}, true, false, true, true},
      {"Shift+Delete", {VK_SHIFT, VK_DELETE}, true, false, false, true},
      // Only the hosted text edit reports an unchanged F5 (it changes neither text nor selection).
      {"F5", {VK_F5}, true, false, false, true},
      {"PageUp, handler set", {VK_PRIOR}, true, false, true, false},
      {"PageUp, standalone without handler", {VK_PRIOR}, false, false, false, false},
      {"Left", {VK_LEFT}, true, false, true, false},
      {"Down", {VK_DOWN}, false, false, false, false},
      {"PageDown, kind navigates itself", {VK_NEXT}, true, true, false, true},
  };
  FocusEdit();
  for (const TAfterKeyRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->SetOnAfterKeyDown(TKeyEvent());
    if (row.HandlerSet) SetAfterKeyDownHandler();
    Edit->NavigationKeysHandled = row.NavigationHandled;
    Events->Log.clear();
    Edit->KeyAfterProcessing = 0xFFFF;
    const WORD key = *(std::end(row.Keys) - 1);
    Chord(row.Keys);
    const bool raised =
        std::count(Events->Log.begin(), Events->Log.end(), "AfterKeyDown " + KeyName(key)) != 0;
    EXPECT_EQ(raised, row.Raised);
    EXPECT_EQ(Edit->KeyAfterProcessing, row.KeyLeft ? key : 0);
    EXPECT_EQ(GetFocus(), Edit->Handle()) << "the key moved no focus";
  }
}

TEST_F(InputFixture, AHandlerThatClearsTheKeyStopsTheInsertFromGoingOn) {
  SetAfterKeyDownHandler();
  Events->ClearAfterKey = true;
  FocusEdit();
  Chord({VK_INSERT});
  EXPECT_EQ(Events->AfterKeyDowns, 1);
  EXPECT_EQ(Edit->KeyAfterProcessing, VK_INSERT) << "the processing ran before the handler";
}

// ---------------------------------------------------------------------------
// The clear key

TEST_F(InputFixture, ClearKeyEmptiesTheValueAsTheUsersEditAndPostsWhenImmediate) {
  struct TRow {
    const char* Name;
    TShortCut ClearKey;
    std::initializer_list<WORD> Keys;
    bool ImmediatePost;
    bool Cleared;
    bool Posted;
  };
  const TRow rows[] = {
      {"Ctrl+Delete", Ctrl(VK_DELETE), {VK_CONTROL, VK_DELETE}, false, true, false},
      {"Ctrl+Delete, immediate post", Ctrl(VK_DELETE), {VK_CONTROL, VK_DELETE}, true, true, true},
      {"F8", VK_F8, {VK_F8}, false, true, false},
      {"F8 set, Delete pressed", VK_F8, {VK_DELETE}, false, false, false},
      {"no clear key, Delete pressed", 0, {VK_DELETE}, false, false, false},
  };
  SetAfterKeyDownHandler();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->SetEditValue(Variant(L"abc"));
    Edit->Properties()->SetClearKey(row.ClearKey);
    Edit->Properties()->SetImmediatePost(row.ImmediatePost);
    FocusEdit();
    Events->Log.clear();
    Chord(row.Keys);
    const bool posted = std::count(Events->Log.begin(), Events->Log.end(), "Post ") != 0;
    const bool afterKeyDown = Events->Log.end() != std::find_if(Events->Log.begin(), Events->Log.end(),
                                                               [](const std::string& S) {
                                                                 return S.rfind("AfterKeyDown", 0) == 0;
                                                               });
    if (row.Cleared) {
      EXPECT_TRUE(Edit->EditValue().IsNull());
      EXPECT_TRUE(Edit->IsEditValidated());
      EXPECT_TRUE(Edit->ModifiedAfterEnter()) << "a user's edit";
      EXPECT_FALSE(afterKeyDown) << "the key was used";
    } else {
      EXPECT_EQ(VarToStr(Edit->EditValue()), L"abc");
      EXPECT_TRUE(afterKeyDown) << "plain Delete goes on";
    }
    EXPECT_EQ(posted, row.Posted);
    Other->SetFocus();
    PumpUntil([this] { return GetFocus() == Other->Handle(); });
  }
}

// ---------------------------------------------------------------------------
// Hints

TEST_F(InputFixture, EachPartHasItsHintAndTheHintRectangleFollowsThePart) {
  TcxEditButtons* buttons = Edit->Properties()->Buttons();
  buttons->Add()->SetHint(L"left one");
  buttons->Add()->SetHint(L"right one");
  Edit->SetHint(L"the editor");
  // A button's hint is taken into the paint record by the next layout.
  Edit->ShortRefreshContainer(false);
  struct TRow {
    const char* Name;
    TPoint P;
    const wchar_t* Hint;
    bool Shown;
    TRect CursorRect;
  };
  const TRect frame(1, 1, W - 1, H - 1);
  const TRect rows_text(2, 2, ButtonRect(1).Left, H - 2);
  const TRow rows[] = {
      {"left button", Center(ButtonRect(1)), L"left one", true, ButtonRect(1)},
      {"right button", Center(ButtonRect(0)), L"right one", true, ButtonRect(0)},
      {"text area", Center(rows_text), L"the editor", true, TRect()},
      {"outside the frame", TPoint(0, 0), L"the editor", false, TRect()},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(Edit->HintTextAt(row.P), row.Hint);
    THintInfo info;
    info.HintControl = Edit;
    info.CursorPos = row.P;
    info.CursorRect = TRect(0, 0, W, H);
    const LRESULT result = Edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(result == 0, row.Shown);
    if (!row.Shown) continue;
    if (!row.CursorRect.IsEmpty()) {
      EXPECT_EQ(info.CursorRect, row.CursorRect);
    } else {
      // Elsewhere inside the frame: a rectangle that holds the point and no button.
      EXPECT_TRUE(info.CursorRect.Contains(row.P));
      EXPECT_TRUE(frame.Contains(info.CursorRect.TopLeft()));
      EXPECT_FALSE(info.CursorRect.Contains(Center(ButtonRect(1))));
    }
  }
}

// ---------------------------------------------------------------------------
// The inner control's context menu

TEST_F(InputFixture, ContextMenuOfTheInnerControlBecomesTheEditorsWithItsFocus) {
  Other->SetFocus();
  ASSERT_TRUE(PumpUntil([this] { return GetFocus() == Other->Handle(); }));
  TMessage message{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Other->Handle()), MAKELPARAM(300, 200), 0};
  EXPECT_TRUE(Edit->InnerControlMenuHandler(message));
  EXPECT_EQ(message.Result, 0x5A) << "the editor's answer handed back";
  EXPECT_EQ(Edit->ContextMenuWParam, Edit->Handle());
  EXPECT_EQ(GetFocus(), Edit->Handle());

  TMessage other{WM_LBUTTONDOWN, 0, 0, 0};
  EXPECT_FALSE(Edit->InnerControlMenuHandler(other));
}

class TMenuClicks : public TObject {
  SK_CLASS(TMenuClicks, TObject)
 public:
  int Count = 0;
  void Clicked(TObject*) { ++Count; }
};

TEST_F(InputFixture, KeysOfTheInnerControlReachThePopupMenuShortcutsOfTheEditorButNotOfAPlainForm) {
  const TOwned<TMenuClicks> clicks{New<TMenuClicks>()};
  const auto menuWith = [&](TShortCut AShortCut) {
    auto* menu = NewWith<TPopupMenu>([this](TPopupMenu* m) { m->Create(Form.get()); });
    auto* item = NewWith<TMenuItem>([menu](TMenuItem* i) { i->Create(menu); });
    item->SetShortCut(AShortCut);
    item->SetOnClick(BindEvent<&TMenuClicks::Clicked>(clicks.get()));
    menu->Items()->Add(item);
    return menu;
  };
  Edit->SetPopupMenu(menuWith(VK_F6));
  struct TRow {
    const char* Name;
    UINT Msg;
    WORD Key;
    bool Taken;
  };
  const TRow rows[] = {
      {"the editor's shortcut", CN_KEYDOWN, VK_F6, true},
      {"as a system key", CN_SYSKEYDOWN, VK_F6, true},
      {"no shortcut", CN_KEYDOWN, VK_F7, false},
      {"a plain key down is not offered", WM_KEYDOWN, VK_F6, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const int before = clicks->Count;
    TMessage message{row.Msg, row.Key, 1, 0x77};
    EXPECT_EQ(Edit->InnerControlMenuHandler(message), row.Taken);
    EXPECT_EQ(clicks->Count - before, row.Taken ? 1 : 0);
    if (row.Msg != WM_KEYDOWN) {
      EXPECT_EQ(message.Result, row.Taken ? 1 : 0);
    }
  }
  // A form is no control of the library: its menu is left to the form's own key handling.
  Edit->SetPopupMenu(nullptr);
  Form->SetPopupMenu(menuWith(VK_F9));
  TMessage message{CN_KEYDOWN, VK_F9, 1, 0};
  EXPECT_FALSE(Edit->InnerControlMenuHandler(message));
  EXPECT_EQ(clicks->Count, 1 + 1);
}

// ---------------------------------------------------------------------------
// Clipboard messages

class TRefuser : public TObject {
  SK_CLASS(TRefuser, TObject)
 public:
  void Editing(TObject*, bool& ACanEdit) { ACanEdit = false; }
};

TEST_F(InputFixture, ClipboardMessagesRunTheOperationsTheEditorAllows) {
  struct TRow {
    const char* Name;
    UINT Msg;
    bool ReadOnly;
    bool Refuse;  // OnEditing refuses the edit
    int Copies, Cuts, Pastes;
  };
  const TRow rows[] = {
      {"copy", WM_COPY, false, false, 1, 0, 0},
      {"cut", WM_CUT, false, false, 0, 1, 0},
      {"paste", WM_PASTE, false, false, 0, 0, 1},
      {"copy, read-only", WM_COPY, true, false, 1, 0, 0},
      {"cut, read-only", WM_CUT, true, false, 0, 0, 0},
      {"paste, read-only", WM_PASTE, true, false, 0, 0, 0},
      {"cut, editing refused", WM_CUT, false, true, 1, 0, 0},
      {"paste, editing refused", WM_PASTE, false, true, 0, 0, 0},
  };
  const TOwned<TRefuser> refuser{New<TRefuser>()};
  FocusEdit();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->Properties()->SetReadOnly(row.ReadOnly);
    Edit->SetOnEditing(row.Refuse ? BindEvent<&TRefuser::Editing>(refuser.get()) : TcxEditEditingEvent());
    Edit->SetModifiedAfterEnter(false);
    static_cast<TLoggingDataBinding*>(Edit->DataBinding())->Unmodify();
    Edit->Copies = Edit->Cuts = Edit->Pastes = 0;
    Edit->PastedWhileLocked = false;
    SendMessageW(Edit->Handle(), row.Msg, 0, 0);
    EXPECT_EQ(Edit->Copies, row.Copies);
    EXPECT_EQ(Edit->Cuts, row.Cuts);
    EXPECT_EQ(Edit->Pastes, row.Pastes);
    if (row.Pastes) {
      EXPECT_TRUE(Edit->PastedWhileLocked);
    }
  }
}

}  // namespace
