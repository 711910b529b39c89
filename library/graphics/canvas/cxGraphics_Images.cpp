// Image drawing and the image-list paint cache.
//
// Pixels composed here are premultiplied, as the system's alpha blend takes
// them; bitmaps read from a native image list carry straight alpha and are
// premultiplied on the way in.
#include "library/graphics/canvas/cxGraphics.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/graphics/canvas/cxGraphics_Internal.h"
#include "library/graphics/imaging/cxImageList.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

TcxCustomDrawImageProc GCustomDrawImageProc = nullptr;

TSize ScaledFromDpi(const TSize& ASize, int ADpi, const TdxScaleFactor* AScaleFactor) {
  if (AScaleFactor) return AScaleFactor->Apply(ASize, ADpi, dxDefaultDPI);
  return TSize(MulDiv(ASize.cx, dxDefaultDPI, ADpi), MulDiv(ASize.cy, dxDefaultDPI, ADpi));
}

void PremultiplyBitmap(TcxBitmap32* ABitmap) {
  TRGBColors colors;
  ABitmap->GetBitmapColors(colors);
  TdxColors::Premultiply(colors);
  ABitmap->SetBitmapColors(colors);
}

// The list's mask of an item at ASize, as a 32-bit bitmap that is
// $FFFFFFFF where the item is transparent and 0 elsewhere.
void ReadListMask(TCustomImageList* AImages, int AIndex, TcxAlphaBitmap* ATarget) {
  const TOwned<TcxBitmap> mask(NewWith<TcxBitmap>(
      [&](TcxBitmap* ABitmap) { ABitmap->CreateSize(AImages->Width(), AImages->Height(), pf1bit); }));
  TcxCustomImageList::GetImageInfo(AImages, AIndex, nullptr, mask.get());
  const HDC dc = ATarget->Canvas()->Handle();
  // Monochrome pixels take the target's text colour (0) and background colour (1).
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  StretchBltRect(dc, mask->Canvas()->Handle(), ATarget->ClientRect(), mask->ClientRect(), SRCCOPY);
  GdiFlush();
  ATarget->Changed(ATarget);
  ATarget->TransformBitmap(btmCorrectBlend);
}

