// Small pictures of the kinds real icons are made of (svg/ beside this
// file: currentColor, compact arc flags, tiny curves, gradients near an axis
// or under uneven transforms, radial gradients of several stops, view boxes
// shaped unlike their viewport, group opacities and rules, rounded rects,
// paint fallbacks), each drawn through the SVG codec at 48 x 48 and compared
// with what librsvg draws of it (make-svg-references, run before this
// program) by the reference tests' measure.
#include "tests/library_vector/SVGTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

String WinePath(const char* APath) {
  String path = L"Z:" + dxXMLStringToString(APath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

class SVGOracle : public testing::TestWithParam<const char*> {};

TEST_P(SVGOracle, DrawsAsLibrsvgDraws) {
  const std::string name = GetParam();
  const String picturePath = WinePath(SK_SVG_FIXTURES_DIR) + L"\\" + dxXMLStringToString(name) + L".svg";
  const String referencePath = WinePath(SK_SVG_REFERENCES_DIR) + L"\\" + dxXMLStringToString(name) + L".png";
  TdxGpOwnedImage reference;
  ASSERT_EQ(GdipLoadImageFromFile(referencePath.c_str(), reference.Receive()), Gdiplus::Ok)
      << "no reference image: make-svg-references draws them before the test program runs";
  TSize size;
  const std::vector<std::uint32_t> expected = PremultipliedPixels(reference.Get(), size);
  const TOwned<TdxSVGImageHandle> picture = LoadPicture(picturePath);
  ASSERT_TRUE(picture);
  const std::vector<std::uint32_t> actual = Render(picture.get(), size);
  ASSERT_EQ(actual.size(), expected.size());
  const int differing = DifferingPixels(expected, actual);
  EXPECT_TRUE(IsWithinReferenceTolerance(differing, expected.size()))
      << differing << " of " << expected.size() << " pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SVGOracle,
                         testing::Values("current-color", "current-color-stops", "arc-flags", "tiny-curve",
                                         "linear-near-axis", "linear-transformed", "radial-stops", "radial-focal",
                                         "aspect-meet", "aspect-none", "group-opacity", "rect-rounded",
                                         "url-fallback"),
                         [](const testing::TestParamInfo<const char*>& AInfo) {
                           std::string name = AInfo.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
