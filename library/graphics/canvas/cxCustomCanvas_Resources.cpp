// Canvas resources, the shared handles they wrap and the pools that intern
// the handles by value.
#include "library/graphics/canvas/cxCustomCanvas.h"

#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t* const AbandonedStateText = L"Resource is in abandoned state";

std::uint8_t StyleBits(const TFontStyles& AStyle) { return static_cast<std::uint8_t>(AStyle.ToBits()); }

}  // namespace

// ---------------------------------------------------------------------------
// TcxCanvasBasedResource

void TcxCanvasBasedResource::Create(TcxCustomCanvas* ACanvas, TcxCanvasBasedResourceHandle* AHandle) {
  inherited::Create();
  FCanvas = ACanvas;
  if (FCanvas) FCanvas->FResources.push_back(this);
  FHandle = AHandle;
  if (FHandle) FHandle->AddRef();
}

void TcxCanvasBasedResource::BeforeDestruction() {
  if (FCanvas) {
    std::vector<TcxCanvasBasedResource*>& resources = FCanvas->FResources;
    // Recent resources go first: look from the end.
    const auto it = std::find(resources.rbegin(), resources.rend(), this);
    if (it != resources.rend()) resources.erase(std::next(it).base());
  }
  Release();
  inherited::BeforeDestruction();
}

bool TcxCanvasBasedResource::IsEmpty() { return !FHandle || FHandle->IsEmpty(); }

void TcxCanvasBasedResource::Release() {
  if (TcxCanvasBasedResourceHandle* handle = std::exchange(FHandle, nullptr)) handle->Release();
  FCanvas = nullptr;
}

void TcxCanvasBasedResource::CheckAbandoned() const {
  if (!FCanvas) throw EInvalidOperation(String(AbandonedStateText));
}

// ---------------------------------------------------------------------------
// TcxCanvasBasedFont, TcxCanvasBasedImage, TcxCanvasBasedPath

bool TcxCanvasBasedFont::IsEmpty() { return !FCanvas || inherited::IsEmpty(); }

int TcxCanvasBasedFont::LineHeight() {
  if (IsEmpty()) return 0;
  return static_cast<TcxCanvasBasedFontHandle*>(FHandle)->CalculateLineHeight(FCanvas);
}

void TcxCanvasBasedImage::Create(TcxCustomCanvas* ACanvas, int AWidth, int AHeight) {
  inherited::Create(ACanvas);
  FWidth = AWidth;
  FHeight = AHeight;
}

void TcxCanvasBasedImage::Draw(const TdxRectF& ATargetRect, std::uint8_t AAlpha) {
  Draw(ATargetRect, TdxRectF(ClientRect()), AAlpha);
}

void TcxCanvasBasedImage::Draw(const TRect& ATargetRect, std::uint8_t AAlpha) {
  Draw(ATargetRect, ClientRect(), AAlpha);
}

void TcxCanvasBasedImage::Draw(const TdxRectF& ATargetRect, const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  if (FCanvas) FCanvas->DrawImageCoreF(this, ATargetRect, ASourceRect, AAlpha);
}

void TcxCanvasBasedImage::Draw(const TRect& ATargetRect, const TRect& ASourceRect, std::uint8_t AAlpha) {
  if (FCanvas) FCanvas->DrawImageCore(this, ATargetRect, ASourceRect, AAlpha);
}

void TcxCanvasBasedPath::AddLine(const TdxPointF& P1, const TdxPointF& P2) {
  const TdxPointF points[] = {P1, P2};
  AddPolyline(points, 2);
}

void TcxCanvasBasedPath::AddPolyline(std::span<const TdxPointF> APoints) {
  if (!APoints.empty()) AddPolyline(APoints.data(), static_cast<int>(APoints.size()));
}

// ---------------------------------------------------------------------------
// TcxCanvasBasedResourceHandle and its kinds

void TcxCanvasBasedResourceHandle::Destroy() {
  FreeNativeHandle();
  inherited::Destroy();
}

void TcxCanvasBasedBrushHandle::Create(TdxAlphaColor AColor) {
  TcxCanvasBasedResourceHandle::Create();
  FMode = TdxFillOptionsMode::Solid;
  FColor1 = AColor;
}

