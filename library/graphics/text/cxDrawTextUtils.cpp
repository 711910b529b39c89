#include "library/graphics/text/cxDrawTextUtils.h"

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr wchar_t Ellipsis[] = L"...";

bool IsBlank(wchar_t C) { return C == L' ' || C == L'\t'; }
bool IsLineBreak(wchar_t C) { return C == L'\r' || C == L'\n'; }

// Characters that must not start a row (closing punctuation and the like).
bool IsNoStartChar(wchar_t C) {
  static constexpr wchar_t chars[] = {
      L'!',    L'%',    L')',    L',',    L'.',    L':',    L';',    L'>',    L'?',    L']',    L'}',    0x00A8,
      0x00B0,  0x00B7,  0x02C7,  0x02C9,  0x2013,  0x2014,  0x2015,  0x2016,  0x2018,  0x2019,  0x201D,  0x2022,
      0x2025,  0x2026,  0x2027,  0x2032,  0x2033,  0x2103,  0x2236,  0x2574,  0x3001,  0x3002,  0x3003,  0x3005,
      0x3009,  0x300B,  0x300D,  0x300F,  0x3011,  0x3015,  0x3017,  0x301E,  0x309B,  0x309C,  0xFE30,  0xFE31,
      0xFE33,  0xFE34,  0xFE36,  0xFE38,  0xFE3A,  0xFE3C,  0xFE3E,  0xFE40,  0xFE42,  0xFE44,  0xFE4F,  0xFE50,
      0xFE51,  0xFE52,  0xFE54,  0xFE55,  0xFE56,  0xFE57,  0xFE5A,  0xFE5C,  0xFE5E,  0xFF01,  0xFF02,  0xFF05,
      0xFF07,  0xFF09,  0xFF0C,  0xFF0D,  0xFF0E,  0xFF1A,  0xFF1B,  0xFF1E,  0xFF1F,  0xFF3D,  0xFF5C,  0xFF5D,
      0xFF5E,  0xFF61,  0xFF63,  0xFF64,  0xFF9E,  0xFF9F,
  };
  if (C >= 0xFFE0) return true;
  return std::find(std::begin(chars), std::end(chars), C) != std::end(chars);
}

// Whether the code page needs more than one byte for a character, asked of
// the system once per character and code page.
class TdxMultiByteCharCache {
 public:
  bool IsMultiByte(UINT ACodePage, wchar_t C) {
    if (ACodePage != FCodePage || FKnown.empty()) {
      FCodePage = ACodePage;
      FKnown.assign(0x10000, 0);
    }
    std::uint8_t& known = FKnown[C];
    if (known == 0) {
      char bytes[8];
      const int count = WideCharToMultiByte(ACodePage, 0, &C, 1, bytes, sizeof bytes, nullptr, nullptr);
      known = count > 1 ? 2 : 1;
    }
    return known == 2;
  }

 private:
  UINT FCodePage = 0;
  std::vector<std::uint8_t> FKnown;  // 0 unknown, 1 single byte, 2 more
};

bool IsFullWidth(UINT ACodePage, wchar_t C) {
  if (C < 128) return false;
  if ((C >= 0x4E00 && C <= 0x9FFF) || (C >= 0x3040 && C <= 0x309F) || (C >= 0x30A0 && C <= 0x30FF) ||
      (C >= 0xAC00 && C <= 0xD7A3))
    return true;
  static TdxMultiByteCharCache cache;
  return cache.IsMultiByte(ACodePage, C);
}

bool IsFarEastLocale() { return GetSystemMetrics(SM_DBCSENABLED) != 0; }

void MeasureWithDC(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, void*, TSize& ASize) {
  GetTextExtentForDC(DC, AText, ALength, AExpandTabs, ASize);
}

// What one layout asks of the row breaker.
struct TcxRowBreakOptions {
  TcxTextAlignX Align = taLeft;
  bool BreakByWords = false;
  bool BreakByChars = false;
  bool ExpandTabs = false;
  bool ExcelStyle = false;
  bool EndEllipsis = false;
  // Set per row: the last row shown, which ends with an ellipsis when cut.
  bool LastVisibleRowWithEllipsis = false;
};

class TcxRowBreaker {
 public:
  TcxRowBreaker(HDC DC, const wchar_t* AText, int ALength, const TcxRowBreakOptions& AOptions,
                TcxTextMeasureProc AMeasure, void* AUserData)
      : FDC(DC), FEnd(AText + ALength), FOptions(AOptions), FMeasure(AMeasure), FUserData(AUserData) {}

  TcxRowBreakOptions& Options() { return FOptions; }

  int Width(const wchar_t* AFrom, const wchar_t* ATo) const {
    TSize size;
    FMeasure(FDC, AFrom, static_cast<int>(ATo - AFrom), FOptions.ExpandTabs, FUserData, size);
    return size.cx;
  }

  // Ends the row that starts at AStart within AMaxWidth; answers where the
  // next row starts.
  const wchar_t* FindRowBreak(const wchar_t* AStart, int AMaxWidth, TcxTextRow& ARow) const {
    ARow.Text = AStart;
    const wchar_t* rowEnd = FEnd;
    const wchar_t* next = FEnd;
    bool wrapped = false;
    int previousWidth = 0;
    for (const wchar_t* piece = AStart; piece < FEnd;) {
      const wchar_t* pieceEnd = FOptions.BreakByWords ? GetNextWordBreak(0, piece, FEnd) : FindLineBreak(piece);
      const int width = Width(AStart, pieceEnd);
      // The empty word before a line break never overflows: in a column of
      // no width at all the row would take nothing and never end.
      if (FOptions.BreakByWords && width > AMaxWidth && pieceEnd > piece) {
        if (piece != AStart && !FOptions.LastVisibleRowWithEllipsis) {
          rowEnd = next = piece;
        } else if (FOptions.BreakByChars) {
          rowEnd = next = piece + FitChars(piece, pieceEnd, AMaxWidth - previousWidth);
        } else {
          // The piece overflows the row. As with the system's DrawText, a
          // line break right after it starts an empty row, unless the row
          // may end with an ellipsis, which then takes the break along.
          rowEnd = pieceEnd;
          next = FOptions.EndEllipsis ? SkipLineBreak(pieceEnd) : pieceEnd;
          wrapped = next == pieceEnd;
          break;
        }
        wrapped = true;
        break;
      }
      if (pieceEnd < FEnd && IsLineBreak(*pieceEnd)) {
        rowEnd = pieceEnd;
        next = SkipLineBreak(pieceEnd);
        break;
      }
      previousWidth = width;
      piece = pieceEnd;
    }
    ARow.TextLength = static_cast<int>(rowEnd - AStart);
    if (wrapped && next < FEnd) next = AdjustWrap(ARow, next);
    if (FOptions.Align == taDistributeX || (FOptions.Align == taJustifyX && wrapped)) CountBreaks(ARow);
    return next;
  }

