// The GDI+ object wrappers the canvases draw with.
//
// Classes in this file:
//   TdxGPCustomGraphicObject   a GDI+ object built on first use, rebuilt at will, reporting changes
//   TdxGPMatrix                the 2-D affine matrix                        (dxGDIPlusClasses.cpp)
//   TdxGPBrushGradientPoints   the sorted stops of a gradient               (dxGDIPlusClasses_Brushes.cpp)
//   TdxGPCustomBrush           a brush laid over a target rectangle
//   TdxGPHatchBrush            a two-colour hatch
//   TdxGPBrush                 solid colour, linear gradient, texture or nothing
//   TdxGPPen                   width, brush, dashes, caps, join            (dxGDIPlusClasses_Pens.cpp)
//   TdxGPPath, TdxGPRegion     figures and regions                          (dxGDIPlusClasses_Paths.cpp)
//   TdxGPStringFormat          alignment, trimming, flags, tab stops       (dxGDIPlusClasses_Text.cpp)
//   TdxGPFontFamily, TdxGPFont font families and fonts, to and from GDI
//   TdxGPImageAttributes       colour adjustments of image drawing         (dxGDIPlusClasses_Images.cpp)
//   TdxGPAlphaBlendAttributes  a colour matrix that scales alpha
//   IdxGPHandle, TdxGPHandle   a cached GDI+ object, counted               (dxGDIPlusClasses_Resources.cpp)
//   TdxGPHandleCacheManager    bounded caches of pens, brushes and fonts
//   TdxGPResourceManager       where the canvases take those objects from
//   TdxGPCanvas, TdxGPGraphics a GDI+ graphics object with clip and transform stacks,
//                              shapes, images and text         (dxGDIPlusClasses_Canvas.cpp,
//                                                               dxGDIPlusClasses_CanvasShapes.cpp)
//   TdxGPCanvasDCScope         a graphics object's device context for a scope
//   TdxGPCustomPaintCanvas     a canvas opened on a DC for one paint (dxGDIPlusClasses_PaintCanvas.cpp)
//   TdxGPPaintCanvas           the nestable kind; one is shared
//   TdxGPPaintCanvasScope      one paint of the shared one for a scope
//   TdxGPStreamAdapter         the IStream GDI+ reads images through
//   TdxGPMemoryStream          a memory stream in memory from GDI+
//   IdxGpFlipContent, IdxGPGraphicDraw  what a decoded image handle may do itself
//   TdxGPImageHandle           a decoded GDI+ image or bitmap   (dxGDIPlusClasses_ImageHandle.cpp)
//   TdxGPImageCodec ...        the GDI+ codecs: BMP, memory bitmap, PNG, TIFF, GIF,
//                              JPEG, EMF, WMF                   (dxGDIPlusClasses_Codecs.cpp)
//   dxIsSafeToDecode           what GDI+ may be given to decode (dxGDIPlusClasses_DecodeLimits.cpp),
//                              metafiles record by record       (dxGDIPlusClasses_Metafiles.cpp)
//   TdxGPImage                 the GDI+ smart image             (dxGDIPlusClasses_SmartImages.cpp)
//   TdxSmartImage              the class picture loaders and form data name
//   TdxPNGImage                a smart image that always encodes as PNG
//   TdxSmartGlyph              a glyph with a source DPI and size, transparent
//
// Every GDI+ status passes through CheckGdipStatus unless a comment says
// otherwise.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/graphics/imaging/dxSmartImage.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/SyncObjs.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TdxGPCanvas;
class TdxGPImage;

using TdxGpHandle = void*;
// GDI+'s own values: the step acts before (prepend) or after (append) the transform.
using TdxGpMatrixOrder = Gdiplus::MatrixOrder;
using Gdiplus::MatrixOrderAppend;
using Gdiplus::MatrixOrderPrepend;

// ---------------------------------------------------------------------------
// Graphic objects and the matrix

class TdxGPCustomGraphicObject : public TdxGpBase {
  SK_CLASS(TdxGPCustomGraphicObject, TdxGpBase)
 public:
  // Creates no handle.
  virtual void Create() {}
  void BeforeDestruction() override;
  virtual void Assign(TdxGPCustomGraphicObject* ASource);

  // Creates the handle when there is none; settings applied meanwhile report no change.
  virtual void HandleNeeded();
  // The next use of Handle builds a new one from the settings.
  void FreeHandle();
  // A new object of the same class with the same settings; the caller owns it.
  TdxGPCustomGraphicObject* Clone();

  TdxGpHandle Handle() {
    HandleNeeded();
    return FHandle;
  }
  bool HandleAllocated() const { return FHandle != nullptr; }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  virtual void Changed();
  virtual void CreateHandle(TdxGpHandle& AHandle) = 0;
  virtual void DestroyHandle(TdxGpHandle& AHandle) = 0;
  virtual void HandleCreated() {}

  int FChangeLockCount;
  TdxGpHandle FHandle;

 private:
  TNotifyEvent FOnChange;
};

class TdxGPMatrix : public TdxGPCustomGraphicObject {
  SK_CLASS(TdxGPMatrix, TdxGPCustomGraphicObject)
 public:
  using inherited::Create;
  // With the elements given.
  void Create(const XFORM& AXForm);
  void Create(float M11, float M12, float M21, float M22, float DX, float DY);
  // A mirror about the pivot lines.
  void Create(bool AFlipHorizontally, bool AFlipVertically, float APivotX, float APivotY);
  void Create(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivot);

  GpMatrix* GpHandle() { return static_cast<GpMatrix*>(Handle()); }
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  // Nil for nil.
  static TdxGPMatrix* Clone(TdxGPMatrix* AMatrix);

  void GetElements(float& M11, float& M12, float& M21, float& M22, float& DX, float& DY);
  void SetElements(float M11, float M12, float M21, float M22, float DX, float DY);
  void SetElements(const XFORM& AXForm);
  XFORM ToXForm();
  void Reset() { SetElements(1, 0, 0, 1, 0, 0); }

