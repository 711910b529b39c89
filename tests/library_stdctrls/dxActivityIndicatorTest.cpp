// The activity indicator: its frames against the same discs drawn with the
// flat GDI+ API, the geometry of each kind, the clock on an injected counter,
// the change of kind and the guarded settings.
#include "library/stdctrls/dxActivityIndicator.h"

#include "library/lookandfeel/animation/dxAnimation.h"
#include "platform/ui/Forms.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

// A performance counter the test moves by hand; each reading may also move it
// by Step, and Reads counts the readings.
struct TFakeCounter {
  static inline std::int64_t Now = 0;
  static inline std::int64_t Step = 0;
  static inline std::int64_t Frequency = 1'000'000;
  static inline int Reads = 0;

  static BOOL WINAPI ReadCounter(LARGE_INTEGER* AValue) {
    AValue->QuadPart = Now;
    Now += Step;
    ++Reads;
    return TRUE;
  }
  static BOOL WINAPI ReadFrequency(LARGE_INTEGER* AValue) {
    AValue->QuadPart = Frequency;
    return TRUE;
  }
};

constexpr TdxAlphaColor Orange = 0xFFFF8000;

struct ActivityIndicator : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TdxActivityIndicator* Indicator = nullptr;
  TdxPerformanceCounter Saved;
  std::int64_t Start = 0;

  void SetUp() override {
    Saved = dxPerformanceCounter();
    TFakeCounter::Now = 7'000'000'000;
    TFakeCounter::Step = 0;
    TFakeCounter::Frequency = 1'000'000;
    dxSetPerformanceCounter({&TFakeCounter::ReadCounter, &TFakeCounter::ReadFrequency});
    Form->SetBounds(100, 100, 300, 200);
    Form->Show();
    Indicator = New<TdxActivityIndicator>(Form.get());
    Indicator->SetParent(Form.get());
    Indicator->LookAndFeel()->SetNativeStyle(false);
    PumpPending();
  }
  void TearDown() override {
    Indicator->SetActive(false);
    dxSetPerformanceCounter(Saved);
  }

  // The main window's indicator.
  TdxActivityIndicatorDotBasedProperties* MakeWindowsIndicator() {
    Indicator->SetBounds(10, 10, 133, 11);
    auto* dots = Dots();
    dots->SetAnimationTime(3000);
    dots->SetDotColor(Orange);
    dots->SetDotSize(5);
    return dots;
  }
  TdxActivityIndicatorDotBasedProperties* Dots() const {
    return dynamic_cast<TdxActivityIndicatorDotBasedProperties*>(Indicator->Properties());
  }
  void Activate() {
    Start = TFakeCounter::Now;
    Indicator->SetActive(true);
  }
  // One timer tick at AMs milliseconds into the run.
  void TickAt(double AMs) {
    TFakeCounter::Now = Start + static_cast<std::int64_t>(std::llround(AMs * TFakeCounter::Frequency / 1000.0));
    Indicator->AnimationController()->Tick();
  }
  TPixelSurface Paint() const {
    TPixelSurface surface(Indicator->Width(), Indicator->Height(), RGB(1, 2, 3));
    Indicator->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
    return surface;
  }
};

// The ease of the running dots, written from its two halves: the hyperbolic
// sine rescaled to 0..1, with the middle 60% replaced by the chord.
double RunningDotEase(double P) {
  const auto curve = [](double X) { return 0.5 + std::sinh(6 * X - 3) / (2 * std::sinh(3.0)); };
  if (P > 0.2 && P < 0.8) return curve(0.2) + (curve(0.8) - curve(0.2)) * (P - 0.2) / 0.6;
  return curve(P);
}

// Antialiased discs as GDI+ draws them on its own over the panel colour.
TPixelSurface ExpectedDiscs(int AWidth, int AHeight, const std::vector<std::pair<double, double>>& ACentres,
                            double ASize, TdxAlphaColor AColor) {
  TPixelSurface surface(AWidth, AHeight, GetSysColor(COLOR_BTNFACE));
  GpGraphics* graphics = nullptr;
  EXPECT_EQ(GdipCreateFromHDC(surface.DC(), &graphics), Gdiplus::Ok);
  const TdxGpOwnedGraphics ownedGraphics(graphics);
  GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill(AColor, &brush);
  const TdxGpOwnedBrush ownedBrush(brush);
  for (const auto& [x, y] : ACentres)
    GdipFillEllipse(graphics, brush, static_cast<float>(x - ASize / 2), static_cast<float>(y - ASize / 2),
                    static_cast<float>(ASize), static_cast<float>(ASize));
  return surface;
}

