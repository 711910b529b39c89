// The combo box: its list styles mapped to the text editor's editing
// styles, the items in a popup list, double-click stepping, the owner-drawn
// edit area and picking a row by dragging from the editor into the list.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/editors/filter/cxFilterEditHelpers.h"

// ---------------------------------------------------------------------------
// TcxCustomComboBoxProperties

void TcxCustomComboBoxProperties::SetDropDownListStyle(TcxEditDropDownListStyle AValue) {
  if (FDropDownListStyle == AValue) return;
  FDropDownListStyle = AValue;
  Changed();
}

void TcxCustomComboBoxProperties::SetDropDownRows(int AValue) {
  if (AValue < 1 || FDropDownRows == AValue) return;
  FDropDownRows = AValue;
  Changed();
}

void TcxCustomComboBoxProperties::SetItemHeight(int AValue) {
  if (FItemHeight == AValue) return;
  FItemHeight = AValue;
  Changed();
}

TClass TcxCustomComboBoxProperties::GetContainerClass() { return TcxComboBox::ClassInfo(); }
TClass TcxCustomComboBoxProperties::GetViewInfoClass() { return TcxCustomComboBoxViewInfo::ClassInfo(); }
TClass TcxCustomComboBoxProperties::GetViewDataClassType() { return TcxCustomComboBoxViewData::ClassInfo(); }
TClass TcxCustomComboBoxProperties::GetLookupDataClassType() { return TcxComboBoxLookupData::ClassInfo(); }
TClass TcxCustomComboBoxProperties::GetPopupWindowClass() { return TcxComboBoxPopupWindow::ClassInfo(); }

TcxEditEditingStyle TcxCustomComboBoxProperties::GetEditingStyle() {
  switch (FDropDownListStyle) {
    case lsEditFixedList: return esEditList;
    case lsFixedList: return esFixedList;
    default: return esEdit;
  }
}

void TcxCustomComboBoxProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  BeginUpdate();
  TScopeExit done([this] { EndUpdate(); });
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomComboBoxProperties*>(ASource);
  if (!source) return;
  SetDropDownListStyle(source->FDropDownListStyle);
  SetDropDownRows(source->FDropDownRows);
  SetItemHeight(ScaleFactor()->Apply(source->FItemHeight, source->ScaleFactor()));
  SetRevertable(source->FRevertable);
  SetOnDrawItem(source->FOnDrawItem);
  SetOnMeasureItem(source->FOnMeasureItem);
}

