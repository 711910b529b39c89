// The abstract canvas on a Direct2D device context, its DirectWrite text,
// and the canvas that paints a window through a DXGI swap chain.
//
// Classes in this file:
//   TdxCustomDirect2DCanvas              the canvas on a device context     (dxDirectX_D2D_Canvas.cpp)
//   TdxDirect2DCanvasBasedBrushHandle    a Direct2D brush as a shared handle
//   TdxDirect2DCanvasBasedPenHandle      a brush, a width and a stroke style as a shared handle
//   TdxDirect2DCanvasBasedImage          a Direct2D bitmap
//   TdxDirect2DCanvasBasedPath           a path geometry being built
//   TdxDirect2DCanvasBasedFontHandle     a DirectWrite text format         (dxDirectX_D2D_Canvas_Text.cpp)
//   TdxDirect2DCanvasBasedSharedFonts    the process-wide pool of those
//   TdxDirect2DCanvasBasedTextLayout     one text laid out by DirectWrite
//   IcxControlCanvas, IcxControlDirectCanvas, IcxCanvasBuffer, IdxDirect2DCanvasOwner
//                                        what a control and its window canvas say to each other
//   TdxDirect2DHwndBasedCanvas           the canvas of a window             (dxDirectX_D2D_Canvas_Hwnd.cpp)
//
// Direct2D has no window origin and clips only with axis-aligned layers, so
// the canvas keeps its own clip rectangle, window origin and world
// transform. The clip rectangle is in the canvas's coordinates: the window
// origin applied, the world transform not. Solid brushes and pre-rendered
// native objects are cached per canvas. GDI and GDI+ code draws through the
// device context's GDI interop while it works, else into bitmaps.
// Drawing needs a device context and happens between BeginDraw and EndDraw.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Classes.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Utils.h"
#include "platform/ui/Controls.h"

#include <cstdint>
#include <vector>

class TdxCustomDirect2DCanvas;

// Unit settings, read at each use.
inline bool dxDirect2DAntialiasing = true;
inline D2D1_TEXT_ANTIALIAS_MODE dxDirect2DTextAntialiasMode = D2D1_TEXT_ANTIALIAS_MODE_DEFAULT;
// Present only the painted part of a window (else the whole client area).
inline bool dxDirect2DPartialPresentation = true;
// The swap chain's buffers; the unit's start-up makes it 4 on Windows 8 (6.2).
inline std::uint8_t dxDirect2DSwapChainBufferCount = 2;

// A first-in-first-out cache of Direct2D objects.
template <class TKey, class TValue>
using TdxDirect2DResourceCache = TdxValueCacheManager<TKey, TComPtr<TValue>>;

// ---------------------------------------------------------------------------
// The canvas

class TdxCustomDirect2DCanvas : public TcxCustomCanvas, public IcxCanvasCacheControl {
  SK_CLASS(TdxCustomDirect2DCanvas, TcxCustomCanvas)
 public:
  using inherited::Arc;
  using inherited::CreateBrush;
  using inherited::CreateImage;
  using inherited::CreatePeN;
  using inherited::DrawBitmap;
  using inherited::DrawNativeObject;
  using inherited::Ellipse;
  using inherited::FillRect;
  using inherited::IntersectClipRect;
  using inherited::Line;
  using inherited::Polygon;
  using inherited::Polyline;
  using inherited::Rectangle;
  using inherited::RectVisible;

  void Create() override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  ID2D1DeviceContext* DeviceContext() const { return FDeviceContext.Get(); }
  // Records the context's maximum bitmap size.
  void SetDeviceContext(ID2D1DeviceContext* AValue);
  int MaxBitmapSize() const { return FMaxBitmapSize; }
  const TRect& ClipRect() const { return FClipRect; }
  // Axis-aligned clips pushed since the last save level.
  int ClipRectModificationCount() const { return FClipRectModificationCount; }
  // GDI interop still believed to work.
  bool IsGDICompatible() const { return FIsGDICompatible; }
  bool RecreateContextNeeded() const { return FRecreateContextNeeded; }

