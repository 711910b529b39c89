// The editor's paint record: frame, background, validation mark and buttons,
// what a new record invalidates against the old one, and hit tests.
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/ui/Forms.h"

#include <vssym32.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxEditButtonFadingHelper

void TcxEditButtonFadingHelper::Create(TcxEditButtonViewInfo* AViewInfo) {
  inherited::Create();
  FViewInfo = AViewInfo;
}

TcxCustomEditViewInfo* TcxEditButtonFadingHelper::GetOwnerViewInfo() const { return FViewInfo->EditViewInfo; }

TRect TcxEditButtonFadingHelper::ButtonRect() const { return FViewInfo->Bounds; }

void TcxEditButtonFadingHelper::UpdateState() {
  const TcxEditButtonState state = FViewInfo->Data.State;
  if (state == FState) return;
  // Button-state ordinals of the fader: 1 normal, 2 hot, 3 pressed, 4 disabled.
  const auto ordinal = [](TcxEditButtonState AState) {
    switch (AState) {
      case ebsDisabled: return 4;
      case ebsPressed: return 3;
      case ebsSelected: return 2;
      default: return 1;
    }
  };
  if (CanFade()) CheckStartFading(ordinal(FState), ordinal(state));
  FState = state;
}

void TcxEditButtonFadingHelper::Invalidate() { Invalidate(ButtonRect(), FViewInfo->HasBackground); }

void TcxEditButtonFadingHelper::Invalidate(const TRect& R, bool AEraseBackground) {
  TcxCustomEditViewInfo* owner = GetOwnerViewInfo();
  if (!owner || !owner->WindowHandle) return;
  ::InvalidateRect(owner->WindowHandle, R.WinRect(), AEraseBackground);
}

bool TcxEditButtonFadingHelper::CanFade() {
  TcxCustomEditViewInfo* owner = GetOwnerViewInfo();
  return owner && owner->WindowHandle && owner->IsFadingAvailable() && owner->CanStartButtonFading();
}

void TcxEditButtonFadingHelper::GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) {
  AFadeOutImage = PrepareStateImage(ebsNormal);
  AFadeInImage = PrepareStateImage(ebsSelected);
}

void TcxEditButtonFadingHelper::PaintButton(TcxCanvas* ACanvas) {
  // Border and face only: the paint draws the content over the fade frame.
  TRect content;
  TColor penColor = clBtnText;
  TColor brushColor = TColor(0);
  GetOwnerViewInfo()->DrawButtonBorderAndBackground(ACanvas, FViewInfo, content, penColor, brushColor);
}

TOwned<TBitmap> TcxEditButtonFadingHelper::PrepareStateImage(TcxEditButtonState AState) {
  const TRect R = ButtonRect();
  TOwned<TcxBitmap32> image(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(R, true); }));
  TcxCustomEditViewInfo* owner = GetOwnerViewInfo();
  bool handled = false;
  if (owner->FOnPrepareButtonFadingImage) owner->FOnPrepareButtonFadingImage(FViewInfo, AState, image.get(), handled);
  if (handled) return TOwned<TBitmap>(image.release());
  // The button is drawn in another state for the picture; it keeps its own
  // state and theme state whatever happens.
  struct TRestore {
    TcxEditButtonViewInfoData& Data;
    const TcxEditButtonViewInfoData Saved;
    ~TRestore() {
      Data.State = Saved.State;
      Data.NativePart = Saved.NativePart;
      Data.NativeState = Saved.NativeState;
      Data.BackgroundPartiallyTransparent = Saved.BackgroundPartiallyTransparent;
    }
  } restore{FViewInfo->Data, FViewInfo->Data};
  FViewInfo->Data.State = AState;
  if (owner->EditProperties) {
    const TOwned<TcxCustomEditViewData> viewData = owner->EditProperties->CreateViewData(nullptr, owner->IsInplace);
    viewData->ScaleFactor()->Assign(owner->ScaleFactor());
    viewData->IsNativeBackgroundTransparent(FViewInfo);
  }
  TcxCanvas* canvas = image->cxCanvas();
  const TSavedWindowOrg origin(canvas->Handle());
  ::SetWindowOrgEx(canvas->Handle(), R.Left, R.Top, nullptr);
  PaintButton(canvas);
  return TOwned<TBitmap>(image.release());
}

// ---------------------------------------------------------------------------
// TcxEditButtonViewInfo

void TcxEditButtonViewInfo::Create() { inherited::Create(); }

void TcxEditButtonViewInfo::AfterConstruction() {
  inherited::AfterConstruction();
  FadingHelper = CreateFadingHelper();
}

void TcxEditButtonViewInfo::Destroy() {
  NotifyAccessibilityHelperRemoved(FAccessibilityHelper);
  FadingHelper.reset();
  inherited::Destroy();
}

void TcxEditButtonViewInfo::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxEditButtonViewInfo*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  Data.NativeState = source->Data.NativeState;
  Data.BackgroundColor = source->Data.BackgroundColor;
  Bounds = source->Bounds;
  Data.Style = source->Data.Style;
  Data.State = source->Data.State;
}

TOwned<TcxEditButtonFadingHelper> TcxEditButtonViewInfo::CreateFadingHelper() {
  return TOwned<TcxEditButtonFadingHelper>(New<TcxEditButtonFadingHelper>(this));
}

bool TcxEditButtonViewInfo::DiffersFrom(const TcxEditButtonViewInfo* AViewInfo) const {
  return Data.Style != AViewInfo->Data.Style || Data.State != AViewInfo->Data.State ||
         Data.BackgroundColor != AViewInfo->Data.BackgroundColor || Data.NativeState != AViewInfo->Data.NativeState;
}

