#include "fuzzers/library_graphics/PixelsFuzz.h"

#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <bit>
#include <deque>

namespace {

int Byte(const std::string& AInput, std::size_t AIndex) {
  return AIndex < AInput.size() ? static_cast<unsigned char>(AInput[AIndex]) : 0;
}

struct TPixelsKernel {
  TdxColors::TFilterFunc Filter;
  bool Positive;  // no negative lobes: results stay within the source's range
};

const TPixelsKernel PixelsKernels[] = {
    {&TdxColors::FilterLinear, true},  {&TdxColors::FilterSpline, true},
    {&TdxColors::FilterBell, true},    {&TdxColors::FilterHermite, true},
    {&TdxColors::FilterNearestNeighbour, true}, {&TdxColors::FilterLanczos2, false},
    {&TdxColors::FilterLanczos3, false},
};

}  // namespace

// ---------------------------------------------------------------------------
// Smooth resize: source and target sizes (a byte each, 0 to 63), the
// kernel, then the source pixels (four bytes each; missing ones are the
// documented argument error).

void SmoothResizeInput(const std::string& AInput) {
  if (AInput.size() < 5) return;
  const int sourceWidth = Byte(AInput, 0) % 64, sourceHeight = Byte(AInput, 1) % 64;
  const int targetWidth = Byte(AInput, 2) % 64, targetHeight = Byte(AInput, 3) % 64;
  const TPixelsKernel& kernel = PixelsKernels[static_cast<std::size_t>(Byte(AInput, 4)) % std::size(PixelsKernels)];
  TRGBColors source((AInput.size() - 5) / 4);
  for (std::size_t i = 0; i < source.size(); ++i)
    source[i] = RGBQUAD{static_cast<BYTE>(AInput[5 + 4 * i]), static_cast<BYTE>(AInput[6 + 4 * i]),
                        static_cast<BYTE>(AInput[7 + 4 * i]), static_cast<BYTE>(AInput[8 + 4 * i])};
  TRGBColors target;
  try {
    TdxColors::SmoothResize(source, sourceWidth, sourceHeight, target, targetWidth, targetHeight, kernel.Filter);
  } catch (const EArgumentException&) {
    if (source.size() >= static_cast<std::size_t>(sourceWidth * sourceHeight)) FuzzInvariantBroken("enough pixels refused");
    return;
  }
  const bool sized = sourceWidth > 0 && sourceHeight > 0 && targetWidth > 0 && targetHeight > 0;
  if (target.size() != (sized ? static_cast<std::size_t>(targetWidth * targetHeight) : 0u))
    FuzzInvariantBroken("the target has the wrong size");
  if (!sized || !kernel.Positive) return;
  // Weights of one sign that add up to 256 keep every channel within the
  // source's own range.
  for (int channel = 0; channel < 4; ++channel) {
    const auto value = [channel](const RGBQUAD& APixel) {
      return static_cast<int>((std::bit_cast<std::uint32_t>(APixel) >> (8 * channel)) & 0xFF);
    };
    const auto [low, high] = std::minmax_element(source.begin(), source.begin() + sourceWidth * sourceHeight,
                                                 [&](const RGBQUAD& A, const RGBQUAD& B) { return value(A) < value(B); });
    for (const RGBQUAD& pixel : target)
      if (value(pixel) < value(*low) || value(pixel) > value(*high)) FuzzInvariantBroken("a channel beyond the source's range");
  }
}

std::vector<std::string> SmoothResizeSeeds() {
  const auto seed = [](int ASourceWidth, int ASourceHeight, int ATargetWidth, int ATargetHeight, int AKernel) {
    std::string bytes = {static_cast<char>(ASourceWidth), static_cast<char>(ASourceHeight),
                         static_cast<char>(ATargetWidth), static_cast<char>(ATargetHeight), static_cast<char>(AKernel)};
    for (int i = 0; i < ASourceWidth * ASourceHeight * 4; ++i) bytes += static_cast<char>((i * 37) ^ (i >> 3));
    return bytes;
  };
  return {seed(1, 1, 3, 3, 0), seed(9, 5, 4, 17, 1), seed(2, 2, 40, 1, 6), seed(30, 20, 7, 7, 5), seed(16, 1, 5, 9, 2)};
}

