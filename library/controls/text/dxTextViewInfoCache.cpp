#include "library/controls/text/dxTextViewInfoCache.h"

#include "library/core/containers/dxHashUtils.h"

#include <algorithm>

namespace {

constexpr DWORD PlacementFlags = GCP_LIGATE | GCP_USEKERNING;
constexpr int PlacementRetries = 3;

// Nothing has written a count of this value.
constexpr int UnwrittenMaxFit = -7;

}  // namespace

// ---------------------------------------------------------------------------
// TdxTextViewInfoCache

void TdxTextViewInfoCache::Create() {
  inherited::Create();
  FTable.resize(TableSize);
}

void TdxTextViewInfoCache::Destroy() {
  Clear();
  inherited::Destroy();
}

std::uint32_t TdxTextViewInfoCache::CalcHash(const String& AText, const TdxFontInfo* AFontInfo) {
  const auto identity = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(AFontInfo) / 8);
  return MurmurHash2TextNoSeed(AText) ^ (identity * 33);
}

TdxTextViewInfo* TdxTextViewInfoCache::TryGetTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo) const {
  const std::uint32_t hash = CalcHash(AText, AFontInfo);
  for (const TItem* item = FTable[hash % TableSize].get(); item; item = item->Next.get())
    if (item->Hash == hash && item->FontInfo == AFontInfo && item->Text == AText) return item->TextViewInfo.get();
  return nullptr;
}

void TdxTextViewInfoCache::AddTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo,
                                           TdxTextViewInfo* ATextInfo) {
  auto item = std::make_unique<TItem>();
  item->Hash = CalcHash(AText, AFontInfo);
  item->Text = AText;
  item->FontInfo = AFontInfo;
  item->TextViewInfo.reset(ATextInfo);
  std::unique_ptr<TItem>* link = &FTable[item->Hash % TableSize];
  while (*link) link = &(*link)->Next;
  *link = std::move(item);
  ++FCount;
}

void TdxTextViewInfoCache::Clear() {
  // Chain by chain, one item at a time: no recursion down a long chain.
  for (std::unique_ptr<TItem>& head : FTable)
    while (head) head = std::move(head->Next);
  FCount = 0;
}

// ---------------------------------------------------------------------------
// TdxCustomBoxMeasurer

void TdxCustomBoxMeasurer::Create() {
  inherited::Create();
  FCaretPosBuffer.resize(64);
  FTextViewInfoCache.reset(New<TdxTextViewInfoCache>());
}

void TdxCustomBoxMeasurer::Destroy() {
  FTextViewInfoCache.reset();
  inherited::Destroy();
}

int* TdxCustomBoxMeasurer::GetCaretPosBuffer(int AItemsCount) {
  if (static_cast<std::size_t>(AItemsCount) > FCaretPosBuffer.size())
    FCaretPosBuffer.resize(static_cast<std::size_t>(AItemsCount));
  return FCaretPosBuffer.data();
}

TdxTextViewInfo* TdxCustomBoxMeasurer::CalculateTextViewInfo(HDC ADC, const String& AText,
                                                             const TdxFontInfo* AFontInfo) {
  TOwned<TdxTextViewInfo> info(New<TdxTextViewInfo>());
  const int n = static_cast<int>(AText.size());
  const bool ownGlyphs = AFontInfo->UseGetGlyphIndices();
  GCP_RESULTSW results{};
  DWORD placement = 0;
  // A failed placement is tried again with room for more glyphs (a ligature
  // may need more than one per character).
  for (int attempt = 0, extra = 0; attempt <= PlacementRetries; ++attempt, extra += (n + 1) / 2) {
    const int room = n + extra;
    info->FCharacterWidths.assign(static_cast<std::size_t>(room), 0);
    if (!ownGlyphs) info->FGlyphs.assign(static_cast<std::size_t>(room), 0);
    results = GCP_RESULTSW{};
    results.lStructSize = sizeof results;
    results.lpDx = info->FCharacterWidths.data();
    results.lpCaretPos = GetCaretPosBuffer(room);
    results.lpGlyphs = ownGlyphs ? nullptr : reinterpret_cast<LPWSTR>(info->FGlyphs.data());
    results.nGlyphs = static_cast<UINT>(room);
    placement = GetCharacterPlacementW(ADC, AText.c_str(), n, 0, &results, PlacementFlags);
    if (placement != 0 || n == 0) break;
  }
  info->FSize = TSize(LOWORD(placement), HIWORD(placement));
  if (n > 0 && placement != 0) {
    const int* carets = results.lpCaretPos;
    if (carets[n - 1] > 65535) info->FSize.cx = carets[n - 1] + info->FCharacterWidths[static_cast<std::size_t>(n - 1)];
  }
  if (ownGlyphs) {
    info->FGlyphs.assign(static_cast<std::size_t>(n), 0);
    GetGlyphIndicesW(ADC, AText.c_str(), n, info->FGlyphs.data(), 0);
    info->FGlyphCount = n;
  } else {
    info->FGlyphCount = placement != 0 ? static_cast<int>(results.nGlyphs) : n;
  }
  return info.release();
}

