// Pixels of the editor's paint record beyond the main window's look: button
// fading driven by the fader's own timer, button contents, the other border
// styles, right to left, and the Office 11 gradient, each compared with GDI
// or uxtheme drawing the same on a second surface.
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditPaintUtils.h"

#include "library/core/system/dxThemeManager.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "platform/ui/Forms.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <functional>

namespace {

class TPixelTestEdit : public TcxCustomEdit {
  SK_CLASS(TPixelTestEdit, TcxCustomEdit)
};

TPoint CentreOf(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

// Copies what a record paints on a surface of its bounds' size.
TPixelSurface PaintedRecord(TcxCustomEditViewInfo* AViewInfo) {
  const TRect bounds = AViewInfo->Bounds;
  TCanvasOnSurface canvas(bounds.Width(), bounds.Height(), Bg);
  AViewInfo->Paint(canvas.Get());
  TPixelSurface result(bounds.Width(), bounds.Height(), Bg);
  BitBlt(result.DC(), 0, 0, bounds.Width(), bounds.Height(), canvas.Surface.DC(), 0, 0, SRCCOPY);
  return result;
}

// The part of ASurface inside R, as a surface of its own.
TPixelSurface Cut(const TPixelSurface& ASurface, const TRect& R) {
  TPixelSurface result(R.Width(), R.Height(), Bg);
  BitBlt(result.DC(), 0, 0, R.Width(), R.Height(), ASurface.DC(), R.Left, R.Top, SRCCOPY);
  return result;
}

// A fade picture laid over ABeneath the way a frame reaches the screen:
// GDI leaves alpha 0 where it draws, so a pixel of alpha 0 that is not black
// counts as opaque, and the rest is blended by its own alpha.
TPixelSurface PictureOver(TBitmap* APicture, const TPixelSurface& ABeneath) {
  const int w = APicture->Width(), h = APicture->Height();
  TPixelSurface picture(w, h, Bg);
  BitBlt(picture.DC(), 0, 0, w, h, APicture->Canvas()->Handle(), 0, 0, SRCCOPY);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (const std::uint32_t raw = picture.Raw(x, y); (raw >> 24) == 0 && (raw & 0xFFFFFF) != 0)
        picture.SetRaw(x, y, raw | 0xFF000000u);
  TPixelSurface result(w, h, Bg);
  BitBlt(result.DC(), 0, 0, w, h, ABeneath.DC(), 0, 0, SRCCOPY);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_TRUE(AlphaBlend(result.DC(), 0, 0, w, h, picture.DC(), 0, 0, w, h, blend));
  return result;
}

// ---------------------------------------------------------------------------
// Fading

// A standalone 121 x 21 editor with one drop-down button, laid out through
// its layout calculator for mouse points as its window would report them.
class EditButtonFading : public testing::Test {
 protected:
  static constexpr TRect Bounds{0, 0, 121, 21};

  void SetUp() override {
    FFader = GetFader();
    ASSERT_NE(FFader, nullptr);
    FSavedProbe = dxFaderProbe();
    dxSetFaderProbe({[] { return true; }, [] { return 32; }});
    FFader->SetState(fasEnabled);
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(true);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->ActiveProperties()->Buttons()->Add()->SetKind(bkDown);
  }

  void TearDown() override {
    FFader->Clear();
    FFader->SetState(fasDefault);
    dxSetFaderProbe(FSavedProbe);
  }

  // Lays the record out with the mouse at P; a left button held when APressed.
  void LayOut(const TPoint& P, bool APressed = false) {
    const TOwned<TcxCustomEditViewData> data = Edit->ActiveProperties()->CreateViewData(Edit->Style(), false);
    data->WindowHandle = Form->Handle();
    data->Calculate(nullptr, Bounds, P, APressed ? cxmbLeft : cxmbNone,
                    APressed ? TShiftState{ssLeft} : TShiftState{}, VI.get(), true);
  }
  void Away() { LayOut(TPoint(-1, -1)); }
  void OverButton(bool APressed = false) { LayOut(CentreOf(Button()->Bounds), APressed); }

  TcxEditButtonViewInfo* Button() const { return VI->ButtonsInfo.at(0).get(); }
  TcxEditButtonFadingHelper* Helper() const { return Button()->FadingHelper.get(); }
  TdxFadingElement* Fade() const {
    TdxFadingElement* element = nullptr;
    return FFader->Find(Helper(), element) ? element : nullptr;
  }

  // Dispatches the fader's own timer messages until the fade shows its
  // last frame.
  void RunToLastFrame() {
    for (int i = 0; i < 400 && Fade() && Fade()->Stage() < Fade()->AnimationFrameCount(); ++i) {
      const MSG tick = TakeTimerMessage(cxTimerWindowHandle());
      DispatchMessageW(&tick);
    }
    ASSERT_NE(Fade(), nullptr);
    ASSERT_EQ(Fade()->Stage(), Fade()->AnimationFrameCount());
  }

  // The button's part of the whole record painted in AState without a fade,
  // and the same part painted with the button hidden.
  struct TPaints {
    TPixelSurface Button;
    TPixelSurface Beneath;
  };
  TPaints PaintsIn(TcxEditButtonState AState) {
    if (AState == ebsSelected)
      OverButton();
    else
      Away();
    EXPECT_EQ(Button()->Data.State, AState);
    FFader->Clear();
    const TRect bounds = Button()->Bounds;
    TPixelSurface button = Cut(PaintedRecord(VI.get()), bounds);
    const TRect visible = Button()->VisibleBounds;
    Button()->VisibleBounds = TRect();
    TPixelSurface beneath = Cut(PaintedRecord(VI.get()), bounds);
    Button()->VisibleBounds = visible;
    return {std::move(button), std::move(beneath)};
  }
  TPixelSurface ButtonPaintedIn(TcxEditButtonState AState) { return std::move(PaintsIn(AState).Button); }

  TOwned<TForm> Form;
  TOwned<TPixelTestEdit> Edit{New<TPixelTestEdit>(nullptr)};
  TOwned<TcxCustomEditViewInfo> VI{New<TcxCustomEditViewInfo>()};
  TdxFader* FFader = nullptr;
  TdxFaderSystemProbe FSavedProbe{};
};

TEST_F(EditButtonFading, EnteringFadesInLeavingFadesOutAPressStops) {
  if (!OpenTheme(totComboBox)) GTEST_SKIP() << "no active theme";
  Away();
  ASSERT_TRUE(VI->NativeStyle);
  EXPECT_EQ(Fade(), nullptr) << "the first layout starts nothing";

  OverButton();
  ASSERT_NE(Fade(), nullptr);
  EXPECT_EQ(Fade()->AnimationFrameCount(), TdxFadingOptions::DefaultFadeInFrameCount);
  EXPECT_TRUE(Helper()->Active());

  Away();
  ASSERT_NE(Fade(), nullptr);
  EXPECT_EQ(Fade()->AnimationFrameCount(), TdxFadingOptions::DefaultFadeOutFrameCount);
  EXPECT_EQ(Fade()->Stage(), 0) << "turned round from the frame shown";

  OverButton();
  ASSERT_NE(Fade(), nullptr);
  OverButton(true);
  EXPECT_EQ(Button()->Data.State, ebsPressed);
  EXPECT_EQ(Fade(), nullptr) << "a press stops the fade";
  EXPECT_FALSE(Helper()->Active());

  OverButton();
  EXPECT_EQ(Fade(), nullptr) << "from pressed back to hot is no entry";
  Away();
  EXPECT_NE(Fade(), nullptr) << "from hot to normal fades out";
}

// The last frame of each fade is the picture it fades to; painted by the
// record, the button shows it and nothing else.
TEST_F(EditButtonFading, EachFadeEndsOnThePaintOfItsTargetState) {
  if (!OpenTheme(totComboBox)) GTEST_SKIP() << "no active theme";
  const TPixelSurface normal = ButtonPaintedIn(ebsNormal);
  const TPixelSurface hot = ButtonPaintedIn(ebsSelected);
  ASSERT_GT(Differing(normal, hot), 0) << "the theme's hot part differs from its normal one";

  struct TRow {
    const char* Name;
    std::function<void()> Move;
    const TPixelSurface* Target;
  };
  Away();
  for (const TRow& row : {TRow{"in", [&] { OverButton(); }, &hot}, TRow{"out", [&] { Away(); }, &normal}}) {
    SCOPED_TRACE(row.Name);
    row.Move();
    RunToLastFrame();
    const TPixelSurface frame = Cut(PaintedRecord(VI.get()), Button()->Bounds);
    EXPECT_EQ(Differing(frame, *row.Target), 0) << frame.Picture(Sys(COLOR_WINDOW));
  }
}

// The two pictures the fader asks for are the button's normal and hot
// paints, whatever state the button is in and whether a fade runs.
TEST_F(EditButtonFading, TheFadePicturesAreTheNormalAndHotPaints) {
  if (!OpenTheme(totComboBox)) GTEST_SKIP() << "no active theme";
  const TPaints normal = PaintsIn(ebsNormal);
  const TPaints hot = PaintsIn(ebsSelected);
  struct TRow {
    const char* Name;
    std::function<void()> Reach;
  };
  const TRow rows[] = {
      {"normal", [&] { Away(); }},
      {"hot, fading in", [&] { Away(); OverButton(); }},
      {"pressed", [&] { OverButton(true); }},
      {"normal, fading out half way", [&] {
         OverButton();
         Away();
         for (int i = 0; i < 6; ++i) {
           const MSG tick = TakeTimerMessage(cxTimerWindowHandle());
           DispatchMessageW(&tick);
         }
         ASSERT_TRUE(Helper()->Active());
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    row.Reach();
    const TcxEditButtonViewInfoData before = Button()->Data;
    TOwned<TBitmap> fadeOut, fadeIn;
    Helper()->GetFadingImages(fadeOut, fadeIn);
    ASSERT_TRUE(fadeOut && fadeIn);
    ASSERT_EQ(TSize(fadeOut->Width(), fadeOut->Height()), Button()->Bounds.GetSize());
    ASSERT_EQ(TSize(fadeIn->Width(), fadeIn->Height()), Button()->Bounds.GetSize());
    EXPECT_EQ(Differing(PictureOver(fadeOut.get(), normal.Beneath), normal.Button), 0);
    EXPECT_EQ(Differing(PictureOver(fadeIn.get(), hot.Beneath), hot.Button), 0);
    EXPECT_EQ(Button()->Data.State, before.State);
    EXPECT_EQ(Button()->Data.NativeState, before.NativeState);
    EXPECT_EQ(Button()->Data.NativePart, before.NativePart);
    FFader->Clear();
  }
}

class TFadingConsent : public TObject {
  SK_CLASS(TFadingConsent, TObject)
 public:
  void Ask(TcxCustomEditViewInfo*, bool& ACanStart) { ACanStart = Allow; }
  bool Allow = true;
};

// Fading needs native style (or a skin), a window to repaint and the
// event's consent.
TEST_F(EditButtonFading, OnlyNativeStyleWithAWindowAndConsentFades) {
  if (!OpenTheme(totComboBox)) GTEST_SKIP() << "no active theme";
  struct TRow {
    const char* Name;
    bool Native;
    bool Window;
    bool Consent;
    bool Fades;
  };
  for (const TRow& row : {TRow{"native", true, true, true, true}, TRow{"ultra-flat", false, true, true, false},
                          TRow{"no window", true, false, true, false}, TRow{"refused", true, true, false, false}}) {
    SCOPED_TRACE(row.Name);
    FFader->Clear();
    VI.reset(New<TcxCustomEditViewInfo>());
    Edit->Style()->LookAndFeel()->SetNativeStyle(row.Native);
    const TOwned<TFadingConsent> consent(New<TFadingConsent>());
    consent->Allow = row.Consent;
    VI->FOnCanStartButtonFading = BindEvent<&TFadingConsent::Ask>(consent.get());
    const auto layOut = [&](const TPoint& P) {
      const TOwned<TcxCustomEditViewData> data = Edit->ActiveProperties()->CreateViewData(Edit->Style(), false);
      data->WindowHandle = row.Window ? Form->Handle() : nullptr;
      data->Calculate(nullptr, Bounds, P, cxmbNone, {}, VI.get(), true);
    };
    layOut(TPoint(-1, -1));
    layOut(CentreOf(Button()->Bounds));
    ASSERT_EQ(Button()->Data.State, ebsSelected);
    EXPECT_EQ(Fade() != nullptr, row.Fades);
  }
}

}  // namespace

namespace {

// A record is laid out the same the first time as every time after: nothing
// of the last layout leaks into the next.
TEST_F(EditButtonFading, AFreshRecordIsLaidOutAsAReusedOne) {
  for (const bool native : {true, false}) {
    SCOPED_TRACE(native ? "native" : "ultra-flat");
    Edit->Style()->LookAndFeel()->SetNativeStyle(native);
    VI.reset(New<TcxCustomEditViewInfo>());
    Away();
    const TRect first = Button()->Bounds;
    const TRect client = VI->ClientRect;
    Away();
    EXPECT_EQ(Button()->Bounds, first);
    EXPECT_EQ(VI->ClientRect, client);
  }
}

}  // namespace
