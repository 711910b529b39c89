// The paint canvases (GDI+ on a device context for one paint), the drawing
// routines on any graphics object and the streams GDI+ reads images from.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// The device that IsLowColorDC is shown, with its capabilities.
struct TdxFakeDevice {
  HDC DC = nullptr;
  int BitsPerPixel = 32;
  int Technology = DT_RASDISPLAY;
  int NumColors = -1;
};
TdxFakeDevice GFakeDevice;

int WINAPI FakeDeviceCaps(HDC DC, int AIndex) {
  if (DC != GFakeDevice.DC) return GetDeviceCaps(DC, AIndex);
  switch (AIndex) {
    case BITSPIXEL: return GFakeDevice.BitsPerPixel;
    case TECHNOLOGY: return GFakeDevice.Technology;
    case NUMCOLORS: return GFakeDevice.NumColors;
    default: return GetDeviceCaps(DC, AIndex);
  }
}

class GdiPlusPaintCanvas : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    SetDeviceCapsSource(&FakeDeviceCaps);
  }
  void TearDown() override {
    SetDeviceCapsSource(nullptr);
    GFakeDevice = TdxFakeDevice();
    GdiPlusTest::TearDown();
  }
  // DC reports 16 bits per pixel from now on.
  static void MakeLowColor(HDC DC) {
    GFakeDevice.DC = DC;
    GFakeDevice.BitsPerPixel = 16;
  }
};

