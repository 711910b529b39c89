#include "library/controls/windows/dxPopupMenus.h"

#include "library/controls/windows/dxForms.h"
#include "library/core/system/dxHooks.h"
#include "library/core/system/dxThemeManager.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// A second CBT handler, registered after the menus' own so that it runs
// first: it puts a counting procedure under every menu window, which the
// menus then take as the window's previous procedure.

std::map<HWND, WNDPROC>* GSpyOriginals = nullptr;
std::vector<UINT>* GSpyMessages = nullptr;

LRESULT CALLBACK SpyWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (GSpyMessages) GSpyMessages->push_back(AMsg);
  return CallWindowProcW(GSpyOriginals->at(AWnd), AWnd, AMsg, AWParam, ALParam);
}

bool IsMenuClass(HWND AWnd) {
  wchar_t name[16] = {};
  GetClassNameW(AWnd, name, 16);
  return String(name) == L"#32768";
}

void SpyCbtHook(int ACode, WPARAM AWParam, LPARAM, LRESULT&) {
  const auto wnd = reinterpret_cast<HWND>(AWParam);
  if (ACode == HCBT_CREATEWND && GSpyOriginals && IsMenuClass(wnd))
    (*GSpyOriginals)[wnd] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyWndProc)));
}

HWND FindMenuWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        if (IsMenuClass(AWnd) && IsWindowVisible(AWnd)) *reinterpret_cast<HWND*>(AParam) = AWnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Windows11() { return true; }
bool Windows10() { return false; }

// The skin elements the test painter offers (none when null).
TdxPopupMenuSkinElements* GTestSkinElements = nullptr;

// A painter filed as a skin, so that the root look-and-feel has a skin
// painter to offer.
class TMenuTestSkinPainter : public TNoRefCount<TcxUltraFlatLookAndFeelPainter>, public IdxPopupMenuSkinPainter {
  SK_CLASS(TMenuTestSkinPainter, TcxUltraFlatLookAndFeelPainter)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    if (GTestSkinElements && AnswerInterfaces<IdxPopupMenuSkinPainter>(this, AIID, AObj)) return true;
    return inherited::GetInterface(AIID, AObj);
  }
  String LookAndFeelName() override { return L"MenuTestSkin"; }
  TcxLookAndFeelStyle LookAndFeelStyle() override { return lfsSkin; }
  TdxPopupMenuSkinElements PopupMenuSkinElements() override { return *GTestSkinElements; }
};

// A skin of plain colours: every element a distinct colour.
constexpr COLORREF PopupColor = RGB(200, 220, 240);
constexpr COLORREF PopupTextColor = RGB(10, 20, 30);
constexpr COLORREF PopupHotTextColor = RGB(120, 0, 60);
constexpr COLORREF GutterColor = RGB(170, 190, 150);
constexpr COLORREF SelectionColor = RGB(250, 200, 100);
constexpr COLORREF SeparatorColor = RGB(90, 60, 30);
constexpr COLORREF DisabledColor = RGB(140, 150, 160);

class TTestMenuSkin {
 public:
  TTestMenuSkin() : FSkin(New<TdxSkin>(nullptr, L"Menus")) {
    TdxSkinControlGroup* bars = FSkin->AddGroup(L"Bars");
    FElements.PopupMenu = bars->AddElement(L"PopupMenu");
    FElements.PopupMenu->SetColor(static_cast<TColor>(PopupColor));
    FElements.PopupMenu->SetTextColor(static_cast<TColor>(PopupTextColor));
    FElements.PopupMenu->AddPropertyColor(L"TextColorHot", static_cast<TColor>(PopupHotTextColor));
    FElements.Gutter = bars->AddElement(L"PopupMenuSideStrip");
    FElements.Gutter->SetColor(static_cast<TColor>(GutterColor));
    FElements.Selection = bars->AddElement(L"PopupMenuLinkSelected");
    FElements.Selection->SetColor(static_cast<TColor>(SelectionColor));
    FElements.Separator = bars->AddElement(L"PopupMenuSeparator");
    FElements.Separator->SetColor(static_cast<TColor>(SeparatorColor));
    FElements.Separator->SetMinSize(TSize(0, 2));
    FElements.DisabledTextColor = static_cast<TColor>(DisabledColor);
    GTestSkinElements = &FElements;
  }
  ~TTestMenuSkin() { GTestSkinElements = nullptr; }
  TTestMenuSkin(const TTestMenuSkin&) = delete;
  TTestMenuSkin& operator=(const TTestMenuSkin&) = delete;

 private:
  TOwned<TdxSkin> FSkin;
  TdxPopupMenuSkinElements FElements;
};

class dxPopupMenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldProbe = dxSetWindows11Probe(&Windows10);
    ApplyMenuSwitches();
    GSpyOriginals = &FOriginals;
    GSpyMessages = &FMessages;
  }
  void TearDown() override {
    ReleaseSystemHook(&SpyCbtHook);
    GSpyOriginals = nullptr;
    GSpyMessages = nullptr;
    if (FSkinned) {
      GetRootLookAndFeel()->Reset();
      GetPaintersManager()->Unregister(L"MenuTestSkin");
    }
    dxSetWindows11Probe(FOldProbe);
    dxSetSkinnedPopupMenus(true);
    dxSetWin11MenuMode(0);
  }

  // The spy goes in after the menus' hook, so it runs first.
  void InstallSpy() { SetSystemHook(htCBT, &SpyCbtHook); }

  void UseTestSkin() {
    ASSERT_TRUE(GetPaintersManager()->Register(TOwned<TcxCustomLookAndFeelPainter>(New<TMenuTestSkinPainter>())));
    FSkinned = true;
    GetRootLookAndFeel()->SetNativeStyle(false);
    GetRootLookAndFeel()->SetSkinName(L"MenuTestSkin");
  }

  int Seen(UINT AMsg) const { return static_cast<int>(std::count(FMessages.begin(), FMessages.end(), AMsg)); }

  std::map<HWND, WNDPROC> FOriginals;
  std::vector<UINT> FMessages;
  TdxWindows11Probe FOldProbe = nullptr;
  bool FSkinned = false;
};

