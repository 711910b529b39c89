// Colours, GDI drawing objects, the canvas and the graphic classes.
//
// Classes in this file:
//   TColor                  an RGB value or a system colour ($FF000000 + COLOR_xxx),
//                           with clDefault and clNone as markers; colour names
//   TFontCharset, TFontStyle(s), TFontPitch, TFontQuality, TFontData, DefFontData
//   TPenStyle, TPenMode, TBrushStyle, TFillStyle, TCopyMode, TTextFormat
//   EInvalidGraphic, EInvalidGraphicOperation, EOutOfResources
//   TGraphicsObject         OnChange for the three drawing objects
//   TFont, TPen, TBrush     GDI objects created on first use of Handle
//   TCanvas                 drawing on a device context (selected objects tracked lazily)
//   TCanvasDCScope          a canvas locked and drawing on a borrowed device context for a scope
//   TGraphic                abstract picture: size, drawing, streaming, OnChange
//   TBitmap                 DIB sections (or DDBs) with a canvas and scan lines
//   TIcon                   an icon handle and its .ico data
//   TMetafile, TMetafileCanvas  enhanced metafiles (and WMF files) and recording them
//   TPicture                holds one graphic; the file and clipboard format registry
//
// Conventions: a drawing object's handle is created when first asked for
// and deleted when a property changes; its OnChange runs before the old
// handle is deleted, so a canvas can take it out of its device context
// first. A canvas selects its font, pen and brush only when an operation
// needs them, and restores what the device context held before when the
// handle is detached. Errors of the Windows API are raised where they
// happen; no exception leaves a window procedure (callers catch).
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/Types.h"
#include "platform/ui/GdiScopes.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

class TStream;
class TCanvas;
class TBitmap;
class TGraphic;

// ---------------------------------------------------------------------------
// Colours

// An RGB value ($00BBGGRR), a system colour (high byte $FF, low byte the
// COLOR_xxx index) or one of the markers clNone and clDefault.
enum TColor : std::int32_t {};

constexpr TColor SysColor(int AIndex) {
  return TColor(static_cast<std::int32_t>(0xFF000000u | static_cast<std::uint32_t>(AIndex)));
}
constexpr std::int32_t clSystemColor = static_cast<std::int32_t>(0xFF000000u);

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
constexpr TColor clHotLight = SysColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SysColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SysColor(COLOR_MENUBAR);

constexpr TColor clBlack = TColor(0x000000);
constexpr TColor clMaroon = TColor(0x000080);
constexpr TColor clGreen = TColor(0x008000);
constexpr TColor clOlive = TColor(0x008080);
constexpr TColor clNavy = TColor(0x800000);
constexpr TColor clPurple = TColor(0x800080);
constexpr TColor clTeal = TColor(0x808000);
constexpr TColor clGray = TColor(0x808080);
constexpr TColor clSilver = TColor(0xC0C0C0);
constexpr TColor clRed = TColor(0x0000FF);
constexpr TColor clLime = TColor(0x00FF00);
constexpr TColor clYellow = TColor(0x00FFFF);
constexpr TColor clBlue = TColor(0xFF0000);
constexpr TColor clFuchsia = TColor(0xFF00FF);
constexpr TColor clAqua = TColor(0xFFFF00);
constexpr TColor clLtGray = TColor(0xC0C0C0);
constexpr TColor clDkGray = TColor(0x808080);
constexpr TColor clWhite = TColor(0xFFFFFF);
constexpr TColor clMoneyGreen = TColor(0xC0DCC0);
constexpr TColor clSkyBlue = TColor(0xF0CAA6);
constexpr TColor clCream = TColor(0xF0FBFF);
constexpr TColor clMedGray = TColor(0xA4A0A0);
// "No colour": draw nothing.
constexpr TColor clNone = TColor(0x1FFFFFFF);
// "Whatever the default is": the owner decides.
constexpr TColor clDefault = TColor(0x20000000);

