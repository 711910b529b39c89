#include "library/lookandfeel/LookAndFeelUnits.h"

#include "library/lookandfeel/animation/dxAnimation.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"

std::span<const TUnit> LibraryLookAndFeelUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"dxAnimation", nullptr, &dxAnimationFinalization},
      {L"dxFading", &dxFadingInitialization, &dxFadingFinalization},
      {L"cxLookAndFeelPainters", nullptr, &cxFreeIndicatorImages},
  };
  return units;
}
