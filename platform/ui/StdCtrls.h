// The standard controls: native windows of the system under our controls,
// and the label, which draws itself on its parent.
//
// Classes in this file:
//   TEditCharCase, TImeMode, TListBoxStyle, TComboBoxStyle, TCheckBoxState, TTextLayout,
//   TOwnerDrawState, TDrawItemEvent, TMeasureItemEvent
//   TCustomGroupBox, TGroupBox      a frame with a caption around other controls
//   TCustomLabel, TLabel            a caption drawn on the parent (no window)
//   TCustomEdit, TEdit              an EDIT window
//   TListControlWindow, TCustomListControlItems   the items of list and combo boxes
//   TCustomListControl              what list and combo boxes share: items, owner drawing
//   TCustomListBox, TListBox        a LISTBOX window; items kept by the control
//   TCustomComboBox, TComboBox      a COMBOBOX window; items kept by the control
//   TButtonControl                  the base of the BUTTON windows
//   TCustomButton, TButton          a push button: default, cancel, modal result
//   TCustomCheckBox, TCheckBox      a check box with an optional grayed state
//   TRadioButton                    a radio button; one checked per parent
//
// Conventions. Each native control takes its window class as the base of its
// own (CreateSubClass) and hears the notifications it sends to its parent as
// CN_COMMAND, CN_DRAWITEM, CN_MEASUREITEM. A control keeps everything that
// must outlive its window (text, items, selection, check state) in fields,
// so RecreateWnd and a change of parent lose nothing; without a window the
// properties still read and write (the window takes them when it comes).
// List and combo boxes sort their items themselves (not with LBS_SORT), so
// the order is the same with and without a window.
#pragma once

#include "platform/classes/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UITypes.h"

#include <vector>

// ---------------------------------------------------------------------------
// Types

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
template <>
struct TEnumInfo<TEditCharCase> {
  static constexpr const wchar_t* Name = L"TEditCharCase";
  static constexpr const wchar_t* Names[] = {L"ecNormal", L"ecUpperCase", L"ecLowerCase"};
  static constexpr TEditCharCase Last = ecLowerCase;
};

// The input method's state a control asks for when it gets the focus.
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
                imSHanguel, imHanguel };
template <>
struct TEnumInfo<TImeMode> {
  static constexpr const wchar_t* Name = L"TImeMode";
  static constexpr const wchar_t* Names[] = {L"imDisable", L"imClose",    L"imOpen",    L"imDontCare",
                                             L"imSAlpha",  L"imAlpha",    L"imHira",    L"imSKata",
                                             L"imKata",    L"imChinese",  L"imSHanguel", L"imHanguel"};
  static constexpr TImeMode Last = imHanguel;
};

// The virtual styles keep no items: the owner answers for them by index.
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
template <>
struct TEnumInfo<TListBoxStyle> {
  static constexpr const wchar_t* Name = L"TListBoxStyle";
  static constexpr const wchar_t* Names[] = {L"lbStandard", L"lbOwnerDrawFixed", L"lbOwnerDrawVariable",
                                             L"lbVirtual", L"lbVirtualOwnerDraw"};
  static constexpr TListBoxStyle Last = lbVirtualOwnerDraw;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
template <>
struct TEnumInfo<TComboBoxStyle> {
  static constexpr const wchar_t* Name = L"TComboBoxStyle";
  static constexpr const wchar_t* Names[] = {L"csDropDown", L"csSimple", L"csDropDownList", L"csOwnerDrawFixed",
                                             L"csOwnerDrawVariable"};
  static constexpr TComboBoxStyle Last = csOwnerDrawVariable;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
template <>
struct TEnumInfo<TCheckBoxState> {
  static constexpr const wchar_t* Name = L"TCheckBoxState";
  static constexpr const wchar_t* Names[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};
  static constexpr TCheckBoxState Last = cbGrayed;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };
template <>
struct TEnumInfo<TTextLayout> {
  static constexpr const wchar_t* Name = L"TTextLayout";
  static constexpr const wchar_t* Names[] = {L"tlTop", L"tlCenter", L"tlBottom"};
  static constexpr TTextLayout Last = tlBottom;
};

// bsNone or bsSingle: a control's own border.
using TBorderStyle = TFormBorderStyle;

enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
// The owner-draw state of a DRAWITEMSTRUCT's itemState (ODS_xxx).
TOwnerDrawState OwnerDrawStateOf(UINT AItemState);

using TDrawItemEvent = Delegate<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = Delegate<void(TWinControl* Control, int Index, int& Height)>;

// ---------------------------------------------------------------------------
// TCustomGroupBox

class TCustomGroupBox : public TCustomControl {
  SK_CLASS(TCustomGroupBox, TCustomControl)
 public:
  static void Publish(TPublisher<TCustomGroupBox>& P);
  void Create(TComponent* AOwner) override;

