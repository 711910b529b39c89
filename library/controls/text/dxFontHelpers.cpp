#include "library/controls/text/dxFontHelpers.h"

#include "library/core/containers/dxHashUtils.h"
#include "platform/classes/ClassErrors.h"
#include "platform/runtime/ComPtr.h"
#include "platform/ui/Forms.h"

#include <mlang.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

// ---------------------------------------------------------------------------
// Process-wide state

struct TFontUnitState {
  // Guards both dictionaries; the loader holds it for its whole run.
  std::recursive_mutex CharacterSetsLock;
  std::map<String, TOwned<TdxFontCharacterSet>> CharacterSets;
  TdxFontCache::TTrueTypeFontInfoDictionary TrueTypeFonts;
  TOwned<TdxUnicodeRangeInfo> UnicodeRangeInfo;
  TOwned<TdxFontCache::TTrueTypeFontLoader> Loader;
  std::vector<TOwned<TdxFontCache>> OfficeCaches;
  std::vector<TOwned<TdxFontCache>> ClassLibraryCaches;
  std::map<String, String> Substitutions;
  BYTE OfficeFontQuality = DEFAULT_QUALITY;
  bool ComInitialized = false;
};

std::unique_ptr<TFontUnitState> GState;

const wchar_t* const FallbackFaceName = L"Times New Roman";

TFontUnitState& State() {
  if (!GState) throw EInvalidOperation(L"The font unit is not initialized");
  return *GState;
}

// ---------------------------------------------------------------------------
// Big-endian table reading

int ReadInt16BE(const BYTE* AData) { return static_cast<std::int16_t>((AData[0] << 8) | AData[1]); }
int ReadUInt16BE(const BYTE* AData) { return (AData[0] << 8) | AData[1]; }

constexpr DWORD TableTag(char A, char B, char C, char D) {
  return static_cast<DWORD>(static_cast<BYTE>(A)) | static_cast<DWORD>(static_cast<BYTE>(B)) << 8 |
         static_cast<DWORD>(static_cast<BYTE>(C)) << 16 | static_cast<DWORD>(static_cast<BYTE>(D)) << 24;
}

// The table metrics of a font, with the outline metrics when GDI has them.
struct TTableMetrics {
  OUTLINETEXTMETRICW Outline{};
  int Ascent = 0;
  int Descent = 0;
  int LineGap = 0;
  int LineSpacing = 0;
  bool IsCJK = false;
  bool HasOS2 = false;
  bool HasOutlineMetrics = false;
  bool HasVDMX = false;
  bool UseGlyphIndices = true;
};

// The ascent, descent and gap of the tables; false when a table step fails.
bool ReadTableMetrics(HDC DC, TTableMetrics& AMetrics) {
  // On a 64-bit build the record is 232 bytes, not the 32-bit 216.
  AMetrics.Outline.otmSize = sizeof(OUTLINETEXTMETRICW);
  if (GetOutlineTextMetricsW(DC, sizeof(OUTLINETEXTMETRICW), &AMetrics.Outline) == 0) return false;
  AMetrics.HasOutlineMetrics = true;
  FONTSIGNATURE signature{};
  const int charset = GetTextCharsetInfo(DC, &signature, 0);
  AMetrics.IsCJK = charset != DEFAULT_CHARSET && (signature.fsCsb[0] & (0x1Fu << 17)) != 0;
  const DWORD vdmx = GetFontData(DC, TableTag('V', 'D', 'M', 'X'), 0, nullptr, 0);
  AMetrics.HasVDMX = vdmx != 0 && vdmx != GDI_ERROR;

  BYTE hhea[36];
  if (GetFontData(DC, TableTag('h', 'h', 'e', 'a'), 0, hhea, sizeof hhea) == GDI_ERROR) return false;
  AMetrics.Ascent = ReadInt16BE(hhea + 4);
  AMetrics.Descent = -ReadInt16BE(hhea + 6);
  AMetrics.LineGap = ReadInt16BE(hhea + 8);
  AMetrics.LineSpacing = AMetrics.Ascent + AMetrics.Descent + AMetrics.LineGap;

  const DWORD os2Size = GetFontData(DC, TableTag('O', 'S', '/', '2'), 0, nullptr, 0);
  if (os2Size == GDI_ERROR) return false;
  AMetrics.UseGlyphIndices = false;
  AMetrics.HasOS2 = true;
  if (AMetrics.Ascent != 0 && AMetrics.Descent != 0) return true;

  BYTE os2[100]{};
  const DWORD wanted = std::min<DWORD>(os2Size, sizeof os2);
  // A table too short for the fields read below fails the step as well.
  if (wanted < 78 || GetFontData(DC, TableTag('O', 'S', '/', '2'), 0, os2, wanted) != wanted) return false;
  int ascent = ReadUInt16BE(os2 + 74);
  int descent = ReadUInt16BE(os2 + 76);
  if (ascent == 0 && descent == 0) {
    ascent = ReadInt16BE(os2 + 68);
    descent = ReadInt16BE(os2 + 70);
  }
  AMetrics.Ascent = ascent;
  AMetrics.Descent = descent;
  AMetrics.LineGap = std::max(0, ReadInt16BE(os2 + 72) - ((ascent + descent) - (ascent - descent)));
  AMetrics.LineSpacing = ascent + descent + AMetrics.LineGap;
  return true;
}

// The metrics of the font selected in DC: from its tables where it has
// them, else from its text metrics (with underline and strikeout geometry
// made up when GDI has no outline metrics either).
TTableMetrics ReadFontMetrics(HDC DC, TEXTMETRICW& ATextMetric) {
  GetTextMetricsW(DC, &ATextMetric);
  TTableMetrics metrics;
  if (ReadTableMetrics(DC, metrics)) return metrics;
  metrics.Ascent = ATextMetric.tmAscent;
  metrics.Descent = ATextMetric.tmDescent;
  metrics.LineGap = ATextMetric.tmExternalLeading;
  metrics.LineSpacing = metrics.Ascent + metrics.Descent + metrics.LineGap;
  if (!metrics.HasOutlineMetrics) {
    metrics.Outline = OUTLINETEXTMETRICW{};
    const int thickness = std::max<int>(1, ATextMetric.tmHeight / 12);
    metrics.Outline.otmsUnderscoreSize = static_cast<UINT>(thickness);
    metrics.Outline.otmsStrikeoutSize = static_cast<UINT>(thickness);
    metrics.Outline.otmsUnderscorePosition = thickness >= 3 ? -MulDiv(thickness, 2, 3) : -thickness;
    metrics.Outline.otmsStrikeoutPosition = static_cast<int>(
        std::nearbyint(3.0 * (ATextMetric.tmAscent + ATextMetric.tmDescent - ATextMetric.tmInternalLeading) / 11));
  }
  return metrics;
}

