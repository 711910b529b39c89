// TcxCustomProgressBarViewInfo: painting and the animation timers.
//
// Implementation notes: the bar is drawn into FUsualBitmap, a 32-bit buffer
// the size of BarRect, and copied to the target with one block transfer.
// Working rectangles are in buffer coordinates (control coordinates moved by
// -BarRect.TopLeft); the text is drawn with the buffer's origin moved so that
// control coordinates land in it. A right-to-left bar is drawn left to right
// between two horizontal flips of the buffer.
#include "library/stdctrls/cxProgressBar.h"

#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

namespace {

// Theme parts of the progress-bar class.
constexpr int PP_BAR = 1;
constexpr int PP_BARVERT = 2;
constexpr int PP_CHUNK = 3;
constexpr int PP_CHUNKVERT = 4;

constexpr int LEDGap = 2;

TRect Moved(TRect R, const TPoint& AOrigin) {
  R.Offset(-AOrigin.X, -AOrigin.Y);
  return R;
}

TRect MirroredIn(const TRect& R, const TRect& ABounds) {
  if (R.IsEmpty() && R == TRect()) return R;
  return TRect(ABounds.Left + ABounds.Right - R.Right, R.Top, ABounds.Left + ABounds.Right - R.Left, R.Bottom);
}

}  // namespace

// ---------------------------------------------------------------------------
// Life cycle

void TcxCustomProgressBarViewInfo::Create() {
  inherited::Create();
  FUsualBitmap.reset(New<TcxBitmap32>());
  FForegroundImage.reset(New<TBitmap>());
}

void TcxCustomProgressBarViewInfo::Destroy() {
  FAnimationTimer.reset();
  FAnimationRestartDelayTimer.reset();
  FVistaStyleMarqueeBitmap.reset();
  FNativeBitmap.reset();
  FUsualBitmap.reset();
  FForegroundImage.reset();
  inherited::Destroy();
}

void TcxCustomProgressBarViewInfo::Assign(TObject* ASource) {
  if (auto* source = dynamic_cast<TcxCustomProgressBarViewInfo*>(ASource)) {
    FAnimationDirection = source->FAnimationDirection;
    FAnimationPath = source->FAnimationPath;
    FAnimationPosition = source->FAnimationPosition;
    FAnimationRestartDelay = source->FAnimationRestartDelay;
    FAnimationSpeed = source->FAnimationSpeed;
    FBarBevelOuter = source->FBarBevelOuter;
    FBarBorderWidth = source->FBarBorderWidth;
    FBarStyle = source->FBarStyle;
    FBeginColor = source->FBeginColor;
    FEndColor = source->FEndColor;
    FMarquee = source->FMarquee;
    FMax = source->FMax;
    FMin = source->FMin;
    FOrientation = source->FOrientation;
    FOverloadBeginColor = source->FOverloadBeginColor;
    FOverloadEndColor = source->FOverloadEndColor;
    FOverloadValue = source->FOverloadValue;
    FPeakColor = source->FPeakColor;
    FPeakSize = source->FPeakSize;
    FPeakValue = source->FPeakValue;
    FPosition = source->FPosition;
    FPropTransparent = source->FPropTransparent;
    FShowOverload = source->FShowOverload;
    FShowPeak = source->FShowPeak;
    FShowText = source->FShowText;
    FShowTextStyle = source->FShowTextStyle;
    FSolidTextColor = source->FSolidTextColor;
    FTextOrientation = source->FTextOrientation;
    Text = source->Text;
    FRealShowOverload = source->FRealShowOverload;
    FRealShowPeak = source->FRealShowPeak;
    BarContentRect = source->BarContentRect;
    BarRect = source->BarRect;
    OverloadBarRect = source->OverloadBarRect;
    PeakBarRect = source->PeakBarRect;
    ProgressBarRect = source->ProgressBarRect;
    FocusRect = source->FocusRect;
  }
  inherited::Assign(ASource);
}

// ---------------------------------------------------------------------------
// Painting

void TcxCustomProgressBarViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (FIsBarRectChanged) {
    FUsualBitmap->CreateSize(std::max(0, BarRect.Width()), std::max(0, BarRect.Height()));
    FIsBarRectChanged = false;
  }
  if (!FUsualBitmap) return;
  // The frame and background only: the text goes into the bar buffer.
  if (!NativeStyle && !(IsInplace && Transparent)) TcxCustomEditViewInfo::InternalPaint(ACanvas);
  PaintProgressBar(ACanvas);
}

TcxCustomProgressBarViewInfo::TPaintRects TcxCustomProgressBarViewInfo::GetPaintRects() const {
  TPaintRects result;
  const TPoint origin = BarRect.TopLeft();
  result.Buffer = TRect(0, 0, BarRect.Width(), BarRect.Height());
  result.Progress = Moved(ProgressBarRect, origin);
  result.Overload = Moved(OverloadBarRect, origin);
  result.Peak = Moved(PeakBarRect, origin);
  const bool horizontal = FOrientation == cxorHorizontal;
  const int thickness = horizontal ? result.Progress.Height() : result.Progress.Width();
  result.LEDStep = thickness * 2 / 3 + 2;
  if (FBarStyle == cxbsBitmapLEDs && !FForegroundImage->Empty())
    result.LEDStep = std::max(1, std::min(horizontal ? FForegroundImage->Width() : FForegroundImage->Height(),
                                          result.LEDStep));
  if (IsLEDStyle() && FRealShowOverload) {
    // The zone begins on an LED boundary.
    const int length = horizontal ? result.Progress.Width() : result.Progress.Height();
    const int rest = result.LEDStep > 0 ? length % result.LEDStep : 0;
    if (horizontal) {
      result.Progress.Right -= rest;
      result.Overload.Left -= rest;
    } else {
      result.Progress.Top += rest;
      result.Overload.Bottom += rest;
    }
  }
  if (!FRealShowOverload)
    result.Filled = result.Progress;
  else if (horizontal)
    result.Filled = TRect(result.Progress.Left, result.Progress.Top, result.Overload.Right, result.Overload.Bottom);
  else
    result.Filled = TRect(result.Overload.Left, result.Overload.Top, result.Progress.Right, result.Progress.Bottom);
  result.Segment = GetSegmentRect(result);
  return result;
}

TRect TcxCustomProgressBarViewInfo::GetSegmentRect(const TPaintRects& ARects) const {
  const int size = GetAnimationSegmentSize();
  const int shift = FAnimationPath == cxapCycle ? FAnimationPosition - size : FAnimationPosition;
  const TRect& progress = ARects.Progress;
  if (FOrientation == cxorHorizontal)
    return TRect(progress.Left + shift, progress.Top, progress.Left + shift + size, progress.Bottom);
  return TRect(progress.Left, progress.Bottom - shift - size, progress.Right, progress.Bottom - shift);
}

int TcxCustomProgressBarViewInfo::GetAnimationSegmentSize() const {
  return ScaleFactor()->Apply(FBarStyle == cxbsAnimation && NativeStyle ? 127 : 50);
}

