// The GDI+ canvas back end: its window origin and world transform on the
// graphics object, states, GDI code drawn through the graphics object's
// device context with its transform and clip, and the smoothing mode.
#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <vector>

namespace {

constexpr TdxAlphaColor OpaqueRed = 0xFFFF0000;
constexpr TdxAlphaColor OpaqueBlue = 0xFF0000FF;

// An image kind the GDI family does not know.
class TGdiPlusForeignImage : public TcxCanvasBasedImage {
  SK_CLASS(TGdiPlusForeignImage, TcxCanvasBasedImage)
};

XFORM GpTransformOf(TdxGPCanvas* ACanvas) { return ACanvas->GetWorldTransform()->ToXForm(); }

class GdiPlusCanvasBackEnd : public GdiPlusTest {
 protected:
  // A GDI+ canvas on a white surface, painting.
  TdxGDIPlusControlCanvas* Begin(int AWidth = 40, int AHeight = 40) {
    FTarget.emplace(AWidth, AHeight);
    FCanvas.reset(New<TdxGDIPlusControlCanvas>(FTarget->Canvas()));
    FCanvas->BeginPaint();
    return FCanvas.get();
  }
  TPixelSurface& End() {
    FCanvas->EndPaint();
    return FTarget->Surface;
  }
  void TearDown() override {
    FCanvas.reset();
    FTarget.reset();
    GdiPlusTest::TearDown();
  }

  std::optional<TCanvasOnSurface> FTarget;
  TOwned<TdxGDIPlusControlCanvas> FCanvas;
};

TEST_F(GdiPlusCanvasBackEnd, TheSameWindowOriginLeavesTheGraphicsObjectAlone) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  TdxGPCanvas* gp = canvas->GpCanvas();
  ASSERT_NE(gp, nullptr);
  const TOwned<TdxGPMatrix> marker(New<TdxGPMatrix>(XFORM{1, 0, 0, 1, 3, 4}));
  gp->SetWorldTransform(marker.get());
  canvas->SetWindowOrg(TPoint(0, 0));
  EXPECT_FLOAT_EQ(GpTransformOf(gp).eDx, 3) << "untouched";
  canvas->SetWindowOrg(TPoint(5, 7));
  const XFORM applied = GpTransformOf(gp);
  EXPECT_FLOAT_EQ(applied.eDx, -5);
  EXPECT_FLOAT_EQ(applied.eDy, -7);
  End();
}

TEST_F(GdiPlusCanvasBackEnd, TheWorldTransformAppliesBeforeTheWindowOrigin) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  canvas->SetWindowOrg(TPoint(10, 0));
  canvas->ModifyWorldTransform(XFORM{2, 0, 0, 2, 0, 0});
  canvas->ModifyWorldTransform(XFORM{1, 0, 0, 1, 5, 0});   // moves in the scaled space
  const XFORM applied = GpTransformOf(canvas->GpCanvas());
  EXPECT_FLOAT_EQ(applied.eM11, 2);
  EXPECT_FLOAT_EQ(applied.eDx, 2 * 5 - 10);
  canvas->FillRect(TRect(0, 0, 5, 5), OpaqueRed);
  TPixelSurface& surface = End();
  EXPECT_EQ(surface.BoundsOf(RGB(255, 0, 0)), TRect(0, 0, 10, 10));
}

TEST_F(GdiPlusCanvasBackEnd, AStateBringsDrawingBackWhereItWas) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  canvas->FillRect(TRect(4, 4, 10, 10), OpaqueBlue);
  canvas->SaveState();
  const TPoint old = canvas->MoveWindowOrg(TPoint(10, 10));
  EXPECT_EQ(old, TPoint(0, 0));
  canvas->IntersectClipRect(TRect(0, 0, 30, 30));
  canvas->ModifyWorldTransform(XFORM{2, 0, 0, 2, 0, 0});
  canvas->RestoreState();
  EXPECT_EQ(canvas->WindowOrg(), TPoint(0, 0));
  canvas->FillRect(TRect(30, 30, 36, 36), OpaqueRed);   // beyond the clip that was restored away
  canvas->RestoreState();                               // nothing saved: no change
  canvas->FillRect(TRect(20, 4, 26, 10), OpaqueRed);
  TPixelSurface& surface = End();
  EXPECT_EQ(surface.Count(TRect(4, 4, 10, 10), RGB(0, 0, 255)), 36);
  EXPECT_EQ(surface.Count(TRect(30, 30, 36, 36), RGB(255, 0, 0)), 36);
  EXPECT_EQ(surface.Count(TRect(20, 4, 26, 10), RGB(255, 0, 0)), 36);
  EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 72);
}

