// Alignment, anchors, scaling, z-order and hit testing of controls.
#include "platform/ui/Controls.h"

#include "tests/platform_ui/UiTestClasses.h"

#include <gtest/gtest.h>

namespace {

// A parent of a known client size without a window.
class LayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    FParent = New<TTestGroup>(nullptr);
    FParent->SetBounds(0, 0, 200, 100);
  }
  void TearDown() override { FreeAndNil(FParent); }
  TTestGraphic* Add(TAlign AAlign, const TRect& ABounds) {
    auto* c = New<TTestGraphic>(nullptr);
    c->SetBoundsRect(ABounds);
    c->SetParent(FParent);
    c->SetAlign(AAlign);
    return c;
  }
  TTestGroup* FParent = nullptr;
};

struct TAlignCase {
  const char* Name;
  TAlign Align;
  TRect Start;
  TRect Expected;
};

class AlignTest : public LayoutTest, public testing::WithParamInterface<TAlignCase> {};

TEST_P(AlignTest, SingleControlTakesItsEdgeOfTheClientArea) {
  const TAlignCase& c = GetParam();
  TTestGraphic* control = Add(c.Align, c.Start);
  EXPECT_EQ(c.Expected, control->BoundsRect());
  // The place follows the parent when it is resized.
  FParent->SetBounds(0, 0, 300, 150);
  TRect grown = c.Expected;
  switch (c.Align) {
    case alTop: grown.Right = 300; break;
    case alBottom: grown = TRect(0, 150 - c.Expected.Height(), 300, 150); break;
    case alLeft: grown.Bottom = 150; break;
    case alRight: grown = TRect(300 - c.Expected.Width(), 0, 300, 150); break;
    case alClient: grown = TRect(0, 0, 300, 150); break;
    default: break;
  }
  EXPECT_EQ(grown, control->BoundsRect());
}

INSTANTIATE_TEST_SUITE_P(Edges, AlignTest,
                         testing::Values(TAlignCase{"top", alTop, Bounds(10, 30, 50, 20), TRect(0, 0, 200, 20)},
                                         TAlignCase{"bottom", alBottom, Bounds(10, 5, 50, 20), TRect(0, 80, 200, 100)},
                                         TAlignCase{"left", alLeft, Bounds(30, 10, 40, 20), TRect(0, 0, 40, 100)},
                                         TAlignCase{"right", alRight, Bounds(30, 10, 40, 20), TRect(160, 0, 200, 100)},
                                         TAlignCase{"client", alClient, Bounds(3, 3, 4, 4), TRect(0, 0, 200, 100)},
                                         TAlignCase{"none", alNone, Bounds(3, 4, 5, 6), Bounds(3, 4, 5, 6)}),
                         [](const testing::TestParamInfo<TAlignCase>& I) { return std::string(I.param.Name); });

TEST_F(LayoutTest, EdgesAreTakenInOrderTopBottomLeftRightThenClient) {
  TTestGraphic* client = Add(alClient, Bounds(0, 0, 1, 1));
  TTestGraphic* right = Add(alRight, Bounds(0, 0, 30, 1));
  TTestGraphic* left = Add(alLeft, Bounds(0, 0, 20, 1));
  TTestGraphic* bottom = Add(alBottom, Bounds(0, 0, 1, 15));
  TTestGraphic* top = Add(alTop, Bounds(0, 0, 1, 10));
  EXPECT_EQ(TRect(0, 0, 200, 10), top->BoundsRect());
  EXPECT_EQ(TRect(0, 85, 200, 100), bottom->BoundsRect());
  EXPECT_EQ(TRect(0, 10, 20, 85), left->BoundsRect());
  EXPECT_EQ(TRect(170, 10, 200, 85), right->BoundsRect());
  EXPECT_EQ(TRect(20, 10, 170, 85), client->BoundsRect());
}

