// The named canvas scopes on each kind of canvas (GDI, GDI+, Direct2D): what
// the device shows of the clip, the transform and the window origin is the
// same after a scope as before it, nested and when an exception leaves it;
// a restore that raises; the paint scopes of the shared paint canvases.
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/GdiCanvasTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

// What the device itself holds of a canvas's state: the clip box in device
// pixels, the transform from canvas to device coordinates, and the window
// origin the canvas reports.
struct TCanvasSnapshot {
  TRect ClipBox;
  XFORM Transform{};
  TPoint WindowOrg;

  bool operator==(const TCanvasSnapshot& AOther) const {
    return ClipBox == AOther.ClipBox && WindowOrg == AOther.WindowOrg && Transform.eM11 == AOther.Transform.eM11 &&
           Transform.eM12 == AOther.Transform.eM12 && Transform.eM21 == AOther.Transform.eM21 &&
           Transform.eM22 == AOther.Transform.eM22 && Transform.eDx == AOther.Transform.eDx &&
           Transform.eDy == AOther.Transform.eDy;
  }
};

void PrintTo(const TCanvasSnapshot& S, std::ostream* AOut) {
  *AOut << "clip (" << S.ClipBox.Left << ", " << S.ClipBox.Top << ", " << S.ClipBox.Right << ", "
        << S.ClipBox.Bottom << "), transform [" << S.Transform.eM11 << " " << S.Transform.eM12 << " "
        << S.Transform.eM21 << " " << S.Transform.eM22 << " " << S.Transform.eDx << " " << S.Transform.eDy
        << "], origin (" << S.WindowOrg.X << ", " << S.WindowOrg.Y << ")";
}

enum class TCanvasKind { Gdi, GdiPlus, Direct2D };

std::string KindName(TCanvasKind AKind) {
  switch (AKind) {
    case TCanvasKind::Gdi:
      return "Gdi";
    case TCanvasKind::GdiPlus:
      return "GdiPlus";
    default:
      return "Direct2D";
  }
}
std::string TestNameOf(const testing::TestParamInfo<TCanvasKind>& AInfo) { return KindName(AInfo.param); }
void PrintTo(TCanvasKind AKind, std::ostream* AOut) { *AOut << KindName(AKind); }

constexpr int SurfaceSize = 60;
const XFORM Turned{0, 1, -1, 0, 30, 0};   // a quarter turn, then moved right

// A canvas of the kind, painting on a surface of its own.
class CanvasScopes : public Direct2DTest, public testing::WithParamInterface<TCanvasKind> {
 protected:
  void SetUp() override {
    Direct2DTest::SetUp();
    switch (GetParam()) {
      case TCanvasKind::Gdi:
        FGdi.emplace(SurfaceSize, SurfaceSize);
        FCanvas = FGdi->Get();
        break;
      case TCanvasKind::GdiPlus:
        FGdiPlusTarget.emplace(SurfaceSize, SurfaceSize);
        FGdiPlus.reset(New<TdxGDIPlusControlCanvas>(FGdiPlusTarget->Canvas()));
        FGdiPlus->BeginPaint();
        FCanvas = FGdiPlus.get();
        break;
      case TCanvasKind::Direct2D:
        FDirect2D.emplace(SurfaceSize, SurfaceSize);
        FDirect2D->Begin();
        FCanvas = FDirect2D->Canvas();
        break;
    }
  }
  void TearDown() override {
    if (FGdiPlus) FGdiPlus->EndPaint();
    if (FDirect2D) {
      EXPECT_FALSE(FDirect2D->End());
    }
    FGdiPlus.reset();
    FGdiPlusTarget.reset();
    FDirect2D.reset();
    FGdi.reset();
    Direct2DTest::TearDown();
  }

