#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/skins/SkinFixtures.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

TOwned<TdxScaleFactor> ScaleFactorOf(int ADPI) {
  TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(ADPI, 96, false);
  return factor;
}

// An element of the skin "Nine" whose image is the nine-part fixture texture:
// two 24 x 24 frames (Normal, Hot) stacked vertically, margins 6, 5, 7, 4.
struct TNineElement {
  TOwned<TdxSkin> Skin{New<TdxSkin>(nullptr, L"Nine")};
  TdxSkinElement* Element = Skin->AddGroup(L"Common")->AddElement(L"Button");

  explicit TNineElement(TdxSkinStretchMode AStretch) {
    TdxSkinImage* image = Element->Image();
    TOwned<TMemoryStream> texture = StreamOf(ReadSkinFixture(L"nine-texture.png"));
    image->Texture()->LoadFromStream(texture.get());
    image->SetImageLayout(ilVertical);
    image->SetStates({esNormal, esHot});
    image->SetMargins(TRect(6, 5, 7, 4));
    image->SetMarginsScaled(true);
    image->SetStretch(AStretch);
    image->SetInterpolationMode(imNearestNeighbor);
  }
};

struct TNineCase {
  const char* Name;
  TdxSkinStretchMode Stretch;
  int DPI;
};

class SkinNineParts : public testing::TestWithParam<TNineCase> {};

TEST_P(SkinNineParts, MatchPillowsCropResizeAndPaste) {
  const TNineCase& row = GetParam();
  TNineElement nine(row.Stretch);
  EXPECT_EQ(nine.Element->Image()->Size(), TSize(24, 24));
  EXPECT_EQ(nine.Element->Image()->GetStateBounds(0, esHot), TRect(0, 24, 24, 48));
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(row.DPI);
  const int width = MulDiv(200, row.DPI, 96);
  const int height = MulDiv(30, row.DPI, 96);
  TPixelSurface surface(width, height, RGB(255, 255, 255));
  nine.Element->Draw(surface.DC(), surface.ClientRect(), factor.get(), 0, esHot);

  const std::string reference = ReadSkinFixture(L"nine-" + UTF8ToString(row.Name) + L".rgb");
  ASSERT_EQ(reference.size(), static_cast<std::size_t>(width * height * 3));
  int differing = 0;
  std::string first;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF drawn = surface.Pixel(x, y);
      const auto* expected = reinterpret_cast<const unsigned char*>(reference.data()) + (y * width + x) * 3;
      const int diff = std::max({std::abs(GetRValue(drawn) - expected[0]), std::abs(GetGValue(drawn) - expected[1]),
                                 std::abs(GetBValue(drawn) - expected[2])});
      if (diff > 8 && differing++ == 0)
        first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + "): drawn " +
                std::to_string(GetRValue(drawn)) + " " + std::to_string(GetGValue(drawn)) + " " +
                std::to_string(GetBValue(drawn)) + ", expected " + std::to_string(expected[0]) + " " +
                std::to_string(expected[1]) + " " + std::to_string(expected[2]);
    }
  EXPECT_LE(differing, width * height / 100) << differing << " of " << width * height << " pixels differ; " << first;
}