TEST_F(GdiPlusCanvasBackEnd, GdiCodeDrawsTurnedAndClippedAsTheGraphicsObject) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  canvas->IntersectClipRect(TRect(0, 0, 40, 15));
  // A quarter turn: pixel (x, y) lands on (39 - y, x).
  canvas->ModifyWorldTransform(XFORM{0, 1, -1, 0, 39, 0});
  int calls = 0;
  canvas->DrawNativeObject(TRect(0, 0, 20, 10), TcxCanvasBasedResourceCacheKey(),
                           TcxCanvasNativeDrawProc([&](TcxCanvas* ACanvas, const TRect& R) {
                             ++calls;
                             ACanvas->FillRect(R, clRed);
                           }));
  TPixelSurface& surface = End();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(surface.BoundsOf(RGB(255, 0, 0)), TRect(30, 0, 40, 15)) << surface.Picture(RGB(255, 255, 255));
  EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 10 * 15);
}

TEST_F(GdiPlusCanvasBackEnd, TheSmoothingModeTakesEffectAtOnceOrAtTheNextPaint) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  EXPECT_EQ(canvas->GpCanvas()->SmoothingMode(), smAntiAlias);
  canvas->SetSmoothingMode(smNone);
  EXPECT_EQ(canvas->GpCanvas()->SmoothingMode(), smNone) << "during a paint: at once";
  End();
  EXPECT_EQ(canvas->GpCanvas(), nullptr) << "idle between paints";
  canvas->SetSmoothingMode(smHighQuality);
  canvas->ModifyWorldTransform(XFORM{3, 0, 0, 3, 0, 0});   // no graphics object to apply it to
  canvas->SetWindowOrg(TPoint(2, 0));
  canvas->BeginPaint();
  EXPECT_EQ(canvas->GpCanvas()->SmoothingMode(), smHighQuality);
  const XFORM applied = GpTransformOf(canvas->GpCanvas());
  EXPECT_FLOAT_EQ(applied.eM11, 1) << "each paint starts untransformed";
  EXPECT_FLOAT_EQ(applied.eDx, -2) << "the window origin lives on";
  End();
}

TEST_F(GdiPlusCanvasBackEnd, TextIsDrawnThroughTheDeviceContextWithTheOrigin) {
  TdxGDIPlusControlCanvas* canvas = Begin(120, 30);
  const TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-12);
  const TOwned<TcxCanvasBasedTextLayout> layout = canvas->CreateTextLayout();
  layout->SetFont(font.get());
  layout->SetColor(TdxAlphaColor{0xFF000000});
  layout->SetText(L"Text");
  canvas->SetWindowOrg(TPoint(-50, 0));
  layout->Draw(TRect(0, 5, 60, 25));
  TPixelSurface& surface = End();
  const TRect ink = surface.BoundsOfOther(RGB(255, 255, 255));
  EXPECT_GE(ink.Left, 50) << "moved by the origin";
  EXPECT_LE(ink.Right, 110);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Bottom, 25);
  EXPECT_GT(surface.CountOther(surface.ClientRect(), RGB(255, 255, 255)), 20);
}

