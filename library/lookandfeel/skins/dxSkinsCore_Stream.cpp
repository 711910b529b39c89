// The skin stream: one skin, or a container of skins. Little-endian; texts
// are UTF-8 behind a byte count, wide texts UTF-16 behind a character count.
// Every length and count is checked against what is left of the stream before
// anything is allocated or looped over: a stream names sizes it cannot hold
// only when it is damaged, and then it raises the stream read error.
#include "library/core/base/dxCoreClasses.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"

#include <climits>
#include <cstring>

namespace {

constexpr char Signature[] = {'d', 'x', 'S', 'k', 'i', 'n'};
constexpr int HeaderSize = 18;

[[noreturn]] void RaiseFormatError() { throw EdxSkinError(L"Invalid stream format"); }

std::int64_t Remaining(TStream* AStream) { return AStream->Size() - AStream->Position(); }

void RequireBytes(TStream* AStream, std::int64_t ACount) {
  if (ACount > Remaining(AStream)) throw EReadError(L"Stream-Lesefehler");
}

template <class T>
T ReadValue(TStream* AStream) {
  T value{};
  AStream->ReadBufferData(value);
  return value;
}

template <class T>
void WriteValue(TStream* AStream, T AValue) {
  AStream->WriteBufferData(AValue);
}

int ReadInt32(TStream* AStream) { return ReadValue<std::int32_t>(AStream); }
void WriteInt32(TStream* AStream, int AValue) { WriteValue<std::int32_t>(AStream, AValue); }

// An enumerated byte; one past its type's last value is a damaged stream.
template <class E>
E ReadEnum(TStream* AStream, E ALast) {
  const std::uint8_t value = ReadValue<std::uint8_t>(AStream);
  if (value > ALast) RaiseFormatError();
  return static_cast<E>(value);
}

String ReadText(TStream* AStream) {
  const int count = ReadInt32(AStream);
  if (count <= 0) return String();
  RequireBytes(AStream, count);
  RawByteString bytes(static_cast<std::size_t>(count), '\0');
  AStream->ReadBuffer(bytes.data(), count);
  return UTF8ToString(bytes);
}

void WriteText(TStream* AStream, const String& AValue) {
  const RawByteString bytes = UTF8Encode(AValue);
  WriteInt32(AStream, static_cast<int>(bytes.size()));
  AStream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

String ReadWideText(TStream* AStream) {
  const int count = ReadInt32(AStream);
  if (count <= 0) return String();
  RequireBytes(AStream, std::int64_t{count} * 2);
  String text(static_cast<std::size_t>(count), L'\0');
  AStream->ReadBuffer(text.data(), std::int64_t{count} * 2);
  return text;
}

void WriteWideText(TStream* AStream, const String& AValue) {
  WriteInt32(AStream, static_cast<int>(AValue.size()));
  AStream->WriteBuffer(AValue.data(), static_cast<std::int64_t>(AValue.size()) * 2);
}

TRect ReadRect(TStream* AStream) {
  TRect r;
  r.Left = ReadInt32(AStream);
  r.Top = ReadInt32(AStream);
  r.Right = ReadInt32(AStream);
  r.Bottom = ReadInt32(AStream);
  return r;
}

void WriteRect(TStream* AStream, const TRect& AValue) {
  for (int v : {AValue.Left, AValue.Top, AValue.Right, AValue.Bottom}) WriteInt32(AStream, v);
}

TSize ReadSize(TStream* AStream) {
  const int cx = ReadInt32(AStream);
  return TSize(cx, ReadInt32(AStream));
}

void WriteSize(TStream* AStream, const TSize& AValue) {
  WriteInt32(AStream, AValue.cx);
  WriteInt32(AStream, AValue.cy);
}

void ReadColorValue(TStream* AStream, double AVersion, TdxSkinColorValue& AValue) {
  const auto color = static_cast<TColor>(ReadInt32(AStream));
  AValue.Load(color, AVersion >= 1.15 ? ReadText(AStream) : String());
}

void WriteColorValue(TStream* AStream, const TdxSkinColorValue& AValue) {
  WriteInt32(AStream, static_cast<int>(AValue.StoredValue()));
  WriteText(AStream, AValue.ValueReference());
}

// The decoder sees exactly the block's bytes; the stream continues after the
// block whatever the decoder consumed. An image that does not decode is a
// damaged stream, found while reading rather than at the first paint; the
// pixels are then let go until something draws them.
void ReadImage(TStream* AStream, TdxSmartImage* AImage) {
  const int count = ReadInt32(AStream);
  if (count <= 0) {
    AImage->Clear();
    return;
  }
  RequireBytes(AStream, count);
  const std::int64_t start = AStream->Position();
  try {
    TOwned<TdxReadOnlySubStream> window(New<TdxReadOnlySubStream>(AStream, start, count));
    AImage->LoadFromStream(window.get());
    AImage->HandleNeeded();
    AImage->Dormant();
  } catch (const EdxException&) {
    RaiseFormatError();
  }
  AStream->SetPosition(start + count);
}

// Decoded raster images other than PNG and GIF are written as PNG.
void SaveImageData(TStream* AStream, TdxSmartImage* AImage) {
  const TdxImageDataFormat format = AImage->HandleAllocated() ? AImage->ImageDataFormat() : dxImageUnknown;
  if (AImage->HandleAllocated() && !IsVectorGraphic(AImage) && format != dxImagePng && format != dxImageGif)
    AImage->SaveToStreamByCodec(AStream, dxImagePng);
  else
    AImage->SaveToStream(AStream);
}

void WriteImage(TStream* AStream, TdxSmartImage* AImage) {
  if (AImage->Empty()) {
    WriteInt32(AStream, 0);
    return;
  }
  TOwned<TMemoryStream> data(New<TMemoryStream>());
  SaveImageData(data.get(), AImage);
  WriteInt32(AStream, static_cast<int>(data->Size()));
  AStream->WriteBuffer(data->Memory(), data->Size());
}

// A header is 18 bytes: four not checked, "dxSkin", the version as a double.
bool ReadHeader(TStream* AStream, double& AVersion) {
  std::uint8_t header[HeaderSize];
  if (AStream->Read(header, HeaderSize) != HeaderSize) return false;
  if (std::memcmp(header + 4, Signature, sizeof Signature) != 0) return false;
  std::memcpy(&AVersion, header + 10, sizeof AVersion);
  return AVersion >= 1.0;  // a NaN is no version either
}

void WriteHeader(TStream* AStream) {
  WriteInt32(AStream, 0);
  AStream->WriteBuffer(Signature, sizeof Signature);
  WriteValue<double>(AStream, dxSkinStreamVersion);
}

void ReadBorders(TStream* AStream, double AVersion, TdxSkinBorders* ABorders) {
  for (TcxBorder side : {bLeft, bTop, bRight, bBottom}) {
    if (AVersion < 1.1) {
      ReadText(AStream);
      ReadText(AStream);
    }
    ABorders->Items(side)->ReadData(AStream, AVersion);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Lists

void TdxSkinCustomObjectList::ReadData(TStream* AStream, double AVersion) {
  const int count = ReadInt32(AStream);
  if (count > 0) RequireBytes(AStream, std::int64_t{count} * MinItemSize());
  WithUpdate(this, [&] {
    for (int i = 0; i < count; ++i) DataReadItem(AStream, AVersion);
  });
}

void TdxSkinCustomObjectList::WriteData(TStream* AStream) {
  WriteInt32(AStream, Count());
  for (const auto& item : FItems) DataWriteItem(AStream, item.get());
}

void TdxSkinProperties::DataReadItem(TStream* AStream, double AVersion) {
  const String className = ReadText(AStream);
  const String name = ReadText(AStream);
  const TClass propertyClass = TdxSkinProperty::FindPropertyClass(className);
  // A list holds one kind of property: colours hold colours.
  if (!propertyClass->InheritsFrom(ItemClass())) throw EClassNotFound(L"Klasse %s nicht gefunden", {className});
  TOwned<TdxSkinCustomObject> property(NewOfClass<TdxSkinProperty>(propertyClass, Owner(), name));
  property->ReadData(AStream, AVersion);
  Add(std::move(property));
}

void TdxSkinProperties::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  WriteText(AStream, AItem->ClassName());
  WriteText(AStream, AItem->Name());
  AItem->WriteData(AStream);
}

int TdxSkinElements::MinItemSize() const {
  // Name, colour, alpha, offset, two images, four borders, text colour, size, properties.
  return 4 + 4 + 1 + 16 + 2 * (16 + 1 + 2 + 1 + 4) + 4 * 8 + 4 + 8 + 4;
}

void TdxSkinElements::DataReadItem(TStream* AStream, double AVersion) {
  const String name = ReadText(AStream);
  auto* group = dynamic_cast<TdxSkinControlGroup*>(Owner());
  TdxSkinElement* element = group ? group->AddElement(name) : nullptr;
  if (!element) RaiseFormatError();
  element->ReadData(AStream, AVersion);
}

void TdxSkinElements::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  WriteText(AStream, AItem->Name());
  AItem->WriteData(AStream);
}

void TdxSkinControlGroups::DataReadItem(TStream* AStream, double AVersion) {
  const String name = ReadText(AStream);
  auto* skin = dynamic_cast<TdxSkin*>(Owner());
  if (!skin) RaiseFormatError();
  skin->AddGroup(name)->ReadData(AStream, AVersion);
}

void TdxSkinControlGroups::DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) {
  WriteText(AStream, AItem->Name());
  AItem->WriteData(AStream);
}

// ---------------------------------------------------------------------------
// Properties

void TdxSkinIntegerProperty::ReadData(TStream* AStream, double) { SetValue(ReadInt32(AStream)); }
void TdxSkinIntegerProperty::WriteData(TStream* AStream) { WriteInt32(AStream, FValue); }

void TdxSkinBooleanProperty::ReadData(TStream* AStream, double) { SetValue(ReadValue<std::uint8_t>(AStream) != 0); }
void TdxSkinBooleanProperty::WriteData(TStream* AStream) { WriteValue<std::uint8_t>(AStream, FValue ? 1 : 0); }

void TdxSkinColor::ReadData(TStream* AStream, double AVersion) {
  ReadColorValue(AStream, AVersion, FValue);
  Changed({scContent});
}
void TdxSkinColor::WriteData(TStream* AStream) { WriteColorValue(AStream, FValue); }

void TdxSkinAlphaColor::ReadData(TStream* AStream, double AVersion) {
  inherited::ReadData(AStream, AVersion);
  SetValueAlpha(static_cast<std::uint8_t>(ReadInt32(AStream)));
}

void TdxSkinAlphaColor::WriteData(TStream* AStream) {
  inherited::WriteData(AStream);
  WriteInt32(AStream, FValueAlpha);
}

void TdxSkinRectProperty::ReadData(TStream* AStream, double) { SetValue(ReadRect(AStream)); }
void TdxSkinRectProperty::WriteData(TStream* AStream) { WriteRect(AStream, FValue); }

void TdxSkinSizeProperty::ReadData(TStream* AStream, double) { SetValue(ReadSize(AStream)); }
void TdxSkinSizeProperty::WriteData(TStream* AStream) { WriteSize(AStream, FValue); }

void TdxSkinStringProperty::ReadData(TStream* AStream, double) { SetValue(ReadText(AStream)); }
void TdxSkinStringProperty::WriteData(TStream* AStream) { WriteText(AStream, Value()); }

void TdxSkinWideStringProperty::ReadData(TStream* AStream, double) { SetValue(ReadWideText(AStream)); }
void TdxSkinWideStringProperty::WriteData(TStream* AStream) { WriteWideText(AStream, Value()); }

void TdxSkinBorder::ReadData(TStream* AStream, double AVersion) {
  ReadColorValue(AStream, AVersion, FColor);
  FThin = ReadInt32(AStream);
  Changed({scContent});
}

void TdxSkinBorder::WriteData(TStream* AStream) {
  WriteColorValue(AStream, FColor);
  WriteInt32(AStream, FThin);
}

void TdxSkinBorders::ReadData(TStream* AStream, double AVersion) {
  WithUpdate(this, [&] { ReadBorders(AStream, AVersion, this); });
}

void TdxSkinBorders::WriteData(TStream* AStream) {
  for (auto& border : FBorders) border->WriteData(AStream);
}

void TdxSkinAlternateImageAttributes::ReadData(TStream* AStream, double AVersion) {
  WithUpdate(this, [&] {
    SetAlpha(ReadValue<std::uint8_t>(AStream));
    SetGradient(ReadEnum(AStream, gmBackwardDiagonal));
    ReadColorValue(AStream, AVersion, FGradientBeginColor);
    ReadColorValue(AStream, AVersion, FGradientEndColor);
    FBorders->ReadData(AStream, AVersion);
    FBordersInner->ReadData(AStream, AVersion);
    SetContentOffsets(ReadRect(AStream));
    Changed({scContent});
  });
}

void TdxSkinAlternateImageAttributes::WriteData(TStream* AStream) {
  WriteValue<std::uint8_t>(AStream, FAlpha);
  WriteValue<std::uint8_t>(AStream, static_cast<std::uint8_t>(FGradient));
  WriteColorValue(AStream, FGradientBeginColor);
  WriteColorValue(AStream, FGradientEndColor);
  FBorders->WriteData(AStream);
  FBordersInner->WriteData(AStream);
  WriteRect(AStream, FContentOffsets);
}

void TdxSkinCustomListProperty::ReadData(TStream* AStream, double AVersion) { FProperties->ReadData(AStream, AVersion); }
void TdxSkinCustomListProperty::WriteData(TStream* AStream) { FProperties->WriteData(AStream); }

// ---------------------------------------------------------------------------
// Images and elements

void TdxSkinImage::ReadData(TStream* AStream, double AVersion) {
  FMargins = ReadRect(AStream);
  FImageLayout = ReadEnum(AStream, ilVertical);
  if (AVersion >= 1.1) FImageCount = std::max(ReadInt32(AStream), 1);
  // State bits past the last state mean nothing.
  const std::uint16_t stateBits = ReadValue<std::uint16_t>(AStream);
  FStates = {};
  for (int s = esNormal; s <= esCheckPressed; ++s)
    if (stateBits & (1u << s)) FStates.Include(static_cast<TdxSkinElementState>(s));
  // The frames of the texture are counted in 32 bits.
  if (std::int64_t{StateCount()} * FImageCount > INT_MAX) RaiseFormatError();
  FStretch = ReadEnum(AStream, smNoResize);
  if (AVersion >= 1.02) {
    ReadColorValue(AStream, AVersion, FGradientBeginColor);
    ReadColorValue(AStream, AVersion, FGradientEndColor);
    FGradient = ReadEnum(AStream, gmBackwardDiagonal);
  }
  FSourceName.clear();
  ReadImage(AStream, FTexture.get());
  if (AVersion >= 1.15) FColorPalettes->ReadData(AStream, AVersion);
  if (AVersion >= 1.24) FInterpolationMode = ReadEnum(AStream, imHighQualityBicubic);
  if (AVersion >= 1.26) FMarginsScaled = ReadValue<std::uint8_t>(AStream) != 0;
  Changed();
}

void TdxSkinImage::WriteData(TStream* AStream) {
  WriteRect(AStream, FMargins);
  WriteValue<std::uint8_t>(AStream, static_cast<std::uint8_t>(FImageLayout));
  WriteInt32(AStream, FImageCount);
  std::uint16_t stateBits = 0;
  for (int s = esNormal; s <= esCheckPressed; ++s)
    if (FStates.Contains(static_cast<TdxSkinElementState>(s))) stateBits |= static_cast<std::uint16_t>(1u << s);
  WriteValue<std::uint16_t>(AStream, stateBits);
  WriteValue<std::uint8_t>(AStream, static_cast<std::uint8_t>(FStretch));
  WriteColorValue(AStream, FGradientBeginColor);
  WriteColorValue(AStream, FGradientEndColor);
  WriteValue<std::uint8_t>(AStream, static_cast<std::uint8_t>(FGradient));
  WriteImage(AStream, FTexture.get());
  FColorPalettes->WriteData(AStream);
  WriteValue<std::uint8_t>(AStream, static_cast<std::uint8_t>(FInterpolationMode));
  WriteValue<std::uint8_t>(AStream, FMarginsScaled ? 1 : 0);
}

String TdxSkinImage::Name() const {
  if (Empty() || !FOwner) return String();
  return FOwner->Name() + (this == FOwner->Glyph() ? L"_Glyph" : L"_Image") + (TextureIsVector() ? L".svg" : L".png");
}

void TdxSkinImage::SetName(const String& AValue) { LoadFromFile(AValue); }

String TdxSkinImage::SourceName() const {
  if (!FSourceName.empty()) return FSourceName;
  if (FTexture->Empty() || !FOwner) return String();
  return FOwner->Path() + Name();
}

void TdxSkinImage::LoadFromFile(const String& AFileName) {
  const TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  LoadFromStream(file.get());
  // Recorded only once loaded: a file that cannot be read leaves no name
  // that would make an empty image look filled.
  FSourceName = AFileName;
}

void TdxSkinImage::LoadFromResource(HINSTANCE AInstance, const String& AName, const wchar_t* AType) {
  FTexture->LoadFromResource(AInstance, AName, AType);
  Changed();
}

void TdxSkinImage::LoadFromStream(TStream* AStream) {
  FTexture->LoadFromStream(AStream);
  Changed();
}

void TdxSkinImage::SaveToFile(const String& AFileName) {
  if (Empty()) return;
  const String fileName = ChangeFileExt(AFileName, TextureIsVector() ? L".svg" : L".png");
  const TOwned<TFileStream> file(New<TFileStream>(fileName, fmCreate));
  SaveToStream(file.get());
  FSourceName = fileName;
}

void TdxSkinImage::SaveToStream(TStream* AStream) {
  if (!FTexture->Empty()) SaveImageData(AStream, FTexture.get());
}

void TdxSkinElement::ReadData(TStream* AStream, double AVersion) {
  WithUpdate(this, [&] {
    ReadColorValue(AStream, AVersion, FColor);
    FAlpha = ReadValue<std::uint8_t>(AStream);
    if (AVersion < 1.1) {
      const int imageCount = ReadInt32(AStream);
      FGlyph->SetImageCount(imageCount);
      FImage->SetImageCount(imageCount);
    }
    FContentOffset = ReadRect(AStream);
    FGlyph->ReadData(AStream, AVersion);
    FImage->ReadData(AStream, AVersion);
    FBorders->ReadData(AStream, AVersion);
    ReadColorValue(AStream, AVersion, FTextColor);
    FMinSize = ReadSize(AStream);
    Properties()->ReadData(AStream, AVersion);
    Changed({scContent});
  });
}

void TdxSkinElement::WriteData(TStream* AStream) {
  WriteColorValue(AStream, FColor);
  WriteValue<std::uint8_t>(AStream, FAlpha);
  WriteRect(AStream, FContentOffset);
  FGlyph->WriteData(AStream);
  FImage->WriteData(AStream);
  FBorders->WriteData(AStream);
  WriteColorValue(AStream, FTextColor);
  WriteSize(AStream, FMinSize);
  Properties()->WriteData(AStream);
}

void TdxSkinControlGroup::ReadData(TStream* AStream, double AVersion) {
  WithUpdate(this, [&] {
    FElements->ReadData(AStream, AVersion);
    Properties()->ReadData(AStream, AVersion);
  });
}

void TdxSkinControlGroup::WriteData(TStream* AStream) {
  FElements->WriteData(AStream);
  Properties()->WriteData(AStream);
}

// ---------------------------------------------------------------------------
// Details

void TdxSkinDetails::ReadData(TStream* AStream, double AVersion) {
  WithUpdate(this, [&] {
    SetName(ReadText(AStream));
    if (AVersion >= 1.04) {
      SetDisplayName(ReadText(AStream));
      SetGroupName(ReadText(AStream));
      SetNotes(ReadWideText(AStream));
      for (auto& icon : FIcons) ReadImage(AStream, icon.get());
    }
    for (TdxSkinIconSize size : {sis16, sis48})
      if (FIcons[size]->Empty()) ResetIcon(size);
    Changed();
  });
}

void TdxSkinDetails::WriteData(TStream* AStream) {
  WriteText(AStream, FName);
  WriteText(AStream, FDisplayName);
  WriteText(AStream, FGroupName);
  WriteWideText(AStream, FNotes);
  for (const auto& icon : FIcons) WriteImage(AStream, icon.get());
}

bool TdxSkinDetails::LoadFromStream(TStream* AStream) {
  const std::int64_t offset = AStream->Position();
  double version = 0;
  if (!ReadHeader(AStream, version)) return false;
  if (version >= 1.04) {
    ReadData(AStream, version);
  } else {
    // Older details hold the name only, and it comes first: the whole skin
    // is read to be sure the stream is one.
    TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, String()));
    AStream->SetPosition(offset);
    skin->LoadFromStream(AStream);
    Assign(skin->Details());
  }
  FDataOffset = offset;
  return true;
}

