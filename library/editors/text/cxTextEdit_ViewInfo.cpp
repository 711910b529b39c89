// TcxCustomTextEditViewInfo: a text editor's text where the native edit
// window does not show it, the selection bar, the reveal glyph, hints over
// clipped text and the text's base line.
#include "library/editors/text/cxTextEdit.h"

#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"

#include <algorithm>

namespace {

TcxCustomTextEditProperties* TextPropertiesOf(TcxCustomEditProperties* AProperties) {
  return dynamic_cast<TcxCustomTextEditProperties*>(AProperties);
}

// The inner edit masks passwords with the themed character under the same
// condition: the font must draw that character.
bool IsPasswordMaskThemed() {
  const TcxInnerTextEditSystemProbe probe = cxSetInnerTextEditSystemProbe(TcxInnerTextEditSystemProbe());
  cxSetInnerTextEditSystemProbe(probe);
  return probe.IsWin7OrLater && probe.AreThemesActive && probe.IsWin7OrLater() && probe.AreThemesActive();
}

TcxButtonState RevealButtonStateOf(TcxEditButtonState AState) {
  switch (AState) {
    case ebsDisabled: return cxbsDisabled;
    case ebsPressed: return cxbsPressed;
    case ebsSelected: return cxbsHot;
    default: return cxbsNormal;
  }
}

}  // namespace

void TcxCustomTextEditViewInfo::Destroy() {
  TextOutData.TextRows.Clear();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// Answers

TcxEditBackgroundPaintingStyle TcxCustomTextEditViewInfo::BackgroundPaintingStyle() const {
  if (!ComboBoxStyle) return bpsSolid;
  return EditingStyle == esFixedList || EditingStyle == esNoEdit ? bpsComboListEdit : bpsComboEdit;
}

void TcxCustomTextEditViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  TextRect.Offset(DX, DY);
  if (!TextOutData.Initialized) return;
  TextOutData.TextRect.Offset(DX, DY);
  for (int i = 0; i < TextOutData.RowCount; ++i) {
    TcxTextRow& row = TextOutData.TextRows[i];
    row.TextOriginX += DX;
    row.TextOriginY += DY;
  }
}

bool TcxCustomTextEditViewInfo::UsesPasswordFont() {
  TcxCustomTextEditProperties* properties = TextPropertiesOf(EditProperties);
  return properties && properties->EchoMode() == eemPassword && NativeStyle && IsPasswordMaskThemed();
}

void TcxCustomTextEditViewInfo::PrepareCanvasFont(TcxCanvas* ACanvas) {
  inherited::PrepareCanvasFont(ACanvas);
  if (UsesPasswordFont()) ACanvas->Font()->SetName(L"Segoe UI");
}

int TcxCustomTextEditViewInfo::GetTextBaseLine() {
  TEXTMETRICW metrics{};
  {
    const HDC DC = ::GetDC(nullptr);
    const TSelectObject font(DC, Font ? Font->Handle() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextMetricsW(DC, &metrics);
    ::ReleaseDC(nullptr, DC);
  }
  const TcxEditVertAlignment alignment =
      EditProperties ? EditProperties->Alignment()->Vert() : taTopJustify;
  switch (alignment) {
    case taTopJustify: return TextRect.Top + metrics.tmAscent + 1;
    case taBottomJustify: return TextRect.Bottom - metrics.tmDescent + 1;
    default: return TextRect.Top + (TextRect.Height() - metrics.tmHeight) / 2 + metrics.tmAscent + 1;
  }
}

bool TcxCustomTextEditViewInfo::NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds,
                                             String& AText, bool& AIsMultiLine, TRect& ATextRect, int AMaxLineCount) {
  AText.clear();
  TRect visible = TextRect;
  if (!AVisibleBounds.IsEmpty()) {
    visible = AVisibleBounds;
    visible.Offset(-Left, -Top);
    visible.Intersect(TextRect);
  }
  bool clipped = false;
  if (visible.Contains(TPoint(P.X - Left, P.Y - Top)) && !Text.empty()) {
    ACanvas->SetFont(Font);
    PrepareCanvasFont(ACanvas);
    std::uint32_t flags = (DrawTextFlags & ~(cxtoSingleLine | cxtoAlignYMask)) | cxtoCalcRect;
    if (ACanvas->TextFlags() & ETO_RTLREADING) flags |= cxtoRTLReading;
    TRect measured = visible;
    DrawTextFormattedDefaultColors(ACanvas->Handle(), Text, measured, flags);
    TRect limit = visible;
    if (AMaxLineCount > 0)
      limit.Bottom = std::min(limit.Bottom, limit.Top + AMaxLineCount * GetDCTextHeight(ACanvas->Handle()));
    clipped = measured.Height() > limit.Height() || measured.Width() > limit.Width();
  }
  const auto fillText = [&] {
    AIsMultiLine = (DrawTextFlags & cxtoWordBreak) && !(DrawTextFlags & cxtoSingleLine);
    AText = Text;
    ATextRect = TextRect;
    ATextRect.Offset(Left, Top);
  };
  if (clipped) {
    fillText();
    return true;
  }
  if (inherited::NeedShowHint(ACanvas, P, AVisibleBounds, AText, AIsMultiLine, ATextRect, 0)) return true;
  fillText();
  return false;
}

