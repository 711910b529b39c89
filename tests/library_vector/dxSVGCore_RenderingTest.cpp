// Drawing element trees: shapes, fills and strokes, opacity, gradients,
// patterns, clipping, use elements and text, read back in pixels. The
// canvas does not antialias, so edges are exact.
#include "library/vector/dxSVGCore.h"
#include "tests/library_vector/SVGTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

// The tree drawn on a surface of its view box's size (or the size given).
struct TDrawn {
  TOwned<TdxSVGElementRoot> Root;
  std::unique_ptr<TSVGSurface> Surface;
};

TDrawn Draw(const std::string& AText, int AWidth, int AHeight, IdxColorPalette* APalette = nullptr) {
  TDrawn result{ImportSVG(AText), std::make_unique<TSVGSurface>(AWidth, AHeight)};
  EXPECT_TRUE(result.Root) << AText;
  if (result.Root) result.Surface->Draw(result.Root.get(), APalette);
  return result;
}

// ---------------------------------------------------------------------------
// Shapes and placement

TEST(SVGRendering, ShapesCoverTheirOwnPixels) {
  const struct {
    const char* Name;
    const char* Shape;
    TRect Ink;
    int Count;
  } cases[] = {
      {"rect", R"svg(<rect x="5" y="5" width="10" height="10" fill="red"/>)svg", TRect(5, 5, 15, 15), 100},
      {"polygon", R"svg(<polygon points="2,2 12,2 12,12 2,12" fill="red"/>)svg", TRect(2, 2, 12, 12), 100},
      {"filled polyline", R"svg(<polyline points="2,2 12,2 12,12 2,12" fill="red"/>)svg", TRect(2, 2, 12, 12), 100},
      {"path", R"svg(<path d="M2 2h10v10h-10z" fill="red"/>)svg", TRect(2, 2, 12, 12), 100},
      {"zero size", R"svg(<rect width="0" height="10" fill="red"/><circle r="0" fill="red"/>)svg", TRect(), 0},
      {"negative size", R"svg(<rect width="-5" height="10" fill="red"/><ellipse rx="-3" ry="2" fill="red"/>)svg", TRect(), 0},
      {"one point", R"svg(<polygon points="2,2" fill="red"/><polyline points="3,3" stroke="red"/>)svg", TRect(), 0},
      {"no fill", R"svg(<rect width="10" height="10" fill="none"/>)svg", TRect(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TDrawn drawn = Draw(std::string(R"svg(<svg viewBox="0 0 20 20">)svg") + c.Shape + "</svg>", 20, 20);
    EXPECT_EQ(drawn.Surface->InkBounds(), c.Ink) << drawn.Surface->Picture();
    EXPECT_EQ(drawn.Surface->Count(Red), c.Count);
  }
}

TEST(SVGRendering, ShapesFarOffTheSurfaceAreLeftOut) {
  // GDI+ on Wine does not come back from flattening this curve (at about
  // 15000 pixels down) for the stroke; nothing of it would show anyway.
  const TDrawn drawn = Draw(R"svg(<svg width="16" height="16"><g transform="scale(48)">
    <path d="m 112.39765,316.91754 0.4349,0 c 1.20095,0 2.17451,1.13618 2.17451,2.53772" fill="none" stroke="red"
      stroke-width="1.88"/><rect x="0.125" y="0.125" width="0.125" height="0.125" fill="red"/></g></svg>)svg", 16, 16);
  EXPECT_EQ(drawn.Surface->InkBounds(), TRect(6, 6, 12, 12));
}

TEST(SVGRendering, CurvesReachingFarAcrossTheDeviceAreDrawn) {
  // Curves tens of thousands of pixels long, partly on the surface, where
  // halving them in single precision never ends. Each covers what a shape
  // of the same look there, within a few thousand pixels, covers.
  const struct {
    const char* Name;
    const char* Far;
    const char* Near;
  } cases[] = {
      {"circle's top edge", R"svg(<circle cx="8" cy="40008.25" r="40000" fill="none" stroke="red" stroke-width="4"/>)svg",
       R"svg(<circle cx="8" cy="4008.25" r="4000" fill="none" stroke="red" stroke-width="4"/>)svg"},
      {"sheared arcs", R"svg(<path transform="matrix(0.6 0 0.6 200 3 -39990)" fill="red" stroke="red" stroke-width="20"
          d="M -200 -100 a 100 100 0 0 1 100 -100 h 200 a 100 100 0 0 1 100 100 v 200 a 100 100 0 0 1 -100 100 h -200
             a 100 100 0 0 1 -100 -100 z"/>)svg",
       R"svg(<rect width="16" height="16" fill="red"/>)svg"},
  };
  const auto drawn = [](const char* AShape) {
    return Draw(std::string(R"svg(<svg width="16" height="16">)svg") + AShape + "</svg>", 16, 16);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TDrawn farShape = drawn(c.Far);
    EXPECT_EQ(farShape.Surface->Picture(), drawn(c.Near).Surface->Picture());
    EXPECT_GT(farShape.Surface->Count(Red), 0);
  }
}

// A view box shaped unlike the target is centred whole unless its aspect
// ratio says otherwise; "none" stretches it.
TEST(SVGRendering, TheViewBoxIsFittedIntoTheTargetAsItsAspectRatioSays) {
  const struct {
    const char* AspectRatio;
    TRect Ink;
  } cases[] = {
      {"", TRect(5, 0, 15, 10)},
      {R"svg(preserveAspectRatio="xMidYMid meet")svg", TRect(5, 0, 15, 10)},
      {R"svg(preserveAspectRatio="xMinYMax")svg", TRect(0, 0, 10, 10)},
      {R"svg(preserveAspectRatio="xMaxYMin meet")svg", TRect(10, 0, 20, 10)},
      {R"svg(preserveAspectRatio="none")svg", TRect(0, 0, 20, 10)},
      // Covering: scaled by 2 and centred, the rectangle's lower half shows.
      {R"svg(preserveAspectRatio="xMidYMid slice")svg", TRect(0, 0, 20, 10)},
      {R"svg(preserveAspectRatio="xMidYMid nonsense")svg", TRect(5, 0, 15, 10)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.AspectRatio);
    const TDrawn drawn = Draw(std::string(R"svg(<svg viewBox="10 0 10 20" )svg") + c.AspectRatio +
                                  R"svg(><rect x="10" width="10" height="10" fill="red"/></svg>)svg",
                              20, 20);
    EXPECT_EQ(drawn.Surface->InkBounds(), c.Ink) << drawn.Surface->Picture();
  }
}

TEST(SVGRendering, FillRulesDecideHoles) {
  const char* shape = R"svg(<svg viewBox="0 0 20 20"><path fill="red" fill-rule="%s" d="M0 0h20v20h-20z M5 5h10v10h-10z"/></svg>)svg";
  for (const char* rule : {"evenodd", "nonzero"}) {
    SCOPED_TRACE(rule);
    char text[256];
    std::snprintf(text, sizeof(text), shape, rule);
    const TDrawn drawn = Draw(text, 20, 20);
    EXPECT_EQ(drawn.Surface->Pixel(10, 10), std::string(rule) == "evenodd" ? 0u : Red);
    EXPECT_EQ(drawn.Surface->Pixel(2, 2), Red);
  }
}

TEST(SVGRendering, StrokesScaleWithTheTransformAndPolylinesStayOpen) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 10 10"><line x1="0" y1="5" x2="10" y2="5" stroke="red" stroke-width="2"/>
    <polyline points="1,1 8,1 8,3" stroke="blue" fill="none"/></svg>)svg", 20, 20);
  EXPECT_EQ(drawn.Surface->Pixel(10, 10), Red);
  EXPECT_EQ(drawn.Surface->Pixel(10, 7), 0u);
  EXPECT_EQ(drawn.Surface->Pixel(10, 12), 0u);
  int redRows = 0;
  for (int y = 0; y < 20; ++y) redRows += drawn.Surface->Pixel(10, y) == Red;
  EXPECT_EQ(redRows, 4);
  // The polyline's end does not join its start.
  EXPECT_EQ(drawn.Surface->Pixel(9, 4), 0u);
}

