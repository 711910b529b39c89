// The progress bar: its settings, the position pipeline, the layout, the
// listeners, accessibility and the unit's registration. Painting and the
// animation timers: cxProgressBar_Painting.cpp.
#include "library/stdctrls/cxProgressBar.h"

#include "library/core/data/cxVariants.h"
#include "library/core/system/dxThemeManager.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The description the editor repository lists the kind under.
constexpr const wchar_t* ProgressBarItemDescription = L"ProgressBar|Represents an advanced progress bar control";

int GUnitStartCount = 0;

// Trunc(AOffset x ALength / ARange) kept inside 0..ALength: a value outside
// the range (unclamped while Max <= Min), an infinity or a NaN cannot carry
// an edge beyond the content.
int PixelOffset(double AOffset, int ALength, double ARange) {
  const double pixels = AOffset * ALength / ARange;
  if (std::isnan(pixels) || pixels <= 0) return 0;
  if (pixels >= ALength) return ALength;
  return static_cast<int>(pixels);
}

double RangeOf(double AMin, double AMax) {
  const double range = AMax - AMin;
  return range == 0 ? 1 : range;
}

TRect Inflated(TRect R, int D) {
  R.Inflate(D, D);
  return R;
}

TRect NonNegative(const TRect& R) { return R.Width() < 0 || R.Height() < 0 ? TRect() : R; }

}  // namespace

bool IsProgressBarLEDStyle(TcxProgressBarBarStyle AStyle) {
  return AStyle == cxbsLEDs || AStyle == cxbsGradientLEDs || AStyle == cxbsBitmapLEDs || AStyle == cxbsAnimationLEDs;
}

bool IsProgressBarAnimationStyle(TcxProgressBarBarStyle AStyle) {
  return AStyle == cxbsAnimation || AStyle == cxbsAnimationLEDs;
}

int cxRoundToEven(double AValue) {
  if (std::isnan(AValue)) return 0;
  constexpr double lowest = std::numeric_limits<int>::min();
  constexpr double highest = std::numeric_limits<int>::max();
  if (AValue <= lowest) return std::numeric_limits<int>::min();
  if (AValue >= highest) return std::numeric_limits<int>::max();
  const double floor = std::floor(AValue);
  const double fraction = AValue - floor;
  double result = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2) != 0)) result += 1;
  return static_cast<int>(std::clamp(result, lowest, highest));
}

// ---------------------------------------------------------------------------
// TcxProgressBarPropertiesValues

void TcxProgressBarPropertiesValues::Publish(TPublisher<TcxProgressBarPropertiesValues>& P) {
  P.Property(L"Max", &TcxProgressBarPropertiesValues::Max, &TcxProgressBarPropertiesValues::SetMax)
      .Stored(&TcxProgressBarPropertiesValues::IsMaxStored);
  P.Property(L"Min", &TcxProgressBarPropertiesValues::Min, &TcxProgressBarPropertiesValues::SetMin)
      .Stored(&TcxProgressBarPropertiesValues::IsMinStored);
}

bool TcxProgressBarPropertiesValues::IsMaxStored() const {
  auto* properties = static_cast<TcxCustomProgressBarProperties*>(const_cast<TcxProgressBarPropertiesValues*>(this)->GetOwner());
  return MaxValue() && properties->Max() == 0;
}

bool TcxProgressBarPropertiesValues::IsMinStored() const {
  auto* properties = static_cast<TcxCustomProgressBarProperties*>(const_cast<TcxProgressBarPropertiesValues*>(this)->GetOwner());
  return MinValue() && properties->Min() == 0;
}

// ---------------------------------------------------------------------------
// TcxCustomProgressBarProperties

void TcxCustomProgressBarProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FForegroundImage.reset(New<TBitmap>());
  FForegroundImage->SetOnChange(BindEvent<&TcxCustomProgressBarProperties::ForegroundImageChanged>(this));
}

void TcxCustomProgressBarProperties::Destroy() {
  FForegroundImage.reset();
  inherited::Destroy();
}

