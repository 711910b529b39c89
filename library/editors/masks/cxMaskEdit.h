// The mask editor: the text editor with an input mask. Every key, click,
// clipboard action and text change goes to a mode object chosen by the mask
// kind, which keeps the text inside what the mask allows and converts between
// the displayed text and the edit value. With an empty mask the editor is the
// text editor.
//
// Classes in this file:
//   TcxEditMaskKind                   classic mask, regular expression, with completion
//   EcxMaskEditError                  a mask that does not compile
//   TcxMaskEditCustomMode             the operations a mode offers the editor
//   TcxMaskEditStandardMode           the classic mask as an overwrite editor (cxMaskEdit_Modes.cpp)
//   TcxMaskEditRegExprMode            a text kept a valid prefix of a pattern
//   TcxMaskEditRegExprExMode          the same, typing forced characters itself
//                                     (both in cxMaskEdit_RegExprModes.cpp)
//   TcxCustomMaskEditProperties       mask kind and mask text
//   TcxMaskEditProperties             the published properties
//   TcxCustomMaskEdit, TcxMaskEdit    the editor
//   TcxFilterMaskEditHelper           a mask editor in a filter row
//
// The regular-expression modes keep the text as a head (before the caret,
// fed to the engine) and a tail (after it). Their completion relies on the
// key messages the editor sends itself being performed by the edit window at
// once, in the order sent, before the mode reads the text again.
#pragma once

#include <functional>

#include "library/editors/masks/cxRegExpr.h"
#include "library/editors/masks/cxStandardMask.h"
#include "library/editors/text/cxTextEdit.h"

enum TcxEditMaskKind { emkStandard, emkRegExpr, emkRegExprEx };

template <>
struct TEnumInfo<TcxEditMaskKind> {
  static constexpr const wchar_t* Name = L"TcxEditMaskKind";
  static constexpr const wchar_t* Names[] = {L"emkStandard", L"emkRegExpr", L"emkRegExprEx"};
  static constexpr TcxEditMaskKind Last = emkRegExprEx;
};

using TcxEditMask = String;

class EcxMaskEditError : public EcxEditError {
 public:
  using EcxEditError::EcxEditError;
};

class TcxCustomMaskEdit;
class TcxCustomMaskEditProperties;

// ---------------------------------------------------------------------------
// TcxMaskEditCustomMode

// The Press operations answer whether the edit window should go on and
// perform the key itself; false means the mode took it.
class TcxMaskEditCustomMode : public TObject {
  SK_CLASS(TcxMaskEditCustomMode, TObject)
 public:
  virtual TcxEditMaskKind GetMaskKind() { return emkStandard; }
  // The text and caret that inserting AText at the selection gives; false
  // leaves it to the text editor.
  virtual bool GetInsertedText(const String& AText, String& AResult, int& ACaretPos);
  // AEdit is not owned; without an editor the mode formats for AProperties.
  virtual void Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  virtual void AfterPasteFromClipboard() = 0;
  virtual void Compile(const String& AMask) = 0;
  virtual String GetEmptyString() = 0;
  virtual String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) = 0;
  virtual void GotoEnd() = 0;
  virtual bool IsCursorBegin() = 0;
  virtual bool IsCursorEnd() = 0;
  virtual bool IsFullValidText(const String& AText) = 0;
  virtual void LMouseDown() = 0;
  virtual void PrePasteFromClipboard() = 0;
  virtual bool PressBackSpace() = 0;
  virtual bool PressDelete() = 0;
  virtual bool PressEnd() = 0;
  virtual bool PressHome() = 0;
  virtual bool PressLeft() = 0;
  virtual bool PressRight() = 0;
  virtual bool PressSymbol(wchar_t& ASymbol) = 0;
  virtual void SetText(const String& AText) = 0;
  virtual void SynchronizeEditValue();
  virtual void UpdateEditValue() = 0;
  virtual String GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals) = 0;

  TcxCustomMaskEdit* Edit() const { return FEdit; }
  const String& EditMask() const { return FEditMask; }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase AValue) { FCharCase = AValue; }
  TcxEditEchoMode EchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode AValue) { FEchoMode = AValue; }
  int ClipboardTextLength() const { return FClipboardTextLength; }
  void SetClipboardTextLength(int AValue) { FClipboardTextLength = AValue; }
  TcxCustomMaskEditProperties* GetModeProperties();
  bool IsEditReady();

 protected:
  void BeepOnError();
  // The editor's shift flag of the last key.
  bool ShiftOn() const;
  void ClearShiftOn();

  TEditCharCase FCharCase = ecNormal;
  TcxEditEchoMode FEchoMode = eemNormal;
  String FEditMask;
  TcxCustomMaskEditProperties* FProperties = nullptr;
  int FClipboardTextLength = 0;
  TcxCustomMaskEdit* FEdit = nullptr;
  bool FNeedUpdateEditValue = false;
};