 private:
  const wchar_t* FindLineBreak(const wchar_t* AFrom) const {
    return std::find_if(AFrom, FEnd, [](wchar_t c) { return IsLineBreak(c); });
  }

  // A CR LF or LF CR pair is one break.
  const wchar_t* SkipLineBreak(const wchar_t* AAt) const {
    if (AAt >= FEnd || !IsLineBreak(*AAt)) return AAt;
    const wchar_t* next = AAt + 1;
    if (next < FEnd && IsLineBreak(*next) && *next != *AAt) ++next;
    return next;
  }

  // The most characters of the piece (at least one) whose width fits AWidth.
  int FitChars(const wchar_t* APiece, const wchar_t* APieceEnd, int AWidth) const {
    int lo = 0;
    int hi = static_cast<int>(APieceEnd - APiece);
    while (lo < hi) {
      const int mid = (lo + hi + 1) / 2;
      if (Width(APiece, APiece + mid) <= AWidth)
        lo = mid;
      else
        hi = mid - 1;
    }
    int count = std::max(lo, 1);
    // A surrogate pair stays whole.
    if (count < APieceEnd - APiece && IS_HIGH_SURROGATE(APiece[count - 1]) && IS_LOW_SURROGATE(APiece[count]))
      count += count == 1 ? 1 : -1;
    return count;
  }

  const wchar_t* AdjustWrap(TcxTextRow& ARow, const wchar_t* ANext) const {
    const auto dropTrailingBlank = [&ARow] {
      if (ARow.TextLength > 0 && IsBlank(ARow.Text[ARow.TextLength - 1])) --ARow.TextLength;
    };
    const auto skipLeadingBlank = [this, &ANext] {
      if (ANext < FEnd && IsBlank(*ANext)) ++ANext;
    };
    switch (FOptions.Align) {
      case taLeft:
        skipLeadingBlank();
        break;
      case taCenterX:
        dropTrailingBlank();
        skipLeadingBlank();
        break;
      case taRight:
        dropTrailingBlank();
        break;
      default:
        break;
    }
    if (FOptions.ExcelStyle)
      while (ANext < FEnd && *ANext == L' ') ++ANext;
    return ANext;
  }

  static void CountBreaks(TcxTextRow& ARow) {
    while (ARow.TextLength > 0 && IsBlank(ARow.Text[ARow.TextLength - 1])) --ARow.TextLength;
    ARow.BreakCount = static_cast<int>(std::count_if(ARow.Text, ARow.Text + ARow.TextLength, IsBlank));
  }

  HDC FDC;
  const wchar_t* FEnd;
  TcxRowBreakOptions FOptions;
  TcxTextMeasureProc FMeasure;
  void* FUserData;
};

TcxTextAlignX AlignXOf(std::uint32_t AFlags) {
  const std::uint32_t value = AFlags & cxtoAlignXMask;
  return value <= taDistributeX ? static_cast<TcxTextAlignX>(value) : taLeft;
}

// The logical size of a device rectangle of ASize x ASize pixels.
TSize LogicalSizeOfPixels(HDC DC, int ASize) {
  POINT corners[2] = {{0, 0}, {ASize, ASize}};
  DPtoLP(DC, corners, 2);
  return TSize(corners[1].x - corners[0].x, corners[1].y - corners[0].y);
}

}  // namespace

// ---------------------------------------------------------------------------
// Rows

void TcxTextRows::SetCount(int ACount) {
  ACount = std::max(ACount, 0);
  if (ACount > StaticCapacity && static_cast<int>(FDynamicRows.size()) < ACount - StaticCapacity)
    FDynamicRows.resize(static_cast<std::size_t>(ACount - StaticCapacity + 4));
  FCount = ACount;
  if (ACount > 0) (*this)[ACount - 1] = TcxTextRow();
}

void TcxTextRows::Clear() {
  FCount = 0;
  TcxDynamicTextRows().swap(FDynamicRows);
}

// ---------------------------------------------------------------------------
// Parameters and measuring

void CalcTextParamsForDC(HDC DC, std::uint32_t AFlags, double ALineSpacing, TcxTextParams& AParams) {
  AParams = TcxTextParams();
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(DC, &metrics)) {
    TEXTMETRICA ansi{};
    GetTextMetricsA(DC, &ansi);
    metrics.tmHeight = ansi.tmHeight;
    metrics.tmExternalLeading = ansi.tmExternalLeading;
    metrics.tmWeight = ansi.tmWeight;
    metrics.tmBreakChar = static_cast<unsigned char>(ansi.tmBreakChar);
    metrics.tmMaxCharWidth = ansi.tmMaxCharWidth;
    metrics.tmCharSet = ansi.tmCharSet;
  }
  AParams.Bold = metrics.tmWeight >= FW_BOLD;
  AParams.BreakChar = metrics.tmBreakChar;
  AParams.MaxCharWidth = metrics.tmMaxCharWidth;
  AParams.RowHeight = metrics.tmHeight;
  AParams.CharSet = metrics.tmCharSet;

  AParams.TextAlignX = AlignXOf(AFlags);
  AParams.TextAlignY = static_cast<TcxTextAlignY>((AFlags & cxtoAlignYMask) >> 4);
  AParams.WordBreak = AFlags & cxtoWordBreak;
  AParams.SingleLine = AFlags & cxtoSingleLine;
  AParams.ExpandTabs = AFlags & cxtoExpandTabs;
  AParams.EndEllipsis = AFlags & cxtoEndEllipsis;
  AParams.ExternalLeading = AFlags & cxtoExternalLeading;
  AParams.EditControl = AFlags & cxtoEditControl;
  AParams.ExcelStyle = AFlags & cxtoExcelStyle;
  AParams.NoClip = AFlags & cxtoNoClip;
  AParams.AutoIndents = AFlags & cxtoAutoIndents;
  AParams.PatternedText = AFlags & cxtoPatternedText;
  AParams.PreventLeftExceed = AFlags & cxtoPreventLeftExceed;
  AParams.PreventTopExceed = AFlags & cxtoPreventTopExceed;
  AParams.CharBreak = (AFlags & cxtoCharBreak) || IsFarEastLocale();
  AParams.CalcRowCount = AFlags & cxtoCalcRowCount;
  AParams.CalcRect = AFlags & cxtoCalcRect;
  AParams.HidePrefix = AFlags & cxtoHidePrefix;
  AParams.RTLReading = AFlags & cxtoRTLReading;

  AParams.tmExternalLeading = AParams.ExternalLeading ? metrics.tmExternalLeading : 0;
  AParams.OnePixel = LogicalSizeOfPixels(DC, 1).cx;
  AParams.FullRowHeight = RoundToInt((AParams.RowHeight + AParams.tmExternalLeading) * ALineSpacing);
  // Rows too small to read may be drawn as bars.
  if (AParams.PatternedText) AParams.PatternedText = AParams.RowHeight < LogicalSizeOfPixels(DC, 6).cy;
  if (AParams.EndEllipsis) {
    TSize size;
    GetTextExtentForDC(DC, Ellipsis, 3, false, size);
    AParams.EndEllipsisWidth = size.cx;
  }
}

