// The element tree: the tag registry, attributes and their fallbacks, style
// rules, inherited values, lookups by id and the tree operations.
#include "library/vector/dxSVGCore.h"
#include "tests/library_vector/SVGTestSupport.h"

#include "platform/classes/ClassErrors.h"

#include <gtest/gtest.h>

namespace {

constexpr TdxAlphaColor Black = 0xFF000000;
constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

// ---------------------------------------------------------------------------
// Registry

TEST(SVGTagRegistry, TagsAndClassesMapBothWays) {
  TdxSVGElementClasses* classes = dxSVGElementClasses();
  ASSERT_NE(classes, nullptr);
  const struct {
    const char* Tag;
    TClass Class;
  } cases[] = {
      {"svg", TdxSVGElementRoot::ClassInfo()},          {"g", TdxSVGElementGroup::ClassInfo()},
      {"circle", TdxSVGElementCircle::ClassInfo()},     {"ellipse", TdxSVGElementEllipse::ClassInfo()},
      {"line", TdxSVGElementLine::ClassInfo()},         {"path", TdxSVGElementPath::ClassInfo()},
      {"polygon", TdxSVGElementPolygon::ClassInfo()},   {"polyline", TdxSVGElementPolyline::ClassInfo()},
      {"rect", TdxSVGElementRectangle::ClassInfo()},    {"text", TdxSVGElementText::ClassInfo()},
      {"tspan", TdxSVGElementTSpan::ClassInfo()},       {"use", TdxSVGElementUse::ClassInfo()},
      {"defs", TdxSVGElementDefinitions::ClassInfo()},  {"clipPath", TdxSVGElementClipPath::ClassInfo()},
      {"stop", TdxSVGElementGradientStop::ClassInfo()}, {"linearGradient", TdxSVGElementLinearGradient::ClassInfo()},
      {"radialGradient", TdxSVGElementRadialGradient::ClassInfo()}, {"pattern", TdxSVGElementPattern::ClassInfo()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Tag);
    EXPECT_EQ(classes->GetValue(c.Tag), c.Class);
    EXPECT_EQ(classes->GetKey(c.Class), c.Tag);
  }
  TdxSVGElementClass found = nullptr;
  EXPECT_FALSE(classes->TryGetValue("Rect", found));
  EXPECT_FALSE(classes->TryGetValue("svg:svg", found));
  try {
    classes->GetValue("clippath");
    ADD_FAILURE() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"Element nicht gefunden");
  }
  EXPECT_THROW(classes->GetKey(TdxSVGElementCustomPattern::ClassInfo()), EListError);
}

TEST(SVGTagRegistry, AMapAddsNothingWhenEitherSideIsTaken) {
  TdxMap<TdxXMLString, int> map;
  EXPECT_TRUE(map.Add("a", 1));
  EXPECT_FALSE(map.Add("a", 2));
  EXPECT_FALSE(map.Add("b", 1));
  int value = 0;
  EXPECT_FALSE(map.TryGetValue("b", value));
  EXPECT_EQ(map.Count(), 1);
  EXPECT_TRUE(map.DeleteByValue(1));
  EXPECT_EQ(map.Count(), 0);
  EXPECT_TRUE(map.Add("b", 1));
  EXPECT_TRUE(map.DeleteByKey("b"));
  EXPECT_FALSE(map.DeleteByKey("b"));
}

// ---------------------------------------------------------------------------
// Attributes

