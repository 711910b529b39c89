#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/system/dxUxTheme.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/LookAndFeelTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

TcxCustomLookAndFeelPainter* Native() { return GetPaintersManager()->GetPainter(lfsNative); }
TcxCustomLookAndFeelPainter* Standard() { return GetPaintersManager()->GetPainter(lfsStandard); }
TcxWinXPLookAndFeelPainter* NativeXP() { return static_cast<TcxWinXPLookAndFeelPainter*>(Native()); }

constexpr int W = 48;
constexpr int H = 40;

// The system's per-DPI theme opening (newer than the import library).
HTHEME OpenSystemThemeForDpi(const wchar_t* AClass, UINT ADpi) {
  using TOpen = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
  const auto open = reinterpret_cast<TOpen>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"uxtheme.dll"), "OpenThemeDataForDpi")));
  return open ? open(nullptr, AClass, ADpi) : nullptr;
}

// The system's own theme, opened apart from the library's theme manager.
class TSystemTheme {
 public:
  TSystemTheme(const wchar_t* AClass, UINT ADpi = 0)
      : FTheme(ADpi ? OpenSystemThemeForDpi(AClass, ADpi) : OpenThemeData(nullptr, AClass)) {}
  ~TSystemTheme() {
    if (FTheme) CloseThemeData(FTheme);
  }
  TSystemTheme(const TSystemTheme&) = delete;
  TSystemTheme& operator=(const TSystemTheme&) = delete;
  HTHEME Get() const { return FTheme; }

  // The part drawn by the system on a surface like the painter's.
  TPixelSurface Draw(int APart, int AState, const TRect& R, int AWidth = W, int AHeight = H) const {
    TPixelSurface s(AWidth, AHeight, Bg);
    const RECT r = R;
    DrawThemeBackground(FTheme, s.DC(), APart, AState, &r, nullptr);
    return s;
  }

 private:
  HTHEME FTheme;
};

class NativePainter : public testing::Test {
 protected:
  void SetUp() override {
    if (!AreVisualStylesAvailable(TdxThemedObjectTypes{totButton})) GTEST_SKIP() << "no visual styles";
    ASSERT_TRUE(Is<TcxWinXPLookAndFeelPainter>(Native()));
  }
};

// ---------------------------------------------------------------------------
// Parts against the system's drawing of the same part, state and rectangle

struct TPartRow {
  std::string Name;
  const wchar_t* Class;
  int Part;
  int State;
  TRect Bounds;
  std::function<void(TcxCanvas*, const TRect&)> Draw;
};

std::vector<TPartRow> PartRows() {
  std::vector<TPartRow> rows;
  const TdxScaleFactor* f = DefaultScaleFactor();
  const TRect button(4, 5, 44, 30);
  static constexpr int buttonStates[] = {PBS_DEFAULTED, PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
  for (int s = cxbsDefault; s <= cxbsDisabled; ++s) {
    const auto state = static_cast<TcxButtonState>(s);
    rows.push_back({"push button " + std::to_string(s), L"BUTTON", BP_PUSHBUTTON, buttonStates[s], button,
                    [=](TcxCanvas* C, const TRect& R) { Native()->DrawScaledButton(C, R, state, f, cxbpButton, clDefault); }});
  }
  const TRect box(6, 7, 19, 20);
  struct TCheck {
    TcxButtonState State;
    TcxCheckBoxState Check;
    int Theme;
  };
  for (const TCheck& c : {TCheck{cxbsNormal, cbsUnchecked, CBS_UNCHECKEDNORMAL}, TCheck{cxbsHot, cbsChecked, CBS_CHECKEDHOT},
                          TCheck{cxbsPressed, cbsGrayed, CBS_MIXEDPRESSED}, TCheck{cxbsDisabled, cbsChecked, CBS_CHECKEDDISABLED},
                          TCheck{cxbsDefault, cbsChecked, CBS_CHECKEDNORMAL}})
    rows.push_back({"check " + std::to_string(c.Theme), L"BUTTON", BP_CHECKBOX, c.Theme, box,
                    [=](TcxCanvas* C, const TRect& R) {
                      Native()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(C), R, c.State, c.Check, clDefault, f, true);
                    }});
  for (const bool checked : {false, true})
    rows.push_back({std::string("radio ") + (checked ? "checked hot" : "unchecked hot"), L"BUTTON", BP_RADIOBUTTON,
                    checked ? RBS_CHECKEDHOT : RBS_UNCHECKEDHOT, box, [=](TcxCanvas* C, const TRect& R) {
                      Native()->DrawScaledRadioButton(C, R.Left, R.Top, cxbsHot, checked, false, clDefault, f);
                    }});
  const TRect arrow(3, 3, 20, 20);
  struct TArrow {
    TcxArrowDirection Direction;
    TcxButtonState State;
    int Theme;
  };
  for (const TArrow& a : {TArrow{adUp, cxbsNormal, ABS_UPNORMAL}, TArrow{adDown, cxbsHot, ABS_DOWNHOT},
                          TArrow{adLeft, cxbsPressed, ABS_LEFTPRESSED}, TArrow{adRight, cxbsDisabled, ABS_RIGHTDISABLED},
                          TArrow{adRight, cxbsDefault, ABS_RIGHTNORMAL}})
    rows.push_back({"arrow " + std::to_string(a.Theme), L"SCROLLBAR", SBP_ARROWBTN, a.Theme, arrow,
                    [=](TcxCanvas* C, const TRect& R) { Native()->DrawScaledArrow(C, R, a.State, a.Direction, f); }});
  // A scroll bar's line parts are its arrows; the pages are tracks.
  rows.push_back({"line down of a horizontal bar", L"SCROLLBAR", SBP_ARROWBTN, ABS_RIGHTPRESSED, arrow,
                  [=](TcxCanvas* C, const TRect& R) {
                    Native()->DrawScaledScrollBarPart(C, true, R, sbpLineDown, cxbsPressed, f);
                  }});
  rows.push_back({"page up of a vertical bar", L"SCROLLBAR", SBP_LOWERTRACKVERT, SCRBS_HOT, TRect(3, 3, 20, 37),
                  [=](TcxCanvas* C, const TRect& R) { Native()->DrawScaledScrollBarPart(C, false, R, sbpPageUp, cxbsHot, f); }});
  rows.push_back({"page down of a horizontal bar", L"SCROLLBAR", SBP_UPPERTRACKHORZ, SCRBS_NORMAL, TRect(3, 3, 44, 20),
                  [=](TcxCanvas* C, const TRect& R) {
                    Native()->DrawScaledScrollBarPart(C, true, R, sbpPageDown, cxbsNormal, f);
                  }});
  rows.push_back({"tree glyph", L"TREEVIEW", TVP_GLYPH, GLPS_OPENED, TRect(5, 5, 14, 14),
                  [=](TcxCanvas* C, const TRect& R) { Native()->DrawScaledExpandButton(C, R, true, f); }});
  rows.push_back({"group box", L"BUTTON", BP_GROUPBOX, GBS_DISABLED, TRect(2, 3, 45, 37),
                  [=](TcxCanvas* C, const TRect& R) { Native()->DrawGroupBoxFrame(C, R, false, cxgpTop, cxBordersAll()); }});
  struct THeader {
    TcxButtonState State;
    int Theme;
  };
  const TRect header(2, 4, 46, 26);
  for (const THeader& h : {THeader{cxbsNormal, HIS_NORMAL}, THeader{cxbsHot, HIS_HOT}, THeader{cxbsPressed, HIS_PRESSED},
                           THeader{cxbsDisabled, HIS_NORMAL}, THeader{cxbsDefault, HIS_NORMAL}}) {
    rows.push_back({"header " + std::to_string(h.State), L"HEADER", HP_HEADERITEM, h.Theme, header,
                    [=](TcxCanvas* C, const TRect& R) { Native()->DrawScaledHeader(C, R, h.State, {}, cxBordersAll(), f); }});
    // No caption: the text header is its background.
    rows.push_back({"text header " + std::to_string(h.State), L"HEADER", HP_HEADERITEM, h.Theme, header,
                    [=](TcxCanvas* C, const TRect& R) {
                      Native()->DrawScaledHeader(C, R, R, {}, cxBordersAll(), h.State, taLeftJustify, vaTop, false,
                                                 false, L"", nullptr, clBlack, clRed, f);
                    }});
  }
  for (const THeader& h : {THeader{cxbsNormal, 1}, THeader{cxbsHot, 2}, THeader{cxbsPressed, 3}, THeader{cxbsDisabled, 4}})
    rows.push_back({"filter button " + std::to_string(h.State), L"COMBOBOX", CP_DROPDOWNBUTTON, h.Theme,
                    TRect(3, 3, 20, 21), [=](TcxCanvas* C, const TRect& R) {
                      Native()->DrawScaledFilterDropDownButton(C, R, h.State, true, f);
                    }});
  return rows;
}

// Each row's drawing equals the theme's drawing of its part and state.
void ExpectThemesOwnDrawing(const std::vector<TPartRow>& ARows) {
  for (const TPartRow& row : ARows) {
    SCOPED_TRACE(row.Name);
    const TSystemTheme theme(row.Class);
    ASSERT_NE(theme.Get(), nullptr);
    TCanvasOnSurface canvas(W, H, Bg);
    row.Draw(canvas.Get(), row.Bounds);
    const TPixelSurface system = theme.Draw(row.Part, row.State, row.Bounds);
    ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty()) << "the theme draws this part";
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST_F(NativePainter, PartsAreTheThemesOwnDrawing) {
  ExpectThemesOwnDrawing(PartRows());
}

// The hint's face: the tooltip part drawn four pixels larger all round,
// clipped to the hint's rectangle.
TEST_F(NativePainter, TheHintBackgroundIsTheTooltipsFace) {
  const TSystemTheme theme(L"TOOLTIP");
  if (!theme.Get()) GTEST_SKIP() << "no tooltip theme";
  EXPECT_EQ(Native()->GetHintBorderColor(), clWindowFrame);
  const TRect r(6, 6, 42, 34);
  TCanvasOnSurface canvas(W, H, Bg);
  Native()->DrawHintBackground(canvas.Get(), r);
  const TPixelSurface system = theme.Draw(TTP_STANDARD, TTSS_NORMAL, TRect(2, 2, 46, 38));
  EXPECT_EQ(DifferingPixels(canvas.Surface, system, r), 0) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), r.Width() * r.Height());
}

// A header section is the header item on the button face, its content
// inside the theme's border.
TEST_F(NativePainter, HeaderSectionsAndSortingMarks) {
  const TSystemTheme theme(L"HEADER");
  ASSERT_NE(theme.Get(), nullptr);
  RECT content{};
  const RECT bounds{0, 0, 100, 100};
  ASSERT_EQ(GetThemeBackgroundContentRect(theme.Get(), nullptr, HP_HEADERITEM, HIS_NORMAL, &bounds, &content), S_OK);
  const int border = std::max(1, static_cast<int>((content.left + content.top) / 2));
  EXPECT_EQ(Native()->HeaderBorderSize(), border);
  EXPECT_EQ(Native()->HeaderControlSectionBorderSize(cxbsPressed), border);
  EXPECT_EQ(Native()->HeaderControlSectionContentBounds(TRect(0, 0, 40, 20), cxbsNormal),
            TRect(border, border, 40 - border, 20 - border));
  EXPECT_TRUE(Native()->IsHeaderHotTrack());
  EXPECT_EQ(Native()->ScaledSortingMarkSize(DefaultScaleFactor()), TSize(7, 8));

  const TRect r(2, 4, 46, 26);
  TCanvasOnSurface canvas(W, H, Bg);
  Native()->DrawScaledHeaderControlSection(canvas.Get(), r, r, {}, cxBordersAll(), cxbsPressed, taLeftJustify, vaTop,
                                           false, false, L"", nullptr, clBlack, clRed, DefaultScaleFactor());
  TPixelSurface system(W, H, Bg);
  RECT face = r;
  FillRect(system.DC(), &face, GetSysColorBrush(COLOR_BTNFACE));
  if (IsWin10OrLater) FillRect(system.DC(), &face, GetSysColorBrush(COLOR_WINDOW));
  DrawThemeBackground(theme.Get(), system.DC(), HP_HEADERITEM, HIS_PRESSED, &face, nullptr);
  // Not inverted while pressed.
  EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);

  TCanvasOnSurface mark(W, H, Bg);
  Native()->DrawScaledSortingMark(mark.Get(), r, true, DefaultScaleFactor());
  EXPECT_GT(mark.Surface.Count(Sys(COLOR_BTNSHADOW)), 0);
  EXPECT_EQ(mark.Surface.Count(Sys(COLOR_BTNSHADOW)), mark.Surface.CountOther(mark.Surface.ClientRect(), Bg));
}

