// The layout of formatted text: boxes, rows, the layout and its builder.
//
// Rows are filled left to right with separator boxes (spaces, tabs, line
// breaks) and words; a row may be broken after its last separator (the
// break opportunity). With an end ellipsis the last visible row is laid out
// again with room for "..." once the text is known not to fit.
#include "library/controls/text/dxFormattedText_Internal.h"

#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

TOwned<TdxFormattedTextLayoutBuilder> GBuilder;
bool GBuilderFreed = false;

const wchar_t* const EllipsisText = L"...";
constexpr int DesignTabWidth = 48;

bool IsSeparatorKind(TdxFormattedTextBoxKind AKind) {
  return AKind == TdxFormattedTextBoxKind::Space || AKind == TdxFormattedTextBoxKind::Tab ||
         AKind == TdxFormattedTextBoxKind::LineBreak;
}

bool IsSpaceKind(TdxFormattedTextBoxKind AKind) {
  return AKind == TdxFormattedTextBoxKind::Space || AKind == TdxFormattedTextBoxKind::Tab;
}

int SnapDown(int AValue, int AStep) { return AStep > 0 ? AValue / AStep * AStep : AValue; }

}  // namespace

// ---------------------------------------------------------------------------
// Boxes

TSize TdxFormattedTextTextLayoutBox::GetSize() const {
  return TSize(FTextViewInfo ? FTextViewInfo->Size().cx : 0, FFontInfo->LineSpacing());
}

TSize TdxFormattedTextSpaceLayoutBox::GetSize() const {
  return TSize(FFontInfo->SpaceWidth() * FCount, FFontInfo->LineSpacing());
}

TSize TdxFormattedTextTabLayoutBox::GetSize() const { return TSize(FTabWidth * FCount, FFontInfo->LineSpacing()); }

TSize TdxFormattedCRLayoutBox::GetSize() const { return TSize(0, FFontInfo->LineSpacing()); }

TSize TdxFormattedEmptyLayoutBox::GetSize() const { return TSize(0, FFontInfo->LineSpacing()); }

// ---------------------------------------------------------------------------
// TdxFormattedTextLayoutRow

TdxFormattedTextLayoutBox* TdxFormattedTextLayoutRow::Add(TdxFormattedTextLayoutBox* ABox) {
  FBoxes.emplace_back(ABox);
  return ABox;
}

TdxFormattedTextLayoutBox* TdxFormattedTextLayoutRow::Extract(int AIndex) {
  TdxFormattedTextLayoutBox* box = FBoxes.at(static_cast<std::size_t>(AIndex)).release();
  FBoxes.erase(FBoxes.begin() + AIndex);
  return box;
}

void TdxFormattedTextLayoutRow::Delete(int AIndex) { FBoxes.erase(FBoxes.begin() + AIndex); }

TSize TdxFormattedTextLayoutRow::ContentSize(bool AIsLastRow, int ABoxCount) const {
  const int count = ABoxCount < 0 ? Count() : std::min(ABoxCount, Count());
  if (count == 0) return TSize();
  int first = 0;
  while (first < count && IsSeparatorKind(Items(first)->GetKind())) ++first;
  int last = count - 1;
  while (last >= 0 && IsSeparatorKind(Items(last)->GetKind())) --last;
  const bool countTrailing = FMeasureTrailingSpaces && (FTextAlignX == taLeft || AIsLastRow);
  const int end = countTrailing ? count - 1 : std::max(last, first - 1);
  int width = 0;
  int height = 0;
  for (int i = 0; i <= end; ++i) {
    const TdxFormattedTextLayoutBox* box = Items(i);
    const TSize size = box->GetSize();
    width += size.cx;
    if (box->GetKind() == TdxFormattedTextBoxKind::Tab)
      width = SnapDown(width, static_cast<const TdxFormattedTextTabLayoutBox*>(box)->TabWidth());
    if (!IsSeparatorKind(box->GetKind())) height = std::max(height, size.cy);
  }
  // A row of separators only: the height of its last box.
  if (last < 0) height = Items(count - 1)->GetSize().cy;
  return TSize(width, height);
}