TEST(SVGAttributes, InvalidValuesCountAsNotGiven) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10">
    <g fill="blue" stroke="red" stroke-width="3" stroke-dasharray="4 2" opacity="0.5">
      <rect id="colour" fill="#zz0000" width="abc" height="5"/>
      <rect id="rgb" fill="rgb(1,2)"/>
      <rect id="dashes" stroke-dasharray="5,-1" stroke-width="-2"/>
      <rect id="opacity" opacity="half" fill-opacity="5 px"/>
      <rect id="length" stroke-width="2em"/>
    </g></svg>)svg");
  ASSERT_TRUE(root);
  auto* colour = ElementByID<TdxSVGElementRectangle>(root.get(), L"colour");
  EXPECT_TRUE(colour->Fill().IsDefault());
  EXPECT_EQ(colour->ActualFill(nullptr), Blue);
  EXPECT_EQ(colour->GetBounds(), TdxRectF(0, 0, 0, 5));
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"rgb")->ActualFill(nullptr), Blue);
  auto* dashes = ElementByID<TdxSVGElement>(root.get(), L"dashes");
  EXPECT_TRUE(dashes->StrokeDashArray().Empty());
  EXPECT_EQ(dashes->ActualStrokeDashArray().Count(), 2);
  EXPECT_FLOAT_EQ(dashes->ActualStrokeWidth(), 3);
  auto* opacity = ElementByID<TdxSVGElement>(root.get(), L"opacity");
  EXPECT_FLOAT_EQ(opacity->Opacity(), 1);
  EXPECT_FLOAT_EQ(opacity->FillOpacity(), 1);
  EXPECT_FLOAT_EQ(ElementByID<TdxSVGElement>(root.get(), L"length")->ActualStrokeWidth(), 3);
}

TEST(SVGAttributes, OpacitiesAreClampedAndPercentageWidthsAreNone) {
  const auto root = ImportSVG(R"svg(<svg width="200" height="100"><g stroke-width="4">
    <path id="p" opacity="2" stroke-opacity="-1" stroke-width="50%"/></g>
    <path id="q" stroke-width="50%"/></svg>)svg");
  auto* p = ElementByID<TdxSVGElement>(root.get(), L"p");
  EXPECT_FLOAT_EQ(p->Opacity(), 1);
  EXPECT_FLOAT_EQ(p->StrokeOpacity(), 0);
  EXPECT_FLOAT_EQ(p->StrokeSize(), 0);
  EXPECT_FLOAT_EQ(p->ActualStrokeWidth(), 4);
  EXPECT_FLOAT_EQ(ElementByID<TdxSVGElement>(root.get(), L"q")->ActualStrokeWidth(), 1);
}

TEST(SVGAttributes, ARectangleWithOneRadiusUsesItForBoth) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 40 40">
    <rect id="r" width="20" height="20" ry="4" fill="red"/></svg>)svg");
  TSVGSurface rounded(40, 40);
  rounded.Draw(root.get());
  // Without radii the corners are filled; with them they stay clear.
  EXPECT_EQ(rounded.Pixel(0, 0), 0u);
  EXPECT_EQ(rounded.Pixel(19, 0), 0u);
  EXPECT_EQ(rounded.Pixel(0, 19), 0u);
  EXPECT_EQ(rounded.Pixel(10, 10), Red);
  const auto square = ImportSVG(R"svg(<svg viewBox="0 0 40 40"><rect width="20" height="20" fill="red"/></svg>)svg");
  TSVGSurface plain(40, 40);
  plain.Draw(square.get());
  EXPECT_EQ(plain.Pixel(0, 0), Red);
  EXPECT_EQ(plain.Count(Red), 400);
}

TEST(SVGAttributes, RootSizePrefersItsAttributesAndTheViewBoxPrefersItself) {
  const struct {
    const char* Text;
    TdxSizeF Size;
    TdxRectF ViewBox;
  } cases[] = {
      {R"svg(<svg viewBox="0 0 32 32"/>)svg", {32, 32}, {0, 0, 32, 32}},
      {R"svg(<svg width="16" height="24pt" viewBox="0 0 32 32"/>)svg", {16, 32}, {0, 0, 32, 32}},
      {R"svg(<svg width="16" height="8"/>)svg", {16, 8}, {0, 0, 16, 8}},
      {R"svg(<svg width="100%" height="50%" viewBox="1 2 3 4"/>)svg", {3, 4}, {1, 2, 4, 6}},
      {R"svg(<svg width="0" viewBox="0 0 5 6"/>)svg", {5, 6}, {0, 0, 5, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    const auto root = ImportSVG(c.Text);
    EXPECT_EQ(root->Size(), c.Size);
    EXPECT_EQ(root->ActualViewBox(), c.ViewBox);
  }
  const auto percent = ImportSVG(R"svg(<svg width="100%" height="100%"/>)svg");
  EXPECT_EQ(percent->Size(), TdxSizeF(0, 0));
  EXPECT_THROW(percent->ActualViewBox(), EArgumentException);
}

TEST(SVGAttributes, PercentagesReferToTheRootSize) {
  const auto root = ImportSVG(R"svg(<svg width="200" height="100">
    <rect id="r" x="10%" y="10%" width="50%" height="50%"/><circle id="c" cx="50%" cy="50%" r="10%"/></svg>)svg");
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"r")->GetBounds(), TdxRectF(20, 10, 120, 60));
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"c")->GetBounds(), TdxRectF(80, 40, 120, 60));
}

