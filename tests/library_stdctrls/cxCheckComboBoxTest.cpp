// The check combo box: states, value and text kept in step, the item-count
// and index limits, toggling in the open list with the real mouse and keys,
// and the rows as check items to MSAA and UI Automation clients.
#include "library/stdctrls/cxCheckComboBox.h"

#include "library/stdctrls/cxExtEditConsts.h"
#include "platform/ui/Forms.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::string ChkStates(TcxCustomCheckComboBox* ABox) {
  std::string s;
  for (TcxCheckBoxState state : ABox->States()) s += static_cast<char>('0' + state);
  return s;
}

// Refuses toggling the items it lists.
class TChkToggleGate : public TComponent {
  SK_CLASS(TChkToggleGate, TComponent)
 public:
  std::vector<int> Refused;
  std::vector<int> Asked;
  int Changes = 0;
  void ClickCheck(TObject*, int AItemIndex, bool& AAllowToggle) {
    Asked.push_back(AItemIndex);
    if (std::find(Refused.begin(), Refused.end(), AItemIndex) != Refused.end()) AAllowToggle = false;
  }
  void Changed(TObject*) { ++Changes; }
  void ToStates(TObject*, const Variant&, TcxCheckStates&) {}
  void ToValue(TObject*, const TcxCheckStates&, Variant& AValue) { AValue = Variant(L"custom"); }
};

struct TCheckComboOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TChkToggleGate> Gate{New<TChkToggleGate>(nullptr)};
  TcxCheckComboBox* Box = nullptr;
  bool MovedPointer = false;

  void SetUp() override {
    Form->SetBounds(80, 80, 400, 320);
    Form->Show();
    Box = New<TcxCheckComboBox>(Form.get());
    Box->SetParent(Form.get());
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Box->SetBounds(10, 10, 160, 21);
    Box->Properties()->SetOnClickCheck(BindEvent<&TChkToggleGate::ClickCheck>(Gate.get()));
    Box->Properties()->SetOnChange(BindEvent<&TChkToggleGate::Changed>(Gate.get()));
    PumpPending();
  }
  void TearDown() override {
    if (Box && Box->DroppedDown()) Box->ClosePopup(crUnknown);
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
    PumpPending();
  }
  void AddItems(std::initializer_list<const wchar_t*> ANames) {
    for (const wchar_t* name : ANames) Box->Properties()->Items()->AddCheckItem(name);
  }
  void Open() {
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    ::SetFocus(Box->InnerControl()->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Box->InnerControl()->Handle(); }));
    Box->SetDroppedDown(true);
    ASSERT_TRUE(PumpUntil([&] { return Box->DroppedDown(); }));
    PumpFor(50);
  }
  TcxCustomEditListBox* List() { return Box->LookupData()->List(); }
  TPoint RowPoint(int ARow) {
    const TRect r = List()->ItemRect(ARow);
    MovedPointer = true;
    return List()->ClientToScreen(TPoint(r.Left + r.Width() / 2, (r.Top + r.Bottom) / 2));
  }
  void Press(int ARow) { SendMouseButtons(RowPoint(ARow), MOUSEEVENTF_LEFTDOWN); }
  void Release(int ARow) {
    SendMouseMove(RowPoint(ARow));
    SendMouseButtons(RowPoint(ARow), MOUSEEVENTF_LEFTUP);
    SettleInput();
  }
  void Key(WORD AKey) {
    SendKey(AKey, false);
    SendKey(AKey, true);
    SettleInput();
  }
};

// --- value, states and text -------------------------------------------------

struct TChkValueCase {
  const char* Name;
  TcxCheckStatesValueFormat Format;
  std::function<void(TcxCheckComboBox*)> Act;
  std::string States;
  const wchar_t* Text;
  std::function<bool(const Variant&)> ValueIs;
};

