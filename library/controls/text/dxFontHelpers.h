// Document-style font metrics for text layout, the font cache that keeps them
// under stable indexes, and the process-wide services that tell which face can
// draw a character: the TrueType font loader thread, the Unicode block table
// and the system's font linking.
//
// Classes in this file:
//   TdxSupportedFontStyle(s), TdxCharacterFormattingScript
//   TdxUnicodeSubrange, TdxUnicodeRangeInfo    the OS/2 Unicode-range bit of each block
//   TdxFontCharacterRange, TdxFontCharacterRanges
//   TdxFontCharacterSet                        the characters a face covers, and its PANOSE
//   TdxSupportedFontStylesInfo, TdxTrueTypeFontInfo   one enumerated TrueType face
//   TdxFontInfo                                one created GDI font with its metrics
//   TdxFontInfoMeasurer                        measures characters of a font info
//   IdxFontsContainer                          how a client reaches its font cache
//   TdxFontCache                               font infos of one layout unit and DPI
//   TdxFontCacheManager                        the process-wide caches
//   TdxFontLink                                the system's font-linking service (MLang)
//
// Metrics are integers in the layout units of the cache's converter. The
// loader thread starts with the unit and fills the two process-wide
// dictionaries (face name to TrueType info, face name to character set)
// under the character-set dictionary's lock, which it holds for its whole run;
// everything else runs on the UI thread.
#pragma once

#include "library/controls/text/dxDocumentLayoutUnitConverter.h"
#include "library/core/base/cxClasses.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

enum class TdxSupportedFontStyle { Regular, Bold, Italic, Underline, Strikeout, BoldItalic };
using TdxSupportedFontStyles = TSet<TdxSupportedFontStyle>;
enum class TdxCharacterFormattingScript { Normal, Subscript, Superscript };

struct TdxUnicodeSubrange {
  wchar_t LowValue;
  wchar_t HiValue;
  int Bit;
};

// The blocks below U+10000 with their OS/2 Unicode-range bits, sorted and not
// overlapping.
class TdxUnicodeRangeInfo : public TObject {
  SK_CLASS(TdxUnicodeRangeInfo, TObject)
 public:
  void Create();

  int Count() const { return static_cast<int>(FRanges.size()); }
  const TdxUnicodeSubrange& Items(int AIndex) const { return FRanges.at(static_cast<std::size_t>(AIndex)); }
  // The block of the character, or nil.
  const TdxUnicodeSubrange* LookupSubrange(wchar_t ACharacter) const;

 private:
  std::vector<TdxUnicodeSubrange> FRanges;
};

struct TdxFontCharacterRange {
  int Low;
  int Hi;
};
using TdxFontCharacterRanges = std::vector<TdxFontCharacterRange>;

class TdxFontCharacterSet : public TObject {
  SK_CLASS(TdxFontCharacterSet, TObject)
 public:
  void Create(const TdxFontCharacterRanges& ARanges, const PANOSE& APanose);

  bool ContainsChar(int C) const { return C >= 0 && static_cast<std::size_t>(C) < FBits.size() && FBits[C]; }
  int Size() const { return static_cast<int>(FBits.size()); }
  const PANOSE& Panose() const { return FPanose; }
  // The sum of the squared differences of the ten bytes.
  static int CalculatePanoseDistance(const PANOSE& A, const PANOSE& B);

 private:
  std::vector<bool> FBits;
  PANOSE FPanose;
};

struct TdxSupportedFontStylesInfo {
  TdxSupportedFontStyles SupportedStyles;
  std::array<bool, 6> NativeStyles{};
};

class TdxTrueTypeFontInfo : public TObject {
  SK_CLASS(TdxTrueTypeFontInfo, TObject)
 public:
  static constexpr int SymbolFont = 0x100;
  static constexpr int FixedPitchFont = 0x200;

  void Create(const String& AFontName, int AFontType);

  const String& FontName() const { return FFontName; }
  // TRUETYPE_FONTTYPE, plus SymbolFont and FixedPitchFont.
  int FontType() const { return FFontType; }
  // Enumerated once, on the first request.
  const TdxSupportedFontStylesInfo& SupportedStyles();

 private:
  String FFontName;
  int FFontType;
  bool FSupportedStylesCalculated;
  TdxSupportedFontStylesInfo FSupportedStyles;
};

