// Drawing of skin images, borders and elements through the GDI+ canvas.
// An image is a strip of frames: for each image index one frame per state
// present, in state order, along the layout. A frame is cut into nine parts
// by its margins; the corners keep their size, the edges and the centre are
// stretched or tiled into the destination's parts.
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "library/vector/dxSVGImage.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace {

bool IsRealColor(TColor AColor) { return AColor != clNone && AColor != clDefault; }

// The canvas's interpolation and pixel offset for one drawing.
class [[nodiscard]] TdxGPCanvasQualityScope : TcxCanvasScope {
 public:
  explicit TdxGPCanvasQualityScope(TdxGPCanvas* ACanvas)
      : FCanvas(ACanvas), FInterpolation(ACanvas->InterpolationMode()), FPixelOffset(ACanvas->GetPixelOffsetMode()) {}
  ~TdxGPCanvasQualityScope() noexcept(false) {
    Restore([this] {
      FCanvas->SetInterpolationMode(FInterpolation);
      FCanvas->SetPixelOffsetMode(FPixelOffset);
    });
  }

 private:
  TdxGPCanvas* FCanvas;
  TdxGPInterpolationMode FInterpolation;
  TdxGpPixelOffsetMode FPixelOffset;
};

bool MarginsEmpty(const TRect& AMargins) { return AMargins == TRect(); }

TRect ScaleMargins(const TRect& AMargins, TdxScaleFactor* AScaleFactor) {
  if (!AScaleFactor) return AMargins;
  return TRect(AScaleFactor->Apply(AMargins.Left), AScaleFactor->Apply(AMargins.Top),
               AScaleFactor->Apply(AMargins.Right), AScaleFactor->Apply(AMargins.Bottom));
}

// One margin pair fitted to a length: each loses its share of the excess.
void FitPair(int& ALow, int& AHigh, int ALength) {
  ALow = std::max(ALow, 0);
  AHigh = std::max(AHigh, 0);
  const int sum = ALow + AHigh;
  const int excess = sum - std::max(ALength, 0);
  if (excess <= 0) return;
  const auto share = [&](int AMargin) {
    return static_cast<int>(std::lround(static_cast<double>(AMargin) * excess / sum));
  };
  const int low = ALow - share(ALow);
  const int high = AHigh - share(AHigh);
  ALow = low;
  AHigh = high;
}

// Copies of the source laid from the destination's top-left corner; the last
// row and column cut from both. A source left empty draws nothing (it would
// never advance).
void TilePart(TdxGPCanvas* ACanvas, GpImage* AImage, const TRect& ADest, const TRect& ASource) {
  const int w = ASource.Width();
  const int h = ASource.Height();
  if (w <= 0 || h <= 0) return;
  for (int y = ADest.Top; y < ADest.Bottom; y += h) {
    const int rowHeight = std::min(h, ADest.Bottom - y);
    for (int x = ADest.Left; x < ADest.Right; x += w) {
      const int columnWidth = std::min(w, ADest.Right - x);
      ACanvas->Draw(AImage, TRect(x, y, x + columnWidth, y + rowHeight),
                    TRect(ASource.Left, ASource.Top, ASource.Left + columnWidth, ASource.Top + rowHeight));
    }
  }
}

// The source drawn scaled into the destination. The destination is moved a
// sixty-fourth of a pixel up and left: GDI+ maps each destination pixel's
// corner back to the source in floats, and where that lands exactly on a
// source pixel's edge the rounding error depends on where the destination
// lies. The first row or column then fell outside the source (left undrawn)
// and nearest-neighbour ties went either way, so the same part differed at
// (5, 3) from its drawing at the origin. The nudge is below a source pixel's
// share of a destination pixel for sources narrower than 64 pixels, so it
// settles ties without choosing other pixels.
// AEdges reflects the part at its own edges: an enlarged part samples past
// them, and would otherwise take its neighbour's pixels.
void StretchPart(TdxGPCanvas* ACanvas, GpImage* AImage, const TRect& ADest, const TRect& ASource,
                 TdxGPImageAttributes* AEdges) {
  constexpr float nudge = 1.0f / 64;
  const TdxRectF dest(ADest.Left - nudge, ADest.Top - nudge, ADest.Right - nudge, ADest.Bottom - nudge);
  ACanvas->Draw(AImage, dest, TdxRectF(ASource), AEdges);
}

void DrawPart(TdxGPCanvas* ACanvas, GpImage* AImage, TdxSkinStretchMode AStretch, const TRect& ADest,
              const TRect& ASource, TdxGPImageAttributes* AEdges) {
  if (ADest.IsEmpty() || ASource.IsEmpty()) return;
  if (AStretch == smTile)
    TilePart(ACanvas, AImage, ADest, ASource);
  else
    StretchPart(ACanvas, AImage, ADest, ASource, AEdges);
}

