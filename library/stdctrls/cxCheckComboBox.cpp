// The check combo box: its items, properties, the editor that keeps one
// state per item in step with the value, its lookup data, filter helpers
// and registration.
#include "library/stdctrls/cxCheckComboBox.h"

#include "library/core/data/cxVariants.h"
#include "library/core/system/dxThemeManager.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/stdctrls/cxExtEditConsts.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxCheckComboBoxItem

void TcxCheckComboBoxItem::Create(TCollection* ACollection) {
  // Checked before the item joins: a refused item never reaches the editors.
  if (auto* items = dynamic_cast<TcxCheckComboBoxItems*>(ACollection))
    if (TcxCustomCheckComboBoxProperties* properties = items->CheckProperties())
      properties->CheckItemCount(items->Count() + 1, properties->EffectiveValueFormat());
  inherited::Create(ACollection);
}

void TcxCheckComboBoxItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCheckComboBoxItem*>(ASource)) SetShortDescription(source->FShortDescription);
  inherited::Assign(ASource);
}

void TcxCheckComboBoxItem::SetShortDescription(const String& AValue) {
  if (FShortDescription == AValue) return;
  FShortDescription = AValue;
  ReportChange(Index(), copChanged);
}

String TcxCheckComboBoxItem::DisplayDescription() {
  return FShortDescription.empty() ? Description() : FShortDescription;
}

// ---------------------------------------------------------------------------
// TcxCheckComboBoxItems

TcxCheckComboBoxItem* TcxCheckComboBoxItems::AddCheckItem(const String& ADescription,
                                                          const String& AShortDescription) {
  TcxCheckComboBoxItem* item = Add();
  item->SetDescription(ADescription);
  item->SetShortDescription(AShortDescription);
  return item;
}

TcxCustomCheckComboBoxProperties* TcxCheckComboBoxItems::CheckProperties() const {
  return dynamic_cast<TcxCustomCheckComboBoxProperties*>(OwnerProperties());
}

void TcxCheckComboBoxItems::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TCollection*>(ASource))
    if (TcxCustomCheckComboBoxProperties* properties = CheckProperties())
      properties->CheckItemCount(source->Count(), properties->EffectiveValueFormat());
  inherited::Assign(ASource);
}

// ---------------------------------------------------------------------------
// TcxCheckPaintHelper

void TcxCheckPaintHelper::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FStyle.reset(New<TcxCustomEditStyle>(static_cast<TPersistent*>(this), true));
}

void TcxCheckPaintHelper::Destroy() {
  FStyle.reset();
  inherited::Destroy();
}

TcxCheckBoxState TcxCheckPaintHelper::GetNextState(TcxCheckBoxState AState) {
  return AState == cbsUnchecked ? cbsChecked : cbsUnchecked;
}

TRect TcxCheckPaintHelper::GetTextRect(const TRect& ARowRect, TcxCheckBoxState) {
  TRect r = ARowRect;
  r.Left += ARowRect.Height() + 2;
  return r;
}

