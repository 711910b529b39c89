// The drop-down editors in a filter row: their properties keep the buttons,
// and the combo box's helper, the base of the list kinds' helpers, prepares
// a free-text list with the mask editor's comparisons.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "library/core/data/cxDataStorage.h"

#include <gtest/gtest.h>

namespace {

TEST(DropDownFilterHelpers, TheComboBoxHelperIsADropDownHelperRegisteredForTheComboBox) {
  TcxFilterEditsController* controller = GetFilterEditsController();
  EXPECT_EQ(controller->FindHelper(TcxComboBoxProperties::ClassInfo()), TcxFilterComboBoxHelper::ClassInfo());
  EXPECT_TRUE(TcxFilterComboBoxHelper::ClassInfo()->InheritsFrom(TcxFilterDropDownEditHelper::ClassInfo()));
  EXPECT_TRUE(TcxFilterDropDownEditHelper::ClassInfo()->InheritsFrom(TcxFilterMaskEditHelper::ClassInfo()));
  EXPECT_EQ(cxFilterEditHelper(TcxFilterComboBoxHelper::ClassInfo())->GetFilterEditClass(), TcxComboBox::ClassInfo());
}

TEST(DropDownFilterHelpers, DropDownPropertiesKeepTheirButtonsInTheFilterEditor) {
  const struct {
    const char* Name;
    TClass Helper;
    int Buttons;
  } rows[] = {{"mask helper clears them", TcxFilterMaskEditHelper::ClassInfo(), 0},
              {"drop-down helper keeps them", TcxFilterDropDownEditHelper::ClassInfo(), 2},
              {"combo box helper keeps them", TcxFilterComboBoxHelper::ClassInfo(), 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TcxComboBoxProperties> source(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
    source->Buttons()->Add()->SetKind(bkEllipsis);
    ASSERT_EQ(source->Buttons()->Count(), 2);
    TOwned<TcxCustomEdit> edit(cxFilterEditHelper(row.Helper)->GetFilterEdit(source.get()));
    EXPECT_EQ(edit->ActiveProperties()->Buttons()->Count(), row.Buttons);
  }
}

TEST(DropDownFilterHelpers, TheComboBoxHelperPreparesAFreeTextList) {
  TOwned<TcxComboBoxProperties> source(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
  source->SetDropDownListStyle(lsFixedList);
  source->SetDropDownRows(3);
  source->SetImmediateDropDownWhenKeyPressed(true);
  source->SetPopupAlignment(taRightJustify);
  source->SetRevertable(true);
  source->SetReadOnly(true);
  source->Items()->Add(L"COM1");
  TOwned<TcxCustomEdit> edit(cxFilterEditHelper(TcxFilterComboBoxHelper::ClassInfo())->GetFilterEdit(source.get()));
  auto* prepared = dynamic_cast<TcxComboBoxProperties*>(edit->ActiveProperties());
  ASSERT_NE(prepared, nullptr);
  EXPECT_EQ(prepared->DropDownListStyle(), lsEditList);
  EXPECT_EQ(prepared->DropDownRows(), 8);
  EXPECT_FALSE(prepared->ImmediateDropDownWhenKeyPressed());
  EXPECT_EQ(prepared->PopupAlignment(), taLeftJustify);
  EXPECT_FALSE(prepared->Revertable());
  EXPECT_FALSE(prepared->ReadOnly());
  EXPECT_EQ(prepared->Items()->Count(), 1) << "the items come along";
  EXPECT_EQ(prepared->Buttons()->Count(), 1);
}

TEST(DropDownFilterHelpers, AMaskedComboComparesWholeValues) {
  const TcxFilterControlOperators text = {fcoLike,        fcoNotLike,    fcoContains,
                                          fcoNotContains, fcoBeginsWith, fcoEndsWith};
  const struct {
    const char* Name;
    const wchar_t* Mask;
    bool Text;
  } rows[] = {{"unmasked", L"", true}, {"masked", L"000", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TcxComboBoxProperties> p(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
    p->SetEditMask(row.Mask);
    const TcxFilterControlOperators ops = cxFilterEditHelper(TcxFilterComboBoxHelper::ClassInfo())
                                              ->GetSupportedFilterOperators(p.get(), TcxStringValueType::ClassInfo());
    EXPECT_EQ((ops * text).ToBits(), row.Text ? text.ToBits() : TcxFilterControlOperators().ToBits());
    EXPECT_TRUE(ops.Contains(fcoEqual));
  }
}

}  // namespace
