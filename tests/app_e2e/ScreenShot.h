// What the screen shows of a window, read once.
#pragma once

#include "platform/ui/GdiScopes.h"

#include <cstdint>
#include <vector>

class TScreenShot {
 public:
  explicit TScreenShot(HWND AWindow) {
    GetWindowRect(AWindow, &FRect);
    FWidth = FRect.right - FRect.left;
    FHeight = FRect.bottom - FRect.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), FWidth, -FHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const TScreenDC screen;
    const TOwnedDC memory(CreateCompatibleDC(screen.Get()));
    void* bits = nullptr;
    const TOwnedBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const TSelectObject selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, FWidth, FHeight, screen.Get(), FRect.left, FRect.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    FPixels.assign(pixels, pixels + static_cast<std::size_t>(FWidth) * FHeight);
  }
  // A pixel at screen coordinates.
  COLORREF Pixel(int X, int Y) const {
    const std::uint32_t p = FPixels[static_cast<std::size_t>((Y - FRect.top) * FWidth + X - FRect.left)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  RECT FRect{};
  int FWidth = 0, FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};
