// The graphics routines: gradients with and without the system's gradient
// fill, hatches, the alpha blend on each of its roads against a reference
// computed here, regions from bitmaps with their rectangle counts, the
// scratch bitmaps and the object and font helpers.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include "library/core/base/dxCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

namespace {

class GraphicsRoutines : public GdiPlusTest {
 protected:
  void TearDown() override {
    cxMsImg32Functions() = FBound;
    DetectWindowsVersion();
    GdiPlusTest::TearDown();
  }
  // The routines without the system's entry points.
  void WithoutMsImg32() { cxMsImg32Functions() = TcxMsImg32Functions(); }

  TcxMsImg32Functions FBound = cxMsImg32Functions();
};

// The colours of a row of the surface, with the length of each run.
std::vector<std::pair<COLORREF, int>> Runs(const TPixelSurface& ASurface, int AY) {
  std::vector<std::pair<COLORREF, int>> runs;
  for (int x = 0; x < ASurface.Width(); ++x) {
    const COLORREF pixel = ASurface.Pixel(x, AY);
    if (runs.empty() || runs.back().first != pixel)
      runs.emplace_back(pixel, 1);
    else
      ++runs.back().second;
  }
  return runs;
}

int RegionRectCount(HRGN ARegion) {
  const DWORD size = GetRegionData(ARegion, 0, nullptr);
  std::vector<std::uint8_t> data(size);
  GetRegionData(ARegion, size, reinterpret_cast<RGNDATA*>(data.data()));
  return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

// ---------------------------------------------------------------------------
// Gradients

TEST_F(GraphicsRoutines, GradientEndsAndBands) {
  for (bool system : {true, false}) {
    SCOPED_TRACE(system ? "GradientFill" : "bands");
    if (!system) WithoutMsImg32();
    TPixelSurface surface(600, 4);
    FillGradientRect(surface.DC(), TRect(0, 0, 600, 2), clBlack, clWhite, true);
    EXPECT_EQ(surface.Pixel(0, 0), Black);
    EXPECT_NEAR(GetRValue(surface.Pixel(599, 1)), 255, 1);
    EXPECT_EQ(surface.Pixel(0, 2), White) << "nothing outside";
    TPixelSurface vertical(4, 100);
    FillGradientRect(vertical.DC(), TRect(0, 0, 4, 100), clRed, clBlue, false);
    EXPECT_EQ(vertical.Pixel(2, 0), Red);
    EXPECT_NEAR(GetBValue(vertical.Pixel(2, 99)), 255, 3);
    EXPECT_NEAR(GetRValue(vertical.Pixel(2, 99)), 0, 3);
  }
  // The bands themselves.
  struct Case {
    const char* Name;
    int Width;
    int Bands;
    int BandWidth;  // 0: not all equal
  };
  const Case cases[] = {{"600 pixels", 600, 256, 0}, {"100 pixels", 100, 100, 1}, {"256 pixels", 256, 256, 1},
                        {"one pixel", 1, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(c.Width, 1);
    FillGradientRect(surface.DC(), TRect(0, 0, c.Width, 1), clBlack, clWhite, true);
    const auto runs = Runs(surface, 0);
    EXPECT_EQ(static_cast<int>(runs.size()), c.Bands);
    EXPECT_EQ(runs.front().first, Black) << "the first band has the first colour";
    if (c.Bands > 1) {
      EXPECT_EQ(runs.back().first, White);
    }
    for (const auto& run : runs) {
      if (c.BandWidth) {
        EXPECT_EQ(run.second, c.BandWidth);
      }
    }
  }
  TPixelSurface surface(10, 10);
  FillGradientRect(surface.DC(), TRect(0, 0, 10, 10), clBtnFace, clBtnFace, true);
  EXPECT_EQ(surface.Count(ColorToColorRef(clBtnFace)), 100) << "equal colours fill solid";
  FillGradientRect(surface.DC(), TRect(5, 5, 5, 10), clRed, clBlue, true);
  EXPECT_EQ(surface.Count(ColorToColorRef(clBtnFace)), 100) << "an empty rectangle";
}

TEST_F(GraphicsRoutines, BentGradient) {
  const COLORREF first = RGB(200, 100, 0);
  const COLORREF second = RGB(0, 100, 200);
  const TColor c1 = TColor(first);
  const TColor c2 = TColor(second);
  TPixelSurface flat(20, 1);
  FillBentGradientRect(flat.DC(), TRect(0, 0, 20, 1), c1, c2, 0, true);
  for (int x = 0; x <= 10; ++x) EXPECT_EQ(flat.Pixel(x, 0), first) << "the first colour up to the middle line: " << x;
  EXPECT_EQ(flat.Pixel(19, 0), second);
  for (int x = 11; x < 20; ++x) EXPECT_LT(GetRValue(flat.Pixel(x, 0)), GetRValue(flat.Pixel(x - 1, 0)));

  TPixelSurface bent(4, 21);
  FillBentGradientRect(bent.DC(), TRect(0, 0, 4, 21), c1, c2, 100, false);
  EXPECT_EQ(bent.Pixel(1, 0), first);
  EXPECT_EQ(bent.Pixel(1, 10), RGB(100, 100, 100)) << "the middle line halfway";
  EXPECT_EQ(bent.Pixel(1, 20), second);

  TPixelSurface single(1, 1);
  FillBentGradientRect(single.DC(), TRect(0, 0, 1, 1), c1, c2, 100, true);
  EXPECT_EQ(single.Pixel(0, 0), RGB(100, 100, 100)) << "a single line has the middle colour";
}

TEST_F(GraphicsRoutines, HatchedRectanglesLeaveTheClipRegion) {
  TCanvasOnSurface canvas(30, 30);
  const TRect R(5, 5, 20, 20);
  DrawHatchedRect(canvas.Get(), R, clRed, true);
  EXPECT_EQ(canvas.Surface.Count(TRect(5, 5, 20, 6), ColorToColorRef(ScaleColorChannels(clRed, 50))), 15)
      << "the frame";
  EXPECT_GT(canvas.Surface.Count(R, ColorToColorRef(ScaleColorChannels(clRed, 75))), 0) << "the hatch lines";
  EXPECT_EQ(canvas.Surface.Count(TRect(20, 6, 21, 21), ColorToColorRef(clBtnShadow)), 15) << "the shadow";
  EXPECT_EQ(canvas.Surface.CountOther(TRect(0, 0, 30, 5), White), 0) << "nothing above";
  canvas->FillRect(canvas.Surface.ClientRect(), clBlue);
  EXPECT_EQ(canvas.Surface.Count(Blue), 900 - 225 - 29) << "the rectangle and its shadow stay excluded";

  TCanvasOnSurface indexed(10, 10);
  DrawHatchedRectByIndex(indexed.Get(), TRect(0, 0, 10, 10), 1);
  EXPECT_GT(indexed.Surface.Count(RGB(0xFF, 0x90, 0x90)), 0) << "index 1 is light red";
  DrawHatchedRectByIndex(indexed.Get(), TRect(0, 0, 10, 10), 0);
  EXPECT_GT(indexed.Surface.Count(RGB(0xFF, 0x90, 0x90)), 0) << "nothing drawn over the excluded rectangle";
}

// ---------------------------------------------------------------------------
// Alpha blending

// A 32-bit source of premultiplied pixels with alpha from 0 to 255.
TOwned<TcxBitmap32> BlendSource() {
  TOwned<TcxBitmap32> source(NewWith<TcxBitmap32>([](TcxBitmap32* b) { b->CreateSize(16, 16); }));
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<RGBQUAD*>(source->ScanLine(y));
    for (int x = 0; x < 16; ++x) {
      const int alpha = (x * 16 + y) * 255 / 255;
      row[x] = Quad(MulDiv(40, alpha, 255), MulDiv(200, alpha, 255), MulDiv(120, alpha, 255), alpha);
    }
  }
  source->Changed(source.get());
  return source;
}

// Premultiplied source over an opaque background with a constant alpha.
COLORREF Reference(const RGBQUAD& ASource, COLORREF ABackground, int AConstantAlpha) {
  const double k = AConstantAlpha / 255.0;
  const double m = 1 - ASource.rgbReserved * k / 255.0;
  auto channel = [&](int s, int d) { return static_cast<int>(std::lround(s * k + d * m)); };
  return RGB(channel(ASource.rgbRed, GetRValue(ABackground)), channel(ASource.rgbGreen, GetGValue(ABackground)),
             channel(ASource.rgbBlue, GetBValue(ABackground)));
}

TEST_F(GraphicsRoutines, AlphaBlendOnEachRoadAgainstAReference) {
  const COLORREF background = RGB(10, 90, 250);
  struct Case {
    const char* Name;
    std::function<void()> Setup;
    bool Smooth;
    int ConstantAlpha;
    int Tolerance;
  };
  const Case cases[] = {
      {"the system's blend", [] {}, false, 255, 1},
      {"the system's blend with a constant alpha", [] {}, false, 128, 1},
      {"equal sizes, smooth: still the system's", [] {}, true, 200, 1},
      {"without msimg32: in code", [&] { WithoutMsImg32(); }, false, 255, 1},
      {"without msimg32, a constant alpha", [&] { WithoutMsImg32(); }, false, 77, 1},
      {"a 32-bit process on 64-bit Windows: GDI+", [] {
         TdxWindowsVersion version{2, 6, 1, false, {}, false, true};
         SetWindowsVersionFlags(version);
       }, false, 160, 2},
  };
  TOwned<TcxBitmap32> source = BlendSource();
  TRGBColors pixels;
  GetGraphicPixels(source.get(), pixels, true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Setup();
    TPixelSurface surface(20, 20, background);
    AlphaBlendBitmap(surface.DC(), source.get(), TRect(2, 2, 18, 18), source->ClientRect(), c.Smooth,
                     static_cast<std::uint8_t>(c.ConstantAlpha));
    int worst = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const COLORREF want = Reference(pixels[static_cast<std::size_t>(y * 16 + x)], background, c.ConstantAlpha);
        const COLORREF got = surface.Pixel(x + 2, y + 2);
        worst = std::max({worst, std::abs(GetRValue(want) - GetRValue(got)), std::abs(GetGValue(want) - GetGValue(got)),
                          std::abs(GetBValue(want) - GetBValue(got))});
      }
    EXPECT_LE(worst, c.Tolerance);
    EXPECT_EQ(surface.Pixel(1, 1), background) << "nothing outside";
    cxMsImg32Functions() = FBound;
    DetectWindowsVersion();
  }

  // A part of the source at its own size, blended in code, from the
  // bitmap's pixels and from its device context.
  for (TcxBitmap32* given : {source.get(), static_cast<TcxBitmap32*>(nullptr)}) {
    SCOPED_TRACE(given ? "from the bitmap" : "from the device context");
    WithoutMsImg32();
    TPixelSurface surface(20, 20, background);
    AlphaBlendDC(surface.DC(), source->Canvas()->Handle(), TRect(2, 2, 10, 8), TRect(5, 3, 13, 9), false, 99, given);
    cxMsImg32Functions() = FBound;
    int worst = 0;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const COLORREF want = Reference(pixels[static_cast<std::size_t>((y + 3) * 16 + x + 5)], background, 99);
        const COLORREF got = surface.Pixel(x + 2, y + 2);
        worst = std::max({worst, std::abs(GetRValue(want) - GetRValue(got)),
                          std::abs(GetGValue(want) - GetGValue(got)), std::abs(GetBValue(want) - GetBValue(got))});
      }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(surface.Count(TRect(10, 0, 20, 20), background), 200) << "nothing outside";
  }
}

