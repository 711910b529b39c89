// Import and export: style sheets, references between elements, what is
// written, and that a written tree reads back alike.
#include "library/vector/dxSVGCore.h"
#include "tests/library_vector/SVGTestSupport.h"
#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

int CountAll(TdxSVGElement* AElement) {
  int result = 1;
  for (int i = 0; i < AElement->Count(); ++i) result += CountAll(AElement->GetElement(i));
  return result;
}

// The classes of the tree, depth first, with the ids.
std::string Shape(TdxSVGElement* AElement) {
  std::string result = std::string(AElement->ClassName().begin(), AElement->ClassName().end());
  if (!AElement->ID().empty()) result += "#" + std::string(AElement->ID().begin(), AElement->ID().end());
  if (AElement->Count() == 0) return result;
  result += "(";
  for (int i = 0; i < AElement->Count(); ++i) result += (i ? " " : "") + Shape(AElement->GetElement(i));
  return result + ")";
}

// ---------------------------------------------------------------------------
// Import

TEST(SVGImport, OnlyATopLevelSvgElementIsAPicture) {
  const struct {
    const char* Text;
    bool Picture;
  } cases[] = {
      {"<svg/>", true},
      {"<?xml version=\"1.0\"?><!-- a --><svg width=\"4\"/>", true},
      {"<svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\"/>", false},
      {"<html><svg/></html>", false},
      {"<SVG/>", false},
      {"", false},
      {"not xml at all", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    const TOwned<TdxXMLDocument> document = ReadXML(c.Text);
    TdxSVGElementRoot* root = reinterpret_cast<TdxSVGElementRoot*>(1);
    EXPECT_EQ(TdxSVGImporter::Import(document.get(), root), c.Picture);
    const TOwned<TdxSVGElementRoot> owned(root);
    EXPECT_EQ(root != nullptr, c.Picture);
    TSize size(-1, -1);
    EXPECT_EQ(TdxSVGImporter::GetSize(document.get(), size), c.Picture);
  }
}

TEST(SVGImport, GetSizeReadsOnlyTheSvgElement) {
  const struct {
    const char* Text;
    TSize Size;
  } cases[] = {
      {R"svg(<svg viewBox="0 0 32 32"><rect width="100" height="100"/></svg>)svg", TSize(32, 32)},
      {R"svg(<svg width="16.4" height="16.6" viewBox="0 0 32 32"/>)svg", TSize(16, 17)},
      {R"svg(<svg width="1in" height="12pt"/>)svg", TSize(96, 16)},
      {R"svg(<svg width="100%" height="100%"/>)svg", TSize(0, 0)},
      {R"svg(<svg width="-5" height="1e30"/>)svg", TSize(0, INT_MAX / 2)},
      {R"svg(<svg style="width:40px"><style>svg{width:50}</style></svg>)svg", TSize(0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    TSize size;
    ASSERT_TRUE(TdxSVGImporter::GetSize(ReadXML(c.Text).get(), size));
    EXPECT_EQ(size, c.Size);
  }
}

TEST(SVGImport, OnlyRegisteredTagsBecomeElements) {
  const auto root = ImportSVG(R"svg(<svg><g id="g"><unknown><rect id="lost"/></unknown><rect id="kept"/></g>
    <metadata><rect/></metadata><defs><linearGradient id="lg"><stop/></linearGradient></defs></svg>)svg");
  EXPECT_EQ(Shape(root.get()),
            "TdxSVGElementRoot(TdxSVGElementGroup#g(TdxSVGElementRectangle#kept) "
            "TdxSVGElementDefinitions(TdxSVGElementLinearGradient#lg(TdxSVGElementGradientStop)))");
  EXPECT_EQ(root->GetElement(0)->StyleName(), L"g");
}

TEST(SVGImport, StyleSheetSelectorsNameRulesLiterally) {
  const auto root = ImportSVG(R"svg(<svg><defs><style>a , .b{fill:red} .c{stroke:blue} #d{fill:red} g .e{fill:red}
    .x{y{fill:red} .f{}</style></defs>
    <rect id="ra" class="a"/><rect id="rb" class="b"/><rect id="rc" class="c"/><rect id="d"/><rect id="re" class="e"/>
    <rect id="rd" class="#d"/></svg>)svg");
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"ra")->Fill().AsColor(), Red);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"rb")->Fill().AsColor(), Red);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"rc")->Stroke().AsColor(), Blue);
  // Id and descendant selectors are not interpreted: they name rules of their literal text.
  EXPECT_TRUE(ElementByID<TdxSVGElement>(root.get(), L"d")->Fill().IsDefault());
  EXPECT_TRUE(ElementByID<TdxSVGElement>(root.get(), L"re")->Fill().IsDefault());
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"rd")->Fill().AsColor(), Red);
}

