#include "library/editors/filter/cxFilterConsts.h"

#include "library/editors/edit/cxEditConsts.h"

#include <cstdint>

namespace {

// The default texts are the string table of cxFilterConsts.rc: one id each,
// counting up from here in the order below.
constexpr std::uint16_t FirstId = 0xE200;

constexpr const wchar_t* ProductName = L"cxDataFilter";

}  // namespace

constinit const TResStringRec cxSFilterOperatorEqual = {nullptr, FirstId + 0};
constinit const TResStringRec cxSFilterOperatorNotEqual = {nullptr, FirstId + 1};
constinit const TResStringRec cxSFilterOperatorLess = {nullptr, FirstId + 2};
constinit const TResStringRec cxSFilterOperatorLessEqual = {nullptr, FirstId + 3};
constinit const TResStringRec cxSFilterOperatorGreater = {nullptr, FirstId + 4};
constinit const TResStringRec cxSFilterOperatorGreaterEqual = {nullptr, FirstId + 5};
constinit const TResStringRec cxSFilterOperatorLike = {nullptr, FirstId + 6};
constinit const TResStringRec cxSFilterOperatorNotLike = {nullptr, FirstId + 7};
constinit const TResStringRec cxSFilterOperatorBetween = {nullptr, FirstId + 8};
constinit const TResStringRec cxSFilterOperatorNotBetween = {nullptr, FirstId + 9};
constinit const TResStringRec cxSFilterOperatorInList = {nullptr, FirstId + 10};
constinit const TResStringRec cxSFilterOperatorNotInList = {nullptr, FirstId + 11};
constinit const TResStringRec cxSFilterOperatorYesterday = {nullptr, FirstId + 12};
constinit const TResStringRec cxSFilterOperatorToday = {nullptr, FirstId + 13};
constinit const TResStringRec cxSFilterOperatorTomorrow = {nullptr, FirstId + 14};
constinit const TResStringRec cxSFilterOperatorLast7Days = {nullptr, FirstId + 15};
constinit const TResStringRec cxSFilterOperatorLastWeek = {nullptr, FirstId + 16};
constinit const TResStringRec cxSFilterOperatorLast14Days = {nullptr, FirstId + 17};
constinit const TResStringRec cxSFilterOperatorLastTwoWeeks = {nullptr, FirstId + 18};
constinit const TResStringRec cxSFilterOperatorLast30Days = {nullptr, FirstId + 19};
constinit const TResStringRec cxSFilterOperatorLastMonth = {nullptr, FirstId + 20};
constinit const TResStringRec cxSFilterOperatorLastYear = {nullptr, FirstId + 21};
constinit const TResStringRec cxSFilterOperatorPast = {nullptr, FirstId + 22};
constinit const TResStringRec cxSFilterOperatorThisWeek = {nullptr, FirstId + 23};
constinit const TResStringRec cxSFilterOperatorThisMonth = {nullptr, FirstId + 24};
constinit const TResStringRec cxSFilterOperatorThisYear = {nullptr, FirstId + 25};
constinit const TResStringRec cxSFilterOperatorNext7Days = {nullptr, FirstId + 26};
constinit const TResStringRec cxSFilterOperatorNextWeek = {nullptr, FirstId + 27};
constinit const TResStringRec cxSFilterOperatorNext14Days = {nullptr, FirstId + 28};
constinit const TResStringRec cxSFilterOperatorNextTwoWeeks = {nullptr, FirstId + 29};
constinit const TResStringRec cxSFilterOperatorNext30Days = {nullptr, FirstId + 30};
constinit const TResStringRec cxSFilterOperatorNextMonth = {nullptr, FirstId + 31};
constinit const TResStringRec cxSFilterOperatorNextYear = {nullptr, FirstId + 32};
constinit const TResStringRec cxSFilterOperatorFuture = {nullptr, FirstId + 33};
constinit const TResStringRec cxSFilterAndCaption = {nullptr, FirstId + 34};
constinit const TResStringRec cxSFilterOrCaption = {nullptr, FirstId + 35};
constinit const TResStringRec cxSFilterNotCaption = {nullptr, FirstId + 36};
constinit const TResStringRec cxSFilterBlankCaption = {nullptr, FirstId + 37};
constinit const TResStringRec cxSFilterFromCaption = {nullptr, FirstId + 38};
constinit const TResStringRec cxSFilterToCaption = {nullptr, FirstId + 39};
constinit const TResStringRec cxSFilterOperatorIsNull = {nullptr, FirstId + 40};
constinit const TResStringRec cxSFilterOperatorIsNotNull = {nullptr, FirstId + 41};
constinit const TResStringRec cxSFilterOperatorBeginsWith = {nullptr, FirstId + 42};
constinit const TResStringRec cxSFilterOperatorDoesNotBeginWith = {nullptr, FirstId + 43};
constinit const TResStringRec cxSFilterOperatorEndsWith = {nullptr, FirstId + 44};
constinit const TResStringRec cxSFilterOperatorDoesNotEndWith = {nullptr, FirstId + 45};
constinit const TResStringRec cxSFilterOperatorContains = {nullptr, FirstId + 46};
constinit const TResStringRec cxSFilterOperatorDoesNotContain = {nullptr, FirstId + 47};
constinit const TResStringRec cxSFilterBoxAllCaption = {nullptr, FirstId + 48};
constinit const TResStringRec cxSFilterBoxCustomCaption = {nullptr, FirstId + 49};
constinit const TResStringRec cxSFilterBoxBlanksCaption = {nullptr, FirstId + 50};
constinit const TResStringRec cxSFilterBoxNonBlanksCaption = {nullptr, FirstId + 51};

