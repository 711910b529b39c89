// TdxGPCanvas: the graphics object, its rendering settings, the clip and
// world-transform stacks, images and text. The shapes are in
// dxGDIPlusClasses_CanvasShapes.cpp.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "library/graphics/imaging/dxPixelBuffers.h"


using namespace Gdiplus;

namespace {

// A setting that GDI+ reports outside the enumeration reads as its first value.
template <class T, class TGdip>
T FromGdipSetting(TGdip AValue, T ALast) {
  const int value = static_cast<int>(AValue);
  return value >= 0 && value <= static_cast<int>(ALast) ? static_cast<T>(value) : T{};
}

// A new GDI+ region with the clip of AGraphics.
TdxGpOwnedRegion ClipOf(GpGraphics* AGraphics) {
  TdxGpOwnedRegion result;
  CheckGdipStatus(GdipCreateRegion(result.Receive()));
  CheckGdipStatus(GdipGetClip(AGraphics, result.Get()));
  return result;
}

CombineMode GdipCombineMode(TdxGPCombineMode AMode) { return static_cast<CombineMode>(AMode); }

}  // namespace

// ---------------------------------------------------------------------------
// Construction and the graphics object

void TdxGPCanvas::Create(GpGraphics* AHandle) {
  Create();
  FHandle.Reset(AHandle);
}

void TdxGPCanvas::Create(HDC DC) {
  Create();
  CheckGdipStatus(GdipCreateFromHDC(DC, FHandle.Receive()));
}

void TdxGPCanvas::Destroy() {
  FHandle.Reset();
  FSavedClipRegions.clear();
  FSavedWorldTransforms.clear();
  inherited::Destroy();
}

HDC TdxGPCanvas::GetHDC() {
  HDC result = nullptr;
  CheckGdipStatus(GdipGetDC(Handle(), &result));
  return result;
}

void TdxGPCanvas::ReleaseHDC(HDC DC) { CheckGdipStatus(GdipReleaseDC(Handle(), DC)); }

void TdxGPCanvas::Clear(TColor AColor) {
  // clNone's empty colour stays transparent; everything else is made opaque.
  const TdxAlphaColor color = ColorToAlphaColor(AColor);
  CheckGdipStatus(GdipGraphicsClear(Handle(), color == TdxAlphaColors::Empty ? color : color | 0xFF000000u));
}

// ---------------------------------------------------------------------------
// Rendering settings

TdxGPSmoothingMode TdxGPCanvas::SmoothingMode() const {
  Gdiplus::SmoothingMode result = SmoothingModeDefault;
  CheckGdipStatus(GdipGetSmoothingMode(Handle(), &result));
  return FromGdipSetting(result, smAntiAlias);
}

void TdxGPCanvas::SetSmoothingMode(TdxGPSmoothingMode AValue) {
  CheckGdipStatus(GdipSetSmoothingMode(Handle(), static_cast<Gdiplus::SmoothingMode>(AValue)));
}

TdxGPInterpolationMode TdxGPCanvas::InterpolationMode() const {
  Gdiplus::InterpolationMode result = InterpolationModeDefault;
  CheckGdipStatus(GdipGetInterpolationMode(Handle(), &result));
  return FromGdipSetting(result, imHighQualityBicubic);
}

void TdxGPCanvas::SetInterpolationMode(TdxGPInterpolationMode AValue) {
  CheckGdipStatus(GdipSetInterpolationMode(Handle(), static_cast<Gdiplus::InterpolationMode>(AValue)));
}

TdxGpCompositionMode TdxGPCanvas::CompositionMode() const {
  CompositingMode result = CompositingModeSourceOver;
  CheckGdipStatus(GdipGetCompositingMode(Handle(), &result));
  return FromGdipSetting(result, cmSourceCopy);
}

void TdxGPCanvas::SetCompositionMode(TdxGpCompositionMode AValue) {
  CheckGdipStatus(GdipSetCompositingMode(Handle(), static_cast<CompositingMode>(AValue)));
}

