#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

struct TPenChangeCounter : TObject {
  int Changes = 0;
  void Count(TObject*) { ++Changes; }
};

std::vector<float> LiveDashArray(TdxGPPen* APen) {
  INT count = 0;
  GdipGetPenDashCount(APen->GpHandle(), &count);
  std::vector<float> result(static_cast<std::size_t>(count));
  if (count > 0) GdipGetPenDashArray(APen->GpHandle(), result.data(), count);
  return result;
}

class GdiPlusPen : public GdiPlusTest {};

TEST_F(GdiPlusPen, DashedStylesMeasureTheirPatternInPixelsWhateverTheWidth) {
  struct {
    const char* Name;
    TdxGPPenStyle Style;
    float Width;
    float Scale;
    std::vector<float> Dashes;  // in pen widths
  } const cases[] = {
      {"dash, width 2", gppsDash, 2, 1, {4.5f, 2}},
      {"dot, width 1", gppsDot, 1, 1, {2, 4}},
      {"dash dot, width 4, scale 2", gppsDashDot, 4, 2, {4.5f, 2, 1, 2}},
      {"dash dot dot, width 1", gppsDashDotDot, 1, 1, {9, 4, 2, 4, 2, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFFFF0000u, c.Width, c.Style, c.Scale));
    EXPECT_EQ(pen->Style(), gppsDashDotDot);
    const std::vector<float> live = LiveDashArray(pen.get());
    ASSERT_EQ(live.size(), c.Dashes.size());
    for (std::size_t i = 0; i < live.size(); ++i) EXPECT_NEAR(live[i], c.Dashes[i], 1e-4);
  }
  const TOwned<TdxGPPen> solid(New<TdxGPPen>(0xFFFF0000u, 2.0f, gppsSolid, 1.0f));
  EXPECT_EQ(solid->Style(), gppsSolid);
  EXPECT_FALSE(solid->HandleAllocated());
}

TEST_F(GdiPlusPen, AnEmptyDashArrayMakesASolidPen) {
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFFFF0000u, 1.0f, gppsDash, 1.0f));
  pen->SetDashArray({});
  EXPECT_EQ(pen->Style(), gppsSolid);
  DashStyle style;
  GdipGetPenDashStyle(pen->GpHandle(), &style);
  EXPECT_EQ(style, DashStyleSolid);
}

TEST_F(GdiPlusPen, OnlyTheDashArrayStyleIsAppliedAgainWhenEqual) {
  const TOwned<TdxGPPen> pen(New<TdxGPPen>());
  TPenChangeCounter changes;
  pen->SetOnChange(BindEvent<&TPenChangeCounter::Count>(&changes));
  pen->SetStyle(gppsDashDotDot);
  pen->SetStyle(gppsDashDotDot);
  EXPECT_EQ(changes.Changes, 2);
  changes.Changes = 0;
  pen->SetStyle(gppsDash);
  pen->SetStyle(gppsDash);
  EXPECT_EQ(changes.Changes, 1);
}

TEST_F(GdiPlusPen, ANegativeWidthIsZeroAndMakesThePenEmpty) {
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFF000000u, 2.0f));
  EXPECT_FALSE(pen->IsEmpty());
  pen->SetWidth(-3);
  EXPECT_EQ(pen->Width(), 0);
  EXPECT_TRUE(pen->IsEmpty());
  pen->SetWidth(1);
  pen->Brush()->SetColor(0);
  EXPECT_TRUE(pen->IsEmpty());
}

TEST_F(GdiPlusPen, TheBrushColourReachesTheLivePenWithoutRebuildingIt) {
  TGpSurface surface(20, 9);
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFFFF0000u, 3.0f));
  GpPen* handle = pen->GpHandle();
  pen->Brush()->SetColor(0xFF0000FF);
  EXPECT_EQ(pen->GpHandle(), handle);
  GdipDrawLineI(surface.Graphics(), pen->GpHandle(), 0, 4, 20, 4);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(10, 4), RGB(0, 0, 255));
  EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 0);
}

