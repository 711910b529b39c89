// Overlay main bars and grip: layered popups over the control in touch and
// hybrid modes, their models and painters, and the routines that own, stack
// and clip popups.
//
// Painting: a bar draws into a cleared 32-bit bitmap whose pixels GDI+ treats
// as premultiplied ARGB, so every fill keeps its alpha; UpdateLayeredWindow
// then takes the pixels as they are. The owner's visible region clips both
// the model's GDI drawing and the GDI+ drawing.

#include "library/controls/control/cxControls_Internal.h"

#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

TcxControlPopupScrollBar::TLayeredWindowUpdater& LayeredWindowUpdater() {
  static TcxControlPopupScrollBar::TLayeredWindowUpdater updater = [](HWND AWnd, HDC ABitmapDC, const TSize& ASize,
                                                                      BYTE AAlpha) {
    UpdateLayeredWindowFromBitmap(AWnd, ABitmapDC, ASize, AAlpha);
  };
  return updater;
}

// p × AMax / 100, rounded to the nearest integer, halves to even.
int PercentOf(int AMax, int APercent) { return static_cast<int>(std::nearbyint(AMax * APercent / 100.0)); }

// A GDI+ graphics object drawing straight into the premultiplied pixels of
// the 32-bit DIB selected into a DC, with that DC's clip and window origin.
// Without such a DIB it draws on the DC.
class TLayeredGraphics {
 public:
  explicit TLayeredGraphics(HDC DC) {
    GdiFlush();
    DIBSECTION dib{};
    const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(DC, OBJ_BITMAP));
    if (GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBitsPixel == 32 && dib.dsBm.bmBits) {
      const int stride = dib.dsBm.bmWidthBytes;
      const int height = std::abs(dib.dsBmih.biHeight);
      auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
      // A bottom-up DIB is a top-down image with a negative stride.
      const bool bottomUp = dib.dsBmih.biHeight > 0;
      GpBitmap* image = nullptr;
      CheckGdipStatus(GdipCreateBitmapFromScan0(dib.dsBm.bmWidth, height, bottomUp ? -stride : stride,
                                                PixelFormat32bppPARGB,
                                                bottomUp ? bits + static_cast<std::ptrdiff_t>(height - 1) * stride : bits,
                                                &image));
      FImage.Reset(image);
      CheckGdipStatus(GdipGetImageGraphicsContext(FImage.Get(), FGraphics.Receive()));
    } else {
      CheckGdipStatus(GdipCreateFromHDC(DC, FGraphics.Receive()));
    }
    // The clip is taken in device space, before the origin moves.
    TOwnedRegion clip(CreateRectRgn(0, 0, 0, 0));
    if (GetClipRgn(DC, clip.Get()) == 1) CheckGdipStatus(GdipSetClipHrgn(FGraphics.Get(), clip.Get(), Gdiplus::CombineModeReplace));
    POINT window{}, viewport{};
    GetWindowOrgEx(DC, &window);
    GetViewportOrgEx(DC, &viewport);
    CheckGdipStatus(GdipTranslateWorldTransform(FGraphics.Get(), static_cast<float>(viewport.x - window.x),
                                                static_cast<float>(viewport.y - window.y), Gdiplus::MatrixOrderPrepend));
  }
  GpGraphics* Get() const { return FGraphics.Get(); }

 private:
  TdxGpOwnedImage FImage;
  TdxGpOwnedGraphics FGraphics;
};

constexpr TcxScrollBarPart PaintOrder[] = {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown};

}  // namespace

// ---------------------------------------------------------------------------
// Models

void TcxCustomPopupScrollBarHelper::GetSize(TSize& ASize) {
  // Both modes lay the bar out at its full thickness; a hybrid bar only draws
  // part of it while collapsed.
  ASize = Is<TcxPopupScrollBarHelper>(this) ? GetTouchScrollBarSize(ScaleFactor())
                                            : GetHybridScrollBarSize(ScaleFactor(), true);
}

