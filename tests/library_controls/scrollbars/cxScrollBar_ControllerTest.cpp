#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/controls/control/cxControls.h"
#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <cmath>
#include <vector>

namespace {

// A painter whose look draws nothing and writes down what it was asked.
class TSilentPainter : public TcxScrollBarPainter {
  SK_CLASS(TSilentPainter, TcxScrollBarPainter)
 public:
  struct TCall {
    TcxScrollBarPart Part;  // sbpNone: the background
    TcxButtonState State;
    TRect Bounds;
  };
  int MinThumb = 8;
  std::vector<TCall> Calls;
  int MinThumbnailSize() override { return MinThumb; }
  bool IsButtonHotTrack() override { return true; }

 protected:
  void DrawLookBackground(TcxCustomCanvas*, const TRect& R) override { Calls.push_back({sbpNone, cxbsNormal, R}); }
  void DrawLookPart(TcxCustomCanvas*, const TRect& R, TcxButtonState AState, TcxScrollBarPart APart) override {
    Calls.push_back({APart, AState, R});
  }
};

class TControlledBar : public TcxScrollBarHelper {
  SK_CLASS(TControlledBar, TcxScrollBarHelper)
 protected:
  TClass GetPainterClass() override { return TSilentPainter::ClassInfo(); }
};

// A window whose client area is one bar, handing it the mouse as a
// scroll-bar control does; it records the scroll codes and changes.
class TBarHost : public TNoRefCount<TCustomControl>, public IcxScrollBarOwner {
  SK_CLASS(TBarHost, TCustomControl)
 public:
  TOwned<TControlledBar> Bar;
  TOwned<TdxScaleFactor> Factor;
  std::vector<TScrollCode> Codes;
  int Changes = 0;

  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Factor.reset(New<TdxScaleFactor>());
    Bar.reset(New<TControlledBar>(static_cast<IcxScrollBarOwner*>(this)));
    Bar->SetOnScroll(BindEvent<&TBarHost::BarScroll>(this));
    Bar->SetOnChange(BindEvent<&TBarHost::BarChange>(this));
  }
  void Destroy() override {
    Bar.reset();
    inherited::Destroy();
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxScrollBarOwner>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TWinControl* GetControl() override { return this; }
  TcxLookAndFeel* GetLookAndFeel() override { return nullptr; }
  TdxScaleFactor* GetScaleFactor() override { return Factor.get(); }

  // The bar fills the client area.
  void Lay(TScrollBarKind AKind, int AMin, int AMax, int APage, int APosition) {
    Bar->SetKind(AKind);
    Bar->SetBoundsRect(ClientRect());
    Bar->SetScrollParams(AMin, AMax, APosition, APage, false);
    Bar->Calculate();
    Codes.clear();
    Changes = 0;
  }
  TRect Part(TcxScrollBarPart APart) const { return Bar->ViewInfo()->PartBounds(APart); }
  TPoint ScreenCentre(TcxScrollBarPart APart) { return ClientToScreen(Part(APart).GetCenter()); }
  int Count(TScrollCode ACode) const { return static_cast<int>(std::count(Codes.begin(), Codes.end(), ACode)); }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    inherited::MouseDown(Button, Shift, X, Y);
    Bar->MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    inherited::MouseMove(Shift, X, Y);
    Bar->MouseMove(Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    inherited::MouseUp(Button, Shift, X, Y);
    Bar->MouseUp(Button, Shift, X, Y);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_CANCELMODE) Bar->CancelMode();
    inherited::WndProc(Message);
  }

 private:
  void BarScroll(TObject*, TScrollCode ACode, int&) { Codes.push_back(ACode); }
  void BarChange(TObject*) { ++Changes; }
};

// A window that records the WM_VSCROLL codes of a native bar on it.
class TNativeParent : public TCustomControl {
  SK_CLASS(TNativeParent, TCustomControl)
 public:
  std::vector<TScrollCode> Codes;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_VSCROLL) {
      Codes.push_back(static_cast<TScrollCode>(LOWORD(Message.WParam)));
      Message.Result = 0;
      return;
    }
    inherited::WndProc(Message);
  }
};