// ---------------------------------------------------------------------------
// Painting

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (FOnPaint) FOnPaint(this, ACanvas);
  DrawCustomEdit(ACanvas, !Transparent, true);
  TRect R = ClientRect;
  if (!IsInplace) {
    if (!Transparent && EditingStyle != esNoEdit && (NativeState == 0 || DrawSelectionBar))
      ACanvas->FrameRect(R, BackgroundColor());
    R.Inflate(-1, -1);
  }
  if (IsOwnerDrawing && CustomDrawHandler) {
    CustomDrawHandler(ACanvas, R);
  } else {
    if (DrawSelectionBar) ACanvas->FillRect(R, clHighlight);
    if (IsDBEditPaintCopyDrawing || !HasInnerEdit || !IsEditClass) DrawText(ACanvas);
  }
  if (!IsInplace && Focused && !IsEditClass && !HasPopupWindow) {
    const TcxCanvasStateScope state(ACanvas);
    ACanvas->Font()->SetColor(DrawSelectionBar ? clHighlightText : clBtnText);
    ACanvas->SetBrushColor(DrawSelectionBar ? clHighlight : BackgroundColor());
    // The dotted pattern takes the text and background colours of the DC.
    ACanvas->Handle();
    ACanvas->Canvas()->DrawFocusRect(R);
  }
  if (FOnAfterDrawValue) FOnAfterDrawValue(this, ACanvas);
}

void TcxCustomTextEditViewInfo::DrawText(TcxCanvas* ACanvas) {
  if (!CanDrawEditValue() || Text.empty()) return;
  const TcxCanvasStateScope state(ACanvas);
  if (Font) ACanvas->SetFont(Font);
  ACanvas->Font()->SetColor(DrawSelectionBar ? clHighlightText : TextColor);
  PrepareCanvasFont(ACanvas);
  TRect R = TextRect;
  if (UsesPasswordFont()) R.Inflate(0, 1);
  // Rows point into the text they were made from: another text lays out anew.
  if (!TextOutData.Initialized || TextOutData.TextRows.Text != Text) PrepareTextOutData(ACanvas, R);
  if (!TextOutData.Initialized) return;
  DrawTextRowsWithColors(ACanvas->Handle(), TextOutData.TextRect, TextOutData.TextParams, TextOutData.TextRows,
                         TextOutData.RowCount, TextOutData.SelStart, TextOutData.SelLength,
                         TextOutData.SelBackgroundColor, TextOutData.SelTextColor, TextOutData.ForceEndEllipsis);
}

void TcxCustomTextEditViewInfo::PrepareTextOutData(TcxCanvas* ACanvas, const TRect& ARect) {
  TcxTextOutData& data = TextOutData;
  data.Initialized = false;
  data.RowCount = 0;
  data.TextRows.Clear();
  data.TextRows.Text = Text;
  const HDC DC = ACanvas->Handle();
  CalcTextParamsForDC(DC, DrawTextFlags, 1.0, data.TextParams);
  GetTextParamsContentRect(ARect, data.TextParams, 0, 0, data.TextRect);
  if (data.TextRect.IsEmpty()) return;
  const String& text = data.TextRows.Text;
  const int length = static_cast<int>(text.size());
  data.ForceEndEllipsis = !BreakTextIntoRows(DC, text.c_str(), length, data.TextRect, data.TextParams,
                                             data.TextRows, data.RowCount, MaxLineCount);
  CalcTextRowPositions(DC, data.TextRect, data.TextParams, data.TextRows, data.RowCount);
  if (SelStart < 0 || SelStart >= length) {
    data.SelStart = 0;
    data.SelLength = 0;
  } else {
    data.SelStart = SelStart;
    data.SelLength = std::clamp(SelLength, 0, length - SelStart);
  }
  data.SelBackgroundColor = SelBackgroundColor;
  data.SelTextColor = SelTextColor;
  data.Initialized = true;
}

// ---------------------------------------------------------------------------
// Password reveal button

bool TcxCustomTextEditViewInfo::DrawPasswordRevealButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo) {
  TcxCustomTextEditProperties* properties = TextPropertiesOf(EditProperties);
  if (!properties || !properties->ShowPasswordRevealButton() ||
      AViewInfo->ButtonIndex != properties->PasswordRevealButtonIndex())
    return false;
  const TRect& bounds = AViewInfo->Bounds;
  if (!AViewInfo->Data.BackgroundPartiallyTransparent) ACanvas->FillRect(bounds, AViewInfo->Data.BackgroundColor);
  TcxEditButtonState state = AViewInfo->Data.State;
  if (state == ebsPressed && !properties->IsPasswordRevealButtonPressed()) state = ebsNormal;
  const int c = std::min(bounds.Width(), bounds.Height() - ScaleFactor()->Apply(2)) / 2;
  const TPoint centre = GetRectCenter(bounds);
  const TRect glyph(centre.X - c, centre.Y - c, centre.X + c, centre.Y + c);
  TcxCustomLookAndFeelPainter* painter = Painter ? Painter : GetLookAndFeelPainterForKind(false, lfUltraFlat);
  painter->DrawScaledPasswordRevealButton(ACanvas, glyph, RevealButtonStateOf(state), TextColor, ScaleFactor());
  return true;
}

void TcxCustomTextEditViewInfo::DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                  const TRect& ARect, const TRect& AContentRect) {
  if (!DrawPasswordRevealButton(ACanvas, AViewInfo)) inherited::DrawPainterButton(ACanvas, AViewInfo, ARect, AContentRect);
}

void TcxCustomTextEditViewInfo::DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                 const TRect& ARect, const TRect& AContentRect) {
  if (!DrawPasswordRevealButton(ACanvas, AViewInfo)) inherited::DrawNativeButton(ACanvas, AViewInfo, ARect, AContentRect);
}

void TcxCustomTextEditViewInfo::FillButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                     TColor ABrushColor, const TRect& ARect) {
  if (!DrawPasswordRevealButton(ACanvas, AViewInfo)) inherited::FillButtonBackground(ACanvas, AViewInfo, ABrushColor, ARect);
}
