// The library's own DrawText: text laid out into rows with the engine's
// flags, and the rows drawn. Beyond the system's DrawText it reports where
// each row starts, highlights a range of characters, justifies or
// distributes rows, keeps a line spacing factor, stops after a given number
// of rows and draws text with a correct alpha channel on 32-bit surfaces.
//
// Classes in this file:
//   TcxTextAlignX, TcxTextAlignY   the alignments the flags carry
//   TcxTextParams                  the flags and the font's metrics for one layout
//   TcxTextRow                     one laid-out row: a piece of the caller's text
//   TcxTextRows                    the rows: the first 32 inline, the rest allocated
//   TcxTextAlphaRecoveryHelper     white-on-black text turned into coloured,
//                                  premultiplied pixels with their coverage as alpha
//
// All measuring is done on a device context with the font selected into it.
// Rows point into the caller's text, which must outlive them.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------
// Engine flags (one 32-bit set; all other bits are ignored)

enum TcxTextAlignX { taLeft, taCenterX, taRight, taJustifyX, taDistributeX };
enum TcxTextAlignY { taTop, taCenterY, taBottom, taDistributeY };

constexpr std::uint32_t cxtoAlignXMask = 0x7;       // a TcxTextAlignX
constexpr std::uint32_t cxtoAlignYMask = 0x30;      // a TcxTextAlignY, shifted by 4
constexpr std::uint32_t cxtoLeft = 0x0;
constexpr std::uint32_t cxtoCenterX = 0x1;
constexpr std::uint32_t cxtoRight = 0x2;
constexpr std::uint32_t cxtoJustifyX = 0x3;
constexpr std::uint32_t cxtoDistributeX = 0x4;
constexpr std::uint32_t cxtoTop = 0x00;
constexpr std::uint32_t cxtoCenterY = 0x10;
constexpr std::uint32_t cxtoBottom = 0x20;
constexpr std::uint32_t cxtoDistributeY = 0x30;
constexpr std::uint32_t cxtoWordBreak = 0x100;
constexpr std::uint32_t cxtoSingleLine = 0x200;
constexpr std::uint32_t cxtoExpandTabs = 0x400;
constexpr std::uint32_t cxtoEndEllipsis = 0x800;
constexpr std::uint32_t cxtoPatternedText = 0x1000;
constexpr std::uint32_t cxtoExternalLeading = 0x2000;
// Breaks inside over-long words and shows only whole rows.
constexpr std::uint32_t cxtoEditControl = 0x4000;
constexpr std::uint32_t cxtoNoClip = 0x8000;
// A margin of two pixels on every side.
constexpr std::uint32_t cxtoAutoIndents = 0x10000;
constexpr std::uint32_t cxtoCharBreak = 0x20000;
constexpr std::uint32_t cxtoPreventLeftExceed = 0x40000;
constexpr std::uint32_t cxtoPreventTopExceed = 0x80000;
constexpr std::uint32_t cxtoCalcRect = 0x100000;
constexpr std::uint32_t cxtoCalcRowCount = 0x200000;
constexpr std::uint32_t cxtoHidePrefix = 0x1000000;
// Skips all spaces at the start of a wrapped row.
constexpr std::uint32_t cxtoExcelStyle = 0x2000000;
constexpr std::uint32_t cxtoRTLReading = 0x4000000;

// ---------------------------------------------------------------------------
// Layout records

struct TcxTextParams {
  int RowHeight = 0;          // tmHeight of the font
  int tmExternalLeading = 0;  // with ExternalLeading only
  int FullRowHeight = 0;      // the distance between row tops
  int EndEllipsisWidth = 0;   // the width of "..." with EndEllipsis only
  bool Bold = false;
  wchar_t BreakChar = 0;
  TcxTextAlignX TextAlignX = taLeft;
  TcxTextAlignY TextAlignY = taTop;
  bool WordBreak = false;
  bool SingleLine = false;
  bool ExpandTabs = false;
  bool EndEllipsis = false;
  bool ExternalLeading = false;
  bool EditControl = false;
  bool ExcelStyle = false;
  bool NoClip = false;
  bool AutoIndents = false;
  bool PatternedText = false;
  bool PreventLeftExceed = false;
  bool PreventTopExceed = false;
  bool CharBreak = false;
  bool CalcRowCount = false;
  bool CalcRect = false;
  int MaxCharWidth = 0;
  std::uint8_t CharSet = 0;
  int OnePixel = 0;  // one device pixel in logical units
  bool HidePrefix = false;
  bool RTLReading = false;
};

