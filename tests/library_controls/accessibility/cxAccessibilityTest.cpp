#include "library/controls/accessibility/cxAccessibility.h"

#include "library/core/base/dxCore.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/AccessibilityClient.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

VARIANT Child(int AId) { return AccessibleChild(AId); }

VARIANT Self() { return Child(CHILDID_SELF); }

// Counts the scroll-item calls of the list below.
class TCountingScrollItem : public TdxScrollItemProvider {
 public:
  using TdxScrollItemProvider::TdxScrollItemProvider;
  int Calls = 0;

 protected:
  void DoScrollIntoView() override { ++Calls; }
};

// A list of three simple items laid out as rows of its window; the second
// is selected and focused. The rows are the reference for the locations.
class TListNode : public TcxAccessibilityHelper {
  SK_CLASS(TListNode, TcxAccessibilityHelper)
 public:
  HWND Window = nullptr;
  std::function<void()> OnName;
  TCountingScrollItem ScrollItem{this};

  static constexpr const wchar_t* Names[] = {L"Alpha", L"Beta", L"Gamma"};
  static constexpr int RowHeight = 10;

  TRect Row(int AIndex) {
    RECT r{};
    GetWindowRect(Window, &r);
    return TRect(r.left, r.top + AIndex * RowHeight, r.right, r.top + (AIndex + 1) * RowHeight);
  }

  int ChildCount() override { return 3; }
  bool ChildIsSimpleElement(int) override { return true; }
  String GetName(int AChildID) override {
    if (OnName) OnName();
    return AChildID == CHILDID_SELF ? L"List" : Names[AChildID - 1];
  }
  int GetRole(int AChildID) override { return AChildID == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; }
  int GetState(int AChildID) override {
    if (AChildID == 2) return STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    return AChildID == CHILDID_SELF ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_SELECTABLE;
  }
  int GetSupportedProperties(int) override { return aopLocation | aopFocus; }
  HWND OwnerObjectWindow() override { return Window; }
  TRect GetScreenBounds(int AChildID) override {
    if (AChildID != CHILDID_SELF) return Row(AChildID - 1);
    RECT r{};
    GetWindowRect(Window, &r);
    return TRect(r.left, r.top, r.right, r.bottom);
  }
  bool IsUIAutomationSupported() override { return true; }
  bool GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider, int AChildID) override {
    if (APatternID != UIA_ScrollItemPatternId || AChildID == CHILDID_SELF) return false;
    AProvider = TComPtr<IUnknown>(static_cast<IdxScrollItemProvider*>(&ScrollItem));
    return true;
  }
};

// A window that answers WM_GETOBJECT with its node, as controls do.
class TAccessibleWindow : public TCustomControl {
  SK_CLASS(TAccessibleWindow, TCustomControl)
 public:
  TComPtr<IcxAccessibilityHelper> Node;

  void Destroy() override {
    NotifyAccessibilityHelperRemoved(Node);
    inherited::Destroy();
  }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETOBJECT && Node && IsAccessibilitySupported() &&
        (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
      Message.Result = ReturnAccessibleObject(Message.WParam, Node->GetHelper());
      return;
    }
    inherited::WndProc(Message);
  }
};

struct Accessibility : testing::Test {
  TOwned<TForm> Form{NewShownForm(TRect(100, 100, 400, 300))};
  TAccessibleWindow* Window = nullptr;
  TListNode* Node = nullptr;
  TComPtr<IAccessible> Client;

  void SetUp() override {
    Window = New<TAccessibleWindow>(Form.get());
    Window->SetParent(Form.get());
    Window->SetBounds(10, 10, 120, 3 * TListNode::RowHeight);
    Node = New<TListNode>(Window);
    Node->Window = Window->Handle();
    Window->Node = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(Node));
    ASSERT_TRUE(IsAccessibilitySupported());
    ASSERT_EQ(AccessibleObjectFromWindow(Window->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         Client.ReceiveVoid()),
              S_OK);
    ASSERT_TRUE(Client);
  }
};

