#include "library/controls/control/cxControls.h"

#include "library/core/threading/dxUIThreadSyncService.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/Forms.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A control that records what the base control does and lets a test steer
// the answers it asks of descendants.
class TBaseProbeControl : public TcxControl {
  SK_CLASS(TBaseProbeControl, TcxControl)
 public:
  // Painting: the pattern PaintControl draws after the base's steps.
  COLORREF Fill = RGB(200, 30, 40);
  bool Paints = true;
  bool OwnBackground = false;
  std::vector<HDC> PaintDCs;
  // Input
  std::vector<TcxDirection> Scrolls;
  // A vertical range longer than any page: the vertical bar shows, and the
  // wheel scrolls along it.
  bool ScrollsVertically = false;
  void ShowVerticalBar() {
    ScrollsVertically = true;
    RefreshScrollBars();
  }
  bool GesturesThroughBars = false;
  bool HorzWheel = false;
  bool AllowDrag = false;
  int AfterScaleChanges = 0;
  TCursor LeftHalfCursor = crDefault;
  std::vector<TShiftState> MouseDowns;

  using TcxControl::ClipToContent;
  using TcxControl::CreateRenderCanvas;
  using TcxControl::RecreateActualCanvasNeeded;
  using TcxControl::ResolveRenderMode;

  void ScrollContent(TcxDirection ADirection) override { Scrolls.push_back(ADirection); }
  int Enters = 0;
  int Leaves = 0;
  std::string Crossings;  // E and L in the order they fired
  void Entered(TObject*) {
    ++Enters;
    Crossings += 'E';
  }
  void Left(TObject*) {
    ++Leaves;
    Crossings += 'L';
  }
  int Lines = 3;
  std::vector<std::pair<TScrollBarKind, TScrollCode>> PageScrolls;
  std::vector<std::pair<TScrollBarKind, int>> GestureSteps;
  using TcxControl::GestureScroll;

 protected:
  void PaintControl() override {
    inherited::PaintControl();
    const HDC dc = Canvas()->Handle();
    PaintDCs.push_back(dc);
    if (!Paints) return;
    // A pattern, so that a copy from the wrong place shows.
    const TOwnedBrush brush(CreateSolidBrush(Fill));
    const RECT r = Bounds();
    FillRect(dc, &r, brush.Get());
    for (int x = 0; x < r.right; x += 7) {
      const RECT stripe{x, 0, x + 2, r.bottom};
      FillRect(dc, &stripe, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }
  bool PaintsOwnBackground() override { return OwnBackground; }
  void SetupScrollBars() override {
    if (ScrollsVertically) SetScrollBarInfo(sbVertical, 0, 10000, 1, 10, 0, true, true);
  }
  bool ScrollsByBarsOnGesture(TScrollBarKind) override { return GesturesThroughBars; }
  bool CanHorzWheelScroll() override { return HorzWheel; }
  int WheelScrollLines() override { return Lines; }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int&) override { PageScrolls.emplace_back(AKind, ACode); }
  void GestureScrollContent(TScrollBarKind AKind, int ADelta) override { GestureSteps.emplace_back(AKind, ADelta); }
  bool AllowsDragAndDropAt(TMouseButton, TShiftState, int, int) override { return AllowDrag; }
  void AfterScaleChange() override {
    inherited::AfterScaleChange();
    ++AfterScaleChanges;
  }
  TCursor CursorAt(int X, int Y) override {
    return X < Width() / 2 ? LeftHalfCursor : inherited::CursorAt(X, Y);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    MouseDowns.push_back(Shift);
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

// Answers no render mode at all, and Direct2D as its default.
class TNoModeControl : public TBaseProbeControl {
  SK_CLASS(TNoModeControl, TBaseProbeControl)
 public:
  bool NoMode = false;

 protected:
  bool IsRenderModeSupported(TdxRenderMode AMode) override { return !NoMode && inherited::IsRenderModeSupported(AMode); }
  TdxRenderMode GetDefaultRenderMode() override { return rmDirectX; }
};

// Raises in the middle of its creation.
class THalfBuiltControl : public TcxControl {
  SK_CLASS(THalfBuiltControl, TcxControl)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    throw EInvalidOperation(L"half built");
  }
};

// The pixels of a window as the screen shows them.
TPixelSurface ReadWindow(HWND AWnd) {
  RECT r{};
  GetClientRect(AWnd, &r);
  TPixelSurface surface(r.right, r.bottom, RGB(1, 2, 3));
  const TWindowDC dc(AWnd);
  BitBlt(surface.DC(), 0, 0, r.right, r.bottom, dc.Get(), 0, 0, SRCCOPY);
  return surface;
}

class TControlOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(NewShownForm(TRect(100, 100, 500, 400)));
    Control = New<TBaseProbeControl>(Form.get());
    Control->SetBounds(20, 20, 200, 120);
    Control->SetParent(Form.get());
    Control->HandleNeeded();
    UpdateWindow(Form->Handle());
    PumpPending();
  }
  void TearDown() override { Form.reset(); }

