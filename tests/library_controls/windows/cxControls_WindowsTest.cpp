// The popup form, the drag image and the size frame as real windows:
// placement against the monitor's work area as the system reports it, a
// native drop-down list opening at the screen's bottom, sizes around
// children, frames compared with the system's edge drawing, layered
// attributes, a real click through the drag image, and the size frame's
// window region compared with one built from rectangles.
#include "library/controls/windows/cxControls_Windows.h"

#include "library/controls/container/cxContainer.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace {

TRect PrimaryWorkArea() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return TRect(info.rcWork);
}

TRect WindowRectOf(HWND AWnd) {
  RECT r{};
  GetWindowRect(AWnd, &r);
  return TRect(r);
}

class TClickCounter : public TCustomControl {
  SK_CLASS(TClickCounter, TCustomControl)
 public:
  int Downs = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Downs;
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

class TPopupFixture : public testing::Test {
 protected:
  void SetUp() override { FWindows = ThreadWindowCount(); }
  void TearDown() override {
    FPopup.reset();
    PumpPending();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  TcxPopupWindow* Popup() {
    if (!FPopup) FPopup.reset(New<TcxPopupWindow>(nullptr));
    return FPopup.get();
  }

  TOwned<TcxPopupWindow> FPopup;
  int FWindows = 0;
};

// ---------------------------------------------------------------------------
// Placement

// Everything relative to the work area W: an owner of 80 x 20 at (dx, dy)
// from W's top-left (negative: from W's right or bottom edge).
struct TPlacementCase {
  const char* Name;
  int OwnerX, OwnerY;  // from W.Left/W.Top, or from W.Right/W.Bottom when negative
  TSize Size;          // 0: W's height less the number given in cx/cy as negative
  TcxPopupDirection Direction;
  TcxPopupAlignHorz AlignHorz;
  TcxPopupAlignVert AlignVert;
  bool AcceptAnyPosition;
  // The expected top-left from the owner O, the size S and W.
  TPoint (*Expected)(const TRect& O, const TSize& S, const TRect& W);
};

// Half a length, an odd one rounded towards the left or top.
int Half(int ALength) { return static_cast<int>(std::floor(ALength / 2.0)); }

TRect OwnerIn(const TRect& W, int X, int Y) {
  const int left = X >= 0 ? W.Left + X : W.Right + X;
  const int top = Y >= 0 ? W.Top + Y : W.Bottom + Y;
  return TRect(left, top, left + 80, top + 20);
}

const TPlacementCase PlacementCases[] = {
    {"below, left edges lined up", 100, 100, {120, 60}, pdVertical, pahLeft, pavBottom, false,
     [](const TRect& O, const TSize&, const TRect&) { return TPoint(O.Left, O.Bottom); }},
    {"below, right edges lined up", 200, 100, {120, 60}, pdVertical, pahRight, pavBottom, false,
     [](const TRect& O, const TSize& S, const TRect&) { return TPoint(O.Right - S.cx, O.Bottom); }},
    {"below, centred across", 200, 100, {121, 60}, pdVertical, pahCenter, pavBottom, false,
     [](const TRect& O, const TSize& S, const TRect&) {
       return TPoint(O.Left + Half(O.Width() - S.cx), O.Bottom);
     }},
    {"above when asked and there is room", 100, 200, {120, 60}, pdVertical, pahLeft, pavTop, false,
     [](const TRect& O, const TSize& S, const TRect&) { return TPoint(O.Left, O.Top - S.cy); }},
    {"at the bottom: flips above, where there is more room", 100, -40, {120, 60}, pdVertical, pahLeft,
     pavBottom, false, [](const TRect& O, const TSize& S, const TRect&) { return TPoint(O.Left, O.Top - S.cy); }},
    {"at the top, asked above: flips below", 100, 10, {120, 60}, pdVertical, pahLeft, pavTop, false,
     [](const TRect& O, const TSize&, const TRect&) { return TPoint(O.Left, O.Bottom); }},
    {"at the right edge: slides left along the owner", -30, 100, {120, 60}, pdVertical, pahLeft, pavBottom,
     false, [](const TRect& O, const TSize& S, const TRect& W) { return TPoint(W.Right - S.cx, O.Bottom); }},
    {"at the left edge, right-aligned: slides right", 0, 100, {300, 60}, pdVertical, pahRight, pavBottom, false,
     [](const TRect& O, const TSize&, const TRect& W) { return TPoint(W.Left, O.Bottom); }},
    {"no room on either side: stays below, pulled up inside", 100, 100, {120, -50}, pdVertical, pahLeft,
     pavBottom, false,
     [](const TRect& O, const TSize& S, const TRect& W) { return TPoint(O.Left, W.Bottom - S.cy); }},
    {"right of the owner", 100, 100, {120, 60}, pdHorizontal, pahRight, pavTop, false,
     [](const TRect& O, const TSize&, const TRect&) { return TPoint(O.Right, O.Top); }},
    {"left of the owner, bottom edges lined up", 300, 100, {120, 60}, pdHorizontal, pahLeft, pavBottom, false,
     [](const TRect& O, const TSize& S, const TRect&) { return TPoint(O.Left - S.cx, O.Bottom - S.cy); }},
    {"at the right edge: flips to the left", -100, 100, {120, 60}, pdHorizontal, pahRight, pavTop, false,
     [](const TRect& O, const TSize& S, const TRect&) { return TPoint(O.Left - S.cx, O.Top); }},
    {"sideways at the bottom: slides up along the owner", 100, -30, {120, 60}, pdHorizontal, pahRight, pavTop,
     false, [](const TRect& O, const TSize&, const TRect& W) { return TPoint(O.Right, W.Bottom - 60); }},
    {"centred on the owner's middle", 200, 200, {40, 41}, pdVertical, pahCenter, pavCenter, false,
     [](const TRect& O, const TSize& S, const TRect&) {
       return TPoint(O.Left + Half(O.Width() - S.cx), O.Top + Half(O.Height() - S.cy));
     }},
    {"any position accepted: no flip, no fit", 100, -40, {120, 60}, pdVertical, pahLeft, pavBottom, true,
     [](const TRect& O, const TSize&, const TRect&) { return TPoint(O.Left, O.Bottom); }},
};

class cxPopupPlacementTest : public TPopupFixture, public testing::WithParamInterface<TPlacementCase> {};

TEST_P(cxPopupPlacementTest, PlacesAgainstTheWorkArea) {
  const TPlacementCase& c = GetParam();
  const TRect area = PrimaryWorkArea();
  const TRect owner = OwnerIn(area, c.OwnerX, c.OwnerY);
  TSize size = c.Size;
  if (size.cy < 0) size.cy = area.Height() + size.cy;
  Popup()->SetOwnerBounds(owner);
  Popup()->SetDirection(c.Direction);
  Popup()->SetAlignHorz(c.AlignHorz);
  Popup()->SetAlignVert(c.AlignVert);
  Popup()->SetAcceptAnyPosition(c.AcceptAnyPosition);
  const TPoint expected = c.Expected(owner, size, area);
  EXPECT_EQ(expected, Popup()->CalculatePosition(size));
  // A flip holds for that placement only: the popup still asks for its side.
  EXPECT_EQ(c.AlignHorz, Popup()->AlignHorz());
  EXPECT_EQ(c.AlignVert, Popup()->AlignVert());
}

INSTANTIATE_TEST_SUITE_P(Cases, cxPopupPlacementTest, testing::ValuesIn(PlacementCases),
                         [](const testing::TestParamInfo<TPlacementCase>& I) {
                           std::string name;
                           for (const char* p = I.param.Name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

using cxPopupWindowTest = TPopupFixture;

// The owner rectangle is in the owner parent's client coordinates.
TEST_F(cxPopupWindowTest, OwnerBoundsAreTakenFromTheOwnerParentsClientArea) {
  TOwned<TForm> form(NewShownForm(TRect(100, 120, 400, 320)));
  Popup()->SetOwnerParent(form.get());
  Popup()->SetOwnerBounds(TRect(10, 20, 90, 40));
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_EQ(TRect(origin.x + 10, origin.y + 20, origin.x + 90, origin.y + 40), Popup()->OwnerScreenBounds());
  Popup()->SetBorderStyle(pbsFlat);
  Popup()->SetBounds(0, 0, 50, 30);
  Popup()->SetAdjustable(false);
  Popup()->Popup();
  EXPECT_TRUE(IsWindowVisible(Popup()->Handle()));
  EXPECT_EQ(TRect(origin.x + 10, origin.y + 40, origin.x + 60, origin.y + 70), WindowRectOf(Popup()->Handle()));
  EXPECT_TRUE(GetWindowLongPtrW(Popup()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongPtrW(Popup()->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  Popup()->CloseUp();
  EXPECT_FALSE(IsWindowVisible(Popup()->Handle()));
}

// A native drop-down list at the bottom of the screen opens above its combo
// box; the popup given the same owner rectangle and size lands where the
// list did.
TEST_F(cxPopupWindowTest, OpensAboveAtTheScreenBottomAsANativeDropDownListDoes) {
  const TRect area = PrimaryWorkArea();
  TOwned<TForm> form(NewShownForm(TRect(area.Left + 100, area.Bottom - 80, area.Left + 400, area.Bottom)));
  const HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                                     10, 10, 150, 300, form->Handle(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(combo);
  for (int i = 0; i < 30; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(info.hwndList) != FALSE; }));
  const TRect list = WindowRectOf(info.hwndList);
  const TRect owner = WindowRectOf(combo);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  DestroyWindow(combo);
  ASSERT_LE(list.Bottom, owner.Top) << "the native list did not open above";

  Popup()->SetOwnerBounds(owner);
  const TPoint p = Popup()->CalculatePosition(TSize{list.Width(), list.Height()});
  EXPECT_EQ(list.Left, p.X);
  // Wine's list keeps a gap of two pixels above the box; the popup touches it.
  EXPECT_LE(list.Bottom, owner.Top);
  EXPECT_EQ(owner.Top, p.Y + list.Height());
}

// Adjustable: the window wraps its children and the border exactly, and
// every opening gives the same bounds.
TEST_F(cxPopupWindowTest, AdjustableWrapsItsChildrenTheSameOnEveryOpening) {
  TcxPopupWindow* popup = Popup();
  auto* a = New<TClickCounter>(popup);
  a->SetBounds(0, 0, 100, 50);
  a->SetParent(popup);
  auto* b = New<TClickCounter>(popup);
  b->SetBounds(30, 40, 90, 30);
  b->SetParent(popup);
  popup->SetBorderStyle(pbs3D);
  popup->SetBorderSpace(3);
  popup->SetOwnerBounds(TRect(200, 200, 280, 220));
  for (int opening = 0; opening < 3; ++opening) {
    SCOPED_TRACE(opening);
    popup->Popup();
    // Border 2 and space 3 on each side around the children's 120 x 70.
    EXPECT_EQ(TRect(200, 220, 200 + 130, 220 + 80), WindowRectOf(popup->Handle()));
    EXPECT_EQ(TRect(5, 5, 105, 55), a->BoundsRect());
    EXPECT_EQ(TRect(35, 45, 125, 75), b->BoundsRect());
    EXPECT_EQ(TRect(5, 5, 125, 75), popup->ClientBounds());
    popup->CloseUp();
  }
  // A new border moves the children back before the next opening places them.
  popup->SetBorderStyle(pbsUltraFlat);
  EXPECT_EQ(TRect(0, 0, 100, 50), a->BoundsRect());
  popup->Popup();
  EXPECT_EQ(TSize(120 + 8, 70 + 8), WindowRectOf(popup->Handle()).GetSize());
  popup->CloseUp();

  popup->SetAdjustable(false);
  popup->SetBounds(0, 0, 77, 33);
  popup->Popup();
  EXPECT_EQ(TSize(77, 33), WindowRectOf(popup->Handle()).GetSize());
}

// The frame of each border style, against the system's drawing.
TEST_F(cxPopupWindowTest, DrawsEachFrameOverTheWindowsEdge) {
  const int w = 60, h = 40;
  struct TFrameCase {
    TcxPopupBorderStyle Style;
    int Width;
    UINT Edge;  // 0: a line in the frame colour
  } cases[] = {{pbsUltraFlat, 1, 0}, {pbsFlat, 1, BDR_RAISEDOUTER}, {pbs3D, 2, EDGE_RAISED}};
  Popup()->SetAdjustable(false);
  Popup()->SetFrameColor(clRed);
  Popup()->SetBounds(0, 0, w, h);
  Popup()->HandleNeeded();
  for (const TFrameCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    Popup()->SetBorderStyle(c.Style);
    TPixelSurface actual(w, h, RGB(1, 2, 3));
    Popup()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(actual.DC()), 0);
    TPixelSurface expected(w, h, ColorToColorRef(Popup()->Color()));
    TRect r(0, 0, w, h);
    if (c.Edge) {
      DrawEdge(expected.DC(), r.WinRect(), c.Edge, BF_RECT);
    } else {
      const TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
      FrameRect(expected.DC(), r.WinRect(), red.Get());
    }
    int differing = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) differing += actual.Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(0, differing);
    const TRect inner(c.Width, c.Width, w - c.Width, h - c.Width);
    EXPECT_EQ(0, actual.CountOther(inner, ColorToColorRef(Popup()->Color())));
    EXPECT_EQ(c.Width, Popup()->ClientBounds().Left);
  }
}

// Records the WM_NCACTIVATE messages that reach the form.
class TCaptionRecordingForm : public TForm {
  SK_CLASS(TCaptionRecordingForm, TForm)
 public:
  std::vector<WPARAM> NCActivates;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NCACTIVATE) NCActivates.push_back(Message.WParam);
    inherited::WndProc(Message);
  }
};

// The form the user came from keeps an active caption while the popup has
// the activation; another program taking it closes the popup.
TEST_F(cxPopupWindowTest, KeepsTheCallersCaptionActiveAndClosesWhenTheApplicationLosesActivation) {
  TOwned<TCaptionRecordingForm> form(
      NewWith<TCaptionRecordingForm>([](TCaptionRecordingForm* f) { f->CreateNew(nullptr); }));
  form->SetBoundsRect(TRect(100, 100, 400, 300));
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->Handle(); }));
  form->NCActivates.clear();
  Popup()->SetOwnerParent(form.get());
  Popup()->SetOwnerBounds(TRect(10, 10, 90, 30));
  Popup()->SetAdjustable(false);
  Popup()->SetBounds(0, 0, 100, 60);
  Popup()->Popup();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == Popup()->Handle(); }));
  EXPECT_EQ(form->Handle(), Popup()->PrevActiveWindow());
  ASSERT_FALSE(form->NCActivates.empty());
  EXPECT_EQ(TRUE, form->NCActivates.back()) << "the caller's caption was left inactive";

  TOtherProgramWindow other;
  ASSERT_TRUE(other.Window());
  SetForegroundWindow(other.Window());
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(Popup()->Handle()); }));
}

