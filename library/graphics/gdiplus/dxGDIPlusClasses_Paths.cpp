#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cmath>

using namespace Gdiplus;

namespace {

static_assert(sizeof(TPoint) == sizeof(Gdiplus::Point) && sizeof(TdxPointF) == sizeof(PointF));
const Gdiplus::Point* AsGdip(const TPoint* APoints) { return reinterpret_cast<const Gdiplus::Point*>(APoints); }
const PointF* AsGdip(const TdxPointF* APoints) { return reinterpret_cast<const PointF*>(APoints); }
INT CountOf(const auto& AItems) { return static_cast<INT>(AItems.size()); }

GpPen* PenHandle(const TdxGPPen* APen) { return APen ? const_cast<TdxGPPen*>(APen)->GpHandle() : nullptr; }
GpStringFormat* FormatHandle(const TdxGPStringFormat* AFormat) { return AFormat ? AFormat->Handle() : nullptr; }
GpFontFamily* FamilyHandle(const TdxGPFontFamily* AFamily) { return AFamily ? AFamily->Handle() : nullptr; }

float ScreenLogPixelsY() {
  const TWindowDC screen(nullptr);
  return static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxGPPath

void TdxGPPath::Create(TdxGPFillMode AFillMode) {
  CheckGdipStatus(GdipCreatePath(static_cast<Gdiplus::FillMode>(AFillMode), FHandle.Receive()));
}

void TdxGPPath::Create(const std::vector<PointF>& APoints, const std::vector<BYTE>& APointTypes) {
  CheckGdipStatus(GdipCreatePath2(APoints.data(), APointTypes.data(), CountOf(APoints), FillModeAlternate,
                                  FHandle.Receive()));
}

void TdxGPPath::Assign(TdxGPPath* ASource) {
  if (ASource == this) return;
  TdxGpOwnedPath clone;
  CheckGdipStatus(GdipClonePath(ASource->Handle(), clone.Receive()));
  FHandle = std::move(clone);
}

TdxGPFillMode TdxGPPath::FillMode() const {
  Gdiplus::FillMode result = FillModeAlternate;
  CheckGdipStatus(GdipGetPathFillMode(Handle(), &result));
  return static_cast<TdxGPFillMode>(result);
}

void TdxGPPath::SetFillMode(TdxGPFillMode AValue) {
  CheckGdipStatus(GdipSetPathFillMode(Handle(), static_cast<Gdiplus::FillMode>(AValue)));
}

void TdxGPPath::FigureStart() { CheckGdipStatus(GdipStartPathFigure(Handle())); }
void TdxGPPath::FigureFinish() { CheckGdipStatus(GdipClosePathFigure(Handle())); }
void TdxGPPath::Reset() { CheckGdipStatus(GdipResetPath(Handle())); }

void TdxGPPath::Flatten(GpMatrix* AMatrix, float AFlatness) {
  CheckGdipStatus(GdipFlattenPath(Handle(), AMatrix, AFlatness));
}

void TdxGPPath::AddArc(float X, float Y, float AWidth, float AHeight, float AStartAngle, float ASweepAngle) {
  CheckGdipStatus(GdipAddPathArc(Handle(), X, Y, AWidth, AHeight, AStartAngle, ASweepAngle));
}

void TdxGPPath::AddPie(float X, float Y, float AWidth, float AHeight, float AStartAngle, float ASweepAngle) {
  CheckGdipStatus(GdipAddPathPie(Handle(), X, Y, AWidth, AHeight, AStartAngle, ASweepAngle));
}

void TdxGPPath::AddBezier(const TdxPointF& P1, const TdxPointF& P2, const TdxPointF& P3, const TdxPointF& P4) {
  CheckGdipStatus(GdipAddPathBezier(Handle(), P1.X, P1.Y, P2.X, P2.Y, P3.X, P3.Y, P4.X, P4.Y));
}

void TdxGPPath::AddEllipse(const TRect& R) {
  CheckGdipStatus(GdipAddPathEllipseI(Handle(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddEllipse(const TdxRectF& R) {
  CheckGdipStatus(GdipAddPathEllipse(Handle(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddLine(float X1, float Y1, float X2, float Y2) {
  CheckGdipStatus(GdipAddPathLine(Handle(), X1, Y1, X2, Y2));
}

void TdxGPPath::AddPath(TdxGPPath* APath, bool AConnect) {
  CheckGdipStatus(GdipAddPathPath(Handle(), APath->Handle(), AConnect));
}

void TdxGPPath::AddPolygon(const std::vector<TPoint>& APoints) {
  CheckGdipStatus(GdipAddPathPolygonI(Handle(), AsGdip(APoints.data()), CountOf(APoints)));
}

void TdxGPPath::AddPolygon(const std::vector<TdxPointF>& APoints) {
  CheckGdipStatus(GdipAddPathPolygon(Handle(), AsGdip(APoints.data()), CountOf(APoints)));
}

void TdxGPPath::AddPolyline(const std::vector<TPoint>& APoints) {
  CheckGdipStatus(GdipAddPathLine2I(Handle(), AsGdip(APoints.data()), CountOf(APoints)));
}

void TdxGPPath::AddPolyline(const std::vector<TdxPointF>& APoints) {
  AddPolyline(APoints.data(), CountOf(APoints));
}

void TdxGPPath::AddPolyline(const TdxPointF* APoints, int ACount) {
  CheckGdipStatus(GdipAddPathLine2(Handle(), AsGdip(APoints), ACount));
}

void TdxGPPath::AddRect(const TRect& R) {
  CheckGdipStatus(GdipAddPathRectangleI(Handle(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddRect(const TdxRectF& R) {
  CheckGdipStatus(GdipAddPathRectangle(Handle(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddRoundRect(const TRect& R, int ARadiusX, int ARadiusY) {
  AddRoundRect(TdxRectF(R), static_cast<float>(ARadiusX), static_cast<float>(ARadiusY));
}

void TdxGPPath::AddRoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) {
  const float rx = std::min(R.Width() / 3, ARadiusX);
  const float ry = std::min(R.Height() / 3, ARadiusY);
  FigureStart();
  if (rx > 0 && ry > 0 && std::abs(rx) > dxSingleTolerance && std::abs(ry) > dxSingleTolerance) {
    // GDI+ joins each segment to the next with a straight line.
    AddLine(R.Left + rx, R.Top, R.Right - 2 * rx, R.Top);
    AddArc(R.Right - 2 * rx, R.Top, 2 * rx, 2 * ry, 270, 90);
    AddLine(R.Right, R.Top + ry, R.Right, R.Bottom - 2 * ry);
    AddArc(R.Right - 2 * rx, R.Bottom - 2 * ry, 2 * rx, 2 * ry, 0, 90);
    AddLine(R.Right - 2 * rx, R.Bottom, R.Left + rx, R.Bottom);
    AddArc(R.Left, R.Bottom - 2 * ry, 2 * rx, 2 * ry, 90, 90);
    AddLine(R.Left, R.Bottom - 2 * ry, R.Left, R.Top + ry);
    AddArc(R.Left, R.Top, 2 * rx, 2 * ry, 180, 90);
  } else {
    AddRect(R);
  }
  FigureFinish();
}

void TdxGPPath::AddString(const String& AText, const TdxGPFont* AFont, const TdxRectF& ARect,
                          const TdxGPStringFormat* AFormat) {
  const float emSize = AFont->SizeInPoints() * ScreenLogPixelsY() / 72;
  AddString(AText, AFont->FontFamily(), AFont->Style(), emSize, ARect, AFormat);
}

void TdxGPPath::AddString(const String& AText, const TdxGPFont* AFont, const TdxPointF& AOrigin,
                          const TdxGPStringFormat* AFormat) {
  AddString(AText, AFont, TdxRectF(AOrigin.X, AOrigin.Y, AOrigin.X, AOrigin.Y), AFormat);
}

void TdxGPPath::AddString(const String& AText, TFont* AFont, float AEmSize, const TRect& ARect) {
  TdxGpOwnedStringFormat format;
  CheckGdipStatus(GdipCreateStringFormat(0, 0, format.Receive()));
  TdxGpOwnedFontFamily family;
  CheckGdipStatus(GdipCreateFontFamilyFromName(AFont->Name().c_str(), nullptr, family.Receive()));
  const Gdiplus::Rect layout(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipAddPathStringI(Handle(), AText.c_str(), CountOf(AText), family.Get(),
                                     GdipFontStyleFromFontStyles(AFont->Style()), AEmSize, &layout, format.Get()));
}

void TdxGPPath::AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                          const TdxPointF& AOrigin, const TdxGPStringFormat* AFormat) {
  AddString(AText, AFamily, AStyle, AEmSize, TdxRectF(AOrigin.X, AOrigin.Y, AOrigin.X, AOrigin.Y), AFormat);
}

void TdxGPPath::AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                          const TPoint& AOrigin, const TdxGPStringFormat* AFormat) {
  AddString(AText, AFamily, AStyle, AEmSize, TRect(AOrigin.X, AOrigin.Y, AOrigin.X, AOrigin.Y), AFormat);
}

void TdxGPPath::AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                          const TdxRectF& ALayoutRect, const TdxGPStringFormat* AFormat) {
  const RectF layout(ALayoutRect.Left, ALayoutRect.Top, ALayoutRect.Width(), ALayoutRect.Height());
  CheckGdipStatus(GdipAddPathString(Handle(), AText.c_str(), CountOf(AText), FamilyHandle(AFamily), AStyle, AEmSize,
                                    &layout, FormatHandle(AFormat)));
}

void TdxGPPath::AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                          const TRect& ALayoutRect, const TdxGPStringFormat* AFormat) {
  const Gdiplus::Rect layout(ALayoutRect.Left, ALayoutRect.Top, ALayoutRect.Width(), ALayoutRect.Height());
  CheckGdipStatus(GdipAddPathStringI(Handle(), AText.c_str(), CountOf(AText), FamilyHandle(AFamily), AStyle, AEmSize,
                                     &layout, FormatHandle(AFormat)));
}

TRect TdxGPPath::GetBounds(const TdxGPPen* APen) const {
  TRect result;
  CheckGdipStatus(TryGetBounds(result, APen));
  return result;
}

TdxRectF TdxGPPath::GetBoundsF(const TdxGPPen* APen) const {
  TdxRectF result;
  CheckGdipStatus(TryGetBoundsF(result, APen));
  return result;
}

GpStatus TdxGPPath::TryGetBounds(TRect& ARect, const TdxGPPen* APen) const {
  Gdiplus::Rect bounds;
  const GpStatus status = GdipGetPathWorldBoundsI(Handle(), &bounds, nullptr, PenHandle(APen));
  ARect = TRect(bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height);
  return status;
}

GpStatus TdxGPPath::TryGetBoundsF(TdxRectF& ARect, const TdxGPPen* APen) const {
  RectF bounds;
  const GpStatus status = GdipGetPathWorldBounds(Handle(), &bounds, nullptr, PenHandle(APen));
  ARect = TdxRectF(bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height);
  return status;
}

int TdxGPPath::GetPointCount() const {
  INT result = 0;
  CheckGdipStatus(GdipGetPointCount(Handle(), &result));
  return result;
}

bool TdxGPPath::IsPointInPath(const TPoint& P, const TdxGPCanvas* ACanvas) const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsVisiblePathPointI(Handle(), P.X, P.Y, GetGPCanvasHandle(ACanvas), &result));
  return result;
}

bool TdxGPPath::IsPointInPath(const TdxPointF& P, const TdxGPCanvas* ACanvas) const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsVisiblePathPoint(Handle(), P.X, P.Y, GetGPCanvasHandle(ACanvas), &result));
  return result;
}

bool TdxGPPath::IsPointInPathOutline(const TPoint& P, TdxGPPen* APen, const TdxGPCanvas* ACanvas) const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsOutlineVisiblePathPointI(Handle(), P.X, P.Y, PenHandle(APen), GetGPCanvasHandle(ACanvas), &result));
  return result;
}

bool TdxGPPath::IsPointInPathOutline(const TdxPointF& P, TdxGPPen* APen, const TdxGPCanvas* ACanvas) const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsOutlineVisiblePathPoint(Handle(), P.X, P.Y, PenHandle(APen), GetGPCanvasHandle(ACanvas), &result));
  return result;
}

bool TdxGPPath::IsPointInPathOutline(const TPoint& P, int APenWidth, const TdxGPCanvas* ACanvas) const {
  IPtr<IdxGPHandle> pen;
  if (!TdxGPResourceManager::GetPen(0xFFFF0000, DashStyleSolid, static_cast<float>(APenWidth), pen)) return false;
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsOutlineVisiblePathPointI(Handle(), P.X, P.Y, static_cast<GpPen*>(pen->GetNativeHandle()),
                                                 GetGPCanvasHandle(ACanvas), &result));
  return result;
}

void TdxGPPath::Transform(TdxGPMatrix* AMatrix) { CheckGdipStatus(GdipTransformPath(Handle(), AMatrix->GpHandle())); }

HRGN TdxGPPath::GetGdiRegionHandle(const TdxGPCanvas* ACanvas) const {
  const TOwned<TdxGPRegion> region(New<TdxGPRegion>(this));
  return region->GetGdiRegionHandle(ACanvas);
}

// ---------------------------------------------------------------------------
// TdxGPRegion

void TdxGPRegion::Create() { CheckGdipStatus(GdipCreateRegion(FHandle.Receive())); }

void TdxGPRegion::Create(GpPath* APath) { CheckGdipStatus(GdipCreateRegionPath(APath, FHandle.Receive())); }

void TdxGPRegion::Create(const TRect& ARect) {
  const Gdiplus::Rect rect(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipCreateRegionRectI(&rect, FHandle.Receive()));
}

void TdxGPRegion::Create(const TdxRectF& ARect) {
  const RectF rect(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipCreateRegionRect(&rect, FHandle.Receive()));
}

void TdxGPRegion::Create(GpRegion* ARegion, int) {
  CheckGdipStatus(GdipCloneRegion(ARegion, FHandle.Receive()));
}

void TdxGPRegion::CombineRegionPath(const TdxGPPath* APath, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipCombineRegionPath(Handle(), APath->Handle(), static_cast<CombineMode>(AMode)));
}

void TdxGPRegion::CombineRegionRect(const TRect& ARect, TdxGPCombineMode AMode) {
  const Gdiplus::Rect rect(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipCombineRegionRectI(Handle(), &rect, static_cast<CombineMode>(AMode)));
}

void TdxGPRegion::CombineRegionRect(const TdxRectF& ARect, TdxGPCombineMode AMode) {
  const RectF rect(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipCombineRegionRect(Handle(), &rect, static_cast<CombineMode>(AMode)));
}

void TdxGPRegion::CombineRegionRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode, bool AFreeRegion) {
  const TOwned<TdxGPRegion> owned(AFreeRegion ? ARegion : nullptr);
  CheckGdipStatus(GdipCombineRegionRegion(Handle(), ARegion->Handle(), static_cast<CombineMode>(AMode)));
}

void TdxGPRegion::CombineRegionRegion(HRGN ARegion, TdxGPCombineMode AMode, bool AFreeRegion) {
  const TOwnedRegion owned(AFreeRegion ? ARegion : nullptr);
  TdxGpOwnedRegion region;
  CheckGdipStatus(GdipCreateRegionHrgn(ARegion, region.Receive()));
  CheckGdipStatus(GdipCombineRegionRegion(Handle(), region.Get(), static_cast<CombineMode>(AMode)));
}

HRGN TdxGPRegion::GetGdiRegionHandle(const TdxGPCanvas* ACanvas) const {
  HRGN result = nullptr;
  CheckGdipStatus(GdipGetRegionHRgn(Handle(), GetGPCanvasHandle(ACanvas), &result));
  return result;
}

void TdxGPRegion::MakeEmpty() { CheckGdipStatus(GdipSetEmpty(Handle())); }