void TcxCustomProgressBarProperties::ForegroundImageChanged(TObject*) {
  FIsForegroundImageChanged = true;
  Changed();
}

void TcxCustomProgressBarProperties::SetAnimationSpeed(TcxProgressBarAnimationSpeed AValue) {
  SetField(FAnimationSpeed, std::min(AValue, cxProgressBarMaxAnimationSpeed));
}

void TcxCustomProgressBarProperties::SetBarStyle(TcxProgressBarBarStyle AValue) {
  if (FBarStyle == AValue) return;
  FBarStyle = AValue;
  if (IsProgressBarAnimationStyle(AValue)) FBeginColor = TColor(0x00D328);
  Changed();
}

void TcxCustomProgressBarProperties::SetBorderWidth(int AValue) {
  SetField(FBorderWidth, std::clamp(AValue, 0, 65535));
}

void TcxCustomProgressBarProperties::SetMarquee(bool AValue) {
  if (FMarquee == AValue) return;
  FMarquee = AValue;
  if (AValue) FShowTextStyle = cxtsText;
  Changed();
}

double TcxCustomProgressBarProperties::GetMaxValue() {
  return AssignedValues()->MaxValue() ? inherited::GetMaxValue() : 100;
}

double TcxCustomProgressBarProperties::GetMinValue() {
  return AssignedValues()->MinValue() ? inherited::GetMinValue() : 0;
}

// The corrections ride in the same update bracket as the write, so the
// editors hear of one change with a consistent range.
void TcxCustomProgressBarProperties::SetMax(double AValue) {
  if (std::isnan(AValue)) return;
  UpdateBracket([&] {
    SetMaxValue(AValue);
    if (Min() > Max()) SetMinValue(Max());
    if (FOverloadValue > Max()) FOverloadValue = Max();
    if (FPeakValue > Max()) FPeakValue = Max();
  });
}

void TcxCustomProgressBarProperties::SetMin(double AValue) {
  if (std::isnan(AValue)) return;
  UpdateBracket([&] {
    SetMinValue(AValue);
    if (Min() > Max()) SetMaxValue(Min());
    if (FOverloadValue < Min()) FOverloadValue = Min();
    if (FPeakValue < Min()) FPeakValue = Min();
  });
}

void TcxCustomProgressBarProperties::SetOverloadValue(double AValue) {
  if (std::isnan(AValue) || FOverloadValue == AValue) return;
  FOverloadValue = std::min(std::max(AValue, Min()), Max());
  Changed();
}

void TcxCustomProgressBarProperties::SetPeakSize(int AValue) { SetField(FPeakSize, std::max(1, AValue)); }

void TcxCustomProgressBarProperties::SetPeakValue(double AValue) {
  if (std::isnan(AValue)) return;
  SetField(FPeakValue, AValue);
}

void TcxCustomProgressBarProperties::SetShowTextStyle(TcxProgressBarTextStyle AValue) {
  if (FMarquee && AValue != cxtsText) return;
  SetField(FShowTextStyle, AValue);
}

void TcxCustomProgressBarProperties::SetText(const String& AValue) {
  if (FText == AValue) return;
  FText = AValue;
  if (!AValue.empty()) FShowTextStyle = cxtsText;
  Changed();
}

void TcxCustomProgressBarProperties::CorrectPosition(TcxCustomProgressBarViewInfo* AViewInfo) {
  const double max = Max();
  const double min = Min();
  if (max > min) AViewInfo->FPosition = std::min(max, std::max(min, AViewInfo->FPosition));
}

double TcxCustomProgressBarProperties::TrackPeak(double APosition) {
  const double result = std::max(APosition, std::min(Max(), std::max(FPeakValue, Min())));
  FPeakValue = std::max(FPeakValue, result);
  return result;
}

