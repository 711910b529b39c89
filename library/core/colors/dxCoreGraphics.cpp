#include "library/core/colors/dxCoreGraphics.h"

#include "library/core/colors/dxCoreGraphics_Internal.h"
#include "library/core/system/cxMessageWindow.h"

#include <array>
#include <memory>

namespace {

using TRowRef = int;
constexpr TRowRef NoRow = -1;

constexpr TdxAlphaColor LightGreyColor = 0xFFD3D3D3;

constexpr TdxAlphaColors::TColorInfo NamedColorTable[] = {
    {0xFFF0F8FF, L"AliceBlue"}, {0xFFFAEBD7, L"AntiqueWhite"}, {0xFF00FFFF, L"Aqua"},
    {0xFF7FFFD4, L"Aquamarine"}, {0xFFF0FFFF, L"Azure"}, {0xFFF5F5DC, L"Beige"}, {0xFFFFE4C4, L"Bisque"},
    {0xFF000000, L"Black"}, {0xFFFFEBCD, L"BlanchedAlmond"}, {0xFF0000FF, L"Blue"},
    {0xFF8A2BE2, L"BlueViolet"}, {0xFFA52A2A, L"Brown"}, {0xFFDEB887, L"BurlyWood"},
    {0xFF5F9EA0, L"CadetBlue"}, {0xFF7FFF00, L"Chartreuse"}, {0xFFD2691E, L"Chocolate"},
    {0xFFFF7F50, L"Coral"}, {0xFF6495ED, L"CornflowerBlue"}, {0xFFFFF8DC, L"Cornsilk"},
    {0xFFDC143C, L"Crimson"}, {0xFF00FFFF, L"Cyan"}, {0xFF00008B, L"DarkBlue"}, {0xFF008B8B, L"DarkCyan"},
    {0xFFB8860B, L"DarkGoldenrod"}, {0xFFA9A9A9, L"DarkGray"}, {0xFF006400, L"DarkGreen"},
    {0xFFBDB76B, L"DarkKhaki"}, {0xFF8B008B, L"DarkMagenta"}, {0xFF556B2F, L"DarkOliveGreen"},
    {0xFFFF8C00, L"DarkOrange"}, {0xFF9932CC, L"DarkOrchid"}, {0xFF8B0000, L"DarkRed"},
    {0xFFE9967A, L"DarkSalmon"}, {0xFF8FBC8F, L"DarkSeaGreen"}, {0xFF483D8B, L"DarkSlateBlue"},
    {0xFF2F4F4F, L"DarkSlateGray"}, {0xFF00CED1, L"DarkTurquoise"}, {0xFF9400D3, L"DarkViolet"},
    {0xFFFF1493, L"DeepPink"}, {0xFF00BFFF, L"DeepSkyBlue"}, {0xFF696969, L"DimGray"},
    {0xFF1E90FF, L"DodgerBlue"}, {0xFFB22222, L"Firebrick"}, {0xFFFFFAF0, L"FloralWhite"},
    {0xFF228B22, L"ForestGreen"}, {0xFFFF00FF, L"Fuchsia"}, {0xFFDCDCDC, L"Gainsboro"},
    {0xFFF8F8FF, L"GhostWhite"}, {0xFFFFD700, L"Gold"}, {0xFFDAA520, L"Goldenrod"}, {0xFF808080, L"Gray"},
    {0xFF808080, L"Grey"}, {0xFF008000, L"Green"}, {0xFFADFF2F, L"GreenYellow"}, {0xFFF0FFF0, L"Honeydew"},
    {0xFFFF69B4, L"HotPink"}, {0xFFCD5C5C, L"IndianRed"}, {0xFF4B0082, L"Indigo"}, {0xFFFFFFF0, L"Ivory"},
    {0xFFF0E68C, L"Khaki"}, {0xFFE6E6FA, L"Lavender"}, {0xFFFFF0F5, L"LavenderBlush"},
    {0xFF7CFC00, L"LawnGreen"}, {0xFFFFFACD, L"LemonChiffon"}, {0xFFADD8E6, L"LightBlue"},
    {0xFFF08080, L"LightCoral"}, {0xFFE0FFFF, L"LightCyan"}, {0xFFFAFAD2, L"LightGoldenrodYellow"},
    {0xFFD3D3D3, L"LightGray"}, {0xFF90EE90, L"LightGreen"}, {0xFFFFB6C1, L"LightPink"},
    {0xFFFFA07A, L"LightSalmon"}, {0xFF20B2AA, L"LightSeaGreen"}, {0xFF87CEFA, L"LightSkyBlue"},
    {0xFF778899, L"LightSlateGray"}, {0xFFB0C4DE, L"LightSteelBlue"}, {0xFFFFFFE0, L"LightYellow"},
    {0xFF00FF00, L"Lime"}, {0xFF32CD32, L"LimeGreen"}, {0xFFFAF0E6, L"Linen"}, {0xFFFF00FF, L"Magenta"},
    {0xFF800000, L"Maroon"}, {0xFF66CDAA, L"MediumAquamarine"}, {0xFF0000CD, L"MediumBlue"},
    {0xFFBA55D3, L"MediumOrchid"}, {0xFF9370DB, L"MediumPurple"}, {0xFF3CB371, L"MediumSeaGreen"},
    {0xFF7B68EE, L"MediumSlateBlue"}, {0xFF00FA9A, L"MediumSpringGreen"}, {0xFF48D1CC, L"MediumTurquoise"},
    {0xFFC71585, L"MediumVioletRed"}, {0xFF191970, L"MidnightBlue"}, {0xFFF5FFFA, L"MintCream"},
    {0xFFFFE4E1, L"MistyRose"}, {0xFFFFE4B5, L"Moccasin"}, {0xFFFFDEAD, L"NavajoWhite"}, {0xFF000080, L"Navy"},
    {0xFFFDF5E6, L"OldLace"}, {0xFF808000, L"Olive"}, {0xFF6B8E23, L"OliveDrab"}, {0xFFFFA500, L"Orange"},
    {0xFFFF4500, L"OrangeRed"}, {0xFFDA70D6, L"Orchid"}, {0xFFEEE8AA, L"PaleGoldenrod"},
    {0xFF98FB98, L"PaleGreen"}, {0xFFAFEEEE, L"PaleTurquoise"}, {0xFFDB7093, L"PaleVioletRed"},
    {0xFFFFEFD5, L"PapayaWhip"}, {0xFFFFDAB9, L"PeachPuff"}, {0xFFCD853F, L"Peru"}, {0xFFFFC0CB, L"Pink"},
    {0xFFDDA0DD, L"Plum"}, {0xFFB0E0E6, L"PowderBlue"}, {0xFF800080, L"Purple"}, {0xFFFF0000, L"Red"},
    {0xFFBC8F8F, L"RosyBrown"}, {0xFF4169E1, L"RoyalBlue"}, {0xFF8B4513, L"SaddleBrown"},
    {0xFFFA8072, L"Salmon"}, {0xFFF4A460, L"SandyBrown"}, {0xFF2E8B57, L"SeaGreen"}, {0xFFFFF5EE, L"SeaShell"},
    {0xFFA0522D, L"Sienna"}, {0xFFC0C0C0, L"Silver"}, {0xFF87CEEB, L"SkyBlue"}, {0xFF6A5ACD, L"SlateBlue"},
    {0xFF708090, L"SlateGray"}, {0xFFFFFAFA, L"Snow"}, {0xFF00FF7F, L"SpringGreen"},
    {0xFF4682B4, L"SteelBlue"}, {0xFFD2B48C, L"Tan"}, {0xFF008080, L"Teal"}, {0xFFD8BFD8, L"Thistle"},
    {0xFFFF6347, L"Tomato"}, {0xFF40E0D0, L"Turquoise"}, {0xFFEE82EE, L"Violet"}, {0xFFF5DEB3, L"Wheat"},
    {0xFFFFFFFF, L"White"}, {0xFFF5F5F5, L"WhiteSmoke"}, {0xFFFFFF00, L"Yellow"}, {0xFF9ACD32, L"YellowGreen"},
    {0x00010203, L"Default"}, {0x00000000, L"Empty"}
};
static_assert(std::size(NamedColorTable) == 143);

// The CSS system-colour keywords and the system-colour row each one follows.
struct TdxSystemKeyword {
  std::wstring_view Keyword;
  TRowRef Row;
};
constexpr TdxSystemKeyword SystemKeywordTable[] = {
    {L"activeborder", dxSystemColorRow(L"ActiveBorder")},
    {L"activecaption", dxSystemColorRow(L"ActiveCaption")},
    {L"appworkspace", dxSystemColorRow(L"AppWorkspace")},
    {L"background", dxSystemColorRow(L"Desktop")},
    {L"buttonface", dxSystemColorRow(L"Control")},
    {L"buttonhighlight", dxSystemColorRow(L"ControlLightLight")},
    {L"buttonshadow", dxSystemColorRow(L"ControlDark")},
    {L"buttontext", dxSystemColorRow(L"ControlText")},
    {L"captiontext", dxSystemColorRow(L"ActiveCaptionText")},
    {L"graytext", dxSystemColorRow(L"GrayText")},
    {L"highlight", dxSystemColorRow(L"Highlight")},
    {L"highlighttext", dxSystemColorRow(L"HighlightText")},
    {L"inactiveborder", dxSystemColorRow(L"InactiveBorder")},
    {L"inactivecaption", dxSystemColorRow(L"InactiveCaption")},
    {L"inactivecaptiontext", dxSystemColorRow(L"InactiveCaptionText")},
    {L"infobackground", dxSystemColorRow(L"Info")},
    {L"infotext", dxSystemColorRow(L"InfoText")},
    {L"menu", dxSystemColorRow(L"Menu")},
    {L"menutext", dxSystemColorRow(L"MenuText")},
    {L"scrollbar", dxSystemColorRow(L"ScrollBar")},
    {L"threeddarkshadow", dxSystemColorRow(L"ControlDarkDark")},
    {L"threedface", dxSystemColorRow(L"Control")},
    {L"threedhighlight", dxSystemColorRow(L"ControlLight")},
    {L"threedlightshadow", dxSystemColorRow(L"ControlLightLight")},
    {L"window", dxSystemColorRow(L"Window")},
    {L"windowframe", dxSystemColorRow(L"WindowFrame")},
    {L"windowtext", dxSystemColorRow(L"WindowText")},
};
// The "grey" spellings of the CSS keywords, which the named table spells
// with "gray" (only "Grey" itself has a row there); constants beside the
// system keywords.
constexpr TdxAlphaColors::TColorInfo GreySpellings[] = {
    {0xFFA9A9A9, L"darkgrey"}, {0xFF2F4F4F, L"darkslategrey"}, {0xFF696969, L"dimgrey"},
    {LightGreyColor, L"lightgrey"}, {0xFF778899, L"lightslategrey"}, {0xFF708090, L"slategrey"},
};

// Which keyword names a colour that equals current system colours: the
// first rule that matches wins; with two rows, either one (AnyOf) or both
// must equal the colour.
struct TdxKeywordRule {
  std::wstring_view Keyword;
  TRowRef First;
  TRowRef Second;
  bool AnyOf;
};
constexpr TdxKeywordRule KeywordRules[] = {
    {L"activeborder", dxSystemColorRow(L"ActiveBorder"), NoRow, false},
    {L"activecaption", dxSystemColorRow(L"GradientActiveCaption"), dxSystemColorRow(L"ActiveCaption"), true},
    {L"appworkspace", dxSystemColorRow(L"AppWorkspace"), NoRow, false},
    {L"background", dxSystemColorRow(L"Desktop"), NoRow, false},
    {L"buttonface", dxSystemColorRow(L"Control"), dxSystemColorRow(L"ControlLight"), true},
    {L"buttonshadow", dxSystemColorRow(L"ControlDark"), NoRow, false},
    {L"buttontext", dxSystemColorRow(L"ControlText"), NoRow, false},
    {L"captiontext", dxSystemColorRow(L"ActiveCaptionText"), NoRow, false},
    {L"graytext", dxSystemColorRow(L"GrayText"), NoRow, false},
    {L"highlight", dxSystemColorRow(L"HotTrack"), dxSystemColorRow(L"Highlight"), false},
    {L"highlighttext", dxSystemColorRow(L"MenuHighlight"), dxSystemColorRow(L"HighlightText"), false},
    {L"inactiveborder", dxSystemColorRow(L"InactiveBorder"), NoRow, false},
    {L"inactivecaption", dxSystemColorRow(L"GradientInactiveCaption"), dxSystemColorRow(L"InactiveCaption"),
     false},
    {L"inactivecaptiontext", dxSystemColorRow(L"InactiveCaptionText"), NoRow, false},
    {L"infobackground", dxSystemColorRow(L"Info"), NoRow, false},
    {L"infotext", dxSystemColorRow(L"InfoText"), NoRow, false},
    {L"menu", dxSystemColorRow(L"MenuBar"), dxSystemColorRow(L"Menu"), false},
    {L"menutext", dxSystemColorRow(L"MenuText"), NoRow, false},
    {L"scrollbar", dxSystemColorRow(L"ScrollBar"), NoRow, false},
    {L"threeddarkshadow", dxSystemColorRow(L"ControlDarkDark"), NoRow, false},
    {L"buttonhighlight", dxSystemColorRow(L"ControlLightLight"), NoRow, false},
    {L"window", dxSystemColorRow(L"Window"), NoRow, false},
    {L"windowframe", dxSystemColorRow(L"WindowFrame"), NoRow, false},
    {L"windowtext", dxSystemColorRow(L"WindowText"), NoRow, false},
};

struct TdxAlphaColorTables {
  std::array<TdxAlphaColor, TdxAlphaColors::SystemColorCount> Current{};
  // Lower-cased names: the named colours and the system-colour rows.
  std::unordered_map<String, TdxAlphaColor> Named;
  std::unordered_map<String, TdxAlphaColor> SystemKeywords;
  TOwned<TdxAlphaColors::TUpdateSystemColorsListener> Listener;
};

int GStartCount = 0;
std::unique_ptr<TdxAlphaColorTables> GTables;

String LowerName(std::wstring_view AName) { return LowerCase(String(AName)); }

int HexDigit(wchar_t C) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (C >= L'a' && C <= L'f') return C - L'a' + 10;
  if (C >= L'A' && C <= L'F') return C - L'A' + 10;
  return -1;
}

