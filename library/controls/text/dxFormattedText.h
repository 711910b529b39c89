// Formatted text: a plain text with runs that open and close formatting spans
// (font, size, style, colours, script, hyperlink), the converters that make
// text and runs from a source string and back, and the layout of the result
// in rows of measured boxes, drawn by glyph indices and hit-tested.
//
// Classes in this file:
//   TdxFormattedTextRunAction, TdxFormattedTextCharacterProperties,
//   TdxFormattedTextHyperlinkData, TdxFormattedTextLayoutBuilderInitialData
//   TdxFormattedTextRun, TdxFormattedTextURLRun    span markers
//   TdxFormattedTextRuns, TdxFormattedTextRunStack
//   TdxFormattedTextConverter, TdxFormattedTextConverters   import and export
//   TdxFormattedTextCustomPainter, TdxFormattedTextPainter  drawing of boxes
//   TdxFormattedTextLayoutBox and its five kinds   one measured piece of a row
//   TdxFormattedTextLayoutRow, TdxFormattedTextLayout
//   TdxFormattedTextBoxMeasurer                    measures words through the cache
//   TdxFormattedTextLayoutBuilder                  the one process-wide layout engine
//   TdxFormattedText                               the text, its runs and its layout
//
// Layouts work in pixels of the scale factor's DPI; the builder and its
// measurer run on the UI thread only and are not reentrant.
#pragma once

#include "library/controls/text/dxTextViewInfoCache.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "platform/runtime/Variants.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <vector>

class TdxFormattedText;
class TdxFormattedTextLayout;

enum TdxFormattedTextRunAction { traOpen, traClose };

struct TdxFormattedTextCharacterProperties {
  TColor BackgroundColor = clDefault;
  TdxCharacterFormattingScript CharacterFormattingScript = TdxCharacterFormattingScript::Normal;
  TColor FontColor = clDefault;
  String FontName;
  int FontDoubleSize = 0;
  TFontStyles FontStyle;

  friend bool operator==(const TdxFormattedTextCharacterProperties&,
                         const TdxFormattedTextCharacterProperties&) = default;
};

struct TdxFormattedTextHyperlinkData {
  String Hyperlink;
  int BeginBoxIndex = -1;
  int BeginRowIndex = -1;
  int BoxCount = 0;
};

struct TdxFormattedTextLayoutBuilderInitialData {
  TRect Bounds;
  TdxFormattedTextCharacterProperties CharacterProperties;
  std::uint32_t TextOutFormat = 0;
  TdxScaleFactor* ScaleFactor = nullptr;
  float ZoomFactor = 1;
  TColor HyperlinkColor = clDefault;
};

// ---------------------------------------------------------------------------
// Runs

class TdxFormattedTextRun : public TObject {
  SK_CLASS(TdxFormattedTextRun, TObject)
 public:
  // A run of ATextLength characters of AOwner's text from ATextStart.
  virtual void Create(TdxFormattedText* AOwner, TdxFormattedTextRunAction AAction, int ATextStart, int ATextLength);

  // A new run of the same class with the same action, start and length.
  virtual TdxFormattedTextRun* Clone() const;
  virtual void ApplyStyle(TdxFormattedTextCharacterProperties&) const {}

  TdxFormattedTextRunAction Action() const { return FAction; }
  String Text() const;
  int TextFinish() const { return FTextStart + FTextLength; }
  int TextLength() const { return FTextLength; }
  int TextStart() const { return FTextStart; }
  TdxFormattedText* Owner() const { return FOwner; }

 protected:
  TdxFormattedText* FOwner;
  TdxFormattedTextRunAction FAction;
  int FTextLength;
  int FTextStart;
};

class TdxFormattedTextURLRun : public TdxFormattedTextRun {
  SK_CLASS(TdxFormattedTextURLRun, TdxFormattedTextRun)
 public:
  void Create(TdxFormattedText* AOwner, TdxFormattedTextRunAction AAction, int ATextStart, int ATextLength) override;

  TdxFormattedTextRun* Clone() const override;
  // The link's colour (blue without one of its own) and underline.
  void ApplyStyle(TdxFormattedTextCharacterProperties& AStyle) const override;

  const String& Hyperlink() const { return FHyperlink; }
  void SetHyperlink(const String& AValue) { FHyperlink = AValue; }
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue) { FColor = AValue; }

 private:
  String FHyperlink;
  TColor FColor;
};

class TdxFormattedTextRuns {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // An index outside the list raises EListError.
  TdxFormattedTextRun* Items(int AIndex) const;
  // Takes ARun over.
  TdxFormattedTextRun* Add(TdxFormattedTextRun* ARun);
  void Clear() { FItems.clear(); }
  // The texts of the runs from ARun up to the first closing URL run; empty
  // for a run not in the list or a closing run.
  String ExtractURLText(const TdxFormattedTextRun* ARun) const;

