// The Direct2D canvas: its own clip stack, window origin and world
// transform, shapes and resources, native objects through the GDI interop
// or cached bitmaps, and device loss at the end of a draw.
#include "library/graphics/canvas/cxGraphics.h"
#include "tests/library_graphics/CanvasTesting.h"
#include "tests/library_graphics/Direct2DTesting.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr COLORREF WhiteRGB = RGB(255, 255, 255);
constexpr COLORREF RedRGB = RGB(255, 0, 0);
constexpr COLORREF GreenRGB = RGB(0, 255, 0);
constexpr COLORREF BlueRGB = RGB(0, 0, 255);
constexpr TdxAlphaColor OpaqueRed = 0xFFFF0000;
constexpr TdxAlphaColor OpaqueGreen = 0xFF00FF00;
constexpr TdxAlphaColor OpaqueBlue = 0xFF0000FF;

// Records what the device context's EndDraw answered, or answers a result
// of its own (a device that went away).
class TRecordingDirect2DCanvas : public TdxDirect2DHwndBasedCanvas {
  SK_CLASS(TRecordingDirect2DCanvas, TdxDirect2DHwndBasedCanvas)
 public:
  HRESULT LastEndDraw = S_OK;
  HRESULT ForcedEndDraw = S_OK;
  // Where an image resource's own drawing ends.
  using inherited::DrawImageCore;

 protected:
  HRESULT DoEndDraw() override {
    LastEndDraw = inherited::DoEndDraw();
    return FAILED(ForcedEndDraw) ? ForcedEndDraw : LastEndDraw;
  }
};

class Direct2DCanvas : public Direct2DTest {
 protected:
  // A surface whose canvas records its EndDraw.
  TDirect2DSurface& Surface(int AWidth = 40, int AHeight = 40, bool AGdiCompatible = true) {
    FSurface.emplace(AWidth, AHeight, AGdiCompatible, TRecordingDirect2DCanvas::ClassInfo());
    return *FSurface;
  }
  TRecordingDirect2DCanvas* Recorder() { return As<TRecordingDirect2DCanvas>(FSurface->Canvas()); }
  void TearDown() override {
    FSurface.reset();
    Direct2DTest::TearDown();
  }

  std::optional<TDirect2DSurface> FSurface;
};

TEST_F(Direct2DCanvas, ShapesInAlphaColours) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  surface.Begin();
  canvas->FillRect(TRect(0, 0, 10, 10), OpaqueRed);
  canvas->FillRect(TRect(0, 10, 10, 20), TdxAlphaColor{0x00FFFFFF});   // invisible: nothing
  canvas->Rectangle(TRect(10, 0, 20, 10), OpaqueGreen, TdxAlphaColor{0}, psSolid, 0);
  canvas->Polygon(std::vector<TPoint>{TPoint(20, 0), TPoint(30, 0), TPoint(30, 10), TPoint(20, 10)}, OpaqueBlue,
                  TdxAlphaColor{0});
  canvas->FillRectByGradient(TRect(0, 20, 40, 30), OpaqueRed, OpaqueBlue, Gdiplus::LinearGradientModeHorizontal);
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(surface.Count(TRect(0, 0, 10, 10), RedRGB), 100);
  EXPECT_EQ(surface.Count(TRect(0, 10, 10, 20), WhiteRGB), 100);
  EXPECT_EQ(surface.Count(TRect(10, 0, 20, 10), GreenRGB), 100);
  EXPECT_EQ(surface.Count(TRect(20, 0, 30, 10), BlueRGB), 100);
  EXPECT_GT(GetRValue(surface.Pixel(1, 25)), 240) << "red at the start";
  EXPECT_GT(GetBValue(surface.Pixel(38, 25)), 240) << "blue at the end";
  EXPECT_EQ(Recorder()->LastEndDraw, S_OK);
}

