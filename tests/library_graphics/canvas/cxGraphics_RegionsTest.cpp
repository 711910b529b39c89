#include "library/graphics/canvas/cxGraphics.h"
#include "platform/ui/GdiScopes.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

const COLORREF White = RGB(255, 255, 255);
const COLORREF Ink = RGB(0, 0, 255);

// The region as the clip region of a surface, filled: the pixels it covers
// and the clip box the system reports.
struct TClipped {
  int Pixels;
  TRect ClipBox;
};
TClipped Clip(const TcxRegion& ARegion) {
  TPixelSurface surface(40, 40, White);
  SelectClipRgn(surface.DC(), ARegion.Handle());
  RECT box{};
  GetClipBox(surface.DC(), &box);
  const TOwnedBrush ink(CreateSolidBrush(Ink));
  const RECT all{0, 0, 40, 40};
  FillRect(surface.DC(), &all, ink.Get());
  return {surface.Count(Ink), TRect(box)};
}

TEST(Region, EmptyAndRectangularRegions) {
  TOwned<TcxRegion> rect(New<TcxRegion>(TRect(0, 0, 10, 10)));
  EXPECT_FALSE(rect->IsEmpty());
  EXPECT_EQ(rect->BoundsRect(), TRect(0, 0, 10, 10));
  EXPECT_EQ(Clip(*rect).Pixels, 100);

  TOwned<TcxRegion> empty(New<TcxRegion>());
  ASSERT_NE(empty->Handle(), nullptr) << "a valid region";
  EXPECT_TRUE(empty->IsEmpty());
  EXPECT_EQ(empty->BoundsRect(), TRect());

  TOwned<TcxRegion> sides(New<TcxRegion>(3, 4, 13, 9));
  EXPECT_EQ(sides->BoundsRect(), TRect(3, 4, 13, 9));
  EXPECT_EQ(Clip(*sides).ClipBox, TRect(3, 4, 13, 9));
  TOwned<TcxRegion> line(New<TcxRegion>(TRect(5, 5, 5, 20)));
  EXPECT_TRUE(line->IsEmpty()) << "no area, no region";
}

