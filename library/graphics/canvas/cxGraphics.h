// The graphics unit: colour utilities, the solid brush cache, regions, the
// GDI canvas with its text and image operations, the shared canvases, the
// off-screen bitmaps with their compressed form data, the unit's graphics
// routines and parent-background painting.
//
// Classes in this file:
//   TdxHSL, TdxHSV               hue, saturation and lightness or value
//   TdxColorUtils                RGB, HSL and HSV conversions, lightness,
//                                luminance and contrast (cxGraphics_Colors.cpp)
//   TcxColorInfo                 a colour name and its TColor
//   TdxSolidBrushCacheManager    the bounded cache of solid brushes by colour
//   TdxSolidBrushCache           hands out the cached brushes
//   TcxRegionOperation           how two regions combine
//   TcxRegion                    owns one GDI region
//   TcxViewParams                colours, font and background bitmap of a view
//   TcxCanvas                    the GDI canvas: states, clip regions, frames and
//                                fills (cxGraphics_Canvas.cpp), text and images
//                                (cxGraphics_CanvasText.cpp)
//   TcxMeasureCanvas, TScreenCanvas, TcxScreenCanvas, TcxPaintCanvas
//                                the shared canvases   (cxGraphics_SharedCanvases.cpp)
//   TcxPaintCanvasScope          one paint of the shared paint canvas for a scope
//   TcxBitmap, TcxBitmap32, TcxAlphaBitmap, TcxColorList, TcxHatchData
//                                off-screen bitmaps    (cxGraphics_Bitmaps.cpp; their
//                                compressed form data: cxGraphics_BitmapData.cpp)
//   TcxMsImg32Functions          the bound msimg32 entry points
//                                the graphics routines (cxGraphics_Routines.cpp)
//                                parent background and mirrored painting
//                                                      (cxGraphics_ParentBackground.cpp)
//
// Colours given as TColor are resolved first: system colours become their
// current RGB. On the canvas and in the routines clNone as a fill or frame
// colour draws nothing and clDefault keeps the brush's or font's colour.
// Rectangles are half-open. Everything here belongs to the UI thread.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/UITypes.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

class TWinControl;
class TcxBitmap;
class TcxBitmap32;
class TcxAlphaBitmap;

// ---------------------------------------------------------------------------
// Colour utilities

// H is a fraction of a full turn, [0, 1); S and L lie in [0, 1].
struct TdxHSL {
  double H = 0;
  double S = 0;
  double L = 0;
};

// H in degrees, [0, 360); S and V lie in [0, 1].
struct TdxHSV {
  double H = 0;
  double S = 0;
  double V = 0;
};

class TdxColorUtils {
 public:
  TdxColorUtils() = delete;

  static TdxHSL RGBToHSL(const RGBQUAD& ARGB);
  static TdxHSL AlphaColorToHSL(TdxAlphaColor AColor);
  static TdxHSL AlphaColorToHSL(TdxAlphaColor AColor, std::uint8_t& AAlpha);
  // All zero for clNone and clDefault.
  static TdxHSL ColorToHSL(TColor AColor);

  // Channels outside 0..255 (a lightness above 1) are clamped.
  static void HSLToRGB(double H, double S, double L, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);
  // rgbReserved is 255.
  static RGBQUAD HSLToRGB(double H, double S, double L);
  static RGBQUAD HSLToRGB(const TdxHSL& AHSL);
  static TColor HSLToColor(double H, double S, double L);
  static TColor HSLToColor(const TdxHSL& AHSL);
  static TdxAlphaColor HSLToAlphaColor(const TdxHSL& AHSL, std::uint8_t AAlpha);

  static TdxHSV RGBToHSV(const RGBQUAD& ARGB);
  // All zero for clNone and clDefault.
  static TdxHSV ColorToHSV(TColor AColor);
  // Any hue is taken modulo 360; S and V are limited to [0, 1].
  static TColor HSVToColor(double H, double S, double V);
  static TColor HSVToColor(const TdxHSV& AHSV);

  // L + delta and S + delta, limited to [0, 1]; L x factor unlimited (the
  // channels are limited instead).
  static TColor ChangeLightness(TColor AColor, double ALightnessDelta);
  static TColor ChangeSaturation(TColor AColor, double ASaturationDelta);
  static TColor MultiplyLightness(TColor AColor, double AFactor);
  // L becomes 1 - L.
  static TColor InvertLightness(TColor AColor);
  static TdxAlphaColor InvertLightness(TdxAlphaColor AColor);
  // The hue of AColor with ABaseColor's saturation (within [0.6, 0.9]) and
  // lightness (within [0.4, 0.8]).
  static TColor Colorize(TColor ABaseColor, TColor AColor);

  // The linear value of an sRGB channel.
  static double ComponentToXYZ(std::uint8_t AComponent);
  // Relative luminance, 0 (black) to 1 (white).
  static double Luminance(std::uint8_t R, std::uint8_t G, std::uint8_t B);
  static double Luminance(TColor AColor);
  // The contrast ratio, 1 to 21.
  static double Contrast(TColor AForegroundColor, TColor ABackgroundColor);
  // The background's hue and saturation at lightness 0.05 or else 0.95,
  // whichever first has a contrast above 4.5; clDefault when neither has.
  static TColor MakeForegroundColor(TColor ABackgroundColor);
};

TdxHSV ColorToHSV(TColor AColor);
TColor HSVToColor(const TdxHSV& AHSV);

// False for clNone and clDefault.
bool IsColorValid(TColor AColor);
// ADefault when AColor is clDefault.
TColor ResolveDefaultColor(TColor AColor, TColor ADefault);
// The values themselves: a system colour and its RGB differ.
bool ColorsEqual(TColor AColor1, TColor AColor2);
void SwapColors(TColor& A, TColor& B);
// The RGB with all three channels inverted.
TColor InvertColor(TColor AColor);
// The nearest colour the screen can show.
TColor GetNearestScreenColor(TColor AColor);
// Per channel AWeight % of AColor1 and (100 - AWeight) % of AColor2.
TColor BlendColors(TColor AColor1, TColor AColor2, int AWeight);
// Per channel APercent % of the channel.
TColor ScaleColorChannels(TColor AColor, int APercent);
// Each channel APercent % of the way from white to the channel.
TColor FadeColorToWhite(TColor AColor, int APercent);
// Lighter for a positive, darker for a negative percentage (in HSV).
TColor ChangeColorBrightness(TColor AColor, int APercent);
// Per channel a weighted sum of the button-face, highlight and window
// colours (signed percentages); the highlight colour itself on a black or
// white button face.
TColor BlendSystemColors(int AFaceWeight, int AHighlightWeight, int AWindowWeight);
TColor GetLightHighlightColor();
TColor GetLighterHighlightColor();
bool IsButtonFaceBlack();
// A black button face with text that is not white.
bool IsHighContrastBlackScheme();

