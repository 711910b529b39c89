#include "library/editors/masks/cxMaskEdit.h"

#include "library/core/data/cxDataStorage.h"
#include "library/editors/filter/cxFilterEditHelpers.h"

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The locale's separators as the masks read them, pinned for a test.
class TMaskEditPinnedSeparators {
 public:
  TMaskEditPinnedSeparators() : FSaved(FormatSettings) {
    FormatSettings.DateSeparator = L'/';
    FormatSettings.TimeSeparator = L':';
    FormatSettings.DecimalSeparator = L'.';
  }
  ~TMaskEditPinnedSeparators() { FormatSettings = FSaved; }
  TMaskEditPinnedSeparators(const TMaskEditPinnedSeparators&) = delete;
  TMaskEditPinnedSeparators& operator=(const TMaskEditPinnedSeparators&) = delete;

 private:
  TFormatSettings FSaved;
};

// A masked editor that counts the keys it hands to OnAfterKeyDown.
class TMaskEditUnderTest : public TcxMaskEdit {
  SK_CLASS(TMaskEditUnderTest, TcxMaskEdit)
 public:
  std::vector<WORD> AfterKeyDownKeys;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetOnAfterKeyDown(BindEvent<&TMaskEditUnderTest::AfterKeyDown>(this));
  }
  HWND InnerHandle() { return InnerControl()->Handle(); }

 private:
  void AfterKeyDown(TObject*, WORD& Key, TShiftState) { AfterKeyDownKeys.push_back(Key); }
};

struct TMaskEditState {
  std::wstring Text;
  DWORD SelStart = 0;
  DWORD SelEnd = 0;
};

TMaskEditState ReadMaskEditState(HWND AWnd) {
  TMaskEditState s;
  wchar_t buffer[256] = {};
  GetWindowTextW(AWnd, buffer, 256);
  s.Text = buffer;
  SendMessageW(AWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s.SelStart), reinterpret_cast<LPARAM>(&s.SelEnd));
  return s;
}

void SettleMaskInput() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpPending();
}

void PressMaskKey(WORD AKey, bool AShift = false, bool ACtrl = false) {
  if (AShift) SendKey(VK_SHIFT, false);
  if (ACtrl) SendKey(VK_CONTROL, false);
  SendKey(AKey, false);
  SendKey(AKey, true);
  if (ACtrl) SendKey(VK_CONTROL, true);
  if (AShift) SendKey(VK_SHIFT, true);
  SettleMaskInput();
}

void TypeMaskText(const String& AText) {
  SendText(AText);
  SettleMaskInput();
}

struct MaskEdit : testing::Test {
  TMaskEditPinnedSeparators Separators;
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TMaskEditUnderTest* Edit = nullptr;
  int Beeps = 0;

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    SetEditErrorBeep([this] { ++Beeps; });
    Form->SetBounds(100, 100, 420, 200);
    Form->Show();
    Edit = New<TMaskEditUnderTest>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 24);
    Edit->Properties()->SetBeepOnError(true);
    PumpPending();
  }
  void TearDown() override { SetEditErrorBeep(nullptr); }

  void Mask(TcxEditMaskKind AKind, const String& AMask) {
    Edit->Properties()->BeginUpdate();
    Edit->Properties()->SetMaskKind(AKind);
    Edit->Properties()->SetEditMask(AMask);
    Edit->Properties()->EndUpdate();
  }
  void Focus() {
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    SetFocus(Edit->InnerHandle());
    PumpUntil([&] { return GetFocus() == Edit->InnerHandle(); });
    SettleMaskInput();
  }
  TMaskEditState State() { return ReadMaskEditState(Edit->InnerHandle()); }
};

// One key (or typed text) and what the editor shows after it.
struct TMaskKeyStep {
  const char* Name;
  std::function<void()> Send;
  std::wstring Text;
  DWORD SelStart;
  DWORD SelEnd;
  int Beeps = 0;  // the beeps counted so far
};

