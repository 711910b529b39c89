// The radio group: item values, the chosen item in step with the edit value
// and the inner buttons, loading, tab order and the themed glyph states.
#include "library/stdctrls/cxRadioGroup.h"

#include "library/core/data/cxVariants.h"
#include "platform/classes/FormReader.h"
#include "platform/ui/Forms.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <functional>
#include <initializer_list>

namespace {

class TRadioGroupClickLog : public TComponent {
  SK_CLASS(TRadioGroupClickLog, TComponent)
 public:
  void Clicked(TObject*) { ++Clicks; }
  void Changed(TObject*) { ++Changes; }
  int Clicks = 0;
  int Changes = 0;
};

// A group whose layout calculator the test may ask for.
class TExposedRadioGroup : public TcxRadioGroup {
  SK_CLASS(TExposedRadioGroup, TcxRadioGroup)
 public:
  using TcxCustomEdit::CreateEditViewData;
};

// Real keys reach the controls through the application's loop (dialog keys).
bool AppPumpUntilTrue(const std::function<bool()>& ACondition) {
  const ULONGLONG until = GetTickCount64() + 2000;
  while (GetTickCount64() < until) {
    Application()->ProcessMessages();
    if (ACondition()) return true;
    Sleep(5);
  }
  return ACondition();
}

struct TRadioGroupOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TRadioGroupClickLog> Log{New<TRadioGroupClickLog>(nullptr)};

  TExposedRadioGroup* NewGroup(std::initializer_list<const wchar_t*> ACaptions) {
    auto* group = New<TExposedRadioGroup>(Form.get());
    group->SetParent(Form.get());
    group->SetBounds(10, 10, 200, 120);
    group->Style()->LookAndFeel()->SetNativeStyle(false);
    for (const wchar_t* caption : ACaptions) group->Properties()->Items()->Add()->SetCaption(caption);
    group->SetOnClick(BindEvent<&TRadioGroupClickLog::Clicked>(Log.get()));
    group->Properties()->SetOnChange(BindEvent<&TRadioGroupClickLog::Changed>(Log.get()));
    return group;
  }
};

TEST_F(TRadioGroupOnForm, ItemsWithoutValuesStandForTheirCaptionOrTheirIndex) {
  TExposedRadioGroup* group = NewGroup({L"A", L"", L"C"});
  TcxCustomRadioGroupProperties* properties = group->Properties();
  EXPECT_TRUE(VariantsEqual(properties->GetItemValue(0), Variant(String(L"A"))));
  EXPECT_TRUE(VariantsEqual(properties->GetItemValue(1), Variant(1)));
  EXPECT_TRUE(VariantsEqual(properties->GetItemValue(2), Variant(String(L"C"))));
  struct TRow {
    const char* Name;
    Variant Value;
    int ItemIndex;
  };
  const TRow rows[] = {{"the caption", Variant(String(L"C")), 2},
                       {"the index of an empty caption", Variant(1), 1},
                       {"no item", Variant(String(L"B")), -1},
                       {"the caption's index is no value", Variant(0), -1}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    group->SetEditValue(row.Value);
    EXPECT_EQ(group->ItemIndex(), row.ItemIndex);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(group->Buttons(i)->Checked(), i == row.ItemIndex) << "button " << i;
  }
  properties->SetDefaultCaption(L"(none)");
  EXPECT_EQ(properties->GetDisplayText(Variant(String(L"B"))), L"(none)");
}

TEST_F(TRadioGroupOnForm, TwoItemsOfOneValueAlwaysNameTheFirst) {
  TExposedRadioGroup* group = NewGroup({L"first", L"other", L"second"});
  group->Properties()->Items()->GetItem(0)->SetValue(Variant(7));
  group->Properties()->Items()->GetItem(1)->SetValue(Variant(8));
  group->Properties()->Items()->GetItem(2)->SetValue(Variant(7));
  EXPECT_EQ(group->Properties()->GetRadioGroupItemIndex(Variant(7)), 0);
  EXPECT_EQ(group->Properties()->GetDisplayText(Variant(7)), L"first");
  group->SetItemIndex(2);
  EXPECT_TRUE(VariantsEqual(group->EditValue(), Variant(7)));
  EXPECT_EQ(group->ItemIndex(), 0) << "the value's item is the first";
  EXPECT_TRUE(group->Properties()->CompareDisplayValues(Variant(7), Variant(7)));
  EXPECT_FALSE(group->Properties()->CompareDisplayValues(Variant(7), Variant(8)));
}

