// The codec base and the registry of codecs.
#include "library/graphics/imaging/dxSmartImage.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <vector>

namespace {

// The product the codecs' descriptions credit.
constexpr const wchar_t* CodecCredit = L"Skarnivel";

struct TSmartImageCodecsState {
  std::vector<TdxSmartImageCodecClass> Codecs;
  // The graphic classes registered with the picture, once each.
  std::vector<TClass> GraphicClasses;
  TdxSmartImageClipboardFormats ClipboardFormats{};
  bool Registered = false;
};

TSmartImageCodecsState& CodecsState() {
  static TSmartImageCodecsState state;
  return state;
}

// The codec's extensions without "*.", in order.
std::vector<String> CodecExtensions(TdxSmartImageCodecClass ACodec) {
  std::vector<String> result;
  const String patterns = ACodec->Extensions();
  std::size_t start = 0;
  while (start < patterns.size()) {
    std::size_t end = patterns.find(L';', start);
    if (end == String::npos) end = patterns.size();
    const String piece = patterns.substr(start, end - start);
    if (!piece.empty()) result.push_back(piece.size() > 2 ? piece.substr(2) : String());
    start = end + 1;
  }
  return result;
}

// Tells the class library's picture which class reads the codec's files and
// clipboard data.
void RegisterWithPicture(TdxSmartImageCodecClass ACodec) {
  TSmartImageCodecsState& state = CodecsState();
  const TClass graphicClass = ACodec->GetGraphicClass();
  const UINT clipboardFormat = ACodec->GetClipboardFormatId();
  if (clipboardFormat != 0 && graphicClass) TPicture::RegisterClipboardFormat(clipboardFormat, graphicClass);
  if (!graphicClass) return;
  if (std::find(state.GraphicClasses.begin(), state.GraphicClasses.end(), graphicClass) == state.GraphicClasses.end())
    state.GraphicClasses.push_back(graphicClass);
  for (const String& extension : CodecExtensions(ACodec))
    TPicture::RegisterFileFormat(extension, ACodec->Description(), graphicClass);
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxSmartImageCodec

String TdxSmartImageCodec::TMeta::Description() const {
  return UpperCase(DefaultExt()) + L" graphics from " + CodecCredit;
}

bool TdxSmartImageCodec::TMeta::GetSize(TStream*, TSize&) const { return false; }

bool TdxSmartImageCodec::TMeta::CanLoadStream(TStream*) const { return false; }

bool TdxSmartImageCodec::TMeta::CanSaveImage(TdxSmartImageCustomHandle*) const { return false; }

bool TdxSmartImageCodec::TMeta::Load(const RGBQUAD*, TAlphaFormat, int, int, TOwned<TdxSmartImageCustomHandle>&) const {
  return false;
}

bool TdxSmartImageCodec::TMeta::Load(TStream*, TOwned<TdxSmartImageCustomHandle>&) const { return false; }

bool TdxSmartImageCodec::TMeta::Save(TStream*, TdxSmartImageCustomHandle*) const { return false; }

String TdxSmartImageCodec::TMeta::DefaultExt() const {
  const std::vector<String> extensions = CodecExtensions(this);
  return extensions.empty() ? String() : extensions.front();
}

bool TdxSmartImageCodec::CheckSignature(TStream* AStream, std::span<const std::uint8_t> ASignature) {
  const std::int64_t position = AStream->Position();
  std::vector<std::uint8_t> bytes(ASignature.size());
  const int read = AStream->Read(bytes.data(), static_cast<int>(bytes.size()));
  AStream->SetPosition(position);
  return read == static_cast<int>(bytes.size()) && std::equal(bytes.begin(), bytes.end(), ASignature.begin());
}

// ---------------------------------------------------------------------------
// TdxSmartImageCodecsRepository

void TdxSmartImageCodecsRepository::Register(TdxSmartImageCodecClass ACodec) {
  TSmartImageCodecsState& state = CodecsState();
  if (!state.Registered) {
    state.ClipboardFormats[dxImageBitmap] = CF_BITMAP;
    state.Registered = true;
  }
  const UINT clipboardFormat = ACodec->GetClipboardFormatId();
  if (clipboardFormat != 0 && ACodec->GetFormatID() != dxImageUnknown)
    state.ClipboardFormats[ACodec->GetFormatID()] = clipboardFormat;
  RegisterWithPicture(ACodec);
  state.Codecs.push_back(ACodec);
}

void TdxSmartImageCodecsRepository::Unregister(TdxSmartImageCodecClass ACodec) {
  TSmartImageCodecsState& state = CodecsState();
  const auto it = std::find(state.Codecs.begin(), state.Codecs.end(), ACodec);
  if (it == state.Codecs.end()) return;
  state.Codecs.erase(it);
  if (state.Codecs.empty()) std::vector<TdxSmartImageCodecClass>().swap(state.Codecs);
  const TClass graphicClass = ACodec->GetGraphicClass();
  if (!graphicClass) return;
  std::erase(state.GraphicClasses, graphicClass);
  TPicture::UnregisterGraphicClass(graphicClass);
  // The picture forgot that class and every class derived from it: the
  // remaining codecs of those classes come back.
  for (TdxSmartImageCodecClass codec : state.Codecs)
    if (const TClass other = codec->GetGraphicClass(); other && other->InheritsFrom(graphicClass))
      RegisterWithPicture(codec);
}

bool TdxSmartImageCodecsRepository::Contains(TdxSmartImageCodecClass ACodec) {
  const std::vector<TdxSmartImageCodecClass>& codecs = CodecsState().Codecs;
  return std::find(codecs.begin(), codecs.end(), ACodec) != codecs.end();
}

int TdxSmartImageCodecsRepository::Count() { return static_cast<int>(CodecsState().Codecs.size()); }

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::Items(int AIndex) {
  const std::vector<TdxSmartImageCodecClass>& codecs = CodecsState().Codecs;
  if (AIndex < 0 || AIndex >= static_cast<int>(codecs.size()))
    throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return codecs[static_cast<std::size_t>(AIndex)];
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatFromStream(TStream* AStream) {
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs)
    if (codec->CanLoadStream(AStream)) return codec;
  return nullptr;
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatByID(TdxImageDataFormat AID) {
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs)
    if (codec->GetFormatID() == AID) return codec;
  return nullptr;
}

TdxSmartImageCodecClass TdxSmartImageCodecsRepository::GetFormatByExt(const String& AExt) {
  if (AExt.empty()) return nullptr;
  const String pattern = L"*" + LowerCase(AExt) + L";";
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs)
    if (codec->Extensions().find(pattern) != String::npos) return codec;
  return nullptr;
}

String TdxSmartImageCodecsRepository::GetDefaultExt(TdxSmartImageCodecClass ACodec) {
  return ACodec ? ACodec->DefaultExt() : String();
}

bool TdxSmartImageCodecsRepository::GetImageInfo(const String& AFileName, TSize& ASize,
                                                 TdxSmartImageCodecClass& ACodec) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyNone)));
  return GetImageInfo(file.get(), ASize, ACodec);
}

