// The radio group: item values, the chosen item kept in step with the edit
// value and the inner radio buttons, focus and tab order, the radio glyphs
// and captions of a group painted without its windows.
#include "library/stdctrls/cxRadioGroup.h"

#include "library/core/data/cxVariants.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"

#include <vssym32.h>

#include <algorithm>

namespace {

TcxLookAndFeelKind KindOfButtonStyle(TcxEditButtonStyle AStyle) {
  switch (AStyle) {
    case btsFlat: return lfFlat;
    case btsUltraFlat: return lfUltraFlat;
    case btsOffice11: return lfOffice11;
    default: return lfStandard;
  }
}

TcxButtonState RadioGlyphState(TcxEditButtonState AState) {
  switch (AState) {
    case ebsDisabled: return cxbsDisabled;
    case ebsPressed: return cxbsPressed;
    case ebsSelected: return cxbsHot;
    case ebsNormal: break;
  }
  return cxbsNormal;
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxRadioGroupItem

void TcxRadioGroupItem::Publish(TPublisher<TcxRadioGroupItem>& P) {
  P.Property(L"Caption", &TcxCaptionItem::Caption, &TcxCaptionItem::SetCaption);
  P.Property(L"Value", &TcxRadioGroupItem::Value, &TcxRadioGroupItem::SetValue)
      .Stored(&TcxRadioGroupItem::IsValueStored);
  P.Property(L"Tag", &TcxCaptionItem::Tag, &TcxCaptionItem::SetTag).Default(0);
}

void TcxRadioGroupItem::Create(TCollection* ACollection) {
  FValue = Variant::NullValue();
  inherited::Create(ACollection);
}

void TcxRadioGroupItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxRadioGroupItem*>(ASource)) SetValue(source->Value());
  inherited::Assign(ASource);
}

void TcxRadioGroupItem::SetValue(const Variant& AValue) {
  if (IsSameEditValue(FValue, AValue)) return;
  FValue = AValue;
  ReportChange(Index(), copChanged);
}

// ---------------------------------------------------------------------------
// TcxCustomRadioGroupProperties

void TcxCustomRadioGroupProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FDefaultCaption = LoadResString(&cxSRadioGroupDefaultCaption);
  FDefaultValue = Variant::NullValue();
}

TOwned<TcxButtonGroupItems> TcxCustomRadioGroupProperties::CreateItems() {
  return TOwned<TcxButtonGroupItems>(
      New<TcxRadioGroupItems>(static_cast<TPersistent*>(this), TcxRadioGroupItem::ClassInfo()));
}

bool TcxCustomRadioGroupProperties::IsDefaultCaptionStored() const {
  return FDefaultCaption != LoadResString(&cxSRadioGroupDefaultCaption);
}

void TcxCustomRadioGroupProperties::SetDefaultValue(const Variant& AValue) {
  if (IsSameEditValue(FDefaultValue, AValue)) return;
  FDefaultValue = AValue;
  Changed();
}

int TcxCustomRadioGroupProperties::GetRadioGroupItemIndex(const Variant& AEditValue) {
  for (int i = 0; i < Items()->Count(); ++i)
    if (VariantsEqual(GetItemValue(i), AEditValue)) return i;
  return -1;
}

Variant TcxCustomRadioGroupProperties::GetItemValue(int AIndex) {
  if (AIndex == -1) return FDefaultValue;
  TcxRadioGroupItem* item = Items()->GetItem(AIndex);
  if (!item->Value().IsNull()) return item->Value();
  if (!item->Caption().empty()) return Variant(item->Caption());
  return Variant(AIndex);
}

int TcxCustomRadioGroupProperties::GetColumnCount() {
  // No balancing of rows: the columns asked for, as far as there are items.
  return std::max(std::min(Columns(), Items()->Count()), 1);
}

void TcxCustomRadioGroupProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  if (auto* source = dynamic_cast<TcxCustomRadioGroupProperties*>(ASource)) {
    FDefaultCaption = source->DefaultCaption();
    SetDefaultValue(source->DefaultValue());
  }
}

bool TcxCustomRadioGroupProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  return GetRadioGroupItemIndex(AEditValue1) == GetRadioGroupItemIndex(AEditValue2);
}