// A popup that asks for it is cut to the work area of its owner's monitor.
TEST_F(cxPopupWindowTest, CustomPopupIsCutToTheWorkArea) {
  class TCutPopup : public TcxCustomPopupWindow {
    SK_CLASS(TCutPopup, TcxCustomPopupWindow)
   protected:
    bool NeedsWorkAreaCorrection() override { return true; }
  };
  const TRect area = PrimaryWorkArea();
  TOwned<TCutPopup> popup(New<TCutPopup>(nullptr));
  popup->SetOwnerBounds(TRect(area.Left + 10, area.Top + 10, area.Left + 90, area.Top + 30));
  struct TCase {
    const char* Name;
    TPoint Position;
    TSize Size;
    TPoint ExpectedPosition;
    TSize ExpectedSize;
  } cases[] = {
      {"inside: unchanged", {area.Left + 5, area.Top + 5}, {50, 40}, {area.Left + 5, area.Top + 5}, {50, 40}},
      {"left of and above: moved onto the edges, shrunk by as much",
       {area.Left - 20, area.Top - 7},
       {50, 40},
       {area.Left, area.Top},
       {30, 33}},
      {"past the right and bottom: cut there",
       {area.Right - 30, area.Bottom - 10},
       {50, 40},
       {area.Right - 30, area.Bottom - 10},
       {30, 10}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPoint p = c.Position;
    TSize size = c.Size;
    popup->CorrectBoundsWithDesktopWorkArea(p, size);
    EXPECT_EQ(c.ExpectedPosition, p);
    EXPECT_EQ(c.ExpectedSize, size);
  }
}

// ---------------------------------------------------------------------------
// Drag image and size frame

using cxDragImageTest = TPopupFixture;

TEST_F(cxDragImageTest, IsLayeredTopMostAndFollowsTheHeldPoint) {
  TOwned<TcxCustomDragImage> image(New<TcxCustomDragImage>(nullptr));
  image->Init(TRect(10, 20, 70, 60), TPoint(15, 30));
  image->MoveTo(TPoint(300, 300));
  image->Show(SW_SHOWNOACTIVATE);
  const HWND wnd = image->Handle();
  EXPECT_TRUE(image->Visible());
  EXPECT_EQ(TRect(295, 290, 355, 330), WindowRectOf(wnd));
  const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_EQ(WS_POPUP, static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)) & (WS_POPUP | WS_CHILD | WS_CAPTION));
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(180, alpha);
  EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);

  image->SetTransparentColorValue(clLime);
  image->SetTransparentColor(true);
  image->SetAlphaBlendValue(90);
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(RGB(0, 255, 0), key);
  EXPECT_EQ(90, alpha);
  EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY), flags);

  image->SetAlphaBlend(false);
  image->SetTransparentColor(false);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);

  image->Offset(5, -10);
  EXPECT_EQ(TRect(300, 280, 360, 320), WindowRectOf(wnd));
  image->SetVisible(false);
  EXPECT_FALSE(image->Visible());
  EXPECT_NE(wnd, GetForegroundWindow());
}