struct TcxTextRow {
  const wchar_t* Text = nullptr;  // the row's first character in the caller's text
  int TextLength = 0;
  TSize TextExtents;
  int BreakCount = 0;  // the blanks between words that justification widens
  int TextOriginX = 0;
  int TextOriginY = 0;
  int StartOffset = 0;  // the index of the first character in the whole text

  String ToString() const { return Text ? String(Text, static_cast<std::size_t>(TextLength)) : String(); }
};

using TcxDynamicTextRows = std::vector<TcxTextRow>;

class TcxTextRows {
 public:
  static constexpr int StaticCapacity = 32;

  int Count() const { return FCount; }
  // Grows the rows when needed and clears the last one.
  void SetCount(int ACount);
  // Count 0, the allocated rows released.
  void Clear();
  TcxTextRow& operator[](int AIndex) {
    return AIndex < StaticCapacity ? FStaticRows[AIndex] : FDynamicRows[static_cast<std::size_t>(AIndex - StaticCapacity)];
  }
  const TcxTextRow& operator[](int AIndex) const {
    return AIndex < StaticCapacity ? FStaticRows[AIndex] : FDynamicRows[static_cast<std::size_t>(AIndex - StaticCapacity)];
  }
  // Rows 32 and above.
  const TcxDynamicTextRows& DynamicRows() const { return FDynamicRows; }

  // A string slot for callers; the layout does not use it.
  String Text;

 private:
  int FCount = 0;
  TcxTextRow FStaticRows[StaticCapacity];
  TcxDynamicTextRows FDynamicRows;
};

// Measures ALength characters of AText; AUserData is the caller's.
using TcxTextMeasureProc = void (*)(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, void* AUserData,
                                    TSize& ASize);

// ---------------------------------------------------------------------------
// Layout

// The parameters of a layout from the flags and the metrics of the font
// selected into DC; ALineSpacing scales the distance between rows.
void CalcTextParamsForDC(HDC DC, std::uint32_t AFlags, double ALineSpacing, TcxTextParams& AParams);
void CalcTextParams(TCanvas* ACanvas, std::uint32_t AFlags, TcxTextParams& AParams, double ALineSpacing = 1.0);

// The extent of ALength characters, tabs expanded to the default stops when
// asked.
void GetTextExtentForDC(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, TSize& ASize);

// One past the end of the word that starts at AFirst (AEnd is one past the
// text): a blank or tab is a word of its own, a line break an empty one, a
// full-width character a word of its own (with a character after it that
// must not start a row); other words run to the next blank, tab, line break
// or full-width character. ACodePage 0 is the system's ANSI code page.
const wchar_t* GetNextWordBreak(UINT ACodePage, const wchar_t* AFirst, const wchar_t* AEnd);

// Lays ALength characters of AText out into rows for ATextRect; true when
// the whole text fits. AMaxRowCount <= 0 sets no limit; a null AMeasureProc
// measures with GetTextExtentForDC.
bool BreakTextIntoRows(HDC DC, const wchar_t* AText, int ALength, const TRect& ATextRect, TcxTextParams& AParams,
                       TcxTextRows& ARows, int& ARowCount, int AMaxRowCount = 0, void* AUserData = nullptr,
                       TcxTextMeasureProc AMeasureProc = nullptr);

// Fills TextOriginX and TextOriginY of the rows; distributing rows
// vertically changes AParams.FullRowHeight.
void CalcTextRowPositions(HDC DC, const TRect& ATextRect, TcxTextParams& AParams, TcxTextRows& ARows, int ARowCount);

// R less the automatic margins and the indents (in OnePixel units), and the
// reverse.
void GetTextParamsContentRect(const TRect& R, const TcxTextParams& AParams, int ALeftIndent, int ARightIndent,
                              TRect& ATextRect);
void GetTextParamsOuterRect(const TRect& ATextRect, const TcxTextParams& AParams, int ALeftIndent, int ARightIndent,
                            TRect& R);

// The widest of the first ACount rows; 0 for none.
int GetMaxTextRowWidth(const TcxTextRows& ARows, int ACount);

// ---------------------------------------------------------------------------
// Drawing

