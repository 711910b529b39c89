// Smart images: the library's one image type. A smart image keeps what it
// was loaded from (the encoded bytes of a PNG, JPEG, GIF, TIFF, EMF, WMF or
// SVG file, or 32-bit pixels), decodes it through the codec registry only
// when it is drawn or measured by pixels, draws at any size with an opacity
// and a colour palette, and writes the loaded bytes back unchanged while
// nothing has altered them.
//
// Classes in this file:
//   IdxAnimatedImage, IdxImageDataFormat, IdxImageDataFormatEx, IdxVectorImage
//                                  what a decoded handle may answer
//   TdxSmartImageDataStream        encoded bytes
//   TdxSmartImageData              what is stored of an image: bytes or pixels
//   TdxSmartImageCustomHandle      the decoded image a codec supplies
//   TdxSmartImageEmptyHandle       ... of an empty image
//   TdxSmartImageAnimationController  steps an animated image's frames
//   TdxCustomSmartImage            the image
//   TdxSmartImageHelper            pixel arrays
//   TdxSmartImageCodec             a codec: class-level operations only (dxSmartImage_Codecs.cpp)
//   TdxSmartImageCodecsRepository  the registered codecs, tried in order of registration
//
// An image is empty, encoded (bytes, no handle), pixels (no handle), decoded
// (a handle, with or without what it was decoded from), or waiting for a
// size (FNewSize) that the next decode applies. A handle may keep reading
// the bytes or pixels it was made from, so the handle is always freed before
// the stored data.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Variants.h"
#include "platform/ui/Graphics.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TdxCustomSmartImage;
class TdxSmartImageCustomHandle;

// The most memory one image may take decoded: 256 MiB, the bound the class
// library's bitmap reader keeps too, so 64 megapixels (8192 x 8192) of 32-bit
// pixels, or half as many of the 64-bit pixels GDI+ decodes deep colour to.
// Decoders allocate what a header states before they read a pixel, and the
// image is copied at least once more to be drawn: a file that states more is
// refused before it is decoded, whatever its own size.
constexpr std::uint64_t dxMaxDecodedImageBytes = std::uint64_t{256} << 20;
// The most frames (GIF) or pages (TIFF) an image may have: each is indexed
// when the image is loaded, and stepped through when it animates.
constexpr std::uint64_t dxMaxImageFrames = 4096;

// ---------------------------------------------------------------------------
// Codecs

// A codec is a class, never an instance: its operations are class-level and
// virtual (TMeta). The registry holds class references.
class TdxSmartImageCodec : public TObject {
  SK_CLASS(TdxSmartImageCodec, TObject)
 public:
  struct TMeta : TObject::TMeta {
    // The class the class library's picture creates for this codec's files (nil: none).
    virtual TClass GetGraphicClass() const { return nullptr; }
    virtual TdxImageDataFormat GetFormatID() const { return dxImageUnknown; }
    // The default extension in capitals and the library's credit.
    virtual String Description() const;
    // Patterns, each "*." and the extension, each ended by ";" ("*.jpeg;*.jpg;").
    virtual String Extensions() const { return {}; }
    virtual String MimeType() const { return {}; }
    virtual UINT GetClipboardFormatId() const { return 0; }
    // The size from the header at the stream's position, without decoding.
    virtual bool GetSize(TStream* AStream, TSize& ASize) const;
    virtual bool CanLoadFromBits() const { return false; }
    // Whether the stream starts with the codec's signature; the position stays.
    virtual bool CanLoadStream(TStream* AStream) const;
    virtual bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const;
    // A handle over AWidth x AHeight top-down pixels, which must outlive it.
    virtual bool Load(const RGBQUAD* ABits, TAlphaFormat AAlphaFormat, int AWidth, int AHeight,
                      TOwned<TdxSmartImageCustomHandle>& AHandle) const;
    // A handle decoded from the stream's position; the stream must outlive it.
    virtual bool Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle) const;
    // The codec whose decoder Load uses: codecs that share one give one
    // answer for a stream, so a stream it refuses is not offered to it again.
    virtual const TMeta* StreamDecoder() const { return this; }
    virtual bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const;

