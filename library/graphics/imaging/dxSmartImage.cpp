#include "library/graphics/imaging/dxSmartImage.h"

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/containers/dxHashUtils.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Clipbrd.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr TResStringRec sdxUnsupportedImageFormat = {L"Unsupported image format."};
constexpr TResStringRec sdxOperationNotSupported = {L"Operation was not supported."};
constexpr TResStringRec sdxImageCodecFailed = {L"The %s codec failed to export the image (%d)"};

// Streams are copied in blocks of this size.
constexpr std::int64_t StreamBlockSize = 0x100000;

TClass SmartImageAnimationControllerClass = nullptr;

void CopyStreamBlocks(TStream* ASource, TStream* ADest, std::int64_t ACount) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::clamp<std::int64_t>(ACount, 1, StreamBlockSize)));
  while (ACount > 0) {
    const std::int64_t n = std::min<std::int64_t>(ACount, StreamBlockSize);
    ASource->ReadBuffer(block.data(), n);
    ADest->WriteBuffer(block.data(), n);
    ACount -= n;
  }
}

// The whole of a memory stream, its position left alone.
void WriteStreamBytes(TCustomMemoryStream* ASource, TStream* ADest) {
  const auto* bytes = static_cast<const std::uint8_t*>(ASource->Memory());
  for (std::int64_t done = 0, size = ASource->Size(); done < size; done += StreamBlockSize)
    ADest->WriteBuffer(bytes + done, std::min(StreamBlockSize, size - done));
}

TRect RoundRectF(const TdxRectF& R) {
  return TRect(RoundToInt(R.Left), RoundToInt(R.Top), RoundToInt(R.Right), RoundToInt(R.Bottom));
}

bool IsNullSize(const TSize& ASize) { return ASize.cx == 0 && ASize.cy == 0; }

TRGBColors CheckedBits(int AWidth, int AHeight, const RGBQUAD* ABits) {
  if (AWidth <= 0 || AHeight <= 0) return {};
  return TRGBColors(ABits, ABits + static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight));
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxSmartImageDataStream

TOwned<TdxSmartImageDataStream> TdxSmartImageDataStream::Clone() {
  TOwned<TdxSmartImageDataStream> result(NewOfClass<TdxSmartImageDataStream>(ClassType()));
  result->SetSize(Size());
  if (Size() > 0) {
    result->SetPosition(0);
    WriteStreamBytes(this, result.get());
  }
  result->SetPosition(0);
  return result;
}

TOwned<TdxSmartImageDataStream> TdxSmartImageDataStream::Clone(TdxSmartImageDataStream* AStream) {
  return AStream ? AStream->Clone() : nullptr;
}

// ---------------------------------------------------------------------------
// TdxSmartImageData

void TdxSmartImageData::Create() {
  FBitsFormat = afIgnored;
  FTransparentColor = clDefault;
  FTransparentMode = tmAuto;
}

void TdxSmartImageData::Clear() {
  FData.reset();
  TRGBColors().swap(FBits);
  FSize = TSize();
  FNewSize = TSize();
}

void TdxSmartImageData::Assign(const TdxSmartImageData* ASource) {
  FBits = ASource->FBits;
  FBitsFormat = ASource->FBitsFormat;
  FSize = ASource->FSize;
  FNewSize = ASource->FNewSize;
  FData = TdxSmartImageDataStream::Clone(ASource->FData.get());
}

bool TdxSmartImageData::LoadFromBitmap(TBitmap* ABitmap) {
  Clear();
  FTransparent = FTransparent || ABitmap->Transparent();
  FTransparentColor = ABitmap->TransparentColor();
  FTransparentMode = ABitmap->TransparentMode();
  TRGBColors bits;
  if (!GetGraphicPixels(ABitmap, bits, true)) return false;
  FBits = std::move(bits);
  FBitsFormat = ABitmap->AlphaFormat();
  if (FBitsFormat == afIgnored && GetBitmapBitsPerPixel(ABitmap) == 32 && TdxSmartImageHelper::HasAlpha(FBits))
    FBitsFormat = TdxColors::ArePremultiplied(FBits) ? afPremultiplied : afDefined;
  FSize = TSize(ABitmap->Width(), ABitmap->Height());
  if (FBitsFormat == afIgnored) MakeAlphaChannel();
  return true;
}

void TdxSmartImageData::LoadFromBits(int AWidth, int AHeight, TRGBColors ABits, TAlphaFormat AAlphaFormat) {
  Clear();
  if (AWidth <= 0 || AHeight <= 0) return;
  const std::size_t count = static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight);
  if (ABits.size() < count)
    throw EArgumentException(L"%d pixels given for an image of %d x %d",
                             {static_cast<int>(ABits.size()), AWidth, AHeight});
  ABits.resize(count);
  FBits = std::move(ABits);
  FBitsFormat = AAlphaFormat;
  FSize = TSize(AWidth, AHeight);
  if (FBitsFormat == afIgnored) MakeAlphaChannel();
}

