// The GDI+ codecs: signatures, sizes read from headers, decoding and
// encoding through GDI+, and their registration at the unit's start-up.
//
// The header parsers read through the stream only, never past its end, and
// every step moves forward: whatever the bytes say, a parse ends with a size
// or with "size unknown".
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace Gdiplus;

namespace {

int JpegQualityValue = -1;

// Reads numbers of one byte order from a stream, relative to where the
// header starts; each read fails at the end of the stream.
class TCodecHeaderReader {
 public:
  explicit TCodecHeaderReader(TStream* AStream, bool ABigEndian = false)
      : FStream(AStream), FStart(AStream->Position()), FBigEndian(ABigEndian) {}

  void SetBigEndian(bool AValue) { FBigEndian = AValue; }

  bool Skip(std::int64_t ACount) {
    const std::int64_t position = FStream->Position();
    if (ACount < 0 || ACount > FStream->Size() - position) return false;
    FStream->SetPosition(position + ACount);
    return true;
  }
  // To AOffset from the header's start; fails outside the stream.
  bool MoveTo(std::int64_t AOffset) {
    if (AOffset < 0 || AOffset > FStream->Size() - FStart) return false;
    FStream->SetPosition(FStart + AOffset);
    return true;
  }
  bool U16(std::uint16_t& AValue) {
    std::uint8_t b[2];
    if (FStream->Read(b, 2) != 2) return false;
    AValue = FBigEndian ? static_cast<std::uint16_t>(b[0] << 8 | b[1]) : static_cast<std::uint16_t>(b[1] << 8 | b[0]);
    return true;
  }
  bool U32(std::uint32_t& AValue) {
    std::uint8_t b[4];
    if (FStream->Read(b, 4) != 4) return false;
    AValue = FBigEndian ? (std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3])
                        : (std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0]);
    return true;
  }
  bool Bytes(void* ABuffer, int ACount) { return FStream->Read(ABuffer, ACount) == ACount; }

 private:
  TStream* FStream;
  std::int64_t FStart;
  bool FBigEndian;
};

constexpr std::uint8_t BmpSignature[] = {'B', 'M'};
constexpr std::uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint8_t TiffSignatureII[] = {'I', 'I', '*', 0};
constexpr std::uint8_t TiffSignatureMM[] = {'M', 'M', 0, '*'};
constexpr std::uint8_t Gif89Signature[] = {'G', 'I', 'F', '8', '9', 'a'};
constexpr std::uint8_t Gif87Signature[] = {'G', 'I', 'F', '8', '7', 'a'};
constexpr std::uint8_t JpegSignature[] = {0xFF, 0xD8, 0xFF};

// GDI+'s quality parameter of the JPEG encoder.
constexpr GUID EncoderQualityId = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

UINT RegisteredClipboardFormat(const wchar_t* AName) { return RegisterClipboardFormatW(AName); }

// ---------------------------------------------------------------------------
// Metafiles that GDI can play
//
// GDI+ plays a metafile's records through GDI, and Wine's GDI takes them as
// they come: a record reaching beyond the file, an object index beyond the
// file's table or a damaged comment of an embedded EMF crashes or hangs it.
// Such files are refused as no image.

std::uint16_t MetafileU16(const std::uint8_t* P) { return static_cast<std::uint16_t>(P[0] | P[1] << 8); }
std::uint32_t MetafileU32(const std::uint8_t* P) { return MetafileU16(P) | std::uint32_t{MetafileU16(P + 2)} << 16; }

// The records that carry bitmaps: the offsets of their offBmi fields, each
// followed by cbBmi, offBits and cbBits (0 ends).
struct TEmfBitmapFields {
  DWORD Type;
  std::size_t Bitmaps[2];
};
constexpr TEmfBitmapFields EmfBitmapRecords[] = {
    {EMR_BITBLT, {offsetof(EMRBITBLT, offBmiSrc)}},
    {EMR_STRETCHBLT, {offsetof(EMRSTRETCHBLT, offBmiSrc)}},
    {EMR_MASKBLT, {offsetof(EMRMASKBLT, offBmiSrc), offsetof(EMRMASKBLT, offBmiMask)}},
    {EMR_PLGBLT, {offsetof(EMRPLGBLT, offBmiSrc), offsetof(EMRPLGBLT, offBmiMask)}},
    {EMR_SETDIBITSTODEVICE, {offsetof(EMRSETDIBITSTODEVICE, offBmiSrc)}},
    {EMR_STRETCHDIBITS, {offsetof(EMRSTRETCHDIBITS, offBmiSrc)}},
    {EMR_CREATEMONOBRUSH, {offsetof(EMRCREATEMONOBRUSH, offBmi)}},
    {EMR_CREATEDIBPATTERNBRUSHPT, {offsetof(EMRCREATEDIBPATTERNBRUSHPT, offBmi)}},
    {EMR_EXTCREATEPEN, {offsetof(EMREXTCREATEPEN, offBmi)}},
    {EMR_ALPHABLEND, {offsetof(EMRALPHABLEND, offBmiSrc)}},
    {EMR_TRANSPARENTBLT, {offsetof(EMRTRANSPARENTBLT, offBmiSrc)}},
};