    // The first pattern of Extensions without its "*." (empty without one).
    String DefaultExt() const;
  };

  // Reads as many bytes as ASignature has at the position and compares them;
  // the position is restored in every case.
  static bool CheckSignature(TStream* AStream, std::span<const std::uint8_t> ASignature);
};

using TdxSmartImageCodecClass = const TdxSmartImageCodec::TMeta*;

// The codec of a codec class reference (EInvalidCast for another class).
template <class TCodec>
TdxSmartImageCodecClass dxCodec() {
  return ClassMeta<TdxSmartImageCodec>(TCodec::ClassInfo());
}

// ---------------------------------------------------------------------------
// Interfaces of decoded handles

struct IdxAnimatedImage : public virtual IInterface {
  static constexpr GUID IID = {0x8A2E4C11, 0x5F3B, 0x4D6A, {0x9E, 0x27, 0x1B, 0x84, 0xC3, 0x5D, 0x70, 0xA6}};
  virtual int GetActiveFrame() = 0;
  virtual void SetActiveFrame(int AValue) = 0;
  virtual int GetAnimationFrameCount() = 0;
  // The active frame's delay in milliseconds.
  virtual int GetAnimationFrameDelay() = 0;
  // 0: endless.
  virtual int GetAnimationLoopCount() = 0;

 protected:
  ~IdxAnimatedImage() = default;
};

struct IdxImageDataFormat : public virtual IInterface {
  static constexpr GUID IID = {0x3B9D7E52, 0x0C14, 0x4A8F, {0xB1, 0x6E, 0x52, 0x07, 0xDA, 0x91, 0x3C, 0x48}};
  virtual TdxImageDataFormat GetImageDataFormat() = 0;

 protected:
  ~IdxImageDataFormat() = default;
};

// A handle that knows its codec itself (a format without a number of its own).
struct IdxImageDataFormatEx : public virtual IInterface {
  static constexpr GUID IID = {0xE05A6B93, 0x7D21, 0x4C3E, {0x8F, 0x4A, 0x69, 0xB2, 0x15, 0xE8, 0x0D, 0x37}};
  virtual TdxSmartImageCodecClass GetImageCodec() = 0;

 protected:
  ~IdxImageDataFormatEx() = default;
};

// Marks a vector image.
struct IdxVectorImage : public virtual IInterface {
  static constexpr GUID IID = {0x71C4F2A8, 0x96E3, 0x4B05, {0xA7, 0x3D, 0xC8, 0x5E, 0x21, 0x4F, 0xB6, 0x90}};

 protected:
  ~IdxVectorImage() = default;
};

// ---------------------------------------------------------------------------
// Stored data

// Encoded bytes.
class TdxSmartImageDataStream : public TMemoryStream {
  SK_CLASS(TdxSmartImageDataStream, TMemoryStream)
 public:
  virtual void Create() {}
  // A new stream of the same class with the same bytes at position 0; this
  // stream's position stays.
  TOwned<TdxSmartImageDataStream> Clone();
  // Nil for nil.
  static TOwned<TdxSmartImageDataStream> Clone(TdxSmartImageDataStream* AStream);
};

// What is stored of an image: the encoded bytes, or top-down 32-bit pixels.
class TdxSmartImageData : public TObject {
  SK_CLASS(TdxSmartImageData, TObject)
 public:
  void Create();

  // No bytes and no pixels.
  bool Empty() const { return !FData && FBits.empty(); }
  // Drops bytes, pixels and both sizes; the transparency settings stay.
  void Clear();
  // Pixels, their format and both sizes, and a copy of the bytes.
  void Assign(const TdxSmartImageData* ASource);

  // Takes a bitmap's pixels (after Clear): alpha when the bitmap has it,
  // else a made one (see MakeAlphaChannel). False when the pixels cannot be
  // read; the data then stays empty.
  bool LoadFromBitmap(TBitmap* ABitmap);
  // AWidth x AHeight pixels (the first ones of ABits, which must hold as many).
  void LoadFromBits(int AWidth, int AHeight, TRGBColors ABits, TAlphaFormat AAlphaFormat);
  // Every byte from the stream's position on, into AData (at position 0);
  // a stream with nothing left leaves the data empty.
  void LoadFromStream(TStream* AStream, TOwned<TdxSmartImageDataStream> AData);
  void SetData(TOwned<TdxSmartImageDataStream> AValue) { FData = std::move(AValue); }

