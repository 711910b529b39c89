// Popup bands, on a canvas and in a real window's non-client area.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

namespace {

using P = TcxCustomLookAndFeelPainter;

P* Painter() { return UltraFlatPainter(); }

// The system's grip over the button face, W x H, mirrored by StretchBlt so
// that it lies in ACorner.
TPixelSurface GripOnFace(int W, int H, TdxCorner ACorner) {
  TPixelSurface grip(W, H, Sys(COLOR_BTNFACE));
  RECT r{0, 0, W, H};
  DrawFrameControl(grip.DC(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  TPixelSurface result(W, H, Bg);
  const bool mirrorX = ACorner == coTopLeft || ACorner == coBottomLeft;
  const bool mirrorY = ACorner == coTopLeft || ACorner == coTopRight;
  StretchBlt(result.DC(), mirrorX ? W - 1 : 0, mirrorY ? H - 1 : 0, mirrorX ? -W : W, mirrorY ? -H : H, grip.DC(), 0,
             0, W, H, SRCCOPY);
  return result;
}

// The pixels of R on A that differ from AReference's, placed at R's
// top-left.
int DifferingIn(const TPixelSurface& A, const TRect& R, const TPixelSurface& AReference) {
  int result = 0;
  for (int y = 0; y < R.Height(); ++y)
    for (int x = 0; x < R.Width(); ++x) result += A.Pixel(R.Left + x, R.Top + y) != AReference.Pixel(x, y);
  return result;
}

// The close button alone, drawn on the button face.
TPixelSurface CloseButtonOnFace(const TRect& R, TcxButtonState AState) {
  TCanvasOnSurface canvas(R.Width(), R.Height(), Sys(COLOR_BTNFACE));
  Painter()->DrawScaledSmallCloseButton(canvas.Get(), TRect(0, 0, R.Width(), R.Height()), AState,
                                        DefaultScaleFactor());
  TPixelSurface result(R.Width(), R.Height(), Bg);
  BitBlt(result.DC(), 0, 0, R.Width(), R.Height(), canvas.Surface.DC(), 0, 0, SRCCOPY);
  return result;
}

TEST(PopupBand, BorderLinesGripCloseButtonAndContentThenTheBandLeavesTheClip) {
  const TSize grip = Painter()->SizeGripSize();
  const TRect bounds(4, 3, 124, 30);
  const TRect borders(0, 1, 0, 0);
  const TRect inner(4, 4, 124, 30);
  const TRect gripRect(bounds.Right - 2 - grip.cx, bounds.Bottom - 2 - grip.cy, bounds.Right - 2, bounds.Bottom - 2);
  const TRect closeRect(9, 9, 23, 24);
  for (const TdxCorner corner : {coTopLeft, coTopRight, coBottomLeft, coBottomRight}) {
    for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
      SCOPED_TRACE(testing::Message() << "corner " << corner << ", state " << state);
      TCanvasOnSurface canvas(130, 34, Bg);
      Painter()->DrawScaledPopupPanelBand(canvas.Get(), bounds, gripRect, closeRect, corner, state, borders, clRed,
                                          DefaultScaleFactor());
      EXPECT_EQ(canvas.Surface.Count(TRect(bounds.Left, bounds.Top, bounds.Right, inner.Top), Red), bounds.Width())
          << canvas.Surface.Picture(Bg);
      EXPECT_EQ(DifferingIn(canvas.Surface, gripRect, GripOnFace(grip.cx, grip.cy, corner)), 0);
      EXPECT_EQ(DifferingIn(canvas.Surface, closeRect, CloseButtonOnFace(closeRect, state)), 0);
      const int parts = gripRect.Width() * gripRect.Height() + closeRect.Width() * closeRect.Height();
      EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_BTNFACE)) - canvas.Surface.Count(gripRect, Sys(COLOR_BTNFACE)) -
                    canvas.Surface.Count(closeRect, Sys(COLOR_BTNFACE)),
                inner.Width() * inner.Height() - parts)
          << "the rest of the band is window content";
      EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg),
                bounds.Width() * bounds.Height())
          << "nothing outside the band";
      // Later drawing leaves the band alone.
      const TPixelSurface before = [&] {
        TPixelSurface copy(130, 34);
        BitBlt(copy.DC(), 0, 0, 130, 34, canvas.Surface.DC(), 0, 0, SRCCOPY);
        return copy;
      }();
      canvas->FillRect(canvas.Surface.ClientRect(), clBlue);
      EXPECT_EQ(DifferingIn(canvas.Surface, bounds,
                            [&] {
                              TPixelSurface band(bounds.Width(), bounds.Height());
                              BitBlt(band.DC(), 0, 0, bounds.Width(), bounds.Height(), before.DC(), bounds.Left,
                                     bounds.Top, SRCCOPY);
                              return band;
                            }()),
                0);
      EXPECT_EQ(canvas.Surface.Count(Blue), 130 * 34 - bounds.Width() * bounds.Height());
    }
  }
}