  TCanvasSnapshot Snapshot() const {
    TCanvasSnapshot result;
    result.WindowOrg = FCanvas->WindowOrg();
    switch (GetParam()) {
      case TCanvasKind::Gdi: {
        const HDC DC = FGdi->Get()->Handle();
        result.ClipBox = DeviceClipBox(DC);
        GetWorldTransform(DC, &result.Transform);
        POINT origin{};
        GetWindowOrgEx(DC, &origin);
        result.Transform.eDx -= static_cast<float>(origin.x);
        result.Transform.eDy -= static_cast<float>(origin.y);
        break;
      }
      case TCanvasKind::GdiPlus: {
        TdxGPCanvas* graphics = FGdiPlus->GpCanvas();
        result.Transform = graphics->GetWorldTransform()->ToXForm();
        // GDI+ tells the clip in world units; the region's box on the device is the device's.
        const TOwnedRegion clip = graphics->GetClipGdiRegion();
        RECT box{};
        if (clip) GetRgnBox(clip.Get(), &box);
        result.ClipBox = TRect(box);
        break;
      }
      case TCanvasKind::Direct2D: {
        D2D1_MATRIX_3X2_F m{};
        FDirect2D->Context()->GetTransform(&m);
        result.Transform = XFORM{m._11, m._12, m._21, m._22, m._31, m._32};
        result.ClipBox = FDirect2D->Canvas()->ClipRect();
        break;
      }
    }
    return result;
  }

  TcxCustomCanvas* FCanvas = nullptr;
  std::optional<TCanvasOnSurface> FGdi;
  std::optional<TCanvasOnSurface> FGdiPlusTarget;
  TOwned<TdxGDIPlusControlCanvas> FGdiPlus;
  std::optional<TDirect2DSurface> FDirect2D;
};

// What each scope is opened around: it changes what the scope saves, and the
// state inside must differ from the state before, so that a scope that
// restored nothing would be seen.
struct TScopeCase {
  const char* Name;
  std::function<void(TcxCustomCanvas* ACanvas, const std::function<void()>& AInside)> Run;
};

const TScopeCase ScopeCases[] = {
    {"state",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxCanvasStateScope state(C);
       C->SetWindowOrg(TPoint(-4, -6));
       C->ModifyWorldTransform(Turned);
       C->IntersectClipRect(TRect(2, 3, 20, 25));
       AInside();
     }},
    {"clip region",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxClipRegionScope clip(C);
       C->IntersectClipRect(TRect(10, 5, 30, 15));
       AInside();
     }},
    {"clip rectangle",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxClipRegionScope clip(C, TRect(1, 2, 11, 12));
       AInside();
     }},
    {"clip rectangle of floats",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxClipRegionScope clip(C, TdxRectF(1.5f, 2.5f, 11.25f, 12.75f));
       AInside();
     }},
    {"world transform",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxWorldTransformScope transform(C);
       C->ModifyWorldTransform(Turned);
       AInside();
     }},
    {"window origin moved",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxWindowOrgScope origin(C, TPoint(7, 9));
       AInside();
     }},
    {"window origin set",
     [](TcxCustomCanvas* C, const std::function<void()>& AInside) {
       const TcxWindowOrgScope origin(C);
       C->SetWindowOrg(TPoint(-3, 8));
       AInside();
     }},
};

TEST_P(CanvasScopes, EachScopeBringsBackWhatItSaved) {
  // A state that is not the canvas's first: the scopes must return to it, not to a default.
  FCanvas->SetWindowOrg(TPoint(2, 1));
  FCanvas->IntersectClipRect(TRect(0, 0, 50, 45));
  for (const TScopeCase& c : ScopeCases) {
    SCOPED_TRACE(c.Name);
    const TCanvasSnapshot before = Snapshot();
    std::optional<TCanvasSnapshot> inside;
    c.Run(FCanvas, [&] { inside = Snapshot(); });
    ASSERT_TRUE(inside);
    EXPECT_NE(*inside, before) << "the scope's change shows on the device";
    EXPECT_EQ(Snapshot(), before);
  }
}

