#include "library/vector/dxSVGImage.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/Handles.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int ZBufferSize = 32768;

// Supersampling budgets by quality: the pixels of the larger side and the
// largest factor.
struct TdxSVGQualityBudget {
  int Pixels;
  int Cap;
};
constexpr TdxSVGQualityBudget QualityBudgets[] = {{1024, 16}, {1536, 24}, {2048, 32}};

// Sides scaled down so that neither the side nor the area bound is passed.
double RasterScaleWithinBounds(double AWidth, double AHeight) {
  const double side = std::max(AWidth, AHeight);
  const double area = AWidth * AHeight;
  double scale = 1;
  if (side > TdxSVGImageHandle::MaxRasterSide) scale = TdxSVGImageHandle::MaxRasterSide / side;
  if (area * scale * scale > TdxSVGImageHandle::MaxRasterPixels)
    scale = std::sqrt(TdxSVGImageHandle::MaxRasterPixels / area);
  return scale;
}

TSize RasterSize(double AWidth, double AHeight) {
  return TSize(std::max(1, static_cast<int>(AWidth)), std::max(1, static_cast<int>(AHeight)));
}

bool RectIsEmpty(const TdxRectF& R) { return !(R.Right > R.Left) || !(R.Bottom > R.Top); }

// The source pixels each target pixel covers, with the share of each.
struct TdxSVGAreaSpan {
  int First;
  std::vector<float> Weights;
};

std::vector<TdxSVGAreaSpan> AreaSpans(int ASource, int ATarget) {
  std::vector<TdxSVGAreaSpan> result(static_cast<std::size_t>(ATarget));
  const double ratio = static_cast<double>(ASource) / ATarget;
  for (int i = 0; i < ATarget; ++i) {
    const double from = i * ratio;
    const double to = std::min<double>((i + 1) * ratio, ASource);
    TdxSVGAreaSpan& span = result[static_cast<std::size_t>(i)];
    span.First = static_cast<int>(from);
    for (int j = span.First; j < to; ++j)
      span.Weights.push_back(static_cast<float>((std::min<double>(to, j + 1) - std::max<double>(from, j)) / ratio));
  }
  return result;
}

// Copies the whole bitmap into the buffer of AData or back (AMode).
void CopyPixels(TdxGPImageHandle* AImage, Gdiplus::BitmapData& AData, Gdiplus::ImageLockMode AMode) {
  auto* bitmap = static_cast<GpBitmap*>(AImage->Handle());
  const Gdiplus::Rect rect(0, 0, AImage->Width(), AImage->Height());
  CheckGdipStatus(GdipBitmapLockBits(bitmap, &rect, AMode | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                                     &AData));
  CheckGdipStatus(GdipBitmapUnlockBits(bitmap, &AData));
}

// Whole blocks of pixels: integer sums, rounded to nearest.
void ReduceByBlocks(const std::vector<std::uint32_t>& ASource, const TSize& ASourceSize,
                    std::vector<std::uint32_t>& ATarget, const TSize& ATargetSize) {
  const int bx = ASourceSize.cx / ATargetSize.cx;
  const int by = ASourceSize.cy / ATargetSize.cy;
  const std::uint32_t count = static_cast<std::uint32_t>(bx) * by;
  std::vector<std::uint32_t> sums(static_cast<std::size_t>(ATargetSize.cx) * 4);
  for (int ty = 0; ty < ATargetSize.cy; ++ty) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int y = ty * by; y < (ty + 1) * by; ++y) {
      const std::uint32_t* line = ASource.data() + static_cast<std::size_t>(y) * ASourceSize.cx;
      for (int tx = 0; tx < ATargetSize.cx; ++tx) {
        std::uint32_t* sum = sums.data() + static_cast<std::size_t>(tx) * 4;
        for (int x = tx * bx; x < (tx + 1) * bx; ++x) {
          const std::uint32_t p = line[x];
          sum[0] += p & 0xFF;
          sum[1] += (p >> 8) & 0xFF;
          sum[2] += (p >> 16) & 0xFF;
          sum[3] += p >> 24;
        }
      }
    }
    for (int tx = 0; tx < ATargetSize.cx; ++tx) {
      const std::uint32_t* sum = sums.data() + static_cast<std::size_t>(tx) * 4;
      std::uint32_t value = 0;
      for (int c = 0; c < 4; ++c) value |= ((sum[c] + count / 2) / count) << (8 * c);
      ATarget[static_cast<std::size_t>(ty) * ATargetSize.cx + tx] = value;
    }
  }
}

