// The spin editor: a numeric text editor whose buttons, arrow and page keys,
// wheel and held mouse step its value within optional bounds.
//
// Classes in this file:
//   TcxSpinEditValueType, TcxSpinEditButton, TcxSpinEditPressedState,
//   TcxSpinEditButtonsPosition          the editor's enumerations
//   TcxSpinEditButtons                  position, fast buttons, visibility
//   TcxSpinEditPropertiesValues         the assigned flags with ValueType
//   TcxCustomSpinEditProperties         values, bounds, increments, wrapping
//   TcxSpinEditProperties               the published settings
//   TcxSpinEditViewData                 the buttons' layout (cxSpinEdit_ViewInfo.cpp)
//   TcxSpinEditViewInfo                 the buttons' painting (cxSpinEdit_ViewInfo.cpp)
//   TcxCustomSpinEdit                   the editor: stepping, keys, mouse, auto-repeat
//   TcxSpinEdit                         the published editor
//   TdxSpinEditAccessibilityHelper      the editor as a spin button to MSAA clients
//   TcxFilterSpinEditHelper             the spin editor in a filter row
//
// Values are 64-bit integers (vtInt) or doubles (vtFloat) held in Variants.
// The stepping arithmetic is the free function cxSpinEditAddIncrement, so
// its wrapping and overflow rules are one piece of code for every caller.
#pragma once

#include "library/editors/masks/cxMaskEdit.h"

#include <cstdint>
#include <optional>

enum TcxSpinEditValueType { vtInt, vtFloat };
enum TcxSpinEditButton { sebBackward, sebForward, sebFastBackward, sebFastForward };
enum TcxSpinEditPressedState { epsNone, epsDown, epsUp, epsFastDown, epsFastUp };
enum TcxSpinEditButtonsPosition { sbpHorzLeftRight, sbpHorzRight, sbpVert };

template <>
struct TEnumInfo<TcxSpinEditValueType> {
  static constexpr const wchar_t* Name = L"TcxSpinEditValueType";
  static constexpr const wchar_t* Names[] = {L"vtInt", L"vtFloat"};
  static constexpr TcxSpinEditValueType Last = vtFloat;
};

template <>
struct TEnumInfo<TcxSpinEditButtonsPosition> {
  static constexpr const wchar_t* Name = L"TcxSpinEditButtonsPosition";
  static constexpr const wchar_t* Names[] = {L"sbpHorzLeftRight", L"sbpHorzRight", L"sbpVert"};
  static constexpr TcxSpinEditButtonsPosition Last = sbpVert;
};

// Bounds-mode answers of GetBoundsMode.
inline constexpr int cxSpinBoundsNone = 0;
inline constexpr int cxSpinBoundsStop = 1;
inline constexpr int cxSpinBoundsCircular = 2;

// ---------------------------------------------------------------------------
// Value arithmetic

// The nearest 64-bit integer, ties to even; beyond the type's range its
// extreme, NaN 0.
std::int64_t cxSpinRoundToInt64(double AValue);
// A numeric V as a Double (vtFloat) or a 64-bit integer (vtInt); anything
// else as it is.
Variant cxSpinToValueType(const Variant& V, TcxSpinEditValueType AValueType);
// One step of AIncrement from V within [AMin, AMax] (numbers of AValueType):
// false when the step leaves the bounds in mode cxSpinBoundsNone. Stopping
// sets the bound passed; wrapping goes round the range and always ends
// inside it: integers as if AMax and AMin were neighbours, floating-point
// values as if they were the same point.
bool cxSpinEditAddIncrement(Variant& V, double AIncrement, const Variant& AMin, const Variant& AMax,
                            TcxSpinEditValueType AValueType, int ABoundsMode);
// The text as a value of the type: a 64-bit integer, or a finite double
// (thousand separators dropped, empty as 0); nothing when it is neither.
std::optional<Variant> cxSpinStrToValue(const String& AText, TcxSpinEditValueType AValueType);
// The display text of a value of the type.
String cxSpinValueToStr(const Variant& V, TcxSpinEditValueType AValueType);

class TcxCustomSpinEdit;
class TcxCustomSpinEditProperties;

// ---------------------------------------------------------------------------
// TcxSpinEditButtons

class TcxSpinEditButtons : public TPersistent {
  SK_CLASS(TcxSpinEditButtons, TPersistent)
 public:
  static void Publish(TPublisher<TcxSpinEditButtons>& P);
  virtual void Create(TcxCustomSpinEditProperties* AOwner) { FOwner = AOwner; }
  void Assign(TPersistent* ASource) override;