void TcxCustomPopupScrollBarHelper::Repaint() {
  if (TWinControl* bar = Owner() ? Owner()->GetControl() : nullptr) bar->Invalidate();
}

void TcxCustomPopupScrollBarHelper::InvalidateRect(const TRect&, bool) { Repaint(); }

TClass TcxPopupScrollBarHelper::GetPainterClass() { return TcxPopupScrollBarPainter::ClassInfo(); }

TClass TcxPopupScrollBarHelper::GetViewInfoClass() { return TcxPopupScrollBarViewInfo::ClassInfo(); }

TClass TdxHybridScrollBarHelper::GetPainterClass() { return TdxHybridScrollBarPainter::ClassInfo(); }

// ---------------------------------------------------------------------------
// Painters

TcxControlPopupScrollBar* TcxCustomPopupScrollBarPainter::Bar() const {
  IcxScrollBarOwner* owner = ScrollBar()->Owner();
  return owner ? dynamic_cast<TcxControlPopupScrollBar*>(owner->GetControl()) : nullptr;
}

void TcxCustomPopupScrollBarPainter::Paint(TcxCustomCanvas* ACanvas) {
  auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas);
  if (!canvas || !TdxGdiPlusLibrary::IsLoaded()) return;
  const TLayeredGraphics graphics(canvas->Handle());
  const TdxGPPaintCanvasScope paint(graphics.Get());
  DrawOverlayBackground(paint.Canvas(), ScrollBar()->BoundsRect());
  for (const TcxScrollBarPart part : PaintOrder) {
    const TcxScrollBarPartViewInfo* info = ScrollBar()->ViewInfo()->PartInfos(part);
    if (!info->Bounds().IsEmpty()) DrawOverlayPart(paint.Canvas(), info->Bounds(), info->State(), part);
  }
  if (ScrollBar()->Annotations() && !ScrollBar()->ViewInfo()->AnnotationInfosBounds().IsEmpty())
    DrawOverlayAnnotations(paint.Canvas());
}

void TcxPopupScrollBarPainter::DrawOverlayBackground(TdxGPCanvas* ACanvas, const TRect& R) {
  // Nearly transparent rather than transparent: the window still takes the
  // mouse where nothing shows.
  const bool hot = ScrollBar()->ViewInfo()->HotPart() != sbpNone;
  ACanvas->FillRectangle(R, ColorToAlphaColor(TrackColor, hot ? HotTrackAlpha : TrackAlpha));
}

void TcxPopupScrollBarPainter::DrawOverlayPart(TdxGPCanvas* ACanvas, const TRect& R, TcxButtonState,
                                               TcxScrollBarPart APart) {
  if (APart != sbpThumbnail) return;
  const TRect bounds = ScrollBar()->BoundsRect();
  TRect thumb = R;
  if (ScrollBar()->Kind() == sbVertical) {
    const int inset = bounds.Width() / 3;
    thumb.Left = bounds.Left + inset;
    thumb.Right = bounds.Right - inset;
  } else {
    const int inset = bounds.Height() / 3;
    thumb.Top = bounds.Top + inset;
    thumb.Bottom = bounds.Bottom - inset;
  }
  if (thumb.IsEmpty()) return;
  ACanvas->FillRectangle(thumb, ColorToAlphaColor(ThumbColor, ThumbAlpha));
  // The outline: the thumb's outermost pixels, each covered once.
  const TdxAlphaColor outline = ColorToAlphaColor(clWhite, ThumbOutlineAlpha);
  ACanvas->FillRectangle(TRect(thumb.Left, thumb.Top, thumb.Right, thumb.Top + 1), outline);
  if (thumb.Height() > 1) ACanvas->FillRectangle(TRect(thumb.Left, thumb.Bottom - 1, thumb.Right, thumb.Bottom), outline);
  if (thumb.Height() > 2) {
    ACanvas->FillRectangle(TRect(thumb.Left, thumb.Top + 1, thumb.Left + 1, thumb.Bottom - 1), outline);
    if (thumb.Width() > 1)
      ACanvas->FillRectangle(TRect(thumb.Right - 1, thumb.Top + 1, thumb.Right, thumb.Bottom - 1), outline);
  }
}

