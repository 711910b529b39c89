// Shared pieces of the overlay scroll-bar tests: a control that allows
// overlay bars, a capture of what its bars hand to their layered windows,
// and the premultiplied composition the expected pixels come from.
#pragma once

#include "library/controls/control/cxControls.h"

#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

// A control that may show overlay bars, with content of a given size.
class TOverlayControl : public TcxControl {
  SK_CLASS(TOverlayControl, TcxControl)
 public:
  TSize Content{0, 0};
  bool Overlay = true;
  bool Hybrid = true;

  using TcxControl::CheckScrollBarModeChange;
  using TcxControl::ClientBounds;
  using TcxControl::HideScrollBars;
  using TcxControl::RevealScrollBars;
  using TcxControl::HorzScrollBarBounds;
  using TcxControl::IsOnScrollBarArea;
  using TcxControl::RefreshScrollBars;
  using TcxControl::SizeGripBounds;
  using TcxControl::VertScrollBarBounds;

  void SetContent(int AWidth, int AHeight) {
    Content = TSize(AWidth, AHeight);
    RefreshScrollBars();
  }

 protected:
  bool AllowsOverlayScrollBars() override { return Overlay; }
  bool AllowsHybridScrollBars() override { return Hybrid; }
  void SetupScrollBars() override {
    const TRect client = ClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, client.Width(), 0, true, true);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, client.Height(), 0, true, true);
  }
};

// The bitmap a bar hands to its layered window, as the window would get it.
struct TCapturedLayer {
  HWND Wnd = nullptr;
  BYTE Alpha = 0;
  std::unique_ptr<TPixelSurface> Pixels;
  int Updates = 0;
};

class TLayerCapture {
 public:
  TLayerCapture() {
    TcxControlPopupScrollBar::SetLayeredWindowUpdater([this](HWND AWnd, HDC ADC, const TSize& ASize, BYTE AAlpha) {
      TCapturedLayer& layer = AWnd == FFilter || !FFilter ? FLast : FOther;
      layer.Wnd = AWnd;
      layer.Alpha = AAlpha;
      layer.Pixels = std::make_unique<TPixelSurface>(ASize.cx, ASize.cy, 0);
      BitBlt(layer.Pixels->DC(), 0, 0, ASize.cx, ASize.cy, ADC, 0, 0, SRCCOPY);
      ++layer.Updates;
    });
  }
  ~TLayerCapture() { TcxControlPopupScrollBar::SetLayeredWindowUpdater(nullptr); }
  TLayerCapture(const TLayerCapture&) = delete;
  TLayerCapture& operator=(const TLayerCapture&) = delete;

  void Only(HWND AWnd) { FFilter = AWnd; }
  const TCapturedLayer& Last() const { return FLast; }

 private:
  HWND FFilter = nullptr;
  TCapturedLayer FLast;
  TCapturedLayer FOther;
};

// A premultiplied source-over composition, the way a layered window's pixels
// build up from fills: (colour, alpha) pairs in drawing order.
struct TPremultiplied {
  double R = 0, G = 0, B = 0, A = 0;
  void Over(TColor AColor, int AAlpha) {
    const COLORREF c = ColorToColorRef(AColor);
    const double a = AAlpha / 255.0;
    R = GetRValue(c) * a + R * (1 - a);
    G = GetGValue(c) * a + G * (1 - a);
    B = GetBValue(c) * a + B * (1 - a);
    A = AAlpha + A * (1 - a);
  }
};

inline void ExpectPixel(const TPixelSurface& APixels, int X, int Y, const TPremultiplied& AExpected, int ATolerance = 2) {
  SCOPED_TRACE(testing::Message() << "pixel " << X << ", " << Y);
  const std::uint32_t raw = APixels.Raw(X, Y);
  EXPECT_NEAR(static_cast<int>(raw >> 24), AExpected.A, ATolerance);
  EXPECT_NEAR(static_cast<int>((raw >> 16) & 0xFF), AExpected.R, ATolerance);
  EXPECT_NEAR(static_cast<int>((raw >> 8) & 0xFF), AExpected.G, ATolerance);
  EXPECT_NEAR(static_cast<int>(raw & 0xFF), AExpected.B, ATolerance);
}

