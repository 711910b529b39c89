#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

using namespace Gdiplus;

namespace {
TdxGPSolidPenCacheManager* SolidPenCache = nullptr;
TdxGPSolidBrushCacheManager* SolidBrushCache = nullptr;
TdxGPFontCacheManager* FontCache = nullptr;

template <class T>
IPtr<IdxGPHandle> NewGPHandle(TdxGpHandle AHandle) {
  return IPtr<IdxGPHandle>(New<T>(AHandle));
}
}  // namespace

// ---------------------------------------------------------------------------
// Handles

void TdxGPHandle::Create(TdxGpHandle AHandle) {
  inherited::Create();
  TdxGdiPlusLibrary::Acquire();
  FAcquired = true;
  FHandle = AHandle;
}

void TdxGPHandle::Destroy() {
  if (FHandle) DeleteHandle();
  FHandle = nullptr;
  if (std::exchange(FAcquired, false)) TdxGdiPlusLibrary::Release();
  inherited::Destroy();
}

bool TdxGPHandle::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxGPHandle>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxGPPenHandle::DeleteHandle() { GdipDeletePen(static_cast<GpPen*>(FHandle)); }
void TdxGPBrushHandle::DeleteHandle() { GdipDeleteBrush(static_cast<GpBrush*>(FHandle)); }
void TdxGPFontHandle::DeleteHandle() { GdipDeleteFont(static_cast<GpFont*>(FHandle)); }

// ---------------------------------------------------------------------------
// Caches

IPtr<IdxGPHandle> TdxGPSolidPenCacheManager::CreateHandle(const TdxGPSolidPenCacheID& AKey) {
  TdxGpOwnedPen pen;
  CheckGdipStatus(GdipCreatePen1(AKey.Color, AKey.Width, UnitPixel, pen.Receive()));
  CheckGdipStatus(GdipSetPenDashStyle(pen.Get(), static_cast<DashStyle>(AKey.Style)));
  return NewGPHandle<TdxGPPenHandle>(pen.Release());
}

IPtr<IdxGPHandle> TdxGPSolidBrushCacheManager::CreateHandle(const TdxAlphaColor& AKey) {
  GpSolidFill* brush = nullptr;
  CheckGdipStatus(GdipCreateSolidFill(AKey, &brush));
  TdxGpOwnedBrush owned(brush);
  return NewGPHandle<TdxGPBrushHandle>(owned.Release());
}

IPtr<IdxGPHandle> TdxGPFontCacheManager::CreateHandle(const LOGFONTW& AKey) {
  return NewGPHandle<TdxGPFontHandle>(CreateGdipFontFromLogFont(AKey).Release());
}

// ---------------------------------------------------------------------------
// TdxGPResourceManager

TdxGPSolidPenCacheManager* TdxGPResourceManager::PenCache() { return SolidPenCache; }
TdxGPSolidBrushCacheManager* TdxGPResourceManager::BrushCache() { return SolidBrushCache; }
TdxGPFontCacheManager* TdxGPResourceManager::FontCache() { return ::FontCache; }

IPtr<IdxGPHandle> TdxGPResourceManager::GetFont(TFont* AFont) {
  LOGFONTW logFont{};
  GetObjectW(AFont->Handle(), sizeof(logFont), &logFont);
  return ::FontCache->Get(logFont);
}

IPtr<IdxGPHandle> TdxGPResourceManager::GetSolidBrush(TdxAlphaColor AColor) { return SolidBrushCache->Get(AColor); }

bool TdxGPResourceManager::GetSolidBrush(TdxAlphaColor AColor, IPtr<IdxGPHandle>& AHandle) {
  AHandle = nullptr;
  if (!IsAlphaColorVisible(AColor)) return false;
  AHandle = GetSolidBrush(AColor);
  return true;
}

bool TdxGPResourceManager::GetSolidBrush(TColor AColor, std::uint8_t AColorAlpha, IPtr<IdxGPHandle>& AHandle) {
  AHandle = nullptr;
  if (AColor == clNone) return false;
  AHandle = GetSolidBrush(ColorToAlphaColor(AColor, AColorAlpha));
  return true;
}

bool TdxGPResourceManager::GetPen(TdxAlphaColor AColor, DashStyle AStyle, float AWidth, IPtr<IdxGPHandle>& AHandle) {
  AHandle = nullptr;
  if (!IsAlphaColorVisible(AColor) || !(AWidth > 0)) return false;
  AHandle = SolidPenCache->Get(TdxGPSolidPenCacheID::Create(AColor, AStyle, AWidth));
  return true;
}

bool TdxGPResourceManager::GetPen(TdxAlphaColor AColor, TPenStyle AStyle, float AWidth, IPtr<IdxGPHandle>& AHandle) {
  AHandle = nullptr;
  switch (AStyle) {
    case psSolid: return GetPen(AColor, DashStyleSolid, AWidth, AHandle);
    case psDash: return GetPen(AColor, DashStyleDash, AWidth, AHandle);
    case psDot: return GetPen(AColor, DashStyleDot, AWidth, AHandle);
    case psDashDot: return GetPen(AColor, DashStyleDashDot, AWidth, AHandle);
    case psDashDotDot: return GetPen(AColor, DashStyleDashDotDot, AWidth, AHandle);
    default: return false;
  }
}

bool TdxGPResourceManager::GetPen(TdxAlphaColor AColor, TdxGPPenStyle AStyle, float AWidth,
                                  IPtr<IdxGPHandle>& AHandle) {
  return GetPen(AColor, static_cast<DashStyle>(AStyle), AWidth, AHandle);
}

bool TdxGPResourceManager::GetPen(TColor AColor, std::uint8_t AColorAlpha, TPenStyle AStyle, float AWidth,
                                  IPtr<IdxGPHandle>& AHandle) {
  return GetPen(ColorToAlphaColor(AColor, AColorAlpha), AStyle, AWidth, AHandle);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

namespace {

void GDIPlusClassesInitialize() {
  dxGDIPlusClassesBindWindowFromDC();
  if (!CheckGdiPlusAvailable(false)) return;
  SolidPenCache = New<TdxGPSolidPenCacheManager>();
  SolidBrushCache = New<TdxGPSolidBrushCacheManager>();
  ::FontCache = New<TdxGPFontCacheManager>();
  dxGDIPlusClassesRegisterImageCodecs();
  dxGDIPlusClassesListenForDisplayChanges();
}

void GDIPlusClassesFinalize() {
  dxGDIPlusClassesUnregisterImageCodecs();
  FreeAndNil(::FontCache);
  FreeAndNil(SolidBrushCache);
  FreeAndNil(SolidPenCache);
  dxGDIPlusClassesFreePaintCanvases();
  dxGDIPlusClassesFreeAlphaBlendAttributes();
  dxGDIPlusClassesFreeGenericFontFamilies();
}

}  // namespace

void dxGDIPlusClassesInitialization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&GDIPlusClassesInitialize, &GDIPlusClassesFinalize);
  else
    GDIPlusClassesInitialize();
}

void dxGDIPlusClassesFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&GDIPlusClassesFinalize);
  else
    GDIPlusClassesFinalize();
}