bool TdxHybridScrollBarPainter::Expanded() const {
  TcxControlPopupScrollBar* bar = Bar();
  return bar && bar->ScrollbarOwner() && bar->ScrollbarOwner()->HybridAnimatedBar() == bar;
}

TColor TdxHybridScrollBarPainter::BaseColor() const {
  TcxControlPopupScrollBar* bar = Bar();
  return bar && bar->ScrollbarOwner() ? ColorToRGB(bar->ScrollbarOwner()->HybridScrollBarBaseColor()) : clBlack;
}

TRect TdxHybridScrollBarPainter::VisiblePart(const TRect& R) const {
  TcxControlPopupScrollBar* bar = Bar();
  const TSize collapsed = GetHybridScrollBarSize(ScrollBar()->ScaleFactor(), false);
  TRect r = R;
  if (ScrollBar()->Kind() == sbVertical) {
    const int size = bar ? bar->VisibleSize() : collapsed.cx;
    // The far edge is the left one when the bar sits on the left.
    if (ScrollBar()->UseRightToLeft()) r.Right = r.Left + size;
    else r.Left = r.Right - size;
  } else {
    r.Top = r.Bottom - (bar ? bar->VisibleSize() : collapsed.cy);
  }
  return r;
}

void TdxHybridScrollBarPainter::DrawOverlayBackground(TdxGPCanvas* ACanvas, const TRect& R) {
  const TColor color = BaseColor();
  if (Expanded()) {
    const int percent = Bar() && Bar()->ScrollbarOwner() ? Bar()->ScrollbarOwner()->HybridVisibleSizePercent() : 0;
    ACanvas->FillRectangle(R, ColorToAlphaColor(color, static_cast<std::uint8_t>(PercentOf(22, percent))));
    return;
  }
  const TSize collapsed = GetHybridScrollBarSize(ScrollBar()->ScaleFactor(), false);
  TRect stripe = R;
  if (ScrollBar()->Kind() == sbVertical) {
    if (ScrollBar()->UseRightToLeft()) stripe.Right = stripe.Left + collapsed.cx;
    else stripe.Left = stripe.Right - collapsed.cx;
  } else {
    stripe.Top = stripe.Bottom - collapsed.cy;
  }
  ACanvas->FillRectangle(stripe, ColorToAlphaColor(color, 1));
}

void TdxHybridScrollBarPainter::DrawOverlayAnnotations(TdxGPCanvas* ACanvas) {
  // The collapsed stripe has no room for marks; while the bar grows they grow
  // with it across the bar, from its far edge.
  TcxControlPopupScrollBar* bar = Bar();
  if (!bar || !Expanded()) return;
  const bool vertical = ScrollBar()->Kind() == sbVertical;
  const TSize expanded = GetHybridScrollBarSize(ScrollBar()->ScaleFactor(), true);
  const float scale = static_cast<float>(bar->VisibleSize()) / static_cast<float>(vertical ? expanded.cx : expanded.cy);
  const TRect bounds = ScrollBar()->BoundsRect();
  const float farEdge = static_cast<float>(!vertical                       ? bounds.Bottom
                                           : ScrollBar()->UseRightToLeft() ? bounds.Left
                                                                           : bounds.Right);
  const auto across = [&](int ACoordinate) { return farEdge + (static_cast<float>(ACoordinate) - farEdge) * scale; };
  for (const auto& [kind, marks] : ScrollBar()->ViewInfo()->AnnotationInfos()->Infos()) {
    for (const auto& mark : marks) {
      const TRect r = mark->Bounds();
      TdxRectF f(r);
      if (vertical) {
        f.Left = std::min(across(r.Left), across(r.Right));
        f.Right = std::max(across(r.Left), across(r.Right));
      } else {
        f.Top = across(r.Top);
        f.Bottom = across(r.Bottom);
      }
      ACanvas->FillRectangle(f, mark->Color());
    }
  }
}