void TcxCustomProgressBarProperties::BuildDisplayText(const Variant& AEditValue, bool AMarquee, String& AText,
                                                      bool AIsInplace, bool AFullText,
                                                      TcxProgressBarTextStyle AShowTextStyle) {
  (void)AIsInplace, (void)AFullText;
  Variant display;
  PrepareDisplayValue(AEditValue, display, false);
  const TOwned<TcxCustomProgressBarViewInfo> viewInfo(
      NewOfClass<TcxCustomProgressBarViewInfo>(GetViewInfoClass()));
  viewInfo->FPosition = display.AsDouble();
  CorrectPosition(viewInfo.get());
  viewInfo->FMin = Min();
  viewInfo->FMax = Max();
  viewInfo->FMarquee = AMarquee;
  viewInfo->FShowTextStyle = AShowTextStyle;
  viewInfo->Text = FText;
  AText = viewInfo->GetText();
}

String TcxCustomProgressBarProperties::GetDisplayText(const Variant& AEditValue, bool AFullText, bool AIsInplace) {
  String result;
  BuildDisplayText(AEditValue, FMarquee, result, AIsInplace, AFullText, FShowTextStyle);
  return result;
}

void TcxCustomProgressBarProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  ADisplayValue = Variant(0);
  if (VarIsStr(AEditValue)) {
    double value = 0;
    if (TryStrToFloat(VarToStr(AEditValue), value, TFormatSettings::Invariant())) ADisplayValue = Variant(value);
  } else if (VarIsNumericOrBcd(AEditValue) || VarIsDateValue(AEditValue)) {
    ADisplayValue = AEditValue;
  }
}

void TcxCustomProgressBarProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomProgressBarProperties*>(ASource);
  if (!source) return;
  SetAnimationPath(source->AnimationPath());
  SetAnimationRestartDelay(source->AnimationRestartDelay());
  SetBeginColor(source->BeginColor());
  SetBarBevelOuter(source->BarBevelOuter());
  SetEndColor(source->EndColor());
  SetForegroundImage(source->ForegroundImage());
  SetMarquee(source->Marquee());
  SetMin(source->Min());
  SetMax(source->Max());
  SetOrientation(source->Orientation());
  SetShowText(source->ShowText());
  SetShowTextStyle(source->ShowTextStyle());
  SetTextOrientation(source->TextOrientation());
  SetSolidTextColor(source->SolidTextColor());
  SetText(source->Text());
  SetBarStyle(source->BarStyle());
  // The style's colour comes from the source, even for an animation style.
  SetBeginColor(source->BeginColor());
  SetTransparentImage(source->TransparentImage());
  SetBorderWidth(source->BorderWidth());
  SetOverloadValue(source->OverloadValue());
  SetShowOverload(source->ShowOverload());
  SetOverloadBeginColor(source->OverloadBeginColor());
  SetOverloadEndColor(source->OverloadEndColor());
  SetPeakValue(source->PeakValue());
  SetShowPeak(source->ShowPeak());
  SetPeakColor(source->PeakColor());
  SetPeakSize(source->PeakSize());
}

TClass TcxCustomProgressBarProperties::GetViewDataClassType() { return TcxCustomProgressBarViewData::ClassInfo(); }
TClass TcxCustomProgressBarProperties::GetViewInfoClass() { return TcxCustomProgressBarViewInfo::ClassInfo(); }
TClass TcxCustomProgressBarProperties::GetContainerClass() { return TcxProgressBar::ClassInfo(); }

