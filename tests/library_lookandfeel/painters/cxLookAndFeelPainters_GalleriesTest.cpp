#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using P = TcxCustomLookAndFeelPainter;

// AColor over R at the constant AAlpha, blended by the system.
void GdiAlphaFill(HDC DC, const TRect& R, COLORREF AColor, std::uint8_t AAlpha) {
  TPixelSurface source(1, 1, AColor);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, AAlpha, 0};
  AlphaBlend(DC, R.Left, R.Top, R.Width(), R.Height(), source.DC(), 0, 0, 1, 1, blend);
}

// ---------------------------------------------------------------------------
// Gallery items

struct TGalleryRow {
  const char* Name;
  TdxGalleryItemViewState State;
  std::uint8_t Alpha;  // 0: no fill
  int FrameBrightness;  // a change of the frame colour's brightness
  COLORREF Frame;       // used when FrameBrightness is 0; CLR_NONE: no frame
};

TEST(Galleries, ItemSelectionFillsAndFramesByState) {
  const COLORREF frame = RGB(125, 162, 206);
  const auto brighter = [&](int APercent) {
    return static_cast<COLORREF>(ChangeColorBrightness(static_cast<TColor>(frame), APercent));
  };
  // Enabled, Checked, Hover, Pressed, Focused.
  const TGalleryRow rows[] = {
      {"only enabled", {true, false, false, false, false}, 0, 0, CLR_NONE},
      {"hot", {true, false, true, false, false}, 32, 0, RGB(184, 214, 251)},
      {"pressed", {true, false, true, true, false}, 64, 20, 0},
      {"focused", {true, false, false, false, true}, 0, 0, frame},
      {"checked", {true, true, false, false, false}, 16, 80, 0},
      {"checked and hot", {true, true, true, false, false}, 96, 10, 0},
      {"checked and pressed", {true, true, false, true, false}, 128, -20, 0},
      {"checked and focused", {true, true, false, false, true}, 16, 0, frame},
      {"pressed and focused", {true, false, false, true, true}, 64, 0, frame},
  };
  const TRect r(5, 4, 37, 26);
  for (const TGalleryRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(42, 30, Bg);
    UltraFlatPainter()->DrawGalleryItemSelection(canvas.Get(), r, row.State);
    TPixelSurface reference(42, 30, Bg);
    if (row.Alpha != 0) GdiAlphaFill(reference.DC(), r, RGB(1, 40, 88), row.Alpha);
    const COLORREF frameColor = row.FrameBrightness != 0 ? brighter(row.FrameBrightness) : row.Frame;
    if (frameColor != CLR_NONE) GdiFrame(reference.DC(), r, frameColor, 2);
    EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 1) << canvas.Surface.Picture(Bg);
    if (row.Alpha == 0 && frameColor == CLR_NONE) {
      EXPECT_EQ(canvas.Surface.Count(Bg), 42 * 30);
    }
  }
}