std::vector<TScrollCode> Collapsed(const std::vector<TScrollCode>& ACodes) {
  std::vector<TScrollCode> result;
  for (TScrollCode code : ACodes)
    if (result.empty() || result.back() != code) result.push_back(code);
  return result;
}

String Names(const std::vector<TScrollCode>& ACodes) {
  static const wchar_t* const names[] = {L"LineUp", L"LineDown", L"PageUp", L"PageDown", L"Position",
                                         L"Track",  L"Top",      L"Bottom", L"EndScroll"};
  String result;
  for (TScrollCode code : ACodes) result += String(names[code]) + L" ";
  return result;
}

void WaitForButtonsUp() {
  PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
  PumpPending();
}

struct TControllerFixture : testing::Test {
  TOwned<TForm> Form;
  TBarHost* Host = nullptr;

  void SetUp() override {
    Form.reset(NewShownForm(TRect(40, 40, 640, 440)));
    Host = New<TBarHost>(Form.get());
    Host->SetParent(Form.get());
    Host->SetBounds(250, 20, 17, 200);
    Host->HandleNeeded();
    Host->Lay(sbVertical, 0, 100, 10, 0);
  }
  void TearDown() override {
    // A test that stopped half-way leaves no button down for the next one.
    if (GetAsyncKeyState(VK_LBUTTON) < 0) SendMouseButtons(ReadCursorPos(), MOUSEEVENTF_LEFTUP);
    WaitForButtonsUp();
    Form.reset();
  }
  TcxScrollBarController* Controller() const { return Host->Bar->Controller(); }
};

// ---------------------------------------------------------------------------

TEST_F(TControllerFixture, HoldingAnArrowStepsAtThePressThenRepeatsWhileTheMouseStaysOnIt) {
  TcxTimer* timer = Controller()->Timer();
  const TPoint arrow = Host->ScreenCentre(sbpLineDown);
  SendMouseMove(arrow);
  SendMouseButtons(arrow, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return !Host->Codes.empty(); }));
  EXPECT_EQ(Host->Codes, std::vector<TScrollCode>{scLineDown}) << "one step at the press";
  EXPECT_EQ(Host->Bar->Position(), 1);
  // A late echo of an earlier pointer warp can take the mouse off the arrow
  // for a moment (pausing the repeat, as it should): the hand holds it there.
  EXPECT_TRUE(MoveUntil(arrow, [&] { return timer->Enabled(); }));
  EXPECT_EQ(timer->Interval(), 400u) << "the first repeat waits longer";

  ASSERT_TRUE(MoveUntil(arrow, [&] { return Host->Count(scLineDown) >= 3; }));
  EXPECT_EQ(timer->Interval(), 60u) << "then the steps come quicker";

  // Off the arrow (onto the page area beside it) the repeat pauses.
  const TPoint page = Host->ScreenCentre(sbpPageDown);
  SendMouseMove(page);
  ASSERT_TRUE(PumpUntil([&] { return !timer->Enabled(); }));
  const int paused = Host->Count(scLineDown);
  PumpFor(300);
  EXPECT_EQ(Host->Count(scLineDown), paused) << "no step while the mouse is off the arrow";
  EXPECT_EQ(Host->Count(scPageDown), 0) << "the page area under the mouse is not pressed";

  ASSERT_TRUE(MoveUntil(arrow, [&] { return Host->Count(scLineDown) > paused; })) << "back on the arrow it goes on";

  SendMouseButtons(arrow, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Host->Codes.back() == scEndScroll; }));
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(Host->Bar->Position(), Host->Count(scLineDown)) << "every step moved the position by one line";
  EXPECT_EQ(Host->Changes, Host->Count(scLineDown));
}

