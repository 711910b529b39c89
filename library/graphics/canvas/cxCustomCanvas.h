// The abstract canvas: the drawing surface painters draw on without knowing
// the back end, what it draws with (brushes, pens, fonts, images, image
// lists, paths, text layouts, each a resource made for one canvas), the
// back-end-neutral fill, stroke and font options, and the GDI-based canvas
// that draws on a device context and sends everything antialiased, alpha-
// blended or gradient to GDI+.
//
// Classes in this file:
//   TcxCustomCanvas                  the abstract canvas             (cxCustomCanvas.cpp)
//   TcxCanvasStateStack              window origin, world transform and their saved levels
//                                    of the back ends that keep them (GDI+, Direct2D)
//   IcxCanvasCacheControl            an object that caches a canvas resource
//   TdxFillOptions, TdxStrokeOptions, TdxFontOptions
//                                    a fill, a stroke and a font for any canvas
//                                                                    (cxCustomCanvas_Options.cpp)
//   TcxCanvasBasedResource           a resource made for one canvas  (cxCustomCanvas_Resources.cpp)
//   TcxCanvasBasedBrush, ...Pen, ...Font, ...ImageList
//                                    thin wrappers of a shared native handle
//   TcxCanvasBasedImage, TcxCanvasBasedPath
//                                    resources without a shared handle
//   TcxCanvasBasedResourceHandle     a shared, counted native object interned by value
//   TcxCanvasBasedBrushHandle, ...FontHandle, ...PenHandle, ...ImageListHandle
//   TcxCanvasBasedSharedResources    a pool that interns handles: ...SharedBrushes,
//                                    ...SharedFonts, ...SharedImageLists, ...SharedPens
//   TcxCanvasBasedResourceCacheKey   what DrawNativeObject draws, for back ends that cache it
//   TcxCanvasBasedImageCacheKey, TcxCanvasBasedImageCache
//                                    an image list handle's images by item, mode and palette
//   TcxCanvasBasedTextLayout         one text measured and drawn     (cxCustomCanvas_TextLayout.cpp)
//   TcxCanvasBasedTextLayoutCustomTransform, ...SimpleTransform, ...ComplexTransform
//   TcxGdiCanvasBasedTextLayout      the text engine's layout on GDI
//   TcxCustomGdiBasedCanvas          GDI+ object resources and the process-wide pools
//                                                                    (cxCustomCanvas_Gdi.cpp)
//   TcxGdiBasedCanvas                the drawing operations on a device context
//   TcxHeldObject                    an object kept by the ownership rule
//   TcxGdiCanvasBasedBrushHandle, ...PenHandle, ...FontHandle, TcxGdiCanvasBasedImage,
//   TcxGdiCanvasBasedPath
//   TcxGdiCanvasBasedSharedBrushes, ...SharedFonts, ...SharedImageLists, ...SharedPens
//
// A resource belongs to the canvas it was made for and to its holder, who
// frees it. When the canvas goes first it releases every resource made for
// it: the resource lives on for its holder but is empty, and using it raises
// "Resource is in abandoned state". Colours given as TColor become alpha
// colours with alpha 255; clNone becomes the empty colour 0. Everything here
// belongs to the UI thread.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/ui/ImgList.h"

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>
#include <vector>

class TcxCustomCanvas;
class TcxGdiBasedCanvas;
class TcxCanvas;
class TcxCanvasBasedResource;
class TcxCanvasBasedResourceHandle;
class TcxCanvasBasedBrush;
class TcxCanvasBasedPen;
class TcxCanvasBasedFont;
class TcxCanvasBasedFontHandle;
class TcxCanvasBasedImage;
class TcxCanvasBasedImageList;
class TcxCanvasBasedPath;
class TcxCanvasBasedTextLayout;
class TcxCanvasBasedSharedBrushes;
class TcxCanvasBasedSharedFonts;
class TcxCanvasBasedSharedImageLists;
class TcxCanvasBasedSharedPens;
class TdxFillOptions;
class TdxStrokeOptions;
class TdxFontOptions;

// ---------------------------------------------------------------------------
// Shared types

enum TcxCanvasImageStretchQuality { isqStandard, isqHigh };
template <>
struct TEnumInfo<TcxCanvasImageStretchQuality> {
  static constexpr const wchar_t* Name = L"TcxCanvasImageStretchQuality";
  static constexpr const wchar_t* Names[] = {L"isqStandard", L"isqHigh"};
  static constexpr TcxCanvasImageStretchQuality Last = isqHigh;
};

// Which canvas a control paints on; the control framework chooses.
enum TdxRenderMode { rmDefault, rmGDI, rmDirectX, rmGDIPlus };

// A quarter-turn rotation of text (raPlus90 counter-clockwise).
enum TcxRotationAngle { ra0, raPlus90, raMinus90, ra180 };
// How a glyph or an image-list item is drawn.
enum TcxImageDrawMode : std::uint8_t { idmNormal, idmDisabled, idmFaded, idmGrayScale, idmDingy, idmShadowed };

enum class TdxStrokeStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot };
template <>
struct TEnumInfo<TdxStrokeStyle> {
  static constexpr const wchar_t* Name = L"TdxStrokeStyle";
  static constexpr const wchar_t* Names[] = {L"Solid", L"Dash", L"Dot", L"DashDot", L"DashDotDot"};
  static constexpr TdxStrokeStyle Last = TdxStrokeStyle::DashDotDot;
};

enum class TdxFillOptionsMode : std::uint8_t { Clear, Solid, Gradient, Texture, Hatch };
template <>
struct TEnumInfo<TdxFillOptionsMode> {
  static constexpr const wchar_t* Name = L"TdxFillOptionsMode";
  static constexpr const wchar_t* Names[] = {L"Clear", L"Solid", L"Gradient", L"Texture", L"Hatch"};
  static constexpr TdxFillOptionsMode Last = TdxFillOptionsMode::Hatch;
};

enum class TdxFillOptionsGradientMode : std::uint8_t { Horizontal, Vertical, ForwardDiagonal, BackwardDiagonal };
template <>
struct TEnumInfo<TdxFillOptionsGradientMode> {
  static constexpr const wchar_t* Name = L"TdxFillOptionsGradientMode";
  static constexpr const wchar_t* Names[] = {L"Horizontal", L"Vertical", L"ForwardDiagonal", L"BackwardDiagonal"};
  static constexpr TdxFillOptionsGradientMode Last = TdxFillOptionsGradientMode::BackwardDiagonal;
};

// The GDI+ hatch styles, in GDI+'s order.
enum class TdxFillOptionsHatchStyle : std::uint8_t {
  Horizontal, Vertical, ForwardDiagonal, BackwardDiagonal, Cross, DiagonalCross, Percent05, Percent10, Percent20,
  Percent25, Percent30, Percent40, Percent50, Percent60, Percent70, Percent75, Percent80, Percent90,
  LightDownwardDiagonal, LightUpwardDiagonal, DarkDownwardDiagonal, DarkUpwardDiagonal, WideDownwardDiagonal,
  WideUpwardDiagonal, LightVertical, LightHorizontal, NarrowVertical, NarrowHorizontal, DarkVertical,
  DarkHorizontal, DashedDownwardDiagonal, DashedUpwardDiagonal, DashedHorizontal, DashedVertical, SmallConfetti,
  LargeConfetti, ZigZag, Wave, DiagonalBrick, HorizontalBrick, Weave, Plaid, Divot, DottedGrid, DottedDiamond,
  Shingle, Trellis, Sphere, SmallGrid, SmallCheckerBoard, LargeCheckerBoard, OutlinedDiamond, SolidDiamond
};
template <>
struct TEnumInfo<TdxFillOptionsHatchStyle> {
  static constexpr const wchar_t* Name = L"TdxFillOptionsHatchStyle";
  static constexpr const wchar_t* Names[] = {
      L"Horizontal", L"Vertical", L"ForwardDiagonal", L"BackwardDiagonal", L"Cross", L"DiagonalCross",
      L"Percent05", L"Percent10", L"Percent20", L"Percent25", L"Percent30", L"Percent40", L"Percent50",
      L"Percent60", L"Percent70", L"Percent75", L"Percent80", L"Percent90", L"LightDownwardDiagonal",
      L"LightUpwardDiagonal", L"DarkDownwardDiagonal", L"DarkUpwardDiagonal", L"WideDownwardDiagonal",
      L"WideUpwardDiagonal", L"LightVertical", L"LightHorizontal", L"NarrowVertical", L"NarrowHorizontal",
      L"DarkVertical", L"DarkHorizontal", L"DashedDownwardDiagonal", L"DashedUpwardDiagonal", L"DashedHorizontal",
      L"DashedVertical", L"SmallConfetti", L"LargeConfetti", L"ZigZag", L"Wave", L"DiagonalBrick",
      L"HorizontalBrick", L"Weave", L"Plaid", L"Divot", L"DottedGrid", L"DottedDiamond", L"Shingle", L"Trellis",
      L"Sphere", L"SmallGrid", L"SmallCheckerBoard", L"LargeCheckerBoard", L"OutlinedDiamond", L"SolidDiamond"};
  static constexpr TdxFillOptionsHatchStyle Last = TdxFillOptionsHatchStyle::SolidDiamond;
};

