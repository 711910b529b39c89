// The self-drawn item list: sorted insertion, rows and columns, scrolling,
// keyboard navigation (also on an empty list and with nothing selectable),
// type-ahead on an injected clock, hints for clipped captions, the focus
// event and what an MSAA client reads.
#include "library/stdctrls/cxListBox.h"

#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace {

// The protected steps a test drives directly.
class TTestListBox : public TdxCustomListBox {
  SK_CLASS(TTestListBox, TdxCustomListBox)
 public:
  bool NothingSelectable = false;
  int Clicks = 0;
  // The item whose caption CustomizeItemFont makes bold and red.
  int CustomizedItem = -1;

  using TdxCustomListBox::HandleScroll;
  using TdxCustomListBox::FindSelectableIndex;
  using TdxCustomListBox::SetAlignImages;
  using TdxCustomListBox::SetItemAutoHeight;
  using TdxCustomListBox::VertScrollBarBounds;
  using TdxCustomListBox::IsItemTextClipped;
  using TdxCustomListBox::VertScrollBarWidth;
  using TdxCustomListBox::OverlayScrollBarSize;

 protected:
  bool CanSelectItem(int AIndex) override { return !NothingSelectable && inherited::CanSelectItem(AIndex); }
  void Click() override {
    ++Clicks;
    inherited::Click();
  }
  void CustomizeItemFont(TFont* AFont, TdxCustomListBoxItem* AItem, TcxButtonState AState) override {
    inherited::CustomizeItemFont(AFont, AItem, AState);
    if (AItem->Index() != CustomizedItem) return;
    AFont->SetStyle(TFontStyles{fsBold});
    AFont->SetColor(static_cast<TColor>(RGB(200, 0, 0)));
  }
};

struct ItemList : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TTestListBox* List = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    List = New<TTestListBox>(Form.get());
    List->SetParent(Form.get());
    List->SetBorderStyle(cxcbsNone);
    List->LookAndFeel()->SetNativeStyle(false);
    // Classic bars take their room from the client area.
    List->LookAndFeel()->SetScrollbarMode(sbmClassic);
    // Three 16-pixel rows in 40 pixels: two fit whole.
    List->SetBounds(10, 10, 200, 40);
    PumpPending();
  }

  void AddItems(std::initializer_list<const wchar_t*> ACaptions) {
    for (const wchar_t* caption : ACaptions) List->Add(caption);
  }
  std::vector<String> Captions() const {
    std::vector<String> result;
    for (int i = 0; i < List->Count(); ++i) result.push_back(List->Items()->Items(i)->Caption());
    return result;
  }
  void Key(WORD AKey) { List->Perform(WM_KEYDOWN, AKey, 0); }
  void Char(wchar_t AChar) { List->Perform(WM_CHAR, AChar, 0); }
};

TEST_F(ItemList, SortedInsertionIsOrdinalWhateverTheSortOptions) {
  const TdxCustomListBoxSortOptions options[] = {{}, {lbsAnsiSort}, {lbsCaseInsensitive}, {lbsAnsiSort, lbsCaseInsensitive}};
  for (const TdxCustomListBoxSortOptions& option : options) {
    List->Clear();
    List->Items()->SetSortOptions(option);
    List->SetSorted(true);
    AddItems({L"b", L"B", L"a"});
    EXPECT_EQ(Captions(), (std::vector<String>{L"B", L"a", L"b"}));
    List->SetSorted(false);
  }
}

TEST_F(ItemList, SortingAnExistingListFollowsTheOrdinalOrCaseBlindOption) {
  AddItems({L"b", L"B", L"a", L"C"});
  List->SetSorted(true);
  EXPECT_EQ(Captions(), (std::vector<String>{L"B", L"C", L"a", L"b"}));
  List->SetSorted(false);
  List->Items()->SetSortOptions({lbsCaseInsensitive});
  List->SetSorted(true);
  // Equal upper-case captions keep their order.
  EXPECT_EQ(Captions(), (std::vector<String>{L"a", L"B", L"b", L"C"}));
}

