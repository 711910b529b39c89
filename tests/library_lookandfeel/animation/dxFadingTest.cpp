#include "library/lookandfeel/animation/dxFading.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int PartWidth = 75;
constexpr int PartHeight = 23;
// What lies under a part where its frame leaves a pixel transparent.
constexpr COLORREF Background = RGB(0x20, 0x90, 0x40);

using TPixels = std::vector<std::uint32_t>;

// Two looks of a part: smooth gradients in every channel, never pure black.
TPixels MakeLook(int ASeed) {
  TPixels pixels(PartWidth * PartHeight);
  for (int y = 0; y < PartHeight; ++y)
    for (int x = 0; x < PartWidth; ++x) {
      const int r = (x * 3 + ASeed * 70) % 256;
      const int g = (y * 11 + ASeed * 40) % 256;
      const int b = (x * y + ASeed * 90) % 255 + 1;
      pixels[y * PartWidth + x] = static_cast<std::uint32_t>(RGB(b, g, r));  // BGRA in memory, alpha 0
    }
  return pixels;
}

TPixels SurfacePixels(const TPixelSurface& ASurface) {
  TPixels pixels;
  for (int y = 0; y < ASurface.Height(); ++y)
    for (int x = 0; x < ASurface.Width(); ++x) pixels.push_back(ASurface.Raw(x, y) & 0x00FFFFFF);
  return pixels;
}

void PutPixels(TPixelSurface& ASurface, const TPixels& APixels) {
  for (int y = 0; y < ASurface.Height(); ++y)
    for (int x = 0; x < ASurface.Width(); ++x) ASurface.SetRaw(x, y, APixels[y * ASurface.Width() + x]);
}

// A 32-bit bitmap of the pixels, as a part would draw itself (alpha 0).
// Counts its own destruction.
class TFadeTestBitmap : public TBitmap {
  SK_CLASS(TFadeTestBitmap, TBitmap)
 public:
  static inline int Freed = 0;
  void Destroy() override {
    ++Freed;
    inherited::Destroy();
  }
  static TOwned<TBitmap> Of(const TPixels& APixels, int AWidth = PartWidth, int AHeight = PartHeight) {
    TOwned<TBitmap> bitmap(New<TFadeTestBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(AWidth, AHeight);
    TRGBColors colors(APixels.size());
    for (std::size_t i = 0; i < APixels.size(); ++i) colors[i] = std::bit_cast<RGBQUAD>(APixels[i]);
    if (!bitmap->Empty()) SetGraphicPixels(bitmap.get(), colors, true);
    return bitmap;
  }
};

// GDI's picture of frame AStage of ACount from AStart to AEnd: the start
// image with the end image AlphaBlend-ed over it at a constant alpha.
TPixels AlphaBlendFrame(const TPixels& AStart, const TPixels& AEnd, int AStage, int ACount) {
  TPixelSurface start(PartWidth, PartHeight);
  TPixelSurface end(PartWidth, PartHeight);
  PutPixels(start, AStart);
  PutPixels(end, AEnd);
  const BYTE alpha = static_cast<BYTE>(std::lround(255.0 * AStage / ACount));
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
  EXPECT_TRUE(AlphaBlend(start.DC(), 0, 0, PartWidth, PartHeight, end.DC(), 0, 0, PartWidth, PartHeight, blend));
  return SurfacePixels(start);
}

// The largest difference of one channel between two pictures.
int MaxChannelDifference(const TPixels& A, const TPixels& B) {
  int result = 0;
  for (std::size_t i = 0; i < std::min(A.size(), B.size()); ++i)
    for (int shift : {0, 8, 16})
      result = std::max(result, std::abs(static_cast<int>((A[i] >> shift) & 0xFF) - static_cast<int>((B[i] >> shift) & 0xFF)));
  return A.size() == B.size() ? result : 256;
}

// Counts the fader's timer ticks as the test dispatches them.
int GTick = 0;

// A fadable part: two looks, and at every repaint request the frame the
// fader then shows (drawn as the part's paint code would), with the tick.
class TFadingTestPart : public TdxFadingObjectHelper, public IFadingOptionsProvider {
  SK_CLASS(TFadingTestPart, TdxFadingObjectHelper)
 public:
  struct TFrame {
    int Tick;
    bool Drawn;  // false: the part paints its own look again
    TPixels Pixels;
  };
  TPixels Normal = MakeLook(0);
  TPixels Hot = MakeLook(1);
  TSize NormalSize = TSize(PartWidth, PartHeight);
  TSize HotSize = TSize(PartWidth, PartHeight);
  bool NoHotImage = false;
  bool Fadable = true;
  TdxFadingOptions* Options = nullptr;
  std::vector<TFrame> Frames;
  std::function<void()> OnRepaint;