TEST_F(Accessibility, ClientReadsChildrenNamesRolesAndStates) {
  long count = 0;
  ASSERT_EQ(Client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  for (int id = 1; id <= 3; ++id) {
    SCOPED_TRACE(id);
    TBstr name;
    EXPECT_EQ(Client->get_accName(Child(id), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), TListNode::Names[id - 1]);
    VARIANT role;
    EXPECT_EQ(Client->get_accRole(Child(id), &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
    VARIANT state;
    EXPECT_EQ(Client->get_accState(Child(id), &state), S_OK);
    EXPECT_EQ((state.lVal & STATE_SYSTEM_SELECTED) != 0, id == 2);
    IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(Client->get_accChild(Child(id), &dispatch), S_FALSE);  // simple elements
    EXPECT_EQ(dispatch, nullptr);
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(Client->accLocation(&left, &top, &width, &height, Child(id)), S_OK);
    EXPECT_EQ(TRect(left, top, left + width, top + height), Node->Row(id - 1));
  }
  VARIANT role;
  EXPECT_EQ(Client->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
}

TEST_F(Accessibility, HitTestNavigationAndFocus) {
  const TRect row = Node->Row(2);
  VARIANT hit;
  ASSERT_EQ(Client->accHitTest(row.Left + 3, row.Top + 3, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 3);
  // Rectangles are half-open: the row's bottom edge is the next row.
  ASSERT_EQ(Client->accHitTest(row.Left, Node->Row(0).Bottom, &hit), S_OK);
  EXPECT_EQ(hit.lVal, 2);
  EXPECT_EQ(Client->accHitTest(row.Left - 1, row.Top, &hit), S_FALSE);

  struct TCase {
    long Direction;
    int Start;
    HRESULT Result;
    int End;
  };
  const TCase cases[] = {
      {NAVDIR_FIRSTCHILD, 0, S_OK, 1}, {NAVDIR_LASTCHILD, 0, S_OK, 3}, {NAVDIR_FIRSTCHILD, 1, E_INVALIDARG, 0},
      {NAVDIR_DOWN, 1, S_OK, 2},       {NAVDIR_DOWN, 3, S_FALSE, 0},   {NAVDIR_UP, 2, S_OK, 1},
      {NAVDIR_UP, 1, S_FALSE, 0},      {NAVDIR_NEXT, 1, S_FALSE, 0},   {NAVDIR_DOWN, 4, E_INVALIDARG, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Direction << " from " << c.Start);
    VARIANT end;
    EXPECT_EQ(Client->accNavigate(c.Direction, Child(c.Start), &end), c.Result);
    if (c.Result == S_OK) {
      EXPECT_EQ(end.lVal, c.End);
    }
  }
  VARIANT focus;
  ASSERT_EQ(Client->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(focus.lVal, 2);
}

TEST_F(Accessibility, BadChildIdentifiersAndExceptionsAnswerErrors) {
  TBstr name;
  for (int id : {4, -1, -2, INT_MIN}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Client->get_accName(Child(id), &name.Value), E_INVALIDARG);
    VARIANT state;
    EXPECT_EQ(Client->get_accState(Child(id), &state), E_INVALIDARG);
  }
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = nullptr;
  EXPECT_EQ(Client->get_accName(text, &name.Value), E_INVALIDARG);
  VARIANT small;
  VariantInit(&small);
  small.vt = VT_I2;
  small.iVal = 1;
  EXPECT_EQ(Client->get_accName(small, &name.Value), E_INVALIDARG);
  Node->OnName = [] { throw EdxException(L"broken"); };
  EXPECT_EQ(Client->get_accName(Child(1), &name.Value), E_FAIL);
}

TEST_F(Accessibility, FreedOwnerAnswersMemberNotFound) {
  const TComPtr<IAccessible> held = Client;
  Form.reset();
  TBstr name;
  EXPECT_EQ(held->get_accName(Self(), &name.Value), DISP_E_MEMBERNOTFOUND);
  long count = 0;
  EXPECT_EQ(held->get_accChildCount(&count), DISP_E_MEMBERNOTFOUND);
  VARIANT hit;
  EXPECT_EQ(held->accHitTest(0, 0, &hit), DISP_E_MEMBERNOTFOUND);
}

TEST_F(Accessibility, AutomationBridgeThroughQueryService) {
  const TComPtr<IServiceProvider> services = Client.As<IServiceProvider>();
  ASSERT_TRUE(services);
  TComPtr<IAccessibleEx> ex;
  ASSERT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), ex.ReceiveVoid()), S_OK);
  TComPtr<IAccessibleEx> item;
  ASSERT_EQ(ex->GetObjectForChild(2, item.Receive()), S_OK);
  ASSERT_TRUE(item);
  TComPtr<IAccessible> pairObject;
  long pairId = 0;
  ASSERT_EQ(item->GetIAccessiblePair(pairObject.Receive(), &pairId), S_OK);
  EXPECT_EQ(pairId, 2);
  const TComPtr<IRawElementProviderSimple> provider = item.As<IRawElementProviderSimple>();
  ASSERT_TRUE(provider);
  TComPtr<IUnknown> pattern;
  ASSERT_EQ(provider->GetPatternProvider(UIA_ScrollItemPatternId, pattern.Receive()), S_OK);
  const TComPtr<IdxScrollItemProvider> scrollItem = pattern.As<IdxScrollItemProvider>();
  ASSERT_TRUE(scrollItem);
  EXPECT_EQ(scrollItem->ScrollIntoView(), S_OK);
  EXPECT_EQ(Node->ScrollItem.Calls, 1);
  EXPECT_EQ(provider->GetPatternProvider(UIA_ExpandCollapsePatternId, pattern.Receive()), S_FALSE);

  SAFEARRAY* runtimeId = nullptr;
  ASSERT_EQ(ex->GetRuntimeId(&runtimeId), S_OK);
  LONG first = 0, second = -1, index = 0;
  SafeArrayGetElement(runtimeId, &index, &first);
  index = 1;
  SafeArrayGetElement(runtimeId, &index, &second);
  SafeArrayDestroy(runtimeId);
  EXPECT_EQ(first, 3);  // appended to by the host
  EXPECT_EQ(second, 0);
  const TComPtr<IRawElementProviderSimple> self = ex.As<IRawElementProviderSimple>();
  VARIANT content;
  ASSERT_EQ(self->GetPropertyValue(UIA_IsContentElementPropertyId, &content), S_OK);
  EXPECT_EQ(content.vt, VT_BOOL);
  // A freed owner leaves the bridge's pattern query without an answer.
  Form.reset();
  EXPECT_EQ(provider->GetPatternProvider(UIA_ScrollItemPatternId, pattern.Receive()), S_FALSE);
}

// ---------------------------------------------------------------------------
// The base answers of a node without children

class TCaptionNode : public TcxAccessibilityHelper {
  SK_CLASS(TCaptionNode, TcxAccessibilityHelper)
 public:
  String Caption;
  WORD ShortCut = 0;
  int GetSupportedProperties(int) override { return aopShortcut; }
  void GetKeyboardAccessParameters(int, WORD& AShortCut, String& ACaption) override {
    AShortCut = ShortCut;
    ACaption = Caption;
  }
};

TEST(AccessibilityBase, NodeWithoutChildrenAnswersTheDefaults) {
  const TComPtr<IAccessible> node(static_cast<IAccessible*>(New<TcxAccessibilityHelper>(nullptr)));
  long count = -1;
  EXPECT_EQ(node->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 0);
  TBstr text;
  EXPECT_EQ(node->get_accName(Self(), &text.Value), S_FALSE);
  VARIANT v;
  EXPECT_EQ(node->get_accRole(Self(), &v), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 0);
  EXPECT_EQ(node->get_accState(Self(), &v), S_OK);
  EXPECT_EQ(v.lVal, 0);
  long l, t, w, h;
  EXPECT_EQ(node->accLocation(&l, &t, &w, &h, Self()), S_FALSE);
  EXPECT_EQ(node->get_accDescription(Self(), &text.Value), S_FALSE);
  EXPECT_EQ(node->get_accValue(Self(), &text.Value), S_FALSE);
  EXPECT_EQ(node->get_accDefaultAction(Self(), &text.Value), S_FALSE);
  EXPECT_EQ(node->get_accKeyboardShortcut(Self(), &text.Value), S_FALSE);
  EXPECT_EQ(node->get_accFocus(&v), S_FALSE);
  EXPECT_EQ(node->accSelect(SELFLAG_TAKEFOCUS, Self()), S_FALSE);
  EXPECT_EQ(node->accDoDefaultAction(Self()), S_FALSE);
  EXPECT_EQ(node->accHitTest(0, 0, &v), DISP_E_MEMBERNOTFOUND);
  IDispatch* parent = nullptr;
  EXPECT_EQ(node->get_accParent(&parent), S_FALSE);
  EXPECT_EQ(node->get_accName(Child(1), &text.Value), E_INVALIDARG);
  EXPECT_EQ(node->put_accName(Self(), nullptr), E_NOTIMPL);
  const TComPtr<IRawElementProviderSimple> raw = node.As<IRawElementProviderSimple>();
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->GetPropertyValue(UIA_IsContentElementPropertyId, &v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  // Without automation support the service query has no bridge.
  const TComPtr<IServiceProvider> services = node.As<IServiceProvider>();
  TComPtr<IAccessibleEx> ex;
  EXPECT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), ex.ReceiveVoid()), E_NOINTERFACE);
  EXPECT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), nullptr), E_INVALIDARG);
}

