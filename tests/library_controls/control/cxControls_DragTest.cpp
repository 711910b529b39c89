// A library control dragged onto a control of another window through the
// class library's drag, with real mouse and keyboard input: the start after
// the drag-detect loop, the drag object it hands out (copy cursor with Ctrl,
// freed by itself), a refused start, what a target remembers and the picture
// that follows the mouse; and middle-button scrolling started by the press.
#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Shows a 24 x 16 picture while dragged: red, with a blue square at
// (4, 4)-(12, 12); red is the bottom-left pixel, so it is the transparent one.
class TPictureSourceControl : public TDragSourceControl {
  SK_CLASS(TPictureSourceControl, TDragSourceControl)
 public:
  TSize PictureSize{24, 16};
  int Drawn = 0;
  using TcxControl::DoEndDrag;
  using TcxControl::GetDragImages;

 protected:
  bool ShowsDragImage() override { return true; }
  TSize DragImageSize() override { return PictureSize; }
  void DrawDragImage(TcxCanvas* ACanvas, const TRect& R) override {
    ++Drawn;
    ACanvas->FillRect(R, clRed);
    ACanvas->FillRect(TRect(4, 4, 12, 12), clBlue);
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
  // A second press at the same place soon after would be a double click.
  void PressAndPull(const TPoint& AStart = TPoint(40, 40)) {
    const TPoint start = FSource->ClientToScreen(AStart);
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

// What the native drag image list shows drawn over green.
struct TDrawnPicture {
  bool Dragging = false;
  COLORREF Inside = CLR_INVALID;
  COLORREF Transparent = CLR_INVALID;
};

TDrawnPicture DrawnDragPicture() {
  TDrawnPicture result;
  POINT hotSpot{}, dragPos{};
  const HIMAGELIST list = ImageList_GetDragImage(&dragPos, &hotSpot);
  result.Dragging = list != nullptr;
  if (!list) return result;
  const TOwned<TcxBitmap> target(New<TcxBitmap>());
  target->CreateSize(24, 16);
  target->cxCanvas()->FillRect(target->ClientRect(), clLime);
  // The drag list holds the picture merged with the cursor: its first image
  // is ours at the top left.
  ImageList_Draw(list, 0, target->Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
  result.Inside = GetPixel(target->Canvas()->Handle(), 6, 6);
  result.Transparent = GetPixel(target->Canvas()->Handle(), 1, 1);
  return result;
}

TEST_F(cxControlsDragTest, ThePictureIsDrawnOnceADragShownWhileItRunsAndGoneAfterwards) {
  FSourceForm->RemoveComponent(FSource);
  FSource->Free();
  auto* source = New<TPictureSourceControl>(FSourceForm.get());
  FSource = source;
  source->SetBounds(20, 20, 160, 100);
  source->SetParent(FSourceForm.get());
  source->SetDragMode(dmAutomatic);
  EXPECT_TRUE(source->ControlStyle().Contains(csDisplayDragImage));
  EXPECT_FALSE(FTarget->ControlStyle().Contains(csDisplayDragImage)) << "only controls that show a picture";

  for (int drag = 1; drag <= 2; ++drag) {
    SCOPED_TRACE(drag);
    PressAndPull(TPoint(40 * drag, 40));
    ASSERT_TRUE(PumpUntil([&] { return source->Dragging(); }));
    TDrawnPicture picture;
    ASSERT_TRUE(MoveUntil(source->ClientToScreen(TPoint(100, 60)), [&] {
      picture = DrawnDragPicture();
      return picture.Dragging;
    })) << "the system's drag list is not in use";
    EXPECT_EQ(ColorToRGB(clBlue), picture.Inside);
    EXPECT_EQ(ColorToRGB(clLime), picture.Transparent) << "red is the transparent colour";
    ASSERT_TRUE(MoveUntil(source->ClientToScreen(TPoint(110, 60)), [] { return true; }));
    SendMouseButtons(source->ClientToScreen(TPoint(110, 60)), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !source->Dragging(); }));
    EXPECT_FALSE(DrawnDragPicture().Dragging);
    EXPECT_EQ(drag, source->Drawn) << "drawn once a drag, not on every move";
  }
}

TEST_F(cxControlsDragTest, APictureOfNoSizeGivesNoDragImages) {
  FSourceForm->RemoveComponent(FSource);
  FSource->Free();
  auto* source = New<TPictureSourceControl>(FSourceForm.get());
  FSource = source;
  source->SetParent(FSourceForm.get());
  for (const TSize size : {TSize(0, 16), TSize(24, 0), TSize(-1, -1)}) {
    source->PictureSize = size;
    EXPECT_EQ(nullptr, source->GetDragImages()) << size.cx << "x" << size.cy;
    source->DoEndDrag(nullptr, 0, 0);
  }
  EXPECT_EQ(0, source->Drawn);
  source->PictureSize = TSize(24, 16);
  TDragImageList* images = source->GetDragImages();
  ASSERT_NE(nullptr, images);
  EXPECT_EQ(1, images->Count());
  EXPECT_EQ(24, images->Width());
  EXPECT_EQ(16, images->Height());
  EXPECT_EQ(TcxDragImageList::ClassInfo(), images->ClassType());
  EXPECT_EQ(images, source->GetDragImages()) << "made once";
  EXPECT_EQ(1, source->Drawn);
}

// ---------------------------------------------------------------------------
// Middle-button scrolling from the press

// Content 1,000 pixels high in a narrower, lower client: the vertical bar
// alone shows. Scroll steps arrive as the bars' line steps.
class TTallContentControl : public TcxControl {
  SK_CLASS(TTallContentControl, TcxControl)
 public:
  bool Wants = true;
  int MiddleDowns = 0;
  using TcxControl::IsScrollingContent;
  std::vector<std::pair<TScrollBarKind, TScrollCode>> Scrolls;

 protected:
  bool WantsScrollBars() override { return Wants; }
  void SetupScrollBars() override {
    SetScrollBarInfo(sbHorizontal, 0, 49, 1, ClientBounds().Width(), 0, true, true);
    SetScrollBarInfo(sbVertical, 0, 999, 1, ClientBounds().Height(), 0, true, true);
  }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int&) override { Scrolls.emplace_back(AKind, ACode); }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (Button == mbMiddle) ++MiddleDowns;
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

class cxControlsMiddleButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    SystemInfo();
    FForm.reset(NewShownForm(TRect(60, 60, 460, 420)));
    Control = New<TTallContentControl>(FForm.get());
    Control->SetBounds(20, 20, 200, 150);
    Control->SetParent(FForm.get());
    Control->HandleNeeded();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_MBUTTON) & 0x8000) SendMouseButtons(Mouse()->CursorPos(), MOUSEEVENTF_MIDDLEUP);
    FForm.reset();
    PumpPending();
  }
  TPoint Origin() const { return Control->ClientToScreen(TPoint(100, 75)); }

  TOwned<TForm> FForm;
  TTallContentControl* Control = nullptr;
};