  // Every canvas resource released, both caches emptied, the device context dropped.
  virtual void ReleaseDeviceResources();
  // IcxCanvasCacheControl: empties both caches.
  void FlushCache() override;
  int CachedNativeObjectCount() const { return FCacheNativeObjects->Count(); }

  // A paint of the update rectangle U begins: the clip is U, the world
  // transform identity.
  void BeginDraw(const TRect& U);
  // True when the device was lost (RecreateContextNeeded is then set).
  bool EndDraw();

  // Resources
  // Nil for nil; an owned GDI+ brush is freed afterwards.
  TOwned<TcxCanvasBasedBrush> CreateBrush(TdxGPCustomBrush* ABrush, TdxObjectOwnership AOwnership) override;
  // Nil for an empty bitmap.
  TOwned<TcxCanvasBasedImage> CreateImage(TBitmap* ABitmap, TAlphaFormat AAlphaFormat) override;
  TOwned<TcxCanvasBasedImage> CreateImage(TdxCustomFastDIB* ABitmap, TAlphaFormat AAlphaFormat) override;
  TOwned<TcxCanvasBasedPath> CreatePath() override;
  // Nil for nil or an empty pen; an owned GDI+ pen is freed afterwards.
  TOwned<TcxCanvasBasedPen> CreatePeN(TdxGPPen* APen, TdxObjectOwnership AOwnership) override;
  TOwned<TcxCanvasBasedTextLayout> CreateTextLayout() override;