  TPoint ScreenPoint(int X, int Y) { return Control->ClientToScreen(TPoint(X, Y)); }

  TOwned<TForm> Form;
  TBaseProbeControl* Control = nullptr;
};

// ---------------------------------------------------------------------------
// Creation, scaling, render modes

TEST(TcxControl, WithoutParentItHasNoWindowAndMeasuresItsSize) {
  TOwned<TBaseProbeControl> control(New<TBaseProbeControl>(nullptr));
  control->SetBounds(5, 6, 70, 30);
  EXPECT_FALSE(control->HandleAllocated());
  EXPECT_EQ(control->ActiveCanvas(), SharedScreenCanvas());
  EXPECT_EQ(control->Bounds(), TRect(0, 0, 70, 30));
  EXPECT_TRUE(control->TabStop());
  EXPECT_EQ(control->ScaleFactor()->Numerator(), control->ScaleFactor()->Denominator());
}

TEST(TcxControl, AHalfBuiltControlIsTakenApartWithoutLeaks) {
  New<TBaseProbeControl>(nullptr)->Free();  // shared objects made on first use
  const int gdi = GdiObjectCount();
  constexpr int Controls = 50;
  for (int i = 0; i < Controls; ++i) EXPECT_THROW(New<THalfBuiltControl>(nullptr), EInvalidOperation);
  // A leak would grow by at least one object per control.
  EXPECT_LE(GdiObjectCount() - gdi, 2);
}

TEST(TcxControl, NestedScaleChangesEndOnceAtTheOuterBracket) {
  TOwned<TBaseProbeControl> control(New<TBaseProbeControl>(nullptr));
  control->Perform(DXM_SCALECHANGING, 0, 0);
  control->ChangeScale(3, 2, true);
  control->ChangeScale(4, 3, true);
  EXPECT_EQ(control->AfterScaleChanges, 0);
  control->Perform(DXM_SCALECHANGED, 0, 0);
  EXPECT_EQ(control->AfterScaleChanges, 1);
  // 3/2 * 4/3 = 2
  EXPECT_EQ(control->ScaleFactor()->Apply(100), 200);
  control->ChangeScale(1, 2, false);
  EXPECT_EQ(control->AfterScaleChanges, 2);
}

TEST(TcxControl, EveryRenderModeResolvesToGdi) {
  for (TdxRenderMode mode : {rmDefault, rmGDI, rmDirectX, rmGDIPlus}) {
    SCOPED_TRACE(static_cast<int>(mode));
    TOwned<TBaseProbeControl> control(New<TBaseProbeControl>(nullptr));
    control->LookAndFeel()->SetRenderMode(mode);
    EXPECT_EQ(control->ActualRenderMode(), rmGDI);
    EXPECT_EQ(control->ActualCanvas(), control->Canvas());
  }
}

TEST(TcxControl, RenderModeErrorsNameTheirCause) {
  TOwned<TNoModeControl> control(New<TNoModeControl>(nullptr));
  auto message = [](auto AAction) -> String {
    try {
      AAction();
    } catch (const Exception& E) {
      return E.Message();
    }
    return L"";
  };
  TdxRenderMode invalid = static_cast<TdxRenderMode>(9);
  EXPECT_EQ(message([&] { control->CreateRenderCanvas(invalid); }), L"Invalid Render Mode");
  TdxRenderMode directX = rmDirectX;
  EXPECT_EQ(message([&] { control->CreateRenderCanvas(directX); }), L"GetDefaultRenderMode");
  control->NoMode = true;
  EXPECT_EQ(message([&] { control->ResolveRenderMode(rmGDI); }), L"No one render mode is supported");
}