struct TcxColorInfo {
  std::wstring_view Name;
  TColor Color;
};
// The CSS colour keywords of the classic set and the CSS system-colour
// keywords, searched in this order.
std::span<const TcxColorInfo> cxColorNames();
// The first entry named AName, ignoring ASCII case.
bool FindColorByName(const String& AName, TColor& AColor);

// ---------------------------------------------------------------------------
// Solid brush cache

using TdxSolidBrushCacheBase = TdxValueCacheManager<TColor, HBRUSH>;

// Deletes the brushes that leave it.
class TdxSolidBrushCacheManager : public TdxSolidBrushCacheBase {
  SK_CLASS(TdxSolidBrushCacheManager, TdxSolidBrushCacheBase)
 public:
  // The handler of the system colours' change: every brush goes.
  void SystemPaletteChanged(TObject* Sender);

 protected:
  void ValueRemoved(const HBRUSH& AValue) override;
};

// One solid brush per colour, at most 128 alive, the oldest going first. The
// brushes belong to the cache: callers select them for one drawing call and
// never delete them. The key is the TColor itself, so a system colour and
// its RGB are two brushes; a change of the system colours empties the
// cache.
class TdxSolidBrushCache {
 public:
  static constexpr int Capacity = 128;

  TdxSolidBrushCache() = delete;

  // Nil outside the unit's lifetime.
  static HBRUSH Get(TColor AColor);
  static void Clear();
};

// ---------------------------------------------------------------------------
// Regions

// RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND.
enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };

// Owns one GDI region (or none). Operations on an object without a region
// pass nil to the system, which fails quietly.
class TcxRegion : public TObject {
  SK_CLASS(TcxRegion, TObject)
 public:
  // Takes over AHandle (nil allowed).
  void Create(HRGN AHandle);
  void Create(const TRect& ABounds);
  void Create(int ALeft, int ATop, int ARight, int ABottom);
  // A valid, empty region.
  void Create();
  // The window's region, else its rectangle at the origin. ADummy is not used.
  void CreateFromWindow(HWND AHandle, int ADummy = 0);
  // The system's rounded rectangle from (ALeft + 1, ATop + 1) to (ARight,
  // ABottom).
  void CreateRoundCorners(int ALeft, int ATop, int ARight, int ABottom, int AWidthEllipse, int AHeightEllipse);
  void CreateRoundCorners(const TRect& ABounds, int AWidthEllipse, int AHeightEllipse);
  void Destroy() override;

  HRGN Handle() const { return FHandle.Get(); }
  // No side effects: the old region is neither deleted nor kept (a holder
  // takes the region over by setting nil).
  void SetHandle(HRGN AValue);
  // The bounding box; (0, 0, 0, 0) for an empty region.
  TRect BoundsRect() const;
  bool IsEmpty() const;

  TOwned<TcxRegion> Clone() const;
  // roSet copies ARegionHandle; the others combine it into this region.
  void Combine(HRGN ARegionHandle, TcxRegionOperation AOperation);
  // Frees ARegion afterwards when ADestroyRegion is set.
  void Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion);
  void Combine(const TRect& R, TcxRegionOperation AOperation);
  bool IsEqual(HRGN ARegionHandle) const;
  // False for nil; true when both are empty.
  bool IsEqual(const TcxRegion* ARegion) const;
  void Offset(const TPoint& P) { Offset(P.X, P.Y); }
  void Offset(int DX, int DY);
  bool PtInRegion(const TPoint& Pt) const { return PtInRegion(Pt.X, Pt.Y); }
  bool PtInRegion(int X, int Y) const;
  // Whether any part of the rectangle lies in the region.
  bool RectInRegion(const TRect& R) const;
  bool RectInRegion(int ALeft, int ATop, int ARight, int ABottom) const {
    return RectInRegion(TRect(ALeft, ATop, ARight, ABottom));
  }

 private:
  TOwnedRegion FHandle;
};

// ---------------------------------------------------------------------------
// Library text flags: the one set of alignment and layout flags that
// painters, controls and editors pass to TcxCanvas text output.

constexpr int cxtfLeft = 0x1;
constexpr int cxtfRight = 0x2;
constexpr int cxtfCenterX = 0x4;
constexpr int cxtfTop = 0x8;
constexpr int cxtfBottom = 0x10;
constexpr int cxtfCenterY = 0x20;
constexpr int cxtfSingleLine = 0x40;
constexpr int cxtfNoClip = 0x80;
constexpr int cxtfExpandTabs = 0x100;
constexpr int cxtfShowPrefix = 0x200;
constexpr int cxtfWordBreak = 0x400;
constexpr int cxtfEndEllipsis = 0x800;
constexpr int cxtfCalcRect = 0x1000;
constexpr int cxtfPathEllipsis = 0x2000;
constexpr int cxtfNoCharBreak = 0x4000;
constexpr int cxtfNoFullWidthCharBreak = 0x8000;
constexpr int cxtfRtlReading = 0x10000;
constexpr int cxtfWordEllipsis = 0x20000;
constexpr int cxtfHorzAlignment = cxtfLeft | cxtfRight | cxtfCenterX;
constexpr int cxtfVertAlignment = cxtfTop | cxtfBottom | cxtfCenterY;

// The DrawText flags of library text flags: DT_NOPREFIX unless
// cxtfShowPrefix, plus one DT_ flag per set flag.
UINT TextFlagsToDrawTextFlags(int AFlags);

// ALength -1: the whole text; 0: DrawText of nothing, nothing else changed.
// Unless AColor is clDefault the text colour and background mode are set
// for the call and put back. DrawText's result (0 on failure).
int DrawTextWithColor(HDC DC, const String& AText, TRect& R, UINT AFormat, int ALength, TColor AColor, int ABkMode);
// On a copy of R, transparent, with DT_RTLREADING when the canvas's text
// flags hold ETO_RTLREADING.
int DrawTextTransparent(TCanvas* ACanvas, const String& AText, const TRect& R, UINT AFormat, TColor AColor);
// ALength -1: the whole text. True on success.
bool ExtTextOutAt(HDC DC, const String& AText, const TPoint& P, const TRect& AClipRect, UINT AOptions,
                  int ALength = -1);
// ASize becomes (0, 0) first. True on success.
bool GetTextExtentOf(HDC DC, const String& AText, TSize& ASize, int ALength = -1);
// Whether rotated text keeps its font's quality (otherwise it is drawn
// without antialiasing); on unless a caller turns it off.
bool RotatedTextAntialiasing();
void SetRotatedTextAntialiasing(bool AValue);

// ---------------------------------------------------------------------------
// The GDI canvas

