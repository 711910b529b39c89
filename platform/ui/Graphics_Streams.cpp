// Graphics in streams, files and form data.
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Graphics_Internal.h"

#include <cstring>
#include <cwctype>

TBytes graphics_detail::PeekBytes(TStream* AStream, int ACount) {
  TBytes bytes(static_cast<std::size_t>(ACount));
  const std::int64_t at = AStream->Position();
  const int n = AStream->Read(bytes.data(), ACount);
  AStream->SetPosition(at);
  bytes.resize(static_cast<std::size_t>(std::max(0, n)));
  return bytes;
}

namespace {

using graphics_detail::PeekBytes;

TBytes ReadExactly(TStream* AStream, std::int64_t ACount) {
  if (ACount < 0 || ACount > (1ll << 31)) throw EReadError(L"Stream-Lesefehler");
  TBytes bytes(static_cast<std::size_t>(ACount));
  if (ACount) AStream->ReadBuffer(bytes.data(), ACount);
  return bytes;
}

std::int64_t Remaining(TStream* AStream) { return std::max<std::int64_t>(0, AStream->Size() - AStream->Position()); }

std::uint32_t Le32(const TBytes& AData, std::size_t AOffset) {
  return static_cast<std::uint32_t>(AData[AOffset]) | (static_cast<std::uint32_t>(AData[AOffset + 1]) << 8) |
         (static_cast<std::uint32_t>(AData[AOffset + 2]) << 16) |
         (static_cast<std::uint32_t>(AData[AOffset + 3]) << 24);
}

String ExtensionOf(const String& AFileName) {
  const std::size_t dot = AFileName.find_last_of(L'.');
  const std::size_t slash = AFileName.find_last_of(L"\\/:");
  if (dot == String::npos || (slash != String::npos && dot < slash)) return {};
  return AFileName.substr(dot + 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// TGraphic

bool TGraphic::TMeta::CanLoadFromStream(TStream*) const { return false; }

void TGraphic::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> stream(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyWrite)));
  LoadFromStream(stream.get());
}

void TGraphic::SaveToFile(const String& AFileName) {
  TOwned<TFileStream> stream(New<TFileStream>(AFileName, fmCreate));
  SaveToStream(stream.get());
}

bool TGraphic::Equals(TGraphic* AGraphic) {
  if (!AGraphic) return false;
  if (AGraphic == this) return true;
  if (AGraphic->ClassType() != ClassType()) return false;
  if (Empty() || AGraphic->Empty()) return Empty() == AGraphic->Empty();
  TOwned<TMemoryStream> a(New<TMemoryStream>());
  TOwned<TMemoryStream> b(New<TMemoryStream>());
  SaveToStream(a.get());
  AGraphic->SaveToStream(b.get());
  return a->Size() == b->Size() && std::memcmp(a->Memory(), b->Memory(), static_cast<std::size_t>(a->Size())) == 0;
}

