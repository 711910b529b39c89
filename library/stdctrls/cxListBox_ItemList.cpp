#include "library/stdctrls/cxListBox.h"

#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Text metrics of a font, as the screen shows it.
TSize MeasureText(TFont* AFont, const String& AText) {
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  canvas->Font()->Assign(AFont);
  return canvas->TextExtent(AText.empty() ? String(L"Wg") : AText);
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxCustomListBoxItem

void TdxCustomListBoxItem::Create(TdxCustomListBoxItems* AOwner) {
  inherited::Create();
  FOwner = AOwner;
  FImageIndex = -1;
}

void TdxCustomListBoxItem::Assign(TdxCustomListBoxItem* ASource) {
  if (!ASource) return;
  FData = ASource->FData;
  SetCaption(ASource->FCaption);
  SetImageIndex(ASource->FImageIndex);
  SetHasSeparator(ASource->FHasSeparator);
}

void TdxCustomListBoxItem::SetCaption(const String& AValue) {
  if (FCaption == AValue) return;
  FCaption = AValue;
  Changed();
}

void TdxCustomListBoxItem::SetImageIndex(int AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  Changed();
}

void TdxCustomListBoxItem::SetHasSeparator(bool AValue) {
  if (FHasSeparator == AValue) return;
  FHasSeparator = AValue;
  Changed();
}

int TdxCustomListBoxItem::Index() const { return FOwner ? FOwner->IndexOf(const_cast<TdxCustomListBoxItem*>(this)) : -1; }

void TdxCustomListBoxItem::Changed() {
  if (FOwner) FOwner->Changed();
}

// ---------------------------------------------------------------------------
// TdxCustomListBoxItems

void TdxCustomListBoxItems::Create(TdxCustomListBox* AOwnerControl) {
  inherited::Create(true);
  FOwnerControl = AOwnerControl;
}

TdxCustomListBoxItem* TdxCustomListBoxItems::Add(const String& ACaption) {
  TOwned<TdxCustomListBoxItem> item(NewOfClass<TdxCustomListBoxItem>(ItemClass(), this));
  item->FCaption = ACaption;
  int position = Count();
  if (FSorted) {
    // Ordinal and case-sensitive whatever the sort options: a new caption
    // goes before equal ones.
    int low = 0;
    int high = Count() - 1;
    while (high >= low) {
      const int middle = (low + high) / 2;
      if (CompareStr(Items(middle)->Caption(), ACaption) < 0)
        low = middle + 1;
      else
        high = middle - 1;
    }
    position = low;
  }
  Insert(position, item.get());
  return item.release();
}

void TdxCustomListBoxItems::EndUpdate() {
  --FLockCount;
  Changed();
}

void TdxCustomListBoxItems::Changed() {
  if (FOwnerControl && !IsUpdateLocked()) FOwnerControl->LayoutChanged();
}

void TdxCustomListBoxItems::Notify(void* APtr, TListNotification AAction) {
  inherited::Notify(APtr, AAction);
  Changed();
}

void TdxCustomListBoxItems::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (FSorted) Sort();
}

