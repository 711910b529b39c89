#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

// What lies under a radio glyph drawn masked.
constexpr COLORREF Background = RGB(0x20, 0x90, 0x40);

// Body colours distinct by kind and state, and Office11 colours of their own,
// so that a colour taken from the wrong place shows.
class TTestRadioButtonColors : public TcxRadioButtonColors {
 public:
  static COLORREF Body(TcxLookAndFeelKind AKind, TcxButtonState AState) {
    return RGB(200 + AKind * 10, 120 + AState * 25, 30 + AKind * 5 + AState);
  }
  static constexpr COLORREF DisabledText = RGB(0x81, 0x82, 0x83);
  static constexpr COLORREF HighlightBorder = RGB(0x11, 0x22, 0x99);

  TColor BodyColor(TcxLookAndFeelKind AKind, TcxButtonState AState) override {
    return static_cast<TColor>(Body(AKind, AState));
  }
  TColor Office11DisabledTextColor() override { return static_cast<TColor>(DisabledText); }
  TColor Office11HighlightBorderColor() override { return static_cast<TColor>(HighlightBorder); }
};

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// The system's radio glyph in a cell of OBM_CHECKBOXES scaled to ADpi.
struct TSystemGlyph {
  TSize Cell;
  TRect Bounds;       // the black pixels of the radio image
  TdxPointF DotCentre;  // of the window-text pixels of a checked flat radio, in glyph coordinates
};

TSystemGlyph MeasureSystemGlyph(int ADpi) {
  TSystemGlyph result;
  const HBITMAP checkBoxes = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759));
  BITMAP info{};
  GetObjectW(checkBoxes, sizeof info, &info);
  DeleteObject(checkBoxes);
  const TScreenDC screen;
  const int systemDpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  result.Cell = TSize(MulDiv(info.bmWidth / 4, ADpi, systemDpi), MulDiv(info.bmHeight / 3, ADpi, systemDpi));
  RECT cell{0, 0, result.Cell.cx, result.Cell.cy};
  TPixelSurface image(result.Cell.cx, result.Cell.cy);
  DrawFrameControl(image.DC(), &cell, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE);
  result.Bounds = image.BoundsOf(RGB(0, 0, 0));
  TPixelSurface checked(result.Cell.cx, result.Cell.cy);
  DrawFrameControl(checked.DC(), &cell, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_FLAT);
  double x = 0, y = 0;
  int n = 0;
  for (int r = result.Bounds.Top; r < result.Bounds.Bottom; ++r)
    for (int c = result.Bounds.Left; c < result.Bounds.Right; ++c)
      if (checked.Pixel(c, r) == Sys(COLOR_WINDOWTEXT)) {
        x += c - result.Bounds.Left;
        y += r - result.Bounds.Top;
        ++n;
      }
  result.DotCentre = n ? TdxPointF(static_cast<float>(x / n), static_cast<float>(y / n)) : TdxPointF(-100, -100);
  return result;
}

class cxRadioButtonImageList : public testing::Test {
 protected:
  void SetUp() override { cxSetRadioButtonColors(&FColors); }
  void TearDown() override { cxSetRadioButtonColors(nullptr); }

  static TOwned<TcxRadioButtonImageList> NewList(int ADpi) {
    TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
    factor->Assign(ADpi, 96, false);
    return TOwned<TcxRadioButtonImageList>(New<TcxRadioButtonImageList>(factor.get()));
  }

  // The glyph of a combination drawn at (0, 0) of a surface of its size.
  static void DrawGlyph(TcxRadioButtonImageList* AList, TPixelSurface& ASurface, TcxLookAndFeelKind AKind,
                        TcxButtonState AState, bool AChecked, bool AFocused = false, bool AIsDesigning = false,
                        TColor ABackgroundColor = clDefault) {
    ASurface.Fill(Background);
    TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope scope(canvas.get(), ASurface.DC());
    TOwned<TcxCanvas> cxCanvas(New<TcxCanvas>(canvas.get()));
    AList->Draw(cxCanvas.get(), 0, 0, ABackgroundColor, AKind, AState, AChecked, AFocused, AIsDesigning);
  }

  TTestRadioButtonColors FColors;
};