class TdxFontCache;
class TdxFontInfoMeasurer;
class TdxFontInfo;

struct IdxFontsContainer {
  virtual TdxFontCache* GetFontCache() = 0;

 protected:
  ~IdxFontsContainer() = default;
};

class TdxFontInfo : public TObject {
  SK_CLASS(TdxFontInfo, TObject)
 public:
  // Which characters a font can draw, cached per character.
  class TCharacterDrawingAbilityTable {
   public:
    TCharacterDrawingAbilityTable() : FDrawingAbility(1536), FCalculated(1536) {}
    bool GetDrawingAbility(wchar_t ACharacter, bool& AAbility) const;
    void SetDrawingAbility(wchar_t ACharacter, bool AValue);

   private:
    std::vector<bool> FDrawingAbility;
    std::vector<bool> FCalculated;
  };

  virtual void Create(TdxFontInfoMeasurer* AMeasurer, const String& AName, int ADoubleSize, TFontStyles AFontStyle,
                      bool AAllowCjkCorrection, bool AIsOfficeFont);
  void Destroy() override;

  virtual void CalculateFreeSpace();
  virtual bool CalculateCanDrawCharacter(const TdxUnicodeRangeInfo* AUnicodeRangeInfo, HDC ACanvas,
                                         wchar_t ACharacter);
  virtual void CalculateFontParameters(TdxFontInfoMeasurer* AMeasurer, bool AAllowCjkCorrection, bool AIsOfficeFont);
  virtual const std::array<std::uint32_t, 4>& GetUnicodeSubrangeBits(HDC ACanvas);
  virtual void CreateFont(TdxFontInfoMeasurer* AMeasurer, const String& AName, TFontStyles AFontStyle,
                          bool AIsOfficeFont);
  virtual TdxFontInfo* GetBaseFontInfo(IdxFontsContainer* AContainer);
  virtual bool CanDrawCharacter(const TdxUnicodeRangeInfo* AUnicodeRangeInfo, HDC ACanvas, wchar_t ACharacter);

  void CalculateSubscriptOffset(const TdxFontInfo* ABaseFontInfo);
  void CalculateSuperscriptOffset(const TdxFontInfo* ABaseFontInfo);
  int GetBaseAscentAndFree(IdxFontsContainer* AContainer);
  int GetBaseDescent(IdxFontsContainer* AContainer);
  // The glyph ranges of the font selected in ADC (AFont selected first when
  // given, and deselected after), then 0..255 and F000..F0FF; nothing when
  // the font has no glyph set.
  static TdxFontCharacterRanges GetFontUnicodeRanges(HDC ADC, HFONT AFont);

  bool Bold() const { return FStyle.Contains(fsBold); }
  bool Italic() const { return FStyle.Contains(fsItalic); }
  bool Underline() const { return FStyle.Contains(fsUnderline); }
  int AscentAndFree() const { return FAscent + FFree; }

  bool ApplyCjkUnderline() const { return FApplyCjkUnderline; }
  int Ascent() const { return FAscent; }
  int BaseFontIndex() const { return FBaseFontIndex; }
  void SetBaseFontIndex(int AValue) { FBaseFontIndex = AValue; }
  int Charset() const { return FCharset; }
  int CjkUnderlinePosition() const { return FCjkUnderlinePosition; }
  int CjkUnderlineSize() const { return FCjkUnderlineSize; }
  int DashWidth() const { return FDashWidth; }
  int Descent() const { return FDescent; }
  int DotWidth() const { return FDotWidth; }
  int DrawingOffset() const { return FDrawingOffset; }
  int EqualSignWidth() const { return FEqualSignWidth; }
  const String& FamilyName() const { return FFamilyName; }
  int Free() const { return FFree; }
  HFONT GdiFontHandle() const { return FGdiFontHandle.Get(); }
  int GdiOffset() const { return FGdiOffset; }
  bool IsCJKFont() const { return FIsCJKFont; }
  int LineSpacing() const { return FLineSpacing; }
  float MaxDigitWidth() const { return FMaxDigitWidth; }
  int MiddleDotWidth() const { return FMiddleDotWidth; }
  const String& Name() const { return FName; }
  int NonBreakingSpaceWidth() const { return FNonBreakingSpaceWidth; }
  const PANOSE& Panose() const { return FPanose; }
  int PilcrowSignWidth() const { return FPilcrowSignWidth; }
  float SizeInPoints() const { return FSizeInPoints; }
  int SpaceWidth() const { return FSpaceWidth; }
  int StrikeoutPosition() const { return FStrikeoutPosition; }
  int StrikeoutThickness() const { return FStrikeoutThickness; }
  TFontStyles Style() const { return FStyle; }
  TPoint SubscriptOffset() const { return FSubscriptOffset; }
  TSize SubscriptSize() const { return FSubscriptSize; }
  TPoint SuperscriptOffset() const { return FSuperscriptOffset; }
  TSize SuperscriptSize() const { return FSuperscriptSize; }
  int UnderlinePosition() const { return FUnderlinePosition; }
  int UnderlineThickness() const { return FUnderlineThickness; }
  int UnderscoreWidth() const { return FUnderscoreWidth; }
  bool UseGetGlyphIndices() const { return FUseGetGlyphIndices; }

