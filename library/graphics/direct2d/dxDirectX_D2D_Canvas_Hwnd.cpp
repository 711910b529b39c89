// The window canvas: a Direct3D 11 device, a swap chain for the window, the
// paint drawn into its back buffer and presented, and device loss reported
// to the owner.
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"

#include "library/graphics/canvas/cxGraphics.h"

namespace {

constexpr HRESULT DxgiErrorWasStillDrawing = static_cast<HRESULT>(0x887A000A);

TSize ClientSizeOf(HWND AWindow) {
  RECT client{};
  GetClientRect(AWindow, &client);
  return TSize(client.right - client.left, client.bottom - client.top);
}

bool SameSize(const TSize& A, const TSize& B) { return A.cx == B.cx && A.cy == B.cy; }

}  // namespace

// ---------------------------------------------------------------------------
// Creation

bool CreateDirect2DHwndCanvas(IdxDirect2DCanvasOwner* AOwner, TOwned<TdxDirect2DHwndBasedCanvas>& ACanvas,
                              TClass ACanvasClass) {
  ACanvas.reset();
  if (!IsDirect2DAvailable()) return false;
  static constexpr D3D_FEATURE_LEVEL FeatureLevels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_11_1};
  TComPtr<ID3D11Device> device3D;
  TComPtr<ID3D11DeviceContext> device3DContext;
  const HRESULT result =
      CreateD3DDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr,
                      D3D11_CREATE_DEVICE_BGRA_SUPPORT | D3D11_CREATE_DEVICE_SINGLETHREADED,
                      IsWin8OrLater ? FeatureLevels : nullptr, IsWin8OrLater ? static_cast<UINT>(std::size(FeatureLevels)) : 0u,
                      D3D11_SDK_VERSION, device3D.Receive(), nullptr, device3DContext.Receive());
  if (CheckDirect2DFatalError(result) || FAILED(result)) return false;
  const TComPtr<IDXGIDevice1> device = device3D.As<IDXGIDevice1>();
  if (!device) return false;
  TComPtr<ID2D1Device> device2D;
  TComPtr<ID2D1DeviceContext> context;
  if (FAILED(dxD2DFactory()->CreateDevice(device.Get(), device2D.Receive())) ||
      FAILED(device2D->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, context.Receive())))
    return false;
  ACanvas.reset(NewOfClass<TdxDirect2DHwndBasedCanvas>(ACanvasClass, AOwner, device.Get(), context.Get(),
                                                       device3D.Get(), device3DContext.Get()));
  return true;
}

void TdxDirect2DHwndBasedCanvas::Create(IdxDirect2DCanvasOwner* AOwner, IDXGIDevice1* ADevice,
                                        ID2D1DeviceContext* AContext, ID3D11Device* ADevice3D,
                                        ID3D11DeviceContext* ADevice3DContext) {
  inherited::Create();
  FOwner = IPtr<IdxDirect2DCanvasOwner>(AOwner);
  FDevice = TComPtr<IDXGIDevice1>(ADevice);
  FDevice3D = TComPtr<ID3D11Device>(ADevice3D);
  FDevice3DContext = TComPtr<ID3D11DeviceContext>(ADevice3DContext);
  SetDeviceContext(AContext);
  FPresentParameters = DXGI_PRESENT_PARAMETERS{1, FUpdateRect.WinRect(), nullptr, nullptr};
}

void TdxDirect2DHwndBasedCanvas::Destroy() {
  // Before the device context goes with the resources.
  SetWindowHandle(nullptr);
  inherited::Destroy();
}

bool TdxDirect2DHwndBasedCanvas::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxControlCanvas, IcxControlDirectCanvas, IcxCanvasBuffer>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

bool TdxDirect2DHwndBasedCanvas::GetControlRightToLeft() {
  return FWinControl && FWinControl->UseRightToLeftAlignment();
}

void TdxDirect2DHwndBasedCanvas::ReleaseDeviceResources() {
  if (DeviceContext()) DropTarget();
  inherited::ReleaseDeviceResources();
}

