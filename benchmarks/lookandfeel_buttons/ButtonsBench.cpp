// The UltraFlat painter's push button next to the theme's: 10^5 buttons of
// 75 x 23 with a caption, drawn on a memory device context through the
// painter (face, frame, caption), and the same size and caption through
// DrawThemeBackground (BP_PUSHBUTTON) and DrawThemeText in the same run.
// Prints the times and the ratio (painter / theme) for the normal look and
// for the five states in turn; the target is at most 1.0.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <vssym32.h>

namespace {

constexpr int Buttons = 100000;
constexpr double Target = 1.0;
constexpr int Width = 75, Height = 23;
const wchar_t* const Caption = L"\u00D6ffnen";

constexpr TcxButtonState States[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDefault, cxbsDisabled};
// The theme's push-button states in the same order.
constexpr int ThemeStates[] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DEFAULTED, PBS_DISABLED};

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  {
    TMemoryDC surface = TMemoryDC::Dib32(nullptr, Width * 4, Height * 4);
    const HDC dc = surface.DC();
    const TOwned<TCanvas> vclCanvas(New<TCanvas>());
    vclCanvas->SetHandle(dc);
    const TOwned<TcxCanvas> canvas(New<TcxCanvas>(vclCanvas.get()));
    canvas->Font()->SetName(L"Tahoma");
    canvas->Font()->SetHeight(-11);
    TcxCustomLookAndFeelPainter* painter = GetPaintersManager()->GetPainter(lfsUltraFlat);
    const TdxScaleFactor* factor = DefaultScaleFactor();
    const HTHEME theme = OpenTheme(totButton);
    if (!theme) {
      std::printf("lookandfeel_buttons benchmark: no button theme to compare with\n");
      return 1;
    }
    const auto cell = [](int I) {
      const int x = (I % 4) * Width, y = (I / 4 % 4) * Height;
      return TRect(x, y, x + Width, y + Height);
    };

    const auto painted = [&](bool AAllStates) {
      return [&, AAllStates] {
        for (int i = 0; i < Buttons; ++i)
          painter->DrawScaledButton(canvas.get(), cell(i), Caption, AAllStates ? States[i % 5] : cxbsNormal, factor);
      };
    };
    const auto themed = [&](bool AAllStates) {
      return [&, AAllStates] {
        const TSelectObject font(dc, canvas->Font()->Handle());
        for (int i = 0; i < Buttons; ++i) {
          const TRect r = cell(i);
          const int state = AAllStates ? ThemeStates[i % 5] : PBS_NORMAL;
          UxDrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, r, nullptr);
          UxDrawThemeText(theme, dc, BP_PUSHBUTTON, state, Caption, -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, r);
        }
      };
    };
    // A few of each first: caches, glyphs and fonts warm up.
    for (int i = 0; i < 10; ++i) painter->DrawScaledButton(canvas.get(), cell(i), Caption, States[i % 5], factor);

    std::printf("lookandfeel_buttons benchmark: %d push buttons of %d x %d with the open button's caption\n", Buttons,
                Width, Height);
    bench::TRatioReport report("UltraFlat", "theme", Target, 12);
    report.Add("normal", bench::BestOf(3, [] {}, painted(false)), bench::BestOf(3, [] {}, themed(false)));
    report.Add("five states", bench::BestOf(3, [] {}, painted(true)), bench::BestOf(3, [] {}, themed(true)));
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
  }
  FinalizeUnits();
  return 0;
}
