// The library's own DrawText: text laid out into rows with the engine's
// flags (this file's layout half). Beyond the system's DrawText it reports
// where each row starts, justifies or distributes rows, keeps a line spacing
// factor and stops after a given number of rows.
//
// Classes in this file:
//   TcxTextAlignX, TcxTextAlignY   the alignments the flags carry
//   TcxTextParams                  the flags and the font's metrics for one layout
//   TcxTextRow                     one laid-out row: a piece of the caller's text
//   TcxTextRows                    the rows: the first 32 inline, the rest allocated
//
// All measuring is done on a device context with the font selected into it.
// Rows point into the caller's text, which must outlive them.
#pragma once

#include "library/core/dxCoreGraphics.h"

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
