// TMetafile and TMetafileCanvas: enhanced metafiles, read and written as EMF
// files or, when not enhanced, as placeable WMF files.
//
// Sizes are kept in 0.01 mm as the metafile header gives them; Width and
// Height convert to pixels at the screen's resolution.
#include "platform/classes/Streams.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Graphics_Internal.h"

#include <cstring>

namespace {

constexpr std::uint32_t EmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t PlaceableSize = 22;

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(L"Metadatei ist ungültig"); }

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

using graphics_detail::PeekBytes;

bool IsEmfHeader(const TBytes& AHead) {
  return AHead.size() >= 52 && Le32(AHead.data()) == EMR_HEADER && Le32(AHead.data() + 40) == EmfSignature;
}

bool IsWmfHeader(const std::uint8_t* AData, std::size_t ASize) {
  // METAHEADER: type 1 (memory) or 2 (disk), header size 9 words.
  return ASize >= 18 && (Le16(AData) == 1 || Le16(AData) == 2) && Le16(AData + 2) == 9;
}

void Put16(std::vector<std::uint8_t>& AOut, std::uint16_t AValue) {
  AOut.push_back(static_cast<std::uint8_t>(AValue));
  AOut.push_back(static_cast<std::uint8_t>(AValue >> 8));
}

}  // namespace

// ---------------------------------------------------------------------------
// TMetafile

bool TMetafile::TMeta::CanLoadFromStream(TStream* AStream) const {
  const TBytes head = PeekBytes(AStream, 52);
  return IsEmfHeader(head) || (head.size() >= 4 && Le32(head.data()) == PlaceableKey);
}

void TMetafile::Create() {
  inherited::Create();
  FEnhanced = true;
  FInch = 96;
}

void TMetafile::Destroy() {
  Clear();
  inherited::Destroy();
}

void TMetafile::Clear() { FHandle.Reset(); }

int TMetafile::Width() const { return MulDiv(FMMWidth, ScreenLogPixels(), 2540); }
int TMetafile::Height() const { return MulDiv(FMMHeight, ScreenLogPixels(), 2540); }
void TMetafile::SetWidth(int AValue) { SetMMWidth(MulDiv(std::max(0, AValue), 2540, ScreenLogPixels())); }
void TMetafile::SetHeight(int AValue) { SetMMHeight(MulDiv(std::max(0, AValue), 2540, ScreenLogPixels())); }

void TMetafile::SetMMWidth(int AValue) {
  if (AValue == FMMWidth) return;
  FMMWidth = std::max(0, AValue);
  Changed(this);
}

void TMetafile::SetMMHeight(int AValue) {
  if (AValue == FMMHeight) return;
  FMMHeight = std::max(0, AValue);
  Changed(this);
}

void TMetafile::SetEnhanced(bool AValue) {
  if (AValue == FEnhanced) return;
  FEnhanced = AValue;
  Changed(this);
}

namespace {
// The two strings of a metafile's description.
String DescriptionPart(HENHMETAFILE AHandle, int APart) {
  if (!AHandle) return {};
  const UINT n = GetEnhMetaFileDescriptionW(AHandle, 0, nullptr);
  if (n == 0 || n == GDI_ERROR) return {};
  String all(n, L'\0');
  GetEnhMetaFileDescriptionW(AHandle, n, all.data());
  const std::size_t split = all.find(L'\0');
  if (APart == 0) return all.substr(0, split);
  if (split == String::npos) return {};
  return String(all.c_str() + split + 1);
}
}  // namespace

String TMetafile::CreatedBy() { return DescriptionPart(FHandle.Get(), 0); }
String TMetafile::Description() { return DescriptionPart(FHandle.Get(), 1); }

void TMetafile::SetHandle(HENHMETAFILE AValue) {
  if (AValue == FHandle.Get()) return;
  // A handle refused stays the caller's.
  ENHMETAHEADER header{};
  if (AValue && GetEnhMetaFileHeader(AValue, sizeof(header), &header) == 0)
    throw EInvalidGraphic(L"Ungültiges Metadatei-Handle");
  TakeHandle(TOwnedEnhMetaFile(AValue));
}

