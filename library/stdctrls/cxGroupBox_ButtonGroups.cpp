// Button groups: the items, the grid arithmetic, the cells' view info and
// the inner button controls that the check and radio groups share.
#include "library/stdctrls/cxGroupBox.h"

#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

namespace {

int CeilDiv(int A, int B) { return (A + B - 1) / B; }

}  // namespace

// ---------------------------------------------------------------------------
// TcxButtonGroupItem

void TcxButtonGroupItem::Create(TCollection* ACollection) {
  auto* items = dynamic_cast<TcxButtonGroupItems*>(ACollection);
  if (items) items->BeginItemBracket();
  TryFinally([&] { inherited::Create(ACollection); }, [&] {
    if (items) items->EndItemBracket();
  });
  ReportChange(Index(), copAdd);
}

void TcxButtonGroupItem::Destroy() {
  auto* items = dynamic_cast<TcxButtonGroupItems*>(Collection());
  const int index = items && !items->IsDestroying() ? Index() : -1;
  if (items) items->BeginItemBracket();
  TryFinally([&] { inherited::Destroy(); }, [&] {
    if (items) items->EndItemBracket();
  });
  if (items && index >= 0) items->InternalNotify(nullptr, index, copDelete);
}

void TcxButtonGroupItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxButtonGroupItem*>(ASource)) SetEnabled(source->Enabled());
  inherited::Assign(ASource);
}

void TcxButtonGroupItem::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  ReportChange(Index(), copChanged);
}

void TcxButtonGroupItem::ReportChange(int AIndex, TcxCollectionOperation AOperation) {
  if (auto* items = dynamic_cast<TcxButtonGroupItems*>(Collection()))
    items->InternalNotify(AIndex == -1 ? this : nullptr, AIndex, AOperation);
}

// ---------------------------------------------------------------------------
// TcxButtonGroupItems

void TcxButtonGroupItems::Destroy() {
  FDestroying = true;
  inherited::Destroy();
}

TcxCustomEditProperties* TcxButtonGroupItems::OwnerProperties() const {
  return dynamic_cast<TcxCustomEditProperties*>(const_cast<TcxButtonGroupItems*>(this)->GetOwner());
}

void TcxButtonGroupItems::Assign(TPersistent* ASource) {
  TcxCustomEditProperties* properties = OwnerProperties();
  if (!properties) {
    inherited::Assign(ASource);
    return;
  }
  properties->BeginUpdate();
  TryFinally([&] { inherited::Assign(ASource); }, [&] { properties->EndUpdate(); });
}

void TcxButtonGroupItems::InternalNotify(TcxButtonGroupItem* AItem, int AItemIndex,
                                         TcxCollectionOperation AItemOperation) {
  TcxCustomEditProperties* properties = OwnerProperties();
  if (FDestroying || !properties || properties->ChangedLocked()) return;
  FChangedItemIndex = AItem ? AItem->Index() : AItemIndex;
  FChangedItemOperation = AItemOperation;
  FItemChanged = true;
  TryFinally([&] { properties->Changed(); }, [&] { FItemChanged = false; });
}

void TcxButtonGroupItems::BeginItemBracket() {
  ++FItemBracketCount;
  BeginUpdate();
}

void TcxButtonGroupItems::EndItemBracket() {
  TryFinally([this] { EndUpdate(); }, [this] { --FItemBracketCount; });
}

void TcxButtonGroupItems::Update(TCollectionItem* AItem) {
  if (FDestroying || FItemBracketCount > 0) return;
  TcxCustomEditProperties* properties = OwnerProperties();
  if (properties && !properties->ChangedLocked()) {
    if (AItem) {
      FChangedItemIndex = AItem->Index();
      FChangedItemOperation = copChanged;
    }
    inherited::Update(AItem);
  }
  if (properties) properties->Changed();
}

// ---------------------------------------------------------------------------
// TcxCustomButtonGroupProperties

void TcxCustomButtonGroupProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FItems = CreateItems();
}

void TcxCustomButtonGroupProperties::Destroy() {
  BeginUpdate();
  FItems.reset();
  EndUpdate(false);
  inherited::Destroy();
}

