#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Mouse tracking

// Counts the leaves it is told of; the class library's own tracking of its
// window (on mouse moves) stays out, so every CM_MOUSELEAVE here comes from
// the tracking timers.
class TTrackedControl : public TCustomControl {
  SK_CLASS(TTrackedControl, TCustomControl)
 public:
  int LibraryLeaves = 0;  // CM_MOUSELEAVE naming this control
  int SystemLeaves = 0;   // WM_MOUSELEAVE
  bool EndTrackingOnDestroy = false;

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        return;
      case CM_MOUSELEAVE:
        if (Message.LParam == reinterpret_cast<LPARAM>(this)) ++LibraryLeaves;
        return;
      case WM_MOUSELEAVE:
        ++SystemLeaves;
        return;
      case WM_DESTROY:
        // What the library's base control does when its window goes.
        if (EndTrackingOnDestroy) EndAllMouseTracking(this);
        break;
    }
    inherited::WndProc(Message);
  }
};

class TTrackingCaller : public TcxIUnknownObject, public IcxMouseTrackingCaller3 {
  SK_CLASS(TTrackingCaller, TcxIUnknownObject)
 public:
  int Leaves = 0;
  int Checks = 0;
  TPoint LastChecked;
  TRect Area;  // where the caller is, in the coordinates it is asked in
  HWND KeepWhileCapturedBy = nullptr;

  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxMouseTrackingCaller, IcxMouseTrackingCaller2, IcxMouseTrackingCaller3>(this, AIID,
                                                                                                      AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  void MouseLeave() override { ++Leaves; }
  bool PtInCaller(const TPoint& P) override {
    ++Checks;
    LastChecked = P;
    return Area.Contains(P);
  }
  bool IsCaptureObject() override { return KeepWhileCapturedBy && GetCapture() == KeepWhileCapturedBy; }
  IcxMouseTrackingCaller* AsCaller() { return this; }
};

// A caller that only hears of the leave: the tracked bounds decide.
class TPlainCaller : public TcxIUnknownObject, public IcxMouseTrackingCaller {
  SK_CLASS(TPlainCaller, TcxIUnknownObject)
 public:
  int Leaves = 0;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxMouseTrackingCaller>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void MouseLeave() override { ++Leaves; }
};

struct TTrackingFixture : testing::Test {
  TOwned<TForm> Form;
  TTrackedControl* Control = nullptr;
  int Timers = 0;

  void SetUp() override {
    Timers = MouseTrackingTimerCount();
    Form.reset(NewShownForm(TRect(100, 100, 500, 400)));
    Control = New<TTrackedControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(20, 20, 120, 80);
    Control->HandleNeeded();
  }
  void TearDown() override {
    Form.reset();
    EXPECT_EQ(MouseTrackingTimerCount(), Timers);
  }
  TPoint Inside() { return Control->ClientToScreen(TPoint(60, 40)); }
  // Beyond the form: no window of this thread there tracks the mouse itself
  // (the system tracks one window per thread).
  TPoint Outside() { return TPoint(Form->BoundsRect().Right + 40, Inside().Y); }
  // Waits until the tracking has looked at the cursor twice more.
  static bool TwoMoreChecks(TTrackingCaller* ACaller) {
    const int checks = ACaller->Checks;
    return PumpUntil([&] { return ACaller->Checks >= checks + 2; });
  }
};

TEST_F(TTrackingFixture, LeavingEndsTheTrackingOnceAsTheSystemsOwnTrackingDoes) {
  TOwned<TTrackingCaller> caller(New<TTrackingCaller>());
  caller->Area = Control->ClientRect();
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Control->Handle(), 0};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  EXPECT_EQ(MouseTrackingTimerCount(), Timers + 1) << "one timer per caller";

  ASSERT_TRUE(TwoMoreChecks(caller.get()));
  EXPECT_EQ(caller->LastChecked, TPoint(60, 40)) << "asked in the control's client coordinates";
  EXPECT_TRUE(IsMouseTrackingActive(caller->AsCaller()));
  EXPECT_EQ(caller->Leaves, 0);