 private:
  bool FApplyCjkUnderline;
  int FAscent;
  int FBaseFontIndex;
  std::unique_ptr<TCharacterDrawingAbilityTable> FCharacterDrawingAbilityTable;
  int FCharset;
  int FCjkUnderlinePosition;
  int FCjkUnderlineSize;
  int FDashWidth;
  int FDescent;
  int FDotWidth;
  int FDrawingOffset;
  int FEqualSignWidth;
  String FFamilyName;
  int FFree;
  TOwnedFont FGdiFontHandle;
  int FGdiOffset;
  bool FIsCJKFont;
  int FLineSpacing;
  float FMaxDigitWidth;
  int FMiddleDotWidth;
  String FName;
  int FNonBreakingSpaceWidth;
  PANOSE FPanose;
  int FPilcrowSignWidth;
  float FSizeInPoints;
  int FSpaceWidth;
  int FStrikeoutPosition;
  int FStrikeoutThickness;
  TFontStyles FStyle;
  TPoint FSubscriptOffset;
  TSize FSubscriptSize;
  TPoint FSuperscriptOffset;
  TSize FSuperscriptSize;
  int FUnderlinePosition;
  int FUnderlineThickness;
  int FUnderscoreWidth;
  std::array<std::uint32_t, 4> FUnicodeSubrangeBits;
  bool FUnicodeSubrangeBitsCalculated;
  bool FUseGetGlyphIndices;
};

// Measures on a memory device context of its own; each measurement leaves
// the font info's font selected there.
class TdxFontInfoMeasurer : public TObject {
  SK_CLASS(TdxFontInfoMeasurer, TObject)
 public:
  virtual void Create(TdxDocumentLayoutUnitConverter* AUnitConverter);
  void Destroy() override;

  float MeasureCharacterWidthF(wchar_t ACharacter, const TdxFontInfo* AFontInfo);
  int MeasureCharacterWidth(wchar_t ACharacter, const TdxFontInfo* AFontInfo);
  TSize MeasureString(const String& AText, const TdxFontInfo* AFontInfo);
  float MeasureMaxDigitWidthF(const TdxFontInfo* AFontInfo);

  // Selects the context's own font again (before a font info goes).
  void DeselectFont();
  HDC Canvas() const { return FCanvas.Get(); }
  float Dpi() const { return FDpi; }
  TdxDocumentLayoutUnitConverter* UnitConverter() const { return FUnitConverter; }

 private:
  void SelectFont(const TdxFontInfo* AFontInfo);

  float FDpi;
  TOwnedDC FCanvas;
  HGDIOBJ FInitialFont;
  TdxDocumentLayoutUnitConverter* FUnitConverter;
};

class TdxFontCache : public TObject, public IdxFontsContainer {
  SK_CLASS(TdxFontCache, TObject)
 public:
  class TTrueTypeFontLoader;
  using TTrueTypeFontInfoDictionary = std::map<String, TOwned<TdxTrueTypeFontInfo>>;

  virtual void Create(TdxDocumentLayoutUnit AUnit, float ADpi, bool AUseOfficeFonts);
  void Destroy() override;

