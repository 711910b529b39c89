// The window canvas on a real window: its swap chain sized to the client
// area, paints presented with the update rectangle, the picture read back,
// and device loss at the end of a draw or at the presentation reported to
// the owner.
#include "library/graphics/canvas/cxGraphics.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr HRESULT DeviceRemoved = static_cast<HRESULT>(0x887A0005);
constexpr HRESULT DeviceReset = static_cast<HRESULT>(0x887A0007);
constexpr HRESULT WasStillDrawing = static_cast<HRESULT>(0x887A000A);

class THwndCanvasOwner : public TNoRefCount<TObject>, public IdxDirect2DCanvasOwner {
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxDirect2DCanvasOwner>(this, AIID, AObj) || TObject::GetInterface(AIID, AObj);
  }
  void RecreateActualCanvasNeeded() override { ++Requests; }
  int Requests = 0;
};

// Records each presentation and can answer a result of its own in place of
// the swap chain's, or of the device context's EndDraw.
class TPresentRecordingCanvas : public TdxDirect2DHwndBasedCanvas {
  SK_CLASS(TPresentRecordingCanvas, TdxDirect2DHwndBasedCanvas)
 public:
  struct TPresent {
    UINT Flags;
    TRect Dirty;
  };
  std::vector<TPresent> Presents;
  HRESULT ForcedPresent = S_OK;
  HRESULT ForcedEndDraw = S_OK;
  // Raises in place of presenting.
  std::function<void()> PresentRaises;

 protected:
  HRESULT DoPresent(UINT AFlags) override {
    if (PresentRaises) PresentRaises();
    const HRESULT result = inherited::DoPresent(AFlags);
    Presents.push_back({AFlags, UpdateRect()});
    return ForcedPresent != S_OK ? ForcedPresent : result;
  }
  HRESULT DoEndDraw() override {
    const HRESULT result = inherited::DoEndDraw();
    return ForcedEndDraw != S_OK ? ForcedEndDraw : result;
  }
};

class Direct2DWindowCanvas : public Direct2DTest {
 protected:
  void SetUp() override {
    Direct2DTest::SetUp();
    FWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 30, 30, 60, 40, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(FWindow, nullptr);
    FCanvas = NewSharedDeviceCanvas(TPresentRecordingCanvas::ClassInfo(), &FOwner);
    FCanvas->SetWindowHandle(FWindow);
  }
  void TearDown() override {
    FCanvas.reset();
    if (FWindow) DestroyWindow(FWindow);
    Direct2DTest::TearDown();
  }