// ---------------------------------------------------------------------------
// Opacity and paint set-up

TEST(SVGRendering, OpacityMultipliesDownTheTree) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 20"><g opacity="0.5">
    <path d="M2 2h16v16h-16z" fill="red" fill-opacity="0.5" stroke="blue" stroke-width="2"/></g></svg>)svg", 20, 20);
  EXPECT_EQ(drawn.Surface->Pixel(10, 10), 0x3FFF0000u);  // trunc(0.25 * 255) = 63
  EXPECT_EQ(AlphaOf(drawn.Surface->Pixel(1, 10)), 127);  // trunc(0.5 * 255)
  EXPECT_EQ(BlueOf(drawn.Surface->Pixel(1, 10)), 255);
}

TEST(SVGRendering, DashesAreHandedToGDIPlusInPenWidths) {
  const auto root = ImportSVG(R"svg(<svg><path id="p" stroke="red" stroke-width="2" stroke-dasharray="4 2" stroke-dashoffset="1"/>
    <path id="gaps" stroke="red" stroke-dasharray="0 0"/></svg>)svg");
  TSVGSurface surface(10, 10);
  const TOwned<TdxSVGRenderer> renderer(New<TdxSVGRenderer>(surface.Canvas(), nullptr));
  renderer->InitializeAppearance(ElementByID<TdxSVGElement>(root.get(), L"p"));
  EXPECT_EQ(renderer->Pen()->DashArray(), (std::vector<float>{2, 1}));
  EXPECT_FLOAT_EQ(renderer->Pen()->Width(), 2);
  renderer->InitializeAppearance(ElementByID<TdxSVGElement>(root.get(), L"gaps"));
  EXPECT_TRUE(renderer->Pen()->DashArray().empty());
  EXPECT_EQ(renderer->Pen()->Style(), gppsSolid);
}

