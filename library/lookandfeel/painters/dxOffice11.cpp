#include "library/lookandfeel/painters/dxOffice11.h"

#include "library/core/base/dxCore.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <array>

namespace {

constexpr int ColorCount = Office11GroupRowTextColor + 1;

// The scheme table's rows for the colours the library reads: blue, olive
// and silver.
struct TSchemeColors {
  TdxOffice11Color Color;
  std::array<COLORREF, 3> Values;
};
constexpr TSchemeColors SchemeTable[] = {
    {Office11GradientLightColor, {RGB(221, 236, 254), RGB(244, 247, 222), RGB(243, 244, 250)}},
    {Office11GradientDarkColor, {RGB(129, 169, 226), RGB(183, 198, 145), RGB(153, 151, 181)}},
    {Office11BackgroundColor, {RGB(158, 190, 245), RGB(217, 217, 167), RGB(215, 215, 229)}},
    {Office11ControlColor, {RGB(195, 218, 249), RGB(242, 240, 228), RGB(243, 243, 247)}},
    {Office11GroupByBoxColor1, {RGB(0, 53, 145), RGB(96, 119, 107), RGB(118, 116, 146)}},
    {Office11GroupByBoxColor2, {RGB(123, 164, 224), RGB(181, 196, 143), RGB(147, 145, 176)}},
    {Office11GripDarkColor, {RGB(39, 65, 118), RGB(81, 94, 51), RGB(84, 84, 117)}},
    {Office11GripLightColor, {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)}},
    {Office11SeparatorDarkColor, {RGB(106, 140, 203), RGB(96, 128, 88), RGB(110, 109, 143)}},
    {Office11SeparatorLightColor, {RGB(241, 249, 255), RGB(244, 247, 222), RGB(255, 255, 255)}},
    {Office11FilterBoxColor, {RGB(42, 102, 201), RGB(116, 134, 94), RGB(122, 121, 153)}},
    {Office11FrameColor, {RGB(0, 45, 150), RGB(117, 141, 94), RGB(124, 124, 148)}},
    {Office11DropDownBackgroundColor, {RGB(246, 246, 246), RGB(244, 244, 238), RGB(253, 250, 255)}},
    {Office11HighlightBorderColor, {RGB(0, 0, 128), RGB(63, 93, 56), RGB(75, 75, 111)}},
    {Office11HotColor, {RGB(255, 244, 204), RGB(255, 244, 204), RGB(255, 244, 204)}},
    {Office11HotColor2, {RGB(255, 208, 145), RGB(255, 208, 145), RGB(255, 208, 145)}},
    {Office11PressedColor, {RGB(255, 211, 142), RGB(255, 211, 142), RGB(255, 211, 142)}},
    {Office11PressedColor2, {RGB(254, 145, 78), RGB(254, 145, 78), RGB(254, 145, 78)}},
    {Office11PressedDarkColor, {RGB(255, 192, 111), RGB(255, 192, 111), RGB(255, 192, 111)}},
    {Office11TextColor, {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)}},
    {Office11DisabledTextColor, {RGB(141, 141, 141), RGB(141, 141, 141), RGB(141, 141, 141)}},
    {Office11GroupColor, {RGB(190, 218, 251), RGB(175, 186, 145), RGB(229, 229, 235)}},
    {Office11DateNavigatorSelectionColor, {RGB(251, 230, 148), RGB(251, 230, 148), RGB(251, 230, 148)}},
    {Office11SchedulerControlColor, {RGB(196, 218, 250), RGB(242, 241, 228), RGB(243, 243, 247)}},
    {Office11SchedulerBorderColor, {RGB(0, 45, 150), RGB(96, 128, 88), RGB(124, 124, 148)}},
    {Office11GroupRowTextColor, {RGB(55, 104, 185), RGB(115, 137, 84), RGB(112, 111, 145)}},
};
constexpr std::array<int, 3> SchemeGradientBend = {41, 125, 40};
constexpr int NoSchemeGradientBend = 75;