  // A singular matrix raises EdxGdipException.
  void Invert();
  static XFORM Invert(const XFORM& AXForm);
  void Multiply(TdxGPMatrix* AMatrix, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Multiply(const XFORM& AXForm, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Rotate(float AAngle, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Rotate(float AAngle, const TdxPointF& APivot, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Scale(float ASX, float ASY, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Scale(float AScale, TdxGpMatrixOrder AOrder = MatrixOrderPrepend) { Scale(AScale, AScale, AOrder); }
  void Scale(const TdxPointF& AScale, TdxGpMatrixOrder AOrder = MatrixOrderPrepend) { Scale(AScale.X, AScale.Y, AOrder); }
  // Replaces the elements by a scaling about ACenter; the order has no effect.
  void Scale(const TdxPointF& AScale, const TdxPointF& ACenter, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Shear(float AX, float AY, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Shear(const TdxPointF& AShear, TdxGpMatrixOrder AOrder = MatrixOrderPrepend) { Shear(AShear.X, AShear.Y, AOrder); }
  void Translate(float ADX, float ADY, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void Translate(const TdxPointF& AOffset, TdxGpMatrixOrder AOrder = MatrixOrderPrepend) { Translate(AOffset.X, AOffset.Y, AOrder); }
  void Flip(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivot);

  TdxPointF TransformPoint(const TdxPointF& P);
  TPoint TransformPoint(const TPoint& P);
  void TransformPoints(std::vector<TPoint>& APoints);
  void TransformPoints(std::vector<TdxPointF>& APoints);
  void TransformPointsI(TPoint* APoints, int ACount);
  // The two corners on their own: no bounding box.
  TdxRectF TransformRect(const TdxRectF& R);
  TRect TransformRect(const TRect& R);
  TdxRectF GetBoundingRectangle(const TdxRectF& R);

  bool IsIdentity();
  bool IsInvertible();
  float OffsetX();
  float OffsetY();

 protected:
  void CreateHandle(TdxGpHandle& AHandle) override;
  void DestroyHandle(TdxGpHandle& AHandle) override;
};

// ---------------------------------------------------------------------------
// Brushes

// Stop i lives in entry i + 1; entries 0 and Count + 1 are the implicit end
// stops of the preset blend (transparent at offsets 0 and 1).
class TdxGPBrushGradientPoints : public TdxGpBase {
  SK_CLASS(TdxGPBrushGradientPoints, TdxGpBase)
 public:
  void Create() {}
  // The position at which the stop was appended, before the sort.
  int Add(float AOffset, TdxAlphaColor AColor);
  void Assign(const TdxGPBrushGradientPoints* ASource);
  void Clear() { SetCapacity(0); }
  void Delete(int AIndex);
  // Reverses the stops; each offset o becomes 1 - o.
  void InvertOrder();

  int Capacity() const { return FCapacity; }
  void SetCapacity(int AValue);
  int Count() const { return FCount; }
  TdxAlphaColor Colors(int AIndex) const;
  void SetColor(int AIndex, TdxAlphaColor AValue);
  float Offsets(int AIndex) const;
  void SetOffset(int AIndex, float AValue);

  // The stops ready for GDI+, with the end stops added where the stops do not
  // reach 0 or 1. Must not be called without stops.
  void GetPresetBlendArrays(const ARGB*& AColors, const float*& AOffsets, int& ACount);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 private:
  void CheckIndex(int AIndex) const;
  void Sort(int L, int R);
  void Changed() { CallEvent(FOnChange, this); }

  int FCapacity;
  std::vector<TdxAlphaColor> FColors;
  int FCount;
  std::vector<float> FOffsets;
  TNotifyEvent FOnChange;
};

class TdxGPCustomBrush : public TdxGPCustomGraphicObject {
  SK_CLASS(TdxGPCustomBrush, TdxGPCustomGraphicObject)
 public:
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  GpBrush* GpHandle() { return static_cast<GpBrush*>(Handle()); }

  // Stored grown by one unit on every side.
  const TdxGpRectF& TargetRect() const { return FTargetRect; }
  void SetTargetRect(const TRect& R) { SetTargetRect(TdxGpRectF::From(R)); }
  void SetTargetRect(const TdxRectF& R) { SetTargetRect(TdxGpRectF::From(R)); }
  void SetTargetRect(const TdxGpRect& R) { SetTargetRect(GdipRectFFromGdipRect(R)); }
  void SetTargetRect(const TdxGpRectF& R);

  bool IsEmpty() { return GetIsEmpty(); }

 protected:
  virtual void TargetRectChanged();
  virtual bool GetIsEmpty() { return false; }
  virtual bool IsTargetRectDependent() { return false; }
  void DestroyHandle(TdxGpHandle& AHandle) override;

  TdxGpRectF FTargetRect;
};

class TdxGPHatchBrush : public TdxGPCustomBrush {
  SK_CLASS(TdxGPHatchBrush, TdxGPCustomBrush)
 public:
  void Create(TdxAlphaColor ABackgroundColor, TdxAlphaColor AForegroundColor, Gdiplus::HatchStyle AStyle);
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  TdxAlphaColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TdxAlphaColor AValue);
  TdxAlphaColor ForegroundColor() const { return FForegroundColor; }
  void SetForegroundColor(TdxAlphaColor AValue);
  Gdiplus::HatchStyle Style() const { return FStyle; }
  void SetStyle(Gdiplus::HatchStyle AValue);

 protected:
  // Every change rebuilds the GDI+ brush on next use.
  void Changed() override;
  void CreateHandle(TdxGpHandle& AHandle) override;
  bool GetIsEmpty() override { return FBackgroundColor == 0 && FForegroundColor == 0; }

 private:
  TdxAlphaColor FBackgroundColor;
  TdxAlphaColor FForegroundColor;
  Gdiplus::HatchStyle FStyle;
};

enum TdxGPBrushGradientMode { gpbgmHorizontal, gpbgmVertical, gpbgmForwardDiagonal, gpbgmBackwardDiagonal };
enum TdxGPBrushStyle { gpbsSolid, gpbsGradient, gpbsTexture, gpbsClear };

class TdxGPBrush : public TdxGPCustomBrush {
  SK_CLASS(TdxGPBrush, TdxGPCustomBrush)
 public:
  void Create() override;
  void Destroy() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue);
  TdxGPBrushGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxGPBrushGradientMode AValue);
  TdxGPBrushGradientPoints* GradientPoints() const { return FGradientPoints.get(); }
  void SetGradientPoints(const TdxGPBrushGradientPoints* AValue) { FGradientPoints->Assign(AValue); }
  TdxGPBrushStyle Style() const { return FStyle; }
  void SetStyle(TdxGPBrushStyle AValue);
  // The texture image: the brush keeps a copy of its own (nil for none).
  GpImage* Texture() const { return FTexture.Get(); }
  void SetTexture(GpImage* AValue);
  TdxGPMatrix* TextureTransform() const { return FTextureTransform.get(); }
  void SetTextureTransform(TdxGPMatrix* AValue) { FTextureTransform->Assign(AValue); }

  // Called with the brush after each new GDI+ handle.
  TNotifyEvent OnHandleCreated() const { return FOnHandleCreated; }
  void SetOnHandleCreated(TNotifyEvent AValue) { FOnHandleCreated = AValue; }

 protected:
  void CreateHandle(TdxGpHandle& AHandle) override;
  void HandleCreated() override;
  void TargetRectChanged() override;
  bool GetIsEmpty() override;
  bool IsTargetRectDependent() override { return FStyle == gpbsGradient; }
  virtual void CreateGradientHandle(TdxGpHandle& AHandle);
  virtual void CreateSolidHandle(TdxGpHandle& AHandle, TdxAlphaColor AColor);
  virtual void CreateTextureHandle(TdxGpHandle& AHandle);

 private:
  void GradientChanged(TObject* Sender);
  void TextureChanged(TObject* Sender);
  void ApplyTextureTransform(GpTexture* ABrush);

  TdxAlphaColor FColor;
  TdxGPBrushGradientMode FGradientMode;
  TOwned<TdxGPBrushGradientPoints> FGradientPoints;
  TdxGPBrushStyle FStyle;
  TdxGpOwnedImage FTexture;
  TOwned<TdxGPMatrix> FTextureTransform;
  TNotifyEvent FOnHandleCreated;
};

// ---------------------------------------------------------------------------
// Pens

enum TdxGPPenDashCapStyle { gpdcFlat, gpdcRound, gpdcTriangle };
enum TdxGPPenLineCapStyle { gpcsFlat, gpcsSquare, gpcsRound };
using TdxGpLineJoin = Gdiplus::LineJoin;
using Gdiplus::LineJoinBevel;
using Gdiplus::LineJoinMiter;
using Gdiplus::LineJoinMiterClipped;
using Gdiplus::LineJoinRound;
// gppsDashDotDot also stands for a pen with a dash array of its own.
enum TdxGPPenStyle { gppsSolid, gppsDash, gppsDot, gppsDashDot, gppsDashDotDot };

class TdxGPPen : public TdxGPCustomGraphicObject {
  SK_CLASS(TdxGPPen, TdxGPCustomGraphicObject)
 public:
  void Create() override { Create(0); }
  // Dashes of a dashed style are 9, 4 and 2 times AScale pixels long whatever the width.
  void Create(TdxAlphaColor AColor, float AWidth = 1, TdxGPPenStyle APenStyle = gppsSolid, float AScale = 1);
  void Destroy() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  void HandleNeeded() override;
  GpPen* GpHandle() { return static_cast<GpPen*>(Handle()); }

  // Lengths in pen widths; an empty array makes the pen solid.
  void SetDashArray(const std::vector<float>& AValue) { SetDashArray(AValue, 1); }
  // The pen's own dash array (empty for none).
  const std::vector<float>& DashArray() const { return FDashArray; }
  void SetTargetRect(const TdxGpRect& R) { FBrush->SetTargetRect(R); }
  void SetTargetRect(const TRect& R) { FBrush->SetTargetRect(R); }
  void SetTargetRect(const TdxRectF& R) { FBrush->SetTargetRect(R); }

  TdxGPBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TdxGPBrush* AValue) { FBrush->Assign(AValue); }
  TdxGPPenDashCapStyle DashCapStyle() const { return FDashCapStyle; }
  void SetDashCapStyle(TdxGPPenDashCapStyle AValue);
  TdxGPPenLineCapStyle LineEndCapStyle() const { return FLineEndCapStyle; }
  void SetLineEndCapStyle(TdxGPPenLineCapStyle AValue);
  TdxGpLineJoin LineJoin() const { return FLineJoin; }
  void SetLineJoin(TdxGpLineJoin AValue);
  TdxGPPenLineCapStyle LineStartCapStyle() const { return FLineStartCapStyle; }
  void SetLineStartCapStyle(TdxGPPenLineCapStyle AValue);
  float MiterLimit() const { return FMiterLimit; }
  void SetMiterLimit(float AValue);
  TdxGPPenStyle Style() const { return FStyle; }
  void SetStyle(TdxGPPenStyle AValue);
  float Width() const { return FWidth; }
  void SetWidth(float AValue);
  bool IsEmpty() { return GetIsEmpty(); }

 protected:
  virtual TdxGPBrush* CreateBrush() { return New<TdxGPBrush>(); }
  virtual bool GetIsEmpty();
  void CreateHandle(TdxGpHandle& AHandle) override;
  void DestroyHandle(TdxGpHandle& AHandle) override;

 private:
  void SetDashArray(const std::vector<float>& AValue, float AScale);
  void ApplyDashArray();
  void BrushHandleCreated(TObject* Sender);
  void BrushChanged(TObject* Sender);
  void ApplyBrush();

  TOwned<TdxGPBrush> FBrush;
  TdxGPPenDashCapStyle FDashCapStyle;
  TdxGPPenLineCapStyle FLineEndCapStyle;
  TdxGpLineJoin FLineJoin;
  TdxGPPenLineCapStyle FLineStartCapStyle;
  float FMiterLimit;
  TdxGPPenStyle FStyle;
  float FWidth;
  // Scaled, as GDI+ got it; kept so that a rebuilt handle and a copy keep it.
  std::vector<float> FDashArray;
};

// ---------------------------------------------------------------------------
// Text

class TdxGPFontFamily;
class TdxGPFont;

using TdxGpStringAlignment = Gdiplus::StringAlignment;
using TdxGPHotkeyPrefix = Gdiplus::HotkeyPrefix;
using TdxGpStringTrimming = Gdiplus::StringTrimming;
using TdxGpStringDigitSubstitute = Gdiplus::StringDigitSubstitute;
struct TdxGpCharacterRange {
  int First;
  int Length;
};

class TdxGPStringFormat : public TdxGpBase {
  SK_CLASS(TdxGPStringFormat, TdxGpBase)
 public:
  void Create(int AFormatAttributes = 0, LANGID ALanguage = 0);
  // A copy of AFormat (of nothing for nil).
  void Create(const TdxGPStringFormat* AFormat);
  void Assign(const TdxGPStringFormat* ASource);
  TdxGPStringFormat* Clone() const { return New<TdxGPStringFormat>(this); }
  GpStringFormat* Handle() const { return FHandle.Get(); }

  void SetTabStops(float AFirstTabOffset, int ACount, const float* ATabStops);
  int GetTabStopCount() const;
  std::vector<float> GetTabStops(int ACount, float& AFirstTabOffset) const;
  void SetDigitSubstitution(LANGID ALanguage, TdxGpStringDigitSubstitute ASubstitute);
  void SetMeasurableCharacterRanges(int ACount, const TdxGpCharacterRange* ARanges);

  TdxGpStringAlignment Alignment() const;
  void SetAlignment(TdxGpStringAlignment AValue);
  TdxGpStringAlignment LineAlignment() const;
  void SetLineAlignment(TdxGpStringAlignment AValue);
  int FormatFlags() const;
  void SetFormatFlags(int AValue);
  TdxGPHotkeyPrefix HotkeyPrefix() const;
  void SetHotkeyPrefix(TdxGPHotkeyPrefix AValue);
  TdxGpStringTrimming Trimming() const;
  void SetTrimming(TdxGpStringTrimming AValue);
  LANGID DigitSubstitutionLanguage() const;
  TdxGpStringDigitSubstitute DigitSubstitutionMethod() const;
  int MeasurableCharacterRangeCount() const;

 private:
  TdxGpOwnedStringFormat FHandle;
};

class TdxGPFontFamily : public TdxGpBase {
  SK_CLASS(TdxGPFontFamily, TdxGpBase)
 public:
  // Among the installed fonts; a name that is not installed leaves Handle nil.
  void Create(const String& AName);
  void Create(GpFontFamily* AFamily);
  TdxGPFontFamily* Clone() const;
  GpFontFamily* Handle() const { return FHandle.Get(); }

  std::uint16_t GetCellAscent(int AStyle) const;
  std::uint16_t GetCellDescent(int AStyle) const;
  std::uint16_t GetEmHeight(int AStyle) const;
  std::uint16_t GetLineSpacing(int AStyle) const;
  String GetName(LANGID ALanguage = 0) const;
  String Name() const { return GetName(0); }
  bool IsStyleAvailable(int AStyle) const;

 private:
  TdxGpOwnedFontFamily FHandle;
};

// Shared families, made on first use and freed at unit shut-down; callers
// never free them. Nil when GDI+ has no such family.
TdxGPFontFamily* GetGenericSansSerifFontFamily();
TdxGPFontFamily* GetGenericSerifFontFamily();
// Frees both (the unit's shut-down); the next use makes them again.
void dxGDIPlusClassesFreeGenericFontFamilies();

// The GDI+ style bits of a set of font styles.
int GdipFontStyleFromFontStyles(TFontStyles AStyles);

// A face name that starts with "@" names a vertical font; a font carries the
// mark from GDI to GDI+ and back.
class TdxGPFont : public TObject {
  SK_CLASS(TdxGPFont, TObject)
 public:
  static constexpr int DefaultUnit = Gdiplus::UnitPoint;
  static constexpr std::uint8_t DefaultCharSet = DEFAULT_CHARSET;

  // The family is cloned.
  void Create(const TdxGPFontFamily* AFamily, float AEmSize, int AStyle = 0, int AUnit = DefaultUnit,
              std::uint8_t AGdiCharSet = DefaultCharSet, bool AGdiVerticalFont = false);
  // A unit without a style: typed, so that it is never taken for a style.
  void Create(const TdxGPFontFamily* AFamily, float AEmSize, Gdiplus::Unit AUnit);
  // By name; the vertical mark comes from the name.
  void Create(const String& AFamilyName, float AEmSize, int AStyle = 0, int AUnit = DefaultUnit,
              std::uint8_t AGdiCharSet = DefaultCharSet);
  void Create(const String& AFamilyName, float AEmSize, Gdiplus::Unit AUnit);
  void Create(const String& AFamilyName, float AEmSize, int AStyle, int AUnit, std::uint8_t AGdiCharSet,
              bool AGdiVerticalFont);
  void Create(const TdxGPFont* APrototype, int AStyle);
  // Adopts ANativeFont.
  void Create(GpFont* ANativeFont, std::uint8_t AGdiCharSet, bool AGdiVerticalFont);
  void Destroy() override;

  static TdxGPFont* FromLogFont(const LOGFONTW& ALogFont);
  static TdxGPFont* FromLogFont(const LOGFONTW& ALogFont, HDC AHdc);
  static TdxGPFont* FromHFont(HFONT AHFont);
  static TdxGPFont* FromHdc(HDC AHdc);
  // A family that is not installed gives the generic sans-serif family.
  static TdxGPFont* SafeCreate(const String& AFamilyName, float AEmSize, int AStyle = 0, int AUnit = DefaultUnit,
                               std::uint8_t AGdiCharSet = DefaultCharSet);
  static bool IsVerticalName(const String& AFamilyName);
  static String StripVerticalName(const String& AFamilyName);

  TdxGPFont* Clone() const;
  void ToLogFont(LOGFONTW& ALogFont) const;
  // AGraphics nil raises InvalidParameter.
  void ToLogFont(LOGFONTW& ALogFont, const TdxGPCanvas* ACanvas) const;
  // The caller owns the handle.
  HFONT ToHfont() const;
  float GetHeight(const TdxGPCanvas* AGraphics) const;
  float GetHeight() const;
  float GetHeight(float ADpi) const;
  // The font takes over AFamily and frees the one it had.
  void SetFontFamily(TdxGPFontFamily* AFamily);
  void SetSystemFontName(const String& ASystemFontName) { FSystemFontName = ASystemFontName; }
  std::uint32_t GetHashCode() const;

  GpFont* NativeFont() const { return FNativeFont.Get(); }
  float Size() const { return FFontSize; }
  int Style() const { return FFontStyle; }
  TdxGPFontFamily* FontFamily() const { return FFontFamily.get(); }
  int Unit() const { return FFontUnit; }
  std::uint8_t GdiCharSet() const { return FGdiCharSet; }
  bool GdiVerticalFont() const { return FGdiVerticalFont; }
  const String& SystemFontName() const { return FSystemFontName; }
  bool IsSystemFont() const { return !FSystemFontName.empty(); }
  const String& OriginalFontName() const { return FOriginalFontName; }
  bool Bold() const { return FFontStyle & Gdiplus::FontStyleBold; }
  bool Italic() const { return FFontStyle & Gdiplus::FontStyleItalic; }
  bool Underline() const { return FFontStyle & Gdiplus::FontStyleUnderline; }
  bool Strikeout() const { return FFontStyle & Gdiplus::FontStyleStrikeout; }
  String Name() const;
  float SizeInPoints() const;
  // The screen height rounded up.
  int Height() const;

 private:
  void Initialize(const TdxGPFontFamily* AFamily, float AEmSize, int AStyle, bool AGdiVerticalFont,
                  std::uint8_t AGdiCharSet, int AUnit);

  TdxGpOwnedFont FNativeFont;
  float FFontSize;
  int FFontStyle;
  TOwned<TdxGPFontFamily> FFontFamily;
  int FFontUnit;
  std::uint8_t FGdiCharSet;
  bool FGdiVerticalFont;
  String FSystemFontName;
  String FOriginalFontName;
};

// ---------------------------------------------------------------------------
// Paths and regions

enum TdxGPFillMode { gpfmAlternate, gpfmWinding };
enum TdxGPCombineMode { gmReplace, gmIntersect, gmUnion, gmXor, gmExclude, gmComplement };

class TdxGPPath : public TdxGpBase {
  SK_CLASS(TdxGPPath, TdxGpBase)
 public:
  virtual void Create() { Create(gpfmAlternate); }
  virtual void Create(TdxGPFillMode AFillMode);
  virtual void Create(const std::vector<Gdiplus::PointF>& APoints, const std::vector<BYTE>& APointTypes);
  virtual void Assign(TdxGPPath* ASource);
  GpPath* Handle() const { return FHandle.Get(); }

  TdxGPFillMode FillMode() const;
  void SetFillMode(TdxGPFillMode AValue);

  void FigureStart();
  void FigureFinish();
  void Reset();
  void Flatten(GpMatrix* AMatrix = nullptr, float AFlatness = Gdiplus::FlatnessDefault);

  void AddArc(float X, float Y, float AWidth, float AHeight, float AStartAngle, float ASweepAngle);
  void AddPie(float X, float Y, float AWidth, float AHeight, float AStartAngle, float ASweepAngle);
  void AddBezier(const TdxPointF& P1, const TdxPointF& P2, const TdxPointF& P3, const TdxPointF& P4);
  void AddEllipse(const TRect& R);
  void AddEllipse(const TdxRectF& R);
  void AddLine(float X1, float Y1, float X2, float Y2);
  void AddLine(const TdxPointF& P1, const TdxPointF& P2) { AddLine(P1.X, P1.Y, P2.X, P2.Y); }
  void AddPath(TdxGPPath* APath) { AddPath(APath, true); }
  void AddPath(TdxGPPath* APath, bool AConnect);
  void AddPolygon(const std::vector<TPoint>& APoints);
  void AddPolygon(const std::vector<TdxPointF>& APoints);
  void AddPolyline(const std::vector<TPoint>& APoints);
  void AddPolyline(const std::vector<TdxPointF>& APoints);
  void AddPolyline(const TdxPointF* APoints, int ACount);
  void AddRect(const TRect& R);
  void AddRect(const TdxRectF& R);
  // Radii limited to a third of the width and height; zero radii give the rectangle.
  void AddRoundRect(const TRect& R, int ARadiusX, int ARadiusY);
  void AddRoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY);

  void AddString(const String& AText, const TdxGPFont* AFont, const TdxRectF& ARect, const TdxGPStringFormat* AFormat);
  void AddString(const String& AText, const TdxGPFont* AFont, const TdxPointF& AOrigin, const TdxGPStringFormat* AFormat);
  void AddString(const String& AText, TFont* AFont, float AEmSize, const TRect& ARect);
  void AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                 const TdxPointF& AOrigin, const TdxGPStringFormat* AFormat);
  void AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize, const TPoint& AOrigin,
                 const TdxGPStringFormat* AFormat);
  void AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                 const TdxRectF& ALayoutRect, const TdxGPStringFormat* AFormat);
  void AddString(const String& AText, const TdxGPFontFamily* AFamily, int AStyle, float AEmSize,
                 const TRect& ALayoutRect, const TdxGPStringFormat* AFormat);

