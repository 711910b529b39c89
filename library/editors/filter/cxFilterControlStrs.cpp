#include "library/editors/filter/cxFilterControlStrs.h"

#include "library/editors/edit/cxEditConsts.h"

#include <cstdint>

namespace {

// The default texts are the string table of cxFilterControlStrs.rc: one id each,
// counting up from here in the order below.
constexpr std::uint16_t FirstId = 0xE280;

constexpr const wchar_t* ProductName = L"cxFilterControl";

}  // namespace

constinit const TResStringRec cxSFilterBoolOperatorAnd = {nullptr, FirstId + 0};
constinit const TResStringRec cxSFilterBoolOperatorOr = {nullptr, FirstId + 1};
constinit const TResStringRec cxSFilterBoolOperatorNotAnd = {nullptr, FirstId + 2};
constinit const TResStringRec cxSFilterBoolOperatorNotOr = {nullptr, FirstId + 3};
constinit const TResStringRec cxSFilterRootButtonCaption = {nullptr, FirstId + 4};
constinit const TResStringRec cxSFilterAddCondition = {nullptr, FirstId + 5};
constinit const TResStringRec cxSFilterAddGroup = {nullptr, FirstId + 6};
constinit const TResStringRec cxSFilterRemoveRow = {nullptr, FirstId + 7};
constinit const TResStringRec cxSFilterClearAll = {nullptr, FirstId + 8};
constinit const TResStringRec cxSFilterFooterAddCondition = {nullptr, FirstId + 9};
constinit const TResStringRec cxSFilterGroupCaption = {nullptr, FirstId + 10};
constinit const TResStringRec cxSFilterRootGroupCaption = {nullptr, FirstId + 11};
constinit const TResStringRec cxSFilterControlNullString = {nullptr, FirstId + 12};
constinit const TResStringRec cxSFilterErrorBuilding = {nullptr, FirstId + 13};
constinit const TResStringRec cxSFilterDialogCaption = {nullptr, FirstId + 14};
constinit const TResStringRec cxSFilterDialogInvalidValue = {nullptr, FirstId + 15};
constinit const TResStringRec cxSFilterDialogUse = {nullptr, FirstId + 16};
constinit const TResStringRec cxSFilterDialogSingleCharacter = {nullptr, FirstId + 17};
constinit const TResStringRec cxSFilterDialogCharactersSeries = {nullptr, FirstId + 18};
constinit const TResStringRec cxSFilterDialogOperationAnd = {nullptr, FirstId + 19};
constinit const TResStringRec cxSFilterDialogOperationOr = {nullptr, FirstId + 20};
constinit const TResStringRec cxSFilterDialogRows = {nullptr, FirstId + 21};
constinit const TResStringRec cxSFilterControlDialogCaption = {nullptr, FirstId + 22};
constinit const TResStringRec cxSFilterControlDialogNewFile = {nullptr, FirstId + 23};
constinit const TResStringRec cxSFilterControlDialogOpenDialogCaption = {nullptr, FirstId + 24};
constinit const TResStringRec cxSFilterControlDialogSaveDialogCaption = {nullptr, FirstId + 25};
constinit const TResStringRec cxSFilterControlDialogActionSaveCaption = {nullptr, FirstId + 26};
constinit const TResStringRec cxSFilterControlDialogActionSaveHint = {nullptr, FirstId + 27};
constinit const TResStringRec cxSFilterControlDialogActionOpenCaption = {nullptr, FirstId + 28};
constinit const TResStringRec cxSFilterControlDialogActionOpenHint = {nullptr, FirstId + 29};
constinit const TResStringRec cxSFilterControlDialogActionApplyCaption = {nullptr, FirstId + 30};
constinit const TResStringRec cxSFilterControlDialogActionOkCaption = {nullptr, FirstId + 31};
constinit const TResStringRec cxSFilterControlDialogActionCancelCaption = {nullptr, FirstId + 32};
constinit const TResStringRec cxSFilterControlDialogFileExt = {nullptr, FirstId + 33};
constinit const TResStringRec cxSFilterControlDialogFileFilter = {nullptr, FirstId + 34};