// What a view paints with: background colour (and tiled bitmap), font and
// text colour.
struct TcxViewParams {
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

class TcxCanvas;
// The text drawn turned by AAngle in R: into a bitmap of the canvas's pixels
// under R, turned so that the text runs horizontally, and turned back.
// DrawText's result.
int DrawRotatedText(TcxCanvas* ACanvas, const String& AText, const TRect& R, UINT AFormat, TColor AColor,
                    TcxRotationAngle AAngle);

// A class-library canvas with stacks of saved device-context states,
// canvas states (font, brush, pen, text flags, right-to-left choice) and
// clip regions, region clipping in the canvas's own coordinates, frames
// and fills with clNone/clDefault meanings, text with the library's flags
// and image operations. The wrapped canvas is not owned. Each SaveState
// pairs with one SaveDC, so restoring a state restores the device
// context's own state too; restores on empty stacks do nothing.
class TcxCanvas : public TcxGdiBasedCanvas {
  SK_CLASS(TcxCanvas, TcxGdiBasedCanvas)
 public:
  struct TcxDCState {
    HDC Handle = nullptr;
    int State = 0;
  };
  struct TcxCanvasState {
    TOwned<TFont> Font;
    TOwned<TBrush> Brush;
    TOwned<TPen> Pen;
    TdxDefaultBoolean UseRightToLeftAlignment = bDefault;
    int TextFlags = 0;
  };

  using inherited::Arc;
  using inherited::Ellipse;
  using inherited::FillRect;
  using inherited::FrameRect;
  using inherited::Line;
  using inherited::Pie;
  using inherited::Polygon;
  using inherited::Polyline;
  using inherited::Rectangle;

  // ACanvas may be nil (a canvas is given later).
  virtual void Create(TCanvas* ACanvas);
  // Also frees the regions still saved and the objects of states still saved.
  void Destroy() override;

  // The wrapped canvas's device context, created when it has none, with
  // its font, pen and brush selected.
  HDC Handle() override;
  TCanvas* Canvas() const { return FCanvas; }
  // Replaces the wrapped canvas; nothing else changes.
  virtual void SetCanvas(TCanvas* AValue);
  TBrush* Brush() const { return FCanvas->Brush(); }
  void SetBrush(TBrush* AValue) { FCanvas->SetBrush(AValue); }
  TFont* Font() const { return FCanvas->Font(); }
  void SetFont(TFont* AValue) { FCanvas->SetFont(AValue); }
  TPen* Pen() const { return FCanvas->Pen(); }
  void SetPen(TPen* AValue) { FCanvas->SetPen(AValue); }
  TCopyMode CopyMode() const { return FCanvas->CopyMode(); }
  void SetCopyMode(TCopyMode AValue) { FCanvas->SetCopyMode(AValue); }
  // The wrapped canvas's ETO_ options; ETO_RTLREADING makes text read right
  // to left.
  int TextFlags() const { return FCanvas->TextFlags(); }
  void SetTextFlags(int AValue) { FCanvas->SetTextFlags(AValue); }
  int DpiX();
  int DpiY();

  // Forwarded to the wrapped canvas or the system.
  void AngleArc(int X, int Y, DWORD ARadius, float AStartAngle, float ASweepAngle);
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void ArcTo(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void BeginPath();
  void EndPath();
  void WidenPath();
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R);
  void FloodFill(int X, int Y, TColor AColor, TFillStyle AFillStyle);
  void LineTo(int X, int Y);
  void MoveTo(int X, int Y);
  void PolyBezier(std::span<const TPoint> APoints);
  void PolyBezierTo(std::span<const TPoint> APoints);
  void Polygon(std::span<const TPoint> APoints);
  void Polyline(std::span<const TPoint> APoints);
  void Rectangle(const TRect& R);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void RoundRect(const TRect& R, int CX, int CY);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void SetPixel(int X, int Y, TColor AColor);
  bool HandleAllocated() const { return FCanvas->HandleAllocated(); }
  void Lock() { FCanvas->Lock(); }
  void Unlock() { FCanvas->Unlock(); }
  void Refresh() { FCanvas->Refresh(); }
  void OffsetClipRegion(int AOffsetX, int AOffsetY);
  void Line(const TPoint& P1, const TPoint& P2);
  void Line(int X1, int Y1, int X2, int Y2);

  // The pie of R between the two radial points.
  void Pie(const TRect& R, const TPoint& ARadial1, const TPoint& ARadial2);
  // Whole degrees, counter-clockwise; nothing for an empty R, no sweep, or
  // a sweep of at most 180 whose two ends meet.
  void Pie(const TRect& R, int AStartAngle, int ASweepAngle);

  // clNone: a clear brush (the colour kept); otherwise solid, the colour.
  void SetBrushColor(TColor AValue);
  // Brush colour, font and font colour; the bitmap is left as it is.
  void GetParams(TcxViewParams& AParams);
  void SetParams(const TcxViewParams& AParams);

  // Fills. clNone draws nothing; clDefault keeps the brush.
  void FillRect(const TRect& R, TColor AColor) override;
  // ABitmap tiled on a grid anchored at the origin (the brush without one);
  // with AExcludeRect, R leaves the clip region afterwards.
  void FillRect(const TRect& R, TBitmap* ABitmap = nullptr, bool AExcludeRect = false);
  void FillRect(const TRect& R, const TcxViewParams& AParams, bool AExcludeRect = false);
  void FillRegion(TcxRegion* ARegion, TColor AColor);
  void FillRegion(HRGN ARegion, TColor AColor);
  // ABorderWidth: the width of the vertical strokes; ABorderHeight: the
  // height of the horizontal ones.
  void FrameRegion(TcxRegion* ARegion, TColor AColor, int ABorderWidth = 1, int ABorderHeight = 1);
  void FrameRegion(HRGN ARegion, TColor AColor, int ABorderWidth = 1, int ABorderHeight = 1);
  void DrawRegion(TcxRegion* ARegion, TColor AContentColor, TColor ABorderColor, int ABorderWidth = 1,
                  int ABorderHeight = 1);
  void DrawRegion(HRGN ARegion, TColor AContentColor, TColor ABorderColor, int ABorderWidth = 1,
                  int ABorderHeight = 1);

  // Frames: each side a strip ALineWidth wide within R (left, right, top,
  // bottom; corners in both strips); AExcludeFrame takes the strips out of
  // the clip region afterwards.
  void FrameRect(const TRect& R, TColor AColor, int ALineWidth = 1, TcxBorders ABorders = cxBordersAll()) override;
  void FrameRect(const TRect& R, TColor AColor, int ALineWidth, TcxBorders ABorders, bool AExcludeFrame);
  // A one-pixel frame in the current brush.
  void FrameRect(const TRect& R);
  void ExcludeFrameRect(const TRect& R, int ALineWidth = 1, TcxBorders ABorders = cxBordersAll());
  // The frame of the sides in ABorders, then the fill of what is left.
  void Rectangle(const TRect& R, const TcxViewParams& AParams, TcxBorders ABorders, TColor ABorderColor,
                 int ALineWidth = 1, bool AExcludeRect = false);
  // Leaves the copy mode at SRCCOPY.
  void InvertRect(const TRect& R);
  void InvertFrame(const TRect& R, int ABorderSize);
  void DrawFocusRect(const TRect& R);
  // The focus rectangle's sides in ABorders only; AExclude then takes those
  // sides out of the clip region.
  void DrawFocusRectEx(const TRect& R, TcxBorders ABorders, bool AExclude = false);
  // AWidth focus rectangles, each one pixel inside the previous.
  void DrawDesignSelection(const TRect& ARect, int AWidth = 2);

