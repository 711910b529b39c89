// The progress bar's pixels beside what GDI and the theme draw themselves,
// and its animation timers driven tick by tick.
#include "library/stdctrls/cxProgressBar.h"

#include "platform/ui/Forms.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <uxtheme.h>

#include <cstdlib>

namespace {

constexpr COLORREF PbOutside = RGB(1, 2, 3);
constexpr COLORREF PbBegin = RGB(255, 128, 0);

struct ProgressBarPainting : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxProgressBar* Bar = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 500, 200);
    Form->Show();
    Bar = New<TcxProgressBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetAutoSize(false);
    Bar->SetBounds(10, 10, 204, 21);
    SetNative(false);
    Bar->Properties()->SetBeginColor(TColor(PbBegin));
    Bar->Style()->Font()->SetName(L"Tahoma");
    Bar->Style()->Font()->SetHeight(-11);
    Bar->Style()->Font()->SetColor(clBlack);
    PumpPending();
  }
  void SetNative(bool AValue) {
    for (TcxContainerStyle* style : {Bar->Style(), Bar->StyleDisabled(), Bar->StyleFocused(), Bar->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(AValue);
  }
  TcxCustomProgressBarViewInfo* VI() const { return Bar->ViewInfo(); }
  TPixelSurface Paint() const {
    TPixelSurface surface(Bar->Width(), Bar->Height(), PbOutside);
    Bar->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface;
  }
  COLORREF Background() const { return ColorToColorRef(VI()->BackgroundColor()); }
  // Sets the height so that the content is AThickness pixels thick.
  void SetContentThickness(int AThickness) {
    const int frame = Bar->Height() - VI()->BarContentRect.Height();
    Bar->SetBounds(10, 10, 204, AThickness + frame);
    PumpPending();
    ASSERT_EQ(VI()->BarContentRect.Height(), AThickness);
  }
};

TEST_F(ProgressBarPainting, TheSolidBarIsBeginColorOverItsShareOfColumns) {
  Bar->Properties()->SetShowText(false);
  for (const double position : {0.0, 1.0, 25.0, 37.5, 99.9, 100.0}) {
    SCOPED_TRACE(position);
    Bar->SetPosition(position);
    const TPixelSurface s = Paint();
    const TRect content = VI()->BarContentRect;
    const int filled = static_cast<int>(position * content.Width() / 100);
    for (int y = content.Top; y < content.Bottom; ++y) {
      const TRect row(content.Left, y, content.Right, y + 1);
      EXPECT_EQ(s.Count(TRect(content.Left, y, content.Left + filled, y + 1), PbBegin), filled);
      EXPECT_EQ(s.Count(row, Background()), content.Width() - filled);
    }
    EXPECT_EQ(s.Count(PbBegin), filled * content.Height());
  }
}

// The text in the editor's colour is exactly what DrawTextW draws in the
// same font, centred on the bar.
TEST_F(ProgressBarPainting, SolidTextIsDrawTextCentredOnTheBar) {
  Bar->Properties()->SetSolidTextColor(true);
  Bar->SetPosition(37.5);
  const TPixelSurface withText = Paint();
  Bar->Properties()->SetShowText(false);
  TPixelSurface expected = Paint();
  const HDC DC = expected.DC();
  const HGDIOBJ oldFont = SelectObject(DC, Bar->Style()->GetVisibleFont()->Handle());
  SIZE size;
  GetTextExtentPoint32W(DC, L"38 %", 4, &size);
  const TRect bar = VI()->BarRect;
  RECT r{bar.Left + (bar.Width() - size.cx) / 2, bar.Top + (bar.Height() - size.cy) / 2, 0, 0};
  r.right = r.left + size.cx;
  r.bottom = r.top + size.cy;
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(0, 0, 0));
  DrawTextW(DC, L"38 %", 4, &r, DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(DC, oldFont);
  int differing = 0;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) differing += withText.Pixel(x, y) != expected.Pixel(x, y);
  EXPECT_EQ(differing, 0) << withText.Picture(PbOutside);
  EXPECT_GT(withText.Count(RGB(0, 0, 0)), 0);
}

