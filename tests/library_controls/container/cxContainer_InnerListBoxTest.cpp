#include "library/controls/container/cxContainer.h"
#include "library/controls/windows/cxDWMApi.h"

#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A container hosting an inner list box, as list boxes do.
class TListHost : public TcxContainer {
  SK_CLASS(TListHost, TcxContainer)
 public:
  TcxCustomInnerListBox* List = nullptr;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    List = New<TcxCustomInnerListBox>(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }
};

VARIANT Child(int AId) { return AccessibleChild(AId); }

struct InnerListBox : testing::Test {
  TOwned<TForm> Form{NewShownForm(TRect(150, 120, 450, 380))};
  TListHost* Host = nullptr;
  TcxCustomInnerListBox* List = nullptr;
  TButton* Next = nullptr;
  DWORD Now = 1000;

  void SetUp() override {
    Host = New<TListHost>(Form.get());
    Host->SetParent(Form.get());
    Host->SetBounds(10, 10, 160, 120);
    Host->SetTabOrder(0);
    Next = New<TButton>(Form.get());
    Next->SetParent(Form.get());
    Next->SetBounds(200, 10, 60, 24);
    Next->SetTabOrder(1);
    List = Host->List;
    List->SetTickCount([this] { return Now; });
    for (const wchar_t* item : {L"apple", L"apricot", L"banana", L"Blueberry", L"cherry"}) List->Items()->Add(item);
    Host->ShortRefreshContainer(false);
  }

  int Find(const wchar_t* APrefix) {
    return static_cast<int>(
        SendMessageW(List->Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(APrefix)));
  }
  void Type(wchar_t AChar, DWORD AAfter = 10) {
    Now += AAfter;
    SendMessageW(List->Handle(), WM_CHAR, AChar, 1);
  }
};

TEST_F(InnerListBox, SitsInTheContainersClientRectangle) {
  EXPECT_EQ(List->BoundsRect(), Host->ViewInfo()->ClientRect);
  EXPECT_EQ(GetWindowLongPtrW(List->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(GetWindowLongPtrW(List->Handle(), GWL_STYLE) & WS_BORDER, 0);
}

TEST_F(InnerListBox, TypingSelectsWhatTheListFindsForThePrefix) {
  struct TCase {
    const char* Name;
    wchar_t Key;
    DWORD After;
    const wchar_t* Prefix;  // nil: the first item
  };
  const TCase cases[] = {
      {"a", L'a', 1000, L"a"},          {"ap", L'p', 10, L"ap"},       {"apr", L'r', 10, L"apr"},
      {"Backspace", L'\b', 10, L"ap"},  {"delay resets", L'B', 1000, L"b"}, {"case ignored", L'L', 10, L"bl"},
      {"c after the delay", L'c', 600, L"c"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Type(c.Key, c.After);
    ASSERT_NE(Find(c.Prefix), LB_ERR);
    EXPECT_EQ(List->ItemIndex(), Find(c.Prefix));
  }
  // Backspace on an empty filter selects the first item.
  Type(L'\b', 1000);
  EXPECT_EQ(List->ItemIndex(), 0);
  List->Items()->Clear();
  Type(L'x', 1000);
  Type(L'\b', 1000);
  EXPECT_EQ(List->ItemIndex(), -1);
}

TEST_F(InnerListBox, TabInTheListMovesTheFocusThroughTheContainer) {
  List->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == List->Handle(); }));
  EXPECT_TRUE(Host->Focused());
  WORD key = VK_TAB;
  List->Perform(WM_KEYDOWN, key, 0);
  PumpPending();
  EXPECT_EQ(GetFocus(), Next->Handle());
  EXPECT_FALSE(Host->ViewInfo()->ContainerState.Contains(csActive));
}