  SendMouseMove(Outside());
  ASSERT_TRUE(PumpUntil([&] { return caller->Leaves > 0 && Control->SystemLeaves > 0; }));
  EXPECT_EQ(caller->Leaves, 1);
  EXPECT_EQ(Control->LibraryLeaves, 1);
  EXPECT_EQ(Control->SystemLeaves, 1) << "the system's tracking of the same path";
  EXPECT_FALSE(IsMouseTrackingActive(caller->AsCaller()));
  EXPECT_EQ(MouseTrackingTimerCount(), Timers);
}

TEST_F(TTrackingFixture, WithoutAControlTheScreenBoundsDecide) {
  TOwned<TPlainCaller> caller(New<TPlainCaller>());
  const TRect bounds(Inside().X - 10, Inside().Y - 10, Inside().X + 10, Inside().Y + 10);
  SendMouseMove(Inside());
  BeginMouseTracking(nullptr, bounds, caller.get());
  SendMouseMove(TPoint(bounds.Right + 5, bounds.Top));
  ASSERT_TRUE(PumpUntil([&] { return caller->Leaves > 0; }));
  EXPECT_EQ(Control->LibraryLeaves, 0);
}

TEST_F(TTrackingFixture, ACallerThatHoldsTheCaptureKeepsTrackingOutside) {
  TOwned<TTrackingCaller> caller(New<TTrackingCaller>());
  caller->Area = Control->ClientRect();
  caller->KeepWhileCapturedBy = Control->Handle();
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  SetCapture(Control->Handle());
  SendMouseMove(Outside());
  ASSERT_TRUE(TwoMoreChecks(caller.get()));
  EXPECT_EQ(caller->LastChecked, Control->ScreenToClient(Outside())) << "outside, and still asked";
  EXPECT_EQ(caller->Leaves, 0);
  EXPECT_TRUE(IsMouseTrackingActive(caller->AsCaller()));
  ReleaseCapture();
  ASSERT_TRUE(PumpUntil([&] { return caller->Leaves > 0; }));
  EXPECT_EQ(Control->LibraryLeaves, 1);
}

TEST_F(TTrackingFixture, ADisabledWindowEndsTheTrackingThoughTheCursorStaysInside) {
  TOwned<TTrackingCaller> caller(New<TTrackingCaller>());
  caller->Area = Control->ClientRect();
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  ASSERT_TRUE(TwoMoreChecks(caller.get()));
  EnableWindow(Form->Handle(), FALSE);
  ASSERT_TRUE(PumpUntil([&] { return caller->Leaves > 0; }));
  EXPECT_EQ(Control->LibraryLeaves, 1) << "a disabled window hears of the leave";
  EnableWindow(Form->Handle(), TRUE);
}

TEST_F(TTrackingFixture, AFreedControlEndsItsTrackingQuietly) {
  TOwned<TTrackingCaller> caller(New<TTrackingCaller>());
  caller->Area = Control->ClientRect();
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  Control->Free();
  EXPECT_FALSE(IsMouseTrackingActive(caller->AsCaller()));
  EXPECT_EQ(MouseTrackingTimerCount(), Timers);
  PumpPending();
  EXPECT_EQ(caller->Leaves, 0);
}

TEST_F(TTrackingFixture, EndingAllTrackingOfAControlTellsItsCallersAndTheControl) {
  TOwned<TTrackingCaller> first(New<TTrackingCaller>());
  TOwned<TTrackingCaller> second(New<TTrackingCaller>());
  TOwned<TTrackingCaller> elsewhere(New<TTrackingCaller>());
  first->Area = second->Area = elsewhere->Area = Control->ClientRect();
  TTrackedControl* other = New<TTrackedControl>(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(200, 20, 120, 80);
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), first->AsCaller());
  BeginMouseTracking(Control, Control->ClientRect(), second->AsCaller());
  BeginMouseTracking(other, other->ClientRect(), elsewhere->AsCaller());

  EndAllMouseTracking(Control);
  EXPECT_EQ(first->Leaves, 1);
  EXPECT_EQ(second->Leaves, 1);
  EXPECT_EQ(Control->SystemLeaves, 1) << "one WM_MOUSELEAVE for all of them";
  EXPECT_TRUE(IsMouseTrackingActive(elsewhere->AsCaller()));
  EndMouseTracking(elsewhere->AsCaller());
  EXPECT_EQ(elsewhere->Leaves, 0) << "ending a tracking is not a leave";
}