int CeilInt(double AValue) { return static_cast<int>(std::ceil(AValue)); }

// The first face of the family that is not a raster font.
String FindNonRasterFace(HDC DC, const String& AFamily) {
  String result;
  EnumFontFamiliesW(
      DC, AFamily.c_str(),
      [](const LOGFONTW* ALogFont, const TEXTMETRICW*, DWORD AFontType, LPARAM AData) -> int {
        if (AFontType & RASTER_FONTTYPE) return 1;
        *reinterpret_cast<String*>(AData) = reinterpret_cast<const ENUMLOGFONTW*>(ALogFont)->elfFullName;
        return 0;
      },
      reinterpret_cast<LPARAM>(&result));
  return result;
}

void SetFaceName(LOGFONTW& ALogFont, const String& AName) {
  // At most 31 characters and the terminating zero.
  const std::size_t length = std::min<std::size_t>(AName.size(), LF_FACESIZE - 1);
  std::wmemcpy(ALogFont.lfFaceName, AName.c_str(), length);
  ALogFont.lfFaceName[length] = 0;
}

// The loader's fonts: a regular face of height -22 without substitution.
HFONT CreateLoaderFont(const String& AFaceName) {
  LOGFONTW logFont{};
  logFont.lfHeight = -22;
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DefFontData().Charset;
  SetFaceName(logFont, AFaceName);
  return CreateFontIndirectW(&logFont);
}

std::uint64_t FontIndexKey(const String& AUpperName, int ADoubleSize, TFontStyles AStyle,
                           TdxCharacterFormattingScript AScript) {
  std::uint32_t styleByte = 0;
  for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
    if (AStyle.Contains(s)) styleByte |= 1u << static_cast<int>(s);
  const std::uint32_t low =
      static_cast<std::uint32_t>(AScript) | (styleByte << 2) | (static_cast<std::uint32_t>(ADoubleSize) << 6);
  const std::uint32_t high = HashTextUpperCase(AUpperName.c_str(), static_cast<int>(AUpperName.size()));
  return static_cast<std::uint64_t>(high) << 32 | low;
}

// ---------------------------------------------------------------------------
// The Unicode blocks and their OS/2 bits

constexpr TdxUnicodeSubrange UnicodeSubranges[] = {
    {0x0000, 0x007F, 0},   {0x0080, 0x00FF, 1},   {0x0100, 0x017F, 2},   {0x0180, 0x024F, 3},   {0x0250, 0x02AF, 4},
    {0x02B0, 0x02FF, 5},   {0x0300, 0x036F, 6},   {0x0370, 0x03FF, 7},   {0x0400, 0x04FF, 9},   {0x0500, 0x052F, 9},
    {0x0530, 0x058F, 10},  {0x0590, 0x05FF, 11},  {0x0600, 0x06FF, 13},  {0x0700, 0x074F, 71},  {0x0750, 0x077F, 13},
    {0x0780, 0x07BF, 72},  {0x07C0, 0x07FF, 14},  {0x0900, 0x097F, 15},  {0x0980, 0x09FF, 16},  {0x0A00, 0x0A7F, 17},
    {0x0A80, 0x0AFF, 18},  {0x0B00, 0x0B7F, 19},  {0x0B80, 0x0BFF, 20},  {0x0C00, 0x0C7F, 21},  {0x0C80, 0x0CFF, 22},
    {0x0D00, 0x0D7F, 23},  {0x0D80, 0x0DFF, 73},  {0x0E00, 0x0E7F, 24},  {0x0E80, 0x0EFF, 25},  {0x0F00, 0x0FFF, 70},
    {0x1000, 0x109F, 74},  {0x10A0, 0x10FF, 26},  {0x1100, 0x11FF, 28},  {0x1200, 0x137F, 75},  {0x1380, 0x139F, 75},
    {0x13A0, 0x13FF, 76},  {0x1400, 0x167F, 77},  {0x1680, 0x169F, 78},  {0x16A0, 0x16FF, 79},  {0x1700, 0x171F, 84},
    {0x1720, 0x173F, 84},  {0x1740, 0x175F, 84},  {0x1760, 0x177F, 84},  {0x1780, 0x17FF, 80},  {0x1800, 0x18AF, 81},
    {0x1900, 0x194F, 93},  {0x1950, 0x197F, 94},  {0x1980, 0x19DF, 95},  {0x19E0, 0x19FF, 80},  {0x1A00, 0x1A1F, 96},
    {0x1B00, 0x1B7F, 27},  {0x1B80, 0x1BBF, 112}, {0x1C00, 0x1C4F, 113}, {0x1C50, 0x1C7F, 114}, {0x1D00, 0x1D7F, 4},
    {0x1D80, 0x1DBF, 4},   {0x1DC0, 0x1DFF, 6},   {0x1E00, 0x1EFF, 29},  {0x1F00, 0x1FFF, 30},  {0x2000, 0x206F, 31},
    {0x2070, 0x209F, 32},  {0x20A0, 0x20CF, 33},  {0x20D0, 0x20FF, 34},  {0x2100, 0x214F, 35},  {0x2150, 0x218F, 36},
    {0x2190, 0x21FF, 37},  {0x2200, 0x22FF, 38},  {0x2300, 0x23FF, 39},  {0x2400, 0x243F, 40},  {0x2440, 0x245F, 41},
    {0x2460, 0x24FF, 42},  {0x2500, 0x257F, 43},  {0x2580, 0x259F, 44},  {0x25A0, 0x25FF, 45},  {0x2600, 0x26FF, 46},
    {0x2700, 0x27BF, 47},  {0x27C0, 0x27EF, 38},  {0x27F0, 0x27FF, 37},  {0x2800, 0x28FF, 82},  {0x2900, 0x297F, 37},
    {0x2980, 0x29FF, 38},  {0x2A00, 0x2AFF, 38},  {0x2B00, 0x2BFF, 37},  {0x2C00, 0x2C5F, 97},  {0x2C60, 0x2C7F, 29},
    {0x2C80, 0x2CFF, 8},   {0x2D00, 0x2D2F, 26},  {0x2D30, 0x2D7F, 98},  {0x2D80, 0x2DDF, 75},  {0x2DE0, 0x2DFF, 9},
    {0x2E00, 0x2E7F, 31},  {0x2E80, 0x2EFF, 59},  {0x2F00, 0x2FDF, 59},  {0x2FF0, 0x2FFF, 59},  {0x3000, 0x303F, 48},
    {0x3040, 0x309F, 49},  {0x30A0, 0x30FF, 50},  {0x3100, 0x312F, 51},  {0x3130, 0x318F, 52},  {0x3190, 0x319F, 59},
    {0x31A0, 0x31BF, 51},  {0x31C0, 0x31EF, 61},  {0x31F0, 0x31FF, 50},  {0x3200, 0x32FF, 54},  {0x3300, 0x33FF, 55},
    {0x3400, 0x4DBF, 59},  {0x4DC0, 0x4DFF, 99},  {0x4E00, 0x9FFF, 59},  {0xA000, 0xA48F, 83},  {0xA490, 0xA4CF, 83},
    {0xA500, 0xA63F, 12},  {0xA640, 0xA69F, 9},   {0xA700, 0xA71F, 5},   {0xA720, 0xA7FF, 29},  {0xA800, 0xA82F, 100},
    {0xA840, 0xA87F, 53},  {0xA880, 0xA8DF, 115}, {0xA900, 0xA92F, 116}, {0xA930, 0xA95F, 117}, {0xAA00, 0xAA5F, 118},
    {0xAC00, 0xD7AF, 56},  {0xD800, 0xDFFF, 57},  {0xE000, 0xF8FF, 60},  {0xF900, 0xFAFF, 61},  {0xFB00, 0xFB4F, 62},
    {0xFB50, 0xFDFF, 63},  {0xFE00, 0xFE0F, 91},  {0xFE10, 0xFE1F, 65},  {0xFE20, 0xFE2F, 64},  {0xFE30, 0xFE4F, 65},
    {0xFE50, 0xFE6F, 66},  {0xFE70, 0xFEFF, 67},  {0xFF00, 0xFFEF, 68},  {0xFFF0, 0xFFFF, 69},
};
static_assert(std::size(UnicodeSubranges) == 134);

}  // namespace

