#include "library/controls/text/dxDocumentLayoutUnitConverter.h"

#include "platform/ui/GdiScopes.h"

#include <cmath>
#include <limits>

namespace {

float GScreenDpi = 96;

// Toward zero; a quotient by a zero DPI (infinite or not a number) is clamped
// to the type's range (NaN gives 0) instead of being undefined.
template <class T>
T Trunc(double AValue) {
  if (std::isnan(AValue)) return 0;
  constexpr double low = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double high = static_cast<double>(std::numeric_limits<T>::max());
  if (AValue <= low) return std::numeric_limits<T>::min();
  if (AValue >= high) return std::numeric_limits<T>::max();
  return static_cast<T>(AValue);
}

int TruncInt(double AValue) { return Trunc<int>(AValue); }
// trunc(x + 0.99), whatever the sign.
int Ceil99(double AValue) { return TruncInt(AValue + 0.99); }
// Away from zero by the same rule: the sign is the source value's.
int Away99(double AValue, double ASource) { return ASource >= 0 ? TruncInt(AValue + 0.99) : TruncInt(AValue - 0.99); }
// To nearest, ties to even (the default rounding mode).
double RoundEven(double AValue) { return std::nearbyint(AValue); }
float Single(double AValue) { return static_cast<float>(AValue); }

template <class TConvertX, class TConvertY>
TRect MapRect(const TRect& R, TConvertX AConvertX, TConvertY AConvertY) {
  return TRect(AConvertX(R.Left), AConvertY(R.Top), AConvertX(R.Right), AConvertY(R.Bottom));
}

template <class TConvert>
TRect MapRect(const TRect& R, TConvert AConvert) {
  return MapRect(R, AConvert, AConvert);
}

TdxRectF MapRectF(const TdxRectF& R, double (*AConvert)(double, double), double AParam) {
  return TdxRectF(Single(AConvert(R.Left, AParam)), Single(AConvert(R.Top, AParam)), Single(AConvert(R.Right, AParam)),
                  Single(AConvert(R.Bottom, AParam)));
}

}  // namespace

float dxScreenDpi() { return GScreenDpi; }