TPoint TcxCheckPaintHelper::GetCheckPosition(const TRect& ARect) {
  const int d = GetCenteringOffset(TRect(0, 0, 0, ARect.Height()), GetCheckSize());
  return TPoint(ARect.Left + d, ARect.Top + d);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBoxProperties

void TcxCustomCheckComboBoxProperties::Create(TPersistent* AOwner) {
  FCheckPaintHelper.reset(New<TcxCheckPaintHelper>(static_cast<TPersistent*>(nullptr)));
  FEmptySelectionText = LoadResString(&cxSCheckComboBoxEmptySelectionText);
  FGlyph.reset(New<TdxSmartGlyph>());
  FItems.reset(New<TcxCheckComboBoxItems>(static_cast<TPersistent*>(this), TcxCheckComboBoxItem::ClassInfo()));
  inherited::Create(AOwner);
  FGlyph->SetOnChange(BindEvent<&TcxCustomCheckComboBoxProperties::GlyphChanged>(this));
  SetDropDownListStyle(lsFixedList);
}

void TcxCustomCheckComboBoxProperties::Destroy() {
  FGlyph->SetOnChange(TNotifyEvent());
  BeginUpdate();
  FItems.reset();
  EndUpdate(false);
  FCheckPaintHelper.reset();
  inherited::Destroy();
}

void TcxCustomCheckComboBoxProperties::SetDelimiter(const String& AValue) {
  if (FDelimiter == AValue) return;
  FDelimiter = AValue;
  Changed();
}

void TcxCustomCheckComboBoxProperties::SetEditValueFormat(TcxCheckStatesValueFormat AValue) {
  if (FEditValueFormat == AValue) return;
  const bool custom = FOnEditValueToStates && FOnStatesToEditValue;
  // Refused before it is stored: values in the old format stay readable.
  CheckItemCount(FItems->Count(), custom ? cvfCustom : AValue);
  FEditValueFormat = AValue;
  FItems->InternalNotify(nullptr, -1, copChanged);
}

void TcxCustomCheckComboBoxProperties::SetEmptySelectionText(const String& AValue) {
  if (FEmptySelectionText == AValue) return;
  FEmptySelectionText = AValue;
  Changed();
}

bool TcxCustomCheckComboBoxProperties::IsEmptySelectionTextStored() const {
  return FEmptySelectionText != LoadResString(&cxSCheckComboBoxEmptySelectionText);
}

void TcxCustomCheckComboBoxProperties::SetGlyphCount(int AValue) {
  if (FGlyphCount == AValue) return;
  FGlyphCount = AValue;
  if (FGlyph) Changed();
}

void TcxCustomCheckComboBoxProperties::SetItems(TcxCheckComboBoxItems* AValue) {
  FItems->Assign(AValue);
  Changed();
}

void TcxCustomCheckComboBoxProperties::SetShowEmptyText(bool AValue) {
  if (FShowEmptyText == AValue) return;
  FShowEmptyText = AValue;
  Changed();
}

TcxCheckStatesValueFormatEx TcxCustomCheckComboBoxProperties::EffectiveValueFormat() const {
  return FOnEditValueToStates && FOnStatesToEditValue ? cvfCustom : FEditValueFormat;
}

void TcxCustomCheckComboBoxProperties::CheckItemCount(int ACount, TcxCheckStatesValueFormatEx AFormat) const {
  CheckItemCountForFormat(AFormat, ACount);
}

void TcxCustomCheckComboBoxProperties::EditValueToStates(TObject* Sender, const Variant& AValue,
                                                         TcxCheckStates& AStates) {
  if (FOnEditValueToStates) {
    AStates.assign(static_cast<size_t>(FItems->Count()), cbsUnchecked);
    FOnEditValueToStates(Sender, AValue, AStates);
    // A handler may leave any length; the editor keeps one state per item.
    AStates.resize(static_cast<size_t>(FItems->Count()), cbsUnchecked);
    return;
  }
  EditValueToCheckStates(AValue, FItems.get(), FEditValueFormat, AStates);
}

void TcxCustomCheckComboBoxProperties::StatesToDisplayText(const TcxCheckStates& AStates, String& AText) {
  AText.clear();
  const int count = std::min(FItems->Count(), static_cast<int>(AStates.size()));
  for (int i = 0; i < count; ++i) {
    if (AStates[static_cast<size_t>(i)] != cbsChecked) continue;
    if (!AText.empty()) AText += FDelimiter;
    AText += FItems->GetItems(i)->DisplayDescription();
  }
  if (AText.empty() && FShowEmptyText) AText = FEmptySelectionText;
}

void TcxCustomCheckComboBoxProperties::StatesToEditValue(TObject* Sender, const TcxCheckStates& AStates,
                                                         Variant& AValue) {
  if (FOnStatesToEditValue) {
    AValue = Variant();
    FOnStatesToEditValue(Sender, AStates, AValue);
    return;
  }
  AValue = CheckStatesToEditValue(AStates, FItems.get(), FEditValueFormat);
}

void TcxCustomCheckComboBoxProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue,
                                                           bool) {
  TcxCheckStates states;
  EditValueToStates(nullptr, AEditValue, states);
  String text;
  StatesToDisplayText(states, text);
  ADisplayValue = Variant(text);
}

void TcxCustomCheckComboBoxProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  BeginUpdate();
  TScopeExit done([this] { EndUpdate(); });
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomCheckComboBoxProperties*>(ASource);
  if (!source) return;
  SetDelimiter(source->FDelimiter);
  // The events first: they decide whether the format limits the items.
  SetOnClickCheck(source->FOnClickCheck);
  SetOnEditValueToStates(source->FOnEditValueToStates);
  SetOnStatesToEditValue(source->FOnStatesToEditValue);
  // Whichever order keeps the items within what the format holds at every step.
  if (FItems->Count() > cxIntegerFormatMaxItems && source->FEditValueFormat == cvfInteger) {
    SetItems(source->FItems.get());
    SetEditValueFormat(source->FEditValueFormat);
  } else {
    SetEditValueFormat(source->FEditValueFormat);
    SetItems(source->FItems.get());
  }
  SetGlyph(source->FGlyph.get());
  SetGlyphCount(source->FGlyphCount);
  SetShowEmptyText(source->FShowEmptyText);
  SetEmptySelectionText(source->FEmptySelectionText);
}

TClass TcxCustomCheckComboBoxProperties::GetContainerClass() { return TcxCheckComboBox::ClassInfo(); }
TClass TcxCustomCheckComboBoxProperties::GetViewDataClassType() { return TcxCustomCheckComboBoxViewData::ClassInfo(); }
TClass TcxCustomCheckComboBoxProperties::GetLookupDataClassType() { return TcxCheckComboBoxLookupData::ClassInfo(); }
TClass TcxCustomCheckComboBoxProperties::GetPopupWindowClass() { return TcxCheckComboBoxPopupWindow::ClassInfo(); }

