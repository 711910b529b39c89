// The Direct2D binding: libraries loaded on demand, availability and its
// fatal errors, the DirectX exception, and the conversions of pixels,
// gradient points and arcs.
#include "library/core/system/dxDPIAwareUtils.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace {

// ---------------------------------------------------------------------------
// Availability

DPI_AWARENESS_CONTEXT WINAPI UnawareGdiScaledContext() { return DPI_AWARENESS_CONTEXT_UNAWARE_GDISCALED; }

// The process seen as DPI-unaware with GDI scaling for one test.
class TGdiScaledScope {
 public:
  TGdiScaledScope() : FSavedApi(dxDpiAwarenessApi()), FSavedBuild(IsWin10Build17762OrLater) {
    TdxDpiAwarenessApi api = FSavedApi;
    api.GetThreadDpiAwarenessContext = &UnawareGdiScaledContext;
    api.AreDpiAwarenessContextsEqual = nullptr;
    dxSetDpiAwarenessApi(api);
    IsWin10Build17762OrLater = true;
  }
  ~TGdiScaledScope() {
    dxSetDpiAwarenessApi(FSavedApi);
    IsWin10Build17762OrLater = FSavedBuild;
  }
  TGdiScaledScope(const TGdiScaledScope&) = delete;
  TGdiScaledScope& operator=(const TGdiScaledScope&) = delete;

 private:
  TdxDpiAwarenessApi FSavedApi;
  bool FSavedBuild;
};

const char* GMissingProcedure = nullptr;
FARPROC LoaderWithout(HMODULE AModule, const char* AName) {
  return std::strcmp(AName, GMissingProcedure) == 0 ? nullptr : GetProcAddress(AModule, AName);
}

// Each test starts and ends with the units fresh: nothing loaded, untested.
class Direct2DAvailability : public testing::Test {
 protected:
  void SetUp() override { RestartDirect2DUnits(); }
  void TearDown() override {
    SetDirect2DLoader(TdxDirect2DLoader());
    RestartDirect2DUnits();
  }
};

TEST_F(Direct2DAvailability, AvailableHereWithBothFactories) {
  EXPECT_FALSE(Direct2DLibrariesLoaded()) << "nothing before the first request";
  EXPECT_TRUE(IsDirect2DAvailable());
  EXPECT_TRUE(Direct2DLibrariesLoaded());
  ID2D1Factory1* factory = dxD2DFactory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(dxD2DFactory(), factory) << "one shared factory";
  EXPECT_NE(dxDWriteFactory(), nullptr);
  EXPECT_NE(GetModuleHandleW(L"d3d11.dll"), nullptr);
}

TEST_F(Direct2DAvailability, GdiScaledUnawarenessAnswersFalseWithoutLoadingTheLibraries) {
  {
    const TGdiScaledScope scaled;
    ASSERT_TRUE(IsUnawareGdiScaled());
    EXPECT_FALSE(IsDirect2DAvailable());
    EXPECT_FALSE(Direct2DLibrariesLoaded());
    EXPECT_EQ(GetModuleHandleW(L"d2d1.dll"), nullptr);
  }
  EXPECT_FALSE(IsDirect2DAvailable()) << "the first answer holds";
  TOwned<TdxDirect2DHwndBasedCanvas> canvas;
  EXPECT_FALSE(CreateDirect2DHwndCanvas(nullptr, canvas));
}