TOwned<TcxRegion> TcxEditButtonViewInfo::GetUpdateRegion(TcxEditButtonViewInfo* AViewInfo) {
  return DiffersFrom(AViewInfo) ? TOwned<TcxRegion>(New<TcxRegion>(Bounds)) : TOwned<TcxRegion>(New<TcxRegion>());
}

bool TcxEditButtonViewInfo::Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AViewInfo,
                                    const TPoint& AEditPosition) {
  if (!DiffersFrom(AViewInfo) && !(FadingHelper && FadingHelper->Active())) return false;
  TRect R = Bounds;
  R.Offset(AEditPosition.X, AEditPosition.Y);
  ::RedrawWindow(AControl->Handle(), R.WinRect(), nullptr, RDW_INVALIDATE | (HasBackground ? RDW_ERASE : 0));
  return true;
}

TdxScaleFactor* TcxEditButtonViewInfo::ScaleFactor() const { return EditViewInfo->ScaleFactor(); }

// ---------------------------------------------------------------------------
// TcxCustomEditViewInfo: life and copies

void TcxCustomEditViewInfo::Create() {
  inherited::Create();
  FScaleFactor.reset(New<TdxScaleFactor>());
  FErrorData.reset(New<TcxEditValidateInfo>());
}

void TcxCustomEditViewInfo::Destroy() {
  ButtonsInfo.clear();
  FErrorData.reset();
  FScaleFactor.reset();
  inherited::Destroy();
}

void TcxCustomEditViewInfo::Assign(TObject* ASource) {
  if (auto* source = dynamic_cast<TcxCustomEditViewInfo*>(ASource)) {
    SetBackgroundColor(source->BackgroundColor());
    BorderColor = source->BorderColor;
    BorderStyle = source->BorderStyle;
    ContainerState = source->ContainerState;
    NativeState = source->NativeState;
    SetButtonCount(static_cast<int>(source->ButtonsInfo.size()));
    for (std::size_t i = 0; i < ButtonsInfo.size(); ++i) ButtonsInfo[i]->Assign(source->ButtonsInfo[i].get());
    PressedButton = source->PressedButton;
    SelectedButton = source->SelectedButton;
  }
  inherited::Assign(ASource);
}

void TcxCustomEditViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  for (TRect* r : {&InnerEditRect, &ShadowRect, &FEditorBounds, &FErrorBounds}) r->Offset(DX, DY);
  for (const auto& button : ButtonsInfo) {
    button->Bounds.Offset(DX, DY);
    button->VisibleBounds.Offset(DX, DY);
  }
}

void TcxCustomEditViewInfo::UpdateStyle(TcxContainerStyle* AStyle) {
  inherited::UpdateStyle(AStyle);
  if (IsInplace) UseSkinnedColors = false;
}

void TcxCustomEditViewInfo::SetButtonCount(int ACount) {
  ACount = std::max(ACount, 0);
  if (static_cast<int>(ButtonsInfo.size()) > ACount) ButtonsInfo.resize(ACount);
  while (static_cast<int>(ButtonsInfo.size()) < ACount) {
    TOwned<TcxEditButtonViewInfo> button(NewOfClass<TcxEditButtonViewInfo>(GetButtonViewInfoClass()));
    button->EditViewInfo = this;
    ButtonsInfo.push_back(std::move(button));
  }
}

TPoint TcxCustomEditViewInfo::SetOrigin(const TPoint& APoint) {
  const TPoint old(Left, Top);
  Left = APoint.X;
  Top = APoint.Y;
  return old;
}

void TcxCustomEditViewInfo::ResetValidationInfo() { FErrorData->Reset(); }

void TcxCustomEditViewInfo::SaveButtonStates() {
  LastPressedButton = PressedButton;
  LastSelectedButton = SelectedButton;
}

bool TcxCustomEditViewInfo::CanDrawEditValue() {
  bool allow = true;
  if (FOnCanDrawEditValue) FOnCanDrawEditValue(this, allow);
  return allow;
}

bool TcxCustomEditViewInfo::CanStartButtonFading() {
  bool canStart = true;
  if (FOnCanStartButtonFading) FOnCanStartButtonFading(this, canStart);
  return canStart;
}

bool TcxCustomEditViewInfo::IsFadingAvailable() const { return NativeStyle || (UseSkins && Painter); }

bool TcxCustomEditViewInfo::IsHotTrack() const {
  return std::any_of(ButtonsInfo.begin(), ButtonsInfo.end(),
                     [](const auto& AButton) { return AButton->Data.State == ebsSelected; });
}

bool TcxCustomEditViewInfo::IsHotTrack(const TPoint& P) const {
  const TPoint local(P.X - Left, P.Y - Top);
  return std::any_of(ButtonsInfo.begin(), ButtonsInfo.end(),
                     [&](const auto& AButton) { return AButton->Bounds.Contains(local); });
}

// ---------------------------------------------------------------------------
// Painting

void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (FOnPaint) FOnPaint(this, ACanvas);
  DrawCustomEdit(ACanvas, true, true);
  if (FOnAfterDrawValue) FOnAfterDrawValue(this, ACanvas);
}

void TcxCustomEditViewInfo::PaintEx(TcxCanvas* ACanvas) {
  const HDC DC = ACanvas->Handle();
  const TSavedWindowOrg origin(DC);
  ::SetWindowOrgEx(DC, origin.Origin().x - Left, origin.Origin().y - Top, nullptr);
  Paint(ACanvas);
}

