#include "library/graphics/gdiplus/dxGDIPlusAPI.h"

#include "platform/ui/GdiScopes.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <tuple>
#include <type_traits>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr TResStringRec sdxGdipInvalidOperation = {L"Invalid operation in GDI+ (Code: %d)"};
constexpr TResStringRec sdxGdipInvalidOperationWin32 = {L"Invalid operation in GDI+ (Win32 error code: %d)"};
constexpr TResStringRec sdxGdiPlusRequired = {
    L"This application requires the Microsoft GDI+ library to be installed. Gdiplus.dll is included with "
    L"Windows XP and Vista. GDI+ is available as a redistributable file for Windows NT 4.0 SP6, Windows 2000, "
    L"Windows 98, and Windows Me.  To download the latest redistributable,  see "
    L"https://www.microsoft.com/en-us/download/details.aspx?id=18909"};
constexpr TResStringRec sdxGetImageEncoderFails = {L"dxGetImageEncoder fails"};
// The run-time's caption for an application error.
constexpr TResStringRec SApplicationError = {L"Anwendungsfehler"};

TdxGdiPlusLibrary* GdiPlusInstance = nullptr;
std::atomic<int> GdiPlusReferenceCount{0};
TdxGdiPlusLoader GdiPlusLoader;
std::atomic<int> GdiPlusObjectCounts[dxGpObjectKindCount];

// ---------------------------------------------------------------------------
// Binding by name

// The entry point of a counted function, behind the counting thunk that the
// public pointer names.
template <auto* Slot>
inline std::remove_pointer_t<decltype(Slot)> GdipTrueEntry = nullptr;

template <class F>
struct TdxGpCountingThunk;

template <class... A>
struct TdxGpCountingThunk<GpStatus(WINGDIPAPI*)(A...)> {
  template <auto* Slot, TdxGpObjectKind Kind, int Delta>
  static GpStatus WINGDIPAPI Call(A... AArgs) {
    const GpStatus status = GdipTrueEntry<Slot>(AArgs...);
    if (status == Ok)
      GdiPlusObjectCounts[static_cast<int>(Kind)].fetch_add(Delta, std::memory_order_relaxed);
    else if constexpr (Delta > 0)
      ForgetFailedObject(std::get<sizeof...(A) - 1>(std::forward_as_tuple(AArgs...)));
    return status;
  }

  // A creation that failed may leave an object it has already freed in its
  // out parameter (Wine's font from a LOGFONT does): the slot is cleared, so
  // that no owner frees it again.
  template <class T>
  static void ForgetFailedObject(T** AObject) {
    if (AObject) *AObject = nullptr;
  }
  template <class T>
  static void ForgetFailedObject(T) {}
};

template <class F>
F CastProc(FARPROC AProc) {
  // Through the generic function type, which converts to any other quietly.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(AProc));
}

template <auto& Slot>
void BindPlain(FARPROC AProc) {
  Slot = AProc ? CastProc<std::remove_reference_t<decltype(Slot)>>(AProc) : nullptr;
}

template <auto& Slot, TdxGpObjectKind Kind, int Delta>
void BindCounted(FARPROC AProc) {
  using F = std::remove_reference_t<decltype(Slot)>;
  GdipTrueEntry<&Slot> = AProc ? CastProc<F>(AProc) : nullptr;
  Slot = AProc ? &TdxGpCountingThunk<F>::template Call<&Slot, Kind, Delta> : nullptr;
}

struct TdxGdipEntry {
  const char* Name;
  void (*Bind)(FARPROC AProc);
};

#define SK_GDIP(Name) {#Name, &BindPlain<::Name>},
#define SK_GDIP_NEW(Name, Kind) {#Name, &BindCounted<::Name, TdxGpObjectKind::Kind, 1>},
#define SK_GDIP_DELETE(Name, Kind) {#Name, &BindCounted<::Name, TdxGpObjectKind::Kind, -1>},
constexpr TdxGdipEntry GdipEntries[] = {
#include "library/graphics/gdiplus/dxGDIPlusAPI_Functions.inc"
};
#undef SK_GDIP_DELETE
#undef SK_GDIP_NEW
#undef SK_GDIP
static_assert(std::size(GdipEntries) == 603);

// The run-time's safe loader: no "file not found" box for a missing module.
HMODULE SafeLoadLibrary(const wchar_t* AName) {
  const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  const HMODULE module = LoadLibraryW(AName);
  SetErrorMode(oldMode);
  return module;
}

}  // namespace

// ---------------------------------------------------------------------------
// EdxGdipException

namespace {
String GdipStatusMessage(GpStatus AStatus) {
  // The last error is read before anything here can change it.
  const DWORD lastError = GetLastError();
  if (AStatus == Win32Error && lastError != 0)
    return Format(LoadLocalizedResString(&sdxGdipInvalidOperationWin32), {static_cast<int>(lastError)});
  return Format(LoadLocalizedResString(&sdxGdipInvalidOperation), {static_cast<int>(AStatus)});
}
}  // namespace

