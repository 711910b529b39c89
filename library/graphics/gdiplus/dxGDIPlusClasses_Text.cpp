#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "platform/ui/GdiScopes.h"

#include <bit>
#include <cmath>
#include <cwchar>

using namespace Gdiplus;

namespace {

constexpr wchar_t VerticalMark = L'@';

TdxGPFontFamily* GenericSansSerifFamily = nullptr;
TdxGPFontFamily* GenericSerifFamily = nullptr;

// A shared family from one of GDI+'s generic family functions; nil when GDI+
// has none.
TdxGPFontFamily* GenericFamily(TdxGPFontFamily*& AFamily, GpStatus(WINGDIPAPI* AGet)(GpFontFamily**)) {
  if (!AFamily) {
    TdxGpOwnedFontFamily family;
    if (AGet(family.Receive()) != Ok || !family) return nullptr;
    AFamily = New<TdxGPFontFamily>(family.Get());
  }
  return AFamily;
}

}  // namespace

TdxGPFontFamily* GetGenericSansSerifFontFamily() {
  return GenericFamily(GenericSansSerifFamily, GdipGetGenericFontFamilySansSerif);
}

TdxGPFontFamily* GetGenericSerifFontFamily() { return GenericFamily(GenericSerifFamily, GdipGetGenericFontFamilySerif); }

void dxGDIPlusClassesFreeGenericFontFamilies() {
  FreeAndNil(GenericSansSerifFamily);
  FreeAndNil(GenericSerifFamily);
}

int GdipFontStyleFromFontStyles(TFontStyles AStyles) {
  int result = 0;
  if (AStyles.Contains(fsBold)) result |= FontStyleBold;
  if (AStyles.Contains(fsItalic)) result |= FontStyleItalic;
  if (AStyles.Contains(fsUnderline)) result |= FontStyleUnderline;
  if (AStyles.Contains(fsStrikeOut)) result |= FontStyleStrikeout;
  return result;
}

// ---------------------------------------------------------------------------
// TdxGPStringFormat

void TdxGPStringFormat::Create(int AFormatAttributes, LANGID ALanguage) {
  CheckGdipStatus(GdipCreateStringFormat(AFormatAttributes, ALanguage, FHandle.Receive()));
}

void TdxGPStringFormat::Create(const TdxGPStringFormat* AFormat) {
  CheckGdipStatus(GdipCloneStringFormat(AFormat ? AFormat->Handle() : nullptr, FHandle.Receive()));
}

void TdxGPStringFormat::Assign(const TdxGPStringFormat* ASource) {
  if (ASource == this) return;
  FHandle.Reset();
  CheckGdipStatus(GdipCloneStringFormat(ASource ? ASource->Handle() : nullptr, FHandle.Receive()));
}

void TdxGPStringFormat::SetTabStops(float AFirstTabOffset, int ACount, const float* ATabStops) {
  CheckGdipStatus(GdipSetStringFormatTabStops(Handle(), AFirstTabOffset, ACount, ATabStops));
}

int TdxGPStringFormat::GetTabStopCount() const {
  INT result = 0;
  CheckGdipStatus(GdipGetStringFormatTabStopCount(Handle(), &result));
  return result;
}

std::vector<float> TdxGPStringFormat::GetTabStops(int ACount, float& AFirstTabOffset) const {
  std::vector<float> result(static_cast<std::size_t>(std::max(ACount, 0)));
  AFirstTabOffset = 0;
  CheckGdipStatus(GdipGetStringFormatTabStops(Handle(), ACount, &AFirstTabOffset, result.data()));
  return result;
}

void TdxGPStringFormat::SetDigitSubstitution(LANGID ALanguage, TdxGpStringDigitSubstitute ASubstitute) {
  CheckGdipStatus(GdipSetStringFormatDigitSubstitution(Handle(), ALanguage, ASubstitute));
}

void TdxGPStringFormat::SetMeasurableCharacterRanges(int ACount, const TdxGpCharacterRange* ARanges) {
  static_assert(sizeof(TdxGpCharacterRange) == sizeof(CharacterRange));
  CheckGdipStatus(
      GdipSetStringFormatMeasurableCharacterRanges(Handle(), ACount, reinterpret_cast<const CharacterRange*>(ARanges)));
}

TdxGpStringAlignment TdxGPStringFormat::Alignment() const {
  StringAlignment result = StringAlignmentNear;
  CheckGdipStatus(GdipGetStringFormatAlign(Handle(), &result));
  return result;
}

void TdxGPStringFormat::SetAlignment(TdxGpStringAlignment AValue) {
  CheckGdipStatus(GdipSetStringFormatAlign(Handle(), AValue));
}