// Step 4 of DrawImageThroughBuffer: the glyph or item composed for the mode
// and blended into ABuffer at ADestRect.
void ComposeImage(TcxBitmap* ABuffer, TRect ADestRect, TGraphic* AGraphic, TCustomImageList* AImages, int AIndex,
                  TcxImageDrawMode ADrawMode, bool ASmoothImage, TColor ATransparentColor,
                  bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette) {
  const bool hasGraphic = IsGraphicAssigned(AGraphic);
  auto* ownList = dynamic_cast<TcxCustomImageList*>(AImages);
  TSize size = ADestRect.GetSize();
  if (hasGraphic) {
    if (IsZeroSize(size)) size = GetGraphicSize(AGraphic);
  } else if (IsZeroSize(size) || !ownList) {
    size = TSize(AImages->Width(), AImages->Height());
  }
  auto* source = dynamic_cast<TcxAlphaBitmap*>(GetScratchBitmap32(size.cx, size.cy));
  if (!source) return;
  bool hasAlpha;
  if (hasGraphic) {
    DrawGraphicToBitmap(source, AGraphic, ASmoothImage, APalette);
    hasAlpha = TcxImageInfoHelper::GetPixelFormat(AGraphic) == pf32bit;
  } else {
    TcxCustomImageList::GetImageInfo(AImages, AIndex, source, nullptr, APalette);
    // A 32-bit list may hold items without alpha (all zero): those go through
    // the mask, so their colours must not be premultiplied away first.
    hasAlpha = TcxCustomImageList::GetPixelFormat(AImages->Handle()) == 32 && source->IsAlphaUsed();
    // A 32-bit item of the library's own lists is drawn premultiplied; so is
    // an item of any other list, read by drawing it over black.
    const bool premultiplied =
        !ownList || TcxImageInfoHelper::GetPixelFormat(ownList->Images()->Items(AIndex)->Image()) == pf32bit;
    if (hasAlpha && !premultiplied) PremultiplyBitmap(source);
  }
  hasAlpha = hasAlpha && source->IsAlphaUsed();
  if (!hasAlpha) source->MakeOpaque();

  TcxAlphaBitmap* mask = nullptr;
  auto* glyph = dynamic_cast<TdxSmartGlyph*>(AGraphic);
  if (!hasAlpha || (AUseLeftBottomPixelAsTransparent && glyph && glyph->Transparent())) {
    mask = GetScratchAlphaBitmap(size.cx, size.cy);
    if (!mask) return;
    mask->CopyBitmap(source);
    if (!hasGraphic) {
      const TOwned<TcxAlphaBitmap> listMask(
          NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* ABitmap) { ABitmap->CreateSize(size.cx, size.cy); }));
      ReadListMask(AImages, AIndex, listMask.get());
      mask->Filter(listMask.get());
    }
    if (ATransparentColor != clNone && ATransparentColor != clDefault)
      mask->TransparentPixels().Add(ATransparentColor);
    if (hasGraphic && AUseLeftBottomPixelAsTransparent) mask->TransparentPixels().Add(source->TransparentColor());
    mask->TransformBitmap(btmMakeMask);
    source->Filter(mask);
  }

  std::uint8_t alpha = 255;
  switch (ADrawMode) {
    case idmNormal:
      break;
    case idmDisabled:
      if (hasAlpha || !mask) {
        source->TransformBitmap(btmDisable);
        alpha = cxDisabledImageAlpha;
      } else {
        source->TransformBitmap(btmDirty);
        source->DrawShadow(mask, 1, clBtnHighlight, false);
      }
      break;
    case idmFaded:
      source->TransformBitmap(btmFade);
      alpha = cxFadedImageAlpha;
      break;
    case idmGrayScale:
      source->TransformBitmap(btmGrayScale);
      break;
    case idmDingy:
      source->TransformBitmap(btmDingy);
      break;
    case idmShadowed:
      if (!mask) {
        mask = GetScratchAlphaBitmap(size.cx, size.cy);
        if (!mask) return;
        mask->CopyBitmap(source);
        mask->TransformBitmap(btmMakeMask);
      }
      source->DrawShadow(mask, 2, clBtnShadow, true);
      ADestRect = TRect(ADestRect.Left - 1, ADestRect.Top - 1, ADestRect.Right + 1, ADestRect.Bottom + 1);
      break;
  }
  source->AlphaBlend(ABuffer, ADestRect, ASmoothImage, alpha);
}

}  // namespace

// ---------------------------------------------------------------------------
// The custom drawing hook

TcxCustomDrawImageProc cxCustomDrawImageProc() { return GCustomDrawImageProc; }

TcxCustomDrawImageProc SetCustomDrawImageProc(TcxCustomDrawImageProc AProc) {
  return std::exchange(GCustomDrawImageProc, AProc);
}

// ---------------------------------------------------------------------------
// Sizes

bool IsValidImageIndex(TCustomImageList* AImages, int AIndex) {
  return AImages && AIndex >= 0 && AIndex < AImages->Count();
}

bool HasImageSource(TGraphic* AGraphic, TCustomImageList* AImages, int AIndex) {
  return IsGraphicAssigned(AGraphic) || IsValidImageIndex(AImages, AIndex);
}

TSize GetGraphicSize(TGraphic* AGraphic) {
  if (!AGraphic) return TSize();
  if (auto* sourceSize = SupportsRaw<IdxSourceSize>(AGraphic)) return sourceSize->GetSourceSize();
  return TSize(AGraphic->Width(), AGraphic->Height());
}

int GetObjectSourceDPI(TObject* AObject) {
  if (auto* sourceDPI = SupportsRaw<IdxSourceDPI>(AObject)) return sourceDPI->GetSourceDPI();
  int dpi = 0;
  if (const TdxGetSourceDPIProc hook = dxGetSourceDPIProc(); hook && AObject && hook(AObject, dpi) && dpi > 0)
    return dpi;
  return dxDefaultDPI;
}

TSize GetImageScaledSize(TGraphic* AGraphic, TCustomImageList* AImages, int AIndex,
                         const TdxScaleFactor* AScaleFactor) {
  if (IsGraphicAssigned(AGraphic)) return GetGlyphScaledSize(AGraphic, AScaleFactor);
  if (IsValidImageIndex(AImages, AIndex)) return GetImageListScaledSize(AImages, AScaleFactor);
  return TSize();
}

