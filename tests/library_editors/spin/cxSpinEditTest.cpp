// The spin editor's values: stepping, stopping and wrapping at the bounds,
// the 64-bit limits, text to value against Python's conversions, and the
// editor driven by real keys beside a native up-down control and held by a
// real mouse.
#include "library/editors/spin/cxSpinEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr std::int64_t SpinI64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t SpinI64Min = std::numeric_limits<std::int64_t>::min();

// ---------------------------------------------------------------------------
// The stepping arithmetic

struct TSpinStepCase {
  const char* Name;
  TcxSpinEditValueType Type;
  double From, Increment, Min, Max;
  int Mode;
  bool Changes;
  double Expected;
};

TEST(SpinEditAddIncrement, StepsStopsAndWrapsInsideTheBounds) {
  const TSpinStepCase cases[] = {
      {"plain step", vtInt, 4, 1, 0, 10, cxSpinBoundsStop, true, 5},
      {"stops at the maximum", vtInt, 10, 1, 0, 10, cxSpinBoundsStop, true, 10},
      {"stops short of the maximum", vtInt, 9, 3, 0, 10, cxSpinBoundsStop, true, 10},
      {"stops at the minimum", vtInt, 1, -3, 0, 10, cxSpinBoundsStop, true, 0},
      {"refuses without bounds mode", vtInt, 9, 3, 0, 10, cxSpinBoundsNone, false, 9},
      {"9 -> 10 circular", vtInt, 9, 1, 0, 10, cxSpinBoundsCircular, true, 10},
      {"10 -> 0 circular", vtInt, 10, 1, 0, 10, cxSpinBoundsCircular, true, 0},
      {"9 -> 1 by 3 circular", vtInt, 9, 3, 0, 10, cxSpinBoundsCircular, true, 1},
      {"1 -> 9 by -3 circular", vtInt, 1, -3, 0, 10, cxSpinBoundsCircular, true, 9},
      {"0 -> 10 by -1 circular", vtInt, 0, -1, 0, 10, cxSpinBoundsCircular, true, 10},
      // Mended: the step exceeds the range (the open formula gave 8 and -2).
      {"step 10 over 0..5 from 4", vtInt, 4, 10, 0, 5, cxSpinBoundsCircular, true, 2},
      {"step -10 over 0..5 from 1", vtInt, 1, -10, 0, 5, cxSpinBoundsCircular, true, 3},
      {"float step", vtFloat, 0.1, 0.2, 0, 10, cxSpinBoundsStop, true, 0.3},
      {"float stops", vtFloat, 9.8, 0.5, 0, 10, cxSpinBoundsStop, true, 10},
      // Mended: the open formula gave -0.7 and 10.7.
      {"float wraps up", vtFloat, 9.8, 0.5, 0, 10, cxSpinBoundsCircular, true, 0.3},
      {"float wraps down", vtFloat, 0.2, -0.5, 0, 10, cxSpinBoundsCircular, true, 9.7},
      {"float wraps a long step", vtFloat, 9, 25, 0, 10, cxSpinBoundsCircular, true, 4},
      {"float wraps an empty range", vtFloat, 3, 1, 3, 3, cxSpinBoundsCircular, true, 3},
  };
  for (const TSpinStepCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto value = [&](double V) {
      return c.Type == vtInt ? Variant(static_cast<long long>(V)) : Variant(V);
    };
    Variant v = value(c.From);
    EXPECT_EQ(cxSpinEditAddIncrement(v, c.Increment, value(c.Min), value(c.Max), c.Type, c.Mode), c.Changes);
    EXPECT_NEAR(v.AsDouble(), c.Expected, 1e-12);
    EXPECT_GE(v.AsDouble(), c.Min);
    EXPECT_LE(v.AsDouble(), c.Max);
  }
}