void TcxProgressBarProperties::Publish(TPublisher<TcxProgressBarProperties>& P) {
  using C = TcxProgressBarProperties;
  P.Property(L"AnimationPath", &C::AnimationPath, &C::SetAnimationPath).Default(cxapCycle);
  P.Property(L"AnimationRestartDelay", &C::AnimationRestartDelay, &C::SetAnimationRestartDelay).Default(0);
  P.Property(L"AnimationSpeed", &C::AnimationSpeed, &C::SetAnimationSpeed).Default(10);
  P.Property(L"AssignedValues", &C::AssignedValues, &C::SetAssignedValues);
  P.Property(L"BarBevelOuter", &C::BarBevelOuter, &C::SetBarBevelOuter).Default(cxbvNone);
  P.Property(L"BarStyle", &C::BarStyle, &C::SetBarStyle).Default(cxbsSolid);
  P.Property(L"BeginColor", &C::BeginColor, &C::SetBeginColor).Default(TColor(0x800000));
  P.Property(L"BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0);
  P.Property(L"EndColor", &C::EndColor, &C::SetEndColor).Default(TColor(0xFFFFFF));
  P.Property(L"ForegroundImage", &C::ForegroundImage, &C::SetForegroundImage);
  P.Property(L"Marquee", &C::Marquee, &C::SetMarquee).Default(false);
  P.Property(L"Max", &C::Max, &C::SetMax).Stored(&C::IsMaxStored);
  P.Property(L"Min", &C::Min, &C::SetMin).Stored(&C::IsMinStored);
  P.Property(L"Orientation", &C::Orientation, &C::SetOrientation).Default(cxorHorizontal);
  P.Property(L"OverloadBeginColor", &C::OverloadBeginColor, &C::SetOverloadBeginColor).Default(TColor(0x8080FF));
  P.Property(L"OverloadEndColor", &C::OverloadEndColor, &C::SetOverloadEndColor).Default(TColor(0xFF00FF));
  P.Property(L"OverloadValue", &C::OverloadValue, &C::SetOverloadValue).Stored(&C::IsOverloadValueStored);
  P.Property(L"PeakColor", &C::PeakColor, &C::SetPeakColor).Default(TColor(0x0000FF));
  P.Property(L"PeakSize", &C::PeakSize, &C::SetPeakSize).Default(2);
  P.Property(L"PeakValue", &C::PeakValue, &C::SetPeakValue).Stored(&C::IsPeakValueStored);
  P.Property(L"ShowOverload", &C::ShowOverload, &C::SetShowOverload).Default(false);
  P.Property(L"ShowPeak", &C::ShowPeak, &C::SetShowPeak).Default(false);
  P.Property(L"ShowText", &C::ShowText, &C::SetShowText).Default(true);
  P.Property(L"ShowTextStyle", &C::ShowTextStyle, &C::SetShowTextStyle).Stored(&C::IsShowTextStyleStored);
  P.Property(L"SolidTextColor", &C::SolidTextColor, &C::SetSolidTextColor).Default(false);
  P.Property(L"Text", &C::Text, &C::SetText);
  P.Property(L"TextOrientation", &C::TextOrientation, &C::SetTextOrientation).Default(cxorHorizontal);
  P.Property(L"Transparent", &C::Transparent, &C::SetTransparent).Stored(false);
  P.Property(L"TransparentImage", &C::TransparentImage, &C::SetTransparentImage).Default(true);
}

// ---------------------------------------------------------------------------
// TcxCustomProgressBarViewData

void TcxCustomProgressBarViewData::CalculateViewInfoProperties(TcxCustomProgressBarViewInfo* AViewInfo) {
  TcxCustomProgressBarProperties* properties = Properties();
  TcxCustomProgressBarViewInfo* vi = AViewInfo;
  vi->SetAnimationPath(properties->AnimationPath());
  vi->FAnimationRestartDelay = properties->AnimationRestartDelay();
  vi->SetAnimationSpeed(properties->AnimationSpeed());
  vi->FBeginColor = ColorToRGB(properties->BeginColor());
  vi->FEndColor = ColorToRGB(properties->EndColor());
  vi->FBarBevelOuter = properties->BarBevelOuter();
  vi->SetMarquee(properties->Marquee());
  vi->FMin = properties->Min();
  vi->FMax = properties->Max();
  vi->SetOrientation(properties->Orientation());
  vi->FShowText = properties->ShowText();
  vi->FShowTextStyle = properties->ShowTextStyle();
  vi->Text = properties->Text();
  vi->FTextOrientation = properties->TextOrientation();
  vi->FSolidTextColor = properties->SolidTextColor();
  vi->SetBarStyle(properties->BarStyle());
  vi->FBarBorderWidth = properties->BorderWidth();
  vi->FOverloadValue = properties->OverloadValue();
  vi->FOverloadBeginColor = ColorToRGB(properties->OverloadBeginColor());
  vi->FOverloadEndColor = ColorToRGB(properties->OverloadEndColor());
  vi->FShowOverload = properties->ShowOverload();
  vi->FPeakValue = properties->TrackPeak(vi->FPosition);
  vi->FPeakColor = ColorToRGB(properties->PeakColor());
  vi->FPeakSize = std::max(1, vi->ScaleFactor()->Apply(properties->PeakSize()));
  vi->FShowPeak = properties->ShowPeak();
  vi->FPropTransparent = IsInplace() || !Edit() ? vi->Transparent : Edit()->Transparent();
}

void TcxCustomProgressBarViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                             TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                             bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (ABounds.Bottom == 32000 || ABounds.Right == 32000) return;
  auto* vi = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  TcxCustomProgressBarProperties* properties = Properties();
  PrepareViewInfo(vi);
  CalculateViewInfoProperties(vi);
  vi->NativeStyle = NativeStyle && IsThemedObjectTypeAvailable(totProgress);

  const int frame = IsInplace() && !vi->NativeStyle ? 0 : 2;
  const int gap = vi->FBarBorderWidth;
  TRect bar;
  TRect content;
  if (vi->NativeStyle) {
    bar = content = ABounds;
    if (IsInplace()) {
      content = Inflated(content, -(gap + frame));
    } else if (vi->IsAnimationStyle()) {
      content = Inflated(content, -(gap + 1));
    } else {
      // One pixel more on the leading sides.
      const int b = gap + frame;
      content.Left += b + 1;
      content.Top += b + 1;
      content.Right -= b;
      content.Bottom -= b;
    }
  } else {
    bar = IsInplace() ? Inflated(ABounds, -frame) : vi->BorderRect;
    if (vi->UseSkins && vi->FBarStyle == cxbsSolid) {
      const TRect border = vi->Painter->ProgressBarBorderSize(vi->FOrientation == cxorVertical);
      content = TRect(vi->BorderRect.Left + border.Left, vi->BorderRect.Top + border.Top,
                      vi->BorderRect.Right - border.Right, vi->BorderRect.Bottom - border.Bottom);
    } else {
      content = Inflated(vi->BorderRect, -gap);
    }
  }
  content = NonNegative(content);

  TRect progress = content;
  TRect overload;
  TRect peak;
  const double range = RangeOf(vi->FMin, vi->FMax);
  const double offset = vi->FPosition - vi->FMin;
  const bool horizontal = vi->FOrientation == cxorHorizontal;
  if (!vi->FMarquee) {
    if (horizontal)
      progress.Right = content.Left + PixelOffset(offset, content.Width(), range);
    else
      progress.Top = content.Bottom - PixelOffset(offset, content.Height(), range);
  }
  vi->FRealShowOverload =
      !vi->FMarquee && vi->FShowOverload && !vi->NativeStyle && vi->FOverloadValue <= vi->FPosition;
  if (vi->FRealShowOverload) {
    overload = progress;
    const double overloadOffset = vi->FOverloadValue - vi->FMin;
    if (horizontal) {
      overload.Left = content.Left + PixelOffset(overloadOffset, content.Width(), range);
      overload.Right = std::min(overload.Right, content.Right);
      progress.Right = overload.Left;
    } else {
      overload.Top = content.Bottom - PixelOffset(offset, content.Height(), range);
      overload.Bottom =
          std::max(content.Bottom - PixelOffset(overloadOffset, content.Height(), range), content.Top);
      progress.Top = overload.Bottom;
    }
  }
  vi->FRealShowPeak = vi->FShowPeak && !vi->FMarquee;
  if (vi->FRealShowPeak) {
    peak = progress;
    const double peakOffset = vi->FPeakValue - vi->FMin;
    if (horizontal) {
      peak.Left = std::min(content.Left + PixelOffset(peakOffset, content.Width(), range),
                           content.Right - vi->FPeakSize);
      peak.Right = peak.Left + vi->FPeakSize;
    } else {
      peak.Bottom = std::max(content.Bottom - PixelOffset(peakOffset, content.Height(), range),
                             content.Top + vi->FPeakSize);
      peak.Top = peak.Bottom - vi->FPeakSize;
    }
  }

  if (properties->FIsForegroundImageChanged || vi->FForegroundImage->Empty()) {
    vi->FForegroundImage->Assign(properties->ForegroundImage());
    properties->FIsForegroundImageChanged = false;
    if (properties->TransparentImage() && !vi->FForegroundImage->Empty()) {
      // Flattened onto the background once, so painting tiles an opaque image.
      const TOwned<TBitmap> flat(New<TBitmap>());
      flat->SetSize(vi->FForegroundImage->Width(), vi->FForegroundImage->Height());
      flat->Canvas()->Brush()->SetColor(vi->BackgroundColor());
      flat->Canvas()->FillRect(TRect(0, 0, flat->Width(), flat->Height()));
      vi->FForegroundImage->SetTransparent(true);
      flat->Canvas()->Draw(0, 0, vi->FForegroundImage.get());
      vi->FForegroundImage->Assign(flat.get());
    }
  }

  const bool unchanged = properties->FIsPositionChanged && !AIsMouseEvent && progress == vi->ProgressBarRect &&
                         bar == vi->BarRect && (!vi->FRealShowOverload || overload == vi->OverloadBarRect) &&
                         (!vi->FRealShowPeak || peak == vi->PeakBarRect);
  if (unchanged) {
    vi->FIsBoundsChanged = false;
  } else {
    vi->BarContentRect = content;
    vi->ProgressBarRect = progress;
    vi->OverloadBarRect = overload;
    vi->PeakBarRect = peak;
    if (bar != vi->BarRect) {
      vi->BarRect = bar;
      vi->FIsBarRectChanged = true;
    }
    vi->FIsBoundsChanged = true;
  }
  CalculateFocusRect(ACanvas, vi);
  properties->FIsPositionChanged = false;
}

