#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include "tests/support/Pixels.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// An item that notes what the menu asks of it and draws as every item does.
struct TDrawCall {
  String Caption;
  TRect Rect;
  UINT State;
};
std::vector<TDrawCall>* GDrawCalls = nullptr;
int GMeasureCalls = 0;

class TNotingMenuItem : public TMenuItem {
  SK_CLASS(TNotingMenuItem, TMenuItem)
 public:
  void MeasureItem(HDC ADC, int& AWidth, int& AHeight) override {
    ++GMeasureCalls;
    inherited::MeasureItem(ADC, AWidth, AHeight);
  }
  void DrawItem(HDC ADC, const TRect& ARect, UINT AState) override {
    if (GDrawCalls) GDrawCalls->push_back({Caption(), ARect, AState});
    inherited::DrawItem(ADC, ARect, AState);
  }
};

TMenuItem* AddItem(TMenuItem* AParent, const String& ACaption) {
  auto* item = New<TNotingMenuItem>(nullptr);
  item->SetCaption(ACaption);
  AParent->Add(item);
  return item;
}

LOGFONTW MenuLogFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return metrics.lfMenuFont;
}

int MenuTextHeight() {
  const LOGFONTW logFont = MenuLogFont();
  const TOwnedFont font(CreateFontIndirectW(&logFont));
  const TScreenDC screen;
  const TSelectObject selected(screen.Get(), font.Get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

int DifferentPixels(const TPixelSurface& A, const TPixelSurface& B, const TRect& R) {
  int count = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) count += A.Pixel(x, y) != B.Pixel(x, y);
  return count;
}

// What an item must look like, drawn with GDI alone: the menu colours, the
// caption in the menu font left in the text room (which starts 5 pixels
// after a column of the glyph and 3 pixels on each side of it, and ends 10
// pixels before the edge), the shortcut right in it, a check mark made
// from DrawFrameControl's glyph pixel by pixel.
struct TExpectedItem {
  String Caption;
  String ShortCut;
  bool Selected = false;
  bool Disabled = false;
  bool Bold = false;
  bool Checked = false;
  bool HidePrefix = false;
  int GlyphWidth = GetSystemMetrics(SM_CXMENUCHECK);
};

void DrawExpected(HDC ADC, const TRect& R, const TExpectedItem& AItem) {
  const COLORREF back = GetSysColor(AItem.Selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  const COLORREF ink =
      GetSysColor(AItem.Disabled ? COLOR_GRAYTEXT : AItem.Selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  const TOwnedBrush brush(CreateSolidBrush(back));
  RECT whole = R;
  FillRect(ADC, &whole, brush.Get());
  const int columnRight = R.Left + AItem.GlyphWidth + 6;
  if (AItem.Checked) {
    const int size = GetSystemMetrics(SM_CXMENUCHECK);
    TOwnedBitmap mono(CreateBitmap(size, size, 1, 1, nullptr));
    const TBitmapDC monoDC(mono.Get());
    RECT cell{0, 0, size, size};
    DrawFrameControl(monoDC.DC(), &cell, DFC_MENU, DFCS_MENUCHECK);
    const int left = R.Left + (columnRight - R.Left - size) / 2, top = R.Top + (R.Height() - size) / 2;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (GetPixel(monoDC.DC(), x, y) == RGB(0, 0, 0)) SetPixel(ADC, left + x, top + y, ink);
  }
  LOGFONTW logFont = MenuLogFont();
  if (AItem.Bold) logFont.lfWeight = FW_BOLD;
  const TOwnedFont font(CreateFontIndirectW(&logFont));
  const TSelectObject selected(ADC, font.Get());
  SetBkMode(ADC, TRANSPARENT);
  SetTextColor(ADC, ink);
  RECT text{columnRight + 5, R.Top, R.Right - 10, R.Bottom};
  const UINT flags = DT_SINGLELINE | DT_VCENTER | (AItem.HidePrefix ? DT_HIDEPREFIX : 0);
  DrawTextW(ADC, AItem.Caption.c_str(), -1, &text, flags);
  if (!AItem.ShortCut.empty()) DrawTextW(ADC, AItem.ShortCut.c_str(), -1, &text, flags | DT_RIGHT);
}

// Runs inside the menu loop: once the menu window shows, AAction looks at
// it, then the menu closes; a menu that never shows is closed after a while.
std::function<void(HWND)>* GOnMenuShown = nullptr;
int GTicks = 0;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (!GOnMenuShown) return;
  if (HWND window = ShownMenuWindow()) {
    auto action = *GOnMenuShown;
    GOnMenuShown = nullptr;
    action(window);
    EndMenu();
  } else if (++GTicks > 100) {
    GOnMenuShown = nullptr;
    EndMenu();
  }
}

// Shows AMenu for real and hands its open window to AAction; answers whether
// the window showed.
bool ShowMenu(TPopupMenu* AMenu, std::function<void(HWND)> AAction) {
  bool shown = false;
  std::function<void(HWND)> watch = [&](HWND AWindow) {
    shown = true;
    AAction(AWindow);
  };
  GOnMenuShown = &watch;
  GTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &WatchMenu);
  AMenu->Popup(200, 200);
  KillTimer(nullptr, timer);
  GOnMenuShown = nullptr;
  return shown;
}

class MenusOwnerDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GDrawCalls = &FDraws;
    GMeasureCalls = 0;
    FMenu.reset(New<TPopupMenu>(nullptr));
  }
  void TearDown() override {
    FMenu.reset();
    GDrawCalls = nullptr;
  }

  std::vector<TDrawCall> FDraws;
  TOwned<TPopupMenu> FMenu;
};