// A bitmap of a record: none, or a header, colours and rows that the record holds.
bool IsEmfBitmapValid(const std::uint8_t* ARecord, std::uint32_t ASize, std::size_t AField) {
  if (AField + 16 > ASize) return false;
  const std::uint64_t offBmi = MetafileU32(ARecord + AField);
  const std::uint64_t cbBmi = MetafileU32(ARecord + AField + 4);
  const std::uint64_t offBits = MetafileU32(ARecord + AField + 8);
  const std::uint64_t cbBits = MetafileU32(ARecord + AField + 12);
  if (offBmi > ASize || offBits > ASize || offBmi + cbBmi > ASize || offBits + cbBits > ASize) return false;
  if (offBmi == 0 && cbBmi == 0) return true;
  if (cbBmi < sizeof(BITMAPINFOHEADER)) return false;
  const std::uint8_t* header = ARecord + offBmi;
  const std::uint32_t headerSize = MetafileU32(header);
  const std::int64_t width = static_cast<std::int32_t>(MetafileU32(header + 4));
  const std::int64_t height = static_cast<std::int32_t>(MetafileU32(header + 8));
  const std::uint32_t bitCount = MetafileU16(header + 14);
  const std::uint32_t compression = MetafileU32(header + 16);
  const std::uint32_t used = MetafileU32(header + 32);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > cbBmi || bitCount == 0 || bitCount > 32) return false;
  const std::uint64_t colors = used != 0 ? used : bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
  const std::uint64_t masks = compression == BI_BITFIELDS ? 12 : 0;
  if (headerSize + colors * 4 + masks > cbBmi) return false;
  if (compression != BI_RGB && compression != BI_BITFIELDS) return true;
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width < 0 ? -width : width) * bitCount + 31) / 32) * 4;
  return stride * static_cast<std::uint64_t>(height < 0 ? -height : height) <= cbBits;
}

bool IsEmfObjectIndexValid(DWORD AType, std::uint32_t AIndex, std::uint32_t AHandles) {
  switch (AType) {
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT:
    case EMR_SELECTPALETTE:
      // A stock object has the high bit; index 0 is the metafile itself.
      return (AIndex & 0x80000000u) != 0 || (AIndex > 0 && AIndex < AHandles);
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_CREATEPALETTE:
    case EMR_SETPALETTEENTRIES:
    case EMR_RESIZEPALETTE:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_EXTCREATEPEN:
    case EMR_CREATECOLORSPACE:
    case EMR_CREATECOLORSPACEW:
      return AIndex > 0 && AIndex < AHandles;
    default:
      return true;
  }
}

bool IsPlayableEnhancedMetafile(const std::uint8_t* AData, std::size_t ASize) {
  constexpr std::size_t HeaderSize = 88;  // ENHMETAHEADER without its extensions
  if (ASize < HeaderSize) return false;
  const std::uint32_t bytes = MetafileU32(AData + 48);
  const std::uint32_t handles = MetafileU16(AData + 56);
  if (bytes > ASize || MetafileU32(AData + 4) < HeaderSize || handles == 0) return false;
  for (std::size_t position = 0; position + 8 <= bytes;) {
    const std::uint8_t* record = AData + position;
    const DWORD type = MetafileU32(record);
    const std::uint32_t size = MetafileU32(record + 4);
    if (size < 8 || size % 4 != 0 || size > bytes - position) return false;
    if (type == EMR_EOF) return true;
    if (size >= 12 && !IsEmfObjectIndexValid(type, MetafileU32(record + 8), handles)) return false;
    for (const TEmfBitmapFields& fields : EmfBitmapRecords)
      if (fields.Type == type)
        for (const std::size_t field : fields.Bitmaps)
          if (field != 0 && !IsEmfBitmapValid(record, size, field)) return false;
    position += size;
  }
  return false;
}