// ---------------------------------------------------------------------------
// The skin

void TdxSkin::ReadBody(TStream* AStream, double AVersion) {
  FDetails->ReadData(AStream, AVersion);
  FColors->ReadData(AStream, AVersion);
  Properties()->ReadData(AStream, AVersion);
  FGroups->ReadData(AStream, AVersion);
  if (AVersion >= 1.15) FColorPalettes->ReadData(AStream, AVersion);
}

void TdxSkin::LoadFromStream(TStream* AStream) {
  if (!CheckGdiPlusAvailable(false)) return;
  double version = 0;
  if (!ReadHeader(AStream, version)) RaiseFormatError();
  // Read aside: a stream that fails half-way leaves this skin as it was.
  TOwned<TdxSkin> loaded(NewOfClass<TdxSkin>(ClassType(), nullptr, String()));
  loaded->ReadBody(AStream, version);
  WithUpdate(this, [&] {
    Clear();
    Assign(loaded.get());
  });
}

void TdxSkin::SaveToStream(TStream* AStream) {
  WriteHeader(AStream);
  FDetails->WriteData(AStream);
  FColors->WriteData(AStream);
  Properties()->WriteData(AStream);
  FGroups->WriteData(AStream);
  FColorPalettes->WriteData(AStream);
}

void TdxSkin::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  LoadFromStream(file.get());
}

