#include "library/stdctrls/cxProgressBar.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// TcxProgressBarProperties

void TcxProgressBarProperties::Publish(TPublisher<TcxProgressBarProperties>& P) {
  P.Property(L"BeginColor", &TcxProgressBarProperties::BeginColor, &TcxProgressBarProperties::SetBeginColor)
      .Default(TColor(0x800000));
  P.Property(L"Max", &TcxProgressBarProperties::Max, &TcxProgressBarProperties::SetMax)
      .Stored(&TcxProgressBarProperties::IsMaxStored);
  P.Property(L"Min", &TcxProgressBarProperties::Min, &TcxProgressBarProperties::SetMin)
      .Stored(&TcxProgressBarProperties::IsMinStored);
  P.Property(L"PeakValue", &TcxProgressBarProperties::PeakValue, &TcxProgressBarProperties::SetPeakValue)
      .Stored(&TcxProgressBarProperties::IsPeakValueStored);
  P.Property(L"SolidTextColor", &TcxProgressBarProperties::SolidTextColor,
             &TcxProgressBarProperties::SetSolidTextColor)
      .Default(false);
}

void TcxProgressBarProperties::Create(TcxProgressBar* ABar) {
  FBar = ABar;
  FBeginColor = TColor(0x800000);
  FMax = 100;
}

void TcxProgressBarProperties::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxProgressBarProperties*>(ASource)) {
    FBeginColor = source->FBeginColor;
    FMin = source->FMin;
    FMax = source->FMax;
    FPeakValue = source->FPeakValue;
    FSolidTextColor = source->FSolidTextColor;
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

void TcxProgressBarProperties::SetBeginColor(TColor AValue) {
  if (FBeginColor == AValue) return;
  FBeginColor = AValue;
  Changed();
}

void TcxProgressBarProperties::SetMin(double AValue) {
  if (FMin == AValue) return;
  FMin = AValue;
  Changed();
}

void TcxProgressBarProperties::SetMax(double AValue) {
  if (FMax == AValue) return;
  FMax = AValue;
  Changed();
}

void TcxProgressBarProperties::SetPeakValue(double AValue) {
  if (FPeakValue == AValue) return;
  FPeakValue = AValue;
  Changed();
}

void TcxProgressBarProperties::SetSolidTextColor(bool AValue) {
  if (FSolidTextColor == AValue) return;
  FSolidTextColor = AValue;
  Changed();
}

void TcxProgressBarProperties::Changed() { FBar->Invalidate(); }

TPersistent* TcxProgressBarProperties::GetOwner() { return FBar; }

// ---------------------------------------------------------------------------
// TcxProgressBar

void TcxProgressBar::Publish(TPublisher<TcxProgressBar>& P) {
  P.Property(L"Position", &TcxProgressBar::Position, &TcxProgressBar::SetPosition)
      .Stored(&TcxProgressBar::IsPositionStored);
  P.Property(L"Properties", &TcxProgressBar::Properties, &TcxProgressBar::SetProperties);
  P.Property(L"Style", &TcxProgressBar::Style, &TcxProgressBar::SetStyle);
  P.Property(L"StyleDisabled", &TcxProgressBar::StyleDisabled, &TcxProgressBar::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxProgressBar::StyleFocused, &TcxProgressBar::SetStyleFocused);
  P.Property(L"StyleHot", &TcxProgressBar::StyleHot, &TcxProgressBar::SetStyleHot);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

void TcxProgressBar::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FProperties.reset(New<TcxProgressBarProperties>(this));
  SetTabStop(true);
  SetBounds(Left(), Top(), 121, 21);
}

void TcxProgressBar::Destroy() {
  FProperties.reset();
  inherited::Destroy();
}

double TcxProgressBar::Clamped(double AValue) const {
  if (FProperties->Max() > FProperties->Min()) return std::clamp(AValue, FProperties->Min(), FProperties->Max());
  return AValue;
}

void TcxProgressBar::SetPosition(double AValue) {
  if (!ComponentState().Contains(csLoading)) AValue = Clamped(AValue);
  if (FPosition == AValue) return;
  FPosition = AValue;
  Invalidate();
}

void TcxProgressBar::Loaded() {
  inherited::Loaded();
  FPosition = Clamped(FPosition);
}

String TcxProgressBar::DisplayText() const {
  const double range = FProperties->Max() - FProperties->Min();
  const double percent = range > 0 ? (FPosition - FProperties->Min()) * 100 / range : 0;
  return IntToStr(static_cast<int>(std::round(percent))) + L" %";
}

TRect TcxProgressBar::BarRect() {
  EnsureViewInfo();
  // Without a window no refresh runs: the geometry for the current size.
  if (!IsViewInfoCalculated()) ComputeViewInfo(TPoint(-1, -1), false);
  TRect r = ViewInfo()->ClientRect;
  const double range = FProperties->Max() - FProperties->Min();
  const double fraction = range > 0 ? std::clamp((FPosition - FProperties->Min()) / range, 0.0, 1.0) : 0;
  r.Right = r.Left + static_cast<int>(std::round(fraction * (r.Right - r.Left)));
  return r;
}

void TcxProgressBar::PaintControl() {
  inherited::PaintControl();
  auto* canvas = dynamic_cast<TcxCanvas*>(ActualCanvas());
  if (!canvas) canvas = Canvas();
  const TRect content = ViewInfo()->ClientRect;
  if (content.IsEmpty()) return;
  const TRect bar = BarRect();
  if (bar.Right > bar.Left) canvas->FillRect(bar, FProperties->BeginColor());
  const String text = DisplayText();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetStyle(bsClear);
  const TSize size = canvas->TextExtent(text);
  canvas->TextOut((content.Left + content.Right - size.cx) / 2, (content.Top + content.Bottom - size.cy) / 2, text);
}

void cxProgressBarInitialization() { RegisterClasses({TcxProgressBar::ClassInfo()}); }
