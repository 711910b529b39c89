#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace Gdiplus;

namespace {

class GdiPlusResources : public GdiPlusTest {};

TEST_F(GdiPlusResources, PensOnlyForVisibleColoursPositiveWidthsAndDrawingStyles) {
  struct {
    const char* Name;
    TdxAlphaColor Color;
    TPenStyle Style;
    float Width;
    bool Given;
  } const cases[] = {
      {"solid", 0xFF000000, psSolid, 1, true},
      {"dash dot dot", 0x80FF0000, psDashDotDot, 2, true},
      {"width 0", 0xFF000000, psSolid, 0, false},
      {"negative width", 0xFF000000, psSolid, -1, false},
      {"colour 0", 0, psSolid, 1, false},
      {"default marker", 0x00010203, psSolid, 1, false},
      {"clear", 0xFF000000, psClear, 1, false},
      {"inside frame", 0xFF000000, psInsideFrame, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    IPtr<IdxGPHandle> pen = TdxGPResourceManager::GetSolidBrush(0xFF123456);  // cleared by GetPen
    EXPECT_EQ(TdxGPResourceManager::GetPen(c.Color, c.Style, c.Width, pen), c.Given);
    EXPECT_EQ(static_cast<bool>(pen), c.Given);
    if (!c.Given) continue;
    DashStyle style;
    REAL width = 0;
    GdipGetPenDashStyle(static_cast<GpPen*>(pen->GetNativeHandle()), &style);
    GdipGetPenWidth(static_cast<GpPen*>(pen->GetNativeHandle()), &width);
    EXPECT_EQ(style, static_cast<DashStyle>(c.Style));
    EXPECT_EQ(width, c.Width);
  }
  IPtr<IdxGPHandle> pen;
  EXPECT_FALSE(TdxGPResourceManager::GetPen(clNone, 255, psSolid, 1, pen));
  EXPECT_TRUE(TdxGPResourceManager::GetPen(clRed, 128, psDash, 1, pen));
  ARGB color = 0;
  GdipGetPenColor(static_cast<GpPen*>(pen->GetNativeHandle()), &color);
  EXPECT_EQ(color, 0x80FF0000u);
  EXPECT_TRUE(TdxGPResourceManager::GetPen(0xFF00FF00u, gppsDot, 1, pen));
}

TEST_F(GdiPlusResources, TheSameKeyGivesTheSameObject) {
  IPtr<IdxGPHandle> a;
  IPtr<IdxGPHandle> b;
  ASSERT_TRUE(TdxGPResourceManager::GetPen(0xFF0000FFu, DashStyleSolid, 2, a));
  ASSERT_TRUE(TdxGPResourceManager::GetPen(0xFF0000FFu, DashStyleSolid, 2, b));
  EXPECT_EQ(a, b);
  ASSERT_TRUE(TdxGPResourceManager::GetPen(0xFF0000FFu, DashStyleSolid, 3, b));
  EXPECT_NE(a, b);
  EXPECT_EQ(TdxGPResourceManager::GetSolidBrush(0xFF010203u), TdxGPResourceManager::GetSolidBrush(0xFF010203u));
  IPtr<IdxGPHandle> brush;
  EXPECT_FALSE(TdxGPResourceManager::GetSolidBrush(TdxAlphaColor(0x00FFFFFF), brush));
  EXPECT_FALSE(brush);
  EXPECT_FALSE(TdxGPResourceManager::GetSolidBrush(clNone, 255, brush));
  EXPECT_TRUE(TdxGPResourceManager::GetSolidBrush(clBlue, 255, brush));
  EXPECT_EQ(brush, TdxGPResourceManager::GetSolidBrush(0xFF0000FFu));

  TFont* font = New<TFont>();
  font->SetName(L"DejaVu Sans");
  font->SetHeight(-13);
  const IPtr<IdxGPHandle> first = TdxGPResourceManager::GetFont(font);
  EXPECT_EQ(TdxGPResourceManager::GetFont(font), first);
  REAL size = 0;
  GdipGetFontSize(static_cast<GpFont*>(first->GetNativeHandle()), &size);
  EXPECT_NEAR(size, 13, 0.5);
  font->Free();
}

TEST_F(GdiPlusResources, TheHundredAndFirstBrushEvictsTheFirstWhichLivesOnWhileHeld) {
  const IPtr<IdxGPHandle> first = TdxGPResourceManager::GetSolidBrush(0xFF000000u);
  for (TdxAlphaColor i = 1; i <= 100; ++i) TdxGPResourceManager::GetSolidBrush(0xFF000000u + i);
  EXPECT_EQ(TdxGPResourceManager::BrushCache()->Count(), 100);
  IPtr<IdxGPHandle> probe;
  EXPECT_FALSE(TdxGPResourceManager::BrushCache()->TdxGPHandleCache<TdxAlphaColor>::Get(0xFF000000u, probe));
  // The evicted brush still paints for its holder.
  TGpSurface surface(4, 4);
  EXPECT_EQ(GdipFillRectangleI(surface.Graphics(), static_cast<GpBrush*>(first->GetNativeHandle()), 0, 0, 4, 4), Ok);
  surface.Flush();
  EXPECT_EQ(surface.Count(RGB(0, 0, 0)), 16);
  EXPECT_NE(TdxGPResourceManager::GetSolidBrush(0xFF000000u), first);  // made anew
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Brush), 101);
}

