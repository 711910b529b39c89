// The button's cross-fade between its normal and hot faces: which looks
// fade, the two pictures, and the frames the button paints while the
// fader's timer runs, its ticks dispatched by the test.
#include "library/stdctrls/cxButtons.h"

#include "library/core/base/cxClasses.h"
#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

constexpr COLORREF FormColor = RGB(180, 40, 200);

// The largest difference of any channel of any pixel.
int Distance(const TPixelSurface& A, const TPixelSurface& B) {
  int worst = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) {
      const COLORREF a = A.Pixel(x, y), b = B.Pixel(x, y);
      worst = std::max({worst, std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                        std::abs(GetBValue(a) - GetBValue(b))});
    }
  return worst;
}

class TButtonFading : public testing::Test {
 protected:
  void SetUp() override {
    Fader = GetFader();
    ASSERT_NE(Fader, nullptr);
    SavedProbe = dxFaderProbe();
    // Readiness asks the screen's depth and the system's menu animation:
    // answered here, so that fading is on whatever the display.
    dxSetFaderProbe({[] { return true; }, [] { return 32; }});
    Fader->SetState(fasEnabled);
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetColor(static_cast<TColor>(FormColor));
    Form->SetBounds(0, 0, 200, 100);
    Button = New<TcxButton>(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(10, 10, 82, 25);
    Button->LookAndFeel()->SetNativeStyle(true);
    Form->HandleNeeded();
  }
  void TearDown() override {
    Form.reset();
    Fader->Clear();
    Fader->SetState(fasDefault);
    dxSetFaderProbe(SavedProbe);
  }
  TPixelSurface Paint() {
    TPixelSurface surface(82, 25, RGB(255, 255, 255));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hDC = surface.DC();
    item.rcItem = RECT{0, 0, 82, 25};
    Button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    return surface;
  }
  // The theme's push button in a state, drawn by the test over the form.
  static TPixelSurface Theme(int AState) {
    TPixelSurface surface(82, 25, FormColor);
    const HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
    const RECT r{0, 0, 82, 25};
    DrawThemeBackground(theme, surface.DC(), BP_PUSHBUTTON, AState, &r, nullptr);
    CloseThemeData(theme);
    return surface;
  }
  bool Fading() const { return Fader->Contains(Button->FadingHelper()); }
  // Dispatches the fader's timer ticks until ADone holds.
  static void RunTicks(const std::function<bool()>& ADone, int AMaxTicks = 200) {
    for (int i = 0; i < AMaxTicks && !ADone(); ++i) {
      const MSG tick = TakeTimerMessage(cxTimerWindowHandle());
      DispatchMessageW(&tick);
    }
    EXPECT_TRUE(ADone());
  }
  void Enter() { Button->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(40, 12)); }
  void Leave() { Button->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(200, 12)); }

  TdxFader* Fader = nullptr;
  TdxFaderSystemProbe SavedProbe{};
  TOwned<TForm> Form;
  TcxButton* Button = nullptr;
};

// Only the native (and skin) looks fade, and not while OnCustomDraw draws.
TEST_F(TButtonFading, OnlyTheNativeLookFades) {
  struct TCustom : TComponent {
    void Draw(TcxCustomButton*, TcxCanvas*, TcxButtonViewInfo*, bool&) {}
  };
  const TOwned<TCustom> custom(New<TCustom>(nullptr));
  struct TRow {
    const char* Name;
    std::function<void()> Set;
    bool Fades;
  };
  const TRow rows[] = {
      {"native", [] {}, true},
      {"UltraFlat", [&] { Button->LookAndFeel()->SetNativeStyle(false); }, false},
      {"native with OnCustomDraw", [&] { Button->SetOnCustomDraw(BindEvent<&TCustom::Draw>(custom.get())); }, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button->LookAndFeel()->SetNativeStyle(true);
    Button->SetOnCustomDraw(nullptr);
    row.Set();
    Paint();
    EXPECT_EQ(Button->CanFade(), row.Fades);
    Enter();
    EXPECT_TRUE(Button->IsHot());
    EXPECT_EQ(Fading(), row.Fades);
    Leave();
    Fader->Clear();
  }
}

// The two pictures of the fade are the button's normal and hot faces: laid
// over the form they equal the theme's push button in those states.
TEST_F(TButtonFading, TheFadePicturesAreTheNormalAndHotFaces) {
  if (!OpenThemeData(nullptr, L"BUTTON")) GTEST_SKIP() << "no button theme";
  Paint();
  TOwned<TBitmap> normal, hot;
  Button->FadingHelper()->GetFadingImages(normal, hot);
  ASSERT_TRUE(normal && hot);
  struct TRow {
    const char* Name;
    TBitmap* Picture;
    int State;
  };
  for (const TRow& row : {TRow{"normal", normal.get(), PBS_NORMAL}, TRow{"hot", hot.get(), PBS_HOT}}) {
    SCOPED_TRACE(row.Name);
    ASSERT_EQ(row.Picture->Width(), 82);
    ASSERT_EQ(row.Picture->Height(), 25);
    TPixelSurface over(82, 25, FormColor);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(GdiAlphaBlend(over.DC(), 0, 0, 82, 25, row.Picture->Canvas()->Handle(), 0, 0, 82, 25, blend));
    EXPECT_LE(Distance(over, Theme(row.State)), 1);
  }
}

// Entering fades in frame by frame: each painted frame lies between the
// normal and the hot paint by the frame's share; the last is the hot paint.
// Leaving fades back; a change to another state ends the fade at once.
TEST_F(TButtonFading, TheButtonPaintsEachFrameOfTheFade) {
  if (!OpenThemeData(nullptr, L"BUTTON")) GTEST_SKIP() << "no button theme";
  const TPixelSurface normal = Paint();
  Enter();
  ASSERT_TRUE(Fading());
  TdxFadingElement* element = nullptr;
  ASSERT_TRUE(Fader->Find(Button->FadingHelper(), element));
  const int frames = element->AnimationFrameCount();
  ASSERT_GT(frames, 1);
  const TPixelSurface hot = Theme(PBS_HOT);
  EXPECT_LE(Distance(normal, Theme(PBS_NORMAL)), 1);
  int checked = 0;
  RunTicks([&] {
    TdxFadingElement* e = nullptr;
    if (!Fader->Find(Button->FadingHelper(), e)) return true;
    const int stage = e->Stage();
    if (stage == 0 || stage == frames) return false;
    const TPixelSurface painted = Paint();
    TPixelSurface expected(82, 25);
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 82; ++x) {
        const COLORREF a = normal.Pixel(x, y), b = hot.Pixel(x, y);
        const auto mix = [&](int ca, int cb) { return static_cast<BYTE>(ca + (cb - ca) * stage / frames); };
        expected.SetRaw(x, y, 0xFF000000u | (mix(GetRValue(a), GetRValue(b)) << 16) |
                                  (mix(GetGValue(a), GetGValue(b)) << 8) | mix(GetBValue(a), GetBValue(b)));
      }
    SCOPED_TRACE(testing::Message() << "frame " << stage << " of " << frames);
    EXPECT_LE(Distance(painted, expected), 2);
    ++checked;
    return false;
  });
  EXPECT_GT(checked, 0);
  EXPECT_LE(Distance(Paint(), hot), 1) << "the fade over, the hot face";

  Leave();
  EXPECT_TRUE(Fading()) << "leaving fades out";
  Button->SetEnabled(false);
  EXPECT_FALSE(Fading()) << "disabled: no fade";
  Paint();
  EXPECT_EQ(Button->ViewInfo()->State(), cxbsDisabled);
}

}  // namespace