  // The frame's rectangle (the caption sits on its top line).
  TRect FrameRect();

 protected:
  void AdjustClientRect(TRect& ARect) override;
  void Paint() override;
  void CMDialogChar(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
};

class TGroupBox : public TCustomGroupBox {
  SK_CLASS(TGroupBox, TCustomGroupBox)
};

// ---------------------------------------------------------------------------
// TCustomLabel

class TCustomLabel : public TGraphicControl {
  SK_CLASS(TCustomLabel, TGraphicControl)
 public:
  static void Publish(TPublisher<TCustomLabel>& P);
  void Create(TComponent* AOwner) override;

  // Properties
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment AValue);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout AValue);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue);
  // Without it the parent shows through where no text is.
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool AValue);
  // The control that takes the focus when the caption's accelerator is typed.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* AValue);
  // Whether "&x" underlines x and makes it the accelerator (else "&" shows).
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool AValue);


 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void Paint() override;
  // Fits the size to the caption when AutoSize (the alignment decides which
  // edge stays).
  virtual void AdjustBounds();
  // Draws or (with DT_CALCRECT in AFlags) measures the caption.
  virtual void DoDrawText(TRect& ARect, UINT AFlags);
  virtual String GetLabelText();
  UINT DrawTextFlags() const;

  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TAlignment FAlignment;
  bool FAutoSize;
  TTextLayout FLayout;
  bool FWordWrap;
  TWinControl* FFocusControl;
  bool FShowAccelChar;
};

class TLabel : public TCustomLabel {
  SK_CLASS(TLabel, TCustomLabel)
};

// ---------------------------------------------------------------------------
// TCustomEdit

class TCustomEdit : public TWinControl {
  SK_CLASS(TCustomEdit, TWinControl)
 public:
  static void Publish(TPublisher<TCustomEdit>& P);
  void Create(TComponent* AOwner) override;

  // Properties that shape the window (a change recreates it)
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment AValue);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle AValue);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase AValue);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool AValue);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool AValue);
  bool NumbersOnly() const { return FNumbersOnly; }
  void SetNumbersOnly(bool AValue);

  // Properties the window takes as they change
  // Characters at most (0: no limit beyond the system's).
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int AValue);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool AValue);
  // Shown instead of each character (#0: the text shows).
  wchar_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t AValue);
  // The grey cue shown while the edit is empty.
  const String& TextHint() const { return FTextHint; }
  void SetTextHint(const String& AValue);
  // Selects the whole text when the control is entered by keyboard.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool AValue) { FAutoSelect = AValue; }
  // Keeps the height fitted to the font (with a single border).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);
  // The input method asked for on entry, and its name (kept; no input method
  // is switched here).
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode AValue) { FImeMode = AValue; }
  const String& ImeName() const { return FImeName; }
  void SetImeName(const String& AValue) { FImeName = AValue; }

  // The selection: start and length in characters (0 without a window).
  int SelStart();
  void SetSelStart(int AValue);
  int SelLength();
  void SetSelLength(int AValue);
  String SelText();
  // Replaces the selection (the window's undo remembers it).
  void SetSelText(const String& AValue);
  bool Modified();
  void SetModified(bool AValue);
  bool CanUndo();

  // Operations (without a window they do nothing)
  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void Undo();
  void ClearUndo();

  // Events
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Raises OnChange; the window reports every change of its text (typed or set).
  virtual void Change();
  void UpdateHeight();

  void CNCommand(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  void AdjustHeight();

  TAlignment FAlignment;
  TBorderStyle FBorderStyle;
  TEditCharCase FCharCase;
  bool FHideSelection;
  bool FOEMConvert;
  bool FNumbersOnly;
  int FMaxLength;
  bool FReadOnly;
  wchar_t FPasswordChar;
  String FTextHint;
  bool FAutoSelect;
  bool FAutoSize;
  TImeMode FImeMode = imDontCare;
  String FImeName;
  bool FModified;   // kept while the window is re-made
  bool FCreating;   // the window is being made: its notifications are no changes
  TNotifyEvent FOnChange;
};

class TEdit : public TCustomEdit {
  SK_CLASS(TEdit, TCustomEdit)
};

// ---------------------------------------------------------------------------
// Items of list and combo boxes

class TCustomListControlItems;