  // Shapes with pen and brush set in one step (clNone: clear).
  void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TColor AColor,
           int APenWidth = 1, TPenStyle APenStyle = psSolid) override;
  void Ellipse(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle = psSolid,
               int APenWidth = 1) override;
  void Polygon(std::span<const TPoint> P, TColor ABrushColor, TColor APenColor) override;
  void Polyline(std::span<const TPoint> P, TColor AColor, int APenWidth = 1, TPenStyle APenStyle = psSolid) override;
  void Rectangle(const TRect& R, TColor ABrushColor, TColor APenColor, TPenStyle APenStyle = psSolid,
                 int APenWidth = 1) override;

  // Clip regions in the canvas's own coordinates (AConsiderOrigin) or the
  // device context's. Without a clip region the device context counts as
  // clipped to (0, 0, 30000, 30000). The caller owns the result.
  TOwned<TcxRegion> GetClipRegion(bool AConsiderOrigin = true);
  // Combines ARegion into the clip region (roSet replaces it); ARegion is
  // freed afterwards when ADestroyRegion is set.
  void SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true,
                     bool AConsiderOrigin = true);
  void SaveClipRegion() override;
  void RestoreClipRegion() override;
  // Every pixel of R is inside the clip region.
  bool RectFullyVisible(const TRect& R);
  // The region of the device context's current path.
  TOwned<TcxRegion> PathToRegion(bool AConsiderOrigin = true);

  // Device-context and canvas states.
  void SaveDC();
  void RestoreDC();
  void SaveState() override;
  void RestoreState() override;

  // Text (cxGraphics_CanvasText.cpp). Flags are library text flags.
  void DrawTexT(const String& AText, const TRect& R, int AFlags, bool AEnabled = true);
  void DrawTexT(const String& AText, const TRect& R, int AFlags, bool AEnabled, TcxRotationAngle ARotationAngle);
  void DrawTexT(const String& AText, const TRect& R, TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                bool AMultiLine, bool AShowEndEllipsis);
  // The text on one line; (0, 0) when the system cannot measure it.
  TSize TextExtent(const String& AText);
  int TextWidth(const String& AText) { return TextExtent(AText).cx; }
  int TextHeight(const String& AText) { return TextExtent(AText).cy; }
  // The text's DrawText rectangle, aligned within R's size by the flags.
  void TextExtent(const String& AText, TRect& R, int AFlags);
  void TextOut(int X, int Y, const String& AText);
  // Assigns AFont to the canvas font; the height of the selected font.
  int FontHeight(TFont* AFont);
  // Degrees, counter-clockwise.
  void SetFontAngle(int AValue);
  // Moves R.Top so that the wrapped text block sits at the bottom or the
  // middle of R; R.Bottom stays.
  void AlignMultiLineTextRectVertically(TRect& R, const String& AText, TcxAlignmentVert AAlignmentVert,
                                        bool AWordBreak, bool AShowPrefix, bool AEnabled = true,
                                        bool ADontBreakChars = false, bool AEndEllipsis = false,
                                        bool AExpandTabs = false);
  // Appends one rectangle per output line.
  void GetTextStringsBounds(const String& AText, const TRect& R, int AFlags, bool AEnabled,
                            std::vector<TRect>& ABounds);

  // Images.
  void Draw(int X, int Y, TGraphic* AGraphic);
  void Draw(int X, int Y, TGraphic* AGraphic, std::uint8_t AOpacity);
  void StretchDraw(const TRect& R, TGraphic* AGraphic);
  void CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource);
  // ABitmap's ASource part into ADest with AColor replaced by the brush.
  void BrushCopy(const TRect& ADest, TBitmap* ABitmap, const TRect& ASource, TColor AColor);
  // Nothing for an index outside the list.
  void DrawImage(TCustomImageList* AImages, int X, int Y, int AIndex, bool AEnabled = true);
  // Enabled: the glyph with its transparent colour replaced by the
  // background (clNone: left out). Disabled: the image list's disabled look.
  void DrawGlyph(int X, int Y, TBitmap* AGlyph, bool AEnabled = true, TColor ABackgroundColor = clNone);
  // ABitmap blended with the constant AAlpha over ABackground (nil: the
  // canvas's own pixels there).
  void TransparentDraw(int X, int Y, TBitmap* ABitmap, std::uint8_t AAlpha, TBitmap* ABackground = nullptr);
  void FlipHorizontally(TBitmap* ABitmap);
  // Quarter turns (raPlus90 counter-clockwise); AFlipVertically mirrors the
  // result top to bottom. The alpha bytes travel with their pixels.
  void RotateBitmap(TBitmap* ABitmap, TcxRotationAngle ARotationAngle, bool AFlipVertically = false);

 protected:
  // A class-library control canvas follows its control.
  bool GetControlRightToLeft() override;

 private:
  // clNone makes a clear pen.
  void AssignPen(TColor AColor, TPenStyle AStyle, int AWidth);
  void DrawTextOnce(const String& AText, const TRect& ARect, const TRect& AClipRect, bool AUseDrawText,
                    UINT AFormat, UINT AOptions, TcxRotationAngle ARotationAngle);

  std::vector<TcxDCState> FSavedDCs;
  std::vector<TOwned<TcxRegion>> FSavedRegions;
  std::vector<TcxCanvasState> FSavedStates;
  TCanvas* FCanvas;
};

// ---------------------------------------------------------------------------
// Shared canvases (made on first request, freed at the unit's shut-down)

// Text sizes before any window exists: a canvas over a 1 x 1 bitmap.
class TcxMeasureCanvas : public TcxCanvas {
  SK_CLASS(TcxMeasureCanvas, TcxCanvas)
 public:
  void Create() override;
  void Destroy() override;

 private:
  TOwned<TcxBitmap> FBitmap;
};

// The desktop's cached device context, acquired when first needed and
// released by FreeHandle (and Destroy).
class TScreenCanvas : public TCanvas {
  SK_CLASS(TScreenCanvas, TCanvas)
 public:
  void Destroy() override;
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  HDC FDeviceContext;
  HWND FWindowHandle;
};

class TcxScreenCanvas : public TcxCanvas {
  SK_CLASS(TcxScreenCanvas, TcxCanvas)
 public:
  void Create() override;
  void Destroy() override;
  // Releases the desktop device context now; the next use takes a new one.
  void Dormant();

