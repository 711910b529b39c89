#include "library/lookandfeel/animation/dxAnimation.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A performance counter of 10 MHz that moves only when a test moves it
// (and, when Step is set, by Step on every read).
struct TFakeCounter {
  static constexpr std::int64_t Frequency = 10'000'000;
  static constexpr std::int64_t TicksPerMs = Frequency / 1000;
  static inline std::int64_t Now = 0;
  static inline std::int64_t Step = 0;
  static inline bool Fails = false;

  static BOOL WINAPI ReadCounter(LARGE_INTEGER* AValue) {
    if (Fails) return FALSE;
    AValue->QuadPart = Now;
    Now += Step;
    return TRUE;
  }
  static BOOL WINAPI ReadFrequency(LARGE_INTEGER* AValue) {
    if (Fails) return FALSE;
    AValue->QuadPart = Frequency;
    return TRUE;
  }
};

class dxAnimation : public testing::Test {
 protected:
  void SetUp() override {
    FSaved = dxPerformanceCounter();
    TFakeCounter::Now = 5'000'000'000;  // a running counter is never 0
    TFakeCounter::Step = 0;
    TFakeCounter::Fails = false;
    dxSetPerformanceCounter({&TFakeCounter::ReadCounter, &TFakeCounter::ReadFrequency});
    FController = dxAnimationController();
    ASSERT_NE(FController, nullptr);
    FRunningTimers = cxRunningTimerCount();
  }
  void TearDown() override {
    while (FController->Count() > 0) FController->Items(0)->Free();
    dxSetPerformanceCounter(FSaved);
    EXPECT_EQ(FController->ActiveAnimations(), 0);
    EXPECT_FALSE(FController->TimerEnabled());
  }

  static void AdvanceMs(std::int64_t AMs) { TFakeCounter::Now += AMs * TFakeCounter::TicksPerMs; }
  static TdxAnimationTransition* NewTransition(unsigned ATime, TdxAnimationTransitionEffect AEffect, int ALength,
                                               TdxAnimationTransitionEffectMode AMode = atmIn) {
    return New<TdxAnimationTransition>(ATime, AEffect, ALength, AMode);
  }

  TdxPerformanceCounter FSaved;
  TdxAnimationController* FController = nullptr;
  int FRunningTimers = 0;
};

// Records every event of the transitions bound to it; a test may act from
// inside a handler.
class TAnimationLog : public TObject {
  SK_CLASS(TAnimationLog, TObject)
 public:
  struct TEntry {
    std::string Event;
    int Position;
    bool Finished;
    bool operator==(const TEntry&) const = default;
  };
  std::vector<TEntry> Entries;
  std::function<void(const std::string&, TdxAnimationTransition*, int&, bool&)> OnEvent;

  void Bind(TdxAnimationTransition* ATransition) {
    ATransition->SetOnBeforeAnimate(BindEvent<&TAnimationLog::Before>(this));
    ATransition->SetOnAnimate(BindEvent<&TAnimationLog::Animate>(this));
    ATransition->SetOnAfterAnimate(BindEvent<&TAnimationLog::After>(this));
    ATransition->SetOnTerminate(BindEvent<&TAnimationLog::Terminate>(this));
  }
  int CountOf(const std::string& AEvent) const {
    int n = 0;
    for (const TEntry& e : Entries) n += e.Event == AEvent;
    return n;
  }

 private:
  void Record(const std::string& AEvent, TdxAnimationTransition* Sender, int& APosition, bool& AFinished) {
    Entries.push_back({AEvent, APosition, AFinished});
    if (OnEvent) OnEvent(AEvent, Sender, APosition, AFinished);
  }
  void Before(TdxAnimationTransition* S, int& P, bool& F) { Record("before", S, P, F); }
  void Animate(TdxAnimationTransition* S, int& P, bool& F) { Record("animate", S, P, F); }
  void After(TdxAnimationTransition* S, int& P, bool& F) { Record("after", S, P, F); }
  void Terminate(TObject* Sender) {
    int position = static_cast<TdxAnimationTransition*>(Sender)->Position();
    bool finished = static_cast<TdxAnimationTransition*>(Sender)->Finished();
    Record("terminate", static_cast<TdxAnimationTransition*>(Sender), position, finished);
  }
};