  TPresentRecordingCanvas* Canvas() { return As<TPresentRecordingCanvas>(FCanvas.get()); }
  // One window paint of the invalid area, filled with AColor.
  void Paint(TdxAlphaColor AColor, const RECT* AInvalid = nullptr) {
    if (AInvalid) InvalidateRect(FWindow, AInvalid, FALSE);
    FCanvas->BeginPaint();
    FCanvas->FillRect(TRect(0, 0, 1000, 1000), AColor);
    FCanvas->EndPaint();
  }
  void Resize(int AWidth, int AHeight) {
    SetWindowPos(FWindow, nullptr, 0, 0, AWidth, AHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HWND FWindow = nullptr;
  THwndCanvasOwner FOwner;
  TOwned<TdxDirect2DHwndBasedCanvas> FCanvas;
};

TEST_F(Direct2DWindowCanvas, FirstPaintAndEveryResizePresentTheWholeClientArea) {
  TPresentRecordingCanvas* canvas = Canvas();
  EXPECT_EQ(canvas->WindowHandle(), FWindow);
  EXPECT_NE(canvas->SwapChain(), nullptr);
  EXPECT_FALSE(canvas->IsBufferValid());
  const RECT corner{0, 0, 5, 5};
  Paint(0xFFFF0000, &corner);
  EXPECT_EQ(canvas->TextureSize(), TSize(60, 40));
  ASSERT_EQ(canvas->Presents.size(), 1u);
  EXPECT_EQ(canvas->Presents[0].Dirty, TRect(0, 0, 60, 40)) << "new buffers are painted whole";
  EXPECT_EQ(canvas->Presents[0].Flags, 0u) << "partial presentation waits";
  EXPECT_TRUE(canvas->IsBufferValid());

  // Only the invalid part is painted and presented while the size holds.
  Paint(0xFF00FF00, &corner);
  ASSERT_EQ(canvas->Presents.size(), 2u);
  EXPECT_EQ(canvas->Presents[1].Dirty, TRect(0, 0, 5, 5));

  Resize(90, 50);
  Paint(0xFF0000FF, &corner);
  EXPECT_EQ(canvas->TextureSize(), TSize(90, 50));
  ASSERT_EQ(canvas->Presents.size(), 3u);
  EXPECT_EQ(canvas->Presents[2].Dirty, TRect(0, 0, 90, 50));
  DXGI_SWAP_CHAIN_DESC1 description{};
  ASSERT_EQ(canvas->SwapChain()->GetDesc1(&description), S_OK);
  EXPECT_EQ(description.Width, 90u);
  EXPECT_EQ(description.Height, 50u);
  EXPECT_EQ(description.BufferCount, dxDirect2DSwapChainBufferCount);
  EXPECT_TRUE(canvas->IsBufferValid());
  EXPECT_EQ(FOwner.Requests, 0);
}

TEST_F(Direct2DWindowCanvas, WithoutPartialPresentationEveryPaintIsWholeAndDoesNotWait) {
  dxDirect2DPartialPresentation = false;
  const RECT corner{0, 0, 5, 5};
  Paint(0xFFFF0000, &corner);
  Paint(0xFF00FF00, &corner);
  dxDirect2DPartialPresentation = true;
  const std::vector<TPresentRecordingCanvas::TPresent>& presents = Canvas()->Presents;
  ASSERT_EQ(presents.size(), 2u);
  for (const TPresentRecordingCanvas::TPresent& present : presents) {
    EXPECT_EQ(present.Dirty, TRect(0, 0, 60, 40));
    EXPECT_EQ(present.Flags, static_cast<UINT>(DXGI_PRESENT_DO_NOT_WAIT));
  }
}

TEST_F(Direct2DWindowCanvas, NothingInvalidEndsThePaintWithoutPresenting) {
  Paint(0xFFFF0000);
  ASSERT_EQ(Canvas()->Presents.size(), 1u);
  ValidateRect(FWindow, nullptr);
  Paint(0xFF00FF00);
  EXPECT_EQ(Canvas()->Presents.size(), 1u);
  EXPECT_TRUE(Canvas()->UpdateRect().IsEmpty());
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(FWindow, &update, FALSE)) << "the window's paint ended";
}

TEST_F(Direct2DWindowCanvas, ThePresentedPictureIsReadBackIntoADeviceContext) {
  Paint(0xFF0000FF);
  TPixelSurface target(60, 40, RGB(255, 255, 255));
  FCanvas->CopyBufferToDC(target.DC());
  ASSERT_NE(Canvas()->FrontBufferContent(), nullptr) << "the GDI-compatible copy is made";
  // Wine has no flip model: the picture stays in the back buffer and the
  // front buffer reads back black. Either way the whole buffer is copied
  // over the white the surface held.
  const int blue = target.Count(RGB(0, 0, 255));
  const int black = target.Count(RGB(0, 0, 0));
  EXPECT_EQ(blue + black, 60 * 40) << target.Picture(RGB(255, 255, 255));
  // Only the asked part is copied.
  TPixelSurface part(60, 40, RGB(255, 255, 255));
  FCanvas->CopyBufferRectToDC(part.DC(), TRect(10, 10, 20, 20), TRect(0, 0, 10, 10));
  EXPECT_EQ(part.CountOther(TRect(10, 10, 20, 20), RGB(255, 255, 255)), 100);
  EXPECT_EQ(part.CountOther(part.ClientRect(), RGB(255, 255, 255)), 100);
}

TEST_F(Direct2DWindowCanvas, AnUnboundCanvasCopiesNothing) {
  FCanvas->SetWindowHandle(nullptr);
  EXPECT_EQ(Canvas()->SwapChain(), nullptr);
  EXPECT_EQ(Canvas()->TextureSize(), TSize());
  TPixelSurface target(10, 10, RGB(255, 255, 255));
  FCanvas->CopyBufferToDC(target.DC());
  EXPECT_EQ(target.Count(RGB(255, 255, 255)), 100);
  FCanvas->BeginPaint();   // no window: nothing to paint
  FCanvas->EndPaint();
  EXPECT_TRUE(Canvas()->Presents.empty());
}

TEST_F(Direct2DWindowCanvas, TheSwapChainTargetOffersNoGdiInterop) {
  FCanvas->BeginPaint();
  int calls = 0;
  const auto key = TcxCanvasBasedResourceCacheKey::Create(this, TSize(10, 10), 0, 0, 96);
  const TcxCanvasNativeDrawProc proc([&](TcxCanvas* ACanvas, const TRect& R) {
    ++calls;
    ACanvas->FillRect(R, clRed);
  });
  FCanvas->DrawNativeObject(TRect(0, 0, 10, 10), key, proc);
  FCanvas->DrawNativeObject(TRect(20, 0, 30, 10), key, proc);
  FCanvas->EndPaint();
  EXPECT_FALSE(FCanvas->IsGDICompatible());
  EXPECT_EQ(calls, 1) << "rendered once into a cached bitmap";
  EXPECT_EQ(FCanvas->CachedNativeObjectCount(), 1);
}

TEST_F(Direct2DWindowCanvas, ADeviceLostAtTheEndOfTheDrawEndsThePaintAndTellsTheOwner) {
  Paint(0xFFFF0000);
  ASSERT_TRUE(FCanvas->IsBufferValid());
  Canvas()->ForcedEndDraw = DeviceRemoved;
  const RECT all{0, 0, 60, 40};
  Paint(0xFF00FF00, &all);
  EXPECT_EQ(Canvas()->Presents.size(), 1u) << "a lost draw is not presented";
  EXPECT_FALSE(FCanvas->IsBufferValid());
  EXPECT_TRUE(FCanvas->RecreateContextNeeded());
  EXPECT_EQ(FOwner.Requests, 1);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(FWindow, &update, FALSE)) << "the window's paint ended";

