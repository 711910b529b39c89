#include "library/controls/control/cxHints.h"

#include "library/controls/container/cxContainer.h"
#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// ---------------------------------------------------------------------------
// An element inside a control and the control that hints it

class THintedElement : public TcxIUnknownObject, public IcxHintableObject, public IcxHintableObject2 {
  SK_CLASS(THintedElement, TcxIUnknownObject)
 public:
  TRect Area;
  String Text = L"element hint";
  bool HidePause = true;

  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxHintableObject, IcxHintableObject2>(this, AIID, AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  bool HasHintPoint(const TPoint& P) override { return Area.Contains(P); }
  bool IsHintAtMousePos() override { return false; }
  bool UseHintHidePause() override { return HidePause; }
  TObject* GetObject() override { return this; }
  String GetHintText() override { return Text; }
  bool GetHintTextUseWidth() override { return false; }
  TFont* GetHintFont() override { return nullptr; }
  TRect GetHintAreaBounds() override { return Area; }
  TRect GetHintTextRect() override { return Area; }
};

class THintedControl;

class TElementHintHelper : public TcxControlHintHelper {
  SK_CLASS(TElementHintHelper, TcxControlHintHelper)
 public:
  THintedControl* Control = nullptr;

 protected:
  TcxControl* GetHintedControl() override;
};

// Starts an element's hint pause as the mouse moves onto it and lets the
// helper react to presses, as a library control does.
class THintedControl : public TcxControl {
  SK_CLASS(THintedControl, TcxControl)
 public:
  TOwned<THintedElement> Element;
  TOwned<TElementHintHelper> Helper;
  ULONGLONG PauseStartedAt = 0;
  bool HelperSeesPresses = true;

  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Element.reset(New<THintedElement>());
    Element->Area = TRect(10, 10, 110, 60);
    Helper.reset(New<TElementHintHelper>());
    Helper->Control = this;
  }
  void Destroy() override {
    Helper.reset();
    Element.reset();
    inherited::Destroy();
  }
  bool HintShowing() const { return Helper->HintWindow() && Helper->HintWindow()->IsShowing(); }

 protected:
  void MouseMove(TShiftState Shift, int X, int Y) override {
    inherited::MouseMove(Shift, X, Y);
    const bool pending = Helper->ShowTimer() != nullptr;
    Helper->ActivateHint(Element->Area.Contains(TPoint(X, Y)) ? Element.get() : nullptr);
    if (!pending && Helper->ShowTimer()) PauseStartedAt = GetTickCount64();
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (HelperSeesPresses) Helper->MouseDown();
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

TcxControl* TElementHintHelper::GetHintedControl() { return Control; }

void Fire(TcxTimer* ATimer) {
  ASSERT_NE(ATimer, nullptr);
  ATimer->OnTimer()(ATimer);
}

class ElementHints : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = NewShownForm(TRect(100, 100, 420, 300));
    Control = New<THintedControl>(Form);
    Control->SetParent(Form);
    Control->SetBounds(20, 20, 200, 100);
    PumpPending();
  }
  void TearDown() override {
    Form->Free();
    PumpPending();
  }
  TPoint Screen(int X, int Y) const { return Control->ClientToScreen(TPoint(X, Y)); }
  // The mouse on the element: the pause has started.
  void HoverElement(int X = 40, int Y = 30) {
    // From outside the element, so that the control sees the mouse arrive
    // even where an earlier test left the cursor.
    const TPoint outside = Screen(150, 80);
    ASSERT_TRUE(MoveUntil(outside, [outside] { return CursorIsAt(outside); }));
    ASSERT_TRUE(MoveUntil(Screen(X, Y), [this] { return Control->Helper->ShowTimer() || Control->HintShowing(); }));
  }
  void ShowNow() {
    HoverElement();
    if (!Control->HintShowing()) Fire(Control->Helper->ShowTimer());
    ASSERT_TRUE(Control->HintShowing());
  }

  TForm* Form = nullptr;
  THintedControl* Control = nullptr;
};