TEST(SpinEditAddIncrement, NeverOverflowsAtTheInt64Limits) {
  const Variant minimum(static_cast<long long>(SpinI64Min)), maximum(static_cast<long long>(SpinI64Max));
  Variant v(static_cast<long long>(SpinI64Max - 1));
  EXPECT_TRUE(cxSpinEditAddIncrement(v, 10, minimum, maximum, vtInt, cxSpinBoundsStop));
  EXPECT_EQ(v.AsInt64(), SpinI64Max);
  v = Variant(static_cast<long long>(SpinI64Max));
  EXPECT_TRUE(cxSpinEditAddIncrement(v, 1, minimum, maximum, vtInt, cxSpinBoundsCircular));
  EXPECT_EQ(v.AsInt64(), SpinI64Min);
  v = Variant(static_cast<long long>(SpinI64Min));
  EXPECT_TRUE(cxSpinEditAddIncrement(v, -1, minimum, maximum, vtInt, cxSpinBoundsCircular));
  EXPECT_EQ(v.AsInt64(), SpinI64Max);
  // A huge step between far bounds of opposite signs.
  v = Variant(-5LL);
  EXPECT_TRUE(cxSpinEditAddIncrement(v, 1e300, Variant(-DBL_MAX), Variant(DBL_MAX), vtFloat, cxSpinBoundsStop));
  EXPECT_DOUBLE_EQ(v.AsDouble(), 1e300);
  v = Variant(-1e308);
  EXPECT_TRUE(cxSpinEditAddIncrement(v, 1.5e308, Variant(-DBL_MAX), Variant(1e308), vtFloat, cxSpinBoundsStop));
  EXPECT_TRUE(std::isfinite(v.AsDouble()));
}

TEST(SpinEditRounding, TiesToEvenAndClampsToTheInt64Range) {
  const struct {
    double In;
    std::int64_t Out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {1e19, SpinI64Max}, {-1e19, SpinI64Min},
               {9.3e18, SpinI64Max}, {std::nan(""), 0}, {HUGE_VAL, SpinI64Max}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.In);
    EXPECT_EQ(cxSpinRoundToInt64(c.In), c.Out);
  }
}

// ---------------------------------------------------------------------------
// Text to value: the expected column is what Python's int() and float()
// answer for the same texts (spin/python_limits.py prints it); a text Python
// refuses or that leaves the range is no value.

TEST(SpinEditTextToValue, AgreesWithPythonAtTheLimits) {
  const struct {
    const wchar_t* Text;
    bool Valid;
    std::int64_t Value;
  } ints[] = {{L"9223372036854775807", true, SpinI64Max},
              {L"-9223372036854775808", true, SpinI64Min},
              {L"9223372036854775808", false, 0},
              {L"-9223372036854775809", false, 0},
              {L"+42", true, 42},
              {L"0", true, 0},
              {L"1e3", false, 0}};
  for (const auto& c : ints) {
    SCOPED_TRACE(std::wstring(c.Text));
    const std::optional<Variant> v = cxSpinStrToValue(c.Text, vtInt);
    ASSERT_EQ(v.has_value(), c.Valid);
    if (v) {
      EXPECT_EQ(v->AsInt64(), c.Value);
    }
  }
  const struct {
    const wchar_t* Text;
    bool Valid;
    double Value;
  } floats[] = {{L"1.7976931348623157e308", true, 1.7976931348623157e308},
                {L"-1.7976931348623157e308", true, -1.7976931348623157e308},
                {L"1.7976931348623159e308", false, 0},
                {L"1e309", false, 0},
                {L"4.9e-324", true, 5e-324},
                {L"2.5e-3", true, 0.0025},
                {L"-0.5", true, -0.5},
                {L"1e-400", true, 0.0}};
  for (const auto& c : floats) {
    String text = c.Text;
    for (wchar_t& ch : text)
      if (ch == L'.') ch = FormatSettings.DecimalSeparator;
    SCOPED_TRACE(text);
    const std::optional<Variant> v = cxSpinStrToValue(text, vtFloat);
    ASSERT_EQ(v.has_value(), c.Valid);
    if (v) {
      EXPECT_EQ(v->AsDouble(), c.Value);
    }
  }
  // An empty float text is 0; an empty integer text is no number.
  EXPECT_EQ(cxSpinStrToValue(L"", vtFloat)->AsDouble(), 0.0);
  EXPECT_FALSE(cxSpinStrToValue(L"", vtInt).has_value());
}