// The RGB value of a colour: system colours through GetSysColor; RGB values,
// clNone and clDefault unchanged.
TColor ColorToRGB(TColor AColor);
inline COLORREF ColorToColorRef(TColor AColor) { return static_cast<COLORREF>(ColorToRGB(AColor)) & 0x00FFFFFF; }
// The name of a colour ("clBtnFace"), else "$" and eight hex digits.
String ColorToString(TColor AColor);
// A colour name, a "$"-prefixed hex number or a decimal number; raises
// EConvertError for anything else.
TColor StringToColor(const String& AText);
bool ColorToIdent(std::int64_t AColor, String& AIdent);
bool IdentToColor(const String& AIdent, std::int64_t& AColor);
// Every colour name with its value, in the platform's order.
struct TColorIdent {
  TColor Value;
  const wchar_t* Name;
};
std::span<const TColorIdent> ColorIdents();

template <>
struct TIntegerIdents<TColor> {
  static constexpr const wchar_t* Name = L"TColor";
  static bool ToIdent(std::int64_t AValue, String& AIdent) { return ColorToIdent(AValue, AIdent); }
  static bool FromIdent(const String& AIdent, std::int64_t& AValue) { return IdentToColor(AIdent, AValue); }
};

// ---------------------------------------------------------------------------
// Font description

enum TFontCharset : std::uint8_t {};
bool CharsetToIdent(std::int64_t ACharset, String& AIdent);
bool IdentToCharset(const String& AIdent, std::int64_t& ACharset);

template <>
struct TIntegerIdents<TFontCharset> {
  static constexpr const wchar_t* Name = L"TFontCharset";
  static bool ToIdent(std::int64_t AValue, String& AIdent) { return CharsetToIdent(AValue, AIdent); }
  static bool FromIdent(const String& AIdent, std::int64_t& AValue) { return IdentToCharset(AIdent, AValue); }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
template <>
struct TEnumInfo<TFontStyle> {
  static constexpr const wchar_t* Name = L"TFontStyle";
  static constexpr const wchar_t* Names[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
  static constexpr TFontStyle Last = fsStrikeOut;
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };
template <>
struct TEnumInfo<TFontPitch> {
  static constexpr const wchar_t* Name = L"TFontPitch";
  static constexpr const wchar_t* Names[] = {L"fpDefault", L"fpVariable", L"fpFixed"};
  static constexpr TFontPitch Last = fpFixed;
};

enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
template <>
struct TEnumInfo<TFontQuality> {
  static constexpr const wchar_t* Name = L"TFontQuality";
  static constexpr const wchar_t* Names[] = {L"fqDefault",       L"fqDraft",       L"fqProof",
                                             L"fqNonAntialiased", L"fqAntialiased", L"fqClearType",
                                             L"fqClearTypeNatural"};
  static constexpr TFontQuality Last = fqClearTypeNatural;
};

// Everything a font handle is made from.
struct TFontData {
  int Height = 0;
  int Orientation = 0;
  TFontPitch Pitch = fpDefault;
  TFontStyles Style;
  TFontCharset Charset = TFontCharset(DEFAULT_CHARSET);
  String Name;
  TFontQuality Quality = fqDefault;
  friend bool operator==(const TFontData&, const TFontData&) = default;
};

// The data a new TFont starts from (one place for the default font).
TFontData& DefFontData();
// The screen's logical pixels per inch (vertical), read once.
int ScreenLogPixels();

// ---------------------------------------------------------------------------
// Pen, brush, fill and copy modes

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
template <>
struct TEnumInfo<TPenStyle> {
  static constexpr const wchar_t* Name = L"TPenStyle";
  static constexpr const wchar_t* Names[] = {L"psSolid",       L"psDash",        L"psDot",
                                             L"psDashDot",     L"psDashDotDot",  L"psClear",
                                             L"psInsideFrame", L"psUserStyle",   L"psAlternate"};
  static constexpr TPenStyle Last = psAlternate;
};

enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
template <>
struct TEnumInfo<TPenMode> {
  static constexpr const wchar_t* Name = L"TPenMode";
  static constexpr const wchar_t* Names[] = {L"pmBlack",       L"pmWhite",      L"pmNop",        L"pmNot",
                                             L"pmCopy",        L"pmNotCopy",    L"pmMergePenNot", L"pmMaskPenNot",
                                             L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge",      L"pmNotMerge",
                                             L"pmMask",        L"pmNotMask",    L"pmXor",        L"pmNotXor"};
  static constexpr TPenMode Last = pmNotXor;
};
// The raster operation (R2_xxx) of a pen mode, and the mode of an operation
// (pmCopy when none matches).
int PenModeToROP2(TPenMode AMode);
TPenMode ROP2ToPenMode(int ARop2);

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
template <>
struct TEnumInfo<TBrushStyle> {
  static constexpr const wchar_t* Name = L"TBrushStyle";
  static constexpr const wchar_t* Names[] = {L"bsSolid",     L"bsClear",     L"bsHorizontal", L"bsVertical",
                                             L"bsFDiagonal", L"bsBDiagonal", L"bsCross",      L"bsDiagCross"};
  static constexpr TBrushStyle Last = bsDiagCross;
};

enum TFillStyle { fsSurface, fsBorder };

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Text layout for TCanvas::TextRect (each maps to one DT_xxx flag).
enum TTextFormats {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
  tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
  tfPrefixOnly, tfTabStop, tfWordEllipsis, tfComposited
};
using TTextFormat = TSet<TTextFormats>;
UINT TextFormatToDrawTextFlags(const TTextFormat& AFormat);

// ---------------------------------------------------------------------------
// Errors

class EInvalidGraphic : public Exception { public: using Exception::Exception; };
class EInvalidGraphicOperation : public Exception { public: using Exception::Exception; };
class EOutOfResources : public Exception { public: using Exception::Exception; };
// Raises EOutOfResources naming the failed Windows function and the system's
// error text.
[[noreturn]] void RaiseGraphicsApiError(const wchar_t* AFunction);

// ---------------------------------------------------------------------------
// Drawing objects

class TGraphicsObject : public TPersistent {
  SK_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