void TMetafile::TakeHandle(TOwnedEnhMetaFile AHandle) {
  FHandle = std::move(AHandle);
  ENHMETAHEADER header{};
  if (FHandle && GetEnhMetaFileHeader(FHandle.Get(), sizeof(header), &header)) {
    FMMWidth = header.rclFrame.right - header.rclFrame.left;
    FMMHeight = header.rclFrame.bottom - header.rclFrame.top;
  }
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() { return FHandle.Release(); }

void TMetafile::Assign(TPersistent* ASource) {
  if (!ASource) {
    Clear();
    FMMWidth = FMMHeight = 0;
    Changed(this);
    return;
  }
  auto* source = dynamic_cast<TMetafile*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  if (source == this) return;
  TOwnedEnhMetaFile copy;
  if (source->FHandle) {
    copy.Reset(CopyEnhMetaFileW(source->FHandle.Get(), nullptr));
    if (!copy) RaiseGraphicsApiError(L"CopyEnhMetaFileW");
  }
  FHandle = std::move(copy);
  FMMWidth = source->FMMWidth;
  FMMHeight = source->FMMHeight;
  FInch = source->FInch;
  FEnhanced = source->FEnhanced;
  Changed(this);
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& ARect) {
  if (!FHandle) return;
  PlayEnhMetaFile(ACanvas->Handle(), FHandle.Get(), ARect.WinRect());
}

void TMetafile::LoadEnhanced(std::span<const std::uint8_t> AData) {
  TOwnedEnhMetaFile handle(SetEnhMetaFileBits(static_cast<UINT>(AData.size()), AData.data()));
  if (!handle) InvalidMetafile();
  TakeHandle(std::move(handle));
  FEnhanced = true;
}

void TMetafile::LoadWindows(std::span<const std::uint8_t> AData, int AInch, int AWidth, int AHeight) {
  METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
  if (AInch > 0) {
    picture.xExt = MulDiv(AWidth, 2540, AInch);
    picture.yExt = MulDiv(AHeight, 2540, AInch);
  }
  HENHMETAFILE handle =
      SetWinMetaFileBits(static_cast<UINT>(AData.size()), AData.data(), nullptr, AInch > 0 ? &picture : nullptr);
  if (!handle) InvalidMetafile();
  SetHandle(handle);
  if (AInch > 0) {
    FInch = AInch;
    FMMWidth = picture.xExt;
    FMMHeight = picture.yExt;
  }
  FEnhanced = false;
}

void TMetafile::LoadFromStream(TStream* AStream) {
  const std::int64_t available = std::max<std::int64_t>(0, AStream->Size() - AStream->Position());
  const TBytes head = PeekBytes(AStream, static_cast<int>(std::min<std::int64_t>(available, 64)));
  auto readExactly = [&](std::int64_t ACount) {
    if (ACount <= 0 || ACount > available || ACount > (1ll << 30)) InvalidMetafile();
    TBytes bytes(static_cast<std::size_t>(ACount));
    AStream->ReadBuffer(bytes.data(), ACount);
    return bytes;
  };
  if (IsEmfHeader(head)) {
    const std::uint32_t size = Le32(head.data() + 48);  // nBytes
    if (size < 88) InvalidMetafile();
    const std::int64_t start = AStream->Position();
    const TBytes data = readExactly(size);
    try {
      LoadEnhanced(data);
    } catch (...) {
      AStream->SetPosition(start);
      throw;
    }
    return;
  }
  std::size_t offset = 0;
  int inch = 0, width = 0, height = 0;
  if (head.size() >= PlaceableSize && Le32(head.data()) == PlaceableKey) {
    const auto box = [&](int i) { return static_cast<std::int16_t>(Le16(head.data() + 6 + 2 * i)); };
    width = box(2) - box(0);
    height = box(3) - box(1);
    inch = Le16(head.data() + 14);
    if (inch <= 0 || width <= 0 || height <= 0) InvalidMetafile();
    offset = PlaceableSize;
  }
  if (head.size() < offset + 18 || !IsWmfHeader(head.data() + offset, head.size() - offset)) InvalidMetafile();
  const std::int64_t words = Le32(head.data() + offset + 6);  // mtSize
  const std::int64_t start = AStream->Position();
  const TBytes data = readExactly(static_cast<std::int64_t>(offset) + words * 2);
  try {
    LoadWindows(std::span<const std::uint8_t>(data).subspan(offset), inch, width, height);
  } catch (...) {
    AStream->SetPosition(start);
    throw;
  }
}

void TMetafile::SaveToStream(TStream* AStream) {
  if (!FHandle) return;
  if (FEnhanced) {
    const UINT size = GetEnhMetaFileBits(FHandle.Get(), 0, nullptr);
    std::vector<std::uint8_t> data(size);
    if (size == 0 || GetEnhMetaFileBits(FHandle.Get(), size, data.data()) != size)
      RaiseGraphicsApiError(L"GetEnhMetaFileBits");
    AStream->WriteBuffer(data.data(), size);
    return;
  }
  std::vector<std::uint8_t> data;
  UINT got = 0;
  {
    const TScreenDC screen;
    const UINT size = GetWinMetaFileBits(FHandle.Get(), 0, nullptr, MM_ANISOTROPIC, screen.Get());
    data.resize(size);
    if (size) got = GetWinMetaFileBits(FHandle.Get(), size, data.data(), MM_ANISOTROPIC, screen.Get());
  }
  if (got == 0) RaiseGraphicsApiError(L"GetWinMetaFileBits");
  const int inch = FInch > 0 ? FInch : 96;
  std::vector<std::uint8_t> header;
  Put16(header, static_cast<std::uint16_t>(PlaceableKey & 0xFFFF));
  Put16(header, static_cast<std::uint16_t>(PlaceableKey >> 16));
  Put16(header, 0);  // hmf
  Put16(header, 0);
  Put16(header, 0);
  Put16(header, static_cast<std::uint16_t>(MulDiv(FMMWidth, inch, 2540)));
  Put16(header, static_cast<std::uint16_t>(MulDiv(FMMHeight, inch, 2540)));
  Put16(header, static_cast<std::uint16_t>(inch));
  Put16(header, 0);  // reserved
  Put16(header, 0);
  std::uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= Le16(header.data() + i);
  Put16(header, checksum);
  AStream->WriteBuffer(header.data(), static_cast<std::int64_t>(header.size()));
  AStream->WriteBuffer(data.data(), got);
}

void TMetafile::SaveToFile(const String& AFileName) {
  const std::size_t dot = AFileName.find_last_of(L'.');
  const bool wmf = dot != String::npos && _wcsicmp(AFileName.c_str() + dot, L".wmf") == 0;
  const bool enhanced = FEnhanced;
  FEnhanced = !wmf;
  try {
    inherited::SaveToFile(AFileName);
  } catch (...) {
    FEnhanced = enhanced;
    throw;
  }
}

void TMetafile::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  if (AFormat != CF_ENHMETAFILE || !AData) {
    inherited::LoadFromClipboardFormat(AFormat, AData, APalette);
    return;
  }
  TOwnedEnhMetaFile copy(CopyEnhMetaFileW(static_cast<HENHMETAFILE>(AData), nullptr));
  if (!copy) RaiseGraphicsApiError(L"CopyEnhMetaFileW");
  TakeHandle(std::move(copy));
  FEnhanced = true;
}

