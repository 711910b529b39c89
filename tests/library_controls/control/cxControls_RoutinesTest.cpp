#include "library/controls/control/cxControls.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/GdiScopes.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Cursors and markers

TEST(cxControlsCursors, TheUnitRegistersTheLibrarysThirtyTwoCursorsFromTheProgramsResources) {
  const struct {
    int Index;
    const wchar_t* Name;
  } cursors[] = {
      {2100, L"CX_DRAGCOPYCURSOR"},     {2101, L"CX_FULLSCROLLCURSOR"},      {2102, L"CX_HORSCROLLCURSOR"},
      {2103, L"CX_VERSCROLLCURSOR"},    {2104, L"CX_UPSCROLLCURSOR"},        {2105, L"CX_RIGHTSCROLLCURSOR"},
      {2106, L"CX_DOWNSCROLLCURSOR"},   {2107, L"CX_LEFTSCROLLCURSOR"},      {2108, L"CX_REMOVECURSOR"},
      {2109, L"CX_VERTSIZECURSOR"},     {2110, L"CX_HORZSIZECURSOR"},        {2111, L"CX_MULTIDRAGCURSOR"},
      {2112, L"CX_NODROPCURSOR"},       {2113, L"CX_DRAGCURSOR"},            {2114, L"CX_COLORPICKERCURSOR"},
      {2115, L"CX_MULTIDRAGCOPYCURSOR"}, {2116, L"CX_HANDCURSOR"},           {2117, L"CX_HANDDRAGCURSOR"},
      {2119, L"DXLAYOUTCONTROLNODROP"}, {2120, L"DXLAYOUTCONTROLREMOVE"},    {2121, L"DXLAYOUTCONTROLDROPAFTER"},
      {2122, L"DXLAYOUTCONTROLDROPBEFORE"}, {2123, L"DXLAYOUTCONTROLDROPINSIDE"}, {2124, L"CXDROPAFTERCOPY"},
      {2125, L"CXDROPBEFORECOPY"},      {2126, L"CXDROPINSIDECOPY"},         {2127, L"CX_LEFTARROWCURSOR"},
      {2128, L"CX_RIGHTARROWCURSOR"},   {2129, L"CX_CROSSCURSOR"},           {2130, L"CX_TASKLINKCURSOR"},
      {2131, L"CX_HORZRESIZECURSOR"},   {-2099, L"CX_HANDPOINTCURSOR"},
  };
  const HCURSOR arrow = Screen()->Cursors(crArrow);
  for (const auto& cursor : cursors) {
    SCOPED_TRACE(cursor.Index);
    EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), cursor.Name, IMAGE_CURSOR, 0, 0, LR_SHARED), nullptr);
    const HCURSOR registered = Screen()->Cursors(cursor.Index);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(registered, &info));
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    EXPECT_FALSE(info.fIcon) << "a cursor";
    EXPECT_NE(registered, arrow);
  }
  EXPECT_EQ(Screen()->Cursors(2118), Screen()->Cursors(crDefault)) << "2118 is not one of them";
}

TEST(cxControlsCursors, TheThreeScrollMarkersAreBitmapResources) {
  for (const wchar_t* name : {L"CX_FULLSCROLLBITMAP", L"CX_VERSCROLLBITMAP", L"CX_HORSCROLLBITMAP"}) {
    TOwnedBitmap bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
    EXPECT_TRUE(bitmap) << name;
  }
}

// ---------------------------------------------------------------------------
// Monitors and geometry

TEST(cxControlsRoutines, TheWorkAreaIsTheNearestMonitorsAndARectangleMovesTheLeastIntoIt) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONEAREST), &info));
  const TRect area(info.rcWork);
  EXPECT_EQ(WorkAreaAtPoint(TPoint(10, 10)), area);
  EXPECT_EQ(WorkAreaAtPoint(TPoint(-5000, -5000)), area) << "the nearest monitor";
  EXPECT_EQ(WorkAreaOfRect(TRect(10, 10, 20, 20)), area);

  const struct {
    const char* Name;
    TRect R;
    TRect Expected;
  } rows[] = {
      {"inside stays", TRect(100, 100, 200, 150), TRect(100, 100, 200, 150)},
      {"past the right edge", TRect(area.Right - 50, 100, area.Right + 50, 150),
       TRect(area.Right - 100, 100, area.Right, 150)},
      {"past the bottom edge", TRect(100, area.Bottom - 10, 200, area.Bottom + 40),
       TRect(100, area.Bottom - 50, 200, area.Bottom)},
      {"before the left edge", TRect(area.Left - 30, 100, area.Left + 70, 150),
       TRect(area.Left, 100, area.Left + 100, 150)},
      {"wider than the area: the left edge wins", TRect(area.Left + 10, 100, area.Right + 100, 150),
       TRect(area.Left, 100, area.Left + area.Width() + 90, 150)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const TRect fitted = FitRectToWorkArea(row.R, TPoint(10, 10));
    EXPECT_EQ(fitted.Width(), row.R.Width());
    EXPECT_EQ(fitted.Height(), row.R.Height());
    EXPECT_EQ(fitted.Left, row.Expected.Left);
    EXPECT_EQ(fitted.Top, row.Expected.Top);
  }
}