// An EMF that GDI split into comments of a Windows metafile: the comment's
// sizes must describe what the record holds.
bool IsPlayableEmfComment(const std::uint8_t* APayload, std::size_t ASize, std::size_t AFileSize) {
  constexpr std::size_t CommentHeader = 34;  // "WMFC", type, version, checksum, flags, count, sizes
  if (ASize < 4 + CommentHeader || std::memcmp(APayload + 4, "WMFC", 4) != 0) return true;
  const std::uint32_t count = MetafileU16(APayload + 2);
  const std::uint8_t* comment = APayload + 4;
  const std::uint32_t current = MetafileU32(comment + 22);
  const std::uint32_t remaining = MetafileU32(comment + 26);
  const std::uint32_t total = MetafileU32(comment + 30);
  return count <= ASize - 4 && MetafileU32(comment + 4) == 1 && MetafileU32(comment + 8) == 0x10000 &&
         current <= count - CommentHeader && remaining <= total && total <= AFileSize;
}

bool IsPlayableWindowsMetafile(const std::uint8_t* AData, std::size_t ASize) {
  constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
  constexpr std::size_t PlaceableSize = 22;
  constexpr std::size_t HeaderSize = 18;
  std::size_t position = ASize >= 4 && MetafileU32(AData) == PlaceableKey ? PlaceableSize : 0;
  if (ASize < position + HeaderSize || MetafileU16(AData + position + 2) != 9) return false;
  const std::uint32_t objects = MetafileU16(AData + position + 10);
  for (position += HeaderSize; position + 6 <= ASize;) {
    const std::uint8_t* record = AData + position;
    const std::uint64_t size = std::uint64_t{MetafileU32(record)} * 2;
    const std::uint16_t function = MetafileU16(record + 4);
    if (size < 6 || size > ASize - position) return false;
    if (function == 0) return true;  // the end record
    switch (function) {
      case META_SELECTOBJECT:
      case META_DELETEOBJECT:
      case META_SELECTPALETTE:
      case META_SELECTCLIPREGION:
        // Every parameter is taken for an index by some player.
        if (size < 8) return false;
        for (std::size_t parameter = 6; parameter + 2 <= size; parameter += 2)
          if (MetafileU16(record + parameter) >= objects) return false;
        break;
      case META_ESCAPE:
        if (size >= 10 && MetafileU16(record + 6) == MFCOMMENT &&
            !IsPlayableEmfComment(record + 6, static_cast<std::size_t>(size - 6), ASize))
          return false;
        break;
      default:
        break;
    }
    position += static_cast<std::size_t>(size);
  }
  return false;
}

// Whether the stream, at its position, holds a metafile GDI cannot play
// safely; the position stays.
bool IsUnplayableMetafile(TStream* AStream) {
  const std::int64_t position = AStream->Position();
  std::uint8_t head[44];
  const int read = AStream->Read(head, sizeof head);
  AStream->SetPosition(position);
  const bool enhanced = read >= 44 && MetafileU32(head) == EMR_HEADER && std::memcmp(head + 40, " EMF", 4) == 0;
  const bool placeable = read >= 4 && MetafileU32(head) == 0x9AC6CDD7;
  const bool windows = read >= 6 && (MetafileU16(head) == 1 || MetafileU16(head) == 2) && MetafileU16(head + 2) == 9;
  if (!enhanced && !placeable && !windows) return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(AStream->Size() - position, 0)));
  bytes.resize(static_cast<std::size_t>(AStream->Read(bytes.data(), static_cast<int>(bytes.size()))));
  AStream->SetPosition(position);
  return enhanced ? !IsPlayableEnhancedMetafile(bytes.data(), bytes.size())
                  : !IsPlayableWindowsMetafile(bytes.data(), bytes.size());
}

}  // namespace

int JPEGQuality() { return JpegQualityValue; }

void SetJPEGQuality(int AValue) { JpegQualityValue = AValue; }

// ---------------------------------------------------------------------------
// TdxGPImageCodec

bool TdxGPImageCodec::TMeta::Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const {
  if (IsUnplayableMetafile(AStream)) return false;
  // The adapter lives as long as GDI+ keeps reading through it.
  TComRef<IStream> adapter(New<TdxGPStreamAdapter>(AStream));
  GpImage* image = nullptr;
  if (GdipLoadImageFromStream(adapter.Get(), &image) != Ok || !image) return false;
  AHandle.reset(New<TdxGPImageHandle>(image));
  return true;
}