TEST_F(GraphicsRoutines, StretchedBlendsAndEmptyRectangles) {
  // One opaque colour: the smooth and plain stretches agree inside.
  TOwned<TcxBitmap32> source(NewWith<TcxBitmap32>([](TcxBitmap32* b) { b->CreateSize(4, 4); }));
  for (int y = 0; y < 4; ++y) {
    auto* row = static_cast<RGBQUAD*>(source->ScanLine(y));
    for (int x = 0; x < 4; ++x) row[x] = Quad(0, 0, 255, 255);
  }
  source->Changed(source.get());
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "plain");
    TPixelSurface surface(20, 20);
    AlphaBlendBitmap(surface.DC(), source.get(), TRect(0, 0, 12, 12), source->ClientRect(), smooth);
    EXPECT_EQ(surface.Count(TRect(2, 2, 10, 10), Red), 64);
    EXPECT_EQ(surface.Count(TRect(12, 0, 20, 20), White), 160);
  }
  TPixelSurface surface(10, 10);
  AlphaBlendBitmap(surface.DC(), source.get(), TRect(0, 0, 10, 10), TRect(0, 0, 0, 4));
  AlphaBlendBitmap(surface.DC(), source.get(), TRect(3, 3, 3, 8), source->ClientRect());
  EXPECT_EQ(surface.Count(White), 100);

  // A 32-bit bitmap into another, from the device context of a third.
  TOwned<TcxBitmap32> target(NewWith<TcxBitmap32>([](TcxBitmap32* b) { b->CreateSize(6, 6, true); }));
  AlphaBlendBitmap32(target.get(), source.get(), TRect(1, 1, 5, 5), source->ClientRect());
  EXPECT_EQ(static_cast<RGBQUAD*>(target->ScanLine(2))[2].rgbRed, 255);
  TPixelSurface fromDC(6, 6);
  AlphaBlendFromDC(fromDC.DC(), target->Canvas()->Handle(), TRect(0, 0, 6, 6), TRect(0, 0, 6, 6));
  EXPECT_EQ(fromDC.Pixel(2, 2), Red);
  EXPECT_EQ(fromDC.Pixel(0, 0), White) << "transparent pixels leave the background";
}