// ---------------------------------------------------------------------------
// Styles

TEST(SVGStyles, InlineStylesWinOverClassRulesAndClassRulesOverAttributes) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10">
    <style>.Black{fill:#727272;} path{stroke:red}</style>
    <path id="ruled" class="Black" fill="blue" d="M0 0 L 5 5"/>
    <path id="inline" class="Black" fill="blue" style="fill: #123456" d="M0 0 L 5 5"/>
    <path id="tag" d="M0 0 L 5 5"/></svg>)svg");
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"ruled")->ActualFill(nullptr), 0xFF727272);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"inline")->ActualFill(nullptr), 0xFF123456);
  // A rule named after a tag reaches the elements of that tag without a class.
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"tag")->Stroke().AsColor(), Red);
  EXPECT_TRUE(ElementByID<TdxSVGElement>(root.get(), L"ruled")->Stroke().IsDefault());
}

TEST(SVGStyles, ARuleChangesOnlyWhatItDeclares) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10"><style>.c{fill:red}</style>
    <text id="t" class="c" font-size="20" x="3">A</text></svg>)svg");
  auto* text = ElementByID<TdxSVGElementText>(root.get(), L"t");
  EXPECT_FLOAT_EQ(text->ActualFontSize(), 20);
  EXPECT_EQ(text->Text(), L"A");
  EXPECT_EQ(text->Fill().AsColor(), Red);
}

TEST(SVGStyles, EveryClassNamesARuleAppliedInOrder) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10"><style>.a{fill:red}.b{fill:blue;stroke:red}</style>
    <rect id="ab" class="a b"/><rect id="ba" class="b a"/></svg>)svg");
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"ab")->Fill().AsColor(), Blue);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"ba")->Fill().AsColor(), Red);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"ba")->Stroke().AsColor(), Red);
}

// ---------------------------------------------------------------------------
// Inherited values

TEST(SVGInheritance, FillComesFromTheNearestAncestorThatSetsIt) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10">
    <g fill="red" stroke-linecap="round" fill-rule="evenodd"><path id="inner" fill-rule="inherit"/><path id="own"/></g>
    <path id="outer" fill-rule="inherit"/></svg>)svg");
  auto* inner = ElementByID<TdxSVGElement>(root.get(), L"inner");
  auto* outer = ElementByID<TdxSVGElement>(root.get(), L"outer");
  EXPECT_EQ(inner->ActualFill(nullptr), Red);
  EXPECT_EQ(outer->ActualFill(nullptr), Black);
  EXPECT_EQ(inner->ActualStrokePaint(nullptr).AsColor(), 0u);
  EXPECT_EQ(inner->ActualStrokeLineCap(), lcsRound);
  EXPECT_EQ(outer->ActualStrokeLineCap(), lcsDefault);
  // A fill rule is inherited unless the element sets its own.
  EXPECT_EQ(inner->ActualFillMode(), fmEvenOdd);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"own")->ActualFillMode(), fmEvenOdd);
  EXPECT_EQ(outer->ActualFillMode(), fmNonZero);
  EXPECT_FLOAT_EQ(inner->ActualStrokeDashOffset(), 0);
}

TEST(SVGInheritance, APaletteRecoloursByStyleName) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10">
    <path id="filled" class="Yellow" fill="#FFB115"/><path id="stroked" stroke="blue"/><path id="plain"/></svg>)svg");
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(0xFF00FF00, 0xFF00FFFF));
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"filled")->ActualFill(palette.Get()), 0xFF00FF00u);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"filled")->ActualFill(nullptr), 0xFFFFB115u);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"stroked")->ActualStrokePaint(palette.Get()).AsColor(), 0xFF00FFFFu);
  // The palette strokes only what strokes on its own.
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"plain")->ActualStrokePaint(palette.Get()).AsColor(), 0u);
  const IPtr<IdxColorPalette> keep(New<TdxSimpleColorPalette>(TdxAlphaColors::Default, TdxAlphaColors::Default));
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"filled")->ActualFill(keep.Get()), 0xFFFFB115u);
}