INSTANTIATE_TEST_SUITE_P(Dpi, SkinNineParts,
                         testing::Values(TNineCase{"stretch-96", smStretch, 96},
                                         TNineCase{"stretch-144", smStretch, 144},
                                         TNineCase{"stretch-192", smStretch, 192}, TNineCase{"tile-96", smTile, 96},
                                         TNineCase{"tile-144", smTile, 144}, TNineCase{"tile-192", smTile, 192}),
                         [](const auto& info) {
                           std::string name = info.param.Name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// ---------------------------------------------------------------------------
// Vector textures

// An element whose image is the vector fixture: two 24 x 24 frames side by
// side, states Normal and Hot, the hot palette painting the style "Plate"
// red.
struct TVectorElement {
  TOwned<TdxSkin> Skin{New<TdxSkin>(nullptr, L"Vector")};
  TdxSkinElement* Element = Skin->AddGroup(L"Common")->AddElement(L"Plate");

  TVectorElement(const TRect& AMargins, TdxSkinStretchMode AStretch) {
    TdxSkinImage* image = Element->Image();
    TOwned<TMemoryStream> texture = StreamOf(ReadSkinFixture(L"vector-texture.svg"));
    image->Texture()->LoadFromStream(texture.get());
    image->SetImageCount(2);
    image->SetStates({esNormal, esHot});
    image->SetMargins(AMargins);
    image->SetMarginsScaled(true);
    image->SetStretch(AStretch);
    image->ColorPalettes()->Add(L"Hot")->Add(L"Plate", TColor(RGB(255, 0, 0)));
  }
};

// The pixels of the surface's ARect that differ by more than 32 in some
// channel from the reference of ARect's size.
int DifferingFromReference(const TPixelSurface& ASurface, const TRect& ARect, const std::string& AReference) {
  int differing = 0;
  for (int y = 0; y < ARect.Height(); ++y)
    for (int x = 0; x < ARect.Width(); ++x) {
      const COLORREF drawn = ASurface.Pixel(ARect.Left + x, ARect.Top + y);
      const auto* expected = reinterpret_cast<const unsigned char*>(AReference.data()) + (y * ARect.Width() + x) * 3;
      differing += std::max({std::abs(GetRValue(drawn) - expected[0]), std::abs(GetGValue(drawn) - expected[1]),
                             std::abs(GetBValue(drawn) - expected[2])}) > 32;
    }
  return differing;
}

TEST(SkinVectorTextures, FramesAreSharedByTheStates) {
  TVectorElement vector(TRect(), smStretch);
  TdxSkinImage* image = vector.Element->Image();
  EXPECT_TRUE(image->TextureIsVector());
  EXPECT_EQ(image->Size(), TSize(24, 24)) << "one frame per image index";
  EXPECT_EQ(image->GetStateBounds(1, esHot), TRect(24, 0, 48, 24));
  EXPECT_EQ(image->GetStateBounds(1, esNormal), TRect(24, 0, 48, 24));
  EXPECT_FALSE(image->GetPalette(esNormal, false)) << "no normal palette and no global one asked for";
  EXPECT_TRUE(image->GetPalette(esHot, false));
}

TEST(SkinVectorTextures, RasterisedInTheStatesPaletteAsLibrsvgDrawsTheRecolouredPicture) {
  struct TRow {
    const char* Name;
    TdxSkinElementState State;
    TRect Margins;
    int DPI;
    TSize Surface;
    const wchar_t* Reference;
  };
  // Whole frames at 96 DPI, and frames sliced by their margins at 192 DPI
  // (the scaled frame exactly fills the destination, so the slices rejoin).
  const TRow rows[] = {
      {"normal", esNormal, TRect(), 96, TSize(48, 48), L"vector-normal.rgb"},
      {"hot", esHot, TRect(), 96, TSize(48, 48), L"vector-hot.rgb"},
      {"a state the image lacks: normal", esPressed, TRect(), 96, TSize(48, 48), L"vector-normal.rgb"},
      {"hot, sliced at 192 DPI", esHot, TRect(6, 6, 6, 6), 192, TSize(48, 48), L"vector-hot.rgb"},
      {"normal, sliced at 192 DPI", esNormal, TRect(7, 5, 3, 6), 192, TSize(48, 48), L"vector-normal.rgb"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TVectorElement vector(row.Margins, smStretch);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(row.DPI);
    TPixelSurface surface(row.Surface.cx, row.Surface.cy, RGB(255, 255, 255));
    vector.Element->Draw(surface.DC(), surface.ClientRect(), factor.get(), 1, row.State);
    const std::string reference = ReadSkinFixture(row.Reference);
    ASSERT_EQ(reference.size(), std::size_t{48 * 48 * 3});
    EXPECT_LE(DifferingFromReference(surface, TRect(0, 0, 48, 48), reference), 48 * 48 * 2 / 100);
  }
}

TEST(SkinVectorTextures, AStretchedPictureWithoutMarginsKeepsItsProportions) {
  TVectorElement vector(TRect(), smStretch);
  TPixelSurface surface(80, 48, RGB(255, 255, 255));
  vector.Element->Draw(surface.DC(), surface.ClientRect(), ScaleFactorOf(96).get(), 1, esHot);
  // The 48 x 48 picture in the middle, white beside it.
  EXPECT_LE(DifferingFromReference(surface, TRect(16, 0, 64, 48), ReadSkinFixture(L"vector-hot.rgb")), 48 * 48 * 2 / 100);
  EXPECT_EQ(surface.CountOther(TRect(0, 0, 16, 48), RGB(255, 255, 255)), 0);
  EXPECT_EQ(surface.CountOther(TRect(64, 0, 80, 48), RGB(255, 255, 255)), 0);
}

TEST(SkinVectorTextures, TheGlobalPaletteRecoloursTheNormalStateOfASkinsImage) {
  TVectorElement vector(TRect(), smStretch);
  TdxSkinColorPalette* palette = vector.Skin->ColorPalettes()->Add(L"Default");
  palette->Add(L"Plate", TColor(RGB(255, 0, 0)));
  vector.Skin->SetActiveColorPaletteName(L"Default");
  TPixelSurface surface(48, 48, RGB(255, 255, 255));
  vector.Element->Draw(surface.DC(), surface.ClientRect(), ScaleFactorOf(96).get(), 1, esNormal);
  EXPECT_LE(DifferingFromReference(surface, TRect(0, 0, 48, 48), ReadSkinFixture(L"vector-hot.rgb")), 48 * 48 * 2 / 100);
}

TEST(SkinImageGeometry, MarginsWiderThanTheDestinationShrinkByTheirShares) {
  const struct {
    const char* Name;
    TRect Margins;
    TSize Size;
    TRect Expected;
  } rows[] = {
      {"8 and 4 into 10", TRect(8, 0, 4, 0), TSize(10, 30), TRect(7, 0, 3, 0)},
      {"fits: unchanged", TRect(8, 2, 4, 3), TSize(12, 5), TRect(8, 2, 4, 3)},
      {"vertical too", TRect(0, 6, 0, 6), TSize(5, 6), TRect(0, 3, 0, 3)},
      {"negative margins become 0", TRect(-3, 1, 2, -1), TSize(10, 10), TRect(0, 1, 2, 0)},
      {"empty destination", TRect(4, 4, 4, 4), TSize(0, 0), TRect(0, 0, 0, 0)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(dxSkinFitMargins(row.Margins, row.Size), row.Expected);
  }
  const auto parts = dxSkinImageParts(TRect(10, 20, 40, 50), TRect(6, 5, 7, 4));
  EXPECT_EQ(parts[0], TRect(10, 20, 16, 25));
  EXPECT_EQ(parts[4], TRect(16, 25, 33, 46));
  EXPECT_EQ(parts[8], TRect(33, 46, 40, 50));
  int area = 0;
  for (const TRect& part : parts) area += part.Width() * part.Height();
  EXPECT_EQ(area, 30 * 30) << "the parts cover the frame once";
}

TEST(SkinImageGeometry, AnIndexOrStateTheImageLacksDrawsTheNearestOneItHas) {
  TNineElement nine(smStretch);
  TdxSkinImage* image = nine.Element->Image();
  image->SetMargins(TRect());
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(96);
  TPixelSurface pressed(24, 24), normal(24, 24);
  nine.Element->Draw(pressed.DC(), pressed.ClientRect(), factor.get(), 5, esPressed);
  nine.Element->Draw(normal.DC(), normal.ClientRect(), factor.get(), 0, esNormal);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(pressed.Pixel(x, y), normal.Pixel(x, y)) << x << "," << y;
}

TEST(SkinImageDrawing, NoResizeCentresTheScaledFrame) {
  TNineElement nine(smNoResize);
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(144);
  TPixelSurface surface(101, 60, RGB(255, 255, 255));
  nine.Element->Draw(surface.DC(), surface.ClientRect(), factor.get(), 0, esNormal);
  // 36 x 36 centred at (32, 12), offsets halved rounding down; GDI+ under
  // Wine may leave the first row and column of an enlarged image uncovered.
  const TRect drawn = surface.BoundsOfOther(RGB(255, 255, 255));
  EXPECT_EQ(drawn.BottomRight(), TPoint(68, 48));
  EXPECT_NEAR(drawn.Left, 32, 1);
  EXPECT_NEAR(drawn.Top, 12, 1);
}

TEST(SkinImageDrawing, TilingFromAnEmptySourcePartDrawsNothingThere) {
  TNineElement nine(smTile);
  // Left and right margins take the whole frame: the centre column is empty.
  nine.Element->Image()->SetMargins(TRect(12, 0, 12, 0));
  nine.Element->Image()->SetMarginsScaled(false);
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(96);
  TPixelSurface surface(100, 24, RGB(255, 255, 255));
  nine.Element->Draw(surface.DC(), surface.ClientRect(), factor.get(), 0, esNormal);
  EXPECT_EQ(surface.CountOther(TRect(12, 0, 88, 24), RGB(255, 255, 255)), 0);
  EXPECT_EQ(surface.Count(TRect(0, 0, 12, 24), RGB(255, 255, 255)), 0);
}

TEST(SkinElementDrawing, ColourBordersAndGradientCentre) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Plain"));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Panel");
  element->SetColor(TColor(0x00204080));
  element->Borders()->Left()->SetColor(TColor(0x000000FF));
  element->Borders()->Left()->SetThin(2);
  element->Borders()->Bottom()->SetColor(TColor(0x00FF0000));
  element->SetScaleBorders(true);
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(192);
  TPixelSurface surface(40, 20, RGB(255, 255, 255));
  element->Draw(surface.DC(), surface.ClientRect(), factor.get(), 0, esNormal);
  EXPECT_EQ(surface.Count(TRect(0, 0, 4, 18), RGB(0xFF, 0, 0)), 4 * 18) << "left, 2 scaled to 4";
  EXPECT_EQ(surface.Count(TRect(4, 18, 40, 20), RGB(0, 0, 0xFF)), 36 * 2) << "bottom, 1 scaled to 2";
  EXPECT_EQ(surface.Count(TRect(4, 0, 40, 18), RGB(0x80, 0x40, 0x20)), 36 * 18) << "the element colour";
  EXPECT_EQ(surface.Count(TRect(0, 18, 4, 20), RGB(0, 0, 0xFF)), 4 * 2) << "bottom drawn after left";
}

// ---------------------------------------------------------------------------
// Alternate image attributes

// The process-wide image set for the length of a scope.
class TImageSetScope {
 public:
  explicit TImageSetScope(TdxSkinImageSet AValue) : FSaved(dxSkinImageSet()) { dxSetSkinImageSet(AValue); }
  ~TImageSetScope() { dxSetSkinImageSet(FSaved); }
  TImageSetScope(const TImageSetScope&) = delete;
  TImageSetScope& operator=(const TImageSetScope&) = delete;

 private:
  TdxSkinImageSet FSaved;
};

// An element of states Normal and Hot whose hot attributes of image 1 fill
// red inside offsets of 2 with a blue left border and a green inner top
// border.
struct TAlternateElement {
  TOwned<TdxSkin> Skin{New<TdxSkin>(nullptr, L"Alternate")};
  TdxSkinElement* Element = Skin->AddGroup(L"Common")->AddElement(L"Button");
  TdxSkinAlternateImageAttributes* Hot;

  explicit TAlternateElement(bool AWithTexture = false) {
    TdxSkinImage* image = Element->Image();
    image->SetStates({esNormal, esHot});
    image->SetImageCount(2);
    if (AWithTexture) {
      TOwned<TMemoryStream> texture = StreamOf(ReadSkinFixture(L"nine-texture.png"));
      image->Texture()->LoadFromStream(texture.get());
      image->SetImageLayout(ilVertical);
      image->SetImageCount(1);
    }
    Hot = Element->AddAlternateImageAttributes(esHot, AWithTexture ? 0 : 1);
    Hot->SetGradientBeginColor(TColor(RGB(255, 0, 0)));
    Hot->SetContentOffsets(TRect(2, 2, 2, 2));
    Hot->Borders()->Left()->SetColor(TColor(RGB(0, 0, 255)));
    Hot->Borders()->Left()->SetThin(1);
    Hot->BordersInner()->Top()->SetColor(TColor(RGB(0, 255, 0)));
    Hot->BordersInner()->Top()->SetThin(1);
  }
};

// The hot attributes drawn into (0, 0, 20, 20) over white.
TPixelSurface AlternateReference() {
  TPixelSurface reference(20, 20, RGB(255, 255, 255));
  const auto fill = [&](const TRect& R, COLORREF AColor) {
    const TOwnedBrush brush(CreateSolidBrush(AColor));
    const RECT r = R;
    FillRect(reference.DC(), &r, brush.Get());
  };
  fill(TRect(2, 2, 18, 18), RGB(255, 0, 0));
  fill(TRect(2, 2, 3, 18), RGB(0, 0, 255));
  fill(TRect(3, 2, 18, 3), RGB(0, 255, 0));
  return reference;
}

int DifferingPixels(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

TEST(SkinAlternateImages, AnElementWithoutImageDrawsItsAttributesForTheNormalisedStateAndIndex) {
  TAlternateElement alternate;
  struct TRow {
    const char* Name;
    int ImageIndex;
    TdxSkinElementState State;
    bool Drawn;
  };
  const TRow rows[] = {{"hot, image 1", 1, esHot, true},
                       {"an index past the last: the last", 7, esHot, true},
                       {"normal: none there", 1, esNormal, false},
                       {"a state the image lacks: normal", 1, esPressed, false},
                       {"image 0: none there", 0, esHot, false}};
  const TPixelSurface reference = AlternateReference();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TPixelSurface surface(20, 20, RGB(255, 255, 255));
    alternate.Element->Draw(surface.DC(), surface.ClientRect(), nullptr, row.ImageIndex, row.State);
    if (row.Drawn)
      EXPECT_EQ(DifferingPixels(surface, reference), 0) << surface.Picture(RGB(255, 255, 255));
    else
      EXPECT_EQ(surface.CountOther(surface.ClientRect(), RGB(255, 255, 255)), 0);
  }
  // Attributes added after a lookup are found: the structure changed.
  alternate.Element->AddAlternateImageAttributes(esNormal, 1)->SetGradientBeginColor(TColor(RGB(0, 0, 0)));
  TPixelSurface surface(20, 20, RGB(255, 255, 255));
  alternate.Element->Draw(surface.DC(), surface.ClientRect(), nullptr, 1, esNormal);
  EXPECT_EQ(surface.Count(RGB(0, 0, 0)), 20 * 20);
}

TEST(SkinAlternateImages, AlphaAndScaledBorders) {
  TAlternateElement alternate;
  alternate.Hot->SetAlpha(128);
  alternate.Hot->SetContentOffsets(TRect());
  alternate.Element->SetScaleBorders(true);
  TPixelSurface surface(20, 20, RGB(255, 255, 255));
  alternate.Element->Draw(surface.DC(), surface.ClientRect(), ScaleFactorOf(192).get(), 1, esHot);
  // Red at half alpha over white; the left border scaled to two pixels.
  // The inner borders sit inside the outer ones' unscaled widths, so the
  // inner top border, two pixels high, starts one pixel in, over the left
  // border's second column.
  const COLORREF half = surface.Pixel(10, 10);
  EXPECT_EQ(GetRValue(half), 255);
  EXPECT_NEAR(GetGValue(half), 127, 1);
  EXPECT_EQ(surface.Count(TRect(0, 0, 1, 20), RGB(0, 0, 255)), 20);
  EXPECT_EQ(surface.Count(TRect(1, 2, 2, 20), RGB(0, 0, 255)), 18);
  EXPECT_EQ(surface.Count(TRect(1, 0, 20, 2), RGB(0, 255, 0)), 38);
}

TEST(SkinAlternateImages, TheImageSetChoosesBetweenImageAndAttributes) {
  TAlternateElement alternate(true);
  const TPixelSurface reference = AlternateReference();
  struct TRow {
    TdxSkinImageSet Set;
    bool Alternate;
  };
  const TRow rows[] = {{imsDefault, false}, {imsOriginal, false}, {imsAlternate, true}};
  for (const bool cached : {false, true}) {
    alternate.Element->SetUseCache(cached);
    ASSERT_EQ(alternate.Element->Cache() != nullptr, cached);
    for (const TRow& row : rows) {
      SCOPED_TRACE(std::to_string(row.Set) + (cached ? ", cached" : ""));
      const TImageSetScope set(row.Set);
      TPixelSurface surface(20, 20, RGB(255, 255, 255));
      alternate.Element->Draw(surface.DC(), surface.ClientRect(), nullptr, 0, esHot);
      if (row.Alternate)
        EXPECT_EQ(DifferingPixels(surface, reference), 0) << surface.Picture(RGB(255, 255, 255));
      else
        EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 0) << "the texture, which has no pure red";
    }
  }
}

// ---------------------------------------------------------------------------
// Canvas and clip forms

TEST(SkinCanvasForms, ACanvasDrawsAsTheDeviceContextDoes) {
  TNineElement nine(smTile);
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(144);
  const TRect r(3, 2, 63, 30);
  struct TRow {
    const char* Name;
    bool Mirrored;
  };
  for (const TRow row : {TRow{"plain", false}, TRow{"right to left", true}}) {
    SCOPED_TRACE(row.Name);
    TPixelSurface direct(66, 32, RGB(255, 255, 255));
    nine.Element->RightToLeftDependentDraw(direct.DC(), r, factor.get(), row.Mirrored, 0, esHot);
    TCanvasOnSurface canvas(66, 32, RGB(255, 255, 255));
    nine.Element->RightToLeftDependentDraw(static_cast<TcxCustomCanvas*>(canvas.Get()), r, factor.get(), row.Mirrored,
                                           0, esHot);
    EXPECT_EQ(DifferingPixels(canvas.Surface, direct), 0);
    // The image alone, too.
    TPixelSurface image(66, 32, RGB(255, 255, 255));
    nine.Element->Image()->RightToLeftDependentDraw(image.DC(), r, factor.get(), row.Mirrored, 0, esHot);
    TCanvasOnSurface imageCanvas(66, 32, RGB(255, 255, 255));
    nine.Element->Image()->RightToLeftDependentDraw(static_cast<TcxCustomCanvas*>(imageCanvas.Get()), r, factor.get(),
                                                    row.Mirrored, 0, esHot);
    EXPECT_EQ(DifferingPixels(imageCanvas.Surface, image), 0);
    EXPECT_GT(image.CountOther(r, RGB(255, 255, 255)), r.Width() * r.Height() / 2) << "something drawn";
  }
}

TEST(SkinCanvasForms, TheClipFormsDrawOnlyInsideTheClipAndLeaveItAsItWas) {
  TNineElement nine(smTile);
  const TRect r(0, 0, 60, 30);
  const TRect clip(10, 5, 80, 20);
  const TRect inside(10, 5, 60, 20);
  TPixelSurface whole(60, 30, RGB(255, 255, 255));
  nine.Element->Draw(whole.DC(), r, nullptr, 0, esHot);
  const auto check = [&](const TPixelSurface& ASurface) {
    int differing = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 60; ++x) {
        if (inside.Contains(x, y))
          differing += ASurface.Pixel(x, y) != whole.Pixel(x, y);
        else
          outside += ASurface.Pixel(x, y) != RGB(255, 255, 255);
      }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(outside, 0);
  };
  {
    SCOPED_TRACE("device context");
    TPixelSurface surface(60, 30, RGB(255, 255, 255));
    nine.Element->Draw(surface.DC(), r, clip, nullptr, 0, esHot);
    check(surface);
    RECT box{};
    EXPECT_EQ(GetClipBox(surface.DC(), &box), SIMPLEREGION) << "no clip region left behind";
    EXPECT_EQ(TRect(box), TRect(0, 0, 60, 30));
    nine.Element->Draw(surface.DC(), r, TRect(70, 0, 90, 30), nullptr, 0, esNormal);
    check(surface);
  }
  {
    SCOPED_TRACE("canvas");
    TCanvasOnSurface canvas(60, 30, RGB(255, 255, 255));
    nine.Element->Draw(static_cast<TcxCustomCanvas*>(canvas.Get()), r, clip, nullptr, 0, esHot);
    check(canvas.Surface);
    canvas->FillRect(canvas.Surface.ClientRect(), clYellow);
    EXPECT_EQ(canvas.Surface.Count(RGB(255, 255, 0)), 60 * 30) << "the clip region comes back";
  }
}

