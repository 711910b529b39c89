#include "library/controls/windows/dxPopupMenus.h"

#include "library/controls/windows/dxForms.h"
#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxHooks.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/WindowAllocation.h"

#include <versionhelpers.h>
#include <vssym32.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

// Implementation notes: every rectangle of an item is in the coordinates of
// the DC the item is drawn on; lengths are pixels at 96 DPI scaled to the
// item DPI where they are used.

namespace {

// ---------------------------------------------------------------------------
// Process-wide state

struct TContextMenuInfo {
  HWND Window = nullptr;
  WNDPROC WndProc = nullptr;
  HMENU Menu = nullptr;
  HBRUSH OldBrush = nullptr;
};

// What menus draw with, refreshed from the root look-and-feel's painter
// before each use (the skin's elements may change between two paints).
struct TMenuPainterRecord {
  TcxCustomLookAndFeelPainter* Painter = nullptr;
  TdxPopupMenuSkinElements Elements;
  // Per side the larger of the popup element's image margin and border.
  TRect ContentMargins{1, 1, 1, 1};
  TOwnedBrush Brush;
  COLORREF BrushColor = CLR_INVALID;
};

bool GSkinnedOption = true;
int GWin11MenuMode = 0;
bool GSkinnedSwitch = false;
bool GWin11Switch = false;
bool GHookInstalled = false;
bool GPassThrough = false;
// The windows subclassed now; present while the hook is installed.
std::unique_ptr<std::vector<TContextMenuInfo>> GContextMenus;
TMenuPainterRecord GPainterRecord;
// The popup menus' window while it draws the class library's items.
HWND GPopupListWnd = nullptr;
WNDPROC GPopupListPrevious = nullptr;

LRESULT CALLBACK PopupListWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

void SubclassPopupList() {
  if (GPopupListWnd) return;
  const HWND window = PopupListWindow();
  if (!window) return;
  GPopupListPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupListWindowProc)));
  GPopupListWnd = window;
}

void RestorePopupList() {
  if (!GPopupListWnd) return;
  if (IsWindow(GPopupListWnd))
    SetWindowLongPtrW(GPopupListWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GPopupListPrevious));
  GPopupListWnd = nullptr;
  GPopupListPrevious = nullptr;
}

TContextMenuInfo* FindContextMenu(HWND AWnd) {
  if (!GContextMenus) return nullptr;
  const auto it = std::find_if(GContextMenus->begin(), GContextMenus->end(),
                               [AWnd](const TContextMenuInfo& AInfo) { return AInfo.Window == AWnd; });
  return it != GContextMenus->end() ? &*it : nullptr;
}

void SetMenuBackground(HMENU AMenu, HBRUSH ABrush) {
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = ABrush;
  SetMenuInfo(AMenu, &info);
}

HBRUSH GetMenuBackground(HMENU AMenu) {
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  return GetMenuInfo(AMenu, &info) ? info.hbrBack : nullptr;
}

void SetWindowProc(HWND AWnd, WNDPROC AProc) {
  if (IsWindowUnicode(AWnd))
    SetWindowLongPtrW(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AProc));
  else
    SetWindowLongPtrA(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AProc));
}

// The previous procedure was read with the window's own character set.
LRESULT CallPrevious(WNDPROC AProc, HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  return IsWindowUnicode(AWnd) ? CallWindowProcW(AProc, AWnd, AMsg, AWParam, ALParam)
                               : CallWindowProcA(AProc, AWnd, AMsg, AWParam, ALParam);
}

// Puts a recorded window back as it was before it was subclassed.
void Restore(const TContextMenuInfo& AInfo) {
  if (AInfo.Menu && IsMenu(AInfo.Menu)) SetMenuBackground(AInfo.Menu, AInfo.OldBrush);
  if (IsWindow(AInfo.Window)) SetWindowProc(AInfo.Window, AInfo.WndProc);
}

void RefreshPainterRecord() {
  TMenuPainterRecord& record = GPainterRecord;
  TcxLookAndFeel* root = HasRootLookAndFeel() ? GetRootLookAndFeel() : nullptr;
  record.Painter = root ? (root->SkinPainter() ? root->SkinPainter() : root->Painter()) : nullptr;
  auto* skin = SupportsRaw<IdxPopupMenuSkinPainter>(root ? root->SkinPainter() : nullptr);
  record.Elements = skin ? skin->PopupMenuSkinElements() : TdxPopupMenuSkinElements();
  record.ContentMargins = TRect(1, 1, 1, 1);
  COLORREF color = GetSysColor(COLOR_MENU);
  if (TdxSkinElement* element = record.Elements.PopupMenu) {
    const TRect image = element->Image()->Margins();
    const TRect borders = element->Borders()->ContentMargins();
    record.ContentMargins = TRect(std::max(image.Left, borders.Left), std::max(image.Top, borders.Top),
                                  std::max(image.Right, borders.Right), std::max(image.Bottom, borders.Bottom));
    if (element->Color() != clDefault && element->Color() != clNone) color = ColorToColorRef(element->Color());
  }
  if (record.Brush && record.BrushColor == color) return;
  GPainterRecord.Brush.Reset(CreateSolidBrush(color));
  GPainterRecord.BrushColor = color;
}

bool IsMenuWindow(HWND AWnd) {
  // Asked for every window the thread creates: no allocation here.
  wchar_t name[16] = {};
  return GetClassNameW(AWnd, name, static_cast<int>(std::size(name))) > 0 && std::wcscmp(name, L"#32768") == 0;
}

void SubclassMenuWindow(HWND AWnd) {
  TContextMenuInfo info;
  info.Window = AWnd;
  info.WndProc = reinterpret_cast<WNDPROC>(IsWindowUnicode(AWnd) ? GetWindowLongPtrW(AWnd, GWLP_WNDPROC)
                                                                  : GetWindowLongPtrA(AWnd, GWLP_WNDPROC));
  SetWindowProc(AWnd, &MenuWindowProc);
  GContextMenus->push_back(info);
  GPassThrough = false;
}