TEST_F(TRadioGroupOnForm, ItemIndexIsClampedAndMinusOneMeansTheDefaultValue) {
  TExposedRadioGroup* group = NewGroup({L"A", L"B", L"C"});
  struct TRow {
    const char* Name;
    Variant DefaultValue;
    int Written;
    int Chosen;
    Variant EditValue;
  };
  const TRow rows[] = {
      {"past the end", Variant::NullValue(), 7, 2, Variant(String(L"C"))},
      {"the first", Variant::NullValue(), 0, 0, Variant(String(L"A"))},
      {"below -1, no default", Variant::NullValue(), -5, -1, Variant::NullValue()},
      {"below -1, the default of an item", Variant(String(L"B")), -5, 1, Variant(String(L"B"))},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    group->Properties()->SetDefaultValue(row.DefaultValue);
    group->SetItemIndex(1 - (row.Chosen == 1));  // away from the expected item first
    Log->Clicks = 0;
    group->SetItemIndex(row.Written);
    EXPECT_EQ(group->ItemIndex(), row.Chosen);
    EXPECT_TRUE(IsSameEditValue(group->EditValue(), row.EditValue));
    EXPECT_EQ(Log->Clicks, 1);
  }
  group->Clear();
  EXPECT_TRUE(IsSameEditValue(group->EditValue(), Variant(String(L"B"))));
}

TEST_F(TRadioGroupOnForm, ColumnsAreNotMoreThanTheItems) {
  Form->Show();
  TExposedRadioGroup* group = NewGroup({L"A", L"B"});
  group->Properties()->SetColumns(3);
  EXPECT_EQ(group->Properties()->GetColumnCount(), 2);
  EXPECT_GT(group->Buttons(1)->Left(), group->Buttons(0)->Left());
  EXPECT_EQ(group->Buttons(1)->Top(), group->Buttons(0)->Top());
}

TEST(RadioGroupLoading, TheStoredItemIndexIsChosenAfterLoading) {
  const TOwned<TcxRadioGroup> group(static_cast<TcxRadioGroup*>(ReadComponentFromText(
      L"object G: TcxRadioGroup\n"
      L"  Properties.Items = <\n"
      L"    item\n      Caption = 'Flash'\n    end\n"
      L"    item\n      Caption = 'EEprom'\n    end\n"
      L"    item\n      Caption = 'Fuses'\n    end>\n"
      L"  ItemIndex = 1\n"
      L"end")));
  ASSERT_NE(group.get(), nullptr);
  EXPECT_EQ(group->LoadedItemIndex(), 1);
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_TRUE(IsSameEditValue(group->EditValue(), Variant(String(L"EEprom"))));
}

TEST_F(TRadioGroupOnForm, TabReachesOnlyTheCheckedButton) {
  Form->SetBounds(100, 100, 320, 220);
  Form->Show();
  auto* before = New<TEdit>(Form.get());
  before->SetParent(Form.get());
  before->SetBounds(220, 10, 80, 21);
  before->SetTabOrder(0);
  TExposedRadioGroup* group = NewGroup({L"A", L"B", L"C"});
  group->SetTabOrder(1);
  auto* after = New<TEdit>(Form.get());
  after->SetParent(Form.get());
  after->SetBounds(220, 50, 80, 21);
  group->SetItemIndex(1);
  before->SetFocus();
  PumpPending();
  const auto tab = [](bool AShift, HWND AExpected) {
    if (AShift) SendKey(VK_SHIFT, false);
    SendKey(VK_TAB, false);
    SendKey(VK_TAB, true);
    if (AShift) SendKey(VK_SHIFT, true);
    AppPumpUntilTrue([&] { return GetFocus() == AExpected; });
    PumpFor(50);
    return GetFocus();
  };
  EXPECT_EQ(tab(false, group->Buttons(1)->Handle()), group->Buttons(1)->Handle());
  EXPECT_EQ(tab(false, after->Handle()), after->Handle());
  EXPECT_EQ(tab(true, group->Buttons(1)->Handle()), group->Buttons(1)->Handle());
  EXPECT_EQ(tab(true, before->Handle()), before->Handle());
  EXPECT_EQ(group->ItemIndex(), 1) << "tabbing through chose nothing else";
}