// ---------------------------------------------------------------------------
// Geometry against the system

TEST_F(cxRadioButtonImageList, TheGlyphIsTheSystemsRadioAtEachDpi) {
  for (int dpi : {96, 144, 192}) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    const TSystemGlyph system = MeasureSystemGlyph(dpi);
    const TOwned<TcxRadioButtonImageList> list = NewList(dpi);
    ASSERT_EQ(list->GetSize(), system.Bounds.GetSize());
    const TSize size = list->GetSize();

    TPixelSurface surface(size.cx, size.cy);
    DrawGlyph(list.get(), surface, lfUltraFlat, cxbsNormal, true);
    double x = 0, y = 0;
    int n = 0;
    for (int r = 0; r < size.cy; ++r)
      for (int c = 0; c < size.cx; ++c)
        if (surface.Pixel(c, r) == Sys(COLOR_WINDOWTEXT)) {
          x += c;
          y += r;
          ++n;
        }
    ASSERT_GT(n, 0) << surface.Picture(Background);
    EXPECT_LE(std::abs(x / n - system.DotCentre.X), 1.0);
    EXPECT_LE(std::abs(y / n - system.DotCentre.Y), 1.0);

    // The ring is closed around one body: what lies inside the outer ring is
    // reached from the centre without crossing it, and nothing outside is.
    DrawGlyph(list.get(), surface, lfUltraFlat, cxbsNormal, false);
    const COLORREF ring = Sys(COLOR_BTNSHADOW);
    const COLORREF body = TTestRadioButtonColors::Body(lfUltraFlat, cxbsNormal);
    std::vector<bool> reached(static_cast<std::size_t>(size.cx * size.cy));
    std::vector<TPoint> stack{GetRectCenter(TRect(0, 0, size.cx, size.cy))};
    bool escaped = false;
    while (!stack.empty()) {
      const TPoint p = stack.back();
      stack.pop_back();
      if (p.X < 0 || p.Y < 0 || p.X >= size.cx || p.Y >= size.cy) {
        escaped = true;
        continue;
      }
      const std::size_t i = static_cast<std::size_t>(p.Y * size.cx + p.X);
      if (reached[i] || surface.Pixel(p.X, p.Y) == ring) continue;
      reached[i] = true;
      if (surface.Pixel(p.X, p.Y) == Background) escaped = true;
      for (const TPoint d : {TPoint(1, 0), TPoint(-1, 0), TPoint(0, 1), TPoint(0, -1)})
        stack.push_back(TPoint(p.X + d.X, p.Y + d.Y));
    }
    EXPECT_FALSE(escaped) << surface.Picture(Background);
    int bodyPixels = 0;
    int bodyReached = 0;
    for (int r = 0; r < size.cy; ++r)
      for (int c = 0; c < size.cx; ++c)
        if (surface.Pixel(c, r) == body) {
          ++bodyPixels;
          bodyReached += reached[static_cast<std::size_t>(r * size.cx + c)];
        }
    EXPECT_GT(bodyPixels, size.cx * size.cy / 3);
    EXPECT_EQ(bodyReached, bodyPixels) << "one body";
  }
}

