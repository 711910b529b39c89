// Pixels of the editor's paint record beyond the main window's look: button
// fading driven by the fader's own timer, button contents, the other border
// styles, right to left, and the Office 11 gradient, each compared with GDI
// or uxtheme drawing the same on a second surface.
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditPaintUtils.h"

#include "library/core/system/dxThemeManager.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/ui/Forms.h"
#include "tests/library_lookandfeel/Office11Testing.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

class TPixelTestEdit : public TcxCustomEdit {
  SK_CLASS(TPixelTestEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::UpdateHotTrackState;
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

// The editor itself fades its frame and background between the normal and
// the hot look when the mouse enters or leaves it, with native style only.
TEST_F(EditButtonFading, TheEditorFadesInWhenItTurnsHotAndOutWhenItLeaves) {
  if (!OpenTheme(totEdit)) GTEST_SKIP() << "no active theme";
  Edit->SetAutoSize(false);
  Edit->SetParent(Form.get());
  Edit->SetBounds(10, 10, Bounds.Width(), Bounds.Height());
  Edit->HandleNeeded();
  const TPoint middle(20, 10), away(-1, -1);
  const auto fades = [this] { return FFader->Contains(Edit.get()); };
  for (const bool native : {true, false}) {
    SCOPED_TRACE(native ? "native" : "ultra-flat");
    Edit->Style()->LookAndFeel()->SetNativeStyle(native);
    Edit->UpdateHotTrackState(away, cxmbNone, {}, true);
    FFader->Clear();
    Edit->UpdateHotTrackState(middle, cxmbNone, {}, true);
    ASSERT_TRUE(Edit->ViewInfo()->ContainerState.Contains(csHotTrack));
    EXPECT_EQ(fades(), native) << "entering";
    FFader->Clear();
    Edit->UpdateHotTrackState(middle, cxmbNone, {}, true);
    EXPECT_FALSE(fades()) << "staying hot starts nothing";
    Edit->UpdateHotTrackState(away, cxmbNone, {}, true);
    EXPECT_EQ(fades(), native) << "leaving";
    FFader->Clear();
  }
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

// ---------------------------------------------------------------------------
// Button contents

namespace {

// A standalone 121 x 21 record with a one-pixel frame and one ultra-flat
// button 40 pixels wide inside it, filled by hand.
class EditRecordPixels : public testing::Test {
 protected:
  static constexpr TRect ButtonBounds{80, 1, 120, 20};

  void SetUp() override {
    Font->SetName(L"Tahoma");
    Font->SetHeight(-11);
    VI->Painter = UltraFlatPainter();
    VI->Bounds = TRect(0, 0, 121, 21);
    VI->BorderRect = TRect(1, 1, 120, 20);
    VI->ClientRect = TRect(1, 1, 80, 20);
    VI->BorderStyle = ebsSingle;
    VI->BorderColor = clBtnShadow;
    VI->Edges = cxBordersAll();
    VI->SetBackgroundColor(clWindow);
    VI->TextColor = clWindowText;
    VI->Font = Font.get();
    VI->SetButtonCount(1);
    Button()->Bounds = Button()->VisibleBounds = ButtonBounds;
    Button()->ButtonVisibleIndex = 0;
    Button()->Data.Style = btsUltraFlat;
    Button()->Data.Rightmost = Button()->Data.Leftmost = true;
  }

  TcxEditButtonViewInfo* Button() const { return VI->ButtonsInfo[0].get(); }

  // Where the content goes: inside the button's frame and one more pixel
  // in at the sides. A pressed button on a bordered editor gives its outer
  // side to the editor's frame and shrinks by one all round: the same.
  static TRect ContentOf(const TRect& AButton) {
    return TRect(AButton.Left + 2, AButton.Top + 1, AButton.Right - 2, AButton.Bottom - 1);
  }

  // The record painted with the button's content left out: a text button
  // with no caption draws nothing.
  TPixelSurface WithoutContent() {
    const TcxEditButtonViewInfoData saved = Button()->Data;
    Button()->Data.Kind = bkText;
    Button()->Data.Caption.clear();
    TPixelSurface result = PaintedRecord(VI.get());
    Button()->Data = saved;
    return result;
  }

  // Draws ADraw(colour, shift) once in the pen colour, or embossed when
  // disabled: the highlight one pixel right and down, then the shadow.
  static void Inked(bool ADisabled, COLORREF AColor, const std::function<void(COLORREF, int)>& ADraw) {
    if (ADisabled) {
      ADraw(Sys(COLOR_BTNHIGHLIGHT), 1);
      ADraw(Sys(COLOR_BTNSHADOW), 0);
    } else {
      ADraw(AColor, 0);
    }
  }

  TOwned<TFont> Font{New<TFont>()};
  TOwned<TcxCustomEditViewInfo> VI{New<TcxCustomEditViewInfo>()};
};

TEST_F(EditRecordPixels, ATextButtonIsDrawTextInTheButtonFont) {
  struct TRow {
    const char* Name;
    const wchar_t* Caption;
    TcxEditButtonState State;
    TAlignment Alignment;
    UINT Align;
  };
  const TRow rows[] = {
      {"centred", L"Go", ebsNormal, taCenter, DT_CENTER},
      {"hot", L"Go", ebsSelected, taCenter, DT_CENTER},
      {"pressed, moved by one", L"Go", ebsPressed, taCenter, DT_CENTER},
      {"disabled, embossed", L"Go", ebsDisabled, taCenter, DT_CENTER},
      {"left", L"Go", ebsNormal, taLeftJustify, DT_LEFT},
      {"right", L"Go", ebsNormal, taRightJustify, DT_RIGHT},
      {"accelerator underlined", L"&Go", ebsNormal, taCenter, DT_CENTER},
      {"too long, ellipsis", L"Open the list of ports", ebsNormal, taCenter, DT_CENTER},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button()->Data.Kind = bkText;
    Button()->Data.State = row.State;
    Button()->Data.Caption = row.Caption;
    Button()->Data.ContentAlignment = row.Alignment;
    const TPixelSurface painted = PaintedRecord(VI.get());

    TPixelSurface reference = WithoutContent();
    const TRect content = ContentOf(ButtonBounds);
    TRect text(content.Left + 1, content.Top + 1, content.Right - 2, content.Bottom - 1);
    if (row.State == ebsPressed) text.Offset(1, 1);
    const HDC DC = reference.DC();
    const TSavedDC saved(DC);
    IntersectClipRect(DC, content.Left, content.Top, content.Right, content.Bottom);
    SelectObject(DC, Font->Handle());
    SetBkMode(DC, TRANSPARENT);
    Inked(row.State == ebsDisabled, Sys(COLOR_WINDOWTEXT), [&](COLORREF AColor, int AShift) {
      RECT r{text.Left + AShift, text.Top + AShift, text.Right + AShift, text.Bottom + AShift};
      SetTextColor(DC, AColor);
      DrawTextW(DC, row.Caption, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | row.Align);
    });
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_BTNFACE));
    EXPECT_GT(Differing(painted, WithoutContent()), 5) << "the caption shows";
  }
}

// Three square dots, two pixels apart, centred; side 1 in a content of at
// most 11 pixels.
TEST_F(EditRecordPixels, AnEllipsisButtonIsThreeCentredDots) {
  struct TRow {
    const char* Name;
    int Width;
    TcxEditButtonState State;
  };
  for (const TRow& row : {TRow{"wide", 40, ebsNormal}, TRow{"narrow", 15, ebsNormal}, TRow{"just wide enough for side 2", 16, ebsNormal},
                          TRow{"wide pressed", 40, ebsPressed}, TRow{"disabled", 40, ebsDisabled},
                          TRow{"narrow disabled", 14, ebsDisabled}}) {
    SCOPED_TRACE(row.Name);
    Button()->Bounds = Button()->VisibleBounds = TRect(120 - row.Width, 1, 120, 20);
    Button()->Data.Kind = bkEllipsis;
    Button()->Data.State = row.State;
    const TPixelSurface painted = PaintedRecord(VI.get());

    TPixelSurface reference = WithoutContent();
    const TRect b = Button()->Bounds;
    const TRect content = ContentOf(b);
    const int side = content.Width() > 11 ? 2 : 1;
    const int groupWidth = 3 * side + 2 * 2;
    int x = content.Left + (content.Width() - groupWidth) / 2;
    int y = content.Top + (content.Height() - side) / 2;
    if (row.State == ebsPressed) {
      ++x;
      ++y;
    }
    Inked(row.State == ebsDisabled, Sys(COLOR_BTNTEXT), [&](COLORREF AColor, int AShift) {
      for (int dot = 0; dot < 3; ++dot) {
        const int left = x + AShift + dot * (side + 2);
        GdiFill(reference.DC(), TRect(left, y + AShift, left + side, y + AShift + side), AColor);
      }
    });
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_BTNFACE));
    EXPECT_EQ(painted.Count(Sys(COLOR_BTNTEXT)), row.State == ebsDisabled ? 0 : 3 * side * side);
  }
}

