#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/Office11Testing.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

TcxCustomLookAndFeelPainter* Office11() { return GetPaintersManager()->GetPainter(lfsOffice11); }
TcxOffice11LookAndFeelPainter* Office11Painter() { return static_cast<TcxOffice11LookAndFeelPainter*>(Office11()); }

// Half of each, each product rounded.
COLORREF Half(COLORREF A, COLORREF B) {
  const auto channel = [](int a, int b) { return static_cast<int>(std::lround(a / 2.0) + std::lround(b / 2.0)); };
  return RGB(channel(GetRValue(A), GetRValue(B)), channel(GetGValue(A), GetGValue(B)),
             channel(GetBValue(A), GetBValue(B)));
}

COLORREF ToRef(TColor AColor) { return ColorToColorRef(AColor); }

TEST(Office11Painter, NamesItselfAndRepaintsOnResize) {
  ASSERT_TRUE(Is<TcxOffice11LookAndFeelPainter>(Office11()));
  EXPECT_EQ(Office11()->LookAndFeelName(), L"Office11");
  EXPECT_TRUE(Office11()->NeedRedrawOnResize());
  EXPECT_FALSE(Office11()->DrawExpandButtonFirst());
}

// The colours of the schemes, from the scheme table; without a scheme the
// system's.
struct TSchemeRow {
  const wchar_t* SchemeName;
  COLORREF Background;
  COLORREF Frame;
  COLORREF GradientLight;
  COLORREF GradientDark;
  bool Themed;
};

std::vector<TSchemeRow> SchemeRows() {
  return {{L"Other", Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW), 0, 0, false},
          {L"NormalColor", RGB(158, 190, 245), RGB(0, 45, 150), RGB(221, 236, 254), RGB(129, 169, 226), true},
          {L"HomeStead", RGB(217, 217, 167), RGB(117, 141, 94), RGB(244, 247, 222), RGB(183, 198, 145), true},
          {L"Metallic", RGB(215, 215, 229), RGB(124, 124, 148), RGB(243, 244, 250), RGB(153, 151, 181), true}};
}

TEST(Office11Painter, ColoursFollowTheColourScheme) {
  if (!AreVisualStylesAvailable()) GTEST_SKIP() << "schemes need visual styles";
  for (const TSchemeRow& row : SchemeRows()) {
    SCOPED_TRACE(UTF8Encode(row.SchemeName));
    const TThemeNames names(L"C:\\Windows\\Resources\\Themes\\light.msstyles", row.SchemeName);
    EXPECT_EQ(ToRef(Office11()->ButtonColor(cxbsNormal)), row.Background);
    EXPECT_EQ(ToRef(Office11()->ButtonColor(cxbsDisabled)), Sys(COLOR_BTNFACE));
    // A pressed glyph is drawn on the scheme's light orange, or on a dark
    // highlight blend without a scheme.
    EXPECT_EQ(ToRef(Office11()->ButtonSymbolColor(cxbsPressed)), row.Themed ? RGB(0, 0, 0) : Sys(COLOR_HIGHLIGHTTEXT));
    TCanvasOnSurface canvas(30, 20, Bg);
    const TRect r(2, 2, 28, 18);
    Office11()->DrawBorder(canvas.Get(), r);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r));
    EXPECT_EQ(ToRef(Office11()->RichEditControlHeaderFooterLineColor()), row.Background);
    EXPECT_EQ(ToRef(Office11()->RichEditRulerInactiveAreaColor()), row.Background);
    EXPECT_EQ(ToRef(Office11()->RichEditRulerTabTypeToggleBorderColor()), row.Frame);
    EXPECT_EQ(Office11()->RichEditControlHeaderFooterMarkBackColor(), Office11()->DefaultControlColor());
    if (row.Themed) {
      EXPECT_EQ(ToRef(Office11Painter()->HeaderTopColor()), Half(row.GradientLight, row.GradientDark));
    }
  }
}

