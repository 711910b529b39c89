// TIcon: an icon handle, loaded from .ico data that is kept and saved back
// unchanged; an icon given as a handle is saved as a one-image 32-bit file.
#include "platform/ui/Graphics.h"

#include <cstring>
#include <limits>

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(L"Symbol ist ungültig"); }

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put32(std::vector<std::uint8_t>& AOut, std::uint32_t AValue) {
  for (int i = 0; i < 4; ++i) AOut.push_back(static_cast<std::uint8_t>(AValue >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& AOut, std::uint16_t AValue) {
  AOut.push_back(static_cast<std::uint8_t>(AValue));
  AOut.push_back(static_cast<std::uint8_t>(AValue >> 8));
}

// Size of an icon handle from its bitmaps.
SIZE IconSize(HICON AIcon) {
  ICONINFO info{};
  SIZE size{0, 0};
  if (!GetIconInfo(AIcon, &info)) return size;
  const TOwnedBitmap color(info.hbmColor), mask(info.hbmMask);  // made for the caller
  BITMAP bm{};
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
    size = {bm.bmWidth, bm.bmHeight};
  } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof(bm), &bm)) {
    size = {bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon stacks AND and XOR
  }
  return size;
}

}  // namespace

void TIcon::Create() { inherited::Create(); }

void TIcon::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

void TIcon::SetWidth(int AValue) {
  if (FHandle) {
    if (AValue == FWidth) return;
    throw EInvalidGraphicOperation(L"Die Größe eines Symbols kann nicht geändert werden");
  }
  FRequestedWidth = FWidth = std::max(0, AValue);
}

void TIcon::SetHeight(int AValue) {
  if (FHandle) {
    if (AValue == FHeight) return;
    throw EInvalidGraphicOperation(L"Die Größe eines Symbols kann nicht geändert werden");
  }
  FRequestedHeight = FHeight = std::max(0, AValue);
}

void TIcon::SetHandle(HICON AValue) {
  if (AValue == FHandle.Get()) return;
  SIZE size{0, 0};
  if (AValue) {
    size = IconSize(AValue);
    if (size.cx <= 0 || size.cy <= 0) throw EInvalidGraphic(L"Ungültiges Symbol-Handle");
  }
  FHandle.Reset(AValue);
  FWidth = size.cx;
  FHeight = size.cy;
  FData.clear();
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON handle = FHandle.Release();
  FWidth = FRequestedWidth;
  FHeight = FRequestedHeight;
  FData.clear();
  return handle;
}

void TIcon::Assign(TPersistent* ASource) {
  if (!ASource) {
    FHandle.Reset();
    FData.clear();
    FWidth = FRequestedWidth;
    FHeight = FRequestedHeight;
    Changed(this);
    return;
  }
  auto* icon = dynamic_cast<TIcon*>(ASource);
  if (!icon) {
    inherited::Assign(ASource);
    return;
  }
  if (icon == this) return;
  TOwnedIcon copy;
  if (icon->FHandle) {
    copy.Reset(CopyIcon(icon->FHandle.Get()));
    if (!copy) RaiseGraphicsApiError(L"CopyIcon");
  }
  FHandle = std::move(copy);
  FWidth = icon->FWidth;
  FHeight = icon->FHeight;
  FRequestedWidth = icon->FRequestedWidth;
  FRequestedHeight = icon->FRequestedHeight;
  FData = icon->FData;
  Changed(this);
}

void TIcon::AssignTo(TPersistent* ADest) {
  auto* bitmap = dynamic_cast<TBitmap*>(ADest);
  if (!bitmap) {
    inherited::AssignTo(ADest);
    return;
  }
  if (!FHandle) {
    bitmap->Assign(nullptr);
    return;
  }
  // Drawn onto zeroed 32-bit pixels; the alpha channel holds the icon's shape.
  const TOwned<TBitmap> result(New<TBitmap>());
  result->SetPixelFormat(pf32bit);
  result->SetSize(FWidth, FHeight);
  DrawIconEx(result->Canvas()->Handle(), 0, 0, FHandle.Get(), FWidth, FHeight, 0, nullptr, DI_NORMAL);
  result->SetAlphaFormat(afDefined);
  bitmap->Assign(result.get());
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& ARect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->Handle(), ARect.Left, ARect.Top, FHandle.Get(), ARect.Width(), ARect.Height(), 0, nullptr,
             DI_NORMAL);
}

