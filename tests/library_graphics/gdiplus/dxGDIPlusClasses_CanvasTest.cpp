// The GDI+ canvas: its graphics object, rendering settings, clip and
// world-transform stacks, and images.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

using namespace Gdiplus;

namespace {

class GdiPlusCanvas : public GdiPlusTest {};

// A 2 x 2 chequerboard of black and white.
TdxGpOwnedImage Chequerboard() {
  TdxGpOwnedImage result = CreateGdipBitmap(2, 2);
  auto* bitmap = static_cast<GpBitmap*>(result.Get());
  GdipBitmapSetPixel(bitmap, 0, 0, 0xFF000000);
  GdipBitmapSetPixel(bitmap, 1, 0, 0xFFFFFFFF);
  GdipBitmapSetPixel(bitmap, 0, 1, 0xFFFFFFFF);
  GdipBitmapSetPixel(bitmap, 1, 1, 0xFF000000);
  return result;
}

std::set<COLORREF> Colours(const TPixelSurface& ASurface) {
  std::set<COLORREF> result;
  for (int y = 0; y < ASurface.Height(); ++y)
    for (int x = 0; x < ASurface.Width(); ++x) result.insert(ASurface.Pixel(x, y));
  return result;
}

// ---------------------------------------------------------------------------
// The graphics object

TEST_F(GdiPlusCanvas, OwnsTheGraphicsObjectItMadeOrAdopted) {
  const int before = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics);
  TPixelSurface surface(4, 4);
  {
    const TOwned<TdxGPCanvas> onDC(New<TdxGPCanvas>(surface.DC()));
    GpGraphics* graphics = nullptr;
    ASSERT_EQ(GdipCreateFromHDC(surface.DC(), &graphics), Ok);
    const TOwned<TdxGPCanvas> adopted(New<TdxGPCanvas>(graphics));
    EXPECT_EQ(adopted->Handle(), graphics);
    const TOwned<TdxGPCanvas> empty(New<TdxGPCanvas>());
    EXPECT_EQ(empty->Handle(), nullptr);
    EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics), before + 2);
  }
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics), before);
}

TEST_F(GdiPlusCanvas, ADestroyedCanvasDropsWhatItsStacksStillHold) {
  TPixelSurface surface(4, 4);
  {
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SaveClipRegion();
    canvas->SaveClipRegion();
    canvas->SaveWorldTransform();
  }
  // The fixture's leak check counts regions and matrices.
}

TEST_F(GdiPlusCanvas, ClearMakesTheColourOpaqueButClNoneTransparent) {
  const TdxGpOwnedImage image = CreateGdipBitmap(3, 3);
  GpGraphics* graphics = nullptr;
  ASSERT_EQ(GdipGetImageGraphicsContext(image.Get(), &graphics), Ok);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(graphics));
  const auto pixel = [&] {
    ARGB result = 0;
    GdipFlush(graphics, FlushIntentionSync);
    GdipBitmapGetPixel(static_cast<GpBitmap*>(image.Get()), 1, 1, &result);
    return result;
  };
  canvas->Clear(static_cast<TColor>(RGB(10, 20, 30)));
  EXPECT_EQ(pixel(), 0xFF0A141Eu);
  canvas->Clear(clDefault);
  EXPECT_EQ(pixel() >> 24, 0xFFu);
  canvas->Clear(clNone);
  EXPECT_EQ(pixel(), 0u);
}

TEST_F(GdiPlusCanvas, HandsOutAndTakesBackItsDeviceContext) {
  TPixelSurface surface(8, 8, RGB(255, 255, 255));
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  HDC dc = canvas->GetHDC();
  ASSERT_NE(dc, nullptr);
  RECT r{1, 1, 3, 3};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  canvas->ReleaseHDC(dc);
  EXPECT_EQ(surface.Pixel(2, 2), RGB(0, 0, 0));
}

// ---------------------------------------------------------------------------
// Rendering settings