bool TcxCustomEditViewInfo::IsCustomBackground() const { return IsInplace && static_cast<bool>(FOnDrawBackground); }

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  if (!IsCustomBackground()) return false;
  if (!ACanvas) return true;
  bool handled = false;
  FOnDrawBackground(this, ACanvas, handled);
  return handled;
}

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* ACanvas, const TPoint& APos) {
  if (!ACanvas) return DrawBackground(ACanvas);
  const HDC DC = ACanvas->Handle();
  const TSavedWindowOrg origin(DC);
  ::SetWindowOrgEx(DC, origin.Origin().x - APos.X, origin.Origin().y - APos.Y, nullptr);
  return DrawBackground(ACanvas);
}

bool TcxCustomEditViewInfo::IsBackgroundPartiallyTransparent() {
  if (FNeedShowErrorIcon) return true;
  if (!NativeStyle || BorderStyle == ebsNone) return false;
  const HTHEME theme = OpenTheme(ThemedObjectType);
  return theme && UxIsThemeBackgroundPartiallyTransparent(theme, NativePart, NativeState);
}

bool TcxCustomEditViewInfo::IsBackgroundTransparent() {
  // Neither the frame nor a solid fill paints the background.
  if (IsInplace) return !IsCustomBackground() && Transparent;
  return Transparent;
}

void TcxCustomEditViewInfo::DrawCustomEdit(TcxCanvas* ACanvas, bool ACanDrawBackground, bool ACanDrawValidationMark) {
  TdxFader* fader = GetFader();
  const bool fading = fader && Owner && fader->Contains(Owner);
  if (!IsInplace && (IsBackgroundPartiallyTransparent() || fading))
    if (auto* control = dynamic_cast<TWinControl*>(Owner)) DrawParentBackground(control, ACanvas, Bounds, false);
  if (!(fading && fader->DrawFadeImage(Owner, ACanvas->Handle(), Bounds)))
    PaintEditBackground(ACanvas, this, ACanDrawBackground);
  if (FOnAfterDrawBackground) FOnAfterDrawBackground(this, ACanvas);
  if (ACanDrawValidationMark) DrawCustomEditValidationMark(ACanvas);
  DrawButtons(ACanvas);
}

void TcxCustomEditViewInfo::DrawCustomEditValidationMark(TcxCanvas* ACanvas) {
  if (FErrorData->ErrorType() == eetNone || !FErrorData->HasErrorIcon()) return;
  TdxSmartGlyph* icon = FErrorData->ErrorIcon();
  TSize size = FScaleFactor->Apply(icon->Size());
  size.cx = std::min(size.cx, FErrorBounds.Width());
  size.cy = std::min(size.cy, FErrorBounds.Height());
  const TRect R = MakeBoundsRect(FErrorBounds.Left + (FErrorBounds.Width() - size.cx) / 2,
                                 FErrorBounds.Top + (FErrorBounds.Height() - size.cy) / 2, size);
  icon->StretchDraw(ACanvas->Handle(), R);
}

void TcxCustomEditViewInfo::DrawEditBackground(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AGlyphRect,
                                               bool AGlyphTransparent) {
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  if (!AGlyphTransparent) ::ExcludeClipRect(DC, AGlyphRect.Left, AGlyphRect.Top, AGlyphRect.Right, AGlyphRect.Bottom);
  if (IsInplace) {
    if (IsCustomBackground()) {
      ::IntersectClipRect(DC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
      DrawBackground(ACanvas);
    } else if (!Transparent) {
      FillRectByColor(DC, ARect, BackgroundColor());
    }
    return;
  }
  if (Transparent) {
    if (auto* control = dynamic_cast<TWinControl*>(Owner)) DrawParentBackground(control, ACanvas, ARect, false);
  } else if (!NativeStyle) {
    DrawCustomEdit(ACanvas, true, false);
  } else {
    FillRectByColor(DC, ARect, BackgroundColor());
  }
}

void PaintEditBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool ADrawBackground) {
  TcxCustomEditViewInfo& vi = *AViewInfo;
  if (vi.DrawBackground(ACanvas)) return;
  const HBRUSH brush = TdxSolidBrushCache::Get(vi.BackgroundColor());
  if (vi.NativeStyle) {
    vi.DrawNativeStyleEditBackground(ACanvas, ADrawBackground, brush);
    return;
  }
  const TcxContainerBorderStyle style = vi.GetBorderStyle();
  const int w = vi.Painter->GetContainerBorderWidth(style);
  // Grown on every side: a side without an edge falls outside the bounds.
  TRect frame = vi.BorderRect;
  frame.Inflate(w, w);
  if (vi.Shadow) {
    TRect shadowed = vi.BorderRect;
    if (vi.Edges.Contains(bLeft)) shadowed.Left -= w;
    if (vi.Edges.Contains(bTop)) shadowed.Top -= w;
    if (vi.Edges.Contains(bRight)) shadowed.Right += w;
    if (vi.Edges.Contains(bBottom)) shadowed.Bottom += w;
    DrawContainerShadow(ACanvas, shadowed);
  }
  if (vi.BorderStyle != ebsNone) vi.Painter->DrawContainerBorder(ACanvas, frame, style, w, vi.BorderColor, vi.Edges);
  if (vi.Transparent) return;
  const HDC DC = ACanvas->Handle();
  if (vi.IsInplace) {
    if (ADrawBackground) {
      ::FillRect(DC, vi.Bounds.WinRect(), brush);
      return;
    }
    if (vi.HasContentOffsets) FillRectExcept(ACanvas, vi.Bounds, vi.BorderRect, brush);
  } else if (ADrawBackground) {
    ::FillRect(DC, vi.BorderRect.WinRect(), brush);
    return;
  }
  for (const auto& button : vi.ButtonsInfo)
    if (button->Data.BackgroundPartiallyTransparent) ::FillRect(DC, button->Bounds.WinRect(), brush);
}