void TcxCanvasBasedBrushHandle::Create(TdxFillOptions* AOptions) {
  TcxCanvasBasedResourceHandle::Create();
  FMode = AOptions->Mode();
  FColor1 = AOptions->ActualColor();
  FColor2 = AOptions->ActualColor2();
  FGradientMode = static_cast<TdxGPBrushGradientMode>(AOptions->GradientMode());
  FHatchStyle = static_cast<Gdiplus::HatchStyle>(AOptions->HatchStyle());
  if (FMode == TdxFillOptionsMode::Texture) {
    FTexture.reset(New<TdxSmartImage>());
    FTexture->Assign(AOptions->Texture());
  }
}

void TcxCanvasBasedBrushHandle::Destroy() {
  inherited::Destroy();
  FTexture.reset();
}

void TcxCanvasBasedBrushHandle::CalculateKey(std::uint32_t& AKey) {
  const auto hash = [&AKey](const auto& AValue) { HashBuffer(AKey, &AValue, sizeof(AValue)); };
  const auto mode = static_cast<std::uint8_t>(FMode);
  hash(mode);
  switch (FMode) {
    case TdxFillOptionsMode::Solid:
      hash(FColor1);
      break;
    case TdxFillOptionsMode::Gradient:
      hash(FColor1);
      hash(FColor2);
      hash(static_cast<std::uint8_t>(FGradientMode));
      break;
    case TdxFillOptionsMode::Hatch:
      hash(FColor1);
      hash(FColor2);
      hash(static_cast<std::int32_t>(FHatchStyle));
      break;
    case TdxFillOptionsMode::Texture:
      if (FTexture) AKey ^= FTexture->GetHashCode();
      break;
    default:
      break;
  }
}

bool TcxCanvasBasedBrushHandle::DoIsEqual(TdxHashTableItem* AItem) {
  auto* other = dynamic_cast<TcxCanvasBasedBrushHandle*>(AItem);
  if (!other || other->ClassType() != ClassType() || other->FMode != FMode) return false;
  switch (FMode) {
    case TdxFillOptionsMode::Solid:
      return other->FColor1 == FColor1;
    case TdxFillOptionsMode::Gradient:
      return other->FGradientMode == FGradientMode && other->FColor1 == FColor1 && other->FColor2 == FColor2;
    case TdxFillOptionsMode::Hatch:
      return other->FHatchStyle == FHatchStyle && other->FColor1 == FColor1 && other->FColor2 == FColor2;
    case TdxFillOptionsMode::Texture:
      return FTexture && other->FTexture && FTexture->Compare(other->FTexture.get());
    default:
      return true;
  }
}

void TcxCanvasBasedFontHandle::Create(TdxFontOptions* AOptions) {
  TcxCanvasBasedResourceHandle::Create();
  FName = AOptions->Name();
  FHeight = AOptions->Height();
  FPitch = AOptions->Pitch();
  FStyle = AOptions->Style();
  FCharset = AOptions->Charset();
  FQuality = AOptions->Quality();
}

void TcxCanvasBasedFontHandle::Create(TFont* AFont, TdxObjectOwnership AOwnership) {
  TcxCanvasBasedResourceHandle::Create();
  AssignValues(AFont);
  if (AOwnership == ooOwned) AFont->Free();
}

void TcxCanvasBasedFontHandle::AssignValues(TFont* AFont) {
  FName = AFont->Name();
  FHeight = AFont->Height();
  FPitch = FontPitchToDxFontPitch(AFont->Pitch());
  FStyle = AFont->Style();
  FCharset = AFont->Charset();
  FQuality = FontQualityToDxFontQuality(AFont->Quality());
}

int TcxCanvasBasedFontHandle::GetLineHeight(TcxCustomCanvas* ACanvas) {
  if (FLineHeight == 0) FLineHeight = CalculateLineHeight(ACanvas);
  return FLineHeight;
}

int TcxCanvasBasedFontHandle::CalculateLineHeight(TcxCustomCanvas* ACanvas) {
  const TOwned<TcxCanvasBasedTextLayout> layout = ACanvas->CreateTextLayout();
  layout->SetFontHandle(this);
  layout->SetText(L"Zq");
  return layout->MeasureSize().cy;
}

