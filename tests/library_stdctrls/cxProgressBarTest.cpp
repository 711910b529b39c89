// The progress bar's values and layout: the position pipeline with its
// listeners, range maintenance, the peak, the texts, the rectangles, and
// what accessibility clients read.
#include "library/stdctrls/cxProgressBar.h"

#include "platform/classes/FormReader.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Counts the notices of one listener.
class TPbListenerCounter : public TObject {
  SK_CLASS(TPbListenerCounter, TObject)
 public:
  void Create(TcxProgressBar* ABar) {
    inherited::Create();
    FBar = ABar;
    FListener.reset(New<TcxProgressBarListener>(ABar));
    FListener->SetOnChanged(BindEvent<&TPbListenerCounter::Changed>(this));
    ABar->RegisterListener(FListener.get());
  }
  void Destroy() override {
    FBar->UnRegisterListener(FListener.get());
    FListener.reset();
    inherited::Destroy();
  }
  int Count = 0;
  TObject* LastSender = nullptr;

 private:
  void Changed(TObject* Sender) {
    ++Count;
    LastSender = Sender;
  }
  TcxProgressBar* FBar;
  TOwned<TcxProgressBarListener> FListener;
};

struct ProgressBarValues : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxProgressBar* Bar = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 500, 200);
    Form->Show();
    Bar = New<TcxProgressBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetBounds(10, 10, 204, 21);
    for (TcxContainerStyle* style : {Bar->Style(), Bar->StyleDisabled(), Bar->StyleFocused(), Bar->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(false);
    PumpPending();
  }
  TcxCustomProgressBarViewInfo* VI() const { return Bar->ViewInfo(); }
};

TEST_F(ProgressBarValues, ListenersHearEveryWriteThatPassesTheEqualityTest) {
  TOwned<TPbListenerCounter> counter(New<TPbListenerCounter>(Bar));
  const struct {
    const char* Name;
    double Written;
    double Read;
    int Notices;  // after this write, in total
  } rows[] = {{"first", 40, 40, 1},        {"same again", 40, 40, 1},      {"to the top", 100, 100, 2},
              {"150 on a full bar", 150, 100, 3}, {"150 again", 150, 100, 4}, {"below", -5, 0, 5},
              {"NaN is ignored", std::nan(""), 0, 5}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->SetPosition(row.Written);
    EXPECT_EQ(Bar->Position(), row.Read);
    EXPECT_EQ(counter->Count, row.Notices);
  }
  EXPECT_EQ(counter->LastSender, Bar);
  // A settings change tells them too.
  Bar->Properties()->SetBeginColor(clRed);
  EXPECT_EQ(counter->Count, 6);
}

TEST_F(ProgressBarValues, MinAndMaxKeepEachOtherAndTheZoneAndPeakInRange) {
  TcxProgressBarProperties* p = Bar->Properties();
  const struct {
    const char* Name;
    bool WriteMax;
    double Value;
    double Min, Max, Overload, Peak;
  } rows[] = {
      {"max below the overload", true, 50, 0, 50, 50, 0},
      {"min above max moves max up", false, 70, 70, 70, 70, 70},
      {"max below min moves min down", true, 20, 20, 20, 20, 20},
      {"min down leaves the rest", false, 0, 0, 20, 20, 20},
      {"max up leaves the rest", true, 100, 0, 100, 20, 20},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    if (row.WriteMax)
      p->SetMax(row.Value);
    else
      p->SetMin(row.Value);
    EXPECT_EQ(p->Min(), row.Min);
    EXPECT_EQ(p->Max(), row.Max);
    EXPECT_EQ(p->OverloadValue(), row.Overload);
    EXPECT_EQ(p->PeakValue(), row.Peak);
  }
  EXPECT_TRUE(p->AssignedValues()->Max());
  EXPECT_TRUE(p->AssignedValues()->Min());
}

TEST_F(ProgressBarValues, TheStoredPeakOnlyGrowsWithThePositionsShown) {
  Bar->Properties()->SetPeakValue(76);
  for (const double position : {50.0, 90.0, 60.0}) Bar->SetPosition(position);
  EXPECT_EQ(Bar->Properties()->PeakValue(), 90);
  EXPECT_EQ(VI()->FPeakValue, 90);
}

TEST_F(ProgressBarValues, ThePercentageRoundsHalvesToTheEvenNeighbour) {
  const struct {
    double Position;
    int Percent;
    const wchar_t* Text;
  } rows[] = {{0.5, 0, L"0 %"}, {1.5, 2, L"2 %"}, {2.5, 2, L"2 %"}, {12.5, 12, L"12 %"},
              {13.5, 14, L"14 %"}, {37.5, 38, L"38 %"}, {100, 100, L"100 %"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Position);
    Bar->SetPosition(row.Position);
    EXPECT_EQ(Bar->PercentDone(), row.Percent);
    EXPECT_EQ(VI()->GetText(), row.Text);
  }
}