TEST_F(cxControlsMiddleButtonTest, ThePressScrollsTheContentByLinesAlongTheVisibleBar) {
  ASSERT_TRUE(Control->IsScrollBarVisible(sbVertical));
  ASSERT_FALSE(Control->IsScrollBarVisible(sbHorizontal));
  const TPoint origin = Origin();
  TLoopScript script;
  bool verticalOnlyCursor = false;
  // The neutral cursor tells which bars the loop was given.
  script.Then([&] { return Control->IsScrollingContent(); },
              [&] { verticalOnlyCursor = GetCursor() == Screen()->Cursors(2103); });
  script.MoveTo(origin + TPoint(0, 200), [&] { return CursorIsAt(origin + TPoint(0, 200)); });
  script.Then([&] { return Control->Scrolls.size() >= 3; }, [] {
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
  });
  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished() && !Control->IsScrollingContent(); }, 10000))
      << "step " << script.FailedStep();
  SendMouseButtons(origin + TPoint(0, 200), MOUSEEVENTF_MIDDLEUP);
  EXPECT_EQ(1, Control->MiddleDowns);
  EXPECT_TRUE(verticalOnlyCursor);
  EXPECT_TRUE(std::ranges::all_of(Control->Scrolls, [](const auto& AStep) {
    return AStep == std::pair<TScrollBarKind, TScrollCode>(sbVertical, scLineDown);
  }));
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(cxControlsMiddleButtonTest, AControlWithoutBarsTakesTheMiddleButtonAsAPress) {
  Control->Wants = false;
  const TPoint origin = Origin();
  TLoopScript script;
  bool scrollingSeen = true;
  script.Then([&] { return Control->MiddleDowns == 1; }, [&] {
    scrollingSeen = Control->IsScrollingContent();
    // Were a loop running, this ends it.
    ReleaseCapture();
  });
  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEUP);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished(); }, 10000));
  EXPECT_FALSE(scrollingSeen);
  EXPECT_TRUE(Control->Scrolls.empty());
}

}  // namespace