using TcxMaskEditModeClass = TClass;

// ---------------------------------------------------------------------------
// TcxMaskEditStandardMode

// An overwrite editor over the classic mask's positions: the caret is a
// one-character selection, literals are stepped over, deleting writes blanks.
class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
  SK_CLASS(TcxMaskEditStandardMode, TcxMaskEditCustomMode)
 public:
  bool GetInsertedText(const String& AText, String& AResult, int& ACaretPos) override;
  void Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) override;
  void AfterPasteFromClipboard() override;
  void Compile(const String& AMask) override;
  String GetEmptyString() override { return FMask->EmptyString(); }
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) override;
  void GotoEnd() override {}
  bool IsCursorBegin() override;
  bool IsCursorEnd() override;
  bool IsFullValidText(const String& AText) override;
  void LMouseDown() override;
  void PrePasteFromClipboard() override;
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(wchar_t& ASymbol) override;
  void SetText(const String&) override { LMouseDown(); }
  void SynchronizeEditValue() override;
  void UpdateEditValue() override;
  String GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals) override;
  virtual wchar_t GetBlank() { return FMask->Blank(); }

  const TcxStandardMask* Mask() const { return FMask.get(); }

 private:
  bool IsLiteralAt(int APos) const;
  // The number of literal positions from APos on, walking by AStep.
  int LiteralRun(int APos, int AStep) const;

  TOwned<TcxStandardMask> FMask;
};

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprMode

class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
  SK_CLASS(TcxMaskEditRegExprMode, TcxMaskEditCustomMode)
 public:
  TcxEditMaskKind GetMaskKind() override { return emkRegExpr; }
  void Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) override;
  void Destroy() override;
  void AfterPasteFromClipboard() override {}
  void Compile(const String& AMask) override;
  String GetEmptyString() override { return String(); }
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) override;
  void GotoEnd() override;
  bool IsCursorBegin() override;
  bool IsCursorEnd() override;
  bool IsFullValidText(const String& AText) override;
  void LMouseDown() override { FMouseAction = true; }
  void PrePasteFromClipboard() override {}
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(wchar_t& ASymbol) override;
  void SetText(const String& AText) override;
  void SynchronizeEditValue() override;
  void UpdateEditValue() override {}
  String GetUpdatedText(const String& AText, bool) override { return AText; }
  virtual bool NeedsResync();
  virtual void Resync();
  virtual void CutSelection();
  // Cuts the selection; false when the native key had to take it instead.
  bool DeleteSelection(const std::function<void()>& ANativeKey);
  virtual void RestoreSelection();

  void SetRegExprCaseInsensitive();
  const String& Head() const { return FHead; }
  const String& Tail() const { return FTail; }
  TcxRegExpr* RegExpr() const { return FRegExpr.get(); }

 protected:
  void ResetModel(const String& AText);
  bool TailFits();
  void DropTail();
  void MoveCharLeft();
  void MoveCharRight();
  bool CompileCopy(TcxRegExpr* AOther);
  // Feeds ASymbol, adapting its case; true when accepted.
  bool Feed(wchar_t& ASymbol) { return FRegExpr->Next(ASymbol); }

  bool FBeginCursor = false;
  String FHead;
  TOwned<TcxRegExpr> FRegExpr;
  String FSelect;
  String FTail;
  bool FMouseAction = false;
};

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprExMode

class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
  SK_CLASS(TcxMaskEditRegExprExMode, TcxMaskEditRegExprMode)
 public:
  TcxEditMaskKind GetMaskKind() override { return emkRegExprEx; }
  void Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) override;
  void AfterPasteFromClipboard() override {}
  void Compile(const String& AMask) override;
  String GetEmptyString() override;
  String GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) override;
  void GotoEnd() override;
  bool IsFullValidText(const String& AText) override;
  void PrePasteFromClipboard() override { Resync(); }
  bool PressBackSpace() override;
  bool PressDelete() override;
  bool PressEnd() override;
  bool PressHome() override;
  bool PressLeft() override;
  bool PressRight() override;
  bool PressSymbol(wchar_t& ASymbol) override;
  void SetText(const String& AText) override;
  void UpdateEditValue() override;
  void Resync() override;
  void CutSelection() override;
  void RestoreSelection() override;

 private:
  void ResetUpdate() {
    FUpdate.clear();
    FDeleteNumber = 0;
  }
  void SymbolUpdated(wchar_t ASymbol) { FUpdate += ASymbol; }
  void SymbolDeleted() { ++FDeleteNumber; }
  void InternalSymbolUpdated(wchar_t ASymbol) { FInternalUpdate += ASymbol; }
  // AWork with the engine's UpdateOn off; on again afterwards.
  template <class F>
  void Quietly(F&& AWork);
  // Switches UpdateOn off and on, so that the forced continuation at the
  // engine's state is reported into FUpdate.
  void ReportForced();
  void UnitRight();
  void UnitLeft();
  void CompleteTail();
  void CompleteOrDropTail();
  // The forced prefix from a temporary engine; false when none compiles.
  bool ForcedPrefix(TcxRegExpr* AEngine, String& APrefix);
  // A selection from position 0 over a forced prefix: the prefix stays and
  // the selection shrinks to what follows it. True when that happened.
  bool KeepForcedPrefix();

  String FInternalUpdate;
  int FDeleteNumber = 0;
  String FUpdate;
};

// ---------------------------------------------------------------------------
// TcxCustomMaskEditProperties

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TcxCustomMaskEditProperties, TcxCustomTextEditProperties)
 public:
  static void Publish(TPublisher<TcxCustomMaskEditProperties>& P);
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  bool AlwaysShowBlanksAndLiterals() const { return FAlwaysShowBlanksAndLiterals; }
  void SetAlwaysShowBlanksAndLiterals(bool AValue);
  bool CaseInsensitive() const { return FCaseInsensitive; }
  // Stays True while CharCase converts the letters.
  void SetCaseInsensitive(bool AValue);
  void SetCharCase(TEditCharCase AValue) override;
  // The effective mask: with a classic kind and no mask of its own, the
  // value source's default mask.
  TcxEditMask EditMask();
  // Tried on a mode first: a mask that does not compile raises
  // EcxMaskEditError and changes nothing.
  void SetEditMask(const TcxEditMask& AValue);
  bool IsEditMaskStored() const { return !FEditMask.empty(); }
  bool IgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool AValue) { FIgnoreMaskBlank = AValue; }
  TcxEditMaskKind MaskKind() const { return FMaskKind; }
  void SetMaskKind(TcxEditMaskKind AValue);

  static bool IsEmptyMask(const String& AMask);
  bool IsMasked() { return !IsEmptyMask(EditMask()); }
  virtual String GetMaskEmptyString() { return FEmptyString; }
  virtual TcxMaskEditModeClass GetModeClass(TcxEditMaskKind AMaskKind);
  TOwned<TcxMaskEditCustomMode> CreateMode();
  // Null when the effective mask is empty.
  TOwned<TcxMaskEditCustomMode> CreateCompiledMode();
  // A value shown one of the three ways: formatted while focused or for a
  // regular expression, else formatted or as stored depending on
  // AlwaysShowBlanksAndLiterals.
  String FormatByMode(TcxMaskEditCustomMode* AMode, const String& AText, bool AEditFocused,
                      bool AMatchForBlanksAndLiterals);

  void CopyFrom(TcxCustomEditProperties* ASource) override;
  void NotifyPropertiesChanged() override;
  TClass GetContainerClass() override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;
  bool ValidatesDisplayValue() override { return IsMasked() || inherited::ValidatesDisplayValue(); }
  void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError, TcxCustomEdit* AEdit) override;
  bool IsValueFormattedByProperties();

 private:
  friend class TcxCustomMaskEdit;

  bool FAlwaysShowBlanksAndLiterals = false;
  bool FCaseInsensitive = true;
  TcxEditMask FEditMask;
  String FEmptyString;
  bool FIgnoreMaskBlank = false;
  TcxEditMaskKind FMaskKind = emkStandard;
  bool FMaxLengthSetting = false;
  TOwned<TcxMaskEditCustomMode> FTempMode;
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
  SK_CLASS(TcxMaskEditProperties, TcxCustomMaskEditProperties)
 public:
  static void Publish(TPublisher<TcxMaskEditProperties>& P);
};

