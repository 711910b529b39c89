#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

// Stands between the binding and gdiplus.dll: records the names asked for,
// takes one away, and counts (or fails) the start-up and shut-down, which it
// otherwise passes to the real library.
struct TBindingProbe {
  static inline std::vector<std::string> Asked;
  static inline std::string Missing;
  static inline bool FailStartup = false;
  static inline bool FailHook = false;
  static inline int Startups = 0;
  static inline int Shutdowns = 0;
  static inline GdiplusStartupInput StartupInput;
  // Faces the font-from-LOGFONT entry point saw; only "Tahoma" counts as TrueType.
  static inline bool WatchFonts = false;
  static inline std::vector<LOGFONTW> FontRequests;
  // Images GDI+ was asked to decode from a stream.
  static inline bool WatchImageLoads = false;
  static inline int ImageLoads = 0;

  static inline decltype(&dxGdipPrototypes::GdiplusStartup) RealStartup = nullptr;
  static inline decltype(&dxGdipPrototypes::GdiplusShutdown) RealShutdown = nullptr;
  static inline decltype(&dxGdipPrototypes::GdipCreateFontFromLogfontW) RealFontFromLogFont = nullptr;
  static inline decltype(&dxGdipPrototypes::GdipLoadImageFromStream) RealLoadImage = nullptr;

  static void Reset() {
    Asked.clear();
    Missing.clear();
    FailStartup = FailHook = WatchFonts = WatchImageLoads = false;
    Startups = Shutdowns = ImageLoads = 0;
    FontRequests.clear();
  }

  static GpStatus WINGDIPAPI FailingHook(ULONG_PTR*) { return GenericError; }

  static GpStatus WINGDIPAPI Startup(ULONG_PTR* AToken, const GdiplusStartupInput* AInput,
                                     GdiplusStartupOutput* AOutput) {
    StartupInput = *AInput;
    if (FailStartup) return GenericError;
    ++Startups;
    const GpStatus status = RealStartup(AToken, AInput, AOutput);
    if (FailHook) AOutput->NotificationHook = &FailingHook;
    return status;
  }

  static VOID WINGDIPAPI Shutdown(ULONG_PTR AToken) {
    ++Shutdowns;
    RealShutdown(AToken);
  }

  static GpStatus WINGDIPAPI FontFromLogFont(HDC ADC, GDIPCONST LOGFONTW* ALogFont, GpFont** AFont) {
    FontRequests.push_back(*ALogFont);
    if (std::wstring(ALogFont->lfFaceName) == L"Broken") return InvalidParameter;
    // As Wine refuses a vertical face: the font it made and freed is left behind.
    if (std::wstring(ALogFont->lfFaceName) == L"@Freed") {
      *AFont = reinterpret_cast<GpFont*>(std::uintptr_t{0xDEAD0});
      return NotTrueTypeFont;
    }
    if (std::wstring(ALogFont->lfFaceName) != L"Tahoma") return NotTrueTypeFont;
    return RealFontFromLogFont(ADC, ALogFont, AFont);
  }

  static GpStatus WINGDIPAPI LoadImage(IStream* AStream, GpImage** AImage) {
    ++ImageLoads;
    return RealLoadImage(AStream, AImage);
  }

  template <class F>
  static FARPROC AsProc(F AFunction) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(AFunction));
  }
  template <class F>
  static F FromProc(FARPROC AProc) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(AProc));
  }

  static FARPROC GetProcedure(HMODULE AModule, const char* AName) {
    Asked.emplace_back(AName);
    if (Missing == AName) return nullptr;
    const FARPROC real = GetProcAddress(AModule, AName);
    const std::string name = AName;
    if (name == "GdiplusStartup") {
      RealStartup = FromProc<decltype(RealStartup)>(real);
      return AsProc(&Startup);
    }
    if (name == "GdiplusShutdown") {
      RealShutdown = FromProc<decltype(RealShutdown)>(real);
      return AsProc(&Shutdown);
    }
    if (name == "GdipCreateFontFromLogfontW" && WatchFonts) {
      RealFontFromLogFont = FromProc<decltype(RealFontFromLogFont)>(real);
      return AsProc(&FontFromLogFont);
    }
    if (name == "GdipLoadImageFromStream" && WatchImageLoads) {
      RealLoadImage = FromProc<decltype(RealLoadImage)>(real);
      return AsProc(&LoadImage);
    }
    return real;
  }
};

