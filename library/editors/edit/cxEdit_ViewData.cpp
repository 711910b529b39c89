// TcxCustomEditViewData: the layout calculator of an editor.
#include "library/editors/edit/cxEdit.h"

#include "library/editors/edit/cxEdit_Internal.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxThemeManager.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------------------
// Creation

TClass TcxCustomEditProperties::GetViewDataClassType() { return TcxCustomEditViewData::ClassInfo(); }

TOwned<TcxCustomEditViewData> TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace,
                                                                      bool APreviewMode) {
  TOwned<TcxCustomEditViewData> result(
      NewOfClass<TcxCustomEditViewData>(GetViewDataClassType(), this, AStyle, AIsInplace));
  result->PreviewMode = APreviewMode;
  return result;
}

void TcxCustomEditViewData::Create(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace) {
  FProperties = AProperties;
  FStyle = AStyle;
  FIsInplace = AIsInplace;
  FScaleFactor.reset(New<TdxScaleFactor>());
  InitDefaults();
  SelTextColor = clDefault;
  SelBackgroundColor = clDefault;
  InitializeFromProperties();
}

void TcxCustomEditViewData::Destroy() {
  FScaleFactor.reset();
  inherited::Destroy();
}

void TcxCustomEditViewData::InitDefaults() {
  ContentOffset = TRect();
  Enabled = true;
}

void TcxCustomEditViewData::InitializeFromProperties() {
  ButtonVisibleCount = FProperties->Buttons()->VisibleCount();
  IsValueSource = false;
  NativeStyle = IsNativeStyle(FStyle->LookAndFeel());
  InitializeEditContentParams(EditContentParams);
}

void TcxCustomEditViewData::InitializeEditContentParams(TcxEditContentParams& AParams) {
  AParams.Offsets = GetDefaultEditContentOffsets();
  AParams.SizeCorrection.cx = std::max(1, 3 - AParams.Offsets.Left - AParams.Offsets.Right);
  AParams.SizeCorrection.cy = NativeStyle && FIsInplace && FProperties->Buttons()->Count() > 0 ? 1 : 0;
  AParams.ExternalBorderBounds = TRect();
  AParams.Options = {ecoOffsetButtonContent};
}

TRect TcxCustomEditViewData::GetDefaultEditContentOffsets() {
  return FIsInplace ? TRect(1, 1, 1, 1) : TRect(1, 1, 1, 3);
}

bool TcxCustomEditViewData::IsNativeStyle(TcxLookAndFeel* ALookAndFeel) {
  return ALookAndFeel->NativeStyle() && OpenTheme(totEdit) != nullptr;
}

// ---------------------------------------------------------------------------
// Borders

namespace {

// Right and bottom room of a container's shadow.
constexpr int ShadowSize = 3;

TcxCustomLookAndFeelPainter* SkinPainterOf(TcxCustomEditStyle* AStyle) { return AStyle->LookAndFeel()->SkinPainter(); }

TRect WidthOnEdges(TcxBorders AEdges, int AWidth) {
  return TRect(AEdges.Contains(bLeft) ? AWidth : 0, AEdges.Contains(bTop) ? AWidth : 0,
               AEdges.Contains(bRight) ? AWidth : 0, AEdges.Contains(bBottom) ? AWidth : 0);
}

TRect Deflated(TRect R, const TRect& AExtent) {
  R.Left += AExtent.Left;
  R.Top += AExtent.Top;
  R.Right -= AExtent.Right;
  R.Bottom -= AExtent.Bottom;
  return R;
}

}  // namespace

TcxCustomEditStyle* TcxCustomEditViewData::NormalStyle() const { return FEdit ? FEdit->Style() : FStyle; }

TcxEditBorderStyle TcxCustomEditViewData::GetBorderStyle() {
  if (FIsInplace) return ebsNone;
  const TcxEditBorderStyle style = FStyle->BorderStyle();
  return style == ebsUltraFlat || style == ebsOffice11 ? ebsSingle : style;
}

bool TcxCustomEditViewData::HasBorders() {
  return FStyle->HasBorder() && (FStyle->BorderStyle() != ebsNone || FStyle->TransparentBorder());
}

bool TcxCustomEditViewData::HasShadow() { return FStyle->Shadow() && !NativeStyle; }

TRect TcxCustomEditViewData::GetBorderExtentByEdges(int ABorderWidth) {
  return WidthOnEdges(FStyle->Edges(), ABorderWidth);
}