// A header's caption is the theme's text, one pixel further while pressed.
TEST_F(NativePainter, AHeaderCaptionIsTheThemesText) {
  const TSystemTheme theme(L"HEADER");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(0, 0, 80, 24);
  const TRect text(4, 2, 76, 22);
  for (const bool pressed : {false, true}) {
    SCOPED_TRACE(pressed);
    const TcxButtonState state = pressed ? cxbsPressed : cxbsNormal;
    TCanvasOnSurface canvas(80, 24, Bg);
    Native()->DrawScaledHeader(canvas.Get(), r, text, {}, cxBordersAll(), state, taCenter, vaCenter, false, false,
                               L"Name", nullptr, clBlack, clRed, DefaultScaleFactor());
    TCanvasOnSurface background(80, 24, Bg);
    Native()->DrawScaledHeader(background.Get(), r, state, {}, cxBordersAll(), DefaultScaleFactor());
    // The system's theme text over the same background.
    TPixelSurface system(80, 24, Bg);
    BitBlt(system.DC(), 0, 0, 80, 24, background.Surface.DC(), 0, 0, SRCCOPY);
    TCanvasOnSurface fontSource(1, 1, Bg);
    const HGDIOBJ old = SelectObject(system.DC(), fontSource.Get()->Font()->Handle());
    SetTextColor(system.DC(), RGB(0, 0, 0));
    RECT tr = text;
    if (pressed) OffsetRect(&tr, 1, 1);
    DrawThemeText(theme.Get(), system.DC(), HP_HEADERITEM, pressed ? HIS_PRESSED : HIS_NORMAL, L"Name", -1,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL, 0, &tr);
    SelectObject(system.DC(), old);
    GdiFlush();
    EXPECT_GT(DifferingPixels(canvas.Surface, background.Surface), 0) << "a caption is drawn";
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// The caption is the theme's text, centred on one line.
TEST_F(NativePainter, AButtonCaptionIsTheThemesText) {
  const TSystemTheme theme(L"BUTTON");
  const TRect r(4, 5, 44, 30);
  for (const TcxButtonState state : {cxbsNormal, cxbsDisabled}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(W, H, Bg);
    canvas->Font()->SetName(L"Tahoma");
    canvas->Font()->SetHeight(-11);
    Native()->DrawScaledButton(canvas.Get(), r, L"Ok", state, DefaultScaleFactor());
    const int themeState = state == cxbsNormal ? PBS_NORMAL : PBS_DISABLED;
    TPixelSurface system = theme.Draw(BP_PUSHBUTTON, themeState, r);
    const TSelectObject font(system.DC(), canvas->Font()->Handle());
    const RECT tr = r;
    DrawThemeText(theme.Get(), system.DC(), BP_PUSHBUTTON, themeState, L"Ok", -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  0, &tr);
    EXPECT_GT(DifferingPixels(system, theme.Draw(BP_PUSHBUTTON, themeState, r)), 0) << "the caption shows";
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST_F(NativePainter, ThemedCaptionsTakeTheirAlignmentAsTextFlags) {
  const TSystemTheme theme(L"BUTTON");
  const TRect r(2, 2, 46, 38);
  struct TRow {
    TAlignment Horz;
    TcxAlignmentVert Vert;
    bool ShowPrefix;
    DWORD Flags;
  };
  const TRow rows[] = {{taRightJustify, vaBottom, false, DT_RIGHT | DT_BOTTOM | DT_NOPREFIX},
                       {taCenter, vaCenter, true, DT_CENTER | DT_VCENTER},
                       {taLeftJustify, vaTop, false, DT_NOPREFIX}};
  const TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-11);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Flags);
    TCanvasOnSurface canvas(W, H, Bg);
    NativeXP()->DrawThemedCaption(canvas.Get(), OpenTheme(totButton), BP_PUSHBUTTON, PBS_NORMAL, r, row.Horz, row.Vert,
                                  false, false, row.ShowPrefix, L"&Go", font.get(), clBtnText);
    TPixelSurface system(W, H, Bg);
    const TSelectObject selected(system.DC(), font->Handle());
    SetBkMode(system.DC(), TRANSPARENT);
    const RECT tr = r;
    DrawThemeText(theme.Get(), system.DC(), BP_PUSHBUTTON, PBS_NORMAL, L"&Go", -1,
                  row.Flags | DT_EDITCONTROL | DT_SINGLELINE, 0, &tr);
    ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
  TCanvasOnSurface empty(W, H, Bg);
  NativeXP()->DrawThemedCaption(empty.Get(), OpenTheme(totButton), BP_PUSHBUTTON, PBS_NORMAL, r, taCenter, vaCenter,
                                true, false, false, L"", font.get(), clBtnText);
  EXPECT_TRUE(empty.Surface.BoundsOfOther(Bg).IsEmpty());
}

// A thumb longer than the thumb part is wide carries the gripper.
TEST_F(NativePainter, TheScrollThumbCarriesTheGripperWhenLongerThanItsPartIsWide) {
  const TSystemTheme theme(L"SCROLLBAR");
  SIZE part{};
  ASSERT_EQ(GetThemePartSize(theme.Get(), nullptr, SBP_THUMBBTNVERT, SCRBS_NORMAL, nullptr, TS_TRUE, &part), S_OK);
  struct TRow {
    const char* Name;
    int Length;
  };
  for (const TRow& row : {TRow{"short", static_cast<int>(part.cx) - 1}, TRow{"long", static_cast<int>(part.cx) + 9}}) {
    SCOPED_TRACE(row.Name);
    const TRect r(3, 2, 20, 2 + row.Length);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledScrollBarPart(canvas.Get(), false, r, sbpThumbnail, cxbsNormal, DefaultScaleFactor());
    TPixelSurface system = theme.Draw(SBP_THUMBBTNVERT, SCRBS_NORMAL, r);
    if (row.Length > part.cx) {
      const RECT gr = r;
      DrawThemeBackground(theme.Get(), system.DC(), SBP_GRIPPERVERT, SCRBS_NORMAL, &gr, nullptr);
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST_F(NativePainter, AnEmptyScrollPartDrawsNothing) {
  for (const TcxScrollBarPart part : {sbpLineUp, sbpThumbnail, sbpPageDown}) {
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledScrollBarPart(canvas.Get(), false, TRect(3, 3, 20, 3), part, cxbsNormal, DefaultScaleFactor());
    EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
  }
}

// A command link is the theme's part where the theme draws one, else a Flat
// button bordered only while hot or pressed.
TEST_F(NativePainter, CommandLinks) {
  const TSystemTheme theme(L"BUTTON");
  const TRect r(2, 3, 46, 37);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledCommandLinkBackground(canvas.Get(), r, state, DefaultScaleFactor());
    TPixelSurface themed(W, H, Bg);
    const RECT tr = r;
    const bool drawn = SUCCEEDED(DrawThemeBackground(theme.Get(), themed.DC(), BP_COMMANDLINK,
                                                     state == cxbsHot ? CMDLS_HOT : CMDLS_NORMAL, &tr, nullptr));
    if (drawn) {
      EXPECT_EQ(DifferingPixels(canvas.Surface, themed), 0);
      continue;
    }
    TCanvasOnSurface flat(W, H, Bg);
    GetPaintersManager()->GetPainter(lfsFlat)->DrawScaledButton(flat.Get(), r, state, DefaultScaleFactor(),
                                                                state == cxbsHot, false, cxbpButton, clDefault);
    EXPECT_EQ(DifferingPixels(canvas.Surface, flat.Surface), 0);
  }
}

// ---------------------------------------------------------------------------
// Windows version gates

// A version flag set to AValue for the length of a scope.
class TVersionFlag {
 public:
  TVersionFlag(bool& AFlag, bool AValue) : FFlag(AFlag), FSaved(std::exchange(AFlag, AValue)) {}
  ~TVersionFlag() { FFlag = FSaved; }
  TVersionFlag(const TVersionFlag&) = delete;
  TVersionFlag& operator=(const TVersionFlag&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

TEST_F(NativePainter, FilterAndGroupByBoxColoursFollowWindows10) {
  for (const bool win10 : {false, true}) {
    SCOPED_TRACE(win10);
    const TVersionFlag flag(IsWin10OrLater, win10);
    auto* base = static_cast<TcxCustomLookAndFeelPainter*>(Standard());
    EXPECT_EQ(Native()->DefaultFilterBoxColor(), win10 ? clBtnFace : base->DefaultFilterBoxColor());
    EXPECT_EQ(Native()->DefaultFilterBoxTextColor(), win10 ? clBtnText : base->DefaultFilterBoxTextColor());
    EXPECT_EQ(Native()->DefaultGroupByBoxColor(), win10 ? base->DefaultFooterColor() : base->DefaultGroupByBoxColor());
    COLORREF edge = 0;
    const TSystemTheme header(L"HEADER");
    const bool themed = win10 && GetThemeColor(header.Get(), HP_HEADERITEM, HIS_NORMAL, TMT_EDGEFILLCOLOR, &edge) == S_OK;
    EXPECT_EQ(ColorToColorRef(Native()->DefaultGridLineColor()),
              themed ? edge : ColorToColorRef(base->DefaultGridLineColor()));
  }
}

// The filter row separator is an empty header, framed from Windows 10 on in
// the grid line colour at the top, right and bottom.
TEST_F(NativePainter, TheFilterRowSeparatorIsFramedFromWindows10On) {
  const TRect r(2, 3, 44, 12);
  for (const bool win10 : {false, true}) {
    SCOPED_TRACE(win10);
    const TVersionFlag flag(IsWin10OrLater, win10);
    TCanvasOnSurface native(W, H, Bg);
    TCanvasOnSurface header(W, H, Bg);
    Native()->DrawFilterRowSeparator(native.Get(), r, clWindow);
    Native()->DrawScaledHeader(header.Get(), r, r, {}, cxBordersAll(), cxbsNormal, taLeftJustify, vaTop, false, false,
                               L"", nullptr, clWindowText, clWindow, DefaultScaleFactor());
    if (!win10) {
      EXPECT_EQ(DifferingPixels(native.Surface, header.Surface), 0);
      continue;
    }
    const COLORREF grid = ColorToColorRef(Native()->DefaultGridLineColor());
    EXPECT_EQ(native.Surface.Count(TRect(r.Left, r.Top, r.Right, r.Top + 1), grid), r.Width());
    EXPECT_EQ(native.Surface.Count(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), grid), r.Width());
    EXPECT_EQ(native.Surface.Count(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), grid), r.Height());
    // The left side and the inside are the header's.
    EXPECT_EQ(DifferingPixels(native.Surface, header.Surface, TRect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1)), 0);
  }
}

TEST_F(NativePainter, ScreenTipTextIsTheTooltipsTextColour) {
  const TSystemTheme theme(L"TOOLTIP");
  COLORREF text = 0;
  if (!theme.Get() || GetThemeColor(theme.Get(), TTP_STANDARD, TTSS_NORMAL, TMT_TEXTCOLOR, &text) != S_OK)
    GTEST_SKIP() << "the tooltip theme has no text colour";
  EXPECT_EQ(ColorToColorRef(Native()->ScreenTipGetDescriptionTextColor()), text);
  EXPECT_EQ(ColorToColorRef(Native()->ScreenTipGetTitleTextColor()), text);
}

TEST_F(NativePainter, ThePopupBorderIsTheListBoxFrameFromVistaOn) {
  const TRect r(2, 2, 40, 30);
  for (const bool vista : {false, true}) {
    SCOPED_TRACE(vista);
    const TVersionFlag flag(IsWinVistaOrLater, vista);
    TCanvasOnSurface canvas(W, H, Bg);
    TRect inside = r;
    Native()->DrawEditPopupWindowBorder(canvas.Get(), inside, epbsDefault, false);
    EXPECT_EQ(inside, TRect(3, 3, 39, 29));
    if (vista) {
      const TSystemTheme list(L"LISTBOX");
      EXPECT_EQ(DifferingPixels(canvas.Surface, list.Draw(3, 3, r)), 0) << canvas.Surface.Picture(Bg);
    } else {
      EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r));
      EXPECT_EQ(canvas.Surface.CountOther(TRect(3, 3, 39, 29), Bg), 0);
    }
  }
}

// ---------------------------------------------------------------------------
// Tabs

struct TTabRow {
  const char* Name;
  TcxButtonState State;
  TcxBorders Borders;
  int Theme;
};
const TTabRow TabRows[] = {{"normal, all borders", cxbsNormal, cxBordersAll(), TIS_NORMAL},
                           {"default, no near border", cxbsDefault, TcxBorders{bTop, bRight, bBottom}, TIS_NORMAL},
                           {"hot, no far border", cxbsHot, TcxBorders{bLeft, bTop, bBottom}, TIS_HOT},
                           {"selected, all borders", cxbsPressed, cxBordersAll(), TIS_SELECTED},
                           {"selected, no side borders", cxbsPressed, TcxBorders{bTop, bBottom}, TIS_SELECTED},
                           {"disabled", cxbsDisabled, cxBordersAll(), TIS_DISABLED}};

// The system's tab item for a lying tab in R: pushed 2 past each side
// without a border, the selected one a pixel deeper, the others clipped a
// pixel short.
void DrawSystemTab(HTHEME ATheme, HDC DC, const TRect& R, const TTabRow& ARow, TcxBorder ANear, TcxBorder AFar) {
  RECT part = R;
  RECT clip = R;
  if (!ARow.Borders.Contains(ANear)) part.left -= 2;
  if (!ARow.Borders.Contains(AFar)) part.right += 2;
  if (ARow.Theme == TIS_SELECTED)
    part.bottom += 1;
  else
    clip.bottom -= 1;
  DrawThemeBackground(ATheme, DC, TABP_TABITEM, ARow.Theme, &part, &clip);
}

TEST_F(NativePainter, ALyingTabIsTheThemesTabItemCutWhereItHasNoBorder) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(6, 8, 42, 30);
  for (const TTabRow& row : TabRows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawTab(canvas.Get(), r, row.Borders, L"", row.State, false, nullptr, clBtnText, clBtnFace);
    TPixelSurface system(W, H, Bg);
    DrawSystemTab(theme.Get(), system.DC(), r, row, bLeft, bRight);
    ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// A standing tab is the lying one with x and y exchanged: its top is the
// lying tab's near end, its right side the lying tab's bottom.
TEST_F(NativePainter, AStandingTabIsTheLyingOneWithXAndYExchanged) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(9, 4, 31, 38);
  for (const TTabRow& row : TabRows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawTab(canvas.Get(), r, row.Borders, L"", row.State, true, nullptr, clBtnText, clBtnFace);
    TPixelSurface lying(r.Height(), r.Width(), Bg);
    DrawSystemTab(theme.Get(), lying.DC(), TRect(0, 0, r.Height(), r.Width()), row, bTop, bBottom);
    int differing = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const COLORREF expected = r.Contains(TPoint(x, y)) ? lying.Pixel(y - r.Top, x - r.Left) : Bg;
        differing += canvas.Surface.Pixel(x, y) != expected;
      }
    EXPECT_EQ(differing, 0) << canvas.Surface.Picture(Bg);
  }
}

