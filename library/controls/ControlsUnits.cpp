#include "library/controls/ControlsUnits.h"

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/controls/container/cxContainer.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/control/cxHints.h"
#include "library/controls/scrollbars/cxScrollBar.h"
#include "library/controls/scrollbars/dxHybridScrollbars.h"
#include "library/controls/scrollbars/dxTouchScrollUI.h"
#include "library/controls/text/dxDocumentLayoutUnitConverter.h"
#include "library/controls/text/dxFontHelpers.h"
#include "library/controls/text/dxFormattedText.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/controls/windows/cxControls_Windows.h"
#include "library/controls/windows/dxForms.h"
#include "library/controls/windows/dxPopupMenus.h"

std::span<const TUnit> LibraryControlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxDocumentLayoutUnitConverter", &dxDocumentLayoutUnitConverterInitialization, nullptr},
      {L"dxFontHelpers", &dxFontHelpersInitialization, &dxFontHelpersFinalization},
      {L"dxTextViewInfoCache", nullptr, nullptr},
      {L"dxFormattedText", &dxFormattedTextInitialization, &dxFormattedTextFinalization},
      {L"cxAccessibility", &cxAccessibilityInitialization, &cxAccessibilityFinalization},
      {L"cxDWMApi", &cxDWMApiInitialization, &cxDWMApiFinalization},
      {L"dxTouchScrollUI", nullptr, &dxTouchScrollUIFinalization},
      {L"dxHybridScrollbars", &dxHybridScrollbarsInitialization, &dxHybridScrollbarsFinalization},
      {L"cxControls", &cxControlsInitialization, &cxControlsFinalization},
      {L"cxHints", &cxHintsInitialization, &cxHintsFinalization},
      {L"cxScrollBar", &cxScrollBarInitialization, nullptr},
      {L"cxContainer", &cxContainerInitialization, nullptr},
      {L"cxControls_Windows", &cxControlsWindowsInitialization, nullptr},
      {L"cxContainer_Popup", &cxContainerPopupInitialization, &cxContainerPopupFinalization},
      {L"dxForms", &dxFormsInitialization, &dxFormsFinalization},
      {L"dxPopupMenus", &dxPopupMenusInitialization, &dxPopupMenusFinalization},
  };
  return units;
}