TEST(cxControlsRoutines, ButtonDownMessagesAreTheTwelveDownsAndDoubleClicks) {
  const std::vector<UINT> downs = {WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONDBLCLK,
                                   WM_NCMBUTTONDOWN, WM_NCMBUTTONDBLCLK, WM_LBUTTONDOWN,   WM_LBUTTONDBLCLK,
                                   WM_RBUTTONDOWN,   WM_RBUTTONDBLCLK,   WM_MBUTTONDOWN,   WM_MBUTTONDBLCLK};
  int found = 0;
  for (UINT msg = 0; msg < 0x400; ++msg) {
    const bool expected = std::find(downs.begin(), downs.end(), msg) != downs.end();
    EXPECT_EQ(IsButtonDownMessage(msg), expected) << msg;
    found += IsButtonDownMessage(msg);
  }
  EXPECT_EQ(found, 12);
}

TEST(cxControlsRoutines, ShiftStatesAndDragArea) {
  EXPECT_TRUE(IsPlainMouseMove(TShiftState()));
  EXPECT_FALSE(IsPlainMouseMove(TShiftState{ssShift}));
  EXPECT_FALSE(IsPlainMouseMove(TShiftState{ssMiddle}));
  EXPECT_TRUE(IsLeftButtonOnly(TShiftState{ssLeft}));
  EXPECT_FALSE(IsLeftButtonOnly(TShiftState{ssLeft, ssDouble}));
  EXPECT_TRUE(IsLeftButtonOnly(TShiftState{ssLeft, ssDouble}, true));
  EXPECT_FALSE(IsLeftButtonOnly(TShiftState{ssLeft, ssCtrl}, true));
  EXPECT_EQ(ShiftToMouseKeyFlags(TShiftState{ssLeft, ssCtrl}), static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
  const int t = Mouse()->DragThreshold();
  EXPECT_TRUE(IsWithinDragDetectArea(TPoint(50, 50), TPoint(50 + t - 1, 50 - (t - 1))));
  EXPECT_FALSE(IsWithinDragDetectArea(TPoint(50, 50), TPoint(50 + t, 50)));
  EXPECT_FALSE(IsWithinDragDetectArea(TPoint(50, 50), TPoint(50, 50 - t)));
}

struct TWindowsFixture : testing::Test {
  TOwned<TForm> Form;
  TCustomControl* Panel = nullptr;
  TCustomControl* Child = nullptr;

  void SetUp() override {
    Form.reset(NewShownForm(TRect(80, 80, 480, 380)));
    Panel = New<TCustomControl>(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(20, 30, 200, 150);
    Child = New<TCustomControl>(Form.get());
    Child->SetParent(Panel);
    Child->SetBounds(10, 10, 50, 40);
    Child->HandleNeeded();
  }
};

TEST_F(TWindowsFixture, ChildWindowsEnabledStateAndTheDeepestWindowUnderAPoint) {
  EXPECT_TRUE(IsSameOrChildWindow(Form->Handle(), Child->Handle()));
  EXPECT_TRUE(IsSameOrChildWindow(Panel->Handle(), Panel->Handle()));
  EXPECT_FALSE(IsSameOrChildWindow(Child->Handle(), Panel->Handle()));
  EXPECT_FALSE(IsSameOrChildWindow(nullptr, Panel->Handle()));
  EXPECT_TRUE(IsChildWindowStyle(Child->Handle()));
  EXPECT_FALSE(IsChildWindowStyle(Form->Handle()));

  EXPECT_TRUE(IsWindowEnabledDeep(Child->Handle()));
  EnableWindow(Panel->Handle(), FALSE);
  EXPECT_TRUE(IsWindowEnabled(Child->Handle()));
  EXPECT_FALSE(IsWindowEnabledDeep(Child->Handle())) << "a parent is disabled";
  EnableWindow(Panel->Handle(), TRUE);

  const TPoint overChild = Child->ClientToScreen(TPoint(5, 5));
  EXPECT_EQ(DeepWindowFromPoint(overChild), Child->Handle());
  Child->Hide();
  EXPECT_EQ(DeepWindowFromPoint(overChild), Panel->Handle()) << "invisible children are skipped";
  EXPECT_EQ(FindClassLibraryControl(Child->Handle()), Child);
  EXPECT_EQ(ParentFormOfWindow(Child->Handle()), Form.get());
  EXPECT_TRUE(IsWindowOfThisProcess(Child->Handle()));
  EXPECT_FALSE(IsWindowOfThisProcess(GetDesktopWindow()));
}

TEST_F(TWindowsFixture, PointsAndRectanglesBetweenControlsAndWindows) {
  EXPECT_EQ(PointToParent(Child, Form.get(), TPoint(1, 2)), TPoint(20 + 10 + 1, 30 + 10 + 2));
  EXPECT_EQ(PointToParent(Panel, Panel, TPoint(1, 2)), TPoint(1, 2));
  EXPECT_EQ(GetControlWindowRect(Child), TRect(10, 10, 60, 50));
  POINT p{3, 4};
  MapWindowPoints(Child->Handle(), Form->Handle(), &p, 1);
  EXPECT_EQ(MapPointBetweenWindows(Child->Handle(), Form->Handle(), TPoint(3, 4)), TPoint(p));
}

TEST_F(TWindowsFixture, TheClientOriginInsideTheWindowFollowsAMirroredLayout) {
  RECT window{};
  GetWindowRect(Form->Handle(), &window);
  POINT client{0, 0};
  ClientToScreen(Form->Handle(), &client);
  EXPECT_EQ(ClientOriginInWindow(Form->Handle()), TPoint(client.x - window.left, client.y - window.top));
  // A mirrored window's client origin is its right edge.
  ModifyWindowLong(Form->Handle(), GWL_EXSTYLE, WS_EX_LAYOUTRTL, 0);
  RecalculateNonClient(Form->Handle());
  GetWindowRect(Form->Handle(), &window);
  client = POINT{0, 0};
  ClientToScreen(Form->Handle(), &client);
  const TPoint origin = ClientOriginInWindow(Form->Handle());
  EXPECT_EQ(origin, TPoint(window.right - client.x, client.y - window.top));
  EXPECT_LT(origin.X, 40) << "the width of the right border, not of the client area";
}

class TFrameCounter : public TCustomControl {
  SK_CLASS(TFrameCounter, TCustomControl)
 public:
  int FrameCalculations = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NCCALCSIZE && Message.WParam) ++FrameCalculations;
    inherited::WndProc(Message);
  }
};