struct TColorSet {
  std::array<TColor, ColorCount> Colors{};
  TdxOffice11Scheme Scheme = TdxOffice11Scheme::None;
  bool Themed = false;
  int UsageCount = 0;
  TOwnedBrush GripDarkBrush;
  TOwnedBrush GripLightBrush;
  TOwnedBrush HighlightBorderBrush;
  std::array<TOwnedBitmap, 2> ExpandButtonBitmaps;  // plus, minus
  TdxOffice11ThemeNameProbe Probe;
};
TColorSet GSet;

bool SystemThemeNames(String& AFileName, String& AColorSchemeName) {
  if (!AreVisualStylesAvailable()) return false;
  std::array<wchar_t, 1024> file{};
  std::array<wchar_t, 1024> scheme{};
  if (UxGetCurrentThemeName(file.data(), static_cast<int>(file.size()), scheme.data(),
                            static_cast<int>(scheme.size()), nullptr, 0) != S_OK)
    return false;
  AFileName = file.data();
  AColorSchemeName = scheme.data();
  return true;
}

TdxOffice11Scheme DetectScheme() {
  String file, scheme;
  const bool named = GSet.Probe ? GSet.Probe(file, scheme) : SystemThemeNames(file, scheme);
  if (!named) return TdxOffice11Scheme::None;
  // Before Windows Vista only Luna has the three schemes.
  if (!IsWinVistaOrLater && AnsiUpperCase(ExtractFileName(file)) != dxLunaThemeFileName)
    return TdxOffice11Scheme::None;
  const String name = AnsiUpperCase(scheme);
  if (name == L"NORMALCOLOR") return TdxOffice11Scheme::Blue;
  if (name == L"HOMESTEAD") return TdxOffice11Scheme::Olive;
  if (name == L"METALLIC") return TdxOffice11Scheme::Silver;
  return TdxOffice11Scheme::None;
}

// The colours without a scheme: system colours and their blends.
TColor SystemBasedColor(TdxOffice11Color AColor) {
  const TColor face = ColorToRGB(clBtnFace);
  const TColor window = ColorToRGB(clWindow);
  const TColor shadow = ColorToRGB(clBtnShadow);
  switch (AColor) {
    case Office11GradientLightColor: return BlendColors(face, window, 22);
    case Office11GradientDarkColor: return BlendColors(face, window, 96);
    case Office11ControlColor: return BlendColors(face, window, 20);
    case Office11GripDarkColor: return BlendColors(shadow, window, 76);
    case Office11SeparatorDarkColor: return BlendColors(shadow, window, 70);
    case Office11BackgroundColor:
    case Office11GroupByBoxColor2:
    case Office11GroupColor:
      return face;
    case Office11GroupByBoxColor1:
    case Office11FilterBoxColor:
    case Office11FrameColor:
    case Office11GroupRowTextColor:
      return shadow;
    case Office11GripLightColor:
    case Office11DropDownBackgroundColor:
      return window;
    case Office11SeparatorLightColor: return clWhite;
    case Office11HighlightBorderColor: return ColorToRGB(clHighlight);
    case Office11HotColor:
    case Office11HotColor2:
      return GetLighterHighlightColor();
    case Office11PressedColor:
    case Office11PressedColor2:
      return GetLightHighlightColor();
    case Office11PressedDarkColor:
    case Office11DateNavigatorSelectionColor:
      return BlendSystemColors(41, 11, 48);
    case Office11TextColor: return ColorToRGB(clBtnText);
    case Office11DisabledTextColor: return ColorToRGB(clGrayText);
    case Office11SchedulerControlColor: return face;
    case Office11SchedulerBorderColor: return shadow;
  }
  return clNone;
}

void ComputeColors() {
  GSet.Scheme = DetectScheme();
  GSet.Themed = GSet.Scheme != TdxOffice11Scheme::None && AreVisualStylesAvailable();
  GSet.Colors.fill(clNone);
  for (const TSchemeColors& row : SchemeTable)
    GSet.Colors[row.Color] = GSet.Scheme == TdxOffice11Scheme::None
                                 ? SystemBasedColor(row.Color)
                                 : TColor(row.Values[static_cast<std::size_t>(GSet.Scheme) - 1]);
}

