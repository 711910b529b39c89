#include "library/lookandfeel/animation/dxFading.h"

#include "library/core/base/cxClasses.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <cstring>

namespace {

TdxFader* GFader = nullptr;

bool SystemMenuAnimation() {
  BOOL value = FALSE;
  return SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &value, 0) && value;
}

int SystemScreenBitsPerPixel() {
  TcxScreenCanvas* screen = SharedScreenCanvas();
  return screen ? GetDeviceCaps(screen->Handle(), BITSPIXEL) : 0;
}

TdxFaderSystemProbe GFaderProbe = dxSystemFaderProbe();

bool IsEmptyImage(const TOwned<TBitmap>& AImage) { return !AImage || AImage->Empty(); }

}  // namespace

// ---------------------------------------------------------------------------
// TdxFadingOptions

void TdxFadingOptions::Publish(TPublisher<TdxFadingOptions>& P) {
  P.Property(L"FadeInFrameCount", &TdxFadingOptions::FadeInFrameCount, &TdxFadingOptions::SetFadeInFrameCount)
      .Default(DefaultFadeInFrameCount);
  P.Property(L"FadeInFrameDelay", &TdxFadingOptions::FadeInFrameDelay, &TdxFadingOptions::SetFadeInFrameDelay)
      .Default(DefaultFadeInFrameDelay);
  P.Property(L"FadeOutFrameCount", &TdxFadingOptions::FadeOutFrameCount, &TdxFadingOptions::SetFadeOutFrameCount)
      .Default(DefaultFadeOutFrameCount);
  P.Property(L"FadeOutFrameDelay", &TdxFadingOptions::FadeOutFrameDelay, &TdxFadingOptions::SetFadeOutFrameDelay)
      .Default(DefaultFadeOutFrameDelay);
}

void TdxFadingOptions::Create() {
  inherited::Create();
  FFadeInFrameCount = DefaultFadeInFrameCount;
  FFadeInFrameDelay = DefaultFadeInFrameDelay;
  FFadeOutFrameCount = DefaultFadeOutFrameCount;
  FFadeOutFrameDelay = DefaultFadeOutFrameDelay;
}

void TdxFadingOptions::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxFadingOptions*>(ASource);
  if (!source) return inherited::Assign(ASource);
  SetFadeInFrameCount(source->FadeInFrameCount());
  SetFadeInFrameDelay(source->FadeInFrameDelay());
  SetFadeOutFrameCount(source->FadeOutFrameCount());
  SetFadeOutFrameDelay(source->FadeOutFrameDelay());
}

void TdxFadingOptions::SetFadeInFrameCount(int AValue) { FFadeInFrameCount = std::clamp(AValue, 0, 32); }
void TdxFadingOptions::SetFadeInFrameDelay(int AValue) { FFadeInFrameDelay = std::clamp(AValue, 10, 300); }
void TdxFadingOptions::SetFadeOutFrameCount(int AValue) { FFadeOutFrameCount = std::clamp(AValue, 0, 32); }
void TdxFadingOptions::SetFadeOutFrameDelay(int AValue) { FFadeOutFrameDelay = std::clamp(AValue, 10, 300); }

// ---------------------------------------------------------------------------
// TdxFadingElement

void TdxFadingElement::Create(TdxFader* AOwner, TObject* AElement, IdxFadingObject* AFadingObject) {
  inherited::Create();
  FOwner = AOwner;
  FElement = AElement;
  FFadingObject = AFadingObject;
}

void TdxFadingElement::Destroy() {
  FWorkImage.reset();
  inherited::Destroy();
}

void TdxFadingElement::SetAnimationFrameCount(int AValue) { FAnimationFrameCount = std::clamp(AValue, 1, 32); }

void TdxFadingElement::SetAnimationFrameDelay(int AValue) {
  FAnimationFrameDelay = std::clamp(AValue, 1, 300);
  FDelayCount = std::max(FAnimationFrameDelay / static_cast<int>(TdxFader::TimerInterval), 1);
}

void TdxFadingElement::SetImages(TBitmap* AStartImage, TBitmap* AEndImage) {
  FImageSize = TSize(AStartImage->Width(), AStartImage->Height());
  FImage1Colors = ImageColors(AStartImage);
  FImage2Colors = ImageColors(AEndImage);
}

void TdxFadingElement::TurnTowards(TBitmap* AEndImage) {
  FImage1Colors = FWorkColors;
  FImage2Colors = ImageColors(AEndImage);
  FStage = 0;
  FDelayIndex = 0;
}