  // The owner puts a new canvas, on a new device, in its place; the window paints again.
  FCanvas.reset();
  ASSERT_TRUE(CreateDirect2DHwndCanvas(&FOwner, FCanvas, TPresentRecordingCanvas::ClassInfo()));
  FCanvas->SetWindowHandle(FWindow);
  Paint(0xFF0000FF, &all);
  EXPECT_EQ(Canvas()->Presents.size(), 1u);
  EXPECT_TRUE(FCanvas->IsBufferValid());
  EXPECT_FALSE(FCanvas->RecreateContextNeeded());
}

TEST_F(Direct2DWindowCanvas, AFailedPresentationIsADeviceLoss) {
  struct TCase {
    HRESULT Result;
    bool Lost;
  };
  for (const TCase& c : {TCase{DeviceRemoved, true}, TCase{DeviceReset, true}, TCase{WasStillDrawing, false}}) {
    SCOPED_TRACE(testing::Message() << std::hex << c.Result);
    THwndCanvasOwner owner;
    const TOwned<TdxDirect2DHwndBasedCanvas> fresh = NewSharedDeviceCanvas(TPresentRecordingCanvas::ClassInfo(), &owner);
    TPresentRecordingCanvas* canvas = As<TPresentRecordingCanvas>(fresh.get());
    canvas->SetWindowHandle(FWindow);
    canvas->ForcedPresent = c.Result;
    InvalidateRect(FWindow, nullptr, FALSE);
    canvas->BeginPaint();
    canvas->FillRect(TRect(0, 0, 60, 40), 0xFFFF0000);
    canvas->EndPaint();
    EXPECT_EQ(canvas->Presents.size(), 1u);
    EXPECT_FALSE(canvas->IsBufferValid()) << "nothing was shown";
    EXPECT_EQ(canvas->RecreateContextNeeded(), c.Lost);
    EXPECT_EQ(owner.Requests, c.Lost ? 1 : 0);
    canvas->SetWindowHandle(nullptr);
  }
}

TEST_F(Direct2DWindowCanvas, AFatalErrorWhilePresentingLeavesTheWindowToGdi) {
  RECT update{};
  // An error that is no fatal one reaches the caller; the window's paint ends.
  Canvas()->PresentRaises = [] { throw Exception(L"present"); };
  EXPECT_THROW(Paint(0xFFFF0000), Exception);
  EXPECT_FALSE(GetUpdateRect(FWindow, &update, FALSE));
  EXPECT_FALSE(FCanvas->RecreateContextNeeded());
  EXPECT_EQ(FOwner.Requests, 0);

  Canvas()->PresentRaises = [] { throw EOutOfMemory(L"present"); };
  const RECT all{0, 0, 60, 40};
  Paint(0xFFFF0000, &all);
  EXPECT_FALSE(GetUpdateRect(FWindow, &update, FALSE));
  EXPECT_FALSE(FCanvas->IsBufferValid());
  EXPECT_TRUE(FCanvas->RecreateContextNeeded());
  EXPECT_EQ(FOwner.Requests, 1);
  EXPECT_FALSE(IsDirect2DAvailable()) << "off for the rest of the run";
  TOwned<TdxDirect2DHwndBasedCanvas> replacement;
  EXPECT_FALSE(CreateDirect2DHwndCanvas(&FOwner, replacement));
  EXPECT_EQ(replacement, nullptr) << "the control stays on GDI";
  FCanvas.reset();
  RestartDirect2DUnits();
}

TEST_F(Direct2DWindowCanvas, TheControlOfTheWindowGivesTheReadingOrder) {
  const TOwned<TForm> form(New<TForm>(nullptr));
  form->SetBounds(40, 40, 80, 60);
  form->Show();
  FCanvas->SetWindowHandle(form->Handle());
  EXPECT_EQ(Canvas()->WinControl(), form.get());
  EXPECT_FALSE(FCanvas->UseRightToLeftAlignment());
  form->SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(FCanvas->UseRightToLeftAlignment());
  FCanvas->SetWindowHandle(FWindow);
  EXPECT_EQ(Canvas()->WinControl(), nullptr) << "no control owns the plain window";
  EXPECT_FALSE(FCanvas->UseRightToLeftAlignment());
}

TEST_F(Direct2DWindowCanvas, TheCanvasAnswersItsWindowInterfaces) {
  EXPECT_TRUE(Supports<IcxControlCanvas>(FCanvas.get()));
  EXPECT_TRUE(Supports<IcxControlDirectCanvas>(FCanvas.get()));
  const IPtr<IcxCanvasBuffer> buffer = Supports<IcxCanvasBuffer>(FCanvas.get());
  ASSERT_TRUE(buffer);
  Paint(0xFFFF0000);
  EXPECT_TRUE(buffer->IsBufferValid());
  buffer->InvalidateBuffer();
  EXPECT_FALSE(buffer->IsBufferValid());
}

}  // namespace
