// TdxGPCanvas: the shapes. Each shape is a small figure that knows how to
// fill and outline itself on the graphics object; the three argument styles
// (GDI colours, alpha colours, objects) only choose the brush and the pen.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <span>

using namespace Gdiplus;

namespace {

// ---------------------------------------------------------------------------
// Argument styles

// The alpha-colour style: the resource manager's cached pen, when it gives one.
template <class TFigure, class TStyle>
void OutlineWithColor(const TFigure& AFigure, TdxAlphaColor APenColor, float APenWidth, TStyle APenStyle) {
  IPtr<IdxGPHandle> pen;
  if (TdxGPResourceManager::GetPen(APenColor, APenStyle, APenWidth, pen))
    AFigure.Outline(static_cast<GpPen*>(pen->GetNativeHandle()));
}

template <class TFigure, class TStyle>
void PaintWithColors(const TFigure& AFigure, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                     TStyle APenStyle) {
  IPtr<IdxGPHandle> brush;
  if (TdxGPResourceManager::GetSolidBrush(ABrushColor, brush))
    AFigure.Fill(static_cast<GpBrush*>(brush->GetNativeHandle()));
  OutlineWithColor(AFigure, APenColor, APenWidth, APenStyle);
}

// The object style: gradients and textures are laid over the shape's bounds.
template <class TFigure>
void PaintWithObjects(const TFigure& AFigure, const TdxRectF& ABounds, TdxGPCustomBrush* ABrush, TdxGPPen* APen) {
  if (ABrush) {
    ABrush->SetTargetRect(ABounds);
    AFigure.Fill(ABrush->GpHandle());
  }
  if (APen) {
    APen->SetTargetRect(ABounds);
    AFigure.Outline(APen->GpHandle());
  }
}

// The figure of a shape given by a TRect: Left, Top, Right - 1, Bottom - 1,
// so that a one-pixel outline stays inside the rectangle.
TdxRectF ShapeBounds(const TRect& R) {
  return TdxRectF(static_cast<float>(R.Left), static_cast<float>(R.Top), static_cast<float>(R.Right - 1),
                  static_cast<float>(R.Bottom - 1));
}

TdxRectF LineBounds(float X1, float Y1, float X2, float Y2) {
  return TdxRectF(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2));
}

template <class P>
std::span<const P> PointsOf(const P* APoints, int ACount) {
  return std::span<const P>(APoints, static_cast<std::size_t>(std::max(ACount, 0)));
}

// ---------------------------------------------------------------------------
// Figures. GDI+ counts angles clockwise, so theirs are negated here.

struct TdxGPEllipseFigure {
  GpGraphics* Graphics;
  TdxRectF R;
  void Fill(GpBrush* ABrush) const {
    CheckGdipStatus(GdipFillEllipse(Graphics, ABrush, R.Left, R.Top, R.Width(), R.Height()));
  }
  void Outline(GpPen* APen) const {
    CheckGdipStatus(GdipDrawEllipse(Graphics, APen, R.Left, R.Top, R.Width(), R.Height()));
  }
};

struct TdxGPRectangleFigure {
  GpGraphics* Graphics;
  TdxRectF R;
  void Fill(GpBrush* ABrush) const {
    CheckGdipStatus(GdipFillRectangle(Graphics, ABrush, R.Left, R.Top, R.Width(), R.Height()));
  }
  void Outline(GpPen* APen) const {
    CheckGdipStatus(GdipDrawRectangle(Graphics, APen, R.Left, R.Top, R.Width(), R.Height()));
  }
};

struct TdxGPPieFigure {
  GpGraphics* Graphics;
  TdxRectF R;
  float StartAngle;
  float SweepAngle;
  void Fill(GpBrush* ABrush) const {
    CheckGdipStatus(GdipFillPie(Graphics, ABrush, R.Left, R.Top, R.Width(), R.Height(), -StartAngle, -SweepAngle));
  }
  void Outline(GpPen* APen) const {
    CheckGdipStatus(GdipDrawPie(Graphics, APen, R.Left, R.Top, R.Width(), R.Height(), -StartAngle, -SweepAngle));
  }
};