TEST_F(InnerListBox, AWheelNotchScrollsAsOnAPlainListBox) {
  for (int i = 0; i < 40; ++i) List->Items()->Add(L"line " + IntToStr(i));
  const TRect r = List->BoundsRect();
  const HWND plain = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 10, 140,
                                     r.Width(), r.Height(), Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(List->Font()->Handle()), TRUE);
  for (int i = 0; i < List->Items()->Count(); ++i)
    SendMessageW(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(List->Items()->Strings(i).c_str()));
  for (int notch = 1; notch <= 3; ++notch) {
    SCOPED_TRACE(notch);
    for (HWND window : {List->Handle(), plain}) {
      POINT p{5, 5};
      ClientToScreen(window, &p);
      SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(List->TopIndex(), SendMessageW(plain, LB_GETTOPINDEX, 0, 0));
  }
  EXPECT_GT(List->TopIndex(), 0);
  DestroyWindow(plain);
}

TEST_F(InnerListBox, TheActiveInnerListStandsInTheContainersPlaceInTheTabOrder) {
  List->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == List->Handle() && Form->ActiveControl() == List; }));
  std::vector<TWinControl*> order;
  Form->GetTabOrderList(order);
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), List);
  EXPECT_EQ(std::count(order.begin(), order.end(), static_cast<TWinControl*>(Host)), 0);
  // A step back from the list leaves the container (the only other stop
  // is the button); a container in the order would take the focus and hand
  // it straight back to the list.
  EXPECT_EQ(Form->FindNextControl(List, false, true, false), Next);
  EXPECT_EQ(Form->FindNextControl(List, true, true, false), Next);
  // The container itself active: it keeps its place.
  Next->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return Form->ActiveControl() == Next; }));
  order.clear();
  Form->GetTabOrderList(order);
  EXPECT_EQ(order.front(), Host);
}

TEST_F(InnerListBox, AnInnerWindowBeyondTheContainerIsCutToItByARegion) {
  const int width = Host->Width();
  const int height = Host->Height();
  TOwned<TcxRegion> region(New<TcxRegion>());
  List->SetBounds(-3, -4, width + 10, height + 12);
  ASSERT_NE(GetWindowRgn(List->Handle(), region->Handle()), ERROR);
  // The container's client rectangle in the list's own coordinates.
  TOwned<TcxRegion> expected(New<TcxRegion>(TRect(3, 4, width + 3, height + 4)));
  EXPECT_TRUE(EqualRgn(region->Handle(), expected->Handle()));
  // Back inside (a refresh places it on the content again): no region.
  Host->ShortRefreshContainer(false);
  EXPECT_EQ(List->BoundsRect(), Host->ViewInfo()->ClientRect);
  EXPECT_EQ(GetWindowRgn(List->Handle(), region->Handle()), ERROR);
}

HRESULT WINAPI ComposedDesktop(BOOL* AEnabled) {
  *AEnabled = TRUE;
  return S_OK;
}
HRESULT WINAPI PlainDesktop(BOOL* AEnabled) {
  *AEnabled = FALSE;
  return S_OK;
}

// Counts what the inner window hears: the repaint request and paints into
// a device context that the message brings.
class TPaintSpy : public TObject {
  SK_CLASS(TPaintSpy, TObject)
 public:
  void Create(TWinControl* AControl) {
    inherited::Create();
    FControl = AControl;
    FOld = AControl->WindowProc();
    AControl->SetWindowProc(BindEvent<&TPaintSpy::Hook>(this));
  }
  void Destroy() override {
    FControl->SetWindowProc(FOld);
    inherited::Destroy();
  }
  int Requests = 0;
  int PaintsIntoADC = 0;

 private:
  void Hook(TMessage& Message) {
    if (Message.Msg == DXM_CONTAINERBUFFEREDPAINTONGLASS) ++Requests;
    if (Message.Msg == WM_PAINT && Message.WParam != 0) ++PaintsIntoADC;
    FOld(Message);
  }
  TWinControl* FControl;
  TWndMethod FOld;
};

