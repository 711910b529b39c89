// A canvas of 600 shapes (rounded rectangles, ellipses and Bézier paths, each
// transformed) read from mark-up, then drawn 50 times into a 512 x 512
// surface, beside the same figures built from scratch and drawn through the
// same GDI+ canvas on every pass, as a caller without the shape model would.
// The model keeps each shape's transformed figure between draws: drawing it
// again must not cost more than building it (limit 1.1, for the noise of the
// fills that dominate both). Reading the document and redrawing after every
// shape has changed are reported on their own.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/vector/VectorUnits.h"
#include "library/vector/dxShapeBrushes.h"
#include "library/vector/dxShapeReaders.h"
#include "platform/runtime/Units.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <string>

namespace {

constexpr int Runs = 5;
constexpr int Passes = 50;
constexpr int ShapesPerKind = 200;

std::string Document() {
  std::string result = "<Canvas>";
  for (int i = 0; i < ShapesPerKind; ++i) {
    const std::string x = std::to_string(i * 7 % 480);
    const std::string y = std::to_string(i * 13 % 480);
    const std::string transform = R"(><Shape.RenderTransform><TransformGroup><RotateTransform Angle=")" +
                                  std::to_string(i % 90) + R"(" CenterX="10" CenterY="10"/><TranslateTransform X=")" +
                                  x + R"(" Y=")" + y + R"("/></TransformGroup></Shape.RenderTransform>)";
    result += R"(<Rectangle Width="30" Height="20" RadiusX="4" RadiusY="4" Fill="#80FF0000" Stroke="Blue")" +
              transform + "</Rectangle>";
    result += R"(<Ellipse Width="24" Height="16" Fill="#8000FF00")" + transform + "</Ellipse>";
    result += R"(<Path Data="M 0,0 C 10,-10 20,10 30,0 L 30,20 C 20,30 10,10 0,20 Z" Fill="#800000FF")" +
              transform + "</Path>";
  }
  return result + "</Canvas>";
}

// What the model draws, built from the shape's own settings on every pass.
void DrawWithoutModel(TdxShapeCanvas* ACanvas, TdxGPCanvas* ATarget) {
  for (int i = 0; i < ACanvas->Count(); ++i) {
    auto* shape = ACanvas->GetShape(i);
    const TOwned<TdxGPPath> path(New<TdxGPPath>());
    if (auto* p = dynamic_cast<TdxShapePath*>(shape))
      path->Assign(TOwned<TdxGPPath>(New<TdxGPPath>(p->NormalizedPoints(), p->PointTypes())).get());
    else if (dynamic_cast<TdxShapeEllipse*>(shape))
      path->AddEllipse(shape->Bounds());
    else
      path->AddRoundRect(shape->Bounds(), 4, 4);
    path->Transform(shape->TransformMatrix());
    ATarget->Path(path.get(), shape->Pen(), shape->Brush()->GPBrush());
  }
}

// The report's count of figures over the limit.
int Measure() {
  const std::string markup = Document();
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromString(markup);
  TOwned<TdxShapeObject> shapes;
  const double read = bench::BestOf(Runs, [] {}, [&] { shapes = dxLoadShapeObject(document->Root()->First()); });
  auto* canvas = As<TdxShapeCanvas>(shapes.get());

  const TdxGpOwnedImage bitmap = CreateGdipBitmap(512, 512);
  GpGraphics* graphics = nullptr;
  CheckGdipStatus(GdipGetImageGraphicsContext(bitmap.Get(), &graphics));
  const TOwned<TdxGPCanvas> target(New<TdxGPCanvas>(graphics));
  target->SetSmoothingMode(smAntiAlias);

  const double withModel = bench::BestOf(Runs, [] {}, [&] {
    for (int pass = 0; pass < Passes; ++pass) canvas->Draw(target.get());
  });
  const double withoutModel = bench::BestOf(Runs, [] {}, [&] {
    for (int pass = 0; pass < Passes; ++pass) DrawWithoutModel(canvas, target.get());
  });
  const double changed = bench::BestOf(Runs, [] {}, [&] {
    for (int pass = 0; pass < Passes; ++pass) {
      for (int i = 0; i < canvas->Count(); ++i) canvas->GetShape(i)->SetWidth(static_cast<float>(20 + pass % 2));
      canvas->Draw(target.get());
    }
  });

  std::printf("document: %zu bytes, %d shapes; read and calculated in %.2f ms\n", markup.size(), canvas->Count(), read);
  std::printf("%-36s %9.2f ms\n", "changed and drawn again, 50 passes", changed);
  bench::TRatioReport report("model", "built each pass", 1.1, 36);
  report.Add("drawn 50 times", withModel, withoutModel);
  return report.Slower();
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits()});
  const int slower = Measure();
  FinalizeUnits();
  return slower == 0 ? 0 : 1;
}