  TRect GetBounds(const TdxGPPen* APen = nullptr) const;
  TdxRectF GetBoundsF(const TdxGPPen* APen = nullptr) const;
  // The GDI+ status instead of an exception.
  GpStatus TryGetBounds(TRect& ARect, const TdxGPPen* APen = nullptr) const;
  GpStatus TryGetBoundsF(TdxRectF& ARect, const TdxGPPen* APen = nullptr) const;
  int GetPointCount() const;
  bool IsPointInPath(const TPoint& P, const TdxGPCanvas* ACanvas = nullptr) const;
  bool IsPointInPath(const TdxPointF& P, const TdxGPCanvas* ACanvas = nullptr) const;
  bool IsPointInPathOutline(const TPoint& P, TdxGPPen* APen, const TdxGPCanvas* ACanvas = nullptr) const;
  bool IsPointInPathOutline(const TdxPointF& P, TdxGPPen* APen, const TdxGPCanvas* ACanvas = nullptr) const;
  // With the shared solid pen of that width.
  bool IsPointInPathOutline(const TPoint& P, int APenWidth, const TdxGPCanvas* ACanvas = nullptr) const;
  void Transform(TdxGPMatrix* AMatrix);
  // A new GDI region the caller owns.
  HRGN GetGdiRegionHandle(const TdxGPCanvas* ACanvas) const;

 private:
  TdxGpOwnedPath FHandle;
};

class TdxGPRegion : public TdxGpBase {
  SK_CLASS(TdxGPRegion, TdxGpBase)
 public:
  // The infinite region.
  virtual void Create();
  virtual void Create(GpPath* APath);
  virtual void Create(const TdxGPPath* APath) { Create(APath->Handle()); }
  virtual void Create(const TRect& ARect);
  virtual void Create(const TdxRectF& ARect);
  // A copy of a GDI+ region.
  virtual void Create(GpRegion* ARegion, int ADummy);
  GpRegion* Handle() const { return FHandle.Get(); }

