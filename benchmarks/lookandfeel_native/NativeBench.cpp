// The Native painter next to the theme it draws with: 10^4 push buttons,
// check boxes and vertical scroll thumbs through the painter on a TcxCanvas,
// and the same part, state and size through DrawThemeBackground in the same
// run. Prints the times and the ratio (painter / theme) of each; the target
// is at most 1.3 (the GDI canvas keeps no pictures of native objects, so
// every draw is a cold one).
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
#include <functional>
#include <vssym32.h>

namespace {

constexpr int Draws = 10000;
constexpr double Target = 1.3;

struct TCase {
  const char* Name;
  TdxThemedObjectType Type;
  int Part;
  int State;
  TSize Size;
  std::function<void(TcxCustomLookAndFeelPainter*, TcxCanvas*, const TRect&)> Draw;
};

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  {
    TMemoryDC surface = TMemoryDC::Dib32(nullptr, 400, 200);
    const HDC dc = surface.DC();
    const TOwned<TCanvas> vclCanvas(New<TCanvas>());
    vclCanvas->SetHandle(dc);
    const TOwned<TcxCanvas> canvas(New<TcxCanvas>(vclCanvas.get()));
    TcxCustomLookAndFeelPainter* painter = GetPaintersManager()->GetPainter(lfsNative);
    const TdxScaleFactor* factor = DefaultScaleFactor();
    if (!AreVisualStylesAvailable(TdxThemedObjectTypes{totButton, totScrollBar})) {
      std::printf("lookandfeel_native benchmark: no themes to draw with\n");
      return 1;
    }
    const TCase cases[] = {
        {"push button", totButton, BP_PUSHBUTTON, PBS_HOT, TSize(75, 23),
         [factor](auto* P, TcxCanvas* C, const TRect& R) {
           P->DrawScaledButton(C, R, cxbsHot, factor, cxbpButton, clDefault);
         }},
        {"check box", totButton, BP_CHECKBOX, CBS_CHECKEDNORMAL, TSize(13, 13),
         [factor](auto* P, TcxCanvas* C, const TRect& R) {
           P->DrawScaledCheck(static_cast<TcxCustomCanvas*>(C), R, cxbsNormal, cbsChecked, clDefault, factor, true);
         }},
        {"scroll thumb", totScrollBar, SBP_THUMBBTNVERT, SCRBS_NORMAL, TSize(17, 12),
         [factor](auto* P, TcxCanvas* C, const TRect& R) {
           P->DrawScaledScrollBarPart(C, false, R, sbpThumbnail, cxbsNormal, factor);
         }},
    };
    std::printf("lookandfeel_native benchmark: %d draws of each part\n", Draws);
    bench::TRatioReport report("Native", "theme", Target, 14);
    for (const TCase& c : cases) {
      const TRect r = TRect::CreateFromSize(c.Size);
      const HTHEME theme = OpenTheme(c.Type);
      for (int i = 0; i < 10; ++i) c.Draw(painter, canvas.get(), r);
      const double painted = bench::BestOf(3, [] {}, [&] {
        for (int i = 0; i < Draws; ++i) c.Draw(painter, canvas.get(), r);
      });
      const double themed = bench::BestOf(3, [] {}, [&] {
        for (int i = 0; i < Draws; ++i) UxDrawThemeBackground(theme, dc, c.Part, c.State, r, nullptr);
      });
      report.Add(c.Name, painted, themed);
    }
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
  }
  FinalizeUnits();
  return 0;
}