  bool GetInterface(const GUID& AIID, void** AObj) override {
    if (Options && AnswerInterfaces<IFadingOptionsProvider>(this, AIID, AObj)) return true;
    return inherited::GetInterface(AIID, AObj);
  }
  bool CanFade() override { return Fadable; }
  void DrawFadeImage() override {
    TPixelSurface surface(PartWidth, PartHeight, Background);
    const bool drawn = DrawImage(surface.DC(), surface.ClientRect());
    Frames.push_back({GTick, drawn, SurfacePixels(surface)});
    if (OnRepaint) OnRepaint();
  }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override {
    AFadeOutImage = TFadeTestBitmap::Of(Normal, NormalSize.cx, NormalSize.cy);
    if (!NoHotImage) AFadeInImage = TFadeTestBitmap::Of(Hot, HotSize.cx, HotSize.cy);
  }
  TdxFadingOptions* GetFadingOptions() override { return Options; }
};

class dxFading : public testing::Test {
 protected:
  void SetUp() override {
    FFader = GetFader();
    ASSERT_NE(FFader, nullptr);
    FSavedProbe = dxFaderProbe();
    FFader->SetState(fasEnabled);
    FRunningTimers = cxRunningTimerCount();
    GTick = 0;
  }
  void TearDown() override {
    FFader->Clear();
    FFader->SetState(fasDefault);
    FFader->SetMaxAnimationCount(TdxFader::DefaultMaxAnimationCount);
    dxSetFaderProbe(FSavedProbe);
    EXPECT_FALSE(FFader->TimerEnabled());
    EXPECT_EQ(cxRunningTimerCount(), FRunningTimers);
  }

  TFadingTestPart* NewPart() {
    FParts.emplace_back(New<TFadingTestPart>());
    return FParts.back().get();
  }
  // Dispatches the fader's real timer messages, counting them, until
  // ADone holds.
  static void RunTicks(const std::function<bool()>& ADone, int AMaxTicks = 200) {
    for (int i = 0; i < AMaxTicks && !ADone(); ++i) {
      const MSG tick = TakeTimerMessage(cxTimerWindowHandle());
      ++GTick;
      DispatchMessageW(&tick);
    }
    EXPECT_TRUE(ADone());
  }

  TdxFader* FFader = nullptr;
  TdxFaderSystemProbe FSavedProbe{};
  int FRunningTimers = 0;
  std::vector<TOwned<TFadingTestPart>> FParts;
};

// ---------------------------------------------------------------------------
// Readiness

TEST_F(dxFading, TheDefaultStateFollowsTheSystemsMenuAnimation) {
  BOOL menuAnimation = TRUE;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &menuAnimation, 0));
  EXPECT_FALSE(menuAnimation) << "the test prefix switches menu animation off";
  FFader->SetState(fasDefault);
  EXPECT_FALSE(FFader->Active());
  EXPECT_FALSE(FFader->IsReady());
  TFadingTestPart* part = NewPart();
  part->FadeIn();
  EXPECT_FALSE(part->Active()) << "no fade starts: the part switches at once";
  EXPECT_TRUE(part->Frames.empty());

  // Read on every call: switched on for this session, the next call fades.
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0));
  const bool activeWhenOn = FFader->Active();
  SystemParametersInfoW(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
  EXPECT_TRUE(activeWhenOn);
  EXPECT_FALSE(FFader->Active());
}