TEST(Office11Painter, ButtonFramesAndSeparators) {
  const TThemeNames names(L"light.msstyles", L"NormalColor");
  struct TRow {
    TcxButtonState State;
    COLORREF Frame;
  };
  const COLORREF highlightBorder = AreVisualStylesAvailable() ? RGB(0, 0, 128) : Sys(COLOR_HIGHLIGHT);
  for (const TRow& row : {TRow{cxbsNormal, Sys(COLOR_BTNTEXT)}, TRow{cxbsHot, highlightBorder},
                          TRow{cxbsPressed, highlightBorder}, TRow{cxbsDefault, Sys(COLOR_WINDOWFRAME)}}) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(30, 20, Bg);
    const TRect r(2, 2, 28, 18);
    Office11()->DrawButtonBorder(canvas.Get(), r, row.State);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r));
  }
  // The separator: dark, and light one pixel down-right.
  TCanvasOnSurface canvas(30, 20, Bg);
  Office11()->DrawSeparator(canvas.Get(), TRect(2, 2, 28, 18), false);
  const COLORREF dark = ToRef(Office11Color(Office11SeparatorDarkColor));
  const COLORREF light = ToRef(Office11Color(Office11SeparatorLightColor));
  const TRect band = canvas.Surface.BoundsOfOther(Bg);
  EXPECT_EQ(band.Height(), Office11()->SeparatorSize());
  EXPECT_EQ(canvas.Surface.Pixel(band.Left, band.Top), dark);
  EXPECT_EQ(canvas.Surface.Pixel(band.Right - 1, band.Bottom - 1), light);
}

// The expand button: the colour set's picture, its face recoloured from the
// gradient's light colour at the top to its dark colour at the bottom.
TEST(Office11Painter, TheExpandButtonIsTheRecolouredPicture) {
  const TThemeNames names(L"light.msstyles", L"NormalColor");
  const COLORREF light = ToRef(Office11Color(Office11GradientLightColor));
  const COLORREF dark = ToRef(Office11Color(Office11GradientDarkColor));
  ASSERT_NE(light, dark);
  for (const TScale scale : {TScale{1, 1}, TScale{2, 1}}) {
    SCOPED_TRACE(scale.Numerator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const int size = factor->Apply(11);
    EXPECT_EQ(Office11()->ScaledExpandButtonSize(factor.get()), size);
    const TRect r(3, 3, 3 + size + 4, 3 + size + 4);
    for (const bool expanded : {false, true}) {
      TCanvasOnSurface canvas(40, 40, Bg);
      Office11()->DrawScaledExpandButton(canvas.Get(), r, expanded, factor.get());
      const TRect box(5, 5, 5 + size, 5 + size);
      EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg), box) << canvas.Surface.Picture(Bg);
      const int one = factor->Apply(1);
      // Transparent corners, a black frame, the face's first and last rows.
      EXPECT_EQ(canvas.Surface.Pixel(box.Left, box.Top), Bg);
      EXPECT_EQ(canvas.Surface.Pixel(box.Left + one, box.Top), RGB(0, 0, 0));
      EXPECT_EQ(canvas.Surface.Pixel(box.Left + one, box.Top + one), light);
      EXPECT_EQ(canvas.Surface.Pixel(box.Left + one, box.Bottom - one - 1), dark);
      // The mark: a stem across the centre only for the plus.
      const int centre = box.Left + 5 * one;
      EXPECT_EQ(canvas.Surface.Pixel(centre, box.Top + 3 * one), expanded ? canvas.Surface.Pixel(centre - 2 * one, box.Top + 3 * one) : RGB(0, 0, 0));
      EXPECT_EQ(canvas.Surface.Pixel(box.Left + 3 * one, centre), RGB(0, 0, 0));
    }
  }
}

