// Shape mark-up read into shapes and drawn into a 32-bit surface, checked at
// chosen pixels; and mark-up that is not what the reader expects.
#include "tests/library_vector/ShapeTesting.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class ShapeReader : public ShapeTest {};

constexpr COLORREF Black = RGB(0, 0, 0);

// What a pixel should show.
enum class TShapeInk { Background, Any, Red, Green, Blue, Reddish, Bluish };

struct TShapeProbe {
  int X;
  int Y;
  TShapeInk Ink;
};

bool ShowsInk(COLORREF AColor, TShapeInk AInk, COLORREF ABackground) {
  switch (AInk) {
    case TShapeInk::Background: return AColor == ABackground;
    case TShapeInk::Any: return AColor != ABackground;
    case TShapeInk::Red: return AColor == RGB(255, 0, 0);
    case TShapeInk::Green: return AColor == RGB(0, 128, 0);
    case TShapeInk::Blue: return AColor == RGB(0, 0, 255);
    case TShapeInk::Reddish: return GetRValue(AColor) > 190 && GetBValue(AColor) < 70;
    case TShapeInk::Bluish: return GetBValue(AColor) > 190 && GetRValue(AColor) < 70;
  }
  return false;
}

struct TShapeDocument {
  std::string Name;
  std::string Markup;
  std::vector<TShapeProbe> Probes;
  // Wine paints path gradients in their centre and surround colours, white
  // by default: those documents are drawn on black and show where ink lies.
  COLORREF Background = ShapeWhite;
};