// ---------------------------------------------------------------------------
// TdxUnicodeRangeInfo

void TdxUnicodeRangeInfo::Create() {
  inherited::Create();
  FRanges.assign(std::begin(UnicodeSubranges), std::end(UnicodeSubranges));
}

const TdxUnicodeSubrange* TdxUnicodeRangeInfo::LookupSubrange(wchar_t ACharacter) const {
  const auto it = std::upper_bound(FRanges.begin(), FRanges.end(), ACharacter,
                                   [](wchar_t c, const TdxUnicodeSubrange& r) { return c < r.LowValue; });
  if (it == FRanges.begin()) return nullptr;
  const TdxUnicodeSubrange& range = *std::prev(it);
  return ACharacter <= range.HiValue ? &range : nullptr;
}

// ---------------------------------------------------------------------------
// TdxFontCharacterSet

void TdxFontCharacterSet::Create(const TdxFontCharacterRanges& ARanges, const PANOSE& APanose) {
  inherited::Create();
  FPanose = APanose;
  int largest = 0;
  for (const TdxFontCharacterRange& range : ARanges) largest = std::max(largest, range.Hi);
  FBits.assign(static_cast<std::size_t>(largest) + 1, false);
  for (const TdxFontCharacterRange& range : ARanges)
    for (int c = std::max(range.Low, 0); c <= range.Hi; ++c) FBits[static_cast<std::size_t>(c)] = true;
}

int TdxFontCharacterSet::CalculatePanoseDistance(const PANOSE& A, const PANOSE& B) {
  const auto* a = reinterpret_cast<const BYTE*>(&A);
  const auto* b = reinterpret_cast<const BYTE*>(&B);
  int result = 0;
  for (std::size_t i = 0; i < sizeof(PANOSE); ++i) result += (a[i] - b[i]) * (a[i] - b[i]);
  return result;
}

// ---------------------------------------------------------------------------
// TdxTrueTypeFontInfo

void TdxTrueTypeFontInfo::Create(const String& AFontName, int AFontType) {
  inherited::Create();
  FFontName = AFontName;
  FFontType = AFontType;
}

const TdxSupportedFontStylesInfo& TdxTrueTypeFontInfo::SupportedStyles() {
  if (FSupportedStylesCalculated) return FSupportedStyles;
  using S = TdxSupportedFontStyle;
  TdxSupportedFontStylesInfo info;
  bool anyEntry = false;
  struct TSeen {
    TdxSupportedFontStylesInfo* Info;
    bool* Any;
  } seen{&info, &anyEntry};
  LOGFONTW logFont{};
  logFont.lfCharSet = DEFAULT_CHARSET;
  SetFaceName(logFont, FFontName);
  const TScreenDC screen;
  EnumFontFamiliesExW(
      screen.Get(), &logFont,
      [](const LOGFONTW* ALogFont, const TEXTMETRICW*, DWORD, LPARAM AData) -> int {
        auto* seen = reinterpret_cast<TSeen*>(AData);
        *seen->Any = true;
        const auto mark = [seen](S AStyle) {
          seen->Info->SupportedStyles.Include(AStyle);
          seen->Info->NativeStyles[static_cast<std::size_t>(AStyle)] = true;
        };
        const bool italic = ALogFont->lfItalic != 0;
        const bool bold = ALogFont->lfWeight >= FW_BOLD;
        bool any = false;
        if (italic && bold) {
          mark(S::BoldItalic);
          any = true;
        } else {
          if (bold) mark(S::Bold), any = true;
          if (italic) mark(S::Italic), any = true;
        }
        if (ALogFont->lfUnderline) mark(S::Underline), any = true;
        if (ALogFont->lfStrikeOut) mark(S::Strikeout), any = true;
        if (!any) mark(S::Regular);
        return 1;
      },
      reinterpret_cast<LPARAM>(&seen), 0);
  if (!anyEntry) info.SupportedStyles = TdxSupportedFontStyles{S::Regular};
  info.NativeStyles[static_cast<std::size_t>(S::Regular)] = true;
  const TdxSupportedFontStyles set = info.SupportedStyles;
  if (set == TdxSupportedFontStyles{S::Italic} || set == TdxSupportedFontStyles{S::Bold})
    info.SupportedStyles = TdxSupportedFontStyles{S::Regular, S::BoldItalic};
  else if (set.Contains(S::Regular) || set.Empty())
    info.SupportedStyles = TdxSupportedFontStyles{S::Regular, S::Bold, S::Italic, S::BoldItalic};
  else
    info.SupportedStyles = set + TdxSupportedFontStyles{S::BoldItalic};
  FSupportedStyles = info;
  FSupportedStylesCalculated = true;
  return FSupportedStyles;
}

