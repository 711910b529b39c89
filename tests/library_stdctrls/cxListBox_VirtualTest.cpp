// The virtual list styles: a count and three answering events instead of
// items, beside a native LBS_NODATA list that takes the same real input.
#include "library/stdctrls/cxListBox.h"

#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int VirtualLines = 1000;

String VirtualLineText(int AIndex) { return std::to_wstring(AIndex) + L". Zeile"; }

// The first line starting with AText, ignoring case, as LB_FINDSTRING finds it.
int FindVirtualLine(const wchar_t* AText) {
  const std::size_t length = wcslen(AText);
  for (int i = 0; i < VirtualLines; ++i)
    if (_wcsnicmp(VirtualLineText(i).c_str(), AText, length) == 0) return i;
  return LB_ERR;
}

WNDPROC NativeListProc = nullptr;

// The native list's LB_FINDSTRING answered from the same lines.
LRESULT CALLBACK FindingNativeListProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == LB_FINDSTRING) return FindVirtualLine(reinterpret_cast<const wchar_t*>(ALParam));
  return CallWindowProcW(NativeListProc, AWnd, AMsg, AWParam, ALParam);
}

// The owner's answers, and what it was asked.
class TVirtualListOwner : public TComponent {
  SK_CLASS(TVirtualListOwner, TComponent)
 public:
  void Data(TWinControl*, int AIndex, String& AData) {
    DataAsked.push_back(AIndex);
    AData = VirtualLineText(AIndex);
  }
  int DataFind(TWinControl*, const String& AText) {
    FindAsked.push_back(AText);
    return AText == L"4" ? 400 : -1;
  }
  int DataFindLine(TWinControl*, const String& AText) { return FindVirtualLine(AText.c_str()); }
  void DataObject(TWinControl*, int AIndex, TObject*& AObject) { AObject = AIndex == 400 ? this : nullptr; }
  void DrawItem(TcxListBox*, TcxCanvas*, int AIndex, const TRect&, TOwnerDrawState) { Drawn.push_back(AIndex); }
  std::vector<int> DataAsked;
  std::vector<String> FindAsked;
  std::vector<int> Drawn;
};

struct VirtualListBox : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TVirtualListOwner> Owner{New<TVirtualListOwner>(nullptr)};
  TcxListBox* Box = nullptr;
  HWND Native = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 460, 260);
    Form->Show();
    Box = New<TcxListBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBounds(10, 10, 200, 160);
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->LookAndFeel()->SetScrollbarMode(sbmClassic);
    Box->SetItemHeight(16);
    Box->SetListStyle(lbVirtual);
    Box->SetOnData(BindEvent<&TVirtualListOwner::Data>(Owner.get()));
    Box->SetCount(VirtualLines);
    PumpPending();
    const TRect client = Box->InnerListBox()->ClientRect();
    // The same window kind, bar and item height, drawn by nobody: only its
    // selection and top row are read.
    Native = CreateWindowExW(0, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED |
                                 LBS_NOINTEGRALHEIGHT,
                             230, 10, client.Width() + GetSystemMetrics(SM_CXVSCROLL), client.Height(),
                             Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(Native, LB_SETITEMHEIGHT, 0, 16);
    SendMessageW(Native, LB_SETCOUNT, VirtualLines, 0);
    SetForegroundWindow(Form->Handle());
    PumpPending();
  }
  void TearDown() override { DestroyWindow(Native); }

  // A click on the client point P of a window, then the keys.
  static void ClickAndType(HWND AWindow, const TPoint& P, const std::vector<WORD>& AKeys) {
    POINT screen{P.X, P.Y};
    ClientToScreen(AWindow, &screen);
    SendMouseButtons(TPoint(screen.x, screen.y), MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(TPoint(screen.x, screen.y), MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return GetFocus() == AWindow; });
    TypeKeys(AKeys);
  }
  // The keys, to the window with the focus.
  static void TypeKeys(const std::vector<WORD>& AKeys) {
    for (WORD key : AKeys) {
      SendKey(key, false);
      SendKey(key, true);
    }
    PumpUntil([] { return GetQueueStatus(QS_INPUT) == 0; });
    PumpFor(50);
  }
};

TEST_F(VirtualListBox, TheWindowHoldsTheCountAndNoItems) {
  const HWND inner = Box->InnerListBox()->Handle();
  EXPECT_EQ(SendMessageW(inner, LB_GETCOUNT, 0, 0), VirtualLines);
  EXPECT_NE(GetWindowLongW(inner, GWL_STYLE) & LBS_NODATA, 0);
  EXPECT_EQ(Box->Items()->Count(), 0);
  EXPECT_EQ(Box->Count(), VirtualLines);
  // Rebuilding the window keeps the count.
  Box->SetListStyle(lbVirtualOwnerDraw);
  PumpPending();
  EXPECT_EQ(SendMessageW(Box->InnerListBox()->Handle(), LB_GETCOUNT, 0, 0), VirtualLines);
  Box->SetCount(3);
  EXPECT_EQ(SendMessageW(Box->InnerListBox()->Handle(), LB_GETCOUNT, 0, 0), 3);
}

