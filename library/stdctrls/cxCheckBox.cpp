#include "library/stdctrls/cxCheckBox.h"

#include "library/core/data/cxVariants.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "platform/classes/Filer.h"

#include <algorithm>

namespace {

// The event a check box raises for accessibility clients on each change of
// its state.
constexpr DWORD CheckStateChangedEvent = 30086;

const TResStringRec* const DisplayTextDefaults[] = {&cxSEditCheckBoxUnchecked, &cxSEditCheckBoxChecked,
                                                     &cxSEditCheckBoxGrayed};

TAlignment Mirrored(TAlignment AAlignment) {
  if (AAlignment == taLeftJustify) return taRightJustify;
  if (AAlignment == taRightJustify) return taLeftJustify;
  return AAlignment;
}

// The mark's frame by container hot state: a selected (hot) container raises
// the plain styles one step.
TcxEditBorderStyle CheckBorderStyle(TcxContainerHotState AHotState, TcxEditBorderStyle AStyle) {
  if (AHotState != chsSelected) return AStyle;
  switch (AStyle) {
    case ebsNone:
      return ebsFlat;
    case ebsSingle:
      return ebsThick;
    case ebsFlat:
      return ebs3D;
    default:
      return AStyle;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxProperties

void TcxCustomCheckBoxProperties::Create(TPersistent* AOwner) {
  FGlyph.reset(New<TdxSmartGlyph>());
  FValueChecked = Variant(true);
  FValueGrayed = Variant::NullValue();
  FValueUnchecked = Variant(false);
  inherited::Create(AOwner);
  FGlyph->SetTransparent(false);
  FGlyph->SetOnChange(BindEvent<&TcxCustomCheckBoxProperties::GlyphChanged>(this));
}

void TcxCustomCheckBoxProperties::Destroy() {
  FGlyph->SetOnChange(TNotifyEvent());
  inherited::Destroy();
}

void TcxCustomCheckBoxProperties::SetCaption(const String& AValue) {
  FIsCaptionAssigned = true;
  if (FCaption == AValue) return;
  FCaption = AValue;
  Changed();
}

String TcxCustomCheckBoxProperties::DisplayCheckState(TcxCheckBoxState AState) const {
  return FIsDisplayCheckStateAssigned[AState] ? FDisplayCheckState[AState] : LoadResString(DisplayTextDefaults[AState]);
}

void TcxCustomCheckBoxProperties::SetDisplayCheckState(TcxCheckBoxState AState, const String& AValue) {
  if (AValue == DisplayCheckState(AState)) return;
  FDisplayCheckState[AState] = AValue;
  FIsDisplayCheckStateAssigned[AState] = AValue != LoadResString(DisplayTextDefaults[AState]);
}

bool TcxCustomCheckBoxProperties::IsOwnerLoading() {
  auto* owner = dynamic_cast<TComponent*>(Owner());
  return owner && owner->ComponentState().Contains(csLoading);
}

bool TcxCustomCheckBoxProperties::IsOneOfTheValues(const Variant& AValue) const {
  return IsSameEditValue(AValue, FValueChecked) || IsSameEditValue(AValue, FValueGrayed) ||
         IsSameEditValue(AValue, FValueUnchecked);
}

void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& AValue) {
  if (!IsOwnerLoading() && (AValue.IsNull() || IsOneOfTheValues(AValue))) return;
  FValueChecked = AValue;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& AValue) {
  if (!IsOwnerLoading() && IsOneOfTheValues(AValue)) return;
  FValueGrayed = AValue;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& AValue) {
  if (!IsOwnerLoading() && (AValue.IsNull() || IsOneOfTheValues(AValue))) return;
  FValueUnchecked = AValue;
  Changed();
}

bool TcxCustomCheckBoxProperties::IsValueCheckedStored() const {
  return !(FValueChecked.VType() == varBoolean && FValueChecked.AsBoolean());
}

bool TcxCustomCheckBoxProperties::IsValueUncheckedStored() const {
  return !(FValueUnchecked.VType() == varBoolean && !FValueUnchecked.AsBoolean());
}

TcxCheckBoxState TcxCustomCheckBoxProperties::GetState(const Variant& AEditValue) const {
  if (VariantsEqualBooleanAware(AEditValue, FValueChecked)) return cbsChecked;
  if (VariantsEqualBooleanAware(AEditValue, FValueUnchecked)) return cbsUnchecked;
  return cbsGrayed;
}

void TcxCustomCheckBoxProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomCheckBoxProperties*>(ASource);
  if (!source) return;
  FAllowGrayed = source->AllowGrayed();
  SetDisplayChecked(source->DisplayChecked());
  SetDisplayGrayed(source->DisplayGrayed());
  SetDisplayUnchecked(source->DisplayUnchecked());
  SetFullFocusRect(source->FullFocusRect());
  SetGlyph(source->Glyph());
  SetGlyphCount(source->GlyphCount());
  SetMultiLine(source->MultiLine());
  SetNullStyle(source->NullStyle());
  SetUseAlignmentWhenInplace(source->UseAlignmentWhenInplace());
  // The three values go together: one at a time, the second could meet the
  // first's old value and be refused.
  const Variant& checked = source->ValueChecked();
  const Variant& grayed = source->ValueGrayed();
  const Variant& unchecked = source->ValueUnchecked();
  if (!checked.IsNull() && !unchecked.IsNull() && !IsSameEditValue(checked, grayed) &&
      !IsSameEditValue(checked, unchecked) && !IsSameEditValue(grayed, unchecked)) {
    FValueChecked = checked;
    FValueGrayed = grayed;
    FValueUnchecked = unchecked;
    Changed();
  }
  SetShowEndEllipsis(source->ShowEndEllipsis());
}

TClass TcxCustomCheckBoxProperties::GetViewDataClassType() { return TcxCustomCheckBoxViewData::ClassInfo(); }
TClass TcxCustomCheckBoxProperties::GetViewInfoClass() { return TcxCustomCheckBoxViewInfo::ClassInfo(); }
TClass TcxCustomCheckBoxProperties::GetContainerClass() { return TcxCheckBox::ClassInfo(); }

bool TcxCustomCheckBoxProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  return GetState(AEditValue1) == GetState(AEditValue2);
}

String TcxCustomCheckBoxProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  return DisplayCheckState(GetState(AEditValue));
}

TcxEditSupportedOperations TcxCustomCheckBoxProperties::GetSupportedOperations() {
  return {esoAlwaysHotTrack, esoEditing, esoFiltering, esoHotTrack, esoShowingCaption,
          esoSorting,        esoTransparency, esoAutoWidth};
}

bool TcxCustomCheckBoxProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused) {
  return inherited::IsEditValueValid(AEditValue, AEditFocused) && IsOneOfTheValues(AEditValue);
}

void TcxCustomCheckBoxProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  ADisplayValue = Variant(static_cast<int>(GetState(AEditValue)));
}

void TcxCustomCheckBoxProperties::ReadCaption(TReader* AReader) { SetCaption(AReader->ReadString()); }

void TcxCustomCheckBoxProperties::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"Caption", [this](TReader* R) { ReadCaption(R); }, [](TWriter*) {}, false);
}

void TcxCheckBoxProperties::Publish(TPublisher<TcxCheckBoxProperties>& P) {
  using C = TcxCheckBoxProperties;
  P.Property(L"Alignment", &C::Alignment, &C::SetAlignment).Stored(&C::IsAlignmentStored);
  P.Property(L"AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed).Default(false);
  P.Property(L"DisplayChecked", &C::DisplayChecked, &C::SetDisplayChecked)
      .Stored(&C::IsDisplayCheckedStored);
  P.Property(L"DisplayGrayed", &C::DisplayGrayed, &C::SetDisplayGrayed)
      .Stored(&C::IsDisplayGrayedStored);
  P.Property(L"DisplayUnchecked", &C::DisplayUnchecked, &C::SetDisplayUnchecked)
      .Stored(&C::IsDisplayUncheckedStored);
  P.Property(L"FullFocusRect", &C::FullFocusRect, &C::SetFullFocusRect).Default(false);
  P.Property(L"Glyph", &C::Glyph, &C::SetGlyph);
  P.Property(L"GlyphCount", &C::GlyphCount, &C::SetGlyphCount).Default(6);
  P.Property(L"ImmediatePost", &C::ImmediatePost, &C::SetImmediatePost).Default(false);
  P.Property(L"MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
  P.Property(L"NullStyle", &C::NullStyle, &C::SetNullStyle).Default(nssGrayedChecked);
  P.Property(L"ShowEndEllipsis", &C::ShowEndEllipsis, &C::SetShowEndEllipsis).Default(false);
  P.Property(L"UseAlignmentWhenInplace", &C::UseAlignmentWhenInplace, &C::SetUseAlignmentWhenInplace)
      .Default(false);
  P.Property(L"ValueChecked", &C::ValueChecked, &C::SetValueChecked).Stored(&C::IsValueCheckedStored);
  P.Property(L"ValueGrayed", &C::ValueGrayed, &C::SetValueGrayed).Stored(&C::IsValueGrayedStored);
  P.Property(L"ValueUnchecked", &C::ValueUnchecked, &C::SetValueUnchecked).Stored(&C::IsValueUncheckedStored);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxViewInfo

void TcxCustomCheckBoxViewInfo::Assign(TObject* ASource) {
  if (auto* source = dynamic_cast<TcxCustomCheckBoxViewInfo*>(ASource)) {
    CheckBoxState = source->CheckBoxState;
    State = source->State;
  }
  inherited::Assign(ASource);
}

void TcxCustomCheckBoxViewInfo::SaveButtonStates() {
  inherited::SaveButtonStates();
  CheckBoxLastState = CheckBoxState;
}

void TcxCustomCheckBoxViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  CheckBoxRect.Offset(DX, DY);
  FocusRect.Offset(DX, DY);
}

TOwned<TcxRegion> TcxCustomCheckBoxViewInfo::GetUpdateRegion(TcxContainerViewInfo* AViewInfo) {
  TOwned<TcxRegion> region = inherited::GetUpdateRegion(AViewInfo);
  auto* other = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  if (other && (other->CheckBoxState != CheckBoxState || other->State != State)) region->Combine(CheckBoxRect, roAdd);
  return region;
}

bool TcxCustomCheckBoxViewInfo::NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds,
                                             String& AText, bool& AIsMultiLine, TRect& ATextRect,
                                             int AMaxLineCount) {
  AText.clear();
  return inherited::NeedShowHint(ACanvas, P, AVisibleBounds, AText, AIsMultiLine, ATextRect, AMaxLineCount);
}

bool TcxCustomCheckBoxViewInfo::Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                                        TcxContainerViewInfo* AViewInfo) {
  bool result = inherited::Repaint(AControl, AInnerEditRect, AViewInfo);
  auto* other = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  if (other && AControl->HandleAllocated() && (other->CheckBoxState != CheckBoxState || other->State != State)) {
    TRect R = CheckBoxRect;
    R.Offset(Left, Top);
    RedrawWindow(AControl->Handle(), R.WinRect(), nullptr, RDW_INVALIDATE);
    result = true;
  }
  return result;
}