TEST_F(LayoutTest, ControlsOfOneEdgeStackInTheOrderOfTheirPlaces) {
  TTestGraphic* second = Add(alTop, Bounds(0, 50, 1, 10));
  TTestGraphic* first = Add(alTop, Bounds(0, 5, 1, 20));
  // The second one sits at the top already when the first one (placed
  // lower) joins the edge.
  EXPECT_EQ(TRect(0, 0, 200, 10), second->BoundsRect());
  EXPECT_EQ(TRect(0, 10, 200, 30), first->BoundsRect());
  // Moving one above the other swaps them.
  first->SetTop(-1);
  EXPECT_EQ(TRect(0, 0, 200, 20), first->BoundsRect());
  EXPECT_EQ(TRect(0, 20, 200, 30), second->BoundsRect());
}

TEST_F(LayoutTest, HiddenAlignedControlGivesUpItsSpace) {
  TTestGraphic* top = Add(alTop, Bounds(0, 0, 1, 10));
  TTestGraphic* client = Add(alClient, Bounds(0, 0, 1, 1));
  EXPECT_EQ(TRect(0, 10, 200, 100), client->BoundsRect());
  top->SetVisible(false);
  EXPECT_EQ(TRect(0, 0, 200, 100), client->BoundsRect());
}

TEST_F(LayoutTest, OversizedEdgesNeverGiveANegativeClientArea) {
  Add(alTop, Bounds(0, 0, 1, 70));
  Add(alBottom, Bounds(0, 0, 1, 70));
  TTestGraphic* client = Add(alClient, Bounds(0, 0, 1, 1));
  EXPECT_GE(client->Width(), 0);
  EXPECT_GE(client->Height(), 0);
}

TEST_F(LayoutTest, DisabledAlignmentWaitsForEnable) {
  FParent->DisableAlign();
  TTestGraphic* top = Add(alTop, Bounds(5, 5, 1, 10));
  EXPECT_EQ(Bounds(5, 5, 1, 10), top->BoundsRect());
  FParent->EnableAlign();
  EXPECT_EQ(TRect(0, 0, 200, 10), top->BoundsRect());
}

struct TAnchorCase {
  const char* Name;
  TAnchors Anchors;
  TRect Expected;  // after the parent grows from 200 x 100 to 260 x 140
};

class AnchorTest : public LayoutTest, public testing::WithParamInterface<TAnchorCase> {};

TEST_P(AnchorTest, KeepsTheDistancesOfItsAnchoredSides) {
  TTestGraphic* control = Add(alNone, Bounds(20, 10, 50, 30));
  control->SetAnchors(GetParam().Anchors);
  FParent->SetBounds(0, 0, 260, 140);
  EXPECT_EQ(GetParam().Expected, control->BoundsRect());
  // Back to the old size, back to the old place.
  FParent->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(Bounds(20, 10, 50, 30), control->BoundsRect());
}

INSTANTIATE_TEST_SUITE_P(
    Sides, AnchorTest,
    testing::Values(TAnchorCase{"leftTop", {akLeft, akTop}, Bounds(20, 10, 50, 30)},
                    TAnchorCase{"rightBottom", {akRight, akBottom}, Bounds(80, 50, 50, 30)},
                    TAnchorCase{"allFour", {akLeft, akTop, akRight, akBottom}, Bounds(20, 10, 110, 70)},
                    TAnchorCase{"leftRight", {akLeft, akRight, akTop}, Bounds(20, 10, 110, 30)},
                    TAnchorCase{"none", {}, Bounds(50, 30, 50, 30)}),
    [](const testing::TestParamInfo<TAnchorCase>& I) { return std::string(I.param.Name); });

TEST_F(LayoutTest, ScaleByScalesBoundsOfParentAndChildrenKeepingEdgesFlush) {
  TTestGraphic* a = Add(alNone, Bounds(10, 10, 15, 15));
  TTestGraphic* b = Add(alNone, Bounds(25, 10, 15, 15));
  FParent->ScaleBy(3, 2);
  EXPECT_EQ(TRect(0, 0, 300, 150), FParent->BoundsRect());
  EXPECT_EQ(a->BoundsRect().Right, b->BoundsRect().Left) << "neighbours stay flush";
  EXPECT_EQ(TRect(15, 15, 38, 38), a->BoundsRect());
  EXPECT_EQ(TRect(38, 15, 60, 38), b->BoundsRect());
  EXPECT_THROW(FParent->ScaleBy(1, 0), EInvalidOperation);
}

