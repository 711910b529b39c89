// Scoped owners for GDI resources and the few window-system handles that go
// with them (icons, menus). Each one takes its resource in the constructor
// and gives it back in the destructor, in the order GDI needs (deselect
// before delete), so no paint path needs a catch block to clean up.
//
// Classes in this file:
//   TGdiObject<H>      owns a pen, brush, font, bitmap, region or palette (DeleteObject)
//   TOwnedDC           owns a DC made with CreateCompatibleDC/CreateDCW (DeleteDC)
//   TOwnedIcon         owns an icon or cursor made from data or copied (DestroyIcon)
//   TOwnedEnhMetaFile  owns an enhanced metafile (DeleteEnhMetaFile)
//   TOwnedMenu         owns a menu not attached to a window (DestroyMenu)
//   TWindowDC          a window's DC from GetDC/GetWindowDC (ReleaseDC)
//   TScreenDC          the screen's DC (GetDC(nullptr))
//   TSelectObject      selects a GDI object into a DC and puts the old one back
//   TSavedDC           SaveDC ... RestoreDC
//   TSavedWindowOrg    the window origin, set back at the end
//   TSavedWorldTransform  the world transform and graphics mode, set back at the end
//   TPaintScope        BeginPaint ... EndPaint, or the DC a WM_PRINTCLIENT brought
//   TMemoryDC          a memory DC with its own bitmap selected: compatible or 32-bit top-down DIB
//   TBitmapDC          a memory DC with a bitmap somebody else owns selected
//
// Borrowed handles stay plain HDC/HBRUSH/...: a function that takes an HDC
// never frees it. Declare an owned object before the TSelectObject that puts
// it into a DC: scopes end in reverse order, so it is deselected before it is
// deleted.
#pragma once

#include "platform/runtime/Handles.h"

#include <cstdint>
#include <type_traits>

template <class H>
using TGdiObject = TUniqueHandle<TFreedBy<H, &::DeleteObject>>;

using TOwnedPen = TGdiObject<HPEN>;
using TOwnedBrush = TGdiObject<HBRUSH>;
using TOwnedFont = TGdiObject<HFONT>;
using TOwnedBitmap = TGdiObject<HBITMAP>;
using TOwnedRegion = TGdiObject<HRGN>;
using TOwnedPalette = TGdiObject<HPALETTE>;

using TOwnedDC = TUniqueHandle<TFreedBy<HDC, &::DeleteDC>>;
using TOwnedIcon = TUniqueHandle<TFreedBy<HICON, &::DestroyIcon>>;
using TOwnedEnhMetaFile = TUniqueHandle<TFreedBy<HENHMETAFILE, &::DeleteEnhMetaFile>>;
using TOwnedMenu = TUniqueHandle<TFreedBy<HMENU, &::DestroyMenu>>;