// What a list or combo box keeps of each item, with or without a window.
struct TListControlItem {
  String Text;
  TObject* Object = nullptr;
  bool Selected = false;  // multi-select list boxes, while the window is away
};

// What the items of a list or combo box ask of the control: the window
// takes each change (the item is already in or out of the list).
class TListControlWindow {
 public:
  virtual bool ItemsSorted() const = 0;
  virtual void WindowInsert(int AIndex) = 0;
  virtual void WindowDelete(int AIndex) = 0;
  virtual void WindowClear() = 0;
  virtual void WindowSetObject(int AIndex) = 0;
  // The text of an item changed; its selection stays.
  virtual void WindowReplace(int AIndex) = 0;
  virtual void WindowRedraw(bool AOn) = 0;

 protected:
  ~TListControlWindow() = default;
};

// The Items of a list or combo box: the strings live here, the window shows
// them. A sorted list keeps its order itself (not case-sensitive, a new item
// after its equals).
class TCustomListControlItems : public TStrings {
  SK_CLASS(TCustomListControlItems, TStrings)
 public:
  void Create(TListControlWindow* AControl) { FControl = AControl; }

  std::vector<TListControlItem>& Data() { return FItems; }
  const std::vector<TListControlItem>& Data() const { return FItems; }
  // Where a new item goes in a sorted list.
  int SortedIndexOf(const String& AText) const;
  // Sorts the items (after Sorted was switched on); answers each old
  // index's new place.
  std::vector<int> SortItems();

  int Add(const String& AValue) override;
  int AddObject(const String& AValue, TObject* AObject) override;
  void Clear() override;
  void Delete(int AIndex) override;
  // Raises EStringListError on a sorted list (the place is the list's).
  void Insert(int AIndex, const String& AValue) override;
  void InsertObject(int AIndex, const String& AValue, TObject* AObject) override;
  void Exchange(int AIndex1, int AIndex2) override;
  void Move(int ACurIndex, int ANewIndex) override;

 protected:
  String Get(int AIndex) const override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  TObject* GetObject(int AIndex) const override;
  void Put(int AIndex, const String& AValue) override;
  void PutObject(int AIndex, TObject* AObject) override;
  void SetUpdateState(bool AUpdating) override;

 private:
  void CheckIndex(int AIndex) const;
  int InsertAt(int AIndex, const String& AValue, TObject* AObject);
  TListControlWindow* FControl;
  std::vector<TListControlItem> FItems;
};

// ---------------------------------------------------------------------------
// TCustomListControl

// The items, the owner-draw canvas and events, and the item calls of the
// window that list and combo boxes share; the window class and its messages
// are the descendant's.
class TCustomListControl : public TWinControl, protected TListControlWindow {
  SK_CLASS(TCustomListControl, TWinControl)
 public:
  static void Publish(TPublisher<TCustomListControl>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Items
  TStrings* Items() const { return FItemsList.get(); }
  void SetItems(TStrings* AValue) { FItemsList->Assign(AValue); }
  void AddItem(const String& AItem, TObject* AObject) { FItemsList->AddObject(AItem, AObject); }
  bool Sorted() const { return FSorted; }

  // The canvas an owner-drawing handler draws on.
  TCanvas* Canvas() const { return FCanvas.get(); }

  // Events
  TDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent AValue) { FOnDrawItem = AValue; }
  TMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
  void SetOnMeasureItem(TMeasureItemEvent AValue) { FOnMeasureItem = AValue; }

 protected:
  // The window's messages for the item calls.
  struct TItemMessages {
    UINT InsertString;
    UINT DeleteString;
    UINT SetItemData;
  };
  virtual const TItemMessages& ItemMessages() const = 0;
  // Whether each item asks MeasureItem for a height of its own.
  virtual bool ItemsVaryInHeight() const = 0;

  // Owner drawing: the canvas is on the item's device context with the
  // selection colours set. The default fills and writes the item's text.
  virtual void DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState);
  virtual void MeasureItem(int AIndex, int& AHeight);

  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

  // The window's part of the items
  bool ItemsSorted() const override { return FSorted; }
  void WindowInsert(int AIndex) override;
  void WindowDelete(int AIndex) override;
  void WindowSetObject(int AIndex) override;
  void WindowRedraw(bool AOn) override;

  TOwned<TCustomListControlItems> FItemsList;
  TOwned<TCanvas> FCanvas;
  bool FSorted;
  int FItemHeight;
  int FItemIndex;  // kept while there is no window
  TDrawItemEvent FOnDrawItem;
  TMeasureItemEvent FOnMeasureItem;
};

