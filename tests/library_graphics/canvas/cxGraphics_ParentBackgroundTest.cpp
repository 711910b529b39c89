// Parent backgrounds: a control on a patterned parent gets exactly the
// parent's pixels behind it, its siblings (class-library controls and other
// windows) included and itself left out, while a parent that asks for a
// background during its own paint is not asked again; and painting mirrored
// for right-to-left canvases.
//
// Wine's DefWindowProc ignores PRF_CHILDREN and PRF_NONCLIENT in WM_PRINT:
// children are painted by our own enumeration, and the non-client tests
// check where the client area lands.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include "library/graphics/system/cxWindowGeometry.h"
#include "platform/ui/Forms.h"
#include "tests/support/GuiLeaks.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF Yellow = RGB(255, 255, 0);

// The parent's pattern at a point of its client area.
COLORREF ParentPattern(int X, int Y) { return (X % 4 == 0 || Y % 5 == 0) ? RGB(0, 0, 128) : Yellow; }

// A parent that paints the pattern, and during its paint asks for the
// background of the child it is given.
class TPatternParent : public TCustomControl {
  SK_CLASS(TPatternParent, TCustomControl)
 public:
  TWinControl* AskingChild = nullptr;
  int Paints = 0;
  int Depth = 0;
  int MaxDepth = 0;

 protected:
  void Paint() override {
    ++Paints;
    ++Depth;
    MaxDepth = std::max(MaxDepth, Depth);
    const TRect r = ClientRect();
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) SetPixelV(Canvas()->Handle(), x, y, ParentPattern(x, y));
    if (AskingChild) {
      TCanvasOnSurface scratch(8, 8);
      DrawParentBackground(AskingChild, scratch.Get(), TRect(0, 0, 8, 8), true);
    }
    --Depth;
  }
};

// A control in one colour.
class TSolidControl : public TCustomControl {
  SK_CLASS(TSolidControl, TCustomControl)
 public:
  bool Bordered = false;
  bool RightToLeftLayout = false;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    if (Bordered) Params.Style |= WS_BORDER;
    if (RightToLeftLayout) Params.ExStyle |= WS_EX_LAYOUTRTL;
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

class ParentBackground : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    FWindows = ThreadWindowCount();
    FForm = New<TForm>(nullptr);
    FForm->SetBounds(40, 40, 200, 160);
    FParent = Add<TPatternParent>(FForm, Bounds(10, 10, 120, 90));
    FSibling = Add<TSolidControl>(FParent, Bounds(50, 30, 40, 20));
    FSibling->SetColor(clBlue);
    FChild = Add<TSolidControl>(FParent, Bounds(30, 20, 40, 30));
    FChild->SetColor(clRed);
    FForm->Show();
    // A window of no class-library control: a static black rectangle.
    FStatic = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 20, 40, 20, 20,
                              FParent->Handle(), nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(FStatic);
    FForm->Free();
    EXPECT_EQ(ThreadWindowCount(), FWindows) << "windows leaked";
    GdiPlusTest::TearDown();
  }
  template <class T>
  T* Add(TWinControl* AParent, const TRect& ABounds) {
    T* control = New<T>(FForm);
    control->SetBoundsRect(ABounds);
    control->SetParent(AParent);
    return control;
  }
  // What the static rectangle paints, as it paints itself.
  COLORREF StaticColor() {
    TPixelSurface surface(20, 20, White);
    SendMessageW(FStatic, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface.Pixel(10, 10);
  }
  // The pixels behind the child, from what each window paints.
  COLORREF Behind(int X, int Y, bool ASiblings) {
    const TPoint p(X + 30, Y + 20);
    if (ASiblings && Bounds(50, 30, 40, 20).Contains(p)) return Blue;
    if (ASiblings && Bounds(20, 40, 20, 20).Contains(p)) return StaticColor();
    return ParentPattern(p.X, p.Y);
  }
  int Mismatches(const TPixelSurface& ASurface, const TPoint& AAt, bool ASiblings) {
    int result = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        if (ASurface.Pixel(x + AAt.X, y + AAt.Y) != Behind(x, y, ASiblings)) ++result;
    return result;
  }

  int FWindows = 0;
  TForm* FForm = nullptr;
  TPatternParent* FParent = nullptr;
  TSolidControl* FSibling = nullptr;
  TSolidControl* FChild = nullptr;
  HWND FStatic = nullptr;
};

