// The push button's whole repaint next to the theme's push button: 10^4
// owner-draw requests of an 82 x 25 button with a caption and a 16 x 16
// glyph (layout, off-screen drawing through the UltraFlat painter, one block
// transfer), and the same size and caption drawn by DrawThemeBackground
// (BP_PUSHBUTTON) and DrawThemeText in the same run. Prints the times and
// the ratio (button / theme) for the normal, focused and pressed looks,
// and for the normal look without the glyph; the target is at most 2.0.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxButtons.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <vssym32.h>

namespace {

constexpr int Repaints = 10000;
constexpr double Target = 2.0;
constexpr int Width = 82, Height = 25;
const wchar_t* const Caption = L"Verbinden";

TOwned<TImageList> NewGlyphs() {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetSize(16, 16);
  TOwned<TBitmap> image(New<TBitmap>());
  image->SetSize(16, 16);
  const RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
  const TOwnedBrush magenta(CreateSolidBrush(RGB(255, 0, 255))), green(CreateSolidBrush(RGB(0, 160, 0)));
  FillRect(image->Canvas()->Handle(), &all, magenta.Get());
  FillRect(image->Canvas()->Handle(), &inner, green.Get());
  list->AddMasked(image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  return list;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    const HTHEME theme = OpenTheme(totButton);
    if (!theme) {
      std::printf("stdctrls_buttons benchmark: no button theme to compare with\n");
      return 1;
    }
    const TOwned<TImageList> glyphs = NewGlyphs();
    const TOwned<TcxButton> button(New<TcxButton>(nullptr));
    button->SetBounds(0, 0, Width, Height);
    button->SetCaption(Caption);
    button->LookAndFeel()->SetNativeStyle(false);
    button->Font()->SetName(L"Tahoma");
    button->Font()->SetHeight(-11);
    button->OptionsImage()->SetImages(glyphs.get());
    button->OptionsImage()->SetImageIndex(0);
    TMemoryDC surface = TMemoryDC::Dib32(nullptr, Width, Height);
    const HDC dc = surface.DC();

    const auto repaints = [&](UINT AItemState) {
      return [&, AItemState] {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemState = AItemState;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, Width, Height};
        for (int i = 0; i < Repaints; ++i) button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
      };
    };
    const auto themed = [&](int AState) {
      return [&, AState] {
        const TSelectObject font(dc, button->Font()->Handle());
        const TRect r(0, 0, Width, Height);
        for (int i = 0; i < Repaints; ++i) {
          UxDrawThemeBackground(theme, dc, BP_PUSHBUTTON, AState, r, nullptr);
          UxDrawThemeText(theme, dc, BP_PUSHBUTTON, AState, Caption, -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0,
                          r);
        }
      };
    };
    repaints(0)();  // fonts, glyphs and caches warm up

    std::printf("stdctrls_buttons benchmark: %d repaints of a %d x %d push button with caption and glyph\n", Repaints,
                Width, Height);
    bench::TRatioReport report("button", "theme", Target, 10);
    report.Add("normal", bench::BestOf(3, [] {}, repaints(0)), bench::BestOf(3, [] {}, themed(PBS_NORMAL)));
    report.Add("focused", bench::BestOf(3, [] {}, repaints(ODS_FOCUS)), bench::BestOf(3, [] {}, themed(PBS_DEFAULTED)));
    report.Add("pressed", bench::BestOf(3, [] {}, repaints(ODS_SELECTED | ODS_FOCUS)),
               bench::BestOf(3, [] {}, themed(PBS_PRESSED)));
    // The theme draws no glyph: the same repaint without one shows what the
    // image list's drawing costs.
    button->OptionsImage()->SetImageIndex(-1);
    report.Add("no glyph", bench::BestOf(3, [] {}, repaints(0)), bench::BestOf(3, [] {}, themed(PBS_NORMAL)));
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
  }
  FinalizeUnits();
  return 0;
}