// ---------------------------------------------------------------------------
// TdxFontInfo::TCharacterDrawingAbilityTable

bool TdxFontInfo::TCharacterDrawingAbilityTable::GetDrawingAbility(wchar_t ACharacter, bool& AAbility) const {
  const std::size_t index = ACharacter;
  if (index >= FCalculated.size() || !FCalculated[index]) return false;
  AAbility = FDrawingAbility[index];
  return true;
}

void TdxFontInfo::TCharacterDrawingAbilityTable::SetDrawingAbility(wchar_t ACharacter, bool AValue) {
  const std::size_t index = ACharacter;
  if (index >= FCalculated.size()) {
    FCalculated.resize(index + 1);
    FDrawingAbility.resize(index + 1);
  }
  FCalculated[index] = true;
  FDrawingAbility[index] = AValue;
}

// ---------------------------------------------------------------------------
// TdxFontInfo

void TdxFontInfo::Create(TdxFontInfoMeasurer* AMeasurer, const String& AName, int ADoubleSize, TFontStyles AFontStyle,
                         bool AAllowCjkCorrection, bool AIsOfficeFont) {
  inherited::Create();
  FName = AName;
  FStyle = AFontStyle;
  FBaseFontIndex = -1;
  FSizeInPoints = ADoubleSize / 2.0f;
  CreateFont(AMeasurer, AName, AFontStyle, AIsOfficeFont);
  FCharacterDrawingAbilityTable = std::make_unique<TCharacterDrawingAbilityTable>();
  CalculateFontParameters(AMeasurer, AAllowCjkCorrection, AIsOfficeFont);
}

void TdxFontInfo::Destroy() {
  FCharacterDrawingAbilityTable.reset();
  FGdiFontHandle.Reset();
  inherited::Destroy();
}

void TdxFontInfo::CreateFont(TdxFontInfoMeasurer* AMeasurer, const String& AName, TFontStyles AFontStyle,
                             bool AIsOfficeFont) {
  LOGFONTW logFont{};
  SetFaceName(logFont, AIsOfficeFont ? dxGetSubstituteFontName(AName) : AName);
  logFont.lfHeight = -static_cast<int>(std::nearbyint(FSizeInPoints / AMeasurer->UnitConverter()->FontSizeScale()));
  logFont.lfWeight = AFontStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = AFontStyle.Contains(fsItalic);
  logFont.lfUnderline = AFontStyle.Contains(fsUnderline);
  logFont.lfStrikeOut = AFontStyle.Contains(fsStrikeOut);
  if (AIsOfficeFont) {
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    logFont.lfClipPrecision = CLIP_EMBEDDED;
    logFont.lfQuality = State().OfficeFontQuality;
  } else {
    logFont.lfCharSet = DefFontData().Charset;
  }
  const String requested = logFont.lfFaceName;
  TOwnedFont font(CreateFontIndirectW(&logFont));
  if (font) {
    const TOwnedDC dc(CreateCompatibleDC(nullptr));
    const TSelectObject selected(dc.Get(), font.Get());
    wchar_t face[LF_FACESIZE + 1]{};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    if (!SameText(face, requested)) {
      font.Reset();
      const String found = FindNonRasterFace(dc.Get(), requested);
      if (!found.empty()) {
        SetFaceName(logFont, found);
        font.Reset(CreateFontIndirectW(&logFont));
      }
    }
  }
  if (font) {
    FFamilyName = logFont.lfFaceName;
  } else {
    FFamilyName = FallbackFaceName;
    SetFaceName(logFont, FFamilyName);
    font.Reset(CreateFontIndirectW(&logFont));
  }
  FGdiFontHandle = std::move(font);
}

void TdxFontInfo::CalculateFontParameters(TdxFontInfoMeasurer* AMeasurer, bool AAllowCjkCorrection,
                                          bool AIsOfficeFont) {
  const HDC dc = AMeasurer->Canvas();
  SelectObject(dc, FGdiFontHandle.Get());
  TEXTMETRICW tm{};
  const TTableMetrics metrics = ReadFontMetrics(dc, tm);
  const OUTLINETEXTMETRICW& otm = metrics.Outline;
  FUseGetGlyphIndices = metrics.UseGlyphIndices;
  FIsCJKFont = metrics.IsCJK && AAllowCjkCorrection;
  const bool typographic = (otm.otmfsSelection & 0x80) != 0;
  if (!metrics.HasOS2) {
    FAscent = metrics.Ascent;
    FDescent = metrics.Descent;
    FLineSpacing = metrics.LineGap + metrics.Ascent + metrics.Descent;
  } else {
    FPanose = otm.otmPanoseNumber;
    if (AIsOfficeFont || FIsCJKFont || typographic) {
      const double size = FSizeInPoints / AMeasurer->UnitConverter()->FontSizeScale();
      const double scale = size / otm.otmEMSquare;
      FAscent = CeilInt(metrics.Ascent * scale);
      FDescent = CeilInt(metrics.Descent * scale);
      FLineSpacing = CeilInt(metrics.LineSpacing * scale);
      if (!FIsCJKFont) {
        const std::int64_t fixed = static_cast<std::int64_t>(scale * 65536 + 0.5);
        FGdiOffset = tm.tmAscent - static_cast<int>((metrics.Ascent * fixed + 32768) / 65536);
        if (metrics.HasVDMX) FGdiOffset = std::min(FGdiOffset, 0);
        FDrawingOffset = tm.tmAscent - FAscent;
      } else {
        FCjkUnderlineSize = CeilInt(size * 51 / 1024);
      }
    } else {
      FAscent = tm.tmAscent;
      FDescent = tm.tmDescent;
      FLineSpacing = tm.tmExternalLeading + tm.tmAscent + tm.tmDescent;
    }
  }
  if (FIsCJKFont) {
    if (typographic) {
      FAscent = otm.otmAscent;
      FDescent = -otm.otmDescent;
      FLineSpacing = FAscent + FDescent + static_cast<int>(otm.otmLineGap);
    } else {
      FCjkUnderlinePosition = CeilInt(FAscent * 1.15 + FDescent * 0.85);
      const int lineSpacing = CeilInt((FAscent + FDescent) * 1.3);
      const int extra = lineSpacing - FAscent - FDescent;
      const int half = extra / 2;
      FAscent += half;
      FDescent += extra - half;
      FLineSpacing = lineSpacing;
      FCjkUnderlinePosition -= FAscent;
      FApplyCjkUnderline = true;
    }
    FDrawingOffset = tm.tmAscent - FAscent;
  }
  if (FApplyCjkUnderline) {
    FUnderlinePosition = FCjkUnderlinePosition;
    FUnderlineThickness = FCjkUnderlineSize;
  } else {
    FUnderlinePosition = -otm.otmsUnderscorePosition;
    FUnderlineThickness = static_cast<int>(otm.otmsUnderscoreSize);
  }
  FStrikeoutPosition = otm.otmsStrikeoutPosition;
  FStrikeoutThickness = static_cast<int>(otm.otmsStrikeoutSize);
  FSubscriptSize = TSize(otm.otmptSubscriptSize.x, otm.otmptSubscriptSize.y);
  FSubscriptOffset = TPoint(otm.otmptSubscriptOffset.x, otm.otmptSubscriptOffset.y);
  FSuperscriptSize = TSize(otm.otmptSuperscriptSize.x, otm.otmptSuperscriptSize.y);
  FSuperscriptOffset = TPoint(otm.otmptSuperscriptOffset.x, -otm.otmptSuperscriptOffset.y);
  CalculateFreeSpace();

  FSpaceWidth = static_cast<int>(std::nearbyint(AMeasurer->MeasureCharacterWidthF(L' ', this)));
  FPilcrowSignWidth = AMeasurer->MeasureCharacterWidth(L'\x00B6', this);
  FNonBreakingSpaceWidth = AMeasurer->MeasureCharacterWidth(L'\x00A0', this);
  FUnderscoreWidth = AMeasurer->MeasureCharacterWidth(L'_', this);
  FMiddleDotWidth = AMeasurer->MeasureCharacterWidth(L'\x00B7', this);
  FDotWidth = AMeasurer->MeasureCharacterWidth(L'.', this);
  FDashWidth = AMeasurer->MeasureCharacterWidth(L'-', this);
  FEqualSignWidth = AMeasurer->MeasureCharacterWidth(L'=', this);
  FCharset = GetTextCharset(dc);
  FMaxDigitWidth = AMeasurer->MeasureMaxDigitWidthF(this);
}

