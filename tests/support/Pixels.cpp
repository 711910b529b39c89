#include "tests/support/Pixels.h"

#include <algorithm>
#include <stdexcept>

namespace {
std::uint32_t ToRaw(COLORREF AColor) {
  return (static_cast<std::uint32_t>(GetRValue(AColor)) << 16) | (static_cast<std::uint32_t>(GetGValue(AColor)) << 8) |
         GetBValue(AColor);
}
COLORREF FromRaw(std::uint32_t AValue) {
  return RGB((AValue >> 16) & 0xFF, (AValue >> 8) & 0xFF, AValue & 0xFF);
}
}  // namespace

TPixelSurface::TPixelSurface(int AWidth, int AHeight, COLORREF AFill)
    : FWidth(AWidth), FHeight(AHeight), FMemory(TMemoryDC::Dib32(nullptr, AWidth, AHeight)) {
  if (AWidth <= 0 || AHeight <= 0) throw std::invalid_argument("TPixelSurface: empty size");
  if (!FMemory || !FMemory.Bits()) throw std::runtime_error("TPixelSurface: cannot create the DIB section");
  FBits = FMemory.Bits();
  Fill(AFill);
}

void TPixelSurface::Fill(COLORREF AColor) {
  GdiFlush();
  std::fill_n(FBits, static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), ToRaw(AColor));
}

const std::uint32_t* TPixelSurface::Row(int Y) const {
  GdiFlush();
  return FBits + static_cast<std::size_t>(Y) * static_cast<std::size_t>(FWidth);
}

std::uint32_t TPixelSurface::Raw(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) throw std::out_of_range("TPixelSurface: pixel outside");
  return Row(Y)[X];
}

void TPixelSurface::SetRaw(int X, int Y, std::uint32_t AValue) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) throw std::out_of_range("TPixelSurface: pixel outside");
  GdiFlush();
  FBits[static_cast<std::size_t>(Y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(X)] = AValue;
}

COLORREF TPixelSurface::Pixel(int X, int Y) const { return FromRaw(Raw(X, Y)); }

std::uint8_t TPixelSurface::Alpha(int X, int Y) const { return static_cast<std::uint8_t>(Raw(X, Y) >> 24); }

int TPixelSurface::Count(const TRect& R, COLORREF AColor) const {
  const std::uint32_t want = ToRaw(AColor);
  int n = 0;
  for (int y = std::max(0, R.Top); y < std::min(FHeight, R.Bottom); ++y) {
    const std::uint32_t* row = Row(y);
    for (int x = std::max(0, R.Left); x < std::min(FWidth, R.Right); ++x)
      if ((row[x] & 0x00FFFFFF) == want) ++n;
  }
  return n;
}

int TPixelSurface::CountOther(const TRect& R, COLORREF AColor) const {
  TRect clipped = R;
  clipped.Intersect(ClientRect());
  const int total = std::max(0, clipped.Width()) * std::max(0, clipped.Height());
  return total - Count(clipped, AColor);
}

namespace {
template <class Pred>
TRect BoundsWhere(const TPixelSurface& S, Pred AMatch) {
  TRect r;
  bool any = false;
  for (int y = 0; y < S.Height(); ++y)
    for (int x = 0; x < S.Width(); ++x)
      if (AMatch(S.Raw(x, y) & 0x00FFFFFF)) {
        if (!any) r = TRect(x, y, x + 1, y + 1);
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
        any = true;
      }
  return r;
}
}  // namespace

TRect TPixelSurface::BoundsOf(COLORREF AColor) const {
  const std::uint32_t want = ToRaw(AColor);
  return BoundsWhere(*this, [&](std::uint32_t v) { return v == want; });
}

TRect TPixelSurface::BoundsOfOther(COLORREF ABackground) const {
  const std::uint32_t bg = ToRaw(ABackground);
  return BoundsWhere(*this, [&](std::uint32_t v) { return v != bg; });
}

std::string TPixelSurface::Picture(COLORREF ABackground) const {
  const std::uint32_t bg = ToRaw(ABackground);
  std::string s;
  for (int y = 0; y < FHeight; ++y) {
    const std::uint32_t* row = Row(y);
    for (int x = 0; x < FWidth; ++x) s += (row[x] & 0x00FFFFFF) == bg ? '.' : '#';
    s += '\n';
  }
  return s;
}