int LargestChannelDifference(const TPixelSurface& A, const TPixelSurface& B, std::string& AWhere) {
  int largest = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) {
      const COLORREF a = A.Pixel(x, y);
      const COLORREF b = B.Pixel(x, y);
      const int d = std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
      if (d > largest) {
        largest = d;
        AWhere = std::to_string(x) + "," + std::to_string(y);
      }
    }
  return largest;
}

// ---------------------------------------------------------------------------
// The main window's run

TEST_F(ActivityIndicator, TheWindowsRunTimesItsFiveDotsAsTheFormSays) {
  MakeWindowsIndicator();
  Activate();
  const auto* controller = Indicator->AnimationController();
  EXPECT_NEAR(controller->GapBetweenElements(), 0.18797, 5e-6);
  // The first dot crosses in about 1712.4 ms; dot i sets off about 321.9 ms after dot i - 1.
  TickAt(1712.0);
  EXPECT_LT(controller->CalculateProgress(0), 1.0);
  TickAt(1712.8);
  EXPECT_GT(controller->CalculateProgress(0), 1.0);
  for (int i = 1; i < 5; ++i) {
    SCOPED_TRACE(i);
    TickAt(321.9 * i - 0.5);
    EXPECT_LT(controller->CalculateProgress(i), 0.0);
    TickAt(321.9 * i + 0.5);
    EXPECT_GT(controller->CalculateProgress(i), 0.0);
  }
  // The last dot arrives at 3000 ms, when the next run starts.
  TickAt(2999.5);
  EXPECT_LT(controller->CalculateProgress(4), 1.0);
  EXPECT_GT(controller->CalculateProgress(4), 0.999);
  TickAt(3000.0);
  EXPECT_EQ(controller->Progress(), 0.0);
  EXPECT_TRUE(Indicator->Active());
}

TEST_F(ActivityIndicator, EachFrameShowsTheDiscsGdiPlusDrawsAtTheRunsPositions) {
  MakeWindowsIndicator();
  Activate();
  const double gap = 5.0 * 5 / 133;
  const double firstCrossing = 3000 / (1 + 4 * gap);
  for (const double ms : {0.0, 150.0, 400.0, 856.2, 1500.0, 2100.0, 2650.0, 2990.0}) {
    SCOPED_TRACE(testing::Message() << ms << " ms");
    TickAt(ms);
    std::vector<std::pair<double, double>> centres;
    for (int i = 0; i < 5; ++i) {
      const double p = ms / firstCrossing - i * gap;
      if (p >= 0 && p <= 1) centres.emplace_back(133 * RunningDotEase(p), 5.5);
    }
    const TPixelSurface actual = Paint();
    const TPixelSurface expected = ExpectedDiscs(133, 11, centres, 5, Orange);
    std::string where;
    EXPECT_LE(LargestChannelDifference(actual, expected, where), 2)
        << "at " << where << "\n" << actual.Picture(GetSysColor(COLOR_BTNFACE)) << "expected\n"
        << expected.Picture(GetSysColor(COLOR_BTNFACE));
  }
}

TEST_F(ActivityIndicator, StoppedItShowsThePanelAloneAndTheOverlayStays) {
  MakeWindowsIndicator();
  Activate();
  TickAt(1000);
  Indicator->SetActive(false);
  const TPixelSurface stopped = Paint();
  EXPECT_EQ(stopped.CountOther(stopped.ClientRect(), GetSysColor(COLOR_BTNFACE)), 0)
      << stopped.Picture(GetSysColor(COLOR_BTNFACE));

  Dots()->SetOverlayColor(0xFF0000FF);
  const TPixelSurface overlaid = Paint();
  EXPECT_EQ(overlaid.Count(RGB(0, 0, 255)), 133 * 11);
}