void TcxCustomEditViewInfo::DrawNativeStyleEditBackground(TcxCanvas* ACanvas, bool ADrawBackground,
                                                          HBRUSH ABackgroundBrush) {
  const HDC DC = ACanvas->Handle();
  if (IsInplace || BorderStyle == ebsNone) {
    if (!Transparent) ::FillRect(DC, Bounds.WinRect(), ABackgroundBrush);
    return;
  }
  const TcxEditBackgroundPaintingStyle paintingStyle = BackgroundPaintingStyle();
  const bool comboList = paintingStyle == bpsComboListEdit;
  const HTHEME theme = OpenTheme(comboList ? totButton : totEdit);
  const int part = comboList ? int(BP_PUSHBUTTON) : int(EP_EDITBORDER_NOSCROLL);
  TRect content;
  switch (paintingStyle) {
    case bpsSolid: content = FEditorBounds; content.Inflate(-2, -2); break;
    case bpsComboEdit: content = FEditorBounds; content.Inflate(-3, -3); --content.Right; break;
    case bpsComboListEdit: break;
  }
  {
    const TSavedDC saved(DC);
    if (!content.IsEmpty()) ::ExcludeClipRect(DC, content.Left, content.Top, content.Right, content.Bottom);
    if (theme) UxDrawThemeBackground(theme, DC, part, NativeState, FEditorBounds.IsEmpty() ? Bounds : FEditorBounds);
  }
  if (Transparent || content.IsEmpty()) return;
  if (ADrawBackground || comboList)
    ::FillRect(DC, content.WinRect(), ABackgroundBrush);
  else
    FillRectExcept(ACanvas, BorderRect, content, ABackgroundBrush);
}

// ---------------------------------------------------------------------------
// Buttons

bool TcxCustomEditViewInfo::IsCustomButton(int AButtonVisibleIndex) const {
  (void)AButtonVisibleIndex;
  return static_cast<bool>(FOnDrawButton);
}

bool TcxCustomEditViewInfo::IsCustomButtonBackground(int AButtonVisibleIndex) const {
  (void)AButtonVisibleIndex;
  return static_cast<bool>(FOnDrawButtonBackground);
}

bool TcxCustomEditViewInfo::IsCustomButtonBorder(int AButtonVisibleIndex) const {
  (void)AButtonVisibleIndex;
  return static_cast<bool>(FOnDrawButtonBorder);
}

bool TcxCustomEditViewInfo::IsCustomDrawButton(int AButtonVisibleIndex) const {
  return IsCustomButton(AButtonVisibleIndex) || IsCustomButtonBackground(AButtonVisibleIndex) ||
         IsCustomButtonBorder(AButtonVisibleIndex);
}

void TcxCustomEditViewInfo::DrawButtons(TcxCanvas* ACanvas) {
  if (FState.Contains(evsPaintButtons)) return;
  FState.Include(evsPaintButtons);
  struct TClear {
    TcxEditViewInfoStates& State;
    ~TClear() { State.Exclude(evsPaintButtons); }
  } clear{FState};
  for (int i = 0; i < static_cast<int>(ButtonsInfo.size()); ++i) DrawButton(ACanvas, i);
}

void TcxCustomEditViewInfo::DrawButton(TcxCanvas* ACanvas, int AButtonVisibleIndex) {
  TcxEditButtonViewInfo* button = ButtonsInfo[AButtonVisibleIndex].get();
  button->Data.BackgroundColor = BackgroundColor();
  if (button->VisibleBounds.IsEmpty()) return;
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  if (!BorderRect.Contains(button->Bounds))
    ::IntersectClipRect(DC, button->VisibleBounds.Left, button->VisibleBounds.Top, button->VisibleBounds.Right,
                        button->VisibleBounds.Bottom);
  bool handled = false;
  if (FOnDrawButton) FOnDrawButton(button, ACanvas, handled);
  if (!handled) PaintButtonFaded(ACanvas, AButtonVisibleIndex);
}

void TcxCustomEditViewInfo::PaintButtonFaded(TcxCanvas* ACanvas, int AButtonVisibleIndex) {
  TcxEditButtonViewInfo* button = ButtonsInfo[AButtonVisibleIndex].get();
  const HDC DC = ACanvas->Handle();
  const bool fading = button->FadingHelper && button->FadingHelper->Active() &&
                      button->FadingHelper->DrawImage(DC, button->Bounds);
  TRect content;
  TColor penColor = clBtnText;
  TColor brushColor = TColor(0);
  {
    // The fade frame stands for border and face; only the content is drawn on it.
    const TSavedDC saved(DC);
    if (fading) ::ExcludeClipRect(DC, button->Bounds.Left, button->Bounds.Top, button->Bounds.Right, button->Bounds.Bottom);
    DrawButtonBorderAndBackground(ACanvas, button, content, penColor, brushColor);
  }
  if (!content.IsEmpty())
    DrawButtonContent(ACanvas, button, content, penColor, brushColor, button->Data.State == ebsPressed);
}

void TcxCustomEditViewInfo::DrawButtonBorderAndBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                          TRect& AContentRect, TColor& APenColor,
                                                          TColor& ABrushColor) {
  TRect background = AViewInfo->Bounds;
  AContentRect = AViewInfo->Bounds;
  DrawButtonBorder(ACanvas, AViewInfo, background, AContentRect, APenColor, ABrushColor);
  if (!background.IsEmpty()) DrawButtonBackground(ACanvas, AViewInfo, background, AContentRect, ABrushColor);
}