std::vector<TShapeDocument> Documents() {
  using enum TShapeInk;
  std::vector<TShapeDocument> result = {
      {"a canvas child placed by attached properties",
       R"(<Canvas><Rectangle Canvas.Left="10" Canvas.Top="5" Width="20" Height="10" Fill="Red"/></Canvas>)",
       {{10, 5, Red}, {29, 14, Red}, {9, 5, Background}, {30, 14, Background}, {10, 15, Background}}},
      {"nested canvases: each shape at its own place",
       R"(<Canvas>
            <Canvas Canvas.Left="100">
              <Ellipse Canvas.Left="2" Canvas.Top="2" Width="16" Height="16" Fill="Blue"/>
              <Canvas><Rectangle Canvas.Left="20" Width="10" Height="10" Fill="Green"/></Canvas>
            </Canvas>
            <Rectangle Canvas.Top="20" Width="10" Height="10" Fill="#FF0000"/>
          </Canvas>)",
       {{10, 10, Blue}, {2, 2, Background}, {25, 5, Green}, {5, 25, Red}, {35, 35, Background}}},
      {"a linear gradient in the Fill property element",
       R"(<Rectangle Width="40" Height="20">
            <Rectangle.Fill>
              <LinearGradientBrush StartPoint="0,0" EndPoint="1,0">
                <LinearGradientBrush.GradientStops>
                  <GradientStop Color="Red" Offset="0"/>
                  <GradientStop Color="Blue" Offset="1"/>
                </LinearGradientBrush.GradientStops>
              </LinearGradientBrush>
            </Rectangle.Fill>
          </Rectangle>)",
       {{1, 10, Reddish}, {38, 10, Bluish}, {20, 25, Background}}},
      {"gradient stops straight under their brush",
       R"(<Rectangle Width="20" Height="40"><Rectangle.Fill>
            <LinearGradientBrush StartPoint="0,0" EndPoint="0,1">
              <GradientStop Color="Blue" Offset="0"/><GradientStop Color="Red" Offset="1"/>
            </LinearGradientBrush></Rectangle.Fill></Rectangle>)",
       {{10, 1, Bluish}, {10, 38, Reddish}}},
      {"a radial gradient",
       R"(<Ellipse Canvas.Left="5" Canvas.Top="5" Width="30" Height="30"><Ellipse.Fill>
            <RadialGradientBrush Center="0.5,0.5" RadiusX="0.5" RadiusY="0.5">
              <GradientStop Color="Red" Offset="0"/><GradientStop Color="Blue" Offset="1"/>
            </RadialGradientBrush></Ellipse.Fill></Ellipse>)",
       {{20, 20, Any}, {6, 20, Any}, {6, 6, Background}, {36, 20, Background}},
       Black},
      {"a Fill element takes no colour from the mark-up",
       R"(<Rectangle Width="10" Height="10"><Rectangle.Fill><Fill Color="Red"/></Rectangle.Fill></Rectangle>)",
       {{5, 5, Background}}},
      {"a transparent fill and a stroke",
       R"(<Rectangle Width="10" Height="10" Fill="Transparent" Stroke="Blue"/>)",
       {{5, 5, Background}, {0, 5, Blue}, {10, 5, Blue}}},
      {"a transformation group: scale, then translate",
       R"(<Rectangle Width="10" Height="10" Fill="Red"><Rectangle.RenderTransform><TransformGroup>
            <ScaleTransform ScaleX="2" ScaleY="2"/><TranslateTransform X="5" Y="5"/>
          </TransformGroup></Rectangle.RenderTransform></Rectangle>)",
       {{5, 5, Red}, {24, 24, Red}, {4, 4, Background}, {25, 25, Background}}},
      {"a rotation about the relative origin",
       R"(<Rectangle Width="20" Height="10" Fill="Red" RenderTransformOrigin="0.5,0.5">
            <Rectangle.RenderTransform><TransformGroup>
              <RotateTransform Angle="90"/><TranslateTransform X="10" Y="10"/>
            </TransformGroup></Rectangle.RenderTransform></Rectangle>)",
       {{20, 15, Red}, {16, 24, Red}, {10, 15, Background}, {20, 4, Background}, {26, 15, Background}}},
      {"a skew",
       R"(<Rectangle Width="10" Height="10" Fill="Red"><Rectangle.RenderTransform><TransformGroup>
            <SkewTransform AngleX="45"/><TranslateTransform X="5"/>
          </TransformGroup></Rectangle.RenderTransform></Rectangle>)",
       {{5, 0, Red}, {14, 0, Red}, {10, 9, Background}, {15, 9, Red}, {21, 9, Red}}},
      {"a path placed at its position, filled and stroked",
       R"(<Canvas><Path Canvas.Left="5" Canvas.Top="5" Data="M 100,100 L 120,100 120,120 100,120 Z"
                        Fill="Blue" Stroke="Red" StrokeThickness="2"/></Canvas>)",
       {{15, 15, Blue}, {5, 15, Red}, {25, 15, Red}, {2, 15, Background}, {15, 28, Background}}},
      {"a rounded rectangle",
       R"(<Rectangle Width="30" Height="30" RadiusX="4" RadiusY="4" Fill="Red"/>)",
       {{0, 0, Background}, {29, 29, Background}, {15, 0, Red}, {0, 15, Red}, {15, 15, Red}}},
      {"corner radii beyond a third of a side",
       R"(<Rectangle Width="30" Height="30" RadiusX="100" RadiusY="100" Fill="Red"/>)",
       {{2, 2, Background}, {15, 0, Red}, {0, 15, Red}}},
      {"Left and a translation: the translation alone places the shape",
       R"(<Rectangle Canvas.Left="20" Width="5" Height="5" Fill="Red"><Rectangle.RenderTransform><TransformGroup>
            <TranslateTransform X="2" Y="2"/></TransformGroup></Rectangle.RenderTransform></Rectangle>)",
       {{3, 3, Red}, {22, 3, Background}}},
      {"a transformation outside a group is not read",
       R"(<Rectangle Width="5" Height="5" Fill="Red"><Rectangle.RenderTransform>
            <TranslateTransform X="20"/></Rectangle.RenderTransform></Rectangle>)",
       {{2, 2, Red}, {22, 2, Background}}},
      {"attributes and elements nobody knows",
       R"(<Canvas xmlns="urn:shapes" Count="5" Foo="bar"><Rectangle x:Name="a" Brush="Blue" Width="5" Height="5" Fill="Red">
            <Rectangle.Stroke><SolidColorBrush Color="Blue"/></Rectangle.Stroke><Extra Width="x"/>
          </Rectangle></Canvas>)",
       {{2, 2, Red}, {6, 2, Background}}},
  };
  // A view box's stretch mode is none of the reader's business.
  for (const char* stretch : {"None", "Fill", "Uniform", "UniformToFill"})
    result.push_back({std::string("a view box, stretch ") + stretch,
                      std::string(R"(<Viewbox Width="80" Height="80" Stretch=")") + stretch +
                          R"("><Canvas><Rectangle Width="10" Height="10" Fill="Red"/></Canvas></Viewbox>)",
                      {{5, 5, TShapeInk::Red}, {15, 15, TShapeInk::Background}}});
  return result;
}