TEST_F(GdiPlusCanvasBackEnd, FiguresNeedABrushOrAPenAndAPathOfTheirOwnCanvas) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  const TOwned<TcxCanvasBasedBrush> red = canvas->CreateBrush(OpaqueRed);
  const TOwned<TcxCanvasBasedPath> path = canvas->CreatePath();
  path->AddPolyline(std::vector<TdxPointF>{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  path->FigureClose();
  TCanvasOnSurface otherTarget(8, 8);
  const TOwned<TdxGDIPlusControlCanvas> other(New<TdxGDIPlusControlCanvas>(otherTarget.Canvas()));
  const TOwned<TcxCanvasBasedPath> foreign = other->CreatePath();
  foreign->AddPolyline(std::vector<TdxPointF>{{20, 20}, {40, 20}, {40, 40}, {20, 40}});
  foreign->FigureClose();

  canvas->Ellipse(TdxRectF(20, 0, 40, 20), nullptr, nullptr);
  canvas->Pie(TdxRectF(20, 0, 40, 20), 0, 90, nullptr, nullptr);
  canvas->Path(path.get(), nullptr, nullptr);
  canvas->Path(nullptr, red.get(), nullptr);
  canvas->Path(foreign.get(), red.get(), nullptr);
  TPixelSurface& surface = End();
  EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 40 * 40) << surface.Picture(RGB(255, 255, 255));

  canvas->BeginPaint();
  canvas->Path(path.get(), red.get(), nullptr);
  canvas->Pie(TdxRectF(20, 20, 40, 40), 0, 90, red.get(), nullptr);
  TPixelSurface& drawn = End();
  EXPECT_EQ(drawn.Count(TRect(0, 0, 10, 10), RGB(255, 0, 0)), 100);
  // Angles run counter-clockwise on the screen: the quarter above the centre on the right.
  EXPECT_GT(drawn.Count(TRect(30, 20, 40, 30), RGB(255, 0, 0)), 50) << drawn.Picture(RGB(255, 255, 255));
  EXPECT_EQ(drawn.Count(TRect(20, 20, 30, 40), RGB(255, 0, 0)), 0);
  EXPECT_EQ(drawn.Count(TRect(30, 31, 40, 40), RGB(255, 0, 0)), 0);
}

TEST_F(GdiPlusCanvasBackEnd, BitmapsAreDrawnFromSourceToTargetAndImagesTiled) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  const TOwned<TdxGpFastDIB> bitmap(New<TdxGpFastDIB>(4, 4, true));
  for (RGBQUAD& pixel : std::span(bitmap->Bits(), 16)) pixel = RGBQUAD{255, 0, 0, 255};
  canvas->DrawBitmap(bitmap.get(), TRect(2, 0, 3, 4), TRect(1, 0, 2, 4), afPremultiplied);
  const TOwned<TdxSmartImage> tile(New<TdxSmartImage>());
  std::vector<RGBQUAD> bits(4, RGBQUAD{0, 0, 255, 255});
  bits[0] = RGBQUAD{0, 255, 0, 255};
  tile->CreateFromBits(2, 2, bits.data(), afIgnored);
  canvas->FillRect(TRect(10, 10, 16, 15), tile.get());
  TPixelSurface& surface = End();
  EXPECT_EQ(surface.BoundsOf(RGB(0, 0, 255)), TRect(2, 0, 3, 4)) << surface.Picture(RGB(255, 255, 255));
  // Green on every even column of every even row, counted from R's corner.
  EXPECT_EQ(surface.Count(RGB(0, 255, 0)), 3 * 3);
  EXPECT_EQ(surface.Pixel(10, 10), RGB(0, 255, 0));
  EXPECT_EQ(surface.Pixel(14, 14), RGB(0, 255, 0));
  EXPECT_EQ(surface.Count(TRect(10, 10, 16, 15), RGB(255, 0, 0)), 30 - 9);
  EXPECT_EQ(surface.Count(TRect(16, 10, 40, 40), RGB(255, 255, 255)), 24 * 30) << "nothing beyond R";
}

TEST_F(GdiPlusCanvasBackEnd, ImagesOfAnotherKindAreAnInvalidCast) {
  TdxGDIPlusControlCanvas* canvas = Begin();
  const TOwned<TcxCanvasBasedImage> foreign(New<TGdiPlusForeignImage>(canvas, 4, 4));
  EXPECT_THROW(foreign->Draw(TRect(0, 0, 4, 4)), EInvalidCast);
  End();
}

}  // namespace