TEST(PopupBand, HiddenGripAndCloseButtonLeaveWindowContent) {
  TCanvasOnSurface canvas(60, 30, Bg);
  const TRect bounds(2, 2, 58, 28);
  Painter()->DrawScaledPopupPanelBand(canvas.Get(), bounds, TRect(30, 5, 47, 22), TRect(5, 5, 19, 20), coBottomRight,
                                      cxbsNormal, TRect(0, 0, 0, 2), clRed, DefaultScaleFactor(), false, false);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 2, 58, 26), Sys(COLOR_BTNFACE)), 56 * 24);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 26, 58, 28), Red), 56 * 2);
}

// ---------------------------------------------------------------------------
// The non-client band of a real popup window

// A popup whose client area is 2 pixels in from each side and, below it, a
// band as tall as the painter's.
LRESULT CALLBACK BandWindowProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
  if (AMessage == WM_NCCALCSIZE) {
    // The first rectangle of the parameters, or the one rectangle.
    RECT& r = *reinterpret_cast<RECT*>(ALParam);
    InflateRect(&r, -2, -2);
    r.bottom -= Painter()->PopupPanelSize();
    return 0;
  }
  if (AMessage == WM_NCPAINT) return 0;
  if (AMessage == WM_ERASEBKGND) return 1;
  return DefWindowProcW(AWnd, AMessage, AWParam, ALParam);
}

class TBandWindow {
 public:
  TBandWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BandWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SkPopupBandTest";
    RegisterClassW(&windowClass);
    FHandle = CreateWindowExW(WS_EX_TOPMOST, L"SkPopupBandTest", L"", WS_POPUP, 50, 60, 150, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ShowWindow(FHandle, SW_SHOWNOACTIVATE);
    UpdateWindow(FHandle);
  }
  ~TBandWindow() { DestroyWindow(FHandle); }
  TBandWindow(const TBandWindow&) = delete;
  TBandWindow& operator=(const TBandWindow&) = delete;

  HWND Handle() const { return FHandle; }
  // What the window's DC shows.
  TPixelSurface Read() const {
    TPixelSurface result(150, 100, Bg);
    const TWindowDC dc(FHandle, true);
    BitBlt(result.DC(), 0, 0, 150, 100, dc.Get(), 0, 0, SRCCOPY);
    return result;
  }

 private:
  HWND FHandle;
};

TEST(PopupBand, TheNonClientBandIsDrawnOnTheWindowsOwnDC) {
  const TBandWindow window;
  const int band = Painter()->PopupPanelSize();
  const TSize grip = Painter()->SizeGripSize();
  // In window coordinates; the painter takes them on the screen.
  const TRect gripRect(150 - 2 - 2 - grip.cx, 100 - 2 - 2 - grip.cy, 150 - 4, 100 - 4);
  const TRect closeRect(6, 100 - 2 - band + 3, 20, 100 - 2 - band + 18);
  const TPoint screen(50, 60);
  struct TRow {
    bool Above;
    bool Tracking;
    COLORREF Face;
  };
  const TRow rows[] = {{false, false, Sys(COLOR_BTNFACE)}, {true, false, HotBlend()}, {false, true, HotBlend()},
                       {true, true, PressedBlend()}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "above " << row.Above << ", tracking " << row.Tracking);
    Painter()->DrawScaledPopupNCPanel(window.Handle(), row.Above, row.Tracking, coBottomRight,
                                      TRect(closeRect.Left + screen.X, closeRect.Top + screen.Y,
                                            closeRect.Right + screen.X, closeRect.Bottom + screen.Y),
                                      TRect(gripRect.Left + screen.X, gripRect.Top + screen.Y,
                                            gripRect.Right + screen.X, gripRect.Bottom + screen.Y),
                                      clRed, DefaultScaleFactor());
    const TPixelSurface shown = window.Read();
    // The frame, two pixels wide, and the band's line at the client side.
    EXPECT_EQ(RingCount(shown, TRect(0, 0, 150, 100), Red) + RingCount(shown, TRect(1, 1, 149, 99), Red),
              RingLength(TRect(0, 0, 150, 100)) + RingLength(TRect(1, 1, 149, 99)))
        << shown.Picture(Bg);
    const int line = 100 - 2 - band;
    EXPECT_EQ(shown.Count(TRect(2, line, 148, line + 1), Red), 146);
    EXPECT_EQ(DifferingIn(shown, gripRect, GripOnFace(grip.cx, grip.cy, coBottomRight)), 0);
    TRect face = closeRect;
    face.Deflate(1);
    EXPECT_EQ(shown.Count(face, row.Face) + shown.Count(face, Sys(COLOR_BTNTEXT)) +
                  shown.Count(face, Sys(COLOR_HIGHLIGHTTEXT)),
              face.Width() * face.Height())
        << "the close button's face and cross";
    EXPECT_GT(shown.Count(face, row.Face), face.Width() * face.Height() / 2);
    EXPECT_EQ(shown.Count(TRect(24, line + 1, gripRect.Left, 98), Sys(COLOR_BTNFACE)),
              (gripRect.Left - 24) * (98 - line - 1))
        << "window content between them";
  }
}

}  // namespace