// A picture whose face has one red value has no range to map it through: it
// takes the light colour instead of dividing by zero.
TEST(Office11Painter, RecolouringAPictureOfOneRedValueTakesTheLightColour) {
  const TThemeNames names(L"light.msstyles", L"NormalColor");
  const COLORREF light = ToRef(Office11Color(Office11GradientLightColor));
  const std::uint32_t lightBgra =
      0xFF000000 | (GetRValue(light) << 16) | (GetGValue(light) << 8) | GetBValue(light);
  std::vector<std::uint32_t> pixels = {0x00FF00FF, 0x00646464, 0x00646464, 0x00000000, 0x00FF00FF};
  Office11RecolorPixels(pixels);
  EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0, lightBgra, lightBgra, 0xFF000000, 0}));
  // With a range, the lowest red takes the dark colour.
  const COLORREF dark = ToRef(Office11Color(Office11GradientDarkColor));
  std::vector<std::uint32_t> ramp = {0x00FF00FF, 0x00C8C8C8, 0x00646464};
  Office11RecolorPixels(ramp);
  EXPECT_EQ(ramp[1], lightBgra);
  EXPECT_EQ(ramp[2], 0xFF000000 | (GetRValue(dark) << 16) | (GetGValue(dark) << 8) | GetBValue(dark));
}

// A real change of the system colours recolours the painter at once.
TEST(Office11Painter, ASystemColourChangeRecoloursThePainter) {
  const TThemeNames names(L"light.msstyles", L"Other");
  const COLORREF face = RGB(200, 180, 120);
  const TSystemColorsChange change({{COLOR_BTNFACE, face}});
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWindow, LPARAM) {
        SendMessageW(AWindow, WM_SYSCOLORCHANGE, 0, 0);
        return TRUE;
      },
      0);
  EXPECT_EQ(ToRef(Office11()->ButtonColor(cxbsNormal)), face);
  TCanvasOnSurface canvas(20, 20, Bg);
  Office11()->DrawScaledExpandButton(canvas.Get(), TRect(2, 2, 13, 13), false, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.Pixel(3, 3), ToRef(Office11Color(Office11GradientLightColor)));
  EXPECT_EQ(ToRef(Office11Color(Office11BackgroundColor)), face);
}