TClass TcxCustomRadioGroupProperties::GetContainerClass() { return TcxRadioGroup::ClassInfo(); }
TClass TcxCustomRadioGroupProperties::GetViewDataClassType() { return TcxCustomRadioGroupViewData::ClassInfo(); }
TClass TcxCustomRadioGroupProperties::GetViewInfoClass() { return TcxCustomRadioGroupViewInfo::ClassInfo(); }

String TcxCustomRadioGroupProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  const int index = GetRadioGroupItemIndex(AEditValue);
  return index == -1 ? FDefaultCaption : Items()->GetItem(index)->Caption();
}

TcxEditSupportedOperations TcxCustomRadioGroupProperties::GetSupportedOperations() {
  return inherited::GetSupportedOperations().Include(esoHorzAlignment);
}

void TcxCustomRadioGroupProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  ADisplayValue = Variant(GetRadioGroupItemIndex(AEditValue));
}

void TcxRadioGroupProperties::Publish(TPublisher<TcxRadioGroupProperties>& P) {
  using C = TcxRadioGroupProperties;
  P.Property(L"Columns", &C::Columns, &C::SetColumns).Default(1);
  P.Property(L"DefaultCaption", &C::DefaultCaption, &C::SetDefaultCaption).Stored(&C::IsDefaultCaptionStored);
  P.Property(L"DefaultValue", &C::DefaultValue, &C::SetDefaultValue).Stored(&C::IsDefaultValueStored);
  P.Property(L"ImmediatePost", &C::ImmediatePost, &C::SetImmediatePost).Default(false);
  P.Property(L"Items", &C::Items, &C::SetItems);
  P.Property(L"ShowEndEllipsis", &C::ShowEndEllipsis, &C::SetShowEndEllipsis).Default(false);
  P.Property(L"WordWrap", &C::WordWrap, &C::SetWordWrap).Default(false);
}

// ---------------------------------------------------------------------------
// View data

TcxCustomLookAndFeelPainter* TcxCustomRadioGroupViewData::RadioPainter() {
  return Style()->LookAndFeel()->GetAvailablePainter(totButton);
}

void TcxCustomRadioGroupViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                            TcxMouseButton Button, TShiftState Shift,
                                            TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  auto* vi = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  vi->ItemAlignment = UseRightToLeftAlignment ? taRightJustify : taLeftJustify;
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  vi->GlyphSize = RadioPainter()->ScaledRadioButtonSize(ScaleFactor());
}

void TcxCustomRadioGroupViewData::CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                                           TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  inherited::CalculateButtonsViewInfo(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  // A standalone group's chosen item is its checked button.
  if (auto* group = dynamic_cast<TcxCustomRadioGroup*>(Edit()); group && !IsInplace()) vi->ItemIndex = group->ItemIndex();
  // The glyphs stand on the side the reading direction starts from.
  const TLeftRight alignment = UseRightToLeftAlignment ? taRightJustify : taLeftJustify;
  if (!vi->ButtonsInfo.empty() && vi->ItemAlignment != alignment) {
    vi->ItemAlignment = alignment;
    CalculateButtonPositions(ACanvas, AViewInfo);
  }
  for (auto& info : vi->ButtonsInfo)
    CalculateRadioPartAndState(static_cast<TcxGroupBoxButtonViewInfo*>(info.get()), vi->ItemIndex);
}

void TcxCustomRadioGroupViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxCustomRadioGroupViewInfo*>(AViewInfo);
  vi->ItemIndex = Properties()->GetRadioGroupItemIndex(AEditValue);
  for (auto& info : vi->ButtonsInfo)
    CalculateRadioPartAndState(static_cast<TcxGroupBoxButtonViewInfo*>(info.get()), vi->ItemIndex);
}

void TcxCustomRadioGroupViewData::CalculateRadioPartAndState(TcxGroupBoxButtonViewInfo* AButton, int AItemIndex) {
  if (!AButton->Data.NativeStyle) return;
  static constexpr int unchosen[] = {4, 1, 3, 2};  // by TcxEditButtonState
  static constexpr int chosen[] = {8, 5, 7, 6};
  AButton->Data.NativePart = BP_RADIOBUTTON;
  AButton->Data.NativeState = (AButton->ButtonIndex == AItemIndex ? chosen : unchosen)[AButton->Data.State];
}