  void CombineRegionPath(const TdxGPPath* APath, TdxGPCombineMode AMode);
  void CombineRegionRect(const TRect& ARect, TdxGPCombineMode AMode);
  void CombineRegionRect(const TdxRectF& ARect, TdxGPCombineMode AMode);
  // Frees ARegion afterwards when AFreeRegion is true.
  void CombineRegionRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode, bool AFreeRegion = false);
  // Deletes the GDI region afterwards when AFreeRegion is true.
  void CombineRegionRegion(HRGN ARegion, TdxGPCombineMode AMode, bool AFreeRegion = false);
  // A new GDI region the caller owns.
  HRGN GetGdiRegionHandle(const TdxGPCanvas* ACanvas) const;
  void MakeEmpty();

 private:
  TdxGpOwnedRegion FHandle;
};

// ---------------------------------------------------------------------------
// Image attributes

class TdxGPImageAttributes : public TObject {
  SK_CLASS(TdxGPImageAttributes, TObject)
 public:
  void Create();
  TdxGPImageAttributes* Clone() const;
  GpImageAttributes* Handle() const { return FHandle.Get(); }

  using TAdjustType = Gdiplus::ColorAdjustType;
  static constexpr TAdjustType DefaultType = Gdiplus::ColorAdjustTypeDefault;
  void SetColorKey(TdxAlphaColor AColorLow, TdxAlphaColor AColorHigh, TAdjustType AType = DefaultType);
  void ClearColorKey(TAdjustType AType = DefaultType);
  void SetColorMatrix(const Gdiplus::ColorMatrix& ANewColorMatrix,
                      Gdiplus::ColorMatrixFlags AMode = Gdiplus::ColorMatrixFlagsDefault, TAdjustType AType = DefaultType);
  void SetColorMatrices(const Gdiplus::ColorMatrix& ANewColorMatrix, const Gdiplus::ColorMatrix& AGrayMatrix,
                        Gdiplus::ColorMatrixFlags AMode = Gdiplus::ColorMatrixFlagsDefault, TAdjustType AType = DefaultType);
  void ClearColorMatrix(TAdjustType AType = DefaultType);
  void SetGamma(float AGamma, TAdjustType AType = DefaultType);
  void ClearGamma(TAdjustType AType = DefaultType);
  void SetNoOp(TAdjustType AType = DefaultType);
  void ClearNoOp(TAdjustType AType = DefaultType);
  void SetOutputChannel(Gdiplus::ColorChannelFlags AFlags, TAdjustType AType = DefaultType);
  void ClearOutputChannel(TAdjustType AType = DefaultType);
  void SetOutputChannelColorProfile(const String& AColorProfileFilename, TAdjustType AType = DefaultType);
  void ClearOutputChannelColorProfile(TAdjustType AType = DefaultType);
  void SetRemapTable(const std::vector<Gdiplus::ColorMap>& AMap, TAdjustType AType = DefaultType);
  void ClearRemapTable(TAdjustType AType = DefaultType);
  void SetBrushRemapTable(const std::vector<Gdiplus::ColorMap>& AMap) { SetRemapTable(AMap, Gdiplus::ColorAdjustTypeBrush); }
  void ClearBrushRemapTable() { ClearRemapTable(Gdiplus::ColorAdjustTypeBrush); }
  void SetThreshold(float AThreshold, TAdjustType AType = DefaultType);
  void ClearThreshold(TAdjustType AType = DefaultType);
  void SetWrapMode(Gdiplus::WrapMode AMode, TdxAlphaColor AColor, bool AClamp);
  void SetWrapMode(Gdiplus::WrapMode AMode) { SetWrapMode(AMode, 0xFF000000, false); }
  void GetAdjustedPalette(Gdiplus::ColorPalette* APalette, TAdjustType AType) const;

 private:
  TdxGpOwnedImageAttributes FHandle;
};

// A colour matrix that scales alpha by Alpha / 255.
class TdxGPAlphaBlendAttributes : public TdxGPImageAttributes {
  SK_CLASS(TdxGPAlphaBlendAttributes, TdxGPImageAttributes)
 public:
  void Create();
  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t AValue);
  const Gdiplus::ColorMatrix& Matrix() const { return FColorMatrix; }

 private:
  std::uint8_t FAlpha;
  Gdiplus::ColorMatrix FColorMatrix;
};

// Nil for 255; otherwise the one shared alpha-blend object, set to AAlpha:
// a caller uses it before the next call.
TdxGPImageAttributes* GetAlphaBlendAttributes(std::uint8_t AAlpha);
// Frees the shared object (the unit's shut-down).
void dxGDIPlusClassesFreeAlphaBlendAttributes();

// ---------------------------------------------------------------------------
// Cached resources

struct IdxGPHandle : public virtual IInterface {
  static constexpr GUID IID = {0x6D3F2A41, 0x8B0C, 0x4E25, {0x9B, 0x6F, 0x1C, 0x52, 0xA7, 0x3E, 0x90, 0x4D}};
  virtual TdxGpHandle GetNativeHandle() = 0;

 protected:
  ~IdxGPHandle() = default;
};

// A counted GDI+ object that holds a reference on the binding while it lives.
class TdxGPHandle : public TInterfacedObject, public IdxGPHandle {
  SK_CLASS(TdxGPHandle, TInterfacedObject)
 public:
  void Create(TdxGpHandle AHandle);
  void Destroy() override;
  TdxGpHandle GetNativeHandle() override { return FHandle; }
  bool GetInterface(const GUID& AIID, void** AObj) override;

 protected:
  virtual void DeleteHandle() {}
  TdxGpHandle FHandle;

 private:
  bool FAcquired;
};

class TdxGPPenHandle : public TdxGPHandle {
  SK_CLASS(TdxGPPenHandle, TdxGPHandle)
 protected:
  void DeleteHandle() override;
};
class TdxGPBrushHandle : public TdxGPHandle {
  SK_CLASS(TdxGPBrushHandle, TdxGPHandle)
 protected:
  void DeleteHandle() override;
};
class TdxGPFontHandle : public TdxGPHandle {
  SK_CLASS(TdxGPFontHandle, TdxGPHandle)
 protected:
  void DeleteHandle() override;
};

struct TdxGPSolidPenCacheID {
  TdxAlphaColor Color;
  int Style;
  float Width;
  static TdxGPSolidPenCacheID Create(TdxAlphaColor AColor, int AStyle, float AWidth) { return {AColor, AStyle, AWidth}; }
};

template <class TKey>
using TdxGPHandleCache = TdxValueCacheManager<TKey, IPtr<IdxGPHandle>>;

// A bounded first-in-first-out cache whose Get makes what is missing.
template <class TKey>
class TdxGPHandleCacheManager : public TdxGPHandleCache<TKey> {
  SK_CLASS(TdxGPHandleCacheManager, TdxGPHandleCache<TKey>)
 public:
  static constexpr int DefaultCapacity = 100;
  void Create() { inherited::Create(DefaultCapacity); }
  IPtr<IdxGPHandle> Get(const TKey& AKey) {
    IPtr<IdxGPHandle> result;
    if (!inherited::Get(AKey, result)) {
      result = CreateHandle(AKey);
      inherited::Add(AKey, result);
    }
    return result;
  }

 protected:
  virtual IPtr<IdxGPHandle> CreateHandle(const TKey& AKey) = 0;
};

class TdxGPSolidPenCacheManager : public TdxGPHandleCacheManager<TdxGPSolidPenCacheID> {
  SK_CLASS(TdxGPSolidPenCacheManager, TdxGPHandleCacheManager)
 protected:
  IPtr<IdxGPHandle> CreateHandle(const TdxGPSolidPenCacheID& AKey) override;
};
class TdxGPSolidBrushCacheManager : public TdxGPHandleCacheManager<TdxAlphaColor> {
  SK_CLASS(TdxGPSolidBrushCacheManager, TdxGPHandleCacheManager)
 protected:
  IPtr<IdxGPHandle> CreateHandle(const TdxAlphaColor& AKey) override;
};
class TdxGPFontCacheManager : public TdxGPHandleCacheManager<LOGFONTW> {
  SK_CLASS(TdxGPFontCacheManager, TdxGPHandleCacheManager)
 protected:
  IPtr<IdxGPHandle> CreateHandle(const LOGFONTW& AKey) override;
};

// Every form clears AHandle first.
class TdxGPResourceManager {
 public:
  static IPtr<IdxGPHandle> GetFont(TFont* AFont);
  static IPtr<IdxGPHandle> GetSolidBrush(TdxAlphaColor AColor);
  static bool GetSolidBrush(TdxAlphaColor AColor, IPtr<IdxGPHandle>& AHandle);
  static bool GetSolidBrush(TColor AColor, std::uint8_t AColorAlpha, IPtr<IdxGPHandle>& AHandle);
  static bool GetPen(TdxAlphaColor AColor, Gdiplus::DashStyle AStyle, float AWidth, IPtr<IdxGPHandle>& AHandle);
  static bool GetPen(TdxAlphaColor AColor, TPenStyle AStyle, float AWidth, IPtr<IdxGPHandle>& AHandle);
  static bool GetPen(TdxAlphaColor AColor, TdxGPPenStyle AStyle, float AWidth, IPtr<IdxGPHandle>& AHandle);
  static bool GetPen(TColor AColor, std::uint8_t AColorAlpha, TPenStyle AStyle, float AWidth,
                     IPtr<IdxGPHandle>& AHandle);

  // The caches, nil while GDI+ is not available.
  static TdxGPSolidPenCacheManager* PenCache();
  static TdxGPSolidBrushCacheManager* BrushCache();
  static TdxGPFontCacheManager* FontCache();
};

// ---------------------------------------------------------------------------
// The canvas