TSize GetGlyphScaledSize(TGraphic* AGlyph, const TdxScaleFactor* AScaleFactor) {
  if (!IsGraphicAssigned(AGlyph)) return TSize();
  return ScaledFromDpi(GetGraphicSize(AGlyph), GetObjectSourceDPI(AGlyph), AScaleFactor);
}

TSize GetImageListScaledSize(TCustomImageList* AImages, const TdxScaleFactor* AScaleFactor) {
  if (!AImages) return TSize();
  return ScaledFromDpi(TSize(AImages->Width(), AImages->Height()), GetObjectSourceDPI(AImages), AScaleFactor);
}

TSize GetImageListSizeForDpi(TCustomImageList* AImages, int ADpi) {
  if (!AImages) return TSize();
  const int sourceDPI = GetObjectSourceDPI(AImages);
  return TSize(MulDiv(AImages->Width(), ADpi, sourceDPI), MulDiv(AImages->Height(), ADpi, sourceDPI));
}

// ---------------------------------------------------------------------------
// Fitting

TdxSizeF CalcImageFitSize(const TdxRectF& ATargetRect, const TdxSizeF& AImageSize, TcxImageFitMode AFitMode) {
  if (AImageSize.cx == 0 || AImageSize.cy == 0) return AImageSize;
  const float kx = ATargetRect.Width() / AImageSize.cx;
  const float ky = ATargetRect.Height() / AImageSize.cy;
  const auto proportional = [&] {
    return kx >= ky ? TdxSizeF(AImageSize.cx * ky, ATargetRect.Height())
                    : TdxSizeF(ATargetRect.Width(), AImageSize.cy * kx);
  };
  switch (AFitMode) {
    case ifmStretch:
      return TdxSizeF(ATargetRect.Width(), ATargetRect.Height());
    case ifmProportionalStretch:
      return proportional();
    case ifmFit:
      return std::min(kx, ky) < 1 ? proportional() : AImageSize;
    case ifmFill:
      return kx <= ky ? TdxSizeF(AImageSize.cx * ky, ATargetRect.Height())
                      : TdxSizeF(ATargetRect.Width(), AImageSize.cy * kx);
    case ifmNormal:
      break;
  }
  return AImageSize;
}

TRect CalcImageDrawRect(const TRect& R, const TSize& AImageSize, TcxImageFitMode AFitMode, bool ACenter,
                        int APercent) {
  TSize size = ConvertSizeFToSize(CalcImageFitSize(TdxRectF(R), TdxSizeF(AImageSize), AFitMode), true);
  if (AFitMode == ifmNormal && APercent != 100)
    size = TSize(MulDiv(size.cx, APercent, 100), MulDiv(size.cy, APercent, 100));
  if (ACenter) return GetCenteredRect(R, size);
  return TRect(R.Left, R.Top, R.Left + size.cx, R.Top + size.cy);
}

// ---------------------------------------------------------------------------
// Drawing

void DrawScaledImage(TCanvas* ACanvas, const TRect& R, TGraphic* AGraphic, TCustomImageList* AImages, int AIndex,
                     TcxImageFitMode AFitMode, TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                     IdxColorPalette* APalette, const TdxScaleFactor* AScaleFactor, bool ASmoothImage) {
  if (!ACanvas) return;
  const TSize size = GetImageScaledSize(AGraphic, AImages, AIndex, AScaleFactor);
  if (size.cx <= 0 || size.cy <= 0) return;
  const TRect drawRect = CalcImageDrawRect(R, size, AFitMode, true, 100);
  if (!IsGraphicAssigned(AGraphic) && Is<TcxCustomImageList>(AImages))
    TdxImageListPaintCache::Draw(ACanvas, drawRect, AImages, AIndex, ADrawMode, AUseLeftBottomPixelAsTransparent,
                                 APalette, ASmoothImage);
  else
    DrawImageThroughBuffer(ACanvas->Handle(), drawRect, AGraphic, AImages, AIndex, ADrawMode, ASmoothImage, nullptr,
                           clNone, AUseLeftBottomPixelAsTransparent, APalette);
}

void DrawMetafileScaled(TCanvas* ACanvas, const TRect& R, TGraphic* AMetafile, TcxImageFitMode AFitMode,
                        IdxColorPalette* APalette, const TdxScaleFactor* AScaleFactor, bool ASmoothImage) {
  const bool transparent = AMetafile && AMetafile->Transparent() && !Is<TMetafile>(AMetafile);
  DrawScaledImage(ACanvas, R, AMetafile, nullptr, -1, AFitMode, idmNormal, transparent, APalette, AScaleFactor,
                  ASmoothImage);
}

