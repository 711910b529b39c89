#include "library/core/data/cxDataConsts.h"

constinit const TResStringRec cxSDataReadError = {L"Stream read error"};
constinit const TResStringRec cxSDataWriteError = {L"Stream write error"};
constinit const TResStringRec cxSDataItemExistError = {L"Item already exists"};
constinit const TResStringRec cxSDataRecordIndexError = {L"RecordIndex out of range"};
constinit const TResStringRec cxSDataItemIndexError = {L"ItemIndex out of range"};
constinit const TResStringRec cxSDataProviderModeError = {L"This operation is not supported in provider mode"};
constinit const TResStringRec cxSDataInvalidStreamFormat = {L"Invalid stream format"};
constinit const TResStringRec cxSDataRowIndexError = {L"RowIndex out of range"};
constinit const TResStringRec cxSDataCustomDataSourceInvalidCompare = {L"GetInfoForCompare not implemented"};
constinit const TResStringRec cxSDBDetailFilterControllerNotFound = {L"DetailFilterController not found"};
constinit const TResStringRec cxSDBNotInGridMode = {L"DataController not in GridMode"};
constinit const TResStringRec cxSDBKeyFieldNotFound = {L"Key Field not found"};
constinit const TResStringRec cxSDataSumSummaryKind = {L"SUM"};
constinit const TResStringRec cxSDataMinSummaryKind = {L"MIN"};
constinit const TResStringRec cxSDataMaxSummaryKind = {L"MAX"};
constinit const TResStringRec cxSDataCountSummaryKind = {L"COUNT"};
constinit const TResStringRec cxSDataAvgSummaryKind = {L"AVG"};

const wchar_t* const DataProductName = L"cxDataController";

namespace {

constexpr TdxResourceStringName DataNames[] = {
    {L"cxSDataReadError", &cxSDataReadError},
    {L"cxSDataWriteError", &cxSDataWriteError},
    {L"cxSDataItemExistError", &cxSDataItemExistError},
    {L"cxSDataRecordIndexError", &cxSDataRecordIndexError},
    {L"cxSDataItemIndexError", &cxSDataItemIndexError},
    {L"cxSDataProviderModeError", &cxSDataProviderModeError},
    {L"cxSDataInvalidStreamFormat", &cxSDataInvalidStreamFormat},
    {L"cxSDataRowIndexError", &cxSDataRowIndexError},
    {L"cxSDataCustomDataSourceInvalidCompare", &cxSDataCustomDataSourceInvalidCompare},
    {L"cxSDBDetailFilterControllerNotFound", &cxSDBDetailFilterControllerNotFound},
    {L"cxSDBNotInGridMode", &cxSDBNotInGridMode},
    {L"cxSDBKeyFieldNotFound", &cxSDBKeyFieldNotFound},
    {L"cxSDataSumSummaryKind", &cxSDataSumSummaryKind},
    {L"cxSDataMinSummaryKind", &cxSDataMinSummaryKind},
    {L"cxSDataMaxSummaryKind", &cxSDataMaxSummaryKind},
    {L"cxSDataCountSummaryKind", &cxSDataCountSummaryKind},
    {L"cxSDataAvgSummaryKind", &cxSDataAvgSummaryKind},
};

void AddDataResourceStringNames(TdxProductResourceStrings* AProduct) { AddResourceStringNames(AProduct, DataNames); }

}  // namespace

void cxDataConstsInitialization() { RegisterResourceStringsProduct(DataProductName, &AddDataResourceStringNames); }
void cxDataConstsFinalization() { UnregisterResourceStringsProduct(DataProductName); }