void TdxFontInfo::CalculateFreeSpace() {
  FFree = FLineSpacing - FAscent - FDescent;
  if (FFree >= 0) return;
  FDescent = FLineSpacing - FAscent;
  if (FDescent < 0) {
    FAscent = FLineSpacing;
    FDescent = 0;
  }
  FFree = 0;
}

const std::array<std::uint32_t, 4>& TdxFontInfo::GetUnicodeSubrangeBits(HDC ACanvas) {
  if (FUnicodeSubrangeBitsCalculated) return FUnicodeSubrangeBits;
  LOCALESIGNATURE locale{};
  if (GetLocaleInfoW(LOCALE_INVARIANT, LOCALE_FONTSIGNATURE, reinterpret_cast<wchar_t*>(&locale),
                     sizeof(locale) / sizeof(wchar_t)))
    std::memcpy(FUnicodeSubrangeBits.data(), locale.lsUsb, sizeof(locale.lsUsb));
  const TSelectObject selected(ACanvas, FGdiFontHandle.Get());
  FONTSIGNATURE signature{};
  if (GetTextCharsetInfo(ACanvas, &signature, 0) != DEFAULT_CHARSET)
    std::memcpy(FUnicodeSubrangeBits.data(), signature.fsUsb, sizeof(signature.fsUsb));
  FUnicodeSubrangeBitsCalculated = true;
  return FUnicodeSubrangeBits;
}

bool TdxFontInfo::CalculateCanDrawCharacter(const TdxUnicodeRangeInfo* AUnicodeRangeInfo, HDC ACanvas,
                                            wchar_t ACharacter) {
  const TdxUnicodeSubrange* range = AUnicodeRangeInfo->LookupSubrange(ACharacter);
  if (!range) return false;
  const auto& bits = GetUnicodeSubrangeBits(ACanvas);
  return (bits[static_cast<std::size_t>(range->Bit / 32)] >> (range->Bit % 32) & 1) != 0;
}

bool TdxFontInfo::CanDrawCharacter(const TdxUnicodeRangeInfo* AUnicodeRangeInfo, HDC ACanvas, wchar_t ACharacter) {
  bool ability = false;
  if (FCharacterDrawingAbilityTable->GetDrawingAbility(ACharacter, ability)) return ability;
  ability = CalculateCanDrawCharacter(AUnicodeRangeInfo, ACanvas, ACharacter);
  FCharacterDrawingAbilityTable->SetDrawingAbility(ACharacter, ability);
  return ability;
}

TdxFontInfo* TdxFontInfo::GetBaseFontInfo(IdxFontsContainer* AContainer) {
  return FBaseFontIndex >= 0 ? AContainer->GetFontCache()->Items(FBaseFontIndex) : this;
}

int TdxFontInfo::GetBaseAscentAndFree(IdxFontsContainer* AContainer) {
  return GetBaseFontInfo(AContainer)->AscentAndFree();
}

int TdxFontInfo::GetBaseDescent(IdxFontsContainer* AContainer) { return GetBaseFontInfo(AContainer)->FDescent; }

void TdxFontInfo::CalculateSubscriptOffset(const TdxFontInfo* ABaseFontInfo) {
  const int own = AscentAndFree() + ABaseFontInfo->FLineSpacing - FLineSpacing - ABaseFontInfo->AscentAndFree();
  FSubscriptOffset.Y = std::min(ABaseFontInfo->FSubscriptOffset.Y, own);
}

void TdxFontInfo::CalculateSuperscriptOffset(const TdxFontInfo* ABaseFontInfo) {
  const int baseAscentAndFree = ABaseFontInfo->AscentAndFree();
  FSuperscriptOffset.Y = baseAscentAndFree + ABaseFontInfo->FSuperscriptOffset.Y - AscentAndFree() < 0
                             ? AscentAndFree() - baseAscentAndFree
                             : ABaseFontInfo->FSuperscriptOffset.Y;
}

TdxFontCharacterRanges TdxFontInfo::GetFontUnicodeRanges(HDC ADC, HFONT AFont) {
  TdxFontCharacterRanges result;
  const HGDIOBJ previous = AFont ? SelectObject(ADC, AFont) : nullptr;
  const DWORD size = ::GetFontUnicodeRanges(ADC, nullptr);
  if (size >= sizeof(GLYPHSET)) {
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* glyphs = reinterpret_cast<GLYPHSET*>(buffer.data());
    if (::GetFontUnicodeRanges(ADC, glyphs) != 0) {
      // The ranges come in ascending order; Wine goes on past U+FFFF with
      // the code points cut to 16 bits, so a range that steps back starts
      // the characters outside the 16-bit range: none of those is kept.
      int previousHi = -1;
      for (DWORD i = 0; i < glyphs->cRanges; ++i) {
        const WCRANGE& range = glyphs->ranges[i];
        if (range.wcLow <= previousHi) break;
        previousHi = std::min<int>(range.wcLow + range.cGlyphs - 1, 0xFFFF);
        result.push_back({range.wcLow, previousHi});
      }
      result.push_back({0, 255});
      result.push_back({0xF000, 0xF0FF});
    }
  }
  if (AFont) SelectObject(ADC, previous);
  return result;
}

