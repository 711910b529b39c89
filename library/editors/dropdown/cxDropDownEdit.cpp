// The drop-down editor: its properties, view data, inner edit, opening and
// closing with their events and close-up reasons, keys, mouse and focus,
// the kept popup size and accessibility. The popup window is in
// cxDropDownEdit_PopupWindow.cpp, the popup edit in
// cxDropDownEdit_PopupEdit.cpp.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/editors/edit/cxEdit_Internal.h"

namespace {

// The position that stands for "none cached".
constexpr TPoint NoCachedPosition{-30000, -30000};
// In-place hosts park an editor they do not show at this left edge.
constexpr int ParkedLeft = 30000;

constexpr int StateExpanded = 0x200;
constexpr int StateCollapsed = 0x400;
constexpr int RoleComboBox = 46;

// The state change for MSAA clients, and the expand/collapse property change
// that the UI Automation bridge turns into its event.
void DefaultExpandCollapseRaiser(TcxCustomDropDownEdit* AEdit, bool) {
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, AEdit->Handle(), OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(UIA_ExpandCollapseExpandCollapseStatePropertyId, AEdit->Handle(), OBJID_CLIENT, CHILDID_SELF);
}

TcxExpandCollapseRaiser& ExpandCollapseRaiser() {
  static TcxExpandCollapseRaiser raiser = &DefaultExpandCollapseRaiser;
  return raiser;
}

// Variants compared the way a key change is judged: Booleans by their text.
bool KeysDiffer(const Variant& A, const Variant& B) {
  if (A.VType() == varBoolean || B.VType() == varBoolean) return VarToStr(A) != VarToStr(B);
  return !VariantsEqual(A, B);
}

}  // namespace

TcxExpandCollapseRaiser cxSetExpandCollapseRaiser(TcxExpandCollapseRaiser ARaiser) {
  const TcxExpandCollapseRaiser previous = ExpandCollapseRaiser();
  ExpandCollapseRaiser() = ARaiser ? ARaiser : &DefaultExpandCollapseRaiser;
  return previous;
}

// ---------------------------------------------------------------------------
// TcxEditPopupControlLookAndFeel

void TcxEditPopupControlLookAndFeel::RefreshFrom(TcxCustomDropDownEdit* AEdit) {
  TcxLookAndFeel* source = AEdit->Style()->LookAndFeel();
  const TcxLookAndFeelKind kind =
      AEdit->IsInplace() || AEdit->ActiveProperties()->Buttons()->Count() > 0 ? source->Kind() : lfStandard;
  const bool nativeStyle = AEdit->ViewInfo() && AEdit->ViewInfo()->NativeStyle;
  if (Kind() == kind && NativeStyle() == nativeStyle && SkinName() == source->SkinName() &&
      ScrollbarMode() == source->ScrollbarMode())
    return;
  BeginUpdate();
  TScopeExit done([this] { EndUpdate(); });
  SetKind(kind);
  SetNativeStyle(nativeStyle);
  SetSkinName(source->SkinName());
  SetScrollbarMode(source->ScrollbarMode());
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditProperties

void TcxCustomDropDownEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FScaleFactor.reset(New<TdxScaleFactor>());
  BeginUpdate();
  TScopeExit done([this] { EndUpdate(); });
  FButtonGlyph.reset(New<TdxSmartGlyph>());
  FButtonGlyph->SetOnChange(BindEvent<&TcxCustomDropDownEditProperties::GlyphChanged>(this));
  Buttons()->Add()->SetKind(bkDown);
}

void TcxCustomDropDownEditProperties::Destroy() {
  if (FButtonGlyph) FButtonGlyph->SetOnChange(TNotifyEvent());
  FButtonGlyph.reset();
  inherited::Destroy();
}

void TcxCustomDropDownEditProperties::SetButtonGlyph(TdxSmartGlyph* AValue) { FButtonGlyph->Assign(AValue); }

void TcxCustomDropDownEditProperties::GlyphChanged(TObject*) {
  ApplyGlyphButton();
  Changed();
}

void TcxCustomDropDownEditProperties::SetGlyphButton(int AIndex, bool AAttach) {
  if (AIndex < 0 || AIndex >= Buttons()->Count()) return;
  TcxEditButton* button = Buttons()->Items(AIndex);
  if (AAttach) {
    button->SetGlyph(FButtonGlyph.get());
    if (!FButtonGlyph->Empty()) button->SetKind(bkGlyph);
    return;
  }
  button->Glyph()->Clear();
  if (button->Kind() == bkGlyph) button->SetKind(AIndex == 0 && UsesArrowDropDownButton() ? bkDown : bkEllipsis);
}