TEST(SVGRendering, DashOffsetsShiftThePatternEitherWay) {
  // Each offset against one in the first period that must draw alike.
  const struct {
    const char* Dashes;
    const char* Offset;
    const char* Same;
  } cases[] = {
      {"4 2", "-1", "5"}, {"4 2", "-7", "5"}, {"4 2", "13", "1"}, {"3", "-1", "5"}, {"1 2 3", "-2", "10"},
  };
  const auto line = [](const char* ADashes, const char* AOffset) {
    return Draw(std::string(R"svg(<svg width="24" height="2"><path d="M 0 1 H 24" stroke="red" stroke-width="2"
      stroke-dasharray=")svg") + ADashes + "\" stroke-dashoffset=\"" + AOffset + "\"/></svg>",
                24, 2);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Dashes) + " from " + c.Offset);
    const TDrawn drawn = line(c.Dashes, c.Offset);
    EXPECT_EQ(drawn.Surface->Picture(), line(c.Dashes, c.Same).Surface->Picture());
    EXPECT_GT(drawn.Surface->Count(0u), 0);
    EXPECT_GT(drawn.Surface->Count(Red), 0);
  }
}

TEST(SVGRendering, APaletteRecoloursTheGlyph) {
  const char* glyph = R"svg(<svg viewBox="0 0 8 8"><style>.Yellow{fill:#FFB115;}</style>
    <polygon class="Yellow" points="0,0 8,0 8,8 0,8"/></svg>)svg";
  EXPECT_EQ(Draw(glyph, 8, 8).Surface->Pixel(4, 4), 0xFFFFB115u);
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(Blue, Red));
  EXPECT_EQ(Draw(glyph, 8, 8, palette.Get()).Surface->Pixel(4, 4), Blue);
}