 private:
  TOwned<TScreenCanvas> FScreenCanvas;
};

// Wraps raw device contexts or class-library canvases for the length of a
// paint, with nesting: each BeginPaint pairs with one EndPaint, which
// returns to the canvas wrapped before.
class TcxPaintCanvas : public TcxCanvas {
  SK_CLASS(TcxPaintCanvas, TcxCanvas)
 public:
  void Create() override;
  void Destroy() override;

  // A class-library canvas made for ADC, its font, brush and pen taken from
  // the objects selected in ADC.
  void BeginPaint(HDC ADC);
  void BeginPaint(TCanvas* ACanvas);
  // Nothing without a matching BeginPaint.
  void EndPaint();

 private:
  // One level: the canvas wrapped before it and, for a raw device context,
  // the context's saved level and the canvas made for it.
  struct TcxPaintCanvasState {
    TCanvas* PrevCanvas = nullptr;
    int FSaveDC = 0;
    HDC DC = nullptr;
    TOwned<TCanvas> OwnedCanvas;
  };
  void PushLevel(TCanvas* ACanvas, TcxPaintCanvasState AState);

  int FCounter;
  std::vector<TcxPaintCanvasState> FSavedStates;
};

// The single instances; nil once the unit has shut down.
TcxMeasureCanvas* SharedMeasureCanvas();
TcxScreenCanvas* SharedScreenCanvas();
TcxPaintCanvas* SharedPaintCanvas();

// One paint of the shared paint canvas for the length of a scope: BeginPaint
// when it starts, EndPaint when it ends (also when an exception leaves it).
//
//   const TcxPaintCanvasScope paint(DC);
//   AProc(paint.Canvas(), R);
class [[nodiscard]] TcxPaintCanvasScope : TcxCanvasScope {
 public:
  explicit TcxPaintCanvasScope(HDC ADC) : FCanvas(SharedPaintCanvas()) { FCanvas->BeginPaint(ADC); }
  explicit TcxPaintCanvasScope(TCanvas* ACanvas) : FCanvas(SharedPaintCanvas()) { FCanvas->BeginPaint(ACanvas); }
  ~TcxPaintCanvasScope() noexcept(false) {
    Restore([this] { FCanvas->EndPaint(); });
  }

  TcxPaintCanvas* Canvas() const { return FCanvas; }
  TcxPaintCanvas* operator->() const { return FCanvas; }

 private:
  TcxPaintCanvas* FCanvas;
};

// ---------------------------------------------------------------------------
// Off-screen bitmaps

enum TcxBitmapTransformationMode {
  btmDingy, btmDirty, btmGrayScale, btmSetOpaque, btmMakeMask, btmFade, btmDisable, btmCorrectBlend, btmHatch,
  btmClear, btmResetAlpha, btmExtractLayer
};

// The cells of a hatch: Color1 where (x div Step + y div Step) is even,
// Color2 where it is odd, each blended with its factor.
struct TcxHatchData {
  RGBQUAD Color1{};
  std::uint8_t Alpha1 = 0;
  RGBQUAD Color2{};
  std::uint8_t Alpha2 = 0;
  std::uint8_t Step = 0;
};

// Colours by their RGB (the low 24 bits of a pixel, blue lowest).
class TcxColorList {
 public:
  void Add(TColor AColor);
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Contains(const RGBQUAD& APixel) const;

 private:
  std::vector<std::uint32_t> FItems;
};

// A class-library bitmap with its own TcxCanvas, update locking (changes
// under BeginUpdate report once at the last EndUpdate), flipping, rotation
// and the compressed form data "XDBM" (when CompressData is set; plain data
// is read as well).
class TcxBitmap : public TBitmap {
  SK_CLASS(TcxBitmap, TBitmap)
 public:
  static void Publish(TPublisher<TcxBitmap>& P);

  // 0 x 0.
  void Create() override;
  // 24 bits per pixel here, 32 in the descendants.
  virtual void CreateSize(int AWidth, int AHeight);
  void CreateSize(int AWidth, int AHeight, TPixelFormat APixelFormat);
  void CreateSize(const TSize& ASize);
  void CreateSize(const TRect& ARect);
  void CreateSize(const TRect& ARect, TPixelFormat APixelFormat);
  void Destroy() override;

  void BeginUpdate() { ++FLockCount; }
  // Unlocks without reporting.
  void CancelUpdate() { --FLockCount; }
  // At the last unlock: reports when forced or when something changed.
  void EndUpdate(bool AForceUpdate = true);
  // While locked only remembers the change; otherwise reports it, then the
  // change hook runs.
  void Changed(TObject* Sender) override;

  // Negative sizes count as 0; reports once.
  void SetSize(int AWidth, int AHeight) override;
  void SetSize(const TRect& ARect) { SetSize(ARect.Width(), ARect.Height()); }
  void CopyBitmap(TBitmap* ASrcBitmap, DWORD ACopyMode = SRCCOPY);
  void CopyBitmap(TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft, DWORD ACopyMode = SRCCOPY);
  // Frees the TcxCanvas and the canvas's device context.
  void Dormant() override;
  // Mirrors the pixels; the alpha bytes travel with them.
  void Flip(bool AFlipHorizontally, bool AFlipVertically);
  void Rotate(TcxRotationAngle ARotationAngle, bool AFlipVertically = false);

  TcxCanvas* cxCanvas();
  TRect ClientRect() const { return TRect(0, 0, Width(), Height()); }
  bool CompressData() const { return FCompressData; }
  void SetCompressData(bool AValue) { FCompressData = AValue; }

 protected:
  // Run by every constructor: format and size set under one lock.
  virtual void Initialize(int AWidth, int AHeight, TPixelFormat APixelFormat);
  // After each change that was reported.
  virtual void Update() {}
  // Plain data, or "XDBM" data rejected with EReadError when damaged (the
  // bitmap is left as it was).
  void ReadData(TStream* AStream) override;
  void WriteData(TStream* AStream) override;

 private:
  bool FCompressData;
  TOwned<TcxCanvas> FcxCanvas;
  int FLockCount;
  bool FModified;
};

// Always 32 bits per pixel ("Wrong PixelFormat" otherwise), with per-pixel
// operations. Pixel arrays run bottom-up, the bitmap's own row order.
class TcxBitmap32 : public TcxBitmap {
  SK_CLASS(TcxBitmap32, TcxBitmap)
 public:
  using inherited::CreateSize;
  void CreateSize(int AWidth, int AHeight) override;
  void CreateSize(int AWidth, int AHeight, bool AClear);
  void CreateSize(const TRect& ARect, bool AClear);
  void CreateSize(const TSize& ASize, bool AClear);
  void AfterConstruction() override;

  // Whatever the stream holds comes out with 32 bits per pixel.
  void LoadFromStream(TStream* AStream) override;
  void GetBitmapColors(TRGBColors& AColors);
  void SetBitmapColors(const TRGBColors& AColors);