TEST_F(Direct2DAvailability, MissingEntryPointsAnswerNotImplemented) {
  struct TCase {
    const char* Procedure;
    bool Available;
  };
  for (const TCase& c : {TCase{"D2D1CreateFactory", false}, TCase{"D3D11CreateDevice", true}}) {
    SCOPED_TRACE(c.Procedure);
    RestartDirect2DUnits();
    GMissingProcedure = c.Procedure;
    SetDirect2DLoader(TdxDirect2DLoader{&LoaderWithout});
    EXPECT_EQ(IsDirect2DAvailable(), c.Available);
    ID3D11Device* device = reinterpret_cast<ID3D11Device*>(1);
    ID3D11DeviceContext* context = reinterpret_cast<ID3D11DeviceContext*>(1);
    const HRESULT result = CreateD3DDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, nullptr, 0,
                                           D3D11_SDK_VERSION, &device, nullptr, &context);
    const auto deviceOwner = TComPtr<ID3D11Device>::Attach(device);
    const auto contextOwner = TComPtr<ID3D11DeviceContext>::Attach(context);
    if (c.Available) {
      EXPECT_EQ(result, E_NOTIMPL);
      EXPECT_EQ(device, nullptr) << "outputs cleared first";
      EXPECT_EQ(context, nullptr);
      // Direct2D answers, but the window canvas's device cannot be made: the control stays on GDI.
      TOwned<TdxDirect2DHwndBasedCanvas> canvas;
      EXPECT_FALSE(CreateDirect2DHwndCanvas(nullptr, canvas));
      EXPECT_EQ(canvas, nullptr);
    } else {
      void* factory = nullptr;
      EXPECT_EQ(dxD2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), nullptr, &factory),
                E_NOTIMPL);
      EXPECT_EQ(result, S_OK) << "the device alone is made";
    }
  }
}

TEST_F(Direct2DAvailability, FatalErrorsTurnDirect2DOffForGood) {
  struct TCase {
    HRESULT Result;
    bool Fatal;
    bool Lost;
  };
  // The fatal one last: it ends availability.
  const TCase cases[] = {
      {static_cast<HRESULT>(0x887A0005), false, true},   // device removed
      {static_cast<HRESULT>(0x887A0007), false, true},   // device reset
      {static_cast<HRESULT>(0x8899000C), false, true},   // recreate target
      {E_FAIL, false, false},
      {S_OK, false, false},
      {static_cast<HRESULT>(0x887A0004), true, true},    // DXGI unsupported
  };
  ASSERT_TRUE(IsDirect2DAvailable());
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<unsigned long>(c.Result)));
    EXPECT_EQ(CheckDirect2DFatalError(c.Result), c.Fatal);
    EXPECT_EQ(IsDirect2DDeviceLost(c.Result), c.Lost);
    EXPECT_EQ(IsDirect2DAvailable(), !c.Fatal);
  }
  EXPECT_NE(dxD2DFactory(), nullptr) << "the factories stay; only the answer changes";
}

TEST_F(Direct2DAvailability, OutOfMemoryIsFatal) {
  ASSERT_TRUE(IsDirect2DAvailable());
  EXPECT_FALSE(CheckDirect2DFatalError(Exception(L"anything else")));
  EXPECT_TRUE(IsDirect2DAvailable());
  EXPECT_TRUE(CheckDirect2DFatalError(std::bad_alloc()));
  EXPECT_FALSE(IsDirect2DAvailable());
  RestartDirect2DUnits();
  EXPECT_TRUE(CheckDirect2DFatalError(EOutOfMemory(L"no memory")));
  EXPECT_FALSE(IsDirect2DAvailable());
}

TEST(Direct2DErrors, MessageShowsTheCodeSigned) {
  const EdxDirectXError error(static_cast<HRESULT>(0x887A0005));
  EXPECT_EQ(error.Message(), L"Invalid operation in DirectX (Code: -2005270523)");
  EXPECT_EQ(error.ErrorCode(), static_cast<HRESULT>(0x887A0005));
  EXPECT_THROW(dxCheckDirectXResult(E_INVALIDARG), EdxDirectXError);
  EXPECT_NO_THROW(dxCheckDirectXResult(S_FALSE));
}

// ---------------------------------------------------------------------------
// Conversions

