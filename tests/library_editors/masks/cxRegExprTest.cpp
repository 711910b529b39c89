#include "library/editors/masks/cxRegExpr.h"

#include "library/core/locale/cxFormats.h"

#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The separators the patterns' '/', ':' and \p stand for, pinned for a test.
class TPinnedSeparators {
 public:
  TPinnedSeparators(wchar_t ADate = L'/', wchar_t ATime = L':', wchar_t ADecimal = L'.')
      : FSaved(FormatSettings) {
    FormatSettings.DateSeparator = ADate;
    FormatSettings.TimeSeparator = ATime;
    FormatSettings.DecimalSeparator = ADecimal;
  }
  ~TPinnedSeparators() { FormatSettings = FSaved; }
  TPinnedSeparators(const TPinnedSeparators&) = delete;
  TPinnedSeparators& operator=(const TPinnedSeparators&) = delete;

 private:
  TFormatSettings FSaved;
};

// An engine that logs its forced characters: "+x" for an update with x, "-"
// for a deletion.
class TLoggingRegExpr : public TcxRegExpr {
  SK_CLASS(TLoggingRegExpr, TcxRegExpr)
 public:
  void Create() {
    inherited::Create();
    SetOnSymbolUpdate(BindEvent<&TLoggingRegExpr::Updated>(this));
    SetOnSymbolDelete(BindEvent<&TLoggingRegExpr::Deleted>(this));
  }
  String Log;

 private:
  void Updated(wchar_t ASymbol) { Log += String(L"+") + ASymbol; }
  void Deleted() { Log += L"-"; }
};

TOwned<TcxRegExpr> Compiled(const String& APattern, bool ACaseInsensitive = false) {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  engine->SetCaseInsensitive(ACaseInsensitive);
  engine->Compile(APattern);
  return engine;
}

// The characters fed before the first one the engine refuses.
std::size_t Feed(TcxRegExpr& AEngine, const String& AText, String* AAccepted = nullptr) {
  std::size_t count = 0;
  for (wchar_t c : AText) {
    wchar_t token = c;
    if (!AEngine.Next(token)) break;
    if (AAccepted) *AAccepted += token;
    ++count;
  }
  return count;
}

std::vector<String> CompileErrors(const String& APattern) {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  try {
    engine->Compile(APattern);
  } catch (const EcxRegExprError& E) {
    std::vector<String> result;
    for (int i = 0; i < E.Errors().Count(); ++i) result.push_back(E.Errors().GetItems(i).FullMessage());
    EXPECT_FALSE(engine->IsCompiled());
    return result;
  }
  return {};
}

String Repeat(const String& AText, int ACount) {
  String result;
  for (int i = 0; i < ACount; ++i) result += AText;
  return result;
}

// ---------------------------------------------------------------------------
// Compile errors: every error of the pattern, with its full message

struct TErrorCase {
  const char* Name;
  String Pattern;
  std::vector<String> Messages;
};

