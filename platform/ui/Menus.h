// Menus: items, popup menus and keyboard shortcuts.
//
// Classes in this file:
//   TShortCut, ShortCut, ShortCutToKey, ShortCutToText, TextToShortCut
//   TMenuItem               one entry; its children form a submenu
//   TMenu                   the root item and the Windows menu built from it
//   TPopupMenu              a context menu shown at a screen point
//   PopupList, PopupListWindow  the popup menus and the window that owns them when shown
//   DrawMenuGlyph           a menu check mark, bullet or arrow in any colour
//   StripHotkey             a caption without its accelerator marks
//
// The Windows menu is built when it is shown, from the items as they are
// then; a chosen command runs the item's Click. An owner-drawn menu (or one
// with images) builds owner-drawn items whose identifier is the item's
// command: the window that owns the shown menu hands WM_MEASUREITEM and
// WM_DRAWITEM to the item, whose MeasureItem and DrawItem lay out and draw
// text, shortcut, check mark and image.
#pragma once

#include "platform/classes/Component.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Controls.h"

#include <vector>

class TMenu;
class TCustomImageList;

class EMenuError : public Exception { public: using Exception::Exception; };

// Key code in the low byte, scShift/scCtrl/scAlt above it.
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD AKey, bool AShift, bool ACtrl, bool AAlt);
void ShortCutToKey(TShortCut AShortCut, WORD& AKey, bool& AShift, bool& ACtrl, bool& AAlt);
// "Ctrl+S", "Shift+F5", "Alt+Enter" (the platform's English key names).
String ShortCutToText(TShortCut AShortCut);
// The inverse; 0 for a text it does not know.
TShortCut TextToShortCut(const String& AText);
String StripHotkey(const String& AText);

// An item that starts a new column of its menu (with a bar between them).
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
template <>
struct TEnumInfo<TMenuBreak> {
  static constexpr const wchar_t* Name = L"TMenuBreak";
  static constexpr const wchar_t* Names[] = {L"mbNone", L"mbBreak", L"mbBarBreak"};
  static constexpr TMenuBreak Last = mbBarBreak;
};

class TMenuItem : public TComponent {
  SK_CLASS(TMenuItem, TComponent)
 public:
  static void Publish(TPublisher<TMenuItem>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Properties
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue) { FCaption = AValue; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue) { FEnabled = AValue; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { FVisible = AValue; }
  bool Default() const { return FDefault; }
  void SetDefault(bool AValue) { FDefault = AValue; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool AValue) { FRadioItem = AValue; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int AValue) { FGroupIndex = AValue; }
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool AValue) { FAutoCheck = AValue; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut AValue) { FShortCut = AValue; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& AValue) { FHint = AValue; }
  bool IsLine() const { return FCaption == L"-"; }
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak AValue) { FBreak = AValue; }
  // The command id of this item in a built menu.
  UINT Command() const { return FCommand; }
  // The image of the menu's image list drawn beside the caption (-1: none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue) { FImageIndex = AValue; }
  // Drawn beside the caption when the menu's image list has no image for the
  // item; made on first use.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* AValue);
  bool HasBitmap() const;
  // The menu the item belongs to, through its parents (null when none).
  TMenu* GetParentMenu() const;

  // The submenu
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int AIndex) const;
  TMenuItem* Parent() const { return FParent; }
  int IndexOf(TMenuItem* AItem) const;
  void Add(TMenuItem* AItem);
  void Insert(int AIndex, TMenuItem* AItem);
  // Takes the item out (it is not freed).
  void Remove(TMenuItem* AItem);
  void Delete(int AIndex) { Remove(Items(AIndex)); }
  // Frees every item of the submenu.
  void Clear();
  // The item (at any depth) with this command id or shortcut.
  TMenuItem* FindCommand(UINT ACommand);
  TMenuItem* FindShortCut(TShortCut AShortCut);

  // Runs OnClick (or the action); AutoCheck toggles Checked first.
  virtual void Click();

  // Components
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* AValue) override;
  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;

  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* AValue);

  TNotifyEvent OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent AValue) { FOnClick = AValue; }

  // Appends this item's submenu entries to AMenu (a Windows menu), ordered
  // from the right when ARightToLeft, owner-drawn when AOwnerDraw.
  void BuildMenu(HMENU AMenu, bool ARightToLeft = false, bool AOwnerDraw = false);

  // An owner-drawn item's size in the menu font (ADC's font is left as it
  // was), and its drawing on ADC: the menu colours by AState (ODS_xxx), the
  // image column (image, bitmap or check mark), caption and shortcut.
  virtual void MeasureItem(HDC ADC, int& AWidth, int& AHeight);
  virtual void DrawItem(HDC ADC, const TRect& ARect, UINT AState);

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  friend class TMenu;
  void ActionChanged(TObject* Sender);
  bool IsRightToLeft() const;
  // The image column's glyph: the menu's images, else the check mark (or a
  // larger bitmap).
  TSize GlyphSize() const;
  // ShortCutToText of the shortcut; none for an item with a submenu.
  String ShortCutText() const;
  void DrawItemImage(HDC ADC, const TRect& AColumn, bool ADisabled, COLORREF AInk);

  String FCaption;
  bool FChecked;
  bool FEnabled;
  bool FVisible;
  bool FDefault;
  bool FRadioItem;
  bool FAutoCheck;
  TMenuBreak FBreak;
  int FGroupIndex;
  TShortCut FShortCut;
  String FHint;
  UINT FCommand;
  int FImageIndex;
  TOwned<TBitmap> FBitmap;
  TMenuItem* FParent;
  TMenu* FMenu;
  std::vector<TMenuItem*> FItems;
  TOwned<TActionLink> FActionLink;
  TNotifyEvent FOnClick;
};