// Draws the text into R with the engine's flags, or with cxtoCalcRect only
// measures it: R then becomes the rows' bounds (plus indents and automatic
// margins). Answers the height of the rows, or with cxtoCalcRowCount (and
// whenever that height is 0) the row count; 0 for nothing to lay out. AFont
// nil keeps the DC's font; ATextColor clDefault keeps the font's colour (or
// the DC's); a highlight colour clNone or clDefault paints no background,
// or keeps the text colour, in the highlighted range. The indents count in
// device pixels. The DC's font and text colour are left as they were.
int DrawTextFormatted(HDC DC, const String& AText, TRect& R, std::uint32_t AFlags, int AHighlightStart,
                      int AHighlightLength, TFont* AFont, TColor AHighlightBkColor, TColor AHighlightTextColor,
                      int AMaxRowCount = 0, int ALeftIndent = 0, int ARightIndent = 0, TColor ATextColor = clDefault,
                      double ALineSpacing = 1.0);
// DrawTextFormatted without a highlight.
int DrawTextFormattedDefaultColors(HDC DC, const String& AText, TRect& R, std::uint32_t AFlags, TFont* AFont = nullptr,
                                   int AMaxRowCount = 0, int ALeftIndent = 0, int ARightIndent = 0,
                                   TColor ATextColor = clDefault, double ALineSpacing = 1.0);
// Paints rows whose positions CalcTextRowPositions has filled: the end
// ellipsis on the last row when the text was cut (ACut) or that row is too
// wide, the characters AHighlightStart .. + AHighlightLength (indices into
// the laid-out text) on their own background and in their own colour,
// justification, clipping to ATextRect and patterned rows. Rows the system
// reports invisible are skipped. The DC's clip region, background mode and
// text alignment are left as they were.
void DrawTextRowsWithColors(HDC DC, const TRect& ATextRect, const TcxTextParams& AParams, const TcxTextRows& ARows,
                            int ARowCount, int AHighlightStart, int AHighlightLength, TColor AHighlightBkColor,
                            TColor AHighlightTextColor, bool ACut);
// Paints the rows white on black into a 32-bit buffer of ATextRect, turns
// that into AColor (rgbReserved: the text's opacity) with the glyphs'
// coverage as alpha, and blends it onto DC: the DC's alpha channel is
// opaque under full glyph pixels and untouched beside them.
void DrawTextRowsWithAlphaRecovery(HDC DC, const TRect& ATextRect, const TcxTextParams& AParams,
                                   const TcxTextRows& ARows, int ARowCount, bool ACut, RGBQUAD AColor);
// The narrowest rectangle in which the text takes at most ARowCount rows,
// measured by this engine with AFlags (single-line and word-wrapped).
void CalcTextRectForRowCount(HDC DC, const String& AText, int ARowCount, std::uint32_t AFlags, TRect& R);

class TcxTextAlphaRecoveryHelper {
 public:
  TcxTextAlphaRecoveryHelper() = delete;

  // Builds the gamma table once: Gamma[i] = trunc(255 x (i / 255)^(10 / 7)).
  static void CheckInitialized();
  static std::uint8_t Gamma(int AIndex);
  // Each of ACount pixels that is not black becomes AColor premultiplied by
  // alpha = opacity x coverage, where the coverage is the gamma-corrected
  // luminance of the pixel (weights 77, 151, 28 of 256); a white pixel is
  // fully covered. Black pixels become 0.
  static void RecoverAlpha(RGBQUAD* APixels, int ACount, RGBQUAD AColor);
};

// The text turned a quarter turn in R (ADirection 0 clockwise, 1
// counter-clockwise), in one line or, with AWordWrap, cut at blanks and line
// breaks into lines that fit R's height. Alignments: 0 start, 1 centre, 2
// end; a line longer than the room takes its end (AAlignEndWhenLong) or its
// start (AAlignStartWhenLong) instead. APointSize, when not 0, replaces the
// font's size.
void DrawRotatedTextLines(HDC DC, const TRect& R, const String& AText, TFont* AFont, int AVertAlign, int AHorzAlign,
                          bool AWordWrap, bool AAlignStartWhenLong, bool AAlignEndWhenLong, int ADirection,
                          int APointSize);

// The unit's start-up and shut-down (each runs once): the two pattern
// brushes of patterned rows.
void cxDrawTextUtilsInitialization();
void cxDrawTextUtilsFinalization();
