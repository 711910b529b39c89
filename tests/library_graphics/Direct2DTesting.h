// Shared pieces of the Direct2D tests: a Direct2D canvas drawing into an
// off-screen target bitmap whose pixels are read back, and the fixture that
// checks that nothing of the canvases is left behind.
#pragma once

#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

// The device chain the surfaces of a test suite share: making one takes a
// quarter of a second here. It goes at the end of the suite and with the
// Direct2D units (RestartDirect2DUnits).
inline TOwned<TdxDirect2DHwndBasedCanvas>& Direct2DDeviceStore() {
  static TOwned<TdxDirect2DHwndBasedCanvas> devices;
  return devices;
}
inline TdxDirect2DHwndBasedCanvas* SharedDirect2DDevices() {
  TOwned<TdxDirect2DHwndBasedCanvas>& devices = Direct2DDeviceStore();
  if (!devices && !CreateDirect2DHwndCanvas(nullptr, devices)) throw std::runtime_error("Direct2D is unavailable");
  return devices.get();
}

// A window canvas of ACanvasClass on the shared device chain, with a device
// context of its own.
inline TOwned<TdxDirect2DHwndBasedCanvas> NewSharedDeviceCanvas(TClass ACanvasClass,
                                                                IdxDirect2DCanvasOwner* AOwner = nullptr) {
  TdxDirect2DHwndBasedCanvas* devices = SharedDirect2DDevices();
  TComPtr<ID2D1Device> device;
  devices->DeviceContext()->GetDevice(device.Receive());
  TComPtr<ID2D1DeviceContext> context;
  dxCheckDirectXResult(device->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, context.Receive()));
  return TOwned<TdxDirect2DHwndBasedCanvas>(NewOfClass<TdxDirect2DHwndBasedCanvas>(
      ACanvasClass, AOwner, devices->Device(), context.Get(), devices->Device3D(), devices->Device3DContext()));
}

// A window canvas that no window is bound to, drawing into a target bitmap
// of its own, on the shared device chain with a device context of its own.
// With AGdiCompatible the target offers the GDI interop. End reads the
// pixels back.
class TDirect2DSurface {
 public:
  TDirect2DSurface(int AWidth, int AHeight, bool AGdiCompatible = true,
                   TClass ACanvasClass = TdxDirect2DHwndBasedCanvas::ClassInfo(),
                   IdxDirect2DCanvasOwner* AOwner = nullptr)
      : FWidth(AWidth), FHeight(AHeight) {
    FCanvas = NewSharedDeviceCanvas(ACanvasClass, AOwner);
    FTarget = NewBitmap(D2D1_BITMAP_OPTIONS_TARGET |
                        (AGdiCompatible ? D2D1_BITMAP_OPTIONS_GDI_COMPATIBLE : D2D1_BITMAP_OPTIONS_NONE));
    Context()->SetTarget(FTarget.Get());
  }
  ~TDirect2DSurface() {
    if (FCanvas && Context()) Context()->SetTarget(nullptr);
  }
  TDirect2DSurface(const TDirect2DSurface&) = delete;
  TDirect2DSurface& operator=(const TDirect2DSurface&) = delete;

