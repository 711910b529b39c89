// Drop-downs through the custom popup window and its registry, as real
// windows driven by real input: a native drop-down list (CBS_DROPDOWNLIST)
// on the same form goes through the same script and is the reference for
// when a drop-down closes; Alt keys read back from the queue; the focus
// read with GetFocus; stacked popups; the modal loop; no window, hook or
// GDI object left after many openings.
#include "library/controls/container/cxContainer.h"

#include "library/core/system/dxHooks.h"
#include "platform/ui/Menus.h"
#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Asks the popup to focus it while it is being destroyed, as a handler
// running during teardown may.
class TFocusWhileGoingEdit : public TEdit {
  SK_CLASS(TFocusWhileGoingEdit, TEdit)
 public:
  TcxCustomPopupWindow* Popup = nullptr;
  bool Answer = true;
  bool BecameActive = false;
  void Destroy() override {
    Destroying();
    Answer = Popup->SetFocusedControl(this);
    BecameActive = Popup->ActiveControl() == this;
    inherited::Destroy();
  }
};

// Counts the events it is bound to.
struct TEventCounter : TObject {
  int Count = 0;
  void Fired(TObject*) { ++Count; }
};

// The owner: a press opens its popup unless that press just closed it, as a
// combo box's button does.
class TPopupTestOwner : public TCustomControl {
  SK_CLASS(TPopupTestOwner, TCustomControl)
 public:
  TcxCustomPopupWindow* Popup = nullptr;
  int Opens = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    inherited::MouseDown(Button, Shift, X, Y);
    if (!Popup || Popup->JustClosed()) return;
    ++Opens;
    Popup->Popup(nullptr);
  }
};

// A drop-down that keeps the click which closed it from the owner.
class TTestPopup : public TcxCustomPopupWindow {
  SK_CLASS(TTestPopup, TcxCustomPopupWindow)
 public:
  std::vector<String>* Log = nullptr;
  bool ConsumesClosingClick(HWND, UINT, const TPoint&, TShiftState) override { return true; }

 protected:
  void DoClosed() override {
    if (Log) Log->push_back(Name());
    inherited::DoClosed();
  }
};

// Counts the deactivating WM_NCACTIVATE messages that reach the form.
class TCaptionForm : public TForm {
  SK_CLASS(TCaptionForm, TForm)
 public:
  int Deactivations = 0;
  int ActivateNotices = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NCACTIVATE && !Message.WParam) ++Deactivations;
    if (Message.Msg == CM_ACTIVATE) ++ActivateNotices;
    inherited::WndProc(Message);
  }
};

