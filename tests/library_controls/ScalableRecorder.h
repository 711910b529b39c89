// A scalable component that records every DPI it is asked to scale for.
#pragma once

#include "library/core/base/cxClasses.h"

#include <vector>

class TScaleRecordingComponent : public TcxScalableComponent {
  SK_CLASS(TScaleRecordingComponent, TcxScalableComponent)
 public:
  std::vector<int> Asked;
  void ScaleForPPI(int ATargetPPI) override { Asked.push_back(ATargetPPI); }
};