bool TdxSmartImageCodecsRepository::GetImageInfo(TStream* AStream, TSize& ASize, TdxSmartImageCodecClass& ACodec) {
  ASize = TSize();
  ACodec = nullptr;
  const std::int64_t position = AStream->Position();
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs) {
    if (codec->GetSize(AStream, ASize)) {
      ACodec = codec;
      return true;
    }
    ASize = TSize();
    AStream->SetPosition(position);
  }
  return false;
}

bool TdxSmartImageCodecsRepository::GetImageInfo(TdxSmartImageData* AImageData, TSize& ASize,
                                                 TdxSmartImageCodecClass& ACodec) {
  ASize = TSize();
  ACodec = nullptr;
  if (AImageData->Empty()) return false;
  if (AImageData->Bits().empty()) {
    AImageData->Data()->SetPosition(0);
    return GetImageInfo(AImageData->Data(), ASize, ACodec);
  }
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs) {
    if (codec->CanLoadFromBits()) {
      ASize = AImageData->Size();
      ACodec = codec;
      return true;
    }
  }
  return false;
}

bool TdxSmartImageCodecsRepository::CanLoad(const String& AFileName) {
  return GetFormatByExt(ExtractFileExt(AFileName)) != nullptr;
}

bool TdxSmartImageCodecsRepository::CanLoad(TStream* AStream) { return GetFormatFromStream(AStream) != nullptr; }

bool TdxSmartImageCodecsRepository::Load(const RGBQUAD* ABits, TAlphaFormat AAlphaFormat, int AWidth, int AHeight,
                                         TOwned<TdxSmartImageCustomHandle>& AHandle) {
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs)
    if (codec->Load(ABits, AAlphaFormat, AWidth, AHeight, AHandle)) return true;
  return false;
}

bool TdxSmartImageCodecsRepository::Load(TdxSmartImageData* AImageData, TOwned<TdxSmartImageCustomHandle>& AHandle) {
  if (!AImageData->Bits().empty()) {
    const TSize& size = AImageData->Size();
    return Load(AImageData->Bits().data(), AImageData->BitsFormat(), size.cx, size.cy, AHandle);
  }
  if (!AImageData->Data()) return false;
  AImageData->Data()->SetPosition(0);
  return Load(AImageData->Data(), AHandle);
}

bool TdxSmartImageCodecsRepository::Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) {
  const std::int64_t position = AStream->Position();
  // A damaged file would otherwise be decoded once per codec of the shared
  // decoder, each failure costing time (and, under some GDI+, memory).
  std::vector<TdxSmartImageCodecClass> refused;
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs) {
    const TdxSmartImageCodecClass decoder = codec->StreamDecoder();
    if (std::find(refused.begin(), refused.end(), decoder) != refused.end()) continue;
    if (codec->Load(AStream, AHandle)) return true;
    AStream->SetPosition(position);
    refused.push_back(decoder);
  }
  return false;
}

String TdxSmartImageCodecsRepository::GetSupportedExtensions() {
  String result;
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs) result += codec->Extensions();
  return result;
}

String TdxSmartImageCodecsRepository::GetSaveDialogFilter(TdxSmartImageCustomHandle* AHandle) {
  String list;
  String all;
  for (TdxSmartImageCodecClass codec : CodecsState().Codecs) {
    if (AHandle && !codec->CanSaveImage(AHandle)) continue;
    const String description = codec->Description();
    if (description.empty()) continue;
    list += description + L"|" + codec->Extensions() + L"|";
    all += codec->Extensions();
  }
  return Format(L"%0:s (%1:s)|%1:s|%2:s", {String(SAllFilter), all, list});
}

const TdxSmartImageClipboardFormats& TdxSmartImageCodecsRepository::ClipboardFormats() {
  return CodecsState().ClipboardFormats;
}
