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
TClass TcxCustomEditProperties::GetViewInfoClass() { return TcxCustomEditViewInfo::ClassInfo(); }

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
  TcxEditAlignment* alignment = FProperties->Alignment();
  HorzAlignment = alignment->Horz();
  VertAlignment = alignment->Vert();
  // Without a style (a fade picture's theme state) the button's own data decides.
  NativeStyle = FStyle && IsNativeStyle(FStyle->LookAndFeel());
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

// The editor fills Focused from its own focus when it makes the view data,
// and nothing in a calculation moves the focus: asking the window server
// again would only cost a round trip.
bool TcxCustomEditViewData::IsEditFocused() { return Focused; }

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

// ---------------------------------------------------------------------------
// Calculation

namespace {

bool HoldsMouseButton(TShiftState AShift) {
  return AShift.Contains(ssLeft) || AShift.Contains(ssRight) || AShift.Contains(ssMiddle);
}

// Only the left button among the mouse buttons.
bool HoldsOnlyLeft(TShiftState AShift) {
  return AShift.Contains(ssLeft) && !AShift.Contains(ssRight) && !AShift.Contains(ssMiddle);
}

TAlignment Mirrored(TAlignment A) {
  return A == taLeftJustify ? taRightJustify : A == taRightJustify ? taLeftJustify : A;
}

}  // namespace

void TcxCustomEditViewData::CalculateEx(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                        TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                        bool AIsMouseEvent) {
  AViewInfo->Left = ABounds.Left;
  AViewInfo->Top = ABounds.Top;
  TRect bounds = ABounds;
  bounds.Offset(-ABounds.Left, -ABounds.Top);
  Calculate(ACanvas, bounds, TPoint(P.X - ABounds.Left, P.Y - ABounds.Top), Button, Shift, AViewInfo, AIsMouseEvent);
}

void TcxCustomEditViewData::CalculateState(const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                           TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  AViewInfo->ContainerState = CalculateContainerState(ABounds, P, Button, Shift, AIsMouseEvent);
  Selected = AViewInfo->ContainerState.Contains(csActive) || AViewInfo->ContainerState.Contains(csHotTrack);
  if (IsDesigning || FIsInplace || !FStyle->HotTrack())
    AViewInfo->HotState = chsNoHotTrack;
  else
    AViewInfo->HotState = Selected ? chsSelected : chsNormal;
  if (FEdit) FStyle = static_cast<TcxCustomEditStyle*>(FEdit->SelectStyleForState(AViewInfo->ContainerState));
  AViewInfo->BorderStyle = FIsInplace || !NativeStyle ? GetBorderStyle() : NormalStyle()->BorderStyle();
}

void TcxCustomEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                      TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                      bool AIsMouseEvent) {
  Shift.Exclude(ssShift).Exclude(ssAlt).Exclude(ssCtrl).Exclude(ssTouch).Exclude(ssPen);
  TcxCustomEditViewInfo* vi = AViewInfo;
  const int previousBorderWidth = BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(vi->BorderStyle));
  CalculateState(ABounds, P, Button, Shift, vi, AIsMouseEvent);
  // The visible bounds that decide the hot state depend on the border width.
  if (!FIsInplace && !NativeStyle &&
      BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(vi->BorderStyle)) < previousBorderWidth)
    CalculateState(ABounds, P, Button, Shift, vi, AIsMouseEvent);

  vi->TcxContainerViewInfo::BorderStyle = static_cast<TcxContainerBorderStyle>(vi->BorderStyle);
  ContainerState = vi->ContainerState;
  vi->EditProperties = FProperties;
  vi->ScaleFactor()->Assign(FScaleFactor.get());
  vi->UseRightToLeftAlignment = UseRightToLeftAlignment;
  vi->PaintOnGlass = PaintOnGlass;
  ButtonsOnlyStyle = FIsInplace ? ABounds.Width() != 32000 && FProperties->ButtonsViewStyle() != bvsNormal
                                : FProperties->ButtonsViewStyle() == bvsButtonsOnly;

  vi->UpdateStyle(FStyle);
  vi->Bounds = ABounds;
  vi->Enabled = Enabled;
  vi->Focused = Focused;
  vi->HasBackground = false;
  TWinControl* inner = InnerEdit && FEdit ? FEdit->InnerControl() : nullptr;
  vi->HasInnerEdit = inner && inner->Visible();
  vi->IsDBEditPaintCopyDrawing = false;
  vi->IsContainerInnerControl = FEdit && Supports<IcxContainerInnerControl>(FEdit);
  vi->IsDesigning = IsDesigning;
  vi->IsInplace = FIsInplace;
  vi->IsSelected = IsSelected;
  vi->PaintOptions = GetEffectivePaintOptions();
  vi->Edges = FStyle->Edges();

  FValidationErrorIconAlignment = FProperties->ValidationErrorIconAlignment();
  if (UseRightToLeftAlignment) FValidationErrorIconAlignment = Mirrored(FValidationErrorIconAlignment);
  FErrorData = vi->ErrorData();
  if (!FIsInplace) {
    if (FEdit && FEdit->ValidationError()) {
      FErrorData->SetErrorType(eetError);
      FErrorData->SetErrorText(FEdit->ValidationErrorText());
      // The properties' picture when they have one, else the standard glyph
      // again (a picture cleared while the error stays must not linger).
      TdxSmartImage* icon = FProperties->ErrorIcon();
      FErrorData->SetErrorIcon(icon->Empty() ? cxEditStandardGlyph(eetError) : icon);
    } else {
      FErrorData->SetErrorType(eetNone);
    }
  }
  vi->FNeedShowErrorIcon = IsErrorIconVisible();
  vi->Font = FStyle->GetVisibleFont();
  vi->Shadow = !FIsInplace && HasShadow();
  vi->WindowHandle = WindowHandle;

  PrepareViewInfo(vi);
  CalculateButtonsViewInfo(ACanvas, vi->FEditorBounds, P, Button, Shift, vi, AIsMouseEvent);
  vi->ClientRect = Deflated(vi->FEditorBounds, GetClientExtent(ACanvas, vi));
  vi->InnerEditRect = vi->HasInnerEdit ? inner->BoundsRect() : vi->ClientRect;
  CalculatePopupBorderStyle(vi);
  CheckStartButtonsFading(vi);
}

void TcxCustomEditViewData::CalculatePopupBorderStyle(TcxCustomEditViewInfo* AViewInfo) {
  static constexpr TcxEditPopupBorderStyle ByKind[] = {epbsFlat, epbsFrame3D, epbsSingle, epbsSingle};
  static constexpr TcxEditPopupBorderStyle ByBorderStyle[] = {epbsFlat,   epbsSingle, epbsSingle, epbsFlat,
                                                              epbsSingle, epbsSingle, epbsSingle};
  AViewInfo->PopupBorderStyle = FStyle->PopupBorderStyle();
  if (AViewInfo->PopupBorderStyle != epbsDefault || !FEdit) return;
  if (FIsInplace)
    AViewInfo->PopupBorderStyle = ByKind[FStyle->LookAndFeel()->Kind()];
  else if (AViewInfo->BorderStyle == ebsNone && ButtonVisibleCount > 0)
    AViewInfo->PopupBorderStyle = ByKind[NormalStyle()->LookAndFeel()->Kind()];
  else
    AViewInfo->PopupBorderStyle = ByBorderStyle[AViewInfo->BorderStyle];
}

