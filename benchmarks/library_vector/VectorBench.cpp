// The XML document read from a 20 MB file into the tree and written back,
// beside what the run script measured of Debian's libxml2 on the same file:
// reading (xmllint --noout, its process start included) and writing the
// parsed tree to a file. Each figure is the best of five runs; the target is
// at most twice libxml2's time for reading (writing is shown against the same
// mark).
//
// Usage: bench_library_vector.exe DOCUMENT LIBXML2-READ-MS LIBXML2-WRITE-MS
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/vector/dxXMLDoc.h"
#include "platform/runtime/Units.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Runs = 5;

int CountElements(const TdxXMLNode* ANode) {
  int count = 0;
  for (const TdxXMLNode* child = ANode->First(); child; child = child->Next()) count += 1 + CountElements(child);
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: %ls DOCUMENT LIBXML2-READ-MS LIBXML2-WRITE-MS\n", argv[0]);
    return 2;
  }
  InitializeUnits({RuntimeUnits(), LibraryCoreUnits()});
  const String file = argv[1];
  const double libxml2Read = std::wcstod(argv[2], nullptr);
  const double libxml2Write = std::wcstod(argv[3], nullptr);

  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  const double read = bench::BestOf(Runs, [] {}, [&] { document->LoadFromFile(file); });
  const String written = file + L".written.xml";
  const double write = bench::BestOf(Runs, [] {}, [&] { document->SaveToFile(written); });
  DeleteFileW(written.c_str());

  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &attributes);
  std::printf("document: %.1f MB, %d elements\n", static_cast<double>(attributes.nFileSizeLow) / 1e6,
              CountElements(document->Root()));
  bench::TRatioReport report("ours", "libxml2", 2.0, 22);
  report.Add("read into the tree", read, libxml2Read);
  report.Add("write back to a file", write, libxml2Write);
  FinalizeUnits();
  return report.Slower() == 0 ? 0 : 1;
}