  // Whether a GDI handle exists now (none is created by asking).
  virtual bool HandleAllocated() const { return false; }

 protected:
  virtual void Changed();
  // Changed for a change that voids the handle: OnChange runs while AOld is
  // still valid, then AOld is deleted (also when a listener raises). Null
  // deletes nothing.
  void ChangedReleasing(HGDIOBJ AOld);

 private:
  TNotifyEvent FOnChange;
};

class TFont : public TGraphicsObject {
  SK_CLASS(TFont, TGraphicsObject)
 public:
  static void Publish(TPublisher<TFont>& P);

  void Create();
  void Destroy() override;
  // From a TFont: the font data and colour; a different PixelsPerInch keeps
  // the point size.
  void Assign(TPersistent* ASource) override;

  // The font handle, created on first use; owned by the font.
  HFONT Handle();
  // Takes over AValue (the font deletes it later) and reads its data.
  void SetHandle(HFONT AValue);
  bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

  const String& Name() const { return FData.Name; }
  void SetName(const String& AValue);
  int Height() const { return FData.Height; }
  void SetHeight(int AValue);
  // Points: -Height * 72 / PixelsPerInch, rounded.
  int Size() const;
  void SetSize(int AValue);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int AValue);
  TFontStyles Style() const { return FData.Style; }
  void SetStyle(TFontStyles AValue);
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  TFontCharset Charset() const { return FData.Charset; }
  void SetCharset(TFontCharset AValue);
  TFontPitch Pitch() const { return FData.Pitch; }
  void SetPitch(TFontPitch AValue);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return FData.Orientation; }
  void SetOrientation(int AValue);
  TFontQuality Quality() const { return FData.Quality; }
  void SetQuality(TFontQuality AValue);
  const TFontData& Data() const { return FData; }
  void SetData(const TFontData& AValue);
  // The LOGFONTW the handle is (or would be) made from.
  LOGFONTW LogFont() const;