// ---------------------------------------------------------------------------
// Image attributes

class GdiPlusImageAttributes : public GdiPlusTest {};

TEST_F(GdiPlusImageAttributes, OpacityScalesAlphaThroughTheSharedAttributes) {
  EXPECT_EQ(GetAlphaBlendAttributes(255), nullptr);
  // A white source image drawn at opacity 128 over black.
  TdxGpOwnedImage source = CreateGdipBitmap(4, 4);
  TdxGpOwnedGraphics sourceGraphics;
  ASSERT_EQ(GdipGetImageGraphicsContext(source.Get(), sourceGraphics.Receive()), Ok);
  GdipGraphicsClear(sourceGraphics.Get(), 0xFFFFFFFF);
  sourceGraphics.Reset();

  TdxGPImageAttributes* attributes = GetAlphaBlendAttributes(128);
  ASSERT_NE(attributes, nullptr);
  auto* alphaBlend = static_cast<TdxGPAlphaBlendAttributes*>(attributes);
  EXPECT_EQ(alphaBlend->Alpha(), 128);
  EXPECT_FLOAT_EQ(alphaBlend->Matrix().m[3][3], 128 / 255.0f);
  EXPECT_FLOAT_EQ(alphaBlend->Matrix().m[0][0], 1);
  EXPECT_EQ(GetAlphaBlendAttributes(128), attributes);  // one shared object

  TGpSurface surface(4, 4, RGB(0, 0, 0));
  ASSERT_EQ(GdipDrawImageRectRectI(surface.Graphics(), source.Get(), 0, 0, 4, 4, 0, 0, 4, 4, UnitPixel,
                                   attributes->Handle(), nullptr, nullptr),
            Ok);
  surface.Flush();
  EXPECT_NEAR(GetRValue(surface.Pixel(1, 1)), 128, 3);

  surface.Fill(RGB(0, 0, 0));
  GdipDrawImageRectRectI(surface.Graphics(), source.Get(), 0, 0, 4, 4, 0, 0, 4, 4, UnitPixel,
                         GetAlphaBlendAttributes(255) ? GetAlphaBlendAttributes(255)->Handle() : nullptr, nullptr,
                         nullptr);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(1, 1), RGB(255, 255, 255));
}

TEST_F(GdiPlusImageAttributes, SettingTheSameAlphaMakesNoGdiPlusCall) {
  // A white image drawn over black shows the alpha scale GDI+ applies.
  TdxGpOwnedImage source = CreateGdipBitmap(4, 4);
  TdxGpOwnedGraphics sourceGraphics;
  ASSERT_EQ(GdipGetImageGraphicsContext(source.Get(), sourceGraphics.Receive()), Ok);
  GdipGraphicsClear(sourceGraphics.Get(), 0xFFFFFFFF);
  sourceGraphics.Reset();
  const auto drawnRed = [&](TdxGPImageAttributes* AAttributes) {
    TGpSurface surface(4, 4, RGB(0, 0, 0));
    EXPECT_EQ(GdipDrawImageRectRectI(surface.Graphics(), source.Get(), 0, 0, 4, 4, 0, 0, 4, 4, UnitPixel,
                                     AAttributes->Handle(), nullptr, nullptr),
              Ok);
    surface.Flush();
    return static_cast<int>(GetRValue(surface.Pixel(1, 1)));
  };

  const TOwned<TdxGPAlphaBlendAttributes> attributes(New<TdxGPAlphaBlendAttributes>());
  EXPECT_EQ(attributes->Alpha(), 255);
  attributes->SetAlpha(128);
  EXPECT_NEAR(drawnRed(attributes.get()), 128, 3);
  // Behind the object's back GDI+ is given another scale; setting the alpha
  // the object already has must leave it there.
  ColorMatrix fifth{};
  for (int i = 0; i < 5; ++i) fifth.m[i][i] = 1;
  fifth.m[3][3] = 0.2f;
  ASSERT_EQ(GdipSetImageAttributesColorMatrix(attributes->Handle(), ColorAdjustTypeBitmap, TRUE, &fifth, nullptr,
                                              ColorMatrixFlagsDefault),
            Ok);
  attributes->SetAlpha(128);
  EXPECT_NEAR(drawnRed(attributes.get()), 51, 3) << "GDI+ was called";
  // Another alpha is set in GDI+.
  attributes->SetAlpha(204);
  EXPECT_NEAR(drawnRed(attributes.get()), 204, 3);
  EXPECT_FLOAT_EQ(attributes->Matrix().m[3][3], 0.8f);
}