// ---------------------------------------------------------------------------
// TCustomListBox

class TCustomListBox : public TCustomListControl {
  SK_CLASS(TCustomListBox, TCustomListControl)
 public:
  static void Publish(TPublisher<TCustomListBox>& P);
  void Create(TComponent* AOwner) override;

  // Items
  int Count() const { return FItemsList->Count(); }
  void Clear() { FItemsList->Clear(); }
  void SetSorted(bool AValue);

  // Selection
  // The selected item (single select) or the focused one (multi select); -1
  // when none. An index outside the items selects none.
  int ItemIndex();
  void SetItemIndex(int AValue);
  bool Selected(int AIndex);
  void SetSelected(int AIndex, bool AValue);
  int SelCount();
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool AValue);
  // With MultiSelect: Shift and Ctrl extend the selection (else each click toggles).
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool AValue);

  // Appearance
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle AValue);
  // The height of an item: the window's for lbStandard, else the one set.
  int ItemHeight();
  void SetItemHeight(int AValue);
  int TopIndex();
  void SetTopIndex(int AValue);
  int Columns() const { return FColumns; }
  void SetColumns(int AValue);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool AValue);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle AValue);
  // Tab stops in dialog units (0: the system's).
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int AValue);

  // The item under a client point; -1 when none (with AExisting false, a
  // point below the last item answers Count).
  int ItemAtPos(const TPoint& APos, bool AExisting);
  // The client rectangle of an item; the one below the last for Count;
  // empty without a window or for other indices.
  TRect ItemRect(int AIndex);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  const TItemMessages& ItemMessages() const override;
  bool ItemsVaryInHeight() const override { return FStyle == lbOwnerDrawVariable; }

  void CNCommand(TMessage& Message);

  // The window's part of the items
  void WindowClear() override;
  void WindowReplace(int AIndex) override;

 private:
  void CheckIndex(int AIndex) const;
  // Window -> fields (selection, top item), and fields -> window (items too).
  void SaveWindowState();
  void FillWindow();
  bool IsItemHeightStored() const { return FStyle != lbStandard; }

  bool FMultiSelect;
  bool FExtendedSelect;
  TListBoxStyle FStyle;
  int FColumns;
  bool FIntegralHeight;
  TBorderStyle FBorderStyle;
  int FTabWidth;
  int FTopIndex;  // kept while there is no window
};

class TListBox : public TCustomListBox {
  SK_CLASS(TListBox, TCustomListBox)
};

// ---------------------------------------------------------------------------
// TCustomComboBox

class TCustomComboBox : public TCustomListControl {
  SK_CLASS(TCustomComboBox, TCustomListControl)
 public:
  static void Publish(TPublisher<TCustomComboBox>& P);
  void Create(TComponent* AOwner) override;

  // Items
  // Removes the items and the text.
  void Clear();
  void SetSorted(bool AValue);

  // The selected item, -1 when none; an index outside the items selects none.
  int ItemIndex();
  void SetItemIndex(int AValue);
  // Text (Caption): with an edit part (csDropDown, csSimple) what the edit
  // shows; without one the selected item's text, and setting it selects the
  // item of that text (not case-sensitive) or none.
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle AValue);
  bool DroppedDown();
  void SetDroppedDown(bool AValue);
  // Items the open list shows without scrolling.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int AValue);
  // Characters the edit part takes at most (0: no limit).
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int AValue);
  int ItemHeight();
  void SetItemHeight(int AValue);
  // The selection in the edit part (0 without a window or edit part).
  int SelStart();
  void SetSelStart(int AValue);
  int SelLength();
  void SetSelLength(int AValue);
  void SelectAll();

  // Events
  // The edit text changed by typing, or (without OnSelect) a new item was chosen.
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  // The user chose an item from the list.
  TNotifyEvent OnSelect() const { return FOnSelect; }
  void SetOnSelect(TNotifyEvent AValue) { FOnSelect = AValue; }
  TNotifyEvent OnDropDown() const { return FOnDropDown; }
  void SetOnDropDown(TNotifyEvent AValue) { FOnDropDown = AValue; }
  TNotifyEvent OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TNotifyEvent AValue) { FOnCloseUp = AValue; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  void Loaded() override;
  String GetText() const override;
  void SetTextBuf(const String& AValue) override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown() { CallEvent(FOnDropDown, this); }
  virtual void CloseUp() { CallEvent(FOnCloseUp, this); }
  const TItemMessages& ItemMessages() const override;
  bool ItemsVaryInHeight() const override { return FStyle == csOwnerDrawVariable; }

  void CNCommand(TMessage& Message);

  // The window's part of the items
  void WindowClear() override;
  void WindowReplace(int AIndex) override;

 private:
  // The edit window inside the combo box, or null.
  HWND EditHandle();
  int DropListHeight();
  bool IsOwnerDraw() const;
  bool IsItemHeightStored() const { return IsOwnerDraw(); }
  int CurrentIndex() const;
  // Items and selection into the window, then AEditText into the edit part.
  void FillWindow(const String& AEditText);
  // Key events of the edit part reach OnKeyDown, OnKeyPress and OnKeyUp.
  void HookEdit();
  void UnhookEdit();
  static LRESULT CALLBACK EditHookProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

  TComboBoxStyle FStyle;
  int FDropDownCount;
  int FMaxLength;
  bool FCreating;
  bool FSelecting;  // the edit takes the chosen item: no change of its own
  HWND FEditHandle;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnSelect;
  TNotifyEvent FOnDropDown;
  TNotifyEvent FOnCloseUp;
};