enum class TdxFontPitch : std::uint8_t { Default, Fixed, Variable };
template <>
struct TEnumInfo<TdxFontPitch> {
  static constexpr const wchar_t* Name = L"TdxFontPitch";
  static constexpr const wchar_t* Names[] = {L"Default", L"Fixed", L"Variable"};
  static constexpr TdxFontPitch Last = TdxFontPitch::Variable;
};

// In the class library's order; its two ClearType qualities travel as the
// values 5 and 6.
enum class TdxFontQuality : std::uint8_t { Default, Draft, Proof, NonAntialiased, Antialiased };
template <>
struct TEnumInfo<TdxFontQuality> {
  static constexpr const wchar_t* Name = L"TdxFontQuality";
  static constexpr const wchar_t* Names[] = {L"Default", L"Draft", L"Proof", L"NonAntialiased", L"Antialiased"};
  static constexpr TdxFontQuality Last = TdxFontQuality::Antialiased;
};

// Pitches by meaning: the two enumerations list fixed and variable in
// opposite orders.
TFontPitch dxFontPitchToFontPitch(TdxFontPitch APitch);
TdxFontPitch FontPitchToDxFontPitch(TFontPitch APitch);
// Qualities by position: the orders agree.
inline TFontQuality dxFontQualityToFontQuality(TdxFontQuality AQuality) { return TFontQuality(AQuality); }
inline TdxFontQuality FontQualityToDxFontQuality(TFontQuality AQuality) { return TdxFontQuality(AQuality); }

// A control that can paint on the GDI+ and Direct2D canvases answers this;
// no control of the library does.
struct IdxNonGdiRenderModesSupport : public virtual IInterface {
  static constexpr GUID IID = {0xF0C3C819, 0xF9BB, 0x4ECF, {0x97, 0xD0, 0xF2, 0x74, 0xB0, 0xEB, 0xB6, 0x58}};

 protected:
  ~IdxNonGdiRenderModesSupport() = default;
};
bool SupportsNonGdiRenderModes(TObject* AControl);

// What a caller draws through DrawNativeObject: a GDI canvas (with the
// whole of TcxCanvas), or a GDI+ canvas painting on it, and the target
// rectangle.
using TcxCanvasNativeDrawProc = std::function<void(TcxCanvas* ACanvas, const TRect& R)>;
using TcxCanvasNativeDrawExProc = std::function<void(TdxGPCanvas* ACanvas, const TRect& R)>;

inline TcxBorders cxBordersAll() { return TcxBorders{bLeft, bTop, bRight, bBottom}; }

// A caller's variable that keeps an image between calls (nil: none yet).
using PcxCanvasBasedImage = TOwned<TcxCanvasBasedImage>*;

#pragma pack(push, 1)
// What DrawNativeObject draws, for back ends that keep it pre-rendered.
struct TcxCanvasBasedResourceCacheKey {
  void* Owner = nullptr;
  TSize Size;
  int Part = 0;
  int State = 0;
  std::uint16_t TargetDPI = 0;

  static TcxCanvasBasedResourceCacheKey Create(void* AOwner, const TSize& ASize, int AState, int APart,
                                               std::uint16_t ATargetDPI) {
    return {AOwner, ASize, APart, AState, ATargetDPI};
  }
};

// An image list handle's image of one item, mode, overlay and palette.
struct TcxCanvasBasedImageCacheKey {
  int Index = 0;
  TcxImageDrawMode Mode = idmNormal;
  int OverlayIndex = 0;
  GUID PaletteID{};
};
#pragma pack(pop)
static_assert(sizeof(TcxCanvasBasedImageCacheKey) == 25);

// ---------------------------------------------------------------------------
// The abstract canvas
//
// The operations, in their slot order, with what this class itself does for
// those that are not left to the back end. Shapes given by a TRect cover
// Left .. Right - 1, Top .. Bottom - 1.

class TcxCustomCanvas : public TcxIUnknownObject {
  SK_CLASS(TcxCustomCanvas, TcxIUnknownObject)
 public:
  virtual void Create();
  // Releases every resource made for this canvas.
  void BeforeDestruction() override;

  TcxCanvasImageStretchQuality ImageStretchQuality() const { return FImageStretchQuality; }
  void SetImageStretchQuality(TcxCanvasImageStretchQuality AValue) { FImageStretchQuality = AValue; }
  bool IsLowColorsMode() { return GetIsLowColorsMode(); }
  // The stored choice, or the control's own when none was made.
  bool UseRightToLeftAlignment();
  void SetUseRightToLeftAlignment(bool AValue) { FUseRightToLeftAlignment = BooleanToDefaultBoolean(AValue); }
  TPoint WindowOrg() { return GetWindowOrg(); }
  void SetWindowOrg(const TPoint& AValue) { SetWindowOrgCore(AValue); }

  // A resource of another canvas in the variable is freed and the variable
  // cleared; answers whether it still holds one.
  template <class T>
  bool CheckIsValid(TOwned<T>& AResource) {
    if (AResource && AResource->Canvas() != this) AResource.reset();
    return AResource != nullptr;
  }

  // Resources
  virtual TOwned<TcxCanvasBasedBrush> CreateBrush(TdxGPCustomBrush* ABrush, TdxObjectOwnership AOwnership) = 0;
  // Nil for the empty colour 0.
  virtual TOwned<TcxCanvasBasedBrush> CreateBrush(TdxAlphaColor AColor);
  // Nil for nil.
  virtual TOwned<TcxCanvasBasedBrush> CreateBrush(TdxFillOptions* AFillOptions);
  virtual TOwned<TcxCanvasBasedFont> CreateFonT(TFont* AFont, TdxObjectOwnership AOwnership);
  virtual TOwned<TcxCanvasBasedFont> CreateFonT(TdxFontOptions* AFont);
  virtual TOwned<TcxCanvasBasedImage> CreateImage(TBitmap* ABitmap, TAlphaFormat AAlphaFormat) = 0;
  virtual TOwned<TcxCanvasBasedImage> CreateImage(TdxCustomFastDIB* ABitmap, TAlphaFormat AAlphaFormat) = 0;
  // A GDI+ image through the next form (cloned); any other graphic is drawn
  // on an opaque bitmap first.
  virtual TOwned<TcxCanvasBasedImage> CreateImage(TGraphic* AGraphic);
  // Through its bitmap; an owned image is freed.
  virtual TOwned<TcxCanvasBasedImage> CreateImage(TdxGPImage* AImage, TdxObjectOwnership AOwnership);
  virtual TOwned<TcxCanvasBasedImageList> CreateImageList(TCustomImageList* AImageList);
  virtual TOwned<TcxCanvasBasedPath> CreatePath() = 0;
  // Also for the empty colour.
  virtual TOwned<TcxCanvasBasedPen> CreatePeN(TdxAlphaColor AColor, float AWidth = 1,
                                              TdxStrokeStyle AStyle = TdxStrokeStyle::Solid);
  virtual TOwned<TcxCanvasBasedPen> CreatePeN(TdxGPPen* APen, TdxObjectOwnership AOwnership) = 0;
  virtual TOwned<TcxCanvasBasedPen> CreatePeN(TdxStrokeOptions* AStrokeOptions);
  virtual TOwned<TcxCanvasBasedTextLayout> CreateTextLayout() = 0;

