#include "library/editors/edit/cxEdit.h"

#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <oleauto.h>

namespace {

// The same value as an OLE VARIANT, for oleaut32 to compare.
struct TOleValue {
  VARIANT V;
  explicit TOleValue(const Variant& A) {
    VariantInit(&V);
    switch (A.VType()) {
      case varEmpty: V.vt = VT_EMPTY; break;
      case varNull: V.vt = VT_NULL; break;
      case varInteger: V.vt = VT_I4; V.lVal = A.AsInteger(); break;
      case varDouble: V.vt = VT_R8; V.dblVal = A.AsDouble(); break;
      case varBoolean: V.vt = VT_BOOL; V.boolVal = A.AsBoolean() ? VARIANT_TRUE : VARIANT_FALSE; break;
      default: V.vt = VT_BSTR; V.bstrVal = SysAllocString(A.AsString().c_str()); break;
    }
  }
  ~TOleValue() { VariantClear(&V); }
  TOleValue(const TOleValue&) = delete;
  TOleValue& operator=(const TOleValue&) = delete;
};

struct TEqualityRow {
  const char* Name;
  Variant A;
  Variant B;
  bool Equal;      // EditValuesEqual
  bool Same;       // IsSameEditValue
  // The comparability rule answers where oleaut32 converts one side (or, for
  // Null, gives no answer).
  bool RuleDecides;
};

TEST(EditValues, EqualityAgreesWithVarCmpWhereBothAnswer) {
  const Variant null = Variant::NullValue();
  const TEqualityRow rows[] = {
      {"int equal", Variant(5), Variant(5), true, true, false},
      {"int differs", Variant(5), Variant(6), false, false, false},
      {"int and double equal", Variant(5), Variant(5.0), true, false, false},
      {"int and double differ", Variant(1), Variant(1.5), false, false, false},
      {"strings equal", Variant(L"abc"), Variant(L"abc"), true, true, false},
      {"strings differ in case", Variant(L"abc"), Variant(L"ABC"), false, false, false},
      {"booleans equal", Variant(true), Variant(true), true, true, false},
      {"booleans differ", Variant(true), Variant(false), false, false, false},
      {"Null and Null", null, null, true, true, true},
      {"Null and empty string", null, Variant(L""), false, false, true},
      {"string 1 and integer 1", Variant(L"1"), Variant(1), false, false, true},
      {"True and string True", Variant(true), Variant(L"True"), false, false, true},
  };
  for (const TEqualityRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(EditValuesEqual(row.A, row.B), row.Equal);
    EXPECT_EQ(IsSameEditValue(row.A, row.B), row.Same);
    EXPECT_EQ(EditValuesEqual(row.B, row.A), row.Equal) << "symmetric";
    if (row.RuleDecides) continue;
    TOleValue a(row.A), b(row.B);
    const HRESULT cmp = VarCmp(&a.V, &b.V, LOCALE_USER_DEFAULT, 0);
    ASSERT_TRUE(cmp == VARCMP_EQ || cmp == VARCMP_LT || cmp == VARCMP_GT) << std::hex << cmp;
    EXPECT_EQ(EditValuesEqual(row.A, row.B), cmp == VARCMP_EQ);
  }
}

TEST(EditValues, Oleaut32GivesNoAnswerForNull) {
  // Why the Null rows stand apart: oleaut32 has no order for Null at all.
  TOleValue null(Variant::NullValue()), empty(Variant(L""));
  EXPECT_EQ(VarCmp(&null.V, &empty.V, LOCALE_USER_DEFAULT, 0), VARCMP_NULL);
}

TEST(EditShift, MouseButtonsAndButtonNumbers) {
  EXPECT_EQ(MouseButtonToShift(mbLeft), TShiftState{ssLeft});
  EXPECT_EQ(MouseButtonToShift(mbRight), TShiftState{ssRight});
  EXPECT_EQ(MouseButtonToShift(mbMiddle), TShiftState{ssMiddle});
  const struct {
    int Number;
    TShiftState Shift;
  } numbers[] = {{0, {}}, {1, {ssLeft}}, {2, {ssRight}}, {3, {ssMiddle}}, {4, {}}, {200, {}}, {-1, {}}};
  for (const auto& row : numbers) {
    SCOPED_TRACE(row.Number);
    EXPECT_EQ(ButtonNumberToShift(row.Number), row.Shift);
  }
}

TEST(EditShift, ExtraMouseButtonHasNoShiftState) {
  // An X button: no entry in the table, so no state (not whatever lies past it).
  EXPECT_TRUE(MouseButtonToShift(static_cast<TMouseButton>(3)).Empty());
  EXPECT_TRUE(MouseButtonToShift(static_cast<TMouseButton>(131)).Empty());
}

TEST(EditSelectionColors, DefaultsAndInversions) {
  const auto red = static_cast<TColor>(RGB(200, 10, 30));
  const auto inverseRed = static_cast<TColor>(RGB(255 - 200, 255 - 10, 255 - 30));
  const struct {
    const char* Name;
    TColor Text, Background, Style;
    TColor ExpectedText, ExpectedBackground;
  } rows[] = {
      {"both default", clDefault, clDefault, clWindow, clHighlightText, clHighlight},
      {"both default on a highlight editor", clDefault, clDefault, clHighlight, static_cast<TColor>(RGB(255, 255, 255)), static_cast<TColor>(RGB(0, 0, 0))},
      {"text chosen", red, clDefault, clWindow, red, inverseRed},
      {"background chosen", clDefault, red, clWindow, inverseRed, red},
      {"both chosen", red, clWhite, clWindow, red, clWhite},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TColor text = row.Text, background = row.Background;
    ResolveDefaultSelectionColors(text, background, row.Style);
    EXPECT_EQ(text, row.ExpectedText);
    EXPECT_EQ(background, row.ExpectedBackground);
  }
}

TEST(EditChars, WhiteSpace) {
  for (wchar_t c : {L'\0', L'\t', L'\n', L'\f', L'\r', L' '}) EXPECT_TRUE(IsWhiteSpaceChar(c)) << int(c);
  for (wchar_t c : {L'\v', L'\xA0', L'a', L'_'}) EXPECT_FALSE(IsWhiteSpaceChar(c)) << int(c);
}

TEST(EditRegions, CombineRegionsOrIsTheUnion) {
  const TOwnedRegion dest(CreateRectRgn(0, 0, 10, 10));
  const TOwnedRegion source(CreateRectRgn(20, 0, 30, 10));
  CombineRegionsOr(dest.Get(), source.Get());
  EXPECT_TRUE(PtInRegion(dest.Get(), 5, 5));
  EXPECT_TRUE(PtInRegion(dest.Get(), 25, 5));
  EXPECT_FALSE(PtInRegion(dest.Get(), 15, 5));
}

}  // namespace
