#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "platform/ui/UiUnits.h"
#include "tests/support/TestUnits.h"

#include <vector>

std::vector<std::span<const TUnit>> TestUnitLayers() {
  return {RuntimeUnits(),         UiUnits(),           LibraryCoreUnits(), LibraryGraphicsUnits(),
          LibraryLookAndFeelUnits(), LibraryControlsUnits(), LibraryEditorsUnits()};
}
