#include "library/graphics/canvas/cxGraphics.h"

#include "library/graphics/canvas/cxGraphics_Internal.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"
#include "library/graphics/system/cxWindowGeometry.h"
#include "platform/classes/Persistent.h"

namespace {

int GStartCount = 0;
bool GFinalized = false;
TdxSolidBrushCacheManager* GSolidBrushCache = nullptr;
TcxSystemPaletteChangedNotifier* GSystemPaletteChangedNotifier = nullptr;

constexpr int RegionCombineMode[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};

}  // namespace

// ---------------------------------------------------------------------------
// Solid brush cache

void TdxSolidBrushCacheManager::SystemPaletteChanged(TObject*) { Clear(); }

void TdxSolidBrushCacheManager::ValueRemoved(const HBRUSH& AValue) { DeleteObject(AValue); }

HBRUSH TdxSolidBrushCache::Get(TColor AColor) {
  if (!GSolidBrushCache) return nullptr;
  HBRUSH brush = nullptr;
  if (GSolidBrushCache->Get(AColor, brush)) return brush;
  brush = CreateSolidBrush(ColorToColorRef(AColor));
  if (brush) GSolidBrushCache->Add(AColor, brush);
  return brush;
}

void TdxSolidBrushCache::Clear() {
  if (GSolidBrushCache) GSolidBrushCache->Clear();
}

// ---------------------------------------------------------------------------
// Regions

void TcxRegion::Create(HRGN AHandle) {
  inherited::Create();
  FHandle.Reset(AHandle);
}

void TcxRegion::Create(const TRect& ABounds) { Create(CreateRectRgnIndirect(ABounds.WinRect())); }

void TcxRegion::Create(int ALeft, int ATop, int ARight, int ABottom) {
  Create(TRect(ALeft, ATop, ARight, ABottom));
}

void TcxRegion::Create() { Create(TRect()); }

void TcxRegion::CreateFromWindow(HWND AHandle, int) {
  Create();
  if (GetWindowRgn(AHandle, Handle()) == ERROR) {
    const TRect bounds = GetWindowBoundsOfHandle(AHandle);
    SetRectRgn(Handle(), bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
  }
}

void TcxRegion::CreateRoundCorners(int ALeft, int ATop, int ARight, int ABottom, int AWidthEllipse,
                                   int AHeightEllipse) {
  Create(CreateRoundRectRgn(ALeft + 1, ATop + 1, ARight, ABottom, AWidthEllipse, AHeightEllipse));
}

void TcxRegion::CreateRoundCorners(const TRect& ABounds, int AWidthEllipse, int AHeightEllipse) {
  CreateRoundCorners(ABounds.Left, ABounds.Top, ABounds.Right, ABounds.Bottom, AWidthEllipse, AHeightEllipse);
}

void TcxRegion::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

void TcxRegion::SetHandle(HRGN AValue) {
  static_cast<void>(FHandle.Release());
  FHandle.Reset(AValue);
}

TRect TcxRegion::BoundsRect() const {
  RECT box;
  const int kind = GetRgnBox(Handle(), &box);
  if (kind == NULLREGION || kind == ERROR) return TRect();
  return box;
}

bool TcxRegion::IsEmpty() const {
  RECT box;
  return GetRgnBox(Handle(), &box) == NULLREGION;
}

TOwned<TcxRegion> TcxRegion::Clone() const {
  TOwned<TcxRegion> result(New<TcxRegion>());
  result->Combine(Handle(), roAdd);
  return result;
}

void TcxRegion::Combine(HRGN ARegionHandle, TcxRegionOperation AOperation) {
  if (AOperation == roSet)
    CombineRgn(Handle(), ARegionHandle, nullptr, RGN_COPY);
  else
    CombineRgn(Handle(), Handle(), ARegionHandle, RegionCombineMode[AOperation]);
}

void TcxRegion::Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion) {
  Combine(ARegion ? ARegion->Handle() : nullptr, AOperation);
  if (ADestroyRegion && ARegion) ARegion->Free();
}

void TcxRegion::Combine(const TRect& R, TcxRegionOperation AOperation) {
  const TOwnedRegion region(CreateRectRgnIndirect(R.WinRect()));
  Combine(region.Get(), AOperation);
}

bool TcxRegion::IsEqual(HRGN ARegionHandle) const { return EqualRgn(Handle(), ARegionHandle) == TRUE; }

bool TcxRegion::IsEqual(const TcxRegion* ARegion) const {
  if (!ARegion) return false;
  return (IsEmpty() && ARegion->IsEmpty()) || IsEqual(ARegion->Handle());
}

void TcxRegion::Offset(int DX, int DY) { OffsetRgn(Handle(), DX, DY); }

bool TcxRegion::PtInRegion(int X, int Y) const { return ::PtInRegion(Handle(), X, Y) != FALSE; }

bool TcxRegion::RectInRegion(const TRect& R) const { return ::RectInRegion(Handle(), R.WinRect()) != FALSE; }

// ---------------------------------------------------------------------------
// Start-up and shut-down

bool cxGraphicsFinalized() { return GFinalized; }

void cxGraphicsInitialization() {
  if (GStartCount++ > 0) return;
  GFinalized = false;
  GSolidBrushCache = New<TdxSolidBrushCacheManager>(TdxSolidBrushCache::Capacity);
  GSystemPaletteChangedNotifier = New<TcxSystemPaletteChangedNotifier>(true);
  GSystemPaletteChangedNotifier->SetOnSystemPaletteChanged(
      BindEvent<&TdxSolidBrushCacheManager::SystemPaletteChanged>(GSolidBrushCache));
  cxGraphicsRoutinesInitialization();
  RegisterClasses({TcxBitmap::ClassInfo(), TcxBitmap32::ClassInfo()});
  cxParentBackgroundInitialization();
  cxImageDrawingInitialization();
}

void cxGraphicsFinalization() {
  if (GStartCount == 0 || --GStartCount > 0) return;
  GFinalized = true;
  cxImageDrawingFinalization();
  FreeAndNil(GSystemPaletteChangedNotifier);
  FreeAndNil(GSolidBrushCache);
  cxParentBackgroundFinalization();
  cxSharedCanvasesFinalization();
  cxGraphicsRoutinesFinalization();
}
