// The text editor and the native edit window it hosts.
//
// Classes in this file:
//   TcxEditEchoMode                     plain or masked text
//   IcxInnerTextEdit                    how a text editor talks to its edit window
//   TcxCustomInnerTextEditHelper        serves the editing interfaces for the edit window
//   TcxCustomInnerTextEditPrevState     text and selection before a key
//   TcxCustomInnerTextEdit              the hosted native EDIT (cxTextEdit_InnerEdit.cpp)
//   TdxCustomInnerTextEditAccessibilityHelper  the edit window as an accessible text field
//   TcxEditEditingStyle, TcxTextEditViewStyle, TcxTextEditIncrementalFilteringOptions
//   TcxTextEditPropertiesValues         the assigned-value flags of formats and length
//   TcxCustomTextEditProperties         the settings of a text editor (cxTextEdit_Properties.cpp)
//   TcxTextEditProperties               the published settings
//   TcxFilterTextEditHelper             a text editor in a filter row
//   TcxCustomTextEdit                   the text editor (cxTextEdit.cpp)
//
// The editor never touches its edit window directly: keys, characters, mouse
// and focus of the window go to the editor first, which decides; the window
// keeps its text left-aligned while the user types and shows the editor's
// alignment while it is not focused, painting that itself.
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/core/locale/cxFormats.h"
#include "library/core/system/dxGestures.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/filter/cxFilterEditHelpers.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "platform/ui/StdCtrls.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

enum TcxEditEchoMode { eemNormal, eemPassword };

template <>
struct TEnumInfo<TcxEditEchoMode> {
  static constexpr const wchar_t* Name = L"TcxEditEchoMode";
  static constexpr const wchar_t* Names[] = {L"eemNormal", L"eemPassword"};
  static constexpr TcxEditEchoMode Last = eemPassword;
};

// The private message after which an edit painted on glass draws again.
inline constexpr UINT DXM_INNEREDITREPAINTONGLASS = 0x8081;

// What the mask character of a password depends on: the system's version
// and whether visual themes are active. Tests put their own in and the
// previous one back.
struct TcxInnerTextEditSystemProbe {
  std::function<bool()> IsWin7OrLater;
  std::function<bool()> AreThemesActive;
};
TcxInnerTextEditSystemProbe cxDefaultInnerTextEditSystemProbe();
// Answers the probe it replaces.
TcxInnerTextEditSystemProbe cxSetInnerTextEditSystemProbe(const TcxInnerTextEditSystemProbe& AProbe);

// ---------------------------------------------------------------------------
// IcxInnerTextEdit

struct IcxInnerTextEdit : public IcxCustomInnerEdit {
  static constexpr GUID IID = {0x263EBB8D, 0x1EA9, 0x4CAC, {0x83, 0x67, 0xAD, 0xD7, 0x4D, 0x2A, 0x96, 0x51}};
  virtual void ClearSelection() = 0;
  virtual void CopyToClipboard() = 0;
  virtual TAlignment GetAlignment() = 0;
  virtual bool GetAutoSelect() = 0;
  virtual TEditCharCase GetCharCase() = 0;
  virtual TcxEditEchoMode GetEchoMode() = 0;
  virtual int GetFirstVisibleCharIndex() = 0;
  virtual bool GetHideSelection() = 0;
  virtual wchar_t GetImeLastChar() = 0;
  virtual TImeMode GetImeMode() = 0;
  virtual String GetImeName() = 0;
  virtual bool GetInternalUpdating() = 0;
  virtual int GetMaxLength() = 0;
  virtual bool GetMultiLine() = 0;
  virtual bool GetOEMConvert() = 0;
  virtual TNotifyEvent GetOnSelChange() = 0;
  virtual wchar_t GetPasswordChar() = 0;
  virtual int GetSelLength() = 0;
  virtual int GetSelStart() = 0;
  virtual String GetSelText() = 0;
  virtual bool GetUseLeftAlignmentOnEditing() = 0;
  virtual void SelectAll() = 0;
  virtual void SetAlignment(TAlignment AValue) = 0;
  virtual void SetAutoSelect(bool AValue) = 0;
  virtual void SetCharCase(TEditCharCase AValue) = 0;
  virtual void SetEchoMode(TcxEditEchoMode AValue) = 0;
  virtual void SetHideSelection(bool AValue) = 0;
  virtual void SetInternalUpdating(bool AValue) = 0;
  virtual void SetImeMode(TImeMode AValue) = 0;
  virtual void SetImeName(const String& AValue) = 0;
  virtual void SetMaxLength(int AValue) = 0;
  virtual void SetOEMConvert(bool AValue) = 0;
  virtual void SetOnSelChange(TNotifyEvent AValue) = 0;
  virtual void SetPasswordChar(wchar_t AValue) = 0;
  virtual void SetSelLength(int AValue) = 0;
  virtual void SetSelStart(int AValue) = 0;
  virtual void SetSelText(const String& AValue) = 0;
  virtual void SetUseLeftAlignmentOnEditing(bool AValue) = 0;
  virtual String GetTextHint() = 0;
  virtual void SetTextHint(const String& AValue) = 0;

 protected:
  ~IcxInnerTextEdit() = default;
};

class TcxCustomInnerTextEdit;
class TcxCustomTextEdit;
class TcxCustomTextEditProperties;

// ---------------------------------------------------------------------------
// TcxCustomInnerTextEditHelper

// Owned by its edit window; not reference-counted. While an input method
// composes, the selection the editor reads and writes is the cache here.
class TcxCustomInnerTextEditHelper : public TcxInterfacedPersistent, public IcxInnerTextEdit {
  SK_CLASS(TcxCustomInnerTextEditHelper, TcxInterfacedPersistent)
 public:
  virtual void Create(TcxCustomInnerTextEdit* AEdit);
  bool GetInterface(const GUID& AIID, void** AObj) override;
  TcxCustomInnerTextEdit* Edit() const { return FEdit; }

