// Button groups through a small kind whose inner buttons are push buttons:
// the grid arithmetic, the cells the inner buttons move to, arrow keys as
// real key presses, one inner button per inserted or deleted item and the
// mouse activation handed to the button under the point.
#include "library/stdctrls/cxGroupBox.h"

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TGridKindViewInfo : public TcxButtonGroupViewInfo {
  SK_CLASS(TGridKindViewInfo, TcxButtonGroupViewInfo)
 public:
  void DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButton, const TRect& AGlyphRect) override {
    ACanvas->DrawTexT(AButton->Caption, TRect(AGlyphRect.Right, AButton->Bounds.Top, AButton->Bounds.Right,
                                              AButton->Bounds.Bottom),
                      cxtfLeft | cxtfCenterY | cxtfSingleLine);
  }
  void DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo*, const TRect& AGlyphRect) override {
    ACanvas->FrameRect(AGlyphRect, clBtnText);
  }
  bool IsButtonGlyphTransparent(TcxGroupBoxButtonViewInfo*) override { return false; }
};

class TGridKindProperties : public TcxCustomButtonGroupProperties {
  SK_CLASS(TGridKindProperties, TcxCustomButtonGroupProperties)
 public:
  TClass GetViewInfoClass() override { return TGridKindViewInfo::ClassInfo(); }
};

// Like the check boxes and radio buttons of the real kinds, the inner
// buttons take the arrow keys themselves.
class TGridKindButton : public TButton {
  SK_CLASS(TGridKindButton, TButton)
 public:
  static void Publish(TPublisher<TGridKindButton>& P) {
    P.Message<&TGridKindButton::WMGetDlgCode>(WM_GETDLGCODE);
  }
  void WMGetDlgCode(TMessage& Message) {
    InheritedMessage<TGridKindButton>(Message);
    Message.Result |= DLGC_WANTARROWS;
  }
};

class TGridKindGroup : public TcxCustomButtonGroup {
  SK_CLASS(TGridKindGroup, TcxCustomButtonGroup)
 public:
  using TcxCustomButtonGroup::CreateEditViewData;
  TClass GetPropertiesClass() override { return TGridKindProperties::ClassInfo(); }

 protected:
  TWinControl* CreateButton() override { return New<TGridKindButton>(this); }
  HDC GetButtonDC(int) override { return nullptr; }
};

// Records where the group's mouse-down events land.
class TGridKindMouseSpy : public TObject {
  SK_CLASS(TGridKindMouseSpy, TObject)
 public:
  void Down(TObject*, TMouseButton, TShiftState, int X, int Y) { Downs.emplace_back(X, Y); }
  std::vector<TPoint> Downs;
};

class ButtonGroupFixture : public testing::Test {
 protected:
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TGridKindGroup* Group = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 320);
    Form->Show();
    Group = New<TGridKindGroup>(Form.get());
    Group->SetParent(Form.get());
    Group->SetBounds(10, 10, 300, 120);
    PumpPending();
  }

  TcxCustomButtonGroupProperties* Properties() { return Group->Properties(); }

  void SetItems(int ACount, int AColumns) {
    Properties()->BeginUpdate();
    Properties()->Items()->Clear();
    for (int i = 0; i < ACount; ++i)
      static_cast<TcxButtonGroupItem*>(Properties()->Items()->Add())->SetCaption(L"Item " + IntToStr(i));
    Properties()->SetColumns(AColumns);
    Properties()->EndUpdate();
    PumpPending();
  }

  std::vector<TWinControl*> Buttons() {
    std::vector<TWinControl*> result;
    for (int i = 0; i < Group->ButtonCount(); ++i) result.push_back(Group->Button(i));
    return result;
  }

  // Real key presses to the focused inner button.
  void Press(WORD AKey) {
    SendKey(AKey, false);
    SendKey(AKey, true);
    PumpUntilWith(
        [] {
          Application()->ProcessMessages();
          return true;
        },
        [] { return GetQueueStatus(QS_INPUT) == 0; }, 2000, 50);
    PumpPending();
  }
};

TEST_F(ButtonGroupFixture, GridFillsColumnByColumn) {
  const struct {
    int Items, Columns, EffectiveColumns, Rows;
  } cases[] = {{7, 3, 3, 3}, {4, 3, 2, 2}, {5, 3, 3, 2}, {3, 0, 1, 3}, {3, -5, 1, 3}, {2, 5, 2, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Items << " items in " << c.Columns << " columns");
    SetItems(c.Items, c.Columns);
    EXPECT_GE(Properties()->Columns(), 1);
    EXPECT_EQ(Properties()->GetColumnCount(), c.EffectiveColumns);
    EXPECT_EQ(Properties()->GetRowCount(), c.Rows);
    ASSERT_EQ(Group->ButtonCount(), c.Items);
    for (int i = 0; i < c.Items; ++i) {
      auto* info = static_cast<TcxGroupBoxButtonViewInfo*>(Group->ViewInfo()->ButtonsInfo[i].get());
      EXPECT_EQ(info->Column, i / c.Rows);
      EXPECT_EQ(info->Row, i % c.Rows);
      EXPECT_EQ(Group->Button(i)->BoundsRect(), info->Bounds) << "inner button " << i << " sits in its cell";
    }
  }
  SetItems(0, 3);
  EXPECT_EQ(Properties()->GetColumnCount(), 0);
  EXPECT_EQ(Group->ButtonCount(), 0);
  EXPECT_TRUE(Group->ViewInfo()->ButtonsInfo.empty());
}