void TdxFormattedTextLayoutRow::Calculate(const TRect& ABounds) {
  FBounds = ABounds;
  FAscentAndFree = 0;
  for (const auto& box : FBoxes)
    if (box->GetKind() == TdxFormattedTextBoxKind::Text)
      FAscentAndFree = std::max(FAscentAndFree, box->FontInfo()->AscentAndFree());
  const int contentWidth = ContentSize(false).cx;
  int x = FBounds.Left;
  if (FTextAlignX == taCenterX)
    x += (FBounds.Width() - contentWidth) / 2;
  else if (FTextAlignX == taRight)
    x += FBounds.Width() - contentWidth;
  const int startX = x;

  const bool justify = FTextAlignX == taJustifyX || FTextAlignX == taDistributeX;
  int first = 0;
  int last = 0;
  double factor = 1;
  if (justify && Count() > 0) {
    while (first < Count() && IsSpaceKind(Items(first)->GetKind())) ++first;
    last = Count() - 1;
    while (last > 1 && IsSeparatorKind(Items(last)->GetKind())) --last;
    int spaces = 0;
    for (int i = first; i <= last && i < Count(); ++i)
      if (IsSpaceKind(Items(i)->GetKind())) spaces += Items(i)->GetSize().cx;
    if (spaces > 0) factor = static_cast<double>(FBounds.Width() + spaces - contentWidth) / spaces;
  }
  double carried = 0;
  for (int i = 0; i < Count(); ++i) {
    TdxFormattedTextLayoutBox* box = Items(i);
    TdxFontInfo* font = box->FontInfo();
    const int y = FAscentAndFree == 0 ? FBounds.Top : FBounds.Top + FAscentAndFree - font->AscentAndFree();
    if (box->GetKind() == TdxFormattedTextBoxKind::Tab && FExpandTabs)
      x = startX + SnapDown(x - startX, static_cast<TdxFormattedTextTabLayoutBox*>(box)->TabWidth());
    TSize size = box->GetSize();
    if (justify && factor > 1 && i >= first && i <= last && IsSpaceKind(box->GetKind())) {
      const double wide = factor * size.cx + carried;
      const int width = static_cast<int>(wide);
      carried = wide - width;
      size.cx = width;
    }
    TRect r(x, y, x + size.cx, y + size.cy);
    if (box->CharacterFormattingScript() == TdxCharacterFormattingScript::Subscript)
      r.Offset(font->SubscriptOffset().X, font->SubscriptOffset().Y);
    else if (box->CharacterFormattingScript() == TdxCharacterFormattingScript::Superscript)
      r.Offset(font->SuperscriptOffset().X, font->SuperscriptOffset().Y);
    if (justify && factor > 1 && i == last && first < last) r.Offset(FBounds.Right - r.Right, 0);
    box->Calculate(r);
    x = r.Right;
  }

  // Underlined neighbours share one line: the width-weighted average of
  // their fonts' positions and thicknesses.
  for (int i = 0; i < Count();) {
    TdxFormattedTextLayoutBox* start = Items(i);
    if (!start->Underline() || start->Bounds().Width() <= 0) {
      ++i;
      continue;
    }
    int end = i;
    double position = 0;
    double thickness = 0;
    double width = 0;
    for (int k = i; k < Count(); ++k) {
      TdxFormattedTextLayoutBox* box = Items(k);
      end = k;
      if (!box->Underline()) break;
      const int w = box->Bounds().Width();
      if (w > 0) {
        position += static_cast<double>(w) * box->FontInfo()->UnderlinePosition();
        thickness += static_cast<double>(w) * box->FontInfo()->UnderlineThickness();
        width += w;
      }
    }
    for (int k = i; k <= end; ++k) {
      Items(k)->FUnderlinePosition = static_cast<int>(std::nearbyint(position / width));
      Items(k)->FUnderlineThickness = static_cast<int>(std::nearbyint(thickness / width));
    }
    i = end + 1;
  }
}

