#include "fuzzers/support/FormatMutators.h"

#include "fuzzers/support/Mutator.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Sizes, counts and indexes that readers get wrong: the edges of the integer
// types, and values just big enough to cost gigabytes.
constexpr std::uint32_t Extremes32[] = {0,          1,          2,          3,          0x7FFFFFFF, 0x80000000,
                                        0xFFFFFFFF, 0xFFFF,     0x10000,    131084,     16384,      30000,
                                        64250,      0x7FFFFFF0, 0x40000000, 0xFFFFFFFE, 100000,     50000000};
constexpr std::uint16_t Extremes16[] = {0, 1, 2, 0x7FFF, 0x8000, 0xFFFF, 0xFFFE, 255, 256, 16384, 30000, 64250};

std::uint32_t Le(const std::string& S, std::size_t AAt, int ABytes) {
  std::uint32_t v = 0;
  for (int i = ABytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(S[AAt + static_cast<std::size_t>(i)]);
  return v;
}
void PutLe(std::string& S, std::size_t AAt, std::uint32_t AValue, int ABytes) {
  for (int i = 0; i < ABytes && AAt + static_cast<std::size_t>(i) < S.size(); ++i)
    S[AAt + static_cast<std::size_t>(i)] = static_cast<char>(AValue >> (8 * i));
}
std::uint32_t Be32(const std::string& S, std::size_t AAt) {
  return std::uint32_t{static_cast<std::uint8_t>(S[AAt])} << 24 | std::uint32_t{static_cast<std::uint8_t>(S[AAt + 1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(S[AAt + 2])} << 8 | static_cast<std::uint8_t>(S[AAt + 3]);
}
std::string Be32Bytes(std::uint32_t AValue) {
  return {static_cast<char>(AValue >> 24), static_cast<char>(AValue >> 16), static_cast<char>(AValue >> 8),
          static_cast<char>(AValue)};
}

std::string Inflate(const std::string& AData, std::size_t ALimit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  std::string out;
  char buffer[16384];
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(AData.data()));
  z.avail_in = static_cast<uInt>(AData.size());
  int result = Z_OK;
  while (result == Z_OK && out.size() < ALimit) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
    if (z.avail_out == sizeof buffer) break;
  }
  inflateEnd(&z);
  return out;
}

std::string Deflate(const std::string& AData) {
  uLongf size = compressBound(static_cast<uLong>(AData.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(AData.data()),
                static_cast<uLong>(AData.size()), 6) != Z_OK)
    return {};
  out.resize(size);
  return out;
}

// Some bytes of AData changed, some grown: what an encoder never writes.
void DamageBytes(TFuzzMutator& M, std::string& AData) {
  if (AData.empty()) return;
  switch (M.Below(3)) {
    case 0:
      for (int i = 0, n = 1 + static_cast<int>(M.Below(8)); i < n; ++i)
        AData[M.Below(AData.size())] = static_cast<char>(M.Below(256));
      break;
    case 1: AData.append(M.Below(1 << 16), static_cast<char>(M.Below(2) ? 0 : M.Below(256))); break;
    default: AData.resize(M.Below(AData.size())); break;
  }
}

// ---------------------------------------------------------------------------
// PNG

struct TPngChunk {
  std::string Type;
  std::string Data;
};

bool ParsePng(const std::string& S, std::vector<TPngChunk>& AChunks) {
  if (S.size() < 8 || S.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
  for (std::size_t at = 8; at + 12 <= S.size();) {
    const std::uint32_t length = Be32(S, at);
    if (length > S.size() - at - 12) return false;
    AChunks.push_back({S.substr(at + 4, 4), S.substr(at + 8, length)});
    at += 12 + length;
  }
  return !AChunks.empty() && AChunks[0].Type == "IHDR" && AChunks[0].Data.size() == 13;
}

std::string WritePng(const std::vector<TPngChunk>& AChunks) {
  std::string out = "\x89PNG\r\n\x1a\n";
  for (const TPngChunk& c : AChunks) {
    out += Be32Bytes(static_cast<std::uint32_t>(c.Data.size())) + c.Type + c.Data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(c.Type.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(c.Data.data()), static_cast<uInt>(c.Data.size()));
    out += Be32Bytes(static_cast<std::uint32_t>(crc));
  }
  return out;
}

}  // namespace

std::string MutatePng(TFuzzMutator& M, const std::string& ASeed) {
  std::vector<TPngChunk> chunks;
  if (!ParsePng(ASeed, chunks)) return M.Mutate(ASeed);
  std::string& header = chunks[0].Data;
  switch (M.Below(6)) {
    case 0: {  // sizes
      static constexpr std::uint32_t sizes[] = {0, 1, 16384, 30000, 64250, 12000, 0x7FFFFFFF, 0x80000000, 65535, 8193};
      const std::uint32_t w = M.Pick(sizes), h = M.Below(2) ? w : M.Pick(sizes);
      header.replace(0, 8, Be32Bytes(w) + Be32Bytes(h));
      break;
    }
    case 1: {  // depth, colour type, interlace
      static constexpr std::uint8_t depths[] = {1, 2, 4, 8, 16, 0, 3, 32};
      static constexpr std::uint8_t types[] = {0, 2, 3, 4, 6, 1, 7};
      header[8] = static_cast<char>(M.Pick(depths));
      if (M.Below(2)) header[9] = static_cast<char>(M.Pick(types));
      if (M.Below(4) == 0) header[12] = static_cast<char>(M.Below(3));
      break;
    }
    case 2: {  // the image data, inflated, edited and deflated again
      std::string packed;
      std::size_t first = chunks.size();
      for (std::size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].Type == "IDAT") {
          packed += chunks[i].Data;
          first = std::min(first, i);
        }
      if (first == chunks.size()) break;
      std::string data = Inflate(packed, 1 << 24);
      DamageBytes(M, data);
      std::vector<TPngChunk> rest;
      for (std::size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].Type != "IDAT" || i == first) rest.push_back(chunks[i]);
      rest[first].Data = Deflate(data);
      chunks = std::move(rest);
      break;
    }
    case 3: {  // text chunks by the thousand
      const TPngChunk text{M.Below(2) ? "tEXt" : "zTXt",
                           M.Below(2) ? std::string("Comment\0fuzz", 12) : std::string("Comment\0\0x\x9c\x03\x00", 12)};
      chunks.insert(chunks.begin() + 1, static_cast<std::size_t>(1 + M.Below(M.Below(2) ? 100 : 20000)), text);
      break;
    }
    case 4: {  // a chunk doubled or dropped
      const std::size_t i = 1 + M.Below(chunks.size() - 1);
      if (i >= chunks.size()) break;
      if (M.Below(2))
        chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(i), chunks[i]);
      else
        chunks.erase(chunks.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
    default: {  // a chunk's bytes
      TPngChunk& c = chunks[M.Below(chunks.size())];
      if (&c != &chunks[0]) DamageBytes(M, c.Data);
      else header[M.Below(13)] = static_cast<char>(M.Below(256));
      break;
    }
  }
  return WritePng(chunks);
}