TOwnedMenu NewNativeMenu() {
  TOwnedMenu menu(CreatePopupMenu());
  AppendMenuW(menu.Get(), MF_STRING, 1, L"Open\tCtrl+O");
  AppendMenuW(menu.Get(), MF_STRING | MF_CHECKED, 2, L"Checked");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 10, L"Inner");
  AppendMenuW(menu.Get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
  return menu;
}

HBRUSH MenuBackground(HMENU AMenu) {
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  GetMenuInfo(AMenu, &info);
  return info.hbrBack;
}

// The script that drives the open menu; a script that timed out closes it,
// so that a failing test does not hang in the menu loop.
const TLoopScript* GScript = nullptr;

void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR, DWORD) {
  if (GScript && GScript->TimedOut()) EndMenu();
}

UINT Track(HMENU AMenu, HWND AOwner, const TLoopScript& AScript) {
  GScript = &AScript;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseStuckMenu);
  const auto result =
      static_cast<UINT>(TrackPopupMenu(AMenu, TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, 0, AOwner, nullptr));
  KillTimer(nullptr, timer);
  GScript = nullptr;
  return result;
}

// ---------------------------------------------------------------------------
// Switches and subclassing

TEST_F(dxPopupMenusTest, WithTheDefaultWindows10SettingsTheHookIsSetButNoMenuWindowIsSubclassed) {
  EXPECT_TRUE(IsMenuHookInstalled()) << "the skinned switch is on with visual styles";
  EXPECT_FALSE(Win11MenusSwitch());
  EXPECT_FALSE(UsesSkinnedMenus()) << "no skin painter";
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  const TOwnedMenu menu = NewNativeMenu();
  HWND window = nullptr;
  WNDPROC proc = nullptr, classProc = nullptr;
  TLoopScript script;
  script.Then([&] { return (window = FindMenuWindow()) != nullptr; },
              [&] {
                proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
                classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
                EXPECT_EQ(SubclassedMenuWindowCount(), 0);
                EndMenu();
              });
  Track(menu.Get(), form->Handle(), script);
  ASSERT_FALSE(script.TimedOut());
  EXPECT_NE(proc, nullptr);
  EXPECT_EQ(proc, classProc) << "the system's own procedure";
}

TEST_F(dxPopupMenusTest, OnWindows11WithoutASkinMenusPassThroughAndOnlyTheFrameMessageIsSwallowed) {
  dxSetWindows11Probe(&Windows11);
  ApplyMenuSwitches();
  ASSERT_TRUE(UsesWin11MenuHandling());
  InstallSpy();
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  const TOwnedMenu menu = NewNativeMenu();
  HWND window = nullptr;
  LRESULT frameAnswer = -1;
  int framesSeen = -1, sizesSeen = -1, createsSeen = -1;
  bool subclassed = false;
  TLoopScript script;
  script.Then([&] { return (window = FindMenuWindow()) != nullptr; },
              [&] {
                subclassed = IsMenuWindowSubclassed(window) &&
                             GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&MenuWindowProc);
                createsSeen = Seen(WM_CREATE);
                frameAnswer = SendMessageW(window, dxWM_MENUPAINTFRAME, 0, 0);
                framesSeen = Seen(dxWM_MENUPAINTFRAME);
                SendMessageW(window, dxMN_SIZEWINDOW, 0, 0);
                sizesSeen = Seen(dxMN_SIZEWINDOW);
                EndMenu();
              });
  Track(menu.Get(), form->Handle(), script);
  ASSERT_FALSE(script.TimedOut());
  EXPECT_TRUE(subclassed);
  EXPECT_EQ(createsSeen, 1) << "WM_CREATE went on to the window's procedure";
  EXPECT_EQ(frameAnswer, 0);
  EXPECT_EQ(framesSeen, 0) << "$95 never reaches the window's procedure";
  EXPECT_EQ(sizesSeen, 1) << "everything else passes through";
  EXPECT_EQ(SubclassedMenuWindowCount(), 0) << "the destroyed window left the list";
}