TEST_F(GdiPlusCanvas, SettingsGoThroughGdiPlusAndValuesOutsideTheEnumerationsReadAsDefault) {
  TPixelSurface surface(4, 4);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  // Nothing is set by the canvas itself.
  EXPECT_EQ(canvas->SmoothingMode(), smDefault);
  EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeDefault);
  EXPECT_EQ(canvas->CompositionMode(), cmSourceOver);

  for (TdxGPSmoothingMode mode : {smHighSpeed, smHighQuality, smNone, smAntiAlias, smDefault}) {
    canvas->SetSmoothingMode(mode);
    SmoothingMode live;
    GdipGetSmoothingMode(canvas->Handle(), &live);
    EXPECT_EQ(static_cast<int>(live), static_cast<int>(mode));
    EXPECT_EQ(canvas->SmoothingMode(), mode);
  }
  // GDI+ 1.1's 8x4 antialiasing is none of ours.
  ASSERT_EQ(GdipSetSmoothingMode(canvas->Handle(), static_cast<SmoothingMode>(5)), Ok);
  EXPECT_EQ(canvas->SmoothingMode(), smDefault);

  canvas->SetInterpolationMode(imNearestNeighbor);
  EXPECT_EQ(canvas->InterpolationMode(), imNearestNeighbor);
  canvas->SetCompositionMode(cmSourceCopy);
  EXPECT_EQ(canvas->CompositionMode(), cmSourceCopy);
  canvas->SetTextRenderingHint(TextRenderingHintAntiAliasGridFit);
  EXPECT_EQ(canvas->TextRenderingHint(), TextRenderingHintAntiAliasGridFit);
  canvas->SetPageUnit(guMillimeter);
  EXPECT_EQ(canvas->PageUnit(), guMillimeter);
  canvas->SetPageScale(2.5f);
  EXPECT_EQ(canvas->PageScale(), 2.5f);
  canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeHalf);
  TWindowDC screen(nullptr);
  EXPECT_EQ(canvas->DpiX(), static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSX)));
  EXPECT_EQ(canvas->DpiY(), static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSY)));
}