void RunMaskSteps(MaskEdit& AFixture, const std::vector<TMaskKeyStep>& ASteps) {
  for (const TMaskKeyStep& step : ASteps) {
    SCOPED_TRACE(step.Name);
    step.Send();
    const TMaskEditState state = AFixture.State();
    EXPECT_EQ(state.Text, step.Text);
    EXPECT_EQ(state.SelStart, step.SelStart);
    EXPECT_EQ(state.SelEnd, step.SelEnd);
    EXPECT_EQ(AFixture.Beeps, step.Beeps);
  }
}

void Type(const wchar_t* AText) { TypeMaskText(AText); }

// ---------------------------------------------------------------------------
// The classic mask by real keys

TEST_F(MaskEdit, ClassicMaskTypesOverABlockCaretAndStepsOverLiterals) {
  Mask(emkStandard, L"00/00");
  Focus();
  Edit->SetSelStart(0);
  RunMaskSteps(*this, {
                          {"start", [] {}, L"__/__", 0, 1},
                          {"1", [] { Type(L"1"); }, L"1_/__", 1, 2},
                          {"2 skips the separator", [] { Type(L"2"); }, L"12/__", 3, 4},
                          {"3", [] { Type(L"3"); }, L"12/3_", 4, 5},
                          {"a letter is dropped silently", [] { Type(L"a"); }, L"12/3_", 4, 5},
                          {"backspace blanks the 3", [] { PressMaskKey(VK_BACK); }, L"12/__", 3, 4},
                          {"left to the 2", [] { PressMaskKey(VK_LEFT); }, L"12/__", 1, 2},
                          {"right over the separator", [] { PressMaskKey(VK_RIGHT); }, L"12/__", 3, 4},
                          {"end has no block", [] { PressMaskKey(VK_END); }, L"12/__", 5, 5},
                          {"right at the end stays", [] { PressMaskKey(VK_RIGHT); }, L"12/__", 5, 5},
                          {"home", [] { PressMaskKey(VK_HOME); }, L"12/__", 0, 1},
                          {"delete blanks", [] { PressMaskKey(VK_DELETE); }, L"_2/__", 0, 1},
                          {"ctrl+right acts as end", [] { PressMaskKey(VK_RIGHT, false, true); }, L"_2/__", 5, 5},
                      });
}

TEST_F(MaskEdit, ClassicMaskSeparatorTypedOnItselfOnlyMovesTheCaret) {
  Mask(emkStandard, L"00/00");
  Focus();
  Edit->SetSelStart(2);
  EXPECT_EQ(State().SelStart, 2u);
  EXPECT_EQ(State().SelEnd, 3u);
  PressMaskKey(VK_DELETE);
  EXPECT_EQ(State().Text, L"__/__") << "a literal is never deleted";
  Type(L"/");
  EXPECT_EQ(State().Text, L"__/__");
  EXPECT_EQ(State().SelStart, 3u);
  EXPECT_EQ(Beeps, 0);
}

TEST_F(MaskEdit, ClassicMaskHomeAndLeftStopAtTheFirstInputPosition) {
  Mask(emkStandard, L"(999)");
  Focus();
  PressMaskKey(VK_END);
  PressMaskKey(VK_HOME);
  EXPECT_EQ(State().SelStart, 1u);
  EXPECT_EQ(State().SelEnd, 2u);
  Edit->AfterKeyDownKeys.clear();
  PressMaskKey(VK_LEFT);
  EXPECT_EQ(State().SelStart, 1u);
  ASSERT_EQ(Edit->AfterKeyDownKeys.size(), 1u) << "the key at the beginning is reported";
  EXPECT_EQ(Edit->AfterKeyDownKeys[0], VK_LEFT);
}

TEST_F(MaskEdit, ClassicMaskPasteOverwritesAcrossTheSeparator) {
  Mask(emkStandard, L"00/00");
  Focus();
  Clipboard()->SetAsText(L"1234");
  PressMaskKey(VK_HOME);
  PressMaskKey('V', false, true);
  EXPECT_EQ(State().Text, L"12/34");
}

