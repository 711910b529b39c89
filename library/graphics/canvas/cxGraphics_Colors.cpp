// Colour utilities of the graphics unit: HSL and HSV, lightness, luminance
// and contrast, blends of colours and of system colours, colour names.
#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t ClampChannel(long long AValue) { return static_cast<std::uint8_t>(std::clamp(AValue, 0LL, 255LL)); }

// A channel from 0..1 (or beyond), rounded half to even and limited to a byte.
std::uint8_t ChannelOf(double AValue) {
  if (!std::isfinite(AValue)) return 0;
  return ClampChannel(RoundToInt(std::clamp(AValue * 255, -1.0, 256.0)));
}

RGBQUAD Resolved(TColor AColor) { return ColorToQuad(AColor, 0); }

TColor ColorOf(std::uint8_t R, std::uint8_t G, std::uint8_t B) { return TColor(RGB(R, G, B)); }

// Applies AChange to each channel of the colour's RGB.
template <class F>
TColor MapChannels(TColor AColor, F AChange) {
  const RGBQUAD q = Resolved(AColor);
  return ColorOf(ClampChannel(AChange(q.rgbRed)), ClampChannel(AChange(q.rgbGreen)), ClampChannel(AChange(q.rgbBlue)));
}

// HSLToRGB's channel of a hue position T between p and q.
double HueToChannel(double p, double q, double T) {
  T -= std::floor(T);
  const double x = 6 * T;
  if (x < 1) return p + (q - p) * x;
  if (x < 3) return q;
  if (x < 4) return p + (q - p) * (4 - x);
  return p;
}

bool SameTextAscii(std::wstring_view A, std::wstring_view B) {
  const auto lower = [](wchar_t C) { return C >= L'A' && C <= L'Z' ? static_cast<wchar_t>(C + 32) : C; };
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [&](wchar_t a, wchar_t b) {
           return lower(a) == lower(b);
         });
}