// The caption is the theme's text, centred on one line; a selected tab's
// caption sits 2 higher (its item reaches into the pane).
TEST_F(NativePainter, ATabsCaptionIsTheThemesText) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(2, 6, 46, 32);
  const TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-11);
  for (const TTabRow& row : {TabRows[0], TabRows[3]}) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawTab(canvas.Get(), r, row.Borders, L"&Tab", row.State, false, font.get(), clBtnText, clBtnFace, true);
    TPixelSurface system(W, H, Bg);
    DrawSystemTab(theme.Get(), system.DC(), r, row, bLeft, bRight);
    TPixelSurface item(W, H, Bg);
    DrawSystemTab(theme.Get(), item.DC(), r, row, bLeft, bRight);
    const TSelectObject selected(system.DC(), font->Handle());
    RECT text = r;
    if (row.Theme == TIS_SELECTED) text.bottom -= 2;
    DrawThemeText(theme.Get(), system.DC(), TABP_TABITEM, row.Theme, L"&Tab", -1,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EDITCONTROL, 0, &text);
    GdiFlush();
    EXPECT_GT(DifferingPixels(system, item), 0) << "the caption shows";
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// The pane shows only its edge along the tabs: it is drawn 10 past R away
// from them, and across them as far as evens out its content margins.
TEST_F(NativePainter, TheTabsRootIsThePanesEdgeAlongTheTabs) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const RECT r{4, 5, 40, 20};
  RECT content{};
  ASSERT_EQ(GetThemeBackgroundContentRect(theme.Get(), nullptr, TABP_PANE, 0, &r, &content), S_OK);
  for (const bool vertical : {false, true}) {
    SCOPED_TRACE(vertical);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawTabsRoot(canvas.Get(), TRect(r), cxBordersAll(), vertical);
    RECT pane = r;
    if (vertical) {
      pane.right += 10;
      pane.bottom += (r.bottom - content.bottom) - (content.top - r.top);
    } else {
      pane.bottom += 10;
      pane.right += (r.right - content.right) - (content.left - r.left);
    }
    TPixelSurface system(W, H, Bg);
    DrawThemeBackground(theme.Get(), system.DC(), TABP_PANE, 0, &pane, &r);
    ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
  TCanvasOnSurface border(W, H, Bg);
  Native()->DrawTabBorder(border.Get(), TRect(4, 5, 40, 7), bTop, cxBordersAll(), false);
  EXPECT_TRUE(border.Surface.BoundsOfOther(Bg).IsEmpty()) << "the item carries its border";
  EXPECT_EQ(Native()->TabBorderSize(false), 1);
  EXPECT_TRUE(Native()->IsDrawTabImplemented(true));
  EXPECT_TRUE(Native()->IsTabHotTrack(false));
}

