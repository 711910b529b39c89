// The image list's persistence: the "DXIL" stream and the form data.
//
// "DXIL" stream, little-endian: signature $4C495844, version 1, width,
// height, background colour, blend colour, colour depth (32 bits each); a
// byte telling whether the native list's data follows, then its length (32
// bits) and the data in the class library's image-list format; the rest is
// the item collection as the class library writes collections.
#include "library/graphics/imaging/cxImageList.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr TResStringRec scxUnsupportedImageListStreamFormat = {L"Unsupported stream format"};

constexpr std::uint32_t dxImageListStreamSignature = 0x4C495844;  // "DXIL"
constexpr std::uint32_t dxImageListStreamVersion = 1;
constexpr std::uint32_t dxImageListFormatVersion = 1;

[[noreturn]] void RaiseStreamReadError() { throw EReadError(L"Stream-Lesefehler"); }

std::int32_t ReadInt32(TStream* AStream) {
  std::int32_t value = 0;
  AStream->ReadBufferData(value);
  return value;
}

void WriteInt32(TStream* AStream, std::int32_t AValue) { AStream->WriteBufferData(AValue); }

// The native list's data: a header, then the image bitmap and, for a masked
// list, the mask bitmap, each as a bitmap file.
#pragma pack(push, 1)
struct TcxNativeImageListHeader {
  std::uint16_t Magic;
  std::uint16_t Version;
  std::int16_t Count;
  std::int16_t Capacity;
  std::int16_t Grow;
  std::int16_t Width;
  std::int16_t Height;
  std::uint32_t BkColor;
  std::uint16_t Flags;
  std::int16_t Overlays[4];
};
#pragma pack(pop)

constexpr std::uint16_t NativeImageListMagic = 0x4C49;  // "IL"
constexpr std::uint16_t NativeImageListVersion = 0x101;
// The native list lays its images out in rows of four.
constexpr int NativeImageListColumns = 4;
constexpr std::int64_t NativeImageListMaxPixels = std::int64_t{1} << 26;
// The colour bits of the flags (ILC_COLOR4 ... ILC_COLOR32, or none: device bits).
constexpr int NativeImageListDepthFlags = 0xFE;

// One bitmap of the native data: a grid of ACell cells, four to a row, that
// holds AImages of them.
void CheckNativeBitmap(TStream* AStream, const TSize& ACell, int AImages) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  AStream->ReadBufferData(file);
  AStream->ReadBufferData(info);
  const int bits = info.biBitCount;
  if (file.bfType != 0x4D42 || info.biSize != sizeof(BITMAPINFOHEADER) || info.biPlanes != 1 ||
      info.biCompression != BI_RGB || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    RaiseStreamReadError();
  const std::int64_t width = info.biWidth;
  const std::int64_t height = std::abs(static_cast<std::int64_t>(info.biHeight));
  const std::int64_t rows = (AImages + NativeImageListColumns - 1) / NativeImageListColumns;
  // The reader takes the rows as four cells wide, whatever the bitmap says.
  if (width != std::int64_t{ACell.cx} * NativeImageListColumns || height < rows * ACell.cy ||
      width * height > NativeImageListMaxPixels)
    RaiseStreamReadError();
  const std::int64_t colors = bits <= 8 ? (info.biClrUsed ? std::min<std::int64_t>(info.biClrUsed, 1 << bits) : 1 << bits) : 0;
  const std::int64_t data = colors * 4 + (width * bits + 31) / 32 * 4 * height;
  if (data > AStream->Size() - AStream->Position()) RaiseStreamReadError();
  AStream->Seek(data, soCurrent);
}