  TcxSpinEditButtonsPosition Position() const { return FPosition; }
  void SetPosition(TcxSpinEditButtonsPosition AValue) { SetField(FPosition, AValue); }
  bool ShowFastButtons() const { return FShowFastButtons; }
  void SetShowFastButtons(bool AValue) { SetField(FShowFastButtons, AValue); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { SetField(FVisible, AValue); }

 protected:
  TPersistent* GetOwner() override;

 private:
  template <class T>
  void SetField(T& AField, const T& AValue);

  TcxCustomSpinEditProperties* FOwner = nullptr;
  TcxSpinEditButtonsPosition FPosition = sbpVert;
  bool FShowFastButtons = false;
  bool FVisible = true;
};

// ---------------------------------------------------------------------------
// TcxSpinEditPropertiesValues

class TcxSpinEditPropertiesValues : public TcxTextEditPropertiesValues {
  SK_CLASS(TcxSpinEditPropertiesValues, TcxTextEditPropertiesValues)
 public:
  void Assign(TPersistent* ASource) override;
  void RestoreDefaults() override;

  bool ValueType() const { return FValueType; }
  void SetValueType(bool AValue);

 private:
  bool FValueType = false;
};

// ---------------------------------------------------------------------------
// TcxCustomSpinEditProperties

// (Sender, AText, out AValue, var ErrorText, var Error)
using TcxSpinEditGetValueEvent = Delegate<void(TObject*, const String&, Variant&, String&, bool&)>;

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties {
  SK_CLASS(TcxCustomSpinEditProperties, TcxCustomMaskEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TcxSpinEditPropertiesValues* AssignedValues() const {
    return static_cast<TcxSpinEditPropertiesValues*>(inherited::AssignedValues());
  }
  bool CanEdit() const { return FCanEdit; }
  void SetCanEdit(bool AValue) { SetField(FCanEdit, AValue); }
  bool Circular() const { return FCircular; }
  void SetCircular(bool AValue) { SetField(FCircular, AValue); }
  bool ExceptionOnInvalidInput() const { return FExceptionOnInvalidInput; }
  void SetExceptionOnInvalidInput(bool AValue) { SetField(FExceptionOnInvalidInput, AValue); }
  double Increment() const { return FIncrement; }
  void SetIncrement(double AValue) { SetField(FIncrement, AValue); }
  double LargeIncrement() const { return FLargeIncrement; }
  void SetLargeIncrement(double AValue) { SetField(FLargeIncrement, AValue); }
  TcxSpinEditButtons* SpinButtons() const { return FSpinButtons.get(); }
  void SetSpinButtons(TcxSpinEditButtons* AValue) { FSpinButtons->Assign(AValue); }
  bool UseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool AValue) { SetField(FUseCtrlIncrement, AValue); }
  // Unassigned: vtFloat when the value source holds floating-point numbers.
  TcxSpinEditValueType ValueType();
  void SetValueType(TcxSpinEditValueType AValue);
  TcxSpinEditGetValueEvent OnGetValue() const { return FOnGetValue; }
  void SetOnGetValue(TcxSpinEditGetValueEvent AValue) { FOnGetValue = AValue; }

  // AKind 0 the minimum, 1 the maximum: whether that bound limits the value.
  bool IsValueBoundDefined(int AKind);
  Variant ToValueType(const Variant& V) { return cxSpinToValueType(V, ValueType()); }
  // The text as a number of the value type (TryTextToValue).
  std::optional<Variant> TryTextToValue(const String& AText);
  // The display text of a value.
  String ValueToDisplayText(const Variant& V) { return cxSpinValueToStr(ToValueType(V), ValueType()); }

  // Overridables
  virtual void ClampToBounds(const Variant& AValue, Variant& AResult);
  virtual bool CanStopAtBounds() { return true; }
  virtual int GetBoundsMode();
  virtual void GetMaxValueAsVariant(Variant& V);
  virtual void GetMinValueAsVariant(Variant& V);
  virtual bool CheckDisplayValueRange() { return true; }
  virtual void PrepareValue(const Variant& AValue, Variant& AResult);
  virtual bool KeepsSelectionOnStep() { return false; }

  // TcxCustomEditProperties
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  void NotifyPropertiesChanged() override;
  TClass GetPropertiesValuesClass() override { return TcxSpinEditPropertiesValues::ClassInfo(); }
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  TClass GetContainerClass() override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  bool ValidatesDisplayValue() override { return true; }
  void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError, TcxCustomEdit* AEdit) override;
  // The display text is valid when it parses (out-of-range texts included).
  bool IsDisplayValueValid(Variant& ADisplayValue, bool AEditFocused);

