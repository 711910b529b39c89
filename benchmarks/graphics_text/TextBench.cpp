// The text engine next to the system's DrawTextW: a 10 KB paragraph with
// word wrap in a 300-pixel column, 1,000 times, on the same DC in the same
// run; first laid out only (the engine's rows against DrawTextW with
// DT_CALCRECT), then laid out and drawn (DrawTextFormatted against DrawTextW
// with DT_WORDBREAK) onto a 32-bit surface that holds the whole paragraph.
// Prints the times and the ratios (engine / DrawTextW); the target is at
// most 2.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/text/cxDrawTextUtils.h"
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
  const TOwnedFont font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));

  // The paragraph's height decides the surface's.
  RECT bounds{0, 0, ColumnWidth, 0};
  {
    const TOwnedDC probe(CreateCompatibleDC(nullptr));
    const TSelectObject selected(probe.Get(), font.Get());
    DrawTextW(probe.Get(), text.c_str(), length, &bounds, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  }
  TMemoryDC surface = TMemoryDC::Dib32(nullptr, ColumnWidth, bounds.bottom + 16);
  const HDC dc = surface.DC();
  const TSelectObject selected(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);

  int engineRows = 0;
  TcxTextRows rows;
  const auto layout = [&] {
    TcxTextParams params;
    CalcTextParamsForDC(dc, cxtoWordBreak | cxtoCalcRect, 1.0, params);
    const TRect column(0, 0, ColumnWidth, 0);
    BreakTextIntoRows(dc, text.c_str(), length, column, params, rows, engineRows);
    CalcTextRowPositions(dc, column, params, rows, engineRows);
  };
  int systemHeight = 0;
  const auto measure = [&] {
    RECT r{0, 0, ColumnWidth, 0};
    systemHeight = DrawTextW(dc, text.c_str(), length, &r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  };
  const auto draw = [&] {
    TRect r(0, 0, ColumnWidth, bounds.bottom + 16);
    DrawTextFormatted(dc, text, r, cxtoWordBreak, 0, 0, nullptr, clNone, clNone);
  };
  const auto drawText = [&] {
    RECT r{0, 0, ColumnWidth, bounds.bottom + 16};
    DrawTextW(dc, text.c_str(), length, &r, DT_WORDBREAK | DT_NOPREFIX);
  };
  // One round each first: font caches warm up.
  layout();
  measure();
  draw();
  drawText();
  const auto repeated = [](const auto& AWork) {
    return [&AWork] {
      for (int i = 0; i < Repeats; ++i) AWork();
    };
  };
  const double engineLayout = bench::BestOf(1, [] {}, repeated(layout));
  const double systemLayout = bench::BestOf(1, [] {}, repeated(measure));
  const double engineDraw = bench::BestOf(1, [] {}, repeated(draw));
  const double systemDraw = bench::BestOf(1, [] {}, repeated(drawText));

  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  std::printf("graphics_text benchmark: %d characters into %d pixels, %d times: the engine made %d rows, DrawTextW %d\n",
              length, ColumnWidth, Repeats, engineRows, static_cast<int>(systemHeight / metrics.tmHeight));
  bench::TRatioReport report("engine", "DrawTextW", Target, 24);
  report.Add("word-wrapped paragraph", engineLayout, systemLayout);
  report.Add("... laid out and drawn", engineDraw, systemDraw);
  FinalizeUnits();
  return 0;
}