void TdxHybridScrollBarPainter::DrawOverlayPart(TdxGPCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                TcxScrollBarPart APart) {
  const TColor color = BaseColor();
  const bool vertical = ScrollBar()->Kind() == sbVertical;
  const bool expanded = Expanded();
  if (APart == sbpThumbnail) {
    const TRect thumb = VisiblePart(R);
    if (expanded) {
      const std::uint8_t alpha = AState == cxbsPressed ? 162 : AState == cxbsHot ? 115 : 69;
      ACanvas->FillRectangle(thumb, ColorToAlphaColor(color, alpha));
      return;
    }
    ACanvas->FillRectangle(thumb, ColorToAlphaColor(clWhite, 1));
    const int third = (vertical ? GetHybridScrollBarSize(ScrollBar()->ScaleFactor(), false).cx
                                : GetHybridScrollBarSize(ScrollBar()->ScaleFactor(), false).cy) /
                      3;
    TRect line = thumb;
    if (vertical && ScrollBar()->UseRightToLeft()) {
      line.Left = thumb.Left + third;
      line.Right = thumb.Left + 2 * third;
    } else if (vertical) {
      line.Left = thumb.Right - 2 * third;
      line.Right = thumb.Right - third;
    } else {
      line.Top = thumb.Bottom - 2 * third;
      line.Bottom = thumb.Bottom - third;
    }
    ACanvas->FillRectangle(line, ColorToAlphaColor(color, 133));
    return;
  }
  if ((APart != sbpLineUp && APart != sbpLineDown) || !expanded) return;
  const TRect button = VisiblePart(R);
  const std::uint8_t alpha = AState == cxbsPressed ? 162 : AState == cxbsHot ? 45 : 0;
  if (alpha > 0) ACanvas->FillRectangle(button, ColorToAlphaColor(color, alpha));
  TcxArrowDirection direction;
  if (vertical) {
    direction = APart == sbpLineUp ? adUp : adDown;
  } else {
    const bool first = APart == sbpLineUp;
    direction = first != ScrollBar()->UseRightToLeft() ? adLeft : adRight;
  }
  TcxArrowPoints points;
  TcxCustomLookAndFeelPainter::CalculateArrowPoints(button, points, direction, true);
  const TColor arrow = AState == cxbsPressed ? static_cast<TColor>(~color & 0xFFFFFF) : color;
  const TdxGPSmoothingMode smoothing = ACanvas->SmoothingMode();
  ACanvas->SetSmoothingMode(smAntiAlias);
  ACanvas->Polyline(std::vector<TPoint>(points.begin(), points.end()), ColorToAlphaColor(arrow, 144), 1, psSolid);
  ACanvas->SetSmoothingMode(smoothing);
}

// ---------------------------------------------------------------------------
// TcxControlPopupScrollBar

void TcxControlPopupScrollBar::Publish(TPublisher<TcxControlPopupScrollBar>& P) {
  P.Message<&TcxControlPopupScrollBar::WMMouseActivate>(WM_MOUSEACTIVATE);
}

void TcxControlPopupScrollBar::SetLayeredWindowUpdater(TLayeredWindowUpdater AUpdater) {
  LayeredWindowUpdater() = AUpdater ? std::move(AUpdater) : [](HWND AWnd, HDC ABitmapDC, const TSize& ASize,
                                                                 BYTE AAlpha) {
    UpdateLayeredWindowFromBitmap(AWnd, ABitmapDC, ASize, AAlpha);
  };
}

void TcxControlPopupScrollBar::Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) {
  FAlpha = 255;
  FScrollbarOwner = AScrollbarOwner;
  // The mode decides the model class, which the creation below asks for.
  inherited::Create(AScrollbarOwner->GetControl());
  if (TcxControl* control = OwnerControl()) ScaleFactor()->Assign(control->ScaleFactor());
  FVisibleSize = GetHybridScrollBarSize(ScaleFactor(), false).cx;
  FActivityHelper.reset(New<TdxTouchScrollUIActivityHelper>());
}