// ---------------------------------------------------------------------------
// The regular-expression modes by real keys

TEST_F(MaskEdit, RegularExpressionKeepsTheTextAValidPrefix) {
  Mask(emkRegExpr, L"\\d+");
  Focus();
  RunMaskSteps(*this, {
                          {"a letter beeps", [] { Type(L"a"); }, L"", 0, 0, 1},
                          {"digits", [] { Type(L"123"); }, L"123", 3, 3, 1},
                          {"home", [] { PressMaskKey(VK_HOME); }, L"123", 0, 0, 1},
                          {"insert in front", [] { Type(L"4"); }, L"4123", 1, 1, 1},
                      });
}

TEST_F(MaskEdit, RegularExpressionDropsARestThatCanNoLongerFollow) {
  Mask(emkRegExpr, L"\\d\\d-\\d\\d");
  Focus();
  RunMaskSteps(*this, {
                          {"typed", [] { Type(L"12-34"); }, L"12-34", 5, 5},
                          {"home", [] { PressMaskKey(VK_HOME); }, L"12-34", 0, 0},
                          {"right", [] { PressMaskKey(VK_RIGHT); }, L"12-34", 1, 1},
                          {"right", [] { PressMaskKey(VK_RIGHT); }, L"12-34", 2, 2},
                          {"delete the hyphen and the rest", [] { PressMaskKey(VK_DELETE); }, L"12", 2, 2},
                          {"complete again", [] { Type(L"-34"); }, L"12-34", 5, 5},
                          {"left", [] { PressMaskKey(VK_LEFT); }, L"12-34", 4, 4},
                          {"left", [] { PressMaskKey(VK_LEFT); }, L"12-34", 3, 3},
                          {"left", [] { PressMaskKey(VK_LEFT); }, L"12-34", 2, 2},
                          {"backspace the 2 and the rest", [] { PressMaskKey(VK_BACK); }, L"1", 1, 1},
                      });
}

TEST_F(MaskEdit, RegularExpressionRebuildsItsModelLazilyAfterAClick) {
  Mask(emkRegExpr, L"\\d\\d-\\d\\d");
  Focus();
  Type(L"12-34");
  // A caret set from outside the mode is only noted; the next key rebuilds.
  Edit->SetSelStart(2);
  auto* mode = dynamic_cast<TcxMaskEditRegExprMode*>(Edit->Mode());
  ASSERT_NE(mode, nullptr);
  PressMaskKey(VK_DELETE);
  EXPECT_EQ(State().Text, L"12");
  EXPECT_EQ(mode->Head() + mode->Tail(), L"12");
  EXPECT_EQ(mode->Head(), L"12");
}

TEST_F(MaskEdit, RegularExpressionAdaptsTheCaseOfTypedCharacters) {
  Mask(emkRegExpr, L"abc");
  Focus();
  Type(L"ABC");
  EXPECT_EQ(State().Text, L"abc");
  EXPECT_EQ(Beeps, 0);
}