// ---------------------------------------------------------------------------
// GIF

namespace {

// The end of the sub-blocks that start at AAt; npos when they run past the end.
std::size_t SkipSubBlocks(const std::string& S, std::size_t AAt) {
  while (AAt < S.size()) {
    const std::size_t n = static_cast<std::uint8_t>(S[AAt]);
    if (n == 0) return AAt + 1;
    AAt += n + 1;
  }
  return std::string::npos;
}

struct TGifBlock {
  std::size_t Start, End;
  bool Image;
};

bool ParseGif(const std::string& S, std::vector<TGifBlock>& ABlocks, std::size_t& ABody) {
  if (S.size() < 13 || S.compare(0, 3, "GIF") != 0) return false;
  std::size_t at = 13;
  const std::uint8_t flags = static_cast<std::uint8_t>(S[10]);
  if (flags & 0x80) at += 3u << ((flags & 7) + 1);
  ABody = at;
  while (at < S.size()) {
    const std::uint8_t kind = static_cast<std::uint8_t>(S[at]);
    std::size_t end;
    if (kind == 0x21) {
      if (at + 2 > S.size()) return false;
      end = SkipSubBlocks(S, at + 2);
    } else if (kind == 0x2C) {
      if (at + 10 > S.size()) return false;
      const std::uint8_t local = static_cast<std::uint8_t>(S[at + 9]);
      std::size_t data = at + 10 + ((local & 0x80) ? 3u << ((local & 7) + 1) : 0) + 1;
      end = SkipSubBlocks(S, data);
    } else {
      break;
    }
    if (end == std::string::npos) return false;
    ABlocks.push_back({at, end, kind == 0x2C});
    at = end;
  }
  return !ABlocks.empty();
}

}  // namespace