void TcxCustomEditViewData::PrepareViewInfo(TcxCustomEditViewInfo* AViewInfo) {
  TcxCustomEditViewInfo* vi = AViewInfo;
  vi->SetCalculated(true);
  vi->NativeStyle = NativeStyle;
  vi->NativeState = NativeStyle ? GetEditNativeState() : 0;
  if (FEdit) vi->Transparent = FEdit->IsTransparentStandalone();
  vi->FEditorBounds = vi->Bounds;
  if (vi->FOnCalculateEditorBounds) vi->FOnCalculateEditorBounds(vi, vi->FEditorBounds);
  if (vi->FNeedShowErrorIcon) {
    vi->FErrorBounds = vi->FEditorBounds;
    if (!FEdit) ++vi->FErrorBounds.Left;
    const int width = GetErrorIconWidth();
    if (FValidationErrorIconAlignment == taLeftJustify) {
      vi->FErrorBounds.Right = vi->FErrorBounds.Left + width;
      vi->FEditorBounds.Left = vi->FErrorBounds.Right;
    } else {
      vi->FErrorBounds.Left = vi->FErrorBounds.Right - width;
      vi->FEditorBounds.Right = vi->FErrorBounds.Left;
    }
  } else {
    vi->FErrorBounds = TRect();
  }
  vi->BorderExtent = GetBorderExtent();
  vi->BorderRect = Deflated(vi->FEditorBounds, vi->BorderExtent);
  vi->ShadowRect = vi->BorderRect;
  vi->HasContentOffsets = !ContentOffset.IsEmpty();
  if (!FIsInplace) {
    vi->BorderColor = vi->CalculateBorderColor(FStyle, Enabled, IsDesigning, FEdit);
    vi->SetBackgroundColor(vi->CalculateBackgroundColor(FStyle, Enabled, FEdit));
    vi->TextColor = vi->CalculateTextColor(FStyle, Enabled, FEdit);
  }
}

TRect TcxCustomEditViewData::GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) {
  TRect result = GetBorderExtent();
  if (FProperties->ButtonsViewStyle() != bvsNormal && !AViewInfo->ButtonsInfo.empty()) {
    const TRect buttons = GetButtonsExtent(ACanvas);
    result.Left = buttons.Left;
    result.Right = buttons.Right;
  }
  if (!IsTouchScrollUIMode) {
    if (HScrollBar) result.Bottom += HScrollBar->GetBoundsRect().Height();
    if (VScrollBar) (UseRightToLeftScrollBar ? result.Left : result.Right) += VScrollBar->GetBoundsRect().Width();
  }
  const TRect& editor = AViewInfo->FEditorBounds;
  for (const auto& button : AViewInfo->ButtonsInfo) {
    if (button->Data.LeftAlignment)
      result.Left = std::max(result.Left, button->VisibleBounds.Right - editor.Left);
    else
      result.Right = std::max(result.Right, editor.Right - button->VisibleBounds.Left);
  }
  if (FIsInplace) {
    // The look and feel's default editor margins are all zero here.
    TRect margins;
    AdjustContentExtent(margins);
    margins = FScaleFactor->Apply(margins);
    if (UseRightToLeftAlignment) std::swap(margins.Left, margins.Right);
    result.Left += margins.Left;
    result.Top += margins.Top;
    result.Right += margins.Right;
    result.Bottom += margins.Bottom;
  }
  return result;
}

// ---------------------------------------------------------------------------
// Buttons

bool TcxCustomEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) { return true; }
bool TcxCustomEditViewData::IsButtonHeldPressed(TcxCustomEditViewInfo*, int) { return false; }

bool TcxCustomEditViewData::IsButtonLeftAligned(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) {
  const int index = AViewInfo->ButtonsInfo[AButtonVisibleIndex]->ButtonIndex;
  return FProperties->Buttons()->Items(index)->LeftAlignment() != UseRightToLeftAlignment;
}