TEST_F(dxFading, ReadinessNeedsMoreThanSixteenBitsFadesAllowedAndAnActiveState) {
  static int bits = 32;
  dxSetFaderProbe({[] { return false; }, [] { return bits; }});
  struct Case {
    const char* Name;
    TdxFaderAnimationState State;
    int Bits;
    int MaxAnimationCount;
    bool Ready;
  } cases[] = {
      {"enabled, 32 bits", fasEnabled, 32, 10, true},   {"enabled, 24 bits", fasEnabled, 24, 10, true},
      {"enabled, 17 bits", fasEnabled, 17, 10, true},   {"16 bits", fasEnabled, 16, 10, false},
      {"8 bits", fasEnabled, 8, 10, false},             {"disabled", fasDisabled, 32, 10, false},
      {"default, menu animation off", fasDefault, 32, 10, false},
      {"no fades allowed", fasEnabled, 32, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FFader->SetState(c.State);
    bits = c.Bits;
    FFader->SetMaxAnimationCount(c.MaxAnimationCount);
    EXPECT_EQ(FFader->IsReady(), c.Ready);
    TFadingTestPart* part = NewPart();
    TFadeTestBitmap::Freed = 0;
    part->FadeIn();
    EXPECT_EQ(part->Active(), c.Ready);
    EXPECT_EQ(TFadeTestBitmap::Freed, c.Ready ? 2 : 0) << "taken only when ready; freed once their pixels are kept";
    FFader->Clear();
  }
}

TEST_F(dxFading, MaxAnimationCountIsClamped) {
  for (auto [value, stored] : {std::pair{25, 20}, {20, 20}, {0, 0}, {-3, 0}, {7, 7}}) {
    FFader->SetMaxAnimationCount(value);
    EXPECT_EQ(FFader->MaxAnimationCount(), stored) << value;
  }
}

// ---------------------------------------------------------------------------
// Frames, against GDI's AlphaBlend of the same two images

TEST_F(dxFading, EachFrameEqualsAlphaBlendOfBothLooksDrivenByRealTimerTicks) {
  struct Case {
    const char* Name;
    TdxFadingState State;
    int Count;
    int TicksPerFrame;
  } cases[] = {
      {"fade in: 4 frames, 15 ms each", fsFadeIn, TdxFadingOptions::DefaultFadeInFrameCount, 1},
      {"fade out: 12 frames, 20 ms each", fsFadeOut, TdxFadingOptions::DefaultFadeOutFrameCount, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    GTick = 0;
    TFadingTestPart* part = NewPart();
    FFader->Fade(part, c.State);
    ASSERT_TRUE(part->Active());
    EXPECT_TRUE(FFader->TimerEnabled());
    RunTicks([&] { return !part->Active(); });
    const TPixels& start = c.State == fsFadeIn ? part->Normal : part->Hot;
    const TPixels& end = c.State == fsFadeIn ? part->Hot : part->Normal;
    ASSERT_EQ(part->Frames.size(), static_cast<std::size_t>(c.Count + 2)) << "frames 0..n, then the end";
    for (int s = 0; s <= c.Count; ++s) {
      SCOPED_TRACE(testing::Message() << "frame " << s);
      const TFadingTestPart::TFrame& frame = part->Frames[static_cast<std::size_t>(s)];
      EXPECT_TRUE(frame.Drawn);
      EXPECT_EQ(frame.Tick, s * c.TicksPerFrame);
      EXPECT_LE(MaxChannelDifference(frame.Pixels, AlphaBlendFrame(start, end, s, c.Count)), 1);
    }
    EXPECT_EQ(part->Frames.front().Pixels, start);
    EXPECT_EQ(part->Frames[static_cast<std::size_t>(c.Count)].Pixels, end);
    const TFadingTestPart::TFrame& last = part->Frames.back();
    EXPECT_FALSE(last.Drawn) << "after the last frame the part paints itself";
    EXPECT_EQ(last.Tick, (c.Count + 1) * c.TicksPerFrame);
    EXPECT_FALSE(FFader->TimerEnabled());
  }
}

TEST_F(dxFading, TicksPerFrameAreTheDelayInTensOfMilliseconds) {
  struct Case {
    int Delay;
    int Ticks;
  } cases[] = {{10, 1}, {29, 2}, {35, 3}, {60, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "delay " << c.Delay);
    GTick = 0;
    TFadingTestPart* part = NewPart();
    TdxFadingOptions* options = New<TdxFadingOptions>();
    options->SetFadeInFrameCount(2);
    options->SetFadeInFrameDelay(c.Delay);
    part->Options = options;
    part->FadeIn();
    RunTicks([&] { return !part->Active(); });
    std::vector<int> ticks;
    for (const auto& frame : part->Frames) ticks.push_back(frame.Tick);
    EXPECT_EQ(ticks, (std::vector<int>{0, c.Ticks, 2 * c.Ticks, 3 * c.Ticks}));
    part->Options = nullptr;
    options->Free();
  }
}

TEST_F(dxFading, AFadeReversedHalfWayStartsFromTheBlendOnScreen) {
  TFadingTestPart* part = NewPart();
  part->FadeIn();
  RunTicks([&] { return part->Frames.size() == 3; });  // frames 0, 1 and 2 of 4
  const TPixels shown = part->Frames.back().Pixels;
  part->FadeOut();
  TdxFadingElement* element;
  ASSERT_TRUE(FFader->Find(part, element));
  EXPECT_EQ(element->AnimationFrameCount(), TdxFadingOptions::DefaultFadeOutFrameCount);
  EXPECT_EQ(element->Stage(), 0);
  const TPixels restart = part->Frames.back().Pixels;
  EXPECT_LE(MaxChannelDifference(restart, shown), 1) << "the fade out begins with the picture on the screen";
  EXPECT_GT(MaxChannelDifference(restart, part->Hot), 20) << "not with the full hot look";
  const std::size_t first = part->Frames.size() - 1;
  RunTicks([&] { return !part->Active(); });
  const int count = TdxFadingOptions::DefaultFadeOutFrameCount;
  ASSERT_EQ(part->Frames.size(), first + count + 2);
  for (int s = 1; s <= count; ++s) {
    SCOPED_TRACE(testing::Message() << "frame " << s);
    EXPECT_LE(MaxChannelDifference(part->Frames[first + s].Pixels, AlphaBlendFrame(shown, part->Normal, s, count)), 1);
  }
  EXPECT_EQ(part->Frames[first + count].Pixels, part->Normal);
}

TEST_F(dxFading, TheEleventhFadeEndsTheOldest) {
  std::vector<TFadingTestPart*> parts;
  for (int i = 0; i < 11; ++i) {
    parts.push_back(NewPart());
    parts.back()->FadeOut();
  }
  EXPECT_EQ(FFader->Count(), TdxFader::DefaultMaxAnimationCount);
  EXPECT_FALSE(parts[0]->Active());
  ASSERT_EQ(parts[0]->Frames.size(), 2u);
  EXPECT_FALSE(parts[0]->Frames.back().Drawn) << "the oldest was asked to paint itself again";
  for (int i = 1; i < 11; ++i) EXPECT_TRUE(parts[static_cast<std::size_t>(i)]->Active()) << i;
  FFader->SetMaxAnimationCount(3);
  EXPECT_EQ(FFader->Count(), 3);
  EXPECT_TRUE(parts[8]->Active());
  EXPECT_FALSE(parts[7]->Active());
}

TEST_F(dxFading, BadImagesAndZeroCountsStartNothingAndFreeTheImages) {
  struct Case {
    const char* Name;
    std::function<void(TFadingTestPart*)> Setup;
    int ImagesFreed;
  } cases[] = {
      {"cannot fade", [](TFadingTestPart* P) { P->Fadable = false; }, 0},
      {"unequal widths", [](TFadingTestPart* P) { P->HotSize = TSize(PartWidth - 1, PartHeight); }, 2},
      {"unequal heights", [](TFadingTestPart* P) { P->HotSize = TSize(PartWidth, PartHeight + 1); }, 2},
      {"no hot image", [](TFadingTestPart* P) { P->NoHotImage = true; }, 1},
      {"empty images", [](TFadingTestPart* P) {
         P->NormalSize = TSize(0, 0);
         P->HotSize = TSize(0, 0);
       }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TFadingTestPart* part = NewPart();
    c.Setup(part);
    TFadeTestBitmap::Freed = 0;
    part->FadeIn();
    EXPECT_FALSE(part->Active());
    EXPECT_TRUE(part->Frames.empty());
    EXPECT_EQ(TFadeTestBitmap::Freed, c.ImagesFreed);
  }
  // The options of a part: no frames to fade in.
  TFadingTestPart* part = NewPart();
  TOwned<TdxFadingOptions> options(New<TdxFadingOptions>());
  options->SetFadeInFrameCount(0);
  part->Options = options.get();
  part->FadeIn();
  EXPECT_FALSE(part->Active());
  part->FadeOut();
  EXPECT_TRUE(part->Active()) << "fading out still has its 12 frames";
  part->Options = nullptr;
}

TEST_F(dxFading, OptionsAndElementsClampTheirValues) {
  TOwned<TdxFadingOptions> options(New<TdxFadingOptions>());
  EXPECT_EQ(options->FadeInFrameCount(), 4);
  EXPECT_EQ(options->FadeInFrameDelay(), 15);
  EXPECT_EQ(options->FadeOutFrameCount(), 12);
  EXPECT_EQ(options->FadeOutFrameDelay(), 20);
  options->SetFadeInFrameCount(40);
  options->SetFadeOutFrameCount(-1);
  options->SetFadeInFrameDelay(5);
  options->SetFadeOutFrameDelay(1000);
  TOwned<TdxFadingOptions> copy(New<TdxFadingOptions>());
  copy->Assign(options.get());
  EXPECT_EQ(copy->FadeInFrameCount(), 32);
  EXPECT_EQ(copy->FadeOutFrameCount(), 0);
  EXPECT_EQ(copy->FadeInFrameDelay(), 10);
  EXPECT_EQ(copy->FadeOutFrameDelay(), 300);

  struct Case {
    int Delay, Count, StoredDelay, StoredCount, Ticks;
  } cases[] = {{5000, 100, 300, 32, 30}, {5, 1, 5, 1, 1}, {0, 3, 1, 3, 1}, {19, 32, 19, 32, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "delay " << c.Delay << ", count " << c.Count);
    TFadingTestPart* part = NewPart();
    FFader->Fade(part, TFadeTestBitmap::Of(part->Normal), c.Delay, c.Count, TFadeTestBitmap::Of(part->Hot));
    TdxFadingElement* element;
    ASSERT_TRUE(FFader->Find(part, element));
    EXPECT_EQ(element->AnimationFrameDelay(), c.StoredDelay);
    EXPECT_EQ(element->AnimationFrameCount(), c.StoredCount);
    EXPECT_EQ(element->DelayCount(), c.Ticks);
  }
}

// ---------------------------------------------------------------------------
// The helper

TEST_F(dxFading, CheckStartFadingTable) {
  enum TEffect { None, In, Out, Stop };
  // Button-state ordinals: 0 default, 1 normal, 2 hot, 3 pressed, 4 disabled.
  struct Case {
    int Prev, State;
    TEffect Effect;
  } cases[] = {
      {1, 1, None}, {2, 2, None}, {0, 2, In},   {1, 2, In},   {2, 0, Out},  {2, 1, Out},  {2, 3, Stop},
      {2, 4, Stop}, {3, 2, Stop}, {4, 2, Stop}, {1, 3, Stop}, {0, 1, Stop}, {1, 0, Stop}, {3, 1, Stop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Prev << " -> " << c.State);
    TFadingTestPart* part = NewPart();
    // A fade in runs already (of an odd length), so that every effect shows.
    FFader->Fade(part, TFadeTestBitmap::Of(part->Normal), 15, 7, TFadeTestBitmap::Of(part->Hot));
    const std::size_t repaints = part->Frames.size();
    part->CheckStartFading(c.Prev, c.State);
    TdxFadingElement* element = nullptr;
    const bool running = FFader->Find(part, element);
    switch (c.Effect) {
      case None:
        ASSERT_TRUE(running);
        EXPECT_EQ(element->AnimationFrameCount(), 7);
        EXPECT_EQ(part->Frames.size(), repaints);
        break;
      case In:
      case Out:
        ASSERT_TRUE(running);
        EXPECT_EQ(element->AnimationFrameCount(), c.Effect == In ? TdxFadingOptions::DefaultFadeInFrameCount
                                                                 : TdxFadingOptions::DefaultFadeOutFrameCount);
        EXPECT_EQ(part->Frames.size(), repaints + 1);
        break;
      case Stop:
        EXPECT_FALSE(running);
        ASSERT_EQ(part->Frames.size(), repaints + 1);
        EXPECT_FALSE(part->Frames.back().Drawn) << "stopped at once: the part paints its own look";
        break;
    }
    FFader->Clear();
  }
}

TEST_F(dxFading, AHelperFreedDuringItsFadeLeavesNothingBehind) {
  TFadingTestPart* part = NewPart();
  part->FadeOut();
  ASSERT_TRUE(FFader->Contains(part));
  FParts.back().reset();
  EXPECT_EQ(FFader->Count(), 0);
  EXPECT_FALSE(FFader->TimerEnabled());
}

TEST_F(dxFading, ARepaintRequestMayEndItsOwnOrAnotherFade) {
  TFadingTestPart* first = NewPart();
  TFadingTestPart* second = NewPart();
  first->FadeIn();
  second->FadeIn();
  // The tick runs from the newest element to the oldest.
  second->OnRepaint = [&] { first->StopFading(); };
  first->OnRepaint = [&] { first->StopFading(); };
  RunTicks([&] { return !first->Active() && !second->Active(); });
  EXPECT_FALSE(first->Frames.back().Drawn);
  EXPECT_EQ(second->Frames.size(), static_cast<std::size_t>(TdxFadingOptions::DefaultFadeInFrameCount + 2));
}

TEST_F(dxFading, TheFrameDrawsOnACanvasAsOnADeviceContext) {
  TFadingTestPart* part = NewPart();
  FFader->Fade(part, TFadeTestBitmap::Of(part->Normal), 15, 2, TFadeTestBitmap::Of(part->Hot));
  RunTicks([&] { return part->Frames.size() == 2; });
  TPixelSurface surface(PartWidth, PartHeight, Background);
  TOwned<TCanvas> dcCanvas(New<TCanvas>());
  {
    const TCanvasDCScope scope(dcCanvas.get(), surface.DC());
    TOwned<TcxCanvas> canvas(New<TcxCanvas>(dcCanvas.get()));
    EXPECT_TRUE(FFader->DrawFadeImage(part, canvas.get(), surface.ClientRect()));
  }
  EXPECT_EQ(SurfacePixels(surface), part->Frames.back().Pixels);
  EXPECT_FALSE(FFader->DrawFadeImage(NewPart(), surface.DC(), surface.ClientRect())) << "no fade, no picture";
}

// ---------------------------------------------------------------------------
// Colours and alpha

TEST_F(dxFading, AlphaRepairAndCheckColor) {
  struct Case {
    RGBQUAD In, Out;
  } cases[] = {
      {{0, 0, 0, 0}, {0, 0, 0, 0}},         // black stays transparent
      {{1, 0, 0, 0}, {1, 0, 0, 255}},       // any colour without alpha becomes opaque
      {{0, 0, 200, 0}, {0, 0, 200, 255}},   //
      {{10, 20, 30, 128}, {10, 20, 30, 128}},  // alpha already there stays
      {{0, 0, 0, 77}, {0, 0, 0, 77}},
  };
  TRGBColors colors;
  for (const Case& c : cases) colors.push_back(c.In);
  TdxFadingHelper::CorrectAlphaChannel(colors);
  for (std::size_t i = 0; i < colors.size(); ++i)
    EXPECT_EQ(std::bit_cast<std::uint32_t>(colors[i]), std::bit_cast<std::uint32_t>(cases[i].Out)) << i;

  EXPECT_EQ(TdxFadingHelper::CheckColor(clBlack), static_cast<TColor>(RGB(1, 1, 1)));
  EXPECT_EQ(TdxFadingHelper::CheckColor(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(TdxFadingHelper::CheckColor(static_cast<TColor>(RGB(0, 0, 1))), static_cast<TColor>(RGB(0, 0, 1)));

  // In a fade, a black pixel without alpha shows what lies beneath, and
  // fades to the other look as a pixel blended over that background would.
  TFadingTestPart* part = NewPart();
  part->Normal[0] = 0;
  part->FadeIn();
  RunTicks([&] { return !part->Active(); });
  const int count = TdxFadingOptions::DefaultFadeInFrameCount;
  ASSERT_EQ(part->Frames.size(), static_cast<std::size_t>(count + 2));
  EXPECT_EQ(part->Frames[0].Pixels[0], static_cast<std::uint32_t>(RGB(0x40, 0x90, 0x20)))
      << "the background, read back as BGR";
  EXPECT_EQ(part->Frames[0].Pixels[1], part->Normal[1]);
  for (int s = 1; s <= count; ++s) {
    SCOPED_TRACE(testing::Message() << "frame " << s);
    const TPixels background(1, static_cast<std::uint32_t>(RGB(0x40, 0x90, 0x20)));
    const TPixels hot(1, part->Hot[0]);
    const double weight = static_cast<double>(s) / count;
    TPixels expected(1, 0);
    for (int shift : {0, 8, 16})
      expected[0] |= static_cast<std::uint32_t>(std::lround(((background[0] >> shift) & 0xFF) * (1 - weight) +
                                                            ((hot[0] >> shift) & 0xFF) * weight))
                     << shift;
    EXPECT_LE(MaxChannelDifference(TPixels(1, part->Frames[static_cast<std::size_t>(s)].Pixels[0]), expected), 1);
  }
}

}  // namespace
