// Shared pieces of the GDI+ tests: the leak check every test group runs and
// a GDI+ graphics object over a 32-bit surface.
#pragma once

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

// After each test the shared objects of the GDI+ unit (caches, shared
// families, the alpha-blend attributes) are freed by restarting the unit;
// then no GDI+ object may be left and only the unit's own reference may hold
// the binding.
class GdiPlusTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(TdxGdiPlusLibrary::IsLoaded()); }
  void TearDown() override {
    dxGDIPlusClassesFinalization();
    dxGDIPlusClassesInitialization();
    for (int kind = 0; kind < dxGpObjectKindCount; ++kind)
      EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(static_cast<TdxGpObjectKind>(kind)), 0) << "object kind " << kind;
    EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), 1);
  }
};

// A 32-bit DIB with a GDI+ canvas drawing straight into its pixels
// (through a GDI+ bitmap over the DIB's memory, where GDI+ renders
// antialiased shapes itself).
class TGpSurface : public TPixelSurface {
 public:
  TGpSurface(int AWidth, int AHeight, COLORREF AFill = RGB(255, 255, 255)) : TPixelSurface(AWidth, AHeight, AFill) {
    DIBSECTION dib{};
    GetObjectW(Bitmap(), sizeof(dib), &dib);
    GpBitmap* bitmap = nullptr;
    // Top-down rows: the DIB's first row is the bitmap's first.
    CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormat32bppRGB,
                                              static_cast<BYTE*>(dib.dsBm.bmBits), &bitmap));
    FBitmap.Reset(bitmap);
    GpGraphics* graphics = nullptr;
    CheckGdipStatus(GdipGetImageGraphicsContext(FBitmap.Get(), &graphics));
    FCanvas.reset(New<TdxGPCanvas>(graphics));
  }
  TdxGPCanvas* Canvas() const { return FCanvas.get(); }
  GpGraphics* Graphics() const { return FCanvas->Handle(); }
  // Pending drawing reaches the pixels.
  void Flush() const { GdipFlush(Graphics(), Gdiplus::FlushIntentionSync); }

 private:
  TdxGpOwnedImage FBitmap;
  TOwned<TdxGPCanvas> FCanvas;
};