TRect TcxCustomEditViewData::GetBorderExtentByPainter() {
  if (!HasBorders()) return TRect();
  const TcxEditBorderStyle style = FStyle->TransparentBorder() ? ebsThick : FStyle->BorderStyle();
  return WidthOnEdges(FStyle->Edges(),
                      SkinPainterOf(FStyle)->GetContainerBorderWidth(static_cast<TcxContainerBorderStyle>(style)));
}

TRect TcxCustomEditViewData::GetBorderExtent() {
  if (FIsInplace) return ContentOffset;
  TRect result;
  if (SkinPainterOf(FStyle))
    result = GetBorderExtentByPainter();
  else if (FStyle->TransparentBorder())
    // The frame lies one pixel inside the bounds; the window region leaves
    // the outer ring to the parent.
    result = TRect(2, 2, 2, 2);
  else if (!FStyle->HasBorder() || (NativeStyle && NormalStyle()->BorderStyle() == ebsNone) ||
           (FEdit && FEdit->IsTransparentStandalone()))
    result = TRect();
  else if (NativeStyle)
    result = TRect(2, 2, 2, 2);
  else
    result = GetBorderExtentByEdges(BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(GetBorderStyle())));
  if (HasShadow()) {
    result.Right += ShadowSize;
    result.Bottom += ShadowSize;
  }
  return result;
}

TRect TcxCustomEditViewData::GetButtonsExtent(TcxCanvas*) {
  if (FIsInplace) return ContentOffset;
  if (!NativeStyle) return GetBorderExtent();
  TcxCustomEditStyle* normal = NormalStyle();
  const bool bordered = normal->HasBorder() && normal->BorderStyle() != ebsNone;
  if (!FStyle->TransparentBorder() && !bordered) return TRect();
  if (FStyle->TransparentBorder() && normal->BorderStyle() == ebsNone) return TRect(2, 2, 2, 2);
  return ThemeContentMargins(totEdit);
}

TRect TcxCustomEditViewData::ThemeContentMargins(TdxThemedObjectType AType) const {
  const HTHEME theme = OpenThemeForScaleFactor(AType, FScaleFactor.get());
  if (!theme) return TRect();
  const RECT bounds{0, 0, 100, 100};
  RECT content = bounds;
  if (FAILED(GetThemeBackgroundContentRect(theme, nullptr, 1, 1, &bounds, &content))) return TRect();
  return TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
}

TcxEditButtonStyle TcxCustomEditViewData::GetEffectiveButtonStyle() {
  static constexpr TcxEditButtonStyle ByBorderStyle[] = {btsSimple, btsHotFlat,   bts3D,      btsFlat,
                                                         bts3D,     btsUltraFlat, btsOffice11};
  static constexpr TcxEditButtonStyle ByKind[] = {btsFlat, bts3D, btsUltraFlat, btsOffice11};
  const TcxEditButtonStyle style = FStyle->ButtonStyle();
  if (style != btsDefault) return style;
  if (!FIsInplace && (FStyle->HasBorder() || FStyle->HotTrack())) return ByBorderStyle[FStyle->BorderStyle()];
  return ByKind[FStyle->LookAndFeel()->Kind()];
}

TcxEditPaintOptions TcxCustomEditViewData::GetEffectivePaintOptions() {
  TcxEditPaintOptions result = PaintOptions;
  if (!EditContentParams.ExternalBorderBounds.IsEmpty()) result.Include(epoHasExternalBorder);
  if (EditContentParams.Options.Contains(ecoShowFocusRectWhenInplace)) result.Include(epoShowFocusRectWhenInplace);
  return result;
}

TSize TcxCustomEditViewData::GetEditContentSizeCorrection() {
  const TcxEditContentParams& p = EditContentParams;
  return TSize(p.Offsets.Left + p.Offsets.Right + p.SizeCorrection.cx,
               p.Offsets.Top + p.Offsets.Bottom + p.SizeCorrection.cy);
}

void TcxCustomEditViewData::AdjustContentExtent(TRect& AExtent) {
  if (IsTouchScrollUIMode) return;
  if (VScrollBar) AExtent.Right = 0;
  if (HScrollBar) AExtent.Bottom = 0;
}

// ---------------------------------------------------------------------------
// State