  TdxSmartImageDataStream* Data() const { return FData.get(); }
  const TRGBColors& Bits() const { return FBits; }
  TAlphaFormat BitsFormat() const { return FBitsFormat; }
  // The pixels' size, or the size read from the bytes' header (0 x 0: not known).
  const TSize& Size() const { return FSize; }
  void SetSize(const TSize& AValue) { FSize = AValue; }
  // A size to apply at the next decode (0 x 0: none).
  const TSize& NewSize() const { return FNewSize; }
  void SetNewSize(const TSize& AValue) { FNewSize = AValue; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue) { FTransparent = AValue; }
  TColor TransparentColor() const { return FTransparentColor; }
  TTransparentMode TransparentMode() const { return FTransparentMode; }

 private:
  // Pixels without alpha become opaque, or transparent where they show the
  // key colour while Transparent is set: the fixed colour in tmFixed mode,
  // else the bottom-left pixel. The result counts as premultiplied.
  void MakeAlphaChannel();

  TOwned<TdxSmartImageDataStream> FData;
  TRGBColors FBits;
  TAlphaFormat FBitsFormat;
  TSize FSize;
  TSize FNewSize;
  bool FTransparent;
  TColor FTransparentColor;
  TTransparentMode FTransparentMode;
};

// ---------------------------------------------------------------------------
// Decoded handles

// The decoded form of an image, supplied by a codec and owned by the image
// (reference counts do not free it).
class TdxSmartImageCustomHandle : public TInterfacedPersistent {
  SK_CLASS(TdxSmartImageCustomHandle, TInterfacedPersistent)
 public:
  int Width() const { return GetSize().cx; }
  int Height() const { return GetSize().cy; }
  TSize Size() const { return GetSize(); }
  TRect ClientRect() const {
    const TSize size = GetSize();
    return TRect(0, 0, size.cx, size.cy);
  }

  virtual TSize GetSize() const = 0;
  // Resizes the image in place; nothing in the base.
  virtual void SetSize(const TSize&) {}
  // No pixels in either direction.
  virtual bool Empty() const;
  // Of GetAsBitmapBits; asNoAlpha when empty.
  virtual TdxAlphaState GetAlphaState();
  // A new 32-bit bitmap of the handle's size with the handle drawn on it at
  // opacity 255 without a palette.
  virtual TOwned<TBitmap> GetAsBitmap();
  // The pixels of GetAsBitmap, top-down.
  virtual TRGBColors GetAsBitmapBits();
  // The base rounds both rectangles to whole pixels and draws the integer form.
  virtual void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
                    IdxColorPalette* APalette);
  virtual void Draw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha,
                    IdxColorPalette* APalette) = 0;

  // The same size and, unless either is empty, the same pixels.
  bool Equals(TdxSmartImageCustomHandle* AHandle);
  // 0 when empty, else the CRC-32 of the pixels.
  std::uint32_t GetHashCode();
};

class TdxSmartImageEmptyHandle : public TdxSmartImageCustomHandle {
  SK_CLASS(TdxSmartImageEmptyHandle, TdxSmartImageCustomHandle)
 public:
  void Create() {}
  TSize GetSize() const override { return TSize(0, 0); }
  bool Empty() const override { return true; }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC, const TRect&, const TRect&, std::uint8_t, IdxColorPalette*) override {}
};

// ---------------------------------------------------------------------------
// Animation

// Steps the frames of an animated image. The base has no timer; the
// graphics unit installs a descendant that has one.
class TdxSmartImageAnimationController : public TObject {
  SK_CLASS(TdxSmartImageAnimationController, TObject)
 public:
  virtual void Create(TdxCustomSmartImage* AImage);
  // More than one frame and the timer running.
  bool Active();
  TdxCustomSmartImage* Image() const { return FImage; }

  virtual void StartTimer() {}
  virtual void StopTimer() {}
  virtual bool IsTimerActive() { return false; }
  // The timer's step: the next frame, or the end of the animation when the
  // frame stays (which frees this controller).
  virtual void NextFrame();