TEST_F(TWindowsFixture, RecalculatingTheNonClientAreaAsksTheWindowForItsFrame) {
  TFrameCounter* control = New<TFrameCounter>(Form.get());
  control->SetParent(Form.get());
  control->HandleNeeded();
  const RECT before = SafeGetWindowRect(control->Handle());
  RecalculateNonClient(control->Handle(), true);
  EXPECT_EQ(control->FrameCalculations, 1);
  EXPECT_EQ(SafeGetWindowRect(control->Handle()), TRect(before)) << "nothing moves";
}

TEST_F(TWindowsFixture, WindowLongsAndProcedures) {
  const HWND wnd = Panel->Handle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  EXPECT_EQ(ModifyWindowLong(wnd, GWL_STYLE, WS_BORDER, WS_CLIPSIBLINGS), (style | WS_BORDER) & ~WS_CLIPSIBLINGS);
  EXPECT_TRUE(HasWindowStyle(wnd, WS_BORDER));
  ModifyWindowLong(wnd, GWL_STYLE, style & WS_CLIPSIBLINGS, WS_BORDER);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE), style);
  const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  EXPECT_EQ(SetWindowProcOf(wnd, &DefWindowProcW), original);
  EXPECT_EQ(SetWindowProcOf(wnd, original), reinterpret_cast<WNDPROC>(&DefWindowProcW));
}

