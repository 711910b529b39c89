// The check group. The edit value is the one truth: the inner check boxes
// show it (SyncDisplayValue) and a click on one of them writes it back
// (HandleButtonStateChange); FButtonStatesChanging keeps the first from
// looping into the second.
#include "library/stdctrls/cxCheckGroup.h"

#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/stdctrls/cxExtEditConsts.h"

#include <algorithm>

namespace {

TLeftRight SwappedLeftRight(TLeftRight AValue) {
  return AValue == taLeftJustify ? taRightJustify : AValue == taRightJustify ? taLeftJustify : AValue;
}

TcxEditCheckState EditCheckStateOf(TcxEditButtonState AState) {
  switch (AState) {
    case ebsDisabled:
      return ecsDisabled;
    case ebsPressed:
      return ecsPressed;
    case ebsSelected:
      return ecsHot;
    default:
      return ecsNormal;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Items

void TcxCheckGroupItem::Publish(TPublisher<TcxCheckGroupItem>& P) {
  using T = TcxCheckGroupItem;
  P.Property(L"Caption", &T::Caption, &T::SetCaption);
  P.Property(L"Enabled", &T::Enabled, &T::SetEnabled).Default(true);
  P.Property(L"Tag", &T::Tag, &T::SetTag).Default(0);
}

void TcxCheckGroupItem::Create(TCollection* ACollection) {
  // Checked before the item joins: an item that every value would drop
  // must never be stored.
  if (auto* items = dynamic_cast<TcxButtonGroupItems*>(ACollection))
    if (auto* properties = dynamic_cast<TcxCustomCheckGroupProperties*>(items->OwnerProperties()))
      properties->CheckItemCount(properties->EffectiveValueFormat(), items->Count() + 1);
  inherited::Create(ACollection);
}

// ---------------------------------------------------------------------------
// TcxCustomCheckGroupProperties

void TcxCustomCheckGroupProperties::Create(TPersistent* AOwner) {
  FGlyph.reset(New<TdxSmartGlyph>());
  inherited::Create(AOwner);
  FEditValueFormat = cvfIndices;
  FGlyphCount = 6;
  FGlyph->SetOnChange(BindEvent<&TcxCustomCheckGroupProperties::GlyphChanged>(this));
}

void TcxCustomCheckGroupProperties::Destroy() {
  if (FGlyph) FGlyph->SetOnChange(TNotifyEvent());
  inherited::Destroy();
}

TOwned<TcxButtonGroupItems> TcxCustomCheckGroupProperties::CreateItems() {
  return TOwned<TcxButtonGroupItems>(
      New<TcxCheckGroupItems>(static_cast<TPersistent*>(this), TcxCheckGroupItem::ClassInfo()));
}

void TcxCustomCheckGroupProperties::SetAllowGrayed(bool AValue) {
  if (FAllowGrayed == AValue) return;
  FAllowGrayed = AValue;
  Changed();
}

void TcxCustomCheckGroupProperties::SetEditValueFormat(TcxCheckStatesValueFormat AValue) {
  if (FEditValueFormat == AValue) return;
  const bool custom = FOnEditValueToStates.Assigned() && FOnStatesToEditValue.Assigned();
  CheckItemCount(custom ? cvfCustom : AValue, Items()->Count());
  FEditValueFormat = AValue;
  Changed();
}

void TcxCustomCheckGroupProperties::SetGlyphCount(int AValue) {
  if (FGlyphCount == AValue) return;
  FGlyphCount = AValue;
  Changed();
}

TcxCheckStatesValueFormatEx TcxCustomCheckGroupProperties::EffectiveValueFormat() const {
  if (FOnEditValueToStates.Assigned() && FOnStatesToEditValue.Assigned()) return cvfCustom;
  return FEditValueFormat;
}

void TcxCustomCheckGroupProperties::CheckItemCount(TcxCheckStatesValueFormatEx AFormat, int ACount) const {
  CheckItemCountForFormat(AFormat, ACount);
}

void TcxCustomCheckGroupProperties::EditValueToStates(TObject* AEdit, const Variant& AValue,
                                                      TcxCheckStates& AStates) {
  if (FOnEditValueToStates.Assigned()) {
    AStates.assign(static_cast<std::size_t>(Items()->Count()), cbsUnchecked);
    FOnEditValueToStates(AEdit, AValue, AStates);
    // A handler may leave the array any length; the buttons read one state each.
    AStates.resize(static_cast<std::size_t>(Items()->Count()), cbsUnchecked);
  } else {
    EditValueToCheckStates(AValue, Items(), FEditValueFormat, AStates);
  }
}

void TcxCustomCheckGroupProperties::StatesToEditValue(TObject* AEdit, const TcxCheckStates& AStates,
                                                      Variant& AValue) {
  if (FOnStatesToEditValue.Assigned()) {
    AValue = Variant();
    FOnStatesToEditValue(AEdit, AStates, AValue);
  } else {
    AValue = CheckStatesToEditValue(AStates, Items(), FEditValueFormat);
  }
}

void TcxCustomCheckGroupProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomCheckGroupProperties*>(ASource);
  if (!source) return;
  SetAllowGrayed(source->AllowGrayed());
  SetItemAlignment(source->ItemAlignment());
  SetWordWrap(source->WordWrap());
  SetGlyph(source->Glyph());
  SetGlyphCount(source->GlyphCount());
  FOnEditValueToStates = source->OnEditValueToStates();
  FOnStatesToEditValue = source->OnStatesToEditValue();
  SetEditValueFormat(source->EditValueFormat());
}

bool TcxCustomCheckGroupProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  TcxCheckStates states1, states2;
  EditValueToStates(nullptr, AEditValue1, states1);
  EditValueToStates(nullptr, AEditValue2, states2);
  return states1 == states2;
}

String TcxCustomCheckGroupProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  TcxCheckStates states;
  EditValueToStates(nullptr, AEditValue, states);
  const TResStringRec* const words[] = {&cxSEditCheckGroupUnchecked, &cxSEditCheckGroupChecked,
                                        &cxSEditCheckGroupGrayed};
  String text;
  const int count = std::min(Items()->Count(), static_cast<int>(states.size()));
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += LoadLocalizedResString(&cxSEditCheckGroupFilterColumnSeparator);
    text += Items()->GetItem(i)->Caption() + LoadLocalizedResString(&cxSEditCheckGroupCaptionStateDelimiter) +
            LoadLocalizedResString(words[states[static_cast<std::size_t>(i)]]);
  }
  return text;
}

