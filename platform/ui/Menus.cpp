#include "platform/ui/Menus.h"

#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Messages.h"
#include "platform/ui/WindowAllocation.h"

#include <algorithm>
#include <atomic>
#include <cwctype>

namespace {

// Command ids of menu items; 0 means "no command" to TrackPopupMenu.
std::atomic<UINT> GNextCommand{1};

UINT NewCommand() {
  UINT id = GNextCommand++;
  if (id >= 0x7FFF) {
    GNextCommand = 1;
    id = GNextCommand++;
  }
  return id;
}

std::vector<TPopupMenu*> GPopupList;

// The owner window of shown popup menus.
class TPopupOwner : public TObject {
  SK_CLASS(TPopupOwner, TObject)
 public:
  void Create() { FWindow = AllocateHWnd(BindEvent<&TPopupOwner::WndProc>(this)); }
  void Destroy() override {
    DeallocateHWnd(FWindow);
    inherited::Destroy();
  }
  HWND Window() const { return FWindow; }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg == WM_MEASUREITEM || Message.Msg == WM_DRAWITEM)
      for (TPopupMenu* menu : GPopupList)
        if (menu->DispatchOwnerDraw(Message)) return;
    Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWindow;
};

// Made by the first popup: most runs show none, and a hidden window is dear
// at start-up under Wine.
TPopupOwner* GPopupOwner = nullptr;
bool GMenusStarted = false;

HWND PopupOwnerWindow() {
  if (!GPopupOwner && GMenusStarted) GPopupOwner = New<TPopupOwner>();
  return GPopupOwner ? GPopupOwner->Window() : nullptr;
}

UINT DefaultTrack(HMENU AMenu, UINT AFlags, int X, int Y, HWND AOwner) {
  // The owner must be in front for the menu to close on an outside click.
  SetForegroundWindow(AOwner);
  const UINT command = static_cast<UINT>(TrackPopupMenu(AMenu, AFlags, X, Y, 0, AOwner, nullptr));
  PostMessageW(AOwner, WM_NULL, 0, 0);
  return command;
}

TPopupMenu::TTrackProc GTrackProc = &DefaultTrack;

struct TKeyName {
  WORD Key;
  const wchar_t* Name;
};
constexpr TKeyName KeyNames[] = {
    {VK_BACK, L"BkSp"},  {VK_TAB, L"Tab"},     {VK_ESCAPE, L"Esc"},  {VK_RETURN, L"Enter"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},   {VK_END, L"End"},
    {VK_HOME, L"Home"},  {VK_LEFT, L"Left"},   {VK_UP, L"Up"},       {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},  {VK_INSERT, L"Ins"},  {VK_DELETE, L"Del"},
};

String KeyName(WORD AKey) {
  if ((AKey >= L'A' && AKey <= L'Z') || (AKey >= L'0' && AKey <= L'9')) return String(1, static_cast<wchar_t>(AKey));
  if (AKey >= VK_F1 && AKey <= VK_F24) return L"F" + std::to_wstring(AKey - VK_F1 + 1);
  for (const auto& k : KeyNames)
    if (k.Key == AKey) return k.Name;
  return L"";
}