  // IcxContainerInnerControl
  TWinControl* GetControl() override;
  TWinControl* GetControlContainer() override;
  // IcxCustomInnerEdit
  LRESULT CallDefWndProc(UINT AMsg, WPARAM AWParam, LPARAM ALParam) override;
  bool CanProcessClipboardMessages() override { return false; }
  Variant GetEditValue() override;
  IcxAccessibilityHelper* GetIAccessibilityHelper() override;
  TNotifyEvent GetOnChange() override;
  bool GetReadOnly() override;
  void LockBounds(bool ALock) override;
  void SafelySetFocus() override;
  void SetEditValue(const Variant& AValue) override;
  void SetParent(TWinControl* AValue) override;
  void SetOnChange(TNotifyEvent AValue) override;
  void SetReadOnly(bool AValue) override;
  // IcxInnerTextEdit
  void ClearSelection() override;
  void CopyToClipboard() override;
  TAlignment GetAlignment() override;
  bool GetAutoSelect() override;
  TEditCharCase GetCharCase() override;
  TcxEditEchoMode GetEchoMode() override;
  int GetFirstVisibleCharIndex() override;
  bool GetHideSelection() override;
  wchar_t GetImeLastChar() override;
  TImeMode GetImeMode() override;
  String GetImeName() override;
  bool GetInternalUpdating() override;
  int GetMaxLength() override;
  bool GetMultiLine() override { return false; }
  bool GetOEMConvert() override;
  TNotifyEvent GetOnSelChange() override;
  wchar_t GetPasswordChar() override;
  int GetSelLength() override;
  int GetSelStart() override;
  String GetSelText() override;
  bool GetUseLeftAlignmentOnEditing() override;
  void SelectAll() override;
  void SetAlignment(TAlignment AValue) override;
  void SetAutoSelect(bool AValue) override;
  void SetCharCase(TEditCharCase AValue) override;
  void SetEchoMode(TcxEditEchoMode AValue) override;
  void SetHideSelection(bool AValue) override;
  void SetInternalUpdating(bool AValue) override;
  void SetImeMode(TImeMode AValue) override;
  void SetImeName(const String& AValue) override;
  void SetMaxLength(int AValue) override;
  void SetOEMConvert(bool AValue) override;
  void SetOnSelChange(TNotifyEvent AValue) override;
  void SetPasswordChar(wchar_t AValue) override;
  void SetSelLength(int AValue) override;
  void SetSelStart(int AValue) override;
  void SetSelText(const String& AValue) override;
  void SetUseLeftAlignmentOnEditing(bool AValue) override;
  String GetTextHint() override;
  void SetTextHint(const String& AValue) override;

  bool GetIsInplace();

 private:
  friend class TcxCustomInnerTextEdit;
  // Start and length as the native window has them.
  std::pair<int, int> NativeSelection();

  TcxCustomInnerTextEdit* FEdit;
  int FSelLength;
  int FSelStart;
};

// ---------------------------------------------------------------------------
// TcxCustomInnerTextEditPrevState

// What a key may change; compared after the key to tell whether it did.
struct TcxCustomInnerTextEditPrevState {
  bool IsPrevTextSaved = false;
  String PrevText;
  int PrevSelLength = 0;
  int PrevSelStart = 0;
};

void SaveInnerTextEditState(IcxInnerTextEdit* AEdit, bool ASaveText, TcxCustomInnerTextEditPrevState& AState);
// True when the edit has no window, the selection moved or the text differs
// other than in letter case.
bool IsInnerTextEditStateChanged(IcxInnerTextEdit* AEdit, const TcxCustomInnerTextEditPrevState& AState);

// ---------------------------------------------------------------------------
// TcxCustomInnerTextEdit