 private:
  std::vector<TOwned<TdxFormattedTextRun>> FItems;
};

class TdxFormattedTextRunStack {
 public:
  // An opening run is pushed; a closing run removes the nearest stacked run
  // of exactly its class.
  void ProcessRun(const TdxFormattedTextRun* ARun);
  void CalculateStyle(TdxFormattedTextCharacterProperties& AStyle) const;
  void Clear() { FStack.clear(); }
  int Count() const { return static_cast<int>(FStack.size()); }
  const TdxFormattedTextRun* Items(int AIndex) const { return FStack.at(static_cast<std::size_t>(AIndex)); }

 private:
  std::vector<const TdxFormattedTextRun*> FStack;
};

// ---------------------------------------------------------------------------
// Converters: stateless objects standing for their classes

class TdxFormattedTextConverter {
 public:
  virtual ~TdxFormattedTextConverter() = default;
  virtual bool CanImport(const String&) const { return false; }
  // The plain text, no runs.
  virtual void Import(TdxFormattedText* ATarget, const String& ASource, TFont* ADefaultFont) const;
  virtual String Export(const TdxFormattedText* ASource, TFont* ADefaultFont) const;
  // The one plain-text converter.
  static const TdxFormattedTextConverter* PlainText();
};

using TdxFormattedTextConverterClass = const TdxFormattedTextConverter*;

class TdxFormattedTextConverters {
 public:
  TdxFormattedTextConverters() = delete;
  static void Register(TdxFormattedTextConverterClass AConverterClass);
  static void Unregister(TdxFormattedTextConverterClass AConverterClass);
  // The last registered that can import the source; else the first
  // registered; nil when none is registered.
  static TdxFormattedTextConverterClass GetConverterClass(const String& ASource);
  static void Import(TdxFormattedText* ATarget, const String& ASource, TFont* ADefaultFont);
  static String Export(const TdxFormattedText* ASource, TdxFormattedTextConverterClass AConverterClass,
                       TFont* ADefaultFont);
  static int Count();
};

// ---------------------------------------------------------------------------
// Painting

class TdxFormattedTextCustomPainter : public TObject {
  SK_CLASS(TdxFormattedTextCustomPainter, TObject)
 public:
  virtual void ExtTextOut(const TRect& ABounds, HFONT AFontHandle, TColor AFontColor, const String& AText,
                          const WORD* AGlyphs, int AGlyphCount, const int* AGlyphWidths) = 0;
  virtual void FillRect(const TRect& ARect, TColor AColor) = 0;
  virtual void IntersectClipRect(const TRect& ARect) = 0;
  virtual void Restore() = 0;
  virtual void Store() = 0;
};

// Draws on a device context it does not own.
class TdxFormattedTextPainter : public TdxFormattedTextCustomPainter {
  SK_CLASS(TdxFormattedTextPainter, TdxFormattedTextCustomPainter)
 public:
  void Create(HDC ADCHandle);

  // By glyph indices at the rectangle's top-left, transparent, in the colour.
  void ExtTextOut(const TRect& ABounds, HFONT AFontHandle, TColor AFontColor, const String& AText,
                  const WORD* AGlyphs, int AGlyphCount, const int* AGlyphWidths) override;
  void FillRect(const TRect& ARect, TColor AColor) override;
  void IntersectClipRect(const TRect& ARect) override;
  void Restore() override;
  void Store() override;

 private:
  HDC FDCHandle;
  int FSaveDC;
  // What ExtTextOut set since Store.
  HFONT FSelectedFont;
  COLORREF FTextColor;
  bool FStateSet;
};

// ---------------------------------------------------------------------------
// Layout

enum class TdxFormattedTextBoxKind { Text, Space, Tab, LineBreak, Empty };

class TdxFormattedTextLayoutBox : public TObject {
  SK_CLASS(TdxFormattedTextLayoutBox, TObject)
 public:
  virtual TdxFormattedTextBoxKind GetKind() const = 0;
  virtual TSize GetSize() const = 0;
  virtual void Calculate(const TRect& ABounds) { FBounds = ABounds; }
  // Underline and strikeout; the text box draws its glyphs too.
  virtual void Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset);

  bool IsHyperlink() const { return FHyperlinkIndex >= 0; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  const TRect& Bounds() const { return FBounds; }
  TdxCharacterFormattingScript CharacterFormattingScript() const { return FCharacterFormattingScript; }
  TColor FontColor() const { return FFontColor; }
  TdxFontInfo* FontInfo() const { return FFontInfo; }
  int HyperlinkIndex() const { return FHyperlinkIndex; }
  bool Strikeout() const { return FStrikeout; }
  bool Underline() const { return FUnderline; }
  int UnderlinePosition() const { return FUnderlinePosition; }
  int UnderlineThickness() const { return FUnderlineThickness; }

 protected:
  friend class TdxFormattedTextLayoutRow;
  friend class TdxFormattedTextLayoutBuilder;
  TColor FBackgroundColor;
  TRect FBounds;
  TdxCharacterFormattingScript FCharacterFormattingScript;
  TColor FFontColor;
  TdxFontInfo* FFontInfo;
  int FHyperlinkIndex;
  bool FStrikeout;
  bool FUnderline;
  int FUnderlinePosition;
  int FUnderlineThickness;
};