// The one check against the clock: the real show timer, the real mouse.
TEST_F(ElementHints, AppearsAfterThePauseAndNotAgainForTheSameElement) {
  HoverElement();
  ASSERT_NE(Control->Helper->ShowTimer(), nullptr);
  EXPECT_EQ(Control->Helper->ShowTimer()->Interval(), 900u);
  ASSERT_TRUE(PumpUntil([this] { return Control->HintShowing(); }, 3000));
  const auto elapsed = static_cast<long long>(GetTickCount64() - Control->PauseStartedAt);
  EXPECT_NEAR(elapsed, 900, 100);
  EXPECT_EQ(Control->Helper->ShowTimer(), nullptr);
  ASSERT_NE(Control->Helper->CheckerTimer(), nullptr);
  EXPECT_EQ(Control->Helper->CheckerTimer()->Interval(), 100u);
  ASSERT_NE(Control->Helper->HideTimer(), nullptr);
  EXPECT_EQ(static_cast<int>(Control->Helper->HideTimer()->Interval()), Application()->HintHidePause());

  // After the hide pause the element stays quiet while the mouse moves on it.
  Fire(Control->Helper->HideTimer());
  EXPECT_FALSE(Control->HintShowing());
  ASSERT_TRUE(MoveUntil(Screen(60, 40), [] { return true; }));
  PumpFor(50);
  EXPECT_EQ(Control->Helper->ShowTimer(), nullptr);
  EXPECT_FALSE(Control->HintShowing());
}

TEST_F(ElementHints, GoesWhenTheMouseLeavesTheArea) {
  ShowNow();
  ASSERT_TRUE(MoveUntil(Screen(150, 80), [this] { return !Control->HintShowing(); }));
  EXPECT_EQ(Control->Helper->CheckerTimer(), nullptr);
  EXPECT_EQ(Control->Helper->HintableObject(), nullptr);
}