 protected:
  void Changed() override;

 private:
  TFontData FData;
  TColor FColor;
  int FPixelsPerInch;
  TOwnedFont FHandle;
};

class TPen : public TGraphicsObject {
  SK_CLASS(TPen, TGraphicsObject)
 public:
  static void Publish(TPublisher<TPen>& P);

  void Create();
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  HPEN Handle();
  // Takes over AValue and reads colour, width and style from it.
  void SetHandle(HPEN AValue);
  bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  int Width() const { return FWidth; }
  void SetWidth(int AValue);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle AValue);
  // Not part of the handle: the canvas applies it as its ROP2.
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode AValue);

 protected:
  void Changed() override;

 private:
  TColor FColor;
  int FWidth;
  TPenStyle FStyle;
  TPenMode FMode;
  TOwnedPen FHandle;
};

class TBrush : public TGraphicsObject {
  SK_CLASS(TBrush, TGraphicsObject)
 public:
  static void Publish(TPublisher<TBrush>& P);

  void Create();
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  HBRUSH Handle();
  // Takes over AValue and reads colour and style from it.
  void SetHandle(HBRUSH AValue);
  bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

  // Setting a colour on a clear brush makes it solid.
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle AValue);
  // A pattern brush made from this bitmap (not owned; the caller keeps it
  // alive while the brush uses it). Null returns to Style.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* AValue);

 protected:
  void Changed() override;

 private:
  TColor FColor;
  TBrushStyle FStyle;
  TBitmap* FBitmap;
  TOwnedBrush FHandle;
};

// ---------------------------------------------------------------------------
// Canvas

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TCanvas : public TPersistent {
  SK_CLASS(TCanvas, TPersistent)
 public:
  void Create();
  void Destroy() override;

  // The device context with the canvas's font, pen and brush selected;
  // asking creates it (CreateHandle) and raises EInvalidOperation when the
  // canvas has none to draw on.
  HDC Handle();
  // Attaches a device context the canvas does not own (0 detaches; the
  // context gets back the objects it held).
  void SetHandle(HDC AValue);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // The device context as it is, nothing selected into it (0 when none):
  // for callers that save and restore the context's own state.
  HDC CurrentHandle() const { return FHandle; }
  const TCanvasState& State() const { return FState; }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* AValue) { FFont->Assign(AValue); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* AValue) { FPen->Assign(AValue); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* AValue) { FBrush->Assign(AValue); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode AValue) { FCopyMode = AValue; }
  // ETO_xxx options of TextOut and TextRect.
  int TextFlags() const { return FTextFlags; }
  void SetTextFlags(int AValue) { FTextFlags = AValue; }
  TPoint PenPos();
  void SetPenPos(const TPoint& AValue) { MoveTo(AValue.X, AValue.Y); }
  TCanvasOrientation CanvasOrientation();
  // The clipping box in logical coordinates.
  TRect ClipRect();
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor AValue);

  // Locking for drawing from other threads.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  // Takes the drawing objects out of the device context; they are selected
  // again when next needed.
  void Refresh();

  // Lines and shapes (the pen draws, the brush fills).
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void RoundRect(const TRect& R, int CX, int CY) { RoundRect(R.Left, R.Top, R.Right, R.Bottom, CX, CY); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(std::span<const TPoint> APoints);
  void Polyline(std::span<const TPoint> APoints);
  void PolyBezier(std::span<const TPoint> APoints);
  // Fills with the brush, no outline.
  void FillRect(const TRect& R);
  // A one-pixel frame in the brush.
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  void FloodFill(int X, int Y, TColor AColor, TFillStyle AFillStyle);

  // Text in the font; the background follows the brush (none when clear).
  void TextOut(int X, int Y, const String& AText);
  // Clipped to R, starting at (X, Y).
  void TextRect(const TRect& R, int X, int Y, const String& AText);
  // Laid out in R by AFormat; tfCalcRect only measures into R, and
  // tfModifyString writes the shortened text back.
  void TextRect(TRect& R, String& AText, const TTextFormat& AFormat);
  TSize TextExtent(const String& AText);
  int TextWidth(const String& AText) { return TextExtent(AText).cx; }
  int TextHeight(const String& AText) { return TextExtent(AText).cy; }

  // Graphics and blocks of pixels.
  void Draw(int X, int Y, TGraphic* AGraphic);
  void StretchDraw(const TRect& R, TGraphic* AGraphic);
  // A block of ASource's pixels into R, stretched, with CopyMode.
  void CopyRect(const TRect& ADest, TCanvas* ASource, const TRect& ASourceRect);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  TNotifyEvent OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent AValue) { FOnChanging = AValue; }

 protected:
  // Gives the canvas a device context when one is needed; the base has none.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Makes the listed parts valid (handle, then font, pen, brush selected).
  void RequiredState(const TCanvasState& AState);

 private:
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  void DeselectHandles();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC FHandle;
  TCanvasState FState;
  TOwned<TFont> FFont;
  TOwned<TPen> FPen;
  TOwned<TBrush> FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode;
  int FTextFlags;
  // What the device context held before this canvas selected its own.
  HGDIOBJ FOldFont;
  HGDIOBJ FOldPen;
  HGDIOBJ FOldBrush;
  std::recursive_mutex FLock;
  int FLockCount;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
};