  // Starts the loader thread when there is none, then waits until it ends.
  static void CheckInitialize();
  // Every enumerated TrueType face, sorted, each with its info (not owned by
  // the list). Meant for after the loader has finished.
  static TStringList* CreateSystemTrueTypeFonts();
  // The face to draw ACharacter with when ASourceFontName lacks it; the
  // source itself when nothing better is found.
  static String FindSubstituteFont(const String& ASourceFontName, wchar_t ACharacter,
                                   TdxFontCharacterSet*& AFontCharacterSet);
  // The character set of the face, made from a 10-point font when absent.
  TdxFontCharacterSet* GetFontCharacterSet(const String& AFontName);

  virtual TTrueTypeFontInfoDictionary* CreateTrueTypeFontInfoDictionary();
  virtual TdxFontInfoMeasurer* CreateMeasurer(TdxDocumentLayoutUnitConverter* AUnitConverter);
  // ADoubleFontSize is the size in half-points.
  virtual int CalcFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle,
                            TdxCharacterFormattingScript AScript);
  virtual int CalcNormalFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle);
  virtual bool ShouldUseDefaultFontToDrawInvisibleCharacter(TdxFontInfo* AFontInfo, wchar_t ACharacter);

  int GetCharsetByFontName(const String& AFontName);
  int Count() const;
  // An index outside the list raises EListError.
  TdxFontInfo* Items(int AIndex) const;

  TdxFontInfoMeasurer* Measurer() const { return FMeasurer.get(); }
  TdxDocumentLayoutUnitConverter* UnitConverter() const { return FUnitConverter.get(); }
  bool UseOfficeFonts() const { return FUseOfficeFonts; }

  // IdxFontsContainer
  TdxFontCache* GetFontCache() override { return this; }

 private:
  int GetFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle,
                   TdxCharacterFormattingScript AScript);
  int CalcSubscriptFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle);
  int CalcSuperscriptFontIndex(const String& AFontName, int ADoubleFontSize, TFontStyles AFontStyle);

  std::map<String, int> FCharsets;
  // Key to every index with that key: the key holds a hash of the name, so
  // the names are compared too.
  std::unordered_multimap<std::uint64_t, int> FIndexHash;
  std::vector<TOwned<TdxFontInfo>> FItems;
  mutable std::recursive_mutex FLock;
  TOwned<TdxFontInfoMeasurer> FMeasurer;
  TOwned<TdxDocumentLayoutUnitConverter> FUnitConverter;
  bool FUseOfficeFonts;
};

// Enumerates every TrueType face of the system into the TrueType dictionary,
// then gives each face without one a character set; holds the character-set
// dictionary's lock throughout. Between entries and faces it stops when
// terminated or when the application is terminating.
class TdxFontCache::TTrueTypeFontLoader : public TcxThread {
  SK_CLASS(TTrueTypeFontLoader, TcxThread)
 public:
  // Font entries and faces looked at so far.
  int StepsTaken() const { return FStepsTaken; }

 protected:
  void Execute() override;

 private:
  friend struct TLoaderAccess;
  bool CanContinue();
  std::atomic<int> FStepsTaken;
};

class TdxFontCacheManager {
 public:
  TdxFontCacheManager() = delete;
  static TdxFontCache* GetOfficeFontCache(TdxDocumentLayoutUnit AUnit, float ADpi);
  static TdxFontCache* GetClassLibraryFontCache(TdxDocumentLayoutUnit AUnit, float ADpi);
  static TdxFontCache* GetFontCache(TdxDocumentLayoutUnit AUnit, float ADpi) { return GetOfficeFontCache(AUnit, ADpi); }
};

class TdxFontLink {
 public:
  TdxFontLink() = delete;
  // The code page MLang picks for the character; the system's ANSI code page
  // when MLang is missing or cannot tell.
  static UINT GetCharCodePage(wchar_t ACharacter);
  static void Release();
};

// The face substitution of Office-style fonts: the upper-cased name's
// substitute when it is an enumerated TrueType face, else the name itself.
String dxGetSubstituteFontName(const String& AFontName);
// Whether the loader found the face (upper-cased name), under the lock.
bool dxIsTrueTypeFont(const String& AFontName);

void dxFontHelpersInitialization();
void dxFontHelpersFinalization();
