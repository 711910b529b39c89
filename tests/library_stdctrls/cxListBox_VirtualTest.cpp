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

String VirtualLineText(int AIndex) { return L"Zeile " + std::to_wstring(AIndex); }

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

}  // namespace