TEST_F(ButtonGroupFixture, FreeHeightIsSharedByTheRows) {
  SetItems(7, 3);
  // Make the content 50 pixels high.
  const TRect client = Group->ViewInfo()->ClientRect;
  Group->SetHeight(Group->Height() + 50 - client.Height());
  PumpPending();
  const TRect content = Group->ViewInfo()->ClientRect;
  ASSERT_EQ(content.Height(), 50);
  const int indent = 6;
  const int width = (content.Width() - indent) / 3;
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const int col = i / 3, row = i % 3;
    const TRect expected(content.Left + indent + col * width, content.Top + 1 + row * 16,
                         content.Left + indent + (col + 1) * width, content.Top + 1 + (row + 1) * 16);
    EXPECT_EQ(Group->Button(i)->BoundsRect(), expected);
  }
}

TEST_F(ButtonGroupFixture, ArrowKeysMoveThroughTheGrid) {
  SetItems(7, 3);
  SetForegroundWindow(Form->Handle());
  const struct {
    int From;
    WORD Key;
    int To;
  } moves[] = {{6, VK_DOWN, 6}, {4, VK_RIGHT, 4}, {6, VK_LEFT, 3}, {3, VK_UP, 3},
               {4, VK_UP, 3},   {1, VK_RIGHT, 4}, {2, VK_DOWN, 2}, {0, VK_DOWN, 1}};
  for (const auto& m : moves) {
    SCOPED_TRACE(testing::Message() << "from " << m.From << " key " << m.Key);
    Group->Button(m.From)->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return Group->GetFocusedButtonIndex() == m.From; }));
    Press(m.Key);
    EXPECT_EQ(Group->GetFocusedButtonIndex(), m.To);
  }

  // A disabled target is not skipped: the focus stays.
  static_cast<TcxButtonGroupItem*>(Properties()->Items()->GetItem(1))->SetEnabled(false);
  PumpPending();
  EXPECT_FALSE(Group->Button(1)->Enabled());
  Group->Button(0)->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return Group->GetFocusedButtonIndex() == 0; }));
  Press(VK_DOWN);
  EXPECT_EQ(Group->GetFocusedButtonIndex(), 0);
}

TEST_F(ButtonGroupFixture, EachItemChangeAddsOrFreesOneInnerButton) {
  SetItems(4, 2);
  const std::vector<TWinControl*> before = Buttons();
  // Inserting in the middle appends one inner button; the others stay.
  Properties()->Items()->Insert(1);
  PumpPending();
  std::vector<TWinControl*> after = Buttons();
  ASSERT_EQ(after.size(), 5u);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
  // Deleting item 2 frees the inner button at index 2.
  Properties()->Items()->Delete(2);
  PumpPending();
  std::vector<TWinControl*> expected = after;
  expected.erase(expected.begin() + 2);
  EXPECT_EQ(Buttons(), expected);
  for (TWinControl* button : Buttons()) EXPECT_EQ(button->Parent(), Group);
}

TEST_F(ButtonGroupFixture, MouseActivationPressesTheButtonUnderThePoint) {
  SetItems(4, 2);
  TOwned<TGridKindMouseSpy> spy(New<TGridKindMouseSpy>());
  std::vector<TPoint>& downs = spy->Downs;
  Group->SetOnMouseDown(BindEvent<&TGridKindMouseSpy::Down>(spy.get()));
  TWinControl* target = Group->Button(3);
  // In the parent's coordinates, as a grid hands them on.
  const TPoint inParent(Group->Left() + target->Left() + 3, Group->Top() + target->Top() + 2);
  TcxCustomEditData* data = nullptr;
  Group->ActivateByMouse(TShiftState{ssLeft}, inParent.X, inParent.Y, data);
  ReleaseCapture();
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0], TPoint(target->Left() + target->ClientWidth() / 2, target->Top() + target->ClientHeight() / 2))
      << "the press lands at the button's centre, reported in the group's coordinates";

  // Outside every cell only the activation happens.
  downs.clear();
  Group->ActivateByMouse(TShiftState{ssLeft}, Group->Left() + 1, Group->Top() + 1, data);
  EXPECT_TRUE(downs.empty());
  Group->SetOnMouseDown(TMouseEvent());
}

TEST_F(ButtonGroupFixture, SizeFollowsRowsAndCaptions) {
  SetItems(4, 2);
  TcxEditSizeProperties sizes;
  sizes.Width = 200;
  sizes.Height = -1;
  sizes.MaxLineCount = 0;
  TOwned<TcxCustomEditViewData> data = Group->CreateEditViewData();
  TSize minimum;
  const TSize given = data->GetEditConstantPartSize(Group->Canvas(), sizes, minimum);
  const TSize glyph = Group->Style()->LookAndFeel()->Painter()->ScaledCheckButtonSize(data->ScaleFactor());
  const int textHeight = Group->Canvas()->TextExtent(L"Zg").cy;
  const TSize correction = data->GetEditContentSizeCorrection();
  const int row = std::max(textHeight, glyph.cy) + correction.cy;
  EXPECT_EQ(given.cx, 200);
  const TRect client = Group->ViewInfo()->ClientRect;
  const TRect bounds = Group->ViewInfo()->Bounds;
  EXPECT_EQ(given.cy, row * 2 + (client.Top - bounds.Top) + (bounds.Bottom - client.Bottom));

  SetItems(0, 1);
  sizes.Width = -1;
  data = Group->CreateEditViewData();
  EXPECT_EQ(data->GetEditConstantPartSize(Group->Canvas(), sizes, minimum), TSize(0, textHeight + correction.cy));
}

}  // namespace
