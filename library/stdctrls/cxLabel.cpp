#include "library/stdctrls/cxLabel.h"

#include "library/core/containers/dxHashUtils.h"
#include "library/controls/control/cxControls.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/dxThemeManager.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int GMeasureCount = 0;

constexpr int LargeFontPoints = 12;
// The gap between the text and the line beside it.
constexpr int LineGap = 3;

bool IsTrueTypeSelected(HDC DC) {
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(DC, &metrics);
  return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int Sign(int AValue) { return (AValue > 0) - (AValue < 0); }

// Rounds halves to the even neighbour.
int RoundEven(double AValue) { return static_cast<int>(std::nearbyint(AValue)); }

}  // namespace

int cxLabelMeasureCount() { return GMeasureCount; }

// ---------------------------------------------------------------------------
// TcxLabelLineOptions

void TcxLabelLineOptions::Publish(TPublisher<TcxLabelLineOptions>& P) {
  P.Property(L"Alignment", &TcxLabelLineOptions::Alignment, &TcxLabelLineOptions::SetAlignment).Default(cxllaCenter);
  P.Property(L"InnerColor", &TcxLabelLineOptions::InnerColor, &TcxLabelLineOptions::SetInnerColor).Default(clDefault);
  P.Property(L"OuterColor", &TcxLabelLineOptions::OuterColor, &TcxLabelLineOptions::SetOuterColor).Default(clDefault);
  P.Property(L"Visible", &TcxLabelLineOptions::Visible, &TcxLabelLineOptions::SetVisible).Default(false);
}

void TcxLabelLineOptions::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxLabelLineOptions*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  FVisible = source->FVisible;
  FAlignment = source->FAlignment;
  FInnerColor = source->FInnerColor;
  FOuterColor = source->FOuterColor;
  Changed();
}

// ---------------------------------------------------------------------------
// TcxCustomLabelProperties

void TcxCustomLabelProperties::Create(TPersistent* AOwner) {
  FScaleFactor.reset(New<TdxScaleFactor>());
  FGlyph.reset(New<TdxSmartGlyph>());
  FLineOptions.reset(New<TcxLabelLineOptions>());
  inherited::Create(AOwner);
  FGlyph->SetOnChange(BindEvent<&TcxCustomLabelProperties::PartChanged>(this));
  FLineOptions->SetOnChanged(BindEvent<&TcxCustomLabelProperties::PartChanged>(this));
}

void TcxCustomLabelProperties::Destroy() {
  FGlyph->SetOnChange(TNotifyEvent());
  FLineOptions->SetOnChanged(TNotifyEvent());
  inherited::Destroy();
}

void TcxCustomLabelProperties::ApplyScale(int M, int D) {
  FScaleFactor->Change(M, D);
  SetDepth(static_cast<std::uint16_t>(MulDiv(FDepth, M, D)));
}

TSize TcxCustomLabelProperties::GetDepthDeltaSize() const {
  if (!HasDepth()) return TSize(0, 0);
  switch (FOrientation) {
    case cxoLeft:
    case cxoRight:
      return TSize(FDepth, 0);
    case cxoTop:
    case cxoBottom:
      return TSize(0, FDepth);
    default:
      return TSize(FDepth, FDepth);
  }
}

void TcxCustomLabelProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomLabelProperties*>(ASource);
  if (!source) return;
  SetLabelEffect(source->LabelEffect());
  SetLabelStyle(source->LabelStyle());
  SetOrientation(source->Orientation());
  SetDepth(static_cast<std::uint16_t>(FScaleFactor->Apply(source->Depth(), source->ScaleFactor())));
  SetShadowedColor(source->ShadowedColor());
  SetShowEndEllipsis(source->ShowEndEllipsis());
  SetAngle(source->Angle());
  SetPenWidth(source->PenWidth());
  SetGlyph(source->Glyph());
  SetShowAccelChar(source->ShowAccelChar());
  SetWordWrap(source->WordWrap());
  SetLineOptions(source->LineOptions());
}

TClass TcxCustomLabelProperties::GetViewDataClassType() { return TcxCustomLabelViewData::ClassInfo(); }
TClass TcxCustomLabelProperties::GetViewInfoClass() { return TcxCustomLabelViewInfo::ClassInfo(); }
TClass TcxCustomLabelProperties::GetContainerClass() { return TcxLabel::ClassInfo(); }

String TcxCustomLabelProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  return VarToStr(AEditValue);
}

void TcxCustomLabelProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  ADisplayValue = Variant(VarToStr(AEditValue));
}