void TdxSmartImageData::LoadFromStream(TStream* AStream, TOwned<TdxSmartImageDataStream> AData) {
  Clear();
  const std::int64_t count = AStream->Size() - AStream->Position();
  if (count <= 0) return;
  AData->SetSize(count);
  AData->SetPosition(0);
  CopyStreamBlocks(AStream, AData.get(), count);
  AData->SetPosition(0);
  FData = std::move(AData);
}

void TdxSmartImageData::MakeAlphaChannel() {
  if (FBits.empty()) return;
  // The alpha byte of a bitmap without alpha means nothing: only the colours are compared.
  constexpr std::uint32_t ColorMask = 0x00FFFFFF;
  const std::uint32_t key = FTransparentMode == tmFixed
                                ? SwapRedBlue(static_cast<std::uint32_t>(ColorToRGB(FTransparentColor)))
                                : std::bit_cast<std::uint32_t>(FBits[FBits.size() - FSize.cx]);
  for (RGBQUAD& pixel : FBits) {
    if (FTransparent && (std::bit_cast<std::uint32_t>(pixel) & ColorMask) == (key & ColorMask))
      // Premultiplied, a transparent pixel has no colour either: drawn over
      // anything it would otherwise add its colour.
      pixel = RGBQUAD{};
    else
      pixel.rgbReserved = 255;
  }
  FBitsFormat = afPremultiplied;
}

// ---------------------------------------------------------------------------
// TdxSmartImageCustomHandle

bool TdxSmartImageCustomHandle::Empty() const {
  const TSize size = GetSize();
  return size.cx == 0 || size.cy == 0;
}

TdxAlphaState TdxSmartImageCustomHandle::GetAlphaState() {
  return Empty() ? asNoAlpha : GetPixelsAlphaState(GetAsBitmapBits());
}

TOwned<TBitmap> TdxSmartImageCustomHandle::GetAsBitmap() {
  TOwned<TBitmap> result(New<TBitmap>());
  result->SetPixelFormat(pf32bit);
  result->SetSize(Width(), Height());
  if (!Empty()) Draw(result->Canvas()->Handle(), ClientRect(), ClientRect(), 255, nullptr);
  return result;
}

TRGBColors TdxSmartImageCustomHandle::GetAsBitmapBits() {
  TRGBColors bits;
  const TOwned<TBitmap> bitmap = GetAsBitmap();
  if (!GetGraphicPixels(bitmap.get(), bits, true)) bits.clear();
  return bits;
}

void TdxSmartImageCustomHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
                                     IdxColorPalette* APalette) {
  Draw(DC, RoundRectF(ADest), RoundRectF(ASource), AAlpha, APalette);
}

bool TdxSmartImageCustomHandle::Equals(TdxSmartImageCustomHandle* AHandle) {
  if (!AHandle || Size() != AHandle->Size()) return false;
  if (Empty() || AHandle->Empty()) return true;
  const TRGBColors mine = GetAsBitmapBits();
  const TRGBColors theirs = AHandle->GetAsBitmapBits();
  return mine.size() == theirs.size() && std::memcmp(mine.data(), theirs.data(), mine.size() * sizeof(RGBQUAD)) == 0;
}

std::uint32_t TdxSmartImageCustomHandle::GetHashCode() {
  if (Empty()) return 0;
  const TRGBColors bits = GetAsBitmapBits();
  return CalculateCrc32(bits.data(), bits.size() * sizeof(RGBQUAD));
}

// ---------------------------------------------------------------------------
// TdxSmartImageAnimationController

void TdxSmartImageAnimationController::Create(TdxCustomSmartImage* AImage) { FImage = AImage; }

bool TdxSmartImageAnimationController::Active() { return FImage->AnimationFrameCount() > 1 && IsTimerActive(); }

void TdxSmartImageAnimationController::NextFrame() {
  StopTimer();
  const int frame = FImage->ActiveFrame();
  FImage->SetActiveFrame(frame + 1);
  if (FImage->ActiveFrame() == frame) {
    FImage->StopAnimation();  // frees this controller
    return;
  }
  StartTimer();
}

// ---------------------------------------------------------------------------
// TdxCustomSmartImage: construction

void TdxCustomSmartImage::Create() {
  inherited::Create();
  FImageData.reset(New<TdxSmartImageData>());
  FAnimationLoop = bTrue;
}