TEST(Direct2DConversions, GradientStopsReachBothEnds) {
  struct TCase {
    const char* Name;
    std::vector<float> Offsets;
    bool EdgeColors;
    std::vector<float> ExpectedOffsets;
  };
  const TCase cases[] = {
      {"inner points, edge colours", {0.2f, 0.8f}, true, {0, 0.2f, 0.8f, 1}},
      {"inner points, transparent edges", {0.2f, 0.8f}, false, {0, 0.2f, 0.8f, 1}},
      {"points at both ends", {0, 1}, true, {0, 1}},
      {"one point at the start", {0}, false, {0, 1}},
      {"no points", {}, true, {}},
  };
  constexpr TdxAlphaColor First = 0xFF102030;
  constexpr TdxAlphaColor Last = 0x80405060;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxGPBrushGradientPoints> points(New<TdxGPBrushGradientPoints>());
    for (std::size_t i = 0; i < c.Offsets.size(); ++i) points->Add(c.Offsets[i], i == 0 ? First : Last);
    const std::vector<D2D1_GRADIENT_STOP> stops = dxGpGradientPointsToD2DStops(points.get(), c.EdgeColors);
    ASSERT_EQ(stops.size(), c.ExpectedOffsets.size());
    for (std::size_t i = 0; i < stops.size(); ++i) EXPECT_FLOAT_EQ(stops[i].position, c.ExpectedOffsets[i]);
    if (stops.size() == 4) {
      const D2D1_COLOR_F edge = stops.front().color;
      if (c.EdgeColors) {
        EXPECT_FLOAT_EQ(edge.r, 0x10 / 255.0f);
        EXPECT_FLOAT_EQ(edge.a, 1);
        EXPECT_FLOAT_EQ(stops.back().color.a, 0x80 / 255.0f);
      } else {
        EXPECT_EQ(edge.r + edge.g + edge.b + edge.a, 0) << "transparent black";
        EXPECT_EQ(stops.back().color.a, 0);
      }
    }
  }
}

TEST(Direct2DConversions, ColoursAndEllipses) {
  const D2D1_COLOR_F color = dxAlphaColorToD2DColor(0x80FF4000);
  EXPECT_FLOAT_EQ(color.a, 128 / 255.0f);
  EXPECT_FLOAT_EQ(color.r, 1);
  EXPECT_FLOAT_EQ(color.g, 64 / 255.0f);
  EXPECT_FLOAT_EQ(color.b, 0);
  const D2D1_ELLIPSE ellipse = dxD2DEllipse(TdxRectF(10, 20, 30, 60));
  EXPECT_FLOAT_EQ(ellipse.point.x, 20);
  EXPECT_FLOAT_EQ(ellipse.point.y, 40);
  EXPECT_FLOAT_EQ(ellipse.radiusX, 10);
  EXPECT_FLOAT_EQ(ellipse.radiusY, 20);
  const D2D1_RECT_F centred = dxD2DCenteredRect({0, 0, 100, 50}, {20, 10});
  EXPECT_FLOAT_EQ(centred.left, 40);
  EXPECT_FLOAT_EQ(centred.top, 20);
  EXPECT_FLOAT_EQ(centred.right, 60);
  const D3D11_BOX box = dxRectToD3DBox(TRect(1, 2, 3, 4));
  EXPECT_EQ(box.left + box.top + box.right + box.bottom, 10u);
  EXPECT_EQ(box.front, 0u);
  EXPECT_EQ(box.back, 1u);
}

// Where (x, y) lies on the ellipse: 1 on it.
float EllipseLevel(const D2D1_POINT_2F& P, float CX, float CY, float RX, float RY) {
  return (P.x - CX) * (P.x - CX) / (RX * RX) + (P.y - CY) * (P.y - CY) / (RY * RY);
}