void dxDocumentLayoutUnitConverterInitialization() {
  const TScreenDC screen;
  if (screen.Get()) GScreenDpi = static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

// ---------------------------------------------------------------------------
// TdxDpiSupport

void TdxDpiSupport::Create() { Create(GScreenDpi, GScreenDpi, GScreenDpi); }

void TdxDpiSupport::Create(float AScreenDpiX, float AScreenDpiY, float AScreenDpi) {
  inherited::Create();
  FScreenDpiX = AScreenDpiX;
  FScreenDpiY = AScreenDpiY;
  FScreenDpi = AScreenDpi;
}

// ---------------------------------------------------------------------------
// TdxDocumentLayoutUnitConverter

TdxDocumentLayoutUnitConverter* TdxDocumentLayoutUnitConverter::CreateConverter(TdxDocumentLayoutUnit AUnit,
                                                                                float ADpi) {
  switch (AUnit) {
    case TdxDocumentLayoutUnit::Document:
      return New<TdxDocumentLayoutUnitDocumentConverter>();
    case TdxDocumentLayoutUnit::Twip:
      return New<TdxDocumentLayoutUnitTwipsConverter>();
    default:
      return New<TdxDocumentLayoutUnitPixelsConverter>(ADpi);
  }
}

bool TdxDocumentLayoutUnitConverter::Equals(const TdxDocumentLayoutUnitConverter* AObj) const {
  if (AObj == this) return true;
  if (!AObj || AObj->ClassType() != ClassType()) return false;
  return AObj->Dpi() == Dpi();
}

TPoint TdxDocumentLayoutUnitConverter::PixelsToLayoutUnits(const TPoint& AValue, float ADpiX, float ADpiY) const {
  return TPoint(PixelsToLayoutUnits(AValue.X, ADpiX), PixelsToLayoutUnits(AValue.Y, ADpiY));
}

// ---------------------------------------------------------------------------
// Pixels: one unit is 1/F inch

void TdxDocumentLayoutUnitPixelsConverter::Create(float ADpi) {
  inherited::Create();
  FDpi = ADpi;
}

float TdxDocumentLayoutUnitPixelsConverter::FontSizeScale() const { return Single(72.0 / FDpi); }

float TdxDocumentLayoutUnitPixelsConverter::DocumentsToFontUnitsF(float AValue) const {
  return Single(AValue * 6.0 / 25);
}

int TdxDocumentLayoutUnitPixelsConverter::DocumentsToLayoutUnits(int AValue) const {
  return Away99(static_cast<double>(AValue) * FDpi / 300, AValue);
}

TdxRectF TdxDocumentLayoutUnitPixelsConverter::DocumentsToLayoutUnits(const TdxRectF& AValue) const {
  return MapRectF(AValue, [](double v, double f) { return v * f / 300; }, FDpi);
}

TRect TdxDocumentLayoutUnitPixelsConverter::DocumentsToLayoutUnits(const TRect& AValue) const {
  return MapRect(AValue, [this](int v) { return DocumentsToLayoutUnits(v); });
}

float TdxDocumentLayoutUnitPixelsConverter::InchesToFontUnitsF(float AValue) const { return Single(AValue * 72.0); }

TdxRectF TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToDocuments(const TdxRectF& AValue) const {
  return MapRectF(AValue, [](double v, double f) { return v * 300 / f; }, FDpi == 0 ? 300 : FDpi);
}

TRect TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToDocuments(const TRect& AValue) const {
  const double f = FDpi == 0 ? 300 : FDpi;
  return MapRect(AValue, [f](int v) { return TruncInt(v * 300.0 / f); });
}

int TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToHundredthsOfInch(int AValue) const {
  return TruncInt(AValue * 100.0 / FDpi);
}

TSize TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToHundredthsOfInch(const TSize& AValue) const {
  return TSize(LayoutUnitsToHundredthsOfInch(AValue.cx), LayoutUnitsToHundredthsOfInch(AValue.cy));
}

int TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPixels(int AValue, float ADpi) const {
  return TruncInt(static_cast<double>(AValue) * ADpi / FDpi);
}

TSize TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const {
  return TSize(LayoutUnitsToPixels(AValue.cx, ADpiX), LayoutUnitsToPixels(AValue.cy, ADpiY));
}

TPoint TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const {
  return TPoint(LayoutUnitsToPixels(AValue.X, ADpiX), LayoutUnitsToPixels(AValue.Y, ADpiY));
}

TRect TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const {
  return MapRect(AValue, [this, ADpiX](int v) { return LayoutUnitsToPixels(v, ADpiX); },
                 [this, ADpiY](int v) { return LayoutUnitsToPixels(v, ADpiY); });
}

float TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPixelsF(float AValue, float ADpi) const {
  return Single(static_cast<double>(AValue) * ADpi / FDpi);
}

float TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToPointsF(float AValue) const {
  return FDpi == 0 ? 0 : Single(AValue * 72.0 / FDpi);
}

std::int64_t TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToTwips(std::int64_t AValue) const {
  return FDpi == 0 ? 0 : Trunc<std::int64_t>(static_cast<double>(AValue) * 1440 / FDpi);
}

int TdxDocumentLayoutUnitPixelsConverter::LayoutUnitsToTwips(int AValue) const {
  return FDpi == 0 ? 0 : TruncInt(AValue * 1440.0 / FDpi);
}

float TdxDocumentLayoutUnitPixelsConverter::MillimetersToFontUnitsF(float AValue) const {
  return Single(AValue * 72.0 / 25.4);
}

int TdxDocumentLayoutUnitPixelsConverter::PixelsToLayoutUnits(int AValue, float ADpi) const {
  return TruncInt(static_cast<double>(AValue) * FDpi / ADpi);
}

TSize TdxDocumentLayoutUnitPixelsConverter::PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const {
  return TSize(PixelsToLayoutUnits(AValue.cx, ADpiX), PixelsToLayoutUnits(AValue.cy, ADpiY));
}

TRect TdxDocumentLayoutUnitPixelsConverter::PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const {
  return MapRect(AValue, [this, ADpiX](int v) { return PixelsToLayoutUnits(v, ADpiX); },
                 [this, ADpiY](int v) { return PixelsToLayoutUnits(v, ADpiY); });
}

float TdxDocumentLayoutUnitPixelsConverter::PixelsToLayoutUnitsF(float AValue, float ADpi) const {
  return Single(static_cast<double>(AValue) * FDpi / ADpi);
}

int TdxDocumentLayoutUnitPixelsConverter::PointsToLayoutUnits(int AValue) const {
  return Away99(static_cast<double>(AValue) * FDpi / 72, AValue);
}

float TdxDocumentLayoutUnitPixelsConverter::PointsToLayoutUnitsF(float AValue) const {
  return Single(static_cast<double>(FDpi) * AValue / 72);
}

std::int64_t TdxDocumentLayoutUnitPixelsConverter::TwipsToLayoutUnits(std::int64_t AValue) const {
  return Trunc<std::int64_t>(static_cast<double>(AValue) * FDpi / 1440 + 0.99);
}

int TdxDocumentLayoutUnitPixelsConverter::TwipsToLayoutUnits(int AValue) const {
  return Ceil99(static_cast<double>(AValue) * FDpi / 1440);
}

// ---------------------------------------------------------------------------
// Twips: one unit is 1/1440 inch

float TdxDocumentLayoutUnitTwipsConverter::DocumentsToFontUnitsF(float AValue) const {
  return Single(AValue * 6.0 / 25);
}

int TdxDocumentLayoutUnitTwipsConverter::DocumentsToLayoutUnits(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 24 / 5);
}