// Whether another thread can open and end a paint on the shared canvas:
// false when its lock stays held. (A thread left waiting is not joined; the
// process ends it.)
bool AnotherThreadCanPaint() {
  const auto painted = std::make_shared<std::promise<void>>();
  std::future<void> done = painted->get_future();
  std::thread([painted] {
    TPixelSurface surface(4, 4);
    SharedGPPaintCanvas()->BeginPaint(surface.DC(), TRect(0, 0, 4, 4));
    SharedGPPaintCanvas()->EndPaint();
    painted->set_value();
  }).detach();
  return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

TSize SelectedBitmapSize(HDC DC) {
  BITMAP bitmap{};
  GetObjectW(GetCurrentObject(DC, OBJ_BITMAP), sizeof(bitmap), &bitmap);
  return TSize(bitmap.bmWidth, bitmap.bmHeight);
}

// ---------------------------------------------------------------------------
// Paint canvases

TEST_F(GdiPlusPaintCanvas, PaintsStraightOnATrueColourContext) {
  TPixelSurface surface(30, 30);
  TdxGPPaintCanvas* canvas = SharedGPPaintCanvas();
  EXPECT_EQ(canvas, SharedGPPaintCanvas());
  canvas->BeginPaint(surface.DC(), TdxRectF(5.5f, 5.5f, 24.2f, 24.7f));
  HDC dc = canvas->GetHDC();
  EXPECT_EQ(dc, surface.DC());
  canvas->ReleaseHDC(dc);
  canvas->FillRectangle(TRect(0, 0, 10, 10), 0xFFFF0000u);
  canvas->EndPaint();
  EXPECT_EQ(canvas->Handle(), nullptr);
  EXPECT_FALSE(canvas->IsLowColorsMode());
  EXPECT_EQ(surface.BoundsOf(Red), TRect(0, 0, 10, 10));
}

TEST_F(GdiPlusPaintCanvas, PaintsThroughACopyOneLargerOnALowColourContext) {
  TPixelSurface surface(40, 40, Blue);
  MakeLowColor(surface.DC());
  TdxGPPaintCanvas* canvas = SharedGPPaintCanvas();
  canvas->BeginPaint(surface.DC(), TRect(5, 5, 25, 15));
  EXPECT_TRUE(canvas->IsLowColorsMode());
  HDC buffer = canvas->GetHDC();
  EXPECT_NE(buffer, surface.DC());
  EXPECT_EQ(SelectedBitmapSize(buffer), TSize(21, 11));
  canvas->ReleaseHDC(buffer);
  // In the target's coordinates; only the copy's area reaches the target.
  canvas->FillRectangle(TRect(0, 0, 40, 12), 0xFFFF0000u);
  canvas->EndPaint();
  EXPECT_EQ(surface.BoundsOf(Red), TRect(5, 5, 26, 12));
  EXPECT_EQ(surface.Count(TRect(5, 12, 26, 16), Blue), 21 * 4) << "copied in and back unchanged";
  EXPECT_EQ(SelectedBitmapSize(surface.DC()), TSize(40, 40));

  // The mode stays after a buffered paint, also through a direct one.
  GFakeDevice.DC = nullptr;
  canvas->BeginPaint(surface.DC(), TRect(0, 0, 10, 10));
  canvas->EndPaint();
  EXPECT_TRUE(canvas->IsLowColorsMode());
}

TEST_F(GdiPlusPaintCanvas, NestedPaintsLeaveTheOuterPaintInPlace) {
  constexpr int Depth = 6;  // past the first growth of the saved states
  std::vector<std::unique_ptr<TPixelSurface>> surfaces;
  for (int i = 0; i < Depth; ++i) surfaces.push_back(std::make_unique<TPixelSurface>(10, 10));
  MakeLowColor(surfaces[1]->DC());
  TdxGPPaintCanvas* canvas = SharedGPPaintCanvas();
  std::vector<GpGraphics*> handles;
  for (int i = 0; i < Depth; ++i) {
    canvas->BeginPaint(surfaces[i]->DC(), TRect(0, 0, 10, 10));
    handles.push_back(canvas->Handle());
    canvas->FillRectangle(TRect(i, 0, i + 1, 1), 0xFFFF0000u);
  }
  for (int i = Depth - 1; i >= 0; --i) {
    ASSERT_EQ(canvas->Handle(), handles[i]);
    // Each level goes on drawing where it drew before the inner paints.
    canvas->FillRectangle(TRect(i, 1, i + 1, 2), 0xFFFF0000u);
    canvas->EndPaint();
  }
  EXPECT_EQ(canvas->Handle(), nullptr);
  for (int i = 0; i < Depth; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(surfaces[i]->BoundsOf(Red), TRect(i, 0, i + 1, 2));
  }
  EXPECT_TRUE(AnotherThreadCanPaint());
}

TEST_F(GdiPlusPaintCanvas, ABeginPaintThatFailsHoldsNothing) {
  TdxGPPaintCanvas* canvas = SharedGPPaintCanvas();
  TPixelSurface surface(10, 10);
  canvas->BeginPaint(surface.DC(), TRect(0, 0, 10, 10));
  GpGraphics* outer = canvas->Handle();
  EXPECT_THROW(canvas->BeginPaint(nullptr, TRect()), EdxGdipException);
  EXPECT_EQ(canvas->Handle(), outer);
  canvas->EndPaint();
  EXPECT_EQ(canvas->Handle(), nullptr);
  EXPECT_THROW(canvas->BeginPaint(nullptr, TRect()), EdxGdipException);
  EXPECT_TRUE(AnotherThreadCanPaint());
}

TEST_F(GdiPlusPaintCanvas, AGraphicsObjectPaintedOnStaysItsCallers) {
  TGpSurface surface(10, 10);
  const int graphics = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics);
  TdxGPPaintCanvas* canvas = SharedGPPaintCanvas();
  canvas->BeginPaint(surface.Graphics());
  EXPECT_EQ(canvas->Handle(), surface.Graphics());
  canvas->FillRectangle(TRect(0, 0, 3, 3), 0xFFFF0000u);
  canvas->EndPaint();
  EXPECT_EQ(canvas->Handle(), nullptr);
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics), graphics);
  surface.Canvas()->FillRectangle(TRect(5, 5, 6, 6), 0xFF0000FFu);
  surface.Flush();
  EXPECT_EQ(surface.Count(Red), 9);
  EXPECT_EQ(surface.Pixel(5, 5), Blue);
}