// Takes the GDI+ units down (so the binding goes), runs the test against a
// binding made through the probe, and brings the units back as they were.
class GdiPlusBinding : public testing::Test {
 protected:
  void SetUp() override {
    dxGDIPlusClassesFinalization();
    dxGDIPlusAPIFinalization();
    ASSERT_EQ(TdxGdiPlusLibrary::ReferenceCount(), 0);
    TBindingProbe::Reset();
    TdxGdiPlusLoader loader;
    loader.GetProcedure = &TBindingProbe::GetProcedure;
    TdxGdiPlusLibrary::SetLoader(loader);
  }
  void TearDown() override {
    if (FHeld) TdxGdiPlusLibrary::Release();
    TdxGdiPlusLibrary::SetLoader(TdxGdiPlusLoader());
    dxGDIPlusAPIInitialization();
    dxGDIPlusClassesInitialization();
    EXPECT_TRUE(TdxGdiPlusLibrary::IsLoaded());
  }
  void Start() {
    TdxGdiPlusLibrary::Acquire();
    FHeld = true;
  }
  void Stop() {
    TdxGdiPlusLibrary::Release();
    FHeld = false;
  }

 private:
  bool FHeld = false;
};

TEST_F(GdiPlusBinding, EveryFunctionIsBoundByNameInOrderAndGdiPlusStartsWithoutItsThread) {
  Start();
  EXPECT_TRUE(TdxGdiPlusLibrary::IsLoaded());
  ASSERT_EQ(TBindingProbe::Asked.size(), 603u);
  EXPECT_EQ(TBindingProbe::Asked.front(), "GdipAlloc");
  EXPECT_EQ(TBindingProbe::Asked[2], "GdiplusStartup");
  EXPECT_EQ(TBindingProbe::Asked.back(), "GdipEmfToWmfBits");
  EXPECT_EQ(TBindingProbe::StartupInput.GdiplusVersion, 1u);
  EXPECT_TRUE(TBindingProbe::StartupInput.SuppressBackgroundThread);
  EXPECT_FALSE(TBindingProbe::StartupInput.SuppressExternalCodecs);
  EXPECT_EQ(TBindingProbe::StartupInput.DebugEventCallback, nullptr);
  EXPECT_NE(GdipEmfToWmfBits, nullptr);
  EXPECT_EQ(TBindingProbe::Startups, 1);
  Stop();
  EXPECT_EQ(TBindingProbe::Shutdowns, 1);
}

struct TBindingCase {
  const char* Name;
  std::string Missing;
  bool FailStartup;
  bool FailHook;
  std::size_t NamesAsked;
  int Startups;  // and shut-downs: GDI+ goes down exactly when it came up
};

TEST_F(GdiPlusBinding, GdiPlusShutsDownExactlyWhenItStarted) {
  const TBindingCase cases[] = {
      {"a late name missing", "GdipEmfToWmfBits", false, false, 603, 1},
      {"a name in the middle missing", "GdipCreatePen1", false, false, 0, 1},
      {"start-up missing", "GdiplusStartup", false, false, 3, 0},
      {"start-up fails", "", true, false, 603, 0},
      {"notification hook fails", "", false, true, 603, 1},
  };
  for (const TBindingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBindingProbe::Reset();
    TBindingProbe::Missing = c.Missing;
    TBindingProbe::FailStartup = c.FailStartup;
    TBindingProbe::FailHook = c.FailHook;
    Start();
    EXPECT_FALSE(TdxGdiPlusLibrary::IsLoaded());
    EXPECT_FALSE(CheckGdiPlusAvailable(false));
    if (c.NamesAsked) {
      EXPECT_EQ(TBindingProbe::Asked.size(), c.NamesAsked);
    }
    // The first missing name ends the lookups and leaves the later pointers nil.
    if (!c.Missing.empty()) {
      EXPECT_EQ(TBindingProbe::Asked.back(), c.Missing);
    }
    if (c.Missing == "GdipCreatePen1") {
      EXPECT_EQ(GdipCreatePen2, nullptr);
    }
    EXPECT_EQ(TBindingProbe::Startups, c.Startups);
    Stop();
    EXPECT_EQ(TBindingProbe::Shutdowns, c.Startups);
  }
}