TEST_F(GdiPlusCanvas, OnlyNearestNeighbourEnlargesAnImageWithoutBlending) {
  const TdxGpOwnedImage image = Chequerboard();
  const struct {
    TdxGPInterpolationMode Mode;
    bool Blends;
  } cases[] = {
      {imDefault, true},  {imLowQuality, true},      {imHighQuality, true},         {imBilinear, true},
      {imBicubic, true},  {imNearestNeighbor, false}, {imHighQualityBilinear, true}, {imHighQualityBicubic, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    TPixelSurface surface(20, 20, RGB(0, 0, 0));
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SetInterpolationMode(c.Mode);
    canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
    canvas->Draw(image.Get(), TRect(0, 0, 20, 20));
    const std::set<COLORREF> colours = Colours(surface);
    if (c.Blends) {
      EXPECT_GT(colours.size(), 2u);
    } else {
      EXPECT_EQ(colours, (std::set<COLORREF>{RGB(0, 0, 0), RGB(255, 255, 255)}));
      EXPECT_EQ(surface.Pixel(9, 9), RGB(0, 0, 0));
      EXPECT_EQ(surface.Pixel(10, 9), RGB(255, 255, 255));
    }
  }
}

TEST_F(GdiPlusCanvas, EverySmoothingModeInksTheShapeItIsGiven) {
  // Wine draws antialiased shapes without partial shades: the test looks at
  // where the ink lies, which must be the shape's place in every mode.
  for (TdxGPSmoothingMode mode : {smDefault, smHighSpeed, smHighQuality, smNone, smAntiAlias}) {
    SCOPED_TRACE(mode);
    TGpSurface surface(24, 24);
    surface.Canvas()->SetSmoothingMode(mode);
    surface.Canvas()->Ellipse(TdxRectF(4, 4, 20, 20), TdxAlphaColors::Empty, 0xFFFF0000u, 0, psClear);
    surface.Flush();
    const TRect ink = surface.BoundsOfOther(RGB(255, 255, 255));
    EXPECT_GE(ink.Left, 3);
    EXPECT_GE(ink.Top, 3);
    EXPECT_LE(ink.Right, 21);
    EXPECT_LE(ink.Bottom, 21);
    EXPECT_EQ(surface.Pixel(12, 12), RGB(255, 0, 0));
    EXPECT_EQ(surface.Pixel(5, 5), RGB(255, 255, 255)) << surface.Picture(RGB(255, 255, 255));
  }
}

// ---------------------------------------------------------------------------
// The clip and transform stacks

TEST_F(GdiPlusCanvas, SaveAndRestoreSequencesEndInTheirState) {
  const auto clip = [](int ARight) {
    return [ARight](TdxGPCanvas* C) { C->SetClipRect(TRect(0, 0, ARight, 10), gmReplace); };
  };
  const auto shift = [](float ADX) { return [ADX](TdxGPCanvas* C) { C->TranslateWorldTransform(ADX, 0); }; };
  const auto saveClip = [](TdxGPCanvas* C) { C->SaveClipRegion(); };
  const auto restoreClip = [](TdxGPCanvas* C) { C->RestoreClipRegion(); };
  const auto saveTransform = [](TdxGPCanvas* C) { C->SaveWorldTransform(); };
  const auto restoreTransform = [](TdxGPCanvas* C) { C->RestoreWorldTransform(); };
  const struct {
    const char* Name;
    std::vector<std::function<void(TdxGPCanvas*)>> Steps;
    int ClipRight;  // -1: no clip
    float OffsetX;
  } cases[] = {
      {"restore brings the saved clip back", {clip(5), saveClip, clip(3), restoreClip}, 5, 0},
      {"last in, first out", {clip(8), saveClip, clip(6), saveClip, clip(4), restoreClip}, 6, 0},
      {"two restores reach the first save", {clip(8), saveClip, clip(6), saveClip, clip(4), restoreClip, restoreClip},
       8, 0},
      {"a restore with nothing saved changes nothing", {clip(7), restoreClip}, 7, 0},
      {"one restore too many stops at the bottom", {saveClip, clip(2), restoreClip, restoreClip}, -1, 0},
      {"transforms come back", {shift(3), saveTransform, shift(4), restoreTransform}, -1, 3},
      {"transforms nest", {saveTransform, shift(1), saveTransform, shift(2), restoreTransform}, -1, 1},
      {"a transform restore with nothing saved changes nothing", {shift(5), restoreTransform, restoreTransform}, -1, 5},
      {"the stacks are apart", {clip(9), saveClip, saveTransform, clip(1), shift(2), restoreTransform}, 1, 0},
      {"the stacks are apart, the other way", {shift(6), saveTransform, saveClip, clip(4), shift(1), restoreClip},
       -1, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(16, 16);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    for (const auto& step : c.Steps) step(canvas.get());
    BOOL infinite = FALSE;
    const TdxGpOwnedRegion region = canvas->GetClipNativeRegion();
    GdipIsInfiniteRegion(region.Get(), canvas->Handle(), &infinite);
    if (c.ClipRight < 0) {
      EXPECT_TRUE(infinite);
    } else {
      TRect bounds;
      ASSERT_TRUE(canvas->GetClipBounds(bounds));
      EXPECT_EQ(bounds, TRect(0, 0, c.ClipRight, 10));
    }
    EXPECT_EQ(canvas->GetWorldTransform()->OffsetX(), c.OffsetX);
  }
}

TEST_F(GdiPlusCanvas, ClipsCombineWithTheCurrentClip) {
  TPixelSurface surface(40, 40);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  canvas->SetClipRect(TRect(0, 0, 20, 20), gmReplace);
  canvas->SetClipRect(TdxRectF(10, 10, 30, 30), gmIntersect);
  TRect bounds;
  ASSERT_TRUE(canvas->GetClipBounds(bounds));
  EXPECT_EQ(bounds, TRect(10, 10, 20, 20));

  const TOwnedRegion gdi(CreateRectRgn(0, 0, 5, 5));
  canvas->SetClipRegion(gdi.Get(), gmUnion);
  ASSERT_TRUE(canvas->GetClipBounds(bounds));
  EXPECT_EQ(bounds, TRect(0, 0, 20, 20));

  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddRect(TRect(30, 30, 35, 40));
  canvas->SetClipPath(path.get(), gmReplace);
  ASSERT_TRUE(canvas->GetClipBounds(bounds));
  EXPECT_EQ(bounds, TRect(30, 30, 35, 40));

  const TOwned<TdxGPRegion> region(New<TdxGPRegion>(TRect(1, 2, 3, 4)));
  canvas->SetClipRegion(region.get(), gmReplace);
  const TOwnedRegion back = canvas->GetClipGdiRegion();
  RECT box;
  ASSERT_NE(GetRgnBox(back.Get(), &box), ERROR);
  EXPECT_EQ(TRect(box.left, box.top, box.right, box.bottom), TRect(1, 2, 3, 4));
  const TOwned<TdxGPRegion> copy = canvas->GetClipRegion();
  canvas->SetClipRect(TRect(0, 0, 1, 1), gmReplace);
  BOOL visible = FALSE;
  GdipIsVisibleRegionPointI(copy->Handle(), 2, 3, nullptr, &visible);
  EXPECT_TRUE(visible) << "the copy stays as it was";
}

TEST_F(GdiPlusCanvas, AnEmptyClipHasNoGdiRegion) {
  TPixelSurface surface(10, 10);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  EXPECT_FALSE(canvas->IsClipEmpty());
  canvas->SetClipRect(TRect(2, 2, 6, 6), gmReplace);
  canvas->SetClipRect(TRect(7, 7, 9, 9), gmIntersect);
  EXPECT_TRUE(canvas->IsClipEmpty());
  EXPECT_FALSE(canvas->GetClipGdiRegion());
}

// The clip bounds GDI+ answers for the length of a test: Wine rounds them
// to whole pixels, so bounds on half pixels come from here.
RectF GInjectedClipBounds;
GpStatus WINGDIPAPI InjectedClipBounds(GpGraphics*, RectF* ARect) {
  *ARect = GInjectedClipBounds;
  return Ok;
}

TEST_F(GdiPlusCanvas, ClipBoundsInWholePixels) {
  struct TCase {
    const char* Name;
    bool FromGdiPlus;  // a clip set in GDI+, else bounds injected
    bool HalfPixelOffset;
    TdxRectF Bounds;
    TRect WholePixels;
  };
  const TCase cases[] = {
      {"whole pixels", true, false, TdxRectF(10, 10, 20, 20), TRect(10, 10, 20, 20)},
      // Pixel 19 ends at 19.5: only 10..18 lie wholly inside.
      {"whole pixels, half offset", true, true, TdxRectF(10, 10, 20, 20), TRect(10, 10, 19, 19)},
      // Pixels 11..19 lie wholly inside 10.5..20.5.
      {"half pixels", false, false, TdxRectF(10.5f, 10.5f, 20.5f, 20.5f), TRect(11, 11, 20, 20)},
      // Shifted by half a pixel the bounds are whole again.
      {"half pixels, half offset", false, true, TdxRectF(10.5f, 10.5f, 20.5f, 20.5f), TRect(10, 10, 20, 20)},
      {"quarter pixels", false, false, TdxRectF(10.25f, 10.75f, 20.75f, 20.25f), TRect(11, 11, 20, 20)},
  };
  const auto realClipBounds = GdipGetClipBounds;
  const TScopeExit restore([&] { GdipGetClipBounds = realClipBounds; });
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(40, 40);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    if (c.HalfPixelOffset) canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
    TdxRectF boundsF;
    TRect bounds;
    if (c.FromGdiPlus) {
      GdipGetClipBounds = realClipBounds;
      canvas->SetClipRect(ConvertRectFToRect(c.Bounds), gmReplace);
    } else {
      GInjectedClipBounds = RectF(c.Bounds.Left, c.Bounds.Top, c.Bounds.Width(), c.Bounds.Height());
      GdipGetClipBounds = &InjectedClipBounds;
    }
    ASSERT_TRUE(canvas->GetClipBounds(boundsF));
    EXPECT_EQ(boundsF, c.Bounds);
    ASSERT_TRUE(canvas->GetClipBounds(bounds));
    EXPECT_EQ(bounds, c.WholePixels);
  }
}

TEST_F(GdiPlusCanvas, ClipBoundsFailWithoutAGraphicsObject) {
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>());
  TRect bounds(1, 2, 3, 4);
  TdxRectF boundsF(1, 2, 3, 4);
  EXPECT_FALSE(canvas->GetClipBounds(bounds));
  EXPECT_FALSE(canvas->GetClipBounds(boundsF));
  EXPECT_EQ(bounds, TRect(1, 2, 3, 4));
  EXPECT_EQ(boundsF, TdxRectF(1, 2, 3, 4));
}