// ---------------------------------------------------------------------------
// Sizes and pictures

TEST(SkinElementSizes, TheMinimumSizeGrowsToFramesThatDoNotResize) {
  TNineElement nine(smNoResize);
  nine.Element->SetMinSize(TSize(5, 40));
  EXPECT_EQ(nine.Element->CalculateMinSize(), TSize(24, 40));
  nine.Element->Image()->SetStretch(smStretch);
  EXPECT_EQ(nine.Element->CalculateMinSize(), TSize(5, 40)) << "a stretched image does not count";
}

TEST(SkinElementSizes, GetImageDrawsTheElementAtTheMinimumSizeWhenNoneIsGiven) {
  TNineElement nine(smTile);
  nine.Element->SetMinSize(TSize(30, 20));
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(192);
  const TOwned<TdxSmartImage> picture = nine.Element->GetImage(0, TSize(0, 7), twice.get(), esHot);
  EXPECT_EQ(picture->Size(), TSize(60, 40));
  TPixelSurface direct(60, 40, RGB(255, 255, 255));
  nine.Element->Draw(direct.DC(), direct.ClientRect(), twice.get(), 0, esHot);
  TPixelSurface fromImage(60, 40, RGB(255, 255, 255));
  picture->StretchDraw(fromImage.DC(), fromImage.ClientRect());
  EXPECT_EQ(DifferingPixels(fromImage, direct), 0);
}

