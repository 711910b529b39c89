#include "library/core/base/cxClasses.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/support/ExceptionLog.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TickSink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Timers

class cxTimer : public testing::Test {
 protected:
  void SetUp() override {
    FRunning = cxRunningTimerCount();
    FSink = New<TTickSink>();
  }
  void TearDown() override {
    FreeAndNil(FSink);
    PumpPending();
    EXPECT_EQ(cxRunningTimerCount(), FRunning) << "a timer still counts as running";
  }
  static void PostTick(UINT_PTR AId) {
    MSG msg{cxTimerWindowHandle(), WM_TIMER, AId, 0, 0, {}};
    DispatchMessageW(&msg);
  }

  int FRunning = 0;
  TTickSink* FSink = nullptr;
};

TEST_F(cxTimer, DefaultsAndCreateTimer) {
  TcxTimer* timer = New<TcxTimer>(nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_EQ(timer->EventID(), reinterpret_cast<UINT_PTR>(timer));
  EXPECT_FALSE(timer->TimerOn()) << "a timer without OnTimer never calls SetTimer";
  timer->Free();

  TcxTimer* made = CreateTimer(100, false, FSink->Event());
  EXPECT_EQ(made->Interval(), 100u);
  EXPECT_FALSE(made->TimerOn());
  EXPECT_EQ(made->Owner(), nullptr);
  made->SetEnabled(true);
  EXPECT_TRUE(made->TimerOn());
  EXPECT_EQ(cxRunningTimerCount(), FRunning + 1);
  made->SetInterval(0);
  EXPECT_EQ(made->Interval(), 100u) << "0 is ignored";
  made->SetOnTimer(nullptr);
  EXPECT_FALSE(made->TimerOn());
  made->Free();
}

TEST_F(cxTimer, TicksAtItsIntervalWithItselfAsSender) {
  const ULONGLONG start = GetTickCount64();
  TcxTimer* timer = CreateTimer(40, true, FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return FSink->Times.size() >= 3; }));
  timer->Free();
  EXPECT_EQ(FSink->Senders[0], timer);
  // Windows may deliver a tick a little early; a whole interval never.
  EXPECT_GE(FSink->Times[0] - start, 30u);
  EXPECT_GE(FSink->Times[2] - FSink->Times[0], 60u);
}

TEST_F(cxTimer, DisablingStopsTheTicksAndEnablingStartsThemAgain) {
  TcxTimer* timer = CreateTimer(10, true, FSink->Event());
  ASSERT_TRUE(PumpUntil([&] { return !FSink->Times.empty(); }));
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->TimerOn());
  const std::size_t ticks = FSink->Times.size();
  PumpFor(60);
  EXPECT_EQ(FSink->Times.size(), ticks);
  timer->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return FSink->Times.size() > ticks; }));
  timer->Free();
}