TEST_F(dxPopupMenusTest, TheWindows11SwitchFollowsTheSystemAndTheMenuMode) {
  struct Row {
    const char* Name;
    TdxWindows11Probe Probe;
    int Mode;
    bool Expected;
  };
  const Row rows[] = {
      {"Windows 10", &Windows10, 0, false},
      {"Windows 11", &Windows11, 0, true},
      {"Windows 11, mode 1", &Windows11, 1, false},
      {"Windows 11, mode 2", &Windows11, 2, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    dxSetWindows11Probe(row.Probe);
    dxSetWin11MenuMode(row.Mode);
    EXPECT_EQ(Win11MenusSwitch(), row.Expected);
    EXPECT_EQ(UsesWin11MenuHandling(), row.Expected);
  }
  dxSetSkinnedPopupMenus(false);
  dxSetWin11MenuMode(1);
  EXPECT_FALSE(IsMenuHookInstalled()) << "both switches off";
  dxSetWin11MenuMode(0);
  EXPECT_TRUE(IsMenuHookInstalled()) << "one switch on";
}

// A class-library menu with a skin painter: sized once, its background
// brush changed after the sizing; the switch turned off while it is open
// gives the window its procedure and the menu its brush back, and the menu
// still paints and closes.
TEST_F(dxPopupMenusTest, TurningTheSwitchOffWhileAMenuIsOpenRestoresItsProcedureAndBrush) {
  UseTestSkin();
  ASSERT_TRUE(UsesSkinnedMenus());
  InstallSpy();
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  const TOwnedMenu menu = NewNativeMenu();
  const auto background = [&] { return MenuBackground(menu.Get()); };
  const HBRUSH original = background();
  HWND window = nullptr;
  LRESULT eraseAnswer = 0;
  int erasesSeen = -1, paintsBefore = 0, paintsAfter = 0;
  WNDPROC restored = nullptr;
  HBRUSH restoredBrush = nullptr;
  TLoopScript script;
  script.Then([&] { return (window = FindMenuWindow()) != nullptr; },
              [&] {
                EXPECT_TRUE(IsMenuWindowSubclassed(window));
                const int before = Seen(WM_ERASEBKGND);
                TScreenDC screen;
                eraseAnswer = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(screen.Get()), 0);
                erasesSeen = Seen(WM_ERASEBKGND) - before;
                SendMessageW(window, dxMN_SIZEWINDOW, 0, 0);
              });
  script.Then(
      [&] {
        CheckSynchronize();
        return background() == MenuBackgroundBrush();
      },
      [&] {
        dxSetSkinnedPopupMenus(false);
        restored = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
        restoredBrush = background();
        paintsBefore = Seen(WM_PAINT);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        paintsAfter = Seen(WM_PAINT);
        EndMenu();
      });
  Track(menu.Get(), form->Handle(), script);
  ASSERT_FALSE(script.TimedOut()) << "step " << script.FailedStep();
  EXPECT_EQ(eraseAnswer, 1);
  EXPECT_EQ(erasesSeen, 0) << "the background erase is answered without the system";
  EXPECT_FALSE(IsMenuHookInstalled());
  EXPECT_EQ(restored, &SpyWndProc) << "the procedure it had before";
  EXPECT_EQ(restoredBrush, original);
  EXPECT_GT(paintsAfter, paintsBefore) << "the open menu still paints";
  EXPECT_TRUE(script.Finished()) << "and closes";
}

TEST_F(dxPopupMenusTest, AMenuOfAnotherOwnerIsLeftToTheSystemAfterItsSizing) {
  UseTestSkin();
  InstallSpy();
  // An owner that is no class-library window.
  const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  const TOwnedMenu menu = NewNativeMenu();
  HWND window = nullptr;
  int erasesSeen = -1;
  HBRUSH brush = reinterpret_cast<HBRUSH>(1);
  TLoopScript script;
  script.Then([&] { return (window = FindMenuWindow()) != nullptr; },
              [&] {
                SendMessageW(window, dxMN_SIZEWINDOW, 0, 0);
                CheckSynchronize();
                const int before = Seen(WM_ERASEBKGND);
                TScreenDC screen;
                SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(screen.Get()), 0);
                erasesSeen = Seen(WM_ERASEBKGND) - before;
                brush = MenuBackground(menu.Get());
                EndMenu();
              });
  Track(menu.Get(), owner, script);
  DestroyWindow(owner);
  ASSERT_FALSE(script.TimedOut());
  EXPECT_EQ(erasesSeen, 1) << "passes through from the sizing on";
  EXPECT_EQ(brush, nullptr) << "the brush stays";
}

// ---------------------------------------------------------------------------
// Skinned drawing

DRAWITEMSTRUCT DrawItemOf(HMENU AMenu, UINT ACommand) {
  DRAWITEMSTRUCT result{};
  result.CtlType = ODT_MENU;
  result.itemID = ACommand;
  result.hwndItem = reinterpret_cast<HWND>(AMenu);
  return result;
}

int BlackPixelsOfGlyph(int ASize, UINT AGlyph) {
  TOwnedBitmap mono(CreateBitmap(ASize, ASize, 1, 1, nullptr));
  const TBitmapDC monoDC(mono.Get());
  RECT cell{0, 0, ASize, ASize};
  DrawFrameControl(monoDC.DC(), &cell, DFC_MENU, AGlyph);
  int count = 0;
  for (int y = 0; y < ASize; ++y)
    for (int x = 0; x < ASize; ++x) count += GetPixel(monoDC.DC(), x, y) == RGB(0, 0, 0);
  return count;
}

