#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace Gdiplus;

namespace {

class GdiPlusMatrix : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    FMatrix.reset(New<TdxGPMatrix>());
    FMatrix->SetOnChange(BindEvent<&TChangeCounter::Count>(&FChanges));
  }
  void TearDown() override {
    FMatrix.reset();
    GdiPlusTest::TearDown();
  }
  struct TChangeCounter : TObject {
    int Changes = 0;
    void Count(TObject*) { ++Changes; }
  };
  TChangeCounter FChanges;
  TOwned<TdxGPMatrix> FMatrix;
};

void ExpectNear(const TdxPointF& A, const TdxPointF& B) {
  EXPECT_NEAR(A.X, B.X, 1e-3);
  EXPECT_NEAR(A.Y, B.Y, 1e-3);
}

TEST_F(GdiPlusMatrix, TheOrderSaysWhetherAStepActsBeforeOrAfterTheTransform) {
  struct {
    const char* Name;
    TdxGpMatrixOrder Order;
    TdxPointF Expected;  // (1, 0) translated by (10, 0) then, or first, scaled by 2
  } const cases[] = {
      {"prepend: the scale acts first", MatrixOrderPrepend, TdxPointF(12, 0)},
      {"append: the scale acts last", MatrixOrderAppend, TdxPointF(22, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    FMatrix->Reset();
    FMatrix->Translate(10, 0);
    FMatrix->Scale(2, 2, c.Order);
    ExpectNear(FMatrix->TransformPoint(TdxPointF(1, 0)), c.Expected);
  }
}

TEST_F(GdiPlusMatrix, RotationAboutAPivotLeavesThePivotInEitherOrder) {
  for (TdxGpMatrixOrder order : {MatrixOrderPrepend, MatrixOrderAppend}) {
    SCOPED_TRACE(order);
    FMatrix->Reset();
    FMatrix->Rotate(90, TdxPointF(3, 4), order);
    ExpectNear(FMatrix->TransformPoint(TdxPointF(3, 4)), TdxPointF(3, 4));
    ExpectNear(FMatrix->TransformPoint(TdxPointF(4, 4)), TdxPointF(3, 5));
  }
}

TEST_F(GdiPlusMatrix, FlipsMirrorAboutThePivotLines) {
  FMatrix.reset(New<TdxGPMatrix>(true, false, 10.0f, 0.0f));
  ExpectNear(FMatrix->TransformPoint(TdxPointF(0, 3)), TdxPointF(20, 3));
  ExpectNear(FMatrix->TransformPoint(TdxPointF(10, 3)), TdxPointF(10, 3));
  const TOwned<TdxGPMatrix> both(New<TdxGPMatrix>());
  both->Flip(true, true, TdxPointF(1, 2));
  ExpectNear(both->TransformPoint(TdxPointF(0, 0)), TdxPointF(2, 4));
  const TOwned<TdxGPMatrix> none(New<TdxGPMatrix>());
  none->Flip(false, false, TdxPointF(1, 2));
  EXPECT_FALSE(none->HandleAllocated());
}

TEST_F(GdiPlusMatrix, ASingularMatrixRaisesOnInversion) {
  FMatrix->SetElements(1, 2, 2, 4, 0, 0);
  EXPECT_FALSE(FMatrix->IsInvertible());
  const int changes = FChanges.Changes;
  try {
    FMatrix->Invert();
    ADD_FAILURE() << "no exception";
  } catch (const EdxGdipException& e) {
    EXPECT_EQ(e.Status(), InvalidParameter);
  }
  EXPECT_EQ(FChanges.Changes, changes);
  EXPECT_THROW(TdxGPMatrix::Invert(MakeXForm(0, 0, 0, 0, 1, 1)), EdxGdipException);

  const XFORM inverse = TdxGPMatrix::Invert(MakeXForm(2, 0, 0, 4, 6, 8));
  EXPECT_FLOAT_EQ(inverse.eM11, 0.5f);
  EXPECT_FLOAT_EQ(inverse.eM22, 0.25f);
  EXPECT_FLOAT_EQ(inverse.eDx, -3);
  EXPECT_FLOAT_EQ(inverse.eDy, -2);
}

TEST_F(GdiPlusMatrix, RectanglesMapCornerByCornerOrAsABoundingBox) {
  FMatrix->Rotate(90);
  const TdxRectF r(0, 0, 10, 20);
  const TdxRectF corners = FMatrix->TransformRect(r);
  EXPECT_NEAR(corners.Left, 0, 1e-4);
  EXPECT_NEAR(corners.Right, -20, 1e-4);  // reversed: no bounding box
  EXPECT_NEAR(corners.Bottom, 10, 1e-4);
  const TdxRectF box = FMatrix->GetBoundingRectangle(r);
  EXPECT_NEAR(box.Left, -20, 1e-4);
  EXPECT_NEAR(box.Top, 0, 1e-4);
  EXPECT_NEAR(box.Right, 0, 1e-4);
  EXPECT_NEAR(box.Bottom, 10, 1e-4);
  EXPECT_EQ(FMatrix->TransformRect(TRect(0, 0, 10, 20)), TRect(0, 0, -20, 10));
}

TEST_F(GdiPlusMatrix, ElementsPointsAndCopies) {
  FMatrix->Scale(TdxPointF(2, 3), TdxPointF(10, 10));
  float m[6];
  FMatrix->GetElements(m[0], m[1], m[2], m[3], m[4], m[5]);
  EXPECT_EQ(std::vector<float>(m, m + 6), (std::vector<float>{2, 0, 0, 3, -10, -20}));
  EXPECT_FLOAT_EQ(FMatrix->OffsetX(), -10);
  EXPECT_FLOAT_EQ(FMatrix->OffsetY(), -20);
  std::vector<TPoint> points = {TPoint(10, 10), TPoint(11, 11)};
  FMatrix->TransformPoints(points);
  EXPECT_EQ(points, (std::vector<TPoint>{TPoint(10, 10), TPoint(12, 13)}));
  FMatrix->TransformPointsI(points.data(), 0);
  EXPECT_EQ(points[1], TPoint(12, 13));
  const TOwned<TdxGPMatrix> copy(TdxGPMatrix::Clone(FMatrix.get()));
  EXPECT_EQ(copy->ClassType(), TdxGPMatrix::ClassInfo());
  EXPECT_FLOAT_EQ(copy->ToXForm().eDy, -20);
  EXPECT_EQ(TdxGPMatrix::Clone(nullptr), nullptr);
  EXPECT_FALSE(FMatrix->IsIdentity());
  FMatrix->Reset();
  EXPECT_TRUE(FMatrix->IsIdentity());
}

TEST_F(GdiPlusMatrix, ChangesReportedOnlyOutsideHandleCreation) {
  // A matrix with its own creation step that applies a setting.
  struct TPresetMatrix : TdxGPMatrix {
    void CreateHandle(TdxGpHandle& AHandle) override {
      TdxGPMatrix::CreateHandle(AHandle);
      FHandle = AHandle;  // Translate below asks for the handle
      Translate(1, 1);  // reports nothing while the handle is built
    }
  };
  TOwned<TPresetMatrix> matrix(New<TPresetMatrix>());
  matrix->SetOnChange(BindEvent<&TChangeCounter::Count>(&FChanges));
  FChanges.Changes = 0;
  matrix->HandleNeeded();
  EXPECT_EQ(FChanges.Changes, 0);
  matrix->Translate(1, 1);
  EXPECT_EQ(FChanges.Changes, 1);
  EXPECT_FLOAT_EQ(matrix->OffsetX(), 2);
  matrix->FreeHandle();
  EXPECT_FALSE(matrix->HandleAllocated());
}

// ---------------------------------------------------------------------------
// Gradient stops

class GdiPlusGradientPoints : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    FPoints.reset(New<TdxGPBrushGradientPoints>());
  }
  void TearDown() override {
    FPoints.reset();
    GdiPlusTest::TearDown();
  }
  std::vector<float> Offsets() const {
    std::vector<float> r;
    for (int i = 0; i < FPoints->Count(); ++i) r.push_back(FPoints->Offsets(i));
    return r;
  }
  TOwned<TdxGPBrushGradientPoints> FPoints;
};