TEST_F(InnerListBox, OnComposedGlassAColouredEditIsPaintedOnceMoreThroughItsOwnDC) {
  const TdxDwmApi original = dxDwmApi();
  const bool bound = IsDwmApiBound();
  TScopeExit restore([&] { dxSetDwmApi(original, bound); });
  const struct {
    const char* Name;
    bool OnGlass;
    bool Composed;
    int Repaints;
  } rows[] = {{"on glass, composed", true, true, 1},
              {"on glass, not composed", true, false, 0},
              {"not on glass", false, true, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TdxDwmApi api = original;
    api.DwmIsCompositionEnabled = row.Composed ? &ComposedDesktop : &PlainDesktop;
    dxSetDwmApi(api, true);
    Host->SetOnGlass(row.OnGlass);
    PumpPending();
    const TOwned<TPaintSpy> spy(New<TPaintSpy>(List));
    // Two colour requests of an inner edit in one paint, as its default
    // handling offers them to the container: one repaint after it.
    const HDC dc = GetDC(List->Handle());
    for (int i = 0; i < 2; ++i) {
      TMessage message{};
      message.Msg = CN_CTLCOLOREDIT;
      message.WParam = reinterpret_cast<WPARAM>(dc);
      message.LParam = reinterpret_cast<LPARAM>(List->Handle());
      Host->InnerControlDefaultHandler(message);
    }
    ReleaseDC(List->Handle(), dc);
    PumpPending();
    EXPECT_EQ(spy->Requests, row.Repaints);
    EXPECT_EQ(spy->PaintsIntoADC, row.Repaints);
  }
}

struct InnerListBoxAccessibility : InnerListBox {
  TComPtr<IAccessible> Client;
  void SetUp() override {
    InnerListBox::SetUp();
    List->SetItemIndex(2);
    ASSERT_EQ(AccessibleObjectFromWindow(List->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         Client.ReceiveVoid()),
              S_OK);
  }
};

TEST_F(InnerListBoxAccessibility, ItemsAgainstTheListsOwnData) {
  long count = 0;
  ASSERT_EQ(Client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, List->Items()->Count());
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    TBstr name;
    EXPECT_EQ(Client->get_accName(Child(i + 1), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), List->Items()->Strings(i));
    VARIANT role, state;
    Client->get_accRole(Child(i + 1), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
    Client->get_accState(Child(i + 1), &state);
    EXPECT_EQ(state.lVal, i == 2 ? 0x300006 : 0x300000);
    RECT item{};
    SendMessageW(List->Handle(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(List->Handle(), nullptr, reinterpret_cast<POINT*>(&item), 2);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(Client->accLocation(&left, &top, &width, &height, Child(i + 1)), S_OK);
    EXPECT_EQ(TRect(left, top, left + width, top + height), TRect(item.left, item.top, item.right, item.bottom));
    VARIANT hit;
    ASSERT_EQ(Client->accHitTest(item.left + 1, item.top + 1, &hit), S_OK);
    EXPECT_EQ(hit.lVal, i + 1);
  }
  VARIANT role;
  Client->get_accRole(Child(0), &role);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
  TBstr action;
  EXPECT_EQ(Client->get_accDefaultAction(Child(1), &action.Value), S_OK);
  EXPECT_EQ(action.Text(), L"Double click");
  VARIANT end;
  ASSERT_EQ(Client->accNavigate(NAVDIR_DOWN, Child(2), &end), S_OK);
  EXPECT_EQ(end.lVal, 3);
  EXPECT_EQ(Client->accNavigate(NAVDIR_LASTCHILD, Child(0), &end), S_OK);
  EXPECT_EQ(end.lVal, 5);
}

TEST_F(InnerListBoxAccessibility, ItemsOfferTheScrollItemPatternAndAFreedListFails) {
  const TComPtr<IServiceProvider> services = Client.As<IServiceProvider>();
  TComPtr<IAccessibleEx> ex;
  ASSERT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), ex.ReceiveVoid()), S_OK);
  TComPtr<IAccessibleEx> item;
  ASSERT_EQ(ex->GetObjectForChild(3, item.Receive()), S_OK);
  ASSERT_TRUE(item);
  TComPtr<IUnknown> pattern;
  EXPECT_EQ(item.As<IRawElementProviderSimple>()->GetPatternProvider(UIA_ScrollItemPatternId, pattern.Receive()), S_OK);
  EXPECT_TRUE(pattern.As<IdxScrollItemProvider>());
  Form.reset();
  TBstr name;
  EXPECT_EQ(Client->get_accName(Child(1), &name.Value), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