TEST(SkinElementCache, StaysOffForAVectorImageWithoutMargins) {
  TVectorElement vector(TRect(), smStretch);
  vector.Element->SetUseCache(true);
  EXPECT_FALSE(vector.Element->UseCache());
  vector.Element->Image()->SetMargins(TRect(2, 2, 2, 2));
  vector.Element->SetUseCache(true);
  EXPECT_TRUE(vector.Element->UseCache());
}

}  // namespace

namespace {

// Counts the renders the cache asks for.
class TCountingElement : public TdxSkinElement {
  SK_CLASS(TCountingElement, TdxSkinElement)
 public:
  void DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
              TdxSkinElementState AState) override {
    ++Renders;
    inherited::DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
  }
  int Renders = 0;
};

int CountDifferentPixels(const TPixelSurface& A, const TPixelSurface& B) {
  int count = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) count += A.Pixel(x, y) != B.Pixel(x, y);
  return count;
}

struct TCachedElement {
  TOwned<TCountingElement> Element{New<TCountingElement>(nullptr, L"Button")};
  TOwned<TdxScaleFactor> Factor = ScaleFactorOf(96);

  explicit TCachedElement(int ACapacity) {
    TdxSkinImage* image = Element->Image();
    TOwned<TMemoryStream> texture = StreamOf(ReadSkinFixture(L"nine-texture.png"));
    image->Texture()->LoadFromStream(texture.get());
    image->SetImageLayout(ilVertical);
    image->SetStates({esNormal, esHot});
    image->SetMargins(TRect(6, 5, 7, 4));
    image->SetInterpolationMode(imNearestNeighbor);
    Element->SetCacheCapacity(ACapacity);
    Element->SetUseCache(true);
  }
  void Draw(HDC DC, const TRect& R, TdxSkinElementState AState) { Element->Draw(DC, R, Factor.get(), 0, AState); }
};