void CalcTextParams(TCanvas* ACanvas, std::uint32_t AFlags, TcxTextParams& AParams, double ALineSpacing) {
  CalcTextParamsForDC(ACanvas->Handle(), AFlags, ALineSpacing, AParams);
}

void GetTextExtentForDC(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, TSize& ASize) {
  ALength = std::max(ALength, 0);
  const auto drawTextSize = [DC, AText](int ALength) {
    RECT r{0, 0, 0, 0};
    DrawTextW(DC, AText, ALength, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    return TSize(r.right - r.left, r.bottom - r.top);
  };
  if (!AExpandTabs) {
    SIZE size{};
    GetTextExtentPoint32W(DC, AText, ALength, &size);
    ASize = TSize(size.cx, size.cy);
  } else if (ALength > 4095) {
    ASize = drawTextSize(ALength);
    if (ASize.cx == 0 && ALength >= 4097) ASize = drawTextSize(4096);
  } else {
    const DWORD extent = GetTabbedTextExtentW(DC, AText, ALength, 0, nullptr);
    ASize = TSize(LOWORD(extent), HIWORD(extent));
    // The width is 16 bits wide: a wider text has lost whole multiples of
    // 65536. The text's 32-bit extent without its tabs (which only widen it)
    // says how many; DrawText cannot, as it stops measuring long rows.
    SIZE w{};
    GetTextExtentPoint32W(DC, L"W", 1, &w);
    if (static_cast<long long>(ALength) * w.cx > 65535) {
      SIZE plain{};
      SIZE tab{};
      GetTextExtentPoint32W(DC, AText, ALength, &plain);
      GetTextExtentPoint32W(DC, L"\t", 1, &tab);
      const long long tabs = std::count(AText, AText + ALength, L'\t');
      const long long atLeast = plain.cx - tabs * tab.cx;
      if (atLeast > ASize.cx) ASize.cx += static_cast<int>((atLeast - ASize.cx + 65535) / 65536 * 65536);
    }
  }
}

const wchar_t* GetNextWordBreak(UINT ACodePage, const wchar_t* AFirst, const wchar_t* AEnd) {
  if (AFirst >= AEnd) return AFirst;
  const wchar_t c = *AFirst;
  if (IsBlank(c)) return AFirst + 1;
  if (IsLineBreak(c)) return AFirst;
  if (IsFullWidth(ACodePage, c)) {
    const wchar_t* end = AFirst + 1;
    if (end < AEnd && IsNoStartChar(*end)) ++end;
    return end;
  }
  const wchar_t* p = AFirst + 1;
  while (p < AEnd && !IsBlank(*p) && !IsLineBreak(*p) && !IsFullWidth(ACodePage, *p)) ++p;
  return p;
}

// ---------------------------------------------------------------------------
// Layout

bool BreakTextIntoRows(HDC DC, const wchar_t* AText, int ALength, const TRect& ATextRect, TcxTextParams& AParams,
                       TcxTextRows& ARows, int& ARowCount, int AMaxRowCount, void* AUserData,
                       TcxTextMeasureProc AMeasureProc) {
  ARows.Clear();
  ARowCount = 0;
  if (!AText || ALength <= 0) return true;
  const TcxTextMeasureProc measure = AMeasureProc ? AMeasureProc : &MeasureWithDC;
  const auto measureRow = [&](TcxTextRow& ARow) {
    measure(DC, ARow.Text, ARow.TextLength, AParams.ExpandTabs, AUserData, ARow.TextExtents);
  };

  if (AParams.CalcRect && AParams.SingleLine) {
    ARows.SetCount(1);
    TcxTextRow& row = ARows[0];
    row.Text = AText;
    row.TextLength = ALength;
    measureRow(row);
    ARowCount = 1;
    return true;
  }

  const bool justified = AParams.TextAlignX == taJustifyX || AParams.TextAlignX == taDistributeX;
  TcxRowBreakOptions options;
  options.Align = AParams.TextAlignX;
  options.BreakByWords = !AParams.SingleLine && (AParams.WordBreak || justified);
  options.BreakByChars = options.BreakByWords && (AParams.CharBreak || AParams.EditControl);
  options.ExpandTabs = AParams.ExpandTabs;
  options.ExcelStyle = AParams.ExcelStyle;
  options.EndEllipsis = AParams.EndEllipsis;
  TcxRowBreaker breaker(DC, AText, ALength, options, measure, AUserData);

  const bool measuring = AParams.CalcRect || AParams.CalcRowCount;
  const bool ellipsisAllowed = AParams.EndEllipsis && !AParams.NoClip && !measuring && !justified;
  const int rectHeight = ATextRect.Height();
  const wchar_t* const end = AText + ALength;
  const wchar_t* start = AText;
  long long height = 0;
  while (start < end && (AMaxRowCount <= 0 || ARowCount < AMaxRowCount)) {
    height += AParams.FullRowHeight;
    bool last;
    if (AParams.SingleLine)
      last = true;
    else if (AParams.TextAlignY == taTop && !measuring)
      last = AParams.EditControl && !AParams.NoClip ? rectHeight < height + AParams.FullRowHeight
                                                    : rectHeight < height;
    else
      last = AMaxRowCount > 0 && ARowCount + 1 >= AMaxRowCount;
    breaker.Options().LastVisibleRowWithEllipsis = last && ellipsisAllowed;

    ARows.SetCount(ARowCount + 1);
    TcxTextRow& row = ARows[ARowCount];
    const wchar_t* next = breaker.FindRowBreak(start, ATextRect.Width(), row);
    row.StartOffset = static_cast<int>(start - AText);
    measureRow(row);
    ++ARowCount;
    // Every row moves on, whatever the measuring function answers.
    start = std::max(next, start + 1);
    if (last) break;
  }

  if (measuring) return true;
  const bool cut = AParams.SingleLine ? ARows[ARowCount - 1].TextExtents.cx > ATextRect.Width() : start < end;
  return !cut;
}

void CalcTextRowPositions(HDC, const TRect& ATextRect, TcxTextParams& AParams, TcxTextRows& ARows, int ARowCount) {
  ARowCount = std::min(ARowCount, ARows.Count());
  if (ARowCount <= 0) return;
  int extraPixels = 0;
  if (ARowCount > 1 && AParams.TextAlignY == taDistributeY) {
    const int free = ATextRect.Height() - AParams.RowHeight;
    if (AParams.RowHeight < static_cast<double>(free) / (ARowCount - 1)) {
      AParams.FullRowHeight = free / (ARowCount - 1);
      extraPixels = free % (ARowCount - 1);
    }
  }
  const int rowsHeight = ARowCount * AParams.FullRowHeight;
  int top;
  switch (AParams.TextAlignY) {
    case taCenterY:
      top = ATextRect.Top + (ATextRect.Height() - rowsHeight) / 2;
      break;
    case taBottom:
      top = ATextRect.Bottom - rowsHeight + AParams.tmExternalLeading;
      break;
    default:
      top = ATextRect.Top;
      break;
  }
  if (AParams.PreventTopExceed) top = std::max(top, ATextRect.Top);

  for (int i = 0; i < ARowCount; ++i) {
    TcxTextRow& row = ARows[i];
    row.TextOriginY = top;
    top += AParams.FullRowHeight;
    if (extraPixels > 0) {
      ++top;
      --extraPixels;
    }
    const int width = row.TextExtents.cx;
    switch (AParams.TextAlignX) {
      case taCenterX:
        row.TextOriginX = ATextRect.Left + (ATextRect.Width() - width) / 2;
        break;
      case taRight:
        row.TextOriginX = ATextRect.Right - width;
        break;
      default:
        row.TextOriginX = ATextRect.Left;
        break;
    }
    if (AParams.PreventLeftExceed) {
      if (!AParams.RTLReading)
        row.TextOriginX = std::max(row.TextOriginX, ATextRect.Left);
      else if (row.TextOriginX + width > ATextRect.Right)
        row.TextOriginX = ATextRect.Right - width;
    }
  }
}

void GetTextParamsContentRect(const TRect& R, const TcxTextParams& AParams, int ALeftIndent, int ARightIndent,
                              TRect& ATextRect) {
  ATextRect = R;
  if (AParams.AutoIndents) ATextRect.Inflate(-2 * AParams.OnePixel, -2 * AParams.OnePixel);
  ATextRect.Left += ALeftIndent * AParams.OnePixel;
  ATextRect.Right -= ARightIndent * AParams.OnePixel;
}

void GetTextParamsOuterRect(const TRect& ATextRect, const TcxTextParams& AParams, int ALeftIndent, int ARightIndent,
                            TRect& R) {
  R = ATextRect;
  R.Left -= ALeftIndent * AParams.OnePixel;
  R.Right += ARightIndent * AParams.OnePixel;
  if (AParams.AutoIndents) R.Inflate(2 * AParams.OnePixel, 2 * AParams.OnePixel);
}

int GetMaxTextRowWidth(const TcxTextRows& ARows, int ACount) {
  int result = 0;
  for (int i = 0, count = std::min(ACount, ARows.Count()); i < count; ++i)
    result = std::max(result, ARows[i].TextExtents.cx);
  return result;
}

// ---------------------------------------------------------------------------
// Drawing

namespace {

// The bars of patterned rows: a checkerboard for normal weight, solid for
// bold. A monochrome pattern paints its 0 bits in the text colour and its 1
// bits in the background colour.
std::array<TOwnedBrush, 2> PatternBrushes;
int DrawTextUtilsStarts = 0;

TOwnedBrush CreateMonochromePatternBrush(std::uint8_t AEvenRow, std::uint8_t AOddRow) {
  // Rows of a monochrome bitmap are padded to 16 bits.
  std::array<WORD, 8> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i % 2 == 0 ? AEvenRow : AOddRow;
  const TOwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, rows.data()));
  return TOwnedBrush(CreatePatternBrush(pattern.Get()));
}