bool TdxGPImageCodec::TMeta::Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const {
  if (auto* handle = dynamic_cast<TdxGPImageHandle*>(AHandle)) return SaveGPImage(AStream, handle, nullptr);
  const TSize size = AHandle->Size();
  const TRGBColors bits = AHandle->GetAsBitmapBits();
  if (size.cx <= 0 || size.cy <= 0 ||
      bits.size() < static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy))
    return false;
  TOwned<TdxGPImageHandle> bitmap(NewWith<TdxGPImageHandle>(
      [&](TdxGPImageHandle* AResult) { AResult->CreateFromBits(size.cx, size.cy, bits.data(), afPremultiplied); }));
  return SaveGPImage(AStream, bitmap.get(), nullptr);
}

bool TdxGPImageCodec::TMeta::SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                                         const EncoderParameters* AParameters) const {
  const GUID encoder = dxGetImageEncoder(GetFormatID());
  if (!IsGdipCodecIdSet(encoder) || AHandle->Empty()) return false;
  TComRef<IStream> adapter(New<TdxGPStreamAdapter>(AStream));
  return GdipSaveImageToStream(AHandle->Handle(), adapter.Get(), &encoder, AParameters) == Ok;
}

// ---------------------------------------------------------------------------
// BMP

bool TdxGPImageCodecBMP::TMeta::CanLoadStream(TStream* AStream) const {
  return TdxSmartImageCodec::CheckSignature(AStream, BmpSignature);
}

bool TdxGPImageCodecBMP::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  TCodecHeaderReader reader(AStream);
  std::uint32_t headerSize;
  if (!reader.Skip(14) || !reader.U32(headerSize)) return false;
  if (headerSize == 12) {
    // The old core header: 16-bit sizes.
    std::uint16_t width, height;
    if (!reader.U16(width) || !reader.U16(height)) return false;
    ASize = TSize(width, height);
  } else {
    std::uint32_t width, height;
    if (!reader.U32(width) || !reader.U32(height)) return false;
    // A top-down file tells a negative height; it is reported as it stands.
    ASize = TSize(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  }
  return true;
}

bool TdxGPImageCodecBMP::TMeta::Load(const RGBQUAD* ABits, TAlphaFormat AAlphaFormat, int AWidth, int AHeight,
                                     TOwned<TdxSmartImageCustomHandle>& AHandle) const {
  AHandle.reset(NewWith<TdxGPImageHandle>(
      [&](TdxGPImageHandle* AResult) { AResult->CreateFromBits(AWidth, AHeight, ABits, AAlphaFormat); }));
  return true;
}

// ---------------------------------------------------------------------------
// PNG

TClass TdxGPImageCodecPNG::TMeta::GetGraphicClass() const { return TdxPNGImage::ClassInfo(); }

UINT TdxGPImageCodecPNG::TMeta::GetClipboardFormatId() const { return RegisteredClipboardFormat(L"PNG"); }

bool TdxGPImageCodecPNG::TMeta::CanLoadStream(TStream* AStream) const {
  return TdxSmartImageCodec::CheckSignature(AStream, PngSignature);
}

bool TdxGPImageCodecPNG::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  TCodecHeaderReader reader(AStream, true);
  char chunk[4];
  if (!reader.MoveTo(12) || !reader.Bytes(chunk, 4)) return false;
  const bool header = chunk[0] == 'I' && chunk[1] == 'H' && chunk[2] == 'D' && chunk[3] == 'R';
  std::uint32_t width, height;
  if (!reader.MoveTo(header ? 16 : 8) || !reader.U32(width) || !reader.U32(height)) return false;
  // PNG allows no size beyond 2^31 - 1.
  if (width > INT_MAX || height > INT_MAX) return false;
  ASize = TSize(static_cast<int>(width), static_cast<int>(height));
  return true;
}

// ---------------------------------------------------------------------------
// TIFF

TClass TdxGPImageCodecTIFF::TMeta::GetGraphicClass() const { return TdxSmartImage::ClassInfo(); }

UINT TdxGPImageCodecTIFF::TMeta::GetClipboardFormatId() const { return RegisteredClipboardFormat(L"TIFF"); }