struct TdxGPArcFigure {
  GpGraphics* Graphics;
  TdxRectF R;
  float StartAngle;
  float SweepAngle;
  void Outline(GpPen* APen) const {
    CheckGdipStatus(GdipDrawArc(Graphics, APen, R.Left, R.Top, R.Width(), R.Height(), -StartAngle, -SweepAngle));
  }
};

struct TdxGPLineFigure {
  GpGraphics* Graphics;
  float X1, Y1, X2, Y2;
  void Outline(GpPen* APen) const { CheckGdipStatus(GdipDrawLine(Graphics, APen, X1, Y1, X2, Y2)); }
};

struct TdxGPPathFigure {
  GpGraphics* Graphics;
  GpPath* Path;
  void Fill(GpBrush* ABrush) const { CheckGdipStatus(GdipFillPath(Graphics, ABrush, Path)); }
  void Outline(GpPen* APen) const { CheckGdipStatus(GdipDrawPath(Graphics, APen, Path)); }
};

// The point figures call the integer or the float GDI+ function by the point type.
const Gdiplus::Point* GdipPoints(std::span<const TPoint> APoints) {
  static_assert(sizeof(TPoint) == sizeof(Gdiplus::Point));
  return reinterpret_cast<const Gdiplus::Point*>(APoints.data());
}
const PointF* GdipPoints(std::span<const TdxPointF> APoints) {
  static_assert(sizeof(TdxPointF) == sizeof(PointF));
  return reinterpret_cast<const PointF*>(APoints.data());
}

GpStatus FillPolygon(GpGraphics* G, GpBrush* B, const Gdiplus::Point* P, INT N) { return GdipFillPolygonI(G, B, P, N, FillModeWinding); }
GpStatus FillPolygon(GpGraphics* G, GpBrush* B, const PointF* P, INT N) { return GdipFillPolygon(G, B, P, N, FillModeWinding); }
GpStatus DrawPolygon(GpGraphics* G, GpPen* A, const Gdiplus::Point* P, INT N) { return GdipDrawPolygonI(G, A, P, N); }
GpStatus DrawPolygon(GpGraphics* G, GpPen* A, const PointF* P, INT N) { return GdipDrawPolygon(G, A, P, N); }
GpStatus DrawLines(GpGraphics* G, GpPen* A, const Gdiplus::Point* P, INT N) { return GdipDrawLinesI(G, A, P, N); }
GpStatus DrawLines(GpGraphics* G, GpPen* A, const PointF* P, INT N) { return GdipDrawLines(G, A, P, N); }
GpStatus DrawCurve(GpGraphics* G, GpPen* A, const Gdiplus::Point* P, INT N) { return GdipDrawCurveI(G, A, P, N); }
GpStatus DrawCurve(GpGraphics* G, GpPen* A, const PointF* P, INT N) { return GdipDrawCurve(G, A, P, N); }

template <class P>
struct TdxGPPolygonFigure {
  GpGraphics* Graphics;
  std::span<const P> Points;
  INT Count() const { return static_cast<INT>(Points.size()); }
  void Fill(GpBrush* ABrush) const { CheckGdipStatus(FillPolygon(Graphics, ABrush, GdipPoints(Points), Count())); }
  void Outline(GpPen* APen) const { CheckGdipStatus(DrawPolygon(Graphics, APen, GdipPoints(Points), Count())); }
};

template <class P>
struct TdxGPPolylineFigure {
  GpGraphics* Graphics;
  std::span<const P> Points;
  void Outline(GpPen* APen) const {
    CheckGdipStatus(DrawLines(Graphics, APen, GdipPoints(Points), static_cast<INT>(Points.size())));
  }
};

