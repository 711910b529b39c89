#include "library/stdctrls/cxGroupBox.h"

#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

namespace {

int GMeasureCount = 0;

// The shadow a container draws right of and below its frame.
constexpr int GroupBoxShadowSize = 3;
// The distance of a frame caption from the frame's corner, at 96 DPI.
constexpr int FrameCaptionIndent = 8;

bool IsTopRow(TcxCaptionAlignment A) { return A <= alTopRight; }
bool IsBottomRow(TcxCaptionAlignment A) { return A >= alBottomLeft && A <= alBottomRight; }
bool IsLeftColumn(TcxCaptionAlignment A) { return A >= alLeftTop && A <= alLeftBottom; }
bool IsRightColumn(TcxCaptionAlignment A) { return A >= alRightTop && A <= alRightBottom; }

TcxCustomLookAndFeelPainter* PainterOf(TcxLookAndFeelStyle AStyle) { return GetPaintersManager()->GetPainter(AStyle); }

}  // namespace

TcxGroupBoxCaptionPosition CaptionAlignmentToPosition(TcxCaptionAlignment AAlignment) {
  if (IsTopRow(AAlignment)) return cxgpTop;
  if (IsBottomRow(AAlignment)) return cxgpBottom;
  if (IsLeftColumn(AAlignment)) return cxgpLeft;
  if (IsRightColumn(AAlignment)) return cxgpRight;
  return cxgpCenter;
}

int cxGroupBoxMeasureCount() { return GMeasureCount; }

// ---------------------------------------------------------------------------
// TcxPanelStyle

void TcxPanelStyle::Publish(TPublisher<TcxPanelStyle>& P) {
  P.Property(L"Active", &TcxPanelStyle::Active, &TcxPanelStyle::SetActive).Default(false);
  P.Property(L"BorderWidth", &TcxPanelStyle::BorderWidth, &TcxPanelStyle::SetBorderWidth).Default(0);
  P.Property(L"CaptionIndent", &TcxPanelStyle::CaptionIndent, &TcxPanelStyle::SetCaptionIndent).Default(2);
  P.Property(L"OfficeBackgroundKind", &TcxPanelStyle::OfficeBackgroundKind, &TcxPanelStyle::SetOfficeBackgroundKind)
      .Default(pobkOffice11Color);
  P.Property(L"WordWrap", &TcxPanelStyle::WordWrap, &TcxPanelStyle::SetWordWrap).Default(false);
}

void TcxPanelStyle::Create(TcxCustomGroupBox* AEdit) {
  inherited::Create();
  FEdit = AEdit;
}

void TcxPanelStyle::Destroy() { inherited::Destroy(); }

void TcxPanelStyle::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxPanelStyle*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  SetActive(source->Active());
  SetCaptionIndent(source->CaptionIndent());
  SetWordWrap(source->WordWrap());
  SetOfficeBackgroundKind(source->OfficeBackgroundKind());
}

void TcxPanelStyle::RefreshEdit() {
  if (FEdit) FEdit->UpdateNonClientArea();
}

void TcxPanelStyle::SetActive(bool AValue) {
  if (FActive == AValue) return;
  FActive = AValue;
  RefreshEdit();
}

void TcxPanelStyle::SetBorderWidth(int AValue) {
  if (FBorderWidth == AValue) return;
  FBorderWidth = AValue;
  if (FActive) RefreshEdit();
}

void TcxPanelStyle::SetCaptionIndent(int AValue) {
  AValue = std::max(AValue, 2);
  if (FCaptionIndent == AValue) return;
  FCaptionIndent = AValue;
  if (FActive) RefreshEdit();
}

void TcxPanelStyle::SetOfficeBackgroundKind(TcxPanelOffice11BackgroundKind AValue) {
  if (FOfficeBackgroundKind == AValue) return;
  FOfficeBackgroundKind = AValue;
  if (FActive && FEdit && FEdit->Style()->LookAndFeel()->Kind() == lfOffice11) RefreshEdit();
}

void TcxPanelStyle::SetWordWrap(bool AValue) {
  if (FWordWrap == AValue) return;
  FWordWrap = AValue;
  if (FActive) RefreshEdit();
}

void TcxPanelStyle::ScaleChanged(int M, int D) {
  FBorderWidth = MulDiv(FBorderWidth, M, D);
  FCaptionIndent = MulDiv(FCaptionIndent, M, D);
}