bool SameName(const String& A, const String& B) {
  return CompareStringOrdinal(A.c_str(), -1, B.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The default owner-drawn look, in pixels: a column for the image or check
// mark, the caption, the shortcut aligned to the far side.
constexpr int MenuGlyphMargin = 3;      // around the column's glyph
constexpr int MenuCaptionGap = 5;       // column to caption
constexpr int MenuShortCutGap = 16;     // caption to shortcut
constexpr int MenuRightRoom = 10;       // shortcut to the item's edge
constexpr int MenuSeparatorHeight = 8;

TOwnedFont NewMenuFont(bool ABold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  if (ABold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return TOwnedFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

TSize TextExtent(HDC ADC, const String& AText, UINT AFlags) {
  RECT r{};
  DrawTextW(ADC, AText.c_str(), static_cast<int>(AText.size()), &r, AFlags | DT_SINGLELINE | DT_CALCRECT);
  return TSize(r.right - r.left, r.bottom - r.top);
}

TRect Mirrored(const TRect& R, const TRect& ABounds) {
  return TRect(ABounds.Left + ABounds.Right - R.Right, R.Top, ABounds.Left + ABounds.Right - R.Left, R.Bottom);
}

}  // namespace

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(WORD AKey, bool AShift, bool ACtrl, bool AAlt) {
  if (AKey & 0xFF00) return scNone;
  TShortCut result = AKey;
  if (AShift) result |= scShift;
  if (ACtrl) result |= scCtrl;
  if (AAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut AShortCut, WORD& AKey, bool& AShift, bool& ACtrl, bool& AAlt) {
  AKey = AShortCut & 0xFF;
  AShift = (AShortCut & scShift) != 0;
  ACtrl = (AShortCut & scCtrl) != 0;
  AAlt = (AShortCut & scAlt) != 0;
}

String ShortCutToText(TShortCut AShortCut) {
  const String name = KeyName(AShortCut & 0xFF);
  if (name.empty()) return L"";
  String result;
  if (AShortCut & scShift) result += L"Shift+";
  if (AShortCut & scCtrl) result += L"Ctrl+";
  if (AShortCut & scAlt) result += L"Alt+";
  return result + name;
}

TShortCut TextToShortCut(const String& AText) {
  String rest = AText;
  TShortCut modifiers = 0;
  for (;;) {
    const auto plus = rest.find(L'+');
    if (plus == String::npos || plus + 1 == rest.size()) break;
    const String part = rest.substr(0, plus);
    if (SameName(part, L"Shift")) modifiers |= scShift;
    else if (SameName(part, L"Ctrl")) modifiers |= scCtrl;
    else if (SameName(part, L"Alt")) modifiers |= scAlt;
    else return scNone;
    rest = rest.substr(plus + 1);
  }
  for (WORD key = 1; key < 0x100; ++key)
    if (const String name = KeyName(key); !name.empty() && SameName(name, rest)) return key | modifiers;
  return scNone;
}

String StripHotkey(const String& AText) {
  String result;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] == L'&') {
      // "&&" stands for one ampersand.
      if (i + 1 < AText.size() && AText[i + 1] == L'&') {
        result += L'&';
        ++i;
      }
      continue;
    }
    result += AText[i];
  }
  return result;
}

// ---------------------------------------------------------------------------
// TMenuItem

void TMenuItem::Publish(TPublisher<TMenuItem>& P) {
  P.Property(L"Action", &TMenuItem::Action, &TMenuItem::SetAction);
  P.Property(L"AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
  P.Property(L"Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
  P.Property(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  P.Property(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
  P.Property(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
  P.Property(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  P.Property(L"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  P.Property(L"Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  P.Property(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  P.Property(L"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  P.Property(L"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0);
  P.Property(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  P.Property(L"OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick);
}

void TMenuItem::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FEnabled = true;
  FVisible = true;
  FCommand = NewCommand();
  FImageIndex = -1;
}

void TMenuItem::Destroy() {
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    Remove(item);
    item->Free();
  }
  FActionLink.reset();
  FBitmap.reset();
  inherited::Destroy();
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap.reset(New<TBitmap>());
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* AValue) { Bitmap()->Assign(AValue); }

bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

bool TMenuItem::IsRightToLeft() const {
  const TMenu* menu = GetParentMenu();
  return menu && menu->IsRightToLeft();
}

void TMenuItem::SetChecked(bool AValue) {
  if (FChecked == AValue) return;
  FChecked = AValue;
  // Radio items of one group are checked one at a time.
  if (AValue && FRadioItem && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
}

TMenuItem* TMenuItem::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return FItems[AIndex];
}

int TMenuItem::IndexOf(TMenuItem* AItem) const {
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* AItem) { Insert(Count(), AItem); }

void TMenuItem::Insert(int AIndex, TMenuItem* AItem) {
  if (!AItem) return;
  if (AItem->FParent) throw EMenuError(L"Menüeintrag wurde bereits eingefügt");
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == AItem) throw EMenuError(L"Ein Menüeintrag kann sich nicht selbst enthalten");
  AIndex = std::clamp(AIndex, 0, Count());
  FItems.insert(FItems.begin() + AIndex, AItem);
  AItem->FParent = this;
}

void TMenuItem::Remove(TMenuItem* AItem) {
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  if (it == FItems.end()) return;
  FItems.erase(it);
  AItem->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    Remove(item);
    item->Free();
  }
}

TMenuItem* TMenuItem::FindCommand(UINT ACommand) {
  if (FCommand == ACommand) return this;
  for (TMenuItem* item : FItems)
    if (TMenuItem* found = item->FindCommand(ACommand)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut AShortCut) {
  if (AShortCut == scNone) return nullptr;
  for (TMenuItem* item : FItems) {
    if (item->FShortCut == AShortCut) return item;
    if (TMenuItem* found = item->FindShortCut(AShortCut)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck && !FActionLink) SetChecked(!FChecked);
  if (FOnClick && (!Action() || FOnClick != Action()->OnExecute())) FOnClick(this);
  else if (FActionLink) FActionLink->Execute(this);
  else CallEvent(FOnClick, this);
}

TComponent* TMenuItem::GetParentComponent() {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* AValue) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(AValue)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(AValue)) item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& AProc, TComponent* ARoot) {
  for (TMenuItem* item : FItems)
    if (item->Owner() == ARoot) AProc(item);
}

void TMenuItem::SetAction(TBasicAction* AValue) {
  if (!AValue) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink.reset(New<TActionLink>(this));
  FActionLink->SetAction(AValue);
  FActionLink->SetOnChange(BindEvent<&TMenuItem::ActionChanged>(this));
  AValue->FreeNotification(this);
  ActionChanged(AValue);
}

void TMenuItem::ActionChanged(TObject* Sender) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  FCaption = action->Caption();
  FEnabled = action->Enabled();
  FChecked = action->Checked();
  FVisible = action->Visible();
  FHint = action->Hint();
  FShortCut = action->ShortCut();
}

void TMenuItem::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

void TMenuItem::BuildMenu(HMENU AMenu, bool ARightToLeft, bool AOwnerDraw) {
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    const UINT breakFlag = item->FBreak == mbBreak ? MF_MENUBREAK : item->FBreak == mbBarBreak ? MF_MENUBARBREAK : 0;
    if (item->IsLine()) {
      AppendMenuW(AMenu, MF_SEPARATOR | breakFlag, 0, nullptr);
    } else {
      String text = item->FCaption;
      if (item->FShortCut) text += L"\t" + ShortCutToText(item->FShortCut);
      UINT flags = MF_STRING | breakFlag;
      if (!item->FEnabled) flags |= MF_GRAYED;
      if (item->FChecked) flags |= MF_CHECKED;
      if (item->Count() > 0) {
        HMENU sub = CreatePopupMenu();
        item->BuildMenu(sub, ARightToLeft, AOwnerDraw);
        AppendMenuW(AMenu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      } else {
        AppendMenuW(AMenu, flags, item->FCommand, text.c_str());
      }
      if (item->FDefault) SetMenuDefaultItem(AMenu, item->FCommand, FALSE);
    }
    const UINT type = (item->FRadioItem && item->FChecked ? MFT_RADIOCHECK : 0) |
                      (ARightToLeft ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0) | (AOwnerDraw ? MFT_OWNERDRAW : 0);
    if (type == 0) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    const UINT last = GetMenuItemCount(AMenu) - 1;
    GetMenuItemInfoW(AMenu, last, TRUE, &info);
    info.fType |= type;
    // The owner finds an owner-drawn item by its command, submenus and
    // separators included.
    if (AOwnerDraw) {
      info.fMask |= MIIM_ID | MIIM_DATA;
      info.wID = item->FCommand;
      info.dwItemData = item->FCommand;
    }
    SetMenuItemInfoW(AMenu, last, TRUE, &info);
  }
}

TSize TMenuItem::GlyphSize() const {
  const TMenu* menu = GetParentMenu();
  if (const TCustomImageList* images = menu ? menu->Images() : nullptr) return TSize(images->Width(), images->Height());
  TSize result(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
  if (HasBitmap()) {
    result.cx = std::max<int>(result.cx, FBitmap->Width());
    result.cy = std::max<int>(result.cy, FBitmap->Height());
  }
  return result;
}

String TMenuItem::ShortCutText() const { return FItems.empty() && FShortCut ? ShortCutToText(FShortCut) : String(); }

void TMenuItem::MeasureItem(HDC ADC, int& AWidth, int& AHeight) {
  if (IsLine()) {
    AHeight = MenuSeparatorHeight;
    return;
  }
  const TOwnedFont font = NewMenuFont(FDefault);
  const TSelectObject selected(ADC, font.Get());
  const TSize glyph = GlyphSize();
  const TSize caption = TextExtent(ADC, FCaption.empty() ? L" " : FCaption, 0);
  const String shortCut = ShortCutText();
  AWidth = glyph.cx + 2 * MenuGlyphMargin + MenuCaptionGap + caption.cx + MenuRightRoom;
  if (!shortCut.empty()) AWidth += MenuShortCutGap + TextExtent(ADC, shortCut, DT_NOPREFIX).cx;
  AHeight = std::max<int>(caption.cy, glyph.cy) + 2 * MenuGlyphMargin;
}

void TMenuItem::DrawItem(HDC ADC, const TRect& ARect, UINT AState) {
  const bool selected = (AState & ODS_SELECTED) != 0 && !IsLine();
  const bool disabled = (AState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const COLORREF ink = GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  const TSavedDC saved(ADC);
  {
    const RECT r = ARect;
    FillRect(ADC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  }
  if (IsLine()) {
    RECT line = ARect;
    line.top += (ARect.Height() - 2) / 2;
    DrawEdge(ADC, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const bool rightToLeft = IsRightToLeft();
  const TSize glyph = GlyphSize();
  TRect column(ARect.Left, ARect.Top, ARect.Left + glyph.cx + 2 * MenuGlyphMargin, ARect.Bottom);
  TRect text(column.Right + MenuCaptionGap, ARect.Top, std::max<int>(column.Right + MenuCaptionGap, ARect.Right - MenuRightRoom),
             ARect.Bottom);
  if (rightToLeft) {
    column = Mirrored(column, ARect);
    text = Mirrored(text, ARect);
  }
  DrawItemImage(ADC, column, disabled, ink);

  // Wine leaves ODS_DEFAULT out of the state: the item knows it is the default.
  const TOwnedFont font = NewMenuFont(FDefault || (AState & ODS_DEFAULT) != 0);
  const TSelectObject selectedFont(ADC, font.Get());
  SetBkMode(ADC, TRANSPARENT);
  SetTextColor(ADC, ink);
  UINT flags = DT_SINGLELINE | DT_VCENTER | (rightToLeft ? DT_RTLREADING : 0);
  if (AState & ODS_NOACCEL) flags |= DT_HIDEPREFIX;
  RECT r = text;
  DrawTextW(ADC, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, flags | (rightToLeft ? DT_RIGHT : DT_LEFT));
  if (const String shortCut = ShortCutText(); !shortCut.empty()) {
    r = text;
    DrawTextW(ADC, shortCut.c_str(), static_cast<int>(shortCut.size()), &r,
              flags | DT_NOPREFIX | (rightToLeft ? DT_LEFT : DT_RIGHT));
  }
}

void TMenuItem::DrawItemImage(HDC ADC, const TRect& AColumn, bool ADisabled, COLORREF AInk) {
  const TMenu* menu = GetParentMenu();
  TCustomImageList* images = menu ? menu->Images() : nullptr;
  const auto centred = [&AColumn](int AWidth, int AHeight) {
    return TPoint(AColumn.Left + (AColumn.Width() - AWidth) / 2, AColumn.Top + (AColumn.Height() - AHeight) / 2);
  };
  const bool hasImage = images && FImageIndex >= 0 && FImageIndex < images->Count();
  if (hasImage || HasBitmap()) {
    const TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope attached(canvas.get(), ADC);
    if (hasImage) {
      const TPoint at = centred(images->Width(), images->Height());
      images->Draw(canvas.get(), at.X, at.Y, FImageIndex, !ADisabled);
    } else {
      const TPoint at = centred(FBitmap->Width(), FBitmap->Height());
      canvas->Draw(at.X, at.Y, FBitmap.get());
    }
    // A checked item with an image shows the image pressed in.
    if (FChecked) {
      RECT r = AColumn;
      DrawEdge(ADC, &r, BDR_SUNKENOUTER, BF_RECT);
    }
    return;
  }
  if (FChecked)
    DrawMenuGlyph(ADC, AColumn, GetSystemMetrics(SM_CXMENUCHECK), FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK, false,
                  AInk);
}

// ---------------------------------------------------------------------------
// TMenu

void TMenu::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FItems.reset(New<TMenuItem>(nullptr));
  FItems->FMenu = this;
}

void TMenu::Destroy() {
  FItems.reset();
  inherited::Destroy();
}

TBiDiMode TMenu::BiDiMode() const {
  if (FParentBiDiMode)
    if (const auto* owner = dynamic_cast<const TControl*>(Owner())) return owner->BiDiMode();
  return FBiDiMode;
}

void TMenu::SetBiDiMode(TBiDiMode AValue) {
  FBiDiMode = AValue;
  FParentBiDiMode = false;
}

bool TMenu::IsShortCut(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN && Message.Msg != CN_BASE + WM_KEYDOWN &&
      Message.Msg != CN_BASE + WM_SYSKEYDOWN)
    return false;
  const auto key = static_cast<WORD>(Message.WParam);
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  const bool alt = (Message.LParam & 0x20000000) != 0;
  const TShortCut sc = ::ShortCut(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, alt);
  TMenuItem* item = FItems->FindShortCut(sc);
  if (!item) return false;
  // A hidden or disabled item, or one below such a parent, takes nothing.
  for (TMenuItem* p = item; p && p != FItems.get(); p = p->Parent())
    if (!p->Enabled() || !p->Visible()) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchCommand(UINT ACommand) {
  if (ACommand == 0) return false;
  TMenuItem* item = FItems->FindCommand(ACommand);
  if (!item || item == FItems.get()) return false;
  item->Click();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& AProc, TComponent* ARoot) { FItems->GetChildren(AProc, ARoot); }

void TMenu::SetImages(TCustomImageList* AValue) {
  if (FImages == AValue) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = AValue;
  if (FImages) FImages->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FImages) FImages = nullptr;
}

bool TMenu::DispatchOwnerDraw(TMessage& Message) {
  if (Message.Msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (!measure || measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(measure->itemID);
    if (!item || item == FItems.get()) return false;
    int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
    const TScreenDC screen;
    item->MeasureItem(screen.Get(), width, height);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
  } else if (Message.Msg == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    if (!draw || draw->CtlType != ODT_MENU || !draw->hDC) return false;
    TMenuItem* item = FindItem(draw->itemID);
    if (!item || item == FItems.get()) return false;
    item->DrawItem(draw->hDC, draw->rcItem, draw->itemState);
  } else {
    return false;
  }
  Message.Result = 1;
  return true;
}

// ---------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Publish(TPublisher<TPopupMenu>& P) {
  P.Property(L"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  P.Property(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  P.Property(L"BiDiMode", &TPopupMenu::BiDiMode, &TPopupMenu::SetBiDiMode).Stored(&TPopupMenu::IsBiDiModeStored);
  P.Property(L"ParentBiDiMode", &TPopupMenu::ParentBiDiMode, &TPopupMenu::SetParentBiDiMode).Default(true);
  P.Property(L"Images", &TPopupMenu::Images, &TPopupMenu::SetImages);
  P.Property(L"OwnerDraw", &TPopupMenu::OwnerDraw, &TPopupMenu::SetOwnerDraw).Default(false);
  P.Property(L"OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
  P.Property(L"OnClose", &TPopupMenu::OnClose, &TPopupMenu::SetOnClose);
}

void TPopupMenu::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAutoPopup = true;
  GPopupList.push_back(this);
}

void TPopupMenu::Destroy() {
  std::erase(GPopupList, this);
  inherited::Destroy();
}

TPopupMenu::TTrackProc TPopupMenu::SetTrackProc(TTrackProc AProc) {
  TTrackProc old = GTrackProc;
  GTrackProc = AProc ? AProc : &DefaultTrack;
  return old;
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  CallEvent(FOnPopup, this);
  UINT command = 0;
  {
    const TOwnedMenu menu(CreatePopupMenu());
    if (!menu)
      throw EMenuError(L"CreatePopupMenu schlug fehl (Fehler %d)", {static_cast<unsigned long>(GetLastError())});
    Items()->BuildMenu(menu.Get(), IsRightToLeft(), IsOwnerDraw());
    UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;
    // Right to left the sides change places: a left-aligned menu opens leftwards.
    TPopupAlignment alignment = FAlignment;
    if (IsRightToLeft() && alignment != paCenter) alignment = alignment == paLeft ? paRight : paLeft;
    flags |= alignment == paRight ? TPM_RIGHTALIGN : alignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    command = GTrackProc(menu.Get(), flags, X, Y, PopupOwnerWindow());
  }
  CallEvent(FOnClose, this);
  DispatchCommand(command);
}

const std::vector<TPopupMenu*>& PopupList() { return GPopupList; }

HWND PopupListWindow() { return PopupOwnerWindow(); }

void DrawMenuGlyph(HDC ADC, const TRect& ABounds, int AGlyphSize, UINT AGlyph, bool ADisabled, COLORREF AColor) {
  if (AGlyphSize <= 0) return;
  const int left = ABounds.Left + (ABounds.Width() - AGlyphSize) / 2;
  const int top = ABounds.Top + (ABounds.Height() - AGlyphSize) / 2;
  // Rendered black on white into a mask, then put where the mask is black.
  TOwnedBitmap mask(CreateBitmap(AGlyphSize, AGlyphSize, 1, 1, nullptr));
  const TBitmapDC maskDC(mask.Get());
  if (!maskDC) return;
  RECT cell{0, 0, AGlyphSize, AGlyphSize};
  DrawFrameControl(maskDC.DC(), &cell, DFC_MENU, AGlyph);
  const auto put = [&](int ADX, int ADY, COLORREF AInk) {
    const TOwnedBrush brush(CreateSolidBrush(AInk));
    const TSelectObject selected(ADC, brush.Get());
    const COLORREF oldText = SetTextColor(ADC, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(ADC, RGB(255, 255, 255));
    // Where the mask is black: the brush; where white: the destination.
    BitBlt(ADC, left + ADX, top + ADY, AGlyphSize, AGlyphSize, maskDC.DC(), 0, 0, 0x00B8074A);
    SetTextColor(ADC, oldText);
    SetBkColor(ADC, oldBack);
  };
  if (ADisabled) {
    put(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    put(0, 0, GetSysColor(COLOR_BTNSHADOW));
  } else {
    put(0, 0, AColor);
  }
}

void MenusInitialization() {
  GMenusStarted = true;
  RegisterClasses({TMenuItem::ClassInfo(), TPopupMenu::ClassInfo()});
}

void MenusFinalization() {
  GMenusStarted = false;
  FreeAndNil(GPopupOwner);
}