TEST_F(TWindowsFixture, LayeredAttributesComeAndGo) {
  const HWND wnd = Form->Handle();
  BYTE alpha = 0;
  COLORREF key = 0;
  DWORD flags = 0;
  SetWindowLayeredAttributes(wnd, 128);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

  SetWindowLayeredAttributes(wnd, 255, clFuchsia);
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(key, RGB(255, 0, 255));

  SetWindowLayeredAttributes(wnd, 255);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(TWindowsFixture, AControlCanHaveAWindowThroughItsParents) {
  TCustomControl* loose = New<TCustomControl>(Form.get());
  TCustomControl* inner = New<TCustomControl>(Form.get());
  inner->SetParent(loose);
  EXPECT_FALSE(CanHaveWindowHandle(loose)) << "no parent, no parent window";
  EXPECT_FALSE(CanHaveWindowHandle(inner)) << "nor has its parent";
  loose->SetParentWindow(Form->Handle());
  EXPECT_TRUE(CanHaveWindowHandle(inner));
  EXPECT_TRUE(CanHaveWindowHandle(Form.get()));
  EXPECT_TRUE(IsControlWindowVisible(Panel));
  Panel->Hide();
  EXPECT_FALSE(IsControlWindowVisible(Panel));
}

// ---------------------------------------------------------------------------
// Update regions and composition

struct TCompositionProbe {
  TCompositionProbe(bool AComposed, bool AWin7) : FWin7(IsWinSeven) {
    TdxDwmApi api = dxDwmApi();
    api.DwmIsCompositionEnabled = AComposed ? &Composed : &Plain;
    dxSetDwmApi(api, true);
    IsWinSeven = AWin7;
  }
  ~TCompositionProbe() {
    IsWinSeven = FWin7;
    BindDwmApi();
  }
  static HRESULT WINAPI Composed(BOOL* AEnabled) {
    *AEnabled = TRUE;
    return S_OK;
  }
  static HRESULT WINAPI Plain(BOOL* AEnabled) {
    *AEnabled = FALSE;
    return S_OK;
  }
  bool FWin7;
};

TEST_F(TWindowsFixture, TheUpdateRegionIsDistrustedOnlyOnWindowsSevenWithoutComposition) {
  const HWND wnd = Panel->Handle();
  const struct {
    const char* Name;
    bool Win7;
    bool Composed;
    bool Invalid;
    bool Expected;
  } rows[] = {
      {"Windows 7 composed", true, true, true, true},
      {"Windows 7 plain", true, false, true, false},
      {"later, plain", false, false, true, true},
      {"later, nothing invalid", false, true, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    UpdateWindow(wnd);
    if (row.Invalid) {
      RECT r{5, 5, 15, 15};
      InvalidateRect(wnd, &r, FALSE);
    }
    TCompositionProbe probe(row.Composed, row.Win7);
    TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(HasUpdateRegion(wnd, region.Get()), row.Expected);
    if (row.Invalid) {
      RECT box{};
      GetRgnBox(region.Get(), &box);
      EXPECT_EQ(TRect(box), TRect(5, 5, 15, 15)) << "the region is copied out in either case";
    }
  }
  UpdateWindow(wnd);
}

TEST_F(TWindowsFixture, PaintingOnGlassNeedsTheControlsGlassStateAndComposition) {
  Panel->ControlState().Include(csGlassPaint);
  {
    TCompositionProbe composed(true, false);
    EXPECT_TRUE(IsPaintingOnGlass(Panel));
  }
  {
    TCompositionProbe plain(false, false);
    EXPECT_FALSE(IsPaintingOnGlass(Panel));
  }
  Panel->ControlState().Exclude(csGlassPaint);
  TCompositionProbe composed(true, false);
  EXPECT_FALSE(IsPaintingOnGlass(Panel));
}

// ---------------------------------------------------------------------------
// Text on glass

TRect InkBounds(const TMemoryDC& ADC, uint32_t ABackground) {
  TRect box(ADC.Width(), ADC.Height(), 0, 0);
  for (int y = 0; y < ADC.Height(); ++y)
    for (int x = 0; x < ADC.Width(); ++x)
      if ((ADC.Bits()[y * ADC.Width() + x] & 0xFFFFFF) != ABackground) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

void FillWhite(const TMemoryDC& ADC) {
  std::fill(ADC.Bits(), ADC.Bits() + ADC.Width() * ADC.Height(), 0x00FFFFFFu);
}

TEST(cxDrawTextOnGlass, UnturnedTextLiesWhereDrawTextPutsIt) {
  const TRect r(0, 0, 160, 40);
  TOwnedFont font(CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  TMemoryDC ours = TMemoryDC::Dib32(nullptr, r.Width(), r.Height());
  TMemoryDC gdi = TMemoryDC::Dib32(nullptr, r.Width(), r.Height());
  FillWhite(ours);
  FillWhite(gdi);
  DrawTextOnGlass(ours.DC(), L"Glass Wq", font.Get(), r, clBlack, flags);
  {
    TSelectObject selected(gdi.DC(), font.Get());
    SetBkMode(gdi.DC(), TRANSPARENT);
    SetTextColor(gdi.DC(), RGB(0, 0, 0));
    RECT rect = r;
    DrawTextW(gdi.DC(), L"Glass Wq", -1, &rect, flags);
  }
  const TRect a = InkBounds(ours, 0xFFFFFF);
  const TRect b = InkBounds(gdi, 0xFFFFFF);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_NEAR(a.Left, b.Left, 1);
  EXPECT_NEAR(a.Top, b.Top, 1);
  EXPECT_NEAR(a.Right, b.Right, 1);
  EXPECT_NEAR(a.Bottom, b.Bottom, 1);
}

TEST(cxDrawTextOnGlass, TurnedTextLiesWhereGdisTurnedTextOutPutsTheCentredCell) {
  // The oracle: ExtTextOut with the font turned the same way, its reference
  // point placed so that the turned text cell (as GDI measures the string) is
  // centred in the rectangle.
  LOGFONTW info{};
  info.lfHeight = -16;
  wcscpy(info.lfFaceName, L"Tahoma");
  TOwnedFont font(CreateFontIndirectW(&info));
  const String text = L"Glass Wq";
  const struct {
    const char* Name;
    int Rotation;
    int Escapement;
  } rows[] = {{"90 degrees", 1, 900}, {"270 degrees", 2, -900}, {"180 degrees", 3, 1800}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const bool sideways = row.Rotation != 3;
    const TRect r(0, 0, sideways ? 40 : 160, sideways ? 160 : 40);
    TMemoryDC ours = TMemoryDC::Dib32(nullptr, r.Width(), r.Height());
    FillWhite(ours);
    DrawTextOnGlass(ours.DC(), text, font.Get(), r, clBlack, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, row.Rotation);

    TMemoryDC gdi = TMemoryDC::Dib32(nullptr, r.Width(), r.Height());
    FillWhite(gdi);
    LOGFONTW turned = info;
    turned.lfEscapement = turned.lfOrientation = row.Escapement;
    TOwnedFont turnedFont(CreateFontIndirectW(&turned));
    TSelectObject selected(gdi.DC(), turnedFont.Get());
    SIZE extent{};
    GetTextExtentPoint32W(gdi.DC(), text.c_str(), static_cast<int>(text.size()), &extent);
    // The cell: along the text extent.cx, across it extent.cy.
    const int cellWidth = sideways ? extent.cy : extent.cx;
    const int cellHeight = sideways ? extent.cx : extent.cy;
    const int left = (r.Width() - cellWidth) / 2;
    const int top = (r.Height() - cellHeight) / 2;
    // The reference point is the cell corner where the turned text begins.
    const POINT start = row.Rotation == 1   ? POINT{left, top + cellHeight}
                        : row.Rotation == 2 ? POINT{left + cellWidth, top}
                                            : POINT{left + cellWidth, top + cellHeight};
    SetBkMode(gdi.DC(), TRANSPARENT);
    ExtTextOutW(gdi.DC(), start.x, start.y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);

    const TRect expected = InkBounds(gdi, 0xFFFFFF);
    const TRect actual = InkBounds(ours, 0xFFFFFF);
    ASSERT_FALSE(expected.IsEmpty());
    EXPECT_NEAR(actual.Left, expected.Left, 1);
    EXPECT_NEAR(actual.Top, expected.Top, 1);
    EXPECT_NEAR(actual.Right, expected.Right, 1);
    EXPECT_NEAR(actual.Bottom, expected.Bottom, 1);
  }
}

TEST(cxDrawTextOnGlass, TheBackgroundIsCopiedFirstAndTheTextTakesTheGivenColour) {
  const TRect r(10, 10, 110, 40);
  TMemoryDC target = TMemoryDC::Dib32(nullptr, 120, 50);
  std::fill(target.Bits(), target.Bits() + 120 * 50, 0x00336699u);
  TOwnedFont font(CreateFontW(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  DrawTextOnGlass(target.DC(), L"Ink", font.Get(), r, TColor(0x0000FF), DT_SINGLELINE | DT_VCENTER);
  int background = 0;
  int red = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const uint32_t pixel = target.Bits()[y * 120 + x] & 0xFFFFFF;
      background += pixel == 0x336699;
      red += pixel == 0xFF0000;
    }
  EXPECT_GT(background, r.Width() * r.Height() / 2) << "the destination shows through";
  EXPECT_GT(red, 10) << "solid text pixels of the colour asked for";
}

// ---------------------------------------------------------------------------
// Popup menus

class TTestPopupMenu : public TNoRefCount<TComponent>, public IcxPopupMenu, public IcxDropDownMenu {
  SK_CLASS(TTestPopupMenu, TComponent)
 public:
  std::vector<TPoint> Popups;
  TPopupAlignment Alignment = paLeft;
  TRect ButtonRect;
  bool Shortcut = false;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxPopupMenu, IcxDropDownMenu>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  bool IsShortCut(TMessage&) override { return Shortcut; }
  void Popup(int X, int Y) override { Popups.push_back(TPoint(X, Y)); }
  void Popup(const TPoint& P, TPopupAlignment AAlignment, const TRect& AButtonRect) override {
    Popups.push_back(P);
    Alignment = AAlignment;
    ButtonRect = AButtonRect;
  }
};

TEST(cxControlsPopupMenus, ComponentsOfThePopupMenuInterfacePopThemselvesUp) {
  TOwned<TTestPopupMenu> menu(New<TTestPopupMenu>(nullptr));
  TOwned<TComponent> other(New<TComponent>(nullptr));
  EXPECT_TRUE(IsPopupMenuComponent(menu.get()));
  EXPECT_FALSE(IsPopupMenuComponent(other.get()));
  EXPECT_TRUE(ShowPopupMenuAt(nullptr, menu.get(), 30, 40));
  EXPECT_FALSE(ShowPopupMenuAt(nullptr, other.get(), 30, 40));
  TMessage key{WM_KEYDOWN, 'A', 0, 0};
  EXPECT_FALSE(HandlePopupMenuShortcut(menu.get(), key));
  menu->Shortcut = true;
  EXPECT_TRUE(HandlePopupMenuShortcut(menu.get(), key));

  const TRect button(100, 200, 180, 224);
  ASSERT_TRUE(ShowDropDownMenu(nullptr, menu.get(), button, paRight));
  EXPECT_EQ(menu->Popups.back(), TPoint(180, 224)) << "the bottom-right corner for right alignment";
  ShowDropDownMenu(nullptr, menu.get(), button, paCenter);
  EXPECT_EQ(menu->Popups.back(), TPoint(140, 224));
  EXPECT_EQ(menu->ButtonRect, button);
  EXPECT_EQ(menu->Alignment, paCenter);
}

TPopupMenu* NewMenu(int AItems, int ASeparators, int ABreakAt = -1) {
  TPopupMenu* menu = New<TPopupMenu>(nullptr);
  for (int i = 0; i < AItems + ASeparators; ++i) {
    TMenuItem* item = New<TMenuItem>(menu);
    item->SetCaption(i < AItems ? L"Item" : L"-");
    if (i == ABreakAt) item->SetBreak(mbBreak);
    menu->Items()->Add(item);
  }
  return menu;
}

int MenuTextHeight(int ADpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  metrics.lfMenuFont.lfHeight = MulDiv(metrics.lfMenuFont.lfHeight, ADpi, 96);
  TOwnedFont font(CreateFontIndirectW(&metrics.lfMenuFont));
  TScreenDC screen;
  TSelectObject selected(screen.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), L"Zq", 2, &size);
  return size.cy;
}

TEST(cxControlsPopupMenus, TheMenuHeightAsATable) {
  ASSERT_EQ(GetScreenDpi(), 96);
  // The test program declares per-monitor awareness: Windows 11 pads by 3
  // scaled pixels.
  ASSERT_GE(GetDpiAwarenessLevel(), 2);
  TOwned<TPopupMenu> twoAndSeparator(NewMenu(2, 1));
  TOwned<TPopupMenu> columns(NewMenu(5, 0, 3));  // three items, then two in a second column
  TOwned<TPopupMenu> hidden(NewMenu(3, 0));
  hidden->Items()->Items(1)->SetVisible(false);
  const bool win10 = IsWin10OrLater;
  const bool win11 = IsWin11OrLater;
  TScopeExit restore([=] {
    IsWin10OrLater = win10;
    IsWin11OrLater = win11;
  });
  const struct {
    const char* Name;
    TPopupMenu* Menu;
    int Dpi;
    bool Win10, Win11;
    int Items, Separators;  // in the tallest column
    int Padding;            // on each side of an item's text
    int Separator;
  } rows[] = {
      {"Windows 10 at 96", twoAndSeparator.get(), 96, true, false, 2, 1, 2, 7},
      {"Windows 8 at 96", twoAndSeparator.get(), 96, false, false, 2, 1, 2, 8},
      {"Windows 10 at 144", twoAndSeparator.get(), 144, true, false, 2, 1, 3, 7},
      {"Windows 8 at 192", twoAndSeparator.get(), 192, false, false, 2, 1, 1, 8},
      {"Windows 11 at 144", twoAndSeparator.get(), 144, true, true, 2, 1, MulDiv(3, 144, 96), 6 + 5},
      {"Windows 11 at 96", twoAndSeparator.get(), 96, true, true, 2, 1, 3, 4 + 5},
      {"a break starts a column", columns.get(), 96, true, false, 3, 0, 2, 7},
      {"hidden items do not count", hidden.get(), 96, true, false, 2, 0, 2, 7},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    IsWin10OrLater = row.Win10;
    IsWin11OrLater = row.Win11;
    const int item = std::max(22, MenuTextHeight(row.Dpi) + 2 * row.Padding);
    EXPECT_EQ(GetPopupMenuHeight(row.Menu, row.Dpi), row.Items * item + row.Separators * row.Separator + 6);
  }
  IsWin10OrLater = true;
  IsWin11OrLater = false;
  EXPECT_EQ(GetPopupMenuHeight(twoAndSeparator.get(), 96), 57) << "measured on Windows 10";
}

TEST(cxControlsPopupMenus, ADropDownMenuNearTheWorkAreasBottomOpensAboveTheButtonWhollyInside) {
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  TOwned<TPopupMenu> menu(NewMenu(2, 1));
  const TRect area = WorkAreaAtPoint(TPoint(200, 200));
  const TRect button(200, area.Bottom - 30, 280, area.Bottom - 6);
  TRect shown;
  TLoopScript script;
  HWND window = nullptr;
  script.Then([&] { return (window = ShownMenuWindow()) != nullptr; },
              [&] {
                shown = SafeGetWindowRect(window);
                EndMenu();
              });
  menu->SetAlignment(paCenter);
  ASSERT_TRUE(ShowDropDownMenu(form.get(), menu.get(), button, paLeft));
  EXPECT_FALSE(script.TimedOut());
  ASSERT_FALSE(shown.IsEmpty());
  EXPECT_TRUE(area.Contains(shown)) << "wholly inside the work area";
  EXPECT_LE(shown.Bottom, button.Top) << "above the button";
  EXPECT_EQ(shown.Left, button.Left);
  EXPECT_EQ(menu->PopupComponent(), form.get());
  EXPECT_EQ(menu->Alignment(), paCenter) << "the menu's own alignment is put back";
}

// ---------------------------------------------------------------------------
// Application activate window helper

TEST(dxApplicationActivateWindowHelper, KeepsItsFormsUntilTheyAreFreed) {
  TdxApplicationActivateWindowHelper* helper = ApplicationActivateWindowHelper();
  ASSERT_NE(helper, nullptr) << "created at the unit's start-up";
  const int count = helper->WindowCount();
  TForm* a = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  TForm* b = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  helper->AddWindow(a);
  helper->AddWindow(a);
  helper->AddWindow(b);
  EXPECT_EQ(helper->WindowCount(), count + 2);
  a->Free();
  EXPECT_EQ(helper->WindowCount(), count + 1) << "a freed form leaves the list";
  helper->NormalizeTopMostWindows(b);  // outside a modal loop: nothing
  helper->RemoveWindow(b);
  EXPECT_EQ(helper->WindowCount(), count);
  b->Free();
}

}  // namespace