// Real icons set these on groups: each reaches the shapes that set none.
TEST(SVGInheritance, OpacitiesAndRulesOfAGroupReachItsShapes) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10" clip-rule="evenodd">
    <g fill-opacity="0.25" stroke-opacity="50%" fill-rule="evenodd">
      <path id="plain"/><path id="own" fill-opacity="1" stroke-opacity="0.75" fill-rule="nonzero"/></g>
    <clipPath id="c"><path id="inside"/><path id="set" clip-rule="nonzero"/></clipPath><path id="outside"/></svg>)svg");
  auto* plain = ElementByID<TdxSVGElement>(root.get(), L"plain");
  auto* own = ElementByID<TdxSVGElement>(root.get(), L"own");
  EXPECT_FLOAT_EQ(plain->ActualFillOpacity(), 0.25f);
  EXPECT_FLOAT_EQ(plain->ActualStrokeOpacity(), 0.5f);
  EXPECT_EQ(plain->ActualFillMode(), fmEvenOdd);
  EXPECT_FLOAT_EQ(own->ActualFillOpacity(), 1);
  EXPECT_FLOAT_EQ(own->ActualStrokeOpacity(), 0.75f);
  EXPECT_EQ(own->ActualFillMode(), fmNonZero);
  EXPECT_FLOAT_EQ(ElementByID<TdxSVGElement>(root.get(), L"outside")->ActualFillOpacity(), 1);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"inside")->ActualClipRule(), fmEvenOdd);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"set")->ActualClipRule(), fmNonZero);
  EXPECT_EQ(ElementByID<TdxSVGElement>(root.get(), L"outside")->ActualClipRule(), fmEvenOdd);
  // Written and read back alike.
  const auto again = ImportSVG(ExportSVG(root.get()));
  EXPECT_FLOAT_EQ(ElementByID<TdxSVGElement>(again.get(), L"plain")->ActualStrokeOpacity(), 0.5f);
  EXPECT_EQ(ElementByID<TdxSVGElement>(again.get(), L"plain")->ActualFillMode(), fmEvenOdd);
}

TEST(SVGInheritance, ATSpanTakesItsTextsFont) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 10 10">
    <text id="t" font-family="Tahoma" font-size="14" font-weight="bold" transform="scale(2)">A<tspan id="s">B</tspan></text>
    </svg>)svg");
  auto* span = ElementByID<TdxSVGElementTSpan>(root.get(), L"s");
  EXPECT_EQ(span->ActualFontName(), L"Tahoma");
  EXPECT_FLOAT_EQ(span->ActualFontSize(), 14);
  EXPECT_TRUE(span->ActualFontStyles() == TFontStyles{fsBold});
  EXPECT_TRUE(span->Transform()->IsIdentity());
  EXPECT_EQ(span->Text(), L"B");
  auto* text = ElementByID<TdxSVGElementText>(root.get(), L"t");
  EXPECT_EQ(TdxSVGElementText::ClassInfo(), text->ClassType());
  const auto plain = ImportSVG(R"svg(<svg><text id="t">x</text></svg>)svg");
  EXPECT_EQ(ElementByID<TdxSVGElementText>(plain.get(), L"t")->ActualFontName(), DefFontData().Name);
  EXPECT_FLOAT_EQ(ElementByID<TdxSVGElementText>(plain.get(), L"t")->ActualFontSize(), 8);
}

// ---------------------------------------------------------------------------
// Lookups and the tree

