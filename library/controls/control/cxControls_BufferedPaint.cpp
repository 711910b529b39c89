// Painting a window through the system's buffered painting: the road of a
// control on composed glass (whose alpha the buffer keeps) and of a process
// that leaves DPI scaling to the system's bitmap stretching.

#include "library/controls/control/cxControls_Internal.h"

#include "library/core/system/dxUxTheme.h"

#include <utility>

namespace {

// A buffered paint that is ended on every way out: with the update when
// Finish ran, else thrown away.
class [[nodiscard]] TBufferedPaintScope {
 public:
  TBufferedPaintScope(HWND AWnd, HDC ATarget, const TRect& R)
      : FWnd(AWnd), FBuffer(UxBeginBufferedPaint(ATarget, R, BPBF_TOPDOWNDIB, nullptr, FDC)) {}
  ~TBufferedPaintScope() {
    if (FBuffer) UxEndBufferedPaint(FBuffer, false);
  }
  TBufferedPaintScope(const TBufferedPaintScope&) = delete;
  TBufferedPaintScope& operator=(const TBufferedPaintScope&) = delete;
  HPAINTBUFFER Buffer() const { return FBuffer; }
  HDC DC() const { return FDC; }
  // Copies the buffer to the target; a caret in the window would be
  // overdrawn, so it hides meanwhile.
  void Finish() {
    const bool caret = GetFocus() == FWnd && HideCaret(FWnd);
    UxEndBufferedPaint(std::exchange(FBuffer, nullptr), true);
    if (caret) ShowCaret(FWnd);
  }

 private:
  HWND FWnd;
  HDC FDC = nullptr;
  HPAINTBUFFER FBuffer;
};

// The erase and the client paint, to the control or (without one) the window.
void SendPaintMessages(HWND AWnd, TWinControl* AControl, HDC DC) {
  const auto dc = reinterpret_cast<WPARAM>(DC);
  if (!AControl) {
    SendMessageW(AWnd, WM_ERASEBKGND, dc, static_cast<LPARAM>(dc));
    SendMessageW(AWnd, WM_PRINTCLIENT, dc, PRF_CLIENT);
    return;
  }
  TControlTracker alive(AControl);
  AControl->Perform(WM_ERASEBKGND, dc, static_cast<LPARAM>(dc));
  if (alive.Alive()) AControl->Perform(WM_PRINTCLIENT, dc, PRF_CLIENT);
}

}  // namespace

void PaintWindowBuffered(HWND AWnd, HDC DC, TWinControl* AControl, bool AKeepAlpha, const TRect& R) {
  if (R.IsEmpty()) return;
  TBufferedPaintScope buffer(AWnd, DC, R);
  if (!buffer.Buffer()) {
    SendPaintMessages(AWnd, AControl, DC);
    return;
  }
  // Clearing and making the alpha opaque fail on systems without
  // composition; the colours are right either way.
  UxBufferedPaintClear(buffer.Buffer(), &R);
  SendPaintMessages(AWnd, AControl, buffer.DC());
  if (!AKeepAlpha) UxBufferedPaintSetAlpha(buffer.Buffer(), &R, 255);
  buffer.Finish();
}

void PaintWindowInBeginPaint(HWND AWnd, TWinControl* AControl, bool AKeepAlpha) {
  const TPaintScope paint(AWnd);
  if (paint.DC()) PaintWindowBuffered(AWnd, paint.DC(), AControl, AKeepAlpha, TRect(paint.PaintRect()));
}

void PaintWindowThroughDC(HWND AWnd, TWinControl* AControl, bool AKeepAlpha) {
  const TWindowDC dc(AWnd);
  RECT client{};
  if (dc && GetClientRect(AWnd, &client)) PaintWindowBuffered(AWnd, dc.Get(), AControl, AKeepAlpha, TRect(client));
}
