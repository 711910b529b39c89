// Owner-drawn popup menus: the process's menu windows ("#32768") subclassed
// from their creation by a CBT hook, and the layout and drawing of one item.
//
// Classes in this file:
//   TdxPopupMenuSkinElements, IdxPopupMenuSkinPainter   what a skin offers menus
//   TdxPopupMenuItemInfo   lays out and draws one item of a native or class-library menu
//   dxPopupMenuController  the switches, the hook and the subclassed windows
//
// Two switches decide: the skinned switch (the library option, on by
// default; off before Vista or without visual styles) and the Windows 11
// switch (off before Windows 11 or when the Windows 11 menu mode is 1). The
// hook lives while either is on; a window is subclassed only when a skin
// painter draws the menus or the Windows 11 frame message must be swallowed.
// Items keep the sizes that the system measures; only item and frame
// drawing is taken over. UI thread only.
#pragma once

#include "library/core/system/dxUxTheme.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "platform/runtime/System.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"

#include <uxtheme.h>

// The undocumented messages of themed menus: $92 draws an item (its
// parameter begins with a DRAWITEMSTRUCT whose hwndItem is the menu), $95
// paints the frame on Windows 11.
constexpr UINT dxWM_MENUDRAWITEM = 0x92;
constexpr UINT dxWM_MENUPAINTFRAME = 0x95;
#ifndef MN_GETHMENU
constexpr UINT MN_GETHMENU = 0x01E1;
#endif
constexpr UINT dxMN_SIZEWINDOW = 0x01E2;

// The skin elements menus are drawn with; any may be missing (nothing is
// drawn for it). DisabledTextColor is clDefault when the skin has none.
struct TdxPopupMenuSkinElements {
  TdxSkinElement* PopupMenu = nullptr;
  TdxSkinElement* Gutter = nullptr;
  TdxSkinElement* Selection = nullptr;
  TdxSkinElement* Separator = nullptr;
  // For separators lower than the first one's minimum size.
  TdxSkinElement* SecondSeparator = nullptr;
  TColor DisabledTextColor = clDefault;
};

// Implemented by a skin painter whose skin has elements for popup menus.
struct IdxPopupMenuSkinPainter : public virtual IInterface {
  static constexpr GUID IID = {0x5E0C2A7B, 0x93D4, 0x4F1E, {0xA6, 0x2C, 0x71, 0x0B, 0x8E, 0x54, 0xD3, 0x19}};
  virtual TdxPopupMenuSkinElements PopupMenuSkinElements() = 0;

 protected:
  ~IdxPopupMenuSkinPainter() = default;
};

enum class TdxMenuImageKind { None, ImageList, CheckMark, Bitmap, HBitmap };
enum class TdxMenuPaintMode { Standard, Skin, Special };

class TdxPopupMenuItemInfo {
 public:
  // A native item: ADrawItem's itemID is the command or position the system
  // draws, hwndItem the menu; the DPI is that of the menu window's monitor.
  TdxPopupMenuItemInfo(HWND AMenuWindow, const DRAWITEMSTRUCT& ADrawItem, HMENU AMenu);
  // A class-library item: the images are AImageList, else its menu's.
  TdxPopupMenuItemInfo(TMenuItem* AMenuItem, TCustomImageList* AImageList);
  ~TdxPopupMenuItemInfo();
  TdxPopupMenuItemInfo(const TdxPopupMenuItemInfo&) = delete;
  TdxPopupMenuItemInfo& operator=(const TdxPopupMenuItemInfo&) = delete;

  // Text is measured and drawn in the menu font at the item DPI (bold for
  // the default item); ADC is left as it was. AState holds ODS_* flags.
  void CalculateLayout(HDC ADC, const TRect& ABounds, UINT AState);
  void Draw(HDC ADC, const TRect& ABounds, UINT AState);

  // The menu check mark or bullet (DFC_MENU) centred in ABounds, drawn in
  // AColor; disabled: embossed in the highlight and shadow colours.
  static void DrawPopupSystemCheck(HDC ADC, const TRect& ABounds, int AGlyphSize, bool ARadio, bool ADisabled,
                                   COLORREF AColor);
  // The submenu arrow likewise.
  static void DrawPopupSystemArrow(HDC ADC, const TRect& ABounds, int AGlyphSize, bool ARightToLeft,
                                   bool ADisabled, COLORREF AColor);

  // What the item is
  const String& Caption() const { return FCaption; }
  const String& ShortCutText() const { return FShortCutText; }
  bool IsSeparator() const { return FIsSeparator; }
  bool HasSubmenu() const { return FHasSubmenu; }
  bool Checked() const { return FChecked; }
  bool RadioItem() const { return FRadioItem; }
  bool RightToLeft() const { return FRightToLeft; }
  TdxMenuImageKind ImageKind() const { return FImageKind; }
  TdxMenuPaintMode PaintMode() const { return FPaintMode; }
  int PPI() const { return FPPI; }
  TCustomImageList* ImageList() const { return FImageList; }
  int ImageIndex() const { return FImageIndex; }
  int GlyphSize() const { return FGlyphSize; }
  HTHEME Theme() const { return FTheme; }
  // Tests draw the plain look with visual styles on.
  void SetTheme(HTHEME AValue);

