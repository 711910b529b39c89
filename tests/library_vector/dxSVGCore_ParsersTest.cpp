// The text forms of SVG values: numbers, lengths, rectangles, colours,
// paints, references, keywords, transforms, path data, styles and fonts.
#include "library/vector/dxSVGCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Narrow(const String& S) { return std::string(S.begin(), S.end()); }

// ---------------------------------------------------------------------------
// Numbers

TEST(SVGNumbers, TheTokenizerSplitsAtSignsDotsAndSeparators) {
  const struct {
    const wchar_t* Text;
    float PercentBase;
    std::vector<float> Numbers;
  } cases[] = {
      {L"10-5.5.5e2", 100, {10, -5.5f, 50}},
      {L"1,2 3", 100, {1, 2, 3}},
      {L"10px", 100, {10}},
      {L"1.5.5", 100, {1.5f, 0.5f}},
      {L"1e5", 100, {100000}},
      {L"1e-2 2E+1", 100, {0.01f, 20}},
      {L"1e", 100, {}},
      {L"-.5+.25", 100, {-0.5f, 0.25f}},
      {L"+3", 100, {3}},
      {L" 1 , -2 ", 100, {1, -2}},
      {L"50%", 100, {50}},
      {L"100% 0%", 255, {255, 0}},
      {L"rotate(45,1,2)", 100, {45, 1, 2}},
      {L"1e5e5 7", 100, {7}},
      {L"1e999", 100, {}},
      {L"", 100, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    const TdxSVGValues values = TdxSVGParserNumbers::AsNumbers(c.Text, c.PercentBase);
    ASSERT_EQ(values.Count(), static_cast<int>(c.Numbers.size()));
    for (int i = 0; i < values.Count(); ++i) EXPECT_FLOAT_EQ(values.Items(i), c.Numbers[static_cast<std::size_t>(i)]);
  }
}

TEST(SVGNumbers, PointsArePairsAndAnOddNumberIsDropped) {
  TdxSVGPoints points;
  points.Add(TdxPointF(9, 9));
  TdxSVGParserNumbers::AsPoints(L"1,2 3,4 5", points);
  ASSERT_EQ(points.Count(), 2);
  EXPECT_EQ(points.Items(0), TdxPointF(1, 2));
  EXPECT_EQ(points.Items(1), TdxPointF(3, 4));
  EXPECT_EQ(points.BoudingRect(), TdxRectF(1, 2, 3, 4));
  EXPECT_EQ(TdxSVGPoints().BoudingRect(), TdxRectF());
}

TEST(SVGNumbers, FloatsAreWrittenWithAtMostFiveDecimals) {
  const struct {
    float Value;
    const wchar_t* Text;
  } cases[] = {{1.5f, L"1.5"}, {0.123456f, L"0.12346"}, {100, L"100"}, {-0.5f, L"-0.5"},
               {1e-7f, L"0"},  {1e7f, L"10000000"},     {0.1f, L"0.1"}};
  for (const auto& c : cases) EXPECT_EQ(dxSVGFloatToString(c.Value), c.Text) << c.Value;
}

// ---------------------------------------------------------------------------
// Lengths

TEST(SVGLengths, ANumberTakesTheUnitAfterItsLastDigit) {
  const struct {
    const wchar_t* Text;
    bool Valid;
    float Data;
    TdxSVGUnitsType Units;
  } cases[] = {
      {L"12.5mm", true, 12.5f, utMm}, {L"50%", true, 50, utPercents}, {L"1e3", true, 1000, utPx},
      {L" 24px ", true, 24, utPx},    {L"3PT", true, 3, utPt},         {L"-2in", true, -2, utIn},
      {L"4 cm", true, 4, utCm},       {L"6pc", true, 6, utPc},         {L"7", true, 7, utPx},
      {L"em", false, 0, utPx},        {L"5em", false, 0, utPx},        {L"", false, 0, utPx},
      {L"abc", false, 0, utPx},       {L"1.2.3", false, 0, utPx},      {L"1,5px", false, 0, utPx},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    TdxSVGValue value = TdxSVGValue::Create(99, utCm);
    ASSERT_EQ(TdxSVGParserValue::Parse(c.Text, value), c.Valid);
    if (!c.Valid) continue;
    EXPECT_FLOAT_EQ(value.Data, c.Data);
    EXPECT_EQ(value.UnitsType, c.Units);
  }
}

TEST(SVGLengths, UnitsConvertToPixelsAt96DPI) {
  const struct {
    TdxSVGValue Value;
    float Pixels;
  } cases[] = {
      {TdxSVGValue::Create(12, utPt), 16},   {TdxSVGValue::Create(1, utIn), 96},
      {TdxSVGValue::Create(6, utPc), 96},    {TdxSVGValue::Create(2.54f, utCm), 96},
      {TdxSVGValue::Create(25.4f, utMm), 96}, {TdxSVGValue::Create(10, utPx), 10},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(c.Value.ToPixels(), c.Pixels, 1e-4) << c.Value.UnitsType;
    EXPECT_NEAR(c.Value.ToPixels(96, 500), c.Pixels, 1e-4) << c.Value.UnitsType;
  }
  EXPECT_FLOAT_EQ(TdxSVGValue::Create(50, utPercents).ToPixels(96, 200), 100);
  try {
    TdxSVGValue::Create(50, utPercents).ToPixels(96);
    ADD_FAILURE() << "no error";
  } catch (const EArgumentException& e) {
    EXPECT_EQ(e.Message(), L"TdxSVGValue.ToPixels");
  }
  EXPECT_TRUE(TdxSVGValue::Create(0.00005f).IsEmpty());
  EXPECT_FALSE(TdxSVGValue::Create(0.001f).IsEmpty());
  EXPECT_NE(TdxSVGValue::Create(1, utPx), TdxSVGValue::Create(1, utMm));
}

TEST(SVGRectangles, FourNumbersMakeARectangleAndAnyOtherCountNone) {
  const struct {
    const wchar_t* Text;
    TdxRectF Rect;
  } cases[] = {
      {L"0 0 32 32", TdxRectF(0, 0, 32, 32)},    {L"new 0 0 10 20", TdxRectF(0, 0, 10, 20)},
      {L"10,20,30,40", TdxRectF(10, 20, 40, 60)}, {L"1 2 3", TdxRectF()},
      {L"1 2 3 4 5", TdxRectF()},                 {L"", TdxRectF()},
  };
  for (const auto& c : cases) EXPECT_EQ(TdxSVGParserRect::Parse(c.Text), c.Rect) << Narrow(c.Text);
}

// ---------------------------------------------------------------------------
// Colours, paints and references

TEST(SVGColours, EveryFormGivesItsColourAndMalformedOnesAreInvalid) {
  const TdxAlphaColor marker = TdxSVGFill::DefaultColor;
  const struct {
    const wchar_t* Text;
    bool Valid;
    TdxAlphaColor Color;
  } cases[] = {
      {L"rgb(100%, 0%, 0%)", true, 0xFFFF0000}, {L"rgb(0, 128, 255)", true, 0xFF0080FF},
      {L"rgb(300,-5,0)", true, 0xFFFF0000},     {L"rgb(1,2)", false, 0},
      {L"#F00", true, 0xFFFF0000},              {L"#00ff00", true, 0xFF00FF00},
      {L"red", true, 0xFFFF0000},               {L"CornflowerBlue", true, 0xFF6495ED},
      {L"none", true, 0},                       {L"bogus", true, 0},
      {L"inherit", true, marker},               {L"#12", false, 0},
      {L"#GG0000", false, 0},                   {L"#ff000080", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    TdxAlphaColor color = 0x12345678;
    ASSERT_EQ(TdxSVGAttributeConverter::TryStringToColor(c.Text, color), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(color, c.Color);
    }
  }
  EXPECT_EQ(TdxSVGAttributeConverter::StringToColor(L"rgb(1,2)"), marker);
  EXPECT_THROW(TdxSVGAttributeConverter::StringToColor(L"#GG0000"), EConvertError);
}

TEST(SVGColours, ColoursAreWrittenAsTheyReadBack) {
  EXPECT_EQ(TdxSVGAttributeConverter::ColorToString(0), L"none");
  EXPECT_EQ(TdxSVGAttributeConverter::ColorToString(TdxSVGFill::DefaultColor), L"");
  EXPECT_EQ(TdxSVGAttributeConverter::ColorToString(0xFF727272), L"#727272");
}

TEST(SVGPaints, UrlReferencesNameAnIdAndOtherTextIsAColour) {
  const struct {
    const wchar_t* Text;
    TdxSVGFill Fill;
  } cases[] = {
      {L"url(#g1)", TdxSVGFill::Create(String(L"g1"))},
      {L"  URL(#g1) ", TdxSVGFill::Create(String(L"g1"))},
      {L"url(g1)", TdxSVGFill::Default()},
      {L"#fff", TdxSVGFill::Create(0xFFFFFFFF)},
      {L"none", TdxSVGFill::Create(0)},
      {L" blue ", TdxSVGFill::Create(0xFF0000FF)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    TdxSVGFill fill = TdxSVGFill::Create(0x01);
    ASSERT_TRUE(TdxSVGAttributeConverter::TryStringToFill(c.Text, fill));
    EXPECT_TRUE(fill == c.Fill);
  }
  TdxSVGFill fill = TdxSVGFill::Create(String(L"Grad"));
  EXPECT_TRUE(fill.IsReference());
  EXPECT_FALSE(fill.IsEmpty());
  fill.UpdateReference(L"gRAD", L"other");
  EXPECT_EQ(fill.AsReference(), L"other");
  EXPECT_TRUE(TdxSVGFill::Default().IsDefault());
  EXPECT_TRUE(TdxSVGFill::Create(0).IsEmpty());
  EXPECT_TRUE(TdxSVGFill::Create(String()).IsEmpty());
}

TEST(SVGReferences, OnlyAHashNamesAnId) {
  const struct {
    const wchar_t* Text;
    const wchar_t* ID;
  } cases[] = {{L" url(#a) ", L"a"}, {L"Url(#b)", L"b"}, {L"#c", L"c"}, {L"d", L""}, {L"url(e)", L""}, {L"", L""}};
  for (const auto& c : cases) {
    EXPECT_EQ(TdxSVGAttributeConverter::StringToReference(c.Text), c.ID) << Narrow(c.Text);
  }
  EXPECT_EQ(TdxSVGAttributeConverter::ReferenceToString(L"a"), L"url(#a)");
  EXPECT_EQ(TdxSVGAttributeConverter::ReferenceToString(L"a", true), L"#a");
  EXPECT_EQ(TdxSVGAttributeConverter::ReferenceToString(L""), L"");
}

TEST(SVGKeywords, EachTableReadsItsKeywordsInOrderAndFallsBackOtherwise) {
  using C = TdxSVGAttributeConverter;
  EXPECT_EQ(C::StringToContentUnits(L"userSpaceOnUse"), cuUserSpaceOnUse);
  EXPECT_EQ(C::StringToContentUnits(L"objectBoundingBox"), cuObjectBoundingBox);
  EXPECT_EQ(C::StringToContentUnits(L"userspaceonuse"), cuObjectBoundingBox);
  EXPECT_EQ(C::StringToFillMode(L"nonzero"), fmNonZero);
  EXPECT_EQ(C::StringToFillMode(L"evenodd"), fmEvenOdd);
  EXPECT_EQ(C::StringToFillMode(L"inherit"), fmInherit);
  EXPECT_EQ(C::StringToFillMode(L"EvenOdd"), fmInherit);
  EXPECT_EQ(C::StringToLineCapStyle(L"butt"), lcsButt);
  EXPECT_EQ(C::StringToLineCapStyle(L"square"), lcsSquare);
  EXPECT_EQ(C::StringToLineCapStyle(L"round"), lcsRound);
  EXPECT_EQ(C::StringToLineCapStyle(L"x"), lcsDefault);
  EXPECT_EQ(C::StringToLineJoin(L"miter"), LineJoinMiter);
  EXPECT_EQ(C::StringToLineJoin(L"bevel"), LineJoinBevel);
  EXPECT_EQ(C::StringToLineJoin(L"round"), LineJoinRound);
  EXPECT_EQ(C::StringToLineJoin(L""), LineJoinMiterClipped);
  EXPECT_EQ(C::StringToLineJoin(L"arcs"), LineJoinMiter);
  EXPECT_EQ(C::StringToTextAnchor(L"start"), taStart);
  EXPECT_EQ(C::StringToTextAnchor(L"middle"), taMiddle);
  EXPECT_EQ(C::StringToTextAnchor(L"end"), taEnd);
  EXPECT_EQ(C::StringToTextAnchor(L"left"), taInherit);
}

// ---------------------------------------------------------------------------
// Transforms

TEST(SVGTransforms, ListsApplyTheirLastOperatorFirst) {
  const struct {
    const wchar_t* Text;
    TdxPointF From;
    TdxPointF To;
  } cases[] = {
      {L"rotate(90 10 10)", {20, 10}, {10, 20}},
      {L"rotate(90)", {1, 0}, {0, 1}},
      {L"scale(2)", {3, 4}, {6, 8}},
      {L"scale(2, 3)", {3, 4}, {6, 12}},
      {L"translate(5)", {1, 1}, {6, 1}},
      {L"translate(10) scale(2)", {1, 1}, {12, 2}},
      {L"scale(2) translate(10)", {1, 1}, {22, 2}},
      {L"matrix(1 0 0 1 5 6)", {1, 1}, {6, 7}},
      {L"matrix(0,1,-1,0,0,0)", {1, 0}, {0, 1}},
      {L"skewX(45)", {0, 1}, {1, 1}},
      {L"skewY(45)", {1, 0}, {1, 1}},
      {L"translate(1,2)\n\trotate(180)", {1, 0}, {0, 2}},
      {L",translate(5)", {1, 1}, {1, 1}},
      {L"translate (5)", {1, 1}, {1, 1}},
      {L"bogus(1) translate(2 3)", {0, 0}, {2, 3}},
      {L"Translate(5)", {1, 1}, {1, 1}},
      {L"", {1, 1}, {1, 1}},
  };
  const TOwned<TdxMatrix> matrix(New<TdxMatrix>());
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    matrix->Assign(9, 9, 9, 9, 9, 9);
    TdxSVGParserTransform::Parse(c.Text, matrix.get());
    const TdxPointF p = matrix->Transform(c.From);
    EXPECT_NEAR(p.X, c.To.X, 1e-4);
    EXPECT_NEAR(p.Y, c.To.Y, 1e-4);
  }
}

// ---------------------------------------------------------------------------
// Path data

std::string FormatPoint(const TdxPointF& P) {
  std::ostringstream s;
  s << P.X << ',' << P.Y;
  return s.str();
}

// One line per command: its letter and its points (start first).
std::string DescribePath(const String& AData) {
  const TOwned<TdxSVGParserPath> parser(New<TdxSVGParserPath>());
  parser->Parse(AData);
  std::string result;
  for (int i = 0; i < parser->CommandCount(); ++i) {
    TdxSVGParserPathCommand* c = parser->GetCommand(i);
    if (!result.empty()) result += "; ";
    if (Is<TdxSVGParserPathCommandMoveTo>(c)) {
      result += "M";
    } else if (Is<TdxSVGParserPathCommandOpen>(c)) {
      result += "O";
    } else if (Is<TdxSVGParserPathCommandClose>(c)) {
      result += "Z";
    } else if (auto* l = dynamic_cast<TdxSVGParserPathCommandLine*>(c)) {
      result += "L " + FormatPoint(l->StartPoint);
    } else if (auto* cu = dynamic_cast<TdxSVGParserPathCommandCurveTo*>(c)) {
      result += "C " + FormatPoint(cu->StartPoint) + " " + FormatPoint(cu->Point1) + " " + FormatPoint(cu->Point2);
    } else if (auto* q = dynamic_cast<TdxSVGParserPathCommandQuadraticCurveTo*>(c)) {
      result += "Q " + FormatPoint(q->StartPoint) + " " + FormatPoint(q->MiddlePoint);
    } else if (auto* a = dynamic_cast<TdxSVGParserPathCommandArc*>(c)) {
      std::ostringstream s;
      s << "A " << FormatPoint(a->StartPoint) << " r" << FormatPoint(a->Radius) << " " << a->Angle << " "
        << a->LargeArc << a->Sweep;
      result += s.str();
    }
    result += " > " + FormatPoint(c->FinishPoint);
  }
  return result;
}

TEST(SVGPathData, EveryCommandAbsoluteRelativeAndRepeated) {
  const struct {
    const wchar_t* Data;
    const char* Commands;
  } cases[] = {
      {L"M10 10 L20 20 30 10 Z", "M > 10,10; O > 10,10; L 10,10 > 20,20; L 20,20 > 30,10; Z > 10,10"},
      {L"m10 10 20 0 0 20", "M > 10,10; O > 10,10; L 10,10 > 30,10; L 30,10 > 30,30"},
      {L"M1 1 m2 2", "M > 1,1; O > 1,1; M > 3,3; O > 3,3"},
      {L"l 1 1 1 1", "L 0,0 > 1,1; L 1,1 > 2,2"},
      {L"M5,5 h 10 v 5 H 2 V 1", "M > 5,5; O > 5,5; L 5,5 > 15,5; L 15,5 > 15,10; L 15,10 > 2,10; L 2,10 > 2,1"},
      {L"h1 2 v1 2", "L 0,0 > 1,0; L 1,0 > 3,0; L 3,0 > 3,1; L 3,1 > 3,3"},
      {L"M0 0 C 0 10 10 10 10 0 S 20 -10 20 0",
       "M > 0,0; O > 0,0; C 0,0 0,10 10,10 > 10,0; C 10,0 10,-10 20,-10 > 20,0"},
      {L"c 1 1 2 2 3 3 1 1 2 2 3 3", "C 0,0 1,1 2,2 > 3,3; C 3,3 4,4 5,5 > 6,6"},
      {L"M1 1 s 1 1 2 2", "M > 1,1; O > 1,1; C 1,1 1,1 2,2 > 3,3"},
      {L"s 1 1 2 2", "C 0,0 0,0 1,1 > 2,2"},
      {L"M0 0 Q 5 5 10 0 T 20 0", "M > 0,0; O > 0,0; Q 0,0 5,5 > 10,0; Q 10,0 15,-5 > 20,0"},
      {L"q 1 1 2 0 1 1 2 0", "Q 0,0 1,1 > 2,0; Q 2,0 3,1 > 4,0"},
      {L"t 5 5", "Q 0,0 0,0 > 5,5"},
      {L"M0 0 C 1 1 2 2 3 3 T 4 4", "M > 0,0; O > 0,0; C 0,0 1,1 2,2 > 3,3; Q 3,3 3,3 > 4,4"},
      {L"M0 0 a 5 5 30 0 1 10 0 A -5 -6 0 1 0 0 0", "M > 0,0; O > 0,0; A 0,0 r5,5 30 01 > 10,0; A 10,0 r5,6 0 10 > 0,0"},
      {L"M 0 0 L 10 10 z L 5 5", "M > 0,0; O > 0,0; L 0,0 > 10,10; Z > 0,0; L 0,0 > 5,5"},
      {L"z", "Z > 0,0"},
      {L"M", ""},
      {L"M1E5 0", ""},
      {L"M0 0 X 5 5 L 1 1", "M > 0,0; O > 0,0; L 0,0 > 1,1"},
      {L"M1-2-3-4", "M > 1,-2; O > 1,-2; L 1,-2 > -3,-4"},
      {L"M 1 2 3", "M > 1,2; O > 1,2"},
  };
  for (const auto& c : cases) EXPECT_EQ(DescribePath(c.Data), c.Commands) << Narrow(c.Data);
}

// The points of the path flattened finely.
std::vector<TdxPointF> FlatPoints(const String& AData) {
  const TOwned<TdxSVGPath> path(New<TdxSVGPath>());
  path->FromString(AData);
  path->Flatten(nullptr, 0.01f);
  std::vector<Gdiplus::PointF> points(static_cast<std::size_t>(path->GetPointCount()));
  if (!points.empty()) GdipGetPathPoints(path->Handle(), points.data(), static_cast<INT>(points.size()));
  std::vector<TdxPointF> result;
  for (const Gdiplus::PointF& p : points) result.emplace_back(p.X, p.Y);
  return result;
}

TEST(SVGPathData, ArcsFollowTheirEllipse) {
  const struct {
    const char* Name;
    const wchar_t* Data;
    TdxPointF Centre;
    float Radius;
    float MinY, MaxY;  // where the arc lies
  } cases[] = {
      // Radii too small for the end points: half a circle scaled up to fit.
      {"half, sweep", L"M0 0 A1 1 0 0 1 10 0", {5, 0}, 5, -5, 0},
      {"half, no sweep", L"M0 0 A1 1 0 0 0 10 0", {5, 0}, 5, 0, 5},
      {"large and sweep", L"M0 0 A10 10 0 1 1 10 0", {5, -8.660254f}, 10, -18.660254f, 0},
      {"small and sweep", L"M0 0 A10 10 0 0 1 10 0", {5, 8.660254f}, 10, -1.339746f, 0},
      {"large, no sweep", L"M0 0 A10 10 0 1 0 10 0", {5, 8.660254f}, 10, 0, 18.660254f},
      {"relative full circle", L"M 40 20 a 20 20 0 0 1 -40 0 a 20 20 0 0 1 40 0 Z", {20, 20}, 20, 0, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<TdxPointF> points = FlatPoints(c.Data);
    ASSERT_GT(points.size(), 8u);
    float minY = points[0].Y;
    float maxY = points[0].Y;
    for (const TdxPointF& p : points) {
      EXPECT_NEAR(std::hypot(p.X - c.Centre.X, p.Y - c.Centre.Y), c.Radius, 0.02f) << p.X << "," << p.Y;
      minY = std::min(minY, p.Y);
      maxY = std::max(maxY, p.Y);
    }
    EXPECT_NEAR(minY, c.MinY, 0.05f);
    EXPECT_NEAR(maxY, c.MaxY, 0.05f);
  }
  // An ellipse turned by 90 degrees: its long axis runs along y, and the
  // sweep takes the half on the right.
  float maxX = 0;
  for (const TdxPointF& p : FlatPoints(L"M 0 0 A 10 5 90 0 1 0 20")) {
    EXPECT_NEAR(std::pow((p.Y - 10) / 10, 2.0f) + std::pow(p.X / 5, 2.0f), 1, 0.01f) << p.X << "," << p.Y;
    EXPECT_GE(p.X, -0.01f);
    maxX = std::max(maxX, p.X);
  }
  EXPECT_NEAR(maxX, 5, 0.05f);
}

TEST(SVGPathData, DegenerateArcsDrawALineOrNothing) {
  const TOwned<TdxSVGPath> path(New<TdxSVGPath>());
  path->FromString(L"M5 5 A 3 3 0 0 1 5 5");
  EXPECT_EQ(path->GetPointCount(), 0);
  path->FromString(L"M0 0 A 0 3 0 0 1 10 10");
  EXPECT_EQ(path->GetPointCount(), 2);
  EXPECT_EQ(path->GetBoundsF(), TdxRectF(0, 0, 10, 10));
}

TEST(SVGPathData, APathKeepsItsTextAndCopiesOnlyFromPaths) {
  const TOwned<TdxSVGPath> path(New<TdxSVGPath>());
  path->FromString(L"M0 0 L 10 0 L 10 10 Z");
  EXPECT_EQ(path->ToString(), L"M0 0 L 10 0 L 10 10 Z");
  const TOwned<TdxSVGPath> copy(New<TdxSVGPath>());
  copy->Assign(path.get());
  EXPECT_EQ(copy->ToString(), path->ToString());
  EXPECT_EQ(copy->GetPointCount(), path->GetPointCount());
  const TOwned<TdxGPPath> plain(New<TdxGPPath>());
  try {
    copy->Assign(plain.get());
    ADD_FAILURE() << "no error";
  } catch (const EArgumentException& e) {
    EXPECT_EQ(e.Message(), L"");
  }
  path->FromString(L"");
  EXPECT_EQ(path->GetPointCount(), 0);
}

// ---------------------------------------------------------------------------
// Styles and fonts

TEST(SVGInlineStyles, DeclarationsBecomeAttributes) {
  const TOwned<TdxXMLNode> style(New<TdxXMLNode>());
  TdxSVGInlineStyles::Parse(style.get(), L" fill : red ;stroke:blue;bad; font:a:b ;fill:#fff;");
  EXPECT_EQ(style->Attributes()->GetValueAsString("fill"), L"#fff");
  EXPECT_EQ(style->Attributes()->GetValueAsString("stroke"), L"blue");
  EXPECT_EQ(style->Attributes()->GetValueAsString("font"), L"a:b");
  EXPECT_EQ(style->Attributes()->Count(), 3);
}

TEST(SVGFonts, FamilyListsAreUnquotedTrimmedAndJoined) {
  EXPECT_EQ(TdxSVGFontFamilyString::Decode(L" 'Segoe UI' , \"Arial\",, sans-serif"), L"Segoe UI,Arial,sans-serif");
  EXPECT_EQ(TdxSVGFontFamilyString::Encode(L"Segoe UI"), L"\"Segoe UI\"");
  EXPECT_EQ(TdxSVGFontFamilyString::Encode(L"Arial"), L"Arial");
  EXPECT_EQ(TdxSVGFontFamilyString::Include(L"", L"b"), L"b");
  EXPECT_EQ(TdxSVGFontFamilyString::Include(L"a", L""), L"a");
  EXPECT_EQ(TdxSVGFontFamilyString::Include(L"a", L"b"), L"a,b");
}

TEST(SVGFonts, TheShorthandGivesStylesTheFirstSizeAndTheFamily) {
  const struct {
    const wchar_t* Text;
    bool Valid;
    const wchar_t* Name;
    TFontStyles Styles;
    float Size;
  } cases[] = {
      {L"italic bold 12px/30px Georgia, serif", true, L"Georgia,serif", {fsItalic, fsBold}, 12},
      {L"50% \"Segoe UI\"", true, L"\"Segoe UI\"", {}, 4},
      {L"12pt underline line-through Arial", true, L"Arial", {fsUnderline, fsStrikeOut}, 16},
      {L"bold", false, L"", {fsBold}, 0},
      {L"12px", false, L"", {}, 12},
      {L"Bold 10px x", true, L"Bold,x", {}, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Text));
    String name;
    TFontStyles styles;
    float size = -1;
    EXPECT_EQ(TdxSVGFontStyleString::Parse(c.Text, name, styles, size), c.Valid);
    EXPECT_EQ(TdxSVGFontFamilyString::Decode(name), TdxSVGFontFamilyString::Decode(c.Name));
    EXPECT_TRUE(styles == c.Styles);
    EXPECT_FLOAT_EQ(size, c.Size);
  }
  EXPECT_EQ(TdxSVGFontStyleString::Build(L"Segoe UI", {fsBold, fsItalic, fsUnderline}, 12.5f),
            L"italic bold 12.5px \"Segoe UI\"");
  String name;
  TFontStyles styles;
  float size;
  ASSERT_TRUE(TdxSVGFontStyleString::Parse(TdxSVGFontStyleString::Build(L"Segoe UI,Arial", {fsBold}, 9), name, styles, size));
  EXPECT_EQ(TdxSVGFontFamilyString::Decode(name), L"Segoe UI,Arial");
  EXPECT_TRUE(styles == TFontStyles{fsBold});
  EXPECT_FLOAT_EQ(size, 9);
}

}  // namespace