TEST_F(GdiPlusCanvas, WorldTransformOperations) {
  TPixelSurface surface(10, 10);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  const auto mapped = [&](TdxPointF P) {
    std::vector<TdxPointF> points{P};
    canvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points);
    return points[0];
  };
  const auto same = [](TdxPointF A, TdxPointF B) { return std::abs(A.X - B.X) < 1e-3f && std::abs(A.Y - B.Y) < 1e-3f; };

  // About the pivot in either order: prepended, the pivot is turned before
  // the translation moves it; appended, what the translation brought to the
  // pivot stays there.
  canvas->TranslateWorldTransform(5, 0);
  canvas->RotateWorldTransform(90, TPoint(10, 10), MatrixOrderPrepend);
  EXPECT_TRUE(same(mapped(TdxPointF(10, 10)), TdxPointF(15, 10)));
  EXPECT_TRUE(same(mapped(TdxPointF(11, 10)), TdxPointF(15, 11)));
  canvas->ResetWorldTransform();
  canvas->TranslateWorldTransform(5, 0);
  canvas->RotateWorldTransform(90, TdxPointF(10, 10), MatrixOrderAppend);
  EXPECT_TRUE(same(mapped(TdxPointF(5, 10)), TdxPointF(10, 10)));
  EXPECT_TRUE(same(mapped(TdxPointF(6, 10)), TdxPointF(10, 11)));

  canvas->ResetWorldTransform();
  canvas->TranslateWorldTransform(7, 7);
  canvas->ScaleWorldTransform(2, 3, TdxPointF(10, 10), MatrixOrderAppend);
  // The scaling replaces the translation.
  EXPECT_TRUE(same(mapped(TdxPointF(10, 10)), TdxPointF(10, 10)));
  EXPECT_TRUE(same(mapped(TdxPointF(11, 11)), TdxPointF(12, 13)));

  canvas->ResetWorldTransform();
  canvas->TranslateWorldTransform(100, 0);
  canvas->FlipWorldTransform(true, false, TPoint(10, 0));
  // Prepended: mirrored first, then moved.
  EXPECT_TRUE(same(mapped(TdxPointF(0, 4)), TdxPointF(120, 4)));
  canvas->FlipWorldTransform(false, false, 50, 50);
  EXPECT_TRUE(same(mapped(TdxPointF(0, 4)), TdxPointF(120, 4)));

  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>(1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 5.0f));
  canvas->SetWorldTransform(matrix.get());
  canvas->ModifyWorldTransform(matrix.get(), MatrixOrderAppend);
  canvas->ScaleWorldTransform(2, 2, MatrixOrderPrepend);
  EXPECT_TRUE(same(mapped(TdxPointF(1, 1)), TdxPointF(2, 12)));

  std::vector<TPoint> points{TPoint(1, 1), TPoint(2, 0)};
  canvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points);
  EXPECT_EQ(points, (std::vector<TPoint>{TPoint(2, 12), TPoint(4, 10)}));
}