class TWindowNode : public TcxAccessibilityHelper {
  SK_CLASS(TWindowNode, TcxAccessibilityHelper)
 public:
  HWND Window = nullptr;
  HWND OwnerObjectWindow() override { return Window; }
};

TEST(AccessibilityBase, ParentIsTheClientObjectOfTheParentWindow) {
  TOwned<TForm> form(NewShownForm(TRect(50, 50, 250, 200)));
  auto* control = New<TCustomControl>(form.get());
  control->SetParent(form.get());
  auto* node = New<TWindowNode>(nullptr);
  const TComPtr<IAccessible> held(static_cast<IAccessible*>(node));
  node->Window = control->Handle();
  IDispatch* parent = nullptr;
  ASSERT_EQ(held->get_accParent(&parent), S_OK);
  const TComPtr<IDispatch> owned = TComPtr<IDispatch>::Attach(parent);
  const TComPtr<IAccessible> parentObject = owned.As<IAccessible>();
  ASSERT_TRUE(parentObject);
  HWND window = nullptr;
  ASSERT_EQ(WindowFromAccessibleObject(parentObject.Get(), &window), S_OK);
  EXPECT_EQ(window, form->Handle());
}

TEST(AccessibilityBase, KeyboardShortcutFromTheCaptionHotKey) {
  struct TCase {
    const wchar_t* Caption;
    WORD ShortCut;
    const wchar_t* Expected;
  };
  const TCase cases[] = {
      {L"&Open", 0, L"Alt+O"}, {L"sa&ve", 0, L"Alt+V"}, {L"Fish && &chips", 0, L"Alt+C"}, {L"Plain", 0, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Caption);
    auto* node = New<TCaptionNode>(nullptr);
    const TComPtr<IAccessible> held(static_cast<IAccessible*>(node));
    node->Caption = c.Caption;
    node->ShortCut = c.ShortCut;
    TBstr text;
    EXPECT_EQ(held->get_accKeyboardShortcut(Self(), &text.Value), c.Expected ? S_OK : S_FALSE);
    EXPECT_EQ(text.Text(), c.Expected ? c.Expected : L"");
  }
}