TEST_F(ElementHints, GoesAtOnceOnMouseDown) {
  ShowNow();
  SendMouseButtons(Screen(40, 30), MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(PumpUntil([this] { return !Control->HintShowing(); }, 1000));
  SendMouseButtons(Screen(40, 30), MOUSEEVENTF_LEFTUP);
  PumpPending();
}

TEST_F(ElementHints, ACheckWithAButtonDownHidesIt) {
  Control->HelperSeesPresses = false;
  ShowNow();
  SendMouseButtons(Screen(40, 30), MOUSEEVENTF_LEFTDOWN);
  PumpPending();
  EXPECT_TRUE(Control->HintShowing());
  Fire(Control->Helper->CheckerTimer());
  EXPECT_FALSE(Control->HintShowing());
  SendMouseButtons(Screen(40, 30), MOUSEEVENTF_LEFTUP);
  PumpPending();
}

TEST_F(ElementHints, ACheckAfterDeactivationHidesIt) {
  ShowNow();
  // A window of no control takes the activation: the application is inactive.
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 100, 100, 60, nullptr,
                                     nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  PumpUntil([other] { return GetActiveWindow() == other; }, 1000);
  ASSERT_FALSE(Application()->Active());
  Fire(Control->Helper->CheckerTimer());
  EXPECT_FALSE(Control->HintShowing());
  DestroyWindow(other);
}

// An element without the optional interface keeps its hint until the check
// or the tracking ends it: no hide timer.
class TPlainElement : public TcxIUnknownObject, public IcxHintableObject2 {
  SK_CLASS(TPlainElement, TcxIUnknownObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxHintableObject2>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TObject* GetObject() override { return this; }
  String GetHintText() override { return L"plain"; }
  bool GetHintTextUseWidth() override { return false; }
  TFont* GetHintFont() override { return nullptr; }
  TRect GetHintAreaBounds() override { return TRect(0, 0, 200, 100); }
  TRect GetHintTextRect() override { return TRect(0, 0, 200, 100); }
};

TEST_F(ElementHints, AnElementWithoutHidePauseGetsNoHideTimer) {
  HoverElement();
  TOwned<TPlainElement> plain(New<TPlainElement>());
  Control->Helper->ActivateHint(plain.get());
  Fire(Control->Helper->ShowTimer());
  EXPECT_TRUE(Control->HintShowing());
  EXPECT_NE(Control->Helper->CheckerTimer(), nullptr);
  EXPECT_EQ(Control->Helper->HideTimer(), nullptr);
  Control->Helper->UnsubscribeHintObject(plain.get());
  EXPECT_FALSE(Control->HintShowing());
}

TEST_F(ElementHints, EmptyTextAndNoElementShowNothing) {
  HoverElement();
  Control->Helper->CancelHint();
  Control->Element->Text.clear();
  Control->Helper->ActivateHint(Control->Element.get());
  EXPECT_EQ(Control->Helper->ShowTimer(), nullptr);
  Control->Helper->ActivateHint(nullptr);
  Control->Helper->HideHint();
  Control->Helper->CancelHint();
  EXPECT_FALSE(Control->HintShowing());
}

TEST_F(ElementHints, ThousandHintsLeaveNoWindowOrGdiObject) {
  HoverElement();
  const auto round = [this] {
    Control->Helper->CancelHint();
    Control->Helper->ActivateHint(Control->Element.get());
    Fire(Control->Helper->ShowTimer());
    ASSERT_TRUE(Control->HintShowing());
  };
  round();
  Control->Helper->CancelHint();
  PumpPending();
  const int windows = ThreadWindowCount();
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) round();
  Control->Helper->CancelHint();
  PumpPending();
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(GdiObjectCount(), gdi);
}

// ---------------------------------------------------------------------------
// The show animation, with AnimateWindow, the clock and the system settings
// injected (Wine's AnimateWindow only shows the window).

struct TAnimationCall {
  DWORD Time;
  DWORD Flags;
};

class HintAnimation : public ::testing::Test {
 protected:
  void SetUp() override {
    Window.reset(New<TcxBaseHintWindow>(nullptr));
    Window->SetAnimateWindow([this](HWND, DWORD ATime, DWORD AFlags) {
      Calls.push_back({ATime, AFlags});
      return TRUE;
    });
    Window->SetTickCount([this] { return Now; });
    Window->SetSystemSetting([this](UINT AAction) {
      return AAction == SPI_GETTOOLTIPANIMATION ? TooltipAnimation : TooltipFade;
    });
  }
  void Show(const String& AText = L"hint") { Window->ActivateHint(TRect(200, 200, 300, 230), AText); }

  TOwned<TcxBaseHintWindow> Window;
  std::vector<TAnimationCall> Calls;
  DWORD Now = 100000;
  bool TooltipAnimation = true;
  bool TooltipFade = false;
};

TEST_F(HintAnimation, FlagsPerStyle) {
  struct TRow {
    const char* Name;
    TcxHintAnimationStyle Style;
    bool Fade;
    DWORD Flags;
  };
  const TRow rows[] = {
      {"slide from left", cxhaSlideFromLeft, false, AW_SLIDE | AW_HOR_POSITIVE},
      {"slide from right", cxhaSlideFromRight, false, AW_SLIDE | AW_HOR_NEGATIVE},
      {"slide downward", cxhaSlideDownward, false, AW_SLIDE | AW_VER_POSITIVE},
      {"slide upward", cxhaSlideUpward, false, AW_SLIDE | AW_VER_NEGATIVE},
      {"from centre", cxhaSlideFromCenter, false, AW_SLIDE | AW_CENTER},
      {"hide", cxhaHide, false, AW_SLIDE | AW_HIDE},
      {"activate", cxhaActivate, false, AW_SLIDE | AW_ACTIVATE},
      {"fade in", cxhaFadeIn, false, AW_SLIDE | AW_BLEND},
      {"auto without fading", cxhaAuto, false, AW_SLIDE | AW_VER_POSITIVE},
      {"auto with fading", cxhaAuto, true, AW_SLIDE | AW_BLEND},
      {"fade in with fading", cxhaFadeIn, true, AW_SLIDE | AW_BLEND},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Calls.clear();
    Now += 1000;
    TooltipFade = row.Fade;
    Window->SetAnimationStyle(row.Style);
    Show();
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Flags, row.Flags);
    EXPECT_EQ(Calls[0].Time, 100u);
  }
  Calls.clear();
  Now += 1000;
  Window->SetAnimationStyle(cxhaNone);
  Show();
  EXPECT_TRUE(Calls.empty());
}