TdxRectF TdxDocumentLayoutUnitTwipsConverter::DocumentsToLayoutUnits(const TdxRectF& AValue) const {
  return MapRectF(AValue, [](double v, double) { return v * 24 / 5; }, 0);
}

TRect TdxDocumentLayoutUnitTwipsConverter::DocumentsToLayoutUnits(const TRect& AValue) const {
  return MapRect(AValue, [this](int v) { return DocumentsToLayoutUnits(v); });
}

float TdxDocumentLayoutUnitTwipsConverter::InchesToFontUnitsF(float AValue) const { return Single(AValue * 72.0); }

TdxRectF TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToDocuments(const TdxRectF& AValue) const {
  return MapRectF(AValue, [](double v, double) { return v * 5 / 24; }, 0);
}

TRect TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToDocuments(const TRect& AValue) const {
  return MapRect(AValue, [](int v) { return static_cast<int>(static_cast<std::int64_t>(v) * 5 / 24); });
}

int TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToHundredthsOfInch(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 5 / 72);
}

TSize TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToHundredthsOfInch(const TSize& AValue) const {
  return TSize(LayoutUnitsToHundredthsOfInch(AValue.cx), LayoutUnitsToHundredthsOfInch(AValue.cy));
}

int TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPixels(int AValue, float ADpi) const {
  return Ceil99(static_cast<double>(AValue) * ADpi / 1440);
}

TSize TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const {
  return TSize(LayoutUnitsToPixels(AValue.cx, ADpiX), LayoutUnitsToPixels(AValue.cy, ADpiY));
}

TPoint TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const {
  return TPoint(LayoutUnitsToPixels(AValue.X, ADpiX), LayoutUnitsToPixels(AValue.Y, ADpiY));
}

TRect TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const {
  return MapRect(AValue, [this, ADpiX](int v) { return LayoutUnitsToPixels(v, ADpiX); },
                 [this, ADpiY](int v) { return LayoutUnitsToPixels(v, ADpiY); });
}

float TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPixelsF(float AValue, float ADpi) const {
  return Single(static_cast<double>(ADpi) * AValue / 1440);
}

float TdxDocumentLayoutUnitTwipsConverter::LayoutUnitsToPointsF(float AValue) const { return Single(AValue / 20.0); }

float TdxDocumentLayoutUnitTwipsConverter::MillimetersToFontUnitsF(float AValue) const {
  return Single(AValue * 72.0 / 25.4);
}

int TdxDocumentLayoutUnitTwipsConverter::PixelsToLayoutUnits(int AValue, float ADpi) const {
  return ADpi == 0 ? 0 : TruncInt(AValue * 1440.0 / ADpi);
}

TSize TdxDocumentLayoutUnitTwipsConverter::PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const {
  const auto convert = [](int v, float d) { return TruncInt(v * 1440.0 / (d == 0 ? 1440 : d)); };
  return TSize(convert(AValue.cx, ADpiX), convert(AValue.cy, ADpiY));
}

TRect TdxDocumentLayoutUnitTwipsConverter::PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const {
  const double dx = ADpiX == 0 ? 1440 : ADpiX;
  const double dy = ADpiY == 0 ? 1440 : ADpiY;
  return MapRect(AValue, [dx](int v) { return TruncInt(v * 1440.0 / dx); },
                 [dy](int v) { return TruncInt(v * 1440.0 / dy); });
}

float TdxDocumentLayoutUnitTwipsConverter::PixelsToLayoutUnitsF(float AValue, float ADpi) const {
  return ADpi == 0 ? 0 : Single(AValue * 1440.0 / ADpi);
}