void TMetafile::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  AFormat = CF_ENHMETAFILE;
  APalette = nullptr;
  AData = FHandle ? CopyEnhMetaFileW(FHandle.Get(), nullptr) : nullptr;
  if (FHandle && !AData) RaiseGraphicsApiError(L"CopyEnhMetaFileW");
}

// ---------------------------------------------------------------------------
// TMetafileCanvas

void TMetafileCanvas::Create(TMetafile* AMetafile, HDC AReferenceDevice) {
  CreateWithComment(AMetafile, AReferenceDevice, {}, {});
}

void TMetafileCanvas::CreateWithComment(TMetafile* AMetafile, HDC AReferenceDevice, const String& ACreatedBy,
                                        const String& ADescription) {
  inherited::Create();
  FMetafile = AMetafile;
  // "created by\0description\0\0", or none.
  String comment;
  if (!ACreatedBy.empty() || !ADescription.empty()) {
    comment = ACreatedBy;
    comment.push_back(L'\0');
    comment += ADescription;
    comment.push_back(L'\0');
    comment.push_back(L'\0');
  }
  RECT frame{0, 0, AMetafile ? AMetafile->MMWidth() : 0, AMetafile ? AMetafile->MMHeight() : 0};
  const bool sized = frame.right > 0 && frame.bottom > 0;
  FDC = CreateEnhMetaFileW(AReferenceDevice, nullptr, sized ? &frame : nullptr,
                           comment.empty() ? nullptr : comment.c_str());
  if (!FDC) RaiseGraphicsApiError(L"CreateEnhMetaFileW");
  SetHandle(FDC);
}

void TMetafileCanvas::Destroy() {
  if (FDC) {
    SetHandle(nullptr);
    TOwnedEnhMetaFile recorded(CloseEnhMetaFile(std::exchange(FDC, nullptr)));
    if (recorded && FMetafile) {
      const int w = FMetafile->MMWidth(), h = FMetafile->MMHeight();
      try {
        // The metafile owns the recording from here on, whatever its change
        // events do.
        FMetafile->TakeHandle(std::move(recorded));
        // A size set before recording stays.
        if (w > 0 && h > 0) {
          FMetafile->SetMMWidth(w);
          FMetafile->SetMMHeight(h);
        }
      } catch (...) {
        // Destroy cannot report what a change event raised.
      }
    }
  }
  inherited::Destroy();
}