// Items drawn through the menu window's item message, the frame through
// WM_PRINT, with a skin built here: each part in its element's colour.
TEST_F(dxPopupMenusTest, ASkinDrawsTheItemsAndTheFrameOfAnOpenMenu) {
  const TTestMenuSkin skin;
  UseTestSkin();
  ASSERT_TRUE(UsesSkinnedMenus());
  LOGBRUSH brush{};
  GetObjectW(MenuBackgroundBrush(), sizeof(brush), &brush);
  EXPECT_EQ(brush.lbColor, PopupColor) << "menus take the popup element's colour";

  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  const TOwnedMenu menu = NewNativeMenu();
  const TRect bounds(0, 0, 160, 24);
  struct Row {
    const char* Name;
    UINT Command;
    UINT State;
  };
  const Row rows[] = {{"plain", 1, 0},
                      {"checked", 2, 0},
                      {"selected", 1, ODS_SELECTED},
                      {"disabled", 1, ODS_DISABLED},
                      {"separator", 0, 0}};
  std::vector<TPixelSurface> items;
  HWND window = nullptr;
  TLoopScript script;
  script.Then([&] { return (window = FindMenuWindow()) != nullptr; },
              [&] {
                for (const Row& row : rows) {
                  items.emplace_back(bounds.Width(), bounds.Height(), RGB(1, 2, 3));
                  DRAWITEMSTRUCT draw = DrawItemOf(menu.Get(), row.Command);
                  draw.itemState = row.State;
                  draw.hDC = items.back().DC();
                  draw.rcItem = bounds;
                  SendMessageW(window, dxWM_MENUDRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
                }
                EndMenu();
              });
  Track(menu.Get(), form->Handle(), script);
  ASSERT_FALSE(script.TimedOut());
  ASSERT_EQ(items.size(), std::size(rows));

  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(rows[i].Name);
    const TPixelSurface& item = items[i];
    TdxPopupMenuItemInfo layout(window, DrawItemOf(menu.Get(), rows[i].Command), menu.Get());
    layout.CalculateLayout(item.DC(), bounds, rows[i].State);
    const TRect gutter = layout.GutterBounds();
    if (rows[i].Command == 0) {
      // The separator: the line in its element's colour, the rest filled.
      const TRect line = layout.SeparatorBounds();
      EXPECT_EQ(item.Pixel(line.Left + 4, line.Top + line.Height() / 2), SeparatorColor);
      EXPECT_EQ(item.Pixel(line.Left + 4, line.Top), PopupColor);
      continue;
    }
    EXPECT_EQ(item.Count(RGB(1, 2, 3)), 0) << "the whole item is painted";
    if (!gutter.IsEmpty() && !(rows[i].State & ODS_SELECTED)) {
      EXPECT_EQ(item.Pixel(gutter.Left, gutter.Top), GutterColor);
    }
    const COLORREF fill = rows[i].State & ODS_SELECTED ? SelectionColor : PopupColor;
    EXPECT_EQ(item.Pixel(bounds.Right - 2, bounds.Bottom - 2), fill);
    const COLORREF ink = rows[i].State & ODS_DISABLED   ? DisabledColor
                         : rows[i].State & ODS_SELECTED ? PopupHotTextColor
                                                        : PopupTextColor;
    const TRect caption = layout.TextAreaBounds();
    EXPECT_GT(item.Count(caption, ink), 0) << "the caption in the text colour";
    for (const COLORREF other : {DisabledColor, PopupHotTextColor, PopupTextColor})
      if (other != ink) {
        EXPECT_EQ(item.Count(other), 0);
      }
    if (layout.Checked()) {
      const TRect column = gutter.IsEmpty() ? layout.ImageBackgroundBounds() : gutter;
      EXPECT_EQ(item.Count(column, ink), BlackPixelsOfGlyph(layout.GlyphSize(), DFCS_MENUCHECK))
          << "the system check mark in the text colour";
    }
  }
}

// A class-library menu with images, shown for real: once it is sized, the
// popup menus' window draws its items with the skin (the platform's own
// look would fill them in the system menu colour), the checked image on the
// selection element; closing gives that window its procedure back.
TEST_F(dxPopupMenusTest, ASkinDrawsTheItemsOfAClassLibraryMenuThroughThePopupWindow) {
  const TTestMenuSkin skin;
  UseTestSkin();
  ASSERT_TRUE(UsesSkinnedMenus());
  constexpr COLORREF ImageColor = RGB(30, 160, 70);
  constexpr COLORREF BitmapColor = RGB(60, 60, 200);
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(16, 16);
  {
    const TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(16, 16);
    glyph->Canvas()->Brush()->SetColor(static_cast<TColor>(ImageColor));
    glyph->Canvas()->FillRect(TRect(0, 0, 16, 16));
    images->Add(glyph.get(), nullptr);
  }
  const TOwned<TPopupMenu> popup(New<TPopupMenu>(nullptr));
  popup->SetImages(images.get());
  const auto add = [&](const String& ACaption) {
    auto* item = New<TMenuItem>(nullptr);
    item->SetCaption(ACaption);
    popup->Items()->Add(item);
    return item;
  };
  add(L"Plain");
  TMenuItem* imaged = add(L"Imaged");
  imaged->SetImageIndex(0);
  imaged->SetChecked(true);
  TMenuItem* bitmap = add(L"Bitmap");
  bitmap->Bitmap()->SetSize(10, 10);
  bitmap->Bitmap()->Canvas()->Brush()->SetColor(static_cast<TColor>(BitmapColor));
  bitmap->Bitmap()->Canvas()->FillRect(TRect(0, 0, 10, 10));

  const HWND popupWindow = PopupListWindow();
  ASSERT_NE(popupWindow, nullptr);
  const LONG_PTR ownProc = GetWindowLongPtrW(popupWindow, GWLP_WNDPROC);
  bool subclassed = false;
  std::unique_ptr<TPixelSurface> painted;
  std::vector<TRect> rects;
  TLoopScript script;
  script.Then([&] { return FindMenuWindow() != nullptr; },
              [&] {
                const HWND window = FindMenuWindow();
                SendMessageW(window, dxMN_SIZEWINDOW, 0, 0);
                subclassed = IsPopupListWindowSubclassed();
                RECT client{};
                GetClientRect(window, &client);
                painted = std::make_unique<TPixelSurface>(client.right, client.bottom, RGB(1, 2, 3));
                SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted->DC()), PRF_CLIENT);
                const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                  RECT r{};
                  GetMenuItemRect(nullptr, menu, i, &r);
                  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
                  rects.emplace_back(r.left, r.top, r.right, r.bottom);
                }
                EndMenu();
              });
  {
    // Built and shown as Popup does, without making the hidden owner the
    // foreground window.
    const TOwnedMenu built(CreatePopupMenu());
    popup->Items()->BuildMenu(built.Get(), false, popup->IsOwnerDraw());
    Track(built.Get(), popupWindow, script);
  }
  ASSERT_FALSE(script.TimedOut());
  EXPECT_TRUE(subclassed);
  EXPECT_FALSE(IsPopupListWindowSubclassed()) << "the last menu window is gone";
  EXPECT_EQ(GetWindowLongPtrW(popupWindow, GWLP_WNDPROC), ownProc);
  ASSERT_EQ(rects.size(), 3u);
  for (const TRect& r : rects) {
    EXPECT_EQ(painted->Pixel(r.Right - 2, r.Bottom - 2), PopupColor) << "the skin's fill";
    EXPECT_GT(painted->Count(r, PopupTextColor), 0) << "the caption in the skin's text colour";
  }
  EXPECT_EQ(painted->Count(rects[0], ImageColor) + painted->Count(rects[0], BitmapColor), 0);
  EXPECT_EQ(painted->Count(rects[1], ImageColor), 16 * 16) << "the whole glyph";
  EXPECT_GT(painted->Count(rects[1], SelectionColor), 0) << "the checked glyph's square";
  const TRect glyph = painted->BoundsOf(ImageColor);
  const TRect square = painted->BoundsOf(SelectionColor);
  EXPECT_TRUE(square.Left < glyph.Left && square.Right > glyph.Right && square.Top < glyph.Top &&
              square.Bottom > glyph.Bottom)
      << "the square around the glyph";
  EXPECT_EQ(square.Width(), square.Height());
  EXPECT_GT(painted->Count(rects[2], BitmapColor), 10 * 10 - 1) << "the bitmap, stretched to its cell";
}

