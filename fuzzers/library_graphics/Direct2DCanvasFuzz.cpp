#include "fuzzers/library_graphics/Direct2DCanvasFuzz.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

namespace {

constexpr int FuzzTargetSize = 64;

// Keeps what the device context's EndDraw answered: a clip left pushed or
// popped once too often shows there.
class TFuzzDirect2DCanvas : public TdxDirect2DHwndBasedCanvas {
  SK_CLASS(TFuzzDirect2DCanvas, TdxDirect2DHwndBasedCanvas)
 public:
  HRESULT LastEndDraw = S_OK;

 protected:
  HRESULT DoEndDraw() override { return LastEndDraw = inherited::DoEndDraw(); }
};

// The canvas and its target, made once: a device chain takes a quarter of a
// second to make.
class TFuzzDirect2DTarget {
 public:
  TFuzzDirect2DTarget() {
    if (!CreateDirect2DHwndCanvas(nullptr, FCanvas, TFuzzDirect2DCanvas::ClassInfo()))
      FuzzInvariantBroken("Direct2D is unavailable");
    D2D1_BITMAP_PROPERTIES1 properties{};
    properties.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
    properties.bitmapOptions = D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_GDI_COMPATIBLE;
    dxCheckDirectXResult(FCanvas->DeviceContext()->CreateBitmap(D2D1_SIZE_U{FuzzTargetSize, FuzzTargetSize}, nullptr,
                                                                0, &properties, FTarget.Receive()));
    FCanvas->DeviceContext()->SetTarget(FTarget.Get());
    FFont.reset(New<TFont>());
    FFont->SetName(L"DejaVu Sans");
    FFont->SetHeight(-11);
  }

  TFuzzDirect2DCanvas* Canvas() const { return As<TFuzzDirect2DCanvas>(FCanvas.get()); }
  TFont* Font() const { return FFont.get(); }

 private:
  TOwned<TdxDirect2DHwndBasedCanvas> FCanvas;
  TComPtr<ID2D1Bitmap1> FTarget;
  TOwned<TFont> FFont;
};

// One opcode byte per operation, then its arguments: coordinates as bytes
// around the 64 x 64 target, angles in steps of 3 degrees, transforms that
// turn by multiples of 30 degrees and scale by 0.25 to 2 either way.
class TDirect2DCanvasScript {
 public:
  TDirect2DCanvasScript(const std::string& AInput, TFuzzDirect2DTarget& ATarget)
      : FInput(AInput), FTarget(ATarget) {}

  void Run() {
    TFuzzDirect2DCanvas* canvas = FTarget.Canvas();
    const TRect whole(0, 0, FuzzTargetSize, FuzzTargetSize);
    canvas->BeginDraw(whole);
    while (FAt < FInput.size()) Step(canvas, Byte() % 24);
    if (canvas->EndDraw() || FAILED(canvas->LastEndDraw)) FuzzInvariantBroken("the draw ended with a Direct2D error");
    canvas->SetWindowOrg(TPoint(0, 0));
  }

 private:
  std::uint8_t Byte() { return FAt < FInput.size() ? static_cast<std::uint8_t>(FInput[FAt++]) : 0; }
  int Coord() { return static_cast<int>(Byte()) - 96; }
  float Angle() { return static_cast<float>(static_cast<std::int8_t>(Byte()) * 3); }
  TPoint Point() { return TPoint(Coord(), Coord()); }
  TRect Rect() { return TRect(Coord(), Coord(), Coord(), Coord()); }
  TdxRectF RectF() { return TdxRectF(Rect()); }
  TdxAlphaColor Color() { return Byte() % 4 == 0 ? 0 : static_cast<TdxAlphaColor>(Byte()) << 24 | 0x204080u; }
  TPenStyle PenStyle() { return static_cast<TPenStyle>(Byte() % 7); }
  int Width() { return Byte() % 5; }
  std::vector<TPoint> Points() {
    std::vector<TPoint> result(Byte() % 7);
    for (TPoint& point : result) point = Point();
    return result;
  }
  XFORM Transform() {
    const float angle = static_cast<float>(Byte() % 12) * std::numbers::pi_v<float> / 6;
    const std::uint8_t scale = Byte();
    const float factor = (scale & 0x80 ? -1.0f : 1.0f) * static_cast<float>(1 + scale % 8) / 4;
    const float dx = static_cast<float>(Coord());
    const float dy = static_cast<float>(Coord());
    return XFORM{factor * std::cos(angle), factor * std::sin(angle), -factor * std::sin(angle),
                 factor * std::cos(angle), dx, dy};
  }