TEST(Direct2DConversions, ArcsOfAnglesRunCounterClockwiseOnTheScreen) {
  struct TCase {
    const char* Name;
    float Start;
    float Sweep;
    D2D1_POINT_2F ExpectedStart;
    D2D1_POINT_2F ExpectedEnd;
    D2D1_SWEEP_DIRECTION Direction;
    D2D1_ARC_SIZE Size;
  };
  // The ellipse of (0, 0, 200, 100): centre (100, 50), radii 100 and 50.
  const TCase cases[] = {
      {"right to top", 0, 90, {200, 50}, {100, 0}, D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE, D2D1_ARC_SIZE_SMALL},
      {"top to right, backwards", 90, -90, {100, 0}, {200, 50}, D2D1_SWEEP_DIRECTION_CLOCKWISE, D2D1_ARC_SIZE_SMALL},
      {"left around the bottom", 180, 270, {0, 50}, {100, 0}, D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE,
       D2D1_ARC_SIZE_LARGE},
      {"bottom to left", 270, -90, {100, 100}, {0, 50}, D2D1_SWEEP_DIRECTION_CLOCKWISE, D2D1_ARC_SIZE_SMALL},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TdxD2DArc arc = dxD2DArc(TdxRectF(0, 0, 200, 100), c.Start, c.Sweep);
    EXPECT_NEAR(arc.StartPoint.x, c.ExpectedStart.x, 0.5);
    EXPECT_NEAR(arc.StartPoint.y, c.ExpectedStart.y, 0.5);
    EXPECT_NEAR(arc.Segment.point.x, c.ExpectedEnd.x, 0.5);
    EXPECT_NEAR(arc.Segment.point.y, c.ExpectedEnd.y, 0.5);
    EXPECT_EQ(arc.Segment.sweepDirection, c.Direction);
    EXPECT_EQ(arc.Segment.arcSize, c.Size);
    EXPECT_FLOAT_EQ(arc.Segment.size.width, 100);
    EXPECT_FLOAT_EQ(arc.Segment.size.height, 50);
  }
  // Points between the axes stay on the ellipse, in their quadrant.
  for (float angle = 25; angle < 360; angle += 40) {
    SCOPED_TRACE(angle);
    const TdxD2DArc arc = dxD2DArc(TdxRectF(0, 0, 200, 100), angle, 20);
    EXPECT_NEAR(EllipseLevel(arc.StartPoint, 100, 50, 100, 50), 1, 0.01);
    const double radians = angle * std::numbers::pi / 180;
    EXPECT_EQ(arc.StartPoint.x > 100, std::cos(radians) > 0);
    EXPECT_EQ(arc.StartPoint.y < 50, std::sin(radians) > 0);
  }
}

TEST(Direct2DConversions, GdiArcsRunFromPointToPointThroughPixelCentres) {
  struct TCase {
    const char* Name;
    TPoint Start;
    TPoint End;
    D2D1_POINT_2F ExpectedStart;
    D2D1_POINT_2F ExpectedEnd;
    D2D1_ARC_SIZE Size;
  };
  // The ellipse of (0, 0, 21, 21): centre (10.5, 10.5), radius 10 through the edge pixels' centres.
  const TCase cases[] = {
      {"right to top", TPoint(40, 10), TPoint(10, -30), {20.5f, 10.5f}, {10.5f, 0.5f}, D2D1_ARC_SIZE_SMALL},
      {"top to right, the long way", TPoint(10, -30), TPoint(40, 10), {10.5f, 0.5f}, {20.5f, 10.5f},
       D2D1_ARC_SIZE_LARGE},
      {"left to bottom", TPoint(-20, 10), TPoint(10, 40), {0.5f, 10.5f}, {10.5f, 20.5f}, D2D1_ARC_SIZE_SMALL},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TdxD2DArc arc = dxD2DArc(TRect(0, 0, 21, 21), c.Start, c.End);
    EXPECT_NEAR(arc.StartPoint.x, c.ExpectedStart.x, 0.5);
    EXPECT_NEAR(arc.StartPoint.y, c.ExpectedStart.y, 0.5);
    EXPECT_NEAR(arc.Segment.point.x, c.ExpectedEnd.x, 0.5);
    EXPECT_NEAR(arc.Segment.point.y, c.ExpectedEnd.y, 0.5);
    EXPECT_EQ(arc.Segment.sweepDirection, D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE);
    EXPECT_EQ(arc.Segment.arcSize, c.Size);
    EXPECT_FLOAT_EQ(arc.Segment.size.width, 10);
  }
}