TEST_F(MenusOwnerDrawTest, AnOwnerDrawnMenuIsBuiltOfOwnerDrawnItemsIdentifiedByTheirCommands) {
  FMenu->SetOwnerDraw(true);
  TMenuItem* open = AddItem(FMenu->Items(), L"Open");
  TMenuItem* line = AddItem(FMenu->Items(), L"-");
  TMenuItem* more = AddItem(FMenu->Items(), L"More");
  AddItem(more, L"Inner");
  const TOwnedMenu built(CreatePopupMenu());
  FMenu->Items()->BuildMenu(built.Get(), false, FMenu->IsOwnerDraw());
  const TMenuItem* expected[] = {open, line, more};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(built.Get(), i, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.wID, expected[i]->Command());
    EXPECT_EQ(info.dwItemData, expected[i]->Command());
  }
  MENUITEMINFOW sub{};
  sub.cbSize = sizeof(sub);
  sub.fMask = MIIM_SUBMENU;
  GetMenuItemInfoW(built.Get(), 2, TRUE, &sub);
  ASSERT_NE(sub.hSubMenu, nullptr) << "the submenu stays with the item";
  MENUITEMINFOW inner{};
  inner.cbSize = sizeof(inner);
  inner.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(sub.hSubMenu, 0, TRUE, &inner);
  EXPECT_TRUE(inner.fType & MFT_OWNERDRAW);

  // Neither flag nor images: plain string items.
  const TOwned<TPopupMenu> plain(New<TPopupMenu>(nullptr));
  AddItem(plain->Items(), L"Open");
  const TOwnedMenu plainBuilt(CreatePopupMenu());
  plain->Items()->BuildMenu(plainBuilt.Get(), false, plain->IsOwnerDraw());
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(plainBuilt.Get(), 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
  // An image list alone makes the menu owner-drawn.
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  plain->SetImages(images.get());
  EXPECT_TRUE(plain->IsOwnerDraw());
}

