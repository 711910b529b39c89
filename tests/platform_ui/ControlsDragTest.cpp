// Dragging a control onto a control of another window with real mouse and
// keyboard input: start, threshold, targets asked and told, cursor, drop,
// cancel by Esc or by a lost capture, and controls freed during a drag.
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include "tests/platform_ui/UiTestClasses.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

String PointText(int X, int Y) { return L"(" + IntToStr(X) + L"," + IntToStr(Y) + L")"; }

String NameOf(TObject* AObject) {
  if (!AObject) return L"nil";
  if (auto* c = dynamic_cast<TComponent*>(AObject)) return c->Name();
  return AObject->ClassName();
}

const wchar_t* StateName(TDragState AState) {
  switch (AState) {
    case dsDragEnter:
      return L"enter";
    case dsDragLeave:
      return L"leave";
    case dsDragMove:
      return L"move";
  }
  return L"?";
}

// A drag object the test supplies: it records how the drag ended.
class TRecordingDragObject : public TDragControlObject {
  SK_CLASS(TRecordingDragObject, TDragControlObject)
 public:
  int Finishes = 0;
  bool FinishedAccepted = false;
  bool CancelledByKey = false;
  void Finished(TObject* Target, int X, int Y, bool Accepted) override {
    ++Finishes;
    FinishedAccepted = Accepted;
    CancelledByKey = Cancelling();
    inherited::Finished(Target, X, Y, Accepted);
  }
};

class TDragSpy : public TObject {
  SK_CLASS(TDragSpy, TObject)
 public:
  std::vector<String> Events;
  bool Accept = true;
  // Accept only while Ctrl is down.
  bool AcceptWithCtrlOnly = false;
  TDragObject* SuppliedObject = nullptr;
  TObject* FreeOnDrop = nullptr;
  bool CancelOnStart = false;

  void StartDrag(TObject* Sender, TDragObject*& DragObject) {
    Events.push_back(L"start " + NameOf(Sender));
    if (SuppliedObject) DragObject = SuppliedObject;
    if (CancelOnStart) CancelDrag();
  }
  void DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& AAccept) {
    Events.push_back(String(StateName(State)) + L" " + NameOf(Sender) + L" from " + NameOf(Source) + L" " +
                     PointText(X, Y));
    AAccept = AcceptWithCtrlOnly ? (GetKeyState(VK_CONTROL) & 0x8000) != 0 : Accept;
  }
  void DragDrop(TObject* Sender, TObject* Source, int X, int Y) {
    Events.push_back(L"drop " + NameOf(Sender) + L" from " + NameOf(Source) + L" " + PointText(X, Y));
    if (TObject* victim = std::exchange(FreeOnDrop, nullptr)) victim->Free();
  }
  void EndDrag(TObject* Sender, TObject* Target, int X, int Y) {
    Events.push_back(L"end " + NameOf(Sender) + L" on " + NameOf(Target) + L" " + PointText(X, Y));
  }
  void MouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    Events.push_back(L"mousedown " + NameOf(Sender));
  }
  // What the target heard, moves left out: "enter", "leave", "drop" in order.
  std::vector<String> Visits() const {
    std::vector<String> v;
    for (const String& e : Events)
      for (const wchar_t* kind : {L"enter Target", L"leave Target", L"drop Target"})
        if (e.starts_with(kind)) v.push_back(e.substr(0, e.find(L' ')));
    return v;
  }
  // The last thing the target heard.
  String LastVisit() const {
    const std::vector<String> v = Visits();
    return v.empty() ? String() : v.back();
  }
  int Count(const String& APrefix) const {
    int n = 0;
    for (const String& e : Events) n += e.starts_with(APrefix) ? 1 : 0;
    return n;
  }
};

// The screen point of a client point, by the system's own conversion.
TPoint ScreenOf(TWinControl* AControl, int X, int Y) {
  POINT p{X, Y};
  ClientToScreen(AControl->Handle(), &p);
  return TPoint(p.x, p.y);
}

class ControlsDragTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterUiTestClasses(); }
  void SetUp() override {
    FWindows = ThreadWindowCount();
    FSavedImmediate = Mouse()->DragImmediate();
    FSavedThreshold = Mouse()->DragThreshold();
    FSpy = New<TDragSpy>();
    FSourceForm = NewForm(L"SourceForm", Bounds(40, 40, 240, 180));
    FTargetForm = NewForm(L"TargetForm", Bounds(360, 40, 240, 180));
    FSource = NewSwatch(L"Source", FSourceForm);
    FTarget = NewSwatch(L"Target", FTargetForm);
    FSource->SetDragCursor(crHandPoint);
    FSource->SetOnStartDrag(BindEvent<&TDragSpy::StartDrag>(FSpy));
    FSource->SetOnEndDrag(BindEvent<&TDragSpy::EndDrag>(FSpy));
    FSource->SetOnMouseDown(BindEvent<&TDragSpy::MouseDown>(FSpy));
    FTarget->SetOnDragOver(BindEvent<&TDragSpy::DragOver>(FSpy));
    FTarget->SetOnDragDrop(BindEvent<&TDragSpy::DragDrop>(FSpy));
    FSourceForm->Show();
    FTargetForm->Show();
    ASSERT_TRUE(BringFormToFront(FSourceForm));
  }
  void TearDown() override {
    // A failed test must not leave the button down for the next one.
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) SendMouseButtons(Mouse()->CursorPos(), MOUSEEVENTF_LEFTUP);
    DragDone(false);
    if (FSourceForm) FSourceForm->Free();
    if (FTargetForm) FTargetForm->Free();
    AppPumpPending();
    FreeAndNil(FSpy);
    Mouse()->SetDragImmediate(FSavedImmediate);
    Mouse()->SetDragThreshold(FSavedThreshold);
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  static TForm* NewForm(const wchar_t* AName, const TRect& ABounds) {
    TForm* f = New<TForm>(nullptr);
    f->SetName(AName);
    f->SetBoundsRect(ABounds);
    return f;
  }
  static TTestSwatch* NewSwatch(const wchar_t* AName, TForm* AForm) {
    auto* s = New<TTestSwatch>(AForm);
    s->SetName(AName);
    s->SetBounds(20, 20, 160, 100);
    s->SetParent(AForm);
    return s;
  }
  // Presses the left button on the source and waits until the drag runs.
  bool PressOnSource(const TPoint& AClient) {
    const TPoint p = ScreenOf(FSource, AClient.X, AClient.Y);
    SendMove(p);
    SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
    return AppPumpUntil([&] { return FSource->Dragging(); });
  }
  // Wine may take a move back to where its display's pointer was: a move
  // whose effect does not show (or does not last) is sent again.
  static bool MoveUntil(const TPoint& AScreen, const std::function<bool()>& ACondition) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      SendMove(AScreen);
      if (AppPumpUntil([&] { return CursorAt(AScreen) && ACondition(); }, 1000)) return true;
    }
    return false;
  }
  static bool CursorAt(const TPoint& AScreen) {
    POINT p{};
    return GetCursorPos(&p) && p.x == AScreen.X && p.y == AScreen.Y;
  }
  // Moves to a client point of AOver until its last drag event was there:
  // AExpectedEvent, or a move at the same point after a detour.
  bool MoveOver(TWinControl* AOver, int X, int Y, const String& AExpectedEvent) {
    return MoveUntil(ScreenOf(AOver, X, Y), [&] {
      if (std::find(FSpy->Events.begin(), FSpy->Events.end(), AExpectedEvent) == FSpy->Events.end()) return false;
      const String at = PointText(X, Y);
      return FSpy->Events.back().ends_with(at) &&
             (FSpy->Events.back().starts_with(L"enter") || FSpy->Events.back().starts_with(L"move"));
    });
  }
  bool ReleaseAt(const TPoint& AScreen) {
    SendMouseButtons(AScreen, MOUSEEVENTF_LEFTUP);
    return AppPumpUntil([&] { return !FSource->Dragging(); });
  }
  // Wine may take a move back to where its pointer was, so a target may be
  // entered and left more than once on the way; but each visit is entered
  // once and closed once, and the last one is closed by AEnd.
  void ExpectVisitsEndWith(const String& AEnd) {
    const std::vector<String> v = FSpy->Visits();
    ASSERT_FALSE(v.empty());
    ASSERT_EQ(0u, v.size() % 2) << "every enter is closed";
    for (std::size_t i = 0; i < v.size(); i += 2) {
      EXPECT_EQ(String(L"enter"), v[i]) << i;
      EXPECT_EQ(i + 2 == v.size() ? AEnd : String(L"leave"), v[i + 1]) << i;
    }
  }
  static bool CursorIs(TCursor ACursor) { return GetCursor() == Screen()->Cursors(ACursor); }

  int FWindows = 0;
  bool FSavedImmediate = true;
  int FSavedThreshold = 0;
  TDragSpy* FSpy = nullptr;
  TForm* FSourceForm = nullptr;
  TForm* FTargetForm = nullptr;
  TTestSwatch* FSource = nullptr;
  TTestSwatch* FTarget = nullptr;
};