TClass TcxCustomCheckGroupProperties::GetContainerClass() { return TcxCheckGroup::ClassInfo(); }
TClass TcxCustomCheckGroupProperties::GetViewDataClassType() { return TcxCheckGroupViewData::ClassInfo(); }
TClass TcxCustomCheckGroupProperties::GetViewInfoClass() { return TcxCheckGroupViewInfo::ClassInfo(); }

void TcxCheckGroupProperties::Publish(TPublisher<TcxCheckGroupProperties>& P) {
  using T = TcxCheckGroupProperties;
  P.Property(L"AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Default(false);
  P.Property(L"AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(0);
  P.Property(L"Columns", &T::Columns, &T::SetColumns).Default(1);
  P.Property(L"EditValueFormat", &T::EditValueFormat, &T::SetEditValueFormat).Default(cvfIndices);
  P.Property(L"Glyph", &T::Glyph, &T::SetGlyph);
  P.Property(L"GlyphCount", &T::GlyphCount, &T::SetGlyphCount).Default(6);
  P.Property(L"ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property(L"ItemAlignment", &T::ItemAlignment, &T::SetItemAlignment).Default(taLeftJustify);
  P.Property(L"Items", &T::Items, &T::SetItems);
  P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyAssigned);
  P.Property(L"ShowEndEllipsis", &T::ShowEndEllipsis, &T::SetShowEndEllipsis).Default(false);
  P.Property(L"WordWrap", &T::WordWrap, &T::SetWordWrap).Default(false);
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
  P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
}

// ---------------------------------------------------------------------------
// Paint record and layout

void TcxCheckGroupButtonViewInfo::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCheckGroupButtonViewInfo*>(ASource)) State = source->State;
  inherited::Assign(ASource);
}

