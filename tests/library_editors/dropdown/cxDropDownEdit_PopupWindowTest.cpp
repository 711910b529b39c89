// The popup window beside its editor: below or above it inside the work
// area, the grip corner, the shadow region, right to left, and a real drag
// of the grip in frame and live mode.
#include "tests/library_editors/dropdown/DropDownTesting.h"

namespace {

TRect WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return TRect(r.left, r.top, r.right, r.bottom);
}

struct DropDownPopupPlacement : DropDownEditOnForm {
  // Moves the form so that the editor's screen top is at ATop.
  void PutEditorAt(int ATop) {
    const TRect e = EditScreenRect();
    Form->SetTop(Form->Top() + ATop - e.Top);
    PumpPending();
  }
};

TEST_F(DropDownPopupPlacement, BelowTheEditorOrAboveItAtTheBottomOfTheScreen) {
  const TRect area = WorkArea();
  struct TCase {
    const char* Name;
    int EditorTop;
    bool Above;
  };
  const TCase cases[] = {
      {"room below", area.Top + 150, false},
      {"at the bottom", area.Bottom - 30, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PutEditorAt(c.EditorTop);
    ASSERT_TRUE(OpenAndWait());
    const TRect e = EditScreenRect();
    const TRect r = PopupScreenRect();
    EXPECT_EQ(r.Width(), 150 + 2) << "content plus a one-pixel border";
    EXPECT_EQ(r.Height(), 80 + 2);
    EXPECT_EQ(r.Left, e.Left);
    if (c.Above) {
      EXPECT_EQ(r.Bottom, e.Top);
      EXPECT_EQ(Edit->PopupWindow()->ViewInfo()->SizeGripCorner, coTopRight);
    } else {
      EXPECT_EQ(r.Top, e.Bottom);
      EXPECT_EQ(Edit->PopupWindow()->ViewInfo()->SizeGripCorner, coBottomRight);
    }
    EXPECT_TRUE(area.Contains(r.TopLeft()) && r.Right <= area.Right && r.Bottom <= area.Bottom);
    Edit->ClosePopup(crClose);
  }
}

TEST_F(DropDownPopupPlacement, RightToLeftLinesUpTheRightEdges) {
  Edit->SetBiDiMode(bdRightToLeft);
  ASSERT_TRUE(OpenAndWait());
  const TRect e = EditScreenRect();
  const TRect r = PopupScreenRect();
  EXPECT_EQ(r.Right, e.Right);
  EXPECT_EQ(r.Top, e.Bottom);
}

TEST_F(DropDownPopupPlacement, ThePopupPushedLeftGetsALeftHandGrip) {
  const TRect area = WorkArea();
  Form->SetLeft(area.Right - 200);
  Edit->ContentSize = TSize(300, 80);
  PumpPending();
  ASSERT_TRUE(OpenAndWait());
  const TRect r = PopupScreenRect();
  EXPECT_EQ(r.Right, area.Right);
  EXPECT_EQ(Edit->PopupWindow()->ViewInfo()->SizeGripCorner, coBottomLeft);
}

TEST_F(DropDownPopupPlacement, TheShadowRegionSparesTheEditor) {
  Edit->Style()->SetShadow(true);
  PumpPending();
  const TRect area = WorkArea();
  PutEditorAt(area.Bottom - 30);
  ASSERT_TRUE(OpenAndWait());
  HWND popup = Edit->PopupWindow()->Handle();
  const TRect e = EditScreenRect();
  const TRect r = PopupScreenRect();
  EXPECT_EQ(r.Bottom - 3, e.Top) << "the body touches the editor's top edge";
  TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(popup, region.Get()), ERROR);
  const int bottomStrip = r.Height() - 2;
  const int overEditor = (e.Left + e.Right) / 2 - r.Left;
  EXPECT_FALSE(PtInRegion(region.Get(), overEditor, bottomStrip)) << "no shadow over the editor";
  EXPECT_TRUE(PtInRegion(region.Get(), r.Width() - 2, bottomStrip)) << "the shadow right of the editor";
  EXPECT_TRUE(PtInRegion(region.Get(), 1, 1));
  EXPECT_FALSE(PtInRegion(region.Get(), r.Width() - 2, 1)) << "the right strip starts 3 pixels down";
}

// ---------------------------------------------------------------------------
// Dragging the grip

struct DropDownGripDrag : DropDownEditOnForm {
  void SetUp() override {
    DropDownEditOnForm::SetUp();
    Edit->Properties()->SetPopupSizeable(true);
    Edit->Properties()->SetPopupMinWidth(100);
    Edit->Properties()->SetPopupMinHeight(60);
  }
  // The corner pixel of the border at the grip, on the screen.
  TPoint GripPoint() {
    const TRect r = PopupScreenRect();
    return TPoint(r.Right - 1, r.Bottom - 1);
  }
  // Presses on the grip, moves through the steps, then releases or cancels.
  TSize Drag(bool ALive, std::initializer_list<TPoint> ASteps, bool ACancel = false) {
    Edit->PopupWindow()->SetShowContentWhileResize(ALive);
    if (!OpenAndWait()) return {};
    TPoint at = GripPoint();
    SendMouseMove(at);
    SendMouseButtons(at, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return Edit->PopupWindow()->IsSizing(); }));
    for (const TPoint& d : ASteps) {
      at = TPoint(at.X + d.X, at.Y + d.Y);
      SendMouseMove(at);
      SettleInput();
    }
    if (ACancel) {
      SendKey(VK_ESCAPE, false);
      SendKey(VK_ESCAPE, true);
      SettleInput();
      EXPECT_FALSE(Edit->PopupWindow()->IsSizing());
    }
    SendMouseButtons(at, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !Edit->PopupWindow()->IsSizing(); }));
    const TRect r = PopupScreenRect();
    Edit->ClosePopup(crClose);
    return {r.Width(), r.Height()};
  }
};

TEST_F(DropDownGripDrag, FrameAndLiveModeEndAtTheSameSize) {
  const std::initializer_list<TPoint> steps{{10, 5}, {10, 5}, {20, 10}};
  const TSize frame = Drag(false, steps);
  EXPECT_EQ(frame.cx, 152 + 40);
  EXPECT_EQ(frame.cy, 82 + 20);
  // Auto-sized: the live run starts from the same content size.
  const TSize live = Drag(true, steps);
  EXPECT_EQ(live.cx, frame.cx);
  EXPECT_EQ(live.cy, frame.cy);
}

TEST_F(DropDownGripDrag, TheSizeIsKeptForTheNextOpening) {
  Edit->Properties()->SetPopupAutoSize(false);
  Edit->Properties()->SetPopupWidth(152);
  Edit->Properties()->SetPopupHeight(82);
  const TSize dragged = Drag(false, {{30, 20}});
  EXPECT_EQ(Edit->Properties()->PopupWidth(), dragged.cx);
  EXPECT_EQ(Edit->Properties()->PopupHeight(), dragged.cy);
  ASSERT_TRUE(OpenAndWait());
  EXPECT_EQ(PopupScreenRect().Width(), dragged.cx);
  EXPECT_EQ(PopupScreenRect().Height(), dragged.cy);
}

TEST_F(DropDownGripDrag, MinimumSizesHoldAndEscapeCancels) {
  const TSize small = Drag(true, {{-300, -300}});
  EXPECT_EQ(small.cx, 100);
  EXPECT_EQ(small.cy, 60);
  const TSize cancelled = Drag(false, {{40, 40}}, true);
  EXPECT_EQ(cancelled.cx, 152);
  EXPECT_EQ(cancelled.cy, 82);
}

}  // namespace