  TdxDirect2DHwndBasedCanvas* Canvas() const { return FCanvas.get(); }
  ID2D1DeviceContext* Context() const { return FCanvas->DeviceContext(); }
  TRect ClientRect() const { return TRect(0, 0, FWidth, FHeight); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // A draw of the whole surface, cleared to AColor first.
  void Begin(COLORREF AColor = RGB(255, 255, 255)) {
    FCanvas->BeginDraw(ClientRect());
    const D2D1_COLOR_F color{GetRValue(AColor) / 255.0f, GetGValue(AColor) / 255.0f, GetBValue(AColor) / 255.0f, 1};
    Context()->Clear(&color);
  }
  // True when the device was lost. The pixels are read back.
  bool End() {
    const bool lost = FCanvas->EndDraw();
    if (!lost) ReadPixels();
    return lost;
  }

  // The pixels as End read them: BGRA values (premultiplied), top row first.
  const std::vector<std::uint32_t>& Pixels() const { return FPixels; }
  std::uint32_t Raw(int X, int Y) const { return FPixels.at(static_cast<std::size_t>(Y) * FWidth + X); }
  // The RGB of one pixel (alpha dropped).
  COLORREF Pixel(int X, int Y) const {
    const std::uint32_t value = Raw(X, Y);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  }
  // Pixels of AColor's RGB inside R.
  int Count(const TRect& R, COLORREF AColor) const {
    int count = 0;
    for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, FHeight); ++y)
      for (int x = std::max(R.Left, 0); x < std::min(R.Right, FWidth); ++x)
        if (Pixel(x, y) == AColor) ++count;
    return count;
  }

 private:
  void ReadPixels() {
    const TComPtr<ID2D1Bitmap1> copy = NewBitmap(D2D1_BITMAP_OPTIONS_CPU_READ | D2D1_BITMAP_OPTIONS_CANNOT_DRAW);
    const D2D1_POINT_2U origin{0, 0};
    const D2D1_RECT_U whole{0, 0, static_cast<UINT32>(FWidth), static_cast<UINT32>(FHeight)};
    dxCheckDirectXResult(copy->CopyFromBitmap(&origin, FTarget.Get(), &whole));
    D2D1_MAPPED_RECT mapped{};
    dxCheckDirectXResult(copy->Map(D2D1_MAP_OPTIONS_READ, &mapped));
    FPixels.assign(static_cast<std::size_t>(FWidth) * FHeight, 0);
    for (int y = 0; y < FHeight; ++y)
      std::memcpy(&FPixels[static_cast<std::size_t>(y) * FWidth], mapped.bits + static_cast<std::size_t>(y) * mapped.pitch,
                  static_cast<std::size_t>(FWidth) * 4);
    copy->Unmap();
  }
  TComPtr<ID2D1Bitmap1> NewBitmap(D2D1_BITMAP_OPTIONS AOptions) const {
    D2D1_BITMAP_PROPERTIES1 properties{};
    properties.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
    properties.bitmapOptions = AOptions;
    TComPtr<ID2D1Bitmap1> bitmap;
    dxCheckDirectXResult(Context()->CreateBitmap(
        D2D1_SIZE_U{static_cast<UINT32>(FWidth), static_cast<UINT32>(FHeight)}, nullptr, 0, &properties, bitmap.Receive()));
    return bitmap;
  }

  int FWidth;
  int FHeight;
  TOwned<TdxDirect2DHwndBasedCanvas> FCanvas;
  TComPtr<ID2D1Bitmap1> FTarget;
  std::vector<std::uint32_t> FPixels;
};

// Direct2D must be available here; after each test no DirectWrite font
// handle may be held and no GDI+ object left.
class Direct2DTest : public GdiPlusTest {
 protected:
  static void TearDownTestSuite() { Direct2DDeviceStore().reset(); }
  void SetUp() override {
    GdiPlusTest::SetUp();
    ASSERT_TRUE(IsDirect2DAvailable());
  }
  void TearDown() override {
    EXPECT_EQ(TdxDirect2DCanvasBasedSharedFonts::Instance()->Count(), 0) << "font handles held";
    GdiPlusTest::TearDown();
  }
};

// The Direct2D units shut down and start again, last unit first: the
// factories, stroke styles and font handles go and the libraries are freed.
inline void RestartDirect2DUnits() {
  Direct2DDeviceStore().reset();
  dxDirectX_D2D_CanvasFinalization();
  dxDirectX_D2D_ClassesFinalization();
  dxDirectX_D2D_UtilsFinalization();
  dxDirectX_D2D_UtilsInitialization();
  dxDirectX_D2D_CanvasInitialization();
}