// ---------------------------------------------------------------------------
// Frames on a bitmap and state mapping

// The nine-part fixture's pixel (x, y) of a frame: red 7x, green 7y, blue
// 40 in the normal frame and 200 in the hot one.
COLORREF NineFramePixel(int X, int Y, bool AHot) { return RGB(X * 7, Y * 7, AHot ? 200 : 40); }

// How many pixels of ABitmap are not what AExpected(x, y) gives.
template <class TExpected>
int Mismatches(TBitmap* ABitmap, TExpected&& AExpected) {
  int count = 0;
  for (int y = 0; y < ABitmap->Height(); ++y)
    for (int x = 0; x < ABitmap->Width(); ++x)
      count += GetPixel(ABitmap->Canvas()->Handle(), x, y) != AExpected(x, y);
  return count;
}

TEST(SkinImageFrames, GetBitmapIsOneFrameOverTheBackground) {
  TNineElement nine(smStretch);
  TdxSkinImage* image = nine.Element->Image();
  const TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  image->GetBitmap(0, esHot, bitmap.get(), clRed);
  ASSERT_EQ(TSize(bitmap->Width(), bitmap->Height()), TSize(24, 24));
  EXPECT_EQ(Mismatches(bitmap.get(), [](int x, int y) { return NineFramePixel(x, y, true); }), 0);
  image->GetBitmap(0, esNormal, bitmap.get(), clRed);
  EXPECT_EQ(Mismatches(bitmap.get(), [](int x, int y) { return NineFramePixel(x, y, false); }), 0);
}