void TdxSkin::SaveToFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmCreate));
  SaveToStream(file.get());
}

void TdxSkin::LoadFromResource(HINSTANCE AInstance) {
  TOwned<TResourceStream> resource(New<TResourceStream>(AInstance, Name(), L"DXSKINS"));
  LoadFromBinaryStream(resource.get());
}

void TdxSkin::LoadFromBinaryStream(TStream* AStream) {
  TOwned<TdxSkinBinaryReader> reader(New<TdxSkinBinaryReader>(AStream));
  if (!reader->LoadSkin(this, 0)) RaiseFormatError();
}

void TdxSkin::SaveToBinaryStream(TStream* AStream) {
  TOwned<TdxSkinBinaryWriter> writer(New<TdxSkinBinaryWriter>(AStream));
  writer->AddSkin(this);
}

void TdxSkin::LoadFromBinaryFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  LoadFromBinaryStream(file.get());
}

void TdxSkin::SaveToBinaryFile(const String& AFileName) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmCreate));
  SaveToBinaryStream(file.get());
}

// ---------------------------------------------------------------------------
// Containers

void TdxSkinBinaryWriter::Create(TStream* AStream) {
  inherited::Create();
  FStream = AStream;
  FStreamPosition = AStream->Position();
  WriteHeader();
}