TEST_F(TCheckComboOnForm, ValueStatesAndTextFollowEachOther) {
  const TChkValueCase cases[] = {
      {"A and C checked", cvfInteger,
       [](TcxCheckComboBox* b) {
         b->SetItemState(0, cbsChecked);
         b->SetItemState(2, cbsChecked);
       },
       "101", L"A;C", [](const Variant& v) { return v.AsInteger() == 5; }},
      {"value 2 checks B only", cvfInteger, [](TcxCheckComboBox* b) { b->SetEditValue(Variant(2)); }, "010", L"B",
       [](const Variant& v) { return v.AsInteger() == 2; }},
      {"nothing checked", cvfInteger, [](TcxCheckComboBox*) {}, "000", L"None selected",
       [](const Variant& v) { return v.AsInteger() == 0; }},
      {"nothing checked, no empty text", cvfInteger,
       [](TcxCheckComboBox* b) { b->Properties()->SetShowEmptyText(false); }, "000", L"",
       [](const Variant& v) { return v.AsInteger() == 0; }},
      {"short description in the edit area", cvfInteger,
       [](TcxCheckComboBox* b) {
         b->Properties()->Items()->GetItems(1)->SetShortDescription(L"b");
         b->SetItemState(1, cbsChecked);
         b->SetItemState(2, cbsChecked);
       },
       "011", L"b;C", [](const Variant& v) { return v.AsInteger() == 6; }},
      {"grayed shows nothing", cvfStatesString, [](TcxCheckComboBox* b) { b->SetEditValue(Variant(L"210")); },
       "210", L"B", [](const Variant& v) { return VarToStr(v) == L"210"; }},
      {"grayed item set grayed again", cvfStatesString,
       [](TcxCheckComboBox* b) {
         b->SetEditValue(Variant(L"001"));
         b->SetItemState(0, cbsGrayed);
       },
       "001", L"C", [](const Variant& v) { return VarToStr(v) == L"001"; }},
      {"delimiter", cvfInteger,
       [](TcxCheckComboBox* b) {
         b->Properties()->SetDelimiter(L", ");
         b->SetEditValue(Variant(3));
       },
       "110", L"A, B", [](const Variant& v) { return v.AsInteger() == 3; }},
  };
  for (const TChkValueCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Box->Properties()->Items()->Clear();
    Box->Properties()->SetShowEmptyText(true);
    Box->Properties()->SetDelimiter(L";");
    Box->Properties()->SetEditValueFormat(c.Format);
    AddItems({L"A", L"B", L"C"});
    Box->SetEditValue(c.Format == cvfInteger ? Variant(0) : Variant(L""));
    c.Act(Box);
    PumpPending();
    EXPECT_EQ(ChkStates(Box), c.States);
    EXPECT_EQ(WindowText(Box->Handle()), c.Text);
    EXPECT_TRUE(c.ValueIs(Box->EditValue())) << VarToStr(Box->EditValue());
  }
  // The list shows the full descriptions.
  EXPECT_EQ(Box->ILookupData()->GetDisplayText(Variant(1)), L"B");
}

TEST_F(TCheckComboOnForm, ANewEditorHoldsZeroAndDoesNotStoreIt) {
  AddItems({L"A", L"B"});
  EXPECT_EQ(Box->EditValue().AsInteger(), 0);
  EXPECT_EQ(ChkStates(Box), "00");
  EXPECT_FALSE(IsStoredProp(Box, GetPropInfo(Box, L"EditValue")));
  Box->SetItemState(1, cbsChecked);
  EXPECT_TRUE(IsStoredProp(Box, GetPropInfo(Box, L"EditValue")));
  // An unchanged state raises no change event.
  const int changes = Gate->Changes;
  Box->SetItemState(1, cbsChecked);
  EXPECT_EQ(Gate->Changes, changes);
}

TEST_F(TCheckComboOnForm, DeletingAnItemKeepsTheOthersStates) {
  AddItems({L"A", L"B", L"C", L"D"});
  Box->SetItemState(0, cbsChecked);
  Box->SetItemState(3, cbsChecked);
  Box->Properties()->Items()->Delete(1);
  EXPECT_EQ(ChkStates(Box), "101");
  EXPECT_EQ(WindowText(Box->Handle()), L"A;D");
  EXPECT_EQ(Box->EditValue().AsInteger(), 5) << "the value follows the remaining items";
}

// --- limits -------------------------------------------------------------------