TEST(SVGImport, AGradientTakesWhatItsReferenceHasAndKeepsItsOwn) {
  const auto root = ImportSVG(R"svg(<svg xmlns:xlink="http://www.w3.org/1999/xlink">
    <linearGradient id="second" xlink:href="#first" x1="0.3"/>
    <linearGradient id="third" xlink:href="#second"/>
    <linearGradient id="first" x1="0.1" x2="0.9" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
    <linearGradient id="own" xlink:href="#first"><stop offset="0.5" stop-color="red"/></linearGradient></svg>)svg");
  for (const wchar_t* id : {L"second", L"third"}) {
    auto* gradient = ElementByID<TdxSVGElementLinearGradient>(root.get(), id);
    ASSERT_EQ(gradient->Count(), 2) << id;
    EXPECT_EQ(gradient->ID(), id);
    EXPECT_EQ(gradient->PatternUnitsType(), cuUserSpaceOnUse);
    EXPECT_EQ(static_cast<TdxSVGElementGradientStop*>(gradient->GetElement(1))->Color(), Blue);
  }
  const auto written = ExportSVG(root.get());
  EXPECT_NE(written.find(R"(id="second" gradientUnits="userSpaceOnUse" x1="0.3px" y1="0px" x2="0.9px")"), std::string::npos)
      << written;
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"own")->Count(), 1);
}

TEST(SVGImport, ReferencesIntoThemselvesAndUnresolvedOnesAreDropped) {
  const auto root = ImportSVG(R"svg(<svg xmlns:xlink="http://www.w3.org/1999/xlink">
    <g id="outer"><pattern id="p" xlink:href="#outer"/></g><pattern id="self" xlink:href="#self"/>
    <pattern id="lost" xlink:href="#nowhere"/><pattern id="bare" xlink:href="outer"/></svg>)svg");
  EXPECT_EQ(Shape(root.get()),
            "TdxSVGElementRoot(TdxSVGElementGroup#outer(TdxSVGElementPattern#p) TdxSVGElementPattern#self "
            "TdxSVGElementPattern#lost TdxSVGElementPattern#bare)");
}

TEST(SVGImport, CopiesThatMultiplyStopAtTheBound) {
  // Each group copies the one after it twice, the last group first: the
  // copies would double with every level.
  std::string text = R"(<svg xmlns:xlink="http://www.w3.org/1999/xlink">)";
  for (int level = 40; level >= 1; --level)
    text += "<g id=\"g" + std::to_string(level) + "\"><g xlink:href=\"#g" + std::to_string(level - 1) +
            "\"/><g xlink:href=\"#g" + std::to_string(level - 1) + "\"/></g>";
  text += R"(<g id="g0"><rect/></g></svg>)";
  const auto root = ImportSVG(text);
  ASSERT_TRUE(root);
  EXPECT_LE(CountAll(root.get()), TdxSVGImporter::MaxElementCount);
}

// ---------------------------------------------------------------------------
// Export

TEST(SVGExport, TheRootComesFirstWithTheNamespaces) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 20" width="5"><rect class="x" id="r" style="fill:red"/></svg>)svg");
  EXPECT_EQ(ExportSVG(root.get()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
            "x=\"0px\" y=\"0px\" height=\"0px\" width=\"5px\" viewBox=\"0 0 10 20\">"
            "<rect id=\"r\" fill=\"#ff0000\" x=\"0px\" y=\"0px\" height=\"0px\" width=\"0px\"/></svg>");
}

TEST(SVGExport, ElementsWithoutATagAreLeftOut) {
  const TOwned<TdxSVGElementRoot> root(New<TdxSVGElementRoot>());
  New<TdxSVGElementCustomPattern>(root.get());
  New<TdxSVGElementNeverRendered>(New<TdxSVGElementGroup>(root.get()));
  const std::string written = ExportSVG(root.get());
  EXPECT_EQ(written.substr(written.find("<svg")),
            "<svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
            "x=\"0px\" y=\"0px\" height=\"0px\" width=\"0px\"><g/></svg>");
}

