// Cross-fading of a part of a control between its normal and its hot look.
//
// Classes in this file:
//   IdxFadingObject          an object that can be faded: its two looks and a repaint request
//   IFadingOptionsProvider   an object's own frame counts and delays
//   TdxFadingOptions         frame counts and delays of fading in and out
//   TdxFadingState           fsFadeIn, fsFadeOut
//   TdxFaderAnimationState   fasDefault (the system's menu animation), fasEnabled, fasDisabled
//   TdxFadingElement         one running fade: both looks as pixels and the blended frame
//   TdxFader                 the process-wide service that runs every fade from one timer
//   TdxFadingObjectHelper    the base of the fadable parts' helpers
//   TdxFadingHelper          colour and alpha routines for the images of a fade
//
// A fade runs from a start image to an end image in a number of frames; a
// frame shows each pixel (all four channels) weighted between the two. The
// object's paint code draws the current frame (DrawFadeImage) in place of
// its own drawing while the fade runs; each new frame and the end of the
// fade ask the object to repaint. The fader's timer ticks every 10 ms and
// a frame lasts its delay in ticks (at least one). UI thread only.
#pragma once

#include "library/core/base/dxCoreClasses.h"
#include "library/core/base/cxClasses.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/classes/Persistent.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TcxCustomCanvas;
class TdxFader;

struct IdxFadingObject : public virtual IInterface {
  static constexpr GUID IID = {0x3F0D6E2B, 0x8A47, 0x4C1E, {0xB5, 0x92, 0x0E, 0x7C, 0x61, 0xD4, 0x28, 0xA9}};
  virtual bool CanFade() = 0;
  // The blended image changed (or the fade ended): the object repaints.
  virtual void DrawFadeImage() = 0;
  // Two new 32-bit bitmaps of one size: the part in its normal look and in
  // its hot look. The fader owns them.
  virtual void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) = 0;

 protected:
  ~IdxFadingObject() = default;
};

class TdxFadingOptions;

struct IFadingOptionsProvider : public virtual IInterface {
  static constexpr GUID IID = {0xFAAAF4F8, 0x7F10, 0x42CD, {0x93, 0x68, 0x2B, 0xB5, 0xA1, 0xF1, 0x48, 0x2B}};
  // Nil for the defaults.
  virtual TdxFadingOptions* GetFadingOptions() = 0;

 protected:
  ~IFadingOptionsProvider() = default;
};

class TdxFadingOptions : public TPersistent {
  SK_CLASS(TdxFadingOptions, TPersistent)
 public:
  static void Publish(TPublisher<TdxFadingOptions>& P);

  static constexpr int DefaultFadeInFrameCount = 4;
  static constexpr int DefaultFadeInFrameDelay = 15;
  static constexpr int DefaultFadeOutFrameCount = 12;
  static constexpr int DefaultFadeOutFrameDelay = 20;

  void Create();
  // From another fading options object, through the setters.
  void Assign(TPersistent* ASource) override;

  // Counts are clamped to 0..32 frames, delays to 10..300 ms.
  int FadeInFrameCount() const { return FFadeInFrameCount; }
  void SetFadeInFrameCount(int AValue);
  int FadeInFrameDelay() const { return FFadeInFrameDelay; }
  void SetFadeInFrameDelay(int AValue);
  int FadeOutFrameCount() const { return FFadeOutFrameCount; }
  void SetFadeOutFrameCount(int AValue);
  int FadeOutFrameDelay() const { return FFadeOutFrameDelay; }
  void SetFadeOutFrameDelay(int AValue);

 private:
  int FFadeInFrameCount;
  int FFadeInFrameDelay;
  int FFadeOutFrameCount;
  int FFadeOutFrameDelay;
};

enum TdxFadingState { fsFadeIn, fsFadeOut };
enum TdxFaderAnimationState { fasDefault, fasEnabled, fasDisabled };

// ---------------------------------------------------------------------------
// Element

class TdxFadingElement : public TcxIUnknownObject {
  SK_CLASS(TdxFadingElement, TcxIUnknownObject)
 public:
  void Create(TdxFader* AOwner, TObject* AElement, IdxFadingObject* AFadingObject);
  void Destroy() override;