void TdxCustomListBoxItems::Sort() {
  const bool locale = FSortOptions.Contains(lbsAnsiSort);
  const bool ignoreCase = FSortOptions.Contains(lbsCaseInsensitive);
  const auto compare = [&](const String& A, const String& B) {
    if (locale) return ignoreCase ? AnsiCompareText(A, B) : AnsiCompareStr(A, B);
    return ignoreCase ? CompareStr(UpperCase(A), UpperCase(B)) : CompareStr(A, B);
  };
  std::vector<TdxCustomListBoxItem*> items;
  for (int i = 0; i < Count(); ++i) items.push_back(Items(i));
  std::ranges::stable_sort(items, [&](TdxCustomListBoxItem* A, TdxCustomListBoxItem* B) {
    return compare(A->Caption(), B->Caption()) < 0;
  });
  // Exchanges move the items without the list's notifications.
  std::unordered_map<TdxCustomListBoxItem*, int> position;
  for (int i = 0; i < Count(); ++i) position[Items(i)] = i;
  BeginUpdate();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const int from = position[items[i]];
    if (from == i) continue;
    position[Items(i)] = from;
    position[items[i]] = i;
    Exchange(i, from);
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------
// Helpers

void TdxListBoxIncrementalSearchController::Create(TdxCustomListBox* AListBox) {
  inherited::Create();
  FListBox = AListBox;
}

bool TdxListBoxIncrementalSearchController::Search(const String& AText) { return FListBox->SearchItem(AText); }

void TdxCustomListBoxHintHelper::Create(TdxCustomListBox* AListBox) {
  inherited::Create();
  FListBox = AListBox;
}

// P is in the list's client coordinates, as the mouse tracking gives it.
bool TdxCustomListBoxHintHelper::IsPointInHintArea(const TPoint& P) {
  return TRect(0, 0, FListBox->Width(), FListBox->Height()).Contains(P);
}

TControl* TdxCustomListBoxHintHelper::GetHintControl() { return FListBox; }

TControl* TdxCustomListBoxHintHelper::GetOwnerControl() { return FListBox; }

int TdxCustomListBoxAccessibilityHelper::ChildCount() { return OwnerListBox()->Count(); }

void TdxCustomListBoxAccessibilityHelper::DoDefaultAction(int AChildID) {
  if (AChildID != CHILDID_SELF) OwnerListBox()->SetItemIndex(AChildID - 1);
}

String TdxCustomListBoxAccessibilityHelper::GetDefaultActionDescription(int AChildID) {
  return AChildID == CHILDID_SELF ? String() : String(L"Double click");
}

String TdxCustomListBoxAccessibilityHelper::GetName(int AChildID) {
  return AChildID == CHILDID_SELF ? String() : OwnerListBox()->Items()->Items(AChildID - 1)->Caption();
}

HWND TdxCustomListBoxAccessibilityHelper::OwnerObjectWindow() { return OwnerListBox()->Handle(); }

int TdxCustomListBoxAccessibilityHelper::GetState(int AChildID) {
  constexpr int base = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
  if (AChildID != CHILDID_SELF && AChildID - 1 == OwnerListBox()->ItemIndex())
    return base | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
  return base;
}

int TdxCustomListBoxAccessibilityHelper::GetSupportedProperties(int AChildID) {
  if (AChildID == CHILDID_SELF) return aopFocus | aopLocation;
  return aopDefaultAction | aopFocus | aopLocation;
}

TRect TdxCustomListBoxAccessibilityHelper::GetScreenBounds(int AChildID) {
  TdxCustomListBox* list = OwnerListBox();
  const TPoint origin = list->ClientToScreen(TPoint());
  TRect r = AChildID == CHILDID_SELF ? TRect(0, 0, list->Width(), list->Height()) : list->ItemRect(AChildID - 1);
  r.Offset(origin.X, origin.Y);
  return r;
}

// ---------------------------------------------------------------------------
// TdxCustomListBox: items and settings

void TdxCustomListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FItems.reset(New<TdxCustomListBoxItems>(this));
  FHintHelper.reset(New<TdxCustomListBoxHintHelper>(this));
  FIncrementalSearchController.reset(New<TdxListBoxIncrementalSearchController>(this));
  FChangeLink.reset(New<TChangeLink>());
  FChangeLink->SetOnChange(BindEvent<&TdxCustomListBox::ImagesChanged>(this));
  FAlignImages = true;
  FIncrementalSearch = true;
  FItemHeight = 16;
  SetBorderStyle(cxcbsDefault);
  SetParentColor(false);
  SetColor(clWindow);
  SetKeys(TcxKeys{kArrows, kChars});
  // Windows 7 draws a double-buffered control of this kind wrongly.
  SetDoubleBuffered(!IsWinSeven);
}

void TdxCustomListBox::Destroy() {
  if (FItems) FItems->BeginUpdate();
  NotifyAccessibilityHelperRemoved(FAccessibilityHelper);
  SetImages(nullptr);
  FChangeLink.reset();
  FIncrementalSearchController.reset();
  FHintHelper.reset();
  FItems.reset();
  inherited::Destroy();
}

int TdxCustomListBox::AddItem(const String& ACaption, TObject* AObject, int AImageIndex) {
  BeginUpdate();
  TdxCustomListBoxItem* item = FItems->Add(ACaption);
  item->SetData(AObject);
  item->SetImageIndex(AImageIndex);
  EndUpdate();
  return item->Index();
}

void TdxCustomListBox::Clear() {
  BeginUpdate();
  FItems->Clear();
  FItemIndex = -1;
  EndUpdate();
}

int TdxCustomListBox::Remove(TObject* AObject) {
  for (int i = 0; i < Count(); ++i)
    if (FItems->Items(i)->Data() == AObject) {
      FItems->FreeAndDelete(i);
      return i;
    }
  return -1;
}

void TdxCustomListBox::SetColumns(int AValue) {
  AValue = std::max(AValue, 0);
  if (FColumns == AValue) return;
  FColumns = AValue;
  LayoutChanged();
}