TEST_F(TControllerFixture, ClickAndDragScriptsSendTheCodesOfTheSystemsScrollBar) {
  auto* nativeParent = New<TNativeParent>(Form.get());
  nativeParent->SetParent(Form.get());
  nativeParent->SetBounds(50, 20, 17, 200);
  nativeParent->HandleNeeded();
  const HWND native = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 17, 200,
                                      nativeParent->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(native, nullptr);
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 100, 10, 0, 0};
  SetScrollInfo(native, SB_CTL, &info, TRUE);
  // Both bars lie the same way, so the same offsets hit the same parts.
  ASSERT_EQ(Host->Part(sbpThumbnail), TRect(0, 17, 17, 17 + Host->Part(sbpThumbnail).Height()));

  // Each script goes into the input queue at once: the system's bar tracks
  // the mouse in a loop of its own from the press to the release.
  const struct {
    const char* Name;
    std::function<void(const TPoint&)> Send;
  } scripts[] = {
      {"an arrow",
       [](const TPoint& O) { SendMouseSteps({{O + TPoint(8, 192), MOUSEEVENTF_LEFTDOWN}, {O + TPoint(8, 192), MOUSEEVENTF_LEFTUP}}); }},
      {"the page area",
       [](const TPoint& O) { SendMouseSteps({{O + TPoint(8, 150), MOUSEEVENTF_LEFTDOWN}, {O + TPoint(8, 150), MOUSEEVENTF_LEFTUP}}); }},
      {"the thumb, dragged",
       [](const TPoint& O) {
         SendMouseSteps({{O + TPoint(8, 22), MOUSEEVENTF_LEFTDOWN},
                         {O + TPoint(8, 42), 0},
                         {O + TPoint(8, 72), 0},
                         {O + TPoint(8, 90), 0},
                         {O + TPoint(8, 90), MOUSEEVENTF_LEFTUP}});
       }},
  };
  for (const auto& script : scripts) {
    SCOPED_TRACE(script.Name);
    Host->Lay(sbVertical, 0, 100, 10, 0);
    nativeParent->Codes.clear();
    SetScrollInfo(native, SB_CTL, &info, TRUE);
    for (TWinControl* target : {static_cast<TWinControl*>(Host), static_cast<TWinControl*>(nativeParent)}) {
      const TPoint origin = target->ClientToScreen(TPoint());
      SendMouseMove(origin + TPoint(8, 100));
      script.Send(origin);
      const std::vector<TScrollCode>& codes = target == Host ? Host->Codes : nativeParent->Codes;
      ASSERT_TRUE(PumpUntil([&] { return !codes.empty() && codes.back() == scEndScroll; }));
      WaitForButtonsUp();
    }
    EXPECT_EQ(Names(Collapsed(Host->Codes)), Names(Collapsed(nativeParent->Codes)));
  }
}

TEST_F(TControllerFixture, TheDraggedThumbSnapsBackFarFromTheBarUnlessTrackingIsUnlimited) {
  const TRect thumb = Host->Part(sbpThumbnail);
  const int span = (Host->Part(sbpLineDown).Top - Host->Part(sbpLineUp).Bottom) - thumb.Height();
  const TPoint press = Host->ScreenCentre(sbpThumbnail);
  const TPoint dragged = press + TPoint(0, 30);
  // 30 pixels of the span carry the range less the page's last line.
  const int expected = static_cast<int>(std::lround(91.0 * 30 / span));

  for (bool unlimited : {false, true}) {
    SCOPED_TRACE(unlimited ? "unlimited" : "limited");
    Host->Lay(sbVertical, 0, 100, 10, 0);
    Host->Bar->SetUnlimitedTracking(unlimited);
    SendMouseMove(press);
    SendMouseButtons(press, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return Host->Bar->ViewInfo()->PressedPart() == sbpThumbnail; }));
    ASSERT_TRUE(MoveUntil(dragged, [&] { return Host->Bar->Position() != 0; }));
    EXPECT_EQ(Host->Bar->Position(), expected);
    EXPECT_EQ(Host->Part(sbpThumbnail).Top, thumb.Top + 30) << "the thumb follows the mouse";

    // 135 pixels beside the bar is still inside; 140 is out.
    SendMouseMove(dragged + TPoint(-(8 + 135), 0));
    PumpPending();
    EXPECT_EQ(Host->Bar->Position(), expected);
    SendMouseMove(dragged + TPoint(-(8 + 140), 0));
    if (unlimited) {
      PumpPending();
      EXPECT_EQ(Host->Bar->Position(), expected) << "an unlimited drag never snaps back";
    } else {
      ASSERT_TRUE(MoveUntil(dragged + TPoint(-(8 + 140), 0), [&] { return Host->Bar->Position() == 0; }))
          << "back where the drag began";
      EXPECT_EQ(Host->Part(sbpThumbnail), thumb);
      EXPECT_EQ(Host->Codes.back(), scTrack);
      ASSERT_TRUE(MoveUntil(dragged, [&] { return Host->Bar->Position() == expected; })) << "coming back resumes";
    }
    // Back at the press point the thumb is back too.
    ASSERT_TRUE(MoveUntil(press, [&] { return Host->Bar->Position() == 0; }));
    ASSERT_TRUE(MoveUntil(dragged, [&] { return Host->Bar->Position() == expected; }));

    SendMouseButtons(dragged, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return Host->Codes.back() == scEndScroll; }));
    ASSERT_GE(Host->Codes.size(), 2u);
    EXPECT_EQ(Host->Codes[Host->Codes.size() - 2], scPosition);
    EXPECT_EQ(Host->Bar->Position(), expected) << "the release keeps what the thumb shows";
    EXPECT_EQ(Host->Part(sbpThumbnail).Top, thumb.Top + 30) << "and the thumb is laid out for it";
    WaitForButtonsUp();
  }
}