// ---------------------------------------------------------------------------
// TcxCustomGroupBoxProperties

TClass TcxCustomGroupBoxProperties::GetContainerClass() { return TcxCustomGroupBox::ClassInfo(); }
TClass TcxCustomGroupBoxProperties::GetViewDataClassType() { return TcxGroupBoxViewData::ClassInfo(); }
TClass TcxCustomGroupBoxProperties::GetViewInfoClass() { return TcxGroupBoxViewInfo::ClassInfo(); }

// ---------------------------------------------------------------------------
// TcxGroupBoxViewData

TcxCustomGroupBox* TcxGroupBoxViewData::GroupBox() const { return dynamic_cast<TcxCustomGroupBox*>(Edit()); }

TcxCaptionAlignment TcxGroupBoxViewData::CaptionAlignment() const {
  TcxCustomGroupBox* box = GroupBox();
  return box ? box->GetBiDiModeDependentAlignment() : alTopLeft;
}

bool TcxGroupBoxViewData::IsPanel() const {
  TcxCustomGroupBox* box = GroupBox();
  return box && box->PanelStyle()->Active();
}

String TcxGroupBoxViewData::CaptionText() const {
  TcxCustomGroupBox* box = GroupBox();
  return box ? box->Caption() : String();
}

bool TcxGroupBoxViewData::HasCaptionExtent() const {
  return !IsInplace() && !IsPanel() && CaptionAlignment() != alCenterCenter;
}

int TcxGroupBoxViewData::CaptionFontHeight() const {
  TcxCustomGroupBox* box = GroupBox();
  return GetFontHeight(box ? box->CaptionFont() : Style()->GetVisibleFont());
}

UINT TcxGroupBoxViewData::CaptionTextFlags() const {
  UINT flags = 0;
  if (!IsPanel()) {
    flags = DT_SINGLELINE;
  } else {
    switch (CaptionAlignment()) {
      case alTopCenter:
      case alBottomCenter:
      case alCenterCenter:
        flags |= DT_CENTER;
        break;
      case alTopRight:
      case alBottomRight:
      case alRightTop:
      case alRightCenter:
      case alRightBottom:
        flags |= DT_RIGHT;
        break;
      default:
        break;
    }
    switch (CaptionAlignment()) {
      case alLeftCenter:
      case alRightCenter:
      case alCenterCenter:
        flags |= DT_VCENTER;
        break;
      case alBottomLeft:
      case alBottomCenter:
      case alBottomRight:
      case alLeftBottom:
      case alRightBottom:
        flags |= DT_BOTTOM;
        break;
      default:
        break;
    }
    flags |= GroupBox()->PanelStyle()->WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
  }
  if (UseRightToLeftReading) flags |= DT_RTLREADING;
  return flags;
}

TRect TcxGroupBoxViewData::MeasureCaption(TcxCanvas* ACanvas, const TRect& AStart) {
  if (TcxCustomGroupBox* box = GroupBox()) return box->MeasureCaptionCached(ACanvas, AStart, CaptionTextFlags());
  TRect r = AStart;
  ++GMeasureCount;
  DrawTextWithColor(ACanvas->Handle(), CaptionText(), r, CaptionTextFlags() | DT_CALCRECT, -1, clDefault,
                    TRANSPARENT);
  return r;
}

TRect TcxGroupBoxViewData::GetBorderExtent() {
  TRect result = inherited::GetBorderExtent();
  if (!HasCaptionExtent()) return result;
  const int h = CaptionFontHeight();
  switch (CaptionAlignmentToPosition(CaptionAlignment())) {
    case cxgpTop:
      result.Top = h / 2 + 1;
      break;
    case cxgpBottom:
      result.Bottom = h / 2 + 1;
      break;
    case cxgpLeft:
      result.Left = h / 2;
      break;
    case cxgpRight:
      result.Right = h / 2;
      break;
    case cxgpCenter:
      break;
  }
  return result;
}

TRect TcxGroupBoxViewData::GetClientExtent(TcxCanvas*, TcxCustomEditViewInfo*) {
  TRect result = inherited::GetBorderExtent();
  if (!HasCaptionExtent()) return result;
  const int size = CaptionFontHeight() + result.Top + 3;
  switch (CaptionAlignmentToPosition(CaptionAlignment())) {
    case cxgpTop:
      result.Top = size;
      break;
    case cxgpBottom:
      result.Bottom = size;
      break;
    case cxgpLeft:
      result.Left = size;
      break;
    case cxgpRight:
      result.Right = size;
      break;
    case cxgpCenter:
      break;
  }
  return result;
}

