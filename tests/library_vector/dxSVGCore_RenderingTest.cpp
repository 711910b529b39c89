// Drawing element trees: shapes, fills and strokes, opacity, gradients,
// patterns, clipping, use elements and text, read back in pixels. The
// canvas does not antialias, so edges are exact.
#include "library/vector/dxSVGCore.h"
#include "tests/library_vector/SVGTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

TEST(SVGRendering, ARectangleFillsItsPixels) {
  const auto root = ImportSVG(R"(<svg viewBox="0 0 20 20"><rect x="5" y="5" width="10" height="10" fill="red"/></svg>)");
  ASSERT_TRUE(root);
  TSVGSurface surface(20, 20);
  surface.Draw(root.get());
  EXPECT_EQ(surface.InkBounds(), TRect(5, 5, 15, 15)) << surface.Picture();
  EXPECT_EQ(surface.Count(Red), 100);
}

}  // namespace