void UnsubclassMenuWindow(HWND AWnd) {
  const auto it = std::find_if(GContextMenus->begin(), GContextMenus->end(),
                               [AWnd](const TContextMenuInfo& AInfo) { return AInfo.Window == AWnd; });
  if (it == GContextMenus->end()) return;
  Restore(*it);
  GContextMenus->erase(it);
  if (GContextMenus->empty()) RestorePopupList();
}

void MenuCbtHookProc(int ACode, WPARAM AWParam, LPARAM, LRESULT&) {
  if (!GContextMenus) return;
  const auto wnd = reinterpret_cast<HWND>(AWParam);
  if (ACode == HCBT_CREATEWND) {
    if ((UsesSkinnedMenus() || UsesWin11MenuHandling()) && IsMenuWindow(wnd)) SubclassMenuWindow(wnd);
  } else if (ACode == HCBT_DESTROYWND) {
    UnsubclassMenuWindow(wnd);
  }
}

void InstallMenuHook() {
  if (GHookInstalled) return;
  GContextMenus = std::make_unique<std::vector<TContextMenuInfo>>();
  SetSystemHook(htCBT, &MenuCbtHookProc);
  GHookInstalled = true;
}

// Each recorded window gets its own procedure and brush back before the list
// goes: an open menu keeps painting and can still close.
void UninstallMenuHook() {
  if (!GHookInstalled) return;
  ReleaseSystemHook(&MenuCbtHookProc);
  for (const TContextMenuInfo& info : *GContextMenus) Restore(info);
  GContextMenus.reset();
  RestorePopupList();
  GHookInstalled = false;
  GPassThrough = false;
}

void UpdateHook() {
  if (GSkinnedSwitch || GWin11Switch)
    InstallMenuHook();
  else
    UninstallMenuHook();
}

// The owner of the menu the window shows belongs to the class library: one
// of its controls or one of its hidden utility windows.
bool IsClassLibraryMenu(HWND AMenuWindow) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(AMenuWindow, nullptr), &info) || !info.hwndMenuOwner) return false;
  HWND owner = info.hwndMenuOwner;
  // Wine names the menu window itself; the window it was created for owns it.
  if (IsMenuWindow(owner)) owner = GetWindow(owner, GW_OWNER);
  if (!owner) return false;
  return FindControl(owner) || IsAllocatedHWnd(owner);
}

void SizeClassLibraryMenu(HWND AWnd, TContextMenuInfo& AInfo) {
  if (AInfo.Menu) return;
  AInfo.Menu = reinterpret_cast<HMENU>(CallPrevious(AInfo.WndProc, AWnd, MN_GETHMENU, 0, 0));
  if (!AInfo.Menu) return;
  AInfo.OldBrush = GetMenuBackground(AInfo.Menu);
  SubclassPopupList();
  // After the window is sized: the brush and the corners of a window that is
  // still recorded then.
  TThread::ForceQueue(nullptr, [AWnd] {
    const TContextMenuInfo* info = FindContextMenu(AWnd);
    if (!info || !info->Menu) return;
    RefreshPainterRecord();
    SetMenuBackground(info->Menu, GPainterRecord.Brush.Get());
    SetWindowCornerPreference(AWnd, dxCornerDoNotRound);
  });
}

TOwned<TdxScaleFactor> ScaleFactorFor(int ADpi) {
  TOwned<TdxScaleFactor> result(New<TdxScaleFactor>());
  result->Assign(ADpi, 96, false);
  return result;
}

int MonitorDpi(HWND AWnd);

// Not in the platform headers.
constexpr DWORD dxDCX_USESTYLE = 0x00010000;

