// The list boxes.
//
// Classes in this file:
//   TcxInnerListBox                           the platform list box a TcxListBox hosts
//   TcxListBox                                the list box on TcxCustomListBox: item height kept with its
//                                             scale factor, list styles, owner drawing and measuring
//                                             through the container's events
//   TdxCustomListBoxItem                      one item of the self-drawn list: caption, data, separator
//   TdxCustomListBoxItems                     the owning, optionally sorted item list
//   TdxListBoxIncrementalSearchController     type-ahead bound to one list
//   TdxCustomListBoxHintHelper                the hint of a clipped caption
//   TdxCustomListBoxAccessibilityHelper       the list and its items for MSAA clients
//   TdxCustomListBox                          the library's own item list: keeps its items and draws
//                                             them through the look-and-feel painter in rows or
//                                             columns, with looped navigation, type-ahead and hints
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/controls/container/cxContainer.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/control/cxHints.h"
#include "library/core/base/cxClasses.h"
#include "library/lookandfeel/painters/cxButtonState.h"
#include "library/stdctrls/cxCustomListBox.h"
#include "library/stdctrls/dxIncrementalSearch.h"
#include "platform/ui/ImgList.h"

class TcxListBox;

using TcxListBoxDrawItemEvent =
    Delegate<void(TcxListBox* AControl, TcxCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState)>;
using TcxListBoxMeasureItemEvent = Delegate<void(TcxListBox* AControl, int AIndex, int& Height)>;
// The data of a virtual list's item, asked for by index.
using TLBGetDataEvent = Delegate<void(TWinControl* Control, int Index, String& Data)>;
using TLBGetDataObjectEvent = Delegate<void(TWinControl* Control, int Index, TObject*& DataObject)>;
// The index of the first item starting with FindString; -1 for none.
using TLBFindDataEvent = Delegate<int(TWinControl* Control, const String& FindString)>;

// The platform list box inside a TcxListBox: focus follows the container,
// and clicks select only while the container's binding grants edit mode.
class TcxInnerListBox : public TcxCustomInnerListBox {
  SK_CLASS(TcxInnerListBox, TcxCustomInnerListBox)
 public:
  bool CanFocus() override;
  bool ExecuteAction(TBasicAction* Action) override;
  // The width the items scroll over horizontally (0: no horizontal bar).
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int AValue);

  // lbVirtual and lbVirtualOwnerDraw: the window holds a count, no items.
  bool IsVirtual() const { return Style() == lbVirtual || Style() == lbVirtualOwnerDraw; }
  int VirtualCount() const { return FVirtualCount; }
  void SetVirtualCount(int AValue);
  // A virtual item's text and object from the events; empty and nil without them.
  String VirtualText(int AIndex);
  TObject* VirtualObject(int AIndex);
  TLBGetDataEvent OnData() const { return FOnData; }
  void SetOnData(TLBGetDataEvent AValue) { FOnData = AValue; }
  TLBFindDataEvent OnDataFind() const { return FOnDataFind; }
  void SetOnDataFind(TLBFindDataEvent AValue) { FOnDataFind = AValue; }
  TLBGetDataObjectEvent OnDataObject() const { return FOnDataObject; }
  void SetOnDataObject(TLBGetDataObjectEvent AValue) { FOnDataObject = AValue; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Click() override;
  void DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;

 private:
  TcxListBox* ListBox() const;
  // LB_FINDSTRING(EXACT) of a virtual list, answered by OnDataFind.
  void FindVirtualString(TMessage& Message);

  int FScrollWidth;
  int FVirtualCount = 0;
  TLBGetDataEvent FOnData;
  TLBFindDataEvent FOnDataFind;
  TLBGetDataObjectEvent FOnDataObject;
};

