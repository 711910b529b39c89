// The UltraFlat painter's checked check boxes and radio buttons next to the
// system's: 10^5 of each at the system size, drawn on a memory device
// context through the painter and through DrawFrameControl
// (DFCS_BUTTONCHECK and DFCS_BUTTONRADIO with DFCS_CHECKED) in the same run.
// Prints the times and the ratios (painter / system); the target is at
// most 1.5.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>

namespace {

constexpr int Glyphs = 100000;
constexpr double Target = 1.5;

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  {
    TcxCustomLookAndFeelPainter* painter = GetPaintersManager()->GetPainter(lfsUltraFlat);
    const TdxScaleFactor* factor = SystemScaleFactor();
    const TSize check = painter->ScaledCheckButtonSize(factor);
    const TSize radio = painter->ScaledRadioButtonSize(factor);
    TMemoryDC surface = TMemoryDC::Dib32(nullptr, 64 * 4, 64 * 4);
    const HDC dc = surface.DC();
    const TOwned<TCanvas> vclCanvas(New<TCanvas>());
    vclCanvas->SetHandle(dc);
    const TOwned<TcxCanvas> canvas(New<TcxCanvas>(vclCanvas.get()));
    const auto cell = [](int I, const TSize& ASize) {
      const int x = (I % 8) * ASize.cx, y = (I / 8 % 8) * ASize.cy;
      return TRect(x, y, x + ASize.cx, y + ASize.cy);
    };

    const auto paintedChecks = [&] {
      for (int i = 0; i < Glyphs; ++i)
        painter->DrawScaledCheckButton(canvas.get(), cell(i, check), cxbsNormal, cbsChecked, factor);
    };
    const auto systemChecks = [&] {
      for (int i = 0; i < Glyphs; ++i) {
        RECT r = cell(i, check);
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
      }
    };
    const auto paintedRadios = [&] {
      for (int i = 0; i < Glyphs; ++i) {
        const TRect r = cell(i, radio);
        painter->DrawScaledRadioButton(canvas.get(), r.Left, r.Top, cxbsNormal, true, false, clBtnFace, factor);
      }
    };
    const auto systemRadios = [&] {
      for (int i = 0; i < Glyphs; ++i) {
        RECT r = cell(i, radio);
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
      }
    };
    // The radio images are made on first use.
    painter->DrawScaledRadioButton(canvas.get(), 0, 0, cxbsNormal, true, false, clBtnFace, factor);

    std::printf("lookandfeel_glyphs benchmark: %d checked check boxes (%d x %d) and radio buttons (%d x %d)\n",
                Glyphs, check.cx, check.cy, radio.cx, radio.cy);
    bench::TRatioReport report("UltraFlat", "system", Target, 12);
    report.Add("check box", bench::BestOf(3, [] {}, paintedChecks), bench::BestOf(3, [] {}, systemChecks));
    report.Add("radio", bench::BestOf(3, [] {}, paintedRadios), bench::BestOf(3, [] {}, systemRadios));
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
  }
  FinalizeUnits();
  return 0;
}