TEST_F(ControlsDragTest, AutomaticDragDropsOnAControlOfAnotherWindow) {
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  EXPECT_EQ(String(L"start Source"), FSpy->Events.at(0)) << "the press starts the drag";
  EXPECT_EQ(0, FSpy->Count(L"mousedown")) << "the press does not reach the control";
  EXPECT_NE(nullptr, GetCapture()) << "the drag holds the mouse";
  // The source itself has no OnDragOver: it refuses the drop.
  EXPECT_TRUE(MoveUntil(ScreenOf(FSource, 60, 40), [] { return CursorIs(crNoDrop); }));

  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  EXPECT_TRUE(CursorIs(crHandPoint)) << "the source's drag cursor over an acceptor";
  ASSERT_TRUE(MoveOver(FTarget, 70, 35, L"move Target from Source (70,35)"));

  ASSERT_TRUE(ReleaseAt(ScreenOf(FTarget, 70, 35)));
  const std::vector<String> tail(FSpy->Events.end() - 2, FSpy->Events.end());
  EXPECT_EQ((std::vector<String>{L"drop Target from Source (70,35)", L"end Source on Target (70,35)"}), tail);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(nullptr, DragObject());
  ExpectVisitsEndWith(L"drop");
}

TEST_F(ControlsDragTest, NothingIsAskedBeforeTheMouseMovedPastTheThreshold) {
  FSource->SetOnDragOver(BindEvent<&TDragSpy::DragOver>(FSpy));
  FSource->SetOnDragDrop(BindEvent<&TDragSpy::DragDrop>(FSpy));
  const TPoint start = ScreenOf(FSource, 40, 40);
  SendMove(start);
  SendMouseButtons(start, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(AppPumpUntil([&] { return FSpy->Count(L"mousedown") == 1; }));
  FSource->BeginDrag(false, 10);
  ASSERT_TRUE(FSource->Dragging());
  ASSERT_TRUE(MoveUntil(ScreenOf(FSource, 49, 31), [] { return true; }));
  AppPumpPending();
  EXPECT_EQ(0, FSpy->Count(L"enter")) << "9 pixels on each axis stay below the threshold";
  ASSERT_TRUE(MoveOver(FSource, 50, 40, L"enter Source from Source (50,40)"));
  // Dropping on the dragged control itself is allowed.
  ASSERT_TRUE(ReleaseAt(ScreenOf(FSource, 50, 40)));
  EXPECT_EQ(String(L"end Source on Source (50,40)"), FSpy->Events.back());
}

TEST_F(ControlsDragTest, ReleasingBeforeTheThresholdEndsWithoutTarget) {
  const TPoint start = ScreenOf(FSource, 40, 40);
  SendMove(start);
  SendMouseButtons(start, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(AppPumpUntil([&] { return FSpy->Count(L"mousedown") == 1; }));
  FSource->BeginDrag(false, 10);
  ASSERT_TRUE(ReleaseAt(start));
  EXPECT_EQ((std::vector<String>{L"mousedown Source", L"start Source",
                                 L"end Source on nil " + PointText(start.X, start.Y)}),
            FSpy->Events);
}

TEST_F(ControlsDragTest, ARefusingTargetGetsNoDropAndTheCursorSaysNo) {
  FSpy->Accept = false;
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  EXPECT_TRUE(CursorIs(crNoDrop));
  const TPoint release = ScreenOf(FTarget, 50, 30);
  ASSERT_TRUE(ReleaseAt(release));
  EXPECT_EQ(0, FSpy->Count(L"drop"));
  ExpectVisitsEndWith(L"leave");
  EXPECT_EQ(L"end Source on nil " + PointText(release.X, release.Y), FSpy->Events.back());
}

TEST_F(ControlsDragTest, LeavingATargetTellsIt) {
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  // The target's form around the target: client (5, 5) of the form.
  EXPECT_TRUE(MoveUntil(ScreenOf(FTargetForm, 5, 5),
                        [&] { return FSpy->LastVisit() == L"leave" && CursorIs(crNoDrop); }));
  ExpectVisitsEndWith(L"leave");
}

TEST_F(ControlsDragTest, EscCancelsAndTheSuppliedObjectIsTheCallers) {
  auto* object = New<TRecordingDragObject>(FSource);
  const TOwned<TDragObject> owner(object);
  FSpy->SuppliedObject = object;
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  EXPECT_EQ(object, DragObject());
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  SendKey(VK_ESCAPE, false);
  SendKey(VK_ESCAPE, true);
  ASSERT_TRUE(AppPumpUntil([&] { return !FSource->Dragging(); }));
  EXPECT_EQ(1, object->Finishes);
  EXPECT_FALSE(object->FinishedAccepted);
  EXPECT_TRUE(object->CancelledByKey);
  ExpectVisitsEndWith(L"leave");
  EXPECT_EQ(1, FSpy->Count(L"end Source on nil"));
  EXPECT_EQ(nullptr, GetCapture());
  // The button comes up after the cancel: nothing is dropped.
  SendMouseButtons(ScreenOf(FTarget, 50, 30), MOUSEEVENTF_LEFTUP);
  AppPumpPending();
  EXPECT_EQ(0, FSpy->Count(L"drop"));
}

TEST_F(ControlsDragTest, CtrlAsksTheTargetAgainWithoutAMove) {
  FSpy->AcceptWithCtrlOnly = true;
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  EXPECT_TRUE(CursorIs(crNoDrop));
  const int asked = FSpy->Count(L"move Target");
  SendKey(VK_CONTROL, false);
  EXPECT_TRUE(AppPumpUntil([&] { return FSpy->Count(L"move Target") > asked && CursorIs(crHandPoint); }));
  SendKey(VK_CONTROL, true);
  EXPECT_TRUE(AppPumpUntil([] { return CursorIs(crNoDrop); }));
}

TEST_F(ControlsDragTest, LosingTheCaptureCancels) {
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  SetCapture(FTargetForm->Handle());
  EXPECT_FALSE(FSource->Dragging());
  EXPECT_EQ(1, FSpy->Count(L"end Source on nil"));
  ReleaseCapture();
}

TEST_F(ControlsDragTest, FreeingTheTargetOrTheSourceDuringTheDrag) {
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  FTarget->Free();
  FTarget = nullptr;
  EXPECT_EQ(nullptr, DragObject()->DragTarget());
  SendMove(ScreenOf(FTargetForm, 60, 40));
  AppPumpPending();
  // The source goes while its drag runs: the drag ends as cancelled first.
  FSource->Free();
  FSource = nullptr;
  EXPECT_EQ(nullptr, DragControl());
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(String(L"end Source on nil"), FSpy->Events.back().substr(0, 17));
}

TEST_F(ControlsDragTest, ATargetMayFreeTheSourceInItsDrop) {
  FSpy->FreeOnDrop = FSource;
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  ASSERT_TRUE(PressOnSource(TPoint(30, 40)));
  ASSERT_TRUE(MoveOver(FTarget, 50, 30, L"enter Target from Source (50,30)"));
  SendMouseButtons(ScreenOf(FTarget, 50, 30), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(AppPumpUntil([&] { return FSpy->Count(L"drop") == 1; }));
  FSource = nullptr;
  AppPumpPending();
  EXPECT_EQ(nullptr, DragControl());
  EXPECT_EQ(0, FSpy->Count(L"end")) << "a freed source is told nothing more";
}

TEST_F(ControlsDragTest, CancellingWhileTheDragStartsKeepsItFromStarting) {
  FSpy->CancelOnStart = true;
  Mouse()->SetDragImmediate(true);
  FSource->SetDragMode(dmAutomatic);
  const TPoint p = ScreenOf(FSource, 30, 40);
  SendMove(p);
  SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(AppPumpUntil([&] { return FSpy->Count(L"start") == 1; }));
  EXPECT_FALSE(FSource->Dragging());
  EXPECT_EQ(nullptr, DragObject());
  ASSERT_TRUE(MoveUntil(ScreenOf(FTarget, 50, 30), [] { return true; }));
  SendMouseButtons(ScreenOf(FTarget, 50, 30), MOUSEEVENTF_LEFTUP);
  AppPumpPending();
  EXPECT_EQ((std::vector<String>{L"start Source"}), FSpy->Events) << "no target asked, no end";
}

}  // namespace