TEST_F(ShapeReader, DocumentsDrawWhereTheirMarkupPutsThem) {
  for (const TShapeDocument& document : Documents()) {
    SCOPED_TRACE(document.Name);
    const TOwned<TdxShapeObject> shape = Load(document.Markup.c_str());
    TGpSurface surface(40, 40, document.Background);
    Draw(shape.get(), surface);
    for (const TShapeProbe& probe : document.Probes)
      EXPECT_TRUE(ShowsInk(surface.Pixel(probe.X, probe.Y), probe.Ink, document.Background))
          << "at " << probe.X << "," << probe.Y << ": " << std::hex << surface.Pixel(probe.X, probe.Y) << "\n"
          << surface.Picture(document.Background);
  }
}

TEST_F(ShapeReader, ReadingBuildsTheObjectTree) {
  const TOwned<TdxShapeObject> object = Load(R"(<Viewbox Count="7">
      <Canvas Name="inner"><Ellipse Name="e"/><Path Name="p" Data="M 0,0 L 1,1"/></Canvas>
      <Rectangle Name="r" Stroke="#8000FF00" StrokeThickness="2.5">
        <Rectangle.Fill><RadialGradientBrush Center="0.25,0.75" RadiusX="0.125">
          <RadialGradientBrush.GradientStops>
            <GradientStop Color="#10203040" Offset="0.5"/><GradientStop Offset="0.25"/>
          </RadialGradientBrush.GradientStops>
          <RadialGradientBrush.RelativeTransformation><TransformGroup><RotateTransform Angle="5"/></TransformGroup>
          </RadialGradientBrush.RelativeTransformation>
        </RadialGradientBrush></Rectangle.Fill>
        <Rectangle.RenderTransform><TransformGroup><SkewTransform AngleY="3" CenterX="1"/><ScaleTransform ScaleY="2"/>
        </TransformGroup></Rectangle.RenderTransform>
      </Rectangle></Viewbox>)");
  auto* viewBox = As<TdxShapeViewBox>(object.get());
  ASSERT_EQ(viewBox->Count(), 2);
  auto* inner = As<TdxShapeCanvas>(viewBox->GetShape(0));
  EXPECT_EQ(inner->Name(), L"inner");
  EXPECT_EQ(inner->Parent(), viewBox);
  ASSERT_EQ(inner->Count(), 2);
  EXPECT_EQ(As<TdxShapeEllipse>(inner->GetShape(0))->Name(), L"e");
  EXPECT_EQ(As<TdxShapePath>(inner->GetShape(1))->Points().size(), 2u) << "calculated with the document";

  auto* rectangle = As<TdxShapeRectangle>(viewBox->GetShape(1));
  EXPECT_EQ(rectangle->RefCount(), 1);
  EXPECT_EQ(rectangle->Pen()->Brush()->Color(), 0x8000FF00u);
  EXPECT_EQ(rectangle->StrokeThickness(), 2.5f);
  auto* brush = As<TdxShapeRadialGradientBrush>(rectangle->Brush());
  EXPECT_EQ(brush->Parent(), rectangle);
  EXPECT_EQ(brush->RadialBrush()->Center(), TdxPointF(0.25f, 0.75f));
  EXPECT_EQ(brush->RadialBrush()->Radius(), TdxPointF(0.125f, 0.5f));
  ASSERT_EQ(brush->GradientPoints()->Count(), 2);
  EXPECT_EQ(brush->GradientPoints()->Offsets(0), 0.25f);
  EXPECT_EQ(brush->GradientPoints()->Colors(0), 0xFF000000u) << "no colour: opaque black";
  EXPECT_EQ(brush->GradientPoints()->Colors(1), 0x10203040u);
  EXPECT_EQ(brush->Transformations()->Count(), 1);

  TdxShapeTransformations* transformations = rectangle->Transformations();
  ASSERT_EQ(transformations->Count(), 2);
  auto* skew = As<TdxShapeSkewTransformation>(transformations->GetTransformation(0));
  EXPECT_EQ(skew->AngleY(), 3.0f);
  EXPECT_EQ(skew->CenterX(), 1.0f);
  EXPECT_EQ(skew->Parent(), rectangle);
  EXPECT_EQ(As<TdxShapeScaleTransformation>(transformations->GetTransformation(1))->ScaleX(), 1.0f);
  EXPECT_EQ(As<TdxShapeScaleTransformation>(transformations->GetTransformation(1))->ScaleY(), 2.0f);
}