class TPlainWrapper : public TdxGpBase {
  SK_CLASS(TPlainWrapper, TdxGpBase)
 public:
  int Payload[7];
};

TEST_F(GdiPlusBinding, WithoutTheModuleNothingLoadsAndWrappersUseTheOrdinaryHeap) {
  TdxGdiPlusLoader loader;
  loader.ModuleName = L"no-such-gdiplus.dll";
  TdxGdiPlusLibrary::SetLoader(loader);
  Start();
  EXPECT_FALSE(TdxGdiPlusLibrary::IsLoaded());
  EXPECT_FALSE(CheckGdiPlusAvailable(false));
  EXPECT_EQ(TdxGdiPlusLibrary::Instance()->LibraryHandle(), nullptr);
  EXPECT_TRUE(TBindingProbe::Asked.empty());
  TPlainWrapper* wrapper = New<TPlainWrapper>();
  EXPECT_FALSE(wrapper->IsGpUsed());
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), 2);
  wrapper->Free();
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), 1);
  GUID id{};
  EXPECT_EQ(GetGdipEncoderId(L"image/png", id), 1);
}

TEST_F(GdiPlusBinding, ACreationThatFailedLeavesNoObjectBehind) {
  TBindingProbe::WatchFonts = true;
  Start();
  LOGFONTW logFont{};
  logFont.lfHeight = -20;
  wcscpy(logFont.lfFaceName, L"@Freed");
  const TScreenDC screen;
  GpFont* font = nullptr;
  EXPECT_EQ(GdipCreateFontFromLogfontW(screen.Get(), &logFont, &font), NotTrueTypeFont);
  EXPECT_EQ(font, nullptr);
  // An owner of the slot has nothing to free: freeing the left-over font
  // would take a font away from nobody, and the count below zero.
  {
    TdxGpOwnedFont owned;
    EXPECT_EQ(GdipCreateFontFromLogfontW(screen.Get(), &logFont, owned.Receive()), NotTrueTypeFont);
    EXPECT_FALSE(owned);
  }
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Font), 0);
}

TEST_F(GdiPlusBinding, AFaceThatIsNotTrueTypeBecomesTahomaOfTheSameHeightWeightAndStyle) {
  // The entry point is watched, so the test sees what the second attempt asks
  // for and that a failure of another kind gets no second attempt.
  TBindingProbe::WatchFonts = true;
  Start();
  LOGFONTW logFont{};
  logFont.lfHeight = -20;
  logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = TRUE;
  wcscpy(logFont.lfFaceName, L"MS Sans Serif");
  {
    const TdxGpOwnedFont font = CreateGdipFontFromLogFont(logFont);
    EXPECT_TRUE(font);
  }
  ASSERT_EQ(TBindingProbe::FontRequests.size(), 2u);
  const LOGFONTW& retry = TBindingProbe::FontRequests[1];
  EXPECT_STREQ(retry.lfFaceName, L"Tahoma");
  EXPECT_EQ(retry.lfHeight, -20);
  EXPECT_EQ(retry.lfWeight, FW_BOLD);
  EXPECT_TRUE(retry.lfItalic);
  EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif");  // the caller's record is untouched

  TBindingProbe::FontRequests.clear();
  wcscpy(logFont.lfFaceName, L"Broken");
  try {
    CreateGdipFontFromLogFont(logFont);
    ADD_FAILURE() << "no exception";
  } catch (const EdxGdipException& e) {
    EXPECT_EQ(e.Status(), InvalidParameter);
  }
  EXPECT_EQ(TBindingProbe::FontRequests.size(), 1u);  // no second attempt
}

