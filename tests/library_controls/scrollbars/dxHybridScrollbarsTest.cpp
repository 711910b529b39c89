#include "library/controls/scrollbars/dxHybridScrollbars.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/library_controls/OverlayScrollBarsTesting.h"
#include "tests/library_controls/ScrollbarAnnotationsTesting.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The animation clock, moved by hand.
struct TFakeClock {
  static constexpr std::int64_t TicksPerMs = 1000;
  static inline std::int64_t Now = 0;
  static BOOL WINAPI ReadCounter(LARGE_INTEGER* AValue) {
    AValue->QuadPart = Now;
    return TRUE;
  }
  static BOOL WINAPI ReadFrequency(LARGE_INTEGER* AValue) {
    AValue->QuadPart = TicksPerMs * 1000;
    return TRUE;
  }
};

struct THybridScrollBars : testing::Test {
  TOwned<TForm> Form;
  TOverlayControl* First = nullptr;
  TOverlayControl* Second = nullptr;
  TdxPerformanceCounter Saved;

  TOverlayControl* NewControl(int ALeft) {
    auto* control = New<TOverlayControl>(Form.get());
    control->LookAndFeel()->SetScrollbarMode(sbmHybrid);
    control->SetParent(Form.get());
    control->SetBounds(ALeft, 20, 150, 120);
    control->HandleNeeded();
    control->SetContent(150, 500);
    return control;
  }
  void SetUp() override {
    Saved = dxPerformanceCounter();
    TFakeClock::Now = 5'000'000'000;
    dxSetPerformanceCounter({&TFakeClock::ReadCounter, &TFakeClock::ReadFrequency});
    Form.reset(NewShownForm(TRect(60, 60, 460, 300)));
    First = NewControl(10);
    Second = NewControl(200);
    PumpPending();
  }
  void TearDown() override {
    Form.reset();
    dxSetPerformanceCounter(Saved);
  }

  // Time passes and the animations take one step.
  static void Advance(int AMs) {
    TFakeClock::Now += AMs * TFakeClock::TicksPerMs;
    dxAnimationController()->Update();
  }
  static TdxHybridScrollbarsManager* Manager(TOverlayControl* AControl) {
    return AControl->ScrollbarsHelper()->HybridScrollbarsManager();
  }
  static TcxControlPopupScrollBar* Bar(TOverlayControl* AControl) {
    return dynamic_cast<TcxControlPopupScrollBar*>(AControl->GetVertScrollBar()->GetControl());
  }
  static bool BarShown(TOverlayControl* AControl) {
    TcxControlPopupScrollBar* bar = Bar(AControl);
    return bar && bar->HandleAllocated() && IsWindowVisible(bar->Handle());
  }
};

TEST_F(THybridScrollBars, AFadeReversedHalfWayTakesHalfTheTime) {
  TdxHybridScrollbarsManager* manager = Manager(First);
  ASSERT_NE(manager, nullptr);
  First->RevealScrollBars(false);
  EXPECT_TRUE(BarShown(First));
  ASSERT_NE(manager->FadingAnimation(), nullptr);
  EXPECT_EQ(manager->FadingAnimation()->Time(), 1000u);
  Advance(500);
  EXPECT_NEAR(manager->FadingValue(), 127, 2);
  // The bar's window takes the fading value as its constant alpha.
  EXPECT_EQ(Bar(First)->Alpha(), manager->FadingValue());

  const int reached = manager->FadingValue();
  First->HideScrollBars(true);  // hidden at once: no fade
  EXPECT_FALSE(BarShown(First));
  First->RevealScrollBars(false);
  Advance(500);
  manager->Hide(true, true);
  ASSERT_NE(manager->FadingAnimation(), nullptr);
  EXPECT_EQ(manager->FadingState(), TFadingState::fstHiding);
  EXPECT_NEAR(static_cast<int>(manager->FadingAnimation()->Time()), reached * 1000 / 255, 8);
  Advance(250);
  EXPECT_NEAR(manager->FadingValue(), reached / 2, 3);
  Advance(300);
  EXPECT_EQ(manager->FadingValue(), 0);
  EXPECT_FALSE(manager->AllowVisible());
  EXPECT_FALSE(BarShown(First));
}