void TcxCustomEditViewInfo::DrawButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                             TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  bool handled = false;
  if (FOnDrawButtonBorder) FOnDrawButtonBorder(AViewInfo, ACanvas, ARect, AContentRect, handled);
  if (handled) return;
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  if (data.NativeState != 0 && data.NativeStyle) {
    DrawThemedButtonBorder(ACanvas, AViewInfo, ARect, AContentRect, APenColor, ABrushColor);
    return;
  }
  if (UseSkins) {
    AContentRect = ARect;
    APenColor = TextColor;
    ABrushColor = BackgroundColor();
    return;
  }
  TcxEditButtonStyle style = data.Style;
  if (style == btsSimple && (data.State == ebsPressed || data.State == ebsSelected)) style = btsFlat;
  switch (style) {
    case bts3D: Draw3DButtonBorder(ACanvas, AViewInfo, ARect, AContentRect, APenColor, ABrushColor); break;
    case btsFlat: DrawFlatButtonBorder(ACanvas, AViewInfo, ARect, AContentRect, APenColor, ABrushColor); break;
    case btsSimple: DrawSimpleButtonBorder(ACanvas, AViewInfo, ARect, AContentRect, APenColor, ABrushColor); break;
    case btsHotFlat: DrawHotFlatButtonBorder(ACanvas, AViewInfo, ARect, AContentRect, APenColor, ABrushColor); break;
    case btsUltraFlat:
    case btsOffice11:
      DrawUltraFlatButtonBorder(ACanvas, AViewInfo, style == btsOffice11, ARect, AContentRect, APenColor, ABrushColor);
      break;
    case btsDefault: break;
  }
}

void TcxCustomEditViewInfo::FrameButtonRect(TcxCanvas* ACanvas, TRect& ARect, TColor AColor) {
  ACanvas->FrameRect(ARect, AColor);
  ARect.Inflate(-1, -1);
}

void TcxCustomEditViewInfo::DrawButtonEdge(TcxCanvas* ACanvas, TRect& ARect, TColor AColor1, TColor AColor2) {
  // AColor1 on the left and top, AColor2 on the right and bottom.
  const HDC DC = ACanvas->Handle();
  FillRectByColor(DC, TRect(ARect.Left, ARect.Top, ARect.Right - 1, ARect.Top + 1), AColor1);
  FillRectByColor(DC, TRect(ARect.Left, ARect.Top, ARect.Left + 1, ARect.Bottom - 1), AColor1);
  FillRectByColor(DC, TRect(ARect.Right - 1, ARect.Top, ARect.Right, ARect.Bottom), AColor2);
  FillRectByColor(DC, TRect(ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom), AColor2);
  ARect.Inflate(-1, -1);
}

namespace {

TColor FaceColor(const TcxEditButtonViewInfoData& AData) { return AData.Transparent ? AData.BackgroundColor : clBtnFace; }

}  // namespace

void TcxCustomEditViewInfo::Draw3DButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                               TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  ABrushColor = FaceColor(AViewInfo->Data);
  APenColor = clBtnText;
  if (AViewInfo->Data.State == ebsPressed) {
    FrameButtonRect(ACanvas, ARect, clBtnShadow);
    FrameButtonRect(ACanvas, ARect, ABrushColor);
  } else {
    DrawButtonEdge(ACanvas, ARect, cl3DLight, cl3DDkShadow);
    DrawButtonEdge(ACanvas, ARect, clBtnHighlight, clBtnShadow);
  }
  AContentRect = ARect;
}

void TcxCustomEditViewInfo::DrawFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                                 TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  ABrushColor = FaceColor(AViewInfo->Data);
  APenColor = clBtnText;
  const bool pressed = AViewInfo->Data.State == ebsPressed;
  DrawEditButtonSides(ACanvas, ARect, TcxBorders{bLeft}, ABrushColor);
  DrawButtonEdge(ACanvas, ARect, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow);
  DrawEditButtonSides(ACanvas, ARect, TcxBorders{bRight}, ABrushColor);
  AContentRect = ARect;
}

void TcxCustomEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                    TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                                    TColor& ABrushColor) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const bool active = data.State == ebsPressed || data.State == ebsSelected;
  if (data.Transparent)
    ABrushColor = data.BackgroundColor;
  else
    ABrushColor = data.State == ebsPressed ? clBtnText : data.State == ebsSelected ? clBtnShadow : clBtnFace;
  APenColor = !active ? clBtnText : (data.Transparent && data.State == ebsSelected ? clBtnShadow : clWindow);
  const bool inner = data.LeftAlignment ? data.Rightmost : data.Leftmost;
  if (inner) {
    FrameButtonRect(ACanvas, ARect, clBtnShadow);
  } else {
    const TcxBorder innerSide = data.LeftAlignment ? bRight : bLeft;
    TcxBorders outer = cxBordersAll();
    outer.Exclude(innerSide);
    DrawEditButtonSides(ACanvas, ARect, outer, clBtnShadow);
    DrawEditButtonSides(ACanvas, ARect, TcxBorders{innerSide}, ABrushColor);
  }
  DrawEditButtonSides(ACanvas, ARect, TcxBorders{bLeft, bRight}, ABrushColor);
  AContentRect = ARect;
}

void TcxCustomEditViewInfo::DrawSimpleButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                   TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                                   TColor& ABrushColor) {
  ABrushColor = FaceColor(AViewInfo->Data);
  APenColor = clBtnText;
  if (!Transparent)
    FrameButtonRect(ACanvas, ARect, AViewInfo->Data.BackgroundColor);
  else
    ARect.Inflate(-1, -1);
  DrawEditButtonSides(ACanvas, ARect, TcxBorders{bLeft, bRight}, ABrushColor);
  AContentRect = ARect;
}

void TcxCustomEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                      bool AIsOffice11, TRect& ARect, TRect& AContentRect,
                                                      TColor& APenColor, TColor& ABrushColor) {
  (void)APenColor;
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const TColor highlight = EditHotBorderColor(AIsOffice11);
  const bool active = data.State == ebsPressed || data.State == ebsSelected;
  if (data.Transparent)
    ABrushColor = data.BackgroundColor;
  else if (data.State == ebsDisabled)
    ABrushColor = clBtnFace;
  else if (!active)
    ABrushColor = AIsOffice11 ? GetPaintersManager()->GetPainter(lfsOffice11)->ButtonColor(cxbsNormal) : clBtnFace;
  else
    ABrushColor = GetEditButtonColor(data.State == ebsPressed, AIsOffice11);

  const bool bordered = BorderStyle != ebsNone;
  if (!active || (!data.IsInplace && !bordered) || (data.IsInplace && !PaintOptions.Contains(epoHasExternalBorder))) {
    if (active)
      FrameButtonRect(ACanvas, ARect, highlight);
    else if (!Transparent)
      FrameButtonRect(ACanvas, ARect, data.BackgroundColor);
    else
      ARect.Inflate(-1, -1);
    AContentRect = ARect;
    AContentRect.Inflate(-1, 0);
    return;
  }
  // A bordered editor's frame already draws the outer sides in the
  // highlight: only a side that faces the text or another button gets a line.
  if (data.LeftAlignment) {
    if (data.Leftmost)
      ++ARect.Left;
    else
      DrawEditButtonSides(ACanvas, ARect, TcxBorders{bLeft}, highlight);
    if (ARect.Right != BorderRect.Right) DrawEditButtonSides(ACanvas, ARect, TcxBorders{bRight}, highlight);
  } else {
    if (data.Rightmost)
      --ARect.Right;
    else
      DrawEditButtonSides(ACanvas, ARect, TcxBorders{bRight}, highlight);
    if (ARect.Left != BorderRect.Left) DrawEditButtonSides(ACanvas, ARect, TcxBorders{bLeft}, highlight);
  }
  AContentRect = ARect;
  AContentRect.Inflate(-1, -1);
}

void TcxCustomEditViewInfo::DrawThemedButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                   TRect& ARect, TRect& AContentRect, TColor& APenColor,
                                                   TColor& ABrushColor) {
  (void)ACanvas;
  (void)ARect;
  // The combo box theme's parts carry their own arrow: a second one drawn over
  // it would double the glyph.
  AContentRect = AViewInfo->Data.ComboBoxStyle ? TRect() : AViewInfo->Bounds;
  APenColor = clBtnText;
  ABrushColor = AViewInfo->Data.BackgroundColor;
}

void TcxCustomEditViewInfo::DrawButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                 const TRect& ARect, const TRect& AContentRect, TColor ABrushColor) {
  bool handled = false;
  if (FOnDrawButtonBackground) FOnDrawButtonBackground(AViewInfo, ACanvas, ARect, handled);
  if (handled) return;
  if (AViewInfo->Data.NativeStyle)
    DrawNativeButton(ACanvas, AViewInfo, ARect, AContentRect);
  else if (UseSkins)
    DrawPainterButton(ACanvas, AViewInfo, ARect, AContentRect);
  else
    FillButtonBackground(ACanvas, AViewInfo, ABrushColor, ARect);
}

void TcxCustomEditViewInfo::DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                                             const TRect& AContentRect) {
  (void)ARect;
  (void)AContentRect;
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  if (const HTHEME theme = OpenTheme(data.ComboBoxStyle ? totComboBox : totButton))
    UxDrawThemeBackground(theme, ACanvas->Handle(), data.NativePart, data.NativeState, AViewInfo->Bounds);
}

namespace {

TcxButtonState ButtonStateOf(TcxEditButtonState AState) {
  switch (AState) {
    case ebsDisabled: return cxbsDisabled;
    case ebsPressed: return cxbsPressed;
    case ebsSelected: return cxbsHot;
    default: return cxbsNormal;
  }
}

TcxEditBtnKind PainterKindOf(const TcxEditButtonViewInfoData& AData) {
  if (AData.Kind == bkDown) return cxbkComboBtn;
  return AData.Kind == bkEllipsis ? cxbkEllipsisBtn : cxbkEditorBtn;
}

}  // namespace

void TcxCustomEditViewInfo::DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                                              const TRect& AContentRect) {
  (void)AContentRect;
  Painter->DrawScaledEditorButton(ACanvas, ARect, PainterKindOf(AViewInfo->Data), ButtonStateOf(AViewInfo->Data.State),
                                  FScaleFactor.get(), AViewInfo->Data.LeftAlignment ? cxbpLeft : cxbpRight);
}

void TcxCustomEditViewInfo::FillButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                 TColor ABrushColor, const TRect& ARect) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  if (data.Style != btsOffice11 || !data.Gradient || data.Transparent || data.State == ebsDisabled) {
    FillRectByColor(ACanvas, ARect, ABrushColor);
    return;
  }
  TdxOffice11Color top = Office11GradientLightColor, bottom = Office11GradientDarkColor;
  if (data.State == ebsPressed) {
    top = Office11PressedColor;
    bottom = Office11PressedColor2;
  } else if (data.State == ebsSelected) {
    top = Office11HotColor;
    bottom = Office11HotColor2;
  }
  // The gradient spans the button's height whatever its border left of it.
  TRect R(ARect.Left, AViewInfo->Bounds.Top, ARect.Right, AViewInfo->Bounds.Bottom);
  if (data.State == ebsNormal) R.Inflate(0, -1);
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  ::IntersectClipRect(DC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  FillGradientRect(DC, R, Office11Color(top), Office11Color(bottom), false);
}

namespace {

// Draws in APenColor, or embossed when disabled: highlight one pixel right
// and down, then shadow.
template <class TDraw>
void DrawMaybeEmbossed(bool ADisabled, TColor APenColor, TDraw ADraw) {
  if (!ADisabled) {
    ADraw(APenColor, 0);
    return;
  }
  ADraw(clBtnHighlight, 1);
  ADraw(clBtnShadow, 0);
}

}  // namespace