std::string MutateGif(TFuzzMutator& M, const std::string& ASeed) {
  std::vector<TGifBlock> blocks;
  std::size_t body = 0;
  if (!ParseGif(ASeed, blocks, body)) return M.Mutate(ASeed);
  std::string out = ASeed;
  const TGifBlock& block = blocks[M.Below(blocks.size())];
  switch (M.Below(6)) {
    case 0:  // the screen
      PutLe(out, 6, M.Pick(Extremes16), 2);
      PutLe(out, 8, M.Below(2) ? Le(out, 6, 2) : M.Pick(Extremes16), 2);
      break;
    case 1:  // a frame's place and size
      if (block.Image) PutLe(out, block.Start + 1 + 2 * M.Below(4), M.Pick(Extremes16), 2);
      break;
    case 2: {  // frames (with their control blocks) by the thousand
      std::size_t from = block.Start;
      if (block.Image && &block != &blocks[0] && !(&block - 1)->Image) from = (&block - 1)->Start;
      const std::string frame = ASeed.substr(from, block.End - from);
      std::string many;
      for (std::size_t i = 0, n = 1 + M.Below(M.Below(2) ? 50 : 8000); i < n; ++i) many += frame;
      out.insert(block.End, many);
      break;
    }
    case 3: {  // the LZW data or an extension's bytes
      const std::size_t from = block.Start + (block.Image ? 10 : 2);
      if (from < block.End) out[from + M.Below(block.End - from)] = static_cast<char>(M.Below(256));
      break;
    }
    case 4:  // no trailer, or the data cut
      out.resize(M.Below(2) ? blocks.back().End : block.Start + M.Below(block.End - block.Start));
      break;
    default:  // a delay, a loop count, a disposal
      out[block.Start + 2 + M.Below(block.End - block.Start - 2)] = static_cast<char>(M.Pick(Extremes16));
      break;
  }
  return out;
}

// ---------------------------------------------------------------------------
// JPEG

