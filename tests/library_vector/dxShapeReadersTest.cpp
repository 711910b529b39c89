#include "tests/library_vector/ShapeTesting.h"

namespace {

class ShapeReader : public ShapeTest {};

TEST_F(ShapeReader, AnAttachedPositionPlacesACanvasChild) {
  TOwned<TdxShapeObject> shape = Load(R"(<Canvas><Rectangle Canvas.Left="10" Canvas.Top="5" Width="20" Height="10" Fill="Red"/></Canvas>)");
  TGpSurface surface(40, 30);
  Draw(shape.get(), surface);
  EXPECT_EQ(surface.BoundsOf(RGB(255, 0, 0)), TRect(10, 5, 30, 15));
}

}  // namespace