// Mapping [Hot, Normal, Pressed]: the strip's first frame is the hot
// picture and serves the normal state, the second the normal picture for
// the hot state; the pressed frame, which the image lacked, is clear.
TEST(SkinImageFrames, StateMappingReordersTheFramesIntoANewStrip) {
  TNineElement nine(smStretch);
  TdxSkinImage* image = nine.Element->Image();
  const TdxSkinElementState order[] = {esHot, esNormal, esPressed, esHot};
  image->SetStateMapping(order);
  EXPECT_EQ(image->States(), (TdxSkinElementStates{esNormal, esHot, esPressed}));
  EXPECT_EQ(image->Texture()->Size(), TSize(24, 72));
  EXPECT_EQ(image->Size(), TSize(24, 24));
  const TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  image->GetBitmap(0, esNormal, bitmap.get(), clRed);
  EXPECT_EQ(Mismatches(bitmap.get(), [](int x, int y) { return NineFramePixel(x, y, true); }), 0);
  image->GetBitmap(0, esHot, bitmap.get(), clRed);
  EXPECT_EQ(Mismatches(bitmap.get(), [](int x, int y) { return NineFramePixel(x, y, false); }), 0);
  image->GetBitmap(0, esPressed, bitmap.get(), clLime);
  EXPECT_EQ(Mismatches(bitmap.get(), [](int, int) { return RGB(0, 255, 0); }), 0);
}

// An image of two pictures for one state: the strip keeps the first
// picture's frames and the image count drops to one, so that the frames
// keep their size.
TEST(SkinImageFrames, StateMappingKeepsOneImagesFrames) {
  TNineElement nine(smStretch);
  TdxSkinImage* image = nine.Element->Image();
  image->SetStates({esNormal});
  image->SetImageCount(2);
  const TdxSkinElementState order[] = {esNormal, esHot};
  image->SetStateMapping(order);
  EXPECT_EQ(image->ImageCount(), 1);
  EXPECT_EQ(image->Size(), TSize(24, 24));
  const TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  image->GetBitmap(0, esNormal, bitmap.get(), clRed);
  EXPECT_EQ(Mismatches(bitmap.get(), [](int x, int y) { return NineFramePixel(x, y, false); }), 0);
}

}  // namespace

TEST(SkinElementCache, ASecondDrawIsServedByTheCacheAndLooksTheSame) {
  TCachedElement cached(8);
  ASSERT_NE(cached.Element->Cache(), nullptr);
  TPixelSurface direct(60, 30), first(60, 30), second(60, 30);
  const TRect r(0, 0, 60, 30);
  cached.Element->SetUseCache(false);
  cached.Draw(direct.DC(), r, esHot);
  cached.Element->SetUseCache(true);
  cached.Element->Renders = 0;
  cached.Draw(first.DC(), r, esHot);
  cached.Draw(second.DC(), r, esHot);
  EXPECT_EQ(cached.Element->Renders, 1);
  EXPECT_EQ(CountDifferentPixels(first, direct), 0);
  EXPECT_EQ(CountDifferentPixels(second, direct), 0);
  // A change of the element empties the cache: the next draw renders anew.
  cached.Element->SetAlpha(200);
  cached.Draw(second.DC(), r, esHot);
  EXPECT_EQ(cached.Element->Renders, 2);
}

