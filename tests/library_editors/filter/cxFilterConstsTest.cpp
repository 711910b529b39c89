#include "library/editors/filter/cxFilterConsts.h"

#include "tests/library_editors/StringSets.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<TStringRow>& Rows() {
  static const std::vector<TStringRow> rows = {
      {L"cxSFilterOperatorEqual", &cxSFilterOperatorEqual, L"Equals"},
      {L"cxSFilterOperatorNotEqual", &cxSFilterOperatorNotEqual, L"Does not equal"},
      {L"cxSFilterOperatorLess", &cxSFilterOperatorLess, L"Is less than"},
      {L"cxSFilterOperatorLessEqual", &cxSFilterOperatorLessEqual, L"Is less than or equal to"},
      {L"cxSFilterOperatorGreater", &cxSFilterOperatorGreater, L"Is greater than"},
      {L"cxSFilterOperatorGreaterEqual", &cxSFilterOperatorGreaterEqual, L"Is greater than or equal to"},
      {L"cxSFilterOperatorLike", &cxSFilterOperatorLike, L"Like"},
      {L"cxSFilterOperatorNotLike", &cxSFilterOperatorNotLike, L"Not like"},
      {L"cxSFilterOperatorBetween", &cxSFilterOperatorBetween, L"Is between"},
      {L"cxSFilterOperatorNotBetween", &cxSFilterOperatorNotBetween, L"Is not between"},
      {L"cxSFilterOperatorInList", &cxSFilterOperatorInList, L"In"},
      {L"cxSFilterOperatorNotInList", &cxSFilterOperatorNotInList, L"Not in"},
      {L"cxSFilterOperatorYesterday", &cxSFilterOperatorYesterday, L"Is yesterday"},
      {L"cxSFilterOperatorToday", &cxSFilterOperatorToday, L"Is today"},
      {L"cxSFilterOperatorTomorrow", &cxSFilterOperatorTomorrow, L"Is tomorrow"},
      {L"cxSFilterOperatorLast7Days", &cxSFilterOperatorLast7Days, L"Is last 7 days"},
      {L"cxSFilterOperatorLastWeek", &cxSFilterOperatorLastWeek, L"Is last week"},
      {L"cxSFilterOperatorLast14Days", &cxSFilterOperatorLast14Days, L"Is last 14 days"},
      {L"cxSFilterOperatorLastTwoWeeks", &cxSFilterOperatorLastTwoWeeks, L"Is last two weeks"},
      {L"cxSFilterOperatorLast30Days", &cxSFilterOperatorLast30Days, L"Is last 30 days"},
      {L"cxSFilterOperatorLastMonth", &cxSFilterOperatorLastMonth, L"Is last month"},
      {L"cxSFilterOperatorLastYear", &cxSFilterOperatorLastYear, L"Is last year"},
      {L"cxSFilterOperatorPast", &cxSFilterOperatorPast, L"Is in the past"},
      {L"cxSFilterOperatorThisWeek", &cxSFilterOperatorThisWeek, L"Is this week"},
      {L"cxSFilterOperatorThisMonth", &cxSFilterOperatorThisMonth, L"Is this month"},
      {L"cxSFilterOperatorThisYear", &cxSFilterOperatorThisYear, L"Is this year"},
      {L"cxSFilterOperatorNext7Days", &cxSFilterOperatorNext7Days, L"Is next 7 days"},
      {L"cxSFilterOperatorNextWeek", &cxSFilterOperatorNextWeek, L"Is next week"},
      {L"cxSFilterOperatorNext14Days", &cxSFilterOperatorNext14Days, L"Is next 14 days"},
      {L"cxSFilterOperatorNextTwoWeeks", &cxSFilterOperatorNextTwoWeeks, L"Is next two weeks"},
      {L"cxSFilterOperatorNext30Days", &cxSFilterOperatorNext30Days, L"Is next 30 days"},
      {L"cxSFilterOperatorNextMonth", &cxSFilterOperatorNextMonth, L"Is next month"},
      {L"cxSFilterOperatorNextYear", &cxSFilterOperatorNextYear, L"Is next year"},
      {L"cxSFilterOperatorFuture", &cxSFilterOperatorFuture, L"Is in the future"},
      {L"cxSFilterAndCaption", &cxSFilterAndCaption, L"and"},
      {L"cxSFilterOrCaption", &cxSFilterOrCaption, L"or"},
      {L"cxSFilterNotCaption", &cxSFilterNotCaption, L"not"},
      {L"cxSFilterBlankCaption", &cxSFilterBlankCaption, L"blank"},
      {L"cxSFilterFromCaption", &cxSFilterFromCaption, L"from"},
      {L"cxSFilterToCaption", &cxSFilterToCaption, L"to"},
      {L"cxSFilterOperatorIsNull", &cxSFilterOperatorIsNull, L"Is blank"},
      {L"cxSFilterOperatorIsNotNull", &cxSFilterOperatorIsNotNull, L"Is not blank"},
      {L"cxSFilterOperatorBeginsWith", &cxSFilterOperatorBeginsWith, L"Begins with"},
      {L"cxSFilterOperatorDoesNotBeginWith", &cxSFilterOperatorDoesNotBeginWith, L"Does not begin with"},
      {L"cxSFilterOperatorEndsWith", &cxSFilterOperatorEndsWith, L"Ends with"},
      {L"cxSFilterOperatorDoesNotEndWith", &cxSFilterOperatorDoesNotEndWith, L"Does not end with"},
      {L"cxSFilterOperatorContains", &cxSFilterOperatorContains, L"Contains"},
      {L"cxSFilterOperatorDoesNotContain", &cxSFilterOperatorDoesNotContain, L"Does not contain"},
      {L"cxSFilterBoxAllCaption", &cxSFilterBoxAllCaption, L"(All)"},
      {L"cxSFilterBoxCustomCaption", &cxSFilterBoxCustomCaption, L"(Custom...)"},
      {L"cxSFilterBoxBlanksCaption", &cxSFilterBoxBlanksCaption, L"(Blanks)"},
      {L"cxSFilterBoxNonBlanksCaption", &cxSFilterBoxNonBlanksCaption, L"(Non blanks)"},
  };
  return rows;
}

TEST(DataFilterStrings, EveryIdentifierReadsItsDefaultText) {
  ASSERT_EQ(Rows().size(), 52u);
  ExpectStringSet(DataFilterProductName, Rows());
}

TEST(DataFilterStrings, StartUpAndShutDownAreCounted) {
  ExpectCountedStartUp(DataFilterProductName, 52, &cxFilterConstsInitialization, &cxFilterConstsFinalization);
  ExpectStringSet(DataFilterProductName, Rows());
}

}  // namespace
