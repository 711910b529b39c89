#include "library/editors/edit/dxSpellCheckerCore.h"

#include "library/controls/control/cxControls.h"
#include "platform/ui/Forms.h"
#include "tests/support/InterfaceIdentities.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace {

std::vector<std::string> GCalls;

// A spell checker with only the editor interface.
class TCheckerOnly : public TNoRefCount<TObject>, public IdxSpellChecker {
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSpellChecker>(this, AIID, AObj) || TObject::GetInterface(AIID, AObj);
  }
  void CheckFinish() override { GCalls.push_back("CheckFinish"); }
  void CheckStart(TWinControl* AControl) override { Record("CheckStart", AControl); }
  void DrawMisspellings(TWinControl* AControl, HDC ADC) override {
    Record("DrawMisspellings", AControl);
    LastDC = ADC;
  }
  bool IsDialogWindow(HWND) override { return false; }
  void KeyPress(wchar_t&) override { GCalls.push_back("KeyPress"); }
  void LayoutChanged(TWinControl* AControl) override { Record("LayoutChanged", AControl); }
  bool QueryPopup(TComponent* APopupMenu, const TPoint& APoint) override {
    GCalls.push_back("QueryPopup");
    LastMenu = APopupMenu;
    LastPoint = APoint;
    return Handles;
  }
  void SelectionChanged(TWinControl* AControl) override { Record("SelectionChanged", AControl); }
  void TextChanged(TWinControl* AControl) override { Record("TextChanged", AControl); }
  void Undo() override { GCalls.push_back("Undo"); }

  TWinControl* LastControl = nullptr;
  HDC LastDC = nullptr;
  TComponent* LastMenu = nullptr;
  TPoint LastPoint;
  bool Handles = true;

 private:
  void Record(const char* ACall, TWinControl* AControl) {
    GCalls.push_back(ACall);
    LastControl = AControl;
  }
};

// A spell checker with all three interfaces.
class TFullChecker : public TCheckerOnly, public IdxSpellCheckerKeyListener, public IdxSpellCheckerExtension {
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSpellCheckerKeyListener, IdxSpellCheckerExtension>(this, AIID, AObj) ||
           TCheckerOnly::GetInterface(AIID, AObj);
  }
  void KeyDown(WORD&, TShiftState) override {}
  void KeyUp(WORD&, TShiftState) override {}
};

// Each test starts and ends with no spell checker and no listener.
class SpellCheckerInstance : public testing::Test {
 protected:
  void SetUp() override {
    GCalls.clear();
    ASSERT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
    ASSERT_FALSE(TdxSpellCheckerInstance::HasListenerList());
  }
  void TearDown() override {
    UnregisterAll();
    TdxSpellCheckerInstance::SetInstance(nullptr);
  }

  // Records its name and the sender; may unregister itself or another
  // listener, or register a new one, when it is called.
  class TListener : public TObject {
   public:
    void Changed(TObject* ASender) {
      GCalls.push_back(Name);
      Senders.push_back(ASender);
      SawChecker.push_back(TdxSpellCheckerInstance::ISpellChecker() != nullptr);
      for (TListener* other : Unregisters) TdxSpellCheckerInstance::UnregisterListener(other->Handler());
      if (Registers) TdxSpellCheckerInstance::RegisterListener(Registers->Handler());
    }
    TNotifyEvent Handler() { return BindEvent<&TListener::Changed>(this); }

    std::string Name;
    std::vector<TListener*> Unregisters;
    TListener* Registers = nullptr;
    std::vector<TObject*> Senders;
    std::vector<bool> SawChecker;
  };

  TListener& Listener(const std::string& AName) {
    TListener& listener = FListeners.emplace_back();
    listener.Name = AName;
    return listener;
  }
  static void Register(TListener& AListener) { TdxSpellCheckerInstance::RegisterListener(AListener.Handler()); }
  static void Unregister(TListener& AListener) { TdxSpellCheckerInstance::UnregisterListener(AListener.Handler()); }
  // No listener is registered more than twice here.
  void UnregisterAll() {
    for (TListener& listener : FListeners) {
      Unregister(listener);
      Unregister(listener);
    }
    EXPECT_FALSE(TdxSpellCheckerInstance::HasListenerList());
    FListeners.clear();
  }

