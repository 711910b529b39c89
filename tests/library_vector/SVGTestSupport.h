// What the SVG tests share: trees from SVG text, and a 32-bit surface with
// straight-alpha pixels that a tree is drawn on.
#pragma once

#include "library/vector/dxSVGCore.h"
#include "library/vector/dxSVGImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The tree of the SVG text; nil when the text has no top-level svg element.
TOwned<TdxSVGElementRoot> ImportSVG(const std::string& AText);
// The tree written as SVG text (unindented).
std::string ExportSVG(TdxSVGElementRoot* ARoot);

// The element of the tree with that id (a test failure when there is none).
template <class T>
T* ElementByID(TdxSVGElementRoot* ARoot, const wchar_t* AID) {
  TdxSVGElement* element = nullptr;
  EXPECT_TRUE(ARoot->FindByID(AID, element)) << "no element";
  return dynamic_cast<T*>(element);
}

// A transparent 32-bit premultiplied GDI+ bitmap over memory the test reads,
// with a canvas on it (no antialiasing unless a test turns it on).
class TSVGSurface {
 public:
  TSVGSurface(int AWidth, int AHeight);
  ~TSVGSurface();
  TSVGSurface(const TSVGSurface&) = delete;
  TSVGSurface& operator=(const TSVGSurface&) = delete;

  TdxGPCanvas* Canvas() const { return FCanvas.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The tree's view box mapped onto the whole surface.
  void Draw(TdxSVGElementRoot* ARoot, IdxColorPalette* APalette = nullptr);
  // A pixel as a straight-alpha colour (0 outside the surface).
  TdxAlphaColor Pixel(int X, int Y) const;
  // Pixels of exactly that colour.
  int Count(TdxAlphaColor AColor) const;
  // The smallest rectangle holding every pixel with some alpha.
  TRect InkBounds() const;
  // Rows of characters: '.' transparent, '#' opaque, '+' partly covered.
  std::string Picture() const;

 private:
  int FWidth;
  int FHeight;
  std::vector<std::uint32_t> FPixels;
  TdxGpOwnedImage FBitmap;
  TOwned<TdxGPCanvas> FCanvas;
};

// Comparing pictures with reference images, as librsvg's reference tests
// do: a picture matches when at most 2 % of its pixels differ by more than
// 32 in a premultiplied channel.

// Premultiplied BGRA rows of a GDI+ bitmap.
std::vector<std::uint32_t> PremultipliedPixels(GpImage* AImage, TSize& ASize);
// Pixels that differ by more than 32 in some channel.
int DifferingPixels(const std::vector<std::uint32_t>& A, const std::vector<std::uint32_t>& B);
bool IsWithinReferenceTolerance(int ADiffering, std::size_t APixels);
// The SVG file through the codec; nil when it is no SVG.
TOwned<TdxSVGImageHandle> LoadPicture(const String& APath);
// The picture at ASize: its raster when that has the size, else the raster
// stretched onto a bitmap of it.
std::vector<std::uint32_t> Render(TdxSVGImageHandle* AHandle, const TSize& ASize);
