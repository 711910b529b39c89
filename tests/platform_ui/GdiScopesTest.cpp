// The scoped GDI owners against real GDI: what each gives back at the end of
// its scope, and that a run of them leaks no GDI object.
#include "platform/ui/GdiScopes.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// Scopes end in reverse order of their start, so an object owned in a scope
// may be selected into a DC of the same scope.
template <class H>
HGDIOBJ OwnAndSelect(HDC ADC, H AHandle) {
  TGdiObject<H> owned(AHandle);
  TSelectObject selected(ADC, owned.Get());
  return owned.Get();
}

TEST(GdiScopes, OwnedObjectsAreDeletedWhenTheirScopeEnds) {
  struct Case {
    const char* Name;
    std::function<HGDIOBJ()> MakeAndDrop;
  };
  const LOGPALETTE palette{0x300, 1, {{1, 2, 3, 0}}};
  const Case cases[] = {
      {"pen", [] { return TOwnedPen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3))).Get(); }},
      {"brush", [] { return TOwnedBrush(CreateSolidBrush(RGB(1, 2, 3))).Get(); }},
      {"font", [] { return TOwnedFont(CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma")).Get(); }},
      {"bitmap", [] { return TOwnedBitmap(CreateBitmap(4, 4, 1, 32, nullptr)).Get(); }},
      {"region", [] { return TOwnedRegion(CreateRectRgn(0, 0, 4, 4)).Get(); }},
      {"palette", [&] { return TOwnedPalette(CreatePalette(&palette)).Get(); }},
      {"DC", [] { return static_cast<HGDIOBJ>(TOwnedDC(CreateCompatibleDC(nullptr)).Get()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const HGDIOBJ handle = c.MakeAndDrop();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), 0u);
  }
}

TEST(GdiScopes, SelectObjectPutsTheOldObjectBack) {
  TPixelSurface surface(4, 4);
  const HGDIOBJ original = GetCurrentObject(surface.DC(), OBJ_PEN);
  TOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  {
    TSelectObject selected(surface.DC(), pen.Get());
    EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_PEN), pen.Get());
    EXPECT_EQ(selected.Old(), original);
  }
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_PEN), original);
  {
    TSelectObject nothing(surface.DC(), nullptr);
    EXPECT_EQ(nothing.Old(), nullptr);
    EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_PEN), original);
  }
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_PEN), original);
}

TEST(GdiScopes, AnObjectOwnedBeforeItsSelectionIsDeselectedThenDeleted) {
  TPixelSurface surface(4, 4);
  const HGDIOBJ original = GetCurrentObject(surface.DC(), OBJ_BRUSH);
  const HGDIOBJ brush = OwnAndSelect(surface.DC(), CreateSolidBrush(RGB(0, 0, 255)));
  EXPECT_EQ(GetObjectType(brush), 0u);  // a brush still selected would not have gone
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_BRUSH), original);
}

TEST(GdiScopes, SavedDCRestoresTheStateNestedScopesLeft) {
  TPixelSurface surface(4, 4);
  const HDC dc = surface.DC();
  SetTextColor(dc, RGB(1, 1, 1));
  {
    TSavedDC outer(dc);
    EXPECT_GT(outer.Index(), 0);
    SetTextColor(dc, RGB(2, 2, 2));
    SetBkMode(dc, TRANSPARENT);
    {
      TSavedDC inner(dc);
      SetTextColor(dc, RGB(3, 3, 3));
      SetViewportOrgEx(dc, 5, 5, nullptr);
    }
    EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
  }
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
}

TEST(GdiScopes, SavedWindowOrgPutsTheOriginBackAndOnlyIt) {
  TPixelSurface surface(4, 4);
  const HDC dc = surface.DC();
  SetWindowOrgEx(dc, 3, -2, nullptr);
  {
    const TSavedWindowOrg saved(dc);
    EXPECT_EQ(saved.Origin().x, 3);
    OffsetWindowOrgEx(dc, 10, 10, nullptr);
    SetTextColor(dc, RGB(9, 9, 9));
  }
  POINT origin{};
  GetWindowOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 3);
  EXPECT_EQ(origin.y, -2);
  EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9)) << "the rest of the DC's state is the scope's to keep";
}