void TdxCustomSmartImage::CreateSize(int AWidth, int AHeight, TdxAlphaColor AColor) {
  Create();
  // The pixels are premultiplied; the colour is not.
  RGBQUAD pixel = AlphaColorToRGBQuad(AColor);
  TdxColors::Premultiply(std::span<RGBQUAD>(&pixel, 1));
  ReadBits(
      AWidth, AHeight,
      TdxSmartImageHelper::AllocColors(std::max(AWidth, 0), std::max(AHeight, 0), std::bit_cast<TdxAlphaColor>(pixel)),
      afPremultiplied);
}

void TdxCustomSmartImage::CreateFromBitmap(TBitmap* ABitmap) {
  Create();
  LoadFromBitmapData(ABitmap);
}

void TdxCustomSmartImage::CreateFromHBitmap(HBITMAP ABitmap) {
  Create();
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetHandle(ABitmap);
  // The handle stays the caller's.
  TScopeExit release([&] { bitmap->ReleaseHandle(); });
  LoadFromBitmapData(bitmap.get());
}

void TdxCustomSmartImage::CreateFromBits(int AWidth, int AHeight, const TRGBColors& ABits, bool AHasAlphaChannel) {
  CreateFromBits(AWidth, AHeight, ABits, AHasAlphaChannel ? afPremultiplied : afIgnored);
}

void TdxCustomSmartImage::CreateFromBits(int AWidth, int AHeight, const TRGBColors& ABits, TAlphaFormat AAlphaFormat) {
  Create();
  ReadBits(AWidth, AHeight, ABits, AAlphaFormat);
}

void TdxCustomSmartImage::CreateFromBits(int AWidth, int AHeight, const RGBQUAD* ABits, TAlphaFormat AAlphaFormat) {
  Create();
  ReadBits(AWidth, AHeight, CheckedBits(AWidth, AHeight, ABits), AAlphaFormat);
}

void TdxCustomSmartImage::CreateFromFile(const String& AFileName) {
  Create();
  TOwned<TFileStream> file(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyWrite)));
  ReadStream(file.get());
}

void TdxCustomSmartImage::CreateFromStream(TStream* AStream) {
  Create();
  ReadStream(AStream);
}

void TdxCustomSmartImage::Destroy() {
  if (FImageData) FreeImage();
  FAnimationController.reset();
  FImageData.reset();
  FCache.reset();
  inherited::Destroy();
}

TClass TdxCustomSmartImage::AnimationControllerClass() {
  return SmartImageAnimationControllerClass ? SmartImageAnimationControllerClass
                                            : TdxSmartImageAnimationController::ClassInfo();
}

void TdxCustomSmartImage::SetAnimationControllerClass(TClass AValue) { SmartImageAnimationControllerClass = AValue; }

TOwned<TdxCustomSmartImage> TdxCustomSmartImage::Clone() {
  TOwned<TdxCustomSmartImage> result(NewOfClass<TdxCustomSmartImage>(ClassType()));
  result->AssignSmartImage(this);
  return result;
}

bool TdxCustomSmartImage::GetInterface(const GUID& AIID, void** AObj) {
  return inherited::GetInterface(AIID, AObj) || (FHandle && FHandle->GetInterface(AIID, AObj));
}

// ---------------------------------------------------------------------------
// Size and state

TSize TdxCustomSmartImage::Size() {
  if (!FHandle) {
    if (FImageData->Empty()) return TSize();
    if (!IsNullSize(FImageData->NewSize())) return FImageData->NewSize();
    if (!IsNullSize(FImageData->Size())) return FImageData->Size();
    TSize size;
    TdxSmartImageCodecClass codec = nullptr;
    if (TdxSmartImageCodecsRepository::GetImageInfo(FImageData.get(), size, codec)) {
      FImageData->SetSize(size);
      return size;
    }
    HandleNeeded();
  }
  return FHandle->Size();
}

bool TdxCustomSmartImage::Empty() const { return FHandle ? FHandle->Empty() : FImageData->Empty(); }

// Measuring may decode, which is no change of the image.
int TdxCustomSmartImage::Width() const { return const_cast<TdxCustomSmartImage*>(this)->Size().cx; }

int TdxCustomSmartImage::Height() const { return const_cast<TdxCustomSmartImage*>(this)->Size().cy; }

bool TdxCustomSmartImage::Transparent() const { return const_cast<TdxCustomSmartImage*>(this)->IsAlphaUsed(); }

bool TdxCustomSmartImage::IsAlphaUsed() {
  if (!FAlphaStateAssigned) {
    HandleNeeded();
    FAlphaState = FHandle->GetAlphaState();
    FAlphaStateAssigned = true;
  }
  return FAlphaState != asOpaque;
}

void TdxCustomSmartImage::Changed(TObject* Sender) {
  FCache.reset();
  FAlphaStateAssigned = false;
  inherited::Changed(Sender);
}