void TcxCustomDropDownEditProperties::ApplyGlyphButton() {
  // The buttons' change notification comes back here.
  if (!FButtonGlyph || FApplyingGlyphButton) return;
  FApplyingGlyphButton = true;
  Buttons()->BeginUpdate();
  TScopeExit done([this] {
    Buttons()->EndUpdate();
    FApplyingGlyphButton = false;
  });
  SetGlyphButton(FGlyphButtonIndex, false);
  SetGlyphButton(FGlyphButtonIndex, true);
}

TAlignment TcxCustomDropDownEditProperties::PopupAlignment() const {
  switch (FPopupHorzAlignment) {
    case pahRight: return taRightJustify;
    case pahCenter: return taCenter;
    default: return taLeftJustify;
  }
}

void TcxCustomDropDownEditProperties::SetPopupAlignment(TAlignment AValue) {
  switch (AValue) {
    case taRightJustify: SetPopupHorzAlignment(pahRight); break;
    case taCenter: SetPopupHorzAlignment(pahCenter); break;
    default: SetPopupHorzAlignment(pahLeft); break;
  }
}

void TcxCustomDropDownEditProperties::SetPopupHeight(int AValue) {
  FPopupHeight = std::max(AValue, FPopupMinHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(int AValue) {
  FPopupMinHeight = std::max(AValue, 0);
  SetPopupHeight(FPopupHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinWidth(int AValue) {
  FPopupMinWidth = std::max(AValue, 0);
  SetPopupWidth(FPopupWidth);
}

void TcxCustomDropDownEditProperties::SetPopupWidth(int AValue) {
  if (AValue <= 0) FPopupWidth = 0;
  else FPopupWidth = std::max(AValue, FPopupMinWidth);
}

TClass TcxCustomDropDownEditProperties::GetPopupWindowClass() { return TcxCustomEditPopupWindow::ClassInfo(); }
TClass TcxCustomDropDownEditProperties::GetContainerClass() { return TcxCustomDropDownEdit::ClassInfo(); }
TClass TcxCustomDropDownEditProperties::GetViewDataClassType() {
  return TcxCustomDropDownEditViewData::ClassInfo();
}

void TcxCustomDropDownEditProperties::NotifyPropertiesChanged() {
  ApplyGlyphButton();
  inherited::NotifyPropertiesChanged();
}

void TcxCustomDropDownEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomDropDownEditProperties*>(ASource);
  if (!source) return;
  BeginUpdate();
  TScopeExit done([this] { EndUpdate(); });
  SetButtonGlyph(source->ButtonGlyph());
  SetImmediateDropDownWhenKeyPressed(source->ImmediateDropDownWhenKeyPressed());
  SetImmediateDropDownWhenActivated(source->ImmediateDropDownWhenActivated());
  SetKeepArrowButtonPressedWhenDroppedDown(source->KeepArrowButtonPressedWhenDroppedDown());
  SetPopupAutoSize(source->PopupAutoSize());
  SetPopupClientEdge(source->PopupClientEdge());
  SetPopupDirection(source->PopupDirection());
  SetPopupHorzAlignment(source->PopupHorzAlignment());
  SetPopupSizeable(source->PopupSizeable());
  SetPopupSysPanelStyle(source->PopupSysPanelStyle());
  SetPopupVertAlignment(source->PopupVertAlignment());
  SetPostPopupValueOnTab(source->PostPopupValueOnTab());
  // Minimums first: the sizes are raised to them. All at the source's scale.
  const auto own = [&](int AValue) { return FScaleFactor->Apply(AValue, source->ScaleFactor()); };
  SetPopupMinHeight(own(source->PopupMinHeight()));
  SetPopupMinWidth(own(source->PopupMinWidth()));
  SetPopupHeight(own(source->PopupHeight()));
  SetPopupWidth(own(source->PopupWidth()));
  SetOnClosePopup(source->OnClosePopup());
  SetOnCloseQuery(source->OnCloseQuery());
  SetOnCloseUp(source->OnCloseUp());
  SetOnInitPopup(source->OnInitPopup());
  SetOnPopup(source->OnPopup());
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditViewData

void TcxCustomDropDownEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              TcxMouseButton Button, TShiftState Shift,
                                              TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  auto* properties = static_cast<TcxCustomDropDownEditProperties*>(Properties());
  KeepArrowButtonPressedWhenDroppedDown = properties->KeepArrowButtonPressedWhenDroppedDown();
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
}

bool TcxCustomDropDownEditViewData::CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) {
  auto* properties = static_cast<TcxCustomDropDownEditProperties*>(Properties());
  if (IsHotAndPopup && AButtonVisibleIndex == properties->GetDropDownButtonIndex()) return false;
  return inherited::CanPressButton(AViewInfo, AButtonVisibleIndex);
}

bool TcxCustomDropDownEditViewData::IsButtonHeldPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) {
  if (inherited::IsButtonHeldPressed(AViewInfo, AButtonVisibleIndex)) return true;
  auto* properties = static_cast<TcxCustomDropDownEditProperties*>(Properties());
  return (HasPopupWindow || IsHotAndPopup) && KeepArrowButtonPressedWhenDroppedDown &&
         AButtonVisibleIndex == properties->GetDropDownButtonIndex();
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownInnerEdit

void TcxCustomDropDownInnerEdit::WndProc(TMessage& Message) {
  auto* edit = dynamic_cast<TcxCustomDropDownEdit*>(Owner());
  if (edit && Message.Msg == CM_HINTSHOW) {
    Message.Result = edit->HasPopupWindow() ? 1 : 0;
    return;
  }
  inherited::WndProc(Message);
  // Escape reaches the dialog from a closed fixed-list editor.
  if (edit && Message.Msg == WM_GETDLGCODE && (GetKeyState(VK_ESCAPE) & 0x8000) && !edit->HasPopupWindow() &&
      edit->ActiveProperties()->GetEditingStyle() == esFixedList)
    Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownEdit: creation and destruction

void TcxCustomDropDownEdit::InitializeEdit() {
  inherited::InitializeEdit();
  FCachedPosition = NoCachedPosition;
  FSendChildrenStyle = true;
  FPopupControlsLookAndFeel.reset(New<TcxEditPopupControlLookAndFeel>(static_cast<TPersistent*>(this)));
  FPopupControlsLookAndFeel->SetOnChanged(BindEvent<&TcxCustomDropDownEdit::PopupControlsLookAndFeelChanged>(this));
  if (!IsDesigning()) CreatePopupWindow();
}

void TcxCustomDropDownEdit::CreatePopupWindow() {
  FPopupWindow.reset(
      NewOfClass<TcxCustomEditPopupWindow>(ActiveProperties()->GetPopupWindowClass(), static_cast<TComponent*>(this)));
  FPopupWindow->SetCaptureFocus(PopupCapturesFocus());
  FPopupWindow->SetIsTopMost(!IsInplace());
  FPopupWindow->Style()->LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
  FPopupWindow->SetBiDiMode(BiDiMode());
  FPopupWindow->SetOnBeforeClosing(BindEvent<&TcxCustomDropDownEdit::PopupWindowBeforeClosing>(this));
  FPopupWindow->SetOnClosed(BindEvent<&TcxCustomDropDownEdit::PopupWindowClosed>(this));
  FPopupWindow->SetOnCloseQuery(BindEvent<&TcxCustomDropDownEdit::PopupWindowCloseQuery>(this));
  FPopupWindow->SetOnClosing(BindEvent<&TcxCustomDropDownEdit::PopupWindowClosing>(this));
  FPopupWindow->SetOnShowing(BindEvent<&TcxCustomDropDownEdit::PopupWindowShowing>(this));
  FPopupWindow->SetOnShowed(BindEvent<&TcxCustomDropDownEdit::AfterPopupOpened>(this));
}

void TcxCustomDropDownEdit::DestroyPopupWindow() {
  if (!FPopupWindow) return;
  FPopupWindow->SetOnBeforeClosing(TNotifyEvent());
  FPopupWindow->SetOnClosed(TNotifyEvent());
  FPopupWindow->SetOnCloseQuery(TCloseQueryEvent());
  FPopupWindow->SetOnClosing(TNotifyEvent());
  FPopupWindow->SetOnShowing(TNotifyEvent());
  FPopupWindow->SetOnShowed(TNotifyEvent());
  FPopupWindow.reset();
}

void TcxCustomDropDownEdit::BeforeDestruction() {
  if (ILookupData()) ILookupData()->Deinitialize();
  inherited::BeforeDestruction();
}

void TcxCustomDropDownEdit::Destroy() {
  FInitializeLookupDataTimer.reset();
  DestroyPopupWindow();
  FPopupControlsLookAndFeel.reset();
  inherited::Destroy();
}

void TcxCustomDropDownEdit::CreateWnd() {
  inherited::CreateWnd();
  if (UsesLookupData() && ActiveProperties()->ShowsLookupListInPopup() && !FInitializeLookupDataTimer) {
    FInitializeLookupDataTimer.reset(New<TcxTimer>(static_cast<TComponent*>(nullptr)));
    FInitializeLookupDataTimer->SetInterval(1);
    FInitializeLookupDataTimer->SetOnTimer(BindEvent<&TcxCustomDropDownEdit::InitializeLookupDataTimerTick>(this));
  }
}

void TcxCustomDropDownEdit::InitializeLookupDataTimerTick(TObject*) {
  FInitializeLookupDataTimer.reset();
  InitializePopupContent();
}

void TcxCustomDropDownEdit::DestroyWnd() {
  if (HasPopupWindow()) ClosePopup(crUnknown);
  DoFinalizePopup();
  FInitializeLookupDataTimer.reset();
  inherited::DestroyWnd();
}

TClass TcxCustomDropDownEdit::GetInnerControlClass() { return TcxCustomDropDownInnerEdit::ClassInfo(); }

TClass TcxCustomDropDownEdit::GetAccessibilityHelperClass() {
  return TdxCustomDropDownEditAccessibilityHelper::ClassInfo();
}

TOwned<TcxCustomEditViewData> TcxCustomDropDownEdit::CreateEditViewData() {
  TOwned<TcxCustomEditViewData> result = inherited::CreateEditViewData();
  if (auto* data = dynamic_cast<TcxCustomDropDownEditViewData*>(result.get())) {
    data->HasPopupWindow = HasPopupWindow();
    data->IsHotAndPopup = FIsHotAndPopup;
  }
  return result;
}

// ---------------------------------------------------------------------------
// State

bool TcxCustomDropDownEdit::HasPopupWindow() { return FPopupWindow && FPopupWindow->IsVisible(); }

bool TcxCustomDropDownEdit::DroppedDown() { return HasPopupWindow(); }

void TcxCustomDropDownEdit::SetDroppedDown(bool AValue) {
  if (AValue == DroppedDown()) return;
  if (AValue) {
    if (!IsOpenPending()) OpenPopup();
  } else {
    ClosePopup(crUnknown);
  }
}

bool TcxCustomDropDownEdit::IsFocused() { return inherited::IsFocused() || HasPopupWindow(); }

bool TcxCustomDropDownEdit::IsOnScreen() {
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible()) return false;
  return Left() != ParkedLeft;
}

bool TcxCustomDropDownEdit::IsOpenPending() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return false;
  MSG msg{};
  return PeekMessageW(&msg, FPopupWindow->Handle(), TcxCustomPopupWindow::CM_REPOPUP,
                      TcxCustomPopupWindow::CM_REPOPUP, PM_NOREMOVE | PM_NOYIELD) != 0;
}

bool TcxCustomDropDownEdit::RemovePendingOpen() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return false;
  MSG msg{};
  bool removed = false;
  while (PeekMessageW(&msg, FPopupWindow->Handle(), TcxCustomPopupWindow::CM_REPOPUP,
                      TcxCustomPopupWindow::CM_REPOPUP, PM_REMOVE | PM_NOYIELD))
    removed = true;
  return removed;
}