class TcxCustomInnerTextEdit : public TNoRefCount<TCustomEdit>,
                               public IcxContainerInnerControl,
                               public IcxInnerEditHelper {
  SK_CLASS(TcxCustomInnerTextEdit, TCustomEdit)
 public:
  static void Publish(TPublisher<TcxCustomInnerTextEdit>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  // Nothing while the bounds are locked or the control is being made; else
  // the owner's alignment of its children waits for the move.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void DefaultHandler(TMessage& Message) override;
  bool CanFocus() override;

  // IcxContainerInnerControl
  TWinControl* GetControl() override { return this; }
  TWinControl* GetControlContainer() override;
  // IcxInnerEditHelper
  IcxCustomInnerEdit* GetHelper() override;

  // The owner editor; null when the edit stands alone.
  TcxCustomTextEdit* Container() const;
  TcxCustomInnerTextEditHelper* Helper() const { return FHelper.get(); }
  TcxEditEchoMode EchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode AValue);
  // The window's alignment: left while the user edits, unless told otherwise.
  TAlignment EditingAlignment();
  // The character the edit masks a password with when it paints itself.
  wchar_t PasswordDisplayChar();
  int ImeCharCount() const { return FImeCharCount; }
  int LockBoundsCount() const { return FLockBoundsCount; }
  bool RepaintOnGlassPending() const { return FRepaintOnGlass; }
  TNotifyEvent OnSelChange() const { return FOnSelChange; }
  void SetOnSelChange(TNotifyEvent AValue) { FOnSelChange = AValue; }

  // The owner's password reveal button is held down.
  bool IsPasswordRevealButtonPressed = false;

 protected:
  friend class TcxCustomInnerTextEditHelper;

  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateHandle() override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState, int, const TPoint&) override { return false; }
  void Click() override;
  void DblClick() override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;

  virtual TcxCustomInnerTextEditHelper* CreateHelper();
  virtual void UpdateMargins();
  virtual TClass GetAccessibilityHelperClass();
  virtual void MouseEnter(TControl*) {}
  virtual void MouseLeave(TControl* AControl);

 private:
  TPoint ToContainer(int X, int Y) const { return TPoint(X + Left(), Y + Top()); }
  bool PaintsAtRest();
  void PaintAtRest(HDC DC);
  void RecreateIfAllocated();
  void SetAlignmentValue(TAlignment AValue);
  void SetUseLeftAlignmentOnEditing(bool AValue);
  void SetEditValue(const Variant& AValue);

  // Message handlers
  void WMKeyDown(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMImeChar(TMessage& Message);
  void WMImeComposition(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMPrintClient(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMGetObject(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }
  void WMNCPaint(TMessage& Message) { Message.Result = 0; }
  void WMClear(TMessage& Message);
  void WMUndo(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetFont(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void EMReplaceSel(TMessage& Message);
  void EMSetSel(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  TAlignment FAlignment;
  TcxEditEchoMode FEchoMode;
  TOwned<TcxCustomInnerTextEditHelper> FHelper;
  TComPtr<IcxAccessibilityHelper> FIAccessibilityHelper;
  int FImeCharCount;
  wchar_t FImeLastChar;
  bool FInternalUpdating;
  bool FIsCreating;
  int FLockBoundsCount;
  wchar_t FPasswordChar;
  bool FRepaintOnGlass;
  bool FUseLeftAlignmentOnEditing;
  TNotifyEvent FOnSelChange;
};

// ---------------------------------------------------------------------------
// TdxCustomInnerTextEditAccessibilityHelper

class TdxCustomInnerTextEditAccessibilityHelper : public TdxEditChildAccessibilityHelper {
  SK_CLASS(TdxCustomInnerTextEditAccessibilityHelper, TdxEditChildAccessibilityHelper)
 public:
  TcxCustomInnerTextEdit* Edit() const { return static_cast<TcxCustomInnerTextEdit*>(OwnerObject()); }

  // The owner editor's node; the base answer without an owner.
  TcxAccessibilityHelper* Parent() override;

  HWND OwnerObjectWindow() override;
  int GetRole(int) override { return ROLE_SYSTEM_TEXT; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int) override { return aopFocus | aopLocation | aopValue; }
  String GetValue(int AChildID) override;
  void SetValue(int AChildID, const String& AValue) override;
  TRect GetScreenBounds(int AChildID) override;
};

// ---------------------------------------------------------------------------
// -- lookup data and list (cxTextEdit_LookupData.cpp, cxTextEdit_ListBox.cpp)
//
// An item index counts the whole LookupItems list: keys and every value
// handed to the editor are item indexes. A row counts the items the list
// shows: the filtered ones while incremental filtering is on, else all of
// them (a row is then its item index).

class TcxCustomEditListBox;
class TcxEditListBoxContainer;

enum TcxEditLookupDataGoDirection { egdBegin, egdEnd, egdNext, egdPrev, egdPageUp, egdPageDown };

struct IcxTextEditLookupData : public virtual IInterface {
  static constexpr GUID IID = {0xDFB43065, 0xD5C2, 0x4C85, {0xA0, 0x55, 0x09, 0x9B, 0xA4, 0x19, 0x98, 0x29}};
  virtual bool CanResizeVisualArea(TSize& NewSize, int AMaxHeight, int AMaxWidth) = 0;
  virtual void CloseUp() = 0;
  virtual void Deinitialize() = 0;
  virtual void DropDown() = 0;
  virtual void DroppedDown(const String& AFindStr) = 0;
  virtual bool Find(const String& AText) = 0;
  virtual TWinControl* GetActiveControl() = 0;
  virtual Variant GetCurrentKey() = 0;
  // The item's text; empty outside the items.
  virtual String GetDisplayText(const Variant& AKey) = 0;
  virtual TNotifyEvent GetOnCurrentKeyChanged() = 0;
  virtual TNotifyEvent GetOnSelectItem() = 0;
  virtual int GetSelectedItem() = 0;
  virtual TSize GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) = 0;
  virtual void Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) = 0;
  virtual void Initialize(TWinControl* AVisualControlsParent) = 0;
  virtual bool IsEmpty() = 0;
  // P in screen coordinates.
  virtual bool IsMouseOverList(const TPoint& P) = 0;
  virtual bool Locate(String& AText, String& ATail, bool ANext) = 0;
  virtual void PositionVisualArea(const TRect& AClientRect) = 0;
  virtual void PropertiesChanged() = 0;
  // The highlighted row becomes the editor's value.
  virtual void SelectItem() = 0;
  virtual void SetCurrentKey(const Variant& AKey) = 0;
  virtual void SetOnCurrentKeyChanged(TNotifyEvent AValue) = 0;
  virtual void SetOnSelectItem(TNotifyEvent AValue) = 0;
  virtual void SetSelectedItem(int AItem) = 0;
  virtual void TextChanged() = 0;

 protected:
  ~IcxTextEditLookupData() = default;
};

struct IcxTextEditLookupDataIncrementalFilter : public virtual IInterface {
  static constexpr GUID IID = {0xBFE1593E, 0x161A, 0x4FEA, {0xB2, 0x13, 0x4D, 0x19, 0xE6, 0x46, 0x2F, 0x07}};
  virtual void ResetIncrementalFilter() = 0;

 protected:
  ~IcxTextEditLookupDataIncrementalFilter() = default;
};

// Owned by its text editor. The list container it builds is owned by the
// parent given to the first Initialize, the list by the container.
class TcxCustomTextEditLookupData : public TcxInterfacedPersistent,
                                    public IcxTextEditLookupData,
                                    public IcxTextEditLookupDataIncrementalFilter {
  SK_CLASS(TcxCustomTextEditLookupData, TcxInterfacedPersistent)
 public:
  void Create(TPersistent* AOwner) override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCustomTextEdit* Edit() const;
  TcxCustomTextEditProperties* ActiveProperties() const;
  TWinControl* ActiveControl() { return GetActiveControl(); }
  Variant CurrentKey() { return GetCurrentKey(); }
  TNotifyEvent OnCurrentKeyChanged() const { return FOnCurrentKeyChanged; }
  TNotifyEvent OnSelectItem() const { return FOnSelectItem; }
  TcxCustomEditListBox* List() const { return FList; }
  TcxEditListBoxContainer* ListContainer() const { return FListContainer; }
  // Row of the highlighted item as an item index; -1 for none.
  int ItemIndex() const { return FItemIndex; }
  const String& SearchText() const { return FSearchText; }
  // Item indexes passing the filter, ascending.
  const std::vector<int>& FilteredLookupItems() const { return FFilteredLookupItems; }
  bool IsInitializing() const { return FIsInitializing; }

  // Rows and item indexes.
  int GetVisibleItemCount();
  int FilteredIndexToItemIndex(int ARow);
  int ItemIndexToFilteredIndex(int AItem);
  String GetVisibleItemText(int ARow);
  // The first item from AStart on that AText matches (a prefix, or with
  // AWholeItem the whole text; with the contains operator in an open list
  // anywhere); -1 when none.
  int FindItemFrom(const String& AText, int AStart, bool AWholeItem);

  // IcxTextEditLookupData
  bool CanResizeVisualArea(TSize& NewSize, int AMaxHeight, int AMaxWidth) override;
  void CloseUp() override;
  void Deinitialize() override {}
  void DropDown() override {}
  void DroppedDown(const String&) override {}
  bool Find(const String& AText) override;
  TWinControl* GetActiveControl() override;
  Variant GetCurrentKey() override { return Variant(FCurrentKey); }
  String GetDisplayText(const Variant& AKey) override;
  TNotifyEvent GetOnCurrentKeyChanged() override { return FOnCurrentKeyChanged; }
  TNotifyEvent GetOnSelectItem() override { return FOnSelectItem; }
  int GetSelectedItem() override;
  TSize GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) override;
  void Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) override;
  void Initialize(TWinControl* AVisualControlsParent) override;
  bool IsEmpty() override { return GetVisibleItemCount() == 0; }
  bool IsMouseOverList(const TPoint& P) override;
  bool Locate(String& AText, String& ATail, bool ANext) override;
  void PositionVisualArea(const TRect& AClientRect) override { PlaceList(AClientRect); }
  void PropertiesChanged() override { UpdateListItems(); }
  void SelectItem() override;
  void SetCurrentKey(const Variant& AKey) override;
  void SetOnCurrentKeyChanged(TNotifyEvent AValue) override { FOnCurrentKeyChanged = AValue; }
  void SetOnSelectItem(TNotifyEvent AValue) override { FOnSelectItem = AValue; }
  void SetSelectedItem(int AItem) override;
  void TextChanged() override;
  // IcxTextEditLookupDataIncrementalFilter
  void ResetIncrementalFilter() override;

  // The filter of the open list: items containing or starting with AText.
  virtual void ApplyFilter(const String& AText);

 protected:
  TPersistent* GetOwner() override { return FOwner; }

  virtual void BuildList(TWinControl* AVisualControlsParent);
  virtual void PlaceList(const TRect& AClientRect);
  virtual String GetItemText(int AIndex);
  virtual int GetItemCount();
  virtual TClass GetListBoxClass() { return nullptr; }
  virtual void HandleListSelectItem(TObject* Sender);
  virtual bool SearchItem(String& AText, String& ATail, bool ANext, bool AIsTextChange);
  virtual bool IsDroppedDown();
  virtual void UpdateListItems();
  virtual bool SearchesWholeItemsFirst() { return false; }
  virtual bool IsFilteringActive();

  void InternalSetCurrentKey(int AValue);
  void SetListItemIndex(int AItem);
  // The list's strings become the ACount visible items' texts.
  void SyncItemCount(int ACount);

  String FSearchText;
  int FCurrentKey = -1;
  std::vector<int> FFilteredLookupItems;
  bool FIsInitializing = false;
  int FItemIndex = -1;
  TcxCustomEditListBox* FList = nullptr;
  TcxEditListBoxContainer* FListContainer = nullptr;
  TPersistent* FOwner = nullptr;
  TNotifyEvent FOnCurrentKeyChanged;
  TNotifyEvent FOnSelectItem;

 private:
  // Not searching in a contains-filtered open list: the miss rule of the
  // editing style.
  void ApplyMissRule(const String& AText, bool AIsTextChange);
  bool IsContainsMode();
};

// The drop-down list: rows drawn by the list itself, hot tracking, wheel
// and pan gestures, and its MSAA node.
class TcxCustomEditListBox : public TNoRefCount<TcxCustomInnerListBox>,
                             public IdxGestureClient,
                             public IdxGestureClient2,
                             public IdxGestureOwner {
  SK_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // False while the owner filters incrementally: the editor keeps the keys.
  bool CanFocus() override;
  bool IsVisible();
  int ScrollWidth() const { return FScrollWidth; }
  // Applied again even when equal to the current width.
  void SetScrollWidth(int AValue);

  // The editor whose popup shows the list; null outside one.
  TcxCustomTextEdit* Edit();
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool AValue) { FHotTrack = AValue; }
  TNotifyEvent OnSelectItem() const { return FOnSelectItem; }
  void SetOnSelectItem(TNotifyEvent AValue) { FOnSelectItem = AValue; }

  virtual void DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState AState);
  virtual std::uint32_t GetItemDrawTextFlags();
  virtual bool HighlightsSearchText();
  virtual bool UsesItemPadding();
  virtual bool DrawItemByHandler(int, const TRect&, TOwnerDrawState) { return false; }
  virtual String GetItemTextAt(int AIndex);
  virtual void UpdateItemLayout() {}
  virtual TClass GetAccessibilityHelperClass();
  // Rows of the standard height; AMaxHeight is not applied.
  virtual int GetHeight(int ARowCount, int AMaxHeight);
  virtual int GetItemHeight(int AIndex);
  virtual int GetItemWidth(int AIndex);

  // IdxGestureClient
  void BeginGestureScroll(const TPoint& APoint) override;
  void GestureScroll(int ADeltaX, int ADeltaY) override;
  void EndGestureScroll() override;
  bool IsGestureEnabled(DWORD AGestureId) override;
  bool AllowsPan(TScrollBarKind AScrollKind) override;
  bool IsPanArea(const TPoint& APoint) override;
  bool WantsPanFeedback(TScrollBarKind AScrollKind) override;
  bool IsPanning() override;
  // IdxGestureClient2
  bool IsPanMirrored() override;
  // IdxGestureOwner
  HWND GestureWindowHandle() override { return Handle(); }
  IPtr<IInterface> GetGestureClient(const TPoint& APoint) override;
  bool IsGestureTarget(HWND AWindow) override;
  TPoint GestureScreenToClient(const TPoint& APoint) override { return ScreenToClient(APoint); }

 protected:
  void WndProc(TMessage& Message) override;
  void DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;
  void MeasureItem(int AIndex, int& AHeight) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void Click() override;

  // After the list's selected row changed by any path.
  virtual void ItemIndexChanged();
  // Whether item padding applies to the rows.
  bool ItemPaddingApplies();

 private:
  // The row text drawn with the owner's search text marked.
  void DrawItemTextWithSearchHighlight(const String& AText, TRect& ARect);
  TcxEditListBoxContainer* ListContainer();
  TcxCustomTextEditLookupData* LookupData();
  TdxScaleFactor* EditScaleFactor();
  bool IsScrollBarUsable(TScrollBarKind AKind);

  TPoint FGestureAccumulatedDelta;
  TOwned<TdxGestureHelper> FGestureHelper;
  bool FHotTrack = true;
  TComPtr<IcxAccessibilityHelper> FIAccessibilityHelper;
  TPoint FPrevMousePos{-1, -1};
  int FScrollWidth = 0;
  TNotifyEvent FOnSelectItem;
};