// Without SolidTextColor the glyphs show the inverse of what lies beneath:
// over the bar and over the background alike.
TEST_F(ProgressBarPainting, TextWithoutSolidColourInvertsWhatLiesBeneath) {
  Bar->SetPosition(50);
  const TPixelSurface withText = Paint();
  Bar->Properties()->SetShowText(false);
  const TPixelSurface plain = Paint();

  // The glyph mask: white on black without antialiasing, as the bar renders it.
  LOGFONTW logFont{};
  GetObjectW(Bar->Style()->GetVisibleFont()->Handle(), sizeof(logFont), &logFont);
  logFont.lfQuality = NONANTIALIASED_QUALITY;
  const HFONT font = CreateFontIndirectW(&logFont);
  TPixelSurface mask(withText.Width(), withText.Height(), RGB(0, 0, 0));
  const HGDIOBJ oldFont = SelectObject(mask.DC(), font);
  SIZE size;
  GetTextExtentPoint32W(mask.DC(), L"50 %", 4, &size);
  const TRect bar = VI()->BarRect;
  RECT r{bar.Left + (bar.Width() - size.cx) / 2, bar.Top + (bar.Height() - size.cy) / 2, 0, 0};
  r.right = r.left + size.cx;
  r.bottom = r.top + size.cy;
  SetBkMode(mask.DC(), TRANSPARENT);
  SetTextColor(mask.DC(), RGB(255, 255, 255));
  DrawTextW(mask.DC(), L"50 %", 4, &r, DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(mask.DC(), oldFont);
  DeleteObject(font);

  int glyphOverBar = 0;
  int glyphOverBackground = 0;
  int differing = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x) {
      const bool glyph = mask.Pixel(x, y) == RGB(255, 255, 255);
      const COLORREF under = plain.Pixel(x, y);
      const COLORREF want = glyph ? (~under & 0x00FFFFFF) : under;
      differing += withText.Pixel(x, y) != want;
      if (glyph) (under == PbBegin ? glyphOverBar : glyphOverBackground)++;
    }
  EXPECT_EQ(differing, 0) << withText.Picture(PbOutside);
  EXPECT_GT(glyphOverBar, 0);
  EXPECT_GT(glyphOverBackground, 0);
}

// The gradient belongs to the whole bar; the position shows more of it.
TEST_F(ProgressBarPainting, TheGradientMatchesGradientFillOverTheWholeBar) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetShowText(false);
  p->SetBarStyle(cxbsGradient);
  p->SetBeginColor(TColor(RGB(200, 20, 40)));
  p->SetEndColor(TColor(RGB(10, 240, 120)));
  for (const double position : {50.0, 100.0}) {
    SCOPED_TRACE(position);
    Bar->SetPosition(position);
    const TPixelSurface s = Paint();
    TPixelSurface reference(s.Width(), s.Height(), PbOutside);
    const TRect bar = VI()->BarRect;
    TRIVERTEX vertices[2] = {{bar.Left, bar.Top, 200 << 8, 20 << 8, 40 << 8, 0},
                             {bar.Right, bar.Bottom, 10 << 8, 240 << 8, 120 << 8, 0}};
    GRADIENT_RECT gradient{0, 1};
    ASSERT_TRUE(GradientFill(reference.DC(), vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_H));
    const TRect progress = VI()->ProgressBarRect;
    int worst = 0;
    for (int y = progress.Top; y < progress.Bottom; ++y)
      for (int x = progress.Left; x < progress.Right; ++x) {
        const COLORREF a = s.Pixel(x, y);
        const COLORREF b = reference.Pixel(x, y);
        worst = std::max({worst, std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                          std::abs(GetBValue(a) - GetBValue(b))});
      }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(s.Count(TRect(progress.Right, progress.Top, VI()->BarContentRect.Right, progress.Bottom), Background()),
              (VI()->BarContentRect.Right - progress.Right) * progress.Height());
  }
}