// A layout record's caption: its shadow frame, and inside it a tab cut off
// at both ends.
TEST_F(NativePainter, ALayoutRecordCaptionIsABorderlessTabInsideTheRecordsFrame) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(4, 6, 44, 28);
  for (const auto& [state, themeState] : {std::pair{cxbsNormal, TIS_NORMAL}, std::pair{cxbsPressed, TIS_SELECTED}}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->LayoutViewDrawRecordCaption(canvas.Get(), r, r, cxgpTop, state);
    TPixelSurface system(W, H, Bg);
    GdiFrame(system.DC(), r, Sys(COLOR_BTNSHADOW));
    RECT part{r.Left - 2, r.Top, r.Right + 2, r.Bottom + (themeState == TIS_SELECTED ? 1 : 0)};
    const RECT inside{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    DrawThemeBackground(theme.Get(), system.DC(), TABP_TABITEM, themeState, &part, &inside);
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// Footers, filter buttons and the indicator

TEST_F(NativePainter, FootersAreTheEditsEdgeAndTheTrackBarsTrack) {
  const TSystemTheme edit(L"EDIT");
  const TSystemTheme track(L"TRACKBAR");
  ASSERT_NE(edit.Get(), nullptr);
  ASSERT_NE(track.Get(), nullptr);
  EXPECT_EQ(Native()->FooterBorderSize(), 1);
  EXPECT_EQ(Native()->FooterCellOffset(), 1);
  EXPECT_FALSE(Native()->FooterDrawCellsFirst());
  EXPECT_EQ(Native()->FooterSeparatorColor(), Native()->DefaultGridLineColor());
  RECT content{};
  const RECT hundred{0, 0, 100, 100};
  ASSERT_EQ(GetThemeBackgroundContentRect(track.Get(), nullptr, TKP_TRACK, TRS_NORMAL, &hundred, &content), S_OK);
  EXPECT_EQ(Native()->FooterCellBorderSize(), content.left);

  const RECT r{3, 4, 44, 26};
  TCanvasOnSurface border(W, H, Bg);
  Native()->DrawFooterBorder(border.Get(), TRect(r));
  TPixelSurface edge(W, H, Bg);
  DrawThemeEdge(edit.Get(), edge.DC(), 0, 0, &r, BDR_RAISEDINNER, BF_RECT, nullptr);
  ASSERT_FALSE(edge.BoundsOfOther(Bg).IsEmpty());
  EXPECT_EQ(DifferingPixels(border.Surface, edge), 0) << border.Surface.Picture(Bg);

  // Without text the cell is the track; a caption lands inside the
  // track's border.
  TCanvasOnSurface cell(W, H, Bg);
  Native()->DrawFooterCell(cell.Get(), TRect(r), taLeftJustify, vaCenter, false, L"", nullptr, clBtnText, clBtnFace);
  const TPixelSurface system = track.Draw(TKP_TRACK, TRS_NORMAL, TRect(r));
  ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty());
  EXPECT_EQ(DifferingPixels(cell.Surface, system), 0) << cell.Surface.Picture(Bg);
  TCanvasOnSurface text(W, H, Bg);
  Native()->DrawFooterCell(text.Get(), TRect(r), taLeftJustify, vaCenter, false, L"Sum", nullptr, clRed, clBtnFace);
  const TRect inside(r.left + content.left, r.top + content.left, r.right - content.left, r.bottom - content.left);
  EXPECT_GT(text.Surface.Count(inside, RGB(255, 0, 0)), 0) << "the caption in its colour";
  EXPECT_EQ(DifferingPixels(text.Surface, system), DifferingPixels(text.Surface, system, inside));
}

TEST_F(NativePainter, TheFilterCloseButtonIsTheWindowsSmallCloseButton) {
  const TSystemTheme window(L"WINDOW");
  ASSERT_NE(window.Get(), nullptr);
  SIZE part{};
  ASSERT_EQ(GetThemePartSize(window.Get(), nullptr, WP_SMALLCLOSEBUTTON, CBS_NORMAL, nullptr, TS_TRUE, &part), S_OK);
  for (const bool win8 : {false, true}) {
    SCOPED_TRACE(win8);
    const TVersionFlag flag(IsWin8OrLater, win8);
    const bool tooSmall = win8 && (part.cx < 10 || part.cy < 10);
    const TSize expected = tooSmall ? TSize(13, 13) : TSize(part.cx, part.cy);
    EXPECT_EQ(Native()->ScaledSmallCloseButtonSize(DefaultScaleFactor()), expected);
    EXPECT_EQ(Native()->ScaledFilterCloseButtonSize(DefaultScaleFactor()), TPoint(expected.cx + 4, expected.cy + 4));
  }
  SIZE check{};
  const TSystemTheme button(L"BUTTON");
  ASSERT_EQ(GetThemePartSize(button.Get(), nullptr, BP_CHECKBOX, CBS_CHECKEDNORMAL, nullptr, TS_TRUE, &check), S_OK);
  EXPECT_EQ(Native()->ScaledFilterActivateButtonSize(DefaultScaleFactor()), TPoint(check.cx, check.cy));

  const TRect r(5, 6, 5 + part.cx, 6 + part.cy);
  struct TState {
    TcxButtonState State;
    int Theme;
  };
  for (const TState& s : {TState{cxbsDefault, CBS_NORMAL}, TState{cxbsHot, CBS_HOT}, TState{cxbsPressed, CBS_PUSHED},
                          TState{cxbsDisabled, CBS_DISABLED}}) {
    SCOPED_TRACE(s.State);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledFilterCloseButton(canvas.Get(), r, s.State, DefaultScaleFactor());
    const TPixelSurface system = window.Draw(WP_SMALLCLOSEBUTTON, s.Theme, r);
    ASSERT_FALSE(system.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

// Before Windows 10 the indicator is the Flat painter's cell; from then on
// the base's, which is the Native header's face.
TEST_F(NativePainter, TheIndicatorIsFlatBeforeWindows10) {
  const TRect r(3, 3, 20, 30);
  const TdxScaleFactor* f = DefaultScaleFactor();
  for (const bool win10 : {false, true}) {
    SCOPED_TRACE(win10);
    const TVersionFlag flag(IsWin10OrLater, win10);
    TCanvasOnSurface native(W, H, Bg);
    Native()->DrawScaledIndicatorItem(native.Get(), r, r, ikNone, clBtnFace, f, {}, TcxNeighbors{nTop, nBottom}, true);
    TCanvasOnSurface expected(W, H, Bg);
    if (win10)
      Native()->DrawScaledHeader(expected.Get(), r, r, {}, Native()->HeaderBorders({nTop, nBottom}), cxbsNormal,
                                 taLeftJustify, vaTop, false, false, L"", nullptr, clNone, clBtnFace, f);
    else
      GetPaintersManager()->GetPainter(lfsFlat)->DrawScaledIndicatorItem(expected.Get(), r, r, ikNone, clBtnFace, f, {},
                                                                         TcxNeighbors{nTop, nBottom}, true);
    ASSERT_FALSE(expected.Surface.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(native.Surface, expected.Surface), 0) << native.Surface.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// Galleries and list views

TEST_F(NativePainter, FromWindows7OnTheListViewSortingMarkIsTheHeadersSortArrow) {
  const TSystemTheme header(L"HEADER");
  const TRect r(4, 4, 30, 16);
  for (const bool win7 : {false, true})
    for (const bool ascending : {false, true}) {
      SCOPED_TRACE(testing::Message() << win7 << ascending);
      const TVersionFlag flag(IsWinSevenOrLater, win7);
      TCanvasOnSurface canvas(W, H, Bg);
      Native()->DrawListViewSortingMark(canvas.Get(), r, ascending, DefaultScaleFactor());
      const TPixelSurface arrow = header.Draw(HP_HEADERSORTARROW, ascending ? HSAS_SORTEDUP : HSAS_SORTEDDOWN, r);
      ASSERT_FALSE(arrow.BoundsOfOther(Bg).IsEmpty());
      if (win7) {
        EXPECT_EQ(DifferingPixels(canvas.Surface, arrow), 0) << canvas.Surface.Picture(Bg);
      } else {
        // The base's triangle in the shadow colour.
        EXPECT_GT(canvas.Surface.Count(Sys(COLOR_BTNSHADOW)), 0);
        EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNSHADOW)), canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg));
      }
    }
}

TEST_F(NativePainter, FromWindows10OnTheGalleryGroupHeaderIsLeftToTheGallery) {
  const TRect r(2, 2, 46, 20);
  for (const bool win10 : {false, true}) {
    SCOPED_TRACE(win10);
    const TVersionFlag flag(IsWin10OrLater, win10);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawGalleryGroupHeader(canvas.Get(), r);
    TCanvasOnSurface header(W, H, Bg);
    Native()->DrawScaledHeader(header.Get(), r, cxbsNormal, {}, cxBordersAll(), DefaultScaleFactor());
    if (win10)
      EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
    else
      EXPECT_EQ(DifferingPixels(canvas.Surface, header.Surface), 0);
  }
}

// ---------------------------------------------------------------------------
// Data views against the theme's own parts

std::vector<TPartRow> DataViewRows() {
  std::vector<TPartRow> rows;
  const TdxScaleFactor* f = DefaultScaleFactor();
  struct TThumb {
    bool Horizontal;
    TcxTrackBarTicksAlign Ticks;
    TcxButtonState State;
    int Part;
    int Theme;
  };
  const TRect thumb(6, 5, 17, 26);
  for (const TThumb& t : {TThumb{true, tbtaUp, cxbsNormal, TKP_THUMBTOP, TUS_NORMAL},
                          TThumb{true, tbtaDown, cxbsHot, TKP_THUMBBOTTOM, TUS_HOT},
                          TThumb{true, tbtaBoth, cxbsPressed, TKP_THUMB, TUS_PRESSED},
                          TThumb{false, tbtaUp, cxbsDisabled, TKP_THUMBLEFT, TUS_DISABLED},
                          TThumb{false, tbtaDown, cxbsDefault, TKP_THUMBRIGHT, TUS_HOT},
                          TThumb{false, tbtaBoth, cxbsNormal, TKP_THUMBVERT, TUS_NORMAL}})
    rows.push_back({"track-bar thumb " + std::to_string(t.Part) + "/" + std::to_string(t.Theme), L"TRACKBAR", t.Part,
                    t.Theme, thumb, [=](TcxCanvas* C, const TRect& R) {
                      Native()->DrawTrackBarScaledThumb(C, R, t.State, t.Horizontal, t.Ticks, clRed, f);
                    }});
  rows.push_back({"horizontal track", L"TRACKBAR", TKP_TRACK, TRS_NORMAL, TRect(3, 15, 44, 19),
                  [=](TcxCanvas* C, const TRect& R) {
                    Native()->DrawTrackBarScaledTrack(C, R, TRect(), false, true, true, clRed, f);
                  }});
  rows.push_back({"vertical track", L"TRACKBAR", TKP_TRACKVERT, TRS_NORMAL, TRect(20, 3, 24, 37),
                  [=](TcxCanvas* C, const TRect& R) {
                    Native()->DrawTrackBarScaledTrack(C, R, TRect(), false, true, false, clRed, f);
                  }});
  for (const bool vista : {false, true}) {
    // A range bar's halves are two-sided thumbs, a pixel wider from Vista
    // on.
    TRect widened = thumb;
    if (vista) ++widened.Right;
    rows.push_back({std::string("range thumb, Vista ") + (vista ? "on" : "off"), L"TRACKBAR", TKP_THUMB, TUS_HOT,
                    widened, [=](TcxCanvas* C, const TRect&) {
                      const TVersionFlag flag(IsWinVistaOrLater, vista);
                      Native()->DrawRangeTrackBarScaledLeftThumb(C, thumb, cxbsHot, true, tbtaUp, clRed, f);
                    }});
  }
  for (const auto& [state, theme] : {std::pair{cxbsDefault, TS_HOT}, std::pair{cxbsHot, TS_CHECKED},
                                     std::pair{cxbsPressed, TS_PRESSED}})
    rows.push_back({"scheduler navigator button " + std::to_string(state), L"TOOLBAR", TP_BUTTON, theme,
                    TRect(4, 4, 30, 30), [=, s = state](TcxCanvas* C, const TRect& R) {
                      Native()->DrawSchedulerScaledNavigatorButton(C, R, s, f);
                    }});
  for (const auto& [state, theme] : {std::pair{cxbsHot, MPI_HOT}, std::pair{cxbsPressed, MPI_HOT},
                                     std::pair{cxbsDisabled, MPI_DISABLEDHOT}}) {
    rows.push_back({"layout item " + std::to_string(state), L"MENU", MENU_POPUPITEM, theme, TRect(3, 3, 44, 30),
                    [=, s = state](TcxCanvas* C, const TRect& R) { Native()->LayoutViewDrawItem(C, R, s, {}); }});
    rows.push_back({"explorer record " + std::to_string(state), L"MENU", MENU_POPUPITEM, theme, TRect(3, 3, 44, 30),
                    [=, s = state](TcxCanvas* C, const TRect& R) { Native()->WinExplorerViewDrawRecord(C, R, s); }});
  }
  rows.push_back({"date header", L"HEADER", HP_HEADERITEMLEFT, HILS_NORMAL, TRect(2, 3, 46, 20),
                  [](TcxCanvas* C, const TRect& R) {
                    TRect r = R;
                    Native()->DrawDateNavigatorDateHeader(C, r);
                  }});
  return rows;
}

TEST_F(NativePainter, DataViewPartsAreTheThemesOwnDrawing) {
  ExpectThemesOwnDrawing(DataViewRows());
}

// The thumb's rectangle is the part's drawing size centred in the slot.
TEST_F(NativePainter, TheThumbRectangleIsThePartsSizeCentred) {
  const TSystemTheme theme(L"TRACKBAR");
  RECT slot{4, 6, 40, 33};
  for (const auto& [ticks, part] : {std::pair{tbtaUp, TKP_THUMBTOP}, std::pair{tbtaBoth, TKP_THUMB}}) {
    SCOPED_TRACE(part);
    TCanvasOnSurface canvas(W, H, Bg);
    SIZE size{};
    ASSERT_EQ(GetThemePartSize(theme.Get(), canvas->Handle(), part, TUS_NORMAL, &slot, TS_DRAW, &size), S_OK);
    TRect r(slot);
    Native()->CorrectThumbRect(canvas.Get(), r, true, ticks, DefaultScaleFactor());
    EXPECT_EQ(r.GetSize(), TSize(size.cx, size.cy));
    // As far from the left as from the right, to the pixel.
    EXPECT_LE(std::abs((r.Left - slot.left) - (slot.right - r.Right)), 1);
    EXPECT_LE(std::abs((r.Top - slot.top) - (slot.bottom - r.Bottom)), 1);
  }
}

TEST_F(NativePainter, SchedulerProgressIsTheProgressBarsBarAndChunk) {
  const TSystemTheme theme(L"PROGRESS");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect bounds(2, 10, 46, 24);
  const TRect progress(4, 12, 25, 22);
  TCanvasOnSurface canvas(W, H, Bg);
  Native()->DrawSchedulerScaledEventProgress(canvas.Get(), bounds, progress, TcxViewParams(), false,
                                             DefaultScaleFactor());
  TPixelSurface system = theme.Draw(PP_BAR, 0, bounds);
  const RECT chunk = progress;
  DrawThemeBackground(theme.Get(), system.DC(), PP_CHUNK, 0, &chunk, nullptr);
  EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  EXPECT_EQ(Native()->SchedulerEventProgressOffsets(), TRect(3, 3, 3, 3));
  EXPECT_EQ(Native()->NavigatorButtonPressedGlyphOffset(), TPoint(0, 0));
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(Native()->NavigatorScaledButtonMinSize(twice.get()), TSize(36, 38));
}

// A scheduler splitter: a line of the combo box's border colour on each
// long side, the view between.
TEST_F(NativePainter, SchedulerSplittersAreLinedInTheComboBoxsBorderColour) {
  const TSystemTheme combo(L"COMBOBOX");
  COLORREF border = 0;
  if (GetThemeColor(combo.Get(), CP_DROPDOWNBUTTON, CBXS_NORMAL, TMT_BORDERCOLOR, &border) != S_OK)
    GTEST_SKIP() << "the combo box theme has no border colour";
  TcxViewParams params;
  params.Color = clYellow;
  for (const bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal);
    const TRect r = horizontal ? TRect(3, 4, 40, 10) : TRect(4, 3, 10, 36);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawSchedulerSplitterBorder(canvas.Get(), r, params, horizontal);
    TPixelSurface reference(W, H, Bg);
    GdiFill(reference.DC(), r, border);
    GdiFill(reference.DC(), horizontal ? TRect(3, 5, 40, 9) : TRect(5, 3, 9, 36), RGB(255, 255, 0));
    EXPECT_EQ(DifferingPixels(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

// Only the close mark: the themed look has no splitter line.
TEST_F(NativePainter, ASplitterShowsOnlyItsCloseMark) {
  const TRect r(2, 15, 46, 22);
  TCanvasOnSurface plain(W, H, Bg);
  Native()->DrawScaledSplitter(plain.Get(), r, true, false, true, DefaultScaleFactor());
  EXPECT_TRUE(plain.Surface.BoundsOfOther(Bg).IsEmpty());
  TCanvasOnSurface marked(W, H, Bg);
  Native()->DrawScaledSplitter(marked.Get(), r, true, false, true, DefaultScaleFactor(), true, adUp);
  TCanvasOnSurface base(W, H, Bg);
  UltraFlatPainter()->DrawScaledSplitter(base.Get(), r, true, false, true, DefaultScaleFactor(), true, adUp);
  EXPECT_FALSE(marked.Surface.BoundsOfOther(Bg).IsEmpty());
  // Where the mark is, it is the one every painter draws.
  const TRect mark = marked.Surface.BoundsOfOther(Bg);
  EXPECT_EQ(DifferingPixels(marked.Surface, base.Surface, mark), 0) << marked.Surface.Picture(Bg);
}

// The program's own glyph bitmap, drawn by GDI with its magenta left out.
void DrawResourceGlyph(HDC DC, const wchar_t* AName, const TPoint& AAt) {
  const HBITMAP glyph =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), AName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(glyph, nullptr) << "the program carries the glyph";
  const TBitmapDC source(glyph);
  BITMAP info{};
  GetObjectW(glyph, sizeof info, &info);
  TransparentBlt(DC, AAt.X, AAt.Y, info.bmWidth, info.bmHeight, source.DC(), 0, 0, info.bmWidth, info.bmHeight,
                 RGB(255, 0, 255));
  GdiFlush();
  DeleteObject(glyph);
}

// A zoom button is the push button with the plus or minus glyph (9 x 9)
// centred on it; greyed while disabled.
TEST_F(NativePainter, ZoomButtonsArePushButtonsWithTheGlyphCentred) {
  const TSystemTheme theme(L"BUTTON");
  const TRect r(3, 4, 26, 27);  // 23 x 23: the glyph 7 pixels in
  const TRect glyph(10, 11, 19, 20);
  struct TRow {
    TcxButtonState State;
    int Theme;
  };
  for (const bool zoomIn : {true, false}) {
    for (const TRow& row : {TRow{cxbsNormal, PBS_NORMAL}, TRow{cxbsHot, PBS_HOT}, TRow{cxbsPressed, PBS_PRESSED},
                            TRow{cxbsDefault, PBS_DEFAULTED}, TRow{cxbsDisabled, PBS_DISABLED}}) {
      SCOPED_TRACE(testing::Message() << (zoomIn ? "in" : "out") << " state " << row.State);
      TCanvasOnSurface canvas(W, H, Bg);
      if (zoomIn)
        Native()->DrawScaledZoomInButton(canvas.Get(), r, row.State, DefaultScaleFactor());
      else
        Native()->DrawScaledZoomOutButton(canvas.Get(), r, row.State, DefaultScaleFactor());
      TPixelSurface system = theme.Draw(BP_PUSHBUTTON, row.Theme, r);
      if (row.State == cxbsDisabled) {
        // Around the glyph the button itself; the glyph greyed, not black.
        EXPECT_EQ(DifferingPixels(canvas.Surface, system) - DifferingPixels(canvas.Surface, system, glyph), 0);
        EXPECT_GT(DifferingPixels(canvas.Surface, system, glyph), 0);
        EXPECT_EQ(canvas.Surface.Count(glyph, RGB(0, 0, 0)), 0);
        continue;
      }
      DrawResourceGlyph(system.DC(), zoomIn ? L"CX_ZOOMINBUTTONGLYPH" : L"CX_ZOOMOUTBUTTONGLYPH", glyph.TopLeft());
      EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
      // A plus has twice the ink of a minus, less the shared middle.
      EXPECT_EQ(canvas.Surface.Count(glyph, RGB(0, 0, 0)), zoomIn ? 13 : 7);
    }
  }
  // As large as the glyph and the push button's content margins.
  MARGINS margins{};
  ASSERT_EQ(GetThemeMargins(theme.Get(), nullptr, BP_PUSHBUTTON, 0, TMT_CONTENTMARGINS, nullptr, &margins), S_OK);
  const TSize expected(9 + margins.cxLeftWidth + margins.cxRightWidth, 9 + margins.cyTopHeight + margins.cyBottomHeight);
  EXPECT_EQ(Native()->GetScaledZoomInButtonSize(DefaultScaleFactor()), expected);
  EXPECT_EQ(Native()->GetScaledZoomOutButtonSize(DefaultScaleFactor()), expected);
}

// A scheduler navigation button is a tab item turned so that its open side
// faces away from the arrow's tip, then the arrow over it.
TEST_F(NativePainter, SchedulerNavigationButtonsAreTurnedTabItems) {
  const TSystemTheme theme(L"TAB");
  ASSERT_NE(theme.Get(), nullptr);
  const TRect r(4, 2, 30, 38);  // 26 x 36
  const int w = r.Width(), h = r.Height();
  const TRect arrow(13, 16, 20, 23);
  // Where pixel (x, y) of the drawn tab item lands in the button.
  using TPlace = std::function<TPoint(int, int)>;
  struct TRow {
    const char* Name;
    bool Next;
    bool Vertical;
    TSize Drawn;  // the tab item's own size
    TPlace Place;
  };
  const TRow rows[] = {
      {"next, horizontal", true, false, TSize(w, h), [](int x, int y) { return TPoint(x, y); }},
      // Half a turn: the tab opens upwards.
      {"previous, horizontal", false, false, TSize(w, h), [=](int x, int y) { return TPoint(w - 1 - x, h - 1 - y); }},
      // A quarter turn against the clock: the tab's top row becomes the
      // button's left column, read from the bottom up.
      {"next, vertical", true, true, TSize(h, w), [=](int x, int y) { return TPoint(y, h - 1 - x); }},
      // A quarter turn with the clock: its top row becomes the right column.
      {"previous, vertical", false, true, TSize(h, w), [=](int x, int y) { return TPoint(w - 1 - y, x); }},
  };
  std::vector<TPixelSurface> drawn;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawSchedulerNavigationButton(canvas.Get(), r, row.Next, cxbsHot, String(), TRect(), arrow,
                                            row.Vertical);
    TPixelSurface item(row.Drawn.cx, row.Drawn.cy, Bg);
    const RECT all{0, 0, row.Drawn.cx, row.Drawn.cy};
    DrawThemeBackground(theme.Get(), item.DC(), TABP_TABITEM, TIS_HOT, &all, nullptr);
    GdiFlush();
    TCanvasOnSurface expected(W, H, Bg);
    for (int y = 0; y < row.Drawn.cy; ++y)
      for (int x = 0; x < row.Drawn.cx; ++x) {
        const TPoint p = row.Place(x, y);
        expected.Surface.SetRaw(r.Left + p.X, r.Top + p.Y, item.Raw(x, y));
      }
    Native()->DrawSchedulerNavigationButtonArrow(expected.Get(), arrow, row.Next,
                                                 Native()->ButtonSymbolColor(cxbsHot, clDefault), row.Vertical);
    EXPECT_EQ(DifferingPixels(canvas.Surface, expected.Surface), 0) << canvas.Surface.Picture(Bg);
    drawn.push_back(std::move(canvas.Surface));
  }
  // The turn shows: the two horizontal buttons are not one picture.
  EXPECT_GT(DifferingPixels(drawn[0], drawn[1], r), 0);
}

// The scroll bar's splitter: the navigator button and border with the
// base painter's dashes (the Standard painter keeps them), which the
// Native painter's own splitters leave out.
TEST_F(NativePainter, TheScrollBarSplitterKeepsTheDashes) {
  const TdxScaleFactor* f = DefaultScaleFactor();
  const TRect r(4, 4, 24, 40);
  TRect inner = r;
  inner.Deflate(2);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledScrollBarSplitter(canvas.Get(), r, state, f);
    TCanvasOnSurface button(W, H, Bg);
    Native()->DrawNavigatorScaledButton(button.Get(), r, state, clDefault, f);
    Native()->DrawNavigatorBorder(button.Get(), r, false);
    TCanvasOnSurface expected(W, H, Bg);
    Native()->DrawNavigatorScaledButton(expected.Get(), r, state, clDefault, f);
    Native()->DrawNavigatorBorder(expected.Get(), r, false);
    Standard()->DrawScaledSplitter(expected.Get(), inner, state == cxbsHot, state == cxbsPressed, false, f);
    EXPECT_EQ(DifferingPixels(canvas.Surface, expected.Surface), 0) << canvas.Surface.Picture(Bg);
    EXPECT_GT(DifferingPixels(canvas.Surface, button.Surface, inner), 0) << "the dashes show";
  }
}

// The size of the face picture, read from the program's PNG resource.
TSize ClockFacePictureSize() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC info = FindResourceW(module, L"CX_CLOCKFACE", L"PNG");
  if (!info) return TSize();
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, info)));
  // The header chunk follows the 8-byte signature and the chunk's length
  // and type: width and height, big-endian.
  const auto at = [&](int AOffset) {
    return bytes[AOffset] << 24 | bytes[AOffset + 1] << 16 | bytes[AOffset + 2] << 8 | bytes[AOffset + 3];
  };
  return TSize(at(16), at(20));
}

