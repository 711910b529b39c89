#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

#include "tests/support/ExceptionLog.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TickSink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TimerTest : public testing::Test {
 protected:
  void SetUp() override {
    FWindows = ThreadWindowCount();
    FSink = New<TTickSink>();
    // Exceptions at the timer window reach the application object.
    FExceptions = New<TApplicationExceptionLog>();
  }
  void TearDown() override {
    FreeAndNil(FExceptions);
    FreeAndNil(FSink);
    PumpPending();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "the timer window outlived the timers";
  }

  int FWindows = 0;
  TTickSink* FSink = nullptr;
  TApplicationExceptionLog* FExceptions = nullptr;
};

TEST_F(TimerTest, DefaultsAndPublishedProperties) {
  TTimer* timer = New<TTimer>(nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_FALSE(timer->Running()) << "a timer without OnTimer must not run";
  EXPECT_EQ(GetClass(L"TTimer"), TTimer::ClassInfo());
  for (const wchar_t* name : {L"Enabled", L"Interval"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(IsDefaultOrdValue(timer, FindPropInfo(timer, name)));
  }
  SetOrdProp(timer, FindPropInfo(timer, L"Interval"), 250);
  EXPECT_EQ(timer->Interval(), 250u);
  EXPECT_FALSE(IsDefaultOrdValue(timer, FindPropInfo(timer, L"Interval")));
  timer->Free();
}

TEST_F(TimerTest, RunsOnlyWhenEnabledWithIntervalAndHandler) {
  struct Case {
    const char* Name;
    bool Enabled;
    unsigned Interval;
    bool Handler;
    bool Running;
  };
  const Case cases[] = {
      {"all set", true, 100, true, true},
      {"disabled", false, 100, true, false},
      {"interval 0", true, 0, true, false},
      {"no handler", true, 100, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TTimer* timer = New<TTimer>(nullptr);
    timer->SetEnabled(c.Enabled);
    timer->SetInterval(c.Interval);
    if (c.Handler) timer->SetOnTimer(FSink->Event());
    EXPECT_EQ(timer->Running(), c.Running);
    timer->Free();
  }
}

TEST_F(TimerTest, TicksAtItsIntervalWithItselfAsSender) {
  TOwned<TTimer> timerOwner(New<TTimer>(nullptr));
  TTimer* timer = timerOwner.get();
  timer->SetInterval(40);
  const ULONGLONG start = GetTickCount64();
  timer->SetOnTimer(FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return FSink->Times.size() >= 3; }));
  timerOwner.reset();
  EXPECT_EQ(FSink->Senders[0], timer);
  // Windows may deliver a tick a little early; a whole interval never.
  EXPECT_GE(FSink->Times[0] - start, 30u);
  EXPECT_GE(FSink->Times[2] - FSink->Times[0], 60u);
}

TEST_F(TimerTest, DisablingStopsTheTicks) {
  TOwned<TTimer> timerOwner(New<TTimer>(nullptr));
  TTimer* timer = timerOwner.get();
  timer->SetInterval(10);
  timer->SetOnTimer(FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return !FSink->Times.empty(); }));
  timer->SetEnabled(false);
  const std::size_t ticks = FSink->Times.size();
  PumpFor(60);
  EXPECT_EQ(FSink->Times.size(), ticks);
  timer->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return FSink->Times.size() > ticks; }));
  timerOwner.reset();
}

TEST_F(TimerTest, MessageQueuedBeforeStopCallsNothing) {
  struct Case {
    const char* Name;
    void (*Stop)(TTimer*);
  };
  const Case cases[] = {
      {"disabled", [](TTimer* t) { t->SetEnabled(false); }},
      {"restarted", [](TTimer* t) { t->SetEnabled(false); t->SetEnabled(true); }},
      {"interval changed", [](TTimer* t) { t->SetInterval(5000); }},
      {"handler removed", [](TTimer* t) { t->SetOnTimer(nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FSink->Times.clear();
    TTimer* timer = New<TTimer>(nullptr);
    timer->SetInterval(1);
    timer->SetOnTimer(FSink->Event());
    const MSG late = TakeTimerMessage(nullptr);
    c.Stop(timer);
    timer->SetInterval(5000);  // no fresh tick during the check
    DispatchMessageW(&late);
    EXPECT_TRUE(FSink->Times.empty());
    timer->Free();
  }
}

TEST_F(TimerTest, MessageQueuedBeforeFreeCallsNothing) {
  TTimer* keeper = New<TTimer>(nullptr);  // keeps the shared window alive
  TTimer* timer = New<TTimer>(nullptr);
  timer->SetInterval(1);
  timer->SetOnTimer(FSink->Event());
  const MSG late = TakeTimerMessage(nullptr);
  timer->Free();
  DispatchMessageW(&late);
  EXPECT_TRUE(FSink->Times.empty());
  keeper->Free();
}

TEST_F(TimerTest, HandlerMayFreeItsOwnTimer) {
  struct Case {
    const char* Name;
    bool LastTimer;  // freeing it also frees the shared window inside its message
  };
  for (const Case c : {Case{"last timer", true}, Case{"other timers remain", false}}) {
    SCOPED_TRACE(c.Name);
    FSink->Times.clear();
    TTimer* other = c.LastTimer ? nullptr : New<TTimer>(nullptr);
    TTimer* timer = New<TTimer>(nullptr);
    timer->SetInterval(1);
    FSink->FreeOnTick = timer;
    timer->SetOnTimer(FSink->Event());
    ASSERT_TRUE(PumpUntil([&] { return FSink->FreeOnTick == nullptr; }));
    PumpFor(30);
    EXPECT_EQ(FSink->Times.size(), 1u);
    if (other) other->Free();
  }
}

TEST_F(TimerTest, ExceptionInHandlerGoesToTheHandlerAndTimerGoesOn) {
  TOwned<TTimer> timerOwner(New<TTimer>(nullptr));
  TTimer* timer = timerOwner.get();
  timer->SetInterval(5);
  FSink->Raise = true;
  timer->SetOnTimer(FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return FSink->Times.size() >= 2; }));
  ASSERT_GE(FExceptions->Messages.size(), 1u);
  EXPECT_EQ(FExceptions->Senders.back(), timer);
  EXPECT_EQ(FExceptions->Messages.back(), L"tick failed");
  timerOwner.reset();
}

TEST_F(TimerTest, ExceptionAfterFreeingItselfNamesNoSender) {
  TTimer* timer = New<TTimer>(nullptr);
  timer->SetInterval(1);
  FSink->Raise = true;
  FSink->FreeOnTick = timer;
  timer->SetOnTimer(FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return !FExceptions->Messages.empty(); }));
  EXPECT_EQ(FExceptions->Senders.back(), nullptr) << "a freed timer must not be reported as the sender";
}

TEST_F(TimerTest, OwnerFreesItsTimers) {
  TOwned<TComponent> ownerGuard(New<TComponent>(nullptr));
  TComponent* owner = ownerGuard.get();
  for (int i = 0; i < 3; ++i) {
    TTimer* timer = New<TTimer>(owner);
    timer->SetInterval(10 + i);
    timer->SetOnTimer(FSink->Event());
  }
  ASSERT_TRUE(PumpUntil([&] { return FSink->Times.size() >= 3; }));
  ownerGuard.reset();
  const std::size_t ticks = FSink->Times.size();
  PumpFor(40);
  EXPECT_EQ(FSink->Times.size(), ticks);
}

}  // namespace
