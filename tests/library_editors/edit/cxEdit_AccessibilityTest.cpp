// An editor's accessibility as a screen reader sees it (oleacc in this
// process as the client), and hot tracking over the border, the inner control
// and a press that holds the capture, driven by real input.
#include "library/editors/edit/cxEdit.h"

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The node a text field inside an editor would have: its role is chosen by the
// test, its place is its window's.
class TInnerNode : public TdxEditChildAccessibilityHelper {
  SK_CLASS(TInnerNode, TdxEditChildAccessibilityHelper)
 public:
  int Role = ROLE_SYSTEM_TEXT;
  TWinControl* Window() const { return static_cast<TWinControl*>(FOwnerObject); }
  TRect GetScreenBounds(int) override {
    RECT r{};
    GetWindowRect(Window()->Handle(), &r);
    return TRect(r.left, r.top, r.right, r.bottom);
  }

 protected:
  int GetRole(int) override { return Role; }
  int GetState(int) override {
    return STATE_SYSTEM_FOCUSABLE | (GetFocus() == Window()->Handle() ? STATE_SYSTEM_FOCUSED : 0);
  }
  int GetSupportedProperties(int) override { return aopFocus | aopLocation; }
};

// An editor whose inner control is a native EDIT with the node above.
class TAccessibleEdit : public TcxCustomEdit {
  SK_CLASS(TAccessibleEdit, TcxCustomEdit)
 public:
  void Destroy() override {
    NotifyAccessibilityHelperRemoved(FInnerNode);
    inherited::Destroy();
  }
  TInnerNode* AddInnerEdit() {
    Inner = New<TEdit>(this);
    Inner->SetParent(this);
    SetInnerControl(Inner);
    auto* node = New<TInnerNode>(static_cast<TObject*>(Inner));
    FInnerNode = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
    ShortRefreshContainer(false);
    return node;
  }
  IcxAccessibilityHelper* GetInnerEditAccessibilityHelper() override { return FInnerNode.Get(); }
  using TcxContainer::MouseTrackingActive;

 protected:
  // The stand-in inner control has no editing interface: placed here as the
  // real kinds place theirs.
  void PlaceInnerEdit() override {
    if (!Inner) return;
    const TRect r = ViewInfo()->InnerEditRect;
    Inner->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }

 public:

  TEdit* Inner = nullptr;

 private:
  TComPtr<IcxAccessibilityHelper> FInnerNode;
};

class TEvents : public TObject {
  SK_CLASS(TEvents, TObject)
 public:
  std::vector<int> Clicked;
  int Entered = 0;
  int Left = 0;
  int InnerEntered = 0;
  void ButtonClick(TObject*, int AIndex) { Clicked.push_back(AIndex); }
  void MouseEnter(TObject*) { ++Entered; }
  void MouseLeave(TObject*) { ++Left; }
  void InnerMouseEnter(TObject*) { ++InnerEntered; }
};

TRect WindowRect(HWND AWnd) {
  RECT r{};
  GetWindowRect(AWnd, &r);
  return TRect(r.left, r.top, r.right, r.bottom);
}

