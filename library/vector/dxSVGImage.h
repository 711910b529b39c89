// SVG as a smart-image format: the codec that recognises, sizes, loads and
// saves SVG data, and the decoded handle that draws a picture at any size
// by rasterising it through GDI+ with supersampling, recoloured through a
// palette and optionally flipped.
//
// Classes in this file:
//   TdxSVGSourceData        the document a picture was loaded from, kept compressed
//   TdxSVGRenderQuality     how finely a picture is supersampled
//   TdxSVGImageHandle       a decoded picture and its last raster
//   TdxSVGImage             the picture class of SVG files
//   TdxSVGImageCodec        the codec of the smart-image registry
//   TdxSVGAnnotation        a document that reads only up to the first start tag
//
// A picture's size is its viewport (width and height, else the view box's),
// in whole pixels; the view box is fitted into it as "preserveAspectRatio"
// says. A picture whose view box (its zero sides taken from width and height)
// is not positive in either direction, or whose size rounds to zero, has an
// empty size and draws nothing. Rasters are bounded (MaxRasterSide,
// MaxRasterPixels): a picture asked for beyond that is drawn from a raster at
// the bound, stretched; GetAsBitmap answers a bitmap within the same bounds.
#pragma once

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxSmartImage.h"
#include "library/vector/dxSVGCore.h"
#include "library/vector/dxXMLDoc.h"

// The document as the writer writes it (indented), deflated at maximum
// compression; saving gives that text back.
class TdxSVGSourceData : public TObject {
  SK_CLASS(TdxSVGSourceData, TObject)
 public:
  // Sets the document's AutoIndent and writes it.
  void Create(TdxXMLDocument* ADocument);
  void SaveToStream(TStream* AStream);
  // The compressed bytes.
  std::int64_t Size() const { return FData->Size(); }

 private:
  TOwned<TdxGPMemoryStream> FData;
};

// srqDefault: the process-wide default, srqHigh.
enum TdxSVGRenderQualityValues { srqDefault, srqLow, srqMedium, srqHigh };
// The effective quality: never srqDefault.
using TdxSVGRenderQuality = TdxSVGRenderQualityValues;

