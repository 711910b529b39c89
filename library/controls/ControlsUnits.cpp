#include "library/controls/ControlsUnits.h"

#include "library/controls/cxControls.h"
#include "library/controls/text/dxDocumentLayoutUnitConverter.h"
#include "library/controls/text/dxFontHelpers.h"
#include "library/controls/text/dxFormattedText.h"

std::span<const TUnit> LibraryControlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxDocumentLayoutUnitConverter", &dxDocumentLayoutUnitConverterInitialization, nullptr},
      {L"dxFontHelpers", &dxFontHelpersInitialization, &dxFontHelpersFinalization},
      {L"dxTextViewInfoCache", nullptr, nullptr},
      {L"dxFormattedText", &dxFormattedTextInitialization, &dxFormattedTextFinalization},
      {L"cxControls", &cxControlsInitialization, &cxControlsFinalization},
  };
  return units;
}
