// The check box: a three-state editor whose edit value maps to a check
// state through the properties' three values, its check mark and caption
// layout, and the routines that draw and measure a check mark for every
// check-type control.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/StdCtrls.h"

// -- check-mark drawing
// How a check-type control draws and indexes its mark; no state is kept.

enum TcxEditCheckState { ecsNormal, ecsHot, ecsPressed, ecsDisabled };
// How cbsGrayed is shown.
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

// The name of image AIndex of a default glyph strip; "Not Used" past 5.
String GetCheckGlyphPartName(int AIndex);
// The BUTTON class's BP_CHECKBOX state, 1 to 12.
int CheckBoxThemeState(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState);
// The image to cut from a strip of ACount images; always inside the strip,
// image 0 when the state has no picture in it.
int GetCheckGlyphIndex(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState, bool AThreeStateStrip,
                       int ACount);
// The size of one image of a valid glyph strip at the scale factor, else
// the painter's check size (a missing one: the native or standard painter).
TSize GetCheckMarkSize(TGraphic* AGlyph, int AGlyphCount, bool ANativeStyle, TcxCustomLookAndFeelPainter* APainter,
                       const TdxScaleFactor* AScaleFactor);
// The mark: image GetCheckGlyphIndex of a valid glyph strip, else a skin
// painter's whole mark when given, else drawn by hand (native theme, or
// frame and inside by border style).
void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxCheckBoxState ACheckState, TcxEditCheckState AEditState,
                   TGraphic* AGlyph, int AGlyphCount, TcxEditBorderStyle ABorderStyle, bool ANativeStyle,
                   TColor ABorderColor, TColor ABackgroundColor, bool ADrawBackground, bool AIsDesigning,
                   bool AFocused, bool AThreeStateStrip, TcxCustomLookAndFeelPainter* ASkinPainter,
                   const TdxScaleFactor* AScaleFactor, TcxCheckBoxNullValueShowingStyle ANullStyle);
// -- end check-mark drawing

