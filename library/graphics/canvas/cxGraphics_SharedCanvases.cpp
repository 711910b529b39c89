// The three process-wide canvases: measuring, the screen, and the paint
// canvas that wraps device contexts for the length of a paint.
#include "library/graphics/canvas/cxGraphics.h"

#include "library/graphics/canvas/cxGraphics_Internal.h"

namespace {

TOwned<TcxMeasureCanvas> GMeasureCanvas;
TOwned<TcxScreenCanvas> GScreenCanvas;
TOwned<TcxPaintCanvas> GPaintCanvas;

template <class T>
T* SharedCanvas(TOwned<T>& ACanvas) {
  if (!ACanvas && !cxGraphicsFinalized()) ACanvas.reset(New<T>());
  return ACanvas.get();
}

// A new class-library canvas on DC takes the font, text colour, brush and
// pen (with its mix mode) that DC has selected.
void SynchronizeWithDC(TCanvas* ACanvas, HDC DC) {
  LOGFONTW logFont{};
  if (GetFontLogFont(static_cast<HFONT>(GetCurrentObject(DC, OBJ_FONT)), logFont))
    ACanvas->Font()->SetHandle(CreateFontIndirectW(&logFont));
  ACanvas->Font()->SetColor(TColor(static_cast<std::int32_t>(GetTextColor(DC))));
  LOGBRUSH logBrush{};
  if (GetBrushData(static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)), logBrush)) {
    if (logBrush.lbStyle == BS_SOLID || logBrush.lbStyle == BS_NULL || logBrush.lbStyle == BS_HATCHED) {
      ACanvas->Brush()->SetHandle(CreateBrushIndirect(&logBrush));
    } else {
      ACanvas->Brush()->SetColor(TColor(static_cast<std::int32_t>(logBrush.lbColor & 0x00FFFFFF)));
      ACanvas->Brush()->SetStyle(bsSolid);
    }
  }
  LOGPEN logPen{};
  if (GetPenData(static_cast<HPEN>(GetCurrentObject(DC, OBJ_PEN)), logPen))
    ACanvas->Pen()->SetHandle(CreatePenIndirect(&logPen));
  ACanvas->Pen()->SetMode(ROP2ToPenMode(GetROP2(DC)));
}

}  // namespace

TcxMeasureCanvas* SharedMeasureCanvas() { return SharedCanvas(GMeasureCanvas); }

TcxScreenCanvas* SharedScreenCanvas() { return SharedCanvas(GScreenCanvas); }

TcxPaintCanvas* SharedPaintCanvas() { return SharedCanvas(GPaintCanvas); }

void cxSharedCanvasesFinalization() {
  GMeasureCanvas.reset();
  GScreenCanvas.reset();
  GPaintCanvas.reset();
}

// ---------------------------------------------------------------------------
// TcxMeasureCanvas

void TcxMeasureCanvas::Create() {
  FBitmap.reset(NewWith<TcxBitmap>([](TcxBitmap* b) { b->CreateSize(1, 1); }));
  inherited::Create(FBitmap->Canvas());
}

void TcxMeasureCanvas::Destroy() {
  inherited::Destroy();
  FBitmap.reset();
}

// ---------------------------------------------------------------------------
// The screen canvas

void TScreenCanvas::Destroy() {
  FreeHandle();
  inherited::Destroy();
}

void TScreenCanvas::CreateHandle() {
  FWindowHandle = GetDesktopWindow();
  FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  SetHandle(FDeviceContext);
}

void TScreenCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
}

void TcxScreenCanvas::Create() {
  FScreenCanvas.reset(New<TScreenCanvas>());
  inherited::Create(FScreenCanvas.get());
}

void TcxScreenCanvas::Destroy() {
  FScreenCanvas.reset();
  inherited::Destroy();
}

void TcxScreenCanvas::Dormant() { FScreenCanvas->FreeHandle(); }

// ---------------------------------------------------------------------------
// TcxPaintCanvas

void TcxPaintCanvas::Create() { inherited::Create(nullptr); }

void TcxPaintCanvas::Destroy() {
  FSavedStates.clear();
  inherited::Destroy();
}

void TcxPaintCanvas::PushLevel(TCanvas* ACanvas, TcxPaintCanvasState AState) {
  if (FSavedStates.size() == FSavedStates.capacity()) FSavedStates.reserve(FSavedStates.capacity() + 4);
  AState.PrevCanvas = Canvas();
  FSavedStates.push_back(std::move(AState));
  SetCanvas(ACanvas);
  SaveState();
  ++FCounter;
}

void TcxPaintCanvas::BeginPaint(HDC ADC) {
  TcxPaintCanvasState state;
  state.DC = ADC;
  state.FSaveDC = ::SaveDC(ADC);
  state.OwnedCanvas.reset(New<TCanvas>());
  TCanvas* canvas = state.OwnedCanvas.get();
  canvas->SetHandle(ADC);
  SynchronizeWithDC(canvas, ADC);
  PushLevel(canvas, std::move(state));
}

void TcxPaintCanvas::BeginPaint(TCanvas* ACanvas) { PushLevel(ACanvas, TcxPaintCanvasState()); }

void TcxPaintCanvas::EndPaint() {
  if (FCounter <= 0) return;
  --FCounter;
  RestoreState();
  TcxPaintCanvasState state = std::move(FSavedStates.back());
  FSavedStates.pop_back();
  if (state.FSaveDC != 0) {
    state.OwnedCanvas.reset();
    ::RestoreDC(state.DC, state.FSaveDC);
  }
  SetCanvas(state.PrevCanvas);
}
