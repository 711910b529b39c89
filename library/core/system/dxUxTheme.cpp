#include "library/core/system/dxUxTheme.h"

#include <commctrl.h>

#include <utility>

namespace {

TdxUxThemeBinding GBinding;

const char* const EntryNames[dxUxThemeEntryCount] = {
#define DX_UXTHEME_NAME(Name) #Name,
    DX_UXTHEME_ENTRIES(DX_UXTHEME_NAME)
#undef DX_UXTHEME_NAME
};

// The entry point as a function of the given type, or null.
template <class F>
F Entry(TdxUxThemeEntry AEntry) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GBinding.EntryPoints[static_cast<std::size_t>(AEntry)]));
}

using TOpenThemeData = HTHEME(WINAPI*)(HWND, LPCWSTR);
using TOpenThemeDataForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
using TCloseThemeData = HRESULT(WINAPI*)(HTHEME);
using TDrawThemeBackground = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using TDrawThemeText = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, LPCRECT);
using TDrawThemeTextEx = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const DTTOPTS*);
using TGetThemeBackgroundContentRect = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, LPRECT);
using TGetThemeBackgroundRegion = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, HRGN*);
using TDrawThemeEdge = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, UINT, UINT, LPRECT);
using TIsThemeBackgroundPartiallyTransparent = BOOL(WINAPI*)(HTHEME, int, int);
using TGetThemeColor = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
using TGetThemeMargins = HRESULT(WINAPI*)(HTHEME, HDC, int, int, int, LPCRECT, MARGINS*);
using TGetThemeSysBool = BOOL(WINAPI*)(HTHEME, int);
using TGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
using TGetThemePartSize = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*);
using TDrawThemeParentBackground = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
using TIsThemeActive = BOOL(WINAPI*)();
using TBufferedPaintInit = HRESULT(WINAPI*)();
using TBeginBufferedPaint = HPAINTBUFFER(WINAPI*)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*);
using TEndBufferedPaint = HRESULT(WINAPI*)(HPAINTBUFFER, BOOL);
using TBufferedPaintClear = HRESULT(WINAPI*)(HPAINTBUFFER, const RECT*);
using TBufferedPaintSetAlpha = HRESULT(WINAPI*)(HPAINTBUFFER, const RECT*, BYTE);
using TBeginPanningFeedback = BOOL(WINAPI*)(HWND);
using TUpdatePanningFeedback = BOOL(WINAPI*)(HWND, LONG, LONG, BOOL);
using TEndPanningFeedback = BOOL(WINAPI*)(HWND, BOOL);

const RECT* OptionalRect(const TRect* ARect) { return ARect ? ARect->WinRect() : nullptr; }

}  // namespace

const char* UxThemeEntryName(TdxUxThemeEntry AEntry) { return EntryNames[static_cast<std::size_t>(AEntry)]; }
const TdxUxThemeBinding& dxUxThemeBinding() { return GBinding; }
void dxSetUxThemeBinding(const TdxUxThemeBinding& ABinding) { GBinding = ABinding; }
FARPROC UxThemeEntryPoint(TdxUxThemeEntry AEntry) { return GBinding.EntryPoints[static_cast<std::size_t>(AEntry)]; }

bool IsUxThemeLoaded() { return GBinding.Library != nullptr; }
bool IsPerDpiThemeAvailable() { return UxThemeEntryPoint(TdxUxThemeEntry::OpenThemeDataForDpi) != nullptr; }

HTHEME UxOpenThemeData(HWND AWindow, const wchar_t* AClassList, UINT ADpi) {
  if (ADpi > 0 && IsPerDpiThemeAvailable())
    return Entry<TOpenThemeDataForDpi>(TdxUxThemeEntry::OpenThemeDataForDpi)(AWindow, AClassList, ADpi);
  auto open = Entry<TOpenThemeData>(TdxUxThemeEntry::OpenThemeData);
  return open ? open(AWindow, AClassList) : nullptr;
}

