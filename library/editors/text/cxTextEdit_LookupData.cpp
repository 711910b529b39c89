// The lookup of a text editor: the current item, searches in the lookup
// items, moves through them, the filter of the open list, and the list it
// builds for a popup.
#include "library/core/data/cxVariants.h"
#include "library/editors/text/cxTextEdit.h"

#include <algorithm>

namespace {

// The first characters of AItem, as many as APrefix has, equal APrefix
// ignoring case as the user's locale does (so "STRASSE" begins "Straße").
// Printable ASCII folds A-Z alone and has no expansions under the locale, so
// it skips the locale comparison that otherwise dominates a search over many
// items.
bool StartsIgnoringCase(const String& APrefix, const String& AItem) {
  const auto isPrintableAscii = [](wchar_t C) { return C >= 0x20 && C < 0x7F; };
  const auto fold = [](wchar_t C) { return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C; };
  const size_t length = std::min(APrefix.size(), AItem.size());
  const auto locale = [&] { return AnsiSameText(AItem.substr(0, length), APrefix); };
  for (size_t i = 0; i < length; ++i) {
    const wchar_t a = APrefix[i], b = AItem[i];
    if (!isPrintableAscii(a) || !isPrintableAscii(b)) return locale();
    if (fold(a) != fold(b)) return false;
  }
  if (length == APrefix.size()) return true;
  // A longer prefix can still equal a shorter item when it is not plain ASCII.
  return !std::all_of(APrefix.begin() + static_cast<std::ptrdiff_t>(length), APrefix.end(), isPrintableAscii) &&
         locale();
}

}  // namespace

// ---------------------------------------------------------------------------
// Settings read from the editor's properties

bool TcxCustomTextEditLookupData::IsFilteringActive() { return ActiveProperties()->IsIncrementalFilteringActive(); }

bool TcxCustomTextEditLookupData::IsContainsMode() {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  return properties->IncrementalFiltering() &&
         properties->IncrementalFilteringOptions().Contains(ifoUseContainsOperator) && IsDroppedDown();
}

// ---------------------------------------------------------------------------
// Creation and the owner

void TcxCustomTextEditLookupData::Create(TPersistent* AOwner) {
  // The base keeps no owner: GetOwner answers the editor instead.
  inherited::Create(nullptr);
  FOwner = AOwner;
}

bool TcxCustomTextEditLookupData::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxTextEditLookupData, IcxTextEditLookupDataIncrementalFilter>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TcxCustomTextEdit* TcxCustomTextEditLookupData::Edit() const { return static_cast<TcxCustomTextEdit*>(FOwner); }

TcxCustomTextEditProperties* TcxCustomTextEditLookupData::ActiveProperties() const {
  return Edit()->ActiveProperties();
}

// ---------------------------------------------------------------------------
// Items, rows and searches

String TcxCustomTextEditLookupData::GetItemText(int AIndex) {
  return ActiveProperties()->LookupItems()->Strings(AIndex);
}

int TcxCustomTextEditLookupData::GetItemCount() { return ActiveProperties()->LookupItems()->Count(); }

int TcxCustomTextEditLookupData::GetVisibleItemCount() {
  return ActiveProperties()->IncrementalFiltering() ? static_cast<int>(FFilteredLookupItems.size())
                                                      : GetItemCount();
}

int TcxCustomTextEditLookupData::FilteredIndexToItemIndex(int ARow) {
  if (ARow < 0 || !ActiveProperties()->IncrementalFiltering()) return ARow;
  return ARow < static_cast<int>(FFilteredLookupItems.size()) ? FFilteredLookupItems[static_cast<size_t>(ARow)] : -1;
}

int TcxCustomTextEditLookupData::ItemIndexToFilteredIndex(int AItem) {
  if (AItem < 0 || !ActiveProperties()->IncrementalFiltering()) return AItem;
  const auto it = std::lower_bound(FFilteredLookupItems.begin(), FFilteredLookupItems.end(), AItem);
  return it != FFilteredLookupItems.end() && *it == AItem ? static_cast<int>(it - FFilteredLookupItems.begin()) : -1;
}

String TcxCustomTextEditLookupData::GetVisibleItemText(int ARow) {
  // A filter built before the items shrank may name items that are gone.
  const int item = FilteredIndexToItemIndex(ARow);
  return item >= 0 && item < GetItemCount() ? GetItemText(item) : String();
}