TdxGpTextRenderingHint TdxGPCanvas::TextRenderingHint() const {
  Gdiplus::TextRenderingHint result = TextRenderingHintSystemDefault;
  CheckGdipStatus(GdipGetTextRenderingHint(Handle(), &result));
  return result;
}

void TdxGPCanvas::SetTextRenderingHint(TdxGpTextRenderingHint AValue) {
  CheckGdipStatus(GdipSetTextRenderingHint(Handle(), AValue));
}

TdxGraphicUnit TdxGPCanvas::PageUnit() const {
  Unit result = UnitWorld;
  CheckGdipStatus(GdipGetPageUnit(Handle(), &result));
  return static_cast<TdxGraphicUnit>(result);
}

void TdxGPCanvas::SetPageUnit(TdxGraphicUnit AValue) {
  CheckGdipStatus(GdipSetPageUnit(Handle(), static_cast<Unit>(AValue)));
}

float TdxGPCanvas::PageScale() const {
  REAL result = 0;
  CheckGdipStatus(GdipGetPageScale(Handle(), &result));
  return result;
}

void TdxGPCanvas::SetPageScale(float AValue) { CheckGdipStatus(GdipSetPageScale(Handle(), AValue)); }

float TdxGPCanvas::DpiX() const {
  REAL result = 0;
  CheckGdipStatus(GdipGetDpiX(Handle(), &result));
  return result;
}

float TdxGPCanvas::DpiY() const {
  REAL result = 0;
  CheckGdipStatus(GdipGetDpiY(Handle(), &result));
  return result;
}

TdxGpPixelOffsetMode TdxGPCanvas::GetPixelOffsetMode() const {
  TdxGpPixelOffsetMode result = PixelOffsetModeDefault;
  CheckGdipStatus(GdipGetPixelOffsetMode(Handle(), &result));
  return result;
}

void TdxGPCanvas::SetPixelOffsetMode(TdxGpPixelOffsetMode AValue) {
  CheckGdipStatus(GdipSetPixelOffsetMode(Handle(), AValue));
}

// ---------------------------------------------------------------------------
// Clip

void TdxGPCanvas::SaveClipRegion() { FSavedClipRegions.push_back(ClipOf(Handle())); }

void TdxGPCanvas::RestoreClipRegion() {
  // An unbalanced restore must not reach past the stack.
  if (FSavedClipRegions.empty()) return;
  const TdxGpOwnedRegion region = std::move(FSavedClipRegions.back());
  FSavedClipRegions.pop_back();
  CheckGdipStatus(GdipSetClipRegion(Handle(), region.Get(), CombineModeReplace));
}

void TdxGPCanvas::SetClipRect(const TRect& R, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipSetClipRectI(Handle(), R.Left, R.Top, R.Width(), R.Height(), GdipCombineMode(AMode)));
}

void TdxGPCanvas::SetClipRect(const TdxRectF& R, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipSetClipRect(Handle(), R.Left, R.Top, R.Width(), R.Height(), GdipCombineMode(AMode)));
}

void TdxGPCanvas::SetClipRegion(HRGN ARgn, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipSetClipHrgn(Handle(), ARgn, GdipCombineMode(AMode)));
}

void TdxGPCanvas::SetClipRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipSetClipRegion(Handle(), ARegion ? ARegion->Handle() : nullptr, GdipCombineMode(AMode)));
}

void TdxGPCanvas::SetClipPath(TdxGPPath* APath, TdxGPCombineMode AMode) {
  CheckGdipStatus(GdipSetClipPath(Handle(), APath ? APath->Handle() : nullptr, GdipCombineMode(AMode)));
}

bool TdxGPCanvas::IsClipEmpty() const {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsClipEmpty(Handle(), &result));
  return result;
}

TdxGpOwnedRegion TdxGPCanvas::GetClipNativeRegion() const { return ClipOf(Handle()); }

TOwned<TdxGPRegion> TdxGPCanvas::GetClipRegion() const {
  const TdxGpOwnedRegion clip = ClipOf(Handle());
  return TOwned<TdxGPRegion>(New<TdxGPRegion>(clip.Get(), 0));
}

