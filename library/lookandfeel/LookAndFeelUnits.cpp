#include "library/lookandfeel/LookAndFeelUnits.h"

#include "library/lookandfeel/animation/dxAnimation.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"

std::span<const TUnit> LibraryLookAndFeelUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxAnimation", nullptr, &dxAnimationFinalization},
      {L"dxSkinsCore", &dxSkinsCoreInitialization, &dxSkinsCoreFinalization},
      {L"dxFading", &dxFadingInitialization, &dxFadingFinalization},
      {L"dxOffice11", &dxOffice11Initialization, &dxOffice11Finalization},
      {L"cxLookAndFeelPainters", &cxLookAndFeelPaintersInitialization, &cxLookAndFeelPaintersFinalization},
      {L"cxLookAndFeels", &cxLookAndFeelsInitialization, &cxLookAndFeelsFinalization},
  };
  return units;
}