// ---------------------------------------------------------------------------
// Gradients and patterns

TEST(SVGRendering, ALinearGradientPadsItsStopsWithTheEndColours) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 100 10"><linearGradient id="g" x1="25%" x2="75%">
    <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
    <rect id="r" width="100" height="10" fill="url(#g)"/></svg>)svg", 100, 10);
  for (int x : {1, 10, 24}) EXPECT_EQ(drawn.Surface->Pixel(x, 5), Red) << x;
  for (int x : {76, 90, 98}) EXPECT_EQ(drawn.Surface->Pixel(x, 5), Blue) << x;
  // Halfway along the vector, halfway between the colours.
  const TdxAlphaColor middle = drawn.Surface->Pixel(50, 5);
  EXPECT_NEAR(RedOf(middle), 128, 10);
  EXPECT_NEAR(BlueOf(middle), 128, 10);
  EXPECT_NEAR(RedOf(drawn.Surface->Pixel(37, 5)), 191, 10);
}

TEST(SVGRendering, AGradientWithoutLengthPaintsItsLastStop) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 10 10"><linearGradient id="g" x1="0.5" x2="0.5" y1="0" y2="0">
    <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
    <rect width="10" height="10" fill="url(#g)"/></svg>)svg", 10, 10);
  EXPECT_EQ(drawn.Surface->Count(Blue), 100);
}

TEST(SVGRendering, ARadialGradientRunsFromItsCentreToItsEdge) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 40 40"><radialGradient id="g" r="0.5">
    <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></radialGradient>
    <rect width="40" height="40" fill="url(#g)"/></svg>)svg", 40, 40);
  // Red gives way to blue from the centre outwards (GDI+ on Wine blends
  // only the two end colours, over the whole gradient box).
  int previousRed = 256;
  for (int x = 20; x < 40; x += 4) {
    const TdxAlphaColor pixel = drawn.Surface->Pixel(x, 20);
    EXPECT_EQ(AlphaOf(pixel), 255);
    EXPECT_LE(RedOf(pixel), previousRed) << x;
    previousRed = RedOf(pixel);
  }
  EXPECT_GT(RedOf(drawn.Surface->Pixel(20, 20)), 200);
  EXPECT_LT(BlueOf(drawn.Surface->Pixel(20, 20)), 60);
  EXPECT_GT(BlueOf(drawn.Surface->Pixel(1, 1)), 200);
  EXPECT_LT(RedOf(drawn.Surface->Pixel(1, 1)), 60);
}

TEST(SVGRendering, ABoxOutsideARadialGradientsCircleTakesTheLastStop) {
  // The circle lies far to the right of the shape, its focal point further still.
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 10 10"><radialGradient id="g" cx="500" cy="0.5" r="200" fx="5000">
    <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></radialGradient>
    <rect width="10" height="10" fill="url(#g)"/></svg>)svg", 10, 10);
  EXPECT_EQ(drawn.Surface->Count(Blue), 100);
}

