#include "library/editors/filter/cxFilterControlStrs.h"

#include "tests/library_editors/StringSets.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<TStringRow>& Rows() {
  static const std::vector<TStringRow> rows = {
      {L"cxSFilterBoolOperatorAnd", &cxSFilterBoolOperatorAnd, L"AND"},
      {L"cxSFilterBoolOperatorOr", &cxSFilterBoolOperatorOr, L"OR"},
      {L"cxSFilterBoolOperatorNotAnd", &cxSFilterBoolOperatorNotAnd, L"NOT AND"},
      {L"cxSFilterBoolOperatorNotOr", &cxSFilterBoolOperatorNotOr, L"NOT OR"},
      {L"cxSFilterRootButtonCaption", &cxSFilterRootButtonCaption, L"Filter"},
      {L"cxSFilterAddCondition", &cxSFilterAddCondition, L"Add &Condition"},
      {L"cxSFilterAddGroup", &cxSFilterAddGroup, L"Add &Group"},
      {L"cxSFilterRemoveRow", &cxSFilterRemoveRow, L"&Remove Row"},
      {L"cxSFilterClearAll", &cxSFilterClearAll, L"Clear &All"},
      {L"cxSFilterFooterAddCondition", &cxSFilterFooterAddCondition, L"press the button to add a new condition"},
      {L"cxSFilterGroupCaption", &cxSFilterGroupCaption, L"applies to the following conditions"},
      {L"cxSFilterRootGroupCaption", &cxSFilterRootGroupCaption, L"<root>"},
      {L"cxSFilterControlNullString", &cxSFilterControlNullString, L"<empty>"},
      {L"cxSFilterErrorBuilding", &cxSFilterErrorBuilding, L"Can't build filter from source"},
      {L"cxSFilterDialogCaption", &cxSFilterDialogCaption, L"Custom Filter"},
      {L"cxSFilterDialogInvalidValue", &cxSFilterDialogInvalidValue, L"Invalid value"},
      {L"cxSFilterDialogUse", &cxSFilterDialogUse, L"Use"},
      {L"cxSFilterDialogSingleCharacter", &cxSFilterDialogSingleCharacter, L"to represent any single character"},
      {L"cxSFilterDialogCharactersSeries", &cxSFilterDialogCharactersSeries, L"to represent any series of characters"},
      {L"cxSFilterDialogOperationAnd", &cxSFilterDialogOperationAnd, L"AND"},
      {L"cxSFilterDialogOperationOr", &cxSFilterDialogOperationOr, L"OR"},
      {L"cxSFilterDialogRows", &cxSFilterDialogRows, L"Show rows where:"},
      {L"cxSFilterControlDialogCaption", &cxSFilterControlDialogCaption, L"Filter builder"},
      {L"cxSFilterControlDialogNewFile", &cxSFilterControlDialogNewFile, L"untitled.flt"},
      {L"cxSFilterControlDialogOpenDialogCaption", &cxSFilterControlDialogOpenDialogCaption, L"Open an existing filter"},
      {L"cxSFilterControlDialogSaveDialogCaption", &cxSFilterControlDialogSaveDialogCaption, L"Save the active filter to file"},
      {L"cxSFilterControlDialogActionSaveCaption", &cxSFilterControlDialogActionSaveCaption, L"&Save As..."},
      {L"cxSFilterControlDialogActionSaveHint", &cxSFilterControlDialogActionSaveHint, L"Save As|Saves the active filter with a new name"},
      {L"cxSFilterControlDialogActionOpenCaption", &cxSFilterControlDialogActionOpenCaption, L"&Open..."},
      {L"cxSFilterControlDialogActionOpenHint", &cxSFilterControlDialogActionOpenHint, L"Open|Opens an existing filter"},
      {L"cxSFilterControlDialogActionApplyCaption", &cxSFilterControlDialogActionApplyCaption, L"&Apply"},
      {L"cxSFilterControlDialogActionOkCaption", &cxSFilterControlDialogActionOkCaption, L"OK"},
      {L"cxSFilterControlDialogActionCancelCaption", &cxSFilterControlDialogActionCancelCaption, L"Cancel"},
      {L"cxSFilterControlDialogFileExt", &cxSFilterControlDialogFileExt, L"flt"},
      {L"cxSFilterControlDialogFileFilter", &cxSFilterControlDialogFileFilter, L"Filters (*.flt)|*.flt"},
  };
  return rows;
}

TEST(FilterControlStrings, EveryIdentifierReadsItsDefaultText) {
  ASSERT_EQ(Rows().size(), 35u);
  ExpectStringSet(FilterControlProductName, Rows());
}

TEST(FilterControlStrings, StartUpAndShutDownAreCounted) {
  ExpectCountedStartUp(FilterControlProductName, 35, &cxFilterControlStrsInitialization, &cxFilterControlStrsFinalization);
  ExpectStringSet(FilterControlProductName, Rows());
}

}  // namespace