template <>
struct TEnumInfo<TcxCheckBoxState> {
  static constexpr const wchar_t* Name = L"TcxCheckBoxState";
  static constexpr const wchar_t* Names[] = {L"cbsUnchecked", L"cbsChecked", L"cbsGrayed"};
  static constexpr TcxCheckBoxState Last = cbsGrayed;
};
template <>
struct TEnumInfo<TcxCheckBoxNullValueShowingStyle> {
  static constexpr const wchar_t* Name = L"TcxCheckBoxNullValueShowingStyle";
  static constexpr const wchar_t* Names[] = {L"nssUnchecked", L"nssInactive", L"nssGrayedChecked"};
  static constexpr TcxCheckBoxNullValueShowingStyle Last = nssGrayedChecked;
};

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxProperties

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
  SK_CLASS(TcxCustomCheckBoxProperties, TcxCustomEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool AValue) { FAllowGrayed = AValue; }
  // Carries a caption read from old form data to the control.
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue);
  bool IsCaptionAssigned() const { return FIsCaptionAssigned; }
  void CaptionTaken() { FIsCaptionAssigned = false; }
  // The texts of the states, their defaults the editor's resource strings.
  String DisplayCheckState(TcxCheckBoxState AState) const;
  void SetDisplayCheckState(TcxCheckBoxState AState, const String& AValue);
  bool IsDisplayCheckedStored() const { return FIsDisplayCheckStateAssigned[cbsChecked]; }
  bool IsDisplayGrayedStored() const { return FIsDisplayCheckStateAssigned[cbsGrayed]; }
  bool IsDisplayUncheckedStored() const { return FIsDisplayCheckStateAssigned[cbsUnchecked]; }
  String DisplayChecked() const { return DisplayCheckState(cbsChecked); }
  void SetDisplayChecked(const String& AValue) { SetDisplayCheckState(cbsChecked, AValue); }
  String DisplayGrayed() const { return DisplayCheckState(cbsGrayed); }
  void SetDisplayGrayed(const String& AValue) { SetDisplayCheckState(cbsGrayed, AValue); }
  String DisplayUnchecked() const { return DisplayCheckState(cbsUnchecked); }
  void SetDisplayUnchecked(const String& AValue) { SetDisplayCheckState(cbsUnchecked, AValue); }
  bool FullFocusRect() const { return FFullFocusRect; }
  void SetFullFocusRect(bool AValue) { SetValue(FFullFocusRect, AValue); }
  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* AValue) { FGlyph->Assign(AValue); }
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int AValue) { SetValue(FGlyphCount, AValue); }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool AValue) { SetValue(FMultiLine, AValue); }
  TcxCheckBoxNullValueShowingStyle NullStyle() const { return FNullStyle; }
  void SetNullStyle(TcxCheckBoxNullValueShowingStyle AValue) { SetValue(FNullStyle, AValue); }
  bool ShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool AValue) { SetValue(FShowEndEllipsis, AValue); }
  bool UseAlignmentWhenInplace() const { return FUseAlignmentWhenInplace; }
  void SetUseAlignmentWhenInplace(bool AValue) { SetValue(FUseAlignmentWhenInplace, AValue); }
  // A value that would equal another of the three (or a Null checked or
  // unchecked value) is dropped, except while the owner is loading.
  const Variant& ValueChecked() const { return FValueChecked; }
  void SetValueChecked(const Variant& AValue);
  const Variant& ValueGrayed() const { return FValueGrayed; }
  void SetValueGrayed(const Variant& AValue);
  const Variant& ValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const Variant& AValue);
  bool IsValueCheckedStored() const;
  bool IsValueGrayedStored() const { return !FValueGrayed.IsNull(); }
  bool IsValueUncheckedStored() const;

  // The state an edit value stands for: checked, unchecked or else grayed.
  TcxCheckBoxState GetState(const Variant& AEditValue) const;
  // The strip in force; a button of a check group answers its group's.
  virtual TdxSmartGlyph* InternalGetGlyph() { return FGlyph.get(); }
  virtual bool IsGroupButton() { return false; }

  // TcxCustomEditProperties
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  TClass GetContainerClass() override;
  bool CanCompareEditValue() override { return true; }
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool HasOwnChangeNotification() override { return true; }
  bool IsActivationKey(wchar_t AKey) override { return AKey == L' '; }
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  bool IsResetEditClass() override { return true; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;
  bool ValidatesDisplayValue() override { return true; }

 protected:
  void DefineProperties(TFiler* AFiler) override;

 private:
  template <class T>
  void SetValue(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  void GlyphChanged(TObject*) { Changed(); }
  bool IsOwnerLoading();
  // Whether AValue equals one of the three values by type and value.
  bool IsOneOfTheValues(const Variant& AValue) const;
  void ReadCaption(TReader* AReader);

  bool FAllowGrayed = false;
  String FCaption;
  String FDisplayCheckState[3];
  bool FFullFocusRect = false;
  TOwned<TdxSmartGlyph> FGlyph;
  int FGlyphCount = 6;
  bool FIsCaptionAssigned = false;
  bool FIsDisplayCheckStateAssigned[3] = {false, false, false};
  bool FMultiLine = false;
  TcxCheckBoxNullValueShowingStyle FNullStyle = nssGrayedChecked;
  bool FShowEndEllipsis = false;
  bool FUseAlignmentWhenInplace = false;
  Variant FValueChecked;
  Variant FValueGrayed;
  Variant FValueUnchecked;
};

class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
  SK_CLASS(TcxCheckBoxProperties, TcxCustomCheckBoxProperties)
 public:
  static void Publish(TPublisher<TcxCheckBoxProperties>& P);
};

// ---------------------------------------------------------------------------
// TcxCheckBoxStyle

class TcxCheckBoxStyle : public TcxEditStyle {
  SK_CLASS(TcxCheckBoxStyle, TcxEditStyle)
 public:
  // The border style draws the check mark's frame, not a frame of the control.
  bool HasBorder() const override { return false; }
};

// ---------------------------------------------------------------------------
// TcxCustomCheckControlFadingHelper

class TcxCustomCheckBoxViewData;
class TcxCustomCheckBoxViewInfo;

// Fades a check mark between its normal and hot look.
class TcxCustomCheckControlFadingHelper : public TdxFadingObjectHelper {
  SK_CLASS(TcxCustomCheckControlFadingHelper, TdxFadingObjectHelper)
 public:
  virtual void Create(TcxCustomCheckBoxViewInfo* AViewInfo);

  TcxCustomCheckBoxViewInfo* ViewInfo() const { return FViewInfo; }
  // Starts or stops a fade when the mark's state changed since the last call.
  void UpdateState();
  // The mark's rectangle in the editor's window, without erasing.
  void Invalidate();

  // IdxFadingObject
  bool CanFade() override;
  void DrawFadeImage() override { Invalidate(); }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override;

 protected:
  // The mark in AState with the current check state, CheckBoxRect's size.
  virtual TOwned<TBitmap> PrepareFadingImage(TcxEditCheckState AState);

 private:
  TcxCustomCheckBoxViewInfo* FViewInfo = nullptr;
  TcxEditCheckState FState = ecsNormal;
};

