// The identities of the graphics layer's interfaces that peers ask for by
// GUID, and of the system interfaces it asks Direct2D and DXGI for.
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"
#include "tests/support/InterfaceIdentities.h"

#include <d2d1_1.h>
#include <dwrite.h>
#include <dxgi1_2.h>

namespace {

TEST(GraphicsInterfaces, IdentitiesAreTheRegisteredOnes) {
  const TInterfaceIdentity identities[] = {
      {"IdxNonGdiRenderModesSupport", IdxNonGdiRenderModesSupport::IID, L"{F0C3C819-F9BB-4ECF-97D0-F274B0EBB658}"},
      {"IcxCanvasCacheControl", IcxCanvasCacheControl::IID, L"{A1DEDC74-DBA2-4EAC-BC91-5016E48F4E7B}"},
      {"IcxControlCanvas", IcxControlCanvas::IID, L"{E40B5E3C-CD3C-4D2C-81DA-2A41800CA183}"},
      {"IcxControlDirectCanvas", IcxControlDirectCanvas::IID, L"{0920AC2D-5CED-4DF4-ABCB-4D12248AC63D}"},
      {"IcxCanvasBuffer", IcxCanvasBuffer::IID, L"{C5B683CB-EC4A-41AA-AE0D-DBF0EE320C9C}"},
      {"ID2D1Factory1", __uuidof(ID2D1Factory1), L"{BB12D362-DAEE-4B9A-AA1D-14BA401CFA1F}"},
      {"IDWriteFactory", __uuidof(IDWriteFactory), L"{B859EE5A-D838-4B5B-A2E8-1ADC7D93DB48}"},
      {"IDXGIDevice1", __uuidof(IDXGIDevice1), L"{77DB970F-6276-48BA-BA28-070143B4392C}"},
      {"IDXGIFactory2", __uuidof(IDXGIFactory2), L"{50C83A1C-E072-4C48-87B0-3630FA36A6D0}"},
      {"IDXGISurface", __uuidof(IDXGISurface), L"{CAFCB56C-6AC3-4889-BF47-9E23BBD260EC}"},
      {"IDXGISurface1", __uuidof(IDXGISurface1), L"{4AE63092-6327-4C1B-80AE-BFE12EA32B86}"},
  };
  ExpectInterfaceIdentities(identities);
}

}  // namespace
