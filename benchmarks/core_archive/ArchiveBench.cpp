// Base64 and ZIP extraction at 16 MB, in-process, beside the same work done
// by the system's native tools (coreutils' base64, Info-ZIP's unzip -p),
// whose times the run script measures on the Linux side and passes in, and
// beside zlib called directly. Each line prints the best of several runs and
// the ratio (ours / reference); the target is at most 1.5.
//
// Usage (see ./run): bench_core_archive.exe DATA-FOLDER ENCODE-MS DECODE-MS UNZIP-MS
#include "library/core/CoreUnits.h"
#include "library/core/data/dxBase64.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/core/data/dxZIPUtils.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/UiUnits.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 5;

double Best(const std::function<void()>& AWork) {
  double best = 1e300;
  for (int i = 0; i < Runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    AWork();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

int GSlower = 0;

void Report(const char* AName, double AOurs, const char* AReferenceName, double AReference) {
  const double ratio = AOurs / AReference;
  if (ratio > 1.5) ++GSlower;
  std::printf("%-28s ours %8.2f ms   %-14s %8.2f ms   ratio %5.2f%s\n", AName, AOurs, AReferenceName, AReference, ratio,
              ratio > 1.5 ? " (over 1.5)" : "");
}

std::string ReadAll(const String& AFileName) {
  TKernelHandle file(CreateFileW(AFileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file.Valid()) return bytes;
  std::vector<char> buffer(1 << 20);
  DWORD n = 0;
  while (ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr) && n) bytes.append(buffer.data(), n);
  return bytes;
}

volatile std::size_t GSink;

// The entry's raw deflate data inflated by zlib into fresh memory, with
// zlib's CRC: the least any extraction does.
void InflateDirectly(const std::string& AArchive, const TdxZIPFileEntry& AEntry) {
  auto out = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(AEntry.OriginalSize));
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(AArchive.data()) + AEntry.DataOffset());
  z.avail_in = static_cast<uInt>(AEntry.PackedSize);
  z.next_out = out.get();
  z.avail_out = static_cast<uInt>(AEntry.OriginalSize);
  inflate(&z, Z_FINISH);
  inflateEnd(&z);
  GSink = crc32(0, out.get(), static_cast<uInt>(z.total_out)) == AEntry.CRC32 ? z.total_out : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fwprintf(stderr, L"usage: bench_core_archive.exe DATA-FOLDER ENCODE-MS DECODE-MS UNZIP-MS\n");
    return 2;
  }
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits()});
  const String folder = IncludeTrailingPathDelimiter(argv[1]);
  const double nativeEncode = std::wcstod(argv[2], nullptr), nativeDecode = std::wcstod(argv[3], nullptr),
               nativeUnzip = std::wcstod(argv[4], nullptr);

  const std::string random = ReadAll(folder + L"random.bin");
  const std::string b64 = ReadAll(folder + L"random.b64");
  const std::string archive = ReadAll(folder + L"data.zip");
  if (random.empty() || b64.empty() || archive.empty()) {
    std::fwprintf(stderr, L"no data in %ls\n", folder.c_str());
    return 2;
  }
  std::printf("core_archive benchmark, 16 MB (best of %d runs; native tools timed by the run script)\n", Runs);

  // The encoding work into a buffer, as base64 writes into its own; then
  // through the string-returning routine, whose fresh 45 MB string costs a
  // page fault per 4 KB under Wine.
  const TBytes data(random.begin(), random.end());
  String encoded(static_cast<std::size_t>(Base64EncodedLength(static_cast<int>(data.size()), true)), L'\0');
  const double encode =
      Best([&] { Base64EncodeInto(encoded.data(), data, 0, true, static_cast<int>(data.size())); });
  Report("Base64 encode, 76-char lines", encode, "base64", nativeEncode);
  const double encodeString = Best([&] { encoded = Base64EncodeLines(data, 0, static_cast<int>(data.size()), true); });
  std::printf("  the same returning a new string: %.2f ms (ratio %.2f, not counted)\n", encodeString,
              encodeString / nativeEncode);
  if (encoded != StringReplace(String(b64.begin(), b64.end() - 1), L"\n", L"\r\n", {rfReplaceAll}))
    std::printf("  encoding DIFFERS from base64's\n");

  const String text(b64.begin(), b64.end());
  std::vector<std::uint8_t> decoded(random.size());
  int decodedCount = 0;
  const double decode = Best([&] {
    decodedCount = Base64Decode(text.data(), static_cast<int>(text.size()), decoded.data(), static_cast<int>(decoded.size()));
  });
  Report("Base64 decode", decode, "base64 -d", nativeDecode);
  if (decodedCount != static_cast<int>(random.size()) || std::memcmp(decoded.data(), random.data(), random.size()) != 0)
    std::printf("  decoded bytes DIFFER from the original\n");

  TOwned<TMemoryStream> source(New<TMemoryStream>());
  source->WriteBuffer(archive.data(), static_cast<std::int64_t>(archive.size()));
  TOwned<TdxZIPStreamReader> zip(New<TdxZIPStreamReader>(source.get(), false));
  const TdxZIPFileEntry entry = zip->Files().at(0);
  TOwned<TMemoryStream> target(New<TMemoryStream>());
  const double extract = Best([&] {
    target->Clear();
    zip->Extract(entry, target.get());
  });
  std::printf("  entry %s: %d bytes deflated to %d\n", entry.Name.c_str(), entry.OriginalSize, entry.PackedSize);
  Report("ZIP extract (deflate)", extract, "unzip -p", nativeUnzip);
  const double zlib = Best([&] { InflateDirectly(archive, entry); });
  Report("ZIP extract (deflate)", extract, "zlib directly", zlib);

  std::printf(GSlower ? "%d measurement(s) over 1.5x\n" : "all within 1.5x\n", GSlower);
  zip.reset();
  FinalizeUnits();
  return 0;
}
