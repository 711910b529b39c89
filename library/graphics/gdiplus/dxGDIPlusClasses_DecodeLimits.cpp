// What GDI+ is given to decode: files whose headers state no more than the
// library decodes. GDI+ allocates what a header states before it reads a
// pixel, so a file of a few bytes can ask for gigabytes; the headers are read
// here first (every format GDI+ reads, whichever codec was asked) and a file
// that states more than dxMaxDecodedImageBytes of decoded pixels, more than
// dxMaxImageFrames frames or pages, or more metadata than the bounds below is
// refused as no image. Metafiles go to the record checks of
// dxGDIPlusClasses_Metafiles.cpp.
//
// Each reader walks forward through the bytes only and stops at their end:
// a file cut short is left to GDI+, which reports it.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>

namespace {

// PNG text chunks: WIC reads each into the image's metadata, in time that
// grows faster than their number; real files carry a few.
constexpr std::uint64_t MaxPngTextChunks = 1024;
// Compressed text and profiles inflate when read: their packed size is bounded.
constexpr std::uint64_t MaxPngMetadataBytes = std::uint64_t{1} << 20;
// The chunks other than the image data (which may come in any number of pieces).
constexpr std::uint64_t MaxPngOtherChunks = 4096;

class TImageBytes {
 public:
  explicit TImageBytes(std::span<const std::uint8_t> AData) : FData(AData) {}
  std::size_t Size() const { return FData.size(); }
  bool Has(std::uint64_t AAt, std::uint64_t ACount) const { return AAt <= FData.size() && ACount <= FData.size() - AAt; }
  std::uint8_t U8(std::size_t AAt) const { return FData[AAt]; }
  std::uint16_t Le16(std::size_t AAt) const { return static_cast<std::uint16_t>(FData[AAt] | FData[AAt + 1] << 8); }
  std::uint32_t Le32(std::size_t AAt) const { return Le16(AAt) | std::uint32_t{Le16(AAt + 2)} << 16; }
  std::uint16_t Be16(std::size_t AAt) const { return static_cast<std::uint16_t>(FData[AAt] << 8 | FData[AAt + 1]); }
  std::uint32_t Be32(std::size_t AAt) const { return std::uint32_t{Be16(AAt)} << 16 | Be16(AAt + 2); }
  bool Starts(std::initializer_list<std::uint8_t> ASignature) const {
    return FData.size() >= ASignature.size() && std::equal(ASignature.begin(), ASignature.end(), FData.begin());
  }
  std::span<const std::uint8_t> Sub(std::size_t AAt, std::size_t ACount) const { return FData.subspan(AAt, ACount); }

