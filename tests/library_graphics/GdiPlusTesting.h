// Shared pieces of the GDI+ tests: the leak check every test group runs and
// a GDI+ graphics object over a 32-bit surface.
#pragma once

#include "library/graphics/dxGDIPlusClasses.h"
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

// A surface with a GDI+ graphics object drawing into it.
class TGpSurface : public TPixelSurface {
 public:
  TGpSurface(int AWidth, int AHeight, COLORREF AFill = RGB(255, 255, 255))
      : TPixelSurface(AWidth, AHeight, AFill), FGraphics(CreateGdipGraphics(DC())) {}
  GpGraphics* Graphics() const { return FGraphics.Get(); }
  // Pending drawing reaches the pixels.
  void Flush() const { GdipFlush(FGraphics.Get(), Gdiplus::FlushIntentionSync); }

 private:
  TdxGpOwnedGraphics FGraphics;
};
