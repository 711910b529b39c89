// The GDI+ binding: gdiplus.dll loaded at run time, its flat functions bound
// by name, GDI+ started on the UI thread with its background thread
// suppressed, and what every GDI+ wrapper shares (the status check, the
// wrappers' base class, rectangle records, bitmaps and fonts made for the
// canvases, the codec identifiers the image codecs read).
//
// Classes in this file:
//   TdxGdiPlusLibrary        the process-wide binding and its reference count
//   TdxGdiPlusLoader         where the binding finds the module and its entry points
//   EdxGdipException         a flat call that did not answer Ok
//   TdxGpBase                the wrappers' base: memory from GdipAlloc, a reference on the binding
//   TdxGpRectF, TdxGpRect    GDI+ rectangle records
//   TdxGpObjectKind          the kinds of GDI+ object the binding counts
//   TdxGpHandleTraits        TUniqueHandle traits of one GDI+ object type (TdxGpOwned...)
//   TdxImageDataFormat       the formats of image data
//
// GDI+ is all or nothing: the binding counts as loaded only when the module
// loaded, every flat function was found and GDI+ started. The wrappers call
// the flat functions without a test of their own, so callers test
// TdxGdiPlusLibrary::IsLoaded (or CheckGdiPlusAvailable(false)) first.
//
// The flat functions are global function pointers named as GDI+ names them
// (GdipCreatePen1 ...), typed by the prototypes of <gdiplus.h>, nil until bound.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCore.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/WinApi.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>

// The GDI+ types the wrappers' signatures use.
using Gdiplus::ARGB;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpCachedBitmap;
using Gdiplus::GpCustomLineCap;
using Gdiplus::GpFont;
using Gdiplus::GpFontCollection;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpHatch;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpLineGradient;
using Gdiplus::GpMatrix;
using Gdiplus::GpPath;
using Gdiplus::GpPathIterator;
using Gdiplus::GpPen;
using Gdiplus::GpRegion;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;
using Gdiplus::GpTexture;

// The prototypes the bound pointers take their types from.
namespace dxGdipPrototypes {
using namespace Gdiplus::DllExports;
using Gdiplus::GdiplusShutdown;
using Gdiplus::GdiplusStartup;
// Not declared by the toolchain's headers.
extern "C" GpStatus WINGDIPAPI GdipGetMetafileHeaderFromWmf(HMETAFILE, const Gdiplus::WmfPlaceableFileHeader*,
                                                             Gdiplus::MetafileHeader*);
}  // namespace dxGdipPrototypes

#define SK_GDIP(Name) inline decltype(&dxGdipPrototypes::Name) Name = nullptr;
#define SK_GDIP_NEW(Name, Kind) SK_GDIP(Name)
#define SK_GDIP_DELETE(Name, Kind) SK_GDIP(Name)
#include "library/graphics/gdiplus/dxGDIPlusAPI_Functions.inc"
#undef SK_GDIP_DELETE
#undef SK_GDIP_NEW
#undef SK_GDIP

// ---------------------------------------------------------------------------
// Status and exception

class EdxGdipException : public EdxException {
 public:
  // The message tells the status, or the thread's last Win32 error for a
  // Win32Error status when there is one.
  explicit EdxGdipException(GpStatus AStatus);
  GpStatus Status() const { return FStatus; }

 private:
  GpStatus FStatus;
};

// Returns for Ok; raises EdxGdipException with any other status.
inline void CheckGdipStatus(GpStatus AStatus) {
  if (AStatus != Gdiplus::Ok) throw EdxGdipException(AStatus);
}

// ---------------------------------------------------------------------------
// The binding

// The kinds of GDI+ object whose creations and deletions the binding counts.
enum class TdxGpObjectKind : std::uint8_t {
  Graphics, Brush, Pen, CustomLineCap, Matrix, Path, PathIterator, Region, Image, ImageAttributes,
  CachedBitmap, FontFamily, Font, FontCollection, StringFormat
};
constexpr int dxGpObjectKindCount = static_cast<int>(TdxGpObjectKind::StringFormat) + 1;

// Where the binding finds gdiplus.dll and its entry points. Tests take an
// entry point away or watch the start-up through it; it is read when the
// binding object is created.
struct TdxGdiPlusLoader {
  const wchar_t* ModuleName = L"gdiplus.dll";
  // GetProcAddress when nil.
  FARPROC (*GetProcedure)(HMODULE AModule, const char* AName) = nullptr;
};