TdxGpStringAlignment TdxGPStringFormat::LineAlignment() const {
  StringAlignment result = StringAlignmentNear;
  CheckGdipStatus(GdipGetStringFormatLineAlign(Handle(), &result));
  return result;
}

void TdxGPStringFormat::SetLineAlignment(TdxGpStringAlignment AValue) {
  CheckGdipStatus(GdipSetStringFormatLineAlign(Handle(), AValue));
}

int TdxGPStringFormat::FormatFlags() const {
  INT result = 0;
  CheckGdipStatus(GdipGetStringFormatFlags(Handle(), &result));
  return result;
}

void TdxGPStringFormat::SetFormatFlags(int AValue) { CheckGdipStatus(GdipSetStringFormatFlags(Handle(), AValue)); }

TdxGPHotkeyPrefix TdxGPStringFormat::HotkeyPrefix() const {
  INT result = 0;
  CheckGdipStatus(GdipGetStringFormatHotkeyPrefix(Handle(), &result));
  return static_cast<TdxGPHotkeyPrefix>(result);
}

void TdxGPStringFormat::SetHotkeyPrefix(TdxGPHotkeyPrefix AValue) {
  CheckGdipStatus(GdipSetStringFormatHotkeyPrefix(Handle(), AValue));
}

TdxGpStringTrimming TdxGPStringFormat::Trimming() const {
  StringTrimming result = StringTrimmingNone;
  CheckGdipStatus(GdipGetStringFormatTrimming(Handle(), &result));
  return result;
}

void TdxGPStringFormat::SetTrimming(TdxGpStringTrimming AValue) {
  CheckGdipStatus(GdipSetStringFormatTrimming(Handle(), AValue));
}

LANGID TdxGPStringFormat::DigitSubstitutionLanguage() const {
  LANGID language = 0;
  StringDigitSubstitute method = StringDigitSubstituteUser;
  CheckGdipStatus(GdipGetStringFormatDigitSubstitution(Handle(), &language, &method));
  return language;
}

TdxGpStringDigitSubstitute TdxGPStringFormat::DigitSubstitutionMethod() const {
  LANGID language = 0;
  StringDigitSubstitute method = StringDigitSubstituteUser;
  CheckGdipStatus(GdipGetStringFormatDigitSubstitution(Handle(), &language, &method));
  return method;
}

int TdxGPStringFormat::MeasurableCharacterRangeCount() const {
  INT result = 0;
  CheckGdipStatus(GdipGetStringFormatMeasurableCharacterRangeCount(Handle(), &result));
  return result;
}

// ---------------------------------------------------------------------------
// TdxGPFontFamily

void TdxGPFontFamily::Create(const String& AName) {
  // A family that is not installed is no error until a font is built on it.
  if (GdipCreateFontFamilyFromName(AName.c_str(), nullptr, FHandle.Receive()) != Ok) FHandle.Reset();
}

void TdxGPFontFamily::Create(GpFontFamily* AFamily) {
  if (GdipCloneFontFamily(AFamily, FHandle.Receive()) != Ok) FHandle.Reset();
}

TdxGPFontFamily* TdxGPFontFamily::Clone() const { return New<TdxGPFontFamily>(Handle()); }

std::uint16_t TdxGPFontFamily::GetCellAscent(int AStyle) const {
  UINT16 result = 0;
  CheckGdipStatus(GdipGetCellAscent(Handle(), AStyle, &result));
  return result;
}

std::uint16_t TdxGPFontFamily::GetCellDescent(int AStyle) const {
  UINT16 result = 0;
  CheckGdipStatus(GdipGetCellDescent(Handle(), AStyle, &result));
  return result;
}

std::uint16_t TdxGPFontFamily::GetEmHeight(int AStyle) const {
  UINT16 result = 0;
  CheckGdipStatus(GdipGetEmHeight(Handle(), AStyle, &result));
  return result;
}

std::uint16_t TdxGPFontFamily::GetLineSpacing(int AStyle) const {
  UINT16 result = 0;
  CheckGdipStatus(GdipGetLineSpacing(Handle(), AStyle, &result));
  return result;
}

String TdxGPFontFamily::GetName(LANGID ALanguage) const {
  WCHAR name[LF_FACESIZE] = {};
  CheckGdipStatus(GdipGetFamilyName(Handle(), name, ALanguage));
  name[LF_FACESIZE - 1] = 0;
  return String(name);
}

bool TdxGPFontFamily::IsStyleAvailable(int AStyle) const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsStyleAvailable(Handle(), AStyle, &result));
  return result;
}

// ---------------------------------------------------------------------------
// TdxGPFont

void TdxGPFont::Create(const TdxGPFontFamily* AFamily, float AEmSize, int AStyle, int AUnit, std::uint8_t AGdiCharSet,
                       bool AGdiVerticalFont) {
  Initialize(AFamily, AEmSize, AStyle, AGdiVerticalFont, AGdiCharSet, AUnit);
}