TEST_F(ItemList, ThreeRowsInFortyPixelsShowTwoAndScrollOneOnTheWayDown) {
  AddItems({L"one", L"two", L"three"});
  EXPECT_EQ(List->VisibleCount(), 2);
  EXPECT_EQ(List->MaxTopIndex(), 1);
  List->SetItemIndex(1);
  EXPECT_EQ(List->TopIndex(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(List->ItemIndex(), 2);
  EXPECT_EQ(List->TopIndex(), 1);
  // The rows span the items area, left of the scroll bar.
  EXPECT_EQ(List->ItemRect(2), TRect(0, 16, List->ClientBounds().Right, 32));
}

TEST_F(ItemList, NavigationLoopsOnlyWhenAskedTo) {
  AddItems({L"one", L"two", L"three"});
  struct TRow {
    const char* Name;
    bool Looped;
    int From;
    WORD Key;
    int To;
  };
  const TRow rows[] = {
      {"DownFromLastLooped", true, 2, VK_DOWN, 0}, {"UpFromFirstLooped", true, 0, VK_UP, 2},
      {"DownFromLastStays", false, 2, VK_DOWN, 2}, {"UpFromFirstStays", false, 0, VK_UP, 0},
      {"HomeAlwaysFirst", true, 2, VK_HOME, 0},    {"EndAlwaysLast", true, 0, VK_END, 2},
      {"PageDownStopsAtLast", true, 1, VK_NEXT, 2},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    List->SetLoopedNavigation(row.Looped);
    List->SetItemIndex(row.From);
    Key(row.Key);
    EXPECT_EQ(List->ItemIndex(), row.To);
  }
}

TEST_F(ItemList, AnEmptyListSelectsNothingWhateverTheKey) {
  EXPECT_EQ(List->ItemIndex(), -1);
  for (const bool looped : {false, true}) {
    List->SetLoopedNavigation(looped);
    for (const WORD key : {VK_DOWN, VK_UP, VK_HOME, VK_END, VK_NEXT, VK_PRIOR}) {
      SCOPED_TRACE(testing::Message() << "key " << key << (looped ? " looped" : ""));
      Key(key);
      EXPECT_EQ(List->ItemIndex(), -1);
    }
  }
  // The inside of an empty list: -1 when only items count, Count otherwise.
  EXPECT_EQ(List->ItemAtPos(TPoint(5, 5), true), -1);
  EXPECT_EQ(List->ItemAtPos(TPoint(5, 5), false), 0);
}

TEST_F(ItemList, EveryNegativeIndexMeansNoSelection) {
  AddItems({L"one", L"two"});
  List->SetItemIndex(1);
  for (const int value : {-1, -2, -100}) {
    SCOPED_TRACE(value);
    List->SetItemIndex(value);
    EXPECT_EQ(List->ItemIndex(), -1);
  }
  List->SetItemIndex(7);
  EXPECT_EQ(List->ItemIndex(), 1) << "past the end: the last item";
}

TEST_F(ItemList, WithNothingSelectableTheSearchEndsAndTheSelectionStays) {
  AddItems({L"one", L"two", L"three"});
  List->SetItemIndex(1);
  List->NothingSelectable = true;
  for (const bool looped : {false, true}) {
    for (const bool forward : {false, true}) {
      for (const int start : {-1, 0, 2, 3}) {
        SCOPED_TRACE(testing::Message() << start << (forward ? " forward" : " backward") << (looped ? " looped" : ""));
        EXPECT_EQ(List->FindSelectableIndex(start, forward, looped), -1);
      }
    }
    List->SetLoopedNavigation(looped);
    Key(VK_DOWN);
    Key(VK_UP);
    EXPECT_EQ(List->ItemIndex(), 1);
  }
}

TEST_F(ItemList, ItemHeightStaysPositiveSoColumnsCanBeCounted) {
  AddItems({L"one", L"two", L"three"});
  List->SetColumns(2);
  for (const int height : {0, -5}) {
    SCOPED_TRACE(height);
    List->SetItemHeight(height);
    EXPECT_EQ(List->ItemHeight(), 1);
    EXPECT_EQ(List->ItemsPerColumn(), List->ClientHeight());
  }
}

TEST_F(ItemList, ColumnsStackTheRowsAndTheArrowsMoveAcrossThem) {
  for (int i = 0; i < 10; ++i) List->Add(L"item " + std::to_wstring(i));
  List->SetColumns(2);
  // Forty pixels above the horizontal scroll bar.
  List->SetHeight(40 + GetSystemMetrics(SM_CYHSCROLL));
  ASSERT_EQ(List->ClientBounds().Height(), 40);
  const int width = List->ClientWidth() / 2;
  EXPECT_EQ(List->ColumnWidth(), width);
  EXPECT_EQ(List->ItemsPerColumn(), 2);
  EXPECT_EQ(List->VisibleCount(), 4);
  EXPECT_EQ(List->ItemRect(1), TRect(0, 16, width, 32));
  EXPECT_EQ(List->ItemRect(2), TRect(width, 0, 2 * width, 16));
  EXPECT_EQ(List->ItemRect(3), TRect(width, 16, 2 * width, 32));
  EXPECT_EQ(List->ItemAtPos(TPoint(width + 3, 20), true), 3);

  List->SetItemIndex(0);
  Key(VK_RIGHT);
  EXPECT_EQ(List->ItemIndex(), 2);
  Key(VK_DOWN);
  EXPECT_EQ(List->ItemIndex(), 3);
  // Past the visible columns the list scrolls by a column.
  Key(VK_RIGHT);
  EXPECT_EQ(List->ItemIndex(), 5);
  EXPECT_EQ(List->TopIndex(), 2);
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(List->TopIndex(), 0);
}

TEST_F(ItemList, ScrollCodesMoveTheTopRow) {
  for (int i = 0; i < 20; ++i) List->Add(L"item " + std::to_wstring(i));
  // Two whole rows show; the last top row is 18.
  struct TRow {
    const char* Name;
    TScrollCode Code;
    int Top, Position, ExpectedTop;
  };
  const TRow rows[] = {
      {"LineDown", scLineDown, 0, 0, 1},  {"LineUp", scLineUp, 5, 5, 4},     {"LineUpAtTop", scLineUp, 0, 0, 0},
      {"PageDown", scPageDown, 0, 0, 2},  {"PageUp", scPageUp, 5, 5, 3},     {"Track", scTrack, 0, 7, 7},
      {"TrackPastEnd", scTrack, 0, 30, 18}, {"Top", scTop, 9, 9, 0},        {"Bottom", scBottom, 0, 0, 18},
      {"EndScroll", scEndScroll, 4, 11, 4}, {"Position", scPosition, 6, 6, 6},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    List->SetTopIndex(row.Top);
    ASSERT_EQ(List->TopIndex(), row.Top);
    int position = row.Position;
    List->HandleScroll(sbVertical, row.Code, position);
    EXPECT_EQ(List->TopIndex(), row.ExpectedTop);
    EXPECT_EQ(position, row.Code == scEndScroll ? row.Position : row.ExpectedTop);
  }
}

TEST_F(ItemList, TypingSelectsByPrefixAndAPauseStartsAgain) {
  AddItems({L"Apple", L"Banana", L"Blueberry", L"Cherry", L"bl"});
  DWORD now = 50'000;
  List->IncrementalSearchController()->SetTickCount([&] { return now; });
  Char(L'b');
  EXPECT_EQ(List->ItemIndex(), 1);
  now += 400;
  Char(L'L');
  EXPECT_EQ(List->ItemIndex(), 2) << "\"bl\" in any case";
  // A pause of exactly the delay keeps the text.
  now += 1000;
  Char(L'u');
  EXPECT_EQ(List->IncrementalSearchController()->SearchText(), L"bLu");
  EXPECT_EQ(List->ItemIndex(), 2);
  // A longer one starts a new text.
  now += 1001;
  Char(L'c');
  EXPECT_EQ(List->IncrementalSearchController()->SearchText(), L"c");
  EXPECT_EQ(List->ItemIndex(), 3);
  // Control characters are not collected; a navigation key ends the search.
  Char(L'\t');
  EXPECT_EQ(List->IncrementalSearchController()->SearchText(), L"c");
  Key(VK_UP);
  EXPECT_EQ(List->IncrementalSearchController()->SearchText(), L"");
}

TEST_F(ItemList, TheSameLetterTwiceIsARepeatUntilAnotherFollows) {
  AddItems({L"aa", L"ab"});
  DWORD now = 1'000;
  List->IncrementalSearchController()->SetTickCount([&] { return now; });
  Char(L'a');
  EXPECT_FALSE(List->IncrementalSearchController()->IsRepeat());
  Char(L'a');
  EXPECT_TRUE(List->IncrementalSearchController()->IsRepeat());
  Char(L'b');
  EXPECT_FALSE(List->IncrementalSearchController()->IsRepeat());
}

TEST_F(ItemList, OnlyAClippedCaptionUnderThePointerShowsAsAHint) {
  List->SetShowHint(true);
  AddItems({L"short", L"a caption much too long to fit into two hundred pixels of list"});
  SetForegroundWindow(Form->Handle());
  PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
  List->SetFocus();
  PumpPending();
  ASSERT_TRUE(List->Focused());
  const auto showing = [&] {
    THintWindow* window = List->HintHelper()->HintWindow();
    return window && window->IsShowing() && IsWindowVisible(window->Handle());
  };
  struct TRow {
    const char* Name;
    int Item;
    bool Hint;
  };
  for (const TRow& row : {TRow{"Short", 0, false}, TRow{"Long", 1, true}, TRow{"ShortAgain", 0, false}}) {
    SCOPED_TRACE(row.Name);
    const TRect r = List->ItemRect(row.Item);
    const TPoint p = List->ClientToScreen(TPoint(r.Left + 5, (r.Top + r.Bottom) / 2));
    // From outside the list, so that the pointer really moves onto the item.
    SendMouseMove(List->ClientToScreen(TPoint(r.Left + 5, List->Height() + 20)));
    EXPECT_TRUE(MoveUntil(p, [&] { return List->HotIndex() == row.Item && showing() == row.Hint; }))
        << "hot item " << List->HotIndex() << ", hint " << showing();
    if (row.Hint) {
      EXPECT_EQ(List->HintHelper()->HintWindow()->Caption(), List->Items()->Items(row.Item)->Caption());
    }
  }
  // The pointer goes where no other test's window lies.
  SendMouseMove(TPoint(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1));
}

// Focus events the platform reports for the test's own process.
struct TFocusEvents {
  static inline std::vector<std::tuple<HWND, LONG, LONG>> Seen;
  static void CALLBACK Hook(HWINEVENTHOOK, DWORD, HWND AWindow, LONG AObject, LONG AChild, DWORD, DWORD) {
    Seen.emplace_back(AWindow, AObject, AChild);
  }
};

TEST_F(ItemList, ASelectionChangeIsReportedAsAFocusEvent) {
  AddItems({L"one", L"two"});
  List->SetItemIndex(0);
  PumpPending();
  TFocusEvents::Seen.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &TFocusEvents::Hook,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  List->SetItemIndex(1);
  PumpPending();
  const auto ours = [&] {
    return std::ranges::count(TFocusEvents::Seen, std::tuple<HWND, LONG, LONG>(List->Handle(), OBJID_CLIENT, CHILDID_SELF));
  };
  EXPECT_TRUE(PumpUntil([&] { return ours() > 0; }, 2000));
  EXPECT_EQ(ours(), 1);
  List->SetItemIndex(1);  // no change, no event
  PumpPending();
  EXPECT_EQ(ours(), 1);
  UnhookWinEvent(hook);
}

TEST_F(ItemList, AnAccessibilityClientReadsTheListAndItsItems) {
  AddItems({L"one", L"two", L"three"});
  List->SetItemIndex(1);
  TComPtr<IAccessible> client = AccessibleClientOf(List->Handle());
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  struct TRow {
    long Child, Role, State;
    const wchar_t* Name;
  };
  const TRow rows[] = {{CHILDID_SELF, ROLE_SYSTEM_LIST, 0x300000, L""},
                       {1, ROLE_SYSTEM_LISTITEM, 0x300000, L"one"},
                       {2, ROLE_SYSTEM_LISTITEM, 0x300006, L"two"},
                       {3, ROLE_SYSTEM_LISTITEM, 0x300000, L"three"}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Child);
    VARIANT role, state;
    ASSERT_EQ(client->get_accRole(AccessibleChild(row.Child), &role), S_OK);
    EXPECT_EQ(role.lVal, row.Role);
    ASSERT_EQ(client->get_accState(AccessibleChild(row.Child), &state), S_OK);
    EXPECT_EQ(state.lVal, row.State);
    TBstr name;
    client->get_accName(AccessibleChild(row.Child), &name.Value);
    EXPECT_EQ(name.Text(), String(row.Name));
  }
  // The default action selects the item.
  ASSERT_EQ(client->accDoDefaultAction(AccessibleChild(3)), S_OK);
  EXPECT_EQ(List->ItemIndex(), 2);
  VARIANT bad = AccessibleChild(4);
  VARIANT role;
  EXPECT_EQ(client->get_accRole(bad, &role), E_INVALIDARG);
}

TEST_F(ItemList, RowsShowTheirCaptionsAsDrawTextDoesAndTheSelectionInTheHighlight) {
  AddItems({L"one", L"two", L"a caption much too long to fit into two hundred pixels of list"});
  List->SetItemIndex(1);
  const TRect area = List->ClientBounds();
  TPixelSurface actual(List->Width(), List->Height(), RGB(1, 2, 3));
  List->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(actual.DC()), PRF_CLIENT);

  // The same rows drawn by the test: the window colour, the selected row in
  // the highlight, each caption 2 pixels inside its row, vertically centred,
  // cut with an ellipsis.
  TPixelSurface expected(List->Width(), List->Height(), GetSysColor(COLOR_WINDOW));
  const HGDIOBJ oldFont = SelectObject(expected.DC(), List->Font()->Handle());
  SetBkMode(expected.DC(), TRANSPARENT);
  for (int i = 0; i < 2; ++i) {
    RECT row{area.Left, area.Top + 16 * i, area.Right, area.Top + 16 * (i + 1)};
    const bool selected = i == 1;
    if (selected) FillRect(expected.DC(), &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(expected.DC(), GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{row.left + 2, row.top + 2, row.right - 2, row.bottom - 2};
    const String caption = List->Items()->Items(i)->Caption();
    DrawTextW(expected.DC(), caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  SelectObject(expected.DC(), oldFont);
  // Two whole rows fit; the third, cut by the bottom, is not drawn.
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      if (y >= 32) {
        ASSERT_EQ(actual.Pixel(x, y), GetSysColor(COLOR_WINDOW)) << x << "," << y;
        continue;
      }
      ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y << "\n"
                                                          << actual.Picture(GetSysColor(COLOR_WINDOW));
    }
}

TEST_F(ItemList, OnlyASeparatorWithAnItemBelowItAddsItsLine) {
  List->SetHeight(100);
  AddItems({L"one", L"two"});
  List->Items()->Items(1)->SetHasSeparator(true);
  EXPECT_EQ(List->ItemRect(1).Height(), 16) << "the last item has no line below it";
  List->Add(L"three");
  EXPECT_EQ(List->ItemRect(1).Height(), 16 + 8);
  EXPECT_EQ(List->ItemRect(2).Top, 16 + 16 + 8);
  // The line's strip is not part of the item for the pointer.
  EXPECT_EQ(List->ItemAtPos(TPoint(5, 16 + 16 + 4), false), List->Count());
}

TEST_F(ItemList, AClickBelowTheLastItemKeepsTheSelectionAndStillClicks) {
  AddItems({L"one"});
  List->SetItemIndex(0);
  const int clicks = List->Clicks;
  List->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
  List->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 30));
  EXPECT_EQ(List->ItemIndex(), 0);
  EXPECT_GE(List->Clicks, clicks + 1);
}

// ---------------------------------------------------------------------------
// Images, item heights and fonts

// Square images of ASize: image 0 a red square with a transparent border,
// image 1 a blue one.
TOwned<TImageList> NewImages(int ASize) {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetSize(ASize, ASize);
  const RECT all{0, 0, ASize, ASize};
  const RECT inner{2, 2, ASize - 2, ASize - 2};
  const TOwnedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  for (const COLORREF color : {RGB(200, 0, 0), RGB(0, 0, 190)}) {
    TOwned<TBitmap> image(New<TBitmap>());
    image->SetSize(ASize, ASize);
    const HDC dc = image->Canvas()->Handle();
    FillRect(dc, &all, magenta.Get());
    const TOwnedBrush brush(CreateSolidBrush(color));
    FillRect(dc, &inner, brush.Get());
    list->AddMasked(image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  }
  return list;
}

// One row as the test expects it: the highlight (when selected) from
// ATextLeft on, the image centred in the first AImageColumn pixels, the
// caption 2 pixels inside the rest.
struct TExpectedRow {
  RECT Row;
  int ImageColumn;
  int TextLeft;
  int ImageIndex;
  bool Selected;
  String Caption;
};

void DrawExpectedRow(HDC DC, const TExpectedRow& ARow, HIMAGELIST AImages, int AImageSize, COLORREF ATextColor) {
  const RECT& row = ARow.Row;
  if (ARow.Selected) {
    const RECT highlight{ARow.TextLeft, row.top, row.right, row.bottom};
    FillRect(DC, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  if (ARow.ImageIndex >= 0)
    ImageList_Draw(AImages, ARow.ImageIndex, DC, row.left + (ARow.ImageColumn - AImageSize) / 2,
                   row.top + (row.bottom - row.top - AImageSize) / 2, ILD_TRANSPARENT);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ATextColor);
  RECT text{ARow.TextLeft + 2, row.top + 2, row.right - 2, row.bottom - 2};
  DrawTextW(DC, ARow.Caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// Pixels of A and B that differ inside R.
int DifferingPixels(const TPixelSurface& A, const TPixelSurface& B, const TRect& R) {
  int result = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

struct ItemListImages : ItemList {
  TOwned<TImageList> Images{NewImages(16)};

  void SetUp() override {
    ItemList::SetUp();
    List->SetHeight(100);
    List->SetItemHeight(24);
    List->SetImages(Images.get());
  }
  TPixelSurface Paint() {
    TPixelSurface result(List->Width(), List->Height(), RGB(1, 2, 3));
    List->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(result.DC()), PRF_CLIENT);
    return result;
  }
  TPixelSurface Expected(std::initializer_list<TExpectedRow> ARows) {
    TPixelSurface result(List->Width(), List->Height(), GetSysColor(COLOR_WINDOW));
    const TSelectObject font(result.DC(), List->Font()->Handle());
    for (const TExpectedRow& row : ARows)
      DrawExpectedRow(result.DC(), row, Images->Handle(), 16,
                      GetSysColor(row.Selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    return result;
  }
  RECT Row(int AIndex) const { return RECT{0, 24 * AIndex, List->ClientWidth(), 24 * (AIndex + 1)}; }
};

TEST_F(ItemListImages, EachItemShowsItsImageLeftOfItsCaptionAndTheHighlightSparesTheImageColumn) {
  List->Add(L"red", 0);
  List->Add(L"blue", 1);
  List->Add(L"none");
  List->Add(L"out of range", 7);
  List->SetItemIndex(1);
  // The column: 16 pixels and 2 + 2 of margin, widened to the row's 24.
  EXPECT_EQ(List->ImageColumnWidth(), 24);
  const TPixelSurface actual = Paint();
  const TPixelSurface expected = Expected({{Row(0), 24, 24, 0, false, L"red"},
                                           {Row(1), 24, 24, 1, true, L"blue"},
                                           {Row(2), 24, 24, -1, false, L"none"},
                                           {Row(3), 24, 24, -1, false, L"out of range"}});
  // Red and blue squares inside the transparent border, once each.
  ASSERT_EQ(actual.Count(RGB(200, 0, 0)), 12 * 12);
  ASSERT_EQ(actual.Count(RGB(0, 0, 190)), 12 * 12);
  EXPECT_EQ(DifferingPixels(actual, expected, List->ClientBounds()), 0) << actual.Picture(GetSysColor(COLOR_WINDOW));
}

TEST_F(ItemListImages, AtTwiceTheResolutionTheImageIsDrawnTwiceAsLargeInTheWiderColumn) {
  List->Add(L"red", 0);
  List->SetItemIndex(-1);
  List->ScaleForPPI(192);
  ASSERT_EQ(List->ItemHeight(), 48);
  // 32 pixels and 4 + 4 of margin, widened to the row's 48: the image at
  // (8, 8), its red square 4 pixels inside it.
  EXPECT_EQ(List->ImageColumnWidth(), 48);
  const TPixelSurface actual = Paint();
  EXPECT_EQ(actual.BoundsOf(RGB(200, 0, 0)), TRect(12, 12, 36, 36)) << actual.Picture(GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(actual.Count(RGB(200, 0, 0)), 24 * 24);
  // The transparent border shows the window colour.
  EXPECT_EQ(actual.Pixel(9, 9), GetSysColor(COLOR_WINDOW));
}

TEST_F(ItemListImages, WithoutAlignedImagesACaptionWithoutAnImageStartsAtTheLeftEdge) {
  List->SetAlignImages(false);
  List->Add(L"red", 0);
  List->Add(L"none");
  List->SetItemIndex(1);
  const TPixelSurface actual = Paint();
  const TPixelSurface expected = Expected({{Row(0), 24, 24, 0, false, L"red"}, {Row(1), 24, 0, -1, true, L"none"}});
  EXPECT_EQ(DifferingPixels(actual, expected, List->ClientBounds()), 0) << actual.Picture(GetSysColor(COLOR_WINDOW));
}

TEST_F(ItemListImages, TheFontHookChangesOneCaptionOnly) {
  List->Add(L"plain", 0);
  List->Add(L"customized", 1);
  List->SetItemIndex(-1);
  List->CustomizedItem = 1;
  const TPixelSurface actual = Paint();

  TPixelSurface expected = Expected({{Row(0), 24, 24, 0, false, L"plain"}, {Row(1), 24, 24, 1, false, L""}});
  LOGFONTW bold{};
  GetObjectW(List->Font()->Handle(), sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  const TOwnedFont boldFont(CreateFontIndirectW(&bold));
  const TSelectObject font(expected.DC(), boldFont.Get());
  DrawExpectedRow(expected.DC(), {Row(1), 24, 24, -1, false, L"customized"}, nullptr, 16, RGB(200, 0, 0));
  EXPECT_EQ(DifferingPixels(actual, expected, List->ClientBounds()), 0) << actual.Picture(GetSysColor(COLOR_WINDOW));
}

TEST_F(ItemListImages, AutomaticHeightFitsTheTallerOfImageAndText) {
  TEXTMETRICW metrics{};
  {
    const TPixelSurface probe(1, 1);
    const TSelectObject font(probe.DC(), List->Font()->Handle());
    GetTextMetricsW(probe.DC(), &metrics);
  }
  const int textRow = metrics.tmHeight + 2 + 2;
  TOwned<TImageList> large(NewImages(40));
  struct TRow {
    const char* Name;
    TImageList* Images;
    int Expected;
  };
  const TRow rows[] = {
      {"TextOnly", nullptr, textRow},
      {"SmallImages", Images.get(), std::max(16 + 4, textRow)},
      {"LargeImages", large.get(), 40 + 4},
  };
  List->SetItemAutoHeight(true);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    List->SetImages(row.Images);
    EXPECT_EQ(List->ItemHeight(), row.Expected);
  }
  // A change of the list's image size is a layout change.
  List->SetImages(Images.get());
  Images->SetSize(30, 30);
  EXPECT_EQ(List->ItemHeight(), 30 + 4);
  // At twice the resolution the image and its margins are measured again,
  // not the old height doubled.
  List->ScaleForPPI(192);
  EXPECT_EQ(List->ItemHeight(), 2 * 30 + 2 * 4);
}

TEST_F(ItemListImages, AFreedImageListIsDroppedAndNothingIsDrawnFromIt) {
  List->Add(L"red", 0);
  Images.reset();
  EXPECT_EQ(List->Images(), nullptr);
  EXPECT_EQ(List->ImageColumnWidth(), 0);
  const TPixelSurface actual = Paint();
  EXPECT_EQ(actual.Count(List->ClientBounds(), RGB(200, 0, 0)), 0);
}

TEST_F(ItemListImages, TheImageColumnWidensTheContent) {
  List->Add(L"a caption");
  const int withImages = List->CalculateContentSize(5).cx;
  List->SetImages(nullptr);
  EXPECT_EQ(withImages - List->CalculateContentSize(5).cx, 24);
}

TEST_F(ItemList, TouchModeRaisesLowRowsToTheMinimum) {
  AddItems({L"one", L"two"});
  TOwned<TcxLookAndFeelController> controller(New<TcxLookAndFeelController>(nullptr));
  controller->SetTouchMode(true);
  const int minimum = MulDiv(27, List->ScaleFactor()->Numerator(), List->ScaleFactor()->Denominator());
  for (const int height : {16, 40}) {
    SCOPED_TRACE(height);
    List->SetItemHeight(height);
    EXPECT_EQ(List->ItemRect(0).Height(), std::max(height, minimum));
  }
  controller->SetTouchMode(false);
  List->LayoutChanged();
  EXPECT_EQ(List->ItemRect(0).Height(), 40);
}

// ---------------------------------------------------------------------------
// Right to left, buffering and the scroll bar's place

TEST_F(ItemListImages, MirroredRowsPutTheImageRightAndTheCaptionRightAlignedBesideIt) {
  List->SetBiDiMode(bdRightToLeft);
  List->Add(L"red", 0);
  List->Add(L"blue", 1);
  List->SetItemIndex(1);
  const TPixelSurface actual = Paint();

  const int width = List->ClientWidth();
  TPixelSurface expected(List->Width(), List->Height(), GetSysColor(COLOR_WINDOW));
  const TSelectObject font(expected.DC(), List->Font()->Handle());
  SetBkMode(expected.DC(), TRANSPARENT);
  for (int i = 0; i < 2; ++i) {
    const RECT row = Row(i);
    if (i == 1) {
      const RECT highlight{0, row.top, width - 24, row.bottom};
      FillRect(expected.DC(), &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    ImageList_Draw(Images->Handle(), i, expected.DC(), width - 24 + 4, row.top + 4, ILD_TRANSPARENT);
    SetTextColor(expected.DC(), GetSysColor(i == 1 ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{2, row.top + 2, width - 24 - 2, row.bottom - 2};
    DrawTextW(expected.DC(), i == 0 ? L"red" : L"blue", -1, &text,
              DT_RIGHT | DT_RTLREADING | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  ASSERT_EQ(actual.Count(RGB(200, 0, 0)), 12 * 12);
  EXPECT_EQ(DifferingPixels(actual, expected, List->ClientBounds()), 0) << actual.Picture(GetSysColor(COLOR_WINDOW));
  // A hint would lie over the caption where it is drawn.
  TRect itemRect, textRect;
  List->IsItemTextClipped(0, itemRect, textRect);
  EXPECT_EQ(textRect, TRect(2, 2, width - 24 - 2, 24 - 2));
}

TEST_F(ItemList, MirroredColumnsRunLeftwardsAndThePointerAndArrowsFollowThem) {
  for (int i = 0; i < 10; ++i) List->Add(L"item " + std::to_wstring(i));
  List->SetBiDiMode(bdRightToLeft);
  List->SetColumns(2);
  List->SetHeight(40 + GetSystemMetrics(SM_CYHSCROLL));
  const TRect area = List->ClientBounds();
  const int width = area.Width() / 2;
  // The first column at the right edge, the second left of it.
  EXPECT_EQ(List->ItemRect(0), TRect(area.Right - width, area.Top, area.Right, area.Top + 16));
  EXPECT_EQ(List->ItemRect(2), TRect(area.Right - 2 * width, area.Top, area.Right - width, area.Top + 16));
  struct TRow {
    const char* Name;
    TPoint Point;
    int Expected;
  };
  const TRow rows[] = {
      {"RightColumnTop", TPoint(area.Right - 3, area.Top + 3), 0},
      {"RightColumnBottom", TPoint(area.Right - width + 1, area.Top + 20), 1},
      {"LeftColumnTop", TPoint(area.Right - width - 1, area.Top + 3), 2},
      {"LeftColumnBottom", TPoint(area.Right - 2 * width, area.Top + 20), 3},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(List->ItemAtPos(row.Point, false), row.Expected);
  }
  // Left goes on to the next column, Right back.
  List->SetItemIndex(0);
  Key(VK_LEFT);
  EXPECT_EQ(List->ItemIndex(), 2);
  Key(VK_RIGHT);
  EXPECT_EQ(List->ItemIndex(), 0);
}

TEST_F(ItemList, OnlyWindowsSevenPaintsWithoutABuffer) {
  struct TRow {
    const char* Name;
    DWORD Major, Minor;
    bool Buffered;
  };
  const TRow rows[] = {{"Vista", 6, 0, true}, {"Seven", 6, 1, false}, {"Eight", 6, 2, true}, {"Ten", 10, 0, true}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TdxWindowsVersion version;
    version.Platform = 2;
    version.Major = row.Major;
    version.Minor = row.Minor;
    SetWindowsVersionFlags(version);
    TOwned<TdxCustomListBox> list(New<TdxCustomListBox>(nullptr));
    EXPECT_EQ(list->DoubleBuffered(), row.Buffered);
  }
  DetectWindowsVersion();
}

TEST_F(ItemList, AClassicBarLiesBesideTheItemsOnTheSideOfTheScrollBar) {
  for (int i = 0; i < 10; ++i) List->Add(L"item " + std::to_wstring(i));
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "right to left" : "left to right");
    List->SetBiDiMode(mirrored ? bdRightToLeft : bdLeftToRight);
    const TRect area = List->ClientBounds();
    const int width = List->VertScrollBarWidth();
    ASSERT_GT(width, 0);
    const int left = mirrored ? area.Left - width : area.Right;
    EXPECT_EQ(List->VertScrollBarBounds(), TRect(left, area.Top, left + width, area.Bottom));
  }
  // Floating bars lie over the items' far edge instead.
  List->SetBiDiMode(bdLeftToRight);
  List->LookAndFeel()->SetScrollbarMode(sbmTouch);
  PumpPending();
  const TRect area = List->ClientBounds();
  const TRect bar = List->VertScrollBarBounds();
  EXPECT_EQ(bar.Right, area.Right);
  EXPECT_EQ(bar.Width(), List->OverlayScrollBarSize().cx);
}

// A 32-bit list whose one image has soft edges: an opaque red square inside
// a ring of half-transparent blue, transparent outside.
TOwned<TImageList> NewSoftImages() {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetColorDepth(cd32Bit);
  list->SetSize(16, 16);
  TOwned<TBitmap> image(New<TBitmap>());
  image->SetPixelFormat(pf32bit);
  image->SetSize(16, 16);
  TPixelSurface pixels(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inner = x >= 6 && x < 10 && y >= 6 && y < 10;
      const bool ring = x >= 4 && x < 12 && y >= 4 && y < 12;
      pixels.SetRaw(x, y, inner ? 0xFFC80000u : ring ? 0x800000FFu : 0);
    }
  BitBlt(image->Canvas()->Handle(), 0, 0, 16, 16, pixels.DC(), 0, 0, SRCCOPY);
  list->Add(image.get(), nullptr);
  return list;
}

// Scaled, a soft-edged image is blended by its alpha as AlphaBlend blends
// the same image stretched pixel for pixel, not cut out by its mask.
TEST_F(ItemListImages, AScaledSoftEdgedImageIsBlendedByItsAlpha) {
  TOwned<TImageList> soft = NewSoftImages();
  List->SetImages(soft.get());
  List->Add(L"soft", 0);
  List->SetItemIndex(-1);
  List->ScaleForPPI(192);
  const TPixelSurface actual = Paint();
  // The image at (8, 8), 32 pixels square (as the test above works out).
  const TRect cell(8, 8, 40, 40);
  TPixelSurface expected(List->Width(), List->Height(), GetSysColor(COLOR_WINDOW));
  TPixelSurface stretched(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inner = x / 2 >= 6 && x / 2 < 10 && y / 2 >= 6 && y / 2 < 10;
      const bool ring = x / 2 >= 4 && x / 2 < 12 && y / 2 >= 4 && y / 2 < 12;
      // Premultiplied, as AlphaBlend takes it.
      stretched.SetRaw(x, y, inner ? 0xFFC80000u : ring ? 0x80000080u : 0);
    }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(GdiAlphaBlend(expected.DC(), cell.Left, cell.Top, 32, 32, stretched.DC(), 0, 0, 32, 32, blend));
  int worst = 0;
  for (int y = cell.Top; y < cell.Bottom; ++y)
    for (int x = cell.Left; x < cell.Right; ++x) {
      const COLORREF a = actual.Pixel(x, y), e = expected.Pixel(x, y);
      worst = std::max({worst, std::abs(GetRValue(a) - GetRValue(e)), std::abs(GetGValue(a) - GetGValue(e)),
                        std::abs(GetBValue(a) - GetBValue(e))});
    }
  EXPECT_LE(worst, 1) << actual.Picture(GetSysColor(COLOR_WINDOW));
}

}  // namespace