// The Native and Office11 clocks are the modern clock, as large as its
// face picture; the analogue clock of the other painters is another picture.
TEST(ModernClocks, NativeAndOffice11DrawTheModernClockAsLargeAsItsFace) {
  const TSize face = ClockFacePictureSize();
  ASSERT_GT(face.cx, 0);
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(2, 1);
  const TDateTime time = EncodeTime(3, 0, 0, 0);
  const TRect r(0, 0, 64, 64);
  TCanvasOnSurface analogue(64, 64, Bg);
  UltraFlatPainter()->DrawScaledClock(analogue.Get(), r, time, clWhite, DefaultScaleFactor());
  for (TcxCustomLookAndFeelPainter* painter : {Native(), GetPaintersManager()->GetPainter(lfsOffice11)}) {
    SCOPED_TRACE(painter->LookAndFeelName().c_str());
    EXPECT_EQ(painter->ScaledClockSize(DefaultScaleFactor()), face);
    EXPECT_EQ(painter->ScaledClockSize(twice.get()), TSize(2 * face.cx, 2 * face.cy));
    TCanvasOnSurface canvas(64, 64, Bg);
    painter->DrawScaledClock(canvas.Get(), r, time, clWhite, DefaultScaleFactor());
    TCanvasOnSurface modern(64, 64, Bg);
    UltraFlatPainter()->DrawModernCalendarClock(modern.Get(), r, time, clWhite, DefaultScaleFactor());
    EXPECT_EQ(DifferingPixels(canvas.Surface, modern.Surface), 0);
    EXPECT_GT(DifferingPixels(canvas.Surface, analogue.Surface), 0);
  }
}

