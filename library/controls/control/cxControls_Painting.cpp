// The base control's painting: WM_PAINT and its double buffering, the
// backgrounds, the border, the non-client frame and invalidation.

#include "library/controls/control/cxControls_Internal.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include <vector>

namespace {

// The window's own device context with GetDCEx flags, for a scope.
class [[nodiscard]] TWindowDCEx {
 public:
  TWindowDCEx(HWND AWnd, DWORD AFlags) : FWnd(AWnd), FDC(GetDCEx(AWnd, nullptr, AFlags)) {}
  ~TWindowDCEx() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TWindowDCEx(const TWindowDCEx&) = delete;
  TWindowDCEx& operator=(const TWindowDCEx&) = delete;
  HDC Get() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
};

TOwnedRegion NewEmptyRegion() { return TOwnedRegion(CreateRectRgn(0, 0, 0, 0)); }

}  // namespace

// ---------------------------------------------------------------------------
// WM_PAINT

void TcxControl::WMPaint(TMessage& Message) {
  if (FJustTurnedOpaque) {
    OpaqueFill();
    DirectPaint(Message);
  } else if (TWMPaint(Message).DC() || !NeedsDoubleBuffering()) {
    DirectPaint(Message);
  } else if (IsGlassPainting() && IsCompositionEnabled()) {
    // Composed glass: the buffer keeps the alpha the glass shows through.
    PaintWindowInBeginPaint(FHandle, this, IsGlassPaintOpaque());
  } else {
    DoubleBufferedPaint(false);
  }
}

void TcxControl::DirectPaint(TMessage& Message) {
  const HDC given = TWMPaint(Message).DC();
  const TOwnedRegion region = NewEmptyRegion();
  // The update region is gone once BeginPaint has run.
  const bool hasUpdateRegion = !given && HasUpdateRegion(FHandle, region.Get());
  const TPaintScope paint(FHandle, given);
  const HDC dc = paint.DC();
  if (!dc) return;
  if (hasUpdateRegion) SelectClipRgn(dc, region.Get());
  const bool erase = !given && paint.Erase();

  std::vector<TControl*> graphicChildren;
  graphicChildren.reserve(ControlCount());
  for (int i = 0; i < ControlCount(); ++i)
    if (!Controls(i)->IsWindowed()) graphicChildren.push_back(Controls(i));

  TControlTracker alive(this);
  const auto paintSelf = [&] {
    if (erase) EraseBackgroundCore(dc);
    if (alive.Alive()) PaintWindow(dc);
  };
  if (graphicChildren.empty()) {
    paintSelf();
  } else {
    const TSavedDC saved(dc);
    int clip = SIMPLEREGION;
    for (TControl* child : graphicChildren) {
      const bool shown = child->Visible() ||
                         (IsDesigning() && !child->ControlStyle().Contains(csNoDesignVisible));
      if (!shown || !child->ControlStyle().Contains(csOpaque)) continue;
      const TRect r = child->BoundsRect();
      clip = ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) paintSelf();
  }
  if (alive.Alive()) PaintControls(dc, nullptr);
}

void TcxControl::DoubleBufferedPaint(bool AWholeClient) {
  const TOwnedRegion region = NewEmptyRegion();
  const bool hasUpdateRegion = HasUpdateRegion(FHandle, region.Get());
  const TPaintScope paint(FHandle);
  if (!paint.DC()) return;
  const TRect r = AWholeClient ? ClientRect() : TRect(paint.PaintRect());
  if (r.IsEmpty()) return;
  if (IsUnawareGdiScaled()) {
    PaintWindowBuffered(FHandle, paint.DC(), this, false, r);
    return;
  }
  // Only the invalid rectangle is buffered, and the update region clips
  // the buffer so that unchanged pixels are not painted again.
  const TMemoryDC buffer = TMemoryDC::Compatible(paint.DC(), r.Width(), r.Height());
  if (!buffer) return;
  SetWindowOrgEx(buffer.DC(), r.Left, r.Top, nullptr);
  if (hasUpdateRegion) {
    OffsetRgn(region.Get(), -r.Left, -r.Top);
    SelectClipRgn(buffer.DC(), region.Get());
  }
  const auto dc = reinterpret_cast<WPARAM>(buffer.DC());
  TControlTracker alive(this);
  Perform(WM_ERASEBKGND, dc, static_cast<LPARAM>(dc));
  if (!alive.Alive()) return;
  Perform(WM_PAINT, dc, 0);
  if (!alive.Alive()) return;
  BitBlt(paint.DC(), r.Left, r.Top, r.Width(), r.Height(), buffer.DC(), r.Left, r.Top, SRCCOPY);
}

void TcxControl::OpaqueFill() {
  {
    // Clipped to the siblings: an overlapping sibling keeps its pixels.
    const TWindowDCEx dc(FHandle, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS);
    RECT box{};
    const int kind = dc.Get() ? GetClipBox(dc.Get(), &box) : ERROR;
    if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
      TRect client = ClientRect();
      const TPoint origin = ClientOriginInWindow(FHandle);
      client.Offset(origin.X, origin.Y);
      const RECT r = client;
      FillRect(dc.Get(), &r, Brush()->Handle());
      FJustTurnedOpaque = false;
    }
  }
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
}

void TcxControl::Paint() {
  if (IsLoading()) return;
  if (TcxControlHelper::DrawLockedState(FCanvas.get(), this, this)) return;
  PaintControl();
}

void TcxControl::PaintWindow(HDC DC) {
  if (IsLoading()) return;
  const TSavedDC saved(DC);
  inherited::PaintWindow(DC);
}

