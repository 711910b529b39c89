// The application object: the loop, work queued by other threads (also
// during modal loops), exceptions, the main form and hints.
#include "platform/runtime/Threads.h"
#include "platform/ui/Forms.h"

#include "tests/platform_ui/UiTestClasses.h"
#include "tests/support/ExceptionLog.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/ProcThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>

namespace {

class ApplicationTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterUiTestClasses(); }
  void SetUp() override {
    FWindows = ThreadWindowCount();
    Application()->ResetTerminated();
    FLog = New<TApplicationExceptionLog>();
  }
  void TearDown() override {
    AppPumpPending();
    FreeAndNil(FLog);
    Application()->ResetTerminated();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  // Starts ACount threads that each run AWork(index); returns once all ended.
  struct TWorkers {
    std::vector<TThread*> Threads;
    ~TWorkers() {
      for (TThread* t : Threads) {
        t->WaitFor();
        t->Free();
      }
    }
  };
  static TThread* StartWorker(std::function<void()> AWork) {
    return New<TProcThread>([work = std::move(AWork)](TProcThread*) { work(); });
  }

  TApplicationExceptionLog* FLog = nullptr;
  int FWindows = 0;
};

TEST_F(ApplicationTest, WorkQueuedBySeveralThreadsRunsOnTheMainThreadInEachThreadsOrder) {
  constexpr int Threads = 4;
  constexpr int Items = 40;
  std::map<int, std::vector<int>> seen;
  int offMain = 0;
  TWorkers workers;
  for (int t = 0; t < Threads; ++t)
    workers.Threads.push_back(StartWorker([t, &seen, &offMain] {
      for (int i = 0; i < Items; ++i) {
        auto record = [t, i, &seen, &offMain] {
          if (!IsMainThread()) ++offMain;
          seen[t].push_back(i);
        };
        // Queued and synchronised work share one queue and one order.
        if (i % 5 == 4) TThread::Synchronize(nullptr, record);
        else TThread::Queue(nullptr, record);
      }
    }));
  ASSERT_TRUE(AppPumpUntil([&] {
    std::size_t total = 0;
    for (auto& [t, list] : seen) total += list.size();
    return total == Threads * Items;
  }));
  EXPECT_EQ(0, offMain);
  for (int t = 0; t < Threads; ++t) {
    SCOPED_TRACE(t);
    std::vector<int> expected(Items);
    for (int i = 0; i < Items; ++i) expected[i] = i;
    EXPECT_EQ(expected, seen[t]);
  }
}

TEST_F(ApplicationTest, WorkRunsWhileAModalFormIsOpen) {
  auto* form = New<TForm>(nullptr);
  form->SetBounds(50, 50, 200, 100);
  std::vector<int> order;
  int duringModal = 0;
  TWorkers workers;
  workers.Threads.push_back(StartWorker([&] {
    for (int i = 0; i < 20; ++i)
      TThread::Synchronize(nullptr, [&, i] {
        order.push_back(i);
        if (Application()->ModalLevel() > 0 && form->FormState().Contains(fsModal)) ++duringModal;
      });
    TThread::Queue(nullptr, [form] { form->SetModalResult(mrOk); });
  }));
  EXPECT_EQ(mrOk, form->ShowModal());
  EXPECT_EQ(20, duringModal);
  EXPECT_EQ(20u, order.size());
  EXPECT_FALSE(form->Visible());
  form->Free();
}

