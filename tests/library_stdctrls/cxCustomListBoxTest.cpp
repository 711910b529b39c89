// The list box as a user and the program meet it: beside a bare native list
// box given the same input, with integral height, read-only gating, owner
// drawing and the window remade.
#include "library/stdctrls/cxListBox.h"

#include "platform/classes/FormReader.h"
#include "platform/ui/Forms.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const wchar_t* const LbWords[] = {L"alpha", L"bravo", L"charlie", L"delta", L"echo", L"foxtrot", L"golf",
                                  L"hotel", L"india", L"juliett", L"kilo", L"lima", L"mike", L"november",
                                  L"oscar", L"papa", L"quebec", L"romeo", L"sierra", L"tango", L"uniform",
                                  L"victor", L"whiskey", L"xray", L"yankee", L"zulu"};

// What the list box's events told.
class TLbEventSink : public TComponent {
  SK_CLASS(TLbEventSink, TComponent)
 public:
  void Clicked(TObject*) { ++Clicks; }
  void DrawRed(TcxListBox* AControl, TcxCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState) {
    Control = AControl;
    Drawn.push_back(AIndex);
    ACanvas->FillRect(ARect, clRed);
  }
  void MeasureNothing(TcxListBox*, int, int& AHeight) { AHeight = 0; }
  void MeasureAlternating(TcxListBox*, int AIndex, int& AHeight) { AHeight = AIndex % 2 ? 20 : 10; }

  int Clicks = 0;
  TcxListBox* Control = nullptr;
  std::vector<int> Drawn;
};

struct CustomListBox : testing::Test {
  TOwned<TLbEventSink> Sink{New<TLbEventSink>(nullptr)};
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxListBox* Box = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 520, 360);
    Form->Show();
    Box = New<TcxListBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBounds(10, 10, 200, 120);
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->LookAndFeel()->SetScrollbarMode(sbmClassic);
    PumpPending();
  }
  void AddWords() {
    for (const wchar_t* word : LbWords) Box->Items()->Add(word);
    PumpPending();
  }
  HWND Inner() const { return Box->InnerListBox()->Handle(); }
  TPoint ScreenOfItem(HWND AList, int AIndex) const {
    RECT r{};
    SendMessageW(AList, LB_GETITEMRECT, static_cast<WPARAM>(AIndex), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 10, (r.top + r.bottom) / 2};
    ClientToScreen(AList, &p);
    return TPoint(p.x, p.y);
  }
};

// ---------------------------------------------------------------------------
// Beside the platform's own list box