TEST_F(GdiPlusPen, CopiesKeepDashesJoinAndMiterLimit) {
  const TOwned<TdxGPPen> source(New<TdxGPPen>(0xFF00FF00u, 2.0f));
  source->SetDashArray({3, 1});
  source->SetLineJoin(LineJoinRound);
  source->SetMiterLimit(4);
  source->SetLineStartCapStyle(gpcsRound);
  source->SetDashCapStyle(gpdcTriangle);
  const TOwned<TdxGPPen> copy(static_cast<TdxGPPen*>(source->Clone()));
  EXPECT_EQ(copy->LineJoin(), LineJoinRound);
  EXPECT_EQ(copy->MiterLimit(), 4);
  EXPECT_EQ(copy->Width(), 2);
  EXPECT_EQ(copy->LineStartCapStyle(), gpcsRound);
  EXPECT_EQ(copy->DashCapStyle(), gpdcTriangle);
  EXPECT_EQ(copy->Brush()->Color(), 0xFF00FF00u);
  EXPECT_EQ(LiveDashArray(copy.get()), (std::vector<float>{3, 1}));
  LineJoin join;
  REAL miter = 0;
  GdipGetPenLineJoin(copy->GpHandle(), &join);
  GdipGetPenMiterLimit(copy->GpHandle(), &miter);
  EXPECT_EQ(join, LineJoinRound);
  EXPECT_EQ(miter, 4);

  // A rebuilt pen keeps its dashes too.
  copy->FreeHandle();
  EXPECT_EQ(LiveDashArray(copy.get()), (std::vector<float>{3, 1}));
}

TEST_F(GdiPlusPen, AntialiasedLinesCoverThePixelsTheyCross) {
  // A 1-pixel line from (2, 3) to (37, 15) drawn with antialiasing: ink in
  // every column it crosses, close to the ideal line, about one pixel of ink
  // per column, none elsewhere. (Wine's GDI+ renders the smoothing mode
  // without partial shades, so the test checks where the ink lies.)
  TGpSurface surface(40, 20);
  GdipSetSmoothingMode(surface.Graphics(), SmoothingModeAntiAlias);
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFF000000u, 1.0f));
  ASSERT_EQ(GdipDrawLine(surface.Graphics(), pen->GpHandle(), 2, 3, 37, 15), Ok);
  surface.Flush();
  double ink = 0;
  for (int x = 0; x < surface.Width(); ++x) {
    double column = 0;
    for (int y = 0; y < surface.Height(); ++y) {
      const double darkness = (255 - GetGValue(surface.Pixel(x, y))) / 255.0;
      column += darkness;
      const double lineY = 3 + (x + 0.5 - 2) * 12.0 / 35.0;
      if (std::abs(y + 0.5 - lineY) > 2) {
        EXPECT_EQ(darkness, 0) << x << "," << y;
      }
    }
    if (x >= 3 && x <= 35) {
      EXPECT_GT(column, 0.3) << "column " << x;
      EXPECT_LT(column, 2.0) << "column " << x;
    }
    ink += column;
  }
  EXPECT_NEAR(ink, 36, 6);
}

// ---------------------------------------------------------------------------
// Paths and regions

class GdiPlusPath : public GdiPlusTest {};