TRect TcxCustomCheckBoxViewInfo::CalculateContentOffset(bool AIsInplace, bool ACaptionVisible, TAlignment AAlignment) {
  if (AIsInplace) return TRect(1, 1, 1, 1);
  if (!ACaptionVisible) return TRect(0, 2, 0, 2);
  if (AAlignment == taLeftJustify) return TRect(0, 2, 2, 2);
  if (AAlignment == taRightJustify) return TRect(2, 2, 0, 2);
  return TRect(0, 2, 0, 2);
}

int TcxCustomCheckBoxViewInfo::CalculateTextGap(bool AIsInplace, bool ANativeStyle) {
  return AIsInplace || ANativeStyle ? 3 : 5;
}

void TcxCustomCheckBoxViewInfo::DrawCheckBoxMark(TcxCanvas* ACanvas, const TRect& R, TcxEditCheckState ACheckState) {
  DrawCheckMark(ACanvas, R, State, ACheckState, CheckBoxGlyph, CheckBoxGlyphCount, CheckBoxBorderStyle, NativeStyle,
                BorderColor, BackgroundColor(), !Transparent, IsDesigning, Focused, true,
                UseSkins ? Painter : nullptr, ScaleFactor(), NullValueShowingStyle);
}

void TcxCustomCheckBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawCustomEdit(ACanvas, true, true);
  if (CanDrawEditValue()) {
    DrawCheckBoxMark(ACanvas, CheckBoxRect, CheckBoxState);
    if (Alignment != taCenter && !Text.empty()) {
      const TcxCanvasStateScope state(ACanvas);
      ACanvas->Font()->Assign(Font);
      ACanvas->Font()->SetColor(TextColor);
      ACanvas->Brush()->SetStyle(bsClear);
      if (PaintOnGlass)
        DrawTextOnGlass(ACanvas, Text, TextRect, TextFlagsToDrawTextFlags(DrawTextFlags));
      else
        ACanvas->DrawTexT(Text, TextRect, DrawTextFlags, !DisabledText);
      ACanvas->Brush()->SetStyle(bsSolid);
    }
  }
  if (!FocusRect.IsEmpty()) ACanvas->DrawFocusRect(FocusRect);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxViewData

void TcxCustomCheckBoxViewData::InitDefaults() {
  inherited::InitDefaults();
  FAlignment = Properties()->Alignment()->Horz();
}

TAlignment TcxCustomCheckBoxViewData::EffectiveAlignment() {
  return UseRightToLeftAlignment ? Mirrored(FAlignment) : FAlignment;
}

int TcxCustomCheckBoxViewData::GetTextGap() {
  return ScaleFactor()->Apply(TcxCustomCheckBoxViewInfo::CalculateTextGap(IsInplace(), NativeStyle));
}

TRect TcxCustomCheckBoxViewData::GetContentOffset(bool ACaptionVisible) {
  const TRect R = TcxCustomCheckBoxViewInfo::CalculateContentOffset(IsInplace(), ACaptionVisible, EffectiveAlignment());
  return TRect(ScaleFactor()->Apply(R.Left), ScaleFactor()->Apply(R.Top), ScaleFactor()->Apply(R.Right),
               ScaleFactor()->Apply(R.Bottom));
}

int TcxCustomCheckBoxViewData::GetCaptionTextFlags(bool AMeasuring) {
  TcxCustomCheckBoxProperties* properties = Properties();
  int flags = cxtfShowPrefix;
  if (UseRightToLeftAlignment) {
    const TAlignment horz = properties->Alignment()->Horz() == taCenter ? taCenter : taLeftJustify;
    flags |= horz == taCenter ? cxtfCenterX : cxtfRight;
  }
  if (!AMeasuring) flags |= cxtfCenterY;
  if (properties->MultiLine())
    flags |= cxtfWordBreak | cxtfNoClip;
  else if (properties->ShowEndEllipsis())
    flags |= cxtfSingleLine | cxtfEndEllipsis;
  else
    flags |= cxtfSingleLine;
  if (UseRightToLeftReading) flags |= cxtfRtlReading;
  return flags;
}

TRect TcxCustomCheckBoxViewData::CalculateCheckBoxRect(TcxCustomCheckBoxViewInfo* AViewInfo) {
  const TRect& client = AViewInfo->ClientRect;
  const TSize size(std::min<int>(AViewInfo->CheckBoxSize.cx, client.Width()),
                   std::min<int>(AViewInfo->CheckBoxSize.cy, client.Height()));
  TRect R = CenterRectVertically(CenterRectHorizontally(client, size.cx), size.cy);
  if (size.cx < client.Width()) {
    const bool captionVisible = AViewInfo->Alignment != taCenter && !IsInplace() && !AViewInfo->Text.empty();
    const TRect offsets = IsInplace() && Properties()->IsGroupButton() ? TRect() : GetContentOffset(captionVisible);
    if (AViewInfo->Alignment == taLeftJustify) R = TRect(client.Left + offsets.Left, R.Top, 0, R.Bottom);
    if (AViewInfo->Alignment == taRightJustify) R = TRect(client.Right - offsets.Right - size.cx, R.Top, 0, R.Bottom);
    R.Right = R.Left + size.cx;
  }
  return R;
}

TRect TcxCustomCheckBoxViewData::CalculateTextRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  const TRect& client = AViewInfo->ClientRect;
  const TRect offsets = GetContentOffset(!AViewInfo->Text.empty() && AViewInfo->Alignment != taCenter);
  TRect R(client.Left + offsets.Left, client.Top, client.Right - offsets.Left, client.Bottom);
  if (!IsInplace() && !NativeStyle && TcxCustomCheckBoxViewInfo::NeedsTextOffsetCorrection()) {
    const TcxCanvasStateScope state(ACanvas);
    ACanvas->Font()->Assign(AViewInfo->Font);
    if ((R.Height() - ACanvas->TextHeight(L"Wg")) % 2 == 0) R.Offset(0, -1);
  }
  const TRect& check = AViewInfo->CheckBoxRect;
  if (check.Width() < client.Width()) {
    if (AViewInfo->Alignment == taLeftJustify) R.Left = check.Right + GetTextGap();
    if (AViewInfo->Alignment == taRightJustify) R.Right = check.Left - GetTextGap();
  } else {
    R = TRect();
  }
  if (AViewInfo->DisabledText && !AViewInfo->UseSkins) {
    R.Right += 1;
    R.Bottom += 1;
  }
  return R;
}