void TcxLabelProperties::Publish(TPublisher<TcxLabelProperties>& P) {
  using C = TcxLabelProperties;
  P.Property(L"Alignment", &C::Alignment, &C::SetAlignment).Stored(&C::IsAlignmentStored);
  P.Property(L"Angle", &C::Angle, &C::SetAngle).Default(0);
  P.Property(L"Depth", &C::Depth, &C::SetDepth).Default(std::uint16_t(0));
  P.Property(L"Glyph", &C::Glyph, &C::SetGlyph);
  P.Property(L"LabelEffect", &C::LabelEffect, &C::SetLabelEffect).Default(cxleNormal);
  P.Property(L"LabelStyle", &C::LabelStyle, &C::SetLabelStyle).Default(cxlsNormal);
  P.Property(L"LineOptions", &C::LineOptions, &C::SetLineOptions);
  P.Property(L"Orientation", &C::Orientation, &C::SetOrientation).Default(cxoRightBottom);
  P.Property(L"PenWidth", &C::PenWidth, &C::SetPenWidth).Default(1);
  P.Property(L"ShadowedColor", &C::ShadowedColor, &C::SetShadowedColor).Default(clGrayText);
  P.Property(L"ShowAccelChar", &C::ShowAccelChar, &C::SetShowAccelChar).Default(true);
  P.Property(L"ShowEndEllipsis", &C::ShowEndEllipsis, &C::SetShowEndEllipsis).Default(false);
  P.Property(L"Transparent", &C::Transparent, &C::SetTransparent).Stored(false);
  P.Property(L"WordWrap", &C::WordWrap, &C::SetWordWrap).Default(false);
}

// ---------------------------------------------------------------------------
// TcxLabelEditStyle

TcxContainerBorderStyle TcxLabelEditStyle::EffectiveBorderStyle() const {
  return State() == csNormal ? cbsNone : inherited::EffectiveBorderStyle();
}

// ---------------------------------------------------------------------------
// TcxCustomLabelViewInfo

void TcxCustomLabelViewInfo::Create() {
  inherited::Create();
  FAlignment.reset(New<TcxEditAlignment>(static_cast<TPersistent*>(nullptr)));
}

void TcxCustomLabelViewInfo::Destroy() {
  FGlyph.reset();
  FAlignment.reset();
  inherited::Destroy();
}

void TcxCustomLabelViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  FocusRect.Offset(DX, DY);
}

void TcxCustomLabelViewInfo::ResetTextSizeCache() {
  for (TcxLabelTextSizeCacheEntry& entry : FTextSizes) entry = TcxLabelTextSizeCacheEntry();
}

TColor TcxCustomLabelViewInfo::DefaultStateTextColor(TcxEditStateColorKind AKind) {
  return Painter->DefaultLabelTextColorEx(AKind);
}

void TcxCustomLabelViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawCustomEdit(ACanvas, false, false);
  DrawLabel(ACanvas);
}

void TcxCustomLabelViewInfo::DrawFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                                  TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  APenColor = clBtnText;
  ABrushColor = clBtnFace;
  if (AViewInfo->Data.State == ebsPressed) {
    FrameButtonRect(ACanvas, ARect, clBtnShadow);
    FrameButtonRect(ACanvas, ARect, clBtnFace);
  } else {
    DrawButtonEdge(ACanvas, ARect, cl3DLight, cl3DDkShadow);
    if (AViewInfo->Data.State == ebsSelected) DrawButtonEdge(ACanvas, ARect, clBtnHighlight, clBtnShadow);
  }
  AContentRect = ARect;
}

void TcxCustomLabelViewInfo::DrawLabelBackground(TcxCanvas* ACanvas, const TRect& R) {
  if (DrawBackground(ACanvas)) return;
  if (!Transparent) {
    FillRectByColor(ACanvas, R, BackgroundColor());
    return;
  }
  if (!IsInplace) {
    if (auto* control = dynamic_cast<TWinControl*>(Owner)) DrawParentBackground(control, ACanvas, R, false);
  } else if (Focused) {
    FillRectByColor(ACanvas, R, BackgroundColor());
  }
}

