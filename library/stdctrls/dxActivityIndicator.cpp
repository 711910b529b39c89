#include "library/stdctrls/dxActivityIndicator.h"

#include "platform/runtime/SysUtils.h"
#include "platform/ui/ExtCtrls.h"

#include <algorithm>

namespace {
// Frames of the stand-in animation: smooth enough, cheap under Wine.
constexpr unsigned FrameInterval = 30;
}  // namespace

// ---------------------------------------------------------------------------
// TdxActivityIndicatorProperties

void TdxActivityIndicatorProperties::Publish(TPublisher<TdxActivityIndicatorProperties>& P) {
  P.Property(L"AnimationTime", &TdxActivityIndicatorProperties::AnimationTime,
             &TdxActivityIndicatorProperties::SetAnimationTime)
      .Default(2000);
}

void TdxActivityIndicatorProperties::Create(TdxActivityIndicator* AOwner) {
  FOwner = AOwner;
  FAnimationTime = 2000;
}

void TdxActivityIndicatorProperties::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TdxActivityIndicatorProperties*>(ASource)) {
    SetAnimationTime(source->FAnimationTime);
    return;
  }
  inherited::Assign(ASource);
}

void TdxActivityIndicatorProperties::SetAnimationTime(unsigned AValue) {
  AValue = std::max(AValue, 1u);
  if (FAnimationTime == AValue) return;
  FAnimationTime = AValue;
  Changed();
}

TPersistent* TdxActivityIndicatorProperties::GetOwner() { return FOwner; }

void TdxActivityIndicatorProperties::Changed() {
  if (FOwner) FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorHorizontalDotsProperties

void TdxActivityIndicatorHorizontalDotsProperties::Publish(
    TPublisher<TdxActivityIndicatorHorizontalDotsProperties>& P) {
  using C = TdxActivityIndicatorHorizontalDotsProperties;
  P.Property(L"DotColor", &C::DotColor, &C::SetDotColor).Stored(&C::IsDotColorStored);
  P.Property(L"DotCount", &C::DotCount, &C::SetDotCount).Default(5);
  P.Property(L"DotSize", &C::DotSize, &C::SetDotSize).Default(6);
}

void TdxActivityIndicatorHorizontalDotsProperties::Create(TdxActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FDotCount = 5;
  FDotSize = 6;
}

void TdxActivityIndicatorHorizontalDotsProperties::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxActivityIndicatorHorizontalDotsProperties*>(ASource)) {
    SetDotColor(source->FDotColor);
    SetDotCount(source->FDotCount);
    SetDotSize(source->FDotSize);
  }
}

void TdxActivityIndicatorHorizontalDotsProperties::SetDotColor(std::int32_t AValue) {
  if (FDotColor == AValue) return;
  FDotColor = AValue;
  Changed();
}

void TdxActivityIndicatorHorizontalDotsProperties::SetDotCount(int AValue) {
  AValue = std::max(AValue, 1);
  if (FDotCount == AValue) return;
  FDotCount = AValue;
  Changed();
}

void TdxActivityIndicatorHorizontalDotsProperties::SetDotSize(int AValue) {
  AValue = std::clamp(AValue, 2, 50);
  if (FDotSize == AValue) return;
  FDotSize = AValue;
  Changed();
}

TPoint TdxActivityIndicatorHorizontalDotsProperties::DotCentre(const TRect& ABounds, int AIndex,
                                                               std::uint64_t AElapsed) const {
  // Each dot starts a little after the one before it and crosses the whole
  // width, so the run looks like a train that stretches and closes up again.
  const double phase = static_cast<double>(AElapsed % FAnimationTime) / static_cast<double>(FAnimationTime);
  const double step = 0.4 / FDotCount;
  const double t = std::clamp((phase - step * AIndex) / (1.0 - step * (FDotCount - 1)), 0.0, 1.0);
  // Fast at the edges, slow in the middle.
  const double eased = 0.5 + 4 * (t - 0.5) * (t - 0.5) * (t - 0.5);
  const int width = ABounds.Right - ABounds.Left;
  return TPoint(ABounds.Left + static_cast<int>(eased * width), (ABounds.Top + ABounds.Bottom) / 2);
}