TcxCustomCheckGroup* TcxCheckGroupViewInfo::Edit() const { return dynamic_cast<TcxCustomCheckGroup*>(Owner); }

void TcxCheckGroupViewInfo::DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                                            const TRect& AGlyphRect) {
  auto* button = static_cast<TcxCheckGroupButtonViewInfo*>(AButtonViewInfo);
  const TcxEditBorderStyle border =
      CheckBorderStyle == ebsFlat && button->Data.State == ebsSelected ? ebs3D : CheckBorderStyle;
  DrawCheckMark(ACanvas, AGlyphRect, button->State, EditCheckStateOf(button->Data.State), Glyph, GlyphCount, border,
                button->Data.NativeStyle, clBtnText, BackgroundColor(), !Transparent && (IsInplace || !UseSkins),
                IsDesigning, false, true, UseSkins ? Painter : nullptr, ScaleFactor(), nssGrayedChecked);
}

void TcxCheckGroupViewInfo::DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                                              const TRect& AGlyphRect) {
  const TRect& cell = AButtonViewInfo->Bounds;
  const int gap = ScaleFactor()->Apply(
      TcxCustomCheckBoxViewInfo::CalculateTextGap(IsInplace, AButtonViewInfo->Data.NativeStyle));
  TRect R = cell;
  if (ItemAlignment == taRightJustify)
    R.Right = AGlyphRect.Left - gap;
  else
    R.Left = AGlyphRect.Right + gap;
  if (R.IsEmpty()) return;
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Font()->Assign(Font);
  ACanvas->Font()->SetColor(AButtonViewInfo->TextColor);
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->DrawTexT(AButtonViewInfo->Caption, R, static_cast<int>(DrawTextFlags), Enabled && !PaintOnGlass);
  ACanvas->Brush()->SetStyle(bsSolid);
}

TSize TcxCheckGroupViewData::CheckMarkSize() {
  TcxCustomCheckGroupProperties* properties = Properties();
  TcxLookAndFeel* lookAndFeel = Style()->LookAndFeel();
  TcxCustomLookAndFeelPainter* skin = lookAndFeel->SkinPainter();
  return GetCheckMarkSize(properties->Glyph(), properties->GlyphCount(), IsButtonNativeStyle(lookAndFeel), skin,
                          ScaleFactor());
}

void TcxCheckGroupViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                      TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                      bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxCheckGroupViewInfo*>(AViewInfo);
  TcxCustomCheckGroupProperties* properties = Properties();
  vi->GlyphSize = CheckMarkSize();
  vi->Glyph = properties->Glyph();
  vi->GlyphCount = properties->GlyphCount();
  vi->ItemAlignment =
      UseRightToLeftAlignment ? SwappedLeftRight(properties->ItemAlignment()) : properties->ItemAlignment();
  static constexpr TcxEditBorderStyle byKind[] = {ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11};
  vi->CheckBorderStyle = byKind[Style()->LookAndFeel()->Kind()];
  vi->SetBackgroundColor(Style()->Color());
}

void TcxCheckGroupViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  TcxCustomCheckGroupProperties* properties = Properties();
  const int count = properties->Items()->Count();
  if (static_cast<int>(AViewInfo->ButtonsInfo.size()) != count) AViewInfo->SetButtonCount(count);
  TcxCheckStates states;
  if (!PreviewMode) properties->EditValueToStates(IsInplace() ? nullptr : Edit(), AEditValue, states);
  for (int i = 0; i < count; ++i) {
    auto* button = static_cast<TcxCheckGroupButtonViewInfo*>(AViewInfo->ButtonsInfo[static_cast<std::size_t>(i)].get());
    if (PreviewMode)
      button->State = i == 0 ? cbsChecked : cbsUnchecked;
    else
      button->State = i < static_cast<int>(states.size()) ? states[static_cast<std::size_t>(i)] : cbsUnchecked;
  }
  if (PaintOptions.Contains(epoAutoHeight)) AViewInfo->PaintOptions.Include(epoAutoHeight);
}

void TcxCheckGroupViewData::GetCaptionExtent(TRect& ARect) {
  ARect = TRect(Properties()->ItemAlignment() == taRightJustify ? 2 : 3, 0, 2, 0);
}

void TcxCheckGroupViewData::GetButtonMetrics(bool AHasWidth, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) {
  inherited::GetButtonMetrics(AHasWidth, ACanvas, AMetrics);
  if (!ACanvas) return;
  AMetrics.GlyphSize = CheckMarkSize();
  TRect extent;
  GetCaptionExtent(extent);
  const int c = extent.Left + extent.Right;
  AMetrics.FixedTextOffset = c;
  AMetrics.AutoTextOffset = c;
  AMetrics.AutoWidthCorrection = ScaleFactor()->Apply(IsInplace() ? 1 : 6);
  AMetrics.FixedWidthCorrection = AMetrics.LayoutWidthCorrection;
}

// ---------------------------------------------------------------------------
// The inner check box

TdxSmartGlyph* TcxCheckGroupButtonProperties::InternalGetGlyph() {
  auto* button = dynamic_cast<TcxCheckGroupButton*>(GetOwner());
  TcxCustomCheckGroup* group = button ? button->CheckGroup() : nullptr;
  return group ? group->ActiveProperties()->Glyph() : inherited::InternalGetGlyph();
}

TClass TcxCheckGroupButtonProperties::GetViewDataClassType() { return TcxCheckGroupButtonViewData::ClassInfo(); }
TClass TcxCheckGroupButtonProperties::GetViewInfoClass() { return TcxCheckGroupCheckButtonViewInfo::ClassInfo(); }

TcxCustomCheckGroup* TcxCheckGroupButton::CheckGroup() const { return dynamic_cast<TcxCustomCheckGroup*>(Owner()); }

void TcxCheckGroupButton::InitializeEdit() {
  inherited::InitializeEdit();
  if (TcxCustomCheckGroup* group = CheckGroup())
    Style()->LookAndFeel()->SetMasterLookAndFeel(group->Style()->LookAndFeel());
  SetKeys(Keys() + TcxKeys{kArrows});
  UpdateTransparentBorder();
}

bool TcxCheckGroupButton::UsesNativeStyle() {
  TcxCustomCheckGroup* group = CheckGroup();
  return group ? group->IsButtonNativeStyle() : inherited::UsesNativeStyle();
}

void TcxCheckGroupButton::UpdateTransparentBorder() {
  TcxCustomCheckGroup* group = CheckGroup();
  if (!group || !group->IsInplace()) Style()->SetTransparentBorder(false);
}

void TcxCheckGroupButton::KeyDown(WORD& Key, TShiftState Shift) {
  // The group sees the key first: its events and its grid navigation.
  const TKeyEvent handler = OnKeyDown();
  CallEvent(handler, static_cast<TObject*>(this), Key, Shift);
  TcxCustomCheckGroup* group = CheckGroup();
  if (Key != 0 && group && !group->IsInplace()) {
    if (Key == VK_LEFT || Key == VK_UP) group->FocusAdjacentButton(this, false);
    if (Key == VK_RIGHT || Key == VK_DOWN) group->FocusAdjacentButton(this, true);
  }
  if (Key == 0) return;
  // Detached so that the group's handler does not see the key twice.
  SetOnKeyDown(TKeyEvent());
  TryFinally([&] { inherited::KeyDown(Key, Shift); }, [&] { SetOnKeyDown(handler); });
}