TcxEditCheckState TcxCustomCheckBoxViewData::CalculateCheckBoxState(TcxCustomCheckBoxViewInfo* AViewInfo,
                                                                    const TPoint& P, TcxMouseButton Button,
                                                                    TShiftState Shift) {
  if (!Enabled) return ecsDisabled;
  if (auto* edit = dynamic_cast<TcxCustomCheckBox*>(Edit()); edit && edit->IsCheckPressed()) return ecsPressed;
  if (IsDesigning || !AViewInfo->Bounds.Contains(P)) return ecsNormal;
  if (!Shift.Contains(ssLeft) && !Shift.Contains(ssRight) && !Shift.Contains(ssMiddle)) return ecsHot;
  if (Shift.Contains(ssLeft) && (Button == cxmbLeft || AViewInfo->CheckBoxState == ecsPressed)) return ecsPressed;
  return ecsNormal;
}

TRect TcxCustomCheckBoxViewData::CalculateFocusRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo) {
  if (!Focused) return TRect();
  TcxCustomCheckBoxProperties* properties = Properties();
  if (AViewInfo->Alignment == taCenter) {
    if (!IsInplace() || !PaintOptions.Contains(epoShowFocusRectWhenInplace)) return TRect();
  } else if (IsInplace() && !properties->IsGroupButton()) {
    return TRect();
  }
  const TRect& client = AViewInfo->ClientRect;
  TRect R;
  if (AViewInfo->Alignment == taCenter) {
    R = InflateRectangle(client, -1);
  } else if (AViewInfo->Text.empty()) {
    return TRect();
  } else if (properties->FullFocusRect()) {
    R = client;
    if (AViewInfo->Alignment == taLeftJustify)
      R.Left = AViewInfo->TextRect.Left - 1;
    else
      R.Right = AViewInfo->TextRect.Right + 1;
  } else {
    const TcxCanvasStateScope state(ACanvas);
    ACanvas->Font()->Assign(AViewInfo->Font);
    TRect text = AViewInfo->TextRect;
    const int flags = AViewInfo->DrawTextFlags & ~cxtfCenterY;
    ACanvas->TextExtent(AViewInfo->Text, text, flags);
    const TRect centred = CenterRectVertically(AViewInfo->TextRect, text.Height());
    text = TRect(text.Left, centred.Top, text.Right, centred.Bottom);
    R = InflateRectangle(text, 1);
    if (!NativeStyle) R.Bottom += 1;
  }
  R.Left = std::max(R.Left, client.Left);
  R.Right = std::min(R.Right, client.Right);
  if (AViewInfo->Alignment == taLeftJustify) R.Right = std::min(R.Right, AViewInfo->TextRect.Right + 1);
  if (AViewInfo->Alignment == taRightJustify) R.Left = std::max(R.Left, AViewInfo->TextRect.Left - 1);
  R.Top = std::max(R.Top, client.Top);
  R.Bottom = std::min(R.Bottom, client.Bottom);
  return R;
}

void TcxCustomCheckBoxViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo)->State = Properties()->GetState(AEditValue);
}

void TcxCustomCheckBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                          TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                          bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  TcxCustomCheckBoxProperties* properties = Properties();
  vi->DrawTextFlags = GetCaptionTextFlags(false);
  if (Edit()) vi->Text = Edit()->Caption();
  FAlignment = properties->Alignment()->Horz();
  if (IsInplace() && !properties->IsGroupButton() && !properties->UseAlignmentWhenInplace() && vi->Text.empty())
    FAlignment = taCenter;
  vi->Alignment = EffectiveAlignment();
  vi->CheckBoxBorderStyle = CheckBorderStyle(vi->HotState, static_cast<TcxEditBorderStyle>(Style()->BorderStyle()));
  vi->CheckBoxGlyph = properties->InternalGetGlyph();
  vi->CheckBoxGlyphCount = properties->GlyphCount();
  vi->NullValueShowingStyle = properties->NullStyle();
  vi->HasGlyph = vi->CheckBoxGlyphCount > 0 && vi->CheckBoxGlyph && !vi->CheckBoxGlyph->Empty();
  vi->CheckBorderOffset = vi->NativeStyle || vi->HasGlyph || vi->UseSkins
                              ? 0
                              : 2 - BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(vi->CheckBoxBorderStyle));
  vi->IsTextColorAssigned = Style()->IsValueAssigned(svTextColor);
  vi->DisabledText = !vi->IsContainerInnerControl && !Enabled && !vi->IsTextColorAssigned && !vi->NativeStyle;
  vi->CheckBoxSize = GetCheckMarkSize(vi->CheckBoxGlyph, vi->CheckBoxGlyphCount, vi->NativeStyle,
                                      vi->UseSkins ? vi->Painter : nullptr, ScaleFactor());
  vi->CheckBoxRect = CalculateCheckBoxRect(vi);
  vi->TextRect = CalculateTextRect(ACanvas, vi);
  vi->CheckBoxState = CalculateCheckBoxState(vi, P, Button, Shift);
  vi->FocusRect = CalculateFocusRect(ACanvas, vi);
  if (IsInplace() && vi->CheckBoxBorderStyle == ebsSingle)
    vi->BorderColor = vi->CheckBoxState == ecsHot || (IsDesigning && vi->CheckBoxState != ecsDisabled)
                          ? clHighlight
                          : clBtnShadow;
}

TSize TcxCustomCheckBoxViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant&,
                                                    const TcxEditSizeProperties& AEditSizeProperties,
                                                    TcxEditValidateInfo*) {
  const String caption = Edit() ? Edit()->Caption() : String();
  if (caption.empty()) return TSize(0, 0);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Font()->Assign(Style()->GetVisibleFont());
  const int gap = GetTextGap();
  TRect R(0, 0, std::max(AEditSizeProperties.Width - gap, 1), 0);
  ACanvas->TextExtent(caption, R, GetCaptionTextFlags(true) | cxtfNoCharBreak | cxtfCalcRect);
  const TRect offsets = GetContentOffset(true);
  return TSize(R.Width() + gap, R.Height() + offsets.Top + offsets.Bottom);
}

TSize TcxCustomCheckBoxViewData::CalculateEditSize(TcxCanvas* ACanvas,
                                                   const TcxEditSizeProperties& AEditSizeProperties,
                                                   TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  TSize size = inherited::CalculateEditSize(ACanvas, AEditSizeProperties, MinContentSize, AViewInfo);
  TcxCustomCheckBoxProperties* properties = Properties();
  const TSize check = GetCheckMarkSize(properties->InternalGetGlyph(), properties->GlyphCount(), NativeStyle,
                                       nullptr, ScaleFactor());
  const String caption = Edit() ? Edit()->Caption() : String();
  const TRect offsets = GetContentOffset(!caption.empty() && EffectiveAlignment() != taCenter);
  size.cx += check.cx + offsets.Left + offsets.Right;
  MinContentSize.cy = std::max<int>(MinContentSize.cy, check.cy + offsets.Top + offsets.Bottom);
  size.cy = std::max<int>(size.cy, MinContentSize.cy);
  return size;
}

void TcxCustomCheckBoxViewData::AdjustContentExtent(TRect& AExtent) {
  inherited::AdjustContentExtent(AExtent);
  if (!IsInplace()) {
    AExtent.Left = 0;
    AExtent.Right = 0;
  }
}

// ---------------------------------------------------------------------------
// TcxCustomCheckBox

void TcxCustomCheckBox::Publish(TPublisher<TcxCustomCheckBox>& P) {
  P.Message<&TcxCustomCheckBox::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TcxCustomCheckBox::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCustomCheckBox::WMLButtonUp>(WM_LBUTTONUP);
  P.Message<&TcxCustomCheckBox::WMGetDlgCode>(WM_GETDLGCODE);
  P.Message<&TcxCustomCheckBox::BMGetCheck>(BM_GETCHECK);
  P.Message<&TcxCustomCheckBox::BMClick>(BM_CLICK);
}

void TcxCustomCheckBox::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks} + TControlStyle{csParentBackground});
  SetBounds(Left(), Top(), 121, 21);
  if (!(Owner() && Owner()->ComponentState().Contains(csLoading))) Style()->SetTransparentBorder(false);
  Variant value;
  PrepareEditValue(Variant(0), value, false);
  SetInternalEditValue(value);
}