TEST_F(Direct2DCanvas, AClipOutsideHidesEverythingAndSkipsNativeObjects) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  surface.Begin();
  canvas->IntersectClipRect(TRect(100, 100, 120, 120));
  EXPECT_TRUE(canvas->ClipRect().IsEmpty());
  EXPECT_FALSE(canvas->RectVisible(TRect(0, 0, 40, 40)));
  EXPECT_FALSE(canvas->RectVisible(TRect(100, 100, 120, 120)));
  int calls = 0;
  canvas->DrawNativeObject(TRect(0, 0, 40, 40), TcxCanvasBasedResourceCacheKey(),
                           TcxCanvasNativeDrawProc([&](TcxCanvas*, const TRect&) { ++calls; }));
  canvas->FillRect(TRect(0, 0, 40, 40), OpaqueRed);
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(surface.Count(surface.ClientRect(), WhiteRGB), 40 * 40);
}

TEST_F(Direct2DCanvas, ClipLevelsPushOnlyWhatTheyNeed) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  surface.Begin();
  EXPECT_EQ(canvas->ClipRectModificationCount(), 1) << "the update rectangle";
  canvas->SaveClipRegion();
  EXPECT_EQ(canvas->ClipRectModificationCount(), 0);
  canvas->IntersectClipRect(TRect(5, 5, 30, 30));
  canvas->IntersectClipRect(TRect(10, 10, 20, 35));
  EXPECT_EQ(canvas->ClipRectModificationCount(), 2);
  EXPECT_EQ(canvas->ClipRect(), TRect(10, 10, 20, 30));
  canvas->FillRect(TRect(0, 0, 40, 20), OpaqueRed);
  canvas->RestoreClipRegion();
  EXPECT_EQ(canvas->ClipRectModificationCount(), 1) << "one clip: the saved rectangle";
  EXPECT_EQ(canvas->ClipRect(), surface.ClientRect());
  canvas->FillRect(TRect(0, 36, 40, 40), OpaqueBlue);
  // A level that is never restored does not spoil the draw.
  canvas->SaveClipRegion();
  canvas->IntersectClipRect(TRect(0, 0, 1, 1));
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(Recorder()->LastEndDraw, S_OK);
  EXPECT_EQ(surface.Count(surface.ClientRect(), RedRGB), 10 * 10);
  EXPECT_EQ(surface.Count(TRect(10, 10, 20, 20), RedRGB), 100);
  EXPECT_EQ(surface.Count(surface.ClientRect(), BlueRGB), 40 * 4);
}

TEST_F(Direct2DCanvas, TheWindowOriginMovesDrawingAndTheClip) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  surface.Begin();
  canvas->IntersectClipRect(TRect(0, 0, 30, 40));
  canvas->SetWindowOrg(TPoint(5, 0));
  EXPECT_EQ(canvas->ClipRect(), TRect(5, 0, 35, 40)) << "the clip stays on the same pixels";
  canvas->FillRect(TRect(10, 10, 20, 20), OpaqueRed);
  canvas->FillRect(TRect(30, 0, 40, 5), OpaqueBlue);   // partly beyond the clip
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(surface.Count(TRect(5, 10, 15, 20), RedRGB), 100);
  EXPECT_EQ(surface.Count(surface.ClientRect(), RedRGB), 100);
  EXPECT_EQ(surface.Count(surface.ClientRect(), BlueRGB), 5 * 5);
}

TEST_F(Direct2DCanvas, StatesBringOriginTransformAndClipBack) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  surface.Begin();
  canvas->SaveState();
  const TPoint old = canvas->MoveWindowOrg(TPoint(10, 10));
  EXPECT_EQ(old, TPoint(0, 0));
  canvas->ModifyWorldTransform(XFORM{2, 0, 0, 2, 0, 0});
  canvas->IntersectClipRect(TRect(0, 0, 5, 5));
  canvas->FillRect(TRect(0, 0, 2, 2), OpaqueGreen);   // scaled by 2, then moved by (10, 10)
  canvas->RestoreState();
  EXPECT_EQ(canvas->WindowOrg(), TPoint(0, 0));
  EXPECT_EQ(canvas->ClipRect(), surface.ClientRect());
  canvas->FillRect(TRect(0, 0, 3, 3), OpaqueRed);
  // A transform applies before the one in force.
  canvas->SaveWorldTransform();
  canvas->ModifyWorldTransform(XFORM{1, 0, 0, 1, 20, 0});
  canvas->ModifyWorldTransform(XFORM{3, 0, 0, 3, 0, 0});
  canvas->FillRect(TRect(0, 10, 2, 12), OpaqueBlue);
  canvas->RestoreWorldTransform();
  canvas->RestoreWorldTransform();   // nothing saved: the transform stays
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(surface.Count(TRect(10, 10, 14, 14), GreenRGB), 16);
  EXPECT_EQ(surface.Count(surface.ClientRect(), GreenRGB), 16);
  EXPECT_EQ(surface.Count(TRect(0, 0, 3, 3), RedRGB), 9);
  EXPECT_EQ(surface.Count(TRect(20, 30, 26, 36), BlueRGB), 36);
}