void TcxCanvasBasedFontHandle::CalculateKey(std::uint32_t& AKey) {
  const auto hash = [&AKey](const auto& AValue) { HashBuffer(AKey, &AValue, sizeof(AValue)); };
  HashText(AKey, FName);
  hash(FHeight);
  hash(static_cast<std::uint8_t>(FPitch));
  hash(static_cast<std::uint8_t>(FQuality));
  hash(static_cast<std::uint8_t>(FCharset));
  hash(StyleBits(FStyle));
}

bool TcxCanvasBasedFontHandle::DoIsEqual(TdxHashTableItem* AItem) {
  auto* other = dynamic_cast<TcxCanvasBasedFontHandle*>(AItem);
  return other && other->ClassType() == ClassType() && other->FHeight == FHeight && other->FCharset == FCharset &&
         other->FQuality == FQuality && other->FStyle == FStyle && other->FPitch == FPitch && other->FName == FName;
}

void TcxCanvasBasedPenHandle::Create(TdxAlphaColor AColor, float AWidth, TdxStrokeStyle AStyle) {
  TcxCanvasBasedResourceHandle::Create();
  FColor = AColor;
  FWidth = AWidth;
  FStyle = AStyle;
}

void TcxCanvasBasedPenHandle::Create(TdxStrokeOptions* AOptions) {
  Create(AOptions->ActualColor(), AOptions->Width(), AOptions->Style());
}

void TcxCanvasBasedPenHandle::CalculateKey(std::uint32_t& AKey) {
  const auto hash = [&AKey](const auto& AValue) { HashBuffer(AKey, &AValue, sizeof(AValue)); };
  hash(FColor);
  hash(static_cast<std::uint8_t>(FStyle));
  hash(FWidth);
}

bool TcxCanvasBasedPenHandle::DoIsEqual(TdxHashTableItem* AItem) {
  auto* other = dynamic_cast<TcxCanvasBasedPenHandle*>(AItem);
  return other && other->ClassType() == ClassType() && dxSameValue(other->FWidth, FWidth) &&
         other->FStyle == FStyle && other->FColor == FColor;
}

// ---------------------------------------------------------------------------
// Image lists

std::size_t TcxCanvasBasedImageCacheKeyHash::operator()(const TcxCanvasBasedImageCacheKey& AKey) const {
  return BobJenkinsHash(&AKey, sizeof(AKey), 0);
}

bool TcxCanvasBasedImageCacheKeyEqual::operator()(const TcxCanvasBasedImageCacheKey& A,
                                                  const TcxCanvasBasedImageCacheKey& B) const {
  return std::memcmp(&A, &B, sizeof(A)) == 0;
}

void TcxCanvasBasedImageListHandle::Create(TCustomImageList* AImageList) {
  TcxCanvasBasedResourceHandle::Create();
  FImageList = AImageList;
  FUseNativeDrawing = IsWinSevenOrLater && AImageList->ShareImages();
}

void TcxCanvasBasedImageListHandle::CreateNativeHandle(TcxCustomCanvas*) {
  FCache = std::make_unique<TcxCanvasBasedImageCache>();
  FChangeLink.reset(New<TChangeLink>());
  FChangeLink->SetOnChange(BindEvent<&TcxCanvasBasedImageListHandle::ImageListChanged>(this));
  FImageList->RegisterChanges(FChangeLink.get());
}

void TcxCanvasBasedImageListHandle::FreeNativeHandle() {
  // The link leaves the list (when it is still there) as it goes.
  FChangeLink.reset();
  FCache.reset();
}

bool TcxCanvasBasedImageListHandle::IsEmpty() { return !FChangeLink || !FChangeLink->Sender(); }

void TcxCanvasBasedImageListHandle::ImageListChanged(TObject*) {
  if (FCache) FCache->clear();
}

TSize TcxCanvasBasedImageListHandle::GetSize(const TdxScaleFactor* AScaleFactor) {
  if (IsEmpty()) return TSize();
  return GetImageListScaledSize(FImageList, AScaleFactor);
}