// ---------------------------------------------------------------------------
// Decoding

void TdxCustomSmartImage::HandleNeeded() {
  if (FHandle) return;
  if (FImageData->Empty())
    FHandle.reset(New<TdxSmartImageEmptyHandle>());
  else if (!TdxSmartImageCodecsRepository::Load(FImageData.get(), FHandle))
    throw EdxException(LoadLocalizedResString(&sdxUnsupportedImageFormat));
  const TSize newSize = FImageData->NewSize();
  if (!IsNullSize(newSize)) {
    FImageData->SetNewSize(TSize());
    Resize(newSize);
  }
}

TdxSmartImageCustomHandle* TdxCustomSmartImage::ImageHandle() {
  HandleNeeded();
  return FHandle.get();
}

void TdxCustomSmartImage::FreeHandle() { FHandle.reset(); }

void TdxCustomSmartImage::FreeImage() {
  FreeHandle();
  FImageData->Clear();
}

void TdxCustomSmartImage::Dormant() {
  if (!FHandle) return;
  if (!Empty()) EnsureEncodedData();
  FreeHandle();
}

void TdxCustomSmartImage::EnsureEncodedData() {
  if (!FImageData->Data()) FImageData->SetData(Encode(ImageCodec()));
}

void TdxCustomSmartImage::ConvertToBitmap() {
  if (Empty()) return;
  const TdxImageDataFormat format = ImageDataFormat();
  if (format == dxImageBitmap || format == dxImageMemoryBmp) return;
  SetBitmap(GetAsBitmap().get());
}

TdxSmartImageCodecClass TdxCustomSmartImage::GetImageCodec() {
  HandleNeeded();
  if (auto* ex = SupportsRaw<IdxImageDataFormatEx>(FHandle.get())) return ex->GetImageCodec();
  if (auto* format = SupportsRaw<IdxImageDataFormat>(FHandle.get()))
    return TdxSmartImageCodecsRepository::GetFormatByID(format->GetImageDataFormat());
  return nullptr;
}

void TdxCustomSmartImage::SetImageCodec(TdxSmartImageCodecClass AValue) {
  if (AValue == ImageCodec()) return;
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  SaveToStreamByCodec(stream.get(), AValue);
  stream->SetPosition(0);
  LoadFromStream(stream.get());
}

TdxImageDataFormat TdxCustomSmartImage::ImageDataFormat() {
  const TdxSmartImageCodecClass codec = ImageCodec();
  return codec ? codec->GetFormatID() : dxImageUnknown;
}

void TdxCustomSmartImage::SetImageDataFormat(TdxImageDataFormat AValue) {
  SetImageCodec(TdxSmartImageCodecsRepository::GetFormatByID(AValue));
}

TOwned<TdxSmartImageDataStream> TdxCustomSmartImage::NewDataStream() {
  return TOwned<TdxSmartImageDataStream>(New<TdxSmartImageDataStream>());
}

// ---------------------------------------------------------------------------
// Loading

void TdxCustomSmartImage::ReadStream(TStream* AStream) {
  FreeImage();
  if (IsBitmapStream(AStream)) {
    // BMP files are kept as pixels, never as bytes.
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromStream(AStream);
    LoadFromBitmapData(bitmap.get());
  } else {
    FImageData->LoadFromStream(AStream, NewDataStream());
  }
}

void TdxCustomSmartImage::ReadBits(int AWidth, int AHeight, TRGBColors ABits, TAlphaFormat AAlphaFormat) {
  FreeImage();
  FImageData->LoadFromBits(AWidth, AHeight, std::move(ABits), AAlphaFormat);
}

bool TdxCustomSmartImage::IsBitmapStream(TStream* AStream) {
  const std::int64_t position = AStream->Position();
  std::uint8_t header[14];
  const int read = AStream->Read(header, sizeof header);
  AStream->SetPosition(position);
  return read == static_cast<int>(sizeof header) && header[0] == 'B' && header[1] == 'M';
}

void TdxCustomSmartImage::LoadFromStream(TStream* AStream) {
  ReadStream(AStream);
  Changed(this);
}

void TdxCustomSmartImage::LoadFromBits(int AWidth, int AHeight, const TRGBColors& ABits, bool AHasAlphaChannel) {
  LoadFromBits(AWidth, AHeight, ABits, AHasAlphaChannel ? afPremultiplied : afIgnored);
}

void TdxCustomSmartImage::LoadFromBits(int AWidth, int AHeight, const TRGBColors& ABits, TAlphaFormat AAlphaFormat) {
  ReadBits(AWidth, AHeight, ABits, AAlphaFormat);
  Changed(this);
}

void TdxCustomSmartImage::LoadFromBitmapData(TBitmap* ABitmap) {
  FreeImage();
  FImageData->LoadFromBitmap(ABitmap);
}