TOwnedRegion TdxGPCanvas::GetClipGdiRegion() const {
  if (IsClipEmpty()) return TOwnedRegion();
  const TdxGpOwnedRegion clip = ClipOf(Handle());
  TOwnedRegion result;
  CheckGdipStatus(GdipGetRegionHRgn(clip.Get(), Handle(), result.Receive()));
  return result;
}

bool TdxGPCanvas::GetClipBounds(TdxRectF& R) const {
  RectF bounds;
  if (GdipGetClipBounds(Handle(), &bounds) != Ok) return false;
  R = TdxRectF(bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height);
  return true;
}

bool TdxGPCanvas::GetClipBounds(TRect& R) const {
  TdxRectF bounds;
  if (!GetClipBounds(bounds)) return false;
  // Half-pixel offset: pixel i is centred on i + 0.5, so its area starts half a unit earlier.
  if (GetPixelOffsetMode() == PixelOffsetModeHalf) bounds = OffsetRectangle(bounds, -0.5f, -0.5f);
  R = ConvertRectFToRect(bounds, true);
  return true;
}

// ---------------------------------------------------------------------------
// World transform

void TdxGPCanvas::SaveWorldTransform() {
  TdxGpOwnedMatrix matrix;
  CheckGdipStatus(GdipCreateMatrix(matrix.Receive()));
  CheckGdipStatus(GdipGetWorldTransform(Handle(), matrix.Get()));
  FSavedWorldTransforms.push_back(std::move(matrix));
}

void TdxGPCanvas::RestoreWorldTransform() {
  // An unbalanced restore must not reach past the stack.
  if (FSavedWorldTransforms.empty()) return;
  const TdxGpOwnedMatrix matrix = std::move(FSavedWorldTransforms.back());
  FSavedWorldTransforms.pop_back();
  CheckGdipStatus(GdipSetWorldTransform(Handle(), matrix.Get()));
}

TOwned<TdxGPMatrix> TdxGPCanvas::GetWorldTransform() const {
  TOwned<TdxGPMatrix> result(New<TdxGPMatrix>());
  CheckGdipStatus(GdipGetWorldTransform(Handle(), result->GpHandle()));
  return result;
}

void TdxGPCanvas::SetWorldTransform(TdxGPMatrix* AMatrix) {
  CheckGdipStatus(GdipSetWorldTransform(Handle(), AMatrix ? AMatrix->GpHandle() : nullptr));
}

void TdxGPCanvas::ResetWorldTransform() { CheckGdipStatus(GdipResetWorldTransform(Handle())); }

void TdxGPCanvas::ModifyWorldTransform(TdxGPMatrix* AMatrix, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipMultiplyWorldTransform(Handle(), AMatrix ? AMatrix->GpHandle() : nullptr, AOrder));
}

void TdxGPCanvas::TranslateWorldTransform(float AOffsetX, float AOffsetY, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipTranslateWorldTransform(Handle(), AOffsetX, AOffsetY, AOrder));
}

void TdxGPCanvas::ScaleWorldTransform(float AScaleX, float AScaleY, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipScaleWorldTransform(Handle(), AScaleX, AScaleY, AOrder));
}

void TdxGPCanvas::ScaleWorldTransform(float AScaleX, float AScaleY, const TdxPointF& ACenter, TdxGpMatrixOrder) {
  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>());
  matrix->Scale(TdxPointF(AScaleX, AScaleY), ACenter);
  SetWorldTransform(matrix.get());
}

void TdxGPCanvas::RotateWorldTransform(float AAngle, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipRotateWorldTransform(Handle(), AAngle, AOrder));
}

void TdxGPCanvas::RotateWorldTransform(float AAngle, const TPoint& APivotPoint, TdxGpMatrixOrder AOrder) {
  RotateWorldTransform(AAngle, TdxPointF(APivotPoint), AOrder);
}

