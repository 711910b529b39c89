#include "library/controls/control/cxControls.h"

#include "platform/ui/StdCtrls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 0x51;

// A control that answers the probe itself (7) and says so in the log.
class TProbeControl : public TCustomControl {
  SK_CLASS(TProbeControl, TCustomControl)
 public:
  std::vector<String>* Log = nullptr;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PROBE) {
      Log->push_back(L"control");
      Message.Result = 7;
      return;
    }
    inherited::WndProc(Message);
  }
};

// One handler of a chain: logs the probe (or AWatch), runs its script, then
// passes the message on unless told otherwise.
class THandler : public TObject {
  SK_CLASS(THandler, TObject)
 public:
  String Name;
  std::vector<String>* Log = nullptr;
  TcxWindowProcLinkedObject* Node = nullptr;
  UINT Watch = WM_PROBE;
  bool PassOn = true;
  std::function<void(THandler*)> OnWatch;

  void WndProc(TMessage& Message) {
    TcxWindowProcLinkedObject* node = Node;
    if (Message.Msg == Watch) {
      Log->push_back(Name);
      if (OnWatch) OnWatch(this);
    }
    if (PassOn || Message.Msg != Watch) node->DefaultProc(Message);
  }
  TWndMethod Method() { return BindEvent<&THandler::WndProc>(this); }
};

struct TChainFixture : testing::Test {
  std::vector<String> Log;
  TOwned<TProbeControl> Control;
  std::vector<TOwned<THandler>> Handlers;

  void SetUp() override {
    Control.reset(New<TProbeControl>(nullptr));
    Control->Log = &Log;
  }
  THandler* AddTo(TControl* AControl, const String& AName) {
    Handlers.emplace_back(New<THandler>());
    THandler* handler = Handlers.back().get();
    handler->Name = AName;
    handler->Log = &Log;
    handler->Node = WindowProcController()->Add(AControl, handler->Method());
    return handler;
  }
  THandler* AddTo(HWND AHandle, const String& AName) {
    Handlers.emplace_back(New<THandler>());
    THandler* handler = Handlers.back().get();
    handler->Name = AName;
    handler->Log = &Log;
    handler->Node = WindowProcController()->Add(AHandle, handler->Method());
    return handler;
  }
  void Remove(THandler* AHandler) { WindowProcController()->Remove(AHandler->Node); }
  std::vector<String> Probe(TControl* AControl, LRESULT* AResult = nullptr) {
    Log.clear();
    const LRESULT result = AControl->Perform(WM_PROBE, 0, 0);
    if (AResult) *AResult = result;
    return Log;
  }
};

using S = std::vector<String>;

TEST_F(TChainFixture, TheNewestHandlerSeesEachMessageFirstAndRemovalOutOfOrderKeepsTheChain) {
  const TWndMethod initial = Control->WindowProc();
  THandler* a = AddTo(Control.get(), L"a");
  THandler* b = AddTo(Control.get(), L"b");
  ASSERT_NE(a->Node, nullptr);
  LRESULT result = 0;
  EXPECT_EQ(Probe(Control.get(), &result), (S{L"b", L"a", L"control"}));
  EXPECT_EQ(result, 7);

  Remove(a);
  EXPECT_EQ(a->Node, nullptr) << "the variable is cleared";
  EXPECT_EQ(Probe(Control.get()), (S{L"b", L"control"}));
  EXPECT_FALSE(Control->WindowProc() == initial);

  Remove(b);
  EXPECT_TRUE(Control->WindowProc() == initial) << "the initial procedure is back, exactly";
  EXPECT_EQ(Probe(Control.get()), (S{L"control"}));
}

TEST_F(TChainFixture, AHandlerThatDoesNotPassTheMessageOnSwallowsIt) {
  THandler* a = AddTo(Control.get(), L"a");
  THandler* b = AddTo(Control.get(), L"b");
  b->PassOn = false;
  b->OnWatch = [](THandler*) {};
  EXPECT_EQ(Probe(Control.get()), (S{L"b"}));
  Remove(b);
  Remove(a);
}

TEST_F(TChainFixture, NothingIsAddedForNoControlOrWindowAndRemovingNothingIsHarmless) {
  const int chains = WindowProcController()->ChainCount();
  EXPECT_EQ(WindowProcController()->Add(static_cast<TControl*>(nullptr), TWndMethod()), nullptr);
  EXPECT_EQ(WindowProcController()->Add(static_cast<HWND>(nullptr), TWndMethod()), nullptr);
  TcxWindowProcLinkedObject* none = nullptr;
  WindowProcController()->Remove(none);
  EXPECT_EQ(WindowProcController()->ChainCount(), chains);
}

