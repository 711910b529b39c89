#include "library/controls/ControlsUnits.h"

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/controls/container/cxContainer.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/control/cxHints.h"
#include "library/controls/scrollbars/cxScrollBar.h"
#include "library/controls/text/dxDocumentLayoutUnitConverter.h"
#include "library/controls/text/dxFontHelpers.h"
#include "library/controls/text/dxFormattedText.h"
#include "library/controls/windows/cxDWMApi.h"

std::span<const TUnit> LibraryControlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxDocumentLayoutUnitConverter", &dxDocumentLayoutUnitConverterInitialization, nullptr},
      {L"dxFontHelpers", &dxFontHelpersInitialization, &dxFontHelpersFinalization},
      {L"dxTextViewInfoCache", nullptr, nullptr},
      {L"dxFormattedText", &dxFormattedTextInitialization, &dxFormattedTextFinalization},
      {L"cxAccessibility", &cxAccessibilityInitialization, &cxAccessibilityFinalization},
      {L"cxDWMApi", &cxDWMApiInitialization, &cxDWMApiFinalization},
      {L"cxControls", &cxControlsInitialization, &cxControlsFinalization},
      {L"cxHints", &cxHintsInitialization, &cxHintsFinalization},
      {L"cxScrollBar", &cxScrollBarInitialization, nullptr},
      {L"cxContainer", &cxContainerInitialization, nullptr},
  };
  return units;
}