  // Native drawing: when R is visible, AProc paints with a GDI+ canvas on
  // the GDI canvas that the other form hands over.
  virtual void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                TcxCanvasNativeDrawExProc AProc);
  virtual void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                                TcxCanvasNativeDrawProc AProc) = 0;

  // Bitmaps, through a canvas image that ACache keeps between calls (none:
  // a temporary one).
  virtual void DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                          TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr);
  virtual void DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                          TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr);
  virtual void DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                          TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr);
  virtual void DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                          TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr);
  virtual void DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                          TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr);
  // The whole bitmap; a TBitmap without an alpha format uses its own.
  void DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr);
  void DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, PcxCanvasBasedImage ACache = nullptr);
  void DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr);
  void DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr);
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr);
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr);

  // The whole image stretched into the target, at full opacity.
  virtual void DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage ACache = nullptr);
  virtual void DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage ACache = nullptr);

  // Frames and edges: the left and top sides in one colour, the right and
  // bottom sides in the other.
  virtual void DrawComplexFrame(const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor,
                                TcxBorders ABorders = cxBordersAll(), int ABorderWidth = 1);
  virtual void DrawEdge(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders = cxBordersAll());
  // Overlapping side bands, each a FillRect; nothing for clNone or an empty R.
  virtual void FrameRect(const TRect& R, TColor AColor, int ALineWidth = 1, TcxBorders ABorders = cxBordersAll());
  // Side bands that do not overlap; nothing for an invisible colour.
  virtual void FrameRect(const TRect& R, TdxAlphaColor AColor, int ALineWidth = 1, TcxBorders ABorders = cxBordersAll());
  virtual void FrameRect(const TdxRectF& R, TdxAlphaColor AColor, float ALineWidth = 1,
                         TcxBorders ABorders = cxBordersAll());

  // Shapes. Angles are in degrees.
  virtual void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TColor AColor,
                   int APenWidth = 1, TPenStyle APenStyle = psSolid);
  virtual void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
                   int APenWidth = 1, TPenStyle APenStyle = psSolid) = 0;
  virtual void DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                          TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) = 0;
  virtual void Ellipse(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle = psSolid,
                       int APenWidth = 1);
  virtual void Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                       TPenStyle APenStyle = psSolid, int APenWidth = 1) = 0;
  virtual void Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) = 0;
  virtual void FillPixel(int X, int Y, TColor AColor);
  virtual void FillPolygon(std::span<const TPoint> P, TColor AColor);
  virtual void FillPolygon(std::span<const TPoint> P, TdxAlphaColor AColor);
  virtual void FillPolygon(std::span<const TdxPointF> P, TcxCanvasBasedBrush* ABrush);
  virtual void FillRect(const TRect& R, TColor AColor);
  virtual void FillRect(const TRect& R, TdxAlphaColor AColor) = 0;
  // The image at its own size, tiled from R's top-left corner.
  virtual void FillRect(const TRect& R, TcxCanvasBasedImage* AImage);
  virtual void FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage ACache = nullptr);
  virtual void FillRect(const TdxRectF& R, TcxCanvasBasedBrush* ABrush);
  virtual void FillRectByGradient(const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal);
  virtual void FocusRectangle(const TRect& R);
  virtual void Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth = 1,
                    TPenStyle APenStyle = psSolid);
  virtual void Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth = 1,
                    TPenStyle APenStyle = psSolid);
  virtual void Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen);
  virtual void Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) = 0;
  virtual void Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TcxCanvasBasedBrush* ABrush,
                   TcxCanvasBasedPen* APen) = 0;
  virtual void Polygon(std::span<const TPoint> P, TColor ABrushColor, TColor APenColor);
  virtual void Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) = 0;
  virtual void Polygon(std::span<const TdxPointF> P, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen);
  virtual void Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) = 0;
  virtual void Polyline(std::span<const TPoint> P, TColor AColor, int APenWidth = 1, TPenStyle APenStyle = psSolid);
  virtual void Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth = 1,
                        TPenStyle APenStyle = psSolid) = 0;
  virtual void Polyline(std::span<const TdxPointF> P, TcxCanvasBasedPen* APen);
  virtual void Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) = 0;
  virtual void Rectangle(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle = psSolid,
                         int APenWidth = 1);
  virtual void Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor,
                         TPenStyle APenStyle = psSolid, int APenWidth = 1) = 0;

  // World transform, states, origin and clipping.
  virtual void ModifyWorldTransform(const XFORM& AForm) = 0;
  virtual void RestoreWorldTransform() = 0;
  virtual void SaveWorldTransform() = 0;
  virtual void RestoreState() = 0;
  virtual void SaveState() = 0;
  // Answers the old origin; what is drawn afterwards lands moved by P.
  virtual TPoint MoveWindowOrg(const TPoint& P);
  virtual void IntersectClipRect(const TRect& ARect) = 0;
  // Widened to whole pixels.
  virtual void IntersectClipRect(const TdxRectF& ARect);
  virtual bool RectVisible(const TdxRectF& R);
  virtual bool RectVisible(const TRect& R) = 0;
  virtual void RestoreClipRegion() = 0;
  virtual void SaveClipRegion() = 0;

  // Non-virtual forms.
  void FillRect(const TRect& R, TColor AColor, std::uint8_t AAlpha);
  void FillRect(const TdxRectF& R, TdxAlphaColor AColor);
  // Equal colours or an invisible second colour fill with the first; an
  // invisible first colour fills with the second.
  void FillRectByGradient(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                          Gdiplus::LinearGradientMode AMode);
  void Rectangle(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen);

 protected:
  friend class TcxCanvasBasedResource;
  friend class TcxCanvasBasedImage;
  friend class TcxCanvasBasedImageList;
  friend class TcxCanvasBasedTextLayout;

  virtual void DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                              std::uint8_t AAlpha) = 0;
  virtual void DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect, const TRect& ASourceRect,
                             std::uint8_t AAlpha) = 0;
  virtual void FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                                      Gdiplus::LinearGradientMode AMode) = 0;
  // Brush and pen are handles (nil: none).
  virtual void FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                                 TcxCanvasBasedResourceHandle* APen) = 0;
  virtual bool GetControlRightToLeft() { return false; }
  // The stored three-valued choice, for canvases that save and restore it.
  TdxDefaultBoolean StoredRightToLeftAlignment() const { return FUseRightToLeftAlignment; }
  void SetStoredRightToLeftAlignment(TdxDefaultBoolean AValue) { FUseRightToLeftAlignment = AValue; }
  virtual bool GetIsLowColorsMode() { return false; }
  virtual TcxCanvasBasedSharedBrushes* GetSharedBrushes() = 0;
  virtual TcxCanvasBasedSharedFonts* GetSharedFonts() = 0;
  virtual TcxCanvasBasedSharedImageLists* GetSharedImageLists() = 0;
  virtual TcxCanvasBasedSharedPens* GetSharedPens() = 0;
  virtual TPoint GetWindowOrg() = 0;
  virtual void SetWindowOrgCore(const TPoint& AValue) = 0;

  // Every resource made for the canvas lets go of it, last made first.
  void ReleaseResources();

 private:
  // Draws through the caller's cached image, or a temporary one.
  template <class TCreate, class TDraw>
  void DrawThroughImage(PcxCanvasBasedImage ACache, const TCreate& ACreateImage, const TDraw& ADraw);

  TcxCanvasImageStretchQuality FImageStretchQuality;
  std::vector<TcxCanvasBasedResource*> FResources;
  TdxDefaultBoolean FUseRightToLeftAlignment;
};

// The window origin and world transform of a back end that keeps both itself
// (the GDI+ and the Direct2D canvas: neither device has a window origin), and
// the levels that SaveState and SaveWorldTransform put aside: one state stack
// for both back ends. The canvas gives its device DeviceTransform() whenever
// an operation here answers that something changed. Restores with nothing
// saved change nothing.
class TcxCanvasStateStack {
 public:
  const TPoint& WindowOrg() const { return FWindowOrg; }
  // False when the origin is AValue already.
  bool SetWindowOrg(const TPoint& AValue);
  const XFORM& WorldTransform() const { return FWorldTransform; }
  void ResetWorldTransform();
  // AForm applies before the current transform.
  void ModifyWorldTransform(const XFORM& AForm);
  void SaveWorldTransform() { FSavedWorldTransforms.push_back(FWorldTransform); }
  // False with nothing saved.
  bool RestoreWorldTransform();
  // The world transform followed by the window origin.
  XFORM DeviceTransform() const;