TEST(Direct2DConversions, TransparentPixelsThatAreNotBlackBecomeOpaque) {
  std::vector<RGBQUAD> pixels{Quad(0, 0, 0, 0), Quad(1, 0, 0, 0), Quad(0, 0, 9, 0), Quad(5, 6, 7, 8),
                              Quad(255, 255, 255, 255)};
  dxCorrectAlphaChannel(pixels);
  const std::vector<TChannels> expected{{0, 0, 0, 0}, {1, 0, 0, 255}, {0, 0, 9, 255}, {5, 6, 7, 8}, {255, 255, 255, 255}};
  for (std::size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(Channels(pixels[i]), expected[i]) << "pixel " << i;
}

// ---------------------------------------------------------------------------
// Bitmaps

class Direct2DBitmaps : public Direct2DTest {};

TEST_F(Direct2DBitmaps, AlphaFormatsDecideHowPixelsBlend) {
  TDirect2DSurface surface(8, 4);
  TTestBitmaps bitmaps;
  // Half-transparent red: straight in the first bitmap, premultiplied in the second.
  TBitmap* straight = bitmaps.Make32(2, 1, {Quad(0, 0, 255, 128), Quad(0, 0, 255, 128)});
  TBitmap* premultiplied = bitmaps.Make32(2, 1, {Quad(0, 0, 128, 128), Quad(0, 0, 128, 128)});
  TBitmap* opaque = bitmaps.Make(pf24bit, 2, 1);
  opaque->Canvas()->SetPixels(0, 0, clBlue);
  opaque->Canvas()->SetPixels(1, 0, clBlue);
  // A pixel GDI drew: black alpha, not black colour.
  TBitmap* gdiDrawn = bitmaps.Make32(2, 1, {Quad(0, 200, 0, 0), Quad(0, 200, 0, 0)});

  const TComPtr<ID2D1Bitmap> fromStraight = dxCreateD2DBitmap(surface.Context(), straight, afDefined);
  const TComPtr<ID2D1Bitmap> fromPremultiplied = dxCreateD2DBitmap(surface.Context(), premultiplied, afPremultiplied);
  const TComPtr<ID2D1Bitmap> fromOpaque = dxCreateD2DBitmap(surface.Context(), opaque, afDefined);
  const TComPtr<ID2D1Bitmap> fromGdi = dxCreateD2DBitmap(surface.Context(), gdiDrawn, afDefined);
  EXPECT_EQ(fromOpaque->GetPixelFormat().alphaMode, D2D1_ALPHA_MODE_IGNORE) << "24 bits: alpha ignored";
  EXPECT_EQ(fromStraight->GetPixelFormat().alphaMode, D2D1_ALPHA_MODE_PREMULTIPLIED);
  EXPECT_EQ(dxCreateD2DBitmap(surface.Context(), static_cast<TBitmap*>(nullptr), afDefined), nullptr);

  surface.Begin(RGB(255, 255, 255));
  surface.Canvas()->DrawBitmap(fromStraight.Get(), TRect(0, 0, 2, 1));
  surface.Canvas()->DrawBitmap(fromPremultiplied.Get(), TRect(2, 0, 4, 1));
  surface.Canvas()->DrawBitmap(fromOpaque.Get(), TRect(4, 0, 6, 1));
  surface.Canvas()->DrawBitmap(fromGdi.Get(), TRect(6, 0, 8, 1));
  ASSERT_FALSE(surface.End());
  const COLORREF blended = surface.Pixel(0, 0);
  EXPECT_EQ(GetRValue(blended), 255);
  EXPECT_NEAR(GetGValue(blended), 127, 2);
  EXPECT_EQ(surface.Pixel(2, 0), blended) << "premultiplied pixels blend the same";
  EXPECT_EQ(surface.Pixel(4, 0), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(6, 0), RGB(0, 200, 0)) << "made opaque";
}

TEST_F(Direct2DBitmaps, PixelBuffersKeepTheirRows) {
  TDirect2DSurface surface(4, 4);
  const TOwned<TdxFastDIB> dib(New<TdxFastDIB>(2, 2, true));
  *dib->GetPixel(0, 0) = Quad(0, 0, 255, 255);
  *dib->GetPixel(1, 1) = Quad(255, 0, 0, 255);
  const TComPtr<ID2D1Bitmap> bitmap = dxCreateD2DBitmap(surface.Context(), dib.get(), afIgnored);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->GetPixelSize().width, 2u);
  surface.Begin(RGB(255, 255, 255));
  surface.Canvas()->DrawBitmap(bitmap.Get(), TRect(0, 0, 2, 2));
  ASSERT_FALSE(surface.End());
  EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 0, 0)) << "top row first";
  EXPECT_EQ(surface.Pixel(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(1, 0), RGB(0, 0, 0)) << "alpha ignored: black stays";
  const TOwned<TdxFastDIB> empty(New<TdxFastDIB>(0, 0, true));
  EXPECT_EQ(dxCreateD2DBitmap(surface.Context(), empty.get(), afIgnored), nullptr);
}

}  // namespace