// A real menu loop: the system measures and draws each item through the
// popup menus' window; the menu's own paint into a DIB gives the pixels,
// which equal the items drawn with GDI alone.
TEST_F(MenusOwnerDrawTest, AShownMenuMeasuresAndDrawsEachItemThroughItsItem) {
  FMenu->SetOwnerDraw(true);
  TMenuItem* open = AddItem(FMenu->Items(), L"&Open");
  open->SetShortCut(ShortCut('O', false, true, false));
  TMenuItem* checked = AddItem(FMenu->Items(), L"Checked");
  checked->SetChecked(true);
  AddItem(FMenu->Items(), L"-");
  TMenuItem* bold = AddItem(FMenu->Items(), L"Default");
  bold->SetDefault(true);
  TMenuItem* off = AddItem(FMenu->Items(), L"Disabled");
  off->SetEnabled(false);

  struct TShot {
    TRect Rect;
    int Height = 0;
  };
  std::vector<TShot> shots;
  std::unique_ptr<TPixelSurface> painted;
  const bool shown = ShowMenu(FMenu.get(), [&](HWND AWindow) {
    RECT client{};
    GetClientRect(AWindow, &client);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(AWindow, MN_GETHMENU, 0, 0));
    FDraws.clear();
    painted = std::make_unique<TPixelSurface>(client.right, client.bottom, RGB(1, 2, 3));
    SendMessageW(AWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted->DC()), PRF_CLIENT);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      RECT r{};
      GetMenuItemRect(nullptr, menu, i, &r);
      MapWindowPoints(nullptr, AWindow, reinterpret_cast<POINT*>(&r), 2);
      shots.push_back({TRect(r.left, r.top, r.right, r.bottom), r.bottom - r.top});
    }
  });
  ASSERT_TRUE(shown);
  EXPECT_GE(GMeasureCalls, 5) << "each item measured by its item";
  ASSERT_EQ(shots.size(), 5u);
  ASSERT_EQ(FDraws.size(), 5u) << "each item drawn by its item";

  const int itemHeight = std::max(MenuTextHeight(), GetSystemMetrics(SM_CYMENUCHECK)) + 2 * 3;
  const TExpectedItem expected[] = {
      {L"&Open", L"Ctrl+O"}, {L"Checked", L"", false, false, false, true}, {}, {L"Default", L"", false, false, true},
      {L"Disabled", L"", false, true}};
  for (std::size_t i = 0; i < shots.size(); ++i) {
    SCOPED_TRACE(i);
    const bool separator = i == 2;
    EXPECT_EQ(shots[i].Height, separator ? 8 : itemHeight);
    EXPECT_EQ(FDraws[i].Rect, shots[i].Rect) << "drawn where the system put it";
    if (!separator) {
      EXPECT_EQ((FDraws[i].State & (ODS_DISABLED | ODS_GRAYED)) != 0, i == 4);
    }
    TPixelSurface wanted(painted->Width(), painted->Height(), RGB(1, 2, 3));
    if (separator) {
      RECT whole = shots[i].Rect;
      FillRect(wanted.DC(), &whole, GetSysColorBrush(COLOR_MENU));
      RECT line = whole;
      line.top += (shots[i].Height - 2) / 2;
      DrawEdge(wanted.DC(), &line, EDGE_ETCHED, BF_TOP);
    } else {
      TExpectedItem item = expected[i];
      item.HidePrefix = (FDraws[i].State & ODS_NOACCEL) != 0;
      DrawExpected(wanted.DC(), shots[i].Rect, item);
    }
    EXPECT_EQ(DifferentPixels(*painted, wanted, shots[i].Rect), 0);
  }
}