void TcxCustomProgressBarViewData::CalculateFocusRect(TcxCanvas* ACanvas, TcxCustomProgressBarViewInfo* AViewInfo) {
  AViewInfo->FocusRect = TRect();
  if (IsInplace() || !Focused || !ACanvas) return;
  const String text = AViewInfo->GetText();
  if (text.empty()) return;
  ACanvas->Font()->Assign(AViewInfo->Font);
  const TSize size = ACanvas->TextExtent(text);
  const TRect& bar = AViewInfo->BarRect;
  const int left = bar.Left + (bar.Width() - size.cx) / 2;
  const int top = bar.Top + (bar.Height() - size.cy) / 2;
  AViewInfo->FocusRect = Inflated(TRect(left, top, left + size.cx, top + size.cy), 1);
}

void TcxCustomProgressBarViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  Variant display;
  Properties()->PrepareDisplayValue(PreviewMode ? Variant(30) : AEditValue, display, false);
  vi->FPosition = display.AsDouble();
  Properties()->CorrectPosition(vi);
}

TSize TcxCustomProgressBarViewData::CalculateEditSize(TcxCanvas* ACanvas,
                                                      const TcxEditSizeProperties& AEditSizeProperties,
                                                      TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  TSize result = inherited::CalculateEditSize(ACanvas, AEditSizeProperties, MinContentSize, AViewInfo);
  auto* vi = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  TSize progress(vi->ProgressBarRect.Width(), vi->ProgressBarRect.Height());
  if (!IsInplace() && !vi->NativeStyle) {
    progress.cx += 4;
    progress.cy += 4;
  }
  // An empty text in the editor's font: no width, one line of height.
  ACanvas->Font()->Assign(Style()->GetVisibleFont());
  const TSize text(0, ACanvas->FontHeight(ACanvas->Font()));
  if (Properties()->Orientation() == cxorHorizontal) {
    result.cx += progress.cx + text.cx + 3;
    result.cy += text.cy;
  } else {
    result.cx += text.cy;
    result.cy += progress.cy + AEditSizeProperties.Height + 3;
  }
  return result;
}

