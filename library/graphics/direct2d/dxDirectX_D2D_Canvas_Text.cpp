// Text on the Direct2D canvas: DirectWrite text formats as font handles and
// DirectWrite layouts that take the library's text flags.
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const wchar_t* const D2DTextDifferentCanvasText = L"Resource was created for different Canvas";
const wchar_t* const CannotCreateTextLayoutText = L"Cannot create TextLayout handle because %s is not set.";

// The largest layout box DirectWrite is given.
constexpr float MaxLayoutExtent = 65535;

TOwned<TdxDirect2DCanvasBasedSharedFonts> SharedFonts;

std::vector<DWRITE_LINE_METRICS> LineMetricsOf(IDWriteTextLayout* ALayout) {
  UINT32 count = 0;
  ALayout->GetLineMetrics(nullptr, 0, &count);
  std::vector<DWRITE_LINE_METRICS> lines(count);
  if (count > 0) dxCheckDirectXResult(ALayout->GetLineMetrics(lines.data(), count, &count));
  lines.resize(std::min<std::size_t>(count, lines.size()));
  return lines;
}

}  // namespace

// ---------------------------------------------------------------------------
// Fonts

void TdxDirect2DCanvasBasedFontHandle::CreateNativeHandle(TcxCustomCanvas*) {
  IDWriteFactory* factory = dxDWriteFactory();
  if (!factory) return;
  // A positive height (the cell's) is taken as the character height too.
  const float size = static_cast<float>(std::abs(FHeight));
  if (FAILED(factory->CreateTextFormat(FName.c_str(), nullptr,
                                       FStyle.Contains(fsBold) ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL,
                                       FStyle.Contains(fsItalic) ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL,
                                       DWRITE_FONT_STRETCH_NORMAL, size, L"en-us", FNativeHandle.Receive())))
    FNativeHandle.Reset();
}

void TdxDirect2DCanvasBasedFontHandle::FreeNativeHandle() {
  FEndEllipsisSign.Reset();
  FNativeHandle.Reset();
}

IDWriteInlineObject* TdxDirect2DCanvasBasedFontHandle::EndEllipsisSign() {
  if (!FEndEllipsisSign && FNativeHandle)
    if (IDWriteFactory* factory = dxDWriteFactory())
      dxCheckDirectXResult(factory->CreateEllipsisTrimmingSign(FNativeHandle.Get(), FEndEllipsisSign.Receive()));
  return FEndEllipsisSign.Get();
}

TdxDirect2DCanvasBasedSharedFonts* TdxDirect2DCanvasBasedSharedFonts::Instance() {
  if (!SharedFonts)
    SharedFonts.reset(New<TdxDirect2DCanvasBasedSharedFonts>(static_cast<TcxCustomCanvas*>(nullptr),
                                                             TdxDirect2DCanvasBasedFontHandle::ClassInfo()));
  return SharedFonts.get();
}

void TdxDirect2DCanvasBasedSharedFonts::Finalize() { SharedFonts.reset(); }

// ---------------------------------------------------------------------------
// TdxDirect2DCanvasBasedTextLayout

void TdxDirect2DCanvasBasedTextLayout::Create(TcxCustomCanvas* ACanvas) {
  inherited::Create(ACanvas);
  FColor = 0xFF000000;
  FMinWidth = -1;
}

void TdxDirect2DCanvasBasedTextLayout::Release() {
  FHandle.Reset();
  inherited::Release();
}

TdxCustomDirect2DCanvas* TdxDirect2DCanvasBasedTextLayout::Canvas() const {
  return static_cast<TdxCustomDirect2DCanvas*>(FCanvas);
}

TdxDirect2DCanvasBasedFontHandle* TdxDirect2DCanvasBasedTextLayout::Font() const {
  return static_cast<TdxDirect2DCanvasBasedFontHandle*>(FFontHandle);
}