TdxTextViewInfo* TdxCustomBoxMeasurer::GetTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo) {
  TdxTextViewInfo* info = FTextViewInfoCache->TryGetTextViewInfo(AText, AFontInfo);
  if (!info) {
    info = ADC ? CreateTextViewInfo(ADC, AText, AFontInfo) : CreateTextViewInfo(AText, AFontInfo);
    FTextViewInfoCache->AddTextViewInfo(AText, AFontInfo, info);
  }
  return info;
}

TSize TdxCustomBoxMeasurer::MeasureText(const String& AText, const TdxFontInfo* AFontInfo) {
  return GetTextViewInfo(nullptr, AText, AFontInfo)->Size();
}

TSize TdxCustomBoxMeasurer::MeasureText(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo) {
  return GetTextViewInfo(ADC, AText, AFontInfo)->Size();
}

std::vector<TRect> TdxCustomBoxMeasurer::MeasureCharactersBounds(HDC ADC, const String& AText,
                                                                 const TdxFontInfo* AFontInfo, const TRect& ABounds) {
  const int n = static_cast<int>(AText.size());
  if (n == 0) return {};
  const TSelectObject selected(ADC, AFontInfo->GdiFontHandle());
  int* carets = nullptr;
  for (int attempt = 0, extra = 0; attempt <= PlacementRetries; ++attempt, extra += (n + 1) / 2) {
    GCP_RESULTSW results{};
    results.lStructSize = sizeof results;
    carets = GetCaretPosBuffer(n + extra);
    std::fill_n(carets, n + extra, 0);
    results.lpCaretPos = carets;
    results.nGlyphs = static_cast<UINT>(n + extra);
    if (GetCharacterPlacementW(ADC, AText.c_str(), n, 0, &results, PlacementFlags) != 0) break;
  }
  std::vector<TRect> result(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int right = i + 1 < n ? ABounds.Left + carets[i + 1] : ABounds.Right;
    result[static_cast<std::size_t>(i)] = TRect(ABounds.Left + carets[i], ABounds.Top, right, ABounds.Bottom);
  }
  // Characters drawn as one glyph share its width: each run of empty
  // rectangles with the first non-empty one after it.
  for (int i = 0; i < n;) {
    if (result[static_cast<std::size_t>(i)].Width() != 0) {
      ++i;
      continue;
    }
    int last = i;
    while (last + 1 < n && result[static_cast<std::size_t>(last)].Width() == 0) ++last;
    TRect shared = result[static_cast<std::size_t>(i)];
    shared.Right = result[static_cast<std::size_t>(last)].Right;
    const std::vector<TRect> columns = shared.SplitHorizontally(last - i + 1);
    std::copy(columns.begin(), columns.end(), result.begin() + i);
    i = last + 1;
  }
  return result;
}

int TdxCustomBoxMeasurer::FindLengthToFit(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo, int AMaxWidth,
                                          bool ARestoreFont) {
  const int n = static_cast<int>(AText.size());
  const HGDIOBJ previous = SelectObject(ADC, AFontInfo->GdiFontHandle());
  std::vector<int> widths(static_cast<std::size_t>(n));
  GCP_RESULTSW results{};
  results.lStructSize = sizeof results;
  results.lpDx = widths.data();
  results.nGlyphs = static_cast<UINT>(n);
  results.nMaxFit = UnwrittenMaxFit;
  const DWORD placement = GetCharacterPlacementW(ADC, AText.c_str(), n, AMaxWidth, &results,
                                                 GCP_MAXEXTENT | PlacementFlags);
  int fit = results.nMaxFit;
  // Wine ignores the maximum extent and leaves the count unwritten: the
  // characters whose advances add up to at most the extent fit.
  if (fit == UnwrittenMaxFit) {
    fit = 0;
    if (placement != 0)
      for (int total = 0; fit < n && total + widths[static_cast<std::size_t>(fit)] <= AMaxWidth; ++fit)
        total += widths[static_cast<std::size_t>(fit)];
  }
  if (ARestoreFont) SelectObject(ADC, previous);
  return fit;
}
