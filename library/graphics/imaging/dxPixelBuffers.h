// Pixel buffers: 32-bit pixels moved between arrays (TRGBColors) and
// bitmaps, their alpha channel classified, compared and recoloured; the
// premultiplication tables and the grey scale; the resampling filters and
// the two-pass smooth resize; and the fast pixel buffers over a GDI DIB
// section or a GDI+ bitmap.
//
// Classes in this file:
//   TdxAlphaState       how an array of pixels uses its alpha bytes
//   TdxColors           the premultiply and unpremultiply tables, grey scale,
//                       the resampling filters and SmoothResize
//                       (filters and resampling: dxPixelBuffers_Resize.cpp)
//   TdxResizeFilter     the contributors of one resampling pass
//   TdxCustomFastDIB    a top-down buffer of Width x Height pixels without
//                       row padding                  (dxPixelBuffers_FastDIB.cpp)
//   TdxFastDIB          ... a DIB section selected into a memory DC
//   TdxGpFastDIB        ... wrapped in a premultiplied GDI+ bitmap
//
// Pixels are RGBQUADs (blue, green, red, alpha), the layout of a
// TdxAlphaColor, so a pixel and a colour convert with std::bit_cast. The
// array routines treat the four channels alike: whether the colours are
// premultiplied is the caller's knowledge.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class TdxGPCanvas;

// ---------------------------------------------------------------------------
// Pixel access and tests

// asNoAlpha: every alpha byte is 0 (also for no pixels); asOpaque: every one
// is 255; asSemitransparent: any other mix.
enum TdxAlphaState { asNoAlpha, asSemitransparent, asOpaque };

// The pixels of a bitmap graphic as 32-bit BI_RGB rows, top-down or
// bottom-up; AColors is sized to Width x Height first. False for an empty
// graphic, a graphic that is no bitmap, or a failed read.
bool GetGraphicPixels(TGraphic* AGraphic, TRGBColors& AColors, bool ATopDown);
// Writes Width x Height pixels back into the graphic's bitmap. False for an
// empty graphic, a graphic that is no bitmap, too few pixels or a failed write.
bool SetGraphicPixels(TGraphic* AGraphic, const TRGBColors& AColors, bool ATopDown);
// 1, 4, 8, 16, 16, 24 or 32 by pixel format (pf15bit counts 16); for
// pfDevice and pfCustom the BITSPIXEL of the bitmap canvas's DC.
int GetBitmapBitsPerPixel(TBitmap* ABitmap);
TdxAlphaState GetPixelsAlphaState(std::span<const RGBQUAD> AColors);
// asNoAlpha for anything but a bitmap of 32 bits per pixel.
TdxAlphaState GetGraphicAlphaState(TGraphic* AGraphic);
// True also for a fully opaque 32-bit bitmap.
bool HasGraphicAlphaChannel(TGraphic* AGraphic);
// Every pixel takes the colour's RGB scaled by its own alpha (the result is
// premultiplied); alpha stays.
void ColorizePixels(std::span<RGBQUAD> AColors, TColor AColor);
// Tolerance 0: the same 32-bit value; otherwise no channel (alpha included)
// differs by more than the tolerance.
bool IsSameColorWithTolerance(TdxAlphaColor AColor1, TdxAlphaColor AColor2, int ATolerance);
// GetObjectW with the record's size; false when the handle is no bitmap.
bool GetBitmapObject(HBITMAP ABitmap, BITMAP& AInfo);
// False also for a bitmap that is no DIB section (GetObjectW fills only its
// BITMAP part then).
bool GetDIBSectionObject(HBITMAP ABitmap, DIBSECTION& AInfo);

// ---------------------------------------------------------------------------
// TdxColors

// Class-level only. The tables are filled once at unit start-up and indexed
// [channel][alpha] (both are symmetric): P[c][a] = MulDiv(c, a, 255), and
// U[c][a] = MulDiv(c, 255, a) for c <= a, MulDiv(a, 255, c) above it (not
// valid premultiplied data). U[0][0] is 255, MulDiv's -1 for a zero divisor
// kept as a byte, so transparent black unpremultiplies to transparent white.
class TdxColors {
 public:
  using TFilterFunc = float (*)(float AValue);
  using TTable = std::uint8_t[256][256];

  TdxColors() = delete;

  static void Initialize();
  static const TTable& PremultiplyTable() { return FPremultiplyTable; }
  static const TTable& UnpremultiplyTable() { return FUnpremultiplyTable; }

  // Red, green and blue through P or U with the pixel's alpha; alpha stays.
  static void Premultiply(std::span<RGBQUAD> AColors);
  static void UnPremultiply(std::span<RGBQUAD> AColors);
  // Whether no channel exceeds its pixel's alpha. No pixels: true here,
  // false for the array form.
  static bool ArePremultiplied(std::span<const RGBQUAD> AColors);
  static bool ArePremultiplied(const TRGBColors& AColors);
  // grey = P[blue][77] + P[green][150] + P[red][28] into all three channels.
  // Note: blue weighs 77 and red 28, the reverse of the usual luma weights.
  static void GrayScale(std::span<RGBQUAD> AColors);

  // Resamples the source to the target's size (both read bottom-up); nothing
  // when either bitmap is empty.
  static void SmoothResize(TBitmap* ASource, TBitmap* ATarget, TFilterFunc AFilterFunc);
  // A horizontal pass into a temporary array, then a vertical pass into the
  // target, which is sized to ATargetWidth x ATargetHeight. A size of 0 or
  // below leaves the target empty; a source array smaller than its size or
  // no filter raises EArgumentException.
  static void SmoothResize(const TRGBColors& ASourceColors, int ASourceWidth, int ASourceHeight,
                           TRGBColors& ATargetColors, int ATargetWidth, int ATargetHeight, TFilterFunc AFilterFunc);