TEST_F(cxRadioButtonImageList, ThePatternIsRebuiltPerDpiNotStretched) {
  // Each ring stays one pixel wide at any DPI: the middle column from the top
  // reads outer ring, inner ring, then body (a stretched glyph would double
  // each).
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    const TOwned<TcxRadioButtonImageList> list = NewList(dpi);
    const TSize size = list->GetSize();
    TPixelSurface surface(size.cx, size.cy);
    DrawGlyph(list.get(), surface, lfStandard, cxbsNormal, false);
    const int column = size.cx / 2;
    int top = 0;
    while (top < size.cy && surface.Pixel(column, top) == Background) ++top;
    int bottom = size.cy - 1;
    while (bottom >= 0 && surface.Pixel(column, bottom) == Background) --bottom;
    ASSERT_LT(top + 3, bottom);
    const COLORREF body = TTestRadioButtonColors::Body(lfStandard, cxbsNormal);
    EXPECT_EQ(surface.Pixel(column, top), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(surface.Pixel(column, top + 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(surface.Pixel(column, top + 2), body);
    EXPECT_EQ(surface.Pixel(column, bottom), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(surface.Pixel(column, bottom - 1), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(surface.Pixel(column, bottom - 2), body);
  }
  const TOwned<TcxRadioButtonImageList> small = NewList(96);
  const TOwned<TcxRadioButtonImageList> large = NewList(192);
  EXPECT_EQ(large->GetSize(), MeasureSystemGlyph(192).Bounds.GetSize());
  EXPECT_GE(large->GetSize().cx, 2 * small->GetSize().cx - 1);
}

// ---------------------------------------------------------------------------
// Colours of every image

struct TExpectedLook {
  COLORREF OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight, Body, Centre;
};

TExpectedLook ExpectedLook(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AFocused,
                           bool AIsDesigning) {
  const COLORREF body = TTestRadioButtonColors::Body(AKind, AState);
  TExpectedLook look{};
  look.Body = body;
  look.InnerTopLeft = look.InnerBottomRight = body;
  const bool lit = AFocused || AState == cxbsHot || AState == cxbsPressed;
  switch (AKind) {
    case lfFlat:
      look = {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DLIGHT), Sys(COLOR_3DLIGHT), body, 0};
      break;
    case lfStandard:
      look = {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT), body, 0};
      break;
    case lfUltraFlat:
      look.OuterTopLeft = look.OuterBottomRight =
          lit || (AIsDesigning && AState != cxbsDisabled) ? Sys(COLOR_HIGHLIGHT) : Sys(COLOR_BTNSHADOW);
      break;
    case lfOffice11:
      look.OuterTopLeft = look.OuterBottomRight = AState == cxbsDisabled ? TTestRadioButtonColors::DisabledText
                                                  : lit || AIsDesigning  ? TTestRadioButtonColors::HighlightBorder
                                                                         : Sys(COLOR_BTNTEXT);
      break;
  }
  if (!AChecked)
    look.Centre = body;
  else if (AState != cxbsDisabled)
    look.Centre = Sys(COLOR_WINDOWTEXT);
  else
    look.Centre = AKind == lfOffice11 ? TTestRadioButtonColors::DisabledText : Sys(COLOR_BTNSHADOW);
  return look;
}

// The look of a drawn glyph, read down its middle column.
TExpectedLook ReadLook(const TPixelSurface& ASurface) {
  const int column = ASurface.Width() / 2;
  int top = 0;
  while (top < ASurface.Height() && ASurface.Pixel(column, top) == Background) ++top;
  int bottom = ASurface.Height() - 1;
  while (bottom > 0 && ASurface.Pixel(column, bottom) == Background) --bottom;
  const TPoint centre = GetRectCenter(ASurface.ClientRect());
  return {ASurface.Pixel(column, top),         ASurface.Pixel(column, bottom), ASurface.Pixel(column, top + 1),
          ASurface.Pixel(column, bottom - 1), ASurface.Pixel(column, top + 2), ASurface.Pixel(centre.X, centre.Y)};
}

void ExpectLook(const TExpectedLook& AActual, const TExpectedLook& AExpected) {
  EXPECT_EQ(AActual.OuterTopLeft, AExpected.OuterTopLeft) << "outer ring, top-left half";
  EXPECT_EQ(AActual.OuterBottomRight, AExpected.OuterBottomRight) << "outer ring, bottom-right half";
  EXPECT_EQ(AActual.InnerTopLeft, AExpected.InnerTopLeft) << "inner ring, top-left half";
  EXPECT_EQ(AActual.InnerBottomRight, AExpected.InnerBottomRight) << "inner ring, bottom-right half";
  EXPECT_EQ(AActual.Body, AExpected.Body) << "body";
  EXPECT_EQ(AActual.Centre, AExpected.Centre) << "centre";
}

TEST_F(cxRadioButtonImageList, EveryOneOfThe128ImagesHasItsColours) {
  const TOwned<TcxRadioButtonImageList> list = NewList(96);
  const TSize size = list->GetSize();
  TPixelSurface surface(size.cx, size.cy);
  std::set<int> indexes;
  for (int kind = lfFlat; kind <= lfOffice11; ++kind)
    for (int state = cxbsNormal; state <= cxbsDisabled; ++state)
      for (bool checked : {false, true})
        for (bool focused : {false, true})
          for (bool designing : {false, true}) {
            const auto k = static_cast<TcxLookAndFeelKind>(kind);
            const auto s = static_cast<TcxButtonState>(state);
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", state " << state << ", checked " << checked
                                            << ", focused " << focused << ", designing " << designing);
            indexes.insert(TcxRadioButtonImageList::CombinationIndex(k, s, checked, focused, designing));
            DrawGlyph(list.get(), surface, k, s, checked, focused, designing);
            ExpectLook(ReadLook(surface), ExpectedLook(k, s, checked, focused, designing));
          }
  EXPECT_EQ(indexes.size(), 128u);
  EXPECT_EQ(*indexes.begin(), 0);
  EXPECT_EQ(*indexes.rbegin(), 127);
}

TEST_F(cxRadioButtonImageList, TheDefaultStateDrawsAsNormal) {
  const TOwned<TcxRadioButtonImageList> list = NewList(96);
  const TSize size = list->GetSize();
  TPixelSurface normal(size.cx, size.cy);
  TPixelSurface byDefault(size.cx, size.cy);
  for (int kind = lfFlat; kind <= lfOffice11; ++kind)
    for (bool checked : {false, true}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << ", checked " << checked);
      const auto k = static_cast<TcxLookAndFeelKind>(kind);
      DrawGlyph(list.get(), normal, k, cxbsNormal, checked, true);
      DrawGlyph(list.get(), byDefault, k, cxbsDefault, checked, true);
      EXPECT_EQ(byDefault.CountOther(byDefault.ClientRect(), Background),
                normal.CountOther(normal.ClientRect(), Background));
      for (int r = 0; r < size.cy; ++r)
        for (int c = 0; c < size.cx; ++c) ASSERT_EQ(byDefault.Pixel(c, r), normal.Pixel(c, r)) << c << ", " << r;
    }
}