TEST_F(TTrackingFixture, AControlWhoseParentIsDestroyedEndsItsTrackingWithoutBeingTold) {
  // A timer left running here would tick into the freed control.
  TOwned<TTrackingCaller> caller(New<TTrackingCaller>());
  caller->Area = Control->ClientRect();
  Control->EndTrackingOnDestroy = true;
  SendMouseMove(Inside());
  BeginMouseTracking(Control, Control->ClientRect(), caller->AsCaller());
  ASSERT_TRUE(TwoMoreChecks(caller.get()));
  Form.reset();
  EXPECT_EQ(MouseTrackingTimerCount(), Timers);
  EXPECT_EQ(caller->Leaves, 0) << "nobody is told while the control goes";
  PumpPending();
}

TEST(cxControlsUnitShutDown, FreesTrackingTimersStillRunningWithoutTellingTheirCallers) {
  TOwned<TPlainCaller> caller(New<TPlainCaller>());
  const int timers = cxRunningTimerCount();
  BeginMouseTracking(nullptr, TRect(0, 0, 1, 1), caller.get());
  ASSERT_EQ(MouseTrackingTimerCount(), 1);
  EXPECT_NO_THROW(cxControlsFinalization());
  EXPECT_EQ(caller->Leaves, 0);
  EXPECT_EQ(cxRunningTimerCount(), timers);
  BeginMouseTracking(nullptr, TRect(0, 0, 1, 1), caller.get());
  EXPECT_EQ(MouseTrackingTimerCount(), 0) << "no tracking once the shut-down has begun";
  EXPECT_FALSE(IsMouseTrackingActive(caller.get()));
  cxControlsInitialization();
}

// ---------------------------------------------------------------------------
// Modal loops

// Runs a loop from its mouse-down messages, as a control does.
class TLoopHost : public TCustomControl {
  SK_CLASS(TLoopHost, TCustomControl)
 public:
  std::function<void(const TPoint& AScreenPoint)> OnLeftDown;
  std::function<void(const TPoint& AScreenPoint)> OnMiddleDown;
  std::vector<UINT> Buttons;  // button messages that reached the control
  TPoint LastMove;            // of the last WM_MOUSEMOVE, screen coordinates

  void WndProc(TMessage& Message) override {
    if (Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MBUTTONDBLCLK) Buttons.push_back(Message.Msg);
    const TPoint screen = ClientToScreen(TPoint(static_cast<short>(LOWORD(Message.LParam)),
                                                static_cast<short>(HIWORD(Message.LParam))));
    if (Message.Msg == WM_MOUSEMOVE) LastMove = screen;
    // A press soon after another at the same place comes as a double click.
    const bool left = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    const bool middle = Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_MBUTTONDBLCLK;
    if (left && OnLeftDown) {
      OnLeftDown(screen);
      return;
    }
    if (middle && OnMiddleDown) {
      OnMiddleDown(screen);
      return;
    }
    inherited::WndProc(Message);
  }
};

struct TLoopFixture : testing::Test {
  TOwned<TForm> Form;
  TLoopHost* Host = nullptr;
  int SavedThreshold = 0;

  void SetUp() override {
    SavedThreshold = Mouse()->DragThreshold();
    Form.reset(NewShownForm(TRect(120, 120, 720, 620)));
    Host = New<TLoopHost>(Form.get());
    Host->SetParent(Form.get());
    Host->SetBounds(0, 0, 500, 400);
    Host->HandleNeeded();
  }
  void TearDown() override {
    Mouse()->SetDragThreshold(SavedThreshold);
    Form.reset();
  }
  TPoint Centre() { return Host->ClientToScreen(TPoint(250, 200)); }
};