void TcxCustomLabelViewInfo::DrawTextAt(TcxCanvas* ACanvas, const TPoint& Q, int AAngle, bool AIsPath) {
  if (AAngle != 0) {
    const String text = ShowAccelChar ? StripAccelerators(Text, true) : Text;
    const HDC DC = ACanvas->Handle();
    ::SetTextColor(DC, ColorToColorRef(ACanvas->Font()->Color()));
    ::SetBkMode(DC, TRANSPARENT);
    ::ExtTextOutW(DC, Q.X, Q.Y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    return;
  }
  TRect R = TextRect;
  R.Right -= FDepthDeltaSize.cx;
  R.Bottom -= FDepthDeltaSize.cy;
  R.Offset(Q.X, Q.Y);
  TAlignment horz = FAlignment->Horz();
  if (UseRightToLeftAlignment && horz != taCenter) horz = horz == taLeftJustify ? taRightJustify : taLeftJustify;
  static constexpr int horzFlags[] = {cxtfLeft, cxtfRight, cxtfCenterX};
  static constexpr int vertFlags[] = {cxtfTop, cxtfBottom, cxtfCenterY};
  int flags = horzFlags[horz] | vertFlags[FAlignment->Vert()];
  if (PaintOptions.Contains(epoShowEndEllipsis)) flags |= cxtfEndEllipsis;
  if (FWordWrap) flags |= cxtfWordBreak;
  if (ShowAccelChar) flags |= cxtfShowPrefix;
  if (PaintOnGlass && !AIsPath) {
    DrawTextOnGlass(ACanvas, Text, R, TextFlagsToDrawTextFlags(flags));
    return;
  }
  ACanvas->DrawTexT(Text, R, flags, true);
}

void TcxCustomLabelViewInfo::DrawFace(TcxCanvas* ACanvas, const TPoint& Q, int AAngle, bool AIsTrueType) {
  ACanvas->Font()->SetColor(TextColor);
  if (!FGlyph || !AIsTrueType) {
    DrawTextAt(ACanvas, Q, AAngle, false);
    return;
  }
  const HDC DC = ACanvas->Handle();
  // The saved level brings the clip region back after the fill.
  const TSavedDC saved(DC);
  ::BeginPath(DC);
  DrawTextAt(ACanvas, Q, AAngle, true);
  ::EndPath(DC);
  ::SelectClipPath(DC, RGN_COPY);
  const TOwnedBrush brush(::CreatePatternBrush(FGlyph->Handle()));
  ::FillRect(DC, TextRect.WinRect(), brush.Get());
}

void TcxCustomLabelViewInfo::DrawEffect(TcxCanvas* ACanvas, TPoint& P, const TSize& S, int AAngle) {
  // A depth that rescales to nothing leaves no step to count copies by.
  if (S.cx == 0 && S.cy == 0) return;
  const int n = S.cx != 0 ? FDepth / std::abs(S.cx) : FDepth / std::abs(S.cy);
  const TColor background = ColorToRGB(BackgroundColor());
  const TColor shadowed = ColorToRGB(FShadowedColor);
  if (FLabelEffect != cxleFun) ACanvas->Font()->SetColor(shadowed);
  const auto blend = [n](int ABackground, int AShadowed, int i) {
    return static_cast<int>(std::trunc(static_cast<double>(i) * (AShadowed - ABackground) / n + ABackground));
  };
  for (int i = 1; i <= n; ++i) {
    if (FLabelEffect == cxleFun)
      ACanvas->Font()->SetColor(TColor(RGB(blend(GetRValue(background), GetRValue(shadowed), i),
                                           blend(GetGValue(background), GetGValue(shadowed), i),
                                           blend(GetBValue(background), GetBValue(shadowed), i))));
    DrawTextAt(ACanvas, P, AAngle, false);
    P.X += S.cx;
    P.Y += S.cy;
  }
}

void TcxCustomLabelViewInfo::DrawStyle(TcxCanvas* ACanvas, const TPoint& P, int AAngle, bool AIsTrueType) {
  const int one = ScaleFactor()->Apply(1);
  const int two = ScaleFactor()->Apply(2);
  const bool large = ACanvas->Font()->Size() >= LargeFontPoints;
  TFont* font = ACanvas->Font();
  switch (FLabelStyle) {
    case cxlsNormal:
      DrawFace(ACanvas, P, AAngle, AIsTrueType);
      break;
    case cxlsRaised:
      font->SetColor(clBtnHighlight);
      DrawTextAt(ACanvas, P, AAngle, false);
      if (large) {
        font->SetColor(clBtnShadow);
        DrawTextAt(ACanvas, TPoint(P.X + two, P.Y + two), AAngle, false);
      }
      DrawFace(ACanvas, TPoint(P.X + one, P.Y + one), AAngle, AIsTrueType);
      break;
    case cxlsLowered:
      if (large) {
        font->SetColor(clBtnShadow);
        DrawTextAt(ACanvas, P, AAngle, false);
      }
      font->SetColor(clBtnHighlight);
      DrawTextAt(ACanvas, TPoint(P.X + two, P.Y + two), AAngle, false);
      DrawFace(ACanvas, TPoint(P.X + one, P.Y + one), AAngle, AIsTrueType);
      break;
    case cxlsOutLine: {
      if (!AIsTrueType) {
        DrawFace(ACanvas, P, AAngle, AIsTrueType);
        break;
      }
      if (FGlyph) DrawFace(ACanvas, P, AAngle, AIsTrueType);
      const HDC DC = ACanvas->Handle();
      ::BeginPath(DC);
      DrawTextAt(ACanvas, P, AAngle, true);
      ::EndPath(DC);
      const TOwnedPen pen(::CreatePen(PS_SOLID, std::max(FPenWidth, 0), ColorToColorRef(TextColor)));
      const TSelectObject selected(DC, pen.Get());
      ::StrokePath(DC);
      break;
    }
  }
}

void TcxCustomLabelViewInfo::DrawLine(TcxCanvas* ACanvas) {
  if (FLineRect.IsEmpty()) return;
  ACanvas->SaveClipRegion();
  const TScopeExit restore([ACanvas] { ACanvas->RestoreClipRegion(); });
  TRect gap = TextRect;
  if (FLineVertical)
    gap.Inflate(0, LineGap);
  else
    gap.Inflate(LineGap, 0);
  ACanvas->ExcludeClipRect(gap);
  Painter->DrawLabelLine(ACanvas, FLineRect, FLineOuterColor, FLineInnerColor, FLineVertical);
}

void TcxCustomLabelViewInfo::DrawLabel(TcxCanvas* ACanvas) {
  const HDC DC = ACanvas->Handle();
  if (BorderRect.IsEmpty() || !::RectVisible(DC, BorderRect.WinRect())) return;
  TRect B = BorderRect;
  const bool hasDepth = FLabelEffect != cxleNormal && FDepth != 0;
  if (NativeStyle && !Transparent && !IsInplace && !hasDepth)
    if (const HTHEME theme = OpenTheme(totEdit)) {
      RECT content{};
      if (SUCCEEDED(::GetThemeBackgroundContentRect(theme, DC, 1, NativeState, Bounds.WinRect(), &content)))
        B = TRect(content.left, content.top, content.right, content.bottom);
    }
  for (const TOwned<TcxEditButtonViewInfo>& button : ButtonsInfo) {
    if (button->Data.LeftAlignment)
      B.Left = std::max(B.Left, button->Bounds.Right);
    else
      B.Right = std::min(B.Right, button->Bounds.Left);
  }
  const TRect savedTextRect = TextRect;
  if (UseRightToLeftAlignment)
    TextRect = TRect(ClientRect.Left + ClientRect.Right - TextRect.Right, TextRect.Top,
                     ClientRect.Left + ClientRect.Right - TextRect.Left, TextRect.Bottom);
  const TScopeExit restoreTextRect([this, savedTextRect] { TextRect = savedTextRect; });
  DrawLabelBackground(ACanvas, B);
  if (!Text.empty()) {
    const TcxCanvasStateScope state(ACanvas);
    const bool trueType = PrepareCanvasFontForAngle(ACanvas, Font, FAngle);
    const int a = GetEffectiveTextAngle(FAngle, trueType);
    TPoint P = a != 0 ? TcxLabelHelper::CalculatePositionOfRotatedText(ACanvas, Text, ShowAccelChar, TextRect,
                                                                        FDepthDeltaSize, a, FAlignment->Horz(),
                                                                        FAlignment->Vert())
                      : TPoint(0, 0);
    TSize S(0, 0);
    if (hasDepth) {
      S = FDepthDeltaSize;
      if (FOrientation == cxoRight || FOrientation == cxoRightTop || FOrientation == cxoRightBottom) {
        P.X += FDepthDeltaSize.cx + FLabelStyleOffset;
        S.cx = -S.cx;
      }
      if (FOrientation == cxoBottom || FOrientation == cxoLeftBottom || FOrientation == cxoRightBottom) {
        P.Y += FDepthDeltaSize.cy + FLabelStyleOffset;
        S.cy = -S.cy;
      }
      if (FLabelEffect == cxleFun || FLabelEffect == cxleExtrude) S = TSize(Sign(S.cx), Sign(S.cy));
    }
    ACanvas->Brush()->SetStyle(bsClear);
    if (hasDepth) DrawEffect(ACanvas, P, S, a);
    if (S.cx < 0) P.X -= FLabelStyleOffset;
    if (S.cy < 0) P.Y -= FLabelStyleOffset;
    DrawStyle(ACanvas, P, a, trueType);
    ACanvas->Brush()->SetStyle(bsSolid);
  }
  DrawLine(ACanvas);
}

// ---------------------------------------------------------------------------
// TcxCustomLabelViewData

TSize TcxCustomLabelViewData::ScaledDepthDeltaSize() const {
  return ScaleFactor()->Apply(Properties()->GetDepthDeltaSize(), Properties()->ScaleFactor());
}

bool TcxCustomLabelViewData::IsEndEllipsisEffective() {
  return Properties()->ShowEndEllipsis() && !(Edit() && Edit()->IsAutoWidthActive());
}

void TcxCustomLabelViewData::AdjustContentExtent(TRect& AExtent) {
  inherited::AdjustContentExtent(AExtent);
  if (!IsInplace()) {
    AExtent.Left = 0;
    AExtent.Right = 0;
  }
}

TcxEditPaintOptions TcxCustomLabelViewData::GetEffectivePaintOptions() {
  TcxEditPaintOptions result = inherited::GetEffectivePaintOptions();
  if (IsEndEllipsisEffective()) result.Include(epoShowEndEllipsis);
  return result;
}

void TcxCustomLabelViewData::ValueToDisplayText(const Variant& AEditValue, String& AText) {
  AText = VarToStr(AEditValue);
}

void TcxCustomLabelViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  static_cast<TcxCustomLabelViewInfo*>(AViewInfo)->Text = GetValueDisplayText(AEditValue);
}