HRESULT UxCloseThemeData(HTHEME ATheme) {
  auto f = Entry<TCloseThemeData>(TdxUxThemeEntry::CloseThemeData);
  return f ? f(ATheme) : E_NOTIMPL;
}

HRESULT UxDrawThemeBackground(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect, const TRect* AClipRect) {
  auto f = Entry<TDrawThemeBackground>(TdxUxThemeEntry::DrawThemeBackground);
  return f ? f(ATheme, DC, APart, AState, ARect.WinRect(), OptionalRect(AClipRect)) : E_NOTIMPL;
}

HRESULT UxDrawThemeBackgroundEx(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect,
                                const TRect* AClipRect) {
  return UxDrawThemeBackground(ATheme, DC, APart, AState, ARect, AClipRect);
}

HRESULT UxDrawThemeText(HTHEME ATheme, HDC DC, int APart, int AState, const wchar_t* AText, int ACharCount,
                        DWORD AFlags, DWORD AFlags2, const TRect& ARect) {
  auto f = Entry<TDrawThemeText>(TdxUxThemeEntry::DrawThemeText);
  return f ? f(ATheme, DC, APart, AState, AText, ACharCount, AFlags, AFlags2, ARect.WinRect()) : E_NOTIMPL;
}

HRESULT UxDrawThemeTextString(HTHEME ATheme, HDC DC, int APart, int AState, const String& AText, int ACharCount,
                              DWORD AFlags, DWORD AFlags2, const TRect& ARect) {
  return UxDrawThemeText(ATheme, DC, APart, AState, AText.c_str(), ACharCount, AFlags, AFlags2, ARect);
}

HRESULT UxDrawThemeTextEx(HTHEME ATheme, HDC DC, int APart, int AState, const String& AText, int ACharCount,
                          DWORD AFlags, TRect& ARect, const DTTOPTS* AOptions) {
  auto f = Entry<TDrawThemeTextEx>(TdxUxThemeEntry::DrawThemeTextEx);
  return f ? f(ATheme, DC, APart, AState, AText.c_str(), ACharCount, AFlags, ARect.WinRect(), AOptions) : E_NOTIMPL;
}

HRESULT UxGetThemeBackgroundContentRect(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ABoundingRect,
                                        TRect& AContentRect) {
  auto f = Entry<TGetThemeBackgroundContentRect>(TdxUxThemeEntry::GetThemeBackgroundContentRect);
  return f ? f(ATheme, DC, APart, AState, ABoundingRect.WinRect(), AContentRect.WinRect()) : E_NOTIMPL;
}

HRESULT UxGetThemeBackgroundRegion(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect, HRGN& ARegion) {
  ARegion = nullptr;
  auto f = Entry<TGetThemeBackgroundRegion>(TdxUxThemeEntry::GetThemeBackgroundRegion);
  return f ? f(ATheme, DC, APart, AState, ARect.WinRect(), &ARegion) : E_NOTIMPL;
}

HRESULT UxDrawThemeEdge(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ADestRect, UINT AEdge,
                        UINT AFlags, TRect* AContentRect) {
  auto f = Entry<TDrawThemeEdge>(TdxUxThemeEntry::DrawThemeEdge);
  return f ? f(ATheme, DC, APart, AState, ADestRect.WinRect(), AEdge, AFlags, AContentRect ? AContentRect->WinRect() : nullptr)
           : E_NOTIMPL;
}

bool UxIsThemeBackgroundPartiallyTransparent(HTHEME ATheme, int APart, int AState) {
  auto f = Entry<TIsThemeBackgroundPartiallyTransparent>(TdxUxThemeEntry::IsThemeBackgroundPartiallyTransparent);
  return f && f(ATheme, APart, AState);
}