TOwned<TcxButtonGroupItems> TcxCustomButtonGroupProperties::CreateItems() {
  return TOwned<TcxButtonGroupItems>(
      New<TcxButtonGroupItems>(static_cast<TPersistent*>(this), TcxButtonGroupItem::ClassInfo()));
}

void TcxCustomButtonGroupProperties::SetColumns(int AValue) {
  AValue = std::max(AValue, 1);
  if (FColumns == AValue) return;
  FColumns = AValue;
  Changed();
}

void TcxCustomButtonGroupProperties::SetItemAlignment(TLeftRight AValue) {
  if (FItemAlignment == AValue) return;
  FItemAlignment = AValue;
  Changed();
}

void TcxCustomButtonGroupProperties::SetShowEndEllipsis(bool AValue) {
  if (FShowEndEllipsis == AValue) return;
  FShowEndEllipsis = AValue;
  Changed();
}

void TcxCustomButtonGroupProperties::SetWordWrap(bool AValue) {
  if (FWordWrap == AValue) return;
  FWordWrap = AValue;
  Changed();
}

int TcxCustomButtonGroupProperties::GetColumnCount() {
  const int n = FItems->Count();
  if (n == 0) return 0;
  const int m = std::min(FColumns, n);
  return CeilDiv(n, CeilDiv(n, m));
}

int TcxCustomButtonGroupProperties::GetRowCount() { return CeilDiv(FItems->Count(), GetColumnCount()); }

void TcxCustomButtonGroupProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  if (auto* source = dynamic_cast<TcxCustomButtonGroupProperties*>(ASource)) {
    SetColumns(source->Columns());
    SetItems(source->Items());
    SetShowEndEllipsis(source->ShowEndEllipsis());
    SetWordWrap(source->WordWrap());
  }
}

TClass TcxCustomButtonGroupProperties::GetContainerClass() { return TcxCustomButtonGroup::ClassInfo(); }
TClass TcxCustomButtonGroupProperties::GetViewDataClassType() { return TcxButtonGroupViewData::ClassInfo(); }
TClass TcxCustomButtonGroupProperties::GetViewInfoClass() { return TcxButtonGroupViewInfo::ClassInfo(); }

TcxEditSupportedOperations TcxCustomButtonGroupProperties::GetSupportedOperations() {
  TcxEditSupportedOperations result{esoAlwaysHotTrack, esoAutoHeight,      esoEditing,      esoFiltering,
                                    esoShowingCaption, esoSorting,         esoTransparency, esoNeedHandle};
  if (FItems->Count() > 0) result.Include(esoHotTrack);
  return result;
}

// ---------------------------------------------------------------------------
// TcxButtonGroupViewInfo

void TcxButtonGroupViewInfo::PaintButtonFaded(TcxCanvas* ACanvas, int AButtonVisibleIndex) {
  auto* button = static_cast<TcxGroupBoxButtonViewInfo*>(ButtonsInfo.at(static_cast<std::size_t>(AButtonVisibleIndex)).get());
  const TRect glyph = button->GetGlyphRect(GetGlyphSize(), ItemAlignment, IsDBEditPaintCopyDrawing);
  if (!IsDBEditPaintCopyDrawing) DrawEditBackground(ACanvas, button->Bounds, glyph, IsButtonGlyphTransparent(button));
  DrawButtonGlyph(ACanvas, button, glyph);
  DrawButtonCaption(ACanvas, button, glyph);
}

// ---------------------------------------------------------------------------
// TcxButtonGroupViewData

void TcxButtonGroupViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                       TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                       bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxButtonGroupViewInfo*>(AViewInfo);
  vi->DrawTextFlags = static_cast<std::uint32_t>(GetButtonCaptionTextFlags());
  GetCaptionExtent(vi->CaptionExtent);
}

