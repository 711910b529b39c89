// The shape model: colour and point texts, path data, the factory, the
// transformation matrix, content bounds, references, update batches, and
// shapes that draw what they were last changed to.
#include "tests/library_vector/ShapeTesting.h"

#include <functional>
#include <vector>

using namespace Gdiplus;

namespace {

class ShapeModel : public ShapeTest {};

constexpr COLORREF RedPixel = RGB(255, 0, 0);

// ---------------------------------------------------------------------------
// Texts

TEST_F(ShapeModel, ShapeColoursReadFromText) {
  const struct {
    const wchar_t* Text;
    TdxAlphaColor Color;
  } cases[] = {
      {L"", 0xFF000000},
      {L"#00FF00", 0xFF00FF00},
      {L"#80FF0000", 0x80FF0000},
      {L"#ff", 0xFFFF0000},  // a short run is the leading digits
      {L"#8", 0xFF800000},
      {L"#12345", 0xFF123450},
      {L"#", 0},
      {L"Transparent", 0},
      {L"TRANSPARENT", 0},
      {L"Red", 0xFFFF0000},
      {L"navy", 0xFF000080},
      {L"NoSuchColour", 0xFF000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(String(c.Text)));
    EXPECT_EQ(dxShapeTextToAlphaColor(c.Text), c.Color);
  }
  EXPECT_THROW(dxShapeTextToAlphaColor(L"#GG0000"), EConvertError);
}

TEST_F(ShapeModel, PointsAreTwoNumbersJoinedByAComma) {
  EXPECT_EQ(dxShapeTextToPoint(L"0.5,1.25"), TdxPointF(0.5f, 1.25f));
  EXPECT_EQ(dxShapeTextToPoint(L"-2, 3e1"), TdxPointF(-2, 30));
  EXPECT_EQ(dxShapePointToText(TdxPointF(0.5f, -3)), L"0.5,-3");
  for (const wchar_t* text : {L"1", L"1;2", L"1,2,3", L"", L"a,b", L"0,5,"}) {
    SCOPED_TRACE(testing::PrintToString(String(text)));
    EXPECT_THROW(dxShapeTextToPoint(text), EConvertError);
  }
}

// ---------------------------------------------------------------------------
// Path data

struct TPathCase {
  const char* Name;
  const wchar_t* Data;
  std::vector<std::pair<float, float>> Points;
  std::vector<BYTE> Types;
};

TEST_F(ShapeModel, PathDataBecomesPointsAndTypes) {
  const std::vector<std::pair<float, float>> triangle = {{0, 0}, {10, 0}, {10, 10}};
  const std::vector<BYTE> closedTriangle = {0, 1, 0x81};
  const TPathCase cases[] = {
      {"move, two lines, close", L"m 0,0 l 10,0 10,10 z", triangle, closedTriangle},
      {"upper case", L"M 0,0 L 10,0 10,10 Z", triangle, closedTriangle},
      {"no spaces", L"m0,0l10,0 10,10z", triangle, closedTriangle},
      {"tabs and line breaks", L"m0\t0\r\nl10 0\n10\t10 z", triangle, closedTriangle},
      {"numbers after a move stay starts", L"m 1,2 3,4", {{1, 2}, {3, 4}}, {0, 0}},
      {"without a move from the first character", L"l 1,2 3,4", {{1, 2}, {3, 4}}, {1, 1}},
      {"text before the move is skipped", L"junk m 1,2 l 3,4", {{1, 2}, {3, 4}}, {0, 1}},
      {"a Bézier", L"m 0,0 c 1,1 2,2 3,0", {{0, 0}, {1, 1}, {2, 2}, {3, 0}}, {0, 3, 3, 3}},
      {"other letters keep the last type", L"m 0,0 l 1,1 h 2,2", {{0, 0}, {1, 1}, {2, 2}}, {0, 1, 1}},
      {"a close before any point", L"z m 1,1 l 2,2", {{1, 1}, {2, 2}}, {0, 1}},
      {"two figures", L"m 0,0 l 1,0 z m 5,5 l 6,5 z", {{0, 0}, {1, 0}, {5, 5}, {6, 5}}, {0, 0x81, 0, 0x81}},
      {"signs, fractions and exponents", L"m -1.5,+2 l .5e1,-3e-1", {{-1.5f, 2}, {5, -0.3f}}, {0, 1}},
      {"an entity is skipped up to its ';', a command", L"m 1,2 l 3,4&#10;5,6", {{1, 2}, {3, 4}, {5, 6}}, {0, 1, 1}},
      {"a missing coordinate is 0", L"m 7", {{7, 0}}, {0}},
      {"empty", L"", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<PointF> points;
    std::vector<BYTE> types;
    TdxShapePathDataParser().Parse(LowerCase(c.Data), points, types);
    std::vector<std::pair<float, float>> read;
    for (const PointF& p : points) read.emplace_back(p.X, p.Y);
    EXPECT_EQ(read, c.Points);
    EXPECT_EQ(types, c.Types);
  }
  for (const wchar_t* data : {L"m 10-5,0", L"m 1..2,0", L"m e,1", L"m 1,2 l 3-4"}) {
    SCOPED_TRACE(testing::PrintToString(String(data)));
    std::vector<PointF> points;
    std::vector<BYTE> types;
    EXPECT_THROW(TdxShapePathDataParser().Parse(data, points, types), EConvertError);
  }
}

TEST_F(ShapeModel, APathKeepsItsFiguresRelativeToTheirBounds) {
  const TOwned<TdxShapePath> path(New<TdxShapePath>());
  path->SetData(L"M 10,20 L 30,20 30,50 Z");
  EXPECT_EQ(path->Bounds(), TdxRectF(10, 20, 30, 50));
  ASSERT_EQ(path->NormalizedPoints().size(), 3u);
  EXPECT_EQ(path->NormalizedPoints()[2].X, 20.0f);
  EXPECT_EQ(path->NormalizedPoints()[2].Y, 30.0f);
  path->SetLeft(5);
  EXPECT_EQ(path->ContentBounds(), TdxRectF(5, 0, 25, 30));

  int changes = 0;
  const TOwned<TShapeChangeCounter> counter(New<TShapeChangeCounter>(&changes));
  path->SetOnChange(BindEvent<&TShapeChangeCounter::Notify>(counter.get()));
  path->SetData(L"m 10,20 l 30,20 30,50 z");
  EXPECT_EQ(changes, 0) << "a change of letter case alone is none";
  EXPECT_EQ(path->Data(), L"M 10,20 L 30,20 30,50 Z");
  EXPECT_THROW(path->SetData(L"M 1-2,0"), EConvertError);
}

// ---------------------------------------------------------------------------
// Factory

TEST_F(ShapeModel, TheFactoryKnowsTheShapeClassesByElementName) {
  TdxShapesFactory* factory = dxShapesFactory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->Count(), 17);
  const struct {
    const wchar_t* Name;
    TClass Class;
  } cases[] = {
      {L"Canvas", TdxShapeCanvas::ClassInfo()},
      {L"Viewbox", TdxShapeViewBox::ClassInfo()},
      {L"Ellipse", TdxShapeEllipse::ClassInfo()},
      {L"Path", TdxShapePath::ClassInfo()},
      {L"rectangle", TdxShapeRectangle::ClassInfo()},
      {L"Rectangle.Fill", TdxShapeFakeBrush::ClassInfo()},
      {L"LinearGradientBrush.GradientStops", TdxShapeFakeGradientStops::ClassInfo()},
      {L"Fill", TdxShapeSolidBrush::ClassInfo()},
      {L"LinearGradientBrush", TdxShapeLinearGradientBrush::ClassInfo()},
      {L"RADIALGRADIENTBRUSH", TdxShapeRadialGradientBrush::ClassInfo()},
      {L"GradientStop", TdxShapeBrushGradientStop::ClassInfo()},
      {L"Path.RenderTransform", TdxShapeFakeRenderTransformation::ClassInfo()},
      {L"Brush.RelativeTransformation", TdxShapeFakeRelativeTransformation::ClassInfo()},
      {L"ScaleTransform", TdxShapeScaleTransformation::ClassInfo()},
      {L"SkewTransform", TdxShapeSkewTransformation::ClassInfo()},
      {L"RotateTransform", TdxShapeRotateTransformation::ClassInfo()},
      {L"TranslateTransform", TdxShapeTranslateTransformation::ClassInfo()},
      {L"TransformGroup", TdxShapeObject::ClassInfo()},
      {L"Rectangle.Stroke", TdxShapeObject::ClassInfo()},
      {L"", TdxShapeObject::ClassInfo()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(String(c.Name)));
    EXPECT_EQ(factory->GetShapeClass(c.Name), c.Class);
  }
  for (int i = 1; i < factory->Count(); ++i)
    EXPECT_LT(CompareText(TdxShapeObject::GetName(factory->GetShapeClass(i - 1)),
                          TdxShapeObject::GetName(factory->GetShapeClass(i))),
              0);
  EXPECT_THROW(factory->GetShapeClass(17), EListError);
}

// Another class under a registered name.
class TShapeOtherRectangle : public TdxShapeRectangle {
  SK_CLASS(TShapeOtherRectangle, TdxShapeRectangle)
};

TEST_F(ShapeModel, RegisteringANamePresentKeepsTheFirstClass) {
  TdxShapesFactory* factory = dxShapesFactory();
  factory->RegisterShape(TShapeOtherRectangle::ClassInfo());
  EXPECT_EQ(factory->Count(), 17);
  EXPECT_EQ(factory->GetShapeClass(L"Rectangle"), TdxShapeRectangle::ClassInfo());

  factory->UnregisterShape(TdxShapeRectangle::ClassInfo());
  EXPECT_EQ(factory->GetShapeClass(L"Rectangle"), TdxShapeObject::ClassInfo());
  factory->RegisterShape(TShapeOtherRectangle::ClassInfo());
  EXPECT_EQ(factory->GetShapeClass(L"Rectangle"), TShapeOtherRectangle::ClassInfo());
  // The unit's shut-down takes whatever holds the name; start-up registers the class again.
  dxShapePrimitivesFinalization();
  EXPECT_EQ(dxShapesFactory()->Count(), 0) << "a factory made after shut-down starts empty";
  dxShapePrimitivesFinalization();
  dxShapePrimitivesInitialization();
  EXPECT_EQ(dxShapesFactory()->Count(), 17);
  EXPECT_EQ(dxShapesFactory()->GetShapeClass(L"Rectangle"), TdxShapeRectangle::ClassInfo());
}

// ---------------------------------------------------------------------------
// Geometry

// Where the shape's matrix takes P.
TdxPointF Mapped(TdxShapeObject* AShape, float X, float Y) { return AShape->TransformMatrix()->TransformPoint(TdxPointF(X, Y)); }

using TShapeSteps = std::vector<TdxShapeCustomTransformation*>;

TEST_F(ShapeModel, TheMatrixPlacesAndTransformsTheShape) {
  auto rotate = [](float AAngle, float ACenterX, float ACenterY) -> TdxShapeCustomTransformation* {
    TOwned<TdxShapeRotateTransformation> t(New<TdxShapeRotateTransformation>());
    t->SetAngle(AAngle);
    t->SetCenterX(ACenterX);
    t->SetCenterY(ACenterY);
    return t.release();
  };
  auto translate = [](float X, float Y) -> TdxShapeCustomTransformation* {
    TOwned<TdxShapeTranslateTransformation> t(New<TdxShapeTranslateTransformation>());
    t->SetX(X);
    t->SetY(Y);
    return t.release();
  };
  auto scale = [](float X, float Y) -> TdxShapeCustomTransformation* {
    TOwned<TdxShapeScaleTransformation> t(New<TdxShapeScaleTransformation>());
    t->SetScaleX(X);
    t->SetScaleY(Y);
    return t.release();
  };
  auto skew = [](float X, float Y) -> TdxShapeCustomTransformation* {
    TOwned<TdxShapeSkewTransformation> t(New<TdxShapeSkewTransformation>());
    t->SetAngleX(X);
    t->SetAngleY(Y);
    return t.release();
  };
  const struct {
    const char* Name;
    const wchar_t* Origin;
    std::function<TShapeSteps()> Transformations;
    TdxPointF From;
    TdxPointF To;
  } cases[] = {
      {"none: Left and Top", L"0,0", [] { return TShapeSteps(); }, {1, 1}, {6, 8}},
      {"a translation alone places it", L"0,0", [&] { return TShapeSteps{translate(3, 4)}; }, {1, 1}, {4, 5}},
      {"scale about the origin", L"0,0", [&] { return TShapeSteps{scale(2, 3)}; }, {1, 1}, {2, 3}},
      {"scale (1, 1) is no step", L"0,0", [&] { return TShapeSteps{scale(1, 1)}; }, {1, 1}, {1, 1}},
      {"rotate about the origin", L"0,0", [&] { return TShapeSteps{rotate(90, 0, 0)}; }, {1, 0}, {0, 1}},
      {"rotate about the relative origin", L"0.5,0.5", [&] { return TShapeSteps{rotate(90, 0, 0)}; }, {5, 0}, {10, 5}},
      {"rotate about the centre where the origin is 0", L"0,0", [&] { return TShapeSteps{rotate(90, 5, 5)}; },
       {5, 0}, {10, 5}},
      {"the origin before the centre", L"0,1", [&] { return TShapeSteps{rotate(180, 5, 0)}; }, {5, 0}, {5, 20}},
      {"skew by radians", L"0,0", [&] { return TShapeSteps{skew(45, 0)}; }, {0, 1}, {0.7853982f, 1}},
      {"in order: scale, then translate", L"0,0", [&] { return TShapeSteps{scale(2, 2), translate(10, 0)}; },
       {1, 1}, {12, 2}},
      {"in order: translate, then scale", L"0,0", [&] { return TShapeSteps{translate(10, 0), scale(2, 2)}; },
       {1, 1}, {22, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxShapeRectangle> shape(New<TdxShapeRectangle>());
    shape->BeginUpdate();
    shape->SetLeft(5);
    shape->SetTop(7);
    shape->SetWidth(10);
    shape->SetHeight(10);
    shape->SetRenderTransformOrigin(c.Origin);
    for (TdxShapeCustomTransformation* t : c.Transformations()) shape->Transformations()->Add(t);
    shape->EndUpdate();
    const TdxPointF to = Mapped(shape.get(), c.From.X, c.From.Y);
    EXPECT_NEAR(to.X, c.To.X, 1e-4);
    EXPECT_NEAR(to.Y, c.To.Y, 1e-4);
  }
}

TEST_F(ShapeModel, ContentBoundsCoverWhatTheShapesTakeUp) {
  auto rectangle = [](float L, float T, float W, float H) {
    TOwned<TdxShapeRectangle> r(New<TdxShapeRectangle>());
    r->SetLeft(L);
    r->SetTop(T);
    r->SetWidth(W);
    r->SetHeight(H);
    return r;
  };
  EXPECT_EQ(rectangle(2, 3, 10, 20)->ContentBounds(), TdxRectF(2, 3, 12, 23));

  const TOwned<TdxShapeCanvas> canvas(New<TdxShapeCanvas>());
  EXPECT_TRUE(canvas->ContentBounds().IsEmpty());
  canvas->AddShape(rectangle(50, 50, 0, 10).release());  // empty: does not count
  canvas->AddShape(rectangle(10, 10, 5, 5).release());
  EXPECT_EQ(canvas->ContentBounds(), TdxRectF(10, 10, 15, 15));
  canvas->AddShape(rectangle(0, 12, 2, 20).release());
  EXPECT_EQ(canvas->ContentBounds(), TdxRectF(0, 10, 15, 32));
  EXPECT_EQ(canvas->GetShape(2)->ContentBounds(), TdxRectF(0, 12, 2, 32));
  EXPECT_EQ(canvas->GetShape(3), nullptr);
  EXPECT_EQ(canvas->GetShape(-1), nullptr);
}

TEST_F(ShapeModel, CanvasesHoldTheirShapesByReference) {
  TdxShapeRectangle* shared = New<TdxShapeRectangle>();
  TOwned<TdxShapeCanvas> first(New<TdxShapeCanvas>());
  const TOwned<TdxShapeCanvas> second(New<TdxShapeCanvas>());
  first->AddShape(shared);
  second->AddShape(shared);
  EXPECT_EQ(shared->RefCount(), 2);
  first.reset();
  EXPECT_EQ(shared->RefCount(), 1);
  EXPECT_EQ(second->GetShape(0), shared);
  // The second canvas frees it: the leak check after the test sees to that.
}

TEST_F(ShapeModel, UpdateBatchesRecalculateOnceAtTheOutermostEnd) {
  const TOwned<TdxShapeRectangle> shape(New<TdxShapeRectangle>());
  int changes = 0;
  const TOwned<TShapeChangeCounter> counter(New<TShapeChangeCounter>(&changes));
  shape->SetOnChange(BindEvent<&TShapeChangeCounter::Notify>(counter.get()));

  shape->SetWidth(10);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(shape->Bounds(), TdxRectF(0, 0, 10, 0));

  shape->BeginUpdate();
  shape->BeginUpdate();
  shape->SetWidth(20);
  shape->SetHeight(5);
  shape->EndUpdate();
  EXPECT_EQ(changes, 1);
  shape->EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(shape->Bounds(), TdxRectF(0, 0, 20, 5));

  shape->BeginUpdate();
  shape->SetWidth(30);
  shape->CancelUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(shape->Bounds(), TdxRectF(0, 0, 20, 5)) << "cancelled: not recalculated";
  shape->EndUpdate();  // nothing open: nothing happens
  EXPECT_EQ(changes, 2);
  shape->SetWidth(30);
  EXPECT_EQ(changes, 2) << "an equal value is no change";
}

// ---------------------------------------------------------------------------
// Drawing what the shape was changed to

TEST_F(ShapeModel, AChangedShapeDrawsItsNewGeometry) {
  const struct {
    const char* Name;
    std::function<void(TdxShapeRectangle*)> Change;
    TRect Ink;
    std::function<void(TdxShapeRectangle*)> Prepare = nullptr;
  } cases[] = {
      {"width", [](TdxShapeRectangle* S) { S->SetWidth(20); }, TRect(2, 3, 22, 13)},
      {"height", [](TdxShapeRectangle* S) { S->SetHeight(4); }, TRect(2, 3, 12, 7)},
      {"left and top", [](TdxShapeRectangle* S) { S->SetLeft(20); S->SetTop(21); }, TRect(20, 21, 30, 31)},
      {"a transformation added",
       [](TdxShapeRectangle* S) {
         TOwned<TdxShapeTranslateTransformation> t(New<TdxShapeTranslateTransformation>());
         t->SetX(30);
         S->Transformations()->Add(t.release());
       },
       TRect(30, 0, 40, 10)},
      {"a transformation's value",
       [](TdxShapeRectangle* S) {
         // Scale (1, 1) is the identity: the shape stood at the origin.
         static_cast<TdxShapeScaleTransformation*>(S->Transformations()->GetTransformation(0))->SetScaleX(3);
       },
       TRect(0, 0, 30, 10), [](TdxShapeRectangle* S) { S->Transformations()->Add(New<TdxShapeScaleTransformation>()); }},
      {"the render-transform origin",
       [](TdxShapeRectangle* S) {
         TOwned<TdxShapeRotateTransformation> t(New<TdxShapeRotateTransformation>());
         t->SetAngle(180);
         S->Transformations()->Add(t.release());
         S->SetRenderTransformOrigin(L"1,1");
       },
       TRect(10, 10, 20, 20)},
      {"a matrix applied",
       [](TdxShapeRectangle* S) {
         const TOwned<TdxGPMatrix> m(New<TdxGPMatrix>(1.0f, 0.0f, 0.0f, 1.0f, 25.0f, 25.0f));
         S->ApplyTransformMatrix(m.get());
       },
       TRect(25, 25, 35, 35)},
      {"a batch", [](TdxShapeRectangle* S) { S->BeginUpdate(); S->SetLeft(30); S->SetWidth(5); S->EndUpdate(); },
       TRect(30, 3, 35, 13)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxShapeRectangle> shape(New<TdxShapeRectangle>());
    shape->SetBrush(New<TdxShapeSolidBrush>(shape.get()));
    static_cast<TdxShapeSolidBrush*>(shape->Brush())->SetColor(0xFFFF0000);
    shape->SetLeft(2);
    shape->SetTop(3);
    shape->SetWidth(10);
    shape->SetHeight(10);
    if (c.Prepare) c.Prepare(shape.get());
    TGpSurface before(40, 40);
    Draw(shape.get(), before);
    ASSERT_FALSE(before.BoundsOf(RedPixel).IsEmpty());
    c.Change(shape.get());
    TGpSurface after(40, 40);
    Draw(shape.get(), after);
    EXPECT_EQ(after.BoundsOf(RedPixel), c.Ink) << after.Picture(ShapeWhite);
  }
}

TEST_F(ShapeModel, AChangedPathDrawsItsNewFigure) {
  const TOwned<TdxShapeObject> path = Load(R"(<Path Data="M 0,0 L 10,0 10,10 0,10 Z" Fill="Red"/>)");
  TGpSurface before(30, 30);
  Draw(path.get(), before);
  EXPECT_EQ(before.BoundsOf(RedPixel), TRect(0, 0, 10, 10));
  static_cast<TdxShapePath*>(path.get())->SetData(L"M 0,0 L 20,0 20,5 0,5 Z");
  TGpSurface after(30, 30);
  Draw(path.get(), after);
  EXPECT_EQ(after.BoundsOf(RedPixel), TRect(0, 0, 20, 5));
}

TEST_F(ShapeModel, AChangedCornerRadiusRoundsTheCorners) {
  const TOwned<TdxShapeObject> shape = Load(R"(<Rectangle Width="30" Height="30" Fill="Red"/>)");
  TGpSurface square(30, 30);
  Draw(shape.get(), square);
  EXPECT_EQ(square.Pixel(0, 0), RedPixel);
  static_cast<TdxShapeRectangle*>(shape.get())->SetRadiusX(9);
  static_cast<TdxShapeRectangle*>(shape.get())->SetRadiusY(9);
  TGpSurface rounded(30, 30);
  Draw(shape.get(), rounded);
  EXPECT_EQ(rounded.Pixel(0, 0), ShapeWhite);
  EXPECT_EQ(rounded.Pixel(15, 0), RedPixel);
}

// ---------------------------------------------------------------------------
// Copies, colours and strokes

TEST_F(ShapeModel, AssignCopiesPositionSizeNameBrushAndPen) {
  const TOwned<TdxShapeObject> source =
      Load(R"(<Rectangle Name="a" Canvas.Left="1" Canvas.Top="2" Width="3" Height="4" RadiusX="0.5" RadiusY="0.25"
                         Fill="Red" Stroke="Blue" StrokeThickness="2"/>)");
  const TOwned<TdxShapeRectangle> copy(New<TdxShapeRectangle>());
  copy->Assign(source.get());
  EXPECT_EQ(copy->Name(), L"a");
  EXPECT_EQ(copy->ContentBounds(), TdxRectF(1, 2, 4, 6));
  EXPECT_EQ(copy->RadiusX(), 0.5f);
  EXPECT_EQ(copy->RadiusY(), 0.25f);
  ASSERT_NE(copy->Brush(), static_cast<TdxShapeRectangle*>(source.get())->Brush());
  EXPECT_EQ(copy->Brush()->Parent(), copy.get());
  EXPECT_EQ(static_cast<TdxShapeSolidBrush*>(copy->Brush())->Color(), 0xFFFF0000u);
  EXPECT_EQ(copy->Pen()->Brush()->Color(), 0xFF0000FFu);
  EXPECT_EQ(copy->StrokeThickness(), 2.0f);

  const TOwned<TdxShapeObject> path = Load(R"(<Path Data="M 1,1 L 2,2"/>)");
  const TOwned<TdxShapePath> pathCopy(New<TdxShapePath>());
  pathCopy->Assign(path.get());
  EXPECT_EQ(pathCopy->Points().size(), 2u);
}

TEST_F(ShapeModel, ATransformationListCopiesItsItems) {
  const TOwned<TdxShapeTransformations> source(New<TdxShapeTransformations>());
  TdxShapeRotateTransformation* rotate = New<TdxShapeRotateTransformation>();
  rotate->SetAngle(30);
  rotate->SetCenterX(4);
  source->Add(rotate);
  source->Add(New<TdxShapeTranslateTransformation>());
  const TOwned<TdxShapeTransformations> copy(New<TdxShapeTransformations>());
  copy->Assign(source.get());
  ASSERT_EQ(copy->Count(), 2);
  auto* rotateCopy = dynamic_cast<TdxShapeRotateTransformation*>(copy->GetTransformation(0));
  ASSERT_NE(rotateCopy, nullptr);
  EXPECT_NE(rotateCopy, rotate);
  EXPECT_EQ(rotateCopy->Angle(), 30.0f);
  EXPECT_EQ(rotateCopy->CenterX(), 4.0f);
  EXPECT_EQ(rotateCopy->TransformationType(), dxsttRotate);
  EXPECT_EQ(copy->GetTransformation(1)->TransformationType(), dxsttTranslate);
  EXPECT_EQ(copy->GetTransformation(2), nullptr);
}

TEST_F(ShapeModel, SetColorRecoloursASolidBrushOnly) {
  const TOwned<TdxShapeObject> solid = Load(R"(<Ellipse Width="10" Height="10" Fill="Red"/>)");
  static_cast<TdxCustomVectorShape*>(solid.get())->SetColor(0xFF00FF00);
  EXPECT_EQ(static_cast<TdxShapeSolidBrush*>(static_cast<TdxCustomVectorShape*>(solid.get())->Brush())->Color(),
            0xFF00FF00u);

  const TOwned<TdxShapeObject> gradient = Load(R"(<Ellipse><Ellipse.Fill><LinearGradientBrush>
      <GradientStop Color="Red" Offset="0"/></LinearGradientBrush></Ellipse.Fill></Ellipse>)");
  auto* shape = static_cast<TdxCustomVectorShape*>(gradient.get());
  shape->SetColor(0xFF00FF00);
  auto* brush = As<TdxShapeLinearGradientBrush>(shape->Brush());
  EXPECT_EQ(brush->GradientPoints()->Colors(0), 0xFFFF0000u);
}

TEST_F(ShapeModel, TheStrokeOutlinesTheShape) {
  const TOwned<TdxShapeObject> shape =
      Load(R"(<Rectangle Canvas.Left="2" Canvas.Top="2" Width="10" Height="10" Stroke="Red" StrokeThickness="1"/>)");
  EXPECT_EQ(static_cast<TdxCustomVectorShape*>(shape.get())->Stroke(), L"#ffff0000");
  TGpSurface surface(20, 20);
  Draw(shape.get(), surface);
  // A one-pixel outline centred on the edges, nothing inside.
  EXPECT_EQ(surface.BoundsOf(RedPixel), TRect(2, 2, 13, 13)) << surface.Picture(ShapeWhite);
  EXPECT_EQ(surface.Pixel(7, 7), ShapeWhite);
}

}  // namespace