  // Through the GDI interop while it works; else rendered into a bitmap,
  // kept under ACacheKey unless it is larger than the device allows.
  void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                        TcxCanvasNativeDrawExProc AProc) override;
  void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                        TcxCanvasNativeDrawProc AProc) override;

  // Shapes
  void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
           int APenWidth = 1, TPenStyle APenStyle = psSolid) override;
  void DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                  TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, TPenStyle APenStyle = psSolid,
               int APenWidth = 1) override;
  void Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void FillRect(const TRect& R, TdxAlphaColor AColor) override;
  void Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth = 1,
            TPenStyle APenStyle = psSolid) override;
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

  // World transform, states and clipping.
  void ModifyWorldTransform(const XFORM& AForm) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;
  void RestoreState() override;
  void SaveState() override;
  void IntersectClipRect(const TRect& ARect) override;
  // R meets the clip rectangle.
  bool RectVisible(const TRect& R) override;
  void RestoreClipRegion() override;
  void SaveClipRegion() override;

  // Direct2D objects drawn directly.
  void DrawBitmap(ID2D1Bitmap* AHandle, const TRect& ATargetRect, std::uint8_t AAlpha = 255);
  void DrawBitmap(ID2D1Bitmap* AHandle, const TdxRectF& ATargetRect, std::uint8_t AAlpha = 255);
  void DrawBitmap(ID2D1Bitmap* AHandle, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                  std::uint8_t AAlpha = 255);
  // At (X - 0.5, Y - 0.5), the text clipped to the layout's box.
  void DrawTextLayout(IDWriteTextLayout* AHandle, float X, float Y, TdxAlphaColor AColor);
  // Filled with the brush colour, then outlined (each only when visible).
  void Geometry(ID2D1Geometry* AGeometry, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, float APenWidth = 1,
                ID2D1StrokeStyle* AStrokeStyle = nullptr);
  // The brush and pen laid over ATargetRect, or the geometry's bounds.
  void Geometry(ID2D1Geometry* AGeometry, TcxCanvasBasedResourceHandle* ABrush, TcxCanvasBasedResourceHandle* APen,
                const D2D1_RECT_F* ATargetRect = nullptr);
  // The canvas's cached solid brush of the colour.
  ID2D1SolidColorBrush* SolidBrush(TdxAlphaColor AColor);

 protected:
  void DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                      std::uint8_t AAlpha) override;
  void DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect, const TRect& ASourceRect,
                     std::uint8_t AAlpha) override;
  void FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                              Gdiplus::LinearGradientMode AMode) override;
  void FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                         TcxCanvasBasedResourceHandle* APen) override;
  TcxCanvasBasedSharedBrushes* GetSharedBrushes() override { return FSharedBrushes.get(); }
  TcxCanvasBasedSharedFonts* GetSharedFonts() override;
  TcxCanvasBasedSharedImageLists* GetSharedImageLists() override { return FSharedImageLists.get(); }
  TcxCanvasBasedSharedPens* GetSharedPens() override { return FSharedPens.get(); }
  TPoint GetWindowOrg() override { return FStateStack.WindowOrg(); }
  void SetWindowOrgCore(const TPoint& AValue) override;

  // The device context's EndDraw.
  virtual HRESULT DoEndDraw();
  void SetRecreateContextNeeded() { FRecreateContextNeeded = true; }

 private:
  using TNativeObjectCache = TdxDirect2DResourceCache<TcxCanvasBasedResourceCacheKey, ID2D1Bitmap>;
  using TSolidBrushCache = TdxDirect2DResourceCache<TdxAlphaColor, ID2D1SolidColorBrush>;

  void ApplyClipRect();
  void PopClipRects();
  void ApplyTransform();
  // A path geometry of the points, one figure, filled and closed or hollow
  // and open; nil for no points.
  TComPtr<ID2D1PathGeometry> CreatePointsGeometry(const D2D1_POINT_2F* APoints, int ACount, bool AClosed);
  // A path geometry of the figures AFigures adds; nil without a factory.
  TComPtr<ID2D1PathGeometry> CreateGeometry(const std::function<void(ID2D1GeometrySink* ASink)>& AFigures);
  void DrawImageHandle(TcxCanvasBasedImage* AImage, const D2D1_RECT_F& ATargetRect, const D2D1_RECT_F& ASourceRect,
                       std::uint8_t AAlpha);
  // A native object drawn by one of its forms: ADrawOnDC on the GDI interop's
  // device context (device coordinates), or ARender into a bitmap of a part
  // of R (canvas coordinates).
  void DrawNative(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                  const std::function<void(HDC DC)>& ADrawOnDC,
                  const std::function<TComPtr<ID2D1Bitmap>(const TRect& APart)>& ARender);
  bool DrawNativeThroughInterop(const TRect& R, const std::function<void(HDC DC)>& ADrawOnDC);

  TRect FClipRect;
  int FClipRectModificationCount;
  TComPtr<ID2D1DeviceContext> FDeviceContext;
  int FMaxBitmapSize;
  // Window origin and world transform, with their saved levels.
  TcxCanvasStateStack FStateStack;
  std::vector<TRect> FSavedClipRects;
  TOwned<TNativeObjectCache> FCacheNativeObjects;
  TOwned<TSolidBrushCache> FCacheSolidBrushes;
  bool FIsGDICompatible;
  TOwned<TcxCanvasBasedSharedBrushes> FSharedBrushes;
  TOwned<TcxCanvasBasedSharedImageLists> FSharedImageLists;
  TOwned<TcxCanvasBasedSharedPens> FSharedPens;
  bool FRecreateContextNeeded;
};

// ---------------------------------------------------------------------------
// Resources of the canvas

class TdxDirect2DCanvasBasedBrushHandle : public TcxCanvasBasedBrushHandle {
  SK_CLASS(TdxDirect2DCanvasBasedBrushHandle, TcxCanvasBasedBrushHandle)
 public:
  using inherited::Create;
  // Unshared, over a Direct2D brush it owns.
  void Create(TOwned<TdxDirect2DBrush> ABrush);
  // The GDI+ brush of the values, converted for the canvas's device context.
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override { FBrush.reset(); }
  bool IsEmpty() override { return !FBrush || FBrush->IsEmpty(); }