TEST_F(TCheckComboOnForm, MoreThan64ItemsAreRefusedWithTheIntegerFormat) {
  for (int i = 0; i < 64; ++i) Box->Properties()->Items()->AddCheckItem(IntToStr(i));
  const String message = LoadResString(&cxSCheckControlIncorrectItemCount);
  EXPECT_NE(message.find(L'\u00A0'), String::npos);
  try {
    Box->Properties()->Items()->AddCheckItem(L"65th");
    ADD_FAILURE() << "the 65th item was taken";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), message);
  }
  EXPECT_EQ(Box->Properties()->Items()->Count(), 64);
  EXPECT_EQ(Box->States().size(), 64u);

  // Another format takes more items; going back to integers is refused.
  Box->Properties()->SetEditValueFormat(cvfIndices);
  Box->Properties()->Items()->AddCheckItem(L"65th");
  EXPECT_THROW(Box->Properties()->SetEditValueFormat(cvfInteger), EdxException);
  EXPECT_EQ(Box->Properties()->EditValueFormat(), cvfIndices);
  Box->SetItemState(64, cbsChecked);
  const Variant withLast = Box->EditValue();
  Box->SetItemState(64, cbsUnchecked);
  Box->SetEditValue(withLast);
  EXPECT_EQ(Box->GetItemState(64), cbsChecked) << "the 65th item's state survives its value";

  // With both conversion events the stored format does not limit the items.
  TOwned<TcxCheckComboBoxProperties> custom{New<TcxCheckComboBoxProperties>(static_cast<TPersistent*>(nullptr))};
  custom->SetOnEditValueToStates(BindEvent<&TChkToggleGate::ToStates>(Gate.get()));
  custom->SetOnStatesToEditValue(BindEvent<&TChkToggleGate::ToValue>(Gate.get()));
  for (int i = 0; i < 70; ++i) custom->Items()->AddCheckItem(IntToStr(i));
  EXPECT_EQ(custom->Items()->Count(), 70);
  // Assigning the 70 to integer-format items is refused before anything changes.
  TOwned<TcxCheckComboBoxProperties> plain{New<TcxCheckComboBoxProperties>(static_cast<TPersistent*>(nullptr))};
  plain->Items()->AddCheckItem(L"kept");
  EXPECT_THROW(plain->Items()->Assign(custom->Items()), EdxException);
  ASSERT_EQ(plain->Items()->Count(), 1);
  EXPECT_EQ(plain->Items()->GetItems(0)->Description(), L"kept");
}

TEST_F(TCheckComboOnForm, ItemStatesOutsideTheItemsRaiseTheListIndexError) {
  AddItems({L"A", L"B"});
  for (int index : {-1, 2, 1000}) {
    SCOPED_TRACE(index);
    EXPECT_THROW(Box->GetItemState(index), EListError);
    EXPECT_THROW(Box->SetItemState(index, cbsChecked), EListError);
  }
  EXPECT_EQ(ChkStates(Box), "00");
}

// --- the open list with real input ---------------------------------------------

struct TChkListStep {
  const char* Name;
  std::function<void(TCheckComboOnForm&)> Input;
  std::string States;
  bool DroppedDown;
  int CurrentItem;  // -2: not checked
};

TEST_F(TCheckComboOnForm, TheOpenListTogglesByClickAndSpaceOnly) {
  AddItems({L"Alpha", L"Beta", L"Gamma", L"Delta"});
  Gate->Refused = {3};
  ASSERT_NO_FATAL_FAILURE(Open());
  const TChkListStep steps[] = {
      {"click on Beta", [](TCheckComboOnForm& t) { t.Press(1), t.Release(1); }, "0100", true, 1},
      {"press on Alpha, release on Gamma", [](TCheckComboOnForm& t) { t.Press(0), t.Release(2); }, "0100", true, 2},
      {"Space toggles the current row", [](TCheckComboOnForm& t) { t.Key(VK_SPACE); }, "0110", true, 2},
      {"refused by OnClickCheck", [](TCheckComboOnForm& t) { t.Press(3), t.Release(3); }, "0110", true, -2},
      {"click on Beta again", [](TCheckComboOnForm& t) { t.Press(1), t.Release(1); }, "0010", true, 1},
      {"Enter closes and keeps the toggles", [](TCheckComboOnForm& t) { t.Key(VK_RETURN); }, "0010", false, -2},
      {"Down with the list closed", [](TCheckComboOnForm& t) { t.Key(VK_DOWN); }, "0010", false, -2},
  };
  for (const TChkListStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Input(*this);
    PumpUntil([&] { return Box->DroppedDown() == step.DroppedDown; }, 2000);
    EXPECT_EQ(ChkStates(Box), step.States);
    EXPECT_EQ(Box->DroppedDown(), step.DroppedDown);
    if (step.CurrentItem != -2) {
      EXPECT_EQ(Box->ILookupData()->GetCurrentKey().AsInteger(), step.CurrentItem);
    }
  }
  EXPECT_EQ(Gate->Asked, (std::vector<int>{1, 2, 3, 1})) << "one question per toggle attempt";
  EXPECT_EQ(Box->EditValue().AsInteger(), 4);
  EXPECT_EQ(WindowText(Box->Handle()), L"Gamma");
  EXPECT_TRUE(Box->ModifiedAfterEnter());
}