TEST_F(TRadioGroupOnForm, ArrowKeysChooseTheNextItemWithOneClick) {
  Form->SetBounds(100, 100, 320, 220);
  Form->Show();
  TExposedRadioGroup* group = NewGroup({L"A", L"B", L"C"});
  group->SetItemIndex(0);
  group->SetFocus();
  PumpPending();
  ASSERT_EQ(GetFocus(), group->Buttons(0)->Handle());
  Log->Clicks = 0;
  Log->Changes = 0;
  SendKey(VK_DOWN, false);
  SendKey(VK_DOWN, true);
  AppPumpUntilTrue([&] { return GetFocus() == group->Buttons(1)->Handle(); });
  PumpFor(50);
  EXPECT_EQ(GetFocus(), group->Buttons(1)->Handle());
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(IsSameEditValue(group->EditValue(), Variant(String(L"B"))));
  EXPECT_EQ(Log->Clicks, 1);
  EXPECT_EQ(Log->Changes, 1);
  EXPECT_TRUE(group->EditModified() || group->ModifiedAfterEnter());
}

TEST_F(TRadioGroupOnForm, TheThemedGlyphStateFollowsTheButtonStateAndTheChosenItem) {
  Form->Show();
  TExposedRadioGroup* group = NewGroup({L"A", L"B"});
  group->Style()->LookAndFeel()->SetNativeStyle(true);
  if (!group->IsButtonNativeStyle()) GTEST_SKIP() << "no visual styles";
  group->SetItemIndex(1);
  TOwned<TcxCustomEditViewData> created = group->CreateEditViewData();
  auto* data = dynamic_cast<TcxCustomRadioGroupViewData*>(created.get());
  ASSERT_NE(data, nullptr);
  auto* button = static_cast<TcxGroupBoxButtonViewInfo*>(group->ViewInfo()->ButtonsInfo.at(0).get());
  struct TRow {
    TcxEditButtonState State;
    bool Chosen;
    int NativeState;
  };
  const TRow rows[] = {{ebsNormal, false, 1}, {ebsSelected, false, 2}, {ebsPressed, false, 3},
                       {ebsDisabled, false, 4}, {ebsNormal, true, 5},   {ebsSelected, true, 6},
                       {ebsPressed, true, 7},   {ebsDisabled, true, 8}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.NativeState);
    button->Data.NativeStyle = true;
    button->Data.State = row.State;
    data->CalculateRadioPartAndState(button, row.Chosen ? button->ButtonIndex : button->ButtonIndex + 1);
    EXPECT_EQ(button->Data.NativePart, BP_RADIOBUTTON);
    EXPECT_EQ(button->Data.NativeState, row.NativeState);
  }
  // The group's own layout gives the chosen item its checked states.
  group->ShortRefreshContainer(false);
  auto* chosen = static_cast<TcxGroupBoxButtonViewInfo*>(group->ViewInfo()->ButtonsInfo.at(1).get());
  EXPECT_EQ(chosen->Data.NativeState, 5);
}

TEST(RadioGroupRegistration, StartUpListsTheKindWithItsDescription) {
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  const int index = registry->GetIndexByClass(TcxRadioGroupProperties::ClassInfo());
  ASSERT_GE(index, 0);
  EXPECT_EQ(registry->Descriptions(index), L"RadioGroup");
  EXPECT_EQ(registry->Hints(index), L"Represents a group of radio buttons");
  EXPECT_EQ(FindClass(L"TcxRadioGroup"), TcxRadioGroup::ClassInfo());
  EXPECT_EQ(FindClass(L"TcxRadioButton"), TcxRadioButton::ClassInfo());
}

}  // namespace