void TcxControlPopupScrollBar::Destroy() {
  if (FScrollbarOwner && Mode() == sbmHybrid) FScrollbarOwner->HybridBarReleased(this);
  FActivityHelper.reset();
  inherited::Destroy();
}

TdxScrollbarMode TcxControlPopupScrollBar::Mode() const {
  return FScrollbarOwner ? FScrollbarOwner->ScrollbarMode() : sbmTouch;
}

TClass TcxControlPopupScrollBar::GetHelperClass() {
  return Mode() == sbmTouch ? TcxPopupScrollBarHelper::ClassInfo() : TdxHybridScrollBarHelper::ClassInfo();
}

TSize TcxControlPopupScrollBar::GetDefaultSize() {
  return Mode() == sbmTouch ? GetTouchScrollBarSize(ScaleFactor()) : GetHybridScrollBarSize(ScaleFactor(), true);
}

void TcxControlPopupScrollBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_LAYERED;
}

void TcxControlPopupScrollBar::DestroyWnd() {
  Helper()->SetVisibleRegion(nullptr);
  inherited::DestroyWnd();
}

void TcxControlPopupScrollBar::InitializeParent() {
  TcxControl* control = OwnerControl();
  if (!control) return;
  const HWND owner = PopupOwnerWindow(control);
  if (owner != ParentWindow()) {
    // A popup's owner is fixed at creation: a new one needs a new window.
    if (HandleAllocated()) DestroyHandle();
    SetParentWindow(owner);
  }
  SetBiDiMode(control->BiDiMode());
}

void TcxControlPopupScrollBar::ApplyData() {
  FAllowVisible = GetData().FVisible;
  inherited::ApplyData();
}

bool TcxControlPopupScrollBar::WantsVisible() {
  return inherited::WantsVisible() && !(FScrollbarOwner && FScrollbarOwner->AreOverlayScrollBarsHidden());
}

void TcxControlPopupScrollBar::SetVisible(bool AValue) {
  if (!AValue && Visible() && Mode() == sbmHybrid && FScrollbarOwner) FScrollbarOwner->HybridBarReleased(this);
  inherited::SetVisible(AValue);
  if (Visible() && HandleAllocated()) {
    UpdateLayeredContent();
    PlacePopupAboveOwnerForm(Handle());
  }
}

void TcxControlPopupScrollBar::SetOwnerControlRelativeBounds(const TRect& ABounds) {
  TcxControl* control = OwnerControl();
  if (!control || !control->HandleAllocated()) return;
  const TPoint origin = control->ClientToScreen(ABounds.TopLeft());
  SetBounds(origin.X, origin.Y, ABounds.Width(), ABounds.Height());
  Helper()->SetVisibleRegion(OwnerVisibleRegion(control, ABounds));
  Invalidate();
}

void TcxControlPopupScrollBar::UpdateBounds(const TRect& ABounds) { SetOwnerControlRelativeBounds(ABounds); }

void TcxControlPopupScrollBar::Invalidate() {
  if (!Visible()) return;
  if (Mode() == sbmHybrid && FScrollbarOwner) {
    const TSize collapsed = GetHybridScrollBarSize(ScaleFactor(), false);
    const TSize expanded = GetHybridScrollBarSize(ScaleFactor(), true);
    const bool vertical = Kind() == sbVertical;
    const int from = vertical ? collapsed.cx : collapsed.cy;
    const int to = vertical ? expanded.cx : expanded.cy;
    FVisibleSize = from + PercentOf(to - from, FScrollbarOwner->HybridVisibleSizePercent());
    FAlpha = FScrollbarOwner->HybridFadingValue();
  }
  UpdateLayeredContent();
}

void TcxControlPopupScrollBar::UpdateLayeredContent() {
  if (!HandleAllocated() || !Visible()) return;
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  TOwned<TcxBitmap32> bitmap(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(client, true); }));
  Helper()->Paint(bitmap->cxCanvas());
  LayeredWindowUpdater()(Handle(), bitmap->cxCanvas()->Handle(), TSize(client.Width(), client.Height()), FAlpha);
}

