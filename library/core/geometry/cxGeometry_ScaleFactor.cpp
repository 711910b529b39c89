// The DPI scale factor and the factor that follows its owner.
#include "library/core/geometry/cxGeometry.h"

#include <algorithm>
#include <numeric>

void ReduceFraction(int& N, int& D) {
  // Taking out every common divisor amounts to dividing by the greatest one;
  // values below 2 are left as they are.
  if (N < 2 || D < 2) return;
  const int g = std::gcd(N, D);
  N /= g;
  D /= g;
}

// ---------------------------------------------------------------------------
// TdxScaleFactor

void TdxScaleFactor::Create() {
  inherited::Create();
  FNumerator = 1;
  FDenominator = 1;
}

void TdxScaleFactor::Assign(int ANumerator, int ADenominator, bool AIsLoading) {
  ReduceFraction(ANumerator, ADenominator);
  if (ANumerator == FNumerator && ADenominator == FDenominator) return;
  const int m = FDenominator * ANumerator;
  const int d = FNumerator * ADenominator;
  FNumerator = ANumerator;
  FDenominator = ADenominator;
  NotifyChange(m, d, AIsLoading);
}

void TdxScaleFactor::ListenerRemove(const TdxScaleFactorNotifyEvent& AHandler) {
  const auto it = std::find(FListeners.begin(), FListeners.end(), AHandler);
  if (it != FListeners.end()) FListeners.erase(it);
  if (FListeners.empty()) FListeners.shrink_to_fit();
}

void TdxScaleFactor::NotifyChange(int M, int D, bool AIsLoading) {
  if (M == D || FListeners.empty()) return;
  // The count is taken once; a listener that removes listeners shortens the walk.
  const std::size_t count = FListeners.size();
  for (std::size_t i = 0; i < count && i < FListeners.size(); ++i) {
    const TdxScaleFactorNotifyEvent handler = FListeners[i];
    handler(this, M, D, AIsLoading);
  }
}

bool TdxScaleFactor::GetSourceRatio(int& ASourceNumerator, int& ASourceDenominator) const {
  int n = FNumerator * ASourceDenominator;
  int d = FDenominator * ASourceNumerator;
  if (n == d) return false;
  ReduceFraction(n, d);
  ASourceNumerator = n;
  ASourceDenominator = d;
  return true;
}

TPoint TdxScaleFactor::Apply(const TPoint& V) const {
  if (!Assigned()) return V;
  return TPoint(MulDiv(V.X, FNumerator, FDenominator), MulDiv(V.Y, FNumerator, FDenominator));
}

TSize TdxScaleFactor::Apply(const TSize& V) const {
  if (!Assigned()) return V;
  return TSize(MulDiv(V.cx, FNumerator, FDenominator), MulDiv(V.cy, FNumerator, FDenominator));
}

TRect TdxScaleFactor::Apply(const TRect& V) const {
  if (!Assigned()) return V;
  return ScaleRectangle(V, FNumerator, FDenominator, FNumerator, FDenominator);
}

// A value at another factor's scale is converted whenever the two ratios
// differ, also when this factor is 1: a value designed at 200% must shrink.
int TdxScaleFactor::Apply(int V, int ASourceNumerator, int ASourceDenominator) const {
  int n = ASourceNumerator, d = ASourceDenominator;
  return GetSourceRatio(n, d) ? MulDiv(V, n, d) : V;
}

TPoint TdxScaleFactor::Apply(const TPoint& V, int ASourceNumerator, int ASourceDenominator) const {
  int n = ASourceNumerator, d = ASourceDenominator;
  return GetSourceRatio(n, d) ? ScalePoint(V, n, d) : V;
}

TSize TdxScaleFactor::Apply(const TSize& V, int ASourceNumerator, int ASourceDenominator) const {
  int n = ASourceNumerator, d = ASourceDenominator;
  return GetSourceRatio(n, d) ? ScaleSize(V, n, d) : V;
}

TRect TdxScaleFactor::Apply(const TRect& V, int ASourceNumerator, int ASourceDenominator) const {
  int n = ASourceNumerator, d = ASourceDenominator;
  return GetSourceRatio(n, d) ? ScaleRectangle(V, n, d, n, d) : V;
}