TcxContainerState TcxCustomEditViewData::CalculateContainerState(const TRect& ABounds, const TPoint& P,
                                                                 TcxMouseButton, TShiftState Shift, bool) {
  if (!Enabled) return {csDisabled};
  if (IsDesigning) return {csNormal};
  TcxContainerState result{Focused ? csActive : csNormal};
  const TRect visible = FEdit ? FEdit->VisibleBounds() : Deflated(ABounds, ContentOffset);
  const bool buttonDown = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
  if (visible.Contains(P) && (!buttonDown || (FEdit && FEdit->MouseCapture()))) result.Include(csHotTrack);
  return result;
}

int TcxCustomEditViewData::GetEditNativeState() {
  if (!Enabled) return ETS_DISABLED;
  if (IsEditFocused()) return ETS_FOCUSED;
  if (ContainerState.Contains(csHotTrack)) return ETS_HOT;
  if (FProperties->ReadOnly()) return ETS_READONLY;
  return ETS_NORMAL;
}

bool TcxCustomEditViewData::IsEditFocused() { return FEdit ? FEdit->Focused() : Focused; }

int TcxCustomEditViewData::GetCaptureButtonIndex() { return FEdit ? FEdit->CaptureButtonVisibleIndex() : -1; }


int TcxCustomEditViewData::FireGetDefaultButtonWidth(int AIndex) {
  int width = 0;
  if (FOnGetDefaultButtonWidth) FOnGetDefaultButtonWidth(this, AIndex, width);
  return width;
}

int TcxCustomEditViewData::DefaultButtonWidth() const {
  return GetSystemMetricsForScaleFactor(SM_CYHSCROLL, FScaleFactor.get());
}

String TcxCustomEditViewData::GetValueDisplayText(const Variant& AEditValue) {
  String text;
  ValueToDisplayText(AEditValue, text);
  if (FOnGetDisplayText) FOnGetDisplayText(this, text);
  return text;
}

TSize TcxCustomEditViewData::ApplyEditConstraints(TSize ASize) {
  if (!FEdit) return ASize;
  const TSizeConstraints* c = FEdit->Constraints();
  if (c->MaxWidth() > 0) ASize.cx = std::min(ASize.cx, c->MaxWidth());
  if (c->MinWidth() > 0) ASize.cx = std::max(ASize.cx, c->MinWidth());
  if (c->MaxHeight() > 0) ASize.cy = std::min(ASize.cy, c->MaxHeight());
  if (c->MinHeight() > 0) ASize.cy = std::max(ASize.cy, c->MinHeight());
  return ASize;
}

// ---------------------------------------------------------------------------
// Sizes

bool TcxCustomEditViewData::IsErrorIconVisible() {
  return FErrorData && FErrorData->ErrorType() != eetNone && FErrorData->HasErrorIcon() &&
         FProperties->ValidationOptions().Contains(evoShowErrorIcon);
}

int TcxCustomEditViewData::GetErrorIconWidth() {
  if (!IsErrorIconVisible()) return 0;
  return GetGlyphScaledSize(FErrorData->ErrorIcon(), FScaleFactor.get()).cx + FScaleFactor->Apply(3);
}

void TcxCustomEditViewData::GetValueContentSize(TcxCanvas*, const Variant&, TSize& ASize,
                                                const TcxEditSizeProperties&) {
  ASize = TSize(0, 0);
}

TSize TcxCustomEditViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                const TcxEditSizeProperties& AEditSizeProperties,
                                                TcxEditValidateInfo* AErrorData) {
  TSize result;
  if (FProperties->ButtonsViewStyle() == bvsButtonsOnly) {
    ACanvas->Font()->Assign(FStyle->GetVisibleFont());
    result = TSize(0, EditContentParams.SizeCorrection.cy + ACanvas->TextHeight(L"Wg"));
  } else {
    GetValueContentSize(ACanvas, AEditValue, result, AEditSizeProperties);
  }
  if (AErrorData) {
    TcxEditValidateInfo* const saved = std::exchange(FErrorData, AErrorData);
    result.cx += GetErrorIconWidth();
    FErrorData = saved;
  }
  if (SupportsTouchMode && cxIsTouchModeEnabled()) EnsureTouchModeMinimumSize(result, FScaleFactor.get());
  return result;
}

TSize TcxCustomEditViewData::GetEditingContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                   const TcxEditSizeProperties& AEditSizeProperties) {
  return GetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
}