void TcxButtonGroupViewData::CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                      TcxMouseButton Button, TShiftState Shift,
                                                      TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  inherited::CalculateButtonsViewInfo(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  const int n = Properties()->Items()->Count();
  AViewInfo->SetButtonCount(n);
  if (n == 0) return;
  static_cast<TcxButtonGroupViewInfo*>(AViewInfo)->ItemAlignment = Properties()->ItemAlignment();
  PrepareButtonsViewInfo(AViewInfo);
  CalculateButtonPositions(ACanvas, AViewInfo);
  CalculateButtonStates(AViewInfo, P, Button, Shift, AIsMouseEvent);
}

void TcxButtonGroupViewData::PrepareButtonsViewInfo(TcxCustomEditViewInfo* AViewInfo) {
  const int rows = Properties()->GetRowCount();
  TcxEditButtonStyle style;
  if (IsInplace()) {
    static constexpr TcxEditButtonStyle byKind[] = {btsFlat, bts3D, btsUltraFlat, btsOffice11};
    style = byKind[Style()->LookAndFeel()->Kind()];
  } else if (Style()->BorderStyle() == ebsUltraFlat) {
    style = btsUltraFlat;
  } else if (Style()->BorderStyle() == ebsOffice11) {
    style = btsOffice11;
  } else {
    static constexpr TcxEditButtonStyle byBorder[] = {bts3D, btsFlat, btsFlat, btsFlat, bts3D, btsUltraFlat, btsOffice11};
    style = byBorder[AViewInfo->BorderStyle];
  }
  for (int i = 0; i < static_cast<int>(AViewInfo->ButtonsInfo.size()); ++i) {
    auto* button = static_cast<TcxGroupBoxButtonViewInfo*>(AViewInfo->ButtonsInfo[static_cast<std::size_t>(i)].get());
    TcxButtonGroupItem* item = Properties()->Items()->GetItem(i);
    button->HasBackground = AViewInfo->HasBackground;
    button->Data.Style = style;
    button->Caption = item->Caption();
    button->Enabled = item->Enabled();
    button->TextColor = IsInplace() && !item->Enabled() ? clBtnShadow : AViewInfo->TextColor;
    button->Column = i / rows;
    button->Row = i % rows;
  }
}

void TcxButtonGroupViewData::GetButtonMetrics(bool, TcxCanvas*, TcxButtonGroupMetrics& AMetrics) {
  AMetrics = TcxButtonGroupMetrics();
  AMetrics.ButtonIndent = ScaleFactor()->Apply(IsInplace() ? 1 : 6);
  AMetrics.LayoutWidthCorrection = -AMetrics.ButtonIndent;
  AMetrics.ColumnSpacing = 0;
}

void TcxButtonGroupViewData::GetButtonGlyphSize(TSize& ASize) {
  ASize = Style()->LookAndFeel()->Painter()->ScaledCheckButtonSize(ScaleFactor());
}

bool TcxButtonGroupViewData::IsButtonNativeStyle(TcxLookAndFeel* ALookAndFeel) {
  return ALookAndFeel->NativeStyle() && OpenTheme(totButton) != nullptr;
}

int TcxButtonGroupViewData::GetButtonCaptionTextFlags() {
  int flags = UseRightToLeftAlignment ? cxtfRight : cxtfLeft;
  if (UseRightToLeftReading) flags |= cxtfRtlReading;
  flags |= cxtfShowPrefix | cxtfCenterY;
  if (PaintOptions.Contains(epoAutoHeight) && Properties()->WordWrap())
    flags |= cxtfWordBreak | cxtfNoClip;
  else if (Properties()->ShowEndEllipsis())
    flags |= cxtfSingleLine | cxtfEndEllipsis;
  else
    flags |= cxtfSingleLine;
  return flags;
}