TEST_F(GdiPlusGradientPoints, StopsStaySortedAndAddAnswersTheAppendPosition) {
  EXPECT_EQ(FPoints->Add(0.7f, 0xFF0000FF), 0);
  EXPECT_EQ(FPoints->Add(0.2f, 0xFF00FF00), 1);
  EXPECT_EQ(FPoints->Add(0.5f, 0xFFFF0000), 2);
  EXPECT_EQ(Offsets(), (std::vector<float>{0.2f, 0.5f, 0.7f}));
  EXPECT_EQ(FPoints->Colors(0), 0xFF00FF00u);
  FPoints->SetOffset(0, 0.9f);
  EXPECT_EQ(Offsets(), (std::vector<float>{0.5f, 0.7f, 0.9f}));
  EXPECT_EQ(FPoints->Colors(2), 0xFF00FF00u);
  FPoints->Delete(1);
  EXPECT_EQ(Offsets(), (std::vector<float>{0.5f, 0.9f}));
}

TEST_F(GdiPlusGradientPoints, PresetBlendsFadeToTransparentWhereTheStopsEndEarly) {
  struct {
    const char* Name;
    std::vector<std::pair<float, TdxAlphaColor>> Stops;
    std::vector<float> Offsets;
    std::vector<ARGB> Colors;
  } const cases[] = {
      {"inner stops", {{0.25f, 0xFFFF0000}, {0.75f, 0xFF0000FF}}, {0, 0.25f, 0.75f, 1}, {0, 0xFFFF0000, 0xFF0000FF, 0}},
      {"stops at both ends", {{0, 0xFFFF0000}, {1, 0xFF0000FF}}, {0, 1}, {0xFFFF0000, 0xFF0000FF}},
      {"one stop at the start", {{0, 0xFF00FF00}}, {0, 1}, {0xFF00FF00, 0}},
      {"not a number at the end", {{0, 0xFF00FF00}, {std::numeric_limits<float>::quiet_NaN(), 0xFF000000}}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    FPoints->Clear();
    for (const auto& [offset, color] : c.Stops) FPoints->Add(offset, color);
    const ARGB* colors;
    const float* offsets;
    int count;
    FPoints->GetPresetBlendArrays(colors, offsets, count);
    if (c.Offsets.empty()) {
      EXPECT_EQ(count, 3);
      EXPECT_EQ(offsets[count - 1], 1);
      continue;
    }
    EXPECT_EQ(std::vector<float>(offsets, offsets + count), c.Offsets);
    EXPECT_EQ(std::vector<ARGB>(colors, colors + count), c.Colors);
  }
}

TEST_F(GdiPlusGradientPoints, InvertingMirrorsOffsetsAndSwapsColours) {
  FPoints->Add(0.1f, 1);
  FPoints->Add(0.4f, 2);
  FPoints->InvertOrder();
  EXPECT_NEAR(FPoints->Offsets(0), 0.6f, 1e-6);
  EXPECT_NEAR(FPoints->Offsets(1), 0.9f, 1e-6);
  EXPECT_EQ(FPoints->Colors(0), 2u);
  EXPECT_EQ(FPoints->Colors(1), 1u);
}

TEST_F(GdiPlusGradientPoints, CapacityGrowsLikeTheRunTimesLists) {
  std::vector<int> capacities = {FPoints->Capacity()};
  for (int i = 0; i < 161; ++i) {
    FPoints->Add(i / 161.0f, 0);
    if (FPoints->Capacity() != capacities.back()) capacities.push_back(FPoints->Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 16, 32, 64, 96, 128, 160, 240}));
  FPoints->SetCapacity(-5);
  EXPECT_EQ(FPoints->Capacity(), 0);
  EXPECT_EQ(FPoints->Count(), 0);
}