std::string MutateJpeg(TFuzzMutator& M, const std::string& ASeed) {
  // The segments before the scan: marker and length.
  std::vector<std::size_t> segments;
  for (std::size_t at = 2; at + 4 <= ASeed.size() && static_cast<std::uint8_t>(ASeed[at]) == 0xFF;) {
    const std::uint8_t marker = static_cast<std::uint8_t>(ASeed[at + 1]);
    segments.push_back(at);
    if (marker == 0xDA) break;
    at += 2 + (static_cast<std::uint8_t>(ASeed[at + 2]) << 8 | static_cast<std::uint8_t>(ASeed[at + 3]));
  }
  if (segments.empty()) return M.Mutate(ASeed);
  std::string out = ASeed;
  std::size_t frame = std::string::npos;
  for (std::size_t at : segments) {
    const std::uint8_t marker = static_cast<std::uint8_t>(ASeed[at + 1]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) frame = at;
  }
  const std::size_t segment = segments[M.Below(segments.size())];
  switch (M.Below(4)) {
    case 0:
      if (frame != std::string::npos && frame + 9 <= out.size()) {
        const std::uint16_t size = M.Pick(Extremes16);
        out[frame + 5] = static_cast<char>(size >> 8);
        out[frame + 6] = static_cast<char>(size);
        if (M.Below(2)) out.replace(frame + 7, 2, out.substr(frame + 5, 2));
        if (M.Below(3) == 0) out[frame + 1] = static_cast<char>(M.Pick({0xC0, 0xC1, 0xC2, 0xC3, 0xC9, 0xCA}));
      }
      break;
    case 1: {
      const std::uint16_t length = M.Pick(Extremes16);
      out[segment + 2] = static_cast<char>(length >> 8);
      out[segment + 3] = static_cast<char>(length);
      break;
    }
    case 2: {
      const std::size_t end = segment == segments.back() ? out.size() : *(std::find(segments.begin(), segments.end(), segment) + 1);
      const std::string copy = ASeed.substr(segment, end - segment);
      for (std::size_t i = 0, n = 1 + M.Below(200); i < n; ++i) out.insert(segment, copy);
      break;
    }
    default: {
      std::string scan = out.substr(segments.back());
      DamageBytes(M, scan);
      out = out.substr(0, segments.back()) + scan;
      break;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// TIFF

std::string MutateTiff(TFuzzMutator& M, const std::string& ASeed) {
  if (ASeed.size() < 8 || ASeed.compare(0, 2, "II") != 0) return M.Mutate(ASeed);
  std::string out = ASeed;
  const std::uint32_t directory = Le(out, 4, 4);
  if (directory + 2 > out.size()) return M.Mutate(ASeed);
  const std::uint32_t count = Le(out, directory, 2);
  if (count == 0 || directory + 2 + 12 * std::size_t{count} > out.size()) return M.Mutate(ASeed);
  const std::size_t entry = directory + 2 + 12 * M.Below(count);
  switch (M.Below(3)) {
    case 0: PutLe(out, entry + 8, M.Pick(Extremes32), Le(out, entry + 2, 2) == 3 ? 2 : 4); break;
    case 1: PutLe(out, entry + 4, M.Pick(Extremes32), 4); break;
    default: PutLe(out, entry + 2, M.Below(13), 2); break;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Metafiles

namespace {

struct TRecordLayout {
  std::size_t First;      // where the records start
  int SizeUnit;           // bytes per unit of a record's size field
  int FieldBytes;         // the width of the fields mutated
  std::size_t TypeField;  // of the record's type
  std::size_t Fields;     // where a record's own fields start
};

std::vector<std::size_t> Records(const std::string& S, const TRecordLayout& L) {
  std::vector<std::size_t> result;
  for (std::size_t at = L.First; at + L.Fields <= S.size();) {
    const std::uint64_t size = std::uint64_t{Le(S, at, 4)} * static_cast<std::uint64_t>(L.SizeUnit);
    if (size < L.Fields || size > S.size() - at) break;
    result.push_back(at);
    at += static_cast<std::size_t>(size);
  }
  return result;
}

std::string MutateRecords(TFuzzMutator& M, const std::string& ASeed, const TRecordLayout& L,
                          std::initializer_list<std::uint32_t> ATypes) {
  std::vector<std::size_t> records = Records(ASeed, L);
  if (records.size() < 2) return M.Mutate(ASeed);
  std::string out = ASeed;
  // Never the last record: it ends the file.
  const std::size_t index = M.Below(records.size() - 1);
  const std::size_t at = records[index], end = records[index + 1];
  switch (M.Below(5)) {
    case 0:
    case 1: {  // one field of the record, or a few
      for (std::size_t i = 0, n = 1 + M.Below(3); i < n && end > at + L.Fields; ++i) {
        const std::size_t field = at + L.Fields + M.Below((end - at - L.Fields) / L.FieldBytes) * L.FieldBytes;
        PutLe(out, field, L.FieldBytes == 4 ? M.Pick(Extremes32) : M.Pick(Extremes16), L.FieldBytes);
      }
      break;
    }
    case 2: {  // the record's type, keeping its bytes
      const std::uint32_t type = *(ATypes.begin() + M.Below(ATypes.size()));
      PutLe(out, at + L.TypeField, type, L.TypeField == 0 ? 4 : 2);
      break;
    }
    case 3: {  // doubled, many times
      const std::string copy = ASeed.substr(at, end - at);
      std::string many;
      for (std::size_t i = 0, n = 1 + M.Below(M.Below(2) ? 4 : 2000); i < n; ++i) many += copy;
      out.insert(end, many);
      break;
    }
    default:
      if (index > 0) out.erase(at, end - at);
      break;
  }
  return out;
}

}  // namespace

std::string MutateEmf(TFuzzMutator& M, const std::string& ASeed) {
  if (ASeed.size() < 88 || Le(ASeed, 0, 4) != 1) return M.Mutate(ASeed);
  std::string out;
  if (M.Below(5) == 0) {
    // The header: bounds, frame, reference device, handle count.
    out = ASeed;
    static constexpr std::size_t fields[] = {8, 12, 16, 20, 24, 28, 32, 36, 56, 72, 76, 80, 84};
    const std::size_t field = M.Pick(fields);
    PutLe(out, field, field == 56 ? M.Pick(Extremes16) : M.Pick(Extremes32), field == 56 ? 2 : 4);
  } else {
    const TRecordLayout layout{Le(ASeed, 4, 4), 1, 4, 0, 8};
    // The types that carry counts, sizes, indexes and bitmaps.
    out = MutateRecords(M, ASeed, layout,
                        {2, 3, 4, 7, 8, 14, 21, 31, 32, 34, 36, 37, 38, 39, 40, 42, 43, 44, 45, 47, 49, 50, 51, 53, 56,
                         70, 71, 75, 76, 77, 80, 81, 82, 84, 85, 86, 90, 91, 93, 94, 95, 97, 100, 101, 114, 116, 118});
  }
  // The header's totals follow the records.
  const std::vector<std::size_t> records = Records(out, TRecordLayout{Le(out, 4, 4), 1, 4, 0, 8});
  PutLe(out, 48, static_cast<std::uint32_t>(out.size()), 4);
  PutLe(out, 52, static_cast<std::uint32_t>(records.size() + 1), 4);
  return out;
}

std::string MutateWmf(TFuzzMutator& M, const std::string& ASeed) {
  const std::size_t header = ASeed.size() >= 4 && Le(ASeed, 0, 4) == 0x9AC6CDD7 ? 22 : 0;
  if (ASeed.size() < header + 18) return M.Mutate(ASeed);
  std::string out;
  if (M.Below(5) == 0) {
    out = ASeed;
    // The placeable box and resolution, or the object count.
    const std::size_t field = header && M.Below(2) ? 6 + 2 * M.Below(5) : header + 10;
    PutLe(out, field, M.Pick(Extremes16), 2);
  } else {
    out = MutateRecords(M, ASeed, TRecordLayout{header + 18, 2, 2, 4, 6},
                        {0x0324, 0x0325, 0x0538, 0x0418, 0x041B, 0x061C, 0x0817, 0x081A, 0x0830, 0x0521, 0x0A32,
                         0x02FA, 0x02FB, 0x02FC, 0x0142, 0x01F9, 0x00F7, 0x0037, 0x0139, 0x06FF, 0x0940, 0x0B41,
                         0x0F43, 0x0D33, 0x0922, 0x0B23, 0x0228, 0x0429, 0x012A, 0x012B, 0x0410, 0x0412, 0x0127,
                         0x012D, 0x01F0, 0x0626, 0x020B, 0x020C, 0x020D, 0x020E, 0x0416, 0x0415, 0x0213, 0x0214});
  }
  PutLe(out, header + 6, static_cast<std::uint32_t>((out.size() - header) / 2), 4);
  return out;
}

// ---------------------------------------------------------------------------
// ZIP

std::string MutateZip(TFuzzMutator& M, const std::string& ASeed) {
  std::size_t end = ASeed.size() >= 22 ? ASeed.size() - 22 : std::string::npos;
  while (end != std::string::npos && Le(ASeed, end, 4) != 0x06054B50) end = end == 0 ? std::string::npos : end - 1;
  if (end == std::string::npos) return M.Mutate(ASeed);
  const std::size_t directory = Le(ASeed, end + 16, 4);
  const std::uint32_t count = Le(ASeed, end + 10, 2);
  std::vector<std::size_t> entries;
  for (std::size_t at = directory, i = 0; i < count && at + 46 <= end; ++i) {
    entries.push_back(at);
    at += 46 + Le(ASeed, at + 28, 2) + Le(ASeed, at + 30, 2) + Le(ASeed, at + 32, 2);
  }
  if (entries.empty()) return M.Mutate(ASeed);
  std::string out = ASeed;
  const std::size_t entry = entries[M.Below(entries.size())];
  const std::size_t local = Le(ASeed, entry + 42, 4);
  const bool hasLocal = local + 30 <= ASeed.size() && Le(ASeed, local, 4) == 0x04034B50;
  // Central offset, then the local header's offset of the same field.
  const auto both = [&](std::size_t ACentral, std::size_t ALocal, std::uint32_t AValue, int ABytes) {
    PutLe(out, entry + ACentral, AValue, ABytes);
    if (hasLocal) PutLe(out, local + ALocal, AValue, ABytes);
  };
  switch (M.Below(5)) {
    case 0: {  // the entry listed again and again: overlapping entries
      const std::size_t length = 46 + Le(ASeed, entry + 28, 2);
      std::string copy = ASeed.substr(entry, length);
      PutLe(copy, 30, 0, 2);
      PutLe(copy, 32, 0, 2);
      const std::size_t n = 1 + M.Below(M.Below(2) ? 10 : 3000);
      std::string many;
      for (std::size_t i = 0; i < n; ++i) many += copy;
      out.insert(end, many);
      PutLe(out, end + many.size() + 8, std::min<std::uint32_t>(0xFFFF, count + static_cast<std::uint32_t>(n)), 2);
      PutLe(out, end + many.size() + 10, std::min<std::uint32_t>(0xFFFF, count + static_cast<std::uint32_t>(n)), 2);
      PutLe(out, end + many.size() + 12, static_cast<std::uint32_t>(end + many.size() - directory), 4);
      break;
    }
    case 1: both(8, 6, M.Below(2) ? 1 : M.Pick(Extremes16), 2); break;  // flags: encrypted, or anything
    case 2: both(M.Below(2) ? 20 : 24, M.Below(2) ? 18 : 22, M.Pick(Extremes32), 4); break;  // sizes
    case 3: both(10, 8, M.Pick({0, 8, 9, 12, 14, 99}), 2); break;  // methods
    default: PutLe(out, entry + 42, M.Pick(Extremes32) % std::max<std::size_t>(ASeed.size(), 1), 4); break;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Form text

std::string MutateFormText(TFuzzMutator& M, const std::string& ASeed) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < ASeed.size();) {
    const std::size_t end = std::min(ASeed.find('\n', at), ASeed.size());
    lines.push_back(ASeed.substr(at, end - at));
    at = end + 1;
  }
  if (lines.size() < 3) return M.Mutate(ASeed);
  const std::size_t i = 1 + M.Below(lines.size() - 2);
  std::string& line = lines[i];
  switch (M.Below(5)) {
    case 0: {  // a number
      static constexpr const char* numbers[] = {"2147483647", "-2147483648", "0", "-1", "65536", "1", "32767", "4097"};
      const std::size_t digit = line.find_first_of("0123456789");
      if (digit == std::string::npos) break;
      const std::size_t end = line.find_first_not_of("0123456789", digit);
      line.replace(digit, (end == std::string::npos ? line.size() : end) - digit, M.Pick(numbers));
      break;
    }
    case 1:
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), line);
      break;
    case 2:
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    case 3: {  // hex data
      const std::size_t hex = line.find_first_of("0123456789ABCDEF");
      if (hex != std::string::npos) line[hex + M.Below(line.size() - hex)] = "0123456789ABCDEF"[M.Below(16)];
      break;
    }
    default: {  // an item of a collection, many times
      std::size_t first = i;
      while (first > 0 && lines[first].find("item") == std::string::npos) --first;
      std::size_t last = first;
      const std::size_t indent = lines[first].find_first_not_of(' ');
      while (last + 1 < lines.size() && !(lines[last].find_first_not_of(' ') == indent &&
                                          lines[last].compare(indent == std::string::npos ? 0 : indent, 3, "end") == 0))
        ++last;
      if (lines[first].find("item") == std::string::npos || last + 1 >= lines.size()) break;
      const std::vector<std::string> item(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                          lines.begin() + static_cast<std::ptrdiff_t>(last + 1));
      for (std::size_t n = 1 + M.Below(40); n > 0; --n)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), item.begin(), item.end());
      break;
    }
  }
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}