int TcxCustomTextEditLookupData::FindItemFrom(const String& AText, int AStart, bool AWholeItem) {
  const int count = GetItemCount();
  if (AText.empty() || AStart > count - 1) return -1;
  if (IsContainsMode()) {
    const String part = AnsiUpperCase(AText);
    for (int i = std::max(AStart, 0); i < count; ++i)
      if (AnsiUpperCase(GetItemText(i)).find(part) != String::npos) return i;
    return -1;
  }
  for (int i = std::max(AStart, 0); i < count; ++i) {
    const String item = GetItemText(i);
    if (AWholeItem ? AnsiSameText(item, AText) : StartsIgnoringCase(AText, item)) return i;
  }
  return -1;
}

bool TcxCustomTextEditLookupData::Find(const String& AText) {
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i)
    if (AnsiSameText(GetItemText(i), AText)) return true;
  return false;
}

String TcxCustomTextEditLookupData::GetDisplayText(const Variant& AKey) {
  if (AKey.IsEmpty() || AKey.IsNull()) return String();
  const int key = AKey.AsInteger();
  return key >= 0 && key < GetItemCount() ? GetItemText(key) : String();
}

void TcxCustomTextEditLookupData::ApplyMissRule(const String& AText, bool AIsTextChange) {
  bool clears = true;
  switch (ActiveProperties()->GetEditingStyle()) {
    case esEditList: clears = AIsTextChange || AText.empty(); break;
    case esFixedList: clears = AIsTextChange; break;
    default: break;
  }
  if (clears) InternalSetCurrentKey(-1);
}

bool TcxCustomTextEditLookupData::SearchItem(String& AText, String& ATail, bool ANext, bool AIsTextChange) {
  if (GetItemCount() == 0) {
    ApplyMissRule(AText, AIsTextChange);
    return false;
  }
  const int start = ANext ? FItemIndex + 1 : 0;
  int found = SearchesWholeItemsFirst() ? FindItemFrom(AText, start, true) : -1;
  if (found == -1) found = FindItemFrom(AText, start, false);
  if (found == -1) {
    ApplyMissRule(AText, AIsTextChange);
    return false;
  }
  if (!IsContainsMode()) {
    const String item = GetItemText(found);
    const size_t length = std::min(AText.size(), item.size());
    // The item's own letter case replaces the typed one.
    if (ActiveProperties()->GetEditingStyle() != esEdit) AText = item.substr(0, length);
    ATail = item.substr(length);
  }
  InternalSetCurrentKey(found);
  return true;
}

bool TcxCustomTextEditLookupData::Locate(String& AText, String& ATail, bool ANext) {
  const bool found = SearchItem(AText, ATail, ANext, false);
  TcxCustomTextEditProperties* properties = ActiveProperties();
  if (properties->IncrementalFiltering() && IsDroppedDown()) {
    const bool keepsFilter = found && !AText.empty() &&
                             (properties->GetEditingStyle() != esEdit || !properties->IncrementalSearch());
    if (!keepsFilter) ApplyFilter(AText);
  }
  return found;
}

void TcxCustomTextEditLookupData::TextChanged() {
  TcxCustomTextEdit* edit = Edit();
  if (edit->EditModeSetting()) return;
  String text = edit->Text();
  if (FItemIndex < GetItemCount() && AnsiSameText(GetDisplayText(Variant(FItemIndex)), text)) return;
  String tail;
  SearchItem(text, tail, false, true);
}

// ---------------------------------------------------------------------------
// The filter

void TcxCustomTextEditLookupData::ApplyFilter(const String& AText) {
  FSearchText = AText;
  FFilteredLookupItems.clear();
  TcxCustomTextEditProperties* properties = ActiveProperties();
  const bool contains =
      properties->IncrementalFiltering() && properties->IncrementalFilteringOptions().Contains(ifoUseContainsOperator);
  const String part = AnsiUpperCase(AText);
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    const String item = GetItemText(i);
    if (AText.empty() || (contains ? AnsiUpperCase(item).find(part) != String::npos : StartsIgnoringCase(AText, item)))
      FFilteredLookupItems.push_back(i);
  }
  UpdateListItems();
}

void TcxCustomTextEditLookupData::ResetIncrementalFilter() {
  FSearchText.clear();
  const int count = GetItemCount();
  FFilteredLookupItems.resize(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) FFilteredLookupItems[static_cast<size_t>(i)] = i;
  UpdateListItems();
}

// ---------------------------------------------------------------------------
// The current key

void TcxCustomTextEditLookupData::InternalSetCurrentKey(int AValue) {
  if (AValue < -1 || AValue >= GetItemCount()) return;
  FCurrentKey = AValue;
  SetListItemIndex(AValue);
}

