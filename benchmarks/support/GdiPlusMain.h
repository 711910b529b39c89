// The frame of the benchmarks that need GDI+: the units up to the graphics
// layer start before the run and end after it, and nothing runs without GDI+.
#pragma once

#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <functional>

namespace bench {

// What ARun returns; 1 when GDI+ is not available.
inline int RunWithGdiPlus(const std::function<int()>& ARun) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  int result = 1;
  if (TdxGdiPlusLibrary::IsLoaded())
    result = ARun();
  else
    std::printf("GDI+ is not available\n");
  FinalizeUnits();
  return result;
}

}  // namespace bench