class TdxFormattedTextTextLayoutBox : public TdxFormattedTextLayoutBox {
  SK_CLASS(TdxFormattedTextTextLayoutBox, TdxFormattedTextLayoutBox)
 public:
  TdxFormattedTextBoxKind GetKind() const override { return TdxFormattedTextBoxKind::Text; }
  TSize GetSize() const override;
  void Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset) override;
  const String& Text() const { return FText; }
  TdxTextViewInfo* TextViewInfo() const { return FTextViewInfo; }

 private:
  friend class TdxFormattedTextLayoutBuilder;
  String FText;
  TdxTextViewInfo* FTextViewInfo;
};

class TdxFormattedTextSpaceLayoutBox : public TdxFormattedTextLayoutBox {
  SK_CLASS(TdxFormattedTextSpaceLayoutBox, TdxFormattedTextLayoutBox)
 public:
  TdxFormattedTextBoxKind GetKind() const override { return TdxFormattedTextBoxKind::Space; }
  TSize GetSize() const override;
  int Count() const { return FCount; }

 protected:
  friend class TdxFormattedTextLayoutBuilder;
  int FCount;
};

class TdxFormattedTextTabLayoutBox : public TdxFormattedTextSpaceLayoutBox {
  SK_CLASS(TdxFormattedTextTabLayoutBox, TdxFormattedTextSpaceLayoutBox)
 public:
  TdxFormattedTextBoxKind GetKind() const override { return TdxFormattedTextBoxKind::Tab; }
  TSize GetSize() const override;
  int TabWidth() const { return FTabWidth; }

 private:
  friend class TdxFormattedTextLayoutBuilder;
  int FTabWidth;
};

class TdxFormattedCRLayoutBox : public TdxFormattedTextLayoutBox {
  SK_CLASS(TdxFormattedCRLayoutBox, TdxFormattedTextLayoutBox)
 public:
  TdxFormattedTextBoxKind GetKind() const override { return TdxFormattedTextBoxKind::LineBreak; }
  TSize GetSize() const override;
};

class TdxFormattedEmptyLayoutBox : public TdxFormattedTextLayoutBox {
  SK_CLASS(TdxFormattedEmptyLayoutBox, TdxFormattedTextLayoutBox)
 public:
  TdxFormattedTextBoxKind GetKind() const override { return TdxFormattedTextBoxKind::Empty; }
  TSize GetSize() const override;
};

class TdxFormattedTextLayoutRow : public TObject {
  SK_CLASS(TdxFormattedTextLayoutRow, TObject)
 public:
  int Count() const { return static_cast<int>(FBoxes.size()); }
  TdxFormattedTextLayoutBox* Items(int AIndex) const { return FBoxes.at(static_cast<std::size_t>(AIndex)).get(); }
  TdxFormattedTextLayoutBox* Add(TdxFormattedTextLayoutBox* ABox);
  // Takes the box out without freeing it.
  TdxFormattedTextLayoutBox* Extract(int AIndex);
  void Delete(int AIndex);

  // The width and height of the first ABoxCount boxes (all for -1).
  TSize ContentSize(bool AIsLastRow, int ABoxCount = -1) const;
  void Calculate(const TRect& ABounds);
  void Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset);

  int AscentAndFree() const { return FAscentAndFree; }
  const TRect& Bounds() const { return FBounds; }
  TcxTextAlignX TextAlignX() const { return FTextAlignX; }
  TcxTextAlignY TextAlignY() const { return FTextAlignY; }

 private:
  friend class TdxFormattedTextLayoutBuilder;
  std::vector<TOwned<TdxFormattedTextLayoutBox>> FBoxes;
  int FAscentAndFree;
  TRect FBounds;
  bool FExpandTabs;
  bool FMeasureTrailingSpaces;
  TcxTextAlignX FTextAlignX;
  TcxTextAlignY FTextAlignY;
};

class TdxFormattedTextLayout : public TObject {
  SK_CLASS(TdxFormattedTextLayout, TObject)
 public:
  void Create(bool AMeasureTrailingSpaces);