void TcxCustomEditViewData::CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                     TcxMouseButton Button, TShiftState Shift,
                                                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomEditViewInfo* vi = AViewInfo;
  const TcxEditButtonTransparency transparency = FStyle->ButtonTransparency();
  const bool focused = IsEditFocused();
  int count = ButtonVisibleCount;
  if ((!focused && transparency == ebtHideInactive) || (!focused && !Selected && transparency == ebtHideUnselected))
    count = 0;
  // The entries persist: each keeps its previous state for the next calculation.
  vi->SetButtonCount(count);
  auto& buttons = vi->ButtonsInfo;
  vi->IsButtonReallyPressed = false;
  const int previousPressed = AIsMouseEvent ? vi->PressedButton : -1;
  vi->PressedButton = -1;
  vi->SelectedButton = -1;
  FLeftSideLeftmostButtonIndex = FLeftSideRightmostButtonIndex = -1;
  FRightSideLeftmostButtonIndex = FRightSideRightmostButtonIndex = -1;
  if (count == 0) return;

  // Decided from the properties: the entries still hold the last layout's
  // data, and a fresh record's would lay the first layout out differently.
  TcxEditButtons* items = FProperties->Buttons();
  const bool comboBoxStyle = items->Count() == 1 && items->Items(0)->Kind() == bkDown;
  TRect buttonsRect = ABounds;
  if (!(!FIsInplace && NativeStyle && IsWinVistaOrLater && comboBoxStyle))
    buttonsRect = Deflated(ABounds, GetButtonsExtent(ACanvas));
  const int width = buttonsRect.Width();
  DoCalculateButtonViewInfos(ACanvas, buttonsRect, vi);
  CheckButtonsOnly(vi, width, buttonsRect.Width());
  CalculateButtonStates(P, Button, Shift, vi, previousPressed);

  const bool hasLeft = FLeftSideLeftmostButtonIndex >= 0;
  const bool hasRight = FRightSideRightmostButtonIndex >= 0;
  if (hasLeft) buttons[FLeftSideLeftmostButtonIndex]->Data.Leftmost = true;
  if (hasLeft && !(ButtonsOnlyStyle && hasRight)) buttons[FLeftSideRightmostButtonIndex]->Data.Rightmost = true;
  if (hasRight && !(ButtonsOnlyStyle && hasLeft)) buttons[FRightSideLeftmostButtonIndex]->Data.Leftmost = true;
  if (hasRight) buttons[FRightSideRightmostButtonIndex]->Data.Rightmost = true;
  if (ButtonsOnlyStyle)
    for (auto& button : buttons) button->Data.LeftAlignment = false;
}

void TcxCustomEditViewData::DoCalculateButtonViewInfos(TcxCanvas* ACanvas, TRect& AButtonsRect,
                                                       TcxCustomEditViewInfo* AViewInfo) {
  TcxEditButtons* buttons = FProperties->Buttons();
  AViewInfo->HasTextButtons = false;
  int visibleIndex = static_cast<int>(AViewInfo->ButtonsInfo.size()) - 1;
  for (int i = buttons->Count() - 1; i >= 0 && visibleIndex >= 0; --i) {
    TcxEditButton* button = buttons->Items(i);
    if (!button->Visible()) continue;
    if (button->Kind() == bkText && !AViewInfo->HasTextButtons) {
      AViewInfo->HasTextButtons = true;
      ACanvas->Font()->Assign(FStyle->GetVisibleFont());
      AViewInfo->PrepareCanvasFont(ACanvas);
    }
    TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[visibleIndex].get();
    info->ButtonIndex = i;
    info->ButtonVisibleIndex = visibleIndex;
    info->Data.Style = GetEffectiveButtonStyle();
    CalculateButtonViewInfo(ACanvas, AViewInfo, visibleIndex, AButtonsRect);
    --visibleIndex;
  }
}

void TcxCustomEditViewData::CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                    int AButtonVisibleIndex, TRect& ButtonsRect) {
  InitializeButtonInfo(AViewInfo, AButtonVisibleIndex);
  CalculateButtonBounds(ACanvas, AViewInfo, AButtonVisibleIndex, ButtonsRect);
}

