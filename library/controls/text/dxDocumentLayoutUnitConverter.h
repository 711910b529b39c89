// Layout units of text layout and the converters between them and documents,
// twips, points, inches, millimetres, font units and pixels.
//
// Classes in this file:
//   TdxDocumentLayoutUnit                  what one layout unit is
//   TdxDpiSupport                          the screen DPI a converter works with
//   TdxDocumentLayoutUnitConverter         the abstract converter and its factory
//   TdxDocumentLayoutUnitPixelsConverter   one unit = one pixel of FDpi
//   TdxDocumentLayoutUnitTwipsConverter    one unit = 1/1440 inch
//   TdxDocumentLayoutUnitDocumentConverter one unit = 1/300 inch
//
// Rounding is fixed per operation (a table of the converters' own); every
// intermediate is computed in double precision, single results are rounded
// to single. A zero DPI is guarded only where an operation says so; the rest
// of the library makes converters with positive DPI values only.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/geometry/cxGeometry.h"
#include "platform/runtime/System.h"

#include <cstdint>

enum class TdxDocumentLayoutUnit { Document, Twip, Pixel };

class TdxDpiSupport : public TObject {
  SK_CLASS(TdxDpiSupport, TObject)
 public:
  // All three values the screen DPI read at start-up.
  virtual void Create();
  // X is also the general value.
  void Create(float AScreenDpiX, float AScreenDpiY) { Create(AScreenDpiX, AScreenDpiY, AScreenDpiX); }
  void Create(float AScreenDpiX, float AScreenDpiY, float AScreenDpi);

  float ScreenDpiX() const { return FScreenDpiX; }
  float ScreenDpiY() const { return FScreenDpiY; }
  float ScreenDpi() const { return FScreenDpi; }

 protected:
  float FScreenDpiX;
  float FScreenDpiY;
  float FScreenDpi;
};

class TdxDocumentLayoutUnitConverter : public TdxDpiSupport {
  SK_CLASS(TdxDocumentLayoutUnitConverter, TdxDpiSupport)
 public:
  // Document and Twip give their converters, anything else a pixels
  // converter of ADpi; each works with the screen DPI.
  static TdxDocumentLayoutUnitConverter* CreateConverter(TdxDocumentLayoutUnit AUnit, float ADpi);

  // The same object, or one of the same class with the same Dpi.
  bool Equals(const TdxDocumentLayoutUnitConverter* AObj) const;

  virtual float Dpi() const = 0;
  virtual float FontSizeScale() const = 0;
  virtual float FontSizeScaleForPrinting() const { return 1; }
  virtual TdxGraphicUnit FontUnit() const = 0;
  virtual float GraphicsPageScale() const = 0;
  virtual TdxGraphicUnit GraphicsPageUnit() const = 0;
  virtual float DocumentsToFontUnitsF(float AValue) const = 0;
  virtual int DocumentsToLayoutUnits(int AValue) const = 0;
  virtual TdxRectF DocumentsToLayoutUnits(const TdxRectF& AValue) const = 0;
  virtual TRect DocumentsToLayoutUnits(const TRect& AValue) const = 0;
  virtual float InchesToFontUnitsF(float AValue) const = 0;
  virtual TdxRectF LayoutUnitsToDocuments(const TdxRectF& AValue) const = 0;
  virtual TRect LayoutUnitsToDocuments(const TRect& AValue) const = 0;
  virtual int LayoutUnitsToHundredthsOfInch(int AValue) const = 0;
  virtual TSize LayoutUnitsToHundredthsOfInch(const TSize& AValue) const = 0;
  virtual int LayoutUnitsToPixels(int AValue, float ADpi) const = 0;
  virtual TSize LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const = 0;
  virtual TPoint LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const = 0;
  virtual TRect LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const = 0;
  virtual float LayoutUnitsToPixelsF(float AValue, float ADpi) const = 0;
  virtual float LayoutUnitsToPointsF(float AValue) const = 0;
  virtual std::int64_t LayoutUnitsToTwips(std::int64_t AValue) const = 0;
  virtual int LayoutUnitsToTwips(int AValue) const = 0;
  virtual float MillimetersToFontUnitsF(float AValue) const = 0;
  virtual int PixelsToLayoutUnits(int AValue, float ADpi) const = 0;
  // Each coordinate through the Integer form with its axis' DPI.
  virtual TPoint PixelsToLayoutUnits(const TPoint& AValue, float ADpiX, float ADpiY) const;
  virtual TSize PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const = 0;
  virtual TRect PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const = 0;
  virtual float PixelsToLayoutUnitsF(float AValue, float ADpi) const = 0;
  virtual int PointsToFontUnits(int AValue) const = 0;
  virtual float PointsToFontUnitsF(float AValue) const = 0;
  virtual int PointsToLayoutUnits(int AValue) const = 0;
  virtual float PointsToLayoutUnitsF(float AValue) const = 0;
  virtual int SnapToPixels(int AValue, float ADpi) const = 0;
  virtual std::int64_t TwipsToLayoutUnits(std::int64_t AValue) const = 0;
  virtual int TwipsToLayoutUnits(int AValue) const = 0;