void TcxCustomProgressBarViewInfo::PaintProgressBar(TcxCanvas* ACanvas) {
  if (BarRect.IsEmpty() || FUsualBitmap->Width() != BarRect.Width() || FUsualBitmap->Height() != BarRect.Height())
    return;
  const TcxCanvasStateScope targetState(ACanvas);
  TPaintRects rects = GetPaintRects();
  TcxCanvas* buffer = FUsualBitmap->cxCanvas();
  buffer->SetUseRightToLeftAlignment(UseRightToLeftAlignment);
  {
    const TcxClipRegionScope bufferClip(buffer);
    DrawBackground(buffer, ACanvas, rects.Buffer);
    if (UseRightToLeftAlignment) FUsualBitmap->Flip(true, false);
    if (IsStandaloneMarquee()) {
      SetBarClip(buffer, rects.Filled, rects);
      SetBarClip(buffer, rects.Segment, rects);
      if (IsLEDStyle()) ExcludeLEDGaps(buffer, rects.Segment, rects.LEDStep);
      rects.Filled = rects.Segment;
    } else {
      SetBarClip(buffer, rects.Filled, rects);
      if (IsLEDStyle()) ExcludeLEDGaps(buffer, rects.Filled, rects.LEDStep);
    }
    switch (FBarStyle) {
      case cxbsSolid:
      case cxbsLEDs:
        if (NativeStyle)
          DrawGradientBar(buffer, rects);
        else
          DrawSolidBar(buffer, rects);
        if (FBarStyle == cxbsSolid) DrawBarBevel(buffer, rects.Filled);
        break;
      case cxbsGradient:
      case cxbsGradientLEDs:
        DrawGradientBar(buffer, rects);
        if (FBarStyle == cxbsGradient) DrawBarBevel(buffer, rects.Filled);
        break;
      case cxbsBitmap:
      case cxbsBitmapLEDs:
        if (!FForegroundImage->Empty()) DrawImageBar(buffer, rects.Filled);
        break;
      case cxbsAnimation:
      case cxbsAnimationLEDs:
        if (!(FMarquee && (IsDesigning || (FBarStyle == cxbsAnimation && NativeStyle))))
          DrawAnimationBody(buffer, rects.Filled, FBeginColor, true);
        if (FMarquee)
          DrawMarquee(buffer, rects.Segment);
        else
          DrawAnimationSegment(buffer, rects);
        break;
    }
    if (IsLEDStyle()) DrawLEDBevels(buffer, rects);
    if (!IsAnimationStyle()) DrawPeak(buffer, rects);
  }
  if (UseRightToLeftAlignment) FUsualBitmap->Flip(true, false);
  {
    const TcxWindowOrgScope origin(buffer, TPoint(-BarRect.Left, -BarRect.Top));
    DrawText(buffer);
  }
  ::BitBlt(ACanvas->Handle(), BarRect.Left, BarRect.Top, BarRect.Width(), BarRect.Height(), buffer->Handle(), 0, 0,
           SRCCOPY);
}

void TcxCustomProgressBarViewInfo::DrawBackground(TcxCanvas* ABufferCanvas, TcxCanvas* ACanvas,
                                                  const TRect& ABufferRect) {
  auto* control = dynamic_cast<TWinControl*>(Owner);
  if (FPropTransparent) {
    if (IsInplace || !control || control->ControlState().Contains(csPaintCopy)) {
      ::BitBlt(ABufferCanvas->Handle(), 0, 0, ABufferRect.Width(), ABufferRect.Height(), ACanvas->Handle(),
               BarRect.Left, BarRect.Top, SRCCOPY);
    } else {
      const TcxWindowOrgScope origin(ABufferCanvas, TPoint(-BarRect.Left, -BarRect.Top));
      DrawParentBackground(control, ABufferCanvas, BarRect, false);
    }
  } else if (!IsAnimationStyle()) {
    FillRectByColor(ABufferCanvas->Handle(), ABufferRect, BackgroundColor());
  }
  if (IsInplace || FPropTransparent) return;
  if (NativeStyle) {
    if (const HTHEME theme = OpenThemeForScaleFactor(totProgress, ScaleFactor()))
      UxDrawThemeBackground(theme, ABufferCanvas->Handle(), FOrientation == cxorHorizontal ? PP_BAR : PP_BARVERT, 1,
                            ABufferRect);
  } else if (IsAnimationStyle()) {
    DrawAnimationBody(ABufferCanvas, ABufferRect, BackgroundColor(), false);
  }
}