  // The kernels (x is the distance from the target pixel's centre in
  // source pixels of the filter's scale).
  static float FilterBell(float AValue);
  static float FilterHermite(float AValue);
  static float FilterLanczos2(float AValue);
  static float FilterLanczos3(float AValue);
  static float FilterLanczosN(int N, float AValue);
  static float FilterLinear(float AValue);
  static float FilterNearestNeighbour(float AValue);
  static float FilterSpline(float AValue);

 private:
  static inline TTable FPremultiplyTable{};
  static inline TTable FUnpremultiplyTable{};
};

// The contributors of one resampling pass: for each target pixel the source
// pixels (always inside the source) and their weights, scaled by 256.
class TdxResizeFilter {
 public:
  struct TContributor {
    int Pixel;
    int Weight;
  };
  using TContributors = std::vector<TContributor>;
  using TContributorList = std::vector<TContributors>;

  TdxResizeFilter() = delete;

  // The scale is (t - 1) / (s - 1), or t / s when either size is 1; the
  // filter is widened by 1 / scale when shrinking; every filter is given a
  // support of three times its width; the weights of a target pixel add up
  // to 256 (a kernel whose samples add up to nothing keeps its own); zero
  // weights are left out; indices beyond an edge are mirrored back into the
  // source.
  static TContributorList Contributors(int ASourceSize, int ATargetSize, TdxColors::TFilterFunc AFilterFunc);
};

// ---------------------------------------------------------------------------
// Fast pixel buffers

class TdxCustomFastDIB : public TObject {
  SK_CLASS(TdxCustomFastDIB, TObject)
 public:
  // A size of 0 or below in either direction makes an empty buffer, which
  // holds no pixel memory.
  void Create(int AWidth, int AHeight, bool AClear);
  void Create(const TRect& R, bool AClear);
  void Create(const TSize& S, bool AClear);
  void Destroy() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The first pixel of the top row; rows follow without padding. Nil while empty.
  RGBQUAD* Bits() const { return FBits; }
  TRect ClientRect() const { return TRect(0, 0, FWidth, FHeight); }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  // New pixel memory when the size changes; the old pixels are not kept.
  void Resize(int AWidth, int AHeight);
  void Resize(const TRect& R);

  // Same size and every pixel pair within the tolerance.
  bool Equals(const TdxCustomFastDIB* ASource, int ACompareTolerance) const;
  // The pixel at column X of row Y (row 0 at the top); outside the buffer
  // raises EInvalidArgument.
  RGBQUAD* GetPixel(int X, int Y) const;
  // Flood fill from (X, Y): every pixel 4-connected to it through pixels
  // within the tolerance of its colour takes AColor.
  void Fill(int X, int Y, TdxAlphaColor AColor, int ACompareTolerance);
  void MakeOpaque();
  // Pixels of exactly that 32-bit value become 0.
  void MakeTransparent(TdxAlphaColor ATransparentColor);
  // Tolerance below 0: nothing; otherwise pixels within it become 0.
  void MakeTransparent(TdxAlphaColor ATransparentColor, int ACompareTolerance);
  // ColorizePixels over every pixel; nothing for clNone and clDefault.
  void ChangeColor(TColor AColor);
  void GrayScale() { TdxColors::GrayScale(Pixels()); }
  void Premultiply() { TdxColors::Premultiply(Pixels()); }
  void UnPremultiply() { TdxColors::UnPremultiply(Pixels()); }

  virtual void Clear() = 0;

 protected:
  // Allocate pixel memory for the current (not empty) size and set FBits.
  virtual void CreateHandle() {}
  // Release it and clear FBits; also on a buffer that has none.
  virtual void FreeHandle() {}

  std::span<RGBQUAD> Pixels() const;

  RGBQUAD* FBits;

 private:
  void SetSize(int AWidth, int AHeight);

  int FWidth;
  int FHeight;
};

// The pixels of a 32-bit top-down DIB section, selected into a memory DC
// for GDI drawing.
class TdxFastDIB : public TdxCustomFastDIB {
  SK_CLASS(TdxFastDIB, TdxCustomFastDIB)
 public:
  // Nil while empty.
  HDC DC() const { return FMemory ? FMemory->DC() : nullptr; }
  HBITMAP Handle() const { return FMemory ? FMemory->Bitmap() : nullptr; }

  // Every byte 0 (GDI's black).
  void Clear() override;

 protected:
  void CreateHandle() override;
  void FreeHandle() override;

 private:
  std::optional<TMemoryDC> FMemory;
};

// Pixel memory of its own, wrapped in a GDI+ bitmap of 32 bits per pixel,
// premultiplied ARGB, for GDI+ drawing. The bitmap holds a reference on the
// GDI+ binding while it exists; failed GDI+ calls raise EdxGdipException.
class TdxGpFastDIB : public TdxCustomFastDIB {
  SK_CLASS(TdxGpFastDIB, TdxCustomFastDIB)
 public:
  // Nil while empty.
  GpBitmap* Handle() const { return static_cast<GpBitmap*>(FHandle.Get()); }

  // Every pixel 0: the shared solid brush of colour 0, copied over.
  void Clear() override;
  // A new GDI+ canvas drawing into the pixels; the caller frees it, before
  // the buffer is resized or freed. An empty buffer raises EdxGdipException.
  TdxGPCanvas* CreateCanvas();

 protected:
  void CreateHandle() override;
  void FreeHandle() override;

 private:
  std::unique_ptr<RGBQUAD[]> FMemory;
  TdxGpOwnedImage FHandle;
  bool FAcquired;
};

// Unit start-up: fills the tables of TdxColors.
void dxPixelBuffersInitialization();
