// Fuzzing drivers of the image codecs: each GDI+ codec's signature test and
// header parser over mutated files of its format, each input lying against
// an inaccessible page (at its end in even rounds, at its start in odd
// ones), metafiles also checked and loaded by GDI+; and the smart image over
// mutated files of every format, raster and metafile alike, measured,
// decoded, drawn, saved as they are and as PNG. A parse must end with a size
// or "size unknown" and leave the stream where it found it when it fails;
// the image may raise only the library's exceptions; an image that decodes
// keeps the size it reported before, and a metafile that plays saves as PNG.
//
// The format drivers (png, gif, jpeg, tiff, bmp, emf, wmf) mutate with the
// format mutators, so that most inputs pass the parsers and reach GDI+'s
// decoders and GDI's players.
#include "fuzzers/library_graphics/ImageCodecsFuzz.h"
#include "fuzzers/support/FuzzMain.h"

#include "fuzzers/support/FormatMutators.h"
#include "fuzzers/support/GuardedBuffer.h"
#include "tests/support/SampleMetafiles.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void FailCodec(const char* AWhat) { FuzzInvariantBroken(AWhat); }

// A read-only stream over bytes somebody else owns.
class TFuzzImageByteView : public TCustomMemoryStream {
  SK_CLASS(TFuzzImageByteView, TCustomMemoryStream)
 public:
  void Create(const char* ABytes, std::size_t ASize) {
    SetPointer(const_cast<char*>(ABytes), static_cast<std::int64_t>(ASize));
  }
  int Write(const void*, int) override { throw EStreamError(L"read only"); }
};

const TGuardedBuffer& ImageBuffer() {
  static const TGuardedBuffer buffer(1 << 20);
  return buffer;
}

// The test fixtures (tests/library_graphics/images) whose names end in one of the extensions.
std::vector<std::string> FixtureSeeds(std::initializer_list<const wchar_t*> AExtensions) {
  return FileSeeds(SK_IMAGE_FIXTURES_DIR, AExtensions, false);
}

// A metafile drawn by GDI, as an EMF file or a placeable WMF file.
std::string MetafileSeed(bool AEnhanced) {
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->SetEnhanced(AEnhanced);
  metafile->SetWidth(30);
  metafile->SetHeight(20);
  {
    TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(metafile.get(), nullptr));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(TRect(2, 2, 20, 12));
    canvas->Ellipse(TRect(10, 5, 28, 19));
  }
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  metafile->SaveToStream(stream.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

long long GImageRound = 0;

void ParseHeader(TdxSmartImageCodecClass ACodec, const std::string& AInput) {
  const std::string input = AInput.substr(0, ImageBuffer().Capacity());
  const char* bytes = ImageBuffer().Place(input, GImageRound++ % 2 == 0);
  TOwned<TFuzzImageByteView> stream(New<TFuzzImageByteView>(bytes, input.size()));
  ACodec->CanLoadStream(stream.get());
  if (stream->Position() != 0) FailCodec("the signature test moved the stream");
  TSize size;
  ACodec->GetSize(stream.get(), size);
  stream->SetPosition(0);
  TdxSmartImageCodecClass found = nullptr;
  if (!TdxSmartImageCodecsRepository::GetImageInfo(stream.get(), size, found) && stream->Position() != 0)
    FailCodec("a failed size query moved the stream");
  stream->SetPosition(0);
  TdxSmartImageCodecsRepository::GetFormatFromStream(stream.get());
  if (stream->Position() != 0) FailCodec("the signature tests moved the stream");
}

template <class TCodec>
void ParseCodecHeader(const std::string& AInput) {
  ParseHeader(dxCodec<TCodec>(), AInput);
}

// A metafile's header parse, then its records checked and the file loaded
// (not played) by GDI+.
template <class TCodec>
void LoadMetafile(const std::string& AInput) {
  ParseHeader(dxCodec<TCodec>(), AInput);
  TOwned<TFuzzImageByteView> stream(New<TFuzzImageByteView>(AInput.data(), AInput.size()));
  TOwned<TdxSmartImageCustomHandle> handle;
  if (dxCodec<TCodec>()->Load(stream.get(), handle)) handle->Size();
}

// Loaded, measured, decoded, drawn at half size and opacity, and saved as
// it is and as PNG.
void UseImage(const std::string& AInput) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  if (!AInput.empty()) stream->WriteBuffer(AInput.data(), static_cast<std::int64_t>(AInput.size()));
  stream->SetPosition(0);
  TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  TSize stated;
  try {
    image->LoadFromStream(stream.get());
    stated = image->Size();
    static const TMemoryDC surface = TMemoryDC::Dib32(nullptr, 16, 16);
    image->StretchDraw(surface.DC(), TRect(0, 0, 8, 8), 128);
  } catch (const Exception&) {
    return;
  }
  // Decoded: what the header told is what the image is.
  if (image->Size() != stated) {
    std::fwprintf(stderr, L"stated %d x %d, decoded %d x %d\n", stated.cx, stated.cy, image->Size().cx, image->Size().cy);
    FailCodec("the size changed when the image was decoded");
  }
  try {
    image->IsAlphaUsed();
    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    image->SaveToStream(saved.get());
  } catch (const Exception&) {
  }
  // A damaged raster file may decode enough to draw and not enough to save;
  // a metafile that plays always draws on a bitmap.
  TOwned<TMemoryStream> png(New<TMemoryStream>());
  try {
    image->SaveToStreamByCodec(png.get(), dxImagePng);
  } catch (const EdxException&) {
    const TSize size = image->Size();
    if ((image->ImageDataFormat() == dxImageEmf || image->ImageDataFormat() == dxImageWmf) && size.cx > 0 && size.cy > 0)
      FailCodec("a metafile that plays does not save as PNG");
  } catch (const Exception&) {
  }
}

}  // namespace

std::vector<std::string> BmpSeeds() { return FixtureSeeds({L".bmp"}); }
std::vector<std::string> PngSeeds() { return FixtureSeeds({L".png"}); }
std::vector<std::string> TiffSeeds() { return FixtureSeeds({L".tif"}); }
std::vector<std::string> GifSeeds() { return FixtureSeeds({L".gif"}); }
std::vector<std::string> JpegSeeds() { return FixtureSeeds({L".jpg"}); }
std::vector<std::string> EmfSeeds() {
  std::vector<std::string> seeds = {MetafileSeed(true)};
  for (const TSampleMetafile& sample : SampleMetafiles()) seeds.push_back(sample.Emf);
  return seeds;
}
std::vector<std::string> WmfSeeds() {
  std::vector<std::string> seeds = {MetafileSeed(false)};
  for (const TSampleMetafile& sample : SampleMetafiles()) seeds.push_back(sample.Wmf);
  return seeds;
}
std::vector<std::string> ImageSeeds() { return FixtureSeeds({L".bmp", L".png", L".tif", L".gif", L".jpg"}); }

void ParseBmpHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecBMP>(AInput); }
void ParseMemoryBitmapHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecMemoryBitmap>(AInput); }
void ParsePngHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecPNG>(AInput); }
void ParseTiffHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecTIFF>(AInput); }
void ParseGifHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecGIF>(AInput); }
void ParseJpegHeader(const std::string& AInput) { ParseCodecHeader<TdxGPImageCodecJPEG>(AInput); }
void ParseEmfHeader(const std::string& AInput) { LoadMetafile<TdxGPImageCodecEMF>(AInput); }
void ParseWmfHeader(const std::string& AInput) { LoadMetafile<TdxGPImageCodecWMF>(AInput); }
void LoadSmartImage(const std::string& AInput) { UseImage(AInput); }