// Wine's menu windows are all client area; a menu-class window with a frame
// of its own shows where the skin's frame goes: around the client, never
// over it.
TEST_F(dxPopupMenusTest, ASkinDrawsTheFrameAroundTheClientAreaOfAMenuWindow) {
  const TTestMenuSkin skin;
  UseTestSkin();
  const HWND window = CreateWindowExW(0, L"#32768", L"", WS_POPUP | WS_DLGFRAME, 50, 50, 120, 80, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsMenuWindowSubclassed(window));
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -50, -50);
  ASSERT_GT(client.left, 0) << "a frame to paint";
  TPixelSurface surface(120, 80, RGB(1, 2, 3));
  SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(surface.DC()), PRF_NONCLIENT);
  DestroyWindow(window);
  const int frame = 120 * 80 - (client.right - client.left) * (client.bottom - client.top);
  EXPECT_EQ(surface.Count(PopupColor), frame) << surface.Picture(RGB(1, 2, 3));
  EXPECT_EQ(surface.Count(client, PopupColor), 0);
  EXPECT_EQ(SubclassedMenuWindowCount(), 0);
}

// ---------------------------------------------------------------------------
// Items

TEST(dxPopupMenuItemInfo, ANativeItemsTextIsSplitAtTheFirstTab) {
  struct Row {
    const char* Name;
    const wchar_t* Text;
    const wchar_t* Caption;
    const wchar_t* ShortCut;
  };
  const Row rows[] = {
      {"caption and shortcut", L"Open\tCtrl+O", L"Open", L"Ctrl+O"},
      {"no tab", L"Close", L"Close", L""},
      {"two tabs", L"a\tb\tc", L"a", L"b\tc"},
      {"leading tab", L"\tF5", L"", L"F5"},
      {"long text", L"A rather long caption that needs the second call\tShift+Ctrl+F12",
       L"A rather long caption that needs the second call", L"Shift+Ctrl+F12"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwnedMenu menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, 7, row.Text);
    const TdxPopupMenuItemInfo item(nullptr, DrawItemOf(menu.Get(), 7), menu.Get());
    EXPECT_EQ(item.Caption(), row.Caption);
    EXPECT_EQ(item.ShortCutText(), row.ShortCut);
    EXPECT_EQ(item.ImageKind(), TdxMenuImageKind::HBitmap);
  }
}

TEST(dxPopupMenuItemInfo, TheItemKindComesFromTheMenu) {
  const TOwnedMenu menu = NewNativeMenu();
  AppendMenuW(menu.Get(), MF_STRING | MF_CHECKED, 3, L"Radio");
  MENUITEMINFOW radio{};
  radio.cbSize = sizeof(radio);
  radio.fMask = MIIM_FTYPE;
  radio.fType = MFT_RADIOCHECK;
  SetMenuItemInfoW(menu.Get(), 3, FALSE, &radio);
  const HMENU sub = GetSubMenu(menu.Get(), 3);
  const TdxPopupMenuItemInfo open(nullptr, DrawItemOf(menu.Get(), 1), menu.Get());
  const TdxPopupMenuItemInfo checked(nullptr, DrawItemOf(menu.Get(), 2), menu.Get());
  const TdxPopupMenuItemInfo more(nullptr, DrawItemOf(menu.Get(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub))),
                                  menu.Get());
  const TdxPopupMenuItemInfo bullet(nullptr, DrawItemOf(menu.Get(), 3), menu.Get());
  EXPECT_FALSE(open.Checked());
  EXPECT_FALSE(open.HasSubmenu());
  EXPECT_TRUE(checked.Checked());
  EXPECT_FALSE(checked.RadioItem());
  EXPECT_TRUE(more.HasSubmenu());
  EXPECT_EQ(more.Caption(), L"More");
  EXPECT_TRUE(bullet.RadioItem());
  EXPECT_TRUE(bullet.Checked());
}

// The caption's width in the system's menu font.
int CaptionWidth(const wchar_t* AText, bool ABold = false) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  if (ABold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  const TOwnedFont font(CreateFontIndirectW(&metrics.lfMenuFont));
  const TScreenDC screen;
  const TSelectObject selected(screen.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), AText, static_cast<int>(wcslen(AText)), &size);
  return size.cx;
}

bool Inside(const TRect& AInner, const TRect& AOuter) {
  return AInner.IsEmpty() || (AInner.Left >= AOuter.Left && AInner.Top >= AOuter.Top &&
                              AInner.Right <= AOuter.Right && AInner.Bottom <= AOuter.Bottom);
}