TEST_F(GdiPlusGradientPoints, IndicesOutsideTheStopsRaiseAndChangeNothing) {
  FPoints->Add(0.5f, 7);
  for (int index : {-1, 1}) {
    SCOPED_TRACE(index);
    try {
      FPoints->SetColor(index, 9);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), L"Listenindex außerhalb des gültigen Bereichs (" + std::to_wstring(index) + L")");
    }
    EXPECT_THROW(FPoints->Delete(index), Exception);
    EXPECT_THROW(FPoints->Offsets(index), Exception);
  }
  EXPECT_EQ(FPoints->Count(), 1);
  EXPECT_EQ(FPoints->Colors(0), 7u);
}

// ---------------------------------------------------------------------------
// Brushes

class GdiPlusBrush : public GdiPlusTest {};

TEST_F(GdiPlusBrush, TheTargetRectangleIsStoredGrownByOne) {
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetStyle(gpbsGradient);
  brush->GradientPoints()->Add(0, 0xFFFF0000);
  brush->SetTargetRect(TRect(0, 0, 100, 50));
  EXPECT_TRUE(GdipRectFEqual(brush->TargetRect(), MakeGdipRectF(-1, -1, 102, 52)));
  GpBrush* handle = brush->GpHandle();
  brush->SetTargetRect(TdxRectF(0, 0, 100, 50));
  EXPECT_EQ(brush->GpHandle(), handle);  // unchanged: the handle stays
  brush->SetTargetRect(TRect(0, 0, 100, 60));
  EXPECT_TRUE(GdipRectFEqual(brush->TargetRect(), MakeGdipRectF(-1, -1, 102, 62)));

  const TOwned<TdxGPBrush> copy(static_cast<TdxGPBrush*>(brush->Clone()));
  EXPECT_TRUE(GdipRectFEqual(copy->TargetRect(), brush->TargetRect()));
  EXPECT_EQ(copy->Style(), gpbsGradient);
  EXPECT_EQ(copy->GradientPoints()->Count(), 1);
}