// The styled frame of the drop-down list; it reports itself active while
// the editor keeps the focus.
class TcxEditListBoxContainer : public TcxCustomEditContainer {
  SK_CLASS(TcxEditListBoxContainer, TcxCustomEditContainer)
 public:
  void Create(TComponent* AOwner) override;
  bool CanFocus() override;
  TcxCustomEditListBox* ListBox() const { return static_cast<TcxCustomEditListBox*>(InnerControl()); }
  // The lookup shows the overlay bars while it moves the list and hides them on closing.
  using TcxCustomEditContainer::HideScrollBars;
  using TcxCustomEditContainer::RevealScrollBars;

 protected:
  bool AllowsOverlayScrollBars() override { return !ComponentState().Contains(csDesigning); }
  void GetBorderExtents(TRect& R) override { R = TRect(); }
  TcxContainerState ComputeContainerState(const TPoint&, bool) override { return TcxContainerState{csActive}; }
  bool CanWheelScroll(TShiftState, int, const TPoint&) override { return false; }
  bool WantsScrollBars() override { return true; }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override;
  void WndProc(TMessage& Message) override;

 private:
  bool FSettingScrollBars = false;
};

// The list's accessibility node.
class TdxCustomEditListBoxAccessibilityHelper : public TdxCustomInnerListBoxAccessibilityHelper {
  SK_CLASS(TdxCustomEditListBoxAccessibilityHelper, TdxCustomInnerListBoxAccessibilityHelper)
};

// -- end lookup data and list

// ---------------------------------------------------------------------------
// TcxCustomTextEditProperties
// -- text editor properties

// How a text editor takes typed text: freely, only an item or an item's
// prefix, only items, or not at all.
enum TcxEditEditingStyle { esEdit, esEditList, esFixedList, esNoEdit };
template <>
struct TEnumInfo<TcxEditEditingStyle> {
  static constexpr const wchar_t* Name = L"TcxEditEditingStyle";
  static constexpr const wchar_t* Names[] = {L"esEdit", L"esEditList", L"esFixedList", L"esNoEdit"};
  static constexpr TcxEditEditingStyle Last = esNoEdit;
};

enum TcxTextEditViewStyle { vsNormal, vsHideCursor, vsButtonsOnly, vsButtonsAutoWidth };
template <>
struct TEnumInfo<TcxTextEditViewStyle> {
  static constexpr const wchar_t* Name = L"TcxTextEditViewStyle";
  static constexpr const wchar_t* Names[] = {L"vsNormal", L"vsHideCursor", L"vsButtonsOnly", L"vsButtonsAutoWidth"};
  static constexpr TcxTextEditViewStyle Last = vsButtonsAutoWidth;
};