bool IsMetafileDC(HDC DC) {
  switch (GetObjectType(DC)) {
    case OBJ_METADC:
    case OBJ_ENHMETADC:
    case OBJ_METAFILE:
    case OBJ_ENHMETAFILE:
      return true;
    default:
      return false;
  }
}

// A clip region put back when the scope ends.
class TcxSavedClipRegion {
 public:
  explicit TcxSavedClipRegion(HDC DC) : FDC(DC), FRegion(SaveClipRegion(DC)) {}
  ~TcxSavedClipRegion() { RestoreClipRegion(FDC, std::move(FRegion)); }
  TcxSavedClipRegion(const TcxSavedClipRegion&) = delete;
  TcxSavedClipRegion& operator=(const TcxSavedClipRegion&) = delete;

 private:
  HDC FDC;
  TOwnedRegion FRegion;
};

// Paints the rows of one call of DrawTextRowsWithColors.
class TcxTextRowPainter {
 public:
  TcxTextRowPainter(HDC DC, const TRect& ATextRect, const TcxTextParams& AParams, TColor AHighlightTextColor)
      : FDC(DC), FTextRect(ATextRect), FParams(AParams), FIsMetafile(IsMetafileDC(DC)) {
    if (IsColorValid(AHighlightTextColor)) FHighlightTextColor = ColorToColorRef(AHighlightTextColor);
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    FWindowOrg = origin;
  }