TEST_F(ProgressBarPainting, LedsAreTwoThirdsOfTheThicknessPlusTwoApart) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetShowText(false);
  p->SetBarStyle(cxbsLEDs);
  Bar->SetPosition(100);
  const struct {
    int Thickness;
    int Step;
  } rows[] = {{12, 10}, {3, 4}, {21, 16}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Thickness);
    SetContentThickness(row.Thickness);
    const TPixelSurface s = Paint();
    const TRect content = VI()->BarContentRect;
    for (int x = content.Left; x < content.Right; ++x) {
      const int along = x - content.Left;
      const bool gap = along % row.Step >= row.Step - 2 && along / row.Step < content.Width() / row.Step;
      EXPECT_EQ(s.Pixel(x, content.Top), gap ? Background() : PbBegin) << "column " << along;
    }
  }
}

TEST_F(ProgressBarPainting, ThePeakMarkerShowsBeyondTheFill) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetShowText(false);
  p->SetShowPeak(true);
  p->SetPeakValue(80);
  Bar->SetPosition(20);
  const TPixelSurface s = Paint();
  const TRect content = VI()->BarContentRect;
  const int peakLeft = content.Left + static_cast<int>(80.0 * content.Width() / 100);
  EXPECT_EQ(VI()->PeakBarRect, TRect(peakLeft, content.Top, peakLeft + 2, content.Bottom));
  EXPECT_EQ(s.BoundsOf(RGB(255, 0, 0)), VI()->PeakBarRect);
  const int fill = static_cast<int>(20.0 * content.Width() / 100);
  EXPECT_EQ(s.Count(TRect(content.Left + fill, content.Top, peakLeft, content.Top + 1), Background()),
            peakLeft - content.Left - fill);
}

TEST_F(ProgressBarPainting, ARightToLeftBarFillsFromTheRight) {
  Bar->Properties()->SetShowText(false);
  Bar->SetBiDiMode(bdRightToLeft);
  Bar->SetPosition(25);
  const TPixelSurface s = Paint();
  const TRect content = VI()->BarContentRect;
  const int filled = static_cast<int>(25.0 * content.Width() / 100);
  EXPECT_EQ(s.BoundsOf(PbBegin), TRect(content.Right - filled, content.Top, content.Right, content.Bottom));
}

// The themed track and chunk are the theme's own parts, pixel for pixel.
TEST_F(ProgressBarPainting, TheNativeTrackAndChunkAreTheThemesParts) {
  const HTHEME theme = OpenThemeData(Form->Handle(), L"PROGRESS");
  if (!theme) GTEST_SKIP() << "no progress-bar theme";
  SetNative(true);
  Bar->Properties()->SetShowText(false);
  const struct {
    const char* Name;
    TcxProgressBarOrientation Orientation;
    int Track, Chunk;
  } rows[] = {{"horizontal", cxorHorizontal, 1, 3}, {"vertical", cxorVertical, 2, 4}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->Properties()->SetOrientation(row.Orientation);
    Bar->SetBounds(10, 10, row.Orientation == cxorHorizontal ? 204 : 24, row.Orientation == cxorHorizontal ? 24 : 150);
    Bar->SetPosition(0);
    Bar->SetPosition(60);
    PumpPending();
    ASSERT_TRUE(VI()->NativeStyle);
    const TPixelSurface s = Paint();
    TPixelSurface reference(s.Width(), s.Height(), PbOutside);
    const TRect bar = VI()->BarRect;
    ASSERT_EQ(DrawThemeBackground(theme, reference.DC(), row.Track, 1, reinterpret_cast<const RECT*>(&bar), nullptr),
              S_OK);
    // The chunk is one line of the part, stretched along the bar.
    const TRect progress = VI()->ProgressBarRect;
    const bool horizontal = row.Orientation == cxorHorizontal;
    const int lineW = horizontal ? 1 : progress.Width();
    const int lineH = horizontal ? progress.Height() : 1;
    TPixelSurface line(lineW, lineH);
    const RECT lineRect{0, 0, lineW, lineH};
    DrawThemeBackground(theme, line.DC(), row.Chunk, 1, &lineRect, nullptr);
    SetStretchBltMode(reference.DC(), COLORONCOLOR);
    StretchBlt(reference.DC(), progress.Left, progress.Top, progress.Width(), progress.Height(), line.DC(), 0, 0, lineW,
               lineH, SRCCOPY);
    int differing = 0;
    for (int y = bar.Top; y < bar.Bottom; ++y)
      for (int x = bar.Left; x < bar.Right; ++x) differing += s.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(progress.IsEmpty());
  }
  CloseThemeData(theme);
}