void DrawImageThroughBuffer(HDC DC, const TRect& ADestRect, TGraphic* AGraphic, TCustomImageList* AImages,
                            int AIndex, TcxImageDrawMode ADrawMode, bool ASmoothImage, HBRUSH ABackgroundBrush,
                            TColor ATransparentColor, bool AUseLeftBottomPixelAsTransparent,
                            IdxColorPalette* APalette) {
  if (!HasImageSource(AGraphic, AImages, AIndex) || ADestRect.IsEmpty()) return;
  TcxBitmap* buffer = GetScratchBitmap(ADestRect.Width(), ADestRect.Height());
  if (!buffer) return;
  const TRect bufferRect = buffer->ClientRect();
  const HDC bufferDC = buffer->Canvas()->Handle();
  if (ABackgroundBrush) {
    const RECT r = bufferRect;
    FillRect(bufferDC, &r, ABackgroundBrush);
  } else {
    CopyDCRect(bufferDC, DC, bufferRect, ADestRect.TopLeft(), SRCCOPY);
  }
  GdiFlush();
  buffer->Changed(buffer);
  if (!GCustomDrawImageProc ||
      !GCustomDrawImageProc(buffer->cxCanvas(), AImages, AIndex, ADrawMode, bufferRect, AGraphic))
    ComposeImage(buffer, bufferRect, AGraphic, AImages, AIndex, ADrawMode, ASmoothImage, ATransparentColor,
                 AUseLeftBottomPixelAsTransparent, APalette);
  CopyBitmapToDC(DC, buffer, ADestRect, TPoint(0, 0), SRCCOPY);
}

void DrawGraphicToBitmap(TBitmap* ABitmap, TGraphic* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                         bool ASmooth, IdxColorPalette* APalette) {
  if (!ABitmap || ABitmap->Empty() || !AGraphic) return;
  ClearBitmapToBlack(ABitmap);
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) {
    const bool whole = ADestRect == TRect(0, 0, ABitmap->Width(), ABitmap->Height()) &&
                       ASourceRect == GetGraphicRect(bitmap);
    if (ADestRect.GetSize() == ASourceRect.GetSize()) {
      CopyDCRect(ABitmap->Canvas()->Handle(), bitmap->Canvas()->Handle(), ADestRect, ASourceRect.TopLeft(), SRCCOPY);
    } else if (!ASmooth) {
      StretchBltRect(ABitmap->Canvas()->Handle(), bitmap->Canvas()->Handle(), ADestRect, ASourceRect, SRCCOPY);
    } else if (whole) {
      ResizeBitmapContent(bitmap, ABitmap, true);
    } else {
      // Parts are resized through 32-bit bitmaps of their own.
      const TOwned<TcxBitmap32> part(NewWith<TcxBitmap32>(
          [&](TcxBitmap32* B) { B->CreateSize(ASourceRect.Width(), ASourceRect.Height(), true); }));
      part->CopyBitmap(bitmap, part->ClientRect(), ASourceRect.TopLeft());
      const TOwned<TcxBitmap32> resized(NewWith<TcxBitmap32>(
          [&](TcxBitmap32* B) { B->CreateSize(ADestRect.Width(), ADestRect.Height(), true); }));
      ResizeBitmapContent(part.get(), resized.get(), true);
      CopyDCRect(ABitmap->Canvas()->Handle(), resized->Canvas()->Handle(), ADestRect, TPoint(0, 0), SRCCOPY);
    }
    GdiFlush();
    bitmap->Dormant();
    if (bitmap->AlphaFormat() == afDefined && ABitmap->PixelFormat() == pf32bit) {
      TRGBColors colors;
      if (GetGraphicPixels(ABitmap, colors, true)) {
        TdxColors::Premultiply(colors);
        SetGraphicPixels(ABitmap, colors, true);
      }
    }
  } else if (auto* image = dynamic_cast<TdxSmartImage*>(AGraphic)) {
    const TdxGPPaintCanvasScope paint(ABitmap->Canvas()->Handle(), ADestRect);
    paint->SetInterpolationMode(ASmooth ? imHighQualityBicubic : imNearestNeighbor);
    paint->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    image->StretchDraw(paint.Canvas(), TdxRectF(ADestRect), TdxRectF(ASourceRect), nullptr, APalette);
  } else if (auto* smartImage = dynamic_cast<TdxCustomSmartImage*>(AGraphic)) {
    smartImage->StretchDraw(ABitmap->Canvas()->Handle(), ADestRect, ASourceRect, 255, APalette);
  } else {
    const TOwned<TBitmap> bitmap = GraphicToBitmap(AGraphic);
    DrawGraphicToBitmap(ABitmap, bitmap.get(), ADestRect, ASourceRect, ASmooth, APalette);
    return;
  }
  GdiFlush();
  ABitmap->Changed(ABitmap);
}