void TdxGPCanvas::RotateWorldTransform(float AAngle, const TdxPointF& APivotPoint, TdxGpMatrixOrder AOrder) {
  // Prepended steps act in reverse order of the calls, appended ones in
  // order; the sign makes both a rotation about the pivot.
  const float s = AOrder == MatrixOrderPrepend ? 1.0f : -1.0f;
  TranslateWorldTransform(s * APivotPoint.X, s * APivotPoint.Y, AOrder);
  RotateWorldTransform(AAngle, AOrder);
  TranslateWorldTransform(-s * APivotPoint.X, -s * APivotPoint.Y, AOrder);
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, float APivotX, float APivotY) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  const TOwned<TdxGPMatrix> flip(New<TdxGPMatrix>(AFlipHorizontally, AFlipVertically, APivotX, APivotY));
  ModifyWorldTransform(flip.get(), MatrixOrderPrepend);
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, const TPoint& APivotPoint) {
  FlipWorldTransform(AFlipHorizontally, AFlipVertically, static_cast<float>(APivotPoint.X),
                     static_cast<float>(APivotPoint.Y));
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivotPoint) {
  FlipWorldTransform(AFlipHorizontally, AFlipVertically, APivotPoint.X, APivotPoint.Y);
}

void TdxGPCanvas::TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                                  std::vector<TdxPointF>& APoints) {
  if (APoints.empty()) throw EArgumentOutOfRangeException(L"points");
  static_assert(sizeof(TdxPointF) == sizeof(PointF));
  CheckGdipStatus(GdipTransformPoints(Handle(), ADestSpace, ASrcSpace, reinterpret_cast<PointF*>(APoints.data()),
                                      static_cast<INT>(APoints.size())));
}

void TdxGPCanvas::TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                                  std::vector<TPoint>& APoints) {
  if (APoints.empty()) throw EArgumentOutOfRangeException(L"points");
  static_assert(sizeof(TPoint) == sizeof(Gdiplus::Point));
  CheckGdipStatus(GdipTransformPointsI(Handle(), ADestSpace, ASrcSpace, reinterpret_cast<Gdiplus::Point*>(APoints.data()),
                                       static_cast<INT>(APoints.size())));
}

// ---------------------------------------------------------------------------
// Images

namespace {

TdxRectF GdipImageBounds(GpImage* AImage) {
  UINT width = 0;
  UINT height = 0;
  CheckGdipStatus(GdipGetImageWidth(AImage, &width));
  CheckGdipStatus(GdipGetImageHeight(AImage, &height));
  return TdxRectF(0, 0, static_cast<float>(width), static_cast<float>(height));
}

TRect GdipImageClientRect(GpImage* AImage) { return ConvertRectFToRect(GdipImageBounds(AImage)); }

// The GDI+ format that reads a bitmap's 32-bit pixels as the bitmap means
// them: only a 32-bit bitmap with alpha has it; any other is opaque.
PixelFormat GdipFormatOfPixels(TBitmap* ABitmap) {
  if (ABitmap->PixelFormat() != pf32bit) return PixelFormat32bppRGB;
  switch (ABitmap->AlphaFormat()) {
    case afDefined: return PixelFormat32bppARGB;
    case afPremultiplied: return PixelFormat32bppPARGB;
    default: return PixelFormat32bppRGB;
  }
}

}  // namespace

void TdxGPCanvas::Draw(GpImage* AGraphic, const TdxRectF& R, std::uint8_t AAlpha) {
  Draw(AGraphic, R, GdipImageBounds(AGraphic), AAlpha);
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TRect& R, std::uint8_t AAlpha) {
  Draw(AGraphic, R, GdipImageClientRect(AGraphic), AAlpha);
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect, std::uint8_t AAlpha) {
  DrawGdipImageStretched(Handle(), ADestRect, ASourceRect, AGraphic, AAlpha);
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha) {
  DrawGdipImageRect(Handle(), ADestRect, ASourceRect, AGraphic, AAlpha);
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes) {
  Draw(AGraphic, R, GdipImageClientRect(AGraphic), AAttributes);
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                       TdxGPImageAttributes* AAttributes) {
  DrawGdipImageRect(Handle(), ADestRect, ASourceRect, AGraphic, 255, GetGPImageAttributesHandle(AAttributes));
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                       TdxGPImageAttributes* AAttributes) {
  DrawGdipImageStretched(Handle(), ADestRect, ASourceRect, AGraphic, 255, GetGPImageAttributesHandle(AAttributes));
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const std::vector<TdxPointF>& APoints) {
  static_assert(sizeof(TdxPointF) == sizeof(PointF));
  CheckGdipStatus(GdipDrawImagePoints(Handle(), AGraphic, reinterpret_cast<const PointF*>(APoints.data()),
                                      static_cast<INT>(APoints.size())));
}

