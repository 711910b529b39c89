// RzCommon: colour conversions, the desktop colour scheme, styled colours and
// the frame-drawing routines.
//
// Frames are drawn with one-pixel lines whose end points are exclusive; a
// routine that draws on a side returns the rectangle shrunk by one pixel
// on that side for each line drawn there.
#include "components/settings/RzCommon.h"

#include "platform/classes/Registry.h"

#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

int GXPColorScheme = -1;

bool SystemStyleServicesProbe() { return ::IsThemeActive() && ::IsAppThemed(); }
TRzStyleServicesProbe GStyleServicesProbe = &SystemStyleServicesProbe;

// Rounds to the nearest integer, an exact half to the even neighbour.
int RoundHalfEven(double AValue) { return static_cast<int>(std::nearbyint(AValue)); }

int Channel(double AValue) { return RoundHalfEven(std::min(AValue, 1.0) * 255.0); }

struct TLinePair {
  TColor First;   // left and top
  TColor Second;  // right and bottom
};

struct TTwoLineFrame {
  TLinePair Outer;
  TLinePair Inner;
};

TRect TwoLines(TCanvas* ACanvas, const TRect& R, const TSides& ASides, const TTwoLineFrame& AFrame) {
  ACanvas->Pen()->SetWidth(1);
  const TRect inner = DrawFrameSides(ACanvas, R, GetStyledSystemColor(nullptr, AFrame.Outer.First), ASides,
                                     GetStyledSystemColor(nullptr, AFrame.Outer.Second));
  return DrawFrameSides(ACanvas, inner, GetStyledSystemColor(nullptr, AFrame.Inner.First), ASides,
                        GetStyledSystemColor(nullptr, AFrame.Inner.Second));
}

void SetPixel(TCanvas* ACanvas, int X, int Y, TColor AColor) { ACanvas->SetPixels(X, Y, AColor); }

TRect Groove(TCanvas* ACanvas, const TRect& R, const TSides& ASides, TColor C1, TColor C2) {
  const bool left = ASides.Contains(sdLeft);
  const bool top = ASides.Contains(sdTop);
  const bool right = ASides.Contains(sdRight);
  const bool bottom = ASides.Contains(sdBottom);
  // The corner pixels where the two lines of a side meet the other sides.
  if (right) SetPixel(ACanvas, R.Right - 1, R.Top, C2);
  else if (top) SetPixel(ACanvas, R.Right - 1, R.Top, C1);
  if (bottom) SetPixel(ACanvas, R.Left, R.Bottom - 1, C2);
  else if (left) SetPixel(ACanvas, R.Left, R.Bottom - 1, C1);
  if (top && !left) SetPixel(ACanvas, R.Left, R.Top + 1, C2);
  if (left && !top) SetPixel(ACanvas, R.Left + 1, R.Top, C2);
  if (bottom && !right) SetPixel(ACanvas, R.Right - 1, R.Bottom - 2, C1);
  if (right && !bottom) SetPixel(ACanvas, R.Right - 2, R.Bottom - 1, C1);
  ACanvas->Pen()->SetWidth(1);
  DrawFrameSides(ACanvas, TRect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), C2, ASides, C2);
  DrawFrameSides(ACanvas, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), C1, ASides, C1);
  TRect result = R;
  if (left) result.Left += 2;
  if (top) result.Top += 2;
  if (right) result.Right -= 2;
  if (bottom) result.Bottom -= 2;
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colours

TRzHSL ColorToHSL(TColor AColor) {
  const COLORREF rgb = ColorToColorRef(AColor);
  const double r = GetRValue(rgb) / 255.0;
  const double g = GetGValue(rgb) / 255.0;
  const double b = GetBValue(rgb) / 255.0;
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  const double l = (high + low) / 2;
  double h = 0;
  double s = 0;
  if (high != low) {
    const double d = high - low;
    s = l < 0.5 ? d / (high + low) : d / (2 - high - low);
    if (r == high) h = (g - b) / d;
    else if (g == high) h = (b - r) / d + 2;
    else h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
  }
  return TRzHSL{static_cast<std::uint8_t>(RoundHalfEven(h * 240)), static_cast<std::uint8_t>(RoundHalfEven(s * 240)),
                static_cast<std::uint8_t>(RoundHalfEven(l * 240))};
}