void TcxCustomDropDownEdit::CalculatePopupOwnerBounds(TRect& ARect) {
  if (IsInplace() && !ContentParams.ExternalBorderBounds.IsEmpty()) ARect = ContentParams.ExternalBorderBounds;
  else ARect = GetVisibleBounds();
  if (ViewInfo() && ViewInfo()->Shadow) ARect.Right += TcxCustomEditPopupWindowViewInfo::ShadowSize;
  const TPoint origin = IsOnScreen() ? TPoint{Left(), Top()} : FCachedPosition;
  ARect.Offset(origin.X, origin.Y);
}

// ---------------------------------------------------------------------------
// Opening

void TcxCustomDropDownEdit::OpenPopup() {
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  FCachedPosition = IsOnScreen() ? TPoint{Left(), Top()} : NoCachedPosition;
  DoInitPopup();
  if (!CanDropDown()) {
    DoFinalizePopup();
    return;
  }
  PreparePopupWindow();
  FPopupWindow->HandleNeeded();
  // Taking the editor's own control as the popup's focus enters it again,
  // which selects its whole text: the caret the user placed stays.
  const bool keepsSelection = !PopupCapturesFocus() && Focused();
  const int selStart = keepsSelection ? SelStart() : 0;
  const int selLength = keepsSelection ? SelLength() : 0;
  FPopupWindow->SetFocusedControl(GetPopupFocusedControl());
  if (keepsSelection) SetSelection(selStart, selLength);
  PostMessageW(FPopupWindow->Handle(), TcxCustomPopupWindow::CM_REPOPUP, 0, 0);
}