// The system's reader trusts the sizes in the native data: it makes a list
// of the stated capacity and growth, copies the stated number of images
// into it from the bitmaps, and then takes count and capacity as they stand.
// A count above the capacity writes past the list's memory; a growth or
// bitmap that lies does the same later. So everything it reads is checked
// before it gets there: the cell size, a count within the capacity, a
// capacity and growth whose bitmaps stay within bounds, colour bits it
// knows, overlays among the images, and bitmaps that hold the images.
void CheckNativeData(TStream* AStream) {
  const std::int64_t start = AStream->Position();
  TcxNativeImageListHeader header{};
  AStream->ReadBufferData(header);
  const TSize cell(header.Width, header.Height);
  const std::int64_t cellPixels = std::int64_t{cell.cx} * cell.cy;
  const int depth = header.Flags & NativeImageListDepthFlags;
  if (header.Magic != NativeImageListMagic || header.Version != NativeImageListVersion || cell.cx < 1 ||
      cell.cy < 1 || cell.cx > dxImageListMaxImageSize || cell.cy > dxImageListMaxImageSize || header.Count < 0 ||
      header.Capacity < header.Count || header.Grow < 0 ||
      cellPixels * (std::int64_t{header.Capacity} + header.Grow + 1) > NativeImageListMaxPixels ||
      (header.Flags & ~(ILC_MASK | NativeImageListDepthFlags)) != 0 ||
      (depth != ILC_COLORDDB && depth != ILC_COLOR4 && depth != ILC_COLOR8 && depth != ILC_COLOR16 &&
       depth != ILC_COLOR24 && depth != ILC_COLOR32) ||
      std::any_of(std::begin(header.Overlays), std::end(header.Overlays),
                  [&](std::int16_t AImage) { return AImage < -1 || AImage >= header.Count; }))
    RaiseStreamReadError();
  CheckNativeBitmap(AStream, cell, header.Count);
  if (header.Flags & ILC_MASK) CheckNativeBitmap(AStream, cell, header.Count);
  AStream->SetPosition(start);
}

}  // namespace

// ---------------------------------------------------------------------------
// The "DXIL" stream

void TcxCustomImageList::SaveToStream(TStream* AStream) {
  AStream->WriteBufferData(dxImageListStreamSignature);
  AStream->WriteBufferData(dxImageListStreamVersion);
  WriteInt32(AStream, Width());
  WriteInt32(AStream, Height());
  WriteInt32(AStream, static_cast<std::int32_t>(BkColor()));
  WriteInt32(AStream, static_cast<std::int32_t>(BlendColor()));
  WriteInt32(AStream, static_cast<std::int32_t>(ColorDepth()));
  AStream->WriteBufferData(std::uint8_t{1});
  const TOwned<TMemoryStream> native(New<TMemoryStream>());
  WriteData(native.get());
  WriteInt32(AStream, static_cast<std::int32_t>(native->Size()));
  AStream->WriteBuffer(native->Memory(), native->Size());
  WriteCollectionToStream(AStream, FImages.get());
}

void TcxCustomImageList::LoadFromStream(TStream* AStream) {
  std::uint32_t signature = 0;
  std::uint32_t version = 0;
  AStream->ReadBufferData(signature);
  if (signature == dxImageListStreamSignature) AStream->ReadBufferData(version);
  if (signature != dxImageListStreamSignature || version != dxImageListStreamVersion)
    throw EcxUnsupportedImageListStreamFormat(LoadLocalizedResString(&scxUnsupportedImageListStreamFormat));
  // Read whole into a list of its own first: a damaged stream changes nothing here.
  const TOwned<TcxImageList> loaded(New<TcxImageList>(nullptr));
  loaded->ReadStreamContent(AStream);
  WithUpdate(this, [&] { TakeContent(loaded.get()); });
}

void TcxCustomImageList::ReadStreamContent(TStream* AStream) {
  WithUpdate(this, [&] {
    Clear();
    FFormatVersion = dxImageListFormatVersion;
    const std::int32_t width = ReadInt32(AStream);
    const std::int32_t height = ReadInt32(AStream);
    if (width < 1 || height < 1 || width > dxImageListMaxImageSize || height > dxImageListMaxImageSize)
      RaiseStreamReadError();
    SetSize(width, height);
    SetBkColor(static_cast<TColor>(ReadInt32(AStream)));
    SetBlendColor(static_cast<TColor>(ReadInt32(AStream)));
    const std::int32_t depth = ReadInt32(AStream);
    if (depth < cdDeviceDependent || depth > cd32Bit) RaiseStreamReadError();
    SetColorDepth(static_cast<TColorDepth>(depth));
    std::uint8_t hasNativeData = 0;
    AStream->ReadBufferData(hasNativeData);
    if (hasNativeData != 0) {
      // The length is checked against what the stream still holds before
      // anything is allocated for it.
      const std::int32_t length = ReadInt32(AStream);
      if (length < 0 || length > AStream->Size() - AStream->Position()) RaiseStreamReadError();
      const TOwned<TMemoryStream> native(New<TMemoryStream>());
      native->SetSize(length);
      AStream->ReadBuffer(native->Memory(), length);
      CheckNativeData(native.get());
      ReadData(native.get());
    }
    // An item of a class that is no graphic, or whose image does not
    // decode, raises its own error (EdxException).
    try {
      ReadCollectionFromStream(AStream, FImages.get());
      // The native data spare the items a decoding here; an image that
      // cannot be decoded would otherwise only fail when it is drawn.
      for (int i = 0; i < FImages->Count(); ++i) FImages->Items(i)->Image()->Width();
    } catch (const EParserError& e) {
      // Items that are not well formed are damaged data like any other.
      throw EReadError(e.Message());
    }
    if (Count() != FImages->Count()) SynchronizeHandle();
  });
}