TEST_F(GdiPlusPaintCanvas, AnOwnCanvasForOnePaint) {
  TPixelSurface surface(10, 10);
  const int graphics = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics);
  TdxGPCustomPaintCanvas* canvas = BeginGPPaint(surface.DC(), TRect(0, 0, 10, 10));
  ASSERT_NE(canvas, nullptr);
  EXPECT_NE(canvas, SharedGPPaintCanvas());
  canvas->FillRectangle(TRect(2, 2, 4, 4), 0xFFFF0000u);
  EndGPPaint(canvas);
  EXPECT_EQ(canvas, nullptr);
  EndGPPaint(canvas);
  EXPECT_EQ(surface.Count(Red), 4);
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Graphics), graphics);
}

// ---------------------------------------------------------------------------
// The low-colour test

TEST_F(GdiPlusPaintCanvas, LowColourDevices) {
  TPixelSurface surface(2, 2);
  GFakeDevice.DC = surface.DC();
  const struct {
    const char* Name;
    int BitsPerPixel;
    int Technology;
    int NumColors;
    bool Low;
  } cases[] = {
      {"true colour", 32, DT_RASDISPLAY, -1, false},
      {"24 bits", 24, DT_RASDISPLAY, -1, false},
      {"16 bits", 16, DT_RASDISPLAY, -1, true},
      {"palette", 8, DT_RASDISPLAY, 256, true},
      {"palette at 24 bits", 24, DT_RASDISPLAY, 20, true},
      {"raster printer", 32, DT_RASPRINTER, -1, true},
      {"plotter", 32, DT_PLOTTER, -1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    GFakeDevice.BitsPerPixel = c.BitsPerPixel;
    GFakeDevice.Technology = c.Technology;
    GFakeDevice.NumColors = c.NumColors;
    EXPECT_EQ(IsLowColorDC(surface.DC()), c.Low);
  }
}

TEST_F(GdiPlusTest, DisplayContextsAnswerWithTheDisplaysDepthBeforeAndAfterAModeChange) {
  // The real device capabilities: display contexts share one kept answer.
  const TScreenDC screen;
  TPixelSurface surface(2, 2);
  const auto displayIsLow = [&] {
    return GetDeviceCaps(screen.Get(), BITSPIXEL) <= 16 || GetDeviceCaps(screen.Get(), NUMCOLORS) > 1;
  };
  const auto check = [&](const char* AWhen) {
    SCOPED_TRACE(AWhen);
    EXPECT_EQ(IsLowColorDC(screen.Get()), displayIsLow());
    EXPECT_EQ(IsLowColorDC(surface.DC()), displayIsLow()) << "a memory context answers for its display";
  };
  check("first paint");
  check("kept answer");
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWindow, LPARAM) -> BOOL {
        SendMessageW(AWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
        return TRUE;
      },
      0);
  check("after a display mode change");
}

TEST_F(GdiPlusPaintCanvas, ALayeredWindowIsLowColourOnlyBeforeVista) {
  const bool vista = IsWinVistaOrLater;
  const HWND layered = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
  const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(layered && plain);
  {
    const TWindowDC layeredDC(layered);
    const TWindowDC plainDC(plain);
    EXPECT_EQ(GetWindowFromDC(layeredDC.Get()), layered);
    IsWinVistaOrLater = false;
    EXPECT_TRUE(IsLowColorDC(layeredDC.Get()));
    EXPECT_FALSE(IsLowColorDC(plainDC.Get()));
    const TdxWindowFromDCProc bound = SetWindowFromDCProc(nullptr);
    EXPECT_FALSE(IsLowColorDC(layeredDC.Get())) << "no WindowFromDC, no test";
    EXPECT_EQ(GetWindowFromDC(layeredDC.Get()), nullptr);
    SetWindowFromDCProc(bound);
    IsWinVistaOrLater = true;
    EXPECT_FALSE(IsLowColorDC(layeredDC.Get()));
  }
  IsWinVistaOrLater = vista;
  DestroyWindow(layered);
  DestroyWindow(plain);
}