int TcxCustomLabelViewData::GetLabelStyleOffset(TcxCanvas* ACanvas) {
  const TcxLabelStyle style = Properties()->LabelStyle();
  if (style != cxlsRaised && style != cxlsLowered) return 0;
  return ACanvas->Font()->Size() < LargeFontPoints ? 1 : 2;
}

int TcxCustomLabelViewData::GetTextOutFlags() {
  static constexpr int horzFlags[] = {cxtfLeft, cxtfRight, cxtfCenterX};
  static constexpr int vertFlags[] = {cxtfTop, cxtfBottom, cxtfCenterY};
  TcxCustomLabelProperties* properties = Properties();
  int flags = horzFlags[properties->Alignment()->Horz()] | vertFlags[properties->Alignment()->Vert()];
  if (IsEndEllipsisEffective()) flags |= cxtfEndEllipsis;
  if (properties->WordWrap() && properties->Angle() % 360 == 0) flags |= cxtfWordBreak;
  return CanvasFlagsToTextOutFlags(flags);
}

int TcxCustomLabelViewData::GetLineHeight() {
  TcxCustomLookAndFeelPainter* painter =
      Edit() ? Edit()->Style()->LookAndFeel()->Painter() : GetLookAndFeelPainterForKind(false, lfStandard);
  return painter->LabelLineHeight();
}