EdxGdipException::EdxGdipException(GpStatus AStatus) : EdxException(GdipStatusMessage(AStatus)), FStatus(AStatus) {}

// ---------------------------------------------------------------------------
// TdxGdiPlusLibrary

void TdxGdiPlusLibrary::Create() {
  inherited::Create();
  FLibraryHandle.Reset(SafeLoadLibrary(GdiPlusLoader.ModuleName));
  FIsLoaded = FLibraryHandle.Get() != nullptr;
  if (!FIsLoaded) return;

  const auto getProcedure = GdiPlusLoader.GetProcedure ? GdiPlusLoader.GetProcedure : &::GetProcAddress;
  for (const TdxGdipEntry& entry : GdipEntries) {
    // The first missing name leaves it and every later pointer nil.
    const FARPROC proc = FIsLoaded ? getProcedure(FLibraryHandle.Get(), entry.Name) : nullptr;
    entry.Bind(proc);
    FIsLoaded = proc != nullptr;
  }

  if (!::GdiplusStartup) return;
  const GdiplusStartupInput input(nullptr, TRUE, FALSE);
  if (::GdiplusStartup(&FToken, &input, &FHook) != Ok) {
    FIsLoaded = false;
    FHook = GdiplusStartupOutput();
    return;
  }
  FStarted = true;
  if (!FHook.NotificationHook || FHook.NotificationHook(&FHookToken) != Ok) {
    FIsLoaded = false;
    FHook = GdiplusStartupOutput();
    return;
  }
  FHooked = true;
}

void TdxGdiPlusLibrary::Destroy() {
  // GDI+ goes down whenever it came up, whatever failed after it: a started
  // GDI+ left running would outlive the module it lives in.
  if (FHooked) FHook.NotificationUnhook(FHookToken);
  if (FStarted) ::GdiplusShutdown(FToken);
  FHooked = false;
  FStarted = false;
  FIsLoaded = false;
  FLibraryHandle.Reset();
  if (GdiPlusInstance == this) GdiPlusInstance = nullptr;
  inherited::Destroy();
}

TdxGdiPlusLibrary* TdxGdiPlusLibrary::Instance() {
  // Created on the UI thread at unit start-up, before any other thread.
  if (!GdiPlusInstance) GdiPlusInstance = New<TdxGdiPlusLibrary>();
  return GdiPlusInstance;
}

void TdxGdiPlusLibrary::Acquire() {
  if (GdiPlusReferenceCount.fetch_add(1) + 1 != 1) return;
  // A first reference that cannot start GDI+ is not counted.
  TScopeExit uncount([] { GdiPlusReferenceCount.fetch_sub(1); });
  Instance();
  uncount.Dismiss();
}

void TdxGdiPlusLibrary::Release() {
  if (GdiPlusReferenceCount.fetch_sub(1) - 1 != 0) return;
  if (TdxGdiPlusLibrary* instance = std::exchange(GdiPlusInstance, nullptr)) instance->Free();
}

int TdxGdiPlusLibrary::ReferenceCount() { return GdiPlusReferenceCount.load(); }

void TdxGdiPlusLibrary::SetLoader(const TdxGdiPlusLoader& ALoader) { GdiPlusLoader = ALoader; }
TdxGdiPlusLoader TdxGdiPlusLibrary::Loader() { return GdiPlusLoader; }

int TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind AKind) {
  return GdiPlusObjectCounts[static_cast<int>(AKind)].load(std::memory_order_relaxed);
}

int TdxGdiPlusLibrary::ObjectCount() {
  int result = 0;
  for (const auto& count : GdiPlusObjectCounts) result += count.load(std::memory_order_relaxed);
  return result;
}

bool CheckGdiPlusAvailable(bool AShowMessage) {
  const bool result = TdxGdiPlusLibrary::IsLoaded();
  if (!result && AShowMessage) {
    MessageBoxW(nullptr, LoadLocalizedResString(&sdxGdiPlusRequired).c_str(),
                LoadLocalizedResString(&SApplicationError).c_str(), MB_TASKMODAL | MB_ICONERROR);
    ExitProcess(1);
  }
  return result;
}

void dxGDIPlusAPIInitialization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&TdxGdiPlusLibrary::Acquire, &TdxGdiPlusLibrary::Release);
  else
    TdxGdiPlusLibrary::Acquire();
}

void dxGDIPlusAPIFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&TdxGdiPlusLibrary::Release);
  else
    TdxGdiPlusLibrary::Release();
}

// ---------------------------------------------------------------------------
// TdxGpBase