// A real click on the image reaches the control below it.
TEST_F(cxDragImageTest, AClickPassesThroughToTheWindowBelow) {
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  auto* below = New<TClickCounter>(form.get());
  below->SetBounds(20, 20, 200, 120);
  below->SetParent(form.get());
  below->HandleNeeded();
  TOwned<TcxCustomDragImage> image(New<TcxCustomDragImage>(nullptr));
  const TPoint centre = below->ClientToScreen(TPoint(100, 60));
  image->Init(TRect(0, 0, 80, 60), TPoint(40, 30));
  image->MoveTo(centre);
  image->Show(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(WindowRectOf(image->Handle()).Contains(centre));
  ASSERT_TRUE(IsWindowVisible(image->Handle()));
  EXPECT_EQ(below->Handle(), WindowFromPoint(POINT{centre.X, centre.Y}));
  ASSERT_TRUE(MoveUntil(centre, [&] { return CursorIsAt(centre); }));
  SendMouseButtons(centre, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(centre, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return below->Downs == 1; }));
}

TEST_F(cxDragImageTest, SizeFrameIsAHollowRingOfTheFrameWidth) {
  TOwned<TcxSizeFrame> frame(New<TcxSizeFrame>(nullptr, 4));
  EXPECT_FALSE(frame->AlphaBlended());
  frame->HandleNeeded();
  frame->DrawSizeFrame(TRect(100, 100, 300, 200));
  const TOwnedRegion outer(CreateRectRgn(0, 0, 200, 100));
  const TOwnedRegion hole(CreateRectRgn(4, 4, 196, 96));
  const TOwnedRegion ring(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(ring.Get(), outer.Get(), hole.Get(), RGN_DIFF);
  const TOwnedRegion actual(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(frame->Handle(), actual.Get()));
  EXPECT_TRUE(EqualRgn(actual.Get(), ring.Get()));
  EXPECT_EQ(TRect(100, 100, 300, 200), WindowRectOf(frame->Handle()));

  // An L-shaped selection: its frame follows both arms. Inside the bend a
  // point is inner when its four neighbours at the frame width lie in the
  // shape, which holds for the 4 x 4 square there too.
  const TOwnedRegion shape(CreateRectRgn(0, 0, 200, 40));
  const TOwnedRegion arm(CreateRectRgn(0, 0, 40, 100));
  CombineRgn(shape.Get(), shape.Get(), arm.Get(), RGN_OR);
  frame->DrawSizeFrame(TRect(100, 100, 300, 200), shape.Get());
  const TOwnedRegion inner(CreateRectRgn(4, 4, 196, 36));
  const TOwnedRegion innerArm(CreateRectRgn(4, 4, 36, 96));
  CombineRgn(inner.Get(), inner.Get(), innerArm.Get(), RGN_OR);
  const TOwnedRegion bend(CreateRectRgn(36, 36, 40, 40));
  CombineRgn(inner.Get(), inner.Get(), bend.Get(), RGN_OR);
  const TOwnedRegion lRing(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(lRing.Get(), shape.Get(), inner.Get(), RGN_DIFF);
  ASSERT_NE(ERROR, GetWindowRgn(frame->Handle(), actual.Get()));
  EXPECT_TRUE(EqualRgn(actual.Get(), lRing.Get()));
}

TEST_F(cxDragImageTest, SizeFrameTooNarrowForItsWidthOrFillingIsLeftWhole) {
  TOwned<TcxSizeFrame> frame(New<TcxSizeFrame>(nullptr, 4));
  frame->HandleNeeded();
  frame->DrawSizeFrame(TRect(10, 10, 18, 110));
  const TOwnedRegion actual(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, GetWindowRgn(frame->Handle(), actual.Get())) << "8 x 100 at width 4 got a region";

  frame->SetFillSelection(true);
  frame->DrawSizeFrame(TRect(10, 10, 110, 60));
  const TOwnedRegion whole(CreateRectRgn(0, 0, 100, 50));
  ASSERT_NE(ERROR, GetWindowRgn(frame->Handle(), actual.Get()));
  EXPECT_TRUE(EqualRgn(actual.Get(), whole.Get()));
}

// The frame paints a checker of black and white: each pixel differs from
// its right and lower neighbours.
TEST_F(cxDragImageTest, SizeFramePaintsACheckerOfBlackAndWhite) {
  TOwned<TcxSizeFrame> frame(New<TcxSizeFrame>(nullptr, 3));
  frame->HandleNeeded();
  frame->DrawSizeFrame(TRect(10, 10, 30, 26));
  TPixelSurface s(20, 16, RGB(1, 2, 3));
  frame->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.DC()), PRF_CLIENT);
  EXPECT_EQ(20 * 16 / 2, s.Count(RGB(0, 0, 0)));
  EXPECT_EQ(20 * 16 / 2, s.Count(RGB(255, 255, 255)));
  for (int y = 0; y + 1 < 16; ++y)
    for (int x = 0; x + 1 < 20; ++x) {
      ASSERT_NE(s.Pixel(x, y), s.Pixel(x + 1, y)) << x << "," << y;
      ASSERT_NE(s.Pixel(x, y), s.Pixel(x, y + 1)) << x << "," << y;
    }
}

}  // namespace