  // At the screen DPI (X and Y for the compound forms).
  int LayoutUnitsToPixels(int AValue) const { return LayoutUnitsToPixels(AValue, FScreenDpi); }
  TSize LayoutUnitsToPixels(const TSize& AValue) const { return LayoutUnitsToPixels(AValue, FScreenDpiX, FScreenDpiY); }
  int PixelsToLayoutUnits(int AValue) const { return PixelsToLayoutUnits(AValue, FScreenDpi); }
  TRect PixelsToLayoutUnits(const TRect& AValue) const { return PixelsToLayoutUnits(AValue, FScreenDpiX, FScreenDpiY); }
};

class TdxDocumentLayoutUnitPixelsConverter : public TdxDocumentLayoutUnitConverter {
  SK_CLASS(TdxDocumentLayoutUnitPixelsConverter, TdxDocumentLayoutUnitConverter)
 public:
  void Create(float ADpi);

  float Dpi() const override { return FDpi; }
  float FontSizeScale() const override;
  TdxGraphicUnit FontUnit() const override { return guPoint; }
  float GraphicsPageScale() const override { return 1; }
  TdxGraphicUnit GraphicsPageUnit() const override { return guPixel; }
  float DocumentsToFontUnitsF(float AValue) const override;
  int DocumentsToLayoutUnits(int AValue) const override;
  TdxRectF DocumentsToLayoutUnits(const TdxRectF& AValue) const override;
  TRect DocumentsToLayoutUnits(const TRect& AValue) const override;
  float InchesToFontUnitsF(float AValue) const override;
  TdxRectF LayoutUnitsToDocuments(const TdxRectF& AValue) const override;
  TRect LayoutUnitsToDocuments(const TRect& AValue) const override;
  int LayoutUnitsToHundredthsOfInch(int AValue) const override;
  TSize LayoutUnitsToHundredthsOfInch(const TSize& AValue) const override;
  int LayoutUnitsToPixels(int AValue, float ADpi) const override;
  TSize LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TPoint LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const override;
  TRect LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float LayoutUnitsToPixelsF(float AValue, float ADpi) const override;
  float LayoutUnitsToPointsF(float AValue) const override;
  std::int64_t LayoutUnitsToTwips(std::int64_t AValue) const override;
  int LayoutUnitsToTwips(int AValue) const override;
  float MillimetersToFontUnitsF(float AValue) const override;
  int PixelsToLayoutUnits(int AValue, float ADpi) const override;
  using TdxDocumentLayoutUnitConverter::PixelsToLayoutUnits;
  TSize PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TRect PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float PixelsToLayoutUnitsF(float AValue, float ADpi) const override;
  int PointsToFontUnits(int AValue) const override { return AValue; }
  float PointsToFontUnitsF(float AValue) const override { return AValue; }
  int PointsToLayoutUnits(int AValue) const override;
  float PointsToLayoutUnitsF(float AValue) const override;
  int SnapToPixels(int AValue, float) const override { return AValue; }
  std::int64_t TwipsToLayoutUnits(std::int64_t AValue) const override;
  int TwipsToLayoutUnits(int AValue) const override;
  using TdxDocumentLayoutUnitConverter::LayoutUnitsToPixels;

 private:
  float FDpi;
};

