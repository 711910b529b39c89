#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/editors/filter/cxFilterEditHelpers.h"
#include "library/editors/masks/cxMaskEdit.h"
#include "library/editors/spin/cxSpinEdit.h"
#include "library/editors/text/cxTextEdit.h"

#include "library/core/data/cxVariants.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

// Table rows print as their names.
template <class TRow>
  requires requires(const TRow& ARow) { ARow.Name; }
void PrintTo(const TRow& ARow, std::ostream* AStream) {
  *AStream << ARow.Name;
}

// ---------------------------------------------------------------------------
// Operators

TEST(FilterControlOperators, FortyOneValuesInTheirOrder) {
  EXPECT_EQ(fcoNone, 0);
  EXPECT_EQ(fcoEqual, 1);
  EXPECT_EQ(fcoEndsWith, 12);
  EXPECT_EQ(fcoNonBlanks, 14);
  EXPECT_EQ(fcoNotInList, 18);
  EXPECT_EQ(fcoYesterday, 19);
  EXPECT_EQ(fcoInPast, 29);
  EXPECT_EQ(fcoThisWeek, 30);
  EXPECT_EQ(fcoInFuture, 40);
}

struct TOperatorRow {
  const char* Name;
  TcxValueTypeClass ValueType;
  bool Extended;
  std::vector<TcxFilterControlOperator> Expected;
};

struct SupportedOperatorsTest : testing::TestWithParam<TOperatorRow> {};

TEST_P(SupportedOperatorsTest, BaseHelperAnswers) {
  const TOperatorRow& row = GetParam();
  TcxFilterControlOperators expected;
  for (const TcxFilterControlOperator op : row.Expected) expected.Include(op);
  const TcxFilterControlOperators actual = cxFilterEditHelper(TcxCustomFilterEditHelper::ClassInfo())
                                               ->GetSupportedFilterOperators(nullptr, row.ValueType, row.Extended);
  EXPECT_EQ(actual.ToBits(), expected.ToBits());
  EXPECT_EQ(actual.Count(), row.Expected.size());
}

const std::vector<TcxFilterControlOperator> Comparisons = {
    fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};