// Wine's DragDetect (measured) takes a square reaching SM_CXDRAG to each side
// of the point, twice as wide as Windows', and compares the client point of
// each WM_MOUSEMOVE with it. With the drag threshold at SM_CXDRAG and the
// point given to it in client coordinates it judges the same square.
TEST_F(TLoopFixture, DragDetectAgreesWithTheSystemsOnEachMove) {
  const int threshold = GetSystemMetrics(SM_CXDRAG);
  ASSERT_GT(threshold, 0);
  ASSERT_EQ(GetSystemMetrics(SM_CYDRAG), GetSystemMetrics(SM_CXDRAG));
  Mouse()->SetDragThreshold(threshold);
  const struct {
    const char* Name;
    TPoint Move;
    TcxDragDetect Expected;
  } rows[] = {
      {"no move", TPoint(0, 0), ddNone},
      {"just inside right", TPoint(threshold - 1, 0), ddNone},
      {"right edge", TPoint(threshold, 0), ddDrag},
      {"left edge, inside", TPoint(-threshold, 0), ddNone},
      {"beyond the left edge", TPoint(-threshold - 1, 0), ddDrag},
      {"bottom edge", TPoint(0, threshold), ddDrag},
      {"top edge, inside", TPoint(0, -threshold), ddNone},
      {"beyond the top edge", TPoint(0, -threshold - 1), ddDrag},
      {"far away", TPoint(40, 30), ddDrag},
  };
  const TPoint start = Centre();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    int ours = -1;
    int system = -1;
    for (bool native : {false, true}) {
      int& result = native ? system : ours;
      Host->OnLeftDown = [&](const TPoint& P) {
        result = native ? (DragDetect(Host->Handle(), Host->ScreenToClient(P)) ? ddDrag : ddNone)
                        : cxDragDetect(Host->Handle(), P);
      };
      SendMouseMove(start);
      const TPoint to = start + row.Move;
      SendMouseSteps({{start, MOUSEEVENTF_LEFTDOWN}, {to, 0}, {to, MOUSEEVENTF_LEFTUP}});
      ASSERT_TRUE(PumpUntil([&] { return result >= 0 && GetAsyncKeyState(VK_LBUTTON) >= 0; }));
      PumpPending();
    }
    EXPECT_EQ(ours, row.Expected);
    EXPECT_EQ(ours, system) << "user32's DragDetect";
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is given back";
  }
}

TEST_F(TLoopFixture, DragDetectIsCancelledByEscapeAndByLosingTheCapture) {
  Mouse()->SetDragThreshold(4);
  int result = -1;
  Host->OnLeftDown = [&](const TPoint& P) { result = cxDragDetect(Host->Handle(), P); };
  const TPoint start = Centre();
  SendMouseMove(start);
  SendMouseButtons(start, MOUSEEVENTF_LEFTDOWN);
  SendKey(VK_ESCAPE, false);
  ASSERT_TRUE(PumpUntil([&] { return result >= 0; }));
  EXPECT_EQ(result, ddCancel);
  SendKey(VK_ESCAPE, true);
  SendMouseButtons(start, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; }));
  PumpPending();

  result = -1;
  TLoopScript script;
  script.Then([&] { return GetCapture() == Host->Handle(); }, [] { ReleaseCapture(); });
  SendMouseButtons(start, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return result >= 0; }));
  EXPECT_EQ(result, ddCancel);
  EXPECT_FALSE(script.TimedOut());
  SendMouseButtons(start, MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
}

// Middle-button scrolling ------------------------------------------------