// GDI+'s own values: 0 to 4 (GDI+'s 8x4 antialias mode reads as smDefault).
enum TdxGPSmoothingMode { smDefault, smHighSpeed, smHighQuality, smNone, smAntiAlias };
// GDI+'s own values: 0 to 7.
enum TdxGPInterpolationMode {
  imDefault, imLowQuality, imHighQuality, imBilinear, imBicubic, imNearestNeighbor, imHighQualityBilinear,
  imHighQualityBicubic
};
// GDI+'s compositing modes.
enum TdxGpCompositionMode { cmSourceOver, cmSourceCopy };
using TdxGpTextRenderingHint = Gdiplus::TextRenderingHint;
using Gdiplus::TextRenderingHintAntiAlias;
using Gdiplus::TextRenderingHintAntiAliasGridFit;
using Gdiplus::TextRenderingHintClearTypeGridFit;
using Gdiplus::TextRenderingHintSingleBitPerPixel;
using Gdiplus::TextRenderingHintSingleBitPerPixelGridFit;
using Gdiplus::TextRenderingHintSystemDefault;
using TdxGpCoordinateSpace = Gdiplus::CoordinateSpace;
using Gdiplus::CoordinateSpaceDevice;
using Gdiplus::CoordinateSpacePage;
using Gdiplus::CoordinateSpaceWorld;
using TdxGpPixelOffsetMode = Gdiplus::PixelOffsetMode;

// The drawing surface of everything antialiased or alpha-blended: one GDI+
// graphics object with a clip stack, a world-transform stack and shapes in
// three argument styles:
//   GDI colours   a TColor and an alpha byte each for the pen and the brush
//                 (clNone draws nothing of that part);
//   alpha colours the cached solid pen and brush of the resource manager: an
//                 invisible colour, a width not above 0 or a pen style beyond
//                 psDashDotDot draws nothing of that part;
//   objects       a brush and a pen laid over the shape's bounds first (their
//                 target rectangle); a nil object draws nothing of its part.
// The fill comes first, then the outline. A shape given by a TRect covers
// Left, Top, Right - 1, Bottom - 1 (the fills FillRectangle and
// FillRectangleByGradient take it unchanged). Angles are in degrees,
// counter-clockwise from the positive x axis.
//
// Every failing GDI+ call raises EdxGdipException; what was drawn before it stays.
class TdxGPCanvas : public TdxGpBase {
  SK_CLASS(TdxGPCanvas, TdxGpBase)
 public:
  using inherited::Create;
  // No graphics object yet.
  virtual void Create() {}
  // Adopts AHandle (nil for none): the canvas deletes it.
  void Create(GpGraphics* AHandle);
  // A graphics object over the device context, with GDI+'s defaults.
  void Create(HDC DC);
  // Saved clips and transforms still on the stacks are dropped, not restored.
  void Destroy() override;

  GpGraphics* Handle() const { return FHandle.Get(); }
  // Set by a paint canvas that paints through an off-screen copy.
  bool IsLowColorsMode() const { return FIsLowColorsMode; }
  HDC GetHDC();
  void ReleaseHDC(HDC DC);
  // clNone clears to the fully transparent colour 0; any other colour clears opaque.
  void Clear(TColor AColor);

  // Rendering settings, read and written through GDI+ on every access.
  TdxGPSmoothingMode SmoothingMode() const;
  void SetSmoothingMode(TdxGPSmoothingMode AValue);
  TdxGPInterpolationMode InterpolationMode() const;
  void SetInterpolationMode(TdxGPInterpolationMode AValue);
  TdxGpCompositionMode CompositionMode() const;
  void SetCompositionMode(TdxGpCompositionMode AValue);
  TdxGpTextRenderingHint TextRenderingHint() const;
  void SetTextRenderingHint(TdxGpTextRenderingHint AValue);
  TdxGraphicUnit PageUnit() const;
  void SetPageUnit(TdxGraphicUnit AValue);
  float PageScale() const;
  void SetPageScale(float AValue);
  float DpiX() const;
  float DpiY() const;
  TdxGpPixelOffsetMode GetPixelOffsetMode() const;
  void SetPixelOffsetMode(TdxGpPixelOffsetMode AValue);