TEST(SkinElementCache, AFullCacheReusesItsOldestEntry) {
  TCachedElement cached(2);
  TPixelSurface dib(80, 80);
  // Three sizes through a cache of two: the first size's entry is reused.
  cached.Draw(dib.DC(), TRect(0, 0, 40, 20), esNormal);
  cached.Draw(dib.DC(), TRect(0, 0, 50, 20), esNormal);
  cached.Draw(dib.DC(), TRect(0, 0, 60, 20), esNormal);
  TdxSkinElementCacheList* cache = cached.Element->Cache();
  ASSERT_EQ(cache->Count(), 2);
  EXPECT_EQ(cache->Items(0)->Size(), TSize(50, 20));
  EXPECT_EQ(cache->Items(1)->Size(), TSize(60, 20));
  EXPECT_EQ(cached.Element->Renders, 3);
  // The same size in another state takes that size's entry, rendering again.
  cached.Draw(dib.DC(), TRect(0, 0, 50, 20), esHot);
  EXPECT_EQ(cache->Count(), 2);
  EXPECT_EQ(cache->Items(0)->State(), esHot);
  EXPECT_EQ(cached.Element->Renders, 4);
  cached.Element->SetCacheCapacity(1);
  ASSERT_EQ(cache->Count(), 1);
  EXPECT_EQ(cache->Items(0)->Size(), TSize(60, 20));
}

TEST(SkinElementCache, StaysOffForAnElementWithoutImage) {
  TOwned<TdxSkinElement> element(New<TdxSkinElement>(nullptr, L"Plain"));
  element->SetUseCache(true);
  EXPECT_FALSE(element->UseCache());
  EXPECT_EQ(element->Cache(), nullptr);
}

// FIXME: Wine's GDI+ draws an image under a horizontally flipped transform
// one pixel right of where the flip puts it (fills land where they should):
// every mirrored image column differs from the flipped plain drawing.
constexpr const char* WineFlippedImage = "Wine's GDI+ draws images under a flip one pixel off";

void DrawPlainAndMirrored(TdxSkinElement* AElement, const TRect& R, TPixelSurface& APlain, TPixelSurface& AMirrored) {
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(96);
  AElement->RightToLeftDependentDraw(APlain.DC(), R, factor.get(), false, 0, esHot);
  AElement->RightToLeftDependentDraw(AMirrored.DC(), R, factor.get(), true, 0, esHot);
}

// The mirror is about the rectangle's own centre line, also away from the origin.
TEST(SkinElementDrawing, RightToLeftPutsTheLeftBorderOnTheRight) {
  TNineElement nine(smTile);
  nine.Element->Borders()->Left()->SetColor(static_cast<TColor>(RGB(200, 0, 0)));
  nine.Element->Borders()->Left()->SetThin(3);
  const TRect r(10, 4, 90, 34);
  TPixelSurface plain(100, 40), mirrored(100, 40);
  DrawPlainAndMirrored(nine.Element, r, plain, mirrored);
  EXPECT_EQ(plain.BoundsOf(RGB(200, 0, 0)), TRect(10, 4, 13, 34));
  EXPECT_EQ(mirrored.BoundsOf(RGB(200, 0, 0)), TRect(87, 4, 90, 34));
  EXPECT_EQ(mirrored.CountOther(TRect(0, 0, 10, 40), RGB(255, 255, 255)), 0);
  EXPECT_EQ(mirrored.CountOther(TRect(90, 0, 100, 40), RGB(255, 255, 255)), 0);
}

// Mirrored drawing is the plain drawing flipped, cached or not.
TEST(SkinElementDrawing, RightToLeftIsThePlainDrawingFlipped) {
  GTEST_SKIP() << WineFlippedImage;
  for (const bool useCache : {false, true}) {
    SCOPED_TRACE(useCache ? "cached" : "direct");
    TNineElement nine(smTile);
    nine.Element->SetUseCache(useCache);
    const TRect r(10, 4, 90, 34);
    TPixelSurface plain(100, 40), mirrored(100, 40);
    DrawPlainAndMirrored(nine.Element, r, plain, mirrored);
    int differing = 0;
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = r.Left; x < r.Right; ++x) differing += plain.Pixel(x, y) != mirrored.Pixel(r.Left + r.Right - 1 - x, y);
    EXPECT_EQ(differing, 0);
  }
}

