#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/controls/control/cxControls.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what a bar reports.
class TBarEvents : public TObject {
  SK_CLASS(TBarEvents, TObject)
 public:
  std::vector<TScrollCode> Codes;
  int Changes = 0;
  int Enters = 0;
  int Leaves = 0;
  void Scroll(TObject*, TScrollCode ACode, int&) { Codes.push_back(ACode); }
  void Change(TObject*) { ++Changes; }
  void Enter(TObject*) { ++Enters; }
  void Leave(TObject*) { ++Leaves; }
};

// A window that records the scroll codes and thumb positions a native bar on
// it sends.
class TNativeBarParent : public TCustomControl {
  SK_CLASS(TNativeBarParent, TCustomControl)
 public:
  std::vector<TScrollCode> Codes;
  int ThumbPosition = -1;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
      const auto code = static_cast<TScrollCode>(LOWORD(Message.WParam));
      Codes.push_back(code);
      if (code == scPosition) ThumbPosition = HIWORD(Message.WParam);
      Message.Result = 0;
      return;
    }
    inherited::WndProc(Message);
  }
};

void WaitForButtonsUp() {
  PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
  PumpPending();
}

struct TScrollBarFixture : testing::Test {
  TOwned<TForm> Form;
  TcxScrollBar* Bar = nullptr;
  TOwned<TBarEvents> Events;

  void SetUp() override {
    Form.reset(NewShownForm(TRect(40, 40, 640, 440)));
    Events.reset(New<TBarEvents>());
    Bar = New<TcxScrollBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetOnScroll(BindEvent<&TBarEvents::Scroll>(Events.get()));
    Bar->SetOnChange(BindEvent<&TBarEvents::Change>(Events.get()));
    Bar->SetOnMouseEnter(BindEvent<&TBarEvents::Enter>(Events.get()));
    Bar->SetOnMouseLeave(BindEvent<&TBarEvents::Leave>(Events.get()));
    Bar->SetKind(sbVertical);
    Bar->SetBounds(250, 20, GetSystemMetrics(SM_CXVSCROLL), 200);
    Bar->HandleNeeded();
    Bar->SetScrollParams(0, 100, 0, 10);
    PumpPending();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_LBUTTON) < 0) SendMouseButtons(ReadCursorPos(), MOUSEEVENTF_LEFTUP);
    WaitForButtonsUp();
    Form.reset();
  }
  void ClearEvents() {
    Events->Codes.clear();
    Events->Changes = 0;
  }
  TRect Part(TcxScrollBarPart APart) const { return Bar->Helper()->ViewInfo()->PartBounds(APart); }
  TPoint ScreenCentre(TcxScrollBarPart APart) const { return Bar->ClientToScreen(Part(APart).GetCenter()); }
  void Click(const TPoint& AScreenPos) {
    SendMouseMove(AScreenPos);
    SendMouseSteps({{AScreenPos, MOUSEEVENTF_LEFTDOWN}, {AScreenPos, MOUSEEVENTF_LEFTUP}});
    ASSERT_TRUE(PumpUntil([&] { return !Events->Codes.empty() && Events->Codes.back() == scEndScroll; }));
    WaitForButtonsUp();
  }
};

// ---------------------------------------------------------------------------