// ---------------------------------------------------------------------------
// Properties

struct SpinEditProperties : testing::Test {
  TOwned<TcxSpinEditProperties> P{New<TcxSpinEditProperties>(static_cast<TPersistent*>(nullptr))};
};

TEST_F(SpinEditProperties, DefaultsAndTheButtonCount) {
  EXPECT_EQ(P->Increment(), 1.0);
  EXPECT_EQ(P->LargeIncrement(), 10.0);
  EXPECT_EQ(P->ValueType(), vtInt);
  EXPECT_TRUE(P->CanEdit());
  EXPECT_EQ(P->Buttons()->Count(), 2);
  P->SpinButtons()->SetShowFastButtons(true);
  EXPECT_EQ(P->Buttons()->Count(), 4);
  P->SpinButtons()->SetVisible(false);
  EXPECT_EQ(P->Buttons()->Count(), 0);
  P->SpinButtons()->SetVisible(true);
  P->SpinButtons()->SetShowFastButtons(false);
  EXPECT_EQ(P->Buttons()->Count(), 2);
}

TEST_F(SpinEditProperties, IntegerBoundsBeyondTheRangeAreClamped) {
  P->SetMinMaxValues(1e20, -1e20);
  Variant minimum, maximum;
  P->GetMinValueAsVariant(minimum);
  P->GetMaxValueAsVariant(maximum);
  EXPECT_EQ(minimum.AsInt64(), SpinI64Min);
  EXPECT_EQ(maximum.AsInt64(), SpinI64Max);
  // Unbounded: the type's extremes.
  TOwned<TcxSpinEditProperties> plain{New<TcxSpinEditProperties>(static_cast<TPersistent*>(nullptr))};
  plain->SetValueType(vtFloat);
  plain->GetMaxValueAsVariant(maximum);
  EXPECT_EQ(maximum.AsDouble(), DBL_MAX);
}

TEST_F(SpinEditProperties, ClampsAndPreparesValues) {
  P->SetMinMaxValues(10, 0);
  Variant v;
  P->ClampToBounds(Variant(15.0), v);
  EXPECT_EQ(v.AsInt64(), 10);
  P->ClampToBounds(Variant(-3LL), v);
  EXPECT_EQ(v.AsInt64(), 0);
  P->PrepareValue(Variant::NullValue(), v);
  EXPECT_EQ(v.VType(), varInt64);
  EXPECT_EQ(v.AsInt64(), 0);
  Variant text(String(L"abc"));
  EXPECT_FALSE(P->IsEditValueValid(text, false));
}