namespace {
// Ahead of each wrapper's memory: where it came from. Sized to keep the
// object's own alignment.
struct alignas(std::max_align_t) TdxGpAllocationHeader {
  bool FromGdiPlus;
};
const TdxGpAllocationHeader& HeaderOf(const void* AObject) {
  return *(static_cast<const TdxGpAllocationHeader*>(AObject) - 1);
}
}  // namespace

void* TdxGpBase::operator new(std::size_t ASize) {
  TdxGdiPlusLibrary::Acquire();
  const std::size_t size = sizeof(TdxGpAllocationHeader) + ASize;
  const bool fromGdiPlus = TdxGdiPlusLibrary::IsLoaded();
  void* memory = fromGdiPlus ? GdipAlloc(size) : std::malloc(size);
  if (!memory) {
    TdxGdiPlusLibrary::Release();
    throw std::bad_alloc();
  }
  auto* header = new (memory) TdxGpAllocationHeader{fromGdiPlus};
  return header + 1;
}

void TdxGpBase::operator delete(void* APointer) {
  if (!APointer) return;
  void* memory = static_cast<TdxGpAllocationHeader*>(APointer) - 1;
  if (HeaderOf(APointer).FromGdiPlus)
    GdipFree(memory);
  else
    std::free(memory);
  TdxGdiPlusLibrary::Release();
}

bool TdxGpBase::IsGpUsed() const { return HeaderOf(this).FromGdiPlus; }

// ---------------------------------------------------------------------------
// Rectangles

TdxGpRectF TdxGpRectF::From(const TRect& R) {
  return {static_cast<float>(R.Left), static_cast<float>(R.Top), static_cast<float>(R.Right - R.Left),
          static_cast<float>(R.Bottom - R.Top)};
}

TRect TdxGpRectF::ToRect() const {
  const int left = static_cast<int>(std::trunc(X));
  const int top = static_cast<int>(std::trunc(Y));
  return TRect(left, top, left + static_cast<int>(std::trunc(Width)), top + static_cast<int>(std::trunc(Height)));
}

TdxGpRectF GdipRectFFromGdipRect(const TdxGpRect& R) {
  return {static_cast<float>(R.X), static_cast<float>(R.Y), static_cast<float>(R.Width), static_cast<float>(R.Height)};
}

bool GdipRectFEqual(const TdxGpRectF& A, const TdxGpRectF& B) {
  return A.X == B.X && A.Y == B.Y && A.Width == B.Width && A.Height == B.Height;
}

// ---------------------------------------------------------------------------
// Bitmaps and fonts

TdxGpOwnedImage CreateGdipBitmap(int AWidth, int AHeight) {
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, 0, PixelFormat32bppPARGB, nullptr, &bitmap));
  return TdxGpOwnedImage(bitmap);
}

TdxGpOwnedFont CreateGdipFontFromLogFont(const LOGFONTW& ALogFont) {
  LOGFONTW logFont = ALogFont;
  const TWindowDC screen(nullptr);
  TdxGpOwnedFont result;
  GpStatus status = GdipCreateFontFromLogfontW(screen.Get(), &logFont, result.Receive());
  if (status == NotTrueTypeFont) {
    wcsncpy_s(logFont.lfFaceName, LF_FACESIZE, L"Tahoma", _TRUNCATE);
    status = GdipCreateFontFromLogfontW(screen.Get(), &logFont, result.Receive());
  }
  CheckGdipStatus(status);
  return result;
}

// ---------------------------------------------------------------------------
// Codecs and image formats