// A canvas drawing on a device context it does not own (a paint DC, an owner
// draw item's DC) for a scope: locked and attached at the start; detached,
// which gives the context back the objects it held, and unlocked at the end.
class [[nodiscard]] TCanvasDCScope {
 public:
  TCanvasDCScope(TCanvas* ACanvas, HDC ADC) : FCanvas(ACanvas) {
    FCanvas->Lock();
    FCanvas->SetHandle(ADC);
  }
  ~TCanvasDCScope() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  TCanvasDCScope(const TCanvasDCScope&) = delete;
  TCanvasDCScope& operator=(const TCanvasDCScope&) = delete;

 private:
  TCanvas* FCanvas;
};

// ---------------------------------------------------------------------------
// Graphics

class TGraphic : public TInterfacedPersistent {
  SK_CLASS(TGraphic, TInterfacedPersistent)
 public:
  struct TMeta : TInterfacedPersistent::TMeta {
    // Whether the bytes at the stream's position look like this class's
    // format; the position is left unchanged.
    virtual bool CanLoadFromStream(TStream* AStream) const;
  };

  // Virtual so that a graphic can be made from its class reference.
  virtual void Create() {}

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int AValue) = 0;
  virtual int Height() const = 0;
  virtual void SetHeight(int AValue) = 0;
  virtual void SetSize(int AWidth, int AHeight);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool AValue);
  // Set by every change.
  bool Modified() const { return FModified; }
  void SetModified(bool AValue);
  // Same class and the same saved bytes.
  virtual bool Equals(TGraphic* AGraphic);

  // The graphic's file format, from or to the stream's position.
  virtual void LoadFromStream(TStream* AStream) = 0;
  virtual void SaveToStream(TStream* AStream) = 0;
  void LoadFromFile(const String& AFileName);
  virtual void SaveToFile(const String& AFileName);

  // Clipboard data: the format, a global memory or GDI handle and a
  // palette. The base supports no format (EInvalidGraphic).
  virtual void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette);
  virtual void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

  // Sets Modified and fires OnChange.
  virtual void Changed(TObject* Sender);

 protected:
  friend class TCanvas;
  friend class TPicture;
  virtual void Draw(TCanvas* ACanvas, const TRect& ARect) = 0;
  // Form data: the binary property "Data", written unless the graphic is
  // empty, holding what WriteData writes.
  void DefineProperties(TFiler* AFiler) override;
  virtual void ReadData(TStream* AStream) { LoadFromStream(AStream); }
  virtual void WriteData(TStream* AStream) { SaveToStream(AStream); }

 private:
  bool FTransparent;
  bool FModified;
  TNotifyEvent FOnChange;
};