void TcxCheckComboBoxProperties::Publish(TPublisher<TcxCheckComboBoxProperties>& P) {
  using T = TcxCheckComboBoxProperties;
  P.Property(L"AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Stored(false);
  P.Property(L"Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property(L"AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property(L"BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property(L"ButtonGlyph", &T::ButtonGlyph, &T::SetButtonGlyph);
  P.Property(L"CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(0);
  P.Property(L"Delimiter", &T::Delimiter, &T::SetDelimiter).Stored(&T::IsDelimiterStored);
  P.Property(L"DropDownAutoWidth", &T::DropDownAutoWidth, &T::SetDropDownAutoWidth).Default(true);
  P.Property(L"DropDownRows", &T::DropDownRows, &T::SetDropDownRows).Default(8);
  P.Property(L"DropDownSizeable", &T::DropDownSizeable, &T::SetDropDownSizeable).Default(false);
  P.Property(L"DropDownWidth", &T::DropDownWidth, &T::SetDropDownWidth).Default(0);
  P.Property(L"EditValueFormat", &T::EditValueFormat, &T::SetEditValueFormat).Default(cvfInteger);
  P.Property(L"EmptySelectionText", &T::EmptySelectionText, &T::SetEmptySelectionText)
      .Stored(&T::IsEmptySelectionTextStored);
  P.Property(L"Glyph", &T::Glyph, &T::SetGlyph);
  P.Property(L"GlyphCount", &T::GlyphCount, &T::SetGlyphCount).Default(6);
  P.Property(L"ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property(L"ImeName", &T::ImeName, &T::SetImeName);
  P.Property(L"ImmediateDropDownWhenActivated", &T::ImmediateDropDownWhenActivated,
             &T::SetImmediateDropDownWhenActivated)
      .Default(false);
  P.Property(L"ImmediateDropDownWhenKeyPressed", &T::ImmediateDropDownWhenKeyPressed,
             &T::SetImmediateDropDownWhenKeyPressed)
      .Default(true);
  P.Property(L"ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property(L"IncrementalFiltering", &T::IncrementalFiltering, &T::SetIncrementalFiltering).Default(false);
  P.Property(L"IncrementalFilteringOptions", &T::IncrementalFilteringOptions, &T::SetIncrementalFilteringOptions)
      .Default(TcxTextEditIncrementalFilteringOptions{ifoHighlightSearchText, ifoUseContainsOperator});
  P.Property(L"Items", &T::Items, &T::SetItems);
  P.Property(L"PopupAlignment", &T::PopupAlignment, &T::SetPopupAlignment).Default(taLeftJustify);
  P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyAssigned);
  P.Property(L"ShowEmptyText", &T::ShowEmptyText, &T::SetShowEmptyText).Default(true);
  P.Property(L"ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
  P.Property(L"OnClickCheck", &T::OnClickCheck, &T::SetOnClickCheck);
  P.Property(L"OnCloseUp", &T::OnCloseUp, &T::SetOnCloseUp);
  P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
  P.Property(L"OnEditValueToStates", &T::OnEditValueToStates, &T::SetOnEditValueToStates);
  P.Property(L"OnInitPopup", &T::OnInitPopup, &T::SetOnInitPopup);
  P.Property(L"OnPopup", &T::OnPopup, &T::SetOnPopup);
  P.Property(L"OnStatesToEditValue", &T::OnStatesToEditValue, &T::SetOnStatesToEditValue);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBoxViewData

void TcxCustomCheckComboBoxViewData::ValueToDisplayText(const Variant& AEditValue, String& AText) {
  auto* properties = static_cast<TcxCustomCheckComboBoxProperties*>(Properties());
  TcxCheckStates states;
  properties->EditValueToStates(IsInplace() ? nullptr : Edit(), AEditValue, states);
  properties->StatesToDisplayText(states, AText);
  properties->DisplayValueToDisplayText(AText);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBox: states and value

TcxCheckBoxState TcxCustomCheckComboBox::GetItemState(int AIndex) {
  if (AIndex < 0 || AIndex >= static_cast<int>(FStates.size())) dxListIndexError(AIndex);
  return FStates[static_cast<size_t>(AIndex)];
}

void TcxCustomCheckComboBox::SetItemState(int AIndex, TcxCheckBoxState AState) {
  if (AIndex < 0 || AIndex >= static_cast<int>(FStates.size())) dxListIndexError(AIndex);
  if (AState == cbsGrayed || FStates[static_cast<size_t>(AIndex)] == AState) return;
  FStates[static_cast<size_t>(AIndex)] = AState;
  SyncEditValueFromDisplay();
}

String TcxCustomCheckComboBox::CheckedText() {
  String text;
  ActiveProperties()->StatesToDisplayText(FStates, text);
  ActiveProperties()->DisplayValueToDisplayText(text);
  return text;
}

void TcxCustomCheckComboBox::SetItemIndex(int AValue) {
  if (ILookupData()) ILookupData()->SetCurrentKey(Variant(AValue));
}

bool TcxCustomCheckComboBox::IsEditValueStored() const {
  auto* self = const_cast<TcxCustomCheckComboBox*>(this);
  const Variant value = self->InternalEditValue();
  if (self->ActiveProperties()->EditValueFormat() == cvfInteger)
    return !(VarIsOrdinal(value) && value.AsInt64() == 0);
  return !VarToStrDef(value, String()).empty();
}

void TcxCustomCheckComboBox::SyncDisplayValue() {
  ActiveProperties()->EditValueToStates(GetNonInplaceEdit(this), EditValue(), FStates);
  UpdateDrawValue();
  if (TcxCustomEditListBox* list = ComboLookupData() ? ComboLookupData()->List() : nullptr)
    if (list->HandleAllocated()) ::InvalidateRect(list->Handle(), nullptr, TRUE);
}

void TcxCustomCheckComboBox::SyncEditValueFromDisplay() {
  Variant value;
  ActiveProperties()->StatesToEditValue(GetNonInplaceEdit(this), FStates, value);
  SetInternalEditValue(value);
}

void TcxCustomCheckComboBox::PrepareEditValue(const Variant&, Variant& AEditValue, bool) {
  // The shown text is never read back: the states are the value.
  ActiveProperties()->StatesToEditValue(GetNonInplaceEdit(this), FStates, AEditValue);
}

void TcxCustomCheckComboBox::UpdateDrawValue() {
  if (IsInnerControlMissing()) return;
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(ViewInfo());
  if (!viewInfo) return;
  viewInfo->SelLength = 0;
  viewInfo->Text = CheckedText();
  viewInfo->TextOutData.Initialized = false;
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TcxCustomCheckComboBox::PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) {
  auto* viewData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!viewData || !viewInfo) {
    inherited::PrepareViewDataValue(AViewData, AViewInfo);
    return;
  }
  viewData->DisplayValueToDrawValue(Variant(CheckedText()), viewInfo);
  viewData->SelStart = 0;
  viewData->SelLength = 0;
  viewData->PrepareSelection(viewInfo);
}

String TcxCustomCheckComboBox::GetWindowTextValue() {
  if (IsDestroying()) return String();
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(ViewInfo());
  return viewInfo ? viewInfo->Text : CheckedText();
}

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBox: creation, properties, style

void TcxCustomCheckComboBox::InitializeEdit() {
  inherited::InitializeEdit();
  StoreEditValue(Variant(0));
  SetControlStyle(ControlStyle().Exclude(csClickEvents));
  UpdateCheckStyle();
}

void TcxCustomCheckComboBox::UpdateCheckStyle() {
  TcxLookAndFeel* lookAndFeel = PopupControlsLookAndFeel();
  if (!lookAndFeel) return;
  FNativeStyle = lookAndFeel->NativeStyle() && AreVisualStylesAvailable({totButton, totComboBox});
  if (FNativeStyle) return;
  switch (lookAndFeel->Kind()) {
    case lfFlat: FCheckBorderStyle = ebsFlat; break;
    case lfStandard: FCheckBorderStyle = ebs3D; break;
    case lfUltraFlat: FCheckBorderStyle = ebsUltraFlat; break;
    case lfOffice11: FCheckBorderStyle = ebsOffice11; break;
    default: break;
  }
}

void TcxCustomCheckComboBox::PopupLookAndFeelChanged(TObject* Sender) {
  inherited::PopupLookAndFeelChanged(Sender);
  if (!IsDestroying()) UpdateCheckStyle();
}

void TcxCustomCheckComboBox::PropertiesChanged(TObject* Sender) {
  TcxCheckComboBoxItems* items = ActiveProperties()->Items();
  const int deleted = items->ItemChanged() && items->ChangedItemOperation() == copDelete ? items->ChangedItemIndex() : -1;
  // Every remaining item keeps its own state. The editor may hear of one
  // deletion more than once: only states that still count the deleted item
  // move.
  if (deleted >= 0 && static_cast<int>(FStates.size()) == items->Count() + 1 &&
      deleted < static_cast<int>(FStates.size()))
    FStates.erase(FStates.begin() + deleted);
  FStates.resize(static_cast<size_t>(items->Count()), cbsUnchecked);
  inherited::PropertiesChanged(Sender);
  if (IsInplaceInitializing() || IsDestroying()) return;
  if (ModifiedAfterEnter()) {
    UpdateDrawValue();
  } else if (IsBoundToDataStorage()) {
    SyncDisplayValue();
  } else {
    Variant value;
    ActiveProperties()->StatesToEditValue(GetNonInplaceEdit(this), FStates, value);
    StoreEditValue(value);
    UpdateDrawValue();
  }
}

bool TcxCustomCheckComboBox::RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift,
                                            bool AIsMouseEvent) {
  const bool result = inherited::RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  if (auto* current = dynamic_cast<TcxCustomEditStyle*>(CurrentStyle()))
    ActiveProperties()->CheckPaintHelper()->Style()->Assign(current);
  return result;
}

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBox: toggling, keys and the popup

bool TcxCustomCheckComboBox::CanToggleItem(int AItemIndex) {
  if (!IsEditingAllowed()) return false;
  bool allow = true;
  if (TcxCheckComboClickCheckEvent handler = Properties()->OnClickCheck()) handler(this, AItemIndex, allow);
  if (RepositoryItem()) {
    if (auto* shared = dynamic_cast<TcxCustomCheckComboBoxProperties*>(RepositoryItem()->Properties())) {
      bool sharedAllow = true;
      if (TcxCheckComboClickCheckEvent handler = shared->OnClickCheck()) handler(this, AItemIndex, sharedAllow);
      allow = allow && sharedAllow;
    }
  }
  return allow && DoEditing();
}

TcxCustomCheckComboBoxListBox* TcxCustomCheckComboBox::CheckList() {
  TcxComboBoxLookupData* lookup = ComboLookupData();
  return lookup ? dynamic_cast<TcxCustomCheckComboBoxListBox*>(lookup->List()) : nullptr;
}

void TcxCustomCheckComboBox::KeyPress(wchar_t& Key) {
  TcxCustomCheckComboBoxListBox* list = CheckList();
  if (Key != L' ' || !HasPopupWindow() || !list) {
    inherited::KeyPress(Key);
    return;
  }
  const TControlTracker alive(this);
  if (TKeyPressEvent handler = OnKeyPress()) handler(this, Key);
  if (!alive.Alive() || Key == 0) return;
  SendMessageW(list->Handle(), WM_CHAR, Key, 0);
  Key = 0;
}

void TcxCustomCheckComboBox::ClosePopup(TcxEditCloseUpReason AReason) {
  if (!HasPopupWindow()) return;
  FCloseUpReason = AReason;
  GetPopupWindow()->CloseUp();
  TcxCustomCheckComboBoxProperties* properties = ActiveProperties();
  if (!properties->PostsPopupValueImmediately() && properties->ImmediatePost() && CanPostEditValue() &&
      ValidateByOptions(false))
    PostValueCore(false);
}

void TcxCustomCheckComboBox::SetupPopupWindow() {
  inherited::SetupPopupWindow();
  GetPopupWindow()->SetSysPanelStyle(ActiveProperties()->PopupSizeable());
}

void TcxCustomCheckComboBox::AfterPopupOpened(TObject* Sender) {
  const TControlTracker alive(this);
  inherited::AfterPopupOpened(Sender);
  if (!alive.Alive()) return;
  if (TcxCustomCheckComboBoxListBox* list = CheckList(); list && list->HandleAllocated()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint p = list->ScreenToClient(TPoint(cursor.x, cursor.y));
    list->UpdateHotAndPressedByMouse(KeyboardStateToShiftState(), p.X, p.Y);
  }
}

TClass TcxCustomCheckComboBox::GetAccessibilityHelperClass() {
  return TdxCheckComboBoxAccessibilityHelper::ClassInfo();
}

String TdxCheckComboBoxAccessibilityHelper::GetValue(int AChildID) {
  if (AChildID != CHILDID_SELF) return inherited::GetValue(AChildID);
  auto* edit = dynamic_cast<TcxCustomCheckComboBox*>(Edit());
  return edit ? edit->CheckedText() : String();
}

void TcxCheckComboBox::Publish(TPublisher<TcxCheckComboBox>& P) {
  using T = TcxCheckComboBox;
  P.Property(L"Properties", &T::Properties, &T::SetProperties);
  P.Property(L"BeepOnEnter", &T::BeepOnEnter, &T::SetBeepOnEnter).Default(true);
  P.Property(L"StatesItems", &T::StatesItems, &T::SetStatesItems).Stored(false);
  P.Property(L"Value", &T::Value, &T::SetValue).Stored(false);
}

// ---------------------------------------------------------------------------
// Lookup data

TcxCheckComboBoxItems* TcxCheckComboBoxLookupData::CheckItems() const {
  auto* properties = dynamic_cast<TcxCustomCheckComboBoxProperties*>(Edit()->ActiveProperties());
  return properties ? properties->Items() : nullptr;
}

String TcxCheckComboBoxLookupData::GetItemText(int AIndex) {
  TcxCheckComboBoxItems* items = CheckItems();
  return items && AIndex >= 0 && AIndex < items->Count() ? items->GetItems(AIndex)->Description() : String();
}

int TcxCheckComboBoxLookupData::GetItemCount() {
  TcxCheckComboBoxItems* items = CheckItems();
  return items ? items->Count() : 0;
}

TClass TcxCheckComboBoxLookupData::GetListBoxClass() { return TcxCustomCheckComboBoxListBox::ClassInfo(); }

TOwned<TcxComboBoxIncrementalFilteringHelper> TcxCheckComboBoxLookupData::CreateFilteringHelper() {
  return TOwned<TcxComboBoxIncrementalFilteringHelper>(New<TcxCheckComboBoxIncrementalFilteringHelper>(
      static_cast<TcxComboBoxLookupData*>(this)));
}

void TcxCheckComboBoxIncrementalFilteringHelper::Create(TcxComboBoxLookupData* ALookupData) {
  inherited::Create(ALookupData);
  FCheckLookupData = ALookupData;
}

void TcxCheckComboBoxIncrementalFilteringHelper::HandleSearchKey(TObject*, wchar_t& Key) {
  if (Key != L' ' || FCheckLookupData->GetCurrentKey().IsEmpty()) return;
  if (FCheckLookupData->ItemIndex() < 0) return;
  if (auto* edit = dynamic_cast<TcxCustomCheckComboBox*>(FCheckLookupData->Edit())) {
    edit->SearchBoxKeyPress(Key);
  }
}

// ---------------------------------------------------------------------------
// Filter rows

TClass TcxFilterChecksHelper::TMeta::GetFilterEditClass() const { return TcxCheckComboBox::ClassInfo(); }

TcxFilterControlOperators TcxFilterChecksHelper::TMeta::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                   TcxValueTypeClass,
                                                                                   bool AExtendedSet) const {
  TcxFilterControlOperators operators{fcoEqual, fcoNotEqual, fcoBlanks, fcoNonBlanks};
  if (AExtendedSet) {
    operators.Include(fcoInList);
    operators.Include(fcoNotInList);
  }
  return operators;
}

TcxCheckStatesValueFormat TcxFilterChecksHelper::TMeta::GetEditValueFormat(TcxCustomEditProperties*) const {
  return cvfCaptions;
}

IcxCheckItems* TcxFilterChecksHelper::TMeta::GetItems(TcxCustomEditProperties*) const { return nullptr; }

void TcxFilterChecksHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                        TcxCustomEditProperties* AEditProperties,
                                                        bool AHasButtons) const {
  TcxFilterComboBoxHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* properties = dynamic_cast<TcxCustomCheckComboBoxProperties*>(AProperties);
  if (!properties) return;
  properties->BeginUpdate();
  TScopeExit done([properties] { properties->EndUpdate(); });
  properties->Items()->Clear();
  properties->SetEditValueFormat(GetEditValueFormat(AEditProperties));
  properties->Buttons()->Clear();
  properties->Buttons()->Add()->SetKind(bkDown);
  properties->SetDropDownListStyle(lsFixedList);
  if (IcxCheckItems* items = GetItems(AEditProperties)) {
    const int count = items->GetCount();
    for (int i = 0; i < count; ++i) properties->Items()->AddCheckItem(items->GetItemCaption(i));
  }
}

TcxCheckStatesValueFormat TcxFilterCheckComboBoxHelper::TMeta::GetEditValueFormat(
    TcxCustomEditProperties* AEditProperties) const {
  auto* properties = dynamic_cast<TcxCustomCheckComboBoxProperties*>(AEditProperties);
  return properties ? properties->EditValueFormat() : cvfCaptions;
}

IcxCheckItems* TcxFilterCheckComboBoxHelper::TMeta::GetItems(TcxCustomEditProperties* AEditProperties) const {
  auto* properties = dynamic_cast<TcxCustomCheckComboBoxProperties*>(AEditProperties);
  return properties ? static_cast<IcxCheckItems*>(properties->Items()) : nullptr;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

namespace {
int CheckComboUnitStarts = 0;
}

void cxCheckComboBoxInitialization() {
  if (CheckComboUnitStarts++ > 0) return;
  RegisterClasses({TcxCheckComboBox::ClassInfo(), TcxCheckComboBoxProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxCheckComboBoxProperties::ClassInfo(),
                                          LoadResString(&scxSEditRepositoryCheckComboBox));
  GetFilterEditsController()->Register(TcxCheckComboBoxProperties::ClassInfo(),
                                       TcxFilterCheckComboBoxHelper::ClassInfo());
}

void cxCheckComboBoxFinalization() {
  if (CheckComboUnitStarts == 0 || --CheckComboUnitStarts > 0) return;
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxCheckComboBoxProperties::ClassInfo(),
                                           TcxFilterCheckComboBoxHelper::ClassInfo());
  GetRegisteredEditProperties()->Unregister(TcxCheckComboBoxProperties::ClassInfo());
}
