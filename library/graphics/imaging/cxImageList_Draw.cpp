// The image list's drawing: through the paint cache with alpha blending,
// else through the native list.
#include "library/graphics/imaging/cxImageList.h"

#include "platform/ui/GdiScopes.h"

namespace {

constexpr UINT GDrawingStyleFlags[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};

UINT DrawingFlags(TDrawingStyle ADrawingStyle, TImageType AImageType) {
  return GDrawingStyleFlags[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
}

}  // namespace

void TcxCustomImageList::Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, bool AStretch, bool ASmoothResize,
                              bool AEnabled) {
  if (!ACanvas || !IsValidImageIndex(this, AIndex)) return;
  DrawItem(ACanvas, ARect, AIndex, DrawingFlags(DrawingStyle(), ImageType()), AStretch, ASmoothResize, AEnabled);
}

void TcxCustomImageList::DoDraw(int AIndex, TCanvas* ACanvas, int X, int Y, UINT AStyle, bool AEnabled) {
  DrawItem(ACanvas, TRect(X, Y, X + Width(), Y + Height()), AIndex, AStyle, false, false, AEnabled);
}

void TcxCustomImageList::DrawOverlay(TCanvas* ACanvas, int X, int Y, int AImageIndex, int AOverlay,
                                     TDrawingStyle ADrawingStyle, TImageType AImageType, bool AEnabled) {
  if (!ACanvas || !HandleAllocated() || !IsValidImageIndex(this, AImageIndex) || AOverlay < 0 || AOverlay > 14)
    return;
  DoDraw(AImageIndex, ACanvas, X, Y, DrawingFlags(ADrawingStyle, AImageType) | INDEXTOOVERLAYMASK(AOverlay + 1),
         AEnabled);
}

void TcxCustomImageList::DrawItem(TCanvas* ACanvas, const TRect& ARect, int AIndex, UINT AStyle, bool AStretch,
                                  bool ASmooth, bool AEnabled) {
  if (!IsValidImageIndex(this, AIndex)) return;
  const TSize size(Width(), Height());
  // A rectangle of the list's size is never stretched.
  const bool stretch = AStretch && (ARect.Width() != size.cx || ARect.Height() != size.cy);
  const TRect target = stretch ? ARect : CalcImageDrawRect(ARect, size, ifmNormal, true);
  const TcxImageDrawMode mode = AEnabled ? idmNormal : idmDisabled;
  if (FAlphaBlending) {
    TdxImageListPaintCache::Draw(ACanvas, target, this, AIndex, mode, false, nullptr, ASmooth);
  } else if (stretch) {
    const TOwned<TcxBitmap32> image(
        NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(size.cx, size.cy, true); }));
    ImageList_DrawEx(Handle(), AIndex, image->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                     AStyle | ILD_PRESERVEALPHA);
    GdiFlush();
    // The native list gives straight alpha.
    image->SetAlphaFormat(afDefined);
    image->Changed(image.get());
    DrawImageThroughBuffer(ACanvas->Handle(), target, image.get(), nullptr, -1, mode, ASmooth, nullptr, clNone,
                           false, nullptr);
  } else {
    inherited::DoDraw(AIndex, ACanvas, target.Left, target.Top, AStyle, AEnabled);
  }
}