TEST_F(GdiPlusImageAttributes, AdjustmentsSwitchOnAndOff) {
  const TOwned<TdxGPImageAttributes> attributes(New<TdxGPImageAttributes>());
  ColorMatrix identity{};
  for (int i = 0; i < 5; ++i) identity.m[i][i] = 1;
  TdxGPImageAttributes* a = attributes.get();
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"colour key", [a] { a->SetColorKey(0xFF000000, 0xFF101010); }},
      {"no colour key", [a] { a->ClearColorKey(); }},
      {"colour matrix", [a, identity] { a->SetColorMatrix(identity); }},
      {"colour and grey matrices", [a, identity] { a->SetColorMatrices(identity, identity, ColorMatrixFlagsAltGray); }},
      {"no colour matrix", [a] { a->ClearColorMatrix(); }},
      {"gamma", [a] { a->SetGamma(2.2f); }},
      {"no gamma", [a] { a->ClearGamma(); }},
      {"no-op", [a] { a->SetNoOp(); }},
      {"no no-op", [a] { a->ClearNoOp(); }},
      {"remap table", [a] { a->SetRemapTable({ColorMap{Color(0xFF000000), Color(0xFFFFFFFF)}}); }},
      {"no remap table", [a] { a->ClearRemapTable(); }},
      {"brush remap table", [a] { a->SetBrushRemapTable({ColorMap{Color(0xFF000000), Color(0xFFFF0000)}}); }},
      {"no brush remap table", [a] { a->ClearBrushRemapTable(); }},
      {"wrap mode", [a] { a->SetWrapMode(WrapModeTileFlipXY); }},
      {"clamped wrap mode", [a] { a->SetWrapMode(WrapModeClamp, 0xFF00FF00, true); }},
  };
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    EXPECT_NO_THROW(step());
  }
  // Wine answers the threshold with NotImplemented: whatever GDI+ answers
  // directly, the wrapper passes on (nothing, or the exception of that status).
  for (const BOOL enable : {TRUE, FALSE}) {
    SCOPED_TRACE(enable ? "threshold" : "no threshold");
    const GpStatus expected = GdipSetImageAttributesThreshold(a->Handle(), ColorAdjustTypeDefault, enable, 0.5f);
    try {
      enable ? a->SetThreshold(0.5f) : a->ClearThreshold();
      EXPECT_EQ(expected, Ok);
    } catch (const EdxGdipException& e) {
      EXPECT_EQ(e.Status(), expected);
    }
  }
  const TOwned<TdxGPImageAttributes> clone(attributes->Clone());
  EXPECT_NE(clone->Handle(), attributes->Handle());

  // A colour key makes the keyed colour transparent when an image is drawn.
  TdxGpOwnedImage source = CreateGdipBitmap(2, 1);
  GdipBitmapSetPixel(static_cast<GpBitmap*>(source.Get()), 0, 0, 0xFFFF0000);
  GdipBitmapSetPixel(static_cast<GpBitmap*>(source.Get()), 1, 0, 0xFF0000FF);
  attributes->SetColorKey(0xFFFF0000, 0xFFFF0000);
  TGpSurface surface(2, 1);
  GdipDrawImageRectRectI(surface.Graphics(), source.Get(), 0, 0, 2, 1, 0, 0, 2, 1, UnitPixel, attributes->Handle(),
                         nullptr, nullptr);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(1, 0), RGB(0, 0, 255));
}

}  // namespace