// ---------------------------------------------------------------------------
// Stretched images

// 16 x 16 pixels, each of its own colour.
TdxGpOwnedImage Gradient16() {
  TdxGpOwnedImage result = CreateGdipBitmap(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      GdipBitmapSetPixel(static_cast<GpBitmap*>(result.Get()), x, y,
                         0xFF000000u | static_cast<ARGB>(x * 16 + 8) << 16 | static_cast<ARGB>(y * 16 + 8) << 8);
  return result;
}

std::vector<std::uint32_t> PixelsOf(const TPixelSurface& ASurface) {
  std::vector<std::uint32_t> result;
  for (int y = 0; y < ASurface.Height(); ++y)
    for (int x = 0; x < ASurface.Width(); ++x) result.push_back(ASurface.Raw(x, y) & 0xFFFFFF);
  return result;
}

TEST_F(GdiPlusPaintCanvas, AnEnlargedImageLeavesOutItsLastSourcePixel) {
  const TdxGpOwnedImage image = Gradient16();
  const struct {
    const char* Name;
    TRect Dest;
    PixelOffsetMode Offset;
    TRect UsedSource;  // what GDI+ itself must be given for the same picture
  } cases[] = {
      {"enlarged", TRect(0, 0, 32, 32), PixelOffsetModeDefault, TRect(0, 0, 15, 15)},
      {"reduced", TRect(0, 0, 8, 8), PixelOffsetModeDefault, TRect(0, 0, 16, 16)},
      {"wider only", TRect(0, 0, 32, 8), PixelOffsetModeDefault, TRect(0, 0, 15, 16)},
      {"the same size", TRect(0, 0, 16, 16), PixelOffsetModeDefault, TRect(0, 0, 16, 16)},
      {"enlarged, half-pixel offset", TRect(0, 0, 32, 32), PixelOffsetModeHalf, TRect(0, 0, 16, 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface ours(32, 32);
    TPixelSurface reference(32, 32);
    for (TPixelSurface* surface : {&ours, &reference}) {
      const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface->DC()));
      canvas->SetPixelOffsetMode(c.Offset);
      if (surface == &ours) {
        DrawGdipImageRect(canvas->Handle(), c.Dest, TRect(0, 0, 16, 16), image.Get());
      } else {
        ASSERT_EQ(GdipDrawImageRectRectI(canvas->Handle(), image.Get(), c.Dest.Left, c.Dest.Top, c.Dest.Width(),
                                         c.Dest.Height(), c.UsedSource.Left, c.UsedSource.Top,
                                         c.UsedSource.Width(), c.UsedSource.Height(), UnitPixel, nullptr, nullptr,
                                         nullptr),
                  Ok);
      }
    }
    EXPECT_EQ(PixelsOf(ours), PixelsOf(reference));
  }
  // The two sources are told apart at all.
  TPixelSurface full(32, 32);
  TPixelSurface cut(32, 32);
  const TOwned<TdxGPCanvas> onFull(New<TdxGPCanvas>(full.DC()));
  const TOwned<TdxGPCanvas> onCut(New<TdxGPCanvas>(cut.DC()));
  GdipDrawImageRectRectI(onFull->Handle(), image.Get(), 0, 0, 32, 32, 0, 0, 16, 16, UnitPixel, nullptr, nullptr,
                         nullptr);
  GdipDrawImageRectRectI(onCut->Handle(), image.Get(), 0, 0, 32, 32, 0, 0, 15, 15, UnitPixel, nullptr, nullptr,
                         nullptr);
  EXPECT_NE(PixelsOf(full), PixelsOf(cut));
}

TEST_F(GdiPlusPaintCanvas, NothingIsStretchedIntoOrOutOfLessThanAPixel) {
  const TdxGpOwnedImage image = Gradient16();
  const float nan = std::nanf("");
  const struct {
    const char* Name;
    TdxRectF Dest;
    TdxRectF Source;
  } cases[] = {
      {"narrow destination", TdxRectF(2, 2, 2.5f, 10), TdxRectF(0, 0, 16, 16)},
      {"low source", TdxRectF(2, 2, 10, 10), TdxRectF(0, 0, 16, 0.9f)},
      {"destination not a number", TdxRectF(2, 2, nan, 10), TdxRectF(0, 0, 16, 16)},
      {"source not a number", TdxRectF(2, 2, 10, 10), TdxRectF(0, 0, 16, nan)},
      {"destination outside the clip", TdxRectF(12, 12, 20, 20), TdxRectF(0, 0, 16, 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(20, 20);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SetClipRect(TRect(0, 0, 11, 11), gmReplace);
    DrawGdipImageStretched(canvas->Handle(), c.Dest, c.Source, image.Get());
    EXPECT_EQ(surface.Count(White), 400);
  }
}

TEST_F(GdiPlusPaintCanvas, OpacityTakesTheSharedAttributesUnlessAttributesAreGiven) {
  const TdxGpOwnedImage image = CreateGdipBitmap(4, 4);
  {
    TdxGpOwnedGraphics graphics;
    GdipGetImageGraphicsContext(image.Get(), graphics.Receive());
    GdipGraphicsClear(graphics.Get(), 0xFFFF0000);
  }
  TPixelSurface surface(30, 4);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  DrawGdipImageRect(canvas->Handle(), TRect(0, 0, 4, 4), TRect(0, 0, 4, 4), image.Get(), 255);
  DrawGdipImageRect(canvas->Handle(), TRect(10, 0, 14, 4), TRect(0, 0, 4, 4), image.Get(), 128);
  const TOwned<TdxGPImageAttributes> keyed(New<TdxGPImageAttributes>());
  keyed->SetColorKey(0xFFFF0000, 0xFFFF0000);
  DrawGdipImageRect(canvas->Handle(), TRect(20, 0, 24, 4), TRect(0, 0, 4, 4), image.Get(), 128, keyed->Handle());
  EXPECT_EQ(surface.Pixel(2, 2), Red);
  EXPECT_NEAR(GetGValue(surface.Pixel(12, 2)), 127, 2);
  EXPECT_EQ(surface.Count(TRect(20, 0, 24, 4), White), 16) << "the attributes alone decide";
  EXPECT_EQ(GetAlphaBlendAttributes(255), nullptr);
}

TEST_F(GdiPlusPaintCanvas, AMetafileIsDrawnAtLeastTwoDevicePixelsLargeInsideItsDestination) {
  const HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  const TOwnedBrush red(CreateSolidBrush(Red));
  const RECT all{0, 0, 40, 40};
  FillRect(recorder, &all, red.Get());
  const HENHMETAFILE emf = CloseEnhMetaFile(recorder);
  GpMetafile* metafile = nullptr;
  ASSERT_EQ(GdipCreateMetafileFromEmf(emf, TRUE, &metafile), Ok);
  const TdxGpOwnedImage image(metafile);
  // Whether this GDI+ keeps a metafile inside the clip: Wine plays metafiles
  // past it (Windows does not).
  bool clipped = false;
  {
    TPixelSurface surface(10, 10);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SetClipRect(TRect(0, 0, 1, 1), gmReplace);
    GdipDrawImageRectRectI(canvas->Handle(), image.Get(), 0, 0, 10, 10, 0, 0, 40, 40, UnitPixel, nullptr, nullptr,
                           nullptr);
    clipped = surface.Count(Red) == 1;
  }
  // A one-pixel destination is drawn two pixels large, clipped to the
  // destination; the clip comes back.
  const struct {
    TRect Dest;
    TRect Drawn;
  } cases[] = {{TRect(5, 5, 6, 6), TRect(5, 5, 7, 7)}, {TRect(5, 5, 15, 15), TRect(5, 5, 15, 15)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dest.Width());
    TPixelSurface surface(30, 30);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->SetClipRect(TRect(0, 0, 25, 25), gmReplace);
    canvas->Draw(image.Get(), c.Dest);
    TRect clip;
    ASSERT_TRUE(canvas->GetClipBounds(clip));
    EXPECT_EQ(clip, TRect(0, 0, 25, 25));
    EXPECT_EQ(surface.BoundsOfOther(White), clipped ? c.Dest : c.Drawn) << surface.Picture(White);
  }
}

// ---------------------------------------------------------------------------
// Tiles

// 20 x 20 green with markers: red at (0, 0), blue at (9, 9), black at (19, 19).
TdxGpOwnedImage MarkedTile() {
  TdxGpOwnedImage result = CreateGdipBitmap(20, 20);
  auto* bitmap = static_cast<GpBitmap*>(result.Get());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) GdipBitmapSetPixel(bitmap, x, y, 0xFF00FF00);
  GdipBitmapSetPixel(bitmap, 0, 0, 0xFFFF0000);
  GdipBitmapSetPixel(bitmap, 9, 9, 0xFF0000FF);
  GdipBitmapSetPixel(bitmap, 19, 19, 0xFF000000);
  return result;
}

// The tile colour a pixel shows, blended over white or not: R, G, B, K, or
// '.' for white.
char Marker(COLORREF AColor) {
  if (AColor == White) return '.';
  const int r = GetRValue(AColor), g = GetGValue(AColor), b = GetBValue(AColor);
  if (r > g && r > b) return 'R';
  if (g > r && g > b) return 'G';
  if (b > r && b > g) return 'B';
  return 'K';
}

std::vector<TPoint> WhereIs(const TPixelSurface& ASurface, char AMarker) {
  std::vector<TPoint> result;
  for (int y = 0; y < ASurface.Height(); ++y)
    for (int x = 0; x < ASurface.Width(); ++x)
      if (Marker(ASurface.Pixel(x, y)) == AMarker) result.push_back(TPoint(x, y));
  return result;
}

TEST_F(GdiPlusPaintCanvas, TilesCoverTheDestinationUnscaledAndCutAtItsEdges) {
  const TdxGpOwnedImage tile = MarkedTile();
  // At 255 through a texture brush, below 255 tile by tile: the same picture.
  for (std::uint8_t alpha : {255, 128}) {
    SCOPED_TRACE(alpha);
    TPixelSurface surface(60, 40);
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
    canvas->DrawTile(tile.Get(), TRect(5, 5, 55, 35), alpha);
    // Six tiles: three columns (the last 10 wide) in two rows (the last 10 high).
    EXPECT_EQ(WhereIs(surface, 'R'), (std::vector<TPoint>{TPoint(5, 5), TPoint(25, 5), TPoint(45, 5), TPoint(5, 25),
                                                           TPoint(25, 25), TPoint(45, 25)}));
    EXPECT_EQ(WhereIs(surface, 'B'), (std::vector<TPoint>{TPoint(14, 14), TPoint(34, 14), TPoint(54, 14),
                                                           TPoint(14, 34), TPoint(34, 34), TPoint(54, 34)}));
    EXPECT_EQ(WhereIs(surface, 'K'), (std::vector<TPoint>{TPoint(24, 24), TPoint(44, 24)}));
    EXPECT_EQ(surface.BoundsOfOther(White), TRect(5, 5, 55, 35));
    if (alpha == 128) {
      EXPECT_NEAR(GetRValue(surface.Pixel(10, 10)), 127, 2);
    }
  }
}

TEST_F(GdiPlusPaintCanvas, TilesOfAPartAndEmptyTiling) {
  const TdxGpOwnedImage tile = MarkedTile();
  TPixelSurface surface(40, 40);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  // The part from (9, 9): blue repeats every 11 pixels.
  canvas->DrawTile(tile.Get(), TRect(0, 0, 22, 11), TRect(9, 9, 20, 20));
  EXPECT_EQ(WhereIs(surface, 'B'), (std::vector<TPoint>{TPoint(0, 0), TPoint(11, 0)}));
  EXPECT_EQ(WhereIs(surface, 'K'), (std::vector<TPoint>{TPoint(10, 10), TPoint(21, 10)}));
  surface.Fill(White);
  canvas->DrawTile(tile.Get(), TRect(0, 0, 30, 0), 128);
  canvas->DrawTile(tile.Get(), TRect(0, 0, 30, 30), TRect(0, 0, 0, 20), 128);
  canvas->DrawTile(tile.Get(), TRect(0, 0, 30, 30), TRect(0, 0, 20, 20), 255);
  EXPECT_EQ(surface.Count(TRect(0, 0, 30, 30), White), 0);
  EXPECT_EQ(surface.Count(TRect(30, 0, 40, 40), White), 400);
}

TEST_F(GdiPlusPaintCanvas, TilingOnAContextEndsItsPaintWhateverHappens) {
  const TdxGpOwnedImage tile = MarkedTile();
  TPixelSurface surface(30, 30);
  DrawGdipImageTiledOnDC(surface.DC(), TRect(0, 0, 30, 30), TRect(0, 0, 20, 20), tile.Get());
  EXPECT_EQ(WhereIs(surface, 'R'), (std::vector<TPoint>{TPoint(0, 0), TPoint(20, 0), TPoint(0, 20), TPoint(20, 20)}));
  EXPECT_EQ(SharedGPPaintCanvas()->Handle(), nullptr);
  EXPECT_THROW(DrawGdipImageTiledOnDC(surface.DC(), TRect(0, 0, 30, 30), TRect(0, 0, 20, 20), nullptr),
               EdxGdipException);
  EXPECT_EQ(SharedGPPaintCanvas()->Handle(), nullptr);
  EXPECT_TRUE(AnotherThreadCanPaint());
}

// ---------------------------------------------------------------------------
// Mirrored painting

TEST_F(GdiPlusPaintCanvas, MirroredPaintingFlipsAboutTheCentreAndPutsEverythingBack) {
  TPixelSurface surface(100, 10);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  canvas->SetPixelOffsetMode(PixelOffsetModeHighQuality);
  canvas->TranslateWorldTransform(0, 1);
  const auto paint = [&] {
    std::vector<TdxPointF> points{TdxPointF(10, 5)};
    canvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points);
    EXPECT_EQ(points[0], TdxPointF(90, 6));
    EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeHalf);
    canvas->FillRectangle(TRect(10, 0, 20, 5), 0xFFFF0000u);
  };
  PaintGPMirroredIfRightToLeft(canvas.get(), TRect(0, 0, 100, 10), true, paint);
  EXPECT_EQ(surface.BoundsOf(Red), TRect(80, 1, 90, 6));
  EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeHighQuality);
  EXPECT_EQ(canvas->GetWorldTransform()->OffsetX(), 0);

  EXPECT_THROW(PaintGPMirroredIfRightToLeft(canvas.get(), TRect(0, 0, 100, 10), true,
                                            [] { throw std::runtime_error("paint failed"); }),
               std::runtime_error);
  EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeHighQuality);
  const TOwned<TdxGPMatrix> after = canvas->GetWorldTransform();
  EXPECT_EQ(after->OffsetX(), 0);
  EXPECT_EQ(after->OffsetY(), 1);

  bool ran = false;
  PaintGPMirroredIfRightToLeft(canvas.get(), TRect(0, 0, 100, 10), false, [&] {
    ran = true;
    EXPECT_EQ(canvas->GetPixelOffsetMode(), PixelOffsetModeHighQuality);
  });
  EXPECT_TRUE(ran);
}