TOwned<TdxGPImageAttributes> ReflectingEdges() {
  TOwned<TdxGPImageAttributes> attributes(New<TdxGPImageAttributes>());
  attributes->SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  return attributes;
}

// A skin palette's colours as the vector renderer asks for them: by the
// style name of the element drawn, ignoring case. The colours are copied,
// and the identity follows them, so that equal palettes share the vector
// picture's rasterised cache.
class TdxSkinImageStatePalette : public TdxCustomColorPalette {
  SK_CLASS(TdxSkinImageStatePalette, TdxCustomColorPalette)
 public:
  void Create(TdxSkinColorPalette* APalette) {
    inherited::Create();
    for (int i = 0; i < APalette->Count(); ++i)
      if (auto* color = dynamic_cast<TdxSkinColor*>(APalette->GetItem(i)))
        if (color->Value() != clNone && color->Value() != clDefault)
          FColors[AnsiUpperCase(color->Name())] = color->ValueAsAlphaColor();
  }
  TdxAlphaColor GetFillColor(const String& AID) override {
    const auto it = FColors.find(AnsiUpperCase(AID));
    return it == FColors.end() ? TdxAlphaColors::Default : it->second;
  }
  TdxAlphaColor GetStrokeColor(const String& AID) override { return GetFillColor(AID); }

 protected:
  void CalculateID() override {
    // FNV-1a over the names and colours, spread over the identity's bytes.
    std::uint64_t low = 0xCBF29CE484222325ull, high = 0x84222325CBF29CE4ull;
    const auto mix = [&](std::uint64_t AValue) {
      low = (low ^ AValue) * 0x100000001B3ull;
      high = (high ^ (AValue + 0x9E3779B97F4A7C15ull)) * 0x100000001B3ull;
    };
    for (const auto& [name, color] : FColors) {
      for (const wchar_t c : name) mix(static_cast<std::uint64_t>(c));
      mix(0x10000u + color);
    }
    mix(FColors.size());
    static_assert(sizeof(GUID) == 2 * sizeof(std::uint64_t));
    std::memcpy(&FID, &low, sizeof low);
    std::memcpy(reinterpret_cast<char*>(&FID) + sizeof low, &high, sizeof high);
  }

 private:
  std::map<String, TdxAlphaColor> FColors;
};

// ASize shrunk on one side to AFrame's proportions.
TSize FitProportionally(const TSize& ASize, const TSize& AFrame) {
  if (AFrame.cx <= 0 || AFrame.cy <= 0) return ASize;
  const std::int64_t byWidth = std::int64_t{ASize.cx} * AFrame.cy;
  const std::int64_t byHeight = std::int64_t{ASize.cy} * AFrame.cx;
  if (byWidth > byHeight)
    return TSize(static_cast<int>(byHeight / AFrame.cy), ASize.cy);
  return TSize(ASize.cx, static_cast<int>(byWidth / AFrame.cx));
}

// A tiled vector part gives up one pixel at each end along its tiling
// direction, where the rasteriser's antialiasing would show a seam between
// tiles; only when it is long enough to keep some.
void TrimTiledVectorPart(std::size_t APart, TRect& R, int APixel) {
  const bool alongX = APart == 1 || APart == 4 || APart == 7;  // top, centre, bottom
  const bool alongY = APart == 3 || APart == 4 || APart == 5;  // left, centre, right
  if (alongX && R.Width() > 2 * APixel) {
    R.Left += APixel;
    R.Right -= APixel;
  }
  if (alongY && R.Height() > 2 * APixel) {
    R.Top += APixel;
    R.Bottom -= APixel;
  }
}

TdxSkinImageSet ImageSet = imsDefault;

// What a canvas may keep a native drawing by; the state carries the
// mirroring in its upper half for the right-to-left forms.
TcxCanvasBasedResourceCacheKey NativeDrawKey(void* AOwner, const TRect& ARect, TdxSkinElementState AState,
                                             bool AMirrored, int AImageIndex, const TdxScaleFactor* AScaleFactor) {
  const int state = static_cast<int>(AState) | (AMirrored ? 0x10000 : 0);
  const int dpi = AScaleFactor ? ScaleFactorToDpi(AScaleFactor) : 96;
  return TcxCanvasBasedResourceCacheKey::Create(AOwner, ARect.GetSize(), state, AImageIndex,
                                                static_cast<std::uint16_t>(dpi));
}

}  // namespace

TdxSkinImageSet dxSkinImageSet() { return ImageSet; }

void dxSetSkinImageSet(TdxSkinImageSet AValue) { ImageSet = AValue; }

TRect dxSkinFitMargins(const TRect& AMargins, const TSize& ASize) {
  TRect result = AMargins;
  FitPair(result.Left, result.Right, ASize.cx);
  FitPair(result.Top, result.Bottom, ASize.cy);
  return result;
}