void TcxCheckGroupButton::DoExit() {
  inherited::DoExit();
  if (TcxCustomCheckGroup* group = CheckGroup()) {
    for (int i = 0; i < group->ButtonCount(); ++i)
      if (group->Button(i) == this) group->FFocusedItemIndex = i;
  }
}

// ---------------------------------------------------------------------------
// TcxCustomCheckGroup

void TcxCustomCheckGroup::InitializeEdit() {
  inherited::InitializeEdit();
  SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls});
  FFocusedItemIndex = -1;
  SetInternalEditValue(Variant(String()));
}

TObject* TcxCustomCheckGroup::ConversionEdit() { return IsInplace() ? nullptr : this; }

TcxCheckBoxState TcxCustomCheckGroup::GetState(int AIndex) { return CheckButton(AIndex)->State(); }

void TcxCustomCheckGroup::SetState(int AIndex, TcxCheckBoxState AValue) { CheckButton(AIndex)->SetState(AValue); }

bool TcxCustomCheckGroup::IsGroupFocused() { return Focused() || GetFocusedButtonIndex() >= 0; }

bool TcxCustomCheckGroup::IsEditValueStored() const {
  Variant value = const_cast<TcxCustomCheckGroup*>(this)->EditValue();
  switch (Properties()->EditValueFormat()) {
    case cvfCaptions:
    case cvfIndices:
      return !(VarIsStr(value) && value.AsString().empty());
    case cvfInteger:
      return !(VarIsOrdinal(value) && value.AsInt64() == 0);
    case cvfStatesString: {
      if (value.IsNull()) return false;
      const String text = VarIsStr(value) ? value.AsString() : VarToStr(value);
      return text.find_first_of(L"12") != String::npos;
    }
    default:
      return false;
  }
}

void TcxCustomCheckGroup::SyncDisplayValue() {
  TcxCustomCheckGroupProperties* properties = ActiveProperties();
  if (properties->Items()->ItemChanged()) return;
  TcxCheckStates states;
  properties->EditValueToStates(ConversionEdit(), EditValue(), states);
  if (!properties->AllowGrayed() && IsGroupFocused())
    std::ranges::replace(states, cbsGrayed, cbsUnchecked);
  FButtonStatesChanging = true;
  TryFinally(
      [&] {
        const int count = std::min(ButtonCount(), static_cast<int>(states.size()));
        for (int i = 0; i < count; ++i) CheckButton(i)->SetState(states[static_cast<std::size_t>(i)]);
      },
      [this] { FButtonStatesChanging = false; });
}

void TcxCustomCheckGroup::RebuildEditValueFromButtons() {
  TcxCheckStates states;
  for (int i = 0; i < ButtonCount(); ++i) states.push_back(CheckButton(i)->State());
  const Variant previous = EditValue();
  Variant value;
  ActiveProperties()->StatesToEditValue(ConversionEdit(), states, value);
  StoreEditValue(value);
  if (!IsSameEditValue(previous, value)) TcxCustomEdit::EditValueChanged();
}

void TcxCustomCheckGroup::SetTextPreservingModified(const String&) { RebuildEditValueFromButtons(); }

void TcxCustomCheckGroup::ApplyEditValue(const Variant& AValue) {
  inherited::ApplyEditValue(AValue);
  ClearButtonsModified();
}

void TcxCustomCheckGroup::ClearButtonsModified() {
  if (ModifiedAfterEnter() && !ActiveProperties()->ImmediatePost()) return;
  for (int i = 0; i < ButtonCount(); ++i) CheckButton(i)->SetModifiedAfterEnter(false);
}