void TdxCustomSmartImage::SetBitmap(TBitmap* ABitmap) {
  LoadFromBitmapData(ABitmap);
  Changed(this);
}

void TdxCustomSmartImage::LoadFromResource(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType) {
  // A missing resource raises the class library's EResNotFound and leaves
  // the image as it was.
  if (AResType == RT_BITMAP) {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromResourceName(AInstance, AResName);
    LoadFromBitmapData(bitmap.get());
  } else {
    TOwned<TResourceStream> stream(New<TResourceStream>(AInstance, AResName, AResType));
    ReadStream(stream.get());
  }
  Changed(this);
}

void TdxCustomSmartImage::LoadFromFieldValue(const Variant& AValue) {
  if (VarIsClear(AValue)) return;
  RawByteString bytes;
  if (AValue.IsArray()) {
    for (int i = VarArrayLowBound(AValue, 1), high = VarArrayHighBound(AValue, 1); i <= high; ++i)
      bytes += static_cast<char>(AValue[i].AsInteger());
  } else {
    bytes = AValue.AsRawByteString();
  }
  // Some blob fields put a header before the data: the 16-bit values 1 and
  // $0100, then the length of what follows.
  std::size_t offset = 0;
  if (bytes.size() > 7) {
    std::uint16_t kind, version;
    std::uint32_t length;
    std::memcpy(&kind, bytes.data(), 2);
    std::memcpy(&version, bytes.data() + 2, 2);
    std::memcpy(&length, bytes.data() + 4, 4);
    if (kind == 1 && version == 0x0100 && length == bytes.size() - 8) offset = 8;
  }
  if (bytes.size() == offset) return;
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(bytes.data() + offset, static_cast<std::int64_t>(bytes.size() - offset));
  stream->SetPosition(0);
  LoadFromStream(stream.get());
}

// ---------------------------------------------------------------------------
// Saving

TOwned<TdxSmartImageDataStream> TdxCustomSmartImage::Encode(TdxSmartImageCodecClass ACodec) {
  if (!ACodec) throw EdxException(LoadLocalizedResString(&sdxOperationNotSupported));
  const TdxImageDataFormat format = ImageDataFormat();
  if (ACodec->GetFormatID() == format && format != dxImageUnknown && FImageData->Data())
    return FImageData->Data()->Clone();
  HandleNeeded();
  TOwned<TdxSmartImageDataStream> result = NewDataStream();
  if (!ACodec->Save(result.get(), FHandle.get()))
    throw EdxException(
        Format(LoadLocalizedResString(&sdxImageCodecFailed), {ACodec->ClassName(), static_cast<int>(format)}));
  result->SetPosition(0);
  return result;
}

void TdxCustomSmartImage::SaveToStream(TStream* AStream) {
  if (!Empty() && !FHandle && FImageData->Data())
    WriteStreamBytes(FImageData->Data(), AStream);
  else
    SaveToStreamByCodec(AStream, ImageDataFormat());
}

void TdxCustomSmartImage::SaveToStreamByCodec(TStream* AStream, TdxSmartImageCodecClass ACodec) {
  if (Empty()) return;
  const TOwned<TdxSmartImageDataStream> data = Encode(ACodec);
  WriteStreamBytes(data.get(), AStream);
}

void TdxCustomSmartImage::SaveToStreamByCodec(TStream* AStream, TdxImageDataFormat AFormat) {
  SaveToStreamByCodec(AStream, TdxSmartImageCodecsRepository::GetFormatByID(AFormat));
}

void TdxCustomSmartImage::SaveToFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmCreate));
  if (const TdxSmartImageCodecClass codec = TdxSmartImageCodecsRepository::GetFormatByExt(ExtractFileExt(AFileName)))
    SaveToStreamByCodec(file.get(), codec);
  else
    SaveToStream(file.get());
}

// ---------------------------------------------------------------------------
// Assigning

void TdxCustomSmartImage::Assign(TPersistent* ASource) {
  if (!ASource) {
    Clear();
  } else if (auto* image = dynamic_cast<TdxCustomSmartImage*>(ASource)) {
    if (image != this) AssignSmartImage(image);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(ASource)) {
    AssignGraphic(graphic);
  } else if (auto* picture = dynamic_cast<TPicture*>(ASource)) {
    Assign(picture->Graphic());
  } else if (dynamic_cast<TClipboard*>(ASource)) {
    PasteFromClipboard();
  } else {
    inherited::Assign(ASource);
  }
}