TEST_F(GdiPlusBinding, AStreamIsOfferedToGdiPlusOnceHoweverManyOfItsCodecsAreRegistered) {
  TBindingProbe::WatchImageLoads = true;
  Start();
  dxGDIPlusClassesInitialization();
  std::string damaged = FixtureBytes(L"png32.png");
  ASSERT_GT(damaged.size(), 64u);
  damaged.resize(damaged.size() / 2);
  const struct {
    const char* Name;
    std::string Bytes;
    bool Loads;
  } cases[] = {
      {"a damaged PNG", damaged, false},
      {"a PNG", FixtureBytes(L"png32.png"), true},
      // Taken by the first GDI+ codec, whatever the format.
      {"a JPEG", FixtureBytes(L"jpeg-baseline.jpg"), true},
      {"no image at all", std::string(200, 'x'), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TBindingProbe::ImageLoads = 0;
    TOwned<TMemoryStream> stream = StreamOf(c.Bytes);
    TOwned<TdxSmartImageCustomHandle> handle;
    EXPECT_EQ(TdxSmartImageCodecsRepository::Load(stream.get(), handle), c.Loads);
    EXPECT_EQ(TBindingProbe::ImageLoads, 1);
  }
  dxGDIPlusClassesFinalization();
}

// ---------------------------------------------------------------------------

class GdiPlusApi : public GdiPlusTest {};

TEST_F(GdiPlusApi, WrappersLiveInGdiPlusMemoryAndHoldTheBinding) {
  const int references = TdxGdiPlusLibrary::ReferenceCount();
  TPlainWrapper* wrapper = New<TPlainWrapper>();
  EXPECT_TRUE(wrapper->IsGpUsed());
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wrapper) % alignof(std::max_align_t), 0u);
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), references + 1);
  wrapper->Free();
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), references);
}