TColor HSLToColor(int H, int S, int L) {
  const double l = L / 240.0;
  const double s = S / 240.0;
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (q <= 0) return clBlack;
  // 239, not 240: a hue of 240 lands just past the last sextant.
  const double h6 = H / 239.0 * 6;
  const int sextant = static_cast<int>(h6);
  const double p = 2 * l - q;
  const double fraction = h6 - sextant;
  const double rising = p + (q - p) * fraction;
  const double falling = q - (q - p) * fraction;
  double r, g, b;
  switch (sextant) {
    case 1: r = falling; g = q; b = p; break;
    case 2: r = p; g = q; b = rising; break;
    case 3: r = p; g = falling; b = q; break;
    case 4: r = rising; g = p; b = q; break;
    case 5: r = q; g = p; b = falling; break;
    default: r = q; g = rising; b = p; break;
  }
  return TColor(static_cast<std::int32_t>(RGB(Channel(r), Channel(g), Channel(b))));
}

TColor DarkenColor(TColor AColor, int AAmount) {
  const TRzHSL hsl = ColorToHSL(AColor);
  return HSLToColor(hsl.H, hsl.S, std::max(hsl.L - AAmount, 0));
}

TColor LightenColor(TColor AColor, int AAmount) {
  const TRzHSL hsl = ColorToHSL(AColor);
  // Up to 255, not 240: lightness above 240 reaches white through the channel cap.
  return HSLToColor(hsl.H, hsl.S, std::min(hsl.L + AAmount, 255));
}

TColor AdjustColor(TColor AColor, int AAmount) {
  if (AAmount > 0) return LightenColor(AColor, AAmount);
  if (AAmount < 0) return DarkenColor(AColor, -AAmount);
  return AColor;
}

int ReadXPColorScheme() {
  String name;
  TRegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", 0,
                      KEY_READ, key.Receive()) == ERROR_SUCCESS) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), L"ColorName", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size < 4096) {
      std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
      if (::RegQueryValueExW(key.Get(), L"ColorName", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
          ERROR_SUCCESS)
        name = buffer.c_str();
    }
  }
  name = UpperCase(name);
  GXPColorScheme = name == L"HOMESTEAD" ? 1 : name == L"METALLIC" ? 2 : 0;
  return GXPColorScheme;
}

int GetXPColorScheme() { return GXPColorScheme < 0 ? ReadXPColorScheme() : GXPColorScheme; }

bool IsSystemStyle() { return true; }

bool StyleServicesEnabled() { return GStyleServicesProbe ? GStyleServicesProbe() : SystemStyleServicesProbe(); }

TRzStyleServicesProbe SetStyleServicesProbe(TRzStyleServicesProbe AProbe) {
  const TRzStyleServicesProbe old = GStyleServicesProbe;
  GStyleServicesProbe = AProbe ? AProbe : &SystemStyleServicesProbe;
  return old;
}

TRzFrameColors GetFrameColors(TControl* AControl, TFramingPreference APreference) {
  if (APreference == fpXPThemes && StyleServicesEnabled()) {
    static constexpr std::int32_t schemes[3][2] = {
        {0xEABB99, 0xFFEFE3}, {0x92C7B8, 0xEDFFFF}, {0xD0BCBD, 0xFFF9F9}};
    const int scheme = std::clamp(GetXPColorScheme(), 0, 2);
    return TRzFrameColors{TColor(schemes[scheme][0]), TColor(schemes[scheme][1]), TColor(schemes[scheme][0])};
  }
  const TColor face = GetStyledSystemColor(AControl, clBtnFace);
  return TRzFrameColors{DarkenColor(face, 20), GetStyledSystemColor(AControl, clWindow), DarkenColor(face, 40)};
}

// The class library has no styles of its own beyond the system's: colours
// stay as they are and fonts keep their own colour.
TColor GetStyledSystemColor(TControl*, TColor AColor) { return AColor; }

TColor GetStyledFontColor(TControl*, TRzStyleFont) { return clNone; }

bool UsesStyledFont(TControl* AControl) {
  return IsSystemStyle() || !AControl || AControl->StyleElements().Contains(seFont);
}

// ---------------------------------------------------------------------------
// Frames

