#include "tests/library_graphics/SmartImageTesting.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

std::string FixtureBytes(const String& AName) {
  String resourceName = UpperCase(AName);
  std::replace(resourceName.begin(), resourceName.end(), L'.', L'_');
  std::replace(resourceName.begin(), resourceName.end(), L'-', L'_');
  HRSRC resource = FindResourceW(nullptr, resourceName.c_str(), L"FIXTURE");
  if (!resource) return {};
  const HGLOBAL data = LoadResource(nullptr, resource);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, resource));
}

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  if (!ABytes.empty()) stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

TOwned<TMemoryStream> FixtureStream(const String& AName) { return StreamOf(FixtureBytes(AName)); }

std::string BytesOf(TCustomMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

std::vector<TRgbaPixel> ReferencePixels(const String& AFixture) {
  const std::string bytes = FixtureBytes(ChangeFileExt(AFixture, L".rgba"));
  std::vector<TRgbaPixel> pixels(bytes.size() / 4);
  std::memcpy(pixels.data(), bytes.data(), pixels.size() * 4);
  return pixels;
}

std::vector<TRgbaPixel> StraightPixels(TdxGPImageHandle* AHandle) {
  const TSize size = AHandle->Size();
  std::vector<TRgbaPixel> pixels;
  Gdiplus::BitmapData data =
      AHandle->LockBits(TRect(0, 0, size.cx, size.cy), Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
  for (int y = 0; y < size.cy; ++y) {
    const auto* row = reinterpret_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
    for (int x = 0; x < size.cx; ++x, row += 4) pixels.push_back({row[2], row[1], row[0], row[3]});
  }
  AHandle->UnlockBits(data);
  return pixels;
}

int MaxChannelDifference(const std::vector<TRgbaPixel>& A, const std::vector<TRgbaPixel>& B) {
  if (A.size() != B.size()) return 256;
  int result = 0;
  for (std::size_t i = 0; i < A.size(); ++i) {
    result = std::max(result, std::abs(A[i].A - B[i].A));
    if (A[i].A == 0 && B[i].A == 0) continue;
    result = std::max({result, std::abs(A[i].R - B[i].R), std::abs(A[i].G - B[i].G), std::abs(A[i].B - B[i].B)});
  }
  return result;
}