bool TcxCustomLabelViewData::IsLineVisible(int AAngle) {
  return Properties()->LineOptions()->Visible() && (AAngle == 0 || AAngle == 90);
}

TSize TcxCustomLabelViewData::CalculateTextSize(TcxCanvas* ACanvas, TcxCustomLabelViewInfo* AOwner, int APass,
                                                const String& AText, const TRect& R) {
  TcxCustomLabelProperties* properties = Properties();
  const HDC DC = ACanvas->Handle();
  const int a = properties->Angle() == 0 ? 0 : GetEffectiveTextAngle(properties->Angle(), IsTrueTypeSelected(DC));
  const bool wrap = properties->WordWrap() && a == 0 && (!IsInplace() || R.Right > 0);
  const bool prefix = properties->ShowAccelChar() && a == 0;
  int flags = cxtfLeft | cxtfTop;
  if (IsEndEllipsisEffective()) flags |= cxtfEndEllipsis;
  if (wrap) flags |= cxtfWordBreak;
  if (prefix) flags |= cxtfShowPrefix;
  if (APass == 0) flags |= cxtfNoCharBreak;

  TSize size;
  std::uint32_t key = 0;
  TcxLabelTextSizeCacheEntry* entry = AOwner ? &AOwner->FTextSizes[APass] : nullptr;
  if (entry) {
    static_assert(sizeof(TRect) == 16);
    // The font's description stands for the font: the canvas makes a new
    // handle for the same font at every layout.
    const LOGFONTW logFont = ACanvas->Font()->LogFont();
    key = BobJenkinsHash(&R, sizeof(TRect), 0);
    key = BobJenkinsHash(&logFont, sizeof(logFont), key);
    key = BobJenkinsHash(&flags, sizeof(flags), key);
  }
  if (entry && entry->Valid && entry->Key == key) {
    size = entry->Size;
  } else {
    const String text = a != 0 && properties->ShowAccelChar() ? StripAccelerators(AText, true) : AText;
    TRect measured = R;
    const int oldMode = ::SetBkMode(DC, TRANSPARENT);
    ::DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), measured.WinRect(),
                TextFlagsToDrawTextFlags(flags) | DT_CALCRECT);
    ::SetBkMode(DC, oldMode);
    ++GMeasureCount;
    if (a == 0) {
      size = TSize(measured.Width(), measured.Height());
    } else {
      const double W = measured.Width();
      const double H = measured.Height();
      const double t = a * std::numbers::pi / 180;
      size = TSize(static_cast<int>(std::trunc(std::abs(H * std::sin(t)) + std::abs(W * std::cos(t)) + 0.5)),
                   static_cast<int>(std::trunc(std::abs(H * std::cos(t)) + std::abs(W * std::sin(t)) + 0.5)));
    }
    if (entry) *entry = TcxLabelTextSizeCacheEntry{key, size, true};
  }
  const int styleOffset = GetLabelStyleOffset(ACanvas);
  const TSize depth = ScaledDepthDeltaSize();
  size.cx += styleOffset + depth.cx;
  size.cy += styleOffset + depth.cy;
  return size;
}

