#include "fuzzers/library_vector/SVGFuzz.h"
#include "fuzzers/support/FuzzMain.h"

#include "library/core/data/dxBase64.h"
#include "library/vector/dxSVGImage.h"
#include "platform/classes/ClassErrors.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Memory the process may hold between inputs: far above what any seed needs.
constexpr std::size_t MemoryBound = std::size_t{1536} << 20;

std::size_t ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PagefileUsage : 0;
}

}  // namespace

std::vector<std::string> SVGImportSeeds() {
  return FileSeeds(SK_RSVG_FIXTURES_DIR, {L".svg"});
}

// The input through the codec: its size from the first start tag, the
// import, the tree written out and read again, and rasters at two sizes.
void SVGImportInput(const std::string& AInput) {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(AInput.data(), static_cast<int>(AInput.size()));
  stream->SetPosition(0);
  TSize size;
  dxCodec<TdxSVGImageCodec>()->GetSize(stream.get(), size);
  TOwned<TdxSmartImageCustomHandle> loaded;
  try {
    if (!dxCodec<TdxSVGImageCodec>()->Load(stream.get(), loaded)) return;
  } catch (const EdxBase64FormatException&) {
    return;  // a data URI that is no Base64
  } catch (const EArgumentException&) {
    return;  // a character outside the Base64 alphabet
  }
  auto* handle = static_cast<TdxSVGImageHandle*>(loaded.get());
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  TdxSVGExporter::Export(handle->Root(), document.get());
  TdxSVGElementRoot* again = nullptr;
  if (!TdxSVGImporter::Import(document.get(), again)) FuzzInvariantBroken("an exported tree is no SVG");
  TOwned<TdxSVGElementRoot>{again};
  try {
    handle->GetRasterizedImage(TSize(16, 16), nullptr);
    handle->GetRasterizedImage(TSize(40, 24), nullptr);
  } catch (const EdxGdipException&) {
    // What GDI+ refuses to draw.
  }
  if (ProcessMemory() > MemoryBound) FuzzInvariantBroken("runaway memory");
}