void DrawGraphicToBitmap(TBitmap* ABitmap, TGraphic* AGraphic, bool ASmooth, IdxColorPalette* APalette) {
  if (!ABitmap) return;
  DrawGraphicToBitmap(ABitmap, AGraphic, TRect(0, 0, ABitmap->Width(), ABitmap->Height()),
                      GetGraphicRect(AGraphic), ASmooth, APalette);
}

TOwned<TBitmap> GraphicToBitmap(TGraphic* AGraphic) {
  if (!AGraphic) return nullptr;
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) {
    TOwned<TBitmap> copy(New<TcxBitmap>());
    copy->Assign(bitmap);
    return copy;
  }
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic)) return image->GetAsBitmap();
  TOwned<TBitmap> result(NewWith<TcxBitmap32>(
      [&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(AGraphic->Width(), AGraphic->Height(), true); }));
  result->Canvas()->Draw(0, 0, AGraphic);
  return result;
}

// ---------------------------------------------------------------------------
// Other routines

void SetImageListLink(TCustomImageList* ANewImages, TCustomImageList*& AImagesField, TChangeLink* AChangeLink,
                      TComponent* AComponent, const TcxImageListLinkNotify& ANotify) {
  if (ANewImages == AImagesField) return;
  if (TCustomImageList* old = AImagesField) {
    if (AComponent) old->RemoveFreeNotification(AComponent);
    if (AChangeLink) old->UnRegisterChanges(AChangeLink);
    if (ANotify) ANotify(old, true);
  }
  AImagesField = ANewImages;
  if (ANewImages) {
    if (AChangeLink) ANewImages->RegisterChanges(AChangeLink);
    if (AComponent) ANewImages->FreeNotification(AComponent);
    if (ANotify) ANotify(ANewImages, false);
  }
  if (AChangeLink) AChangeLink->Change();
}

bool CompareGraphics(TGraphic* A, TGraphic* B) {
  if (A == B) return true;
  if (!A || !B || A->Width() != B->Width() || A->Height() != B->Height()) return false;
  const TOwned<TMemoryStream> streamA(New<TMemoryStream>());
  const TOwned<TMemoryStream> streamB(New<TMemoryStream>());
  A->SaveToStream(streamA.get());
  B->SaveToStream(streamB.get());
  return streamA->Size() == streamB->Size() &&
         std::memcmp(streamA->Memory(), streamB->Memory(), static_cast<std::size_t>(streamA->Size())) == 0;
}

String GetGraphicDefaultExtension(TGraphic* AGraphic) {
  if (!AGraphic) return String();
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic); image && !image->Empty()) {
    if (const TdxSmartImageCodecClass codec = image->ImageCodec()) return codec->DefaultExt();
  }
  return TPicture::GraphicExtension(AGraphic->ClassType());
}

void DormantGraphic(TGraphic* AGraphic) {
  if (!AGraphic || AGraphic->Empty()) return;
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic))
    bitmap->Dormant();
  else if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic))
    image->Dormant();
}

bool IsVectorGraphic(TGraphic* AGraphic) {
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic))
    return !image->Empty() && SupportsRaw<IdxVectorImage>(image->ImageHandle());
  return SupportsRaw<IdxVectorImage>(AGraphic) != nullptr;
}

// ---------------------------------------------------------------------------
// TdxDrawImageCacheID

void TdxDrawImageCacheID::Reset() { std::memset(static_cast<void*>(this), 0, sizeof *this); }

std::uint32_t TdxDrawImageCacheID::GetHashCode() const { return BobJenkinsHash(this, sizeof *this, 0); }

bool TdxDrawImageCacheID::IsEqual(const TdxDrawImageCacheID& AOther) const {
  return std::memcmp(this, &AOther, sizeof *this) == 0;
}