// Three child nodes of which only the last is selectable.
class TParentNode : public TcxAccessibilityHelper {
  SK_CLASS(TParentNode, TcxAccessibilityHelper)
 public:
  class TItem : public TcxAccessibilityHelper {
    SK_CLASS(TItem, TcxAccessibilityHelper)
   public:
    bool CanSelect = false;
    bool Selectable() override { return CanSelect; }
  };
  TComPtr<IcxAccessibilityHelper> Items[3];
  void Create(TObject* AOwner) override {
    inherited::Create(AOwner);
    for (int i = 0; i < 3; ++i) {
      auto* item = New<TItem>(nullptr);
      item->CanSelect = i == 2;
      Items[i] = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(item));
    }
  }
  int ChildCount() override { return 3; }
  bool ChildIsSimpleElement(int) override { return false; }
  TcxAccessibilityHelper* GetChild(int AIndex) override { return Items[AIndex]->GetHelper(); }
};

TEST(AccessibilityBase, NextSelectableChild) {
  auto* node = New<TParentNode>(nullptr);
  const TComPtr<IAccessible> held(static_cast<IAccessible*>(node));
  EXPECT_EQ(node->GetNextSelectableChildIndex(-1, true), 2);
  EXPECT_EQ(node->GetNextSelectableChildIndex(2, true), -1);
  EXPECT_EQ(node->GetNextSelectableChildIndex(-1, false), 2);
  EXPECT_EQ(node->GetNextSelectableChildIndex(2, false), -1);
  EXPECT_THROW(node->GetNextSelectableChildIndex(3, true), EdxException);
  // A non-simple child comes back as its own object.
  IDispatch* child = nullptr;
  ASSERT_EQ(held->get_accChild(Child(2), &child), S_OK);
  EXPECT_EQ(child, static_cast<IDispatch*>(static_cast<IAccessible*>(node->Items[1]->GetHelper())));
  child->Release();
  EXPECT_EQ(node->GetChildIndex(node->Items[2]->GetHelper()), 2);
}