TRect TcxCustomLabelViewData::CalculateTextRect(TcxCanvas* ACanvas, TcxCustomLabelViewInfo* AViewInfo, int AAngle) {
  TRect T = AViewInfo->ClientRect;
  if (IsInplace()) {
    T = GetContentRect(T, EditContentParams.Offsets);
    if (AAngle == 0 && !IsLineVisible(AAngle)) return T;
  }
  TcxEditAlignment* alignment = Properties()->Alignment();
  TSize size = CalculateTextSize(ACanvas, AViewInfo, 0, AViewInfo->Text, T);
  switch (alignment->Horz()) {
    case taLeftJustify:
      T.Right = std::min(T.Left + size.cx, T.Right);
      break;
    case taRightJustify:
      T.Left = std::max(T.Right - size.cx, T.Left);
      break;
    case taCenter:
      T = CenterRectHorizontally(T, size.cx);
      break;
  }
  size = CalculateTextSize(ACanvas, AViewInfo, 1, AViewInfo->Text, T);
  switch (alignment->Vert()) {
    case taTopJustify:
      T.Bottom = std::min(T.Top + size.cy, T.Bottom);
      break;
    case taBottomJustify:
      T.Top = std::max(T.Bottom - size.cy, T.Top);
      break;
    case taVCenter:
      T = CenterRectVertically(T, size.cy);
      break;
  }
  return T;
}

TRect TcxCustomLabelViewData::CalculateLineRect(TRect& ATextRect, const TRect& AClientRect, bool AVertical,
                                                int ALineHeight, bool AVisible, TcxLabelLineAlignment AAlignment) {
  if (!AVisible) return TRect();
  TcxEditAlignment* alignment = Properties()->Alignment();
  const int h = ALineHeight;
  TRect L = AClientRect;
  int shift = 0;
  if (!AVertical) {
    switch (AAlignment) {
      case cxllaTop:
        L.Bottom = AClientRect.Top + h;
        shift = h;
        break;
      case cxllaBottom:
        L.Top = AClientRect.Bottom - h;
        shift = -h;
        break;
      case cxllaCenter:
        L = CenterRectVertically(AClientRect, h);
        if (alignment->Horz() == taLeftJustify) L.Left = ATextRect.Right + LineGap;
        if (alignment->Horz() == taRightJustify) L.Right = ATextRect.Left - LineGap;
        break;
    }
    if (ATextRect.IntersectsWith(L)) ATextRect.Offset(0, shift);
  } else {
    switch (AAlignment) {
      case cxllaTop:
        L.Right = AClientRect.Left + h;
        shift = h;
        break;
      case cxllaBottom:
        L.Left = AClientRect.Right - h;
        shift = -h;
        break;
      case cxllaCenter:
        L = CenterRectHorizontally(AClientRect, h);
        if (alignment->Vert() == taTopJustify) L.Top = ATextRect.Bottom + LineGap;
        if (alignment->Vert() == taBottomJustify) L.Bottom = ATextRect.Top - LineGap;
        break;
    }
    if (ATextRect.IntersectsWith(L)) ATextRect.Offset(shift, 0);
  }
  return L;
}

void TcxCustomLabelViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                       TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                       bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (IsInplace() && (ABounds.Right >= 32000 || ABounds.Bottom >= 32000)) return;
  auto* vi = static_cast<TcxCustomLabelViewInfo*>(AViewInfo);
  TcxCustomLabelProperties* properties = Properties();
  vi->DrawTextFlags = GetTextOutFlags();
  if (vi->NativeStyle && vi->BorderStyle == ebsNone) vi->NativeStyle = false;
  if (!IsInplace() && Edit()) vi->Transparent = static_cast<TcxCustomLabel*>(Edit())->Transparent();

  vi->FLabelEffect = properties->LabelEffect();
  vi->FLabelStyle = properties->LabelStyle();
  vi->FOrientation = properties->Orientation();
  vi->FDepth = ScaleFactor()->Apply(properties->Depth(), properties->ScaleFactor());
  vi->FShadowedColor = properties->ShadowedColor();
  vi->ShowAccelChar = properties->ShowAccelChar();
  vi->FAngle = properties->Angle();
  vi->FPenWidth = properties->PenWidth();
  vi->FWordWrap = properties->WordWrap();
  vi->FLineOuterColor = properties->LineOptions()->OuterColor();
  vi->FLineInnerColor = properties->LineOptions()->InnerColor();
  vi->FAlignment->Assign(properties->Alignment());
  if (properties->Glyph()->Empty())
    vi->FGlyph.reset();
  else
    vi->FGlyph = properties->Glyph()->GetAsBitmap();
  vi->FDepthDeltaSize = ScaledDepthDeltaSize();

  {
    const TcxCanvasStateScope state(ACanvas);
    const int a = GetEffectiveTextAngle(properties->Angle(),
                                        PrepareCanvasFontForAngle(ACanvas, Style()->GetVisibleFont(), properties->Angle()));
    vi->FLabelStyleOffset = GetLabelStyleOffset(ACanvas);
    TRect T = CalculateTextRect(ACanvas, vi, a);
    vi->FLineVertical = a != 0;
    vi->FLineRect = CalculateLineRect(T, vi->ClientRect, vi->FLineVertical, GetLineHeight(), IsLineVisible(a),
                                      properties->LineOptions()->Alignment());
    vi->TextRect = T;
  }
  if (!IsInplace() && Edit() && Edit()->Focused())
    vi->FocusRect = vi->Text.empty() ? TRect() : InflateRectangle(vi->TextRect, 1);
  if (Edit()) vi->LeftTop = TPoint(Edit()->Left(), Edit()->Top());
}