// ---------------------------------------------------------------------------
// TdxFontInfoMeasurer

void TdxFontInfoMeasurer::Create(TdxDocumentLayoutUnitConverter* AUnitConverter) {
  inherited::Create();
  FUnitConverter = AUnitConverter;
  FDpi = AUnitConverter->Dpi();
  FCanvas.Reset(CreateCompatibleDC(nullptr));
  if (!FCanvas) RaiseLastOSError();
  FInitialFont = GetCurrentObject(FCanvas.Get(), OBJ_FONT);
}

void TdxFontInfoMeasurer::Destroy() {
  // The fonts belong to their font infos: the context gives its own back.
  if (FCanvas) SelectObject(FCanvas.Get(), FInitialFont);
  FCanvas.Reset();
  inherited::Destroy();
}

void TdxFontInfoMeasurer::DeselectFont() { SelectObject(FCanvas.Get(), FInitialFont); }

void TdxFontInfoMeasurer::SelectFont(const TdxFontInfo* AFontInfo) { SelectObject(FCanvas.Get(), AFontInfo->GdiFontHandle()); }

float TdxFontInfoMeasurer::MeasureCharacterWidthF(wchar_t ACharacter, const TdxFontInfo* AFontInfo) {
  SelectFont(AFontInfo);
  SIZE size{};
  GetTextExtentPoint32W(FCanvas.Get(), &ACharacter, 1, &size);
  return static_cast<float>(size.cx);
}

int TdxFontInfoMeasurer::MeasureCharacterWidth(wchar_t ACharacter, const TdxFontInfo* AFontInfo) {
  return CeilInt(MeasureCharacterWidthF(ACharacter, AFontInfo));
}

TSize TdxFontInfoMeasurer::MeasureString(const String& AText, const TdxFontInfo* AFontInfo) {
  SelectFont(AFontInfo);
  SIZE size{};
  GetTextExtentPoint32W(FCanvas.Get(), AText.c_str(), static_cast<int>(AText.size()), &size);
  return TSize(size.cx, size.cy);
}

float TdxFontInfoMeasurer::MeasureMaxDigitWidthF(const TdxFontInfo* AFontInfo) {
  SelectFont(AFontInfo);
  ABCFLOAT widths[10]{};
  float largest = 0;
  if (GetCharABCWidthsFloatW(FCanvas.Get(), L'0', L'9', widths))
    for (const ABCFLOAT& abc : widths) largest = std::max(largest, abc.abcfA + abc.abcfB + abc.abcfC);
  return largest > 0 ? FUnitConverter->PixelsToLayoutUnitsF(largest, FDpi) : 0;
}

// ---------------------------------------------------------------------------
// The loader thread

bool TdxFontCache::TTrueTypeFontLoader::CanContinue() {
  ++FStepsTaken;
  if (Terminated()) return false;
  TApplication* application = Application();
  return !application || !application->Terminated();
}

void TdxFontCache::TTrueTypeFontLoader::Execute() {
  TFontUnitState& state = State();
  const std::lock_guard lock(state.CharacterSetsLock);
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  struct TEnumeration {
    TTrueTypeFontLoader* Loader;
    TFontUnitState* State;
    bool Stopped;
  } enumeration{this, &state, false};
  EnumFontFamiliesExW(
      dc.Get(), &all,
      [](const LOGFONTW* ALogFont, const TEXTMETRICW* AMetric, DWORD AFontType, LPARAM AData) -> int {
        auto* e = reinterpret_cast<TEnumeration*>(AData);
        const String name = ALogFont->lfFaceName;
        const String key = AnsiUpperCase(name);
        if (AFontType == TRUETYPE_FONTTYPE && !key.empty() && key[0] != L'@' && !e->State->TrueTypeFonts.contains(key)) {
          int type = static_cast<int>(AFontType);
          if (ALogFont->lfCharSet == SYMBOL_CHARSET) type |= TdxTrueTypeFontInfo::SymbolFont;
          // TMPF_FIXED_PITCH set means a variable pitch.
          if (!(AMetric->tmPitchAndFamily & TMPF_FIXED_PITCH)) type |= TdxTrueTypeFontInfo::FixedPitchFont;
          e->State->TrueTypeFonts.emplace(key, TOwned<TdxTrueTypeFontInfo>(New<TdxTrueTypeFontInfo>(name, type)));
        }
        if (e->Loader->CanContinue()) return 1;
        e->Stopped = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&enumeration), 0);
  if (enumeration.Stopped) return;
  for (const auto& [key, info] : state.TrueTypeFonts) {
    if (!state.CharacterSets.contains(key)) {
      const TOwnedFont font(CreateLoaderFont(info->FontName()));
      const TSelectObject selected(dc.Get(), font.Get());
      const TdxFontCharacterRanges ranges = TdxFontInfo::GetFontUnicodeRanges(dc.Get(), nullptr);
      OUTLINETEXTMETRICW otm{};
      otm.otmSize = sizeof otm;
      if (GetOutlineTextMetricsW(dc.Get(), sizeof otm, &otm) != 0)
        state.CharacterSets.emplace(key, TOwned<TdxFontCharacterSet>(New<TdxFontCharacterSet>(ranges, otm.otmPanoseNumber)));
    }
    if (!CanContinue()) return;
  }
}

// ---------------------------------------------------------------------------
// TdxFontCache

void TdxFontCache::Create(TdxDocumentLayoutUnit AUnit, float ADpi, bool AUseOfficeFonts) {
  inherited::Create();
  FUseOfficeFonts = AUseOfficeFonts;
  FUnitConverter.reset(TdxDocumentLayoutUnitConverter::CreateConverter(AUnit, ADpi));
  FMeasurer.reset(CreateMeasurer(FUnitConverter.get()));
  CheckInitialize();
}

void TdxFontCache::Destroy() {
  // The measurer's context lets go of the last font before the fonts go.
  FMeasurer.reset();
  FItems.clear();
  FUnitConverter.reset();
  inherited::Destroy();
}

void TdxFontCache::CheckInitialize() {
  TFontUnitState& state = State();
  if (!state.Loader) state.Loader.reset(New<TTrueTypeFontLoader>(false, false));
  if (!state.Loader->Finished()) state.Loader->WaitFor();
}