TEST_F(cxRadioButtonImageList, ABackgroundColourFillsAroundTheGlyph) {
  const TOwned<TcxRadioButtonImageList> list = NewList(96);
  const TSize size = list->GetSize();
  TPixelSurface masked(size.cx, size.cy);
  TPixelSurface onColour(size.cx, size.cy);
  const COLORREF colour = RGB(0xE0, 0x10, 0x70);
  DrawGlyph(list.get(), masked, lfUltraFlat, cxbsHot, true);
  DrawGlyph(list.get(), onColour, lfUltraFlat, cxbsHot, true, false, false, static_cast<TColor>(colour));
  for (int r = 0; r < size.cy; ++r)
    for (int c = 0; c < size.cx; ++c)
      EXPECT_EQ(onColour.Pixel(c, r), masked.Pixel(c, r) == Background ? colour : masked.Pixel(c, r)) << c << ", " << r;
  EXPECT_GT(masked.Count(Background), 0) << "the corners lie outside the glyph";
}

// ---------------------------------------------------------------------------
// System colour changes and scale factors

class TRadioImagesResetter : public TObject {
  SK_CLASS(TRadioImagesResetter, TObject)
 public:
  TcxRadioButtonImageList* List = nullptr;
  int Resets = 0;
  void Changed(TObject*) {
    ++Resets;
    List->Reset();
  }
};