TEST_F(TControllerFixture, AThumbThatFillsItsTrackLeavesThePositionWhereItIs) {
  // 40 pixels between the arrows and a thumb of at least 40: no room to move.
  const int arrow = Host->Part(sbpLineUp).Height();
  Host->SetBounds(250, 20, 17, 2 * arrow + 40);
  static_cast<TSilentPainter*>(Host->Bar->Painter())->MinThumb = 40;
  Host->Lay(sbVertical, 0, 100, 90, 5);
  ASSERT_EQ(Host->Part(sbpThumbnail).Height(), 40);
  const TPoint p = Host->Part(sbpThumbnail).GetCenter();
  Controller()->MouseDown(mbLeft, {ssLeft}, p.X, p.Y);
  Controller()->MouseMove({ssLeft}, p.X, p.Y + 10);
  Controller()->MouseMove({ssLeft}, p.X, p.Y - 10);
  Controller()->MouseUp(mbLeft, {}, p.X, p.Y - 10);
  EXPECT_EQ(Host->Bar->Position(), 5);
  EXPECT_EQ(Host->Changes, 0);
  EXPECT_EQ(Names(Host->Codes), L"Track Position EndScroll ");
}

TEST_F(TControllerFixture, ScrollingByCode) {
  const struct {
    const char* Name;
    bool Reversed;
    int From;
    TScrollCode Code;
    int To;
    bool Changed;
  } rows[] = {
      {"line down", false, 50, scLineDown, 51, true},
      {"page up", false, 50, scPageUp, 40, true},
      {"top", false, 50, scTop, 0, true},
      {"bottom", false, 50, scBottom, 100, true},
      {"a page at the end changes nothing", false, 100, scPageDown, 100, false},
      {"reversed: line up goes down the range", true, 50, scLineUp, 51, true},
      {"reversed: top is the maximum", true, 50, scTop, 100, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Host->Lay(sbVertical, 0, 100, 10, row.From);
    Host->Bar->SetLargeChange(10);
    Host->Bar->SetReverseDirection(row.Reversed);
    Host->Bar->Scroll(row.Code);
    EXPECT_EQ(Host->Bar->Position(), row.To);
    EXPECT_EQ(Host->Changes, row.Changed ? 1 : 0);
    EXPECT_EQ(Host->Codes.size(), 1u) << "the handler hears every step";
  }
  // The ends of the Integer range do not wrap.
  Host->Bar->SetReverseDirection(false);
  Host->Lay(sbVertical, INT_MIN, INT_MAX, 0, INT_MIN);
  Host->Bar->Scroll(scLineUp);
  EXPECT_EQ(Host->Bar->Position(), INT_MIN);
  Host->Bar->SetScrollParams(INT_MIN, INT_MAX, INT_MAX, 0, false);
  Host->Bar->Scroll(scLineDown);
  EXPECT_EQ(Host->Bar->Position(), INT_MAX);
}

TEST_F(TControllerFixture, ThePainterFillsTheOwnersColourThenDrawsEachPartInItsState) {
  auto* painter = static_cast<TSilentPainter*>(Host->Bar->Painter());
  Host->SetColor(clYellow);
  Host->Lay(sbVertical, 0, 100, 10, 50);
  const TPoint overDown = Host->Part(sbpLineDown).GetCenter();
  Controller()->MouseMove({}, overDown.X, overDown.Y);
  TPixelSurface surface(17, 200);
  TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(surface.DC());
  TOwned<TcxCanvas> cx(New<TcxCanvas>(canvas.get()));

  const struct {
    const char* Name;
    bool Enabled;
    String Expected;
  } rows[] = {
      {"enabled, the mouse over the down arrow", true, L"bg 1:1 2:2 3:1 4:1 5:1 "},
      {"disabled: no thumb, no pages", false, L"bg 1:4 2:4 "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Host->Bar->SetEnabled(row.Enabled);
    Host->Bar->Calculate();
    painter->Calls.clear();
    surface.Fill(RGB(0, 0, 0));
    painter->Paint(cx.get());
    String calls;
    for (const auto& call : painter->Calls) {
      calls += call.Part == sbpNone ? String(L"bg ") : IntToStr(call.Part) + L":" + IntToStr(call.State) + L" ";
      EXPECT_EQ(call.Bounds, call.Part == sbpNone ? Host->Bar->BoundsRect() : Host->Part(call.Part));
    }
    EXPECT_EQ(calls, row.Expected);
    EXPECT_EQ(surface.Count(ColorToColorRef(clYellow)), 17 * 200) << "the owner's colour under the look";
  }
}

TEST_F(TControllerFixture, CancelModeDisablingAndHidingEndAPressWithEndScroll) {
  const TPoint arrow = Host->ScreenCentre(sbpLineUp);
  const struct {
    const char* Name;
    std::function<void()> End;
  } rows[] = {
      {"WM_CANCELMODE", [&] { Host->Perform(WM_CANCELMODE, 0, 0); }},
      {"disabled", [&] { Host->Bar->SetEnabled(false); }},
      {"hidden", [&] { Host->Bar->SetVisible(false); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Host->Bar->SetEnabled(true);
    Host->Bar->SetVisible(true);
    Host->Lay(sbVertical, 0, 100, 10, 50);
    SendMouseMove(arrow);
    SendMouseButtons(arrow, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return !Host->Codes.empty(); }));
    row.End();
    EXPECT_EQ(Names(Host->Codes), L"LineUp EndScroll ");
    EXPECT_FALSE(Controller()->Timer()->Enabled());
    EXPECT_EQ(Host->Bar->ViewInfo()->PressedPart(), sbpNone);
    SendMouseButtons(arrow, MOUSEEVENTF_LEFTUP);
    WaitForButtonsUp();
    EXPECT_EQ(Names(Host->Codes), L"LineUp EndScroll ") << "the release after the end sends nothing more";
  }
}

TEST_F(TControllerFixture, LeavingClearsTheHotPartExceptWhileTheThumbIsDragged) {
  TcxScrollBarViewInfo* viewInfo = Host->Bar->ViewInfo();
  const TPoint thumb = Host->Part(sbpThumbnail).GetCenter();
  Controller()->MouseMove({}, thumb.X, thumb.Y);
  EXPECT_EQ(viewInfo->HotPart(), sbpThumbnail);
  EXPECT_EQ(viewInfo->PartInfos(sbpThumbnail)->State(), cxbsHot);
  Controller()->MouseLeave(Host);
  EXPECT_EQ(viewInfo->HotPart(), sbpNone);

  Controller()->MouseDown(mbLeft, {ssLeft}, thumb.X, thumb.Y);
  EXPECT_EQ(viewInfo->PartInfos(sbpThumbnail)->State(), cxbsPressed);
  Controller()->MouseLeave(Host);
  EXPECT_EQ(viewInfo->HotPart(), sbpThumbnail) << "a dragged thumb stays pressed outside the bar";
  EXPECT_EQ(viewInfo->PartInfos(sbpThumbnail)->State(), cxbsPressed);
  const TPoint below = Host->Part(sbpLineDown).GetCenter();
  Controller()->MouseUp(mbLeft, {}, below.X, below.Y);
  EXPECT_EQ(viewInfo->HotPart(), sbpLineDown) << "the release makes the part under the mouse hot";
  EXPECT_EQ(viewInfo->PartInfos(sbpThumbnail)->State(), cxbsNormal);
}

}  // namespace