enum TcxTextEditIncrementalFilteringOption { ifoHighlightSearchText, ifoUseContainsOperator };
template <>
struct TEnumInfo<TcxTextEditIncrementalFilteringOption> {
  static constexpr const wchar_t* Name = L"TcxTextEditIncrementalFilteringOption";
  static constexpr const wchar_t* Names[] = {L"ifoHighlightSearchText", L"ifoUseContainsOperator"};
  static constexpr TcxTextEditIncrementalFilteringOption Last = ifoUseContainsOperator;
};
using TcxTextEditIncrementalFilteringOptions = TSet<TcxTextEditIncrementalFilteringOption>;

// One bit per 8-bit character code.
using TcxTextEditChars = TSet<unsigned char>;

using TcxNewLookupDisplayTextEvent = Delegate<void(TObject*, const String&)>;

// The probe the password mask character follows.
const TcxInnerTextEditSystemProbe& cxInnerTextEditSystemProbe();

// The spin editor's number parsing: the decimal separator alone, or after a
// minus sign, is 0.
bool TryTextToExtended(const String& AText, double& AValue);
// Thousand separators dropped; a non-zero magnitude outside the normal
// doubles gives 0 and False (an empty text gives 0 and True).
bool TryTextToDouble(const String& AText, double& AValue);

class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
  SK_CLASS(TcxTextEditPropertiesValues, TcxCustomEditPropertiesValues)
 public:
  static void Publish(TPublisher<TcxTextEditPropertiesValues>& P);

  void Assign(TPersistent* ASource) override;
  void RestoreDefaults() override;

  bool DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(bool AValue);
  bool EditFormat() const { return FEditFormat; }
  void SetEditFormat(bool AValue);
  bool MaxLength() const { return FMaxLength; }
  void SetMaxLength(bool AValue);

  // Stored tests of the published flags.
  bool IsDisplayFormatStored() const;
  bool IsEditFormatStored() const;
  bool IsMaxValueStored() const;
  bool IsMinValueStored() const;

 private:
  TcxCustomTextEditProperties* TextOwner() const;
  // A flag is written only when set and the owner's text or value leaves
  // nothing else to write, and only for the owner's published properties.
  bool IsFlagStored(bool AFlag, const wchar_t* AName, bool AOwnerValueEmpty) const;

  bool FDisplayFormat = false;
  bool FEditFormat = false;
  bool FMaxLength = false;
};

class TcxCustomTextEditProperties : public TcxCustomEditProperties, public IcxFormatControllerListener {
  SK_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Properties
  TcxTextEditPropertiesValues* AssignedValues() const {
    return static_cast<TcxTextEditPropertiesValues*>(inherited::AssignedValues());
  }
  void SetAssignedValues(TcxTextEditPropertiesValues* AValue) { inherited::SetAssignedValues(AValue); }
  void SetAlignment(TcxEditAlignment* AValue) override;
  TEditCharCase CharCase() const { return FCharCase; }
  virtual void SetCharCase(TEditCharCase AValue);
  // The assigned format, else the provider's, else GetDefaultDisplayFormat.
  String DisplayFormat();
  void SetDisplayFormat(const String& AValue);
  bool IsDisplayFormatStored() const;
  TcxEditEchoMode EchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode AValue);
  String EditFormat();
  void SetEditFormat(const String& AValue);
  bool IsEditFormatStored() const;
  // Only CopyFrom changes it.
  bool FixedListSelection() const { return FFixedListSelection; }
  bool FormatChanging() const { return FFormatChanging; }
  bool HideCursor() const { return FHideCursor; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool AValue);
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode AValue);
  String ImeName() const { return FImeName; }
  void SetImeName(const String& AValue);
  bool ImmediateUpdateText() const { return FImmediateUpdateText; }
  void SetImmediateUpdateText(bool AValue) { FImmediateUpdateText = AValue; }
  bool IncrementalFiltering() const { return FIncrementalFiltering; }
  void SetIncrementalFiltering(bool AValue) { FIncrementalFiltering = AValue; }
  TcxTextEditIncrementalFilteringOptions IncrementalFilteringOptions() const { return FIncrementalFilteringOptions; }
  virtual void SetIncrementalFilteringOptions(TcxTextEditIncrementalFilteringOptions AValue);
  bool IsIncrementalFilteringOptionsStored() const;
  bool IncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool AValue);
  bool IsPasswordRevealButtonPressed() const { return FIsPasswordRevealButtonPressed; }
  // Owned; a change of the list is a change of the properties.
  TStrings* LookupItems() const;
  void SetLookupItems(TStrings* AValue);
  bool LookupItemsSorted() const;
  void SetLookupItemsSorted(bool AValue);
  // The assigned length, else GetDefaultMaxLength.
  int MaxLength();
  void SetMaxLength(int AValue);
  bool IsMaxLengthStored() const;
  String Nullstring() const { return FNullstring; }
  void SetNullstring(const String& AValue);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool AValue);
  // #0: the look-and-feel's mask character.
  wchar_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t AValue);
  int PasswordRevealButtonIndex() const { return FPasswordRevealButtonIndex; }
  bool ShowPasswordRevealButton() const { return FShowPasswordRevealButton; }
  void SetShowPasswordRevealButton(bool AValue);
  bool UseDisplayFormatWhenEditing() const { return FUseDisplayFormatWhenEditing; }
  void SetUseDisplayFormatWhenEditing(bool AValue);
  bool UseNullString() const { return FUseNullString; }
  void SetUseNullString(bool AValue);
  const TcxTextEditChars& ValidChars() const { return FValidChars; }
  void SetValidChars(const TcxTextEditChars& AValue) { FValidChars = AValue; }
  TcxTextEditViewStyle ViewStyle() const;
  void SetViewStyle(TcxTextEditViewStyle AValue);

  // Events
  TcxNewLookupDisplayTextEvent OnNewLookupDisplayText() const { return FOnNewLookupDisplayText; }
  void SetOnNewLookupDisplayText(TcxNewLookupDisplayTextEvent AValue) { FOnNewLookupDisplayText = AValue; }

  // Operations
  // The reveal button held down shows the text, released masks it again.
  void SetPasswordRevealButtonPressed(bool APressed);
  // Shows the reveal button over a text (always while pressed, else in
  // password mode); answers whether its visibility changed.
  bool UpdatePasswordRevealButton(bool AHasText);
  bool IsIncrementalSearchActive();
  bool IsNullStringCase(const Variant& AValue);
  // The text as the view draws it: masked in password mode, then in its letter case.
  void MaskDisplayText(bool ANativeStyle, String& AText);
  bool UsesLookupData();
  bool IsIncrementalFilteringActive();
  bool HasValueBounds();
  // AKind 0 the minimum, 1 the maximum.
  bool IsValueBoundDefined(int AKind);

  // IcxFormatControllerListener
  void FormatChanged() override { FormatSettingsChanged(); }

  // Overridables
  virtual void FormatSettingsChanged();
  virtual void CheckValueBounds(const Variant& AValue, String& AErrorText, TcxCustomEdit* AEdit, bool& AError);
  virtual void ValidateValueBounds(const Variant& ADisplayValue, String& AErrorText, TcxCustomEdit* AEdit,
                                   bool& AError);
  virtual void GetEmptyDisplayValue(Variant& AValue) { AValue = Variant(String()); }
  virtual void FormatDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused);
  // A lookup item equal to AText in any letter case.
  virtual bool FindLookupItem(const String& AText);
  virtual String GetDefaultDisplayFormat() { return String(); }
  virtual TcxTextEditIncrementalFilteringOptions GetDefaultIncrementalFilteringOptions() {
    return {ifoHighlightSearchText, ifoUseContainsOperator};
  }
  virtual int GetDefaultMaxLength();
  virtual int GetDropDownRowCount() { return 8; }
  virtual TcxEditEditingStyle GetEditingStyle() { return FHideCursor ? esNoEdit : esEdit; }
  virtual TClass GetLookupDataClassType();
  virtual void GetEditFormatInfo(bool& AIsCurrency, String& AFormat);
  virtual void MaxLengthChanged() { Changed(); }
  virtual bool IsNullValue(const Variant& AValue) { return VarIsNull(AValue); }
  virtual bool IsValueNumeric() { return false; }
  virtual bool ShowsLookupListInPopup() { return false; }
  virtual void DisplayValueToDisplayText(String& AText);
  virtual bool IsDisplayValueValid(Variant& ADisplayValue, bool AEditFocused);
  virtual void EditValueToDisplayValue(const Variant& AEditValue, bool AEditFocused, Variant& ADisplayValue);

  // TcxCustomEditProperties
  void AlignmentChanged(TObject* Sender) override;
  bool ValidatesDisplayValue() override { return true; }
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetPropertiesValuesClass() override { return TcxTextEditPropertiesValues::ClassInfo(); }
  TcxEditVertAlignment DefaultVertAlignment() override { return taVCenter; }
  TcxEditDisplayFormatOptions QueryDisplayFormatOptions() override { return {dfoSupports}; }
  String DefaultValidationErrorText(int AErrorKind) override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  bool HasOwnChangeNotification() override { return true; }
  bool CanCompareEditValue() override { return true; }
  TClass GetContainerClass() override;
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  bool IsResetEditClass() override { return GetEditingStyle() != esNoEdit; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;
  void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError, TcxCustomEdit* AEdit) override;
  TcxEditValueSource GetEditValueSource(bool AEditFocused) override;

 protected:
  void DefineProperties(TFiler* AFiler) override;


 private:
  void LookupItemsChanged(TObject*) { Changed(); }
  void ReadIsDisplayFormatAssigned(TReader* AReader);
  template <class T>
  void SetTextField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }

  TEditCharCase FCharCase = ecNormal;
  String FDisplayFormat;
  TcxEditEchoMode FEchoMode = eemNormal;
  String FEditFormat;
  bool FFixedListSelection = true;
  bool FFormatChanging = false;
  bool FHideCursor = false;
  bool FHideSelection = true;
  TImeMode FImeMode = imDontCare;
  String FImeName;
  bool FImmediateUpdateText = false;
  bool FIncrementalFiltering = false;
  TcxTextEditIncrementalFilteringOptions FIncrementalFilteringOptions;
  bool FIncrementalSearch = true;
  bool FIsPasswordRevealButtonPressed = false;
  TOwned<TStringList> FLookupItems;
  int FMaxLength = 0;
  String FNullstring;
  bool FOEMConvert = false;
  wchar_t FPasswordChar = 0;
  int FPasswordRevealButtonIndex = -1;
  bool FShowPasswordRevealButton = false;
  bool FUseDisplayFormatWhenEditing = false;
  bool FUseNullString = false;
  TcxTextEditChars FValidChars;
  TcxNewLookupDisplayTextEvent FOnNewLookupDisplayText;
};

