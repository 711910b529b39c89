// Ten of librsvg's reference SVGs loaded through the SVG codec and
// rasterised at 256 x 256 (a new handle each time, so nothing is cached),
// beside what the run script measured of librsvg on the same files in the
// same run: its in-process time (load and render into a 256 x 256 surface),
// against which the ratios are taken, and rsvg-convert's process time.
// Each figure is the best of ten runs; the target is at most twice
// librsvg's time.
//
// Usage: bench_vector_svg.exe FIXTURES-DIR TIMINGS-FILE
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/vector/VectorUnits.h"
#include "library/vector/dxSVGImage.h"
#include "platform/runtime/Units.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int Runs = 10;

double LoadAndRasterise(const String& APath) {
  return bench::BestOf(Runs, [] {}, [&] {
    TOwned<TdxSmartImageCustomHandle> handle;
    if (!TdxSVGImageCodec::Load(APath, handle)) throw EdxException(L"not an SVG: " + APath);
    static_cast<TdxSVGImageHandle*>(handle.get())->GetRasterizedImage(TSize(256, 256), nullptr);
  });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: %ls FIXTURES-DIR TIMINGS-FILE\n", argv[0]);
    return 2;
  }
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits()});
  const String fixtures = argv[1];
  std::ifstream timings(argv[2]);
  bench::TRatioReport report("ours", "librsvg", 2.0, 44);
  double ours = 0;
  double librsvg = 0;
  double process = 0;
  std::string line;
  while (std::getline(timings, line)) {
    std::istringstream fields(line);
    std::string name;
    double inProcess = 0;
    double convert = 0;
    if (!(fields >> name >> inProcess >> convert)) continue;
    String path = fixtures + L"\\" + dxXMLStringToString(name);
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    const double time = LoadAndRasterise(path);
    report.Add(name.c_str(), time, inProcess);
    std::printf("%-44s rsvg-convert process %9.2f ms\n", "", convert);
    ours += time;
    librsvg += inProcess;
    process += convert;
  }
  report.Add("all ten", ours, librsvg);
  std::printf("all ten: rsvg-convert processes %.2f ms; ours against them: ratio %.2f\n", process, ours / process);
  FinalizeUnits();
  return report.Slower() == 0 ? 0 : 1;
}