int TdxDocumentLayoutUnitTwipsConverter::SnapToPixels(int AValue, float ADpi) const {
  return TruncInt(RoundEven(RoundEven(static_cast<double>(AValue) * ADpi / 1440) * 1440 / ADpi));
}

// ---------------------------------------------------------------------------
// Document: one unit is 1/300 inch

float TdxDocumentLayoutUnitDocumentConverter::InchesToFontUnitsF(float AValue) const { return Single(AValue * 300.0); }

int TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToHundredthsOfInch(int AValue) const {
  return TruncInt(AValue / 3.0);
}

TSize TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToHundredthsOfInch(const TSize& AValue) const {
  return TSize(LayoutUnitsToHundredthsOfInch(AValue.cx), LayoutUnitsToHundredthsOfInch(AValue.cy));
}

int TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPixels(int AValue, float ADpi) const {
  return Away99(static_cast<double>(AValue) * ADpi / 300, AValue);
}

TSize TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const {
  return TSize(LayoutUnitsToPixels(AValue.cx, ADpiX), LayoutUnitsToPixels(AValue.cy, ADpiY));
}

TPoint TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPixels(const TPoint& AValue, float ADpiX,
                                                                   float ADpiY) const {
  return TPoint(LayoutUnitsToPixels(AValue.X, ADpiX), LayoutUnitsToPixels(AValue.Y, ADpiY));
}

TRect TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const {
  return MapRect(AValue, [this, ADpiX](int v) { return LayoutUnitsToPixels(v, ADpiX); },
                 [this, ADpiY](int v) { return LayoutUnitsToPixels(v, ADpiY); });
}

float TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPixelsF(float AValue, float ADpi) const {
  return Single(static_cast<double>(ADpi) * AValue / 300);
}

float TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToPointsF(float AValue) const {
  return Single(AValue * 6.0 / 25);
}

std::int64_t TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToTwips(std::int64_t AValue) const {
  return Trunc<std::int64_t>(static_cast<double>(AValue) * 24 / 5);
}

int TdxDocumentLayoutUnitDocumentConverter::LayoutUnitsToTwips(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 24 / 5);
}

float TdxDocumentLayoutUnitDocumentConverter::MillimetersToFontUnitsF(float AValue) const {
  return Single(AValue * 1500.0 / 127);
}

int TdxDocumentLayoutUnitDocumentConverter::PixelsToLayoutUnits(int AValue, float ADpi) const {
  return ADpi == 0 ? 0 : TruncInt(AValue * 300.0 / ADpi);
}

TSize TdxDocumentLayoutUnitDocumentConverter::PixelsToLayoutUnits(const TSize& AValue, float ADpiX,
                                                                  float ADpiY) const {
  const auto convert = [](int v, float d) { return TruncInt(v * 300.0 / (d == 0 ? 300 : d)); };
  return TSize(convert(AValue.cx, ADpiX), convert(AValue.cy, ADpiY));
}

TRect TdxDocumentLayoutUnitDocumentConverter::PixelsToLayoutUnits(const TRect& AValue, float ADpiX,
                                                                  float ADpiY) const {
  const double dx = ADpiX == 0 ? 300 : ADpiX;
  const double dy = ADpiY == 0 ? 300 : ADpiY;
  return MapRect(AValue, [dx](int v) { return TruncInt(v * 300.0 / dx); },
                 [dy](int v) { return TruncInt(v * 300.0 / dy); });
}

float TdxDocumentLayoutUnitDocumentConverter::PixelsToLayoutUnitsF(float AValue, float ADpi) const {
  return ADpi == 0 ? 0 : Single(AValue * 300.0 / ADpi);
}

int TdxDocumentLayoutUnitDocumentConverter::PointsToFontUnits(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 25 / 6);
}

float TdxDocumentLayoutUnitDocumentConverter::PointsToFontUnitsF(float AValue) const {
  return Single(AValue * 25.0 / 6);
}

int TdxDocumentLayoutUnitDocumentConverter::PointsToLayoutUnits(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 25 / 6);
}

float TdxDocumentLayoutUnitDocumentConverter::PointsToLayoutUnitsF(float AValue) const {
  return Single(AValue * 25.0 / 6);
}

std::int64_t TdxDocumentLayoutUnitDocumentConverter::TwipsToLayoutUnits(std::int64_t AValue) const {
  return Trunc<std::int64_t>(static_cast<double>(AValue) * 5 / 24);
}

int TdxDocumentLayoutUnitDocumentConverter::TwipsToLayoutUnits(int AValue) const {
  return static_cast<int>(static_cast<std::int64_t>(AValue) * 5 / 24);
}