  bool IsRowVisible(const TRect& ARowRect) const {
    const RECT r = ARowRect;
    return FIsMetafile || RectVisible(FDC, &r);
  }

  // AHighlightFrom .. AHighlightTo: the highlighted characters of the row
  // (none when equal).
  void PaintRow(TcxTextRow ARow, const TRect& ARowRect, bool ANeedsEllipsis, int AHighlightFrom, int AHighlightTo,
                HBRUSH AHighlightBrush) {
    if (FParams.PatternedText) {
      PaintPattern(ARow, ARowRect);
      return;
    }
    const bool justify = (FParams.TextAlignX == taJustifyX || FParams.TextAlignX == taDistributeX) && !ANeedsEllipsis;
    const int freeWidth = FTextRect.Width() - ARow.TextExtents.cx;
    const bool justified = justify && freeWidth > 0 && ARow.BreakCount > 0;
    if (justified) SetTextJustification(FDC, freeWidth, ARow.BreakCount);
    TScopeExit resetJustification([this, justified] {
      if (justified) SetTextJustification(FDC, 0, 0);
    });

    const bool clipped = !FParams.NoClip && (ARow.TextExtents.cx > FTextRect.Width() || ARowRect.Top < FTextRect.Top ||
                                             ARowRect.Bottom > FTextRect.Bottom);
    const bool highlighted = !FIsMetafile && AHighlightFrom < AHighlightTo;
    // The highlight leaves its range excluded from the clip region: the
    // caller's region comes back after the row.
    std::optional<TcxSavedClipRegion> savedClip;
    if (clipped || highlighted) savedClip.emplace(FDC);
    if (clipped)
      IntersectClipRect(FDC, ARowRect.Left, std::max(ARowRect.Top, FTextRect.Top), ARowRect.Right,
                        std::min(ARowRect.Bottom, FTextRect.Bottom));

    bool ellipsis = ANeedsEllipsis;
    if (ellipsis) ShortenForEllipsis(ARow);
    if (highlighted && PaintHighlight(ARow, ARowRect, AHighlightFrom, std::min(AHighlightTo, ARow.TextLength),
                                      AHighlightBrush, ellipsis && AHighlightTo >= ARow.TextLength))
      ellipsis = false;
    OutputRowText(ARow);
    if (ellipsis) PaintEllipsis(ARow, ARowRect);
  }

  void PaintEllipsis(const TcxTextRow& ARow, const TRect& ARowRect) const {
    TRect r(0, ARowRect.Top, 0, ARowRect.Bottom);
    UINT options = ETO_CLIPPED;
    if (!FParams.RTLReading) {
      r.Left = ARow.TextOriginX + ARow.TextExtents.cx;
      r.Right = std::min(r.Left + FParams.EndEllipsisWidth, ARowRect.Right);
    } else {
      r.Right = FParams.TextAlignX == taLeft ? ARowRect.Left + FParams.EndEllipsisWidth : ARow.TextOriginX;
      r.Left = r.Right - FParams.EndEllipsisWidth;
      options |= ETO_RTLREADING;
    }
    if (r.IsEmpty()) return;
    const RECT clip = r;
    ExtTextOutW(FDC, r.Left, ARow.TextOriginY, options, &clip, Ellipsis, 3, nullptr);
  }

 private:
  void PaintPattern(const TcxTextRow& ARow, const TRect& ARowRect) const {
    const int onePixel = std::max(FParams.OnePixel, 1);
    RECT bar{ARow.TextOriginX, ARowRect.Top + onePixel, std::min(ARow.TextOriginX + ARow.TextExtents.cx, ARowRect.Right),
             ARowRect.Bottom - onePixel};
    if (bar.bottom - bar.top < onePixel) bar.bottom = bar.top + onePixel;
    const COLORREF background = SetBkColor(FDC, GetSysColor(COLOR_WINDOW));
    FillRect(FDC, &bar, PatternBrushes[FParams.Bold ? 1 : 0].Get());
    SetBkColor(FDC, background);
  }

  // Leaves room for the ellipsis and places the shortened row again.
  void ShortenForEllipsis(TcxTextRow& ARow) const {
    const int room = std::max(FTextRect.Width() - FParams.EndEllipsisWidth, 0);
    int fit = 0;
    SIZE size{};
    if (!GetTextExtentExPointW(FDC, ARow.Text, ARow.TextLength, room, &fit, nullptr, &size)) fit = 0;
    fit = std::clamp(fit, 0, ARow.TextLength);
    const bool alignedAtReadingStart = FParams.RTLReading ? FParams.TextAlignX == taRight : FParams.TextAlignX == taLeft;
    if (fit == 0 && alignedAtReadingStart && ARow.TextLength > 0) fit = 1;
    // A surrogate pair stays whole.
    if (fit > 0 && fit < ARow.TextLength && IS_HIGH_SURROGATE(ARow.Text[fit - 1])) ++fit;
    ARow.TextLength = fit;
    GetTextExtentForDC(FDC, ARow.Text, fit, FParams.ExpandTabs, ARow.TextExtents);

    const int width = ARow.TextExtents.cx;
    const int ellipsis = FParams.EndEllipsisWidth;
    switch (FParams.TextAlignX) {
      case taCenterX:
        ARow.TextOriginX = FTextRect.Left + (FTextRect.Width() - width - ellipsis) / 2 + (FParams.RTLReading ? ellipsis : 0);
        break;
      case taRight:
        ARow.TextOriginX = FTextRect.Right - width - (FParams.RTLReading ? 0 : ellipsis);
        break;
      default:
        ARow.TextOriginX = FTextRect.Left + (FParams.RTLReading ? ellipsis : 0);
        break;
    }
  }