TEST(Region, CombiningWithARectangle) {
  struct Case {
    const char* Name;
    TcxRegionOperation Operation;
    TRect Bounds;
    int Pixels;
  };
  // (0, 0, 10, 10) with (5, 5, 15, 15).
  const Case cases[] = {
      {"set", roSet, TRect(5, 5, 15, 15), 100},
      {"add", roAdd, TRect(0, 0, 15, 15), 175},
      {"subtract", roSubtract, TRect(0, 0, 10, 10), 75},
      {"intersect", roIntersect, TRect(5, 5, 10, 10), 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TcxRegion> region(New<TcxRegion>(TRect(0, 0, 10, 10)));
    region->Combine(TRect(5, 5, 15, 15), c.Operation);
    EXPECT_EQ(region->BoundsRect(), c.Bounds);
    const TClipped clipped = Clip(*region);
    EXPECT_EQ(clipped.Pixels, c.Pixels);
    EXPECT_EQ(clipped.ClipBox, c.Bounds);

    // The same with a region object, which is freed when asked.
    TOwned<TcxRegion> again(New<TcxRegion>(TRect(0, 0, 10, 10)));
    TcxRegion* other = New<TcxRegion>(TRect(5, 5, 15, 15));
    const HRGN otherHandle = other->Handle();
    again->Combine(other, c.Operation, true);
    EXPECT_TRUE(again->IsEqual(region.get()));
    EXPECT_FALSE(GdiObjectAlive(otherHandle)) << "the other region was freed";
  }
  TOwned<TcxRegion> kept(New<TcxRegion>(TRect(0, 0, 4, 4)));
  TOwned<TcxRegion> region(New<TcxRegion>(TRect(2, 2, 6, 6)));
  region->Combine(kept.get(), roAdd, false);
  EXPECT_EQ(kept->BoundsRect(), TRect(0, 0, 4, 4));
  EXPECT_EQ(region->BoundsRect(), TRect(0, 0, 6, 6));
}

TEST(Region, SubtractingItselfLeavesNothing) {
  TOwned<TcxRegion> region(New<TcxRegion>(TRect(1, 2, 30, 20)));
  region->Combine(region->Handle(), roSubtract);
  EXPECT_TRUE(region->IsEmpty());
  EXPECT_EQ(region->BoundsRect(), TRect());
  EXPECT_EQ(Clip(*region).Pixels, 0);
}

TEST(Region, Equality) {
  TOwned<TcxRegion> a(New<TcxRegion>(TRect(0, 0, 10, 10)));
  TOwned<TcxRegion> b(New<TcxRegion>(TRect(0, 0, 10, 10)));
  TOwned<TcxRegion> c(New<TcxRegion>(TRect(0, 0, 10, 11)));
  TOwned<TcxRegion> empty1(New<TcxRegion>(TRect(3, 3, 3, 9)));
  TOwned<TcxRegion> empty2(New<TcxRegion>(TRect(20, 0, 10, 0)));
  EXPECT_TRUE(a->IsEqual(b.get()));
  EXPECT_TRUE(a->IsEqual(b->Handle()));
  EXPECT_FALSE(a->IsEqual(c.get()));
  EXPECT_TRUE(empty1->IsEqual(empty2.get())) << "two empty regions are equal whatever they came from";
  EXPECT_FALSE(a->IsEqual(empty1.get()));
  EXPECT_FALSE(a->IsEqual(static_cast<const TcxRegion*>(nullptr)));
}

TEST(Region, RoundCornersStartOnePixelIn) {
  // The system's own rounded rectangle, from one pixel further in.
  TOwned<TcxRegion> square(NewWith<TcxRegion>([](TcxRegion* r) { r->CreateRoundCorners(0, 0, 10, 10, 0, 0); }));
  const TOwnedRegion fromOne(CreateRoundRectRgn(1, 1, 10, 10, 0, 0));
  const TOwnedRegion fromZero(CreateRoundRectRgn(0, 0, 10, 10, 0, 0));
  EXPECT_TRUE(square->IsEqual(fromOne.Get()));
  EXPECT_FALSE(square->IsEqual(fromZero.Get()));
  EXPECT_FALSE(square->PtInRegion(0, 0));
  EXPECT_TRUE(square->PtInRegion(1, 1));
  EXPECT_EQ(square->BoundsRect().TopLeft(), TPoint(1, 1));

  const TRect bounds(2, 3, 30, 25);
  TOwned<TcxRegion> round(NewWith<TcxRegion>([&](TcxRegion* r) { r->CreateRoundCorners(bounds, 8, 6); }));
  const TOwnedRegion system(CreateRoundRectRgn(3, 4, 30, 25, 8, 6));
  EXPECT_TRUE(round->IsEqual(system.Get()));
  EXPECT_FALSE(round->PtInRegion(3, 4)) << "the corner is cut";
  EXPECT_TRUE(round->PtInRegion(15, 4));
}

TEST(Region, FromAWindow) {
  const HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 120, 37, 21, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  TOwned<TcxRegion> bounds(NewWith<TcxRegion>([&](TcxRegion* r) { r->CreateFromWindow(wnd); }));
  EXPECT_EQ(bounds->BoundsRect(), TRect(0, 0, 37, 21)) << "no window region: the window at the origin";
  EXPECT_EQ(Clip(*bounds).Pixels, 37 * 21);

  SetWindowRgn(wnd, CreateEllipticRgn(0, 0, 30, 20), FALSE);
  TOwned<TcxRegion> shaped(NewWith<TcxRegion>([&](TcxRegion* r) { r->CreateFromWindow(wnd, 0); }));
  const TOwnedRegion windowRegion(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(wnd, windowRegion.Get()), ERROR);
  EXPECT_TRUE(shaped->IsEqual(windowRegion.Get())) << "the window's own region";
  EXPECT_FALSE(shaped->PtInRegion(0, 0)) << "outside the ellipse";
  EXPECT_TRUE(shaped->PtInRegion(15, 10));
  DestroyWindow(wnd);
}

TEST(Region, HitTestsAndOffset) {
  TOwned<TcxRegion> region(New<TcxRegion>(TRect(10, 10, 20, 20)));
  struct Case {
    TPoint Point;
    bool Inside;
  };
  const Case points[] = {{TPoint(10, 10), true}, {TPoint(19, 19), true}, {TPoint(20, 15), false}, {TPoint(9, 15), false}};
  for (const Case& c : points) {
    SCOPED_TRACE(testing::Message() << c.Point.X << "," << c.Point.Y);
    EXPECT_EQ(region->PtInRegion(c.Point), c.Inside);
  }
  EXPECT_TRUE(region->RectInRegion(TRect(0, 0, 11, 11))) << "any part inside counts";
  EXPECT_FALSE(region->RectInRegion(0, 0, 10, 10));
  EXPECT_TRUE(region->RectInRegion(12, 12, 13, 13));

  region->Offset(TPoint(5, -10));
  EXPECT_EQ(region->BoundsRect(), TRect(15, 0, 25, 10));
  region->Offset(-15, 0);
  EXPECT_EQ(Clip(*region).ClipBox, TRect(0, 0, 10, 10));
}

TEST(Region, ClonesAreIndependent) {
  TOwned<TcxRegion> region(New<TcxRegion>(TRect(0, 0, 10, 10)));
  region->Combine(TRect(20, 0, 30, 10), roAdd);
  TOwned<TcxRegion> clone = region->Clone();
  EXPECT_TRUE(clone->IsEqual(region.get()));
  EXPECT_NE(clone->Handle(), region->Handle());
  clone->Offset(1, 1);
  EXPECT_EQ(region->BoundsRect(), TRect(0, 0, 30, 10));
  EXPECT_EQ(Clip(*clone).Pixels, 200);
}

TEST(Region, HandlesAreOwnedOrHandedOver) {
  const HRGN given = CreateRectRgn(0, 0, 5, 5);
  TcxRegion* region = New<TcxRegion>(given);
  EXPECT_EQ(region->Handle(), given);
  region->Free();
  EXPECT_FALSE(GdiObjectAlive(given)) << "the region deletes what it owns";

  TOwned<TcxRegion> holder(New<TcxRegion>(TRect(0, 0, 5, 5)));
  const TOwnedRegion taken(holder->Handle());
  holder->SetHandle(nullptr);
  holder.reset();
  EXPECT_TRUE(GdiObjectAlive(taken.Get())) << "setting the handle hands the old one over";

  // Without a region every call fails quietly.
  TOwned<TcxRegion> none(New<TcxRegion>(static_cast<HRGN>(nullptr)));
  none->Combine(TRect(0, 0, 5, 5), roAdd);
  none->Offset(1, 1);
  EXPECT_FALSE(none->PtInRegion(0, 0));
  EXPECT_EQ(none->BoundsRect(), TRect());
  EXPECT_FALSE(none->IsEqual(none.get()));
  EXPECT_EQ(none->Handle(), nullptr);
}

}  // namespace