  TdxDirect2DBrush* Brush() const { return FBrush.get(); }

 private:
  TOwned<TdxDirect2DBrush> FBrush;
};

class TdxDirect2DCanvasBasedPenHandle : public TcxCanvasBasedPenHandle {
  SK_CLASS(TdxDirect2DCanvasBasedPenHandle, TcxCanvasBasedPenHandle)
 public:
  using inherited::Create;
  // Unshared: the pen's brush, width and stroke style.
  void Create(TdxCustomDirect2DCanvas* ACanvas, TdxGPPen* APen);
  // Pooled pens: the cached stroke style and the canvas's solid brush.
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;
  // Width not above 0, or nothing to stroke with.
  bool IsEmpty() override;

  // The pen's brush laid over R.
  ID2D1Brush* GetBrush(const D2D1_RECT_F& R);
  ID2D1StrokeStyle* StrokeStyle() const { return FStrokeStyle.Get(); }

 private:
  TdxDirect2DCanvasBasedBrushHandle* FBrushHandle;
  TComPtr<ID2D1Brush> FSolidBrush;
  TComPtr<ID2D1StrokeStyle> FStrokeStyle;
};

class TdxDirect2DCanvasBasedImage : public TcxCanvasBasedImage {
  SK_CLASS(TdxDirect2DCanvasBasedImage, TcxCanvasBasedImage)
 public:
  void Create(TcxCustomCanvas* ACanvas, int AWidth, int AHeight, TComPtr<ID2D1Bitmap> AHandle);
  void Release() override;

  ID2D1Bitmap* Handle() const { return FHandle.Get(); }

 private:
  TComPtr<ID2D1Bitmap> FHandle;
};

// Figures added to a sink until the geometry is asked for. Without a sink
// (the geometry could not be made) every call does nothing.
class TdxDirect2DCanvasBasedPath : public TcxCanvasBasedPath {
  SK_CLASS(TdxDirect2DCanvasBasedPath, TcxCanvasBasedPath)
 public:
  void Create(TcxCustomCanvas* ACanvas);
  void Destroy() override;
  void Release() override;

  // Joined to an open figure by a line to the arc's start.
  void AddArc(const TdxRectF& AEllipse, float AStartAngle, float ASweepAngle) override;
  using inherited::AddPolyline;
  void AddPolyline(const TdxPointF* APoints, int ACount) override;
  void FigureClose() override;
  void FigureStart() override;

  // The finished geometry: an open figure ends open and the sink closes.
  ID2D1PathGeometry1* Handle();

 private:
  void BeginFigureAt(const D2D1_POINT_2F& APoint);
  void EndFigure(D2D1_FIGURE_END AEnd);
  void CloseSink();

  bool FFigureStarted;
  TComPtr<ID2D1PathGeometry1> FHandle;
  TComPtr<ID2D1GeometrySink> FSink;
};

// ---------------------------------------------------------------------------
// Text

class TdxDirect2DCanvasBasedFontHandle : public TcxCanvasBasedFontHandle {
  SK_CLASS(TdxDirect2DCanvasBasedFontHandle, TcxCanvasBasedFontHandle)
 public:
  // The DirectWrite text format: weight 700 or 400, italic or normal, the
  // height in device-independent pixels; nil when it cannot be made.
  void CreateNativeHandle(TcxCustomCanvas* ACanvas) override;
  void FreeNativeHandle() override;

  IDWriteTextFormat* NativeHandle() const { return FNativeHandle.Get(); }
  // The format's ellipsis trimming sign, made on first use.
  IDWriteInlineObject* EndEllipsisSign();

 private:
  TComPtr<IDWriteInlineObject> FEndEllipsisSign;
  TComPtr<IDWriteTextFormat> FNativeHandle;
};