  // ACanvas's SaveState: the window origin here, then ACanvas's own
  // SaveWorldTransform and SaveClipRegion. RestoreState sets the origin back
  // through ACanvas (which may have more to move with it), then restores the
  // transform and the clip.
  void SaveState(TcxCustomCanvas* ACanvas);
  void RestoreState(TcxCustomCanvas* ACanvas);

 private:
  TPoint FWindowOrg;
  XFORM FWorldTransform{1, 0, 0, 1, 0, 0};
  std::vector<TPoint> FSavedWindowOrgs;
  std::vector<XFORM> FSavedWorldTransforms;
};

// ---------------------------------------------------------------------------
// Fill, stroke and font options
//
// Each keeps the resource it last made for one canvas. An effective change
// frees that resource, then calls OnChange (collapsed to one under
// BeginUpdate/EndUpdate).

struct IcxCanvasCacheControl : public virtual IInterface {
  static constexpr GUID IID = {0xA1DEDC74, 0xDBA2, 0x4EAC, {0xBC, 0x91, 0x50, 0x16, 0xE4, 0x8F, 0x4E, 0x7B}};
  virtual void FlushCache() = 0;

 protected:
  ~IcxCanvasCacheControl() = default;
};

class TdxFillOptions : public TcxLockablePersistent, public IcxCanvasCacheControl {
  SK_CLASS(TdxFillOptions, TcxLockablePersistent)
 public:
  static void Publish(TPublisher<TdxFillOptions>& P);

  void Create(TPersistent* AOwner) override;
  void Create(TPersistent* AOwner, TdxAlphaColorFunc AGetDefaultColorFunc, TdxAlphaColorFunc AGetDefaultColor2Func);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // The resource for ACanvas: the cached one when it belongs to ACanvas,
  // else a new one that replaces it.
  TcxCanvasBasedBrush* GetHandle(TcxCustomCanvas* ACanvas);
  void FlushCache() override;

  // The stored colour, or the default function's while it is the default marker.
  TdxAlphaColor ActualColor() const;
  TdxAlphaColor ActualColor2() const;

  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue);
  // Reported as a change only where the mode uses it (gradient, hatch).
  TdxAlphaColor Color2() const { return FColor2; }
  void SetColor2(TdxAlphaColor AValue);
  TdxFillOptionsGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxFillOptionsGradientMode AValue);
  TdxFillOptionsHatchStyle HatchStyle() const { return FHatchStyle; }
  void SetHatchStyle(TdxFillOptionsHatchStyle AValue);
  TdxFillOptionsMode Mode() const { return FMode; }
  void SetMode(TdxFillOptionsMode AValue);
  // A copy of the image is kept; the mode follows it: Texture, or Clear for
  // an empty one.
  TdxSmartImage* Texture() const { return FTexture.get(); }
  void SetTexture(TdxSmartImage* AValue);
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  void DoAssign(TPersistent* ASource) override;
  void DoChanged() override;

 private:
  void TextureChanged(TObject* Sender);
  bool IsTextureStored() const { return !FTexture->Empty(); }

  TdxAlphaColor FColor;
  TdxAlphaColor FColor2;
  TdxFillOptionsGradientMode FGradientMode;
  TdxFillOptionsHatchStyle FHatchStyle;
  TdxFillOptionsMode FMode;
  TOwned<TdxSmartImage> FTexture;
  TNotifyEvent FOnChange;
  TOwned<TcxCanvasBasedBrush> FCachedBrush;
  TdxAlphaColorFunc FOnGetDefaultColor;
  TdxAlphaColorFunc FOnGetDefaultColor2;
};

class TdxStrokeOptions : public TcxLockablePersistent, public IcxCanvasCacheControl {
  SK_CLASS(TdxStrokeOptions, TcxLockablePersistent)
 public:
  static void Publish(TPublisher<TdxStrokeOptions>& P);

  void Create(TPersistent* AOwner) override;
  void Create(TPersistent* AOwner, TdxAlphaColorFunc AGetDefaultColorFunc);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCanvasBasedPen* GetHandle(TcxCustomCanvas* ACanvas);
  void FlushCache() override;
  // Width x M / D.
  void ChangeScale(int M, int D);

  TdxAlphaColor ActualColor() const;
  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue);
  TdxStrokeStyle Style() const { return FStyle; }
  void SetStyle(TdxStrokeStyle AValue);
  // Never below 0; changes within the float tolerance are none.
  float Width() const { return FWidth; }
  void SetWidth(float AValue);
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  void DoAssign(TPersistent* ASource) override;
  void DoChanged() override;

 private:
  bool IsWidthStored() const { return !dxSameValue(FWidth, 1); }

  TdxAlphaColor FColor;
  TdxStrokeStyle FStyle;
  float FWidth;
  TNotifyEvent FOnChange;
  TOwned<TcxCanvasBasedPen> FCachedPen;
  TdxAlphaColorFunc FOnGetDefaultColor;
};

class TdxFontOptions : public TcxLockablePersistent, public IcxCanvasCacheControl {
  SK_CLASS(TdxFontOptions, TcxLockablePersistent)
 public:
  static void Publish(TPublisher<TdxFontOptions>& P);

  // The class library's default font.
  void Create(TPersistent* AOwner) override;
  void Create(TPersistent* AOwner, const String& ADefaultName, int ADefaultSize);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  // From a TFont: name, height, pitch, style and quality (not the charset).
  void Assign(TPersistent* ASource) override;

  TcxCanvasBasedFont* GetHandle(TcxCustomCanvas* ACanvas);
  void FlushCache() override;
  // Height x M / D.
  void ChangeScale(int M, int D);

  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset AValue);
  // Pixels at 96 DPI; negative for the character height.
  int Height() const { return FHeight; }
  void SetHeight(int AValue);
  const String& Name() const { return FName; }
  void SetName(const String& AValue);
  TdxFontPitch Pitch() const { return FPitch; }
  void SetPitch(TdxFontPitch AValue);
  TdxFontQuality Quality() const { return FQuality; }
  void SetQuality(TdxFontQuality AValue);
  // Points: -Height x 72 / 96, rounded.
  int Size() const;
  void SetSize(int AValue);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles AValue);
  bool Bold() const { return FStyle.Contains(fsBold); }
  void SetBold(bool AValue) { SetStyleMember(fsBold, AValue); }
  bool Italic() const { return FStyle.Contains(fsItalic); }
  void SetItalic(bool AValue) { SetStyleMember(fsItalic, AValue); }
  bool Underline() const { return FStyle.Contains(fsUnderline); }
  void SetUnderline(bool AValue) { SetStyleMember(fsUnderline, AValue); }
  bool StrikeOut() const { return FStyle.Contains(fsStrikeOut); }
  void SetStrikeOut(bool AValue) { SetStyleMember(fsStrikeOut, AValue); }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  // To a TFont: name, charset, height, style, pitch and quality.
  void AssignTo(TPersistent* ADest) override;
  void DoAssign(TPersistent* ASource) override;
  void DoChanged() override;

 private:
  void SetStyleMember(TFontStyle AMember, bool AValue);
  bool IsNameStored() const { return FName != FDefaultName; }
  bool IsSizeStored() const { return Size() != FDefaultSize; }

  TFontCharset FCharset;
  int FHeight;
  String FName;
  TdxFontPitch FPitch;
  TdxFontQuality FQuality;
  TFontStyles FStyle;
  TOwned<TcxCanvasBasedFont> FCachedFont;
  TNotifyEvent FOnChange;
  String FDefaultName;
  int FDefaultSize;
};

// ---------------------------------------------------------------------------
// Resources

class TcxCanvasBasedResource : public TObject {
  SK_CLASS(TcxCanvasBasedResource, TObject)
 public:
  // Joins the canvas's resources (when given) and holds one reference on
  // the handle (when given).
  void Create(TcxCustomCanvas* ACanvas, TcxCanvasBasedResourceHandle* AHandle = nullptr);
  // Leaves the canvas's resources and lets go of the handle.
  void BeforeDestruction() override;

