// 1,000 repaints of a 400 x 300 control whose PaintControl fills 100
// rectangles, through the control's whole paint pipeline (invalidate, the
// double-buffered WM_PAINT, erase, paint, one copy). Beside it in the same
// run, a bare Win32 window of the same size painting the same rectangles
// through its own memory DC and one BitBlt. Target: at most 1.3 x.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/controls/control/cxControls.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Runs = 5;
constexpr int Repaints = 1000;
constexpr int Width = 400;
constexpr int Height = 300;
constexpr int Rectangles = 100;

// The same 100 rectangles in 100 colours for both sides.
void FillRectangles(HDC DC) {
  for (int i = 0; i < Rectangles; ++i) {
    const RECT r{(i % 10) * 40, (i / 10) * 30, (i % 10) * 40 + 38, (i / 10) * 30 + 28};
    SetDCBrushColor(DC, RGB(i * 2, 255 - i * 2, (i * 37) % 256));
    FillRect(DC, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

class TBenchControl : public TcxControl {
  SK_CLASS(TBenchControl, TcxControl)
 protected:
  void PaintControl() override {
    inherited::PaintControl();
    FillRectangles(Canvas()->Handle());
  }
};

LRESULT CALLBACK BareWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_ERASEBKGND) return 1;
  if (AMsg != WM_PAINT) return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  const TPaintScope paint(AWnd);
  const RECT& r = paint.PaintRect();
  const TMemoryDC buffer = TMemoryDC::Compatible(paint.DC(), r.right - r.left, r.bottom - r.top);
  SetWindowOrgEx(buffer.DC(), r.left, r.top, nullptr);
  FillRectangles(buffer.DC());
  BitBlt(paint.DC(), r.left, r.top, r.right - r.left, r.bottom - r.top, buffer.DC(), r.left, r.top, SRCCOPY);
  return 0;
}

void Repaint(HWND AWnd) {
  for (int i = 0; i < Repaints; ++i) {
    InvalidateRect(AWnd, nullptr, FALSE);
    UpdateWindow(AWnd);
  }
  GdiFlush();
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits(), LibraryControlsUnits()});
  int slower = 0;
  {
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(50, 50, Width * 2 + 60, Height + 80);
    form->Show();
    TBenchControl* control = New<TBenchControl>(form.get());
    control->SetBounds(10, 10, Width, Height);
    control->SetParent(form.get());
    WNDCLASSW wc{};
    wc.lpfnWndProc = &BareWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BareBenchWindow";
    RegisterClassW(&wc);
    const HWND bare = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, Width + 30, 10, Width, Height,
                                      form->Handle(), nullptr, wc.hInstance, nullptr);
    UpdateWindow(form->Handle());

    std::printf("controls_control benchmark: %d repaints of %d x %d, %d rectangles (best of %d runs)\n", Repaints,
                Width, Height, Rectangles, Runs);
    bench::TRatioReport report("TcxControl", "bare window", 1.3, 8);
    const double ours = bench::BestOf(Runs, [] {}, [&] { Repaint(control->Handle()); });
    const double reference = bench::BestOf(Runs, [] {}, [&] { Repaint(bare); });
    report.Add("repaint", ours, reference);
    slower = report.Slower();
    DestroyWindow(bare);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
  }
  FinalizeUnits();
  return slower == 0 ? 0 : 1;
}