// A disabled item toggles neither by click nor by Space; the hot mark
// follows the pointer and goes when it leaves the list; a fixed item height
// is the row height.
TEST_F(TCheckComboOnForm, DisabledRowsStayAndTheHotMarkFollowsThePointer) {
  AddItems({L"Alpha", L"Beta", L"Gamma"});
  Box->Properties()->Items()->GetItems(1)->SetEnabled(false);
  Box->Properties()->SetItemHeight(30);
  ASSERT_NO_FATAL_FAILURE(Open());
  auto* list = dynamic_cast<TcxCustomCheckComboBoxListBox*>(List());
  ASSERT_TRUE(list);
  EXPECT_EQ(list->ItemRect(0).Height(), 30);
  EXPECT_EQ(list->ItemRect(2).Top, 60);

  Press(1);
  Release(1);
  EXPECT_EQ(ChkStates(Box), "000");
  EXPECT_TRUE(Gate->Asked.empty()) << "a disabled row asks nobody";
  Box->ILookupData()->SetCurrentKey(Variant(1));
  Key(VK_SPACE);
  EXPECT_EQ(ChkStates(Box), "000");

  ASSERT_TRUE(MoveUntil(RowPoint(2), [&] { return list->HotCheckIndex() == 2; }));
  const TPoint outside = Form->ClientToScreen(TPoint(300, 250));
  EXPECT_TRUE(MoveUntil(outside, [&] { return list->HotCheckIndex() == -1; }))
      << "the hot mark stays after the pointer left";
  EXPECT_TRUE(Box->DroppedDown());
}

// --- accessibility ---------------------------------------------------------------

HWND GChkWatchedList = nullptr;
std::vector<LONG> GChkToggleChildren;

void CALLBACK ChkToggleEventProc(HWINEVENTHOOK, DWORD AEvent, HWND AWnd, LONG AObject, LONG AChild, DWORD, DWORD) {
  if (AEvent == 0x7586 && AWnd == GChkWatchedList && AObject == OBJID_CLIENT) GChkToggleChildren.push_back(AChild);
}