// A bitmap resource as a recoloured 32-bit top-down DIB section; nil when
// it cannot be loaded.
TOwnedBitmap LoadRecoloredBitmap(const wchar_t* AName) {
  const TOwnedBitmap source(
      static_cast<HBITMAP>(LoadImageW(HInstance(), AName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP size{};
  if (!source || !GetObjectW(source.Get(), sizeof(size), &size)) return TOwnedBitmap();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.bmWidth;
  info.bmiHeader.biHeight = -size.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TOwnedBitmap result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const TScreenDC screen;
  if (!result || GetDIBits(screen.Get(), source.Get(), 0, static_cast<UINT>(size.bmHeight), bits, &info,
                           DIB_RGB_COLORS) != size.bmHeight)
    return TOwnedBitmap();
  Office11RecolorPixels(
      std::span(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(size.bmWidth) * size.bmHeight));
  return result;
}

void CreateBrushes() {
  const auto brush = [](TdxOffice11Color AColor) {
    return TOwnedBrush(CreateSolidBrush(ColorToColorRef(GSet.Colors[AColor])));
  };
  GSet.GripDarkBrush = brush(Office11GripDarkColor);
  GSet.GripLightBrush = brush(Office11GripLightColor);
  GSet.HighlightBorderBrush = brush(Office11HighlightBorderColor);
  GSet.ExpandButtonBitmaps[0] = LoadRecoloredBitmap(L"DXEXPANDBUTTON_PLUS");
  GSet.ExpandButtonBitmaps[1] = LoadRecoloredBitmap(L"DXEXPANDBUTTON_MINUS");
}

void FreeBrushes() {
  GSet.GripDarkBrush = TOwnedBrush();
  GSet.GripLightBrush = TOwnedBrush();
  GSet.HighlightBorderBrush = TOwnedBrush();
  for (TOwnedBitmap& bitmap : GSet.ExpandButtonBitmaps) bitmap = TOwnedBitmap();
}

bool HasScheme() { return GSet.Scheme != TdxOffice11Scheme::None; }

// AColor, or for clDefault the set's colour, with its brush while the set
// is acquired.
void FillWith(HDC DC, const TRect& R, TColor AColor, TdxOffice11Color ASetColor, HBRUSH ASetBrush) {
  if (AColor != clDefault)
    FillRectWithColor(DC, R, AColor);
  else if (ASetBrush)
    FillRect(DC, R.WinRect(), ASetBrush);
  else
    FillRectWithColor(DC, R, GSet.Colors[ASetColor]);
}

}  // namespace

TColor Office11Color(TdxOffice11Color AColor) { return GSet.Colors[AColor]; }

TColor Office11GroupByBoxColor() {
  return BlendColors(GSet.Colors[Office11GroupByBoxColor1], GSet.Colors[Office11GroupByBoxColor2], 50);
}

TColor Office11FilterBoxTextColor() { return HasScheme() ? clWhite : ColorToRGB(clBtnHighlight); }

TColor Office11GroupRowContentColor() { return HasScheme() ? TColor(RGB(253, 238, 201)) : ColorToRGB(clBtnFace); }

TColor Office11GroupRowSeparatorColor() {
  return HasScheme() ? GSet.Colors[Office11GroupByBoxColor2] : ColorToRGB(clBtnShadow);
}

int Office11GradientBend() {
  return HasScheme() ? SchemeGradientBend[static_cast<std::size_t>(GSet.Scheme) - 1] : NoSchemeGradientBend;
}

TdxOffice11Scheme Office11Scheme() { return GSet.Scheme; }

bool IsOffice11Themed() { return GSet.Themed; }

void AcquireOffice11Colors() {
  if (GSet.UsageCount++ > 0) return;
  ComputeColors();
  CreateBrushes();
}

void ReleaseOffice11Colors() {
  if (GSet.UsageCount == 0 || --GSet.UsageCount > 0) return;
  FreeBrushes();
}

void RefreshOffice11Colors() {
  ComputeColors();
  if (GSet.UsageCount > 0) CreateBrushes();
}

HBRUSH Office11GripDarkBrush() { return GSet.GripDarkBrush.Get(); }

HBRUSH Office11GripLightBrush() { return GSet.GripLightBrush.Get(); }

HBRUSH Office11HighlightBorderBrush() { return GSet.HighlightBorderBrush.Get(); }

HBITMAP Office11ExpandButtonBitmap(bool AExpanded) { return GSet.ExpandButtonBitmaps[AExpanded].Get(); }

void Office11RecolorPixels(std::span<std::uint32_t> APixels) {
  if (APixels.empty()) return;
  constexpr std::uint32_t Rgb = 0x00FFFFFF;
  const std::uint32_t transparent = APixels[0] & Rgb;
  const auto red = [](std::uint32_t APixel) { return static_cast<int>((APixel >> 16) & 0xFF); };
  const auto recolored = [&](std::uint32_t APixel) { return (APixel & Rgb) != transparent && (APixel & Rgb) != 0; };
  int low = 255, high = 0;
  for (const std::uint32_t pixel : APixels)
    if (recolored(pixel)) {
      low = std::min(low, red(pixel));
      high = std::max(high, red(pixel));
    }
  const TColor light = GSet.Colors[Office11GradientLightColor];
  TColor dark = GSet.Colors[Office11GradientDarkColor];
  if (dark == light) dark = light == clBlack ? clWhite : clBlack;
  for (std::uint32_t& pixel : APixels) {
    if ((pixel & Rgb) == transparent) {
      pixel = 0;
    } else if ((pixel & Rgb) == 0) {
      pixel = 0xFF000000;
    } else {
      // One red value has no range to map: the light colour, not a division
      // by zero.
      const int weight = high > low ? (red(pixel) - low) * 100 / (high - low) : 100;
      const COLORREF c = ColorToColorRef(BlendColors(light, dark, weight));
      pixel = 0xFF000000 | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
              (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    }
  }
}

void Office11FillBentGradient(HDC DC, const TRect& R, TColor AColor1, bool AHorizontal, TColor AColor2) {
  FillBentGradientRect(DC, R, AColor1, AColor2, Office11GradientBend(), AHorizontal);
}

void Office11DrawSizeGrip(HDC DC, const TRect& R, TColor ADarkColor, const TdxScaleFactor* AScaleFactor,
                          TColor ALightColor) {
  const int dot = AScaleFactor->Apply(4);
  const int step = AScaleFactor->Apply(1);
  // Three rows of dots, each one dot higher and one dot shorter at the left.
  TRect strip(R.Right - AScaleFactor->Apply(12), R.Bottom - AScaleFactor->Apply(3), R.Right, R.Bottom);
  for (int row = 0; row < 3; ++row) {
    const int count = strip.Width() / dot;
    const int space = strip.Width() - count * dot;
    int x = strip.Left + (space > step ? space / 2 : space);
    for (int i = 0; i < count; ++i, x += dot) {
      TRect light(x, strip.Top, x + dot, strip.Top + dot);
      light.Deflate(step);
      TRect dark = light;
      dark.Offset(-step, -step);
      FillWith(DC, light, ALightColor, Office11GripLightColor, GSet.GripLightBrush.Get());
      FillWith(DC, dark, ADarkColor, Office11GripDarkColor, GSet.GripDarkBrush.Get());
    }
    strip.Offset(0, -dot);
    strip.Left += dot;
  }
}

void SetOffice11ThemeNameProbe(TdxOffice11ThemeNameProbe AProbe) { GSet.Probe = std::move(AProbe); }

void dxOffice11Initialization() {
  ComputeColors();
  SetSystemPaletteColorSet({&AcquireOffice11Colors, &ReleaseOffice11Colors, &RefreshOffice11Colors});
}

void dxOffice11Finalization() { SetSystemPaletteColorSet({}); }