 private:
  std::list<TListener> FListeners;
};

TEST(SpellCheckerInterfaces, IdentitiesMatchTheirRegistryText) {
  const TInterfaceIdentity identities[] = {
      {"IdxSpellChecker", IdxSpellChecker::IID, L"{4515FCEE-2D09-4709-A170-E29C556355BF}"},
      {"IdxSpellCheckerKeyListener", IdxSpellCheckerKeyListener::IID, L"{0480D25C-94DA-449D-BBE6-B771C76D0BB1}"},
      {"IdxSpellCheckerExtension", IdxSpellCheckerExtension::IID, L"{45807494-4396-401D-ADE2-6FC4312700D6}"},
      {"IdxSpellCheckerControl", IdxSpellCheckerControl::IID, L"{2DEA4CCA-3C6D-4283-9441-AABBD61F74F3}"},
  };
  ExpectInterfaceIdentities(identities);
}

TEST_F(SpellCheckerInstance, WithoutACheckerEveryCallDoesNothing) {
  TdxSpellCheckerInstance::CheckStart(nullptr);
  TdxSpellCheckerInstance::TextChanged(nullptr);
  TdxSpellCheckerInstance::Undo();
  TdxSpellCheckerInstance::CheckFinish();
  EXPECT_FALSE(TdxSpellCheckerInstance::QueryPopup(nullptr, TPoint(1, 2)));
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerKeyListener(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerExtension(), nullptr);
}

TEST_F(SpellCheckerInstance, EachReferenceIsTheInstancesInterfaceOrNil) {
  TCheckerOnly only;
  TdxSpellCheckerInstance::SetInstance(&only);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), static_cast<IdxSpellChecker*>(&only));
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerKeyListener(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerExtension(), nullptr);

  TFullChecker full;
  TdxSpellCheckerInstance::SetInstance(&full);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), static_cast<IdxSpellChecker*>(&full));
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerKeyListener(), static_cast<IdxSpellCheckerKeyListener*>(&full));
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerExtension(), static_cast<IdxSpellCheckerExtension*>(&full));

  // An object that is no spell checker at all clears every reference.
  TObject plain;
  TdxSpellCheckerInstance::SetInstance(&plain);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerKeyListener(), nullptr);

  TdxSpellCheckerInstance::SetInstance(&full);
  TdxSpellCheckerInstance::SetInstance(nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerKeyListener(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellCheckerExtension(), nullptr);
}