TEST_F(TScrollBarFixture, ANewBarIsHorizontalAndAsHighAsTheSystemsBar) {
  TOwned<TcxScrollBar> fresh(New<TcxScrollBar>(nullptr));
  EXPECT_EQ(fresh->Kind(), sbHorizontal);
  EXPECT_EQ(fresh->Width(), 121);
  EXPECT_EQ(fresh->Height(), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(fresh->Min(), 0);
  EXPECT_EQ(fresh->Max(), 100);
  EXPECT_TRUE(fresh->ControlStyle().Contains(csOpaque));
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(fresh->Helper()->ViewInfo()->PartBounds(sbpLineUp), TRect(0, 0, arrow, fresh->Height()))
      << "laid out at creation";
}

TEST_F(TScrollBarFixture, ClicksOnTheBarScrollAsItsPartsSay) {
  const struct {
    const char* Name;
    TcxScrollBarPart Part;
    bool Reversed;
    int From;
    int Expected;
    std::vector<TScrollCode> Codes;  // as OnScroll heard them (mirrored when reversed)
  } rows[] = {
      {"the line-down arrow", sbpLineDown, false, 50, 51, {scLineDown, scEndScroll}},
      {"the line-up arrow", sbpLineUp, false, 50, 49, {scLineUp, scEndScroll}},
      {"the page below the thumb", sbpPageDown, false, 50, 60, {scPageDown, scEndScroll}},
      {"the line-up arrow of a reversed bar", sbpLineUp, true, 50, 51, {scLineDown, scEndScroll}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->SetReverseDirection(row.Reversed);
    Bar->SetScrollParams(0, 100, row.From, 10);
    Bar->SetLargeChange(10);
    ClearEvents();
    const TcxScrollBarPart part = row.Part == sbpPageDown && row.Reversed ? sbpPageUp : row.Part;
    ASSERT_FALSE(Part(part).IsEmpty());
    Click(ScreenCentre(part));
    EXPECT_EQ(Bar->Position(), row.Expected);
    EXPECT_EQ(Events->Codes, row.Codes);
    EXPECT_EQ(Events->Changes, row.Expected != row.From ? 1 : 0) << "OnChange only on a real change";
  }
}

TEST_F(TScrollBarFixture, ADraggedThumbEndsWhereTheSystemsBarPutsItsThumbForTheSameDrag) {
  auto* nativeParent = New<TNativeBarParent>(Form.get());
  nativeParent->SetParent(Form.get());
  nativeParent->SetBounds(50, 20, Bar->Width(), Bar->Height());
  nativeParent->HandleNeeded();
  const HWND native = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, Bar->Width(),
                                      Bar->Height(), nativeParent->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(native, nullptr);
  for (int delta : {25, 60, 150}) {
    SCOPED_TRACE(delta);
    Bar->SetScrollParams(0, 100, 0, 10);
    ClearEvents();
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 100, 10, 0, 0};
    SetScrollInfo(native, SB_CTL, &info, TRUE);
    nativeParent->Codes.clear();
    const TPoint grip = Part(sbpThumbnail).GetCenter();
    for (TWinControl* target : {static_cast<TWinControl*>(Bar), static_cast<TWinControl*>(nativeParent)}) {
      const TPoint from = target->ClientToScreen(grip);
      // Straight down; the longest drag runs the thumb to the end and stays
      // inside the rectangle that tracks.
      const TPoint to = from + TPoint(0, delta);
      SendMouseMove(from);
      SendMouseSteps({{from, MOUSEEVENTF_LEFTDOWN},
                      {from + TPoint(0, delta / 2), 0},
                      {to, 0},
                      {to, MOUSEEVENTF_LEFTUP}});
      const std::vector<TScrollCode>& codes = target == Bar ? Events->Codes : nativeParent->Codes;
      ASSERT_TRUE(PumpUntil([&] { return !codes.empty() && codes.back() == scEndScroll; }));
      WaitForButtonsUp();
    }
    ASSERT_GE(nativeParent->ThumbPosition, 0);
    EXPECT_NEAR(Bar->Position(), nativeParent->ThumbPosition, 1);
    EXPECT_GE(Events->Changes, 1);
  }
}

TEST_F(TScrollBarFixture, TheMouseEnteringAndLeavingIsReportedAndMakesTheArrowHot) {
  const TPoint outside = Bar->ClientToScreen(TPoint(-60, 100));
  SendMouseMove(outside);
  PumpPending();
  Events->Enters = Events->Leaves = 0;
  ASSERT_TRUE(MoveUntil(ScreenCentre(sbpLineDown), [&] { return Events->Enters >= 1; }));
  EXPECT_EQ(Bar->Helper()->ViewInfo()->HotPart(), sbpLineDown);
  ASSERT_TRUE(MoveUntil(outside, [&] { return Events->Leaves >= 1; }));
  EXPECT_EQ(Bar->Helper()->ViewInfo()->HotPart(), sbpNone);
  // Under load Wine may deliver a stray leave and re-entry on the way; they
  // come in pairs.
  EXPECT_EQ(Events->Enters, Events->Leaves);
}

TEST_F(TScrollBarFixture, ScrollNotificationsScrollTheBar) {
  const struct {
    const char* Name;
    UINT Message;
    WORD Code;
    int From;
    int Expected;
  } rows[] = {
      {"a line down", CN_VSCROLL, SB_LINEDOWN, 40, 42},
      {"a page up", CN_VSCROLL, SB_PAGEUP, 40, 37},
      {"to the top", CN_HSCROLL, SB_TOP, 40, -5},
      {"to the bottom", CN_VSCROLL, SB_BOTTOM, 40, 80},
      {"a page down with no room", CN_VSCROLL, SB_PAGEDOWN, 80, 80},
      {"a line up with no room", CN_VSCROLL, SB_LINEUP, -5, -5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->SetScrollParams(-5, 80, row.From, 0);
    Bar->SetSmallChange(2);
    Bar->SetLargeChange(3);
    ClearEvents();
    Bar->Perform(row.Message, row.Code, 0);
    EXPECT_EQ(Bar->Position(), row.Expected);
    EXPECT_EQ(Events->Changes, row.Expected != row.From ? 1 : 0) << "OnChange only on a real change";
  }
}

TEST_F(TScrollBarFixture, SettingAPropertyKeepsTheOthers) {
  Bar->SetScrollParams(10, 90, 50, 5);
  Bar->SetMax(70);
  EXPECT_EQ(Bar->Min(), 10);
  EXPECT_EQ(Bar->Position(), 50);
  EXPECT_EQ(Bar->PageSize(), 5);
  Bar->SetParams(80, 0, 60);
  EXPECT_EQ(Bar->Position(), 60) << "held to the new range";
  EXPECT_EQ(Bar->PageSize(), 5);
  EXPECT_THROW(Bar->SetMin(61), EInvalidOperation);
  EXPECT_EQ(Bar->Min(), 0) << "a refused range changes nothing";
}

TEST_F(TScrollBarFixture, EnablingAndShowingReachTheModel) {
  Bar->SetEnabled(false);
  EXPECT_FALSE(Bar->Helper()->Enabled());
  EXPECT_TRUE(Part(sbpThumbnail).IsEmpty()) << "a disabled bar shows no thumb";
  Bar->SetEnabled(true);
  EXPECT_TRUE(Bar->Helper()->Enabled());
  EXPECT_FALSE(Part(sbpThumbnail).IsEmpty());
  Bar->SetVisible(false);
  EXPECT_FALSE(Bar->Helper()->Visible());
  Bar->SetVisible(true);
  EXPECT_TRUE(Bar->Helper()->Visible());
}

// A skin of the test's own: only its style matters here.
class TBarSkinPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TBarSkinPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override { return L"BarTestSkin"; }
  TcxLookAndFeelStyle LookAndFeelStyle() override { return lfsSkin; }
};

TEST_F(TScrollBarFixture, ASkinHidesTheThreeDEdgeAndLeavingItRestoresTheRequest) {
  ASSERT_TRUE(GetPaintersManager()->Register(TOwned<TcxCustomLookAndFeelPainter>(New<TBarSkinPainter>())));
  TScopeExit unregistered([] { GetPaintersManager()->Unregister(L"BarTestSkin"); });
  Bar->LookAndFeel()->SetNativeStyle(false);  // a native look shows no skin
  for (bool requested : {true, false}) {
    SCOPED_TRACE(requested ? "3-D asked for" : "flat asked for");
    Bar->SetCtl3D(requested);
    Bar->LookAndFeel()->SetSkinName(L"BarTestSkin");
    ASSERT_NE(Bar->LookAndFeel()->SkinPainter(), nullptr);
    EXPECT_FALSE(Bar->Ctl3D());
    Bar->LookAndFeel()->SetSkinName(L"");
    EXPECT_EQ(Bar->Ctl3D(), requested);
  }
  // A request made under the skin is kept for later.
  Bar->SetCtl3D(false);
  Bar->LookAndFeel()->SetSkinName(L"BarTestSkin");
  Bar->SetCtl3D(true);
  EXPECT_FALSE(Bar->Ctl3D());
  Bar->LookAndFeel()->SetSkinName(L"");
  EXPECT_TRUE(Bar->Ctl3D());
}

TEST_F(TScrollBarFixture, TheBarIsNeverErased) {
  TPixelSurface surface(Bar->Width(), Bar->Height(), RGB(1, 2, 3));
  EXPECT_EQ(Bar->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0), 1);
  EXPECT_EQ(surface.Count(RGB(1, 2, 3)), surface.Width() * surface.Height());
}