TEST(cxMiddleButtonScroll, NeutralZoneDirectionAndSpeedAsATable) {
  const TPoint o(500, 400);
  const int w = 28;  // the marker's width; half of it is 14
  const struct {
    const char* Name;
    TPoint P;
    bool Horz, Vert;
    TcxDirection Direction;
    int Speed;
  } rows[] = {
      {"origin", o, true, true, dirNone, 0},
      {"last neutral pixel right", o + TPoint(13, 0), true, true, dirNone, 0},
      {"first neutral pixel left", o + TPoint(-14, 0), true, true, dirNone, 0},
      {"leaving to the right", o + TPoint(14, 0), true, true, dirRight, 1},
      {"leaving to the left", o + TPoint(-15, 0), true, true, dirLeft, 1},
      {"up by 20", o + TPoint(0, -20), true, true, dirUp, 2},
      {"diagonal goes vertical", o + TPoint(30, 30), true, true, dirDown, 4},
      {"mostly horizontal", o + TPoint(31, 30), true, true, dirRight, 4},
      {"speed saturates", o + TPoint(0, 500), true, true, dirDown, 12},
      {"only vertical: far right is neutral", o + TPoint(600, 5), false, true, dirNone, 0},
      {"only vertical: sideways scrolls vertically", o + TPoint(600, 20), false, true, dirDown, 2},
      {"only horizontal: far down is neutral", o + TPoint(5, 700), true, false, dirNone, 0},
      {"only horizontal: left", o + TPoint(-40, 300), true, false, dirLeft, 6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const TcxMiddleButtonScrollState state = MiddleButtonScrollStateAt(o, row.P, w, row.Horz, row.Vert);
    EXPECT_EQ(state.Direction, row.Direction);
    EXPECT_EQ(state.Speed, row.Speed);
  }
}

TEST(cxMiddleButtonScroll, CursorsByDirectionAndVisibleBars) {
  EXPECT_EQ(MiddleButtonScrollCursor({dirNone, 0}, true, true), 2101);
  EXPECT_EQ(MiddleButtonScrollCursor({dirNone, 0}, true, false), 2102);
  EXPECT_EQ(MiddleButtonScrollCursor({dirNone, 0}, false, true), 2103);
  EXPECT_EQ(MiddleButtonScrollCursor({dirUp, 3}, true, true), 2104);
  EXPECT_EQ(MiddleButtonScrollCursor({dirRight, 3}, true, true), 2105);
  EXPECT_EQ(MiddleButtonScrollCursor({dirDown, 3}, true, true), 2106);
  EXPECT_EQ(MiddleButtonScrollCursor({dirLeft, 3}, true, true), 2107);
}

// Counts the ticks of the loop's thread timer as the loop takes them.
class TThreadTimerTicks {
 public:
  TThreadTimerTicks() {
    GCount = 0;
    FHook = SetWindowsHookExW(WH_GETMESSAGE, &Hook, nullptr, GetCurrentThreadId());
  }
  ~TThreadTimerTicks() { UnhookWindowsHookEx(FHook); }
  TThreadTimerTicks(const TThreadTimerTicks&) = delete;
  TThreadTimerTicks& operator=(const TThreadTimerTicks&) = delete;
  static int Count() { return GCount; }

 private:
  static LRESULT CALLBACK Hook(int ACode, WPARAM AWParam, LPARAM ALParam) {
    const auto* msg = reinterpret_cast<const MSG*>(ALParam);
    if (ACode == HC_ACTION && AWParam == PM_REMOVE && msg->message == WM_TIMER && !msg->hwnd) ++GCount;
    return CallNextHookEx(nullptr, ACode, AWParam, ALParam);
  }
  static inline int GCount = 0;
  HHOOK FHook;
};

HWND FindMarker(HWND AOwner) {
  struct TSearch {
    HWND Owner;
    HWND Found;
  } search{AOwner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(AParam);
        wchar_t name[16] = {};
        GetClassNameW(AWnd, name, 16);
        if (String(name) == L"Static" || String(name) == L"STATIC") {
          // A popup's owner is the owner's top-level window.
          if (GetWindow(AWnd, GW_OWNER) == GetAncestor(s->Owner, GA_ROOT) && IsWindowVisible(AWnd)) s->Found = AWnd;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool CursorIs(int AIndex) { return GetCursor() == Screen()->Cursors(AIndex); }

TEST_F(TLoopFixture, MiddleButtonScrollingShowsARoundMarkerStepsByDirectionAndEndsOnEscape) {
  const int windows = ThreadWindowCount();
  bool scrolling = false;
  std::vector<TcxDirection> steps;
  Host->OnMiddleDown = [&](const TPoint&) {
    MiddleButtonScrolling(Host, true, true, scrolling, [&](TcxDirection D) { steps.push_back(D); });
  };
  const TPoint origin = Centre();
  TThreadTimerTicks ticks;
  TLoopScript script;
  HWND marker = nullptr;
  bool roundMarker = false;
  bool neutralCursor = false;
  int ticksAtSpeed = 0;
  std::size_t stepsAtSpeed = 0;
  script.Then([&] { return scrolling && (marker = FindMarker(Host->Handle())) != nullptr; },
              [&] {
                neutralCursor = CursorIs(2101);
                RECT client{};
                GetClientRect(marker, &client);
                TOwnedRegion shape(CreateRectRgn(0, 0, 0, 0));
                TOwnedRegion expected(CreateEllipticRgn(0, 0, client.right + 1, client.bottom + 1));
                // Wine's EqualRgn compares the rectangle lists, and the window's copy of
                // a region comes back banded differently: compare the shapes.
                TOwnedRegion difference(CreateRectRgn(0, 0, 0, 0));
                roundMarker = GetWindowRgn(marker, shape.Get()) != ERROR &&
                              CombineRgn(difference.Get(), shape.Get(), expected.Get(), RGN_XOR) == NULLREGION;
              });
  // Up, far enough for the top speed: a step on every tick.
  script.MoveTo(origin + TPoint(0, -200), [&] { return Host->LastMove == origin + TPoint(0, -200); });
  script.Then([&] { return CursorIs(2104) && !steps.empty(); },
              [&] {
                ticksAtSpeed = ticks.Count();
                stepsAtSpeed = steps.size();
              });
  script.Then([&] { return ticks.Count() >= ticksAtSpeed + 10; }, [&] {
    ticksAtSpeed = ticks.Count() - ticksAtSpeed;
    stepsAtSpeed = steps.size() - stepsAtSpeed;
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
  });

  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished() && !scrolling; }, 10000))
      << "step " << script.FailedStep();
  SendMouseButtons(origin + TPoint(0, -200), MOUSEEVENTF_MIDDLEUP);
  PumpUntil([] { return GetAsyncKeyState(VK_MBUTTON) >= 0; });
  PumpPending();

  EXPECT_TRUE(neutralCursor);
  EXPECT_TRUE(roundMarker) << "the marker's region is the ellipse (0, 0, w + 1, h + 1)";
  EXPECT_TRUE(std::all_of(steps.begin(), steps.end(), [](TcxDirection D) { return D == dirUp; }));
  EXPECT_NEAR(static_cast<double>(stepsAtSpeed), ticksAtSpeed, 1.0) << "at speed 12 every tick steps";
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(FindMarker(Host->Handle()), nullptr);
  EXPECT_EQ(ThreadWindowCount(), windows);
}

TEST_F(TLoopFixture, MiddleButtonScrollingAtTheLowestSpeedStepsEveryTwelfthTick) {
  bool scrolling = false;
  std::vector<TcxDirection> steps;
  Host->OnMiddleDown = [&](const TPoint&) {
    MiddleButtonScrolling(Host, true, true, scrolling, [&](TcxDirection D) { steps.push_back(D); });
  };
  const TPoint origin = Centre();
  TThreadTimerTicks ticks;
  TLoopScript script;
  int firstTick = 0;
  std::size_t firstSteps = 0;
  script.Then([&] { return scrolling && FindMarker(Host->Handle()) != nullptr; }, [] {});
  script.MoveTo(origin + TPoint(14, 0), [&] { return Host->LastMove == origin + TPoint(14, 0); });  // speed 1
  script.Then([&] { return CursorIs(2105) && !steps.empty(); },
              [&] {
                firstTick = ticks.Count();
                firstSteps = steps.size();
              });
  script.Then([&] { return ticks.Count() >= firstTick + 36; }, [] { ReleaseCapture(); });

  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished() && !scrolling; }, 10000))
      << "step " << script.FailedStep();
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEUP);
  PumpUntil([] { return GetAsyncKeyState(VK_MBUTTON) >= 0; });
  PumpPending();
  EXPECT_EQ(steps.size() - firstSteps, 3u) << "36 ticks at speed 1";
  EXPECT_TRUE(std::all_of(steps.begin(), steps.end(), [](TcxDirection D) { return D == dirRight; }));
}

