#include "library/graphics/direct2d/dxDirectX_D2D_Types.h"

#include "platform/runtime/Handles.h"

#include <utility>

namespace {

using TD2D1CreateFactoryProc = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
using TD3D11CreateDeviceProc = HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT,
                                                const D3D_FEATURE_LEVEL*, UINT, UINT, ID3D11Device**,
                                                D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
using TDWriteCreateFactoryProc = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);

struct TDirect2DBinding {
  bool Bound = false;
  bool DWriteBound = false;
  TOwnedModule D2D1;
  TOwnedModule D3D11;
  TOwnedModule DWrite;
  TD2D1CreateFactoryProc D2D1CreateFactory = nullptr;
  TD3D11CreateDeviceProc D3D11CreateDevice = nullptr;
  TDWriteCreateFactoryProc DWriteCreateFactory = nullptr;
};

TDirect2DBinding Binding;
TdxDirect2DLoader Loader;

template <class TProc>
TProc BindProcedure(HMODULE AModule, const char* AName) {
  if (!AModule) return nullptr;
  const FARPROC proc = Loader.GetProcedure ? Loader.GetProcedure(AModule, AName) : GetProcAddress(AModule, AName);
  return reinterpret_cast<TProc>(reinterpret_cast<void*>(proc));
}

}  // namespace

TdxDirect2DLoader SetDirect2DLoader(const TdxDirect2DLoader& ALoader) { return std::exchange(Loader, ALoader); }

void BindDirect2DLibraries() {
  if (Binding.Bound) return;
  Binding.Bound = true;
  Binding.D2D1.Reset(LoadLibraryW(L"d2d1.dll"));
  Binding.D2D1CreateFactory = BindProcedure<TD2D1CreateFactoryProc>(Binding.D2D1.Get(), "D2D1CreateFactory");
  Binding.D3D11.Reset(LoadLibraryW(L"d3d11.dll"));
  Binding.D3D11CreateDevice = BindProcedure<TD3D11CreateDeviceProc>(Binding.D3D11.Get(), "D3D11CreateDevice");
}

void UnbindDirect2DLibraries() { Binding = TDirect2DBinding(); }

bool Direct2DLibrariesLoaded() { return Binding.D2D1 || Binding.D3D11 || Binding.DWrite; }

HRESULT dxD2D1CreateFactory(D2D1_FACTORY_TYPE AFactoryType, REFIID AIID, const D2D1_FACTORY_OPTIONS* AOptions,
                            void** AFactory) {
  BindDirect2DLibraries();
  if (!Binding.D2D1CreateFactory) return E_NOTIMPL;
  return Binding.D2D1CreateFactory(AFactoryType, AIID, AOptions, AFactory);
}

HRESULT CreateD3DDevice(IDXGIAdapter* AAdapter, D3D_DRIVER_TYPE ADriverType, HMODULE ASoftware, UINT AFlags,
                        const D3D_FEATURE_LEVEL* AFeatureLevels, UINT AFeatureLevelCount, UINT ASDKVersion,
                        ID3D11Device** ADevice, D3D_FEATURE_LEVEL* AFeatureLevel,
                        ID3D11DeviceContext** AImmediateContext) {
  if (ADevice) *ADevice = nullptr;
  if (AImmediateContext) *AImmediateContext = nullptr;
  BindDirect2DLibraries();
  if (!Binding.D3D11CreateDevice) return E_NOTIMPL;
  return Binding.D3D11CreateDevice(AAdapter, ADriverType, ASoftware, AFlags, AFeatureLevels, AFeatureLevelCount,
                                   ASDKVersion, ADevice, AFeatureLevel, AImmediateContext);
}

HRESULT dxDWriteCreateFactory(DWRITE_FACTORY_TYPE AFactoryType, REFIID AIID, IUnknown** AFactory) {
  if (!Binding.DWriteBound) {
    Binding.DWriteBound = true;
    Binding.DWrite.Reset(LoadLibraryW(L"DWRITE.DLL"));
    Binding.DWriteCreateFactory = BindProcedure<TDWriteCreateFactoryProc>(Binding.DWrite.Get(), "DWriteCreateFactory");
  }
  if (!Binding.DWriteCreateFactory) return E_NOTIMPL;
  return Binding.DWriteCreateFactory(AFactoryType, AIID, AFactory);
}