// GetDC(AWnd) (or GetWindowDC with AWholeWindow) for a scope.
class [[nodiscard]] TWindowDC {
 public:
  explicit TWindowDC(HWND AWnd, bool AWholeWindow = false)
      : FWnd(AWnd), FDC(AWholeWindow ? ::GetWindowDC(AWnd) : ::GetDC(AWnd)) {}
  ~TWindowDC() {
    if (FDC) ::ReleaseDC(FWnd, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;

  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HWND FWnd;
  HDC FDC;
};

class TScreenDC : public TWindowDC {
 public:
  TScreenDC() : TWindowDC(nullptr) {}
};

// A null object selects nothing and puts nothing back. Regions and palettes
// have selections of their own (SelectClipRgn, SelectPalette): SelectObject
// answers no old object for a region, so they are refused here.
class [[nodiscard]] TSelectObject {
 public:
  TSelectObject(HDC ADC, HGDIOBJ AObject) : FDC(ADC), FOld(AObject ? ::SelectObject(ADC, AObject) : nullptr) {}
  template <class H>
    requires std::is_same_v<H, HRGN> || std::is_same_v<H, HPALETTE>
  TSelectObject(HDC, H) = delete;
  ~TSelectObject() {
    if (FOld && FOld != HGDI_ERROR) ::SelectObject(FDC, FOld);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

  HGDIOBJ Old() const { return FOld; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

class [[nodiscard]] TSavedDC {
 public:
  explicit TSavedDC(HDC ADC) : FDC(ADC), FSaved(ADC ? ::SaveDC(ADC) : 0) {}
  ~TSavedDC() {
    if (FSaved) ::RestoreDC(FDC, FSaved);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

  int Index() const { return FSaved; }

 private:
  HDC FDC;
  int FSaved;
};

// The window origin of a DC, set back when the scope ends.
class [[nodiscard]] TSavedWindowOrg {
 public:
  explicit TSavedWindowOrg(HDC ADC) : FDC(ADC) { ::GetWindowOrgEx(ADC, &FOrigin); }
  ~TSavedWindowOrg() { ::SetWindowOrgEx(FDC, FOrigin.x, FOrigin.y, nullptr); }
  TSavedWindowOrg(const TSavedWindowOrg&) = delete;
  TSavedWindowOrg& operator=(const TSavedWindowOrg&) = delete;

  const POINT& Origin() const { return FOrigin; }

 private:
  HDC FDC;
  POINT FOrigin{};
};

// The world transform and graphics mode of a DC, set back when the scope
// ends. The scope puts the DC into the advanced mode, in which alone a world
// transform applies.
class [[nodiscard]] TSavedWorldTransform {
 public:
  explicit TSavedWorldTransform(HDC ADC) : FDC(ADC), FMode(::SetGraphicsMode(ADC, GM_ADVANCED)) {
    ::GetWorldTransform(ADC, &FTransform);
  }
  ~TSavedWorldTransform() {
    // The transform first: a DC leaves the advanced mode only untransformed.
    ::SetWorldTransform(FDC, &FTransform);
    if (FMode) ::SetGraphicsMode(FDC, FMode);
  }
  TSavedWorldTransform(const TSavedWorldTransform&) = delete;
  TSavedWorldTransform& operator=(const TSavedWorldTransform&) = delete;

 private:
  HDC FDC;
  int FMode;
  XFORM FTransform{1, 0, 0, 1, 0, 0};
};

// One paint of a window: with APrintDC (the wParam of WM_PRINTCLIENT or of a
// WM_PAINT sent by a parent) that DC is used as it is and the whole client
// area counts as invalid; otherwise BeginPaint/EndPaint frame the scope. The
// scope keeps the window handle, not the control: a window destroyed during
// its paint took its DC with it, and nothing is ended.
class [[nodiscard]] TPaintScope {
 public:
  explicit TPaintScope(HWND AWnd, HDC APrintDC = nullptr) : FWnd(AWnd), FOwnsPaint(APrintDC == nullptr) {
    if (FOwnsPaint) {
      FDC = ::BeginPaint(AWnd, &FPaint);
    } else {
      FDC = APrintDC;
      FPaint = {};
      FPaint.hdc = APrintDC;
      ::GetClientRect(AWnd, &FPaint.rcPaint);
    }
  }
  ~TPaintScope() {
    if (FOwnsPaint && ::IsWindow(FWnd)) ::EndPaint(FWnd, &FPaint);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  HDC DC() const { return FDC; }
  const RECT& PaintRect() const { return FPaint.rcPaint; }
  bool Erase() const { return FPaint.fErase != FALSE; }
  bool Printing() const { return !FOwnsPaint; }

 private:
  HWND FWnd;
  bool FOwnsPaint;
  HDC FDC = nullptr;
  PAINTSTRUCT FPaint{};
};

// A memory DC with a bitmap of the given size selected into it. Compatible()
// matches the reference DC's format (the screen's for a null reference);
// Dib32() is a 32-bit top-down DIB section whose pixels are reachable through
// Bits(). An empty or negative size makes a 1 x 1 bitmap. The bitmap is
// deselected before both are deleted. Creation does not raise: test the
// result with its bool.
class [[nodiscard]] TMemoryDC {
 public:
  static TMemoryDC Compatible(HDC AReferenceDC, int AWidth, int AHeight) {
    TMemoryDC result(AReferenceDC);
    // A memory DC is no reference of its own: its bitmap is monochrome.
    const TScreenDC screen;
    const HDC reference = AReferenceDC ? AReferenceDC : screen.Get();
    result.FBitmap.Reset(::CreateCompatibleBitmap(reference, AWidth > 0 ? AWidth : 1, AHeight > 0 ? AHeight : 1));
    result.SelectBitmap(AWidth, AHeight);
    return result;
  }

  static TMemoryDC Dib32(HDC AReferenceDC, int AWidth, int AHeight) {
    TMemoryDC result(AReferenceDC);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = AWidth > 0 ? AWidth : 1;
    info.bmiHeader.biHeight = -(AHeight > 0 ? AHeight : 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    result.FBitmap.Reset(::CreateDIBSection(AReferenceDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    result.FBits = static_cast<uint32_t*>(bits);
    result.SelectBitmap(AWidth, AHeight);
    return result;
  }

  TMemoryDC(TMemoryDC&& AOther) noexcept
      : FDC(std::move(AOther.FDC)),
        FBitmap(std::move(AOther.FBitmap)),
        FOldBitmap(std::exchange(AOther.FOldBitmap, nullptr)),
        FBits(std::exchange(AOther.FBits, nullptr)),
        FWidth(AOther.FWidth),
        FHeight(AOther.FHeight) {}
  TMemoryDC& operator=(TMemoryDC&&) = delete;
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() {
    if (FOldBitmap) ::SelectObject(FDC.Get(), FOldBitmap);
  }

  HDC DC() const { return FDC.Get(); }
  HBITMAP Bitmap() const { return FBitmap.Get(); }
  uint32_t* Bits() const { return FBits; }  // Dib32 only: Width() * Height() pixels, top-down
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  explicit operator bool() const { return FDC && FBitmap; }

  // Copies the whole bitmap to ADest at (X, Y).
  void BlitTo(HDC ADest, int X, int Y, DWORD ARop = SRCCOPY) const {
    ::BitBlt(ADest, X, Y, FWidth, FHeight, FDC.Get(), 0, 0, ARop);
  }

 private:
  explicit TMemoryDC(HDC AReferenceDC) : FDC(::CreateCompatibleDC(AReferenceDC)) {}

  void SelectBitmap(int AWidth, int AHeight) {
    FWidth = AWidth > 0 ? AWidth : 1;
    FHeight = AHeight > 0 ? AHeight : 1;
    if (FDC && FBitmap) FOldBitmap = ::SelectObject(FDC.Get(), FBitmap.Get());
  }

  TOwnedDC FDC;
  TOwnedBitmap FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  uint32_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

// A memory DC over a bitmap that somebody else owns, for drawing into it or
// reading from it in a scope; the bitmap is deselected before the DC goes.
class [[nodiscard]] TBitmapDC {
 public:
  explicit TBitmapDC(HBITMAP ABitmap, HDC AReferenceDC = nullptr)
      : FDC(::CreateCompatibleDC(AReferenceDC)), FSelected(FDC.Get(), FDC ? ABitmap : nullptr) {}

  HDC DC() const { return FDC.Get(); }
  // Whether the DC exists and holds the bitmap (a bitmap selected into
  // another DC cannot be selected here).
  explicit operator bool() const { return FDC && FSelected.Old() && FSelected.Old() != HGDI_ERROR; }

 private:
  TOwnedDC FDC;
  TSelectObject FSelected;
};