  TcxCustomCanvas* Canvas() const { return FCanvas; }
  TcxCanvasBasedResourceHandle* Handle() const { return FHandle; }

  // No handle, or an empty one.
  virtual bool IsEmpty();
  // Drops the handle reference and the canvas; the resource stays, empty.
  virtual void Release();

 protected:
  // Raises EInvalidOperation "Resource is in abandoned state" without a canvas.
  void CheckAbandoned() const;

  TcxCustomCanvas* FCanvas;
  TcxCanvasBasedResourceHandle* FHandle;
};

class TcxCanvasBasedBrush : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedBrush, TcxCanvasBasedResource)
};

class TcxCanvasBasedPen : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedPen, TcxCanvasBasedResource)
};

class TcxCanvasBasedFont : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedFont, TcxCanvasBasedResource)
 public:
  // Also without a canvas.
  bool IsEmpty() override;
  // The height of "Zq" in the font on its canvas, measured on every read; 0
  // when empty.
  int LineHeight();
};

class TcxCanvasBasedImage : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedImage, TcxCanvasBasedResource)
 public:
  void Create(TcxCustomCanvas* ACanvas, int AWidth, int AHeight);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TSize Size() const { return TSize(FWidth, FHeight); }
  TRect ClientRect() const { return TRect(0, 0, FWidth, FHeight); }
  // Width or height below 1.
  bool IsEmpty() override { return FWidth < 1 || FHeight < 1; }

  // The whole image, or its source part, stretched into the target; nothing
  // without a canvas.
  virtual void Draw(const TdxRectF& ATargetRect, std::uint8_t AAlpha = 255);
  virtual void Draw(const TRect& ATargetRect, std::uint8_t AAlpha = 255);
  virtual void Draw(const TdxRectF& ATargetRect, const TdxRectF& ASourceRect, std::uint8_t AAlpha = 255);
  virtual void Draw(const TRect& ATargetRect, const TRect& ASourceRect, std::uint8_t AAlpha = 255);

 protected:
  int FWidth;
  int FHeight;
};

class TcxCanvasBasedPath : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedPath, TcxCanvasBasedResource)
 public:
  virtual void AddArc(const TdxRectF& AEllipse, float AStartAngle, float ASweepAngle) = 0;
  // A polyline of the two points.
  virtual void AddLine(const TdxPointF& P1, const TdxPointF& P2);
  virtual void AddPolyline(const TdxPointF* APoints, int ACount) = 0;
  virtual void FigureClose() = 0;
  virtual void FigureStart() = 0;
  // Nothing for no points.
  void AddPolyline(std::span<const TdxPointF> APoints);
};

// ---------------------------------------------------------------------------
// Shared handles

// A native object shared by equal requests: interned by its value fields in
// a pool, counted by the resources that hold it, freed with the last.
class TcxCanvasBasedResourceHandle : public TdxHashTableItem {
  SK_CLASS(TcxCanvasBasedResourceHandle, TdxHashTableItem)
 public:
  // Frees the native object.
  void Destroy() override;

  // Makes the back end's native object when the handle enters a pool.
  virtual void CreateNativeHandle(TcxCustomCanvas* ACanvas) = 0;
  // Frees it; nothing when there is none.
  virtual void FreeNativeHandle() = 0;
  virtual bool IsEmpty() { return false; }
};

class TcxCanvasBasedBrushHandle : public TcxCanvasBasedResourceHandle {
  SK_CLASS(TcxCanvasBasedBrushHandle, TcxCanvasBasedResourceHandle)
 public:
  // A solid colour.
  virtual void Create(TdxAlphaColor AColor);
  // The options' mode and actual colours, gradient mode, hatch style and a
  // copy of a texture.
  virtual void Create(TdxFillOptions* AOptions);
  void Destroy() override;
  // A new GDI+ brush of the values, which the caller owns: hatch, gradient,
  // texture or solid (a solid brush of colour 0 for Clear).
  TOwned<TdxGPCustomBrush> CreateGPBrush() const;

  TdxFillOptionsMode Mode() const { return FMode; }
  TdxAlphaColor Color1() const { return FColor1; }
  TdxAlphaColor Color2() const { return FColor2; }
  TdxGPBrushGradientMode GradientMode() const { return FGradientMode; }
  Gdiplus::HatchStyle HatchStyle() const { return FHatchStyle; }
  TdxSmartImage* Texture() const { return FTexture.get(); }

 protected:
  void CalculateKey(std::uint32_t& AKey) override;
  bool DoIsEqual(TdxHashTableItem* AItem) override;

  TOwned<TdxSmartImage> FTexture;
  TdxAlphaColor FColor1;
  TdxAlphaColor FColor2;
  TdxGPBrushGradientMode FGradientMode;
  Gdiplus::HatchStyle FHatchStyle;
  TdxFillOptionsMode FMode;
};

class TcxCanvasBasedFontHandle : public TcxCanvasBasedResourceHandle {
  SK_CLASS(TcxCanvasBasedFontHandle, TcxCanvasBasedResourceHandle)
 public:
  virtual void Create(TdxFontOptions* AOptions);
  // The font's values; an owned font is freed once they are read.
  virtual void Create(TFont* AFont, TdxObjectOwnership AOwnership);

  // The height of "Zq" on the canvas, measured once.
  int GetLineHeight(TcxCustomCanvas* ACanvas);
  virtual int CalculateLineHeight(TcxCustomCanvas* ACanvas);

  TFontCharset Charset() const { return FCharset; }
  int Height() const { return FHeight; }
  const String& Name() const { return FName; }
  TdxFontPitch Pitch() const { return FPitch; }
  TdxFontQuality Quality() const { return FQuality; }
  TFontStyles Style() const { return FStyle; }

 protected:
  void AssignValues(TFont* AFont);
  void CalculateKey(std::uint32_t& AKey) override;
  bool DoIsEqual(TdxHashTableItem* AItem) override;

  int FLineHeight;
  TFontCharset FCharset;
  int FHeight;
  String FName;
  TdxFontPitch FPitch;
  TdxFontQuality FQuality;
  TFontStyles FStyle;
};

class TcxCanvasBasedPenHandle : public TcxCanvasBasedResourceHandle {
  SK_CLASS(TcxCanvasBasedPenHandle, TcxCanvasBasedResourceHandle)
 public:
  virtual void Create(TdxAlphaColor AColor, float AWidth, TdxStrokeStyle AStyle);
  virtual void Create(TdxStrokeOptions* AOptions);

  TdxAlphaColor Color() const { return FColor; }
  TdxStrokeStyle Style() const { return FStyle; }
  float Width() const { return FWidth; }

 protected:
  void CalculateKey(std::uint32_t& AKey) override;
  bool DoIsEqual(TdxHashTableItem* AItem) override;

  TdxAlphaColor FColor;
  TdxStrokeStyle FStyle;
  float FWidth;
};

struct TcxCanvasBasedImageCacheKeyHash {
  std::size_t operator()(const TcxCanvasBasedImageCacheKey& AKey) const;
};
struct TcxCanvasBasedImageCacheKeyEqual {
  bool operator()(const TcxCanvasBasedImageCacheKey& A, const TcxCanvasBasedImageCacheKey& B) const;
};
using TcxCanvasBasedImageCache = std::unordered_map<TcxCanvasBasedImageCacheKey, TOwned<TcxCanvasBasedImage>,
                                                    TcxCanvasBasedImageCacheKeyHash, TcxCanvasBasedImageCacheKeyEqual>;

// An image list and the images of its items made so far; any change of the
// list empties them.
class TcxCanvasBasedImageListHandle : public TcxCanvasBasedResourceHandle {
  SK_CLASS(TcxCanvasBasedImageListHandle, TcxCanvasBasedResourceHandle)
 public:
  virtual void Create(TCustomImageList* AImageList);

  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;
  // No change link, or the list is gone.
  bool IsEmpty() override;