TEST_F(SpinEditProperties, StartUpRegistersTheKindAndItsFilterHelper) {
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  const int index = registry->GetIndexByClass(TcxSpinEditProperties::ClassInfo());
  ASSERT_GE(index, 0);
  EXPECT_EQ(registry->Descriptions(index), L"SpinEdit");
  EXPECT_EQ(registry->Hints(index), L"Represents a spin editor");
  ASSERT_EQ(GetFilterEditsController()->FindHelper(TcxSpinEditProperties::ClassInfo()),
            TcxFilterSpinEditHelper::ClassInfo());
  const TcxCustomFilterEditHelper::TMeta* helper = cxFilterEditHelper(TcxFilterSpinEditHelper::ClassInfo());
  EXPECT_EQ(helper->GetFilterEditClass(), TcxSpinEdit::ClassInfo());
  EXPECT_EQ(helper->GetFilterDataType(nullptr), fdtNumeric);
  EXPECT_TRUE(helper->EditPropertiesHasButtons());

  const TcxFilterControlOperators basic{fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater,
                                        fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
  EXPECT_EQ(helper->GetSupportedFilterOperators(P.get(), nullptr, false), basic);
  TcxFilterControlOperators extended = basic;
  extended.Include(fcoBetween).Include(fcoNotBetween).Include(fcoInList).Include(fcoNotInList);
  EXPECT_EQ(helper->GetSupportedFilterOperators(P.get(), nullptr, true), extended);

  // The mask editor's preparation (a pattern edited with completion), then
  // typing allowed whatever the column's editor says.
  TOwned<TcxSpinEditProperties> filter{New<TcxSpinEditProperties>(static_cast<TPersistent*>(nullptr))};
  P->SetCanEdit(false);
  P->SetMaskKind(emkRegExpr);
  filter->SetCanEdit(false);
  helper->InitializeProperties(filter.get(), P.get(), true);
  EXPECT_TRUE(filter->CanEdit());
  EXPECT_EQ(filter->MaskKind(), emkRegExprEx);
  EXPECT_EQ(filter->Buttons()->Count(), 2);
}

// ---------------------------------------------------------------------------
// The editor on a form

struct SpinEditOnForm : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxSpinEdit* Edit = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 200);
    Form->Show();
    Edit = New<TcxSpinEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->SetBounds(10, 10, 120, 21);
    PumpPending();
    PlaceInner();
  }
  // The edit window beside the buttons.
  void PlaceInner() {
    const TRect client = Edit->ViewInfo()->ClientRect;
    Edit->InnerControl()->SetBounds(client.Left, client.Top, client.Width(), client.Height());
    PumpPending();
  }
  std::wstring Text() const {
    wchar_t buffer[64] = {};
    GetWindowTextW(Edit->InnerControl()->Handle(), buffer, 64);
    return buffer;
  }
  void FocusEdit() {
    ::SetFocus(Edit->InnerControl()->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Edit->InnerControl()->Handle(); }));
  }
  void Key(WORD AKey) {
    SendKey(AKey, false);
    SendKey(AKey, true);
    PumpPending();
  }
  // The whole text replaced by typing AText, as the user would.
  void TypeOver(const String& AText) {
    FocusEdit();
    SendMessageW(Edit->InnerControl()->Handle(), EM_SETSEL, 0, -1);
    SendText(AText);
    PumpPending();
  }
  TPoint ButtonCentre(int AIndex) {
    const TRect b = Edit->ViewInfo()->ButtonsInfo.at(AIndex)->Bounds;
    POINT p{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
    ClientToScreen(Edit->Handle(), &p);
    return TPoint(p.x, p.y);
  }
};

TEST_F(SpinEditOnForm, ANewEditorShowsZeroAndStepsByKeys) {
  EXPECT_EQ(Text(), L"0");
  EXPECT_EQ(Edit->Value().AsInt64(), 0);
  FocusEdit();
  Key(VK_UP);
  EXPECT_EQ(Text(), L"1");
  Key(VK_PRIOR);
  EXPECT_EQ(Text(), L"11");
  Key(VK_NEXT);
  Key(VK_DOWN);
  EXPECT_EQ(Text(), L"0");
  EXPECT_EQ(Edit->Value().AsInt64(), 0);
}

TEST_F(SpinEditOnForm, UseCtrlIncrementLeavesTheArrowsToTheCaret) {
  Edit->Properties()->SetUseCtrlIncrement(true);
  FocusEdit();
  Key(VK_UP);
  EXPECT_EQ(Text(), L"0");
  SendKey(VK_CONTROL, false);
  Key(VK_UP);
  SendKey(VK_CONTROL, true);
  PumpPending();
  EXPECT_EQ(Text(), L"1");
}

TEST_F(SpinEditOnForm, WithoutCanEditTypingBeepsButArrowsStep) {
  Edit->Properties()->SetCanEdit(false);
  int beeps = 0;
  SetEditErrorBeep([&] { ++beeps; });
  FocusEdit();
  SendText(L"5");
  PumpPending();
  EXPECT_EQ(Text(), L"0");
  EXPECT_GE(beeps, 1);
  Key(VK_UP);
  EXPECT_EQ(Text(), L"1");
  SetEditErrorBeep(nullptr);
}