TEST(GdiScopes, SavedWorldTransformPutsTransformAndGraphicsModeBack) {
  struct Case {
    const char* Name;
    int Mode;
    XFORM Transform;
  };
  const Case cases[] = {
      {"compatible mode", GM_COMPATIBLE, XFORM{1, 0, 0, 1, 0, 0}},
      {"advanced mode, scaled", GM_ADVANCED, XFORM{2, 0, 0, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(4, 4);
    const HDC dc = surface.DC();
    SetGraphicsMode(dc, GM_ADVANCED);
    SetWorldTransform(dc, &c.Transform);
    SetGraphicsMode(dc, c.Mode);
    {
      const TSavedWorldTransform saved(dc);
      EXPECT_EQ(GetGraphicsMode(dc), GM_ADVANCED) << "a transform applies only in the advanced mode";
      const XFORM turn{0, 1, -1, 0, 7, 0};
      ASSERT_TRUE(ModifyWorldTransform(dc, &turn, MWT_LEFTMULTIPLY));
    }
    EXPECT_EQ(GetGraphicsMode(dc), c.Mode);
    XFORM after{};
    GetWorldTransform(dc, &after);
    EXPECT_FLOAT_EQ(after.eM11, c.Transform.eM11);
    EXPECT_FLOAT_EQ(after.eM12, c.Transform.eM12);
    EXPECT_FLOAT_EQ(after.eM22, c.Transform.eM22);
    EXPECT_FLOAT_EQ(after.eDx, c.Transform.eDx);
    EXPECT_FLOAT_EQ(after.eDy, c.Transform.eDy);
  }
}

// A shown window with nothing left to paint.
class TPaintedWindow {
 public:
  TPaintedWindow()
      : FWnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {
    ValidateRect(FWnd, nullptr);
  }
  ~TPaintedWindow() { DestroyWindow(FWnd); }
  TPaintedWindow(const TPaintedWindow&) = delete;
  TPaintedWindow& operator=(const TPaintedWindow&) = delete;
  HWND Get() const { return FWnd; }
  bool NeedsPaint() const { return GetUpdateRect(FWnd, nullptr, FALSE) != FALSE; }

 private:
  HWND FWnd;
};

TEST(GdiScopes, PaintScopePaintsTheInvalidPartAndValidatesIt) {
  TPaintedWindow window;
  ASSERT_NE(window.Get(), nullptr);
  const RECT invalid{2, 3, 20, 10};
  InvalidateRect(window.Get(), &invalid, FALSE);
  {
    TPaintScope paint(window.Get());
    EXPECT_NE(paint.DC(), nullptr);
    EXPECT_FALSE(paint.Printing());
    EXPECT_TRUE(EqualRect(&paint.PaintRect(), &invalid));
  }
  EXPECT_FALSE(window.NeedsPaint());
}

TEST(GdiScopes, PaintScopeOnAPrintDCPaintsTheWholeClientAreaAndValidatesNothing) {
  TPaintedWindow window;
  TPixelSurface print(60, 40);
  const RECT invalid{2, 3, 20, 10};
  InvalidateRect(window.Get(), &invalid, FALSE);
  {
    TPaintScope paint(window.Get(), print.DC());
    EXPECT_EQ(paint.DC(), print.DC());
    EXPECT_TRUE(paint.Printing());
    EXPECT_FALSE(paint.Erase());
    RECT client{};
    GetClientRect(window.Get(), &client);
    EXPECT_TRUE(EqualRect(&paint.PaintRect(), &client));
  }
  EXPECT_TRUE(window.NeedsPaint());
}

TEST(GdiScopes, Dib32PixelsAreTopDownInBits) {
  TMemoryDC memory = TMemoryDC::Dib32(nullptr, 5, 3);
  ASSERT_TRUE(memory);
  ASSERT_NE(memory.Bits(), nullptr);
  const RECT topLeft{0, 0, 2, 1};
  TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  FillRect(memory.DC(), &topLeft, red.Get());
  GdiFlush();
  EXPECT_EQ(memory.Bits()[0] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(memory.Bits()[1] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(memory.Bits()[2], 0u);
  EXPECT_EQ(memory.Bits()[5 * 2], 0u);  // the bottom row is untouched
}

TEST(GdiScopes, CompatibleMemoryDCWithoutAReferenceMatchesTheScreen) {
  TMemoryDC memory = TMemoryDC::Compatible(nullptr, 6, 4);
  ASSERT_TRUE(memory);
  BITMAP info{};
  ASSERT_TRUE(GetObjectW(memory.Bitmap(), sizeof(info), &info));
  const TScreenDC screen;
  EXPECT_EQ(info.bmBitsPixel, GetDeviceCaps(screen.Get(), BITSPIXEL));
  EXPECT_EQ(info.bmWidth, 6);
  EXPECT_EQ(info.bmHeight, 4);
}

TEST(GdiScopes, AnEmptyOrNegativeSizeMakesOnePixel) {
  for (const auto& [w, h] : {std::pair{0, 3}, std::pair{-2, 0}, std::pair{4, -1}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    for (const auto make : {&TMemoryDC::Compatible, &TMemoryDC::Dib32}) {
      const TMemoryDC memory = make(nullptr, w, h);
      ASSERT_TRUE(memory);
      BITMAP info{};
      ASSERT_TRUE(GetObjectW(memory.Bitmap(), sizeof(info), &info));
      EXPECT_EQ(std::pair(memory.Width(), memory.Height()), std::pair(w > 0 ? w : 1, h > 0 ? h : 1));
      EXPECT_EQ(std::pair(static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight)),
                std::pair(memory.Width(), memory.Height()));
    }
  }
}

TEST(GdiScopes, BlitToCopiesTheWholeBitmap) {
  TMemoryDC memory = TMemoryDC::Dib32(nullptr, 3, 2);
  const RECT all{0, 0, 3, 2};
  TOwnedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  FillRect(memory.DC(), &all, blue.Get());
  TPixelSurface target(10, 10, White);
  memory.BlitTo(target.DC(), 4, 5);
  EXPECT_EQ(target.BoundsOf(RGB(0, 0, 255)), TRect(4, 5, 7, 7)) << target.Picture(White);
  EXPECT_EQ(target.Count(RGB(0, 0, 255)), 6);
}

TEST(GdiScopes, AMovedMemoryDCKeepsItsPixelsAndGoesOnce) {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  {
    TMemoryDC first = TMemoryDC::Dib32(nullptr, 2, 2);
    first.Bits()[3] = 0x123456;
    dc = first.DC();
    bitmap = first.Bitmap();
    TMemoryDC second(std::move(first));
    EXPECT_FALSE(first);  // the moved-from scope holds nothing
    EXPECT_EQ(second.DC(), dc);
    EXPECT_EQ(second.Bits()[3], 0x123456u);
    EXPECT_EQ(GetCurrentObject(second.DC(), OBJ_BITMAP), bitmap);
  }
  EXPECT_EQ(GetObjectType(dc), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(GdiScopes, BitmapDCLeavesTheBitmapToItsOwnerUnselected) {
  TOwnedBitmap bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
  HDC dc = nullptr;
  {
    TBitmapDC drawing(bitmap.Get());
    ASSERT_TRUE(drawing);
    dc = drawing.DC();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.Get());
    // A bitmap is selected into one DC at a time.
    TBitmapDC second(bitmap.Get());
    EXPECT_FALSE(second);
  }
  EXPECT_EQ(GetObjectType(dc), 0u);
  ASSERT_EQ(GetObjectType(bitmap.Get()), static_cast<DWORD>(OBJ_BITMAP));
  TBitmapDC again(bitmap.Get());
  EXPECT_TRUE(again);
}

TEST(GdiScopes, ScopesLeakNoGdiObject) {
  TPaintedWindow window;
  const auto round = [&] {
    for (int i = 0; i < 20; ++i) {
      TMemoryDC compatible = TMemoryDC::Compatible(nullptr, 8, 8);
      TMemoryDC dib = TMemoryDC::Dib32(compatible.DC(), 8, 8);
      TOwnedFont font(CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
      TSelectObject selectedFont(dib.DC(), font.Get());
      TSavedDC saved(dib.DC());
      TOwnedBitmap borrowed(CreateBitmap(2, 2, 1, 32, nullptr));
      TBitmapDC over(borrowed.Get());
      TWindowDC client(window.Get());
      TWindowDC whole(window.Get(), true);
      TScreenDC screen;
      InvalidateRect(window.Get(), nullptr, FALSE);
      TPaintScope paint(window.Get());
      compatible.BlitTo(paint.DC(), 0, 0);
    }
  };
  round();
  const int before = GdiObjectCount();
  round();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