// ---------------------------------------------------------------------------
// TcxCustomProgressBarViewInfo (geometry and text; painting in cxProgressBar_Painting.cpp)

void TcxCustomProgressBarViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  for (TRect* r : {&BarRect, &BarContentRect, &ProgressBarRect, &OverloadBarRect, &PeakBarRect}) r->Offset(DX, DY);
}

bool TcxCustomProgressBarViewInfo::Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                                           TcxContainerViewInfo* AViewInfo) {
  if (!AViewInfo && !FIsBoundsChanged && !(FShowText && !GetText().empty())) return false;
  return inherited::Repaint(AControl, AInnerEditRect, AViewInfo);
}

int TcxCustomProgressBarViewInfo::GetPercentDone() const {
  const double range = RangeOf(FMin, FMax);
  const double numerator = FMarquee ? FMax : FPosition - FMin;
  return std::min(100, cxRoundToEven(numerator * 100 / range));
}

String TcxCustomProgressBarViewInfo::GetText() const {
  if (FMarquee) return Text;
  switch (FShowTextStyle) {
    case cxtsPercent:
      return IntToStr(GetPercentDone()) + L" %";
    case cxtsPosition:
      return FloatToStr(FPosition);
    case cxtsText:
      break;
  }
  return Text;
}

// ---------------------------------------------------------------------------
// TdxProgressBarRangeValueProvider, TdxProgressBarAccessibilityHelper