class TdxDocumentLayoutUnitTwipsConverter : public TdxDocumentLayoutUnitConverter {
  SK_CLASS(TdxDocumentLayoutUnitTwipsConverter, TdxDocumentLayoutUnitConverter)
 public:
  float Dpi() const override { return 1440; }
  float FontSizeScale() const override { return 0.05f; }
  float FontSizeScaleForPrinting() const override { return 20; }
  TdxGraphicUnit FontUnit() const override { return guPoint; }
  float GraphicsPageScale() const override { return 0.05f; }
  TdxGraphicUnit GraphicsPageUnit() const override { return guPoint; }
  float DocumentsToFontUnitsF(float AValue) const override;
  int DocumentsToLayoutUnits(int AValue) const override;
  TdxRectF DocumentsToLayoutUnits(const TdxRectF& AValue) const override;
  TRect DocumentsToLayoutUnits(const TRect& AValue) const override;
  float InchesToFontUnitsF(float AValue) const override;
  TdxRectF LayoutUnitsToDocuments(const TdxRectF& AValue) const override;
  TRect LayoutUnitsToDocuments(const TRect& AValue) const override;
  int LayoutUnitsToHundredthsOfInch(int AValue) const override;
  TSize LayoutUnitsToHundredthsOfInch(const TSize& AValue) const override;
  int LayoutUnitsToPixels(int AValue, float ADpi) const override;
  TSize LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TPoint LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const override;
  TRect LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float LayoutUnitsToPixelsF(float AValue, float ADpi) const override;
  float LayoutUnitsToPointsF(float AValue) const override;
  std::int64_t LayoutUnitsToTwips(std::int64_t AValue) const override { return AValue; }
  int LayoutUnitsToTwips(int AValue) const override { return AValue; }
  float MillimetersToFontUnitsF(float AValue) const override;
  int PixelsToLayoutUnits(int AValue, float ADpi) const override;
  using TdxDocumentLayoutUnitConverter::PixelsToLayoutUnits;
  TSize PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TRect PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float PixelsToLayoutUnitsF(float AValue, float ADpi) const override;
  int PointsToFontUnits(int AValue) const override { return AValue; }
  float PointsToFontUnitsF(float AValue) const override { return AValue; }
  int PointsToLayoutUnits(int AValue) const override { return AValue * 20; }
  float PointsToLayoutUnitsF(float AValue) const override { return AValue * 20; }
  int SnapToPixels(int AValue, float ADpi) const override;
  std::int64_t TwipsToLayoutUnits(std::int64_t AValue) const override { return AValue; }
  int TwipsToLayoutUnits(int AValue) const override { return AValue; }
  using TdxDocumentLayoutUnitConverter::LayoutUnitsToPixels;
};

class TdxDocumentLayoutUnitDocumentConverter : public TdxDocumentLayoutUnitConverter {
  SK_CLASS(TdxDocumentLayoutUnitDocumentConverter, TdxDocumentLayoutUnitConverter)
 public:
  float Dpi() const override { return 300; }
  float FontSizeScale() const override { return 1; }
  TdxGraphicUnit FontUnit() const override { return guDocument; }
  float GraphicsPageScale() const override { return 1; }
  TdxGraphicUnit GraphicsPageUnit() const override { return guDocument; }
  float DocumentsToFontUnitsF(float AValue) const override { return AValue; }
  int DocumentsToLayoutUnits(int AValue) const override { return AValue; }
  TdxRectF DocumentsToLayoutUnits(const TdxRectF& AValue) const override { return AValue; }
  TRect DocumentsToLayoutUnits(const TRect& AValue) const override { return AValue; }
  float InchesToFontUnitsF(float AValue) const override;
  TdxRectF LayoutUnitsToDocuments(const TdxRectF& AValue) const override { return AValue; }
  TRect LayoutUnitsToDocuments(const TRect& AValue) const override { return AValue; }
  int LayoutUnitsToHundredthsOfInch(int AValue) const override;
  TSize LayoutUnitsToHundredthsOfInch(const TSize& AValue) const override;
  int LayoutUnitsToPixels(int AValue, float ADpi) const override;
  TSize LayoutUnitsToPixels(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TPoint LayoutUnitsToPixels(const TPoint& AValue, float ADpiX, float ADpiY) const override;
  TRect LayoutUnitsToPixels(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float LayoutUnitsToPixelsF(float AValue, float ADpi) const override;
  float LayoutUnitsToPointsF(float AValue) const override;
  std::int64_t LayoutUnitsToTwips(std::int64_t AValue) const override;
  int LayoutUnitsToTwips(int AValue) const override;
  float MillimetersToFontUnitsF(float AValue) const override;
  int PixelsToLayoutUnits(int AValue, float ADpi) const override;
  using TdxDocumentLayoutUnitConverter::PixelsToLayoutUnits;
  TSize PixelsToLayoutUnits(const TSize& AValue, float ADpiX, float ADpiY) const override;
  TRect PixelsToLayoutUnits(const TRect& AValue, float ADpiX, float ADpiY) const override;
  float PixelsToLayoutUnitsF(float AValue, float ADpi) const override;
  int PointsToFontUnits(int AValue) const override;
  float PointsToFontUnitsF(float AValue) const override;
  int PointsToLayoutUnits(int AValue) const override;
  float PointsToLayoutUnitsF(float AValue) const override;
  int SnapToPixels(int AValue, float) const override { return AValue; }
  std::int64_t TwipsToLayoutUnits(std::int64_t AValue) const override;
  int TwipsToLayoutUnits(int AValue) const override;
  using TdxDocumentLayoutUnitConverter::LayoutUnitsToPixels;
};

// The screen DPI every converter starts with: LOGPIXELSY of the screen, read
// by the unit's start-up.
float dxScreenDpi();

void dxDocumentLayoutUnitConverterInitialization();