class TLoadingGraphic : public TTestGraphic {
  SK_CLASS(TLoadingGraphic, TTestGraphic)
 public:
  void BeginLoading() { IncludeState(csLoading); }
};

TEST_F(LayoutTest, AControlBeingReadScalesOnlyWhatItsFlagsNameAndOnlyOnce) {
  auto* reading = New<TLoadingGraphic>(nullptr);
  reading->SetBoundsRect(Bounds(10, 20, 30, 40));
  reading->SetParent(FParent);
  reading->BeginLoading();
  reading->SetScalingFlags({sfLeft, sfWidth});
  TTestGraphic* idle = Add(alNone, Bounds(10, 20, 30, 40));
  idle->SetScalingFlags({});

  FParent->ScaleBy(2, 1);
  EXPECT_EQ(Bounds(20, 20, 60, 40), reading->BoundsRect());
  EXPECT_EQ(TScalingFlags{}, reading->ScalingFlags());
  EXPECT_EQ(Bounds(20, 40, 60, 80), idle->BoundsRect()) << "outside loading the flags do not matter";

  FParent->ScaleBy(2, 1);
  EXPECT_EQ(Bounds(20, 20, 60, 40), reading->BoundsRect()) << "scaled once";
}

TEST_F(LayoutTest, OwnFontScalesParentFontFollows) {
  TTestGraphic* own = Add(alNone, Bounds(0, 0, 10, 10));
  own->Font()->SetHeight(-13);
  ASSERT_FALSE(own->ParentFont()) << "a font of its own cuts the tie";
  TTestGraphic* follower = Add(alNone, Bounds(0, 0, 10, 10));
  FParent->Font()->SetHeight(-10);
  EXPECT_EQ(-10, follower->Font()->Height());
  FParent->ScaleBy(2, 1);
  EXPECT_EQ(-26, own->Font()->Height());
  EXPECT_FALSE(own->ParentFont());
  EXPECT_EQ(-20, FParent->Font()->Height());
  EXPECT_EQ(-20, follower->Font()->Height()) << "the follower takes the scaled parent font";
  EXPECT_TRUE(follower->ParentFont());
}

TEST_F(LayoutTest, TopmostGraphicControlIsHitFirstAndZOrderChangesIt) {
  TTestGraphic* below = Add(alNone, Bounds(10, 10, 50, 50));
  TTestGraphic* above = Add(alNone, Bounds(30, 30, 50, 50));
  EXPECT_EQ(above, FParent->ControlAtPos(TPoint(40, 40), false));
  EXPECT_EQ(below, FParent->ControlAtPos(TPoint(15, 15), false));
  below->BringToFront();
  EXPECT_EQ(below, FParent->ControlAtPos(TPoint(40, 40), false));
  EXPECT_EQ(nullptr, FParent->ControlAtPos(TPoint(5, 5), false));
  below->SetEnabled(false);
  EXPECT_EQ(above, FParent->ControlAtPos(TPoint(40, 40), false));
  EXPECT_EQ(below, FParent->ControlAtPos(TPoint(40, 40), true));
  below->SetVisible(false);
  EXPECT_EQ(above, FParent->ControlAtPos(TPoint(40, 40), true));
}

TEST_F(LayoutTest, ParentCycleIsRefused) {
  auto* child = New<TTestGroup>(nullptr);
  child->SetParent(FParent);
  EXPECT_THROW(FParent->SetParent(child), EInvalidOperation);
  EXPECT_THROW(FParent->SetParent(FParent), EInvalidOperation);
  EXPECT_EQ(nullptr, FParent->Parent());
  // Freeing the parent frees the child it holds.
  TControlTracker alive(child);
  FreeAndNil(FParent);
  EXPECT_FALSE(alive.Alive());
}

}  // namespace