bool TdxProgressBarRangeValueProvider::IsPercent() const {
  return FProgressBar->ActiveProperties()->ShowTextStyle() == cxtsPercent;
}

double TdxProgressBarRangeValueProvider::GetMaximum() {
  return IsPercent() ? 100 : FProgressBar->ActiveProperties()->Max();
}

double TdxProgressBarRangeValueProvider::GetMinimum() {
  return IsPercent() ? 0 : FProgressBar->ActiveProperties()->Min();
}

// The percentage counts from Min, over a range where an empty one counts
// as 1, as the bar's own percentage does.
double TdxProgressBarRangeValueProvider::GetValue() {
  TcxCustomProgressBarProperties* properties = FProgressBar->ActiveProperties();
  const double position = FProgressBar->Position();
  if (!IsPercent()) return position;
  return (position - properties->Min()) * 100 / RangeOf(properties->Min(), properties->Max());
}

void TdxProgressBarAccessibilityHelper::Create(TObject* AOwnerObject) {
  inherited::Create(AOwnerObject);
  FRangeValueProvider =
      std::make_unique<TdxProgressBarRangeValueProvider>(this, static_cast<TcxCustomProgressBar*>(AOwnerObject));
}

void TdxProgressBarAccessibilityHelper::Destroy() {
  FRangeValueProvider.reset();
  inherited::Destroy();
}

bool TdxProgressBarAccessibilityHelper::GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider,
                                                           int AChildID) {
  (void)AChildID;
  if (APatternID != UIA_RangeValuePatternId) return false;
  AProvider = TComPtr<IUnknown>(static_cast<IdxRangeValueProvider*>(FRangeValueProvider.get()));
  return true;
}

String TdxProgressBarAccessibilityHelper::GetValue(int) {
  return static_cast<TcxCustomProgressBar*>(OwnerObject())->ViewInfo()->GetText();
}

// ---------------------------------------------------------------------------
// TcxCustomProgressBar

void TcxCustomProgressBar::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FListeners.clear();
}

void TcxCustomProgressBar::Destroy() {
  FListeners.clear();
  inherited::Destroy();
}

void TcxCustomProgressBar::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks});
  SetBounds(Left(), Top(), 121, 21);
}

TcxContainerStyleValues TcxCustomProgressBar::HiddenStyleValues() {
  TcxContainerStyleValues result = inherited::HiddenStyleValues();
  result.Include(svHotTrack);
  return result;
}

