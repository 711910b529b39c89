// The image list's persistence: the "DXIL" stream and the form data.
//
// "DXIL" stream, little-endian: signature $4C495844, version 1, width,
// height, background colour, blend colour, colour depth (32 bits each); a
// byte telling whether the native list's data follows, then its length (32
// bits) and the data in the class library's image-list format; the rest is
// the item collection as the class library writes collections.
#include "library/graphics/cxImageList.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"

#include <cstdint>

namespace {

constexpr TResStringRec scxUnsupportedImageListStreamFormat = {L"Unsupported stream format"};

constexpr std::uint32_t dxImageListStreamSignature = 0x4C495844;  // "DXIL"
constexpr std::uint32_t dxImageListStreamVersion = 1;
constexpr std::uint32_t dxImageListFormatVersion = 1;
// Larger cells are no images a list holds; the limit keeps a damaged size
// from asking for gigabytes.
constexpr std::int32_t dxImageListMaxImageSize = 4096;

[[noreturn]] void RaiseStreamReadError() { throw EReadError(L"Stream-Lesefehler"); }

std::int32_t ReadInt32(TStream* AStream) {
  std::int32_t value = 0;
  AStream->ReadBufferData(value);
  return value;
}

void WriteInt32(TStream* AStream, std::int32_t AValue) { AStream->WriteBufferData(AValue); }

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
      ReadData(native.get());
    }
    try {
      ReadCollectionFromStream(AStream, FImages.get());
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