TEST(SVGRendering, RadialGradientsOfExtremeShapes) {
  // Drawn ten times enlarged, as a supersampled raster draws them.
  const struct {
    const char* Name;
    const char* Gradient;
    const char* Shape;
    bool Painted;
  } cases[] = {
      // A box without width has no fractions to place the gradient by.
      {"box without width", R"svg(<radialGradient id="g" r="100">)svg",
       R"svg(<line x1="100" y1="0" x2="100" y2="200" stroke="url(#g)" stroke-width="200"/>)svg", false},
      {"circle far wider than the surface", R"svg(<radialGradient id="g" gradientUnits="userSpaceOnUse" r="20000">)svg",
       R"svg(<rect width="200" height="200" fill="url(#g)"/>)svg", true},
      {"circle squashed flat",
       R"svg(<radialGradient id="g" gradientUnits="userSpaceOnUse" r="100" gradientTransform="scale(0.000001 1)">)svg",
       R"svg(<rect width="200" height="200" fill="url(#g)"/>)svg", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TDrawn drawn = Draw(std::string(R"svg(<svg viewBox="0 0 200 200">)svg") + c.Gradient +
                                  R"svg(<stop offset="0" stop-color="blue"/><stop offset="1" stop-color="blue"/>
                                  </radialGradient>)svg" + c.Shape + "</svg>",
                              2000, 2000);
    EXPECT_EQ(drawn.Surface->Count(Blue), c.Painted ? 2000 * 2000 : 0);
  }
}

TEST(SVGRendering, GradientStopsFromAReferencedGradient) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 10 10" xmlns:xlink="http://www.w3.org/1999/xlink">
    <linearGradient id="base"><stop offset="0" stop-color="blue"/><stop offset="1" stop-color="blue"/></linearGradient>
    <linearGradient id="g" xlink:href="#base" x1="0.5"/>
    <rect width="10" height="10" fill="url(#g)"/></svg>)svg", 10, 10);
  EXPECT_EQ(drawn.Surface->Count(Blue), 100);
}

TEST(SVGRendering, APatternRepeatsItsTile) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 20"><pattern id="p" width="4" height="4" patternUnits="userSpaceOnUse">
    <rect width="2" height="2" fill="red"/></pattern><rect width="20" height="20" fill="url(#p)"/></svg>)svg", 20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inTile = x % 4 < 2 && y % 4 < 2;
      ASSERT_EQ(drawn.Surface->Pixel(x, y), inTile ? Red : 0u) << x << "," << y << "\n" << drawn.Surface->Picture();
    }
}

TEST(SVGRendering, ABoundingBoxPatternIsAFractionOfTheShape) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 40 40"><pattern id="p" width="0.5" height="0.5">
    <rect width="5" height="5" fill="red"/></pattern><rect x="10" y="10" width="20" height="20" fill="url(#p)"/></svg>)svg", 40, 40);
  EXPECT_EQ(drawn.Surface->Pixel(11, 11), Red);
  EXPECT_EQ(drawn.Surface->Pixel(21, 11), Red);
  EXPECT_EQ(drawn.Surface->Pixel(16, 16), 0u);
  EXPECT_EQ(drawn.Surface->Pixel(5, 5), 0u);
}

TEST(SVGRendering, APatternTakesTheFillOpacity) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 8 8"><pattern id="p" width="4" height="4" patternUnits="userSpaceOnUse">
    <rect width="4" height="4" fill="red"/></pattern><rect width="8" height="8" fill="url(#p)" fill-opacity="0.5"/></svg>)svg",
                            8, 8);
  EXPECT_NEAR(AlphaOf(drawn.Surface->Pixel(3, 3)), 127, 1);
  EXPECT_EQ(RedOf(drawn.Surface->Pixel(3, 3)), 255);
}

// ---------------------------------------------------------------------------
// Clipping

TEST(SVGRendering, AClipPathsOwnTransformMovesItsContent) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 20"><clipPath id="c" transform="translate(10, 5)">
    <rect width="5" height="5"/></clipPath><rect width="20" height="20" fill="red" clip-path="url(#c)"/></svg>)svg", 20, 20);
  EXPECT_EQ(drawn.Surface->InkBounds(), TRect(10, 5, 15, 10)) << drawn.Surface->Picture();
}

TEST(SVGRendering, EachClipShapeKeepsItsOwnTransform) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 20"><clipPath id="c">
    <rect width="5" height="5" transform="translate(10,0)"/><rect width="5" height="5" transform="translate(0,10)"/>
    </clipPath><rect width="20" height="20" fill="red" clip-path="url(#c)"/></svg>)svg", 20, 20);
  EXPECT_EQ(drawn.Surface->Count(Red), 50) << drawn.Surface->Picture();
  EXPECT_EQ(drawn.Surface->Pixel(12, 2), Red);
  EXPECT_EQ(drawn.Surface->Pixel(2, 12), Red);
  EXPECT_EQ(drawn.Surface->Pixel(12, 12), 0u);
}