TEST(Office11Painter, TheSizeGripIsTheColourSetsStaircase) {
  for (const TScale scale : {TScale{1, 1}, TScale{2, 1}}) {
    SCOPED_TRACE(scale.Numerator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const TRect r(0, 0, factor->Apply(16), factor->Apply(16));
    TCanvasOnSurface canvas(r.Right, r.Bottom, Bg);
    Office11()->DrawScaledSizeGrip(canvas.Get(), r, factor.get(), clNone);
    const COLORREF dark = ToRef(Office11Color(Office11GripDarkColor));
    // Six dots (three, two, one), each a dark square of the dot less a step.
    const int side = factor->Apply(4) - 2 * factor->Apply(1);
    EXPECT_EQ(canvas.Surface.Count(dark), 6 * side * side) << canvas.Surface.Picture(Bg);
  }
}

// Scroll bars and, while buttons are themed, group boxes are the Native
// painter's.
TEST(Office11Painter, BorrowsTheNativePaintersScrollBarsAndGroupBoxes) {
  TcxCustomLookAndFeelPainter* native = GetPaintersManager()->GetPainter(lfsNative);
  ASSERT_NE(native, nullptr);
  const TdxScaleFactor* f = DefaultScaleFactor();
  struct TRow {
    const char* Name;
    void (*Draw)(TcxCustomLookAndFeelPainter*, TcxCanvas*, const TdxScaleFactor*);
  };
  const TRow rows[] = {
      {"thumb", [](auto* P, TcxCanvas* C, const TdxScaleFactor* F) {
         P->DrawScaledScrollBarPart(C, false, TRect(2, 2, 19, 40), sbpThumbnail, cxbsHot, F);
       }},
      {"line up", [](auto* P, TcxCanvas* C, const TdxScaleFactor* F) {
         P->DrawScaledScrollBarPart(C, true, TRect(2, 2, 19, 19), sbpLineUp, cxbsPressed, F);
       }},
      {"group box", [](auto* P, TcxCanvas* C, const TdxScaleFactor*) {
         P->DrawGroupBoxFrame(C, TRect(2, 2, 40, 40), true, cxgpTop, cxBordersAll());
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface office(44, 44, Bg);
    TCanvasOnSurface nativeCanvas(44, 44, Bg);
    row.Draw(Office11(), office.Get(), f);
    row.Draw(native, nativeCanvas.Get(), f);
    EXPECT_FALSE(office.Surface.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(office.Surface, nativeCanvas.Surface), 0);
  }
  EXPECT_EQ(Office11()->ScaledScrollBarMinimalThumbSize(true, f), native->ScaledScrollBarMinimalThumbSize(true, f));
}

// AWeight per cent of A and the rest of B, each product rounded.
COLORREF Mix(COLORREF A, COLORREF B, int AWeight) {
  const auto channel = [AWeight](int a, int b) {
    return static_cast<int>(std::lround(a * AWeight / 100.0) + std::lround(b * (100 - AWeight) / 100.0));
  };
  return RGB(channel(GetRValue(A), GetRValue(B)), channel(GetGValue(A), GetGValue(B)),
             channel(GetBValue(A), GetBValue(B)));
}

// A vertical gradient from the system's own GradientFill.
void SystemGradient(const TPixelSurface& ASurface, const TRect& R, COLORREF ATop, COLORREF ABottom) {
  TRIVERTEX vertices[2] = {
      {R.Left, R.Top, static_cast<COLOR16>(GetRValue(ATop) << 8), static_cast<COLOR16>(GetGValue(ATop) << 8),
       static_cast<COLOR16>(GetBValue(ATop) << 8), 0},
      {R.Right, R.Bottom, static_cast<COLOR16>(GetRValue(ABottom) << 8), static_cast<COLOR16>(GetGValue(ABottom) << 8),
       static_cast<COLOR16>(GetBValue(ABottom) << 8), 0}};
  GRADIENT_RECT rect{0, 1};
  GdiGradientFill(ASurface.DC(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
  GdiFlush();
}

TEST(Office11Painter, HeaderAnswers) {
  EXPECT_EQ(Office11()->HeaderBorders(TcxNeighbors{nLeft, nTop}), cxBordersAll());
  EXPECT_EQ(Office11()->HeaderBorderSize(), 1);
  EXPECT_TRUE(Office11()->IsHeaderHotTrack());
  EXPECT_EQ(Office11()->GridBordersOverlapSize(), 0);
  EXPECT_EQ(Office11()->FooterSeparatorColor(), Office11Painter()->HeaderDarkEdgeColor());
}

// The border of the header (2, 2)-(22, 16), pixel by pixel: top row 2,
// bottom row 15, left column 2, right column 21.
TEST(Office11Painter, HeaderBorderPixels) {
  const COLORREF top = ToRef(Office11Painter()->HeaderTopColor());
  const COLORREF bottom = ToRef(Office11Color(Office11GradientDarkColor));
  const COLORREF dark = ToRef(Office11Color(Office11SeparatorDarkColor));
  const COLORREF light = ToRef(Office11Color(Office11SeparatorLightColor));
  struct TPoint3 {
    int X, Y;
    COLORREF Color;
  };
  struct TRow {
    const char* Name;
    TcxNeighbors Neighbors;
    TcxBorders Borders;
    std::vector<TPoint3> Pixels;
  };
  const std::vector<TRow> rows = {
      {"alone",
       {},
       cxBordersAll(),
       {{2, 2, top}, {21, 2, top}, {2, 15, dark}, {21, 15, dark},
        {2, 3, top}, {2, 4, light}, {2, 13, light}, {2, 14, bottom},
        {21, 3, Mix(top, dark, 50)}, {21, 4, dark}, {21, 13, dark}, {21, 14, Mix(bottom, dark, 50)}}},
      {"between neighbours",
       TcxNeighbors{nLeft, nRight},
       cxBordersAll(),
       {{2, 3, top}, {2, 4, top}, {2, 5, light}, {2, 12, light}, {2, 13, Mix(top, bottom, 25)}, {2, 14, bottom},
        {21, 3, top}, {21, 4, top}, {21, 5, dark}, {21, 12, dark}, {21, 13, Mix(top, bottom, 25)},
        {21, 14, bottom}}},
      {"top and bottom only",
       {},
       TcxBorders{bTop, bBottom},
       {{2, 2, top}, {21, 2, top}, {2, 15, dark}, {2, 8, Bg}, {21, 8, Bg}}},
  };
  const TRect r(2, 2, 22, 16);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(24, 18, Bg);
    Office11()->DrawHeaderBorder(canvas.Get(), r, row.Neighbors, row.Borders);
    for (const TPoint3& p : row.Pixels) {
      SCOPED_TRACE(testing::Message() << "(" << p.X << ", " << p.Y << ")");
      EXPECT_EQ(canvas.Surface.Pixel(p.X, p.Y), p.Color);
    }
    // Nothing inside, and on every side asked for the whole line.
    TRect inner = r;
    inner.Deflate(1);
    EXPECT_EQ(canvas.Surface.CountOther(inner, Bg), 0);
    if (row.Borders == cxBordersAll()) {
      EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), RingLength(r));
    }
  }
}

// The header's face at scale factors 1 and 2: the top colour (the light
// gradient colour while hot) shading into the bottom colour over the last
// four rows; the hot strip glows over the bottom edge.
TEST(Office11Painter, HeaderBackgroundPixels) {
  const COLORREF top = ToRef(Office11Painter()->HeaderTopColor());
  const COLORREF bottom = ToRef(Office11Color(Office11GradientDarkColor));
  const COLORREF lightGradient = ToRef(Office11Color(Office11GradientLightColor));
  const TRect bounds(2, 2, 60, 40);
  for (const int scale : {1, 2}) {
    const auto factor = ScaleFactorOf(scale, 1);
    const TRect content = Office11()->ScaledHeaderContentBounds(bounds, cxBordersAll(), factor.get());
    for (const TcxButtonState state : {cxbsNormal, cxbsHot}) {
      SCOPED_TRACE(testing::Message() << "scale " << scale << " state " << state);
      TCanvasOnSurface canvas(64, 44, Bg);
      Office11()->DrawScaledHeader(canvas.Get(), bounds, bounds, {}, cxBordersAll(), state, taLeftJustify, vaTop,
                                   false, false, L"", nullptr, clBlack, clRed, factor.get());
      const bool hot = state == cxbsHot;
      const COLORREF first = hot ? lightGradient : top;
      TPixelSurface expected(64, 44, Bg);
      RECT solid = TRect(content.Left, content.Top, content.Right, content.Bottom - 4);
      const TOwnedBrush brush(CreateSolidBrush(first));
      FillRect(expected.DC(), &solid, brush.Get());
      SystemGradient(expected, TRect(content.Left, content.Bottom - 4, content.Right, content.Bottom), first,
                     hot ? first : bottom);
      TRect face = content;
      if (hot) {
        const TRect strip(content.Left - 1, content.Bottom - 2, content.Right, content.Bottom + 1);
        SystemGradient(expected, strip, ToRef(Office11Color(Office11HotColor)),
                       ToRef(Office11Color(Office11HotColor2)));
        EXPECT_EQ(DifferingPixels(canvas.Surface, expected, strip), 0) << canvas.Surface.Picture(Bg);
        face.Bottom -= 2;
      }
      EXPECT_EQ(DifferingPixels(canvas.Surface, expected, face), 0) << canvas.Surface.Picture(Bg);
    }
  }
}

// A layout record's caption: the record's frame (the selection colour while
// hot) around the header face of the state.
TEST(Office11Painter, ALayoutRecordCaptionIsAHeaderFaceInTheRecordsFrame) {
  const TRect r(3, 4, 45, 26);
  TRect face = r;
  face.Deflate(1);
  for (const TcxButtonState state : {cxbsNormal, cxbsPressed, cxbsHot}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(48, 30, Bg);
    Office11()->LayoutViewDrawRecordCaption(canvas.Get(), r, r, cxgpTop, state);
    TCanvasOnSurface header(48, 30, Bg);
    Office11()->DrawScaledHeader(header.Get(), r, r, {}, cxBordersAll(), state, taLeftJustify, vaTop, false, false,
                                 L"", nullptr, clBlack, clRed, DefaultScaleFactor());
    const COLORREF frame = state == cxbsHot ? ToRef(Office11()->DefaultSelectionColor()) : Sys(COLOR_BTNSHADOW);
    EXPECT_EQ(RingCount(canvas.Surface, r, frame), RingLength(r));
    // The face is the header's (whose border is as thick as the record's);
    // the hot glow stays inside the frame.
    EXPECT_EQ(DifferingPixels(canvas.Surface, header.Surface, face), 0) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), r.Width() * r.Height());
  }
}