TEST(Galleries, ColorGalleryItemsGetTwoFramesWhileActive) {
  struct TRow {
    const char* Name;
    TdxGalleryItemViewState State;
    COLORREF Outer;  // CLR_NONE: nothing drawn
  };
  const TRow rows[] = {
      {"only enabled", {true, false, false, false, false}, CLR_NONE},
      {"disabled", {false, false, false, false, false}, CLR_NONE},
      {"checked beats pressed", {true, true, true, true, true}, RGB(239, 72, 16)},
      {"pressed beats hot", {true, false, true, true, false}, RGB(239, 34, 0)},
      {"hot", {true, false, true, false, false}, RGB(242, 148, 54)},
      {"focused", {true, false, false, false, true}, RGB(242, 148, 54)},
  };
  const TRect r(3, 2, 21, 19);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(24, 22, Bg);
    UltraFlatPainter()->DrawColorGalleryItemSelection(canvas.Get(), r, row.State);
    TPixelSurface reference(24, 22, Bg);
    if (row.Outer != CLR_NONE) {
      GdiFrame(reference.DC(), r, row.Outer);
      GdiFrame(reference.DC(), TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), RGB(255, 226, 148));
    }
    EXPECT_EQ(MaxChannelDifference(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(Galleries, BackgroundIsWhiteAndTheImageFrameIsTheShadow) {
  TCanvasOnSurface canvas(20, 20, Bg);
  UltraFlatPainter()->DrawGalleryBackground(canvas.Get(), TRect(0, 0, 20, 10));
  UltraFlatPainter()->DrawGalleryItemImageFrame(canvas.Get(), TRect(2, 11, 18, 19));
  EXPECT_EQ(canvas.Surface.Count(TRect(0, 0, 20, 10), RGB(255, 255, 255)), 200);
  EXPECT_EQ(RingCount(canvas.Surface, TRect(2, 11, 18, 19), Sys(COLOR_BTNSHADOW)), RingLength(TRect(2, 11, 18, 19)));
  EXPECT_EQ(canvas.Surface.Count(Bg), 400 - 200 - RingLength(TRect(2, 11, 18, 19)));
}

// ---------------------------------------------------------------------------
// Images with state bands, against GDI+ drawing the same resource

// A PNG of the program's resources, decoded by GDI+.
class TResourceImage {
 public:
  explicit TResourceImage(const wchar_t* AName) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC info = FindResourceW(module, AName, L"PNG");
    if (!info) return;
    const DWORD size = SizeofResource(module, info);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), LockResource(LoadResource(module, info)), size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) return;
    GdipLoadImageFromStream(stream, &FImage);
    stream->Release();
    UINT width = 0, height = 0;
    if (FImage) {
      GdipGetImageWidth(FImage, &width);
      GdipGetImageHeight(FImage, &height);
    }
    Width = static_cast<int>(width);
    Height = static_cast<int>(height);
  }
  ~TResourceImage() {
    if (FImage) GdipDisposeImage(FImage);
  }
  TResourceImage(const TResourceImage&) = delete;
  TResourceImage& operator=(const TResourceImage&) = delete;

  // The source rectangle at 1:1 to (X, Y) of DC.
  void Draw(HDC DC, int X, int Y, const TRect& ASource) const {
    GpGraphics* graphics = nullptr;
    GdipCreateFromHDC(DC, &graphics);
    GdipDrawImageRectRectI(graphics, FImage, X, Y, ASource.Width(), ASource.Height(), ASource.Left, ASource.Top,
                           ASource.Width(), ASource.Height(), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    GdipDeleteGraphics(graphics);
  }

  int Width = 0;
  int Height = 0;

 private:
  GpImage* FImage = nullptr;
};

struct TBandCase {
  const char* Name;
  int Band;
  std::function<void(TcxCanvas*, const TRect&)> Draw;
};

// Each case draws its band at 1:1 into (3, 2) as GDI+ draws that band of the
// resource.
void ExpectBands(const TResourceImage& AImage, int ABandCount, const std::vector<TBandCase>& ACases) {
  ASSERT_GT(AImage.Height, 0) << "the resource is there";
  const int height = AImage.Height / ABandCount;
  const TRect target(3, 2, 3 + AImage.Width, 2 + height);
  for (const TBandCase& row : ACases) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(AImage.Width + 6, height + 4, Bg);
    row.Draw(canvas.Get(), target);
    TPixelSurface reference(AImage.Width + 6, height + 4, Bg);
    AImage.Draw(reference.DC(), 3, 2, TRect(0, row.Band * height, AImage.Width, (row.Band + 1) * height));
    EXPECT_LE(MaxChannelDifference(canvas.Surface, reference), 2) << canvas.Surface.Picture(Bg);
    EXPECT_GT(canvas.Surface.CountOther(target, Bg), 0) << "something drawn";
  }
}

TEST(ImageStrips, TheBackButtonShowsTheBandOfItsStateDefaultAsNormal) {
  const TResourceImage image(L"CX_BACKBUTTON");
  P* painter = UltraFlatPainter();
  EXPECT_EQ(painter->GetBackButtonSize(), TSize(image.Width, image.Height / 4));
  for (const TScale& scale : Scales) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    EXPECT_EQ(painter->GetScaledBackButtonSize(factor.get()), factor->Apply(TSize(image.Width, image.Height / 4)));
  }
  const auto state = [painter](TcxButtonState AState) {
    // The factor sizes the button only; the band is the same.
    return [painter, AState](TcxCanvas* ACanvas, const TRect& R) {
      const TOwned<TdxScaleFactor> factor = ScaleFactorOf(2, 1);
      painter->DrawScaledBackButton(ACanvas, R, AState, factor.get());
    };
  };
  ExpectBands(image, 4,
              {{"default", 0, state(cxbsDefault)},
               {"normal", 0, state(cxbsNormal)},
               {"hot", 1, state(cxbsHot)},
               {"pressed", 2, state(cxbsPressed)},
               {"disabled", 3, state(cxbsDisabled)}});
}

