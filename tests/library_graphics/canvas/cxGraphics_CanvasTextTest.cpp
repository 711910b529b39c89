// The GDI canvas's text and image operations as pixels: text drawn with the
// library's flags against DrawTextW itself, disabled and rotated text,
// measuring and line bounds, glyphs, blending, and bitmaps turned and
// mirrored with their alpha bytes.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class GdiCanvasText : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    FFont.reset(New<TFont>());
    FFont->SetName(L"Tahoma");
    FFont->SetHeight(-13);
  }

  // A canvas of the size with the test's font.
  std::unique_ptr<TCanvasOnSurface> Canvas(int AWidth, int AHeight) {
    auto canvas = std::make_unique<TCanvasOnSurface>(AWidth, AHeight);
    (*canvas)->Font()->Assign(FFont.get());
    return canvas;
  }
  // What DrawTextW itself draws with the same font, transparent.
  std::unique_ptr<TCanvasOnSurface> Reference(int AWidth, int AHeight, const String& AText, TRect R, UINT AFormat) {
    auto canvas = Canvas(AWidth, AHeight);
    const HDC DC = (*canvas)->Handle();
    SetBkMode(DC, TRANSPARENT);
    DrawTextW(DC, AText.c_str(), static_cast<int>(AText.size()), R.WinRect(), AFormat);
    return canvas;
  }
  static int Differences(const TPixelSurface& A, const TPixelSurface& B) {
    int result = 0;
    for (int y = 0; y < A.Height(); ++y)
      for (int x = 0; x < A.Width(); ++x)
        if (A.Pixel(x, y) != B.Pixel(x, y)) ++result;
    return result;
  }
  TSize Extent(const String& AText) {
    auto canvas = Canvas(4, 4);
    return (*canvas)->TextExtent(AText);
  }

  TOwned<TFont> FFont;
};

// ---------------------------------------------------------------------------
// Flags