TEST_F(HintAnimation, SystemAnimationOffAnimatesNoStyle) {
  TooltipAnimation = false;
  for (int style = cxhaSlideFromLeft; style <= cxhaNone; ++style) {
    SCOPED_TRACE(style);
    Now += 1000;
    Window->SetAnimationStyle(static_cast<TcxHintAnimationStyle>(style));
    Show();
  }
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(Window->EffectiveAnimationStyle(), cxhaNone);
}

TEST_F(HintAnimation, ASecondHintWithin250MsIsNotAnimated) {
  Show();
  Now += 200;
  Show();
  Now += 251;
  Show();
  ASSERT_EQ(Calls.size(), 2u);
  Now += 250;
  Show();
  EXPECT_EQ(Calls.size(), 2u);
}

TEST_F(HintAnimation, TextsOf100CharactersAreNotAnimated) {
  Show(String(99, L'x'));
  EXPECT_EQ(Calls.size(), 1u);
  Now += 1000;
  Show(String(100, L'x'));
  EXPECT_EQ(Calls.size(), 1u);
  EXPECT_TRUE(Window->IsShowing());
}

// ---------------------------------------------------------------------------
// Fitting into the work area

TEST(HintWindowPlacement, FitsIntoTheWorkArea) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  const TRect area(work);
  TOwned<TcxBaseHintWindow> window(New<TcxBaseHintWindow>(nullptr));
  window->SetAbsolutePosition(true);
  struct TRow {
    const char* Name;
    TRect Given;
    TRect Expected;
  };
  const int w = 120;
  const int h = 40;
  const TRow rows[] = {
      {"inside", TRect(area.Left + 50, area.Top + 50, area.Left + 50 + w, area.Top + 50 + h),
       TRect(area.Left + 50, area.Top + 50, area.Left + 50 + w, area.Top + 50 + h)},
      {"past the right edge", TRect(area.Right - 30, area.Top + 50, area.Right - 30 + w, area.Top + 50 + h),
       TRect(area.Right - w, area.Top + 50, area.Right, area.Top + 50 + h)},
      {"past the bottom", TRect(area.Left + 50, area.Bottom - 10, area.Left + 50 + w, area.Bottom - 10 + h),
       TRect(area.Left + 50, area.Bottom - h, area.Left + 50 + w, area.Bottom)},
      {"before the left edge", TRect(area.Left - 20, area.Top + 50, area.Left - 20 + w, area.Top + 50 + h),
       TRect(area.Left, area.Top + 50, area.Left + w, area.Top + 50 + h)},
      {"above the top", TRect(area.Left + 50, area.Top - 15, area.Left + 50 + w, area.Top - 15 + h),
       TRect(area.Left + 50, area.Top, area.Left + 50 + w, area.Top + h)},
      {"wider than the area", TRect(area.Left + 10, area.Top + 5, area.Left + 10 + area.Width() + 100, area.Top + 5 + h),
       TRect(area.Left, area.Top + 5, area.Left + area.Width() + 100, area.Top + 5 + h)},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TRect r = row.Given;
    window->FitToWorkArea(r);
    EXPECT_EQ(r, row.Expected);
  }
  // The window itself lands where the fitted rectangle is.
  window->ActivateHint(rows[1].Given, L"fitted");
  RECT placed{};
  GetWindowRect(window->Handle(), &placed);
  EXPECT_EQ(TRect(placed), rows[1].Expected);
}

// ---------------------------------------------------------------------------
// Style controllers