TEST_F(GdiPlusPath, RoundRectanglesLimitTheirRadiiAndDegenerateToRectangles) {
  struct {
    const char* Name;
    TdxRectF Rect;
    float RadiusX, RadiusY;
    bool Rounded;
  } const cases[] = {
      {"radii limited to a third", TdxRectF(0, 0, 30, 12), 20, 20, true},
      {"no radius", TdxRectF(0, 0, 30, 12), 0, 5, false},
      {"a radius within the tolerance", TdxRectF(0, 0, 30, 12), 0.00005f, 5, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxGPPath> path(New<TdxGPPath>());
    path->AddRoundRect(c.Rect, c.RadiusX, c.RadiusY);
    if (!c.Rounded) {
      EXPECT_EQ(path->GetPointCount(), 4);
      EXPECT_TRUE(path->IsPointInPath(TdxPointF(0.5f, 0.5f)));
      continue;
    }
    // Corners are cut by arcs of rx = 10 and ry = 4.
    EXPECT_FALSE(path->IsPointInPath(TdxPointF(0.5f, 0.5f)));
    EXPECT_TRUE(path->IsPointInPath(TdxPointF(10, 0.5f)));
    EXPECT_TRUE(path->IsPointInPath(TdxPointF(0.5f, 6)));
    EXPECT_FALSE(path->IsPointInPath(TdxPointF(2, 1)));
    const TdxRectF bounds = path->GetBoundsF();
    EXPECT_NEAR(bounds.Right, 30, 0.01);
    EXPECT_NEAR(bounds.Bottom, 12, 0.01);
  }
}

TEST_F(GdiPlusPath, FiguresBoundsAndOutlines) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddRect(TRect(10, 10, 30, 20));
  path->AddEllipse(TRect(40, 10, 50, 20));
  EXPECT_EQ(path->GetBounds(), TRect(10, 10, 50, 20));
  EXPECT_TRUE(path->IsPointInPath(TPoint(15, 15)));
  EXPECT_TRUE(path->IsPointInPath(TPoint(45, 15)));
  EXPECT_FALSE(path->IsPointInPath(TPoint(35, 15)));
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFF000000u, 4.0f));
  EXPECT_TRUE(path->IsPointInPathOutline(TPoint(10, 15), pen.get()));
  EXPECT_FALSE(path->IsPointInPathOutline(TPoint(20, 15), pen.get()));
  EXPECT_TRUE(path->IsPointInPathOutline(TPoint(11, 15), 4));
  EXPECT_FALSE(path->IsPointInPathOutline(TPoint(11, 15), 0));  // no pen of width 0
  const TdxRectF wide = path->GetBoundsF(pen.get());
  EXPECT_LT(wide.Left, 10);

  const TOwned<TdxGPMatrix> move(New<TdxGPMatrix>());
  move->Translate(100, 0);
  const TOwned<TdxGPPath> copy(New<TdxGPPath>());
  copy->Assign(path.get());
  copy->Transform(move.get());
  EXPECT_EQ(copy->GetBounds(), TRect(110, 10, 150, 20));
  EXPECT_EQ(path->GetBounds(), TRect(10, 10, 50, 20));
  copy->Assign(copy.get());  // itself: nothing
  EXPECT_EQ(copy->GetPointCount(), path->GetPointCount());
  copy->Reset();
  EXPECT_EQ(copy->GetPointCount(), 0);
  path->SetFillMode(gpfmWinding);
  EXPECT_EQ(path->FillMode(), gpfmWinding);
}

// Wine's GDI+ measures any path it holds, so the failure is injected: the
// bounds functions answer OutOfMemory for the length of the test.
GpStatus WINGDIPAPI FailingPathBounds(GpPath*, RectF*, GDIPCONST GpMatrix*, GDIPCONST GpPen*) { return OutOfMemory; }
GpStatus WINGDIPAPI FailingPathBoundsI(GpPath*, Gdiplus::Rect*, GDIPCONST GpMatrix*, GDIPCONST GpPen*) { return OutOfMemory; }

TEST_F(GdiPlusPath, TryGetBoundsAnswersTheStatusWhereGetBoundsRaises) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddLine(0, 0, 10, 10);
  TdxRectF bounds;
  TRect boundsI;
  EXPECT_EQ(path->TryGetBoundsF(bounds), Ok);
  EXPECT_EQ(bounds, TdxRectF(0, 0, 10, 10));
  EXPECT_EQ(path->TryGetBounds(boundsI), Ok);
  EXPECT_EQ(boundsI, TRect(0, 0, 10, 10));
  EXPECT_NO_THROW(path->GetBoundsF());

  const auto realBounds = std::exchange(GdipGetPathWorldBounds, &FailingPathBounds);
  const auto realBoundsI = std::exchange(GdipGetPathWorldBoundsI, &FailingPathBoundsI);
  const TScopeExit restore([&] {
    GdipGetPathWorldBounds = realBounds;
    GdipGetPathWorldBoundsI = realBoundsI;
  });
  EXPECT_EQ(path->TryGetBoundsF(bounds), OutOfMemory);
  EXPECT_EQ(path->TryGetBounds(boundsI), OutOfMemory);
  for (const auto& get : std::vector<std::function<void()>>{[&] { path->GetBoundsF(); }, [&] { path->GetBounds(); }}) {
    try {
      get();
      ADD_FAILURE() << "no exception";
    } catch (const EdxGdipException& e) {
      EXPECT_EQ(e.Status(), OutOfMemory);
    }
  }
}