void TdxCustomSmartImage::AssignSmartImage(TdxCustomSmartImage* AImage) {
  if (AImage->Empty()) {
    Clear();
  } else if (!AImage->FImageData->Empty()) {
    FreeImage();
    FImageData->Assign(AImage->FImageData.get());
    Changed(this);
  } else if (AImage->ImageDataFormat() == dxImageBitmap) {
    SetBitmap(AImage->GetAsBitmap().get());
  } else {
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    AImage->SaveToStream(stream.get());
    stream->SetPosition(0);
    LoadFromStream(stream.get());
  }
}

void TdxCustomSmartImage::AssignGraphic(TGraphic* AGraphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) {
    SetBitmap(bitmap);
  } else if (auto* metafile = dynamic_cast<TMetafile*>(AGraphic)) {
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    metafile->SaveToStream(stream.get());
    stream->SetPosition(0);
    LoadFromStream(stream.get());
  } else if (auto* icon = dynamic_cast<TIcon*>(AGraphic)) {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->Assign(icon);
    SetBitmap(bitmap.get());
  } else {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(AGraphic->Width(), AGraphic->Height());
    bitmap->Canvas()->Draw(0, 0, AGraphic);
    SetBitmap(bitmap.get());
  }
}

void TdxCustomSmartImage::AssignTo(TPersistent* ADest) {
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(ADest)) {
    image->Assign(this);
  } else if (auto* metafile = dynamic_cast<TMetafile*>(ADest)) {
    AssignToGraphic(metafile);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(ADest)) {
    if (!Empty())
      bitmap->Assign(GetAsBitmap().get());
    else if (!bitmap->Empty())
      bitmap->Assign(nullptr);
  } else {
    inherited::AssignTo(ADest);
  }
}

void TdxCustomSmartImage::AssignToGraphic(TGraphic* AGraphic) {
  const auto* metafile = dynamic_cast<TMetafile*>(AGraphic);
  const TdxImageDataFormat format = metafile && !metafile->Enhanced() ? dxImageWmf : dxImageEmf;
  const TOwned<TdxSmartImageDataStream> data = Encode(TdxSmartImageCodecsRepository::GetFormatByID(format));
  AGraphic->LoadFromStream(data.get());
}

// ---------------------------------------------------------------------------
// Changes

void TdxCustomSmartImage::Clear() {
  if (!FHandle && FImageData->Empty()) return;
  FreeImage();
  Changed(this);
}

void TdxCustomSmartImage::ChangeColor(TColor AColor) {
  if (AColor == clNone || AColor == clDefault || Empty()) return;
  const TSize size = ImageHandle()->Size();
  TRGBColors bits = GetBitmapBits();
  ColorizePixels(bits, AColor);
  LoadFromBits(size.cx, size.cy, bits, afPremultiplied);
}

bool TdxCustomSmartImage::Resize(const TSize& ASize) {
  bool changed;
  if (!FHandle) {
    changed = FImageData->NewSize() != ASize;
    if (changed) FImageData->SetNewSize(ASize);
  } else if (FHandle->Empty()) {
    changed = ASize.cx > 0 && ASize.cy > 0;
    if (changed) ReadBits(ASize.cx, ASize.cy, TdxSmartImageHelper::AllocColors(ASize.cx, ASize.cy, 0), afPremultiplied);
  } else {
    changed = FHandle->Size() != ASize;
    if (changed) {
      // The handle lets go of the stored data before it is dropped.
      FHandle->SetSize(ASize);
      FImageData->Clear();
    }
  }
  if (changed) Changed(this);
  return changed;
}

void TdxCustomSmartImage::Scale(int M, int D) {
  const TSize size = Size();
  Resize(MulDiv(size.cx, M, D), MulDiv(size.cy, M, D));
}

// ---------------------------------------------------------------------------
// Comparison and pixels

bool TdxCustomSmartImage::Compare(TdxCustomSmartImage* AImage) {
  if (!AImage) return false;
  return ImageHandle()->Equals(AImage->ImageHandle());
}

bool TdxCustomSmartImage::Equals(TGraphic* AGraphic) {
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic)) return Compare(image);
  return inherited::Equals(AGraphic);
}

std::uint32_t TdxCustomSmartImage::GetHashCode() { return ImageHandle()->GetHashCode(); }

TOwned<TBitmap> TdxCustomSmartImage::GetAsBitmap() { return ImageHandle()->GetAsBitmap(); }

TRGBColors TdxCustomSmartImage::GetBitmapBits() { return ImageHandle()->GetAsBitmapBits(); }

// ---------------------------------------------------------------------------
// Drawing

bool TdxCustomSmartImage::IsSmoothResizeNeeded(const TSize& ASourceSize, const TSize& ADestSize) {
  return ADestSize.cx < ASourceSize.cx && ADestSize.cy < ASourceSize.cy &&
         static_cast<std::int64_t>(ADestSize.cx) * ADestSize.cy * 4 <
             static_cast<std::int64_t>(ASourceSize.cx) * ASourceSize.cy;
}