void TcxCustomImageList::TakeContent(TcxCustomImageList* ASource) {
  ++FSynchronizationLockCount;
  const TScopeExit synchronized([this] { --FSynchronizationLockCount; });
  SetBkColor(ASource->BkColor());
  SetBlendColor(ASource->BlendColor());
  SetColorDepth(ASource->ColorDepth());
  const HIMAGELIST native = ImageList_Duplicate(ASource->Handle());
  if (!native) RaiseGraphicsApiError(L"ImageList_Duplicate");
  TCustomImageList::SetHandle(native);
  FImages->Assign(ASource->FImages.get());
  FFormatVersion = ASource->FFormatVersion;
}

void TcxCustomImageList::SaveToFile(const String& AFileName) {
  const TOwned<TFileStream> stream(New<TFileStream>(AFileName, fmCreate));
  SaveToStream(stream.get());
}

void TcxCustomImageList::LoadFromFile(const String& AFileName) {
  const TOwned<TFileStream> stream(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyNone)));
  LoadFromStream(stream.get());
}

void TcxCustomImageList::LoadFromResource(HINSTANCE AInstance, const String& AResourceName,
                                          const wchar_t* AResourceType) {
  const TOwned<TResourceStream> stream(New<TResourceStream>(AInstance, AResourceName, AResourceType));
  LoadFromStream(stream.get());
}

// ---------------------------------------------------------------------------
// Form data

bool TcxCustomImageList::NeedsNativeData() {
  // Only a list of mostly vector images keeps its native images beside the
  // items: raster items rebuild them faster than they load.
  return FImages->GetVectorImageCount() > MulDiv(Count(), 1, 3);
}

void TcxCustomImageList::ReadNativeData(TStream* AStream) {
  CheckNativeData(AStream);
  ReadData(AStream);
  // Data from before the items: the items come from the native images.
  if (FFormatVersion == 0) SynchronizeImageInfo();
}

void TcxCustomImageList::ReadImageInfo(TReader* AReader) {
  AReader->ReadCollection(FImages.get());
  if (Count() != FImages->Count()) SynchronizeHandle();
}

void TcxCustomImageList::DefineProperties(TFiler* AFiler) {
  // The class library's own definition of the native data is replaced by
  // this list's, which stores it only when needed.
  TComponent::DefineProperties(AFiler);
  auto* ancestor = dynamic_cast<TcxCustomImageList*>(AFiler->Ancestor());
  AFiler->DefineProperty(
      L"FormatVersion", [this](TReader* AReader) { FFormatVersion = AReader->ReadInteger(); },
      [this](TWriter* AWriter) {
        FFormatVersion = dxImageListFormatVersion;
        AWriter->WriteInteger(FFormatVersion);
      },
      true);
  AFiler->DefineBinaryProperty(
      L"Bitmap", [this](TStream* AStream) { ReadNativeData(AStream); },
      [this](TStream* AStream) { WriteData(AStream); }, Is<TWriter>(AFiler) && NeedsNativeData());
  AFiler->DefineProperty(
      L"DesignInfo", [this](TReader* AReader) { FDesignInfo = AReader->ReadInteger(); },
      [this](TWriter* AWriter) { AWriter->WriteInteger(FDesignInfo); },
      !ancestor || ancestor->FDesignInfo != FDesignInfo);
  AFiler->DefineProperty(
      L"ImageInfo", [this](TReader* AReader) { ReadImageInfo(AReader); },
      [this](TWriter* AWriter) { AWriter->WriteCollection(FImages.get()); },
      ancestor ? !FImages->Equals(ancestor->FImages.get()) : FImages->Count() > 0);
}