// A month header: the view's colour one pixel inside the bounds, the text
// centred on it; the rim is left to the caller, and a custom drawing of
// the background replaces the fill.
TEST(Office11Painter, AMonthHeaderIsTheViewsColourInsideItsBounds) {
  const TRect r(2, 3, 42, 23);
  TRect inner = r;
  inner.Deflate(1);
  TcxViewParams params;
  params.Color = clYellow;
  params.TextColor = clBlue;
  TCanvasOnSurface canvas(44, 26, Bg);
  params.Font = canvas->Font();
  Office11()->DrawScaledMonthHeader(canvas.Get(), r, L"May", {nLeft}, params, {}, 0, DefaultScaleFactor());
  TPixelSurface system(44, 26, Bg);
  GdiFill(system.DC(), inner, RGB(255, 255, 0));
  const HGDIOBJ old = SelectObject(system.DC(), canvas->Font()->Handle());
  SetBkMode(system.DC(), TRANSPARENT);
  SetTextColor(system.DC(), RGB(0, 0, 255));
  RECT text = inner;
  DrawTextW(system.DC(), L"May", 3, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(system.DC(), old);
  GdiFlush();
  EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);

  TCanvasOnSurface custom(44, 26, Bg);
  TRect asked;
  Office11()->DrawScaledMonthHeader(custom.Get(), r, L"", {}, params, {}, 0, DefaultScaleFactor(),
                                    [&](TcxCanvas*, const TRect& R) {
                                      asked = R;
                                      return true;
                                    });
  EXPECT_EQ(asked, inner);
  EXPECT_EQ(custom.Surface.CountOther(custom.Surface.ClientRect(), Bg), 0);

  TCanvasOnSurface arrows(44, 26, Bg);
  Office11()->DrawScaledMonthHeader(arrows.Get(), r, L"", {}, params, {adRight}, 0, DefaultScaleFactor());
  TCanvasOnSurface expected(44, 26, Bg);
  GdiFill(expected.Surface.DC(), inner, RGB(255, 255, 0));
  Office11()->DrawMonthHeaderArrows(expected.Get(), r, {adRight}, 0, clWindowText);
  EXPECT_EQ(DifferingPixels(arrows.Surface, expected.Surface), 0);
  EXPECT_GT(arrows.Surface.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(Office11Painter, APressedHeaderSectionIsInverted) {
  const TRect bounds(0, 0, 40, 20);
  const auto draw = [&](TcxButtonState AState) {
    TCanvasOnSurface canvas(40, 20, Bg);
    Office11()->DrawScaledHeaderControlSection(canvas.Get(), bounds, bounds, {}, TcxBorders{bTop}, AState,
                                               taLeftJustify, vaTop, false, false, L"", nullptr, clBlack, clRed,
                                               DefaultScaleFactor());
    return canvas;
  };
  const TCanvasOnSurface normal = draw(cxbsNormal);
  const TCanvasOnSurface pressed = draw(cxbsPressed);
  // All four borders, whatever was asked for.
  EXPECT_EQ(normal.Surface.Pixel(0, 10), ToRef(Office11Color(Office11SeparatorLightColor)));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(pressed.Surface.Pixel(x, y), normal.Surface.Pixel(x, y) ^ 0xFFFFFF);
}

TEST(Office11Painter, SortingMarksAreInTheHeaderEdgeColours) {
  const COLORREF dark = ToRef(Office11Color(Office11SeparatorDarkColor));
  const COLORREF light = ToRef(Office11Color(Office11SeparatorLightColor));
  for (const bool summary : {false, true}) {
    SCOPED_TRACE(summary);
    TCanvasOnSurface canvas(20, 20, Bg);
    if (summary)
      Office11()->DrawScaledSummarySortingMark(canvas.Get(), TRect(2, 2, 18, 18), false, DefaultScaleFactor());
    else
      Office11()->DrawScaledSortingMark(canvas.Get(), TRect(2, 2, 18, 18), false, DefaultScaleFactor());
    const int drawn = canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg);
    EXPECT_GT(canvas.Surface.Count(dark), 0);
    EXPECT_EQ(canvas.Surface.Count(dark) + (light == dark ? 0 : canvas.Surface.Count(light)), drawn);
  }
}

}  // namespace