// With a filtered list, child n is row n - 1 and speaks for the item that
// row shows: name, checked state, the toggle provider and the WinEvent.
TEST_F(TCheckComboOnForm, RowsAreCheckItemsOfTheItemsTheyShow) {
  AddItems({L"Alpha", L"Beta", L"Gamma", L"Bravo"});
  Box->Properties()->SetIncrementalFiltering(true);
  Box->SetItemState(3, cbsChecked);
  ASSERT_NO_FATAL_FAILURE(Open());
  Box->LookupData()->ApplyFilter(L"b");
  Box->RepreparePopup();
  PumpFor(50);
  ASSERT_EQ(List()->Items()->Count(), 2);

  TComPtr<IAccessible> node = AccessibleClientOf(List()->Handle());
  ASSERT_TRUE(node);
  struct TChkRowCase {
    int Child;
    const wchar_t* Name;
    bool Checked;
  };
  for (const TChkRowCase& c : {TChkRowCase{1, L"Beta", false}, TChkRowCase{2, L"Bravo", true}}) {
    SCOPED_TRACE(c.Child);
    VARIANT role;
    ASSERT_EQ(node->get_accRole(AccessibleChild(c.Child), &role), S_OK);
    EXPECT_EQ(role.lVal, 34);
    TBstr name;
    ASSERT_EQ(node->get_accName(AccessibleChild(c.Child), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), c.Name);
    VARIANT state;
    ASSERT_EQ(node->get_accState(AccessibleChild(c.Child), &state), S_OK);
    EXPECT_EQ((state.lVal & STATE_SYSTEM_CHECKED) != 0, c.Checked);
  }

  // The toggle pattern of child 1 through the node's bridge, called in process.
  const TComPtr<IServiceProvider> services = node.As<IServiceProvider>();
  ASSERT_TRUE(services);
  TComPtr<IAccessibleEx> ex;
  ASSERT_EQ(services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), ex.ReceiveVoid()), S_OK);
  TComPtr<IAccessibleEx> row;
  ASSERT_EQ(ex->GetObjectForChild(1, row.Receive()), S_OK);
  const TComPtr<IRawElementProviderSimple> element = row.As<IRawElementProviderSimple>();
  ASSERT_TRUE(element);
  TComPtr<IUnknown> pattern;
  ASSERT_EQ(element->GetPatternProvider(10015, pattern.Receive()), S_OK);
  const TComPtr<IdxToggleProvider> toggle = pattern.As<IdxToggleProvider>();
  ASSERT_TRUE(toggle);
  int toggleState = -1;
  ASSERT_EQ(toggle->get_ToggleState(&toggleState), S_OK);
  EXPECT_EQ(toggleState, 0);
  ASSERT_EQ(toggle->Toggle(), S_OK);
  EXPECT_EQ(ChkStates(Box), "0101") << "Beta, not Alpha, was toggled";
  ASSERT_EQ(toggle->get_ToggleState(&toggleState), S_OK);
  EXPECT_EQ(toggleState, 1);
  EXPECT_TRUE(Gate->Asked.empty()) << "the provider asks no click-check handler";
  TComPtr<IUnknown> none;
  EXPECT_EQ(element->GetPatternProvider(UIA_ScrollItemPatternId, none.Receive()), S_FALSE);

  // A click on row 1 (Bravo) tells WinEvent clients of child 2.
  GChkWatchedList = List()->Handle();
  GChkToggleChildren.clear();
  const HWINEVENTHOOK hook =
      SetWinEventHook(0x7586, 0x7586, nullptr, ChkToggleEventProc, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Press(1);
  Release(1);
  PumpUntil([] { return !GChkToggleChildren.empty(); }, 2000);
  UnhookWinEvent(hook);
  EXPECT_EQ(ChkStates(Box), "0100");
  EXPECT_EQ(GChkToggleChildren, (std::vector<LONG>{2}));
  EXPECT_EQ(Gate->Asked, (std::vector<int>{3}));

  // The filtering list's search box must be gone before the form frees the
  // popup: the drop-down editor frees it twice otherwise.
  Box->ClosePopup(crUnknown);
  Box->Properties()->SetIncrementalFiltering(false);
  Box->SetDroppedDown(true);
  ASSERT_TRUE(PumpUntil([&] { return Box->DroppedDown(); }));
}

}  // namespace

namespace {

// The unit's start-up registered the kind under its description and its
// filter helper; a second start-up and shut-down pair leaves both in place.
TEST(CheckComboUnit, RegistersThePropertiesClassAndFilterHelperOnce) {
  const auto registered = [] {
    TcxRegisteredClasses* registry = GetRegisteredEditProperties();
    const TClass properties = TcxCheckComboBoxProperties::ClassInfo();
    return registry->GetDescriptionByClass(properties) + L"|" + registry->GetHintByClass(properties);
  };
  EXPECT_EQ(registered(), L"CheckComboBox|Represents a combo box with a dropdown check list");
  EXPECT_EQ(GetFilterEditsController()->FindHelper(TcxCheckComboBoxProperties::ClassInfo()),
            TcxFilterCheckComboBoxHelper::ClassInfo());
  cxCheckComboBoxInitialization();
  cxCheckComboBoxFinalization();
  EXPECT_EQ(registered(), L"CheckComboBox|Represents a combo box with a dropdown check list");
}

}  // namespace