 protected:
  TdxCustomSmartImage* FImage;
};

// ---------------------------------------------------------------------------
// The image

class TdxCustomSmartImage : public TGraphic {
  SK_CLASS(TdxCustomSmartImage, TGraphic)
 public:
  // Construction: empty; every pixel AColor (alpha channel present); from a
  // bitmap, a bitmap handle (which stays the caller's), pixels, a file or a
  // stream. Constructors do not report a change.
  void Create() override;
  virtual void CreateSize(int AWidth, int AHeight, TdxAlphaColor AColor = 0);
  void CreateSize(const TSize& ASize, TdxAlphaColor AColor = 0) { CreateSize(ASize.cx, ASize.cy, AColor); }
  void CreateSize(const TRect& ARect, TdxAlphaColor AColor = 0) { CreateSize(ARect.Width(), ARect.Height(), AColor); }
  virtual void CreateFromBitmap(TBitmap* ABitmap);
  virtual void CreateFromHBitmap(HBITMAP ABitmap);
  // AHasAlphaChannel false: afIgnored; true: afPremultiplied.
  virtual void CreateFromBits(int AWidth, int AHeight, const TRGBColors& ABits, bool AHasAlphaChannel);
  virtual void CreateFromBits(int AWidth, int AHeight, const TRGBColors& ABits, TAlphaFormat AAlphaFormat);
  // Copies AWidth x AHeight pixels.
  virtual void CreateFromBits(int AWidth, int AHeight, const RGBQUAD* ABits, TAlphaFormat AAlphaFormat);
  void CreateFromFile(const String& AFileName);
  virtual void CreateFromStream(TStream* AStream);
  void Destroy() override;

  // The class animation controllers are made of (TdxSmartImageAnimationController
  // until the graphics unit installs its own).
  static TClass AnimationControllerClass();
  static void SetAnimationControllerClass(TClass AValue);

  // From nil (clears), a smart image, another graphic, a picture's graphic or the clipboard.
  void Assign(TPersistent* ASource) override;
  // A new image of the same class with this one's data.
  TOwned<TdxCustomSmartImage> Clone();
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Size. Without a handle it comes from a pending size, the stored size or
  // the header; only when none tells is the image decoded.
  TSize Size();
  TRect ClientRect() {
    const TSize s = Size();
    return TRect(0, 0, s.cx, s.cy);
  }
  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  // Sizes change only through Resize and Scale.
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  bool Transparent() const override;
  // The alpha state is not asOpaque (decodes).
  bool IsAlphaUsed();

  // Decoding. Raises EdxException "Unsupported image format." when no codec
  // reads the data.
  void HandleNeeded();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // The decoded handle (decodes).
  TdxSmartImageCustomHandle* ImageHandle();
  // Back to the encoded state: encodes when nothing is stored, then frees the handle.
  void Dormant();
  // Pixels instead of bytes or a vector image (nothing for a bitmap).
  void ConvertToBitmap();

  TdxSmartImageCodecClass ImageCodec() { return GetImageCodec(); }
  // Re-encodes with another codec.
  void SetImageCodec(TdxSmartImageCodecClass AValue);
  TdxImageDataFormat ImageDataFormat();
  void SetImageDataFormat(TdxImageDataFormat AValue);