void TdxActivityIndicatorHorizontalDotsProperties::Draw(TCanvas* ACanvas, const TRect& ABounds,
                                                        std::uint64_t AElapsed) {
  const auto argb = static_cast<std::uint32_t>(FDotColor);
  const TColor color = argb == 0 ? clHighlight
                                 : TColor(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(color);
  ACanvas->Pen()->SetColor(color);
  const int half = FDotSize / 2;
  for (int i = 0; i < FDotCount; ++i) {
    const TPoint c = DotCentre(ABounds, i, AElapsed);
    ACanvas->Ellipse(c.X - half, c.Y - half, c.X - half + FDotSize, c.Y - half + FDotSize);
  }
}

// ---------------------------------------------------------------------------
// TdxActivityIndicator

void TdxActivityIndicator::Publish(TPublisher<TdxActivityIndicator>& P) {
  // The class name comes first, so that the properties read after it land in
  // properties of that class.
  P.Property(L"PropertiesClassName", &TdxActivityIndicator::PropertiesClassName,
             &TdxActivityIndicator::SetPropertiesClassName);
  P.Property(L"Properties", &TdxActivityIndicator::Properties, &TdxActivityIndicator::SetProperties);
  P.Property(L"Active", &TdxActivityIndicator::Active, &TdxActivityIndicator::SetActive).Default(false);
  PublishLookAndFeel(P);
}

void TdxActivityIndicator::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FProperties.reset(New<TdxActivityIndicatorHorizontalDotsProperties>(this));
  SetBounds(Left(), Top(), 200, 40);
  SetTabStop(false);
}

void TdxActivityIndicator::Destroy() {
  FTimer.reset();
  FProperties.reset();
  inherited::Destroy();
}

void TdxActivityIndicator::SetPropertiesClassName(const String& AValue) {
  if (SameText(AValue, PropertiesClassName())) return;
  TClass cls = GetClass(AValue);
  if (!cls || !cls->InheritsFrom(TdxActivityIndicatorProperties::ClassInfo()) || cls->IsAbstract())
    throw EInvalidOperation(L"\"%s\" is no activity indicator properties class", {AValue});
  TOwned<TdxActivityIndicatorProperties> properties(NewOfClass<TdxActivityIndicatorProperties>(cls, this));
  FProperties.reset();  // the old properties go before the new ones take their place
  FProperties = std::move(properties);
  Invalidate();
}

void TdxActivityIndicator::SetActive(bool AValue) {
  if (FActive == AValue) return;
  FActive = AValue;
  if (FActive) {
    FStart = TickCount();
    if (!FTimer) {
      FTimer.reset(New<TTimer>(nullptr));
      FTimer->SetInterval(FrameInterval);
      FTimer->SetOnTimer(BindEvent<&TdxActivityIndicator::Tick>(this));
    }
    FTimer->SetEnabled(true);
  } else if (FTimer) {
    FTimer->SetEnabled(false);
  }
  Invalidate();
}

std::uint64_t TdxActivityIndicator::Elapsed() const { return FActive ? TicksSince(FStart) : 0; }

void TdxActivityIndicator::Tick(TObject*) { Invalidate(); }

void TdxActivityIndicator::PaintControl() {
  inherited::PaintControl();
  TCanvas* canvas = Canvas()->Canvas();
  const TRect client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  if (FActive) FProperties->Draw(canvas, client, Elapsed());
}

void dxActivityIndicatorInitialization() {
  RegisterClasses({TdxActivityIndicator::ClassInfo(), TdxActivityIndicatorHorizontalDotsProperties::ClassInfo()});
}