// The bar painted against the look-and-feel painter drawing the system bar's
// layout of the same parameters on the same kind of surface.
TEST_F(TScrollBarFixture, ThePaintedBarIsTheLookAndFeelDrawingTheSystemsLayout) {
  const int thickness = GetSystemMetrics(SM_CXVSCROLL);
  const int length = 150;
  const struct {
    const char* Name;
    TScrollBarKind Kind;
    TcxLookAndFeelStyle Style;
  } rows[] = {
      {"vertical, standard", sbVertical, lfsStandard},
      {"horizontal, standard", sbHorizontal, lfsStandard},
      {"vertical, flat", sbVertical, lfsFlat},
      {"horizontal, office 11", sbHorizontal, lfsOffice11},
  };
  auto* nativeParent = New<TNativeBarParent>(Form.get());
  nativeParent->SetParent(Form.get());
  nativeParent->SetBounds(50, 20, 200, 200);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const bool vertical = row.Kind == sbVertical;
    const int width = vertical ? thickness : length;
    const int height = vertical ? length : thickness;
    Bar->LookAndFeel()->SetStyle(row.Style);
    Bar->SetKind(row.Kind);
    Bar->SetBounds(250, 20, width, height);
    // A thumb longer than any look's shortest, so that the system's layout
    // holds for every look.
    Bar->SetScrollParams(0, 99, 50, 30);

    const HWND native = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | (vertical ? SBS_VERT : SBS_HORZ), 0, 0,
                                        width, height, nativeParent->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(native, nullptr);
    TScopeExit destroyed([native] { DestroyWindow(native); });
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 99, 30, 50, 0};
    SetScrollInfo(native, SB_CTL, &info, FALSE);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(native, OBJID_CLIENT, &bar));
    const int arrow = thickness;  // square arrows while the bar is long enough
    const int thumbLow = bar.xyThumbTop;
    const int thumbHigh = bar.xyThumbBottom;
    auto along = [&](int ALow, int AHigh) {
      return vertical ? TRect(0, ALow, width, AHigh) : TRect(ALow, 0, AHigh, height);
    };

    TPixelSurface expected(width, height, RGB(1, 2, 3));
    {
      TOwned<TCanvas> canvas(New<TCanvas>());
      canvas->SetHandle(expected.DC());
      TOwned<TcxCanvas> cx(New<TcxCanvas>(canvas.get()));
      TcxCustomLookAndFeelPainter* painter = Bar->LookAndFeel()->GetAvailablePainter(totScrollBar);
      ASSERT_NE(painter, nullptr);
      cx->FillRect(expected.ClientRect(), Bar->Brush()->Color());
      painter->DrawScaledScrollBarBackground(cx.get(), expected.ClientRect(), !vertical, Bar->ScaleFactor());
      const struct {
        TcxScrollBarPart Part;
        TRect Bounds;
      } parts[] = {{sbpLineUp, along(0, arrow)},
                   {sbpLineDown, along(length - arrow, length)},
                   {sbpThumbnail, along(thumbLow, thumbHigh)},
                   {sbpPageUp, along(arrow, thumbLow)},
                   {sbpPageDown, along(thumbHigh, length - arrow)}};
      for (const auto& part : parts)
        if (!part.Bounds.IsEmpty())
          painter->DrawScaledScrollBarPart(cx.get(), !vertical, part.Bounds, part.Part, cxbsNormal, Bar->ScaleFactor());
      canvas->SetHandle(nullptr);
    }

    TPixelSurface painted(width, height, RGB(1, 2, 3));
    Bar->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.DC()), PRF_CLIENT);
    int different = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) different += painted.Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(different, 0) << "painted:\n"
                            << painted.Picture(expected.Pixel(width / 2, height / 2)) << "expected:\n"
                            << expected.Picture(expected.Pixel(width / 2, height / 2));
  }
}

TEST(cxScrollBarControl, CreatingAndFreeingBarsLeavesNoGdiObject) {
  TOwned<TForm> form(NewShownForm(TRect(40, 40, 340, 240)));
  auto once = [&] {
    TcxScrollBar* bar = New<TcxScrollBar>(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(10, 10, 150, 17);
    bar->Repaint();
    bar->Free();
  };
  once();  // the first bar builds the shared brushes and caches
  const int before = GdiObjectCount();
  for (int i = 0; i < 200; ++i) once();
  EXPECT_LE(GdiObjectCount(), before + 2);
}

}  // namespace