// ---------------------------------------------------------------------------
// Flood fill: width and height (1 to 32), seed column and row, the
// tolerance (signed), the fill colour's palette index, then a palette index
// per pixel into four colours that differ by 0 to 3 in each channel and one
// far off. The result must be what a plain breadth-first fill gives.

namespace {

constexpr TdxAlphaColor PixelsPalette[] = {0xFF404040, 0xFF414243, 0xFF434343, 0x80404040, 0xFFC0C0C0};

}  // namespace

void FloodFillInput(const std::string& AInput) {
  if (AInput.size() < 6) return;
  const int width = Byte(AInput, 0) % 32 + 1, height = Byte(AInput, 1) % 32 + 1;
  const int x = Byte(AInput, 2) % 40 - 4, y = Byte(AInput, 3) % 40 - 4;
  const int tolerance = static_cast<signed char>(AInput[4]);
  const TdxAlphaColor fill = PixelsPalette[static_cast<std::size_t>(Byte(AInput, 5)) % std::size(PixelsPalette)];
  const TOwned<TdxFastDIB> buffer(New<TdxFastDIB>(width, height, false));
  std::vector<TdxAlphaColor> expected(static_cast<std::size_t>(width * height));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i] = PixelsPalette[static_cast<std::size_t>(Byte(AInput, 6 + i)) % std::size(PixelsPalette)];
    buffer->Bits()[i] = std::bit_cast<RGBQUAD>(expected[i]);
  }
  const bool inside = x >= 0 && x < width && y >= 0 && y < height;
  try {
    buffer->Fill(x, y, fill, tolerance);
  } catch (const EInvalidArgument&) {
    if (inside) FuzzInvariantBroken("a seed inside refused");
    return;
  }
  if (!inside) FuzzInvariantBroken("a seed outside taken");
  const TdxAlphaColor seed = expected[static_cast<std::size_t>(y * width + x)];
  const auto takes = [&](std::size_t AIndex) {
    return seed != fill && expected[AIndex] != fill && IsSameColorWithTolerance(expected[AIndex], seed, tolerance);
  };
  std::deque<std::pair<int, int>> queue;
  if (takes(static_cast<std::size_t>(y * width + x))) {
    expected[static_cast<std::size_t>(y * width + x)] = fill;
    queue.emplace_back(x, y);
  }
  while (!queue.empty()) {
    const auto [px, py] = queue.front();
    queue.pop_front();
    for (const auto& [dx, dy] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
      const int nx = px + dx, ny = py + dy;
      if (nx < 0 || nx >= width || ny < 0 || ny >= height) continue;
      const auto index = static_cast<std::size_t>(ny * width + nx);
      if (!takes(index)) continue;
      expected[index] = fill;
      queue.emplace_back(nx, ny);
    }
  }
  for (std::size_t i = 0; i < expected.size(); ++i)
    if (std::bit_cast<TdxAlphaColor>(buffer->Bits()[i]) != expected[i]) FuzzInvariantBroken("the fill differs from a plain fill");
}

std::vector<std::string> FloodFillSeeds() {
  const auto seed = [](int AWidth, int AHeight, int X, int Y, int ATolerance, int AFill) {
    std::string bytes = {static_cast<char>(AWidth - 1), static_cast<char>(AHeight - 1), static_cast<char>(X + 4),
                         static_cast<char>(Y + 4), static_cast<char>(ATolerance), static_cast<char>(AFill)};
    for (int i = 0; i < AWidth * AHeight; ++i) bytes += static_cast<char>((i * 7 + i / AWidth) % 5 == 4 ? 4 : i % 3);
    return bytes;
  };
  return {seed(8, 8, 0, 0, 0, 4), seed(16, 9, 5, 3, 3, 3), seed(32, 32, 31, 31, 2, 0), seed(5, 1, 2, 0, -1, 1),
          seed(3, 3, 1, 1, 127, 2)};
}