void TcxCustomProgressBarViewInfo::SetBarClip(TcxCanvas* ACanvas, const TRect& R, const TPaintRects& ARects) {
  const HDC DC = ACanvas->Handle();
  if (!IsNativeAnimation()) {
    IntersectClipRectWith(DC, R);
    return;
  }
  // The native chunk draws beyond its rectangle's sides across the bar; only
  // the bands before and after it along the bar are taken away.
  const TRect& buffer = ARects.Buffer;
  if (FOrientation == cxorHorizontal) {
    ExcludeClipRectFrom(DC, TRect(buffer.Left, buffer.Top, R.Left, buffer.Bottom));
    ExcludeClipRectFrom(DC, TRect(R.Right, buffer.Top, buffer.Right, buffer.Bottom));
  } else {
    ExcludeClipRectFrom(DC, TRect(buffer.Left, buffer.Top, buffer.Right, R.Top));
    ExcludeClipRectFrom(DC, TRect(buffer.Left, R.Bottom, buffer.Right, buffer.Bottom));
  }
}

void TcxCustomProgressBarViewInfo::ExcludeLEDGaps(TcxCanvas* ACanvas, const TRect& R, int AStep) {
  if (AStep <= 0) return;
  const HDC DC = ACanvas->Handle();
  if (FOrientation == cxorHorizontal) {
    const int count = R.Width() / AStep;
    for (int i = 1; i <= count; ++i)
      ExcludeClipRectFrom(DC, TRect(R.Left + i * AStep - LEDGap, R.Top, R.Left + i * AStep, R.Bottom));
  } else {
    const int count = R.Height() / AStep;
    for (int i = 1; i <= count; ++i)
      ExcludeClipRectFrom(DC, TRect(R.Left, R.Bottom - i * AStep, R.Right, R.Bottom - i * AStep + LEDGap));
  }
}

void TcxCustomProgressBarViewInfo::DrawSolidBar(TcxCanvas* ACanvas, const TPaintRects& ARects) {
  FillRectByColor(ACanvas->Handle(), ARects.Progress, FBeginColor);
  if (FRealShowOverload) FillRectByColor(ACanvas->Handle(), ARects.Overload, FOverloadBeginColor);
}

void TcxCustomProgressBarViewInfo::DrawGradientBar(TcxCanvas* ACanvas, const TPaintRects& ARects) {
  const HDC DC = ACanvas->Handle();
  if (NativeStyle) {
    DrawNativeBar(ACanvas, ARects.Progress);
    return;
  }
  // The gradient spans the whole bar: the clip shows the part the position reached.
  const TRect& buffer = ARects.Buffer;
  if (FOrientation == cxorHorizontal)
    FillGradientRect(DC, buffer, FBeginColor, FEndColor, true);
  else
    FillGradientRect(DC, buffer, FEndColor, FBeginColor, false);
  if (!FRealShowOverload) return;
  const TRect& overload = ARects.Overload;
  if (FOrientation == cxorHorizontal)
    FillGradientRect(DC, TRect(overload.Left, buffer.Top, buffer.Right, overload.Bottom), FOverloadBeginColor,
                     FOverloadEndColor, true);
  else
    FillGradientRect(DC, TRect(overload.Left, buffer.Top, buffer.Right, overload.Bottom), FOverloadEndColor,
                     FOverloadBeginColor, false);
}

void TcxCustomProgressBarViewInfo::DrawNativeBar(TcxCanvas* ACanvas, const TRect& R) {
  if (R.IsEmpty()) return;
  const bool horizontal = FOrientation == cxorHorizontal;
  const int width = horizontal ? 1 : R.Width();
  const int height = horizontal ? R.Height() : 1;
  if (!FNativeBitmap || FNativeBitmap->Width() != width || FNativeBitmap->Height() != height) {
    const HTHEME theme = OpenThemeForScaleFactor(totProgress, ScaleFactor());
    if (!theme) return;
    if (!FNativeBitmap) FNativeBitmap.reset(New<TcxBitmap32>());
    FNativeBitmap->CreateSize(width, height);
    UxDrawThemeBackground(theme, FNativeBitmap->cxCanvas()->Handle(), horizontal ? PP_CHUNK : PP_CHUNKVERT, 1,
                          TRect(0, 0, width, height));
  }
  const HDC DC = ACanvas->Handle();
  const int mode = ::SetStretchBltMode(DC, COLORONCOLOR);
  ::StretchBlt(DC, R.Left, R.Top, R.Width(), R.Height(), FNativeBitmap->cxCanvas()->Handle(), 0, 0, width, height,
               SRCCOPY);
  ::SetStretchBltMode(DC, mode);
}