void TdxSkinBinaryWriter::Destroy() {
  if (FStream) {
    FStream->SetPosition(FStreamPosition);
    WriteHeader();
  }
  inherited::Destroy();
}

void TdxSkinBinaryWriter::WriteHeader() {
  ::WriteHeader(FStream);
  WriteInt32(FStream, FCount);
}

void TdxSkinBinaryWriter::AddSkin(TdxSkin* ASkin) {
  ++FCount;
  const std::int64_t sizeAt = FStream->Position();
  WriteInt32(FStream, 0);
  ASkin->SaveToStream(FStream);
  const std::int64_t end = FStream->Position();
  FStream->SetPosition(sizeAt);
  WriteInt32(FStream, static_cast<int>(end - sizeAt - 4));
  FStream->SetPosition(end);
}

void TdxSkinBinaryReader::Create(TStream* AStream) {
  inherited::Create();
  FStream = AStream;
  const std::int64_t start = AStream->Position();
  if (ReadContainer()) return;
  // Entries catalogued before the container attempt failed may point into
  // anything: the stream is one skin or none.
  FSkins.clear();
  AStream->SetPosition(start);
  TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
  if (details->LoadFromStream(AStream)) FSkins.push_back(std::move(details));
}

void TdxSkinBinaryReader::Destroy() {
  FSkins.clear();
  inherited::Destroy();
}

