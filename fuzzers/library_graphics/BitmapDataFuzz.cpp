#include "fuzzers/library_graphics/BitmapDataFuzz.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/classes/ClassErrors.h"
#include "platform/classes/Streams.h"

#include <cstring>

namespace {

// The form data of a bitmap, read and written as the form reader does.
class TFuzzedFormBitmap : public TcxBitmap {
  SK_CLASS(TFuzzedFormBitmap, TcxBitmap)
 public:
  using TcxBitmap::ReadData;
  using TcxBitmap::WriteData;
};

TOwned<TFuzzedFormBitmap> NewFuzzedBitmap(int AWidth, int AHeight, TPixelFormat AFormat) {
  return TOwned<TFuzzedFormBitmap>(
      NewWith<TFuzzedFormBitmap>([&](TFuzzedFormBitmap* b) { b->CreateSize(AWidth, AHeight, AFormat); }));
}

std::string Written(TFuzzedFormBitmap* ABitmap) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  ABitmap->WriteData(stream.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

// Everything a reader can see of a bitmap (an empty one stores no format).
std::string Picture(TBitmap* ABitmap) {
  if (ABitmap->Empty()) return "empty";
  std::string result = std::to_string(ABitmap->Width()) + "x" + std::to_string(ABitmap->Height()) + "/" +
                       std::to_string(static_cast<int>(ABitmap->PixelFormat())) + ":";
  const int bytes = (ABitmap->Width() * PixelFormatBits(ABitmap->PixelFormat()) + 7) / 8;
  for (int y = 0; y < ABitmap->Height(); ++y)
    result.append(static_cast<const char*>(ABitmap->ScanLine(y)), static_cast<std::size_t>(bytes));
  return result;
}

// Reads AData; false when the data was rejected with a documented error.
bool ReadInto(TFuzzedFormBitmap* ABitmap, const std::string& AData) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  if (!AData.empty()) stream->WriteBuffer(AData.data(), static_cast<std::int64_t>(AData.size()));
  stream->SetPosition(0);
  try {
    ABitmap->ReadData(stream.get());
    return true;
  } catch (const EReadError&) {
  } catch (const EInvalidGraphic&) {
  } catch (const EOutOfResources&) {
  }
  return false;
}

std::vector<std::string> WrittenSeeds(bool ACompressed) {
  std::vector<std::string> seeds;
  const TPixelFormat formats[] = {pf32bit, pf24bit, pf16bit, pf8bit, pf1bit};
  int size = 3;
  for (TPixelFormat format : formats) {
    TOwned<TFuzzedFormBitmap> bitmap = NewFuzzedBitmap(size, size + 1, format);
    FillRectWithColor(bitmap->Canvas()->Handle(), TRect(0, 0, size, 1), clRed);
    FillRectWithColor(bitmap->Canvas()->Handle(), TRect(1, 1, size, size + 1), TColor(0x336699));
    bitmap->SetCompressData(ACompressed);
    seeds.push_back(Written(bitmap.get()));
    size += 2;
  }
  return seeds;
}

}  // namespace

// ---------------------------------------------------------------------------
// Form data: any bytes. A rejected input leaves the bitmap as it was; an
// accepted one writes compressed and reads back to the same bitmap.

void BitmapFormDataInput(const std::string& AInput) {
  TOwned<TFuzzedFormBitmap> bitmap = NewFuzzedBitmap(2, 3, pf24bit);
  FillRectWithColor(bitmap->Canvas()->Handle(), TRect(0, 0, 2, 3), clBlue);
  const std::string before = Picture(bitmap.get());
  if (!ReadInto(bitmap.get(), AInput)) {
    if (Picture(bitmap.get()) != before) FuzzInvariantBroken("rejected data changed the bitmap");
    return;
  }
  bitmap->SetCompressData(true);
  const std::string written = Written(bitmap.get());
  TOwned<TFuzzedFormBitmap> again = NewFuzzedBitmap(1, 1, pf32bit);
  if (!ReadInto(again.get(), written)) FuzzInvariantBroken("written data does not read back");
  if (Picture(again.get()) != Picture(bitmap.get())) FuzzInvariantBroken("written data reads back different");
}

std::vector<std::string> BitmapFormDataSeeds() {
  std::vector<std::string> seeds = WrittenSeeds(true);
  const std::vector<std::string> plain = WrittenSeeds(false);
  seeds.insert(seeds.end(), plain.begin(), plain.end());
  return seeds;
}

// ---------------------------------------------------------------------------
// Payloads: a method byte, then the payload. Decoded data compresses and
// decodes back to itself; anything else is the read error.

void BitmapPayloadInput(const std::string& AInput) {
  if (AInput.empty()) return;
  const auto method = static_cast<std::int16_t>(static_cast<unsigned char>(AInput[0]) % 4);
  const std::span<const std::uint8_t> payload(reinterpret_cast<const std::uint8_t*>(AInput.data()) + 1,
                                              AInput.size() - 1);
  std::vector<std::uint8_t> plain;
  try {
    plain = DecompressBitmapData(payload, method);
  } catch (const EReadError&) {
    return;
  }
  for (int blockSize = 1; blockSize <= 4; ++blockSize) {
    const std::vector<std::uint8_t> compressed = CompressBitmapData(plain, blockSize);
    std::int16_t written = 0;
    std::memcpy(&written, compressed.data() + 8, 2);
    if (DecompressBitmapData(std::span(compressed).subspan(10), written) != plain)
      FuzzInvariantBroken("compressed data decodes to something else");
  }
}

std::vector<std::string> BitmapPayloadSeeds() {
  std::vector<std::string> seeds;
  for (const std::string& data : WrittenSeeds(true)) seeds.push_back(std::string(1, '\x02') + data.substr(10));
  seeds.push_back(std::string("\x01\x84\x04\x00\x00\x00\x03\x41", 8) + "BCD");
  return seeds;
}