void TcxButtonGroupViewData::CalculateButtonPositions(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxButtonGroupViewInfo*>(AViewInfo);
  const TRect& b = vi->Bounds;
  const TRect e = GetClientExtent(ACanvas, vi);
  TcxButtonGroupMetrics m;
  GetButtonMetrics(false, nullptr, m);
  const int cols = Properties()->GetColumnCount();
  const int rows = Properties()->GetRowCount();
  const int contentWidth = b.Width() - e.Left - e.Right;
  int s, w;
  if ((vi->ItemAlignment == taRightJustify) == UseRightToLeftAlignment) {
    s = m.ColumnSpacing;
    w = (contentWidth + m.LayoutWidthCorrection - (cols - 1) * s) / cols;
  } else {
    s = std::max(m.ButtonIndent, m.ColumnSpacing);
    w = (contentWidth + 2 * m.LayoutWidthCorrection - (cols - 1) * s) / cols;
  }
  const int freeHeight = b.Height() - e.Top - e.Bottom;
  int rowHeight = freeHeight / rows;
  int gridTop = b.Top + e.Top + (freeHeight % rows) / 2;
  if (IsInplace() && Edit() == nullptr) {
    TSize glyph;
    GetButtonGlyphSize(glyph);
    const int text = ACanvas ? ACanvas->TextExtent(L"Zg").cy : 0;
    const TSize correction = ScaleFactor()->Apply(GetEditContentSizeCorrection());
    const int least = std::max(text, glyph.cy) + correction.cy;
    if (freeHeight < least) {
      gridTop = b.Top + e.Top;
      rowHeight = least;
    }
  }
  for (auto& info : vi->ButtonsInfo) {
    auto* button = static_cast<TcxGroupBoxButtonViewInfo*>(info.get());
    const int left = b.Left + e.Left + m.ButtonIndent + button->Column * (w + s);
    const int top = gridTop + button->Row * rowHeight;
    button->Bounds = TRect(left, top, left + w, top + rowHeight);
    if (UseRightToLeftAlignment)
      button->Bounds = TRect(b.Left + b.Right - button->Bounds.Right, button->Bounds.Top,
                             b.Left + b.Right - button->Bounds.Left, button->Bounds.Bottom);
    button->VisibleBounds = button->Bounds;
  }
}

void TcxButtonGroupViewData::CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P,
                                                   TcxMouseButton Button, TShiftState Shift, bool AIsMouseEvent) {
  const int previousPressed = AIsMouseEvent ? AViewInfo->PressedButton : -1;
  AViewInfo->IsButtonReallyPressed = false;
  AViewInfo->PressedButton = -1;
  AViewInfo->SelectedButton = -1;
  const bool native = IsButtonNativeStyle(Style()->LookAndFeel());
  const bool onlyLeft = Shift.Contains(ssLeft) && !Shift.Contains(ssRight) && !Shift.Contains(ssMiddle);
  for (int i = 0; i < static_cast<int>(AViewInfo->ButtonsInfo.size()); ++i) {
    auto* button = static_cast<TcxGroupBoxButtonViewInfo*>(AViewInfo->ButtonsInfo[static_cast<std::size_t>(i)].get());
    const TcxEditButtonState previous = button->Data.State;
    button->ButtonIndex = i;
    button->Data.NativeStyle = native;
    button->Data.Transparent = Style()->ButtonTransparency() == ebtAlways ||
                               (Style()->ButtonTransparency() == ebtInactive && !Selected);
    button->Data.BackgroundColor = AViewInfo->BackgroundColor();
    const bool held = IsButtonHeldPressed(AViewInfo, i);
    if (!button->Enabled) {
      button->Data.State = ebsDisabled;
    } else if (!held && (IsDesigning || !button->Bounds.Contains(P))) {
      button->Data.State = ebsNormal;
    } else {
      const bool leftDown = Button == cxmbLeft && onlyLeft;
      const bool stillPressed = previous == ebsPressed && Shift.Contains(ssLeft);
      if (held || leftDown || stillPressed) AViewInfo->IsButtonReallyPressed = true;
      if (!held && Button == cxmbNone && !Shift.Contains(ssLeft)) {
        button->Data.State = ebsSelected;
        AViewInfo->SelectedButton = i;
      } else if (held || (onlyLeft && ((Button == cxmbLeft && CanPressButton(AViewInfo, i)) || i == previousPressed)) ||
                 stillPressed) {
        button->Data.State = ebsPressed;
        AViewInfo->PressedButton = i;
      } else {
        button->Data.State = ebsNormal;
      }
    }
  }
}