// ---------------------------------------------------------------------------
// Regions from bitmaps

TEST_F(GraphicsRoutines, RegionsFromBitmapsWithTheirRectangles) {
  struct Case {
    const char* Name;
    int Width;
    int Height;
    std::function<bool(int, int)> Solid;
    int Rects;
    int Pixels;
  };
  const Case cases[] = {
      {"a transparent border", 10, 8, [](int x, int y) { return x > 0 && x < 9 && y > 0 && y < 7; }, 1, 48},
      {"a checkerboard", 4, 4, [](int x, int y) { return (x + y) % 2 == 0; }, 8, 8},
      {"a cross", 9, 9, [](int x, int y) { return x == 4 || y == 4; }, 3, 17},
      {"two columns", 6, 5, [](int x, int) { return x == 1 || x == 4; }, 2, 10},
      {"a large checkerboard", 300, 300, [](int x, int y) { return (x + y) % 2 == 0; }, 45000, 45000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TBitmap> bitmap(CreateBitmapWithFormat(c.Width, c.Height, pf24bit));
    for (int y = 0; y < c.Height; ++y) {
      auto* row = static_cast<RGBTRIPLE*>(bitmap->ScanLine(y));
      for (int x = 0; x < c.Width; ++x) row[x] = c.Solid(x, y) ? RGBTRIPLE{0, 0, 200} : RGBTRIPLE{255, 0, 255};
    }
    const TOwnedRegion region(CreateRegionFromBitmap(bitmap.get(), clFuchsia));
    ASSERT_TRUE(region);
    EXPECT_EQ(RegionRectCount(region.Get()), c.Rects);
    int inside = 0;
    int wrong = 0;
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x) {
        const bool in = PtInRegion(region.Get(), x, y) != FALSE;
        inside += in;
        if (in != c.Solid(x, y)) ++wrong;
      }
    EXPECT_EQ(inside, c.Pixels);
    EXPECT_EQ(wrong, 0);
  }
  TOwned<TBitmap> empty(CreateBitmapWithFormat(5, 5, pf24bit));
  FillRectWithColor(empty->Canvas()->Handle(), TRect(0, 0, 5, 5), clFuchsia);
  EXPECT_EQ(CreateRegionFromBitmap(empty.get(), clFuchsia), nullptr) << "every pixel transparent";
}

