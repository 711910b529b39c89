// The fast pixel buffers: the shared pixel operations of TdxCustomFastDIB
// and the two kinds of pixel memory, a GDI DIB section and a GDI+ bitmap.
#include "library/graphics/imaging/dxPixelBuffers.h"

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <bit>

// ---------------------------------------------------------------------------
// TdxCustomFastDIB

void TdxCustomFastDIB::Create(int AWidth, int AHeight, bool AClear) {
  inherited::Create();
  SetSize(AWidth, AHeight);
  if (AClear) Clear();
}

void TdxCustomFastDIB::Create(const TRect& R, bool AClear) { Create(R.Width(), R.Height(), AClear); }

void TdxCustomFastDIB::Create(const TSize& S, bool AClear) { Create(S.cx, S.cy, AClear); }

void TdxCustomFastDIB::Destroy() {
  FreeHandle();
  inherited::Destroy();
}

void TdxCustomFastDIB::SetSize(int AWidth, int AHeight) {
  FWidth = std::max(AWidth, 0);
  FHeight = std::max(AHeight, 0);
  if (Empty()) return;
  // A buffer whose pixel memory could not be had is left empty rather than
  // sized without pixels.
  TScopeExit empty([this] { FWidth = FHeight = 0; });
  CreateHandle();
  empty.Dismiss();
}

void TdxCustomFastDIB::Resize(int AWidth, int AHeight) {
  if (std::max(AWidth, 0) == FWidth && std::max(AHeight, 0) == FHeight) return;
  FreeHandle();
  SetSize(AWidth, AHeight);
}

void TdxCustomFastDIB::Resize(const TRect& R) { Resize(R.Width(), R.Height()); }

std::span<RGBQUAD> TdxCustomFastDIB::Pixels() const {
  if (!FBits) return {};
  return {FBits, static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight)};
}

bool TdxCustomFastDIB::Equals(const TdxCustomFastDIB* ASource, int ACompareTolerance) const {
  if (!ASource || ASource->FWidth != FWidth || ASource->FHeight != FHeight) return false;
  const std::span<RGBQUAD> own = Pixels();
  const std::span<RGBQUAD> other = ASource->Pixels();
  return std::equal(own.begin(), own.end(), other.begin(), other.end(), [&](const RGBQUAD& A, const RGBQUAD& B) {
    return IsSameColorWithTolerance(std::bit_cast<TdxAlphaColor>(A), std::bit_cast<TdxAlphaColor>(B),
                                    ACompareTolerance);
  });
}

RGBQUAD* TdxCustomFastDIB::GetPixel(int X, int Y) const {
  if (X < 0 || X >= FWidth || Y < 0 || Y >= FHeight)
    throw EInvalidArgument(L"The %d.%d point is our of bounds", {X, Y});
  return FBits + static_cast<std::ptrdiff_t>(Y) * FWidth + X;
}

void TdxCustomFastDIB::Fill(int X, int Y, TdxAlphaColor AColor, int ACompareTolerance) {
  const TdxAlphaColor seed = std::bit_cast<TdxAlphaColor>(*GetPixel(X, Y));
  if (seed == AColor) return;
  const RGBQUAD fill = std::bit_cast<RGBQUAD>(AColor);
  // Whether a pixel takes the fill colour when the fill reaches it.
  const auto takes = [&](std::size_t AIndex) {
    const TdxAlphaColor color = std::bit_cast<TdxAlphaColor>(FBits[AIndex]);
    return color != AColor && IsSameColorWithTolerance(color, seed, ACompareTolerance);
  };
  const auto width = static_cast<std::size_t>(FWidth);
  const auto height = static_cast<std::size_t>(FHeight);
  const std::size_t start = static_cast<std::size_t>(Y) * width + static_cast<std::size_t>(X);
  if (!takes(start)) return;
  FBits[start] = fill;

  // The visits of a recursive fill (left, right, above, below) on a stack of
  // our own, which may grow to the filled area: each frame is a pixel index
  // shifted left by 3 plus the number of neighbours already visited.
  constexpr std::uint64_t Visited = 4;
  std::vector<std::uint64_t> stack{std::uint64_t{start} << 3};
  while (!stack.empty()) {
    std::uint64_t& frame = stack.back();
    const std::uint64_t next = frame & 7;
    if (next == Visited) {
      stack.pop_back();
      continue;
    }
    ++frame;
    const auto index = static_cast<std::size_t>(frame >> 3);
    const std::size_t column = index % width;
    const std::size_t row = index / width;
    std::size_t neighbour;
    switch (next) {
      case 0:
        if (column == 0) continue;
        neighbour = index - 1;
        break;
      case 1:
        if (column + 1 == width) continue;
        neighbour = index + 1;
        break;
      case 2:
        if (row == 0) continue;
        neighbour = index - width;
        break;
      default:
        if (row + 1 == height) continue;
        neighbour = index + width;
        break;
    }
    if (!takes(neighbour)) continue;
    FBits[neighbour] = fill;
    stack.push_back(std::uint64_t{neighbour} << 3);
  }
}