namespace {

// Two 12 x 12 frames side by side (Normal, Hot), every pixel opaque unless
// AHotHole: then a 4 x 4 block in the hot frame's middle is fully clear.
void LoadTwoFrameTexture(TdxSkinImage* AImage, bool AHotHole) {
  TRGBColors bits(24 * 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 24; ++x) {
      const bool hole = AHotHole && x >= 16 && x < 20 && y >= 4 && y < 8;
      const std::uint8_t alpha = hole ? 0 : 255;
      bits[static_cast<std::size_t>(y * 24 + x)] = RGBQUAD{static_cast<BYTE>(hole ? 0 : 100),
                                                          static_cast<BYTE>(hole ? 0 : y * 20),
                                                          static_cast<BYTE>(hole ? 0 : x * 10), alpha};
    }
  AImage->Texture()->LoadFromBits(24, 12, bits, afPremultiplied);
  AImage->SetStates({esNormal, esHot});
  AImage->SetMargins(TRect(3, 3, 3, 3));
  AImage->SetInterpolationMode(imNearestNeighbor);
}

struct TOpaqueCase {
  const char* Name;
  std::function<void(TdxSkinElement*)> Setup;
  TdxSkinElementState State;
  bool Opaque;
  TdxSkinImageSet ImageSet = imsDefault;
};

void WithHotHole(TdxSkinElement* AElement) { LoadTwoFrameTexture(AElement->Image(), true); }

void WithAlternate(TdxSkinElement* AElement, std::uint8_t AAlpha, const TRect& AOffsets) {
  LoadTwoFrameTexture(AElement->Image(), true);
  TdxSkinAlternateImageAttributes* hot = AElement->AddAlternateImageAttributes(esHot, 0);
  hot->SetGradientBeginColor(TColor(RGB(255, 0, 0)));
  hot->SetGradientEndColor(TColor(RGB(0, 0, 255)));
  hot->SetAlpha(AAlpha);
  hot->SetContentOffsets(AOffsets);
}

const TOpaqueCase OpaqueCases[] = {
    {"an opaque frame", [](TdxSkinElement* E) { LoadTwoFrameTexture(E->Image(), false); }, esHot, true},
    {"a frame with clear pixels", WithHotHole, esHot, false},
    {"the opaque frame of that texture", WithHotHole, esNormal, true},
    {"clear pixels over an opaque colour",
     [](TdxSkinElement* E) {
       WithHotHole(E);
       E->SetColor(TColor(RGB(0, 160, 0)));
     },
     esHot, true},
    {"clear pixels over a half-transparent colour",
     [](TdxSkinElement* E) {
       WithHotHole(E);
       E->SetColor(TColor(RGB(0, 160, 0)));
       E->SetAlpha(128);
     },
     esHot, false},
    {"an opaque frame centred without resizing",
     [](TdxSkinElement* E) {
       LoadTwoFrameTexture(E->Image(), false);
       E->Image()->SetStretch(smNoResize);
     },
     esHot, false},
    {"opaque alternate attributes over clear pixels",
     [](TdxSkinElement* E) { WithAlternate(E, 255, TRect()); }, esHot, true, imsAlternate},
    {"alternate attributes at half alpha", [](TdxSkinElement* E) { WithAlternate(E, 128, TRect()); }, esHot,
     false, imsAlternate},
    {"alternate attributes inside offsets", [](TdxSkinElement* E) { WithAlternate(E, 255, TRect(2, 2, 2, 2)); },
     esHot, false, imsAlternate},
    {"alternate attributes without a colour",
     [](TdxSkinElement* E) {
       WithAlternate(E, 255, TRect());
       E->GetAlternateImageAttributes(0, esHot)->SetGradientBeginColor(clNone);
     },
     esHot, false, imsAlternate},
    {"a vector texture with margins",
     [](TdxSkinElement* E) {
       TOwned<TMemoryStream> texture = StreamOf(ReadSkinFixture(L"vector-texture.svg"));
       E->Image()->Texture()->LoadFromStream(texture.get());
       E->Image()->SetStates({esNormal, esHot});
       E->Image()->SetMargins(TRect(2, 2, 2, 2));
     },
     esHot, false},
};

// The cache keeps an element that covers its rectangle without alpha and
// copies it; a wrong guess shows as the cache's own black (or stale) pixels
// where the direct drawing lets the background through, so each element is
// drawn over two backgrounds, and away from the origin, where the cached
// picture (rendered at its own origin) is copied to.
TEST(SkinElementCache, KeepsAnElementThatCoversItsRectangleOpaqueAndDrawsAsTheDirectDrawing) {
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(96);
  for (const TOpaqueCase& row : OpaqueCases) {
    SCOPED_TRACE(row.Name);
    const TImageSetScope set(row.ImageSet);
    TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Opaque"));
    TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
    row.Setup(element);
    for (const TPoint offset : {TPoint(0, 0), TPoint(5, 3), TPoint(-2, 7)})
      for (const COLORREF background : {RGB(255, 255, 255), RGB(20, 120, 230)}) {
        SCOPED_TRACE(testing::Message() << "at (" << offset.X << ", " << offset.Y << ") over " << std::hex
                                        << background);
        TRect r(0, 0, 40, 24);
        r.Offset(offset);
        TPixelSurface direct(50, 34, background), cached(50, 34, background), again(50, 34, background);
        element->SetUseCache(false);
        element->Draw(direct.DC(), r, factor.get(), 0, row.State);
        element->SetUseCache(true);
        ASSERT_NE(element->Cache(), nullptr);
        element->Draw(cached.DC(), r, factor.get(), 0, row.State);
        element->Draw(again.DC(), r, factor.get(), 0, row.State);
        ASSERT_EQ(element->Cache()->Count(), 1);
        EXPECT_EQ(element->Cache()->Items(0)->Opaque(), row.Opaque);
        if (row.Opaque) {
          EXPECT_EQ(CountDifferentPixels(cached, direct), 0);
        } else {
          // A partly transparent pixel is stored premultiplied and blended
          // again: one more rounding.
          EXPECT_LE(MaxChannelDifference(cached, direct), 1);
        }
        EXPECT_EQ(CountDifferentPixels(again, cached), 0);
      }
  }
}

}  // namespace