void TcxCustomDropDownEdit::DoInitPopup() {
  if (FPopupInitialized) return;
  FPopupInitialized = true;
  try {
    CallEvent(Properties()->OnInitPopup(), this);
    if (RepositoryItem() && RepositoryItem()->Properties() != Properties())
      CallEvent(static_cast<TcxCustomDropDownEditProperties*>(RepositoryItem()->Properties())->OnInitPopup(), this);
  } catch (...) {
    FPopupInitialized = false;
    throw;
  }
  if (UsesLookupData()) ILookupData()->DropDown();
}

void TcxCustomDropDownEdit::PreparePopupWindow() {
  FPopupWindow->SetCaptureFocus(PopupCapturesFocus());
  InitializePopupContent();
  SetupPopupWindow();
  TSize size;
  TPoint position;
  {
    FPopupWindow->LockCheckSize();
    TScopeExit unlock([this] { FPopupWindow->UnlockCheckSize(); });
    size = FPopupWindow->CalculateSize();
    position = FPopupWindow->CalculatePosition(size);
    FPopupWindow->CorrectBoundsWithDesktopWorkArea(position, size);
  }
  FPopupWindow->SetBounds(position.X, position.Y, size.cx, size.cy);
  FPopupWindow->UpdateOwnerBounds();
  FPopupWindow->CalculateViewInfo();
  PositionPopupContent(FPopupWindow->ViewInfo()->ClientRect);
  FPopupWindow->Invalidate();
  PositionPopupContent(FPopupWindow->ViewInfo()->ClientRect);
  FPopupWindow->SetRegionWithShadow();
}