// An image of the properties' list, centred: ImageList_Draw's pixels when
// enabled; disabled, each pixel's grey laid over the face at 151/255.
TEST_F(EditRecordPixels, AGlyphButtonDrawsTheImageListsItem) {
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetColorDepth(cd32Bit);
  const RGBQUAD quadrants[] = {{200, 120, 40, 255}, {20, 80, 200, 255}, {90, 220, 10, 255}, {30, 30, 30, 255}};
  TOwned<TcxBitmap32> glyph(NewWith<TcxBitmap32>([](TcxBitmap32* b) { b->CreateSize(16, 16, true); }));
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<RGBQUAD*>(glyph->ScanLine(y));
    for (int x = 0; x < 16; ++x) row[x] = quadrants[(y / 8) * 2 + x / 8];
  }
  glyph->Changed(glyph.get());
  images->Add(glyph.get(), nullptr);
  Button()->Data.Kind = bkGlyph;
  Button()->Images = images.get();
  Button()->ImageIndex = 0;
  const TRect content = ContentOf(ButtonBounds);
  const TPoint at(content.Left + (content.Width() - 16) / 2, content.Top + (content.Height() - 16) / 2);

  Button()->Data.State = ebsNormal;
  const TPixelSurface painted = PaintedRecord(VI.get());
  TPixelSurface reference = WithoutContent();
  ASSERT_TRUE(ImageList_Draw(images->Handle(), 0, reference.DC(), at.X, at.Y, ILD_NORMAL));
  EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_BTNFACE));

  Button()->Data.State = ebsDisabled;
  const TPixelSurface disabled = PaintedRecord(VI.get());
  const TPixelSurface face = WithoutContent();
  const auto over = [](int AGrey, int ABeneath) { return static_cast<int>(std::lround((AGrey * 151 + ABeneath * 104) / 255.0)); };
  int wrong = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 121; ++x) {
      const TRect image = MakeBoundsRect(at.X, at.Y, TSize(16, 16));
      COLORREF expected = face.Pixel(x, y);
      if (image.Contains(x, y)) {
        const RGBQUAD q = quadrants[((y - at.Y) / 8) * 2 + (x - at.X) / 8];
        const int grey = static_cast<int>(std::lround(q.rgbBlue * 0.2125 + q.rgbGreen * 0.7146 + q.rgbRed * 0.0729));
        expected = RGB(over(grey, GetRValue(expected)), over(grey, GetGValue(expected)), over(grey, GetBValue(expected)));
      }
      const COLORREF got = disabled.Pixel(x, y);
      wrong += std::max({std::abs(GetRValue(got) - GetRValue(expected)), std::abs(GetGValue(got) - GetGValue(expected)),
                         std::abs(GetBValue(got) - GetBValue(expected))}) > 1;
    }
  EXPECT_EQ(wrong, 0) << disabled.Picture(Sys(COLOR_BTNFACE));
}

}  // namespace

