// List and combo boxes: items with and without a window, selection, owner
// drawing (in pixels), real input.
#include "tests/platform_ui/StdCtrlsFixture.h"

#include "tests/support/Pixels.h"

#include <map>

namespace {

std::vector<String> WindowItems(TListBox* AList) {
  std::vector<String> items;
  const int count = static_cast<int>(SendMessageW(AList->Handle(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    String text(static_cast<std::size_t>(SendMessageW(AList->Handle(), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(AList->Handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

std::vector<String> WindowItems(TComboBox* ACombo) {
  std::vector<String> items;
  const int count = static_cast<int>(SendMessageW(ACombo->Handle(), CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    String text(static_cast<std::size_t>(SendMessageW(ACombo->Handle(), CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(ACombo->Handle(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

// Objects to hang on items.
class TTag : public TObject {
  SK_CLASS(TTag, TObject)
};

// ---------------------------------------------------------------------------
// List boxes

TEST_F(StdCtrlsTest, ListBoxItemsAndSelectionSurviveANewWindow) {
  struct Case {
    const char* Name;
    bool MultiSelect;
    std::function<void(TWinControl*)> Renew;
  };
  const Case cases[] = {
      {"single select, recreated", false, [](TWinControl* C) { C->RecreateWnd(); }},
      {"multi select, recreated", true, [](TWinControl* C) { C->RecreateWnd(); }},
      {"single select, new parent", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* list = Add<TListBox>(L"List", 20, 20);
    list->SetHeight(60);
    list->SetMultiSelect(c.MultiSelect);
    TOwned<TTag> tagOwner(New<TTag>());
    TTag* tag = tagOwner.get();
    for (int i = 0; i < 30; ++i) list->Items()->Add(L"Zeile " + std::to_wstring(i));
    list->Items()->SetObjects(7, tag);
    if (c.MultiSelect) {
      list->SetSelected(3, true);
      list->SetSelected(12, true);
    } else {
      list->SetItemIndex(12);
    }
    list->SetTopIndex(10);
    const HWND before = list->Handle();
    if (c.Renew) {
      c.Renew(list);
    } else {
      auto* group = Add<TGroupBox>(L"Group", 200, 20);
      list->SetParent(group);
    }
    ASSERT_NE(list->Handle(), before);
    EXPECT_EQ(WindowItems(list).size(), 30u);
    EXPECT_EQ(WindowItems(list)[29], L"Zeile 29");
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETITEMDATA, 7, 0), reinterpret_cast<LRESULT>(tag));
    EXPECT_EQ(list->Items()->Objects(7), tag);
    if (c.MultiSelect) {
      EXPECT_EQ(list->SelCount(), 2);
      EXPECT_TRUE(list->Selected(3));
      EXPECT_TRUE(list->Selected(12));
      EXPECT_FALSE(list->Selected(4));
    } else {
      EXPECT_EQ(list->ItemIndex(), 12);
      EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 12);
    }
    EXPECT_EQ(list->TopIndex(), 10);
    list->Free();
    tagOwner.reset();
  }
}

TEST_F(StdCtrlsTest, ListBoxKeepsItemsAndSelectionWithoutAWindow) {
  auto* list = New<TListBox>(FForm);  // no parent yet: no window
  list->Items()->AddStrings({L"COM1", L"COM3", L"COM4"});
  list->SetItemIndex(1);
  list->Items()->Insert(0, L"COM0");
  EXPECT_EQ(list->ItemIndex(), 2) << "the selection stays on its item";
  list->Items()->Delete(2);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(5);
  EXPECT_EQ(list->ItemIndex(), -1) << "an index outside the items selects none";
  list->SetItemIndex(2);
  EXPECT_FALSE(list->HandleAllocated());
  list->SetParent(FForm);
  EXPECT_EQ(WindowItems(list), (std::vector<String>{L"COM0", L"COM1", L"COM4"}));
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 2);
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_THROW(list->Selected(3), EListError);
  EXPECT_THROW(list->Items()->Strings(3), EStringListError);
  EXPECT_THROW(list->Items()->Delete(-1), EStringListError);
}

TEST_F(StdCtrlsTest, ListBoxChangesReachTheWindow) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->Items()->AddStrings({L"a", L"b", L"c", L"d"});
  list->SetItemIndex(1);
  list->Items()->SetStrings(1, L"B");
  EXPECT_EQ(WindowItems(list), (std::vector<String>{L"a", L"B", L"c", L"d"}));
  EXPECT_EQ(list->ItemIndex(), 1) << "a new text keeps the selection";
  list->Items()->Exchange(0, 3);
  list->Items()->Move(1, 2);
  EXPECT_EQ(WindowItems(list), list->Items()->ToStringArray());
  EXPECT_EQ(list->Items()->ToStringArray(), (std::vector<String>{L"d", L"c", L"B", L"a"}));
  list->Items()->BeginUpdate();
  for (int i = 0; i < 100; ++i) list->Items()->Add(L"x");
  list->Items()->EndUpdate();
  EXPECT_EQ(WindowItems(list).size(), 104u);
  list->Clear();
  EXPECT_TRUE(WindowItems(list).empty());
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(StdCtrlsTest, SortedListBoxOrdersItemsItself) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->Items()->AddStrings({L"delta", L"Alpha", L"charlie", L"Bravo"});
  list->SetItemIndex(2);  // charlie
  list->SetSorted(true);
  const std::vector<String> sorted{L"Alpha", L"Bravo", L"charlie", L"delta"};
  EXPECT_EQ(list->Items()->ToStringArray(), sorted);
  EXPECT_EQ(WindowItems(list), sorted);
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), L"charlie") << "the selection moves with its item";
  list->Items()->Add(L"bravissimo");
  EXPECT_EQ(list->Items()->IndexOf(L"bravissimo"), 1);
  EXPECT_EQ(WindowItems(list), list->Items()->ToStringArray());
  EXPECT_THROW(list->Items()->Insert(0, L"zulu"), EStringListError);
  // Without a window the same order.
  auto* windowless = New<TListBox>(FForm);
  windowless->SetSorted(true);
  windowless->Items()->AddStrings({L"delta", L"Alpha", L"charlie", L"Bravo"});
  EXPECT_EQ(windowless->Items()->ToStringArray(), sorted);
}

TEST_F(StdCtrlsTest, MultiSelectOperations) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetMultiSelect(true);
  list->Items()->AddStrings({L"a", L"b", L"c", L"d", L"e"});
  list->SelectAll();
  EXPECT_EQ(list->SelCount(), 5);
  list->ClearSelection();
  EXPECT_EQ(list->SelCount(), 0);
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  list->DeleteSelected();
  EXPECT_EQ(list->Items()->ToStringArray(), (std::vector<String>{L"a", L"c", L"e"}));
  EXPECT_EQ(list->SelCount(), 0);
  list->SetItemIndex(2);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_TRUE(list->Selected(2));
  EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(StdCtrlsTest, ListBoxItemGeometry) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetHeight(120);
  list->Items()->AddStrings({L"a", L"b", L"c"});
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TRect r = list->ItemRect(i);
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_EQ(list->ItemAtPos(r.GetCenter(), true), i);
  }
  const TRect past = list->ItemRect(3);
  EXPECT_EQ(past.Top, list->ItemRect(2).Bottom) << "the place of the next item";
  EXPECT_EQ(list->ItemAtPos(past.GetCenter(), true), -1);
  EXPECT_EQ(list->ItemAtPos(past.GetCenter(), false), 3);
  EXPECT_EQ(list->ItemAtPos(TPoint(-5, 2), false), -1) << "outside the client area";
  EXPECT_TRUE(list->ItemRect(4).IsEmpty());
}

TEST_F(StdCtrlsTest, ListBoxClicksKeysAndDoubleClicks) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetHeight(120);
  list->Items()->AddStrings({L"eins", L"zwei", L"drei"});
  list->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  list->SetOnDblClick(BindEvent<&TEventLog::DblClicked>(FLog));
  ClickAtClient(list, list->ItemRect(1).GetCenter());
  ASSERT_TRUE(Pump([&] { return FLog->Count(L"click List") == 1; }));
  EXPECT_EQ(list->ItemIndex(), 1);
  Keys({Key(VK_DOWN)});
  ASSERT_TRUE(Pump([&] { return FLog->Count(L"click List") == 2; }));
  EXPECT_EQ(list->ItemIndex(), 2);
  // A double click: two clicks in quick succession on the same item.
  const TPoint p = list->ClientToScreen(list->ItemRect(0).GetCenter());
  ClickAt(POINT{p.X, p.Y});
  ClickAt(POINT{p.X, p.Y});
  ASSERT_TRUE(Pump([&] { return FLog->Count(L"dblclick List") == 1; }));
  PumpFor(50);
  EXPECT_EQ(FLog->Count(L"dblclick List"), 1u) << "one double click, one event";
  EXPECT_EQ(list->ItemIndex(), 0);
}

// Paints items in colours of its own; the selected one in the canvas's colours.
class TItemPainter : public TObject {
  SK_CLASS(TItemPainter, TObject)
 public:
  std::vector<std::pair<int, TOwnerDrawState>> Calls;
  TCanvas* Canvas = nullptr;
  void Draw(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
    Calls.emplace_back(Index, State);
    if (!State.Contains(odSelected)) {
      static constexpr COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};
      Canvas->Brush()->SetColor(static_cast<TColor>(colours[Index % 3]));
    }
    Canvas->FillRect(Rect);
  }
  void Measure(TWinControl*, int Index, int& Height) { Height = 10 * (Index + 1); }
};

// The control's client area as its window paints it into a given context.
struct TPrintedClient {
  explicit TPrintedClient(TWinControl* AControl)
      : Surface(AControl->ClientRect().Width(), AControl->ClientRect().Height(), RGB(1, 2, 3)) {
    SendMessageW(AControl->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(Surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  }
  TPixelSurface Surface;
};

TEST_F(StdCtrlsTest, OwnerDrawnListBoxPaintsThroughItsHandler) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(18);
  list->SetHeight(100);
  TItemPainter* painter = New<TItemPainter>();
  painter->Canvas = list->Canvas();
  list->SetOnDrawItem(BindEvent<&TItemPainter::Draw>(painter));
  list->Items()->AddStrings({L"rot", L"gruen", L"blau"});
  list->SetItemIndex(2);
  EXPECT_EQ(list->ItemHeight(), 18);
  EXPECT_EQ(list->ItemRect(1).Height(), 18);

  TPrintedClient printed(list);
  TPixelSurface& s = printed.Surface;
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const int width = list->ClientWidth();
  EXPECT_EQ(s.Count(list->ItemRect(0), RGB(255, 0, 0)), width * 18) << s.Picture(RGB(1, 2, 3));
  EXPECT_EQ(s.Count(list->ItemRect(1), RGB(0, 160, 0)), width * 18);
  // The selected item: the canvas came with the highlight colour.
  EXPECT_GT(s.Count(list->ItemRect(2), highlight), width * 18 / 2);
  EXPECT_EQ(s.Count(list->ItemRect(2), RGB(0, 0, 255)), 0);
  bool sawSelected = false;
  for (const auto& [index, state] : painter->Calls)
    if (index == 2 && state.Contains(odSelected)) sawSelected = true;
  EXPECT_TRUE(sawSelected);
  list->SetOnDrawItem(nullptr);
  painter->Free();
}

TEST_F(StdCtrlsTest, OwnerDrawnListBoxWithoutHandlerWritesTheItems) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  list->Items()->AddStrings({L"WWWW", L"MMMM"});
  list->SetItemIndex(1);
  TPrintedClient printed(list);
  TPixelSurface& s = printed.Surface;
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  const TRect first = list->ItemRect(0);
  const TRect second = list->ItemRect(1);
  EXPECT_GT(s.Count(first, window), first.Width() * first.Height() / 2);
  EXPECT_GT(s.Count(first, text), 0) << "the item's text";
  EXPECT_EQ(s.Count(first, highlight), 0);
  EXPECT_GT(s.Count(second, highlight), second.Width() * second.Height() / 2) << "the selection's background";
  EXPECT_GT(s.Count(second, highlightText), 0) << "the selected item's text";
  EXPECT_EQ(s.Count(second, text), 0) << "no text in the normal colour on the selection";
}

TEST_F(StdCtrlsTest, VariableItemHeightsComeFromMeasureItem) {
  auto* list = Add<TListBox>(L"List", 20, 20);
  list->SetStyle(lbOwnerDrawVariable);
  list->SetHeight(150);
  TItemPainter* painter = New<TItemPainter>();
  list->SetOnMeasureItem(BindEvent<&TItemPainter::Measure>(painter));
  list->Items()->AddStrings({L"a", L"b", L"c"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list->ItemRect(i).Height(), 10 * (i + 1));
  list->RecreateWnd();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list->ItemRect(i).Height(), 10 * (i + 1)) << "measured again";
  list->SetOnMeasureItem(nullptr);
  painter->Free();
}

// ---------------------------------------------------------------------------
// Combo boxes

TEST_F(StdCtrlsTest, DropDownListTextIsTheSelectedItem) {
  for (bool window : {false, true}) {
    SCOPED_TRACE(window ? "with window" : "without window");
    auto* combo = window ? Add<TComboBox>(L"Combo", 20, 20) : New<TComboBox>(FForm);
    combo->SetStyle(csDropDownList);
    combo->Items()->AddStrings({L"9600", L"19200", L"115200"});
    EXPECT_EQ(combo->Text(), L"");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), L"19200");
    combo->SetText(L"115200");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetText(L"12345");
    EXPECT_EQ(combo->ItemIndex(), -1) << "a text no item has selects none";
    EXPECT_EQ(combo->Text(), L"");
    combo->SetItemIndex(0);
    if (!window) combo->SetParent(FForm);
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowItems(combo), (std::vector<String>{L"9600", L"19200", L"115200"}));
    combo->Free();
  }
}

TEST_F(StdCtrlsTest, DropDownKeepsAnyTextAndItsItemsAcrossANewWindow) {
  auto* combo = Add<TComboBox>(L"Combo", 20, 20);
  combo->Items()->AddStrings({L"9600", L"19200"});
  combo->SetText(L"250000");  // not among the items
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->RecreateWnd();
  EXPECT_EQ(combo->Text(), L"250000");
  EXPECT_EQ(WindowItems(combo), (std::vector<String>{L"9600", L"19200"}));
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), L"19200");
  combo->SetStyle(csDropDownList);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), L"19200");
  combo->SetStyle(csDropDown);
  combo->SetText(L"frei");
  combo->Items()->Clear();
  EXPECT_EQ(combo->Text(), L"frei") << "clearing the items keeps the text";
}