// ---------------------------------------------------------------------------
// Bitmaps and transfers

TEST_F(GraphicsRoutines, ScratchBitmapsAreSharedAndCleared) {
  TcxBitmap32* first = GetScratchBitmap32(10, 10);
  FillRectWithColor(first->Canvas()->Handle(), TRect(0, 0, 10, 10), clRed);
  TcxBitmap32* second = GetScratchBitmap32(20, 5);
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->Width(), 20);
  EXPECT_EQ(second->Height(), 5);
  EXPECT_EQ(static_cast<RGBQUAD*>(second->ScanLine(0))[0].rgbRed, 0) << "cleared";
  EXPECT_NE(static_cast<TcxBitmap*>(GetScratchAlphaBitmap(1, 1)), GetScratchBitmap(1, 1));
  EXPECT_EQ(GetScratchBitmap(3, 3)->PixelFormat(), pf32bit);
}

TEST_F(GraphicsRoutines, CopiesOfBitmapsAndHandles) {
  TOwned<TBitmap> bitmap(CreateBitmapWithFormat(4, 3, pf32bit));
  static_cast<RGBQUAD*>(bitmap->ScanLine(1))[2] = Quad(1, 2, 3, 4);
  for (bool ninetyFive : {false, true}) {
    SCOPED_TRACE(ninetyFive ? "Windows 9x" : "NT");
    if (ninetyFive) SetWindowsVersionFlags(TdxWindowsVersion{1, 4, 10, false, {}, false, false});
    TOwned<TBitmap> check(New<TBitmap>());
    check->SetHandle(CopyBitmapHandle(bitmap.get()));
    ASSERT_TRUE(check->HandleAllocated());
    EXPECT_NE(check->Handle(), bitmap->Handle());
    EXPECT_EQ(Channels(static_cast<RGBQUAD*>(check->ScanLine(1))[2]), (TChannels{1, 2, 3, 4}));

    // A bitmap without alpha onto a 32-bit device: the alpha bytes cleared on 9x.
    TOwned<TBitmap> plain(CreateBitmapWithFormat(2, 2, pf24bit));
    FillRectWithColor(plain->Canvas()->Handle(), TRect(0, 0, 2, 2), clRed);
    TPixelSurface surface(4, 4);
    surface.SetRaw(1, 1, 0xFF00FF00);
    CopyBitmapToDC(surface.DC(), plain.get(), TRect(0, 0, 2, 2), TPoint());
    EXPECT_EQ(surface.Pixel(1, 1), Red);
    if (ninetyFive) {
      EXPECT_EQ(surface.Alpha(1, 1), 0);
    }
    DetectWindowsVersion();
  }
  TOwned<TBitmap> big(CreateBitmapWithFormat(8, 8, pf32bit));
  for (bool smooth : {false, true}) {
    TOwned<TBitmap> small(CreateBitmapWithFormat(2, 2, pf32bit));
    FillRectWithColor(small->Canvas()->Handle(), TRect(0, 0, 2, 2), clBlue);
    ResizeBitmapContent(small.get(), big.get(), smooth);
    EXPECT_EQ(static_cast<RGBQUAD*>(big->ScanLine(4))[4].rgbBlue, 255);
  }
  EXPECT_EQ(GetGraphicRect(big.get()), TRect(0, 0, 8, 8));
  ClearBitmapToBlack(big.get());
  EXPECT_EQ(static_cast<RGBQUAD*>(big->ScanLine(4))[4].rgbBlue, 0);
  EXPECT_TRUE(HasGraphic(big.get()));
  EXPECT_FALSE(IsGraphicAssigned(nullptr));
  TOwned<TBitmap> none(CreateBitmapOfSize(TSize(0, 3), pf24bit));
  EXPECT_FALSE(HasGraphic(none.get()));
  TOwned<TBitmap> forRect(CreateBitmapForRect(TRect(2, 2, 7, 4), pf8bit));
  EXPECT_EQ(forRect->PixelFormat(), pf8bit);
  EXPECT_EQ(forRect->Width(), 5);
}