bool TcxCanvasBasedImageListHandle::TryGetImage(TcxCustomCanvas* ACanvas, int AImageIndex, int AOverlayIndex,
                                                TcxImageDrawMode AMode, IdxColorPalette* AColorPalette,
                                                TcxCanvasBasedImage*& AImage) {
  AImage = nullptr;
  if (IsEmpty() || AImageIndex < 0 || AImageIndex >= FImageList->Count()) return false;
  TcxCanvasBasedImageCacheKey key;
  key.Index = AImageIndex;
  key.Mode = AMode;
  key.OverlayIndex = AOverlayIndex;
  GetPaletteID(AColorPalette, key.PaletteID);
  if (const auto it = FCache->find(key); it != FCache->end()) {
    AImage = it->second.get();
    return AImage != nullptr;
  }
  const TOwned<TdxFastDIB> dib(New<TdxFastDIB>(FImageList->Width(), FImageList->Height(), true));
  if (FUseNativeDrawing && AMode == idmNormal)
    DrawNative(dib.get(), AImageIndex, AOverlayIndex);
  else
    DrawThroughLibrary(dib.get(), AImageIndex, AOverlayIndex, AMode, AColorPalette);
  GdiFlush();
  const std::span<const RGBQUAD> pixels(dib->Bits(), static_cast<std::size_t>(dib->Width() * dib->Height()));
  if (!TdxColors::ArePremultiplied(pixels)) dib->Premultiply();
  TOwned<TcxCanvasBasedImage> image = ACanvas->CreateImage(static_cast<TdxCustomFastDIB*>(dib.get()), afPremultiplied);
  AImage = image.get();
  FCache->emplace(key, std::move(image));
  return AImage != nullptr;
}

void TcxCanvasBasedImageListHandle::DrawNative(TdxFastDIB* ADib, int AImageIndex, int AOverlayIndex) {
  UINT style = ILD_NORMAL;
  if (AOverlayIndex >= 0) style |= INDEXTOOVERLAYMASK(AOverlayIndex + 1);
  ImageList_DrawEx(FImageList->Handle(), AImageIndex, ADib->DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, style);
}

void TcxCanvasBasedImageListHandle::DrawThroughLibrary(TdxFastDIB* ADib, int AImageIndex, int AOverlayIndex,
                                                       TcxImageDrawMode AMode, IdxColorPalette* AColorPalette) {
  TcxPaintCanvas* canvas = SharedPaintCanvas();
  canvas->BeginPaint(ADib->DC());
  TryFinally(
      [&] {
        // Stretched: the DIB has the list's own size whatever DPI its images
        // were made for.
        const TRect bounds = ADib->ClientRect();
        DrawScaledImage(canvas->Canvas(), bounds, nullptr, FImageList, AImageIndex, ifmStretch, AMode, false,
                        AColorPalette);
        if (AOverlayIndex >= 0)
          DrawScaledImage(canvas->Canvas(), bounds, nullptr, FImageList, AOverlayIndex, ifmStretch, AMode, false,
                          AColorPalette);
      },
      [canvas] { canvas->EndPaint(); });
}

void TcxCanvasBasedImageListHandle::CalculateKey(std::uint32_t& AKey) {
  const auto address = reinterpret_cast<std::uintptr_t>(FImageList);
  AKey = static_cast<std::uint32_t>(address ^ (address >> 32));
}

bool TcxCanvasBasedImageListHandle::DoIsEqual(TdxHashTableItem* AItem) {
  auto* other = dynamic_cast<TcxCanvasBasedImageListHandle*>(AItem);
  return other && other->FImageList == FImageList;
}

void TcxCanvasBasedImageList::Draw(const TdxRectF& R, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                                   std::uint8_t AAlpha, IdxColorPalette* AColorPalette) {
  if (TcxCanvasBasedImage* image = FindImage(AImageIndex, AOverlayIndex, AMode, AColorPalette))
    FCanvas->DrawImageCoreF(image, R, TdxRectF(image->ClientRect()), AAlpha);
}