// ---------------------------------------------------------------------------
// TcxCustomMaskEdit

class TcxCustomMaskEdit : public TcxCustomTextEdit {
  SK_CLASS(TcxCustomMaskEdit, TcxCustomTextEdit)
 public:
  void Destroy() override;
  TcxCustomMaskEditProperties* ActiveProperties() {
    return static_cast<TcxCustomMaskEditProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomMaskEditProperties* Properties() {
    return static_cast<TcxCustomMaskEditProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomMaskEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomMaskEditProperties::ClassInfo(); }

  // The edit window's current text; a write goes in formatted by the mask.
  String EditText();
  void SetEditText(const String& AValue);
  // The masked text: the mode's stored form of the edit window's text.
  const String& MaskedText() const { return FText; }
  TcxMaskEditCustomMode* Mode() const { return FMode.get(); }
  bool IsMasked() { return ActiveProperties()->IsMasked(); }

  // Masked: the mode is told of the insertion before and after the text
  // editor replaces the selection.
  void SetSelText(const String& AValue);
  void SetInternalSelStart(int AValue);
  void SetInternalSelLength(int AValue);

  // Key messages to the editor's own window, performed by the edit window
  // while the editor's key handlers stand aside.
  void SendOwnKeyDown(WORD AKey);
  void SendOwnKeyPress(wchar_t AKey);

  void CutToClipboard() override;
  void PasteFromClipboard() override;

  virtual bool CanSetModeText() { return true; }
  // Asked before the classic mode writes a typed character at the 1-based
  // APosition; clearing ASymbol refuses it with a beep.
  virtual bool CanTypeSymbol(wchar_t& ASymbol, int APosition) {
    (void)ASymbol, (void)APosition;
    return true;
  }
  virtual void RefreshMaskedText();

 protected:
  friend class TcxMaskEditCustomMode;
  friend class TcxMaskEditStandardMode;
  friend class TcxMaskEditRegExprMode;
  friend class TcxMaskEditRegExprExMode;
  friend class TcxCustomMaskEditProperties;

  void InitializeEdit() override;
  void PropertiesChanged(TObject* Sender) override;
  void Loaded() override;
  void HandleContentChanged() override;
  void SyncDisplayValue() override;
  void UndoPerformed() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;
  void SetDisplayText(const String& AText) override;
  void GetDisplayString(String& AText) override { AText = EditText(); }
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  void ProcessKeyPress(wchar_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void DoEnter() override;
  void HookInnerEditWindowProc() override;
  void UnhookInnerEditWindowProc() override;

  void InnerEditSelChange(TObject* Sender) override;
  String GetWindowTextValue() override;
  bool SetWindowTextValue(const String& AText) override;
  String GetMaskEmptyText();
  void UpdateModeText();
  // Masked: the mode's text and caret for the selection replaced by AText.
  bool PrepareSelTextReplacement(const String& AText, String& AResult, int& ACaretPos) override;

  bool FInternalTextSelection = false;
  TOwned<TcxMaskEditCustomMode> FMode;
  bool FMyMessage = false;
  bool FShiftOn = false;
  String FText;

 private:
  void RecreateMode(TcxEditMaskKind AKind);
  bool IsFocusedForDisplay();
  void SetInnerText(const String& AText);
};

class TcxMaskEdit : public TcxCustomMaskEdit {
  SK_CLASS(TcxMaskEdit, TcxCustomMaskEdit)
 public:
  static void Publish(TPublisher<TcxMaskEdit>& P);
  TcxMaskEditProperties* Properties() { return static_cast<TcxMaskEditProperties*>(InternalProperties()); }
  void SetProperties(TcxMaskEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxMaskEditProperties::ClassInfo(); }
  // A masked text is no prose.
  bool SupportsSpelling() { return !IsMasked(); }
};

// ---------------------------------------------------------------------------
// TcxFilterMaskEditHelper

// How a filter row edits a value through a mask editor: a masked value is
// compared whole, never by its text.
class TcxFilterMaskEditHelper : public TcxFilterTextEditHelper {
  SK_CLASS(TcxFilterMaskEditHelper, TcxFilterTextEditHelper)
 public:
  struct TMeta : TcxFilterTextEditHelper::TMeta {
    TClass GetFilterEditClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                          TcxValueTypeClass AValueTypeClass,
                                                          bool AExtendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
  };
};

void cxMaskEditInitialization();
void cxMaskEditFinalization();