// A write that moves no edge and shows no text invalidates nothing, yet a
// paint the system asks for afterwards still draws the whole bar.
TEST_F(ProgressBarPainting, APositionThatMovesNoEdgeSkipsOnlyItsOwnRefresh) {
  Bar->Properties()->SetShowText(false);
  Bar->SetPosition(50);
  UpdateWindow(Bar->Handle());
  const int before = VI()->ProgressBarRect.Width();
  Bar->SetPosition(50.1);
  ASSERT_EQ(VI()->ProgressBarRect.Width(), before);
  EXPECT_FALSE(GetUpdateRect(Bar->Handle(), nullptr, FALSE));
  const TPixelSurface s = Paint();
  EXPECT_GT(s.Count(GetSysColor(COLOR_BTNSHADOW)), 0);
  EXPECT_EQ(s.Count(PbBegin), before * VI()->BarContentRect.Height());
  // An edge that moves is refreshed.
  Bar->SetPosition(60);
  EXPECT_TRUE(GetUpdateRect(Bar->Handle(), nullptr, FALSE));
}

TEST_F(ProgressBarPainting, SpeedFiveMovesTheSegmentTenPixelsPerThirtyMillisecondTick) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetBarStyle(cxbsAnimation);
  p->SetAnimationSpeed(0);
  PumpPending();
  EXPECT_EQ(VI()->AnimationTimer(), nullptr);
  p->SetAnimationSpeed(5);
  ASSERT_NE(VI()->AnimationTimer(), nullptr);
  EXPECT_EQ(VI()->AnimationTimer()->Interval(), 30u);
  EXPECT_EQ(VI()->FAnimationPosition, 0);
  for (int tick = 1; tick <= 3; ++tick) {
    VI()->AnimationTimerTick(VI()->AnimationTimer());
    EXPECT_EQ(VI()->FAnimationPosition, 10 * tick);
  }
  p->SetAnimationSpeed(30);
  EXPECT_EQ(p->AnimationSpeed(), 20u);
  p->SetBarStyle(cxbsSolid);
  EXPECT_EQ(VI()->AnimationTimer(), nullptr);
}

TEST_F(ProgressBarPainting, PingPongRestsForTheRestartDelayAtEachEnd) {
  TcxProgressBarProperties* p = Bar->Properties();
  p->SetAnimationPath(cxapPingPong);
  p->SetAnimationRestartDelay(500);
  p->SetAnimationSpeed(5);
  p->SetBarStyle(cxbsAnimation);
  Bar->SetPosition(100);
  ASSERT_NE(VI()->AnimationTimer(), nullptr);
  const int path = VI()->GetAnimationPathLength();
  ASSERT_GT(path, 10);
  const auto tick = [this] { VI()->AnimationTimerTick(VI()->AnimationTimer()); };
  for (int turns = 0; turns < 2; ++turns) {
    SCOPED_TRACE(turns);
    int guard = 0;
    while (!VI()->AnimationRestartDelayTimer() && guard++ < 1000) tick();
    ASSERT_NE(VI()->AnimationRestartDelayTimer(), nullptr);
    EXPECT_EQ(VI()->AnimationRestartDelayTimer()->Interval(), 500u);
    const int rest = VI()->FAnimationPosition;
    EXPECT_EQ(rest, turns == 0 ? path : 0);
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(VI()->FAnimationPosition, rest);
    VI()->AnimationRestartDelayTimerTick(VI()->AnimationRestartDelayTimer());
    EXPECT_EQ(VI()->AnimationRestartDelayTimer(), nullptr);
    tick();
    EXPECT_EQ(VI()->FAnimationPosition, turns == 0 ? path - 10 : 10);
  }
}

}  // namespace