  void Step(TFuzzDirect2DCanvas* C, int AOp) {
    const TOwned<TcxCanvasBasedBrush> brush = Byte() % 3 ? C->CreateBrush(Color()) : nullptr;
    const TOwned<TcxCanvasBasedPen> pen =
        Byte() % 3 ? C->CreatePeN(Color(), static_cast<float>(Width()), static_cast<TdxStrokeStyle>(Byte() % 5))
                   : nullptr;
    switch (AOp) {
      case 0: C->FillRect(Rect(), Color()); break;
      case 1: C->Rectangle(Rect(), Color(), Color(), PenStyle(), Width()); break;
      case 2: C->Ellipse(Rect(), Color(), Color(), PenStyle(), Width()); break;
      case 3: {
        const TPoint from = Point();
        C->Line(from, Point(), Color(), Width(), PenStyle());
        break;
      }
      case 4: C->Polygon(Points(), Color(), Color()); break;
      case 5: C->Polyline(Points(), Color(), Width(), PenStyle()); break;
      case 6: {
        const TRect r = Rect();
        const TPoint start = Point();
        C->Arc(r, start, Point(), Color(), Width(), PenStyle());
        break;
      }
      case 7: {
        const TdxRectF r = RectF();
        const float start = Angle();
        C->Pie(r, start, Angle(), brush.get(), pen.get());
        break;
      }
      case 8: {
        const TdxRectF r = RectF();
        const float start = Angle();
        const float sweep = Angle();
        C->DonutSlice(r, start, sweep, static_cast<float>(Byte() % 120), brush.get(), pen.get());
        break;
      }
      case 9: DrawPath(C, brush.get(), pen.get()); break;
      case 10: C->SaveClipRegion(); break;
      case 11: C->RestoreClipRegion(); break;
      case 12: C->IntersectClipRect(Rect()); break;
      case 13: C->SaveState(); break;
      case 14: C->RestoreState(); break;
      case 15: C->ModifyWorldTransform(Transform()); break;
      case 16: C->SaveWorldTransform(); break;
      case 17: C->RestoreWorldTransform(); break;
      case 18: C->SetWindowOrg(Point()); break;
      case 19: C->FillRectByGradient(Rect(), Color(), Color(), static_cast<Gdiplus::LinearGradientMode>(Byte() % 4)); break;
      case 20: DrawText(C); break;
      case 21: {
        const TRect r = Rect();
        const auto key = TcxCanvasBasedResourceCacheKey::Create(this, r.GetSize(), Byte() % 4, 0, 96);
        C->DrawNativeObject(r, key, TcxCanvasNativeDrawProc([](TcxCanvas* ACanvas, const TRect& R) {
                              ACanvas->FillRect(R, clRed);
                            }));
        break;
      }
      case 22: C->FrameRect(Rect(), Color(), Width()); break;
      default: C->Ellipse(RectF(), brush.get(), pen.get()); break;
    }
  }

  void DrawPath(TFuzzDirect2DCanvas* C, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) {
    const TOwned<TcxCanvasBasedPath> path = C->CreatePath();
    for (int steps = Byte() % 6; steps > 0; --steps) {
      switch (Byte() % 4) {
        case 0: {
          const TdxRectF r = RectF();
          const float start = Angle();
          path->AddArc(r, start, Angle());
          break;
        }
        case 1: {
          std::vector<TdxPointF> points;
          for (const TPoint& p : Points()) points.emplace_back(static_cast<float>(p.X), static_cast<float>(p.Y));
          path->AddPolyline(points);
          break;
        }
        case 2: path->FigureClose(); break;
        default: path->FigureStart(); break;
      }
    }
    C->Path(path.get(), ABrush, APen);
  }

  void DrawText(TFuzzDirect2DCanvas* C) {
    const TOwned<TcxCanvasBasedTextLayout> layout = C->CreateTextLayout();
    layout->SetFont(FTarget.Font());
    String text;
    for (int length = Byte() % 24; length > 0; --length) text += static_cast<wchar_t>(32 + Byte() % 95);
    layout->SetText(text);
    layout->SetFlags(static_cast<std::uint32_t>(Byte()) | static_cast<std::uint32_t>(Byte()) << 8 |
                     (Byte() % 2 ? cxtoRTLReading : 0u));
    layout->SetLayoutConstraints(Byte() % 80, Byte() % 40, Byte() % 4);
    layout->SetColor(Color());
    layout->Draw(Rect());
  }

  const std::string& FInput;
  std::size_t FAt = 0;
  TFuzzDirect2DTarget& FTarget;
};

}  // namespace

namespace {
std::optional<TFuzzDirect2DTarget>& FuzzDirect2DTarget() {
  static std::optional<TFuzzDirect2DTarget> target;
  return target;
}
}  // namespace

void Direct2DCanvasScript(const std::string& AInput) {
  std::optional<TFuzzDirect2DTarget>& target = FuzzDirect2DTarget();
  if (!target) target.emplace();
  TDirect2DCanvasScript(AInput, *target).Run();
}

void Direct2DCanvasFuzzDone() { FuzzDirect2DTarget().reset(); }

std::vector<std::string> Direct2DCanvasSeeds() {
  const auto op = [](int ACode, const std::string& AArgs) {
    // Each operation first takes a brush (two bytes) and a pen (four).
    return std::string(1, static_cast<char>(ACode)) + std::string("\x01\x01\x01\xFF\x02\x01", 6) + AArgs;
  };
  return {
      op(0, "\x60\x60\x80\x80\x01\xFF") + op(1, "\x62\x62\x90\x90\x01\x80\x01\xFF\x01\x02") +
          op(2, "\x60\x60\x90\x80\x01\xFF\x01\xFF\x02\x01") + op(3, "\x60\x60\x9F\x9F\x01\xFF\x02\x01"),
      op(10, "") + op(12, "\x64\x64\x80\x80") + op(7, "\x60\x60\x90\x90\x0A\x1E") + op(11, "") +
          op(8, "\x60\x60\x90\x90\x05\x28\x32") + op(13, "") + op(18, "\x64\x64") + op(15, "\x02\x03\x64\x64") +
          op(9, "\x03\x00\x60\x60\x90\x90\x00\x1E\x01\x03\x60\x60\x70\x70\x80\x60\x02") + op(14, ""),
      op(20, "\x0A" + std::string("Some text!") + "\x00\x01\x00\x40\x20\x02\x01\xFF\x60\x60\xA0\x80") +
          op(21, "\x60\x60\x70\x70\x01") + op(21, "\x60\x60\x70\x70\x01") +
          op(19, "\x60\x60\x90\x70\x01\xFF\x01\x80\x02") + op(6, "\x60\x60\x90\x90\x60\x70\x90\x70\x01\xFF\x01\x00"),
  };
}