void TcxCustomCheckBox::Loaded() {
  FIsLoaded = true;
  LockChangeEvents(true);
  LockClick(true);
  TryFinally(
      [this] {
        inherited::Loaded();
        if (FIsLoadingStateAssigned)
          SetState(FLoadingState);
        else if (!IsBoundToDataStorage())
          SetState(cbsUnchecked);
      },
      [this] {
        LockClick(false);
        LockChangeEvents(false, false);
        FIsLoaded = false;
        FIsLoadingStateAssigned = false;
      });
}

TcxCheckBoxState TcxCustomCheckBox::State() {
  if ((IsLoading() || FIsLoaded) && FIsLoadingStateAssigned) return FLoadingState;
  return ActiveProperties()->GetState(EditValue());
}

void TcxCustomCheckBox::SetState(TcxCheckBoxState AValue) {
  if (IsLoading()) {
    FLoadingState = AValue;
    FIsLoadingStateAssigned = true;
    return;
  }
  if (FIsLoaded) FIsLoadingStateAssigned = false;
  if (AValue == ActiveProperties()->GetState(EditValue())) return;
  Variant value;
  PrepareEditValue(Variant(static_cast<int>(AValue)), value, Focused());
  SetInternalEditValue(value);
}

bool TcxCustomCheckBox::IsStateStored() const {
  return const_cast<TcxCustomCheckBox*>(this)->State() != cbsUnchecked;
}

void TcxCustomCheckBox::PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool) {
  TcxCustomCheckBoxProperties* properties = ActiveProperties();
  AEditValue = Variant();
  if (ADisplayValue.IsNull() || ADisplayValue.IsEmpty()) return;
  switch (ADisplayValue.AsInteger()) {
    case cbsUnchecked:
      AEditValue = properties->ValueUnchecked();
      break;
    case cbsChecked:
      AEditValue = properties->ValueChecked();
      break;
    case cbsGrayed:
      AEditValue = properties->ValueGrayed();
      break;
    default:
      break;
  }
}

void TcxCustomCheckBox::Clear() { SetState(cbsUnchecked); }

void TcxCustomCheckBox::Toggle() {
  LockChangeEvents(true);
  TryFinally(
      [this] {
        BeginUserAction();
        TryFinally(
            [this] {
              switch (State()) {
                case cbsUnchecked:
                  SetState(ActiveProperties()->AllowGrayed() ? cbsGrayed : cbsChecked);
                  break;
                case cbsGrayed:
                  SetState(cbsChecked);
                  break;
                case cbsChecked:
                  SetState(cbsUnchecked);
                  break;
              }
            },
            [this] { EndUserAction(); });
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateByOptions(false))
          PostValueCore(false);
      },
      [this] { LockChangeEvents(false); });
}

void TcxCustomCheckBox::ApplyEditValue(const Variant& AValue) {
  const TcxCheckBoxState before = ActiveProperties()->GetState(EditValue());
  inherited::ApplyEditValue(AValue);
  const TcxCheckBoxState after = ActiveProperties()->GetState(EditValue());
  if (after != before) {
    if (ViewInfo()) ViewInfo()->State = after;
    Click();
    NotifyChange();
    if (HandleAllocated()) NotifyWinEvent(CheckStateChangedEvent, Handle(), OBJID_CLIENT, CHILDID_SELF);
  }
  ShortRefreshContainer(false);
}

void TcxCustomCheckBox::ApplyDisplayValue(const Variant& AValue) { SetInternalEditValue(AValue); }

void TcxCustomCheckBox::PropertiesChanged(TObject* Sender) {
  if (Properties()->IsCaptionAssigned()) {
    SetCaption(Properties()->Caption());
    Properties()->CaptionTaken();
  }
  if (ViewInfo() && ViewInfo()->State != State()) {
    ViewInfo()->State = State();
    if (HandleAllocated()) {
      TRect R = ViewInfo()->CheckBoxRect;
      ::InvalidateRect(Handle(), R.WinRect(), FALSE);
    }
    if (!AreChangeEventsLocked()) {
      Click();
      NotifyChange();
    }
  }
  inherited::PropertiesChanged(Sender);
}

void TcxCustomCheckBox::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE && ViewInfo() && (ViewInfo()->CheckBoxState == ecsNormal || ViewInfo()->CheckBoxState == ecsHot)) {
    FIsCheckPressed = true;
    ViewInfo()->CheckBoxState = ecsPressed;
    ShortRefreshContainer(false);
    Key = 0;
    return;
  }
  inherited::ProcessKeyDown(Key, Shift);
}