TEST_F(GdiPlusCanvas, TransformingNoPointsRaises) {
  TPixelSurface surface(4, 4);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  std::vector<TdxPointF> points;
  std::vector<TPoint> integerPoints;
  for (const auto& transform : std::vector<std::function<void()>>{
           [&] { canvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points); },
           [&] { canvas->TransformPoints(CoordinateSpacePage, CoordinateSpaceWorld, integerPoints); }}) {
    try {
      transform();
      ADD_FAILURE() << "no exception";
    } catch (const EArgumentOutOfRangeException& e) {
      EXPECT_EQ(e.Message(), L"points");
    }
  }
}

// ---------------------------------------------------------------------------
// Images

// A 10 x 10 image: red on the left half, blue on the right.
TdxGpOwnedImage RedBlueImage() {
  TdxGpOwnedImage result = CreateGdipBitmap(10, 10);
  TdxGpOwnedGraphics graphics;
  GdipGetImageGraphicsContext(result.Get(), graphics.Receive());
  GdipGraphicsClear(graphics.Get(), 0xFF0000FF);
  GpSolidFill* red = nullptr;
  GdipCreateSolidFill(0xFFFF0000, &red);
  const TdxGpOwnedBrush brush(red);
  GdipFillRectangleI(graphics.Get(), red, 0, 0, 5, 10);
  return result;
}