TEST(TcxControl, AQueuedCanvasRecreationGoesWithTheControl) {
  TBaseProbeControl* control = New<TBaseProbeControl>(nullptr);
  control->RecreateActualCanvasNeeded();
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(control), 1);
  control->Free();
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(control), 0);
  PumpPending();  // nothing runs into the freed control
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(TControlOnForm, APaintWithADeviceContextPaintsStraightIntoIt) {
  TPixelSurface direct(200, 120);
  Control->PaintDCs.clear();
  Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(direct.DC()), 0);
  ASSERT_EQ(Control->PaintDCs.size(), 1u);
  EXPECT_EQ(Control->PaintDCs[0], direct.DC());
  EXPECT_EQ(direct.Pixel(3, 1), Control->Fill);
}

TEST_F(TControlOnForm, TheBufferedPaintCopiesOnlyTheInvalidRectangle) {
  TPixelSurface direct(200, 120);
  Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(direct.DC()), 0);
  // Something else on screen, which a whole-client copy would overwrite.
  {
    const TWindowDC dc(Control->Handle());
    const RECT all{0, 0, 200, 120};
    const TOwnedBrush green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(dc.Get(), &all, green.Get());
  }
  Control->PaintDCs.clear();
  const TRect invalid(50, 40, 60, 50);
  Control->InvalidateRect(invalid, false);
  UpdateWindow(Control->Handle());
  ASSERT_EQ(Control->PaintDCs.size(), 1u);
  EXPECT_NE(WindowFromDC(Control->PaintDCs[0]), Control->Handle()) << "painted on the window, not a buffer";
  const TPixelSurface screen = ReadWindow(Control->Handle());
  EXPECT_EQ(screen.Count(TRect(0, 0, 200, 120), RGB(0, 255, 0)), 200 * 120 - 100);
  for (int y = invalid.Top; y < invalid.Bottom; ++y)
    for (int x = invalid.Left; x < invalid.Right; ++x) ASSERT_EQ(screen.Pixel(x, y), direct.Pixel(x, y)) << x << "," << y;
}