constexpr TcxColorInfo ColorNames[] = {
    {L"aliceblue", TColor(0xFFF8F0)}, {L"antiquewhite", TColor(0xD7EBFA)}, {L"aqua", TColor(0xFFFF00)},
    {L"aquamarine", TColor(0xD4FF7F)}, {L"azure", TColor(0xFFFFF0)}, {L"beige", TColor(0xDCF5F5)},
    {L"bisque", TColor(0xC4E4FF)}, {L"black", TColor(0x000000)}, {L"blanchedalmond", TColor(0xCDEBFF)},
    {L"blue", TColor(0xFF0000)}, {L"blueviolet", TColor(0xE22B8A)}, {L"brown", TColor(0x2A2AA5)},
    {L"burlywood", TColor(0x87B8DE)}, {L"cadetblue", TColor(0xA09E5F)}, {L"chartreuse", TColor(0x00FF7F)},
    {L"chocolate", TColor(0x1E69D2)}, {L"coral", TColor(0x507FFF)}, {L"cornflowerblue", TColor(0xED9564)},
    {L"cornsilk", TColor(0xDCF8FF)}, {L"crimson", TColor(0x3C14DC)}, {L"cyan", TColor(0xFFFF00)},
    {L"darkblue", TColor(0x8B0000)}, {L"darkcyan", TColor(0x8B8B00)}, {L"darkgoldenrod", TColor(0x0B86B8)},
    {L"darkgray", TColor(0xA9A9A9)}, {L"darkgreen", TColor(0x006400)}, {L"darkkhaki", TColor(0x6BB7BD)},
    {L"darkmagenta", TColor(0x8B008B)}, {L"darkolivegreen", TColor(0x2F6B55)},
    {L"darkorange", TColor(0x008CFF)}, {L"darkorchid", TColor(0xCC3299)}, {L"darkred", TColor(0x00008B)},
    {L"darksalmon", TColor(0x7A96E9)}, {L"darkseagreen", TColor(0x8FBC8F)},
    {L"darkslateblue", TColor(0x8B3D48)}, {L"darkslategray", TColor(0x4F4F2F)},
    {L"darkturquoise", TColor(0xD1CE00)}, {L"darkviolet", TColor(0xD30094)}, {L"deeppink", TColor(0x9314FF)},
    {L"deepskyblue", TColor(0xFFBF00)}, {L"dimgray", TColor(0x696969)}, {L"dodgerblue", TColor(0xFF901E)},
    {L"firebrick", TColor(0x2222B2)}, {L"floralwhite", TColor(0xF0FAFF)}, {L"forestgreen", TColor(0x228B22)},
    {L"fuchsia", TColor(0xFF00FF)}, {L"gainsboro", TColor(0xDCDCDC)}, {L"ghostwhite", TColor(0xFFF8F8)},
    {L"gold", TColor(0x00D7FF)}, {L"goldenrod", TColor(0x20A5DA)}, {L"gray", TColor(0x808080)},
    {L"green", TColor(0x008000)}, {L"greenyellow", TColor(0x2FFFAD)}, {L"honeydew", TColor(0xF0FFF0)},
    {L"hotpink", TColor(0xB469FF)}, {L"indianred", TColor(0x5C5CCD)}, {L"indigo", TColor(0x82004B)},
    {L"ivory", TColor(0xF0FFFF)}, {L"khaki", TColor(0x8CE6F0)}, {L"lavender", TColor(0xFAE6E6)},
    {L"lavenderblush", TColor(0xF5F0FF)}, {L"lawngreen", TColor(0x00FC7C)},
    {L"lemonchiffon", TColor(0xCDFAFF)}, {L"lightblue", TColor(0xE6D8AD)}, {L"lightcoral", TColor(0x8080F0)},
    {L"lightcyan", TColor(0xFFFFE0)}, {L"lightgoldenrodyellow", TColor(0xD2FAFA)},
    {L"lightgreen", TColor(0x90EE90)}, {L"lightgrey", TColor(0xD3D3D3)}, {L"lightpink", TColor(0xC1B6FF)},
    {L"lightsalmon", TColor(0x7AA0FF)}, {L"lightseagreen", TColor(0xAAB220)},
    {L"lightskyblue", TColor(0xFACE87)}, {L"lightslategray", TColor(0x998877)},
    {L"lightsteelblue", TColor(0xDEC4B0)}, {L"lightyellow", TColor(0xE0FFFF)}, {L"lime", TColor(0x00FF00)},
    {L"limegreen", TColor(0x32CD32)}, {L"linen", TColor(0xE6F0FA)}, {L"magenta", TColor(0xFF00FF)},
    {L"maroon", TColor(0x000080)}, {L"mediumaquamarine", TColor(0xAACD66)}, {L"mediumblue", TColor(0xCD0000)},
    {L"mediumorchid", TColor(0xD355BA)}, {L"mediumpurple", TColor(0xDB7093)},
    {L"mediumseagreen", TColor(0x71B33C)}, {L"mediumslateblue", TColor(0xEE687B)},
    {L"mediumspringgreen", TColor(0x9AFA00)}, {L"mediumturquoise", TColor(0xCCD148)},
    {L"mediumvioletred", TColor(0x8515C7)}, {L"midnightblue", TColor(0x701919)},
    {L"mintcream", TColor(0xFAFFF5)}, {L"mistyrose", TColor(0xE1E4FF)}, {L"moccasin", TColor(0xB5E4FF)},
    {L"navajowhite", TColor(0xADDEFF)}, {L"navy", TColor(0x800000)}, {L"oldlace", TColor(0xE6F5FD)},
    {L"olive", TColor(0x008080)}, {L"olivedrab", TColor(0x238E6B)}, {L"orange", TColor(0x00A5FF)},
    {L"orangered", TColor(0x0045FF)}, {L"orchid", TColor(0xD670DA)}, {L"palegoldenrod", TColor(0xAAE8EE)},
    {L"palegreen", TColor(0x98FB98)}, {L"paleturquoise", TColor(0xEEEEAF)},
    {L"palevioletred", TColor(0x9370DB)}, {L"papayawhip", TColor(0xD5EFFF)}, {L"peachpuff", TColor(0xB9DAFF)},
    {L"peru", TColor(0x3F85CD)}, {L"pink", TColor(0xCBC0FF)}, {L"plum", TColor(0xDDA0DD)},
    {L"powderblue", TColor(0xE6E0B0)}, {L"purple", TColor(0x800080)}, {L"red", TColor(0x0000FF)},
    {L"rosybrown", TColor(0x8F8FBC)}, {L"royalblue", TColor(0xE16941)}, {L"saddlebrown", TColor(0x13458B)},
    {L"salmon", TColor(0x7280FA)}, {L"sandybrown", TColor(0x60A4F4)}, {L"seagreen", TColor(0x578B2E)},
    {L"seashell", TColor(0xEEF5FF)}, {L"sienna", TColor(0x2D52A0)}, {L"silver", TColor(0xC0C0C0)},
    {L"skyblue", TColor(0xEBCE87)}, {L"slateblue", TColor(0xCD5A6A)}, {L"slategray", TColor(0x908070)},
    {L"snow", TColor(0xFAFAFF)}, {L"springgreen", TColor(0x7FFF00)}, {L"steelblue", TColor(0xB48246)},
    {L"tan", TColor(0x8CB4D2)}, {L"teal", TColor(0x808000)}, {L"thistle", TColor(0xD8BFD8)},
    {L"tomato", TColor(0x4763FF)}, {L"turquoise", TColor(0xD0E040)}, {L"violet", TColor(0xEE82EE)},
    {L"wheat", TColor(0xB3DEF5)}, {L"white", TColor(0xFFFFFF)}, {L"whitesmoke", TColor(0xF5F5F5)},
    {L"yellow", TColor(0x00FFFF)}, {L"yellowgreen", TColor(0x32CD9A)},
    {L"activeborder", clActiveBorder}, {L"activecaption", clActiveCaption}, {L"appworkspace", clAppWorkSpace},
    {L"background", clBackground}, {L"buttonface", clBtnFace}, {L"buttonhighlight", clBtnHighlight},
    {L"buttonshadow", clBtnShadow}, {L"buttontext", clBtnText}, {L"captiontext", clCaptionText},
    {L"graytext", clGrayText}, {L"highlight", clHighlight}, {L"highlighttext", clHighlightText},
    {L"inactiveborder", clInactiveBorder}, {L"inactivecaption", clInactiveCaption},
    {L"inactivecaptiontext", clInactiveCaptionText}, {L"infobackground", clInfoBk}, {L"infotext", clInfoText},
    {L"menu", clMenu}, {L"menutext", clMenuText}, {L"scrollbar", clScrollBar}, {L"threeddarkshadow", cl3DDkShadow},
    {L"threedface", clBtnFace}, {L"threedhighlight", clHighlightText}, {L"threedlightshadow", cl3DLight},
    {L"threedshadow", clBtnShadow}, {L"window", clWindow}, {L"windowframe", clWindowFrame},
    {L"windowtext", clWindowText},
};
static_assert(std::size(ColorNames) == 168);

}  // namespace