class TdxDirect2DCanvasBasedSharedFonts : public TcxCanvasBasedSharedFonts {
  SK_CLASS(TdxDirect2DCanvasBasedSharedFonts, TcxCanvasBasedSharedFonts)
 public:
  // Made on first use; freed at the unit's shut-down.
  static TdxDirect2DCanvasBasedSharedFonts* Instance();
  static void Finalize();
};

class TdxDirect2DCanvasBasedTextLayout : public TcxCanvasBasedTextLayout {
  SK_CLASS(TdxDirect2DCanvasBasedTextLayout, TcxCanvasBasedTextLayout)
 public:
  void Create(TcxCustomCanvas* ACanvas);
  void Release() override;

  using inherited::SetColor;
  void SetColor(TdxAlphaColor AColor) override { FColor = AColor; }
  // Raises "Resource was created for different Canvas" for a font handle of
  // another back end.
  void SetFontHandle(TcxCanvasBasedFontHandle* AHandle) override;

  TdxCustomDirect2DCanvas* Canvas() const;
  TdxDirect2DCanvasBasedFontHandle* Font() const;
  TdxAlphaColor Color() const { return FColor; }
  // The DirectWrite layout, made when missing.
  IDWriteTextLayout* Handle();

 protected:
  void FlagsChanged() override;
  void FontChanged() override;
  void TextChanged() override;
  void CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) override;
  void DrawCore(const TRect& R) override;

 private:
  float MinWidth();
  // The narrowest width that lays the text out in ARowCount lines (65535
  // when none does).
  float FitToRowCount(int ARowCount);

  TdxAlphaColor FColor;
  TComPtr<IDWriteTextLayout> FHandle;
  bool FHasEndEllipsis;
  float FMinWidth;
};

// ---------------------------------------------------------------------------
// The window canvas

struct IcxControlCanvas : public virtual IInterface {
  static constexpr GUID IID = {0xE40B5E3C, 0xCD3C, 0x4D2C, {0x81, 0xDA, 0x2A, 0x41, 0x80, 0x0C, 0xA1, 0x83}};
  virtual void BeginPaint() = 0;
  virtual void EndPaint() = 0;

 protected:
  ~IcxControlCanvas() = default;
};

struct IcxControlDirectCanvas : public virtual IcxControlCanvas {
  static constexpr GUID IID = {0x0920AC2D, 0x5CED, 0x4DF4, {0xAB, 0xCB, 0x4D, 0x12, 0x24, 0x8A, 0xC6, 0x3D}};
  virtual void CopyBufferToDC(HDC DC) = 0;
  virtual void CopyBufferRectToDC(HDC DC, const TRect& ADestRect, const TRect& ASourceRect) = 0;
  virtual void SetWindowHandle(HWND AHandle) = 0;

 protected:
  ~IcxControlDirectCanvas() = default;
};

struct IcxCanvasBuffer : public virtual IInterface {
  static constexpr GUID IID = {0xC5B683CB, 0xEC4A, 0x41AA, {0xAE, 0x0D, 0xDB, 0xF0, 0xEE, 0x32, 0x0C, 0x9C}};
  virtual void CopyBufferToDC(HDC DC) = 0;
  virtual void InvalidateBuffer() = 0;
  virtual bool IsBufferValid() = 0;

 protected:
  ~IcxCanvasBuffer() = default;
};

// The control that owns a window canvas.
struct IdxDirect2DCanvasOwner : public virtual IInterface {
  static constexpr GUID IID = {0x08D21768, 0xF2CA, 0x4F1B, {0x99, 0xD6, 0xAE, 0x30, 0xA5, 0x92, 0x16, 0xCB}};
  // The device was lost in the paint that just ended: the owner queues the
  // making of a new canvas to the UI thread.
  virtual void RecreateActualCanvasNeeded() = 0;

 protected:
  ~IdxDirect2DCanvasOwner() = default;
};