TEST(SVGRendering, NestedClipTransformsActInnermostFirst) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 20"><clipPath id="c"><g transform="scale(2)">
    <rect width="2" height="2" transform="translate(1,0)"/></g></clipPath>
    <rect width="20" height="20" fill="red" clip-path="url(#c)"/></svg>)svg", 20, 20);
  EXPECT_EQ(drawn.Surface->InkBounds(), TRect(2, 0, 6, 4)) << drawn.Surface->Picture();
}

TEST(SVGRendering, AClipPathThatIsMissingClipsNothingAndAnEmptyOneEverything) {
  EXPECT_EQ(Draw(R"svg(<svg viewBox="0 0 4 4"><rect width="4" height="4" fill="red" clip-path="url(#none)"/></svg>)svg", 4, 4)
                .Surface->Count(Red),
            16);
  EXPECT_EQ(Draw(R"svg(<svg viewBox="0 0 4 4"><clipPath id="c"/><rect width="4" height="4" fill="red" clip-path="url(#c)"/></svg>)svg",
                 4, 4)
                .Surface->Count(Red),
            0);
}

// ---------------------------------------------------------------------------
// Use

TEST(SVGRendering, AUseDrawsItsTargetAgainAndLeavesTheTreeAsItWas) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 20 10"><rect id="r" width="5" height="5"/>
    <use xlink:href="#r" x="10" fill="red"/></svg>)svg", 20, 10);
  EXPECT_EQ(drawn.Surface->Pixel(2, 2), 0xFF000000u);
  // The target takes what it does not set from the use element.
  EXPECT_EQ(drawn.Surface->Pixel(12, 2), Red);
  ASSERT_EQ(drawn.Root->Count(), 2);
  EXPECT_EQ(drawn.Root->GetElement(0)->ID(), L"r");
  EXPECT_EQ(drawn.Root->GetElement(0)->Parent(), drawn.Root.get());
  EXPECT_EQ(drawn.Root->GetElement(1)->Count(), 0);
}

TEST(SVGRendering, ReferencesBackIntoThemselvesDrawNothing) {
  const struct {
    const char* Name;
    const char* Text;
    int RedPixels;
  } cases[] = {
      {"use of itself", R"svg(<use id="u" xlink:href="#u"/><rect width="2" height="2" fill="red"/>)svg", 4},
      {"use of an ancestor", R"svg(<g id="g"><rect width="2" height="2" fill="red"/><use xlink:href="#g" x="4"/></g>)svg", 4},
      {"uses of each other", R"svg(<g id="a"><rect width="2" height="2" fill="red"/><use xlink:href="#b" x="4"/></g>
                                <g id="b"><use xlink:href="#a" y="4"/></g>)svg", 8},
      {"pattern painted with itself", R"svg(<pattern id="p" width="4" height="4" patternUnits="userSpaceOnUse">
          <rect width="2" height="2" fill="url(#p)"/></pattern><rect width="8" height="8" fill="url(#p)"/>)svg", 0},
      {"paints of each other", R"svg(<rect id="a" width="2" height="2" fill="url(#b)"/><rect id="b" fill="url(#a)"/>)svg", 0},
      {"clip path clipped by itself", R"svg(<clipPath id="c"><rect width="5" height="5" clip-path="url(#c)"/></clipPath>
          <rect width="8" height="8" fill="red" clip-path="url(#c)"/>)svg", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TDrawn drawn = Draw(std::string(R"svg(<svg viewBox="0 0 8 8" xmlns:xlink="http://www.w3.org/1999/xlink">)svg") +
                                  c.Text + "</svg>",
                              8, 8);
    EXPECT_EQ(drawn.Surface->Count(Red), c.RedPixels) << drawn.Surface->Picture();
  }
}

TEST(SVGRendering, UsesMultiplyingWithoutBoundStopAtTheBudget) {
  // Each level uses the one below it four times: 4^12 references in all.
  std::string text = R"svg(<svg viewBox="0 0 8 8" xmlns:xlink="http://www.w3.org/1999/xlink"><defs>
    <rect id="l0" width="1" height="1" fill="red"/>)svg";
  for (int level = 1; level <= 12; ++level) {
    text += "<g id=\"l" + std::to_string(level) + "\">";
    for (int i = 0; i < 4; ++i) text += "<use xlink:href=\"#l" + std::to_string(level - 1) + "\"/>";
    text += "</g>";
  }
  text += R"svg(</defs><use xlink:href="#l12"/></svg>)svg";
  const auto started = std::chrono::steady_clock::now();
  const TDrawn drawn = Draw(text, 8, 8);
  EXPECT_EQ(drawn.Surface->Pixel(0, 0), Red);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

// ---------------------------------------------------------------------------
// Text

// Text in a clip path clips to its glyphs: the picture does not fail, and
// what shows lies within where the same text draws.
TEST(SVGRendering, TextInAClipPathClipsToItsGlyphs) {
  const char* text = R"svg(<text x="5" y="30" font-family="Tahoma" font-size="28">HI</text>)svg";
  const TDrawn drawnText = Draw(std::string(R"svg(<svg viewBox="0 0 60 40">)svg") + text + "</svg>", 60, 40);
  const TDrawn clipped = Draw(std::string(R"svg(<svg viewBox="0 0 60 40"><clipPath id="c">)svg") + text +
                                  R"svg(</clipPath><rect width="60" height="40" fill="red" clip-path="url(#c)"/></svg>)svg",
                              60, 40);
  const TRect inside = drawnText.Surface->InkBounds();
  const TRect ink = clipped.Surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty()) << clipped.Surface->Picture();
  EXPECT_GT(clipped.Surface->Count(Red), 40);
  EXPECT_LT(clipped.Surface->Count(Red), 60 * 40 / 2);
  // GDI+ pads drawn strings and outlined ones differently: a sixth of the
  // font's size either way.
  EXPECT_GE(ink.Left, inside.Left - 5);
  EXPECT_LE(ink.Right, inside.Right + 5);
  EXPECT_GE(ink.Top, inside.Top - 5);
  EXPECT_LE(ink.Bottom, inside.Bottom + 5);
  EXPECT_NEAR(ink.Width(), inside.Width(), 3);
}

TEST(SVGRendering, TextIsAnchoredAtItsStartMiddleOrEnd) {
  const struct {
    const char* Anchor;
    bool (*Fits)(const TRect& AInk);
  } cases[] = {
      {"start", [](const TRect& R) { return std::abs(R.Left - 100) <= 3; }},
      {"middle", [](const TRect& R) { return std::abs((R.Left + R.Right) / 2 - 100) <= 3; }},
      {"end", [](const TRect& R) { return std::abs(R.Right - 100) <= 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Anchor);
    const TDrawn drawn = Draw(std::string(R"svg(<svg viewBox="0 0 200 40"><text x="100" y="30" font-family="Tahoma" )svg") +
                                  "font-size=\"20\" text-anchor=\"" + c.Anchor + "\">HHHH</text></svg>",
                              200, 40);
    const TRect ink = drawn.Surface->InkBounds();
    EXPECT_GT(ink.Width(), 30);
    EXPECT_TRUE(c.Fits(ink)) << ink.Left << ".." << ink.Right;
    // The baseline sits at y: capitals end right above it.
    EXPECT_NEAR(ink.Bottom, 30, 2);
  }
}

TEST(SVGRendering, UnknownFontFamiliesFallBack) {
  const TDrawn drawn = Draw(R"svg(<svg viewBox="0 0 100 40"><text x="5" y="30" font-size="20"
    font-family="NoSuchFont-Light-Condensed, sans-serif">HH</text></svg>)svg", 100, 40);
  EXPECT_GT(drawn.Surface->InkBounds().Width(), 10);
}

}  // namespace