TEST(ImageStrips, TheRatingIndicatorBandsAreUncheckedHoverChecked) {
  const TResourceImage image(L"CX_RATINGCONTROLINDICATOR");
  P* painter = UltraFlatPainter();
  EXPECT_EQ(painter->GetRatingControlIndicatorSize(), TSize(image.Width, image.Height / 3));
  const auto state = [painter](TdxRatingControlIndicatorState AState) {
    return [painter, AState](TcxCanvas* ACanvas, const TRect& R) {
      painter->DrawRatingControlIndicator(ACanvas, R, AState);
    };
  };
  ExpectBands(image, 3,
              {{"unchecked", 0, state(rcisUnchecked)}, {"hover", 1, state(rcisHover)}, {"checked", 2, state(rcisChecked)}});
}

TEST(ImageStrips, TheFixedGroupIndicatorIsTheWholeImage) {
  const TResourceImage image(L"CX_FIXEDGROUPINDICATOR");
  P* painter = UltraFlatPainter();
  EXPECT_EQ(painter->GetFixedGroupIndicatorSize(), TSize(image.Width, image.Height));
  ExpectBands(image, 1,
              {{"image", 0, [painter](TcxCanvas* ACanvas, const TRect& R) {
                  painter->DrawFixedGroupIndicator(ACanvas, R);
                }}});
}

// ---------------------------------------------------------------------------
// Wheel picker

TEST(WheelPicker, HotAndPressedItemsAreFramedFills) {
  struct TRow {
    TcxButtonState State;
    COLORREF Fill;
    COLORREF Border;
  };
  const TRow rows[] = {{cxbsHot, RGB(239, 240, 242), RGB(217, 217, 217)},
                       {cxbsPressed, RGB(226, 234, 253), RGB(188, 201, 231)}};
  const TRect r(2, 3, 30, 17);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(32, 20, Bg);
    UltraFlatPainter()->DrawWheelPickerItem(canvas.Get(), r, row.State);
    TPixelSurface reference(32, 20, Bg);
    GdiFill(reference.DC(), r, row.Fill);
    GdiFrame(reference.DC(), r, row.Border);
    EXPECT_EQ(MaxChannelDifference(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
  // Other states leave the item its own colour.
  EXPECT_EQ(UltraFlatPainter()->GetWheelPickerFillItemColor(cxbsNormal), clDefault);
  EXPECT_EQ(UltraFlatPainter()->GetWheelPickerBorderItemColor(cxbsDisabled), clDefault);
}

// ---------------------------------------------------------------------------
// Token glyph

TEST(Tokens, TheCloseGlyphIsASevenPixelCrossTwoPixelsThickInTheTextColour) {
  const TRect r(4, 3, 20, 17);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(24, 20, Bg);
    UltraFlatPainter()->DrawScaledTokenCloseGlyph(canvas.Get(), r, state, DefaultScaleFactor());
    // The two diagonals of a 7 x 7 square and the same one column right,
    // the square centred in r and one pixel down and right while pressed.
    const COLORREF color = state == cxbsDisabled ? Sys(COLOR_BTNSHADOW)
                           : state == cxbsPressed ? Sys(COLOR_HIGHLIGHTTEXT)
                                                  : Sys(COLOR_BTNTEXT);
    TPixelSurface reference(24, 20, Bg);
    const int shift = state == cxbsPressed ? 1 : 0;
    const int left = (4 + 20 - 7) / 2 + shift, top = (3 + 17 - 7) / 2 + shift;
    for (int k = 0; k < 7; ++k)
      for (int column = 0; column < 2; ++column) {
        SetPixel(reference.DC(), left + column + k, top + k, color);
        SetPixel(reference.DC(), left + column + k, top + 6 - k, color);
      }
    EXPECT_EQ(MaxChannelDifference(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n"
                                                                  << reference.Picture(Bg);
  }
}

TEST(Tokens, GlyphSizesScale) {
  for (const TScale& scale : Scales) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    SCOPED_TRACE(scale.Numerator * 100 / scale.Denominator);
    const auto scaled = [&](int AValue) {
      return static_cast<int>(std::lround(AValue * static_cast<double>(scale.Numerator) / scale.Denominator));
    };
    P* painter = UltraFlatPainter();
    EXPECT_EQ(painter->GetScaledTokenCloseGlyphSize(factor.get()), TSize(scaled(12), scaled(11)));
    EXPECT_EQ(painter->GetScaledTokenDefaultGlyphSize(factor.get()), TSize(scaled(12), scaled(12)));
    EXPECT_EQ(painter->GetScaledTokenContentOffsets(factor.get()), TRect(scaled(3), scaled(3), scaled(3), scaled(3)));
  }
}

}  // namespace