TEST_F(Direct2DCanvas, PoolsShareResourcesAndGdiPlusObjectsConvert) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const TOwned<TcxCanvasBasedPen> first = canvas->CreatePeN(0xFF000000, 1, TdxStrokeStyle::Dash);
  const TOwned<TcxCanvasBasedPen> second = canvas->CreatePeN(0xFF000000, 1, TdxStrokeStyle::Dash);
  EXPECT_EQ(first->Handle(), second->Handle());
  EXPECT_EQ(As<TdxDirect2DCanvasBasedPenHandle>(first->Handle())->StrokeStyle(),
            TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Dash));
  EXPECT_EQ(canvas->CreatePeN(static_cast<TdxGPPen*>(nullptr), ooOwned), nullptr);
  EXPECT_EQ(canvas->CreatePeN(New<TdxGPPen>(TdxAlphaColor{0}), ooOwned), nullptr) << "empty: freed, none made";
  EXPECT_EQ(canvas->CreateBrush(static_cast<TdxGPCustomBrush*>(nullptr), ooOwned), nullptr);
  const TOwned<TcxCanvasBasedPen> gpPen = canvas->CreatePeN(New<TdxGPPen>(OpaqueBlue, 3.0f), ooOwned);
  ASSERT_NE(gpPen, nullptr);
  EXPECT_FLOAT_EQ(As<TcxCanvasBasedPenHandle>(gpPen->Handle())->Width(), 3);
  const TOwned<TcxCanvasBasedBrush> gpBrush = canvas->CreateBrush(New<TdxGPHatchBrush>(OpaqueRed, OpaqueBlue,
                                                                                      Gdiplus::HatchStyleCross),
                                                                  ooOwned);
  EXPECT_FALSE(gpBrush->IsEmpty());
}

TEST_F(Direct2DCanvas, AnImageOfAnotherCanvasRaises) {
  TDirect2DSurface& surface = Surface();
  TDirect2DSurface other(8, 8);
  const TOwned<TdxFastDIB> pixels(New<TdxFastDIB>(4, 4, true));
  const TOwned<TcxCanvasBasedImage> foreign = other.Canvas()->CreateImage(pixels.get(), afIgnored);
  TOwned<TSurfaceCanvas> gdiCanvas;
  TPixelSurface gdiSurface(8, 8);
  gdiCanvas.reset(New<TSurfaceCanvas>(&gdiSurface));
  const TOwned<TcxCanvasBasedImage> gdiImage = gdiCanvas->CreateImage(pixels.get(), afIgnored);
  surface.Begin();
  for (TcxCanvasBasedImage* image : {foreign.get(), gdiImage.get()}) {
    try {
      Recorder()->DrawImageCore(image, TRect(0, 0, 8, 8), TRect(0, 0, 4, 4), 255);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidArgument& E) {
      EXPECT_EQ(E.Message(), L"Resource was created for different Canvas");
    }
  }
  surface.End();
}

TEST_F(Direct2DCanvas, PathsAndPiesDrawTheirFigures) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const TOwned<TcxCanvasBasedBrush> red = canvas->CreateBrush(OpaqueRed);
  const TOwned<TcxCanvasBasedBrush> blue = canvas->CreateBrush(OpaqueBlue);
  const TOwned<TcxCanvasBasedPath> path = canvas->CreatePath();
  path->AddPolyline(std::vector<TdxPointF>{{0, 0}, {20, 0}, {20, 20}, {0, 20}});
  path->FigureClose();
  TDirect2DSurface other(8, 8);
  const TOwned<TcxCanvasBasedPath> foreign = other.Canvas()->CreatePath();
  foreign->AddPolyline(std::vector<TdxPointF>{{0, 0}, {40, 0}, {40, 40}});
  surface.Begin();
  canvas->Path(path.get(), red.get(), nullptr);
  canvas->Path(foreign.get(), blue.get(), nullptr);   // another canvas's path: nothing
  canvas->Pie(TdxRectF(20, 20, 40, 40), 0, 0, blue.get(), nullptr);   // no sweep: nothing
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(surface.Count(TRect(0, 0, 20, 20), RedRGB), 400);
  EXPECT_EQ(surface.Count(surface.ClientRect(), BlueRGB), 0);
}

