// The text model: runs, the run stack, converters and the text object. The
// layout and its boxes are in dxFormattedText_Layout.cpp, painting in
// dxFormattedText_Paint.cpp.
#include "library/controls/text/dxFormattedText.h"

#include "library/controls/text/dxFormattedText_Internal.h"
#include "platform/classes/ClassErrors.h"

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<std::vector<TdxFormattedTextConverterClass>> GConverters;

}  // namespace

// ---------------------------------------------------------------------------
// Runs

void TdxFormattedTextRun::Create(TdxFormattedText* AOwner, TdxFormattedTextRunAction AAction, int ATextStart,
                                 int ATextLength) {
  inherited::Create();
  FOwner = AOwner;
  FAction = AAction;
  FTextStart = ATextStart;
  FTextLength = ATextLength;
}

TdxFormattedTextRun* TdxFormattedTextRun::Clone() const {
  TdxFormattedTextRun* result = static_cast<TdxFormattedTextRun*>(ClassType()->NewInstance());
  result->Create(FOwner, FAction, FTextStart, FTextLength);
  result->AfterConstruction();
  return result;
}

String TdxFormattedTextRun::Text() const {
  if (!FOwner || FTextLength <= 0) return String();
  const String& text = FOwner->Text();
  const std::size_t start = std::min<std::size_t>(static_cast<std::size_t>(std::max(FTextStart, 0)), text.size());
  return text.substr(start, static_cast<std::size_t>(FTextLength));
}

void TdxFormattedTextURLRun::Create(TdxFormattedText* AOwner, TdxFormattedTextRunAction AAction, int ATextStart,
                                    int ATextLength) {
  inherited::Create(AOwner, AAction, ATextStart, ATextLength);
  FColor = clDefault;
}

TdxFormattedTextRun* TdxFormattedTextURLRun::Clone() const {
  auto* result = static_cast<TdxFormattedTextURLRun*>(inherited::Clone());
  result->FHyperlink = FHyperlink;
  result->FColor = FColor;
  return result;
}

void TdxFormattedTextURLRun::ApplyStyle(TdxFormattedTextCharacterProperties& AStyle) const {
  AStyle.FontColor = FColor == clDefault ? TColor(0x00FF0000) : FColor;
  AStyle.FontStyle.Include(fsUnderline);
}

TdxFormattedTextRun* TdxFormattedTextRuns::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) throw EListError(L"List index out of bounds (%d)", {AIndex});
  return FItems[static_cast<std::size_t>(AIndex)].get();
}

TdxFormattedTextRun* TdxFormattedTextRuns::Add(TdxFormattedTextRun* ARun) {
  FItems.emplace_back(ARun);
  return ARun;
}

String TdxFormattedTextRuns::ExtractURLText(const TdxFormattedTextRun* ARun) const {
  const auto it = std::find_if(FItems.begin(), FItems.end(), [ARun](const auto& r) { return r.get() == ARun; });
  if (it == FItems.end() || ARun->Action() == traClose) return String();
  String result;
  for (auto at = it; at != FItems.end(); ++at) {
    if (at != it && (*at)->Action() == traClose && (*at)->InheritsFrom(TdxFormattedTextURLRun::ClassInfo())) break;
    result += (*at)->Text();
  }
  return result;
}

void TdxFormattedTextRunStack::ProcessRun(const TdxFormattedTextRun* ARun) {
  if (ARun->Action() == traOpen) {
    FStack.push_back(ARun);
    return;
  }
  for (auto it = FStack.rbegin(); it != FStack.rend(); ++it)
    if ((*it)->ClassType() == ARun->ClassType()) {
      FStack.erase(std::next(it).base());
      return;
    }
}

void TdxFormattedTextRunStack::CalculateStyle(TdxFormattedTextCharacterProperties& AStyle) const {
  for (const TdxFormattedTextRun* run : FStack) run->ApplyStyle(AStyle);
}

// ---------------------------------------------------------------------------
// Converters