 protected:
  void DefineProperties(TFiler* AFiler) override;

 private:
  friend class TcxSpinEditButtons;
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  // The buttons collection in line with SpinButtons: 0, 2 or 4 buttons.
  int NeededButtonCount() const;
  bool AdjustButtonCount();
  void ReadZeroIncrement(TReader* AReader);
  void WriteZeroIncrement(TWriter* AWriter);
  void ReadZeroLargeIncrement(TReader* AReader);
  void WriteZeroLargeIncrement(TWriter* AWriter);

  TOwned<TcxSpinEditButtons> FSpinButtons;
  bool FCanEdit = true;
  bool FCircular = false;
  double FIncrement = 1.0;
  double FLargeIncrement = 10.0;
  bool FExceptionOnInvalidInput = false;
  bool FUseCtrlIncrement = false;
  TcxSpinEditValueType FValueType = vtInt;
  TcxSpinEditGetValueEvent FOnGetValue;
};

template <class T>
void TcxSpinEditButtons::SetField(T& AField, const T& AValue) {
  if (AField == AValue) return;
  AField = AValue;
  FOwner->Changed();
}

// ---------------------------------------------------------------------------
// TcxSpinEditProperties

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
  SK_CLASS(TcxSpinEditProperties, TcxCustomSpinEditProperties)
 public:
  static void Publish(TPublisher<TcxSpinEditProperties>& P);

  // A zero increment is kept by its own stream entry.
  bool IsIncrementStored() const { return Increment() != 1.0 && Increment() != 0; }
  bool IsLargeIncrementStored() const { return LargeIncrement() != 10.0 && LargeIncrement() != 0; }
  bool IsMaxValueStored() const { return AssignedValues()->MaxValue(); }
  bool IsMinValueStored() const { return AssignedValues()->MinValue(); }
  bool IsValueTypeStored() const { return AssignedValues()->ValueType(); }
};

// ---------------------------------------------------------------------------
// TcxSpinEditViewData, TcxSpinEditViewInfo (cxSpinEdit_ViewInfo.cpp)

class TcxSpinEditViewData : public TcxCustomTextEditViewData {
  SK_CLASS(TcxSpinEditViewData, TcxCustomTextEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex,
                               TRect& ButtonsRect) override;
  void CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo, int APrevButtonsWidth, int AButtonsWidth) override;
  bool IsButtonLeftAligned(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  virtual void CalculateSpinButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& AButtonsRect);

  TcxSpinEditPressedState PressedState = epsNone;

 protected:
  void CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) override;
  TdxThemedObjectType GetNativeTheme(TcxEditButtonViewInfo*) override { return totSpin; }
  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  bool IsButtonHeldPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) override;
  void DoCalculateButtonViewInfos(TcxCanvas* ACanvas, TRect& AButtonsRect, TcxCustomEditViewInfo* AViewInfo) override;
  bool IgnoreButtonWhileStretching(int AButtonVisibleIndex) override;

 private:
  TcxCustomSpinEditProperties* SpinProperties() const {
    return static_cast<TcxCustomSpinEditProperties*>(Properties());
  }
  // The spin theme is in use: native style and the theme available.
  bool UsesSpinTheme();
};

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxSpinEditViewInfo, TcxCustomTextEditViewInfo)
 public:
  int ArrowSize = 0;
  TcxSpinEditButtonsPosition ButtonsPosition = sbpVert;
  // A one-pixel line between two themed buttons; both points zero for none.
  TPoint DelimiterLine[2];

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
  void DrawHotFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                               TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) override;
  void DrawThemedButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                              TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) override;
  void DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, bool AIsOffice11,
                                 TRect& ARect, TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) override;
  void DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                         const TRect& AContentRect) override;
  void DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                        const TRect& AContentRect) override;
  void DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& AContentRect,
                         TColor APenColor, TColor ABrushColor, bool ANeedOffsetContent) override;
};

// ---------------------------------------------------------------------------
// TcxCustomSpinEdit

class TcxCustomSpinEdit : public TcxCustomMaskEdit {
  SK_CLASS(TcxCustomSpinEdit, TcxCustomMaskEdit)
 public:
  void Destroy() override;

  TcxCustomSpinEditProperties* ActiveProperties() {
    return static_cast<TcxCustomSpinEditProperties*>(inherited::ActiveProperties());
  }
  TClass GetPropertiesClass() override { return TcxSpinEditProperties::ClassInfo(); }