// ---------------------------------------------------------------------------
// Positions of every effect and mode against the table that
// make-animation-positions computes in Python.

struct TPositionRow {
  TdxAnimationTransitionEffect Effect;
  TdxAnimationTransitionEffectMode Mode;
  int Length;
  int Positions[11];
};
const TPositionRow PositionRows[] = {
#include "AnimationPositions.inc"
};

TEST_F(dxAnimation, PositionsOfEveryEffectAndModeMatchThePythonTable) {
  for (const TPositionRow& row : PositionRows) {
    SCOPED_TRACE(testing::Message() << "effect " << row.Effect << ", mode " << row.Mode << ", length " << row.Length);
    TOwned<TAnimationLog> log(New<TAnimationLog>());
    TdxAnimationTransition* transition = NewTransition(1000, row.Effect, row.Length, row.Mode);
    transition->SetFreeOnTerminate(false);
    log->Bind(transition);
    const std::int64_t start = TFakeCounter::Now;
    transition->Resume();
    for (int k = 0; k <= 10; ++k) {
      SCOPED_TRACE(testing::Message() << "t = " << k / 10.0);
      TFakeCounter::Now = start + k * TFakeCounter::Frequency / 10;
      FController->Update();
      EXPECT_EQ(transition->Position(), row.Positions[k]);
    }
    EXPECT_TRUE(transition->Finished());
    EXPECT_EQ(log->CountOf("terminate"), 1);
    transition->Free();
  }
}

TEST_F(dxAnimation, EdgeCasesOfTheCurves) {
  struct Case {
    const char* Name;
    TdxAnimationTransitionEffect Effect;
    TdxAnimationTransitionEffectMode Mode;
    int Length;
    unsigned Time;
    std::int64_t AtMs;
    int Expected;
  } cases[] = {
      {"linear, half-way", ateLinear, atmIn, 100, 200, 100, 50},
      {"linear truncates", ateLinear, atmIn, 100, 300, 100, 33},
      {"quadratic out at 0.5", ateQuadratic, atmOut, 100, 1000, 500, 75},
      {"quadratic in-out at 0.25: 12.5 rounds to even", ateQuadratic, atmInOut, 100, 1000, 250, 12},
      {"quadratic in at 0.5 of 5: 1.25", ateQuadratic, atmIn, 5, 1000, 500, 1},
      {"cubic in at 0.5 of 4: 0.5 rounds to even", ateCubic, atmIn, 4, 1000, 500, 0},
      {"cubic in at 0.5 of 12: 1.5 rounds to even", ateCubic, atmIn, 12, 1000, 500, 2},
      {"length 0 stays 0", ateSine, atmOut, 0, 1000, 500, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxAnimationTransition* transition = NewTransition(c.Time, c.Effect, c.Length, c.Mode);
    transition->SetFreeOnTerminate(false);
    transition->Resume();
    AdvanceMs(c.AtMs);
    FController->Update();
    EXPECT_EQ(transition->Position(), c.Expected);
    transition->Free();
  }
}

// ---------------------------------------------------------------------------
// Steps and events

TEST_F(dxAnimation, EventsComeInOrderAndTheEndIsExact) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(200, ateLinear, 100);
  log->Bind(transition);
  transition->Resume();
  FController->Update();  // t = 0: an old position of 0 always reports
  AdvanceMs(100);
  FController->Update();
  FController->Update();  // no change: no events
  AdvanceMs(150);
  FController->Update();  // past the end: the final step, then the transition goes
  using E = TAnimationLog::TEntry;
  const std::vector<E> expected = {
      {"before", 0, false},   {"animate", 0, false},  {"after", 0, false},  {"before", 50, false},
      {"animate", 50, false}, {"after", 50, false},   {"before", 100, true}, {"animate", 100, true},
      {"after", 100, true},   {"terminate", 100, true}};
  EXPECT_EQ(log->Entries, expected);
  EXPECT_EQ(FController->Count(), 0) << "FreeOnTerminate frees the transition in the tick";
}