void TdxGPFont::Create(const TdxGPFontFamily* AFamily, float AEmSize, Gdiplus::Unit AUnit) {
  Create(AFamily, AEmSize, 0, AUnit);
}

void TdxGPFont::Create(const String& AFamilyName, float AEmSize, Gdiplus::Unit AUnit) {
  Create(AFamilyName, AEmSize, 0, AUnit);
}

void TdxGPFont::Create(const String& AFamilyName, float AEmSize, int AStyle, int AUnit, std::uint8_t AGdiCharSet) {
  Create(AFamilyName, AEmSize, AStyle, AUnit, AGdiCharSet, IsVerticalName(AFamilyName));
}

void TdxGPFont::Create(const String& AFamilyName, float AEmSize, int AStyle, int AUnit, std::uint8_t AGdiCharSet,
                       bool AGdiVerticalFont) {
  if (!(AEmSize > 0) || std::isinf(AEmSize)) throw EdxGdipException(InvalidParameter);
  FOriginalFontName = AFamilyName;
  FFontFamily.reset(New<TdxGPFontFamily>(StripVerticalName(AFamilyName)));
  Initialize(FFontFamily.get(), AEmSize, AStyle, AGdiVerticalFont, AGdiCharSet, AUnit);
}

void TdxGPFont::Create(const TdxGPFont* APrototype, int AStyle) {
  FOriginalFontName = APrototype->FOriginalFontName;
  Initialize(APrototype->FFontFamily.get(), APrototype->FFontSize, AStyle, false, DefaultCharSet, APrototype->FFontUnit);
}

void TdxGPFont::Create(GpFont* ANativeFont, std::uint8_t AGdiCharSet, bool AGdiVerticalFont) {
  FNativeFont.Reset(ANativeFont);
  Gdiplus::Unit unit = UnitPoint;
  REAL size = 0;
  INT style = 0;
  CheckGdipStatus(GdipGetFontUnit(ANativeFont, &unit));
  CheckGdipStatus(GdipGetFontSize(ANativeFont, &size));
  CheckGdipStatus(GdipGetFontStyle(ANativeFont, &style));
  TdxGpOwnedFontFamily family;
  CheckGdipStatus(GdipGetFamily(ANativeFont, family.Receive()));
  FFontFamily.reset(New<TdxGPFontFamily>(family.Get()));
  Initialize(FFontFamily.get(), size, style, AGdiVerticalFont, AGdiCharSet, unit);
}

void TdxGPFont::Initialize(const TdxGPFontFamily* AFamily, float AEmSize, int AStyle, bool AGdiVerticalFont,
                           std::uint8_t AGdiCharSet, int AUnit) {
  if (!AFamily) throw EdxGdipException(FontFamilyNotFound);
  if (!(AEmSize > 0) || std::isinf(AEmSize)) throw EdxGdipException(InvalidParameter);
  FFontSize = AEmSize;
  FFontStyle = AStyle;
  FGdiVerticalFont = AGdiVerticalFont;
  FGdiCharSet = AGdiCharSet;
  FFontUnit = AUnit;
  if (!FFontFamily) FFontFamily.reset(AFamily->Clone());
  if (!FNativeFont)
    CheckGdipStatus(
        GdipCreateFont(FFontFamily->Handle(), AEmSize, AStyle, static_cast<Gdiplus::Unit>(AUnit), FNativeFont.Receive()));
  CheckGdipStatus(GdipGetFontSize(FNativeFont.Get(), &FFontSize));
}

void TdxGPFont::Destroy() {
  FNativeFont.Reset();
  FFontFamily.reset();
  inherited::Destroy();
}

TdxGPFont* TdxGPFont::FromLogFont(const LOGFONTW& ALogFont) {
  const TWindowDC screen(nullptr);
  return FromLogFont(ALogFont, screen.Get());
}

TdxGPFont* TdxGPFont::FromLogFont(const LOGFONTW& ALogFont, HDC AHdc) {
  TdxGpOwnedFont font;
  CheckGdipStatus(GdipCreateFontFromLogfontW(AHdc, &ALogFont, font.Receive()));
  if (!font) throw EdxGdipException(NotTrueTypeFont);
  GpFont* native = font.Release();
  return New<TdxGPFont>(native, ALogFont.lfCharSet, ALogFont.lfFaceName[0] == VerticalMark);
}

TdxGPFont* TdxGPFont::FromHFont(HFONT AHFont) {
  LOGFONTW logFont{};
  GetObjectW(AHFont, sizeof(logFont), &logFont);
  return FromLogFont(logFont);
}