void TdxCustomListBox::SetImages(TCustomImageList* AValue) {
  if (FImages == AValue) return;
  if (FImages) {
    FImages->UnRegisterChanges(FChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = AValue;
  if (FImages) {
    FImages->RegisterChanges(FChangeLink.get());
    FImages->FreeNotification(this);
  }
  LayoutChanged();
}

void TdxCustomListBox::ImagesChanged(TObject*) { LayoutChanged(); }

void TdxCustomListBox::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FImages) {
    // The list is going: its change links are no longer ours to unregister.
    FImages = nullptr;
    LayoutChanged();
  }
}

void TdxCustomListBox::SetAlignImages(bool AValue) {
  if (FAlignImages == AValue) return;
  FAlignImages = AValue;
  LayoutChanged();
}

void TdxCustomListBox::SetItemAutoHeight(bool AValue) {
  if (FItemAutoHeight == AValue) return;
  FItemAutoHeight = AValue;
  LayoutChanged();
}

void TdxCustomListBox::SetItemHeight(int AValue) {
  // Column mode divides the client height by the item height.
  AValue = std::max(AValue, 1);
  if (FItemHeight == AValue) return;
  FItemHeight = AValue;
  LayoutChanged();
}

TObject* TdxCustomListBox::ItemObject() const { return FItems->Items(FItemIndex)->Data(); }

void TdxCustomListBox::SetItemObject(TObject* AValue) {
  for (int i = 0; i < Count(); ++i)
    if (FItems->Items(i)->Data() == AValue) {
      SetItemIndex(i);
      return;
    }
}

// ---------------------------------------------------------------------------
// Selection and scrolling