namespace {

// Data views under the blue scheme, whose colours are the scheme table's.
class Office11BlueDataViews : public testing::Test {
 protected:
  void SetUp() override {
    if (!AreVisualStylesAvailable()) GTEST_SKIP() << "schemes need visual styles";
    FNames.emplace(L"C:\\Windows\\Resources\\Themes\\light.msstyles", L"NormalColor");
  }
  std::optional<TThemeNames> FNames;
};

TEST_F(Office11BlueDataViews, SchedulerNavigationButtonsAreTheSetsFacesFramedOnThreeSides) {
  const TRect r(1, 1, 21, 41);
  struct TRow {
    TcxButtonState State;
    COLORREF Face;
  };
  for (const TRow& row : {TRow{cxbsNormal, RGB(158, 190, 245)}, TRow{cxbsHot, RGB(255, 244, 204)},
                          TRow{cxbsPressed, RGB(255, 211, 142)}}) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(24, 44, Bg);
    // A previous vertical button: framed left, top and right.
    Office11()->DrawSchedulerNavigationButton(canvas.Get(), r, false, row.State, String(), TRect(), TRect(7, 5, 14, 12),
                                              true);
    const COLORREF frame = RGB(0, 45, 150);
    EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, 21, 2), frame), 20) << "top";
    EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, 2, 41), frame), 40) << "left";
    EXPECT_EQ(canvas.Surface.Count(TRect(20, 1, 21, 41), frame), 40) << "right";
    EXPECT_EQ(canvas.Surface.Count(TRect(2, 40, 20, 41), row.Face), 18) << "the bottom stays open";
    EXPECT_GT(canvas.Surface.Count(TRect(7, 5, 14, 12), ToRef(Office11()->ButtonSymbolColor(row.State, clDefault))), 10);
  }
  TCanvasOnSurface border(24, 44, Bg);
  Office11()->DrawSchedulerBorder(border.Get(), r);
  EXPECT_EQ(RingCount(border.Surface, r, RGB(0, 45, 150)), RingLength(r));
  EXPECT_EQ(border.Surface.CountOther(TRect(2, 2, 20, 40), Bg), 0);
}