void TdxDirect2DCanvasBasedTextLayout::SetFontHandle(TcxCanvasBasedFontHandle* AHandle) {
  if (AHandle && !AHandle->InheritsFrom(TdxDirect2DCanvasBasedFontHandle::ClassInfo()))
    throw EInvalidArgument(String(D2DTextDifferentCanvasText));
  inherited::SetFontHandle(AHandle);
}

void TdxDirect2DCanvasBasedTextLayout::FontChanged() {
  FHandle.Reset();
  inherited::FontChanged();
}

void TdxDirect2DCanvasBasedTextLayout::TextChanged() {
  FHandle.Reset();
  inherited::TextChanged();
}

IDWriteTextLayout* TdxDirect2DCanvasBasedTextLayout::Handle() {
  if (FHandle) return FHandle.Get();
  if (!FCanvas) throw EdxDirectXInvalidStateException(CannotCreateTextLayoutText, {String(L"Canvas")});
  if (!Font() || !Font()->NativeHandle())
    throw EdxDirectXInvalidStateException(CannotCreateTextLayoutText, {String(L"Font")});
  FMinWidth = -1;
  IDWriteFactory* factory = dxDWriteFactory();
  const HRESULT result = factory ? factory->CreateTextLayout(FText.c_str(), static_cast<UINT32>(FText.size()),
                                                             Font()->NativeHandle(), 0, 0, FHandle.Receive())
                                 : E_NOTIMPL;
  if (!FHandle) throw EdxDirectXError(result);
  const DWRITE_TEXT_RANGE whole{0, static_cast<UINT32>(FText.size())};
  if (Font()->Style().Contains(fsUnderline)) FHandle->SetUnderline(TRUE, whole);
  if (Font()->Style().Contains(fsStrikeOut)) FHandle->SetStrikethrough(TRUE, whole);
  FlagsChanged();
  return FHandle.Get();
}

void TdxDirect2DCanvasBasedTextLayout::FlagsChanged() {
  FHasEndEllipsis = FFlags & cxtoEndEllipsis;
  if (!FHandle) return;
  const bool rightToLeft = FFlags & cxtoRTLReading;
  FHandle->SetReadingDirection(rightToLeft ? DWRITE_READING_DIRECTION_RIGHT_TO_LEFT
                                           : DWRITE_READING_DIRECTION_LEFT_TO_RIGHT);
  // Leading and trailing follow the reading direction: right alignment of
  // right-to-left text is its leading side.
  const bool right = (FFlags & cxtoAlignXMask) == cxtoRight;
  FHandle->SetTextAlignment((FFlags & cxtoAlignXMask) == cxtoCenterX ? DWRITE_TEXT_ALIGNMENT_CENTER
                            : right != rightToLeft                   ? DWRITE_TEXT_ALIGNMENT_TRAILING
                                                                     : DWRITE_TEXT_ALIGNMENT_LEADING);
  FHandle->SetWordWrapping(FFlags & cxtoWordBreak ? DWRITE_WORD_WRAPPING_WRAP : DWRITE_WORD_WRAPPING_NO_WRAP);
  const DWRITE_TRIMMING trimming{FHasEndEllipsis ? DWRITE_TRIMMING_GRANULARITY_CHARACTER
                                                 : DWRITE_TRIMMING_GRANULARITY_NONE,
                                 0, 0};
  FHandle->SetTrimming(&trimming, FHasEndEllipsis ? Font()->EndEllipsisSign() : nullptr);
}

float TdxDirect2DCanvasBasedTextLayout::MinWidth() {
  if (FMinWidth < 0) dxCheckDirectXResult(Handle()->DetermineMinWidth(&FMinWidth));
  return FMinWidth;
}