// ---------------------------------------------------------------------------
// Small routines and streams

TEST_F(GdiPlusPaintCanvas, HandlesOfNilObjectsAreNil) {
  EXPECT_EQ(GetGPCanvasHandle(nullptr), nullptr);
  EXPECT_EQ(GetGPImageAttributesHandle(nullptr), nullptr);
  TPixelSurface surface(4, 4);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(surface.DC()));
  EXPECT_EQ(GetGPCanvasHandle(canvas.get()), canvas->Handle());
  canvas->SetClipRect(TRect(0, 0, 2, 2), gmReplace);
  EXPECT_TRUE(IsGdipRectVisible(canvas->Handle(), TRect(1, 1, 3, 3)));
  EXPECT_FALSE(IsGdipRectVisible(canvas->Handle(), TdxRectF(2.5f, 2.5f, 3, 3)));
}

TEST_F(GdiPlusPaintCanvas, TheStreamAdapterAnswersANilStatRecord) {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer("abcde", 5);
  const TComRef<IStream> adapter(New<TdxGPStreamAdapter>(stream.get()));
  EXPECT_EQ(adapter.Get()->Stat(nullptr, STATFLAG_NONAME), S_OK);
  STATSTG stat;
  std::memset(&stat, 0xAB, sizeof(stat));
  ASSERT_EQ(adapter.Get()->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 5u);
  EXPECT_EQ(stat.pwcsName, nullptr);
  EXPECT_EQ(stat.grfMode, 0u);
}