bool TcxGroupBoxViewData::HasShadow() {
  if (!inherited::HasShadow()) return false;
  if (IsPanel()) return true;
  const TcxCaptionAlignment a = CaptionAlignment();
  return IsTopRow(a) || IsLeftColumn(a);
}

TcxContainerState TcxGroupBoxViewData::CalculateContainerState(const TRect&, const TPoint&, TcxMouseButton,
                                                               TShiftState, bool) {
  return Enabled ? TcxContainerState{csNormal} : TcxContainerState{csDisabled};
}

void TcxGroupBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                    TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                    bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxGroupBoxViewInfo*>(AViewInfo);
  vi->Alignment = CaptionAlignment();
  vi->CaptionPosition = CaptionAlignmentToPosition(vi->Alignment);
  vi->IsPanel = IsPanel();
  vi->IsDesigning = IsDesigning;
  vi->Text = CaptionText();
  vi->DrawTextFlags = CaptionTextFlags();
  const int width = BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(GetBorderStyle()));
  vi->FrameRect = InflateRectangle(vi->BorderRect, GetBorderExtentByEdges(width));
  vi->CaptionRect = TRect();
  vi->TextRect = TRect();
  if (vi->Text.empty()) return;
  const TcxCanvasStateScope state(ACanvas);
  vi->PrepareCaptionFont(ACanvas);
  if (vi->IsPanel)
    CalculatePanelCaption(ACanvas, vi);
  else
    CalculateFrameCaption(ACanvas, vi);
  vi->TextRect = vi->CaptionRect;
}

void TcxGroupBoxViewData::CalculateFrameCaption(TcxCanvas* ACanvas, TcxGroupBoxViewInfo* AViewInfo) {
  const TRect size = MeasureCaption(ACanvas, TRect());
  const int w = size.Width();
  const int h = size.Height();
  const TRect& b = AViewInfo->Bounds;
  const int W = b.Width();
  const int H = b.Height();
  const int s = AViewInfo->Shadow ? GroupBoxShadowSize : 0;
  const int i = ScaleFactor()->Apply(FrameCaptionIndent);
  TRect r;
  switch (AViewInfo->Alignment) {
    case alTopLeft:
      r = TRect(i, 0, i + w, h);
      break;
    case alTopCenter:
      r = TRect((W - s - w) / 2, 0, (W - s - w) / 2 + w, h);
      break;
    case alTopRight:
      r = TRect(W - s - w - i, 0, W - s - i, h);
      break;
    case alBottomLeft:
      r = TRect(i, H - h, i + w, H);
      break;
    case alBottomCenter:
      r = TRect((W - s - w) / 2, H - h, (W - s - w) / 2 + w, H);
      break;
    case alBottomRight:
      r = TRect(W - s - w - i, H - h, W - s - i, H);
      break;
    case alCenterCenter:
      r = TRect((W - s - w) / 2, (H - s - h) / 2, (W - s - w) / 2 + w, (H - s - h) / 2 + h);
      break;
    case alLeftTop:
      r = TRect(0, i, h, i + w + 1);
      break;
    case alLeftCenter: {
      const int bottom = H - s - (H - s - w) / 2;
      r = TRect(0, bottom - w - 1, h, bottom);
      break;
    }
    case alLeftBottom:
      r = TRect(0, H - s - w - 1 - i, h, H - s - i);
      break;
    case alRightTop:
      r = TRect(W - h, i, W, i + w);
      break;
    case alRightCenter: {
      const int top = (H - w) / 2;
      r = TRect(W - h, top, W, top + w);
      break;
    }
    case alRightBottom:
      r = TRect(W - h, H - w - i, W, H - i);
      break;
  }
  r.Offset(b.Left, b.Top);
  AViewInfo->CaptionRect = r;
}