TEST_F(ApplicationTest, WorkRunsWhileAMessageBoxIsOpen) {
  const String caption = L"Warteschlangentest";
  int duringBox = 0;
  TWorkers workers;
  workers.Threads.push_back(StartWorker([&] {
    // Wait until the box is up, so that the work surely runs inside it.
    while (!FindWindowW(L"#32770", caption.c_str())) Sleep(5);
    for (int i = 0; i < 10; ++i)
      TThread::Synchronize(nullptr, [&] {
        if (FindWindowW(L"#32770", caption.c_str())) ++duringBox;
      });
    TThread::Queue(nullptr, [caption] {
      if (HWND box = FindWindowW(L"#32770", caption.c_str())) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
  }));
  EXPECT_EQ(IDOK, Application()->MessageBox(L"Bitte warten", caption, MB_OK));
  EXPECT_EQ(10, duringBox);
}

TEST_F(ApplicationTest, ExceptionInQueuedWorkIsReportedAndTheRestStillRuns) {
  std::vector<int> ran;
  TWorkers workers;
  workers.Threads.push_back(StartWorker([&] {
    TThread::Queue(nullptr, [&] { ran.push_back(1); });
    TThread::Queue(nullptr, [] { throw EConvertError(L"kein Integer"); });
    TThread::Queue(nullptr, [&] { ran.push_back(3); });
  }));
  ASSERT_TRUE(AppPumpUntil([&] { return ran.size() == 2; }));
  EXPECT_EQ((std::vector<int>{1, 3}), ran);
  EXPECT_EQ((std::vector<String>{L"kein Integer"}), FLog->Messages);
}

TEST_F(ApplicationTest, HandleExceptionSortsWhatItCaught) {
  auto raiseAndHandle = [](auto AThrow) {
    try {
      AThrow();
    } catch (...) {
      Application()->HandleException(Application());
    }
  };
  raiseAndHandle([] { throw EAbort(L"still"); });
  EXPECT_TRUE(FLog->Messages.empty()) << "the silent exception shows nothing";
  raiseAndHandle([] { throw EConvertError(L"'x' ist keine Zahl"); });
  raiseAndHandle([] { throw std::runtime_error("from the standard library"); });
  raiseAndHandle([] { throw 42; });
  ASSERT_EQ(3u, FLog->Messages.size());
  EXPECT_EQ(String(L"'x' ist keine Zahl"), FLog->Messages[0]);
  EXPECT_EQ(String(L"from the standard library"), FLog->Messages[1]);
  EXPECT_FALSE(FLog->Messages[2].empty());
  EXPECT_EQ(Application(), FLog->Senders[0]);
}

TEST_F(ApplicationTest, ExceptionInsideAWindowProcedureReachesTheApplication) {
  class TThrower : public TCustomControl {
    SK_CLASS(TThrower, TCustomControl)
   public:
    static void Publish(TPublisher<TThrower>& P) { P.Message<&TThrower::WMApp>(WM_APP + 40); }
    void WMApp(TMessage&) { throw EConvertError(L"im Fenster"); }
  };
  auto* form = New<TForm>(nullptr);
  auto* thrower = New<TThrower>(form);
  thrower->SetParent(form);
  EXPECT_NO_THROW(SendMessageW(thrower->Handle(), WM_APP + 40, 0, 0));
  EXPECT_EQ((std::vector<String>{L"im Fenster"}), FLog->Messages);
  EXPECT_EQ(thrower, FLog->Senders.at(0));
  form->Free();
}

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWithTerminate) {
  TForm* form = nullptr;
  Application()->CreateForm(form);
  ASSERT_EQ(form, Application()->MainForm());
  bool visibleInLoop = false;
  TThread::ForceQueue(nullptr, [&] {
    visibleInLoop = form->HandleAllocated() && IsWindowVisible(form->Handle());
    form->Close();  // closing the main form ends the application
  });
  Application()->Run();
  EXPECT_TRUE(visibleInLoop);
  EXPECT_TRUE(Application()->Terminated());
  form->Free();
  EXPECT_EQ(nullptr, Application()->MainForm());
}

TEST_F(ApplicationTest, MainFormOnTaskBarGivesTheMainFormItsOwnButton) {
  Application()->SetMainFormOnTaskBar(true);
  TForm* main = nullptr;
  Application()->CreateForm(main);
  TForm* other = nullptr;
  Application()->CreateForm(other);
  EXPECT_EQ(nullptr, GetWindow(main->Handle(), GW_OWNER));
  EXPECT_TRUE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(main->Handle(), GetWindow(other->Handle(), GW_OWNER));
  other->Free();
  main->Free();
  Application()->SetMainFormOnTaskBar(false);
  TForm* hidden = nullptr;
  Application()->CreateForm(hidden);
  EXPECT_EQ(Application()->Handle(), GetWindow(hidden->Handle(), GW_OWNER))
      << "without it the application's window owns the main form";
  hidden->Free();
}

TEST_F(ApplicationTest, ExeNameIsTheRunningProgram) {
  const String name = Application()->ExeName();
  ASSERT_GT(name.size(), 4u);
  EXPECT_EQ(String(L"test_platform_ui.exe"), name.substr(name.find_last_of(L"\\/") + 1));
}

// Answers CM_HINTSHOW as the test decides.
class THintedSwatch : public TTestSwatch {
  SK_CLASS(THintedSwatch, TTestSwatch)
 public:
  static void Publish(TPublisher<THintedSwatch>& P) { P.Message<&THintedSwatch::CMHintShow>(CM_HINTSHOW); }
  bool Refuse = false;
  int Asked = 0;

 protected:
  void CMHintShow(TMessage& Message) {
    ++Asked;
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    info->HintStr += L" (geändert)";
    Message.Result = Refuse ? 1 : 0;
  }
};

TEST_F(ApplicationTest, HintShowsAfterThePauseWithWhatTheControlMadeOfIt) {
  TOwned<TForm> formOwner(New<TForm>(nullptr));
  TForm* form = formOwner.get();
  form->SetBounds(100, 100, 200, 120);
  auto* swatch = New<THintedSwatch>(form);
  swatch->SetParent(form);
  swatch->SetHint(L"Farbe");
  swatch->SetShowHint(true);
  const int oldPause = Application()->HintPause();
  Application()->SetHintPause(10);
  form->Show();
  SendMessageW(swatch->Handle(), WM_MOUSEMOVE, 0, PointToLParam(TPoint(5, 5)));
  ASSERT_TRUE(AppPumpUntil([] { return Application()->HintWindow() && Application()->HintWindow()->IsShowing(); }));
  EXPECT_EQ(String(L"Farbe (geändert)"), Application()->HintWindow()->Caption());
  EXPECT_EQ(swatch, Application()->HintControl());
  Application()->CancelHint();
  EXPECT_FALSE(Application()->HintWindow()->IsShowing());

  swatch->Refuse = true;
  const int asked = swatch->Asked;
  SendMessageW(swatch->Handle(), WM_MOUSEMOVE, 0, PointToLParam(TPoint(6, 6)));
  ASSERT_TRUE(AppPumpUntil([&] { return swatch->Asked > asked; }));
  AppPumpPending();
  EXPECT_FALSE(Application()->HintWindow()->IsShowing()) << "a refused hint stays hidden";
  Application()->SetHintPause(oldPause);
  formOwner.reset();
  EXPECT_EQ(nullptr, Application()->HintControl()) << "a freed control is forgotten";
  Application()->HintWindow()->ReleaseHandle();
}

}  // namespace