void TcxControlPopupScrollBar::Resize() {
  inherited::Resize();
  if (Visible()) UpdateLayeredContent();
}

bool TcxControlPopupScrollBar::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  TcxControl* control = OwnerControl();
  if (control && control->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxControlPopupScrollBar::ProcessMessage(TMessage& Message) {
  inherited::ProcessMessage(Message);
  if (!FScrollbarOwner) return;
  if (Mode() == sbmHybrid) ProcessHybridMessage(Message);
  else ProcessTouchMessage(Message);
}

void TcxControlPopupScrollBar::ProcessHybridMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      if (!Message.WParam) FScrollbarOwner->HideScrollBars(true);
      break;
    case WM_CANCELMODE:
      FScrollbarOwner->HideScrollBars(false);
      break;
    case WM_MOUSEMOVE:
      if (!FMouseEnter) {
        FMouseEnter = true;
        FScrollbarOwner->HybridBarEntered(this);
      }
      break;
    case CM_MOUSELEAVE:
      if (FMouseEnter) {
        FMouseEnter = false;
        FScrollbarOwner->HybridBarLeft(this);
      }
      break;
  }
}

void TcxControlPopupScrollBar::ProcessTouchMessage(TMessage& Message) {
  const auto onBar = [](const TPoint&) { return true; };
  if (FActivityHelper && FActivityHelper->CheckScrollActivity(this, Message, onBar)) {
    FScrollbarOwner->RevealScrollBars(true);
    return;
  }
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      if (!Message.WParam) FScrollbarOwner->HideScrollBars(true);
      return;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      FScrollbarOwner->HideScrollBars(false);
      return;
    case WM_LBUTTONDOWN:
      FScrollbarOwner->RevealScrollBars(false);
      TdxTouchScrollUIModeManager::Lock();
      return;
    case WM_LBUTTONUP:
      // The press's own request goes with the capture (WM_CAPTURECHANGED).
      TdxTouchScrollUIModeManager::Unlock();
      FScrollbarOwner->RevealScrollBars(true);
      return;
  }
  if (Message.Msg >= WM_LBUTTONDBLCLK && Message.Msg <= WM_MOUSEHWHEEL) FScrollbarOwner->RevealScrollBars(true);
}

// ---------------------------------------------------------------------------
// TcxPopupSizeGrip

void TcxPopupSizeGrip::Publish(TPublisher<TcxPopupSizeGrip>& P) {
  P.Message<&TcxPopupSizeGrip::WMMouseActivate>(WM_MOUSEACTIVATE);
}

void TcxPopupSizeGrip::Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) {
  FScrollbarOwner = AScrollbarOwner;
  inherited::Create(AScrollbarOwner->GetControl());
}

void TcxPopupSizeGrip::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_LAYERED;
}

void TcxPopupSizeGrip::CreateWindowHandle(const TCreateParams& Params) {
  inherited::CreateWindowHandle(Params);
  if (HandleAllocated()) SetLayeredWindowAttributes(Handle(), 0, DefaultAlpha, LWA_ALPHA);
}

void TcxPopupSizeGrip::DrawGrip(TcxCanvas* ACanvas) {
  TColor color = DefaultColor;
  if (FScrollbarOwner && FScrollbarOwner->ScrollbarMode() == sbmHybrid) {
    color = FScrollbarOwner->HybridScrollBarBaseColor();
    if (HandleAllocated())
      SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(PercentOf(22, FScrollbarOwner->HybridVisibleSizePercent())),
                                 LWA_ALPHA);
  }
  ACanvas->FillRect(ClientRect(), color);
}

void TcxPopupSizeGrip::InitializeParent() {
  TcxControl* control = OwnerControl();
  if (!control) return;
  const HWND owner = PopupOwnerWindow(control);
  if (owner == ParentWindow()) return;
  if (HandleAllocated()) DestroyHandle();
  SetParentWindow(owner);
}