TEST_F(GdiPlusCanvas, ImagesAreDrawnWholeOrInPartWithTheirOpacityOrAttributes) {
  const TdxGpOwnedImage image = RedBlueImage();
  TGpSurface surface(60, 10);
  surface.Canvas()->SetPixelOffsetMode(PixelOffsetModeHalf);
  surface.Canvas()->Draw(image.Get(), TRect(0, 0, 10, 10));
  surface.Canvas()->Draw(image.Get(), TdxRectF(10, 0, 20, 10), 128);
  surface.Canvas()->Draw(image.Get(), TRect(20, 0, 25, 10), TRect(5, 0, 10, 10));
  const TOwned<TdxGPImageAttributes> withoutRed(New<TdxGPImageAttributes>());
  withoutRed->SetColorKey(0xFFFF0000, 0xFFFF0000);
  surface.Canvas()->Draw(image.Get(), TRect(30, 0, 40, 10), withoutRed.get());
  surface.Canvas()->Draw(image.Get(), TdxRectF(40, 0, 50, 10), TdxRectF(0, 0, 10, 10), withoutRed.get());
  surface.Flush();
  EXPECT_EQ(surface.Count(TRect(0, 0, 10, 10), RGB(255, 0, 0)), 50);
  EXPECT_EQ(surface.Count(TRect(0, 0, 10, 10), RGB(0, 0, 255)), 50);
  const COLORREF half = surface.Pixel(12, 5);
  EXPECT_EQ(GetRValue(half), 255);
  EXPECT_NEAR(GetGValue(half), 127, 2);
  EXPECT_EQ(surface.Count(TRect(20, 0, 25, 10), RGB(0, 0, 255)), 50) << "the blue half only";
  for (const TRect keyed : {TRect(30, 0, 40, 10), TRect(40, 0, 50, 10)}) {
    EXPECT_EQ(surface.Count(keyed, RGB(255, 0, 0)), 0);
    EXPECT_EQ(surface.Count(keyed, RGB(0, 0, 255)), 50);
  }
}

// Red over white at opacity A: the red channel stays, the others show the
// white that is left.
COLORREF RedOverWhite(int AAlpha) { return RGB(255, 255 - AAlpha, 255 - AAlpha); }

TEST_F(GdiPlusCanvas, SmartImagesThroughTheirOwnDrawingAtEveryOpacity) {
  const std::vector<RGBQUAD> red(16, RGBQUAD{0, 0, 255, 255});
  const TOwned<TdxSmartImage> image(
      NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateFromBits(4, 4, red.data(), afDefined); }));
  TGpSurface surface(60, 10);
  surface.Canvas()->Draw(image.get(), TRect(0, 0, 10, 10));
  surface.Canvas()->Draw(image.get(), TdxRectF(10, 0, 20, 10), 128);
  surface.Canvas()->Draw(image.get(), TRect(20, 0, 30, 10), TRect(0, 0, 2, 4), 64);
  surface.Canvas()->Draw(image.get(), TdxRectF(30, 0, 40, 10), TdxRectF(2, 0, 4, 4), 200);
  surface.Canvas()->DrawTile(image.get(), TRect(40, 2, 50, 8), 191);
  const TOwned<TdxGPImageAttributes> withoutRed(New<TdxGPImageAttributes>());
  withoutRed->SetColorKey(0xFFFF0000, 0xFFFF0000);
  surface.Canvas()->Draw(image.get(), TRect(50, 0, 60, 10), withoutRed.get());
  surface.Flush();
  const struct {
    int Left, Alpha;
  } cells[] = {{0, 255}, {10, 128}, {20, 64}, {30, 200}, {40, 191}};
  for (const auto& cell : cells) {
    SCOPED_TRACE(cell.Alpha);
    const COLORREF pixel = surface.Pixel(cell.Left + 5, 5);
    const COLORREF expected = RedOverWhite(cell.Alpha);
    EXPECT_EQ(GetRValue(pixel), 255);
    EXPECT_NEAR(GetGValue(pixel), GetGValue(expected), 2);
    EXPECT_NEAR(GetBValue(pixel), GetBValue(expected), 2);
  }
  EXPECT_EQ(surface.BoundsOfOther(RGB(255, 255, 255)), TRect(0, 0, 50, 10)) << "the tile stays in its rectangle";
  EXPECT_EQ(surface.Count(TRect(40, 0, 50, 2), RGB(255, 255, 255)), 20);
}