  TObject* Element() const { return FElement; }
  int AnimationFrameCount() const { return FAnimationFrameCount; }
  int AnimationFrameDelay() const { return FAnimationFrameDelay; }
  // Timer ticks per frame.
  int DelayCount() const { return FDelayCount; }
  TSize ImageSize() const { return FImageSize; }
  // The frame shown, 0 (the start image) to AnimationFrameCount (the end image).
  int Stage() const { return FStage; }
  // The blended image of the frame; nil once the fade ended.
  TdxGPImage* WorkImage() const { return FWorkImage.get(); }

 private:
  friend class TdxFader;

  // 1..32.
  void SetAnimationFrameCount(int AValue);
  // 1..300 ms; a frame lasts AValue div 10 ticks, at least one.
  void SetAnimationFrameDelay(int AValue);
  // The pixels of both images, alpha repaired; the size is the start image's.
  void SetImages(TBitmap* AStartImage, TBitmap* AEndImage);
  // A new fade from the frame now shown to AEndImage, from frame 0.
  void TurnTowards(TBitmap* AEndImage);
  // The bitmap's pixels, top row first, alpha repaired.
  static TRGBColors ImageColors(TBitmap* AImage);
  // The pixels of frame AStage into AColors.
  void Blend(int AStage, TRGBColors& AColors) const;
  const TRGBColors& WorkColors() const { return FWorkColors; }
  // Every pixel of the work image is opaque.
  bool WorkOpaque() const { return FWorkOpaque; }
  // Blends the current frame into a new work image.
  void UpdateWorkImage();
  // A new work image (or none) asks the object to repaint.
  void SetWorkImage(TOwned<TdxGPImage> AValue);
  // One timer tick; false once the fade is over.
  bool Tick();

  int FAnimationFrameCount;
  int FAnimationFrameDelay;
  int FDelayCount;
  int FDelayIndex;
  TObject* FElement;
  IdxFadingObject* FFadingObject;
  TSize FImageSize;
  TdxFader* FOwner;
  int FStage;
  TOwned<TdxGPImage> FWorkImage;
  TRGBColors FImage1Colors;
  TRGBColors FImage2Colors;
  // The pixels of the work image (premultiplied).
  TRGBColors FWorkColors;
  bool FWorkOpaque;
};

// ---------------------------------------------------------------------------
// Fader

// What readiness reads of the system on every call. Tests put in their own
// answers and the original back.
struct TdxFaderSystemProbe {
  // SPI_GETMENUANIMATION.
  bool (*MenuAnimation)();
  // BITSPIXEL of the screen.
  int (*ScreenBitsPerPixel)();
};
TdxFaderSystemProbe dxSystemFaderProbe();
const TdxFaderSystemProbe& dxFaderProbe();
void dxSetFaderProbe(const TdxFaderSystemProbe& AValue);

class TdxFader : public TObject {
  SK_CLASS(TdxFader, TObject)
 public:
  static constexpr int DefaultMaxAnimationCount = 10;
  static constexpr int MaxAnimationCountLimit = 20;
  static constexpr unsigned TimerInterval = 10;

  void Create();
  // Frees every element, then the timer.
  void Destroy() override;

  void FadeIn(TObject* AObject) { Fade(AObject, fsFadeIn); }
  void FadeOut(TObject* AObject) { Fade(AObject, fsFadeOut); }
  // Takes the object's two looks and fades from the normal to the hot one
  // (fsFadeIn) or back, with the object's options or the defaults. Nothing
  // unless the fader is ready and the object can fade.
  void Fade(TObject* AObject, TdxFadingState AState);
  // Starts a fade from AImage1 to AImage2, or turns the object's running
  // fade towards AImage2 from the frame now shown. Both images are freed
  // whatever happens; unequal, empty or missing images and a count of 0 do
  // nothing.
  void Fade(TObject* AObject, TOwned<TBitmap> AImage1, int AAnimationFrameDelay, int AAnimationFrameCount,
            TOwned<TBitmap> AImage2);