  // Layout results
  const TRect& Bounds() const { return FBounds; }
  const TRect& GutterBounds() const { return FGutterBounds; }
  const TRect& ImageBackgroundBounds() const { return FImageBackgroundBounds; }
  const TRect& ImageBounds() const { return FImageBounds; }
  const TRect& SelectionBounds() const { return FSelectionBounds; }
  const TRect& SeparatorBounds() const { return FSeparatorBounds; }
  const TRect& ShortCutBounds() const { return FShortCutBounds; }
  const TRect& SubmenuArrowBounds() const { return FSubmenuArrowBounds; }
  const TRect& SubmenuArrowExcludeBounds() const { return FSubmenuArrowExcludeBounds; }
  const TRect& TextAreaBounds() const { return FTextAreaBounds; }
  const TRect& TextBounds() const { return FTextBounds; }
  UINT TextFlags() const { return FTextFlags; }

 private:
  void CalculatePlainLayout(HDC ADC);
  void CalculateThemedLayout(HDC ADC);
  void CalculateSubmenuArrowBounds();
  void MirrorLayout();
  void SelectMenuFont(HDC ADC);
  void DrawPlain(HDC ADC);
  void DrawThemed(HDC ADC);
  void DrawSkinned(HDC ADC);
  void DrawSkinBackground(HDC ADC, const TRect& ARect);
  void InitializeForDpi(int APPI);
  void DrawImage(HDC ADC, COLORREF ATextColor, bool ADisabled);
  // Answers whether the item's native bitmap was drawn.
  bool DrawNativeBitmap(HDC ADC);
  void DrawTexts(HDC ADC, COLORREF ATextColor);
  bool Disabled() const { return (FState & (ODS_DISABLED | ODS_GRAYED)) != 0; }
  bool Selected() const { return (FState & ODS_SELECTED) != 0; }
  int Scale(int AValue) const { return MulDiv(AValue, FPPI, 96); }

  String FCaption;
  String FShortCutText;
  bool FIsSeparator = false;
  bool FHasSubmenu = false;
  bool FChecked = false;
  bool FRadioItem = false;
  bool FRightToLeft = false;
  bool FWinXPFlatMenus = false;
  TdxMenuImageKind FImageKind = TdxMenuImageKind::None;
  TdxMenuPaintMode FPaintMode = TdxMenuPaintMode::Standard;
  HBITMAP FItemBitmap = nullptr;
  TCustomImageList* FImageList = nullptr;
  int FImageIndex = -1;
  TBitmap* FBitmap = nullptr;
  TPopupAlignment FAlignment = paLeft;
  int FPPI = 96;
  int FGlyphSize = 0;
  HTHEME FTheme = nullptr;
  bool FOwnsTheme = false;
  UINT FState = 0;
  UINT FTextFlags = 0;
  TOwnedFont FMenuFont;
  bool FMenuFontBold = false;
  TSize FSubMenuSize{};
  TdxMargins FTextMargins;
  TRect FBounds, FGutterBounds, FImageBackgroundBounds, FImageBounds, FSelectionBounds, FSeparatorBounds,
      FShortCutBounds, FSubmenuArrowBounds, FSubmenuArrowExcludeBounds, FTextAreaBounds, FTextBounds;
};

// ---------------------------------------------------------------------------
// dxPopupMenuController

// The library option behind the skinned switch (on by default) and the
// Windows 11 menu mode (0: handle Windows 11 menus, 1: leave them). Setting
// either applies the switches.
bool dxSkinnedPopupMenus();
void dxSetSkinnedPopupMenus(bool AValue);
int dxWin11MenuMode();
void dxSetWin11MenuMode(int AValue);

// Turns each switch on or off as its option and the system allow.
void ApplyMenuSwitches();
void SetSkinnedMenusSwitch(bool AOn);
void SetWin11MenusSwitch(bool AOn);
bool SkinnedMenusSwitch();
bool Win11MenusSwitch();
bool IsMenuHookInstalled();

// A skin painter draws the menus (skinned switch on, the root look-and-feel
// has a skin painter, visual styles available).
bool UsesSkinnedMenus();
// The Windows 11 switch is on and no skin draws.
bool UsesWin11MenuHandling();

// The menu windows subclassed now.
int SubclassedMenuWindowCount();
bool IsMenuWindowSubclassed(HWND AWnd);
// The brush menu backgrounds take (clMenu without a skin element).
HBRUSH MenuBackgroundBrush();

// Whether the system has per-monitor DPI (Windows 8.1 and later): a
// class-library item then takes the DPI of its menu's owner's monitor.
// Tests inject the answer; null puts the system's back.
using TdxWindows81Probe = bool (*)();
TdxWindows81Probe dxSetWindows81Probe(TdxWindows81Probe AProbe);

// The window procedure of subclassed menu windows.
LRESULT CALLBACK MenuWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
// The popup menus' window draws the class library's items itself from the
// first class-library menu sized until the last menu window is gone.
bool IsPopupListWindowSubclassed();

void dxPopupMenusInitialization();
void dxPopupMenusFinalization();