TEST_F(cxRadioButtonImageList, AfterASystemColourChangeResetRecoloursTheSameGeometry) {
  const TOwned<TcxRadioButtonImageList> list = NewList(144);
  const TSize size = list->GetSize();
  TPixelSurface before(size.cx, size.cy);
  DrawGlyph(list.get(), before, lfUltraFlat, cxbsNormal, true);
  const COLORREF oldShadow = Sys(COLOR_BTNSHADOW);
  const COLORREF oldText = Sys(COLOR_WINDOWTEXT);

  // What the painters unit does: a notifier resets the list when the system
  // colours change.
  TOwned<TcxSystemPaletteChangedNotifier> notifier(New<TcxSystemPaletteChangedNotifier>(true));
  TOwned<TRadioImagesResetter> reset(New<TRadioImagesResetter>());
  reset->List = list.get();
  notifier->SetOnSystemPaletteChanged(BindEvent<&TRadioImagesResetter::Changed>(reset.get()));
  int resets = 0;
  {
    const COLORREF newShadow = RGB(0x12, 0x34, 0x56);
    const COLORREF newText = RGB(0x65, 0x43, 0x21);
    const TSystemColorsChange change({{COLOR_BTNSHADOW, newShadow}, {COLOR_WINDOWTEXT, newText}});
    ASSERT_TRUE(PumpUntil([&] { return reset->Resets > 0; }));
    EXPECT_EQ(list->GetSize(), size);
    TPixelSurface after(size.cx, size.cy);
    DrawGlyph(list.get(), after, lfUltraFlat, cxbsNormal, true);
    for (int r = 0; r < size.cy; ++r)
      for (int c = 0; c < size.cx; ++c) {
        const COLORREF was = before.Pixel(c, r);
        const COLORREF now = after.Pixel(c, r);
        const COLORREF expected = was == oldShadow ? newShadow : was == oldText ? newText : was;
        ASSERT_EQ(now, expected) << c << ", " << r << "\n" << before.Picture(Background);
      }
    resets = reset->Resets;
  }
  ASSERT_TRUE(PumpUntil([&] { return reset->Resets > resets; })) << "the colours put back";
  TPixelSurface restored(size.cx, size.cy);
  DrawGlyph(list.get(), restored, lfUltraFlat, cxbsNormal, true);
  for (int r = 0; r < size.cy; ++r)
    for (int c = 0; c < size.cx; ++c) ASSERT_EQ(restored.Pixel(c, r), before.Pixel(c, r));
}

TEST_F(cxRadioButtonImageList, AnotherScaleFactorRebuildsTheGlyph) {
  TOwned<TcxRadioButtonImageList> list = NewList(96);
  EXPECT_EQ(list->GetSize(), MeasureSystemGlyph(96).Bounds.GetSize());
  TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(4, 2, false);
  list->SetScaleFactor(factor.get());
  EXPECT_EQ(list->ScaleFactor()->Numerator(), 2);
  EXPECT_EQ(list->GetSize(), MeasureSystemGlyph(192).Bounds.GetSize());
  TPixelSurface surface(list->GetSize().cx, list->GetSize().cy);
  DrawGlyph(list.get(), surface, lfStandard, cxbsPressed, true);
  ExpectLook(ReadLook(surface), ExpectedLook(lfStandard, cxbsPressed, true, false, false));
  TOwned<TcxRadioButtonImageList> noFactor(New<TcxRadioButtonImageList>(nullptr));
  EXPECT_EQ(noFactor->GetSize(), MeasureSystemGlyph(96).Bounds.GetSize()) << "nil is 96 dpi";
}

