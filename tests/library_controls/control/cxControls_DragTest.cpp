// A library control dragged onto a control of another window through the
// class library's drag, with real mouse and keyboard input: the start after
// the drag-detect loop, the drag object it hands out (copy cursor with Ctrl,
// freed by itself), a refused start, and what a target remembers.
#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int GDragObjectsFreed = 0;

class TCountedDragObject : public TcxDragControlObject {
  SK_CLASS(TCountedDragObject, TcxDragControlObject)
 public:
  void Destroy() override {
    ++GDragObjectsFreed;
    inherited::Destroy();
  }
};

class TDragSourceControl : public TcxControl {
  SK_CLASS(TDragSourceControl, TcxControl)
 public:
  bool AllowStart = true;
  std::vector<String> Ends;
  int MouseDowns = 0;
  void EndDragHandler(TObject*, TObject* Target, int X, int Y) {
    const auto* target = dynamic_cast<TComponent*>(Target);
    Ends.push_back((target ? target->Name() : String(L"nil")) + L" " + IntToStr(X) + L"," + IntToStr(Y));
  }

 protected:
  TClass GetDragControlObjectClass() override { return TCountedDragObject::ClassInfo(); }
  bool StartDrag() override { return AllowStart; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++MouseDowns;
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

class TDropTargetControl : public TcxControl {
  SK_CLASS(TDropTargetControl, TcxControl)
 public:
  TObject* LastSource = nullptr;
  TDragObject* RememberedDuringOver = nullptr;
  int Drops = 0;
  void DragOverHandler(TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
    LastSource = Source;
    Accept = true;
  }
  void DragDropHandler(TObject*, TObject*, int, int) { ++Drops; }

 protected:
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override {
    inherited::DragOver(Source, X, Y, State, Accept);
    RememberedDuringOver = cxDragObject();
  }
};

// A drag object that is no control's.
class TPlainDragObject : public TDragObject {
  SK_CLASS(TPlainDragObject, TDragObject)
};

// Hands out a drag object of its own from OnStartDrag.
class TDragObjectSupplier : public TObject {
  SK_CLASS(TDragObjectSupplier, TObject)
 public:
  TDragObject* Object = nullptr;
  void StartDrag(TObject*, TDragObject*& DragObject) { DragObject = Object; }
};

class cxControlsDragTest : public testing::Test {
 protected:
  void SetUp() override {
    // The system-settings window is made on first use and lives with the
    // process: the controls' scroll bars may be the first to ask, no leak.
    SystemInfo();
    FWindows = ThreadWindowCount();
    FThreshold = Mouse()->DragThreshold();
    Mouse()->SetDragThreshold(4);
    GDragObjectsFreed = 0;
    FTargetForm.reset(NewShownForm(TRect(380, 60, 620, 240)));
    FSourceForm.reset(NewShownForm(TRect(60, 60, 300, 240)));
    FSource = New<TDragSourceControl>(FSourceForm.get());
    FSource->SetName(L"Source");
    FSource->SetBounds(20, 20, 160, 100);
    FSource->SetParent(FSourceForm.get());
    FSource->SetDragMode(dmAutomatic);
    FSource->SetOnEndDrag(BindEvent<&TDragSourceControl::EndDragHandler>(FSource));
    FTarget = New<TDropTargetControl>(FTargetForm.get());
    FTarget->SetName(L"Target");
    FTarget->SetBounds(20, 20, 160, 100);
    FTarget->SetParent(FTargetForm.get());
    FTarget->SetOnDragOver(BindEvent<&TDropTargetControl::DragOverHandler>(FTarget));
    FTarget->SetOnDragDrop(BindEvent<&TDropTargetControl::DragDropHandler>(FTarget));
    FSource->HandleNeeded();
    FTarget->HandleNeeded();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) SendMouseButtons(Mouse()->CursorPos(), MOUSEEVENTF_LEFTUP);
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) SendKey(VK_CONTROL, true);
    DragDone(false);
    FSourceForm.reset();
    FTargetForm.reset();
    PumpPending();
    Mouse()->SetDragThreshold(FThreshold);
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  // Presses on the source and moves past the drag-detect square in one go,
  // so that the loop the press enters finds the move.
  void PressAndPull() {
    const TPoint start = FSource->ClientToScreen(TPoint(40, 40));
    SendMouseMove(start);
    SendMouseSteps({{start, MOUSEEVENTF_LEFTDOWN}, {start + TPoint(12, 0), 0}});
  }
  bool OverTarget(int X, int Y, const std::function<bool()>& ACondition) {
    return MoveUntil(FTarget->ClientToScreen(TPoint(X, Y)), ACondition);
  }
  static bool CursorIs(int ACursor) { return GetCursor() == Screen()->Cursors(ACursor); }

  int FWindows = 0;
  int FThreshold = 0;
  TOwned<TForm> FSourceForm;
  TOwned<TForm> FTargetForm;
  TDragSourceControl* FSource = nullptr;
  TDropTargetControl* FTarget = nullptr;
};

TEST_F(cxControlsDragTest, CtrlOverAnAcceptorShowsTheCopyCursorAndTheObjectFreesItself) {
  ASSERT_NE(Screen()->Cursors(crDragCopy), Screen()->Cursors(FSource->DragCursor()));
  PressAndPull();
  ASSERT_TRUE(PumpUntil([&] { return FSource->Dragging(); })) << "the drag-detect loop saw the pull";
  EXPECT_EQ(1, FSource->MouseDowns) << "the press reached the control first";
  ASSERT_NE(nullptr, DragObject());
  EXPECT_EQ(TCountedDragObject::ClassInfo(), DragObject()->ClassType());

  // A move Wine takes back would leave the target: each look moves there again.
  ASSERT_TRUE(OverTarget(50, 30, [&] { return FTarget->LastSource == FSource && CursorIs(FSource->DragCursor()); }));
  SendKey(VK_CONTROL, false);
  EXPECT_TRUE(OverTarget(50, 30, [&] { return CursorIs(crDragCopy); })) << "Ctrl asks for a copy";
  SendKey(VK_CONTROL, true);
  EXPECT_TRUE(OverTarget(50, 30, [&] { return CursorIs(FSource->DragCursor()); }))
      << "the next query after Ctrl is let go";

  const TPoint drop = FTarget->ClientToScreen(TPoint(50, 30));
  SendMouseButtons(drop, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !FSource->Dragging(); }));
  EXPECT_EQ(1, FTarget->Drops);
  ASSERT_EQ(1u, FSource->Ends.size());
  EXPECT_EQ(String(L"Target 50,30"), FSource->Ends[0]);
  EXPECT_EQ(1, GDragObjectsFreed) << "the drag object freed itself";
  EXPECT_EQ(nullptr, DragObject());
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(cxControlsDragTest, CtrlOverARefusingTargetKeepsTheNoDropCursor) {
  PressAndPull();
  ASSERT_TRUE(PumpUntil([&] { return FSource->Dragging(); }));
  // The source has no OnDragOver: it refuses.
  ASSERT_TRUE(MoveUntil(FSource->ClientToScreen(TPoint(100, 60)), [] { return CursorIs(crNoDrop); }));
  SendKey(VK_CONTROL, false);
  PumpPending();
  EXPECT_TRUE(CursorIs(crNoDrop));
  SendKey(VK_CONTROL, true);
  SendKey(VK_ESCAPE, false);
  SendKey(VK_ESCAPE, true);
  ASSERT_TRUE(PumpUntil([&] { return !FSource->Dragging(); }));
  EXPECT_EQ(1, GDragObjectsFreed) << "a cancelled drag frees its object as well";
  ASSERT_EQ(1u, FSource->Ends.size());
  EXPECT_TRUE(FSource->Ends[0].starts_with(L"nil "));
}