  // Clip. A restore with nothing saved leaves the clip as it is.
  void SaveClipRegion();
  void RestoreClipRegion();
  void SetClipRect(const TRect& R, TdxGPCombineMode AMode);
  void SetClipRect(const TdxRectF& R, TdxGPCombineMode AMode);
  void SetClipRegion(HRGN ARgn, TdxGPCombineMode AMode);
  void SetClipRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode);
  void SetClipPath(TdxGPPath* APath, TdxGPCombineMode AMode);
  bool IsClipEmpty() const;
  TdxGpOwnedRegion GetClipNativeRegion() const;
  TOwned<TdxGPRegion> GetClipRegion() const;
  // Null when the clip is empty.
  TOwnedRegion GetClipGdiRegion() const;
  // False (R untouched) when GDI+ cannot tell.
  bool GetClipBounds(TdxRectF& R) const;
  // The largest whole-pixel rectangle inside the bounds, which the half-pixel
  // offset mode first moves by (-0.5, -0.5).
  bool GetClipBounds(TRect& R) const;

  // World transform. A restore with nothing saved leaves it as it is.
  void SaveWorldTransform();
  void RestoreWorldTransform();
  TOwned<TdxGPMatrix> GetWorldTransform() const;
  void SetWorldTransform(TdxGPMatrix* AMatrix);
  void ResetWorldTransform();
  void ModifyWorldTransform(TdxGPMatrix* AMatrix, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void TranslateWorldTransform(float AOffsetX, float AOffsetY, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void ScaleWorldTransform(float AScaleX, float AScaleY, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  // Replaces the transform by the scaling about ACenter; the order has no effect.
  void ScaleWorldTransform(float AScaleX, float AScaleY, const TdxPointF& ACenter,
                           TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void RotateWorldTransform(float AAngle, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  // About the pivot, in either order.
  void RotateWorldTransform(float AAngle, const TPoint& APivotPoint, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  void RotateWorldTransform(float AAngle, const TdxPointF& APivotPoint, TdxGpMatrixOrder AOrder = MatrixOrderPrepend);
  // A mirror about the pivot lines, applied before the current transform.
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, float APivotX, float APivotY);
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, const TPoint& APivotPoint);
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivotPoint);
  // No points raise EArgumentOutOfRangeException "points".
  void TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace, std::vector<TdxPointF>& APoints);
  void TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace, std::vector<TPoint>& APoints);

  // Images (AAlpha 255 draws without attributes). A GDI+ image is drawn from
  // its whole area unless a source rectangle is given; stretching follows
  // DrawGdipImageStretched.
  void Draw(GpImage* AGraphic, const TdxRectF& R, std::uint8_t AAlpha = 255);
  void Draw(GpImage* AGraphic, const TRect& R, std::uint8_t AAlpha = 255);
  void Draw(GpImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect, std::uint8_t AAlpha = 255);
  void Draw(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha = 255);
  void Draw(GpImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes);
  void Draw(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, TdxGPImageAttributes* AAttributes);
  void Draw(GpImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
            TdxGPImageAttributes* AAttributes);
  // Onto the parallelogram of three points: top-left, top-right, bottom-left.
  void Draw(GpImage* AGraphic, const std::vector<TdxPointF>& APoints);
  void Draw(GpImage* AGraphic, const std::vector<TdxPointF>& APoints, TdxGPImageAttributes* AAttributes);
  // A smart image through its own stretch drawing, so that a vector image
  // is drawn at the destination's size (the shared alpha-blend attributes
  // below 255). Its whole client rectangle unless a source rectangle is given.
  void Draw(TdxGPImage* AGraphic, const TdxRectF& R, std::uint8_t AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& R, std::uint8_t AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect, std::uint8_t AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes);
  void Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
            TdxGPImageAttributes* AAttributes);
  // Nothing for an empty bitmap; pf32bit pixels keep their alpha (afDefined
  // straight, afPremultiplied premultiplied), any other format is opaque.
  void DrawBitmap(TBitmap* ABitmap, const TRect& R, std::uint8_t AAlpha = 255);
  // Tiles the whole image (or its source part) over R, unscaled (DrawGdipImageTiled).
  void DrawTile(GpImage* AGraphic, const TRect& R, std::uint8_t AAlpha = 255);
  void DrawTile(GpImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha = 255);
  // A smart image's pixels (a vector image's at its own size).
  void DrawTile(TdxGPImage* AGraphic, const TRect& R, std::uint8_t AAlpha = 255);
  void DrawTile(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect, std::uint8_t AAlpha = 255);

  // Arcs of the ellipse in R; the point form runs from the direction of
  // AStartPoint to that of AEndPoint, seen from the centre.
  void Arc(const TRect& R, float AStartAngle, float ASweepAngle, TColor APenColor, float APenWidth,
           TPenStyle APenStyle, std::uint8_t APenColorAlpha);
  void Arc(const TRect& R, float AStartAngle, float ASweepAngle, TdxAlphaColor APenColor, float APenWidth,
           TPenStyle APenStyle);
  void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
           float APenWidth, TPenStyle APenStyle);

  // A cardinal spline through the points.
  void Curve(const std::vector<TPoint>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
             std::uint8_t APenColorAlpha);
  void Curve(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, float APenWidth, TPenStyle APenStyle);
  void Curve(const std::vector<TdxPointF>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
             std::uint8_t APenColorAlpha);

  // A pie with a square hole of AWholePercent of R's smaller side in its
  // middle; 0 (or less) draws the plain pie.
  void DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                  TdxGPCustomBrush* ABrush, TdxGPPen* APen);

  void Ellipse(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Ellipse(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Ellipse(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
               TPenStyle APenStyle);
  void Ellipse(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
               TPenStyle APenStyle);
  void Ellipse(const TRect& R, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
               std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void Ellipse(const TdxRectF& R, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
               std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);

  void Line(int X1, int Y1, int X2, int Y2, TColor APenColor, float APenWidth, TPenStyle APenStyle,
            std::uint8_t APenColorAlpha);
  void Line(int X1, int Y1, int X2, int Y2, TdxAlphaColor APenColor, float APenWidth, TPenStyle APenStyle);
  void Line(float X1, float Y1, float X2, float Y2, TdxAlphaColor APenColor, float APenWidth, TPenStyle APenStyle);
  // A nil pen raises EdxGdipException (InvalidParameter).
  void Line(int X1, int Y1, int X2, int Y2, TdxGPPen* APen);
  void Line(float X1, float Y1, float X2, float Y2, TdxGPPen* APen);

  // The pen outlines only when it is not empty.
  void Path(TdxGPPath* APath, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Path(TdxGPPath* APath, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
            TPenStyle APenStyle);
  void Path(TdxGPPath* APath, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
            std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);

  void Pie(const TRect& R, float AStartAngle, float ASweepAngle, TColor APenColor, TColor ABrushColor,
           float APenWidth, TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void Pie(const TRect& R, float AStartAngle, float ASweepAngle, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
           float APenWidth, TPenStyle APenStyle);
  // Nothing for an empty R; the target rectangles stay as they are.
  void Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TdxGPCustomBrush* ABrush, TdxGPPen* APen);

  // Filled with the winding rule, then outlined.
  void Polygon(const std::vector<TPoint>& APoints, TColor APenColor, TColor ABrushColor, float APenWidth,
               TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void Polygon(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
               float APenWidth, TPenStyle APenStyle);
  void Polygon(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
               float APenWidth, TdxGPPenStyle APenStyle);
  void Polygon(const std::vector<TdxPointF>& APoints, TColor APenColor, TColor ABrushColor, float APenWidth,
               TPenStyle APenStyle, std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void Polygon(const std::vector<TPoint>& APoints, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Polygon(const std::vector<TdxPointF>& APoints, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Polygon(const TdxPointF* APoints, int ACount, TdxGPPen* APen, TdxGPCustomBrush* ABrush);

  void Polyline(const std::vector<TPoint>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                std::uint8_t APenColorAlpha);
  void Polyline(const std::vector<TdxPointF>& APoints, TColor APenColor, float APenWidth, TPenStyle APenStyle,
                std::uint8_t APenColorAlpha);
  void Polyline(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, float APenWidth, TPenStyle APenStyle);
  void Polyline(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor, float APenWidth,
                TPenStyle APenStyle);
  // Nothing for a nil or empty pen or for no points.
  void Polyline(const std::vector<TdxPointF>& APoints, TdxGPPen* APen);
  void Polyline(const std::vector<TPoint>& APoints, TdxGPPen* APen);
  void Polyline(const TdxPointF* APoints, int ACount, TdxGPPen* APen);

  // A nil pen raises EdxGdipException (InvalidParameter).
  void DrawRectangle(const TdxRectF& R, TdxGPPen* APen);
  void FillRectangle(const TdxRectF& R, TdxGPCustomBrush* ABrush);
  void FillRectangle(const TRect& R, TdxGPCustomBrush* ABrush);
  void FillRectangle(const TdxRectF& R, TdxAlphaColor ABrushColor);
  void FillRectangle(const TRect& R, TdxAlphaColor ABrushColor);
  // Equal colours, or AColor2 the default marker, fill with AColor1;
  // otherwise a linear gradient from AColor1 to AColor2 in the mode's direction.
  void FillRectangleByGradient(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                               TdxGPBrushGradientMode AMode);
  void FillRectangleByGradient(const TdxRectF& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                               TdxGPBrushGradientMode AMode);

  void Rectangle(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                 TPenStyle APenStyle);
  void Rectangle(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Rectangle(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Rectangle(const TRect& R, TColor APenColor, TColor ABrushColor, float APenWidth, TPenStyle APenStyle,
                 std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void Rectangle(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
                 TPenStyle APenStyle);

  // Fills the region; it has no outline.
  void Region(TdxGPRegion* ARegion, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, float APenWidth,
              TPenStyle APenStyle);

  // Radii limited as TdxGPPath::AddRoundRect limits them; the colour forms
  // outline with a solid pen.
  void RoundRect(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush, int ARadiusX, int ARadiusY);
  void RoundRect(const TRect& R, TColor APenColor, TColor ABrushColor, int ARadiusX, int ARadiusY, float APenWidth,
                 std::uint8_t APenColorAlpha, std::uint8_t ABrushColorAlpha);
  void RoundRect(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, int ARadiusX, int ARadiusY,
                 float APenWidth);

  // Text. A position lays the text out without wrapping; the rectangle form
  // without a format draws nothing into an empty rectangle. A nil font or
  // brush raises EdxGdipException (InvalidParameter); an empty text draws
  // nothing. The brush's target rectangle is left as it is.
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, float X, float Y);
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxPointF& APoint);
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxRectF& ARect);
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, float X, float Y,
                  const TdxGPStringFormat* AFormat);
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxPointF& APoint,
                  const TdxGPStringFormat* AFormat);
  void DrawString(const String& S, const TdxGPFont* AFont, TdxGPCustomBrush* ABrush, const TdxRectF& ARect,
                  const TdxGPStringFormat* AFormat);
  // The size of the text's bounding box laid out from the origin (0, 0 unless
  // given) in the layout area (zero: unbounded; a width alone: that width and
  // 999999 high). An empty text measures (0, 0) and fits nothing, without
  // needing a font; a nil font raises EdxGdipException (InvalidParameter).
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                         const TdxGPStringFormat* AStringFormat, int& ACharactersFitted, int& ALinesFilled);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, const TdxPointF& AOrigin,
                         const TdxGPStringFormat* AStringFormat);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                         const TdxGPStringFormat* AStringFormat);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, float AWidth);
  TdxSizeF MeasureString(const String& AText, const TdxGPFont* AFont, float AWidth,
                         const TdxGPStringFormat* AFormat);
  // One new region per measurable range of the format (none for an empty
  // text); the caller owns them. A nil font raises EdxGdipException
  // (InvalidParameter).
  std::vector<TOwned<TdxGPRegion>> MeasureCharacterRanges(const String& AText, const TdxGPFont* AFont,
                                                          const TdxRectF& ALayoutRect,
                                                          const TdxGPStringFormat* AStringFormat);

 protected:
  TdxGpOwnedGraphics FHandle;
  bool FIsLowColorsMode;

 private:
  TdxSizeF DoMeasureString(const String& AText, const TdxGPFont* AFont, const TdxGpRectF& ALayoutRect,
                           const TdxGPStringFormat* AStringFormat, int* ACharactersFitted, int* ALinesFilled);

  std::vector<TdxGpOwnedRegion> FSavedClipRegions;
  std::vector<TdxGpOwnedMatrix> FSavedWorldTransforms;
};

// The device context of a graphics object for the length of a scope
// (GetHDC ... ReleaseHDC): GDI drawing on it gets the graphics object's
// transform and clip; the graphics object itself must not be drawn on meanwhile.
class [[nodiscard]] TdxGPCanvasDCScope : TcxCanvasScope {
 public:
  explicit TdxGPCanvasDCScope(TdxGPCanvas* ACanvas) : FCanvas(ACanvas), FDC(ACanvas->GetHDC()) {}
  ~TdxGPCanvasDCScope() noexcept(false) {
    Restore([this] { FCanvas->ReleaseHDC(FDC); });
  }

  HDC Get() const { return FDC; }

 private:
  TdxGPCanvas* FCanvas;
  HDC FDC;
};

// The base of the paint canvases.
class TdxGPGraphics : public TdxGPCanvas {
  SK_CLASS(TdxGPGraphics, TdxGPCanvas)
};

// ---------------------------------------------------------------------------
// Paint canvases

// A GDI+ canvas opened on a device context (or on a caller's graphics object)
// for one paint, under a lock held from BeginPaint to EndPaint. On a device
// with few colours it paints into a 32-bit copy of the area, one pixel wider
// and higher, that EndPaint copies back; IsLowColorsMode then stays true.
// Every BeginPaint is matched by one EndPaint on the same thread; a
// BeginPaint that fails holds nothing.
class TdxGPCustomPaintCanvas : public TdxGPGraphics {
  SK_CLASS(TdxGPCustomPaintCanvas, TdxGPGraphics)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;

  void BeginPaint(HDC DC, const TRect& R);
  // R rounded outwards to whole pixels.
  void BeginPaint(HDC DC, const TdxRectF& R);
  // Paints on AHandle, which stays the caller's.
  void BeginPaint(GpGraphics* AHandle);
  void EndPaint();

 protected:
  // BeginPaint saves before it changes anything; EndPaint restores after it has cleaned up.
  virtual void SaveState() {}
  virtual void RestoreState() {}

  TOwned<TBitmap> FBuffer;
  HDC FDrawDC;
  TRect FDrawRect;

 private:
  void CreateBuffer();
  void FlushBuffer();
  void ReleaseBuffer();

  TOwned<TCriticalSection> FLock;
};

struct TdxGPPaintCanvasState {
  TdxGpOwnedGraphics Handle;
  TOwned<TBitmap> Buffer;
  TRect DrawRect;
  HDC DC = nullptr;
};

// A paint canvas that its lock holder may open again inside a paint: the
// inner paint keeps the outer one's graphics object, buffer and target, and
// its EndPaint brings them back. The clip and transform stacks and
// IsLowColorsMode are not part of that.
class TdxGPPaintCanvas : public TdxGPCustomPaintCanvas {
  SK_CLASS(TdxGPPaintCanvas, TdxGPCustomPaintCanvas)
 protected:
  void SaveState() override;
  void RestoreState() override;

 private:
  int FCounter;
  std::vector<TdxGPPaintCanvasState> FSavedStates;
};

// The one shared paint canvas, made on first use, freed at the unit's shut-down.
TdxGPPaintCanvas* SharedGPPaintCanvas();

// One paint of the shared paint canvas for the length of a scope: BeginPaint
// when it starts, EndPaint when it ends (also when an exception leaves it).
// A paint scope may be opened inside another on the same thread.
//
//   const TdxGPPaintCanvasScope paint(DC, R);
//   paint->FillRectangle(R, AColor);
class [[nodiscard]] TdxGPPaintCanvasScope : TcxCanvasScope {
 public:
  TdxGPPaintCanvasScope(HDC DC, const TRect& R) : FCanvas(SharedGPPaintCanvas()) { FCanvas->BeginPaint(DC, R); }
  TdxGPPaintCanvasScope(HDC DC, const TdxRectF& R) : FCanvas(SharedGPPaintCanvas()) { FCanvas->BeginPaint(DC, R); }
  // On a caller's graphics object, which stays the caller's.
  explicit TdxGPPaintCanvasScope(GpGraphics* AHandle) : FCanvas(SharedGPPaintCanvas()) { FCanvas->BeginPaint(AHandle); }
  ~TdxGPPaintCanvasScope() noexcept(false) {
    Restore([this] { FCanvas->EndPaint(); });
  }

  TdxGPPaintCanvas* Canvas() const { return FCanvas; }
  TdxGPPaintCanvas* operator->() const { return FCanvas; }

 private:
  TdxGPPaintCanvas* FCanvas;
};
// A new paint canvas painting on DC over R; EndGPPaint ends the paint, frees
// the canvas and clears the variable.
TdxGPCustomPaintCanvas* BeginGPPaint(HDC DC, const TRect& R);
void EndGPPaint(TdxGPCustomPaintCanvas*& ACanvas);

// ---------------------------------------------------------------------------
// Drawing routines on any graphics object

// An image's part stretched into a destination. Nothing happens for an
// invisible destination or a width or height below 1. A metafile is drawn at
// least two device pixels wide and high, clipped to the destination. Any other
// image, unless the pixel-offset mode is half, is enlarged from a source one
// pixel narrower (lower), so that the last pixel does not spread half-faded
// over the edge. Without attributes, AAlpha below 255 takes the shared
// alpha-blend attributes.
void DrawGdipImageStretched(GpGraphics* AGraphics, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                            GpImage* AImage, std::uint8_t AAlpha = 255, GpImageAttributes* AAttributes = nullptr);
void DrawGdipImageRect(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage,
                       std::uint8_t AAlpha = 255, GpImageAttributes* AAttributes = nullptr);
// The source part repeated over the destination from its top-left corner,
// unscaled; tiles at the right and bottom edges are cut.
void DrawGdipImageTiled(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage,
                        std::uint8_t AAlpha = 255);
// The same through the shared paint canvas on DC.
void DrawGdipImageTiledOnDC(HDC DC, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage);
// Runs AProc, mirrored about R's vertical centre line in the half-pixel
// offset mode when AMirror is set; transform and mode come back afterwards,
// also when AProc raises.
void PaintGPMirroredIfRightToLeft(TdxGPCanvas* ACanvas, const TRect& R, bool AMirror,
                                  const std::function<void()>& AProc);
// Whether GDI+ should paint on DC through a 32-bit copy: 16 bits per pixel or
// fewer, a raster printer, a palette, or (before Windows Vista) a layered window.
bool IsLowColorDC(HDC DC);
bool IsGdipRectVisible(GpGraphics* AGraphics, const TdxRectF& R);
bool IsGdipRectVisible(GpGraphics* AGraphics, const TRect& R);
// Nil for nil.
GpGraphics* GetGPCanvasHandle(const TdxGPCanvas* ACanvas);
GpImageAttributes* GetGPImageAttributesHandle(const TdxGPImageAttributes* AAttributes);
// The window of DC through user32's WindowFromDC, bound by name at the
// unit's start-up; 0 without it.
HWND GetWindowFromDC(HDC DC);

// Replaceable for tests: the device capabilities IsLowColorDC reads
// (GetDeviceCaps) and the bound WindowFromDC (nil: missing). Each setter
// answers the previous value; a nil source is GetDeviceCaps itself.
using TdxDeviceCapsSource = int(WINAPI*)(HDC DC, int AIndex);
TdxDeviceCapsSource SetDeviceCapsSource(TdxDeviceCapsSource ASource);
using TdxWindowFromDCProc = HWND(WINAPI*)(HDC DC);
TdxWindowFromDCProc SetWindowFromDCProc(TdxWindowFromDCProc AProc);
// The unit's start-up binds WindowFromDC and opens the window that hears
// display mode changes (the low-colour test keeps the display's answer until
// then); its shut-down frees the shared paint canvas and that window.
void dxGDIPlusClassesBindWindowFromDC();
void dxGDIPlusClassesListenForDisplayChanges();
void dxGDIPlusClassesFreePaintCanvases();

// ---------------------------------------------------------------------------
// Streams for GDI+

// The class library's IStream adapter, with a Stat that also answers a nil
// record (S_OK, nothing written) and never lets an exception out (E_UNEXPECTED).
class TdxGPStreamAdapter : public TStreamAdapter {
  SK_CLASS(TdxGPStreamAdapter, TStreamAdapter)
 public:
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* AStatStg, DWORD AStatFlag) override;
};