class TMenu : public TComponent {
  SK_CLASS(TMenu, TComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TMenuItem* Items() const { return FItems.get(); }
  // Runs the item of a shortcut key message (WM_KEYDOWN, CN_KEYDOWN and
  // their Sys twins) and answers whether one took it.
  bool IsShortCut(TMessage& Message);
  // Runs the item with this command id; answers whether there was one.
  bool DispatchCommand(UINT ACommand);
  TMenuItem* FindItem(UINT ACommand) { return FItems->FindCommand(ACommand); }
  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;

  // With ParentBiDiMode (the default) the menu reads as the control that
  // owns it; setting BiDiMode ends that. A right-to-left menu orders its
  // items from the right and opens to the left of the point.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode AValue);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool AValue) { FParentBiDiMode = AValue; }
  bool IsRightToLeft() const { return BiDiMode() != bdLeftToRight; }

  // Images of the items (ImageIndex); a menu with images is owner-drawn.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool AValue) { FOwnerDraw = AValue; }
  bool IsOwnerDraw() const { return FOwnerDraw || FImages; }
  // WM_MEASUREITEM and WM_DRAWITEM of one of this menu's items go to the
  // item; answers whether the message was for one.
  bool DispatchOwnerDraw(TMessage& Message);

 protected:
  bool IsBiDiModeStored() const { return !FParentBiDiMode; }
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  TOwned<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
template <>
struct TEnumInfo<TPopupAlignment> {
  static constexpr const wchar_t* Name = L"TPopupAlignment";
  static constexpr const wchar_t* Names[] = {L"paLeft", L"paRight", L"paCenter"};
  static constexpr TPopupAlignment Last = paCenter;
};

class TPopupMenu : public TMenu {
  SK_CLASS(TPopupMenu, TMenu)
 public:
  static void Publish(TPublisher<TPopupMenu>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Shows the menu at a screen point and returns once it closed (after the
  // chosen item's Click).
  virtual void Popup(int X, int Y);
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool AValue) { FAutoPopup = AValue; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment AValue) { FAlignment = AValue; }
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* AValue) { FPopupComponent = AValue; }
  TNotifyEvent OnPopup() const { return FOnPopup; }
  void SetOnPopup(TNotifyEvent AValue) { FOnPopup = AValue; }
  TNotifyEvent OnClose() const { return FOnClose; }
  void SetOnClose(TNotifyEvent AValue) { FOnClose = AValue; }

  // Picks the command shown at the point: the Windows call by default; tests
  // replace it to choose without a real menu loop.
  using TTrackProc = UINT (*)(HMENU AMenu, UINT AFlags, int X, int Y, HWND AOwner);
  static TTrackProc SetTrackProc(TTrackProc AProc);

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  bool FAutoPopup;
  TPopupAlignment FAlignment;
  TComponent* FPopupComponent;
  TNotifyEvent FOnPopup;
  TNotifyEvent FOnClose;
};

// The popup menus that exist, oldest first, and the window that owns a
// popup menu while it is shown (made on first use; null before the unit
// started). That window hands the owner-draw messages of the items to them.
const std::vector<TPopupMenu*>& PopupList();
HWND PopupListWindow();

// A DFC_MENU glyph (DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW...) of
// AGlyphSize centred in ABounds, in AColor; disabled: a highlight copy one
// pixel lower right under a shadow copy.
void DrawMenuGlyph(HDC ADC, const TRect& ABounds, int AGlyphSize, UINT AGlyph, bool ADisabled, COLORREF AColor);

void MenusInitialization();
void MenusFinalization();