using TGraphicClass = TClass;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
template <>
struct TEnumInfo<TPixelFormat> {
  static constexpr const wchar_t* Name = L"TPixelFormat";
  static constexpr const wchar_t* Names[] = {L"pfDevice", L"pf1bit",  L"pf4bit",  L"pf8bit",  L"pf15bit",
                                             L"pf16bit",  L"pf24bit", L"pf32bit", L"pfCustom"};
  static constexpr TPixelFormat Last = pfCustom;
};
enum TBitmapHandleType { bmDIB, bmDDB };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum TTransparentMode { tmAuto, tmFixed };
template <>
struct TEnumInfo<TTransparentMode> {
  static constexpr const wchar_t* Name = L"TTransparentMode";
  static constexpr const wchar_t* Names[] = {L"tmAuto", L"tmFixed"};
  static constexpr TTransparentMode Last = tmFixed;
};
// Bits per pixel of a pixel format (pfDevice and pfCustom: 0).
int PixelFormatBits(TPixelFormat AFormat);

class TBitmap : public TGraphic {
  SK_CLASS(TBitmap, TGraphic)
 public:
  struct TMeta : TGraphic::TMeta {
    bool CanLoadFromStream(TStream* AStream) const override;
  };
  void Create() override;
  void Destroy() override;
  // From a TBitmap: a copy of its pixels and settings; null empties.
  void Assign(TPersistent* ASource) override;

  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int Width() const override { return FWidth; }
  void SetWidth(int AValue) override { SetSize(AValue, FHeight); }
  int Height() const override { return FHeight; }
  void SetHeight(int AValue) override { SetSize(FWidth, AValue); }
  // Keeps the pixels that still fit (top-left); new pixels are zero.
  void SetSize(int AWidth, int AHeight) override;

  // A DIB section by default; pfDevice (a DDB) when the handle type is bmDDB.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat AValue);
  TBitmapHandleType HandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType AValue);
  bool Monochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool AValue);
  // How Draw treats the fourth byte of pf32bit pixels: afDefined blends
  // straight alpha, afPremultiplied blends premultiplied pixels.
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat AValue);
  // The colour Draw leaves out when Transparent: the fixed one, or with
  // tmAuto the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor AValue);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode AValue);

  // The canvas drawing into this bitmap (a memory device context).
  TCanvas* Canvas();
  // Row ARow (0 is the top) of a DIB, Width pixels of PixelFormat's size.
  // Writing through it needs no canvas; call Changed afterwards to notify.
  void* ScanLine(int ARow);
  // Bytes per row of the DIB (rows are DWORD-aligned).
  int ScanLineStride() const { return FStride; }

  // The bitmap handle (0 while empty); owned by the bitmap.
  HBITMAP Handle();
  // Takes over AValue: size and format are read from it.
  void SetHandle(HBITMAP AValue);
  bool HandleAllocated() const { return static_cast<bool>(FHandle); }
  // Hands the handle to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  // Frees the canvas's device context (kept pixels).
  virtual void Dormant();
  // Frees the handle and pixels; the bitmap becomes empty.
  void FreeImage();

  // BMP files. Loading reads the file's own size (the rest of the stream
  // when the header does not tell); an empty bitmap saves as nothing.
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;
  void LoadFromBmpData(std::span<const std::uint8_t> AData);
  std::vector<std::uint8_t> SaveToBmpData();
  // CF_BITMAP (a copy of the handle) and CF_DIB (a packed DIB).
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  // Gives CF_BITMAP: a new handle that the receiver owns.
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;
  // A bitmap resource (RT_BITMAP) of a module.
  void LoadFromResourceName(HINSTANCE AInstance, const String& AName);
  void LoadFromResourceID(HINSTANCE AInstance, int AResID);

 protected:
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;
  // A 32-bit byte count, then the BMP file.
  void ReadData(TStream* AStream) override;
  void WriteData(TStream* AStream) override;

 private:
  friend class TBitmapCanvas;
  struct TImage;
  void NewImage(int AWidth, int AHeight, TPixelFormat AFormat, TBitmapHandleType AType, bool ACopyPixels);
  void FreeContext();
  void LoadPackedDib(std::span<const std::uint8_t> ADib, std::size_t APixelOffset);
  void CanvasChanging(TObject* Sender);
  void CanvasChanged(TObject* Sender);

  TOwnedBitmap FHandle;
  void* FBits;  // DIB pixels; null for a DDB
  int FStride;
  bool FTopDown;  // rows run top-down (an adopted top-down DIB section)
  int FWidth;
  int FHeight;
  TPixelFormat FPixelFormat;
  TBitmapHandleType FHandleType;
  TAlphaFormat FAlphaFormat;
  TColor FTransparentColor;
  TTransparentMode FTransparentMode;
  TOwned<TCanvas> FCanvas;
};

