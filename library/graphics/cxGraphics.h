// The graphics unit: colour utilities, the solid brush cache and regions.
//
// Classes in this file:
//   TdxHSL, TdxHSV               hue, saturation and lightness or value
//   TdxColorUtils                RGB, HSL and HSV conversions, lightness,
//                                luminance and contrast (cxGraphics_Colors.cpp)
//   TcxColorInfo                 a colour name and its TColor
//   TdxSolidBrushCacheManager    the bounded cache of solid brushes by colour
//   TdxSolidBrushCache           hands out the cached brushes
//   TcxRegionOperation           how two regions combine
//   TcxRegion                    owns one GDI region
//
// Colours given as TColor are resolved first: system colours become their
// current RGB. Everything here belongs to the UI thread.
#pragma once

#include "library/core/dxCoreGraphics.h"

#include <span>
#include <string_view>

// ---------------------------------------------------------------------------
// Colour utilities

// H is a fraction of a full turn, [0, 1); S and L lie in [0, 1].
struct TdxHSL {
  double H = 0;
  double S = 0;
  double L = 0;
};

// H in degrees, [0, 360); S and V lie in [0, 1].
struct TdxHSV {
  double H = 0;
  double S = 0;
  double V = 0;
};

class TdxColorUtils {
 public:
  TdxColorUtils() = delete;

  static TdxHSL RGBToHSL(const RGBQUAD& ARGB);
  static TdxHSL AlphaColorToHSL(TdxAlphaColor AColor);
  static TdxHSL AlphaColorToHSL(TdxAlphaColor AColor, std::uint8_t& AAlpha);
  // All zero for clNone and clDefault.
  static TdxHSL ColorToHSL(TColor AColor);

  // Channels outside 0..255 (a lightness above 1) are clamped.
  static void HSLToRGB(double H, double S, double L, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);
  // rgbReserved is 255.
  static RGBQUAD HSLToRGB(double H, double S, double L);
  static RGBQUAD HSLToRGB(const TdxHSL& AHSL);
  static TColor HSLToColor(double H, double S, double L);
  static TColor HSLToColor(const TdxHSL& AHSL);
  static TdxAlphaColor HSLToAlphaColor(const TdxHSL& AHSL, std::uint8_t AAlpha);

  static TdxHSV RGBToHSV(const RGBQUAD& ARGB);
  // All zero for clNone and clDefault.
  static TdxHSV ColorToHSV(TColor AColor);
  // Any hue is taken modulo 360; S and V are limited to [0, 1].
  static TColor HSVToColor(double H, double S, double V);
  static TColor HSVToColor(const TdxHSV& AHSV);

  // L + delta and S + delta, limited to [0, 1]; L x factor unlimited (the
  // channels are limited instead).
  static TColor ChangeLightness(TColor AColor, double ALightnessDelta);
  static TColor ChangeSaturation(TColor AColor, double ASaturationDelta);
  static TColor MultiplyLightness(TColor AColor, double AFactor);
  // L becomes 1 - L.
  static TColor InvertLightness(TColor AColor);
  static TdxAlphaColor InvertLightness(TdxAlphaColor AColor);
  // The hue of AColor with ABaseColor's saturation (within [0.6, 0.9]) and
  // lightness (within [0.4, 0.8]).
  static TColor Colorize(TColor ABaseColor, TColor AColor);

  // The linear value of an sRGB channel.
  static double ComponentToXYZ(std::uint8_t AComponent);
  // Relative luminance, 0 (black) to 1 (white).
  static double Luminance(std::uint8_t R, std::uint8_t G, std::uint8_t B);
  static double Luminance(TColor AColor);
  // The contrast ratio, 1 to 21.
  static double Contrast(TColor AForegroundColor, TColor ABackgroundColor);
  // The background's hue and saturation at lightness 0.05 or else 0.95,
  // whichever first has a contrast above 4.5; clDefault when neither has.
  static TColor MakeForegroundColor(TColor ABackgroundColor);
};

TdxHSV ColorToHSV(TColor AColor);
TColor HSVToColor(const TdxHSV& AHSV);