void TdxCustomListBox::SetItemIndex(int AValue) {
  if (AValue >= Count() && Count() > 0) AValue = Count() - 1;
  // Every other negative value would select nothing while ItemObject fails.
  if (AValue < 0) AValue = -1;
  if (AValue >= Count()) AValue = -1;
  if (AValue == FItemIndex) return;
  InvalidateItem(FItemIndex);
  FItemIndex = AValue;
  InvalidateItem(FItemIndex);
  if (AValue >= 0) MakeVisible(AValue);
  Click();
  if (HandleAllocated()) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

int TdxCustomListBox::TopIndex() const { return std::max(std::min(FTopIndex, Count() - 1), 0); }

void TdxCustomListBox::SetTopIndex(int AValue) {
  if (FTopIndex == AValue) return;
  FTopIndex = AValue;
  LayoutChanged();
}

void TdxCustomListBox::MakeVisible(int AIndex) {
  if (AIndex < 0 || AIndex >= Count()) return;
  const int top = TopIndex();
  const int visible = VisibleCount();
  if (FColumns == 0) {
    if (AIndex >= top + visible)
      SetTopIndex(AIndex - visible + 1);
    else if (AIndex < top)
      SetTopIndex(AIndex);
    return;
  }
  if (AIndex >= top && AIndex <= top + visible) return;
  const int perColumn = ItemsPerColumn();
  const int firstColumn = AIndex / perColumn * perColumn;
  const int target = AIndex < top ? firstColumn : firstColumn - (FColumns - 1) * perColumn;
  SetTopIndex(std::clamp(target, 0, std::max(MaxTopIndex(), 0)));
}

void TdxCustomListBox::CheckItemIndex() {
  if (FItemIndex >= Count()) SetItemIndex(Count() - 1);
}

void TdxCustomListBox::CheckTopIndex() {
  FTopIndex = std::max(std::min(FTopIndex, MaxTopIndex()), 0);
  RefreshScrollBars();
}

int TdxCustomListBox::FindSelectableIndex(int AIndex, bool AGoForward, bool ALooped) {
  const int count = Count();
  if (count == 0) return -1;
  // Each index once at most: a list with nothing selectable answers -1.
  for (int visited = 0; visited < count; ++visited) {
    if (AIndex < 0) {
      if (!ALooped || AGoForward) {
        AIndex = 0;
        AGoForward = true;
      } else {
        AIndex = count - 1;
      }
    } else if (AIndex >= count) {
      if (ALooped && AGoForward) {
        AIndex = 0;
      } else {
        AIndex = count - 1;
        AGoForward = false;
      }
    }
    if (CanSelectItem(AIndex)) return AIndex;
    AIndex += AGoForward ? 1 : -1;
    if (!ALooped && (AIndex < 0 || AIndex >= count)) return -1;
  }
  return -1;
}

void TdxCustomListBox::SelectSelectableIndex(int AIndex, bool AGoForward, bool ALooped) {
  const int index = FindSelectableIndex(AIndex, AGoForward, ALooped);
  if (index >= 0) SetItemIndex(index);
}

bool TdxCustomListBox::SearchItem(const String& AText) {
  const int count = Count();
  const int start = std::max(FItemIndex, 0);
  for (int i = 0; i < count; ++i) {
    const int index = (start + i) % count;
    if (ItemMatchesSearchText(FItems->Items(index), AText)) {
      SetItemIndex(index);
      return true;
    }
  }
  return false;
}

bool TdxCustomListBox::ItemMatchesSearchText(TdxCustomListBoxItem* AItem, const String& AText) {
  return AnsiCompareText(AItem->Caption().substr(0, AText.size()), AText) == 0;
}

// ---------------------------------------------------------------------------
// Geometry

int TdxCustomListBox::ItemHeightOf(int AIndex) {
  return AIndex < Count() ? AdjustItemHeight(AIndex, FItemHeight) : FItemHeight;
}

bool TdxCustomListBox::HasItemSeparator(int AIndex) {
  return AIndex >= 0 && AIndex < Count() - 1 && FItems->Items(AIndex)->HasSeparator();
}

int TdxCustomListBox::SeparatorSize() { return ActivePainter()->DropDownListBoxScaledSeparatorSize(ScaleFactor()); }

int TdxCustomListBox::AdjustItemHeight(int AIndex, int AHeight) {
  if (HasItemSeparator(AIndex)) AHeight += SeparatorSize();
  EnsureTouchModeMinimum(AHeight, ScaleFactor());
  return AHeight;
}

template <class F>
void TdxCustomListBox::WalkItems(F&& AVisit) {
  const TRect area = ItemsAreaBounds();
  // Columns run from the right edge leftwards when aligned right to left.
  const bool mirrored = FColumns > 0 && UseRightToLeftAlignment();
  TRect r(area.Left, area.Top, area.Right, area.Top);
  if (FColumns > 0) {
    if (mirrored)
      r.Left = area.Right - FColumnWidth;
    else
      r.Right = area.Left + FColumnWidth;
  }
  for (int i = TopIndex(); i < Count(); ++i) {
    r.Top = r.Bottom;
    r.Bottom = r.Top + ItemHeightOf(i);
    if (FColumns > 0 && r.Bottom > area.Bottom && r.Top > area.Top) {
      r.Offset(mirrored ? -FColumnWidth : FColumnWidth, area.Top - r.Top);
    }
    if (!AVisit(i, r)) return;
  }
}

TRect TdxCustomListBox::ItemRect(int AIndex) {
  const TRect area = ItemsAreaBounds();
  TRect result(area.Left, area.Top, area.Right, area.Top);
  if (AIndex < TopIndex()) return result;
  WalkItems([&](int I, const TRect& R) {
    result = R;
    return I < AIndex;
  });
  return result;
}

int TdxCustomListBox::ItemAtPos(const TPoint& P, bool AExistOnly) {
  const TRect area = ItemsAreaBounds();
  if (!area.Contains(P)) return -1;
  int found = -1;
  WalkItems([&](int I, const TRect& R) {
    TRect content, separator;
    SplitItemBounds(I, R, content, separator);
    // The walk has mirrored the columns already: mirroring the content once
    // more would test the opposite column from the one drawn.
    if (content.Contains(P)) found = I;
    return found < 0;
  });
  if (found >= 0) return found;
  return AExistOnly ? FItemIndex : Count();
}

int TdxCustomListBox::ItemsPerColumn() {
  return FColumns > 0 ? std::max(ItemsAreaBounds().Height() / FItemHeight, 1) : 1;
}

int TdxCustomListBox::VisibleCount() {
  if (FColumns > 0) return ItemsPerColumn() * FColumns;
  const TRect area = ItemsAreaBounds();
  int bottom = area.Top;
  const int top = TopIndex();
  for (int i = top; i < Count(); ++i) {
    bottom += ItemHeightOf(i);
    if (bottom > area.Bottom) return std::max(i - top, 1);
  }
  return std::max(Count() - top, 1);
}

int TdxCustomListBox::MaxTopIndex() {
  if (Count() == 0) return -1;
  if (FColumns > 0) {
    const int perColumn = ItemsPerColumn();
    const int visible = VisibleCount();
    int top = 0;
    while (top + visible < Count() - 1) top += perColumn;
    return top;
  }
  const TRect area = ItemsAreaBounds();
  int bottom = area.Bottom;
  for (int i = Count() - 1; i >= 0; --i) {
    bottom -= ItemHeightOf(i);
    if (bottom < area.Top) return std::min(i + 1, Count() - 1);
  }
  return 0;
}

int TdxCustomListBox::CalculateItemHeight() {
  const TRect textMargins = GetTextMargins();
  const int textHeight = textMargins.Top + textMargins.Bottom + MeasureText(Font(), String()).cy;
  if (!FImages) return textHeight;
  const TRect imageMargins = GetImageMargins();
  return std::max(GetImageSize().cy + imageMargins.Top + imageMargins.Bottom, textHeight);
}

TRect TdxCustomListBox::GetImageMargins() { return ScaleFactor()->Apply(TRect(2, 2, 2, 2)); }

TSize TdxCustomListBox::GetImageSize() {
  return FImages ? ScaleFactor()->Apply(TSize(FImages->Width(), FImages->Height())) : TSize(0, 0);
}

int TdxCustomListBox::ImageColumnWidth() {
  if (!FImages) return 0;
  const TRect margins = GetImageMargins();
  return std::max(GetImageSize().cx + margins.Left + margins.Right, FItemHeight);
}

TRect TdxCustomListBox::GetImageAreaBounds() {
  TRect r = ItemsAreaBounds();
  r.Right = r.Left + ImageColumnWidth();
  return r;
}

bool TdxCustomListBox::HasValidImage(TdxCustomListBoxItem* AItem) {
  return FImages && AItem->ImageIndex() >= 0 && AItem->ImageIndex() < FImages->Count();
}

TSize TdxCustomListBox::CalculateContentSize(int AMaxVisibleItemsCount) {
  const TRect margins = GetTextMargins();
  int width = 0;
  for (int i = 0; i < Count(); ++i) width = std::max(width, MeasureText(Font(), FItems->Items(i)->Caption()).cx);
  width += margins.Left + margins.Right + ScaleFactor()->Apply(GetSystemMetrics(SM_CXVSCROLL)) + ImageColumnWidth() +
           2 * BorderThickness();
  int height = 2 * BorderThickness();
  for (int i = 0; i < std::min(Count(), AMaxVisibleItemsCount); ++i) height += ItemHeightOf(i);
  return TSize(width, height);
}

void TdxCustomListBox::LayoutChanged() {
  if (FItems && FItems->IsUpdateLocked()) return;
  RecalculateLayout();
  Invalidate();
}

void TdxCustomListBox::RecalculateLayout() {
  if (FItemAutoHeight) {
    int height = CalculateItemHeight();
    EnsureTouchModeMinimum(height, ScaleFactor());
    FItemHeight = std::max(height, 1);
  }
  const TRect area = ItemsAreaBounds();
  if (FColumns == 0) {
    FColumnWidth = area.Width();
    if (static_cast<long long>(Count()) * FItemHeight > area.Height())
      FColumnWidth -= GetSystemMetrics(SM_CXVSCROLL);
  } else {
    FColumnWidth = area.Width() / FColumns;
  }
  CheckTopIndex();
  CheckItemIndex();
  if (Count() == 0) SetItemIndex(-1);
  UpdateHotItem();
}

void TdxCustomListBox::SplitItemBounds(int AIndex, const TRect& R, TRect& AContent, TRect& ASeparator) {
  AContent = R;
  if (FColumns > 1) AContent.Right = AContent.Left + FColumnWidth;
  ASeparator = TRect();
  if (HasItemSeparator(AIndex)) {
    ASeparator = AContent;
    AContent.Bottom -= SeparatorSize();
    ASeparator.Top = AContent.Bottom;
  }
}

TRect TdxCustomListBox::GetItemTextAreaBounds(TdxCustomListBoxItem* AItem, const TRect& AContent) {
  TRect r = AContent;
  if (FAlignImages || HasValidImage(AItem)) r.Left += ImageColumnWidth();
  return r;
}

TRect TdxCustomListBox::GetItemImageBounds(TdxCustomListBoxItem*, const TRect& AContent) {
  const TRect margins = GetImageMargins();
  return TRect(AContent.Left + margins.Left, AContent.Top + margins.Top,
               AContent.Left + ImageColumnWidth() - margins.Right, AContent.Bottom - margins.Bottom);
}

TRect TdxCustomListBox::GetItemTextBounds(TdxCustomListBoxItem* AItem, const TRect& AContent) {
  TRect r = GetItemTextAreaBounds(AItem, AContent);
  const TRect margins = GetTextMargins();
  r.Left += margins.Left;
  r.Top += margins.Top;
  r.Right -= margins.Right;
  r.Bottom -= margins.Bottom;
  return r;
}

bool TdxCustomListBox::IsItemTextClipped(int AIndex, TRect& AItemRect, TRect& ATextRect) {
  if (AIndex < 0 || AIndex >= Count()) return false;
  AItemRect = ItemRect(AIndex);
  TRect content, separator;
  SplitItemBounds(AIndex, AItemRect, content, separator);
  TdxCustomListBoxItem* item = FItems->Items(AIndex);
  ATextRect = GetItemTextBounds(item, content);
  // The hint lies over the caption where it is drawn.
  if (UseRightToLeftAlignment()) ATextRect = TdxRightToLeftLayoutConverter::ConvertRect(ATextRect, AItemRect);
  return MeasureText(Font(), item->Caption()).cx > ATextRect.Width();
}

// ---------------------------------------------------------------------------
// Keys, mouse, scrolling

bool TdxCustomListBox::ProcessNavigationKey(WORD AKey, TShiftState AShift) {
  const bool ctrl = AShift.Contains(ssCtrl);
  const int visible = VisibleCount();
  const bool columns = FColumns > 0;
  switch (AKey) {
    case VK_PRIOR:
      if (ctrl) {
        SelectSelectableIndex(0, true, false);
      } else if (columns) {
        if (!MoveBy(-visible)) SetItemIndex(0);
      } else {
        SelectSelectableIndex(FItemIndex - visible, false, false);
      }
      return true;
    case VK_NEXT:
      if (ctrl)
        SelectSelectableIndex(Count() - 1, false, false);
      else if (columns)
        MoveBy(TopIndex() == 0 && FItemIndex == 0 ? visible - 1 : visible);
      else
        SelectSelectableIndex(FItemIndex + visible, true, false);
      return true;
    case VK_HOME: SelectSelectableIndex(0, true, false); return true;
    case VK_END: SelectSelectableIndex(Count() - 1, false, false); return true;
    case VK_LEFT:
    case VK_RIGHT:
      // The arrow towards the later columns, which run leftwards when mirrored.
      if (columns) MoveBy((AKey == VK_RIGHT) != UseRightToLeftAlignment() ? ItemsPerColumn() : -ItemsPerColumn());
      return true;
    case VK_UP:
      if (columns)
        MoveBy(-1);
      else
        SelectSelectableIndex(FItemIndex - 1, false, FLoopedNavigation);
      return true;
    case VK_DOWN:
      if (columns)
        MoveBy(1);
      else
        SelectSelectableIndex(FItemIndex + 1, true, FLoopedNavigation);
      return true;
    default: return false;
  }
}

bool TdxCustomListBox::MoveBy(int ADelta) {
  const int index = FItemIndex + ADelta;
  if (ADelta < 0 && index < 0) return false;
  if ((ADelta < 0 && index < TopIndex()) || (ADelta > 0 && index >= TopIndex() + VisibleCount() && index <= Count() - 1))
    ScrollLine(ADelta < 0);
  const int old = FItemIndex;
  SetItemIndex(index);
  return FItemIndex != old;
}

void TdxCustomListBox::ScrollLine(bool AUp) {
  int position = TopIndex();
  HandleScroll(FColumns > 0 ? sbHorizontal : sbVertical, AUp ? scLineUp : scLineDown, position);
}

void TdxCustomListBox::HandleScroll(TScrollBarKind, TScrollCode ACode, int& APos) {
  if (FItems->IsUpdateLocked()) return;
  const int perColumn = ItemsPerColumn();
  bool givesPosition = true;
  switch (ACode) {
    case scLineUp: FTopIndex = TopIndex() - perColumn; break;
    case scLineDown: FTopIndex = TopIndex() + perColumn; break;
    case scPageUp: FTopIndex = TopIndex() - VisibleCount(); break;
    case scPageDown: FTopIndex = TopIndex() + VisibleCount(); break;
    case scTrack:
      if (FColumns == 0) {
        FTopIndex = APos;
      } else {
        givesPosition = false;
        const int columns = (APos - TopIndex()) / perColumn;
        if (columns != 0)
          FTopIndex = TopIndex() + columns * perColumn;
        else if (MaxTopIndex() - perColumn < APos)
          FTopIndex = TopIndex() + perColumn;
      }
      break;
    case scTop: FTopIndex = 0; break;
    case scBottom: FTopIndex = Count() - VisibleCount(); break;
    case scEndScroll: return;
    default: break;
  }
  LayoutChanged();
  if (givesPosition) APos = TopIndex();
  if (HandleAllocated()) Update();
}

TRect TdxCustomListBox::VertScrollBarBounds() {
  if (IsOverlayScrollMode()) return inherited::VertScrollBarBounds();
  const TRect area = ItemsAreaBounds();
  const TRect r(area.Right, area.Top, area.Right + VertScrollBarWidth(), area.Bottom);
  return UseRightToLeftScrollBar() ? TdxRightToLeftLayoutConverter::ConvertRect(r, area) : r;
}

int TdxCustomListBox::WheelScrollKind() {
  if (IsScrollBarVisible(sbVertical)) return sbVertical + 1;
  if (IsScrollBarVisible(sbHorizontal)) return sbHorizontal + 1;
  return 0;
}

void TdxCustomListBox::SetupScrollBars() {
  const bool columns = FColumns > 0;
  const int visible = VisibleCount();
  SetScrollBarInfo(columns ? sbHorizontal : sbVertical, 0, Count() - 1, columns ? ItemsPerColumn() : 1, visible,
                   TopIndex(), true, true);
  SetScrollBarInfo(columns ? sbVertical : sbHorizontal, 0, -1, 1, 0, 0, false, true);
}

void TdxCustomListBox::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != 0 && ProcessNavigationKey(Key, Shift)) FIncrementalSearchController->HandleKeyDown(Key);
}

