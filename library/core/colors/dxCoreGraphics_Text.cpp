// Text measurement helpers of the colour unit: the measuring canvas and
// scratch font, extents and DrawText rectangles, the line-fitting search,
// character placement, clip-region saving and the cursor loader.
#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/colors/dxCoreGraphics_Internal.h"

#include <algorithm>

namespace {

TdxTextMeasurer::TMeasureCanvas* GMeasureCanvas = nullptr;
// Measures with a size or style that the caller's font does not have.
TFont* GScratchFont = nullptr;

// The canvas with AFont selected; nil outside the unit's lifetime.
TdxTextMeasurer::TMeasureCanvas* CanvasWithFont(TFont* AFont) {
  if (GMeasureCanvas) GMeasureCanvas->SetFont(AFont);
  return GMeasureCanvas;
}

TEXTMETRICW MetricsOf(HDC DC) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(DC, &metrics);
  return metrics;
}

// The scratch font as a copy of AFont, or AFont itself while there is no
// scratch font.
TFont* ScratchCopyOf(TFont* AFont) {
  if (!GScratchFont) return AFont;
  GScratchFont->Assign(AFont);
  return GScratchFont;
}

int TextLength(const String& AText) { return static_cast<int>(AText.size()); }

}  // namespace

// ---------------------------------------------------------------------------
// The measuring canvas

void TdxTextMeasurer::TMeasureCanvas::Destroy() {
  // Detached first: the canvas gives the context back its own objects.
  SetHandle(nullptr);
  FDeviceContext.Reset();
  inherited::Destroy();
}

void TdxTextMeasurer::TMeasureCanvas::SetFont(TFont* AFont) {
  inherited::SetFont(AFont);
  RequiredState({csHandleValid, csFontValid});
}

void TdxTextMeasurer::TMeasureCanvas::CreateHandle() {
  if (!FDeviceContext) FDeviceContext.Reset(CreateCompatibleDC(nullptr));
  SetHandle(FDeviceContext.Get());
}

TdxTextMeasurer::TMeasureCanvas* SharedTextMeasureCanvas() { return GMeasureCanvas; }

void dxTextMeasurerInitialization() {
  GMeasureCanvas = New<TdxTextMeasurer::TMeasureCanvas>();
  GScratchFont = New<TFont>();
}

void dxTextMeasurerFinalization() {
  FreeAndNil(GScratchFont);
  FreeAndNil(GMeasureCanvas);
}

// ---------------------------------------------------------------------------
// Heights and extents

int GetDCTextHeight(HDC DC) { return MetricsOf(DC).tmHeight; }

int GetFontHeight(TFont* AFont) {
  TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(AFont);
  return canvas ? MetricsOf(canvas->Handle()).tmHeight : 0;
}

bool GetTextMetricsForFont(TFont* AFont, TEXTMETRICW& AMetrics) {
  TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(AFont);
  return canvas && GetTextMetricsW(canvas->Handle(), &AMetrics) != FALSE;
}

void MeasureTextWithFont(TFont* AFont, const String& AText, int APointSize, TSize& ASize) {
  ASize = TSize();
  if (AText.empty()) return;
  TFont* font = AFont;
  if (APointSize != 0 && APointSize != AFont->Size()) {
    font = ScratchCopyOf(AFont);
    font->SetSize(APointSize);
  }
  if (TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(font)) ASize = canvas->TextExtent(AText);
}

int GetTextWidthWithFont(TFont* AFont, const String& AText, int APointSize) {
  TSize size;
  MeasureTextWithFont(AFont, AText, APointSize, size);
  return size.cx;
}

int GetTextWidthWithFontStyle(TFont* AFont, const String& AText, TFontStyles AStyle) {
  if (AText.empty()) return 0;
  TFont* font = AFont;
  if (!(AStyle == AFont->Style())) {
    font = ScratchCopyOf(AFont);
    font->SetStyle(AStyle);
  }
  TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(font);
  return canvas ? canvas->TextExtent(AText).cx : 0;
}

void CalcTextRect(HDC DC, const String& AText, TRect& AR, UINT AFlags) {
  RECT r = AR;
  DrawTextW(DC, AText.c_str(), TextLength(AText), &r, AFlags | DT_CALCRECT);
  AR = r;
}

void CalcTextRectWithFont(TRect& AR, const String& AText, TFont* AFont, UINT AFlags) {
  if (TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(AFont)) CalcTextRect(canvas->Handle(), AText, AR, AFlags);
}

TSize MeasureTextRect(TFont* AFont, const String& AText, UINT AFlags) {
  TRect r;
  CalcTextRectWithFont(r, AText, AFont, AFlags);
  return TSize(r.Width(), r.Height());
}

int GetTextHeightInWidth(TFont* AFont, const String& AText, int AWidth, int AHeight, UINT AFlags) {
  if (AText.empty()) return 0;
  TdxTextMeasurer::TMeasureCanvas* canvas = CanvasWithFont(AFont);
  if (!canvas) return 0;
  RECT r{0, 0, AWidth, AHeight};
  return DrawTextW(canvas->Handle(), AText.c_str(), TextLength(AText), &r, AFlags & ~static_cast<UINT>(DT_VCENTER));
}