std::array<TRect, 9> dxSkinImageParts(const TRect& F, const TRect& M) {
  const int x1 = std::min(F.Left + M.Left, F.Right);
  const int x2 = std::max(F.Right - M.Right, F.Left);
  const int y1 = std::min(F.Top + M.Top, F.Bottom);
  const int y2 = std::max(F.Bottom - M.Bottom, F.Top);
  return {TRect(F.Left, F.Top, x1, y1),  TRect(x1, F.Top, x2, y1),  TRect(x2, F.Top, F.Right, y1),
          TRect(F.Left, y1, x1, y2),     TRect(x1, y1, x2, y2),     TRect(x2, y1, F.Right, y2),
          TRect(F.Left, y2, x1, F.Bottom), TRect(x1, y2, x2, F.Bottom), TRect(x2, y2, F.Right, F.Bottom)};
}

void dxSkinFillRectByGradient(TdxGPCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                              TdxSkinGradientMode AMode, std::uint8_t AAlpha) {
  if (!IsRealColor(AColor1) || R.IsEmpty()) return;
  const TColor second = IsRealColor(AColor2) ? AColor2 : AColor1;
  ACanvas->FillRectangleByGradient(R, ColorToAlphaColor(AColor1, AAlpha), ColorToAlphaColor(second, AAlpha),
                                   static_cast<TdxGPBrushGradientMode>(AMode));
}

// ---------------------------------------------------------------------------
// TdxSkinImage

TdxSkinElementState TdxSkinImage::NormalizedState(TdxSkinElementState AState) const {
  if (FStates.Contains(AState) || FStates.Empty()) return AState;
  int lowest = esNormal;
  while (!FStates.Contains(static_cast<TdxSkinElementState>(lowest))) ++lowest;
  return static_cast<TdxSkinElementState>(lowest);
}

bool TdxSkinImage::TextureIsVector() const { return IsVectorGraphic(FTexture.get()); }

bool TdxSkinImage::IsAlphaUsed(int AImageIndex, TdxSkinElementState AState) {
  if (FTexture->Empty() || TextureIsVector() || FStretch == smNoResize) return true;
  const TRect frame = GetStateBounds(NormalizedImageIndex(AImageIndex), NormalizedState(AState));
  const TSize size = FTexture->Size();
  if (frame.IsEmpty() || frame.Right > size.cx || frame.Bottom > size.cy) return true;
  const TRGBColors pixels = FTexture->GetBitmapBits();
  for (int y = frame.Top; y < frame.Bottom; ++y)
    for (int x = frame.Left; x < frame.Right; ++x)
      if (pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size.cx) + static_cast<std::size_t>(x)]
              .rgbReserved != 255)
        return true;
  return false;
}

TSize TdxSkinImage::Size() const {
  if (FTexture->Empty()) return TSize();
  TSize size = FTexture->Size();
  const std::int64_t frames = TextureIsVector() ? FImageCount : std::int64_t{StateCount()} * FImageCount;
  if (frames >= 1) (FImageLayout == ilHorizontal ? size.cx : size.cy) /= static_cast<int>(frames);
  return size;
}

TRect TdxSkinImage::GetStateBounds(int AImageIndex, TdxSkinElementState AState) const {
  if (!FStates.Contains(AState)) return TRect();
  const TSize frame = Size();
  // A vector texture's states share their image's frame.
  const bool vector = TextureIsVector();
  int index = std::clamp(AImageIndex, 0, FImageCount - 1) * (vector ? 1 : StateCount());
  if (!vector)
    for (int s = esNormal; s < AState; ++s) index += FStates.Contains(static_cast<TdxSkinElementState>(s));
  TRect bounds(0, 0, frame.cx, frame.cy);
  if (FImageLayout == ilHorizontal)
    bounds.Offset(index * frame.cx, 0);
  else
    bounds.Offset(0, index * frame.cy);
  return bounds;
}

void TdxSkinImage::GetBitmap(int AImageIndex, TdxSkinElementState AState, TBitmap* ABitmap,
                             TColor ABackgroundColor) {
  const TSize frame = Size();
  ABitmap->SetSize(frame.cx, frame.cy);
  const TRect bounds(0, 0, frame.cx, frame.cy);
  if (ABackgroundColor != clNone) {
    TCanvas* canvas = ABitmap->Canvas();
    if (ABackgroundColor != clDefault) canvas->Brush()->SetColor(ABackgroundColor);
    canvas->FillRect(bounds);
  }
  Draw(ABitmap->Canvas()->Handle(), bounds, DefaultScaleFactor(), AImageIndex, AState);
}