void TdxCustomListBox::KeyPress(wchar_t& Key) {
  inherited::KeyPress(Key);
  ProcessSearchChar(Key);
}

void TdxCustomListBox::ProcessSearchChar(wchar_t& AKey) {
  if (FIncrementalSearch && Count() > 0) FIncrementalSearchController->HandleKeyPress(AKey);
}

void TdxCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (!alive.Alive()) return;
  FIncrementalSearchController->HandleMouseDown();
  FHintHelper->MouseDown();
  if (Button == mbLeft && ItemsAreaBounds().Contains(TPoint(X, Y))) SelectItemAtPoint(TPoint(X, Y));
  if (alive.Alive()) Click();
}

void TdxCustomListBox::SelectItemAtPoint(const TPoint& P) { SetItemIndex(ItemAtPos(P, true)); }

void TdxCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  // The message's own position: the cursor may have moved on since.
  UpdateHotItem(TPoint(X, Y));
}

void TdxCustomListBox::NotifyMouseEnter(TControl* AControl) {
  inherited::NotifyMouseEnter(AControl);
  UpdateHotItem();
}

void TdxCustomListBox::NotifyMouseLeave(TControl* AControl) {
  inherited::NotifyMouseLeave(AControl);
  UpdateHotItem();
}

bool TdxCustomListBox::CanTrackHotItem() {
  return HandleAllocated() && Focused() && DragAndDropState() == ddsNone;
}