// A client rectangle of the window in screen coordinates, as Windows maps it.
TRect ClientRectOnScreen(HWND AWnd, const TRect& R) {
  POINT corners[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
  MapWindowPoints(AWnd, nullptr, corners, 2);
  return TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

TRect Location(IAccessible* ANode, int AChild = CHILDID_SELF) {
  long x = 0, y = 0, w = 0, h = 0;
  EXPECT_EQ(ANode->accLocation(&x, &y, &w, &h, AccessibleChild(AChild)), S_OK);
  return TRect(x, y, x + w, y + h);
}

long IntegerAnswer(IAccessible* ANode, HRESULT (STDMETHODCALLTYPE IAccessible::*AQuery)(VARIANT, VARIANT*)) {
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ((ANode->*AQuery)(AccessibleChild(CHILDID_SELF), &v), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  return v.lVal;
}
long Role(IAccessible* ANode) { return IntegerAnswer(ANode, &IAccessible::get_accRole); }
long State(IAccessible* ANode) { return IntegerAnswer(ANode, &IAccessible::get_accState); }

String Name(IAccessible* ANode, int AChild = CHILDID_SELF) {
  BSTR name = nullptr;
  const HRESULT r = ANode->get_accName(AccessibleChild(AChild), &name);
  EXPECT_TRUE(SUCCEEDED(r));
  return TakeBstr(name);
}

// What AccessibleChildren hands out, as IAccessible nodes (nil for a simple element).
std::vector<TComPtr<IAccessible>> Children(IAccessible* ANode) {
  long count = 0;
  EXPECT_EQ(ANode->get_accChildCount(&count), S_OK);
  std::vector<VARIANT> raw(static_cast<std::size_t>(count));
  long obtained = 0;
  if (count > 0) {
    EXPECT_EQ(AccessibleChildren(ANode, 0, count, raw.data(), &obtained), S_OK);
  }
  std::vector<TComPtr<IAccessible>> result;
  for (long i = 0; i < obtained; ++i) {
    TComPtr<IAccessible> child;
    if (raw[i].vt == VT_DISPATCH && raw[i].pdispVal)
      raw[i].pdispVal->QueryInterface(__uuidof(IAccessible), child.ReceiveVoid());
    VariantClear(&raw[i]);
    result.push_back(child);
  }
  return result;
}

// The state Windows reports for the window (focus, visibility), in MSAA
// flags, with the control's Enabled (the control framework keeps the window
// itself enabled): what the node must agree with.
long WindowState(TWinControl* AControl) {
  const HWND wnd = AControl->Handle();
  long result = STATE_SYSTEM_FOCUSABLE;
  if (!AControl->Enabled()) result |= STATE_SYSTEM_UNAVAILABLE;
  if (GetFocus() == wnd) result |= STATE_SYSTEM_FOCUSED;
  if (!IsWindowVisible(wnd)) result |= STATE_SYSTEM_INVISIBLE;
  return result;
}

struct AccessibilityFixture : testing::Test {
  TOwned<TForm> Form;
  TOwned<TEvents> Events{New<TEvents>()};
  TAccessibleEdit* Edit = nullptr;
  TButton* Other = nullptr;

  void SetUp() override {
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetBoundsRect(TRect(200, 150, 500, 350));
    Form->Show();
    SetForegroundWindow(Form->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == Form->Handle(); }));
    Other = New<TButton>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 100, 75, 25);
    Edit = New<TAccessibleEdit>(Form.get());
    Edit->SetAutoSize(false);
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 20, 160, 24);
    Edit->ActiveProperties()->SetOnButtonClick(BindEvent<&TEvents::ButtonClick>(Events.get()));
    PumpPending();
  }
  void TearDown() override { Form.reset(); }

  void AddButtons(int ACount) {
    for (int i = 0; i < ACount; ++i) Edit->ActiveProperties()->Buttons()->Add();
    PumpPending();
  }
  TComPtr<IAccessible> Client() {
    TComPtr<IAccessible> client = AccessibleClientOf(Edit->Handle());
    EXPECT_TRUE(client);
    return client;
  }
  void FocusEdit() {
    Edit->SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return Edit->Focused(); }));
  }
  void FocusOther() {
    Other->SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == Other->Handle(); }));
  }
  // The visible button's rectangle on the screen, from the paint record.
  TRect ButtonOnScreen(int AVisibleIndex) {
    return ClientRectOnScreen(Edit->Handle(), Edit->ViewInfo()->ButtonsInfo[AVisibleIndex]->Bounds);
  }
};

// ---------------------------------------------------------------------------
// The editor's own node