TEST_F(GraphicsRoutines, ClipsAndTransfers) {
  TPixelSurface surface(10, 10);
  EXPECT_TRUE(IntersectClipRectWith(surface.DC(), TRect(2, 2, 8, 8)));
  EXPECT_EQ(ExcludeClipRectFrom(surface.DC(), TRect(0, 0, 5, 10)), SIMPLEREGION);
  EXPECT_FALSE(IntersectClipRectWith(surface.DC(), TRect(0, 0, 4, 4))) << "nothing left";
  SelectClipRgn(surface.DC(), nullptr);
  const TOwnedRegion region(CreateRectRgn(0, 0, 3, 3));
  EXPECT_TRUE(IsPointInRegion(region.Get(), TPoint(2, 2)));
  EXPECT_FALSE(IsPointInRegion(region.Get(), TPoint(3, 2)));

  TPixelSurface source(4, 4, Red);
  CopyDCRect(surface.DC(), source.DC(), TRect(1, 1, 3, 3), TPoint(0, 0));
  EXPECT_EQ(surface.Count(Red), 4);
  StretchBltRect(surface.DC(), source.DC(), TRect(4, 4, 10, 10), TRect(0, 0, 2, 2));
  EXPECT_EQ(surface.Count(Red), 40);
  FrameRectWithColor(surface.DC(), TRect(0, 0, 10, 10), clBlue);
  EXPECT_EQ(surface.Count(Blue), 36);
  FillRectWithColor(surface.DC(), TRect(0, 0, 10, 10), clNone);
  EXPECT_EQ(surface.Count(Blue), 36);
}