TEST_F(SpinEditOnForm, TypedTextIsTheValueWhileEditing) {
  FocusEdit();
  SendKey(VK_END, false);
  SendKey(VK_END, true);
  SendText(L"7x");
  PumpPending();
  EXPECT_EQ(Text(), L"07");
  EXPECT_TRUE(Edit->IsCustomText());
  EXPECT_EQ(Edit->Value().AsInt64(), 7);
  Key(VK_UP);
  EXPECT_EQ(Text(), L"8");
  EXPECT_FALSE(Edit->IsCustomText());
}

// The same keys on a native up-down control with an integer buddy and on
// the spin editor give the same texts: stepping, stopping at the bounds and,
// with UDS_WRAP / Circular, one step round.
TEST_F(SpinEditOnForm, StepsLikeANativeUpDownControl) {
  for (const bool wrap : {false, true}) {
    SCOPED_TRACE(wrap ? "wrap" : "stop");
    const HWND buddy = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 200, 10, 60, 21,
                                       Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    const HWND updown = CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT | (wrap ? UDS_WRAP : 0), 0, 0, 0, 0,
        Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageW(updown, UDM_SETRANGE32, 0, 10);
    SendMessageW(updown, UDM_SETPOS32, 0, 8);
    Edit->Properties()->SetMinMaxValues(10, 0);
    Edit->Properties()->SetCircular(wrap);
    Edit->SetValue(Variant(8LL));
    const WORD keys[] = {VK_UP, VK_UP, VK_UP, VK_DOWN, VK_DOWN, VK_DOWN};
    std::wstring native, spin;
    SetFocus(buddy);
    for (WORD k : keys) {
      Key(k);
      wchar_t buffer[32] = {};
      GetWindowTextW(buddy, buffer, 32);
      native += std::wstring(buffer) + L" ";
    }
    // Down from 0 wraps to 10 only with UDS_WRAP.
    SendMessageW(updown, UDM_SETPOS32, 0, 0);
    Key(VK_DOWN);
    {
      wchar_t buffer[32] = {};
      GetWindowTextW(buddy, buffer, 32);
      native += buffer;
    }
    FocusEdit();
    for (WORD k : keys) {
      Key(k);
      spin += Text() + L" ";
    }
    Edit->SetValue(Variant(0LL));
    Key(VK_DOWN);
    spin += Text();
    EXPECT_EQ(spin, native);
    EXPECT_EQ(native, wrap ? L"9 10 0 10 9 8 10" : L"9 10 10 9 8 7 0");
    DestroyWindow(updown);
    DestroyWindow(buddy);
  }
}

// A press held for a second steps at once, after 400 ms and then every
// 100 ms: 1 + 1 + 6 steps.
TEST_F(SpinEditOnForm, AHeldButtonRepeats) {
  FocusEdit();
  const TPoint up = ButtonCentre(1);
  ASSERT_TRUE(MoveUntil(up, [&] { return CursorIsAt(up); }));
  SendMouseButtons(up, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Edit->RepeatTimer() != nullptr; }, 2000))
      << "value " << Edit->Value().AsInt64() << ", pressed " << Edit->ViewInfo()->PressedButton << ", capture "
      << Edit->CaptureButtonVisibleIndex();
  const ULONGLONG start = GetTickCount64();
  PumpFor(1000 - static_cast<unsigned>(std::min<ULONGLONG>(GetTickCount64() - start, 1000)));
  SendMouseButtons(up, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Edit->RepeatTimer() == nullptr; }, 2000));
  const std::int64_t steps = Edit->Value().AsInt64();
  EXPECT_GE(steps, 7);
  EXPECT_LE(steps, 9);
  // Released: no more steps.
  PumpFor(300);
  EXPECT_EQ(Edit->Value().AsInt64(), steps);
}