// False for clNone and clDefault.
bool IsColorValid(TColor AColor);
// ADefault when AColor is clDefault.
TColor ResolveDefaultColor(TColor AColor, TColor ADefault);
// The values themselves: a system colour and its RGB differ.
bool ColorsEqual(TColor AColor1, TColor AColor2);
void SwapColors(TColor& A, TColor& B);
// The RGB with all three channels inverted.
TColor InvertColor(TColor AColor);
// The nearest colour the screen can show.
TColor GetNearestScreenColor(TColor AColor);
// Per channel AWeight % of AColor1 and (100 - AWeight) % of AColor2.
TColor BlendColors(TColor AColor1, TColor AColor2, int AWeight);
// Per channel APercent % of the channel.
TColor ScaleColorChannels(TColor AColor, int APercent);
// Each channel APercent % of the way from white to the channel.
TColor FadeColorToWhite(TColor AColor, int APercent);
// Lighter for a positive, darker for a negative percentage (in HSV).
TColor ChangeColorBrightness(TColor AColor, int APercent);
// Per channel a weighted sum of the button-face, highlight and window
// colours (signed percentages); the highlight colour itself on a black or
// white button face.
TColor BlendSystemColors(int AFaceWeight, int AHighlightWeight, int AWindowWeight);
TColor GetLightHighlightColor();
TColor GetLighterHighlightColor();
bool IsButtonFaceBlack();
// A black button face with text that is not white.
bool IsHighContrastBlackScheme();

struct TcxColorInfo {
  std::wstring_view Name;
  TColor Color;
};
// The CSS colour keywords of the classic set and the CSS system-colour
// keywords, searched in this order.
std::span<const TcxColorInfo> cxColorNames();
// The first entry named AName, ignoring ASCII case.
bool FindColorByName(const String& AName, TColor& AColor);

// ---------------------------------------------------------------------------
// Solid brush cache

using TdxSolidBrushCacheBase = TdxValueCacheManager<TColor, HBRUSH>;

// Deletes the brushes that leave it.
class TdxSolidBrushCacheManager : public TdxSolidBrushCacheBase {
  SK_CLASS(TdxSolidBrushCacheManager, TdxSolidBrushCacheBase)
 public:
  // The handler of the system colours' change: every brush goes.
  void SystemPaletteChanged(TObject* Sender);

 protected:
  void ValueRemoved(const HBRUSH& AValue) override;
};

// One solid brush per colour, at most 128 alive, the oldest going first. The
// brushes belong to the cache: callers select them for one drawing call and
// never delete them. The key is the TColor itself, so a system colour and
// its RGB are two brushes; a change of the system colours empties the
// cache.
class TdxSolidBrushCache {
 public:
  static constexpr int Capacity = 128;

  TdxSolidBrushCache() = delete;

  // Nil outside the unit's lifetime.
  static HBRUSH Get(TColor AColor);
  static void Clear();
};

// ---------------------------------------------------------------------------
// Regions

// RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND.
enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };

// Owns one GDI region (or none). Operations on an object without a region
// pass nil to the system, which fails quietly.
class TcxRegion : public TObject {
  SK_CLASS(TcxRegion, TObject)
 public:
  // Takes over AHandle (nil allowed).
  void Create(HRGN AHandle);
  void Create(const TRect& ABounds);
  void Create(int ALeft, int ATop, int ARight, int ABottom);
  // A valid, empty region.
  void Create();
  // The window's region, else its rectangle at the origin. ADummy is not used.
  void CreateFromWindow(HWND AHandle, int ADummy = 0);
  // The system's rounded rectangle from (ALeft + 1, ATop + 1) to (ARight,
  // ABottom).
  void CreateRoundCorners(int ALeft, int ATop, int ARight, int ABottom, int AWidthEllipse, int AHeightEllipse);
  void CreateRoundCorners(const TRect& ABounds, int AWidthEllipse, int AHeightEllipse);
  void Destroy() override;

  HRGN Handle() const { return FHandle.Get(); }
  // No side effects: the old region is neither deleted nor kept (a holder
  // takes the region over by setting nil).
  void SetHandle(HRGN AValue);
  // The bounding box; (0, 0, 0, 0) for an empty region.
  TRect BoundsRect() const;
  bool IsEmpty() const;

  TOwned<TcxRegion> Clone() const;
  // roSet copies ARegionHandle; the others combine it into this region.
  void Combine(HRGN ARegionHandle, TcxRegionOperation AOperation);
  // Frees ARegion afterwards when ADestroyRegion is set.
  void Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion);
  void Combine(const TRect& R, TcxRegionOperation AOperation);
  bool IsEqual(HRGN ARegionHandle) const;
  // False for nil; true when both are empty.
  bool IsEqual(const TcxRegion* ARegion) const;
  void Offset(const TPoint& P) { Offset(P.X, P.Y); }
  void Offset(int DX, int DY);
  bool PtInRegion(const TPoint& Pt) const { return PtInRegion(Pt.X, Pt.Y); }
  bool PtInRegion(int X, int Y) const;
  // Whether any part of the rectangle lies in the region.
  bool RectInRegion(const TRect& R) const;
  bool RectInRegion(int ALeft, int ATop, int ARight, int ABottom) const {
    return RectInRegion(TRect(ALeft, ATop, ARight, ABottom));
  }

 private:
  TOwnedRegion FHandle;
};

// The unit's start-up and shut-down.
void cxGraphicsInitialization();
void cxGraphicsFinalization();