// The item's own drawing by state, through the popup menus' window as the
// system sends it: colours, bold default, the check mark, a right-to-left
// menu's sides swapped.
TEST_F(MenusOwnerDrawTest, ThePopupWindowDrawsAnItemAsTheStateAsks) {
  FMenu->SetOwnerDraw(true);
  TMenuItem* item = AddItem(FMenu->Items(), L"Save");
  item->SetShortCut(ShortCut('S', false, true, false));
  struct Row {
    const char* Name;
    UINT State;
    bool Checked;
    TExpectedItem Expected;
  };
  const Row rows[] = {
      {"plain", 0, false, {L"Save", L"Ctrl+S"}},
      {"selected", ODS_SELECTED, false, {L"Save", L"Ctrl+S", true}},
      {"disabled", ODS_DISABLED, false, {L"Save", L"Ctrl+S", false, true}},
      {"selected and grayed", ODS_SELECTED | ODS_GRAYED, false, {L"Save", L"Ctrl+S", true, true}},
      {"default", ODS_DEFAULT, false, {L"Save", L"Ctrl+S", false, false, true}},
      {"checked", 0, true, {L"Save", L"Ctrl+S", false, false, false, true}},
  };
  ASSERT_NE(PopupListWindow(), nullptr);
  const TRect bounds(4, 2, 184, 26);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    item->SetChecked(row.Checked);
    TPixelSurface drawn(190, 30, RGB(1, 2, 3));
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = item->Command();
    draw.itemState = row.State;
    draw.hDC = drawn.DC();
    draw.rcItem = bounds;
    EXPECT_EQ(SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 1);
    TPixelSurface wanted(190, 30, RGB(1, 2, 3));
    DrawExpected(wanted.DC(), bounds, row.Expected);
    EXPECT_EQ(DifferentPixels(drawn, wanted, drawn.ClientRect()), 0);
  }

  // Right to left: the mirror image of the layout, the texts in their
  // reading order, so each is compared with its own DrawText.
  FMenu->SetBiDiMode(bdRightToLeft);
  item->SetChecked(false);
  TPixelSurface drawn(190, 30, RGB(1, 2, 3));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = item->Command();
  draw.hDC = drawn.DC();
  draw.rcItem = bounds;
  SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  TPixelSurface wanted(190, 30, RGB(1, 2, 3));
  {
    RECT whole = bounds;
    FillRect(wanted.DC(), &whole, GetSysColorBrush(COLOR_MENU));
    const LOGFONTW logFont = MenuLogFont();
    const TOwnedFont font(CreateFontIndirectW(&logFont));
    const TSelectObject selected(wanted.DC(), font.Get());
    SetBkMode(wanted.DC(), TRANSPARENT);
    SetTextColor(wanted.DC(), GetSysColor(COLOR_MENUTEXT));
    RECT text{bounds.Left + 10, bounds.Top, bounds.Right - GetSystemMetrics(SM_CXMENUCHECK) - 6 - 5, bounds.Bottom};
    DrawTextW(wanted.DC(), L"Save", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_RTLREADING);
    DrawTextW(wanted.DC(), L"Ctrl+S", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_RTLREADING);
  }
  EXPECT_EQ(DifferentPixels(drawn, wanted, drawn.ClientRect()), 0);

  // A message for no item of any popup menu goes on to the default.
  draw.itemID = 0x7FFF;
  EXPECT_EQ(SendMessageW(PopupListWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 0);
}

// Images: the image list's glyph in the middle of a column as wide as the
// list's images plus 3 pixels each side; a checked one pressed in.
TEST_F(MenusOwnerDrawTest, AnItemDrawsItsImageListGlyphInTheImageColumn) {
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(20, 18);
  {
    const TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(20, 18);
    glyph->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(200, 30, 40)));
    glyph->Canvas()->FillRect(TRect(0, 0, 20, 18));
    images->Add(glyph.get(), nullptr);
  }
  FMenu->SetImages(images.get());
  TMenuItem* item = AddItem(FMenu->Items(), L"Print");
  item->SetImageIndex(0);
  const TRect bounds(0, 0, 160, 30);
  for (const bool checked : {false, true}) {
    SCOPED_TRACE(checked ? "checked" : "unchecked");
    item->SetChecked(checked);
    TPixelSurface drawn(160, 30, RGB(1, 2, 3));
    item->DrawItem(drawn.DC(), bounds, 0);
    TPixelSurface wanted(160, 30, RGB(1, 2, 3));
    DrawExpected(wanted.DC(), bounds, {L"Print", L"", false, false, false, false, false, 20});
    ImageList_Draw(images->Handle(), 0, wanted.DC(), (26 - 20) / 2, (30 - 18) / 2, ILD_NORMAL);
    if (checked) {
      RECT column{0, 0, 26, 30};
      DrawEdge(wanted.DC(), &column, BDR_SUNKENOUTER, BF_RECT);
    }
    EXPECT_EQ(DifferentPixels(drawn, wanted, drawn.ClientRect()), 0);
  }
  // The column follows the list's height too.
  int width = 0, height = 0;
  const TScreenDC screen;
  item->MeasureItem(screen.Get(), width, height);
  EXPECT_EQ(height, std::max(MenuTextHeight(), 18) + 6);
}

}  // namespace