void TdxCustomListBox::UpdateHotItem() {
  if (CanTrackHotItem())
    UpdateHotItem(ScreenToClient(ReadCursorPos()));
  else
    SetHotIndex(-1);
}

void TdxCustomListBox::UpdateHotItem(const TPoint& AClientPos) {
  SetHotIndex(CanTrackHotItem() ? ItemAtPos(AClientPos, true) : -1);
}

void TdxCustomListBox::SetHotIndex(int AValue) {
  if (FHotIndex == AValue) return;
  InvalidateItem(FHotIndex);
  FHotIndex = AValue;
  InvalidateItem(FHotIndex);
  TRect itemRect, textRect;
  if (ShowHint() && IsItemTextClipped(FHotIndex, itemRect, textRect)) {
    TdxCustomListBoxItem* item = FItems->Items(FHotIndex);
    FHintHelper->ShowHint(itemRect, textRect, Font(), item, false, item->Caption());
  } else {
    FHintHelper->CancelHint();
  }
}

void TdxCustomListBox::InvalidateItem(int AIndex) {
  if (!HandleAllocated() || AIndex < TopIndex() || AIndex >= Count() || AIndex > TopIndex() + VisibleCount()) return;
  InvalidateRect(ItemRect(AIndex), false);
}

// ---------------------------------------------------------------------------
// Window

void TdxCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TdxCustomListBox::HandleBoundsChange() {
  inherited::HandleBoundsChange();
  LayoutChanged();
}

void TdxCustomListBox::HandleFontChange() {
  inherited::HandleFontChange();
  LayoutChanged();
}

void TdxCustomListBox::ApplyScale(int M, int D, bool AIsDpiChange) {
  inherited::ApplyScale(M, D, AIsDpiChange);
  if (!FItemAutoHeight) SetItemHeight(MulDiv(FItemHeight, M, D));
}

void TdxCustomListBox::AfterScaleChange() {
  inherited::AfterScaleChange();
  LayoutChanged();
}

void TdxCustomListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETOBJECT && IsAccessibilitySupported() &&
      (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
    if (!FAccessibilityHelper) {
      auto* node = New<TdxCustomListBoxAccessibilityHelper>(static_cast<TObject*>(this));
      FAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
    }
    Message.Result = ReturnAccessibleObject(Message.WParam, FAccessibilityHelper->GetHelper());
    return;
  }
  inherited::WndProc(Message);
}

// ---------------------------------------------------------------------------
// Drawing

void TdxCustomListBox::PaintControl() {
  DrawBackground(Canvas());
  DrawItems(Canvas());
}

void TdxCustomListBox::DrawBackground(TcxCanvas* ACanvas) {
  TcxCustomLookAndFeelPainter* painter = ActivePainter();
  if (BorderStyle() == cxcbsDefault) painter->DrawBorder(ACanvas, Bounds());
  TColor color = painter->DefaultEditorBackgroundColor(false);
  if (color == clDefault) color = clWindow;
  ACanvas->FillRect(ClientBounds(), color);
}