float TdxDirect2DCanvasBasedTextLayout::FitToRowCount(int ARowCount) {
  IDWriteTextLayout* layout = Handle();
  DWRITE_TEXT_METRICS metrics{};
  layout->SetMaxHeight(0);
  layout->SetMaxWidth(MaxLayoutExtent);
  dxCheckDirectXResult(layout->GetMetrics(&metrics));
  const float width = metrics.widthIncludingTrailingWhitespace;
  float low = width / static_cast<float>(FText.size() + 1);
  float high = width;
  float answer = MaxLayoutExtent;
  // Each step moves a bound by at least one pixel: the search ends within
  // the width's bits.
  while (low <= high) {
    const float middle = (low + high) / 2;
    layout->SetMaxWidth(middle);
    dxCheckDirectXResult(layout->GetMetrics(&metrics));
    if (metrics.lineCount > static_cast<UINT32>(ARowCount)) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (metrics.lineCount == static_cast<UINT32>(ARowCount)) {
        if (middle > answer) break;
        answer = middle;
      }
    }
  }
  return answer;
}

void TdxDirect2DCanvasBasedTextLayout::CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) {
  IDWriteTextLayout* layout = Handle();
  if (FText.empty()) {
    FTextSize = TSize();
    FTextTruncated = false;
    FRowCount = 0;
    return;
  }
  if (AMaxWidth != 0 || AMaxRowCount < 2) {
    float width = AMaxWidth <= 0 ? MaxLayoutExtent : std::min(static_cast<float>(AMaxWidth), MaxLayoutExtent);
    if (AMaxWidth > 0 && !(FFlags & (cxtoEndEllipsis | cxtoCharBreak))) width = std::max(width, MinWidth());
    layout->SetMaxWidth(width);
    float height = 1;
    if (AMaxHeight > 0) {
      height = std::min(static_cast<float>(AMaxHeight), MaxLayoutExtent);
    } else if (AMaxRowCount > 0) {
      const std::vector<DWRITE_LINE_METRICS> lines = LineMetricsOf(layout);
      height = lines.empty() ? 1 : std::ceil(AMaxRowCount * lines[0].height);
    }
    layout->SetMaxHeight(height);
  } else {
    layout->SetMaxWidth(FitToRowCount(AMaxRowCount));
  }

  DWRITE_TEXT_METRICS metrics{};
  dxCheckDirectXResult(layout->GetMetrics(&metrics));
  int rows = static_cast<int>(metrics.lineCount);
  float rowHeight = metrics.height / static_cast<float>(std::max<UINT32>(metrics.lineCount, 1));
  bool truncated = false;
  if (FHasEndEllipsis) {
    const std::vector<DWRITE_LINE_METRICS> lines = LineMetricsOf(layout);
    rowHeight = lines.empty() ? 0 : lines[0].height;
    rows = 0;
    while (rows < static_cast<int>(lines.size()) && lines[static_cast<std::size_t>(rows)].height > 0) {
      truncated = truncated || lines[static_cast<std::size_t>(rows)].isTrimmed;
      ++rows;
    }
  }
  if (AMaxRowCount > 0) rows = std::min(rows, AMaxRowCount);
  if (AMaxHeight > 0 && rowHeight > 0) {
    const float fitting = static_cast<float>(AMaxHeight) / rowHeight;
    rows = std::min(rows, static_cast<int>((FFlags & cxtoEditControl) ? std::floor(fitting) : std::ceil(fitting)));
  }
  FTextTruncated = truncated;
  FTextSize = TSize(static_cast<int>(std::ceil(metrics.widthIncludingTrailingWhitespace)),
                    static_cast<int>(std::ceil(rows * rowHeight)));
  FRowCount = rows;
  layout->SetMaxWidth(static_cast<float>(FTextSize.cx));
  layout->SetMaxHeight(static_cast<float>(FTextSize.cy));
}

void TdxDirect2DCanvasBasedTextLayout::DrawCore(const TRect& R) {
  if (TdxCustomDirect2DCanvas* canvas = Canvas())
    canvas->DrawTextLayout(Handle(), static_cast<float>(R.Left), static_cast<float>(R.Top), FColor);
}