class TcxCheckBoxFadingHelper : public TcxCustomCheckControlFadingHelper {
  SK_CLASS(TcxCheckBoxFadingHelper, TcxCustomCheckControlFadingHelper)
};

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxViewInfo

class TcxCustomCheckBoxViewInfo : public TcxCustomEditViewInfo {
  SK_CLASS(TcxCustomCheckBoxViewInfo, TcxCustomEditViewInfo)
 public:
  void Create() override;
  void Destroy() override;
  void Assign(TObject* ASource) override;
  void Offset(int DX, int DY) override;
  TOwned<TcxRegion> GetUpdateRegion(TcxContainerViewInfo* AViewInfo) override;
  bool IsHotTrack() const override { return true; }
  bool IsHotTrack(const TPoint&) const override { return true; }
  void SaveButtonStates() override;
  bool NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds, String& AText,
                    bool& AIsMultiLine, TRect& ATextRect, int AMaxLineCount = 0) override;
  using TcxCustomEditViewInfo::Repaint;
  bool Repaint(TWinControl* AControl, const TRect& AInnerEditRect, TcxContainerViewInfo* AViewInfo = nullptr) override;

  virtual TClass GetFadingHelperClass() const { return TcxCheckBoxFadingHelper::ClassInfo(); }
  static bool NeedsTextOffsetCorrection() { return true; }
  // Left, top, right, bottom at 96 DPI.
  static TRect CalculateContentOffset(bool AIsInplace, bool ACaptionVisible, TAlignment AAlignment);
  static int CalculateTextGap(bool AIsInplace, bool ANativeStyle);
  // The mark in ACheckState's look, as the paint draws it.
  void DrawCheckBoxMark(TcxCanvas* ACanvas, const TRect& R, TcxEditCheckState ACheckState);

  TAlignment Alignment = taLeftJustify;
  int CheckBorderOffset = 0;
  TcxEditBorderStyle CheckBoxBorderStyle = ebsNone;
  TdxSmartGlyph* CheckBoxGlyph = nullptr;
  int CheckBoxGlyphCount = 0;
  TcxEditCheckState CheckBoxLastState = ecsNormal;
  TRect CheckBoxRect;
  TSize CheckBoxSize;
  TcxEditCheckState CheckBoxState = ecsNormal;
  TRect FocusRect;
  bool HasGlyph = false;
  bool IsTextColorAssigned = false;
  TcxCheckBoxNullValueShowingStyle NullValueShowingStyle = nssGrayedChecked;
  TcxCheckBoxState State = cbsUnchecked;
  String Text;
  TRect TextRect;
  int DrawTextFlags = 0;
  // The caption drawn embossed: a standalone, disabled, non-native caption
  // without a colour of its own.
  bool DisabledText = false;
  TOwned<TcxCustomCheckControlFadingHelper> FadingHelper;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
};

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxViewData

class TcxCustomCheckBoxViewData : public TcxCustomEditViewData {
  SK_CLASS(TcxCustomCheckBoxViewData, TcxCustomEditViewData)
 public:
  TcxCustomCheckBoxProperties* Properties() const {
    return static_cast<TcxCustomCheckBoxProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TSize GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                           const TcxEditSizeProperties& AEditSizeProperties,
                           TcxEditValidateInfo* AErrorData = nullptr) override;

  // Library text flags of the caption, for drawing or for measuring.
  virtual int GetCaptionTextFlags(bool AMeasuring);
  virtual TRect CalculateCheckBoxRect(TcxCustomCheckBoxViewInfo* AViewInfo);
  virtual TcxEditCheckState CalculateCheckBoxState(TcxCustomCheckBoxViewInfo* AViewInfo, const TPoint& P,
                                                   TcxMouseButton Button, TShiftState Shift);
  virtual TRect CalculateFocusRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo);
  virtual TRect CalculateTextRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo* AViewInfo);
  // Scaled.
  virtual int GetTextGap();
  virtual TRect GetContentOffset(bool ACaptionVisible);

 protected:
  void AdjustContentExtent(TRect& AExtent) override;
  TSize CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                          TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) override;
  void InitDefaults() override;

 private:
  // The alignment of the properties, mirrored for right-to-left.
  TAlignment EffectiveAlignment();
  TAlignment FAlignment = taLeftJustify;
};

// ---------------------------------------------------------------------------
// TcxCheckBoxActionLink

class TcxCustomCheckBox;

// Keeps a check box's Checked in step with a TCustomAction's.
class TcxCheckBoxActionLink : public TControlActionLink {
  SK_CLASS(TcxCheckBoxActionLink, TControlActionLink)
 public:
  void Create(TcxCustomCheckBox* AClient);
  // Linked to the client's action, the client not grayed and its Checked
  // the action's.
  bool IsCheckedLinked() const;
  void SetChecked(bool AValue);
  void SetHint(const String& AValue);