String TcxCustomLabelViewData::LabelText(TcxCustomLabelViewInfo* AViewInfo, const Variant& AEditValue) {
  String text = AViewInfo ? AViewInfo->Text : GetValueDisplayText(AEditValue);
  return text.empty() ? String(L" ") : text;
}

TSize TcxCustomLabelViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                 const TcxEditSizeProperties& AEditSizeProperties,
                                                 TcxEditValidateInfo*) {
  TcxCustomLabelProperties* properties = Properties();
  const TcxCanvasStateScope state(ACanvas);
  const int a = GetEffectiveTextAngle(properties->Angle(),
                                      PrepareCanvasFontForAngle(ACanvas, Style()->GetVisibleFont(), properties->Angle()));
  const TSize D = ScaledDepthDeltaSize();
  const TSize K = GetEditContentSizeCorrection();
  const int s = GetLabelStyleOffset(ACanvas);
  auto* owner = Edit() ? static_cast<TcxCustomLabelViewInfo*>(Edit()->ViewInfo()) : nullptr;
  const String text = LabelText(owner, AEditValue);
  const bool standaloneBorder = !IsInplace() && Style()->HasBorder();
  TRect R(0, 0, AEditSizeProperties.Width, 0);
  if (R.Right >= 0) {
    R.Right -= s + D.cx;
    R.Right -= IsInplace() ? K.cx : standaloneBorder ? 2 : 0;
  }
  TSize size = CalculateTextSize(ACanvas, owner, 0, text, R);
  if (IsInplace()) {
    size.cx += K.cx;
    size.cy += K.cy;
  } else if (standaloneBorder) {
    size.cx += 2;
  }
  if (IsLineVisible(a) && properties->LineOptions()->Alignment() != cxllaCenter) {
    if (a == 0)
      size.cy += GetLineHeight();
    else
      size.cx += GetLineHeight();
  }
  return size;
}

// ---------------------------------------------------------------------------
// TcxLabelHelper

TPoint TcxLabelHelper::CalculatePositionOfRotatedText(TcxCanvas* ACanvas, const String& AText, bool AShowAccelChar,
                                                      const TRect& ADrawingRect, const TSize& ADepthDeltaSize,
                                                      int AAngle, TAlignment AAlignHorz,
                                                      TcxEditVertAlignment AAlignVert) {
  const String text = AShowAccelChar ? StripAccelerators(AText, true) : AText;
  SIZE extent{};
  ::GetTextExtentPoint32W(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &extent);
  const double W = extent.cx;
  const double H = extent.cy;
  const int t = GetEffectiveTextAngle(AAngle, true);
  const double radians = t * std::numbers::pi / 180;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double Hb = std::abs(W * s) + std::abs(H * c) + ADepthDeltaSize.cy;
  double X0;
  double Y0;
  if (t < 180) {
    X0 = t <= 90 ? 0 : std::abs(W * c);
    Y0 = t <= 90 ? std::abs(W * s) : Hb;
  } else {
    X0 = t >= 270 ? std::abs(H * s) : std::abs(W * c) + std::abs(H * s) + ADepthDeltaSize.cx;
    Y0 = t >= 270 ? 0 : std::abs(H * c);
  }
  const TRect& R = ADrawingRect;
  TPoint result;
  switch (AAlignHorz) {
    case taLeftJustify:
      result.X = RoundEven(X0 + R.Left);
      break;
    case taRightJustify:
      result.X = RoundEven(X0 + R.Right + 1 - (std::abs(W * c) + std::abs(H * s) + ADepthDeltaSize.cx));
      break;
    case taCenter:
      result.X = RoundEven((R.Left + R.Right - (W * c + H * s)) / 2);
      break;
  }
  switch (AAlignVert) {
    case taTopJustify:
      result.Y = RoundEven(Y0 + R.Top);
      break;
    case taBottomJustify:
      result.Y = RoundEven(Y0 + R.Bottom - Hb);
      break;
    case taVCenter:
      result.Y = RoundEven((W * s - H * c + R.Top + R.Bottom) / 2);
      break;
  }
  return result;
}