class TdxGdiPlusLibrary : public TObject {
  SK_CLASS(TdxGdiPlusLibrary, TObject)
 public:
  // Loads, binds and starts; the outcome is final (IsLoaded).
  void Create();
  // Shuts GDI+ down when it started, then frees the module.
  void Destroy() override;

  // The one binding object, created on the first call.
  static TdxGdiPlusLibrary* Instance();
  static bool IsLoaded() { return Instance()->FIsLoaded; }
  // A reference on the binding: the first creates it, the last frees it.
  static void Acquire();
  static void Release();
  static int ReferenceCount();

  static void SetLoader(const TdxGdiPlusLoader& ALoader);
  static TdxGdiPlusLoader Loader();

  // GDI+ objects made through the binding and not yet deleted.
  static int ObjectCount(TdxGpObjectKind AKind);
  static int ObjectCount();

  HMODULE LibraryHandle() const { return FLibraryHandle.Get(); }
  ULONG_PTR Token() const { return FToken; }

 private:
  Gdiplus::GdiplusStartupOutput FHook;
  bool FIsLoaded;
  bool FStarted;   // GdiplusStartup answered Ok
  bool FHooked;    // the notification hook answered Ok
  TOwnedModule FLibraryHandle;
  ULONG_PTR FToken;
  ULONG_PTR FHookToken;
};

// Whether GDI+ is usable. With AShowMessage true and no GDI+, shows the
// start-up message box and ends the process.
bool CheckGdiPlusAvailable(bool AShowMessage = false);

void dxGDIPlusAPIInitialization();
void dxGDIPlusAPIFinalization();

// ---------------------------------------------------------------------------
// Owners of GDI+ handles

// Each deleted through its bound flat function (whose status is of no use at
// that point).
using TdxGpOwnedGraphics = TUniqueHandle<TFreedBy<GpGraphics*, &GdipDeleteGraphics>>;
using TdxGpOwnedBrush = TUniqueHandle<TFreedBy<GpBrush*, &GdipDeleteBrush>>;
using TdxGpOwnedPen = TUniqueHandle<TFreedBy<GpPen*, &GdipDeletePen>>;
using TdxGpOwnedMatrix = TUniqueHandle<TFreedBy<GpMatrix*, &GdipDeleteMatrix>>;
using TdxGpOwnedPath = TUniqueHandle<TFreedBy<GpPath*, &GdipDeletePath>>;
using TdxGpOwnedRegion = TUniqueHandle<TFreedBy<GpRegion*, &GdipDeleteRegion>>;
using TdxGpOwnedImage = TUniqueHandle<TFreedBy<GpImage*, &GdipDisposeImage>>;
using TdxGpOwnedImageAttributes = TUniqueHandle<TFreedBy<GpImageAttributes*, &GdipDisposeImageAttributes>>;
using TdxGpOwnedFontFamily = TUniqueHandle<TFreedBy<GpFontFamily*, &GdipDeleteFontFamily>>;
using TdxGpOwnedFont = TUniqueHandle<TFreedBy<GpFont*, &GdipDeleteFont>>;
using TdxGpOwnedStringFormat = TUniqueHandle<TFreedBy<GpStringFormat*, &GdipDeleteStringFormat>>;

// ---------------------------------------------------------------------------
// The wrappers' base

// Every GDI+ wrapper object lives in memory from GdipAlloc while GDI+ is
// loaded (the ordinary heap otherwise) and holds one reference on the
// binding from its allocation to its release, so GDI+ shuts down only after
// the last wrapper is gone.
class TdxGpBase : public TObject {
  SK_CLASS(TdxGpBase, TObject)
 public:
  static void* operator new(std::size_t ASize);
  static void operator delete(void* APointer);
  // Whether this object's memory came from GdipAlloc.
  bool IsGpUsed() const;
};

// ---------------------------------------------------------------------------
// Rectangle records

struct TdxGpRectF {
  float X = 0;
  float Y = 0;
  float Width = 0;
  float Height = 0;

  static constexpr TdxGpRectF Empty() { return {}; }
  static constexpr TdxGpRectF Init(float AX, float AY, float AWidth, float AHeight) { return {AX, AY, AWidth, AHeight}; }
  TdxSizeF SizeF() const { return TdxSizeF(Width, Height); }