TRGBColors TdxFadingElement::ImageColors(TBitmap* AImage) {
  TRGBColors colors;
  if (AImage->PixelFormat() == pf32bit && AImage->HandleType() == bmDIB) {
    // The rows of a 32-bit DIB section as they are, without a device context.
    GdiFlush();
    const std::size_t width = static_cast<std::size_t>(AImage->Width());
    colors.resize(width * static_cast<std::size_t>(AImage->Height()));
    for (int y = 0; y < AImage->Height(); ++y)
      std::memcpy(&colors[width * static_cast<std::size_t>(y)], AImage->ScanLine(y), width * sizeof(RGBQUAD));
  } else {
    GetGraphicPixels(AImage, colors, true);
  }
  TdxFadingHelper::CorrectAlphaChannel(colors);
  return colors;
}

void TdxFadingElement::Blend(int AStage, TRGBColors& AColors) const {
  const std::uint32_t weight = static_cast<std::uint32_t>(MulDiv(AStage, 65536, FAnimationFrameCount));
  const std::uint32_t rest = 65536 - weight;
  const std::size_t count = std::min(FImage1Colors.size(), FImage2Colors.size());
  AColors.resize(count);
  // The four channels of a pixel as bytes of one word, weighted alike.
  const auto* a = reinterpret_cast<const std::uint8_t*>(FImage1Colors.data());
  const auto* b = reinterpret_cast<const std::uint8_t*>(FImage2Colors.data());
  auto* result = reinterpret_cast<std::uint8_t*>(AColors.data());
  for (std::size_t i = 0; i < count * sizeof(RGBQUAD); ++i)
    result[i] = static_cast<std::uint8_t>((a[i] * rest + b[i] * weight) >> 16);
}

void TdxFadingElement::UpdateWorkImage() {
  Blend(FStage, FWorkColors);
  FWorkOpaque = std::ranges::all_of(FWorkColors, [](const RGBQUAD& P) { return P.rgbReserved == 255; });
  // Both looks are opaque or transparent black once repaired, so the
  // weighted channels are premultiplied colours.
  SetWorkImage(TOwned<TdxGPImage>(NewWith<TdxGPImage>([&](TdxGPImage* AImage) {
    AImage->CreateFromBits(FImageSize.cx, FImageSize.cy, FWorkColors, afPremultiplied);
  })));
}

void TdxFadingElement::SetWorkImage(TOwned<TdxGPImage> AValue) {
  // The previous frame goes once the object has been told of the new one.
  TOwned<TdxGPImage> previous = std::exchange(FWorkImage, std::move(AValue));
  FFadingObject->DrawFadeImage();
}

bool TdxFadingElement::Tick() {
  FDelayIndex = (FDelayIndex + 1) % FDelayCount;
  if (FDelayIndex != 0) return true;
  if (FStage >= FAnimationFrameCount) return false;
  ++FStage;
  UpdateWorkImage();
  return true;
}

// ---------------------------------------------------------------------------
// TdxFader

TdxFaderSystemProbe dxSystemFaderProbe() { return {&SystemMenuAnimation, &SystemScreenBitsPerPixel}; }
const TdxFaderSystemProbe& dxFaderProbe() { return GFaderProbe; }
void dxSetFaderProbe(const TdxFaderSystemProbe& AValue) { GFaderProbe = AValue; }

void TdxFader::Create() {
  inherited::Create();
  FMaxAnimationCount = DefaultMaxAnimationCount;
  FState = fasDefault;
  FTimer.reset(CreateTimer(TimerInterval, false, BindEvent<&TdxFader::TimerHandler>(this)));
}

void TdxFader::Destroy() {
  Clear();
  FTimer.reset();
  FFrameBuffer.reset();
  inherited::Destroy();
}

bool TdxFader::Active() const {
  switch (FState) {
    case fasEnabled:
      return true;
    case fasDisabled:
      return false;
    default:
      return GFaderProbe.MenuAnimation();
  }
}

bool TdxFader::IsReady() const {
  return Active() && FMaxAnimationCount > 0 && CheckGdiPlusAvailable(false) && GFaderProbe.ScreenBitsPerPixel() > 16;
}

bool TdxFader::TimerEnabled() const { return FTimer && FTimer->Enabled(); }

void TdxFader::Fade(TObject* AObject, TdxFadingState AState) {
  if (!IsReady()) return;
  IdxFadingObject* fadingObject = SupportsRaw<IdxFadingObject>(AObject);
  if (!fadingObject || !fadingObject->CanFade()) return;
  TOwned<TBitmap> normal;
  TOwned<TBitmap> hot;
  fadingObject->GetFadingImages(normal, hot);
  TOwned<TdxFadingOptions> options(New<TdxFadingOptions>());
  if (auto* provider = SupportsRaw<IFadingOptionsProvider>(AObject))
    if (TdxFadingOptions* own = provider->GetFadingOptions()) options->Assign(own);
  // Readiness was read above: reading the screen's depth again costs more
  // than a frame.
  if (AState == fsFadeIn)
    StartFade(AObject, std::move(normal), options->FadeInFrameDelay(), options->FadeInFrameCount(), std::move(hot));
  else
    StartFade(AObject, std::move(hot), options->FadeOutFrameDelay(), options->FadeOutFrameCount(), std::move(normal));
}