  // The value as a number of the value type.
  Variant Value() { return GetValue(); }
  void SetValue(const Variant& AValue) { WriteValue(AValue); }
  TcxSpinEditPressedState PressedState() const { return FPressedState; }
  // The auto-repeat timer; null unless a button is held by the mouse.
  TcxTimer* RepeatTimer() const { return FTimer.get(); }
  // The text was typed or pasted: it, not the last stepped value, is the value.
  bool IsCustomText();

  // Editor text to edit value. A text that is no value gives the last good
  // value; it fails only when ExceptionOnInvalidInput asks for the error, or
  // an OnGetValue handler raised.
  bool TextToEditValue(const String& ADisplayValue, bool ARaise, String& AErrorText, Variant& V);

  // The step a button makes; whether the text changed.
  virtual bool Increment(TcxSpinEditButton AButton);

  void ClearSelection() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;

 protected:
  friend class TcxSpinEditViewData;

  virtual bool GetNewValue(TcxSpinEditButton AButton, Variant& AValue);
  virtual bool AddIncrement(Variant& AValue, double AIncrement);
  virtual double GetIncrementValue(TcxSpinEditButton AButton);
  virtual Variant GetValue();
  virtual void ValueToText(const Variant& AValue, String& AText);
  virtual void WriteValue(const Variant& AValue);

  void InitializeEdit() override;
  TcxContainerStyleValues HiddenStyleValues() override;
  void StoreEditValue(const Variant& AValue) override;
  void SyncDisplayValue() override;
  void ApplyDisplayValue(const Variant& AValue) override;
  void GetValueWhileEditing(Variant& AValue) override { AValue = Value(); }
  void HandleContentChanged() override;
  void PropertiesChanged(TObject* Sender) override;
  TOwned<TcxCustomEditViewData> CreateEditViewData() override;
  TClass GetAccessibilityHelperClass() override;

  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  void ProcessKeyPress(wchar_t& Key) override;
  void ProcessKeyUp(WORD& Key, TShiftState Shift) override;
  bool IsValidInputChar(wchar_t Key) override;
  bool IsEditingKey(WORD Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void PressButton(int AIndex) override;
  void EditFocusChanged() override;

  virtual void ApplyEditorValueBounds();
  // The timer freed, the held button released, the mouse capture let go.
  void StopTracking();

 private:
  void TimerTick(TObject* Sender);
  bool IsRightToLeft();
  // AWork marked as a typing or clipboard action.
  template <class F>
  void AsCustomTextAction(F&& AWork);

  Variant FInternalValue;
  bool FIsCustomText = false;
  bool FIsCustomTextAction = false;
  // Program writes of the text in progress: not the user's content change.
  int FSyncCount = 0;
  TcxSpinEditPressedState FPressedState = epsNone;
  TOwned<TcxTimer> FTimer;
  // The button the timer repeats.
  TcxSpinEditButton FTimerButton = sebBackward;
};

// ---------------------------------------------------------------------------
// TcxSpinEdit

class TcxSpinEdit : public TcxCustomSpinEdit {
  SK_CLASS(TcxSpinEdit, TcxCustomSpinEdit)
 public:
  static void Publish(TPublisher<TcxSpinEdit>& P);
  TcxSpinEditProperties* Properties() { return static_cast<TcxSpinEditProperties*>(InternalProperties()); }
  void SetProperties(TcxSpinEditProperties* AValue) { Properties()->Assign(AValue); }
  bool IsValueStored() const;
};

// ---------------------------------------------------------------------------
// TdxSpinEditAccessibilityHelper

class TdxSpinEditAccessibilityHelper : public TdxEditAccessibilityHelper {
  SK_CLASS(TdxSpinEditAccessibilityHelper, TdxEditAccessibilityHelper)
 protected:
  int GetRole(int) override { return ROLE_SYSTEM_SPINBUTTON; }
  int GetState(int) override { return 0; }
  String GetValue(int AChildID) override;
};

// ---------------------------------------------------------------------------
// TcxFilterSpinEditHelper

// The base of numeric editors' filter helpers (the progress bar's derives
// from it).
class TcxFilterSpinEditHelper : public TcxFilterMaskEditHelper {
  SK_CLASS(TcxFilterSpinEditHelper, TcxFilterMaskEditHelper)
 public:
  struct TMeta : TcxFilterMaskEditHelper::TMeta {
    bool EditPropertiesHasButtons() const override { return true; }
    TcxFilterDataType GetFilterDataType(TcxValueTypeClass) const override { return fdtNumeric; }
    TClass GetFilterEditClass() const override { return TcxSpinEdit::ClassInfo(); }
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                          TcxValueTypeClass AValueTypeClass,
                                                          bool AExtendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
  };
};

void cxSpinEditInitialization();
void cxSpinEditFinalization();