  // Loading; each reports the change.
  void LoadFromStream(TStream* AStream) override;
  void LoadFromBits(int AWidth, int AHeight, const TRGBColors& ABits, bool AHasAlphaChannel);
  void LoadFromBits(int AWidth, int AHeight, const TRGBColors& ABits, TAlphaFormat AAlphaFormat);
  virtual void SetBitmap(TBitmap* ABitmap);
  // RT_BITMAP through a bitmap; any other type as a stream. A missing
  // resource raises EResNotFound and leaves the image as it was.
  void LoadFromResource(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType);
  // A blob field's value, without the 8-byte header some fields prepend.
  void LoadFromFieldValue(const Variant& AValue);
  void LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) override;
  bool PasteFromClipboard();

  // Saving.
  void SaveToStream(TStream* AStream) override;
  void SaveToStreamByCodec(TStream* AStream, TdxSmartImageCodecClass ACodec);
  void SaveToStreamByCodec(TStream* AStream, TdxImageDataFormat AFormat);
  // By the codec of the file's extension when one is registered.
  void SaveToFile(const String& AFileName) override;
  void SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) override;
  void CopyToClipboard();
  void CutToClipboard();

  // Changes.
  virtual void Clear();
  // Every pixel in AColor with its own alpha; nothing for clNone, clDefault or an empty image.
  virtual void ChangeColor(TColor AColor);
  // Whether anything changed.
  virtual bool Resize(const TSize& ASize);
  bool Resize(int AWidth, int AHeight) { return Resize(TSize(AWidth, AHeight)); }
  void Scale(int M, int D);

  // Comparison (decodes both).
  virtual bool Compare(TdxCustomSmartImage* AImage);
  bool Equals(TGraphic* AGraphic) override;
  std::uint32_t GetHashCode();

  // Pixels (decodes). The caller owns the bitmap.
  virtual TOwned<TBitmap> GetAsBitmap();
  TRGBColors GetBitmapBits();

  // Drawing at an opacity of 0..255, recoloured by the palette where the
  // handle can (vector images).
  void StretchDraw(HDC DC, const TRect& ADest, std::uint8_t AAlpha = 255, IdxColorPalette* APalette = nullptr);
  void StretchDraw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha = 255,
                   IdxColorPalette* APalette = nullptr);
  void StretchDraw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha = 255,
                   IdxColorPalette* APalette = nullptr);
  void StretchDraw(HDC DC, const TdxRectF& ADest, std::uint8_t AAlpha = 255, IdxColorPalette* APalette = nullptr);

  // Animation (frames of the handle when it answers IdxAnimatedImage).
  int ActiveFrame();
  void SetActiveFrame(int AValue);
  bool Animation();
  void SetAnimation(bool AValue);
  int AnimationFrameCount();
  int AnimationFrameDelay();
  void SetAnimationFrameDelay(int AValue);
  TdxDefaultBoolean AnimationLoop() const { return FAnimationLoop; }
  void SetAnimationLoop(TdxDefaultBoolean AValue) { FAnimationLoop = AValue; }
  int AnimationLoopIndex() const { return FAnimationLoopIndex; }
  void SetAnimationLoopIndex(int AValue) { FAnimationLoopIndex = AValue; }
  int AnimationLoopCount();
  void StartAnimation();
  void StopAnimation();

  // The resize cache of whole-image drawing (off unless set).
  bool UseCache() const { return FUseCache; }
  void SetUseCache(bool AValue) { FUseCache = AValue; }

  void Changed(TObject* Sender) override;

 protected:
  void AssignTo(TPersistent* ADest) override;
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;

  // Whether drawing into ADestSize needs a smoothly resized copy.
  virtual bool IsSmoothResizeNeeded(const TSize& ASourceSize, const TSize& ADestSize);
  // A copy of the handle at ASize for the resize cache; nil in the base.
  virtual TOwned<TdxSmartImageCustomHandle> CreateResizedHandle(const TSize& ASize);
  // 14 bytes that start with "BM"; the position stays.
  virtual bool IsBitmapStream(TStream* AStream);
  // Loads the first clipboard format present of PNG, GIF, TIFF, JPEG and bitmap.
  virtual bool PasteFromClipboardFormats();
  virtual void AssignGraphic(TGraphic* AGraphic);
  virtual void AssignSmartImage(TdxCustomSmartImage* AImage);
  virtual void AssignToGraphic(TGraphic* AGraphic);
  virtual void LoadFromBitmapData(TBitmap* ABitmap);
  // Frees the handle, then the stored data.
  virtual void FreeImage();
  // Stores an encoding when nothing is stored (by the image's own codec).
  virtual void EnsureEncodedData();
  virtual TdxSmartImageCodecClass GetImageCodec();
  virtual bool IsSupportClipboardFormat(UINT AFormat);
  virtual bool HasClipboardFormat();
  // The stream encoded bytes are kept in.
  virtual TOwned<TdxSmartImageDataStream> NewDataStream();

  // The stored data encoded by ACodec: the stored bytes themselves while
  // they are of the image's format.
  TOwned<TdxSmartImageDataStream> Encode(TdxSmartImageCodecClass ACodec);
  TdxSmartImageData* ImageData() const { return FImageData.get(); }

  TOwned<TdxSmartImageData> FImageData;
  TOwned<TdxSmartImageCustomHandle> FHandle;

 private:
  void ReadStream(TStream* AStream);
  void ReadBits(int AWidth, int AHeight, TRGBColors ABits, TAlphaFormat AAlphaFormat);
  void FreeHandle();
  IdxAnimatedImage* AnimatedHandle();
  void DrawWhole(HDC DC, const TRect& ADest, std::uint8_t AAlpha, IdxColorPalette* APalette);

  TdxAlphaState FAlphaState;
  bool FAlphaStateAssigned;
  TOwned<TdxSmartImageAnimationController> FAnimationController;
  int FAnimationFrameDelay;
  TdxDefaultBoolean FAnimationLoop;
  int FAnimationLoopIndex;
  TOwned<TdxSmartImageCustomHandle> FCache;
  GUID FCachePaletteID;
  bool FUseCache;
};