TEST_F(NativePainter, ListViewColoursAndSizesComeFromTheTheme) {
  const TSystemTheme header(L"HEADER");
  SIZE arrow{};
  ASSERT_EQ(GetThemePartSize(header.Get(), nullptr, HP_HEADERSORTARROW, HSAS_SORTEDDOWN, nullptr, TS_TRUE, &arrow), S_OK);
  EXPECT_EQ(Native()->GetListViewColumnHeaderSortingMarkSize(DefaultScaleFactor()), TSize(arrow.cx, arrow.cy));
  // Wine's header has no text colour (measured): the Standard painter's.
  COLORREF text = 0;
  const bool themed = GetThemeColor(header.Get(), HP_HEADERITEM, HIS_HOT, TMT_TEXTCOLOR, &text) == S_OK;
  EXPECT_EQ(ColorToColorRef(Native()->GetListViewColumnHeaderTextColor(cxbsHot, false)),
            themed ? text : ColorToColorRef(Standard()->GetListViewColumnHeaderTextColor(cxbsHot, false)));
  TCanvasOnSurface line(W, H, Bg);
  Native()->DrawListViewGroupHeaderLine(line.Get(), TRect(2, 2, 40, 3));
  EXPECT_EQ(line.Surface.Count(RGB(0xB2, 0xC1, 0xE0)), 38);
}

// ---------------------------------------------------------------------------
// Other DPIs

TEST_F(NativePainter, AtAnotherDpiTheCheckBoxIsThatDpisThemePart) {
  struct TRow {
    TScale Scale;
    int Size;
  };
  // Measured under Wine 8.
  for (const TRow& row : {TRow{{1, 1}, 13}, TRow{{3, 2}, 20}, TRow{{2, 1}, 26}}) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(row.Scale.Numerator, row.Scale.Denominator);
    const int dpi = factor->Apply(96);
    SCOPED_TRACE(dpi);
    CloseAllThemes();
    ThemeDataManager()->SetMonitorDpiList({96, 144, 192});
    EXPECT_EQ(Native()->ScaledCheckButtonSize(factor.get()), TSize(row.Size, row.Size));
    const TRect r(3, 3, 3 + row.Size, 3 + row.Size);
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(canvas.Get()), r, cxbsNormal, cbsChecked, clDefault,
                              factor.get(), true);
    const TSystemTheme theme(L"BUTTON", static_cast<UINT>(dpi));
    EXPECT_EQ(DifferingPixels(canvas.Surface, theme.Draw(BP_CHECKBOX, CBS_CHECKEDNORMAL, r)), 0)
        << canvas.Surface.Picture(Bg);
  }
  CloseAllThemes();
}

// A theme of another DPI goes through a bitmap: black stays transparent.
TEST_F(NativePainter, TheScaledPathBlendsThePartWithBlackTransparent) {
  const TSystemTheme theme(L"BUTTON");
  const TRect r(3, 3, 16, 16);
  TPixelSurface forced(W, H, Bg);
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(theme.Get(), forced.DC(), BP_CHECKBOX, CBS_CHECKEDNORMAL, r,
                                                        DefaultScaleFactor(), true, true);
  // At the same size the bitmap's picture is the direct one, less black.
  TPixelSurface direct = theme.Draw(BP_CHECKBOX, CBS_CHECKEDNORMAL, r);
  int black = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (direct.Pixel(x, y) == RGB(0, 0, 0)) {
        ++black;
        EXPECT_EQ(forced.Pixel(x, y), Bg) << x << "," << y;
      }
  EXPECT_EQ(DifferingPixels(forced, direct), black);
  // Twice the size: the part fills the larger rectangle, smoothly.
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(2, 1);
  TPixelSurface scaled(W, H, Bg);
  const TRect big(3, 3, 29, 29);
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(theme.Get(), scaled.DC(), BP_CHECKBOX, CBS_CHECKEDNORMAL, big,
                                                        twice.get());
  EXPECT_EQ(scaled.BoundsOfOther(Bg), big);
  EXPECT_EQ(scaled.Pixel(big.Left + 1, big.Top + 13), direct.Pixel(r.Left, r.Top + 6));
}

// ---------------------------------------------------------------------------
// Fallbacks

// Wine's theme has no explorer bar: the group expand button falls back for
// real, to the Standard painter's (the Flat painter's button).
TEST_F(NativePainter, WithoutTheExplorerBarTheGroupExpandButtonFallsBack) {
  ASSERT_EQ(TSystemTheme(L"EXPLORERBAR").Get(), nullptr) << "measured: Wine has no explorer bar";
  const TRect r(3, 3, 18, 18);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
    TCanvasOnSurface native(W, H, Bg);
    TCanvasOnSurface standard(W, H, Bg);
    Native()->DrawScaledGroupExpandButton(native.Get(), r, true, state, DefaultScaleFactor());
    Standard()->DrawScaledGroupExpandButton(standard.Get(), r, true, state, DefaultScaleFactor());
    EXPECT_EQ(DifferingPixels(native.Surface, standard.Surface), 0);
    EXPECT_FALSE(native.Surface.BoundsOfOther(Bg).IsEmpty());
  }
  EXPECT_EQ(Native()->ScaledGroupExpandButtonSize(DefaultScaleFactor()), 15);
}

TEST_F(NativePainter, TheButtonColourFallsBackWhereTheThemeHasNone) {
  COLORREF color = 0;
  const TSystemTheme theme(L"BUTTON");
  ASSERT_NE(GetThemeColor(theme.Get(), BP_PUSHBUTTON, PBS_NORMAL, TMT_COLOR, &color), S_OK) << "measured under Wine";
  EXPECT_EQ(Native()->ButtonColor(cxbsNormal), clBtnFace);
  // The text colour is the theme's.
  ASSERT_EQ(GetThemeColor(theme.Get(), BP_PUSHBUTTON, PBS_DISABLED, TMT_TEXTCOLOR, &color), S_OK);
  EXPECT_EQ(ColorToColorRef(Native()->ButtonSymbolColor(cxbsDisabled)), color);
}

TEST_F(NativePainter, SizesComeFromTheTheme) {
  const TSystemTheme button(L"BUTTON");
  SIZE radio{};
  ASSERT_EQ(GetThemePartSize(button.Get(), nullptr, BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &radio), S_OK);
  EXPECT_EQ(Native()->ScaledRadioButtonSize(DefaultScaleFactor()), TSize(radio.cx, radio.cy));
  const TSystemTheme tree(L"TREEVIEW");
  SIZE glyph{};
  ASSERT_EQ(GetThemePartSize(tree.Get(), nullptr, TVP_GLYPH, GLPS_OPENED, nullptr, TS_TRUE, &glyph), S_OK);
  EXPECT_EQ(Native()->ScaledExpandButtonSize(DefaultScaleFactor()), glyph.cx);
  RECT content{};
  const RECT hundred{0, 0, 100, 100};
  ASSERT_EQ(GetThemeBackgroundContentRect(button.Get(), nullptr, BP_PUSHBUTTON, PBS_HOT, &hundred, &content), S_OK);
  EXPECT_EQ(Native()->ButtonBorderSize(cxbsHot), content.left);
  EXPECT_EQ(Native()->CheckBorderSize(), 0);
  EXPECT_TRUE(Native()->IsButtonHotTrack());
  EXPECT_TRUE(Native()->NeedRedrawOnResize());
}

// ---------------------------------------------------------------------------
// Classes Wine's theme lacks, through a binding that has them

// The real binding, with the classes Wine lacks answered by recording
// fakes: one handle per class.
struct TThemeCall {
  int Part;
  int State;
  TRect Rect;
  bool operator==(const TThemeCall&) const = default;
};
TdxUxThemeBinding GRealBinding;
std::vector<TThemeCall> GCalls;
constexpr TdxThemedObjectType FakedTypes[] = {totExplorerBar, totExplorerListView, totTextStyle, totItemsViewListView,
                                              totNavigation};
// The size of every faked class's parts.
constexpr SIZE FakePartSize{20, 18};
// The text colour every faked class answers.
constexpr COLORREF FakeTextColor = RGB(12, 34, 56);

HTHEME FakeHandle(TdxThemedObjectType AType) { return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x7E50 + AType)); }
bool IsFake(HTHEME ATheme) {
  return std::ranges::any_of(FakedTypes, [&](TdxThemedObjectType T) { return FakeHandle(T) == ATheme; });
}
HTHEME FakeFor(LPCWSTR AClassList) {
  for (const TdxThemedObjectType type : FakedTypes)
    if (lstrcmpiW(AClassList, ThemedObjectClassList(type)) == 0) return FakeHandle(type);
  return nullptr;
}

template <class F>
F Real(TdxUxThemeEntry AEntry) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GRealBinding.EntryPoints[static_cast<std::size_t>(AEntry)]));
}
HTHEME WINAPI FakeOpen(HWND AWindow, LPCWSTR AClassList) {
  if (const HTHEME fake = FakeFor(AClassList)) return fake;
  return Real<HTHEME(WINAPI*)(HWND, LPCWSTR)>(TdxUxThemeEntry::OpenThemeData)(AWindow, AClassList);
}
HTHEME WINAPI FakeOpenForDpi(HWND AWindow, LPCWSTR AClassList, UINT ADpi) {
  if (const HTHEME fake = FakeFor(AClassList)) return fake;
  return Real<HTHEME(WINAPI*)(HWND, LPCWSTR, UINT)>(TdxUxThemeEntry::OpenThemeDataForDpi)(AWindow, AClassList, ADpi);
}
HRESULT WINAPI FakeClose(HTHEME ATheme) {
  if (IsFake(ATheme)) return S_OK;
  return Real<HRESULT(WINAPI*)(HTHEME)>(TdxUxThemeEntry::CloseThemeData)(ATheme);
}
HRESULT WINAPI FakeDraw(HTHEME ATheme, HDC DC, int APart, int AState, LPCRECT ARect, LPCRECT AClip) {
  if (!IsFake(ATheme))
    return Real<HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, LPCRECT)>(TdxUxThemeEntry::DrawThemeBackground)(
        ATheme, DC, APart, AState, ARect, AClip);
  GCalls.push_back({APart, AState, TRect(*ARect)});
  return S_OK;
}
HRESULT WINAPI FakeSize(HTHEME ATheme, HDC DC, int APart, int AState, LPCRECT ARect, THEMESIZE AKind, SIZE* ASize) {
  if (!IsFake(ATheme))
    return Real<HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*)>(TdxUxThemeEntry::GetThemePartSize)(
        ATheme, DC, APart, AState, ARect, AKind, ASize);
  *ASize = FakePartSize;
  return S_OK;
}
HRESULT WINAPI FakeColor(HTHEME ATheme, int APart, int AState, int AProperty, COLORREF* AColor) {
  if (!IsFake(ATheme))
    return Real<HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*)>(TdxUxThemeEntry::GetThemeColor)(
        ATheme, APart, AState, AProperty, AColor);
  GCalls.push_back({APart, AState, TRect(AProperty, 0, 0, 0)});
  *AColor = FakeTextColor;
  return S_OK;
}

