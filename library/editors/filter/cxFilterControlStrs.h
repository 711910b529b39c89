// The filter control's resource strings: captions and hints of the filter
// builder and its dialog. The unit's start-up registers the set with the
// resource-string repository under FilterControlProductName, its shut-down
// removes it. Read a text through LoadLocalizedResString at the moment it is
// shown.
#pragma once

#include "library/core/base/dxCore.h"

extern const TResStringRec cxSFilterBoolOperatorAnd;
extern const TResStringRec cxSFilterBoolOperatorOr;
extern const TResStringRec cxSFilterBoolOperatorNotAnd;
extern const TResStringRec cxSFilterBoolOperatorNotOr;
extern const TResStringRec cxSFilterRootButtonCaption;
extern const TResStringRec cxSFilterAddCondition;
extern const TResStringRec cxSFilterAddGroup;
extern const TResStringRec cxSFilterRemoveRow;
extern const TResStringRec cxSFilterClearAll;
extern const TResStringRec cxSFilterFooterAddCondition;
extern const TResStringRec cxSFilterGroupCaption;
extern const TResStringRec cxSFilterRootGroupCaption;
extern const TResStringRec cxSFilterControlNullString;
extern const TResStringRec cxSFilterErrorBuilding;
extern const TResStringRec cxSFilterDialogCaption;
extern const TResStringRec cxSFilterDialogInvalidValue;
extern const TResStringRec cxSFilterDialogUse;
extern const TResStringRec cxSFilterDialogSingleCharacter;
extern const TResStringRec cxSFilterDialogCharactersSeries;
extern const TResStringRec cxSFilterDialogOperationAnd;
extern const TResStringRec cxSFilterDialogOperationOr;
extern const TResStringRec cxSFilterDialogRows;
extern const TResStringRec cxSFilterControlDialogCaption;
extern const TResStringRec cxSFilterControlDialogNewFile;
extern const TResStringRec cxSFilterControlDialogOpenDialogCaption;
extern const TResStringRec cxSFilterControlDialogSaveDialogCaption;
extern const TResStringRec cxSFilterControlDialogActionSaveCaption;
extern const TResStringRec cxSFilterControlDialogActionSaveHint;
extern const TResStringRec cxSFilterControlDialogActionOpenCaption;
extern const TResStringRec cxSFilterControlDialogActionOpenHint;
extern const TResStringRec cxSFilterControlDialogActionApplyCaption;
extern const TResStringRec cxSFilterControlDialogActionOkCaption;
extern const TResStringRec cxSFilterControlDialogActionCancelCaption;
extern const TResStringRec cxSFilterControlDialogFileExt;
extern const TResStringRec cxSFilterControlDialogFileFilter;

// The product under which the set is registered.
extern const wchar_t* const FilterControlProductName;

void cxFilterControlStrsInitialization();
void cxFilterControlStrsFinalization();