void TcxCustomCheckGroup::PropertiesChanged(TObject* Sender) {
  // The buttons still show the states read with the old settings: they are
  // re-encoded with the new ones (a new EditValueFormat keeps the checks).
  // Without buttons in step with the items (loading, no window yet) the
  // value is the only record and stays as it is.
  const bool inStep = !IsLoading() && ButtonCount() > 0 && ButtonCount() == ActiveProperties()->Items()->Count();
  if (inStep) RebuildEditValueFromButtons();
  inherited::PropertiesChanged(Sender);
  if (!IsLoading() && ButtonCount() == ActiveProperties()->Items()->Count()) RebuildEditValueFromButtons();
  DataBinding()->UpdateDisplayValue();
}

TWinControl* TcxCustomCheckGroup::CreateButton() {
  TcxCheckGroupButton* button = New<TcxCheckGroupButton>(static_cast<TComponent*>(this), IsInplace());
  return button;
}

HDC TcxCustomCheckGroup::GetButtonDC(int AIndex) { return CheckButton(AIndex)->Canvas()->Handle(); }

void TcxCustomCheckGroup::ArrangeButtons() {
  inherited::ArrangeButtons();
  const auto& infos = ViewInfo()->ButtonsInfo;
  const int n = std::min(ButtonCount(), static_cast<int>(infos.size()));
  for (int i = 0; i < n; ++i) {
    auto* info = static_cast<TcxGroupBoxButtonViewInfo*>(infos[static_cast<std::size_t>(i)].get());
    CheckButton(i)->FColumn = info->Column;
    CheckButton(i)->FRow = info->Row;
  }
}

void TcxCustomCheckGroup::UpdateButtons() {
  inherited::UpdateButtons();
  if (FFocusedItemIndex >= ButtonCount()) FFocusedItemIndex = -1;
  TcxCustomCheckGroupProperties* properties = ActiveProperties();
  const auto& infos = ViewInfo()->ButtonsInfo;
  for (int i = 0; i < ButtonCount(); ++i) {
    TcxCheckGroupButton* button = CheckButton(i);
    TcxCheckGroupButtonProperties* buttonProperties = button->Properties();
    buttonProperties->BeginUpdate();
    TryFinally(
        [&] {
          buttonProperties->Alignment()->SetHorz(properties->ItemAlignment());
          buttonProperties->SetAllowGrayed(properties->AllowGrayed());
          button->SetCaption(properties->Items()->GetItem(i)->Caption());
          buttonProperties->SetShowEndEllipsis(properties->ShowEndEllipsis());
          buttonProperties->SetMultiLine(properties->WordWrap());
          buttonProperties->SetGlyphCount(properties->GlyphCount());
          buttonProperties->SetReadOnly(DataBinding()->IsDataAvailable() && properties->ReadOnly());
          if (!infos.empty()) {
            TcxLookAndFeelKind kind;
            switch (infos.front()->Data.Style) {
              case btsFlat:
                kind = lfFlat;
                break;
              case btsUltraFlat:
                kind = lfUltraFlat;
                break;
              case btsOffice11:
                kind = lfOffice11;
                break;
              default:
                kind = lfStandard;
                break;
            }
            button->Style()->LookAndFeel()->SetKind(kind);
          }
        },
        [&] { buttonProperties->EndUpdate(); });
    button->SetOnEditing(BindEvent<&TcxCustomCheckGroup::HandleButtonEditing>(this));
    button->SetOnFocusChanged(BindEvent<&TcxCustomCheckGroup::HandleButtonFocusChange>(this));
    buttonProperties->SetOnChange(BindEvent<&TcxCustomCheckGroup::HandleButtonStateChange>(this));
  }
}