// The published settings of the single-line text editor.
class TcxTextEditProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TcxTextEditProperties, TcxCustomTextEditProperties)
 public:
  static void Publish(TPublisher<TcxTextEditProperties>& P);
};

// How a filter row edits a text value.
class TcxFilterTextEditHelper : public TcxCustomFilterEditHelper {
  SK_CLASS(TcxFilterTextEditHelper, TcxCustomFilterEditHelper)
 public:
  struct TMeta : TcxCustomFilterEditHelper::TMeta {
    TClass GetFilterEditClass() const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
    void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties,
                        const Variant& AValue) const override;
  };
};

void cxTextEditInitialization();
void cxTextEditFinalization();
// -- end of text editor properties

// ---------------------------------------------------------------------------
// -- text layout and painting (cxTextEdit_ViewData.cpp, cxTextEdit_ViewInfo.cpp)

// Text flags of text editors are the text engine's (cxto* of cxDrawTextUtils.h).

// Draws the text area of an owner-drawn text editor instead of its text.
using TcxTextEditCustomDrawHandler = Delegate<void(TcxCanvas* ACanvas, const TRect& ARect)>;

// The text in the case asked for, by the user's locale.
void ApplyCharCase(String& AText, TEditCharCase ACharCase);

// The text flags of an editor's alignment: one line, never left of or above
// the text rectangle.
std::uint32_t cxTextEditAlignmentTextFlags(TAlignment AHorzAlignment, TcxEditVertAlignment AVertAlignment,
                                           bool AUseRightToLeftAlignment, bool AUseRightToLeftReading);

// The size AText needs in AViewData's editor under AFlags: a fixed width
// (AEditSizeProperties.Width >= 0) gives the height of the wrapped text, an
// automatic one the text's extent. ALineCount > 0 asks for that many lines.
// The content size correction is added to the height of a non-empty result,
// and to the width of an automatic one with AAddWidthCorrection.
TSize CalculateTextEditSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const String& AText,
                            std::uint32_t AFlags, const TcxEditSizeProperties& AEditSizeProperties,
                            int ALineCount = 0, bool AAddWidthCorrection = true);

// The rows of a text editor's text as last laid out; prepared on the first
// draw after a calculation and reused until the next one. The rows point
// into TextRows.Text, a copy of the text they were made from.
struct TcxTextOutData {
  bool ForceEndEllipsis = false;
  bool Initialized = false;
  int RowCount = 0;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelBackgroundColor = clDefault;
  TColor SelTextColor = clDefault;
  TcxTextParams TextParams;
  TRect TextRect;
  TcxTextRows TextRows;
};

class TcxCustomTextEditViewInfo;

// Where a text editor's text goes, with which text flags, and how large the
// text is.
class TcxCustomTextEditViewData : public TcxCustomEditViewData {
  SK_CLASS(TcxCustomTextEditViewData, TcxCustomEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TRect GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) override;