class cxContainerPopupTest : public testing::Test {
 public:
  void SetUp() override {
    FWindows = ThreadWindowCount();
    FForm.reset(NewWith<TCaptionForm>([](TCaptionForm* f) { f->CreateNew(nullptr); }));
    FForm->SetBoundsRect(TRect(100, 100, 500, 400));
    FForm->Show();
    SetForegroundWindow(FForm->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == FForm->Handle(); }));
    FEdit = New<TEdit>(FForm.get());
    FEdit->SetBounds(200, 20, 120, 24);
    FEdit->SetParent(FForm.get());
    FOwner = NewOwner(TRect(20, 20, 170, 44));
    FNative = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 20, 200,
                              150, 200, FForm->Handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 5; ++i) SendMessageW(FNative, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(FNative, &info);
    FNativeList = info.hwndList;
    FEdit->SetFocus();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) SendMouseButtons(Mouse()->CursorPos(), MOUSEEVENTF_LEFTUP);
    if (FNative) DestroyWindow(FNative);
    FForm.reset();
    PumpPending();
    EXPECT_EQ(0, cxPopupVisibleController()->Count());
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }

  TPopupTestOwner* NewOwner(const TRect& ABounds) {
    auto* owner = New<TPopupTestOwner>(FForm.get());
    owner->SetBoundsRect(ABounds);
    owner->SetParent(FForm.get());
    owner->HandleNeeded();
    auto* popup = New<TTestPopup>(owner);
    popup->SetName(L"Popup" + IntToStr(FForm->ComponentCount()));
    popup->SetModalMode(false);
    popup->SetOwnerParent(FForm.get());
    popup->SetOwnerBounds(ABounds);
    popup->SetAdjustable(false);
    popup->SetBounds(0, 0, 150, 90);
    auto* child = New<TEdit>(popup);
    child->SetBounds(10, 10, 100, 24);
    child->SetParent(popup);
    owner->Popup = popup;
    return owner;
  }
  TcxCustomPopupWindow* Popup() const { return FOwner->Popup; }
  bool PopupShown() const { return Popup()->IsVisible() && IsWindowVisible(Popup()->Handle()); }
  bool NativeShown() const { return IsWindowVisible(FNativeList) != FALSE; }

  void Click(const TPoint& AScreen) {
    ASSERT_TRUE(MoveUntil(AScreen, [&] { return CursorIsAt(AScreen); }));
    SendMouseButtons(AScreen, MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(AScreen, MOUSEEVENTF_LEFTUP);
  }
  TPoint FormPoint(int X, int Y) const { return FForm->ClientToScreen(TPoint(X, Y)); }
  TPoint NativeCentre() const {
    RECT r{};
    GetWindowRect(FNative, &r);
    return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  TOwned<TCaptionForm> FForm;
  TEdit* FEdit = nullptr;
  TPopupTestOwner* FOwner = nullptr;
  HWND FNative = nullptr;
  HWND FNativeList = nullptr;
  TOtherProgramWindow FOther;
  int FWindows = 0;
};

// One script, two drop-downs: after each step the library's popup is shown
// exactly when the native list is. Where Wine's list differs from what a
// drop-down must do (it stays up when its form is hidden or another
// program takes the activation, measured), the step names what the popup
// does instead.
TEST_F(cxContainerPopupTest, ClosesAndStaysAsTheNativeDropDownListDoes) {
  struct TStep {
    const char* Name;
    std::function<void(cxContainerPopupTest&, bool)> Act;  // true: acting on the native box
    int PopupShownInstead = -1;                             // 0 or 1 where the native list is no reference
  };
  const TStep steps[] = {
      {"the mouse moves over the form",
       [](cxContainerPopupTest& t, bool) {
         const TPoint p = t.FormPoint(300, 150);
         MoveUntil(p, [&] { return CursorIsAt(p); });
       }},
      {"click on the form outside",
       [](cxContainerPopupTest& t, bool) { t.Click(t.FormPoint(300, 150)); }},
      {"activate a window of another process",
       [](cxContainerPopupTest& t, bool) {
         const HWND other = t.FOther.Window();
         ASSERT_TRUE(other);
         SetForegroundWindow(other);
         EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
         SetForegroundWindow(t.FForm->Handle());
       },
       0},
      {"hide the owner's form",
       [](cxContainerPopupTest& t, bool) {
         t.FForm->Hide();
         PumpPending();
         t.FForm->Show();
       },
       0},
      {"minimise the owner's form",
       [](cxContainerPopupTest& t, bool) {
         ShowWindow(t.FForm->Handle(), SW_MINIMIZE);
         PumpPending();
         ShowWindow(t.FForm->Handle(), SW_RESTORE);
         SetForegroundWindow(t.FForm->Handle());
       }},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    SendMessageW(FNative, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(PumpUntil([&] { return NativeShown(); }));
    step.Act(*this, true);
    PumpUntil([&] { return false; }, 300);
    const bool nativeShown = NativeShown();
    SendMessageW(FNative, CB_SHOWDROPDOWN, FALSE, 0);

    SetForegroundWindow(FForm->Handle());
    PumpUntil([&] { return GetForegroundWindow() == FForm->Handle(); });
    Popup()->Popup(nullptr);
    ASSERT_TRUE(PopupShown());
    step.Act(*this, false);
    PumpUntil([&] { return false; }, 300);
    EXPECT_EQ(step.PopupShownInstead < 0 ? nativeShown : step.PopupShownInstead == 1, PopupShown());
    Popup()->CloseUp();
  }
}

// A click on the owner while its drop-down is open closes it, and the same
// click does not open it again; the next click does.
TEST_F(cxContainerPopupTest, AClickOnTheOwnerClosesWithoutReopening) {
  const TPoint owner = FOwner->ClientToScreen(TPoint(30, 10));
  Click(owner);
  ASSERT_TRUE(PumpUntil([&] { return PopupShown(); }));
  EXPECT_EQ(1, FOwner->Opens);
  Click(owner);
  ASSERT_TRUE(PumpUntil([&] { return !PopupShown(); }));
  PumpUntil([&] { return false; }, 200);
  EXPECT_FALSE(PopupShown());
  EXPECT_EQ(1, FOwner->Opens);
  Click(owner);
  EXPECT_TRUE(PumpUntil([&] { return PopupShown(); }));
  EXPECT_EQ(2, FOwner->Opens);
  Popup()->CloseUp();

  // The native box does the same with the same clicks.
  Click(NativeCentre());
  ASSERT_TRUE(PumpUntil([&] { return NativeShown(); }));
  Click(NativeCentre());
  ASSERT_TRUE(PumpUntil([&] { return !NativeShown(); }));
  PumpUntil([&] { return false; }, 200);
  EXPECT_FALSE(NativeShown());
}

// The focus goes into the popup and back to the control that had it; the
// owner form's caption stays active while the popup is open.
TEST_F(cxContainerPopupTest, TakesTheFocusAndGivesItBack) {
  ASSERT_EQ(FEdit->Handle(), GetFocus());
  FForm->Deactivations = 0;
  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  auto* child = dynamic_cast<TWinControl*>(Popup()->Controls(0));
  ASSERT_TRUE(child);
  EXPECT_EQ(child->Handle(), GetFocus());
  EXPECT_TRUE(Popup()->Focused());
  EXPECT_EQ(0, FForm->Deactivations) << "the owner form's caption went inactive";
  Popup()->CloseUp();
  EXPECT_EQ(FEdit->Handle(), GetFocus());
  EXPECT_FALSE(Popup()->Focused());
}

// A popup that does not capture the focus leaves it and stands top-most.
TEST_F(cxContainerPopupTest, WithoutCaptureFocusLeavesTheFocusAndStaysOnTop) {
  Popup()->SetCaptureFocus(false);
  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  EXPECT_EQ(FEdit->Handle(), GetFocus());
  EXPECT_TRUE(GetWindowLongPtrW(Popup()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // A click on the owner form closes it, as a click outside a drop-down does.
  Click(FormPoint(300, 150));
  EXPECT_TRUE(PumpUntil([&] { return !PopupShown(); }));
}

// Alt keys while a drop-down is open: what leaves the queue as
// WM_SYSKEYDOWN, read by a plain message loop.
TEST_F(cxContainerPopupTest, FiltersAltKeysExceptTheAcceptedOnes) {
  const auto pressed = [](WORD AKey) {
    PumpPending();
    SendKey(VK_MENU, false);
    SendKey(AKey, false);
    SendKey(AKey, true);
    SendKey(VK_MENU, true);
    std::vector<WPARAM> seen;
    bool released = false;
    PumpUntilWith(
        [&] {
          MSG msg{};
          while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return false;
            if (msg.message == WM_SYSKEYDOWN) seen.push_back(msg.wParam);
            if (msg.message == WM_KEYUP && msg.wParam == VK_MENU) released = true;
            if (msg.message == WM_SYSKEYUP && msg.wParam == VK_MENU) released = true;
            // Dispatched without translation: no menu loop starts.
            if (msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSKEYUP && msg.message != WM_SYSCHAR)
              DispatchMessageW(&msg);
          }
          return true;
        },
        [&] { return released; }, 2000, 50);
    return std::find(seen.begin(), seen.end(), AKey) != seen.end();
  };
  struct TCase {
    const char* Name;
    bool Open;
    bool Modal;
    WORD Key;
    bool Passes;
  } cases[] = {
      {"no drop-down: Alt+X", false, false, 'X', true},
      {"open: Alt+X dropped", true, false, 'X', false},
      {"open: Alt+Down passes", true, false, VK_DOWN, true},
      {"open: Alt+Page Up passes", true, false, VK_PRIOR, true},
      {"open: Alt+Home passes", true, false, VK_HOME, true},
      {"open: Alt+F4 passes", true, false, VK_F4, true},
      {"open: Alt+F5 dropped", true, false, VK_F5, false},
      {"open: Alt+Space dropped", true, false, VK_SPACE, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Open) {
      Popup()->Popup(nullptr);
      ASSERT_TRUE(PopupShown());
    }
    EXPECT_EQ(c.Passes, pressed(c.Key));
    Popup()->CloseUp();
  }
}

// Hiding the owner's form closes its popups, the newest first.
TEST_F(cxContainerPopupTest, StackedPopupsCloseNewestFirst) {
  std::vector<String> closed;
  TPopupTestOwner* second = NewOwner(TRect(20, 60, 170, 84));
  TPopupTestOwner* third = NewOwner(TRect(20, 100, 170, 124));
  for (TPopupTestOwner* owner : {FOwner, second, third}) {
    static_cast<TTestPopup*>(owner->Popup)->Log = &closed;
    owner->Popup->SetCaptureFocus(false);
    owner->Popup->Popup(nullptr);
  }
  ASSERT_EQ(3, cxPopupVisibleController()->Count());
  EXPECT_EQ(third->Popup, cxPopupVisibleController()->GetItems(2));
  FForm->Hide();
  EXPECT_EQ(0, cxPopupVisibleController()->Count());
  EXPECT_EQ((std::vector<String>{third->Popup->Name(), second->Popup->Name(), FOwner->Popup->Name()}), closed);
}

// A drop-down opens at the DPI of the form its owner sits on, whether the
// user can size it or not.
TEST_F(cxContainerPopupTest, OpensAtTheDpiOfItsOwnersForm) {
  TOwned<TdxCustomForm> host(NewWith<TdxCustomForm>([](TdxCustomForm* f) { f->CreateNew(nullptr); }));
  host->SetBoundsRect(TRect(520, 100, 820, 400));
  host->Show();
  host->ScaleForPPI(144);
  ASSERT_EQ(144, host->ScaleFactor()->Apply(96));
  for (const bool adjustable : {false, true}) {
    SCOPED_TRACE(adjustable ? "adjustable" : "fixed");
    auto* owner = New<TPopupTestOwner>(host.get());
    owner->SetBoundsRect(TRect(10, 10, 160, 34));
    owner->SetParent(host.get());
    owner->HandleNeeded();
    auto* popup = New<TTestPopup>(owner);
    popup->SetModalMode(false);
    popup->SetOwnerParent(host.get());
    popup->SetOwnerBounds(owner->BoundsRect());
    popup->SetAdjustable(adjustable);
    popup->SetBounds(0, 0, 150, 90);
    auto* child = New<TEdit>(popup);
    child->SetBounds(10, 10, 100, 24);
    child->SetParent(popup);

    popup->Popup(nullptr);
    ASSERT_TRUE(popup->IsVisible());
    EXPECT_EQ(144, popup->PixelsPerInch());
    EXPECT_EQ(144, popup->ScaleFactor()->Apply(96));
    EXPECT_EQ(150, child->Width()) << "the children are laid out at 144 DPI";
    popup->CloseUp();
  }
}

// The modal loop returns once the popup closes, and leaves a quit request
// for the loop that runs the program.
TEST_F(cxContainerPopupTest, ModalLoopEndsOnCloseAndPassesQuitOn) {
  Popup()->SetModalMode(true);
  {
    TLoopScript script;
    script.Then([&] { return PopupShown(); }, [&] { Popup()->ClosePopup(); });
    Popup()->Popup(nullptr);
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_FALSE(PopupShown());
  {
    TLoopScript script;
    script.Then([&] { return PopupShown(); }, [] { PostQuitMessage(7); });
    Popup()->Popup(nullptr);
    EXPECT_TRUE(script.Finished());
  }
  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
  Popup()->CloseUp();
}

TEST_F(cxContainerPopupTest, LeavesNoWindowHookOrGdiObjectAfterManyOpenings) {
  const auto round = [&] {
    Popup()->Popup(nullptr);
    Popup()->CloseUp();
  };
  round();
  PumpPending();
  const int windows = ThreadWindowCount();
  const int gdi = GdiObjectCount();
  const int hooks = HookController()->Hooks(htMouse)->Count() + HookController()->Hooks(htWndProc)->Count() +
                    HookController()->Hooks(htGetMessage)->Count();
  for (int i = 0; i < 1000; ++i) round();
  PumpPending();
  EXPECT_EQ(windows, ThreadWindowCount());
  EXPECT_EQ(gdi, GdiObjectCount());
  EXPECT_EQ(hooks, HookController()->Hooks(htMouse)->Count() + HookController()->Hooks(htWndProc)->Count() +
                       HookController()->Hooks(htGetMessage)->Count());
  EXPECT_EQ(0, cxPopupVisibleController()->Count());
}

// A control being destroyed is not focused; otherwise the focus moves with
// the activation notice held back: a spy form, sent CM_ACTIVATE from the
// entered control's handler, does not see it until the move is over.
TEST_F(cxContainerPopupTest, FocusesItsControlsButNotOneBeingDestroyed) {
  auto* going = New<TFocusWhileGoingEdit>(Popup());
  going->Popup = Popup();
  going->SetBounds(10, 40, 100, 24);
  going->SetParent(Popup());
  auto* second = New<TEdit>(Popup());
  second->SetBounds(10, 70, 100, 24);
  second->SetParent(Popup());
  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  auto* first = dynamic_cast<TWinControl*>(Popup()->Controls(0));
  ASSERT_TRUE(first);
  ASSERT_EQ(first->Handle(), GetFocus());

  TOwned<TCaptionForm> spy(NewWith<TCaptionForm>([](TCaptionForm* f) { f->CreateNew(nullptr); }));
  spy->HandleNeeded();
  struct TNotifier : TObject {
    HWND Target = nullptr;
    void Entered(TObject*) { SendMessageW(Target, CM_ACTIVATE, 0, 0); }
  } notifier;
  notifier.Target = spy->Handle();
  second->SetOnEnter(BindEvent<&TNotifier::Entered>(&notifier));
  second->SetFocus();
  EXPECT_EQ(second->Handle(), GetFocus());
  EXPECT_EQ(second, Popup()->ActiveControl());
  EXPECT_EQ(0, spy->ActivateNotices) << "CM_ACTIVATE got through while the focus moved";
  SendMessageW(spy->Handle(), CM_ACTIVATE, 0, 0);
  EXPECT_EQ(1, spy->ActivateNotices) << "CM_ACTIVATE stays blocked after the move";
  second->SetOnEnter(nullptr);

  going->Free();
  EXPECT_FALSE(going->Answer);
  EXPECT_FALSE(going->BecameActive);
  EXPECT_EQ(second->Handle(), GetFocus());
  EXPECT_EQ(second, Popup()->ActiveControl());
  Popup()->CloseUp();
}

// Another program taking the activation closes a drop-down that left the
// focus where it was; its container owner refreshes its focus look then.
TEST_F(cxContainerPopupTest, SwitchingApplicationsRefreshesTheOwningContainer) {
  auto* box = New<TcxContainer>(FForm.get());
  box->SetBounds(20, 60, 150, 24);
  box->SetParent(FForm.get());
  box->HandleNeeded();
  auto* popup = New<TTestPopup>(box);
  popup->SetModalMode(false);
  popup->SetCaptureFocus(false);
  popup->SetOwnerParent(FForm.get());
  popup->SetOwnerBounds(TRect(20, 60, 170, 84));
  popup->SetAdjustable(false);
  popup->SetBounds(0, 0, 150, 90);
  popup->Popup(nullptr);
  ASSERT_TRUE(popup->IsVisible());
  TEventCounter changes;
  box->SetOnFocusChanged(BindEvent<&TEventCounter::Fired>(&changes));
  SendMessageW(FForm->Handle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(popup->IsVisible());
  EXPECT_EQ(1, changes.Count);
  // The focus stayed on the edit all along: the refresh came from the close.
  EXPECT_EQ(FEdit->Handle(), GetFocus());
  box->SetOnFocusChanged(nullptr);
}

// A shortcut typed in a drop-down's edit runs the owner form's menu item, as
// it would with the focus on the form itself.
TEST_F(cxContainerPopupTest, ShortcutsInADropDownReachTheOwnersForm) {
  auto* menu = New<TPopupMenu>(FForm.get());
  auto* item = New<TMenuItem>(FForm.get());
  item->SetShortCut(TextToShortCut(L"Ctrl+K"));
  TEventCounter clicks;
  item->SetOnClick(BindEvent<&TEventCounter::Fired>(&clicks));
  menu->Items()->Add(item);
  FForm->SetPopupMenu(menu);
  const auto typeCtrl = [](WORD AKey) {
    SendKey(VK_CONTROL, false);
    SendKey(AKey, false);
    SendKey(AKey, true);
    SendKey(VK_CONTROL, true);
  };
  const auto pump = [](const std::function<bool()>& APredicate) {
    return PumpUntilWith(
        [] {
          Application()->ProcessMessages();
          return true;
        },
        APredicate, 2000, 50);
  };

  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  auto* edit = dynamic_cast<TEdit*>(Popup()->Controls(0));
  ASSERT_TRUE(edit);
  ASSERT_EQ(edit->Handle(), GetFocus());
  typeCtrl('K');
  EXPECT_TRUE(pump([&] { return clicks.Count == 1; }));
  // A key the menu does not know stays with the edit.
  SendKey('Q', false);
  SendKey('Q', true);
  EXPECT_TRUE(pump([&] { return edit->Text() == String(L"q"); }));
  EXPECT_EQ(1, clicks.Count);
  Popup()->CloseUp();
  FForm->SetPopupMenu(nullptr);
}

// The popup window belongs to its owner's form through the form's popup
// parent; one that does not take the focus lives on the desktop.
TEST_F(cxContainerPopupTest, ACapturingPopupBelongsToItsOwnersForm) {
  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  EXPECT_EQ(FForm.get(), Popup()->PopupParent());
  EXPECT_EQ(FForm->Handle(), GetWindow(Popup()->Handle(), GW_OWNER));
  Popup()->CloseUp();
  Popup()->SetCaptureFocus(false);
  Popup()->Popup(nullptr);
  ASSERT_TRUE(PopupShown());
  EXPECT_EQ(nullptr, Popup()->PopupParent());
  EXPECT_EQ(GetDesktopWindow(), GetAncestor(Popup()->Handle(), GA_PARENT));
  Popup()->CloseUp();
}

// A drop-down is placed beside its owner and nowhere else: unlike a form, it
// is not moved onto the active form's monitor when it shows.
TEST_F(cxContainerPopupTest, APopupWindowStaysWhereItIsPut) {
  ASSERT_EQ(FForm.get(), Screen()->ActiveForm());
  const TRect offScreen(-6000, -5000, -6000 + 120, -5000 + 80);
  TOwned<TcxPopupWindow> popup(New<TcxPopupWindow>(nullptr));
  TOwned<TForm> form(New<TForm>(nullptr));
  for (TCustomForm* f : {static_cast<TCustomForm*>(popup.get()), static_cast<TCustomForm*>(form.get())}) {
    f->SetBoundsRect(offScreen);
    f->Show();
  }
  RECT r{};
  GetWindowRect(popup->Handle(), &r);
  EXPECT_EQ(offScreen, TRect(r));
  GetWindowRect(form->Handle(), &r);
  EXPECT_NE(offScreen, TRect(r)) << "the plain form moved onto a monitor";
}

// Alpha and colour key given before the window exists hold from the first
// showing on, and again after the window is made anew.
TEST_F(cxContainerPopupTest, ALayeredPopupIsLayeredFromItsFirstShowing) {
  Popup()->SetAlphaBlend(true);
  Popup()->SetAlphaBlendValue(170);
  Popup()->SetTransparentColor(true);
  Popup()->SetTransparentColorValue(clWindow);
  for (const bool capture : {true, false}) {
    SCOPED_TRACE(capture ? "capturing" : "not capturing");
    Popup()->SetCaptureFocus(capture);
    Popup()->Popup(nullptr);
    ASSERT_TRUE(PopupShown());
    const HWND wnd = Popup()->Handle();
    ASSERT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), key);
    EXPECT_EQ(170, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY), flags);
    Popup()->CloseUp();
  }
  Popup()->SetAlphaBlend(false);
  Popup()->SetTransparentColor(false);
  EXPECT_FALSE(GetWindowLongPtrW(Popup()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

// Counts the focus notices a library control hears.
class TFocusNoticeControl : public TcxControl {
  SK_CLASS(TFocusNoticeControl, TcxControl)
 public:
  int Enters = 0;
  int Exits = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_ENTER) ++Enters;
    if (Message.Msg == CM_EXIT) ++Exits;
    inherited::WndProc(Message);
  }
};

// A form placed in a window of another form that says so.
class TEmbeddedTestForm : public TNoRefCount<TForm>, public IdxEmbeddedForm {
  SK_CLASS(TEmbeddedTestForm, TForm)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxEmbeddedForm>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
};

// A host form with one library control, and inside its window a second form
// with two. Clicks move the focus between the forms, Tab inside the inner one.
TEST(cxContainerPopupFocus, MovingBetweenAFormAndOneEmbeddedInItNotifiesBothSides) {
  struct TCase {
    const char* Name;
    bool Answers;
  } const cases[] = {{"embedded form answering the interface", true}, {"plain embedded form", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TForm> host(New<TForm>(nullptr));
    host->SetBounds(100, 100, 460, 260);
    auto* outer = New<TFocusNoticeControl>(host.get());
    outer->SetBounds(20, 20, 120, 40);
    outer->SetParent(host.get());
    host->Show();
    SetForegroundWindow(host->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == host->Handle(); }));
    TOwned<TForm> inner(c.Answers ? New<TEmbeddedTestForm>(nullptr) : New<TForm>(nullptr));
    inner->SetBorderStyle(bsNone);
    inner->SetParentWindow(host->Handle());
    inner->SetBounds(200, 10, 200, 160);
    auto* first = New<TFocusNoticeControl>(inner.get());
    first->SetBounds(10, 10, 120, 40);
    first->SetParent(inner.get());
    auto* second = New<TFocusNoticeControl>(inner.get());
    second->SetBounds(10, 70, 120, 40);
    second->SetParent(inner.get());
    inner->Show();
    ASSERT_TRUE(IsChild(host->Handle(), inner->Handle()));

    const auto pump = [](const std::function<bool()>& APredicate) {
      return PumpUntilWith(
          [] {
            Application()->ProcessMessages();
            return true;
          },
          APredicate, 3000, 50);
    };
    const auto click = [&](TControl* AControl) {
      const TPoint p = AControl->ClientToScreen(TPoint(AControl->Width() / 2, AControl->Height() / 2));
      ASSERT_TRUE(MoveUntil(p, [&] { return CursorIsAt(p); }));
      SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
      SendMouseButtons(p, MOUSEEVENTF_LEFTUP);
      auto* target = static_cast<TWinControl*>(AControl);
      ASSERT_TRUE(pump([&] { return GetFocus() == target->Handle(); }));
    };
    // The first entry into each form is that form's own notice, heard once.
    click(outer);
    click(first);
    EXPECT_EQ(1, outer->Enters);
    EXPECT_EQ(1, first->Enters);
    for (TFocusNoticeControl* control : {outer, first, second}) control->Enters = control->Exits = 0;

    click(outer);
    click(first);
    SendKey(VK_TAB, false);
    SendKey(VK_TAB, true);
    ASSERT_TRUE(pump([&] { return GetFocus() == second->Handle(); }));

    // One notice per move across the forms with the interface, none without;
    // the move inside the inner form is that form's own, heard once either way.
    const int across = c.Answers ? 1 : 0;
    EXPECT_EQ(across, outer->Enters);
    EXPECT_EQ(across, outer->Exits);
    EXPECT_EQ(across, first->Enters);
    EXPECT_EQ(across + 1, first->Exits);
    EXPECT_EQ(1, second->Enters);
    EXPECT_EQ(0, second->Exits);
    inner.reset();
    host.reset();
    PumpPending();
  }
}

}  // namespace