TEST_P(CanvasScopes, NestedScopesUnwindLevelByLevel) {
  const TCanvasSnapshot start = Snapshot();
  {
    const TcxClipRegionScope outer(FCanvas, TRect(5, 5, 40, 40));
    const TCanvasSnapshot clipped = Snapshot();
    EXPECT_EQ(clipped.ClipBox, TRect(5, 5, 40, 40));
    {
      const TcxCanvasStateScope state(FCanvas);
      FCanvas->ModifyWorldTransform(Turned);
      const TcxClipRegionScope inner(FCanvas, TRect(0, 0, 10, 20));
      const TcxWindowOrgScope origin(FCanvas, TPoint(3, 3));
      EXPECT_NE(Snapshot(), clipped);
    }
    EXPECT_EQ(Snapshot(), clipped) << "the outer level is what the inner scopes return to";
  }
  EXPECT_EQ(Snapshot(), start);
}

TEST_P(CanvasScopes, AnExceptionUnwindsEveryLevel) {
  FCanvas->SetWindowOrg(TPoint(-2, 3));
  const TCanvasSnapshot before = Snapshot();
  EXPECT_THROW(
      {
        const TcxCanvasStateScope state(FCanvas);
        FCanvas->SetWindowOrg(TPoint(10, 10));
        const TcxClipRegionScope clip(FCanvas, TRect(0, 0, 12, 12));
        const TcxWorldTransformScope transform(FCanvas);
        FCanvas->ModifyWorldTransform(Turned);
        const TcxWindowOrgScope origin(FCanvas, TPoint(1, 2));
        throw std::runtime_error("while painting");
      },
      std::runtime_error);
  EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CanvasScopes,
                         testing::Values(TCanvasKind::Gdi, TCanvasKind::GdiPlus, TCanvasKind::Direct2D), TestNameOf);

// ---------------------------------------------------------------------------
// The GDI canvas's own state: font, brush and pen, and the device-context level.

class GdiCanvasScopes : public testing::Test {};

TEST_F(GdiCanvasScopes, TheStateScopeBringsBackBrushPenFontAndTextFlags) {
  TCanvasOnSurface canvas;
  canvas->Brush()->SetColor(clRed);
  canvas->Pen()->SetWidth(3);
  canvas->Font()->SetHeight(-17);
  canvas->SetTextFlags(ETO_CLIPPED);
  {
    const TcxCanvasStateScope state(canvas.Get());
    canvas->Brush()->SetColor(clLime);
    canvas->Pen()->SetWidth(1);
    canvas->Font()->SetHeight(-9);
    canvas->SetTextFlags(ETO_RTLREADING);
    canvas->SetUseRightToLeftAlignment(true);
  }
  EXPECT_EQ(canvas->Brush()->Color(), clRed);
  EXPECT_EQ(canvas->Pen()->Width(), 3);
  EXPECT_EQ(canvas->Font()->Height(), -17);
  EXPECT_EQ(canvas->TextFlags(), ETO_CLIPPED);
  EXPECT_FALSE(canvas->UseRightToLeftAlignment());
}

TEST_F(GdiCanvasScopes, TheDCStateScopeBringsBackTheDeviceContextsLevel) {
  TCanvasOnSurface canvas;
  const HDC DC = canvas->Handle();
  const int level = SaveDC(DC);
  RestoreDC(DC, level);
  {
    const TcxDCStateScope saved(canvas.Get());
    EXPECT_EQ(SaveDC(DC), level + 1) << "one level saved";
    RestoreDC(DC, -1);
    SetMapMode(DC, MM_LOMETRIC);
    IntersectClipRect(DC, 0, 0, 5, 5);
  }
  EXPECT_EQ(GetMapMode(DC), MM_TEXT);
  EXPECT_EQ(DeviceClipBox(DC), TRect(0, 0, 40, 40));
  EXPECT_EQ(SaveDC(DC), level) << "no level left behind";
  RestoreDC(DC, -1);
}

// ---------------------------------------------------------------------------
// A restore that raises