class TdxSmartImageHelper {
 public:
  TdxSmartImageHelper() = delete;
  static TRGBColors AllocColors(int AWidth, int AHeight, TdxAlphaColor AColor);
  // Some alpha byte is not 0, or every pixel is entirely 0.
  static bool HasAlpha(std::span<const RGBQUAD> ABits);
};

// ---------------------------------------------------------------------------
// The codec registry

// One clipboard format per image format (0: none).
using TdxSmartImageClipboardFormats = std::array<UINT, dxImageWmf + 1>;

class TdxSmartImageCodecsRepository {
 public:
  TdxSmartImageCodecsRepository() = delete;

  // Appends the codec; its graphic class is registered with the picture for
  // its extensions and clipboard format. The first registration ever puts
  // CF_BITMAP into the clipboard-format table for dxImageBitmap.
  static void Register(TdxSmartImageCodecClass ACodec);
  static void Unregister(TdxSmartImageCodecClass ACodec);
  static bool Contains(TdxSmartImageCodecClass ACodec);
  static int Count();
  static TdxSmartImageCodecClass Items(int AIndex);

  static TdxSmartImageCodecClass GetFormatFromStream(TStream* AStream);
  static TdxSmartImageCodecClass GetFormatByID(TdxImageDataFormat AID);
  // The extension with its dot, in any case; nil for an empty text.
  static TdxSmartImageCodecClass GetFormatByExt(const String& AExt);
  static String GetDefaultExt(TdxSmartImageCodecClass ACodec);

  // The size from a header without decoding, and the codec that read it. The
  // stream's position is restored after every failed attempt.
  static bool GetImageInfo(const String& AFileName, TSize& ASize, TdxSmartImageCodecClass& ACodec);
  static bool GetImageInfo(TStream* AStream, TSize& ASize, TdxSmartImageCodecClass& ACodec);
  static bool GetImageInfo(TdxSmartImageData* AImageData, TSize& ASize, TdxSmartImageCodecClass& ACodec);

  // A codec is registered for the file name's extension.
  static bool CanLoad(const String& AFileName);
  static bool CanLoad(TStream* AStream);
  // Decoding by the first codec that succeeds.
  static bool Load(const RGBQUAD* ABits, TAlphaFormat AAlphaFormat, int AWidth, int AHeight,
                   TOwned<TdxSmartImageCustomHandle>& AHandle);
  static bool Load(TdxSmartImageData* AImageData, TOwned<TdxSmartImageCustomHandle>& AHandle);
  static bool Load(TStream* AStream, TOwned<TdxSmartImageCustomHandle>& AHandle);

  static String GetSupportedExtensions();
  // "All (patterns)|patterns|Description|patterns|..." of the codecs that can
  // save the handle (every codec for nil) and have a description.
  static String GetSaveDialogFilter(TdxSmartImageCustomHandle* AHandle);
  static String GetOpenDialogFilter() { return GetSaveDialogFilter(nullptr); }

  static const TdxSmartImageClipboardFormats& ClipboardFormats();
};