TEST_F(StdCtrlsTest, ChoosingAnItemRaisesSelectOrChange) {
  struct Case {
    const char* Name;
    TComboBoxStyle Style;
    bool WithOnSelect;
    std::vector<String> Expected;
  };
  const Case cases[] = {
      {"list, OnSelect", csDropDownList, true, {L"click Combo", L"select Combo"}},
      {"list, no OnSelect", csDropDownList, false, {L"click Combo", L"change Combo"}},
      {"edit, OnSelect", csDropDown, true, {L"click Combo", L"select Combo"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* combo = Add<TComboBox>(L"Combo", 20, 20);
    combo->SetStyle(c.Style);
    combo->Items()->AddStrings({L"COM1", L"COM2", L"COM3"});
    combo->SetItemIndex(0);
    combo->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
    combo->SetOnChange(BindEvent<&TEventLog::Changed>(FLog));
    if (c.WithOnSelect) combo->SetOnSelect(BindEvent<&TEventLog::Selected>(FLog));
    FocusOn(combo);
    FLog->Clear();
    Keys({Key(VK_DOWN)});
    ASSERT_TRUE(Pump([&] { return FLog->Entries.size() >= 2; }));
    PumpFor(50);
    EXPECT_EQ(FLog->Entries, c.Expected);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), L"COM2");
    combo->Free();
  }
}