// A memory stream whose memory comes from GdipAlloc and goes back through
// GdipFree, so GDI+ may keep reading it; it holds a reference on the binding.
class TdxGPMemoryStream : public TdxSmartImageDataStream {
  SK_CLASS(TdxGPMemoryStream, TdxSmartImageDataStream)
 public:
  void Create() override;
  void Destroy() override;

 protected:
  // Exactly ANewCapacity bytes; the old bytes up to the smaller capacity are
  // copied over. Raises EStreamError when GDI+ has no memory to give.
  void* Realloc(std::int64_t& ANewCapacity) override;

 private:
  bool FAcquired;
};

// ---------------------------------------------------------------------------
// Decoded GDI+ images

// A handle that mirrors its own content.
struct IdxGpFlipContent : public virtual IInterface {
  static constexpr GUID IID = {0x5E0B9A37, 0x2C6D, 0x4F18, {0x93, 0xA1, 0xD4, 0x6F, 0x0E, 0x58, 0xB2, 0x7C}};
  virtual void Flip(bool AHorizontally, bool AVertically) = 0;

 protected:
  ~IdxGpFlipContent() = default;
};

// A handle that draws itself on a GDI+ canvas (vector images).
struct IdxGPGraphicDraw : public virtual IInterface {
  static constexpr GUID IID = {0xA4D2C716, 0x8B3F, 0x4E59, {0xBF, 0x64, 0x29, 0x0D, 0x7A, 0xC5, 0x3E, 0x81}};
  virtual void Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                    TdxGPImageAttributes* AAttributes, IdxColorPalette* APalette) = 0;
  virtual void Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                    TdxGPImageAttributes* AAttributes, IdxColorPalette* APalette) = 0;

 protected:
  ~IdxGPGraphicDraw() = default;
};

// The decoded form of every raster smart image: one GDI+ image or bitmap.
// It holds a reference on the GDI+ binding while it lives. A Windows
// metafile keeps the origin of its bounds and the ratio of the screen's DPI
// to its own, by which sizes grow and source rectangles shrink.
//
// It draws itself on a GDI+ canvas (IdxGPGraphicDraw) instead of through the
// canvas's device context, where the pixels of a canvas over a bitmap would
// lose their alpha and the canvas's clip would not hold.
class TdxGPImageHandle : public TdxSmartImageCustomHandle,
                         public IdxAnimatedImage,
                         public IdxImageDataFormat,
                         public IdxGpFlipContent,
                         public IdxGPGraphicDraw {
  SK_CLASS(TdxGPImageHandle, TdxSmartImageCustomHandle)
 public:
  // Takes over AHandle (nil: an empty handle).
  void Create(GpImage* AHandle);
  // A bitmap over the caller's pixels (top-down, AWidth x 4 bytes a row), which
  // must outlive the handle: afIgnored 32 bpp RGB, afDefined ARGB,
  // afPremultiplied premultiplied ARGB.
  void CreateFromBits(int AWidth, int AHeight, const RGBQUAD* ABitsRef, TAlphaFormat AAlphaFormat);
  void CreateSize(int AWidth, int AHeight, Gdiplus::PixelFormat APixelFormat = PixelFormat32bppPARGB);
  void CreateSize(const TSize& ASize) { CreateSize(ASize.cx, ASize.cy); }
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  GpImage* Handle() const { return FHandle.Get(); }
  // Takes over AValue and disposes the old image (nothing when it is the same).
  void SetHandle(GpImage* AValue);
  TdxImageDataFormat ImageDataFormat() const { return FImageFormat; }

  TOwned<TdxGPImageHandle> Clone() const;
  // A copy of that area in that pixel format.
  TOwned<TdxGPImageHandle> Clone(const TRect& ARect, Gdiplus::PixelFormat APixelFormat) const;
  TOwned<TdxGPImageHandle> Clone(const TdxRectF& ARect, Gdiplus::PixelFormat APixelFormat) const;
  Gdiplus::BitmapData LockBits(const TRect& ARect, UINT ALockMode, Gdiplus::PixelFormat APixelFormat);
  void UnlockBits(Gdiplus::BitmapData& AData);
  ARGB GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, ARGB AColor);
  // A canvas drawing into the image; the caller owns it.
  TOwned<TdxGPCanvas> CreateCanvas();
  Gdiplus::PixelFormat PixelFormat() const;
  bool IsMetafile() const { return FImageFormat == dxImageEmf || FImageFormat == dxImageWmf; }

  TSize GetSize() const override;
  // Resize with GDI+'s default quality.
  void SetSize(const TSize& ASize) override;
  bool Empty() const override { return !FHandle; }
  // A bitmap: GDI+'s own 32-bit premultiplied copy; a metafile draws itself.
  TOwned<TBitmap> GetAsBitmap() override;
  // A new premultiplied bitmap of ASize with the image drawn over it (modes 0: GDI+'s defaults).
  void Resize(const TSize& ASize, Gdiplus::InterpolationMode AInterpolationMode,
              Gdiplus::PixelOffsetMode APixelOffsetMode);
  void Flip(bool AHorizontally, bool AVertically) override;

  // Through the shared paint canvas; the palette is not used by raster images.
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
            IdxColorPalette* APalette) override;
  void Draw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha, IdxColorPalette* APalette) override;
  void Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource, TdxGPImageAttributes* AAttributes);
  void Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource, TdxGPImageAttributes* AAttributes);
  // IdxGPGraphicDraw: the same; the palette is not used.
  void Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource, TdxGPImageAttributes* AAttributes,
            IdxColorPalette*) override {
    Draw(ACanvas, ADest, ASource, AAttributes);
  }
  void Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource, TdxGPImageAttributes* AAttributes,
            IdxColorPalette*) override {
    Draw(ACanvas, ADest, ASource, AAttributes);
  }

  // IdxAnimatedImage: frames of the only frame dimension (none with several).
  int GetActiveFrame() override { return FActiveFrame; }
  // The frame asked for, or frame 0 when GDI+ cannot select it.
  void SetActiveFrame(int AValue) override;
  int GetAnimationFrameCount() override;
  // 75 ms without delays stored in the image.
  int GetAnimationFrameDelay() override;
  int GetAnimationLoopCount() override;
  // IdxImageDataFormat
  TdxImageDataFormat GetImageDataFormat() override { return FImageFormat; }

 private:
  TdxRectF SourceToImage(const TdxRectF& ASource) const;
  // The value bytes of a property item (empty when the image has none).
  std::vector<std::uint8_t> PropertyItemValue(PROPID AId) const;

  TdxGpOwnedImage FHandle;
  TdxImageDataFormat FImageFormat;
  int FActiveFrame;
  GUID FDimensionID;
  TdxPointF FImageOrigin;
  float FImageScaleFactor;
  bool FAcquired;
};

// ---------------------------------------------------------------------------
// The GDI+ codecs