void TcxCustomDropDownEdit::SetupPopupWindow() {
  TcxCustomDropDownEditProperties* properties = ActiveProperties();
  TcxCustomEditPopupWindow* window = FPopupWindow.get();
  window->SetOwnerParent(Parent());
  window->SetDirection(properties->PopupDirection());
  TcxPopupAlignHorz horz = properties->PopupHorzAlignment();
  if (UseRightToLeftAlignment() && horz != pahCenter) horz = horz == pahLeft ? pahRight : pahLeft;
  window->SetAlignHorz(horz);
  window->SetAlignVert(properties->PopupVertAlignment());
  window->SetClientEdge(properties->PopupClientEdge());
  window->SetMinHeight(ScaleFactor()->Apply(properties->PopupMinHeight(), properties->ScaleFactor()));
  window->SetMinWidth(ScaleFactor()->Apply(properties->PopupMinWidth(), properties->ScaleFactor()));
  window->SetPopupAutoSize(properties->PopupAutoSize());
  window->SetShowSearchInfoPanel(ShowsSearchInfoPanel());
  window->SetSizeable(properties->PopupSizeable());
  window->SetSysPanelStyle(properties->PopupSysPanelStyle());
  window->SetPopupWidth(GetPopupWidth());
  window->SetPopupHeight(GetPopupHeight());
  window->SetCloseButton(static_cast<TcxCustomEditStyle*>(Style())->PopupCloseButton());
  if (ViewInfo()) {
    window->SetPopupBorderStyle(ViewInfo()->PopupBorderStyle);
    window->SetNativeStyle(ViewInfo()->NativeStyle);
    window->SetShadow(ViewInfo()->Shadow);
  }
  window->Style()->Font()->Assign(Style()->Font());
  if (properties->IsIncrementalFilteringActive()) window->SetModalMode(false);
}

int TcxCustomDropDownEdit::GetPopupWidth() {
  if (IsInplace() && ActiveProperties()->PopupSizeable())
    if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData()); data && data->Initialized)
      return ScaleFactor()->Apply(data->Width);
  return ScaleFactor()->Apply(ActiveProperties()->PopupWidth(), ActiveProperties()->ScaleFactor());
}

int TcxCustomDropDownEdit::GetPopupHeight() {
  if (IsInplace() && ActiveProperties()->PopupSizeable())
    if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData()); data && data->Initialized)
      return ScaleFactor()->Apply(data->Height);
  return ScaleFactor()->Apply(ActiveProperties()->PopupHeight(), ActiveProperties()->ScaleFactor());
}

TWinControl* TcxCustomDropDownEdit::GetPopupFocusedControl() {
  if (UsesLookupData() && ActiveProperties()->ShowsLookupListInPopup() && PopupCapturesFocus())
    if (TWinControl* active = ILookupData()->GetActiveControl()) return active;
  return InnerControl();
}

bool TcxCustomDropDownEdit::ShowsSearchInfoPanel() {
  if (!ActiveProperties()->IsIncrementalFilteringActive()) return false;
  return UsesLookupData() && ILookupData()->IsEmpty();
}

void TcxCustomDropDownEdit::InitializePopupContent() {
  if (!UsesLookupData() || !ActiveProperties()->ShowsLookupListInPopup() || !FPopupWindow) return;
  ILookupData()->Initialize(FPopupWindow.get());
}

void TcxCustomDropDownEdit::PositionPopupContent(const TRect& AClientRect) {
  if (UsesLookupData() && ActiveProperties()->ShowsLookupListInPopup())
    ILookupData()->PositionVisualArea(AClientRect);
}

void TcxCustomDropDownEdit::AfterPopupOpened(TObject*) {
  PostShortRefresh();
  FPopupWindow->CalculateViewInfo();
  PositionPopupContent(FPopupWindow->ViewInfo()->ClientRect);
  DoPopup();
  UpdateDrawValue();
  if (UsesLookupData() && FindSelection() && ActiveProperties()->ImmediateDropDownWhenKeyPressed() &&
      PopupCapturesFocus())
    ILookupData()->DroppedDown(DisplayText().substr(0, static_cast<std::size_t>(std::max(SelStart(), 0))));
}

void TcxCustomDropDownEdit::DoPopup() {
  FCloseUpReason = crUnknown;
  CallEvent(Properties()->OnPopup(), this);
  RaiseExpandCollapseEvent();
  if (RepositoryItem() && RepositoryItem()->Properties() != Properties())
    CallEvent(static_cast<TcxCustomDropDownEditProperties*>(RepositoryItem()->Properties())->OnPopup(), this);
}