TEST_F(CustomListBox, RealInputMovesSelectionAndTopAsOnABareListBox) {
  AddWords();
  RECT client{};
  GetClientRect(Inner(), &client);
  const HWND bare = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                                            LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                    260, 10, 10, 10, Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  SendMessageW(bare, WM_SETFONT, reinterpret_cast<WPARAM>(Box->InnerListBox()->Font()->Handle()), FALSE);
  for (const wchar_t* word : LbWords) SendMessageW(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
  // The same client area as the inner list, whatever its bars take.
  RECT bareClient{};
  // The bars shown depend on the size: settle it in a few rounds.
  for (int round = 0; round < 3; ++round) {
    GetClientRect(bare, &bareClient);
    RECT window{};
    GetWindowRect(bare, &window);
    SetWindowPos(bare, nullptr, 0, 0, client.right + (window.right - window.left - bareClient.right),
                 client.bottom + (window.bottom - window.top - bareClient.bottom), SWP_NOMOVE | SWP_NOZORDER);
  }
  GetClientRect(bare, &bareClient);
  ASSERT_EQ(TRect(bareClient), TRect(client));
  PumpPending();

  const struct {
    const char* Name;
    std::function<void(HWND)> Act;
  } steps[] = {
      {"a click on the third row", [&](HWND list) { SendMouseButtons(ScreenOfItem(list, 2), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP); }},
      {"arrow down twice", [](HWND) { for (int i = 0; i < 2; ++i) { SendKey(VK_DOWN, false); SendKey(VK_DOWN, true); } }},
      {"page down", [](HWND) { SendKey(VK_NEXT, false); SendKey(VK_NEXT, true); }},
      {"end", [](HWND) { SendKey(VK_END, false); SendKey(VK_END, true); }},
      {"arrow up", [](HWND) { SendKey(VK_UP, false); SendKey(VK_UP, true); }},
      {"page up", [](HWND) { SendKey(VK_PRIOR, false); SendKey(VK_PRIOR, true); }},
      {"home", [](HWND) { SendKey(VK_HOME, false); SendKey(VK_HOME, true); }},
  };
  for (const HWND list : {Inner(), bare}) {
    SetFocus(list);
    PumpPending();
    for (const auto& step : steps) step.Act(list);
    SettleInput();
  }
  // Replayed step by step, the two lists agree after each one.
  SendMessageW(bare, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Box->SetItemIndex(-1);
  SendMessageW(bare, LB_SETTOPINDEX, 0, 0);
  Box->SetTopIndex(0);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    for (const HWND list : {Inner(), bare}) {
      SetFocus(list);
      PumpPending();
      step.Act(list);
      SettleInput();
    }
    EXPECT_EQ(Box->ItemIndex(), SendMessageW(bare, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(Box->TopIndex(), SendMessageW(bare, LB_GETTOPINDEX, 0, 0));
  }
  // Scrolled by the wheel over each list.
  for (const HWND list : {Inner(), bare}) {
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMouseMove(ScreenOfItem(list, 1));
    SettleInput();
    INPUT wheel = MouseInput(ScreenOfItem(list, 1), MOUSEEVENTF_WHEEL);
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &wheel, sizeof(wheel));
    SettleInput();
  }
  EXPECT_GT(Box->TopIndex(), 0);
  EXPECT_EQ(Box->TopIndex(), SendMessageW(bare, LB_GETTOPINDEX, 0, 0));

  // The item area, pixel for pixel, with the same row selected and unfocused.
  SetFocus(Form->Handle());
  Box->SetItemIndex(4);
  SendMessageW(bare, LB_SETCURSEL, 4, 0);
  PumpPending();
  TPixelSurface ours(client.right, client.bottom), theirs(client.right, client.bottom);
  SendMessageW(Inner(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ours.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  SendMessageW(bare, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(theirs.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  int differing = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) differing += ours.Pixel(x, y) != theirs.Pixel(x, y);
  EXPECT_EQ(differing, 0) << ours.Picture(GetSysColor(COLOR_WINDOW));
  DestroyWindow(bare);
}

TEST_F(CustomListBox, ListMessagesToTheContainerAnswerAsTheNativeListDoes) {
  AddWords();
  const HWND bare = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_HASSTRINGS, 0, 0, 100, 100, Form->Handle(),
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const wchar_t* word : LbWords) SendMessageW(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
  const struct {
    const char* Name;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
  } messages[] = {
      {"count", LB_GETCOUNT, 0, 0},
      {"select the fifth", LB_SETCURSEL, 4, 0},
      {"selection", LB_GETCURSEL, 0, 0},
      {"select past the end", LB_SETCURSEL, 100, 0},
      {"selection after it", LB_GETCURSEL, 0, 0},
      {"find a prefix", LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"ro")},
      {"delete the first", LB_DELETESTRING, 0, 0},
      {"insert second", LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(L"inserted")},
      {"delete past the end", LB_DELETESTRING, 100, 0},
      {"last message of the range", 0x1B3, 0, 0},
  };
  for (const auto& m : messages) {
    SCOPED_TRACE(m.Name);
    EXPECT_EQ(SendMessageW(Box->Handle(), m.Msg, m.WParam, m.LParam), SendMessageW(bare, m.Msg, m.WParam, m.LParam));
  }
  // Item changes sent as messages reach the items too.
  EXPECT_EQ(Box->Count(), 26);
  EXPECT_EQ(Box->Items()->Strings(1), L"inserted");
  DestroyWindow(bare);
}

// ---------------------------------------------------------------------------
// Integral height

TEST_F(CustomListBox, IntegralHeightKeepsWholeItemsBetweenTheBorders) {
  AddWords();
  Box->SetListStyle(lbOwnerDrawFixed);
  Box->SetItemHeight(13);
  Box->SetIntegralHeight(true);
  const int bar = GetSystemMetrics(SM_CYHSCROLL);
  const struct {
    int Requested;
    int ScrollWidth;
    int Expected;
  } cases[] = {
      {100, 0, 2 + 2 + 7 * 13},        // the documented case
      {95, 0, 95},                     // already whole
      {10, 0, 2 + 2 + 13},             // at least one item
      {30, 0, 30},                     // two items exactly
      {42, 0, 2 + 2 + 2 * 13},         // the third does not fit
      {100, 1000, 4 + 6 * 13 + bar},   // room for a horizontal bar
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Requested << " with scroll width " << c.ScrollWidth);
    Box->SetScrollWidth(c.ScrollWidth);
    Box->SetHeight(c.Requested);
    EXPECT_EQ(Box->Height(), c.Expected);
  }
  // Aligned to fill, the height is the parent's to give.
  Box->SetScrollWidth(0);
  Box->SetAlign(alLeft);
  EXPECT_EQ(Box->AdjustIntegralHeight(100), 95);
  EXPECT_EQ(Box->Height(), Form->ClientHeight());
}

TEST_F(CustomListBox, AMeasuringHandlerAnsweringNothingStillGivesEveryItemAPixel) {
  for (int i = 0; i < 200; ++i) Box->Items()->Add(L"row");
  Box->SetListStyle(lbOwnerDrawVariable);
  Box->SetOnMeasureItem(BindEvent<&TLbEventSink::MeasureNothing>(Sink.get()));
  // 4 border pixels and 46 rows of one pixel; zero-height rows would add
  // nothing and leave the rows past the end to decide.
  EXPECT_EQ(Box->AdjustIntegralHeight(50), 50);
  Box->SetOnMeasureItem(BindEvent<&TLbEventSink::MeasureAlternating>(Sink.get()));
  EXPECT_EQ(Box->AdjustIntegralHeight(50), 4 + 10 + 20 + 10);
}

// ---------------------------------------------------------------------------
// Read-only, owner drawing, items

TEST_F(CustomListBox, ReadOnlyKeepsTheSelectionFromClicksKeysAndTyping) {
  AddWords();
  Box->SetOnClick(BindEvent<&TLbEventSink::Clicked>(Sink.get()));
  Box->SetItemIndex(1);
  for (const bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly ? "read-only" : "editable");
    Box->SetReadOnly(readOnly);
    Box->SetItemIndex(1);
    Sink->Clicks = 0;
    // Rows far apart, so the second pass's click is no double click.
    const int row = readOnly ? 5 : 3;
    SendMouseButtons(ScreenOfItem(Inner(), row), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    SettleInput();
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(Box->ItemIndex(), readOnly ? 1 : row);
    SendKey(VK_DOWN, false);
    SendKey(VK_DOWN, true);
    SettleInput();
    EXPECT_EQ(Box->ItemIndex(), readOnly ? 1 : row + 1);
    SendText(L"t");
    SettleInput();
    EXPECT_EQ(Box->ItemIndex(), readOnly ? 1 : 19);
    EXPECT_EQ(Sink->Clicks > 0, !readOnly);
  }
}

TEST_F(CustomListBox, OwnerDrawnItemsGoThroughOnDrawItemWithTheContainer) {
  AddWords();
  Box->SetOnDrawItem(BindEvent<&TLbEventSink::DrawRed>(Sink.get()));
  const std::vector<int>& drawn = Sink->Drawn;
  Box->InnerListBox()->Repaint();
  PumpPending();
  EXPECT_TRUE(drawn.empty()) << "a standard list draws its items itself";
  Box->SetListStyle(lbOwnerDrawFixed);
  Box->SetItemHeight(13);
  Box->InnerListBox()->Repaint();
  PumpPending();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(Sink->Control, Box);
  EXPECT_EQ(drawn.front(), 0);
  // What the handler drew is what the list shows.
  TPixelSurface surface(20, 20);
  SendMessageW(Inner(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  EXPECT_EQ(surface.Pixel(5, 5), RGB(255, 0, 0));
}

TEST_F(CustomListBox, ItemsSelectionAndRectanglesAreTheInnerListsInTheBoxsCoordinates) {
  Box->Clear();
  EXPECT_EQ(Box->ItemIndex(), -1);
  AddWords();
  EXPECT_EQ(Box->ItemIndex(), -1) << "adding lines selects nothing";
  const TRect inner = Box->InnerListBox()->BoundsRect();
  TRect expected = Box->InnerListBox()->ItemRect(2);
  expected.Offset(inner.Left, inner.Top);
  EXPECT_EQ(Box->ItemRect(2), expected);
  EXPECT_EQ(Box->ItemAtPos(TPoint(expected.Left + 3, expected.Top + 1), true), 2);
  // Writing the items selects the first empty string, else none.
  TOwned<TStringList> withEmpty(New<TStringList>());
  for (const wchar_t* text : {L"one", L"", L"three"}) withEmpty->Add(text);
  Box->SetItems(withEmpty.get());
  EXPECT_EQ(Box->ItemIndex(), 1);
  TOwned<TStringList> plain(New<TStringList>());
  for (const wchar_t* text : {L"one", L"two"}) plain->Add(text);
  Box->SetItems(plain.get());
  EXPECT_EQ(Box->ItemIndex(), -1);
  // Objects select their item.
  TOwned<TStringList> owner(New<TStringList>());
  Box->AddItem(L"owned", owner.get());
  Box->SetItemObject(owner.get());
  EXPECT_EQ(Box->ItemIndex(), 2);
  EXPECT_EQ(Box->ItemObject(), owner.get());
}

TEST_F(CustomListBox, SelectionOperationsWorkOnTheSelectedItems) {
  AddWords();
  Box->SetMultiSelect(true);
  for (const int i : {1, 3, 5}) Box->SetSelected(i, true);
  EXPECT_EQ(Box->SelCount(), 3);
  TOwned<TListBox> destination(New<TListBox>(nullptr));
  destination->SetParent(Form.get());
  Box->CopySelection(destination.get());
  ASSERT_EQ(destination->Items()->Count(), 3);
  EXPECT_EQ(destination->Items()->Strings(1), L"delta");
  Box->MoveSelection(destination.get());
  EXPECT_EQ(destination->Items()->Count(), 6);
  EXPECT_EQ(Box->Count(), 23);
  EXPECT_EQ(Box->Items()->Strings(1), L"charlie");
  Box->SelectAll();
  EXPECT_EQ(Box->SelCount(), 23);
  Box->ClearSelection();
  EXPECT_EQ(Box->SelCount(), 0);
}

TEST_F(CustomListBox, RemakingTheWindowAfterARescaleKeepsItemsSelectionAndTop) {
  // Enough rows that the top row stays reachable at twice the size.
  for (int i = 0; i < 100; ++i) Box->Items()->Add(L"row " + std::to_wstring(i));
  Box->SetItemIndex(20);
  Box->SetTopIndex(15);
  const HWND before = Inner();
  Box->ScaleForPPI(192);
  PumpPending();
  EXPECT_NE(Inner(), before);
  EXPECT_EQ(SendMessageW(Inner(), LB_GETCOUNT, 0, 0), 100);
  EXPECT_EQ(Box->ItemIndex(), 20);
  EXPECT_EQ(Box->TopIndex(), 15);
}

TEST_F(CustomListBox, AFormReadsTheListBoxAndItsInnerSettings) {
  const wchar_t* text =
      L"object Holder: TForm\n"
      L"  object Lines: TcxListBox\n"
      L"    Left = 8\n"
      L"    Top = 8\n"
      L"    Width = 313\n"
      L"    Height = 185\n"
      L"    ExtendedSelect = False\n"
      L"    ItemHeight = 13\n"
      L"    ScrollWidth = 400\n"
      L"    ReadOnly = True\n"
      L"    Items.Strings = (\n"
      L"      'first'\n"
      L"      'second')\n"
      L"  end\n"
      L"end\n";
  const TOwned<TForm> form(New<TForm>(nullptr));
  ReadComponentFromText(text, form.get());
  auto* lines = static_cast<TcxListBox*>(form->FindComponent(L"Lines"));
  ASSERT_NE(lines, nullptr);
  EXPECT_FALSE(lines->ExtendedSelect());
  EXPECT_EQ(lines->ScrollWidth(), 400);
  EXPECT_TRUE(lines->ReadOnly());
  ASSERT_EQ(lines->Count(), 2);
  EXPECT_EQ(lines->Items()->Strings(1), L"second");
}

}  // namespace

namespace {

// Typed letters, real keys and real pauses, beside a bare list box; the
// frame in the shadow colour, the highlight colour while focused.
TEST_F(CustomListBox, TypeAheadWithinAndAfterTheDelayAndTheFrameFollowTheFocus) {
  AddWords();
  const HWND bare = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS,
                                    260, 10, 200, 120, Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const wchar_t* word : LbWords) SendMessageW(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
  const struct {
    const char* Name;
    WORD Key;
    unsigned PauseBefore;  // ms; the delay is 500
  } keys[] = {{"d", 'D', 700}, {"e within the delay", 'E', 50}, {"e after the delay", 'E', 700}, {"k", 'K', 700}};
  std::vector<int> ours, theirs;
  for (const HWND list : {Inner(), bare}) {
    SetFocus(list);
    PumpPending();
    for (const auto& key : keys) {
      PumpFor(key.PauseBefore);
      SendKey(key.Key, false);
      SendKey(key.Key, true);
      SettleInput();
      (list == bare ? theirs : ours).push_back(static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
    }
  }
  // After a pause both search for the letter alone; within the delay ours
  // searches the letters typed so far (Wine's list box takes the letter
  // alone again), which the bare list finds as a prefix.
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    SCOPED_TRACE(keys[i].Name);
    if (keys[i].PauseBefore > 500) {
      EXPECT_EQ(ours[i], theirs[i]);
    }
  }
  EXPECT_EQ(ours[1], SendMessageW(bare, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"de")));
  EXPECT_EQ(ours.back(), 10) << "kilo";
  DestroyWindow(bare);

  const auto frameIs = [&](TColor AColor) {
    RedrawWindow(Box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    const TScreenDC screen;
    RECT w{};
    GetWindowRect(Box->Handle(), &w);
    const auto pixel = [&](int X, int Y) { return GetPixel(screen.Get(), w.left + X, w.top + Y); };
    const COLORREF c = ColorToRGB(AColor);
    // One pixel in: the ring outside it is the parent's background.
    return pixel(1, 1) == c && pixel(Box->Width() - 2, Box->Height() - 2) == c && pixel(Box->Width() / 2, 1) == c &&
           pixel(1, Box->Height() / 2) == c;
  };
  // The mouse away, so the frame shows the focus, not the hot state.
  SendMouseMove(TPoint(5, 5));
  SettleInput();
  SetFocus(Inner());
  EXPECT_TRUE(PumpUntil([&] { return frameIs(clHighlight); })) << "focused";
  const HWND other = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 260, 200, 60, 24,
                                     Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(other);
  EXPECT_TRUE(PumpUntil([&] { return frameIs(clBtnShadow); })) << "unfocused";
  DestroyWindow(other);
}

}  // namespace