void TdxFormattedTextConverter::Import(TdxFormattedText* ATarget, const String& ASource, TFont*) const {
  ATarget->SetText(ASource);
}

String TdxFormattedTextConverter::Export(const TdxFormattedText* ASource, TFont*) const { return ASource->Text(); }

const TdxFormattedTextConverter* TdxFormattedTextConverter::PlainText() {
  static const TdxFormattedTextConverter plain;
  return &plain;
}

void TdxFormattedTextConverters::Register(TdxFormattedTextConverterClass AConverterClass) {
  if (!GConverters) GConverters = std::make_unique<std::vector<TdxFormattedTextConverterClass>>();
  GConverters->push_back(AConverterClass);
}

void TdxFormattedTextConverters::Unregister(TdxFormattedTextConverterClass AConverterClass) {
  if (!GConverters) return;
  const auto it = std::find(GConverters->begin(), GConverters->end(), AConverterClass);
  if (it != GConverters->end()) GConverters->erase(it);
  if (GConverters->empty()) GConverters.reset();
}

int TdxFormattedTextConverters::Count() { return GConverters ? static_cast<int>(GConverters->size()) : 0; }

TdxFormattedTextConverterClass TdxFormattedTextConverters::GetConverterClass(const String& ASource) {
  if (!GConverters || GConverters->empty()) return nullptr;
  for (auto it = GConverters->rbegin(); it != GConverters->rend(); ++it)
    if ((*it)->CanImport(ASource)) return *it;
  return GConverters->front();
}

void TdxFormattedTextConverters::Import(TdxFormattedText* ATarget, const String& ASource, TFont* ADefaultFont) {
  if (TdxFormattedTextConverterClass converter = GetConverterClass(ASource))
    converter->Import(ATarget, ASource, ADefaultFont);
}

String TdxFormattedTextConverters::Export(const TdxFormattedText* ASource,
                                          TdxFormattedTextConverterClass AConverterClass, TFont* ADefaultFont) {
  return AConverterClass->Export(ASource, ADefaultFont);
}

// ---------------------------------------------------------------------------
// TdxFormattedText

void TdxFormattedText::Create() {
  inherited::Create();
  FHyperlinkColor = clDefault;
  FLayout.reset(New<TdxFormattedTextLayout>(false));
}

void TdxFormattedText::Destroy() {
  FLayout.reset();
  inherited::Destroy();
}

void TdxFormattedText::Import(const String& ASource, TFont* ADefaultFont) {
  TdxFormattedTextConverters::Import(this, ASource, ADefaultFont);
}

void TdxFormattedText::Import(const Variant& ASource, TFont* ADefaultFont) {
  Import(VarToStr(ASource), ADefaultFont);
}

String TdxFormattedText::Export(TdxFormattedTextConverterClass AConverterClass, TFont* ADefaultFont) const {
  return TdxFormattedTextConverters::Export(this, AConverterClass, ADefaultFont);
}

void TdxFormattedText::SetText(const String& AValue) {
  FText = AValue;
  FIsTextChanged = true;
}

void TdxFormattedText::SetMeasureTrailingSpaces(bool AValue) {
  if (FMeasureTrailingSpaces == AValue) return;
  FMeasureTrailingSpaces = AValue;
  FLayout->FMeasureTrailingSpaces = AValue;
  FIsTextChanged = true;
}

bool TdxFormattedText::HasFormatting() const {
  // Accelerator-character runs belong to mark-up converters, which this
  // system has none of: two runs or more are formatting.
  return FRuns.Count() >= 2;
}

TSize TdxFormattedText::TextSize() const { return FLayout->TextSize(); }

String TdxFormattedText::GetDisplayText() const {
  String result;
  for (int i = 0; i < FRuns.Count(); ++i) result += FRuns.Items(i)->Text();
  return result;
}

