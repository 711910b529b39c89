// Shared pieces of the canvas tests: a GDI-based canvas on a 32-bit surface
// that counts what the tests watch, and the fixture that checks that the
// process-wide pools and GDI+ are left empty.
#pragma once

#include "library/graphics/canvas/cxCustomCanvas.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

// The GDI-based canvas on a pixel surface. States and clip regions, which
// the GDI canvas of the library keeps in stacks of its own, are SaveDC and
// the DC's clip region here.
class TSurfaceCanvas : public TcxGdiBasedCanvas {
  SK_CLASS(TSurfaceCanvas, TcxGdiBasedCanvas)
 public:
  void Create(TPixelSurface* ASurface) {
    inherited::Create();
    FSurface = ASurface;
  }

  HDC Handle() override {
    ++HandleRequests;
    return FSurface->DC();
  }
  void SaveState() override { FSavedStates.push_back(SaveDC(FSurface->DC())); }
  void RestoreState() override {
    if (FSavedStates.empty()) return;
    RestoreDC(FSurface->DC(), FSavedStates.back());
    FSavedStates.pop_back();
  }
  void SaveClipRegion() override {
    ++ClipSaves;
    FSavedClips.push_back(::SaveClipRegion(FSurface->DC()));
  }
  void RestoreClipRegion() override {
    if (FSavedClips.empty()) return;
    ::RestoreClipRegion(FSurface->DC(), std::move(FSavedClips.back()));
    FSavedClips.pop_back();
  }

  // How often the DC was asked for: every drawing that reaches GDI asks.
  int HandleRequests = 0;
  int ClipSaves = 0;

 protected:
  bool GetControlRightToLeft() override { return ControlRightToLeft; }

 public:
  bool ControlRightToLeft = false;

 private:
  TPixelSurface* FSurface;
  std::vector<int> FSavedStates;
  std::vector<TOwnedRegion> FSavedClips;
};

// A surface with a canvas on it; every pool empty and every GDI+ object
// gone after the test.
class CanvasTest : public GdiPlusTest {
 protected:
  void TearDown() override {
    FCanvas.reset();
    EXPECT_EQ(TcxGdiCanvasBasedSharedBrushes::Instance()->Count(), 0) << "brush handles held";
    EXPECT_EQ(TcxGdiCanvasBasedSharedPens::Instance()->Count(), 0) << "pen handles held";
    EXPECT_EQ(TcxGdiCanvasBasedSharedFonts::Instance()->Count(), 0) << "font handles held";
    EXPECT_EQ(TcxGdiCanvasBasedSharedImageLists::Instance()->Count(), 0) << "image list handles held";
    cxCustomCanvasFinalization();
    cxCustomCanvasInitialization();
    GdiPlusTest::TearDown();
  }

  // A canvas on a white surface of the size.
  TSurfaceCanvas* Canvas(int AWidth = 40, int AHeight = 40) {
    FCanvas.reset();
    FSurface.emplace(AWidth, AHeight, RGB(255, 255, 255));
    FCanvas.reset(New<TSurfaceCanvas>(&*FSurface));
    return FCanvas.get();
  }
  TPixelSurface& Surface() { return *FSurface; }

  std::optional<TPixelSurface> FSurface;
  TOwned<TSurfaceCanvas> FCanvas;
};