class NativePainterWithWinesMissingClasses : public NativePainter {
 protected:
  void SetUp() override {
    NativePainter::SetUp();
    if (IsSkipped()) return;
    CloseAllThemes();
    GRealBinding = dxUxThemeBinding();
    TdxUxThemeBinding b = GRealBinding;
    const auto set = [&](TdxUxThemeEntry AEntry, auto AFunction) {
      b.EntryPoints[static_cast<std::size_t>(AEntry)] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AFunction));
    };
    set(TdxUxThemeEntry::OpenThemeData, &FakeOpen);
    if (GRealBinding.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::OpenThemeDataForDpi)])
      set(TdxUxThemeEntry::OpenThemeDataForDpi, &FakeOpenForDpi);
    set(TdxUxThemeEntry::CloseThemeData, &FakeClose);
    set(TdxUxThemeEntry::DrawThemeBackground, &FakeDraw);
    set(TdxUxThemeEntry::GetThemeColor, &FakeColor);
    set(TdxUxThemeEntry::GetThemePartSize, &FakeSize);
    dxSetUxThemeBinding(b);
    GCalls.clear();
  }
  void TearDown() override {
    if (IsSkipped()) return;
    CloseAllThemes();
    dxSetUxThemeBinding(GRealBinding);
  }
};

// The explorer bar has normal, hot and pressed pictures: the default button
// looks normal, and so does a disabled one (there is no disabled picture).
TEST_F(NativePainterWithWinesMissingClasses, TheGroupExpandButtonIsTheExplorerBarsPart) {
  ASSERT_TRUE(IsThemedObjectTypeAvailable(totExplorerBar));
  struct TRow {
    TcxButtonState State;
    bool Expanded;
    TThemeCall Call;
  };
  const TRect r(3, 4, 20, 21);
  const TRow rows[] = {{cxbsDefault, false, {EBP_NORMALGROUPEXPAND, EBNGE_NORMAL, r}},
                       {cxbsNormal, true, {EBP_NORMALGROUPCOLLAPSE, EBNGC_NORMAL, r}},
                       {cxbsHot, false, {EBP_NORMALGROUPEXPAND, EBNGE_HOT, r}},
                       {cxbsPressed, true, {EBP_NORMALGROUPCOLLAPSE, EBNGC_PRESSED, r}},
                       {cxbsDisabled, false, {EBP_NORMALGROUPEXPAND, EBNGE_NORMAL, r}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledGroupExpandButton(canvas.Get(), r, row.Expanded, row.State, DefaultScaleFactor());
    EXPECT_EQ(GCalls, std::vector<TThemeCall>{row.Call});
    EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty()) << "nothing but the theme's part";
  }
}

// Gallery items are the explorer list view's items; an item in no
// particular state draws nothing.
TEST_F(NativePainterWithWinesMissingClasses, GalleryItemsAreTheExplorerListViewsItems) {
  EXPECT_TRUE(Native()->DrawGalleryItemSelectionFirst());
  struct TRow {
    const char* Name;
    TdxGalleryItemViewState State;
    bool Vista;
    int Theme;  // 0: nothing drawn
  };
  const TRow rows[] = {{"plain", {}, true, 0},
                       {"hot", {.Hover = true}, true, LISS_HOT},
                       {"focused", {.Hover = true, .Focused = true}, true, LISS_SELECTEDNOTFOCUS},
                       {"pressed", {.Checked = true, .Hover = true, .Pressed = true}, true, LISS_SELECTED},
                       {"checked", {.Checked = true}, true, LISS_SELECTED},
                       {"checked and hot", {.Checked = true, .Hover = true}, true, LISS_HOTSELECTED},
                       {"checked and focused", {.Checked = true, .Focused = true}, true, LISS_HOTSELECTED},
                       {"checked and hot before Vista", {.Checked = true, .Hover = true}, false, LISS_SELECTED}};
  const TRect r(3, 4, 40, 30);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TVersionFlag flag(IsWinVistaOrLater, row.Vista);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawGalleryItemSelection(canvas.Get(), r, row.State);
    const std::vector<TThemeCall> expected =
        row.Theme ? std::vector<TThemeCall>{{LVP_LISTITEM, row.Theme, r}} : std::vector<TThemeCall>{};
    EXPECT_EQ(GCalls, expected);
    EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
  }
}

// Calendar cells: the list view's item while hot or selected, then the
// marked frame and the focus rectangle.
TEST_F(NativePainterWithWinesMissingClasses, CalendarCellsAreTheExplorerListViewsItems) {
  struct TRow {
    const char* Name;
    TcxCalendarElementStates States;
    int Theme;  // 0: no item
  };
  const TRow rows[] = {{"plain", {}, 0},
                       {"hot", {cesHot}, LISS_HOT},
                       {"selected and hot", {cesSelected, cesHot}, LISS_HOTSELECTED},
                       {"selected and focused", {cesSelected, cesFocused}, LISS_SELECTED},
                       {"selected", {cesSelected}, LISS_SELECTEDNOTFOCUS},
                       {"marked", {cesMarked}, 0},
                       {"focused", {cesFocused}, 0}};
  const TRect r(3, 4, 30, 22);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawModernCalendarDateCellSelection(canvas.Get(), r, row.States);
    const std::vector<TThemeCall> expected =
        row.Theme ? std::vector<TThemeCall>{{LVP_LISTITEM, row.Theme, r}} : std::vector<TThemeCall>{};
    EXPECT_EQ(GCalls, expected);
    TPixelSurface marks(W, H, Bg);
    if (row.States.Contains(cesMarked))
      GdiFrame(marks.DC(), r, ColorToColorRef(Native()->GetModernCalendarMarkedCellBorderColor()));
    if (row.States.Contains(cesFocused)) {
      const RECT focus{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
      SetTextColor(marks.DC(), RGB(0, 0, 0));
      SetBkColor(marks.DC(), RGB(255, 255, 255));
      DrawFocusRect(marks.DC(), &focus);
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, marks), 0) << canvas.Surface.Picture(Bg);
  }
  GCalls.clear();
  EXPECT_EQ(ColorToColorRef(Native()->GetModernCalendarHeaderTextColor({})), FakeTextColor);
  EXPECT_EQ(GCalls, (std::vector<TThemeCall>{{6, 1, TRect(TMT_TEXTCOLOR, 0, 0, 0)}}));
}

// List-view items and group headers from Vista on; an item neither hot
// nor selected, and a group header that is not hot, show the list view's
// background first.
TEST_F(NativePainterWithWinesMissingClasses, ListViewItemsAndGroupHeadersAreTheExplorerListViewsParts) {
  const TVersionFlag vista(IsWinVistaOrLater, true);
  struct TRow {
    const char* Name;
    TdxListViewItemStates States;
    int Theme;  // 0: the background
  };
  const TRow rows[] = {{"plain", {}, 0},
                       {"hot", {dxlisHot}, LISS_HOT},
                       {"selected", {dxlisSelected}, LISS_SELECTED},
                       {"selected, inactive", {dxlisSelected, dxlisInactive}, LISS_SELECTEDNOTFOCUS},
                       {"selected and hot", {dxlisSelected, dxlisHot}, LISS_HOTSELECTED}};
  const TRect r(3, 4, 40, 20);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawListViewItemBackground(canvas.Get(), r, row.States, false);
    if (row.Theme) {
      EXPECT_EQ(GCalls, (std::vector<TThemeCall>{{LVP_LISTITEM, row.Theme, r}}));
      EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
    } else {
      // The list view's own fill colour.
      EXPECT_TRUE(GCalls.empty());
      TCanvasOnSurface background(W, H, Bg);
      Native()->DrawListViewBackground(background.Get(), r, false, true);
      EXPECT_EQ(DifferingPixels(canvas.Surface, background.Surface), 0);
    }
  }
  struct THeaderRow {
    const char* Name;
    TdxListViewGroupHeaderStates States;
    int Theme;
  };
  const THeaderRow headers[] = {{"open", {}, LVGH_OPEN},
                                {"closed", {dxlgsCollapsed}, LVGH_CLOSE},
                                {"open, hot", {dxlgsHot}, LVGH_OPENHOT},
                                {"closed, hot", {dxlgsHot, dxlgsCollapsed}, LVGH_CLOSEHOT}};
  for (const THeaderRow& row : headers) {
    SCOPED_TRACE(row.Name);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawListViewGroupHeaderBackground(canvas.Get(), r, row.States, false, DefaultScaleFactor());
    EXPECT_EQ(GCalls, (std::vector<TThemeCall>{{LVP_GROUPHEADER, row.Theme, r}}));
    EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg).IsEmpty(), row.States.Contains(dxlgsHot)) << "the background when not hot";
  }
}

TEST_F(NativePainterWithWinesMissingClasses, TheBackButtonIsTheNavigationThemesPart) {
  EXPECT_EQ(Native()->GetScaledBackButtonSize(DefaultScaleFactor()), TSize(FakePartSize.cx, FakePartSize.cy));
  const TRect r(3, 4, 23, 22);
  for (const auto& [state, theme] : {std::pair{cxbsDefault, 1}, std::pair{cxbsNormal, 1}, std::pair{cxbsHot, 2},
                                     std::pair{cxbsPressed, 3}, std::pair{cxbsDisabled, 4}}) {
    SCOPED_TRACE(state);
    GCalls.clear();
    TCanvasOnSurface canvas(W, H, Bg);
    Native()->DrawScaledBackButton(canvas.Get(), r, state, DefaultScaleFactor());
    EXPECT_EQ(GCalls, (std::vector<TThemeCall>{{1, theme, r}}));
  }
}

// The focus mark: dotted inside the item, or in explorer style a pale blue
// frame unless hot; nothing while inactive.
TEST_F(NativePainter, TheListViewFocusMark) {
  const TRect r(3, 4, 40, 20);
  struct TRow {
    const char* Name;
    bool Explorer;
    bool Hot;
    bool Inactive;
  };
  for (const TRow& row : {TRow{"plain", false, false, false}, TRow{"explorer", true, false, false},
                          TRow{"explorer, hot", true, true, false}, TRow{"inactive", false, false, true}}) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    static_cast<TcxWinXPLookAndFeelPainter*>(Native())->DrawListViewFocusRect(canvas.Get(), r, row.Explorer, row.Hot,
                                                                             row.Inactive);
    TPixelSurface reference(W, H, Bg);
    if (!row.Explorer && !row.Inactive) {
      const RECT focus{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
      SetTextColor(reference.DC(), RGB(0, 0, 0));
      SetBkColor(reference.DC(), RGB(255, 255, 255));
      DrawFocusRect(reference.DC(), &focus);
    } else if (row.Explorer && !row.Hot) {
      GdiFrame(reference.DC(), r, RGB(0x99, 0xD1, 0xFF));
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// With visual styles off every part is the Standard painter's (separators
// keep the Native painter's band of 6)

BOOL WINAPI ThemesInactive() { return FALSE; }

class NativePainterWithoutThemes : public testing::Test {
 protected:
  void SetUp() override {
    if (!IsUxThemeLoaded() || !ThemeChangedEventReceiver()) GTEST_SKIP() << "no visual styles library";
    FSaved = dxUxThemeBinding();
    TdxUxThemeBinding b = FSaved;
    b.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::IsThemeActive)] =
        reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ThemesInactive));
    dxSetUxThemeBinding(b);
    ThemeChanged();
    ASSERT_FALSE(AreVisualStylesAvailable());
  }
  void TearDown() override {
    if (!IsUxThemeLoaded() || !ThemeChangedEventReceiver()) return;
    dxSetUxThemeBinding(FSaved);
    ThemeChanged();
  }
  static void ThemeChanged() { SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_THEMECHANGED, 0, 0); }

 private:
  TdxUxThemeBinding FSaved;
};