TEST_F(ProgressBarValues, TheTextStylesShowPositionOrTextAndMarqueeForcesText) {
  TcxProgressBarProperties* p = Bar->Properties();
  Bar->SetPosition(37.5);
  p->SetShowTextStyle(cxtsPosition);
  const wchar_t saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = L',';
  const String withComma = VI()->GetText();
  FormatSettings.DecimalSeparator = saved;
  EXPECT_EQ(withComma, L"37,5");
  EXPECT_EQ(VI()->GetText(), L"37.5");
  p->SetText(L"Busy");
  EXPECT_EQ(p->ShowTextStyle(), cxtsText);
  EXPECT_EQ(VI()->GetText(), L"Busy");
  p->SetMarquee(true);
  p->SetShowTextStyle(cxtsPercent);
  EXPECT_EQ(p->ShowTextStyle(), cxtsText);
  EXPECT_EQ(VI()->GetText(), L"Busy");
}

TEST_F(ProgressBarValues, StringValuesAreNumbersWithADotOrZero) {
  const struct {
    const wchar_t* Value;
    double Position;
  } rows[] = {{L"37.5", 37.5}, {L"12", 12}, {L"37,5", 0}, {L"abc", 0}, {L"", 0}, {L"1e1", 10}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::string(row.Value, row.Value + wcslen(row.Value)));
    Bar->SetEditValue(Variant(String(row.Value)));
    EXPECT_EQ(Bar->Position(), row.Position);
    // The edit value itself stays as written.
    EXPECT_EQ(Bar->EditValue().AsString(), row.Value);
  }
  EXPECT_EQ(Bar->Properties()->GetDisplayText(Variant(String(L"55.4"))), L"55 %");
  EXPECT_EQ(Bar->Properties()->GetDisplayText(Variant::NullValue()), L"0 %");
}

TEST_F(ProgressBarValues, APositionReadFromAFormStaysUnclampedUntilLoadingEnds) {
  TOwned<TComponent> root(ReadComponentFromText(
      L"object PB: TcxProgressBar\n"
      L"  Position = 150.000000000000000000\n"
      L"  Properties.PeakValue = 76.000000000000000000\n"
      L"end\n"));
  auto* bar = dynamic_cast<TcxProgressBar*>(root.get());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Properties()->PeakValue(), 76);
  // The first calculation after loading clamps the position.
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_FALSE(bar->ComponentState().Contains(csLoading));
}

TEST_F(ProgressBarValues, WhileLoadingAPositionIsNotClamped) {
  Bar->IncludeState(csLoading);
  Bar->SetPosition(150);
  EXPECT_EQ(Bar->Position(), 150);
  Bar->ExcludeState(csLoading);
  Bar->Properties()->Changed();
  EXPECT_EQ(Bar->Position(), 100);
}

// Every rectangle the layout makes, at every width a bar can have.
TEST_F(ProgressBarValues, TheBarCoversItsShareOfTheContentAtEveryWidth) {
  Bar->Properties()->SetShowPeak(true);
  Bar->Properties()->SetShowOverload(true);
  Bar->Properties()->SetOverloadValue(30);
  for (int width = 1; width <= 400; ++width) {
    SCOPED_TRACE(width);
    Bar->SetBounds(10, 10, width, 21);
    Bar->SetPosition(37.5);
    const TRect content = VI()->BarContentRect;
    ASSERT_GE(content.Width(), 0);
    const int share = static_cast<int>(37.5 * content.Width() / 100);
    const int zone = static_cast<int>(30.0 * content.Width() / 100);
    EXPECT_EQ(VI()->ProgressBarRect, TRect(content.Left, content.Top, content.Left + zone, content.Bottom));
    EXPECT_EQ(VI()->OverloadBarRect, TRect(content.Left + zone, content.Top, content.Left + share, content.Bottom));
    EXPECT_EQ(VI()->PeakBarRect.Width(), VI()->FPeakSize);
    EXPECT_LE(VI()->PeakBarRect.Right, std::max(content.Right, content.Left + VI()->FPeakSize));
    EXPECT_TRUE(VI()->BarRect.Contains(content) || content.IsEmpty());
    Bar->SetPosition(0);
  }
}