void TcxCustomRadioGroupViewData::GetButtonMetrics(bool AHasWidth, TcxCanvas* ACanvas,
                                                   TcxButtonGroupMetrics& AMetrics) {
  inherited::GetButtonMetrics(AHasWidth, ACanvas, AMetrics);
  if (!ACanvas) return;
  AMetrics.GlyphSize = RadioPainter()->ScaledRadioButtonSize(ScaleFactor());
  const bool native = IsButtonNativeStyle(Style()->LookAndFeel());
  AMetrics.AutoTextOffset = ScaleFactor()->Apply(native ? 5 : 7);
  AMetrics.FixedTextOffset = ScaleFactor()->Apply(native ? 1 : 3);
  AMetrics.AutoWidthCorrection = ScaleFactor()->Apply(IsInplace() ? 1 : 6);
  AMetrics.FixedWidthCorrection = ScaleFactor()->Apply(IsInplace() ? -5 : -6);
}

void TcxCustomRadioGroupViewData::GetButtonGlyphSize(TSize& ASize) { ASize = RadioPainter()->RadioButtonSize(); }

// ---------------------------------------------------------------------------
// View information

TRect TcxRadioGroupButtonViewInfo::GetGlyphRect(const TSize& AGlyphSize, TLeftRight AAlignment, bool AIsPaintCopy) {
  TRect r = inherited::GetGlyphRect(AGlyphSize, AAlignment, AIsPaintCopy);
  if (AIsPaintCopy && !Data.NativeStyle) r.Offset(1, 0);
  return r;
}

void TcxCustomRadioGroupViewInfo::DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                                                  const TRect& AGlyphRect) {
  const TcxClipRegionScope clip(ACanvas, AButtonViewInfo->Bounds);
  TcxCustomLookAndFeelPainter* painter =
      GetLookAndFeelPainterForKind(AButtonViewInfo->Data.NativeStyle, KindOfButtonStyle(AButtonViewInfo->Data.Style));
  const TColor background = IsBackgroundTransparent() ? clDefault : BackgroundColor();
  painter->DrawScaledRadioButton(ACanvas, AGlyphRect.Left, AGlyphRect.Top, RadioGlyphState(AButtonViewInfo->Data.State),
                                 ItemIndex == AButtonViewInfo->ButtonIndex, false, background, ScaleFactor(),
                                 IsDesigning);
}

void TcxCustomRadioGroupViewInfo::DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                                                    const TRect& AGlyphRect) {
  ACanvas->Font()->Assign(Font);
  ACanvas->Font()->SetColor(TextColor);
  PrepareCanvasFont(ACanvas);
  TRect r = AButtonViewInfo->Bounds;
  if (ItemAlignment == taRightJustify)
    r.Right = AGlyphRect.Left;
  else
    r.Left = AGlyphRect.Right;
  ApplyRadioButtonTextMargins(r, IsInplace, AButtonViewInfo->Data.NativeStyle, false, taRightJustify,
                              UseRightToLeftAlignment, ScaleFactor());
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->DrawTexT(AButtonViewInfo->Caption, r, static_cast<int>(DrawTextFlags), true);
  ACanvas->Brush()->SetStyle(bsSolid);
}

bool TcxCustomRadioGroupViewInfo::IsButtonGlyphTransparent(TcxGroupBoxButtonViewInfo* AButtonViewInfo) {
  if (IsBackgroundTransparent()) return true;
  if (!AButtonViewInfo->Data.NativeStyle) return false;
  const HTHEME theme = OpenThemeForScaleFactor(totButton, ScaleFactor());
  return theme && UxIsThemeBackgroundPartiallyTransparent(theme, BP_RADIOBUTTON, AButtonViewInfo->Data.NativeState);
}

// ---------------------------------------------------------------------------
// TcxCustomRadioGroupButton

void TcxCustomRadioGroupButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  if (TcxCustomRadioGroup* group = RadioGroup()) LookAndFeel()->SetMasterLookAndFeel(group->Style()->LookAndFeel());
}

void TcxCustomRadioGroupButton::Destroy() { inherited::Destroy(); }

bool TcxCustomRadioGroupButton::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxContainerInnerControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