void TcxCustomDropDownEdit::RaiseExpandCollapseEvent() {
  if (HandleAllocated() && FPopupWindow) ExpandCollapseRaiser()(this, HasPopupWindow());
}

// ---------------------------------------------------------------------------
// Closing

void TcxCustomDropDownEdit::ClosePopup(TcxEditCloseUpReason AReason) {
  if (!HasPopupWindow()) return;
  if (FCloseUpReason == crUnknown) FCloseUpReason = AReason;
  const TControlTracker alive(this);
  LockChangeEvents(true);
  TryFinally(
      [&] {
        if (AReason != crUnknown && AReason != crCancel && UsesLookupData()) {
          const Variant key = ILookupData()->GetCurrentKey();
          LockClick(true);
          TryFinally([&] { ILookupData()->SelectItem(); }, [&] { LockClick(false); });
          if (ModifiedAfterEnter() && KeysDiffer(key, ILookupData()->GetCurrentKey())) SetModifiedAndClick();
        }
        if (!ActiveProperties()->PostsPopupValueImmediately() && ActiveProperties()->ImmediatePost() &&
            CanPostEditValue())
          PostEditValue();
      },
      [&] {
        if (alive.Alive()) LockChangeEvents(false);
      });
  if (!alive.Alive() || !FPopupWindow) return;
  FPopupWindow->CloseUp();
}

void TcxCustomDropDownEdit::PopupWindowClosed(TObject*) {
  const TControlTracker alive(this);
  DoFinalizePopup();
  if (!alive.Alive()) return;
  if (ActiveProperties()->GetEditingStyle() == esFixedList) PostShortRefresh();
  DoCloseUp();
  if (!alive.Alive()) return;
  LockChangeEvents(true);
  TryFinally(
      [&] {
        if (ActiveProperties()->PostsPopupValueImmediately() && ActiveProperties()->ImmediatePost() &&
            CanPostEditValue() && ValidateEdit(true))
          PostEditValue();
      },
      [&] {
        if (alive.Alive()) LockChangeEvents(false);
      });
  if (!alive.Alive()) return;
  PostShortRefresh();
  UpdateHotState();
}

void TcxCustomDropDownEdit::DoFinalizePopup() {
  if (!FPopupInitialized) return;
  FPopupInitialized = false;
  if (UsesLookupData()) ILookupData()->CloseUp();
  CallEvent(Properties()->OnFinalizePopup(), this);
  if (RepositoryItem() && RepositoryItem()->Properties() != Properties())
    CallEvent(static_cast<TcxCustomDropDownEditProperties*>(RepositoryItem()->Properties())->OnFinalizePopup(),
              this);
}

void TcxCustomDropDownEdit::DoCloseUp() {
  if (auto handler = Properties()->OnClosePopup()) handler(this, FCloseUpReason);
  CallEvent(Properties()->OnCloseUp(), this);
  if (RepositoryItem() && RepositoryItem()->Properties() != Properties())
    CallEvent(static_cast<TcxCustomDropDownEditProperties*>(RepositoryItem()->Properties())->OnCloseUp(), this);
  RaiseExpandCollapseEvent();
}

void TcxCustomDropDownEdit::PopupWindowCloseQuery(TObject*, bool& CanClose) {
  if (auto handler = Properties()->OnCloseQuery()) handler(this, CanClose);
  if (RepositoryItem() && RepositoryItem()->Properties() != Properties())
    if (auto handler = static_cast<TcxCustomDropDownEditProperties*>(RepositoryItem()->Properties())->OnCloseQuery())
      handler(this, CanClose);
}

void TcxCustomDropDownEdit::StorePopupSize() {
  if (!ActiveProperties()->PopupSizeable() || !FPopupWindow) return;
  if (IsInplace()) {
    if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData())) {
      data->Initialized = true;
      data->Width = ScaleFactor()->Revert(FPopupWindow->Width());
      data->Height = ScaleFactor()->Revert(FPopupWindow->Height());
    }
    return;
  }
  // The editor sized the window at its own scale, whatever scale the window
  // itself was last given.
  TcxCustomDropDownEditProperties* properties = ActiveProperties();
  properties->SetPopupWidth(properties->ScaleFactor()->Apply(FPopupWindow->Width(), ScaleFactor()));
  properties->SetPopupHeight(properties->ScaleFactor()->Apply(FPopupWindow->Height(), ScaleFactor()));
}

void TcxCustomDropDownEdit::PropertiesChanged(TObject* Sender) {
  if (!ActiveProperties()->PopupSizeable()) FPopupSizeChanged = false;
  if (HasPopupWindow()) PreparePopupWindow();
  inherited::PropertiesChanged(Sender);
}

// ---------------------------------------------------------------------------
// Keys, mouse and focus