void TcxCustomEditViewData::InitializeButtonInfo(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) {
  TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[AButtonVisibleIndex].get();
  TcxEditButtons* buttons = FProperties->Buttons();
  TcxEditButton* button = buttons->Items(info->ButtonIndex);
  TcxEditButtonViewInfoData& data = info->Data;
  data.ComboBoxStyle = buttons->Count() == 1 && button->Kind() == bkDown;
  data.UseSkins = AViewInfo->UseSkins;
  data.Kind = button->Kind();
  if (button->Kind() == bkText) {
    data.Caption = button->Caption();
    data.TextColor = button->TextColor();
    data.VisibleCaption = button->VisibleCaption();
  }
  data.ContentAlignment = UseRightToLeftAlignment ? Mirrored(button->ContentAlignment()) : button->ContentAlignment();
  data.Default = button->Default();
  info->Images = buttons->Images();
  info->ImageIndex = button->ImageIndex();
  info->Glyph = button->Glyph();
  info->HasBackground = AViewInfo->HasBackground;
  data.Gradient = FStyle->GradientButtons();
  data.Hint = button->Hint();
  data.ActionLink = button->ActionLink();
  data.IsInplace = FIsInplace;
  data.LeftAlignment = IsButtonLeftAligned(AViewInfo, AButtonVisibleIndex);
  data.Leftmost = false;
  data.Rightmost = false;
  data.NativeStyle = NativeStyle;
  info->Stretchable = button->Stretchable();
  info->Width = button->Width() != 0 ? button->Width() : FireGetDefaultButtonWidth(AButtonVisibleIndex);
  const TcxEditButtonTransparency transparency = FStyle->ButtonTransparency();
  data.Transparent = transparency == ebtAlways || (transparency == ebtInactive && !Selected);
  data.BackgroundColor = AViewInfo->BackgroundColor();
}

int TcxCustomEditViewData::CalculateButtonWidth(TcxEditButtonViewInfo* AButton) {
  TcxEditButtonViewInfoData& data = AButton->Data;
  const TdxThemedObjectType themeType = data.ComboBoxStyle ? totComboBox : totButton;
  if (data.NativeStyle && !OpenThemeForScaleFactor(themeType, FScaleFactor.get())) data.NativeStyle = false;
  int margin = 4;
  if (data.NativeStyle) {
    const TRect m = ThemeContentMargins(themeType);
    margin = m.Left + m.Right;
  }
  if (AButton->Width >= 1) return std::max(margin, AButton->Width);
  int result = DefaultButtonWidth();
  if (data.Kind == bkGlyph && AButton->Glyph && !AButton->Glyph->Empty()) {
    result = margin + GetGlyphScaledSize(AButton->Glyph, FScaleFactor.get()).cx;
  } else if (data.Kind == bkGlyph && AButton->Images && AButton->ImageIndex >= 0 &&
             AButton->ImageIndex < AButton->Images->Count()) {
    result = margin + FScaleFactor->Apply(AButton->Images->Width());
  } else if (data.Kind == bkText) {
    TcxScreenCanvas* canvas = SharedScreenCanvas();
    canvas->Font()->Assign(FStyle->GetVisibleFont());
    result = std::max(margin + canvas->TextWidth(data.VisibleCaption) + FScaleFactor->Apply(2) + 1, result);
    canvas->Dormant();
  }
  if (SupportsTouchMode && cxIsTouchModeEnabled()) EnsureTouchModeMinimum(result, FScaleFactor.get());
  return result;
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas*, TcxCustomEditViewInfo* AViewInfo,
                                                  int AButtonVisibleIndex, TRect& ButtonsRect) {
  TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[AButtonVisibleIndex].get();
  if (ButtonsRect.Bottom <= ButtonsRect.Top || ButtonsRect.Right < ButtonsRect.Left) {
    info->Bounds = TRect();
    info->VisibleBounds = TRect();
    return;
  }
  const int w = CalculateButtonWidth(info);
  info->Width = w;
  const int c = std::min(w, ButtonsRect.Width());
  if (info->Data.LeftAlignment) {
    info->Bounds = TRect(ButtonsRect.Left, ButtonsRect.Top, ButtonsRect.Left + w, ButtonsRect.Bottom);
    info->VisibleBounds = TRect(ButtonsRect.Left, ButtonsRect.Top, ButtonsRect.Left + c, ButtonsRect.Bottom);
    ButtonsRect.Left += c;
    if (FLeftSideLeftmostButtonIndex < 0) FLeftSideLeftmostButtonIndex = AButtonVisibleIndex;
    FLeftSideRightmostButtonIndex = AButtonVisibleIndex;
  } else {
    info->Bounds = TRect(ButtonsRect.Right - w, ButtonsRect.Top, ButtonsRect.Right, ButtonsRect.Bottom);
    info->VisibleBounds = TRect(ButtonsRect.Right - c, ButtonsRect.Top, ButtonsRect.Right, ButtonsRect.Bottom);
    ButtonsRect.Right -= c;
    if (FRightSideRightmostButtonIndex < 0) FRightSideRightmostButtonIndex = AButtonVisibleIndex;
    FRightSideLeftmostButtonIndex = AButtonVisibleIndex;
  }
}

void TcxCustomEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo, int APrevButtonsWidth,
                                             int AButtonsWidth) {
  if (!ButtonsOnlyStyle || AButtonsWidth <= 0) return;
  auto& buttons = AViewInfo->ButtonsInfo;
  const int count = static_cast<int>(buttons.size());
  std::vector<bool> grows(count, false);
  int total = 0;
  for (int i = 0; i < count; ++i)
    if (buttons[i]->Stretchable && !IgnoreButtonWhileStretching(i)) {
      grows[i] = true;
      total += buttons[i]->Width;
    }
  if (total == 0) {
    grows.assign(count, true);
    total = APrevButtonsWidth - AButtonsWidth;
  }
  if (total <= 0) return;
  int last = -1;
  for (int i = 0; i < count && last < 0; ++i)
    if (grows[i]) last = i;
  int rest = AButtonsWidth;
  // Walked as they were placed (last to first); the last share takes the rest.
  for (int i = count - 1; i >= 0; --i) {
    if (!grows[i]) continue;
    const int share = i == last ? rest : buttons[i]->Width * AButtonsWidth / total;
    rest -= share;
    TcxEditButtonViewInfo* b = buttons[i].get();
    const bool left = b->Data.LeftAlignment;
    b->Width += share;
    (left ? b->Bounds.Right : b->Bounds.Left) += left ? share : -share;
    (left ? b->VisibleBounds.Right : b->VisibleBounds.Left) += left ? share : -share;
    // The buttons placed after this one on its side move outward with it.
    for (int j = i - 1; j >= 0; --j) {
      if (buttons[j]->Data.LeftAlignment != left) continue;
      buttons[j]->Bounds.Offset(left ? share : -share, 0);
      buttons[j]->VisibleBounds.Offset(left ? share : -share, 0);
    }
  }
}