TEST(SVGTree, IdsAreFoundIgnoringCaseChildrenFirst) {
  const auto root = ImportSVG(R"svg(<svg><g><rect id="x" width="1"/></g><rect id="X" width="2"/><rect id="a1"/></svg>)svg");
  TdxSVGElement* found = nullptr;
  ASSERT_TRUE(root->FindByID(L"A1", found));
  EXPECT_EQ(found->ID(), L"a1");
  ASSERT_TRUE(root->FindByID(L"x", found));
  EXPECT_EQ(found->GetBounds(), TdxRectF(0, 0, 2, 0));
  EXPECT_FALSE(root->FindByID(L"", found));
  EXPECT_FALSE(root->FindByID(L"missing", found));
  EXPECT_TRUE(found == nullptr);
  TdxSVGElement* typed = nullptr;
  EXPECT_FALSE(root->GetElement(0)->FindByID(L"a1", TdxSVGElementCircle::ClassInfo(), typed));
  EXPECT_TRUE(root->GetElement(0)->FindByID(L"a1", TdxSVGElementRectangle::ClassInfo(), typed));
}

TEST(SVGTree, ParentsMoveChildrenAndClonesCopyTheSubtree) {
  const TOwned<TdxSVGElementRoot> root(New<TdxSVGElementRoot>());
  auto* g = New<TdxSVGElementGroup>(root.get());
  auto* a = New<TdxSVGElementRectangle>(g);
  auto* b = New<TdxSVGElementCircle>(g);
  a->SetID(L"a");
  a->SetFill(TdxSVGFill::Create(Red));
  EXPECT_EQ(g->Count(), 2);
  EXPECT_EQ(a->Root(), root.get());
  b->SetParent(root.get());
  EXPECT_EQ(g->Count(), 1);
  EXPECT_EQ(root->Count(), 2);
  EXPECT_EQ(root->GetElement(1), b);
  a->InsertInto(root.get(), 0);
  EXPECT_EQ(root->GetElement(0), a);
  EXPECT_EQ(g->Count(), 0);
  try {
    g->GetElement(0);
    ADD_FAILURE() << "no error";
  } catch (const EArgumentException& e) {
    EXPECT_EQ(e.Message(), L"Listenindex außerhalb des gültigen Bereichs (0)");
  }
  const TOwned<TdxSVGElement> copy(root->Clone());
  EXPECT_EQ(copy->ClassType(), TdxSVGElementRoot::ClassInfo());
  ASSERT_EQ(copy->Count(), 3);
  EXPECT_EQ(copy->GetElement(0)->ClassType(), TdxSVGElementRectangle::ClassInfo());
  EXPECT_EQ(copy->GetElement(0)->ID(), L"a");
  EXPECT_EQ(copy->GetElement(0)->Fill().AsColor(), Red);
  EXPECT_NE(copy->GetElement(0), a);
  // An element freed on its own leaves its parent.
  b->Free();
  EXPECT_EQ(root->Count(), 2);
}

TEST(SVGTree, ReferencesAreReplacedThroughTheSubtree) {
  const auto root = ImportSVG(R"svg(<svg><g id="g1" clip-path="url(#C)" fill="url(#grad)">
    <use id="u" xlink:href="#GRAD" stroke="url(#Grad)"/></g></svg>)svg");
  root->ReplaceReference(L"grad", L"g2");
  root->ReplaceReference(L"c", L"clip");
  auto* g = ElementByID<TdxSVGElement>(root.get(), L"g1");
  EXPECT_EQ(g->Fill().AsReference(), L"g2");
  EXPECT_EQ(g->ClipPath(), L"clip");
  auto* use = ElementByID<TdxSVGElementUse>(root.get(), L"u");
  EXPECT_EQ(use->Reference(), L"g2");
  EXPECT_EQ(use->Stroke().AsReference(), L"g2");
}

TEST(SVGTree, AGradientWithoutX2RunsAcrossTheWholeBox) {
  const auto root = ImportSVG(R"svg(<svg viewBox="0 0 100 10"><linearGradient id="g"><stop offset="0" stop-color="red"/>
    <stop offset="1" stop-color="blue"/></linearGradient><rect width="100" height="10" fill="url(#g)"/></svg>)svg");
  TSVGSurface surface(100, 10);
  surface.Draw(root.get());
  EXPECT_GT(RedOf(surface.Pixel(2, 5)), 240);
  EXPECT_GT(BlueOf(surface.Pixel(97, 5)), 240);
}

}  // namespace