// Outside the range (unclamped because Max <= Min) no value, however large,
// carries an edge out of the content.
TEST_F(ProgressBarValues, HugeAndInfinitePositionsStayInsideTheContent) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetMin(5);
  p->SetMax(5);
  p->SetShowPeak(true);
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* Name;
    double Position;
    bool Full;
  } rows[] = {{"just above", 5.5, false}, {"1e308", 1e308, true}, {"+inf", inf, true},
              {"-1e308", -1e308, false}, {"-inf", -inf, false}, {"subnormal", 5 + 4.9e-324, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->SetPosition(row.Position);
    EXPECT_EQ(Bar->Position(), row.Position);
    const TRect content = VI()->BarContentRect;
    const TRect progress = VI()->ProgressBarRect;
    EXPECT_GE(progress.Left, content.Left);
    EXPECT_LE(progress.Right, content.Right);
    EXPECT_GE(progress.Width(), 0);
    if (row.Full) {
      EXPECT_EQ(progress, content);
    }
    EXPECT_GE(VI()->PeakBarRect.Left, content.Left);
    EXPECT_LE(Bar->PercentDone(), 100);
  }
  Bar->SetPosition(5.5);
  // The empty range counts as 1: the bar covers Trunc(0.5 x width).
  EXPECT_EQ(VI()->ProgressBarRect.Width(), VI()->BarContentRect.Width() / 2);
}

TEST_F(ProgressBarValues, TheRangeValueProviderCountsThePercentageFromMin) {
  TComPtr<IAccessible> client = AccessibleClientOf(Bar->Handle());
  ASSERT_TRUE(client);
  auto* node = static_cast<TcxAccessibilityHelper*>(Bar->GetAccessibilityHelper()->GetHelper());
  TComPtr<IUnknown> unknown;
  ASSERT_TRUE(node->GetPatternProvider(UIA_RangeValuePatternId, unknown, CHILDID_SELF));
  TComPtr<IUnknown> none;
  EXPECT_FALSE(node->GetPatternProvider(UIA_ValuePatternId, none, CHILDID_SELF));
  TComPtr<IdxRangeValueProvider> provider;
  ASSERT_EQ(unknown->QueryInterface(__uuidof(IdxRangeValueProvider), provider.ReceiveVoid()), S_OK);
  const auto read = [&](HRESULT (STDMETHODCALLTYPE IdxRangeValueProvider::*AGet)(double*)) {
    double value = -1;
    EXPECT_EQ((provider.Get()->*AGet)(&value), S_OK);
    return value;
  };
  TcxProgressBarProperties* p = Bar->Properties();
  const struct {
    const char* Name;
    double Min, Max, Position;
    TcxProgressBarTextStyle Style;
    double Minimum, Maximum, Value;
  } rows[] = {{"percent of 50..150", 50, 150, 100, cxtsPercent, 0, 100, 50},
              {"positions of 50..150", 50, 150, 100, cxtsPosition, 50, 150, 100},
              {"empty range counts as 1", 7, 7, 8, cxtsPercent, 0, 100, 100}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    p->SetMax(1000);
    p->SetMin(row.Min);
    p->SetMax(row.Max);
    p->SetShowTextStyle(row.Style);
    Bar->SetPosition(row.Position);
    EXPECT_EQ(read(&IdxRangeValueProvider::get_Minimum), row.Minimum);
    EXPECT_EQ(read(&IdxRangeValueProvider::get_Maximum), row.Maximum);
    EXPECT_EQ(read(&IdxRangeValueProvider::get_Value), row.Value);
    BOOL readOnly = FALSE;
    EXPECT_EQ(provider->get_IsReadOnly(&readOnly), S_OK);
    EXPECT_TRUE(readOnly);
  }
}

TEST_F(ProgressBarValues, AnMsaaClientReadsTheRoleAndTheText) {
  Bar->SetPosition(37.5);
  TComPtr<IAccessible> client = AccessibleClientOf(Bar->Handle());
  ASSERT_TRUE(client);
  VARIANT self = AccessibleChild(CHILDID_SELF);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(client->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, 48);
  BSTR value = nullptr;
  ASSERT_EQ(client->get_accValue(self, &value), S_OK);
  EXPECT_EQ(TakeBstr(value), L"38 %");
  VARIANT state;
  VariantInit(&state);
  ASSERT_EQ(client->get_accState(self, &state), S_OK);
  EXPECT_TRUE(state.lVal & STATE_SYSTEM_READONLY);
}

TEST_F(ProgressBarValues, AStandaloneBarNeverTakesTheFocus) {
  EXPECT_FALSE(Bar->CanFocus());
  EXPECT_FALSE(Bar->ControlStyle().Contains(csCaptureMouse));
  const TOwned<TcxProgressBar> fresh(New<TcxProgressBar>(nullptr));
  EXPECT_EQ(fresh->Width(), 121);
}

TEST_F(ProgressBarValues, AnAutoSizedHorizontalBarTakesItsHeightFromTheFont) {
  Bar->Style()->Font()->SetHeight(-11);
  const int small = Bar->Height();
  Bar->Style()->Font()->SetHeight(-30);
  PumpPending();
  EXPECT_GT(Bar->Height(), small);
  EXPECT_EQ(Bar->Width(), 204);
}

}  // namespace