void TIcon::LoadFromIcoData(std::span<const std::uint8_t> AData) {
  // ICONDIR: reserved 0, type 1, count; then 16-byte entries.
  if (AData.size() < 6 || AData[0] != 0 || AData[1] != 0 || AData[2] != 1 || AData[3] != 0) InvalidIcon();
  const int count = AData[4] | (AData[5] << 8);
  if (count == 0 || AData.size() < 6 + 16 * static_cast<std::size_t>(count)) InvalidIcon();
  const int wantX = FRequestedWidth > 0 ? FRequestedWidth : GetSystemMetrics(SM_CXICON);
  const int wantY = FRequestedHeight > 0 ? FRequestedHeight : GetSystemMetrics(SM_CYICON);
  int best = -1;
  long bestScore = std::numeric_limits<long>::max();
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = AData.data() + 6 + 16 * i;
    const int w = e[0] ? e[0] : 256;
    const int h = e[1] ? e[1] : 256;
    const int bits = e[6] | (e[7] << 8);
    const std::uint32_t size = Le32(e + 8);
    const std::uint32_t offset = Le32(e + 12);
    if (size == 0 || offset > AData.size() || size > AData.size() - offset) InvalidIcon();
    // Closest size first, then the deepest colours.
    const long score = (std::abs(w - wantX) + std::abs(h - wantY)) * 64L - bits;
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  const std::uint8_t* e = AData.data() + 6 + 16 * best;
  const int w = e[0] ? e[0] : 256;
  const int h = e[1] ? e[1] : 256;
  const std::uint32_t size = Le32(e + 8);
  const std::uint32_t offset = Le32(e + 12);
  // The icon API takes a non-const pointer; give it a copy.
  std::vector<std::uint8_t> image(AData.begin() + offset, AData.begin() + offset + size);
  TOwnedIcon handle(CreateIconFromResourceEx(image.data(), size, TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR));
  if (!handle) InvalidIcon();
  const SIZE actual = IconSize(handle.Get());
  FHandle = std::move(handle);
  FWidth = actual.cx;
  FHeight = actual.cy;
  FData.assign(AData.begin(), AData.end());
  Changed(this);
}

std::vector<std::uint8_t> TIcon::SaveToIcoData() {
  if (!FHandle) return {};
  if (!FData.empty()) return FData;
  // One 32-bit image: header (double height), XOR pixels, AND mask.
  ICONINFO info{};
  if (!GetIconInfo(FHandle.Get(), &info)) RaiseGraphicsApiError(L"GetIconInfo");
  const TOwnedBitmap colorBitmap(info.hbmColor), maskBitmap(info.hbmMask);  // made for the caller
  const int w = FWidth;
  const int h = FHeight;
  std::vector<std::uint8_t> color(static_cast<std::size_t>(w) * 4 * static_cast<std::size_t>(h));
  const int maskStride = ((w + 31) / 32) * 4;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(maskStride) * static_cast<std::size_t>(h));
  const TScreenDC screen;
  const HDC dc = screen.Get();
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } bi{};
  bi.Header.biSize = sizeof(BITMAPINFOHEADER);
  bi.Header.biWidth = w;
  bi.Header.biHeight = h;
  bi.Header.biPlanes = 1;
  bi.Header.biBitCount = 32;
  bool ok = true;
  if (info.hbmColor) {
    ok = GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(h), color.data(), reinterpret_cast<BITMAPINFO*>(&bi),
                   DIB_RGB_COLORS) != 0;
  }
  bi.Header.biBitCount = 1;
  bi.Header.biClrUsed = 0;
  // The AND mask is the top half of a monochrome icon's mask.
  ok = ok && GetDIBits(dc, info.hbmMask, info.hbmColor ? 0 : static_cast<UINT>(h), static_cast<UINT>(h), mask.data(),
                       reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS) != 0;
  if (!ok) RaiseGraphicsApiError(L"GetDIBits");
  // An icon without alpha is opaque wherever the mask is clear.
  bool hasAlpha = false;
  for (std::size_t i = 3; i < color.size(); i += 4) hasAlpha = hasAlpha || color[i] != 0;
  if (!hasAlpha)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!(mask[static_cast<std::size_t>(y * maskStride + x / 8)] & (0x80 >> (x % 8))))
          color[static_cast<std::size_t>(y * w + x) * 4 + 3] = 255;

  const std::uint32_t imageSize = static_cast<std::uint32_t>(40 + color.size() + mask.size());
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<std::uint8_t>(w >= 256 ? 0 : w));
  out.push_back(static_cast<std::uint8_t>(h >= 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, imageSize);
  Put32(out, 6 + 16);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(w));
  Put32(out, static_cast<std::uint32_t>(h * 2));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  out.insert(out.end(), color.begin(), color.end());
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}
