// Colours, font data and the three drawing objects. The canvas is in
// Graphics_Canvas.cpp, the bitmap and icon in Graphics_Bitmap.cpp and
// Graphics_Icon.cpp, the picture and its registry in Graphics_Picture.cpp.
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cwctype>

// ---------------------------------------------------------------------------
// Colours

namespace {

constexpr TColorIdent GColorIdents[] = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clNone, L"clNone"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
};

struct TCharsetIdent {
  int Value;
  const wchar_t* Name;
};

constexpr TCharsetIdent GCharsetIdents[] = {
    {ANSI_CHARSET, L"ANSI_CHARSET"},
    {DEFAULT_CHARSET, L"DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, L"SYMBOL_CHARSET"},
    {MAC_CHARSET, L"MAC_CHARSET"},
    {SHIFTJIS_CHARSET, L"SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, L"HANGEUL_CHARSET"},
    {JOHAB_CHARSET, L"JOHAB_CHARSET"},
    {GB2312_CHARSET, L"GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, L"CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, L"GREEK_CHARSET"},
    {TURKISH_CHARSET, L"TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, L"VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, L"HEBREW_CHARSET"},
    {ARABIC_CHARSET, L"ARABIC_CHARSET"},
    {BALTIC_CHARSET, L"BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, L"RUSSIAN_CHARSET"},
    {THAI_CHARSET, L"THAI_CHARSET"},
    {EASTEUROPE_CHARSET, L"EASTEUROPE_CHARSET"},
    {OEM_CHARSET, L"OEM_CHARSET"},
};

bool SameIdent(const String& A, const wchar_t* B) {
  const std::size_t n = std::wcslen(B);
  if (A.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::towlower(A[i]) != std::towlower(B[i])) return false;
  return true;
}

// A "$"-prefixed hex or a decimal number in the 32-bit range, else false.
bool ParseInteger(const String& AText, std::int64_t& AValue) {
  std::size_t i = 0;
  while (i < AText.size() && AText[i] == L' ') ++i;
  bool negative = false;
  if (i < AText.size() && (AText[i] == L'-' || AText[i] == L'+')) negative = AText[i++] == L'-';
  int base = 10;
  if (i < AText.size() && AText[i] == L'$') {
    base = 16;
    ++i;
  } else if (i + 1 < AText.size() && AText[i] == L'0' && (AText[i + 1] == L'x' || AText[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  std::int64_t v = 0;
  std::size_t digits = 0;
  for (; i < AText.size(); ++i, ++digits) {
    const wchar_t c = AText[i];
    int d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return false;
    v = v * base + d;
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (digits == 0) return false;
  if (negative) v = -v;
  // Hex numbers name bit patterns ($FF000000 is a system colour).
  if (base == 16 && v > 0x7FFFFFFF) v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  if (v < INT32_MIN || v > INT32_MAX) return false;
  AValue = v;
  return true;
}

}  // namespace

TColor ColorToRGB(TColor AColor) {
  if (AColor < 0) return TColor(static_cast<std::int32_t>(GetSysColor(AColor & 0xFF)));
  return AColor;
}

std::span<const TColorIdent> ColorIdents() { return GColorIdents; }

bool ColorToIdent(std::int64_t AColor, String& AIdent) {
  for (const TColorIdent& c : GColorIdents)
    if (c.Value == AColor) {
      AIdent = c.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const String& AIdent, std::int64_t& AColor) {
  for (const TColorIdent& c : GColorIdents)
    if (SameIdent(AIdent, c.Name)) {
      AColor = c.Value;
      return true;
    }
  return false;
}

String ColorToString(TColor AColor) {
  String s;
  if (ColorToIdent(AColor, s)) return s;
  return Format(L"$%.8x", {static_cast<unsigned>(static_cast<std::uint32_t>(AColor))});
}

TColor StringToColor(const String& AText) {
  std::int64_t v = 0;
  if (IdentToColor(AText, v) || ParseInteger(AText, v)) return TColor(static_cast<std::int32_t>(v));
  throw EConvertError(L"'%s' ist kein gültiger Farbwert", {AText});
}

bool CharsetToIdent(std::int64_t ACharset, String& AIdent) {
  for (const TCharsetIdent& c : GCharsetIdents)
    if (c.Value == ACharset) {
      AIdent = c.Name;
      return true;
    }
  return false;
}

bool IdentToCharset(const String& AIdent, std::int64_t& ACharset) {
  for (const TCharsetIdent& c : GCharsetIdents)
    if (SameIdent(AIdent, c.Name)) {
      ACharset = c.Value;
      return true;
    }
  return false;
}

// ---------------------------------------------------------------------------
// Font data, modes, text formats

TFontData& DefFontData() {
  // The platform's default control font.
  static TFontData data{-12, 0, fpDefault, {}, TFontCharset(DEFAULT_CHARSET), L"Segoe UI", fqDefault};
  return data;
}

int ScreenLogPixels() {
  static const int ppi = [] {
    const TScreenDC screen;
    const int v = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return v > 0 ? v : 96;
  }();
  return ppi;
}

namespace {
constexpr int GPenModeRops[] = {R2_BLACK,      R2_WHITE,       R2_NOP,        R2_NOT,
                                R2_COPYPEN,    R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,   R2_NOTMERGEPEN,
                                R2_MASKPEN,    R2_NOTMASKPEN,  R2_XORPEN,     R2_NOTXORPEN};

constexpr UINT GTextFormatFlags[] = {
    DT_BOTTOM,      DT_CALCRECT,     DT_CENTER,     DT_EDITCONTROL,  DT_END_ELLIPSIS,      DT_PATH_ELLIPSIS,
    DT_EXPANDTABS,  DT_EXTERNALLEADING, DT_LEFT,    DT_MODIFYSTRING, DT_NOCLIP,            DT_NOPREFIX,
    DT_RIGHT,       DT_RTLREADING,   DT_SINGLELINE, DT_TOP,          DT_VCENTER,           DT_WORDBREAK,
    DT_HIDEPREFIX,  DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS,  0x00008000 /* composited */};
static_assert(std::size(GTextFormatFlags) == tfComposited + 1);
}  // namespace

int PenModeToROP2(TPenMode AMode) { return GPenModeRops[AMode]; }

TPenMode ROP2ToPenMode(int ARop2) {
  for (int i = 0; i < static_cast<int>(std::size(GPenModeRops)); ++i)
    if (GPenModeRops[i] == ARop2) return static_cast<TPenMode>(i);
  return pmCopy;
}

UINT TextFormatToDrawTextFlags(const TTextFormat& AFormat) {
  UINT flags = 0;
  for (int i = 0; i <= tfComposited; ++i)
    if (AFormat.Contains(static_cast<TTextFormats>(i))) flags |= GTextFormatFlags[i];
  return flags;
}

void RaiseGraphicsApiError(const wchar_t* AFunction) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  String message;
  if (code != 0 &&
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
      text) {
    message = text;
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
      message.pop_back();
  }
  if (message.empty()) throw EOutOfResources(L"%s fehlgeschlagen: nicht genügend Systemressourcen", {AFunction});
  throw EOutOfResources(L"%s fehlgeschlagen: %s", {AFunction, message});
}

// ---------------------------------------------------------------------------
// TGraphicsObject

void TGraphicsObject::Changed() { CallEvent(FOnChange, this); }

void TGraphicsObject::ChangedReleasing(HGDIOBJ AOld) {
  const TGdiObject<HGDIOBJ> old(AOld);
  TGraphicsObject::Changed();
}

// ---------------------------------------------------------------------------
// TFont

void TFont::Publish(TPublisher<TFont>& P) {
  // Charset, Color and Style have no default: a stored font is complete.
  P.Property(L"Charset", &TFont::Charset, &TFont::SetCharset);
  P.Property(L"Color", &TFont::Color, &TFont::SetColor);
  P.Property(L"Height", &TFont::Height, &TFont::SetHeight).NoDefault();
  P.Property(L"Name", &TFont::Name, &TFont::SetName);
  P.Property(L"Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0);
  P.Property(L"Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  // Height is stored instead.
  P.Property(L"Size", &TFont::Size, &TFont::SetSize).Stored(false);
  P.Property(L"Style", &TFont::Style, &TFont::SetStyle);
  P.Property(L"Quality", &TFont::Quality, &TFont::SetQuality).Default(fqDefault);
}

void TFont::Create() {
  inherited::Create();
  FData = DefFontData();
  FColor = clWindowText;
  FPixelsPerInch = ScreenLogPixels();
}

void TFont::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

// Listeners (a canvas) take the old handle out of their device context
// before it is deleted.
void TFont::Changed() { ChangedReleasing(FHandle.Release()); }

void TFont::Assign(TPersistent* ASource) {
  if (auto* font = dynamic_cast<TFont*>(ASource)) {
    if (font == this) return;
    TFontData data = font->FData;
    if (FPixelsPerInch != font->FPixelsPerInch)
      data.Height = -MulDiv(font->Size(), FPixelsPerInch, 72);
    if (data == FData && FColor == font->FColor) return;
    FData = data;
    FColor = font->FColor;
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

LOGFONTW TFont::LogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = FData.Height;
  lf.lfEscapement = FData.Orientation;
  lf.lfOrientation = FData.Orientation;
  lf.lfWeight = FData.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FData.Style.Contains(fsItalic);
  lf.lfUnderline = FData.Style.Contains(fsUnderline);
  lf.lfStrikeOut = FData.Style.Contains(fsStrikeOut);
  lf.lfCharSet = FData.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  static constexpr BYTE qualities[] = {DEFAULT_QUALITY,      DRAFT_QUALITY,     PROOF_QUALITY,
                                       NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                                       CLEARTYPE_NATURAL_QUALITY};
  lf.lfQuality = qualities[FData.Quality];
  static constexpr BYTE pitches[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
  lf.lfPitchAndFamily = pitches[FData.Pitch];
  // "Default" stands for the default font's face.
  const String& name = SameIdent(FData.Name, L"Default") ? DefFontData().Name : FData.Name;
  const std::size_t n = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  std::copy_n(name.data(), n, lf.lfFaceName);
  return lf;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    const LOGFONTW lf = LogFont();
    FHandle.Reset(CreateFontIndirectW(&lf));
    if (!FHandle) RaiseGraphicsApiError(L"CreateFontIndirectW");
  }
  return FHandle.Get();
}

void TFont::SetHandle(HFONT AValue) {
  if (AValue == FHandle.Get()) return;
  LOGFONTW lf{};
  if (!AValue || GetObjectW(AValue, sizeof(lf), &lf) != sizeof(lf))
    throw EInvalidGraphicOperation(L"Ungültiges Schrift-Handle");
  TFontData data;
  data.Height = lf.lfHeight;
  data.Orientation = lf.lfEscapement;
  if (lf.lfWeight >= FW_BOLD) data.Style.Include(fsBold);
  if (lf.lfItalic) data.Style.Include(fsItalic);
  if (lf.lfUnderline) data.Style.Include(fsUnderline);
  if (lf.lfStrikeOut) data.Style.Include(fsStrikeOut);
  data.Charset = TFontCharset(lf.lfCharSet);
  data.Name = lf.lfFaceName;
  switch (lf.lfPitchAndFamily & 0x03) {
    case VARIABLE_PITCH: data.Pitch = fpVariable; break;
    case FIXED_PITCH: data.Pitch = fpFixed; break;
    default: data.Pitch = fpDefault; break;
  }
  switch (lf.lfQuality) {
    case DRAFT_QUALITY: data.Quality = fqDraft; break;
    case PROOF_QUALITY: data.Quality = fqProof; break;
    case NONANTIALIASED_QUALITY: data.Quality = fqNonAntialiased; break;
    case ANTIALIASED_QUALITY: data.Quality = fqAntialiased; break;
    case CLEARTYPE_QUALITY: data.Quality = fqClearType; break;
    case CLEARTYPE_NATURAL_QUALITY: data.Quality = fqClearTypeNatural; break;
    default: data.Quality = fqDefault; break;
  }
  FData = data;
  Changed();              // deletes the previous handle
  FHandle.Reset(AValue);  // and one a listener made meanwhile
}

void TFont::SetData(const TFontData& AValue) {
  if (FData == AValue) return;
  FData = AValue;
  Changed();
}

void TFont::SetName(const String& AValue) {
  if (AValue.empty() || FData.Name == AValue) return;
  FData.Name = AValue;
  Changed();
}

void TFont::SetHeight(int AValue) {
  if (FData.Height == AValue) return;
  FData.Height = AValue;
  Changed();
}

int TFont::Size() const { return -MulDiv(FData.Height, 72, FPixelsPerInch); }

void TFont::SetSize(int AValue) { SetHeight(-MulDiv(AValue, FPixelsPerInch, 72)); }

void TFont::SetPixelsPerInch(int AValue) {
  // Only the scale of Size changes; the handle stays as it is.
  if (AValue > 0) FPixelsPerInch = AValue;
}

void TFont::SetStyle(TFontStyles AValue) {
  if (FData.Style == AValue) return;
  FData.Style = AValue;
  Changed();
}

void TFont::SetColor(TColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  // The colour is no part of the handle, but listeners must hear of it.
  inherited::Changed();
}

void TFont::SetCharset(TFontCharset AValue) {
  if (FData.Charset == AValue) return;
  FData.Charset = AValue;
  Changed();
}

void TFont::SetPitch(TFontPitch AValue) {
  if (FData.Pitch == AValue) return;
  FData.Pitch = AValue;
  Changed();
}

void TFont::SetOrientation(int AValue) {
  if (FData.Orientation == AValue) return;
  FData.Orientation = AValue;
  Changed();
}

void TFont::SetQuality(TFontQuality AValue) {
  if (FData.Quality == AValue) return;
  FData.Quality = AValue;
  Changed();
}

// ---------------------------------------------------------------------------
// TPen

void TPen::Publish(TPublisher<TPen>& P) {
  P.Property(L"Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
  P.Property(L"Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
  P.Property(L"Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
  P.Property(L"Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Create() {
  inherited::Create();
  FColor = clBlack;
  FWidth = 1;
  FStyle = psSolid;
  FMode = pmCopy;
}

void TPen::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

void TPen::Changed() { ChangedReleasing(FHandle.Release()); }

void TPen::Assign(TPersistent* ASource) {
  if (auto* pen = dynamic_cast<TPen*>(ASource)) {
    if (pen == this) return;
    if (FColor == pen->FColor && FWidth == pen->FWidth && FStyle == pen->FStyle && FMode == pen->FMode) return;
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

HPEN TPen::Handle() {
  if (!FHandle) {
    const COLORREF color = ColorToColorRef(FColor);
    if (FStyle == psAlternate) {
      const LOGBRUSH lb{BS_SOLID, color, 0};
      FHandle.Reset(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr));
      if (!FHandle) RaiseGraphicsApiError(L"ExtCreatePen");
    } else {
      static constexpr UINT styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                        PS_NULL,  PS_INSIDEFRAME, PS_SOLID /* user style */, PS_SOLID};
      const LOGPEN lp{styles[FStyle], POINT{FWidth, 0}, color};
      FHandle.Reset(CreatePenIndirect(&lp));
      if (!FHandle) RaiseGraphicsApiError(L"CreatePenIndirect");
    }
  }
  return FHandle.Get();
}

void TPen::SetHandle(HPEN AValue) {
  if (AValue == FHandle.Get()) return;
  LOGPEN lp{};
  if (!AValue || GetObjectW(AValue, sizeof(lp), &lp) != sizeof(lp)) {
    // Extended pens describe themselves in an EXTLOGPEN.
    EXTLOGPEN elp{};
    if (!AValue || GetObjectW(AValue, sizeof(elp), &elp) <= 0)
      throw EInvalidGraphicOperation(L"Ungültiges Stift-Handle");
    lp.lopnStyle = elp.elpPenStyle & PS_STYLE_MASK;
    lp.lopnWidth.x = static_cast<LONG>(elp.elpWidth);
    lp.lopnColor = elp.elpColor;
  }
  FColor = TColor(static_cast<std::int32_t>(lp.lopnColor & 0x00FFFFFF));
  FWidth = std::max<int>(1, lp.lopnWidth.x);
  switch (lp.lopnStyle & PS_STYLE_MASK) {
    case PS_DASH: FStyle = psDash; break;
    case PS_DOT: FStyle = psDot; break;
    case PS_DASHDOT: FStyle = psDashDot; break;
    case PS_DASHDOTDOT: FStyle = psDashDotDot; break;
    case PS_NULL: FStyle = psClear; break;
    case PS_INSIDEFRAME: FStyle = psInsideFrame; break;
    case PS_ALTERNATE: FStyle = psAlternate; break;
    default: FStyle = psSolid; break;
  }
  Changed();
  FHandle.Reset(AValue);
}

void TPen::SetColor(TColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  Changed();
}

void TPen::SetWidth(int AValue) {
  if (AValue < 0 || FWidth == AValue) return;
  FWidth = AValue;
  Changed();
}

void TPen::SetStyle(TPenStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  Changed();
}

void TPen::SetMode(TPenMode AValue) {
  if (FMode == AValue) return;
  FMode = AValue;
  // The handle does not depend on the mode; keep it.
  inherited::Changed();
}

// ---------------------------------------------------------------------------
// TBrush

void TBrush::Publish(TPublisher<TBrush>& P) {
  P.Property(L"Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
  P.Property(L"Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Create() {
  inherited::Create();
  FColor = clWhite;
  FStyle = bsSolid;
}

void TBrush::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

// The null brush is a stock object, which DeleteObject leaves alone: owning
// one is harmless.
void TBrush::Changed() { ChangedReleasing(FHandle.Release()); }

void TBrush::Assign(TPersistent* ASource) {
  if (auto* brush = dynamic_cast<TBrush*>(ASource)) {
    if (brush == this) return;
    if (FColor == brush->FColor && FStyle == brush->FStyle && FBitmap == brush->FBitmap) return;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    FBitmap = brush->FBitmap;
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle.Reset(CreatePatternBrush(FBitmap->Handle()));
      if (!FHandle) RaiseGraphicsApiError(L"CreatePatternBrush");
    } else if (FStyle == bsClear) {
      FHandle.Reset(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    } else if (FStyle == bsSolid) {
      FHandle.Reset(CreateSolidBrush(ColorToColorRef(FColor)));
      if (!FHandle) RaiseGraphicsApiError(L"CreateSolidBrush");
    } else {
      static constexpr int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS,
                                        HS_DIAGCROSS};
      FHandle.Reset(CreateHatchBrush(hatches[FStyle], ColorToColorRef(FColor)));
      if (!FHandle) RaiseGraphicsApiError(L"CreateHatchBrush");
    }
  }
  return FHandle.Get();
}

void TBrush::SetHandle(HBRUSH AValue) {
  if (AValue == FHandle.Get()) return;
  LOGBRUSH lb{};
  if (!AValue || GetObjectW(AValue, sizeof(lb), &lb) != sizeof(lb))
    throw EInvalidGraphicOperation(L"Ungültiges Pinsel-Handle");
  FColor = TColor(static_cast<std::int32_t>(lb.lbColor & 0x00FFFFFF));
  FBitmap = nullptr;
  switch (lb.lbStyle) {
    case BS_NULL: FStyle = bsClear; break;
    case BS_HATCHED:
      switch (lb.lbHatch) {
        case HS_HORIZONTAL: FStyle = bsHorizontal; break;
        case HS_VERTICAL: FStyle = bsVertical; break;
        case HS_FDIAGONAL: FStyle = bsFDiagonal; break;
        case HS_BDIAGONAL: FStyle = bsBDiagonal; break;
        case HS_CROSS: FStyle = bsCross; break;
        case HS_DIAGCROSS: FStyle = bsDiagCross; break;
        default: FStyle = bsSolid; break;
      }
      break;
    default: FStyle = bsSolid; break;
  }
  Changed();
  FHandle.Reset(AValue);
}

void TBrush::SetColor(TColor AValue) {
  if (FColor == AValue && FStyle != bsClear) return;
  FColor = AValue;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle AValue) {
  if (FStyle == AValue && !FBitmap) return;
  FStyle = AValue;
  FBitmap = nullptr;
  Changed();
}

void TBrush::SetBitmap(TBitmap* AValue) {
  if (FBitmap == AValue) return;
  FBitmap = AValue;
  Changed();
}
