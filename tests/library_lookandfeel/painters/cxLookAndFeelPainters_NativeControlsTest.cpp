// The Native painter beside the system's own themed controls: a real button,
// check box and header control of the common controls 6 asked to draw their
// client area into a bitmap, and the painter drawing the same thing there.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/system/dxUxTheme.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/LookAndFeelTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

TcxCustomLookAndFeelPainter* Native() { return GetPaintersManager()->GetPainter(lfsNative); }

// The DPI a parent test started this process at (0: none).
constexpr const wchar_t* ChildDpiVariable = L"SKARNIVEL_TEST_DPI";
int ChildDpi() {
  wchar_t value[16]{};
  return GetEnvironmentVariableW(ChildDpiVariable, value, 16) ? _wtoi(value) : 0;
}

// The controls draw at the screen's DPI, and so does the painter here.
TdxScaleFactor* ScreenScale() { return SystemScaleFactor(); }
int Px(int A96) { return MulDiv(A96, static_cast<int>(GetDpiForSystem()), 96); }

// A top-level window whose background is the test's background colour, so
// that a control's transparent corners, drawn from its parent, and the
// background a check box asks its parent for read as Bg.
class THost {
 public:
  THost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = FBrush;
    wc.lpszClassName = ClassName;
    RegisterClassW(&wc);
    FHandle = CreateWindowExW(0, ClassName, L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, this);
  }
  ~THost() {
    if (FHandle) DestroyWindow(FHandle);
    UnregisterClassW(ClassName, GetModuleHandleW(nullptr));
    DeleteObject(FBrush);
  }
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;
  HWND Handle() const { return FHandle; }

 private:
  static LRESULT CALLBACK Proc(HWND AWnd, UINT AMsg, WPARAM AW, LPARAM AL) {
    if (AMsg == WM_NCCREATE)
      SetWindowLongPtrW(AWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(AL)->lpCreateParams));
    if (AMsg == WM_CTLCOLORSTATIC || AMsg == WM_CTLCOLORBTN)
      if (const auto* host = reinterpret_cast<const THost*>(GetWindowLongPtrW(AWnd, GWLP_USERDATA)))
        return reinterpret_cast<LRESULT>(host->FBrush);
    return DefWindowProcW(AWnd, AMsg, AW, AL);
  }

  static constexpr const wchar_t* ClassName = L"NativeControlsTestHost";
  HBRUSH FBrush = CreateSolidBrush(Bg);
  HWND FHandle = nullptr;
};

// What the control draws of its client area, on a surface of the test's
// background.
TPixelSurface PrintClient(HWND AControl) {
  RECT client{};
  GetClientRect(AControl, &client);
  TPixelSurface s(client.right, client.bottom, Bg);
  SendMessageW(AControl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  return s;
}

// The painter drawing one kind of control's part in a state into the bounds
// the control drew.
using TPartDrawer = std::function<void(TcxCanvas*, const TRect&, TcxButtonState)>;

TPartDrawer PushButton() {
  return [](TcxCanvas* C, const TRect& R, TcxButtonState AState) {
    Native()->DrawScaledButton(C, R, AState, ScreenScale(), cxbpButton, clDefault);
  };
}
TPartDrawer CheckBox(TcxCheckBoxState ACheck) {
  return [ACheck](TcxCanvas* C, const TRect& R, TcxButtonState AState) {
    Native()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(C), R, AState, ACheck, clDefault, ScreenScale(),
                              true);
  };
}
TPartDrawer RadioButton(bool AChecked) {
  return [AChecked](TcxCanvas* C, const TRect& R, TcxButtonState AState) {
    Native()->DrawScaledRadioButton(C, R.Left, R.Top, AState, AChecked, false, clDefault, ScreenScale());
  };
}
TPartDrawer HeaderItem() {
  return [](TcxCanvas* C, const TRect& R, TcxButtonState AState) {
    Native()->DrawScaledHeader(C, R, AState, {}, cxBordersAll(), ScreenScale());
  };
}