void TcxGroupBoxViewData::CalculatePanelCaption(TcxCanvas* ACanvas, TcxGroupBoxViewInfo* AViewInfo) {
  TcxCustomGroupBox* box = GroupBox();
  TRect area = AViewInfo->Bounds;
  if (AViewInfo->Shadow && !NativeStyle) {
    area.Right -= GroupBoxShadowSize;
    area.Bottom -= GroupBoxShadowSize;
  }
  area.Deflate(box->PanelStyle()->BorderWidth());
  const int indent = box->PanelStyle()->CaptionIndent();
  const TcxCaptionAlignment a = AViewInfo->Alignment;
  if (a == alTopLeft || a == alBottomLeft || IsLeftColumn(a)) area.Left += indent;
  if (a == alTopRight || a == alBottomRight || IsRightColumn(a)) area.Right -= indent;
  if (IsTopRow(a) || a == alLeftTop || a == alRightTop) area.Top += indent;
  if (IsBottomRow(a) || a == alLeftBottom || a == alRightBottom) area.Bottom -= indent;

  TRect r = MeasureCaption(ACanvas, area);
  r.Offset(area.Left - r.Left, area.Top - r.Top);
  const UINT flags = AViewInfo->DrawTextFlags;
  if (flags & DT_CENTER) r.Offset((area.Left + area.Right) / 2 - (r.Left + r.Right) / 2, 0);
  else if (flags & DT_RIGHT) r.Offset(area.Right - r.Right, 0);
  if (flags & DT_VCENTER) r.Offset(0, (area.Top + area.Bottom) / 2 - (r.Top + r.Bottom) / 2);
  else if (flags & DT_BOTTOM) r.Offset(0, area.Bottom - r.Bottom);
  GetRectIntersection(r, area, AViewInfo->CaptionRect);
}

// ---------------------------------------------------------------------------
// TcxGroupBoxViewInfo

TcxCustomGroupBox* TcxGroupBoxViewInfo::GroupBox() const { return dynamic_cast<TcxCustomGroupBox*>(Edit()); }

void TcxGroupBoxViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  CaptionRect.Offset(DX, DY);
  FrameRect.Offset(DX, DY);
}

void TcxGroupBoxViewInfo::InvalidateCaption() {
  if (auto* control = dynamic_cast<TWinControl*>(Owner); control && control->HandleAllocated())
    {
    const RECT r = CaptionRect;
    ::InvalidateRect(control->Handle(), &r, FALSE);
  }
}

void TcxGroupBoxViewInfo::PrepareCaptionFont(TcxCanvas* ACanvas) {
  TcxCustomGroupBox* box = GroupBox();
  ACanvas->Font()->Assign(box ? box->CaptionFont() : Font);
  TcxContainerStyle* style = box ? box->CurrentStyle() : nullptr;
  const bool textColorAssigned = style && style->IsValueAssigned(svTextColor);
  TcxCustomLookAndFeelPainter* painter = NativeStyle ? PainterOf(lfsNative) : Painter;
  if (!textColorAssigned && painter) {
    const TColor color = IsPanel ? painter->PanelTextColor() : painter->GroupBoxTextColor(Enabled, CaptionPosition);
    if (color != clDefault) ACanvas->Font()->SetColor(color);
  }
  const bool fontAssigned = style && style->IsValueAssigned(svFont);
  if (!IsPanel && !fontAssigned && painter) painter->GroupBoxAdjustCaptionFont(ACanvas->Font(), CaptionPosition);
}

void TcxGroupBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (IsInplace) {
    FillRectByColor(ACanvas, Bounds, BackgroundColor());
    return;
  }
  const TcxClipRegionScope clip(ACanvas);
  DrawBackground(ACanvas);
  DrawCaption(ACanvas);
  if (!IsPanel && !CaptionRect.IsEmpty()) ACanvas->ExcludeClipRect(CaptionRect);
  DrawFrame(ACanvas);
  if (IsDBEditPaintCopyDrawing) DrawButtons(ACanvas);
}

void TcxGroupBoxViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  TcxCustomGroupBox* box = GroupBox();
  if (box && box->DoCustomDrawContentBackground(ACanvas, Bounds, Painter)) return;
  const TRect all(Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom);
  if (Shadow && !NativeStyle) DrawContainerShadow(ACanvas, FrameRect);
  if (Transparent) {
    if (auto* control = dynamic_cast<TWinControl*>(Owner)) DrawParentBackground(control, ACanvas, all, false);
  } else if (NativeStyle && IsPanel) {
    Painter->DrawPanelBackground(ACanvas, box, all, BackgroundColor(), BackgroundColor());
  } else {
    FillRectByColor(ACanvas, all, BackgroundColor());
  }
}