  // The moves of the text inside the content offsets of list styles.
  virtual void AdjustListStyleTextOffsets(TRect& AOffsets);
  virtual bool IsEditorEditClass();
  virtual int GetMaxLineCount() { return MaxLineCount; }
  virtual bool IsComboStyle() { return false; }
  virtual void CalculateDrawTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
  virtual void DisplayValueToDrawValue(const Variant& ADisplayValue, TcxCustomTextEditViewInfo* AViewInfo);
  virtual std::uint32_t GetDrawTextFlags();
  virtual TRect GetDrawTextOffset();

  // The view data's selection and its colours into the view info.
  void PrepareSelection(TcxCustomTextEditViewInfo* AViewInfo);
  // The selection a fixed list or a no-edit editor shows: the text the
  // incremental search completed.
  void PrepareFixedListSelection(TcxCustomTextEditViewInfo* AViewInfo);
  // The editing style of the properties; esEdit for other kinds.
  TcxEditEditingStyle GetEditingStyle();
  bool IsValueFormatted() const { return FIsValueFormatted; }

 protected:
  void CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) override;
  void InitializeFromProperties() override;
  void ValueToDisplayText(const Variant& AEditValue, String& AText) override;
  void GetValueContentSize(TcxCanvas* ACanvas, const Variant& AEditValue, TSize& ASize,
                           const TcxEditSizeProperties& AEditSizeProperties) override;

  // TextRect from the client rectangle and the draw-text offsets.
  void CalculateTextRect(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
  // The flags of text that grows the editor's height.
  void CalculateAutoHeightTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);

 private:
  bool FIsValueFormatted = false;
};

// The paint record of a text editor: the text where the native edit window
// does not show it, the selection bar of fixed lists, the password reveal
// glyph, hints over clipped text and the text's base line.
class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
  SK_CLASS(TcxCustomTextEditViewInfo, TcxCustomEditViewInfo)
 public:
  void Destroy() override;
  void Offset(int DX, int DY) override;
  TcxEditBackgroundPaintingStyle BackgroundPaintingStyle() const override;
  bool NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds, String& AText,
                    bool& AIsMultiLine, TRect& ATextRect, int AMaxLineCount = 0) override;
  void PrepareCanvasFont(TcxCanvas* ACanvas) override;

  // The text in TextRect, with the selection in its colours.
  virtual void DrawText(TcxCanvas* ACanvas);
  // The base line of the text's first row in the editor's coordinates.
  virtual int GetTextBaseLine();
  // The themed password font draws the mask characters.
  bool UsesPasswordFont();

  bool ComboBoxStyle = false;
  TcxTextEditCustomDrawHandler CustomDrawHandler;
  bool DrawSelectionBar = false;
  std::uint32_t DrawTextFlags = 0;
  TcxEditEditingStyle EditingStyle = esEdit;
  bool HasPopupWindow = false;
  bool IsEditClass = false;
  bool IsOwnerDrawing = false;
  int MaxLineCount = 0;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;
  String Text;
  TcxTextOutData TextOutData;
  TRect TextRect;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
  void DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                         const TRect& AContentRect) override;
  void DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                        const TRect& AContentRect) override;
  void FillButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TColor ABrushColor,
                            const TRect& ARect) override;

  // Lays Text out into TextOutData for ARect.
  void PrepareTextOutData(TcxCanvas* ACanvas, const TRect& ARect);
  // Draws the password reveal glyph when AViewInfo is that button; true when it did.
  bool DrawPasswordRevealButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo);
};

// ---------------------------------------------------------------------------
// TcxCustomTextEdit

// A set of byte values: the member is the byte itself.
template <>
inline std::size_t TSet<unsigned char>::Index(unsigned char AValue) {
  return AValue;
}

// The private message through which the spell checker replaces a word: its
// parameter points at the replacement.
inline constexpr UINT DXM_SPELLCHECKERREPLACE = 0x812C;
// Posted to the edit window to draw the misspellings after it painted itself.
inline constexpr UINT DXM_DRAWMISSPELLINGS = 0x812D;

struct TdxSpellCheckerReplacement {
  String Text;
  int SelStart;
  int SelLength;
  int CaretPos;
};

// The editor's own texts: the edit window's text (the display text), the
// display value the data binding hands to it, and the edit value, which the
// text editor takes from the display text unchanged.
class TcxCustomTextEdit : public TcxCustomEdit, public IcxFormatControllerListener {
  SK_CLASS(TcxCustomTextEdit, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TcxCustomTextEdit>& P);

  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCustomTextEditProperties* ActiveProperties() {
    return static_cast<TcxCustomTextEditProperties*>(inherited::ActiveProperties());
  }
  TcxCustomTextEditProperties* Properties() const {
    return static_cast<TcxCustomTextEditProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomTextEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomTextEditProperties::ClassInfo(); }
  // The edit window's own interface; null before it exists.
  IcxInnerTextEdit* InnerTextEdit() const;
  // The lookup over the lookup items; null for kinds without one.
  IcxTextEditLookupData* ILookupData() const;
  TcxCustomTextEditLookupData* LookupData() const { return FLookupData.get(); }