TEST_F(SpellCheckerInstance, CallsReachTheCheckerWithTheirArguments) {
  TCheckerOnly checker;
  TdxSpellCheckerInstance::SetInstance(&checker);
  TWinControl* const control = reinterpret_cast<TWinControl*>(&checker);  // an address to pass on, never used
  const HDC dc = reinterpret_cast<HDC>(0x1234);
  struct TCase {
    const char* Name;
    void (*Call)(TWinControl* AControl, HDC ADC);
    bool PassesControl;
  };
  const TCase cases[] = {
      {"CheckFinish", [](TWinControl*, HDC) { TdxSpellCheckerInstance::CheckFinish(); }, false},
      {"CheckStart", [](TWinControl* C, HDC) { TdxSpellCheckerInstance::CheckStart(C); }, true},
      {"DrawMisspellings", [](TWinControl* C, HDC D) { TdxSpellCheckerInstance::DrawMisspellings(C, D); }, true},
      {"LayoutChanged", [](TWinControl* C, HDC) { TdxSpellCheckerInstance::LayoutChanged(C); }, true},
      {"SelectionChanged", [](TWinControl* C, HDC) { TdxSpellCheckerInstance::SelectionChanged(C); }, true},
      {"TextChanged", [](TWinControl* C, HDC) { TdxSpellCheckerInstance::TextChanged(C); }, true},
      {"Undo", [](TWinControl*, HDC) { TdxSpellCheckerInstance::Undo(); }, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    GCalls.clear();
    checker.LastControl = nullptr;
    c.Call(control, dc);
    EXPECT_EQ(GCalls, std::vector<std::string>{c.Name});
    EXPECT_EQ(checker.LastControl, c.PassesControl ? control : nullptr);
  }
  EXPECT_EQ(checker.LastDC, dc);

  TComponent* const menu = reinterpret_cast<TComponent*>(&checker);
  for (const bool handles : {true, false}) {
    checker.Handles = handles;
    EXPECT_EQ(TdxSpellCheckerInstance::QueryPopup(menu, TPoint(30, 40)), handles);
    EXPECT_EQ(checker.LastMenu, menu);
    EXPECT_EQ(checker.LastPoint, TPoint(30, 40));
  }

  // Switched back: nothing reaches the checker any more.
  TdxSpellCheckerInstance::SetInstance(nullptr);
  GCalls.clear();
  TdxSpellCheckerInstance::TextChanged(control);
  EXPECT_FALSE(TdxSpellCheckerInstance::QueryPopup(menu, TPoint()));
  EXPECT_TRUE(GCalls.empty());
}

// A counted spell checker that unregisters itself from inside a call: the
// call must finish on a live object, which goes once the call returns.
class TSelfRemovingChecker : public TInterfacedObject, public IdxSpellChecker {
  SK_CLASS(TSelfRemovingChecker, TInterfacedObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSpellChecker>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void Destroy() override {
    *Destroyed = true;
    inherited::Destroy();
  }
  void CheckFinish() override {}
  void CheckStart(TWinControl*) override {}
  void DrawMisspellings(TWinControl*, HDC) override {}
  bool IsDialogWindow(HWND) override { return false; }
  void KeyPress(wchar_t&) override {}
  void LayoutChanged(TWinControl*) override {}
  bool QueryPopup(TComponent*, const TPoint&) override { return false; }
  void SelectionChanged(TWinControl*) override {}
  void TextChanged(TWinControl*) override {
    TdxSpellCheckerInstance::SetInstance(nullptr);
    *AliveAfterRemoval = !*Destroyed;
  }
  void Undo() override {}

  bool* Destroyed;
  bool* AliveAfterRemoval;
};

TEST_F(SpellCheckerInstance, ACheckerThatUnregistersItselfLivesUntilItsCallReturns) {
  bool destroyed = false;
  bool aliveAfterRemoval = false;
  TSelfRemovingChecker* checker = New<TSelfRemovingChecker>();
  checker->Destroyed = &destroyed;
  checker->AliveAfterRemoval = &aliveAfterRemoval;
  TdxSpellCheckerInstance::SetInstance(checker);  // the access point holds the only reference
  ASSERT_FALSE(destroyed);
  TdxSpellCheckerInstance::TextChanged(nullptr);
  EXPECT_TRUE(aliveAfterRemoval);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
}

TEST_F(SpellCheckerInstance, TheContextMenuHookAsksTheChecker) {
  const TcxContextPopupHook hook = GetContextPopupHook();
  ASSERT_NE(hook, nullptr);  // set by the unit's start-up
  EXPECT_FALSE(hook(nullptr, nullptr, TPoint(5, 6)));
  TCheckerOnly checker;
  TdxSpellCheckerInstance::SetInstance(&checker);
  TComponent* const menu = reinterpret_cast<TComponent*>(&checker);  // an address to pass on, never used
  for (const bool handles : {true, false}) {
    checker.Handles = handles;
    EXPECT_EQ(hook(nullptr, menu, TPoint(5, 6)), handles);
    EXPECT_EQ(checker.LastMenu, menu);
    EXPECT_EQ(checker.LastPoint, TPoint(5, 6));
  }
}

// Records the control's own menu requests and takes them.
class TMenuRequests : public TObject {
 public:
  void ContextPopup(TObject*, TPoint AMousePos, bool& AHandled) {
    Points.push_back(AMousePos);
    AHandled = true;
  }
  std::vector<TPoint> Points;
};

// A right click's WM_CONTEXTMENU on a real control window: the checker is
// asked first, at the client point, and the control's own handling follows
// only when the checker declines.
TEST_F(SpellCheckerInstance, AControlOffersItsContextMenuToTheCheckerFirst) {
  const TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(100, 100, 300, 200);
  TcxControl* control = New<TcxControl>(form.get());
  control->SetParent(form.get());
  control->SetBounds(10, 20, 120, 60);
  TMenuRequests requests;
  control->SetOnContextPopup(BindEvent<&TMenuRequests::ContextPopup>(&requests));
  const TPoint screen = control->ClientToScreen(TPoint(7, 8));
  const auto rightClick = [&] {
    SendMessageW(control->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control->Handle()),
                 MAKELPARAM(screen.X, screen.Y));
  };

  TCheckerOnly checker;
  TdxSpellCheckerInstance::SetInstance(&checker);
  checker.Handles = true;
  rightClick();
  EXPECT_EQ(GCalls, std::vector<std::string>{"QueryPopup"});
  EXPECT_EQ(checker.LastPoint, TPoint(7, 8));
  EXPECT_TRUE(requests.Points.empty());

  checker.Handles = false;
  GCalls.clear();
  rightClick();
  EXPECT_EQ(GCalls, std::vector<std::string>{"QueryPopup"});
  EXPECT_EQ(requests.Points, std::vector<TPoint>{TPoint(7, 8)});

  TdxSpellCheckerInstance::SetInstance(nullptr);
  GCalls.clear();
  rightClick();
  EXPECT_TRUE(GCalls.empty());
  EXPECT_EQ(requests.Points.size(), 2u);
}

// The first start-up sets the hook, the last shut-down clears it and lets
// the spell checker go.
TEST_F(SpellCheckerInstance, StartUpAndShutDownAreCounted) {
  TCheckerOnly checker;
  TdxSpellCheckerInstance::SetInstance(&checker);
  dxSpellCheckerCoreInitialization();
  dxSpellCheckerCoreFinalization();
  EXPECT_NE(GetContextPopupHook(), nullptr);
  EXPECT_NE(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  dxSpellCheckerCoreFinalization();
  EXPECT_EQ(GetContextPopupHook(), nullptr);
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr);
  dxSpellCheckerCoreFinalization();  // unmatched: nothing to undo
  dxSpellCheckerCoreInitialization();
  EXPECT_NE(GetContextPopupHook(), nullptr);
  TdxSpellCheckerInstance::SetInstance(&checker);
  dxSpellCheckerCoreFinalization();
  EXPECT_EQ(TdxSpellCheckerInstance::ISpellChecker(), nullptr) << "an unmatched shut-down was counted";
  dxSpellCheckerCoreInitialization();
}

TEST_F(SpellCheckerInstance, ListenersAreToldInOrderWithTheInstanceAsSender) {
  TListener& a = Listener("a");
  TListener& b = Listener("b");
  Register(a);
  Register(b);
  TCheckerOnly checker;
  TdxSpellCheckerInstance::SetInstance(&checker);
  EXPECT_EQ(GCalls, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(a.Senders, std::vector<TObject*>{&checker});
  EXPECT_EQ(a.SawChecker, std::vector<bool>{true});  // the references are set before anyone is told
  GCalls.clear();
  TdxSpellCheckerInstance::SetInstance(nullptr);
  EXPECT_EQ(GCalls, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(b.Senders, (std::vector<TObject*>{&checker, nullptr}));
  EXPECT_EQ(b.SawChecker, (std::vector<bool>{true, false}));
}

TEST_F(SpellCheckerInstance, ListenerRegisteredTwiceIsToldTwice) {
  TListener& a = Listener("a");
  TListener& b = Listener("b");
  Register(a);
  Register(b);
  Register(a);
  TdxSpellCheckerInstance::SetInstance(nullptr);
  EXPECT_EQ(GCalls, (std::vector<std::string>{"a", "b", "a"}));
  GCalls.clear();
  TdxSpellCheckerInstance::UnregisterListener(a.Handler());
  TdxSpellCheckerInstance::SetInstance(nullptr);
  EXPECT_EQ(GCalls, (std::vector<std::string>{"b", "a"}));  // the first registration went
}

TEST_F(SpellCheckerInstance, TheListFollowsItsListeners) {
  TListener& a = Listener("a");
  TListener& b = Listener("b");
  TdxSpellCheckerInstance::UnregisterListener(a.Handler());  // never registered: nothing happens
  EXPECT_FALSE(TdxSpellCheckerInstance::HasListenerList());
  Register(a);
  EXPECT_TRUE(TdxSpellCheckerInstance::HasListenerList());
  Register(b);
  Unregister(a);
  TdxSpellCheckerInstance::UnregisterListener(a.Handler());  // gone already: b stays
  EXPECT_TRUE(TdxSpellCheckerInstance::HasListenerList());
  Unregister(b);
  EXPECT_FALSE(TdxSpellCheckerInstance::HasListenerList());
  Register(b);
  EXPECT_TRUE(TdxSpellCheckerInstance::HasListenerList());
  TdxSpellCheckerInstance::SetInstance(nullptr);
  EXPECT_EQ(GCalls, std::vector<std::string>{"b"});
}

// Every listener registered when SetInstance begins is told once, whatever
// the listeners do to the list while they are told; one registered during
// the call waits for the next.
TEST_F(SpellCheckerInstance, ListenersThatChangeTheListWhileTold) {
  struct TCase {
    const char* Name;
    void (*Arrange)(TListener& A, TListener& B, TListener& C, TListener& D);
    std::vector<std::string> FirstCall;
    std::vector<std::string> SecondCall;
  };
  const TCase cases[] = {
      {"the first unregisters itself",
       [](TListener& A, TListener&, TListener&, TListener&) { A.Unregisters = {&A}; },
       {"a", "b", "c"}, {"b", "c"}},
      {"the last unregisters itself",
       [](TListener&, TListener&, TListener& C, TListener&) { C.Unregisters = {&C}; },
       {"a", "b", "c"}, {"a", "b"}},
      {"each unregisters itself, the last one freeing the list",
       [](TListener& A, TListener& B, TListener& C, TListener&) {
         A.Unregisters = {&A};
         B.Unregisters = {&B};
         C.Unregisters = {&C};
       },
       {"a", "b", "c"}, {}},
      {"the first unregisters every listener",
       [](TListener& A, TListener& B, TListener& C, TListener&) { A.Unregisters = {&A, &B, &C}; },
       {"a", "b", "c"}, {}},
      {"one registers another",
       [](TListener&, TListener& B, TListener&, TListener& D) { B.Registers = &D; },
       {"a", "b", "c"}, {"a", "b", "c", "d"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TListener& a = Listener("a");
    TListener& b = Listener("b");
    TListener& cc = Listener("c");
    TListener& d = Listener("d");
    Register(a);
    Register(b);
    Register(cc);
    c.Arrange(a, b, cc, d);
    GCalls.clear();
    TdxSpellCheckerInstance::SetInstance(nullptr);
    EXPECT_EQ(GCalls, c.FirstCall);
    // The listeners stop changing the list: what is left is told once more.
    for (TListener* listener : {&a, &b, &cc, &d}) {
      listener->Unregisters.clear();
      listener->Registers = nullptr;
    }
    GCalls.clear();
    TdxSpellCheckerInstance::SetInstance(nullptr);
    EXPECT_EQ(GCalls, c.SecondCall);
    EXPECT_EQ(TdxSpellCheckerInstance::HasListenerList(), !c.SecondCall.empty());
    UnregisterAll();
  }
}

}  // namespace