// ---------------------------------------------------------------------------
// HSL

TdxHSL TdxColorUtils::RGBToHSL(const RGBQUAD& ARGB) {
  const double r = ARGB.rgbRed / 255.0;
  const double g = ARGB.rgbGreen / 255.0;
  const double b = ARGB.rgbBlue / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  TdxHSL result;
  result.L = (max + min) / 2;
  if (max == min) return result;
  const double d = max - min;
  result.S = result.L < 0.5 ? d / (max + min) : d / (2 - max - min);
  const double sixths = max == r ? (g - b) / d : max == g ? (b - r) / d + 2 : (r - g) / d + 4;
  result.H = sixths / 6;
  if (result.H < 0) result.H += 1;
  return result;
}

TdxHSL TdxColorUtils::AlphaColorToHSL(TdxAlphaColor AColor) { return RGBToHSL(AlphaColorToRGBQuad(AColor)); }

TdxHSL TdxColorUtils::AlphaColorToHSL(TdxAlphaColor AColor, std::uint8_t& AAlpha) {
  AAlpha = AlphaOf(AColor);
  return AlphaColorToHSL(AColor);
}

TdxHSL TdxColorUtils::ColorToHSL(TColor AColor) {
  if (!IsColorValid(AColor)) return TdxHSL();
  return RGBToHSL(Resolved(AColor));
}

