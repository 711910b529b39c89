// Fuzzing drivers of the control framework.
//   scroll-params   the windowless scroll bar (ScrollBarFuzz.cpp)
#include "fuzzers/library_controls/ScrollBarFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "platform/ui/UiUnits.h"

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits()});
  static const TFuzzDriver drivers[] = {
      {L"scroll-params", &ScrollParamsSeeds, &RunScrollParams},
  };
  const int result = RunFuzzDrivers(argc, argv, drivers);
  FinalizeUnits();
  return result;
}