TEST_F(cxRadioButtonImageList, WithoutPaintersTheBodyIsWindowColoured) {
  cxSetRadioButtonColors(nullptr);
  const TOwned<TcxRadioButtonImageList> list = NewList(96);
  const TSize size = list->GetSize();
  TPixelSurface surface(size.cx, size.cy);
  DrawGlyph(list.get(), surface, lfOffice11, cxbsHot, false);
  const TExpectedLook look = ReadLook(surface);
  EXPECT_EQ(look.Body, Sys(COLOR_WINDOW));
  EXPECT_EQ(look.OuterTopLeft, Sys(COLOR_HIGHLIGHT));
  DrawGlyph(list.get(), surface, lfOffice11, cxbsDisabled, true);
  EXPECT_EQ(ReadLook(surface).Centre, Sys(COLOR_GRAYTEXT));
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Row indicator

constexpr COLORREF Grey = RGB(0x80, 0x80, 0x80);

class cxIndicatorImageList : public testing::Test {
 protected:
  // Draws AKind into R of a grey surface through a canvas.
  static void DrawKind(TPixelSurface& ASurface, const TRect& R, TcxIndicatorKind AKind, int ADpi,
                       bool ARightToLeft = false) {
    ASurface.Fill(Grey);
    TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope scope(canvas.get(), ASurface.DC());
    TOwned<TcxCanvas> cxCanvas(New<TcxCanvas>(canvas.get()));
    cxCanvas->SetUseRightToLeftAlignment(ARightToLeft);
    TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
    factor->Assign(ADpi, 96, false);
    cxDrawIndicatorImage(cxCanvas.get(), R, AKind, factor.get());
  }
};

TEST_F(cxIndicatorImageList, EightImagesFromTheBitmapResourcesWithWhiteTransparent) {
  TCustomImageList* images = cxIndicatorImages();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images, cxIndicatorImages()) << "one list";
  ASSERT_EQ(images->Count(), 8);
  EXPECT_EQ(images->Width(), 8);
  EXPECT_EQ(images->Height(), 9);
  const wchar_t* names[] = {L"CX_ARROWBITMAP",      L"CX_EDITBITMAP",       L"CX_INSERTBITMAP",
                            L"CX_MULTIDOTBITMAP",   L"CX_MULTIARROWBITMAP", L"CX_FILTERBITMAP",
                            L"CX_INPLACEEDITBITMAP", L"CX_SORTBYSUMMARYVALUE"};
  std::set<std::string> pictures;
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(testing::Message() << "image " << i);
    // The system's own reading of the resource.
    const TOwnedBitmap resource(LoadBitmapW(GetModuleHandleW(nullptr), names[i]));
    ASSERT_TRUE(resource.Get());
    const TMemoryDC source = TMemoryDC::Compatible(nullptr, 8, 9);
    {
      const TOwnedDC resourceDC(CreateCompatibleDC(nullptr));
      const TSelectObject selected(resourceDC.Get(), resource.Get());
      BitBlt(source.DC(), 0, 0, 8, 9, resourceDC.Get(), 0, 0, SRCCOPY);
    }
    TPixelSurface drawn(8, 9, Grey);
    ImageList_Draw(images->Handle(), i, drawn.DC(), 0, 0, ILD_NORMAL);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 8; ++x) {
        const COLORREF pixel = GetPixel(source.DC(), x, y);
        EXPECT_EQ(drawn.Pixel(x, y), pixel == RGB(255, 255, 255) ? Grey : pixel) << x << ", " << y;
      }
    EXPECT_GT(drawn.CountOther(drawn.ClientRect(), Grey), 0);
    pictures.insert(drawn.Picture(Grey));
  }
  EXPECT_EQ(pictures.size(), 8u) << "eight different marks";
}

TEST_F(cxIndicatorImageList, DrawnCentredAtTheFactorsSizeAndMirroredRightToLeft) {
  TPixelSurface plain(24, 24);
  TPixelSurface reference(24, 24, Grey);
  const TRect r(2, 2, 22, 22);
  for (int kind = ikArrow; kind <= ikInplaceEdit; ++kind) {
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    const auto k = static_cast<TcxIndicatorKind>(kind);
    DrawKind(plain, r, k, 96);
    reference.Fill(Grey);
    ImageList_Draw(cxIndicatorImages()->Handle(), kind - 1, reference.DC(), 2 + 6, 2 + 5, ILD_NORMAL);
    ASSERT_EQ(plain.Picture(Grey), reference.Picture(Grey));

    TPixelSurface mirrored(24, 24);
    DrawKind(mirrored, r, k, 96, true);
    const bool mirrors = k == ikArrow || k == ikMultiArrow;
    for (int y = 0; y < 24; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const int from = mirrors ? r.Left + r.Right - 1 - x : x;
        ASSERT_EQ(mirrored.Pixel(x, y), plain.Pixel(from, y)) << x << ", " << y;
      }

    TPixelSurface large(24, 24);
    DrawKind(large, r, k, 192);
    const TRect bounds = large.BoundsOfOther(Grey);
    const TRect centred(2 + 2, 2 + 1, 2 + 2 + 16, 2 + 1 + 18);
    EXPECT_TRUE(centred.Contains(bounds)) << large.Picture(Grey);
    EXPECT_GT(bounds.Width(), plain.BoundsOfOther(Grey).Width());
  }
  DrawKind(plain, r, ikNone, 96);
  EXPECT_EQ(plain.Count(Grey), 24 * 24) << "nothing for ikNone";
}

}  // namespace