TdxGPFont* TdxGPFont::FromHdc(HDC AHdc) {
  TdxGpOwnedFont font;
  CheckGdipStatus(GdipCreateFontFromDC(AHdc, font.Receive()));
  GpFont* native = font.Release();
  return New<TdxGPFont>(native, std::uint8_t{0}, false);
}

TdxGPFont* TdxGPFont::SafeCreate(const String& AFamilyName, float AEmSize, int AStyle, int AUnit,
                                 std::uint8_t AGdiCharSet) {
  TOwned<TdxGPFontFamily> family(New<TdxGPFontFamily>(StripVerticalName(AFamilyName)));
  const TdxGPFontFamily* used = family.get();
  if (!family->Handle()) {
    family.reset();
    used = GetGenericSansSerifFontFamily();
  }
  return New<TdxGPFont>(used, AEmSize, AStyle, AUnit, AGdiCharSet, false);
}

bool TdxGPFont::IsVerticalName(const String& AFamilyName) {
  return !AFamilyName.empty() && AFamilyName[0] == VerticalMark;
}

String TdxGPFont::StripVerticalName(const String& AFamilyName) {
  return AFamilyName.size() > 1 && AFamilyName[0] == VerticalMark ? AFamilyName.substr(1) : AFamilyName;
}

TdxGPFont* TdxGPFont::Clone() const {
  TdxGpOwnedFont font;
  CheckGdipStatus(GdipCloneFont(NativeFont(), font.Receive()));
  GpFont* native = font.Release();
  return New<TdxGPFont>(native, FGdiCharSet, FGdiVerticalFont);
}

void TdxGPFont::ToLogFont(LOGFONTW& ALogFont) const {
  const TWindowDC screen(nullptr);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(screen.Get()));
  ToLogFont(ALogFont, canvas.get());
}

void TdxGPFont::ToLogFont(LOGFONTW& ALogFont, const TdxGPCanvas* ACanvas) const {
  if (!ACanvas) throw EdxGdipException(InvalidParameter);
  CheckGdipStatus(GdipGetLogFontW(NativeFont(), ACanvas->Handle(), &ALogFont));
  if (FGdiVerticalFont) {
    // The last character gives way to the mark.
    std::wmemmove(ALogFont.lfFaceName + 1, ALogFont.lfFaceName, LF_FACESIZE - 2);
    ALogFont.lfFaceName[0] = VerticalMark;
    ALogFont.lfFaceName[LF_FACESIZE - 1] = 0;
  }
  if (ALogFont.lfCharSet == 0) ALogFont.lfCharSet = FGdiCharSet;
}

HFONT TdxGPFont::ToHfont() const {
  LOGFONTW logFont{};
  ToLogFont(logFont);
  return CreateFontIndirectW(&logFont);
}

float TdxGPFont::GetHeight(const TdxGPCanvas* AGraphics) const {
  if (!AGraphics) throw EdxGdipException(InvalidParameter);
  REAL result = 0;
  CheckGdipStatus(GdipGetFontHeight(NativeFont(), AGraphics->Handle(), &result));
  return result;
}

float TdxGPFont::GetHeight() const {
  const TWindowDC screen(nullptr);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(screen.Get()));
  return GetHeight(canvas.get());
}

float TdxGPFont::GetHeight(float ADpi) const {
  REAL result = 0;
  CheckGdipStatus(GdipGetFontHeightGivenDPI(NativeFont(), ADpi, &result));
  return result;
}

void TdxGPFont::SetFontFamily(TdxGPFontFamily* AFamily) {
  if (AFamily == FFontFamily.get()) return;
  FFontFamily.reset();  // the old family goes before the new one takes its place
  FFontFamily.reset(AFamily);
}

std::uint32_t TdxGPFont::GetHashCode() const {
  const auto s = static_cast<std::uint64_t>(std::llround(static_cast<double>(FFontSize)));
  const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(FFontUnit)));
  const auto st = static_cast<std::uint32_t>(FFontStyle);
  const auto sLow = static_cast<std::uint32_t>(s);
  const auto sHigh = static_cast<std::uint32_t>(s >> 25);
  return ((sLow << 7) | sHigh) ^ ((u << 26) | (u >> 6)) ^ std::rotl(st, 13);
}

String TdxGPFont::Name() const { return FFontFamily ? FFontFamily->Name() : String(); }

float TdxGPFont::SizeInPoints() const {
  if (FFontUnit == UnitPoint) return FFontSize;
  const TWindowDC screen(nullptr);
  const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(screen.Get()));
  const float emHeight = FFontFamily->GetEmHeight(FFontStyle);
  const float lineSpacing = FFontFamily->GetLineSpacing(FFontStyle);
  return (emHeight * GetHeight(canvas.get()) / lineSpacing) / (canvas->DpiY() / 72);
}

int TdxGPFont::Height() const { return static_cast<int>(std::ceil(GetHeight())); }