const wchar_t* const FilterControlProductName = ProductName;

namespace {

constexpr TdxResourceStringName FilterControlNames[] = {
    {L"cxSFilterBoolOperatorAnd", &cxSFilterBoolOperatorAnd},
    {L"cxSFilterBoolOperatorOr", &cxSFilterBoolOperatorOr},
    {L"cxSFilterBoolOperatorNotAnd", &cxSFilterBoolOperatorNotAnd},
    {L"cxSFilterBoolOperatorNotOr", &cxSFilterBoolOperatorNotOr},
    {L"cxSFilterRootButtonCaption", &cxSFilterRootButtonCaption},
    {L"cxSFilterAddCondition", &cxSFilterAddCondition},
    {L"cxSFilterAddGroup", &cxSFilterAddGroup},
    {L"cxSFilterRemoveRow", &cxSFilterRemoveRow},
    {L"cxSFilterClearAll", &cxSFilterClearAll},
    {L"cxSFilterFooterAddCondition", &cxSFilterFooterAddCondition},
    {L"cxSFilterGroupCaption", &cxSFilterGroupCaption},
    {L"cxSFilterRootGroupCaption", &cxSFilterRootGroupCaption},
    {L"cxSFilterControlNullString", &cxSFilterControlNullString},
    {L"cxSFilterErrorBuilding", &cxSFilterErrorBuilding},
    {L"cxSFilterDialogCaption", &cxSFilterDialogCaption},
    {L"cxSFilterDialogInvalidValue", &cxSFilterDialogInvalidValue},
    {L"cxSFilterDialogUse", &cxSFilterDialogUse},
    {L"cxSFilterDialogSingleCharacter", &cxSFilterDialogSingleCharacter},
    {L"cxSFilterDialogCharactersSeries", &cxSFilterDialogCharactersSeries},
    {L"cxSFilterDialogOperationAnd", &cxSFilterDialogOperationAnd},
    {L"cxSFilterDialogOperationOr", &cxSFilterDialogOperationOr},
    {L"cxSFilterDialogRows", &cxSFilterDialogRows},
    {L"cxSFilterControlDialogCaption", &cxSFilterControlDialogCaption},
    {L"cxSFilterControlDialogNewFile", &cxSFilterControlDialogNewFile},
    {L"cxSFilterControlDialogOpenDialogCaption", &cxSFilterControlDialogOpenDialogCaption},
    {L"cxSFilterControlDialogSaveDialogCaption", &cxSFilterControlDialogSaveDialogCaption},
    {L"cxSFilterControlDialogActionSaveCaption", &cxSFilterControlDialogActionSaveCaption},
    {L"cxSFilterControlDialogActionSaveHint", &cxSFilterControlDialogActionSaveHint},
    {L"cxSFilterControlDialogActionOpenCaption", &cxSFilterControlDialogActionOpenCaption},
    {L"cxSFilterControlDialogActionOpenHint", &cxSFilterControlDialogActionOpenHint},
    {L"cxSFilterControlDialogActionApplyCaption", &cxSFilterControlDialogActionApplyCaption},
    {L"cxSFilterControlDialogActionOkCaption", &cxSFilterControlDialogActionOkCaption},
    {L"cxSFilterControlDialogActionCancelCaption", &cxSFilterControlDialogActionCancelCaption},
    {L"cxSFilterControlDialogFileExt", &cxSFilterControlDialogFileExt},
    {L"cxSFilterControlDialogFileFilter", &cxSFilterControlDialogFileFilter},
};

void AddFilterControlResourceStringNames(TdxProductResourceStrings* AProduct) { AddResourceStringNames(AProduct, FilterControlNames); }

constinit TcxResourceStringsUnit GUnit(ProductName, &AddFilterControlResourceStringNames);

}  // namespace

void cxFilterControlStrsInitialization() { GUnit.Initialize(); }
void cxFilterControlStrsFinalization() { GUnit.Finalize(); }
