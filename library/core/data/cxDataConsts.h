// The data texts: data-controller errors and summary-kind captions.
//
// Each identifier names a resource string of the program; the unit's
// start-up registers them with the resource-string repository under the
// product "cxDataController" (in this order), and its shut-down removes that
// product. Read a text through LoadLocalizedResString.
#pragma once

#include "library/core/base/dxCore.h"

extern const TResStringRec cxSDataReadError;
extern const TResStringRec cxSDataWriteError;
extern const TResStringRec cxSDataItemExistError;
extern const TResStringRec cxSDataRecordIndexError;
extern const TResStringRec cxSDataItemIndexError;
extern const TResStringRec cxSDataProviderModeError;
extern const TResStringRec cxSDataInvalidStreamFormat;
extern const TResStringRec cxSDataRowIndexError;
extern const TResStringRec cxSDataCustomDataSourceInvalidCompare;
extern const TResStringRec cxSDBDetailFilterControllerNotFound;
extern const TResStringRec cxSDBNotInGridMode;
extern const TResStringRec cxSDBKeyFieldNotFound;
extern const TResStringRec cxSDataSumSummaryKind;
extern const TResStringRec cxSDataMinSummaryKind;
extern const TResStringRec cxSDataMaxSummaryKind;
extern const TResStringRec cxSDataCountSummaryKind;
extern const TResStringRec cxSDataAvgSummaryKind;

// The product name under which the strings are registered.
extern const wchar_t* const DataProductName;

void cxDataConstsInitialization();
void cxDataConstsFinalization();