void TdxSkinImage::SetStateMapping(std::span<const TdxSkinElementState> ATargetStateOrder) {
  if (FTexture->Empty() || TextureIsVector()) return;
  std::vector<TdxSkinElementState> order;
  TdxSkinElementStates states;
  for (const TdxSkinElementState state : ATargetStateOrder)
    if (!states.Contains(state)) {
      states.Include(state);
      order.push_back(state);
    }
  if (order.empty()) {
    FTexture->Clear();
    FStates = states;
    Changed();
    return;
  }
  const TSize frame = Size();
  const bool horizontal = FImageLayout == ilHorizontal;
  const int count = static_cast<int>(order.size());
  const TSize strip(horizontal ? frame.cx * count : frame.cx, horizontal ? frame.cy : frame.cy * count);
  const TSize source = FTexture->Size();
  const TRGBColors pixels = FTexture->GetBitmapBits();
  TRGBColors mapped(static_cast<std::size_t>(strip.cx) * static_cast<std::size_t>(strip.cy), RGBQUAD{});
  for (int k = 0; k < count; ++k) {
    if (!FStates.Contains(order[static_cast<std::size_t>(k)])) continue;
    const TRect from = GetStateBounds(0, order[static_cast<std::size_t>(k)]);
    const TPoint to(horizontal ? k * frame.cx : 0, horizontal ? 0 : k * frame.cy);
    for (int y = 0; y < frame.cy; ++y)
      for (int x = 0; x < frame.cx; ++x)
        mapped[static_cast<std::size_t>(to.Y + y) * static_cast<std::size_t>(strip.cx) +
               static_cast<std::size_t>(to.X + x)] =
            pixels[static_cast<std::size_t>(from.Top + y) * static_cast<std::size_t>(source.cx) +
                   static_cast<std::size_t>(from.Left + x)];
  }
  FTexture->LoadFromBits(strip.cx, strip.cy, mapped, afPremultiplied);
  FStates = states;
  // The strip holds one image's frames.
  FImageCount = 1;
  Changed();
}

IPtr<IdxColorPalette> TdxSkinImage::GetPalette(TdxSkinElementState AState, bool ACanUseGlobalPalette) const {
  TdxSkinProperty* found = nullptr;
  if (FColorPalettes->Find(dxSkinElementStateName(AState), found) ||
      FColorPalettes->Find(dxSkinElementStateName(esNormal), found))
    return IPtr<IdxColorPalette>(New<TdxSkinImageStatePalette>(static_cast<TdxSkinColorPalette*>(found)));
  if (!ACanUseGlobalPalette || !FOwner) return nullptr;
  TdxSkinControlGroup* group = FOwner->Group();
  TdxSkin* skin = group ? group->Skin() : nullptr;
  if (!skin) return nullptr;
  return IPtr<IdxColorPalette>(New<TdxSkinImageStatePalette>(skin->ActiveColorPalette()));
}