void TdxColorUtils::HSLToRGB(double H, double S, double L, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
  if (S == 0) {
    R = G = B = ChannelOf(L);
    return;
  }
  const double q = L <= 0.5 ? L * (1 + S) : L + S - L * S;
  const double p = 2 * L - q;
  R = ChannelOf(HueToChannel(p, q, H + 1.0 / 3));
  G = ChannelOf(HueToChannel(p, q, H));
  B = ChannelOf(HueToChannel(p, q, H - 1.0 / 3));
}

RGBQUAD TdxColorUtils::HSLToRGB(double H, double S, double L) {
  RGBQUAD result{0, 0, 0, 255};
  HSLToRGB(H, S, L, result.rgbRed, result.rgbGreen, result.rgbBlue);
  return result;
}

RGBQUAD TdxColorUtils::HSLToRGB(const TdxHSL& AHSL) { return HSLToRGB(AHSL.H, AHSL.S, AHSL.L); }

TColor TdxColorUtils::HSLToColor(double H, double S, double L) {
  const RGBQUAD q = HSLToRGB(H, S, L);
  return ColorOf(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

TColor TdxColorUtils::HSLToColor(const TdxHSL& AHSL) { return HSLToColor(AHSL.H, AHSL.S, AHSL.L); }

TdxAlphaColor TdxColorUtils::HSLToAlphaColor(const TdxHSL& AHSL, std::uint8_t AAlpha) {
  const RGBQUAD q = HSLToRGB(AHSL);
  return ComposeAlphaColor(AAlpha, q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// ---------------------------------------------------------------------------
// HSV

TdxHSV TdxColorUtils::RGBToHSV(const RGBQUAD& ARGB) {
  const int r = ARGB.rgbRed;
  const int g = ARGB.rgbGreen;
  const int b = ARGB.rgbBlue;
  const int max = std::max({r, g, b});
  const int min = std::min({r, g, b});
  TdxHSV result;
  result.V = max / 255.0;
  result.S = result.V != 0 ? 1 - static_cast<double>(min) / max : 0;
  if (max == min) return result;
  const double d = max - min;
  result.H = max == r ? 60 * (g - b) / d : max == g ? 60 * (b - r) / d + 120 : 60 * (r - g) / d + 240;
  if (result.H < 0) result.H += 360;
  return result;
}

TdxHSV TdxColorUtils::ColorToHSV(TColor AColor) {
  if (!IsColorValid(AColor)) return TdxHSV();
  return RGBToHSV(Resolved(AColor));
}

TColor TdxColorUtils::HSVToColor(double H, double S, double V) {
  // A hue of a full turn or more (or below 0) wraps whole, so that the
  // sector and its fraction agree.
  H = std::isfinite(H) ? std::fmod(H, 360.0) : 0;
  if (H < 0) H += 360;
  S = std::isfinite(S) ? std::clamp(S, 0.0, 1.0) : 0;
  V = std::isfinite(V) ? std::clamp(V, 0.0, 1.0) : 0;
  const int v = RoundToInt(V * 255);
  const int i = std::min(TruncToInt(H / 60), 5);
  const double f = H / 60 - i;
  const auto scaled = [v](double AFactor) { return ClampChannel(RoundToInt(v * AFactor)); };
  const std::uint8_t p = scaled(1 - S);
  const std::uint8_t q = scaled(1 - S * f);
  const std::uint8_t t = scaled(1 - S * (1 - f));
  const std::uint8_t w = ClampChannel(v);
  switch (i) {
    case 0: return ColorOf(w, t, p);
    case 1: return ColorOf(q, w, p);
    case 2: return ColorOf(p, w, t);
    case 3: return ColorOf(p, q, w);
    case 4: return ColorOf(t, p, w);
    default: return ColorOf(w, p, q);
  }
}

TColor TdxColorUtils::HSVToColor(const TdxHSV& AHSV) { return HSVToColor(AHSV.H, AHSV.S, AHSV.V); }

TdxHSV ColorToHSV(TColor AColor) { return TdxColorUtils::ColorToHSV(AColor); }
TColor HSVToColor(const TdxHSV& AHSV) { return TdxColorUtils::HSVToColor(AHSV); }

// ---------------------------------------------------------------------------
// Lightness and saturation

TColor TdxColorUtils::ChangeLightness(TColor AColor, double ALightnessDelta) {
  TdxHSL hsl = ColorToHSL(AColor);
  hsl.L = std::clamp(hsl.L + ALightnessDelta, 0.0, 1.0);
  return HSLToColor(hsl);
}

TColor TdxColorUtils::ChangeSaturation(TColor AColor, double ASaturationDelta) {
  TdxHSL hsl = ColorToHSL(AColor);
  hsl.S = std::clamp(hsl.S + ASaturationDelta, 0.0, 1.0);
  return HSLToColor(hsl);
}

TColor TdxColorUtils::MultiplyLightness(TColor AColor, double AFactor) {
  TdxHSL hsl = ColorToHSL(AColor);
  hsl.L *= AFactor;
  return HSLToColor(hsl);
}

TColor TdxColorUtils::InvertLightness(TColor AColor) {
  TdxHSL hsl = ColorToHSL(AColor);
  hsl.L = 1 - hsl.L;
  return HSLToColor(hsl);
}

TdxAlphaColor TdxColorUtils::InvertLightness(TdxAlphaColor AColor) {
  std::uint8_t alpha;
  TdxHSL hsl = AlphaColorToHSL(AColor, alpha);
  hsl.L = 1 - hsl.L;
  return HSLToAlphaColor(hsl, alpha);
}

TColor TdxColorUtils::Colorize(TColor ABaseColor, TColor AColor) {
  const TdxHSL base = ColorToHSL(ABaseColor);
  return HSLToColor(ColorToHSL(AColor).H, std::clamp(base.S, 0.6, 0.9), std::clamp(base.L, 0.4, 0.8));
}

// ---------------------------------------------------------------------------
// Luminance and contrast

double TdxColorUtils::ComponentToXYZ(std::uint8_t AComponent) {
  const double c = AComponent / 255.0;
  return c < 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double TdxColorUtils::Luminance(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
  return 0.2126 * ComponentToXYZ(R) + 0.7152 * ComponentToXYZ(G) + 0.0722 * ComponentToXYZ(B);
}

double TdxColorUtils::Luminance(TColor AColor) {
  const RGBQUAD q = Resolved(AColor);
  return Luminance(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

double TdxColorUtils::Contrast(TColor AForegroundColor, TColor ABackgroundColor) {
  const double fore = Luminance(AForegroundColor);
  const double back = Luminance(ABackgroundColor);
  return (std::max(fore, back) + 0.05) / (std::min(fore, back) + 0.05);
}

TColor TdxColorUtils::MakeForegroundColor(TColor ABackgroundColor) {
  const TdxHSL hsl = ColorToHSL(ABackgroundColor);
  for (const double lightness : {0.05, 0.95}) {
    const TColor candidate = HSLToColor(hsl.H, hsl.S, lightness);
    if (Contrast(candidate, ABackgroundColor) > 4.5) return candidate;
  }
  return clDefault;
}

// ---------------------------------------------------------------------------
// Unit routines

bool IsColorValid(TColor AColor) { return AColor != clNone && AColor != clDefault; }

TColor ResolveDefaultColor(TColor AColor, TColor ADefault) { return AColor == clDefault ? ADefault : AColor; }

bool ColorsEqual(TColor AColor1, TColor AColor2) { return AColor1 == AColor2; }

void SwapColors(TColor& A, TColor& B) { std::swap(A, B); }

TColor InvertColor(TColor AColor) { return TColor(ColorToColorRef(AColor) ^ 0xFFFFFF); }

TColor GetNearestScreenColor(TColor AColor) {
  const TScreenDC screen;
  return TColor(GetNearestColor(screen.Get(), ColorToColorRef(AColor)) & 0xFFFFFF);
}

TColor BlendColors(TColor AColor1, TColor AColor2, int AWeight) {
  const RGBQUAD a = Resolved(AColor1);
  const RGBQUAD b = Resolved(AColor2);
  const auto blend = [AWeight](int c1, int c2) {
    return ClampChannel(static_cast<long long>(MulDiv(c2, 100 - AWeight, 100)) + MulDiv(c1, AWeight, 100));
  };
  return GetNearestScreenColor(
      ColorOf(blend(a.rgbRed, b.rgbRed), blend(a.rgbGreen, b.rgbGreen), blend(a.rgbBlue, b.rgbBlue)));
}

TColor ScaleColorChannels(TColor AColor, int APercent) {
  return MapChannels(AColor, [APercent](int c) { return static_cast<long long>(APercent) * c / 100; });
}

TColor FadeColorToWhite(TColor AColor, int APercent) {
  return MapChannels(AColor, [APercent](int c) {
    return static_cast<long long>(std::trunc(255 - (255 - c) * static_cast<double>(APercent) / 100));
  });
}

TColor ChangeColorBrightness(TColor AColor, int APercent) {
  TdxHSV hsv = ColorToHSV(AColor);
  if (APercent < 0) {
    const double p = -APercent;
    if (hsv.S != 0) hsv.S = std::clamp(hsv.S + (1 - hsv.S) * p / 100, 0.0, 1.0);
    hsv.V -= p * hsv.V / 100;
  } else {
    const double p = APercent;
    if (hsv.S != 0) hsv.S = std::clamp(hsv.S - hsv.S * p / 100, 0.0, 1.0);
    hsv.V += (1 - hsv.V) * p / 100;
  }
  hsv.V = std::clamp(hsv.V, 0.0, 1.0);
  return HSVToColor(hsv);
}

TColor BlendSystemColors(int AFaceWeight, int AHighlightWeight, int AWindowWeight) {
  const RGBQUAD face = Resolved(clBtnFace);
  const RGBQUAD highlight = Resolved(clHighlight);
  const RGBQUAD window = Resolved(clWindow);
  const COLORREF faceRgb = ColorToColorRef(clBtnFace);
  const COLORREF highlightRgb = ColorToColorRef(clHighlight);
  if ((faceRgb == 0 || faceRgb == 0xFFFFFF) && highlightRgb != 0) return TColor(highlightRgb);
  const auto blend = [&](std::uint8_t f, std::uint8_t h, std::uint8_t w) {
    return ClampChannel(static_cast<long long>(MulDiv(f, AFaceWeight, 100)) + MulDiv(h, AHighlightWeight, 100) +
                        MulDiv(w, AWindowWeight, 100));
  };
  return ColorOf(blend(face.rgbRed, highlight.rgbRed, window.rgbRed),
                 blend(face.rgbGreen, highlight.rgbGreen, window.rgbGreen),
                 blend(face.rgbBlue, highlight.rgbBlue, window.rgbBlue));
}

TColor GetLightHighlightColor() { return GetNearestScreenColor(BlendSystemColors(14, 44, 40)); }

TColor GetLighterHighlightColor() { return GetNearestScreenColor(BlendSystemColors(-2, 30, 72)); }

bool IsButtonFaceBlack() { return ColorToColorRef(clBtnFace) == 0; }

bool IsHighContrastBlackScheme() { return IsButtonFaceBlack() && ColorToColorRef(clBtnText) != 0xFFFFFF; }

std::span<const TcxColorInfo> cxColorNames() { return ColorNames; }

bool FindColorByName(const String& AName, TColor& AColor) {
  for (const TcxColorInfo& info : ColorNames)
    if (SameTextAscii(info.Name, AName)) {
      AColor = info.Color;
      return true;
    }
  return false;
}