TEST(GdiCanvasTextFlags, LibraryFlagsAsDrawTextFlags) {
  struct Case {
    const char* Name;
    int Flags;
    UINT Format;
  };
  const Case cases[] = {
      {"none", 0, DT_NOPREFIX},
      {"left", cxtfLeft, DT_NOPREFIX},
      {"right", cxtfRight, DT_NOPREFIX | DT_RIGHT},
      {"centre", cxtfCenterX, DT_NOPREFIX | DT_CENTER},
      {"top", cxtfTop, DT_NOPREFIX},
      {"bottom", cxtfBottom, DT_NOPREFIX | DT_BOTTOM},
      {"middle", cxtfCenterY, DT_NOPREFIX | DT_VCENTER},
      {"single line", cxtfSingleLine, DT_NOPREFIX | DT_SINGLELINE},
      {"no clip", cxtfNoClip, DT_NOPREFIX | DT_NOCLIP},
      {"tabs", cxtfExpandTabs, DT_NOPREFIX | DT_EXPANDTABS},
      {"prefix", cxtfShowPrefix, 0},
      {"word break", cxtfWordBreak, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
      {"word break without char break", cxtfWordBreak | cxtfNoCharBreak, DT_NOPREFIX | DT_WORDBREAK},
      {"full-width char break too", cxtfWordBreak | cxtfNoCharBreak | cxtfNoFullWidthCharBreak,
       DT_NOPREFIX | DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK},
      {"full-width char break alone", cxtfNoFullWidthCharBreak, DT_NOPREFIX},
      {"no char break alone", cxtfNoCharBreak, DT_NOPREFIX},
      {"end ellipsis", cxtfEndEllipsis, DT_NOPREFIX | DT_END_ELLIPSIS},
      {"calc rect", cxtfCalcRect, DT_NOPREFIX | DT_CALCRECT},
      {"path ellipsis", cxtfPathEllipsis, DT_NOPREFIX | DT_PATH_ELLIPSIS},
      {"right to left", cxtfRtlReading, DT_NOPREFIX | DT_RTLREADING},
      {"word ellipsis", cxtfWordEllipsis, DT_NOPREFIX | DT_WORD_ELLIPSIS},
      {"a mix", cxtfRight | cxtfCenterY | cxtfSingleLine | cxtfShowPrefix,
       DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TextFlagsToDrawTextFlags(c.Flags), c.Format);
  }
}

// ---------------------------------------------------------------------------
// Text output

TEST_F(GdiCanvasText, TextAlignedAsDrawTextAlignsIt) {
  const String text = L"Flash 123";
  struct Case {
    const char* Name;
    int Flags;
    UINT Format;
  };
  const Case cases[] = {
      {"left top", cxtfSingleLine, DT_SINGLELINE},
      {"right", cxtfSingleLine | cxtfRight, DT_SINGLELINE | DT_RIGHT},
      {"centred", cxtfSingleLine | cxtfCenterX | cxtfCenterY, DT_SINGLELINE | DT_CENTER | DT_VCENTER},
      {"bottom right", cxtfSingleLine | cxtfRight | cxtfBottom, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
      {"end ellipsis (DrawText)", cxtfSingleLine | cxtfEndEllipsis | cxtfCenterY,
       DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER},
      {"word break, top", cxtfWordBreak, DT_WORDBREAK | DT_EDITCONTROL},
  };
  const TRect R(3, 2, 97, 27);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto canvas = Canvas(100, 30);
    (*canvas)->DrawTexT(text, R, c.Flags);
    auto reference = Reference(100, 30, text, R, c.Format | DT_NOPREFIX);
    EXPECT_GT(canvas->Surface.CountOther(R, White), 0);
    EXPECT_EQ(Differences(canvas->Surface, reference->Surface), 0) << canvas->Surface.Picture(White);
  }
}

TEST_F(GdiCanvasText, TextThatDoesNotFitIsClippedToItsRectangle) {
  auto canvas = Canvas(100, 30);
  const TRect R(10, 5, 30, 25);
  (*canvas)->DrawTexT(L"A rather long caption", R, cxtfSingleLine);
  EXPECT_GT(canvas->Surface.CountOther(R, White), 0);
  EXPECT_EQ(canvas->Surface.CountOther(canvas->Surface.ClientRect(), White),
            canvas->Surface.CountOther(R, White))
      << "nothing outside";
}

TEST_F(GdiCanvasText, MultiLineTextAlignedVertically) {
  const String text = L"one two three four five six";
  const TRect R(0, 0, 60, 80);
  TRect measured(0, 0, 60, 0);
  {
    auto reference = Canvas(60, 80);
    DrawTextW((*reference)->Handle(), text.c_str(), -1, measured.WinRect(), DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  }
  struct Case {
    const char* Name;
    int Flags;
    int Top;
  };
  const Case cases[] = {
      {"bottom", cxtfWordBreak | cxtfBottom, R.Bottom - measured.Height()},
      {"middle", cxtfWordBreak | cxtfCenterY, (R.Top + R.Bottom - measured.Height()) / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto canvas = Canvas(60, 80);
    (*canvas)->DrawTexT(text, R, c.Flags);
    auto reference = Reference(60, 80, text, TRect(R.Left, c.Top, R.Right, R.Bottom),
                               DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    EXPECT_EQ(Differences(canvas->Surface, reference->Surface), 0);

    TRect aligned = R;
    (*canvas)->AlignMultiLineTextRectVertically(aligned, text, (c.Flags & cxtfBottom) ? vaBottom : vaCenter, true,
                                                false);
    EXPECT_EQ(aligned, TRect(R.Left, c.Top, R.Right, R.Bottom));
  }
}

TEST_F(GdiCanvasText, PrefixesShownOnlyWhenAsked) {
  auto literal = Canvas(80, 20);
  (*literal)->DrawTexT(L"&File", TRect(0, 0, 80, 20), cxtfSingleLine);
  auto plain = Reference(80, 20, L"&File", TRect(0, 0, 80, 20), DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(Differences(literal->Surface, plain->Surface), 0) << "the & is drawn";

  auto prefixed = Canvas(80, 20);
  (*prefixed)->DrawTexT(L"&File", TRect(0, 0, 80, 20), cxtfSingleLine | cxtfShowPrefix);
  auto underlined = Reference(80, 20, L"&File", TRect(0, 0, 80, 20), DT_SINGLELINE);
  EXPECT_EQ(Differences(prefixed->Surface, underlined->Surface), 0) << "F underlined by the system";
  EXPECT_NE(Differences(prefixed->Surface, literal->Surface), 0);
}

TEST_F(GdiCanvasText, DisabledTextIsEmbossed) {
  const String text = L"Disabled";
  const TRect R(0, 0, 100, 24);
  const COLORREF highlight = ColorToColorRef(clBtnHighlight);
  const COLORREF shadow = ColorToColorRef(clBtnShadow);
  ASSERT_NE(highlight, shadow);
  auto canvas = Canvas(100, 24);
  canvas->Surface.Fill(RGB(0, 0, 128));
  (*canvas)->DrawTexT(text, R, cxtfSingleLine | cxtfRight | cxtfCenterY, false);
  const TRect shadowInk = canvas->Surface.BoundsOf(shadow);
  const TRect highlightInk = canvas->Surface.BoundsOf(highlight);
  ASSERT_FALSE(shadowInk.IsEmpty());
  ASSERT_FALSE(highlightInk.IsEmpty());
  EXPECT_EQ(highlightInk.Left - shadowInk.Left, 1) << "the highlight one pixel right of the shadow";
  EXPECT_EQ(highlightInk.Top - shadowInk.Top, 1);
  EXPECT_LE(highlightInk.Right, R.Right) << "both copies inside the rectangle";

  auto enabled = Canvas(100, 24);
  enabled->Surface.Fill(RGB(0, 0, 128));
  (*enabled)->DrawTexT(text, R, cxtfSingleLine | cxtfRight | cxtfCenterY, true);
  const TRect ink = enabled->Surface.BoundsOfOther(RGB(0, 0, 128));
  EXPECT_EQ(shadowInk.Left, ink.Left - 1) << "one pixel further left than enabled text";
  EXPECT_EQ((*canvas)->Font()->Color(), FFont->Color()) << "the font colour put back";
  EXPECT_EQ((*canvas)->Brush()->Style(), bsSolid);
}

TEST_F(GdiCanvasText, RotatedTextIsHorizontalTextTurned) {
  const String text = L"Up";
  // Horizontal text at the top-left of a rectangle of the turned size.
  auto flat = Canvas(16, 40);
  (*flat)->DrawTexT(text, TRect(0, 0, 40, 16), cxtfWordBreak);
  auto horizontal = Canvas(40, 16);
  (*horizontal)->DrawTexT(text, TRect(0, 0, 40, 16), cxtfWordBreak);
  auto wide = Canvas(40, 16);
  (*wide)->DrawTexT(text, TRect(0, 0, 40, 16), cxtfWordBreak, true, ra180);
  auto tall = Canvas(16, 40);
  (*tall)->DrawTexT(text, TRect(0, 0, 16, 40), cxtfWordBreak, true, raPlus90);
  int wrong180 = 0;
  int wrong90 = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 40; ++x) {
      const COLORREF source = horizontal->Surface.Pixel(x, y);
      if (wide->Surface.Pixel(39 - x, 15 - y) != source) ++wrong180;
      // A quarter turn counter-clockwise: (x, y) goes to (y, 39 - x).
      if (tall->Surface.Pixel(y, 39 - x) != source) ++wrong90;
    }
  EXPECT_GT(horizontal->Surface.CountOther(horizontal->Surface.ClientRect(), White), 0);
  EXPECT_EQ(wrong180, 0) << wide->Surface.Picture(White);
  EXPECT_EQ(wrong90, 0) << tall->Surface.Picture(White);
}

// ---------------------------------------------------------------------------
// Measuring

TEST_F(GdiCanvasText, ExtentsAlignedInTheRectangle) {
  const String text = L"Measure";
  const TSize size = Extent(text);
  ASSERT_GT(size.cx, 0);
  struct Case {
    const char* Name;
    int Flags;
    TRect Expected;
  };
  const Case cases[] = {
      {"left top", cxtfSingleLine, TRect(10, 10, 10 + size.cx, 10 + size.cy)},
      {"right", cxtfSingleLine | cxtfRight, TRect(110 - size.cx, 10, 110, 10 + size.cy)},
      {"centred", cxtfSingleLine | cxtfCenterX | cxtfCenterY,
       TRect(10 + (100 - size.cx) / 2, 10 + (50 - size.cy) / 2, 10 + (100 - size.cx) / 2 + size.cx,
             10 + (50 - size.cy) / 2 + size.cy)},
      {"bottom, wrapped", cxtfWordBreak | cxtfBottom, TRect(10, 60 - size.cy, 10 + size.cx, 60)},
  };
  auto canvas = Canvas(4, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TRect r(10, 10, 110, 60);
    (*canvas)->TextExtent(text, r, c.Flags);
    EXPECT_EQ(r, c.Expected);
  }
  TRect empty(5, 6, 5, 30);
  (*canvas)->TextExtent(L"", empty, cxtfWordBreak);
  EXPECT_EQ(empty.TopLeft(), TPoint(5, 6));
  EXPECT_EQ(empty.Width(), 0) << "an empty text keeps no width";
  TRect narrow(5, 6, 5, 6);
  (*canvas)->TextExtent(L"ab", narrow, cxtfWordBreak);
  EXPECT_EQ(narrow.Height(), 2 * size.cy) << "one pixel wide: a character a line";
}

TEST_F(GdiCanvasText, LineBoundsOfOutputText) {
  auto canvas = Canvas(4, 4);
  const TSize ab = (*canvas)->TextExtent(L"ab");
  const TSize cd = (*canvas)->TextExtent(L"cd");
  const TSize abBlank = (*canvas)->TextExtent(L"ab ");
  // Room for "ab c" but not for "ab cd": the line ends at the blank.
  const int abc = (*canvas)->TextWidth(L"ab c") + 1;
  struct Case {
    const char* Name;
    String Text;
    int Flags;
    TRect R;
    std::vector<TRect> Lines;
    bool Enabled = true;
  };
  const Case cases[] = {
      {"a CR LF pair is one break", L"ab\r\ncd", cxtfLeft, TRect(0, 0, 200, 100),
       {TRect(0, 0, ab.cx, ab.cy), TRect(0, ab.cy, cd.cx, 2 * ab.cy)}},
      {"right aligned", L"ab\ncd", cxtfRight, TRect(0, 0, 200, 100),
       {TRect(200 - ab.cx, 0, 200, ab.cy), TRect(200 - cd.cx, ab.cy, 200, 2 * ab.cy)}},
      {"words broken at a blank, kept on the left", L"ab cd", cxtfLeft, TRect(0, 0, abc, 100),
       {TRect(0, 0, abBlank.cx, ab.cy), TRect(0, ab.cy, cd.cx, 2 * ab.cy)}},
      {"words broken at a blank, dropped when centred", L"ab cd", cxtfCenterX, TRect(0, 0, abc, 100),
       {TRect((abc - ab.cx) / 2, 0, (abc - ab.cx) / 2 + ab.cx, ab.cy),
        TRect((abc - cd.cx) / 2, ab.cy, (abc - cd.cx) / 2 + cd.cx, 2 * ab.cy)}},
      {"accelerator markers left out", L"&ab", cxtfLeft | cxtfShowPrefix, TRect(0, 0, 200, 100),
       {TRect(0, 0, ab.cx, ab.cy)}},
      {"bottom: the block ends at the bottom", L"ab", cxtfLeft | cxtfBottom | cxtfSingleLine, TRect(0, 0, 200, 100),
       {TRect(0, 100 - ab.cy, ab.cx, 100)}},
      {"middle: the block in the middle", L"ab", cxtfLeft | cxtfCenterY | cxtfSingleLine, TRect(0, 0, 200, 100),
       {TRect(0, (100 - ab.cy) / 2, ab.cx, (100 - ab.cy) / 2 + ab.cy)}},
      {"wrapped lines at the bottom", L"ab\ncd", cxtfLeft | cxtfBottom, TRect(0, 0, 200, 100),
       {TRect(0, 100 - 2 * ab.cy, ab.cx, 100 - ab.cy), TRect(0, 100 - ab.cy, cd.cx, 100)}},
      {"disabled: one pixel less room", L"ab", cxtfRight | cxtfBottom | cxtfSingleLine, TRect(0, 0, 200, 100),
       {TRect(199 - ab.cx, 99 - ab.cy, 199, 99)}, false},
      {"nothing fits: a character a line", L"ab", cxtfLeft, TRect(0, 0, 0, 100),
       {TRect(0, 0, (*canvas)->TextWidth(L"a"), ab.cy), TRect(0, ab.cy, (*canvas)->TextWidth(L"b"), 2 * ab.cy)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<TRect> lines;
    (*canvas)->GetTextStringsBounds(c.Text, c.R, c.Flags, c.Enabled, lines);
    EXPECT_EQ(lines, c.Lines);
  }
  std::vector<TRect> none;
  (*canvas)->GetTextStringsBounds(L"", TRect(0, 0, 10, 10), cxtfLeft, true, none);
  EXPECT_TRUE(none.empty());
}

TEST_F(GdiCanvasText, FontHeightAndAngle) {
  auto canvas = Canvas(4, 4);
  TEXTMETRICW metrics{};
  GetTextMetricsForFont(FFont.get(), metrics);
  EXPECT_EQ((*canvas)->FontHeight(FFont.get()), metrics.tmHeight);
  (*canvas)->SetFontAngle(90);
  LOGFONTW logFont{};
  ASSERT_TRUE(GetFontLogFont((*canvas)->Font()->Handle(), logFont));
  EXPECT_EQ(logFont.lfEscapement, 900);
  EXPECT_EQ(logFont.lfOutPrecision, OUT_TT_ONLY_PRECIS);
}

// ---------------------------------------------------------------------------
// Images

// A W x H 32-bit bitmap whose pixel (x, y) is Pixel(x, y).
TBitmap* NumberedBitmap(int AWidth, int AHeight) {
  TBitmap* bitmap = CreateBitmapWithFormat(AWidth, AHeight, pf32bit);
  for (int y = 0; y < AHeight; ++y) {
    auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
    for (int x = 0; x < AWidth; ++x)
      row[x] = RGBQUAD{static_cast<BYTE>(x), static_cast<BYTE>(y), 7, static_cast<BYTE>(100 + 10 * x + y)};
  }
  return bitmap;
}

TEST_F(GdiCanvasText, BitmapsTurnedAndMirroredWithTheirAlpha) {
  struct Case {
    const char* Name;
    TcxRotationAngle Angle;
    bool Flip;
    TSize Size;
    // Where the source pixels (0, 0), (2, 0) and (0, 1) of the 3 x 2 bitmap land.
    TPoint TopLeft, TopRight, Below;
  };
  const Case cases[] = {
      {"unchanged", ra0, false, TSize(3, 2), TPoint(0, 0), TPoint(2, 0), TPoint(0, 1)},
      {"flipped", ra0, true, TSize(3, 2), TPoint(0, 1), TPoint(2, 1), TPoint(0, 0)},
      {"plus 90", raPlus90, false, TSize(2, 3), TPoint(0, 2), TPoint(0, 0), TPoint(1, 2)},
      {"plus 90 flipped", raPlus90, true, TSize(2, 3), TPoint(0, 0), TPoint(0, 2), TPoint(1, 0)},
      {"minus 90", raMinus90, false, TSize(2, 3), TPoint(1, 0), TPoint(1, 2), TPoint(0, 0)},
      {"minus 90 flipped", raMinus90, true, TSize(2, 3), TPoint(1, 2), TPoint(1, 0), TPoint(0, 2)},
      {"180", ra180, false, TSize(3, 2), TPoint(2, 1), TPoint(0, 1), TPoint(2, 0)},
      {"180 flipped", ra180, true, TSize(3, 2), TPoint(2, 0), TPoint(0, 0), TPoint(2, 1)},
  };
  auto canvas = Canvas(4, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TBitmap> bitmap(NumberedBitmap(3, 2));
    (*canvas)->RotateBitmap(bitmap.get(), c.Angle, c.Flip);
    ASSERT_EQ(TSize(bitmap->Width(), bitmap->Height()), c.Size);
    auto pixel = [&](const TPoint& P) { return static_cast<RGBQUAD*>(bitmap->ScanLine(P.Y))[P.X]; };
    auto id = [](const RGBQUAD& q) { return std::make_tuple(q.rgbBlue, q.rgbGreen, q.rgbReserved); };
    EXPECT_EQ(id(pixel(c.TopLeft)), std::make_tuple(BYTE(0), BYTE(0), BYTE(100)));
    EXPECT_EQ(id(pixel(c.TopRight)), std::make_tuple(BYTE(2), BYTE(0), BYTE(120)));
    EXPECT_EQ(id(pixel(c.Below)), std::make_tuple(BYTE(0), BYTE(1), BYTE(101)));
  }
  TOwned<TBitmap> mirrored(NumberedBitmap(3, 2));
  (*canvas)->FlipHorizontally(mirrored.get());
  const auto* row = static_cast<RGBQUAD*>(mirrored->ScanLine(1));
  EXPECT_EQ(row[0].rgbBlue, 2);
  EXPECT_EQ(row[0].rgbReserved, 121);
  EXPECT_EQ(row[2].rgbBlue, 0);
}

TEST_F(GdiCanvasText, GlyphsWithTheirTransparentColour) {
  // Magenta background, a blue 2 x 2 square in the middle.
  TOwned<TBitmap> glyph(CreateBitmapWithFormat(6, 6, pf24bit));
  FillRectWithColor(glyph->Canvas()->Handle(), TRect(0, 0, 6, 6), clFuchsia);
  FillRectWithColor(glyph->Canvas()->Handle(), TRect(2, 2, 4, 4), clBlue);

  auto transparent = Canvas(10, 10);
  (*transparent)->DrawGlyph(2, 2, glyph.get());
  EXPECT_EQ(transparent->Surface.Count(Blue), 4);
  EXPECT_EQ(transparent->Surface.Count(White), 96) << "the transparent colour leaves the background";

  auto onColour = Canvas(10, 10);
  (*onColour)->DrawGlyph(2, 2, glyph.get(), true, clGreen);
  EXPECT_EQ(onColour->Surface.Count(RGB(0, 128, 0)), 32) << "the transparent colour replaced";
  EXPECT_EQ(onColour->Surface.Count(Blue), 4);

  // Disabled: the image list's look of the square; the magenta is left out.
  auto disabled = Canvas(10, 10);
  (*disabled)->DrawGlyph(2, 2, glyph.get(), false);
  EXPECT_EQ(disabled->Surface.Count(RGB(255, 0, 255)), 0);
  EXPECT_GT(disabled->Surface.CountOther(TRect(4, 4, 6, 6), White), 0) << disabled->Surface.Picture(White);
  EXPECT_EQ(disabled->Surface.CountOther(TRect(0, 0, 10, 4), White), 0) << "the background untouched";

  auto disabledOnColour = Canvas(10, 10);
  (*disabledOnColour)->DrawGlyph(2, 2, glyph.get(), false, clGreen);
  EXPECT_EQ(disabledOnColour->Surface.Count(RGB(255, 0, 255)), 0);
  EXPECT_EQ(disabledOnColour->Surface.Count(TRect(2, 2, 8, 4), RGB(0, 128, 0)), 12) << "on the colour";
  EXPECT_EQ(disabledOnColour->Surface.CountOther(TRect(0, 0, 10, 2), White), 0);
}

TEST_F(GdiCanvasText, BlendedDrawingWithAndWithoutTheSystemBlend) {
  TOwned<TBitmap> source(CreateBitmapWithFormat(4, 4, pf24bit));
  FillRectWithColor(source->Canvas()->Handle(), TRect(0, 0, 4, 4), TColor(RGB(200, 100, 0)));
  auto expected = [](int ABackground, int ASource, int AAlpha) {
    return MulDiv(ABackground, 255 - AAlpha, 255) + MulDiv(ASource, AAlpha, 255);
  };
  const TcxMsImg32Functions bound = cxMsImg32Functions();
  for (bool system : {true, false}) {
    SCOPED_TRACE(system ? "system blend" : "blended in code");
    cxMsImg32Functions().AlphaBlend = system ? bound.AlphaBlend : nullptr;
    auto canvas = Canvas(8, 8);
    canvas->Surface.Fill(RGB(0, 50, 250));
    (*canvas)->TransparentDraw(2, 2, source.get(), 96);
    const COLORREF pixel = canvas->Surface.Pixel(3, 3);
    EXPECT_NEAR(GetRValue(pixel), expected(0, 200, 96), 1);
    EXPECT_NEAR(GetGValue(pixel), expected(50, 100, 96), 1);
    EXPECT_NEAR(GetBValue(pixel), expected(250, 0, 96), 1);
    EXPECT_EQ(canvas->Surface.Pixel(0, 0), RGB(0, 50, 250));

    // Over a given background instead of the canvas.
    TOwned<TBitmap> background(CreateBitmapWithFormat(4, 4, pf24bit));
    FillRectWithColor(background->Canvas()->Handle(), TRect(0, 0, 4, 4), clWhite);
    (*canvas)->TransparentDraw(2, 2, source.get(), 255, background.get());
    EXPECT_EQ(canvas->Surface.Pixel(3, 3), RGB(200, 100, 0));

    // A graphic drawn with an opacity.
    canvas->Surface.Fill(Black);
    (*canvas)->Draw(0, 0, source.get(), 128);
    EXPECT_NEAR(GetRValue(canvas->Surface.Pixel(1, 1)), expected(0, 200, 128), 1);
  }
  cxMsImg32Functions() = bound;
}

TEST_F(GdiCanvasText, ImageListItemsDrawnByIndex) {
  TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(4, 4);
  TOwned<TBitmap> item(CreateBitmapWithFormat(4, 4, pf24bit));
  FillRectWithColor(item->Canvas()->Handle(), TRect(0, 0, 4, 4), clRed);
  images->Add(item.get(), nullptr);
  auto canvas = Canvas(10, 10);
  const HDC DC = canvas->Surface.DC();
  const int level = SaveDC(DC);
  RestoreDC(DC, level);
  (*canvas)->DrawImage(images.get(), 1, 1, 1);
  (*canvas)->DrawImage(images.get(), 1, 1, -1);
  EXPECT_EQ(canvas->Surface.Count(White), 100) << "no such item";
  (*canvas)->DrawImage(images.get(), 1, 1, 0);
  EXPECT_EQ(canvas->Surface.BoundsOf(Red), TRect(1, 1, 5, 5));
  EXPECT_EQ(SaveDC(DC), level) << "the device context's level given back";
  RestoreDC(DC, level);
}

}  // namespace