void TcxPopupSizeGrip::SetOwnerControlRelativeBounds(const TRect& ABounds) {
  TcxControl* control = OwnerControl();
  if (!control || !control->HandleAllocated()) return;
  const TRect visible = OwnerVisibleRect(control, ABounds);
  const TPoint origin = control->ClientToScreen(visible.TopLeft());
  SetBounds(origin.X, origin.Y, visible.Width(), visible.Height());
}

// ---------------------------------------------------------------------------
// Routines

HWND PopupOwnerWindow(TControl* AControl) {
  TCustomForm* form = AControl ? GetParentForm(AControl) : nullptr;
  if (form && form->HandleAllocated()) {
    // A form embedded in another window: its top-level window owns popups.
    if (form->Parent() || (GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CHILD) != 0)
      return GetAncestor(form->Handle(), GA_ROOT);
    return form->Handle();
  }
  TCustomForm* active = Screen() ? Screen()->ActiveForm() : nullptr;
  return active && active->HandleAllocated() ? active->Handle() : nullptr;
}

void PlacePopupAboveOwnerForm(HWND AWnd) {
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  const HWND owner = GetWindow(AWnd, GW_OWNER);
  if (!owner || (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    SetWindowPos(AWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    return;
  }
  const HWND previous = GetWindow(owner, GW_HWNDPREV);
  SetWindowPos(AWnd, previous && previous != AWnd ? previous : HWND_TOP, 0, 0, 0, 0, flags);
}

HRGN OwnerVisibleRegion(TWinControl* AControl, const TRect& R) {
  if (!AControl || !AControl->HandleAllocated()) return nullptr;
  const TPoint origin = AControl->ClientToScreen(R.TopLeft());
  const HWND wnd = AControl->Handle();
  HDC dc = GetDCEx(wnd, nullptr, DCX_WINDOW | DCX_CLIPSIBLINGS | DCX_PARENTCLIP | DCX_CACHE);
  if (!dc) return nullptr;
  TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  // The system region is in screen coordinates.
  const int got = GetRandomRgn(dc, region.Get(), SYSRGN);
  ReleaseDC(wnd, dc);
  if (got != 1) {
    // Nothing of the window is shown.
    return CreateRectRgn(0, 0, 0, 0);
  }
  TOwnedRegion area(CreateRectRgn(origin.X, origin.Y, origin.X + R.Width(), origin.Y + R.Height()));
  CombineRgn(region.Get(), region.Get(), area.Get(), RGN_AND);
  OffsetRgn(region.Get(), -origin.X, -origin.Y);
  return region.Release();
}

TRect OwnerVisibleRect(TWinControl* AControl, const TRect& R) {
  TOwnedRegion region(OwnerVisibleRegion(AControl, R));
  if (!region) return TRect();
  RECT box{};
  if (GetRgnBox(region.Get(), &box) == NULLREGION) return TRect(R.Left, R.Top, R.Left, R.Top);
  return TRect(box.left + R.Left, box.top + R.Top, box.right + R.Left, box.bottom + R.Top);
}

void OverlayScrollBarsWndProcHook(int ACode, WPARAM, LPARAM ALParam, LRESULT&) {
  if (ACode != HC_ACTION || !ALParam) return;
  const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(ALParam);
  bool hidden = false;
  switch (message.message) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_MDIACTIVATE:
    case WM_MDIRESTORE:
      // Controls inside the window follow it; the window's own move is the
      // control's to report.
      TdxHybridScrollbarManagers::WindowMoved(message.hwnd, false, true);
      TdxTouchScrollUIModeManager::WindowMoved(message.hwnd, false, true);
      return;
    case WM_ENABLE:
      hidden = message.wParam == FALSE;
      break;
    case WM_CLOSE:
      hidden = true;
      break;
    case WM_WINDOWPOSCHANGED:
      hidden = message.lParam && (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_HIDEWINDOW) != 0;
      break;
    case WM_SYSCOMMAND:
      hidden = (message.wParam & 0xFFF0) == SC_MINIMIZE;
      break;
    default:
      return;
  }
  if (!hidden) return;
  TdxHybridScrollbarManagers::WindowHidden(message.hwnd);
  TdxTouchScrollUIModeManager::WindowHidden(message.hwnd);
}