TEST_F(AccessibilityFixture, ClientNodeAnswersRoleNameValueAndPlaceAsWindowsSeesTheEditor) {
  Edit->SetText(L"Port");
  Edit->SetEditValue(Variant(9600));
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  EXPECT_EQ(Role(client.Get()), ROLE_SYSTEM_CLIENT);

  wchar_t text[32] = {};
  GetWindowTextW(Edit->Handle(), text, 32);
  EXPECT_EQ(Name(client.Get()), String(text));

  // The value is the edit value converted as automation converts a number.
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 9600;
  ASSERT_EQ(VariantChangeType(&number, &number, 0, VT_BSTR), S_OK);
  BSTR value = nullptr;
  ASSERT_EQ(client->get_accValue(AccessibleChild(CHILDID_SELF), &value), S_OK);
  EXPECT_EQ(TakeBstr(value), String(number.bstrVal, SysStringLen(number.bstrVal)));
  VariantClear(&number);

  Edit->SetEditValue(Variant::NullValue());
  ASSERT_EQ(client->get_accValue(AccessibleChild(CHILDID_SELF), &value), S_OK);
  EXPECT_EQ(TakeBstr(value), String());

  EXPECT_EQ(Location(client.Get()), WindowRect(Edit->Handle()));
  TComPtr<IOleWindow> window = client.As<IOleWindow>();
  ASSERT_TRUE(window);
  HWND answered = nullptr;
  EXPECT_EQ(window->GetWindow(&answered), S_OK);
  EXPECT_EQ(answered, Edit->Handle());
}

TEST_F(AccessibilityFixture, StateFollowsWhatWindowsReportsForTheEditor) {
  struct TRow {
    const char* Name;
    bool Enabled;
    bool Visible;
    bool Focused;
  };
  const TRow rows[] = {
      {"enabled", true, true, false},
      {"disabled", false, true, false},
      {"focused", true, true, true},
      {"hidden", true, false, false},
      {"disabled and hidden", false, false, false},
  };
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    FocusOther();
    Edit->SetEnabled(row.Enabled);
    Edit->SetVisible(row.Visible);
    if (row.Focused) FocusEdit();
    PumpPending();
    EXPECT_EQ(State(client.Get()), WindowState(Edit));
    EXPECT_EQ(State(client.Get()) & STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_FOCUSABLE);
  }
}

