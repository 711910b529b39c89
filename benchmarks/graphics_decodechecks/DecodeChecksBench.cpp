// What the checks before decoding cost: the smart-image tests' 17 image
// fixtures (BMP, GIF, JPEG, PNG, TIFF) and ten metafiles GDI recorded, each
// loaded from its bytes and drawn at its size onto a 32-bit DIB, with every
// check on, beside the same work without the checks that stand before
// decoding (metafile records, decoded-size bounds). Those checks are one pass
// over the bytes before GDI+ sees them, so the work without them is the
// work with them less their own time, measured on the same bytes in the same
// run. Target: at most 1.05 x. Each line prints the best of several runs.
#include "benchmarks/support/GdiPlusMain.h"
#include "benchmarks/support/Ratios.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/GdiScopes.h"
#include "tests/support/SampleMetafiles.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 15;

std::vector<std::string> ImageFixtures() {
  std::vector<std::string> files;
  EnumResourceNamesW(
      nullptr, L"IMAGE",
      [](HMODULE, LPCWSTR, LPWSTR AName, LONG_PTR AFiles) -> BOOL {
        const HRSRC resource = FindResourceW(nullptr, AName, L"IMAGE");
        const void* bytes = LockResource(LoadResource(nullptr, resource));
        reinterpret_cast<std::vector<std::string>*>(AFiles)->emplace_back(static_cast<const char*>(bytes),
                                                                          SizeofResource(nullptr, resource));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&files));
  return files;
}

void LoadAndDraw(HDC DC, const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromStream(stream.get());
  const TSize size = image->Size();
  image->StretchDraw(DC, TRect(0, 0, size.cx, size.cy));
}

bool Check(const std::string& ABytes) {
  return dxIsSafeToDecode({reinterpret_cast<const std::uint8_t*>(ABytes.data()), ABytes.size()});
}

void Measure(bench::TRatioReport& AReport, const char* AName, const std::vector<std::string>& AFiles, HDC DC) {
  double all = 1e300, checks = 1e300;
  for (int i = 0; i < Runs; ++i) {
    all = std::min(all, bench::BestOf(1, [] {}, [&] {
                     for (const std::string& file : AFiles) LoadAndDraw(DC, file);
                   }));
    checks = std::min(checks, bench::BestOf(1, [] {}, [&] {
                        for (const std::string& file : AFiles)
                          if (!Check(file)) std::printf("refused!\n");
                      }));
  }
  AReport.Add(AName, all, all - checks);
}

}  // namespace

int wmain() {
  return bench::RunWithGdiPlus([] {
    const std::vector<std::string> images = ImageFixtures();
    std::vector<std::string> metafiles;
    for (const TSampleMetafile& sample : SampleMetafiles()) metafiles.push_back(sample.Emf);
    std::vector<std::string> wmfs;
    for (const TSampleMetafile& sample : SampleMetafiles()) wmfs.push_back(sample.Wmf);
    const TMemoryDC target = TMemoryDC::Dib32(nullptr, 256, 256);
    std::printf("graphics_decodechecks benchmark (best of %d runs; %zu images, %zu metafiles)\n", Runs,
                images.size(), metafiles.size());
    bench::TRatioReport report("checks on", "without", 1.05, 36);
    Measure(report, "17 image fixtures, load and draw", images, target.DC());
    Measure(report, "10 EMF files, load and draw", metafiles, target.DC());
    Measure(report, "10 WMF files, load and draw", wmfs, target.DC());
    std::printf(report.Slower() ? "%d measurement(s) over the target\n" : "all within the target\n",
                report.Slower());
    return 0;
  });
}