// The skin's popup-menu element around the client area of a menu window.
void PaintMenuFrame(HWND AWnd, HDC ADC, HRGN ARegion) {
  RefreshPainterRecord();
  TdxSkinElement* element = GPainterRecord.Elements.PopupMenu;
  if (!element) return;
  HDC dc = ADC;
  if (!dc) {
    // A region of 1 stands for the whole window.
    dc = reinterpret_cast<UINT_PTR>(ARegion) > 1
             ? GetDCEx(AWnd, ARegion, DCX_WINDOW | DCX_INTERSECTRGN | DCX_LOCKWINDOWUPDATE | dxDCX_USESTYLE)
             : nullptr;
    if (!dc) dc = GetWindowDC(AWnd);
  }
  if (!dc) return;
  {
    const TSavedDC saved(dc);
    RECT window{}, client{};
    GetWindowRect(AWnd, &window);
    GetClientRect(AWnd, &client);
    MapWindowPoints(AWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    const TRect& margins = GPainterRecord.ContentMargins;
    if (client.left * 2 < client.top) {
      ExcludeClipRect(dc, client.left, client.top - margins.Top, client.right, client.top);
      ExcludeClipRect(dc, client.left, client.bottom, client.right, client.bottom + margins.Bottom);
    }
    element->Draw(dc, window, ScaleFactorFor(MonitorDpi(AWnd)).get());
  }
  if (!ADC) ReleaseDC(AWnd, dc);
}

void DrawNativeMenuItem(HWND AWnd, LPARAM ALParam) {
  const auto* drawItem = reinterpret_cast<const DRAWITEMSTRUCT*>(ALParam);
  if (!drawItem || !drawItem->hDC) return;
  RefreshPainterRecord();
  const TSavedDC saved(drawItem->hDC);
  TdxPopupMenuItemInfo item(AWnd, *drawItem, reinterpret_cast<HMENU>(drawItem->hwndItem));
  item.CalculateLayout(drawItem->hDC, drawItem->rcItem, drawItem->itemState);
  item.Draw(drawItem->hDC, drawItem->rcItem, drawItem->itemState);
}

LRESULT HandleMenuMessage(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam, TContextMenuInfo& AInfo) {
  const WNDPROC previous = AInfo.WndProc;
  // A process the system scales through GDI leaves its menus to the system.
  if (GPassThrough || IsUnawareGdiScaled()) {
    if (AMsg == dxWM_MENUPAINTFRAME && UsesWin11MenuHandling()) return 0;
    return CallPrevious(previous, AWnd, AMsg, AWParam, ALParam);
  }
  switch (AMsg) {
    case WM_CREATE:
      if (!UsesSkinnedMenus()) GPassThrough = true;
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCPAINT: {
      const LRESULT result = CallPrevious(previous, AWnd, AMsg, AWParam, ALParam);
      PaintMenuFrame(AWnd, nullptr, reinterpret_cast<HRGN>(AWParam));
      return result;
    }
    case WM_PRINT: {
      const LRESULT result = CallPrevious(previous, AWnd, AMsg, AWParam, ALParam);
      PaintMenuFrame(AWnd, reinterpret_cast<HDC>(AWParam), nullptr);
      return result;
    }
    case dxWM_MENUPAINTFRAME:
      CallPrevious(previous, AWnd, AMsg, AWParam, ALParam);
      PaintMenuFrame(AWnd, nullptr, nullptr);
      return 0;
    case dxWM_MENUDRAWITEM:
      DrawNativeMenuItem(AWnd, ALParam);
      return 0;
    case dxMN_SIZEWINDOW:
      if (IsClassLibraryMenu(AWnd))
        SizeClassLibraryMenu(AWnd, AInfo);
      else
        GPassThrough = true;
      break;
    default:
      break;
  }
  return CallPrevious(previous, AWnd, AMsg, AWParam, ALParam);
}

// ---------------------------------------------------------------------------
// The root look-and-feel's listener

class TdxPopupLookAndFeelListener : public TcxIUnknownObject, public IcxLookAndFeelNotificationListener {
  SK_CLASS(TdxPopupLookAndFeelListener, TcxIUnknownObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxLookAndFeelNotificationListener>(this, AIID, AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override { ApplyMenuSwitches(); }
  void MasterDestroying(TcxLookAndFeel*) override {}
};

TdxPopupLookAndFeelListener* GListener = nullptr;

// ---------------------------------------------------------------------------
// Item drawing helpers

TRect CenteredRect(const TRect& ABounds, int AWidth, int AHeight) {
  const int left = ABounds.Left + (ABounds.Width() - AWidth) / 2;
  const int top = ABounds.Top + (ABounds.Height() - AHeight) / 2;
  return TRect(left, top, left + AWidth, top + AHeight);
}

TRect MirrorRect(const TRect& R, const TRect& ABounds) {
  if (R.IsEmpty() && R.Left == 0 && R.Right == 0) return R;
  return TRect(ABounds.Left + ABounds.Right - R.Right, R.Top, ABounds.Left + ABounds.Right - R.Left, R.Bottom);
}

int MonitorDpi(HWND AWnd) {
  if (AWnd) {
    if (TScreenMonitor* monitor = Screen()->MonitorFromWindow(AWnd)) return monitor->PixelsPerInch();
  }
  const TScreenDC screen;
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

bool SystemIsWindows81OrLater() { return IsWin10OrLater || IsWindows8Point1OrGreater(); }

TdxWindows81Probe GWindows81Probe = &SystemIsWindows81OrLater;

// The DPI a class-library item is drawn for: with per-monitor DPI, that of
// the monitor where its menu's owner normally lies. The placement of a child
// window is in its parent's coordinates: its top-level window's is taken.
int MenuItemDpi(TMenuItem* AItem) {
  TMenu* menu = AItem->GetParentMenu();
  if (GWindows81Probe()) {
    auto* owner = menu ? dynamic_cast<TWinControl*>(menu->Owner()) : nullptr;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (owner && owner->HandleAllocated() && GetWindowPlacement(GetAncestor(owner->Handle(), GA_ROOT), &placement))
      if (TScreenMonitor* monitor = Screen()->MonitorFromRect(TRect(placement.rcNormalPosition)))
        return monitor->PixelsPerInch();
    if (Application()->Handle()) return MonitorDpi(Application()->Handle());
    return Screen()->PixelsPerInch();
  }
  if (TCustomForm* form = Screen()->ActiveForm(); form && form->HandleAllocated()) return MonitorDpi(form->Handle());
  return MonitorDpi(nullptr);
}

// The class-library item of a WM_DRAWITEM, drawn with the menus' look; the
// system's submenu arrow is kept off it. Answers whether it was one.
bool DrawClassLibraryItem(LPARAM ALParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(ALParam);
  if (!draw || draw->CtlType != ODT_MENU || !draw->hDC) return false;
  for (TPopupMenu* menu : PopupList()) {
    TMenuItem* item = menu->FindItem(draw->itemID);
    if (!item || item == menu->Items()) continue;
    TRect arrow;
    {
      const TSavedDC saved(draw->hDC);
      TdxPopupMenuItemInfo info(item, nullptr);
      info.CalculateLayout(draw->hDC, draw->rcItem, draw->itemState);
      info.Draw(draw->hDC, draw->rcItem, draw->itemState);
      arrow = info.SubmenuArrowExcludeBounds();
    }
    if (!arrow.IsEmpty()) ExcludeClipRect(draw->hDC, arrow.Left, arrow.Top, arrow.Right, arrow.Bottom);
    return true;
  }
  return false;
}

LRESULT CALLBACK PopupListWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  try {
    if (AMsg == WM_DRAWITEM && DrawClassLibraryItem(ALParam)) return 0;
  } catch (...) {
    HandleCallbackException(nullptr);
    return 0;
  }
  return CallWindowProcW(GPopupListPrevious, AWnd, AMsg, AWParam, ALParam);
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxPopupMenuItemInfo

void TdxPopupMenuItemInfo::InitializeForDpi(int APPI) {
  FPPI = APPI;
  FGlyphSize = MulDiv(GetSystemMetrics(SM_CXMENUCHECK), FPPI, MonitorDpi(nullptr));
  if (IsWinVistaOrLater && AreVisualStylesAvailable()) {
    FTheme = UxOpenThemeData(nullptr, L"MENU", static_cast<UINT>(FPPI));
    FOwnsTheme = FTheme != nullptr;
  }
  BOOL flat = FALSE;
  FWinXPFlatMenus = AreVisualStylesAvailable() && SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0) && flat;
  FPaintMode = UsesSkinnedMenus() ? TdxMenuPaintMode::Skin
               : UsesWin11MenuHandling() ? TdxMenuPaintMode::Special
                                         : TdxMenuPaintMode::Standard;
}

TdxPopupMenuItemInfo::TdxPopupMenuItemInfo(HWND AMenuWindow, const DRAWITEMSTRUCT& ADrawItem, HMENU AMenu) {
  InitializeForDpi(MonitorDpi(AMenuWindow));

  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE | MIIM_STATE;
  // The first call measures the text, the second fetches it.
  const BOOL byPosition = FALSE;
  if (!GetMenuItemInfoW(AMenu, ADrawItem.itemID, byPosition, &info)) return;
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoW(AMenu, ADrawItem.itemID, byPosition, &info)) return;
  text.resize(std::wcslen(text.c_str()));

  FIsSeparator = (info.fType & MFT_SEPARATOR) != 0;
  FRadioItem = (info.fType & MFT_RADIOCHECK) != 0;
  FRightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  FChecked = (info.fState & MFS_CHECKED) != 0;
  FHasSubmenu = info.hSubMenu != nullptr;
  FItemBitmap = info.hbmpItem;
  FImageKind = TdxMenuImageKind::HBitmap;
  FAlignment = FRightToLeft ? paRight : paLeft;
  const std::size_t tab = text.find(L'\t');
  FCaption = text.substr(0, tab);
  if (tab != std::wstring::npos) FShortCutText = text.substr(tab + 1);
}

TdxPopupMenuItemInfo::TdxPopupMenuItemInfo(TMenuItem* AMenuItem, TCustomImageList* AImageList) {
  InitializeForDpi(MenuItemDpi(AMenuItem));
  TMenu* menu = AMenuItem->GetParentMenu();
  FHasSubmenu = AMenuItem->Count() > 0;
  FIsSeparator = AMenuItem->IsLine();
  FRightToLeft = menu && menu->IsRightToLeft();
  const auto* popup = dynamic_cast<const TPopupMenu*>(menu);
  FAlignment = popup ? popup->Alignment() : paLeft;
  if (FRightToLeft && FAlignment != paCenter) FAlignment = FAlignment == paLeft ? paRight : paLeft;
  FImageList = AImageList ? AImageList : menu ? menu->Images() : nullptr;
  FCaption = AMenuItem->Caption();
  FChecked = AMenuItem->Checked();
  FRadioItem = AMenuItem->RadioItem();
  FImageIndex = AMenuItem->ImageIndex();
  if (!FHasSubmenu && AMenuItem->ShortCut()) FShortCutText = ShortCutToText(AMenuItem->ShortCut());
  if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
    FImageKind = TdxMenuImageKind::ImageList;
  else if (AMenuItem->HasBitmap()) {
    FImageKind = TdxMenuImageKind::Bitmap;
    FBitmap = AMenuItem->Bitmap();
  } else
    FImageKind = FChecked ? TdxMenuImageKind::CheckMark : TdxMenuImageKind::None;
}

TdxPopupMenuItemInfo::~TdxPopupMenuItemInfo() {
  if (FOwnsTheme) UxCloseThemeData(FTheme);
}

void TdxPopupMenuItemInfo::SetTheme(HTHEME AValue) {
  if (FOwnsTheme && FTheme != AValue) UxCloseThemeData(FTheme);
  FOwnsTheme = false;
  FTheme = AValue;
}

void TdxPopupMenuItemInfo::SelectMenuFont(HDC ADC) {
  const bool bold = (FState & ODS_DEFAULT) != 0;
  if (!FMenuFont || bold != FMenuFontBold) {
    FMenuFontBold = bold;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW font = metrics.lfMenuFont;
    font.lfHeight = MulDiv(font.lfHeight, FPPI, MonitorDpi(nullptr));
    if (bold) font.lfWeight = FW_BOLD;
    FMenuFont.Reset(CreateFontIndirectW(&font));
  }
  SelectObject(ADC, FMenuFont.Get());
}

void TdxPopupMenuItemInfo::CalculateLayout(HDC ADC, const TRect& ABounds, UINT AState) {
  FBounds = ABounds;
  FState = AState;
  FTextFlags = (FAlignment == paRight ? DT_RIGHT : FAlignment == paCenter ? DT_CENTER : DT_LEFT) | DT_SINGLELINE |
               DT_EXPANDTABS | (FRightToLeft ? DT_RTLREADING : 0);
  if (AState & ODS_NOACCEL) FTextFlags |= DT_HIDEPREFIX;
  // The font must not stay selected: the item deletes it.
  const TSavedDC saved(ADC);
  SelectMenuFont(ADC);
  FGutterBounds = FImageBackgroundBounds = FImageBounds = FSeparatorBounds = FShortCutBounds = FTextAreaBounds =
      FTextBounds = TRect();
  FSelectionBounds = FBounds;
  if (FTheme)
    CalculateThemedLayout(ADC);
  else
    CalculatePlainLayout(ADC);
  CalculateSubmenuArrowBounds();
  if (FRightToLeft) MirrorLayout();
}

void TdxPopupMenuItemInfo::CalculatePlainLayout(HDC ADC) {
  if (FIsSeparator) {
    FSeparatorBounds = FBounds;
    return;
  }
  // The column of a native item is always there: check marks and bitmaps
  // share it, and every row of the menu lines up. A class-library item
  // without image or images has none.
  int column = std::min(FBounds.Height(), FImageList ? FImageList->Height() + Scale(6) : Scale(22));
  if (FImageKind == TdxMenuImageKind::None && !FImageList) column = 0;
  FImageBackgroundBounds = CenteredRect(TRect(FBounds.Left, FBounds.Top, FBounds.Left + column, FBounds.Bottom),
                                        column, column);
  const int cell = std::min(column, Scale(16));
  FImageBounds = FImageKind == TdxMenuImageKind::ImageList
                     ? CenteredRect(FImageBackgroundBounds, FImageList->Width(), FImageList->Height())
                     : CenteredRect(FImageBackgroundBounds, cell, cell);
  FTextAreaBounds = TRect(FImageBackgroundBounds.Right + Scale(5), FBounds.Top, FBounds.Right - 1, FBounds.Bottom);
  SIZE extent{};
  GetTextExtentPoint32W(ADC, FCaption.c_str(), static_cast<int>(FCaption.size()), &extent);
  FTextBounds = FTextAreaBounds;
  FTextBounds.Right = std::min(FTextAreaBounds.Right, FTextAreaBounds.Left + static_cast<int>(extent.cx));
  if (!FShortCutText.empty() && !FHasSubmenu)
    FShortCutBounds = TRect(FTextBounds.Right, FBounds.Top, std::max(FTextBounds.Right, FBounds.Right - Scale(10)),
                            FBounds.Bottom);
}

void TdxPopupMenuItemInfo::CalculateThemedLayout(HDC ADC) {
  const int checkState = Disabled() ? (FRadioItem ? MC_BULLETDISABLED : MC_CHECKMARKDISABLED)
                                    : (FRadioItem ? MC_BULLETNORMAL : MC_CHECKMARKNORMAL);
  TSize check{};
  UxGetThemePartSize(FTheme, ADC, MENU_POPUPCHECK, checkState, nullptr, TS_TRUE, check);
  if (FImageList) {
    check.cx = std::max<int>(check.cx, FImageList->Width());
    check.cy = std::max<int>(check.cy, FImageList->Height());
  }
  TdxMargins checkMargins;
  UxGetThemeMargins(FTheme, ADC, MENU_POPUPCHECK, checkState, TMT_CONTENTMARGINS, nullptr, checkMargins);
  TSize gutter{};
  UxGetThemePartSize(FTheme, ADC, MENU_POPUPGUTTER, 0, nullptr, TS_TRUE, gutter);
  TdxMargins itemMargins;
  UxGetThemeMargins(FTheme, ADC, MENU_POPUPITEM, MPI_NORMAL, TMT_CONTENTMARGINS, nullptr, itemMargins);
  UxGetThemePartSize(FTheme, ADC, MENU_POPUPSUBMENU, MSM_NORMAL, nullptr, TS_TRUE, FSubMenuSize);
  // The system arrow drawn for skins needs its glyph's room too.
  FSubMenuSize.cx = std::max<int>(FSubMenuSize.cx, FGlyphSize);
  FTextMargins = itemMargins;

  const int columnWidth = check.cx + checkMargins.cxLeftWidth + checkMargins.cxRightWidth;
  const int columnHeight = std::min(FBounds.Height(), check.cy + checkMargins.cyTopHeight + checkMargins.cyBottomHeight);
  FImageBackgroundBounds = CenteredRect(TRect(FBounds.Left, FBounds.Top, FBounds.Left + columnWidth, FBounds.Bottom),
                                        columnWidth, columnHeight);
  FImageBounds = CenteredRect(FImageBackgroundBounds, check.cx, std::min(check.cy, FBounds.Height()));
  FGutterBounds = TRect(FBounds.Left, FBounds.Top, FBounds.Left + columnWidth + gutter.cx, FBounds.Bottom);
  if (FIsSeparator) {
    FSeparatorBounds = TRect(FGutterBounds.Right + Scale(2), FBounds.Top, FBounds.Right, FBounds.Bottom);
    return;
  }
  FTextAreaBounds = TRect(FGutterBounds.Right + itemMargins.cxLeftWidth, FBounds.Top,
                          std::max(FGutterBounds.Right + itemMargins.cxLeftWidth,
                                   FBounds.Right - FSubMenuSize.cx - itemMargins.cxRightWidth),
                          FBounds.Bottom);
  SIZE extent{};
  GetTextExtentPoint32W(ADC, FCaption.c_str(), static_cast<int>(FCaption.size()), &extent);
  FTextBounds = CenteredRect(TRect(FTextAreaBounds.Left, FTextAreaBounds.Top,
                                   FTextAreaBounds.Left + static_cast<int>(extent.cx), FTextAreaBounds.Bottom),
                             std::min<int>(extent.cx, FTextAreaBounds.Width()), std::min<int>(extent.cy, FBounds.Height()));
  FTextBounds.Left = FTextAreaBounds.Left;
  if (!FShortCutText.empty() && !FHasSubmenu)
    FShortCutBounds = TRect(FTextBounds.Right, FBounds.Top, std::max(FTextBounds.Right, FTextAreaBounds.Right),
                            FBounds.Bottom);
}

void TdxPopupMenuItemInfo::CalculateSubmenuArrowBounds() {
  FSubmenuArrowBounds = FSubmenuArrowExcludeBounds = TRect();
  if (!FHasSubmenu || FIsSeparator) return;
  const int width = FTheme && FSubMenuSize.cx > 0 ? FSubMenuSize.cx : FGlyphSize;
  FSubmenuArrowExcludeBounds = TRect(FBounds.Right - width, FBounds.Top, FBounds.Right, FBounds.Bottom);
  FSubmenuArrowBounds = CenteredRect(FSubmenuArrowExcludeBounds, FGlyphSize, std::min(FGlyphSize, FBounds.Height()));
}

void TdxPopupMenuItemInfo::MirrorLayout() {
  for (TRect* r : {&FGutterBounds, &FImageBackgroundBounds, &FImageBounds, &FSelectionBounds, &FSeparatorBounds,
                   &FShortCutBounds, &FSubmenuArrowBounds, &FSubmenuArrowExcludeBounds, &FTextAreaBounds,
                   &FTextBounds})
    *r = MirrorRect(*r, FBounds);
}

void TdxPopupMenuItemInfo::Draw(HDC ADC, const TRect& ABounds, UINT AState) {
  if (ABounds != FBounds || AState != FState) CalculateLayout(ADC, ABounds, AState);
  const TSavedDC saved(ADC);
  SelectMenuFont(ADC);
  SetBkMode(ADC, TRANSPARENT);
  if (UsesSkinnedMenus())
    DrawSkinned(ADC);
  else if (FTheme)
    DrawThemed(ADC);
  else
    DrawPlain(ADC);
}

// The popup-menu element's inner fill: the element widened past the item by
// its margins, so that its border stays outside.
void TdxPopupMenuItemInfo::DrawSkinBackground(HDC ADC, const TRect& ARect) {
  TdxSkinElement* element = GPainterRecord.Elements.PopupMenu;
  if (!element || ARect.IsEmpty()) return;
  const TRect& margins = GPainterRecord.ContentMargins;
  const TRect& offset = element->ContentOffset();
  const TRect widened(ARect.Left - margins.Left - offset.Left, ARect.Top - margins.Top - offset.Top,
                      ARect.Right + margins.Right + offset.Right, ARect.Bottom + margins.Bottom + offset.Bottom);
  const TSavedDC saved(ADC);
  IntersectClipRect(ADC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  element->Draw(ADC, widened, ScaleFactorFor(FPPI).get());
}

void TdxPopupMenuItemInfo::DrawSkinned(HDC ADC) {
  RefreshPainterRecord();
  const TdxPopupMenuSkinElements& skin = GPainterRecord.Elements;
  const TOwned<TdxScaleFactor> scale = ScaleFactorFor(FPPI);
  DrawSkinBackground(ADC, FBounds);
  if (!FGutterBounds.IsEmpty() && skin.Gutter) {
    skin.Gutter->Draw(ADC, FGutterBounds, scale.get());
    FImageBounds = CenteredRect(FGutterBounds, FImageBounds.Width(), FImageBounds.Height());
    FImageBackgroundBounds = CenteredRect(FGutterBounds, FImageBackgroundBounds.Width(), FImageBackgroundBounds.Height());
  }
  TColor text = clDefault;
  if (!Disabled()) {
    if (skin.PopupMenu) {
      text = Selected() ? skin.PopupMenu->GetTextColor(esHot) : clDefault;
      if (text == clDefault || text == clNone) text = skin.PopupMenu->TextColor();
    } else {
      text = clBtnText;
    }
  } else {
    text = skin.DisabledTextColor;
    if ((text == clDefault || text == clNone) && GPainterRecord.Painter)
      text = GPainterRecord.Painter->DefaultEditorTextColor(true);
  }
  const COLORREF textColor = ColorToColorRef(text == clDefault || text == clNone ? clMenuText : text);
  if (Selected() && skin.Selection && !FIsSeparator)
    skin.Selection->Draw(ADC, FSelectionBounds, scale.get(), 0, Disabled() ? esDisabled : esHot);
  if (FIsSeparator) {
    DrawSkinBackground(ADC, FSeparatorBounds);
    TdxSkinElement* separator = skin.Separator;
    if (!separator) return;
    TSize size = separator->CalculateMinSize();
    if (size.cy > 0 && FSeparatorBounds.Height() < Scale(size.cy) && skin.SecondSeparator) {
      separator = skin.SecondSeparator;
      size = separator->CalculateMinSize();
    }
    const int height = std::min(Scale(std::max<int>(size.cy, 1)), FSeparatorBounds.Height());
    const int top = FSeparatorBounds.Top + (FSeparatorBounds.Height() - height) / 2;
    separator->Draw(ADC, TRect(FSeparatorBounds.Left, top, FSeparatorBounds.Right, top + height), scale.get());
    return;
  }
  if (FChecked && FImageKind == TdxMenuImageKind::ImageList && skin.Selection && !FGutterBounds.IsEmpty()) {
    const int side = std::min(FGutterBounds.Width(), FGutterBounds.Height()) - 2 * Scale(1);
    skin.Selection->Draw(ADC, CenteredRect(FGutterBounds, side, side), scale.get(), 0,
                         Disabled() ? esDisabled : esNormal);
  }
  DrawImage(ADC, textColor, false);
  DrawTexts(ADC, textColor);
  if (FHasSubmenu) DrawPopupSystemArrow(ADC, FSubmenuArrowBounds, FGlyphSize, FRightToLeft, false, textColor);
}

void TdxPopupMenuItemInfo::DrawPlain(HDC ADC) {
  const bool selected = Selected() && !FIsSeparator;
  COLORREF back = GetSysColor(COLOR_MENU);
  COLORREF text = Disabled() ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_MENUTEXT);
  if (selected) {
    back = FWinXPFlatMenus ? GetSysColor(COLOR_MENUHILIGHT) : GetSysColor(COLOR_HIGHLIGHT);
    if (!Disabled()) text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  {
    const TOwnedBrush brush(CreateSolidBrush(back));
    const RECT r = FBounds;
    FillRect(ADC, &r, brush.Get());
  }
  if (FIsSeparator) {
    RECT line = FSeparatorBounds;
    line.top += (FSeparatorBounds.Height() - 2) / 2;
    line.bottom = line.top + 2;
    DrawEdge(ADC, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  if (FChecked && (FItemBitmap || FImageKind == TdxMenuImageKind::ImageList || FImageKind == TdxMenuImageKind::Bitmap)) {
    const TOwnedBrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    const RECT r = FImageBackgroundBounds;
    FillRect(ADC, &r, brush.Get());
  }
  DrawImage(ADC, text, Disabled());
  DrawTexts(ADC, text);
  if (FHasSubmenu) DrawPopupSystemArrow(ADC, FSubmenuArrowBounds, FGlyphSize, FRightToLeft, false, text);
}

void TdxPopupMenuItemInfo::DrawThemed(HDC ADC) {
  const TRect bounds = FBounds;
  UxDrawThemeBackground(FTheme, ADC, MENU_POPUPBACKGROUND, 0, bounds, nullptr);
  const TRect gutter = FGutterBounds;
  UxDrawThemeBackground(FTheme, ADC, MENU_POPUPGUTTER, 0, gutter, nullptr);
  if (FIsSeparator) {
    const TRect separator = FSeparatorBounds;
    UxDrawThemeBackground(FTheme, ADC, MENU_POPUPSEPARATOR, 0, separator, nullptr);
    return;
  }
  const int itemState = Disabled() ? (Selected() ? MPI_DISABLEDHOT : MPI_DISABLED) : (Selected() ? MPI_HOT : MPI_NORMAL);
  if (Selected()) UxDrawThemeBackground(FTheme, ADC, MENU_POPUPITEM, itemState, bounds, nullptr);
  COLORREF text = GetSysColor(Disabled() ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
  COLORREF themed{};
  if (SUCCEEDED(UxGetThemeColor(FTheme, MENU_POPUPITEM, itemState, TMT_TEXTCOLOR, themed))) text = themed;
  const bool hasImage = FItemBitmap || FImageKind == TdxMenuImageKind::ImageList || FImageKind == TdxMenuImageKind::Bitmap;
  if (FChecked) {
    const TRect background = FImageBackgroundBounds;
    UxDrawThemeBackground(FTheme, ADC, MENU_POPUPCHECKBACKGROUND, Disabled() ? MCB_DISABLED : MCB_NORMAL, background,
                          nullptr);
  }
  if (hasImage) {
    DrawImage(ADC, text, Disabled());
  } else if (FChecked) {
    const int checkState = Disabled() ? (FRadioItem ? MC_BULLETDISABLED : MC_CHECKMARKDISABLED)
                                      : (FRadioItem ? MC_BULLETNORMAL : MC_CHECKMARKNORMAL);
    const TRect image = FImageBounds;
    UxDrawThemeBackground(FTheme, ADC, MENU_POPUPCHECK, checkState, image, nullptr);
  }
  DrawTexts(ADC, text);
  if (FHasSubmenu) {
    const TRect arrow = FSubmenuArrowExcludeBounds;
    UxDrawThemeBackground(FTheme, ADC, MENU_POPUPSUBMENU, Disabled() ? MSM_DISABLED : MSM_NORMAL, arrow, nullptr);
  }
}

void TdxPopupMenuItemInfo::DrawImage(HDC ADC, COLORREF ATextColor, bool ADisabled) {
  switch (FImageKind) {
    case TdxMenuImageKind::ImageList: {
      const TOwned<TCanvas> canvas(New<TCanvas>());
      const TCanvasDCScope attached(canvas.get(), ADC);
      FImageList->Draw(canvas.get(), FImageBounds.Left, FImageBounds.Top, FImageIndex, !ADisabled);
      return;
    }
    case TdxMenuImageKind::Bitmap: {
      const TOwned<TCanvas> canvas(New<TCanvas>());
      const TCanvasDCScope attached(canvas.get(), ADC);
      canvas->StretchDraw(FImageBounds, FBitmap);
      return;
    }
    case TdxMenuImageKind::HBitmap:
      if (DrawNativeBitmap(ADC)) return;
      break;
    case TdxMenuImageKind::CheckMark:
    case TdxMenuImageKind::None:
      break;
  }
  if (FChecked) DrawPopupSystemCheck(ADC, FImageBounds, FGlyphSize, FRadioItem, ADisabled, ATextColor);
}

bool TdxPopupMenuItemInfo::DrawNativeBitmap(HDC ADC) {
  const auto index = reinterpret_cast<UINT_PTR>(FItemBitmap);
  if (FItemBitmap && index >= reinterpret_cast<UINT_PTR>(HBMMENU_POPUP_CLOSE) &&
      index <= reinterpret_cast<UINT_PTR>(HBMMENU_POPUP_MINIMIZE)) {
    static constexpr UINT glyphs[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONRESTORE, DFCS_CAPTIONMAX, DFCS_CAPTIONMIN};
    RECT r = CenteredRect(FImageBounds, FGlyphSize, FGlyphSize);
    DrawFrameControl(ADC, &r, DFC_CAPTION,
                     glyphs[index - reinterpret_cast<UINT_PTR>(HBMMENU_POPUP_CLOSE)] | DFCS_FLAT);
    return true;
  }
  if (FItemBitmap && index > reinterpret_cast<UINT_PTR>(HBMMENU_POPUP_MINIMIZE)) {
    BITMAP info{};
    if (GetObjectW(FItemBitmap, sizeof(info), &info)) {
      const TBitmapDC source(FItemBitmap);
      // A smaller bitmap sits in the middle of its cell, one pixel further
      // right and down.
      const int w = std::min<int>(info.bmWidth, FImageBounds.Width());
      const int h = std::min<int>(info.bmHeight, FImageBounds.Height());
      const int dx = w < FImageBounds.Width() ? 1 : 0;
      const int dy = h < FImageBounds.Height() ? 1 : 0;
      const TRect r = CenteredRect(FImageBounds, w, h);
      BitBlt(ADC, r.Left + dx, r.Top + dy, w, h, source.DC(), 0, 0, SRCCOPY);
      return true;
    }
  }
  return false;
}

void TdxPopupMenuItemInfo::DrawTexts(HDC ADC, COLORREF ATextColor) {
  const auto drawText = [&](const String& AText, const TRect& ARect, UINT AFlags) {
    if (AText.empty() || ARect.IsEmpty()) return;
    RECT r = ARect;
    DrawTextW(ADC, AText.c_str(), static_cast<int>(AText.size()), &r, AFlags | DT_VCENTER);
  };
  const auto drawAll = [&](COLORREF AColor, int AOffset) {
    SetTextColor(ADC, AColor);
    const auto shifted = [AOffset](TRect R) {
      R.Offset(AOffset, AOffset);
      return R;
    };
    drawText(FCaption, shifted(FTextBounds), FTextFlags);
    const UINT shortCutFlags = (FTextFlags & ~(DT_LEFT | DT_RIGHT | DT_CENTER)) | (FRightToLeft ? DT_LEFT : DT_RIGHT);
    drawText(FShortCutText, shifted(FShortCutBounds), shortCutFlags);
  };
  if (Disabled() && !FTheme && !FWinXPFlatMenus && !Selected()) {
    drawAll(GetSysColor(COLOR_BTNHIGHLIGHT), 1);
    drawAll(GetSysColor(COLOR_BTNSHADOW), 0);
  } else {
    drawAll(ATextColor, 0);
  }
}

void TdxPopupMenuItemInfo::DrawPopupSystemCheck(HDC ADC, const TRect& ABounds, int AGlyphSize, bool ARadio,
                                                bool ADisabled, COLORREF AColor) {
  DrawMenuGlyph(ADC, ABounds, AGlyphSize, ARadio ? DFCS_MENUBULLET : DFCS_MENUCHECK, ADisabled, AColor);
}

void TdxPopupMenuItemInfo::DrawPopupSystemArrow(HDC ADC, const TRect& ABounds, int AGlyphSize, bool ARightToLeft,
                                                bool ADisabled, COLORREF AColor) {
  DrawMenuGlyph(ADC, ABounds, AGlyphSize, ARightToLeft ? DFCS_MENUARROWRIGHT : DFCS_MENUARROW, ADisabled, AColor);
}

// ---------------------------------------------------------------------------
// dxPopupMenuController

LRESULT CALLBACK MenuWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  TContextMenuInfo* info = FindContextMenu(AWnd);
  // A window that is no longer recorded has no procedure to go to.
  if (!info) return 0;
  try {
    TContextMenuInfo copy = *info;
    const LRESULT result = HandleMenuMessage(AWnd, AMsg, AWParam, ALParam, copy);
    // The record may have gone (the window destroyed, the hook removed)
    // while the message ran.
    if (TContextMenuInfo* still = FindContextMenu(AWnd)) {
      still->Menu = copy.Menu;
      still->OldBrush = copy.OldBrush;
    }
    return result;
  } catch (...) {
    HandleCallbackException(nullptr);
    return 0;
  }
}

bool dxSkinnedPopupMenus() { return GSkinnedOption; }

void dxSetSkinnedPopupMenus(bool AValue) {
  GSkinnedOption = AValue;
  ApplyMenuSwitches();
}

int dxWin11MenuMode() { return GWin11MenuMode; }

void dxSetWin11MenuMode(int AValue) {
  GWin11MenuMode = AValue;
  ApplyMenuSwitches();
}

void ApplyMenuSwitches() {
  SetSkinnedMenusSwitch(GSkinnedOption);
  SetWin11MenusSwitch(GWin11MenuMode != 1);
}

void SetSkinnedMenusSwitch(bool AOn) {
  AOn = AOn && IsWinVistaOrLater && AreVisualStylesAvailable();
  if (AOn == GSkinnedSwitch) return;
  GSkinnedSwitch = AOn;
  UpdateHook();
}

void SetWin11MenusSwitch(bool AOn) {
  AOn = AOn && dxIsWindows11();
  if (AOn == GWin11Switch) return;
  GWin11Switch = AOn;
  UpdateHook();
}

bool SkinnedMenusSwitch() { return GSkinnedSwitch; }
bool Win11MenusSwitch() { return GWin11Switch; }
bool IsMenuHookInstalled() { return GHookInstalled; }

bool UsesSkinnedMenus() {
  if (!GSkinnedSwitch || !HasRootLookAndFeel()) return false;
  TcxLookAndFeel* root = GetRootLookAndFeel();
  return root && root->SkinPainter() && AreVisualStylesAvailable();
}

bool UsesWin11MenuHandling() { return GWin11Switch && !UsesSkinnedMenus(); }

int SubclassedMenuWindowCount() { return GContextMenus ? static_cast<int>(GContextMenus->size()) : 0; }
bool IsMenuWindowSubclassed(HWND AWnd) { return FindContextMenu(AWnd) != nullptr; }
bool IsPopupListWindowSubclassed() { return GPopupListWnd != nullptr; }

TdxWindows81Probe dxSetWindows81Probe(TdxWindows81Probe AProbe) {
  const TdxWindows81Probe old = GWindows81Probe;
  GWindows81Probe = AProbe ? AProbe : &SystemIsWindows81OrLater;
  return old;
}

HBRUSH MenuBackgroundBrush() {
  RefreshPainterRecord();
  return GPainterRecord.Brush.Get();
}

void dxPopupMenusInitialization() {
  GListener = New<TdxPopupLookAndFeelListener>();
  if (TcxLookAndFeel* root = GetRootLookAndFeel()) root->AddChangeListener(GListener);
  ApplyMenuSwitches();
}

void dxPopupMenusFinalization() {
  if (GListener) {
    if (HasRootLookAndFeel()) {
      if (TcxLookAndFeel* root = GetRootLookAndFeel()) root->RemoveChangeListener(GListener);
    }
    FreeAndNil(GListener);
  }
  GSkinnedSwitch = GWin11Switch = false;
  UninstallMenuHook();
  GPainterRecord.Brush.Reset();
  GPainterRecord.BrushColor = CLR_INVALID;
}