void TcxComboBoxProperties::Publish(TPublisher<TcxComboBoxProperties>& P) {
  using T = TcxComboBoxProperties;
  P.Property(L"Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property(L"AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property(L"AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property(L"BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property(L"CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(0);
  P.Property(L"DropDownAutoWidth", &T::DropDownAutoWidth, &T::SetDropDownAutoWidth).Default(true);
  P.Property(L"DropDownListStyle", &T::DropDownListStyle, &T::SetDropDownListStyle).Default(lsEditList);
  P.Property(L"DropDownRows", &T::DropDownRows, &T::SetDropDownRows).Default(8);
  P.Property(L"DropDownSizeable", &T::DropDownSizeable, &T::SetDropDownSizeable).Default(false);
  P.Property(L"DropDownWidth", &T::DropDownWidth, &T::SetDropDownWidth).Default(0);
  P.Property(L"HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property(L"ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property(L"ImeName", &T::ImeName, &T::SetImeName);
  P.Property(L"ImmediateDropDownWhenActivated", &T::ImmediateDropDownWhenActivated,
             &T::SetImmediateDropDownWhenActivated)
      .Default(false);
  P.Property(L"ImmediateDropDownWhenKeyPressed", &T::ImmediateDropDownWhenKeyPressed,
             &T::SetImmediateDropDownWhenKeyPressed)
      .Default(true);
  P.Property(L"ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property(L"ImmediateUpdateText", &T::ImmediateUpdateText, &T::SetImmediateUpdateText).Default(false);
  P.Property(L"IncrementalFiltering", &T::IncrementalFiltering, &T::SetIncrementalFiltering).Default(false);
  P.Property(L"IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property(L"ItemHeight", &T::ItemHeight, &T::SetItemHeight).Default(0);
  P.Property(L"Items", &T::Items, &T::SetItems);
  P.Property(L"MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property(L"Nullstring", &T::Nullstring, &T::SetNullstring);
  P.Property(L"OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property(L"PopupAlignment", &T::PopupAlignment, &T::SetPopupAlignment).Default(taLeftJustify);
  P.Property(L"PostPopupValueOnTab", &T::PostPopupValueOnTab, &T::SetPostPopupValueOnTab).Default(false);
  P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyAssigned);
  P.Property(L"Revertable", &T::Revertable, &T::SetRevertable).Default(false);
  P.Property(L"Sorted", &T::Sorted, &T::SetSorted).Default(false);
  P.Property(L"UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Default(true);
  P.Property(L"UseNullString", &T::UseNullString, &T::SetUseNullString).Default(false);
  P.Property(L"ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property(L"ValidationOptions", &T::ValidationOptions, &T::SetValidationOptions)
      .Default(TcxEditValidationOptions{evoRaiseException});
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
  P.Property(L"OnCloseUp", &T::OnCloseUp, &T::SetOnCloseUp);
  P.Property(L"OnDrawItem", &T::OnDrawItem, &T::SetOnDrawItem);
  P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
  P.Property(L"OnInitPopup", &T::OnInitPopup, &T::SetOnInitPopup);
  P.Property(L"OnMeasureItem", &T::OnMeasureItem, &T::SetOnMeasureItem);
  P.Property(L"OnNewLookupDisplayText", &T::OnNewLookupDisplayText, &T::SetOnNewLookupDisplayText);
  P.Property(L"OnPopup", &T::OnPopup, &T::SetOnPopup);
  P.Property(L"OnValidate", &T::OnValidate, &T::SetOnValidate);
}

// ---------------------------------------------------------------------------
// TcxCustomComboBox

TcxComboBoxLookupData* TcxCustomComboBox::ComboLookupData() const {
  return static_cast<TcxComboBoxLookupData*>(LookupData());
}

int TcxCustomComboBox::SelectedItem() { return ILookupData() ? ILookupData()->GetSelectedItem() : -1; }

void TcxCustomComboBox::SetSelectedItem(int AValue) {
  if (ILookupData()) ILookupData()->SetSelectedItem(AValue);
}

TcxCustomComboBoxProperties* TcxCustomComboBox::SharedComboProperties() {
  return RepositoryItem() ? dynamic_cast<TcxCustomComboBoxProperties*>(RepositoryItem()->Properties()) : nullptr;
}

bool TcxCustomComboBox::HasDrawItemHandler() {
  if (Properties()->OnDrawItem()) return true;
  auto* shared = SharedComboProperties();
  return shared && shared->OnDrawItem();
}

bool TcxCustomComboBox::HasMeasureItemHandler() {
  if (Properties()->OnMeasureItem()) return true;
  auto* shared = SharedComboProperties();
  return shared && shared->OnMeasureItem();
}

void TcxCustomComboBox::DoDrawItem(TcxCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  if (TcxEditDrawItemEvent handler = Properties()->OnDrawItem()) handler(this, ACanvas, AIndex, ARect, AState);
  if (auto* shared = SharedComboProperties())
    if (TcxEditDrawItemEvent handler = shared->OnDrawItem()) handler(this, ACanvas, AIndex, ARect, AState);
}

void TcxCustomComboBox::DoMeasureItem(int AIndex, int& AHeight) {
  if (TMeasureItemEvent handler = Properties()->OnMeasureItem()) handler(this, AIndex, AHeight);
  if (auto* shared = SharedComboProperties())
    if (TMeasureItemEvent handler = shared->OnMeasureItem()) handler(this, AIndex, AHeight);
}

void TcxCustomComboBox::CloseListByUser() {
  BeginUserAction();
  TScopeExit done([this] { EndUserAction(); });
  ClosePopup(crEnter);
}

bool TcxCustomComboBox::LookupFollowsText() {
  if (FLookupDataTextChangedLocked || EditModeSetting()) return false;
  if (HasPopupWindow() || IsOpenPending()) return true;
  const TcxEditDropDownListStyle style = ActiveProperties()->DropDownListStyle();
  if (style == lsEditFixedList || style == lsFixedList) return true;
  if (!Focused()) return false;
  const int item = ILookupData()->GetCurrentKey().IsEmpty() ? -1 : ILookupData()->GetCurrentKey().AsInteger();
  return !AnsiSameText(ILookupData()->GetDisplayText(Variant(item)), Text());
}

void TcxCustomComboBox::HandleSearchBoxKeyPress(wchar_t& Key) {
  if (TWinControl* inner = InnerControl())
    if (inner->HandleAllocated()) SendMessageW(inner->Handle(), WM_CHAR, Key, 0);
}

bool TcxCustomComboBox::CanDropDown() { return !ILookupData() || !ILookupData()->IsEmpty(); }

TSize TcxCustomComboBox::CalculatePopupSize() {
  TcxCustomEditPopupWindow* popup = GetPopupWindow();
  const TSize max = popup->GetMaxContentSize();
  TcxCustomComboBoxProperties* properties = ActiveProperties();
  int width = max.cx;
  if (!properties->DropDownSizeable() && !properties->DropDownAutoWidth()) {
    TRect owner;
    CalculatePopupOwnerBounds(owner);
    const TRect extents = popup->ViewInfo()->GetClientExtent();
    width = properties->DropDownWidth() >= 1 ? properties->DropDownWidth() : owner.Width();
    width = std::min(width - extents.Left - extents.Right, max.cx);
  }
  return ILookupData()->GetVisualAreaPreferredSize(max.cy, width);
}

void TcxCustomComboBox::SetupPopupWindow() {
  inherited::SetupPopupWindow();
  GetPopupWindow()->SetSysPanelStyle(ActiveProperties()->DropDownSizeable());
}

void TcxCustomComboBox::PreparePopupWindow() {
  inherited::PreparePopupWindow();
  if (TcxCustomEditListBox* list = ComboLookupData()->List()) list->Invalidate();
}

void TcxCustomComboBox::HandleContentChanged() {
  const Variant before = ILookupData() ? ILookupData()->GetCurrentKey() : Variant();
  LockChangeEvents(true);
  LockClick(true);
  TryFinally(
      [this] {
        inherited::HandleContentChanged();
        if (ILookupData() && LookupFollowsText()) ILookupData()->TextChanged();
      },
      [this] {
        LockClick(false);
        LockChangeEvents(false);
      });
  if (ILookupData() && !VariantsEqualBooleanAware(before, ILookupData()->GetCurrentKey())) SetModifiedAndClick();
}

bool TcxCustomComboBox::CanNavigateLookupItems(bool) {
  return !IsInplace() || HasPopupWindow();
}

void TcxCustomComboBox::DblClick() {
  inherited::DblClick();
  if (HasPopupWindow() || !ActiveProperties()->Revertable() || !ILookupData() || ILookupData()->IsEmpty()) return;
  LockChangeEvents(true);
  FLookupItemsScrolling = true;
  bool changed = false;
  TryFinally(
      [&] {
        const Variant before = ILookupData()->GetCurrentKey();
        ILookupData()->Go(egdNext, true);
        changed = !VariantsEqualBooleanAware(before, ILookupData()->GetCurrentKey());
      },
      [this] {
        FLookupItemsScrolling = false;
        LockChangeEvents(false);
      });
  if (changed && ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateEdit(true)) PostEditValue();
}

void TcxCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // OnClick comes from a changed item, never from the button itself.
  if (Button == mbLeft) SetControlState(ControlState().Exclude(csClicked));
  inherited::MouseUp(Button, Shift, X, Y);
}

void TcxCustomComboBox::MouseMove(TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (!alive.Alive() || GetCaptureControl() != this || !HasPopupWindow()) return;
  TcxCustomEditListBox* list = ComboLookupData()->List();
  if (!list || !list->HandleAllocated()) return;
  // The button pressed on the editor is still down: dragging into the list
  // hands the press to it, so releasing over a row picks it.
  const TPoint screen = ClientToScreen(TPoint(X, Y));
  TcxCustomEditPopupWindow* popup = GetPopupWindow();
  const TRect client(popup->ClientToScreen(TPoint(0, 0)), popup->ClientToScreen(TPoint(popup->ClientWidth(), popup->ClientHeight())));
  if (!client.Contains(screen) || !ILookupData()->IsMouseOverList(screen)) return;
  SetCaptureControl(nullptr);
  const TPoint p = list->ScreenToClient(screen);
  SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
}

void TcxCustomComboBox::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle().Exclude(csClickEvents));
}

bool TcxCustomComboBox::SetWindowTextValue(const String& AText) {
  if (inherited::SetWindowTextValue(AText)) return true;
  // Typing is held to the items, but a text the program puts back (a stored
  // setting the list no longer offers) is kept rather than silently dropped;
  // validation still reports it when the user leaves the box.
  if (IsUserAction() || ActiveProperties()->GetEditingStyle() != esEditList) return false;
  SetDisplayText(AText);
  return true;
}

// ---------------------------------------------------------------------------
// TcxComboBox

void TcxComboBox::Publish(TPublisher<TcxComboBox>& P) {
  P.Property(L"Properties", &TcxComboBox::Properties, &TcxComboBox::SetProperties);
  P.Property(L"BeepOnEnter", &TcxComboBox::BeepOnEnter, &TcxComboBox::SetBeepOnEnter).Default(true);
  P.Property(L"ItemIndex", &TcxComboBox::ItemIndex, &TcxComboBox::SetItemIndex).Stored(false);
  P.Property(L"Text", &TcxComboBox::Text, &TcxComboBox::SetText);
  P.Property(L"TextHint", &TcxComboBox::TextHint, &TcxComboBox::SetTextHint);
}

bool TcxComboBox::SupportsSpelling() {
  return CanSpellCheck() && ActiveProperties()->DropDownListStyle() == lsEditList;
}

// ---------------------------------------------------------------------------
// TcxComboBoxPopupWindow

TSize TcxComboBoxPopupWindow::DoCalculateSize() {
  ViewInfo()->SizeGripCorner = coBottomRight;
  auto* combo = static_cast<TcxCustomComboBox*>(OwnerControl());
  TRect owner;
  combo->CalculatePopupOwnerBounds(owner);
  const TRect extents = ViewInfo()->GetClientExtent();
  const TSize minSize = MinSize();
  const TSize content = combo->CalculatePopupSize();
  const bool keepsUserSize = Sizeable() && combo->PopupSizeChanged();
  TSize size;
  if (keepsUserSize || (!PopupAutoSize() && PopupWidth() > 0)) size.cx = PopupWidth();
  else if (PopupAutoSize()) size.cx = std::max(extents.Left + extents.Right + content.cx, owner.Width());
  else size.cx = owner.Width();
  if (keepsUserSize || ((Sizeable() || !PopupAutoSize()) && PopupHeight() > 0)) size.cy = PopupHeight();
  else size.cy = extents.Top + extents.Bottom + content.cy;
  if (Sizeable()) {
    size.cx = std::max(size.cx, MinWidth());
    size.cy = std::max(size.cy, MinHeight());
  }
  size.cx = std::max(size.cx, minSize.cx);
  size.cy = std::max(size.cy, minSize.cy);
  return size;
}

// ---------------------------------------------------------------------------
// Filter rows and start-up

TClass TcxFilterComboBoxHelper::TMeta::GetFilterEditClass() const { return TcxComboBox::ClassInfo(); }

void TcxFilterComboBoxHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditProperties* AEditProperties,
                                                          bool AHasButtons) const {
  TcxFilterDropDownEditHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* combo = dynamic_cast<TcxCustomComboBoxProperties*>(AProperties);
  if (!combo) return;
  combo->ButtonGlyph()->Clear();
  combo->SetDropDownRows(8);
  combo->SetDropDownListStyle(lsEditList);
  combo->SetImmediateDropDownWhenKeyPressed(false);
  combo->SetPopupAlignment(taLeftJustify);
  combo->SetRevertable(false);
}

namespace {
int ComboUnitStarts = 0;
}

void cxDropDownEditInitialization() {
  if (ComboUnitStarts++ > 0) return;
  RegisterClasses({TcxComboBox::ClassInfo(), TcxComboBoxProperties::ClassInfo(), TcxPopupEdit::ClassInfo(),
                   TcxPopupEditProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxComboBoxProperties::ClassInfo(),
                                          LoadLocalizedResString(&scxSEditRepositoryComboBoxItem));
  GetRegisteredEditProperties()->Register(TcxPopupEditProperties::ClassInfo(),
                                          LoadLocalizedResString(&scxSEditRepositoryPopupItem));
  GetFilterEditsController()->Register(TcxComboBoxProperties::ClassInfo(), TcxFilterComboBoxHelper::ClassInfo());
}

void cxDropDownEditFinalization() {
  if (ComboUnitStarts == 0 || --ComboUnitStarts > 0) return;
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxComboBoxProperties::ClassInfo(), TcxFilterComboBoxHelper::ClassInfo());
}