TEST_F(TControlOnForm, TheSystemsEraseIsLeftToThePaintAndThePipelinesEraseDraws) {
  Control->OwnBackground = true;
  Control->SetColor(clTeal);
  {
    const TWindowDC dc(Control->Handle());
    EXPECT_EQ(SendMessageW(Control->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 0);
  }
  TPixelSurface buffer(200, 120);
  const auto dc = reinterpret_cast<WPARAM>(buffer.DC());
  EXPECT_EQ(Control->Perform(WM_ERASEBKGND, dc, static_cast<LPARAM>(dc)), 1);
  EXPECT_EQ(buffer.Count(ColorToRGB(clTeal)), 200 * 120);
  // Without a background of its own nothing is drawn.
  Control->OwnBackground = false;
  buffer.Fill(RGB(9, 9, 9));
  EXPECT_EQ(Control->Perform(WM_ERASEBKGND, dc, static_cast<LPARAM>(dc)), 1);
  EXPECT_EQ(buffer.Count(RGB(9, 9, 9)), 200 * 120);
}

TEST_F(TControlOnForm, ATransparentControlShowsTheParentsBackground) {
  Form->SetColor(clOlive);
  Control->SetTransparent(true);
  EXPECT_TRUE(Control->ControlStyle().Contains(csParentBackground));
  EXPECT_FALSE(Control->ControlStyle().Contains(csOpaque));
  TPixelSurface buffer(200, 120, RGB(9, 9, 9));
  const auto dc = reinterpret_cast<WPARAM>(buffer.DC());
  Control->Perform(WM_ERASEBKGND, dc, static_cast<LPARAM>(dc));
  EXPECT_EQ(buffer.Count(ColorToRGB(clOlive)), 200 * 120);
  Control->SetTransparent(false);
  EXPECT_TRUE(Control->ControlStyle().Contains(csOpaque));
}

TEST_F(TControlOnForm, TheOpaqueFillSparesAnOverlappingSibling) {
  // A sibling above the control's right half, drawing nothing but its
  // own colour once.
  TBaseProbeControl* sibling = New<TBaseProbeControl>(Form.get());
  sibling->Fill = RGB(0, 0, 255);
  sibling->SetBounds(120, 20, 100, 120);
  sibling->SetParent(Form.get());
  sibling->BringToFront();
  UpdateWindow(Form->Handle());
  PumpPending();
  Control->SetColor(clYellow);
  Control->Paints = false;
  Control->SetJustTurnedOpaque();
  ValidateRect(sibling->Handle(), nullptr);
  Control->InvalidateRect(TRect(0, 0, 200, 120), false);
  UpdateWindow(Control->Handle());
  EXPECT_FALSE(Control->JustTurnedOpaque());
  ValidateRect(sibling->Handle(), nullptr);  // nothing repaints the sibling
  const TPixelSurface onSibling = ReadWindow(sibling->Handle());
  EXPECT_EQ(onSibling.Count(ColorToRGB(clYellow)), 0);
  EXPECT_GT(onSibling.Count(RGB(0, 0, 255)), 0);
  // The fill itself landed on the control's uncovered part.
  const TPixelSurface onControl = ReadWindow(Control->Handle());
  EXPECT_EQ(onControl.Count(TRect(0, 0, 100, 120), ColorToRGB(clYellow)), 100 * 120);
}

TEST_F(TControlOnForm, ClipToContentKeepsTheBorderWhenThereIsOne) {
  struct TCase {
    const char* Name;
    TcxControlBorderStyle Style;
  };
  for (const TCase c : {TCase{"no border", cxcbsNone}, TCase{"border", cxcbsDefault}}) {
    SCOPED_TRACE(c.Name);
    Control->LookAndFeel()->SetNativeStyle(false);
    Control->SetBorderStyle(c.Style);
    TPixelSurface direct(200, 120, RGB(9, 9, 9));
    Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(direct.DC()), 0);
    TcxCustomLookAndFeelPainter* painter = Control->LookAndFeel()->Painter();
    ASSERT_NE(painter, nullptr);
    const int border = c.Style == cxcbsDefault ? painter->BorderSize() : 0;
    ASSERT_TRUE(c.Style == cxcbsNone || border > 0);
    EXPECT_EQ(Control->ClientBounds(), TRect(border, border, 200 - border, 120 - border));
    // A column clear of the black stripes.
    EXPECT_EQ(direct.Count(TRect(102, 0, 103, 120), Control->Fill), 120 - 2 * border);
    if (border > 0) {
      EXPECT_EQ(direct.Count(TRect(0, 0, border, 120), Control->Fill), 0);
    }
  }
}

// ---------------------------------------------------------------------------
// Input

TEST_F(TControlOnForm, TheWindowFollowsEnabledBothWays) {
  Control->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Control->Handle()));
  Control->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(Control->Handle()));
  // Input reaches it again.
  SendMouseButtons(ScreenPoint(10, 10), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return !Control->MouseDowns.empty(); }));
}

TEST_F(TControlOnForm, AClickFocusesUnlessFocusOnClickIsOff) {
  Form->SetFocus();
  Control->SetFocusOnClick(false);
  SendMouseButtons(ScreenPoint(10, 10), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Control->MouseDowns.empty(); }));
  EXPECT_FALSE(Control->Focused());
  Control->SetFocusOnClick(true);
  SendMouseButtons(ScreenPoint(90, 10), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return Control->Focused(); }));
}

TEST_F(TControlOnForm, ARealDoubleClickArrivesAsOneAndARightDoubleClickDoesNotFocus) {
  Form->SetFocus();
  const TPoint p = ScreenPoint(30, 30);
  SendMouseButtons(p, MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return Control->MouseDowns.size() == 1; }));
  EXPECT_TRUE(Control->Focused()) << "a single right click focuses";
  TBaseProbeControl* other = New<TBaseProbeControl>(Form.get());
  other->SetBounds(250, 20, 40, 40);
  other->SetParent(Form.get());
  other->SetFocus();
  ASSERT_FALSE(Control->Focused());
  SendMouseButtons(p, MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return Control->MouseDowns.size() == 2; }));
  // The window class keeps CS_DBLCLKS: the second press is a double click.
  EXPECT_TRUE(GetClassLongPtrW(Control->Handle(), GCL_STYLE) & CS_DBLCLKS);
  EXPECT_FALSE(Control->MouseDowns[0].Contains(ssDouble));
  EXPECT_TRUE(Control->MouseDowns[1].Contains(ssDouble));
  EXPECT_FALSE(Control->Focused()) << "the double click does not focus";
}