void TdxGPCanvas::Draw(GpImage* AGraphic, const std::vector<TdxPointF>& APoints, TdxGPImageAttributes* AAttributes) {
  const TdxRectF source = GdipImageBounds(AGraphic);
  CheckGdipStatus(GdipDrawImagePointsRect(Handle(), AGraphic, reinterpret_cast<const PointF*>(APoints.data()),
                                          static_cast<INT>(APoints.size()), source.Left, source.Top, source.Width(),
                                          source.Height(), UnitPixel, GetGPImageAttributesHandle(AAttributes),
                                          nullptr, nullptr));
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TdxRectF& R, std::uint8_t AAlpha) {
  Draw(AGraphic, R, TdxRectF(AGraphic->ClientRect()), AAlpha);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& R, std::uint8_t AAlpha) {
  Draw(AGraphic, R, AGraphic->ClientRect(), AAlpha);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                       std::uint8_t AAlpha) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, GetAlphaBlendAttributes(AAlpha));
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, GetAlphaBlendAttributes(AAlpha));
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes) {
  Draw(AGraphic, R, AGraphic->ClientRect(), AAttributes);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                       TdxGPImageAttributes* AAttributes) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, AAttributes);
}

void TdxGPCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& R, std::uint8_t AAlpha) {
  TRGBColors pixels;
  if (!ABitmap || ABitmap->Empty() || !GetGraphicPixels(ABitmap, pixels, true)) return;
  const int width = ABitmap->Width();
  const int height = ABitmap->Height();
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(width, height, width * 4, GdipFormatOfPixels(ABitmap),
                                            reinterpret_cast<BYTE*>(pixels.data()), &bitmap));
  const TdxGpOwnedImage image(bitmap);
  Draw(image.Get(), R, TRect(0, 0, width, height), AAlpha);
}

void TdxGPCanvas::DrawTile(GpImage* AGraphic, const TRect& R, std::uint8_t AAlpha) {
  DrawTile(AGraphic, R, GdipImageClientRect(AGraphic), AAlpha);
}

void TdxGPCanvas::DrawTile(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha) {
  DrawGdipImageTiled(Handle(), ADestRect, ASourceRect, AGraphic, AAlpha);
}

void TdxGPCanvas::DrawTile(TdxGPImage* AGraphic, const TRect& R, std::uint8_t AAlpha) {
  DrawTile(AGraphic, R, AGraphic->ClientRect(), AAlpha);
}

void TdxGPCanvas::DrawTile(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                           std::uint8_t AAlpha) {
  DrawTile(AGraphic->Handle(), ADestRect, ASourceRect, AAlpha);
}

// ---------------------------------------------------------------------------
// Text

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, float X, float Y) {
  DrawString(S, AFont, ABrush, X, Y, nullptr);
}

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                             const TdxPointF& APoint) {
  DrawString(S, AFont, ABrush, APoint.X, APoint.Y, nullptr);
}

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxRectF& ARect) {
  if (IsRectangleEmpty(ARect)) return;
  DrawString(S, AFont, ABrush, ARect, nullptr);
}

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, float X, float Y,
                             const TdxGPStringFormat* AFormat) {
  // A layout rectangle of no size: the text is not wrapped.
  DrawString(S, AFont, ABrush, TdxRectF(X, Y, X, Y), AFormat);
}

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                             const TdxPointF& APoint, const TdxGPStringFormat* AFormat) {
  DrawString(S, AFont, ABrush, APoint.X, APoint.Y, AFormat);
}

