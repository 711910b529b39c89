#include "fuzzers/library_vector/SVGFuzz.h"

#include "library/core/dxBase64.h"
#include "library/vector/dxSVGCore.h"
#include "platform/classes/ClassErrors.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Memory the process may hold between inputs: far above what any seed needs.
constexpr std::size_t MemoryBound = std::size_t{1536} << 20;

class TFuzzSVGDocument : public TdxXMLDocument {
  SK_CLASS(TFuzzSVGDocument, TdxXMLDocument)
 public:
  using TdxXMLDocument::ParseBuffer;
};

std::string FileBytes(const String& APath) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->LoadFromFile(APath);
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

void CollectSVGFiles(const String& AFolder, std::vector<std::string>& ASeeds) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((AFolder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const String name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CollectSVGFiles(AFolder + L"\\" + name, ASeeds);
    else if (EndsText(L".svg", name))
      ASeeds.push_back(FileBytes(AFolder + L"\\" + name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

std::size_t ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PagefileUsage : 0;
}

// A premultiplied 32-bit GDI+ bitmap with a canvas.
struct TFuzzSurface {
  std::vector<std::uint32_t> Pixels = std::vector<std::uint32_t>(32 * 32);
  TdxGpOwnedImage Bitmap;
  TOwned<TdxGPCanvas> Canvas;
  TFuzzSurface() {
    GpBitmap* bitmap = nullptr;
    CheckGdipStatus(GdipCreateBitmapFromScan0(32, 32, 32 * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(Pixels.data()), &bitmap));
    Bitmap.Reset(bitmap);
    GpGraphics* graphics = nullptr;
    CheckGdipStatus(GdipGetImageGraphicsContext(Bitmap.Get(), &graphics));
    Canvas.reset(New<TdxGPCanvas>(graphics));
  }
};

void Draw(TdxSVGElementRoot* ARoot) {
  TFuzzSurface surface;
  surface.Canvas->SetSmoothingMode(smAntiAlias);
  const TOwned<TdxSVGRenderer> renderer(New<TdxSVGRenderer>(surface.Canvas.get(), nullptr));
  try {
    ARoot->Draw(renderer.get(), TdxRectF(0, 0, 32, 32));
  } catch (const EArgumentException&) {
    // A percentage size without a view box, which drawing cannot place.
  } catch (const EdxGdipException&) {
    // What GDI+ refuses to draw.
  }
}

}  // namespace

std::vector<std::string> SVGImportSeeds() {
  String folder = L"Z:" + dxXMLStringToString(SK_RSVG_FIXTURES_DIR);
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  std::vector<std::string> seeds;
  CollectSVGFiles(folder, seeds);
  return seeds;
}

void SVGImportInput(const std::string& AInput) {
  TOwned<TFuzzSVGDocument> document(New<TFuzzSVGDocument>(nullptr));
  document->ParseBuffer(AInput.data(), AInput.size());
  TSize size;
  TdxSVGImporter::GetSize(document.get(), size);
  TdxSVGElementRoot* imported = nullptr;
  try {
    if (!TdxSVGImporter::Import(document.get(), imported)) return;
  } catch (const EdxBase64FormatException&) {
    return;  // a data URI that is no Base64
  } catch (const EArgumentException&) {
    return;  // a character outside the Base64 alphabet
  }
  const TOwned<TdxSVGElementRoot> root(imported);
  TdxSVGExporter::Export(root.get(), document.get());
  TdxSVGElementRoot* again = nullptr;
  if (!TdxSVGImporter::Import(document.get(), again)) FuzzInvariantBroken("an exported tree is no SVG");
  TOwned<TdxSVGElementRoot>{again};
  Draw(root.get());
  if (ProcessMemory() > MemoryBound) FuzzInvariantBroken("runaway memory");
}