TEST_F(VirtualListBox, ClicksArrowsAndPagesMoveLikeTheNativeList) {
  const std::vector<WORD> keys{VK_DOWN, VK_DOWN, VK_NEXT, VK_NEXT, VK_UP};
  ClickAndType(Box->InnerListBox()->Handle(), TPoint(20, 16 * 2 + 5), keys);
  ClickAndType(Native, TPoint(20, 16 * 2 + 5), keys);
  const int nativeIndex = static_cast<int>(SendMessageW(Native, LB_GETCURSEL, 0, 0));
  EXPECT_GT(nativeIndex, 10);
  EXPECT_EQ(Box->ItemIndex(), nativeIndex);
  EXPECT_EQ(Box->TopIndex(), static_cast<int>(SendMessageW(Native, LB_GETTOPINDEX, 0, 0)));
  // Selection by program, in and out of range.
  Box->SetItemIndex(700);
  EXPECT_EQ(Box->ItemIndex(), 700);
  Box->SetItemIndex(VirtualLines);
  EXPECT_EQ(Box->ItemIndex(), -1);
}

TEST_F(VirtualListBox, FindingAsksOnDataFindAndTheItemObjectIsOnDataObjects) {
  Box->SetOnDataFind(BindEvent<&TVirtualListOwner::DataFind>(Owner.get()));
  Box->SetOnDataObject(BindEvent<&TVirtualListOwner::DataObject>(Owner.get()));
  const HWND inner = Box->InnerListBox()->Handle();
  const struct {
    const wchar_t* Text;
    LRESULT Found;
  } rows[] = {{L"4", 400}, {L"x", LB_ERR}};
  for (const auto& row : rows) {
    EXPECT_EQ(SendMessageW(inner, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(row.Text)),
              row.Found);
    ASSERT_FALSE(Owner->FindAsked.empty());
    EXPECT_EQ(Owner->FindAsked.back(), row.Text);
  }
  Box->SetItemIndex(400);
  EXPECT_EQ(Box->ItemObject(), Owner.get());
  Box->SetItemIndex(401);
  EXPECT_EQ(Box->ItemObject(), nullptr);
}

TEST_F(VirtualListBox, OwnerDrawAsksForTheShownIndexesAndPlainDrawsTheDataText) {
  std::vector<int>& drawn = Owner->Drawn;
  Box->SetOnDrawItem(BindEvent<&TVirtualListOwner::DrawItem>(Owner.get()));
  Box->SetListStyle(lbVirtualOwnerDraw);
  Box->SetTopIndex(500);
  UpdateWindow(Box->InnerListBox()->Handle());
  PumpPending();
  ASSERT_FALSE(drawn.empty());
  for (int index : drawn) {
    EXPECT_GE(index, 500);
    EXPECT_LT(index, 500 + Box->InnerListBox()->ClientHeight() / 16 + 1);
  }
  // The plain virtual style writes what OnData answers.
  std::vector<int>& asked = Owner->DataAsked;
  asked.clear();
  Box->SetListStyle(lbVirtual);
  Box->SetTopIndex(500);
  drawn.clear();
  UpdateWindow(Box->InnerListBox()->Handle());
  PumpPending();
  EXPECT_TRUE(drawn.empty()) << "OnDrawItem belongs to the owner-draw style";
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front(), 500);
}

TEST_F(VirtualListBox, TypingSelectsWhatOnDataFindAnswersLikeTheNativeListSelectingItsFind) {
  Box->SetOnDataFind(BindEvent<&TVirtualListOwner::DataFindLine>(Owner.get()));
  DWORD now = 100000;
  Box->InnerListBox()->SetTickCount([&now] { return now; });
  NativeListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Native, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FindingNativeListProc)));
  ClickAndType(Box->InnerListBox()->Handle(), TPoint(20, 5), {});
  ASSERT_EQ(Box->ItemIndex(), 0);
  struct TTypeAheadCase {
    WORD Key;
    DWORD After;  // ms since the key before (the delay is 500)
    const wchar_t* Text;  // the text searched
  };
  const TTypeAheadCase cases[] = {
      {'7', 1000, L"7"}, {'5', 10, L"75"}, {'0', 10, L"750"},  {'3', 600, L"3"},
      {'1', 499, L"31"}, {VK_BACK, 10, L"3"}, {'X', 10, L"3x"}, {'9', 500, L"9"},
  };
  for (const TTypeAheadCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "after typing " << String(c.Text));
    now += c.After;
    TypeKeys({c.Key});
    const LRESULT found = SendMessageW(Native, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(c.Text));
    if (found != LB_ERR) SendMessageW(Native, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    EXPECT_EQ(Box->ItemIndex(), SendMessageW(Native, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(Box->TopIndex(), SendMessageW(Native, LB_GETTOPINDEX, 0, 0));
  }
  // Far down, so the list scrolled; the failed search kept the selection.
  EXPECT_GT(Box->TopIndex(), 0);
  // A multi-select list reads the focused line from the window too.
  Box->SetMultiSelect(true);
  now += 1000;
  ClickAndType(Box->InnerListBox()->Handle(), TPoint(20, 5), {'4', '2'});
  EXPECT_EQ(Box->ItemIndex(), 42);
  EXPECT_GT(SendMessageW(Box->InnerListBox()->Handle(), LB_GETSEL, 42, 0), 0);
}

}  // namespace