bool TdxSkinBinaryReader::ReadContainer() {
  double version = 0;
  if (!ReadHeader(FStream, version) || Remaining(FStream) < 4) return false;
  const int count = ReadInt32(FStream);
  // Each entry holds at least its size and a header.
  if (count < 0 || count > Remaining(FStream) / (4 + HeaderSize)) return false;
  for (int i = 0; i < count; ++i) {
    if (Remaining(FStream) < 4) return false;
    const int size = ReadInt32(FStream);
    if (size <= 0 || size > Remaining(FStream)) return false;
    const std::int64_t start = FStream->Position();
    TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
    try {
      if (!details->LoadFromStream(FStream)) return false;
    } catch (const Exception&) {
      return false;  // not a container: the stream is read as one skin
    }
    FSkins.push_back(std::move(details));
    FStream->SetPosition(start + size);
  }
  return true;
}

bool TdxSkinBinaryReader::LoadSkin(TdxSkin* ASkin, int ASkinIndex) {
  if (ASkinIndex < 0 || ASkinIndex >= Count()) return false;
  FStream->SetPosition(GetSkinOffset(ASkinIndex));
  ASkin->LoadFromStream(FStream);
  return true;
}

bool TdxSkinBinaryReader::LoadSkin(TdxSkin* ASkin, const String& ASkinName) {
  if (ASkinName.empty()) return LoadSkin(ASkin, 0);
  for (int i = 0; i < Count(); ++i)
    if (CompareText(GetSkinName(i), ASkinName) == 0) return LoadSkin(ASkin, i);
  return false;
}