  // The list's image size for the scale factor from the list's source DPI;
  // (0, 0) without a change link.
  TSize GetSize(const TdxScaleFactor* AScaleFactor = nullptr);
  // The image of an item with an overlay (-1: none), made for ACanvas on
  // the first request; false when the list is gone or has no such item.
  bool TryGetImage(TcxCustomCanvas* ACanvas, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                   IdxColorPalette* AColorPalette, TcxCanvasBasedImage*& AImage);

  TCustomImageList* ImageList() const { return FImageList; }
  bool UseNativeDrawing() const { return FUseNativeDrawing; }
  // The images made so far.
  int CachedImageCount() const { return FCache ? static_cast<int>(FCache->size()) : 0; }

 protected:
  void CalculateKey(std::uint32_t& AKey) override;
  bool DoIsEqual(TdxHashTableItem* AItem) override;

 private:
  void ImageListChanged(TObject* Sender);
  // The item at the DIB's origin by the native list (the normal look of a
  // list that shares its images), or by the library's image drawing in the
  // mode and with the palette.
  void DrawNative(TdxFastDIB* ADib, int AImageIndex, int AOverlayIndex);
  void DrawThroughLibrary(TdxFastDIB* ADib, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                          IdxColorPalette* AColorPalette);

  std::unique_ptr<TcxCanvasBasedImageCache> FCache;
  TOwned<TChangeLink> FChangeLink;
  bool FUseNativeDrawing;
  TCustomImageList* FImageList;
};

class TcxCanvasBasedImageList : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedImageList, TcxCanvasBasedResource)
 public:
  // The item (with an overlay: -1 none) drawn whole into R with the opacity.
  void Draw(const TdxRectF& R, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode = idmNormal,
            std::uint8_t AAlpha = 255, IdxColorPalette* AColorPalette = nullptr);
  void Draw(const TRect& R, int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode = idmNormal,
            std::uint8_t AAlpha = 255, IdxColorPalette* AColorPalette = nullptr);
  void Draw(const TdxRectF& R, int AImageIndex) { Draw(R, AImageIndex, -1); }
  void Draw(const TRect& R, int AImageIndex) { Draw(R, AImageIndex, -1); }
  TSize GetSize(const TdxScaleFactor* AScaleFactor = nullptr);
  // Raises the abandoned-state error without a handle.
  TcxCanvasBasedImageListHandle* ListHandle() const;

 private:
  TcxCanvasBasedImage* FindImage(int AImageIndex, int AOverlayIndex, TcxImageDrawMode AMode,
                                 IdxColorPalette* AColorPalette);
};

// ---------------------------------------------------------------------------
// Pools

// Interns handles of one class for one canvas (nil: process-wide).
class TcxCanvasBasedSharedResources : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedSharedResources, TcxCanvasBasedResource)
 public:
  virtual void Create(TcxCustomCanvas* ACanvas, TClass AHandleClass);
  void Destroy() override;
  // Frees every stored handle's native object and empties the pool; handles
  // still held live on, empty.
  void Release() override;

  // The stored handle equal to AResource (AResource is freed), or AResource
  // itself, stored with its native object made.
  TcxCanvasBasedResourceHandle* Share(TcxCanvasBasedResourceHandle* AResource);
  // Handle references held through the pool.
  int Count() const { return FHashTable ? FHashTable->Count() : 0; }

 protected:
  template <class T, class... A>
  T* ShareNew(A&&... AArgs) {
    return static_cast<T*>(Share(NewOfClass<T>(FClass, std::forward<A>(AArgs)...)));
  }

  TOwned<TdxHashTable> FHashTable;
  TClass FClass;
};

class TcxCanvasBasedSharedBrushes : public TcxCanvasBasedSharedResources {
  SK_CLASS(TcxCanvasBasedSharedBrushes, TcxCanvasBasedSharedResources)
 public:
  TcxCanvasBasedBrushHandle* GetOrCreate(TdxAlphaColor AColor);
  TcxCanvasBasedBrushHandle* GetOrCreate(TdxFillOptions* AOptions);
};

class TcxCanvasBasedSharedFonts : public TcxCanvasBasedSharedResources {
  SK_CLASS(TcxCanvasBasedSharedFonts, TcxCanvasBasedSharedResources)
 public:
  TcxCanvasBasedFontHandle* GetOrCreate(TdxFontOptions* AFont);
  TcxCanvasBasedFontHandle* GetOrCreate(TFont* AFont, TdxObjectOwnership AOwnership);
};

class TcxCanvasBasedSharedImageLists : public TcxCanvasBasedSharedResources {
  SK_CLASS(TcxCanvasBasedSharedImageLists, TcxCanvasBasedSharedResources)
 public:
  TcxCanvasBasedImageListHandle* GetOrCreate(TCustomImageList* AImageList);
};

class TcxCanvasBasedSharedPens : public TcxCanvasBasedSharedResources {
  SK_CLASS(TcxCanvasBasedSharedPens, TcxCanvasBasedSharedResources)
 public:
  TcxCanvasBasedPenHandle* GetOrCreate(TdxAlphaColor AColor, float AWidth, TdxStrokeStyle AStyle);
  TcxCanvasBasedPenHandle* GetOrCreate(TdxStrokeOptions* AOptions);
};

// ---------------------------------------------------------------------------
// Text layouts

// A rotation of the laid-out text about its centre.
class TcxCanvasBasedTextLayoutCustomTransform : public TObject {
  SK_CLASS(TcxCanvasBasedTextLayoutCustomTransform, TObject)
 public:
  // Degrees; the matrix turns by that angle.
  virtual void Create(float AAngle);

  float Angle() const { return FAngle; }
  const XFORM& Matrix() const { return FMatrix; }
  bool Equals(float AAngle) const;
  bool Equals(TcxRotationAngle AAngle) const;
  // The room the unrotated text has inside the rotated constraints.
  virtual void CalculateConstraints(int& AMaxWidth, int& AMaxHeight) = 0;
  // The rotated box of the text's size.
  virtual void CalculateSize(TSize& ASize) = 0;

  static float AngleOf(TcxRotationAngle AAngle);

 protected:
  float FAngle;
  XFORM FMatrix;
};

// Quarter turns: sides exchanged for the vertical ones.
class TcxCanvasBasedTextLayoutSimpleTransform : public TcxCanvasBasedTextLayoutCustomTransform {
  SK_CLASS(TcxCanvasBasedTextLayoutSimpleTransform, TcxCanvasBasedTextLayoutCustomTransform)
 public:
  void Create(float AAngle) override;
  void CalculateConstraints(int& AMaxWidth, int& AMaxHeight) override;
  void CalculateSize(TSize& ASize) override;

 private:
  bool FIsVertical;
};

// Any angle: the largest rectangle that fits the rotated constraints, and
// the bounds of the rotated text.
class TcxCanvasBasedTextLayoutComplexTransform : public TcxCanvasBasedTextLayoutCustomTransform {
  SK_CLASS(TcxCanvasBasedTextLayoutComplexTransform, TcxCanvasBasedTextLayoutCustomTransform)
 public:
  void CalculateConstraints(int& AMaxWidth, int& AMaxHeight) override;
  void CalculateSize(TSize& ASize) override;
};

// One text with its font, colour, flags (the text engine's), constraints,
// padding, rotation and background box, laid out again only when something
// that matters changed.
class TcxCanvasBasedTextLayout : public TcxCanvasBasedResource {
  SK_CLASS(TcxCanvasBasedTextLayout, TcxCanvasBasedResource)
 public:
  void Create(TcxCustomCanvas* ACanvas);
  void Destroy() override;
  // Lets go of the font, stroke and fill handles too.
  void Release() override;

  // Raises EInvalidArgument "Font is not set" for nil.
  virtual void SetFontHandle(TcxCanvasBasedFontHandle* AHandle);
  // The text box placed in ARect by the alignment flags, clipped to ARect.
  virtual void Draw(const TRect& ARect);
  virtual bool IsTruncated();
  virtual void SetColor(TdxAlphaColor AColor) = 0;
  virtual void SetFlags(std::uint32_t ACxTOFlags);
  virtual void SetText(const String& AText);