void TcxCustomTextEditLookupData::SetListItemIndex(int AItem) {
  if (AItem < -1 || AItem >= GetItemCount() || (AItem == FItemIndex && AItem != -1)) return;
  if (FList && GetVisibleItemCount() > 0) {
    if (AItem == -1) {
      // Row 0 first brings the list back to its top.
      if (FList->HandleAllocated()) {
        FList->SetItemIndex(0);
        FList->SetItemIndex(-1);
      }
    } else {
      SetSelectedItem(AItem);
    }
  }
  FItemIndex = AItem;
}

void TcxCustomTextEditLookupData::SetCurrentKey(const Variant& AKey) {
  const Variant old(FCurrentKey);
  const int key = AKey.IsEmpty() || AKey.IsNull() ? -1 : AKey.AsInteger();
  InternalSetCurrentKey(key);
  TcxCustomTextEdit* edit = Edit();
  edit->FLookupDataTextChangedLocked = true;
  TScopeExit unlock([edit] { edit->FLookupDataTextChangedLocked = false; });
  if (VariantsEqualBooleanAware(Variant(FCurrentKey), old)) {
    // Re-choosing the current item still restores its exact text.
    if (key >= 0 && key < GetItemCount() && edit->Text() != GetItemText(key)) CallEvent(FOnSelectItem, this);
  } else {
    CallEvent(FOnSelectItem, this);
  }
}

void TcxCustomTextEditLookupData::SelectItem() {
  if (FItemIndex == -1) return;
  if (FCurrentKey != FItemIndex && !Edit()->DoEditing()) return;
  const int old = FCurrentKey;
  SetCurrentKey(Variant(FItemIndex));
  if (FCurrentKey == old) CallEvent(FOnSelectItem, this);
}

// ---------------------------------------------------------------------------
// Moves

void TcxCustomTextEditLookupData::Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) {
  if (!IsDroppedDown()) ResetIncrementalFilter();
  const int n = GetVisibleItemCount();
  if (n == 0) return;
  const bool filtering = IsFilteringActive();
  const int cur = filtering || FItemIndex != -1 ? FItemIndex : FCurrentKey;
  const int f = ItemIndexToFilteredIndex(cur);
  const int rows = ActiveProperties()->GetDropDownRowCount();
  const bool clearsAtEnds = filtering && IsDroppedDown();
  int t = f;
  switch (ADirection) {
    case egdBegin: t = 0; break;
    case egdEnd: t = n - 1; break;
    case egdPrev:
      if (f - 1 >= 0) t = f - 1;
      else if (ACircular) t = n - 1;
      else if (clearsAtEnds) t = f == 0 ? -1 : n - 1;
      break;
    case egdNext:
      if (f + 1 != n) t = f + 1;
      else if (ACircular) t = 0;
      else if (clearsAtEnds) t = -1;
      break;
    case egdPageUp:
      if (cur == -1) {
        t = ACircular ? n - 1 : -1;
      } else {
        t = f - rows + 1;
        if (t < 0) t = ACircular && f == 0 ? n - 1 : 0;
      }
      break;
    case egdPageDown:
      t = f == -1 ? rows - 1 : f + rows - 1;
      if (t >= n) t = ACircular && f == n - 1 ? 0 : n - 1;
      break;
  }
  const int item = FilteredIndexToItemIndex(t);
  if (!FList || !FList->IsVisible() || (ActiveProperties()->ImmediateUpdateText() && Edit()->DoEditing())) {
    SetCurrentKey(Variant(item));
  } else {
    SetListItemIndex(item);
    FListContainer->RevealScrollBars(true);
  }
}

// ---------------------------------------------------------------------------
// The list

TWinControl* TcxCustomTextEditLookupData::GetActiveControl() { return FList; }

bool TcxCustomTextEditLookupData::IsDroppedDown() { return Edit()->HasPopupWindow(); }

int TcxCustomTextEditLookupData::GetSelectedItem() {
  return FList ? FilteredIndexToItemIndex(FList->ItemIndex()) : -1;
}

void TcxCustomTextEditLookupData::SetSelectedItem(int AItem) {
  if (FList && FList->HandleAllocated()) FList->SetItemIndex(ItemIndexToFilteredIndex(AItem));
}

void TcxCustomTextEditLookupData::HandleListSelectItem(TObject*) {
  FItemIndex = FList ? FilteredIndexToItemIndex(FList->ItemIndex()) : -1;
}

bool TcxCustomTextEditLookupData::CanResizeVisualArea(TSize&, int, int) { return true; }

TSize TcxCustomTextEditLookupData::GetVisualAreaPreferredSize(int, int) { return TSize(); }

bool TcxCustomTextEditLookupData::IsMouseOverList(const TPoint& P) {
  if (!FList || !FList->HandleAllocated()) return false;
  const TPoint p = FList->ScreenToClient(P);
  return TRect(0, 0, FList->Width(), FList->Height()).Contains(p);
}