TEST_F(AccessibilityFixture, DisabledHiddenEditorIsUnavailableInvisibleAndHasNoPlaceOrWindow) {
  Edit->SetEnabled(false);
  Edit->SetVisible(false);
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  EXPECT_EQ(State(client.Get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(Location(client.Get()).IsEmpty());
  HWND answered = reinterpret_cast<HWND>(1);
  EXPECT_EQ(client.As<IOleWindow>()->GetWindow(&answered), S_OK);
  EXPECT_EQ(answered, nullptr);
}

TEST_F(AccessibilityFixture, EditorWithoutParentIsInvisible) {
  TOwned<TAccessibleEdit> orphan(New<TAccessibleEdit>(nullptr));
  TComPtr<IAccessible> node = TComPtr<IAccessible>(static_cast<IAccessible*>(orphan->GetAccessibilityHelper()->GetHelper()));
  EXPECT_EQ(State(node.Get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE);
  orphan.reset();
  // The owner is gone: the node answers nothing, and frees nothing twice.
  long count = 0;
  EXPECT_TRUE(FAILED(node->get_accChildCount(&count)));
}

// The inner text field reports the focus; an inner static text leaves it to
// the editor, as an editor without inner control does.
TEST_F(AccessibilityFixture, FocusIsReportedByTheInnerTextFieldOrElseByTheEditor) {
  struct TRow {
    const char* Name;
    bool HasInner;
    int InnerRole;
    bool EditorReportsFocus;
  };
  const TRow rows[] = {
      {"no inner control", false, 0, true},
      {"inner text field", true, ROLE_SYSTEM_TEXT, false},
      {"inner static text", true, ROLE_SYSTEM_STATICTEXT, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TearDown();
    SetUp();
    if (row.HasInner) Edit->AddInnerEdit()->Role = row.InnerRole;
    FocusEdit();
    TComPtr<IAccessible> client = Client();
    ASSERT_TRUE(client);
    EXPECT_EQ((State(client.Get()) & STATE_SYSTEM_FOCUSED) != 0, row.EditorReportsFocus);
  }
}

// ---------------------------------------------------------------------------
// Children

TEST_F(AccessibilityFixture, InnerNodeComesFirstThenOnePushButtonPerVisibleButton) {
  TInnerNode* inner = Edit->AddInnerEdit();
  AddButtons(2);
  Edit->ActiveProperties()->Buttons()->Items(0)->SetKind(bkText);
  Edit->ActiveProperties()->Buttons()->Items(0)->SetCaption(L"Go");
  Edit->ActiveProperties()->Buttons()->Items(1)->SetKind(bkEllipsis);
  PumpPending();
  ASSERT_EQ(Edit->ViewInfo()->ButtonsInfo.size(), 2u);

  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  const std::vector<TComPtr<IAccessible>> children = Children(client.Get());
  ASSERT_EQ(children.size(), 3u);
  ASSERT_TRUE(children[0] && children[1] && children[2]);

  EXPECT_EQ(children[0].Get(), static_cast<IAccessible*>(inner));
  EXPECT_EQ(Role(children[0].Get()), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Location(children[0].Get()), WindowRect(Edit->Inner->Handle()));

  const String names[] = {L"Go", L""};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    IAccessible* button = children[i + 1].Get();
    EXPECT_EQ(Role(button), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(State(button), STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(Name(button), names[i]);
    EXPECT_EQ(Location(button), ButtonOnScreen(i));
    BSTR action = nullptr;
    ASSERT_EQ(button->get_accDefaultAction(AccessibleChild(CHILDID_SELF), &action), S_OK);
    EXPECT_EQ(TakeBstr(action), String(L"Push"));
    // The button's parent is the editor's node.
    TComPtr<IDispatch> parent;
    ASSERT_EQ(button->get_accParent(parent.Receive()), S_OK);
    EXPECT_EQ(parent.As<IAccessible>().Get(), client.Get());
  }
}

TEST_F(AccessibilityFixture, HitTestFindsTheButtonTheInnerControlOrTheEditor) {
  Edit->AddInnerEdit();
  AddButtons(1);
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  const std::vector<TComPtr<IAccessible>> children = Children(client.Get());
  ASSERT_EQ(children.size(), 2u);

  const TRect button = ButtonOnScreen(0);
  const TRect inner = WindowRect(Edit->Inner->Handle());
  const TRect editor = WindowRect(Edit->Handle());
  struct TRow {
    const char* Name;
    TPoint P;
    IAccessible* Expected;  // nil: the editor itself
  };
  const TRow rows[] = {
      {"button", TPoint((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2), children[1].Get()},
      {"inner control", TPoint((inner.Left + inner.Right) / 2, (inner.Top + inner.Bottom) / 2), children[0].Get()},
      {"border", TPoint(editor.Left, editor.Top), nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(client->accHitTest(row.P.X, row.P.Y, &hit), S_OK);
    if (!row.Expected) {
      EXPECT_EQ(hit.vt, VT_I4);
      EXPECT_EQ(hit.lVal, CHILDID_SELF);
    } else {
      ASSERT_EQ(hit.vt, VT_DISPATCH);
      TComPtr<IAccessible> found;
      hit.pdispVal->QueryInterface(__uuidof(IAccessible), found.ReceiveVoid());
      EXPECT_EQ(found.Get(), row.Expected);
    }
    VariantClear(&hit);
  }
}

TEST_F(AccessibilityFixture, DefaultActionClicksTheButtonWithItsIndex) {
  AddButtons(3);
  Edit->ActiveProperties()->Buttons()->Items(1)->SetVisible(false);
  PumpPending();
  ASSERT_EQ(Edit->ViewInfo()->ButtonsInfo.size(), 2u);
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  const std::vector<TComPtr<IAccessible>> children = Children(client.Get());
  ASSERT_EQ(children.size(), 2u);
  // The second visible button is the collection's third.
  EXPECT_EQ(children[1]->accDoDefaultAction(AccessibleChild(CHILDID_SELF)), S_OK);
  EXPECT_EQ(children[0]->accDoDefaultAction(AccessibleChild(CHILDID_SELF)), S_OK);
  EXPECT_EQ(Events->Clicked, (std::vector<int>{Edit->ViewInfo()->ButtonsInfo[1]->ButtonIndex, 0}));
  EXPECT_EQ(Events->Clicked.front(), 2);
}

TEST_F(AccessibilityFixture, ChildObjectIdentifiersAnswerTheChildOrFallToTheDefault) {
  AddButtons(1);
  // A positive identifier names a child; beyond the children the window's
  // default answers (DefWindowProc gives 0).
  EXPECT_NE(SendMessageW(Edit->Handle(), WM_GETOBJECT, 0, 1), 0);
  EXPECT_EQ(SendMessageW(Edit->Handle(), WM_GETOBJECT, 0, 2), 0);
  TComPtr<IAccessible> viaMessage;
  ASSERT_EQ(AccessibleObjectFromWindow(Edit->Handle(), 1, __uuidof(IAccessible), viaMessage.ReceiveVoid()), S_OK);
  EXPECT_EQ(Role(viaMessage.Get()), ROLE_SYSTEM_PUSHBUTTON);
}

// A client holds a button's node; the focus leaves and the buttons, shown only
// while focused, are freed with their paint record entries. The held node and
// every way of asking for that child fail cleanly.
TEST_F(AccessibilityFixture, ButtonNodeHeldAfterTheButtonsWentAwayAnswersAsGone) {
  Edit->Style()->SetButtonTransparency(ebtHideInactive);
  AddButtons(1);
  FocusEdit();
  PumpPending();
  ASSERT_EQ(Edit->ViewInfo()->ButtonsInfo.size(), 1u);
  TComPtr<IAccessible> client = Client();
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 1);
  TComPtr<IDispatch> held;
  ASSERT_EQ(client->get_accChild(AccessibleChild(1), held.Receive()), S_OK);
  TComPtr<IAccessible> button = held.As<IAccessible>();
  ASSERT_TRUE(button);
  EXPECT_EQ(Name(button.Get()), String());

  FocusOther();
  PumpPending();
  ASSERT_TRUE(Edit->ViewInfo()->ButtonsInfo.empty());
  // Asked first, before anything lists the children again.
  EXPECT_EQ(SendMessageW(Edit->Handle(), WM_GETOBJECT, 0, 1), 0);

  BSTR name = nullptr;
  EXPECT_TRUE(FAILED(button->get_accName(AccessibleChild(CHILDID_SELF), &name)));
  EXPECT_EQ(name, nullptr);
  long x = 0, y = 0, w = 0, h = 0;
  EXPECT_TRUE(FAILED(button->accLocation(&x, &y, &w, &h, AccessibleChild(CHILDID_SELF))));
  EXPECT_TRUE(FAILED(button->accDoDefaultAction(AccessibleChild(CHILDID_SELF))));
  TComPtr<IDispatch> parent;
  EXPECT_TRUE(FAILED(button->get_accParent(parent.Receive())));
  EXPECT_TRUE(Events->Clicked.empty());

  // The editor, asked for child 1 by MSAA or by WM_GETOBJECT, no longer has it.
  TComPtr<IDispatch> again;
  EXPECT_EQ(client->get_accChild(AccessibleChild(1), again.Receive()), E_INVALIDARG);
  EXPECT_FALSE(again);
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 0);

  // Focused again: a new button and a new, live node.
  FocusEdit();
  PumpPending();
  ASSERT_EQ(client->get_accChild(AccessibleChild(1), again.Receive()), S_OK);
  TComPtr<IAccessible> fresh = again.As<IAccessible>();
  ASSERT_TRUE(fresh);
  EXPECT_NE(fresh.Get(), button.Get());
  EXPECT_EQ(fresh->accDoDefaultAction(AccessibleChild(CHILDID_SELF)), S_OK);
  EXPECT_EQ(Events->Clicked, std::vector<int>{0});
}

// ---------------------------------------------------------------------------
// Hot tracking with real input

struct TrackingFixture : AccessibilityFixture {
  void SetUp() override {
    AccessibilityFixture::SetUp();
    Edit->AddInnerEdit();
    Edit->SetOnMouseEnter(BindEvent<&TEvents::MouseEnter>(Events.get()));
    Edit->SetOnMouseLeave(BindEvent<&TEvents::MouseLeave>(Events.get()));
    Edit->Inner->SetOnMouseEnter(BindEvent<&TEvents::InnerMouseEnter>(Events.get()));
    SendMouseMove(Away());
    PumpPending();
  }
  void TearDown() override {
    SendMouseButtons(Away(), MOUSEEVENTF_LEFTUP);
    AccessibilityFixture::TearDown();
  }
  TPoint Away() const { return Form->ClientToScreen(TPoint(250, 170)); }
  TPoint OnBorder() const { return Edit->ClientToScreen(TPoint(0, Edit->Height() / 2)); }
  TPoint OnInner() const {
    const TRect r = WindowRect(Edit->Inner->Handle());
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  bool Hot() const { return Edit->ViewInfo()->ContainerState.Contains(csHotTrack); }
};

// Wine may take a move back to where the cursor came from (MoveUntil sends it
// again): counts are taken once the cursor has settled, and a jump out and
// back in is a real leave and enter, so only their balance is checked.
TEST_F(TrackingFixture, MovingFromTheBorderOntoTheInnerControlIsNoLeave) {
  const TRect inner = WindowRect(Edit->Inner->Handle());
  ASSERT_FALSE(inner.Contains(OnBorder()));
  ASSERT_TRUE(MoveUntil(OnBorder(), [this] { return Hot(); }));
  PumpPending();
  ASSERT_TRUE(Edit->MouseTrackingActive());
  const int entered = Events->Entered;
  const int left = Events->Left;
  ASSERT_EQ(entered, left + 1);

  ASSERT_TRUE(MoveUntil(OnInner(), [this] { return Events->InnerEntered >= 1; }));
  PumpPending();
  EXPECT_EQ(Events->Left, left);
  EXPECT_EQ(Events->Entered, entered);
  EXPECT_TRUE(Edit->MouseTrackingActive());

  // Leaving the editor is reported by the tracking, once per enter.
  ASSERT_TRUE(MoveUntil(Away(), [this, left] { return Events->Left > left && !Edit->MouseTrackingActive(); }));
  PumpPending();
  EXPECT_FALSE(Hot());
  EXPECT_EQ(Events->Entered, Events->Left);
}

TEST_F(TrackingFixture, PressBegunInsideKeepsTrackingWhileThePointerIsOutside) {
  ASSERT_TRUE(MoveUntil(OnBorder(), [this] { return Hot(); }));
  ASSERT_TRUE(SendMouseUntil(OnBorder(), MOUSEEVENTF_LEFTDOWN, [this] { return GetCapture() == Edit->Handle(); }));
  PumpPending();
  ASSERT_TRUE(Edit->MouseTrackingActive());
  const int left = Events->Left;
  SendMouseMove(Away());
  // Many ticks of the tracking timer pass with the pointer outside.
  PumpFor(200);
  EXPECT_EQ(GetCapture(), Edit->Handle());
  EXPECT_TRUE(Edit->MouseTrackingActive());
  EXPECT_EQ(Events->Left, left);

  // Released outside, the capture goes and so does the editor's hot state.
  ASSERT_TRUE(SendMouseUntil(Away(), MOUSEEVENTF_LEFTUP, [this] { return GetCapture() != Edit->Handle(); }));
  ASSERT_TRUE(PumpUntil([this, left] { return Events->Left == left + 1; }));
  EXPECT_FALSE(Hot());
  EXPECT_FALSE(Edit->MouseTrackingActive());
}

}  // namespace