TEST_F(GdiPlusPaintCanvas, GdiPlusSavesAndLoadsImagesThroughItsMemoryStream) {
  GUID png;
  ASSERT_EQ(GetGdipEncoderId(L"image/png", png), 0);
  const int references = TdxGdiPlusLibrary::ReferenceCount();
  const TOwned<TdxGPMemoryStream> stream(New<TdxGPMemoryStream>());
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), references + 1);
  {
    const TdxGpOwnedImage image = MarkedTile();
    const TComRef<IStream> adapter(New<TdxGPStreamAdapter>(stream.get()));
    ASSERT_EQ(GdipSaveImageToStream(image.Get(), adapter.Get(), &png, nullptr), Ok);
  }
  EXPECT_GT(stream->Size(), 8);
  EXPECT_EQ(std::memcmp(stream->Memory(), "\x89PNG", 4), 0);
  stream->SetPosition(0);
  {
    const TComRef<IStream> adapter(New<TdxGPStreamAdapter>(stream.get()));
    TdxGpOwnedImage loaded;
    ASSERT_EQ(GdipLoadImageFromStream(adapter.Get(), loaded.Receive()), Ok);
    UINT width = 0;
    GdipGetImageWidth(loaded.Get(), &width);
    EXPECT_EQ(width, 20u);
    ARGB pixel = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(loaded.Get()), 9, 9, &pixel);
    EXPECT_EQ(pixel, 0xFF0000FFu);
  }
}

TEST_F(GdiPlusPaintCanvas, TheMemoryStreamTakesExactlyTheCapacityAskedFor) {
  const TOwned<TdxGPMemoryStream> stream(New<TdxGPMemoryStream>());
  stream->SetCapacity(3);
  EXPECT_EQ(stream->Capacity(), 3);
  stream->WriteBuffer("abc", 3);
  void* block = stream->Memory();
  stream->SetCapacity(3);
  EXPECT_EQ(stream->Memory(), block) << "an unchanged capacity keeps the memory";
  stream->SetCapacity(1000);
  EXPECT_EQ(std::memcmp(stream->Memory(), "abc", 3), 0);
  stream->SetCapacity(2);
  EXPECT_EQ(stream->Size(), 2);
  EXPECT_EQ(std::memcmp(stream->Memory(), "ab", 2), 0);
  stream->Clear();
  EXPECT_EQ(stream->Memory(), nullptr);
  try {
    stream->SetCapacity(INT64_MAX);
    ADD_FAILURE() << "no exception";
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), L"Expandieren des Speicher-Stream wegen Speichermangel nicht möglich");
  }
}

}  // namespace
