// The compressed form data of TcxBitmap: the plain bitmap data (a 32-bit
// length and a bitmap file) run-length encoded in blocks of whole pixels.
//
//   offset 0  int32  payload length (the bytes after this 10-byte header)
//          4  "XDBM"
//          8  int16  method: 1 (packets of single bytes) or 2 (written)
//   method 2 payload: block size N (1..4), raw byte count R (< N), R raw
//   bytes, then packets. A packet is a control byte c: c & $80 set, a
//   literal of (c & $7F) blocks follows; clear, one block follows, written
//   (c & $7F) times.
//
// The reader trusts nothing: the payload must lie in the stream, every
// packet inside the payload, and the decoded bytes must come to exactly the
// length the plain data states, which is no more than a bitmap of
// dxMaxDecodedImageBytes takes. Damaged data raises EReadError before the
// bitmap is touched.
#include "library/graphics/canvas/cxGraphics.h"

#include "library/graphics/imaging/dxPixelBuffers.h"
#include "library/graphics/imaging/dxSmartImage.h"
#include "platform/classes/ClassErrors.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace {

constexpr std::uint8_t Signature[4] = {'X', 'D', 'B', 'M'};
constexpr int HeaderSize = 10;
constexpr std::int16_t WrittenMethod = 2;
constexpr int MaxWrittenRun = 125;
constexpr std::uint8_t LiteralPacket = 0x80;
// A bitmap file's headers, masks and colour table.
constexpr std::uint64_t MaxBitmapHeaders = 65536;

using TBytesSpan = std::span<const std::uint8_t>;

[[noreturn]] void DamagedData() { throw EReadError(L"Stream-Lesefehler"); }

void AppendLe32(std::vector<std::uint8_t>& AData, std::int32_t AValue) {
  for (int i = 0; i < 4; ++i) AData.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(AValue) >> (8 * i)));
}

std::int32_t Le32(const std::uint8_t* AData) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(AData[0]) | (static_cast<std::uint32_t>(AData[1]) << 8) |
                                   (static_cast<std::uint32_t>(AData[2]) << 16) |
                                   (static_cast<std::uint32_t>(AData[3]) << 24));
}

// Packets of the whole blocks of AData: repeats of equal blocks, literals of
// blocks that each differ from the one before, at most 125 blocks a packet.
void EncodePackets(TBytesSpan AData, std::size_t N, std::vector<std::uint8_t>& AOut) {
  const std::size_t count = AData.size() / N;
  auto block = [&](std::size_t AIndex) { return AData.subspan(AIndex * N, N); };
  auto same = [&](std::size_t A, std::size_t B) { return std::equal(block(A).begin(), block(A).end(), block(B).begin()); };
  std::size_t i = 0;
  while (i < count) {
    if (i + 1 == count) {
      AOut.push_back(LiteralPacket | 1);
      AOut.insert(AOut.end(), block(i).begin(), block(i).end());
      break;
    }
    const bool repeat = same(i, i + 1);
    std::size_t run = 1;
    if (repeat) {
      for (std::size_t j = i + 1; run < MaxWrittenRun && j < count && same(j, i); ++j) ++run;
      AOut.push_back(static_cast<std::uint8_t>(run));
      AOut.insert(AOut.end(), block(i).begin(), block(i).end());
    } else {
      // Two equal blocks end a literal: they start the next repeat.
      for (std::size_t j = i + 1; run < MaxWrittenRun && j < count; ++j) {
        if (same(j, j - 1)) {
          --run;
          break;
        }
        ++run;
      }
      AOut.push_back(static_cast<std::uint8_t>(LiteralPacket | run));
      AOut.insert(AOut.end(), AData.begin() + static_cast<std::ptrdiff_t>(i * N),
                  AData.begin() + static_cast<std::ptrdiff_t>((i + run) * N));
    }
    i += run;
  }
}

}  // namespace

std::vector<std::uint8_t> CompressBitmapData(TBytesSpan APlain, int ABlockSize) {
  if (ABlockSize < 1 || ABlockSize > 4) throw EArgumentOutOfRangeException(L"Block size %d", {ABlockSize});
  const auto n = static_cast<std::size_t>(ABlockSize);
  const std::size_t raw = APlain.size() % n;
  std::vector<std::uint8_t> payload{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(raw)};
  payload.insert(payload.end(), APlain.begin(), APlain.begin() + static_cast<std::ptrdiff_t>(raw));
  EncodePackets(APlain.subspan(raw), n, payload);

  std::vector<std::uint8_t> result;
  result.reserve(HeaderSize + payload.size());
  AppendLe32(result, static_cast<std::int32_t>(payload.size()));
  result.insert(result.end(), std::begin(Signature), std::end(Signature));
  result.push_back(static_cast<std::uint8_t>(WrittenMethod));
  result.push_back(static_cast<std::uint8_t>(WrittenMethod >> 8));
  result.insert(result.end(), payload.begin(), payload.end());
  return result;
}

