// 10,000 position changes with repaint on a TcxScrollBar (each change
// invalidates the bar and paints it at once), beside SetScrollInfo with
// redraw and UpdateWindow on a native SCROLLBAR of the same size, in the
// same run. Target: at most 1.5 x.
// 1,000 resizes of a control showing both classic main bars (each resize
// sets both bars up again, places them and repaints), beside a window with
// WS_HSCROLL | WS_VSCROLL given both bars' SetScrollInfo per resize. Target:
// at most 2 x.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/scrollbars/cxScrollBar.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Runs = 1;  // each paint waits for the X server under Wine: one run takes minutes
constexpr int Changes = 10000;
constexpr int Length = 300;
constexpr int Range = 1000;
constexpr int Resizes = 1000;
// Content larger than every size the resizes go through: both bars show.
constexpr int ContentWidth = 2000;
constexpr int ContentHeight = 3000;

// A control that scrolls content of a fixed size in pixels.
class TContentControl : public TcxControl {
  SK_CLASS(TContentControl, TcxControl)
 protected:
  void SetupScrollBars() override {
    const TRect client = ClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, ContentWidth - 1, 1, client.Width(), 0, true, true);
    SetScrollBarInfo(sbVertical, 0, ContentHeight - 1, 1, client.Height(), 0, true, true);
  }
};

TSize ResizedSize(int AStep) { return TSize(150 + AStep % 100, 120 + AStep % 80); }

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits(), LibraryControlsUnits()});
  int slower = 0;
  {
    const int thickness = GetSystemMetrics(SM_CXVSCROLL);
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(50, 50, 200, Length + 80);
    form->Show();
    TcxScrollBar* bar = New<TcxScrollBar>(form.get());
    bar->SetParent(form.get());
    bar->SetKind(sbVertical);
    bar->SetBounds(10, 10, thickness, Length);
    bar->SetScrollParams(0, Range, 0, 50);
    const HWND native = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 60, 10, thickness,
                                        Length, form->Handle(), nullptr, nullptr, nullptr);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, Range, 50, 0, 0};
    SetScrollInfo(native, SB_CTL, &info, TRUE);
    UpdateWindow(form->Handle());

    std::printf("controls_scrollbars benchmark: %d position changes with repaint on a %d x %d bar (best of %d runs)\n",
                Changes, thickness, Length, Runs);
    bench::TRatioReport report("TcxScrollBar", "native SCROLLBAR", 1.5, 8);
    const double ours = bench::BestOf(Runs, [] {}, [&] {
      for (int i = 0; i < Changes; ++i) bar->SetPosition(i % (Range - 50));
      GdiFlush();
    });
    const double reference = bench::BestOf(Runs, [] {}, [&] {
      SCROLLINFO position{sizeof(position), SIF_POS, 0, 0, 0, 0, 0};
      for (int i = 0; i < Changes; ++i) {
        position.nPos = i % (Range - 50);
        SetScrollInfo(native, SB_CTL, &position, TRUE);
        UpdateWindow(native);
      }
      GdiFlush();
    });
    report.Add("position change", ours, reference);
    slower = report.Slower();
    DestroyWindow(native);
  }
  {
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(50, 50, 600, 400);
    form->Show();
    TContentControl* control = New<TContentControl>(form.get());
    control->SetParent(form.get());
    control->SetBounds(10, 10, 200, 150);
    control->HandleNeeded();
    const HWND native = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 300,
                                        10, 200, 150, form->Handle(), nullptr, nullptr, nullptr);
    UpdateWindow(form->Handle());

    std::printf("controls_scrollbars benchmark: %d resizes of a control showing both main bars (best of %d runs)\n",
                Resizes, Runs);
    bench::TRatioReport report("TcxControl", "native WS_HSCROLL | WS_VSCROLL", 2.0, 8);
    const double ours = bench::BestOf(Runs, [] {}, [&] {
      for (int i = 0; i < Resizes; ++i) {
        const TSize size = ResizedSize(i);
        control->SetBounds(10, 10, size.cx, size.cy);
        control->Update();
      }
      GdiFlush();
    });
    const double reference = bench::BestOf(Runs, [] {}, [&] {
      for (int i = 0; i < Resizes; ++i) {
        const TSize size = ResizedSize(i);
        SetWindowPos(native, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(native, &client);
        SCROLLINFO horz{sizeof(horz), SIF_ALL, 0, ContentWidth - 1, static_cast<UINT>(client.right), 0, 0};
        SCROLLINFO vert{sizeof(vert), SIF_ALL, 0, ContentHeight - 1, static_cast<UINT>(client.bottom), 0, 0};
        SetScrollInfo(native, SB_HORZ, &horz, TRUE);
        SetScrollInfo(native, SB_VERT, &vert, TRUE);
        UpdateWindow(native);
      }
      GdiFlush();
    });
    report.Add("resize with both bars", ours, reference);
    slower += report.Slower();
    DestroyWindow(native);
  }
  FinalizeUnits();
  return slower == 0 ? 0 : 1;
}