template <class P>
struct TdxGPCurveFigure {
  GpGraphics* Graphics;
  std::span<const P> Points;
  void Outline(GpPen* APen) const {
    CheckGdipStatus(DrawCurve(Graphics, APen, GdipPoints(Points), static_cast<INT>(Points.size())));
  }
};

template <class P>
TdxGPPolygonFigure<P> PolygonFigure(GpGraphics* AGraphics, std::span<const P> APoints) {
  return {AGraphics, APoints};
}

template <class P>
void PolylineWithPen(GpGraphics* AGraphics, std::span<const P> APoints, TdxGPPen* APen) {
  if (!APen || APen->IsEmpty() || APoints.empty()) return;
  APen->SetTargetRect(GetPointsBounds(APoints));
  TdxGPPolylineFigure<P>{AGraphics, APoints}.Outline(APen->GpHandle());
}

}  // namespace

// ---------------------------------------------------------------------------
// Arcs and curves

void TdxGPCanvas::Arc(const TRect& R, float AStartAngle, float ASweepAngle, TColor APenColor, float APenWidth,
                      TPenStyle APenStyle, std::uint8_t APenColorAlpha) {
  Arc(R, AStartAngle, ASweepAngle, ColorToAlphaColor(APenColor, APenColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Arc(const TRect& R, float AStartAngle, float ASweepAngle, TdxAlphaColor APenColor, float APenWidth,
                      TPenStyle APenStyle) {
  OutlineWithColor(TdxGPArcFigure{Handle(), ShapeBounds(R), AStartAngle, ASweepAngle}, APenColor, APenWidth,
                   APenStyle);
}

void TdxGPCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
                      float APenWidth, TPenStyle APenStyle) {
  float startAngle = 0;
  float sweepAngle = 0;
  CalcArcAngles(ShapeBounds(AEllipse), AStartPoint, AEndPoint, startAngle, sweepAngle);
  Arc(AEllipse, startAngle, sweepAngle, AColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Curve(const std::vector<TPoint>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                        std::uint8_t APenColorAlpha) {
  Curve(APoints, ColorToAlphaColor(APenColor, APenColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Curve(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, float APenWidth,
                        TPenStyle APenStyle) {
  OutlineWithColor(TdxGPCurveFigure<TPoint>{Handle(), APoints}, APenColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Curve(const std::vector<TdxPointF>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                        std::uint8_t APenColorAlpha) {
  OutlineWithColor(TdxGPCurveFigure<TdxPointF>{Handle(), APoints}, ColorToAlphaColor(APenColor, APenColorAlpha),
                   APenWidth, APenStyle);
}

// ---------------------------------------------------------------------------
// Ellipses, pies and donut slices

void TdxGPCanvas::DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                             TdxGPCustomBrush* ABrush, TdxGPPen* APen) {
  // As the pie it becomes without a hole: no area, no slice.
  if (IsRectangleEmpty(R)) return;
  if (AWholePercent <= 0) {
    Pie(R, AStartAngle, ASweepAngle, ABrush, APen);
    return;
  }
  const float side = AWholePercent * std::min(R.Width(), R.Height()) / 100;
  const TdxRectF hole = GetCenteredRect(R, side, side);
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddArc(R.Left, R.Top, R.Width(), R.Height(), -AStartAngle, -ASweepAngle);
  path->AddArc(hole.Left, hole.Top, hole.Width(), hole.Height(), -AStartAngle - ASweepAngle, ASweepAngle);
  // Back to the outer start, so that the outline closes there.
  path->AddArc(R.Left, R.Top, R.Width(), R.Height(), -AStartAngle, 0.001f);
  Path(path.get(), APen, ABrush);
}

void TdxGPCanvas::Ellipse(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(TdxGPEllipseFigure{Handle(), ShapeBounds(R)}, ShapeBounds(R), ABrush, APen);
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(TdxGPEllipseFigure{Handle(), R}, R, ABrush, APen);
}

void TdxGPCanvas::Ellipse(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                          TPenStyle APenStyle) {
  PaintWithColors(TdxGPEllipseFigure{Handle(), ShapeBounds(R)}, APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                          TPenStyle APenStyle) {
  PaintWithColors(TdxGPEllipseFigure{Handle(), R}, APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Ellipse(const TRect& R, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
                          std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  Ellipse(R, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
          APenWidth, APenStyle);
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TColor APenColor, TColor ABrushColor, float APenWidth,
                          TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  Ellipse(R, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
          APenWidth, APenStyle);
}

void TdxGPCanvas::Pie(const TRect& R, float AStartAngle, float ASweepAngle, TColor APenColor, TColor ABrushColor,
                      float APenWidth, TPenStyle APenStyle, std::uint8_t APenColorAlpha,
                      std::uint8_t ABrushColorAlpha) {
  Pie(R, AStartAngle, ASweepAngle, ColorToAlphaColor(APenColor, APenColorAlpha),
      ColorToAlphaColor(ABrushColor, ABrushColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Pie(const TRect& R, float AStartAngle, float ASweepAngle, TdxAlphaColor APenColor,
                      TdxAlphaColor ABrushColor, float APenWidth, TPenStyle APenStyle) {
  PaintWithColors(TdxGPPieFigure{Handle(), ShapeBounds(R), AStartAngle, ASweepAngle}, APenColor, ABrushColor,
                  APenWidth, APenStyle);
}

void TdxGPCanvas::Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TdxGPCustomBrush* ABrush,
                      TdxGPPen* APen) {
  if (IsRectangleEmpty(R)) return;
  const TdxGPPieFigure pie{Handle(), R, AStartAngle, ASweepAngle};
  if (ABrush) pie.Fill(ABrush->GpHandle());
  if (APen) pie.Outline(APen->GpHandle());
}

// ---------------------------------------------------------------------------
// Lines, paths and polygons

void TdxGPCanvas::Line(int X1, int Y1, int X2, int Y2, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                       std::uint8_t APenColorAlpha) {
  Line(X1, Y1, X2, Y2, ColorToAlphaColor(APenColor, APenColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Line(int X1, int Y1, int X2, int Y2, TdxAlphaColor APenColor, float APenWidth, TPenStyle APenStyle) {
  Line(static_cast<float>(X1), static_cast<float>(Y1), static_cast<float>(X2), static_cast<float>(Y2), APenColor,
       APenWidth, APenStyle);
}

void TdxGPCanvas::Line(float X1, float Y1, float X2, float Y2, TdxAlphaColor APenColor, float APenWidth,
                       TPenStyle APenStyle) {
  OutlineWithColor(TdxGPLineFigure{Handle(), X1, Y1, X2, Y2}, APenColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Line(int X1, int Y1, int X2, int Y2, TdxGPPen* APen) {
  Line(static_cast<float>(X1), static_cast<float>(Y1), static_cast<float>(X2), static_cast<float>(Y2), APen);
}

void TdxGPCanvas::Line(float X1, float Y1, float X2, float Y2, TdxGPPen* APen) {
  // Without a pen GDI+ answers InvalidParameter.
  if (APen) APen->SetTargetRect(LineBounds(X1, Y1, X2, Y2));
  TdxGPLineFigure{Handle(), X1, Y1, X2, Y2}.Outline(APen ? APen->GpHandle() : nullptr);
}

void TdxGPCanvas::Path(TdxGPPath* APath, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  if (!APath) throw EdxGdipException(InvalidParameter);
  PaintWithObjects(TdxGPPathFigure{Handle(), APath->Handle()}, APath->GetBoundsF(), ABrush,
                   APen && !APen->IsEmpty() ? APen : nullptr);
}

void TdxGPCanvas::Path(TdxGPPath* APath, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                       TPenStyle APenStyle) {
  PaintWithColors(TdxGPPathFigure{Handle(), APath ? APath->Handle() : nullptr}, APenColor, ABrushColor, APenWidth,
                  APenStyle);
}

void TdxGPCanvas::Path(TdxGPPath* APath, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
                       std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  Path(APath, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
       APenWidth, APenStyle);
}

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TColor APenColor, TColor ABrushColor, float APenWidth,
                          TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  Polygon(APoints, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
          APenWidth, APenStyle);
}

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                          float APenWidth, TPenStyle APenStyle) {
  PaintWithColors(PolygonFigure<TPoint>(Handle(), APoints), APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                          float APenWidth, TdxGPPenStyle APenStyle) {
  PaintWithColors(PolygonFigure<TdxPointF>(Handle(), APoints), APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TColor APenColor, TColor ABrushColor,
                          float APenWidth, TPenStyle APenStyle, std::uint8_t APenColorAlpha,
                          std::uint8_t ABrushColorAlpha) {
  PaintWithColors(PolygonFigure<TdxPointF>(Handle(), APoints), ColorToAlphaColor(APenColor, APenColorAlpha),
                  ColorToAlphaColor(ABrushColor, ABrushColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(PolygonFigure<TPoint>(Handle(), APoints), GetPointsBounds(APoints), ABrush, APen);
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  Polygon(APoints.data(), static_cast<int>(APoints.size()), APen, ABrush);
}

void TdxGPCanvas::Polygon(const TdxPointF* APoints, int ACount, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  const std::span<const TdxPointF> points = PointsOf(APoints, ACount);
  PaintWithObjects(PolygonFigure(Handle(), points), GetPointsBounds(points), ABrush, APen);
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                           std::uint8_t APenColorAlpha) {
  Polyline(APoints, ColorToAlphaColor(APenColor, APenColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TColor APenColor, float APenWidth,
                           TPenStyle APenStyle, std::uint8_t APenColorAlpha) {
  Polyline(APoints, ColorToAlphaColor(APenColor, APenColorAlpha), APenWidth, APenStyle);
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, float APenWidth,
                           TPenStyle APenStyle) {
  OutlineWithColor(TdxGPPolylineFigure<TPoint>{Handle(), APoints}, APenColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor, float APenWidth,
                           TPenStyle APenStyle) {
  OutlineWithColor(TdxGPPolylineFigure<TdxPointF>{Handle(), APoints}, APenColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TdxGPPen* APen) {
  PolylineWithPen<TdxPointF>(Handle(), APoints, APen);
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TdxGPPen* APen) {
  PolylineWithPen<TPoint>(Handle(), APoints, APen);
}

void TdxGPCanvas::Polyline(const TdxPointF* APoints, int ACount, TdxGPPen* APen) {
  PolylineWithPen(Handle(), PointsOf(APoints, ACount), APen);
}

// ---------------------------------------------------------------------------
// Rectangles and regions

void TdxGPCanvas::DrawRectangle(const TdxRectF& R, TdxGPPen* APen) {
  // Without a pen GDI+ answers InvalidParameter.
  if (APen) APen->SetTargetRect(R);
  TdxGPRectangleFigure{Handle(), R}.Outline(APen ? APen->GpHandle() : nullptr);
}

void TdxGPCanvas::FillRectangle(const TdxRectF& R, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(TdxGPRectangleFigure{Handle(), R}, R, ABrush, nullptr);
}

void TdxGPCanvas::FillRectangle(const TRect& R, TdxGPCustomBrush* ABrush) { FillRectangle(TdxRectF(R), ABrush); }

void TdxGPCanvas::FillRectangle(const TdxRectF& R, TdxAlphaColor ABrushColor) {
  PaintWithColors(TdxGPRectangleFigure{Handle(), R}, TdxAlphaColors::Empty, ABrushColor, 0, psClear);
}

void TdxGPCanvas::FillRectangle(const TRect& R, TdxAlphaColor ABrushColor) { FillRectangle(TdxRectF(R), ABrushColor); }

void TdxGPCanvas::FillRectangleByGradient(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                          TdxGPBrushGradientMode AMode) {
  FillRectangleByGradient(TdxRectF(R), AColor1, AColor2, AMode);
}

void TdxGPCanvas::FillRectangleByGradient(const TdxRectF& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                          TdxGPBrushGradientMode AMode) {
  if (IsRectangleEmpty(R)) return;
  if (AColor1 == AColor2 || AColor2 == TdxAlphaColors::Default) {
    FillRectangle(R, AColor1);
    return;
  }
  // Laid one unit beyond the rectangle, so that its edges get the end colours unblended.
  const RectF area(R.Left - 1, R.Top - 1, R.Width() + 2, R.Height() + 2);
  GpLineGradient* gradient = nullptr;
  CheckGdipStatus(GdipCreateLineBrushFromRect(&area, AColor1, AColor2, static_cast<LinearGradientMode>(AMode),
                                              WrapModeTile, &gradient));
  const TdxGpOwnedBrush brush(gradient);
  TdxGPRectangleFigure{Handle(), R}.Fill(brush.Get());
}

void TdxGPCanvas::Rectangle(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                            TPenStyle APenStyle) {
  PaintWithColors(TdxGPRectangleFigure{Handle(), R}, APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Rectangle(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(TdxGPRectangleFigure{Handle(), R}, R, ABrush, APen);
}

void TdxGPCanvas::Rectangle(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  PaintWithObjects(TdxGPRectangleFigure{Handle(), ShapeBounds(R)}, ShapeBounds(R), ABrush, APen);
}

void TdxGPCanvas::Rectangle(const TRect& R, TColor APenColor, TColor ABrushColor, float APenWidth,
                            TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  Rectangle(R, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
            APenWidth, APenStyle);
}

void TdxGPCanvas::Rectangle(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                            TPenStyle APenStyle) {
  Rectangle(ShapeBounds(R), APenColor, ABrushColor, APenWidth, APenStyle);
}

void TdxGPCanvas::Region(TdxGPRegion* ARegion, TdxAlphaColor, TdxAlphaColor ABrushColor, float, TPenStyle) {
  IPtr<IdxGPHandle> brush;
  if (!TdxGPResourceManager::GetSolidBrush(ABrushColor, brush)) return;
  CheckGdipStatus(GdipFillRegion(Handle(), static_cast<GpBrush*>(brush->GetNativeHandle()),
                                 ARegion ? ARegion->Handle() : nullptr));
}

// ---------------------------------------------------------------------------
// Rounded rectangles

namespace {

TOwned<TdxGPPath> RoundRectPath(const TRect& R, int ARadiusX, int ARadiusY) {
  TOwned<TdxGPPath> result(New<TdxGPPath>());
  result->AddRoundRect(TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), ARadiusX, ARadiusY);
  return result;
}

}  // namespace

void TdxGPCanvas::RoundRect(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush, int ARadiusX, int ARadiusY) {
  Path(RoundRectPath(R, ARadiusX, ARadiusY).get(), APen, ABrush);
}

void TdxGPCanvas::RoundRect(const TRect& R, TColor APenColor, TColor ABrushColor, int ARadiusX, int ARadiusY,
                            float APenWidth, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha) {
  RoundRect(R, ColorToAlphaColor(APenColor, APenColorAlpha), ColorToAlphaColor(ABrushColor, ABrushColorAlpha),
            ARadiusX, ARadiusY, APenWidth);
}

void TdxGPCanvas::RoundRect(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, int ARadiusX,
                            int ARadiusY, float APenWidth) {
  Path(RoundRectPath(R, ARadiusX, ARadiusY).get(), APenColor, ABrushColor, APenWidth, psSolid);
}