 private:
  std::span<const std::uint8_t> FData;
};

bool WithinBytes(std::uint64_t AWidth, std::uint64_t AHeight, std::uint64_t ABytesPerPixel) {
  // Each factor is below 2^32: the product of the first two cannot overflow.
  const std::uint64_t pixels = AWidth * AHeight;
  return pixels <= dxMaxDecodedImageBytes / ABytesPerPixel;
}

bool PngWithinBounds(const TImageBytes& B) {
  // IHDR: width, height, bit depth, colour type.
  if (!B.Has(8, 25) || B.Be32(8) != 13 || std::memcmp(B.Sub(12, 4).data(), "IHDR", 4) != 0) return true;
  const std::uint64_t width = B.Be32(16), height = B.Be32(20);
  const int depth = B.U8(24);
  if (!WithinBytes(width, height, depth == 16 ? 8 : 4)) return false;
  std::uint64_t texts = 0, metadata = 0, others = 0;
  for (std::uint64_t at = 8; B.Has(at, 12);) {
    const std::uint64_t length = B.Be32(static_cast<std::size_t>(at));
    const auto type = B.Sub(static_cast<std::size_t>(at + 4), 4);
    const auto is = [&](const char* AType) { return std::memcmp(type.data(), AType, 4) == 0; };
    if (is("IEND")) break;
    if (!is("IDAT") && ++others > MaxPngOtherChunks) return false;
    if (is("tEXt") || is("zTXt") || is("iTXt")) {
      if (++texts > MaxPngTextChunks) return false;
      if (!is("tEXt") && (metadata += length) > MaxPngMetadataBytes) return false;
    }
    if (is("iCCP") && (metadata += length) > MaxPngMetadataBytes) return false;
    at += 12 + length;
  }
  return true;
}

bool JpegWithinBounds(const TImageBytes& B) {
  // The frame headers before the first scan; progressive frames keep every
  // coefficient (16 bits a sample) beside the pixels while they decode.
  for (std::size_t at = 2; B.Has(at, 4);) {
    if (B.U8(at) != 0xFF) return true;
    const std::uint8_t marker = B.U8(at + 1);
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      at += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return true;
    const std::size_t length = B.Be16(at + 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && B.Has(at + 4, 6)) {
      const std::uint64_t height = B.Be16(at + 5), width = B.Be16(at + 7), components = B.U8(at + 9);
      const bool progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
      // A height of 0 is stated later, after the data: no bound before decoding.
      if (height == 0 || !WithinBytes(width, height, 4 + (progressive ? 2 * components : 0))) return false;
    }
    if (length < 2) return true;
    at += 2 + length;
  }
  return true;
}

// The end of the sub-blocks at AAt (a zero length ends them); 0 when they run past the end.
std::size_t SkipGifSubBlocks(const TImageBytes& B, std::size_t AAt) {
  while (B.Has(AAt, 1)) {
    const std::size_t length = B.U8(AAt);
    if (length == 0) return AAt + 1;
    AAt += 1 + length;
  }
  return 0;
}

bool GifWithinBounds(const TImageBytes& B) {
  if (!B.Has(0, 13)) return true;
  // GDI+ composes every frame on a canvas of the screen's size, or the frame's where it reaches further.
  std::uint64_t width = B.Le16(6), height = B.Le16(8), frames = 0, framePixels = 0;
  std::size_t at = 13 + ((B.U8(10) & 0x80) ? std::size_t{3} << ((B.U8(10) & 7) + 1) : 0);
  while (B.Has(at, 1)) {
    const std::uint8_t kind = B.U8(at);
    if (kind == 0x21) {
      if (!B.Has(at, 2) || !(at = SkipGifSubBlocks(B, at + 2))) break;
    } else if (kind == 0x2C) {
      if (!B.Has(at, 11) || ++frames > dxMaxImageFrames) return frames <= dxMaxImageFrames;
      // GDI+ under Wine keeps every frame decoded: all of them count.
      framePixels += std::uint64_t{B.Le16(at + 5)} * B.Le16(at + 7);
      if (framePixels > dxMaxDecodedImageBytes / 4) return false;
      width = std::max<std::uint64_t>(width, std::uint64_t{B.Le16(at + 1)} + B.Le16(at + 5));
      height = std::max<std::uint64_t>(height, std::uint64_t{B.Le16(at + 3)} + B.Le16(at + 7));
      const std::uint8_t flags = B.U8(at + 9);
      const std::size_t data = at + 10 + ((flags & 0x80) ? std::size_t{3} << ((flags & 7) + 1) : 0) + 1;
      if (!(at = SkipGifSubBlocks(B, data))) break;
    } else {
      break;
    }
  }
  return WithinBytes(width, height, 4);
}

bool TiffWithinBounds(const TImageBytes& B) {
  const bool big = B.Starts({'M', 'M'});
  const auto u16 = [&](std::size_t AAt) { return big ? B.Be16(AAt) : B.Le16(AAt); };
  const auto u32 = [&](std::size_t AAt) { return big ? B.Be32(AAt) : B.Le32(AAt); };
  // Bytes of each field type; the others are skipped.
  static constexpr std::uint8_t TypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  std::set<std::uint64_t> seen;
  for (std::uint64_t directory = B.Has(4, 4) ? u32(4) : 0; directory != 0 && B.Has(directory, 2);) {
    // A chain that comes back to a directory would be walked for ever.
    if (!seen.insert(directory).second || seen.size() > dxMaxImageFrames) return false;
    const std::size_t first = static_cast<std::size_t>(directory) + 2;
    const std::size_t count = u16(static_cast<std::size_t>(directory));
    if (!B.Has(first, count * 12 + 4)) return true;
    std::uint64_t width = 0, height = 0, bits = 8;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t entry = first + i * 12;
      const std::uint16_t tag = u16(entry), type = u16(entry + 2);
      const std::uint64_t values = u32(entry + 4);
      const std::uint64_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
      // Values that do not fit the entry lie elsewhere in the file, all of them.
      if (type < std::size(TypeSizes) && TypeSizes[type] != 0) {
        const std::uint64_t bytes = values * TypeSizes[type];
        if (bytes > 4 && !B.Has(u32(entry + 8), bytes)) return false;
      }
      if (tag == 256) width = value;
      if (tag == 257) height = value;
      if (tag == 258) {
        // One depth per sample; beyond two they lie elsewhere.
        const std::uint64_t at = u32(entry + 8);
        bits = values <= 2 ? value : B.Has(at, 2) ? u16(static_cast<std::size_t>(at)) : 8;
      }
    }
    if (!WithinBytes(width, height, bits > 8 ? 8 : 4)) return false;
    directory = u32(first + count * 12);
  }
  return true;
}