void TcxCustomEditViewData::CalculateButtonStates(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                                  TcxCustomEditViewInfo* AViewInfo, int APrevPressedButton) {
  const int captureButton = GetCaptureButtonIndex();
  for (int i = 0; i < static_cast<int>(AViewInfo->ButtonsInfo.size()); ++i) {
    TcxEditButtonViewInfo* info = AViewInfo->ButtonsInfo[i].get();
    const TcxEditButtonState previous = info->Data.State;
    const bool held = IsButtonHeldPressed(AViewInfo, i);
    TcxEditButtonState state = ebsNormal;
    if (!Enabled || !FProperties->Buttons()->Items(info->ButtonIndex)->Enabled()) {
      state = ebsDisabled;
    } else if (!held && (IsDesigning || !info->VisibleBounds.Contains(P))) {
      state = ebsNormal;
    } else {
      const bool captured =
          Button == cxmbNone && Shift.Contains(ssLeft) && previous == ebsNormal && i == captureButton;
      const bool leftDown = Button == cxmbLeft && HoldsOnlyLeft(Shift);
      const bool stillPressed = previous == ebsPressed && Shift.Contains(ssLeft);
      if (leftDown || held || stillPressed || captured) AViewInfo->IsButtonReallyPressed = true;
      if (!held && !HoldsMouseButton(Shift) && !captured) {
        state = ebsSelected;
        AViewInfo->SelectedButton = i;
      } else if (held || (captured && CanPressButton(AViewInfo, i)) ||
                 (HoldsOnlyLeft(Shift) &&
                  ((Button == cxmbLeft && CanPressButton(AViewInfo, i)) || i == APrevPressedButton)) ||
                 stillPressed) {
        state = ebsPressed;
        AViewInfo->PressedButton = i;
      }
    }
    FireGetButtonState(info, state);
    info->Data.State = state;
    IsNativeBackgroundTransparent(info);
  }
}

void TcxCustomEditViewData::FireGetButtonState(TcxEditButtonViewInfo* AButtonViewInfo, TcxEditButtonState& AState) {
  TcxCustomEditViewInfo* vi = AButtonViewInfo->EditViewInfo;
  if (vi && vi->FOnGetButtonState) vi->FOnGetButtonState(AButtonViewInfo, AState);
}

TdxThemedObjectType TcxCustomEditViewData::GetNativeTheme(TcxEditButtonViewInfo* AButtonViewInfo) {
  return AButtonViewInfo->Data.ComboBoxStyle ? totComboBox : totButton;
}

void TcxCustomEditViewData::CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) {
  static constexpr int ThemeStates[] = {4, 1, 3, 2};  // disabled, normal, pressed, hot
  TcxEditButtonViewInfoData& data = AButtonViewInfo->Data;
  if (!ATheme)
    data.NativePart = 0;
  else if (data.ComboBoxStyle && !FIsInplace && IsWinVistaOrLater)
    data.NativePart = data.LeftAlignment ? 7 : 6;
  else
    data.NativePart = 1;
  data.NativeState = ThemeStates[data.State];
}

bool TcxCustomEditViewData::IsNativeBackgroundTransparent(TcxEditButtonViewInfo* AButtonViewInfo) {
  TcxEditButtonViewInfoData& data = AButtonViewInfo->Data;
  const HTHEME theme =
      data.NativeStyle ? OpenThemeForScaleFactor(GetNativeTheme(AButtonViewInfo), FScaleFactor.get()) : nullptr;
  CalculateNativePartAndState(theme, AButtonViewInfo);
  data.BackgroundPartiallyTransparent =
      data.UseSkins || (data.NativePart != 0 && IsThemeBackgroundPartiallyTransparent(theme, data.NativePart,
                                                                                      data.NativeState));
  return data.BackgroundPartiallyTransparent;
}

void TcxCustomEditViewData::CheckStartButtonsFading(TcxCustomEditViewInfo* AViewInfo) {
  for (auto& button : AViewInfo->ButtonsInfo)
    if (button->FadingHelper) button->FadingHelper->UpdateState();
}

// ---------------------------------------------------------------------------
// Measuring

TSize TcxCustomEditViewData::GetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                         TcxEditSizeProperties AEditSizeProperties, TcxCustomEditViewInfo* AViewInfo) {
  return DoGetEditSize(ACanvas, AEditValue, AEditSizeProperties, AViewInfo, false);
}

TSize TcxCustomEditViewData::GetEditingSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                            TcxEditSizeProperties AEditSizeProperties,
                                            TcxCustomEditViewInfo* AViewInfo) {
  return DoGetEditSize(ACanvas, AEditValue, AEditSizeProperties, AViewInfo, true);
}

