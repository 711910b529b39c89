// The GDI+ smart images: TdxGPImage, TdxSmartImage, TdxPNGImage and TdxSmartGlyph.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cstring>

using namespace Gdiplus;

namespace {

TRect RoundedRect(const TdxRectF& R) { return TRect(TPoint(R.TopLeft()), TPoint(R.BottomRight())); }

}  // namespace

// ---------------------------------------------------------------------------
// TdxGPImage

GpImage* TdxGPImage::Handle() {
  HandleNeeded();
  if (!dynamic_cast<TdxGPImageHandle*>(FHandle.get())) {
    ConvertToBitmap();
    HandleNeeded();
  }
  const auto* handle = dynamic_cast<TdxGPImageHandle*>(FHandle.get());
  return handle ? handle->Handle() : nullptr;
}

void TdxGPImage::SetHandle(GpImage* AValue) {
  if (const auto* current = dynamic_cast<TdxGPImageHandle*>(FHandle.get()); current && current->Handle() == AValue)
    return;
  TOwned<TdxGPImageHandle> handle(New<TdxGPImageHandle>(AValue));
  FreeImage();
  FHandle = std::move(handle);
  Changed(this);
}

TOwned<TdxGPImage> TdxGPImage::Clone() {
  return TOwned<TdxGPImage>(static_cast<TdxGPImage*>(TdxCustomSmartImage::Clone().release()));
}

TOwned<TdxGPCanvas> TdxGPImage::CreateCanvas() {
  // The canvas draws into the image's pixels, so what is stored must be
  // those pixels and nothing encoded besides.
  if (ImageData()->Data()) {
    if (ImageData()->Bits().empty())
      SetBitmap(GetAsBitmap().get());
    else
      ImageData()->SetData(nullptr);
  }
  Handle();
  auto* handle = dynamic_cast<TdxGPImageHandle*>(FHandle.get());
  TOwned<TdxGPCanvas> canvas = handle ? handle->CreateCanvas() : TOwned<TdxGPCanvas>(New<TdxGPCanvas>());
  Changed(this);
  return canvas;
}

void TdxGPImage::StretchDraw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                             TdxGPImageAttributes* AAttributes, IdxColorPalette* AColorPalette) {
  if (auto* draw = SupportsRaw<IdxGPGraphicDraw>(ImageHandle()))
    draw->Draw(ACanvas, ADest, ASource, AAttributes, AColorPalette);
  else
    StretchDraw(ACanvas, RoundedRect(ADest), RoundedRect(ASource), AAttributes, AColorPalette);
}

void TdxGPImage::StretchDraw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                             TdxGPImageAttributes* AAttributes, IdxColorPalette* AColorPalette) {
  if (auto* draw = SupportsRaw<IdxGPGraphicDraw>(ImageHandle())) {
    draw->Draw(ACanvas, ADest, ASource, AAttributes, AColorPalette);
    return;
  }
  const auto* alphaBlend = dynamic_cast<TdxGPAlphaBlendAttributes*>(AAttributes);
  const std::uint8_t alpha = alphaBlend ? alphaBlend->Alpha() : 255;
  const XFORM transform = ACanvas->GetWorldTransform()->ToXForm();
  const TdxGPCanvasDCScope DC(ACanvas);
  const TSavedWorldTransform saved(DC.Get());
  SetWorldTransform(DC.Get(), &transform);
  inherited::StretchDraw(DC.Get(), ADest, ASource, alpha, AColorPalette);
}

TOwned<TdxGPImage> TdxGPImage::MakeComposition(TdxGPImage* AOverlayImage, std::uint8_t AOverlayAlpha,
                                               std::uint8_t ASourceAlpha) {
  const TSize size = Size();
  TOwned<TdxGPImage> result(NewWith<TdxGPImage>([&](TdxGPImage* AResult) { AResult->CreateSize(size, 0); }));
  if (Empty()) return result;
  const TOwned<TdxGPCanvas> canvas = result->CreateCanvas();
  StretchDraw(canvas.get(), ClientRect(), ClientRect(), GetAlphaBlendAttributes(ASourceAlpha));
  AOverlayImage->StretchDraw(canvas.get(), result->ClientRect(), AOverlayImage->ClientRect(),
                             GetAlphaBlendAttributes(AOverlayAlpha));
  return result;
}

void TdxGPImage::Flip(bool AHorizontally, bool AVertically) {
  if ((!AHorizontally && !AVertically) || Empty()) return;
  if (!SupportsRaw<IdxGpFlipContent>(ImageHandle())) ConvertToBitmap();
  SupportsRaw<IdxGpFlipContent>(ImageHandle())->Flip(AHorizontally, AVertically);
  // The stored bytes or pixels show the image unflipped: the handle, which
  // no longer reads them, is the image now.
  ImageData()->Clear();
  Changed(this);
}

void TdxGPImage::Draw(TCanvas* ACanvas, const TRect& ARect) {
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->SetPixelOffsetMode(PixelOffsetModeHalf);
  StretchDraw(paint.Canvas(), ARect, ClientRect());
}

TOwned<TdxSmartImageCustomHandle> TdxGPImage::CreateResizedHandle(const TSize& ASize) {
  const auto* handle = dynamic_cast<TdxGPImageHandle*>(FHandle.get());
  if (!handle) return nullptr;
  TOwned<TdxGPImageHandle> result = handle->Clone();
  result->SetSize(ASize);
  return result;
}

