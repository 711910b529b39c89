// TcxCustomTextEditViewData: where a text editor's text goes, with which text
// flags, and how large it is; ApplyCharCase and CalculateTextEditSize.
#include "library/editors/text/cxTextEdit.h"

#include "library/editors/edit/cxEditPaintUtils.h"

#include <algorithm>

namespace {

TcxCustomTextEditProperties* TextPropertiesOf(TcxCustomEditProperties* AProperties) {
  return dynamic_cast<TcxCustomTextEditProperties*>(AProperties);
}

bool IsListStyle(TcxEditEditingStyle AStyle) { return AStyle == esFixedList || AStyle == esNoEdit; }

// Measuring a text wider than a screen is not asked for.
constexpr int MaxMeasureExtent = 32000;

// Flags for measuring wrapped rows: no single line, no vertical alignment.
std::uint32_t WrappingFlags(std::uint32_t AFlags) {
  if (AFlags & cxtoSingleLine) AFlags = (AFlags & ~cxtoSingleLine) | cxtoWordBreak | cxtoEditControl;
  return AFlags;
}

// The rows AText takes in ARect under AFlags (a measuring layout).
int TextRowCount(HDC DC, const String& AText, const TRect& ARect, std::uint32_t AFlags, int AMaxRowCount,
                 TcxTextRows& ARows, TcxTextParams& AParams) {
  CalcTextParamsForDC(DC, AFlags, 1.0, AParams);
  int count = 0;
  BreakTextIntoRows(DC, AText.c_str(), static_cast<int>(AText.size()), ARect, AParams, ARows, count, AMaxRowCount);
  return count;
}

}  // namespace

// ---------------------------------------------------------------------------
// Unit routines

void ApplyCharCase(String& AText, TEditCharCase ACharCase) {
  if (ACharCase == ecNormal || AText.empty()) return;
  const DWORD map = ACharCase == ecUpperCase ? LCMAP_UPPERCASE : LCMAP_LOWERCASE;
  const int length = static_cast<int>(AText.size());
  const int needed = ::LCMapStringW(LOCALE_USER_DEFAULT, map, AText.c_str(), length, nullptr, 0);
  if (needed <= 0) return;
  String mapped(static_cast<std::size_t>(needed), L'\0');
  if (::LCMapStringW(LOCALE_USER_DEFAULT, map, AText.c_str(), length, mapped.data(), needed) == needed)
    AText = std::move(mapped);
}

std::uint32_t cxTextEditAlignmentTextFlags(TAlignment AHorzAlignment, TcxEditVertAlignment AVertAlignment,
                                           bool AUseRightToLeftAlignment, bool AUseRightToLeftReading) {
  if (AUseRightToLeftAlignment && AHorzAlignment != taCenter)
    AHorzAlignment = AHorzAlignment == taLeftJustify ? taRightJustify : taLeftJustify;
  std::uint32_t result = AHorzAlignment == taRightJustify ? cxtoRight
                         : AHorzAlignment == taCenter     ? cxtoCenterX
                                                          : cxtoLeft;
  result |= AVertAlignment == taBottomJustify ? cxtoBottom : AVertAlignment == taVCenter ? cxtoCenterY : cxtoTop;
  result |= cxtoSingleLine | cxtoPreventLeftExceed | cxtoPreventTopExceed;
  if (AUseRightToLeftReading) result |= cxtoRTLReading;
  return result;
}

