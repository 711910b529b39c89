// The container's view info: its painting, border widths and the shadow.
#include "library/controls/container/cxContainer.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxThemeManager.h"
#include "library/lookandfeel/painters/dxOffice11.h"

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

TColor TcxContainerViewInfo::CalculateBorderColor(TcxContainerStyle* AStyle, bool AEnabled, bool ADesigning,
                                                  TcxContainer*) {
  const bool highlight = ContainerState.Contains(csActive) ||
                         (ContainerState.Contains(csHotTrack) && AStyle->HotTrack()) || (ADesigning && AEnabled);
  if (AStyle->IsValueAssigned(svBorderColor) || AStyle->BaseStyle()->IsValueAssigned(svBorderColor))
    return AStyle->BorderColor();
  const TColor skinned = UseSkinnedColors ? Painter->GetContainerBorderColor(highlight) : clDefault;
  if (skinned != clDefault) return skinned;
  const TcxContainerBorderStyle style = AStyle->BorderStyle();
  if (style != cbsUltraFlat && style != cbsOffice11) return AStyle->BorderColor();
  if (!highlight) return clBtnShadow;
  return style == cbsOffice11 ? Office11Color(Office11HighlightBorderColor) : clHighlight;
}

TColor TcxContainerViewInfo::CalculateBackgroundColor(TcxContainerStyle* AStyle, bool AEnabled, TcxContainer* AOwner) {
  TColor color = clDefault;
  const bool assigned = AStyle->IsValueAssigned(svColor) || AStyle->BaseStyle()->IsValueAssigned(svColor);
  if (UseSkinnedColors && AOwner && !AOwner->ParentColor() && !assigned)
    color = Painter->DefaultEditorBackgroundColorEx(AOwner->StyleStateIndex());
  if (color == clDefault && NativeStyle && !AEnabled && !AStyle->AssignedValues().Contains(svColor)) {
    // NativeState counts in the states of part 1 (4 disabled, 5 focused),
    // the part the frame is drawn with; in part 3 state 4 means focused.
    COLORREF fill = 0;
    if (const HTHEME theme = OpenTheme(ThemedObjectType);
        theme && SUCCEEDED(GetThemeColor(theme, 1, NativeState, TMT_FILLCOLOR, &fill)))
      color = static_cast<TColor>(fill);
  }
  return color == clDefault ? AStyle->Color() : color;
}

TColor TcxContainerViewInfo::CalculateTextColor(TcxContainerStyle* AStyle, bool AEnabled, TcxContainer* AOwner) {
  if (!UseSkinnedColors || !AOwner || AStyle->IsValueAssigned(svTextColor) ||
      AStyle->BaseStyle()->IsValueAssigned(svTextColor))
    return AStyle->TextColor();
  TColor color = AEnabled ? AOwner->ResolveParentTextColor() : clDefault;
  if (color == clDefault) color = DefaultStateTextColor(AOwner->StyleStateIndex());
  return color;
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