void PrintTo(const TErrorCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class RegExprErrors : public testing::TestWithParam<TErrorCase> {};

TEST_P(RegExprErrors, AreCollectedWithTheirPositions) {
  TPinnedSeparators separators;
  EXPECT_EQ(CompileErrors(GetParam().Pattern), GetParam().Messages);
}

const String Deep400 = Repeat(L"(", 400) + L"a" + Repeat(L")", 400);
const String Deep401 = Repeat(L"(", 401) + L"a" + Repeat(L")", 401);

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegExprErrors,
    testing::Values(
        TErrorCase{"Empty", L"", {L"The source stream is empty"}},
        TErrorCase{"OnlyWhiteSpace", L" \t\r\n", {L"The source stream is empty"}},
        TErrorCase{"MissingParenthesis", L"(a", {L"Missing ')'"}},
        TErrorCase{"UnnecessaryParenthesis", L"a)", {L"Unnecessary ')'"}},
        TErrorCase{"BalancedButReversed", L")(", {L"Line1, Char1: Illegal ')'", L"The alternative should not be empty"}},
        TErrorCase{"SpaceAfterBackslash", L"a\\ b", {L"Line1, Char3: The space character is not allowed after '\\'"}},
        TErrorCase{"HexAtEnd", L"\\x4", {L"Line1, Char4: Hexadecimal number expected"}},
        TErrorCase{"HexBadDigit", L"\\xG1", {L"Line1, Char3: Hexadecimal number expected but 'G' found"}},
        TErrorCase{"UnterminatedClass", L"[abc", {L"Line1, Char5: Missing ']'"}},
        TErrorCase{"UnterminatedClassAfterDash", L"[a-", {L"Line1, Char4: Missing ']'"}},
        TErrorCase{"EmptyClass", L"[]", {L"Line1, Char2: Can't create empty enumeration"}},
        TErrorCase{"EmptyNegatedClass", L"[^]", {L"Line1, Char3: Can't create empty enumeration"}},
        TErrorCase{"ReversedRange", L"[c-a]",
                   {L"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
        TErrorCase{"OneCharacterRange", L"[a-a]",
                   {L"Line1, Char4: The starting character of the subrange must be less than the finishing one"}},
        TErrorCase{"ChainedRange", L"[a-c-e]", {L"Line1, Char5: Illegal '-'"}},
        TErrorCase{"DoubleStar", L"a**", {L"Line1, Char3: The '*' quantifier cannot be applied here"}},
        TErrorCase{"PlusOnOptionalGroup", L"(a?)+", {L"Line1, Char5: The '+' quantifier cannot be applied here"}},
        TErrorCase{"StarFirst", L"*a", {L"Line1, Char1: Illegal quantifier '*'"}},
        TErrorCase{"QuestionAfterBar", L"a|?b", {L"Line1, Char3: Illegal quantifier '?'"}},
        TErrorCase{"BracesOnOptional", L"a?{2}", {L"Line1, Char3: The parameter quantifier cannot be applied here"}},
        TErrorCase{"BracesReversed", L"a{3,2}", {L"Line1, Char6: Incorrect parameter quantifier"}},
        TErrorCase{"BracesFirst", L"{2}",
                   {L"Line1, Char1: Incorrect parameter quantifier", L"Line1, Char2: Illegal integer value",
                    L"Line1, Char3: Illegal '}'"}},
        TErrorCase{"BracesThreeCounts", L"a{1,2,3}",
                   {L"Line1, Char6: Incorrect parameter quantifier", L"Line1, Char7: Illegal integer value",
                    L"Line1, Char8: Illegal '}'"}},
        TErrorCase{"BracesWithoutCount", L"a{,3}",
                   {L"Line1, Char3: Incorrect parameter quantifier", L"Line1, Char4: Illegal integer value",
                    L"Line1, Char5: Illegal '}'"}},
        TErrorCase{"BracesUnterminated", L"a{2", {L"Line1, Char4: Missing '}'"}},
        TErrorCase{"BracesStrayCharacters", L"a{x'2}", {L"Line1, Char3: Illegal 'x'", L"Line1, Char4: Illegal ' ' '"}},
        TErrorCase{"EmptyGroup", L"()", {L"Line1, Char2: The block should not be empty"}},
        TErrorCase{"EmptyLastAlternativeOfGroup", L"(a|)", {L"Line1, Char4: The block should not be empty"}},
        TErrorCase{"EmptyFirstAlternative", L"|a", {L"Line1, Char1: The alternative should not be empty"}},
        TErrorCase{"EmptyLastAlternative", L"a|", {L"The alternative should not be empty"}},
        TErrorCase{"ReferenceBeyondGroups", L"(a)\\2", {L"Line1, Char4: Too big reference number"}},
        TErrorCase{"UnterminatedQuote", L"'abc", {L"Line1, Char5: Missing ' ' '"}},
        TErrorCase{"PositionOnSecondLine", L"ab\r\n  [x",
                   {L"Line2, Char5: Missing ']'"}},
        TErrorCase{"EveryErrorOfTheScan", L"\\xZ [",
                   {L"Line1, Char3: Hexadecimal number expected but 'Z' found", L"Line1, Char6: Missing ']'"}},
        // The limits: nesting, expansion size, copies.
        TErrorCase{"NestedTooDeep", Deep401, {L"Line1, Char401: Illegal '('"}},
        TErrorCase{"TooManyCopies", L"a{100000000}", {L"Line1, Char2: Incorrect parameter quantifier"}},
        TErrorCase{"CountBeyondInteger", L"a{99999999999999999999}", {L"Line1, Char2: Incorrect parameter quantifier"}},
        TErrorCase{"OptionalChainTooDeep", L"a{1,100000}", {L"Line1, Char2: Incorrect parameter quantifier"}},
        TErrorCase{"NestedExpansionsTooBig", L"((a{1000}){1000}){1000}",
                   {L"Line1, Char11: Incorrect parameter quantifier", L"Line1, Char18: Incorrect parameter quantifier"}},
        TErrorCase{"CopiesOfHugeGroup", L"(a{40000})\\1", {L"Line1, Char11: Too big reference number"}},
        TErrorCase{"QuantifierWrapsTooDeep", L"a" + Repeat(L"+", 402), {L"Line1, Char403: Illegal quantifier '+'"}}),
    [](const testing::TestParamInfo<TErrorCase>& AInfo) { return AInfo.param.Name; });

TEST(RegExprErrorsText, FullMessageJoinsLineAndColumnWithoutBlanks) {
  EXPECT_EQ(TcxRegExprError(2, 7, L"x").FullMessage(), L"Line2, Char7: x");
  EXPECT_EQ(TcxRegExprError(3, 0, L"x").FullMessage(), L"Line3: x");
  EXPECT_EQ(TcxRegExprError(0, 5, L"x").FullMessage(), L"x");
}

TEST(RegExprErrorsText, NilStreamIsNotAssigned) {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  try {
    engine->Compile(static_cast<TStream*>(nullptr));
    FAIL() << "compiled a nil stream";
  } catch (const EcxRegExprError& E) {
    ASSERT_EQ(E.Errors().Count(), 1);
    EXPECT_EQ(E.Errors().GetItems(0).FullMessage(), L"The source stream is not assigned");
    EXPECT_EQ(E.Message(), L"");
  }
}

TEST(RegExprErrorsText, UseBeforeCompilationRaisesNotCompiled) {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  wchar_t c = L'a';
  try {
    engine->Next(c);
    FAIL() << "fed an engine that was never compiled";
  } catch (const EcxRegExprError&) {
    FAIL() << "a compile error for a use";
  } catch (const EcxEditError& E) {
    EXPECT_EQ(E.Message(), L"Regular expression is not compiled");
  }
  EXPECT_THROW(engine->IsFinal(), EcxEditError);
  EXPECT_THROW(engine->Prev(), EcxEditError);
  EXPECT_THROW(engine->Reset(), EcxEditError);
  EXPECT_THROW(engine->IsStart(), EcxEditError);
  EXPECT_THROW(engine->NextEx(L"a"), EcxEditError);
  EXPECT_EQ(engine->Print(), L"");
  EXPECT_EQ(engine->Stream(), nullptr);
}

TEST(RegExprErrorsText, SecondCompilationReplacesTheFirst) {
  TOwned<TcxRegExpr> engine = Compiled(L"a");
  try {
    engine->Compile(L"(b");
    FAIL();
  } catch (const EcxRegExprError& E) {
    EXPECT_EQ(E.Errors().Count(), 1);
  }
  EXPECT_FALSE(engine->IsCompiled());
  EXPECT_EQ(engine->Stream(), nullptr);
  // The raised list is the failing attempt's own, not emptied by the next compilation.
  try {
    engine->Compile(L"[");
    FAIL();
  } catch (const EcxRegExprError& E) {
    engine->Compile(L"b");
    ASSERT_EQ(E.Errors().Count(), 1);
    EXPECT_EQ(E.Errors().GetItems(0).FullMessage(), L"Line1, Char2: Missing ']'");
  }
  EXPECT_TRUE(engine->IsCompiled());
  EXPECT_EQ(Feed(*engine, L"b"), 1u);
  engine->Reset();
  EXPECT_EQ(Feed(*engine, L"a"), 0u);
}

// ---------------------------------------------------------------------------
// Matching: how many characters are accepted, and whether they are complete

struct TMatchCase {
  const char* Name;
  String Pattern;
  String Text;
  std::size_t Accepted;
  bool Final;
  bool CaseInsensitive = false;
  String Echo = L"";  // the accepted characters as the engine hands them back, when they differ
};

void PrintTo(const TMatchCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class RegExprMatches : public testing::TestWithParam<TMatchCase> {};

TEST_P(RegExprMatches, FeedOneCharacterAtATime) {
  TPinnedSeparators separators;
  const TMatchCase& test = GetParam();
  TOwned<TcxRegExpr> engine = Compiled(test.Pattern, test.CaseInsensitive);
  String echo;
  EXPECT_EQ(Feed(*engine, test.Text, &echo), test.Accepted);
  EXPECT_EQ(engine->IsFinal(), test.Final);
  EXPECT_EQ(echo, test.Echo.empty() ? test.Text.substr(0, test.Accepted) : test.Echo);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegExprMatches,
    testing::Values(
        TMatchCase{"BlanksAreIgnored", L"a b", L"ab", 2, true},
        TMatchCase{"QuotedBlankIsRequired", L"a' 'b", L"ab", 1, false},
        TMatchCase{"QuotedBlankMatches", L"a' 'b", L"a b", 3, true},
        TMatchCase{"DoubledQuote", L"'it''s'", L"it's", 4, true},
        TMatchCase{"DashFirstInClass", L"[-a]", L"-", 1, true},
        TMatchCase{"DashLastInClass", L"[a-]", L"-", 1, true},
        TMatchCase{"DashBeforeBlankAndBracket", L"[a- ]", L"-", 1, true},
        TMatchCase{"RangeInClass", L"[a-c]", L"b", 1, true},
        TMatchCase{"RangeExcludesDash", L"[a-c]", L"-", 0, false},
        TMatchCase{"NegatedClass", L"[^a-c]x", L"dx", 2, true},
        TMatchCase{"NegatedClassRejects", L"[^a-c]", L"b", 0, false},
        TMatchCase{"StarOverPlus", L"a+*", L"aaa", 3, true},
        TMatchCase{"StarOverPlusEmpty", L"a+*", L"", 0, true},
        TMatchCase{"PlusThenOptional", L"a+?b", L"b", 1, true},
        TMatchCase{"ReferenceCopiesPattern", L"(ab)\\1", L"abab", 4, true},
        TMatchCase{"ReferenceIsNotText", L"(\\d)-\\1", L"1-2", 3, true},
        TMatchCase{"ReferenceToBracedGroup", L"(ab){2}\\1", L"ababab", 6, true},
        TMatchCase{"ReferenceToBracedGroupIsAsWritten", L"(ab){2}\\1", L"abababab", 6, true},
        TMatchCase{"FinalBackslashIgnored", L"x\\", L"x", 1, true},
        TMatchCase{"EscapedSpecials", L"\\(\\.\\\\\\0", L"(.\\0", 4, true},
        TMatchCase{"ControlEscapes", L"\\t\\n\\r\\a\\e\\f", L"\t\n\r\a\x1b\f", 6, true},
        TMatchCase{"HexEscape", L"\\x41\\x7e", L"A~", 2, true},
        TMatchCase{"OutsideClassesSpecialsAreLiteral", L"^$]}-,", L"^$]}-,", 6, true},
        TMatchCase{"OptionalAcceptsEmpty", L"a?", L"", 0, true},
        TMatchCase{"UnquantifiedGroupIsNotSkipped", L"(a?)", L"", 0, false},
        TMatchCase{"UnquantifiedGroupAfterLiteral", L"x(a?)", L"x", 1, false},
        TMatchCase{"UnquantifiedGroupAfterLiteralTaken", L"x(a?)", L"xa", 2, true},
        TMatchCase{"ExactCount", L"a{3}", L"aaaa", 3, true},
        TMatchCase{"OpenCount", L"a{2,}", L"aaaaa", 5, true},
        TMatchCase{"OpenCountTooFew", L"a{2,}", L"a", 1, false},
        TMatchCase{"CountRange", L"a{2,4}b", L"aaaab", 5, true},
        TMatchCase{"CountRangeTooMany", L"a{2,4}", L"aaaaa", 4, true},
        TMatchCase{"ZeroCountIsOptional", L"a{0,2}b", L"b", 1, true},
        TMatchCase{"ZeroExactCount", L"xa{0}y", L"xy", 2, true},
        TMatchCase{"AlternativesInGroup", L"(ab|cd)+", L"abcdab", 6, true},
        TMatchCase{"DigitsAndSeparators", L"\\d\\d/\\d\\d:\\d", L"12/34:5", 7, true},
        TMatchCase{"DecimalSeparator", L"\\d\\p\\d", L"1.5", 3, true},
        TMatchCase{"ClassEscapes", L"\\w\\W\\s\\S\\D", L"_- x-", 5, true},
        TMatchCase{"SpaceClassTakesNul", L"\\s", String(1, L'\0'), 1, true},
        TMatchCase{"DotTakesLineBreak", L".", L"\n", 1, true},
        TMatchCase{"EmptyLoopTerminates", L"(a?){1,}b", Repeat(L"a", 1000) + L"b", 1001, true},
        TMatchCase{"EmptyLoopAcceptsRepeats", L"(a?){1,}", L"aaa", 3, true},
        TMatchCase{"CaseInsensitiveLiteral", L"abc", L"ABC", 3, true, true, L"abc"},
        TMatchCase{"CaseInsensitiveRangeIgnoresCase", L"[a-z]", L"A", 0, false, true},
        TMatchCase{"CaseInsensitiveNegatedClass", L"[^a]", L"A", 0, false, true},
        TMatchCase{"CaseInsensitiveClassMember", L"[ab]", L"B", 1, true, true, L"b"},
        TMatchCase{"ExactMatchWins", L"a|A", L"a", 1, true, true},
        TMatchCase{"ExactMatchWinsUpper", L"a|A", L"A", 1, true, true},
        TMatchCase{"CaseSensitiveByDefault", L"abc", L"ABC", 0, false}),
    [](const testing::TestParamInfo<TMatchCase>& AInfo) { return AInfo.param.Name; });

TEST(RegExprMatching, SeparatorsAreReadWhenMatchingButDecimalWhenCompiling) {
  TPinnedSeparators separators(L'/', L':', L'.');
  TOwned<TcxRegExpr> engine = Compiled(L"\\d\\d/\\d\\d\\p");
  FormatSettings.DateSeparator = L'.';
  FormatSettings.DecimalSeparator = L',';
  EXPECT_EQ(Feed(*engine, L"12/"), 2u);
  engine->Reset();
  EXPECT_EQ(Feed(*engine, L"12.34,"), 5u);
  engine->Reset();
  EXPECT_EQ(Feed(*engine, L"12.34."), 6u);
  EXPECT_TRUE(engine->IsFinal());
}

TEST(RegExprMatching, RejectedCharacterLeavesTheStateAndNextExSkipsIt) {
  TOwned<TcxRegExpr> engine = Compiled(L"\\d+");
  EXPECT_EQ(engine->NextEx(L"1x2"), L"12");
  EXPECT_TRUE(engine->IsFinal());
  TOwned<TcxRegExpr> insensitive = Compiled(L"abc", true);
  EXPECT_EQ(insensitive->NextEx(L"AbC"), L"AbC");  // as typed, not as the pattern writes it
  EXPECT_TRUE(insensitive->IsFinal());
}

TEST(RegExprMatching, PrevWalksBackToTheStart) {
  TOwned<TcxRegExpr> engine = Compiled(L"ab(c|d)");
  EXPECT_TRUE(engine->IsStart());
  EXPECT_FALSE(engine->Prev());
  ASSERT_EQ(Feed(*engine, L"abd"), 3u);
  EXPECT_TRUE(engine->IsFinal());
  EXPECT_FALSE(engine->IsStart());
  EXPECT_TRUE(engine->Prev());
  EXPECT_FALSE(engine->IsFinal());
  wchar_t c = L'c';
  EXPECT_TRUE(engine->Next(c));
  EXPECT_TRUE(engine->IsFinal());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(engine->Prev());
  EXPECT_TRUE(engine->IsStart());
  EXPECT_FALSE(engine->Prev());
}

TEST(RegExprMatching, PrintDumpsTheTree) {
  TOwned<TcxRegExpr> engine = Compiled(L"a+?(b|c)*");
  EXPECT_EQ(engine->Print(),
            L"<Start_Alt>\r\n"
            L"<Start_Block>\r\n<Start_Alt>\r\nitem --> +\r\n<Finish_Alt>\r\n<Finish_Block> --> ?\r\n"
            L"<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\n<Finish_Alt>\r\n<Start_Alt>\r\nitem --> \r\n"
            L"<Finish_Alt>\r\n<Finish_Block> --> *\r\n"
            L"<Finish_Alt>\r\n");
  EXPECT_EQ(Compiled(L"a{2,4}")->Print(),
            L"<Start_Alt>\r\n<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\nitem --> \r\n"
            L"<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\nitem --> ?\r\n<Finish_Alt>\r\n<Finish_Block> --> ?\r\n"
            L"<Finish_Alt>\r\n<Finish_Block> --> \r\n<Finish_Alt>\r\n");
}

TEST(RegExprMatching, StreamsAreReadAsUtf8) {
  const RawByteString bytes = "\xc3\xa9+";  // é+
  TOwned<TBytesStream> stream(New<TBytesStream>(TBytes(bytes.begin(), bytes.end())));
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  engine->Compile(stream.get());
  EXPECT_EQ(Feed(*engine, L"\u00e9\u00e9"), 2u);
  ASSERT_NE(engine->Stream(), nullptr);
  EXPECT_EQ(engine->Stream()->Size(), 3);
}

// ---------------------------------------------------------------------------
// The forced continuation

TEST(RegExprUpdate, ForcedPrefixIsReportedAtCompilation) {
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->SetUpdateOn(true);
  engine->Compile(L"'+1-'\\d");
  EXPECT_EQ(engine->Log, L"+++1+-");
  engine->Log.clear();
  wchar_t c = L'5';
  EXPECT_TRUE(engine->Next(c));
  EXPECT_TRUE(engine->IsFinal());
  EXPECT_EQ(engine->Log, L"");
}

TEST(RegExprUpdate, SwitchingOnAfterCompilationReportsAtOnce) {
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->Compile(L"ab\\d");
  EXPECT_EQ(engine->Log, L"");
  engine->SetUpdateOn(true);
  EXPECT_EQ(engine->Log, L"+a+b");
}

TEST(RegExprUpdate, SeparatorIsTypedAndTakenBackWithItsDigit) {
  TPinnedSeparators separators(L'.');
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->SetUpdateOn(true);
  engine->Compile(L"\\d\\d/\\d\\d");
  EXPECT_EQ(engine->Log, L"");
  EXPECT_EQ(Feed(*engine, L"12"), 2u);
  EXPECT_EQ(engine->Log, L"+.");
  engine->Log.clear();
  EXPECT_TRUE(engine->Prev());
  EXPECT_EQ(engine->Log, L"-");
  // One digit is left: the next is a digit again, not the separator.
  wchar_t c = L'.';
  EXPECT_FALSE(engine->Next(c));
  c = L'3';
  EXPECT_TRUE(engine->Next(c));
  EXPECT_TRUE(engine->Prev());
  EXPECT_TRUE(engine->Prev());
  EXPECT_TRUE(engine->IsStart());
}

TEST(RegExprUpdate, ClassIsNotForced) {
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->SetUpdateOn(true);
  engine->Compile(L"[a]b");
  EXPECT_EQ(engine->Log, L"");
  wchar_t c = L'a';
  EXPECT_TRUE(engine->Next(c));
  EXPECT_EQ(engine->Log, L"+b");
}

TEST(RegExprUpdate, StopsWhereTheTextCouldEnd) {
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->SetUpdateOn(true);
  engine->Compile(L"a(bc)?d|a(bc)?e");
  EXPECT_EQ(engine->Log, L"+a");
  engine->Log.clear();
  wchar_t c = L'b';
  EXPECT_TRUE(engine->Next(c));
  EXPECT_EQ(engine->Log, L"+c");
}

TEST(RegExprUpdate, NextExNeverTypes) {
  TOwned<TLoggingRegExpr> engine(New<TLoggingRegExpr>());
  engine->Compile(L"\\d'--'\\d");
  engine->SetUpdateOn(true);
  engine->Reset();
  engine->Log.clear();
  EXPECT_EQ(engine->NextEx(L"1"), L"1");
  EXPECT_EQ(engine->Log, L"");
}

// ---------------------------------------------------------------------------
// Pathological patterns: each compiles or fails with a message, and a long
// input is matched in time proportional to its length.

TEST(RegExprLimits, NestingAtTheLimitCompilesMatchesAndPrints) {
  TOwned<TcxRegExpr> engine = Compiled(Deep400);
  EXPECT_EQ(Feed(*engine, L"a"), 1u);
  EXPECT_TRUE(engine->IsFinal());
  EXPECT_FALSE(engine->Print().empty());
}

TEST(RegExprLimits, LongOptionalChainsAndSequences) {
  TOwned<TcxRegExpr> chain = Compiled(L"a{1,390}");
  EXPECT_EQ(Feed(*chain, Repeat(L"a", 400)), 390u);
  EXPECT_TRUE(chain->IsFinal());

  TOwned<TcxRegExpr> copies = Compiled(L"a{60000}");
  EXPECT_EQ(Feed(*copies, Repeat(L"a", 60001)), 60000u);
  EXPECT_TRUE(copies->IsFinal());

  // Thousands of skippable items in a row: every one may come next.
  TOwned<TcxRegExpr> optional = Compiled(Repeat(L"a?", 5000) + L"b");
  EXPECT_EQ(Feed(*optional, Repeat(L"a", 5000) + L"b"), 5001u);
  EXPECT_TRUE(optional->IsFinal());

  // Nested optional groups: exponentially many paths, each state once.
  TOwned<TcxRegExpr> nested = Compiled(Repeat(L"(", 300) + L"a" + Repeat(L")?", 300) + Repeat(L"(b?)?", 300) + L"c");
  EXPECT_EQ(Feed(*nested, L"abbbc"), 5u);
  EXPECT_TRUE(nested->IsFinal());
}

TEST(RegExprLimits, CopiesOfOpenGroupsStopGrowing) {
  // Each reference copies the group so far, doubling it.
  EXPECT_EQ(CompileErrors(L"(a" + Repeat(L"\\1", 40) + L")").size(), 40u - 16u);
}

}  // namespace

// ---------------------------------------------------------------------------
// The masks the format controller builds for date editors compile, and accept
// dates written in the controller's own masked display formats.

TEST(RegExprFormatMasks, DateMasksAcceptTheirOwnDates) {
  TOwned<TcxFormatController> controller(New<TcxFormatController>());
  const TDateTime moments[] = {EncodeDate(2026, 12, 10) + EncodeTime(15, 4, 5, 0),
                               EncodeDate(1999, 1, 31) + EncodeTime(0, 59, 0, 0)};
  for (const auto& [mask, format] :
       {std::pair{controller->RegExprDateEditMask(), controller->MaskedDateEditFormat()},
        std::pair{controller->RegExprDateTimeEditMask(), controller->MaskedDateTimeEditFormat()}}) {
    SCOPED_TRACE(testing::Message() << "mask " << UTF8Encode(mask));
    TOwned<TcxRegExpr> engine = Compiled(mask);
    for (const TDateTime moment : moments) {
      const String text = FormatDateTime(format, moment);
      SCOPED_TRACE(UTF8Encode(text));
      engine->Reset();
      EXPECT_EQ(Feed(*engine, text), text.size());
      EXPECT_TRUE(engine->IsFinal());
    }
  }
}