// Fractions of pixels at the edges of each target pixel.
void ReduceBySpans(const std::vector<std::uint32_t>& ASource, const TSize& ASourceSize,
                   std::vector<std::uint32_t>& ATarget, const TSize& ATargetSize) {
  const std::vector<TdxSVGAreaSpan> columns = AreaSpans(ASourceSize.cx, ATargetSize.cx);
  const std::vector<TdxSVGAreaSpan> rows = AreaSpans(ASourceSize.cy, ATargetSize.cy);
  // Rows first, into four floats a pixel.
  std::vector<float> narrowed(static_cast<std::size_t>(ATargetSize.cx) * ASourceSize.cy * 4);
  for (int y = 0; y < ASourceSize.cy; ++y) {
    const std::uint32_t* line = ASource.data() + static_cast<std::size_t>(y) * ASourceSize.cx;
    float* out = narrowed.data() + static_cast<std::size_t>(y) * ATargetSize.cx * 4;
    for (const TdxSVGAreaSpan& span : columns) {
      float sums[4] = {0, 0, 0, 0};
      for (std::size_t j = 0; j < span.Weights.size(); ++j) {
        const std::uint32_t p = line[static_cast<std::size_t>(span.First) + j];
        for (int c = 0; c < 4; ++c) sums[c] += span.Weights[j] * static_cast<float>((p >> (8 * c)) & 0xFF);
      }
      for (int c = 0; c < 4; ++c) *out++ = sums[c];
    }
  }
  for (int y = 0; y < ATargetSize.cy; ++y) {
    const TdxSVGAreaSpan& span = rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < ATargetSize.cx; ++x) {
      float sums[4] = {0, 0, 0, 0};
      for (std::size_t j = 0; j < span.Weights.size(); ++j) {
        const float* p = narrowed.data() + ((static_cast<std::size_t>(span.First) + j) * ATargetSize.cx + x) * 4;
        for (int c = 0; c < 4; ++c) sums[c] += span.Weights[j] * p[c];
      }
      std::uint32_t value = 0;
      for (int c = 0; c < 4; ++c)
        value |= static_cast<std::uint32_t>(std::clamp(std::lround(sums[c]), 0L, 255L)) << (8 * c);
      ATarget[static_cast<std::size_t>(y) * ATargetSize.cx + x] = value;
    }
  }
}

// The raster reduced to ASize by averaging the premultiplied pixels each
// target pixel covers: the antialiasing that supersampling is for. (GDI+
// interpolates between neighbouring pixels only, so reducing far with it
// would keep single pixels.)
TOwned<TdxGPImageHandle> ReduceByArea(TdxGPImageHandle* AImage, const TSize& ASize) {
  const TSize source = AImage->Size();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(source.cx) * source.cy);
  Gdiplus::BitmapData data{};
  data.Width = static_cast<UINT>(source.cx);
  data.Height = static_cast<UINT>(source.cy);
  data.Stride = source.cx * 4;
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = pixels.data();
  CopyPixels(AImage, data, Gdiplus::ImageLockModeRead);
  std::vector<std::uint32_t> reduced(static_cast<std::size_t>(ASize.cx) * ASize.cy);
  if (source.cx % ASize.cx == 0 && source.cy % ASize.cy == 0)
    ReduceByBlocks(pixels, source, reduced, ASize);
  else
    ReduceBySpans(pixels, source, reduced, ASize);
  TOwned<TdxGPImageHandle> result(NewWith<TdxGPImageHandle>([&](TdxGPImageHandle* H) { H->CreateSize(ASize); }));
  data.Width = static_cast<UINT>(ASize.cx);
  data.Height = static_cast<UINT>(ASize.cy);
  data.Stride = ASize.cx * 4;
  data.Scan0 = reduced.data();
  CopyPixels(result.get(), data, Gdiplus::ImageLockModeWrite);
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxSVGSourceData

void TdxSVGSourceData::Create(TdxXMLDocument* ADocument) {
  FData.reset(New<TdxGPMemoryStream>());
  ADocument->SetAutoIndent(true);
  const TOwned<TMemoryStream> text(New<TMemoryStream>());
  ADocument->SaveToStream(text.get());
  z_stream z{};
  if (deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK) throw EdxException(L"deflateInit");
  const TScopeExit end([&] { deflateEnd(&z); });
  z.next_in = static_cast<Bytef*>(text->Memory());
  z.avail_in = static_cast<uInt>(text->Size());
  Bytef buffer[ZBufferSize];
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    z.next_out = buffer;
    z.avail_out = ZBufferSize;
    status = deflate(&z, Z_FINISH);
    if (status == Z_STREAM_ERROR) throw EdxException(L"deflate");
    FData->WriteBuffer(buffer, ZBufferSize - static_cast<int>(z.avail_out));
  }
}

void TdxSVGSourceData::SaveToStream(TStream* AStream) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EdxException(L"inflateInit");
  const TScopeExit end([&] { inflateEnd(&z); });
  z.next_in = static_cast<Bytef*>(FData->Memory());
  z.avail_in = static_cast<uInt>(FData->Size());
  Bytef buffer[ZBufferSize];
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    z.next_out = buffer;
    z.avail_out = ZBufferSize;
    status = inflate(&z, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) throw EdxException(L"inflate");
    AStream->WriteBuffer(buffer, ZBufferSize - static_cast<int>(z.avail_out));
  }
}

// ---------------------------------------------------------------------------
// TdxSVGImageHandle

void TdxSVGImageHandle::Create(TdxSVGElementRoot* ARoot) {
  FRoot.reset(ARoot);
  FRenderQuality = srqDefault;
  FInterpolationMode = imDefault;
  FSmoothingMode = smDefault;
}

void TdxSVGImageHandle::Destroy() {
  FCachedImage.reset();
  FSourceData.reset();
  FRoot.reset();
  inherited::Destroy();
}

bool TdxSVGImageHandle::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxVectorImage, IdxImageDataFormatEx, IdxGpFlipContent, IdxGPGraphicDraw>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TdxRectF TdxSVGImageHandle::NaturalBox() const {
  if (!FRoot) return TdxRectF();
  TdxRectF result = FRoot->ViewBox().Value();
  const auto pixels = [](const TdxSVGValue& AValue) {
    return AValue.UnitsType == utPercents ? 0.0f : AValue.ToPixels(96);
  };
  if (FRoot->ViewBox().Width() == 0) result.Right = result.Left + pixels(FRoot->Width());
  if (FRoot->ViewBox().Height() == 0) result.Bottom = result.Top + pixels(FRoot->Height());
  return result;
}

TSize TdxSVGImageHandle::NaturalSize() const {
  const TdxRectF box = NaturalBox();
  return dxSVGRoundSize(TdxSizeF(box.Width(), box.Height()));
}

TSize TdxSVGImageHandle::GetSize() const {
  if (!FRoot) return TSize(0, 0);
  const TSize natural = NaturalSize();
  const TSize size = dxSVGRoundSize(FRoot->Size());
  if (natural.cx == 0 || natural.cy == 0 || size.cx == 0 || size.cy == 0) return TSize(0, 0);
  return size;
}

TdxSVGRenderQuality TdxSVGImageHandle::EffectiveQuality() const {
  return FRenderQuality == srqDefault ? srqHigh : FRenderQuality;
}

TdxGPInterpolationMode TdxSVGImageHandle::EffectiveInterpolationMode() const {
  if (FInterpolationMode != imDefault) return FInterpolationMode;
  return IsWinSevenOrLater ? imBilinear : imHighQualityBilinear;
}

int TdxSVGImageHandle::SupersamplingFactor(int S, int T, TdxSVGRenderQuality AQuality) {
  if (S <= 0) return 1;
  if (S <= 16 && AQuality == srqHigh) return (768 / S + 1) / 16 * 16;
  const TdxSVGQualityBudget& budget = QualityBudgets[std::clamp(static_cast<int>(AQuality), 1, 3) - 1];
  const int floor = S <= 16 ? 32 : 1;
  const int d = std::min(budget.Pixels / S, budget.Cap);
  const int divisor = std::gcd(std::max(T, 1), S);
  const int reduced = std::max(T, 1) / divisor;
  int f = reduced;
  while (2 * f <= d) f *= 2;
  return std::max(std::min(f, d), floor);
}