TEST_F(ShapeReader, PropertyElementsLiveOnlyWhileTheyAreRead) {
  // Objects of property elements and unknown elements are freed once read:
  // none of them stays in the tree, and the leak check finds no GDI+ object.
  const TOwned<TdxShapeObject> object = Load(R"(<Rectangle><Rectangle.Fill><Fill/></Rectangle.Fill>
      <Unknown><Rectangle Width="5"><Rectangle.Fill><LinearGradientBrush/></Rectangle.Fill></Rectangle></Unknown>
      </Rectangle>)");
  auto* rectangle = As<TdxShapeRectangle>(object.get());
  EXPECT_EQ(rectangle->Brush()->ClassType(), TdxShapeSolidBrush::ClassInfo());
  EXPECT_EQ(rectangle->Transformations()->Count(), 0);
}

// ---------------------------------------------------------------------------
// Mark-up the reader does not expect

std::string ErrorOfShape(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const Exception& e) {
    std::string name;
    for (wchar_t c : e.ClassName()) name += static_cast<char>(c);
    return name;
  }
  return "";
}

std::string NestedCanvases(int ADepth) {
  std::string result;
  for (int i = 0; i < ADepth; ++i) result += "<Canvas>";
  result += R"(<Rectangle Width="5" Height="5" Fill="Red"/>)";
  for (int i = 0; i < ADepth; ++i) result += "</Canvas>";
  return result;
}