TEST_F(Direct2DCanvas, ADonutWithoutAHoleIsAPie) {
  TDirect2DSurface& surface = Surface(60, 30);
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const TOwned<TcxCanvasBasedBrush> brush = canvas->CreateBrush(OpaqueRed);
  const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(OpaqueBlue, 1);
  surface.Begin();
  canvas->Pie(TdxRectF(0, 0, 30, 30), 30, 120, brush.get(), pen.get());
  canvas->DonutSlice(TdxRectF(30, 0, 60, 30), 30, 120, 0, brush.get(), pen.get());
  ASSERT_FALSE(surface.End());
  int drawn = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      EXPECT_EQ(surface.Raw(x, y), surface.Raw(x + 30, y)) << x << ", " << y;
      if (surface.Pixel(x, y) != WhiteRGB) ++drawn;
    }
  EXPECT_GT(drawn, 20);
}

// ---------------------------------------------------------------------------
// Native objects

class Direct2DNativeObjects : public Direct2DCanvas {
 protected:
  // GDI draws red over R.
  TcxCanvasNativeDrawProc GdiRed() {
    return [this](TcxCanvas* ACanvas, const TRect& R) {
      ++Calls;
      ACanvas->FillRect(R, clRed);
    };
  }
  // GDI+ draws green over R.
  TcxCanvasNativeDrawExProc GdiPlusGreen() {
    return [this](TdxGPCanvas* ACanvas, const TRect& R) {
      ++Calls;
      ACanvas->FillRectangle(R, OpaqueGreen);
    };
  }

  int Calls = 0;
};

TEST_F(Direct2DNativeObjects, InteropDrawsEveryTimeWithTheOriginAndClip) {
  TDirect2DSurface& surface = Surface(40, 40, true);
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const auto key = TcxCanvasBasedResourceCacheKey::Create(this, TSize(10, 10), 0, 0, 96);
  surface.Begin();
  canvas->SetWindowOrg(TPoint(5, 5));
  canvas->DrawNativeObject(TRect(10, 10, 20, 20), key, GdiRed());
  canvas->DrawNativeObject(TRect(10, 10, 20, 20), key, GdiRed());
  canvas->IntersectClipRect(TRect(25, 25, 30, 40));
  canvas->DrawNativeObject(TRect(25, 25, 35, 35), key, GdiPlusGreen());
  ASSERT_FALSE(surface.End());
  EXPECT_TRUE(canvas->IsGDICompatible());
  EXPECT_EQ(Calls, 3) << "nothing kept";
  EXPECT_EQ(canvas->CachedNativeObjectCount(), 0);
  EXPECT_EQ(surface.Count(TRect(5, 5, 15, 15), RedRGB), 100);
  EXPECT_EQ(surface.Count(surface.ClientRect(), RedRGB), 100);
  EXPECT_EQ(surface.Count(TRect(20, 20, 25, 30), GreenRGB), 50) << "only what the clip shows";
  EXPECT_EQ(surface.Count(surface.ClientRect(), GreenRGB), 50);
}

TEST_F(Direct2DNativeObjects, WithoutInteropOneRenderingServesAKey) {
  TDirect2DSurface& surface = Surface(40, 40, false);
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const auto redKey = TcxCanvasBasedResourceCacheKey::Create(this, TSize(10, 10), 1, 0, 96);
  const auto greenKey = TcxCanvasBasedResourceCacheKey::Create(this, TSize(10, 10), 2, 0, 96);
  surface.Begin();
  canvas->DrawNativeObject(TRect(0, 0, 10, 10), redKey, GdiRed());
  EXPECT_FALSE(canvas->IsGDICompatible()) << "the target offers no interop";
  canvas->DrawNativeObject(TRect(20, 0, 30, 10), redKey, GdiRed());
  canvas->DrawNativeObject(TRect(0, 20, 10, 30), greenKey, GdiPlusGreen());
  canvas->DrawNativeObject(TRect(20, 20, 30, 30), greenKey, GdiPlusGreen());
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(canvas->CachedNativeObjectCount(), 2);
  EXPECT_EQ(surface.Count(TRect(0, 0, 10, 10), RedRGB), 100) << "GDI's pixels made opaque";
  EXPECT_EQ(surface.Count(TRect(20, 0, 30, 10), RedRGB), 100);
  EXPECT_EQ(surface.Count(TRect(20, 20, 30, 30), GreenRGB), 100);
  canvas->FlushCache();
  EXPECT_EQ(canvas->CachedNativeObjectCount(), 0);
}