TEST_F(TLoopFixture, WithOnlyTheVerticalBarSidewaysMovesNeverScrollSideways) {
  bool scrolling = false;
  std::vector<TcxDirection> steps;
  Host->OnMiddleDown = [&](const TPoint&) {
    MiddleButtonScrolling(Host, false, true, scrolling, [&](TcxDirection D) { steps.push_back(D); });
  };
  const TPoint origin = Centre();
  TThreadTimerTicks ticks;
  TLoopScript script;
  int sidewaysTicks = 0;
  bool verticalCursor = false;
  script.Then([&] { return scrolling && FindMarker(Host->Handle()); }, [&] { verticalCursor = CursorIs(2103); });
  script.MoveTo(origin + TPoint(220, 3), [&] { return Host->LastMove == origin + TPoint(220, 3); });
  script.Then([&] { sidewaysTicks = ticks.Count(); });
  // 26 ticks: two rounds of the slowest stepping; nothing may step sideways.
  script.Then([&] { return ticks.Count() >= sidewaysTicks + 26; },
              [&] { sidewaysTicks = static_cast<int>(steps.size()); });
  script.MoveTo(origin + TPoint(220, 60), [&] { return Host->LastMove == origin + TPoint(220, 60); });
  script.Then([&] { return CursorIs(2106) && !steps.empty(); }, [] { ReleaseCapture(); });

  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished() && !scrolling; }, 10000))
      << "step " << script.FailedStep();
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEUP);
  PumpUntil([] { return GetAsyncKeyState(VK_MBUTTON) >= 0; });
  PumpPending();
  EXPECT_TRUE(verticalCursor);
  EXPECT_EQ(sidewaysTicks, 0) << "steps while the mouse was only moved sideways";
  EXPECT_TRUE(std::all_of(steps.begin(), steps.end(), [](TcxDirection D) { return D == dirDown; }));
}