namespace {

// The decoded plain data grows only up to the length it states.
class TPlainDataBuilder {
 public:
  // A payload of APayloadSize bytes decodes to at most 127 blocks of four
  // bytes for every five (one repeat packet each).
  explicit TPlainDataBuilder(std::size_t APayloadSize) : FLimit(APayloadSize / 5 * 127 * 4 + 127 * 4) {}
  // ACount bytes, ATimes over.
  void Append(const std::uint8_t* AData, std::size_t ACount, std::size_t ATimes = 1) {
    if (ACount == 0) return;
    // Until its first four bytes state the length, the data grows a copy at a time.
    for (; ATimes > 0 && FExpected < 0; --ATimes) {
      FData.insert(FData.end(), AData, AData + ACount);
      if (FData.size() >= 4) Expect(Le32(FData.data()));
    }
    if (ATimes == 0) return;
    if (ACount * ATimes > static_cast<std::size_t>(FExpected) - FData.size()) DamagedData();
    const std::size_t total = ACount * ATimes;
    FData.resize(FData.size() + total);
    std::uint8_t* target = FData.data() + FData.size() - total;
    std::memcpy(target, AData, ACount);
    // The copies made so far double at each step.
    for (std::size_t done = ACount; done < total; done += std::min(done, total - done))
      std::memcpy(target + done, target, std::min(done, total - done));
  }
  std::vector<std::uint8_t> Take() {
    if (FExpected < 0 || FData.size() != static_cast<std::size_t>(FExpected)) DamagedData();
    return std::move(FData);
  }

 private:
  void Expect(std::int32_t ALength) {
    if (ALength < 0) DamagedData();
    FExpected = static_cast<std::int64_t>(ALength) + 4;
    // A length the payload cannot reach is damaged, and so is a bitmap
    // larger than any image decodes to (its headers and colours aside);
    // any other is room taken at once.
    if (FData.size() > static_cast<std::size_t>(FExpected) || static_cast<std::size_t>(FExpected) > FLimit ||
        static_cast<std::uint64_t>(FExpected) > dxMaxDecodedImageBytes + MaxBitmapHeaders)
      DamagedData();
    FData.reserve(static_cast<std::size_t>(FExpected));
  }
  std::size_t FLimit;
  std::vector<std::uint8_t> FData;
  std::int64_t FExpected = -1;
};

void DecodePackets(TBytesSpan APackets, std::size_t N, TPlainDataBuilder& AOut) {
  std::size_t position = 0;
  while (position < APackets.size()) {
    const std::uint8_t control = APackets[position++];
    const std::size_t count = control & 0x7F;
    if (control & LiteralPacket) {
      if (count * N > APackets.size() - position) DamagedData();
      AOut.Append(APackets.data() + position, count * N);
      position += count * N;
    } else {
      if (N > APackets.size() - position) DamagedData();
      AOut.Append(APackets.data() + position, N, count);
      position += N;
    }
  }
}

}  // namespace

std::vector<std::uint8_t> DecompressBitmapData(TBytesSpan APayload, std::int16_t AMethod) {
  TPlainDataBuilder plain(APayload.size());
  switch (AMethod) {
    case 1:
      DecodePackets(APayload, 1, plain);
      break;
    case 2: {
      if (APayload.size() < 2) DamagedData();
      const std::size_t n = APayload[0];
      const std::size_t raw = APayload[1];
      if (n < 1 || n > 4 || raw >= n || raw > APayload.size() - 2) DamagedData();
      plain.Append(APayload.data() + 2, raw);
      DecodePackets(APayload.subspan(2 + raw), n, plain);
      break;
    }
    default:
      DamagedData();
  }
  return plain.Take();
}

namespace {

// The decoded plain data, read where it lies: copied into a memory stream,
// a large picture would cost another megabyte of fresh pages.
class TcxPlainDataStream : public TCustomMemoryStream {
  SK_CLASS(TcxPlainDataStream, TCustomMemoryStream)
 public:
  void Create(std::vector<std::uint8_t>& AData) {
    inherited::Create();
    SetPointer(AData.data(), static_cast<std::int64_t>(AData.size()));
  }
  int Write(const void*, int) override { throw EStreamError(L"Die Bitmapdaten sind nur zu lesen"); }
};

}  // namespace

void TcxBitmap::WriteData(TStream* AStream) {
  if (!FCompressData) {
    inherited::WriteData(AStream);
    return;
  }
  TOwned<TMemoryStream> plain(New<TMemoryStream>());
  // Room for the whole plain data at once (header, colour table, pixels):
  // growing step by step would copy it over and over.
  plain->SetCapacity(4096 + static_cast<std::int64_t>(Width()) * Height() * 4);
  inherited::WriteData(plain.get());
  const TBytesSpan data(static_cast<const std::uint8_t*>(plain->Memory()), static_cast<std::size_t>(plain->Size()));
  const std::vector<std::uint8_t> compressed = CompressBitmapData(data, std::max(GetBitmapBitsPerPixel(this) / 8, 1));
  AStream->WriteBuffer(compressed.data(), static_cast<std::int64_t>(compressed.size()));
}

void TcxBitmap::ReadData(TStream* AStream) {
  const std::int64_t start = AStream->Position();
  std::uint8_t header[HeaderSize];
  if (AStream->Read(header, HeaderSize) != HeaderSize || std::memcmp(header + 4, Signature, 4) != 0) {
    AStream->SetPosition(start);
    inherited::ReadData(AStream);
    return;
  }
  const std::int32_t payloadLength = Le32(header);
  const auto method = static_cast<std::int16_t>(header[8] | (header[9] << 8));
  if (payloadLength < 0 || payloadLength > AStream->Size() - AStream->Position()) DamagedData();
  std::vector<std::uint8_t> payload(static_cast<std::size_t>(payloadLength));
  AStream->ReadBuffer(payload.data(), payloadLength);
  std::vector<std::uint8_t> plain = DecompressBitmapData(payload, method);
  TOwned<TcxPlainDataStream> stream(New<TcxPlainDataStream>(plain));
  inherited::ReadData(stream.get());
}