void TcxGroupBoxViewInfo::DrawCaption(TcxCanvas* ACanvas) {
  if (Text.empty() || CaptionRect.IsEmpty()) return;
  const TcxClipRegionScope clip(ACanvas, CaptionRect);
  TcxCustomGroupBox* box = GroupBox();
  if (box && box->DoCustomDrawCaption(ACanvas, CaptionRect, Painter)) return;
  if (!ACanvas->RectVisible(CaptionRect)) return;
  const TcxCanvasStateScope state(ACanvas);
  PrepareCaptionFont(ACanvas);
  ACanvas->Brush()->SetStyle(bsClear);
  const TColor color = ACanvas->Font()->Color();
  if (!IsPanel && (CaptionPosition == cxgpLeft || CaptionPosition == cxgpRight)) {
    DrawRotatedText(ACanvas, Text, TextRect, DrawTextFlags, color,
                    CaptionPosition == cxgpLeft ? raPlus90 : raMinus90);
    return;
  }
  TRect r = TextRect;
  DrawTextWithColor(ACanvas->Handle(), Text, r, DrawTextFlags, -1, color, TRANSPARENT);
}

void TcxGroupBoxViewInfo::DrawFrame(TcxCanvas* ACanvas) {
  TRect frame = FrameRect;
  if (UseRightToLeftAlignment) frame = TRect(Bounds.Left + Bounds.Right - frame.Right, frame.Top,
                                             Bounds.Left + Bounds.Right - frame.Left, frame.Bottom);
  if (NativeStyle) {
    if (BorderStyle == ebsNone) return;
    if (IsPanel) {
      Painter->DrawBorder(ACanvas, frame);
      return;
    }
    TRect r = Bounds;
    const int half = GetDCTextHeight(ACanvas->Handle()) / 2;
    switch (CaptionPosition) {
      case cxgpTop: r.Top += half; break;
      case cxgpBottom: r.Bottom -= half; break;
      case cxgpLeft: r.Left += half; break;
      case cxgpRight: r.Right -= half; break;
      case cxgpCenter: break;
    }
    PainterOf(lfsNative)->DrawGroupBoxFrame(ACanvas, r, true, CaptionPosition, cxBordersAll());
    return;
  }
  switch (BorderStyle) {
    case ebsSingle:
    case ebsUltraFlat:
    case ebsOffice11:
      ACanvas->FrameRect(frame, BorderColor, 1, Edges);
      break;
    case ebsThick:
      ACanvas->FrameRect(frame, BorderColor, 2, Edges);
      break;
    case ebsFlat:
      PainterOf(lfsFlat)->DrawGroupBoxFrame(ACanvas, frame, true, CaptionPosition, cxBordersAll());
      break;
    case ebs3D:
      if (!GroupBox() || GroupBox()->Ctl3D()) {
        PainterOf(lfsStandard)->DrawGroupBoxFrame(ACanvas, frame, true, CaptionPosition, cxBordersAll());
      } else {
        ACanvas->FrameRect(frame, clWindowFrame);
        ACanvas->FrameRect(InflateRectangle(frame, -1), BackgroundColor());
      }
      break;
    case ebsNone:
      break;
  }
}

// ---------------------------------------------------------------------------
// TcxGroupBoxButtonViewInfo

TRect TcxGroupBoxButtonViewInfo::GetGlyphRect(const TSize& AGlyphSize, TLeftRight AAlignment, bool) {
  const int top = Bounds.Top + (Bounds.Height() - AGlyphSize.cy) / 2;
  const int left = AAlignment == taLeftJustify ? Bounds.Left : Bounds.Right - AGlyphSize.cx;
  return TRect(left, top, left + AGlyphSize.cx, top + AGlyphSize.cy);
}

// ---------------------------------------------------------------------------
// TcxCustomGroupBox

void TcxCustomGroupBox::Publish(TPublisher<TcxCustomGroupBox>& P) {
  P.Message<&TcxCustomGroupBox::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCustomGroupBox::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TcxCustomGroupBox::WMNCHitTest>(WM_NCHITTEST);
}

void TcxCustomGroupBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetControlStyle(ControlStyle() + TControlStyle{csParentBackground});
}

void TcxCustomGroupBox::Destroy() {
  FCaptionFont.reset();
  FPanelStyle.reset();
  inherited::Destroy();
}