void TdxFader::Fade(TObject* AObject, TOwned<TBitmap> AImage1, int AAnimationFrameDelay, int AAnimationFrameCount,
                    TOwned<TBitmap> AImage2) {
  if (IsReady())
    StartFade(AObject, std::move(AImage1), AAnimationFrameDelay, AAnimationFrameCount, std::move(AImage2));
}

void TdxFader::StartFade(TObject* AObject, TOwned<TBitmap> AImage1, int AAnimationFrameDelay,
                         int AAnimationFrameCount, TOwned<TBitmap> AImage2) {
  IdxFadingObject* fadingObject = SupportsRaw<IdxFadingObject>(AObject);
  if (!fadingObject || !fadingObject->CanFade()) return;
  if (IsEmptyImage(AImage1) || IsEmptyImage(AImage2) || AImage1->Width() != AImage2->Width() ||
      AImage1->Height() != AImage2->Height() || AAnimationFrameCount <= 0)
    return;
  TdxFadingElement* element;
  if (Find(AObject, element)) {
    if (element->ImageSize() == TSize(AImage1->Width(), AImage1->Height())) {
      // Reversed half-way: the new fade starts from what is on the screen.
      element->TurnTowards(AImage2.get());
      element->SetAnimationFrameCount(AAnimationFrameCount);
      element->SetAnimationFrameDelay(AAnimationFrameDelay);
    } else {
      element->SetImages(AImage1.get(), AImage2.get());
    }
  } else {
    element = New<TdxFadingElement>(this, AObject, fadingObject);
    FList.emplace_back(element);
    element->SetAnimationFrameCount(AAnimationFrameCount);
    element->SetAnimationFrameDelay(AAnimationFrameDelay);
    element->SetImages(AImage1.get(), AImage2.get());
    CheckList();
    if (!Find(AObject, element)) return;
  }
  element->UpdateWorkImage();
}

int TdxFader::IndexOf(TObject* AObject) const {
  const auto it = std::ranges::find_if(FList, [AObject](const auto& E) { return E->Element() == AObject; });
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

bool TdxFader::Find(TObject* AObject, TdxFadingElement*& AFadingElement) const {
  const int index = IndexOf(AObject);
  AFadingElement = index >= 0 ? FList[static_cast<std::size_t>(index)].get() : nullptr;
  return AFadingElement != nullptr;
}

bool TdxFader::DrawFadeImage(TObject* AObject, HDC DC, const TRect& R) {
  TdxFadingElement* element;
  if (!Find(AObject, element) || !element->WorkImage()) return false;
  // Through GDI from a buffer the fader keeps: a GDI+ drawing per frame
  // would cost many times the blending itself.
  const TSize size = element->ImageSize();
  if (!FFrameBuffer || FFrameBuffer->Width() < size.cx || FFrameBuffer->Height() < size.cy) {
    const int width = std::max(size.cx, FFrameBuffer ? FFrameBuffer->Width() : 0);
    const int height = std::max(size.cy, FFrameBuffer ? FFrameBuffer->Height() : 0);
    FFrameBuffer.reset();
    FFrameBuffer.emplace(TMemoryDC::Dib32(nullptr, width, height));
  }
  bool drawn = false;
  if (*FFrameBuffer) {
    GdiFlush();
    const std::size_t width = static_cast<std::size_t>(size.cx);
    for (int y = 0; y < size.cy; ++y)
      std::memcpy(FFrameBuffer->Bits() + static_cast<std::size_t>(FFrameBuffer->Width()) * y,
                  &element->WorkColors()[width * static_cast<std::size_t>(y)], width * sizeof(RGBQUAD));
    if (element->WorkOpaque() && R.GetSize() == size) {
      drawn = BitBlt(DC, R.Left, R.Top, size.cx, size.cy, FFrameBuffer->DC(), 0, 0, SRCCOPY);
    } else {
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      drawn = AlphaBlend(DC, R.Left, R.Top, R.Width(), R.Height(), FFrameBuffer->DC(), 0, 0, size.cx, size.cy, blend);
    }
  }
  // Where GDI cannot blend (a metafile, a printer), GDI+ draws the image.
  if (!drawn) element->WorkImage()->StretchDraw(DC, R, 255);
  return true;
}

bool TdxFader::DrawFadeImage(TObject* AObject, TcxCustomCanvas* ACanvas, const TRect& R) {
  TdxFadingElement* element;
  if (!Find(AObject, element) || !element->WorkImage()) return false;
  ACanvas->DrawImage(element->WorkImage(), R);
  return true;
}

void TdxFader::Remove(TObject* AObject, bool ADestroying) {
  TdxFadingElement* element;
  if (!Find(AObject, element)) return;
  FreeElement(element, ADestroying);
  CheckList();
}

void TdxFader::Clear() {
  while (!FList.empty()) FList.pop_back();
  CheckList();
}

void TdxFader::SetMaxAnimationCount(int AValue) {
  FMaxAnimationCount = std::clamp(AValue, 0, MaxAnimationCountLimit);
  CheckList();
}

void TdxFader::FreeElement(TdxFadingElement* AElement, bool ADestroying) {
  const auto it = std::ranges::find_if(FList, [AElement](const auto& E) { return E.get() == AElement; });
  if (it == FList.end()) return;
  // Out of the list first: the repaint request may reach the fader again.
  TOwned<TdxFadingElement> element = std::move(*it);
  FList.erase(it);
  if (!ADestroying) element->SetWorkImage(nullptr);
}

void TdxFader::CheckList() {
  while (static_cast<int>(FList.size()) > FMaxAnimationCount) FreeElement(FList.front().get(), false);
  if (FTimer) FTimer->SetEnabled(!FList.empty());
}

void TdxFader::TimerHandler(TObject*) {
  // Repaint requests may end fades, their own or others: each element is
  // looked up again before it is touched.
  std::vector<TdxFadingElement*> elements;
  for (const auto& element : FList) elements.push_back(element.get());
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    const bool present = std::ranges::any_of(FList, [&](const auto& E) { return E.get() == *it; });
    if (present && !(*it)->Tick()) FreeElement(*it, false);
  }
  CheckList();
}