// ---------------------------------------------------------------------------
// The image-list paint cache

namespace {

struct TdxDrawImageCacheIDHash {
  std::size_t operator()(const TdxDrawImageCacheID& AID) const { return AID.GetHashCode(); }
};
struct TdxDrawImageCacheIDEqual {
  bool operator()(const TdxDrawImageCacheID& A, const TdxDrawImageCacheID& B) const { return A.IsEqual(B); }
};
struct TdxPaintCacheSizeHash {
  std::size_t operator()(const TSize& ASize) const {
    return std::hash<std::uint64_t>()((static_cast<std::uint64_t>(static_cast<std::uint32_t>(ASize.cx)) << 32) |
                                      static_cast<std::uint32_t>(ASize.cy));
  }
};

// A finished image, and its pixels in a DIB of their own for drawing on
// device contexts: one system alpha blend there, where a GDI+ drawing
// would set up a graphics object each time.
struct TdxPaintCacheEntry {
  TOwned<TdxGPImage> Image;
  std::optional<TMemoryDC> Pixels;
};

using TdxPaintCacheImages =
    std::unordered_map<TdxDrawImageCacheID, TdxPaintCacheEntry, TdxDrawImageCacheIDHash, TdxDrawImageCacheIDEqual>;

// The images of one list, per size; it leaves the cache when its list goes.
class TdxImageListCacheHelper : public TComponent {
  SK_CLASS(TdxImageListCacheHelper, TComponent)
 public:
  // AMaxSizeCount 0: twice the number of monitors.
  void Create(TCustomImageList* AImages, int AMaxSizeCount);
  void Destroy() override;

  TdxPaintCacheEntry& GetImage(const TRect& ABounds, int AIndex, TcxImageDrawMode ADrawMode,
                       bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette, bool ASmoothImage);
  void Invalidate();
  int ImageCount() const;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  void ImagesChanged(TObject*) { Invalidate(); }
  TdxPaintCacheImages& ImagesOfSize(const TSize& ASize);

  TCustomImageList* FImageList;
  TOwned<TChangeLink> FImagesChangeLink;
  TdxPaintCacheImages* FLastImages;
  TSize FLastSize;
  int FMaxSizeCount;
  std::unordered_map<TSize, TdxPaintCacheImages, TdxPaintCacheSizeHash> FSizedImages;
  std::deque<TSize> FSizes;
};

// Process-wide state, made at the unit's start-up.
struct TdxPaintCacheState {
  std::unordered_map<TCustomImageList*, TOwned<TdxImageListCacheHelper>> Helpers;
  TCustomImageList* LastImageList = nullptr;
  TdxImageListCacheHelper* LastHelper = nullptr;
  // Helpers whose list went: they are told while the list tells its
  // subscribers, and are freed only after that.
  std::vector<TOwned<TdxImageListCacheHelper>> Retired;
  TOwned<TcxAlphaBitmap> Composition;
  // The pixels of the image prepared last (premultiplied, top row first).
  TRGBColors LastPrepared;
  int PreparedCount = 0;
};
std::unique_ptr<TdxPaintCacheState> GPaintCache;

void RemoveHelper(TCustomImageList* AImages) {
  if (!GPaintCache) return;
  if (GPaintCache->LastImageList == AImages) {
    GPaintCache->LastImageList = nullptr;
    GPaintCache->LastHelper = nullptr;
  }
  const auto it = GPaintCache->Helpers.find(AImages);
  if (it == GPaintCache->Helpers.end()) return;
  GPaintCache->Retired.push_back(std::move(it->second));
  GPaintCache->Helpers.erase(it);
}

TdxImageListCacheHelper* HelperOf(TCustomImageList* AImages) {
  TdxPaintCacheState& state = *GPaintCache;
  state.Retired.clear();
  if (state.LastImageList == AImages && state.LastHelper) return state.LastHelper;
  TOwned<TdxImageListCacheHelper>& helper = state.Helpers[AImages];
  if (!helper) helper.reset(New<TdxImageListCacheHelper>(AImages, 0));
  state.LastImageList = AImages;
  state.LastHelper = helper.get();
  return helper.get();
}

void TdxImageListCacheHelper::Create(TCustomImageList* AImages, int AMaxSizeCount) {
  inherited::Create(nullptr);
  FImageList = AImages;
  FMaxSizeCount = AMaxSizeCount > 0 ? AMaxSizeCount : 2 * std::max(1, Screen() ? Screen()->MonitorCount() : 1);
  FImageList->FreeNotification(this);
  // The library's own lists tell the cache themselves when they change.
  if (!Is<TcxCustomImageList>(AImages)) {
    FImagesChangeLink.reset(New<TChangeLink>());
    FImagesChangeLink->SetOnChange(BindEvent<&TdxImageListCacheHelper::ImagesChanged>(this));
    FImageList->RegisterChanges(FImagesChangeLink.get());
  }
}

void TdxImageListCacheHelper::Destroy() {
  FImagesChangeLink.reset();
  if (FImageList) FImageList->RemoveFreeNotification(this);
  Invalidate();
  inherited::Destroy();
}

void TdxImageListCacheHelper::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove || AComponent != FImageList) return;
  FImagesChangeLink.reset();
  FImageList = nullptr;
  // Its images go now; the helper itself only once the list has told
  // everyone that it is going.
  Invalidate();
  RemoveHelper(static_cast<TCustomImageList*>(AComponent));
}