TSize TcxCustomEditViewData::GetEditConstantPartSize(TcxCanvas* ACanvas,
                                                     const TcxEditSizeProperties& AEditSizeProperties,
                                                     TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  TOwned<TcxCustomEditViewInfo> temporary;
  if (!AViewInfo) {
    temporary.reset(NewOfClass<TcxCustomEditViewInfo>(FProperties->GetViewInfoClass()));
    Calculate(ACanvas, TRect(0, 0, 32000, 32000), TPoint(-1, -1), cxmbNone, {}, temporary.get(), false);
    AViewInfo = temporary.get();
  }
  return CalculateEditSize(ACanvas, AEditSizeProperties, MinContentSize, AViewInfo);
}

TSize TcxCustomEditViewData::CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties&,
                                               TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  MinContentSize = TSize(0, 0);
  FErrorData = AViewInfo->ErrorData();
  TSize result;
  if (AViewInfo->Bounds.IsEmpty() || AViewInfo->ClientRect.IsEmpty()) {
    const TRect extent = GetClientExtent(ACanvas, AViewInfo);
    result = TSize(extent.Left + extent.Right + GetErrorIconWidth(), extent.Top + extent.Bottom);
  } else {
    result = TSize(AViewInfo->Bounds.Width() - AViewInfo->ClientRect.Width(),
                   AViewInfo->Bounds.Height() - AViewInfo->ClientRect.Height());
  }
  int tallest = 0;
  TcxEditButtons* buttons = FProperties->Buttons();
  for (int i = 0; i < buttons->Count(); ++i) {
    TcxEditButton* button = buttons->Items(i);
    if (!button->Visible()) continue;
    if (button->Kind() == bkGlyph && !button->Glyph()->Empty())
      tallest = std::max(tallest, GetGlyphScaledSize(button->Glyph(), FScaleFactor.get()).cy);
    else if (FIsInplace && button->Kind() == bkText && !button->Caption().empty()) {
      ACanvas->Font()->Assign(FStyle->GetVisibleFont());
      tallest = std::max(tallest, ACanvas->TextHeight(button->VisibleCaption()));
    }
  }
  if (tallest > 0) {
    if (!SkinPainterOf(FStyle)) {
      const TRect extent = GetButtonsExtent(ACanvas);
      tallest += extent.Top + extent.Bottom;
    }
    static constexpr int ContentOffsets[] = {0, 4, 2, 2, 2, 2, 2};
    if (NativeStyle) {
      const TRect m = ThemeContentMargins(totButton);
      tallest += m.Top + m.Bottom;
    } else {
      tallest += ContentOffsets[GetEffectiveButtonStyle()];
    }
    MinContentSize.cy = std::max(0, tallest - result.cy);
  }
  return result;
}

TSize TcxCustomEditViewData::DoGetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                           TcxEditSizeProperties AEditSizeProperties,
                                           TcxCustomEditViewInfo* AViewInfo, bool AIsEditing) {
  TSize minContent;
  const TSize constant = GetEditConstantPartSize(ACanvas, AEditSizeProperties, minContent, AViewInfo);
  if (AEditSizeProperties.Height > 0) AEditSizeProperties.Height = std::max(0, AEditSizeProperties.Height - constant.cy);
  if (AEditSizeProperties.Width > 0) AEditSizeProperties.Width = std::max(0, AEditSizeProperties.Width - constant.cx);
  TSize content = AIsEditing ? GetEditingContentSize(ACanvas, AEditValue, AEditSizeProperties)
                             : GetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
  content.cx = std::max(content.cx, minContent.cx);
  content.cy = std::max(content.cy, minContent.cy);
  const TSize result(constant.cx + content.cx, constant.cy + content.cy);
  return FIsInplace ? result : ApplyEditConstraints(result);
}