// ---------------------------------------------------------------------------
// The swap chain

void TdxDirect2DHwndBasedCanvas::SetWindowHandle(HWND AHandle) {
  if (AHandle == FWindowHandle) return;
  if (FWindowHandle) {
    if (DeviceContext()) DropTarget();
    FSwapChain.Reset();
    FFrontBufferContent.Reset();
    FWindowHandle = nullptr;
    FWinControl = nullptr;
  }
  if (!AHandle) return;
  FWindowHandle = AHandle;
  FWinControl = FindControl(AHandle);
  dxCheckDirectXResult(FDevice->SetMaximumFrameLatency(dxDirect2DSwapChainBufferCount - 1u));
  TComPtr<IDXGIAdapter> adapter;
  dxCheckDirectXResult(FDevice->GetAdapter(adapter.Receive()));
  TComPtr<IDXGIFactory2> factory;
  dxCheckDirectXResult(adapter->GetParent(__uuidof(IDXGIFactory2), factory.ReceiveVoid()));
  DXGI_SWAP_CHAIN_DESC1 description{};
  description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  description.SampleDesc = {1, 0};
  description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  description.BufferCount = dxDirect2DSwapChainBufferCount;
  description.Scaling = IsWin8OrLater ? DXGI_SCALING_NONE : DXGI_SCALING_STRETCH;
  description.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
  description.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
  dxCheckDirectXResult(
      factory->CreateSwapChainForHwnd(FDevice3D.Get(), AHandle, &description, nullptr, nullptr, FSwapChain.Receive()));
  FIsBufferValid = false;
}

void TdxDirect2DHwndBasedCanvas::DropTarget() {
  FFrontBufferContentSize = TSize();
  FTextureSize = TSize();
  FFrontBufferSurface.Reset();
  DeviceContext()->SetTarget(nullptr);
  FIsBufferValid = false;
}

void TdxDirect2DHwndBasedCanvas::MakeTarget() {
  TComPtr<IDXGISurface> surface;
  dxCheckDirectXResult(FSwapChain->GetBuffer(0, __uuidof(IDXGISurface), surface.ReceiveVoid()));
  D2D1_BITMAP_PROPERTIES1 properties{};
  properties.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
  properties.bitmapOptions = D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW;
  TComPtr<ID2D1Bitmap1> target;
  dxCheckDirectXResult(DeviceContext()->CreateBitmapFromDxgiSurface(surface.Get(), &properties, target.Receive()));
  DeviceContext()->SetTarget(target.Get());
  dxCheckDirectXResult(FSwapChain->GetBuffer(1, __uuidof(IDXGISurface), FFrontBufferSurface.ReceiveVoid()));
  FIsBufferValid = false;
}

void TdxDirect2DHwndBasedCanvas::ResizeBuffers(const TSize& ASize) {
  DropTarget();
  FTextureSize = ASize;
  dxCheckDirectXResult(FSwapChain->ResizeBuffers(0, static_cast<UINT>(ASize.cx), static_cast<UINT>(ASize.cy),
                                                 DXGI_FORMAT_UNKNOWN, 0));
  MakeTarget();
}

// ---------------------------------------------------------------------------
// Painting

void TdxDirect2DHwndBasedCanvas::BeginPaint() {
  FPainting = false;
  FUpdateRect = TRect();
  if (!FWindowHandle) return;
  const TSize client = ClientSizeOf(FWindowHandle);
  ::BeginPaint(FWindowHandle, &FPaintStruct);
  // The caller has no EndPaint to run when this raises: the window's paint ends here.
  TScopeExit endPaint([this] { ::EndPaint(FWindowHandle, &FPaintStruct); });
  FUpdateRect = dxDirect2DPartialPresentation ? TRect(FPaintStruct.rcPaint) : TRect(0, 0, client.cx, client.cy);
  if (client.cx > 0 && client.cy > 0 && !SameSize(FTextureSize, client)) {
    ResizeBuffers(client);
    FUpdateRect = TRect(0, 0, client.cx, client.cy);
  }
  // A window without a client area has nothing to draw on.
  FPainting = FTextureSize.cx > 0 && FTextureSize.cy > 0;
  if (!FPainting) FUpdateRect = TRect();
  else BeginDraw(FUpdateRect);
  endPaint.Dismiss();
}

