// The visual-styles library, bound by name.
//
// Classes in this file:
//   TdxUxThemeEntry     the 57 entry points bound at start-up, in binding order
//   TdxUxThemeBinding   the library handle and the bound addresses
//   TdxMargins          the margins record of the visual-styles interface
//
// "UxTheme.dll" is loaded at start-up and every entry point is looked up by
// name, so the program runs where the library or some of its functions are
// missing (Wine lacks the three panning-feedback functions). Every wrapper
// tests its entry point and answers a neutral result when it is missing:
// E_NOTIMPL for HRESULT answers, false, 0 or a null handle otherwise.
#pragma once

#include "platform/runtime/System.h"
#include "platform/runtime/Types.h"
#include "platform/runtime/WinApi.h"

#include <uxtheme.h>

#include <array>

#define DX_UXTHEME_ENTRIES(X)                                                                           \
  X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon) X(DrawThemeParentBackground) \
  X(DrawThemeText) X(DrawThemeTextEx) X(EnableThemeDialogTexture) X(GetCurrentThemeName)                 \
  X(GetThemeAppProperties) X(GetThemeBackgroundContentRect) X(GetThemeBackgroundRegion)                  \
  X(GetThemeBackgroundExtent) X(GetThemeBool) X(GetThemeColor) X(GetThemeDocumentationProperty)          \
  X(GetThemeEnumValue) X(GetThemeFilename) X(GetThemeFont) X(GetThemeInt) X(GetThemeIntList)             \
  X(GetThemeMargins) X(GetThemeMetric) X(GetThemePartSize) X(GetThemePosition) X(GetThemePropertyOrigin) \
  X(GetThemeRect) X(GetThemeString) X(GetThemeSysBool) X(GetThemeSysColor) X(GetThemeSysColorBrush)      \
  X(GetThemeSysFont) X(GetThemeSysInt) X(GetThemeSysSize) X(GetThemeSysString) X(GetThemeTextExtent)     \
  X(GetThemeTextMetrics) X(GetWindowTheme) X(HitTestThemeBackground) X(IsAppThemed) X(IsThemeActive)     \
  X(IsThemePartDefined) X(IsThemeBackgroundPartiallyTransparent) X(IsThemeDialogTextureEnabled)          \
  X(OpenThemeData) X(SetThemeAppProperties) X(SetWindowTheme) X(BeginBufferedPaint) X(BufferedPaintClear) \
  X(BufferedPaintInit) X(BufferedPaintSetAlpha) X(BufferedPaintUnInit) X(EndBufferedPaint)               \
  X(OpenThemeDataForDpi) X(BeginPanningFeedback) X(UpdatePanningFeedback) X(EndPanningFeedback)

enum class TdxUxThemeEntry {
#define DX_UXTHEME_ENUM(Name) Name,
  DX_UXTHEME_ENTRIES(DX_UXTHEME_ENUM)
#undef DX_UXTHEME_ENUM
      Count
};
constexpr int dxUxThemeEntryCount = static_cast<int>(TdxUxThemeEntry::Count);

struct TdxUxThemeBinding {
  HMODULE Library = nullptr;
  std::array<FARPROC, dxUxThemeEntryCount> EntryPoints{};
};

// The name an entry point is bound by.
const char* UxThemeEntryName(TdxUxThemeEntry AEntry);
// The binding as it stands, and a replacement for it (tests inject
// entry points, or their absence, and put the original back).
const TdxUxThemeBinding& dxUxThemeBinding();
void dxSetUxThemeBinding(const TdxUxThemeBinding& ABinding);
FARPROC UxThemeEntryPoint(TdxUxThemeEntry AEntry);

struct TdxMargins {
  int cxLeftWidth = 0;
  int cxRightWidth = 0;
  int cyTopHeight = 0;
  int cyBottomHeight = 0;

  // Left, Top, Right, Bottom hold the four widths.
  TRect ToRect() const { return TRect(cxLeftWidth, cyTopHeight, cxRightWidth, cyBottomHeight); }
  TRect GetContentRect(const TRect& R) const {
    return TRect(R.Left + cxLeftWidth, R.Top + cyTopHeight, R.Right - cxRightWidth, R.Bottom - cyBottomHeight);
  }
};
static_assert(sizeof(TdxMargins) == sizeof(MARGINS));

inline TRect MarginsToRect(const TdxMargins& M) { return M.ToRect(); }

bool IsUxThemeLoaded();
// "OpenThemeDataForDpi" is bound.
bool IsPerDpiThemeAvailable();