TRect DrawFrameSides(TCanvas* ACanvas, const TRect& R, TColor AColor1, const TSides& ASides, TColor AColor2) {
  if (AColor1 != clNone) {
    ACanvas->Pen()->SetColor(AColor1);
    if (ASides.Contains(sdLeft)) {
      ACanvas->MoveTo(R.Left, R.Top);
      ACanvas->LineTo(R.Left, R.Bottom);
    }
    if (ASides.Contains(sdTop)) {
      ACanvas->MoveTo(R.Left, R.Top);
      ACanvas->LineTo(R.Right, R.Top);
    }
  }
  if (AColor2 != clNone) {
    ACanvas->Pen()->SetColor(AColor2);
    if (ASides.Contains(sdRight)) {
      ACanvas->MoveTo(R.Right - 1, R.Top);
      ACanvas->LineTo(R.Right - 1, R.Bottom);
    }
    if (ASides.Contains(sdBottom)) {
      ACanvas->MoveTo(R.Left, R.Bottom - 1);
      ACanvas->LineTo(R.Right, R.Bottom - 1);
    }
  }
  TRect result = R;
  if (ASides.Contains(sdLeft)) ++result.Left;
  if (ASides.Contains(sdTop)) ++result.Top;
  if (ASides.Contains(sdRight)) --result.Right;
  if (ASides.Contains(sdBottom)) --result.Bottom;
  return result;
}

TRect DrawFrameLines(TCanvas* ACanvas, const TRect& R, TColor AColor1, const TSides& ASides, TColor AColor2,
                     int ACount) {
  ACanvas->Pen()->SetWidth(1);
  TRect result = R;
  for (int i = 0; i < ACount; ++i) result = DrawFrameSides(ACanvas, result, AColor1, ASides, AColor2);
  return result;
}

TRect DrawStyledFrame(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle, const TSides& ASides) {
  static constexpr TTwoLineFrame raised{{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
  static constexpr TTwoLineFrame lowered{{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
  if (AStyle == fsRaised) return TwoLines(ACanvas, R, ASides, raised);
  if (AStyle == fsLowered) return TwoLines(ACanvas, R, ASides, lowered);
  return R;
}

TRect DrawThemedFrame(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle, const TSides& ASides) {
  static constexpr TTwoLineFrame up{{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
  static constexpr TTwoLineFrame downSystem{{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};
  static constexpr TTwoLineFrame downStyled{{cl3DDkShadow, cl3DDkShadow}, {clBtnShadow, clBtnShadow}};
  if (AStyle == fsButtonUp) return TwoLines(ACanvas, R, ASides, up);
  if (AStyle == fsButtonDown) return TwoLines(ACanvas, R, ASides, IsSystemStyle() ? downSystem : downStyled);
  return R;
}

TRect DrawFrame(TCanvas* ACanvas, const TRect& R, const TSides& ASides, TFrameStyleEx AStyle) {
  auto styled = [](TColor AColor) { return GetStyledSystemColor(nullptr, AColor); };
  switch (AStyle) {
    case fsFlat:
      ACanvas->Pen()->SetWidth(1);
      return DrawFrameSides(ACanvas, R, styled(cl3DDkShadow), ASides, styled(cl3DDkShadow));
    case fsStatus:
      ACanvas->Pen()->SetWidth(1);
      return DrawFrameSides(ACanvas, R, styled(clBtnShadow), ASides, styled(clBtnHighlight));
    case fsPopup:
      ACanvas->Pen()->SetWidth(1);
      return DrawFrameSides(ACanvas, R, styled(clBtnHighlight), ASides, styled(clBtnShadow));
    case fsFlatBold:
      return DrawFrameLines(ACanvas, R, styled(clBtnShadow), ASides, styled(clBtnShadow), 2);
    case fsLowered:
    case fsRaised:
      return DrawStyledFrame(ACanvas, R, AStyle, ASides);
    case fsButtonDown:
    case fsButtonUp:
      return DrawThemedFrame(ACanvas, R, AStyle, ASides);
    case fsGroove:
    case fsFlatRounded:
      return Groove(ACanvas, R, ASides, styled(clBtnShadow), styled(clBtnHighlight));
    case fsBump:
      return Groove(ACanvas, R, ASides, styled(clBtnHighlight), styled(clBtnShadow));
    default:
      return R;
  }
}

TRect DrawFrameAllSides(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle) {
  return DrawFrame(ACanvas, R, sdAllSides, AStyle);
}

void DrawTextInRect(TCanvas* ACanvas, const String& AText, TRect R, UINT AFormat) {
  // The canvas lays out by its own text formats: each DT_ flag in AFormat
  // becomes the format that stands for it.
  TTextFormat format;
  for (int i = tfBottom; i <= tfComposited; ++i) {
    const auto item = static_cast<TTextFormats>(i);
    const UINT flag = TextFormatToDrawTextFlags(TTextFormat{item});
    if (flag != 0 && (AFormat & flag) == flag) format.Include(item);
  }
  String text = AText;
  ACanvas->TextRect(R, text, format);
}