void TcxCustomGroupBox::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents});
  SetBounds(Left(), Top(), 185, 105);
  FCaptionFont.reset(New<TFont>());
  UpdateCaptionFont();
  SetTabStop(false);
  FPanelStyle = CreatePanelStyle();
}

TOwned<TcxPanelStyle> TcxCustomGroupBox::CreatePanelStyle() {
  return TOwned<TcxPanelStyle>(New<TcxPanelStyle>(this));
}

bool TcxCustomGroupBox::Transparent() { return ActiveProperties()->Transparent(); }

void TcxCustomGroupBox::SetAlignment(TcxCaptionAlignment AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  RefreshLayout();
}

void TcxCustomGroupBox::SetPanelStyle(TcxPanelStyle* AValue) {
  FPanelStyle->Assign(AValue);
  RefreshLayout();
}

void TcxCustomGroupBox::RefreshLayout() {
  UpdateCaptionFont();
  ShortRefreshContainer(false);
  UpdateNonClientArea();
}

TcxCaptionAlignment TcxCustomGroupBox::GetBiDiModeDependentAlignment() {
  if (!UseRightToLeftAlignment()) return FAlignment;
  switch (FAlignment) {
    case alTopLeft: return alTopRight;
    case alTopRight: return alTopLeft;
    case alBottomLeft: return alBottomRight;
    case alBottomRight: return alBottomLeft;
    case alLeftTop: return alRightTop;
    case alRightTop: return alLeftTop;
    case alLeftCenter: return alRightCenter;
    case alRightCenter: return alLeftCenter;
    case alLeftBottom: return alRightBottom;
    case alRightBottom: return alLeftBottom;
    default: return FAlignment;
  }
}

void TcxCustomGroupBox::UpdateCaptionFont() {
  if (FCaptionFont) FCaptionFont->Assign(Style()->GetVisibleFont());
}

TRect TcxCustomGroupBox::MeasureCaptionCached(TcxCanvas* ACanvas, const TRect& AStart, UINT AFlags) {
  // A wrapped caption depends on the width it is wrapped in as well.
  std::uint32_t hash = BobJenkinsHash(&AFlags, sizeof(AFlags), 0);
  const HFONT font = ACanvas->Font()->Handle();
  hash = BobJenkinsHash(&font, sizeof(font), hash);
  if (AFlags & DT_WORDBREAK) {
    const int width = AStart.Width();
    hash = BobJenkinsHash(&width, sizeof(width), hash);
  }
  if (FTextRect.Valid && FTextRect.Hash == hash) return FTextRect.Rect;
  TRect r = AStart;
  ++GMeasureCount;
  DrawTextWithColor(ACanvas->Handle(), Caption(), r, AFlags | DT_CALCRECT, -1, clDefault, TRANSPARENT);
  FTextRect = TdxCachedRect{hash, true, r};
  return r;
}