  int Count() const { return static_cast<int>(FRows.size()); }
  TdxFormattedTextLayoutRow* Items(int AIndex) const { return FRows.at(static_cast<std::size_t>(AIndex)).get(); }
  void Clear();
  // Width: the widest row; height: the rows' heights added.
  TSize TextSize() const;
  void Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset, bool AClip);
  // The box at the point, or nil.
  TdxFormattedTextLayoutBox* HitTest(const TPoint& APoint) const;

  const TRect& Bounds() const { return FBounds; }
  const std::vector<TdxFormattedTextHyperlinkData>& Hyperlinks() const { return FHyperlinks; }
  const TdxFormattedTextLayoutBuilderInitialData& InitialData() const { return FInitialData; }

 private:
  friend class TdxFormattedTextLayoutBuilder;
  friend class TdxFormattedText;
  std::vector<TOwned<TdxFormattedTextLayoutRow>> FRows;
  TRect FBounds;
  std::vector<TdxFormattedTextHyperlinkData> FHyperlinks;
  TdxFormattedTextLayoutBuilderInitialData FInitialData;
  bool FHasInitialData;
  bool FMeasureTrailingSpaces;
};

class TdxFormattedTextBoxMeasurer : public TdxCustomBoxMeasurer {
  SK_CLASS(TdxFormattedTextBoxMeasurer, TdxCustomBoxMeasurer)
 public:
  // Selects the font info's font into ADC and measures.
  TdxTextViewInfo* CreateTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo) override;
  // Measures on the font cache's own context.
  TdxTextViewInfo* CreateTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo) override;
};

// ---------------------------------------------------------------------------
// The text

class TdxFormattedText : public TObject {
  SK_CLASS(TdxFormattedText, TObject)
 public:
  void Create();
  void Destroy() override;

  void Import(const String& ASource, TFont* ADefaultFont);
  void Import(const Variant& ASource, TFont* ADefaultFont);
  String Export(TdxFormattedTextConverterClass AConverterClass, TFont* ADefaultFont) const;

  // Lays the text out in ABounds (moved to the origin) when the text or the
  // data changed; a change of the bounds' position alone does not count.
  void CalculateLayout(TCanvas* ACanvas, TFont* AFont, const TRect& ABounds, std::uint32_t AFormat,
                       TdxScaleFactor* AScaleFactor = nullptr, float AZoomFactor = 1,
                       TColor AHyperlinkColor = clDefault);
  void CalculateLayout(HDC ADC, TFont* AFont, const TRect& ABounds, std::uint32_t AFormat,
                       TdxScaleFactor* AScaleFactor = nullptr, float AZoomFactor = 1,
                       TColor AHyperlinkColor = clDefault);
  void Draw(TCanvas* ACanvas, const TPoint& APosition, bool AClip = true);
  void Draw(HDC ADC, const TPoint& APosition, bool AClip = true);
  void Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& APosition, bool AClip = true);
  TdxFormattedTextLayoutBox* HitTest(const TPoint& APoint) const;

  const String& Text() const { return FText; }
  void SetText(const String& AValue);
  TdxFormattedTextRuns& Runs() { return FRuns; }
  const TdxFormattedTextRuns& Runs() const { return FRuns; }
  // The runs the layout reads (the converters fill both).
  TdxFormattedTextRuns& InternalRuns() { return FInternalRuns; }
  bool MeasureTrailingSpaces() const { return FMeasureTrailingSpaces; }
  void SetMeasureTrailingSpaces(bool AValue);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool AValue) { FShowAccelChar = AValue; }
  bool UseOfficeFonts() const { return FUseOfficeFonts; }
  void SetUseOfficeFonts(bool AValue) { FUseOfficeFonts = AValue; }
  TColor HyperlinkColor() const { return FHyperlinkColor; }
  bool HasFormatting() const;
  TSize TextSize() const;
  TdxFormattedTextLayout* Layout() const { return FLayout.get(); }

  String GetDisplayText() const;
  // An index outside the hyperlinks raises EListError.
  String GetUrl(int AIndex) const;
  // The row's ascent and free space; 0 beyond the rows.
  int GetBaseLine(int ARowIndex) const;

 private:
  TColor FHyperlinkColor;
  TdxFormattedTextRuns FInternalRuns;
  TOwned<TdxFormattedTextLayout> FLayout;
  bool FMeasureTrailingSpaces;
  bool FIsTextChanged;
  TdxFormattedTextRuns FRuns;
  bool FShowAccelChar;
  String FText;
  bool FUseOfficeFonts;
};

// The one layout engine, created on first use; nil once the unit's shut-down
// has begun.
class TdxFormattedTextLayoutBuilder;
TdxFormattedTextLayoutBuilder* dxFormattedTextLayoutBuilder();

void dxFormattedTextInitialization();
void dxFormattedTextFinalization();