// ---------------------------------------------------------------------------
// Objects, fonts and the rest

TEST_F(GraphicsRoutines, ObjectRecordsAndFonts) {
  const TOwnedBrush brush(CreateHatchBrush(HS_CROSS, RGB(1, 2, 3)));
  LOGBRUSH logBrush{};
  ASSERT_TRUE(GetBrushData(brush.Get(), logBrush));
  EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
  const TOwnedPen pen(CreatePen(PS_DOT, 1, RGB(4, 5, 6)));
  LOGPEN logPen{};
  ASSERT_TRUE(GetPenData(pen.Get(), logPen));
  EXPECT_EQ(logPen.lopnColor, RGB(4, 5, 6));
  EXPECT_FALSE(GetPenData(nullptr, logPen));
  BITMAP bitmapData{};
  TOwned<TBitmap> bitmap(CreateBitmapWithFormat(7, 3, pf24bit));
  ASSERT_TRUE(GetBitmapData(bitmap->Handle(), bitmapData));
  EXPECT_EQ(bitmapData.bmWidth, 7);

  LOGFONTW logFont;
  std::memset(&logFont, 0x55, sizeof(logFont));
  InitLogFontWithName(logFont, L"Tahoma");
  EXPECT_EQ(String(logFont.lfFaceName), L"Tahoma");
  EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(logFont.lfHeight, 0);
  InitLogFontWithName(logFont, String(40, L'x'));
  EXPECT_EQ(String(logFont.lfFaceName).size(), static_cast<std::size_t>(LF_FACESIZE - 1));

  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  DisableFontAntialiasing(font.get());
  ASSERT_TRUE(GetFontLogFont(font->Handle(), logFont));
  EXPECT_EQ(logFont.lfQuality, NONANTIALIASED_QUALITY);
  TEXTMETRICW metrics{};
  EXPECT_TRUE(GetFontTextMetrics(font.get(), metrics));
  EXPECT_GT(metrics.tmHeight, 0);

  TOwned<TFont> standard(New<TFont>());
  font->SetSize(30);
  AssignDefaultFont(font.get());
  EXPECT_EQ(font->Height(), standard->Height());
  TOwned<TdxScaleFactor> doubled(New<TdxScaleFactor>());
  doubled->Assign(2, 1, false);
  AssignDefaultFont(font.get(), doubled.get());
  EXPECT_EQ(font->Height(), 2 * standard->Height());
  EXPECT_EQ(font->Name(), standard->Name());
}

TEST_F(GraphicsRoutines, ScreenValuesAndHalftone) {
  const TScreenDC screen;
  EXPECT_EQ(cxGetScreenDpi(), TPoint(GetDeviceCaps(screen.Get(), LOGPIXELSX), GetDeviceCaps(screen.Get(), LOGPIXELSY)));
  EXPECT_EQ(GetScreenDpiY(), GetDeviceCaps(screen.Get(), LOGPIXELSY));
  const TSize cursor = GetCursorSize();
  EXPECT_GT(cursor.cx, 0);
  EXPECT_LE(cursor.cy, GetSystemMetrics(SM_CYCURSOR));

  TPixelSurface surface(8, 8);
  SetTextColor(surface.DC(), RGB(0, 0, 0));
  SetBkColor(surface.DC(), RGB(255, 255, 255));
  const RECT all{0, 0, 8, 8};
  FillRect(surface.DC(), &all, cxHalftoneBrush()->Handle());
  for (int y = 0; y < 8; ++y)
    for (int x = 1; x < 8; ++x) EXPECT_NE(surface.Pixel(x, y), surface.Pixel(x - 1, y)) << x << ", " << y;
  EXPECT_EQ(surface.Count(Black), 32);
}

}  // namespace