// Two hexadecimal digits at AAt; the class library's conversion error for
// anything else.
int HexByte(const String& AText, std::size_t AAt) {
  const int high = HexDigit(AText[AAt]);
  const int low = HexDigit(AText[AAt + 1]);
  if (high < 0 || low < 0)
    throw EConvertError(L"'%s' ist kein gültiger Integerwert", {L"$" + AText.substr(AAt, 2)});
  return high * 16 + low;
}

String HexOf(TdxAlphaColor AColor, bool AWithAlpha) {
  static constexpr wchar_t digits[] = L"0123456789abcdef";
  String result;
  for (int shift = AWithAlpha ? 28 : 20; shift >= 0; shift -= 4) result += digits[(AColor >> shift) & 0xF];
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------
// Conversions

TdxAlphaColor ColorToAlphaColor(TColor AColor, std::uint8_t AAlpha) {
  if (AColor == clNone) return TdxAlphaColors::Empty;
  if (AColor == clDefault) return TdxAlphaColors::Default;
  const COLORREF rgb = ColorToColorRef(AColor);
  return ComposeAlphaColor(AAlpha, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor ConvertAlphaColorToColor(TdxAlphaColor AColor, std::uint8_t& AAlpha) {
  if (AColor == TdxAlphaColors::Empty || AColor == TdxAlphaColors::Default) {
    AAlpha = 0;
    return AColor == TdxAlphaColors::Empty ? clNone : clDefault;
  }
  AAlpha = AlphaOf(AColor);
  return TColor(RGB(RedOf(AColor), GreenOf(AColor), BlueOf(AColor)));
}

TColor AlphaColorToTColor(TdxAlphaColor AColor) {
  std::uint8_t alpha;
  return ConvertAlphaColorToColor(AColor, alpha);
}

RGBQUAD ColorToQuad(TColor AColor, std::uint8_t AReserved) {
  const COLORREF rgb = ColorToColorRef(AColor);
  return RGBQUAD{GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), AReserved};
}

bool IsAlphaColorVisible(TdxAlphaColor AColor) {
  return AColor != TdxAlphaColors::Empty && AColor != TdxAlphaColors::Default && AColor != 0x00FFFFFF;
}

// ---------------------------------------------------------------------------
// The system-colour listener

class TdxAlphaColors::TUpdateSystemColorsListener : public TcxMessageWindow {
  SK_CLASS(TUpdateSystemColorsListener, TcxMessageWindow)

 protected:
  // A top-level window: it hears the system's broadcasts.
  bool IsMessageOnly() override { return false; }
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg == WM_SYSCOLORCHANGE) UpdateSystemColors();
    inherited::WndProc(AMessage);
  }
};