bool TdxGPImageCodecTIFF::TMeta::CanLoadStream(TStream* AStream) const {
  return TdxSmartImageCodec::CheckSignature(AStream, TiffSignatureII) ||
         TdxSmartImageCodec::CheckSignature(AStream, TiffSignatureMM);
}

bool TdxGPImageCodecTIFF::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  const bool bigEndian = TdxSmartImageCodec::CheckSignature(AStream, TiffSignatureMM);
  TCodecHeaderReader reader(AStream, bigEndian);
  constexpr std::uint16_t TagWidth = 256;
  constexpr std::uint16_t TagHeight = 257;
  constexpr std::uint16_t TypeShort = 3;
  constexpr std::uint16_t TypeLong = 4;
  std::uint32_t directory;
  std::uint16_t count;
  if (!reader.Skip(4) || !reader.U32(directory) || !reader.MoveTo(directory) || !reader.U16(count)) return false;
  std::int32_t width = 0;
  std::int32_t height = 0;
  for (int i = 0; i < count; ++i) {
    std::uint16_t tag, type;
    std::uint32_t values;
    std::uint8_t field[4];
    if (!reader.U16(tag) || !reader.U16(type) || !reader.U32(values) || !reader.Bytes(field, 4)) return false;
    if (tag != TagWidth && tag != TagHeight) continue;
    std::int32_t value;
    if (type == TypeShort)
      value = bigEndian ? field[0] << 8 | field[1] : field[1] << 8 | field[0];
    else if (type == TypeLong)
      value = static_cast<std::int32_t>(bigEndian ? std::uint32_t{field[0]} << 24 | std::uint32_t{field[1]} << 16 |
                                                        std::uint32_t{field[2]} << 8 | field[3]
                                                  : std::uint32_t{field[3]} << 24 | std::uint32_t{field[2]} << 16 |
                                                        std::uint32_t{field[1]} << 8 | field[0]);
    else
      continue;
    (tag == TagWidth ? width : height) = value;
    if (width > 0 && height > 0) {
      ASize = TSize(width, height);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// GIF

TClass TdxGPImageCodecGIF::TMeta::GetGraphicClass() const { return TdxSmartImage::ClassInfo(); }

UINT TdxGPImageCodecGIF::TMeta::GetClipboardFormatId() const { return RegisteredClipboardFormat(L"GIF"); }

bool TdxGPImageCodecGIF::TMeta::CanLoadStream(TStream* AStream) const {
  return TdxSmartImageCodec::CheckSignature(AStream, Gif89Signature) ||
         TdxSmartImageCodec::CheckSignature(AStream, Gif87Signature);
}

bool TdxGPImageCodecGIF::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  TCodecHeaderReader reader(AStream);
  std::uint16_t width, height;
  if (!reader.Skip(6) || !reader.U16(width) || !reader.U16(height)) return false;
  ASize = TSize(width, height);
  return true;
}

bool TdxGPImageCodecGIF::TMeta::SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                                            const EncoderParameters* AParameters) const {
  if (AHandle->Empty() || IsIndexedPixelFormat(AHandle->PixelFormat()))
    return TdxGPImageCodec::TMeta::SaveGPImage(AStream, AHandle, AParameters);
  // A metafile has no pixels to copy: it is rasterised first.
  TRGBColors bits;
  TOwned<TdxGPImageHandle> raster;
  TdxGPImageHandle* source = AHandle;
  if (AHandle->IsMetafile()) {
    const TSize size = AHandle->Size();
    bits = AHandle->GetAsBitmapBits();
    raster.reset(NewWith<TdxGPImageHandle>(
        [&](TdxGPImageHandle* AResult) { AResult->CreateFromBits(size.cx, size.cy, bits.data(), afPremultiplied); }));
    source = raster.get();
  }
  const TOwned<TdxGPImageHandle> indexed = source->Clone(source->ClientRect(), PixelFormat8bppIndexed);
  return TdxGPImageCodec::TMeta::SaveGPImage(AStream, indexed.get(), AParameters);
}

// ---------------------------------------------------------------------------
// JPEG

TClass TdxGPImageCodecJPEG::TMeta::GetGraphicClass() const { return TdxSmartImage::ClassInfo(); }

UINT TdxGPImageCodecJPEG::TMeta::GetClipboardFormatId() const { return RegisteredClipboardFormat(L"JPEG"); }

bool TdxGPImageCodecJPEG::TMeta::CanLoadStream(TStream* AStream) const {
  return TdxSmartImageCodec::CheckSignature(AStream, JpegSignature);
}

