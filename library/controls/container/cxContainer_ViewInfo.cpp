// The container's view info: its painting, border widths and the shadow.
#include "library/controls/container/cxContainer.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxThemeManager.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace {

constexpr int ShadowSize = 3;

// Fills the ring between AOuter and AInner (which lies inside it) as four strips.
void FillRing(TcxCanvas* ACanvas, const TRect& AOuter, const TRect& AInner, TColor AColor) {
  if (AColor == clDefault || AOuter.IsEmpty() || AOuter == AInner) return;
  if (AInner.IsEmpty()) {
    ACanvas->FillRect(AOuter, AColor);
    return;
  }
  ACanvas->FillRect(TRect(AOuter.Left, AOuter.Top, AInner.Left, AOuter.Bottom), AColor);
  ACanvas->FillRect(TRect(AInner.Left, AOuter.Top, AInner.Right, AInner.Top), AColor);
  ACanvas->FillRect(TRect(AInner.Right, AOuter.Top, AOuter.Right, AOuter.Bottom), AColor);
  ACanvas->FillRect(TRect(AInner.Left, AInner.Bottom, AInner.Right, AOuter.Bottom), AColor);
}

}  // namespace

int BorderStyleToWidth(TcxContainerBorderStyle AStyle) {
  static constexpr int widths[] = {0, 1, 2, 2, 2, 1, 1};
  return widths[AStyle];
}

void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R) {
  const TRect bottom(R.Left + ShadowSize, R.Bottom, R.Right, R.Bottom + ShadowSize);
  const TRect right(R.Right, R.Top + ShadowSize, R.Right + ShadowSize, R.Bottom + ShadowSize);
  for (const TRect& part : {bottom, right}) {
    ACanvas->FillRect(part, clBtnShadow);
    ACanvas->ExcludeClipRect(part);
  }
}

TColor NativeContainerBorderColor() {
  const bool composition = IsCompositionEnabled();
  const HTHEME theme = OpenTheme(composition ? totListBox : totComboBox);
  COLORREF color = 0;
  const int part = composition ? static_cast<int>(LBCP_BORDER_NOSCROLL) : static_cast<int>(CP_DROPDOWNBUTTON);
  if (!theme || FAILED(GetThemeColor(theme, part, 1, TMT_BORDERCOLOR, &color)))
    return clDefault;
  return static_cast<TColor>(color);
}

void TcxContainerViewInfo::Create() {
  inherited::Create();
  ContainerState = {csNormal};
}

void TcxContainerViewInfo::Assign(TObject* ASource) {
  if (auto* source = dynamic_cast<TcxContainerViewInfo*>(ASource)) ClientRect = source->ClientRect;
}

TOwned<TcxRegion> TcxContainerViewInfo::GetUpdateRegion(TcxContainerViewInfo*) {
  return TOwned<TcxRegion>(New<TcxRegion>());
}

void TcxContainerViewInfo::Offset(int DX, int DY) {
  if (!FCalculated) return;
  for (TRect* r : {&BorderRect, &Bounds, &ClientRect}) r->Offset(DX, DY);
}

void TcxContainerViewInfo::UpdateStyle(TcxContainerStyle* AStyle) {
  Font = AStyle->GetVisibleFont();
  TcxLookAndFeel* lookAndFeel = AStyle->LookAndFeel();
  Painter = lookAndFeel->Painter();
  UseSkins = UseSkinnedColors = lookAndFeel->SkinPainter() != nullptr;
}

void TcxContainerViewInfo::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  Painter->DrawContainerBorder(ACanvas, R, BorderStyle, BorderWidth, BorderColor, Edges);
}

TColor TcxContainerViewInfo::DefaultStateTextColor(TcxEditStateColorKind AKind) {
  return Painter->DefaultEditorTextColorEx(AKind);
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (NativeStyle)
    PaintNative(ACanvas);
  else
    PaintBorderAndBackground(ACanvas);
}

void TcxContainerViewInfo::PaintBorderAndBackground(TcxCanvas* ACanvas) {
  // The painter draws the ring on the outer edge of R; a side left out of
  // Edges lies outside the control, so no line is seen there.
  TRect r = BorderRect;
  r.Left -= BorderWidth;
  r.Top -= BorderWidth;
  if (Edges.Contains(bRight)) r.Right += BorderWidth;
  if (Edges.Contains(bBottom)) r.Bottom += BorderWidth;
  if (Shadow) DrawContainerShadow(ACanvas, r);
  if (!Edges.Contains(bRight)) r.Right += BorderWidth;
  if (!Edges.Contains(bBottom)) r.Bottom += BorderWidth;
  DrawBorder(ACanvas, r);
  ACanvas->FillRect(BorderRect, FBackgroundColor);
}

void TcxContainerViewInfo::PaintNative(TcxCanvas* ACanvas) {
  if (BorderStyle == cbsNone) {
    ACanvas->FillRect(Bounds, FBackgroundColor);
    return;
  }
  TRect content = Bounds;
  if (const HTHEME theme = OpenTheme(ThemedObjectType)) {
    RECT bounds = Bounds;
    RECT r{};
    if (SUCCEEDED(GetThemeBackgroundContentRect(theme, ACanvas->Handle(), 1, NativeState, &bounds, &r))) content = r;
  }
  ACanvas->FillRect(content, FBackgroundColor);
  FillRing(ACanvas, Bounds, content, NativeContainerBorderColor());
}