class TWindowA : public TcxCustomHintWindow {
  SK_CLASS(TWindowA, TcxCustomHintWindow)
};
class TWindowB : public TcxCustomHintWindow {
  SK_CLASS(TWindowB, TcxCustomHintWindow)
};
class TStyleA : public TcxCustomHintStyle {
  SK_CLASS(TStyleA, TcxCustomHintStyle)
 public:
  TClass StyleHintWindowClass() override { return TWindowA::ClassInfo(); }
};
class TStyleB : public TcxCustomHintStyle {
  SK_CLASS(TStyleB, TcxCustomHintStyle)
 public:
  TClass StyleHintWindowClass() override { return TWindowB::ClassInfo(); }
};

class TShowHintSink : public TObject {
  SK_CLASS(TShowHintSink, TObject)
 public:
  int Calls = 0;
  String Caption = L"caption from the event";
  void ShowHint(String&, bool&, THintInfo&) { ++Calls; }
  void ShowHintEx(TObject*, String& ACaption, String&, bool&, THintInfo&) { ACaption = Caption; }
};

class TPlainChild : public TCustomControl {
  SK_CLASS(TPlainChild, TCustomControl)
};

TcxCustomHintStyleController* NewController(TComponent* AOwner, TClass AStyle) {
  TcxCustomHintStyleController* c = New<TcxCustomHintStyleController>(AOwner);
  c->SetHintStyleClass(AStyle);
  return c;
}

TEST(HintStyleControllers, SwitchAndRestoreTheHintWindowClass) {
  TOwned<TShowHintSink> sink(New<TShowHintSink>());
  Application()->SetOnShowHint(BindEvent<&TShowHintSink::ShowHint>(sink.get()));
  const TClass before = HintWindowClass();
  HintController()->SetHintedControl(nullptr);

  TOwned<TcxCustomHintStyleController> older(NewController(nullptr, TStyleA::ClassInfo()));
  EXPECT_EQ(HintWindowClass(), TWindowA::ClassInfo());
  EXPECT_NE(Application()->OnShowHint(), BindEvent<&TShowHintSink::ShowHint>(sink.get()));
  TOwned<TcxCustomHintStyleController> newer(NewController(nullptr, TStyleB::ClassInfo()));
  EXPECT_EQ(HintWindowClass(), TWindowB::ClassInfo());
  EXPECT_EQ(HintController()->GetHintWindowClass(), TWindowB::ClassInfo());

  // The application's own handler still runs behind the hook.
  String text = L"hint";
  bool canShow = true;
  THintInfo info;
  CallEvent(Application()->OnShowHint(), text, canShow, info);
  EXPECT_EQ(sink->Calls, 1);
  EXPECT_EQ(info.HintWindowClass, TWindowB::ClassInfo());

  newer.reset();
  EXPECT_EQ(HintWindowClass(), TWindowA::ClassInfo());
  older.reset();
  EXPECT_EQ(HintWindowClass(), before);
  EXPECT_EQ(Application()->OnShowHint(), BindEvent<&TShowHintSink::ShowHint>(sink.get()));
  Application()->SetOnShowHint(nullptr);
}

TEST(HintStyleControllers, AControllerOnAParentServesItsControls) {
  TForm* form = NewShownForm(TRect(100, 100, 300, 250));
  TOwned<TcxCustomHintStyleController> global(NewController(nullptr, TStyleA::ClassInfo()));
  TcxCustomHintStyleController* own = NewController(form, TStyleB::ClassInfo());
  own->SetGlobal(false);
  // The newest global one serves when the hinted control has none.
  TPlainChild* panel = New<TPlainChild>(form);
  panel->SetParent(form);
  HintController()->SetHintedControl(panel);
  EXPECT_EQ(HintController()->ActiveStyleController(), own);
  TOwned<TPlainChild> stray(New<TPlainChild>(nullptr));
  HintController()->SetHintedControl(stray.get());
  EXPECT_EQ(HintController()->ActiveStyleController(), global.get());
  stray.reset();
  EXPECT_EQ(HintController()->HintedControl(), nullptr);

  TOwned<TShowHintSink> sink(New<TShowHintSink>());
  own->SetOnShowHintEx(BindEvent<&TShowHintSink::ShowHintEx>(sink.get()));
  String text = L"hint";
  bool canShow = true;
  THintInfo info;
  own->ProcessApplicationHint(text, canShow, info);
  EXPECT_EQ(info.HintWindowClass, TWindowB::ClassInfo());
  ASSERT_NE(own->HintWindow(), nullptr);
  EXPECT_EQ(own->HintWindow()->Caption(), sink->Caption);
  HintController()->SetHintedControl(nullptr);
  form->Free();
}