// A canvas whose clip restore raises.
struct TFailingRestoreCanvas {
  int Saves = 0;
  int Restores = 0;
  void SaveClipRegion() { ++Saves; }
  void RestoreClipRegion() {
    ++Restores;
    throw std::logic_error("restore");
  }
};

TEST(CanvasScopeRestore, ARestoreThatRaisesLeavesTheScopeWithItsException) {
  TFailingRestoreCanvas canvas;
  try {
    const TcxClipRegionScope clip(&canvas);
  } catch (const std::logic_error& E) {
    EXPECT_STREQ(E.what(), "restore");
  }
  EXPECT_EQ(canvas.Restores, 1);
}

TEST(CanvasScopeRestore, WhileAnotherExceptionUnwindsTheFirstGoesOn) {
  TFailingRestoreCanvas canvas;
  try {
    const TcxClipRegionScope clip(&canvas);
    throw std::runtime_error("painting");
  } catch (const std::runtime_error& E) {
    EXPECT_STREQ(E.what(), "painting");
  } catch (...) {
    ADD_FAILURE() << "the restore's exception replaced the first";
  }
  EXPECT_EQ(canvas.Restores, 1) << "the restore still ran";
}

// ---------------------------------------------------------------------------
// The paint scopes of the shared paint canvases

class PaintCanvasScopes : public GdiPlusTest {};

TEST_F(PaintCanvasScopes, TheGdiPlusPaintScopeNestsAndEndsItsPaintOnAnException) {
  TPixelSurface outer(20, 20, RGB(255, 255, 255));
  TPixelSurface inner(20, 20, RGB(255, 255, 255));
  EXPECT_THROW(
      {
        const TdxGPPaintCanvasScope paint(outer.DC(), TRect(0, 0, 20, 20));
        GpGraphics* outerGraphics = paint->Handle();
        {
          const TdxGPPaintCanvasScope nested(inner.DC(), TRect(0, 0, 20, 20));
          EXPECT_EQ(nested.Canvas(), paint.Canvas()) << "the shared canvas";
          nested->FillRectangle(TRect(0, 0, 10, 10), TdxAlphaColor{0xFF0000FF});
        }
        EXPECT_EQ(paint->Handle(), outerGraphics) << "the outer paint goes on";
        paint->FillRectangle(TRect(10, 10, 20, 20), TdxAlphaColor{0xFFFF0000});
        throw std::runtime_error("while painting");
      },
      std::runtime_error);
  EXPECT_EQ(SharedGPPaintCanvas()->Handle(), nullptr) << "no paint left open";
  EXPECT_EQ(inner.Pixel(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(inner.Pixel(15, 15), RGB(255, 255, 255));
  EXPECT_EQ(outer.Pixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(outer.Pixel(5, 5), RGB(255, 255, 255));
}

TEST_F(PaintCanvasScopes, TheGdiPaintScopeGivesTheDeviceContextBackAsItWas) {
  TPixelSurface surface(20, 20, RGB(255, 255, 255));
  const HDC DC = surface.DC();
  SetWindowOrgEx(DC, 1, 2, nullptr);
  TcxPaintCanvas* shared = SharedPaintCanvas();
  TCanvas* before = shared->Canvas();
  EXPECT_THROW(
      {
        const TcxPaintCanvasScope paint(DC);
        EXPECT_EQ(paint->Handle(), DC);
        paint->SetWindowOrg(TPoint(7, 7));
        paint->IntersectClipRect(TRect(0, 0, 3, 3));
        throw std::runtime_error("while painting");
      },
      std::runtime_error);
  POINT origin{};
  GetWindowOrgEx(DC, &origin);
  EXPECT_EQ(TPoint(origin.x, origin.y), TPoint(1, 2));
  EXPECT_EQ(DeviceClipBox(DC), TRect(0, 0, 20, 20));
  EXPECT_EQ(shared->Canvas(), before) << "the canvas wrapped before";
}

}  // namespace