TSize TcxButtonGroupViewData::GetEditConstantPartSize(TcxCanvas* ACanvas,
                                                      const TcxEditSizeProperties& AEditSizeProperties,
                                                      TSize& MinContentSize, TcxCustomEditViewInfo*) {
  MinContentSize = TSize(0, 0);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Font()->Assign(Style()->GetVisibleFont());
  const TSize c = GetEditContentSizeCorrection();
  TSize glyph;
  GetButtonGlyphSize(glyph);
  TcxButtonGroupMetrics m;
  GetButtonMetrics(AEditSizeProperties.Width >= 0, ACanvas, m);
  TcxButtonGroupItems* items = Properties()->Items();
  const int n = items->Count();
  const int textHeight = ACanvas->TextExtent(L"Zg").cy;
  const int h0 = std::max(textHeight, glyph.cy) + ScaleFactor()->Apply(c.cy);
  if (AEditSizeProperties.Width >= 0) {
    if (n == 0) return TSize(AEditSizeProperties.Width, h0);
    const int cols = Properties()->GetColumnCount();
    const int rows = Properties()->GetRowCount();
    const int t = std::max(1, (AEditSizeProperties.Width - ContentOffset.Left - ContentOffset.Right +
                               m.FixedWidthCorrection - (cols - 1) * m.ColumnSpacing) / cols -
                                  m.GlyphSize.cx - m.FixedTextOffset);
    int rowHeight = h0;
    PaintOptions.Include(epoAutoHeight);
    if (Properties()->WordWrap()) {
      const int flags = (GetButtonCaptionTextFlags() & ~cxtfCenterY) | cxtfTop;
      for (int i = 0; i < n; ++i) {
        const String caption = items->GetItem(i)->Caption();
        if (caption.empty()) continue;
        TRect r(0, 0, t, 32000);
        ACanvas->TextExtent(caption, r, flags);
        rowHeight = std::max(rowHeight, r.Height() + c.cy);
      }
    }
    int height = rowHeight * rows;
    if (!IsInplace()) {
      const TRect e = inherited::GetClientExtent(ACanvas, nullptr);
      height += e.Top + e.Bottom;
    }
    return TSize(AEditSizeProperties.Width, height);
  }
  if (n == 0) return TSize(0, textHeight + c.cy);
  const int cols = Properties()->GetColumnCount();
  const int rows = Properties()->GetRowCount();
  int widest = 0;
  for (int i = 0; i < n; ++i) widest = std::max(widest, ACanvas->TextWidth(items->GetItem(i)->Caption()));
  const int width = (widest + m.AutoTextOffset + m.GlyphSize.cx) * cols + (cols - 1) * m.ColumnSpacing +
                    m.AutoWidthCorrection;
  return TSize(width, std::max(m.GlyphSize.cy, h0) * rows);
}

// ---------------------------------------------------------------------------
// TcxCustomButtonGroup

void TcxCustomButtonGroup::InitializeEdit() {
  inherited::InitializeEdit();
  SetAutoSize(false);
  SetTabStop(true);
}

void TcxCustomButtonGroup::Destroy() {
  UpdateButtonCount(0);
  inherited::Destroy();
}

void TcxCustomButtonGroup::CreateWnd() {
  inherited::CreateWnd();
  RefreshButtons();
  SyncDisplayValue();
}

void TcxCustomButtonGroup::PropertiesChanged(TObject* Sender) {
  RefreshButtons();
  SyncDisplayValue();
  inherited::PropertiesChanged(Sender);
}

void TcxCustomButtonGroup::ApplyStyleChanges(TObject* Sender) {
  inherited::ApplyStyleChanges(Sender);
  RefreshButtons();
}

void TcxCustomButtonGroup::HandleEnabledChange() {
  inherited::HandleEnabledChange();
  RefreshButtons();
}

bool TcxCustomButtonGroup::IsButtonNativeStyle() {
  return TcxButtonGroupViewData::IsButtonNativeStyle(Style()->LookAndFeel());
}