// Owns a Direct3D 11 device, a swap chain for the window and a copy texture
// through which the presented picture is read back into a GDI device context.
class TdxDirect2DHwndBasedCanvas : public TdxCustomDirect2DCanvas,
                                   public IcxControlDirectCanvas,
                                   public IcxCanvasBuffer {
  SK_CLASS(TdxDirect2DHwndBasedCanvas, TdxCustomDirect2DCanvas)
 public:
  virtual void Create(IdxDirect2DCanvasOwner* AOwner, IDXGIDevice1* ADevice, ID2D1DeviceContext* AContext,
                      ID3D11Device* ADevice3D, ID3D11DeviceContext* ADevice3DContext);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // IcxControlCanvas: the window's paint, drawn into the swap chain's back
  // buffer and presented.
  void BeginPaint() override;
  void EndPaint() override;
  // IcxControlDirectCanvas, IcxCanvasBuffer
  // Nothing while unbound.
  void CopyBufferToDC(HDC DC) override;
  void CopyBufferRectToDC(HDC DC, const TRect& ADestRect, const TRect& ASourceRect) override;
  // A new swap chain for the window (0: none).
  void SetWindowHandle(HWND AHandle) override;
  void InvalidateBuffer() override { FIsBufferValid = false; }
  bool IsBufferValid() override { return FIsBufferValid; }

  // The swap-chain target dropped, then every device resource.
  void ReleaseDeviceResources() override;

  HWND WindowHandle() const { return FWindowHandle; }
  TWinControl* WinControl() const { return FWinControl; }
  const TSize& TextureSize() const { return FTextureSize; }
  const TRect& UpdateRect() const { return FUpdateRect; }
  IDXGIDevice1* Device() const { return FDevice.Get(); }
  ID3D11Device* Device3D() const { return FDevice3D.Get(); }
  ID3D11DeviceContext* Device3DContext() const { return FDevice3DContext.Get(); }
  IDXGISwapChain1* SwapChain() const { return FSwapChain.Get(); }
  ID3D11Texture2D* FrontBufferContent() const { return FFrontBufferContent.Get(); }

 protected:
  bool GetControlRightToLeft() override;
  // The swap chain's Present1.
  virtual HRESULT DoPresent(UINT AFlags);

 private:
  void DropTarget();
  void MakeTarget();
  void ResizeBuffers(const TSize& ASize);
  void Present();

  TComPtr<IDXGIDevice1> FDevice;
  TComPtr<ID3D11Device> FDevice3D;
  TComPtr<ID3D11DeviceContext> FDevice3DContext;
  TComPtr<ID3D11Texture2D> FFrontBufferContent;
  TSize FFrontBufferContentSize;
  TComPtr<IDXGISurface> FFrontBufferSurface;
  bool FIsBufferValid;
  IPtr<IdxDirect2DCanvasOwner> FOwner;
  PAINTSTRUCT FPaintStruct;
  DXGI_PRESENT_PARAMETERS FPresentParameters;
  TComPtr<IDXGISwapChain1> FSwapChain;
  TSize FTextureSize;
  TRect FUpdateRect;
  TWinControl* FWinControl;
  HWND FWindowHandle;
  bool FPainting;
};

// Makes the device chain and a canvas of ACanvasClass (a
// TdxDirect2DHwndBasedCanvas) on it; false, so that the control stays on
// GDI, when Direct2D is unavailable or any step fails.
bool CreateDirect2DHwndCanvas(IdxDirect2DCanvasOwner* AOwner, TOwned<TdxDirect2DHwndBasedCanvas>& ACanvas,
                              TClass ACanvasClass = TdxDirect2DHwndBasedCanvas::ClassInfo());

// The unit's start-up sets the swap chain's buffer count for Windows 8; its
// shut-down frees the shared font pool.
void dxDirectX_D2D_CanvasInitialization();
void dxDirectX_D2D_CanvasFinalization();