void TcxCanvasBasedImageList::Draw(const TRect& R, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                                   std::uint8_t AAlpha, IdxColorPalette* AColorPalette) {
  if (TcxCanvasBasedImage* image = FindImage(AImageIndex, AOverlayIndex, AMode, AColorPalette))
    FCanvas->DrawImageCore(image, R, image->ClientRect(), AAlpha);
}

TcxCanvasBasedImage* TcxCanvasBasedImageList::FindImage(int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                                                        IdxColorPalette* AColorPalette) {
  CheckAbandoned();
  TcxCanvasBasedImage* image = nullptr;
  ListHandle()->TryGetImage(FCanvas, AImageIndex, AOverlayIndex, AMode, AColorPalette, image);
  return image;
}

TSize TcxCanvasBasedImageList::GetSize(const TdxScaleFactor* AScaleFactor) {
  return ListHandle()->GetSize(AScaleFactor);
}

TcxCanvasBasedImageListHandle* TcxCanvasBasedImageList::ListHandle() const {
  if (!FHandle) throw EInvalidOperation(String(AbandonedStateText));
  return static_cast<TcxCanvasBasedImageListHandle*>(FHandle);
}

// ---------------------------------------------------------------------------
// Pools

void TcxCanvasBasedSharedResources::Create(TcxCustomCanvas* ACanvas, TClass AHandleClass) {
  inherited::Create(ACanvas);
  FClass = AHandleClass;
  FHashTable.reset(New<TdxHashTable>());
}

void TcxCanvasBasedSharedResources::Destroy() {
  FHashTable.reset();
  inherited::Destroy();
}

void TcxCanvasBasedSharedResources::Release() {
  if (FHashTable) {
    FHashTable->ForEachItem(
        [](TdxHashTableItem* AItem) { static_cast<TcxCanvasBasedResourceHandle*>(AItem)->FreeNativeHandle(); });
    FHashTable->Clear();
  }
  inherited::Release();
}

TcxCanvasBasedResourceHandle* TcxCanvasBasedSharedResources::Share(TcxCanvasBasedResourceHandle* AResource) {
  TdxHashTableItem* item = AResource;
  FHashTable->AddItem(item);
  if (item == AResource) {
    // A handle whose native object cannot be made does not stay.
    TScopeExit drop([AResource] { AResource->Free(); });
    AResource->CreateNativeHandle(FCanvas);
    drop.Dismiss();
  }
  return static_cast<TcxCanvasBasedResourceHandle*>(item);
}

TcxCanvasBasedBrushHandle* TcxCanvasBasedSharedBrushes::GetOrCreate(TdxAlphaColor AColor) {
  return ShareNew<TcxCanvasBasedBrushHandle>(AColor);
}

TcxCanvasBasedBrushHandle* TcxCanvasBasedSharedBrushes::GetOrCreate(TdxFillOptions* AOptions) {
  return ShareNew<TcxCanvasBasedBrushHandle>(AOptions);
}

TcxCanvasBasedFontHandle* TcxCanvasBasedSharedFonts::GetOrCreate(TdxFontOptions* AFont) {
  return ShareNew<TcxCanvasBasedFontHandle>(AFont);
}

TcxCanvasBasedFontHandle* TcxCanvasBasedSharedFonts::GetOrCreate(TFont* AFont, TdxObjectOwnership AOwnership) {
  return ShareNew<TcxCanvasBasedFontHandle>(AFont, AOwnership);
}

TcxCanvasBasedImageListHandle* TcxCanvasBasedSharedImageLists::GetOrCreate(TCustomImageList* AImageList) {
  return ShareNew<TcxCanvasBasedImageListHandle>(AImageList);
}

TcxCanvasBasedPenHandle* TcxCanvasBasedSharedPens::GetOrCreate(TdxAlphaColor AColor, float AWidth,
                                                                TdxStrokeStyle AStyle) {
  return ShareNew<TcxCanvasBasedPenHandle>(AColor, AWidth, AStyle);
}

TcxCanvasBasedPenHandle* TcxCanvasBasedSharedPens::GetOrCreate(TdxStrokeOptions* AOptions) {
  return ShareNew<TcxCanvasBasedPenHandle>(AOptions);
}