// The rectangles the system gives the items of a real menu hold every part
// of the plain and of the themed layout, and the parts keep their order.
// A class-library item: separator by its caption, no shortcut text beside a
// submenu, the image kind by what the item has, the alignment mirrored
// right to left.
TEST(dxPopupMenuItemInfo, AClassLibraryItemIsReadFromTheItemAndItsMenu) {
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(16, 16);
  {
    const TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(16, 16);
    images->Add(glyph.get(), nullptr);
  }
  const TOwned<TPopupMenu> popup(New<TPopupMenu>(nullptr));
  const auto add = [&](const String& ACaption) {
    auto* item = New<TMenuItem>(nullptr);
    item->SetCaption(ACaption);
    item->SetShortCut(ShortCut('S', false, true, false));
    popup->Items()->Add(item);
    return item;
  };
  TMenuItem* line = add(L"-");
  TMenuItem* parent = add(L"Parent");
  parent->Add(New<TMenuItem>(nullptr));
  TMenuItem* imaged = add(L"Imaged");
  imaged->SetImageIndex(0);
  TMenuItem* beyond = add(L"Beyond");
  beyond->SetImageIndex(1);
  beyond->Bitmap()->SetSize(8, 8);
  TMenuItem* checked = add(L"Checked");
  checked->SetChecked(true);
  TMenuItem* plain = add(L"Plain");
  struct Row {
    const char* Name;
    TMenuItem* Item;
    bool Separator;
    const wchar_t* ShortCut;
    TdxMenuImageKind Kind;
  };
  const Row rows[] = {
      {"separator", line, true, L"Ctrl+S", TdxMenuImageKind::None},
      {"submenu", parent, false, L"", TdxMenuImageKind::None},
      {"image in the list", imaged, false, L"Ctrl+S", TdxMenuImageKind::ImageList},
      {"image past the list, a bitmap", beyond, false, L"Ctrl+S", TdxMenuImageKind::Bitmap},
      {"checked", checked, false, L"Ctrl+S", TdxMenuImageKind::CheckMark},
      {"plain", plain, false, L"Ctrl+S", TdxMenuImageKind::None},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const TdxPopupMenuItemInfo info(row.Item, images.get());
    EXPECT_EQ(info.IsSeparator(), row.Separator);
    EXPECT_EQ(info.ShortCutText(), row.ShortCut);
    EXPECT_EQ(info.ImageKind(), row.Kind);
    EXPECT_EQ(info.ImageList(), images.get());
  }
  const TScreenDC screen;
  {
    // Plain layout: no image and no images, no column; with images a column
    // as high as the images and 3 pixels each side (the item is higher).
    TdxPopupMenuItemInfo withoutList(imaged, nullptr);
    EXPECT_EQ(withoutList.ImageKind(), TdxMenuImageKind::None) << "the menu has no images";
    withoutList.SetTheme(nullptr);
    withoutList.CalculateLayout(screen.Get(), TRect(0, 0, 120, 30), 0);
    EXPECT_TRUE(withoutList.ImageBackgroundBounds().IsEmpty());
    TdxPopupMenuItemInfo withList(imaged, images.get());
    withList.SetTheme(nullptr);
    withList.CalculateLayout(screen.Get(), TRect(0, 0, 120, 30), 0);
    EXPECT_EQ(withList.ImageBackgroundBounds().Width(), MulDiv(6, withList.PPI(), 96) + 16);
    EXPECT_EQ(withList.ImageBounds().Width(), 16);
  }
  const struct {
    TPopupAlignment Alignment;
    TBiDiMode BiDi;
    UINT Flag;
  } alignments[] = {{paLeft, bdLeftToRight, DT_LEFT},   {paRight, bdLeftToRight, DT_RIGHT},
                    {paCenter, bdLeftToRight, DT_CENTER}, {paLeft, bdRightToLeft, DT_RIGHT},
                    {paRight, bdRightToLeft, DT_LEFT},  {paCenter, bdRightToLeft, DT_CENTER}};
  for (const auto& row : alignments) {
    SCOPED_TRACE(testing::Message() << row.Alignment << " " << row.BiDi);
    popup->SetAlignment(row.Alignment);
    popup->SetBiDiMode(row.BiDi);
    TdxPopupMenuItemInfo info(plain, nullptr);
    info.CalculateLayout(screen.Get(), TRect(0, 0, 120, 22), 0);
    EXPECT_EQ(info.TextFlags() & (DT_LEFT | DT_RIGHT | DT_CENTER), row.Flag);
    EXPECT_EQ((info.TextFlags() & DT_RTLREADING) != 0, row.BiDi == bdRightToLeft);
  }
}