  // Paints characters AFrom .. ATo of the row on the highlight background in
  // the highlight colour and excludes them from the clip region; with
  // AWithEllipsis the ellipsis follows in the highlight colour. Answers
  // whether the ellipsis was painted.
  bool PaintHighlight(const TcxTextRow& ARow, const TRect& ARowRect, int AFrom, int ATo, HBRUSH ABrush,
                      bool AWithEllipsis) {
    if (AFrom >= ATo) return false;
    TOwnedRegion region;
    TOwnedRegion deviceRegion;
    TRect bounds;
    if (!FParams.RTLReading) {
      std::vector<int> advances(static_cast<std::size_t>(ATo));
      int fit = 0;
      SIZE size{};
      if (!GetTextExtentExPointW(FDC, ARow.Text, ATo, 0, &fit, advances.data(), &size)) return false;
      bounds = TRect(ARow.TextOriginX + (AFrom > 0 ? advances[static_cast<std::size_t>(AFrom - 1)] : 0), ARowRect.Top,
                     ARow.TextOriginX + advances[static_cast<std::size_t>(ATo - 1)], ARowRect.Bottom);
      if (bounds.IsEmpty()) return false;
    } else {
      const String text(ARow.Text, static_cast<std::size_t>(ARow.TextLength));
      const TRect rowBounds(ARow.TextOriginX, ARowRect.Top, ARow.TextOriginX + ARow.TextExtents.cx, ARowRect.Bottom);
      region = CreateTextRegion(FDC, text, ARow.TextLength, true, nullptr, ATo - AFrom, AFrom, rowBounds);
      if (!region) return false;
      // Clip regions are in device units.
      deviceRegion.Reset(CreateRectRgn(0, 0, 0, 0));
      CombineRgn(deviceRegion.Get(), region.Get(), nullptr, RGN_COPY);
      OffsetRgn(deviceRegion.Get(), -FWindowOrg.X, -FWindowOrg.Y);
    }

    {
      const TcxSavedClipRegion saved(FDC);
      if (deviceRegion) {
        ExtSelectClipRgn(FDC, deviceRegion.Get(), RGN_AND);
        if (ABrush) FillRgn(FDC, region.Get(), ABrush);
      } else {
        IntersectClipRect(FDC, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
        const RECT r = bounds;
        if (ABrush) FillRect(FDC, &r, ABrush);
      }
      WithHighlightColor([&] { OutputRowText(ARow); });
    }
    if (AWithEllipsis) WithHighlightColor([&] { PaintEllipsis(ARow, ARowRect); });
    if (deviceRegion)
      ExtSelectClipRgn(FDC, deviceRegion.Get(), RGN_DIFF);
    else
      ExcludeClipRect(FDC, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
    return AWithEllipsis;
  }

  template <class F>
  void WithHighlightColor(const F& APaint) const {
    if (!FHighlightTextColor) {
      APaint();
      return;
    }
    const COLORREF color = SetTextColor(FDC, *FHighlightTextColor);
    TScopeExit restore([this, color] { SetTextColor(FDC, color); });
    APaint();
  }

  void OutputRowText(const TcxTextRow& ARow) const {
    if (FParams.ExpandTabs) {
      // Right-to-left rows start at their origin too: the reading order is
      // the text alignment's business, and a row output from its right end
      // would run past it.
      TabbedTextOutW(FDC, ARow.TextOriginX, ARow.TextOriginY, ARow.Text, std::min(ARow.TextLength, 4096), 0, nullptr,
                     ARow.TextOriginX);
    } else {
      TextOutW(FDC, ARow.TextOriginX, ARow.TextOriginY, ARow.Text, ARow.TextLength);
    }
  }

  HDC FDC;
  TRect FTextRect;
  const TcxTextParams& FParams;
  bool FIsMetafile;
  std::optional<COLORREF> FHighlightTextColor;
  TPoint FWindowOrg;
};

void MeasureWithEngine(HDC DC, const String& AText, TRect& AR, UINT AFlags) {
  DrawTextFormattedDefaultColors(DC, AText, AR, AFlags | cxtoCalcRect);
}

// The lines of DrawRotatedTextLines: pieces of the text that fit ARoom.
std::vector<String> RotatedTextLines(HDC DC, const String& AText, bool AWordWrap, int ARoom) {
  if (!AWordWrap) return {AText};
  const auto width = [DC](const wchar_t* AFrom, std::size_t ALength) {
    SIZE size{};
    GetTextExtentPoint32W(DC, AFrom, static_cast<int>(ALength), &size);
    return static_cast<int>(size.cx);
  };
  std::vector<String> lines;
  const std::size_t length = AText.size();
  std::size_t start = 0;
  while (start < length) {
    std::size_t lineEnd = length;
    std::size_t next = length;
    std::size_t lastFit = String::npos;
    for (std::size_t i = start; i <= length; ++i) {
      const wchar_t c = i < length ? AText[i] : L'\0';
      const bool lineBreak = c == L'\r' || c == L'\n';
      if (i < length && c != L' ' && !lineBreak) continue;
      const bool fits = width(AText.c_str() + start, i - start) <= ARoom;
      if (fits) lastFit = i;
      if (!fits && lastFit != String::npos && lastFit > start) {
        lineEnd = next = lastFit;
        break;
      }
      if (!fits || lineBreak || i == length) {
        lineEnd = next = i;
        break;
      }
    }
    lines.push_back(AText.substr(start, lineEnd - start));
    // A line break that ends a line is used up (CR LF as one); so is one
    // blank after a line.
    if (next < length && (AText[next] == L'\r' || AText[next] == L'\n')) {
      const wchar_t c = AText[next++];
      if (next < length && (AText[next] == L'\r' || AText[next] == L'\n') && AText[next] != c) ++next;
    } else if (next < length && AText[next] == L' ') {
      ++next;
    }
    start = std::max(next, start + 1);
  }
  return lines;
}

}  // namespace

int DrawTextFormatted(HDC DC, const String& AText, TRect& R, std::uint32_t AFlags, int AHighlightStart,
                      int AHighlightLength, TFont* AFont, TColor AHighlightBkColor, TColor AHighlightTextColor,
                      int AMaxRowCount, int ALeftIndent, int ARightIndent, TColor ATextColor, double ALineSpacing) {
  if (AText.empty()) return 0;
  const HGDIOBJ font = GetCurrentObject(DC, OBJ_FONT);
  const COLORREF textColor = GetTextColor(DC);
  TScopeExit restore([&] {
    SelectObject(DC, font);
    SetTextColor(DC, textColor);
  });
  if (AFont) {
    SelectObject(DC, AFont->Handle());
    SetTextColor(DC, ColorToColorRef(AFont->Color()));
  }
  if (ATextColor != clDefault) SetTextColor(DC, ColorToColorRef(ATextColor));

  TcxTextParams params;
  CalcTextParamsForDC(DC, AFlags, ALineSpacing, params);
  TRect textRect;
  GetTextParamsContentRect(R, params, ALeftIndent, ARightIndent, textRect);
  if (params.CalcRect ? textRect.Width() <= 0 : textRect.Width() < 1 || textRect.Height() < 1) return 0;

  const String text = params.HidePrefix ? StripAccelerators(AText) : AText;
  if (text.empty()) return 0;
  const int length = static_cast<int>(text.size());
  TcxTextRows rows;
  int count = 0;
  const bool fits = BreakTextIntoRows(DC, text.c_str(), length, textRect, params, rows, count, AMaxRowCount);
  if (count == 0) return 0;

  int height;
  if (params.CalcRect) {
    if (AMaxRowCount > 0) count = std::min(count, AMaxRowCount);
    textRect.Right = textRect.Left + GetMaxTextRowWidth(rows, count);
    if (!params.SingleLine) {
      BreakTextIntoRows(DC, text.c_str(), length, textRect, params, rows, count, AMaxRowCount);
      if (AMaxRowCount > 0) count = std::min(count, AMaxRowCount);
    }
    CalcTextRowPositions(DC, textRect, params, rows, count);
    textRect.Top = rows[0].TextOriginY;
    textRect.Bottom = rows[count - 1].TextOriginY + params.RowHeight;
    height = textRect.Height();
    GetTextParamsOuterRect(textRect, params, ALeftIndent, ARightIndent, R);
  } else {
    CalcTextRowPositions(DC, textRect, params, rows, count);
    if (AHighlightStart < 0 || AHighlightStart >= length)
      AHighlightLength = 0;
    else
      AHighlightLength = std::min(AHighlightLength, length - AHighlightStart);
    DrawTextRowsWithColors(DC, textRect, params, rows, count, AHighlightStart, AHighlightLength, AHighlightBkColor,
                           AHighlightTextColor, !fits);
    height = rows[count - 1].TextOriginY + params.RowHeight - rows[0].TextOriginY;
  }
  return params.CalcRowCount || height == 0 ? count : height;
}

int DrawTextFormattedDefaultColors(HDC DC, const String& AText, TRect& R, std::uint32_t AFlags, TFont* AFont,
                                   int AMaxRowCount, int ALeftIndent, int ARightIndent, TColor ATextColor,
                                   double ALineSpacing) {
  return DrawTextFormatted(DC, AText, R, AFlags, 0, 0, AFont, clDefault, clDefault, AMaxRowCount, ALeftIndent,
                           ARightIndent, ATextColor, ALineSpacing);
}

void DrawTextRowsWithColors(HDC DC, const TRect& ATextRect, const TcxTextParams& AParams, const TcxTextRows& ARows,
                            int ARowCount, int AHighlightStart, int AHighlightLength, TColor AHighlightBkColor,
                            TColor AHighlightTextColor, bool ACut) {
  ARowCount = std::min(ARowCount, ARows.Count());
  if (ARowCount <= 0) return;
  TOwnedBrush highlightBrush;
  if (AHighlightLength > 0 && IsColorValid(AHighlightBkColor))
    highlightBrush.Reset(CreateSolidBrush(ColorToColorRef(AHighlightBkColor)));
  const int backgroundMode = SetBkMode(DC, TRANSPARENT);
  const UINT textAlign = GetTextAlign(DC);
  if (AParams.RTLReading) SetTextAlign(DC, textAlign | TA_RTLREADING);
  TScopeExit restore([&] {
    SetTextAlign(DC, textAlign);
    SetBkMode(DC, backgroundMode);
  });

  TcxTextRowPainter painter(DC, ATextRect, AParams, AHighlightTextColor);
  const int highlightEnd = AHighlightStart + std::max(AHighlightLength, 0);
  for (int i = 0; i < ARowCount; ++i) {
    const TcxTextRow& row = ARows[i];
    const TRect rowRect(ATextRect.Left, row.TextOriginY, ATextRect.Right, row.TextOriginY + AParams.FullRowHeight);
    if (!painter.IsRowVisible(rowRect)) continue;
    const bool last = i == ARowCount - 1;
    // No ellipsis where rows are not clipped: the whole text shows.
    const bool ellipsisShown = AParams.EndEllipsis && !AParams.NoClip && last;
    if (row.TextLength > 0) {
      const bool needsEllipsis = ellipsisShown && (ACut || row.TextExtents.cx > ATextRect.Width());
      const int from = std::max(AHighlightStart, row.StartOffset) - row.StartOffset;
      const int to = std::min(highlightEnd, row.StartOffset + row.TextLength) - row.StartOffset;
      painter.PaintRow(row, rowRect, needsEllipsis, from, std::max(from, to), highlightBrush.Get());
    } else if (ellipsisShown && ACut) {
      painter.PaintEllipsis(row, rowRect);
    }
  }
}

void DrawTextRowsWithAlphaRecovery(HDC DC, const TRect& ATextRect, const TcxTextParams& AParams,
                                   const TcxTextRows& ARows, int ARowCount, bool ACut, RGBQUAD AColor) {
  if (ATextRect.IsEmpty()) return;
  const TOwned<TdxFastDIB> buffer(New<TdxFastDIB>(ATextRect, true));
  const HDC bufferDC = buffer->DC();
  {
    const TSelectObject font(bufferDC, GetCurrentObject(DC, OBJ_FONT));
    SetTextColor(bufferDC, RGB(255, 255, 255));
    SetBkColor(bufferDC, RGB(0, 0, 0));
    SetBkMode(bufferDC, TRANSPARENT);
    const TSavedWindowOrg origin(bufferDC);
    SetWindowOrgEx(bufferDC, ATextRect.Left, ATextRect.Top, nullptr);
    DrawTextRowsWithColors(bufferDC, ATextRect, AParams, ARows, ARowCount, 0, 0, clNone, clNone, ACut);
  }
  GdiFlush();
  TcxTextAlphaRecoveryHelper::RecoverAlpha(buffer->Bits(), buffer->Width() * buffer->Height(), AColor);
  AlphaBlendFromDC(DC, bufferDC, ATextRect, buffer->ClientRect());
}

void CalcTextRectForRowCount(HDC DC, const String& AText, int ARowCount, std::uint32_t AFlags, TRect& R) {
  FitTextToLines(DC, AText, ARowCount, &MeasureWithEngine, AFlags | cxtoSingleLine, AFlags | cxtoWordBreak, false, R);
}

// ---------------------------------------------------------------------------
// TcxTextAlphaRecoveryHelper

namespace {
std::array<std::uint8_t, 256> AlphaRecoveryGamma{};
bool AlphaRecoveryGammaBuilt = false;
}  // namespace

void TcxTextAlphaRecoveryHelper::CheckInitialized() {
  if (AlphaRecoveryGammaBuilt) return;
  for (int i = 0; i < 256; ++i)
    AlphaRecoveryGamma[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(std::trunc(255.0 * std::pow(i / 255.0, 10.0 / 7.0)));
  AlphaRecoveryGammaBuilt = true;
}

std::uint8_t TcxTextAlphaRecoveryHelper::Gamma(int AIndex) {
  CheckInitialized();
  return AlphaRecoveryGamma[static_cast<std::size_t>(AIndex & 0xFF)];
}

void TcxTextAlphaRecoveryHelper::RecoverAlpha(RGBQUAD* APixels, int ACount, RGBQUAD AColor) {
  CheckInitialized();
  const TdxColors::TTable& premultiplied = TdxColors::PremultiplyTable();
  const auto& gamma = AlphaRecoveryGamma;
  for (RGBQUAD* pixel = APixels, *end = APixels + std::max(ACount, 0); pixel < end; ++pixel) {
    if ((pixel->rgbRed | pixel->rgbGreen | pixel->rgbBlue) == 0) {
      *pixel = RGBQUAD{};
      continue;
    }
    // The weights add up to 256, so the sum is the coverage in 1/256ths of
    // 255: rounded to 0..255 a white pixel is covered fully.
    const int sum = gamma[pixel->rgbRed] * 77 + gamma[pixel->rgbGreen] * 151 + gamma[pixel->rgbBlue] * 28;
    const std::uint8_t alpha = premultiplied[AColor.rgbReserved][(sum + 128) >> 8];
    pixel->rgbBlue = premultiplied[AColor.rgbBlue][alpha];
    pixel->rgbGreen = premultiplied[AColor.rgbGreen][alpha];
    pixel->rgbRed = premultiplied[AColor.rgbRed][alpha];
    pixel->rgbReserved = alpha;
  }
}

// ---------------------------------------------------------------------------
// Rotated text

void DrawRotatedTextLines(HDC DC, const TRect& R, const String& AText, TFont* AFont, int AVertAlign, int AHorzAlign,
                          bool AWordWrap, bool AAlignStartWhenLong, bool AAlignEndWhenLong, int ADirection,
                          int APointSize) {
  if (AText.empty() || !AFont) return;
  TRect work = R;
  work.Inflate(-2, -2);
  const int room = work.Height();
  const bool clockwise = ADirection == 0;

  LOGFONTW logFont = AFont->LogFont();
  logFont.lfEscapement = clockwise ? -900 : 900;
  logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  if (APointSize != 0) logFont.lfHeight = -MulDiv(APointSize, GetDeviceCaps(DC, LOGPIXELSY), 72);
  const TOwnedFont font(CreateFontIndirectW(&logFont));
  const TSelectObject selected(DC, font.Get());
  const int backgroundMode = SetBkMode(DC, TRANSPARENT);
  const UINT textAlign = SetTextAlign(DC, clockwise ? TA_BOTTOM : TA_TOP);
  TScopeExit restore([&] {
    SetTextAlign(DC, textAlign);
    SetBkMode(DC, backgroundMode);
  });

  const std::vector<String> lines = RotatedTextLines(DC, AText, AWordWrap, room);
  SIZE lineSize{};
  GetTextExtentPoint32W(DC, L"Zq", 2, &lineSize);
  const int step = lineSize.cy;
  const int n = static_cast<int>(lines.size());
  int x;
  if (clockwise) {
    x = AHorzAlign == 0 ? work.Right - step
        : AHorzAlign == 1 ? (work.Left + work.Right + step * (n - 2)) / 2
                          : work.Left + step * (n - 1);
    x = std::min(x, work.Right - step);
  } else {
    x = AHorzAlign == 2 ? work.Right - n * step
        : AHorzAlign == 1 ? (work.Left + work.Right - n * step) / 2
                          : work.Left;
    x = std::max(x, work.Left);
  }
  for (const String& line : lines) {
    if (x < work.Left || x > work.Right) break;
    SIZE size{};
    GetTextExtentPoint32W(DC, line.c_str(), static_cast<int>(line.size()), &size);
    const int w = size.cx;
    const int start = clockwise ? work.Top : work.Bottom;
    const int end = clockwise ? work.Bottom - w : work.Top + w;
    int y = AVertAlign == 0 ? start
            : AVertAlign == 2 ? end
                              : (work.Top + work.Bottom + (clockwise ? -w : w)) / 2;
    if (w > room) {
      if (AAlignEndWhenLong)
        y = end;
      else if (AAlignStartWhenLong)
        y = start;
    }
    ExtTextOutW(DC, x, y, 0, nullptr, line.c_str(), static_cast<UINT>(line.size()), nullptr);
    x += clockwise ? -step : step;
  }
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxDrawTextUtilsInitialization() {
  if (DrawTextUtilsStarts++ > 0) return;
  PatternBrushes[0] = CreateMonochromePatternBrush(0x55, 0xAA);
  PatternBrushes[1] = CreateMonochromePatternBrush(0x00, 0x00);
}

void cxDrawTextUtilsFinalization() {
  if (DrawTextUtilsStarts == 0 || --DrawTextUtilsStarts > 0) return;
  for (TOwnedBrush& brush : PatternBrushes) brush.Reset();
}
