#include "platform/ui/Menus.h"

#include "platform/ui/GdiScopes.h"
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
}

void TMenuItem::Destroy() {
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    Remove(item);
    item->Free();
  }
  FActionLink.reset();
  inherited::Destroy();
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

void TMenuItem::BuildMenu(HMENU AMenu, bool ARightToLeft) {
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    const UINT breakFlag = item->FBreak == mbBreak ? MF_MENUBREAK : item->FBreak == mbBarBreak ? MF_MENUBARBREAK : 0;
    if (item->IsLine()) {
      AppendMenuW(AMenu, MF_SEPARATOR | breakFlag, 0, nullptr);
      continue;
    }
    String text = item->FCaption;
    if (item->FShortCut) text += L"\t" + ShortCutToText(item->FShortCut);
    UINT flags = MF_STRING | breakFlag;
    if (!item->FEnabled) flags |= MF_GRAYED;
    if (item->FChecked) flags |= MF_CHECKED;
    if (item->Count() > 0) {
      HMENU sub = CreatePopupMenu();
      item->BuildMenu(sub, ARightToLeft);
      AppendMenuW(AMenu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    } else {
      AppendMenuW(AMenu, flags, item->FCommand, text.c_str());
    }
    if (item->FDefault) SetMenuDefaultItem(AMenu, item->FCommand, FALSE);
    const UINT type = (item->FRadioItem && item->FChecked ? MFT_RADIOCHECK : 0) |
                      (ARightToLeft ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0);
    if (type != 0) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(AMenu, GetMenuItemCount(AMenu) - 1, TRUE, &info);
      info.fType |= type;
      SetMenuItemInfoW(AMenu, GetMenuItemCount(AMenu) - 1, TRUE, &info);
    }
  }
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

// ---------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Publish(TPublisher<TPopupMenu>& P) {
  P.Property(L"Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  P.Property(L"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  P.Property(L"BiDiMode", &TPopupMenu::BiDiMode, &TPopupMenu::SetBiDiMode).Stored(&TPopupMenu::IsBiDiModeStored);
  P.Property(L"ParentBiDiMode", &TPopupMenu::ParentBiDiMode, &TPopupMenu::SetParentBiDiMode).Default(true);
  P.Property(L"OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
  P.Property(L"OnClose", &TPopupMenu::OnClose, &TPopupMenu::SetOnClose);
}

void TPopupMenu::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAutoPopup = true;
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
    Items()->BuildMenu(menu.Get(), IsRightToLeft());
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

void MenusInitialization() {
  GMenusStarted = true;
  RegisterClasses({TMenuItem::ClassInfo(), TPopupMenu::ClassInfo()});
}

void MenusFinalization() {
  GMenusStarted = false;
  FreeAndNil(GPopupOwner);
}