class TcxListBox : public TcxCustomListBox {
  SK_CLASS(TcxListBox, TcxCustomListBox)
 public:
  static void Publish(TPublisher<TcxListBox>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxInnerListBox* InnerListBox() const { return static_cast<TcxInnerListBox*>(FInnerListBox); }
  int ScrollWidth() const override { return InnerListBox()->ScrollWidth(); }
  void SetScrollWidth(int AValue) { InnerListBox()->SetScrollWidth(AValue); }
  int ItemHeight() override;
  // Kept with the scale factor in force, so a later scale change can convert it.
  void SetItemHeight(int AValue) override;
  TListBoxStyle ListStyle() override { return FListStyle; }
  void SetListStyle(TListBoxStyle AValue) override;

  TcxListBoxDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TcxListBoxDrawItemEvent AValue) { FOnDrawItem = AValue; }
  TcxListBoxMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
  // Bridged to the inner list box's own measuring.
  void SetOnMeasureItem(TcxListBoxMeasureItemEvent AValue);

  void RefinementsChanged() override;

  // A virtual list counts and selects through its window; other styles
  // through their items.
  int Count() const { return InnerListBox()->IsVirtual() ? InnerListBox()->VirtualCount() : inherited::Count(); }
  void SetCount(int AValue);
  void SetItemIndex(int AValue);
  TObject* ItemObject() {
    return InnerListBox()->IsVirtual() ? InnerListBox()->VirtualObject(ItemIndex()) : inherited::ItemObject();
  }
  TLBGetDataEvent OnData() const { return InnerListBox()->OnData(); }
  void SetOnData(TLBGetDataEvent AValue) { InnerListBox()->SetOnData(AValue); }
  TLBFindDataEvent OnDataFind() const { return InnerListBox()->OnDataFind(); }
  void SetOnDataFind(TLBFindDataEvent AValue) { InnerListBox()->SetOnDataFind(AValue); }
  TLBGetDataObjectEvent OnDataObject() const { return InnerListBox()->OnDataObject(); }
  void SetOnDataObject(TLBGetDataObjectEvent AValue) { InnerListBox()->SetOnDataObject(AValue); }

  // True when OnDrawItem drew the item.
  virtual bool DoDrawItem(TCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState);

 protected:
  // A TcxInnerListBox or a descendant.
  virtual TClass GetInnerListBoxClass() { return TcxInnerListBox::ClassInfo(); }
  TcxCustomInnerListBox* CreateInnerListBox() override;
  void AttachInnerListBox() override;
  String GetItemText(int AIndex) override;
  int GetItemHeightOf(int AIndex) override;
  int IndexOfItemText(const String& AText) override { return Items()->IndexOf(AText); }

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void AfterScaleChange() override;
  void HandleScrollBarModeChange() override;
  void AdjustAlignRect(TRect& R) override;
  // The container's bars show the inner list's; the wheel stays with the list.
  bool WantsScrollBars() override { return true; }
  // Touch and hybrid bars float over the list; the designer keeps classic ones.
  bool AllowsOverlayScrollBars() override { return !ComponentState().Contains(csDesigning); }
  bool CanWheelScroll(TShiftState, int, const TPoint&) override { return false; }

 private:
  // The inner list box takes the style and the item height for it.
  void ApplyListStyle();
  int ScaledItemHeight();
  void RecreateInnerWindow();
  void MeasureItemBridge(TWinControl* AControl, int AIndex, int& AHeight);

  int FItemHeight;
  TOwned<TdxScaleFactor> FItemHeightScale;
  TListBoxStyle FListStyle;
  TcxListBoxDrawItemEvent FOnDrawItem;
  TcxListBoxMeasureItemEvent FOnMeasureItem;
};

class TdxCustomListBox;
class TdxCustomListBoxItems;

class TdxCustomListBoxItem : public TObject {
  SK_CLASS(TdxCustomListBoxItem, TObject)
 public:
  virtual void Create(TdxCustomListBoxItems* AOwner);
  virtual void Assign(TdxCustomListBoxItem* ASource);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue);
  TObject* Data() const { return FData; }
  void SetData(TObject* AValue) { FData = AValue; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue);
  // A line below the item (not below the last one).
  bool HasSeparator() const { return FHasSeparator; }
  void SetHasSeparator(bool AValue);
  // Position in the owning list; -1 without one.
  int Index() const;
  TdxCustomListBoxItems* Owner() const { return FOwner; }

 private:
  friend class TdxCustomListBoxItems;
  void Changed();

  TdxCustomListBoxItems* FOwner;
  String FCaption;
  TObject* FData;
  int FImageIndex;
  bool FHasSeparator;
};