TEST_F(ActivityIndicator, NoDotShowsDuringTheRestartDelay) {
  MakeWindowsIndicator();
  Dots()->SetAnimationTime(2000);
  Dots()->SetAnimationRestartDelay(500);
  Activate();
  const COLORREF orange = RGB(0xFF, 0x80, 0x00);
  TickAt(1990);
  EXPECT_GT(Paint().Count(orange), 0) << "the last dot is still on its way";
  for (const double ms : {2001.0, 2250.0, 2499.0}) {
    SCOPED_TRACE(ms);
    TickAt(ms);
    EXPECT_EQ(Paint().Count(orange), 0);
  }
  TickAt(2500);
  EXPECT_EQ(Indicator->AnimationController()->Progress(), 0.0) << "a new run";
}

// ---------------------------------------------------------------------------
// Geometry of the kinds

TEST(ActivityIndicatorRules, TheElasticArcIsTenDegreesAtBothEndsAndLongestInTheMiddle) {
  const TdxActivityIndicatorElasticCircleRule rule;
  struct TRow {
    double Progress, Angle1, Angle2;
  };
  for (const TRow& row : {TRow{0, 720, 710}, TRow{0.5, 522, 188}, TRow{1, 0, -10}}) {
    SCOPED_TRACE(row.Progress);
    double a1 = 0, a2 = 0;
    rule.CalculateAngles(row.Progress, a1, a2);
    EXPECT_NEAR(a1, row.Angle1, 0.5);
    EXPECT_NEAR(a2, row.Angle2, 0.5);
  }
}

TEST(ActivityIndicatorRules, CircularAndGravityDotsSitWhereTheirTurnsPutThem) {
  const TdxRectF bounds(0, 0, 100, 100);
  const TdxActivityIndicatorCircularDotsRule circular;
  const TdxActivityIndicatorGravityDotsRule gravity;
  struct TRow {
    const char* Name;
    const TdxActivityIndicatorDotBasedRule* Rule;
    double Progress;
    double X, Y, Size;  // expected centre and diameter for a dot size of 6
  };
  // Circular: radius (100 - 6 - 3) / 2, two turns per run, from 60 degrees
  // clockwise on screen; at p = 0, 0.5 and 1 a dot is back at its start.
  const double r = 45.5;
  // Gravity: radius (100 - 18 - 3) / 2, at the top at both ends and at the bottom in the middle.
  const double g = 39.5;
  const TRow rows[] = {
      {"CircularStart", &circular, 0, 50 + r * 0.5, 50 + r * std::sqrt(3.0) / 2, 6},
      {"CircularMiddle", &circular, 0.5, 50 + r * 0.5, 50 + r * std::sqrt(3.0) / 2, 6},
      {"CircularEnd", &circular, 1, 50 + r * 0.5, 50 + r * std::sqrt(3.0) / 2, 6},
      {"CircularQuarter", &circular, 0.25, 50 - r * 0.5, 50 - r * std::sqrt(3.0) / 2, 6},
      {"GravityStart", &gravity, 0, 50, 50 - g, 6 * (1 + 3 * std::tanh(1.0))},
      {"GravityMiddle", &gravity, 0.5, 50, 50 + g, 6},
      {"GravityEnd", &gravity, 1, 50, 50 - g, 6 * (1 + 3 * std::tanh(1.0))},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TdxPointF centre = row.Rule->CalculatePosition(bounds, 6, row.Progress);
    EXPECT_NEAR(centre.X, row.X, 1e-3);
    EXPECT_NEAR(centre.Y, row.Y, 1e-3);
    EXPECT_NEAR(row.Rule->CalculateDotSize(6, row.Progress), row.Size, 1e-9);
  }
  EXPECT_TRUE(circular.AllowHideDots());
  EXPECT_FALSE(gravity.AllowHideDots());
}