// Right to left the content is the mirror of left to right: an odd pixel of
// room goes to the left instead, and the pressed look moves left.
int TcxCustomEditViewInfo::CentredLeft(const TRect& AContent, int AWidth) const {
  const int room = AContent.Width() - AWidth;
  return UseRightToLeftAlignment ? AContent.Right - AWidth - room / 2 : AContent.Left + room / 2;
}

int TcxCustomEditViewInfo::ContentShiftX() const { return UseRightToLeftAlignment ? -1 : 1; }

void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                              const TRect& AContentRect, TColor APenColor, TColor ABrushColor,
                                              bool ANeedOffsetContent) {
  (void)ABrushColor;
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  ::IntersectClipRect(DC, AContentRect.Left, AContentRect.Top, AContentRect.Right, AContentRect.Bottom);
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const bool disabled = data.State == ebsDisabled;
  if (UseSkins) {
    Painter->DrawScaledEditorButtonGlyph(ACanvas, AViewInfo->Bounds, PainterKindOf(data), ButtonStateOf(data.State),
                                         FScaleFactor.get(), data.LeftAlignment ? cxbpLeft : cxbpRight);
    return;
  }
  switch (data.Kind) {
    case bkEllipsis: {
      const int side = AContentRect.Width() <= 11 ? 1 : 2;
      const int width = side * 3 + 4;
      int X = CentredLeft(AContentRect, width);
      int Y = AContentRect.Top + (AContentRect.Height() - side) / 2;
      if (ANeedOffsetContent && AContentRect.Width() > width && AContentRect.Height() > side) {
        X += ContentShiftX();
        ++Y;
      }
      DrawMaybeEmbossed(disabled, APenColor, [&](TColor AColor, int AShift) {
        for (int i = 0; i < 3; ++i)
          FillRectByColor(DC, MakeBoundsRect(X + AShift + i * (side + 2), Y + AShift, side, side), AColor);
      });
      break;
    }
    case bkDown: {
      // Back to the button's full width; an odd pixel goes the way the
      // pressed look moves, the other way at rest.
      TRect R = AContentRect;
      const int extra = AViewInfo->Bounds.Width() - R.Width();
      int towardsShift = ANeedOffsetContent ? extra - extra / 2 : extra / 2;
      int awayFromShift = extra - towardsShift;
      int shift = ANeedOffsetContent && extra % 2 == 0 ? 1 : 0;
      if (UseRightToLeftAlignment) {
        std::swap(towardsShift, awayFromShift);
        shift = -shift;
      }
      R.Left -= awayFromShift;
      R.Right += towardsShift;
      R.Offset(shift, ANeedOffsetContent ? 1 : 0);
      DrawMaybeEmbossed(disabled, APenColor, [&](TColor AColor, int AShift) {
        TRect arrow = R;
        arrow.Offset(AShift, AShift);
        GetPaintersManager()->GetPainter(lfsStandard)->DrawArrow(ACanvas, arrow, adDown, AColor);
      });
      break;
    }
    case bkText: {
      TRect R = AContentRect;
      R.Inflate(-1, IsInplace ? 0 : -1);
      --R.Right;
      if (ANeedOffsetContent) R.Offset(ContentShiftX(), 1);
      TColor color = data.TextColor == clDefault ? TextColor : data.TextColor;
      if (data.Style == btsHotFlat && (data.State == ebsPressed || data.State == ebsSelected)) color = APenColor;
      // DrawTextW writes with the font selected into the DC, which a canvas
      // font alone does not change.
      const TSelectObject font(DC, (Font ? Font : ACanvas->Font())->Handle());
      const UINT align = data.ContentAlignment == taLeftJustify    ? DT_LEFT
                         : data.ContentAlignment == taRightJustify ? DT_RIGHT
                                                                   : DT_CENTER;
      ::SetBkMode(DC, TRANSPARENT);
      DrawMaybeEmbossed(disabled, color, [&](TColor AColor, int AShift) {
        RECT r = R;
        ::OffsetRect(&r, AShift, AShift);
        ::SetTextColor(DC, ColorToColorRef(AColor));
        ::DrawTextW(DC, data.Caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
      });
      break;
    }
    case bkGlyph: {
      // The button's own glyph, else the item of the properties' image list.
      TdxSmartGlyph* glyph = AViewInfo->Glyph;
      const bool hasGlyph = glyph && !glyph->Empty();
      TCustomImageList* images = AViewInfo->Images;
      const int index = AViewInfo->ImageIndex;
      const bool hasImage = !hasGlyph && images && index >= 0 && index < images->Count();
      if (!hasGlyph && !hasImage) break;
      const TSize size = FScaleFactor->Apply(hasGlyph ? glyph->Size() : TSize(images->Width(), images->Height()));
      TRect R = MakeBoundsRect(CentredLeft(AContentRect, size.cx),
                               AContentRect.Top + (AContentRect.Height() - size.cy) / 2, size);
      if (ANeedOffsetContent && AContentRect.Width() > size.cx && AContentRect.Height() > size.cy)
        R.Offset(ContentShiftX(), 1);
      if (hasGlyph)
        glyph->StretchDraw(DC, R, disabled ? 128 : 255);
      else
        DrawScaledImage(ACanvas->Canvas(), R, nullptr, images, index, ifmStretch, disabled ? idmDisabled : idmNormal);
      break;
    }
  }
}

// ---------------------------------------------------------------------------
// Repaint and update regions

namespace {

// Invalidates AOuter without AInner.
void InvalidateRing(HWND AWnd, const TRect& AOuter, const TRect& AInner, bool AErase) {
  const TOwnedRegion ring(::CreateRectRgn(AOuter.Left, AOuter.Top, AOuter.Right, AOuter.Bottom));
  if (!AInner.IsEmpty()) {
    const TOwnedRegion inner(::CreateRectRgn(AInner.Left, AInner.Top, AInner.Right, AInner.Bottom));
    ::CombineRgn(ring.Get(), ring.Get(), inner.Get(), RGN_DIFF);
  }
  ::RedrawWindow(AWnd, nullptr, ring.Get(), RDW_INVALIDATE | (AErase ? RDW_ERASE : 0));
}

}  // namespace

bool TcxCustomEditViewInfo::Repaint(TWinControl* AControl, TcxContainerViewInfo* AViewInfo) {
  return Repaint(AControl, TRect(), AViewInfo);
}

bool TcxCustomEditViewInfo::Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                                    TcxContainerViewInfo* AViewInfo) {
  if (!AControl->HandleAllocated()) return false;
  const HWND wnd = AControl->Handle();
  TRect R = Bounds;
  R.Offset(Left, Top);
  TRect inner = AInnerEditRect;
  inner.Intersect(ClientRect);
  auto* previous = dynamic_cast<TcxCustomEditViewInfo*>(AViewInfo);
  if (!previous) {
    InvalidateRing(wnd, R, inner, HasBackground);
    return false;
  }
  bool result = false;
  const bool countChanged = ButtonsInfo.size() != previous->ButtonsInfo.size();
  if (NativeState != previous->NativeState || BackgroundColor() != previous->BackgroundColor() ||
      (RepaintsOnStateChange() && ContainerState != previous->ContainerState) || countChanged) {
    InvalidateRing(wnd, R, inner, HasBackground);
    result = true;
  } else if ((BorderStyle != ebsNone && BorderColor != previous->BorderColor) ||
             BorderStyle != previous->BorderStyle) {
    TRect border = BorderRect;
    border.Offset(Left, Top);
    InvalidateRing(wnd, R, border, HasBackground);
    result = true;
  }
  if (!countChanged)
    for (std::size_t i = 0; i < ButtonsInfo.size(); ++i)
      result |= ButtonsInfo[i]->Repaint(AControl, previous->ButtonsInfo[i].get(), TPoint(Left, Top));
  return result;
}