  bool Contains(TObject* AObject) const { return IndexOf(AObject) >= 0; }
  bool Find(TObject* AObject, TdxFadingElement*& AFadingElement) const;
  int Count() const { return static_cast<int>(FList.size()); }
  TdxFadingElement* Items(int AIndex) const { return FList.at(static_cast<std::size_t>(AIndex)).get(); }

  // The object's current frame stretched into R; false without a fade or a frame.
  bool DrawFadeImage(TObject* AObject, HDC DC, const TRect& R);
  bool DrawFadeImage(TObject* AObject, TcxCustomCanvas* ACanvas, const TRect& R);

  // Ends the object's fade: with ADestroying silently, otherwise the object
  // is asked to repaint in its own look.
  void Remove(TObject* AObject, bool ADestroying = false);
  void Clear();

  int MaxAnimationCount() const { return FMaxAnimationCount; }
  // 0..20; the oldest fades beyond it end.
  void SetMaxAnimationCount(int AValue);
  TdxFaderAnimationState State() const { return FState; }
  void SetState(TdxFaderAnimationState AValue) { FState = AValue; }
  // fasDefault follows the system's menu animation, read on every call.
  bool Active() const;
  // Active, some fades allowed, GDI+ loaded and a screen of more than 16
  // bits per pixel.
  bool IsReady() const;
  bool TimerEnabled() const;

 private:
  // The lower Fade once readiness is known.
  void StartFade(TObject* AObject, TOwned<TBitmap> AImage1, int AAnimationFrameDelay, int AAnimationFrameCount,
                 TOwned<TBitmap> AImage2);
  int IndexOf(TObject* AObject) const;
  // Takes the element out of the list and frees it; unless ADestroying the
  // object is asked to repaint first.
  void FreeElement(TdxFadingElement* AElement, bool ADestroying);
  // Ends the oldest fades beyond MaxAnimationCount; the timer runs exactly
  // while a fade does.
  void CheckList();
  void TimerHandler(TObject* Sender);

  std::vector<TOwned<TdxFadingElement>> FList;
  int FMaxAnimationCount;
  TdxFaderAnimationState FState;
  TOwned<TcxTimer> FTimer;
  // The frame drawn through GDI; grown to the largest part drawn.
  std::optional<TMemoryDC> FFrameBuffer;
};

// The fader; nil before the unit's start-up and once its shut-down has begun.
TdxFader* GetFader();

// ---------------------------------------------------------------------------
// Helpers

class TdxFadingObjectHelper : public TcxIUnknownObject, public IdxFadingObject {
  SK_CLASS(TdxFadingObjectHelper, TcxIUnknownObject)
 public:
  // Ends the helper's fade without a repaint request.
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Button-state ordinals: 0 default, 1 normal, 2 hot, 3 pressed, 4
  // disabled. Entering hot from default or normal fades in, leaving it for
  // them fades out; any other change stops the fade.
  void CheckStartFading(int APrevState, int AState);
  void FadeIn();
  void FadeOut();
  void StopFading();
  // The current frame stretched into R; false without one.
  bool DrawImage(HDC DC, const TRect& R);
  bool Active();

  // IdxFadingObject: no fading in the base.
  bool CanFade() override { return false; }
  void DrawFadeImage() override {}
  void GetFadingImages(TOwned<TBitmap>&, TOwned<TBitmap>&) override {}
};

class TdxFadingHelper {
 public:
  // The colour as RGB, black made RGB(1, 1, 1): a fade image keeps no pure
  // black, which the alpha repair would leave transparent.
  static TColor CheckColor(TColor AColor);
  // Pixels with alpha 0 that are not black become opaque.
  static void CorrectAlphaChannel(TBitmap* ABitmap);
  static void CorrectAlphaChannel(std::span<RGBQUAD> AColors);
  static void CorrectAlphaChannel(RGBQUAD* APixels, int ACount) { CorrectAlphaChannel({APixels, std::size_t(ACount)}); }
};

// Unit start-up and shut-down (see LookAndFeelUnits.cpp).
void dxFadingInitialization();
void dxFadingFinalization();