TEST_F(Direct2DNativeObjects, ObjectsLargerThanTheDeviceAllowsRenderOnlyTheClip) {
  TDirect2DSurface& surface = Surface(40, 40, false);
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  ASSERT_GT(canvas->MaxBitmapSize(), 0);
  const TRect huge(-canvas->MaxBitmapSize(), 0, 20, 10);
  TRect asked;
  surface.Begin();
  canvas->DrawNativeObject(huge, TcxCanvasBasedResourceCacheKey(),
                           TcxCanvasNativeDrawProc([&](TcxCanvas* ACanvas, const TRect& R) {
                             asked = R;
                             ACanvas->FillRect(R, clRed);
                           }));
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(asked, huge) << "the procedure draws the whole object";
  EXPECT_EQ(canvas->CachedNativeObjectCount(), 0);
  EXPECT_EQ(surface.Count(surface.ClientRect(), RedRGB), 20 * 10);
}

// ---------------------------------------------------------------------------
// Device loss

TEST_F(Direct2DCanvas, ALostDeviceAtTheEndOfADrawAsksForANewContext) {
  TDirect2DSurface& surface = Surface();
  surface.Begin();
  Recorder()->ForcedEndDraw = static_cast<HRESULT>(0x8899000C);   // recreate target
  EXPECT_TRUE(surface.End());
  EXPECT_TRUE(surface.Canvas()->RecreateContextNeeded());
  // A failure that is no loss.
  TDirect2DSurface& other = Surface();
  other.Begin();
  Recorder()->ForcedEndDraw = E_FAIL;
  EXPECT_FALSE(other.End());
  EXPECT_FALSE(other.Canvas()->RecreateContextNeeded());
}

TEST_F(Direct2DCanvas, EachDrawTakesTheAntialiasingSettings) {
  TDirect2DSurface& surface = Surface();
  ID2D1DeviceContext* context = surface.Context();
  struct TCase {
    bool Antialiasing;
    D2D1_TEXT_ANTIALIAS_MODE Text;
    D2D1_ANTIALIAS_MODE Expected;
  };
  for (const TCase& c : {TCase{false, D2D1_TEXT_ANTIALIAS_MODE_ALIASED, D2D1_ANTIALIAS_MODE_ALIASED},
                         TCase{true, D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE, D2D1_ANTIALIAS_MODE_PER_PRIMITIVE}}) {
    SCOPED_TRACE(c.Antialiasing);
    dxDirect2DAntialiasing = c.Antialiasing;
    dxDirect2DTextAntialiasMode = c.Text;
    surface.Begin();
    EXPECT_EQ(context->GetAntialiasMode(), c.Expected);
    EXPECT_EQ(context->GetTextAntialiasMode(), c.Text);
    surface.End();
  }
  dxDirect2DAntialiasing = true;
  dxDirect2DTextAntialiasMode = D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
}

TEST_F(Direct2DCanvas, ReleasingTheDeviceResourcesEmptiesEveryResource) {
  TDirect2DSurface& surface = Surface();
  TdxCustomDirect2DCanvas* canvas = surface.Canvas();
  const TOwned<TcxCanvasBasedBrush> brush = canvas->CreateBrush(OpaqueRed);
  const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(OpaqueRed, 2);
  ASSERT_FALSE(brush->IsEmpty());
  canvas->ReleaseDeviceResources();
  EXPECT_EQ(canvas->DeviceContext(), nullptr);
  EXPECT_EQ(canvas->MaxBitmapSize(), 0);
  EXPECT_TRUE(brush->IsEmpty());
  EXPECT_EQ(pen->Canvas(), nullptr);
}

}  // namespace