TEST_F(ShapeReader, MarkupOfTheWrongKindGivesItsErrorAndNothingElse) {
  const struct {
    const char* Name;
    std::string Markup;
    const char* Error;  // empty: read and drawn
  } cases[] = {
      {"a Fill element holding a shape", R"(<Rectangle><Rectangle.Fill><Ellipse/></Rectangle.Fill></Rectangle>)",
       "EInvalidCast"},
      {"a Fill element at the top", R"(<Rectangle.Fill><LinearGradientBrush/></Rectangle.Fill>)", "EInvalidCast"},
      {"a Fill element under a brush",
       R"(<LinearGradientBrush><LinearGradientBrush.Fill><Fill/></LinearGradientBrush.Fill></LinearGradientBrush>)",
       "EInvalidCast"},
      {"a gradient stop under a shape", R"(<Rectangle><GradientStop Color="Red"/></Rectangle>)", "EInvalidCast"},
      {"gradient stops of a solid brush",
       R"(<Rectangle><Rectangle.Fill><Fill><Fill.GradientStops><GradientStop/></Fill.GradientStops></Fill>
          </Rectangle.Fill></Rectangle>)",
       "EInvalidCast"},
      {"gradient stops at the top", R"(<Brush.GradientStops><GradientStop/></Brush.GradientStops>)", "EInvalidCast"},
      {"a canvas holding a brush", R"(<Canvas><LinearGradientBrush/></Canvas>)", "EInvalidCast"},
      {"a canvas holding an unknown element", R"(<Canvas><Polygon/></Canvas>)", "EInvalidCast"},
      {"a canvas holding a property element", R"(<Canvas><Canvas.RenderTransform/></Canvas>)", "EInvalidCast"},
      {"a transformation group holding a shape",
       R"(<Rectangle><Rectangle.RenderTransform><TransformGroup><Ellipse/></TransformGroup>
          </Rectangle.RenderTransform></Rectangle>)",
       "EInvalidCast"},
      {"a transformation group at the top",
       R"(<Shape.RenderTransform><TransformGroup><RotateTransform/></TransformGroup></Shape.RenderTransform>)",
       "EInvalidCast"},
      {"a width that is no number", R"(<Rectangle Width="ten"/>)", "EConvertError"},
      {"an empty width", R"(<Rectangle Width=""/>)", "EConvertError"},
      {"a width with a comma", R"(<Rectangle Width="1,5"/>)", "EConvertError"},
      {"a colour with a bad digit", R"(<Rectangle Fill="#12G456"/>)", "EConvertError"},
      {"a stroke with a bad digit", R"(<Rectangle Stroke="#Z"/>)", "EConvertError"},
      {"path data with numbers joined by a minus", R"(<Path Data="M 10-5,0 L 3,3"/>)", "EConvertError"},
      {"an origin that is no point", R"(<Rectangle RenderTransformOrigin="0.5"/>)", "EConvertError"},
      {"a gradient stop offset that is no number",
       R"(<Rectangle><Rectangle.Fill><LinearGradientBrush><GradientStop Offset="half"/></LinearGradientBrush>
          </Rectangle.Fill></Rectangle>)",
       "EConvertError"},
      {"a gradient between two equal points",
       R"(<Rectangle Width="10" Height="10"><Rectangle.Fill>
            <LinearGradientBrush StartPoint="0.5,0.5" EndPoint="0.5,0.5"><GradientStop Color="Red"/>
            </LinearGradientBrush></Rectangle.Fill></Rectangle>)",
       "EdxGdipException"},
      {"an empty Fill element", R"(<Rectangle Width="5" Height="5" Fill="Red"><Rectangle.Fill/></Rectangle>)", ""},
      {"an empty transformation element", R"(<Rectangle><Rectangle.RenderTransform/></Rectangle>)", ""},
      {"an empty group", R"(<Rectangle><Rectangle.RenderTransform><TransformGroup/></Rectangle.RenderTransform>
          </Rectangle>)", ""},
      {"mark-up cut off after a name", R"(<Canvas><Rectangle Width="10" Height="10" Fill="Red"/><Ellipse)", ""},
      // The XML reader keeps the attribute, with no value.
      {"mark-up cut off in an attribute", R"(<Canvas><Rectangle Width="10" Height="10"/><Ellipse Width=)",
       "EConvertError"},
      {"path data without numbers", R"(<Path Data="qqq z z" Fill="Red"/>)", ""},
      {"a Bézier without its control points", R"(<Path Data="M 0,0 C 5,5" Fill="Red"/>)", ""},
      {"a close before any point", R"(<Path Data="Z" Fill="Red"/>)", ""},
      {"huge numbers", R"(<Path Data="M 0,0 L 1e38,1e38 -1e38,5 Z" Fill="Red" Width="1e30"/>)", ""},
      {"negative sizes", R"(<Rectangle Width="-10" Height="-3" RadiusX="-2" Fill="Red"/>)", ""},
      {"canvases nested as deep as the XML reader goes", NestedCanvases(1000), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ErrorOfShape([&] {
                const TOwned<TdxShapeObject> shape = Load(c.Markup.c_str());
                TGpSurface surface(10, 10);
                if (auto* vectorShape = dynamic_cast<TdxCustomVectorShape*>(shape.get())) Draw(vectorShape, surface);
              }),
              c.Error);
  }
}

TEST_F(ShapeReader, DeeplyNestedCanvasesDraw) {
  const TOwned<TdxShapeObject> shape = Load(NestedCanvases(1000).c_str());
  TGpSurface surface(10, 10);
  Draw(shape.get(), surface);
  EXPECT_EQ(surface.BoundsOf(RGB(255, 0, 0)), TRect(0, 0, 5, 5));
}

}  // namespace