TSize CalculateTextEditSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const String& AText,
                            std::uint32_t AFlags, const TcxEditSizeProperties& AEditSizeProperties, int ALineCount,
                            bool AAddWidthCorrection) {
  ACanvas->SetFont(AViewData->Style()->GetVisibleFont());
  const HDC DC = ACanvas->Handle();
  const int textHeight = GetDCTextHeight(DC);
  const TSize correction = AViewData->GetEditContentSizeCorrection();
  TcxCustomEditProperties* properties = AViewData->Properties();
  const bool autoHeight = AViewData->PaintOptions.Contains(epoAutoHeight) &&
                          properties->GetSupportedOperations().Contains(esoAutoHeight);
  const bool allowZeroHeight = AViewData->PaintOptions.Contains(epoAllowZeroHeight);
  // A standalone fixed list draws its text one pixel in from its frame.
  bool listPixel = false;
  if (auto* textViewData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData))
    listPixel = !AViewData->IsInplace() && IsListStyle(textViewData->GetEditingStyle()) &&
                !(textViewData->IsComboStyle() && AViewData->IsNativeStyle(AViewData->Style()->LookAndFeel()));
  const int emptyHeight = allowZeroHeight && AText.empty() ? 0 : textHeight;

  TSize result;
  if (AEditSizeProperties.Width >= 0) {
    if (ALineCount > 0) {
      result = TSize(AEditSizeProperties.Width, ALineCount * textHeight);
    } else {
      int textWidth = AEditSizeProperties.Width - (AViewData->IsInplace() ? 2 : 0) - (listPixel ? 1 : 0);
      if (textWidth > 0) {
        result.cx = AEditSizeProperties.Width;
        if (AText.empty()) {
          result.cy = emptyHeight;
        } else {
          const std::uint32_t flags = (WrappingFlags(AFlags) & ~cxtoAlignYMask) | cxtoCalcRowCount;
          TcxTextRows rows;
          TcxTextParams params;
          const int count = TextRowCount(DC, AText, TRect(0, 0, textWidth, MaxMeasureExtent), flags,
                                         AEditSizeProperties.MaxLineCount, rows, params);
          result.cy = count * textHeight;
        }
      } else {
        result = TSize(0, emptyHeight);
      }
    }
  } else {
    if (!(AFlags & cxtoSingleLine) || autoHeight) {
      const std::uint32_t flags = WrappingFlags(AFlags) | cxtoCalcRect;
      const int maxRows = ALineCount > 0 ? ALineCount : AEditSizeProperties.MaxLineCount;
      TcxTextRows rows;
      TcxTextParams params;
      const int count =
          TextRowCount(DC, AText, TRect(0, 0, MaxMeasureExtent, MaxMeasureExtent), flags, maxRows, rows, params);
      result.cx = GetMaxTextRowWidth(rows, count);
      result.cy = ALineCount > 0 ? ALineCount * params.FullRowHeight : params.FullRowHeight;
    } else if (AFlags & (cxtoExpandTabs | cxtoEditControl)) {
      result.cy = textHeight;
      if (!AText.empty()) {
        TRect R(0, 0, MaxMeasureExtent, MaxMeasureExtent);
        ACanvas->TextExtent(AText, R, TextOutFlagsToCanvasFlags(static_cast<int>(AFlags)));
        result.cx = R.Width();
      }
    } else {
      result = ACanvas->TextExtent(AText);
      if (result.cy == 0) result.cy = textHeight;
    }
    if (listPixel) ++result.cx;
    if (AAddWidthCorrection) result.cx += correction.cx;
  }
  if (result.cy > 0) result.cy += correction.cy;
  return result;
}

// ---------------------------------------------------------------------------
// TcxCustomTextEditViewData

TcxEditEditingStyle TcxCustomTextEditViewData::GetEditingStyle() {
  TcxCustomTextEditProperties* properties = TextPropertiesOf(Properties());
  return properties ? properties->GetEditingStyle() : esEdit;
}

void TcxCustomTextEditViewData::InitializeFromProperties() {
  inherited::InitializeFromProperties();
  FIsValueFormatted = Properties()->IsValueFormattedByProvider();
}

bool TcxCustomTextEditViewData::IsEditorEditClass() { return Edit() && Edit()->IsEditClass(); }

void TcxCustomTextEditViewData::AdjustListStyleTextOffsets(TRect& AOffsets) {
  if (!IsListStyle(GetEditingStyle())) return;
  ++AOffsets.Top;
  --AOffsets.Bottom;
  if (HorzAlignment == taRightJustify)
    ++AOffsets.Right;
  else
    ++AOffsets.Left;
}

TRect TcxCustomTextEditViewData::GetDrawTextOffset() {
  TRect result = EditContentParams.Offsets;
  if (!IsInplace()) AdjustListStyleTextOffsets(result);
  return result;
}

std::uint32_t TcxCustomTextEditViewData::GetDrawTextFlags() {
  return cxTextEditAlignmentTextFlags(HorzAlignment, VertAlignment, UseRightToLeftAlignment, UseRightToLeftReading);
}

void TcxCustomTextEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                          TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                          bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  vi->DrawSelectionBar = false;
  vi->EditingStyle = GetEditingStyle();
  vi->IsEditClass = IsEditorEditClass();
  if (vi->Font) ACanvas->SetFont(vi->Font);
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit());
  vi->HasPopupWindow = edit && edit->HasPopupWindow();
  CalculateTextRect(ACanvas, vi);
  vi->MaxLineCount = GetMaxLineCount();
  vi->TextOutData.Initialized = false;
  CalculateDrawTextFlags(ACanvas, vi);
}

void TcxCustomTextEditViewData::CalculateTextRect(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  const TRect offsets = GetDrawTextOffset();
  TRect& R = AViewInfo->TextRect;
  R = AViewInfo->ClientRect;
  R.Left += offsets.Left;
  R.Top += offsets.Top;
  R.Right -= offsets.Right;
  R.Bottom -= offsets.Bottom;
  if (IsInplace()) return;
  const int textHeight = GetDCTextHeight(ACanvas->Handle());
  if (R.Height() < textHeight) R.Bottom = std::min(AViewInfo->ClientRect.Bottom, R.Top + textHeight);
}

void TcxCustomTextEditViewData::CalculateDrawTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  if (Properties()->GetSupportedOperations().Contains(esoAutoHeight) && PaintOptions.Contains(epoAutoHeight))
    CalculateAutoHeightTextFlags(ACanvas, AViewInfo);
  else
    AViewInfo->DrawTextFlags = GetDrawTextFlags();
  if (AViewInfo->PaintOptions.Contains(epoShowEndEllipsis)) AViewInfo->DrawTextFlags |= cxtoEndEllipsis;
  AViewInfo->ComboBoxStyle = IsComboStyle();
}

void TcxCustomTextEditViewData::CalculateAutoHeightTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  TFont* font = Style()->GetVisibleFont();
  if (!font) return;
  ACanvas->SetFont(font);
  std::uint32_t& flags = AViewInfo->DrawTextFlags;
  flags = GetDrawTextFlags();
  const TRect& textRect = AViewInfo->TextRect;
  const TRect offsets = GetDrawTextOffset();
  int width = textRect.Width() + offsets.Left + offsets.Right - GetEditContentSizeCorrection().cx - ContentOffset.Left -
              ContentOffset.Right;
  if (HorzAlignment == taRightJustify) ++width;
  const std::uint32_t measuring = (flags & ~cxtoSingleLine) | cxtoWordBreak | cxtoEditControl | cxtoCalcRowCount;
  const HDC DC = ACanvas->Handle();
  TcxTextParams params;
  CalcTextParamsForDC(DC, measuring, 1.0, params);
  const int rowHeight = std::max(1, params.FullRowHeight);
  const int maxRows = (textRect.Height() + rowHeight - 1) / rowHeight + 1;
  TcxTextRows rows;
  int count = 0;
  BreakTextIntoRows(DC, AViewInfo->Text.c_str(), static_cast<int>(AViewInfo->Text.size()),
                    TRect(0, 0, std::max(0, width), MaxMeasureExtent), params, rows, count, maxRows);
  if (count <= 1) return;
  flags = (flags & ~cxtoSingleLine) | cxtoWordBreak | cxtoEditControl;
  if (count * rowHeight <= textRect.Height()) return;
  const std::uint32_t alignY = flags & cxtoAlignYMask;
  const bool keepCentre = MaxLineCount > 0 && MaxLineCount < count;
  if (alignY == cxtoBottom || (alignY == cxtoCenterY && !keepCentre)) flags = (flags & ~cxtoAlignYMask) | cxtoTop;
}

void TcxCustomTextEditViewData::CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) {
  inherited::CalculateNativePartAndState(ATheme, AButtonViewInfo);
  TcxEditButtonViewInfoData& data = AButtonViewInfo->Data;
  // A fixed list's themed button looks the same whatever the mouse does.
  if (IsWinVistaOrLater && NativeStyle && !IsInplace() && GetEditingStyle() == esFixedList && data.ComboBoxStyle &&
      data.NativeState != 4)
    data.NativeState = 1;
}

TRect TcxCustomTextEditViewData::GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) {
  TRect result = inherited::GetClientExtent(ACanvas, AViewInfo);
  if (!IsInplace() && IsComboStyle() && IsNativeStyle(Style()->LookAndFeel())) ++result.Right;
  return result;
}