void TdxImageListCacheHelper::Invalidate() {
  FLastImages = nullptr;
  FLastSize = TSize();
  FSizes.clear();
  FSizedImages.clear();
}

int TdxImageListCacheHelper::ImageCount() const {
  int count = 0;
  for (const auto& [size, images] : FSizedImages) count += static_cast<int>(images.size());
  return count;
}

TdxPaintCacheImages& TdxImageListCacheHelper::ImagesOfSize(const TSize& ASize) {
  if (FLastImages && ASize == FLastSize) return *FLastImages;
  auto it = FSizedImages.find(ASize);
  if (it == FSizedImages.end()) {
    if (static_cast<int>(FSizes.size()) >= FMaxSizeCount) {
      FSizedImages.erase(FSizes.front());
      FSizes.pop_front();
    }
    FSizes.push_back(ASize);
    it = FSizedImages.emplace(ASize, TdxPaintCacheImages(static_cast<std::size_t>(FImageList->Count()))).first;
  }
  FLastSize = ASize;
  FLastImages = &it->second;
  return it->second;
}

TdxPaintCacheEntry& TdxImageListCacheHelper::GetImage(const TRect& ABounds, int AIndex, TcxImageDrawMode ADrawMode,
                                              bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette,
                                              bool ASmoothImage) {
  const TSize size = ABounds.GetSize();
  TdxPaintCacheImages& images = ImagesOfSize(size);
  TdxDrawImageCacheID key;
  key.Reset();
  key.DrawMode = ADrawMode;
  key.ImageIndex = AIndex;
  key.ImageList = FImageList;
  GetPaletteID(APalette, key.PaletteID);
  key.SmoothImage = ASmoothImage;
  key.TransparentColor = clNone;
  key.UseLeftBottomPixelAsTransparent = AUseLeftBottomPixelAsTransparent;
  TdxPaintCacheEntry& entry = images[key];
  if (!entry.Image) {
    TOwned<TdxGPImage> prepared(New<TdxGPImage>());
    TdxImageListPaintCache::PrepareImage(prepared.get(), size, key, APalette);
    entry.Pixels.emplace(TMemoryDC::Dib32(nullptr, size.cx, size.cy));
    const TRGBColors& colors = GPaintCache->LastPrepared;
    if (*entry.Pixels && colors.size() == static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy))
      std::memcpy(entry.Pixels->Bits(), colors.data(), colors.size() * sizeof(RGBQUAD));
    else
      entry.Pixels.reset();
    entry.Image = std::move(prepared);
  }
  return entry;
}

}  // namespace

void TdxImageListPaintCache::Draw(TCanvas* ACanvas, const TRect& ABounds, TCustomImageList* AImages, int AIndex,
                                  TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                                  IdxColorPalette* APalette, bool ASmoothImage) {
  if (!GPaintCache || !ACanvas || !IsValidImageIndex(AImages, AIndex) || ABounds.IsEmpty()) return;
  const TdxPaintCacheEntry& entry = HelperOf(AImages)->GetImage(ABounds, AIndex, ADrawMode,
                                                                AUseLeftBottomPixelAsTransparent, APalette, ASmoothImage);
  const HDC DC = ACanvas->Handle();
  if (entry.Pixels && SystemAlphaBlend(DC, entry.Pixels->DC(), ABounds, TRect(0, 0, ABounds.Width(), ABounds.Height()), 255, true)) return;
  entry.Image->StretchDraw(DC, ABounds, 255);
}

