#include "library/graphics/cxDrawTextUtils.h"

#include "library/core/cxGeometry.h"

#include <algorithm>

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
