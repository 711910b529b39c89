// The push button's cross-fade between its normal (or default) face and its
// hot face, run by the look-and-feel's fader.
#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/stdctrls/cxButtons.h"

void TcxButtonFadingHelper::Create(TcxCustomButton* AButton) {
  inherited::Create();
  FButton = AButton;
}

bool TcxButtonFadingHelper::CanFade() { return FButton->CanFade(); }

void TcxButtonFadingHelper::DrawFadeImage() { FButton->Invalidate(); }

void TcxButtonFadingHelper::GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) {
  const bool active = FButton->CanBeFocused() && FButton->IsFocused();
  AFadeOutImage = StateImage(active ? cxbsDefault : cxbsNormal);
  AFadeInImage = StateImage(cxbsHot);
}

TOwned<TBitmap> TcxButtonFadingHelper::StateImage(TcxButtonState AState) {
  TcxButtonViewInfo* viewInfo = FButton->ViewInfo();
  const TRect bounds = viewInfo->Bounds();
  if (bounds.IsEmpty()) return {};
  // Cleared to transparent: where the theme's face lets the parent through,
  // the fade does too.
  TOwned<TcxBitmap32> image(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(bounds, true); }));
  const TcxButtonState saved = viewInfo->State();
  viewInfo->SetState(AState);
  viewInfo->DrawBackground(image->cxCanvas());
  viewInfo->SetState(saved);
  return TOwned<TBitmap>(image.release());
}

// ---------------------------------------------------------------------------
// TcxCustomButton

bool TcxCustomButton::CanFade() const {
  const TcxLookAndFeelStyle style = FViewInfo->Painter()->LookAndFeelStyle();
  return (style == lfsNative || style == lfsSkin) && IsHotTrackAvailable() && !FOnCustomDraw &&
         !(FKind == cxbkCommandLink && !IsWinVistaOrLater);
}