void TdxGPCanvas::DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxRectF& ARect,
                             const TdxGPStringFormat* AFormat) {
  if (!ABrush || !AFont) throw EdxGdipException(InvalidParameter);
  if (S.empty()) return;
  const TdxGpRectF layout = TdxGpRectF::From(ARect);
  CheckGdipStatus(GdipDrawString(Handle(), S.c_str(), static_cast<INT>(S.size()), AFont->NativeFont(),
                                 layout.AsGdip(), AFormat ? AFormat->Handle() : nullptr, ABrush->GpHandle()));
}

TdxSizeF TdxGPCanvas::DoMeasureString(const String& AText, const TdxGPFont* AFont, const TdxGpRectF& ALayoutRect,
                                      const TdxGPStringFormat* AStringFormat, int* ACharactersFitted,
                                      int* ALinesFilled) {
  if (ACharactersFitted) *ACharactersFitted = 0;
  if (ALinesFilled) *ALinesFilled = 0;
  if (AText.empty()) return TdxSizeF();
  if (!AFont) throw EdxGdipException(InvalidParameter);
  RectF box;
  INT fitted = 0;
  INT lines = 0;
  CheckGdipStatus(GdipMeasureString(Handle(), AText.c_str(), static_cast<INT>(AText.size()), AFont->NativeFont(),
                                    ALayoutRect.AsGdip(), AStringFormat ? AStringFormat->Handle() : nullptr, &box,
                                    &fitted, &lines));
  if (ACharactersFitted) *ACharactersFitted = fitted;
  if (ALinesFilled) *ALinesFilled = lines;
  return TdxSizeF(box.Width, box.Height);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                                    const TdxGPStringFormat* AStringFormat, int& ACharactersFitted,
                                    int& ALinesFilled) {
  return DoMeasureString(AText, AFont, TdxGpRectF::Init(0, 0, ALayoutArea.cx, ALayoutArea.cy), AStringFormat,
                         &ACharactersFitted, &ALinesFilled);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, const TdxPointF& AOrigin,
                                    const TdxGPStringFormat* AStringFormat) {
  return DoMeasureString(AText, AFont, TdxGpRectF::Init(AOrigin.X, AOrigin.Y, 0, 0), AStringFormat, nullptr,
                         nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea) {
  return MeasureString(AText, AFont, ALayoutArea, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                                    const TdxGPStringFormat* AStringFormat) {
  return DoMeasureString(AText, AFont, TdxGpRectF::Init(0, 0, ALayoutArea.cx, ALayoutArea.cy), AStringFormat,
                         nullptr, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont) {
  return MeasureString(AText, AFont, TdxSizeF());
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, float AWidth) {
  return MeasureString(AText, AFont, AWidth, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, const TdxGPFont* AFont, float AWidth,
                                    const TdxGPStringFormat* AFormat) {
  return MeasureString(AText, AFont, TdxSizeF(AWidth, 999999), AFormat);
}

std::vector<TOwned<TdxGPRegion>> TdxGPCanvas::MeasureCharacterRanges(const String& AText, const TdxGPFont* AFont,
                                                                     const TdxRectF& ALayoutRect,
                                                                     const TdxGPStringFormat* AStringFormat) {
  std::vector<TOwned<TdxGPRegion>> result;
  if (AText.empty()) return result;
  if (!AFont) throw EdxGdipException(InvalidParameter);
  GpStringFormat* format = AStringFormat ? AStringFormat->Handle() : nullptr;
  INT count = 0;
  CheckGdipStatus(GdipGetStringFormatMeasurableCharacterRangeCount(format, &count));
  std::vector<GpRegion*> regions;
  for (INT i = 0; i < count; ++i) {
    result.emplace_back(New<TdxGPRegion>());
    regions.push_back(result.back()->Handle());
  }
  const TdxGpRectF layout = TdxGpRectF::From(ALayoutRect);
  CheckGdipStatus(GdipMeasureCharacterRanges(Handle(), AText.c_str(), static_cast<INT>(AText.size()),
                                             AFont->NativeFont(), *layout.AsGdip(), format, count, regions.data()));
  return result;
}