  void Draw(const TdxRectF& ARect);
  void SetColor(TColor AColor);
  // Fill and outline of the text box with its padding (nil: none).
  void SetBackgroundAppearance(TcxCanvasBasedBrush* AFill, TcxCanvasBasedPen* AStroke);
  void SetFlag(std::uint32_t ACxToFlag, bool AFlagState);
  // An owned font resource is freed afterwards, also on error.
  void SetFont(TcxCanvasBasedFont* AFont, TdxObjectOwnership AOwnership);
  void SetFont(TFont* AFont, TdxObjectOwnership AOwnership = ooReferenced);
  // 0 sets no limit.
  void SetLayoutConstraints(int AMaxWidth, int AMaxHeight, int AMaxRowCount = 0);
  void SetLayoutConstraints(const TRect& R, int AMaxRowCount = 0);
  void SetLayoutConstraints(const TdxRectF& R, int AMaxRowCount = 0);
  void SetPadding(const TRect& APadding);
  void SetPaintOnGlass(bool AValue) { FPaintOnGlass = AValue; }
  void SetRotation(float AAngle);
  void SetRotation(TcxRotationAngle AAngle);
  // The laid-out size with padding and rotation.
  TSize MeasureSize();
  TdxSizeF MeasureSizeF();

  std::uint32_t Flags() const { return FFlags; }
  const String& Text() const { return FText; }
  int RowCount() const { return FRowCount; }
  const TSize& TextSize() const { return FTextSize; }
  TcxCanvasBasedFontHandle* FontHandle() const { return FFontHandle; }
  const TcxCanvasBasedTextLayoutCustomTransform* Transform() const { return FTransform.get(); }

 protected:
  virtual void FlagsChanged() {}
  // Sets FTextSize, FRowCount and FTextTruncated.
  virtual void CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) = 0;
  virtual void DrawCore(const TRect& R) = 0;
  virtual void FontChanged() { FIsDirty = true; }
  virtual void TransformChanged() { FIsDirty = true; }
  virtual void TextChanged() { FIsDirty = true; }

  void CheckLayout();
  // The background box (the text box with its padding) and the text.
  void DrawBox(const TRect& ATextBox);
  // Rows of AHeight that fit AMaxHeight: rounded up, or truncated with
  // cxtoEditControl.
  int RowsInHeight(int AMaxHeight, int ARowHeight) const;

  TcxCanvasBasedResourceHandle* FFill;
  bool FIsDirty;
  int FMaxHeight;
  int FMaxRowCount;
  int FMaxWidth;
  TRect FPadding;
  TSize FSize;
  TcxCanvasBasedResourceHandle* FStroke;
  std::uint32_t FFlags;
  TcxCanvasBasedFontHandle* FFontHandle;
  bool FPaintOnGlass;
  int FRowCount;
  String FText;
  TSize FTextSize;
  bool FTextTruncated;
  TOwned<TcxCanvasBasedTextLayoutCustomTransform> FTransform;

 private:
  void SetTransform(TOwned<TcxCanvasBasedTextLayoutCustomTransform> ATransform);
};

// The text engine's rows measured and drawn with a GDI font.
class TcxGdiCanvasBasedTextLayout : public TcxCanvasBasedTextLayout {
  SK_CLASS(TcxGdiCanvasBasedTextLayout, TcxCanvasBasedTextLayout)
 public:
  void Create(TcxCustomCanvas* ACanvas);

  using inherited::SetColor;
  void SetColor(TdxAlphaColor AColor) override;
  // Raises "Resource was created for different Canvas" for a font handle
  // that is no GDI font handle.
  void SetFontHandle(TcxCanvasBasedFontHandle* AHandle) override;

  // The font handle's font; raises "Font is not set" without one.
  TFont* NativeFont() const;
  RGBQUAD Color() const { return FColor; }
  const TcxTextRows& TextRows() const { return FTextRows; }

  virtual void MeasureText(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, TSize& ASize);
  // The first RowCount rows positioned in R and painted on DC.
  virtual void DrawRows(HDC DC, const TRect& R);

 protected:
  void CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) override;
  void DrawCore(const TRect& R) override;

 private:
  RGBQUAD FColor;
  TcxTextRows FTextRows;
};

// ---------------------------------------------------------------------------
// The GDI-based canvas

// GDI+-object resources and the process-wide pools of the GDI family.
class TcxCustomGdiBasedCanvas : public TcxCustomCanvas {
  SK_CLASS(TcxCustomGdiBasedCanvas, TcxCustomCanvas)
 public:
  using inherited::CreateBrush;
  using inherited::CreateImage;
  using inherited::CreatePeN;
  // An unshared handle over the GDI+ brush (ooCloned keeps a copy).
  TOwned<TcxCanvasBasedBrush> CreateBrush(TdxGPCustomBrush* ABrush, TdxObjectOwnership AOwnership) override;
  using inherited::FillRect;
  // A GDI+ image of the pixels in the alpha format (nil for an empty bitmap).
  TOwned<TcxCanvasBasedImage> CreateImage(TBitmap* ABitmap, TAlphaFormat AAlphaFormat) override;
  TOwned<TcxCanvasBasedImage> CreateImage(TdxCustomFastDIB* ABitmap, TAlphaFormat AAlphaFormat) override;
  // Keeps the image by the ownership rule (nil for nil).
  TOwned<TcxCanvasBasedImage> CreateImage(TdxGPImage* AImage, TdxObjectOwnership AOwnership) override;
  // The image's GDI+ image filled into R.
  void FillRect(const TRect& R, TcxCanvasBasedImage* AImage) override;
  TOwned<TcxCanvasBasedPath> CreatePath() override;
  TOwned<TcxCanvasBasedPen> CreatePeN(TdxGPPen* APen, TdxObjectOwnership AOwnership) override;

 protected:
  TcxCanvasBasedSharedBrushes* GetSharedBrushes() override;
  TcxCanvasBasedSharedFonts* GetSharedFonts() override;
  TcxCanvasBasedSharedImageLists* GetSharedImageLists() override;
  TcxCanvasBasedSharedPens* GetSharedPens() override;
};

// The drawing operations on a device context: plain fills, bitmaps, clipping,
// origins and world transforms with GDI; everything antialiased, alpha-
// blended or gradient through the shared GDI+ paint canvas, which paints on
// the device context over the affected rectangle.
class TcxGdiBasedCanvas : public TcxCustomGdiBasedCanvas {
  SK_CLASS(TcxGdiBasedCanvas, TcxCustomGdiBasedCanvas)
 public:
  using inherited::Arc;
  using inherited::DrawBitmap;
  using inherited::DrawNativeObject;
  using inherited::Ellipse;
  using inherited::FillPolygon;
  using inherited::FillRect;
  using inherited::FillRectByGradient;
  using inherited::IntersectClipRect;
  using inherited::Line;
  using inherited::Polygon;
  using inherited::Polyline;
  using inherited::Rectangle;
  using inherited::RectVisible;

  // The device context drawn on.
  virtual HDC Handle() = 0;
  const TPoint& BaseOrigin() const { return FBaseOrigin; }
  // Viewport origin less window origin.
  TPoint DCOrigin();
  TPoint ViewportOrg();
  void SetViewportOrg(const TPoint& AValue);