class TComboBox : public TCustomComboBox {
  SK_CLASS(TComboBox, TCustomComboBox)
};

// ---------------------------------------------------------------------------
// Buttons

class TButtonControl : public TWinControl {
  SK_CLASS(TButtonControl, TWinControl)
 public:
  static void Publish(TPublisher<TButtonControl>& P);
  void Create(TComponent* AOwner) override;

  // Breaks the caption into lines that fit the width.
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue);

 protected:
  // The checked state of check boxes and radio buttons (false for others).
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  // While set, state changes do not raise OnClick.
  bool ClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool AValue) { FClicksDisabled = AValue; }
  void CreateParams(TCreateParams& Params) override;

 private:
  bool FWordWrap;
  bool FClicksDisabled;
};

class TCustomButton : public TButtonControl {
  SK_CLASS(TCustomButton, TButtonControl)
 public:
  static void Publish(TPublisher<TCustomButton>& P);
  void Create(TComponent* AOwner) override;

  // Enter presses the default button while no other button has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool AValue);
  // Esc presses a cancel button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool AValue) { FCancel = AValue; }
  // A click sets the parent form's ModalResult to this.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
  // Whether the button shows itself as the one Enter would press.
  bool Active() const { return FActive; }

  // Sets the form's ModalResult, then runs the action or OnClick.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Shows the button as the default one or not (BM_SETSTYLE).
  virtual void SetButtonStyle(bool ADefault);

  void CNCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

 private:
  bool FDefault;
  bool FCancel;
  TModalResult FModalResult;
  bool FActive;
  bool FShownDefault;  // the window's present style
};

class TButton : public TCustomButton {
  SK_CLASS(TButton, TCustomButton)
};

class TCustomCheckBox : public TButtonControl {
  SK_CLASS(TCustomCheckBox, TButtonControl)
 public:
  static void Publish(TPublisher<TCustomCheckBox>& P);
  void Create(TComponent* AOwner) override;

  // Setting the state (also through Checked) raises OnClick when it changes,
  // except while the control is being read from a form description.
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState AValue);
  bool Checked() const { return GetChecked(); }
  void SetCheckedState(bool AValue) { SetChecked(AValue); }
  // Whether a click may lead to cbGrayed (unchecked -> grayed -> checked).
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool AValue) { FAllowGrayed = AValue; }
  // The side of the text: taRightJustify puts it right of the box.
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight AValue);

 protected:
  bool GetChecked() const override { return FState == cbChecked; }
  void SetChecked(bool AValue) override { SetState(AValue ? cbChecked : cbUnchecked); }
  // What a click does: the next state.
  virtual void Toggle();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TCheckBoxState FState;
  bool FAllowGrayed;
  TLeftRight FAlignment;
};

class TCheckBox : public TCustomCheckBox {
  SK_CLASS(TCheckBox, TCustomCheckBox)
};

class TRadioButton : public TButtonControl {
  SK_CLASS(TRadioButton, TButtonControl)
 public:
  static void Publish(TPublisher<TRadioButton>& P);
  void Create(TComponent* AOwner) override;

  // Checking one unchecks the other radio buttons of the same parent and
  // raises OnClick; only the checked one is a tab stop.
  bool Checked() const { return FChecked; }
  void SetCheckedState(bool AValue) { SetChecked(AValue); }
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight AValue);

 protected:
  bool GetChecked() const override { return FChecked; }
  void SetChecked(bool AValue) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  bool FChecked;
  TLeftRight FAlignment;
};

// Unit start-up: registers the classes by name.
void StdCtrlsInitialization();