TdxFontCache::TTrueTypeFontInfoDictionary* TdxFontCache::CreateTrueTypeFontInfoDictionary() {
  return new TTrueTypeFontInfoDictionary();
}

TdxFontInfoMeasurer* TdxFontCache::CreateMeasurer(TdxDocumentLayoutUnitConverter* AUnitConverter) {
  return New<TdxFontInfoMeasurer>(AUnitConverter);
}

TStringList* TdxFontCache::CreateSystemTrueTypeFonts() {
  TOwned<TStringList> list(New<TStringList>());
  for (const auto& [key, info] : State().TrueTypeFonts) list->AddObject(info->FontName(), info.get());
  list->SetSorted(true);
  return list.release();
}

int TdxFontCache::Count() const {
  const std::lock_guard lock(FLock);
  return static_cast<int>(FItems.size());
}

TdxFontInfo* TdxFontCache::Items(int AIndex) const {
  const std::lock_guard lock(FLock);
  if (AIndex < 0 || AIndex >= static_cast<int>(FItems.size()))
    throw EListError(L"List index out of bounds (%d)", {AIndex});
  return FItems[static_cast<std::size_t>(AIndex)].get();
}

int TdxFontCache::CalcFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle,
                                TdxCharacterFormattingScript AScript) {
  const int size = FUnitConverter->PointsToFontUnits(ADoubleFontSize);
  switch (AScript) {
    case TdxCharacterFormattingScript::Subscript:
      return CalcSubscriptFontIndex(AFontName, size, AFontStyle);
    case TdxCharacterFormattingScript::Superscript:
      return CalcSuperscriptFontIndex(AFontName, size, AFontStyle);
    default:
      return CalcNormalFontIndex(AFontName, size, AFontStyle);
  }
}

int TdxFontCache::CalcNormalFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle) {
  return GetFontIndex(AFontName, ADoubleFontSize, AFontStyle, TdxCharacterFormattingScript::Normal);
}

int TdxFontCache::CalcSubscriptFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle) {
  const int base = CalcNormalFontIndex(AFontName, ADoubleFontSize, AFontStyle);
  TdxFontInfo* baseInfo = Items(base);
  const int size =
      static_cast<int>(std::nearbyint(FUnitConverter->FontSizeScale() * baseInfo->SubscriptSize().cy));
  const int index = GetFontIndex(AFontName, 2 * size, AFontStyle, TdxCharacterFormattingScript::Subscript);
  TdxFontInfo* info = Items(index);
  info->SetBaseFontIndex(base);
  info->CalculateSubscriptOffset(baseInfo);
  return index;
}

int TdxFontCache::CalcSuperscriptFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle) {
  const int base = CalcNormalFontIndex(AFontName, ADoubleFontSize, AFontStyle);
  TdxFontInfo* baseInfo = Items(base);
  const int size =
      static_cast<int>(std::nearbyint(FUnitConverter->FontSizeScale() * baseInfo->SuperscriptSize().cy));
  const int index = GetFontIndex(AFontName, 2 * size, AFontStyle, TdxCharacterFormattingScript::Superscript);
  TdxFontInfo* info = Items(index);
  info->SetBaseFontIndex(base);
  info->CalculateSuperscriptOffset(baseInfo);
  return index;
}

int TdxFontCache::GetFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle,
                               TdxCharacterFormattingScript AScript) {
  const String upper = AnsiUpperCase(AFontName);
  const std::uint64_t key = FontIndexKey(upper, ADoubleFontSize, AFontStyle, AScript);
  // One lock for lookups and insertions: a reader never sees a table in the
  // middle of an insertion.
  const std::lock_guard lock(FLock);
  const auto [first, last] = FIndexHash.equal_range(key);
  for (auto it = first; it != last; ++it)
    if (AnsiUpperCase(FItems[static_cast<std::size_t>(it->second)]->Name()) == upper) return it->second;
  TOwned<TdxFontInfo> info(New<TdxFontInfo>(FMeasurer.get(), AFontName, ADoubleFontSize, AFontStyle, true,
                                            FUseOfficeFonts));
  const int charset = info->Charset();
  FItems.push_back(std::move(info));
  const int index = static_cast<int>(FItems.size()) - 1;
  FIndexHash.emplace(key, index);
  FCharsets[upper] = charset;
  return index;
}

int TdxFontCache::GetCharsetByFontName(const String& AFontName) {
  const String upper = AnsiUpperCase(AFontName);
  {
    const std::lock_guard lock(FLock);
    if (const auto it = FCharsets.find(upper); it != FCharsets.end()) return it->second;
  }
  CalcFontIndex(upper, 24, TFontStyles(), TdxCharacterFormattingScript::Normal);
  const std::lock_guard lock(FLock);
  return FCharsets[upper];
}

TdxFontCharacterSet* TdxFontCache::GetFontCharacterSet(const String& AFontName) {
  TFontUnitState& state = State();
  const std::lock_guard lock(state.CharacterSetsLock);
  const String upper = AnsiUpperCase(AFontName);
  if (const auto it = state.CharacterSets.find(upper); it != state.CharacterSets.end()) return it->second.get();
  const TOwned<TdxFontInfo> info(New<TdxFontInfo>(FMeasurer.get(), upper, 20, TFontStyles(), true, FUseOfficeFonts));
  const TdxFontCharacterRanges ranges = TdxFontInfo::GetFontUnicodeRanges(FMeasurer->Canvas(), info->GdiFontHandle());
  FMeasurer->DeselectFont();
  auto [it, added] =
      state.CharacterSets.emplace(upper, TOwned<TdxFontCharacterSet>(New<TdxFontCharacterSet>(ranges, info->Panose())));
  return it->second.get();
}

bool TdxFontCache::ShouldUseDefaultFontToDrawInvisibleCharacter(TdxFontInfo* AFontInfo, wchar_t ACharacter) {
  return AFontInfo->CanDrawCharacter(State().UnicodeRangeInfo.get(), FMeasurer->Canvas(), ACharacter);
}