TEST_F(cxTimer, TheSameIntervalKeepsTheCountdownAndTheSameHandlerRestartsIt) {
  constexpr unsigned Interval = 200;
  struct Case {
    const char* Name;
    void (*Touch)(TcxTimer*, TTickSink*);
    bool Restarts;
  };
  const Case cases[] = {
      {"same interval", [](TcxTimer* t, TTickSink*) { t->SetInterval(Interval); }, false},
      {"same handler", [](TcxTimer* t, TTickSink* s) { t->SetOnTimer(s->Event()); }, true},
      {"reset", [](TcxTimer* t, TTickSink*) { t->Reset(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FSink->Times.clear();
    TcxTimer* timer = CreateTimer(Interval, true, FSink->Event());
    PumpFor(120);
    ASSERT_TRUE(FSink->Times.empty());
    const ULONGLONG touched = GetTickCount64();
    c.Touch(timer, FSink);
    ASSERT_TRUE(PumpUntil([&] { return !FSink->Times.empty(); }));
    const ULONGLONG afterTouch = FSink->Times[0] - touched;
    if (c.Restarts)
      EXPECT_GE(afterTouch, Interval - 15) << "the countdown did not start again";
    else
      EXPECT_LT(afterTouch, Interval - 15) << "the countdown started again";
    timer->Free();
  }
}

TEST_F(cxTimer, AMessageQueuedBeforeTheTimerStoppedCallsNothing) {
  struct Case {
    const char* Name;
    void (*Stop)(TcxTimer*);
  };
  const Case cases[] = {
      {"disabled", [](TcxTimer* t) { t->SetEnabled(false); }},
      {"handler removed", [](TcxTimer* t) { t->SetOnTimer(nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FSink->Times.clear();
    TcxTimer* timer = CreateTimer(1, true, FSink->Event());
    const MSG late = TakeTimerMessage(cxTimerWindowHandle());
    c.Stop(timer);
    DispatchMessageW(&late);
    EXPECT_TRUE(FSink->Times.empty());
    // While it runs, the same message is served.
    timer->SetOnTimer(FSink->Event());
    timer->SetEnabled(true);
    timer->SetInterval(5000);
    DispatchMessageW(&late);
    EXPECT_EQ(FSink->Times.size(), 1u);
    timer->Free();
  }
  PostTick(0x12345);  // an id that never ran
  EXPECT_EQ(FSink->Times.size(), 1u);
}

TEST_F(cxTimer, AHandlerMayFreeItsOwnTimer) {
  TcxTimer* timer = CreateTimer(1, true, FSink->Event());
  const UINT_PTR id = timer->EventID();
  FSink->FreeOnTick = timer;
  ASSERT_TRUE(PumpUntil([&] { return FSink->FreeOnTick == nullptr; }));
  EXPECT_EQ(cxRunningTimerCount(), FRunning);
  PostTick(id);  // a late message of the freed timer
  EXPECT_EQ(FSink->Times.size(), 1u);
}

TEST_F(cxTimer, TimersArePublishedAndReadFromDescriptions) {
  TcxTimer* timer = New<TcxTimer>(nullptr);
  SetOrdProp(timer, FindPropInfo(timer, L"Interval"), 250);
  SetOrdProp(timer, FindPropInfo(timer, L"Enabled"), 0);
  EXPECT_EQ(timer->Interval(), 250u);
  EXPECT_FALSE(timer->Enabled());
  timer->Free();
}

// ---------------------------------------------------------------------------
// Scalable components

class TTestScalable : public TcxScalableComponent {
  SK_CLASS(TTestScalable, TcxScalableComponent)
 public:
  std::vector<std::pair<int, int>> Changes;

 protected:
  void ChangeScaleFactor(int ANumerator, int ADenominator) override {
    Changes.emplace_back(ANumerator, ADenominator);
    inherited::ChangeScaleFactor(ANumerator, ADenominator);
  }
};

TEST(cxScalableComponent, LoadedAt144OnA96DpiScreenScalesOnceBackToOne) {
  RegisterClass(TTestScalable::ClassInfo());
  ASSERT_EQ(Screen()->PixelsPerInch(), 96);
  TComponent* read = ReadComponentFromText(L"object S: TTestScalable\n  PixelsPerInch = 144\nend");
  auto* scalable = dynamic_cast<TTestScalable*>(read);
  ASSERT_NE(scalable, nullptr);
  EXPECT_EQ(scalable->Changes, (std::vector<std::pair<int, int>>{{96, 144}}));
  EXPECT_FALSE(scalable->ScaleFactor()->Assigned());
  EXPECT_NE(WriteComponentToText(scalable).find(L"PixelsPerInch = 96"), String::npos);
  // Nothing to do at the DPI it has, and nothing when not scalable.
  scalable->ScaleForPPI(96);
  scalable->SetScalable(false);
  scalable->ScaleForPPI(192);
  EXPECT_EQ(scalable->Changes.size(), 1u);
  scalable->SetScalable(true);
  scalable->ScaleForPPI(192);
  EXPECT_EQ(ScaleFactorToDpi(scalable->ScaleFactor()), 192);
  EXPECT_NE(SupportsRaw<IcxScalableComponent>(scalable), nullptr);
  scalable->Free();
}

TEST(cxScalableComponent, ADamagedDpiIsRefusedWhenRead) {
  RegisterClass(TTestScalable::ClassInfo());
  EXPECT_THROW(ReadComponentFromText(L"object S: TTestScalable\n  PixelsPerInch = 0\nend"), Exception);
}

// ---------------------------------------------------------------------------
// Component bases

// Records whether the watched component's own destruction had begun when
// this watcher heard of its removal.
class TWatcher : public TComponent {
  SK_CLASS(TWatcher, TComponent)
 public:
  std::vector<bool> RemovedAfterDestroy;
  const bool* DestroyRan = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    inherited::Notification(AComponent, AOperation);
    if (AOperation == opRemove && DestroyRan) RemovedAfterDestroy.push_back(*DestroyRan);
  }
};

class TTrackedComponent : public TcxComponent {
  SK_CLASS(TTrackedComponent, TcxComponent)
 public:
  bool* DestroyRan = nullptr;
  void Destroy() override {
    if (DestroyRan) *DestroyRan = true;
    inherited::Destroy();
  }
};

TEST(cxComponent, SubscribersAndTheOwnerHearOfTheRemovalBeforeDestructionRuns) {
  bool destroyRan = false;
  TOwned<TWatcher> ownerGuard(New<TWatcher>(nullptr));
  TWatcher* owner = ownerGuard.get();
  TOwned<TWatcher> watcherOwner(New<TWatcher>(nullptr));
  TWatcher* watcher = watcherOwner.get();
  owner->DestroyRan = &destroyRan;
  watcher->DestroyRan = &destroyRan;
  TTrackedComponent* component = New<TTrackedComponent>(owner);
  component->DestroyRan = &destroyRan;
  RequestFreeNotification(watcher, component);
  component->Free();
  ASSERT_FALSE(watcher->RemovedAfterDestroy.empty());
  EXPECT_FALSE(watcher->RemovedAfterDestroy[0]) << "the subscriber heard too late";
  ASSERT_FALSE(owner->RemovedAfterDestroy.empty());
  EXPECT_FALSE(owner->RemovedAfterDestroy[0]) << "the owner heard too late";
  watcherOwner.reset();
  ownerGuard.reset();
}

TEST(cxComponent, FakeLinksForgetAComponentThatGoes) {
  TcxComponent* holder = New<TcxComponent>(nullptr);
  TcxComponent* linked = New<TcxComponent>(nullptr);
  holder->SetFakeComponentLink2(linked);
  EXPECT_EQ(holder->FakeComponentLink2(), linked);
  linked->Free();
  EXPECT_EQ(holder->FakeComponentLink2(), nullptr);
  holder->Free();
}

TEST(cxComponent, TheLibrarysComponentsAreStreamedInTheControlsGroup) {
  for (TClass c : {TcxCustomComponent::ClassInfo(), TcxComponent::ClassInfo(), TcxScalableComponent::ClassInfo(),
                   TTrackedComponent::ClassInfo(), TControl::ClassInfo()}) {
    SCOPED_TRACE(c->ClassName());
    EXPECT_EQ(ClassGroupOf(c), TControl::ClassInfo());
  }
  EXPECT_EQ(ClassGroupOf(TComponent::ClassInfo()), TPersistent::ClassInfo());
  EXPECT_EQ(ClassGroupOf(TcxTimer::ClassInfo()), TPersistent::ClassInfo()) << "a plain component stays outside";
}

TEST(cxComponent, DestroyingIsSeenThroughOwnerAndParentWhenAsked) {
  TWinControl* parent = New<TWinControl>(nullptr);
  TComponent* owner = New<TComponent>(nullptr);
  TWinControl* control = New<TWinControl>(owner);
  control->SetParent(parent);
  EXPECT_FALSE(IsComponentDestroying(nullptr));
  EXPECT_FALSE(IsComponentDestroying(control, true));
  parent->IncludeState(csDestroying);
  EXPECT_FALSE(IsComponentDestroying(control));
  EXPECT_TRUE(IsComponentDestroying(control, true)) << "the parent is not the owner";
  parent->ExcludeState(csDestroying);
  owner->IncludeState(csDestroying);
  EXPECT_TRUE(IsComponentDestroying(control, true));
  owner->ExcludeState(csDestroying);
  control->IncludeState(csDestroying);
  EXPECT_TRUE(IsComponentDestroying(control));
  control->ExcludeState(csDestroying);
  control->SetParent(nullptr);
  owner->Free();
  parent->Free();
}

// ---------------------------------------------------------------------------
// Object links

TEST(cxObjectLinks, ALinkTurnsNilWhenItsComponentGoes) {
  EXPECT_EQ(AddObjectLink(nullptr), nullptr);
  TcxComponent* component = New<TcxComponent>(nullptr);
  TcxComponent* other = New<TcxComponent>(nullptr);
  TcxObjectLink* link = AddObjectLink(component);
  TcxObjectLink* second = AddObjectLink(component);
  TcxObjectLink* unrelated = AddObjectLink(other);
  EXPECT_EQ(link->Ref, component);
  component->Free();
  EXPECT_EQ(link->Ref, nullptr);
  EXPECT_EQ(second->Ref, nullptr);
  EXPECT_EQ(unrelated->Ref, other);
  RemoveObjectLink(link);  // freeing afterwards is safe
  RemoveObjectLink(second);
  RemoveObjectLink(unrelated);
  RemoveObjectLink(nullptr);
  other->Free();
}

TEST(cxObjectLinks, ThreadsAddAndRemoveLinksSafely) {
  TcxObjectLinkController* controller = ObjectLinkController();
  const int before = controller->LinkCount();
  std::atomic<int> done{0};
  TObject* target = New<TObject>();
  for (int t = 0; t < 4; ++t) {
    TThread* worker = TThread::CreateAnonymousThread([&] {
      for (int i = 0; i < 500; ++i) RemoveObjectLink(AddObjectLink(target));
      ++done;
    });
    worker->Start();
  }
  // Meanwhile this thread clears the target's links again and again.
  while (done < 4) ClearObjectLinks(target);
  EXPECT_EQ(controller->LinkCount(), before);
  target->Free();
}

// ---------------------------------------------------------------------------
// Registries

class TA : public TObject {
  SK_CLASS(TA, TObject)
};
class TB : public TObject {
  SK_CLASS(TB, TObject)
};
class TC : public TObject {
  SK_CLASS(TC, TObject)
};

TEST(cxRegisteredClassList, AClassFindsItsNearestRegisteredAncestor) {
  TcxRegisteredClassList* list = New<TcxRegisteredClassList>();
  list->Register(TControl::ClassInfo(), TA::ClassInfo());
  list->Register(TWinControl::ClassInfo(), TB::ClassInfo());
  EXPECT_EQ(list->FindClass(TButton::ClassInfo()), TB::ClassInfo());
  EXPECT_EQ(list->FindClass(TGraphicControl::ClassInfo()), TA::ClassInfo());
  EXPECT_EQ(list->FindClass(TComponent::ClassInfo()), nullptr);
  list->Register(TControl::ClassInfo(), TC::ClassInfo());
  EXPECT_EQ(list->FindClass(TGraphicControl::ClassInfo()), TC::ClassInfo()) << "the later registration wins";
  EXPECT_EQ(list->FindClass(TButton::ClassInfo()), TB::ClassInfo());
  // A descendant registered first still ends behind its ancestor.
  TcxRegisteredClassList* reversed = New<TcxRegisteredClassList>();
  reversed->Register(TWinControl::ClassInfo(), TB::ClassInfo());
  reversed->Register(TControl::ClassInfo(), TA::ClassInfo());
  EXPECT_EQ(reversed->Items(0)->ItemClass, TControl::ClassInfo());
  EXPECT_EQ(reversed->FindClass(TButton::ClassInfo()), TB::ClassInfo());
  list->Unregister(TControl::ClassInfo(), TC::ClassInfo());
  EXPECT_EQ(list->FindClass(TGraphicControl::ClassInfo()), TA::ClassInfo());
  EXPECT_EQ(list->Count(), 2);
  reversed->Free();
  list->Free();
}

TEST(cxRegisteredClasses, DescriptionsHintsAndLookups) {
  TcxRegisteredClasses* classes = New<TcxRegisteredClasses>();
  classes->Register(TB::ClassInfo(), L"beta|The second one");
  classes->Register(TA::ClassInfo(), L"Alpha");
  classes->Register(TB::ClassInfo(), L"other");  // already there: kept as it was
  EXPECT_EQ(classes->Count(), 2);
  EXPECT_EQ(classes->GetDescriptionByClass(TB::ClassInfo()), L"beta");
  EXPECT_EQ(classes->GetHintByClass(TB::ClassInfo()), L"The second one");
  EXPECT_EQ(classes->GetHintByClass(TA::ClassInfo()), L"Alpha");
  EXPECT_EQ(classes->GetDescriptionByClass(TC::ClassInfo()), L"");
  EXPECT_EQ(classes->FindByClassName(L"TA"), TA::ClassInfo());
  EXPECT_EQ(classes->FindByClassName(L"ta"), nullptr);
  EXPECT_EQ(classes->FindByDescription(L"beta"), TB::ClassInfo());
  EXPECT_EQ(classes->FindByDescription(L""), nullptr);
  classes->SetSorted(true);
  EXPECT_EQ(classes->Items(0), TA::ClassInfo()) << "sorted ignoring case";
  classes->Register(TC::ClassInfo(), L"apple");
  EXPECT_EQ(classes->Items(0), TA::ClassInfo());
  EXPECT_EQ(classes->Items(1), TC::ClassInfo());
  classes->Unregister(TA::ClassInfo());
  EXPECT_EQ(classes->GetIndexByClass(TA::ClassInfo()), -1);
  EXPECT_THROW(classes->Items(5), EListError);
  classes->Free();
}

// ---------------------------------------------------------------------------
// Lists and collections

class TFreeCounter : public TObject {
  SK_CLASS(TFreeCounter, TObject)
 public:
  int* Count = nullptr;
  void Destroy() override {
    ++*Count;
    inherited::Destroy();
  }
};

TEST(cxObjectList, AnOwningListFreesItsObjects) {
  int freed = 0;
  auto make = [&] {
    TFreeCounter* o = New<TFreeCounter>();
    o->Count = &freed;
    return o;
  };
  TcxObjectList* owning = New<TcxObjectList>(true);
  for (int i = 0; i < 3; ++i) owning->Add(make());
  owning->Clear();
  EXPECT_EQ(freed, 3);
  owning->Add(make());
  owning->Free();
  EXPECT_EQ(freed, 4);

  TcxObjectList* plain = New<TcxObjectList>(false);
  TFreeCounter* kept = make();
  TFreeCounter* dropped = make();
  plain->Add(kept);
  plain->Add(dropped);
  EXPECT_EQ(plain->FreeAndRemove(dropped), 1);
  EXPECT_EQ(plain->FreeAndRemove(dropped), -1);
  plain->Clear();
  EXPECT_EQ(freed, 5) << "a list that does not own its objects leaves them";
  plain->Free();
  kept->Free();
}

class TListEvents : public TObject {
  SK_CLASS(TListEvents, TObject)
 public:
  std::vector<std::pair<TComponent*, TcxComponentCollectionNotification>> Changes;
  void Changed(TObject*, TComponent* AComponent, TcxComponentCollectionNotification AAction) {
    Changes.emplace_back(AComponent, AAction);
  }
};

class TTimerList : public TcxComponentList {
  SK_CLASS(TTimerList, TcxComponentList)
 protected:
  TClass ListItemClass() override { return TcxTimer::ClassInfo(); }
};

TEST(cxComponentList, ChangesAreReportedOutsideUpdatesOnly) {
  TcxComponentList* list = New<TcxComponentList>();
  TListEvents* events = New<TListEvents>();
  list->SetOnComponentListChanged(BindEvent<&TListEvents::Changed>(events));
  TComponent* a = New<TComponent>(nullptr);
  TComponent* b = New<TComponent>(nullptr);
  list->Add(a);
  list->BeginUpdate();
  list->BeginUpdate();
  list->Add(b);
  list->Extract(a);
  list->EndUpdate();
  EXPECT_EQ(events->Changes.size(), 1u) << "nothing until the outermost EndUpdate";
  list->EndUpdate();
  using Change = std::pair<TComponent*, TcxComponentCollectionNotification>;
  EXPECT_EQ(events->Changes, (std::vector<Change>{{a, ccnAdded}, {nullptr, ccnChanged}}));
  list->Add(a);
  events->Changes.clear();
  list->Clear();
  EXPECT_EQ(events->Changes, (std::vector<Change>{{nullptr, ccnChanged}}));
  EXPECT_EQ(list->Count(), 0);
  list->Add(a);
  events->Changes.clear();
  b->Free();  // not in the list any more
  a->Free();  // leaves the list
  EXPECT_EQ(list->Count(), 0);
  list->Free();
  EXPECT_EQ(events->Changes.size(), 1u) << "destruction reports nothing";
  events->Free();
}

TEST(cxComponentList, OnlyComponentsOfTheItemClassStay) {
  TTimerList* list = New<TTimerList>();
  TComponent* plain = New<TComponent>(nullptr);
  TcxTimer* timer = New<TcxTimer>(nullptr);
  list->Add(plain);
  list->Add(timer);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items(0), timer);
  list->Free();
  timer->Free();
  plain->Free();
}

class TSortItem : public TCollectionItem {
  SK_CLASS(TSortItem, TCollectionItem)
 public:
  int Key = 0;
};

class TCollectionEvents : public TObject {
  SK_CLASS(TCollectionEvents, TObject)
 public:
  int Changes = 0;
  void Changed(TObject*, TCollectionItem*) { ++Changes; }
  int ByKey(TObject*, TCollectionItem* A, TCollectionItem* B) {
    return static_cast<TSortItem*>(A)->Key - static_cast<TSortItem*>(B)->Key;
  }
};

std::vector<int> Keys(TCollection* ACollection) {
  std::vector<int> keys;
  for (int i = 0; i < ACollection->Count(); ++i) keys.push_back(static_cast<TSortItem*>(ACollection->Items(i))->Key);
  return keys;
}

TEST(cxOwnedInterfacedCollection, SortsThroughOnCompareAndKeepsItsOrderWithout) {
  TCollectionEvents* events = New<TCollectionEvents>();
  TcxOwnedInterfacedCollection* collection = New<TcxOwnedInterfacedCollection>(nullptr, TSortItem::ClassInfo());
  collection->SetOnChange(BindEvent<&TCollectionEvents::Changed>(events));
  collection->BeginUpdate();
  for (int key : {3, 1, 2}) static_cast<TSortItem*>(collection->Add())->Key = key;
  collection->EndUpdate();
  EXPECT_GT(events->Changes, 0);
  collection->SetSorted(true);
  EXPECT_EQ(Keys(collection), (std::vector<int>{3, 1, 2})) << "without OnCompare the order stays";
  collection->SetOnCompare(BindEvent<&TCollectionEvents::ByKey>(events));
  collection->SortItems();
  EXPECT_EQ(Keys(collection), (std::vector<int>{1, 2, 3}));
  static_cast<TSortItem*>(collection->Add())->Key = 0;
  EXPECT_EQ(Keys(collection), (std::vector<int>{0, 1, 2, 3})) << "a sorted collection sorts on a whole change";
  EXPECT_FALSE(collection->InternalState().Contains(cisSorting));
  EXPECT_FALSE(collection->InternalState().Contains(cisUpdating));
  collection->Free();
  events->Free();
}

// ---------------------------------------------------------------------------
// Threads

class TWorkingThread : public TcxThread {
  SK_CLASS(TWorkingThread, TcxThread)
 public:
  std::atomic<int> Steps{0};
  std::atomic<bool>* Ended = nullptr;

  void Create(bool ACreateSuspended, bool ACreatePaused) override {
    FStepDone.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    inherited::Create(ACreateSuspended, ACreatePaused);
  }
  void Destroy() override {
    inherited::Destroy();
    FStepDone.Reset();
  }
  // Waits (without polling) until the thread has done more than ASteps steps.
  bool WaitForSteps(int ASteps) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (Steps <= ASteps) {
      if (GetTickCount64() >= deadline) return false;
      WaitForSingleObject(FStepDone.Get(), 100);
    }
    return true;
  }

 protected:
  void Execute() override {
    while (!Terminated()) {
      CheckForPause();
      ++Steps;
      SetEvent(FStepDone.Get());
      Sleep(1);
    }
    // A last pause point after the loop: the events and the lock must still exist.
    CheckForPause();
    if (Ended) *Ended = true;
  }

 private:
  TKernelHandle FStepDone;
};

TEST(cxThread, PauseWaitsForThePausePointAndUnpauseGoesOn) {
  TOwned<TWorkingThread> threadOwner(New<TWorkingThread>(false, false));
  TWorkingThread* thread = threadOwner.get();
  ASSERT_TRUE(thread->WaitForSteps(2));
  thread->Pause(true);
  EXPECT_TRUE(thread->Paused());
  const int steps = thread->Steps;
  PumpFor(30);
  EXPECT_EQ(thread->Steps, steps) << "the thread went on while paused";
  thread->Pause(true);  // paused already: returns at once
  thread->Unpause();
  EXPECT_TRUE(thread->WaitForSteps(steps + 2));
  threadOwner.reset();
}

TEST(cxThread, ACreatedPausedThreadWaitsForUnpause) {
  TWorkingThread* thread = New<TWorkingThread>(false, true);
  PumpFor(30);
  EXPECT_EQ(thread->Steps, 0);
  thread->Unpause();
  EXPECT_TRUE(thread->WaitForSteps(0));
  thread->Free();
}

TEST(cxThread, DestructionEndsThePausedThreadBeforeItsEventsGo) {
  for (bool paused : {true, false}) {
    SCOPED_TRACE(paused ? "paused" : "running");
    std::atomic<bool> ended{false};
    TOwned<TWorkingThread> threadOwner(New<TWorkingThread>(false, false));
    TWorkingThread* thread = threadOwner.get();
    thread->Ended = &ended;
    ASSERT_TRUE(thread->WaitForSteps(0));
    if (paused) thread->Pause(true);
    threadOwner.reset();
    EXPECT_TRUE(ended) << "the thread outlived its object";
  }
}

class TFailingThread : public TcxThread {
  SK_CLASS(TFailingThread, TcxThread)
 public:
  bool Silent = false;

 protected:
  void Execute() override {
    try {
      if (Silent) Abort();
      throw EConvertError(L"loader failed");
    } catch (...) {
      ReportThreadException();
    }
  }
};

TEST(cxThread, AThreadsExceptionIsShownInTheMainThreadUnlessItIsAnAbort) {
  TOwned<TApplicationExceptionLog> log(New<TApplicationExceptionLog>());
  for (bool silent : {false, true}) {
    TFailingThread* thread = New<TFailingThread>(true, false);
    thread->Silent = silent;
    thread->Start();
    thread->WaitFor();  // runs the synchronised report
    thread->Free();
  }
  EXPECT_EQ(log->Messages, std::vector<String>{L"loader failed"});
}

// ---------------------------------------------------------------------------
// Unit routines

class TStreamedHelper : public TComponent {
  SK_CLASS(TStreamedHelper, TComponent)
};

TEST(cxClassesRoutines, ControlClassesAreRegisteredInTheActiveControlsGroup) {
  const TClass active = ActivateClassGroup(TPersistent::ClassInfo());
  RegisterControlClasses({TStreamedHelper::ClassInfo()});
  EXPECT_EQ(ClassGroupOf(TStreamedHelper::ClassInfo()), TControl::ClassInfo());
  EXPECT_EQ(ActivateClassGroup(active), TControl::ClassInfo()) << "the controls group was made active";
  EXPECT_EQ(FindClass(L"TStreamedHelper"), TStreamedHelper::ClassInfo());
  ActivateClassGroup(TPersistent::ClassInfo());
  EXPECT_EQ(GetClass(L"TStreamedHelper"), nullptr) << "found only while the controls group is active";
  ActivateClassGroup(active);
}

TEST(cxClassesRoutines, TextsPositionsAndNumbers) {
  EXPECT_EQ(GetShortText(L"Caption|Hint text"), L"Caption");
  EXPECT_EQ(GetLongText(L"Caption|Hint|more"), L"Hint|more");
  EXPECT_EQ(GetShortText(L"plain"), L"plain");
  EXPECT_EQ(GetLongText(L"plain"), L"plain");
  const String text = L"abc";
  EXPECT_EQ(*CharPointerAt(text, 2), L'b');
  EXPECT_EQ(CharByteLength(text, 1), 2);
  EXPECT_EQ(CharByteLength(text, 4), 0) << "the end of the text has no next character";
  EXPECT_THROW(CharPointerAt(text, 0), ERangeError);
  EXPECT_THROW(CharPointerAt(text, 5), ERangeError);
  struct Case {
    int A, B, Center;
  };
  for (const Case c : {Case{2, 4, 3}, Case{2, 5, 3}, Case{-3, 0, -2}, Case{-5, -4, -5}, Case{0, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << c.A << ", " << c.B);
    EXPECT_EQ(CenterOfRange(c.A, c.B), c.Center);
  }
  EXPECT_EQ(SignOfFloat(0.0), 1);
  EXPECT_EQ(SignOfFloat(-0.5), -1);
  EXPECT_EQ(SizeFromValues(3, 4), TSize(3, 4));
  TComponent* owner = New<TComponent>(nullptr);
  TComponent* owned = New<TComponent>(owner);
  EXPECT_EQ(GetPersistentOwner(owned), owner);
  EXPECT_EQ(GetPersistentOwner(nullptr), nullptr);
  owner->Free();
}

}  // namespace
