// Runs of text of one font measured with the system's character placement,
// kept with their glyphs and advance widths so that they are drawn again
// without being shaped again.
//
// Classes in this file:
//   TdxTextViewInfo         one measured run: size, glyphs, advance widths
//   TdxTextViewInfoCache    measured runs by text and font info
//   TdxCustomBoxMeasurer    measures through the cache; the caret scratch array
//
// A measurer shares one scratch array between its calls: it is used by one
// thread only (the one that lays text out).
#pragma once

#include "library/controls/text/dxFontHelpers.h"

#include <cstdint>
#include <memory>
#include <vector>

class TdxTextViewInfo : public TObject {
  SK_CLASS(TdxTextViewInfo, TObject)
 public:
  const std::vector<int>& CharacterWidths() const { return FCharacterWidths; }
  int GlyphCount() const { return FGlyphCount; }
  const std::vector<WORD>& Glyphs() const { return FGlyphs; }
  TSize Size() const { return FSize; }

 private:
  friend class TdxCustomBoxMeasurer;
  std::vector<int> FCharacterWidths;
  int FGlyphCount;
  std::vector<WORD> FGlyphs;
  TSize FSize;
};

class TdxTextViewInfoCache : public TObject {
  SK_CLASS(TdxTextViewInfoCache, TObject)
 public:
  static constexpr std::uint32_t TableSize = 33703;

  void Create();
  void Destroy() override;

  // nil when the pair is not cached.
  TdxTextViewInfo* TryGetTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo) const;
  // Appends without looking for a duplicate; takes ATextInfo over.
  void AddTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo, TdxTextViewInfo* ATextInfo);
  void Clear();
  int Count() const { return FCount; }

  static std::uint32_t CalcHash(const String& AText, const TdxFontInfo* AFontInfo);

 private:
  struct TItem {
    std::uint32_t Hash;
    String Text;
    const TdxFontInfo* FontInfo;
    TOwned<TdxTextViewInfo> TextViewInfo;
    std::unique_ptr<TItem> Next;
  };

  int FCount;
  std::vector<std::unique_ptr<TItem>> FTable;
};

class TdxCustomBoxMeasurer : public TObject {
  SK_CLASS(TdxCustomBoxMeasurer, TObject)
 public:
  virtual void Create();
  void Destroy() override;

  // Measures AText in the font selected in ADC (the font info's).
  virtual TdxTextViewInfo* CalculateTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo);
  virtual TdxTextViewInfo* CreateTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo) = 0;
  virtual TdxTextViewInfo* CreateTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo) = 0;
  // The cached measurement, made on the first request.
  virtual TSize MeasureText(const String& AText, const TdxFontInfo* AFontInfo);
  virtual TSize MeasureText(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo);
  // One rectangle per character of ABounds' top and height.
  virtual std::vector<TRect> MeasureCharactersBounds(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo,
                                                     const TRect& ABounds);
  // The cached view info of the pair, measured on ADC when absent.
  TdxTextViewInfo* GetTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo);

  // How many characters fit AMaxWidth in the font.
  int FindLengthToFit(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo, int AMaxWidth, bool ARestoreFont);
  // Room for at least AItemsCount caret positions.
  int* GetCaretPosBuffer(int AItemsCount);

  TdxTextViewInfoCache* TextViewInfoCache() const { return FTextViewInfoCache.get(); }

 private:
  std::vector<int> FCaretPosBuffer;
  TOwned<TdxTextViewInfoCache> FTextViewInfoCache;
};
