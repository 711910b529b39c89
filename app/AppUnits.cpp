#include "app/AppUnits.h"

#include "app/MainUnit.h"
#include "app/UDefines.h"
#include "components/settings/SettingsUnits.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/UiUnits.h"

std::span<const TUnit> AppUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"UDefines", nullptr, &UDefinesFinalization},
      {L"UHexLoad", nullptr, nullptr},
      {L"MainUnit", nullptr, &MainUnitFinalization},
  };
  return units;
}

std::vector<std::span<const TUnit>> ProgramUnitLayers() {
  return {RuntimeUnits(),         UiUnits(),              LibraryCoreUnits(),        LibraryGraphicsUnits(),
          LibraryVectorUnits(),   LibraryLookAndFeelUnits(), LibraryControlsUnits(), LibraryEditorsUnits(),
          LibraryStdCtrlsUnits(), SettingsUnits(),        AppUnits()};
}