TEST_F(SpinEditOnForm, WrapsFromAboveTheMaximum) {
  Edit->Properties()->SetMinMaxValues(10, 0);
  Edit->SetValue(Variant(15LL));
  EXPECT_EQ(Edit->Value().AsInt64(), 15);
  EXPECT_FALSE(Edit->Increment(sebForward));
  EXPECT_EQ(Edit->Value().AsInt64(), 15);
  EXPECT_TRUE(Edit->Increment(sebBackward));
  EXPECT_EQ(Edit->Value().AsInt64(), 10);
  Edit->SetValue(Variant(15LL));
  Edit->Properties()->SetCircular(true);
  EXPECT_TRUE(Edit->Increment(sebForward));
  EXPECT_EQ(Edit->Value().AsInt64(), 0);
}

TEST_F(SpinEditOnForm, IntegerIncrementsRoundTiesToEven) {
  Edit->Properties()->SetIncrement(0.5);
  EXPECT_FALSE(Edit->Increment(sebForward));
  EXPECT_EQ(Edit->Value().AsInt64(), 0);
  Edit->Properties()->SetIncrement(1.5);
  EXPECT_TRUE(Edit->Increment(sebForward));
  EXPECT_EQ(Edit->Value().AsInt64(), 2);
}

// Validation of typed text: without ExceptionOnInvalidInput a text that is
// no number falls back to the last good value and one out of range is
// clamped; with it both are reported with their messages.
TEST_F(SpinEditOnForm, ValidationCorrectsOrReportsTypedText) {
  const struct {
    bool Raise;
    const wchar_t* Typed;
    bool Valid;
    const wchar_t* Shown;
    const wchar_t* Error;
  } cases[] = {
      {false, L"1e", true, L"5", L""},
      {false, L"15", true, L"10", L""},
      {false, L"-3", true, L"0", L""},
      {false, L"7", true, L"7", L""},
      {true, L"1e", false, nullptr, L"Invalid numeric value"},
      {true, L"15", false, nullptr, L"Value out of bounds"},
      {true, L"7", true, L"7", L""},
  };
  Edit->Properties()->SetMinMaxValues(10, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.Raise ? "raise " : "") << std::string(c.Typed, c.Typed + wcslen(c.Typed)));
    Edit->Properties()->SetExceptionOnInvalidInput(c.Raise);
    Edit->SetValue(Variant(5LL));
    TypeOver(c.Typed);
    ASSERT_EQ(Text(), c.Typed);
    String error;
    bool valid = false;
    try {
      valid = Edit->ValidateEdit(true);
    } catch (const EcxEditError& E) {
      error = E.Message();
    }
    EXPECT_EQ(valid, c.Valid);
    EXPECT_EQ(error, c.Error);
    if (c.Shown) {
      EXPECT_EQ(Text(), c.Shown);
      EXPECT_EQ(Edit->Value().AsInt64(), std::stoll(c.Shown));
    }
  }
}

// An MSAA client sees a spin button whose value is the editor's value.
TEST_F(SpinEditOnForm, AccessibilityClientsSeeASpinButton) {
  Edit->SetValue(Variant(42LL));
  PumpPending();
  TComPtr<IAccessible> client = AccessibleClientOf(Edit->Handle());
  ASSERT_TRUE(client);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(client->get_accRole(AccessibleChild(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_SPINBUTTON);
  BSTR value = nullptr;
  ASSERT_EQ(client->get_accValue(AccessibleChild(CHILDID_SELF), &value), S_OK);
  EXPECT_EQ(TakeBstr(value), L"42");
}

// The real wheel over the focused editor steps one increment per notch.
TEST_F(SpinEditOnForm, TheWheelStepsByOneIncrement) {
  Edit->Properties()->SetIncrement(3);
  FocusEdit();
  const TPoint over = ButtonCentre(1);
  ASSERT_TRUE(MoveUntil(over, [&] { return CursorIsAt(over); }));
  const auto notch = [&](int ADelta) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(ADelta);
    SendInput(1, &input, sizeof(INPUT));
  };
  notch(WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return Text() == L"3"; })) << std::string(Text().begin(), Text().end());
  notch(WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return Text() == L"6"; }));
  notch(-WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return Text() == L"3"; }));
  EXPECT_EQ(Edit->Value().AsInt64(), 3);
}

}  // namespace
