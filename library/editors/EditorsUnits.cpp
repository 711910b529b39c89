#include "library/editors/EditorsUnits.h"

#include "library/editors/cxDropDownEdit.h"
#include "library/editors/edit/cxEdit.h"

std::span<const TUnit> LibraryEditorsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"cxEditConsts", nullptr, nullptr},
      {L"cxEdit", nullptr, &cxEditFinalization},
      {L"cxRegExpr", nullptr, nullptr},
      {L"cxStandardMask", nullptr, nullptr},
      {L"cxDropDownEdit", &cxDropDownEditInitialization, nullptr},
  };
  return units;
}
