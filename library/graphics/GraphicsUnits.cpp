#include "library/graphics/GraphicsUnits.h"

#include "library/graphics/cxCustomCanvas.h"
#include "library/graphics/cxDrawTextUtils.h"
#include "library/graphics/cxGraphics.h"
#include "library/graphics/cxImageList.h"
#include "library/graphics/dxDirectX_D2D_Canvas.h"
#include "library/graphics/dxDirectX_D2D_Classes.h"
#include "library/graphics/dxDirectX_D2D_Utils.h"
#include "library/graphics/dxGDIPlusAPI.h"
#include "library/graphics/dxGDIPlusClasses.h"
#include "library/graphics/dxPixelBuffers.h"

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
