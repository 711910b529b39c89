// Timing two ways of doing the same work in one run and reporting their ratio.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace bench {

// The best of ARuns timings of AWork, in milliseconds; APrepare runs untimed before each.
inline double BestOf(int ARuns, const std::function<void()>& APrepare, const std::function<void()>& AWork) {
  double best = 1e300;
  for (int i = 0; i < ARuns; ++i) {
    APrepare();
    const auto start = std::chrono::steady_clock::now();
    AWork();
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  return best;
}

// Prints "name  <ours> ms  <reference> ms  ratio" lines and counts those over the limit.
class TRatioReport {
 public:
  TRatioReport(const char* AOursLabel, const char* AReferenceLabel, double ALimit, int ANameWidth)
      : FOurs(AOursLabel), FReference(AReferenceLabel), FLimit(ALimit), FNameWidth(ANameWidth) {}

  void Add(const char* AName, double AOurs, double AReference) {
    const double ratio = AOurs / AReference;
    const bool ok = ratio <= FLimit;
    if (!ok) ++FSlower;
    std::printf("%-*s %s %9.2f ms   %s %9.2f ms   ratio %5.2f %s\n", FNameWidth, AName, FOurs, AOurs, FReference,
                AReference, ratio, ok ? "" : "(over the limit)");
  }
  int Slower() const { return FSlower; }

 private:
  const char* FOurs;
  const char* FReference;
  double FLimit;
  int FNameWidth;
  int FSlower = 0;
};

}  // namespace bench