void TcxCustomProgressBarViewInfo::DrawBarBevel(TcxCanvas* ACanvas, const TRect& R) {
  if (FBarBevelOuter == cxbvNone || R.IsEmpty()) return;
  TRect edge = R;
  ::DrawEdge(ACanvas->Handle(), reinterpret_cast<RECT*>(&edge),
             FBarBevelOuter == cxbvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

void TcxCustomProgressBarViewInfo::DrawLEDBevels(TcxCanvas* ACanvas, const TPaintRects& ARects) {
  if (FBarBevelOuter == cxbvNone || ARects.LEDStep <= 0) return;
  const TRect& R = ARects.Filled;
  const int step = ARects.LEDStep;
  const bool horizontal = FOrientation == cxorHorizontal;
  const int length = horizontal ? R.Width() : R.Height();
  const int count = length / step;
  for (int i = 1; i <= count; ++i)
    DrawBarBevel(ACanvas, horizontal ? TRect(R.Left + (i - 1) * step, R.Top, R.Left + i * step - LEDGap, R.Bottom)
                                     : TRect(R.Left, R.Bottom - i * step + LEDGap, R.Right, R.Bottom - (i - 1) * step));
  if (count * step < length)
    DrawBarBevel(ACanvas, horizontal ? TRect(R.Left + count * step, R.Top, R.Right, R.Bottom)
                                     : TRect(R.Left, R.Top, R.Right, R.Bottom - count * step));
}

void TcxCustomProgressBarViewInfo::DrawPeak(TcxCanvas* ACanvas, const TPaintRects& ARects) {
  if (!FRealShowPeak) return;
  const HDC DC = ACanvas->Handle();
  // The marker may lie beyond the filled part.
  const TOwned<TcxRegion> peak(New<TcxRegion>(ARects.Peak));
  ::ExtSelectClipRgn(DC, peak->Handle(), RGN_OR);
  FillRectByColor(DC, ARects.Peak, FPeakColor);
}

void TcxCustomProgressBarViewInfo::DrawImageBar(TcxCanvas* ACanvas, const TRect& R) {
  const HBRUSH brush = ::CreatePatternBrush(FForegroundImage->Handle());
  if (!brush) return;
  const HDC DC = ACanvas->Handle();
  ::SetBrushOrgEx(DC, 0, 0, nullptr);
  ::FillRect(DC, reinterpret_cast<const RECT*>(&R), brush);
  ::DeleteObject(brush);
}

void TcxCustomProgressBarViewInfo::DrawAnimationBody(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                                     bool AHighlighted) {
  if (R.IsEmpty()) return;
  const HDC DC = ACanvas->Handle();
  const TColor c = ColorToRGB(AColor);
  const TColor c40 = FadeColorToWhite(c, 40);
  const TColor c80 = FadeColorToWhite(c, 80);
  const TColor d90 = ScaleColorChannels(c, 90);
  const TColor d80 = ScaleColorChannels(c, 80);
  int edge = AHighlighted ? 4 : 1;
  int inner = AHighlighted ? 20 : 8;
  const int band = ScaleFactor()->Apply(6);
  FillRectByColor(DC, R, c);
  if (FOrientation == cxorHorizontal) {
    const int width = R.Width();
    if (AHighlighted && width < 3 * (edge + inner)) {
      const int whole = 3 * (edge + inner);
      edge = edge * width / whole;
      inner = inner * width / whole;
    }
    const int total = edge + inner;
    FillGradientRect(DC, TRect(R.Left, R.Top, R.Left + edge, R.Bottom), d90, d80, true);
    FillGradientRect(DC, TRect(R.Right - edge, R.Top, R.Right, R.Bottom), d80, d90, true);
    FillGradientRect(DC, TRect(R.Left + edge, R.Top, R.Left + total, R.Bottom), d80, c, true);
    FillGradientRect(DC, TRect(R.Right - total, R.Top, R.Right - edge, R.Bottom), c, d80, true);
    FillGradientRect(DC, TRect(R.Left, R.Top, R.Right, std::min(R.Bottom, R.Top + band)), c40, c80, false);
  } else {
    const int height = R.Height();
    if (height < 3 * (edge + inner)) {
      const int whole = 3 * (edge + inner);
      edge = edge * height / whole;
      inner = inner * height / whole;
    }
    const int total = edge + inner;
    FillGradientRect(DC, TRect(R.Left, R.Top, R.Right, R.Top + edge), d90, d80, false);
    FillGradientRect(DC, TRect(R.Left, R.Bottom - edge, R.Right, R.Bottom), d80, d90, false);
    FillGradientRect(DC, TRect(R.Left, R.Top + edge, R.Right, R.Top + total), d80, c, false);
    FillGradientRect(DC, TRect(R.Left, R.Bottom - total, R.Right, R.Bottom - edge), c, d80, false);
    FillGradientRect(DC, TRect(R.Left, R.Top, std::min(R.Right, R.Left + band), R.Bottom), c40, c80, true);
  }
}

void TcxCustomProgressBarViewInfo::DrawAnimationSegment(TcxCanvas* ACanvas, const TPaintRects& ARects) {
  CheckAnimationTimer();
  if (!IsAnimationActive() || !FAnimationTimer) return;
  const HDC DC = ACanvas->Handle();
  const TRect& filled = ARects.Filled;
  const bool horizontal = FOrientation == cxorHorizontal;
  // Drawn along the x axis; a vertical bar swaps the axes of every point.
  const auto point = [horizontal, &ARects](int AAlong, int AAcross) {
    return horizontal ? TPoint(AAlong, AAcross) : TPoint(AAcross, ARects.Buffer.Bottom - AAlong);
  };
  const TRect segment = horizontal ? ARects.Segment
                                   : TRect(ARects.Buffer.Bottom - ARects.Segment.Bottom, ARects.Segment.Left,
                                           ARects.Buffer.Bottom - ARects.Segment.Top, ARects.Segment.Right);
  const int h = (segment.Right - segment.Left) / 2;
  const int k = ScaleFactor()->Apply(10) / 2;
  const int band = ScaleFactor()->Apply(6);
  const auto sample = [&](int AAlong, int AAcross) { return ::GetPixel(DC, point(AAlong, AAcross).X, point(AAlong, AAcross).Y); };
  const auto fill = [&](int AAlong1, int AAcross1, int AAlong2, int AAcross2, TColor AColor1, TColor AColor2) {
    const TPoint a = point(AAlong1, AAcross1);
    const TPoint b = point(AAlong2, AAcross2);
    const TRect R(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
    FillGradientRect(DC, R, AColor1, AColor2, horizontal);
  };
  const int sampleAt = horizontal ? filled.Left + 1 : ARects.Buffer.Bottom - filled.Bottom + 2;
  for (int y = segment.Top; y < std::min(segment.Bottom, segment.Top + band); ++y) {
    const COLORREF c = sample(sampleAt, y);
    if (c == CLR_INVALID) continue;
    const TColor color = static_cast<TColor>(c);
    const TColor light = FadeColorToWhite(color, 60);
    fill(segment.Left - h, y, segment.Left + h - k, y + 1, color, light);
    fill(segment.Left + h - k, y, segment.Left + h + k, y + 1, light, light);
    fill(segment.Left + h + k, y, segment.Right + h, y + 1, light, color);
  }
  const TcxClipRegionScope clip(ACanvas);
  IntersectClipRectWith(DC, ARects.Segment);
  const int fade = std::max(1, h - k);
  for (int x = segment.Left; x <= segment.Right; ++x) {
    int percent = 60;
    if (x < segment.Left + h - k) percent += 40 * (segment.Left + h - k - x) / fade;
    if (x > segment.Left + h + k) percent += 40 * (x - segment.Left - h - k) / fade;
    const COLORREF c = sample(x, segment.Top + band);
    if (c == CLR_INVALID) continue;
    const TColor color = FadeColorToWhite(static_cast<TColor>(c), std::min(100, percent));
    fill(x, segment.Top + band, x + 1, segment.Bottom, color, color);
  }
}

void TcxCustomProgressBarViewInfo::DrawMarquee(TcxCanvas* ACanvas, const TRect& ASegment) {
  if (ASegment.IsEmpty()) return;
  const int width = ASegment.Width();
  const int height = ASegment.Height();
  const bool horizontal = FOrientation == cxorHorizontal;
  if (!FVistaStyleMarqueeBitmap || FVistaStyleMarqueeBitmap->Width() != width ||
      FVistaStyleMarqueeBitmap->Height() != height) {
    const HTHEME theme = OpenThemeForScaleFactor(totProgress, ScaleFactor());
    if (!theme) return;
    if (!FVistaStyleMarqueeBitmap) FVistaStyleMarqueeBitmap.reset(New<TcxBitmap32>());
    FVistaStyleMarqueeBitmap->CreateSize(width, height, true);
    const TRect image(0, 0, width, height);
    UxDrawThemeBackground(theme, FVistaStyleMarqueeBitmap->cxCanvas()->Handle(), horizontal ? PP_CHUNK : PP_CHUNKVERT,
                          1, image);
    // The segment fades in over its first half and out over its second.
    TRGBColors colors;
    FVistaStyleMarqueeBitmap->GetBitmapColors(colors);
    const int length = horizontal ? width : height;
    const int half = std::max(1, length / 2);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int along = horizontal ? x : y;
        const int alpha = along < half ? 255 * along / half : 255 * (length - along) / std::max(1, length - half);
        RGBQUAD& pixel = colors[static_cast<std::size_t>(y) * width + x];
        pixel.rgbBlue = static_cast<BYTE>(pixel.rgbBlue * alpha / 255);
        pixel.rgbGreen = static_cast<BYTE>(pixel.rgbGreen * alpha / 255);
        pixel.rgbRed = static_cast<BYTE>(pixel.rgbRed * alpha / 255);
        pixel.rgbReserved = static_cast<BYTE>(alpha);
      }
    FVistaStyleMarqueeBitmap->SetBitmapColors(colors);
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::GdiAlphaBlend(ACanvas->Handle(), ASegment.Left, ASegment.Top, width, height,
                  FVistaStyleMarqueeBitmap->cxCanvas()->Handle(), 0, 0, width, height, blend);
}

void TcxCustomProgressBarViewInfo::DrawText(TcxCanvas* ACanvas) {
  if (!FShowText || !Painter) return;
  TRect progress = IsStandaloneMarquee() ? GetSegmentRect(GetPaintRects()) : ProgressBarRect;
  if (IsStandaloneMarquee()) progress.Offset(BarRect.Left, BarRect.Top);
  TRect overload = OverloadBarRect;
  TRect peak = PeakBarRect;
  if (UseRightToLeftAlignment) {
    progress = MirroredIn(progress, BarRect);
    overload = MirroredIn(overload, BarRect);
    peak = MirroredIn(peak, BarRect);
  }
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Font()->Assign(Font);
  const bool vertical = FTextOrientation == cxorVertical;
  if (vertical) ACanvas->SetFontAngle(270);
  Painter->DrawProgressBarText(ACanvas, GetText(), BarRect, progress, overload, peak,
                               FSolidTextColor ? TextColor : clDefault, vertical);
}

// ---------------------------------------------------------------------------
// Animation

bool TcxCustomProgressBarViewInfo::IsAnimationActive() const {
  return (IsAnimationStyle() || FMarquee) && FAnimationSpeed > 0 && !IsDesigning && !IsInplace;
}

int TcxCustomProgressBarViewInfo::GetAnimationPathLength() const {
  const TRect& progress = ProgressBarRect;
  const int length = FOrientation == cxorHorizontal ? progress.Width() : progress.Height();
  const int size = GetAnimationSegmentSize();
  return FAnimationPath == cxapCycle ? length + size : length - size;
}

void TcxCustomProgressBarViewInfo::SetAnimationPath(TcxProgressBarAnimationPath AValue) {
  if (FAnimationPath == AValue) return;
  FAnimationPath = AValue;
  RestartAnimation();
}

void TcxCustomProgressBarViewInfo::SetAnimationSpeed(TcxProgressBarAnimationSpeed AValue) {
  if (FAnimationSpeed == AValue) return;
  FAnimationSpeed = AValue;
  if (FAnimationTimer) {
    FAnimationTimer->SetInterval(cxProgressBarAnimationInterval);
    FAnimationTimer->SetEnabled(AValue > 0);
  } else if (AValue > 0) {
    RestartAnimation();
  }
}

void TcxCustomProgressBarViewInfo::SetBarStyle(TcxProgressBarBarStyle AValue) {
  if (FBarStyle == AValue) return;
  FBarStyle = AValue;
  RestartAnimation();
}

void TcxCustomProgressBarViewInfo::SetMarquee(bool AValue) {
  if (FMarquee == AValue) return;
  FMarquee = AValue;
  RestartAnimation();
}

void TcxCustomProgressBarViewInfo::SetOrientation(TcxProgressBarOrientation AValue) {
  if (FOrientation == AValue) return;
  FOrientation = AValue;
  RestartAnimation();
}

void TcxCustomProgressBarViewInfo::RestartAnimation() {
  FAnimationTimer.reset();
  if (!IsAnimationActive()) return;
  FAnimationTimer.reset(New<TcxTimer>(nullptr));
  FAnimationTimer->SetInterval(cxProgressBarAnimationInterval);
  FAnimationTimer->SetOnTimer(BindEvent<&TcxCustomProgressBarViewInfo::AnimationTimerTick>(this));
  FAnimationTimer->SetEnabled(true);
  FAnimationPosition = 0;
  FAnimationDirection = 1;
}

void TcxCustomProgressBarViewInfo::CheckAnimationTimer() {
  if (!IsAnimationActive())
    FAnimationTimer.reset();
  else if (!FAnimationTimer && FAnimationSpeed > 0)
    RestartAnimation();
}

void TcxCustomProgressBarViewInfo::AnimationTimerTick(TObject*) {
  if (!IsAnimationActive()) {
    FAnimationTimer.reset();
    return;
  }
  if (!FAnimationTimer) return;
  AnimationStep();
  if (auto* control = dynamic_cast<TControl*>(Owner)) control->Repaint();
}

void TcxCustomProgressBarViewInfo::AnimationStep() {
  if (FAnimationRestartDelayTimer) return;
  FAnimationPosition += 2 * static_cast<int>(FAnimationSpeed) * FAnimationDirection;
  const int path = GetAnimationPathLength();
  if (FAnimationPath == cxapCycle) {
    if (FAnimationPosition > path) {
      FAnimationPosition = 0;
      StartRestartDelay();
    }
  } else if (FAnimationPosition > path) {
    FAnimationDirection = -1;
    FAnimationPosition = path;
    StartRestartDelay();
  } else if (FAnimationPosition < 0) {
    FAnimationPosition = 0;
    FAnimationDirection = 1;
    StartRestartDelay();
  }
}

void TcxCustomProgressBarViewInfo::StartRestartDelay() {
  FAnimationRestartDelayTimer.reset();
  if (FAnimationRestartDelay == 0) return;
  FAnimationRestartDelayTimer.reset(New<TcxTimer>(nullptr));
  FAnimationRestartDelayTimer->SetInterval(FAnimationRestartDelay);
  FAnimationRestartDelayTimer->SetOnTimer(BindEvent<&TcxCustomProgressBarViewInfo::AnimationRestartDelayTimerTick>(this));
  FAnimationRestartDelayTimer->SetEnabled(true);
}

void TcxCustomProgressBarViewInfo::AnimationRestartDelayTimerTick(TObject*) { FAnimationRestartDelayTimer.reset(); }