TEST_F(dxAnimation, AHandlerThatFinishesEndsAtOnceWithTheFullLength) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(1000, ateLinear, 400);
  log->Bind(transition);
  log->OnEvent = [](const std::string& AEvent, TdxAnimationTransition*, int& APosition, bool& AFinished) {
    if (AEvent == "animate" && APosition > 0) AFinished = true;
  };
  transition->Resume();
  FController->Update();
  AdvanceMs(250);
  FController->Update();
  using E = TAnimationLog::TEntry;
  const std::vector<E> expected = {{"before", 0, false},   {"animate", 0, false},  {"after", 0, false},
                                   {"before", 100, false}, {"animate", 100, false}, {"after", 400, true},
                                   {"terminate", 400, true}};
  EXPECT_EQ(log->Entries, expected);
  EXPECT_EQ(FController->Count(), 0);
}

TEST_F(dxAnimation, AResumeKeepsTheElapsedTime) {
  TdxAnimationTransition* transition = NewTransition(1000, ateLinear, 1000);
  transition->SetFreeOnTerminate(false);
  transition->Resume();
  AdvanceMs(300);
  FController->Update();
  EXPECT_EQ(transition->Position(), 300);
  transition->Suspend();
  EXPECT_TRUE(transition->Suspended());
  AdvanceMs(5000);
  FController->Update();
  EXPECT_EQ(transition->Position(), 300) << "a suspended transition is skipped";
  transition->Resume();
  FController->Update();
  EXPECT_EQ(transition->Position(), 300) << "the time suspended does not count";
  AdvanceMs(100);
  FController->Update();
  EXPECT_EQ(transition->Position(), 400);
  transition->Free();
}

TEST_F(dxAnimation, FinishedFalseRestartsTheClock) {
  TdxAnimationTransition* transition = NewTransition(100, ateLinear, 100);
  transition->SetFreeOnTerminate(false);
  transition->Resume();
  AdvanceMs(150);
  FController->Update();
  ASSERT_TRUE(transition->Finished());
  EXPECT_EQ(FController->ActiveAnimations(), 0);
  transition->SetFinished(false);
  EXPECT_EQ(transition->Position(), 0) << "the restart runs a step at t = 0";
  EXPECT_EQ(FController->ActiveAnimations(), 1);
  AdvanceMs(40);
  FController->Update();
  EXPECT_EQ(transition->Position(), 40);
  transition->Free();
}

TEST_F(dxAnimation, ATimeOfZeroFinishesAtTheFirstTick) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(0, ateCubic, 70);
  log->Bind(transition);
  transition->Resume();
  FController->Update();
  EXPECT_EQ(log->Entries.back(), (TAnimationLog::TEntry{"terminate", 70, true}));
  EXPECT_EQ(FController->Count(), 0);
}

TEST_F(dxAnimation, ImmediateAnimationRunsEveryStepAndFrees) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(10, ateLinear, 10);
  log->Bind(transition);
  TFakeCounter::Step = TFakeCounter::TicksPerMs;  // the busy loop sees time pass
  transition->ImmediateAnimation();
  EXPECT_EQ(FController->Count(), 0);
  EXPECT_EQ(log->CountOf("terminate"), 1);
  ASSERT_GE(log->Entries.size(), 4u);
  EXPECT_EQ(log->Entries.back().Position, 10);
  EXPECT_GT(log->CountOf("animate"), 5) << "one step for each millisecond";
}

class TAnimationInfo : public TObject {
  SK_CLASS(TAnimationInfo, TObject)
 public:
  bool* Freed = nullptr;
  void Destroy() override {
    *Freed = true;
    inherited::Destroy();
  }
};

TEST_F(dxAnimation, InfoIsOwned) {
  bool freed = false;
  TdxAnimationTransition* transition = NewTransition(100, ateLinear, 10);
  TAnimationInfo* info = New<TAnimationInfo>();
  info->Freed = &freed;
  transition->SetInfo(info);
  transition->Free();
  EXPECT_TRUE(freed);
}

// ---------------------------------------------------------------------------
// The count of active animations and the timer