void TdxSkinImage::DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                          TdxSkinElementState AState) {
  const TRect drawMargins = FMarginsScaled ? ScaleMargins(FMargins, AScaleFactor) : FMargins;
  const TRect fitted = dxSkinFitMargins(drawMargins, ARect.GetSize());
  const bool hasGradient = IsRealColor(FGradientBeginColor.Value());
  if (Empty()) {
    if (hasGradient) {
      TRect inner = ARect;
      dxSkinFillRectByGradient(ACanvas, inner.DeflateByMargins(fitted), FGradientBeginColor.Value(),
                               FGradientEndColor.Value(), FGradient, 255);
    }
    return;
  }
  if (FStates.Empty()) return;
  AState = NormalizedState(AState);
  const int imageIndex = NormalizedImageIndex(AImageIndex);

  const TdxGPCanvasQualityScope quality(ACanvas);
  // Pixel centres map onto pixel centres: otherwise an enlarged part samples
  // between its source pixels and the canvas trims the source to make up.
  ACanvas->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  if (FStretch == smTile)
    ACanvas->SetInterpolationMode(imNearestNeighbor);
  else if (FInterpolationMode != imDefault)
    ACanvas->SetInterpolationMode(FInterpolationMode);

  TSize frame = Size();
  TRect sourceMargins = FMargins;
  TRect stateBounds = GetStateBounds(imageIndex, AState);
  // Asked first: the raster handle would turn a vector texture into pixels.
  const bool vector = TextureIsVector();
  GpImage* image = nullptr;
  TRect dest = ARect;
  // Tiles are never scaled: the whole strip is resized once so that the
  // tiles come out at the target DPI.
  TOwned<TdxSmartImage> resized;
  if (vector) {
    // The picture rasterised at the scaled frame size, in the state's
    // palette; a stretched one without margins keeps its proportions.
    TSize target = AScaleFactor ? AScaleFactor->Apply(frame) : frame;
    if (FStretch == smStretch && MarginsEmpty(FMargins)) {
      target = FitProportionally(ARect.GetSize(), frame);
      const int left = ARect.Left + (ARect.Width() - target.cx) / 2;
      const int top = ARect.Top + (ARect.Height() - target.cy) / 2;
      dest = TRect(left, top, left + target.cx, top + target.cy);
    }
    auto* svg = dynamic_cast<TdxSVGImageHandle*>(FTexture->ImageHandle());
    if (!svg || target.cx <= 0 || target.cy <= 0) return;
    svg->SetInterpolationMode(FInterpolationMode);
    const TSize strip =
        FImageLayout == ilHorizontal ? TSize(target.cx * FImageCount, target.cy) : TSize(target.cx, target.cy * FImageCount);
    const IPtr<IdxColorPalette> palette = GetPalette(AState, true);
    TdxGPImageHandle* raster = svg->GetRasterizedImage(strip, palette.Get());
    if (!raster) return;
    frame = raster->Size();
    (FImageLayout == ilHorizontal ? frame.cx : frame.cy) /= FImageCount;
    sourceMargins = drawMargins;
    stateBounds = TRect(0, 0, frame.cx, frame.cy);
    if (FImageLayout == ilHorizontal)
      stateBounds.Offset(imageIndex * frame.cx, 0);
    else
      stateBounds.Offset(0, imageIndex * frame.cy);
    image = raster->Handle();
  } else if (FStretch == smTile && FMarginsScaled && !MarginsEmpty(FMargins) && AScaleFactor &&
             AScaleFactor->Assigned()) {
    const TSize strip = FTexture->Size();
    resized.reset(New<TdxSmartImage>());
    resized->CreateSize(AScaleFactor->Apply(strip.cx), AScaleFactor->Apply(strip.cy));
    {
      TOwned<TdxGPCanvas> canvas = resized->CreateCanvas();
      canvas->SetInterpolationMode(FInterpolationMode == imDefault ? imNearestNeighbor : FInterpolationMode);
      canvas->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
      canvas->Draw(FTexture->Handle(), TRect(0, 0, resized->Width(), resized->Height()),
                   TRect(0, 0, strip.cx, strip.cy), ReflectingEdges().get());
    }
    frame = TSize(AScaleFactor->Apply(frame.cx), AScaleFactor->Apply(frame.cy));
    sourceMargins = drawMargins;
    stateBounds = TRect(AScaleFactor->Apply(stateBounds.Left), AScaleFactor->Apply(stateBounds.Top),
                        AScaleFactor->Apply(stateBounds.Left) + frame.cx, AScaleFactor->Apply(stateBounds.Top) + frame.cy);
    image = resized->Handle();
  } else {
    image = FTexture->Handle();
  }

  if (FStretch == smNoResize) {
    // A vector frame is rasterised at its scaled size already.
    const int w = AScaleFactor && !vector ? AScaleFactor->Apply(frame.cx) : frame.cx;
    const int h = AScaleFactor && !vector ? AScaleFactor->Apply(frame.cy) : frame.cy;
    const int left = ARect.Left + (ARect.Width() - w) / 2;
    const int top = ARect.Top + (ARect.Height() - h) / 2;
    StretchPart(ACanvas, image, TRect(left, top, left + w, top + h), stateBounds, ReflectingEdges().get());
    return;
  }

  const std::array<TRect, 9> sources = dxSkinImageParts(TRect(0, 0, frame.cx, frame.cy), sourceMargins);
  const TPoint origin = stateBounds.TopLeft();
  const int trim = vector && FStretch == smTile ? (AScaleFactor ? AScaleFactor->Apply(1) : 1) : 0;
  const auto source = [&](std::size_t APart) {
    TRect r = sources[APart];
    if (trim > 0) TrimTiledVectorPart(APart, r, trim);
    r.Offset(origin);
    return r;
  };
  constexpr std::size_t center = 4;
  const TOwned<TdxGPImageAttributes> edges = ReflectingEdges();
  if (MarginsEmpty(fitted)) {
    if (hasGradient)
      dxSkinFillRectByGradient(ACanvas, dest, FGradientBeginColor.Value(), FGradientEndColor.Value(), FGradient, 255);
    else
      DrawPart(ACanvas, image, FStretch, dest, source(center), edges.get());
    return;
  }
  const std::array<TRect, 9> dests = dxSkinImageParts(dest, fitted);
  for (std::size_t part = 0; part < dests.size(); ++part) {
    if (part == center && hasGradient)
      dxSkinFillRectByGradient(ACanvas, dests[part], FGradientBeginColor.Value(), FGradientEndColor.Value(),
                               FGradient, 255);
    else
      DrawPart(ACanvas, image, FStretch, dests[part], source(part), edges.get());
  }
}