void TcxCustomCheckBox::ProcessKeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE && ViewInfo() && ViewInfo()->CheckBoxState == ecsPressed && FIsCheckPressed) {
    FIsCheckPressed = false;
    ViewInfo()->CheckBoxState = ecsNormal;
    if (HandleAllocated()) ::InvalidateRect(Handle(), ViewInfo()->CheckBoxRect.WinRect(), FALSE);
    Toggle();
    return;
  }
  inherited::ProcessKeyUp(Key, Shift);
}

void TcxCustomCheckBox::ProcessKeyPress(wchar_t& Key) {
  if (Key == L' ') {
    if (IsInplace() && ViewInfo() &&
        (ViewInfo()->CheckBoxState == ecsNormal || ViewInfo()->CheckBoxState == ecsHot))
      Toggle();
    Key = 0;
    return;
  }
  inherited::ProcessKeyPress(Key);
}

void TcxCustomCheckBox::CompleteMouseClick() {
  inherited::CompleteMouseClick();
  TcxCustomCheckBoxViewInfo* info = ViewInfo();
  if (info && info->CheckBoxLastState == ecsPressed && info->CheckBoxState == ecsHot && (IsInplace() || Focused()))
    Toggle();
}

void TcxCustomCheckBox::DoExit() {
  if (FIsCheckPressed) {
    FIsCheckPressed = false;
    ShortRefreshContainer(false);
  }
  inherited::DoExit();
}

void TcxCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(TCMDialogChar(Message).CharCode(), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxCustomCheckBox>(Message);
}

void TcxCustomCheckBox::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxCustomCheckBox>(Message);
  ShortRefreshContainer(false);
}

void TcxCustomCheckBox::WMLButtonUp(TMessage& Message) {
  // The click comes from the state change alone, not from the release.
  ControlState().Exclude(csClicked);
  InheritedMessage<TcxCustomCheckBox>(Message);
}

void TcxCustomCheckBox::WMGetDlgCode(TMessage& Message) {
  InheritedMessage<TcxCustomCheckBox>(Message);
  if (GetKeyState(VK_ESCAPE) < 0 && EditModified() && ModifiedAfterEnter()) Message.Result |= DLGC_WANTALLKEYS;
}

void TcxCustomCheckBox::BMGetCheck(TMessage& Message) {
  constexpr LRESULT answers[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  Message.Result = answers[State()];
}

void TcxCustomCheckBox::BMClick(TMessage& Message) {
  Message.Result = 0;
  if (Enabled()) Toggle();
}

TClass TcxCustomCheckBox::GetAccessibilityHelperClass() { return TdxCheckBoxAccessibilityHelper::ClassInfo(); }

void TcxCheckBox::Publish(TPublisher<TcxCheckBox>& P) {
  P.Property(L"Checked", &TcxCheckBox::Checked, &TcxCheckBox::SetChecked).Stored(false);
  P.Property(L"Properties", &TcxCheckBox::Properties, &TcxCheckBox::SetProperties);
  P.Property(L"State", &TcxCheckBox::State, &TcxCheckBox::SetState).Stored(&TcxCheckBox::IsStateStored);
  P.Property(L"Transparent", &TcxCheckBox::Transparent, &TcxCheckBox::SetTransparent).Default(false);
}

// ---------------------------------------------------------------------------
// TdxCheckBoxAccessibilityHelper

void TdxCheckBoxAccessibilityHelper::DoDefaultAction(int) {
  if (auto* box = dynamic_cast<TcxCheckBox*>(Edit())) box->SetChecked(!box->Checked());
}

String TdxCheckBoxAccessibilityHelper::GetDefaultActionDescription(int) { return L"To switch"; }

int TdxCheckBoxAccessibilityHelper::GetState(int AChildID) {
  int state = inherited::GetState(AChildID);
  if (auto* box = dynamic_cast<TcxCheckBox*>(Edit()); box && box->Checked()) state |= STATE_SYSTEM_CHECKED;
  return state;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxCheckBoxInitialization() {
  RegisterClasses({TcxCheckBox::ClassInfo(), TcxCheckBoxProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxCheckBoxProperties::ClassInfo(),
                                          LoadResString(&scxSEditRepositoryCheckBoxItem));
}

void cxCheckBoxFinalization() { GetRegisteredEditProperties()->Unregister(TcxCheckBoxProperties::ClassInfo()); }
