// The data filter's resource strings: the operator and caption texts of filter
// conditions. The unit's start-up registers the set with the resource-string
// repository under DataFilterProductName, its shut-down removes it. Read a
// text through LoadLocalizedResString at the moment it is shown.
#pragma once

#include "library/core/base/dxCore.h"

extern const TResStringRec cxSFilterOperatorEqual;
extern const TResStringRec cxSFilterOperatorNotEqual;
extern const TResStringRec cxSFilterOperatorLess;
extern const TResStringRec cxSFilterOperatorLessEqual;
extern const TResStringRec cxSFilterOperatorGreater;
extern const TResStringRec cxSFilterOperatorGreaterEqual;
extern const TResStringRec cxSFilterOperatorLike;
extern const TResStringRec cxSFilterOperatorNotLike;
extern const TResStringRec cxSFilterOperatorBetween;
extern const TResStringRec cxSFilterOperatorNotBetween;
extern const TResStringRec cxSFilterOperatorInList;
extern const TResStringRec cxSFilterOperatorNotInList;
extern const TResStringRec cxSFilterOperatorYesterday;
extern const TResStringRec cxSFilterOperatorToday;
extern const TResStringRec cxSFilterOperatorTomorrow;
extern const TResStringRec cxSFilterOperatorLast7Days;
extern const TResStringRec cxSFilterOperatorLastWeek;
extern const TResStringRec cxSFilterOperatorLast14Days;
extern const TResStringRec cxSFilterOperatorLastTwoWeeks;
extern const TResStringRec cxSFilterOperatorLast30Days;
extern const TResStringRec cxSFilterOperatorLastMonth;
extern const TResStringRec cxSFilterOperatorLastYear;
extern const TResStringRec cxSFilterOperatorPast;
extern const TResStringRec cxSFilterOperatorThisWeek;
extern const TResStringRec cxSFilterOperatorThisMonth;
extern const TResStringRec cxSFilterOperatorThisYear;
extern const TResStringRec cxSFilterOperatorNext7Days;
extern const TResStringRec cxSFilterOperatorNextWeek;
extern const TResStringRec cxSFilterOperatorNext14Days;
extern const TResStringRec cxSFilterOperatorNextTwoWeeks;
extern const TResStringRec cxSFilterOperatorNext30Days;
extern const TResStringRec cxSFilterOperatorNextMonth;
extern const TResStringRec cxSFilterOperatorNextYear;
extern const TResStringRec cxSFilterOperatorFuture;
extern const TResStringRec cxSFilterAndCaption;
extern const TResStringRec cxSFilterOrCaption;
extern const TResStringRec cxSFilterNotCaption;
extern const TResStringRec cxSFilterBlankCaption;
extern const TResStringRec cxSFilterFromCaption;
extern const TResStringRec cxSFilterToCaption;
extern const TResStringRec cxSFilterOperatorIsNull;
extern const TResStringRec cxSFilterOperatorIsNotNull;
extern const TResStringRec cxSFilterOperatorBeginsWith;
extern const TResStringRec cxSFilterOperatorDoesNotBeginWith;
extern const TResStringRec cxSFilterOperatorEndsWith;
extern const TResStringRec cxSFilterOperatorDoesNotEndWith;
extern const TResStringRec cxSFilterOperatorContains;
extern const TResStringRec cxSFilterOperatorDoesNotContain;
extern const TResStringRec cxSFilterBoxAllCaption;
extern const TResStringRec cxSFilterBoxCustomCaption;
extern const TResStringRec cxSFilterBoxBlanksCaption;
extern const TResStringRec cxSFilterBoxNonBlanksCaption;

// The product under which the set is registered.
extern const wchar_t* const DataFilterProductName;

void cxFilterConstsInitialization();
void cxFilterConstsFinalization();