TdxFader* GetFader() { return GFader; }

// ---------------------------------------------------------------------------
// TdxFadingObjectHelper

void TdxFadingObjectHelper::Destroy() {
  if (TdxFader* fader = GetFader()) fader->Remove(this, true);
  inherited::Destroy();
}

bool TdxFadingObjectHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxFadingObject>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxFadingObjectHelper::CheckStartFading(int APrevState, int AState) {
  constexpr int Default = 0;
  constexpr int Normal = 1;
  constexpr int Hot = 2;
  const auto isPlain = [](int AValue) { return AValue == Default || AValue == Normal; };
  if (APrevState == AState) return;
  if (AState == Hot && isPlain(APrevState))
    FadeIn();
  else if (APrevState == Hot && isPlain(AState))
    FadeOut();
  else
    StopFading();
}

void TdxFadingObjectHelper::FadeIn() {
  if (TdxFader* fader = GetFader()) fader->FadeIn(this);
}

void TdxFadingObjectHelper::FadeOut() {
  if (TdxFader* fader = GetFader()) fader->FadeOut(this);
}

void TdxFadingObjectHelper::StopFading() {
  if (TdxFader* fader = GetFader()) fader->Remove(this, false);
}

bool TdxFadingObjectHelper::DrawImage(HDC DC, const TRect& R) {
  TdxFader* fader = GetFader();
  return fader && fader->DrawFadeImage(this, DC, R);
}

bool TdxFadingObjectHelper::Active() {
  TdxFader* fader = GetFader();
  return fader && fader->Contains(this);
}

// ---------------------------------------------------------------------------
// TdxFadingHelper

TColor TdxFadingHelper::CheckColor(TColor AColor) {
  const TColor color = ColorToRGB(AColor);
  return color == 0 ? static_cast<TColor>(RGB(1, 1, 1)) : color;
}

void TdxFadingHelper::CorrectAlphaChannel(std::span<RGBQUAD> AColors) {
  for (RGBQUAD& pixel : AColors)
    if (pixel.rgbReserved == 0 && (pixel.rgbRed | pixel.rgbGreen | pixel.rgbBlue) != 0) pixel.rgbReserved = 255;
}

void TdxFadingHelper::CorrectAlphaChannel(TBitmap* ABitmap) {
  TRGBColors colors;
  if (!GetGraphicPixels(ABitmap, colors, true)) return;
  CorrectAlphaChannel(colors);
  SetGraphicPixels(ABitmap, colors, true);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void dxFadingInitialization() { GFader = New<TdxFader>(); }

void dxFadingFinalization() { FreeAndNil(GFader); }