TcxCustomRadioGroup* TcxCustomRadioGroupButton::RadioGroup() const {
  return dynamic_cast<TcxCustomRadioGroup*>(Owner());
}

TWinControl* TcxCustomRadioGroupButton::GetControlContainer() { return RadioGroup(); }

bool TcxCustomRadioGroupButton::IsInplace() { return RadioGroup()->IsInplace(); }
bool TcxCustomRadioGroupButton::IsNativeBackground() {
  return RadioGroup()->ViewInfo() && RadioGroup()->ViewInfo()->IsBackgroundTransparent() && IsNativeStyle();
}
bool TcxCustomRadioGroupButton::IsNativeStyle() { return RadioGroup()->IsButtonNativeStyle(); }
bool TcxCustomRadioGroupButton::IsTransparent() { return RadioGroup()->IsTransparentStandalone(); }
bool TcxCustomRadioGroupButton::IsTransparentBackground() {
  return inherited::IsTransparentBackground() || (RadioGroup()->ViewInfo() && RadioGroup()->ViewInfo()->IsCustomBackground()) ||
         LookAndFeel()->SkinPainter() != nullptr;
}

bool TcxCustomRadioGroupButton::CanFocus() { return RadioGroup()->CanFocus() && TWinControl::CanFocus(); }

void TcxCustomRadioGroupButton::InternalSetChecked(bool AValue) {
  if (FInternalSettingChecked) return;
  FInternalSettingChecked = true;
  TryFinally([&] { SetChecked(AValue); }, [this] { FInternalSettingChecked = false; });
}

void TcxCustomRadioGroupButton::SetChecked(bool AValue) {
  if (Checked() == AValue) return;
  // The group raises the Click, not the button.
  const bool disabled = ClicksDisabled();
  SetClicksDisabled(true);
  TryFinally([&] { inherited::SetChecked(AValue); }, [&] { SetClicksDisabled(disabled); });
  if (AValue && !FInternalSettingChecked) RadioGroup()->HandleButtonChecked(this);
}

void TcxCustomRadioGroupButton::DoEnter() {
  TcxCustomRadioGroup* group = RadioGroup();
  group->ShortRefreshContainer(false);
  if (!Checked() && !group->IsInplace() && !FFocusingByMouse && group->DoEditing() && !ClicksDisabled())
    SetChecked(true);
}

void TcxCustomRadioGroupButton::DoExit() {
  TWinControl::DoExit();
  RadioGroup()->ShortRefreshContainer(false);
}

void TcxCustomRadioGroupButton::KeyPress(wchar_t& Key) {
  inherited::KeyPress(Key);
  if ((Key == L'\b' || Key == L' ') && !RadioGroup()->IsEditingAllowed()) Key = 0;
}

void TcxCustomRadioGroupButton::WndProc(TMessage& Message) {
  TcxCustomRadioGroup* group = RadioGroup();
  if (group && group->InnerControlMenuHandler(Message)) return;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (group && group->DragMode() == dmAutomatic && !group->ComponentState().Contains(csDesigning)) {
        group->BeginAutoDrag();
        return;
      }
      if (Message.Msg == WM_LBUTTONDOWN) {
        FFocusingByMouse = true;
        TryFinally([&] { inherited::WndProc(Message); }, [this] { FFocusingByMouse = false; });
        return;
      }
      break;
    case WM_GETDLGCODE:
      inherited::WndProc(Message);
      if (group && group->IsInplace()) Message.Result |= DLGC_WANTARROWS;
      return;
    case CN_COMMAND: {
      if (FIsClickLocked) return;
      const WORD code = HIWORD(Message.WParam);
      if (code != BN_CLICKED && code != BN_DOUBLECLICKED) break;
      FIsClickLocked = true;
      TryFinally(
          [&] {
            if (Checked() || (group && group->IsEditingAllowed() && group->DoEditing())) inherited::WndProc(Message);
          },
          [this] { FIsClickLocked = false; });
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::WndProc(Message);
      if (group && !ComponentState().Contains(csDestroying) &&
          reinterpret_cast<HWND>(Message.WParam) != (group->HandleAllocated() ? group->Handle() : nullptr))
        group->ShortRefreshContainer(false);
      return;
    default:
      break;
  }
  inherited::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TcxCustomRadioGroup

void TcxCustomRadioGroup::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                                 csReplicatable, csParentBackground});
  FLoadedItemIndex = -1;
  SetBounds(Left(), Top(), 185, 105);
}