TOwned<TcxRegion> TcxCustomEditViewInfo::GetUpdateRegion(TcxContainerViewInfo* AViewInfo) {
  TOwned<TcxRegion> result = inherited::GetUpdateRegion(AViewInfo);
  auto* previous = dynamic_cast<TcxCustomEditViewInfo*>(AViewInfo);
  if (previous && previous->BorderStyle == BorderStyle &&
      (BorderStyle == ebsNone || previous->BorderColor == BorderColor) &&
      previous->ButtonsInfo.size() == ButtonsInfo.size() && previous->NativeState == NativeState) {
    for (std::size_t i = 0; i < ButtonsInfo.size(); ++i)
      result->Combine(ButtonsInfo[i]->GetUpdateRegion(previous->ButtonsInfo[i].get()).get(), roAdd, false);
  } else if (!Bounds.IsEmpty()) {
    result->Combine(Bounds, roAdd);
  }
  return result;
}

// ---------------------------------------------------------------------------
// Hit tests and hints

int TcxCustomEditViewInfo::HitTestPart(const TPoint& P) const {
  for (const auto& button : ButtonsInfo)
    if (button->Bounds.Contains(P)) return button->ButtonVisibleIndex;
  if (FErrorData->IsError() && FErrorBounds.Contains(P)) return ecpErrorIcon;
  return BorderRect.Contains(P) ? ecpNone : ecpOutside;
}

String TcxCustomEditViewInfo::GetPartHintText(int APart) const {
  if (APart >= 0 && APart < static_cast<int>(ButtonsInfo.size())) return ButtonsInfo[APart]->Data.Hint;
  return APart == ecpErrorIcon ? FErrorData->ErrorText() : String();
}

TRect TcxCustomEditViewInfo::GetHitPartBounds(int APart) const {
  if (APart == ecpErrorIcon) return FErrorBounds;
  if (APart >= 0 && APart < static_cast<int>(ButtonsInfo.size())) return ButtonsInfo[APart]->Bounds;
  if (APart != ecpNone) return TRect();
  // Between the innermost buttons of the two sides.
  TRect R = BorderRect;
  for (const auto& button : ButtonsInfo) {
    if (button->Data.LeftAlignment)
      R.Left = std::max(R.Left, button->Bounds.Right);
    else
      R.Right = std::min(R.Right, button->Bounds.Left);
  }
  return R;
}

bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds,
                                         String& AText, bool& AIsMultiLine, TRect& ATextRect, int AMaxLineCount) {
  (void)ACanvas;
  (void)AVisibleBounds;
  (void)AMaxLineCount;
  AText.clear();
  AIsMultiLine = false;
  ATextRect = TRect();
  const int part = HitTestPart(TPoint(P.X - Left, P.Y - Top));
  if (part < 0 && part != ecpErrorIcon) return false;
  AText = GetPartHintText(part);
  if (const auto bar = AText.find(L'|'); bar != String::npos) AText.resize(bar);
  if (AText.empty()) return false;
  // The hint window's own rectangle for the text, below the mouse cursor.
  const TOwned<THintWindow> window(NewOfClass<THintWindow>(HintWindowClass(), nullptr));
  ATextRect = window->CalcHintRect(::GetSystemMetrics(SM_CXSCREEN), AText);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ATextRect.Offset(cursor.x, cursor.y + ::GetSystemMetrics(SM_CYCURSOR));
  return true;
}