TEST_F(GdiPlusPath, APathOfPointTypesGdiPlusRefusesIsNeverMade) {
  EXPECT_THROW(New<TdxGPPath>(std::vector<PointF>{PointF(0, 0)}, std::vector<BYTE>{}), EdxGdipException);
}

TEST_F(GdiPlusPath, RegionsCombineAndClipPixels) {
  struct {
    const char* Name;
    TdxGPCombineMode Mode;
    std::vector<TPoint> Inside, Outside;
  } const cases[] = {
      {"intersect", gmIntersect, {TPoint(15, 15)}, {TPoint(5, 5), TPoint(25, 25)}},
      {"union", gmUnion, {TPoint(5, 5), TPoint(15, 15), TPoint(25, 25)}, {TPoint(25, 5)}},
      {"xor", gmXor, {TPoint(5, 5), TPoint(25, 25)}, {TPoint(15, 15)}},
      {"exclude", gmExclude, {TPoint(5, 5)}, {TPoint(15, 15), TPoint(25, 25)}},
      {"complement", gmComplement, {TPoint(25, 25)}, {TPoint(5, 5), TPoint(15, 15)}},
      {"replace", gmReplace, {TPoint(25, 25), TPoint(15, 15)}, {TPoint(5, 5)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxGPRegion> region(New<TdxGPRegion>(TRect(0, 0, 20, 20)));
    region->CombineRegionRect(TdxRectF(10, 10, 30, 30), c.Mode);
    TGpSurface surface(30, 30);
    ASSERT_EQ(GdipSetClipRegion(surface.Graphics(), region->Handle(), CombineModeReplace), Ok);
    IPtr<IdxGPHandle> brush = TdxGPResourceManager::GetSolidBrush(0xFF000000);
    GdipFillRectangleI(surface.Graphics(), static_cast<GpBrush*>(brush->GetNativeHandle()), 0, 0, 30, 30);
    surface.Flush();
    for (const TPoint& p : c.Inside) EXPECT_EQ(surface.Pixel(p.X, p.Y), RGB(0, 0, 0)) << p.X << "," << p.Y;
    for (const TPoint& p : c.Outside) EXPECT_EQ(surface.Pixel(p.X, p.Y), RGB(255, 255, 255)) << p.X << "," << p.Y;
  }
}

TEST_F(GdiPlusPath, RegionsFromPathsAndGdiRegions) {
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddRect(TRect(0, 0, 10, 10));
  TGpSurface surface(4, 4);
  const TOwnedRegion fromPath(path->GetGdiRegionHandle(surface.Canvas()));
  RECT box;
  ASSERT_NE(GetRgnBox(fromPath.Get(), &box), ERROR);
  EXPECT_EQ(TRect(box.left, box.top, box.right, box.bottom), TRect(0, 0, 10, 10));

  const TOwned<TdxGPRegion> region(New<TdxGPRegion>(path.get()));
  HRGN gdi = CreateRectRgn(5, 5, 20, 20);
  region->CombineRegionRegion(gdi, gmIntersect, true);
  EXPECT_FALSE(GdiObjectAlive(gdi));
  TdxGPRegion* other = New<TdxGPRegion>(TRect(6, 6, 7, 7));
  region->CombineRegionRegion(other, gmExclude, true);  // frees other
  const TOwnedRegion result(region->GetGdiRegionHandle(surface.Canvas()));
  EXPECT_TRUE(PtInRegion(result.Get(), 5, 5));
  EXPECT_FALSE(PtInRegion(result.Get(), 6, 6));
  EXPECT_FALSE(PtInRegion(result.Get(), 12, 12));
  const TOwned<TdxGPRegion> copy(New<TdxGPRegion>(region->Handle(), 0));
  copy->MakeEmpty();
  BOOL empty = FALSE;
  GdipIsEmptyRegion(copy->Handle(), surface.Graphics(), &empty);
  EXPECT_TRUE(empty);
}

}  // namespace