TEST_F(GdiPlusApi, StatusesOtherThanOkRaiseWithTheStatusText) {
  struct {
    const char* Name;
    GpStatus Status;
    DWORD LastError;
    const wchar_t* Message;
  } const cases[] = {
      {"invalid parameter", InvalidParameter, 0, L"Invalid operation in GDI+ (Code: 2)"},
      {"Win32 error without a system error", Win32Error, 0, L"Invalid operation in GDI+ (Code: 7)"},
      {"Win32 error with a system error", Win32Error, ERROR_ACCESS_DENIED,
       L"Invalid operation in GDI+ (Win32 error code: 5)"},
      {"a status error ignores the system error", OutOfMemory, ERROR_ACCESS_DENIED,
       L"Invalid operation in GDI+ (Code: 3)"},
  };
  EXPECT_NO_THROW(CheckGdipStatus(Ok));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLastError(c.LastError);
    try {
      CheckGdipStatus(c.Status);
      ADD_FAILURE() << "no exception";
    } catch (const EdxGdipException& e) {
      EXPECT_EQ(e.Status(), c.Status);
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST_F(GdiPlusApi, AFailingFlatCallRaisesItsStatus) {
  GpPen* pen = nullptr;
  try {
    CheckGdipStatus(GdipCreatePen1(0xFF000000, 1, UnitPixel, nullptr));
    ADD_FAILURE() << "no exception";
  } catch (const EdxGdipException& e) {
    EXPECT_EQ(e.Status(), InvalidParameter);
  }
  EXPECT_EQ(pen, nullptr);
}

TEST_F(GdiPlusApi, CodecsAreFoundByMimeTypeIgnoringCase) {
  GUID lower{};
  GUID upper{};
  ASSERT_EQ(GetGdipEncoderId(L"image/png", lower), 0);
  EXPECT_EQ(GetGdipEncoderId(L"IMAGE/PNG", upper), 0);
  EXPECT_EQ(lower, upper);
  EXPECT_TRUE(IsGdipCodecIdSet(lower));
  GUID decoder{};
  EXPECT_EQ(GetGdipDecoderId(L"Image/Png", decoder), 0);
  EXPECT_TRUE(IsGdipCodecIdSet(decoder));

  GUID untouched = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const GUID before = untouched;
  EXPECT_EQ(GetGdipEncoderId(L"image/png-but-longer", untouched), 1);
  EXPECT_EQ(GetGdipEncoderId(L"image/pn", untouched), 1);
  EXPECT_EQ(GetGdipEncoderId(L"", untouched), 1);
  EXPECT_EQ(GetGdipEncoderId(L"image/x-emf", untouched), 1);  // a decoder only
  EXPECT_EQ(untouched, before);
}

TEST_F(GdiPlusApi, TheCodecTableLooksUpOnlyWhatIsNotSet) {
  TdxGdipCodecIds& ids = GdipCodecIds();
  const TdxGdipCodecIds saved = ids;
  LoadGdipCodecIds();
  GUID png{};
  ASSERT_EQ(GetGdipEncoderId(L"image/png", png), 0);
  EXPECT_EQ(ids.PngEncoder, png);
  EXPECT_TRUE(IsGdipCodecIdSet(ids.PngDecoder));
  EXPECT_TRUE(IsGdipCodecIdSet(ids.BmpEncoder));
  EXPECT_TRUE(IsGdipCodecIdSet(ids.JpegDecoder));

  // A set entry stays as it is; a cleared optional entry is looked up again.
  const GUID marker = {0xABCDEF01, 2, 3, {}};
  ids.GifEncoder = marker;
  const GUID bmpDecoder = ids.BmpDecoder;
  ids.BmpDecoder = GUID{};
  InitGdipCodecIds();
  EXPECT_EQ(ids.GifEncoder, marker);
  EXPECT_EQ(ids.BmpDecoder, bmpDecoder);
  ids = saved;
}

TEST_F(GdiPlusApi, EncodersByImageFormat) {
  LoadGdipCodecIds();
  const TdxGdipCodecIds& ids = GdipCodecIds();
  struct {
    TdxImageDataFormat Format;
    GUID Expected;
  } const cases[] = {
      {dxImageBitmap, ids.BmpEncoder}, {dxImageMemoryBmp, ids.BmpEncoder}, {dxImageJpeg, ids.JpegEncoder},
      {dxImagePng, ids.PngEncoder},    {dxImageTiff, ids.TiffEncoder},     {dxImageGif, ids.GifEncoder},
      {dxImageEmf, GUID{}},            {dxImageIcon, GUID{}},              {dxImageWmf, GUID{}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Format));
    EXPECT_EQ(dxGetImageEncoder(c.Format), c.Expected);
  }
  for (TdxImageDataFormat format : {dxImageUnknown, dxImageExif}) {
    try {
      dxGetImageEncoder(format);
      ADD_FAILURE() << "no exception for " << format;
    } catch (const EdxException& e) {
      EXPECT_EQ(e.Message(), L"dxGetImageEncoder fails");
    }
  }
}

TEST_F(GdiPlusApi, RawFormatsMapToImageDataFormats) {
  const auto format = [](unsigned long AData1) {
    return GUID{AData1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  };
  struct {
    GUID Raw;
    TdxImageDataFormat Expected;
  } const cases[] = {
      {format(0xB96B3CAB), dxImageBitmap}, {format(0xB96B3CAA), dxImageMemoryBmp}, {format(0xB96B3CAE), dxImageJpeg},
      {format(0xB96B3CAF), dxImagePng},    {format(0xB96B3CB1), dxImageTiff},      {format(0xB96B3CB0), dxImageGif},
      {format(0xB96B3CB5), dxImageIcon},   {format(0xB96B3CAC), dxImageEmf},       {format(0xB96B3CAD), dxImageWmf},
      {format(0xB96B3CB2), dxImageUnknown},  // EXIF
      {GUID{}, dxImageUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Raw.Data1);
    EXPECT_EQ(ImageDataFormatFromRawFormat(c.Raw), c.Expected);
  }
  EXPECT_EQ(GdipImageDataFormat(nullptr), dxImageUnknown);
}

TEST_F(GdiPlusApi, BitmapsArePremultipliedThirtyTwoBitsOfTheAskedSize) {
  const TdxGpOwnedImage bitmap = CreateGdipBitmapForRect(TRect(10, 20, 17, 25));
  UINT width = 0;
  UINT height = 0;
  PixelFormat format = 0;
  ASSERT_EQ(GdipGetImageWidth(bitmap.Get(), &width), Ok);
  GdipGetImageHeight(bitmap.Get(), &height);
  GdipGetImagePixelFormat(bitmap.Get(), &format);
  EXPECT_EQ(width, 7u);
  EXPECT_EQ(height, 5u);
  EXPECT_EQ(format, static_cast<PixelFormat>(0xE200B));
  EXPECT_EQ(GdipImageDataFormat(bitmap.Get()), dxImageMemoryBmp);
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Image), 1);
  EXPECT_THROW(CreateGdipBitmap(0, 5), EdxGdipException);
}

