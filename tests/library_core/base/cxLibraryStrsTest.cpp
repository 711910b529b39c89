#include "library/core/data/cxDataConsts.h"
#include "library/core/base/cxLibraryStrs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int CountOf(const wchar_t* AProduct) {
  TdxResourceStringsRepository* repository = GetResourceStringsRepository();
  const int index = repository->GetProductIndexByName(AProduct);
  return index < 0 ? -1 : repository->Products(index)->ResStringsCount();
}

// Each test starts from what the two units' start-up leaves (another test
// may have made the core unit's repository anew).
class LibraryStrings : public testing::Test {
 protected:
  void SetUp() override {
    cxDataConstsFinalization();
    cxLibraryStrsFinalization();
    cxLibraryStrsInitialization();
    cxDataConstsInitialization();
  }
};

TEST_F(LibraryStrings, BothProductsRegisteredAtStartUp) {
  EXPECT_EQ(CountOf(LibraryProductName), 28);
  EXPECT_EQ(CountOf(DataProductName), 17);
  EXPECT_EQ(LoadLocalizedResString(&cxSDateBOM), L"bom");
  EXPECT_EQ(GetResourceStringsRepository()->GetOriginalValue(L"cxSDateBOM"), L"bom");
}

TEST_F(LibraryStrings, EveryTextUnderItsIdentifier) {
  struct TCase {
    const wchar_t* Name;
    PResStringRec Record;
    const wchar_t* Text;
  };
  const std::vector<TCase> cases = {
      {L"scxCantCreateRegistryKey", &scxCantCreateRegistryKey, L"Can't create the registry key: \\%s"},
      {L"scxCantOpenRegistryKey", &scxCantOpenRegistryKey, L"Can't open the registry key: \\%s"},
      {L"scxErrorStoreObject", &scxErrorStoreObject, L"Error store %s object"},
      {L"scxConverterCantCreateStyleRepository", &scxConverterCantCreateStyleRepository, L"Can't create the Style Repository"},
      {L"scxBuiltInLookAndFeelStyles", &scxBuiltInLookAndFeelStyles, L"Built-In Look && Feel Styles"},
      {L"scxLockedStateText", &scxLockedStateText, L"Please wait..."},
      {L"cxSDateToday", &cxSDateToday, L"today"},
      {L"cxSDateYesterday", &cxSDateYesterday, L"yesterday"},
      {L"cxSDateTomorrow", &cxSDateTomorrow, L"tomorrow"},
      {L"cxSDateSunday", &cxSDateSunday, L"Sunday"},
      {L"cxSDateMonday", &cxSDateMonday, L"Monday"},
      {L"cxSDateTuesday", &cxSDateTuesday, L"Tuesday"},
      {L"cxSDateWednesday", &cxSDateWednesday, L"Wednesday"},
      {L"cxSDateThursday", &cxSDateThursday, L"Thursday"},
      {L"cxSDateFriday", &cxSDateFriday, L"Friday"},
      {L"cxSDateSaturday", &cxSDateSaturday, L"Saturday"},
      {L"cxSDateFirst", &cxSDateFirst, L"first"},
      {L"cxSDateSecond", &cxSDateSecond, L"second"},
      {L"cxSDateThird", &cxSDateThird, L"third"},
      {L"cxSDateFourth", &cxSDateFourth, L"fourth"},
      {L"cxSDateFifth", &cxSDateFifth, L"fifth"},
      {L"cxSDateSixth", &cxSDateSixth, L"sixth"},
      {L"cxSDateSeventh", &cxSDateSeventh, L"seventh"},
      {L"cxSDateBOM", &cxSDateBOM, L"bom"},
      {L"cxSDateEOM", &cxSDateEOM, L"eom"},
      {L"cxSDateNow", &cxSDateNow, L"now"},
      {L"scxQuickCustomizationAllCommandCaption", &scxQuickCustomizationAllCommandCaption, L"(All)"},
      {L"scxQuickCustomizationSortedCommandCaption", &scxQuickCustomizationSortedCommandCaption, L"(Sorted)"},
      {L"cxSDataReadError", &cxSDataReadError, L"Stream read error"},
      {L"cxSDataWriteError", &cxSDataWriteError, L"Stream write error"},
      {L"cxSDataItemExistError", &cxSDataItemExistError, L"Item already exists"},
      {L"cxSDataRecordIndexError", &cxSDataRecordIndexError, L"RecordIndex out of range"},
      {L"cxSDataItemIndexError", &cxSDataItemIndexError, L"ItemIndex out of range"},
      {L"cxSDataProviderModeError", &cxSDataProviderModeError, L"This operation is not supported in provider mode"},
      {L"cxSDataInvalidStreamFormat", &cxSDataInvalidStreamFormat, L"Invalid stream format"},
      {L"cxSDataRowIndexError", &cxSDataRowIndexError, L"RowIndex out of range"},
      {L"cxSDataCustomDataSourceInvalidCompare", &cxSDataCustomDataSourceInvalidCompare, L"GetInfoForCompare not implemented"},
      {L"cxSDBDetailFilterControllerNotFound", &cxSDBDetailFilterControllerNotFound, L"DetailFilterController not found"},
      {L"cxSDBNotInGridMode", &cxSDBNotInGridMode, L"DataController not in GridMode"},
      {L"cxSDBKeyFieldNotFound", &cxSDBKeyFieldNotFound, L"Key Field not found"},
      {L"cxSDataSumSummaryKind", &cxSDataSumSummaryKind, L"SUM"},
      {L"cxSDataMinSummaryKind", &cxSDataMinSummaryKind, L"MIN"},
      {L"cxSDataMaxSummaryKind", &cxSDataMaxSummaryKind, L"MAX"},
      {L"cxSDataCountSummaryKind", &cxSDataCountSummaryKind, L"COUNT"},
      {L"cxSDataAvgSummaryKind", &cxSDataAvgSummaryKind, L"AVG"},
  };
  ASSERT_EQ(cases.size(), 28u + 17u);
  TdxResourceStringsRepository* repository = GetResourceStringsRepository();
  for (const TCase& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.Name));
    EXPECT_EQ(LoadLocalizedResString(c.Record), c.Text);
    EXPECT_EQ(repository->GetOriginalValue(c.Name), c.Text);
    // Registered under the identifier with this very record.
    const bool library = &c - cases.data() < 28;  // the library's strings come first
    TdxProductResourceStrings* product =
        repository->Products(repository->GetProductIndexByName(library ? LibraryProductName : DataProductName));
    const int index = product->GetIndexByName(c.Name);
    ASSERT_GE(index, 0);
    EXPECT_EQ(product->ResStrings(index), c.Record);
  }
}

TEST_F(LibraryStrings, ShutDownRemovesTheWholeProduct) {
  cxDataConstsFinalization();
  EXPECT_EQ(CountOf(DataProductName), -1);
  EXPECT_EQ(CountOf(LibraryProductName), 28);
  cxDataConstsInitialization();
  EXPECT_EQ(CountOf(DataProductName), 17);
}

}  // namespace