TEST_F(GdiPlusCanvas, AnImageOntoAParallelogram) {
  const TdxGpOwnedImage image = RedBlueImage();
  TGpSurface surface(40, 40);
  // Mirrored left to right, 20 wide and 10 high.
  surface.Canvas()->Draw(image.Get(), {TdxPointF(30, 5), TdxPointF(10, 5), TdxPointF(30, 15)});
  const TOwned<TdxGPImageAttributes> withoutRed(New<TdxGPImageAttributes>());
  withoutRed->SetColorKey(0xFFFF0000, 0xFFFF0000);
  surface.Canvas()->Draw(image.Get(), {TdxPointF(0, 30), TdxPointF(10, 30), TdxPointF(0, 35)}, withoutRed.get());
  surface.Flush();
  const TRect ink = surface.BoundsOfOther(RGB(255, 255, 255));
  EXPECT_GE(ink.Left, 0);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Right, 30);
  EXPECT_LE(ink.Bottom, 35);
  EXPECT_EQ(surface.Pixel(14, 10), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(26, 10), RGB(255, 0, 0));
  EXPECT_EQ(surface.Count(TRect(0, 30, 10, 35), RGB(255, 0, 0)), 0);
  EXPECT_EQ(surface.Pixel(8, 32), RGB(0, 0, 255));
}

TEST_F(GdiPlusCanvas, BitmapsKeepTheAlphaTheirFormatSays) {
  const auto bitmapOf = [](TPixelFormat AFormat, TAlphaFormat AAlpha) {
    TOwned<TBitmap> result(New<TBitmap>());
    result->SetPixelFormat(AFormat);
    result->SetSize(2, 2);
    if (AFormat == pf32bit) {
      result->SetAlphaFormat(AAlpha);
      // Straight red at half opacity (premultiplied: 128 of red).
      const std::uint32_t pixel = AAlpha == afPremultiplied ? 0x80800000u : 0x80FF0000u;
      for (int y = 0; y < 2; ++y) std::fill_n(static_cast<std::uint32_t*>(result->ScanLine(y)), 2, pixel);
    } else {
      result->Canvas()->Brush()->SetColor(clRed);
      result->Canvas()->FillRect(TRect(0, 0, 2, 2));
    }
    return result;
  };
  const struct {
    const char* Name;
    TPixelFormat Format;
    TAlphaFormat Alpha;
    bool Blended;
  } cases[] = {
      {"straight alpha", pf32bit, afDefined, true},
      {"premultiplied alpha", pf32bit, afPremultiplied, true},
      {"alpha ignored", pf32bit, afIgnored, false},
      {"24 bits", pf24bit, afIgnored, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TBitmap> bitmap = bitmapOf(c.Format, c.Alpha);
    TGpSurface surface(10, 10);
    surface.Canvas()->DrawBitmap(bitmap.get(), TRect(2, 2, 6, 6));
    surface.Flush();
    const COLORREF pixel = surface.Pixel(4, 4);
    EXPECT_EQ(GetRValue(pixel), 255);
    if (c.Blended)
      EXPECT_NEAR(GetGValue(pixel), 127, 2);
    else
      EXPECT_EQ(GetGValue(pixel), 0);
    EXPECT_EQ(surface.BoundsOfOther(RGB(255, 255, 255)), TRect(2, 2, 6, 6));
  }
  const TOwned<TBitmap> empty(New<TBitmap>());
  TGpSurface surface(4, 4);
  surface.Canvas()->DrawBitmap(empty.get(), TRect(0, 0, 4, 4));
  surface.Canvas()->DrawBitmap(nullptr, TRect(0, 0, 4, 4));
  surface.Flush();
  EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 16);
}

}  // namespace
