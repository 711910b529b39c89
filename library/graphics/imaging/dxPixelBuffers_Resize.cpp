// The resampling filters and the two-pass smooth resize.
//
// Each pass works on lines of one direction with integer weights scaled by
// 256, computed once per pass; every channel (alpha too) is summed on its
// own, divided by 256 and clamped to 0..255, so the temporary array between
// the passes holds bytes as well.
#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// ---------------------------------------------------------------------------
// Filters

float TdxColors::FilterBell(float AValue) {
  const float x = std::fabs(AValue);
  if (x < 0.5f) return 0.75f - x * x;
  if (x < 1.5f) return 0.5f * (x - 1.5f) * (x - 1.5f);
  return 0;
}

float TdxColors::FilterHermite(float AValue) {
  const float x = std::fabs(AValue);
  return x < 1 ? (2 * x - 3) * x * x + 1 : 0;
}

float TdxColors::FilterLanczos2(float AValue) { return FilterLanczosN(2, AValue); }

float TdxColors::FilterLanczos3(float AValue) { return FilterLanczosN(3, AValue); }

float TdxColors::FilterLanczosN(int N, float AValue) {
  const auto sinc = [](double T) {
    if (T == 0) return 1.0;
    const double t = std::numbers::pi * T;
    return std::sin(t) / t;
  };
  if (!(std::fabs(AValue) < static_cast<float>(N))) return 0;
  return static_cast<float>(sinc(AValue) * sinc(static_cast<double>(AValue) / N));
}

float TdxColors::FilterLinear(float AValue) {
  const float x = std::fabs(AValue);
  return x < 1 ? 1 - x : 0;
}

float TdxColors::FilterNearestNeighbour(float AValue) { return AValue > -0.5f && AValue <= 0.5f ? 1 : 0; }

float TdxColors::FilterSpline(float AValue) {
  const float x = std::fabs(AValue);
  if (x < 1) return 0.5f * x * x * x - x * x + 2.0f / 3.0f;
  if (x < 2) return (2 - x) * (2 - x) * (2 - x) / 6;
  return 0;
}

// ---------------------------------------------------------------------------
// Contributors

namespace {

// Mirrors an index beyond either edge back into 0..ASize-1: -j below, 2s-1-j
// above. A support wider than the source (a one-pixel source grown with a
// three-pixel support) lands beyond the other edge, so the reflection
// repeats until the index is inside.
int MirrorIndex(int AIndex, int ASize) {
  while (AIndex < 0 || AIndex >= ASize) AIndex = AIndex < 0 ? -AIndex : 2 * ASize - 1 - AIndex;
  return AIndex;
}

}  // namespace