// Every GDI+ codec decodes whatever GDI+ reads (it does not test its own
// signature) and saves any handle.
class TdxGPImageCodec : public TdxSmartImageCodec {
  SK_CLASS(TdxGPImageCodec, TdxSmartImageCodec)
 public:
  struct TMeta : TdxSmartImageCodec::TMeta {
    bool CanSaveImage(TdxSmartImageCustomHandle*) const override { return true; }
    bool Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const override;
    using TdxSmartImageCodec::TMeta::Load;
    // Every GDI+ codec loads through GDI+ itself, whatever its format.
    const TdxSmartImageCodec::TMeta* StreamDecoder() const override { return dxCodec<TdxGPImageCodec>(); }
    // A handle of another kind is saved from its premultiplied pixels.
    bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override;
    // GDI+'s encoder of the codec's format; false for a format without one.
    virtual bool SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                             const Gdiplus::EncoderParameters* AParameters) const;
  };
};

class TdxGPImageCodecBMP : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecBMP, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TdxImageDataFormat GetFormatID() const override { return dxImageBitmap; }
    String Extensions() const override { return L"*.bmp;"; }
    String MimeType() const override { return L"image/bmp"; }
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadFromBits() const override { return true; }
    bool CanLoadStream(TStream* AStream) const override;
    bool Load(const RGBQUAD* ABits, TAlphaFormat AAlphaFormat, int AWidth, int AHeight,
              TOwned<TdxSmartImageCustomHandle>& AHandle) const override;
    using TdxGPImageCodec::TMeta::Load;
  };
};

// Pixels held in memory; in no dialog filter.
class TdxGPImageCodecMemoryBitmap : public TdxGPImageCodecBMP {
  SK_CLASS(TdxGPImageCodecMemoryBitmap, TdxGPImageCodecBMP)
 public:
  struct TMeta : TdxGPImageCodecBMP::TMeta {
    TdxImageDataFormat GetFormatID() const override { return dxImageMemoryBmp; }
    String Description() const override { return {}; }
  };
};

class TdxGPImageCodecPNG : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecPNG, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TClass GetGraphicClass() const override;
    TdxImageDataFormat GetFormatID() const override { return dxImagePng; }
    String Extensions() const override { return L"*.png;"; }
    String MimeType() const override { return L"image/png"; }
    UINT GetClipboardFormatId() const override;
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadStream(TStream* AStream) const override;
  };
};

class TdxGPImageCodecTIFF : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecTIFF, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TClass GetGraphicClass() const override;
    TdxImageDataFormat GetFormatID() const override { return dxImageTiff; }
    String Extensions() const override { return L"*.tiff;*.tif;"; }
    String MimeType() const override { return L"image/tiff"; }
    UINT GetClipboardFormatId() const override;
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadStream(TStream* AStream) const override;
  };
};

class TdxGPImageCodecGIF : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecGIF, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TClass GetGraphicClass() const override;
    TdxImageDataFormat GetFormatID() const override { return dxImageGif; }
    String Extensions() const override { return L"*.gif;"; }
    String MimeType() const override { return L"image/gif"; }
    UINT GetClipboardFormatId() const override;
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadStream(TStream* AStream) const override;
    // Pixels that are not indexed are saved from an 8-bit indexed copy: some
    // GIF encoders (Wine's) write no image for them at all.
    bool SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                     const Gdiplus::EncoderParameters* AParameters) const override;
  };
};

class TdxGPImageCodecJPEG : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecJPEG, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TClass GetGraphicClass() const override;
    TdxImageDataFormat GetFormatID() const override { return dxImageJpeg; }
    String Extensions() const override { return L"*.jpeg;*.jpg;"; }
    String MimeType() const override { return L"image/jpg"; }
    UINT GetClipboardFormatId() const override;
    // Only baseline and lossless frames tell their size here; a progressive
    // JPEG is measured by decoding.
    bool GetSize(TStream* AStream, TSize& ASize) const override;
    bool CanLoadStream(TStream* AStream) const override;
    // With the unit's JPEG quality when it is set and no parameters are given.
    bool SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                     const Gdiplus::EncoderParameters* AParameters) const override;
  };
};

// Metafiles have no signature or header size of their own here; saving
// records the image on a metafile canvas.
class TdxGPImageCodecEMF : public TdxGPImageCodec {
  SK_CLASS(TdxGPImageCodecEMF, TdxGPImageCodec)
 public:
  struct TMeta : TdxGPImageCodec::TMeta {
    TdxImageDataFormat GetFormatID() const override { return dxImageEmf; }
    String Extensions() const override { return L"*.emf;"; }
    String MimeType() const override { return L"image/emf"; }
    bool SaveGPImage(TStream* AStream, TdxGPImageHandle* AHandle,
                     const Gdiplus::EncoderParameters* AParameters) const override;
  };
};

class TdxGPImageCodecWMF : public TdxGPImageCodecEMF {
  SK_CLASS(TdxGPImageCodecWMF, TdxGPImageCodecEMF)
 public:
  struct TMeta : TdxGPImageCodecEMF::TMeta {
    TdxImageDataFormat GetFormatID() const override { return dxImageWmf; }
    String Extensions() const override { return L"*.wmf;"; }
    String MimeType() const override { return L"image/wmf"; }
  };
};

// The quality the JPEG codec asks GDI+ for (0..100); -1, the start-up value,
// lets GDI+ choose.
int JPEGQuality();
void SetJPEGQuality(int AValue);

// Whether GDI+ may be given the bytes to decode (dxGDIPlusClasses_DecodeLimits.cpp):
// their headers state at most dxMaxDecodedImageBytes of pixels and
// dxMaxImageFrames frames, and a metafile among them passes dxIsPlayableMetafile.
// Every codec's Load asks first.
bool dxIsSafeToDecode(std::span<const std::uint8_t> AData);
// Whether the bytes begin as an EMF or a WMF file (placeable or not).
bool dxIsMetafileData(std::span<const std::uint8_t> AData);
// Whether every record of the EMF or WMF file is one GDI plays within its
// bytes and bounds (dxGDIPlusClasses_Metafiles.cpp).
bool dxIsPlayableMetafile(std::span<const std::uint8_t> AData);

// ---------------------------------------------------------------------------
// GDI+ smart images

class TdxGPImage : public TdxCustomSmartImage {
  SK_CLASS(TdxGPImage, TdxCustomSmartImage)
 public:
  // The GDI+ image of the decoded handle; a vector image is turned into pixels first.
  GpImage* Handle();
  // A new decoded handle takes over AValue (nothing when it is the current image).
  void SetHandle(GpImage* AValue);
  TOwned<TdxGPImage> Clone();
  // A canvas drawing into the image's pixels; the caller owns it.
  TOwned<TdxGPCanvas> CreateCanvas();

  using TdxCustomSmartImage::StretchDraw;
  void StretchDraw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                   TdxGPImageAttributes* AAttributes = nullptr, IdxColorPalette* AColorPalette = nullptr);
  void StretchDraw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                   TdxGPImageAttributes* AAttributes = nullptr, IdxColorPalette* AColorPalette = nullptr);
  // A new image of this one's size: this image at ASourceAlpha with the
  // overlay stretched over it at AOverlayAlpha. The caller owns it.
  TOwned<TdxGPImage> MakeComposition(TdxGPImage* AOverlayImage, std::uint8_t AOverlayAlpha,
                                     std::uint8_t ASourceAlpha = 255);
  void Flip(bool AHorizontally, bool AVertically);
  // Without stored bytes, by StorageCodec.
  void SaveToStream(TStream* AStream) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;
  TOwned<TdxSmartImageCustomHandle> CreateResizedHandle(const TSize& ASize) override;
  // By StorageCodec.
  void EnsureEncodedData() override;
  TOwned<TdxSmartImageDataStream> NewDataStream() override;
  // The image's own codec, except that pixels with alpha are kept as PNG: a
  // BMP file would not keep the alpha everywhere (Wine's encoder writes 24 bits).
  TdxSmartImageCodecClass StorageCodec();
};

class TdxSmartImage : public TdxGPImage {
  SK_CLASS(TdxSmartImage, TdxGPImage)
 public:
  struct TMeta : TdxGPImage::TMeta {
    // A registered codec recognises the stream.
    bool CanLoadFromStream(TStream* AStream) const override;
  };
};

// Whatever it was loaded from, it reports PNG and writes PNG: the loaded
// bytes while they are stored, a new PNG otherwise.
class TdxPNGImage : public TdxSmartImage {
  SK_CLASS(TdxPNGImage, TdxSmartImage)
 public:
  void SaveToStream(TStream* AStream) override;

 protected:
  TdxSmartImageCodecClass GetImageCodec() override;
};

// A glyph: transparent where a bitmap without alpha shows its key colour,
// drawn for a DPI (30..480) and optionally for a size of its own.
class TdxSmartGlyph : public TdxSmartImage, public IdxSourceSize, public IdxSourceDPI {
  SK_CLASS(TdxSmartGlyph, TdxSmartImage)
 public:
  static void Publish(TPublisher<TdxSmartGlyph>& P);
  void Create() override;
  void AfterConstruction() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  // Whether pixels without alpha take the key colour as transparent.
  void SetTransparent(bool AValue) override;

  int SourceDPI() const { return FSourceDPI; }
  void SetSourceDPI(int AValue);
  // The stored value, else the glyph's own width or height.
  int SourceWidth() const;
  void SetSourceWidth(int AValue);
  int SourceHeight() const;
  void SetSourceHeight(int AValue);

  // IdxSourceSize, IdxSourceDPI
  TSize GetSourceSize() override;
  int GetSourceDPI() override { return FSourceDPI; }

 protected:
  void AssignSmartImage(TdxCustomSmartImage* AImage) override;
  void LoadFromBitmapData(TBitmap* ABitmap) override;
  // Also a 32-bit length followed by a BMP file of that length, which is
  // then read from after the length.
  bool IsBitmapStream(TStream* AStream) override;

 private:
  bool IsSourceDPIStored() const { return !Empty(); }
  bool IsSourceWidthStored() const { return FSourceWidth != 0; }
  bool IsSourceHeightStored() const { return FSourceHeight != 0; }
  void SetSourceSize(int& AField, int AValue, int AOwnSize);

  int FSourceDPI;
  int FSourceWidth;
  int FSourceHeight;
  bool FTransparent;
};

// The unit's start-up registers the image classes and, when GDI+ offers
// their decoders, the codecs; its shut-down takes them back.
void dxGDIPlusClassesRegisterImageCodecs();
void dxGDIPlusClassesUnregisterImageCodecs();

void dxGDIPlusClassesInitialization();
void dxGDIPlusClassesFinalization();