// ---------------------------------------------------------------------------
// Line fitting

void FitTextToLines(HDC DC, const String& AText, int ALineCount, TdxTextRectMeasureProc AMeasure,
                    UINT ASingleLineFlags, UINT AWrappedFlags, bool ASetBottom, TRect& AResult) {
  const auto measure = [&](int AWidth, UINT AFlags) {
    TRect r(0, 0, AWidth, 1);
    AMeasure(DC, AText, r, AFlags);
    return r;
  };
  constexpr int OneLineWidth = 65535;
  AResult = TRect();
  if (ALineCount == 1) {
    AResult = measure(OneLineWidth, ASingleLineFlags);
    return;
  }
  const int limit = ALineCount > 0 ? ALineCount * GetDCTextHeight(DC) : 32000;
  // From the widest piece that cannot be broken to the width of one line.
  int lo = measure(1, AWrappedFlags).Right;
  int hi = measure(OneLineWidth, ASingleLineFlags).Right;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (measure(mid, AWrappedFlags).Height() > limit)
      lo = mid;
    else
      hi = mid;
  }
  AResult = measure(lo, AWrappedFlags);
  if (AResult.Height() > limit) AResult = measure(hi, AWrappedFlags);
  if (ASetBottom) AResult.Bottom = limit;
}

// ---------------------------------------------------------------------------
// Character placement

std::vector<TRect> GetCharacterRects(HDC DC, const String& AText, int ACount, const TRect& AR, HFONT AFont,
                                     bool ARightToLeft) {
  std::vector<TRect> result;
  const int count = std::min(ACount, TextLength(AText));
  if (count <= 0) return result;
  const TSelectObject font(DC, AFont);

  int size = count;
  std::vector<int> advances;
  std::vector<UINT> order;
  GCP_RESULTSW placement{};
  const DWORD flags = GCP_USEKERNING | GCP_LIGATE | (ARightToLeft ? GCP_REORDER : 0);
  bool placed = false;
  // A text whose glyphs outnumber its characters needs longer arrays.
  for (int attempt = 0; attempt < 4 && !placed; ++attempt) {
    if (attempt > 0) size += std::max(1, size / 2);
    advances.assign(static_cast<std::size_t>(size), 0);
    order.assign(ARightToLeft ? static_cast<std::size_t>(size) : 0, 0);
    placement = GCP_RESULTSW{};
    placement.lStructSize = sizeof(placement);
    placement.nGlyphs = static_cast<UINT>(size);
    placement.lpDx = advances.data();
    placement.lpOrder = ARightToLeft ? order.data() : nullptr;
    placed = GetCharacterPlacementW(DC, AText.c_str(), count, 0, &placement, flags) != 0;
  }
  if (!placed) return result;

  std::vector<TRect> rects;
  rects.reserve(static_cast<std::size_t>(count));
  int x = AR.Left;
  for (int i = 0; i < count; ++i) {
    const int advance = advances[static_cast<std::size_t>(i)];
    rects.emplace_back(x, AR.Top, x + advance, AR.Bottom);
    x += advance;
  }
  if (!ARightToLeft) return rects;
  result.reserve(rects.size());
  for (int j = 0; j < count; ++j) {
    const UINT index = order[static_cast<std::size_t>(j)];
    result.push_back(index < rects.size() ? rects[index] : rects[static_cast<std::size_t>(j)]);
  }
  return result;
}

TOwnedRegion CreateTextRegion(HDC DC, const String& AText, int ACount, bool ARightToLeft, HFONT AFont, int ALength,
                              int AStart, const TRect& AR) {
  TOwnedRegion result;
  if (ALength <= 0 || ACount < AStart) return result;
  const std::vector<TRect> rects = GetCharacterRects(DC, AText, ACount, AR, AFont, ARightToLeft);
  const int first = std::max(AStart, 0);
  const int last = std::min({static_cast<long long>(ACount), static_cast<long long>(AStart) + ALength,
                             static_cast<long long>(rects.size())}) - 1;
  for (int i = first; i <= last; ++i) {
    const TRect& r = rects[static_cast<std::size_t>(i)];
    if (r.Width() <= 0) continue;
    if (!result) {
      result.Reset(CreateRectRgnIndirect(r.WinRect()));
    } else {
      const TOwnedRegion part(CreateRectRgnIndirect(r.WinRect()));
      CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
  }
  return result;
}

// ---------------------------------------------------------------------------
// Clip regions and cursors

TOwnedRegion SaveClipRegion(HDC DC) {
  TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  if (GetClipRgn(DC, region.Get()) != 1) region.Reset();
  return region;
}

void RestoreClipRegion(HDC DC, TOwnedRegion ARegion) { SelectClipRgn(DC, ARegion.Get()); }

HCURSOR LoadCursorFromResource(HINSTANCE AInstance, const wchar_t* AName) {
  if (IsWin8OrLater && AInstance)
    return static_cast<HCURSOR>(LoadImageW(AInstance, AName, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
  return LoadCursorW(AInstance, AName);
}