TEST_F(cxControlsDragTest, ARefusedStartFreesTheObjectAndStartsNothing) {
  FSource->AllowStart = false;
  PressAndPull();
  ASSERT_TRUE(PumpUntil([&] { return GDragObjectsFreed == 1; }));
  EXPECT_FALSE(FSource->Dragging());
  EXPECT_EQ(nullptr, DragObject());
  EXPECT_TRUE(FSource->Ends.empty()) << "a drag that never started does not end";
}

TEST_F(cxControlsDragTest, ManualDragModeStartsNoDragFromThePress) {
  FSource->SetDragMode(dmManual);
  PressAndPull();
  ASSERT_TRUE(PumpUntil([&] { return FSource->MouseDowns == 1; }));
  PumpPending();
  EXPECT_FALSE(FSource->Dragging());
  EXPECT_EQ(0, GDragObjectsFreed);
}

TEST_F(cxControlsDragTest, ATargetRemembersADragObjectThatIsNoControlsWhileTheDragRuns) {
  const TOwned<TPlainDragObject> object(New<TPlainDragObject>());
  const TOwned<TDragObjectSupplier> supplier(New<TDragObjectSupplier>());
  supplier->Object = object.get();
  FSource->SetOnStartDrag(BindEvent<&TDragObjectSupplier::StartDrag>(supplier.get()));
  PressAndPull();
  ASSERT_TRUE(PumpUntil([&] { return FSource->Dragging(); }));
  ASSERT_TRUE(OverTarget(50, 30, [&] { return FTarget->LastSource == object.get(); }));
  EXPECT_EQ(object.get(), FTarget->RememberedDuringOver);
  SendMouseButtons(FTarget->ClientToScreen(TPoint(50, 30)), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !FSource->Dragging(); }));
  EXPECT_EQ(nullptr, cxDragObject()) << "the drag is over";
  EXPECT_EQ(0, GDragObjectsFreed) << "the supplied object stays its owner's";
}

}  // namespace