TEST_F(StdCtrlsTest, TypingIntoTheEditPartRaisesChangeAndKeyEvents) {
  auto* combo = Add<TComboBox>(L"Combo", 20, 20);
  combo->Items()->AddStrings({L"9600", L"19200"});
  combo->SetOnChange(BindEvent<&TEventLog::Changed>(FLog));
  combo->SetOnKeyPress(BindEvent<&TEventLog::KeyPressed>(FLog));
  FocusOn(combo);
  Keys(TypeText(L"57600"));
  ASSERT_TRUE(Pump([&] { return combo->Text() == L"57600"; }));
  PumpFor(30);
  EXPECT_EQ(FLog->Count(L"change Combo"), 5u);
  EXPECT_EQ(FLog->Count(L"key 7 Combo"), 1u) << "keys typed into the edit part reach the combo box";
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(StdCtrlsTest, TheListOpensAndClosesByKeyboard) {
  auto* combo = Add<TComboBox>(L"Combo", 20, 20);
  combo->SetStyle(csDropDownList);
  combo->Items()->AddStrings({L"a", L"b", L"c"});
  combo->SetOnDropDown(BindEvent<&TEventLog::Entered>(FLog));
  combo->SetOnCloseUp(BindEvent<&TEventLog::Changed>(FLog));
  FocusOn(combo);
  Keys({Key(VK_F4)});
  ASSERT_TRUE(Pump([&] { return combo->DroppedDown(); }));
  EXPECT_EQ(FLog->Count(L"enter Combo"), 1u) << "OnDropDown";
  Keys({Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)});
  ASSERT_TRUE(Pump([&] { return !combo->DroppedDown() && combo->ItemIndex() == 1; }));
  Pump([&] { return FLog->Count(L"change Combo") >= 1; }, 1000);
  EXPECT_GE(FLog->Count(L"change Combo"), 1u) << "OnCloseUp";
  combo->SetDroppedDown(true);
  EXPECT_TRUE(combo->DroppedDown());
  combo->SetDroppedDown(false);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(StdCtrlsTest, SortedComboBoxAndItsHeights) {
  auto* combo = Add<TComboBox>(L"Combo", 20, 20);
  combo->Items()->AddStrings({L"COM3", L"COM10", L"COM1"});
  combo->SetItemIndex(0);
  combo->SetSorted(true);
  EXPECT_EQ(WindowItems(combo), (std::vector<String>{L"COM1", L"COM10", L"COM3"}));
  EXPECT_EQ(combo->Text(), L"COM3");
  EXPECT_EQ(combo->ItemIndex(), 2);
  // The closed box keeps its height; the open list shows DropDownCount items.
  const int closed = combo->Height();
  combo->SetHeight(200);
  EXPECT_EQ(combo->Height(), closed);
  combo->SetDropDownCount(2);
  EXPECT_EQ(combo->Height(), closed);
}

}  // namespace