bool TcxCustomRadioGroup::IsLoadingOrUpdating() const {
  const auto state = ComponentState();
  return state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csUpdating);
}

int TcxCustomRadioGroup::GetCheckedIndex() {
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Checked()) return i;
  return -1;
}

int TcxCustomRadioGroup::ItemIndex() { return IsLoadingOrUpdating() ? FLoadedItemIndex : GetCheckedIndex(); }

void TcxCustomRadioGroup::SetItemIndex(int AValue) {
  if (IsLoadingOrUpdating()) {
    FLoadedItemIndex = AValue;
    return;
  }
  AValue = std::clamp(AValue, -1, ButtonCount() - 1);
  Variant value;
  PrepareEditValue(Variant(AValue), value, Focused());
  ApplyEditValueAndButtons(value, false);
}

void TcxCustomRadioGroup::PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool) {
  AEditValue = ActiveProperties()->GetItemValue(ADisplayValue.AsInteger());
}

void TcxCustomRadioGroup::ApplyEditValue(const Variant& AValue) { ApplyEditValueAndButtons(AValue, false); }

void TcxCustomRadioGroup::ApplyEditValueAndButtons(const Variant& AValue, bool AFromButton) {
  if (IsLoadingOrUpdating()) {
    TcxCustomEdit::ApplyEditValue(AValue);
    return;
  }
  LockChangeEvents(true);
  TryFinally(
      [&] {
        TcxCustomEdit::ApplyEditValue(AValue);
        const int index = ActiveProperties()->GetRadioGroupItemIndex(AValue);
        if (AFromButton || index != GetCheckedIndex()) {
          SetCheckedButton(index, AFromButton);
          SetModifiedAndClick();
          NotifyChange();
        }
        if (!IsUserAction()) SetEditModified(false);
      },
      [this] { LockChangeEvents(false); });
  ShortRefreshContainer(false);
}

void TcxCustomRadioGroup::SetCheckedButton(int AIndex, bool AFromButton) {
  if (!AFromButton) {
    if (AIndex < 0) {
      const int current = GetCheckedIndex();
      if (current >= 0) Buttons(current)->InternalSetChecked(false);
      return;
    }
    if (AIndex < ButtonCount()) Buttons(AIndex)->InternalSetChecked(true);
  }
  // The focus follows the chosen item, but never onto an unchecked button
  // (two items of one value name the first, while the second is checked).
  if (AIndex < 0 || AIndex >= ButtonCount() || AIndex != GetCheckedIndex()) return;
  const bool focused = Focused() || GetFocusedButtonIndex() >= 0;
  if (focused && (!HandleAllocated() || GetFocus() != Handle()) && !Buttons(AIndex)->Focused())
    Buttons(AIndex)->SetFocus();
}

void TcxCustomRadioGroup::HandleButtonChecked(TcxCustomRadioGroupButton* AButton) {
  const auto& buttons = AButton;
  int index = -1;
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i) == buttons) index = i;
  LockChangeEvents(true);
  TryFinally(
      [&] {
        BeginUserAction();
        TryFinally(
            [&] {
              Variant value;
              PrepareEditValue(Variant(index), value, Focused());
              ApplyEditValueAndButtons(value, true);
            },
            [this] { EndUserAction(); });
        const bool focused = Focused() || GetFocusedButtonIndex() >= 0;
        if (focused && ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateByOptions(false))
          PostValueCore(false);
      },
      [this] { LockChangeEvents(false); });
}

void TcxCustomRadioGroup::Loaded() {
  inherited::Loaded();
  ApplyLoadedState();
}

void TcxCustomRadioGroup::Updated() {
  inherited::Updated();
  ApplyLoadedState();
}

void TcxCustomRadioGroup::ApplyLoadedState() {
  RefreshButtons();
  LockChangeEvents(true);
  LockClick(true);
  TryFinally(
      [this] {
        if (IsBoundToDataStorage()) {
          ApplyEditValueAndButtons(EditValue(), false);
        } else {
          StoreEditValue(ActiveProperties()->DefaultValue());
          SetItemIndex(FLoadedItemIndex);
        }
      },
      [this] {
        LockClick(false);
        LockChangeEvents(false, false);
      });
}

