// Formatted text next to the system's DrawTextW: the paragraphs of Debian's
// GPL-3 laid out and drawn in a 400-pixel column, on the same DC in the same
// run. "Cold" empties the measurement cache before each pass, so every word
// is shaped again; "warm" keeps it, as a running program does. Prints the
// times and the ratios (formatted text / DrawTextW with DT_WORDBREAK); the
// target is at most 1.5 warm.
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/controls/text/dxFormattedText_Internal.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int ColumnWidth = 400;
constexpr int Passes = 10;
constexpr double Target = 1.5;

std::vector<String> Paragraphs() {
  std::ifstream file("Z:\\usr\\share\\common-licenses\\GPL-3");
  std::vector<String> result(1);
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream words(line);
    std::string word;
    bool any = false;
    while (words >> word) {
      any = true;
      if (!result.back().empty()) result.back() += L' ';
      result.back() += String(word.begin(), word.end());
    }
    if (!any && !result.back().empty()) result.emplace_back();
  }
  if (result.back().empty()) result.pop_back();
  return result;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits(), LibraryControlsUnits()});
  const std::vector<String> paragraphs = Paragraphs();
  if (paragraphs.empty()) {
    std::printf("controls_text: /usr/share/common-licenses/GPL-3 is missing\n");
    return 1;
  }
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-13);
  TMemoryDC surface = TMemoryDC::Dib32(nullptr, ColumnWidth, 1000);
  const HDC dc = surface.DC();
  const TSelectObject selected(dc, font->Handle());
  SetBkMode(dc, TRANSPARENT);

  std::vector<TOwned<TdxFormattedText>> texts;
  for (const String& paragraph : paragraphs) {
    TdxFormattedText* text = New<TdxFormattedText>();
    text->SetText(paragraph);
    text->InternalRuns().Add(New<TdxFormattedTextRun>(text, traOpen, 0, static_cast<int>(paragraph.size())));
    texts.emplace_back(text);
  }
  TdxTextViewInfoCache* cache = dxFormattedTextLayoutBuilder()->Measurer()->TextViewInfoCache();
  const TRect column(0, 0, ColumnWidth, 1000);
  const auto formatted = [&] {
    for (int pass = 0; pass < Passes; ++pass)
      for (auto& text : texts) {
        text->SetText(text->Text());
        text->CalculateLayout(dc, font.get(), column, cxtoWordBreak);
        text->Draw(dc, TPoint(0, 0));
      }
  };
  const auto system = [&] {
    for (int pass = 0; pass < Passes; ++pass)
      for (const String& paragraph : paragraphs) {
        RECT r{0, 0, ColumnWidth, 1000};
        DrawTextW(dc, paragraph.c_str(), static_cast<int>(paragraph.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
      }
  };
  const double reference = bench::BestOf(5, [] {}, system);
  const double cold = bench::BestOf(5, [&] { cache->Clear(); }, [&] {
    for (auto& text : texts) {
      cache->Clear();
      text->SetText(text->Text());
      text->CalculateLayout(dc, font.get(), column, cxtoWordBreak);
      text->Draw(dc, TPoint(0, 0));
    }
  });
  const double coldReference = bench::BestOf(5, [] {}, [&] {
    for (const String& paragraph : paragraphs) {
      RECT r{0, 0, ColumnWidth, 1000};
      DrawTextW(dc, paragraph.c_str(), static_cast<int>(paragraph.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
    }
  });
  formatted();
  const double warm = bench::BestOf(5, [] {}, formatted);

  std::printf("GPL-3: %zu paragraphs in a %d-pixel column, Tahoma 13 px\n", paragraphs.size(), ColumnWidth);
  bench::TRatioReport report("formatted text", "DrawTextW", Target, 34);
  std::printf("cold (each paragraph shaped anew, one pass; no target):\n");
  bench::TRatioReport("formatted text", "DrawTextW", 1e9, 34).Add("layout and draw, cache cold", cold, coldReference);
  std::printf("warm (%d passes):\n", Passes);
  report.Add("layout and draw, cache warm", warm, reference);
  FinalizeUnits();
  return report.Slower() ? 1 : 0;
}