TEST_F(TControlOnForm, EachCrossingGivesOneEnterAndOneLeave) {
  int& enters = Control->Enters;
  int& leaves = Control->Leaves;
  Control->SetOnMouseEnter(BindEvent<&TBaseProbeControl::Entered>(Control));
  Control->SetOnMouseLeave(BindEvent<&TBaseProbeControl::Left>(Control));
  const TPoint outside = ScreenPoint(-10, 50);
  const TPoint inside = ScreenPoint(50, 50);
  TLoopScript script;
  // Wherever the cursor was, the crossings start outside.
  script.MoveTo(outside, [&] { return CursorIsAt(outside) && Control->MouseEnterCounter() == 0; });
  script.Then([&] {
    enters = leaves = 0;
    Control->Crossings.clear();
  });
  for (int i = 1; i <= 2; ++i) {
    script.MoveTo(inside, [&, i] { return enters >= i && Control->MouseEnterCounter() == 1; });
    script.MoveTo(inside + TPoint(10, 5), [&] { return CursorIsAt(inside + TPoint(10, 5)); });
    script.MoveTo(outside, [&, i] { return leaves >= i && Control->MouseEnterCounter() == 0; });
  }
  ASSERT_TRUE(PumpUntil([&] { return script.Finished(); }, 20000)) << "step " << script.FailedStep();
  PumpFor(50);
  // Wine may take a move back to where its display's pointer was, which is
  // a crossing of its own: the events alternate, one of each per crossing.
  const std::string& crossings = Control->Crossings;
  EXPECT_GE(enters, 2);
  EXPECT_EQ(enters, leaves);
  for (std::size_t k = 0; k < crossings.size(); ++k) EXPECT_EQ(crossings[k], "EL"[k % 2]) << crossings;
  EXPECT_EQ(Control->MouseEnterCounter(), 0);
}

TEST_F(TControlOnForm, TheCaptureObjectHoldsTheCaptureUntilCancelMode) {
  TOwned<TObject> owner(New<TObject>());
  Control->SetMouseCaptureObject(owner.get());
  EXPECT_EQ(GetCapture(), Control->Handle());
  SendMessageW(Control->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(Control->MouseCaptureObject(), nullptr);
  EXPECT_NE(GetCapture(), Control->Handle());
  EXPECT_FALSE(Control->MouseButtonPressed());
}

TEST_F(TControlOnForm, AControlFreedInItsOwnMouseDownStopsQuietly) {
  struct TKiller : TObject {
    TBaseProbeControl* Victim;
    void Down(TObject*, TMouseButton, TShiftState, int, int) { Victim->Free(); }
  };
  TOwned<TKiller> killer(New<TKiller>());
  killer->Victim = Control;
  TControlTracker alive(Control);
  Control->SetOnMouseDown(BindEvent<&TKiller::Down>(killer.get()));
  SendMouseButtons(ScreenPoint(40, 40), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return !alive.Alive(); }));
}

TEST_F(TControlOnForm, TheCursorFollowsThePoint) {
  Control->LeftHalfCursor = crHandPoint;
  Control->SetCursor(crIBeam);
  SendMouseMove(ScreenPoint(20, 60));
  EXPECT_TRUE(PumpUntil([&] { return GetCursor() == Screen()->Cursors(crHandPoint); }));
  SendMouseMove(ScreenPoint(180, 60));
  EXPECT_TRUE(PumpUntil([&] { return GetCursor() == Screen()->Cursors(crIBeam); }));
}