void TdxSkinImage::Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                        TdxSkinElementState AState) {
  if (ARect.IsEmpty()) return;
  const TdxGPPaintCanvasScope paint(DC, ARect);
  DrawEx(paint.Canvas(), ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinImage::RightToLeftDependentDraw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                            bool AIsRightToLeftLayout, int AImageIndex, TdxSkinElementState AState) {
  if (ARect.IsEmpty()) return;
  const TdxGPPaintCanvasScope paint(DC, ARect);
  PaintGPMirroredIfRightToLeft(paint.Canvas(), ARect, AIsRightToLeftLayout,
                               [&] { DrawEx(paint.Canvas(), ARect, AScaleFactor, AImageIndex, AState); });
}

void TdxSkinImage::Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                        TdxSkinElementState AState) {
  RightToLeftDependentDraw(ACanvas, ARect, AScaleFactor, false, AImageIndex, AState);
}

void TdxSkinImage::RightToLeftDependentDraw(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                            TdxScaleFactor* AScaleFactor, bool AIsRightToLeftLayout,
                                            int AImageIndex, TdxSkinElementState AState) {
  if (ARect.IsEmpty()) return;
  ACanvas->DrawNativeObject(
      ARect, NativeDrawKey(this, ARect, AState, AIsRightToLeftLayout, AImageIndex, AScaleFactor),
      TcxCanvasNativeDrawExProc([&](TdxGPCanvas* ACanvasEx, const TRect& R) {
        PaintGPMirroredIfRightToLeft(ACanvasEx, R, AIsRightToLeftLayout,
                                     [&] { DrawEx(ACanvasEx, R, AScaleFactor, AImageIndex, AState); });
      }));
}

// ---------------------------------------------------------------------------
// Borders

void TdxSkinBorder::Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor) {
  const TColor color = Color();
  if (!IsRealColor(color)) return;
  const int w = AScaleFactor ? AScaleFactor->Apply(FThin) : FThin;
  TRect side = R;
  switch (FKind) {
    case bLeft: side.Right = R.Left + w; break;
    case bTop: side.Bottom = R.Top + w; break;
    case bRight: side.Left = R.Right - w; break;
    case bBottom: side.Top = R.Bottom - w; break;
  }
  if (!side.IsEmpty()) ACanvas->FillRectangle(side, ColorToAlphaColor(color, 255));
}