TEST_F(MaskEdit, RegularExpressionPrefersTheExactCharacterOverACaseChangedOne) {
  struct TRow {
    const char* Name;
    const wchar_t* Pattern;
    const wchar_t* Typed;
    const wchar_t* Shown;
  };
  const TRow rows[] = {
      {"upper branch taken as typed", L"a|A", L"A", L"A"},
      {"lower branch taken as typed", L"a|A", L"a", L"a"},
      {"whole quoted branch as typed", L"'ab'|'AB'", L"AB", L"AB"},
      {"exact first, adapted second", L"ab|Ab", L"AB", L"Ab"},
      {"adapted when no branch is exact", L"b|C", L"B", L"b"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Mask(emkRegExpr, row.Pattern);
    Focus();
    Edit->SetEditText(L"");
    Type(row.Typed);
    EXPECT_EQ(State().Text, row.Shown);
  }
  EXPECT_EQ(Beeps, 0);
}

TEST_F(MaskEdit, RegularExpressionReadsSeparatorsWhenTypedButTheDecimalOneWhenCompiled) {
  Mask(emkRegExpr, L"\\d\\d/\\d\\d\\p\\d");
  FormatSettings.DateSeparator = L'.';
  FormatSettings.DecimalSeparator = L',';
  Focus();
  RunMaskSteps(*this, {
                          {"the old date separator is refused", [] { Type(L"12/"); }, L"12", 2, 2, 1},
                          {"the new one is taken", [] { Type(L".34"); }, L"12.34", 5, 5, 1},
                          {"the new decimal separator is refused", [] { Type(L","); }, L"12.34", 5, 5, 2},
                          {"the compiled one is taken", [] { Type(L".5"); }, L"12.34.5", 7, 7, 2},
                      });
}

TEST_F(MaskEdit, CutWithNothingSelectedAndCtrlDeleteLeaveTheText) {
  struct TRow {
    const char* Name;
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Typed;
  };
  const TRow rows[] = {
      {"pattern", emkRegExpr, L"\\d+", L"12"},
      {"completion", emkRegExprEx, L"\\d\\d-\\d\\d", L"12"},
      {"classic", emkStandard, L"00/00", L"12"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Mask(row.Kind, row.Mask);
    Focus();
    Edit->SetEditText(L"");
    Edit->SetSelStart(0);
    Type(row.Typed);
    const TMaskEditState before = State();
    Edit->SetSelLength(0);
    const TMaskEditState collapsed = State();
    PressMaskKey('X', false, true);
    EXPECT_EQ(State().Text, before.Text);
    EXPECT_EQ(State().SelStart, collapsed.SelStart);
    Edit->SetSelStart(0);
    PressMaskKey(VK_DELETE, false, true);
    EXPECT_EQ(State().Text, before.Text) << "a word deleted past the mode";
    Edit->SetSelStart(collapsed.SelStart);
    Type(L"3");
    auto* mode = dynamic_cast<TcxMaskEditRegExprMode*>(Edit->Mode());
    if (mode) {
      EXPECT_EQ(mode->Head() + mode->Tail(), State().Text);
    }
  }
}

TEST_F(MaskEdit, ShiftDeleteCutsASelectionThroughTheMode) {
  struct TRow {
    const char* Name;
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Typed;
    int SelStart;
    int SelLength;
    const wchar_t* Left;
    const wchar_t* Cut;
  };
  const TRow rows[] = {
      {"classic blanks the block", emkStandard, L"00/00", L"1234", 1, 3, L"1_/_4", L"2/3"},
      {"pattern keeps what still fits", emkRegExpr, L"\\d+", L"123", 0, 2, L"3", L"12"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Mask(row.Kind, row.Mask);
    Focus();
    Edit->SetEditText(L"");
    Edit->SetSelStart(0);
    Type(row.Typed);
    Edit->SetSelStart(row.SelStart);
    Edit->SetSelLength(row.SelLength);
    PressMaskKey(VK_DELETE, true);
    EXPECT_EQ(State().Text, row.Left);
    EXPECT_EQ(Clipboard()->AsText(), row.Cut);
    auto* mode = dynamic_cast<TcxMaskEditRegExprMode*>(Edit->Mode());
    if (mode) {
      Type(L"9");
      EXPECT_EQ(mode->Head() + mode->Tail(), State().Text);
    }
  }
}

TEST_F(MaskEdit, CompletionTypesForcedCharactersAsOneUnitWithTheirCause) {
  Mask(emkRegExprEx, L"\\d\\d-\\d\\d");
  Focus();
  RunMaskSteps(*this, {
                          {"12 brings the hyphen", [] { Type(L"12"); }, L"12-", 3, 3},
                          {"34", [] { Type(L"34"); }, L"12-34", 5, 5},
                          {"left", [] { PressMaskKey(VK_LEFT); }, L"12-34", 4, 4},
                          {"left", [] { PressMaskKey(VK_LEFT); }, L"12-34", 3, 3},
                          {"backspace takes the unit and the rest", [] { PressMaskKey(VK_BACK); }, L"1", 1, 1},
                      });
  auto* mode = dynamic_cast<TcxMaskEditRegExprMode*>(Edit->Mode());
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->Head() + mode->Tail(), State().Text);
}

TEST_F(MaskEdit, CompletionKeepsTheForcedPrefix) {
  Mask(emkRegExprEx, L"'+1 '\\d\\d\\d");
  EXPECT_EQ(Edit->Mode()->GetEmptyString(), L"+1 ");
  EXPECT_TRUE(Edit->Mode()->IsFullValidText(L"+1 "));
  EXPECT_TRUE(Edit->Mode()->IsFullValidText(L"+1 123"));
  EXPECT_FALSE(Edit->Mode()->IsFullValidText(L"+1 12"));
  Focus();
  EXPECT_EQ(State().Text, L"+1 ");
  PressMaskKey(VK_END);
  PressMaskKey(VK_BACK);
  EXPECT_EQ(State().Text, L"+1 ");
  EXPECT_EQ(Beeps, 1);
  Type(L"5");
  EXPECT_EQ(State().Text, L"+1 5");
}

TEST_F(MaskEdit, ShiftDeleteWithoutSelectionIsBackspaceAndCtrlLeftIsHome) {
  struct TRow {
    const char* Name;
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Typed;
    std::wstring AfterShiftDelete;
    DWORD CaretAfterShiftDelete;
    DWORD HomeStart, HomeEnd;  // where Home puts the caret, and so Ctrl+Left
  };
  // The classic block caret selects a character; at the end nothing is.
  const TRow rows[] = {
      {"classic", emkStandard, L"(00)00", L"1234", L"(12)3_", 5, 1, 2},
      {"pattern", emkRegExpr, L"\\d+", L"123", L"12", 2, 0, 0},
      {"completion", emkRegExprEx, L"\\d\\d-\\d\\d", L"123", L"12-", 3, 0, 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Mask(row.Kind, row.Mask);
    Focus();
    Edit->SetEditText(L"");
    PressMaskKey(VK_HOME);
    Type(row.Typed);
    PressMaskKey(VK_END);
    const int beeps = Beeps;
    PressMaskKey(VK_DELETE, true);
    EXPECT_EQ(State().Text, row.AfterShiftDelete);
    EXPECT_EQ(State().SelStart, row.CaretAfterShiftDelete);
    PressMaskKey(VK_LEFT, false, true);
    EXPECT_EQ(State().Text, row.AfterShiftDelete);
    EXPECT_EQ(State().SelStart, row.HomeStart);
    EXPECT_EQ(State().SelEnd, row.HomeEnd);
    EXPECT_EQ(Beeps, beeps);
  }
}

// The caret a click leaves inside a unit (a character and the forced ones
// after it) is put at the unit's edge when the next key comes.
TEST_F(MaskEdit, CompletionSnapsAClickedCaretToTheUnitBeforeTheNextKey) {
  struct TRow {
    const char* Name;
    int ClickBefore;  // the character whose left edge is clicked
    DWORD CaretAfterLeft;
  };
  const TRow rows[] = {
      {"between the 2 and its hyphen: before the 2, then one unit left", 2, 0},
      {"before the 4: a unit edge, then one unit left", 4, 3},
      {"before the hyphen's 2: a unit edge, then one unit left", 1, 0},
  };
  Mask(emkRegExprEx, L"\\d\\d-\\d\\d");
  Focus();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->SetEditText(L"");
    PressMaskKey(VK_END);
    Type(L"1234");
    ASSERT_EQ(State().Text, L"12-34");
    const LRESULT at = SendMessageW(Edit->InnerHandle(), EM_POSFROMCHAR, static_cast<WPARAM>(row.ClickBefore), 0);
    RECT client{};
    GetClientRect(Edit->InnerHandle(), &client);
    POINT p{static_cast<short>(LOWORD(at)), client.bottom / 2};
    ClientToScreen(Edit->InnerHandle(), &p);
    const TPoint screen(p.x, p.y);
    ASSERT_TRUE(MoveUntil(screen, [&] { return CursorIsAt(screen); }));
    SendMouseButtons(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouseButtons(screen, MOUSEEVENTF_LEFTUP);
    SettleMaskInput();
    ASSERT_EQ(State().SelStart, static_cast<DWORD>(row.ClickBefore)) << "the edit window took the click";
    PressMaskKey(VK_LEFT);
    EXPECT_EQ(State().Text, L"12-34");
    EXPECT_EQ(State().SelStart, row.CaretAfterLeft);
    EXPECT_EQ(State().SelEnd, row.CaretAfterLeft);
    auto* mode = dynamic_cast<TcxMaskEditRegExprMode*>(Edit->Mode());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->Head(), std::wstring(L"12-34").substr(0, row.CaretAfterLeft));
    EXPECT_EQ(mode->Head() + mode->Tail(), State().Text);
    // Let the next click count as a click of its own, not a double click.
    Sleep(GetDoubleClickTime() + 50);
  }
  EXPECT_EQ(Beeps, 0);
}

// ---------------------------------------------------------------------------
// Properties

TEST_F(MaskEdit, ConvertedLetterCaseKeepsThePatternCaseInsensitive) {
  TcxCustomMaskEditProperties* properties = Edit->Properties();
  Mask(emkRegExpr, L"abc");
  properties->SetCaseInsensitive(false);
  EXPECT_FALSE(properties->CaseInsensitive());
  Focus();
  Type(L"A");
  EXPECT_EQ(State().Text, L"");
  EXPECT_EQ(Beeps, 1) << "a case-sensitive pattern refuses the other case";
  properties->SetCharCase(ecUpperCase);
  EXPECT_TRUE(properties->CaseInsensitive());
  properties->SetCaseInsensitive(false);
  EXPECT_TRUE(properties->CaseInsensitive()) << "not while the letters are converted";
  properties->SetCharCase(ecLowerCase);
  properties->SetCaseInsensitive(false);
  EXPECT_TRUE(properties->CaseInsensitive());
  Edit->SetEditText(L"");
  Type(L"AB");
  EXPECT_EQ(State().Text, L"ab");
  EXPECT_EQ(Beeps, 1);
  properties->SetCharCase(ecNormal);
  EXPECT_TRUE(properties->CaseInsensitive()) << "normal case alone changes nothing";
  properties->SetCaseInsensitive(false);
  EXPECT_FALSE(properties->CaseInsensitive());
}

TEST_F(MaskEdit, OnlyAnUnmaskedEditorOffersSpelling) {
  EXPECT_TRUE(Edit->SupportsSpelling());
  Mask(emkStandard, L"00/00");
  EXPECT_FALSE(Edit->SupportsSpelling());
  Mask(emkRegExpr, L"\\d+");
  EXPECT_FALSE(Edit->SupportsSpelling());
}


TEST_F(MaskEdit, KindSwitchesEmptyOrKeepTheMask) {
  Mask(emkRegExpr, L"\\d+");
  EXPECT_EQ(Edit->Properties()->EditMask(), L"\\d+") << "kind and mask set together are kept";
  Edit->Properties()->SetMaskKind(emkRegExprEx);
  EXPECT_EQ(Edit->Properties()->EditMask(), L"\\d+") << "between pattern kinds";
  EXPECT_EQ(Edit->Mode()->GetMaskKind(), emkRegExprEx);
  Edit->Properties()->SetMaskKind(emkStandard);
  EXPECT_EQ(Edit->Properties()->EditMask(), L"") << "a pattern is no classic mask";
  Edit->Properties()->SetEditMask(L"00/00");
  Edit->Properties()->SetMaskKind(emkRegExpr);
  EXPECT_EQ(Edit->Properties()->EditMask(), L"");
}

TEST_F(MaskEdit, APatternWithErrorsIsRefusedAndTheOldMaskStays) {
  Mask(emkRegExpr, L"\\d+");
  try {
    Edit->Properties()->SetEditMask(L"(a");
    FAIL() << "no error raised";
  } catch (const EcxMaskEditError& E) {
    const String message = E.Message();
    EXPECT_EQ(message.rfind(L"Regular expression errors:\r\n", 0), 0u) << std::wstring(message);
  }
  EXPECT_EQ(Edit->Properties()->EditMask(), L"\\d+");
}

TEST_F(MaskEdit, ValidationOfAnIncompleteClassicText) {
  Mask(emkStandard, L"00/00");
  TcxMaskEditCustomMode* mode = Edit->Mode();
  EXPECT_FALSE(mode->IsFullValidText(L"1_/__"));
  EXPECT_FALSE(mode->IsFullValidText(L"__/__"));
  EXPECT_TRUE(mode->IsFullValidText(L"12/34"));
  Edit->Properties()->SetIgnoreMaskBlank(true);
  EXPECT_TRUE(mode->IsFullValidText(L"__/__")) << "the untouched mask";
  EXPECT_FALSE(mode->IsFullValidText(L"1_/__"));
}

TEST_F(MaskEdit, AnUnfocusedValueShowsLiteralsOnlyWhenAsked) {
  Mask(emkStandard, L"00/00;0;_");
  Edit->SetEditValue(Variant(String(L"1234")));
  PumpPending();
  EXPECT_EQ(State().Text, L"1234");
  Edit->Properties()->SetAlwaysShowBlanksAndLiterals(true);
  Edit->SetEditValue(Variant(String(L"1234")));
  EXPECT_EQ(State().Text, L"12/34");
}

TEST_F(MaskEdit, FormattingTable) {
  struct TRow {
    const char* Name;
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    const wchar_t* Text;
    const wchar_t* Formatted;
  };
  const TRow rows[] = {
      {"classic", emkStandard, L"00/00", L"1234", L"12/34"},
      {"pattern leaves out rejected", emkRegExpr, L"\\d+", L"1x2", L"12"},
      {"completion appends the forced rest", emkRegExprEx, L"\\d\\d-\\d\\d", L"12", L"12-"},
      {"completion of nothing is the prefix", emkRegExprEx, L"'ab'\\d", L"", L"ab"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Mask(row.Kind, row.Mask);
    EXPECT_EQ(Edit->Mode()->GetFormattedText(row.Text, false), row.Formatted);
  }
}

TEST_F(MaskEdit, ClassicInsertionSkipsLiterals) {
  Mask(emkStandard, L"(000) 000");
  Focus();
  Edit->SetSelStart(1);
  String result;
  int caret = 0;
  ASSERT_TRUE(Edit->Mode()->GetInsertedText(L"12345", result, caret));
  EXPECT_EQ(result, L"(123) 45_");
  EXPECT_EQ(caret, 8);
  EXPECT_FALSE(Edit->Mode()->GetInsertedText(L"", result, caret));
}

// ---------------------------------------------------------------------------
// Filter rows

TEST(MaskFilterHelper, IsRegisteredForMaskPropertiesAndEditsWithAMaskEditor) {
  TcxFilterEditsController* controller = GetFilterEditsController();
  EXPECT_EQ(controller->FindHelper(TcxMaskEditProperties::ClassInfo()), TcxFilterMaskEditHelper::ClassInfo());
  EXPECT_EQ(controller->FindHelper(TcxTextEditProperties::ClassInfo()), TcxFilterTextEditHelper::ClassInfo());
  EXPECT_EQ(cxFilterEditHelper(TcxFilterMaskEditHelper::ClassInfo())->GetFilterEditClass(), TcxMaskEdit::ClassInfo());
}

TEST(MaskFilterHelper, TextComparisonsOnlyForAnUnmaskedStringValue) {
  struct TRow {
    const char* Name;
    const wchar_t* Mask;
    TcxValueTypeClass ValueType;
    bool Extended;
    bool Text;
  };
  const TRow rows[] = {
      {"unmasked string", L"", TcxStringValueType::ClassInfo(), false, true},
      {"blank mask is no mask", L"  ", TcxStringValueType::ClassInfo(), true, true},
      {"masked string", L"00/00", TcxStringValueType::ClassInfo(), false, false},
      {"masked string, extended", L"00/00", TcxStringValueType::ClassInfo(), true, false},
      {"unmasked number", L"", TcxIntegerValueType::ClassInfo(), true, false},
  };
  const TcxFilterControlOperators comparisons = {fcoEqual,   fcoNotEqual,     fcoLess,   fcoLessEqual,
                                                 fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
  const TcxFilterControlOperators text = {fcoLike,        fcoNotLike,    fcoContains,
                                          fcoNotContains, fcoBeginsWith, fcoEndsWith};
  const TcxFilterControlOperators extended = {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TcxMaskEditProperties> properties(New<TcxMaskEditProperties>(static_cast<TPersistent*>(nullptr)));
    properties->SetEditMask(row.Mask);
    TcxFilterControlOperators expected = comparisons;
    if (row.Text) expected += text;
    if (row.Extended) expected += extended;
    EXPECT_EQ(cxFilterEditHelper(TcxFilterMaskEditHelper::ClassInfo())
                  ->GetSupportedFilterOperators(properties.get(), row.ValueType, row.Extended)
                  .ToBits(),
              expected.ToBits());
  }
}

TEST(MaskFilterHelper, APatternColumnFiltersWithCompletionAndAMaskWithoutAutoSelect) {
  struct TRow {
    const char* Name;
    TcxEditMaskKind Kind;
    const wchar_t* Mask;
    TcxEditMaskKind FilterKind;
    bool AutoSelect;
  };
  const TRow rows[] = {
      {"pattern", emkRegExpr, L"\\d+", emkRegExprEx, false},
      {"completion stays", emkRegExprEx, L"\\d+", emkRegExprEx, false},
      {"classic", emkStandard, L"00/00", emkStandard, false},
      {"unmasked", emkStandard, L"", emkStandard, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TcxMaskEditProperties> source(New<TcxMaskEditProperties>(static_cast<TPersistent*>(nullptr)));
    source->SetMaskKind(row.Kind);
    source->SetEditMask(row.Mask);
    source->SetAutoSelect(!row.AutoSelect);
    source->SetReadOnly(true);
    TOwned<TcxCustomEdit> edit(cxFilterEditHelper(TcxFilterMaskEditHelper::ClassInfo())->GetFilterEdit(source.get()));
    auto* prepared = dynamic_cast<TcxCustomMaskEditProperties*>(edit->ActiveProperties());
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(prepared->MaskKind(), row.FilterKind);
    EXPECT_EQ(prepared->EditMask(), row.Mask);
    EXPECT_EQ(prepared->AutoSelect(), row.AutoSelect);
    EXPECT_FALSE(prepared->ReadOnly()) << "the text helper's step ran";
  }
}

// ---------------------------------------------------------------------------
// Without a mask

TEST_F(MaskEdit, WithoutAMaskTypingIsTheTextEditors) {
  Focus();
  EXPECT_FALSE(Edit->IsMasked());
  Type(L"ab1");
  PressMaskKey(VK_BACK);
  PressMaskKey(VK_HOME);
  PressMaskKey(VK_DELETE);
  EXPECT_EQ(State().Text, L"b");
  EXPECT_EQ(Beeps, 0);
}

}  // namespace
