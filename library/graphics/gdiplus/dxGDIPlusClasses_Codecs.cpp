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

// The bytes from the stream's position to its end, in place when the stream
// is in memory; the position stays.
class TStreamBytes {
 public:
  explicit TStreamBytes(TStream* AStream) {
    const std::int64_t position = AStream->Position();
    const std::int64_t size = std::max<std::int64_t>(AStream->Size() - position, 0);
    if (auto* memory = dynamic_cast<TCustomMemoryStream*>(AStream)) {
      FBytes = {static_cast<const std::uint8_t*>(memory->Memory()) + position, static_cast<std::size_t>(size)};
      return;
    }
    FCopy.resize(static_cast<std::size_t>(size));
    FCopy.resize(static_cast<std::size_t>(AStream->Read(FCopy.data(), static_cast<std::int64_t>(FCopy.size()))));
    AStream->SetPosition(position);
    FBytes = FCopy;
  }
  std::span<const std::uint8_t> Bytes() const { return FBytes; }

 private:
  std::vector<std::uint8_t> FCopy;
  std::span<const std::uint8_t> FBytes;
};

// An image as pixels: itself, or a metafile drawn at its size on a bitmap
// (which the pixels must outlive).
class TRasterImage {
 public:
  explicit TRasterImage(TdxGPImageHandle* AImage) : FImage(AImage) {
    if (!AImage->IsMetafile()) return;
    const TSize size = AImage->Size();
    FBits = AImage->GetAsBitmapBits();
    FRaster.reset(NewWith<TdxGPImageHandle>(
        [&](TdxGPImageHandle* AResult) { AResult->CreateFromBits(size.cx, size.cy, FBits.data(), afPremultiplied); }));
  }
  TdxGPImageHandle* Handle() const { return FRaster ? FRaster.get() : FImage; }

 private:
  TdxGPImageHandle* FImage;
  TRGBColors FBits;
  TOwned<TdxGPImageHandle> FRaster;
};

}  // namespace

int JPEGQuality() { return JpegQualityValue; }

void SetJPEGQuality(int AValue) { JpegQualityValue = AValue; }

// ---------------------------------------------------------------------------
// TdxGPImageCodec

bool TdxGPImageCodec::TMeta::Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const {
  if (!dxIsSafeToDecode(TStreamBytes(AStream).Bytes())) return false;
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
  // GDI+'s encoders take pixels, which a metafile has only once drawn.
  const TRasterImage raster(AHandle);
  TComRef<IStream> adapter(New<TdxGPStreamAdapter>(AStream));
  return GdipSaveImageToStream(raster.Handle()->Handle(), adapter.Get(), &encoder, AParameters) == Ok;
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
  std::uint8_t flags[3];
  if (!reader.Skip(6) || !reader.U16(width) || !reader.U16(height) || !reader.Bytes(flags, 3)) return false;
  // Decoders differ on a screen that the first frame does not cover exactly
  // (the screen's size, or the frame's): the header tells the size only
  // when both agree, otherwise the image is measured by decoding it, so
  // that its size never changes once it is decoded.
  if ((flags[0] & 0x80) && !reader.Skip(std::int64_t{3} << ((flags[0] & 7) + 1))) return false;
  // Extensions (0x21, a label, sub-blocks) stand before the first frame (0x2C).
  for (;;) {
    std::uint8_t kind, label, length;
    if (!reader.Bytes(&kind, 1) || (kind != 0x21 && kind != 0x2C)) return false;
    if (kind == 0x2C) break;
    if (!reader.Bytes(&label, 1)) return false;
    do {
      if (!reader.Bytes(&length, 1) || !reader.Skip(length)) return false;
    } while (length != 0);
  }
  std::uint16_t left, top, frameWidth, frameHeight;
  if (!reader.U16(left) || !reader.U16(top) || !reader.U16(frameWidth) || !reader.U16(frameHeight)) return false;
  if (left != 0 || top != 0 || frameWidth != width || frameHeight != height) return false;
  ASize = TSize(width, height);
  return true;
}

bool TdxGPImageCodecGIF::TMeta::SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                                            const EncoderParameters* AParameters) const {
  if (AHandle->Empty() || IsIndexedPixelFormat(AHandle->PixelFormat()))
    return TdxGPImageCodec::TMeta::SaveGPImage(AStream, AHandle, AParameters);
  const TRasterImage raster(AHandle);
  TdxGPImageHandle* source = raster.Handle();
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