TcxButtonState TdxCustomListBox::GetItemState(int AIndex) {
  if (AIndex == FItemIndex) return cxbsPressed;
  if (AIndex == FHotIndex) return cxbsHot;
  return cxbsNormal;
}

TColor TdxCustomListBox::GetItemBackgroundColor(TcxButtonState AState) {
  if (AState == cxbsPressed || (IsHotTrackEnabled() && AState == cxbsHot)) return ActivePainter()->DefaultSelectionColor();
  return clDefault;
}

TColor TdxCustomListBox::GetItemTextColor(TcxButtonState AState) {
  if (Font()->Color() != clWindowText) return Font()->Color();
  if (AState == cxbsPressed || (IsHotTrackEnabled() && AState == cxbsHot))
    return ActivePainter()->DefaultSelectionTextColor();
  return ActivePainter()->DefaultEditorTextColor(AState == cxbsDisabled);
}

UINT TdxCustomListBox::GetItemTextFlags() {
  UINT result = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  result |= UseRightToLeftAlignment() ? DT_RIGHT : DT_LEFT;
  if (UseRightToLeftReading()) result |= DT_RTLREADING;
  return result;
}

void TdxCustomListBox::DrawItems(TcxCanvas* ACanvas) {
  const TRect area = ItemsAreaBounds();
  const TcxClipRegionScope clip(ACanvas, ClientBounds());
  ACanvas->Font()->Assign(Font());
  WalkItems([&](int I, const TRect& R) {
    if (R.Bottom > area.Bottom && !DrawsPartialItems() && FColumns == 0) return false;
    if (ACanvas->RectVisible(R)) DrawItem(ACanvas, R, I, GetItemState(I));
    return R.Top <= area.Bottom;
  });
}

void TdxCustomListBox::DrawItem(TcxCanvas* ACanvas, const TRect& R, int AIndex, TcxButtonState AState) {
  TdxCustomListBoxItem* item = FItems->Items(AIndex);
  TRect content, separator;
  SplitItemBounds(AIndex, R, content, separator);
  TRect textArea = GetItemTextAreaBounds(item, content);
  TRect image = GetItemImageBounds(item, content);
  TRect text = GetItemTextBounds(item, content);
  if (UseRightToLeftAlignment()) {
    for (TRect* part : {&textArea, &image, &text, &separator})
      *part = TdxRightToLeftLayoutConverter::ConvertRect(*part, R);
  }
  DrawItemBackground(ACanvas, textArea, AState);
  DrawItemImage(ACanvas, image, item);
  DrawItemText(ACanvas, text, item, AState);
  DrawItemSeparator(ACanvas, separator);
}

void TdxCustomListBox::DrawItemBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  const TColor color = GetItemBackgroundColor(AState);
  if (color != clDefault) ACanvas->FillRect(R, color);
}

void TdxCustomListBox::DrawItemImage(TcxCanvas* ACanvas, const TRect& R, TdxCustomListBoxItem* AItem) {
  if (!HasValidImage(AItem)) return;
  const TSize size = GetImageSize();
  const TPoint origin(R.Left + (R.Width() - size.cx) / 2, R.Top + (R.Height() - size.cy) / 2);
  const TRect cell(origin, TPoint(origin.X + size.cx, origin.Y + size.cy));
  if (size.cx == FImages->Width() && size.cy == FImages->Height()) {
    FImages->Draw(ACanvas->Canvas(), cell.Left, cell.Top, AItem->ImageIndex());
    return;
  }
  // Scaled: stretched pixel for pixel, without smoothing.
  DrawScaledImage(ACanvas->Canvas(), cell, nullptr, FImages, AItem->ImageIndex(), ifmStretch, idmNormal, false,
                  nullptr, nullptr, false);
}

void TdxCustomListBox::DrawItemText(TcxCanvas* ACanvas, const TRect& R, TdxCustomListBoxItem* AItem,
                                    TcxButtonState AState) {
  TFont* font = ACanvas->Font();
  font->Assign(Font());
  font->SetColor(GetItemTextColor(AState));
  CustomizeItemFont(font, AItem, AState);
  TRect r = R;
  DrawTextWithColor(ACanvas->Handle(), AItem->Caption(), r, GetItemTextFlags(), -1, font->Color(), TRANSPARENT);
}

void TdxCustomListBox::DrawItemSeparator(TcxCanvas* ACanvas, const TRect& R) {
  if (R.IsEmpty()) return;
  ActivePainter()->DrawDropDownListBoxScaledSeparator(ACanvas, R, GetImageAreaBounds(), ScaleFactor());
}