bool BmpWithinBounds(const TImageBytes& B) {
  if (!B.Has(14, 16)) return true;
  const std::uint32_t header = B.Le32(14);
  const std::int64_t width = header == 12 ? B.Le16(18) : static_cast<std::int32_t>(B.Le32(18));
  const std::int64_t height = header == 12 ? B.Le16(20) : static_cast<std::int32_t>(B.Le32(22));
  return width >= 0 && WithinBytes(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(std::abs(height)), 4);
}

bool IconWithinBounds(const TImageBytes& B) {
  const std::size_t count = B.Has(4, 2) ? B.Le16(4) : 0;
  for (std::size_t i = 0; i < count && B.Has(6 + i * 16, 16); ++i) {
    const std::uint64_t size = B.Le32(6 + i * 16 + 8), offset = B.Le32(6 + i * 16 + 12);
    if (!B.Has(offset, size)) return false;
    // Each image is a PNG file or a DIB without its file header.
    const TImageBytes image(B.Sub(static_cast<std::size_t>(offset), static_cast<std::size_t>(size)));
    if (image.Starts({0x89, 'P', 'N', 'G'}) && !PngWithinBounds(image)) return false;
    if (image.Has(0, 12)) {
      const std::int64_t width = static_cast<std::int32_t>(image.Le32(4)), height = static_cast<std::int32_t>(image.Le32(8));
      if (!image.Starts({0x89}) && (width < 0 || !WithinBytes(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(std::abs(height)), 4)))
        return false;
    }
  }
  return true;
}

}  // namespace

bool dxIsSafeToDecode(std::span<const std::uint8_t> AData) {
  const TImageBytes bytes(AData);
  if (dxIsMetafileData(AData)) return dxIsPlayableMetafile(AData);
  if (bytes.Starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return PngWithinBounds(bytes);
  if (bytes.Starts({0xFF, 0xD8})) return JpegWithinBounds(bytes);
  if (bytes.Starts({'G', 'I', 'F', '8'})) return GifWithinBounds(bytes);
  if (bytes.Starts({'I', 'I', '*', 0}) || bytes.Starts({'M', 'M', 0, '*'})) return TiffWithinBounds(bytes);
  if (bytes.Starts({'B', 'M'})) return BmpWithinBounds(bytes);
  if (bytes.Starts({0, 0, 1, 0}) || bytes.Starts({0, 0, 2, 0})) return IconWithinBounds(bytes);
  return true;
}