void TcxCustomProgressBar::GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties = TcxEditSizeProperties();
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = 0;
}

TClass TcxCustomProgressBar::GetAccessibilityHelperClass() { return TdxProgressBarAccessibilityHelper::ClassInfo(); }

void TcxCustomProgressBar::SetPosition(double AValue) {
  // A NaN would pass every comparison below and reach the layout.
  if (std::isnan(AValue) || AValue == ViewInfo()->FPosition) return;
  TcxCustomProgressBarProperties* properties = ActiveProperties();
  properties->FIsPositionChanged = true;
  const double min = properties->Min();
  const double max = properties->Max();
  if (!IsLoading() && min < max) AValue = std::min(max, std::max(min, AValue));
  SetEditValue(Variant(AValue));
  NotifyListeners();
}

void TcxCustomProgressBar::SyncDisplayValue() {
  TcxCustomProgressBarProperties* properties = ActiveProperties();
  Variant display;
  properties->PrepareDisplayValue(EditValue(), display, Focused());
  ViewInfo()->FPosition = display.AsDouble();
  if (properties->Transparent()) Invalidate();
  if (!IsLoading()) properties->CorrectPosition(ViewInfo());
  ShortRefreshContainer(false);
}

void TcxCustomProgressBar::PropertiesChanged(TObject* Sender) {
  CorrectEditValueIfAllowed();
  ActiveProperties()->CorrectPosition(ViewInfo());
  inherited::PropertiesChanged(Sender);
  if (ActiveProperties()->Transparent()) Invalidate();
  NotifyListeners();
}

void TcxCustomProgressBar::CorrectEditValueToRange() {
  BeginUserAction();
  TryFinally(
      [this] {
        TcxCustomProgressBarProperties* properties = ActiveProperties();
        const double min = properties->Min();
        const double max = properties->Max();
        if (!(min < max)) return;
        Variant display;
        properties->PrepareDisplayValue(EditValue(), display, Focused());
        if (display < Variant(min))
          ApplyEditValue(Variant(min));
        else if (display > Variant(max))
          ApplyEditValue(Variant(max));
      },
      [this] { EndUserAction(); });
}

void TcxCustomProgressBar::CorrectEditValueIfAllowed() {
  if (!IsInplace() && !IsBoundToDataStorage() && !IsInnerControlMissing()) CorrectEditValueToRange();
}

void TcxCustomProgressBar::RegisterListener(TcxProgressBarListener* AValue) { FListeners.push_back(AValue); }

void TcxCustomProgressBar::UnRegisterListener(TcxProgressBarListener* AValue) {
  std::erase(FListeners, AValue);
}

void TcxCustomProgressBar::NotifyListeners() {
  // A copy: a handler may unregister its listener.
  const std::vector<TcxProgressBarListener*> listeners = FListeners;
  for (TcxProgressBarListener* listener : listeners)
    if (listener->OnChanged()) listener->OnChanged()(listener->ProgressBar());
}

void TcxProgressBar::Publish(TPublisher<TcxProgressBar>& P) {
  P.Property(L"Position", &TcxProgressBar::Position, &TcxProgressBar::SetPosition)
      .Stored(&TcxProgressBar::IsPositionStored);
  P.Property(L"Properties", &TcxProgressBar::Properties, &TcxProgressBar::SetProperties);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxProgressBarInitialization() {
  if (GUnitStartCount++ > 0) return;
  RegisterClasses({TcxProgressBar::ClassInfo(), TcxProgressBarProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxProgressBarProperties::ClassInfo(), ProgressBarItemDescription);
  GetFilterEditsController()->Register(TcxProgressBarProperties::ClassInfo(), TcxFilterProgressBarHelper::ClassInfo());
}

void cxProgressBarFinalization() {
  if (GUnitStartCount == 0 || --GUnitStartCount > 0) return;
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxProgressBarProperties::ClassInfo(),
                                           TcxFilterProgressBarHelper::ClassInfo());
  GetRegisteredEditProperties()->Unregister(TcxProgressBarProperties::ClassInfo());
}
