#include "platform/runtime/Types.h"

std::vector<TRect> TRect::SplitHorizontally(int N) const {
  if (N < 1) return {*this};
  std::vector<TRect> result;
  result.reserve(static_cast<std::size_t>(N));
  const int w = Width();
  const int q = w / N;
  const int m = w % N;
  int left = Left;
  for (int i = 0; i < N; ++i) {
    const int cw = i < m ? q + 1 : q;
    result.emplace_back(left, Top, left + cw, Bottom);
    left += cw;
  }
  return result;
}