// The per-DPI form when it exists and ADpi > 0.
HTHEME UxOpenThemeData(HWND AWindow, const wchar_t* AClassList, UINT ADpi = 0);
HRESULT UxCloseThemeData(HTHEME ATheme);
HRESULT UxDrawThemeBackground(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect,
                              const TRect* AClipRect = nullptr);
HRESULT UxDrawThemeBackgroundEx(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect,
                                const TRect* AClipRect = nullptr);
HRESULT UxDrawThemeText(HTHEME ATheme, HDC DC, int APart, int AState, const wchar_t* AText, int ACharCount,
                        DWORD AFlags, DWORD AFlags2, const TRect& ARect);
HRESULT UxDrawThemeTextString(HTHEME ATheme, HDC DC, int APart, int AState, const String& AText, int ACharCount,
                              DWORD AFlags, DWORD AFlags2, const TRect& ARect);
HRESULT UxDrawThemeTextEx(HTHEME ATheme, HDC DC, int APart, int AState, const String& AText, int ACharCount,
                          DWORD AFlags, TRect& ARect, const DTTOPTS* AOptions);
HRESULT UxGetThemeBackgroundContentRect(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ABoundingRect,
                                        TRect& AContentRect);
HRESULT UxGetThemeBackgroundRegion(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ARect, HRGN& ARegion);
HRESULT UxDrawThemeEdge(HTHEME ATheme, HDC DC, int APart, int AState, const TRect& ADestRect, UINT AEdge,
                        UINT AFlags, TRect* AContentRect = nullptr);
bool UxIsThemeBackgroundPartiallyTransparent(HTHEME ATheme, int APart, int AState);
HRESULT UxGetThemeColor(HTHEME ATheme, int APart, int AState, int AProperty, COLORREF& AColor);
HRESULT UxGetThemeMargins(HTHEME ATheme, HDC DC, int APart, int AState, int AProperty, const TRect* ARect,
                          TdxMargins& AMargins);
bool UxGetThemeSysBool(HTHEME ATheme, int ABoolId);
HRESULT UxGetCurrentThemeName(wchar_t* AFileName, int AFileNameLength, wchar_t* AColorName, int AColorNameLength,
                              wchar_t* ASizeName, int ASizeNameLength);
// The current theme's file and colour scheme names; empty texts and false
// when visual styles are not available.
bool UxGetCurrentThemeName(String& AFileName, String& AColorName);
HRESULT UxGetThemePartSize(HTHEME ATheme, HDC DC, int APart, int AState, const TRect* ARect, THEMESIZE ASizeKind,
                           TSize& ASize);
HRESULT UxGetThemePartSizeEx(HTHEME ATheme, HDC DC, int APart, int AState, const TRect* ARect, THEMESIZE ASizeKind,
                             TSize& ASize);
HRESULT UxGetThemePartSizeNoRect(HTHEME ATheme, HDC DC, int APart, int AState, THEMESIZE ASizeKind, TSize& ASize);
// Keeps the font selected into DC.
HRESULT UxDrawThemeParentBackground(HWND AWindow, HDC DC, const TRect* ARect);
// AColor starts as 255 and holds afterwards whatever the call left in it.
HRESULT UxGetThemeColorValue(HTHEME ATheme, int APart, int AState, int AProperty, COLORREF& AColor);
HRESULT UxGetThemeMarginsRect(HTHEME ATheme, int APart, int AState, int AProperty, TRect& ARect);
bool UxIsThemeActive();

HRESULT UxBufferedPaintInit();
HRESULT UxBufferedPaintUnInit();
// A null buffer (and a null DC) when buffered painting is missing or fails.
HPAINTBUFFER UxBeginBufferedPaint(HDC ATargetDC, const TRect& ARect, BP_BUFFERFORMAT AFormat,
                                  BP_PAINTPARAMS* AParams, HDC& ADC);
HRESULT UxEndBufferedPaint(HPAINTBUFFER ABuffer, bool AUpdateTarget);
HRESULT UxBufferedPaintClear(HPAINTBUFFER ABuffer, const TRect* ARect);
HRESULT UxBufferedPaintSetAlpha(HPAINTBUFFER ABuffer, const TRect* ARect, BYTE AAlpha);

bool UxBeginPanningFeedback(HWND AWindow);
bool UxUpdatePanningFeedback(HWND AWindow, const TPoint& AOverpan, bool AIsInertia);
bool UxEndPanningFeedback(HWND AWindow, bool AAnimateBack);

void dxUxThemeInitialization();
void dxUxThemeFinalization();