// With per-monitor DPI an item takes its owner's monitor's DPI (the screen's
// here, set to 144); before, the active form's monitor or the screen DC's
// LOGPIXELSY, which stays 96.
TEST(dxPopupMenuItemInfo, AClassLibraryItemsDpiIsItsOwnersMonitorsOnWindows81AndLater) {
  ASSERT_EQ(Screen()->ActiveForm(), nullptr) << "no form to take the DPI from";
  const TScreenDC screen;
  const int logPixels = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  const int oldPPI = Screen()->PixelsPerInch();
  Screen()->SetPixelsPerInch(144);
  ASSERT_NE(logPixels, 144);
  const TOwned<TPopupMenu> ownerless(New<TPopupMenu>(nullptr));
  ownerless->Items()->Add(New<TMenuItem>(nullptr));
  const auto ppiWith = [](TdxWindows81Probe AProbe, TPopupMenu* AMenu) {
    const TdxWindows81Probe old = dxSetWindows81Probe(AProbe);
    const TdxPopupMenuItemInfo info(AMenu->Items()->Items(0), nullptr);
    dxSetWindows81Probe(old);
    EXPECT_EQ(info.GlyphSize(), MulDiv(GetSystemMetrics(SM_CXMENUCHECK), info.PPI(), GetDeviceCaps(TScreenDC().Get(), LOGPIXELSY)));
    return info.PPI();
  };
  const auto win81 = [] { return true; };
  const auto win8 = [] { return false; };
  EXPECT_EQ(ppiWith(win8, ownerless.get()), logPixels) << "before 8.1, no active form";
  EXPECT_EQ(ppiWith(win81, ownerless.get()), 144) << "8.1, no owner";
  {
    TOwned<TForm> form(NewShownForm(TRect(100, 100, 300, 200)));
    TPopupMenu* owned = New<TPopupMenu>(form.get());
    owned->Items()->Add(New<TMenuItem>(nullptr));
    EXPECT_EQ(ppiWith(win81, owned), 144) << "8.1, owned by a form";
  }
  Screen()->SetPixelsPerInch(oldPPI);
}

TEST(dxPopupMenuItemInfo, PlainAndThemedLayoutsLieInsideTheSystemsItemRectangles) {
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  const TOwnedMenu menu = NewNativeMenu();
  std::vector<TRect> items;
  TLoopScript script;
  script.Then([] { return FindMenuWindow() != nullptr; },
              [&] {
                for (int i = 0; i < GetMenuItemCount(menu.Get()); ++i) {
                  RECT r{};
                  GetMenuItemRect(nullptr, menu.Get(), static_cast<UINT>(i), &r);
                  items.push_back(r);
                }
                EndMenu();
              });
  Track(menu.Get(), form->Handle(), script);
  ASSERT_FALSE(script.TimedOut());
  ASSERT_EQ(items.size(), 4u);
  const HTHEME theme = OpenTheme(totMenu);
  for (const bool themed : {false, true}) {
    if (themed && !theme) continue;
    SCOPED_TRACE(themed ? "themed" : "plain");
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      TRect bounds = items[static_cast<std::size_t>(i)];
      bounds.Offset(-bounds.Left, -bounds.Top);
      MENUITEMINFOW id{};
      id.cbSize = sizeof(id);
      id.fMask = MIIM_ID;
      GetMenuItemInfoW(menu.Get(), static_cast<UINT>(i), TRUE, &id);
      TdxPopupMenuItemInfo item(nullptr, DrawItemOf(menu.Get(), id.wID), menu.Get());
      if (!themed) item.SetTheme(nullptr);
      TPixelSurface surface(bounds.Width(), bounds.Height());
      item.CalculateLayout(surface.DC(), bounds, 0);
      for (const TRect& part : {item.GutterBounds(), item.ImageBackgroundBounds(), item.ImageBounds(),
                                item.SeparatorBounds(), item.ShortCutBounds(), item.SubmenuArrowBounds(),
                                item.SubmenuArrowExcludeBounds(), item.TextAreaBounds(), item.TextBounds()})
        EXPECT_TRUE(Inside(part, bounds)) << part.Left << "," << part.Top << "," << part.Right << "," << part.Bottom;
      if (item.IsSeparator()) {
        EXPECT_FALSE(item.SeparatorBounds().IsEmpty());
        continue;
      }
      EXPECT_TRUE(Inside(item.ImageBounds(), item.ImageBackgroundBounds()));
      EXPECT_GE(item.TextBounds().Left, item.ImageBackgroundBounds().Right) << "text right of the image column";
      EXPECT_EQ(item.TextBounds().Width(), std::min(CaptionWidth(item.Caption().c_str()), item.TextAreaBounds().Width()))
          << "the caption's measured width";
      if (!item.ShortCutText().empty()) {
        EXPECT_EQ(item.ShortCutBounds().Left, item.TextBounds().Right);
        EXPECT_GE(item.ShortCutBounds().Width(), CaptionWidth(item.ShortCutText().c_str()));
      }
      if (item.HasSubmenu()) {
        EXPECT_GE(item.SubmenuArrowExcludeBounds().Left, item.TextBounds().Right) << "arrow after the caption";
        if (themed) {
          EXPECT_GE(item.SubmenuArrowExcludeBounds().Left, item.TextAreaBounds().Right);
        }
        EXPECT_TRUE(Inside(item.SubmenuArrowBounds(), item.SubmenuArrowExcludeBounds()));
      }
    }
  }
  if (theme) CloseThemeData(theme);
}

// Expected pixels of a DFC_MENU glyph in AInk over ABack, from the system's
// own drawing of it black on white.
void ExpectGlyph(const TPixelSurface& ASurface, const TRect& ACell, int ASize, UINT AGlyph, COLORREF AInk,
                 COLORREF ABack) {
  TPixelSurface reference(ASize, ASize, RGB(255, 255, 255));
  TOwnedBitmap mono(CreateBitmap(ASize, ASize, 1, 1, nullptr));
  const TBitmapDC monoDC(mono.Get());
  RECT cell{0, 0, ASize, ASize};
  DrawFrameControl(monoDC.DC(), &cell, DFC_MENU, AGlyph);
  BitBlt(reference.DC(), 0, 0, ASize, ASize, monoDC.DC(), 0, 0, SRCCOPY);
  const int left = ACell.Left + (ACell.Width() - ASize) / 2;
  const int top = ACell.Top + (ACell.Height() - ASize) / 2;
  int ink = 0, mismatches = 0;
  for (int y = 0; y < ASize; ++y)
    for (int x = 0; x < ASize; ++x) {
      const bool black = reference.Pixel(x, y) == RGB(0, 0, 0);
      ink += black;
      mismatches += ASurface.Pixel(left + x, top + y) != (black ? AInk : ABack);
    }
  EXPECT_GT(ink, 0) << "the system drew a glyph";
  EXPECT_EQ(mismatches, 0) << ASurface.Picture(ABack);
}