void TdxSkinBorders::Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor) {
  for (auto& border : FBorders) border->Draw(ACanvas, R, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Alternate image attributes

void TdxSkinAlternateImageAttributes::Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor) {
  TRect r = R;
  r.DeflateByMargins(FContentOffsets);
  dxSkinFillRectByGradient(ACanvas, r, FGradientBeginColor.Value(), FGradientEndColor.Value(), FGradient, FAlpha);
  FBorders->Draw(ACanvas, r, AScaleFactor);
  r.DeflateByMargins(FBorders->ContentMargins());
  FBordersInner->Draw(ACanvas, r, AScaleFactor);
}

// ---------------------------------------------------------------------------
// TdxSkinElement

TdxSkinAlternateImageAttributes* TdxSkinElement::GetAlternateImageAttributes(int AImageIndex,
                                                                            TdxSkinElementState AState) {
  const int index = FImage->NormalizedImageIndex(AImageIndex);
  if (FAlternateImageSetDirty || index != FAlternateImageSetIndex) {
    for (int state = esNormal; state <= esCheckPressed; ++state) {
      const String name = L"AlternateImage" + IntToStr(index + 1) +
                          dxSkinElementStateName(static_cast<TdxSkinElementState>(state));
      FAlternateImageSet[static_cast<std::size_t>(state)] =
          dynamic_cast<TdxSkinAlternateImageAttributes*>(GetPropertyByName(name));
    }
    FAlternateImageSetIndex = index;
    FAlternateImageSetDirty = false;
  }
  return FAlternateImageSet[FImage->NormalizedState(AState)];
}

TSize TdxSkinElement::CalculateMinSize() const {
  TSize result = FMinSize;
  for (const TdxSkinImage* image : {FImage.get(), FGlyph.get()})
    if (image->Stretch() == smNoResize) {
      const TSize frame = image->Size();
      result = TSize(std::max(result.cx, frame.cx), std::max(result.cy, frame.cy));
    }
  return result;
}

TOwned<TdxSmartImage> TdxSkinElement::GetImage(int AImageIndex, const TSize& ASize, TdxScaleFactor* AScaleFactor,
                                              TdxSkinElementState AState) {
  TSize size = ASize;
  if (size.cx == 0 || size.cy == 0) size = AScaleFactor ? AScaleFactor->Apply(FMinSize) : FMinSize;
  TOwned<TdxSmartImage> result(New<TdxSmartImage>());
  result->CreateSize(size);
  if (size.cx > 0 && size.cy > 0) {
    const TOwned<TdxGPCanvas> canvas = result->CreateCanvas();
    Draw(canvas.get(), TRect(0, 0, size.cx, size.cy), AScaleFactor, AImageIndex, AState);
  }
  return result;
}

bool TdxSkinElement::UsesAlternateImageSet(bool ALowColors) const {
  const TdxSkinImageSet set = dxSkinImageSet();
  return FImage->Empty() || set == imsAlternate || (set == imsDefault && ALowColors);
}

bool TdxSkinElement::IsAlphaUsed(bool ALowColors, int AImageIndex, TdxSkinElementState AState) {
  // An opaque fill of the element colour covers whatever is drawn over it.
  if (IsRealColor(Color()) && FAlpha == 255) return false;
  if (UsesAlternateImageSet(ALowColors))
    if (TdxSkinAlternateImageAttributes* alternate = GetAlternateImageAttributes(AImageIndex, AState))
      return alternate->UsesAlpha() || !IsRealColor(alternate->GradientBeginColor().Value());
  return FImage->IsAlphaUsed(AImageIndex, AState);
}

void TdxSkinElement::DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                            TdxSkinElementState AState) {
  if (IsRealColor(Color()) && FAlpha > 0) ACanvas->FillRectangle(ARect, ColorToAlphaColor(Color(), FAlpha));
  TdxScaleFactor* borderScale = FScaleBorders ? AScaleFactor : nullptr;
  TdxSkinAlternateImageAttributes* alternate =
      UsesAlternateImageSet(ACanvas->IsLowColorsMode()) ? GetAlternateImageAttributes(AImageIndex, AState) : nullptr;
  if (alternate)
    alternate->Draw(ACanvas, ARect, borderScale);
  else
    FImage->DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
  FBorders->Draw(ACanvas, ARect, borderScale);
  TRect glyphRect = ARect;
  FGlyph->DrawEx(ACanvas, glyphRect.DeflateByMargins(FContentOffset), AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                          TdxSkinElementState AState) {
  if (ARect.IsEmpty() || !RectVisible(DC, ARect.WinRect())) return;
  const TdxGPPaintCanvasScope paint(DC, ARect);
  Draw(paint.Canvas(), ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::Draw(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                          TdxSkinElementState AState) {
  if (FCache)
    FCache->DrawElement(ACanvas, this, ARect, AScaleFactor, AState, AImageIndex);
  else
    DrawEx(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::RightToLeftDependentDraw(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                              bool AIsRightToLeftLayout, int AImageIndex,
                                              TdxSkinElementState AState) {
  PaintGPMirroredIfRightToLeft(ACanvas, ARect, AIsRightToLeftLayout,
                               [&] { Draw(ACanvas, ARect, AScaleFactor, AImageIndex, AState); });
}

void TdxSkinElement::Draw(HDC DC, const TRect& ARect, const TRect& AClipRect, TdxScaleFactor* AScaleFactor,
                          int AImageIndex, TdxSkinElementState AState) {
  TRect clip = ARect;
  clip.Intersect(AClipRect);
  if (clip.IsEmpty()) return;
  const TSavedDC saved(DC);
  IntersectClipRect(DC, clip.Left, clip.Top, clip.Right, clip.Bottom);
  Draw(DC, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                          int AImageIndex, TdxSkinElementState AState) {
  RightToLeftDependentDraw(ACanvas, ARect, AScaleFactor, false, AImageIndex, AState);
}

void TdxSkinElement::Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, const TRect& AClipRect,
                          TdxScaleFactor* AScaleFactor, int AImageIndex, TdxSkinElementState AState) {
  TRect clip = ARect;
  clip.Intersect(AClipRect);
  if (clip.IsEmpty()) return;
  const TcxClipRegionScope<TcxCustomCanvas> scope(ACanvas, clip);
  Draw(ACanvas, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinElement::RightToLeftDependentDraw(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                              TdxScaleFactor* AScaleFactor, bool AIsRightToLeftLayout,
                                              int AImageIndex, TdxSkinElementState AState) {
  if (ARect.IsEmpty()) return;
  ACanvas->DrawNativeObject(
      ARect, NativeDrawKey(this, ARect, AState, AIsRightToLeftLayout, AImageIndex, AScaleFactor),
      TcxCanvasNativeDrawExProc([&](TdxGPCanvas* ACanvasEx, const TRect& R) {
        RightToLeftDependentDraw(ACanvasEx, R, AScaleFactor, AIsRightToLeftLayout, AImageIndex, AState);
      }));
}

void TdxSkinElement::RightToLeftDependentDraw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                              bool AIsRightToLeftLayout, int AImageIndex,
                                              TdxSkinElementState AState) {
  if (!AIsRightToLeftLayout) {
    Draw(DC, ARect, AScaleFactor, AImageIndex, AState);
    return;
  }
  if (ARect.IsEmpty() || !RectVisible(DC, ARect.WinRect())) return;
  const TdxGPPaintCanvasScope paint(DC, ARect);
  RightToLeftDependentDraw(paint.Canvas(), ARect, AScaleFactor, true, AImageIndex, AState);
}

// ---------------------------------------------------------------------------
// The element cache

void TdxSkinElementCache::Create() {
  inherited::Create();
  FScaleFactor.reset(New<TdxScaleFactor>());
  Flush();
}

void TdxSkinElementCache::Flush() {
  FElement = nullptr;
  FImageSet = imsDefault;
  FImageIndex = 0;
  FState = esNormal;
  FSize = TSize();
  FScaleFactor->Assign(1, 1, false);
  FPicture.reset();
}

void TdxSkinElementCache::Draw(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, const TRect& ARect,
                               TdxScaleFactor* AScaleFactor, int AImageIndex, TdxSkinElementState AState) {
  const TSize size = ARect.GetSize();
  const bool sameScale = AScaleFactor ? FScaleFactor->Equals(AScaleFactor) : !FScaleFactor->Assigned();
  const TdxSkinImageSet imageSet = dxSkinImageSet();
  const bool current = FElement == AElement && FState == AState && FImageIndex == AImageIndex &&
                       FImageSet == imageSet && FSize == size && sameScale;
  if (!current) {
    FElement = AElement;
    FImageSet = imageSet;
    FState = AState;
    FImageIndex = AImageIndex;
    FSize = size;
    if (AScaleFactor)
      FScaleFactor->Assign(AScaleFactor);
    else
      FScaleFactor->Assign(1, 1, false);
    Render(AElement, AScaleFactor);
  }
  if (FCacheOpaque)
    ACanvas->Draw(FCacheOpaque.Get(), ARect, TRect(0, 0, size.cx, size.cy));
  else if (FPicture)
    ACanvas->Draw(FPicture->Handle(), ARect, TRect(0, 0, size.cx, size.cy));
}

void TdxSkinElementCache::Render(TdxSkinElement* AElement, TdxScaleFactor* AScaleFactor) {
  FPicture.reset();
  FCacheOpaque.Reset();
  if (FSize.cx <= 0 || FSize.cy <= 0) return;
  const TRect bounds(0, 0, FSize.cx, FSize.cy);
  // The picture is a 32-bit off-screen surface, never in low-colour mode.
  const bool alpha = AElement->IsAlphaUsed(false, FImageIndex, FState);
  FPicture.reset(New<TdxSmartImage>());
  FPicture->CreateSize(FSize);
  {
    const TOwned<TdxGPCanvas> canvas = FPicture->CreateCanvas();
    AElement->DrawEx(canvas.get(), bounds, AScaleFactor, FImageIndex, FState);
  }
  if (alpha) return;
  // Rendered the way the blended picture is, so both kinds match the direct
  // drawing pixel for pixel; kept as a GDI+ bitmap without alpha, made once.
  TRGBColors pixels = FPicture->GetBitmapBits();
  GpBitmap* view = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(FSize.cx, FSize.cy, FSize.cx * 4, PixelFormat32bppRGB,
                                            reinterpret_cast<BYTE*>(pixels.data()), &view));
  const TdxGpOwnedImage borrowed(view);
  // The view reads the vector's memory; the cache keeps its own copy.
  GpBitmap* copy = nullptr;
  CheckGdipStatus(GdipCloneBitmapAreaI(0, 0, FSize.cx, FSize.cy, PixelFormat32bppRGB, view, &copy));
  FCacheOpaque.Reset(copy);
  FPicture.reset();
}

void TdxSkinElementCacheList::Create(int ACapacity) {
  inherited::Create();
  FCapacity = std::max(ACapacity, 1);
}

void TdxSkinElementCacheList::SetCapacity(int AValue) {
  FCapacity = std::max(AValue, 1);
  if (Count() > FCapacity) FData.erase(FData.begin(), FData.end() - FCapacity);
}

TdxSkinElementCache* TdxSkinElementCacheList::EntryFor(TdxSkinElement* AElement, const TSize& ASize,
                                                       TdxSkinElementState AState, int AImageIndex) {
  const auto find = [&](auto APredicate) {
    const auto it = std::ranges::find_if(FData, [&](const auto& AEntry) {
      return AEntry->Element() == AElement && AEntry->Size() == ASize && APredicate(*AEntry);
    });
    return it == FData.end() ? nullptr : it->get();
  };
  if (auto* exact = find([&](const TdxSkinElementCache& AEntry) {
        return AEntry.State() == AState && AEntry.ImageIndex() == AImageIndex;
      }))
    return exact;
  if (auto* sameSize = find([](const TdxSkinElementCache&) { return true; })) return sameSize;
  if (Count() >= FCapacity) {
    std::rotate(FData.begin(), FData.begin() + 1, FData.end());
    return FData.back().get();
  }
  FData.emplace_back(New<TdxSkinElementCache>());
  return FData.back().get();
}

void TdxSkinElementCacheList::DrawElement(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, const TRect& R,
                                          TdxScaleFactor* AScaleFactor, TdxSkinElementState AState, int AImageIndex) {
  EntryFor(AElement, R.GetSize(), AState, AImageIndex)->Draw(ACanvas, AElement, R, AScaleFactor, AImageIndex, AState);
}