namespace {
TdxGdipCodecIds GdipCodecIdTable;

using TGetCodecsSize = GpStatus(WINGDIPAPI*)(UINT*, UINT*);
using TGetCodecs = GpStatus(WINGDIPAPI*)(UINT, UINT, ImageCodecInfo*);

bool SameMimeType(const WCHAR* A, const String& B) {
  if (!A) return false;
  std::size_t i = 0;
  for (; A[i] && i < B.size(); ++i) {
    const auto lower = [](wchar_t C) { return C >= L'A' && C <= L'Z' ? wchar_t(C - L'A' + L'a') : C; };
    if (lower(A[i]) != lower(B[i])) return false;
  }
  return A[i] == 0 && i == B.size();
}

int FindCodecId(TGetCodecsSize AGetSize, TGetCodecs AGetCodecs, const String& AMimeType, GUID& AId) {
  if (!CheckGdiPlusAvailable(false)) return 1;
  UINT count = 0;
  UINT size = 0;
  if (AGetSize(&count, &size) != Ok || size == 0) return 1;
  // ImageCodecInfo records followed by the strings they point to.
  std::vector<std::max_align_t> buffer((size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (AGetCodecs(count, size, codecs) != Ok) return 1;
  for (UINT i = 0; i < count; ++i)
    if (SameMimeType(codecs[i].MimeType, AMimeType)) {
      AId = codecs[i].Clsid;
      return 0;
    }
  return 1;
}

void LoadCodecId(GUID& AId, bool AEncoder, const wchar_t* AMimeType) {
  if (IsGdipCodecIdSet(AId)) return;
  if (AEncoder)
    GetGdipEncoderId(AMimeType, AId);
  else
    GetGdipDecoderId(AMimeType, AId);
}
}  // namespace

TdxGdipCodecIds& GdipCodecIds() { return GdipCodecIdTable; }

bool IsGdipCodecIdSet(const GUID& AId) { return AId.Data1 != 0 || AId.Data2 != 0 || AId.Data3 != 0; }

int GetGdipEncoderId(const String& AMimeType, GUID& AId) {
  return FindCodecId([](UINT* C, UINT* S) { return GdipGetImageEncodersSize(C, S); },
                     [](UINT C, UINT S, ImageCodecInfo* I) { return GdipGetImageEncoders(C, S, I); }, AMimeType, AId);
}

int GetGdipDecoderId(const String& AMimeType, GUID& AId) {
  return FindCodecId([](UINT* C, UINT* S) { return GdipGetImageDecodersSize(C, S); },
                     [](UINT C, UINT S, ImageCodecInfo* I) { return GdipGetImageDecoders(C, S, I); }, AMimeType, AId);
}

void LoadGdipCodecIds() {
  TdxGdipCodecIds& ids = GdipCodecIdTable;
  // Without PNG there is nothing the library could show.
  if (!IsGdipCodecIdSet(ids.PngEncoder) && GetGdipEncoderId(L"image/png", ids.PngEncoder) != 0)
    throw EdxGdipException(GenericError);
  if (!IsGdipCodecIdSet(ids.PngDecoder) && GetGdipDecoderId(L"image/png", ids.PngDecoder) != 0)
    throw EdxGdipException(GenericError);
  LoadCodecId(ids.BmpEncoder, true, L"image/bmp");
  LoadCodecId(ids.BmpDecoder, false, L"image/bmp");
  LoadCodecId(ids.GifEncoder, true, L"image/gif");
  LoadCodecId(ids.GifDecoder, false, L"image/gif");
  LoadCodecId(ids.JpegEncoder, true, L"image/jpeg");
  LoadCodecId(ids.JpegDecoder, false, L"image/jpeg");
  LoadCodecId(ids.TiffEncoder, true, L"image/tiff");
  LoadCodecId(ids.TiffDecoder, false, L"image/tiff");
  LoadCodecId(ids.EmfDecoder, false, L"image/x-emf");
  LoadCodecId(ids.WmfDecoder, false, L"image/x-wmf");
  LoadCodecId(ids.IconDecoder, false, L"image/x-icon");
}

TdxImageDataFormat ImageDataFormatFromRawFormat(const GUID& AFormat) {
  // The published image-format identifiers differ only in Data1.
  const auto imageFormat = [](unsigned long AData1) {
    return GUID{AData1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  };
  static const struct {
    GUID Format;
    TdxImageDataFormat Result;
  } formats[] = {
      {imageFormat(0xB96B3CAB), dxImageBitmap}, {imageFormat(0xB96B3CAA), dxImageMemoryBmp},
      {imageFormat(0xB96B3CAE), dxImageJpeg},   {imageFormat(0xB96B3CAF), dxImagePng},
      {imageFormat(0xB96B3CB1), dxImageTiff},   {imageFormat(0xB96B3CB0), dxImageGif},
      {imageFormat(0xB96B3CB5), dxImageIcon},   {imageFormat(0xB96B3CAC), dxImageEmf},
      {imageFormat(0xB96B3CAD), dxImageWmf},
  };
  for (const auto& format : formats)
    if (format.Format == AFormat) return format.Result;
  return dxImageUnknown;
}

TdxImageDataFormat GdipImageDataFormat(GpImage* AImage) {
  GUID format;
  if (!AImage || GdipGetImageRawFormat(AImage, &format) != Ok) return dxImageUnknown;
  return ImageDataFormatFromRawFormat(format);
}

GUID dxGetImageEncoder(TdxImageDataFormat AFormat) {
  const TdxGdipCodecIds& ids = GdipCodecIdTable;
  switch (AFormat) {
    case dxImageBitmap:
    case dxImageMemoryBmp: return ids.BmpEncoder;
    case dxImageJpeg: return ids.JpegEncoder;
    case dxImagePng: return ids.PngEncoder;
    case dxImageTiff: return ids.TiffEncoder;
    case dxImageGif: return ids.GifEncoder;
    case dxImageEmf:
    case dxImageIcon:
    case dxImageWmf: return GUID{};
    case dxImageUnknown:
    case dxImageExif: break;
  }
  throw EdxException(LoadLocalizedResString(&sdxGetImageEncoderFails));
}