TEST_F(Office11BlueDataViews, SplittersTrackBarsAndTheLayoutControlInTheSetsColours) {
  EXPECT_EQ(ToRef(Office11()->GetSplitterInnerColor(false)), RGB(241, 249, 255));
  EXPECT_EQ(ToRef(Office11()->GetSplitterOuterColor(false)), RGB(106, 140, 203));
  EXPECT_EQ(ToRef(Office11()->GetSplitterOuterColor(true)), RGB(0, 0, 128));

  const TRect r(3, 4, 30, 20);
  TCanvasOnSurface track(40, 30, Bg);
  Office11()->DrawTrackBarTrackBounds(track.Get(), r);
  EXPECT_EQ(RingCount(track.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r));
  TCanvasOnSurface thumb(40, 30, Bg);
  Office11()->DrawTrackBarThumbBorderBoth(thumb.Get(), r);
  EXPECT_EQ(DifferingPixels(thumb.Surface, track.Surface), 0);
  const TPoint light[] = {{5, 20}, {5, 6}, {20, 6}};
  const TPoint shadow[] = {{21, 7}, {21, 20}};
  const TPoint dark[] = {{22, 6}, {22, 21}, {5, 21}};
  TCanvasOnSurface outline(40, 30, Bg);
  Office11()->DrawTrackBarThumbBorderUpDown(outline.Get(), light, shadow, dark);
  TPixelSurface gdi(40, 30, Bg);
  GdiPolyline(gdi.DC(), light, Sys(COLOR_BTNTEXT));
  GdiPolyline(gdi.DC(), dark, Sys(COLOR_BTNTEXT));
  EXPECT_EQ(DifferingPixels(outline.Surface, gdi), 0) << outline.Surface.Picture(Bg);

  // Light at the top, dark at the bottom, GDI's own vertical gradient.
  const TRect area(0, 0, 20, 40);
  TCanvasOnSurface layout(20, 40, Bg);
  Office11()->DrawLayoutControlBackground(layout.Get(), area);
  TPixelSurface gradient(20, 40, Bg);
  TRIVERTEX v[2] = {{0, 0, 221 << 8, 236 << 8, 254 << 8, 0}, {20, 40, 129 << 8, 169 << 8, 226 << 8, 0}};
  GRADIENT_RECT g{0, 1};
  GdiGradientFill(gradient.DC(), v, 2, &g, 1, GRADIENT_FILL_RECT_V);
  int off = 0;
  for (int y = 0; y < 40; ++y) {
    const COLORREF a = layout.Surface.Pixel(10, y), b = gradient.Pixel(10, y);
    off += std::abs(GetRValue(a) - GetRValue(b)) > 2 || std::abs(GetGValue(a) - GetGValue(b)) > 2 ||
           std::abs(GetBValue(a) - GetBValue(b)) > 2;
  }
  EXPECT_EQ(off, 0);
  EXPECT_EQ(layout.Surface.Pixel(3, 0), RGB(221, 236, 254));
}