TWinControl* TcxCustomRadioGroup::CreateButton() {
  auto* button = New<TcxCustomRadioGroupButton>(this);
  button->SetGroupIndex(0);
  return button;
}

HDC TcxCustomRadioGroup::GetButtonDC(int AIndex) { return Buttons(AIndex)->Canvas()->Handle(); }

void TcxCustomRadioGroup::UpdateButtons() {
  const int index = ItemIndex();
  inherited::UpdateButtons();
  if (!IsLoadingOrUpdating() && index < ButtonCount() && GetCheckedIndex() != index) SetItemIndex(index);
  TcxCustomRadioGroupProperties* properties = ActiveProperties();
  for (int i = 0; i < ButtonCount(); ++i) {
    TcxCustomRadioGroupButton* button = Buttons(i);
    button->SetCaption(properties->Items()->GetItem(i)->Caption());
    button->SetShowEndEllipsis(properties->ShowEndEllipsis());
    button->SetWordWrap(properties->WordWrap());
    button->Invalidate();
  }
}

void TcxCustomRadioGroup::UpdateButtonStyles() {
  inherited::UpdateButtonStyles();
  const auto& infos = ViewInfo()->ButtonsInfo;
  if (infos.empty()) return;
  const TcxLookAndFeelKind kind = KindOfButtonStyle(infos.front()->Data.Style);
  for (int i = 0; i < ButtonCount(); ++i) {
    Buttons(i)->LookAndFeel()->SetKind(kind);
    Buttons(i)->SetTransparent(Transparent());
  }
}

void TcxCustomRadioGroup::ArrangeButtons() {
  inherited::ArrangeButtons();
  const auto& infos = ViewInfo()->ButtonsInfo;
  const int n = std::min(ButtonCount(), static_cast<int>(infos.size()));
  for (int i = 0; i < n; ++i) {
    auto* info = static_cast<TcxGroupBoxButtonViewInfo*>(infos[static_cast<std::size_t>(i)].get());
    Buttons(i)->SetColumnRow(info->Column, info->Row);
  }
}

void TcxCustomRadioGroup::SetFocus() {
  const int index = ItemIndex();
  if (index >= 0 && index < ButtonCount() && Buttons(index)->CanFocus()) {
    Buttons(index)->SetFocus();
    return;
  }
  inherited::SetFocus();
}

void TcxCustomRadioGroup::FocusAndSelect() {
  if (ButtonCount() == 0) return;
  const int index = ItemIndex();
  TcxCustomRadioGroupButton* button = Buttons(index < 0 || index >= ButtonCount() ? 0 : index);
  if (button->CanFocus()) button->SetFocus();
}

bool TcxCustomRadioGroup::HasFocusInside() {
  const int n = std::min(ButtonCount(), ActiveProperties()->Items()->Count());
  for (int i = 0; i < n; ++i)
    if (Buttons(i)->Focused()) return false;
  return Focused();
}

void TcxCustomRadioGroup::GetTabOrderList(std::vector<TWinControl*>& AList) {
  inherited::GetTabOrderList(AList);
  std::erase(AList, static_cast<TWinControl*>(this));
  if ((!TabStop() && !Focused()) || ItemIndex() == -1) return;
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i)->Enabled() && std::find(AList.begin(), AList.end(), Buttons(i)) == AList.end())
      AList.push_back(Buttons(i));
}

void TcxRadioGroup::Publish(TPublisher<TcxRadioGroup>& P) {
  P.Property(L"Properties", &TcxRadioGroup::Properties, &TcxRadioGroup::SetProperties);
  P.Property(L"ItemIndex", &TcxRadioGroup::ItemIndex, &TcxRadioGroup::SetItemIndex).Default(-1);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

// ---------------------------------------------------------------------------
// Unit start-up

void cxRadioGroupInitialization() {
  RegisterClasses({TcxRadioButton::ClassInfo(), TcxRadioGroup::ClassInfo(), TcxRadioGroupProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxRadioGroupProperties::ClassInfo(),
                                          LoadResString(&scxSEditRepositoryRadioGroupItem));
}