void TcxControl::PaintControl() {
  if (!FActualCanvas) return;
  PaintScrollBars(FActualCanvas);
  if (FBorderStyle == cxcbsDefault) {
    PaintBorder(FActualCanvas);
    ClipToContent();
  }
}

void TcxControl::PaintBorder(TcxCustomCanvas* ACanvas) {
  if (TcxCustomLookAndFeelPainter* painter = ActivePainter()) painter->DrawBorder(ACanvas, Bounds());
}

int TcxControl::BorderThickness() {
  if (FBorderStyle != cxcbsDefault) return 0;
  TcxCustomLookAndFeelPainter* painter = ActivePainter();
  return painter ? painter->BorderSize() : 0;
}

void TcxControl::ClipToContent() {
  if (!FActualCanvas) return;
  TRect content = Bounds();
  const int border = BorderThickness();
  content.Inflate(-border, -border);
  TRect r = content;
  r.Intersect(ClientBounds());
  FActualCanvas->IntersectClipRect(r.IsEmpty() ? TRect() : r);
}

bool TcxControl::IsGlassPaintOpaque() {
  return FControlStyle.Contains(csPaintBlackOpaqueOnGlass) || BackgroundPaintKind() == 2;
}

// ---------------------------------------------------------------------------
// Backgrounds

void TcxControl::WMEraseBkgnd(TMessage& Message) {
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  // The system's own erase of the window is left to the paint pass.
  if (Message.WParam != static_cast<WPARAM>(Message.LParam) && WindowFromDC(dc) == FHandle) {
    Message.Result = 0;
    return;
  }
  EraseBackgroundCore(dc);
  Message.Result = 1;
}

void TcxControl::EraseBackgroundCore(HDC DC) {
  if (IsLoading() || IsDestroying() || BackgroundPaintKind() == 0) return;
  const TcxPaintCanvasScope paint(DC);
  DrawBackgroundContent(paint.Canvas(), ClientRect());
}

int TcxControl::BackgroundPaintKind() {
  if (HasTransparentBackground()) return 2;
  return PaintsOwnBackground() ? 1 : 0;
}

bool TcxControl::HasTransparentBackground() {
  return FTransparent || (Parent() && FControlStyle.Contains(csParentBackground));
}

void TcxControl::DrawBackgroundContent(TcxCanvas* ACanvas, const TRect& R) {
  switch (BackgroundPaintKind()) {
    case 1:
      FillBackground(ACanvas, R);
      break;
    case 2: {
      const TRect margins = GetNonClientMargins();
      TRect source = R;
      source.Offset(margins.Left, margins.Top);
      DrawParentBackgroundAt(this, ACanvas, source, R.TopLeft(), false);
      break;
    }
    default:
      break;
  }
}

void TcxControl::FillBackground(TcxCanvas* ACanvas, const TRect& R) {
  const RECT r = R;
  ::FillRect(ACanvas->Handle(), &r, Brush()->Handle());
}

// ---------------------------------------------------------------------------
// Non-client frame

void TcxControl::WMNCPaint(TMessage& Message) {
  DefaultHandler(Message);
  if (!UsesNonClientArea()) return;
  const TWindowDCEx dc(FHandle, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS);
  if (dc.Get()) PaintNonClientArea(dc.Get());
  Message.Result = 0;
}

void TcxControl::WMPrint(TMessage& Message) {
  DefaultHandler(Message);
  if ((Message.LParam & PRF_NONCLIENT) && UsesNonClientArea())
    PaintNonClientArea(reinterpret_cast<HDC>(Message.WParam));
}

void TcxControl::PaintNonClientArea(HDC DC) {
  const TSavedDC saved(DC);
  TRect client = ClientRect();
  const TPoint origin = ClientOriginInWindow(FHandle);
  client.Offset(origin.X, origin.Y);
  ExcludeClipRect(DC, client.Left, client.Top, client.Right, client.Bottom);
  const TRect margins = GetNonClientMargins();
  IntersectClipRect(DC, client.Left - margins.Left, client.Top - margins.Top, client.Right + margins.Right,
                    client.Bottom + margins.Bottom);
  RECT window{};
  GetWindowRect(FHandle, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const TMemoryDC buffer = TMemoryDC::Compatible(DC, width, height);
  if (!buffer) return;
  {
    const TcxPaintCanvasScope paint(buffer.DC());
    DrawNonClientArea(paint.Canvas());
  }
  BitBlt(DC, 0, 0, width, height, buffer.DC(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Invalidation

void TcxControl::Invalidate() { inherited::Invalidate(); }

void TcxControl::InvalidateRect(const TRect& R, bool AEraseBackground) {
  if (!HandleAllocated()) return;
  const RECT r = R;
  ::InvalidateRect(FHandle, &r, AEraseBackground);
}

void TcxControl::InvalidateRgn(HRGN ARegion, bool AEraseBackground) {
  RECT box{};
  if (!ARegion || GetRgnBox(ARegion, &box) == NULLREGION || !HandleAllocated()) return;
  ::InvalidateRgn(FHandle, ARegion, AEraseBackground);
}

void TcxControl::InvalidateWithChildren() {
  if (HandleAllocated()) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
}

void TcxControl::UpdateWithChildren() {
  if (HandleAllocated()) RedrawWindow(FHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TcxControl::CMInvalidate(TMessage& Message) {
  if (!HandleAllocated() || IsDestroying()) return;
  if (Parent()) Parent()->Perform(CM_INVALIDATE, 1, 0);
  if (Message.WParam != 0) return;
  ::InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
  if (!RedrawsOnResize()) return;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (child->IsWindowed() && (!child->ControlStyle().Contains(csOpaque) ||
                                child->ControlStyle().Contains(csParentBackground)))
      child->Invalidate();
  }
}