TEST_F(Office11BlueDataViews, TheDateHeaderIsTheHeaderColourAndKeepsItsRectangle) {
  TRect r(3, 4, 30, 20);
  TCanvasOnSurface canvas(40, 30, Bg);
  Office11()->DrawDateNavigatorDateHeader(canvas.Get(), r);
  EXPECT_EQ(r, TRect(3, 4, 30, 20));
  EXPECT_EQ(canvas.Surface.Count(ToRef(Office11()->DefaultDateNavigatorHeaderColor())), r.Width() * r.Height());
}

// The scheduler's navigator button is the Native painter's.
TEST_F(Office11BlueDataViews, TheSchedulerNavigatorButtonIsTheNativePaintersWhileRegistered) {
  const TRect r(4, 4, 30, 30);
  TCanvasOnSurface office(40, 40, Bg);
  TCanvasOnSurface native(40, 40, Bg);
  Office11()->DrawSchedulerScaledNavigatorButton(office.Get(), r, cxbsPressed, DefaultScaleFactor());
  GetPaintersManager()->GetPainter(lfsNative)->DrawSchedulerScaledNavigatorButton(native.Get(), r, cxbsPressed,
                                                                                  DefaultScaleFactor());
  EXPECT_FALSE(native.Surface.BoundsOfOther(Bg).IsEmpty());
  EXPECT_EQ(DifferingPixels(office.Surface, native.Surface), 0);
}

}  // namespace