  // All four bytes of every pixel 0.
  virtual void Clear();
  void MakeOpaque() { SetAlphaChannel(255); }
  void SetAlphaChannel(std::uint8_t AAlpha);
  // Colour channels scaled to APercent.
  void Darken(int APercent);
  // Colour channels APercent of the way from white.
  void Lighten(int APercent);
  void Invert();
  // Destination AND NOT mask.
  void Filter(TBitmap* AMaskBitmap);
  // Pixels of the colour's RGB become 0; other pixels without alpha opaque.
  void RecoverTransparency(TColor ATransparentColor);
  void AlphaBlend(TBitmap* ADestBitmap, const TRect& ADestRect, bool ASmoothImage, std::uint8_t AConstantAlpha = 255);
  // Whether any alpha byte is not 0; computed once after each change.
  bool IsAlphaUsed();

 protected:
  void Update() override;

 private:
  TdxDefaultBoolean FIsAlphaUsed;
};

// A 32-bit bitmap with a transparent background colour, further transparent
// colours, and pixel transformations for disabled, faded, hatched and
// shadowed looks. A pixel is transparent when all of it equals the
// background colour or its RGB is in the list.
class TcxAlphaBitmap : public TcxBitmap32 {
  SK_CLASS(TcxAlphaBitmap, TcxBitmap32)
 public:
  using inherited::CreateSize;
  void CreateSize(int AWidth, int AHeight) override;
  void CreateSize(int AWidth, int AHeight, const RGBQUAD& ATransparentBkColor);

  void Clear() override;
  // New size, no transparent colours, cleared.
  void RefreshImage(int AWidth, int AHeight);
  void RefreshImage(const TRect& ARect) { RefreshImage(ARect.Width(), ARect.Height()); }
  void DrawHatch(const TcxHatchData& AHatchData);
  void DrawHatch(TColor AColor1, TColor AColor2, int AStep, std::uint8_t AAlpha1, std::uint8_t AAlpha2);
  // Pixels of the colour become transparent, the others without alpha opaque.
  void RecoverAlphaChannel(TColor ATransparentColor);
  void RecoverAlphaChannel(const TRect& ARect, TColor ATransparentColor);
  // Pixels of the colour become 0.
  void ExtractLayer(TColor ATransparentColor);
  void Shade(TBitmap* AMaskBitmap);
  void DrawShadow(TBitmap* AMaskBitmap, int AShadowSize, TColor AShadowColor = clBtnShadow,
                  bool AInflateSize = false);
  // Every pixel through the mode's operation, column by column.
  void TransformBitmap(TcxBitmapTransformationMode AMode);

  const RGBQUAD& TransparentBkColor() const { return FTransparentBkColor; }
  void SetTransparentBkColor(const RGBQUAD& AValue) { FTransparentBkColor = AValue; }
  TcxColorList& TransparentPixels() { return FTransparentPixels; }
  // The pixel TransformBitmap works on, in the pixel array's row order.
  const TPoint& CurrentColorIndex() const { return FCurrentColorIndex; }

 private:
  bool IsColorTransparent(const RGBQUAD& AColor) const;
  void TransformPixel(TcxBitmapTransformationMode AMode, RGBQUAD& AColor);

  RGBQUAD FTransparentBkColor;
  TcxColorList FTransparentPixels;
  TPoint FCurrentColorIndex;
  TcxHatchData FHatchData;
};

// The compressed form data of a TcxBitmap ("XDBM"): the plain bitmap data
// run-length encoded in blocks of ABlockSize (1 to 4) bytes, header
// included; and the plain data back from a header's method and payload,
// which raises EReadError for damaged data.
std::vector<std::uint8_t> CompressBitmapData(std::span<const std::uint8_t> APlainData, int ABlockSize);
std::vector<std::uint8_t> DecompressBitmapData(std::span<const std::uint8_t> APayload, std::int16_t AMethod);

// The blend of colour C into pixel P with the factor f (0..255).
void cxBlendPixel(RGBQUAD& P, const RGBQUAD& C, std::uint8_t AFactor);
// cxBlendPixel over runs of pixels: each colour into the pixel at its index.
void cxBlendPixels(std::span<RGBQUAD> APixels, std::span<const RGBQUAD> AColors, std::uint8_t AFactor);

// Resizes ABitmap and puts its old pixels back, stretched over it or
// unscaled in its middle (on AColor, or cleared for clNone).
void ResizeBitmap32(TcxBitmap32* ABitmap, int AWidth, int AHeight, bool AStretch, bool ASmooth,
                    TColor ABackgroundColor = clNone);

// ---------------------------------------------------------------------------
// Graphics routines

// The msimg32 entry points bound at start-up; nil when missing, and the
// routines then fill gradients in bands and blend pixels in code.
struct TcxMsImg32Functions {
  decltype(&::GradientFill) GradientFill = nullptr;
  decltype(&::AlphaBlend) AlphaBlend = nullptr;
};
TcxMsImg32Functions& cxMsImg32Functions();

// Through the solid brush cache; nothing for clNone.
void FillRectWithColor(HDC DC, const TRect& R, TColor AColor);
void FrameRectWithColor(HDC DC, const TRect& R, TColor AColor);
// From AColor1 at the left (top) to AColor2 at the right (bottom).
void FillGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal);
// One-pixel lines that bend at the middle line, which has AColor1 moved
// APercent / 2 % of the way towards AColor2.
void FillBentGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, int APercent, bool AHorizontal);
// R filled, hatched and framed, then left out of the clip region (with its
// shadow one pixel down and right).
void DrawHatchedRect(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AWithShadow = false);
// Index 0 light green, 1 light red.
void DrawHatchedRectByIndex(TcxCanvas* ACanvas, const TRect& R, int AColorIndex, bool AWithShadow = false);

// False exactly when nothing is left to draw on.
bool IntersectClipRectWith(HDC DC, const TRect& R);
int ExcludeClipRectFrom(HDC DC, const TRect& R);
bool IsPointInRegion(HRGN ARegion, const TPoint& P);

void CopyDCRect(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TPoint& ASrcTopLeft, DWORD ARop = SRCCOPY);
void StretchBltRect(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, DWORD ARop = SRCCOPY);
// With the bitmap's palette realized on a palette device.
void CopyBitmapToDC(HDC DC, TBitmap* ABitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft,
                    DWORD ARop = SRCCOPY);