class TIcon : public TGraphic {
  SK_CLASS(TIcon, TGraphic)
 public:
  struct TMeta : TGraphic::TMeta {
    bool CanLoadFromStream(TStream* AStream) const override;
  };
  void Create() override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  bool Empty() const override { return !FHandle; }
  int Width() const override { return FWidth; }
  void SetWidth(int AValue) override;
  int Height() const override { return FHeight; }
  void SetHeight(int AValue) override;
  bool Transparent() const override { return true; }

  // The icon handle (owned).
  HICON Handle() const { return FHandle.Get(); }
  // Takes over AValue.
  void SetHandle(HICON AValue);
  HICON ReleaseHandle();

  // .ico files: the image closest to the requested size (Width and Height
  // when set, else the system icon size) becomes the handle; the file is
  // kept and saved back unchanged.
  void LoadFromIcoData(std::span<const std::uint8_t> AData);
  std::vector<std::uint8_t> SaveToIcoData();
  // Reads as far as the last image of the file reaches.
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;
  void AssignTo(TPersistent* ADest) override;

 private:
  TOwnedIcon FHandle;
  int FWidth;
  int FHeight;
  int FRequestedWidth;
  int FRequestedHeight;
  std::vector<std::uint8_t> FData;
};

class TMetafile : public TGraphic {
  SK_CLASS(TMetafile, TGraphic)
 public:
  struct TMeta : TGraphic::TMeta {
    // An enhanced metafile or a placeable WMF file.
    bool CanLoadFromStream(TStream* AStream) const override;
  };
  void Create() override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  bool Empty() const override { return !FHandle; }
  // Pixels at the screen's resolution, from the size in 0.01 mm.
  int Width() const override;
  void SetWidth(int AValue) override;
  int Height() const override;
  void SetHeight(int AValue) override;
  int MMWidth() const { return FMMWidth; }
  void SetMMWidth(int AValue);
  int MMHeight() const { return FMMHeight; }
  void SetMMHeight(int AValue);
  // Saved as an enhanced metafile (EMF), else as a placeable WMF file.
  bool Enhanced() const { return FEnhanced; }
  void SetEnhanced(bool AValue);
  // Units per inch of a WMF file's bounds.
  int Inch() const { return FInch; }
  void SetInch(int AValue) { FInch = AValue; }
  String Description();
  String CreatedBy();

  // The metafile handle (owned).
  HENHMETAFILE Handle() const { return FHandle.Get(); }
  // Takes over AValue; its size comes from its header.
  void SetHandle(HENHMETAFILE AValue);
  HENHMETAFILE ReleaseHandle();
  void Clear();

  // EMF files, and WMF files with the placeable header (or without).
  void LoadFromStream(TStream* AStream) override;
  // The extension decides: ".wmf" writes a WMF file, anything else EMF.
  void SaveToFile(const String& AFileName) override;
  void SaveToStream(TStream* AStream) override;
  // CF_ENHMETAFILE; the clipboard's handle is copied.
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;

