// The Direct2D, Direct3D 11 and DirectWrite binding: d2d1.dll, d3d11.dll and
// dwrite.dll are loaded on the first request (never before), their factory
// functions bound by name. A missing DLL or entry point makes the wrapper
// answer E_NOTIMPL, so a system without them simply has no Direct2D.
//
// Classes in this file:
//   TdxDirect2DLoader   where the binding finds its entry points (tests take one away)
//
// The interfaces themselves come from the toolchain's headers; everything of
// the library that uses them includes this header for them.
#pragma once

#include "platform/runtime/WinApi.h"

#include <d2d1_1.h>
#include <d3d11.h>
#include <dwrite.h>
#include <dxgi1_2.h>

// Where the binding finds its entry points: GetProcAddress when nil. Read
// when the libraries are bound, so a replacement takes effect after
// UnbindDirect2DLibraries.
struct TdxDirect2DLoader {
  FARPROC (*GetProcedure)(HMODULE AModule, const char* AName) = nullptr;
};
// Answers the previous loader.
TdxDirect2DLoader SetDirect2DLoader(const TdxDirect2DLoader& ALoader);

// Once per process (until UnbindDirect2DLibraries): d2d1.dll with
// "D2D1CreateFactory" and d3d11.dll with "D3D11CreateDevice".
void BindDirect2DLibraries();
// The unit's shut-down: the entry points cleared and the DLLs (dwrite.dll
// too) freed; the next request binds again.
void UnbindDirect2DLibraries();
// Whether any of the three DLLs is loaded by the binding.
bool Direct2DLibrariesLoaded();

// D2D1CreateFactory after binding; E_NOTIMPL without it.
HRESULT dxD2D1CreateFactory(D2D1_FACTORY_TYPE AFactoryType, REFIID AIID, const D2D1_FACTORY_OPTIONS* AOptions,
                            void** AFactory);
// D3D11CreateDevice after binding, both interface outputs cleared first;
// E_NOTIMPL without it.
HRESULT CreateD3DDevice(IDXGIAdapter* AAdapter, D3D_DRIVER_TYPE ADriverType, HMODULE ASoftware, UINT AFlags,
                        const D3D_FEATURE_LEVEL* AFeatureLevels, UINT AFeatureLevelCount, UINT ASDKVersion,
                        ID3D11Device** ADevice, D3D_FEATURE_LEVEL* AFeatureLevel,
                        ID3D11DeviceContext** AImmediateContext);
// DWriteCreateFactory: "DWRITE.DLL" loaded and the function bound by name on
// the first call; E_NOTIMPL without either.
HRESULT dxDWriteCreateFactory(DWRITE_FACTORY_TYPE AFactoryType, REFIID AIID, IUnknown** AFactory);