TdxResizeFilter::TContributorList TdxResizeFilter::Contributors(int ASourceSize, int ATargetSize,
                                                               TdxColors::TFilterFunc AFilterFunc) {
  TContributorList result;
  if (!AFilterFunc) throw EArgumentNilException(L"A resampling filter is required");
  if (ASourceSize <= 0 || ATargetSize <= 0) return result;
  const double scale = ASourceSize == 1 || ATargetSize == 1
                           ? static_cast<double>(ATargetSize) / ASourceSize
                           : static_cast<double>(ATargetSize - 1) / (ASourceSize - 1);
  const double width = scale >= 1 ? 1 : 1 / scale;
  const double support = 3 * width;
  result.resize(static_cast<std::size_t>(ATargetSize));
  std::vector<double> values;
  for (int i = 0; i < ATargetSize; ++i) {
    const double center = i / scale;
    const int first = static_cast<int>(std::floor(center - support));
    const int last = static_cast<int>(std::ceil(center + support));
    values.clear();
    double total = 0;
    for (int j = first; j <= last; ++j) {
      values.push_back(AFilterFunc(static_cast<float>((center - j) / width)) / width);
      total += values.back();
    }
    // A kernel sampled at whole pixels rarely adds up to exactly one (a
    // triangle widened 1.6 times gives 0.94 to 1.09 by the phase), which
    // would stripe an even colour; the weights are scaled to add up to 256
    // and the rounding remainder goes to the largest of them.
    const double factor = total > 0 ? 256 / total : 256;
    TContributors& contributors = result[static_cast<std::size_t>(i)];
    contributors.reserve(values.size());
    int sum = 0;
    std::size_t largest = 0;
    for (int j = first; j <= last; ++j) {
      // Round to nearest, an exact half to the even neighbour. The sums take
      // 16-bit weights; only a kernel whose samples nearly cancel out would
      // reach beyond them.
      const int weight = static_cast<int>(
          std::clamp(std::lrint(values[static_cast<std::size_t>(j - first)] * factor), -32767L, 32767L));
      if (weight == 0) continue;
      if (contributors.empty() || std::abs(weight) > std::abs(contributors[largest].Weight))
        largest = contributors.size();
      contributors.push_back({MirrorIndex(j, ASourceSize), weight});
      sum += weight;
    }
    if (total > 0 && !contributors.empty()) {
      int& weight = contributors[largest].Weight;
      weight = std::clamp(weight + 256 - sum, -32767, 32767);
    }
  }
  return result;
}

// ---------------------------------------------------------------------------
// SmoothResize

namespace {

struct TChannelSums {
  int Blue = 0;
  int Green = 0;
  int Red = 0;
  int Alpha = 0;

  void Add(const RGBQUAD& APixel, int AWeight) {
    Blue += APixel.rgbBlue * AWeight;
    Green += APixel.rgbGreen * AWeight;
    Red += APixel.rgbRed * AWeight;
    Alpha += APixel.rgbReserved * AWeight;
  }

  static std::uint8_t Channel(int ASum) { return ASum <= 0 ? 0 : static_cast<std::uint8_t>(std::min(255, ASum / 256)); }
  RGBQUAD Pixel() const { return {Channel(Blue), Channel(Green), Channel(Red), Channel(Alpha)}; }
};

#if defined(__SSE2__)

// The four channel sums of one target pixel in the lanes of one register,
// fed two contributors at a time: their pixels' bytes interleaved and
// widened to 16 bits, each pair multiplied by its weight and added up in one
// step (pmaddwd). Weights and channels fit 16 bits; the sums do not need to.
class TChannelSumsSse2 {
 public:
  void Add(const RGBQUAD& A, int AWeightA, const RGBQUAD& B, int AWeightB) {
    const __m128i pixels = _mm_unpacklo_epi8(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(std::bit_cast<int>(A)), _mm_cvtsi32_si128(std::bit_cast<int>(B))),
        _mm_setzero_si128());
    const auto weights = static_cast<int>((static_cast<std::uint32_t>(AWeightB) << 16) |
                                          (static_cast<std::uint32_t>(AWeightA) & 0xFFFF));
    FSums = _mm_add_epi32(FSums, _mm_madd_epi16(pixels, _mm_set1_epi32(weights)));
  }
  RGBQUAD Pixel() const {
    alignas(16) int sums[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), FSums);
    return TChannelSums{sums[0], sums[1], sums[2], sums[3]}.Pixel();
  }

 private:
  __m128i FSums = _mm_setzero_si128();
};

RGBQUAD ResamplePixel(const RGBQUAD* ASource, const TdxResizeFilter::TContributors& AContributors) {
  TChannelSumsSse2 sums;
  const std::size_t count = AContributors.size();
  std::size_t i = 0;
  for (; i + 1 < count; i += 2)
    sums.Add(ASource[AContributors[i].Pixel], AContributors[i].Weight, ASource[AContributors[i + 1].Pixel],
             AContributors[i + 1].Weight);
  if (i < count) sums.Add(ASource[AContributors[i].Pixel], AContributors[i].Weight, RGBQUAD{}, 0);
  return sums.Pixel();
}