void TcxCustomTextEditLookupData::Initialize(TWinControl* AVisualControlsParent) {
  FIsInitializing = true;
  TScopeExit done([this] { FIsInitializing = false; });
  BuildList(AVisualControlsParent);
}

void TcxCustomTextEditLookupData::BuildList(TWinControl* AVisualControlsParent) {
  const bool isNew = FList == nullptr;
  if (isNew) {
    FListContainer = New<TcxEditListBoxContainer>(AVisualControlsParent);
    TClass listClass = GetListBoxClass();
    FList = NewOfClass<TcxCustomEditListBox>(listClass ? listClass : TcxCustomEditListBox::ClassInfo(),
                                              static_cast<TComponent*>(FListContainer));
    FList->SetContainer(FListContainer);
    FListContainer->SetInnerControl(FList);
    FList->SetParent(FListContainer);
  }
  FListContainer->SetParent(AVisualControlsParent);
  FList->SetOnSelectItem(nullptr);
  if (isNew) FList->UpdateItemLayout();
  SyncItemCount(GetVisibleItemCount());
  TcxCustomTextEdit* edit = Edit();
  FListContainer->SetStyle(edit->Style());
  FListContainer->Style()->Assign(edit->CurrentStyle());
  TcxContainerStyleValues assigned = FListContainer->Style()->AssignedValues();
  FListContainer->Style()->SetAssignedValues(assigned.Include(svFont));
  FList->Canvas()->Font()->Assign(FList->Font());
  FList->SetOnSelectItem(BindEvent<&TcxCustomTextEditLookupData::HandleListSelectItem>(this));
  FList->SetItemIndex(ItemIndexToFilteredIndex(FItemIndex));
  if (!isNew) FList->UpdateItemLayout();
  FList->Invalidate();
  if (!(ActiveProperties()->IncrementalFiltering() && edit->FLookupDataTextChangedLocked)) TextChanged();
}

void TcxCustomTextEditLookupData::PlaceList(const TRect& AClientRect) {
  FListContainer->SetBoundsRect(AClientRect);
  if (FList->HandleAllocated()) FList->SetScrollWidth(FList->ScrollWidth());
}

void TcxCustomTextEditLookupData::UpdateListItems() {
  if (!FList || !FList->HandleAllocated()) return;
  TStrings* strings = FList->Items();
  strings->BeginUpdate();
  TScopeExit update([strings] { strings->EndUpdate(); });
  SyncItemCount(GetVisibleItemCount());
}

void TcxCustomTextEditLookupData::SyncItemCount(int ACount) {
  TStrings* strings = FList->Items();
  // Items replaced by as many others must not leave their texts behind:
  // accessibility names, type-ahead and drawing read them. The texts are the
  // visible items' own; the base list has none of its own to offer.
  std::vector<String> texts;
  texts.reserve(static_cast<size_t>(std::max(ACount, 0)));
  for (int i = 0; i < ACount; ++i) texts.push_back(GetVisibleItemText(i));
  bool same = strings->Count() == ACount;
  for (int i = 0; same && i < ACount; ++i) same = strings->Strings(i) == texts[static_cast<size_t>(i)];
  if (same) return;
  {
    strings->BeginUpdate();
    TScopeExit update([strings] { strings->EndUpdate(); });
    const int keep = std::min(strings->Count(), ACount);
    for (int i = 0; i < keep; ++i)
      if (strings->Strings(i) != texts[static_cast<size_t>(i)]) strings->SetStrings(i, texts[static_cast<size_t>(i)]);
    while (strings->Count() > ACount) strings->Delete(ACount);
    for (int i = strings->Count(); i < ACount; ++i) strings->Add(texts[static_cast<size_t>(i)]);
  }
  // The selected row keeps showing the highlighted item, wherever it went.
  if (FList->HandleAllocated()) FList->SetItemIndex(ItemIndexToFilteredIndex(FItemIndex));
}

void TcxCustomTextEditLookupData::CloseUp() {
  TcxCustomTextEdit* edit = Edit();
  if (!edit->EditModeSetting()) {
    if (FCurrentKey != -1 && ActiveProperties()->IncrementalFiltering() &&
        ActiveProperties()->GetEditingStyle() == esEdit) {
      if (Find(edit->Text())) SetListItemIndex(FCurrentKey);
      else InternalSetCurrentKey(-1);
    } else {
      SetListItemIndex(FCurrentKey);
    }
  }
  ResetIncrementalFilter();
  if (FListContainer) FListContainer->HideScrollBars(true);
}