// ---------------------------------------------------------------------------
// Tables and text forms

TdxAlphaColor TdxAlphaColors::SystemColor(int ARow) {
  if (!GTables || ARow < 0 || ARow >= SystemColorCount) return Empty;
  return GTables->Current[static_cast<std::size_t>(ARow)];
}

std::span<const TdxAlphaColors::TColorInfo> TdxAlphaColors::NamedColors() { return NamedColorTable; }

void TdxAlphaColors::UpdateSystemColors() {
  if (!GTables) return;
  for (int i = 0; i < SystemColorCount; ++i) {
    const COLORREF rgb = GetSysColor(dxSystemColorTable[i].Index);
    const TdxAlphaColor color = ComposeAlphaColor(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    GTables->Current[static_cast<std::size_t>(i)] = color;
    GTables->Named[LowerName(dxSystemColorTable[i].Name)] = color;
  }
  for (const TdxSystemKeyword& keyword : SystemKeywordTable)
    GTables->SystemKeywords[String(keyword.Keyword)] = GTables->Current[static_cast<std::size_t>(keyword.Row)];
}

TdxAlphaColor TdxAlphaColors::HexTextToAlphaColor(const String& AText, bool ASwapRedBlue) {
  const std::size_t length = AText.size();
  if (length == 0) return Empty;
  if (length < 6) return HexTextToAlphaColor(String(6 - length, L'0') + AText, ASwapRedBlue);
  TdxAlphaColor result;
  switch (length) {
    case 6:
    case 7: {
      const std::size_t at = length - 6;
      result = ComposeAlphaColor(255, HexByte(AText, at), HexByte(AText, at + 2), HexByte(AText, at + 4));
      break;
    }
    case 8:
    case 9: {
      const std::size_t at = length - 8;
      result = ComposeAlphaColor(HexByte(AText, at), HexByte(AText, at + 2), HexByte(AText, at + 4),
                                 HexByte(AText, at + 6));
      break;
    }
    default:
      return Empty;
  }
  return ASwapRedBlue ? SwapRedBlue(result) : result;
}

TdxAlphaColor TdxAlphaColors::CssTextToAlphaColor(const String& AText) {
  if (AText.empty()) return Empty;
  if (AText[0] == L'#' && AText.size() == 7)
    return ComposeAlphaColor(255, HexByte(AText, 1), HexByte(AText, 3), HexByte(AText, 5));
  if (AText[0] == L'#' && AText.size() == 4) {
    const String doubled{AText[1], AText[1], AText[2], AText[2], AText[3], AText[3]};
    return ComposeAlphaColor(255, HexByte(doubled, 0), HexByte(doubled, 2), HexByte(doubled, 4));
  }
  if (!GTables) return Empty;
  const String name = LowerCase(AText);
  if (const auto it = GTables->SystemKeywords.find(name); it != GTables->SystemKeywords.end()) return it->second;
  if (const auto it = GTables->Named.find(name); it != GTables->Named.end()) return it->second;
  return Empty;
}

String TdxAlphaColors::AlphaColorToText(TdxAlphaColor AColor, bool AUseNames) {
  if (AColor == Empty) return String();
  if (AUseNames) {
    if (AColor == LightGreyColor) return L"LightGrey";
    for (const TColorInfo& info : NamedColorTable)
      if (info.Color == AColor) return String(info.Name);
    const auto equals = [AColor](TRowRef ARow) { return ARow != NoRow && SystemColor(ARow) == AColor; };
    for (const TdxKeywordRule& rule : KeywordRules) {
      const bool matches = rule.Second == NoRow ? equals(rule.First)
                           : rule.AnyOf         ? equals(rule.First) || equals(rule.Second)
                                                : equals(rule.First) && equals(rule.Second);
      if (matches) return String(rule.Keyword);
    }
  }
  return L"#" + HexOf(AColor, false);
}

String TdxAlphaColors::AlphaColorToHexText(TdxAlphaColor AColor, bool AWithAlpha, bool ASwapRedBlue) {
  return HexOf(ASwapRedBlue ? SwapRedBlue(AColor) : AColor, AWithAlpha);
}

String TdxAlphaColors::AlphaColorToPrefixedHexText(TdxAlphaColor AColor, bool AWithAlpha, wchar_t APrefix) {
  return APrefix + AlphaColorToHexText(AColor, AWithAlpha, false);
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxCoreGraphicsInitialization() {
  if (GStartCount++ > 0) return;
  GTables = std::make_unique<TdxAlphaColorTables>();
  GTables->Named.reserve(168);
  for (const TdxAlphaColors::TColorInfo& info : NamedColorTable) GTables->Named[LowerName(info.Name)] = info.Color;
  GTables->SystemKeywords.reserve(std::size(SystemKeywordTable) + std::size(GreySpellings));
  for (const TdxAlphaColors::TColorInfo& grey : GreySpellings) GTables->SystemKeywords[String(grey.Name)] = grey.Color;
  GTables->Listener.reset(New<TdxAlphaColors::TUpdateSystemColorsListener>());
  // Fills the current colours and every keyword but the grey spellings.
  TdxAlphaColors::UpdateSystemColors();
  dxTextMeasurerInitialization();
}

void dxCoreGraphicsFinalization() {
  if (GStartCount == 0 || --GStartCount > 0) return;
  dxTextMeasurerFinalization();
  GTables.reset();
}