String TdxFormattedText::GetUrl(int AIndex) const {
  const auto& links = FLayout->Hyperlinks();
  if (AIndex < 0 || AIndex >= static_cast<int>(links.size()))
    throw EListError(L"List index out of bounds (%d)", {AIndex});
  return links[static_cast<std::size_t>(AIndex)].Hyperlink;
}

int TdxFormattedText::GetBaseLine(int ARowIndex) const {
  return ARowIndex >= 0 && ARowIndex < FLayout->Count() ? FLayout->Items(ARowIndex)->AscentAndFree() : 0;
}

TdxFormattedTextLayoutBox* TdxFormattedText::HitTest(const TPoint& APoint) const { return FLayout->HitTest(APoint); }

void TdxFormattedText::CalculateLayout(TCanvas* ACanvas, TFont* AFont, const TRect& ABounds, std::uint32_t AFormat,
                                       TdxScaleFactor* AScaleFactor, float AZoomFactor, TColor AHyperlinkColor) {
  CalculateLayout(ACanvas->Handle(), AFont, ABounds, AFormat, AScaleFactor, AZoomFactor, AHyperlinkColor);
}

void TdxFormattedText::CalculateLayout(HDC ADC, TFont* AFont, const TRect& ABounds, std::uint32_t AFormat,
                                       TdxScaleFactor* AScaleFactor, float AZoomFactor, TColor AHyperlinkColor) {
  TdxFormattedTextLayoutBuilderInitialData data;
  data.ScaleFactor = AScaleFactor ? AScaleFactor : SystemScaleFactor();
  const int dpi = ScaleFactorToDpi(data.ScaleFactor);
  data.Bounds = TRect(0, 0, ABounds.Width(), ABounds.Height());
  data.CharacterProperties.FontName = AFont->Name();
  data.CharacterProperties.FontDoubleSize = std::abs(MulDiv(AFont->Height() * 2, 72, dpi));
  data.CharacterProperties.FontStyle = AFont->Style();
  data.CharacterProperties.FontColor = ColorToRGB(AFont->Color());
  data.CharacterProperties.BackgroundColor = clDefault;
  data.TextOutFormat = AFormat;
  data.ZoomFactor = AZoomFactor;
  data.HyperlinkColor = AHyperlinkColor;
  FHyperlinkColor = AHyperlinkColor;
  const TdxFormattedTextLayoutBuilderInitialData& old = FLayout->FInitialData;
  const bool same = FLayout->FHasInitialData && old.CharacterProperties == data.CharacterProperties &&
                    old.ScaleFactor && ScaleFactorToDpi(old.ScaleFactor) == dpi &&
                    old.Bounds.Width() == data.Bounds.Width() && old.Bounds.Height() == data.Bounds.Height() &&
                    old.ZoomFactor == data.ZoomFactor && old.TextOutFormat == data.TextOutFormat &&
                    old.HyperlinkColor == data.HyperlinkColor;
  if (FIsTextChanged || !same) {
    if (TdxFormattedTextLayoutBuilder* builder = dxFormattedTextLayoutBuilder())
      builder->Calculate(ADC, FLayout.get(), this, data);
  }
  FIsTextChanged = false;
}

void TdxFormattedText::Draw(TCanvas* ACanvas, const TPoint& APosition, bool AClip) {
  Draw(ACanvas->Handle(), APosition, AClip);
}

void TdxFormattedText::Draw(HDC ADC, const TPoint& APosition, bool AClip) {
  TOwned<TdxFormattedTextPainter> painter(New<TdxFormattedTextPainter>(ADC));
  Draw(painter.get(), APosition, AClip);
}

void TdxFormattedText::Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& APosition, bool AClip) {
  FLayout->Draw(APainter, APosition, AClip);
}

// ---------------------------------------------------------------------------
// The unit

void dxFormattedTextInitialization() { TdxFormattedTextConverters::Register(TdxFormattedTextConverter::PlainText()); }

void dxFormattedTextFinalization() {
  TdxFormattedTextConverters::Unregister(TdxFormattedTextConverter::PlainText());
  dxFreeFormattedTextLayoutBuilder();
}