#else

RGBQUAD ResamplePixel(const RGBQUAD* ASource, const TdxResizeFilter::TContributors& AContributors) {
  TChannelSums sums;
  for (const TdxResizeFilter::TContributor& contributor : AContributors)
    sums.Add(ASource[contributor.Pixel], contributor.Weight);
  return sums.Pixel();
}

#endif

// Each of AHeight rows of ASourceWidth pixels into a row of the
// contributors' count.
void ResampleRows(const RGBQUAD* ASource, int ASourceWidth, int AHeight,
                  const TdxResizeFilter::TContributorList& AContributors, RGBQUAD* ATarget) {
  for (int y = 0; y < AHeight; ++y) {
    const RGBQUAD* source = ASource + static_cast<std::ptrdiff_t>(y) * ASourceWidth;
    for (const TdxResizeFilter::TContributors& contributors : AContributors)
      *ATarget++ = ResamplePixel(source, contributors);
  }
}

// Rows of AWidth pixels into one row per contributor list: each target row
// sums whole source rows, which keeps the reads sequential.
void ResampleColumns(const RGBQUAD* ASource, int AWidth, const TdxResizeFilter::TContributorList& AContributors,
                     RGBQUAD* ATarget) {
  std::vector<TChannelSums> sums(static_cast<std::size_t>(AWidth));
  for (const TdxResizeFilter::TContributors& contributors : AContributors) {
    std::fill(sums.begin(), sums.end(), TChannelSums{});
    for (const TdxResizeFilter::TContributor& contributor : contributors) {
      const RGBQUAD* source = ASource + static_cast<std::ptrdiff_t>(contributor.Pixel) * AWidth;
      for (int x = 0; x < AWidth; ++x) sums[static_cast<std::size_t>(x)].Add(source[x], contributor.Weight);
    }
    for (const TChannelSums& pixel : sums) *ATarget++ = pixel.Pixel();
  }
}

std::size_t PixelCount(int AWidth, int AHeight) {
  return static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight);
}

}  // namespace

void TdxColors::SmoothResize(const TRGBColors& ASourceColors, int ASourceWidth, int ASourceHeight,
                             TRGBColors& ATargetColors, int ATargetWidth, int ATargetHeight, TFilterFunc AFilterFunc) {
  if (ASourceWidth <= 0 || ASourceHeight <= 0 || ATargetWidth <= 0 || ATargetHeight <= 0) {
    ATargetColors.clear();
    return;
  }
  if (ASourceColors.size() < PixelCount(ASourceWidth, ASourceHeight))
    throw EArgumentException(L"SmoothResize: %d source pixels given for a %d x %d image",
                             {static_cast<int>(ASourceColors.size()), ASourceWidth, ASourceHeight});
  TRGBColors rows(PixelCount(ATargetWidth, ASourceHeight));
  ResampleRows(ASourceColors.data(), ASourceWidth, ASourceHeight,
               TdxResizeFilter::Contributors(ASourceWidth, ATargetWidth, AFilterFunc), rows.data());
  ATargetColors.resize(PixelCount(ATargetWidth, ATargetHeight));
  ResampleColumns(rows.data(), ATargetWidth, TdxResizeFilter::Contributors(ASourceHeight, ATargetHeight, AFilterFunc),
                  ATargetColors.data());
}

void TdxColors::SmoothResize(TBitmap* ASource, TBitmap* ATarget, TFilterFunc AFilterFunc) {
  if (!ASource || !ATarget || ASource->Empty() || ATarget->Empty()) return;
  TRGBColors source;
  if (!GetGraphicPixels(ASource, source, false)) return;
  TRGBColors target;
  SmoothResize(source, ASource->Width(), ASource->Height(), target, ATarget->Width(), ATarget->Height(), AFilterFunc);
  SetGraphicPixels(ATarget, target, false);
}