int TdxScaleFactor::Apply(int V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TPoint TdxScaleFactor::Apply(const TPoint& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TSize TdxScaleFactor::Apply(const TSize& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TRect TdxScaleFactor::Apply(const TRect& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}

float TdxScaleFactor::ApplyF(float V) const {
  if (!Assigned()) return V;
  return static_cast<float>(static_cast<long double>(V) * FNumerator / FDenominator);
}

double TdxScaleFactor::ApplyF(double V) const {
  if (!Assigned()) return V;
  return static_cast<double>(static_cast<long double>(V) * FNumerator / FDenominator);
}

TdxPointF TdxScaleFactor::ApplyF(const TdxPointF& V) const {
  if (!Assigned()) return V;
  const float r = static_cast<float>(static_cast<double>(FNumerator) / FDenominator);
  return TdxPointF(V.X * r, V.Y * r);
}

TdxSizeF TdxScaleFactor::ApplyF(const TdxSizeF& V) const {
  if (!Assigned()) return V;
  const float r = static_cast<float>(static_cast<double>(FNumerator) / FDenominator);
  return TdxSizeF(V.cx * r, V.cy * r);
}

TdxRectF TdxScaleFactor::ApplyF(const TdxRectF& V) const {
  if (!Assigned()) return V;
  return ScaleRectangle(V, static_cast<float>(static_cast<double>(FNumerator) / FDenominator));
}

TPoint TdxScaleFactor::Revert(const TPoint& V) const {
  if (!Assigned()) return V;
  return TPoint(MulDiv(V.X, FDenominator, FNumerator), MulDiv(V.Y, FDenominator, FNumerator));
}

TSize TdxScaleFactor::Revert(const TSize& V) const {
  if (!Assigned()) return V;
  return TSize(MulDiv(V.cx, FDenominator, FNumerator), MulDiv(V.cy, FDenominator, FNumerator));
}

TRect TdxScaleFactor::Revert(const TRect& V) const {
  if (!Assigned()) return V;
  return ScaleRectangle(V, FDenominator, FNumerator, FDenominator, FNumerator);
}

float TdxScaleFactor::RevertF(float V) const {
  if (!Assigned()) return V;
  return static_cast<float>(static_cast<long double>(V) * FDenominator / FNumerator);
}

double TdxScaleFactor::RevertF(double V) const {
  if (!Assigned()) return V;
  return static_cast<double>(static_cast<long double>(V) * FDenominator / FNumerator);
}

TdxPointF TdxScaleFactor::RevertF(const TdxPointF& V) const {
  if (!Assigned()) return V;
  const float r = static_cast<float>(static_cast<double>(FDenominator) / FNumerator);
  return TdxPointF(V.X * r, V.Y * r);
}

TdxSizeF TdxScaleFactor::RevertF(const TdxSizeF& V) const {
  if (!Assigned()) return V;
  const float r = static_cast<float>(static_cast<double>(FDenominator) / FNumerator);
  return TdxSizeF(V.cx * r, V.cy * r);
}

TdxRectF TdxScaleFactor::RevertF(const TdxRectF& V) const {
  if (!Assigned()) return V;
  return ScaleRectangle(V, static_cast<float>(static_cast<double>(FDenominator) / FNumerator));
}

// ---------------------------------------------------------------------------
// TdxOwnedScaleFactor

void TdxOwnedScaleFactor::AfterConstruction() {
  inherited::AfterConstruction();
  FUseOwnerValue = true;
}

void TdxOwnedScaleFactor::BeforeDestruction() {
  SetOwner(nullptr);
  inherited::BeforeDestruction();
}

void TdxOwnedScaleFactor::SetOwner(TdxScaleFactor* AValue) {
  if (AValue == FOwner || AValue == this) return;
  const TdxScaleFactorNotifyEvent handler = BindEvent<&TdxOwnedScaleFactor::OwnerChangeHandler>(this);
  ListenerRemove(FOwner, handler);
  FOwner = AValue;
  if (FOwner) FOwner->ListenerAdd(handler);
  UpdateFromOwner(false);
}

void TdxOwnedScaleFactor::SetUseOwnerValue(bool AValue) {
  if (AValue == FUseOwnerValue) return;
  FUseOwnerValue = AValue;
  UpdateFromOwner(false);
}

void TdxOwnedScaleFactor::OwnerChangeHandler(TObject*, int, int, bool IsLoading) { UpdateFromOwner(IsLoading); }

void TdxOwnedScaleFactor::UpdateFromOwner(bool AIsLoading) {
  if (!FUseOwnerValue || !FOwner) return;
  Assign(FOwner->Numerator(), FOwner->Denominator(), AIsLoading);
  FUseOwnerValue = true;
}

void TdxOwnedScaleFactor::NotifyChange(int M, int D, bool AIsLoading) {
  if (!AIsLoading) FUseOwnerValue = false;
  inherited::NotifyChange(M, D, AIsLoading);
}