enum TdxCustomListBoxSortOption { lbsAnsiSort, lbsCaseInsensitive };
using TdxCustomListBoxSortOptions = TSet<TdxCustomListBoxSortOption>;

class TdxCustomListBoxItems : public TcxObjectList {
  SK_CLASS(TdxCustomListBoxItems, TcxObjectList)
 public:
  virtual void Create(TdxCustomListBox* AOwnerControl);

  TdxCustomListBoxItem* Items(int AIndex) const { return static_cast<TdxCustomListBoxItem*>(TcxObjectList::Items(AIndex)); }
  // A new item, at its sorted place in a sorted list, else at the end.
  TdxCustomListBoxItem* Add(const String& ACaption);
  void BeginUpdate() { ++FLockCount; }
  void CancelUpdate() { --FLockCount; }
  void EndUpdate();
  bool IsUpdateLocked() const { return FLockCount > 0; }
  // Runs the owner's layout unless locked.
  void Changed();
  TdxCustomListBox* OwnerControl() const { return FOwnerControl; }

  bool Sorted() const { return FSorted; }
  void SetSorted(bool AValue);
  TdxCustomListBoxSortOptions SortOptions() const { return FSortOptions; }
  void SetSortOptions(TdxCustomListBoxSortOptions AValue) { FSortOptions = AValue; }

 protected:
  virtual TClass ItemClass() { return TdxCustomListBoxItem::ClassInfo(); }
  void Notify(void* APtr, TListNotification AAction) override;

 private:
  void Sort();

  int FLockCount;
  TdxCustomListBox* FOwnerControl;
  bool FSorted;
  TdxCustomListBoxSortOptions FSortOptions;
};

class TdxListBoxIncrementalSearchController : public TdxIncrementalSearchController {
  SK_CLASS(TdxListBoxIncrementalSearchController, TdxIncrementalSearchController)
 public:
  virtual void Create(TdxCustomListBox* AListBox);

 protected:
  bool Search(const String& AText) override;

 private:
  TdxCustomListBox* FListBox;
};

class TdxCustomListBoxHintHelper : public TcxCustomHintHelper {
  SK_CLASS(TdxCustomListBoxHintHelper, TcxCustomHintHelper)
 public:
  virtual void Create(TdxCustomListBox* AListBox);
  bool IsPointInHintArea(const TPoint& P) override;

 protected:
  TControl* GetHintControl() override;
  TControl* GetOwnerControl() override;

 private:
  TdxCustomListBox* FListBox;
};

// The list (child 0) with one simple child per item (child n: item n - 1).
class TdxCustomListBoxAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxCustomListBoxAccessibilityHelper, TcxAccessibilityHelper)
 public:
  TdxCustomListBox* OwnerListBox() const { return reinterpret_cast<TdxCustomListBox*>(FOwnerObject); }

  bool ChildIsSimpleElement(int) override { return true; }
  int ChildCount() override;
  void DoDefaultAction(int AChildID) override;
  String GetDefaultActionDescription(int AChildID) override;
  String GetName(int AChildID) override;
  HWND OwnerObjectWindow() override;
  int GetRole(int AChildID) override { return AChildID == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int AChildID) override;
  TRect GetScreenBounds(int AChildID) override;
};