  // Whether Enter and line feed reach the edit window.
  bool BeepOnEnter() const { return FBeepOnEnter; }
  void SetBeepOnEnter(bool AValue) { FBeepOnEnter = AValue; }
  // The selected tail is what incremental search completed.
  bool FindSelection() const { return FFindSelection; }
  void SetFindSelection(bool AValue);
  int CursorPos();
  String EditingText() { return Text(); }
  void SetEditingText(const String& AValue);
  int SelStart();
  void SetSelStart(int AValue);
  int SelLength();
  void SetSelLength(int AValue);
  String SelText();
  void SetSelText(const String& AValue);
  void SetSelection(int ASelStart, int ASelLength);
  String TextHint();
  void SetTextHint(const String& AValue);
  // The current lookup item, -1 for none.
  int ItemIndex();
  void SetItemIndex(int AValue);
  TObject* ItemObject();
  void SetItemObject(TObject* AValue);
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode AValue) { FImeMode = AValue; }
  String ImeName() const { return FImeName; }
  void SetImeName(const String& AValue) { FImeName = AValue; }

  void SelectAll() override;
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  // Deletes the selected text when the properties accept what is left.
  virtual void ClearSelection();
  void Undo() { Reset(); }
  // The edit window undid its last change.
  virtual void UndoPerformed() {}
  // Whether the edit window keeps Tab for itself.
  virtual bool WantsTabKey() { return IsInplace(); }
  virtual bool HasPopupWindow() { return false; }
  // Whether a lookup object over the lookup items serves the editor.
  bool UsesLookupData();
  // Every message of the edit window, after its own handling.
  virtual void ProcessInnerEditMessage(TMessage& Message);
  void FocusAndSelect() override;
  bool HasTextBaseLine() { return true; }
  int GetTextBaseLine();
  // A window of the registered spell checker (its dialog) counts as the editor's too.
  bool IsChildWindow(HWND AWnd) override;

  // IcxFormatControllerListener
  void FormatChanged() override { FormatSettingsChanged(); }

 protected:
  friend class TcxCustomInnerTextEdit;
  friend class TcxCustomTextEditLookupData;

  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void DoExit() override;
  bool CanWheelScroll(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  bool ScrollByWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override;
  void GetChildRegionInfo(const TRect& R, TControl* AControl, TcxContainerInnerControlBounds& AInfo) override;
  void PlaceInnerEdit() override;
  void SetScrollBarsParameters(bool AIsScrolling) override;
  void ApplyStyleChanges(TObject* Sender) override;
  void PressButton(int AIndex) override;
  void ReleaseButton(int AIndex) override;
  void HandleContentChanged() override;
  void EditValueChanged() override;
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  void ProcessKeyPress(wchar_t& Key) override;
  void KeyPress(wchar_t& Key) override;
  void FocusChanged() override;
  void GetDisplayString(String& AText) override;
  TClass GetInnerControlClass() override;
  void GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties) override;
  void ResetEditValue() override;
  void InitializeEdit() override;
  void PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) override;
  bool CanModify() override;
  void GetValueWhileEditing(Variant& AValue) override { AValue = Variant(Text()); }
  void SetDisplayText(const String& AText) override;
  bool IsEditingKey(WORD Key, TShiftState Shift) override;
  bool IsEditingChar(wchar_t Key) override;
  bool IsValidInputChar(wchar_t Key) override;
  bool IsPlainInsertOrDelete(WORD, TShiftState) override { return false; }
  void CheckDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError) override;
  void SetTextPreservingModified(const String& AText) override;
  void PropertiesChanged(TObject* Sender) override;
  void ApplyDisplayValue(const Variant& AValue) override;
  void SyncDisplayValue() override;
  void UpdateDrawValue() override;
  // Navigation keys stay in the editor; the edit window raises OnAfterKeyDown
  // itself for a key that changed nothing.
  bool HandlesNavigationKeys() override { return true; }
  void InnerEditWindowProc(TMessage& Message) override;
  void UnhookInnerEditWindowProc() override;
  TClass GetAccessibilityHelperClass() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override {
    (void)AEditFocused;
    AEditValue = ADisplayValue;
  }
  bool IsEditClass() override;

  // Overridables of the text editor
  // One incremental-search step: AText becomes the located text.
  virtual bool LocateLookupText(String& AText);
  virtual bool IsLookupNavigationKey(WORD Key, TShiftState Shift);
  virtual bool CanSpellCheck();
  virtual void FormatSettingsChanged();
  virtual bool CanPostAfterSpellCheck();
  virtual void DrawMisspellings(HDC ADC);
  virtual void InnerEditLayoutChanged();
  virtual void InnerEditSelectionChanged();
  virtual void TakeDisplayTextAsEditValue();
  virtual void InnerEditTextChanged();
  virtual bool CanNavigateLookupItems(bool AByWheel) { (void)AByWheel; return false; }
  virtual void FireNewLookupDisplayText(const String& AText);
  virtual Variant ItemIndexToLookupKey(int AIndex) { return Variant(AIndex); }
  virtual Variant LookupItemToEditValue(const Variant& AKey);
  virtual int LookupKeyToItemIndex(const Variant& AKey);
  virtual void UpdateInnerEditAppearance();
  virtual bool PrepareSelTextReplacement(const String& AText, String& ANewText, int& ANewSelStart);
  virtual bool CanSelectLookupItemOnEnter(bool AFindSelection) { return AFindSelection; }
  virtual void CheckEditorValueBounds();
  virtual void ApplyEditorValueBounds() {}
  virtual int GetInnerEditFontHeight();
  virtual void ApplyLookupSelection(TObject* Sender);
  virtual String GetWindowTextValue() { return DisplayText(); }
  virtual bool SetWindowTextValue(const String& AText) { return TrySetDisplayText(AText); }
  virtual bool NeedsListTextCheck();
  virtual void ResetFindSelection();
  virtual void InnerEditSelChange(TObject* Sender) { (void)Sender; }
  virtual void RefreshDisplayTextOnPropertiesChange();
  virtual bool TrySetDisplayText(const String& AText);
  virtual void SyncEditValueFromDisplay();
  virtual bool CanScrollLookupByWheel(TShiftState Shift);
  virtual void ReplaceMisspelling(const String& AText, bool APost);

  // The display text: the edit window's text.
  String DisplayText();
  // Moves through the lookup items as a key or the wheel asks; true when the
  // current item changed.
  bool NavigateLookupItems(TcxEditLookupDataGoDirection ADirection);

  bool FBeepOnEnter = true;
  bool FDisableRefresh = false;
  bool FFindSelection = false;
  bool FInternalTextSetting = false;
  bool FIsDisplayValueSynchronizing = false;
  int FLastFirstVisibleCharIndex = 0;
  int FLastSelLength = 0;
  int FLastSelPosition = 0;
  bool FLookupItemsScrolling = false;
  String FText;
  bool FInnerEditPositionAdjusting = false;
  bool FIsPopupWindowJustClosed = false;
  TOwned<TcxCustomTextEditLookupData> FLookupData;
  bool FLookupDataTextChangedLocked = false;
  bool FIsChangeBySpellChecker = false;

 private:
  void WMGetText(TMessage& Message);
  void WMGetTextLength(TMessage& Message);
  void WMSetText(TMessage& Message);
  void WMClear(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void SpellCheckerReplace(TMessage& Message);
  void TrackInnerEditLayout();
  void SetRevealButtonPressed(int AIndex, bool APressed);

  TImeMode FImeMode = imDontCare;
  String FImeName;
};

// ---------------------------------------------------------------------------
// TcxTextEdit

// The published single-line text editor.
class TcxTextEdit : public TcxCustomTextEdit {
  SK_CLASS(TcxTextEdit, TcxCustomTextEdit)
 public:
  static void Publish(TPublisher<TcxTextEdit>& P);

  TcxTextEditProperties* ActiveProperties() {
    return static_cast<TcxTextEditProperties*>(inherited::ActiveProperties());
  }
  TcxTextEditProperties* Properties() const { return static_cast<TcxTextEditProperties*>(InternalProperties()); }
  void SetProperties(TcxTextEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxTextEditProperties::ClassInfo(); }
  bool SupportsSpelling() { return CanSpellCheck(); }
};

// ---------------------------------------------------------------------------
// TdxCustomTextEditAccessibilityHelper

// The editor's node; its value is the edit window's node's.
class TdxCustomTextEditAccessibilityHelper : public TdxEditAccessibilityHelper {
  SK_CLASS(TdxCustomTextEditAccessibilityHelper, TdxEditAccessibilityHelper)
 protected:
  String GetName(int) override { return String(); }
};

// The published text editor for form files; called by the unit's start-up.
void cxTextEditRegisterClasses();