TEST_F(THybridScrollBars, TheBarUnderTheMouseExpandsAndCollapsesAfterAPause) {
  TdxHybridScrollbarsManager* manager = Manager(First);
  TcxControlPopupScrollBar* bar = Bar(First);
  // Shown by activity: only the hover holds the bars.
  First->RevealScrollBars(true);
  Advance(1000);
  ASSERT_EQ(manager->FadingValue(), 255);
  TLayerCapture capture;
  capture.Only(bar->Handle());
  manager->BeginExpand(bar);
  ASSERT_NE(manager->SizeAnimation(), nullptr);
  EXPECT_EQ(manager->SizeAnimation()->Time(), 100u);
  Advance(50);
  EXPECT_EQ(manager->VisibleSize(), 50);
  // 6 + 50 × 10 / 100 pixels thick at 96 DPI.
  EXPECT_EQ(bar->VisibleSize(), 11);
  const TCapturedLayer& layer = capture.Last();
  ASSERT_NE(layer.Pixels, nullptr);
  // Expanded: the whole bar at 50 × 22 / 100 = 11, the thumb (below the
  // 16-pixel arrow) 11 wide at the far edge at 69.
  TPremultiplied background;
  background.Over(clBlack, 11);
  TPremultiplied thumb = background;
  thumb.Over(clBlack, 69);
  ExpectPixel(*layer.Pixels, 0, 30, background);
  ExpectPixel(*layer.Pixels, 4, 30, background);
  ExpectPixel(*layer.Pixels, 5, 30, thumb);
  ExpectPixel(*layer.Pixels, 15, 30, thumb);
  Advance(60);
  EXPECT_EQ(manager->VisibleSize(), 100);
  EXPECT_EQ(manager->CollapsingTimer(), nullptr);  // the mouse is still on it

  manager->EndExpand();
  TcxTimer* collapsing = manager->CollapsingTimer();
  ASSERT_NE(collapsing, nullptr);
  EXPECT_EQ(collapsing->Interval(), 500u);
  CallEvent(collapsing->OnTimer(), collapsing);
  EXPECT_EQ(manager->ExpandState(), TExpandState::estCollapsing);
  Advance(100);
  EXPECT_EQ(manager->VisibleSize(), 0);
  EXPECT_EQ(manager->AnimateObject(), nullptr);
  EXPECT_EQ(bar->VisibleSize(), 6);
  // Nothing holds the bars any more: they fade out after the hiding pause.
  ASSERT_NE(manager->HidingTimer(), nullptr);
  EXPECT_TRUE(manager->HidingTimer()->Enabled());
}

TEST_F(THybridScrollBars, ActivatingOneManagerDeactivatesTheOthers) {
  First->RevealScrollBars(true);
  EXPECT_TRUE(TdxHybridScrollbarManagers::IsActive(Manager(First)));
  Advance(500);
  Second->RevealScrollBars(true);
  EXPECT_TRUE(TdxHybridScrollbarManagers::IsActive(Manager(Second)));
  EXPECT_FALSE(TdxHybridScrollbarManagers::IsActive(Manager(First)));
  // The first was fading in with nothing holding it: it fades out now.
  EXPECT_EQ(Manager(First)->FadingState(), TFadingState::fstHiding);
  Advance(600);
  EXPECT_FALSE(BarShown(First));
  EXPECT_TRUE(BarShown(Second));
}