void TcxCustomDropDownEdit::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && alt) || (Key == VK_F4 && !alt)) {
    if (HasPopupWindow()) ClosePopup(crClose);
    else SetDroppedDown(true);
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && !alt && HasPopupWindow()) {
    FIsPopupWindowJustClosed = true;
    TcxEditCloseUpReason reason = crCancel;
    if (Key == VK_RETURN && DoEditing()) reason = crEnter;
    ClosePopup(reason);
    if (!HasPopupWindow()) {
      if (Key == VK_ESCAPE) ReleaseCapture();
      Key = 0;
      return;
    }
  }
  inherited::ProcessKeyDown(Key, Shift);
}

void TcxCustomDropDownEdit::ProcessKeyPress(wchar_t& Key) {
  if (Key >= 0x20 && ActiveProperties()->ImmediateDropDownWhenKeyPressed() && !HasPopupWindow()) {
    SetDroppedDown(true);
    if (PopupCapturesFocus() && Key != L'\r' && CanDropDown() && GetPopupFocusedControl() && FPopupWindow &&
        FPopupWindow->HandleAllocated()) {
      PostMessageW(FPopupWindow->Handle(), DXM_POPUP_FORWARDCHAR, static_cast<WPARAM>(Key), 0);
      Key = 0;
      return;
    }
  }
  inherited::ProcessKeyPress(Key);
}

bool TcxCustomDropDownEdit::WantsTabKey() {
  return inherited::WantsTabKey() || (HasPopupWindow() && ActiveProperties()->PostPopupValueOnTab());
}

void TcxCustomDropDownEdit::PrepareTabExit(TShiftState Shift) {
  if (HasPopupWindow() && ActiveProperties()->PostPopupValueOnTab()) ClosePopup(crTab);
  inherited::PrepareTabExit(Shift);
}

void TcxCustomDropDownEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  // A press on the drop-down button of an open popup closes it, and the
  // same press must not open it again.
  FClosedByButtonPress = false;
  if (Button == mbLeft && HasPopupWindow() && IsDropDownButtonAt({X, Y})) {
    FClosedByButtonPress = true;
    ClosePopup(crUnknown);
    if (!alive.Alive()) return;
  }
  inherited::MouseDown(Button, Shift, X, Y);
  if (!alive.Alive() || FIsActivatingByMouse || Button != mbLeft) return;
  if (ActiveProperties()->DropDownOnClick() && ViewInfo() && ViewInfo()->ClientRect.Contains({X, Y}) &&
      !HasPopupWindow() && !FIsHotAndPopup && IsFocused())
    SetDroppedDown(true);
}

bool TcxCustomDropDownEdit::IsDropDownButtonAt(const TPoint& P) {
  if (!ViewInfo()) return false;
  const int index = ButtonAtPoint(P);
  return index >= 0 && index < static_cast<int>(ViewInfo()->ButtonsInfo.size()) &&
         ViewInfo()->ButtonsInfo[index]->ButtonIndex == ActiveProperties()->GetDropDownButtonIndex();
}

void TcxCustomDropDownEdit::PressButton(int AIndex) {
  inherited::PressButton(AIndex);
  if (!ViewInfo() || AIndex < 0 || AIndex >= static_cast<int>(ViewInfo()->ButtonsInfo.size())) return;
  if (ViewInfo()->ButtonsInfo[AIndex]->ButtonIndex != ActiveProperties()->GetDropDownButtonIndex()) return;
  // A press on the editor's button that just closed the popup only closes it.
  const bool justClosed = FClosedByButtonPress || (FPopupWindow && FPopupWindow->JustClosed());
  FClosedByButtonPress = false;
  if (HasPopupWindow()) ClosePopup(crUnknown);
  else if (!justClosed) SetDroppedDown(true);
}

bool TcxCustomDropDownEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!HasPopupWindow() || !UsesLookupData() || ILookupData()->IsEmpty()) return false;
  if (TWinControl* active = ILookupData()->GetActiveControl(); active && active->HandleAllocated())
    SendMessageW(active->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WheelDelta), MAKELPARAM(MousePos.X, MousePos.Y));
  return true;
}

bool TcxCustomDropDownEdit::RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift,
                                           bool AIsMouseEvent) {
  const bool result = inherited::RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  UpdateHotState();
  if (FPopupControlsLookAndFeel) FPopupControlsLookAndFeel->RefreshFrom(this);
  return result;
}

void TcxCustomDropDownEdit::UpdateHotState() {
  FIsHotAndPopup = HasPopupWindow() && ViewInfo() && ViewInfo()->ContainerState.Contains(csHotTrack);
}

bool TcxCustomDropDownEdit::FocusMovedAway() {
  // While the popup shows, the focus passes through no window or the popup
  // itself; only another window of the program takes it away.
  const HWND focus = GetFocus();
  if (!focus || inherited::IsFocused()) return false;
  if (IsChildWindow(focus)) return false;
  return !FPopupWindow->HandleAllocated() ||
         (focus != FPopupWindow->Handle() && !IsChild(FPopupWindow->Handle(), focus));
}