  static TdxGpRectF From(const TRect& R);
  static TdxGpRectF From(const TdxRectF& R) { return {R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top}; }
  // Each field truncated towards zero.
  TRect ToRect() const;
  TdxRectF ToRectF() const { return TdxRectF(X, Y, X + Width, Y + Height); }
  const Gdiplus::RectF* AsGdip() const { return reinterpret_cast<const Gdiplus::RectF*>(this); }
};
static_assert(sizeof(TdxGpRectF) == sizeof(Gdiplus::RectF));

struct TdxGpRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;

  static constexpr TdxGpRect Empty() { return {}; }
  static constexpr TdxGpRect Init(int AX, int AY, int AWidth, int AHeight) { return {AX, AY, AWidth, AHeight}; }
  static constexpr TdxGpRect From(const TRect& R) { return {R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top}; }
};

inline TdxGpRectF MakeGdipRectF(float X, float Y, float AWidth, float AHeight) {
  return TdxGpRectF::Init(X, Y, AWidth, AHeight);
}
inline TdxGpRectF GdipRectFFromRect(const TRect& R) { return TdxGpRectF::From(R); }
TdxGpRectF GdipRectFFromGdipRect(const TdxGpRect& R);
// All four fields equal; a NaN anywhere makes them unequal.
bool GdipRectFEqual(const TdxGpRectF& A, const TdxGpRectF& B);
inline TdxGpRect MakeGdipRect(int X, int Y, int AWidth, int AHeight) { return TdxGpRect::Init(X, Y, AWidth, AHeight); }
inline TdxGpRect GdipRectFromRect(const TRect& R) { return TdxGpRect::From(R); }
inline Gdiplus::Point SetGdipPoint(int X, int Y) { return Gdiplus::Point(X, Y); }

// ---------------------------------------------------------------------------
// Bitmaps and fonts

// A new 32-bit premultiplied GDI+ bitmap whose pixels GDI+ allocates; the
// caller owns it.
TdxGpOwnedImage CreateGdipBitmap(int AWidth, int AHeight);
inline TdxGpOwnedImage CreateGdipBitmapForSize(const TSize& ASize) { return CreateGdipBitmap(ASize.cx, ASize.cy); }
inline TdxGpOwnedImage CreateGdipBitmapForRect(const TRect& R) { return CreateGdipBitmap(R.Width(), R.Height()); }

// A GDI+ font for a LOGFONTW on the screen; a face that is not TrueType is
// replaced by "Tahoma" once. The caller owns it.
TdxGpOwnedFont CreateGdipFontFromLogFont(const LOGFONTW& ALogFont);

// ---------------------------------------------------------------------------
// Image formats and codecs

enum TdxImageDataFormat {
  dxImageUnknown, dxImageBitmap, dxImageJpeg, dxImagePng, dxImageTiff, dxImageGif, dxImageEmf,
  dxImageExif, dxImageIcon, dxImageMemoryBmp, dxImageWmf
};

// The codec identifiers, all zero until LoadGdipCodecIds.
struct TdxGdipCodecIds {
  GUID BmpEncoder, BmpDecoder, GifEncoder, GifDecoder, JpegEncoder, JpegDecoder, PngEncoder, PngDecoder,
      TiffEncoder, TiffDecoder, EmfDecoder, WmfDecoder, IconDecoder;
};
TdxGdipCodecIds& GdipCodecIds();
// Set when its first eight bytes (Data1, Data2, Data3) are not all zero.
bool IsGdipCodecIdSet(const GUID& AId);

// 0 with AId set when a codec of the MIME type (compared ignoring ASCII case)
// is installed; 1 otherwise, AId untouched.
int GetGdipEncoderId(const String& AMimeType, GUID& AId);
int GetGdipDecoderId(const String& AMimeType, GUID& AId);
// Fills the entries not yet set; no PNG codec raises EdxGdipException (1).
void LoadGdipCodecIds();
inline void InitGdipCodecIds() { LoadGdipCodecIds(); }

TdxImageDataFormat ImageDataFormatFromRawFormat(const GUID& AFormat);
TdxImageDataFormat GdipImageDataFormat(GpImage* AImage);
// The encoder for saving in a format: all zero for EMF, WMF and icons;
// unknown and EXIF raise EdxException.
GUID dxGetImageEncoder(TdxImageDataFormat AFormat);