// An inner control that lives on another form than its container.
class TDetachedInner : public TNoRefCount<TCustomControl>, public IcxContainerInnerControl {
  SK_CLASS(TDetachedInner, TCustomControl)
 public:
  TWinControl* Container = nullptr;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxContainerInnerControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TWinControl* GetControl() override { return this; }
  TWinControl* GetControlContainer() override { return Container; }
};

TEST(HintStyleControllers, AnInnerControlFallsBackOnItsContainersController) {
  TOwned<TForm> home(NewShownForm(TRect(100, 100, 300, 250)));
  TOwned<TForm> elsewhere(NewShownForm(TRect(320, 100, 520, 250)));
  TOwned<TcxCustomHintStyleController> global(NewController(nullptr, TStyleA::ClassInfo()));
  TcxCustomHintStyleController* homes = NewController(home.get(), TStyleB::ClassInfo());
  homes->SetGlobal(false);
  TPlainChild* container = New<TPlainChild>(home.get());
  container->SetParent(home.get());
  auto* inner = New<TDetachedInner>(elsewhere.get());
  inner->SetParent(elsewhere.get());
  const struct {
    const char* Name;
    TWinControl* Container;
    bool OwnFormHasOne;  // a controller on the form the inner control lives on
    TcxCustomHintStyleController* Expected;  // null: the own form's
  } rows[] = {
      {"no container: the global one", nullptr, false, global.get()},
      {"the container's parents serve", container, false, homes},
      {"its own parents come first", container, true, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    inner->Container = row.Container;
    TcxCustomHintStyleController* own = nullptr;
    if (row.OwnFormHasOne) {
      own = NewController(elsewhere.get(), TStyleA::ClassInfo());
      own->SetGlobal(false);
    }
    HintController()->SetHintedControl(inner);
    EXPECT_EQ(HintController()->ActiveStyleController(), row.Expected ? row.Expected : own);
    if (own) own->Free();
  }
  HintController()->SetHintedControl(nullptr);
}

TEST(HintStyleControllers, PausesGoToTheApplicationUnlessUpdating) {
  const int pause = Application()->HintPause();
  const int shortPause = Application()->HintShortPause();
  const int hidePause = Application()->HintHidePause();
  {
    TOwned<TcxCustomHintStyleController> c(NewController(nullptr, nullptr));
    c->SetHintPause(700);
    EXPECT_EQ(Application()->HintPause(), 700);
    EXPECT_EQ(Application()->HintHidePause(), 2500);
    EXPECT_EQ(Application()->HintShortPause(), 50);
    c->BeginUpdate();
    c->SetHintHidePause(1234);
    EXPECT_EQ(Application()->HintHidePause(), 2500);
    c->EndUpdate();
    EXPECT_EQ(Application()->HintHidePause(), 1234);

    // Assign copies pauses and the style class by its registered name.
    RegisterHintStyleClass(TStyleB::ClassInfo());
    TOwned<TcxCustomHintStyleController> source(NewController(nullptr, TStyleB::ClassInfo()));
    source->SetHintShortPause(77);
    c->Assign(source.get());
    EXPECT_EQ(c->HintStyleClass(), TStyleB::ClassInfo());
    EXPECT_EQ(c->HintShortPause(), 77);
    EXPECT_EQ(Application()->HintShortPause(), 77);
    UnregisterHintStyleClass(TStyleB::ClassInfo());
  }
  Application()->SetHintPause(pause);
  Application()->SetHintShortPause(shortPause);
  Application()->SetHintHidePause(hidePause);
}

}  // namespace