// ---------------------------------------------------------------------------
// TdxFormattedTextLayout

void TdxFormattedTextLayout::Create(bool AMeasureTrailingSpaces) {
  inherited::Create();
  FMeasureTrailingSpaces = AMeasureTrailingSpaces;
}

void TdxFormattedTextLayout::Clear() {
  FRows.clear();
  FHyperlinks.clear();
}

TSize TdxFormattedTextLayout::TextSize() const {
  TSize result;
  for (int i = 0; i < Count(); ++i) {
    const TSize size = Items(i)->ContentSize(i == Count() - 1);
    result.cx = std::max(result.cx, size.cx);
    result.cy += size.cy;
  }
  return result;
}

TdxFormattedTextLayoutBox* TdxFormattedTextLayout::HitTest(const TPoint& APoint) const {
  if (!FBounds.Contains(APoint)) return nullptr;
  for (const auto& row : FRows) {
    if (!row->Bounds().Contains(APoint)) continue;
    for (int i = 0; i < row->Count(); ++i)
      if (row->Items(i)->Bounds().Contains(APoint)) return row->Items(i);
    return nullptr;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// TdxFormattedTextBoxMeasurer

TdxTextViewInfo* TdxFormattedTextBoxMeasurer::CreateTextViewInfo(HDC ADC, const String& AText,
                                                                  const TdxFontInfo* AFontInfo) {
  SelectObject(ADC, AFontInfo->GdiFontHandle());
  return CalculateTextViewInfo(ADC, AText, AFontInfo);
}

TdxTextViewInfo* TdxFormattedTextBoxMeasurer::CreateTextViewInfo(const String& AText, const TdxFontInfo* AFontInfo) {
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const TSelectObject selected(dc.Get(), AFontInfo->GdiFontHandle());
  return CalculateTextViewInfo(dc.Get(), AText, AFontInfo);
}

// ---------------------------------------------------------------------------
// TdxFormattedTextLayoutBuilder

TdxFormattedTextLayoutBuilder* dxFormattedTextLayoutBuilder() {
  if (GBuilderFreed) return nullptr;
  if (!GBuilder) GBuilder.reset(New<TdxFormattedTextLayoutBuilder>());
  return GBuilder.get();
}

void dxFreeFormattedTextLayoutBuilder() {
  GBuilder.reset();
  GBuilderFreed = true;
}

void TdxFormattedTextLayoutBuilder::Create() {
  inherited::Create();
  FMeasurer.reset(New<TdxFormattedTextBoxMeasurer>());
}

void TdxFormattedTextLayoutBuilder::Destroy() {
  FMeasurer.reset();
  inherited::Destroy();
}

void TdxFormattedTextLayoutBuilder::SelectCurrentFont() {
  FCurrentFontInfo = FFontCache->Items(FFontCache->CalcFontIndex(
      FCurrentCharacterProperties.FontName,
      static_cast<int>(std::nearbyint(FInitialData.ZoomFactor * FCurrentCharacterProperties.FontDoubleSize)),
      FCurrentCharacterProperties.FontStyle - TFontStyles{fsUnderline, fsStrikeOut},
      FCurrentCharacterProperties.CharacterFormattingScript));
  SelectObject(FDCHandle, FCurrentFontInfo->GdiFontHandle());
}

void TdxFormattedTextLayoutBuilder::EnterRun(int AIndex, bool AJump) {
  FRunIndex = AIndex;
  FRun = FRuns->Items(AIndex);
  const int length = static_cast<int>(FText->size());
  FTextStart = std::clamp(FRun->TextStart(), 0, length);
  FTextFinish = std::clamp(FRun->TextFinish(), FTextStart, length);
  if (auto* url = dynamic_cast<TdxFormattedTextURLRun*>(FRun)) {
    if (url->Action() == traOpen && FHyperlinkIndex < 0) {
      url->SetColor(FInitialData.HyperlinkColor == clDefault ? clDefault : ColorToRGB(FInitialData.HyperlinkColor));
      TdxFormattedTextHyperlinkData link;
      link.Hyperlink = url->Hyperlink();
      FLayout->FHyperlinks.push_back(link);
      FHyperlinkIndex = static_cast<int>(FLayout->FHyperlinks.size()) - 1;
    } else if (url->Action() == traClose) {
      FHyperlinkIndex = -1;
    }
  }
  if (AJump) {
    FRunStack.Clear();
    for (int i = 0; i <= AIndex; ++i) FRunStack.ProcessRun(FRuns->Items(i));
  } else {
    FRunStack.ProcessRun(FRun);
  }
  FCurrentCharacterProperties = FInitialData.CharacterProperties;
  FRunStack.CalculateStyle(FCurrentCharacterProperties);
  SelectCurrentFont();
}

int TdxFormattedTextLayoutBuilder::TextHeight() const { return FLayout->TextSize().cy; }

int TdxFormattedTextLayoutBuilder::EllipsisWidth() {
  return FMeasurer->MeasureText(FDCHandle, EllipsisText, FCurrentFontInfo).cx;
}

int TdxFormattedTextLayoutBuilder::AvailableWidth() {
  int result = FLayout->FBounds.Width();
  if (FIsEndEllipsisRow) result -= EllipsisWidth();
  if (FTextParams.NoClip) result = std::max(result, FLayout->TextSize().cx);
  return result;
}

void TdxFormattedTextLayoutBuilder::RememberRowStart() {
  if (FTextStart == FLastRowRollbackInfo.TextPosition && FRunIndex == FLastRowRollbackInfo.RunIndex) return;
  FPreviousRollbackInfo = FLastRowRollbackInfo;
  FLastRowRollbackInfo = {FTextStart, FRunIndex};
}

// Edit-control mode shows whole rows only: a last row that does not fit
// goes. True when a row was dropped.
bool TdxFormattedTextLayoutBuilder::RunEditControlTest() {
  const TcxTextParams& p = FTextParams;
  if (!p.EditControl || FLayout->Count() < 2 || p.NoClip || p.TextAlignX == taJustifyX ||
      p.TextAlignX == taDistributeX || p.TextAlignY != taTop || p.CalcRect || p.CalcRowCount)
    return false;
  if (TextHeight() <= FLayout->FBounds.Height()) return false;
  FLayout->FRows.pop_back();
  FRow = FLayout->FRows.back().get();
  FLastRowRollbackInfo = FPreviousRollbackInfo;
  return true;
}

void TdxFormattedTextLayoutBuilder::StartRow() {
  if (FIsEndEllipsisRow) {
    FIsClippedText = true;
    return;
  }
  const bool dropped = RunEditControlTest();
  FIsClippedText = dropped || (!FTextParams.NoClip && TextHeight() >= FLayout->FBounds.Height()) ||
                   (FTextParams.SingleLine && FLayout->Count() > 0);
  if (FTextParams.TextAlignY == taCenterY || FTextParams.TextAlignY == taBottom) FIsClippedText = false;
  if (FIsClippedText) return;
  auto* row = New<TdxFormattedTextLayoutRow>();
  row->FTextAlignX = FTextParams.TextAlignX;
  row->FTextAlignY = FTextParams.TextAlignY;
  row->FExpandTabs = FTextParams.ExpandTabs;
  row->FMeasureTrailingSpaces = FMeasureTrailingSpaces;
  FLayout->FRows.emplace_back(row);
  FRow = row;
  FRowTextWidth = 0;
}

void TdxFormattedTextLayoutBuilder::AddBox(TdxFormattedTextLayoutBox* ABox) {
  ABox->FFontInfo = FCurrentFontInfo;
  ABox->FFontColor = FCurrentCharacterProperties.FontColor;
  ABox->FBackgroundColor = FCurrentCharacterProperties.BackgroundColor;
  ABox->FCharacterFormattingScript = FCurrentCharacterProperties.CharacterFormattingScript;
  ABox->FUnderline = FCurrentCharacterProperties.FontStyle.Contains(fsUnderline);
  ABox->FStrikeout = FCurrentCharacterProperties.FontStyle.Contains(fsStrikeOut);
  ABox->FUnderlinePosition = FCurrentFontInfo->UnderlinePosition();
  ABox->FUnderlineThickness = FCurrentFontInfo->UnderlineThickness();
  ABox->FHyperlinkIndex = FHyperlinkIndex;
  if (FHyperlinkIndex >= 0) {
    TdxFormattedTextHyperlinkData& link = FLayout->FHyperlinks[static_cast<std::size_t>(FHyperlinkIndex)];
    if (link.BoxCount == 0) {
      link.BeginRowIndex = FLayout->Count() - 1;
      link.BeginBoxIndex = FRow->Count();
    }
    ++link.BoxCount;
  }
  FRow->Add(ABox);
}

TdxFormattedTextTextLayoutBox* TdxFormattedTextLayoutBuilder::NewTextBox(const String& AText) {
  auto* box = New<TdxFormattedTextTextLayoutBox>();
  box->FText = AText;
  // A measurement selects the same font: the context keeps the current one.
  box->FTextViewInfo = FMeasurer->GetTextViewInfo(FDCHandle, AText, FCurrentFontInfo);
  return box;
}

void TdxFormattedTextLayoutBuilder::AddLineBreak() {
  if (FIsEndEllipsisRow) {
    AddBox(NewTextBox(EllipsisText));
    FIsClippedText = true;
    return;
  }
  FRowTextWidth = FRow->Count() ? FRow->ContentSize(false).cx : 0;
  const wchar_t c = (*FText)[static_cast<std::size_t>(FTextStart)];
  ++FTextStart;
  if (FTextStart < FTextFinish) {
    const wchar_t next = (*FText)[static_cast<std::size_t>(FTextStart)];
    if ((c == L'\r' && next == L'\n') || (c == L'\n' && next == L'\r')) ++FTextStart;
  }
  AddBox(New<TdxFormattedCRLayoutBox>());
  if (FRow->FTextAlignX == taJustifyX) FRow->FTextAlignX = taLeft;
  StartRow();
  FAbilityBreakLineBoxIndex = -1;
}

// False when the loop of separators must stop.
bool TdxFormattedTextLayoutBuilder::AddSpaceOrTabBox(bool ATab) {
  const wchar_t c = ATab ? L'\t' : L' ';
  const int start = FTextStart;
  TOwned<TdxFormattedTextSpaceLayoutBox> box(ATab ? New<TdxFormattedTextTabLayoutBox>()
                                                  : New<TdxFormattedTextSpaceLayoutBox>());
  box->FFontInfo = FCurrentFontInfo;
  int tabWidth = 0;
  if (ATab) {
    tabWidth = FTextParams.ExpandTabs ? FInitialData.ScaleFactor->Apply(DesignTabWidth) : 0;
    static_cast<TdxFormattedTextTabLayoutBox*>(box.get())->FTabWidth = tabWidth;
  }
  const bool wordBreak = FTextParams.WordBreak && !FTextParams.SingleLine;
  const int available = AvailableWidth();
  while (FTextStart < FTextFinish && (*FText)[static_cast<std::size_t>(FTextStart)] == c) {
    if (box->FCount > 0) {
      if (!ATab && FIsEndEllipsisRow && FRowTextWidth + box->GetSize().cx > available) break;
      if (ATab && wordBreak && FTextParams.ExpandTabs && (FRow->Count() > 0 || box->FCount >= 2) &&
          SnapDown(FRowTextWidth + box->GetSize().cx, tabWidth) > available)
        break;
    }
    ++box->FCount;
    ++FTextStart;
  }
  const int width = box->GetSize().cx;
  FRowTextWidth = ATab ? (tabWidth > 0 ? SnapDown(FRowTextWidth + width, tabWidth) : FRowTextWidth)
                       : FRowTextWidth + width;
  if (FMeasureTrailingSpaces && wordBreak && FRowTextWidth > available) {
    FRowTextWidth -= width;
    if (box->FCount <= 1) {
      box->FCount = 0;
    } else {
      // The first character stays consumed; the others start the next row.
      FTextStart = start + 1;
      StartRow();
      return !FIsClippedText;
    }
  }
  TdxFormattedTextSpaceLayoutBox* added = box.release();
  AddBox(added);
  if (FRowTextWidth > AvailableWidth()) {
    if (FIsEndEllipsisRow) {
      if (added->FCount > 0) {
        --added->FCount;
        --FTextStart;
      }
      return false;
    }
    if (ATab && FTextParams.ExpandTabs && wordBreak && (FRow->Count() > 1 || added->FCount > 1)) {
      --added->FCount;
      --FTextStart;
      FRowTextWidth = SnapDown(FRowTextWidth - tabWidth, tabWidth);
      if (added->FCount == 0) FRow->Delete(FRow->Count() - 1);
      StartRow();
      return !FIsClippedText;
    }
  }
  if (wordBreak) {
    FAbilityBreakLineBoxIndex = FRow->Count() - 1;
    FAbilityBreakLineBoxRollbackInfo = {FTextStart, FRunIndex};
  }
  return true;
}

void TdxFormattedTextLayoutBuilder::AddSeparatorBoxes() {
  while (!FIsClippedText && FTextStart < FTextFinish) {
    const wchar_t c = (*FText)[static_cast<std::size_t>(FTextStart)];
    if (c != L'\t' && c != L'\n' && c != L'\r' && c != L' ') return;
    if (FRow->Count() == 0) RememberRowStart();
    if (c == L'\n' || c == L'\r') {
      AddLineBreak();
      continue;
    }
    if (!AddSpaceOrTabBox(c == L'\t')) return;
  }
}

int TdxFormattedTextLayoutBuilder::LongestPrefixThatFits(const String& AWord, int ARoom, bool AEmptyRow) {
  int low = 0;
  int high = static_cast<int>(AWord.size());
  // The largest length whose extent fits, by halving.
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    TSize size;
    GetTextExtentForDC(FDCHandle, AWord.c_str(), middle, true, size);
    if (size.cx <= ARoom)
      low = middle;
    else
      high = middle - 1;
  }
  return AEmptyRow ? std::max(low, std::min<int>(1, static_cast<int>(AWord.size()))) : low;
}

void TdxFormattedTextLayoutBuilder::AddWord() {
  if (FRow->Count() == 0) RememberRowStart();
  const wchar_t* text = FText->c_str();
  const wchar_t* end = GetNextWordBreak(0, text + FTextStart, text + FTextFinish);
  if (end <= text + FTextStart) end = text + FTextStart + 1;
  const int wordEnd = static_cast<int>(end - text);
  const String word = FText->substr(static_cast<std::size_t>(FTextStart), static_cast<std::size_t>(wordEnd - FTextStart));
  TdxFormattedTextTextLayoutBox* box = NewTextBox(word);
  const int width = box->GetSize().cx;
  const int rest = FRowTextWidth;
  FRowTextWidth += width;
  const bool wordBreak = FTextParams.WordBreak && !FTextParams.SingleLine;
  const int available = AvailableWidth();
  if (FRowTextWidth <= available || !(wordBreak || FIsEndEllipsisRow)) {
    AddBox(box);
    FTextStart = wordEnd;
    return;
  }
  TOwned<TdxFormattedTextTextLayoutBox> whole(box);
  if (FIsEndEllipsisRow) {
    const int fit = LongestPrefixThatFits(word, available - rest, FRow->Count() == 0);
    TdxFormattedTextTextLayoutBox* prefix = NewTextBox(word.substr(0, static_cast<std::size_t>(fit)));
    FRowTextWidth = rest + prefix->GetSize().cx + EllipsisWidth();
    AddBox(prefix);
    AddBox(NewTextBox(EllipsisText));
    FTextStart += fit;
    FIsClippedText = true;
    return;
  }
  if (FAbilityBreakLineBoxIndex >= 0) {
    FRowTextWidth = rest;
    TdxFormattedTextLayoutRow* previous = FRow;
    const int breakIndex = FAbilityBreakLineBoxIndex;
    const TRollbackInfo breakAt = FAbilityBreakLineBoxRollbackInfo;
    StartRow();
    if (FIsClippedText) {
      if (!FTextParams.EditControl || TextHeight() >= FLayout->FBounds.Height())
        while (previous->Count() > breakIndex + 1) previous->Delete(previous->Count() - 1);
    } else if (previous->Count() > breakIndex + 1) {
      // Parts of this word that earlier runs placed go with it.
      while (previous->Count() > breakIndex + 1) {
        TdxFormattedTextLayoutBox* moved = previous->Extract(breakIndex + 1);
        FRow->Add(moved);
        FRowTextWidth += moved->GetSize().cx;
      }
      FPreviousRollbackInfo = FLastRowRollbackInfo;
      FLastRowRollbackInfo = breakAt;
    }
    FAbilityBreakLineBoxIndex = -1;
    return;
  }
  if (FTextParams.CharBreak) {
    const int fit = LongestPrefixThatFits(word, available - rest, FRow->Count() == 0);
    FRowTextWidth = rest;
    if (fit > 0) {
      TdxFormattedTextTextLayoutBox* prefix = NewTextBox(word.substr(0, static_cast<std::size_t>(fit)));
      FRowTextWidth += prefix->GetSize().cx;
      AddBox(prefix);
      FTextStart += fit;
    }
    StartRow();
    return;
  }
  AddBox(whole.release());
  FTextStart = wordEnd;
}

void TdxFormattedTextLayoutBuilder::RollBackToLastRowStart() {
  FIsClippedText = false;
  // The remembered start is that of the last row that holds boxes: an empty
  // row after it (begun by a line break) goes first.
  while (FRow->Count() == 0 && FLayout->Count() > 1) {
    FLayout->FRows.pop_back();
    FRow = FLayout->FRows.back().get();
  }
  while (FRow->Count() > 0) FRow->Delete(FRow->Count() - 1);
  FRowTextWidth = 0;
  FAbilityBreakLineBoxIndex = -1;
  const TRollbackInfo at = FLastRowRollbackInfo;
  EnterRun(at.RunIndex, true);
  FTextStart = at.TextPosition;
}

void TdxFormattedTextLayoutBuilder::Reset() {
  FLayout->Clear();
  FHyperlinkIndex = -1;
  FAbilityBreakLineBoxIndex = -1;
  FIsClippedText = false;
  FIsEndEllipsisRow = false;
  FEllipsisRolledBack = false;
  FRowTextWidth = 0;
  FRunIndex = -1;
  FRunStack.Clear();
  FRow = nullptr;
}

void TdxFormattedTextLayoutBuilder::Calculate(HDC ADC, TdxFormattedTextLayout* ALayout,
                                              TdxFormattedText* AFormattedText,
                                              const TdxFormattedTextLayoutBuilderInitialData& AInitialData) {
  if (AFormattedText->InternalRuns().Count() == 0) return;
  FInitialData = AInitialData;
  FLayout = ALayout;
  FLayout->FInitialData = AInitialData;
  FLayout->FHasInitialData = true;
  FLayout->FBounds = AInitialData.Bounds;
  const float dpi = static_cast<float>(ScaleFactorToDpi(AInitialData.ScaleFactor));
  FFontCache = AFormattedText->UseOfficeFonts()
                   ? TdxFontCacheManager::GetOfficeFontCache(TdxDocumentLayoutUnit::Pixel, dpi)
                   : TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, dpi);
  FDCHandle = ADC;
  const HGDIOBJ callerFont = GetCurrentObject(ADC, OBJ_FONT);
  const TScopeExit restoreFont([ADC, callerFont] { SelectObject(ADC, callerFont); });
  FRuns = &AFormattedText->InternalRuns();
  FText = &AFormattedText->Text();
  FMeasureTrailingSpaces = AFormattedText->MeasureTrailingSpaces();
  CalcTextParamsForDC(ADC, AInitialData.TextOutFormat, 1.0, FTextParams);
  FTextParams.CharBreak = (AInitialData.TextOutFormat & cxtoCharBreak) != 0;

  Reset();
  EnterRun(0, false);
  FCurrentCharacterProperties = FInitialData.CharacterProperties;
  SelectCurrentFont();
  StartRow();
  while (FRunIndex < FRuns->Count()) {
    while (FTextStart < FTextFinish && !FIsClippedText) {
      AddSeparatorBoxes();
      if (FTextStart < FTextFinish && !FIsClippedText) AddWord();
    }
    const bool lastRun = FRunIndex == FRuns->Count() - 1;
    if (lastRun && RunEditControlTest()) FIsClippedText = true;
    if (FTextParams.EndEllipsis && (FIsClippedText || (lastRun && FRowTextWidth > AvailableWidth())))
      FIsEndEllipsisRow = !FIsEndEllipsisRow;
    if (FIsEndEllipsisRow && !FEllipsisRolledBack && FLastRowRollbackInfo.RunIndex >= 0 && FRow) {
      FEllipsisRolledBack = true;
      RollBackToLastRowStart();
      continue;
    }
    if (FIsClippedText && !FIsEndEllipsisRow) break;
    if (FIsClippedText || lastRun) break;
    EnterRun(FRunIndex + 1, false);
  }
  if (FRow && FRow->Count() == 0) AddBox(New<TdxFormattedEmptyLayoutBox>());
  PlaceRows();
  FLastRowRollbackInfo = {};
  FPreviousRollbackInfo = {};
}