HRESULT UxGetThemeColor(HTHEME ATheme, int APart, int AState, int AProperty, COLORREF& AColor) {
  auto f = Entry<TGetThemeColor>(TdxUxThemeEntry::GetThemeColor);
  return f ? f(ATheme, APart, AState, AProperty, &AColor) : E_NOTIMPL;
}

HRESULT UxGetThemeMargins(HTHEME ATheme, HDC DC, int APart, int AState, int AProperty, const TRect* ARect,
                          TdxMargins& AMargins) {
  auto f = Entry<TGetThemeMargins>(TdxUxThemeEntry::GetThemeMargins);
  return f ? f(ATheme, DC, APart, AState, AProperty, OptionalRect(ARect), reinterpret_cast<MARGINS*>(&AMargins))
           : E_NOTIMPL;
}

bool UxGetThemeSysBool(HTHEME ATheme, int ABoolId) {
  auto f = Entry<TGetThemeSysBool>(TdxUxThemeEntry::GetThemeSysBool);
  return f && f(ATheme, ABoolId);
}

HRESULT UxGetCurrentThemeName(wchar_t* AFileName, int AFileNameLength, wchar_t* AColorName, int AColorNameLength,
                              wchar_t* ASizeName, int ASizeNameLength) {
  auto f = Entry<TGetCurrentThemeName>(TdxUxThemeEntry::GetCurrentThemeName);
  return f ? f(AFileName, AFileNameLength, AColorName, AColorNameLength, ASizeName, ASizeNameLength) : E_NOTIMPL;
}

bool UxGetCurrentThemeName(String& AFileName, String& AColorName) {
  AFileName.clear();
  AColorName.clear();
  wchar_t file[MAX_PATH] = {};
  wchar_t color[MAX_PATH] = {};
  if (UxGetCurrentThemeName(file, MAX_PATH, color, MAX_PATH, nullptr, 0) != S_OK) return false;
  AFileName = file;
  AColorName = color;
  return true;
}

HRESULT UxGetThemePartSize(HTHEME ATheme, HDC DC, int APart, int AState, const TRect* ARect, THEMESIZE ASizeKind,
                           TSize& ASize) {
  auto f = Entry<TGetThemePartSize>(TdxUxThemeEntry::GetThemePartSize);
  return f ? f(ATheme, DC, APart, AState, OptionalRect(ARect), ASizeKind, ASize.WinSize()) : E_NOTIMPL;
}

HRESULT UxGetThemePartSizeEx(HTHEME ATheme, HDC DC, int APart, int AState, const TRect* ARect, THEMESIZE ASizeKind,
                             TSize& ASize) {
  return UxGetThemePartSize(ATheme, DC, APart, AState, ARect, ASizeKind, ASize);
}

HRESULT UxGetThemePartSizeNoRect(HTHEME ATheme, HDC DC, int APart, int AState, THEMESIZE ASizeKind, TSize& ASize) {
  return UxGetThemePartSize(ATheme, DC, APart, AState, nullptr, ASizeKind, ASize);
}

HRESULT UxDrawThemeParentBackground(HWND AWindow, HDC DC, const TRect* ARect) {
  auto f = Entry<TDrawThemeParentBackground>(TdxUxThemeEntry::DrawThemeParentBackground);
  if (!f) return E_NOTIMPL;
  // The parent's painting may select a font of its own into the DC.
  const HGDIOBJ font = GetCurrentObject(DC, OBJ_FONT);
  const HRESULT result = f(AWindow, DC, OptionalRect(ARect));
  if (font) SelectObject(DC, font);
  return result;
}

HRESULT UxGetThemeColorValue(HTHEME ATheme, int APart, int AState, int AProperty, COLORREF& AColor) {
  COLORREF color = 255;
  const HRESULT result = UxGetThemeColor(ATheme, APart, AState, AProperty, color);
  AColor = color;
  return result;
}

