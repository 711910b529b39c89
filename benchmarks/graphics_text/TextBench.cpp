// The text layout engine next to the system's DrawTextW: a 10 KB paragraph
// laid out with word wrap into a 300-pixel column, 1,000 times, and
// DrawTextW with DT_WORDBREAK | DT_CALCRECT on the same DC in the same run.
// Prints both times and the ratio (engine / DrawTextW); the target is at
// most 2.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/cxDrawTextUtils.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <random>

namespace {

constexpr int Repeats = 1000;
constexpr int ColumnWidth = 300;
constexpr double Target = 2.0;

// About 10 KB of words of 1 to 10 letters, one paragraph.
String Paragraph() {
  std::mt19937 random(2024);
  String text;
  while (text.size() < 10 * 1024) {
    const int letters = 1 + static_cast<int>(random() % 10);
    for (int i = 0; i < letters; ++i) text += static_cast<wchar_t>(L'a' + random() % 26);
    text += L' ';
  }
  text.pop_back();
  return text;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  const String text = Paragraph();
  const int length = static_cast<int>(text.size());
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const TOwnedFont font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  const TSelectObject selected(dc.Get(), font.Get());

  int engineRows = 0;
  TcxTextRows rows;
  const auto layout = [&] {
    TcxTextParams params;
    CalcTextParamsForDC(dc.Get(), cxtoWordBreak | cxtoCalcRect, 1.0, params);
    const TRect column(0, 0, ColumnWidth, 0);
    BreakTextIntoRows(dc.Get(), text.c_str(), length, column, params, rows, engineRows);
    CalcTextRowPositions(dc.Get(), column, params, rows, engineRows);
  };
  int systemHeight = 0;
  const auto drawText = [&] {
    RECT r{0, 0, ColumnWidth, 0};
    systemHeight = DrawTextW(dc.Get(), text.c_str(), length, &r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  };
  // One round each first: font caches warm up.
  layout();
  drawText();
  const auto repeated = [](const auto& AWork) {
    return [&AWork] {
      for (int i = 0; i < Repeats; ++i) AWork();
    };
  };
  const double engine = bench::BestOf(1, [] {}, repeated(layout));
  const double system = bench::BestOf(1, [] {}, repeated(drawText));

  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  std::printf("graphics_text benchmark: %d characters into %d pixels, %d times: the engine made %d rows, DrawTextW %d\n",
              length, ColumnWidth, Repeats, engineRows, static_cast<int>(systemHeight / metrics.tmHeight));
  bench::TRatioReport report("engine", "DrawTextW", Target, 24);
  report.Add("word-wrapped paragraph", engine, system);
  FinalizeUnits();
  return 0;
}
