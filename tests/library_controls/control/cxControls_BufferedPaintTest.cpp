// Which road a control's WM_PAINT takes with the composition, version and
// DPI-awareness probes turned: composed glass and a DPI-unaware process the
// system scales go through the system's buffered painting (the control is
// asked with WM_PRINTCLIENT), everything else through the memory DC of the
// invalid rectangle; each road puts the control's picture on the screen
// inside the invalid rectangle only.
#include "library/controls/control/cxControls.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxDPIAwareUtils.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

// Fills its client with Fill and records how it was asked to paint.
class TRoadProbeControl : public TcxControl {
  SK_CLASS(TRoadProbeControl, TcxControl)
 public:
  COLORREF Fill = RGB(200, 30, 40);
  int PrintClients = 0;
  int BufferPaints = 0;  // WM_PAINT with a device context

  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PRINTCLIENT) ++PrintClients;
    if (Message.Msg == WM_PAINT && Message.WParam) ++BufferPaints;
    inherited::WndProc(Message);
  }

 protected:
  void PaintControl() override {
    inherited::PaintControl();
    const TOwnedBrush brush(CreateSolidBrush(Fill));
    const RECT r = ClientRect();
    FillRect(Canvas()->Handle(), &r, brush.Get());
  }
};

HRESULT WINAPI ComposedDesktop(BOOL* AEnabled) {
  *AEnabled = TRUE;
  return S_OK;
}
HRESULT WINAPI PlainDesktop(BOOL* AEnabled) {
  *AEnabled = FALSE;
  return S_OK;
}
DPI_AWARENESS_CONTEXT WINAPI UnawareGdiScaledThread() { return DPI_AWARENESS_CONTEXT_UNAWARE_GDISCALED; }
BOOL WINAPI SameContext(DPI_AWARENESS_CONTEXT A, DPI_AWARENESS_CONTEXT B) { return A == B; }

// The composition answer and the thread's DPI awareness of another system,
// put back at the end.
class TSystemProbes {
 public:
  TSystemProbes(bool AComposed, bool AUnawareGdiScaled)
      : FDwm(dxDwmApi()), FDwmBound(IsDwmApiBound()), FDpi(dxDpiAwarenessApi()),
        FBuild17762(IsWin10Build17762OrLater) {
    TdxDwmApi dwm = FDwm;
    dwm.DwmIsCompositionEnabled = AComposed ? &ComposedDesktop : &PlainDesktop;
    dxSetDwmApi(dwm, true);
    if (AUnawareGdiScaled) {
      TdxDpiAwarenessApi dpi = FDpi;
      dpi.GetThreadDpiAwarenessContext = &UnawareGdiScaledThread;
      dpi.AreDpiAwarenessContextsEqual = &SameContext;
      dxSetDpiAwarenessApi(dpi);
      IsWin10Build17762OrLater = true;
    }
  }
  ~TSystemProbes() {
    IsWin10Build17762OrLater = FBuild17762;
    dxSetDpiAwarenessApi(FDpi);
    dxSetDwmApi(FDwm, FDwmBound);
  }
  TSystemProbes(const TSystemProbes&) = delete;
  TSystemProbes& operator=(const TSystemProbes&) = delete;

 private:
  TdxDwmApi FDwm;
  bool FDwmBound;
  TdxDpiAwarenessApi FDpi;
  bool FBuild17762;
};

// The client pixels of a window as the screen shows them.
TPixelSurface ReadClient(HWND AWnd) {
  RECT r{};
  GetClientRect(AWnd, &r);
  TPixelSurface surface(r.right, r.bottom, RGB(1, 2, 3));
  const TWindowDC dc(AWnd);
  BitBlt(surface.DC(), 0, 0, r.right, r.bottom, dc.Get(), 0, 0, SRCCOPY);
  return surface;
}

class cxControlsPaintRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    // Made on first use and kept for the process: not a leak.
    SystemInfo();
    FWindows = ThreadWindowCount();
    FForm.reset(NewShownForm(TRect(100, 100, 400, 320)));
    FControl = New<TRoadProbeControl>(FForm.get());
    FControl->SetBounds(10, 10, 200, 120);
    FControl->SetParent(FForm.get());
    FControl->HandleNeeded();
    UpdateWindow(FForm->Handle());
    PumpPending();
  }
  void TearDown() override {
    FForm.reset();
    PumpPending();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  // The control on the screen in ABefore; its next paint fills AAfter.
  void ShowThenRepaintWith(COLORREF ABefore, COLORREF AAfter) {
    FControl->Fill = ABefore;
    RedrawWindow(FControl->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    FControl->Fill = AAfter;
    FControl->PrintClients = 0;
    FControl->BufferPaints = 0;
  }
  int FWindows = 0;
  TOwned<TForm> FForm;
  TRoadProbeControl* FControl = nullptr;
};

TEST_F(cxControlsPaintRoadTest, EachRoadPaintsTheInvalidRectangleOnly) {
  const struct {
    const char* Name;
    bool Glass;
    bool Composed;
    bool UnawareGdiScaled;
    bool DoubleBuffered;
    bool Buffered;  // through the system's buffered painting
  } rows[] = {
      {"glass, composed", true, true, false, false, true},
      {"glass, not composed", true, false, false, false, false},
      {"no glass, composed", false, true, false, false, false},
      {"unaware, scaled by the system, double buffered", false, false, true, true, true},
      {"aware, double buffered", false, false, false, true, false},
  };
  const COLORREF before = RGB(20, 160, 60);
  const COLORREF after = RGB(40, 60, 200);
  const HWND wnd = FControl->Handle();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    FControl->SetDoubleBuffered(row.DoubleBuffered);
    if (row.Glass) FControl->ControlState().Include(csGlassPaint);
    else FControl->ControlState().Exclude(csGlassPaint);
    const TSystemProbes probes(row.Composed, row.UnawareGdiScaled);
    ASSERT_EQ(row.UnawareGdiScaled, IsUnawareGdiScaled());

    ShowThenRepaintWith(before, after);
    const RECT invalid{30, 20, 40, 30};
    InvalidateRect(wnd, &invalid, FALSE);
    UpdateWindow(wnd);

    EXPECT_EQ(row.Buffered ? 1 : 0, FControl->PrintClients);
    EXPECT_EQ(row.Buffered ? 0 : 1, FControl->BufferPaints);
    const TPixelSurface screen = ReadClient(wnd);
    EXPECT_EQ(after, screen.Pixel(30, 20));
    EXPECT_EQ(after, screen.Pixel(39, 29));
    EXPECT_EQ(before, screen.Pixel(29, 20)) << "left of the invalid rectangle";
    EXPECT_EQ(before, screen.Pixel(40, 29)) << "right of it";
    EXPECT_EQ(before, screen.Pixel(35, 30)) << "below it";
  }
  FControl->ControlState().Exclude(csGlassPaint);
}

TEST_F(cxControlsPaintRoadTest, TheBufferedRoadOnAWindowWithoutControlAsksTheWindow) {
  // A plain window of the system's: the paint messages go to it with
  // SendMessage, and the buffer comes back only inside R.
  const HWND wnd = FControl->Handle();
  ShowThenRepaintWith(RGB(90, 10, 10), RGB(10, 90, 10));
  {
    const TWindowDC dc(wnd);
    PaintWindowBuffered(wnd, dc.Get(), nullptr, false, TRect(50, 40, 60, 50));
  }
  EXPECT_EQ(1, FControl->PrintClients);
  const TPixelSurface screen = ReadClient(wnd);
  EXPECT_EQ(RGB(10, 90, 10), screen.Pixel(55, 45));
  EXPECT_EQ(RGB(90, 10, 10), screen.Pixel(49, 45));
  EXPECT_EQ(RGB(90, 10, 10), screen.Pixel(60, 45));
}

TEST_F(cxControlsPaintRoadTest, PaintingThroughTheWindowsOwnDCRepaintsTheWholeClientWithoutAPaintMessage) {
  const HWND wnd = FControl->Handle();
  ShowThenRepaintWith(RGB(90, 10, 10), RGB(10, 90, 10));
  PaintWindowThroughDC(wnd, FControl, false);
  EXPECT_EQ(1, FControl->PrintClients);
  EXPECT_EQ(0, FControl->BufferPaints);
  EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "nothing was left to paint";
  const TPixelSurface screen = ReadClient(wnd);
  RECT client{};
  GetClientRect(wnd, &client);
  for (const POINT p : {POINT{0, 0}, POINT{client.right - 1, 0}, POINT{100, 60}, POINT{client.right - 1, client.bottom - 1}})
    EXPECT_EQ(RGB(10, 90, 10), screen.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

}  // namespace