HRESULT UxGetThemeMarginsRect(HTHEME ATheme, int APart, int AState, int AProperty, TRect& ARect) {
  TdxMargins margins;
  const HRESULT result = UxGetThemeMargins(ATheme, nullptr, APart, AState, AProperty, nullptr, margins);
  ARect = MarginsToRect(margins);
  return result;
}

bool UxIsThemeActive() {
  auto f = Entry<TIsThemeActive>(TdxUxThemeEntry::IsThemeActive);
  return f && f();
}

HRESULT UxBufferedPaintInit() {
  auto f = Entry<TBufferedPaintInit>(TdxUxThemeEntry::BufferedPaintInit);
  return f ? f() : E_NOTIMPL;
}

HRESULT UxBufferedPaintUnInit() {
  auto f = Entry<TBufferedPaintInit>(TdxUxThemeEntry::BufferedPaintUnInit);
  return f ? f() : E_NOTIMPL;
}

HPAINTBUFFER UxBeginBufferedPaint(HDC ATargetDC, const TRect& ARect, BP_BUFFERFORMAT AFormat, BP_PAINTPARAMS* AParams,
                                  HDC& ADC) {
  ADC = nullptr;
  auto f = Entry<TBeginBufferedPaint>(TdxUxThemeEntry::BeginBufferedPaint);
  return f ? f(ATargetDC, ARect.WinRect(), AFormat, AParams, &ADC) : nullptr;
}

HRESULT UxEndBufferedPaint(HPAINTBUFFER ABuffer, bool AUpdateTarget) {
  auto f = Entry<TEndBufferedPaint>(TdxUxThemeEntry::EndBufferedPaint);
  return f ? f(ABuffer, AUpdateTarget ? TRUE : FALSE) : E_NOTIMPL;
}

HRESULT UxBufferedPaintClear(HPAINTBUFFER ABuffer, const TRect* ARect) {
  auto f = Entry<TBufferedPaintClear>(TdxUxThemeEntry::BufferedPaintClear);
  return f ? f(ABuffer, OptionalRect(ARect)) : E_NOTIMPL;
}

HRESULT UxBufferedPaintSetAlpha(HPAINTBUFFER ABuffer, const TRect* ARect, BYTE AAlpha) {
  auto f = Entry<TBufferedPaintSetAlpha>(TdxUxThemeEntry::BufferedPaintSetAlpha);
  return f ? f(ABuffer, OptionalRect(ARect), AAlpha) : E_NOTIMPL;
}

bool UxBeginPanningFeedback(HWND AWindow) {
  auto f = Entry<TBeginPanningFeedback>(TdxUxThemeEntry::BeginPanningFeedback);
  return f && f(AWindow);
}

bool UxUpdatePanningFeedback(HWND AWindow, const TPoint& AOverpan, bool AIsInertia) {
  auto f = Entry<TUpdatePanningFeedback>(TdxUxThemeEntry::UpdatePanningFeedback);
  return f && f(AWindow, AOverpan.X, AOverpan.Y, AIsInertia ? TRUE : FALSE);
}

bool UxEndPanningFeedback(HWND AWindow, bool AAnimateBack) {
  auto f = Entry<TEndPanningFeedback>(TdxUxThemeEntry::EndPanningFeedback);
  return f && f(AWindow, AAnimateBack ? TRUE : FALSE);
}

void dxUxThemeInitialization() {
  InitCommonControls();
  GBinding = TdxUxThemeBinding{};
  GBinding.Library = LoadLibraryW(L"UxTheme.dll");
  if (!GBinding.Library) return;
  for (int i = 0; i < dxUxThemeEntryCount; ++i)
    GBinding.EntryPoints[static_cast<std::size_t>(i)] = GetProcAddress(GBinding.Library, EntryNames[i]);
}

void dxUxThemeFinalization() {
  const HMODULE library = std::exchange(GBinding.Library, nullptr);
  GBinding = TdxUxThemeBinding{};
  if (library) FreeLibrary(library);
}