TdxGPImageHandle* TdxSVGImageHandle::GetRasterizedImage(const TSize& ASize, IdxColorPalette* APalette) {
  const TSize natural = NaturalSize();
  if (Empty() || ASize.cx <= 0 || ASize.cy <= 0) return nullptr;
  // The output covers ASize with the picture's proportions, within the bounds.
  const double cover = std::max(static_cast<double>(ASize.cx) / natural.cx, static_cast<double>(ASize.cy) / natural.cy);
  double outputWidth = std::floor(natural.cx * cover);
  double outputHeight = std::floor(natural.cy * cover);
  const double outputBound = RasterScaleWithinBounds(outputWidth, outputHeight);
  const TSize output = RasterSize(outputWidth * outputBound, outputHeight * outputBound);

  const TdxSVGRenderQuality quality = EffectiveQuality();
  GUID palette;
  GetPaletteID(APalette, palette);
  if (FCachedImage && (FCachedImageQuality != quality || FCachedImagePalette != palette || FCachedImage->Size() != output))
    FCachedImage.reset();
  if (FCachedImage) return FCachedImage.get();

  const int k = SupersamplingFactor(std::max(natural.cx, natural.cy), std::max(output.cx, output.cy), quality);
  const double rasterBound = RasterScaleWithinBounds(static_cast<double>(natural.cx) * k, static_cast<double>(natural.cy) * k);
  const TSize raster = RasterSize(std::floor(natural.cx * k * rasterBound), std::floor(natural.cy * k * rasterBound));
  TOwned<TdxGPImageHandle> image(NewWith<TdxGPImageHandle>([&](TdxGPImageHandle* H) { H->CreateSize(raster); }));
  {
    const TOwned<TdxGPCanvas> canvas = image->CreateCanvas();
    canvas->SetSmoothingMode(FSmoothingMode == smDefault ? smNone : FSmoothingMode);
    const TOwned<TdxSVGRenderer> renderer(New<TdxSVGRenderer>(canvas.get(), APalette));
    FRoot->Draw(renderer.get(), TdxRectF(0, 0, static_cast<float>(raster.cx), static_cast<float>(raster.cy)));
  }
  // Reduced by averaging; enlarged (a raster held small by the bounds) by interpolation.
  if (output.cx < raster.cx && output.cy < raster.cy)
    image = ReduceByArea(image.get(), output);
  else if (output != raster)
    image->Resize(output, static_cast<Gdiplus::InterpolationMode>(EffectiveInterpolationMode()),
                  Gdiplus::PixelOffsetModeHalf);
  image->Flip(FFlipHorizontally, FFlipVertically);
  FCachedImage = std::move(image);
  FCachedImageQuality = quality;
  FCachedImagePalette = palette;
  return FCachedImage.get();
}

void TdxSVGImageHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
                             IdxColorPalette* APalette) {
  if (Empty() || RectIsEmpty(ADest) || RectIsEmpty(ASource)) return;
  const TRect dest(static_cast<int>(std::lround(ADest.Left)), static_cast<int>(std::lround(ADest.Top)),
                   static_cast<int>(std::lround(ADest.Right)), static_cast<int>(std::lround(ADest.Bottom)));
  if (dest.IsEmpty()) return;
  const TdxGPPaintCanvasScope paint(DC, dest);
  TdxGPImageHandle* raster = GetRasterizedImage(dest.GetSize(), APalette);
  if (!raster) return;
  paint->SetInterpolationMode(EffectiveInterpolationMode());
  paint->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  const float scale = static_cast<float>(raster->Width()) / Width();
  paint->Draw(raster->Handle(), TdxRectF(dest),
              TdxRectF(ASource.Left * scale, ASource.Top * scale, ASource.Right * scale, ASource.Bottom * scale),
              AAlpha);
}

void TdxSVGImageHandle::Draw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha,
                             IdxColorPalette* APalette) {
  Draw(DC, TdxRectF(ADest), TdxRectF(ASource), AAlpha, APalette);
}

void TdxSVGImageHandle::Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                             TdxGPImageAttributes* AAttributes, IdxColorPalette* APalette) {
  if (Empty() || RectIsEmpty(ADest) || RectIsEmpty(ASource)) return;
  // The raster takes the size the destination has on the canvas's device.
  const TdxRectF device = ACanvas->GetWorldTransform()->GetBoundingRectangle(ADest);
  const TSize size = RasterSize(std::ceil(std::min<double>(device.Width(), MaxRasterSide)),
                                std::ceil(std::min<double>(device.Height(), MaxRasterSide)));
  TdxGPImageHandle* raster = GetRasterizedImage(size, APalette);
  if (!raster) return;
  const float scale = static_cast<float>(raster->Width()) / Width();
  ACanvas->Draw(raster->Handle(), ADest,
                TdxRectF(ASource.Left * scale, ASource.Top * scale, ASource.Right * scale, ASource.Bottom * scale),
                AAttributes);
}