// New class-library bitmaps (the caller owns them), the format set first.
TBitmap* CreateBitmapWithFormat(int AWidth, int AHeight, TPixelFormat APixelFormat = pfDevice);
TBitmap* CreateBitmapOfSize(const TSize& ASize, TPixelFormat APixelFormat = pfDevice);
TBitmap* CreateBitmapForRect(const TRect& ARect, TPixelFormat APixelFormat = pfDevice);
void ClearBitmapToBlack(TBitmap* ABitmap);
TRect GetGraphicRect(TGraphic* AGraphic);
// ASource's pixels resized into ADest: Lanczos-3 when smooth, else a
// half-tone stretch.
void ResizeBitmapContent(TBitmap* ASource, TBitmap* ADest, bool ASmooth);
// The pixels whose RGB differs from ATransparentColor, as a union of row
// runs; nil when there is none. The caller owns the region.
HRGN CreateRegionFromBitmap(TBitmap* ABitmap, TColor ATransparentColor);
// A new handle the caller owns.
HBITMAP CopyBitmapHandle(TBitmap* ABitmap);

// Shared scratch bitmaps of the given size, cleared; the same object until
// the unit shuts down, so no caller keeps one across another's use.
TcxBitmap* GetScratchBitmap(int AWidth, int AHeight);
TcxBitmap32* GetScratchBitmap32(int AWidth, int AHeight);
TcxAlphaBitmap* GetScratchAlphaBitmap(int AWidth, int AHeight);

// The unit's alpha blend: per-pixel alpha and a constant alpha; smooth
// stretching when ASmooth and the sizes differ. The source comes from
// ASrcBitmap32 when given, else from ASrcDC.
void AlphaBlendDC(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth = false,
                  std::uint8_t AConstantAlpha = 255, TcxBitmap32* ASrcBitmap32 = nullptr,
                  TBitmap* ASrcBitmap = nullptr);
void AlphaBlendBitmap(HDC DC, TBitmap* ABitmap, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth = false,
                      std::uint8_t AConstantAlpha = 255);
void AlphaBlendBitmap32(TcxBitmap32* ADest, TcxBitmap32* ASrc, const TRect& ADestRect, const TRect& ASrcRect,
                        bool ASmooth = false, std::uint8_t AConstantAlpha = 255);
void AlphaBlendFromDC(HDC DC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth = false,
                      std::uint8_t AConstantAlpha = 255);
// False when the system's AlphaBlend is missing or fails.
bool SystemAlphaBlend(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect,
                      std::uint8_t AConstantAlpha = 255, bool AUseSourceAlpha = true);

// The system's object records; true on success.
bool GetBitmapData(HBITMAP ABitmap, BITMAP& AData);
bool GetBrushData(HBRUSH ABrush, LOGBRUSH& AData);
bool GetFontLogFont(HFONT AFont, LOGFONTW& AData);
bool GetPenData(HPEN APen, LOGPEN& AData);
bool GetFontTextMetrics(TFont* AFont, TEXTMETRICW& AMetrics);

// Cleared, the face name, DEFAULT_CHARSET.
void InitLogFontWithName(LOGFONTW& ALogFont, const String& AName);
void DisableFontAntialiasing(TFont* AFont);
// The class library's default font, scaled to the factor when given.
void AssignDefaultFont(TFont* AFont, const TdxScaleFactor* AScaleFactor = nullptr);

// Both screen DPI values read at start-up (GetScreenDpi of the DPI services
// reads the vertical one anew).
TPoint cxGetScreenDpi();
int GetScreenDpiY();
// The visible part of the current cursor.
TSize GetCursorSize();
bool IsGraphicAssigned(TGraphic* AGraphic);
bool HasGraphic(TGraphic* AGraphic);
// An 8 x 8 pattern of alternating pixels.
TBrush* cxHalftoneBrush();

// ---------------------------------------------------------------------------
// Parent background and mirrored painting
//
// A control that looks transparent first lets its parent, and the parent's
// other child windows, paint themselves into its canvas through print
// messages; a parent that is painting as a background is not asked again.

void DrawControlParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R);
void DrawParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R, bool APaintChildren);
// R in the control's window coordinates; what lies behind it lands at
// AOffset of the canvas.
void DrawParentBackgroundAt(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R, const TPoint& AOffset,
                            bool APaintChildren);
bool IsPaintingAsParentBackground(TWinControl* AControl);
// The control's window part R (window coordinates) painted at AOffset.
void PaintControlTo(TWinControl* AControl, TcxCanvas* ACanvas, const TPoint& AOffset, const TRect& R,
                    bool APaintChildren, bool AWithNonClient, bool AClipToWindowRegion, bool AVisibleOnly);
// The window painted into DC through print messages at its client offset.
void PaintWindowToDC(HWND AWnd, HDC DC, bool AWithNonClient, bool APaintChildren);

// AProc mirrored horizontally around the middle of R when AMirror is set
// (AExclusiveRight: R.Right itself is outside), as it is otherwise.
void PaintMirroredIfRightToLeft(HDC DC, const TRect& R, bool AMirror, const std::function<void()>& AProc,
                                bool AExclusiveRight = true);
// Mirrored when the canvas aligns right to left.
void PaintMirroredOnCanvas(TcxCanvas* ACanvas, const TRect& R, const std::function<void()>& AProc);

// ---------------------------------------------------------------------------
// Image drawing and the image-list paint cache          (cxGraphics_Images.cpp)
//
// A glyph is a graphic or an item of an image list, drawn at the size its
// scale factor gives it in one of the drawing modes. Items of the library's
// own image lists (TcxCustomImageList) go through the paint cache, which
// keeps each finished image per list, size and drawing key; everything else
// is composed in the scratch bitmaps and copied to the device context.

class TcxCustomImageList;
class TdxGPCanvas;
class TdxGPImage;

enum TcxImageFitMode { ifmNormal, ifmStretch, ifmProportionalStretch, ifmFit, ifmFill };

// The constant alphas of the drawing modes that blend: a disabled image with
// an alpha channel of its own, a faded image; every other image is opaque.
constexpr std::uint8_t cxDisabledImageAlpha = 151;
constexpr std::uint8_t cxFadedImageAlpha = 64;

// An image drawing of the application's own: given the buffer's canvas, the
// list and index (or the graphic), the mode and the destination (in buffer
// coordinates); true when it drew the image itself.
using TcxCustomDrawImageProc = bool (*)(TcxCanvas* ACanvas, TCustomImageList* AImages, int AImageIndex,
                                        TcxImageDrawMode ADrawMode, const TRect& ADestRect, TGraphic* AGlyph);
TcxCustomDrawImageProc cxCustomDrawImageProc();
// Answers the previous routine (nil: none installed).
TcxCustomDrawImageProc SetCustomDrawImageProc(TcxCustomDrawImageProc AProc);

// Sizes.
bool IsValidImageIndex(TCustomImageList* AImages, int AIndex);
bool HasImageSource(TGraphic* AGraphic, TCustomImageList* AImages, int AIndex);
// (0, 0) for nil; the design size of a graphic that reports one (IdxSourceSize).
TSize GetGraphicSize(TGraphic* AGraphic);
// The DPI the object was designed for: its own answer (IdxSourceDPI), else
// the source-DPI hook's of the DPI services, else 96.
int GetObjectSourceDPI(TObject* AObject);
// A non-empty graphic's size, else a valid item's list size, scaled by the
// factor from its source DPI; (0, 0) when there is neither.
TSize GetImageScaledSize(TGraphic* AGraphic, TCustomImageList* AImages, int AIndex,
                         const TdxScaleFactor* AScaleFactor);