TEST_F(TChainFixture, ARawWindowGetsItsInitialProcedureBack) {
  TOwned<TForm> form(NewShownForm(TRect(40, 40, 240, 160)));
  const HWND wnd = form->Handle();
  const LONG_PTR initial = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  THandler* a = AddTo(wnd, L"a");
  THandler* b = AddTo(wnd, L"b");
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), initial);
  Log.clear();
  SendMessageW(wnd, WM_PROBE, 0, 0);
  EXPECT_EQ(Log, (S{L"b", L"a"}));
  Remove(b);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWLP_WNDPROC), initial);
  Remove(a);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), initial);
}

TEST_F(TChainFixture, ARawChainSitsUnderTheClassLibraryChainOfANativeEditThatStillTakesTypedText) {
  const int windows = ThreadWindowCount();
  TOwned<TForm> form(NewShownForm(TRect(60, 60, 360, 200)));
  TEdit* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 200, 24);
  edit->SetFocus();
  ASSERT_TRUE(PumpUntil([edit] { return GetFocus() == edit->Handle(); }));

  THandler* raw = AddTo(edit->Handle(), L"raw");
  THandler* library = AddTo(edit, L"library");
  raw->Watch = library->Watch = WM_CHAR;

  SendText(L"ab");
  ASSERT_TRUE(PumpUntil([edit] { return edit->Text() == L"ab"; })) << edit->Text();
  // Each character meets the raw chain first, then the control's.
  EXPECT_EQ(Log, (S{L"raw", L"library", L"raw", L"library"}));

  Remove(library);
  Remove(raw);
  SendText(L"c");
  EXPECT_TRUE(PumpUntil([edit] { return edit->Text() == L"abc"; })) << edit->Text();
  form.reset();
  EXPECT_EQ(ThreadWindowCount(), windows);
}

TEST_F(TChainFixture, AHandlerRemovingItselfMidMessageStillPassesItOnToItsFormerPredecessor) {
  THandler* a = AddTo(Control.get(), L"a");
  THandler* b = AddTo(Control.get(), L"b");
  TProbeControl* other = New<TProbeControl>(nullptr);
  other->Log = &Log;
  THandler* c = nullptr;
  b->OnWatch = [&](THandler* self) {
    TcxWindowProcLinkedObject* node = self->Node;
    WindowProcController()->Remove(self->Node);
    self->Node = node;  // the handler goes on with the node the message came through
    // A new node made now must not take the removed node's place in memory.
    c = AddTo(other, L"c");
  };
  EXPECT_EQ(Probe(Control.get()), (S{L"b", L"a", L"control"}));
  EXPECT_EQ(Probe(Control.get()), (S{L"a", L"control"})) << "b left the chain";
  Remove(a);
  Remove(c);
  other->Free();
}

TEST_F(TChainFixture, TheLastHandlerRemovingItselfRestoresTheControlAtOnceAndTheMessageStillArrives) {
  const TWndMethod initial = Control->WindowProc();
  const int chains = WindowProcController()->ChainCount();
  THandler* a = AddTo(Control.get(), L"a");
  bool restoredInside = false;
  a->OnWatch = [&](THandler* self) {
    TcxWindowProcLinkedObject* node = self->Node;
    WindowProcController()->Remove(self->Node);
    self->Node = node;
    restoredInside = Control->WindowProc() == initial;
  };
  LRESULT result = 0;
  EXPECT_EQ(Probe(Control.get(), &result), (S{L"a", L"control"}));
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(restoredInside);
  EXPECT_EQ(WindowProcController()->ChainCount(), chains);
  EXPECT_EQ(Probe(Control.get()), (S{L"control"}));
}

TEST_F(TChainFixture, TheLastRawHandlerRemovingItselfRestoresTheWindowAtOnce) {
  TOwned<TForm> form(NewShownForm(TRect(40, 40, 240, 160)));
  const HWND wnd = form->Handle();
  const LONG_PTR initial = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  THandler* a = AddTo(wnd, L"a");
  THandler* b = AddTo(wnd, L"b");
  LONG_PTR inside = 0;
  // b removes a (below it), then itself; the message still reaches the form.
  b->Watch = WM_SETTEXT;
  b->OnWatch = [&](THandler* self) {
    Remove(a);
    TcxWindowProcLinkedObject* node = self->Node;
    WindowProcController()->Remove(self->Node);
    self->Node = node;
    inside = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  };
  SetWindowTextW(wnd, L"still set");
  EXPECT_EQ(inside, initial);
  EXPECT_EQ(form->Caption(), L"still set");
  EXPECT_EQ(Log, (S{L"b"}));
}

}  // namespace
