#include "library/graphics/GraphicsUnits.h"

#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/cxImageList.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Classes.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Utils.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

std::span<const TUnit> LibraryGraphicsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxGDIPlusAPI", &dxGDIPlusAPIInitialization, &dxGDIPlusAPIFinalization},
      {L"dxGDIPlusClasses", &dxGDIPlusClassesInitialization, &dxGDIPlusClassesFinalization},
      {L"dxPixelBuffers", &dxPixelBuffersInitialization, nullptr},
      {L"cxGraphics", &cxGraphicsInitialization, &cxGraphicsFinalization},
      {L"cxDrawTextUtils", &cxDrawTextUtilsInitialization, &cxDrawTextUtilsFinalization},
      {L"cxCustomCanvas", &cxCustomCanvasInitialization, &cxCustomCanvasFinalization},
      {L"cxImageList", &cxImageListInitialization, nullptr},
      {L"dxDirectX.D2D.Utils", &dxDirectX_D2D_UtilsInitialization, &dxDirectX_D2D_UtilsFinalization},
      {L"dxDirectX.D2D.Classes", nullptr, &dxDirectX_D2D_ClassesFinalization},
      {L"dxDirectX.D2D.Canvas", &dxDirectX_D2D_CanvasInitialization, &dxDirectX_D2D_CanvasFinalization},
  };
  return units;
}
