#include "library/editors/EditorsUnits.h"

#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/dxSpellCheckerCore.h"
#include "library/editors/filter/cxFilterConsts.h"
#include "library/editors/filter/cxFilterControlStrs.h"
#include "library/editors/filter/cxFilterEditHelpers.h"
#include "library/editors/masks/cxMaskEdit.h"
#include "library/editors/spin/cxSpinEdit.h"
#include "library/editors/text/cxTextEdit.h"

std::span<const TUnit> LibraryEditorsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"cxEditConsts", &cxEditConstsInitialization, &cxEditConstsFinalization},
      {L"cxFilterConsts", &cxFilterConstsInitialization, &cxFilterConstsFinalization},
      {L"cxFilterControlStrs", &cxFilterControlStrsInitialization, &cxFilterControlStrsFinalization},
      {L"dxSpellCheckerCore", &dxSpellCheckerCoreInitialization, &dxSpellCheckerCoreFinalization},
      {L"cxEdit", &cxEditInitialization, &cxEditFinalization},
      {L"cxFilterEditHelpers", nullptr, &cxFilterEditHelpersFinalization},
      {L"cxRegExpr", nullptr, nullptr},
      {L"cxStandardMask", nullptr, nullptr},
      {L"cxTextEdit", &cxTextEditInitialization, &cxTextEditFinalization},
      {L"cxMaskEdit", &cxMaskEditInitialization, &cxMaskEditFinalization},
      {L"cxSpinEdit", &cxSpinEditInitialization, &cxSpinEditFinalization},
      {L"cxDropDownEdit", &cxDropDownEditInitialization, &cxDropDownEditFinalization},
  };
  return units;
}