TEST_F(TLoopFixture, ReleasingTheMiddleButtonWithoutMovingKeepsScrollingUntilAnotherButton) {
  bool scrolling = false;
  Host->OnMiddleDown = [&](const TPoint&) { MiddleButtonScrolling(Host, true, true, scrolling, [](TcxDirection) {}); };
  const TPoint origin = Centre();
  TLoopScript script;
  bool stillScrollingAfterRelease = false;
  script.Then([&] { return scrolling && FindMarker(Host->Handle()); },
              [&] { SendMouseButtons(origin, MOUSEEVENTF_MIDDLEUP); });
  script.Then([&] { return GetAsyncKeyState(VK_MBUTTON) >= 0 && std::count(Host->Buttons.begin(), Host->Buttons.end(),
                                                                            static_cast<UINT>(WM_MBUTTONUP)) > 0; },
              [&] {
                stillScrollingAfterRelease = scrolling;
                SendMouseButtons(origin, MOUSEEVENTF_LEFTDOWN);
              });
  Host->Buttons.clear();
  SendMouseMove(origin);
  SendMouseButtons(origin, MOUSEEVENTF_MIDDLEDOWN);
  ASSERT_TRUE(PumpUntil([&] { return script.Finished() && !scrolling; }, 10000))
      << "step " << script.FailedStep();
  SendMouseButtons(origin, MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
  PumpPending();
  EXPECT_TRUE(stillScrollingAfterRelease);
  EXPECT_EQ(std::count(Host->Buttons.begin(), Host->Buttons.end(), static_cast<UINT>(WM_LBUTTONDOWN)), 0)
      << "the button that ends the loop is not passed on";
}

}  // namespace