TEST_F(THybridScrollBars, MinimisingTheFormHidesTheBarsAtOnce) {
  First->RevealScrollBars(false);
  ASSERT_TRUE(BarShown(First));
  SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(BarShown(First));
  EXPECT_FALSE(Manager(First)->AllowVisible());
  ShowWindow(Form->Handle(), SW_RESTORE);
}

TEST_F(THybridScrollBars, AFreedControlLeavesTheList) {
  First->RevealScrollBars(true);
  const int count = TdxHybridScrollbarManagers::Count();
  First->Free();
  First = nullptr;
  EXPECT_EQ(TdxHybridScrollbarManagers::Count(), count - 1);
}

// Annotation marks: none on the collapsed stripe; on the expanding bar they
// take the bar's visible share of their width, at its far edge.
TEST_F(THybridScrollBars, AnnotationMarksShowOnlyOnTheExpandedBarAndGrowFromItsFarEdge) {
  TdxHybridScrollbarsManager* manager = Manager(First);
  TcxControlPopupScrollBar* bar = Bar(First);
  First->RevealScrollBars(true);
  Advance(1000);
  TOwned<TTestAnnotations> source(New<TTestAnnotations>());
  source->Count = 50;
  TdxScrollbarAnnotationStyle style;
  style.Width = 10;
  style.MinHeight = 6;
  style.Color = 0xFF102030;  // opaque: the layer shows it as it is
  source->Styles[1] = style;
  source->Rows[1] = {25};
  bar->SetAnnotations(source.get());
  source->Update();
  const auto& infos = bar->Helper()->ViewInfo()->AnnotationInfos()->Infos();
  const auto kind = infos.find(static_cast<TdxScrollbarAnnotationKind>(1));
  ASSERT_NE(kind, infos.end());
  ASSERT_EQ(kind->second.size(), 1u);
  const TRect mark = kind->second[0]->Bounds();
  ASSERT_FALSE(mark.IsEmpty());
  const std::uint32_t markPixel = 0xFF102030;
  const int y = (mark.Top + mark.Bottom) / 2;
  TLayerCapture capture;
  capture.Only(bar->Handle());
  const auto markColumns = [&] {
    const TCapturedLayer& layer = capture.Last();
    std::vector<int> columns;
    if (!layer.Pixels) return columns;
    for (int x = 0; x < layer.Pixels->Width(); ++x)
      if (layer.Pixels->Raw(x, y) == markPixel) columns.push_back(x);
    return columns;
  };

  bar->Invalidate();
  ASSERT_NE(capture.Last().Pixels, nullptr);
  EXPECT_TRUE(markColumns().empty()) << "collapsed";

  manager->BeginExpand(bar);
  Advance(50);
  ASSERT_EQ(bar->VisibleSize(), 11);
  // The mark's columns scaled by 11/16 towards the right edge; columns whose
  // pixel lies wholly inside or wholly outside that span decide.
  const int width = bar->Width();
  const double left = width - (width - mark.Left) * 11.0 / 16;
  const double right = width - (width - mark.Right) * 11.0 / 16;
  std::vector<int> inside, outside;
  for (int x = mark.Left; x < mark.Right; ++x) {
    if (x >= left && x + 1 <= right) inside.push_back(x);
    else if (x + 1 <= left) outside.push_back(x);
  }
  ASSERT_FALSE(inside.empty());
  ASSERT_FALSE(outside.empty());
  const std::vector<int> half = markColumns();
  for (int x : inside) EXPECT_TRUE(std::ranges::find(half, x) != half.end()) << "column " << x << " half expanded";
  for (int x : outside) EXPECT_TRUE(std::ranges::find(half, x) == half.end()) << "column " << x << " half expanded";

  Advance(60);
  ASSERT_EQ(bar->VisibleSize(), 16);
  std::vector<int> whole;
  for (int x = mark.Left; x < mark.Right; ++x) whole.push_back(x);
  EXPECT_EQ(markColumns(), whole) << "expanded";
  bar->SetAnnotations(nullptr);
}

}  // namespace