// ---------------------------------------------------------------------------
// Border styles

namespace {

void Edge(HDC DC, const TRect& R, UINT AEdge) {
  RECT r = R;
  DrawEdge(DC, &r, AEdge, BF_RECT);
}

// The editor's frame in each container border style, drawn by DrawEdge and
// FrameRect in the system colours around the window-coloured text area.
TEST_F(EditRecordPixels, TheFrameStylesAreTheSystemsEdgesAndFrames) {
  struct TRow {
    const char* Name;
    TcxEditBorderStyle Style;
    int Width;
    std::function<void(HDC, const TRect&)> Draw;
  };
  const TRow rows[] = {
      {"single", ebsSingle, 1, [](HDC DC, const TRect& R) { GdiFrame(DC, R, Sys(COLOR_BTNSHADOW)); }},
      {"thick", ebsThick, 2, [](HDC DC, const TRect& R) { GdiFrame(DC, R, Sys(COLOR_BTNSHADOW), 2); }},
      {"flat: sunken outer edge, face inside", ebsFlat, 2,
       [](HDC DC, const TRect& R) {
         Edge(DC, R, BDR_SUNKENOUTER);
         GdiFrame(DC, TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), Sys(COLOR_BTNFACE));
       }},
      {"3D: the sunken edge", ebs3D, 2, [](HDC DC, const TRect& R) { Edge(DC, R, EDGE_SUNKEN); }},
  };
  VI->SetButtonCount(0);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    VI->BorderStyle = row.Style;
    VI->BorderRect = TRect(row.Width, row.Width, 121 - row.Width, 21 - row.Width);
    const TPixelSurface painted = PaintedRecord(VI.get());
    TPixelSurface reference(121, 21, Bg);
    row.Draw(reference.DC(), TRect(0, 0, 121, 21));
    GdiFill(reference.DC(), VI->BorderRect, Sys(COLOR_WINDOW));
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
  }
}