TEST_F(TControlOnForm, CtrlTakesTabFromTheKeysAControlWants) {
  Control->SetKeys({kTab, kArrows});
  EXPECT_EQ(SendMessageW(Control->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTTAB | DLGC_WANTARROWS);
  // The thread's key state, as the message loop leaves it while Ctrl is held.
  BYTE keys[256]{};
  ASSERT_TRUE(GetKeyboardState(keys));
  const BYTE ctrl = keys[VK_CONTROL];
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(SendMessageW(Control->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  keys[VK_CONTROL] = ctrl;
  SetKeyboardState(keys);
  EXPECT_EQ(SendMessageW(Control->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTTAB | DLGC_WANTARROWS);
}

// The same wheel messages at a native list box (3 lines a notch) and at the
// control: the lines each scrolls.
TEST_F(TControlOnForm, WheelStepsAgreeWithANativeListBox) {
  struct TCase {
    const char* Name;
    std::vector<int> Deltas;
  };
  UINT systemLines = 0;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &systemLines, 0);
  ASSERT_EQ(systemLines, 3u) << "the list box is the oracle only at 3 lines a notch";
  Control->ShowVerticalBar();
  for (const TCase& c : {TCase{"one notch", {-120}}, TCase{"two halves", {-60, -60}},
                         TCase{"there and back", {-60, 60}}}) {
    SCOPED_TRACE(c.Name);
    const HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                      240, 20, 100, 60, Form->Handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 50; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    Control->Scrolls.clear();
    for (const int delta : c.Deltas) {
      const WPARAM w = MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
      const LPARAM l = MAKELPARAM(300, 60);
      SendMessageW(list, WM_MOUSEWHEEL, w, l);
      Control->Perform(WM_MOUSEWHEEL, w, l);
    }
    const auto listLines = static_cast<std::size_t>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(Control->Scrolls.size(), listLines);
    for (const TcxDirection d : Control->Scrolls) EXPECT_EQ(d, dirDown);
    DestroyWindow(list);
  }
  // Where Wine's list box goes its own way, the rule stands: a larger delta
  // counts as one notch.
  Control->Scrolls.clear();
  Control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(Control->Scrolls.size(), 3u);
}

TEST_F(TControlOnForm, AHorizontalWheelClimbsToAParentThatScrolls) {
  Control->HorzWheel = true;
  TBaseProbeControl* child = New<TBaseProbeControl>(Form.get());
  child->SetBounds(10, 10, 50, 50);
  child->SetParent(Control);
  const WPARAM w = MAKEWPARAM(0, static_cast<WORD>(120));
  EXPECT_EQ(SendMessageW(child->Handle(), WM_MOUSEHWHEEL, w, 0), 1);
  EXPECT_TRUE(child->Scrolls.empty());
  EXPECT_EQ(Control->Scrolls, std::vector<TcxDirection>(3, dirRight));
  Control->HorzWheel = false;
  Control->Scrolls.clear();
  EXPECT_EQ(SendMessageW(child->Handle(), WM_MOUSEHWHEEL, w, 0), 0);
  EXPECT_TRUE(Control->Scrolls.empty());
}

TEST_F(TControlOnForm, AKeyEndsADragUnacceptedAndGoesNoFurther) {
  Control->AllowDrag = true;
  int keys = 0;
  struct TKeys : TObject {
    int* Count;
    void Down(TObject*, WORD&, TShiftState) { ++*Count; }
  };
  TOwned<TKeys> sink(New<TKeys>());
  sink->Count = &keys;
  Control->SetOnKeyDown(BindEvent<&TKeys::Down>(sink.get()));
  Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(Control->DragAndDropState(), ddsStarting);
  Control->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
  EXPECT_EQ(Control->DragAndDropState(), ddsInProcess);
  EXPECT_EQ(Control->Perform(CN_KEYDOWN, 'A', 0), 1);
  EXPECT_EQ(Control->DragAndDropState(), ddsNone);
  EXPECT_EQ(keys, 0);
  EXPECT_NE(GetCapture(), Control->Handle());
}

// A caller tracking a part of the control, whatever the enter count says.
struct TControlTrackingCaller : TNoRefCount<TObject>, IcxMouseTrackingCaller {
  SK_CLASS(TControlTrackingCaller, TObject)
 public:
  int Leaves = 0;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxMouseTrackingCaller>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void MouseLeave() override { ++Leaves; }
};

TEST_F(TControlOnForm, TrackingEndsWithTheWindowAlsoWhenTheMouseCountsAsOutside) {
  TOwned<TControlTrackingCaller> caller(New<TControlTrackingCaller>());
  const int before = MouseTrackingTimerCount();
  SendMouseMove(ScreenPoint(-10, 50));
  ASSERT_TRUE(PumpUntil([&] { return Control->MouseEnterCounter() == 0; }));
  BeginMouseTracking(Control, TRect(0, 0, 50, 50), caller.get());
  ASSERT_EQ(MouseTrackingTimerCount(), before + 1);
  Control->RecreateWnd();
  Control->HandleNeeded();
  EXPECT_EQ(MouseTrackingTimerCount(), before);
  EXPECT_EQ(caller->Leaves, 1) << "a living control's caller hears of the leave";
}

TEST_F(TControlOnForm, TrackingEndsQuietlyWhenTheParentTakesTheControlAway) {
  TOwned<TControlTrackingCaller> caller(New<TControlTrackingCaller>());
  const int before = MouseTrackingTimerCount();
  BeginMouseTracking(Control, TRect(0, 0, 200, 120), caller.get());
  EXPECT_EQ(MouseTrackingTimerCount(), before + 1);
  Form.reset();
  EXPECT_EQ(MouseTrackingTimerCount(), before);
  EXPECT_EQ(caller->Leaves, 0) << "a dying control's callers are not told";
}


TEST_F(TControlOnForm, PageScrollingTakesOnePageCodePerNotch) {
  Control->Lines = -1;
  Control->ShowVerticalBar();
  Control->HorzWheel = true;
  Control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  Control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  Control->Perform(WM_MOUSEHWHEEL, MAKEWPARAM(0, 120), 0);
  Control->Perform(WM_MOUSEHWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  const std::vector<std::pair<TScrollBarKind, TScrollCode>> expected = {
      {sbVertical, static_cast<TScrollCode>(SB_PAGEDOWN)}, {sbVertical, static_cast<TScrollCode>(SB_PAGEUP)},
      {sbHorizontal, static_cast<TScrollCode>(SB_PAGELEFT)}, {sbHorizontal, static_cast<TScrollCode>(SB_PAGERIGHT)}};
  EXPECT_EQ(Control->PageScrolls, expected);
  EXPECT_TRUE(Control->Scrolls.empty());
}

TEST_F(TControlOnForm, CtrlTurnsTheHorizontalWheelAround) {
  Control->HorzWheel = true;
  Control->Perform(WM_MOUSEHWHEEL, MAKEWPARAM(MK_CONTROL, 120), 0);
  EXPECT_EQ(Control->Scrolls, std::vector<TcxDirection>(3, dirLeft));
}

TEST_F(TControlOnForm, GesturesScrollTheContentAndOnlyTheGesturesItTakes) {
  Control->GestureScroll(7, -4);
  const std::vector<std::pair<TScrollBarKind, int>> expected = {{sbHorizontal, 7}, {sbVertical, -4}};
  EXPECT_EQ(Control->GestureSteps, expected);
  EXPECT_TRUE(Control->IsGestureEnabled(GID_PAN));
  EXPECT_TRUE(Control->IsGestureEnabled(GID_PRESSANDTAP));
  EXPECT_FALSE(Control->IsGestureEnabled(GID_ZOOM));
  EXPECT_FALSE(Control->IsGestureEnabled(GID_BEGIN));
  // No main scroll bar is visible, so no pan is allowed.
  EXPECT_FALSE(Control->AllowsPan(sbVertical));
}

// ---------------------------------------------------------------------------
// Child components

class TProbeChild : public TcxControlChildComponent {
  SK_CLASS(TProbeChild, TcxControlChildComponent)
 public:
  std::vector<std::pair<int, int>> Changes;

 protected:
  void ApplyScaleChange(int M, int D) override { Changes.emplace_back(M, D); }
};

TEST(TcxControlChildComponent, FollowsItsControlsScaleWithoutAnOwner) {
  TOwned<TComponent> owner(New<TComponent>(nullptr));
  TBaseProbeControl* control = New<TBaseProbeControl>(owner.get());
  TProbeChild* bound = New<TProbeChild>(static_cast<TcxControl*>(control), false);
  TOwned<TProbeChild> boundOwner(bound);
  EXPECT_EQ(bound->Control(), control);
  EXPECT_EQ(bound->Owner(), nullptr);
  EXPECT_TRUE(bound->HasParent());
  EXPECT_EQ(bound->GetParentComponent(), control);
  control->ChangeScale(2, 1, true);
  EXPECT_EQ(bound->ScaleFactor()->Apply(10), 20);
  ASSERT_EQ(bound->Changes.size(), 1u);
  EXPECT_EQ(bound->Changes[0], std::make_pair(2, 1));
  bound->ScaleFactor()->Assign(3, 1, true);  // while loading: no change applied
  EXPECT_EQ(bound->Changes.size(), 1u);
  bound->SetControl(nullptr);
  EXPECT_FALSE(bound->HasParent());
}

}  // namespace