void TdxDirect2DHwndBasedCanvas::EndPaint() {
  if (!FWindowHandle) return;
  TryFinally(
      [this] {
        const bool lost = FPainting && EndDraw();
        FPainting = false;
        if (lost) FIsBufferValid = false;
        else if (!FUpdateRect.IsEmpty()) Present();
      },
      [this] { ::EndPaint(FWindowHandle, &FPaintStruct); });
  if (RecreateContextNeeded() && FOwner) FOwner->RecreateActualCanvasNeeded();
}

void TdxDirect2DHwndBasedCanvas::Present() {
  try {
    const HRESULT result = DoPresent(dxDirect2DPartialPresentation ? 0 : DXGI_PRESENT_DO_NOT_WAIT);
    if (SUCCEEDED(result)) {
      FIsBufferValid = true;
    } else {
      FIsBufferValid = false;
      // A frame not shown yet is no loss; any other failure leaves the device unusable.
      if (result != DxgiErrorWasStillDrawing) SetRecreateContextNeeded();
    }
  } catch (const std::exception& E) {
    if (!CheckDirect2DFatalError(E)) throw;
    FIsBufferValid = false;
    SetRecreateContextNeeded();
  }
}

HRESULT TdxDirect2DHwndBasedCanvas::DoPresent(UINT AFlags) {
  FPresentParameters.pDirtyRects = FUpdateRect.WinRect();
  return FSwapChain->Present1(0, AFlags, &FPresentParameters);
}

// ---------------------------------------------------------------------------
// Reading the picture back

void TdxDirect2DHwndBasedCanvas::CopyBufferToDC(HDC DC) {
  if (FTextureSize.cx <= 0 || FTextureSize.cy <= 0) return;
  const TRect whole(0, 0, FTextureSize.cx, FTextureSize.cy);
  CopyBufferRectToDC(DC, whole, whole);
}

void TdxDirect2DHwndBasedCanvas::CopyBufferRectToDC(HDC DC, const TRect& ADestRect, const TRect& ASourceRect) {
  if (!FFrontBufferSurface) return;
  const TComPtr<ID3D11Texture2D> frontBuffer = FFrontBufferSurface.As<ID3D11Texture2D>();
  if (!frontBuffer) return;
  if (!FFrontBufferContent || !SameSize(FTextureSize, FFrontBufferContentSize)) {
    D3D11_TEXTURE2D_DESC description{};
    frontBuffer->GetDesc(&description);
    description.MipLevels = 1;
    description.SampleDesc = {1, 0};
    description.Usage = D3D11_USAGE_DEFAULT;
    description.BindFlags = D3D11_BIND_RENDER_TARGET;
    description.CPUAccessFlags = 0;
    description.MiscFlags = D3D11_RESOURCE_MISC_GDI_COMPATIBLE;
    dxCheckDirectXResult(FDevice3D->CreateTexture2D(&description, nullptr, FFrontBufferContent.Receive()));
    FFrontBufferContentSize = FTextureSize;
  }
  const D3D11_BOX box = dxRectToD3DBox(ASourceRect);
  FDevice3DContext->CopySubresourceRegion(FFrontBufferContent.Get(), 0, static_cast<UINT>(ASourceRect.Left),
                                          static_cast<UINT>(ASourceRect.Top), 0, frontBuffer.Get(), 0, &box);
  const TComPtr<IDXGISurface1> surface = FFrontBufferContent.As<IDXGISurface1>();
  HDC surfaceDC = nullptr;
  if (!surface || FAILED(surface->GetDC(FALSE, &surfaceDC))) return;
  TryFinally([&] { CopyDCRect(DC, surfaceDC, ADestRect, ASourceRect.TopLeft()); },
             [&] { surface->ReleaseDC(nullptr); });
}