std::vector<TcxFilterControlOperator> With(std::vector<TcxFilterControlOperator> A,
                                           const std::vector<TcxFilterControlOperator>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

const std::vector<TcxFilterControlOperator> TextOnes = {fcoLike,        fcoNotLike,    fcoContains,
                                                       fcoNotContains, fcoBeginsWith, fcoEndsWith};
const std::vector<TcxFilterControlOperator> ExtendedOnes = {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};

INSTANTIATE_TEST_SUITE_P(
    Sets, SupportedOperatorsTest,
    testing::Values(TOperatorRow{"Numeric", TcxIntegerValueType::ClassInfo(), false, Comparisons},
                    TOperatorRow{"Float", TcxFloatValueType::ClassInfo(), false, Comparisons},
                    TOperatorRow{"String", TcxStringValueType::ClassInfo(), false, With(Comparisons, TextOnes)},
                    TOperatorRow{"WideString", TcxWideStringValueType::ClassInfo(), false,
                                 With(Comparisons, TextOnes)},
                    TOperatorRow{"StringExtended", TcxStringValueType::ClassInfo(), true,
                                 With(With(Comparisons, TextOnes), ExtendedOnes)},
                    TOperatorRow{"NumericExtended", TcxIntegerValueType::ClassInfo(), true,
                                 With(Comparisons, ExtendedOnes)},
                    TOperatorRow{"NoValueType", nullptr, false, Comparisons},
                    TOperatorRow{"NoValueTypeExtended", nullptr, true, With(Comparisons, ExtendedOnes)},
                    TOperatorRow{"DateTime", TcxDateTimeValueType::ClassInfo(), false, Comparisons}),
    [](const testing::TestParamInfo<TOperatorRow>& AInfo) { return std::string(AInfo.param.Name); });

struct TDataTypeRow {
  const char* Name;
  TcxValueTypeClass ValueType;
  TcxFilterDataType Expected;
};

struct FilterDataTypeTest : testing::TestWithParam<TDataTypeRow> {};

TEST_P(FilterDataTypeTest, BaseHelperAnswers) {
  EXPECT_EQ(cxFilterEditHelper(TcxCustomFilterEditHelper::ClassInfo())->GetFilterDataType(GetParam().ValueType),
            GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FilterDataTypeTest,
    testing::Values(TDataTypeRow{"None", nullptr, fdtText}, TDataTypeRow{"String", TcxStringValueType::ClassInfo(), fdtText},
                    TDataTypeRow{"Integer", TcxIntegerValueType::ClassInfo(), fdtNumeric},
                    TDataTypeRow{"Float", TcxFloatValueType::ClassInfo(), fdtNumeric},
                    TDataTypeRow{"Currency", TcxCurrencyValueType::ClassInfo(), fdtNumeric},
                    TDataTypeRow{"DateTime", TcxDateTimeValueType::ClassInfo(), fdtDate},
                    TDataTypeRow{"SQLTimeStamp", TcxSQLTimeStampValueType::ClassInfo(), fdtDate}),
    [](const testing::TestParamInfo<TDataTypeRow>& AInfo) { return std::string(AInfo.param.Name); });

TEST(FilterEditHelper, ValueValidityIsTheValueTypes) {
  const auto* helper = cxFilterEditHelper(TcxCustomFilterEditHelper::ClassInfo());
  Variant number(L"12");
  EXPECT_TRUE(helper->IsValueValid(TcxIntegerValueType::ClassInfo(), number));
  EXPECT_EQ(number.AsInteger(), 12) << "converted in place";
  Variant word(L"twelve");
  EXPECT_FALSE(helper->IsValueValid(TcxIntegerValueType::ClassInfo(), word));
  EXPECT_TRUE(helper->IsValueValid(TcxStringValueType::ClassInfo(), word));
}

// ---------------------------------------------------------------------------
// Helpers of editor kinds

// Properties that show a value as "shown <value>", or as nothing for Empty texts.
class TFilterTestProperties : public TcxCustomEditProperties {
  SK_CLASS(TFilterTestProperties, TcxCustomEditProperties)
 public:
  bool EmptyTexts = false;
  TClass GetContainerClass() override;
  String GetDisplayText(const Variant& AEditValue, bool, bool) override {
    return EmptyTexts ? String() : L"shown " + VarToStr(AEditValue);
  }
};

class TFilterTestEdit : public TcxCustomEdit {
  SK_CLASS(TFilterTestEdit, TcxCustomEdit)
 public:
  TClass GetPropertiesClass() override { return TFilterTestProperties::ClassInfo(); }
};

TClass TFilterTestProperties::GetContainerClass() { return TFilterTestEdit::ClassInfo(); }

class TDerivedTestProperties : public TFilterTestProperties {
  SK_CLASS(TDerivedTestProperties, TFilterTestProperties)
};
class TDeeperTestProperties : public TDerivedTestProperties {
  SK_CLASS(TDeeperTestProperties, TDerivedTestProperties)
};

// A kind's helper: its editor class, buttons kept, the provider dropped.
class TTestFilterHelper : public TcxCustomFilterEditHelper {
  SK_CLASS(TTestFilterHelper, TcxCustomFilterEditHelper)
 public:
  struct TMeta : TcxCustomFilterEditHelper::TMeta {
    TClass GetFilterEditClass() const override { return TFilterTestEdit::ClassInfo(); }
    bool EditPropertiesHasButtons() const override { return true; }
    bool KeepsDefaultValuesProvider(TcxCustomEditProperties*) const override { return false; }
  };
};

// The base rules with an editor class.
class TPlainFilterHelper : public TcxCustomFilterEditHelper {
  SK_CLASS(TPlainFilterHelper, TcxCustomFilterEditHelper)
 public:
  struct TMeta : TcxCustomFilterEditHelper::TMeta {
    TClass GetFilterEditClass() const override { return TFilterTestEdit::ClassInfo(); }
  };
};

TEST(FilterEditHelper, FilterValueFallsBackOnTheValuesTextWhenTheDisplayIsEmpty) {
  TOwned<TFilterTestEdit> edit(New<TFilterTestEdit>(static_cast<TComponent*>(nullptr)));
  edit->SetEditValue(Variant(42));
  auto* properties = static_cast<TFilterTestProperties*>(edit->InternalProperties());
  for (const bool empty : {false, true}) {
    SCOPED_TRACE(empty ? "empty display text" : "display text");
    properties->EmptyTexts = empty;
    Variant value;
    String text = L"old";
    cxFilterEditHelper(TcxCustomFilterEditHelper::ClassInfo())->GetFilterValue(edit.get(), properties, value, text);
    EXPECT_EQ(value.AsInteger(), 42);
    EXPECT_EQ(text, empty ? L"42" : L"shown 42");
  }
}

class TEventSink : public TObject {
  SK_CLASS(TEventSink, TObject)
 public:
  void Notify(TObject*) {}
  void Validate(TObject*, Variant&, String&, bool&) {}
  void ButtonClick(TObject*, int) {}
};

struct TInitRow {
  const char* Name;
  TClass Helper;
  int Buttons;
  bool KeepsProvider;
};

struct InitializePropertiesTest : testing::TestWithParam<TInitRow> {};

TEST_P(InitializePropertiesTest, MakesTheFilterEditorsCopy) {
  const TInitRow& row = GetParam();
  TOwned<TEventSink> sink(New<TEventSink>());
  TOwned<TcxCustomEditDefaultValuesProvider> provider(
      New<TcxCustomEditDefaultValuesProvider>(static_cast<TPersistent*>(nullptr)));
  TOwned<TFilterTestProperties> source(New<TFilterTestProperties>(static_cast<TPersistent*>(nullptr)));
  source->SetClickKey(static_cast<TShortCut>(scCtrl | 'K'));
  source->SetBeepOnError(true);
  source->SetValidateOnEnter(false);
  source->SetReadOnly(true);
  source->Buttons()->Add();
  source->Buttons()->Add();
  source->SetDefaultValuesProvider(provider.get());
  source->SetOnChange(BindEvent<&TEventSink::Notify>(sink.get()));
  source->SetOnEditValueChanged(BindEvent<&TEventSink::Notify>(sink.get()));
  source->SetOnValidate(BindEvent<&TEventSink::Validate>(sink.get()));
  source->SetOnButtonClick(BindEvent<&TEventSink::ButtonClick>(sink.get()));

  TOwned<TcxCustomEdit> edit(cxFilterEditHelper(row.Helper)->GetFilterEdit(source.get()));
  ASSERT_EQ(edit->ClassType(), TFilterTestEdit::ClassInfo());
  EXPECT_EQ(edit->Owner(), nullptr);
  TcxCustomEditProperties* target = edit->ActiveProperties();
  EXPECT_EQ(target->ClickKey(), source->ClickKey()) << "copied";
  EXPECT_FALSE(target->BeepOnError());
  EXPECT_TRUE(target->ValidateOnEnter());
  EXPECT_FALSE(target->ReadOnly());
  EXPECT_TRUE(target->IsReadOnlyAssigned());
  EXPECT_EQ(target->Buttons()->Count(), row.Buttons);
  EXPECT_EQ(target->DefaultValuesProvider(), row.KeepsProvider ? provider.get() : nullptr);
  EXPECT_FALSE(target->OnChange());
  EXPECT_FALSE(target->OnEditValueChanged());
  EXPECT_FALSE(target->OnValidate());
  EXPECT_FALSE(target->OnButtonClick());
  EXPECT_TRUE(source->OnChange()) << "the source keeps its events";
  EXPECT_TRUE(source->ReadOnly());
  edit.reset();
}

INSTANTIATE_TEST_SUITE_P(Helpers, InitializePropertiesTest,
                         testing::Values(TInitRow{"Base", TPlainFilterHelper::ClassInfo(), 0, true},
                                         TInitRow{"WithButtonsWithoutProvider", TTestFilterHelper::ClassInfo(), 2,
                                                  false}),
                         [](const testing::TestParamInfo<TInitRow>& AInfo) { return std::string(AInfo.param.Name); });

TEST(FilterEditHelper, FilterEditorOfAListIsItsSharedFreeEditor) {
  TOwned<TcxInplaceEditList> list(New<TcxInplaceEditList>(static_cast<TComponent*>(nullptr)));
  TOwned<TFilterTestProperties> first(New<TFilterTestProperties>(static_cast<TPersistent*>(nullptr)));
  TOwned<TFilterTestProperties> second(New<TFilterTestProperties>(static_cast<TPersistent*>(nullptr)));
  first->SetClickKey(static_cast<TShortCut>(scCtrl | '1'));
  second->SetClickKey(static_cast<TShortCut>(scCtrl | '2'));
  const auto* helper = cxFilterEditHelper(TPlainFilterHelper::ClassInfo());
  TcxCustomEdit* edit = helper->GetFilterEdit(first.get(), list.get());
  EXPECT_TRUE(edit->IsInplace());
  EXPECT_EQ(edit->ActiveProperties()->ClickKey(), first->ClickKey());
  EXPECT_EQ(helper->GetFilterEdit(second.get(), list.get()), edit);
  EXPECT_EQ(edit->ActiveProperties()->ClickKey(), second->ClickKey()) << "prepared again";
  EXPECT_EQ(list->Count(), 1);
}

// ---------------------------------------------------------------------------
// The registry

class THelperA : public TcxCustomFilterEditHelper {
  SK_CLASS(THelperA, TcxCustomFilterEditHelper)
};
class THelperC : public TcxCustomFilterEditHelper {
  SK_CLASS(THelperC, TcxCustomFilterEditHelper)
};

// The pairs the text, spin, mask and combo box units register at start-up stand
// aside so that the controller holds only the test's pairs.
struct FilterEditsControllerTest : testing::Test {
  void SetUp() override {
    GetFilterEditsController()->Unregister(TcxTextEditProperties::ClassInfo(), TcxFilterTextEditHelper::ClassInfo());
    cxSpinEditFinalization();
    cxMaskEditFinalization();
    cxDropDownEditFinalization();
    ASSERT_FALSE(FilterEditsControllerExists()) << "a test left pairs behind";
  }
  void TearDown() override {
    GetFilterEditsController()->Register(TcxTextEditProperties::ClassInfo(), TcxFilterTextEditHelper::ClassInfo());
    cxSpinEditInitialization();
    cxMaskEditInitialization();
    cxDropDownEditInitialization();
  }
};

TEST_F(FilterEditsControllerTest, FindsTheNearestRegisteredAncestor) {
  // The deeper pair first: the nearest class decides, not the registration order.
  GetFilterEditsController()->Register(TDerivedTestProperties::ClassInfo(), THelperC::ClassInfo());
  GetFilterEditsController()->Register(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
  struct TRow {
    const char* Name;
    TClass Properties;
    TClass Expected;
  };
  const TRow rows[] = {
      {"registered", TFilterTestProperties::ClassInfo(), THelperA::ClassInfo()},
      {"registered below", TDerivedTestProperties::ClassInfo(), THelperC::ClassInfo()},
      {"through an ancestor", TDeeperTestProperties::ClassInfo(), THelperC::ClassInfo()},
      {"unrelated", TcxCustomEditProperties::ClassInfo(), nullptr},
      {"no class", nullptr, nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(GetFilterEditsController()->FindHelper(row.Properties), row.Expected);
  }
  GetFilterEditsController()->Unregister(TDerivedTestProperties::ClassInfo(), THelperC::ClassInfo());
  EXPECT_EQ(GetFilterEditsController()->FindHelper(TDeeperTestProperties::ClassInfo()), THelperA::ClassInfo());
  GetFilterEditsController()->Unregister(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
}

TEST_F(FilterEditsControllerTest, GoesWithItsLastPairAndComesBackOnTheNextUse) {
  TcxFilterEditsController* controller = GetFilterEditsController();
  controller->Register(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
  controller->Register(TDerivedTestProperties::ClassInfo(), THelperC::ClassInfo());
  controller->Unregister(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
  EXPECT_TRUE(FilterEditsControllerExists()) << "one pair is left";
  EXPECT_EQ(GetFilterEditsController(), controller);
  controller->Unregister(TDerivedTestProperties::ClassInfo(), THelperC::ClassInfo());
  EXPECT_FALSE(FilterEditsControllerExists());

  TcxFilterEditsController* fresh = GetFilterEditsController();
  EXPECT_TRUE(FilterEditsControllerExists());
  EXPECT_EQ(fresh->Count(), 0);
  fresh->Register(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
  EXPECT_EQ(fresh->FindHelper(TDerivedTestProperties::ClassInfo()), THelperA::ClassInfo());
  fresh->Unregister(TFilterTestProperties::ClassInfo(), THelperA::ClassInfo());
  EXPECT_FALSE(FilterEditsControllerExists());
}

}  // namespace