void Check(HWND AControl) { SendMessageW(AControl, BM_SETCHECK, BST_CHECKED, 0); }

// A header of one item 70 pixels wide.
constexpr int HeaderItemWidth = 70;
void AddHeaderItem(HWND AHeader) {
  HDITEMW item{};
  item.mask = HDI_WIDTH | HDI_FORMAT;
  item.cxy = HeaderItemWidth;
  item.fmt = HDF_LEFT;
  SendMessageW(AHeader, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// What the screen shows of a window.
TPixelSurface ScreenOf(HWND AWindow) {
  RECT screen{};
  GetWindowRect(AWindow, &screen);
  TPixelSurface s(screen.right - screen.left, screen.bottom - screen.top, Bg);
  const HDC desktop = GetDC(nullptr);
  BitBlt(s.DC(), 0, 0, s.Width(), s.Height(), desktop, screen.left, screen.top, SRCCOPY);
  ReleaseDC(nullptr, desktop);
  return s;
}

struct TControlRow {
  std::string Name;
  const wchar_t* Class;
  DWORD Style;
  TSize Size;
  // The control made ready to draw (a header's item, a box's check).
  std::function<void(HWND)> Prepare;
  TPartDrawer Draw;
  TcxButtonState State;
  // A header's first item, from the control's left edge (0: all it drew).
  int ItemWidth = 0;
};

std::vector<TControlRow> ControlRows() {
  const auto none = [](HWND) {};
  constexpr DWORD disabled = WS_DISABLED;
  return {
      {"push button", WC_BUTTONW, BS_PUSHBUTTON, TSize(Px(60), Px(26)), none, PushButton(), cxbsNormal},
      {"disabled push button", WC_BUTTONW, BS_PUSHBUTTON | disabled, TSize(Px(60), Px(26)), none, PushButton(), cxbsDisabled},
      {"unchecked box", WC_BUTTONW, BS_AUTOCHECKBOX, TSize(Px(40), Px(24)), none, CheckBox(cbsUnchecked), cxbsNormal},
      {"checked box", WC_BUTTONW, BS_AUTOCHECKBOX, TSize(Px(40), Px(24)), Check, CheckBox(cbsChecked), cxbsNormal},
      {"disabled checked box", WC_BUTTONW, BS_AUTOCHECKBOX | disabled, TSize(Px(40), Px(24)), Check, CheckBox(cbsChecked),
       cxbsDisabled},
      {"unchecked radio button", WC_BUTTONW, BS_AUTORADIOBUTTON, TSize(Px(40), Px(24)), none, RadioButton(false), cxbsNormal},
      {"checked radio button", WC_BUTTONW, BS_AUTORADIOBUTTON, TSize(Px(40), Px(24)), Check, RadioButton(true), cxbsNormal},
      {"disabled radio button", WC_BUTTONW, BS_AUTORADIOBUTTON | disabled, TSize(Px(40), Px(24)), none, RadioButton(false),
       cxbsDisabled},
      {"disabled checked radio button", WC_BUTTONW, BS_AUTORADIOBUTTON | disabled, TSize(Px(40), Px(24)), Check,
       RadioButton(true), cxbsDisabled},
      {"header item", WC_HEADERW, HDS_HORZ, TSize(Px(120), Px(24)), AddHeaderItem, HeaderItem(), cxbsNormal, HeaderItemWidth},
  };
}

class NativePainterBesideControls : public testing::Test {
 protected:
  void SetUp() override {
    if (const int dpi = ChildDpi()) {
      ASSERT_EQ(static_cast<int>(GetDpiForSystem()), dpi) << "started at that DPI";
    }
    if (!AreVisualStylesAvailable(TdxThemedObjectTypes{totButton})) GTEST_SKIP() << "no visual styles";
    ASSERT_TRUE(FControls.Active()) << "the common controls 6 activation context";
    ASSERT_NE(FHost.Handle(), nullptr);
  }

  TCommonControls6 FControls;
  THost FHost;
};

TEST_F(NativePainterBesideControls, NormalControlsAreThePaintersDrawing) {
  for (const TControlRow& row : ControlRows()) {
    SCOPED_TRACE(row.Name);
    const HWND control = CreateWindowExW(0, row.Class, L"", WS_CHILD | WS_VISIBLE | row.Style, 0, 0, row.Size.cx,
                                         row.Size.cy, FHost.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    EXPECT_NE(GetWindowTheme(control), nullptr) << "a themed control";
    row.Prepare(control);
    const TPixelSurface system = PrintClient(control);
    DestroyWindow(control);
    TRect part = system.BoundsOfOther(Bg);
    ASSERT_FALSE(part.IsEmpty()) << "the control draws itself";
    if (row.ItemWidth) part.Right = part.Left + row.ItemWidth;

    const auto painter = [&](TcxButtonState AState) {
      TCanvasOnSurface canvas(system.Width(), system.Height(), Bg);
      row.Draw(canvas.Get(), part, AState);
      return DifferingPixels(canvas.Surface, system, part);
    };
    EXPECT_EQ(painter(row.State), 0) << "control:\n" << system.Picture(Bg);
    EXPECT_GT(painter(row.State == cxbsNormal ? cxbsPressed : cxbsNormal), 0) << "another state differs";
  }
}

// The push button hot under the mouse and pressed by its left button.
TEST_F(NativePainterBesideControls, HotAndPressedButtonsAreThePaintersDrawing) {
  const HWND host = FHost.Handle();
  SetWindowPos(host, HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
  SetForegroundWindow(host);
  const HWND button = CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 60, 26, host,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  const auto state = [button] { return static_cast<UINT>(SendMessageW(button, BM_GETSTATE, 0, 0)); };
  POINT centre{30, 13};
  ClientToScreen(button, &centre);
  const TPoint at(centre.x, centre.y);

  // A focused button adds the system's dotted focus cue inside the theme's
  // content rectangle (Wine's button draws it whatever the keyboard-cue state).
  const auto expectPainter = [button](TcxButtonState AState, int AThemeState, bool AFocused) {
    const TPixelSurface system = PrintClient(button);
    TCanvasOnSurface canvas(system.Width(), system.Height(), Bg);
    Native()->DrawScaledButton(canvas.Get(), system.ClientRect(), AState, ScreenScale(), cxbpButton, clDefault);
    if (AFocused) {
      const HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
      const RECT bounds = system.ClientRect();
      RECT content{};
      GetThemeBackgroundContentRect(theme, canvas.Surface.DC(), BP_PUSHBUTTON, AThemeState, &bounds, &content);
      CloseThemeData(theme);
      DrawFocusRect(canvas.Surface.DC(), &content);
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0)
        << "control:\n" << system.Picture(Bg) << "painter:\n" << canvas.Surface.Picture(Bg);
  };
  {
    SCOPED_TRACE("hot");
    ASSERT_TRUE(SendMouseUntil(at, 0, [&] { return (state() & BST_HOT) != 0; })) << "the button under the mouse";
    expectPainter(cxbsHot, PBS_HOT, false);
  }
  {
    SCOPED_TRACE("pressed");
    ASSERT_TRUE(SendMouseUntil(at, MOUSEEVENTF_LEFTDOWN, [&] { return (state() & BST_PUSHED) != 0; }))
        << "the button held down";
    ASSERT_EQ(GetFocus(), button) << "the click focuses the button";
    expectPainter(cxbsPressed, PBS_PRESSED, true);
    SendMouseButtons(at, MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return (state() & BST_PUSHED) == 0; }, 1000);
  }
  // Left before it goes: Wine keeps tracking the mouse for a destroyed
  // window, and the next control under the mouse would never turn hot.
  POINT away{180, 90};
  ClientToScreen(host, &away);
  EXPECT_TRUE(MoveUntil(TPoint(away.x, away.y), [&] { return (state() & BST_HOT) == 0; }));
  DestroyWindow(button);
  ShowWindow(host, SW_HIDE);
}

// A check box and a header item hot under the mouse and pressed by its left
// button, compared where each drew its normal look.
TEST_F(NativePainterBesideControls, HotAndPressedCheckBoxAndHeaderItemAreThePaintersDrawing) {
  const HWND host = FHost.Handle();
  SetWindowPos(host, HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
  SetForegroundWindow(host);
  const auto buttonState = [](HWND AControl, UINT AFlag) -> std::function<bool()> {
    return [AControl, AFlag] { return (SendMessageW(AControl, BM_GETSTATE, 0, 0) & AFlag) != 0; };
  };
  // A header shows no state but its drawing.
  const auto drawingChanged = [](HWND AControl, const TPixelSurface& ABefore) -> std::function<bool()> {
    return [AControl, &ABefore] { return DifferingPixels(PrintClient(AControl), ABefore) > 0; };
  };
  struct TInputRow {
    std::string Name;
    const wchar_t* Class;
    DWORD Style;
    std::function<void(HWND)> Prepare;
    TPartDrawer Draw;
    int ItemWidth;
    bool Button;
  };
  const TInputRow rows[] = {
      {"check box", WC_BUTTONW, BS_AUTOCHECKBOX, [](HWND) {}, CheckBox(cbsUnchecked), 0, true},
      {"header item", WC_HEADERW, HDS_HORZ | HDS_BUTTONS | HDS_HOTTRACK, AddHeaderItem, HeaderItem(), HeaderItemWidth,
       false},
  };
  POINT away{180, 90};
  ClientToScreen(host, &away);
  for (const TInputRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const HWND control = CreateWindowExW(0, row.Class, L"", WS_CHILD | WS_VISIBLE | row.Style, 20, 20, 120, Px(24), host,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    row.Prepare(control);
    const TPixelSurface normal = PrintClient(control);
    TRect part = normal.BoundsOfOther(Bg);
    ASSERT_FALSE(part.IsEmpty());
    if (row.ItemWidth) part.Right = part.Left + row.ItemWidth;
    POINT centre{(part.Left + part.Right) / 2, (part.Top + part.Bottom) / 2};
    ClientToScreen(control, &centre);
    const TPoint at(centre.x, centre.y);

    const auto expectPainter = [&](TcxButtonState AState, TcxButtonState ASwapped) {
      const TPixelSurface system = PrintClient(control);
      const auto painter = [&](TcxButtonState APainted) {
        TCanvasOnSurface canvas(system.Width(), system.Height(), Bg);
        row.Draw(canvas.Get(), part, APainted);
        return DifferingPixels(canvas.Surface, system, part);
      };
      EXPECT_EQ(painter(AState), 0) << "control:\n" << system.Picture(Bg);
      EXPECT_GT(painter(ASwapped), 0) << "another state differs";
    };
    {
      SCOPED_TRACE("hot");
      ASSERT_TRUE(MoveUntil(at, row.Button ? buttonState(control, BST_HOT) : drawingChanged(control, normal)))
          << "the control under the mouse";
      expectPainter(cxbsHot, cxbsNormal);
    }
    {
      SCOPED_TRACE("pressed");
      const TPixelSurface hot = PrintClient(control);
      ASSERT_TRUE(SendMouseUntil(at, MOUSEEVENTF_LEFTDOWN,
                                 row.Button ? buttonState(control, BST_PUSHED) : drawingChanged(control, hot)))
          << "the control held down";
      expectPainter(cxbsPressed, cxbsHot);
      SendMouseButtons(at, MOUSEEVENTF_LEFTUP);
    }
    // Left before it goes: Wine keeps tracking the mouse for a destroyed
    // window, and the next control under the mouse would never turn hot.
    const std::function<bool()> notHot = [&] {
      return row.Button ? !buttonState(control, BST_HOT)() : DifferingPixels(PrintClient(control), normal) == 0;
    };
    EXPECT_TRUE(MoveUntil(TPoint(away.x, away.y), notHot));
    DestroyWindow(control);
  }
  ShowWindow(host, SW_HIDE);
}

// A scroll bar draws neither through WM_PRINTCLIENT nor PrintWindow under
// Wine: its arrows and thumb are read from the screen.
TEST_F(NativePainterBesideControls, ScrollBarArrowsAndThumbAreThePaintersDrawing) {
  const HWND host = FHost.Handle();
  SetWindowPos(host, HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
  const int h = GetSystemMetrics(SM_CYHSCROLL);
  const HWND bar = CreateWindowExW(0, WC_SCROLLBARW, L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 10, 150, h, host, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bar, nullptr);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 20, 30, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  UpdateWindow(host);
  UpdateWindow(bar);
  PumpPending();
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  ASSERT_LT(info.xyThumbTop, info.xyThumbBottom) << "a thumb to compare";
  const TPixelSurface system = ScreenOf(bar);
  const int w = system.Width();
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  struct TPartRow {
    std::string Name;
    TcxScrollBarPart Part;
    TRect Bounds;
  };
  for (const TPartRow& row : {TPartRow{"left arrow", sbpLineUp, TRect(0, 0, arrow, h)},
                              TPartRow{"right arrow", sbpLineDown, TRect(w - arrow, 0, w, h)},
                              TPartRow{"thumb", sbpThumbnail, TRect(info.xyThumbTop, 0, info.xyThumbBottom, h)}}) {
    SCOPED_TRACE(row.Name);
    ASSERT_GT(system.CountOther(row.Bounds, Bg), 0) << "the bar on the screen";
    TCanvasOnSurface canvas(system.Width(), system.Height(), Bg);
    Native()->DrawScaledScrollBarPart(canvas.Get(), true, row.Bounds, row.Part, cxbsNormal, ScreenScale());
    EXPECT_EQ(DifferingPixels(canvas.Surface, system, row.Bounds), 0)
        << "control:\n" << system.Picture(Bg) << "painter:\n" << canvas.Surface.Picture(Bg);
  }
  DestroyWindow(bar);
  ShowWindow(host, SW_HIDE);
}

// A track bar's thumb where TBM_GETTHUMBRECT puts it. Under it the painter
// gets what the same control draws without a thumb (TBS_NOTHUMB): its track
// and ticks show through the thumb's clear corners as they do in the control.
TEST_F(NativePainterBesideControls, TrackBarThumbsAreThePaintersDrawing) {
  struct TThumbRow {
    const char* Name;
    DWORD Style;
    bool Horizontal;
    TcxTrackBarTicksAlign Ticks;
    TcxButtonState State;
  };
  const TThumbRow rows[] = {
      {"ticks below", TBS_HORZ | TBS_BOTTOM, true, tbtaDown, cxbsNormal},
      {"ticks above", TBS_HORZ | TBS_TOP, true, tbtaUp, cxbsNormal},
      {"ticks on both sides", TBS_HORZ | TBS_BOTH, true, tbtaBoth, cxbsNormal},
      {"vertical, ticks right", TBS_VERT | TBS_RIGHT, false, tbtaDown, cxbsNormal},
      {"vertical, ticks left", TBS_VERT | TBS_LEFT, false, tbtaUp, cxbsNormal},
      {"vertical, ticks on both sides", TBS_VERT | TBS_BOTH, false, tbtaBoth, cxbsNormal},
      {"disabled", TBS_HORZ | TBS_BOTTOM | WS_DISABLED, true, tbtaDown, cxbsDisabled},
  };
  const auto create = [this](DWORD AStyle, bool AHorizontal) {
    const HWND bar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS | AStyle, 0, 0,
                                     Px(AHorizontal ? 150 : 34), Px(AHorizontal ? 34 : 150), FHost.Handle(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
    SendMessageW(bar, TBM_SETPOS, TRUE, 4);
    return bar;
  };
  for (const TThumbRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const HWND bar = create(row.Style, row.Horizontal);
    const HWND bare = create(row.Style | TBS_NOTHUMB, row.Horizontal);
    ASSERT_TRUE(bar && bare);
    EXPECT_NE(GetWindowTheme(bar), nullptr) << "a themed control";
    RECT thumbRect{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbRect));
    const TRect thumb(thumbRect);
    const TPixelSurface system = PrintClient(bar);
    const TPixelSurface track = PrintClient(bare);
    DestroyWindow(bar);
    DestroyWindow(bare);
    ASSERT_FALSE(thumb.IsEmpty());
    ASSERT_GT(DifferingPixels(system, track, thumb), 0) << "the control draws its thumb";

    const auto painter = [&](TcxButtonState AState) {
      TCanvasOnSurface canvas(track.Width(), track.Height(), Bg);
      BitBlt(canvas.Surface.DC(), 0, 0, track.Width(), track.Height(), track.DC(), 0, 0, SRCCOPY);
      Native()->DrawTrackBarScaledThumb(canvas.Get(), thumb, AState, row.Horizontal, row.Ticks, clDefault,
                                        ScreenScale());
      return DifferingPixels(canvas.Surface, system, thumb);
    };
    EXPECT_EQ(painter(row.State), 0) << "control:\n" << system.Picture(Bg);
    EXPECT_GT(painter(row.State == cxbsDisabled ? cxbsNormal : cxbsPressed), 0) << "another state differs";
  }
}

// The scroll bar's arrow and thumb hot under the mouse and pressed by its left
// button. A pressed scroll bar runs its own message loop until the button
// is released, so the pressed look is read from a timer inside that loop,
// which then lets the button go.
struct TPressedScreen {
  HWND Bar = nullptr;
  const TPixelSurface* Hot = nullptr;
  TPoint At;
  int Ticks = 0;
  std::optional<TPixelSurface> Pressed;
};
TPressedScreen* PressedScreen = nullptr;

constexpr int PressedTicks = 50;

void CALLBACK ReadPressedScreen(HWND, UINT, UINT_PTR, DWORD) {
  TPressedScreen& p = *PressedScreen;
  if (p.Pressed || p.Ticks == PressedTicks) return;
  bool done = true;
  try {
    TPixelSurface now = ScreenOf(p.Bar);
    if (DifferingPixels(now, *p.Hot) > 0)
      p.Pressed.emplace(std::move(now));
    else
      done = ++p.Ticks == PressedTicks;
  } catch (...) {
    // Nothing may leave a callback: the test reports the missing picture.
    p.Ticks = PressedTicks;
  }
  if (done) SendMouseButtons(p.At, MOUSEEVENTF_LEFTUP);
}

TEST_F(NativePainterBesideControls, HotAndPressedScrollBarPartsAreThePaintersDrawing) {
  const HWND host = FHost.Handle();
  SetWindowPos(host, HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
  SetForegroundWindow(host);
  POINT away{180, 90};
  ClientToScreen(host, &away);
  const int h = GetSystemMetrics(SM_CYHSCROLL);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  struct TPartRow {
    std::string Name;
    TcxScrollBarPart Part;
  };
  for (const TPartRow& row : {TPartRow{"left arrow", sbpLineUp}, TPartRow{"thumb", sbpThumbnail}}) {
    SCOPED_TRACE(row.Name);
    const HWND bar = CreateWindowExW(0, WC_SCROLLBARW, L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 10, 150, h, host,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 20, 30, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    UpdateWindow(bar);
    PumpPending();
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
    const TRect bounds =
        row.Part == sbpLineUp ? TRect(0, 0, arrow, h) : TRect(info.xyThumbTop, 0, info.xyThumbBottom, h);
    POINT centre{(bounds.Left + bounds.Right) / 2, h / 2};
    ClientToScreen(bar, &centre);
    const TPoint at(centre.x, centre.y);
    const TPixelSurface normal = ScreenOf(bar);

    const auto expectPainter = [&](const TPixelSurface& ASystem, TcxButtonState AState, TcxButtonState ASwapped) {
      const auto painter = [&](TcxButtonState APainted) {
        TCanvasOnSurface canvas(ASystem.Width(), ASystem.Height(), Bg);
        Native()->DrawScaledScrollBarPart(canvas.Get(), true, bounds, row.Part, APainted, ScreenScale());
        return DifferingPixels(canvas.Surface, ASystem, bounds);
      };
      EXPECT_EQ(painter(AState), 0) << "control:\n" << ASystem.Picture(Bg);
      EXPECT_GT(painter(ASwapped), 0) << "another state differs";
    };
    const auto changedFrom = [bar, &bounds](const TPixelSurface& ABefore) {
      return [bar, &bounds, &ABefore] { return DifferingPixels(ScreenOf(bar), ABefore, bounds) > 0; };
    };
    ASSERT_TRUE(MoveUntil(at, changedFrom(normal))) << "the part under the mouse";
    PumpPending();
    const TPixelSurface hot = ScreenOf(bar);
    {
      SCOPED_TRACE("hot");
      expectPainter(hot, cxbsHot, cxbsNormal);
    }
    {
      SCOPED_TRACE("pressed");
      TPressedScreen pressed;
      pressed.Bar = bar;
      pressed.Hot = &hot;
      pressed.At = at;
      PressedScreen = &pressed;
      const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadPressedScreen);
      SendMouseButtons(at, MOUSEEVENTF_LEFTDOWN);
      PumpUntil([&] { return pressed.Ticks == PressedTicks || pressed.Pressed.has_value(); }, 3000);
      KillTimer(nullptr, timer);
      PressedScreen = nullptr;
      ASSERT_TRUE(pressed.Pressed.has_value()) << "the part held down";
      expectPainter(*pressed.Pressed, cxbsPressed, cxbsHot);
    }
    EXPECT_TRUE(MoveUntil(TPoint(away.x, away.y), [&] { return DifferingPixels(ScreenOf(bar), normal, bounds) == 0; }));
    DestroyWindow(bar);
  }
  ShowWindow(host, SW_HIDE);
}

// The track bar's thumb hot under the mouse and pressed by its left button.
TEST_F(NativePainterBesideControls, HotAndPressedTrackBarThumbsAreThePaintersDrawing) {
  const HWND host = FHost.Handle();
  SetWindowPos(host, HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
  SetForegroundWindow(host);
  const auto create = [host](DWORD AStyle) {
    const HWND bar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | AStyle, 10, 10, 150, Px(34),
                                     host, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
    SendMessageW(bar, TBM_SETPOS, TRUE, 4);
    return bar;
  };
  const HWND bar = create(TBS_HORZ | TBS_BOTTOM);
  const HWND bare = create(TBS_HORZ | TBS_BOTTOM | TBS_NOTHUMB);
  ASSERT_TRUE(bar && bare);
  ShowWindow(bare, SW_HIDE);
  RECT thumbRect{};
  SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbRect));
  const TRect thumb(thumbRect);
  const TPixelSurface track = PrintClient(bare);
  const TPixelSurface normal = PrintClient(bar);
  POINT centre{(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2};
  ClientToScreen(bar, &centre);
  const TPoint at(centre.x, centre.y);
  const auto changedFrom = [bar, &thumb](const TPixelSurface& ABefore) {
    return [bar, &thumb, &ABefore] { return DifferingPixels(PrintClient(bar), ABefore, thumb) > 0; };
  };
  const auto expectPainter = [&](TcxButtonState AState, TcxButtonState ASwapped) {
    const TPixelSurface system = PrintClient(bar);
    const auto painter = [&](TcxButtonState APainted) {
      TCanvasOnSurface canvas(track.Width(), track.Height(), Bg);
      BitBlt(canvas.Surface.DC(), 0, 0, track.Width(), track.Height(), track.DC(), 0, 0, SRCCOPY);
      Native()->DrawTrackBarScaledThumb(canvas.Get(), thumb, APainted, true, tbtaDown, clDefault, ScreenScale());
      return DifferingPixels(canvas.Surface, system, thumb);
    };
    EXPECT_EQ(painter(AState), 0) << "control:\n" << system.Picture(Bg);
    EXPECT_GT(painter(ASwapped), 0) << "another state differs";
  };
  {
    SCOPED_TRACE("hot");
    ASSERT_TRUE(MoveUntil(at, changedFrom(normal))) << "the thumb under the mouse";
    expectPainter(cxbsHot, cxbsNormal);
  }
  {
    SCOPED_TRACE("pressed");
    const TPixelSurface hot = PrintClient(bar);
    ASSERT_TRUE(SendMouseUntil(at, MOUSEEVENTF_LEFTDOWN, changedFrom(hot))) << "the thumb held down";
    expectPainter(cxbsPressed, cxbsHot);
    SendMouseButtons(at, MOUSEEVENTF_LEFTUP);
  }
  // Wine keeps tracking the mouse for a destroyed window, and the next
  // control under the mouse would never turn hot: the tracking is ended here
  // (the thumb, focused, keeps a look of its own after the mouse leaves).
  TRACKMOUSEEVENT tracking{sizeof(tracking), TME_QUERY, nullptr, 0};
  if (TrackMouseEvent(&tracking) && tracking.hwndTrack == bar) {
    tracking.dwFlags |= TME_CANCEL;
    TrackMouseEvent(&tracking);
  }
  DestroyWindow(bar);
  DestroyWindow(bare);
  ShowWindow(host, SW_HIDE);
}

// Wine takes a process's DPI from the user's LogPixels when the process
// starts: the comparisons above run again in a child of this program started
// with LogPixels at 144 and at 192 (the value put back when it ends).
class TLogPixelsScope {
 public:
  explicit TLogPixelsScope(DWORD ADpi) {
    DWORD size = sizeof(FSaved);
    FHad = RegGetValueW(HKEY_CURRENT_USER, Key, Name, RRF_RT_REG_DWORD, nullptr, &FSaved, &size) == ERROR_SUCCESS;
    FSet = RegSetKeyValueW(HKEY_CURRENT_USER, Key, Name, REG_DWORD, &ADpi, sizeof(ADpi)) == ERROR_SUCCESS;
  }
  ~TLogPixelsScope() {
    if (FHad)
      RegSetKeyValueW(HKEY_CURRENT_USER, Key, Name, REG_DWORD, &FSaved, sizeof(FSaved));
    else if (FSet)
      RegDeleteKeyValueW(HKEY_CURRENT_USER, Key, Name);
  }
  TLogPixelsScope(const TLogPixelsScope&) = delete;
  TLogPixelsScope& operator=(const TLogPixelsScope&) = delete;
  bool Set() const { return FSet; }

 private:
  static constexpr const wchar_t* Key = L"Control Panel\\Desktop";
  static constexpr const wchar_t* Name = L"LogPixels";
  DWORD FSaved = 96;
  bool FHad = false;
  bool FSet = false;
};

class NativePainterBesideControlsAtDpi : public testing::TestWithParam<int> {};

TEST_P(NativePainterBesideControlsAtDpi, TheComparisonsHoldInAProcessStartedAtThatDpi) {
  if (ChildDpi()) GTEST_SKIP() << "a child process itself";
  const int dpi = GetParam();
  const TLogPixelsScope logPixels(static_cast<DWORD>(dpi));
  ASSERT_TRUE(logPixels.Set());
  ASSERT_TRUE(SetEnvironmentVariableW(ChildDpiVariable, std::to_wstring(dpi).c_str()));
  wchar_t program[MAX_PATH]{};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=NativePainterBesideControls.*";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const BOOL started =
      CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(ChildDpiVariable, nullptr);
  ASSERT_TRUE(started);
  const TKernelHandle process(pi.hProcess);
  const TKernelHandle thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.Get(), &code);
  EXPECT_EQ(code, 0u) << "the child's comparisons at " << dpi << " dpi (its output above)";
}

INSTANTIATE_TEST_SUITE_P(Dpi, NativePainterBesideControlsAtDpi, testing::Values(144, 192));

}  // namespace