// ---------------------------------------------------------------------------
// Values

void TcxCustomTextEditViewData::ValueToDisplayText(const Variant& AEditValue, String& AText) {
  TcxCustomTextEditProperties* properties = TextPropertiesOf(Properties());
  // The mask goes over whatever text there is, also when formatting fails.
  struct TMaskOnExit {
    TcxCustomTextEditProperties* Properties;
    bool NativeStyle;
    String& Text;
    ~TMaskOnExit() {
      if (Properties) Properties->MaskDisplayText(NativeStyle, Text);
    }
  } mask{properties, NativeStyle, AText};
  if (FIsValueFormatted || !properties) {
    AText = VarToStr(AEditValue);
    return;
  }
  Variant displayValue;
  properties->EditValueToDisplayValue(AEditValue, IsEditFocused(), displayValue);
  AText = VarToStr(displayValue);
}

void TcxCustomTextEditViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  vi->Text = PreviewMode ? String() : GetValueDisplayText(AEditValue);
  vi->TextOutData.Initialized = false;
  PrepareSelection(vi);
}

void TcxCustomTextEditViewData::DisplayValueToDrawValue(const Variant& ADisplayValue,
                                                        TcxCustomTextEditViewInfo* AViewInfo) {
  AViewInfo->Text = VarToStr(ADisplayValue);
  if (TcxCustomTextEditProperties* properties = TextPropertiesOf(Properties()))
    properties->MaskDisplayText(AViewInfo->NativeStyle, AViewInfo->Text);
  AViewInfo->TextOutData.Initialized = false;
}

void TcxCustomTextEditViewData::PrepareSelection(TcxCustomTextEditViewInfo* AViewInfo) {
  AViewInfo->SelStart = SelStart;
  AViewInfo->SelLength = SelLength;
  if (SelLength <= 0) return;
  TColor textColor = SelTextColor;
  TColor backgroundColor = SelBackgroundColor;
  ResolveDefaultSelectionColors(textColor, backgroundColor, Style()->Color());
  AViewInfo->SelTextColor = textColor;
  AViewInfo->SelBackgroundColor = backgroundColor;
}

void TcxCustomTextEditViewData::PrepareFixedListSelection(TcxCustomTextEditViewInfo* AViewInfo) {
  const TcxEditEditingStyle style = GetEditingStyle();
  if (!IsListStyle(style)) return;
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(Edit());
  TcxCustomTextEditProperties* properties = TextPropertiesOf(Properties());
  IcxInnerTextEdit* inner = edit ? edit->InnerTextEdit() : nullptr;
  if (style == esNoEdit || !inner || !edit->FindSelection() || !properties || !properties->FixedListSelection()) {
    AViewInfo->SelLength = 0;
    return;
  }
  if (AViewInfo->DrawSelectionBar) {
    // The typed part stands out inverted on the bar.
    AViewInfo->SelStart = 0;
    AViewInfo->SelLength = std::max(0, static_cast<int>(AViewInfo->Text.size()) - inner->GetSelLength());
    AViewInfo->SelBackgroundColor = clHighlightText;
    AViewInfo->SelTextColor = clHighlight;
  } else {
    AViewInfo->SelStart = inner->GetSelStart();
    AViewInfo->SelLength = inner->GetSelLength();
    AViewInfo->SelBackgroundColor = clHighlight;
    AViewInfo->SelTextColor = clHighlightText;
  }
  AViewInfo->TextOutData.Initialized = false;
}

// ---------------------------------------------------------------------------
// Sizes

void TcxCustomTextEditViewData::GetValueContentSize(TcxCanvas* ACanvas, const Variant& AEditValue, TSize& ASize,
                                                    const TcxEditSizeProperties& AEditSizeProperties) {
  inherited::GetValueContentSize(ACanvas, AEditValue, ASize, AEditSizeProperties);
  const TSize text = CalculateTextEditSize(ACanvas, this, GetValueDisplayText(AEditValue), GetDrawTextFlags(),
                                           AEditSizeProperties, 0, true);
  ASize.cx = std::max(ASize.cx, text.cx);
  ASize.cy = std::max(ASize.cy, text.cy);
}
