// The XML document read from a 20 MB file into the tree and written back,
// beside what the run script measured of Debian's libxml2 (xmllint) on the
// same file: reading (xmllint --noout) and reading plus writing (xmllint
// --output). Each figure is the best of five runs; the target for reading is
// at most twice libxml2's time. xmllint's times include its process start.
//
// Usage: bench_library_vector.exe DOCUMENT XMLLINT-READ-MS XMLLINT-READ-AND-WRITE-MS
#include "library/core/CoreUnits.h"
#include "library/vector/dxXMLDoc.h"
#include "platform/runtime/Units.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int Runs = 5;

double BestMs(const std::function<void()>& AWork) {
  double best = 1e300;
  for (int i = 0; i < Runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    AWork();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

int CountElements(const TdxXMLNode* ANode) {
  int count = 0;
  for (const TdxXMLNode* child = ANode->First(); child; child = child->Next()) count += 1 + CountElements(child);
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: %ls DOCUMENT XMLLINT-READ-MS XMLLINT-READ-AND-WRITE-MS\n", argv[0]);
    return 2;
  }
  InitializeUnits({RuntimeUnits(), LibraryCoreUnits()});
  const String file = argv[1];
  const double libxml2Read = std::wcstod(argv[2], nullptr);
  const double libxml2Write = std::max(std::wcstod(argv[3], nullptr) - libxml2Read, 0.001);

  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  const double read = BestMs([&] { document->LoadFromFile(file); });
  const String written = file + L".written.xml";
  const double write = BestMs([&] { document->SaveToFile(written); });
  DeleteFileW(written.c_str());

  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &attributes);
  const double megabytes = static_cast<double>(attributes.nFileSizeLow) / 1e6;
  std::printf("document: %.1f MB, %d elements\n", megabytes, CountElements(document->Root()));
  const double readRatio = read / libxml2Read;
  std::printf("read into the tree   ours %8.1f ms  libxml2 %8.1f ms  ratio %5.2f %s\n", read, libxml2Read, readRatio,
              readRatio <= 2 ? "(target <= 2 met)" : "(over the target of 2)");
  std::printf("write back to a file ours %8.1f ms  libxml2 %8.1f ms  ratio %5.2f\n", write, libxml2Write,
              write / libxml2Write);
  FinalizeUnits();
  return 0;
}