TEST_F(GdiPlusBrush, AColourChangesInPlaceAStyleChangeRebuilds) {
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetColor(0xFF112233);
  GpBrush* handle = brush->GpHandle();
  brush->SetColor(0xFF445566);
  EXPECT_EQ(brush->GpHandle(), handle);
  ARGB color = 0;
  GdipGetSolidFillColor(static_cast<GpSolidFill*>(handle), &color);
  EXPECT_EQ(color, 0xFF445566u);
  brush->SetStyle(gpbsClear);
  EXPECT_FALSE(brush->HandleAllocated());
  EXPECT_TRUE(brush->IsEmpty());
}

TEST_F(GdiPlusBrush, EmptinessByStyle) {
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  EXPECT_TRUE(brush->IsEmpty());  // solid colour 0
  brush->SetColor(0x01000000);
  EXPECT_FALSE(brush->IsEmpty());
  brush->SetStyle(gpbsGradient);
  EXPECT_TRUE(brush->IsEmpty());
  brush->GradientPoints()->Add(0, 0);
  EXPECT_FALSE(brush->IsEmpty());
  brush->SetStyle(gpbsTexture);
  EXPECT_TRUE(brush->IsEmpty());
  // Without an image the brush is a transparent solid one, which a new target leaves alone.
  EXPECT_NO_THROW(brush->SetTargetRect(TRect(0, 0, 5, 5)));
  BrushType type;
  GdipGetBrushType(brush->GpHandle(), &type);
  EXPECT_EQ(type, BrushTypeSolidColor);
  const TOwned<TdxGPHatchBrush> hatch(New<TdxGPHatchBrush>(0u, 0u, HatchStyleCross));
  EXPECT_TRUE(hatch->IsEmpty());
  hatch->SetForegroundColor(0xFF000000);
  EXPECT_FALSE(hatch->IsEmpty());
}

TEST_F(GdiPlusBrush, AHatchBrushIsRebuiltOnEveryChange) {
  const TOwned<TdxGPHatchBrush> hatch(New<TdxGPHatchBrush>(0xFFFFFFFFu, 0xFF000000u, HatchStyleHorizontal));
  GpBrush* handle = hatch->GpHandle();
  ASSERT_NE(handle, nullptr);
  hatch->SetStyle(HatchStyleVertical);
  EXPECT_FALSE(hatch->HandleAllocated());
  HatchStyle style;
  GdipGetHatchStyle(static_cast<GpHatch*>(hatch->GpHandle()), &style);
  EXPECT_EQ(style, HatchStyleVertical);
  const TOwned<TdxGPHatchBrush> copy(static_cast<TdxGPHatchBrush*>(hatch->Clone()));
  EXPECT_EQ(copy->Style(), HatchStyleVertical);
  EXPECT_EQ(copy->BackgroundColor(), 0xFFFFFFFFu);
}