  TOwned<TcxCanvasBasedTextLayout> CreateTextLayout() override;
  void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                        TcxCanvasNativeDrawProc AProc) override;
  void DrawBitmap(TBitmap* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr) override;
  void DrawBitmap(TdxFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect, TAlphaFormat AAlphaFormat,
                  PcxCanvasBasedImage ACache = nullptr) override;
  void DrawBitmap(TdxFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                  TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                  TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                  TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr) override;
  // The image draws itself; no canvas image is made.
  void DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage ACache = nullptr) override;
  void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
           int APenWidth = 1, TPenStyle APenStyle = psSolid) override;
  void DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                  TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, TPenStyle APenStyle = psSolid,
               int APenWidth = 1) override;
  void Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void FillPixel(int X, int Y, TColor AColor) override;
  void FillPolygon(std::span<const TPoint> P, TColor AColor) override;
  // Nothing for clNone.
  void FillRect(const TRect& R, TColor AColor) override;
  void FillRect(const TRect& R, TdxAlphaColor AColor) override;
  // GDI's gradient fill.
  void FillRectByGradient(const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) override;
  // The image's whole area tiled over R.
  void FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage ACache = nullptr) override;
  void FocusRectangle(const TRect& R) override;
  void Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth = 1,
            TPenStyle APenStyle = psSolid) override;
  void Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) override;
  void Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TcxCanvasBasedBrush* ABrush,
           TcxCanvasBasedPen* APen) override;
  void Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) override;
  void Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth = 1,
                TPenStyle APenStyle = psSolid) override;
  void Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) override;
  void Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, TPenStyle APenStyle = psSolid,
                 int APenWidth = 1) override;
  // Advanced graphics mode; AForm applies before the current transform.
  void ModifyWorldTransform(const XFORM& AForm) override;
  // A restore with nothing saved leaves the transform as it is.
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;
  void IntersectClipRect(const TRect& ARect) override;
  bool RectVisible(const TRect& R) override;

  void ExcludeClipRect(const TRect& R);
  // The brush origin follows the window origin, which becomes the base of
  // WindowOrg, until RestoreBrushOrigin.
  void SyncBrushOrigin();
  void RestoreBrushOrigin();

 protected:
  void DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                      std::uint8_t AAlpha) override;
  void DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect, const TRect& ASourceRect,
                     std::uint8_t AAlpha) override;
  void FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                              Gdiplus::LinearGradientMode AMode) override;
  void FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                         TcxCanvasBasedResourceHandle* APen) override;
  // At most 16 bits per pixel, a palette or a raster printer.
  bool GetIsLowColorsMode() override;
  TPoint GetWindowOrg() override;
  void SetWindowOrgCore(const TPoint& AValue) override;

  // Runs APaint with the shared GDI+ paint canvas painting on the device
  // context over R (an empty R paints directly, unbuffered).
  template <class F>
  void PaintWithGdiPlus(const TRect& R, const F& APaint);

 private:
  TPoint FBaseOrigin;
  TPoint FBrushOrigin;
  std::vector<XFORM> FSavedWorldTransforms;
};

// An object kept by the ownership rule of the wrapping constructors:
// ooCloned keeps a copy (then owned), ooOwned the object itself (owned),
// ooReferenced the object itself (never freed).
template <class T>
class TcxHeldObject {
 public:
  TcxHeldObject() = default;
  TcxHeldObject(const TcxHeldObject&) = delete;
  TcxHeldObject& operator=(const TcxHeldObject&) = delete;
  ~TcxHeldObject() { Reset(); }

  // ACopy makes the copy that ooCloned keeps.
  template <class F>
  void Hold(T* AObject, TdxObjectOwnership AOwnership, const F& ACopy) {
    Reset();
    FObject = AOwnership == ooCloned ? ACopy(AObject) : AObject;
    FOwned = AOwnership != ooReferenced;
  }
  void Own(T* AObject) {
    Reset();
    FObject = AObject;
    FOwned = true;
  }
  // Frees an owned object; lets go of a referenced one.
  void Reset() {
    T* object = std::exchange(FObject, nullptr);
    if (object && FOwned) object->Free();
    FOwned = false;
  }
  T* Get() const { return FObject; }

 private:
  T* FObject = nullptr;
  bool FOwned = false;
};

// GDI+ objects as shared handles.
class TcxGdiCanvasBasedBrushHandle : public TcxCanvasBasedBrushHandle {
  SK_CLASS(TcxGdiCanvasBasedBrushHandle, TcxCanvasBasedBrushHandle)
 public:
  using inherited::Create;
  // Unshared, over a given GDI+ brush.
  void Create(TdxGPCustomBrush* ABrush, TdxObjectOwnership AOwnership);
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;
  bool IsEmpty() override;

  TdxGPCustomBrush* Brush() const { return FBrush.Get(); }

 private:
  TcxHeldObject<TdxGPCustomBrush> FBrush;
};

class TcxGdiCanvasBasedPenHandle : public TcxCanvasBasedPenHandle {
  SK_CLASS(TcxGdiCanvasBasedPenHandle, TcxCanvasBasedPenHandle)
 public:
  using inherited::Create;
  // Unshared, over a given GDI+ pen.
  void Create(TdxGPPen* APen, TdxObjectOwnership AOwnership);
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;
  bool IsEmpty() override;

  TdxGPPen* Pen() const { return FPen.Get(); }

 private:
  TcxHeldObject<TdxGPPen> FPen;
};

class TcxGdiCanvasBasedFontHandle : public TcxCanvasBasedFontHandle {
  SK_CLASS(TcxGdiCanvasBasedFontHandle, TcxCanvasBasedFontHandle)
 public:
  using inherited::Create;
  // Keeps the font: a copy with ooCloned, the font itself otherwise.
  void Create(TFont* AFont, TdxObjectOwnership AOwnership) override;
  // A TFont from the values, unless the handle keeps one already.
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;

  TFont* Font() const { return FFont.Get(); }

 private:
  TcxHeldObject<TFont> FFont;
};

// A GDI+ smart image drawn on the canvas.
class TcxGdiCanvasBasedImage : public TcxCanvasBasedImage {
  SK_CLASS(TcxGdiCanvasBasedImage, TcxCanvasBasedImage)
 public:
  // ooCloned keeps a copy (owned), ooOwned the image itself (owned),
  // ooReferenced the image itself.
  void Create(TcxCustomCanvas* ACanvas, TdxGPImage* AImage, TdxObjectOwnership AOwnership);
  void Destroy() override;

  TdxGPImage* Image() const { return FImage.Get(); }

 private:
  TcxHeldObject<TdxGPImage> FImage;
};

class TcxGdiCanvasBasedPath : public TcxCanvasBasedPath {
  SK_CLASS(TcxGdiCanvasBasedPath, TcxCanvasBasedPath)
 public:
  void Create(TcxCustomCanvas* ACanvas);
  void Destroy() override;

  // Angles count counter-clockwise, as everywhere on the canvas.
  void AddArc(const TdxRectF& AEllipse, float AStartAngle, float ASweepAngle) override;
  using inherited::AddPolyline;
  void AddLine(const TdxPointF& P1, const TdxPointF& P2) override;
  void AddPolyline(const TdxPointF* APoints, int ACount) override;
  void FigureClose() override;
  void FigureStart() override;

  TdxGPPath* Path() const { return FPath.get(); }

 private:
  TOwned<TdxGPPath> FPath;
};

// The GDI+ brush and pen of non-empty resources and handles of the GDI
// family; nil otherwise.
TdxGPCustomBrush* GpBrushOf(TcxCanvasBasedResourceHandle* AHandle);
TdxGPPen* GpPenOf(TcxCanvasBasedResourceHandle* AHandle);
TdxGPCustomBrush* GpBrushOf(TcxCanvasBasedBrush* ABrush);
TdxGPPen* GpPenOf(TcxCanvasBasedPen* APen);
// The GDI+ image of a canvas image of the GDI family (EInvalidCast otherwise).
TdxGPImage* GpImageOf(TcxCanvasBasedImage* AImage);

// The process-wide pools of the GDI family, made on first use.
class TcxGdiCanvasBasedSharedBrushes : public TcxCanvasBasedSharedBrushes {
  SK_CLASS(TcxGdiCanvasBasedSharedBrushes, TcxCanvasBasedSharedBrushes)
 public:
  static TcxGdiCanvasBasedSharedBrushes* Instance();
};
class TcxGdiCanvasBasedSharedFonts : public TcxCanvasBasedSharedFonts {
  SK_CLASS(TcxGdiCanvasBasedSharedFonts, TcxCanvasBasedSharedFonts)
 public:
  static TcxGdiCanvasBasedSharedFonts* Instance();
};
class TcxGdiCanvasBasedSharedImageLists : public TcxCanvasBasedSharedImageLists {
  SK_CLASS(TcxGdiCanvasBasedSharedImageLists, TcxCanvasBasedSharedImageLists)
 public:
  static TcxGdiCanvasBasedSharedImageLists* Instance();
};
class TcxGdiCanvasBasedSharedPens : public TcxCanvasBasedSharedPens {
  SK_CLASS(TcxGdiCanvasBasedSharedPens, TcxCanvasBasedSharedPens)
 public:
  static TcxGdiCanvasBasedSharedPens* Instance();
};

// The unit's start-up registers the release of the process-wide pools with
// the units loader; its shut-down runs it.
void cxCustomCanvasInitialization();
void cxCustomCanvasFinalization();