TdxSmartImageCodecClass TdxGPImage::StorageCodec() {
  const TdxSmartImageCodecClass codec = ImageCodec();
  if (codec && codec->GetFormatID() == dxImageMemoryBmp && IsAlphaUsed())
    return TdxSmartImageCodecsRepository::GetFormatByID(dxImagePng);
  return codec;
}

void TdxGPImage::EnsureEncodedData() {
  if (!ImageData()->Data()) ImageData()->SetData(Encode(StorageCodec()));
}

void TdxGPImage::SaveToStream(TStream* AStream) {
  if (!Empty() && !ImageData()->Data())
    SaveToStreamByCodec(AStream, StorageCodec());
  else
    inherited::SaveToStream(AStream);
}

TOwned<TdxSmartImageDataStream> TdxGPImage::NewDataStream() {
  return TOwned<TdxSmartImageDataStream>(New<TdxGPMemoryStream>());
}

// ---------------------------------------------------------------------------
// TdxSmartImage and TdxPNGImage

bool TdxSmartImage::TMeta::CanLoadFromStream(TStream* AStream) const {
  return TdxSmartImageCodecsRepository::GetFormatFromStream(AStream) != nullptr;
}

void TdxPNGImage::SaveToStream(TStream* AStream) { SaveToStreamByCodec(AStream, GetImageCodec()); }

TdxSmartImageCodecClass TdxPNGImage::GetImageCodec() { return dxCodec<TdxGPImageCodecPNG>(); }

// ---------------------------------------------------------------------------
// TdxSmartGlyph

void TdxSmartGlyph::Publish(TPublisher<TdxSmartGlyph>& P) {
  P.Property(L"SourceDPI", &TdxSmartGlyph::SourceDPI, &TdxSmartGlyph::SetSourceDPI)
      .Stored(&TdxSmartGlyph::IsSourceDPIStored);
  P.Property(L"SourceHeight", &TdxSmartGlyph::SourceHeight, &TdxSmartGlyph::SetSourceHeight)
      .Stored(&TdxSmartGlyph::IsSourceHeightStored);
  P.Property(L"SourceWidth", &TdxSmartGlyph::SourceWidth, &TdxSmartGlyph::SetSourceWidth)
      .Stored(&TdxSmartGlyph::IsSourceWidthStored);
}

void TdxSmartGlyph::Create() {
  inherited::Create();
  FTransparent = true;
}

void TdxSmartGlyph::AfterConstruction() {
  inherited::AfterConstruction();
  FSourceDPI = dxDefaultDPI;
}

bool TdxSmartGlyph::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxSourceSize, IdxSourceDPI>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxSmartGlyph::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  Changed(this);
}

void TdxSmartGlyph::SetSourceDPI(int AValue) {
  AValue = ClampDpi(AValue);
  if (FSourceDPI == AValue) return;
  FSourceDPI = AValue;
  Changed(this);
}

int TdxSmartGlyph::SourceWidth() const { return FSourceWidth != 0 ? FSourceWidth : Width(); }

int TdxSmartGlyph::SourceHeight() const { return FSourceHeight != 0 ? FSourceHeight : Height(); }

void TdxSmartGlyph::SetSourceWidth(int AValue) { SetSourceSize(FSourceWidth, AValue, Width()); }

void TdxSmartGlyph::SetSourceHeight(int AValue) { SetSourceSize(FSourceHeight, AValue, Height()); }

void TdxSmartGlyph::SetSourceSize(int& AField, int AValue, int AOwnSize) {
  AValue = std::max(AValue, 0);
  // The glyph's own size is no size of its own.
  if (AValue == AOwnSize) AValue = 0;
  if (AField == AValue) return;
  AField = AValue;
  Changed(this);
}

TSize TdxSmartGlyph::GetSourceSize() {
  if (FSourceWidth != 0 || FSourceHeight != 0) return TSize(SourceWidth(), SourceHeight());
  return Size();
}

void TdxSmartGlyph::AssignSmartImage(TdxCustomSmartImage* AImage) {
  inherited::AssignSmartImage(AImage);
  if (auto* glyph = dynamic_cast<TdxSmartGlyph*>(AImage)) {
    SetSourceDPI(glyph->SourceDPI());
    SetSourceHeight(glyph->SourceHeight());
    SetSourceWidth(glyph->SourceWidth());
  }
}

void TdxSmartGlyph::LoadFromBitmapData(TBitmap* ABitmap) {
  ImageData()->SetTransparent(FTransparent);
  inherited::LoadFromBitmapData(ABitmap);
}

bool TdxSmartGlyph::IsBitmapStream(TStream* AStream) {
  if (inherited::IsBitmapStream(AStream)) return true;
  // The form data of a class-library bitmap: the file's length, then the file.
  const std::int64_t position = AStream->Position();
  std::uint8_t head[4 + 14];
  if (AStream->Read(head, sizeof head) == static_cast<int>(sizeof head) && head[4] == 'B' && head[5] == 'M') {
    std::uint32_t length, fileSize;
    std::memcpy(&length, head, 4);
    std::memcpy(&fileSize, head + 6, 4);
    if (length == fileSize) {
      AStream->SetPosition(position + 4);
      return true;
    }
  }
  AStream->SetPosition(position);
  return false;
}