const wchar_t* const DataFilterProductName = ProductName;

namespace {

constexpr TdxResourceStringName DataFilterNames[] = {
    {L"cxSFilterOperatorEqual", &cxSFilterOperatorEqual},
    {L"cxSFilterOperatorNotEqual", &cxSFilterOperatorNotEqual},
    {L"cxSFilterOperatorLess", &cxSFilterOperatorLess},
    {L"cxSFilterOperatorLessEqual", &cxSFilterOperatorLessEqual},
    {L"cxSFilterOperatorGreater", &cxSFilterOperatorGreater},
    {L"cxSFilterOperatorGreaterEqual", &cxSFilterOperatorGreaterEqual},
    {L"cxSFilterOperatorLike", &cxSFilterOperatorLike},
    {L"cxSFilterOperatorNotLike", &cxSFilterOperatorNotLike},
    {L"cxSFilterOperatorBetween", &cxSFilterOperatorBetween},
    {L"cxSFilterOperatorNotBetween", &cxSFilterOperatorNotBetween},
    {L"cxSFilterOperatorInList", &cxSFilterOperatorInList},
    {L"cxSFilterOperatorNotInList", &cxSFilterOperatorNotInList},
    {L"cxSFilterOperatorYesterday", &cxSFilterOperatorYesterday},
    {L"cxSFilterOperatorToday", &cxSFilterOperatorToday},
    {L"cxSFilterOperatorTomorrow", &cxSFilterOperatorTomorrow},
    {L"cxSFilterOperatorLast7Days", &cxSFilterOperatorLast7Days},
    {L"cxSFilterOperatorLastWeek", &cxSFilterOperatorLastWeek},
    {L"cxSFilterOperatorLast14Days", &cxSFilterOperatorLast14Days},
    {L"cxSFilterOperatorLastTwoWeeks", &cxSFilterOperatorLastTwoWeeks},
    {L"cxSFilterOperatorLast30Days", &cxSFilterOperatorLast30Days},
    {L"cxSFilterOperatorLastMonth", &cxSFilterOperatorLastMonth},
    {L"cxSFilterOperatorLastYear", &cxSFilterOperatorLastYear},
    {L"cxSFilterOperatorPast", &cxSFilterOperatorPast},
    {L"cxSFilterOperatorThisWeek", &cxSFilterOperatorThisWeek},
    {L"cxSFilterOperatorThisMonth", &cxSFilterOperatorThisMonth},
    {L"cxSFilterOperatorThisYear", &cxSFilterOperatorThisYear},
    {L"cxSFilterOperatorNext7Days", &cxSFilterOperatorNext7Days},
    {L"cxSFilterOperatorNextWeek", &cxSFilterOperatorNextWeek},
    {L"cxSFilterOperatorNext14Days", &cxSFilterOperatorNext14Days},
    {L"cxSFilterOperatorNextTwoWeeks", &cxSFilterOperatorNextTwoWeeks},
    {L"cxSFilterOperatorNext30Days", &cxSFilterOperatorNext30Days},
    {L"cxSFilterOperatorNextMonth", &cxSFilterOperatorNextMonth},
    {L"cxSFilterOperatorNextYear", &cxSFilterOperatorNextYear},
    {L"cxSFilterOperatorFuture", &cxSFilterOperatorFuture},
    {L"cxSFilterAndCaption", &cxSFilterAndCaption},
    {L"cxSFilterOrCaption", &cxSFilterOrCaption},
    {L"cxSFilterNotCaption", &cxSFilterNotCaption},
    {L"cxSFilterBlankCaption", &cxSFilterBlankCaption},
    {L"cxSFilterFromCaption", &cxSFilterFromCaption},
    {L"cxSFilterToCaption", &cxSFilterToCaption},
    {L"cxSFilterOperatorIsNull", &cxSFilterOperatorIsNull},
    {L"cxSFilterOperatorIsNotNull", &cxSFilterOperatorIsNotNull},
    {L"cxSFilterOperatorBeginsWith", &cxSFilterOperatorBeginsWith},
    {L"cxSFilterOperatorDoesNotBeginWith", &cxSFilterOperatorDoesNotBeginWith},
    {L"cxSFilterOperatorEndsWith", &cxSFilterOperatorEndsWith},
    {L"cxSFilterOperatorDoesNotEndWith", &cxSFilterOperatorDoesNotEndWith},
    {L"cxSFilterOperatorContains", &cxSFilterOperatorContains},
    {L"cxSFilterOperatorDoesNotContain", &cxSFilterOperatorDoesNotContain},
    {L"cxSFilterBoxAllCaption", &cxSFilterBoxAllCaption},
    {L"cxSFilterBoxCustomCaption", &cxSFilterBoxCustomCaption},
    {L"cxSFilterBoxBlanksCaption", &cxSFilterBoxBlanksCaption},
    {L"cxSFilterBoxNonBlanksCaption", &cxSFilterBoxNonBlanksCaption},
};

void AddDataFilterResourceStringNames(TdxProductResourceStrings* AProduct) { AddResourceStringNames(AProduct, DataFilterNames); }

constinit TcxResourceStringsUnit GUnit(ProductName, &AddDataFilterResourceStringNames);

}  // namespace

void cxFilterConstsInitialization() { GUnit.Initialize(); }
void cxFilterConstsFinalization() { GUnit.Finalize(); }