// Each button style's border and face, per state, with no content: DrawEdge
// and FrameRect in the system colours on a second surface.
TEST_F(EditRecordPixels, TheButtonStylesAreTheSystemsEdgesAndFrames) {
  const TRect b = ButtonBounds;
  const auto inside = [](const TRect& R, int AInset) {
    return TRect(R.Left + AInset, R.Top + AInset, R.Right - AInset, R.Bottom - AInset);
  };
  using TDraw = std::function<void(HDC)>;
  // A frame in AFrame around a face of AFace.
  const auto framed = [&](int AFrame, int AFace) {
    return [=](HDC DC) {
      GdiFrame(DC, b, Sys(AFrame));
      GdiFill(DC, inside(b, 1), Sys(AFace));
    };
  };
  const TDraw raised3D = [&](HDC DC) {
    Edge(DC, b, EDGE_RAISED);
    GdiFill(DC, inside(b, 2), Sys(COLOR_BTNFACE));
  };
  // A face-coloured line at each side of a one-pixel edge.
  const auto flat = [&](UINT AEdge) {
    return [=](HDC DC) {
      GdiFill(DC, b, Sys(COLOR_BTNFACE));
      Edge(DC, TRect(b.Left + 1, b.Top, b.Right, b.Bottom), AEdge);
    };
  };
  struct TRow {
    const char* Name;
    TcxEditButtonStyle Style;
    TcxEditButtonState State;
    bool Inner;  // the button nearest the text on its side
    TDraw Draw;
  };
  const TRow rows[] = {
      {"3D normal", bts3D, ebsNormal, true, raised3D},
      {"3D hot", bts3D, ebsSelected, true, raised3D},
      {"3D disabled", bts3D, ebsDisabled, true, raised3D},
      {"3D pressed", bts3D, ebsPressed, true, framed(COLOR_BTNSHADOW, COLOR_BTNFACE)},
      {"flat normal", btsFlat, ebsNormal, true, flat(BDR_RAISEDINNER)},
      {"flat hot", btsFlat, ebsSelected, true, flat(BDR_RAISEDINNER)},
      {"flat pressed", btsFlat, ebsPressed, true, flat(BDR_SUNKENOUTER)},
      {"simple normal", btsSimple, ebsNormal, true, framed(COLOR_WINDOW, COLOR_BTNFACE)},
      {"simple disabled", btsSimple, ebsDisabled, true, framed(COLOR_WINDOW, COLOR_BTNFACE)},
      {"simple hot, as flat", btsSimple, ebsSelected, true, flat(BDR_RAISEDINNER)},
      {"simple pressed, as flat", btsSimple, ebsPressed, true, flat(BDR_SUNKENOUTER)},
      {"hot-flat normal", btsHotFlat, ebsNormal, true, framed(COLOR_BTNSHADOW, COLOR_BTNFACE)},
      {"hot-flat hot", btsHotFlat, ebsSelected, true, framed(COLOR_BTNSHADOW, COLOR_BTNSHADOW)},
      {"hot-flat pressed", btsHotFlat, ebsPressed, true, framed(COLOR_BTNSHADOW, COLOR_BTNTEXT)},
      {"hot-flat disabled", btsHotFlat, ebsDisabled, true, framed(COLOR_BTNSHADOW, COLOR_BTNFACE)},
      // Not the inner one: its side towards the text is the face.
      {"hot-flat outer", btsHotFlat, ebsNormal, false,
       [&](HDC DC) {
         GdiFill(DC, b, Sys(COLOR_BTNFACE));
         GdiFill(DC, TRect(b.Left, b.Top, b.Right, b.Top + 1), Sys(COLOR_BTNSHADOW));
         GdiFill(DC, TRect(b.Left, b.Bottom - 1, b.Right, b.Bottom), Sys(COLOR_BTNSHADOW));
         GdiFill(DC, TRect(b.Right - 1, b.Top, b.Right, b.Bottom), Sys(COLOR_BTNSHADOW));
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button()->Data.Kind = bkText;
    Button()->Data.Caption.clear();
    Button()->Data.Style = row.Style;
    Button()->Data.State = row.State;
    Button()->Data.Leftmost = row.Inner;
    const TPixelSurface painted = PaintedRecord(VI.get());
    TPixelSurface reference(121, 21, Bg);
    GdiFrame(reference.DC(), TRect(0, 0, 121, 21), Sys(COLOR_BTNSHADOW));
    GdiFill(reference.DC(), TRect(1, 1, 120, 20), Sys(COLOR_WINDOW));
    row.Draw(reference.DC());
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Right to left

namespace {

TRect MirroredIn(const TRect& R, int AWidth) { return TRect(AWidth - R.Right, R.Top, AWidth - R.Left, R.Bottom); }

// One editor with a button at each side, laid out left to right and right
// to left by its layout calculator.
class EditRightToLeft : public testing::Test {
 protected:
  static constexpr TRect Bounds{0, 0, 121, 21};

  void SetUp() override {
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    TcxEditButtons* buttons = Edit->ActiveProperties()->Buttons();
    buttons->Add()->SetKind(bkEllipsis);
    buttons->Items(0)->SetLeftAlignment(true);
    buttons->Items(0)->SetHint(L"Browse|for a file");
    buttons->Add()->SetKind(bkDown);
    buttons->Items(1)->SetHint(L"Open");
  }

  // The record for the mouse at P (mirrored right to left).
  TOwned<TcxCustomEditViewInfo> LaidOut(bool ARightToLeft, const TPoint& P, bool APressed) {
    TOwned<TcxCustomEditViewInfo> vi(New<TcxCustomEditViewInfo>());
    const TOwned<TcxCustomEditViewData> data = Edit->ActiveProperties()->CreateViewData(Edit->Style(), false);
    data->UseRightToLeftAlignment = ARightToLeft;
    const TPoint at = ARightToLeft ? TPoint(Bounds.Width() - 1 - P.X, P.Y) : P;
    data->Calculate(nullptr, Bounds, at, APressed ? cxmbLeft : cxmbNone, APressed ? TShiftState{ssLeft} : TShiftState{},
                    vi.get(), true);
    if (ARightToLeft) data->DoRightToLeftConversion(vi.get(), Bounds);
    return vi;
  }

  TOwned<TPixelTestEdit> Edit{New<TPixelTestEdit>(nullptr)};
};

TEST_F(EditRightToLeft, ThePaintIsTheMirrorOfTheLeftToRightPaint) {
  struct TRow {
    const char* Name;
    TPoint Mouse;  // left to right
    bool Pressed;
  };
  for (const TRow& row : {TRow{"away", TPoint(-5, -5), false}, TRow{"over the text", TPoint(50, 10), false},
                          TRow{"over the left button", TPoint(8, 10), false},
                          TRow{"pressing the right button", TPoint(111, 10), true}}) {
    SCOPED_TRACE(row.Name);
    const auto ltr = LaidOut(false, row.Mouse, row.Pressed);
    const auto rtl = LaidOut(true, row.Mouse, row.Pressed);
    ASSERT_EQ(ltr->ButtonsInfo.size(), 2u);
    ASSERT_EQ(rtl->ButtonsInfo.size(), 2u);
    const TPixelSurface a = PaintedRecord(ltr.get());
    const TPixelSurface b = PaintedRecord(rtl.get());
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(a.Width() - 1 - x, y);
    EXPECT_EQ(differing, 0);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(rtl->ButtonsInfo[i]->Data.State, ltr->ButtonsInfo[i]->Data.State);
  }
}

TEST_F(EditRightToLeft, HitTestsAndHintBoundsFollowTheMirror) {
  const auto ltr = LaidOut(false, TPoint(-5, -5), false);
  const auto rtl = LaidOut(true, TPoint(-5, -5), false);
  const int w = Bounds.Width();
  for (int y : {0, 1, 10, 20})
    for (int x = 0; x < w; ++x) {
      const int part = ltr->HitTestPart(TPoint(x, y));
      ASSERT_EQ(rtl->HitTestPart(TPoint(w - 1 - x, y)), part) << x << "," << y;
    }
  for (int part : {0, 1, ecpNone}) {
    SCOPED_TRACE(part);
    EXPECT_EQ(rtl->GetHitPartBounds(part), MirroredIn(ltr->GetHitPartBounds(part), w));
    EXPECT_EQ(rtl->GetPartHintText(part), ltr->GetPartHintText(part));
  }
  // The hint of the part under a mirrored point is that part's.
  const TPoint onLeftButton = CentreOf(ltr->ButtonsInfo[0]->Bounds);
  String text;
  bool multiLine = true;
  TRect textRect;
  TCanvasOnSurface canvas(8, 8, Bg);
  ASSERT_TRUE(rtl->NeedShowHint(canvas.Get(), TPoint(w - 1 - onLeftButton.X, onLeftButton.Y), Bounds, text, multiLine,
                                textRect));
  EXPECT_EQ(text, L"Browse");
  EXPECT_FALSE(multiLine);
  EXPECT_FALSE(textRect.IsEmpty());
}

}  // namespace

// ---------------------------------------------------------------------------
// Office 11 gradient

namespace {

// An Office 11 button asked for a gradient face: a vertical GradientFill
// between the colour set's pair for its state, over the face rectangle its
// border leaves; every other case keeps the solid face. The blue scheme
// gives every pair two colours.
TEST_F(EditRecordPixels, AnOffice11GradientButtonIsAVerticalGradientFill) {
  const TThemeNames blue(L"C:\\Windows\\Resources\\Themes\\Luna\\luna.msstyles", L"NormalColor");
  ASSERT_EQ(Office11Scheme(), TdxOffice11Scheme::Blue);
  struct TRow {
    const char* Name;
    TcxEditButtonState State;
    TdxOffice11Color Top, Bottom;
    TRect Face;  // inside the border: a frame at rest, one side line when hot
  };
  const TRect b = ButtonBounds;
  const TRow rows[] = {
      {"normal", ebsNormal, Office11GradientLightColor, Office11GradientDarkColor,
       TRect(b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1)},
      {"hot", ebsSelected, Office11HotColor, Office11HotColor2, TRect(b.Left + 1, b.Top, b.Right - 1, b.Bottom)},
      {"pressed", ebsPressed, Office11PressedColor, Office11PressedColor2,
       TRect(b.Left + 1, b.Top, b.Right - 1, b.Bottom)},
  };
  Button()->Data.Kind = bkText;
  Button()->Data.Caption.clear();
  Button()->Data.Style = btsOffice11;
  Button()->Data.Leftmost = false;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button()->Data.State = row.State;
    Button()->Data.Gradient = false;
    TPixelSurface reference = PaintedRecord(VI.get());
    Button()->Data.Gradient = true;
    const TPixelSurface painted = PaintedRecord(VI.get());

    const COLORREF top = Rgb(Office11Color(row.Top)), bottom = Rgb(Office11Color(row.Bottom));
    ASSERT_NE(top, bottom);
    TRIVERTEX vertices[2] = {
        {row.Face.Left, row.Face.Top, COLOR16(GetRValue(top) << 8), COLOR16(GetGValue(top) << 8),
         COLOR16(GetBValue(top) << 8), 0},
        {row.Face.Right, row.Face.Bottom, COLOR16(GetRValue(bottom) << 8), COLOR16(GetGValue(bottom) << 8),
         COLOR16(GetBValue(bottom) << 8), 0}};
    GRADIENT_RECT rect{0, 1};
    ASSERT_TRUE(GradientFill(reference.DC(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
    // The arithmetic of a vertical gradient: the top row in the first
    // colour, each row one colour across, the channels moving towards the
    // second colour without turning back.
    EXPECT_EQ(painted.Pixel(row.Face.Left, row.Face.Top), top);
    for (int y = row.Face.Top; y < row.Face.Bottom; ++y) {
      EXPECT_EQ(painted.Count(TRect(row.Face.Left, y, row.Face.Right, y + 1), painted.Pixel(row.Face.Left, y)),
                row.Face.Width());
      if (y == row.Face.Top) continue;
      const COLORREF above = painted.Pixel(row.Face.Left, y - 1), here = painted.Pixel(row.Face.Left, y);
      for (const auto channel : {+[](COLORREF c) { return int(GetRValue(c)); }, +[](COLORREF c) { return int(GetGValue(c)); },
                                 +[](COLORREF c) { return int(GetBValue(c)); }})
        EXPECT_GE((channel(here) - channel(above)) * (channel(bottom) - channel(top)), 0) << y;
    }
  }
}

TEST_F(EditRecordPixels, WithoutTheGradientCasesTheFaceStaysSolid) {
  struct TRow {
    const char* Name;
    TcxEditButtonStyle Style;
    TcxEditButtonState State;
    bool Gradient;
    bool Transparent;
  };
  for (const TRow& row : {TRow{"no gradient asked", btsOffice11, ebsNormal, false, false},
                          TRow{"disabled", btsOffice11, ebsDisabled, true, false},
                          TRow{"transparent", btsOffice11, ebsNormal, true, true},
                          TRow{"ultra-flat", btsUltraFlat, ebsSelected, true, false}}) {
    SCOPED_TRACE(row.Name);
    Button()->Data.Kind = bkText;
    Button()->Data.Caption.clear();
    Button()->Data.Style = row.Style;
    Button()->Data.State = row.State;
    Button()->Data.Gradient = row.Gradient;
    Button()->Data.Transparent = row.Transparent;
    const TPixelSurface painted = PaintedRecord(VI.get());
    const TRect face(ButtonBounds.Left + 1, ButtonBounds.Top + 1, ButtonBounds.Right - 1, ButtonBounds.Bottom - 1);
    const COLORREF colour = painted.Pixel(face.Left, face.Top);
    EXPECT_EQ(painted.Count(face, colour), face.Width() * face.Height()) << painted.Picture(Sys(COLOR_WINDOW));
  }
}

}  // namespace