TEST_F(dxAnimation, TheActiveCountFollowsEachTransitionOnce) {
  struct Case {
    const char* Name;
    std::function<void(TdxAnimationTransition*)> End;
  } cases[] = {
      {"finishes by time", [](TdxAnimationTransition*) {
         AdvanceMs(2000);
         dxAnimationController()->Update();
       }},
      {"suspended as finished", [](TdxAnimationTransition* T) { T->Suspend(true); }},
      {"terminated", [](TdxAnimationTransition* T) { T->Terminate(); }},
      {"freed while active", [](TdxAnimationTransition* T) { T->Free(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxAnimationTransition* transition = NewTransition(1000, ateSine, 100);
    EXPECT_EQ(FController->ActiveAnimations(), 0) << "created suspended";
    transition->Resume();
    transition->Resume();  // not suspended any more: nothing
    EXPECT_EQ(FController->ActiveAnimations(), 1);
    EXPECT_TRUE(FController->TimerEnabled());
    EXPECT_EQ(cxRunningTimerCount(), FRunningTimers + 1);
    transition->Suspend();
    EXPECT_EQ(FController->ActiveAnimations(), 0) << "a suspended transition needs no ticks";
    transition->Resume();
    EXPECT_EQ(FController->ActiveAnimations(), 1) << "counted once after resuming again";
    c.End(transition);
    EXPECT_EQ(FController->Count(), 0);
    EXPECT_EQ(FController->ActiveAnimations(), 0);
    EXPECT_FALSE(FController->TimerEnabled());
    EXPECT_EQ(cxRunningTimerCount(), FRunningTimers);
  }
}

TEST_F(dxAnimation, RealTimerTicksRunATransitionToItsEnd) {
  dxSetPerformanceCounter(FSaved);  // the system's own clock
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(30, ateQuadratic, 50, atmOut);
  log->Bind(transition);
  transition->Resume();
  EXPECT_EQ(cxRunningTimerCount(), FRunningTimers + 1);
  ASSERT_TRUE(PumpUntil([&] { return log->CountOf("terminate") == 1; }));
  EXPECT_EQ(log->Entries.back().Position, 50);
  EXPECT_EQ(FController->Count(), 0);
  EXPECT_EQ(cxRunningTimerCount(), FRunningTimers) << "the 1 ms timer stops with the last transition";
}

// ---------------------------------------------------------------------------
// Handlers that end, free or re-enter

TEST_F(dxAnimation, AHandlerMayFreeOrTerminateItsOwnTransition) {
  struct Case {
    const char* Name;
    const char* In;
    bool FreeOnTerminate;
    std::function<void(TdxAnimationTransition*)> Act;
  } cases[] = {
      {"free in before", "before", false, [](TdxAnimationTransition* T) { T->Free(); }},
      {"free in animate", "animate", false, [](TdxAnimationTransition* T) { T->Free(); }},
      {"free in after", "after", false, [](TdxAnimationTransition* T) { T->Free(); }},
      {"terminate in before", "before", true, [](TdxAnimationTransition* T) { T->Terminate(); }},
      {"terminate in after", "after", true, [](TdxAnimationTransition* T) { T->Terminate(); }},
      {"suspend as finished in animate", "animate", true, [](TdxAnimationTransition* T) { T->Suspend(true); }},
      {"immediate animation in animate", "animate", true,
       [](TdxAnimationTransition* T) { T->ImmediateAnimation(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TAnimationLog> log(New<TAnimationLog>());
    TdxAnimationTransition* transition = NewTransition(1000, ateLinear, 100);
    transition->SetFreeOnTerminate(c.FreeOnTerminate);
    log->Bind(transition);
    bool acted = false;
    log->OnEvent = [&](const std::string& AEvent, TdxAnimationTransition* Sender, int&, bool&) {
      if (AEvent != c.In || acted) return;
      acted = true;
      c.Act(Sender);
    };
    transition->Resume();
    AdvanceMs(100);
    FController->Update();
    EXPECT_TRUE(acted);
    EXPECT_EQ(FController->Count(), 0) << "the transition is gone";
    EXPECT_EQ(FController->ActiveAnimations(), 0);
    AdvanceMs(100);
    FController->Update();  // nothing left to step
  }
}

TEST_F(dxAnimation, AHandlerMayFreeAnotherTransitionOfTheSameTick) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* first = NewTransition(1000, ateLinear, 100);
  TdxAnimationTransition* second = NewTransition(1000, ateLinear, 100);
  log->Bind(first);
  log->Bind(second);
  // The tick runs from the last transition to the first.
  log->OnEvent = [&](const std::string& AEvent, TdxAnimationTransition* Sender, int&, bool&) {
    if (AEvent == "after" && Sender == second && first) FreeAndNil(first);
  };
  first->Resume();
  second->Resume();
  AdvanceMs(100);
  FController->Update();
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(log->CountOf("after"), 1) << "the freed transition was not stepped";
  EXPECT_EQ(FController->Count(), 1);
  EXPECT_EQ(FController->ActiveAnimations(), 1);
}

TEST_F(dxAnimation, ANestedTickOrStepIsRefused) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(1000, ateLinear, 100);
  transition->SetFreeOnTerminate(false);
  log->Bind(transition);
  log->OnEvent = [&](const std::string& AEvent, TdxAnimationTransition*, int&, bool&) {
    if (AEvent != "animate") return;
    AdvanceMs(100);
    dxAnimationController()->Update();  // as a handler that pumps messages would
  };
  transition->Resume();
  AdvanceMs(100);
  FController->Update();
  EXPECT_EQ(log->CountOf("animate"), 1);
  EXPECT_EQ(transition->Position(), 10);
  transition->Free();
}

class TAnimationListenerLog : public TNoRefCount<TObject>, public IdxAnimationListener {
  SK_CLASS(TAnimationListenerLog, TObject)
 public:
  std::vector<std::string> Calls;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxAnimationListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void AfterAnimationStep(TdxAnimationController*) override { Calls.push_back("after step"); }
  void BeforeAnimationStep(TdxAnimationController*) override { Calls.push_back("before step"); }
  void AnimationDestroyed(TdxAnimationTransition*) override { Calls.push_back("destroyed"); }
};

TEST_F(dxAnimation, ListenersHearEachTickEvenWhenAStepRaises) {
  TOwned<TAnimationListenerLog> listener(New<TAnimationListenerLog>());
  FController->AddListener(listener.get());
  FController->AddListener(listener.get());  // once only
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* transition = NewTransition(1000, ateLinear, 100);
  log->Bind(transition);
  bool raise = true;
  log->OnEvent = [&](const std::string& AEvent, TdxAnimationTransition*, int&, bool&) {
    if (AEvent == "animate" && raise) throw EConvertError(L"step failed");
  };
  transition->Resume();
  EXPECT_THROW(FController->Update(), EConvertError);
  EXPECT_EQ(listener->Calls, (std::vector<std::string>{"before step", "after step"}));
  raise = false;
  AdvanceMs(2000);
  FController->Update();  // the guard was cleared: this tick runs and ends it
  EXPECT_EQ(listener->Calls,
            (std::vector<std::string>{"before step", "after step", "before step", "destroyed", "after step"}));
  FController->RemoveListener(listener.get());
}

class TExclusiveTransition : public TdxAnimationTransition {
  SK_CLASS(TExclusiveTransition, TdxAnimationTransition)
 protected:
  bool IsCompatibleWith(TdxAnimationTransition* ANewTransition) override {
    return !Is<TExclusiveTransition>(ANewTransition);
  }
};

TEST_F(dxAnimation, ANewTransitionFinishesTheIncompatibleOnes) {
  TOwned<TAnimationLog> log(New<TAnimationLog>());
  TdxAnimationTransition* plain = NewTransition(1000, ateLinear, 100);
  TdxAnimationTransition* older = New<TExclusiveTransition>(1000u, ateLinear, 100);
  log->Bind(older);
  older->Resume();
  TdxAnimationTransition* newer = New<TExclusiveTransition>(1000u, ateLinear, 100);
  EXPECT_TRUE(older->Finished());
  EXPECT_EQ(older->Position(), 100);
  EXPECT_EQ(log->CountOf("terminate"), 1);
  EXPECT_FALSE(plain->Finished());
  EXPECT_FALSE(newer->Finished());
  EXPECT_EQ(FController->ActiveAnimations(), 0);
  FController->Update();  // frees the finished one
  EXPECT_EQ(FController->Count(), 2);
}

// ---------------------------------------------------------------------------
// Clock

TEST_F(dxAnimation, TheClockFallsBackToTheTickCount) {
  EXPECT_EQ(MillisecondsToTicks(1500), 15'000'000);
  TFakeCounter::Fails = true;
  const DWORD before = GetTickCount();
  const std::int64_t now = ReadPerformanceCounter();
  const DWORD after = GetTickCount();
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
  EXPECT_EQ(MillisecondsToTicks(1500), 1500);
  dxSetPerformanceCounter(FSaved);
  LARGE_INTEGER frequency;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(MillisecondsToTicks(7), 7 * frequency.QuadPart / 1000);
}

}  // namespace