TEST_F(NativePainterWithoutThemes, EveryPartIsTheStandardPaintersPicture) {
  EXPECT_FALSE(Native()->NeedRedrawOnResize());
  const TdxScaleFactor* f = DefaultScaleFactor();
  struct TRow {
    const char* Name;
    std::function<void(TcxCustomLookAndFeelPainter*, TcxCanvas*)> Draw;
  };
  const TRow rows[] = {
      {"button", [f](auto* P, TcxCanvas* C) { P->DrawScaledButton(C, TRect(2, 2, 40, 25), cxbsHot, f, cxbpButton, clDefault); }},
      {"check", [f](auto* P, TcxCanvas* C) { P->DrawScaledCheckButton(C, TRect(2, 2, 15, 15), cxbsNormal, cbsChecked, f); }},
      {"arrow", [f](auto* P, TcxCanvas* C) { P->DrawScaledArrow(C, TRect(2, 2, 19, 19), cxbsPressed, adLeft, f); }},
      {"thumb", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledScrollBarPart(C, false, TRect(2, 2, 19, 35), sbpThumbnail, cxbsNormal, f);
       }},
      {"line up", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledScrollBarPart(C, true, TRect(2, 2, 19, 19), sbpLineUp, cxbsNormal, f);
       }},
      {"page", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledScrollBarPart(C, true, TRect(2, 2, 40, 19), sbpPageUp, cxbsNormal, f);
       }},
      {"border", [](auto* P, TcxCanvas* C) { P->DrawBorder(C, TRect(2, 2, 40, 30)); }},
      {"zoom in", [f](auto* P, TcxCanvas* C) { P->DrawScaledZoomInButton(C, TRect(2, 2, 17, 17), cxbsHot, f); }},
      {"zoom out", [f](auto* P, TcxCanvas* C) { P->DrawScaledZoomOutButton(C, TRect(2, 2, 17, 17), cxbsNormal, f); }},
      {"scheduler navigation button", [](auto* P, TcxCanvas* C) {
         P->DrawSchedulerNavigationButton(C, TRect(2, 2, 28, 38), true, cxbsPressed, String(), TRect(),
                                          TRect(10, 14, 17, 21), true);
       }},
      {"expand", [f](auto* P, TcxCanvas* C) { P->DrawScaledExpandButton(C, TRect(2, 2, 14, 14), false, f); }},
      {"group box", [](auto* P, TcxCanvas* C) { P->DrawGroupBoxFrame(C, TRect(2, 2, 40, 30), true, cxgpTop, cxBordersAll()); }},
      {"size grip", [f](auto* P, TcxCanvas* C) { P->DrawScaledSizeGrip(C, TRect(2, 2, 30, 30), f); }},
      {"token", [f](auto* P, TcxCanvas* C) { P->DrawScaledTokenBackground(C, TRect(2, 2, 40, 20), cxbsHot, f); }},
      {"radio", [f](auto* P, TcxCanvas* C) { P->DrawScaledRadioButton(C, 3, 3, cxbsNormal, true, false, clDefault, f); }},
      {"header", [f](auto* P, TcxCanvas* C) { P->DrawScaledHeader(C, TRect(2, 2, 40, 22), cxbsHot, {}, cxBordersAll(), f); }},
      {"text header", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledHeader(C, TRect(2, 2, 40, 22), TRect(4, 4, 38, 20), {}, cxBordersAll(), cxbsNormal, taLeftJustify,
                             vaTop, false, false, L"Ab", nullptr, clBlack, clRed, f);
       }},
      {"filter button", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledFilterDropDownButton(C, TRect(2, 2, 18, 18), cxbsPressed, true, f);
       }},
      {"hint", [](auto* P, TcxCanvas* C) { P->DrawHintBackground(C, TRect(2, 2, 40, 30)); }},
      {"tab border", [](auto* P, TcxCanvas* C) { P->DrawTabBorder(C, TRect(2, 2, 40, 4), bTop, cxBordersAll(), false); }},
      {"tabs root", [](auto* P, TcxCanvas* C) { P->DrawTabsRoot(C, TRect(2, 2, 40, 30), cxBordersAll(), true); }},
      {"footer border", [](auto* P, TcxCanvas* C) { P->DrawFooterBorder(C, TRect(2, 2, 40, 30)); }},
      {"footer cell", [](auto* P, TcxCanvas* C) {
         P->DrawFooterCell(C, TRect(2, 2, 40, 20), taLeftJustify, vaTop, false, L"Ab", nullptr, clBlack, clBtnFace);
       }},
      {"filter close button", [f](auto* P, TcxCanvas* C) {
         P->DrawScaledFilterCloseButton(C, TRect(2, 2, 18, 18), cxbsHot, f);
       }},
      {"gallery selection", [](auto* P, TcxCanvas* C) {
         P->DrawGalleryItemSelection(C, TRect(2, 2, 40, 30), TdxGalleryItemViewState{.Checked = true, .Hover = true});
       }},
      {"track-bar thumb", [f](auto* P, TcxCanvas* C) {
         P->DrawTrackBarScaledThumb(C, TRect(6, 5, 17, 26), cxbsHot, true, tbtaUp, clRed, f);
       }},
      {"track", [f](auto* P, TcxCanvas* C) {
         P->DrawTrackBarScaledTrack(C, TRect(3, 15, 44, 19), TRect(), false, true, true, clRed, f);
       }},
      {"range thumb", [f](auto* P, TcxCanvas* C) {
         P->DrawRangeTrackBarScaledRightThumb(C, TRect(6, 5, 17, 26), cxbsNormal, true, tbtaDown, clRed, f);
       }},
      {"scheduler navigator button", [f](auto* P, TcxCanvas* C) {
         P->DrawSchedulerScaledNavigatorButton(C, TRect(4, 4, 30, 30), cxbsHot, f);
       }},
      {"scheduler progress", [f](auto* P, TcxCanvas* C) {
         TcxViewParams params;
         params.Color = clYellow;
         P->DrawSchedulerScaledEventProgress(C, TRect(2, 10, 46, 24), TRect(4, 12, 25, 22), params, false, f);
       }},
      {"scheduler splitter", [](auto* P, TcxCanvas* C) {
         TcxViewParams params;
         params.Color = clYellow;
         P->DrawSchedulerSplitterBorder(C, TRect(3, 4, 40, 10), params, true);
       }},
      {"date header", [](auto* P, TcxCanvas* C) {
         TRect r(2, 3, 46, 20);
         P->DrawDateNavigatorDateHeader(C, r);
       }},
      {"layout item", [](auto* P, TcxCanvas* C) { P->LayoutViewDrawItem(C, TRect(3, 3, 44, 30), cxbsHot, cxBordersAll()); }},
      {"list view item", [](auto* P, TcxCanvas* C) {
         P->DrawListViewItemBackground(C, TRect(3, 3, 44, 30), TdxListViewItemStates{dxlisHot, dxlisFocused}, false);
       }},
      {"layout caption", [](auto* P, TcxCanvas* C) {
         P->LayoutViewDrawRecordCaption(C, TRect(4, 6, 44, 28), TRect(4, 6, 44, 28), cxgpLeft, cxbsHot);
       }},
      {"back button", [f](auto* P, TcxCanvas* C) { P->DrawScaledBackButton(C, TRect(3, 4, 23, 22), cxbsHot, f); }},
      {"calendar cell", [](auto* P, TcxCanvas* C) {
         P->DrawModernCalendarDateCellSelection(C, TRect(2, 2, 30, 20), TcxCalendarElementStates{cesSelected, cesFocused});
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface native(W, H, Bg);
    TCanvasOnSurface standard(W, H, Bg);
    row.Draw(Native(), native.Get());
    row.Draw(Standard(), standard.Get());
    EXPECT_FALSE(standard.Surface.BoundsOfOther(Bg).IsEmpty());
    EXPECT_EQ(DifferingPixels(native.Surface, standard.Surface), 0) << native.Surface.Picture(Bg);
  }
  EXPECT_EQ(Native()->ButtonBorderSize(cxbsDefault), Standard()->ButtonBorderSize(cxbsNormal));
  EXPECT_EQ(Native()->BorderSize(), Standard()->BorderSize());
  EXPECT_EQ(Native()->GetScaledZoomInButtonSize(f), Standard()->GetScaledZoomInButtonSize(f));
  EXPECT_EQ(Native()->ScaledCheckButtonSize(f), Standard()->ScaledCheckButtonSize(f));
  EXPECT_EQ(Native()->ButtonColor(cxbsHot), Standard()->ButtonColor(cxbsHot));
  EXPECT_EQ(Native()->HeaderBorderSize(), Standard()->HeaderBorderSize());
  EXPECT_EQ(Native()->HeaderControlSectionBorderSize(cxbsNormal), Standard()->HeaderControlSectionBorderSize(cxbsNormal));
  EXPECT_EQ(Native()->GetHintBorderColor(), Standard()->GetHintBorderColor());
  EXPECT_EQ(Native()->ScreenTipGetTitleTextColor(), Standard()->ScreenTipGetTitleTextColor());
  EXPECT_EQ(Native()->ScreenTipGetDescriptionTextColor(), Standard()->ScreenTipGetDescriptionTextColor());
  EXPECT_EQ(Native()->FooterBorderSize(), Standard()->FooterBorderSize());
  EXPECT_EQ(Native()->FooterCellBorderSize(), Standard()->FooterCellBorderSize());
  EXPECT_EQ(Native()->FooterCellOffset(), Standard()->FooterCellOffset());
  EXPECT_EQ(Native()->TabBorderSize(true), Standard()->TabBorderSize(true));
  EXPECT_EQ(Native()->IsDrawTabImplemented(false), Standard()->IsDrawTabImplemented(false));
  EXPECT_EQ(Native()->IsTabHotTrack(false), Standard()->IsTabHotTrack(false));
  EXPECT_EQ(Native()->ScaledSmallCloseButtonSize(f), Standard()->ScaledSmallCloseButtonSize(f));
  EXPECT_EQ(Native()->ScaledFilterCloseButtonSize(f), Standard()->ScaledFilterCloseButtonSize(f));
  EXPECT_EQ(Native()->ScaledFilterActivateButtonSize(f), Standard()->ScaledFilterActivateButtonSize(f));
  EXPECT_EQ(Native()->DrawGalleryItemSelectionFirst(), Standard()->DrawGalleryItemSelectionFirst());
  EXPECT_EQ(Native()->GetModernCalendarHeaderTextColor({}), Standard()->GetModernCalendarHeaderTextColor({}));
}

// ---------------------------------------------------------------------------
// Look-and-feels choose the painter

TEST_F(TLookAndFeelFixture, NativeStyleChoosesTheNativePainterWhereItsThemeExists) {
  if (!AreVisualStylesAvailable(TdxThemedObjectTypes{totButton})) GTEST_SKIP() << "no visual styles";
  TOwned<TcxLookAndFeel> lf(New<TcxLookAndFeel>(nullptr));
  lf->SetKind(lfFlat);
  lf->SetNativeStyle(true);
  EXPECT_EQ(lf->GetAvailablePainter(totButton), Native());
  // Wine has no explorer bar: the kind's painter draws it.
  EXPECT_EQ(lf->GetAvailablePainter(totExplorerBar), GetPaintersManager()->GetPainter(lfsFlat));
}

TEST(PaintersManager, StartsWithFivePaintersInNameOrderOneForEachStyleButSkins) {
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  std::vector<String> names;
  for (int i = 0; i < manager->Count(); ++i) names.push_back(manager->GetItem(i)->LookAndFeelName());
  EXPECT_EQ(names, (std::vector<String>{L"Flat", L"Native", L"Office11", L"Standard", L"UltraFlat"}));
  for (const TcxLookAndFeelStyle style : {lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11}) {
    ASSERT_NE(manager->GetPainter(style), nullptr) << style;
    EXPECT_EQ(manager->GetPainter(style)->LookAndFeelStyle(), style);
  }
  EXPECT_EQ(manager->GetPainter(lfsSkin), nullptr);
}

}  // namespace