void TdxCustomFastDIB::MakeOpaque() {
  for (RGBQUAD& pixel : Pixels()) pixel.rgbReserved = 255;
}

void TdxCustomFastDIB::MakeTransparent(TdxAlphaColor ATransparentColor) {
  for (RGBQUAD& pixel : Pixels())
    if (std::bit_cast<TdxAlphaColor>(pixel) == ATransparentColor) pixel = RGBQUAD{};
}

void TdxCustomFastDIB::MakeTransparent(TdxAlphaColor ATransparentColor, int ACompareTolerance) {
  if (ACompareTolerance < 0) return;
  for (RGBQUAD& pixel : Pixels())
    if (IsSameColorWithTolerance(std::bit_cast<TdxAlphaColor>(pixel), ATransparentColor, ACompareTolerance))
      pixel = RGBQUAD{};
}

void TdxCustomFastDIB::ChangeColor(TColor AColor) {
  if (AColor == clNone || AColor == clDefault || Empty()) return;
  ColorizePixels(Pixels(), AColor);
}

// ---------------------------------------------------------------------------
// TdxFastDIB

void TdxFastDIB::CreateHandle() {
  TMemoryDC memory = TMemoryDC::Dib32(nullptr, Width(), Height());
  if (!memory) RaiseGraphicsApiError(L"CreateDIBSection");
  FBits = reinterpret_cast<RGBQUAD*>(memory.Bits());
  FMemory.emplace(std::move(memory));
}

void TdxFastDIB::FreeHandle() {
  FMemory.reset();
  FBits = nullptr;
}

void TdxFastDIB::Clear() {
  if (!FMemory) return;
  const RECT bounds = ClientRect();
  ::FillRect(DC(), &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // The pixels are read directly next; nothing may wait in GDI's batch.
  GdiFlush();
}

// ---------------------------------------------------------------------------
// TdxGpFastDIB

void TdxGpFastDIB::CreateHandle() {
  if (!TdxGdiPlusLibrary::IsLoaded()) throw EdxGdipException(Gdiplus::GdiplusNotInitialized);
  auto memory = std::make_unique<RGBQUAD[]>(static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()));
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(Width(), Height(), Width() * static_cast<int>(sizeof(RGBQUAD)),
                                            PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(memory.get()), &bitmap));
  FHandle.Reset(bitmap);
  TdxGdiPlusLibrary::Acquire();
  FAcquired = true;
  FMemory = std::move(memory);
  FBits = FMemory.get();
}

void TdxGpFastDIB::FreeHandle() {
  FHandle.Reset();
  FMemory.reset();
  FBits = nullptr;
  if (std::exchange(FAcquired, false)) TdxGdiPlusLibrary::Release();
}

void TdxGpFastDIB::Clear() {
  if (!FHandle) return;
  TdxGpOwnedGraphics graphics;
  CheckGdipStatus(GdipGetImageGraphicsContext(FHandle.Get(), graphics.Receive()));
  CheckGdipStatus(GdipSetCompositingMode(graphics.Get(), Gdiplus::CompositingModeSourceCopy));
  const IPtr<IdxGPHandle> brush = TdxGPResourceManager::GetSolidBrush(TdxAlphaColor{0});
  CheckGdipStatus(
      GdipFillRectangleI(graphics.Get(), static_cast<GpBrush*>(brush->GetNativeHandle()), 0, 0, Width(), Height()));
}

TdxGPCanvas* TdxGpFastDIB::CreateCanvas() {
  TdxGpOwnedGraphics graphics;
  CheckGdipStatus(GdipGetImageGraphicsContext(FHandle.Get(), graphics.Receive()));
  return New<TdxGPCanvas>(graphics.Release());
}