void TcxCustomButtonGroup::RefreshButtons() {
  if (FIsButtonsUpdating || IsLoading() || IsDestroying() || !ViewInfo()) return;
  FIsButtonsUpdating = true;
  TryFinally([this] { UpdateButtons(); }, [this] { FIsButtonsUpdating = false; });
}

void TcxCustomButtonGroup::UpdateButtons() {
  TcxCustomButtonGroupProperties* properties = ActiveProperties();
  UpdateButtonCount(properties->Items()->Count());
  ShortRefreshContainer(false);
  for (int i = 0; i < ButtonCount(); ++i)
    FButtons[static_cast<std::size_t>(i)]->SetEnabled(Enabled() && properties->Items()->GetItem(i)->Enabled());
  UpdateButtonStyles();
  for (TWinControl* button : FButtons) button->SetCursor(Cursor());
  ArrangeButtons();
}

void TcxCustomButtonGroup::UpdateButtonStyles() {
  for (TWinControl* button : FButtons) button->SetColor(ViewInfo()->BackgroundColor());
}

void TcxCustomButtonGroup::AddButton() {
  TWinControl* button = CreateButton();
  FButtons.push_back(button);
  InitializeButton(button);
}

void TcxCustomButtonGroup::FreeButton(int AIndex) {
  TWinControl* button = FButtons.at(static_cast<std::size_t>(AIndex));
  FButtons.erase(FButtons.begin() + AIndex);
  button->Free();
}

void TcxCustomButtonGroup::UpdateButtonCount(int ACount) {
  TcxButtonGroupItems* items = Properties() ? Properties()->Items() : nullptr;
  if (items && items->ItemChanged() && ACount > 0) {
    switch (items->ChangedItemOperation()) {
      case copAdd:
        AddButton();
        return;
      case copDelete:
        if (items->ChangedItemIndex() >= 0 && items->ChangedItemIndex() < ButtonCount())
          FreeButton(items->ChangedItemIndex());
        return;
      case copChanged:
        return;
    }
  }
  if (ACount == ButtonCount()) return;
  DisableAlign();
  TryFinally(
      [&] {
        while (ButtonCount() > ACount) FreeButton(ButtonCount() - 1);
        while (ButtonCount() < ACount) AddButton();
      },
      [this] { EnableAlign(); });
}

void TcxCustomButtonGroup::InitializeButton(TWinControl* AButton) {
  AButton->SetParentShowHint(false);
  AButton->SetParent(this);
  AButton->SetOnDragDrop(BindEvent<&TcxCustomButtonGroup::HandleButtonDragDrop>(this));
  AButton->SetOnDragOver(BindEvent<&TcxCustomButtonGroup::HandleButtonDragOver>(this));
  AButton->SetOnKeyDown(BindEvent<&TcxCustomButtonGroup::HandleButtonKeyDown>(this));
  AButton->SetOnKeyPress(BindEvent<&TcxCustomButtonGroup::HandleButtonKeyPress>(this));
  AButton->SetOnKeyUp(BindEvent<&TcxCustomButtonGroup::HandleButtonKeyUp>(this));
  AButton->SetOnMouseDown(BindEvent<&TcxCustomButtonGroup::HandleButtonMouseDown>(this));
  AButton->SetOnMouseMove(BindEvent<&TcxCustomButtonGroup::HandleButtonMouseMove>(this));
  AButton->SetOnMouseUp(BindEvent<&TcxCustomButtonGroup::HandleButtonMouseUp>(this));
  AButton->SetOnMouseWheel(BindEvent<&TcxCustomButtonGroup::HandleButtonMouseWheel>(this));
}

void TcxCustomButtonGroup::ArrangeButtons() {
  TcxCustomEditViewInfo* vi = ViewInfo();
  const int n = std::min(ButtonCount(), static_cast<int>(vi->ButtonsInfo.size()));
  for (int i = 0; i < n; ++i) {
    const TRect& r = vi->ButtonsInfo[static_cast<std::size_t>(i)]->Bounds;
    FButtons[static_cast<std::size_t>(i)]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
}

bool TcxCustomButtonGroup::RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift,
                                          bool AIsMouseEvent) {
  const bool result = inherited::RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  ArrangeButtons();
  return result;
}

