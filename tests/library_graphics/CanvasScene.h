// One scene drawn through the abstract canvas, the same on every back end:
// fills, frames, dashed lines, ellipses, a path, a gradient, a PNG with
// alpha, text in two fonts, a clipped fill and a world transform. The
// comparison test of the back ends and the back-end benchmark share it.
//
// Classes in this file:
//   TCanvasSceneAssets   the picture and fonts the scene draws with
#pragma once

#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <vector>

constexpr int CanvasSceneWidth = 200;
constexpr int CanvasSceneHeight = 120;

// Where each part of the scene lies, for comparing back ends part by part.
namespace CanvasSceneParts {
inline const TRect Fill(4, 4, 44, 24);
inline const TRect Frame(50, 4, 90, 24);
inline const TRect SolidLine(2, 27, 99, 32);
inline const TRect DashedLines(2, 33, 99, 42);
inline const TRect Ellipse(3, 43, 45, 75);   // the outline straddles the edge
inline const TRect Path(50, 44, 90, 74);
inline const TRect Gradient(100, 4, 196, 24);
inline const TRect Picture(100, 28, 132, 60);
inline const TRect Clipped(140, 28, 196, 60);
inline const TRect Transformed(140, 64, 196, 116);
// Direct2D draws text half a pixel up and left of its box.
inline const TRect RegularText(2, 79, 134, 97);
inline const TRect BoldText(2, 97, 134, 119);
}  // namespace CanvasSceneParts

// Two families that GDI and DirectWrite both find here (Wine's DirectWrite
// knows only the fonts installed on the system, not its own Tahoma), and a
// 32 x 32 PNG read back from its bytes: opaque red on the left half,
// half-transparent blue on the right, a fully transparent bottom quarter.
class TCanvasSceneAssets {
 public:
  TCanvasSceneAssets() : FRegular(New<TFont>()), FBold(New<TFont>()) {
    std::vector<RGBQUAD> bits(32 * 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        bits[y * 32 + x] = y >= 24  ? RGBQUAD{0, 0, 0, 0}
                           : x < 16 ? RGBQUAD{0, 0, 255, 255}
                                    : RGBQUAD{128, 0, 0, 128};   // premultiplied blue at half
    const TOwned<TdxSmartImage> source(New<TdxSmartImage>());
    source->CreateFromBits(32, 32, bits.data(), afPremultiplied);
    const TOwned<TMemoryStream> png(New<TMemoryStream>());
    const TOwned<TdxPNGImage> encoder(New<TdxPNGImage>());
    encoder->Assign(source.get());
    encoder->SaveToStream(png.get());
    png->SetPosition(0);
    FPicture.reset(NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateFromStream(png.get()); }));
    FRegular->SetName(L"DejaVu Sans");
    FRegular->SetHeight(-12);
    FBold->SetName(L"DejaVu Serif");
    FBold->SetHeight(-15);
    FBold->SetStyle(TFontStyles{fsBold});
  }

  TdxSmartImage* Picture() const { return FPicture.get(); }
  TFont* Regular() const { return FRegular.get(); }
  TFont* Bold() const { return FBold.get(); }

 private:
  TOwned<TdxSmartImage> FPicture;
  TOwned<TFont> FRegular;
  TOwned<TFont> FBold;
};

inline void DrawCanvasText(TcxCustomCanvas* ACanvas, TFont* AFont, const String& AText, const TRect& R) {
  const TOwned<TcxCanvasBasedTextLayout> layout = ACanvas->CreateTextLayout();
  layout->SetFont(AFont);
  layout->SetColor(TdxAlphaColor{0xFF000000});
  layout->SetText(AText);
  layout->SetLayoutConstraints(R);
  layout->Draw(R);
}

// The scene on a white target.
inline void DrawCanvasScene(TcxCustomCanvas* ACanvas, const TCanvasSceneAssets& AAssets) {
  namespace P = CanvasSceneParts;
  ACanvas->FillRect(P::Fill, TdxAlphaColor{0xFFC02020});
  ACanvas->FrameRect(P::Frame, TdxAlphaColor{0xFF2020C0}, 2);
  ACanvas->Line(TPoint(4, 29), TPoint(96, 29), TdxAlphaColor{0xFF000000}, 1, psSolid);
  ACanvas->Line(TPoint(4, 35), TPoint(96, 35), TdxAlphaColor{0xFF000000}, 1, psDash);
  ACanvas->Line(TPoint(4, 39), TPoint(96, 39), TdxAlphaColor{0xFF000000}, 1, psDot);

  ACanvas->Ellipse(TRect(4, 44, 44, 74), TdxAlphaColor{0xFF20A020}, TdxAlphaColor{0xFF000000});

  const TOwned<TcxCanvasBasedBrush> pathBrush = ACanvas->CreateBrush(TdxAlphaColor{0xFF2060C0});
  const TOwned<TcxCanvasBasedPath> path = ACanvas->CreatePath();
  path->AddPolyline(std::vector<TdxPointF>{{50, 74}, {70, 44}, {90, 74}});
  path->FigureClose();
  ACanvas->Path(path.get(), pathBrush.get(), nullptr);

  ACanvas->FillRectByGradient(P::Gradient, TdxAlphaColor{0xFFFF0000}, TdxAlphaColor{0xFF0000FF},
                              Gdiplus::LinearGradientModeHorizontal);
  ACanvas->DrawImage(AAssets.Picture(), P::Picture);

  ACanvas->SaveClipRegion();
  ACanvas->IntersectClipRect(TRect(150, 36, 186, 52));
  ACanvas->FillRect(P::Clipped, TdxAlphaColor{0xFF008080});
  ACanvas->RestoreClipRegion();

  // A 10 x 10 square scaled by two and moved into its part.
  ACanvas->SaveWorldTransform();
  ACanvas->ModifyWorldTransform(XFORM{2, 0, 0, 2, 148, 70});
  ACanvas->FillRect(TRect(0, 0, 10, 10), TdxAlphaColor{0xFF804000});
  ACanvas->FillRect(TRect(12, 6, 20, 20), TdxAlphaColor{0xFF408000});
  ACanvas->RestoreWorldTransform();

  DrawCanvasText(ACanvas, AAssets.Regular(), L"Regular text, 12px", TRect(4, 80, 134, 96));
  DrawCanvasText(ACanvas, AAssets.Bold(), L"Bold text 15", TRect(4, 98, 134, 118));
}