TEST(SVGExport, ValuesAreWrittenInTheirOwnForms) {
  const auto root = ImportSVG(R"svg(<svg xmlns:xlink="http://www.w3.org/1999/xlink">
    <path id="p" d="M0 0L5 5" transform="translate(2)" stroke="url(#g)" stroke-dasharray="1 2.5" stroke-linecap="round"
      stroke-linejoin="bevel" fill="none" fill-rule="evenodd" opacity="0.25"/>
    <polygon points="1,2 3.5,4"/><use xlink:href="#p" x="1"/><rect rx="2"/>
    <text x="1" font-family="Segoe UI" font-size="12" font-style="italic" font-weight="bold" text-anchor="middle">Hi</text>
    <radialGradient id="g" cx="10" fr="2"/></svg>)svg");
  const std::string written = ExportSVG(root.get());
  for (const char* part : {
           R"svg(<path id="p" transform="matrix(1 0 0 1 2 0)" opacity="0.25" fill="none" fill-rule="evenodd" stroke="url(#g)" )svg"
           R"svg(stroke-dasharray="1,2.5" stroke-linecap="round" stroke-linejoin="bevel" d="M0 0L5 5"/>)svg",
           R"svg(<polygon points="1,2 3.5,4"/>)svg",
           R"svg(<use x="1px" y="0px" href="#p"/>)svg",
           R"svg(<rect x="0px" y="0px" height="0px" width="0px" rx="2px"/>)svg",
           R"svg(x="1px" y="0px" dx="0px" dy="0px" text-anchor="middle" style="font:italic bold 12px &quot;Segoe UI&quot;;">Hi</text>)svg",
           R"svg(<radialGradient id="g" gradientUnits="objectBoundingBox" cx="10px" cy="50%" r="50%" fr="2px"/>)svg",
       }) {
    EXPECT_NE(written.find(part), std::string::npos) << part << "\n" << written;
  }
}

TEST(SVGExport, AWrittenTreeReadsBackAlike) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 64 48" width="32" xmlns:xlink="http://www.w3.org/1999/xlink">
    <style>.a{fill:#123456;stroke-width:3}</style>
    <defs><linearGradient id="lg" gradientTransform="rotate(30)" x2="50%"><stop offset="0.2" stop-color="red" stop-opacity="0.5"/>
      <stop offset="100%" stop-color="#00ff00"/></linearGradient>
      <radialGradient id="rg" fx="0.2" r="40%"><stop offset="0" stop-color="blue"/></radialGradient>
      <pattern id="pt" width="8" height="8" patternUnits="userSpaceOnUse" viewBox="0 0 4 4"><circle cx="2" cy="2" r="1"/></pattern>
      <clipPath id="cp" clip-rule="evenodd"><ellipse cx="5" cy="6" rx="3" ry="2"/></clipPath></defs>
    <g id="g" class="a" opacity="0.5" clip-path="url(#cp)" stroke="blue" stroke-dasharray="2 1" stroke-dashoffset="1">
      <path d="M1 2 C 3 4 5 6 7 8 Z" fill="url(#lg)"/><rect x="1" y="2" width="3" height="4" ry="1" fill="url(#pt)"/>
      <line x1="1" y1="2" x2="3" y2="4" stroke-width="2mm"/><polyline points="1,1 2,2 3,1" fill="url(#rg)"/>
      <text x="5" y="20" font-size="10" fill-opacity="0.5">Text<tspan dx="2">span</tspan></text></g>
    <use xlink:href="#g" x="10" y="5"/></svg>)svg");
  ASSERT_TRUE(root);
  const std::string once = ExportSVG(root.get());
  const auto again = ImportSVG(once);
  ASSERT_TRUE(again);
  EXPECT_EQ(Shape(again.get()), Shape(root.get()));
  EXPECT_EQ(ExportSVG(again.get()), once);
  // Drawn alike, too.
  TSVGSurface first(64, 48);
  first.Draw(root.get());
  TSVGSurface second(64, 48);
  second.Draw(again.get());
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(first.Pixel(x, y), second.Pixel(x, y)) << x << "," << y;
}

}  // namespace
