// The button on desktop-composition glass. Wine composes nothing, so the
// composition probe is the test's: with it on, the button paints through a
// buffered paint and its caption through the theme's composited text; with
// it off, as everywhere else. Wine's composited text writes the same pixels
// as GDI's, so the path shows in the calls the theme library receives: the
// test's entry points count them and pass them on.
#include "library/stdctrls/cxButtons.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxUxTheme.h"
#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <uxtheme.h>

namespace {

bool Composed = false;
HRESULT WINAPI ComposedProbe(BOOL* AEnabled) {
  *AEnabled = Composed;
  return S_OK;
}

struct TThemeCalls {
  int BufferedPaints = 0;
  RECT BufferedRect{};
  int CompositedTexts = 0;
};
TThemeCalls Calls;
decltype(&BeginBufferedPaint) RealBeginBufferedPaint;
decltype(&DrawThemeTextEx) RealDrawThemeTextEx;

HPAINTBUFFER WINAPI CountedBeginBufferedPaint(HDC ADC, const RECT* ARect, BP_BUFFERFORMAT AFormat,
                                              BP_PAINTPARAMS* AParams, HDC* APaintDC) {
  ++Calls.BufferedPaints;
  Calls.BufferedRect = *ARect;
  return RealBeginBufferedPaint(ADC, ARect, AFormat, AParams, APaintDC);
}

HRESULT WINAPI CountedDrawThemeTextEx(HTHEME ATheme, HDC ADC, int APart, int AState, LPCWSTR AText, int ALength,
                                      DWORD AFlags, LPRECT ARect, const DTTOPTS* AOptions) {
  if (AOptions && (AOptions->dwFlags & DTT_COMPOSITED)) ++Calls.CompositedTexts;
  return RealDrawThemeTextEx(ATheme, ADC, APart, AState, AText, ALength, AFlags, ARect, AOptions);
}

class TButtonOnGlass : public testing::Test {
 protected:
  void SetUp() override {
    Saved = dxDwmApi();
    SavedBound = IsDwmApiBound();
    TdxDwmApi api = Saved;
    api.DwmIsCompositionEnabled = &ComposedProbe;
    dxSetDwmApi(api, true);
    SavedTheme = dxUxThemeBinding();
    TdxUxThemeBinding theme = SavedTheme;
    auto& begin = theme.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::BeginBufferedPaint)];
    auto& text = theme.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::DrawThemeTextEx)];
    ASSERT_TRUE(begin && text) << "the theme library binds both";
    RealBeginBufferedPaint = reinterpret_cast<decltype(RealBeginBufferedPaint)>(reinterpret_cast<void*>(begin));
    RealDrawThemeTextEx = reinterpret_cast<decltype(RealDrawThemeTextEx)>(reinterpret_cast<void*>(text));
    begin = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountedBeginBufferedPaint));
    text = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountedDrawThemeTextEx));
    dxSetUxThemeBinding(theme);
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetBounds(0, 0, 200, 100);
    Button = New<TcxButton>(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(10, 10, 82, 25);
    Button->LookAndFeel()->SetNativeStyle(false);
    Button->Font()->SetName(L"Tahoma");
    Button->Font()->SetHeight(-11);
    Button->SetCaption(L"Flash");
    Button->HandleNeeded();
    Button->ControlState().Include(csGlassPaint);
  }
  void TearDown() override {
    Form.reset();
    dxSetUxThemeBinding(SavedTheme);
    dxSetDwmApi(Saved, SavedBound);
  }
  TPixelSurface Paint(bool AComposed) {
    Composed = AComposed;
    Calls = {};
    TPixelSurface surface(82, 25, RGB(255, 255, 255));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hDC = surface.DC();
    item.rcItem = RECT{0, 0, 82, 25};
    Button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    return surface;
  }
  TdxDwmApi Saved;
  TdxUxThemeBinding SavedTheme;
  bool SavedBound = false;
  TOwned<TForm> Form;
  TcxButton* Button = nullptr;
};

TEST_F(TButtonOnGlass, OnGlassTheButtonPaintsThroughABufferedPaintAndTheThemesText) {
  const TPixelSurface plain = Paint(false);
  EXPECT_EQ(Calls.BufferedPaints, 0);
  EXPECT_EQ(Calls.CompositedTexts, 0);
  const TPixelSurface glass = Paint(true);
  EXPECT_EQ(Calls.BufferedPaints, 1);
  EXPECT_EQ(TRect(Calls.BufferedRect), TRect(0, 0, 82, 25));
  EXPECT_EQ(Calls.CompositedTexts, 1) << "the caption";
  const TRect caption = Button->ViewInfo()->CaptionRect();
  ASSERT_FALSE(caption.IsEmpty());

  // The same button without its caption, then the caption drawn by the
  // theme's text function as glass wants it: composited, in the caption's
  // colour, over a 32-bit copy of what lies under it.
  Button->SetCaption(L"");
  TPixelSurface expected = Paint(false);
  {
    const int w = caption.Width(), h = caption.Height();
    TPixelSurface text(w, h);
    BitBlt(text.DC(), 0, 0, w, h, expected.DC(), caption.Left, caption.Top, SRCCOPY);
    const TSelectObject font(text.DC(), Button->Font()->Handle());
    const HTHEME theme = OpenThemeData(nullptr, L"WINDOW");
    ASSERT_NE(theme, nullptr);
    DTTOPTS options{};
    options.dwSize = sizeof(options);
    options.dwFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;
    options.crText = GetSysColor(COLOR_BTNTEXT);
    RECT r{0, 0, w, h};
    ASSERT_EQ(DrawThemeTextEx(theme, text.DC(), 0, 0, L"Flash", -1, DT_CENTER | DT_VCENTER | DT_NOCLIP, &r, &options),
              S_OK);
    CloseThemeData(theme);
    BitBlt(expected.DC(), caption.Left, caption.Top, w, h, text.DC(), 0, 0, SRCCOPY);
  }
  int differing = 0;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 82; ++x) differing += glass.Pixel(x, y) != expected.Pixel(x, y);
  EXPECT_EQ(differing, 0);

  // Disabled, the embossed caption is two composited texts.
  Button->SetCaption(L"Flash");
  Button->SetEnabled(false);
  Paint(true);
  EXPECT_EQ(Calls.CompositedTexts, 2);
  // Without the glass flag the window is no glass, composed or not.
  Button->ControlState().Exclude(csGlassPaint);
  Paint(true);
  EXPECT_EQ(Calls.BufferedPaints, 0);
  EXPECT_EQ(Calls.CompositedTexts, 0);
}

}  // namespace