void TcxCustomDropDownEdit::FocusChanged() {
  if (HasPopupWindow() && !PopupCapturesFocus() && FocusMovedAway()) ClosePopup(crUnknown);
  inherited::FocusChanged();
}

void TcxCustomDropDownEdit::DoExit() {
  if (HasPopupWindow() && FocusMovedAway()) ClosePopup(crUnknown);
  inherited::DoExit();
}

void TcxCustomDropDownEdit::Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus) {
  inherited::Activate(AEditData, ANeedSetFocus);
  auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData());
  FPopupSizeChanged = ActiveProperties()->PopupSizeable() && data && data->Initialized;
  if (ActiveProperties()->ImmediateDropDownWhenActivated()) SetDroppedDown(true);
}

void TcxCustomDropDownEdit::ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData) {
  FIsActivatingByMouse = true;
  TScopeExit done([this] { FIsActivatingByMouse = false; });
  inherited::ActivateByMouse(Shift, X, Y, AEditData);
}

bool TcxCustomDropDownEdit::Deactivate() {
  if (HasPopupWindow()) ClosePopup(crUnknown);
  if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData())) data->Initialized = FPopupSizeChanged;
  const bool result = inherited::Deactivate();
  if (RemovePendingOpen()) PopupWindowClosed(FPopupWindow.get());
  return result;
}

void TcxCustomDropDownEdit::PasteFromClipboard() {
  if (!IsFocused()) {
    inherited::PasteFromClipboard();
    return;
  }
  BeginUserAction();
  TScopeExit done([this] { EndUserAction(); });
  const String before = DisplayText();
  inherited::PasteFromClipboard();
  if (DisplayText() != before && ActiveProperties()->ImmediateDropDownWhenKeyPressed() && !HasPopupWindow()) {
    SetDroppedDown(true);
    if (UsesLookupData() && HandleAllocated()) PostMessageW(Handle(), DXM_DROPDOWN_SYNCLOOKUP, 0, 0);
  }
}

void TcxCustomDropDownEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_HINTSHOW:
      if (HasPopupWindow()) {
        Message.Result = 1;
        return;
      }
      break;
    case DXM_DROPDOWN_SYNCLOOKUP:
      if (HasPopupWindow() && UsesLookupData()) {
        const Variant key = ILookupData()->GetCurrentKey();
        LockClick(true);
        TryFinally([&] { ILookupData()->TextChanged(); }, [&] { LockClick(false); });
        if (KeysDiffer(key, ILookupData()->GetCurrentKey())) SetModifiedAndClick();
        const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
        if (style == esEdit)
          SetFindSelection(SelStart() == static_cast<int>(DisplayText().size()) && ILookupData()->Find(DisplayText()));
        else if (style == esFixedList)
          SetFindSelection(true);
      }
      return;
    default: break;
  }
  inherited::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TdxCustomDropDownEditAccessibilityHelper

TcxCustomDropDownEdit* TdxCustomDropDownEditAccessibilityHelper::DropDownEdit() {
  return static_cast<TcxCustomDropDownEdit*>(Edit());
}

int TdxCustomDropDownEditAccessibilityHelper::GetRole(int AChildID) {
  return AChildID == CHILDID_SELF ? RoleComboBox : inherited::GetRole(AChildID);
}

int TdxCustomDropDownEditAccessibilityHelper::GetState(int AChildID) {
  int state = inherited::GetState(AChildID);
  if (AChildID == CHILDID_SELF) state |= DropDownEdit()->DroppedDown() ? StateExpanded : StateCollapsed;
  return state;
}

String TdxCustomDropDownEditAccessibilityHelper::GetValue(int AChildID) {
  if (AChildID != CHILDID_SELF) return inherited::GetValue(AChildID);
  return DropDownEdit()->Text();
}

String TdxCustomDropDownEditAccessibilityHelper::GetDefaultActionDescription(int AChildID) {
  if (AChildID != CHILDID_SELF) return inherited::GetDefaultActionDescription(AChildID);
  return DropDownEdit()->DroppedDown() ? L"Close" : L"Open";
}

int TdxCustomDropDownEditAccessibilityHelper::GetSupportedProperties(int AChildID) {
  const int result = inherited::GetSupportedProperties(AChildID);
  return AChildID == CHILDID_SELF ? result | aopDefaultAction : result;
}

void TdxCustomDropDownEditAccessibilityHelper::DoDefaultAction(int AChildID) {
  if (AChildID != CHILDID_SELF) {
    inherited::DoDefaultAction(AChildID);
    return;
  }
  TcxCustomDropDownEdit* edit = DropDownEdit();
  edit->SetDroppedDown(!edit->DroppedDown());
}