TSize GetGlyphScaledSize(TGraphic* AGlyph, const TdxScaleFactor* AScaleFactor);
TSize GetImageListScaledSize(TCustomImageList* AImages, const TdxScaleFactor* AScaleFactor);
TSize GetImageListSizeForDpi(TCustomImageList* AImages, int ADpi);

// Fitting: the image's size in the target (an empty image keeps its size).
TdxSizeF CalcImageFitSize(const TdxRectF& ATargetRect, const TdxSizeF& AImageSize, TcxImageFitMode AFitMode);
// The fit size truncated, in ifmNormal scaled to APercent; centred in R or
// at its top-left corner.
TRect CalcImageDrawRect(const TRect& R, const TSize& AImageSize, TcxImageFitMode AFitMode = ifmNormal,
                        bool ACenter = true, int APercent = 100);

// Drawing. Without a scale factor the default 96/96 one applies.
void DrawScaledImage(TCanvas* ACanvas, const TRect& R, TGraphic* AGraphic, TCustomImageList* AImages, int AIndex,
                     TcxImageFitMode AFitMode, TcxImageDrawMode ADrawMode = idmNormal,
                     bool AUseLeftBottomPixelAsTransparent = false, IdxColorPalette* APalette = nullptr,
                     const TdxScaleFactor* AScaleFactor = nullptr, bool ASmoothImage = true);
// In idmNormal; its bottom-left pixel transparent when it says it is
// transparent and is not the class library's metafile.
void DrawMetafileScaled(TCanvas* ACanvas, const TRect& R, TGraphic* AMetafile, TcxImageFitMode AFitMode,
                        IdxColorPalette* APalette = nullptr, const TdxScaleFactor* AScaleFactor = nullptr,
                        bool ASmoothImage = true);
// The graphic (or the list's item) composed for the mode over the pixels
// under ADestRect (or over the brush, when given) and copied to DC there.
void DrawImageThroughBuffer(HDC DC, const TRect& ADestRect, TGraphic* AGraphic, TCustomImageList* AImages,
                            int AIndex, TcxImageDrawMode ADrawMode, bool ASmoothImage, HBRUSH ABackgroundBrush,
                            TColor ATransparentColor, bool AUseLeftBottomPixelAsTransparent,
                            IdxColorPalette* APalette);
// ABitmap cleared to black, then ASourceRect of the graphic drawn over
// ADestRect (smoothly resized when asked). Smart images leave premultiplied
// pixels; a bitmap whose pixels have straight alpha is premultiplied.
void DrawGraphicToBitmap(TBitmap* ABitmap, TGraphic* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                         bool ASmooth, IdxColorPalette* APalette = nullptr);
void DrawGraphicToBitmap(TBitmap* ABitmap, TGraphic* AGraphic, bool ASmooth, IdxColorPalette* APalette = nullptr);
// Nil for nil; a copy of a bitmap, a smart image's own bitmap, otherwise the
// graphic drawn on a cleared 32-bit bitmap. The caller owns the result.
TOwned<TBitmap> GraphicToBitmap(TGraphic* AGraphic);

// The old list (when any) loses AComponent's free notification and the
// change link and hears ANotify(..., true); the new one gets both and
// ANotify(..., false); then the link signals a change. Nothing when the
// list stays.
using TcxImageListLinkNotify = std::function<void(TCustomImageList* AImages, bool AReleased)>;
void SetImageListLink(TCustomImageList* ANewImages, TCustomImageList*& AImagesField, TChangeLink* AChangeLink,
                      TComponent* AComponent, const TcxImageListLinkNotify& ANotify = nullptr);
// The same object, or both present, of one size and saved to equal bytes.
bool CompareGraphics(TGraphic* A, TGraphic* B);
// A non-empty smart image's codec's extension, else the class library's
// extension of the graphic's class.
String GetGraphicDefaultExtension(TGraphic* AGraphic);
// A non-empty bitmap or smart image releases its device-dependent resources.
void DormantGraphic(TGraphic* AGraphic);
// A vector image (IdxVectorImage); a smart image is decoded to tell.
bool IsVectorGraphic(TGraphic* AGraphic);

// The key of a finished image: compared and hashed as raw bytes.
#pragma pack(push, 1)
struct TdxDrawImageCacheID {
  HBRUSH BrushHandle;
  TcxImageDrawMode DrawMode;
  TGraphic* Glyph;
  std::int32_t ImageIndex;
  TCustomImageList* ImageList;
  GUID PaletteID;
  bool SmoothImage;
  TColor TransparentColor;
  bool UseLeftBottomPixelAsTransparent;

  void Reset();
  std::uint32_t GetHashCode() const;
  bool IsEqual(const TdxDrawImageCacheID& AOther) const;
};
#pragma pack(pop)

// Finished images of image-list items, kept per list (until the list
// changes or goes), per drawing size (at most twice as many sizes as there
// are monitors, the oldest size going first) and per key, and stretched
// onto the target in one call. The UI thread's alone.
class TdxImageListPaintCache {
 public:
  TdxImageListPaintCache() = delete;

  // On a GDI canvas, and on a GDI+ graphics object (always smooth).
  static void Draw(TCanvas* ACanvas, const TRect& ABounds, TCustomImageList* AImages, int AIndex,
                   TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette,
                   bool ASmoothImage);
  static void Draw(TdxGPCanvas* AGraphic, const TRect& ABounds, TCustomImageList* AImages, int AIndex,
                   TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette);
  // The list's images are forgotten.
  static void InvalidateImageList(TCustomImageList* AImages);
  // AImage becomes the key's glyph or item drawn at ASize.
  static void PrepareImage(TdxGPImage* ATarget, const TSize& ASize, const TdxDrawImageCacheID& ID,
                           IdxColorPalette* AColorPalette);

  // What the cache holds for a list (0 without its helper), and how many
  // images it has prepared since start-up.
  static int CachedImageCount(TCustomImageList* AImages);
  static int PreparedImageCount();
};

// Advances the frames of animated smart images on a library timer.
class TdxImageAnimationController : public TdxSmartImageAnimationController {
  SK_CLASS(TdxImageAnimationController, TdxSmartImageAnimationController)
 public:
  void Destroy() override;
  void StartTimer() override;
  void StopTimer() override;
  bool IsTimerActive() override;

 private:
  void TimerElapsed(TObject* Sender);

  TOwned<TcxTimer> FTimer;
};

// The unit's start-up and shut-down.
void cxGraphicsInitialization();
void cxGraphicsFinalization();