void TcxCustomCheckGroup::UpdateButtonStyles() {
  inherited::UpdateButtonStyles();
  for (int i = 0; i < ButtonCount(); ++i) {
    TcxCheckGroupButton* button = CheckButton(i);
    button->Style()->Assign(Style());
    button->StyleDisabled()->Assign(StyleDisabled());
    button->StyleFocused()->Assign(StyleFocused());
    button->StyleHot()->Assign(StyleHot());
    for (TcxEditStyle* style : {button->Style(), button->StyleDisabled(), button->StyleFocused(), button->StyleHot()})
      style->SetShadow(false);
    button->UpdateTransparentBorder();
    button->SetTransparent(Transparent());
    button->SetParentFont(true);
  }
}

void TcxCustomCheckGroup::HandleButtonStateChange(TObject*) {
  if (FButtonStatesChanging) return;
  LockChangeEvents(true);
  TryFinally(
      [this] {
        RebuildEditValueFromButtons();
        HandleContentChanged();
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateByOptions(false)) {
          PostValueCore(false);
          ClearButtonsModified();
        }
      },
      [this] { LockChangeEvents(false); });
}

void TcxCustomCheckGroup::HandleButtonEditing(TObject*, bool& CanEdit) { CanEdit = DoEditing(); }

void TcxCustomCheckGroup::HandleButtonFocusChange(TObject*) { FocusChanged(); }

int TcxCustomCheckGroup::FindFocusableButton(int AStart) {
  const int n = ButtonCount();
  if (n == 0) return -1;
  const int start = AStart < 0 || AStart >= n ? 0 : AStart;
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    if (Button(i)->CanFocus()) return i;
  }
  return -1;
}

void TcxCustomCheckGroup::FocusAdjacentButton(TcxCheckGroupButton* AButton, bool AForward) {
  const int n = ButtonCount();
  int from = -1;
  for (int i = 0; i < n; ++i)
    if (Button(i) == AButton) from = i;
  if (from < 0) return;
  for (int k = 1; k < n; ++k) {
    const int i = ((AForward ? from + k : from - k) % n + n) % n;
    if (Button(i)->Enabled() && Button(i)->CanFocus()) {
      Button(i)->SetFocus();
      return;
    }
  }
}

void TcxCustomCheckGroup::SetFocus() {
  inherited::SetFocus();
  FFocusedItemIndex = FindFocusableButton(FFocusedItemIndex);
  if (FFocusedItemIndex >= 0) Button(FFocusedItemIndex)->SetFocus();
}

void TcxCustomCheckGroup::FocusAndSelect() {
  FFocusedItemIndex = 0;
  inherited::FocusAndSelect();
}

void TcxCustomCheckGroup::GetTabOrderList(std::vector<TWinControl*>& AList) {
  inherited::GetTabOrderList(AList);
  // The group is one stop, taken by one of its buttons.
  std::erase(AList, static_cast<TWinControl*>(this));
  for (int i = 0; i < ButtonCount(); ++i) std::erase(AList, Button(i));
  if (!TabStop()) return;
  int index = GetFocusedButtonIndex();
  if (index < 0) index = FindFocusableButton(FFocusedItemIndex);
  if (index >= 0) AList.push_back(Button(index));
}

void TcxCheckGroup::Publish(TPublisher<TcxCheckGroup>& P) {
  using T = TcxCheckGroup;
  P.Property(L"Properties", &T::Properties, &T::SetProperties);
  P.Property(L"StatesItems", &T::StatesItems, &T::SetStatesItems).Stored(false);
  P.Property(L"Transparent", &T::Transparent, &T::SetTransparent).Default(false);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxCheckGroupInitialization() {
  RegisterClasses({TcxCheckGroup::ClassInfo(), TcxCheckGroupProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxCheckGroupProperties::ClassInfo(),
                                          LoadResString(&scxSEditRepositoryCheckGroupItem));
}

void cxCheckGroupFinalization() {
  GetRegisteredEditProperties()->Unregister(TcxCheckGroupProperties::ClassInfo());
}