void TdxFormattedTextLayoutBuilder::PlaceRows() {
  const int boundsHeight = FLayout->FBounds.Height();
  const int textHeight = TextHeight();
  const int count = FLayout->Count();
  if (count == 0) return;
  int top = 0;
  if (FTextParams.TextAlignY == taCenterY)
    top = (boundsHeight - textHeight) / 2;
  else if (FTextParams.TextAlignY == taBottom)
    top = boundsHeight - textHeight;
  double scale = 1;
  const int lastHeight = FLayout->Items(count - 1)->ContentSize(true).cy;
  if (FTextParams.TextAlignY == taDistributeY && count > 1 && textHeight > lastHeight)
    scale = std::max(static_cast<double>(boundsHeight - lastHeight) / (textHeight - lastHeight), 1.0);
  double carried = 0;
  for (int i = 0; i < count; ++i) {
    TdxFormattedTextLayoutRow* row = FLayout->Items(i);
    const bool last = i == count - 1;
    if (last && row->FTextAlignX == taJustifyX) row->FTextAlignX = taLeft;
    const int height = row->ContentSize(last).cy;
    if (last && FTextParams.TextAlignY == taDistributeY && scale > 1) top = boundsHeight - height;
    row->Calculate(TRect(0, top, FLayout->FBounds.Width(), top + height));
    const double step = height * scale + carried;
    const int whole = static_cast<int>(step);
    carried = step - whole;
    top += whole;
  }
}