 private:
  TcxCustomCheckBox* FClient = nullptr;
};

// ---------------------------------------------------------------------------
// TcxCustomCheckBox

class TcxCustomCheckBox : public TcxCustomEdit {
  SK_CLASS(TcxCustomCheckBox, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TcxCustomCheckBox>& P);

  TcxCustomCheckBoxProperties* ActiveProperties() {
    return static_cast<TcxCustomCheckBoxProperties*>(inherited::ActiveProperties());
  }
  TcxCustomCheckBoxProperties* Properties() const {
    return static_cast<TcxCustomCheckBoxProperties*>(InternalProperties());
  }
  TClass GetPropertiesClass() override { return TcxCheckBoxProperties::ClassInfo(); }
  TcxCustomCheckBoxViewInfo* ViewInfo() const {
    return static_cast<TcxCustomCheckBoxViewInfo*>(inherited::ViewInfo());
  }

  // The edit value's state; while loading the state written during the load.
  TcxCheckBoxState State();
  void SetState(TcxCheckBoxState AValue);
  bool IsStateStored() const;
  bool Transparent() { return ActiveProperties()->Transparent(); }
  void SetTransparent(bool AValue) { Properties()->SetTransparent(AValue); }
  // The Space key is held down on the check box.
  bool IsCheckPressed() const { return FIsCheckPressed; }
  // Checked written with clicks and change events locked; unlocking fires
  // nothing: the action link's writes.
  void SetCheckedSilently(bool AValue);

  // Unchecked, then grayed (AllowGrayed) or checked, then unchecked; posts
  // with ImmediatePost before the change events are released.
  virtual void Toggle();
  void Clear() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;
  TClass GetAccessibilityHelperClass() override;
  bool DefaultsToParentColor() override { return true; }
  TcxEditStateColorKind StyleStateIndex() override { return Enabled() ? esckNormal : esckDisabled; }

 protected:
  void Loaded() override;
  void InitializeEdit() override;
  TcxContainerStyleClass StyleClass() override { return TcxCheckBoxStyle::ClassInfo(); }
  TcxContainerStyleValues HiddenStyleValues() override {
    TcxContainerStyleValues values = inherited::HiddenStyleValues();
    values.Include(svEdges);
    return values;
  }
  void ApplyEditValue(const Variant& AValue) override;
  void ApplyDisplayValue(const Variant& AValue) override;
  void GetDisplayVariant(Variant& AValue) override { AValue = EditValue(); }
  void PropertiesChanged(TObject* Sender) override;
  void ExecuteDefaultAction() override { Toggle(); }
  bool CanClickWhileLoading() override { return IsBoundToDataStorage(); }
  bool CanAutoHeight() override { return true; }
  bool CanAutoWidth() override { return ActiveProperties()->Alignment()->Horz() != taCenter; }
  bool IsWordWrapped() override { return ActiveProperties()->MultiLine(); }
  bool IsFadingEnabled() override { return false; }
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  void ProcessKeyPress(wchar_t& Key) override;
  void ProcessKeyUp(WORD& Key, TShiftState Shift) override;
  void CompleteMouseClick() override;
  void DoExit() override;

  // Links the action's Checked through the check box's own action link.
  void ActionChange(TObject* Sender, bool ACheckDefaults) override;

  void CMDialogChar(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  // The platform check box's queries for outside clients: the state as
  // BST_ values, and a click.
  void BMGetCheck(TMessage& Message);
  void BMClick(TMessage& Message);

 private:
  bool FIsCheckPressed = false;
  bool FIsLoaded = false;
  bool FIsLoadingStateAssigned = false;
  TcxCheckBoxState FLoadingState = cbsUnchecked;
  // The Checked part of the link to the control's action; the class
  // library's link carries the rest.
  TOwned<TcxCheckBoxActionLink> FCheckedActionLink;
};

class TcxCheckBox : public TcxCustomCheckBox {
  SK_CLASS(TcxCheckBox, TcxCustomCheckBox)
 public:
  static void Publish(TPublisher<TcxCheckBox>& P);