TEST(dxPopupMenuItemInfo, PlainCheckMarksAndArrowsAreTheSystemGlyphsInTheTextColour) {
  const TOwnedMenu menu = NewNativeMenu();
  const HMENU sub = GetSubMenu(menu.Get(), 3);
  const TRect bounds(0, 0, 160, 22);
  struct Row {
    const char* Name;
    UINT Command;
    UINT State;
    COLORREF Ink, Back;
  };
  BOOL flat = FALSE;
  SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
  const COLORREF hot = flat && AreVisualStylesAvailable() ? GetSysColor(COLOR_MENUHILIGHT) : GetSysColor(COLOR_HIGHLIGHT);
  const Row rows[] = {
      {"checked", 2, 0, GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_MENU)},
      {"checked and selected", 2, ODS_SELECTED, GetSysColor(COLOR_HIGHLIGHTTEXT), hot},
      {"submenu", static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)), 0, GetSysColor(COLOR_MENUTEXT),
       GetSysColor(COLOR_MENU)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TdxPopupMenuItemInfo item(nullptr, DrawItemOf(menu.Get(), row.Command), menu.Get());
    item.SetTheme(nullptr);
    TPixelSurface surface(bounds.Width(), bounds.Height(), RGB(1, 2, 3));
    item.CalculateLayout(surface.DC(), bounds, row.State);
    item.Draw(surface.DC(), bounds, row.State);
    EXPECT_EQ(surface.Count(RGB(1, 2, 3)), 0) << "the whole item is painted";
    EXPECT_EQ(surface.Pixel(bounds.Right - 1, 0), row.Back);
    if (item.Checked())
      ExpectGlyph(surface, item.ImageBounds(), item.GlyphSize(), DFCS_MENUCHECK, row.Ink, row.Back);
    else
      ExpectGlyph(surface, item.SubmenuArrowBounds(), item.GlyphSize(), DFCS_MENUARROW, row.Ink, row.Back);
  }
}

// The default item's caption is measured and drawn bold, in either layout,
// and laying out and drawing items leaves no GDI object behind.
TEST(dxPopupMenuItemInfo, TheDefaultItemIsBoldAndItemsLeakNothing) {
  TOwnedMenu menu(CreatePopupMenu());
  AppendMenuW(menu.Get(), MF_STRING, 1, L"Properties");
  const TRect bounds(0, 0, 200, 22);
  TPixelSurface surface(bounds.Width(), bounds.Height());
  const auto round = [&](bool AThemed, UINT AState) {
    TdxPopupMenuItemInfo item(nullptr, DrawItemOf(menu.Get(), 1), menu.Get());
    if (!AThemed) item.SetTheme(nullptr);
    item.CalculateLayout(surface.DC(), bounds, AState);
    item.Draw(surface.DC(), bounds, AState);
    return item.TextBounds().Width();
  };
  round(true, ODS_DEFAULT);
  const int baseline = GdiObjectCount();
  for (const bool themed : {false, true}) {
    SCOPED_TRACE(themed ? "themed" : "plain");
    EXPECT_EQ(round(themed, 0), CaptionWidth(L"Properties"));
    EXPECT_EQ(round(themed, ODS_DEFAULT), CaptionWidth(L"Properties", true));
  }
  EXPECT_NE(CaptionWidth(L"Properties"), CaptionWidth(L"Properties", true)) << "the font has a bold face";
  EXPECT_EQ(GdiObjectCount(), baseline);
}

// Themed items are the "MENU" theme's parts: where no text or glyph lies,
// the pixels equal uxtheme's own drawing of the background, gutter and hot
// item on the same rectangles.
TEST(dxPopupMenuItemInfo, ThemedItemsAreTheMenuThemesParts) {
  const HTHEME theme = OpenThemeData(nullptr, L"MENU");
  if (!theme) GTEST_SKIP() << "no menu theme";
  TOwnedMenu menu(CreatePopupMenu());
  AppendMenuW(menu.Get(), MF_STRING, 1, L"Properties");
  const TRect bounds(0, 0, 200, 24);
  for (const UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
    SCOPED_TRACE(state ? "hot" : "normal");
    TdxPopupMenuItemInfo item(nullptr, DrawItemOf(menu.Get(), 1), menu.Get());
    ASSERT_NE(item.Theme(), nullptr);
    TPixelSurface drawn(bounds.Width(), bounds.Height());
    item.CalculateLayout(drawn.DC(), bounds, state);
    item.Draw(drawn.DC(), bounds, state);
    TPixelSurface expected(bounds.Width(), bounds.Height());
    const RECT whole = bounds;
    const RECT gutter = item.GutterBounds();
    DrawThemeBackground(theme, expected.DC(), MENU_POPUPBACKGROUND, 0, &whole, nullptr);
    DrawThemeBackground(theme, expected.DC(), MENU_POPUPGUTTER, 0, &gutter, nullptr);
    if (state) DrawThemeBackground(theme, expected.DC(), MENU_POPUPITEM, MPI_HOT, &whole, nullptr);
    int compared = 0, differing = 0;
    for (int y = 0; y < bounds.Height(); ++y)
      for (int x = 0; x < bounds.Width(); ++x) {
        if (item.TextBounds().Contains(TPoint(x, y))) continue;
        ++compared;
        differing += drawn.Pixel(x, y) != expected.Pixel(x, y);
      }
    EXPECT_GT(compared, bounds.Width() * bounds.Height() / 2);
    EXPECT_EQ(differing, 0);
  }
  CloseThemeData(theme);
}

}  // namespace
