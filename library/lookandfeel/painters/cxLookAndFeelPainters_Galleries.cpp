// The base painter's galleries, back button, rating and fixed-group
// indicators, wheel picker and rich-edit colours.
#include "library/core/base/dxCore.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxCustomLookAndFeelPainter;

namespace {

// The band of ABandCount equal bands stacked in AImage, stretched opaque
// into R.
void DrawImageBand(TcxCanvas* ACanvas, TdxSmartImage* AImage, const TRect& R, int ABand, int ABandCount) {
  if (AImage->Empty()) return;
  const int height = AImage->Height() / ABandCount;
  AImage->StretchDraw(ACanvas->Handle(), R, TRect(0, ABand * height, AImage->Width(), (ABand + 1) * height), 255);
}

}  // namespace

// ---------------------------------------------------------------------------
// Galleries

TColor P::GetGalleryGroupTextColor() { return clDefault; }

void P::DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds) {
  DrawScaledHeader(ACanvas, ABounds, cxbsNormal, {}, cxBordersAll(), DefaultScaleFactor(), false, false);
}

TColor P::GetGalleryItemImageFrameColor() { return clBtnShadow; }

TColor P::GetGalleryDropTargetSelectionColor() { return clWindowText; }

TColor P::GetGalleryItemCaptionTextColor(const TdxGalleryItemViewState& AState) {
  return AState.Enabled ? clWindowText : clGrayText;
}

TColor P::GetGalleryItemDescriptionTextColor(const TdxGalleryItemViewState&) { return clGrayText; }

IPtr<IdxColorPalette> P::GetGalleryItemColorPalette(const TdxGalleryItemViewState&) { return {}; }

TRect P::GetGalleryScaledGroupHeaderContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(7, 2, 7, 2));
}

void P::DrawGalleryBackground(TcxCustomCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->FillRect(ABounds, Rgb(255, 255, 255));
}

bool P::DrawGalleryItemSelectionFirst() { return false; }

void P::DrawGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R, const TdxGalleryItemViewState& AViewState) {
  const TColor frameColor = Rgb(125, 162, 206);
  std::uint8_t alpha = 0;
  if (AViewState.Checked)
    alpha = AViewState.Pressed ? 128 : AViewState.Hover ? 96 : 16;
  else
    alpha = AViewState.Pressed ? 64 : AViewState.Hover ? 32 : 0;
  if (alpha != 0) ACanvas->FillRect(R, ColorToAlphaColor(Rgb(1, 40, 88), alpha));

  TColor frame = clNone;
  if (AViewState.Focused)
    frame = frameColor;
  else if (AViewState.Checked)
    frame = ChangeColorBrightness(frameColor, AViewState.Pressed ? -20 : AViewState.Hover ? 10 : 80);
  else if (AViewState.Pressed)
    frame = ChangeColorBrightness(frameColor, 20);
  else if (AViewState.Hover)
    frame = Rgb(184, 214, 251);
  if (frame != clNone) ACanvas->FrameRect(R, frame, 2);
}

void P::DrawGalleryItemImageFrame(TcxCustomCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, GetGalleryItemImageFrameColor());
}

TColor P::GetColorGalleryGlyphFrameColor() { return Rgb(230, 228, 226); }

void P::DrawColorGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R,
                                      const TdxGalleryItemViewState& AViewState) {
  TColor outer = clNone;
  if (AViewState.Checked)
    outer = Rgb(239, 72, 16);
  else if (AViewState.Pressed)
    outer = Rgb(239, 34, 0);
  else if (AViewState.Hover || AViewState.Focused)
    outer = Rgb(242, 148, 54);
  if (outer == clNone) return;
  ACanvas->FrameRect(R, outer);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->FrameRect(inner, Rgb(255, 226, 148));
}

TRect P::GetGalleryGroupHeaderContentOffsets() { return GetGalleryScaledGroupHeaderContentOffsets(DefaultScaleFactor()); }

// ---------------------------------------------------------------------------
// Back button, rating and fixed-group indicators

TSize P::GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* image = CachedImage(FBackButton, L"CX_BACKBUTTON", L"PNG");
  return AScaleFactor->Apply(TSize(image->Width(), image->Height() / 4));
}

void P::DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor*) {
  // Bands: normal, hot, pressed, disabled; a default button looks normal.
  const int band = AState == cxbsDefault ? 0 : static_cast<int>(AState) - 1;
  DrawImageBand(ACanvas, CachedImage(FBackButton, L"CX_BACKBUTTON", L"PNG"), R, band, 4);
}

TSize P::GetRatingControlScaledIndicatorSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* image = CachedImage(FRatingControlIndicator, L"CX_RATINGCONTROLINDICATOR", L"PNG");
  return AScaleFactor->Apply(TSize(image->Width(), image->Height() / 3));
}

void P::DrawRatingControlScaledIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                         TdxRatingControlIndicatorState AState, const TdxScaleFactor*) {
  // Bands: unchecked, hover, checked.
  const int band = AState == rcisUnchecked ? 0 : AState == rcisHover ? 1 : 2;
  DrawImageBand(ACanvas, CachedImage(FRatingControlIndicator, L"CX_RATINGCONTROLINDICATOR", L"PNG"), ABounds, band,
                3);
}

IPtr<IdxColorPalette> P::GetRatingControlIndicatorColorPalette(TdxRatingControlIndicatorState) { return {}; }

TSize P::GetScaledFixedGroupIndicatorSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* image = CachedImage(FFixedGroupIndicator, L"CX_FIXEDGROUPINDICATOR", L"PNG");
  return AScaleFactor->Apply(TSize(image->Width(), image->Height()));
}

void P::DrawScaledFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds, const TdxScaleFactor*) {
  DrawImageBand(ACanvas, CachedImage(FFixedGroupIndicator, L"CX_FIXEDGROUPINDICATOR", L"PNG"), ABounds, 0, 1);
}

TSize P::GetBackButtonSize() { return GetScaledBackButtonSize(SystemScaleFactor()); }

void P::DrawBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledBackButton(ACanvas, R, AState, SystemScaleFactor());
}

TSize P::GetRatingControlIndicatorSize() { return GetRatingControlScaledIndicatorSize(SystemScaleFactor()); }

void P::DrawRatingControlIndicator(TcxCanvas* ACanvas, const TRect& ABounds, TdxRatingControlIndicatorState AState) {
  DrawRatingControlScaledIndicator(ACanvas, ABounds, AState, SystemScaleFactor());
}

TSize P::GetFixedGroupIndicatorSize() { return GetScaledFixedGroupIndicatorSize(SystemScaleFactor()); }

void P::DrawFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds) {
  DrawScaledFixedGroupIndicator(ACanvas, ABounds, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// Wheel picker

TColor P::GetWheelPickerBorderItemColor(TcxButtonState AState) {
  if (AState == cxbsHot) return Rgb(217, 217, 217);
  if (AState == cxbsPressed) return Rgb(188, 201, 231);
  return clDefault;
}

TColor P::GetWheelPickerFillItemColor(TcxButtonState AState) {
  if (AState == cxbsHot) return Rgb(239, 240, 242);
  if (AState == cxbsPressed) return Rgb(226, 234, 253);
  return clDefault;
}

IPtr<IdxColorPalette> P::GetWheelPickerColorPalette(TcxButtonState) { return {}; }

void P::DrawWheelPickerItemBackground(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState) {
  ACanvas->FillRect(ARect, GetWheelPickerFillItemColor(AState));
}

void P::DrawWheelPickerItemBorder(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState) {
  ACanvas->FrameRect(ARect, GetWheelPickerBorderItemColor(AState));
}

void P::DrawWheelPickerItem(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState) {
  DrawWheelPickerItemBackground(ACanvas, ARect, AState);
  DrawWheelPickerItemBorder(ACanvas, ARect, AState);
}

// ---------------------------------------------------------------------------
// Rich edit

TColor P::RichEditControlHeaderFooterLineColor() { return clBtnShadow; }

TColor P::RichEditControlHeaderFooterMarkBackColor() { return DefaultControlColor(); }

TColor P::RichEditControlHeaderFooterMarkTextColor() { return DefaultControlTextColor(); }

TColor P::RichEditRulerControlColor() { return DefaultControlColor(); }

TColor P::RichEditRulerActiveAreaColor() { return DefaultContentColor(); }

TColor P::RichEditRulerInactiveAreaColor() { return clBtnShadow; }

TColor P::RichEditRulerDefaultTabColor() { return clBtnShadow; }

TColor P::RichEditRulerTabTypeToggleBorderColor() { return cl3DDkShadow; }

TColor P::RichEditRulerTextColor() { return DefaultControlTextColor(); }