int TcxCustomButtonGroup::GetFocusedButtonIndex() {
  for (int i = 0; i < ButtonCount(); ++i)
    if (FButtons[static_cast<std::size_t>(i)]->Focused()) return i;
  return -1;
}

int TcxCustomButtonGroup::GetButtonIndexAt(const TPoint& P) {
  const auto& infos = ViewInfo()->ButtonsInfo;
  for (int i = 0; i < static_cast<int>(infos.size()); ++i)
    if (infos[static_cast<std::size_t>(i)]->Bounds.Contains(P)) return i;
  return -1;
}

void TcxCustomButtonGroup::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  const int f = GetFocusedButtonIndex();
  if (f < 0) return;
  const int n = ButtonCount();
  const int rows = ActiveProperties()->GetRowCount();
  auto* info = static_cast<TcxGroupBoxButtonViewInfo*>(ViewInfo()->ButtonsInfo.at(static_cast<std::size_t>(f)).get());
  const int col = info->Column;
  const int row = info->Row;
  // The last column may be shorter.
  const int rowsHere = f + rows - row - 1 >= n ? n - (f - row) : rows;
  int target = -1;
  switch (Key) {
    case VK_LEFT:
      if (col > 0) target = f - rows;
      break;
    case VK_UP:
      if (row > 0) target = f - 1;
      break;
    case VK_RIGHT:
      if (f + rows < n) target = f + rows;
      break;
    case VK_DOWN:
      if (row < rowsHere - 1) target = f + 1;
      break;
    default:
      break;
  }
  if (target >= 0) {
    TWinControl* button = FButtons[static_cast<std::size_t>(target)];
    if (button->Enabled()) {
      button->SetFocus();
      Key = 0;
    }
  }
  inherited::ProcessKeyDown(Key, Shift);
}

void TcxCustomButtonGroup::ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData) {
  Activate(AEditData, FocusOnMouseDownAllowed(mbLeft, X, Y));
  TPoint P(X, Y);
  if (TWinControl* host = Parent()) P = ScreenToClient(host->ClientToScreen(P));
  const int index = GetButtonIndexAt(P);
  if (index < 0 || index >= ButtonCount()) return;
  TWinControl* button = FButtons[static_cast<std::size_t>(index)];
  const TPoint centre(button->ClientWidth() / 2, button->ClientHeight() / 2);
  SendMouseMessage(button, WM_MOUSEMOVE, TShiftState(), centre);
  SendMouseMessage(button, Shift.Contains(ssLeft) ? WM_LBUTTONDOWN : WM_LBUTTONUP, Shift, centre);
}

void TcxCustomButtonGroup::HandleButtonDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  auto* button = static_cast<TControl*>(Sender);
  DragDrop(Source, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::HandleButtonDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                                bool& Accept) {
  auto* button = static_cast<TControl*>(Sender);
  DragOver(Source, X + button->Left(), Y + button->Top(), State, Accept);
}

void TcxCustomButtonGroup::HandleButtonKeyDown(TObject*, WORD& Key, TShiftState Shift) { KeyDown(Key, Shift); }
void TcxCustomButtonGroup::HandleButtonKeyPress(TObject*, wchar_t& Key) { KeyPress(Key); }
void TcxCustomButtonGroup::HandleButtonKeyUp(TObject*, WORD& Key, TShiftState Shift) { KeyUp(Key, Shift); }

void TcxCustomButtonGroup::HandleButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                                 int Y) {
  // A click on an inner button never focuses the group itself (the box
  // does not focus on clicks), so no inner-press guard is needed here.
  auto* button = static_cast<TControl*>(Sender);
  MouseDown(Button, Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::HandleButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  auto* button = static_cast<TControl*>(Sender);
  MouseMove(Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::HandleButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                               int Y) {
  auto* button = static_cast<TControl*>(Sender);
  MouseUp(Button, Shift, X + button->Left(), Y + button->Top());
}

void TcxCustomButtonGroup::HandleButtonMouseWheel(TObject*, TShiftState, int, TPoint, bool& Handled) {
  Handled = false;
}