void TdxImageListPaintCache::Draw(TdxGPCanvas* AGraphic, const TRect& ABounds, TCustomImageList* AImages,
                                  int AIndex, TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                                  IdxColorPalette* APalette) {
  if (!GPaintCache || !AGraphic || !IsValidImageIndex(AImages, AIndex) || ABounds.IsEmpty()) return;
  TdxGPImage* image =
      HelperOf(AImages)->GetImage(ABounds, AIndex, ADrawMode, AUseLeftBottomPixelAsTransparent, APalette, true).Image.get();
  image->StretchDraw(AGraphic, ABounds, image->ClientRect());
}

void TdxImageListPaintCache::InvalidateImageList(TCustomImageList* AImages) {
  if (!GPaintCache) return;
  if (const auto it = GPaintCache->Helpers.find(AImages); it != GPaintCache->Helpers.end()) it->second->Invalidate();
}

void TdxImageListPaintCache::PrepareImage(TdxGPImage* ATarget, const TSize& ASize, const TdxDrawImageCacheID& ID,
                                          IdxColorPalette* AColorPalette) {
  TOwned<TcxAlphaBitmap>& composition = GPaintCache->Composition;
  if (composition)
    composition->RefreshImage(ASize.cx, ASize.cy);
  else
    composition.reset(NewWith<TcxAlphaBitmap>(
        [&](TcxAlphaBitmap* ABitmap) { ABitmap->CreateSize(ASize.cx, ASize.cy, true); }));
  DrawImageThroughBuffer(composition->Canvas()->Handle(), composition->ClientRect(), ID.Glyph, ID.ImageList,
                         ID.ImageIndex, ID.DrawMode, ID.SmoothImage, ID.BrushHandle, ID.TransparentColor,
                         ID.UseLeftBottomPixelAsTransparent, AColorPalette);
  if (ID.BrushHandle) composition->MakeOpaque();
  TRGBColors& colors = GPaintCache->LastPrepared;
  colors.clear();
  GetGraphicPixels(composition.get(), colors, true);
  ATarget->LoadFromBits(ASize.cx, ASize.cy, colors, afPremultiplied);
  composition->Dormant();
  ++GPaintCache->PreparedCount;
}

int TdxImageListPaintCache::CachedImageCount(TCustomImageList* AImages) {
  if (!GPaintCache) return 0;
  const auto it = GPaintCache->Helpers.find(AImages);
  return it == GPaintCache->Helpers.end() ? 0 : it->second->ImageCount();
}

int TdxImageListPaintCache::PreparedImageCount() { return GPaintCache ? GPaintCache->PreparedCount : 0; }

// ---------------------------------------------------------------------------
// TdxImageAnimationController

void TdxImageAnimationController::Destroy() {
  StopTimer();
  inherited::Destroy();
}

void TdxImageAnimationController::StartTimer() {
  if (FTimer) return;
  FTimer.reset(CreateTimer(static_cast<unsigned>(std::max(1, FImage->AnimationFrameDelay())), true,
                           BindEvent<&TdxImageAnimationController::TimerElapsed>(this)));
}

void TdxImageAnimationController::StopTimer() { FTimer.reset(); }

bool TdxImageAnimationController::IsTimerActive() { return FTimer && FTimer->Enabled(); }

void TdxImageAnimationController::TimerElapsed(TObject*) { NextFrame(); }

// ---------------------------------------------------------------------------
// Start-up and shut-down

void cxImageDrawingInitialization() {
  GPaintCache = std::make_unique<TdxPaintCacheState>();
  TdxCustomSmartImage::SetAnimationControllerClass(TdxImageAnimationController::ClassInfo());
}

void cxImageDrawingFinalization() {
  TdxCustomSmartImage::SetAnimationControllerClass(TdxSmartImageAnimationController::ClassInfo());
  // Helpers leave the process-wide state while they are freed.
  if (!GPaintCache) return;
  std::unique_ptr<TdxPaintCacheState> state = std::move(GPaintCache);
  state->LastHelper = nullptr;
  state->Helpers.clear();
  state->Retired.clear();
}