void TdxSVGImageHandle::Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                             TdxGPImageAttributes* AAttributes, IdxColorPalette* APalette) {
  Draw(ACanvas, TdxRectF(ADest), TdxRectF(ASource), AAttributes, APalette);
}

TdxSmartImageCodecClass TdxSVGImageHandle::GetImageCodec() { return dxCodec<TdxSVGImageCodec>(); }

void TdxSVGImageHandle::Flip(bool AHorizontally, bool AVertically) {
  FFlipHorizontally = AHorizontally;
  FFlipVertically = AVertically;
  FCachedImage.reset();
}

// ---------------------------------------------------------------------------
// TdxSVGImage and the codec

void TdxSVGImage::SaveToStream(TStream* AStream) { SaveToStreamByCodec(AStream, dxCodec<TdxSVGImageCodec>()); }

TClass TdxSVGImageCodec::TMeta::GetGraphicClass() const { return TdxSmartImage::ClassInfo(); }

bool TdxSVGImageCodec::TMeta::GetSize(TStream* AStream, TSize& ASize) const {
  const std::int64_t position = AStream->Position();
  const TScopeExit restore([&] { AStream->SetPosition(position); });
  try {
    const TOwned<TdxSVGAnnotation> document(New<TdxSVGAnnotation>(nullptr));
    document->LoadFromStream(AStream);
    return TdxSVGImporter::GetSize(document.get(), ASize);
  } catch (const std::exception&) {
    return false;
  }
}

bool TdxSVGImageCodec::TMeta::CanLoadStream(TStream* AStream) const {
  TSize size;
  return GetSize(AStream, size);
}

bool TdxSVGImageCodec::TMeta::CanSaveImage(TdxSmartImageCustomHandle* AHandle) const {
  return Is<TdxSVGImageHandle>(AHandle);
}

bool TdxSVGImageCodec::TMeta::Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const {
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromStream(AStream);
  return TdxSVGImageCodec::Load(document.get(), AHandle);
}

bool TdxSVGImageCodec::TMeta::Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const {
  auto* handle = dynamic_cast<TdxSVGImageHandle*>(AHandle);
  if (!handle) return false;
  if (handle->SourceData()) {
    handle->SourceData()->SaveToStream(AStream);
    return true;
  }
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  TdxSVGExporter::Export(handle->Root(), document.get());
  document->SetAutoIndent(true);
  document->SaveToStream(AStream);
  return true;
}

bool TdxSVGImageCodec::Load(TdxXMLDocument* ADocument, TOwned<TdxSmartImageCustomHandle>& AHandle) {
  TdxSVGElementRoot* root = nullptr;
  if (!TdxSVGImporter::Import(ADocument, root)) return false;
  TOwned<TdxSVGImageHandle> handle(New<TdxSVGImageHandle>(root));
  handle->SetSourceData(New<TdxSVGSourceData>(ADocument));
  AHandle = std::move(handle);
  return true;
}

bool TdxSVGImageCodec::Load(const String& AFileName, TOwned<TdxSmartImageCustomHandle>& AHandle) {
  const TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  return dxCodec<TdxSVGImageCodec>()->Load(file.get(), AHandle);
}

// ---------------------------------------------------------------------------
// The annotation

TOwned<TdxXMLParser> TdxSVGAnnotation::CreateParser() {
  return TOwned<TdxXMLParser>(New<TdxSVGAnnotationParser>(this, false));
}

TdxXMLNode* TdxSVGAnnotationParser::ParseNodeHeader(TdxXMLNode* ANode) {
  inherited::ParseNodeHeader(ANode);
  return nullptr;
}

// ---------------------------------------------------------------------------
// The unit

void dxSVGImageInitialization() {
  if (!CheckGdiPlusAvailable(false)) return;
  TPicture::RegisterFileFormat(L"", L"", TdxSVGImage::ClassInfo());
  TdxSmartImageCodecsRepository::Register(dxCodec<TdxSVGImageCodec>());
}

void dxSVGImageFinalization() {
  TdxSmartImageCodecsRepository::Unregister(dxCodec<TdxSVGImageCodec>());
  TPicture::UnregisterGraphicClass(TdxSVGImage::ClassInfo());
}
