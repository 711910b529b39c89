#include "library/editors/masks/cxStandardMask.h"

#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"

#include <gtest/gtest.h>

namespace {

TOwned<TcxStandardMask> Compiled(const String& AMask) {
  TOwned<TcxStandardMask> mask(New<TcxStandardMask>());
  mask->Compile(AMask);
  return mask;
}

String Formatted(const String& AMask, String AText, bool AChangeCharCase = true,
                 bool AMatchForBlanksAndLiterals = true) {
  Compiled(AMask)->Format(AText, AChangeCharCase, AMatchForBlanksAndLiterals);
  return AText;
}

// The positions as text: a literal as itself, input positions by their mask
// letter (upper case required), '#' for a digit-or-sign position.
String Layout(const TcxStandardMask& AMask) {
  String result;
  for (int i = 0; i < AMask.Count(); ++i) {
    const TcxStandardMaskCustomItem* item = AMask.Items(i);
    if (const auto* literal = dynamic_cast<const TcxStandardMaskLiteralItem*>(item)) {
      result += literal->Literal();
      continue;
    }
    const auto* input = static_cast<const TcxStandardMaskManyItem*>(item);
    wchar_t letter = dynamic_cast<const TcxStandardMaskNumericSymbolItem*>(item) ? L'#'
                     : dynamic_cast<const TcxStandardMaskNumericItem*>(item)    ? L'0'
                     : dynamic_cast<const TcxStandardMaskAlphaItem*>(item)      ? L'L'
                     : dynamic_cast<const TcxStandardMaskAlphaNumericItem*>(item) ? L'A'
                                                                                   : L'C';
    if (input->Optional() && letter != L'#') letter = letter == L'0' ? L'9' : static_cast<wchar_t>(letter - L'A' + L'a');
    result += letter;
  }
  return result;
}

// ---------------------------------------------------------------------------
// Compilation

struct TCompileCase {
  const char* Name;
  String Mask;
  String Layout;
  bool Leading;
  bool SaveLiterals;
  wchar_t Blank;
};

void PrintTo(const TCompileCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class StandardMaskCompile : public testing::TestWithParam<TCompileCase> {};

TEST_P(StandardMaskCompile, Positions) {
  TFormatSettings saved = FormatSettings;
  FormatSettings.DateSeparator = L'.';
  FormatSettings.TimeSeparator = L'h';
  const TCompileCase& test = GetParam();
  TOwned<TcxStandardMask> mask(New<TcxStandardMask>());
  mask->SetBlank(L'*');  // replaced by every compilation
  mask->Compile(test.Mask);
  FormatSettings = saved;
  EXPECT_EQ(Layout(*mask), test.Layout);
  EXPECT_EQ(mask->Leading(), test.Leading);
  EXPECT_EQ(mask->SaveLiteralCharacters(), test.SaveLiterals);
  EXPECT_EQ(mask->Blank(), test.Blank);
  EXPECT_EQ(mask->Mask(), test.Mask);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, StandardMaskCompile,
    testing::Values(TCompileCase{"Phone", L"(999) 000-0000;0;_", L"(999) 000-0000", false, false, L'_'},
                    TCompileCase{"SavedWithOwnBlank", L"00;1;#", L"00", false, true, L'#'},
                    TCompileCase{"SaveFlagOnly", L"LL;0", L"LL", false, false, L'_'},
                    TCompileCase{"SemicolonNotAFlag", L"00;x", L"00;x", false, true, L'_'},
                    TCompileCase{"SemicolonWithTwoCharacters", L"0;0;", L"0;0;", false, true, L'_'},
                    TCompileCase{"FinalBackslashDropped", L"0\\", L"0", false, true, L'_'},
                    TCompileCase{"EscapedMaskCharacters", L"\\0\\9\\L\\\\", L"09L\\", false, true, L'_'},
                    TCompileCase{"Separators", L"00/00 00:00", L"00.00 00h00", false, true, L'_'},
                    TCompileCase{"EveryClass", L"09#LlAaCc", L"09#LlAaCc", false, true, L'_'},
                    TCompileCase{"Leading", L"!9999", L"9999", true, true, L'_'},
                    TCompileCase{"ExclamationLaterIsLiteral", L"0!0", L"0!0", false, true, L'_'},
                    TCompileCase{"CaseMarksTakeNoPosition", L">LL<ll<>L", L"LLllL", false, true, L'_'},
                    TCompileCase{"Empty", L"", L"", false, true, L'_'}),
    [](const testing::TestParamInfo<TCompileCase>& AInfo) { return AInfo.param.Name; });

// ---------------------------------------------------------------------------
// Formatting and the stored value

TEST(StandardMask, PhoneMaskWithoutSavedLiterals) {
  TOwned<TcxStandardMask> mask = Compiled(L"(999) 000-0000;0;_");
  EXPECT_EQ(mask->Count(), 14);
  EXPECT_EQ(mask->FullEmptyString(), L"(___) ___-____");
  EXPECT_EQ(mask->EmptyString(), String(10, L' '));
  String text = L"5551234567";
  mask->Format(text, true, false);  // ten characters, fourteen positions: the literals are skipped
  EXPECT_EQ(text, L"(555) 123-4567");
  mask->Format2(text);
  EXPECT_EQ(text, L"5551234567");
  String partial = L"(55_) 1__-____";
  mask->Format2(partial);
  EXPECT_EQ(partial, L"55 1      ");
}

TEST(StandardMask, PhoneMaskWithSavedLiterals) {
  TOwned<TcxStandardMask> mask = Compiled(L"(999) 000-0000;1;_");
  EXPECT_EQ(mask->EmptyString(), L"(   )    -    ");
  String text = L"(555) 123-4567";
  mask->Format(text, true, false);
  EXPECT_EQ(text, L"(555) 123-4567");
  mask->Format2(text);
  EXPECT_EQ(text, L"(555) 123-4567");
  String blanks = L"(5__) 1__-____";
  mask->Format2(blanks);
  EXPECT_EQ(blanks, L"(5  ) 1  -    ");
}

struct TFormatCase {
  const char* Name;
  String Mask;
  String Text;
  String Expected;
  bool ChangeCharCase = true;
  bool MatchForBlanksAndLiterals = true;
};

void PrintTo(const TFormatCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class StandardMaskFormat : public testing::TestWithParam<TFormatCase> {};

TEST_P(StandardMaskFormat, LaysTheTextOntoThePositions) {
  const TFormatCase& test = GetParam();
  EXPECT_EQ(Formatted(test.Mask, test.Text, test.ChangeCharCase, test.MatchForBlanksAndLiterals), test.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StandardMaskFormat,
    testing::Values(TFormatCase{"CaseConverted", L">LL<ll", L"AbCd", L"ABcd"},
                    TFormatCase{"CaseKeptWithoutConversion", L">LL<ll", L"AbCd", L"AbCd", false},
                    TFormatCase{"UserCaseAfterPair", L">L<>L", L"ab", L"Ab"},
                    TFormatCase{"MisfitDropped", L"00-00", L"1a2", L"12-__"},
                    TFormatCase{"LiteralTyped", L"00-00", L"12-34", L"12-34"},
                    TFormatCase{"LiteralFoundFurtherOn", L"00-00", L"1-2", L"1_-2_"},
                    TFormatCase{"BlankKeepsPosition", L"00-00", L"1 -_3", L"1_-_3"},
                    TFormatCase{"LeadingFillsFromTheRight", L"!9999", L"12", L"__12"},
                    TFormatCase{"LeadingAroundLiterals", L"!(999)", L"12", L"(_12)"},
                    TFormatCase{"TooLongTextIsCut", L"00", L"12345", L"12"},
                    TFormatCase{"EmptyText", L"00-00", L"", L"__-__"},
                    TFormatCase{"EmptyMask", L"", L"abc", L""},
                    TFormatCase{"SignPosition", L"#00", L"-12", L"-12"},
                    TFormatCase{"LiteralsSkippedOnlyWhenLengthsDiffer", L"00-00;0", L"12-3", L"12-3_", true, false},
                    TFormatCase{"LiteralsMatchedWithTheFlag", L"00-00;0", L"1234", L"12-34", true, true},
                    TFormatCase{"OwnBlank", L"00;1;*", L"1", L"1*"},
                    TFormatCase{"LettersOfOtherScripts", L"LL", L"\u0416\u03b1", L"\u0416\u03b1"},
                    TFormatCase{"DigitsOfOtherScripts", L"00", L"\u0661\u0662", L"\u0661\u0662"}),
    [](const testing::TestParamInfo<TFormatCase>& AInfo) { return AInfo.param.Name; });

TEST(StandardMask, VeryLongTextIsCutToThePositions) {
  String text(100000, L'7');
  TOwned<TcxStandardMask> mask = Compiled(L"000-000");
  mask->Format(text);
  EXPECT_EQ(text, L"777-777");
  String valid(100000, L'7');
  EXPECT_FALSE(mask->IsValid(valid));
}

// ---------------------------------------------------------------------------
// Validity

struct TValidCase {
  const char* Name;
  String Mask;
  String Text;
  bool Valid;
  bool FullValid;
};

void PrintTo(const TValidCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class StandardMaskValidity : public testing::TestWithParam<TValidCase> {};

TEST_P(StandardMaskValidity, PartialAndFull) {
  const TValidCase& test = GetParam();
  TOwned<TcxStandardMask> mask = Compiled(test.Mask);
  String text = test.Text;
  EXPECT_EQ(mask->IsValid(text), test.Valid);
  text = test.Text;
  EXPECT_EQ(mask->IsFullValid(text), test.FullValid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StandardMaskValidity,
    testing::Values(TValidCase{"BlankInRequired", L"00-00", L"12-_4", true, false},
                    TValidCase{"BlankInOptional", L"00-99", L"12-_4", true, true},
                    TValidCase{"BlankAtSign", L"#0", L"_1", true, true},
                    TValidCase{"SpaceIsBlank", L"09", L"1 ", true, true},
                    TValidCase{"LiteralMismatch", L"00-00", L"12+34", false, false},
                    TValidCase{"BlankAtLiteral", L"00-00", L"12_34", false, false},
                    TValidCase{"Shorter", L"00-00", L"12", true, false},
                    TValidCase{"Longer", L"00", L"123", false, false},
                    TValidCase{"LetterInDigit", L"00", L"1a", false, false},
                    TValidCase{"AnyCharacter", L"CC", L"%\u00e9", true, true},
                    TValidCase{"EmptyMaskEmptyText", L"", L"", true, true},
                    TValidCase{"EmptyMaskText", L"", L"a", false, false}),
    [](const testing::TestParamInfo<TValidCase>& AInfo) { return AInfo.param.Name; });

TEST(StandardMask, ValidityConvertsTheCaseInPlace) {
  TOwned<TcxStandardMask> mask = Compiled(L">LL<L");
  String text = L"abC";
  EXPECT_TRUE(mask->IsFullValid(text));
  EXPECT_EQ(text, L"ABc");
  String digits = L"1x";  // converted even where the test fails
  EXPECT_FALSE(Compiled(L">00")->IsValid(digits));
  EXPECT_EQ(digits, L"1X");
}

// ---------------------------------------------------------------------------
// Against the system: the character-type table for the classes, LCMapStringW
// for the case conversion, over the whole Basic Multilingual Plane.

TEST(StandardMaskAgainstSystem, ClassesFollowTheCharacterTypeTable) {
  TOwned<TcxStandardMask> digit = Compiled(L"0");
  TOwned<TcxStandardMask> letter = Compiled(L"L");
  TOwned<TcxStandardMask> alphaNumeric = Compiled(L"A");
  int digits = 0, letters = 0, failures = 0;
  for (unsigned code = 1; code <= 0xFFFF; ++code) {
    const wchar_t c = static_cast<wchar_t>(code);
    if (c == L'_' || c == L' ') continue;  // the blanks
    WORD type = 0;
    ASSERT_TRUE(GetStringTypeW(CT_CTYPE1, &c, 1, &type));
    const bool isDigit = (type & C1_DIGIT) != 0;
    const bool isAlpha = (type & C1_ALPHA) != 0;
    digits += isDigit;
    letters += isAlpha;
    String d(1, c), l(1, c), a(1, c);
    if (digit->IsFullValid(d) != isDigit || letter->IsFullValid(l) != isAlpha ||
        alphaNumeric->IsFullValid(a) != (isDigit || isAlpha)) {
      if (++failures <= 10) ADD_FAILURE() << "U+" << std::hex << code;
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(digits, 100);  // other scripts' digits count
  EXPECT_GT(letters, 10000);
}

TEST(StandardMaskAgainstSystem, CaseControlFollowsLCMapString) {
  TOwned<TcxStandardMask> upper = Compiled(L">C");
  TOwned<TcxStandardMask> lower = Compiled(L"<C");
  TOwned<TcxStandardMask> user = Compiled(L"C");
  int changed = 0, failures = 0;
  for (unsigned code = 1; code <= 0xFFFF; ++code) {
    const wchar_t c = static_cast<wchar_t>(code);
    if (code >= 0xD800 && code <= 0xDFFF) continue;  // lone surrogates have no case
    wchar_t expectedUpper = 0, expectedLower = 0;
    ASSERT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, &c, 1, &expectedUpper, 1), 1);
    ASSERT_EQ(LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, &c, 1, &expectedLower, 1), 1);
    String u(1, c), l(1, c), n(1, c);
    upper->Format(u);
    lower->Format(l);
    user->Format(n);
    changed += u[0] != c;
    if (u[0] != expectedUpper || l[0] != expectedLower || n[0] != c) {
      if (++failures <= 10) ADD_FAILURE() << "U+" << std::hex << code;
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(changed, 500);
}

}  // namespace