class TdxSVGImageHandle : public TdxSmartImageCustomHandle,
                          public IdxVectorImage,
                          public IdxImageDataFormatEx,
                          public IdxGpFlipContent,
                          public IdxGPGraphicDraw {
  SK_CLASS(TdxSVGImageHandle, TdxSmartImageCustomHandle)
 public:
  static constexpr int MaxRasterSide = 16384;
  static constexpr double MaxRasterPixels = 4096.0 * 4096.0;

  // Takes over the root.
  void Create(TdxSVGElementRoot* ARoot);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // The root's Size, rounded; empty without a root or a natural size.
  TSize GetSize() const override;
  bool Empty() const override { return GetSize().cx == 0 || GetSize().cy == 0; }
  TdxAlphaState GetAlphaState() override { return asSemitransparent; }
  // The whole picture in a 32-bit bitmap of its size, or of that size scaled
  // down proportionally to the raster bounds.
  TOwned<TBitmap> GetAsBitmap() override;
  // ASource in the handle's units, drawn from the raster of ADest's size.
  void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
            IdxColorPalette* APalette) override;
  void Draw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha, IdxColorPalette* APalette) override;
  // IdxGPGraphicDraw: from a raster of ADest's size on the canvas's device.
  void Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource, TdxGPImageAttributes* AAttributes,
            IdxColorPalette* APalette) override;
  void Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource, TdxGPImageAttributes* AAttributes,
            IdxColorPalette* APalette) override;
  // IdxImageDataFormatEx: the SVG codec.
  TdxSmartImageCodecClass GetImageCodec() override;
  // Both flags are kept; the raster is drawn again.
  void Flip(bool AHorizontally, bool AVertically) override;

  // The whole picture scaled proportionally to cover ASize, recoloured and
  // flipped; owned by the handle until the next call with another size,
  // quality or palette, a Flip or the handle's end. Nil for an empty picture.
  TdxGPImageHandle* GetRasterizedImage(const TSize& ASize, IdxColorPalette* APalette);
  // The last raster, if any, without making one.
  TdxGPImageHandle* CachedImage() const { return FCachedImage.get(); }
  // The supersampling factor for a picture of larger side S drawn at T.
  static int SupersamplingFactor(int S, int T, TdxSVGRenderQuality AQuality);

  TdxGPInterpolationMode InterpolationMode() const { return FInterpolationMode; }
  void SetInterpolationMode(TdxGPInterpolationMode AValue) { FInterpolationMode = AValue; }
  TdxSVGRenderQualityValues RenderQuality() const { return FRenderQuality; }
  void SetRenderQuality(TdxSVGRenderQualityValues AValue) { FRenderQuality = AValue; }
  TdxGPSmoothingMode SmoothingMode() const { return FSmoothingMode; }
  void SetSmoothingMode(TdxGPSmoothingMode AValue) { FSmoothingMode = AValue; }
  TdxSVGElementRoot* Root() const { return FRoot.get(); }
  TdxSVGSourceData* SourceData() const { return FSourceData.get(); }
  // Takes over AValue; the old data is freed.
  void SetSourceData(TdxSVGSourceData* AValue) { FSourceData.reset(AValue); }
  bool FlipHorizontally() const { return FFlipHorizontally; }
  bool FlipVertically() const { return FFlipVertically; }

 private:
  // The view box with its zero sides from width and height (pixels; a
  // percentage there counts as zero).
  TdxRectF NaturalBox() const;
  TdxSVGRenderQuality EffectiveQuality() const;
  TdxGPInterpolationMode EffectiveInterpolationMode() const;

  TOwned<TdxGPImageHandle> FCachedImage;
  GUID FCachedImagePalette;
  TdxSVGRenderQuality FCachedImageQuality;
  bool FFlipHorizontally;
  bool FFlipVertically;
  TdxGPInterpolationMode FInterpolationMode;
  TdxSVGRenderQualityValues FRenderQuality;
  TdxGPSmoothingMode FSmoothingMode;
  TOwned<TdxSVGSourceData> FSourceData;
  TOwned<TdxSVGElementRoot> FRoot;
};

// Always saved as SVG.
class TdxSVGImage : public TdxCustomSmartImage {
  SK_CLASS(TdxSVGImage, TdxCustomSmartImage)
 public:
  void SaveToStream(TStream* AStream) override;
};

class TdxSVGImageCodec : public TdxSmartImageCodec {
  SK_CLASS(TdxSVGImageCodec, TdxSmartImageCodec)
 public:
  struct TMeta : TdxSmartImageCodec::TMeta {
    TClass GetGraphicClass() const override;
    String Extensions() const override { return L"*.svg;"; }
    String MimeType() const override { return L"image/svg+xml"; }
    // The first start tag's size, read without the rest; the position stays.
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadStream(TStream* AStream) const override;
    bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const override;
    using TdxSmartImageCodec::TMeta::Load;
    // False without a top-level svg element; errors of the import propagate.
    bool Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const override;
    // The source text when the handle keeps it, else the tree written out.
    bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override;
  };

  static bool Load(TdxXMLDocument* ADocument, TOwned<TdxSmartImageCustomHandle>& AHandle);
  static bool Load(const String& AFileName, TOwned<TdxSmartImageCustomHandle>& AHandle);
};

// Parsing stops right after the first element's start tag.
class TdxSVGAnnotation : public TdxXMLDocument {
  SK_CLASS(TdxSVGAnnotation, TdxXMLDocument)
 protected:
  TOwned<TdxXMLParser> CreateParser() override;
};

class TdxSVGAnnotationParser : public TdxXMLParser {
  SK_CLASS(TdxSVGAnnotationParser, TdxXMLParser)
 protected:
  // The element's name and attributes, then the end of the parse.
  TdxXMLNode* ParseNodeHeader(TdxXMLNode* ANode) override;
};

void dxSVGImageInitialization();
void dxSVGImageFinalization();