bool TdxGPImageCodecJPEG::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  if (!CanLoadStream(AStream)) return false;
  TCodecHeaderReader reader(AStream, true);
  if (!reader.Skip(2)) return false;
  std::uint16_t marker;
  while (reader.U16(marker)) {
    if (marker < 0xFF00 || marker == 0xFFD9) return false;
    if (marker == 0xFFC0 || marker == 0xFFC3) {
      std::uint16_t height, width;
      if (!reader.Skip(3) || !reader.U16(height) || !reader.U16(width)) return false;
      ASize = TSize(width, height);
      return true;
    }
    if (marker >= 0xFFD0 && marker <= 0xFFD8) continue;
    if (marker == 0xFFDD) {
      if (!reader.Skip(4)) return false;
      continue;
    }
    // A length counts its own two bytes: one below 2 is damage, not a step back.
    std::uint16_t length;
    if (!reader.U16(length) || length < 2 || !reader.Skip(length - 2)) return false;
  }
  return false;
}

bool TdxGPImageCodecJPEG::TMeta::SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                                             const EncoderParameters* AParameters) const {
  const int quality = JPEGQuality();
  if (quality == -1 || AParameters) return TdxGPImageCodec::TMeta::SaveGPImage(AStream, AHandle, AParameters);
  ULONG value = static_cast<ULONG>(quality);
  EncoderParameters parameters{};
  parameters.Count = 1;
  parameters.Parameter[0].Guid = EncoderQualityId;
  parameters.Parameter[0].NumberOfValues = 1;
  parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
  parameters.Parameter[0].Value = &value;
  return TdxGPImageCodec::TMeta::SaveGPImage(AStream, AHandle, &parameters);
}

// ---------------------------------------------------------------------------
// EMF and WMF

bool TdxGPImageCodecEMF::TMeta::SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                                            const EncoderParameters*) const {
  // GDI+ has no metafile encoder: the image, a metafile among others, is
  // played onto a recording canvas.
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->SetEnhanced(GetFormatID() == dxImageEmf);
  const TSize size = AHandle->Size();
  metafile->SetWidth(size.cx);
  metafile->SetHeight(size.cy);
  {
    TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(metafile.get(), nullptr));
    AHandle->Draw(canvas->Handle(), AHandle->ClientRect(), AHandle->ClientRect(), 255, nullptr);
  }
  metafile->SaveToStream(AStream);
  return true;
}

// ---------------------------------------------------------------------------
// Registration

void dxGDIPlusClassesRegisterImageCodecs() {
  SetJPEGQuality(-1);
  if (!CheckGdiPlusAvailable(false)) return;
  LoadGdipCodecIds();
  RegisterClasses({TdxPNGImage::ClassInfo(), TdxSmartImage::ClassInfo()});
  TPicture::RegisterFileFormat(L"", L"", TdxGPImage::ClassInfo());
  const TdxGdipCodecIds& ids = GdipCodecIds();
  TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecBMP>());
  TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecMemoryBitmap>());
  if (IsGdipCodecIdSet(ids.PngDecoder)) TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecPNG>());
  if (IsGdipCodecIdSet(ids.TiffDecoder)) TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecTIFF>());
  if (IsGdipCodecIdSet(ids.GifDecoder)) TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecGIF>());
  if (IsGdipCodecIdSet(ids.JpegDecoder)) TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecJPEG>());
  TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecEMF>());
  TdxSmartImageCodecsRepository::Register(dxCodec<TdxGPImageCodecWMF>());
}

void dxGDIPlusClassesUnregisterImageCodecs() {
  for (TdxSmartImageCodecClass codec :
       {dxCodec<TdxGPImageCodecBMP>(), dxCodec<TdxGPImageCodecMemoryBitmap>(), dxCodec<TdxGPImageCodecGIF>(),
        dxCodec<TdxGPImageCodecJPEG>(), dxCodec<TdxGPImageCodecPNG>(), dxCodec<TdxGPImageCodecTIFF>(),
        dxCodec<TdxGPImageCodecEMF>(), dxCodec<TdxGPImageCodecWMF>()})
    TdxSmartImageCodecsRepository::Unregister(codec);
  TPicture::UnregisterGraphicClass(TdxGPImage::ClassInfo());
  UnRegisterClass(TdxSmartImage::ClassInfo());
  UnRegisterClass(TdxPNGImage::ClassInfo());
}