 private:
  friend class TMetafileCanvas;
  // Owns AHandle from the start, so a change event that raises leaves no
  // handle without an owner.
  void TakeHandle(TOwnedEnhMetaFile AHandle);
  void LoadEnhanced(std::span<const std::uint8_t> AData);
  void LoadWindows(std::span<const std::uint8_t> AData, int AInch, int AWidth, int AHeight);
  TOwnedEnhMetaFile FHandle;
  int FMMWidth;
  int FMMHeight;
  int FInch;
  bool FEnhanced;
};

// Records drawing into a metafile; the metafile receives the recording
// when the canvas is freed.
class TMetafileCanvas : public TCanvas {
  SK_CLASS(TMetafileCanvas, TCanvas)
 public:
  // AReferenceDevice: the device whose resolution the recording assumes
  // (the screen when null).
  void Create(TMetafile* AMetafile, HDC AReferenceDevice);
  void CreateWithComment(TMetafile* AMetafile, HDC AReferenceDevice, const String& ACreatedBy,
                         const String& ADescription);
  void Destroy() override;

 private:
  TMetafile* FMetafile;
  HDC FDC;
};

// ---------------------------------------------------------------------------
// Picture and format registry

// The run-time's word for "all" in the file-type lists of open and save dialogs.
extern const wchar_t* const SAllFilter;

class TPicture : public TInterfacedPersistent {
  SK_CLASS(TPicture, TInterfacedPersistent)
 public:
  void Create();
  void Destroy() override;
  // From a TPicture or a TGraphic: a copy of its graphic; null clears.
  void Assign(TPersistent* ASource) override;

  // The graphic held (owned), or null.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Keeps a copy of AValue (of the same class); null clears.
  void SetGraphic(TGraphic* AValue);
  // The graphic as a bitmap: an empty TBitmap replaces any other graphic.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* AValue) { SetGraphic(AValue); }
  TIcon* Icon();
  void SetIcon(TIcon* AValue) { SetGraphic(AValue); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // By the file's extension (EInvalidGraphic for an unknown one).
  void LoadFromFile(const String& AFileName);
  void SaveToFile(const String& AFileName);
  // By the first registered class that recognises the bytes.
  void LoadFromStream(TStream* AStream);
  void SaveToStream(TStream* AStream);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

  // The registry of graphic classes by file extension (without the dot,
  // not case-sensitive) and by clipboard format.
  static void RegisterFileFormat(const String& AExtension, const String& ADescription, TGraphicClass AClass);
  static void RegisterClipboardFormat(UINT AFormat, TGraphicClass AClass);
  // Removes every file and clipboard registration of AClass.
  static void UnregisterGraphicClass(TGraphicClass AClass);
  static bool SupportsClipboardFormat(UINT AFormat);
  // The class registered for an extension or clipboard format, or null.
  static TGraphicClass FindFileFormat(const String& AExtension);
  static TGraphicClass FindClipboardFormat(UINT AFormat);
  // "Description (*.ext)|*.ext|..." of the classes derived from AClass
  // (all when null), led by an "all" entry when there are several.
  static String GraphicFilter(TGraphicClass AClass);
  static String GraphicExtension(TGraphicClass AClass);
  // Every registered class once, the latest registration first.
  static std::vector<TGraphicClass> GraphicClasses();

 protected:
  void AssignTo(TPersistent* ADest) override;
  virtual void Changed(TObject* Sender);
  // Form data "Data": the graphic's class name (a length byte and the
  // characters), then the graphic's own data.
  void DefineProperties(TFiler* AFiler) override;

 private:
  void ForceType(TGraphicClass AClass);
  void TakeGraphic(TOwned<TGraphic> AGraphic);
  TOwned<TGraphic> FGraphic;
  TNotifyEvent FOnChange;
};

// Creates a graphic of a registered class by class reference.
TGraphic* NewGraphic(TGraphicClass AClass);

// Unit start-up and shut-down (see UiUnits.cpp).
void GraphicsInitialization();
void GraphicsFinalization();