TEST(ActivityIndicatorRules, HorizontalDotsRunFromEdgeToEdgeFastAtTheEnds) {
  const TdxActivityIndicatorHorizontalDotsRule rule;
  const TdxRectF bounds(10, 20, 143, 31);
  for (const double p : {0.0, 0.1, 0.2, 0.35, 0.5, 0.65, 0.8, 0.95, 1.0}) {
    SCOPED_TRACE(p);
    const TdxPointF centre = rule.CalculatePosition(bounds, 5, p);
    EXPECT_NEAR(centre.X, 10 + 133 * RunningDotEase(p), 1e-3);
    EXPECT_NEAR(centre.Y, 25.5, 1e-6);
  }
  // Slope about 3.015 at the ends and 0.4895 through the middle.
  const double h = 1e-6;
  EXPECT_NEAR((rule.Ease(h) - rule.Ease(0)) / h, 3.015, 0.001);
  EXPECT_NEAR((rule.Ease(0.5 + h) - rule.Ease(0.5)) / h, 0.4895, 0.0001);
}

TEST_F(ActivityIndicator, TheArcSquareIsRoundedInwardAndTheArcIsDrawnInIt) {
  Indicator->SetBounds(10, 10, 100, 100);
  Indicator->SetPropertiesClassName(L"TdxActivityIndicatorElasticCircleProperties");
  auto* arc = dynamic_cast<TdxActivityIndicatorArcBasedProperties*>(Indicator->Properties());
  ASSERT_NE(arc, nullptr);
  arc->SetArcColor(0xFF0000FF);
  auto* viewInfo = dynamic_cast<TdxActivityIndicatorArcBasedViewInfo*>(Indicator->ViewInfo());
  ASSERT_NE(viewInfo, nullptr);
  EXPECT_EQ(viewInfo->ArcArea(), TRect(27, 27, 73, 73));
  Activate();
  TickAt(0);
  const TPixelSurface frame = Paint();
  const TRect drawn = frame.BoundsOfOther(GetSysColor(COLOR_BTNFACE));
  EXPECT_FALSE(drawn.IsEmpty()) << "no arc";
  TRect allowed = viewInfo->ArcArea();
  allowed.Inflate(3, 3);  // half the pen and the antialiased edge
  EXPECT_TRUE(allowed.Contains(drawn)) << frame.Picture(GetSysColor(COLOR_BTNFACE));
}

// ---------------------------------------------------------------------------
// Kinds and settings

TEST_F(ActivityIndicator, ANewIndicatorShowsInactiveHorizontalDots) {
  TOwned<TdxActivityIndicator> fresh(New<TdxActivityIndicator>(nullptr));
  EXPECT_EQ(fresh->Width(), 300);
  EXPECT_EQ(fresh->Height(), 100);
  EXPECT_EQ(fresh->PropertiesClassName(), L"TdxActivityIndicatorHorizontalDotsProperties");
  auto* dots = dynamic_cast<TdxActivityIndicatorDotBasedProperties*>(fresh->Properties());
  ASSERT_NE(dots, nullptr);
  EXPECT_EQ(dots->DotCount(), 5);
  EXPECT_EQ(dots->DotSize(), 6);
  EXPECT_EQ(dots->AnimationTime(), 2000u);
  EXPECT_FALSE(fresh->Active());
  EXPECT_FALSE(fresh->TabStop());
}

TEST_F(ActivityIndicator, AKindChangeWhileRunningRestartsFromZero) {
  MakeWindowsIndicator();
  Activate();
  TickAt(1000);
  ASSERT_GT(Indicator->AnimationController()->Progress(), 0.5);

  Indicator->SetPropertiesClassName(L"TdxActivityIndicatorGravityDotsProperties");
  EXPECT_EQ(Indicator->PropertiesClassName(), L"TdxActivityIndicatorGravityDotsProperties");
  EXPECT_TRUE(Indicator->Active());
  EXPECT_EQ(Indicator->AnimationController()->Progress(), 0.0);
  EXPECT_EQ(Dots()->AnimationTime(), 2000u) << "the new kind starts from its defaults";

  // The same name again keeps the properties object and the run.
  TdxActivityIndicatorProperties* properties = Indicator->Properties();
  TickAt(500);
  const double progress = Indicator->AnimationController()->Progress();
  Indicator->SetPropertiesClassName(L"TdxActivityIndicatorGravityDotsProperties");
  EXPECT_EQ(Indicator->Properties(), properties);
  EXPECT_EQ(Indicator->AnimationController()->Progress(), progress);

  // An unknown name is ignored; an empty one removes the kind and stops.
  Indicator->SetPropertiesClassName(L"TForm");
  EXPECT_EQ(Indicator->Properties(), properties);
  Indicator->SetPropertiesClassName(L"");
  EXPECT_EQ(Indicator->Properties(), nullptr);
  EXPECT_FALSE(Indicator->Active());
  Indicator->SetActive(true);
  EXPECT_FALSE(Indicator->Active());
}

