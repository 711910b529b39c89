// The GDI canvas: the wrapped class-library canvas, its state and clip-region
// stacks, frames, fills and the shapes that set pen and brush in one step.
//
// A saved device-context level holds the objects the context had before the
// canvas selected its own (the canvas takes them out first), so a restore
// never leaves the context holding a font, pen or brush that the canvas has
// since replaced and deleted; the canvas selects its objects again when it
// next draws.
#include "library/graphics/canvas/cxGraphics.h"

#include "platform/classes/ClassErrors.h"
#include "platform/ui/Controls.h"

#include <algorithm>

namespace {

// A device context without a clip region counts as clipped to this.
constexpr TRect NoClipRegionBounds(0, 0, 30000, 30000);

// The strips of a frame ALineWidth wide inside R, for the sides in
// ABorders, in the order left, right, top, bottom; corners belong to both
// adjacent strips.
std::vector<TRect> FrameStrips(const TRect& R, int ALineWidth, TcxBorders ABorders) {
  std::vector<TRect> strips;
  if (ABorders.Contains(bLeft)) strips.emplace_back(R.Left, R.Top, std::min(R.Left + ALineWidth, R.Right), R.Bottom);
  if (ABorders.Contains(bRight)) strips.emplace_back(std::max(R.Right - ALineWidth, R.Left), R.Top, R.Right, R.Bottom);
  if (ABorders.Contains(bTop)) strips.emplace_back(R.Left, R.Top, R.Right, std::min(R.Top + ALineWidth, R.Bottom));
  if (ABorders.Contains(bBottom))
    strips.emplace_back(R.Left, std::max(R.Bottom - ALineWidth, R.Top), R.Right, R.Bottom);
  return strips;
}

// Division rounding toward minus infinity, so that a tile grid anchored at
// 0 also covers negative coordinates.
int FloorDiv(int A, int B) { return A / B - ((A % B != 0) && ((A < 0) != (B < 0)) ? 1 : 0); }

}  // namespace

// ---------------------------------------------------------------------------
// Construction and the wrapped canvas

void TcxCanvas::Create(TCanvas* ACanvas) {
  inherited::Create();
  FCanvas = ACanvas;
}

void TcxCanvas::Destroy() {
  FCanvas = nullptr;
  FSavedStates.clear();
  FSavedRegions.clear();
  FSavedDCs.clear();
  inherited::Destroy();
}

HDC TcxCanvas::Handle() {
  if (!FCanvas) throw EInvalidOperation(L"Die Zeichenfläche erlaubt kein Zeichnen");
  return FCanvas->Handle();
}

void TcxCanvas::SetCanvas(TCanvas* AValue) { FCanvas = AValue; }

bool TcxCanvas::GetControlRightToLeft() {
  const auto* canvas = dynamic_cast<const TControlCanvas*>(FCanvas);
  return canvas && canvas->Control() && canvas->Control()->UseRightToLeftAlignment();
}

int TcxCanvas::DpiX() { return GetDeviceCaps(Handle(), LOGPIXELSX); }

int TcxCanvas::DpiY() { return GetDeviceCaps(Handle(), LOGPIXELSY); }

// ---------------------------------------------------------------------------
// Forwarded operations

void TcxCanvas::AngleArc(int X, int Y, DWORD ARadius, float AStartAngle, float ASweepAngle) {
  ::AngleArc(Handle(), X, Y, ARadius, AStartAngle, ASweepAngle);
}

void TcxCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  FCanvas->Arc(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TcxCanvas::ArcTo(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  ::ArcTo(Handle(), X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TcxCanvas::BeginPath() { ::BeginPath(Handle()); }

void TcxCanvas::EndPath() { ::EndPath(Handle()); }

void TcxCanvas::WidenPath() { ::WidenPath(Handle()); }

void TcxCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  FCanvas->Chord(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TcxCanvas::Ellipse(int X1, int Y1, int X2, int Y2) { FCanvas->Ellipse(X1, Y1, X2, Y2); }

void TcxCanvas::Ellipse(const TRect& R) { FCanvas->Ellipse(R); }

void TcxCanvas::FloodFill(int X, int Y, TColor AColor, TFillStyle AFillStyle) {
  FCanvas->FloodFill(X, Y, AColor, AFillStyle);
}

void TcxCanvas::LineTo(int X, int Y) { FCanvas->LineTo(X, Y); }

void TcxCanvas::MoveTo(int X, int Y) { FCanvas->MoveTo(X, Y); }

void TcxCanvas::PolyBezier(std::span<const TPoint> APoints) { FCanvas->PolyBezier(APoints); }

void TcxCanvas::PolyBezierTo(std::span<const TPoint> APoints) {
  ::PolyBezierTo(Handle(), reinterpret_cast<const POINT*>(APoints.data()), static_cast<DWORD>(APoints.size()));
}

void TcxCanvas::Polygon(std::span<const TPoint> APoints) { FCanvas->Polygon(APoints); }

void TcxCanvas::Polyline(std::span<const TPoint> APoints) { FCanvas->Polyline(APoints); }

void TcxCanvas::Rectangle(const TRect& R) { FCanvas->Rectangle(R); }

void TcxCanvas::Rectangle(int X1, int Y1, int X2, int Y2) { FCanvas->Rectangle(X1, Y1, X2, Y2); }

void TcxCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) { FCanvas->RoundRect(X1, Y1, X2, Y2, X3, Y3); }

void TcxCanvas::RoundRect(const TRect& R, int CX, int CY) { FCanvas->RoundRect(R, CX, CY); }

void TcxCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  FCanvas->Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TcxCanvas::SetPixel(int X, int Y, TColor AColor) { FCanvas->SetPixels(X, Y, AColor); }

void TcxCanvas::OffsetClipRegion(int AOffsetX, int AOffsetY) { OffsetClipRgn(Handle(), AOffsetX, AOffsetY); }

void TcxCanvas::Line(const TPoint& P1, const TPoint& P2) { Line(P1.X, P1.Y, P2.X, P2.Y); }

void TcxCanvas::Line(int X1, int Y1, int X2, int Y2) {
  MoveTo(X1, Y1);
  LineTo(X2, Y2);
}

// ---------------------------------------------------------------------------
// Pies

void TcxCanvas::Pie(const TRect& R, const TPoint& ARadial1, const TPoint& ARadial2) {
  Pie(R.Left, R.Top, R.Right, R.Bottom, ARadial1.X, ARadial1.Y, ARadial2.X, ARadial2.Y);
}

void TcxCanvas::Pie(const TRect& R, int AStartAngle, int ASweepAngle) {
  if (R.IsEmpty() || ASweepAngle == 0) return;
  TdxPointF start;
  TdxPointF finish;
  GetEllipseArcPoints(TdxRectF(R), static_cast<float>(AStartAngle), static_cast<float>(ASweepAngle), start, finish);
  if (start == finish && ASweepAngle <= 180) return;
  Pie(R, static_cast<TPoint>(start), static_cast<TPoint>(finish));
}

// ---------------------------------------------------------------------------
// Brushes and view parameters

void TcxCanvas::SetBrushColor(TColor AValue) {
  if (AValue == clNone) {
    Brush()->SetStyle(bsClear);
  } else {
    Brush()->SetStyle(bsSolid);
    Brush()->SetColor(AValue);
  }
}

void TcxCanvas::GetParams(TcxViewParams& AParams) {
  AParams.Color = Brush()->Color();
  AParams.Font = Font();
  AParams.TextColor = Font()->Color();
}

void TcxCanvas::SetParams(const TcxViewParams& AParams) {
  SetBrushColor(AParams.Color);
  if (AParams.Font) Font()->Assign(AParams.Font);
  Font()->SetColor(AParams.TextColor);
}

void TcxCanvas::AssignPen(TColor AColor, TPenStyle AStyle, int AWidth) {
  Pen()->SetColor(AColor);
  Pen()->SetStyle(AColor == clNone ? psClear : AStyle);
  Pen()->SetWidth(AWidth);
}

// ---------------------------------------------------------------------------
// Fills

void TcxCanvas::FillRect(const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  if (AColor != clDefault) SetBrushColor(AColor);
  FCanvas->FillRect(R);
}

void TcxCanvas::FillRect(const TRect& R, TBitmap* ABitmap, bool AExcludeRect) {
  if (R.IsEmpty()) return;
  if (ABitmap && !ABitmap->Empty()) {
    const int w = ABitmap->Width();
    const int h = ABitmap->Height();
    for (int row = FloorDiv(R.Top, h); row <= FloorDiv(R.Bottom - 1, h); ++row)
      for (int column = FloorDiv(R.Left, w); column <= FloorDiv(R.Right - 1, w); ++column) {
        TRect tile = Bounds(column * w, row * h, w, h);
        tile.Intersect(R);
        TRect source = tile;
        source.Offset(-column * w, -row * h);
        FCanvas->CopyRect(tile, ABitmap->Canvas(), source);
      }
  } else {
    FCanvas->FillRect(R);
  }
  if (AExcludeRect) SetClipRegion(New<TcxRegion>(R), roSubtract, true, true);
}

void TcxCanvas::FillRect(const TRect& R, const TcxViewParams& AParams, bool AExcludeRect) {
  SetBrushColor(AParams.Color);
  FillRect(R, AParams.Bitmap, AExcludeRect);
}

void TcxCanvas::FillRegion(TcxRegion* ARegion, TColor AColor) { FillRegion(ARegion->Handle(), AColor); }

void TcxCanvas::FillRegion(HRGN ARegion, TColor AColor) {
  if (AColor == clNone) return;
  SetBrushColor(AColor);
  FillRgn(Handle(), ARegion, Brush()->Handle());
}

void TcxCanvas::FrameRegion(TcxRegion* ARegion, TColor AColor, int ABorderWidth, int ABorderHeight) {
  FrameRegion(ARegion->Handle(), AColor, ABorderWidth, ABorderHeight);
}

void TcxCanvas::FrameRegion(HRGN ARegion, TColor AColor, int ABorderWidth, int ABorderHeight) {
  if (AColor == clNone) return;
  SetBrushColor(AColor);
  FrameRgn(Handle(), ARegion, Brush()->Handle(), ABorderWidth, ABorderHeight);
}

void TcxCanvas::DrawRegion(TcxRegion* ARegion, TColor AContentColor, TColor ABorderColor, int ABorderWidth,
                           int ABorderHeight) {
  DrawRegion(ARegion->Handle(), AContentColor, ABorderColor, ABorderWidth, ABorderHeight);
}

void TcxCanvas::DrawRegion(HRGN ARegion, TColor AContentColor, TColor ABorderColor, int ABorderWidth,
                           int ABorderHeight) {
  FillRegion(ARegion, AContentColor);
  FrameRegion(ARegion, ABorderColor, ABorderWidth, ABorderHeight);
}

// ---------------------------------------------------------------------------
// Frames

void TcxCanvas::FrameRect(const TRect& R, TColor AColor, int ALineWidth, TcxBorders ABorders) {
  FrameRect(R, AColor, ALineWidth, ABorders, false);
}

void TcxCanvas::FrameRect(const TRect& R, TColor AColor, int ALineWidth, TcxBorders ABorders, bool AExcludeFrame) {
  if (R.IsEmpty() || AColor == clNone) return;
  if (AColor != clDefault) SetBrushColor(AColor);
  for (const TRect& strip : FrameStrips(R, ALineWidth, ABorders)) FillRect(strip, nullptr, AExcludeFrame);
}

void TcxCanvas::FrameRect(const TRect& R) { FrameRect(R, clDefault, 1, cxBordersAll()); }

void TcxCanvas::ExcludeFrameRect(const TRect& R, int ALineWidth, TcxBorders ABorders) {
  for (const TRect& strip : FrameStrips(R, ALineWidth, ABorders)) ExcludeClipRect(strip);
}

void TcxCanvas::Rectangle(const TRect& R, const TcxViewParams& AParams, TcxBorders ABorders, TColor ABorderColor,
                          int ALineWidth, bool AExcludeRect) {
  TRect content = R;
  if (!ABorders.Empty()) {
    FrameRect(R, ABorderColor, ALineWidth, ABorders, AExcludeRect);
    if (ABorders.Contains(bLeft)) content.Left += ALineWidth;
    if (ABorders.Contains(bTop)) content.Top += ALineWidth;
    if (ABorders.Contains(bRight)) content.Right -= ALineWidth;
    if (ABorders.Contains(bBottom)) content.Bottom -= ALineWidth;
  }
  FillRect(content, AParams, AExcludeRect);
}

void TcxCanvas::InvertRect(const TRect& R) {
  SetCopyMode(DSTINVERT);
  FCanvas->CopyRect(R, FCanvas, R);
  SetCopyMode(SRCCOPY);
}

void TcxCanvas::InvertFrame(const TRect& R, int ABorderSize) {
  InvertRect(TRect(R.Left, R.Top, R.Left + ABorderSize, R.Bottom));
  InvertRect(TRect(R.Right - ABorderSize, R.Top, R.Right, R.Bottom));
  InvertRect(TRect(R.Left + ABorderSize, R.Top, R.Right - ABorderSize, R.Top + ABorderSize));
  InvertRect(TRect(R.Left + ABorderSize, R.Bottom - ABorderSize, R.Right - ABorderSize, R.Bottom));
}

void TcxCanvas::DrawFocusRect(const TRect& R) {
  const TcxCanvasStateScope state(this);
  SetBrushColor(clWhite);
  Font()->SetColor(clBlack);
  // The focus pattern takes the text colour: the font must be in.
  Handle();
  FCanvas->DrawFocusRect(R);
}

void TcxCanvas::DrawFocusRectEx(const TRect& R, TcxBorders ABorders, bool AExclude) {
  if (ABorders.Empty()) return;
  {
    const TcxClipRegionScope clip(this);
    ExcludeFrameRect(R, 1, cxBordersAll() - ABorders);
    DrawFocusRect(R);
  }
  if (AExclude) ExcludeFrameRect(R, 1, ABorders);
}

void TcxCanvas::DrawDesignSelection(const TRect& ARect, int AWidth) {
  TRect r = ARect;
  for (int i = 0; i < AWidth; ++i) {
    DrawFocusRect(r);
    r.Inflate(-1, -1);
  }
}

// ---------------------------------------------------------------------------
// Shapes

void TcxCanvas::Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TColor AColor,
                    int APenWidth, TPenStyle APenStyle) {
  AssignPen(AColor, APenStyle, APenWidth);
  if (APenStyle == psSolid)
    FCanvas->Arc(AEllipse.Left, AEllipse.Top, AEllipse.Right, AEllipse.Bottom, AStartPoint.X, AStartPoint.Y,
                 AEndPoint.X, AEndPoint.Y);
  else
    inherited::Arc(AEllipse, AStartPoint, AEndPoint, AColor, APenWidth, APenStyle);
}

void TcxCanvas::Ellipse(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle, int APenWidth) {
  AssignPen(APenColor, APenStyle, APenWidth);
  SetBrushColor(ABrushColor);
  FCanvas->Ellipse(R);
}

void TcxCanvas::Polygon(std::span<const TPoint> P, TColor ABrushColor, TColor APenColor) {
  AssignPen(APenColor, psSolid, 1);
  SetBrushColor(ABrushColor);
  FCanvas->Polygon(P);
}

void TcxCanvas::Polyline(std::span<const TPoint> P, TColor AColor, int APenWidth, TPenStyle APenStyle) {
  AssignPen(AColor, APenStyle, APenWidth);
  FCanvas->Polyline(P);
}

void TcxCanvas::Rectangle(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle, int APenWidth) {
  AssignPen(APenColor, APenStyle, APenWidth);
  SetBrushColor(ABrushColor);
  FCanvas->Rectangle(R);
}

// ---------------------------------------------------------------------------
// Clip regions

TOwned<TcxRegion> TcxCanvas::GetClipRegion(bool AConsiderOrigin) {
  TOwned<TcxRegion> result(New<TcxRegion>());
  if (GetClipRgn(Handle(), result->Handle()) == 0) result->Combine(NoClipRegionBounds, roSet);
  if (AConsiderOrigin) result->Offset(-DCOrigin());
  return result;
}

void TcxCanvas::SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion,
                              bool AConsiderOrigin) {
  const TOwned<TcxRegion> owned(ADestroyRegion ? ARegion : nullptr);
  if (AOperation != roSet) {
    TOwned<TcxRegion> clip = GetClipRegion(AConsiderOrigin);
    clip->Combine(ARegion, AOperation, false);
    SetClipRegion(clip.release(), roSet, true, AConsiderOrigin);
    return;
  }
  if (!ARegion) {
    SelectClipRgn(Handle(), nullptr);
    return;
  }
  const TPoint origin = AConsiderOrigin ? DCOrigin() : TPoint();
  ARegion->Offset(origin);
  SelectClipRgn(Handle(), ARegion->Handle());
  if (!ADestroyRegion) ARegion->Offset(-origin);
}

void TcxCanvas::SaveClipRegion() { FSavedRegions.push_back(GetClipRegion(true)); }

void TcxCanvas::RestoreClipRegion() {
  if (FSavedRegions.empty()) return;
  TOwned<TcxRegion> region = std::move(FSavedRegions.back());
  FSavedRegions.pop_back();
  SetClipRegion(region.release(), roSet, true, true);
}

bool TcxCanvas::RectFullyVisible(const TRect& R) {
  const TOwned<TcxRegion> clip = GetClipRegion(true);
  const TOwned<TcxRegion> rect(New<TcxRegion>(R));
  clip->Combine(rect.get(), roIntersect, false);
  // The last pixel of a half-open rectangle is (Right - 1, Bottom - 1).
  return clip->IsEqual(rect.get()) && PtVisible(Handle(), R.Left, R.Top) &&
         PtVisible(Handle(), R.Right - 1, R.Bottom - 1);
}

TOwned<TcxRegion> TcxCanvas::PathToRegion(bool AConsiderOrigin) {
  TOwned<TcxRegion> result(New<TcxRegion>(::PathToRegion(Handle())));
  if (AConsiderOrigin) result->Offset(-DCOrigin());
  return result;
}

// ---------------------------------------------------------------------------
// Device-context and canvas states

void TcxCanvas::SaveDC() {
  FCanvas->Lock();
  // The class-library objects stay out of the saved state, so that a restore
  // cannot bring back a font or brush deleted in between; selecting them
  // only to take them out again costs a font realization each time.
  const HDC handle = FCanvas->HandleAllocated() ? FCanvas->CurrentHandle() : Handle();
  FCanvas->Refresh();
  FSavedDCs.push_back({handle, ::SaveDC(handle)});
}

void TcxCanvas::RestoreDC() {
  if (FSavedDCs.empty()) return;
  const TcxDCState state = FSavedDCs.back();
  FSavedDCs.pop_back();
  TryFinally(
      [&] {
        if (FCanvas->CurrentHandle() != state.Handle) FCanvas->SetHandle(state.Handle);
        FCanvas->Refresh();
        ::RestoreDC(state.Handle, state.State);
      },
      [&] { FCanvas->Unlock(); });
}

void TcxCanvas::SaveState() {
  SaveDC();
  TcxCanvasState state;
  state.Font.reset(New<TFont>());
  state.Font->Assign(Font());
  state.Brush.reset(New<TBrush>());
  state.Brush->Assign(Brush());
  state.Pen.reset(New<TPen>());
  state.Pen->Assign(Pen());
  state.UseRightToLeftAlignment = StoredRightToLeftAlignment();
  state.TextFlags = TextFlags();
  FSavedStates.push_back(std::move(state));
}

void TcxCanvas::RestoreState() {
  if (FSavedStates.empty()) return;
  TcxCanvasState state = std::move(FSavedStates.back());
  FSavedStates.pop_back();
  SetTextFlags(state.TextFlags);
  SetStoredRightToLeftAlignment(state.UseRightToLeftAlignment);
  Font()->Assign(state.Font.get());
  state.Font.reset();
  Brush()->Assign(state.Brush.get());
  state.Brush.reset();
  Pen()->Assign(state.Pen.get());
  state.Pen.reset();
  RestoreDC();
}