// The pattern providers' base answers, through their interfaces.
class TOnRange : public TdxRangeValueProvider {
 public:
  using TdxRangeValueProvider::TdxRangeValueProvider;
  double Stored = 0;

 protected:
  double GetMaximum() override { return 10; }
  double GetValue() override { return Stored; }
  void DoSetValue(double AValue) override { Stored = AValue; }
};

TEST(AccessibilityPatterns, BaseProvidersAnswerZeroAndOk) {
  auto* node = New<TcxAccessibilityHelper>(nullptr);
  const TComPtr<IAccessible> held(static_cast<IAccessible*>(node));
  TdxRangeValueProvider range(node);
  double number = -1;
  BOOL readOnly = 2;
  for (auto getter : {&IdxRangeValueProvider::get_Value, &IdxRangeValueProvider::get_Maximum,
                      &IdxRangeValueProvider::get_Minimum, &IdxRangeValueProvider::get_LargeChange,
                      &IdxRangeValueProvider::get_SmallChange}) {
    number = -1;
    EXPECT_EQ((static_cast<IdxRangeValueProvider&>(range).*getter)(&number), S_OK);
    EXPECT_EQ(number, 0.0);
  }
  EXPECT_EQ(range.get_IsReadOnly(&readOnly), S_OK);
  EXPECT_EQ(readOnly, 0);
  EXPECT_EQ(range.SetValue(3), S_OK);
  EXPECT_EQ(range.get_Value(nullptr), E_POINTER);

  TdxExpandCollapseProvider expand(node);
  int state = -1;
  EXPECT_EQ(expand.Expand(), S_OK);
  EXPECT_EQ(expand.Collapse(), S_OK);
  EXPECT_EQ(expand.get_ExpandCollapseState(&state), S_OK);
  EXPECT_EQ(state, 0);
  TdxToggleProvider toggle(node);
  state = -1;
  EXPECT_EQ(toggle.Toggle(), S_OK);
  EXPECT_EQ(toggle.get_ToggleState(&state), S_OK);
  EXPECT_EQ(state, 0);

  // A descendant's operations are what the interface answers.
  TOnRange custom(node);
  TComPtr<IdxRangeValueProvider> asked;
  ASSERT_EQ(custom.QueryInterface(__uuidof(IdxRangeValueProvider), asked.ReceiveVoid()), S_OK);
  EXPECT_EQ(asked->SetValue(7.5), S_OK);
  EXPECT_EQ(asked->get_Value(&number), S_OK);
  EXPECT_EQ(number, 7.5);
  EXPECT_EQ(asked->get_Maximum(&number), S_OK);
  EXPECT_EQ(number, 10.0);
  TComPtr<IdxToggleProvider> wrong;
  EXPECT_EQ(custom.QueryInterface(__uuidof(IdxToggleProvider), wrong.ReceiveVoid()), E_NOINTERFACE);
}

}  // namespace