namespace {

// Chooses 33 x 17 when sizing itself; refuses widths above 150.
class TSizingControl : public TTestGraphic {
  SK_CLASS(TSizingControl, TTestGraphic)
 protected:
  bool CanAutoSize(int& NewWidth, int& NewHeight) override {
    NewWidth = 33;
    NewHeight = 17;
    return true;
  }
  bool CanResize(int& NewWidth, int& NewHeight) override {
    return NewWidth <= 150 && inherited::CanResize(NewWidth, NewHeight);
  }
};

TEST_F(LayoutTest, ConstraintsBendEveryNewSize) {
  TTestGraphic* c = Add(alNone, Bounds(0, 0, 50, 50));
  c->Constraints()->SetMinWidth(20);
  c->Constraints()->SetMaxWidth(60);
  c->Constraints()->SetMaxHeight(40);
  EXPECT_EQ(Bounds(0, 0, 50, 40), c->BoundsRect()) << "new limits apply at once";
  c->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(Bounds(0, 0, 20, 10), c->BoundsRect());
  c->SetBounds(0, 0, 90, 90);
  EXPECT_EQ(Bounds(0, 0, 60, 40), c->BoundsRect());
  // Limits that contradict each other are brought in line.
  c->Constraints()->SetMaxWidth(10);
  EXPECT_EQ(10, c->Constraints()->MinWidth());
  EXPECT_EQ(10, c->Width());
  // Alignment respects them too.
  c->SetAlign(alClient);
  EXPECT_EQ(Bounds(0, 0, 10, 40), c->BoundsRect());
}

// Each limit, set past its counterpart, carries the counterpart along; a
// maximum of 0 means none and negative limits are 0.
TEST(SizeConstraints, ALimitPastItsCounterpartCarriesItAlong) {
  struct Case {
    const char* Name;
    void (TSizeConstraints::*Set)(int);
    int Value;
    int MinWidth, MaxWidth, MinHeight, MaxHeight;
  };
  const Case cases[] = {
      {"min width above max", &TSizeConstraints::SetMinWidth, 80, 80, 80, 20, 60},
      {"max width below min", &TSizeConstraints::SetMaxWidth, 10, 10, 10, 20, 60},
      {"min height above max", &TSizeConstraints::SetMinHeight, 80, 20, 60, 80, 80},
      {"max height below min", &TSizeConstraints::SetMaxHeight, 10, 20, 60, 10, 10},
      {"min within the range", &TSizeConstraints::SetMinWidth, 30, 30, 60, 20, 60},
      {"no maximum", &TSizeConstraints::SetMaxHeight, 0, 20, 60, 20, 0},
      {"negative minimum", &TSizeConstraints::SetMinHeight, -5, 20, 60, 0, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TSizeConstraints> limits(New<TSizeConstraints>(nullptr));
    limits->SetMinWidth(20);
    limits->SetMaxWidth(60);
    limits->SetMinHeight(20);
    limits->SetMaxHeight(60);
    ((*limits).*c.Set)(c.Value);
    EXPECT_EQ(limits->MinWidth(), c.MinWidth);
    EXPECT_EQ(limits->MaxWidth(), c.MaxWidth);
    EXPECT_EQ(limits->MinHeight(), c.MinHeight);
    EXPECT_EQ(limits->MaxHeight(), c.MaxHeight);
  }
}

TEST_F(LayoutTest, CanResizeRefusesAndAutoSizeChoosesTheSize) {
  auto* c = New<TSizingControl>(nullptr);
  c->SetParent(FParent);
  c->SetBounds(0, 0, 100, 20);
  c->SetBounds(0, 0, 200, 20);
  EXPECT_EQ(100, c->Width()) << "refused";
  c->SetAutoSize(true);
  EXPECT_EQ(Bounds(0, 0, 33, 17), c->BoundsRect());
  c->SetBounds(5, 5, 80, 80);
  EXPECT_EQ(Bounds(5, 5, 33, 17), c->BoundsRect()) << "an auto-sized control keeps its own size";
}

TEST_F(LayoutTest, BiDiModeFollowsTheParent) {
  TTestGraphic* c = Add(alNone, Bounds(0, 0, 5, 5));
  FParent->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(bdRightToLeft, c->BiDiMode());
  EXPECT_TRUE(c->UseRightToLeftAlignment());
  c->SetBiDiMode(bdLeftToRight);
  FParent->SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(bdLeftToRight, c->BiDiMode());
  EXPECT_FALSE(c->ParentBiDiMode());
}

}  // namespace