TOwned<TdxSmartImageCustomHandle> TdxCustomSmartImage::CreateResizedHandle(const TSize&) { return nullptr; }

void TdxCustomSmartImage::DrawWhole(HDC DC, const TRect& ADest, std::uint8_t AAlpha, IdxColorPalette* APalette) {
  HandleNeeded();
  if (FUseCache) {
    GUID paletteID;
    GetPaletteID(APalette, paletteID);
    if (paletteID != FCachePaletteID) FCache.reset();
    if (!FCache || FCache->Size() != ADest.GetSize()) {
      FCache.reset();
      if (IsSmoothResizeNeeded(FHandle->Size(), ADest.GetSize())) {
        FCache = CreateResizedHandle(ADest.GetSize());
        FCachePaletteID = paletteID;
      }
    }
    if (FCache) {
      FCache->Draw(DC, ADest, FCache->ClientRect(), AAlpha, APalette);
      return;
    }
  }
  FHandle->Draw(DC, ADest, FHandle->ClientRect(), AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TRect& ADest, std::uint8_t AAlpha, IdxColorPalette* APalette) {
  DrawWhole(DC, ADest, AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha,
                                      IdxColorPalette* APalette) {
  ImageHandle()->Draw(DC, ADest, ASource, AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
                                      IdxColorPalette* APalette) {
  ImageHandle()->Draw(DC, ADest, ASource, AAlpha, APalette);
}

void TdxCustomSmartImage::StretchDraw(HDC DC, const TdxRectF& ADest, std::uint8_t AAlpha, IdxColorPalette* APalette) {
  StretchDraw(DC, ADest, TdxRectF(ImageHandle()->ClientRect()), AAlpha, APalette);
}

void TdxCustomSmartImage::Draw(TCanvas* ACanvas, const TRect& ARect) {
  StretchDraw(ACanvas->Handle(), ARect, 255, nullptr);
}

// ---------------------------------------------------------------------------
// Animation

IdxAnimatedImage* TdxCustomSmartImage::AnimatedHandle() { return SupportsRaw<IdxAnimatedImage>(ImageHandle()); }

int TdxCustomSmartImage::ActiveFrame() {
  IdxAnimatedImage* animated = AnimatedHandle();
  return animated ? animated->GetActiveFrame() : 0;
}

void TdxCustomSmartImage::SetActiveFrame(int AValue) {
  IdxAnimatedImage* animated = AnimatedHandle();
  if (!animated) return;
  const int count = animated->GetAnimationFrameCount();
  if (count <= 0) return;
  int frame = std::max(AValue, 0);
  if (frame >= count) {
    switch (FAnimationLoop) {
      case bTrue:
        frame = 0;
        break;
      case bFalse:
        frame = count - 1;
        break;
      case bDefault: {
        const int loopCount = animated->GetAnimationLoopCount();
        if (loopCount == 0) {
          frame = 0;
        } else if (FAnimationLoopIndex < loopCount) {
          frame = 0;
          ++FAnimationLoopIndex;
        } else {
          frame = count - 1;
        }
        break;
      }
    }
  }
  if (frame == animated->GetActiveFrame()) return;
  animated->SetActiveFrame(frame);
  Changed(this);
}

bool TdxCustomSmartImage::Animation() { return FAnimationController && FAnimationController->Active(); }

void TdxCustomSmartImage::SetAnimation(bool AValue) {
  if (!AValue)
    StopAnimation();
  else if (AnimatedHandle() && ImageDataFormat() != dxImageTiff)  // pages of a TIFF are no animation
    StartAnimation();
}

int TdxCustomSmartImage::AnimationFrameCount() {
  IdxAnimatedImage* animated = AnimatedHandle();
  return animated ? animated->GetAnimationFrameCount() : 1;
}

int TdxCustomSmartImage::AnimationFrameDelay() {
  if (FAnimationFrameDelay != 0) return FAnimationFrameDelay;
  IdxAnimatedImage* animated = AnimatedHandle();
  return animated ? animated->GetAnimationFrameDelay() : 0;
}

void TdxCustomSmartImage::SetAnimationFrameDelay(int AValue) {
  FAnimationFrameDelay = std::max(AValue, 0);
  if (FAnimationController) {
    StopAnimation();
    StartAnimation();
  }
}

int TdxCustomSmartImage::AnimationLoopCount() {
  IdxAnimatedImage* animated = AnimatedHandle();
  return animated ? animated->GetAnimationLoopCount() : 0;
}

void TdxCustomSmartImage::StartAnimation() {
  if (FAnimationController || AnimationFrameCount() < 2) return;
  FAnimationController.reset(NewOfClass<TdxSmartImageAnimationController>(AnimationControllerClass(), this));
  FAnimationController->StartTimer();
}

void TdxCustomSmartImage::StopAnimation() { FAnimationController.reset(); }

// ---------------------------------------------------------------------------
// Clipboard

namespace {

// The formats pasting looks for, in this order.
constexpr TdxImageDataFormat PasteFormats[] = {dxImagePng, dxImageGif, dxImageTiff, dxImageJpeg, dxImageBitmap};

}  // namespace

bool TdxCustomSmartImage::IsSupportClipboardFormat(UINT AFormat) {
  const TdxSmartImageClipboardFormats& formats = TdxSmartImageCodecsRepository::ClipboardFormats();
  return AFormat != 0 && std::find(formats.begin(), formats.end(), AFormat) != formats.end();
}

bool TdxCustomSmartImage::HasClipboardFormat() {
  const TdxSmartImageClipboardFormats& formats = TdxSmartImageCodecsRepository::ClipboardFormats();
  return std::any_of(std::begin(PasteFormats), std::end(PasteFormats), [&](TdxImageDataFormat AFormat) {
    return formats[AFormat] != 0 && Clipboard()->HasFormat(formats[AFormat]);
  });
}

bool TdxCustomSmartImage::PasteFromClipboard() {
  Clipboard()->Open();
  TScopeExit close([] { Clipboard()->Close(); });
  return PasteFromClipboardFormats();
}

bool TdxCustomSmartImage::PasteFromClipboardFormats() {
  const TdxSmartImageClipboardFormats& formats = TdxSmartImageCodecsRepository::ClipboardFormats();
  for (const TdxImageDataFormat format : PasteFormats) {
    const UINT id = formats[format];
    if (id != 0 && Clipboard()->HasFormat(id)) {
      LoadFromClipboardFormat(id, Clipboard()->GetAsHandle(id), nullptr);
      return true;
    }
  }
  return false;
}

void TdxCustomSmartImage::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  if (AFormat == CF_BITMAP) {
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromClipboardFormat(AFormat, AData, APalette);
    bitmap->SetHandleType(bmDIB);
    bitmap->SetPixelFormat(pf24bit);
    SetBitmap(bitmap.get());
  } else if (IsSupportClipboardFormat(AFormat)) {
    TOwned<TdxHGlobalReadOnlyStream> stream(New<TdxHGlobalReadOnlyStream>(static_cast<HGLOBAL>(AData)));
    LoadFromStream(stream.get());
  }
}

void TdxCustomSmartImage::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  const UINT ownFormat = TdxSmartImageCodecsRepository::ClipboardFormats()[ImageDataFormat()];
  // A bitmap image has the bitmap as its own format already.
  TOwned<TMemoryStream> own;
  if (ownFormat != 0 && ownFormat != CF_BITMAP) {
    own.reset(New<TMemoryStream>());
    SaveToStream(own.get());
  }

  TOwned<TBitmap> bitmap(New<TBitmap>());
  const TSize size = Size();
  bitmap->SetSize(size.cx, size.cy);
  bitmap->Canvas()->Brush()->SetColor(clWhite);
  bitmap->Canvas()->FillRect(TRect(0, 0, size.cx, size.cy));
  StretchDraw(bitmap->Canvas()->Handle(), TRect(0, 0, size.cx, size.cy));
  bitmap->SaveToClipboardFormat(AFormat, AData, APalette);
  if (!own) return;

  // The bitmap goes onto the clipboard at once; the image's own bytes are the result.
  Clipboard()->SetAsHandle(AFormat, AData);
  AData = nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(own->Size()));
  if (!block) RaiseLastOSError();
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    RaiseLastOSError();
  }
  std::memcpy(bytes, own->Memory(), static_cast<std::size_t>(own->Size()));
  GlobalUnlock(block);
  AFormat = ownFormat;
  AData = block;
  APalette = nullptr;
}

void TdxCustomSmartImage::CopyToClipboard() {
  if (!Empty()) Clipboard()->Assign(this);
}

void TdxCustomSmartImage::CutToClipboard() {
  CopyToClipboard();
  Clear();
}

// ---------------------------------------------------------------------------
// TdxSmartImageHelper

TRGBColors TdxSmartImageHelper::AllocColors(int AWidth, int AHeight, TdxAlphaColor AColor) {
  return TRGBColors(static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight), AlphaColorToRGBQuad(AColor));
}

bool TdxSmartImageHelper::HasAlpha(std::span<const RGBQUAD> ABits) {
  bool allZero = true;
  for (const RGBQUAD& pixel : ABits) {
    if (pixel.rgbReserved != 0) return true;
    allZero = allZero && std::bit_cast<std::uint32_t>(pixel) == 0;
  }
  return allZero;
}