  TcxCheckBoxProperties* Properties() const { return static_cast<TcxCheckBoxProperties*>(InternalProperties()); }
  void SetProperties(TcxCheckBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
  TcxCheckBoxProperties* ActiveProperties() {
    return static_cast<TcxCheckBoxProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCheckBoxStyle* Style() const { return static_cast<TcxCheckBoxStyle*>(TcxCustomEdit::Style()); }

  // True exactly when the state is checked; writing sets checked or
  // unchecked, never grayed.
  bool Checked() { return State() == cbsChecked; }
  void SetChecked(bool AValue) { SetState(AValue ? cbsChecked : cbsUnchecked); }
};

// ---------------------------------------------------------------------------
// TdxCheckBoxAccessibilityHelper

class TdxCheckBoxAccessibilityHelper : public TdxEditAccessibilityHelper {
  SK_CLASS(TdxCheckBoxAccessibilityHelper, TdxEditAccessibilityHelper)
 protected:
  void DoDefaultAction(int AChildID) override;
  String GetDefaultActionDescription(int AChildID) override;
  int GetRole(int) override { return ROLE_SYSTEM_CHECKBUTTON; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int) override { return aopDefaultAction | aopFocus | aopLocation; }
};

// Unit start-up and shut-down: the properties class with the editor
// repository, the classes by name.
void cxCheckBoxInitialization();
void cxCheckBoxFinalization();

// -- check-state value formats
// The states of many check items packed into one edit value, and the item
// collection that carries their captions (cxCheckBox_Formats.cpp).

using TcxCheckStates = std::vector<TcxCheckBoxState>;

enum TcxCheckStatesValueFormatEx { cvfCaptions, cvfIndices, cvfInteger, cvfStatesString, cvfCustom };
using TcxCheckStatesValueFormat = TcxCheckStatesValueFormatEx;  // cvfCaptions .. cvfStatesString

template <>
struct TEnumInfo<TcxCheckStatesValueFormatEx> {
  static constexpr const wchar_t* Name = L"TcxCheckStatesValueFormat";
  static constexpr const wchar_t* Names[] = {L"cvfCaptions", L"cvfIndices", L"cvfInteger", L"cvfStatesString",
                                             L"cvfCustom"};
  static constexpr TcxCheckStatesValueFormatEx Last = cvfCustom;
};

// The most items whose states a cvfInteger value holds.
inline constexpr int cxIntegerFormatMaxItems = 64;

// Raises the item-count error when AFormat cannot hold ACount items' states.
void CheckItemCountForFormat(TcxCheckStatesValueFormatEx AFormat, int ACount);

using TcxCheckStatesToValueEvent =
    Delegate<void(TObject* Sender, const TcxCheckStates& ACheckStates, Variant& AValue)>;
using TcxValueToCheckStatesEvent =
    Delegate<void(TObject* Sender, const Variant& AValue, TcxCheckStates& ACheckStates)>;

// What the conversions read of the items: captions and count.
struct IcxCheckItems : public virtual IInterface {
  static constexpr GUID IID = {0x5BF13228, 0xCF05, 0x4741, {0x98, 0x33, 0xF2, 0xB8, 0xFB, 0xFD, 0x57, 0xED}};
  virtual String GetItemCaption(int AIndex) = 0;
  virtual int GetCount() = 0;

 protected:
  ~IcxCheckItems() = default;
};

class TcxCaptionItem : public TCollectionItem {
  SK_CLASS(TcxCaptionItem, TCollectionItem)
 public:
  void Assign(TPersistent* ASource) override;

  const String& Caption() const { return FCaption; }
  // A new text re-sorts a sorted collection, else reports the item changed.
  void SetCaption(const String& AValue);
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }

 private:
  String FCaption;
  std::intptr_t FTag = 0;
};

class TcxCaptionItems : public TcxOwnedInterfacedCollection, public IcxCheckItems {
  SK_CLASS(TcxCaptionItems, TcxOwnedInterfacedCollection)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCaptionItem* GetItem(int AIndex) const { return static_cast<TcxCaptionItem*>(Items(AIndex)); }
  void SetItem(int AIndex, TcxCaptionItem* AValue) { SetItems(AIndex, AValue); }

  String GetItemCaption(int AIndex) override { return GetItem(AIndex)->Caption(); }
  int GetCount() override { return Count(); }

 protected:
  // By caption, ignoring case as the locale does.
  int DoCompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2) override;
};

// Null for cvfCustom or a format outside the four.
Variant CheckStatesToEditValue(const TcxCheckStates& ACheckStates, IcxCheckItems* AItems,
                               TcxCheckStatesValueFormatEx AFormat);
// ACheckStates always ends with one state per item. A value that cannot be
// read (wrong kind, malformed text, a number without a 64-bit integer form)
// answers False and leaves every item unchecked; it never raises.
bool EditValueToCheckStates(const Variant& AValue, IcxCheckItems* AItems, TcxCheckStatesValueFormatEx AFormat,
                            TcxCheckStates& ACheckStates);