TPoint TcxLabelHelper::CalculatePositionOfRotatedText(TcxCanvas* ACanvas, const String& AText,
                                                      const TRect& ADrawingRect,
                                                      TcxCustomLabelProperties* AProperties) {
  return CalculatePositionOfRotatedText(ACanvas, AText, AProperties->ShowAccelChar(), ADrawingRect, TSize(0, 0),
                                        AProperties->Angle(), AProperties->Alignment()->Horz(),
                                        AProperties->Alignment()->Vert());
}

// ---------------------------------------------------------------------------
// TcxCustomLabel

void TcxCustomLabel::Publish(TPublisher<TcxCustomLabel>& P) {
  P.Message<&TcxCustomLabel::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCustomLabel::CMDialogChar>(CM_DIALOGCHAR);
}

void TcxCustomLabel::Destroy() {
  SetFocusControl(nullptr);
  inherited::Destroy();
}

void TcxCustomLabel::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse});
  SetBounds(Left(), Top(), 121, 21);
}

void TcxCustomLabel::SetFocusControl(TWinControl* AValue) {
  if (AValue == this || AValue == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = AValue;
  if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TcxCustomLabel::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TcxCustomLabel::Loaded() {
  // The automatic size measures in the window's canvas.
  if (Parent() && Parent()->HandleAllocated() && !HandleAllocated()) HandleNeeded();
  inherited::Loaded();
}

TClass TcxCustomLabel::GetAccessibilityHelperClass() { return TdxLabelAccessibilityHelper::ClassInfo(); }

TcxEditStateColorKind TcxCustomLabel::StyleStateIndex() { return Enabled() ? esckNormal : esckDisabled; }

int TcxCustomLabel::GetTextBaseLine() {
  const TcxCanvasStateScope state(Canvas());
  Canvas()->Font()->Assign(Style()->GetVisibleFont());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(Canvas()->Handle(), &metrics);
  return ViewInfo()->TextRect.Top + metrics.tmAscent;
}

void TcxCustomLabel::AutoSizeChanged() {
  inherited::AutoSizeChanged();
  if (AutoSize()) Properties()->LineOptions()->SetVisible(false);
}

void TcxCustomLabel::PropertiesChanged(TObject* Sender) {
  if (ViewInfo()) ViewInfo()->ResetTextSizeCache();
  inherited::PropertiesChanged(Sender);
  if (ActiveProperties()->LineOptions()->Visible()) SetAutoSize(false);
}

bool TcxCustomLabel::KeepsHorizontalAnchor() { return ActiveProperties()->Alignment()->Horz() != taLeftJustify; }
bool TcxCustomLabel::KeepsVerticalAnchor() { return ActiveProperties()->Alignment()->Vert() != taTopJustify; }

void TcxCustomLabel::ApplyScale(int M, int D, bool AIsDpiChange) {
  inherited::ApplyScale(M, D, AIsDpiChange);
  Properties()->ApplyScale(M, D);
}

void TcxCustomLabel::ApplyEditValue(const Variant& AValue) {
  inherited::ApplyEditValue(AValue);
  if (!FLockCaption) SetCaption(VarToStr(AValue));
  ApplyDisplayValue(Variant(Caption()));
}

void TcxCustomLabel::ApplyDisplayValue(const Variant& AValue) {
  if (ViewInfo()) ViewInfo()->Text = VarToStr(AValue);
  ShortRefreshContainer(false);
}

void TcxCustomLabel::CMTextChanged(TMessage& Message) {
  if (ViewInfo()) ViewInfo()->ResetTextSizeCache();
  InheritedMessage<TcxCustomLabel>(Message);
  FLockCaption = true;
  TryFinally([this] { SetInternalEditValue(Variant(Caption())); }, [this] { FLockCaption = false; });
}

void TcxCustomLabel::CMDialogChar(TMessage& Message) {
  if (FFocusControl && Enabled() && ActiveProperties()->ShowAccelChar() &&
      IsAccel(TCMDialogChar(Message).CharCode(), Caption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxCustomLabel>(Message);
}

void TcxLabel::Publish(TPublisher<TcxLabel>& P) {
  P.Property(L"Properties", &TcxLabel::Properties, &TcxLabel::SetProperties);
  P.Property(L"FocusControl", &TcxLabel::FocusControl, &TcxLabel::SetFocusControl);
  P.Property(L"Transparent", &TcxLabel::Transparent, &TcxLabel::SetTransparent).Default(false);
}

// ---------------------------------------------------------------------------
// TdxLabelAccessibilityHelper

int TdxLabelAccessibilityHelper::GetSupportedProperties(int AChildID) {
  return ChildCount() == 0 ? aopLocation : inherited::GetSupportedProperties(AChildID);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxLabelInitialization() {
  RegisterClasses({TcxLabel::ClassInfo(), TcxLabelProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxLabelProperties::ClassInfo(), LoadResString(&scxSEditRepositoryLabelItem));
}

void cxLabelFinalization() { GetRegisteredEditProperties()->Unregister(TcxLabelProperties::ClassInfo()); }