TEST_F(GdiPlusApi, ABitmapFontComesBackAsTahoma) {
  LOGFONTW logFont{};
  logFont.lfHeight = -20;
  logFont.lfWeight = FW_BOLD;
  wcscpy(logFont.lfFaceName, L"System");
  const TdxGpOwnedFont font = CreateGdipFontFromLogFont(logFont);
  TdxGpOwnedFontFamily family;
  ASSERT_EQ(GdipGetFamily(font.Get(), family.Receive()), Ok);
  WCHAR name[LF_FACESIZE];
  GdipGetFamilyName(family.Get(), name, 0);
  EXPECT_STREQ(name, L"Tahoma");
  INT style = 0;
  REAL size = 0;
  GdipGetFontStyle(font.Get(), &style);
  GdipGetFontSize(font.Get(), &size);
  EXPECT_EQ(style, FontStyleBold);
  EXPECT_NEAR(size, 20, 0.5);
}

TEST_F(GdiPlusApi, RectangleRecordsConvert) {
  const TdxGpRectF fromRect = GdipRectFFromRect(TRect(-3, 4, 10, 5));
  EXPECT_TRUE(GdipRectFEqual(fromRect, MakeGdipRectF(-3, 4, 13, 1)));
  EXPECT_TRUE(GdipRectFEqual(TdxGpRectF::From(TdxRectF(0.5f, 1, 2.5f, 4)), MakeGdipRectF(0.5f, 1, 2, 3)));
  // Truncation towards zero, then the size added to the truncated corner.
  EXPECT_EQ(MakeGdipRectF(-1.7f, 2.9f, 3.9f, 1.2f).ToRect(), TRect(-1, 2, 2, 3));
  EXPECT_EQ(MakeGdipRectF(1, 2, 3, 4).ToRectF(), TdxRectF(1, 2, 4, 6));
  EXPECT_EQ(MakeGdipRectF(1, 2, 3, 4).SizeF(), TdxSizeF(3, 4));
  const TdxGpRect r = GdipRectFromRect(TRect(1, 2, 4, 8));
  EXPECT_EQ(r.Width, 3);
  EXPECT_EQ(r.Height, 6);
  EXPECT_TRUE(GdipRectFEqual(GdipRectFFromGdipRect(MakeGdipRect(1, 2, 3, 4)), MakeGdipRectF(1, 2, 3, 4)));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const TdxGpRectF withNan = MakeGdipRectF(0, 0, nan, 1);
  EXPECT_FALSE(GdipRectFEqual(withNan, withNan));
  EXPECT_FALSE(GdipRectFEqual(MakeGdipRectF(0, 0, 1, 1), MakeGdipRectF(0, 0, 1, 2)));
}

TEST_F(GdiPlusApi, TheBindingCountsObjectsMadeAndDeleted) {
  const int before = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Matrix);
  GpMatrix* matrix = nullptr;
  GpMatrix* clone = nullptr;
  ASSERT_EQ(GdipCreateMatrix(&matrix), Ok);
  ASSERT_EQ(GdipCloneMatrix(matrix, &clone), Ok);
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Matrix), before + 2);
  EXPECT_NE(GdipCreateMatrix(nullptr), Ok);  // a failed creation counts nothing
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Matrix), before + 2);
  GdipDeleteMatrix(matrix);
  GdipDeleteMatrix(clone);
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Matrix), before);
}

}  // namespace