String TdxFontCache::FindSubstituteFont(const String& ASourceFontName, wchar_t ACharacter,
                                        TdxFontCharacterSet*& AFontCharacterSet) {
  TFontUnitState& state = State();
  const std::lock_guard lock(state.CharacterSetsLock);
  String result = ASourceFontName;
  const String source = AnsiUpperCase(ASourceFontName);
  if (!state.TrueTypeFonts.contains(source)) {
    const wchar_t* candidate = nullptr;
    switch (const UINT codePage = TdxFontLink::GetCharCodePage(ACharacter)) {
      case 874: candidate = L"TAHOMA"; break;
      case 932: candidate = L"MS MINCHO"; break;
      case 936: candidate = L"MS SONG"; break;
      case 949: candidate = L"GULIMCHE"; break;
      case 950: candidate = L"NEW MINGLIU"; break;
      default:
        if (codePage >= 1250 && codePage <= 1259) candidate = L"TIMES NEW ROMAN";
        break;
    }
    if (candidate && state.TrueTypeFonts.contains(candidate)) {
      if (const auto it = state.CharacterSets.find(candidate); it != state.CharacterSets.end()) {
        AFontCharacterSet = it->second.get();
        if (AFontCharacterSet->ContainsChar(ACharacter)) return candidate;
      }
    }
  }
  const auto sourceSet = state.CharacterSets.find(source);
  if (sourceSet == state.CharacterSets.end())
    throw EListError(L"Item not found: the face %s has no character set", {ASourceFontName});
  int best = INT_MAX;
  for (const auto& [name, set] : state.CharacterSets) {
    if (!set->ContainsChar(ACharacter)) continue;
    const int distance = TdxFontCharacterSet::CalculatePanoseDistance(sourceSet->second->Panose(), set->Panose());
    if (distance < best) {
      best = distance;
      result = name;
      if (distance == 0) break;
    }
  }
  return result;
}

// ---------------------------------------------------------------------------
// TdxFontCacheManager

namespace {

TdxFontCache* FindOrCreateCache(std::vector<TOwned<TdxFontCache>>& ACaches, TdxDocumentLayoutUnit AUnit, float ADpi,
                                bool AUseOfficeFonts) {
  const TOwned<TdxDocumentLayoutUnitConverter> wanted(TdxDocumentLayoutUnitConverter::CreateConverter(AUnit, ADpi));
  for (const auto& cache : ACaches)
    if (cache->UnitConverter()->Equals(wanted.get())) return cache.get();
  ACaches.emplace_back(New<TdxFontCache>(AUnit, ADpi, AUseOfficeFonts));
  return ACaches.back().get();
}

}  // namespace

TdxFontCache* TdxFontCacheManager::GetOfficeFontCache(TdxDocumentLayoutUnit AUnit, float ADpi) {
  return FindOrCreateCache(State().OfficeCaches, AUnit, ADpi, true);
}

TdxFontCache* TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit AUnit, float ADpi) {
  return FindOrCreateCache(State().ClassLibraryCaches, AUnit, ADpi, false);
}

// ---------------------------------------------------------------------------
// TdxFontLink

namespace {

// The import library's IID resolves to nothing; the interface's own GUID.
constexpr GUID IIDMLangFontLink = {0x359F3441, 0xBD4A, 0x11D0, {0xB1, 0x88, 0x00, 0xAA, 0x00, 0x38, 0xC9, 0x69}};

TComPtr<IMLangFontLink> GFontLink;
bool GFontLinkTried = false;

}  // namespace

UINT TdxFontLink::GetCharCodePage(wchar_t ACharacter) {
  if (!GFontLinkTried) {
    GFontLinkTried = true;
    unsigned int control = 0;
    _controlfp_s(&control, 0, 0);
    unsigned int unused = 0;
    _controlfp_s(&unused, control | _EM_OVERFLOW, _MCW_EM);
    CoCreateInstance(CLSID_CMultiLanguage, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IIDMLangFontLink,
                     GFontLink.ReceiveVoid());
    _controlfp_s(&unused, control, _MCW_EM);
  }
  if (GFontLink) {
    DWORD codePages = 0;
    UINT codePage = 0;
    if (SUCCEEDED(GFontLink->GetCharCodePages(ACharacter, &codePages)) &&
        SUCCEEDED(GFontLink->CodePagesToCodePage(codePages, 0, &codePage)))
      return codePage;
  }
  return GetACP();
}

void TdxFontLink::Release() {
  if (GFontLink) GFontLink->ResetFontMapping();
  GFontLink.Reset();
  GFontLinkTried = false;
}

// ---------------------------------------------------------------------------
// Unit routines

String dxGetSubstituteFontName(const String& AFontName) {
  TFontUnitState& state = State();
  const auto it = state.Substitutions.find(AnsiUpperCase(AFontName));
  if (it == state.Substitutions.end()) return AFontName;
  const std::lock_guard lock(state.CharacterSetsLock);
  return state.TrueTypeFonts.contains(it->second) ? it->second : AFontName;
}

bool dxIsTrueTypeFont(const String& AFontName) {
  TFontUnitState& state = State();
  const std::lock_guard lock(state.CharacterSetsLock);
  return state.TrueTypeFonts.contains(AnsiUpperCase(AFontName));
}

namespace {

BYTE DecideOfficeFontQuality() {
  BOOL smoothing = FALSE;
  UINT type = 0;
  if (SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0) && smoothing &&
      SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0) && type == FE_FONTSMOOTHINGCLEARTYPE)
    return IsWinVistaOrLater ? CLEARTYPE_NATURAL_QUALITY : CLEARTYPE_QUALITY;
  return DEFAULT_QUALITY;
}

void StartFontServices() {
  TFontUnitState& state = State();
  state.UnicodeRangeInfo.reset(New<TdxUnicodeRangeInfo>());
  state.Loader.reset(New<TdxFontCache::TTrueTypeFontLoader>(false, false));
}

void StopFontServices() {
  if (!GState) return;
  GState->OfficeCaches.clear();
  GState->ClassLibraryCaches.clear();
  if (GState->Loader) GState->Loader->Terminate();
  // Destroy waits for the thread.
  GState->Loader.reset();
  GState->UnicodeRangeInfo.reset();
  GState->CharacterSets.clear();
  GState->TrueTypeFonts.clear();
  TdxFontLink::Release();
}

}  // namespace

void dxFontHelpersInitialization() {
  GState = std::make_unique<TFontUnitState>();
  GState->Substitutions = {{L"MS SANS SERIF", L"MICROSOFT SANS SERIF"},
                           {L"MS SERIF", L"CAMBRIA"},
                           {L"COURIER", L"COURIER NEW"}};
  GState->OfficeFontQuality = DecideOfficeFontQuality();
  GState->ComInitialized = SUCCEEDED(CoInitialize(nullptr));
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&StartFontServices, &StopFontServices);
  else
    StartFontServices();
}

void dxFontHelpersFinalization() {
  if (!GState) return;
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&StopFontServices);
  else
    StopFontServices();
  // COM goes last: the loader has ended and MLang is released.
  if (GState->ComInitialized) CoUninitialize();
  GState.reset();
}