void TcxCustomGroupBox::UpdateNonClientArea() {
  if (!HandleAllocated() || IsDestroying() || FContentExtentsUpdating) return;
  FContentExtentsUpdating = true;
  TryFinally(
      [this] {
        ShortRefreshContainer(false);
        if (AllowsNonClientFrame()) {
          const RECT r{0, 0, Width(), Height()};
          ::RedrawWindow(Handle(), &r, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
        }
        Realign();
      },
      [this] { FContentExtentsUpdating = false; });
}

void TcxCustomGroupBox::AdjustClientRect(TRect& ARect) {
  ARect = TRect(0, 0, Width(), Height());
  if (!Style() || !FPanelStyle) return;
  TOwned<TcxCustomEditViewData> data = CreateEditViewData();
  TOwned<TcxCustomEditViewInfo> info(NewOfClass<TcxCustomEditViewInfo>(ActiveProperties()->GetViewInfoClass()));
  ARect = GetContentRect(ARect, data->GetClientExtent(Canvas(), info.get()));
  if (FPanelStyle->Active()) ARect.Deflate(FPanelStyle->BorderWidth());
}

bool TcxCustomGroupBox::HasShadow() {
  if (!inherited::HasShadow()) return false;
  if (FPanelStyle && FPanelStyle->Active()) return true;
  const TcxCaptionAlignment a = GetBiDiModeDependentAlignment();
  return IsTopRow(a) || IsLeftColumn(a);
}

void TcxCustomGroupBox::ComputeBorderBounds(TRect& R) {
  if (FPanelStyle && FPanelStyle->Active()) {
    R = TRect(0, 0, Width(), Height());
    if (HasShadow()) {
      R.Right -= GroupBoxShadowSize;
      R.Bottom -= GroupBoxShadowSize;
    }
  } else {
    inherited::ComputeBorderBounds(R);
  }
  const TcxCaptionAlignment a = GetBiDiModeDependentAlignment();
  if (IsTopRow(a)) R.Top = 0;
  else if (IsBottomRow(a)) R.Bottom = Height();
  else if (IsLeftColumn(a)) R.Left = 0;
  else if (IsRightColumn(a)) R.Right = Width();
}

void TcxCustomGroupBox::GetOuterMargins(TRect& R) {
  R = TRect();
  if (!ViewInfo()) return;
  TRect border;
  ComputeBorderBounds(border);
  const TRect& frame = ViewInfo()->FrameRect;
  const TcxCaptionAlignment a = GetBiDiModeDependentAlignment();
  if (IsTopRow(a)) R.Top = frame.Top - border.Top;
  else if (IsLeftColumn(a)) R.Left = frame.Left - border.Left;
}

TcxContainerStyleValues TcxCustomGroupBox::HiddenStyleValues() {
  return inherited::HiddenStyleValues() + TcxContainerStyleValues{svHotTrack};
}

TcxContainerStyle* TcxCustomGroupBox::SelectStyleForState(TcxContainerState AState) {
  return AState.Contains(csDisabled) ? StyleDisabled() : Style();
}

void TcxCustomGroupBox::ApplyStyleChanges(TObject* Sender) {
  UpdateCaptionFont();
  inherited::ApplyStyleChanges(Sender);
}

void TcxCustomGroupBox::ApplyScale(int M, int D, bool AIsDpiChange) {
  inherited::ApplyScale(M, D, AIsDpiChange);
  if (FPanelStyle) FPanelStyle->ScaleChanged(M, D);
  UpdateNonClientArea();
}

void TcxCustomGroupBox::PaintControl() {
  if (OnCustomDraw) {
    bool done = false;
    OnCustomDraw(this, done);
    if (done) return;
  }
  inherited::PaintControl();
}

bool TcxCustomGroupBox::DoCustomDrawCaption(TcxCanvas* ACanvas, const TRect& ABounds,
                                            TcxCustomLookAndFeelPainter* APainter) {
  bool done = false;
  if (OnCustomDrawCaption) OnCustomDrawCaption(this, ACanvas->Canvas(), ABounds, APainter, done);
  return done;
}

bool TcxCustomGroupBox::DoCustomDrawContentBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      TcxCustomLookAndFeelPainter* APainter) {
  bool done = false;
  if (OnCustomDrawContentBackground) OnCustomDrawContentBackground(this, ACanvas->Canvas(), ABounds, APainter, done);
  return done;
}

void TcxCustomGroupBox::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxCustomGroupBox>(Message);
  FTextRect = TdxCachedRect();
  ShortRefreshContainer(false);
  UpdateNonClientArea();
}

void TcxCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (CanFocus() && IsAccel(TCMDialogChar(Message).CharCode(), Caption())) {
    FIsAccelCharHandling = true;
    TryFinally([this] { SelectFirst(); }, [this] { FIsAccelCharHandling = false; });
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxCustomGroupBox>(Message);
}

void TcxCustomGroupBox::WMNCHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TcxGroupBox::Publish(TPublisher<TcxGroupBox>& P) {
  P.Property(L"Alignment", &TcxGroupBox::Alignment, &TcxGroupBox::SetAlignment).Default(alTopLeft);
  P.Property(L"PanelStyle", &TcxGroupBox::PanelStyle, &TcxGroupBox::SetPanelStyle);
  P.Property(L"RedrawOnResize", &TcxGroupBox::RedrawOnResize, &TcxGroupBox::SetRedrawOnResize).Default(true);
  P.Property(L"ParentBackground", &TcxGroupBox::ParentBackground, &TcxGroupBox::SetParentBackground).Default(true);
  P.Property(L"Transparent", &TcxGroupBox::Transparent, &TcxGroupBox::SetTransparent).Default(false);
}

void cxGroupBoxInitialization() { RegisterClasses({TcxGroupBox::ClassInfo()}); }