TEST_F(ActivityIndicator, PropertiesOfAnotherKindBringTheirKindAndSharedSettings) {
  TOwned<TdxActivityIndicator> other(New<TdxActivityIndicator>(nullptr));
  other->SetPropertiesClassName(L"TdxActivityIndicatorCircularDotsProperties");
  auto* source = dynamic_cast<TdxActivityIndicatorDotBasedProperties*>(other->Properties());
  source->SetDotCount(7);
  source->SetDotSize(9);
  source->SetAnimationTime(1234);
  Indicator->SetProperties(source);
  EXPECT_EQ(Indicator->PropertiesClassName(), L"TdxActivityIndicatorCircularDotsProperties");
  EXPECT_NE(Indicator->Properties(), source);
  EXPECT_EQ(Dots()->DotCount(), 7);
  EXPECT_EQ(Dots()->DotSize(), 9);
  EXPECT_EQ(Dots()->AnimationTime(), 1234u);
  EXPECT_EQ(Indicator->ViewInfo()->ElementCount(), 7);
}

TEST_F(ActivityIndicator, SettingsAreKeptInsideTheirRanges) {
  auto* dots = Dots();
  struct TRow {
    const char* Name;
    void (TdxActivityIndicatorDotBasedProperties::*Set)(int);
    int (TdxActivityIndicatorDotBasedProperties::*Get)() const;
    int Value, Expected;
  };
  using P = TdxActivityIndicatorDotBasedProperties;
  const TRow rows[] = {
      {"DotSizeAbove", &P::SetDotSize, &P::DotSize, 60, 50},  {"DotSizeBelow", &P::SetDotSize, &P::DotSize, 1, 2},
      {"DotCountZero", &P::SetDotCount, &P::DotCount, 0, 1}, {"DotCountNegative", &P::SetDotCount, &P::DotCount, -3, 1},
      {"DotCountAbove", &P::SetDotCount, &P::DotCount, 11, 10}, {"DotCountMost", &P::SetDotCount, &P::DotCount, 10, 10},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    (dots->*row.Set)(row.Value);
    EXPECT_EQ((dots->*row.Get)(), row.Expected);
  }
  dots->SetAnimationTime(0);
  EXPECT_EQ(dots->AnimationTime(), 1u);
}

TEST_F(ActivityIndicator, ARunShorterThanOneTickStillKeepsTimeAndRestartsOncePerTick) {
  // 100 counts a second: one millisecond is no count at all, so the first
  // dot's crossing would last zero counts.
  TFakeCounter::Frequency = 100;
  MakeWindowsIndicator();
  Dots()->SetAnimationTime(1);
  Dots()->SetAnimationRestartDelay(1000);
  Dots()->SetDotCount(1);
  Activate();
  TFakeCounter::Now += 5;  // inside the restart delay
  Indicator->AnimationController()->Tick();
  const double progress = Indicator->AnimationController()->Progress();
  EXPECT_TRUE(std::isfinite(progress));
  EXPECT_GT(progress, 1.0) << "the dot has arrived";
  EXPECT_EQ(Paint().Count(RGB(0xFF, 0x80, 0x00)), 0);

  // Without a delay the run ends before any later reading of the counter:
  // each tick shows its frame and starts one new run, then returns.
  Dots()->SetAnimationRestartDelay(0);
  TFakeCounter::Step = 5;
  TFakeCounter::Reads = 0;
  Indicator->AnimationController()->Tick();
  EXPECT_EQ(TFakeCounter::Reads, 2) << "one reading for the frame, one for the new run";
  EXPECT_TRUE(Indicator->Active());
}

TEST_F(ActivityIndicator, ScalingScalesTheDotsWithinTheirRange) {
  MakeWindowsIndicator();
  Indicator->ScaleForPPI(192);
  EXPECT_EQ(Dots()->DotSize(), 10);
}

}  // namespace
