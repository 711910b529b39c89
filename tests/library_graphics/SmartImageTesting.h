// Shared pieces of the smart-image tests: the image fixtures the test
// program carries as resources (SmartImageFixtures.rc, made by make-images),
// their reference decodes, and streams over bytes.
#pragma once

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a fixture ("png32.png", the resource PNG32_PNG); empty when there is none.
std::string FixtureBytes(const String& AName);
// A memory stream over a copy of the bytes, at position 0.
TOwned<TMemoryStream> StreamOf(const std::string& ABytes);
TOwned<TMemoryStream> FixtureStream(const String& AName);
std::string BytesOf(TCustomMemoryStream* AStream);

// A straight RGBA pixel (red in the lowest byte, as the .rgba files hold them).
struct TRgbaPixel {
  std::uint8_t R, G, B, A;
};
// The reference decode of a fixture (its NAME.rgba), top row first.
std::vector<TRgbaPixel> ReferencePixels(const String& AFixture);
// The pixels of a decoded GDI+ handle as straight RGBA, top row first.
std::vector<TRgbaPixel> StraightPixels(TdxGPImageHandle* AHandle);
// The largest difference of any channel; colours of pixels that are fully
// transparent in both are not compared.
int MaxChannelDifference(const std::vector<TRgbaPixel>& A, const std::vector<TRgbaPixel>& B);

// A smart image of class T made from a stream (from its position) or a fixture.
template <class T = TdxSmartImage>
TOwned<T> LoadImage(TStream* AStream) {
  return TOwned<T>(NewWith<T>([&](T* AImage) { AImage->CreateFromStream(AStream); }));
}
template <class T = TdxSmartImage>
TOwned<T> LoadFixture(const String& AName) {
  return LoadImage<T>(FixtureStream(AName).get());
}