class TdxCustomListBox : public TcxControl {
  SK_CLASS(TdxCustomListBox, TcxControl)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Items
  TdxCustomListBoxItems* Items() const { return FItems.get(); }
  int Count() const { return FItems->Count(); }
  int Add(const String& ACaption, int AImageIndex = -1) { return AddItem(ACaption, nullptr, AImageIndex); }
  int AddItem(const String& ACaption, TObject* AObject, int AImageIndex = -1);
  void BeginUpdate() { FItems->BeginUpdate(); }
  void EndUpdate() { FItems->EndUpdate(); }
  void Clear();
  // Frees the item carrying AObject; its former index or -1.
  int Remove(TObject* AObject);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool AValue) { FItems->SetSorted(AValue); }

  // Selection and scrolling
  int ItemIndex() const { return FItemIndex; }
  // Past the end: the last item; any negative value: none (-1).
  void SetItemIndex(int AValue);
  TObject* ItemObject() const;
  void SetItemObject(TObject* AValue);
  int TopIndex() const;
  void SetTopIndex(int AValue);
  int HotIndex() const { return FHotIndex; }
  void MakeVisible(int AIndex);

  // Settings
  // Not owned; a freed image list is dropped.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  unsigned AutoCompleteDelay() const { return FIncrementalSearchController->AutoCompleteDelay(); }
  void SetAutoCompleteDelay(unsigned AValue) { FIncrementalSearchController->SetAutoCompleteDelay(AValue); }
  int Columns() const { return FColumns; }
  void SetColumns(int AValue);
  bool IncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool AValue) { FIncrementalSearch = AValue; }
  // Pixels; at least 1 (columns divide the client height by it).
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int AValue);
  bool LoopedNavigation() const { return FLoopedNavigation; }
  void SetLoopedNavigation(bool AValue) { FLoopedNavigation = AValue; }
  TdxListBoxIncrementalSearchController* IncrementalSearchController() const {
    return FIncrementalSearchController.get();
  }
  TdxCustomListBoxHintHelper* HintHelper() const { return FHintHelper.get(); }

  // Geometry
  // The item at P: -1 outside the items area; without an item there, the
  // current ItemIndex (AExistOnly) or Count.
  int ItemAtPos(const TPoint& P, bool AExistOnly);
  TRect ItemRect(int AIndex);
  int ColumnWidth() const { return FColumnWidth; }
  int ItemsPerColumn();
  int VisibleCount();
  int MaxTopIndex();
  TSize CalculateContentSize(int AMaxVisibleItemsCount);
  // The taller of an image with its margins and a line of text with its
  // margins.
  int CalculateItemHeight();
  // 0 without Images; else the image with its margins, at least ItemHeight.
  int ImageColumnWidth();
  void LayoutChanged();

  // Searching
  // The first item from ItemIndex on (wrapping) whose caption starts with AText.
  bool SearchItem(const String& AText);

 protected:
  // Last word on an item's font before its caption is drawn.
  virtual void CustomizeItemFont(TFont*, TdxCustomListBoxItem*, TcxButtonState) {}
  virtual bool CanSelectItem(int) { return true; }
  virtual bool IsItemTextClipped(int AIndex, TRect& AItemRect, TRect& ATextRect);
  virtual bool CanTrackHotItem();
  virtual void CheckItemIndex();
  virtual void CheckTopIndex();
  virtual void ProcessSearchChar(wchar_t& AKey);
  virtual void RecalculateLayout();
  // The first selectable index from AIndex on in the direction; -1 when
  // none can be chosen. Each index is visited at most once.
  virtual int FindSelectableIndex(int AIndex, bool AGoForward, bool ALooped);
  virtual void SelectSelectableIndex(int AIndex, bool AGoForward, bool ALooped);
  virtual bool HasItemSeparator(int AIndex);
  virtual int AdjustItemHeight(int AIndex, int AHeight);
  virtual void SelectItemAtPoint(const TPoint& P);
  virtual bool DrawsPartialItems() { return false; }
  virtual bool IsHotTrackEnabled() { return false; }
  virtual bool ProcessNavigationKey(WORD AKey, TShiftState AShift);
  virtual TcxButtonState GetItemState(int AIndex);
  virtual TColor GetItemBackgroundColor(TcxButtonState AState);
  virtual TColor GetItemTextColor(TcxButtonState AState);
  virtual UINT GetItemTextFlags();
  virtual TRect GetTextMargins() { return TRect(2, 2, 2, 2); }
  virtual void SplitItemBounds(int AIndex, const TRect& R, TRect& AContent, TRect& ASeparator);
  virtual TRect GetImageMargins();
  virtual TSize GetImageSize();
  virtual TRect GetImageAreaBounds();
  virtual TFontStyles GetItemFontStyle() { return Font()->Style(); }
  // Within an item's content rectangle: the caption's area right of the
  // image column, the image cell and the caption's own rectangle.
  virtual TRect GetItemTextAreaBounds(TdxCustomListBoxItem* AItem, const TRect& AContent);
  virtual TRect GetItemImageBounds(TdxCustomListBoxItem* AItem, const TRect& AContent);
  virtual TRect GetItemTextBounds(TdxCustomListBoxItem* AItem, const TRect& AContent);
  virtual void DrawBackground(TcxCanvas* ACanvas);
  virtual void DrawItems(TcxCanvas* ACanvas);
  virtual void DrawItem(TcxCanvas* ACanvas, const TRect& R, int AIndex, TcxButtonState AState);
  virtual void DrawItemBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawItemImage(TcxCanvas* ACanvas, const TRect& R, TdxCustomListBoxItem* AItem);
  virtual void DrawItemText(TcxCanvas* ACanvas, const TRect& R, TdxCustomListBoxItem* AItem, TcxButtonState AState);
  virtual void DrawItemSeparator(TcxCanvas* ACanvas, const TRect& R);
  // Captions of items without an image still start right of the image column.
  bool AlignImages() const { return FAlignImages; }
  void SetAlignImages(bool AValue);
  // Every layout pass fits ItemHeight to the font and the images.
  bool ItemAutoHeight() const { return FItemAutoHeight; }
  void SetItemAutoHeight(bool AValue);
  virtual bool ItemMatchesSearchText(TdxCustomListBoxItem* AItem, const String& AText);

  // TcxControl
  void CreateParams(TCreateParams& Params) override;
  void PaintControl() override;
  void EraseBackgroundCore(HDC) override {}
  bool PaintsOwnBackground() override { return false; }
  bool WantsPanFeedback(TScrollBarKind) override { return false; }
  bool AllowsOverlayScrollBars() override { return !ComponentState().Contains(csDesigning); }
  // A classic bar lies beside the items area, on the left when mirrored.
  TRect VertScrollBarBounds() override;
  int WheelScrollKind() override;
  void SetupScrollBars() override;
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APos) override;
  void HandleBoundsChange() override;
  void HandleFontChange() override;
  void ApplyScale(int M, int D, bool AIsDpiChange) override;
  void AfterScaleChange() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void NotifyMouseEnter(TControl* AControl) override;
  void NotifyMouseLeave(TControl* AControl) override;
  void WndProc(TMessage& Message) override;

 private:
  friend class TdxCustomListBoxItems;
  // Walks the item rectangles from TopIndex; AVisit(index, rect) answers
  // whether to go on.
  template <class F>
  void WalkItems(F&& AVisit);
  int ItemHeightOf(int AIndex);
  TRect ItemsAreaBounds() { return ClientBounds(); }
  bool MoveBy(int ADelta);
  void ScrollLine(bool AUp);
  void InvalidateItem(int AIndex);
  void UpdateHotItem();
  void UpdateHotItem(const TPoint& AClientPos);
  void SetHotIndex(int AValue);
  bool HasValidImage(TdxCustomListBoxItem* AItem);
  int SeparatorSize();
  void ImagesChanged(TObject* ASender);

  bool FAlignImages;
  TOwned<TChangeLink> FChangeLink;
  int FColumns;
  int FColumnWidth;
  TOwned<TdxCustomListBoxHintHelper> FHintHelper;
  int FHotIndex;
  TComPtr<IcxAccessibilityHelper> FAccessibilityHelper;
  TCustomImageList* FImages;
  bool FIncrementalSearch;
  TOwned<TdxListBoxIncrementalSearchController> FIncrementalSearchController;
  bool FItemAutoHeight;
  int FItemHeight;
  int FItemIndex;
  TOwned<TdxCustomListBoxItems> FItems;
  bool FLoopedNavigation;
  int FTopIndex;
};

// Unit start-up and shut-down: register and unregister the classes by name.
void cxListBoxInitialization();
void cxListBoxFinalization();
