// The desktop window manager, bound by name.
//
// Classes in this file:
//   TdxDwmApi   the library handle and the twelve bound entry points
//
// "dwmapi.dll" exists from Windows Vista on. The unit's start-up loads it and
// looks every entry point up by name, so the program runs where the library
// or a function is missing; then every composition query answers false.
#pragma once

#include "platform/runtime/WinApi.h"

#include <dwmapi.h>

struct TdxDwmApi {
  HMODULE Library = nullptr;
  BOOL(WINAPI* DwmDefWindowProc)(HWND, UINT, WPARAM, LPARAM, LRESULT*) = nullptr;
  HRESULT(WINAPI* DwmEnableBlurBehindWindow)(HWND, const DWM_BLURBEHIND*) = nullptr;
  HRESULT(WINAPI* DwmEnableComposition)(UINT) = nullptr;
  HRESULT(WINAPI* DwmEnableMMCSS)(BOOL) = nullptr;
  HRESULT(WINAPI* DwmExtendFrameIntoClientArea)(HWND, const MARGINS*) = nullptr;
  HRESULT(WINAPI* DwmGetColorizationColor)(DWORD*, BOOL*) = nullptr;
  HRESULT(WINAPI* DwmGetWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
  HRESULT(WINAPI* DwmIsCompositionEnabled)(BOOL*) = nullptr;
  HRESULT(WINAPI* DwmSetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
  HRESULT(WINAPI* DwmSetIconicThumbnail)(HWND, HBITMAP, DWORD) = nullptr;
  HRESULT(WINAPI* DwmSetIconicLivePreviewBitmap)(HWND, HBITMAP, POINT*, DWORD) = nullptr;
  HRESULT(WINAPI* DwmInvalidateIconicBitmaps)(HWND) = nullptr;
};

// Loads the library and binds the entry points (on Windows Vista and later
// only); answers whether all twelve were found. The answer is kept.
bool BindDwmApi();
// The answer of the last BindDwmApi (false before it and after shut-down).
bool IsDwmApiBound();
// The binding as it stands, and a replacement for it: tests inject entry
// points (a composition probe) and put the original back. The library
// handle stays the binding's own.
const TdxDwmApi& dxDwmApi();
void dxSetDwmApi(const TdxDwmApi& AApi, bool ABound);

// Whether the desktop is composed: false without the binding, else the
// system's answer (false when it fails).
bool IsCompositionEnabled();

// The unit's start-up and shut-down.
void cxDWMApiInitialization();
void cxDWMApiFinalization();