TEST_F(GdiPlusBrush, GradientsReachTheirEndColoursAndDegenerateOnesDrawNothing) {
  TGpSurface surface(100, 10);
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetStyle(gpbsGradient);
  brush->GradientPoints()->Add(0, 0xFFFF0000);
  brush->GradientPoints()->Add(1, 0xFF0000FF);
  brush->SetTargetRect(TRect(0, 0, 100, 10));
  ASSERT_EQ(GdipFillRectangleI(surface.Graphics(), brush->GpHandle(), 0, 0, 100, 10), Ok);
  surface.Flush();
  const COLORREF left = surface.Pixel(0, 5);
  const COLORREF right = surface.Pixel(99, 5);
  EXPECT_GT(GetRValue(left), 240);
  EXPECT_LT(GetBValue(left), 15);
  EXPECT_GT(GetBValue(right), 240);
  EXPECT_LT(GetRValue(right), 15);
  const COLORREF middle = surface.Pixel(50, 5);
  EXPECT_NEAR(GetRValue(middle), 128, 20);
  EXPECT_NEAR(GetBValue(middle), 128, 20);

  // Vertical: the colour changes from top to bottom only.
  brush->SetGradientMode(gpbgmVertical);
  EXPECT_FALSE(brush->HandleAllocated());
  surface.Fill(RGB(255, 255, 255));
  GdipFillRectangleI(surface.Graphics(), brush->GpHandle(), 0, 0, 100, 10);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(0, 0), surface.Pixel(99, 0));
  EXPECT_NE(surface.Pixel(0, 0), surface.Pixel(0, 9));

  // No stops, or no area: a transparent brush.
  for (const TRect& target : {TRect(0, 0, -5, 10), TRect(0, 0, 100, 10)}) {
    const TOwned<TdxGPBrush> degenerate(New<TdxGPBrush>());
    degenerate->SetStyle(gpbsGradient);
    if (target.Width() < 0) degenerate->GradientPoints()->Add(0, 0xFFFF0000);
    degenerate->SetTargetRect(target);
    surface.Fill(RGB(255, 255, 255));
    GdipFillRectangleI(surface.Graphics(), degenerate->GpHandle(), 0, 0, 100, 10);
    surface.Flush();
    EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 1000);
  }
}

TEST_F(GdiPlusBrush, ATextureStartsAtTheTargetCornerThroughItsTransform) {
  // A 2 x 1 texture: red, then blue.
  TdxGpOwnedImage texture = CreateGdipBitmap(2, 1);
  GdipBitmapSetPixel(static_cast<GpBitmap*>(texture.Get()), 0, 0, 0xFFFF0000);
  GdipBitmapSetPixel(static_cast<GpBitmap*>(texture.Get()), 1, 0, 0xFF0000FF);
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetTexture(texture.Get());
  texture.Reset();  // the brush keeps a copy of its own
  brush->SetStyle(gpbsTexture);
  brush->SetTargetRect(TRect(4, 0, 10, 1));  // stored from x = 3
  TGpSurface surface(12, 1);
  GdipFillRectangleI(surface.Graphics(), brush->GpHandle(), 0, 0, 12, 1);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(3, 0), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(4, 0), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(5, 0), RGB(255, 0, 0));

  // The brush's own transform acts before the move to the corner.
  const TOwned<TdxGPMatrix> shift(New<TdxGPMatrix>());
  shift->Translate(1, 0);
  brush->SetTextureTransform(shift.get());
  EXPECT_FALSE(brush->HandleAllocated());
  surface.Fill(RGB(255, 255, 255));
  GdipFillRectangleI(surface.Graphics(), brush->GpHandle(), 0, 0, 12, 1);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(4, 0), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(5, 0), RGB(0, 0, 255));
}

}  // namespace