void TGraphic::DefineProperties(TFiler* AFiler) {
  AFiler->DefineBinaryProperty(
      L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

// ---------------------------------------------------------------------------
// TBitmap

bool TBitmap::TMeta::CanLoadFromStream(TStream* AStream) const {
  const TBytes head = PeekBytes(AStream, 2);
  return head.size() == 2 && head[0] == 'B' && head[1] == 'M';
}

void TBitmap::LoadFromStream(TStream* AStream) {
  const std::int64_t available = Remaining(AStream);
  if (available == 0) {
    LoadFromBmpData({});
    return;
  }
  TBytes head = PeekBytes(AStream, 14);
  std::int64_t size = available;
  if (head.size() == 14 && head[0] == 'B' && head[1] == 'M') {
    // The file's own size, when it is plausible, leaves what follows alone.
    const std::int64_t declared = Le32(head, 2);
    if (declared >= 14 + 12 && declared <= available) size = declared;
  }
  const TBytes data = ReadExactly(AStream, size);
  LoadFromBmpData(data);
}

void TBitmap::SaveToStream(TStream* AStream) {
  const std::vector<std::uint8_t> data = SaveToBmpData();
  if (!data.empty()) AStream->WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
}

void TBitmap::ReadData(TStream* AStream) {
  std::int32_t size = 0;
  AStream->ReadBufferData(size);
  if (size < 0 || size > Remaining(AStream)) throw EReadError(L"Stream-Lesefehler");
  const TBytes data = ReadExactly(AStream, size);
  LoadFromBmpData(data);
}

void TBitmap::WriteData(TStream* AStream) {
  const std::vector<std::uint8_t> data = SaveToBmpData();
  AStream->WriteBufferData(static_cast<std::int32_t>(data.size()));
  if (!data.empty()) AStream->WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
}

// ---------------------------------------------------------------------------
// TIcon

bool TIcon::TMeta::CanLoadFromStream(TStream* AStream) const {
  const TBytes head = PeekBytes(AStream, 4);
  return head.size() == 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
}

void TIcon::LoadFromStream(TStream* AStream) {
  // The directory says how far the images reach.
  const std::int64_t start = AStream->Position();
  TBytes head = PeekBytes(AStream, 6);
  if (head.size() < 6) throw EInvalidGraphic(L"Symbol ist ungültig");
  const int count = head[4] | (head[5] << 8);
  const TBytes dir = PeekBytes(AStream, 6 + 16 * count);
  if (static_cast<int>(dir.size()) < 6 + 16 * count) throw EInvalidGraphic(L"Symbol ist ungültig");
  std::int64_t end = 6 + 16 * count;
  for (int i = 0; i < count; ++i) {
    const std::int64_t reach = static_cast<std::int64_t>(Le32(dir, 6 + 16 * i + 12)) + Le32(dir, 6 + 16 * i + 8);
    end = std::max(end, reach);
  }
  if (end > Remaining(AStream)) throw EInvalidGraphic(L"Symbol ist ungültig");
  const TBytes data = ReadExactly(AStream, end);
  try {
    LoadFromIcoData(data);
  } catch (...) {
    AStream->SetPosition(start);
    throw;
  }
}

void TIcon::SaveToStream(TStream* AStream) {
  const std::vector<std::uint8_t> data = SaveToIcoData();
  if (!data.empty()) AStream->WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
}

// ---------------------------------------------------------------------------
// TPicture

void TPicture::LoadFromFile(const String& AFileName) {
  const String ext = ExtensionOf(AFileName);
  TGraphicClass cls = FindFileFormat(ext);
  if (!cls) throw EInvalidGraphic(L"Unbekannte Bilddateinamenserweiterung (.%s)", {ext});
  TOwned<TGraphic> graphic(NewGraphic(cls));
  graphic->LoadFromFile(AFileName);
  TakeGraphic(std::move(graphic));
  Changed(this);
}

void TPicture::SaveToFile(const String& AFileName) {
  if (FGraphic) FGraphic->SaveToFile(AFileName);
}

void TPicture::LoadFromStream(TStream* AStream) {
  TGraphicClass found = nullptr;
  for (TGraphicClass cls : GraphicClasses()) {
    if (ClassMeta<TGraphic>(cls)->CanLoadFromStream(AStream)) {
      found = cls;
      break;
    }
  }
  if (!found) throw EInvalidGraphic(L"Unbekanntes Bildformat");
  TOwned<TGraphic> graphic(NewGraphic(found));
  graphic->LoadFromStream(AStream);
  TakeGraphic(std::move(graphic));
  Changed(this);
}

void TPicture::SaveToStream(TStream* AStream) {
  if (FGraphic) FGraphic->SaveToStream(AStream);
}

void TPicture::DefineProperties(TFiler* AFiler) {
  auto read = [this](TStream* AStream) {
    std::uint8_t length = 0;
    AStream->ReadBufferData(length);
    std::string name(length, '\0');
    if (length) AStream->ReadBuffer(name.data(), length);
    if (name.empty()) {
      TakeGraphic(nullptr);
      Changed(this);
      return;
    }
    const String className(name.begin(), name.end());
    TGraphicClass cls = nullptr;
    for (TGraphicClass c : GraphicClasses())
      if (_wcsicmp(c->ClassName().c_str(), className.c_str()) == 0) cls = c;
    if (!cls) cls = GetClass(className);
    if (!cls || !cls->InheritsFrom(TGraphic::ClassInfo()))
      throw EInvalidGraphic(L"%s ist keine Grafikklasse", {className});
    TOwned<TGraphic> graphic(NewGraphic(cls));
    graphic->ReadData(AStream);
    TakeGraphic(std::move(graphic));
    Changed(this);
  };
  auto write = [this](TStream* AStream) {
    const String& className = FGraphic ? FGraphic->ClassName() : String();
    std::string name(className.begin(), className.end());
    if (name.size() > 255) name.resize(255);
    AStream->WriteBufferData(static_cast<std::uint8_t>(name.size()));
    if (!name.empty()) AStream->WriteBuffer(name.data(), static_cast<std::int64_t>(name.size()));
    if (FGraphic) FGraphic->WriteData(AStream);
  };
  AFiler->DefineBinaryProperty(L"Data", read, write, FGraphic && !FGraphic->Empty());
}