TEST_F(ParentBackground, TheParentsPixelsBehindTheControl) {
  ASSERT_NE(StaticColor(), White);
  TCanvasOnSurface canvas(40, 30);
  DrawParentBackground(FChild, canvas.Get(), TRect(0, 0, 40, 30), true);
  EXPECT_EQ(Mismatches(canvas.Surface, TPoint(), true), 0) << canvas.Surface.Picture(Yellow);
  EXPECT_EQ(canvas.Surface.Count(Red), 0) << "never the control itself";

  // Without the children, and at an offset of the canvas.
  TCanvasOnSurface shifted(50, 40);
  shifted->Brush()->SetColor(clRed);
  DrawParentBackgroundAt(FChild, shifted.Get(), TRect(0, 0, 40, 30), TPoint(5, 7), false);
  EXPECT_EQ(Mismatches(shifted.Surface, TPoint(5, 7), false), 0) << shifted.Surface.Picture(Yellow);
  EXPECT_EQ(shifted.Surface.CountOther(TRect(0, 0, 50, 7), White), 0) << "nothing outside the rectangle";
  EXPECT_EQ(shifted->Brush()->Color(), clRed) << "the canvas's state restored";
  EXPECT_EQ(GetClipRgn(shifted.Surface.DC(), TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0);
}

TEST_F(ParentBackground, AParentAskingAgainDuringItsPaintIsNotRepainted) {
  FParent->AskingChild = FChild;
  FParent->Paints = 0;
  TCanvasOnSurface canvas(40, 30);
  DrawParentBackground(FChild, canvas.Get(), TRect(0, 0, 40, 30), true);
  EXPECT_EQ(FParent->Paints, 1);
  EXPECT_EQ(FParent->MaxDepth, 1);
  EXPECT_FALSE(IsPaintingAsParentBackground(FParent)) << "the parent left the list";
  EXPECT_EQ(Mismatches(canvas.Surface, TPoint(), true), 0);
}

TEST_F(ParentBackground, ControlParentBackgroundOfADoubleBufferedParent) {
  FParent->SetDoubleBuffered(true);
  TCanvasOnSurface canvas(40, 30);
  DrawControlParentBackground(FChild, canvas.Get(), TRect(0, 0, 40, 30));
  EXPECT_EQ(Mismatches(canvas.Surface, TPoint(), false), 0) << "the parent alone";

  FParent->SetDoubleBuffered(false);
  TCanvasOnSurface themed(40, 30);
  DrawControlParentBackground(FChild, themed.Get(), TRect(0, 0, 40, 30));
  EXPECT_EQ(themed.Surface.Count(Red), 0);
  EXPECT_EQ(themed.Surface.Pixel(3, 3), ParentPattern(33, 23)) << "through the visual styles";
  DrawControlParentBackground(nullptr, themed.Get(), TRect(0, 0, 40, 30));
}

TEST_F(ParentBackground, WindowsPaintedWithTheirClientOffset) {
  // In a right-to-left layout the client origin lies at the client area's
  // right: the offset is taken from its left all the same.
  for (bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft ? "right-to-left layout" : "left-to-right layout");
    TSolidControl* framed = Add<TSolidControl>(FParent, Bounds(0, 60, 20, 20));
    framed->Bordered = true;
    framed->RightToLeftLayout = rightToLeft;
    framed->SetColor(clLime);
    framed->RecreateWnd();
    ASSERT_EQ(IsRightToLeftLayoutWindow(framed->Handle()), rightToLeft);
    ASSERT_EQ(SafeGetClientRect(framed->Handle()).Width(), 18);
    TPixelSurface surface(20, 20, White);
    PaintWindowToDC(framed->Handle(), surface.DC(), false, false);
    EXPECT_EQ(surface.BoundsOf(RGB(0, 255, 0)), TRect(1, 1, 19, 19)) << "the client area at its offset";
    TPixelSurface whole(20, 20, White);
    PaintWindowToDC(framed->Handle(), whole.DC(), true, true);
    EXPECT_EQ(whole.Count(TRect(1, 1, 19, 19), RGB(0, 255, 0)), 324);
    EXPECT_EQ(whole.Count(White), 0) << "the whole window through a buffer";
    framed->Free();
  }

  // A control painted into a canvas at an offset, clipped to a part of it.
  TCanvasOnSurface canvas(30, 30);
  PaintControlTo(FSibling, canvas.Get(), TPoint(4, 6), TRect(10, 5, 30, 15), false, false, true, true);
  EXPECT_EQ(canvas.Surface.BoundsOf(Blue), TRect(4, 6, 24, 16));
}

TEST_F(ParentBackground, RightToLeftCanvasesOfControls) {
  TCanvasOnSurface plain(10, 10);
  EXPECT_FALSE(plain->UseRightToLeftAlignment());
  FChild->SetBiDiMode(bdRightToLeft);
  TOwned<TcxCanvas> canvas(New<TcxCanvas>(FChild->Canvas()));
  EXPECT_TRUE(canvas->UseRightToLeftAlignment()) << "the control's own alignment";
  canvas->SetUseRightToLeftAlignment(false);
  EXPECT_FALSE(canvas->UseRightToLeftAlignment());
}

// ---------------------------------------------------------------------------
// Mirrored painting

TEST(MirroredPainting, LinesAtTheLeftLandAtTheRight) {
  struct Case {
    const char* Name;
    bool RightToLeft;
    bool ExclusiveRight;
    int Column;
  };
  const Case cases[] = {
      {"left to right: unchanged", false, true, 5},
      {"right to left: the last column", true, true, 24},
      {"right to left, inclusive right", true, false, 25},
  };
  const TRect R(5, 2, 25, 12);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCanvasOnSurface canvas(30, 14);
    canvas->SetUseRightToLeftAlignment(c.RightToLeft);
    const HDC DC = canvas.Surface.DC();
    auto draw = [&] { FillRectWithColor(DC, TRect(R.Left, R.Top, R.Left + 1, R.Bottom), clRed); };
    if (c.ExclusiveRight)
      PaintMirroredOnCanvas(canvas.Get(), R, draw);
    else
      PaintMirroredIfRightToLeft(DC, R, c.RightToLeft, draw, false);
    EXPECT_EQ(canvas.Surface.BoundsOf(Red), TRect(c.Column, R.Top, c.Column + 1, R.Bottom));
    XFORM transform{};
    GetWorldTransform(DC, &transform);
    EXPECT_EQ(transform.eM11, 1.0f) << "the transform restored";
    EXPECT_EQ(GetGraphicsMode(DC), GM_COMPATIBLE);
  }
  TCanvasOnSurface canvas(30, 14);
  canvas->SetUseRightToLeftAlignment(true);
  EXPECT_THROW(PaintMirroredOnCanvas(canvas.Get(), TRect(0, 0, 10, 10), [] { throw EdxException(L"failed"); }),
               EdxException);
  EXPECT_EQ(GetGraphicsMode(canvas.Surface.DC()), GM_COMPATIBLE) << "restored after an error too";
}

}  // namespace
