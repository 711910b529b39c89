// The editor model: every editor is a TcxCustomEdit paired with a
// TcxCustomEditProperties.
//
// Classes in this file:
//   EcxEditError                      the editors' exception
//   TcxCustomEditStyle, TcxEditStyle  an editor's look in one state (cxEdit_Styles.cpp)
//   TcxEditStyleController            four styles shared between editors
//   TcxEditAlignment                  the alignment of an editor's content
//   TcxCaptionSize                    a caption measured for sizing a control to it
//   TcxEditButtonActionLink           a button's link to an action (cxEdit_Buttons.cpp)
//   TcxCustomEditButton, TcxEditButton  a button at a side of an editor
//   TcxCustomEditButtons, TcxEditButtons  the buttons of an editor's properties
//   EcxEditValidationError            a failed validation reported by exception
//   TcxEditValidationOption(s)        how a failed validation is reported
//   TcxEditErrorType                  the kind of error a paint record shows
//   TcxEditValidateInfo               an error's kind, text and icon for painting
//   TcxEditButtonViewInfo             one button of a paint record (cxEdit_ViewInfo.cpp)
//   TcxEditButtonFadingHelper         a button's fade between normal and hot
//   TcxCustomEditViewInfo             an editor's paint record (cxEdit_ViewInfo.cpp)
//   TcxCustomEditDefaultValuesProvider  defaults an editor takes from its value source
//   TcxCustomEditPropertiesValues     which settings were assigned explicitly
//   TcxCustomEditProperties           the settings of an editor kind
//   TcxEditContentParams, TcxEditSizeProperties  content margins; a measuring request
//   TcxCustomEditViewData             the layout calculator (cxEdit_ViewData.cpp)
//   TcxEditChangeEventsCatcher        change events caught while they are locked
//   TcxEditDataBinding                an editor's link to a value source (none here)
//   IcxCustomInnerEdit, IcxInnerEditHelper  the editing interface of the hosted window
//   IcxEditRepositoryItemListener     an editor that uses a repository item
//   TcxCustomEditData                 what an in-place editor keeps per row (cxEdit_Inplace.cpp)
//   TcxEditListItem, TcxInplaceEditList  the pool of in-place editors
//   TdxEditChildAccessibilityHelper   a child node of an editor (cxEdit_Accessibility.cpp)
//   TdxEditButtonAccessibilityHelper  an editor button's accessibility node
//   TdxEditAccessibilityHelper        an editor's accessibility node
//   TcxCustomEditContainer            the container an editor stands on (cxEdit_Container.cpp)
//   TcxCustomEdit                     the editor (layout and painting: cxEdit_Painting.cpp;
//                                     automatic size and anchors: cxEdit_Sizing.cpp)
//
// Also the editors' shared routines: value comparison, shift states of mouse
// buttons, selection colours, synthetic messages, the process-wide list of
// properties objects and the sorted registry of properties classes.
//
// One chain carries a settings change to the screen: a setter of the
// properties calls Changed; unless an update bracket is open, changes are
// locked or the owner is going away, OnPropertiesChanged reaches every editor
// that uses the object (its own editor, or each listener of a repository
// item), whose PropertiesChanged re-reads the settings and refreshes.
//
// One path carries a value into an editor: EditValue / InternalEditValue ->
// ApplyEditValue -> StoreEditValue, then EditValueChanged and NotifyChange
// when the value differs and the properties can compare values.
#pragma once

#include "library/controls/container/cxContainer.h"
#include "library/core/data/cxDataUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

class TcxCustomEdit;
class TcxCustomEditProperties;
class TcxEditRepositoryItem;
class TcxCustomEditViewData;
class TcxCustomFilterEditHelper;

// ---------------------------------------------------------------------------
// Editor styles

// The editors' exception: what an editor, its masks and its validation raise.
class EcxEditError : public EdxException { public: using EdxException::EdxException; };

// The container's border styles under the editors' names (same ordinals).
enum TcxEditBorderStyle { ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11 };
template <>
struct TEnumInfo<TcxEditBorderStyle> {
  static constexpr const wchar_t* Name = L"TcxEditBorderStyle";
  static constexpr const wchar_t* Names[] = {L"ebsNone", L"ebsSingle",     L"ebsThick",   L"ebsFlat",
                                             L"ebs3D",   L"ebsUltraFlat", L"ebsOffice11"};
  static constexpr TcxEditBorderStyle Last = ebsOffice11;
};

enum TcxEditButtonStyle { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat, btsOffice11 };
template <>
struct TEnumInfo<TcxEditButtonStyle> {
  static constexpr const wchar_t* Name = L"TcxEditButtonStyle";
  static constexpr const wchar_t* Names[] = {L"btsDefault",  L"bts3D",        L"btsFlat",    L"btsSimple",
                                             L"btsHotFlat", L"btsUltraFlat", L"btsOffice11"};
  static constexpr TcxEditButtonStyle Last = btsOffice11;
};

enum TcxEditButtonTransparency { ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected };
template <>
struct TEnumInfo<TcxEditButtonTransparency> {
  static constexpr const wchar_t* Name = L"TcxEditButtonTransparency";
  static constexpr const wchar_t* Names[] = {L"ebtNone", L"ebtInactive", L"ebtAlways", L"ebtHideInactive",
                                             L"ebtHideUnselected"};
  static constexpr TcxEditButtonTransparency Last = ebtHideUnselected;
};

// The four directions of TcxDirection (dirLeft .. dirDown), without dirNone.
using TcxEditGradientDirection = TcxDirection;

// TcxEditPopupBorderStyle comes with the painters, which draw it.
template <>
struct TEnumInfo<TcxEditPopupBorderStyle> {
  static constexpr const wchar_t* Name = L"TcxEditPopupBorderStyle";
  static constexpr const wchar_t* Names[] = {L"epbsDefault", L"epbsSingle", L"epbsFrame3D", L"epbsFlat"};
  static constexpr TcxEditPopupBorderStyle Last = epbsFlat;
};

enum TcxEditVertAlignment { taTopJustify, taBottomJustify, taVCenter };
template <>
struct TEnumInfo<TcxEditVertAlignment> {
  static constexpr const wchar_t* Name = L"TcxEditVertAlignment";
  static constexpr const wchar_t* Names[] = {L"taTopJustify", L"taBottomJustify", L"taVCenter"};
  static constexpr TcxEditVertAlignment Last = taVCenter;
};

enum TcxBlobKind { bkNone, bkBlob, bkGraphic, bkMemo, bkOle };
template <>
struct TEnumInfo<TcxBlobKind> {
  static constexpr const wchar_t* Name = L"TcxBlobKind";
  static constexpr const wchar_t* Names[] = {L"bkNone", L"bkBlob", L"bkGraphic", L"bkMemo", L"bkOle"};
  static constexpr TcxBlobKind Last = bkOle;
};

// The style values an editor style adds after the container's ten.
constexpr TcxContainerStyleValue svButtonStyle = static_cast<TcxContainerStyleValue>(10);
constexpr TcxContainerStyleValue svButtonTransparency = static_cast<TcxContainerStyleValue>(11);
constexpr TcxContainerStyleValue svPopupBorderStyle = static_cast<TcxContainerStyleValue>(12);
constexpr TcxContainerStyleValue svGradientButtons = static_cast<TcxContainerStyleValue>(13);
constexpr TcxContainerStyleValue svGradient = static_cast<TcxContainerStyleValue>(14);
constexpr TcxContainerStyleValue svGradientDirection = static_cast<TcxContainerStyleValue>(15);
constexpr int cxEditStyleValueCount = 16;

class TcxEditStyleController;

// An editor's look in one state. Each value resolves through the style, the
// style controller's style of the same state and then the defaults: a state
// style falls back on the normal style, the normal style on constants and
// the look-and-feel kind. Normal-only values written on a state style land
// on the normal style.
class TcxCustomEditStyle : public TcxContainerStyle {
  SK_CLASS(TcxCustomEditStyle, TcxContainerStyle)
 public:
  static void Publish(TPublisher<TcxCustomEditStyle>& P);

  // AOwner is the editor, or the style controller for a controller's styles.
  void Create(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle = nullptr,
              TcxContainerStateItem AState = csNormal) override;
  void Assign(TPersistent* ASource) override;
  bool IsValueAssigned(TcxContainerStyleValue AValue) const override;
  int GetStyleValueCount() const override { return cxEditStyleValueCount; }
  bool GetStyleValueName(TcxContainerStyleValue AValue, String& AName) const override;
  // Colour, font and text colour from AParams, reported as one change.
  void Init(const TcxViewParams& AParams);

  TcxEditBorderStyle BorderStyle() const { return static_cast<TcxEditBorderStyle>(inherited::BorderStyle()); }
  void SetBorderStyle(TcxEditBorderStyle AValue) {
    inherited::SetBorderStyle(static_cast<TcxContainerBorderStyle>(AValue));
  }
  TcxEditButtonStyle ButtonStyle() const;
  void SetButtonStyle(TcxEditButtonStyle AValue);
  TcxEditButtonTransparency ButtonTransparency() const;
  void SetButtonTransparency(TcxEditButtonTransparency AValue);
  bool Gradient() const;
  void SetGradient(bool AValue);
  bool GradientButtons() const;
  void SetGradientButtons(bool AValue);
  TcxEditGradientDirection GradientDirection() const;
  void SetGradientDirection(TcxEditGradientDirection AValue);
  TcxEditPopupBorderStyle PopupBorderStyle() const;
  void SetPopupBorderStyle(TcxEditPopupBorderStyle AValue);
  // The normal style's: whether a drop-down window shows a close button.
  bool PopupCloseButton() const;

  // The owner when it is an editor.
  TcxCustomEdit* Edit() const;
  TcxEditStyleController* ActiveStyleController() const;
  TcxEditStyleController* StyleController() const;
  void SetStyleController(TcxEditStyleController* AValue);
  TcxCustomEditStyle* BaseStyle();

 protected:
  TcxContainerStyleValues ExtendedHiddenValues() const override;
  virtual TcxEditButtonStyle DefaultButtonStyle() const;
  virtual TcxEditButtonTransparency DefaultButtonTransparency() const;
  virtual bool DefaultGradient() const;
  virtual bool DefaultGradientButtons() const;
  virtual TcxEditGradientDirection DefaultGradientDirection() const;
  virtual TcxEditPopupBorderStyle DefaultPopupBorderStyle() const;

 private:
  const TcxCustomEditStyle* Parent() const;
  // The first style of the chain (this one, then the controllers' styles of
  // this state) that assigns AValue, or nil.
  const TcxCustomEditStyle* AssigningEditStyle(TcxContainerStyleValue AValue) const;
  template <class T>
  T ReadValue(TcxContainerStyleValue AValue, T TcxCustomEditStyle::*AField,
              T (TcxCustomEditStyle::*ADefault)() const) const;
  template <class T>
  void WriteValue(TcxContainerStyleValue AValue, T TcxCustomEditStyle::*AField, const T& ANewValue);
  bool IsEditValueStored(TcxContainerStyleValue AValue) const;
  template <TcxContainerStyleValue V>
  bool IsStored() const { return IsEditValueStored(V); }
  bool IsStyleControllerStored() const { return State() == csNormal && StyleController(); }

  TcxEditButtonStyle FButtonStyle;
  TcxEditButtonTransparency FButtonTransparency;
  bool FGradient;
  bool FGradientButtons;
  TcxEditGradientDirection FGradientDirection;
  TcxEditPopupBorderStyle FPopupBorderStyle;
  bool FPopupCloseButton;
};

class TcxEditStyle : public TcxCustomEditStyle {
  SK_CLASS(TcxEditStyle, TcxCustomEditStyle)
};

// A component whose four styles many editors share.
class TcxEditStyleController : public TcxStyleController {
  SK_CLASS(TcxEditStyleController, TcxStyleController)
 public:
  static void Publish(TPublisher<TcxEditStyleController>& P);

  TcxEditStyle* GetInternalStyle(TcxContainerStateItem AState) const;
  void SetInternalStyle(TcxContainerStateItem AState, TcxEditStyle* AValue) {
    inherited::SetInternalStyle(AState, AValue);
  }
  TcxEditStyle* Style() const { return GetInternalStyle(csNormal); }
  void SetStyle(TcxEditStyle* AValue) { SetInternalStyle(csNormal, AValue); }
  TcxEditStyle* StyleDisabled() const { return GetInternalStyle(csDisabled); }
  void SetStyleDisabled(TcxEditStyle* AValue) { SetInternalStyle(csDisabled, AValue); }
  TcxEditStyle* StyleFocused() const { return GetInternalStyle(csActive); }
  void SetStyleFocused(TcxEditStyle* AValue) { SetInternalStyle(csActive, AValue); }
  TcxEditStyle* StyleHot() const { return GetInternalStyle(csHotTrack); }
  void SetStyleHot(TcxEditStyle* AValue) { SetInternalStyle(csHotTrack, AValue); }

 protected:
  TcxContainerStyleClass GetStyleClass() const override;
};

// The controller every editor style joins when it names none; made at the
// editors' start-up and freed at their shut-down (nil outside that span).
TcxEditStyleController* DefaultEditStyleController();

// The horizontal and vertical alignment of an editor's content.
class TcxEditAlignment : public TPersistent {
  SK_CLASS(TcxEditAlignment, TPersistent)
 public:
  static void Publish(TPublisher<TcxEditAlignment>& P);

  void Create(TPersistent* AOwner, TAlignment ADefaultHorzAlignment = taLeftJustify,
              TcxEditVertAlignment ADefaultVertAlignment = taTopJustify);
  void Assign(TPersistent* ASource) override;
  // Forgets that Horz was assigned; the value stays.
  void Reset();

  TAlignment Horz() const { return FHorz; }
  void SetHorz(TAlignment AValue);
  TcxEditVertAlignment Vert() const { return FVert; }
  void SetVert(TcxEditVertAlignment AValue);
  bool IsHorzAssigned() const { return FIsHorzAssigned; }
  bool IsHorzStored() const { return FIsHorzAssigned || FHorz != FDefaultHorzAlignment; }
  bool IsVertStored() const { return FVert != FDefaultVertAlignment; }

  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void Changed() { CallEvent(FOnChanged, this); }

  TcxEditVertAlignment FDefaultVertAlignment;
  TAlignment FHorz;
  TAlignment FDefaultHorzAlignment;
  bool FIsHorzAssigned;
  TPersistent* FOwner;
  TcxEditVertAlignment FVert;
  TNotifyEvent FOnChanged;
};

// A caption as a control that sizes itself to it measures it: the width of
// the text without its accelerator marks, and the font's line height.
struct TcxCaptionSize {
  int Width = 0;
  int LineHeight = 0;
};
TcxCaptionSize cxCaptionSize(TFont* AFont, const String& ACaption);

// ---------------------------------------------------------------------------
// Editor buttons

enum TcxEditButtonKind { bkEllipsis, bkDown, bkGlyph, bkText };
template <>
struct TEnumInfo<TcxEditButtonKind> {
  static constexpr const wchar_t* Name = L"TcxEditButtonKind";
  static constexpr const wchar_t* Names[] = {L"bkEllipsis", L"bkDown", L"bkGlyph", L"bkText"};
  static constexpr TcxEditButtonKind Last = bkText;
};

// ebsSelected is the hot state.
enum TcxEditButtonState { ebsDisabled, ebsNormal, ebsPressed, ebsSelected };
template <>
struct TEnumInfo<TcxEditButtonState> {
  static constexpr const wchar_t* Name = L"TcxEditButtonState";
  static constexpr const wchar_t* Names[] = {L"ebsDisabled", L"ebsNormal", L"ebsPressed", L"ebsSelected"};
  static constexpr TcxEditButtonState Last = ebsSelected;
};

class TcxCustomEditButton;

// Lets a button follow an action: a value counts as linked while the
// button's value equals the action's.
class TcxEditButtonActionLink : public TActionLink {
  SK_CLASS(TcxEditButtonActionLink, TActionLink)
 public:
  void Create(TcxCustomEditButton* AClient);
  TcxCustomEditButton* Client() const { return FClient; }
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  virtual bool IsImageIndexLinked() const;
  bool IsVisibleLinked() const override;

 private:
  TcxCustomEditButton* FClient;
};

// A button at a side of an editor: the drop-down arrow, an ellipsis, a glyph
// or a text button. Every effective change reaches the collection's OnChange.
class TcxCustomEditButton : public TCollectionItem {
  SK_CLASS(TcxCustomEditButton, TCollectionItem)
 public:
  void Create(TCollection* ACollection) override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  virtual TBasicAction* Action() const;
  void SetAction(TBasicAction* AValue);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue);
  TAlignment ContentAlignment() const { return FContentAlignment; }
  void SetContentAlignment(TAlignment AValue) { SetField(FContentAlignment, AValue); }
  // At most one button of a collection is the default one.
  bool Default() const { return FDefault; }
  void SetDefault(bool AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue) { SetField(FEnabled, AValue); }
  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* AValue) { FGlyph->Assign(AValue); }
  // Stored without a change report.
  const String& Hint() const { return FHint; }
  void SetHint(const String& AValue) { FHint = AValue; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue) { SetField(FImageIndex, AValue); }
  TcxEditButtonKind Kind() const { return FKind; }
  void SetKind(TcxEditButtonKind AValue) { SetField(FKind, AValue); }
  bool LeftAlignment() const { return FLeftAlignment; }
  void SetLeftAlignment(bool AValue) { SetField(FLeftAlignment, AValue); }
  bool Stretchable() const { return FStretchable; }
  void SetStretchable(bool AValue) { SetField(FStretchable, AValue); }
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor AValue) { SetField(FTextColor, AValue); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { SetField(FVisible, AValue); }
  // The caption without its accelerator markers.
  const String& VisibleCaption() const { return FVisibleCaption; }
  // 0: the layout's default width.
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { SetField(FWidth, AValue); }
  TcxEditButtonActionLink* ActionLink() const { return FActionLink.get(); }

  virtual void ChangeScale(int M, int D) { SetWidth(MulDiv(FWidth, M, D)); }
  virtual void ActionFreed(TBasicAction* AAction);
  virtual TClass GetButtonActionLinkClass() const { return TcxEditButtonActionLink::ClassInfo(); }
  virtual void UpdateActionLink();

 protected:
  // Copies the action's values; with ACheckDefaults only into values the
  // button still has at their defaults.
  virtual void ApplyActionValues(TObject* ASender, bool ACheckDefaults);
  bool IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
  bool IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
  bool IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
  bool IsImageIndexStored() const { return !FActionLink || !FActionLink->IsImageIndexLinked(); }
  bool IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
  bool IsTagStored() const { return FTag != 0; }

 private:
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed(false);
  }
  void ActionLinkChanged(TObject* Sender);
  void GlyphChanged(TObject*) { Changed(false); }

  TOwned<TcxEditButtonActionLink> FActionLink;
  String FCaption;
  TAlignment FContentAlignment;
  bool FDefault;
  bool FEnabled;
  TOwned<TdxSmartGlyph> FGlyph;
  String FHint;
  int FImageIndex;
  TcxEditButtonKind FKind;
  bool FLeftAlignment;
  bool FStretchable;
  std::intptr_t FTag;
  TColor FTextColor;
  bool FVisible;
  String FVisibleCaption;
  int FWidth;
};

class TcxEditButton : public TcxCustomEditButton {
  SK_CLASS(TcxEditButton, TcxCustomEditButton)
 public:
  static void Publish(TPublisher<TcxEditButton>& P);

 private:
  // A stored test of the base class as one of this class, for publishing.
  template <bool (TcxCustomEditButton::*AIsStored)() const>
  bool IsStored() const {
    return (this->*AIsStored)();
  }
};

// The buttons of an editor's properties.
class TcxCustomEditButtons : public TCollection {
  SK_CLASS(TcxCustomEditButtons, TCollection)
 public:
  // AButtonClass: a TcxCustomEditButton class.
  virtual void Create(TPersistent* AOwner, TClass AButtonClass);
  void Destroy() override;

  static TClass GetButtonClass() { return TcxCustomEditButton::ClassInfo(); }
  TcxCustomEditButton* Items(int AIndex) const { return static_cast<TcxCustomEditButton*>(inherited::Items(AIndex)); }
  void SetItems(int AIndex, TcxCustomEditButton* AValue) { inherited::SetItems(AIndex, AValue); }
  int VisibleCount() const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue) { FImages = AValue; }

  virtual void ChangeScale(int M, int D);
  virtual void UpdateActionLinks();

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }
  void Update(TCollectionItem* AItem) override;
  virtual void ActionFreeNotification(TComponent* AComponent);

 private:
  friend class TcxCustomEditButton;
  // Watches AAction so that freeing it clears every button's Action.
  void WatchAction(TBasicAction* AAction);
  void UnwatchAction(TBasicAction* AAction);

  TcxFreeNotificator* FFreeNotificator;
  TPersistent* FOwner;
  TCustomImageList* FImages;
  TNotifyEvent FOnChange;
};

class TcxEditButtons : public TcxCustomEditButtons {
  SK_CLASS(TcxEditButtons, TcxCustomEditButtons)
 public:
  static TClass GetButtonClass() { return TcxEditButton::ClassInfo(); }
  TcxEditButton* Items(int AIndex) const { return static_cast<TcxEditButton*>(inherited::Items(AIndex)); }
  void SetItems(int AIndex, TcxEditButton* AValue) { inherited::SetItems(AIndex, AValue); }
  TcxEditButton* Add() { return static_cast<TcxEditButton*>(TCollection::Add()); }
};

// ---------------------------------------------------------------------------
// Validation options and errors

class EcxEditValidationError : public EcxEditError { public: using EcxEditError::EcxEditError; };

enum TcxEditValidationOption { evoRaiseException, evoShowErrorIcon, evoAllowLoseFocus };
template <>
struct TEnumInfo<TcxEditValidationOption> {
  static constexpr const wchar_t* Name = L"TcxEditValidationOption";
  static constexpr const wchar_t* Names[] = {L"evoRaiseException", L"evoShowErrorIcon", L"evoAllowLoseFocus"};
  static constexpr TcxEditValidationOption Last = evoAllowLoseFocus;
};
using TcxEditValidationOptions = TSet<TcxEditValidationOption>;

enum TcxEditErrorType { eetNone, eetError, eetWarning, eetInfo, eetCustom };
template <>
struct TEnumInfo<TcxEditErrorType> {
  static constexpr const wchar_t* Name = L"TcxEditErrorType";
  static constexpr const wchar_t* Names[] = {L"eetNone", L"eetError", L"eetWarning", L"eetInfo", L"eetCustom"};
  static constexpr TcxEditErrorType Last = eetCustom;
};

// The shared glyph of eetError, eetWarning or eetInfo (nullptr for the other
// kinds), loaded from the program's bitmap resources on first use and kept
// until cxEditFinalization. A program without the resources gets
// EResNotFound and nothing is cached.
TdxSmartGlyph* cxEditStandardGlyph(TcxEditErrorType AType);

// What a paint record shows of a failed validation. The icon is made on the
// first read of ErrorIcon and holds a copy, never a shared glyph.
class TcxEditValidateInfo : public TObject {
  SK_CLASS(TcxEditValidateInfo, TObject)
 public:
  TdxSmartGlyph* ErrorIcon();
  // A copy of AValue; nullptr frees the icon.
  void SetErrorIcon(TdxSmartImage* AValue);
  String ErrorText() const { return FErrorText; }
  void SetErrorText(const String& AValue) { FErrorText = AValue; }
  TcxEditErrorType ErrorType() const { return FErrorType; }
  // eetNone clears the icon, the standard kinds copy their glyph into it,
  // eetCustom keeps whatever icon was given.
  void SetErrorType(TcxEditErrorType AValue);

  bool IsError() const { return FErrorType != eetNone; }
  bool HasErrorIcon() const;
  void Reset();

 private:
  void ClearIcon();

  TOwned<TdxSmartGlyph> FErrorIcon;
  String FErrorText;
  TcxEditErrorType FErrorType;
};

enum TcxEditButtonsViewStyle { bvsNormal, bvsButtonsOnly, bvsButtonsAutoWidth };
template <>
struct TEnumInfo<TcxEditButtonsViewStyle> {
  static constexpr const wchar_t* Name = L"TcxEditButtonsViewStyle";
  static constexpr const wchar_t* Names[] = {L"bvsNormal", L"bvsButtonsOnly", L"bvsButtonsAutoWidth"};
  static constexpr TcxEditButtonsViewStyle Last = bvsButtonsAutoWidth;
};

// -- value formatting and operations of editor kinds
// dfoSupports: the kind can show the provider's display format;
// dfoNoCurrencyValue: the provider's test is made without currency values.
enum TcxEditDisplayFormatOption { dfoSupports, dfoNoCurrencyValue };
using TcxEditDisplayFormatOptions = TSet<TcxEditDisplayFormatOption>;
// Which value of a bound field an editor edits: the value or its text.
using TcxEditValueSource = TcxDataEditValueSource;
enum TcxEditSupportedOperation {
  esoAlwaysHotTrack, esoAutoHeight, esoAutoWidth, esoEditing, esoEditingAutoHeight, esoFiltering,
  esoHorzAlignment, esoHotTrack, esoIncSearch, esoNeedHandle, esoShowingCaption, esoSorting, esoTransparency
};
using TcxEditSupportedOperations = TSet<TcxEditSupportedOperation>;
// -- end of value formatting and operations of editor kinds

using TcxEditEditingEvent = Delegate<void(TObject*, bool&)>;
using TcxEditValidateEvent = Delegate<void(TObject*, Variant&, String&, bool&)>;
using TcxEditButtonClickEvent = Delegate<void(TObject*, int)>;

// ---------------------------------------------------------------------------
// Shared routines

// Both numeric (binary-coded decimals too), both of one Variant type, or both strings.
bool EditValuesComparable(const Variant& A, const Variant& B);
// The comparison an editor makes when it stores a value: comparable and equal
// (a Boolean against a non-Null value by both texts).
bool EditValuesEqual(const Variant& A, const Variant& B);
// One Variant type and equal by the same rule.
bool IsSameEditValue(const Variant& A, const Variant& B);

// The shift state of a mouse button; a button outside the three has none.
TShiftState MouseButtonToShift(TMouseButton AButton);
// 1 left, 2 right, 3 middle; anything else has none.
TShiftState ButtonNumberToShift(int ANumber);

// clDefault means "not chosen": fills in the selection colours a text editor
// paints with; on an editor coloured clHighlight the defaults become white on black.
void ResolveDefaultSelectionColors(TColor& ATextColor, TColor& ABackgroundColor, TColor AStyleColor);

// The first component up the owner chain of AProperties, or nil.
TComponent* GetPropertiesOwnerComponent(TPersistent* AProperties);
TcxCustomEdit* GetNonInplaceEdit(TcxCustomEdit* AEdit);

// Sent to the control's window, which must exist.
LRESULT SendMouseMessage(TWinControl* AReceiver, UINT AMessage, TShiftState AShift, const TPoint& P);
LRESULT SendEditKeyMessage(TWinControl* AReceiver, UINT AMessage, WORD AKey, TShiftState AShift);
LRESULT SendEditKeyDown(TWinControl* AReceiver, WORD AKey, TShiftState AShift);
LRESULT SendEditKeyPress(TWinControl* AReceiver, wchar_t AKey);

// ADest := ADest or ASource, in place.
void CombineRegionsOr(HRGN ADest, HRGN ASource);
// #0, Tab, LF, FF, CR and space.
bool IsWhiteSpaceChar(wchar_t C);

// Every live properties object, in creation order.
const std::vector<TcxCustomEditProperties*>& EditPropertiesList();
// The properties classes of the editor kinds, sorted by description
// ("Description|Hint"), case-insensitively in the user's locale.
TcxRegisteredClasses* GetRegisteredEditProperties();

// The beep of BeepOnError (MessageBeep(0) unless replaced; an empty function
// restores it).
void SetEditErrorBeep(std::function<void()> ABeep);

// Start-up of the editor model: the default editor style controller, which
// also becomes the containers' default one.
void cxEditInitialization();
// Shut-down of the editor model: the standard validation glyphs, the default
// editor style controller and the registry of properties classes go.
void cxEditFinalization();

// ---------------------------------------------------------------------------
// TcxCustomEditDefaultValuesProvider

// What an editor falls back on when its properties leave a setting
// unassigned. This base stands for "no value source": every value lives in the
// editor.
class TcxCustomEditDefaultValuesProvider : public TObject {
  SK_CLASS(TcxCustomEditDefaultValuesProvider, TObject)
 public:
  virtual void Create(TPersistent* AOwner) { FOwner = AOwner; }
  TPersistent* Owner() const { return FOwner; }
  // Lets go of every properties object that uses this provider first.
  void Destroy() override;
  // Every properties object whose DefaultValuesProvider is this one drops it.
  void ClearUsers();

  virtual bool CanSetEditMode() { return true; }
  virtual bool DefaultCanModify() { return true; }
  virtual bool DefaultReadOnly() { return false; }
  // The horizontal alignment of content whose properties leave it unassigned.
  virtual TAlignment DefaultAlignment() { return taLeftJustify; }
  virtual bool IsDataAvailable() { return true; }
  virtual bool IsDataStorage() { return false; }
  virtual bool DefaultMaxValue(double& AValue) { (void)AValue; return false; }
  virtual bool DefaultMinValue(double& AValue) { (void)AValue; return false; }
  // -- defaults of formatted text editors
  virtual String DefaultDisplayFormat() { return String(); }
  virtual String DefaultEditFormat() { return String(); }
  virtual int DefaultMaxLength() { return 0; }
  virtual int DefaultPrecision() { return 15; }
  virtual bool IsCurrency() { return false; }
  virtual bool IsDisplayFormatDefined(bool AIsCurrencyValueAccepted) { (void)AIsCurrencyValueAccepted; return false; }
  // -- end of defaults of formatted text editors

 private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// TcxCustomEditPropertiesValues

class TcxCustomEditPropertiesValues : public TPersistent {
  SK_CLASS(TcxCustomEditPropertiesValues, TPersistent)
 public:
  virtual void Create(TcxCustomEditProperties* AOwner) { FOwner = AOwner; }
  void Assign(TPersistent* ASource) override;
  virtual void RestoreDefaults();

  bool MaxValue() const { return FMaxValue; }
  void SetMaxValue(bool AValue) { SetFlag(FMaxValue, AValue); }
  bool MinValue() const { return FMinValue; }
  void SetMinValue(bool AValue) { SetFlag(FMinValue, AValue); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool AValue) { SetFlag(FReadOnly, AValue); }

 protected:
  TPersistent* GetOwner() override;

 private:
  void SetFlag(bool& AFlag, bool AValue);

  TcxCustomEditProperties* FOwner;
  bool FMaxValue;
  bool FMinValue;
  bool FReadOnly;
};

// ---------------------------------------------------------------------------
// TcxCustomEditProperties

class TcxCustomEditProperties : public TcxInterfacedPersistent {
  SK_CLASS(TcxCustomEditProperties, TcxInterfacedPersistent)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;
  // From other properties: CopyFrom inside one update bracket, so at most one change.
  void Assign(TPersistent* ASource) override;

  // The update bracket: changes inside it reach the editors once, at the
  // outermost EndUpdate(true); EndUpdate(false) drops them.
  void BeginUpdate();
  void EndUpdate(bool AInvokeChanged = true);
  void Changed();
  // AWork inside BeginUpdate / EndUpdate(true), closed also when it raises.
  template <class F>
  void UpdateBracket(F&& AWork) {
    BeginUpdate();
    TryFinally(AWork, [this] { EndUpdate(true); });
  }
  // Holds changes back until LockUpdate(false). Not counted: one unlock ends
  // any number of locks, and what was held back is not reported.
  void LockUpdate(bool ALock) { FChangedLocked = ALock; }
  bool ChangedLocked() const { return FChangedLocked || FUpdateCount > 0; }
  bool IsChanging() const { return FIsChangingCount > 0; }
  int UpdateCount() const { return FUpdateCount; }
  // DoUpdate when AProperties are of this class or below and not this object.
  void Update(TcxCustomEditProperties* AProperties);
  bool IsOwnerDesigning();
  // Both written and marked assigned with one change.
  void SetMinMaxValues(double AMax, double AMin);

  // Properties
  // The alignment of the content. The object handed out is refreshed from the
  // alignment in force on each read, its horizontal value from
  // DefaultHorzAlignment while none is stored; writing into it reaches the
  // editors through AlignmentChanged.
  TcxEditAlignment* Alignment();
  virtual void SetAlignment(TcxEditAlignment* AValue);
  bool IsAlignmentStored() const { return FInnerAlignment->IsHorzStored() || FInnerAlignment->IsVertStored(); }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool AValue) { SetField(FAutoSelect, AValue); }
  bool BeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool AValue) { SetField(FBeepOnError, AValue); }
  // The buttons at the editor's sides; every effective change of one is a
  // change of the properties.
  TcxEditButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(TcxEditButtons* AValue) { FButtons->Assign(AValue); }
  // The collection class of Buttons; its GetButtonClass gives the items' class.
  virtual TClass GetButtonsClass() { return TcxEditButtons::ClassInfo(); }
  void ButtonsChanged(TObject*) { Changed(); }
  TcxEditButtonsViewStyle ButtonsViewStyle() const { return FButtonsViewStyle; }
  void SetButtonsViewStyle(TcxEditButtonsViewStyle AValue) { SetField(FButtonsViewStyle, AValue); }
  TShortCut ClearKey() const { return FClearKey; }
  void SetClearKey(TShortCut AValue) { SetField(FClearKey, AValue); }
  TShortCut ClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut AValue) { SetField(FClickKey, AValue); }
  TcxCustomEditDefaultValuesProvider* DefaultValuesProvider() const { return FDefaultValuesProvider; }
  // Reports a change only for the properties an editor owns.
  void SetDefaultValuesProvider(TcxCustomEditDefaultValuesProvider* AValue);
  // The picture the validation mark shows instead of the standard one when
  // not empty. A write copies the picture; every change of it is a change of
  // the properties.
  TdxSmartImage* ErrorIcon() const { return FErrorIcon.get(); }
  void SetErrorIcon(TdxSmartImage* AValue);
  bool IsErrorIconStored() const { return !FErrorIcon->Empty(); }
  // The buttons' image list; not owned, dropped when it is freed. A change of
  // the list's images is a change of the properties.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  bool ImmediatePost() const { return FImmediatePost; }
  void SetImmediatePost(bool AValue) { SetField(FImmediatePost, AValue); }
  // Unassigned, the provider's DefaultReadOnly decides.
  bool ReadOnly() const;
  void SetReadOnly(bool AValue);
  bool IsReadOnlyAssigned() const { return FAssignedValues->ReadOnly(); }
  double MaxValue() { return GetMaxValue(); }
  void SetMaxValue(double AValue);
  double MinValue() { return GetMinValue(); }
  void SetMinValue(double AValue);
  TcxCustomEditPropertiesValues* AssignedValues() const { return FAssignedValues.get(); }
  void SetAssignedValues(TcxCustomEditPropertiesValues* AValue) { FAssignedValues->Assign(AValue); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue) { SetField(FTransparent, AValue); }
  bool UseLeftAlignmentOnEditing() const { return FUseLeftAlignmentOnEditing; }
  void SetUseLeftAlignmentOnEditing(bool AValue) { SetField(FUseLeftAlignmentOnEditing, AValue); }
  bool UseMouseWheel() const { return FUseMouseWheel; }
  void SetUseMouseWheel(bool AValue) { SetField(FUseMouseWheel, AValue); }
  bool ValidateOnEnter() const { return FValidateOnEnter; }
  void SetValidateOnEnter(bool AValue) { SetField(FValidateOnEnter, AValue); }
  TLeftRight ValidationErrorIconAlignment() const { return FValidationErrorIconAlignment; }
  void SetValidationErrorIconAlignment(TLeftRight AValue) { SetField(FValidationErrorIconAlignment, AValue); }
  TcxEditValidationOptions ValidationOptions() const { return FValidationOptions; }
  void SetValidationOptions(TcxEditValidationOptions AValue);
  // The options of the validation that is running; OnValidate handlers may change them.
  TcxEditValidationOptions InternalValidationOptions() const { return FInternalValidationOptions; }
  void SetInternalValidationOptions(TcxEditValidationOptions AValue) { FInternalValidationOptions = AValue; }

  // Events
  TcxEditButtonClickEvent OnButtonClick() const { return FOnButtonClick; }
  void SetOnButtonClick(TcxEditButtonClickEvent AValue) { FOnButtonClick = AValue; }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  TNotifyEvent OnEditValueChanged() const { return FOnEditValueChanged; }
  void SetOnEditValueChanged(TNotifyEvent AValue) { FOnEditValueChanged = AValue; }
  TcxEditValidateEvent OnValidate() const { return FOnValidate; }
  void SetOnValidate(TcxEditValidateEvent AValue) { FOnValidate = AValue; }
  // Set by the owner editor or repository item.
  TNotifyEvent OnPropertiesChanged() const { return FOnPropertiesChanged; }
  void SetOnPropertiesChanged(TNotifyEvent AValue) { FOnPropertiesChanged = AValue; }

  // Overridables
  // Handler of the public alignment object's change: it becomes the alignment in force.
  virtual void AlignmentChanged(TObject* Sender);
  // The provider's default, else what the public alignment object holds.
  virtual TAlignment DefaultHorzAlignment();
  virtual TcxEditVertAlignment DefaultVertAlignment() { return taTopJustify; }
  // Images := nil when AComponent is the image list.
  virtual void HandleFreeNotification(TComponent* AComponent);
  virtual void DefaultValuesProviderDestroyed() { SetDefaultValuesProvider(nullptr); }
  virtual void CopyFrom(TcxCustomEditProperties* ASource);
  virtual void NotifyPropertiesChanged();
  virtual TClass GetPropertiesValuesClass() { return TcxCustomEditPropertiesValues::ClassInfo(); }
  // The layout calculator class of the editor kind.
  virtual TClass GetViewDataClassType();
  // The paint record class of the editor kind.
  virtual TClass GetViewInfoClass();
  // A fresh layout calculator for AStyle; the caller owns it.
  virtual TOwned<TcxCustomEditViewData> CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace,
                                                       bool APreviewMode = false);
  virtual double GetMaxValue();
  virtual double GetMinValue();
  virtual String DefaultValidationErrorText(int AErrorKind);
  // Storing a changed value does not raise NotifyChange itself.
  virtual bool HasOwnChangeNotification() { return false; }
  virtual bool KeepsTabKey() { return false; }
  virtual bool DependsOnFocus() { return true; }
  virtual bool CanShareWithRepository() { return AllowRepositorySharing(); }
  // Storing a value compares the old and the new one.
  virtual bool CanCompareEditValue() { return false; }
  virtual TcxCustomEditProperties* Clone(TPersistent* AOwner);
  virtual TClass GetContainerClass();
  virtual void DoUpdate(TcxCustomEditProperties* AProperties) { (void)AProperties; }
  virtual bool AllowRepositorySharing() { return true; }
  virtual void RefreshNonShareable() {}
  virtual bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2);
  virtual TcxCustomEditProperties* CreatePreviewProperties();
  virtual void DataChanged() {}
  virtual String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true);
  virtual bool IsActivationKey(wchar_t AKey) { (void)AKey; return false; }
  virtual bool IsEditValueValid(Variant& AEditValue, bool AEditFocused);
  // Escape restores the value held at focus entry.
  virtual bool IsResetEditClass() { return false; }
  virtual void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused);
  virtual void RestoreDefaults();
  // The editor runs ValidateDisplayValue while validating.
  virtual bool ValidatesDisplayValue() { return false; }
  virtual void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError, TcxCustomEdit* AEdit);
  // -- value formatting and operations of editor kinds
  virtual TcxEditDisplayFormatOptions QueryDisplayFormatOptions() { return {}; }
  // Whether the provider's display format shows the value (never while focused).
  virtual bool UsesProviderDisplayFormat(bool AEditFocused) {
    return !AEditFocused && QueryDisplayFormatOptions().Contains(dfoSupports) && FDefaultValuesProvider &&
           FDefaultValuesProvider->IsDisplayFormatDefined(!QueryDisplayFormatOptions().Contains(dfoNoCurrencyValue));
  }
  virtual bool IsValueFormattedByProperties() { return false; }
  virtual bool IsValueFormattedByProvider() {
    return !IsValueFormattedByProperties() && QueryDisplayFormatOptions().Contains(dfoSupports) &&
           GetEditValueSource(true) == evsValue && GetEditValueSource(false) == evsText && FDefaultValuesProvider &&
           FDefaultValuesProvider->IsDisplayFormatDefined(!QueryDisplayFormatOptions().Contains(dfoNoCurrencyValue));
  }
  virtual TcxEditValueSource GetEditValueSource(bool AEditFocused) { (void)AEditFocused; return evsValue; }
  virtual TcxEditSupportedOperations GetSupportedOperations() {
    return FButtons->Count() > 0 ? TcxEditSupportedOperations{esoHotTrack} : TcxEditSupportedOperations{};
  }
  // -- end of value formatting and operations of editor kinds

  // In-place editing: whether an in-place editor with these properties may
  // change its value (ReadOnly, then the default-values provider).
  bool AllowsInplaceEditing();
  // Filter editors write BeepOnError and ValidateOnEnter without a change.
  friend class TcxCustomFilterEditHelper;

 private:
  friend class TcxCustomEdit;
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  bool IsOwnerDestroying();
  bool IsOwnerWriting();
  void ImageListChanged(TObject* Sender);
  void ErrorIconChanged(TObject*) { Changed(); }

  bool FAutoSelect;
  bool FBeepOnError;
  TcxEditButtonsViewStyle FButtonsViewStyle;
  TOwned<TcxEditButtons> FButtons;
  bool FChangedOccurred;
  TShortCut FClearKey;
  TShortCut FClickKey;
  TOwned<TcxFreeNotificator> FFreeNotificator;
  TOwned<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages;
  bool FImmediatePost;
  TOwned<TcxEditAlignment> FInnerAlignment;
  int FIsChangingCount;
  double FMaxValue;
  double FMinValue;
  bool FReadOnly;
  bool FTransparent;
  int FUpdateCount;
  bool FUseLeftAlignmentOnEditing;
  bool FUseMouseWheel;
  TOwned<TdxSmartImage> FErrorIcon;
  bool FValidateOnEnter;
  TLeftRight FValidationErrorIconAlignment;
  TcxEditValidationOptions FValidationOptions;
  TcxEditValidationOptions FInternalValidationOptions;
  TcxEditButtonClickEvent FOnButtonClick;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnEditValueChanged;
  TcxEditValidateEvent FOnValidate;
  TNotifyEvent FOnPropertiesChanged;
  TOwned<TcxEditAlignment> FAlignment;
  TOwned<TcxCustomEditPropertiesValues> FAssignedValues;
  bool FChangedLocked;
  TcxCustomEditDefaultValuesProvider* FDefaultValuesProvider;
};

// ---------------------------------------------------------------------------
// The inner control's editing interface

// How an editor talks to the native window it hosts; the editor never
// touches the inner control directly.
struct IcxCustomInnerEdit : public IcxContainerInnerControl {
  static constexpr GUID IID = {0x468D21B5, 0x48AA, 0x4077, {0x8E, 0xD5, 0x4C, 0x61, 0x12, 0xD4, 0x60, 0xB1}};
  virtual LRESULT CallDefWndProc(UINT AMsg, WPARAM AWParam, LPARAM ALParam) = 0;
  virtual bool CanProcessClipboardMessages() = 0;
  virtual Variant GetEditValue() = 0;
  virtual IcxAccessibilityHelper* GetIAccessibilityHelper() = 0;
  virtual TNotifyEvent GetOnChange() = 0;
  virtual bool GetReadOnly() = 0;
  virtual void LockBounds(bool ALock) = 0;
  virtual void SafelySetFocus() = 0;
  virtual void SetEditValue(const Variant& AValue) = 0;
  virtual void SetParent(TWinControl* AValue) = 0;
  virtual void SetOnChange(TNotifyEvent AValue) = 0;
  virtual void SetReadOnly(bool AValue) = 0;

 protected:
  ~IcxCustomInnerEdit() = default;
};

// An inner control whose editing interface is served by a helper object.
struct IcxInnerEditHelper : public virtual IInterface {
  static constexpr GUID IID = {0x35667555, 0x6DC8, 0x40D5, {0xB7, 0x05, 0xB0, 0x8D, 0x56, 0x97, 0xC6, 0x21}};
  virtual IcxCustomInnerEdit* GetHelper() = 0;

 protected:
  ~IcxInnerEditHelper() = default;
};

// ---------------------------------------------------------------------------
// Editor layout (cxEdit_ViewData.cpp)

class TcxCustomEditViewInfo;
class TcxEditButtonViewInfo;
enum TcxEditPaintOption {
  epoAllowZeroHeight,
  epoAutoHeight,
  epoHasExternalBorder,
  epoShowEndEllipsis,
  epoShowFocusRectWhenInplace
};
template <>
struct TEnumInfo<TcxEditPaintOption> {
  static constexpr const wchar_t* Name = L"TcxEditPaintOption";
  static constexpr const wchar_t* Names[] = {L"epoAllowZeroHeight", L"epoAutoHeight", L"epoHasExternalBorder",
                                             L"epoShowEndEllipsis", L"epoShowFocusRectWhenInplace"};
  static constexpr TcxEditPaintOption Last = epoShowFocusRectWhenInplace;
};
using TcxEditPaintOptions = TSet<TcxEditPaintOption>;

enum TcxEditContentOption { ecoShowFocusRectWhenInplace, ecoOffsetButtonContent };
using TcxEditContentOptions = TSet<TcxEditContentOption>;

// How an editor's content sits in its bounds: margins around it and the
// correction its measured size needs.
struct TcxEditContentParams {
  TRect ExternalBorderBounds;
  TRect Offsets;
  TcxEditContentOptions Options;
  TSize SizeCorrection;
};

// A measuring request; -1 leaves an axis free.
struct TcxEditSizeProperties {
  int Height = -1;
  int MaxLineCount = 0;
  int Width = -1;
};

struct TcxInplaceEditPosition {
  TObject* Item = nullptr;
  int RecordIndex = 0;
};

struct TcxInplaceEditParams {
  bool MultiRowParent = false;
  TcxInplaceEditPosition Position;
};

using TcxEditGetDefaultButtonWidthEvent = Delegate<void(TObject* Sender, int AIndex, int& ADefaultWidth)>;
using TcxEditViewDataGetDisplayTextEvent = Delegate<void(TObject* Sender, String& AText)>;

// Turns an editor's style, properties, state, mouse point and shift state
// into its paint record, and answers how large the editor must be for a
// value. One lives for a calculation or for the editor's lifetime; the
// button view infos it fills persist in the paint record, so the previous
// button states feed the next calculation.
class TcxCustomEditViewData : public TPersistent {
  SK_CLASS(TcxCustomEditViewData, TPersistent)
 public:
  virtual void Create(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace);
  void Destroy() override;

  // The layout of AViewInfo for ABounds; P is the mouse point, Button the
  // mouse button of a mouse event (cxmbNone for none).
  virtual void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                         TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  // Calculate at the origin, with the view info's Left and Top set to ABounds' corner.
  void CalculateEx(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                   TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex,
                                     TRect& ButtonsRect);
  virtual void CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                        TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                        bool AIsMouseEvent);
  virtual void CalculateButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex,
                                       TRect& ButtonsRect);
  virtual void CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo, int APrevButtonsWidth, int AButtonsWidth);
  virtual void DoRightToLeftConversion(TcxCustomEditViewInfo* AViewInfo, const TRect& ABounds) {
    (void)AViewInfo, (void)ABounds;
  }
  virtual void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
    (void)AEditValue, (void)AViewInfo;
  }
  virtual TRect GetBorderExtent();
  virtual TRect GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);
  virtual TcxEditBorderStyle GetBorderStyle();
  virtual TRect GetButtonsExtent(TcxCanvas* ACanvas);
  virtual TSize GetEditConstantPartSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                                        TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo = nullptr);
  virtual TSize GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                   const TcxEditSizeProperties& AEditSizeProperties,
                                   TcxEditValidateInfo* AErrorData = nullptr);
  TSize GetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue, TcxEditSizeProperties AEditSizeProperties,
                    TcxCustomEditViewInfo* AViewInfo = nullptr);
  TSize GetEditingSize(TcxCanvas* ACanvas, const Variant& AEditValue, TcxEditSizeProperties AEditSizeProperties,
                       TcxCustomEditViewInfo* AViewInfo = nullptr);
  virtual TSize GetEditContentSizeCorrection();
  String GetValueDisplayText(const Variant& AEditValue);
  TcxEditButtonStyle GetEffectiveButtonStyle();
  int GetErrorIconWidth();
  bool HasBorders();
  virtual bool HasShadow();
  virtual bool IsButtonLeftAligned(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex);
  virtual void InitializeEditContentParams(TcxEditContentParams& AParams);
  virtual bool IsNativeStyle(TcxLookAndFeel* ALookAndFeel);
  // A button's width when neither it nor a handler gives one: as high as a
  // horizontal scroll bar, at the view data's DPI.
  int DefaultButtonWidth() const;
  // The width of one button in the canvas and scale of the view data.
  int CalculateButtonWidth(TcxEditButtonViewInfo* AButton);

  // Properties
  TObject* Data() const { return FData; }
  void SetData(TObject* AValue) { FData = AValue; }
  TcxCustomEdit* Edit() const { return FEdit; }
  void SetEdit(TcxCustomEdit* AValue) { FEdit = AValue; }
  bool IsInplace() const { return FIsInplace; }
  TcxCustomEditProperties* Properties() const { return FProperties; }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TcxCustomEditStyle* Style() const { return FStyle; }
  void SetStyle(TcxCustomEditStyle* AValue) { FStyle = AValue; }
  TcxEditGetDefaultButtonWidthEvent OnGetDefaultButtonWidth() const { return FOnGetDefaultButtonWidth; }
  void SetOnGetDefaultButtonWidth(TcxEditGetDefaultButtonWidthEvent AValue) { FOnGetDefaultButtonWidth = AValue; }
  TcxEditViewDataGetDisplayTextEvent OnGetDisplayText() const { return FOnGetDisplayText; }
  void SetOnGetDisplayText(TcxEditViewDataGetDisplayTextEvent AValue) { FOnGetDisplayText = AValue; }

  bool ButtonsOnlyStyle = false;
  int ButtonVisibleCount = 0;
  TcxContainerState ContainerState;
  TRect ContentOffset;
  TcxEditContentParams EditContentParams;
  bool Enabled = true;
  bool Focused = false;
  TAlignment HorzAlignment = taLeftJustify;
  IcxControlScrollBar* HScrollBar = nullptr;
  IcxControlScrollBar* VScrollBar = nullptr;
  IcxCustomInnerEdit* InnerEdit = nullptr;
  TcxInplaceEditParams InplaceEditParams;
  bool IsDesigning = false;
  bool IsSelected = false;
  bool IsTouchScrollUIMode = false;
  bool IsValueSource = false;
  int MaxLineCount = 0;
  bool NativeStyle = false;
  TcxEditPaintOptions PaintOptions;
  bool PaintOnGlass = false;
  bool PreviewMode = false;
  bool Selected = false;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;
  bool SupportsTouchMode = false;
  bool UseRightToLeftAlignment = false;
  bool UseRightToLeftReading = false;
  bool UseRightToLeftScrollBar = false;
  TcxEditVertAlignment VertAlignment = taTopJustify;
  HWND WindowHandle = nullptr;

 protected:
  // A fade picture recomputes the button's theme state for the state drawn.
  friend class TcxEditButtonFadingHelper;
  virtual bool IsNativeBackgroundTransparent(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual void CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo);
  virtual TdxThemedObjectType GetNativeTheme(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual void AdjustContentExtent(TRect& AExtent);
  virtual TcxEditPaintOptions GetEffectivePaintOptions();
  virtual bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex);
  virtual TcxContainerState CalculateContainerState(const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                                    TShiftState Shift, bool AIsMouseEvent);
  virtual TRect GetDefaultEditContentOffsets();
  virtual int GetEditNativeState();
  virtual void InitializeFromProperties();
  virtual void InitDefaults();
  virtual void ValueToDisplayText(const Variant& AEditValue, String& AText) { (void)AEditValue, AText.clear(); }
  virtual TSize CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                                  TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo);
  virtual void GetValueContentSize(TcxCanvas* ACanvas, const Variant& AEditValue, TSize& ASize,
                                   const TcxEditSizeProperties& AEditSizeProperties);
  virtual bool IsButtonHeldPressed(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex);
  virtual void DoCalculateButtonViewInfos(TcxCanvas* ACanvas, TRect& AButtonsRect, TcxCustomEditViewInfo* AViewInfo);
  virtual void CheckStartButtonsFading(TcxCustomEditViewInfo* AViewInfo);
  virtual void InitializeButtonInfo(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex);
  virtual TRect GetBorderExtentByEdges(int ABorderWidth);
  virtual TRect GetBorderExtentByPainter();
  virtual TSize GetEditingContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                      const TcxEditSizeProperties& AEditSizeProperties);
  virtual bool IgnoreButtonWhileStretching(int AButtonVisibleIndex) { (void)AButtonVisibleIndex; return false; }

  void PrepareViewInfo(TcxCustomEditViewInfo* AViewInfo);
  bool IsErrorIconVisible();
  int GetCaptureButtonIndex();
  bool IsEditFocused();
  TSize ApplyEditConstraints(TSize ASize);
  void FireGetButtonState(TcxEditButtonViewInfo* AButtonViewInfo, TcxEditButtonState& AState);
  int FireGetDefaultButtonWidth(int AIndex);

 private:
  TcxCustomEditStyle* NormalStyle() const;
  // The theme's content margins of part 1 in state 1 on a 100 by 100 rectangle.
  TRect ThemeContentMargins(TdxThemedObjectType AType) const;
  // The state step: container state, hot state, style of the state, border style.
  void CalculateState(const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                      TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  void CalculateButtonStates(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                             TcxCustomEditViewInfo* AViewInfo, int APrevPressedButton);
  void CalculatePopupBorderStyle(TcxCustomEditViewInfo* AViewInfo);
  TSize DoGetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue, TcxEditSizeProperties AEditSizeProperties,
                      TcxCustomEditViewInfo* AViewInfo, bool AIsEditing);

  TObject* FData = nullptr;
  bool FIsInplace = false;
  int FLeftSideLeftmostButtonIndex = -1;
  int FLeftSideRightmostButtonIndex = -1;
  int FRightSideLeftmostButtonIndex = -1;
  int FRightSideRightmostButtonIndex = -1;
  TOwned<TdxScaleFactor> FScaleFactor;
  TLeftRight FValidationErrorIconAlignment = taRightJustify;
  TcxEditGetDefaultButtonWidthEvent FOnGetDefaultButtonWidth;
  TcxEditViewDataGetDisplayTextEvent FOnGetDisplayText;
  TcxCustomEdit* FEdit = nullptr;
  TcxCustomEditProperties* FProperties = nullptr;
  TcxCustomEditStyle* FStyle = nullptr;
  // The error data of the paint record being calculated or measured.
  TcxEditValidateInfo* FErrorData = nullptr;
};

// ---------------------------------------------------------------------------
// TcxEditChangeEventsCatcher

class TcxEditChangeEventsCatcher : public TObject {
  SK_CLASS(TcxEditChangeEventsCatcher, TObject)
 public:
  void Create(TcxCustomEdit* AEdit) { FEdit = AEdit; }

  void Lock(bool ALock, bool AInvokeChangedOnUnlock = true);
  bool IsLocked() const { return FLockCount > 0; }
  bool OnChangeEvent() const { return FOnChangeEvent; }
  void SetOnChangeEvent(bool AValue) { FOnChangeEvent = AValue; }
  bool OnEditValueChangedEvent() const { return FOnEditValueChangedEvent; }
  void SetOnEditValueChangedEvent(bool AValue) { FOnEditValueChangedEvent = AValue; }

 private:
  TcxCustomEdit* FEdit;
  int FLockCount;
  bool FOnChangeEvent;
  bool FOnEditValueChangedEvent;
};

// ---------------------------------------------------------------------------
// TcxEditDataBinding

// The base binding stores nothing outside the editor; its virtual operations
// are where a source-aware binding would act.
class TcxEditDataBinding : public TPersistent {
  SK_CLASS(TcxEditDataBinding, TPersistent)
 public:
  virtual void Create(TcxCustomEdit* AEdit);
  void Destroy() override;

  TcxCustomEdit* Edit() const { return FEdit; }
  TcxCustomEditDefaultValuesProvider* DefaultValuesProvider() const { return FDefaultValuesProvider.get(); }

  virtual void DefaultValuesChanged();
  virtual Variant GetDisplayValue();
  virtual void SetDisplayValue(const Variant& AValue);
  virtual bool IsDataAvailable() { return FDefaultValuesProvider->IsDataAvailable(); }
  virtual bool Editing();
  virtual bool Modified();
  virtual Variant GetStoredValue();
  virtual void SetStoredValue(const Variant& AValue) { (void)AValue; }
  bool IsDataUnavailable() { return !IsDataAvailable(); }
  virtual void RevertEditor();
  virtual bool EnterEditMode();
  virtual bool CanCheckEditorValue();
  virtual bool CanModify() { return IsDataAvailable(); }
  virtual bool CanPostEditorValue() { return Modified(); }
  virtual TClass GetDefaultValuesProviderClass() { return TcxCustomEditDefaultValuesProvider::ClassInfo(); }
  virtual void SetModified();
  virtual void UpdateDisplayValue();
  virtual void UpdateNotConnectedDBEditDisplayValue() {}

 protected:
  TPersistent* GetOwner() override;

 private:
  TcxCustomEdit* FEdit;
  TOwned<TcxCustomEditDefaultValuesProvider> FDefaultValuesProvider;
};

// ---------------------------------------------------------------------------
// IcxEditRepositoryItemListener

struct IcxEditRepositoryItemListener : public virtual IInterface {
  static constexpr GUID IID = {0x4E27D642, 0x022B, 0x4ACC, {0xA6, 0x8F, 0x13, 0x35, 0x91, 0x2B, 0x6F, 0x00}};
  virtual void RepositoryItemRemoved(TcxEditRepositoryItem* AItem) = 0;
  virtual void RepositoryItemPropertiesChanged(TcxEditRepositoryItem* AItem) = 0;

 protected:
  ~IcxEditRepositoryItemListener() = default;
};

// ---------------------------------------------------------------------------
// Editor paint record (cxEdit_ViewInfo.cpp)

class TcxCustomEditViewInfo;
class TcxEditButtonViewInfo;

enum TcxEditBackgroundPaintingStyle { bpsSolid, bpsComboEdit, bpsComboListEdit };

enum TcxEditViewInfoState { evsPaintButtons };
using TcxEditViewInfoStates = TSet<TcxEditViewInfoState>;

// Part codes of HitTestPart besides a button index.
constexpr int ecpNone = -1;        // inside the border, on no button
constexpr int ecpErrorIcon = -2;   // on the shown error icon
constexpr int ecpOutside = -3;     // outside the border

using TcxEditCanStartButtonFadingEvent = Delegate<void(TcxCustomEditViewInfo*, bool&)>;
using TcxEditDrawBackgroundEvent = Delegate<void(TcxCustomEditViewInfo*, TcxCanvas*, bool&)>;
using TcxEditDrawButtonEvent = Delegate<void(TcxEditButtonViewInfo*, TcxCanvas*, bool&)>;
using TcxEditDrawButtonBackgroundEvent = Delegate<void(TcxEditButtonViewInfo*, TcxCanvas*, const TRect&, bool&)>;
using TcxEditDrawButtonBorderEvent = Delegate<void(TcxEditButtonViewInfo*, TcxCanvas*, TRect&, TRect&, bool&)>;
using TcxEditGetButtonContentColorEvent = Delegate<void(TcxEditButtonViewInfo*, TColor&)>;
using TcxEditGetButtonStateEvent = Delegate<void(TcxEditButtonViewInfo*, TcxEditButtonState&)>;
using TcxEditPaintEvent = Delegate<void(TcxCustomEditViewInfo*, TcxCanvas*)>;
using TcxEditPrepareButtonFadingImageEvent =
    Delegate<void(TcxEditButtonViewInfo*, TcxEditButtonState, TcxBitmap32*, bool&)>;

// What decides how one button looks; the layout fills it.
struct TcxEditButtonViewInfoData {
  TActionLink* ActionLink = nullptr;
  TColor BackgroundColor = clDefault;
  String Caption;
  TAlignment ContentAlignment = taCenter;
  bool Default = false;
  bool Gradient = false;
  String Hint;
  bool IsInplace = false;
  TcxEditButtonKind Kind = bkDown;
  bool LeftAlignment = false;
  bool Leftmost = false;
  bool Rightmost = false;
  bool NativeStyle = false;
  TcxEditButtonState State = ebsNormal;
  TcxEditButtonStyle Style = btsDefault;
  TColor TextColor = clDefault;
  bool Transparent = false;
  String VisibleCaption;
  bool BackgroundPartiallyTransparent = false;
  bool ComboBoxStyle = false;
  int NativePart = 0;
  int NativeState = 0;
  bool UseSkins = false;
};

// Fades one button between its normal and hot pictures.
class TcxEditButtonFadingHelper : public TdxFadingObjectHelper {
  SK_CLASS(TcxEditButtonFadingHelper, TdxFadingObjectHelper)
 public:
  virtual void Create(TcxEditButtonViewInfo* AViewInfo);

  TcxCustomEditViewInfo* GetOwnerViewInfo() const;
  TRect ButtonRect() const;
  // Starts or stops a fade when the button's state changed since the last call.
  void UpdateState();
  // Invalidates the button's rectangle in the editor's window.
  void Invalidate();
  void Invalidate(const TRect& R, bool AEraseBackground);

  // IdxFadingObject
  bool CanFade() override;
  void DrawFadeImage() override { Invalidate(); }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override;

 protected:
  virtual void PaintButton(TcxCanvas* ACanvas);
  // The button drawn in AState into a bitmap of ButtonRect's size.
  virtual TOwned<TBitmap> PrepareStateImage(TcxEditButtonState AState);

 private:
  TcxEditButtonState FState = ebsDisabled;
  TcxEditButtonViewInfo* FViewInfo = nullptr;
};

// One visible button in a paint record, which owns it.
class TcxEditButtonViewInfo : public TPersistent {
  SK_CLASS(TcxEditButtonViewInfo, TPersistent)
 public:
  virtual void Create();
  void AfterConstruction() override;
  void Destroy() override;
  // Copies what the repaint test compares: native state, background colour,
  // bounds, style and state.
  void Assign(TPersistent* ASource) override;

  virtual TOwned<TcxEditButtonFadingHelper> CreateFadingHelper();
  // Bounds when the compared values differ from AViewInfo's, else empty.
  virtual TOwned<TcxRegion> GetUpdateRegion(TcxEditButtonViewInfo* AViewInfo);
  // Invalidates Bounds moved by AEditPosition in AControl's window when the
  // compared values differ or a fade runs.
  virtual bool Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AViewInfo, const TPoint& AEditPosition);
  TdxScaleFactor* ScaleFactor() const;
  // The repaint test's values differ.
  bool DiffersFrom(const TcxEditButtonViewInfo* AViewInfo) const;
  // The button's accessibility node, made on first use (cxEdit_Accessibility.cpp).
  IcxAccessibilityHelper* GetAccessibilityHelper();

  TRect Bounds;
  int ButtonIndex = -1;
  int ButtonVisibleIndex = -1;
  TcxEditButtonViewInfoData Data;
  TcxCustomEditViewInfo* EditViewInfo = nullptr;
  TOwned<TcxEditButtonFadingHelper> FadingHelper;
  TdxSmartGlyph* Glyph = nullptr;
  bool HasBackground = false;
  int ImageIndex = -1;
  TCustomImageList* Images = nullptr;
  bool Stretchable = true;
  TRect VisibleBounds;
  int Width = 0;

 private:
  TComPtr<IcxAccessibilityHelper> FAccessibilityHelper;
};

// The paint record of an editor: the layout fills it, the editor paints it,
// compares it with the previous one to find what to repaint, and asks it
// what lies under the mouse.
class TcxCustomEditViewInfo : public TcxContainerViewInfo {
  SK_CLASS(TcxCustomEditViewInfo, TcxContainerViewInfo)
 public:
  using TAfterDrawEvent = Delegate<void(TcxCustomEditViewInfo*, TcxCanvas*)>;
  using TCalculateEditorBoundsEvent = Delegate<void(TcxCustomEditViewInfo*, TRect&)>;
  using TCanDrawEditValueEvent = Delegate<void(TcxCustomEditViewInfo*, bool&)>;

  void Create() override;
  void Destroy() override;
  void Assign(TObject* ASource) override;
  TOwned<TcxRegion> GetUpdateRegion(TcxContainerViewInfo* AViewInfo) override;
  void Offset(int DX, int DY) override;
  void UpdateStyle(TcxContainerStyle* AStyle) override;
  TcxContainerBorderStyle GetBorderStyle() const override { return static_cast<TcxContainerBorderStyle>(BorderStyle); }

  virtual TcxEditBackgroundPaintingStyle BackgroundPaintingStyle() const { return bpsSolid; }
  virtual TClass GetButtonViewInfoClass() const { return TcxEditButtonViewInfo::ClassInfo(); }
  // Hints: a part is a button index or one of the ecp codes.
  virtual String GetPartHintText(int APart) const;
  virtual int HitTestPart(const TPoint& P) const;
  virtual TRect GetHitPartBounds(int APart) const;
  virtual bool RepaintsOnStateChange() const { return true; }
  virtual void PaintButtonFaded(TcxCanvas* ACanvas, int AButtonVisibleIndex);
  virtual void SetOnDrawBackground(TcxEditDrawBackgroundEvent AValue) { FOnDrawBackground = AValue; }
  void SetOnDrawButton(TcxEditDrawButtonEvent AValue) { FOnDrawButton = AValue; }
  virtual void SaveButtonStates();
  virtual bool CanDrawEditValue();
  virtual bool IsBackgroundPartiallyTransparent();
  virtual bool IsFadingAvailable() const;
  // OnCanStartButtonFading's answer; true without a handler.
  bool CanStartButtonFading();
  // Some button is hot; a point (in the host's coordinates) on a button.
  virtual bool IsHotTrack() const;
  virtual bool IsHotTrack(const TPoint& P) const;
  virtual bool NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds, String& AText,
                            bool& AIsMultiLine, TRect& ATextRect, int AMaxLineCount = 0);
  virtual void PrepareCanvasFont(TcxCanvas* ACanvas) { (void)ACanvas; }
  // Invalidates in AControl's window what differs from AViewInfo (everything
  // without one); true when anything was invalidated against AViewInfo.
  virtual bool Repaint(TWinControl* AControl, TcxContainerViewInfo* AViewInfo = nullptr);
  virtual bool Repaint(TWinControl* AControl, const TRect& AInnerEditRect, TcxContainerViewInfo* AViewInfo = nullptr);

  // True when an in-place editor's OnDrawBackground drew it; without a
  // canvas only whether a handler would.
  bool DrawBackground(TcxCanvas* ACanvas);
  bool DrawBackground(TcxCanvas* ACanvas, const TPoint& APos);
  void DrawCustomEdit(TcxCanvas* ACanvas, bool ACanDrawBackground, bool ACanDrawValidationMark);
  void DrawCustomEditValidationMark(TcxCanvas* ACanvas);
  void DrawEditBackground(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AGlyphRect, bool AGlyphTransparent);
  void DrawButtons(TcxCanvas* ACanvas);
  void DrawButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                            const TRect& AContentRect, TColor ABrushColor);
  bool IsBackgroundTransparent();
  bool IsCustomBackground() const;
  bool IsCustomButton(int AButtonVisibleIndex = 0) const;
  bool IsCustomButtonBackground(int AButtonVisibleIndex = 0) const;
  bool IsCustomButtonBorder(int AButtonVisibleIndex = 0) const;
  bool IsCustomDrawButton(int AButtonVisibleIndex = 0) const;
  // Paints with the canvas origin moved by (-Left, -Top).
  void PaintEx(TcxCanvas* ACanvas);
  void ResetValidationInfo();
  void SetButtonCount(int ACount);
  // Returns the old origin.
  TPoint SetOrigin(const TPoint& APoint);

  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TcxCustomEdit* Edit() const { return FEdit; }
  void SetEdit(TcxCustomEdit* AValue) { FEdit = AValue; }
  TcxEditValidateInfo* ErrorData() const { return FErrorData.get(); }
  TcxEditViewInfoStates State() const { return FState; }

  TAfterDrawEvent FOnAfterDrawBackground;
  TAfterDrawEvent FOnAfterDrawValue;
  TCalculateEditorBoundsEvent FOnCalculateEditorBounds;
  TCanDrawEditValueEvent FOnCanDrawEditValue;
  TcxEditCanStartButtonFadingEvent FOnCanStartButtonFading;
  TcxEditDrawButtonEvent FOnDrawButton;
  TcxEditDrawButtonBackgroundEvent FOnDrawButtonBackground;
  TcxEditDrawButtonBorderEvent FOnDrawButtonBorder;
  TcxEditGetButtonContentColorEvent FOnGetButtonContentColor;
  TcxEditGetButtonStateEvent FOnGetButtonState;
  TcxEditPaintEvent FOnPaint;
  TcxEditPrepareButtonFadingImageEvent FOnPrepareButtonFadingImage;

  TRect FErrorBounds;
  TRect FEditorBounds;
  bool FNeedShowErrorIcon = false;
  TRect BorderExtent;
  TcxEditBorderStyle BorderStyle = ebsNone;
  std::vector<TOwned<TcxEditButtonViewInfo>> ButtonsInfo;
  TcxCustomEditProperties* EditProperties = nullptr;
  int Data = 0;
  bool Enabled = true;
  bool Focused = false;
  bool HasBackground = false;
  bool HasContentOffsets = false;
  bool HasInnerEdit = false;
  bool HasTextButtons = false;
  int HitTestInfo = 0;
  TRect InnerEditRect;
  bool IsButtonReallyPressed = false;
  bool IsContainerInnerControl = false;
  bool IsDBEditPaintCopyDrawing = false;
  bool IsDesigning = false;
  bool IsInplace = false;
  bool IsSelected = false;
  int LastPressedButton = -1;
  int LastSelectedButton = -1;
  int PressedButton = -1;
  int SelectedButton = -1;
  int Left = 0;
  int Top = 0;
  TcxEditPaintOptions PaintOptions;
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  TRect ShadowRect;
  TColor TextColor = clDefault;
  bool Transparent = false;
  HWND WindowHandle = nullptr;
  bool UseRightToLeftAlignment = false;

 protected:
  // OnPaint, the frame and background, the validation mark and the buttons,
  // then OnAfterDrawValue; descendants draw their value before the last.
  void InternalPaint(TcxCanvas* ACanvas) override;
  virtual void Draw3DButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                  TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  // A two-colour frame; ARect shrinks by 1.
  virtual void DrawButtonEdge(TcxCanvas* ACanvas, TRect& ARect, TColor AColor1, TColor AColor2);
  virtual void DrawFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                    TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  virtual void DrawHotFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                       TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  virtual void DrawThemedButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                      TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  virtual void DrawSimpleButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                      TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  virtual void DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, bool AIsOffice11,
                                         TRect& ARect, TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  // A one-pixel frame; ARect shrinks by 1.
  virtual void FrameButtonRect(TcxCanvas* ACanvas, TRect& ARect, TColor AColor);
  virtual void DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                                 const TRect& AContentRect);
  virtual void DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                                const TRect& AContentRect);
  virtual void FillButtonBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TColor ABrushColor,
                                    const TRect& ARect);
  virtual void DrawNativeStyleEditBackground(TcxCanvas* ACanvas, bool ADrawBackground, HBRUSH ABackgroundBrush);
  virtual void DrawButton(TcxCanvas* ACanvas, int AButtonVisibleIndex);
  virtual void DrawButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
  virtual void DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& AContentRect,
                                 TColor APenColor, TColor ABrushColor, bool ANeedOffsetContent);

 private:
  friend void PaintEditBackground(TcxCanvas*, TcxCustomEditViewInfo*, bool);
  friend class TcxEditButtonFadingHelper;
  // A button's border and face in its current state; returns where its
  // content goes and in which colours.
  void DrawButtonBorderAndBackground(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& AContentRect,
                                     TColor& APenColor, TColor& ABrushColor);
  // Where content AWidth wide starts when centred in AContent.
  int CentredLeft(const TRect& AContent, int AWidth) const;
  // Which way the pressed look moves the content.
  int ContentShiftX() const;

  TOwned<TdxScaleFactor> FScaleFactor;
  TcxEditDrawBackgroundEvent FOnDrawBackground;
  TcxCustomEdit* FEdit = nullptr;
  TcxEditViewInfoStates FState;
  TOwned<TcxEditValidateInfo> FErrorData;
};

// ---------------------------------------------------------------------------
// Accessibility nodes (cxEdit_Accessibility.cpp)

class TdxEditAccessibilityHelper;

// A node an editor lists as its child; LocalId is its 1-based place in the
// editor node's list, assigned each time the list is built.
class TdxEditChildAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxEditChildAccessibilityHelper, TcxAccessibilityHelper)
 public:
  int LocalId() const { return FLocalId; }
  void SetLocalId(int AValue) { FLocalId = AValue; }
  int GetUniqueID(int AChildID) override { return AChildID == CHILDID_SELF ? FLocalId : AChildID; }

 protected:
  int FLocalId = 0;
};

// One editor button: a push button whose default action clicks it. Its owner
// is the button's paint record entry, which tells it when it goes.
class TdxEditButtonAccessibilityHelper : public TdxEditChildAccessibilityHelper {
  SK_CLASS(TdxEditButtonAccessibilityHelper, TdxEditChildAccessibilityHelper)
 public:
  TcxEditButtonViewInfo* ButtonViewInfo() const { return static_cast<TcxEditButtonViewInfo*>(FOwnerObject); }
  TRect GetScreenBounds(int AChildID) override;
  TcxAccessibilityHelper* Parent() override;

 protected:
  void DoDefaultAction(int AChildID) override;
  String GetDefaultActionDescription(int AChildID) override;
  String GetName(int AChildID) override;
  int GetRole(int) override { return ROLE_SYSTEM_PUSHBUTTON; }
  int GetState(int) override { return STATE_SYSTEM_FOCUSABLE; }
  int GetSupportedProperties(int) override { return aopDefaultAction | aopLocation; }
  bool IsUIAutomationSupported() override { return true; }

 private:
  // The editor's node when the paint record belongs to an editor.
  TdxEditAccessibilityHelper* EditNode();
};

// The editor's node: its children are the inner control's node, then one node
// per visible button. Each request for a child resolves it against the
// editor as it is now and holds counted references, so a node whose owner the
// last layout freed answers as gone instead of being freed under a client.
class TdxEditAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxEditAccessibilityHelper, TcxAccessibilityHelper)
 public:
  void Destroy() override;
  void STDMETHODCALLTYPE OwnerObjectDestroyed() override;

  TcxCustomEdit* Edit() const;
  TRect GetScreenBounds(int AChildID) override;
  // Rebuilds the child list and returns its count.
  int ChildCount() override;
  TcxAccessibilityHelper* GetChild(int AIndex) override;
  // Clicks the AButtonIndex-th visible button.
  virtual void PerformButtonDefaultAction(int AButtonIndex);
  // The name of a button without caption.
  virtual String GetButtonAccessibleName(int AButtonIndex);

 protected:
  bool ChildIsSimpleElement(int) override { return false; }
  String GetName(int AChildID) override;
  HWND OwnerObjectWindow() override;
  int GetRole(int) override { return ROLE_SYSTEM_CLIENT; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int) override { return aopFocus | aopLocation | aopValue; }
  String GetValue(int AChildID) override;
  bool IsUIAutomationSupported() override { return true; }

 private:
  void RebuildChildren();

  std::vector<TComPtr<IcxAccessibilityHelper>> FAccessibilityChildren;
};

// ---------------------------------------------------------------------------
// TcxCustomEditContainer (cxEdit_Container.cpp)

// The base of editors and list-box containers: the border and the inner
// control count as one area for hot tracking, and tracking goes on while a
// press begun inside holds the capture.
class TcxCustomEditContainer : public TcxContainer {
  SK_CLASS(TcxCustomEditContainer, TcxContainer)
 public:
  // The capture is held by the window or one of its child windows.
  virtual bool IsMouseCapturedInside();
  // The screen point lies in ControlBounds.
  virtual bool ContainsScreenPoint(const TPoint& P);

 protected:
  void WndProc(TMessage& Message) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void NotifyMouseEnter(TControl* AControl) override;
  void NotifyMouseLeave(TControl* AControl) override;
  void TrackedMouseLeave() override;
  bool TrackedPointInside(const TPoint& AClientPoint) override;
  bool TrackedCaptureInside() override { return IsMouseCapturedInside(); }

 private:
  // The inner control stands for the container.
  TControl* AsOwnControl(TControl* AControl) { return AControl && AControl == InnerControl() ? this : AControl; }
};

// ---------------------------------------------------------------------------
// In-place editing (cxEdit_Inplace.cpp)

// What an in-place editor keeps of one row or cell between activations; the
// host owns one per row and hands it to each activation. Editor kinds with
// state to restore (a popup's size, say) derive their own.
class TcxCustomEditData : public TObject {
  SK_CLASS(TcxCustomEditData, TObject)
 public:
  virtual void Create(TcxCustomEdit* AEdit);
  void Destroy() override;

  // Marks the data for restoring; restores it at once when it belongs to
  // the editor's current activation.
  void Clear();
  bool Cleared() const { return FCleared; }
  // Nil once the editor is freed.
  TcxCustomEdit* Edit() const { return FEdit; }

 private:
  friend class TcxCustomEdit;
  void EditFreed(TComponent* AComponent);

  bool FCleared;
  TcxCustomEdit* FEdit;
  TOwned<TcxFreeNotificator> FFreeNotificator;
};

// A pooled editor and the properties it was last initialised from; nil
// properties mark an editor free for any properties of its kind.
struct TcxEditListItem {
  TcxCustomEdit* Edit = nullptr;
  TcxCustomEditProperties* Properties = nullptr;
};

// The pool a host takes its in-place editors from: one editor per
// properties object in use, free editors handed out again.
class TcxInplaceEditList : public TObject {
  SK_CLASS(TcxInplaceEditList, TObject)
 public:
  // AEditorOwner owns every editor the list makes (nil: the list alone).
  void Create(TComponent* AEditorOwner);
  void Destroy() override;

  // The editor of AProperties (a free one of its kind, or a new one),
  // initialised from them.
  TcxCustomEdit* GetEdit(TcxCustomEditProperties* AProperties);
  // A free editor of the kind of APropertiesClass, new when none; not initialised.
  TcxCustomEdit* GetEdit(TClass APropertiesClass);
  // The same for an editor class.
  TcxCustomEdit* GetEditOfClass(TClass AEditClass);
  TcxCustomEdit* FindEdit(TcxCustomEditProperties* AProperties);
  TcxCustomEdit* FindEdit(TClass APropertiesClass);
  // Frees the editor of AProperties for other properties; it forgets their
  // value unless the properties may be shared.
  void DisconnectProperties(TcxCustomEditProperties* AProperties);
  void RemoveItem(TcxCustomEditProperties* AProperties);
  // Every free editor of the kind.
  void RemoveItem(TClass APropertiesClass);

  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError outside the list.
  const TcxEditListItem& Items(int AIndex) const;

 private:
  int FindItem(TcxCustomEditProperties* AProperties, bool AUseFreeItem);
  int FindFreeItem(TClass AEditClass) const;
  TcxCustomEdit* CreateEdit(TClass AEditClass);
  void InitEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties);
  void RemoveItemAt(int AIndex);
  void EditFreed(TComponent* AComponent);

  std::vector<TcxEditListItem> FItems;
  TComponent* FEditorOwner;
  TOwned<TcxFreeNotificator> FFreeNotificator;
};

// The editor class of a properties class.
TClass EditClassOfProperties(TClass APropertiesClass);
// Every live edit list lets go of AProperties (their destructor calls it).
void DisconnectFromInplaceLists(TcxCustomEditProperties* AProperties);

// ---------------------------------------------------------------------------
// TcxCustomEdit

struct TcxEditModifiedState {
  bool Modified;
  bool ModifiedAfterEnter;
};

class TcxCustomEdit : public TcxCustomEditContainer, public IcxEditRepositoryItemListener, public IdxFadingObject {
  SK_CLASS(TcxCustomEdit, TcxCustomEditContainer)
 public:
  static void Publish(TPublisher<TcxCustomEdit>& P);

  void Create(TComponent* AOwner) override;
  // An in-place editor is made with this one.
  virtual void Create(TComponent* AOwner, bool AIsInplace);
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  // The first parent refreshes the display of an editor made at run time.
  void SetParent(TWinControl* AValue) override;

  // The properties in force: the repository item's when one is linked.
  TcxCustomEditProperties* ActiveProperties();
  TcxCustomEditProperties* InternalProperties() const { return FProperties.get(); }
  TcxEditRepositoryItem* RepositoryItem() const { return FRepositoryItem; }
  void SetRepositoryItem(TcxEditRepositoryItem* AValue);
  TcxEditDataBinding* DataBinding() const { return FDataBinding.get(); }
  bool IsInplace() const override { return FIsInplace; }
  // The paint record of the last layout, of the properties' record class.
  TcxCustomEditViewInfo* ViewInfo() const { return static_cast<TcxCustomEditViewInfo*>(inherited::ViewInfo()); }
  TNotifyEvent PropertiesEvents() const { return FPropertiesEvents; }
  void SetPropertiesEvents(TNotifyEvent AValue) { FPropertiesEvents = AValue; }

  // The edit value
  Variant EditValue() { return GetEditValue(); }
  void SetEditValue(const Variant& AValue) { WriteEditValue(AValue); }
  Variant InternalEditValue() { return GetEditValue(); }
  void SetInternalEditValue(const Variant& AValue) { WriteInternalEditValue(AValue); }
  Variant EditingValue();
  bool EditModified() const { return FModified; }
  void SetEditModified(bool AValue);
  bool ModifiedAfterEnter() const { return FModifiedAfterEnter; }
  void SetModifiedAfterEnter(bool AValue);
  bool IsPosting() const { return FIsPosting; }
  bool IsEditValidated() const { return FIsEditValidated; }
  bool IsEditValidating() const { return FIsEditValidating; }
  // The edit value is being written into the display: text changes are no typing.
  bool EditModeSetting() const { return FEditModeSetting; }
  // Not in place and showing the properties' Transparent.
  bool IsTransparentStandalone() { return !IsInplace() && ActiveProperties()->Transparent(); }
  // The visible index of the button that holds the mouse capture, -1 for none.
  int CaptureButtonVisibleIndex() const { return FCaptureButtonVisibleIndex; }
  bool ValidationError() const { return FValidationError; }
  String ValidationErrorText() const { return FValidationErrorText; }
  // The error data a standalone editor's view info shows: eetError with the
  // last validation's text while it failed, otherwise reset.
  void CalculateValidateInfo(TcxEditValidateInfo* AInfo) const;
  int ClickLockCount() const { return FClickLockCount; }
  int EditValueChangingLockCount() const { return FEditValueChangingLockCount; }

  void LockChangeEvents(bool ALock, bool AInvokeChangedOnUnlock = true);
  bool AreChangeEventsLocked() const { return FChangeEventsCatcher->IsLocked(); }
  void LockClick(bool ALock);
  void LockEditValueChanging(bool ALock);
  // Whether the value may be changed now; asks OnEditing.
  bool DoEditing();
  bool CanPostEditValue();
  void PostEditValue();
  // A write treated as the user's.
  void SetValidatableEditValue(const Variant& AValue);
  void Reset();
  virtual void Clear();

  // Validation: forced, with [evoRaiseException] or no options.
  bool ValidateEdit(bool ARaiseExceptionOnError);
  // Forced, with the properties' options.
  bool ValidateEdit();
  bool ValidateByOptions(bool AForced);
  virtual void RevertEditValue();

  // User actions: spans in which a write counts as the user's.
  void BeginUserAction() { ++FUserActionCount; }
  void EndUserAction() { if (FUserActionCount > 0) --FUserActionCount; }
  void DisableUserAction() { ++FUserActionDisabledCount; }
  void EnableUserAction();
  bool IsUserActionDisabled() const { return FUserActionDisabledCount != 0; }
  bool IsUserAction() const { return !IsUserActionDisabled() && FUserActionCount > 0; }

  // The four state styles.
  TcxEditStyle* Style() const { return static_cast<TcxEditStyle*>(inherited::Style()); }
  void SetStyle(TcxEditStyle* AValue) { inherited::SetStyle(AValue); }
  TcxEditStyle* StyleDisabled() const { return static_cast<TcxEditStyle*>(inherited::StyleDisabled()); }
  void SetStyleDisabled(TcxEditStyle* AValue) { inherited::SetStyleDisabled(AValue); }
  TcxEditStyle* StyleFocused() const { return static_cast<TcxEditStyle*>(inherited::StyleFocused()); }
  void SetStyleFocused(TcxEditStyle* AValue) { inherited::SetStyleFocused(AValue); }
  TcxEditStyle* StyleHot() const { return static_cast<TcxEditStyle*>(inherited::StyleHot()); }
  void SetStyleHot(TcxEditStyle* AValue) { inherited::SetStyleHot(AValue); }

  virtual TClass GetPropertiesClass() { return TcxCustomEditProperties::ClassInfo(); }
  virtual bool IsRepositoryItemAcceptable(TcxEditRepositoryItem* AItem);
  // Whether AWnd is the editor's own window or one related to it (a window
  // inside it, or one of a popup it owns), so that the focus there has not left it.
  virtual bool IsChildWindow(HWND AWnd) { return IsControlHandle(this, AWnd, true); }
  virtual void SelectAll() {}
  virtual void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused);

  // Events
  TcxEditEditingEvent OnEditing() const { return FOnEditing; }
  void SetOnEditing(TcxEditEditingEvent AValue) { FOnEditing = AValue; }
  TNotifyEvent OnPostEditValue() const { return FOnPostEditValue; }
  void SetOnPostEditValue(TNotifyEvent AValue) { FOnPostEditValue = AValue; }

  // IcxEditRepositoryItemListener
  void RepositoryItemRemoved(TcxEditRepositoryItem* AItem) override;
  void RepositoryItemPropertiesChanged(TcxEditRepositoryItem* AItem) override;

  // IdxFadingObject: the frame and background fade between the normal and
  // the hot look.
  bool CanFade() override { return IsFadingEnabled(); }
  void DrawFadeImage() override { Invalidate(); }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override;

  // The hosted inner control's editing interface; null for kinds without one.
  IcxCustomInnerEdit* InnerEdit() const { return FInnerEdit; }
  bool HasInnerEdit() const { return FInnerEdit != nullptr; }

  // Raised for a key the editor leaves to its owner (a hosting grid navigates).
  TKeyEvent OnAfterKeyDown() const { return FOnAfterKeyDown; }
  void SetOnAfterKeyDown(TKeyEvent AValue) { FOnAfterKeyDown = AValue; }

  // -- keyboard, mouse and focus (public)
  // Posted to the editor: the exit processing of an editor bound to a data storage.
  static constexpr UINT DXM_EDITDEFERREDEXIT = 0x8082;
  // Focus-exit processing runs.
  bool IsHiding() const { return FIsHiding; }
  // The focus state last reported: focused while the application is active.
  bool FocusedState() const { return FFocused; }
  // Modified flags saved by steps still running: 0 between messages.
  std::size_t SavedModifiedStateCount() const { return FPrevModifiedList.size(); }
  // The focus, then the whole content selected when AutoSelect.
  virtual void FocusAndSelect();
  // The clipboard operations text editors implement; nothing in the base.
  virtual void CopyToClipboard() {}
  virtual void CutToClipboard() {}
  virtual void PasteFromClipboard() {}
  // The inner control's messages the container leaves alone: its context
  // menu becomes the editor's.
  bool InnerControlMenuHandler(TMessage& Message) override;
  // Without the editor's parent while it edits in place.
  void GetTabOrderList(std::vector<TWinControl*>& AList) override;

  // -- sizing and the inner control (public)
  // Automatic size: the editor takes the width and height its content needs.
  // Writing it is ignored in place.
  bool AutoSize() const { return FAutoWidth || FAutoHeight; }
  void SetAutoSize(bool AValue) override;
  // Reading the height first gives the editor its window when its parent
  // chain can have one, so that the automatic layout has run.
  int Height();
  bool IsAutoWidthActive();
  bool IsAutoHeightActive();
  // Bends a proposed size to the measured one on the axes sized
  // automatically; nothing before the first layout.
  void CalculateAutoSize(int& AWidth, int& AHeight);
  void EnsureHandle();
  // The content margins every layout of the editor uses; an in-place
  // editor's owner may change them.
  TcxEditContentParams ContentParams;

  // -- accessibility (public)
  // Whether WM_GETOBJECT is answered with the editor's node.
  virtual bool CanProvideAccessibleObject() { return true; }
  virtual TClass GetAccessibilityHelperClass();
  // The editor's node, made on first use.
  IcxAccessibilityHelper* GetAccessibilityHelper();
  // The inner edit's node; null without inner edit.
  virtual IcxAccessibilityHelper* GetInnerEditAccessibilityHelper();

  // -- in-place editing (public)
  // Shows the editor for a row: AEditData (made when nil and the kind keeps
  // data; the caller keeps it) becomes the current data, the display is
  // synchronised, the modified flags cleared and, when asked, the focus taken.
  virtual void Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus = true);
  // Activate, then the key that started editing is typed into the editor
  // when the kind forwards it.
  virtual void ActivateByKey(wchar_t Key, TcxCustomEditData*& AEditData);
  // Activate by a click at (X, Y) of the parent's client area: the press
  // (or, without ssLeft, the release) is replayed on the editor, and a
  // second press within the double-click time counts as a double click.
  virtual void ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData);
  // Whether the editor may be left: the value is validated by the options.
  virtual bool Deactivate();
  virtual TClass GetEditDataClass() { return nullptr; }
  virtual bool ForwardsActivationKey(wchar_t Key) { (void)Key; return true; }
  TcxCustomEditData* EditData() const { return FEditData; }
  TcxInplaceEditParams& InplaceParams() { return FInplaceParams; }
  bool IsInplaceInitializing() const { return FIsInplaceInitializing; }
  // Runs for the double-click time after a click that activated the editor.
  TcxTimer* DblClickTimer() const { return FDblClickTimer.get(); }

 protected:
  friend class TcxCustomEditViewData;
  friend class TcxCustomTextEditViewData;
  friend class TcxEditChangeEventsCatcher;
  friend class TcxEditDataBinding;
  friend class TcxCustomEditProperties;

  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void Click() override;
  bool HandlesTabKey() override { return false; }
  bool IsReadOnlyState() override;
  TcxContainerStyleClass StyleClass() override { return TcxEditStyle::ClassInfo(); }
  // The base editor stores none of the editor style's own values; the kinds
  // with buttons or a drop-down show theirs again.
  TcxContainerStyleValues HiddenStyleValues() override {
    return {svButtonStyle, svButtonTransparency, svPopupBorderStyle, svGradientButtons, svGradient,
            svGradientDirection};
  }

  // Hooks the editor kinds fill.
  virtual void ExecuteDefaultAction() {}
  virtual void BeginPosting() { FIsPosting = true; }
  virtual void EndPosting() { FIsPosting = false; }
  virtual void HandleContentChanged();
  virtual void NotifyChange();
  virtual void EditValueChanged();
  virtual void FireChange();
  virtual void FireEditValueChanged();
  virtual void ValidateAndPost();
  virtual void GetEmptyValue(Variant& AValue) { AValue = Variant::NullValue(); }
  virtual TClass GetDataBindingClass() { return TcxEditDataBinding::ClassInfo(); }
  virtual void GetDisplayString(String& AText) { AText.clear(); }
  virtual void GetDisplayVariant(Variant& AValue);
  virtual Variant GetEditingValue();
  virtual Variant GetEditValue() { return FEditValue; }
  virtual void ResetEditValue() { StoreEditValue(Variant::NullValue()); }
  virtual void InitializeEdit();
  virtual bool CanModify() { return true; }
  virtual void GetValueWhileEditing(Variant& AValue) { AValue = EditValue(); }
  virtual void SetDisplayText(const String& AText) { (void)AText; }
  virtual void ApplyEditValue(const Variant& AValue);
  virtual void StoreEditValue(const Variant& AValue) { FEditValue = AValue; }
  virtual bool IsEditingAllowed();
  virtual bool IsEditValueStored() const { return !FEditValue.IsNull(); }
  virtual bool HasChangeHandlers();
  virtual bool HasEditValueChangedHandlers();
  virtual bool HasValidateHandlers();
  virtual bool ReportsPostErrors() { return !IsInplace(); }
  virtual void FireValidate(Variant& ADisplayValue, String& AErrorText, bool& AError);
  virtual void CheckDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError);
  virtual void GetEditValueAsText(Variant& AValue);
  virtual void SetTextPreservingModified(const String& AText);
  virtual void ReportValidationError(const String& AErrorText, TcxEditValidationOptions AOptions, bool AStop);
  virtual void PrepareEditDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused);
  virtual void PropertiesChanged(TObject* Sender);
  virtual bool IsEditReadOnly();
  virtual void AfterRepositoryItemChange() {}
  virtual void BeforeRepositoryItemChange() {}
  virtual void WriteEditValue(const Variant& AValue);
  virtual void WriteInternalEditValue(const Variant& AValue);
  virtual void ApplyDisplayValue(const Variant& AValue) { (void)AValue; }
  virtual void SyncDisplayValue() {}
  virtual void UpdateDrawValue() {}
  virtual bool CanClickWhileLoading() { return false; }
  virtual bool IsEditClass() { return false; }

  // Layout and painting
  TClass ViewInfoClass() override;
  // Lays the editor out for the point and invalidates what the new record
  // changes against the old one.
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override;
  // The distances from the bounds to the frame that the last layout found.
  void GetBorderExtents(TRect& R) override;
  virtual void UpdateHotTrackState(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent);
  // A layout calculator for the current state; the caller owns it.
  virtual TOwned<TcxCustomEditViewData> CreateEditViewData();
  virtual void FillViewDataState(TcxCustomEditViewData* AViewData);
  void CalculateViewInfoAt(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, TcxMouseButton AButton,
                           TShiftState AShift, bool AIsMouseEvent);
  // Destroying, or a kind with an inner control that has none: the layout
  // must not ask the editor.
  bool IsInnerControlMissing();

  void PushModifiedState();
  void PopModifiedState();
  void SetModifiedAndClick();
  bool PostValueCore(bool AValidate);
  void SavePrevEditValue(const Variant& AValue);
  bool ValidateEditCore(TcxEditValidationOptions AOptions, bool AForced);
  void PostShortRefresh();
  void UpdateInnerEditReadOnly() {}

  TcxEditChangeEventsCatcher* ChangeEventsCatcher() const { return FChangeEventsCatcher.get(); }

  // OnAfterKeyDown with user actions disabled; the handler may clear the key.
  void DoAfterKeyDown(WORD& Key, TShiftState Shift);

  void ResetCaptureButton() { FCaptureButtonVisibleIndex = -1; }
  // Clicks the paint record's AIndex-th visible button: its action with the
  // editor as target, then OnButtonClick (own, then the repository item's).
  void ClickButton(int AIndex);

  // -- keyboard, mouse and focus (protected)
  // Keys: each key down is one user action; the editor kinds extend the
  // Process steps.
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  virtual void ProcessKeyDown(WORD& Key, TShiftState Shift);
  virtual void ProcessKeyPress(wchar_t& Key) { FilterInputChar(Key); }
  virtual void ProcessKeyUp(WORD& Key, TShiftState Shift) { (void)Key, (void)Shift; }
  // Whether the character survived: a refused one becomes #0.
  virtual bool FilterInputChar(wchar_t& Key);
  virtual bool IsValidInputChar(wchar_t Key);
  virtual bool IsEditingKey(WORD Key, TShiftState Shift) { (void)Key, (void)Shift; return false; }
  virtual bool IsEditingChar(wchar_t Key) { (void)Key; return false; }
  virtual bool AllowsKeyDown(WORD& Key, TShiftState Shift);
  virtual bool IsDefaultButtonKey(WORD Key, TShiftState Shift);
  virtual bool IsPlainInsertOrDelete(WORD Key, TShiftState Shift);
  virtual bool HandlesNavigationKeys() { return false; }
  virtual void PrepareTabExit(TShiftState Shift) { (void)Shift; }
  bool IsDefaultButtonShortCut(TShortCut AShortCut);

  // Mouse and buttons
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  virtual bool CanUseMouseWheel(TShiftState Shift);
  void CompleteMouseClick() override;
  virtual void PressButton(int AIndex) { (void)AIndex; }
  virtual void ReleaseButton(int AIndex) { (void)AIndex; }
  virtual void ClickDefaultButton();
  // The visible index of the first button marked Default, -1 for none.
  int FindDefaultButton();
  // The visible index of the button under P (client coordinates), -1 for none.
  int ButtonAtPoint(const TPoint& P);
  // Clicks the first enabled button whose caption has AChar as accelerator.
  bool ClickAcceleratedButton(wchar_t AChar);
  String HintTextAt(const TPoint& P) override;

  // Clipboard
  bool FilterInnerControlMessage(TMessage& Message) override;
  void CutOrCopy();
  void PasteIfAllowed();

  // Focus
  void DoEnter() override;
  virtual void ProcessEnter();
  void DoExit() override;
  virtual void ProcessExit(bool ARaiseExit);
  // The framework's focus notification: the focus state with the
  // application's active state.
  void FocusChanged() override;
  // The editor's own step when its focus state flipped.
  virtual void EditFocusChanged();
  bool ShouldFocusOnClick() override;
  virtual bool SyncsOnFocusChange() { return true; }

  // -- sizing and the inner control (protected)
  using inherited::CanAutoSize;
  void DefineProperties(TFiler* AFiler) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  // The automatic size applied, the editor kept at its anchor, the inner
  // control placed.
  void AdjustInnerControlBounds() override;
  // Only anchors read from a form file are rescaled, and once.
  void ApplyScale(int M, int D, bool AIsDpiChange) override;
  void AfterScaleChange() override;
  bool NeedsDoubleBuffering() override;
  void PaintControl() override;
  virtual void PlaceInnerEdit();
  // The anchor from the current bounds: the right or bottom edge, or the
  // middle for centred content.
  virtual void CalculateAnchors();
  virtual void AutoSizeChanged() {}
  virtual void GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties);
  virtual void PrepareViewData(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo);
  virtual void PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo);
  virtual bool CanAutoSize();
  virtual bool CanAutoHeight() { return true; }
  virtual bool CanAutoWidth();
  virtual bool IsWordWrapped() { return false; }
  virtual bool KeepsAnchor() { return KeepsHorizontalAnchor() || KeepsVerticalAnchor(); }
  virtual bool KeepsHorizontalAnchor() { return false; }
  virtual bool KeepsVerticalAnchor() { return false; }
  virtual bool IsFadingEnabled();
  // The normal look (mouse away) and the hot look (mouse in the middle) of
  // the frame and background, for the fader; the caller owns both.
  virtual void GetFadeImages(TOwned<TcxBitmap32>& ANormal, TOwned<TcxBitmap32>& AHot);
  virtual void PaintOnDataPanel();
  void ApplyAutoSize(bool AValue);
  void FillContentParams();
  bool UsesDataPanelPainting();
  bool IsBoundToDataStorage();
  friend class TcxCustomInnerTextEdit;
  // The inner control of GetInnerControlClass, owned by the editor, and its
  // editing interface; null for kinds without one.
  virtual IcxCustomInnerEdit* CreateInnerEdit();
  virtual void InitializeInnerEdit();
  virtual TClass GetInnerControlClass() { return nullptr; }
  // The inner window's messages pass through here first while hooked.
  virtual void InnerEditWindowProc(TMessage& Message);
  virtual void HookInnerEditWindowProc();
  virtual void UnhookInnerEditWindowProc();
  // A new window gives the focus back to the inner control that held it.
  void CreateHandle() override;
  TcxWindowProcLinkedObject* WindowProcObject() const { return FWindowProcObject; }

  // -- accessibility (protected)
  friend class TdxEditAccessibilityHelper;
  void WMGetObject(TMessage& Message);

  // -- in-place editing (protected)
  friend class TcxInplaceEditList;
  friend class TcxCustomEditData;
  // Restores the kind's state from the current data; nothing in the base.
  virtual void RestoreEditData() {}
  // Prepares properties copied from an object that may not be shared.
  virtual void PrepareUnsharedProperties() {}
  void ApplyClearedEditData(TcxCustomEditData* AEditData);
  void CreateDblClickTimer();

 private:
  void CallEditEvents(TNotifyEvent (TcxCustomEditProperties::*AEvent)() const);
  bool HasEditEvent(bool (*AAssigned)(TcxCustomEditProperties*));
  void ConnectOwnProperties() { FProperties->SetOnPropertiesChanged(BindEvent<&TcxCustomEdit::PropertiesChanged>(this)); }
  void DisconnectOwnProperties() { FProperties->SetOnPropertiesChanged(TNotifyEvent()); }
  void InvokeEditValueChangedWithModifiedFlags(void (TcxCustomEdit::*AFire)());

  int FClickLockCount;
  int FCaptureButtonVisibleIndex = -1;
  TOwned<TcxEditChangeEventsCatcher> FChangeEventsCatcher;
  bool FEditModeSetting;
  int FUserActionCount;
  int FUserActionDisabledCount;
  bool FModified;
  bool FModifiedAfterEnter;
  bool FNeedFocusOnClick;
  std::vector<TcxEditModifiedState> FPrevModifiedList;
  TNotifyEvent FPropertiesEvents;
  TcxEditRepositoryItem* FRepositoryItem;
  bool FIsInplace;
  bool FIsJustCreated;
  bool FIsCreatingEdit;
  bool FIsPosting;
  bool FIsEditValidated;
  bool FIsEditValidating;
  int FLockValidate;
  bool FValidateErrorProcessing;
  bool FValidationError;
  String FValidationErrorText;
  Variant FPrevEditValue;
  bool FPrevValidationError;
  int FEditValueChangingLockCount;
  TcxEditEditingEvent FOnEditing;
  TNotifyEvent FOnPostEditValue;
  TOwned<TcxEditDataBinding> FDataBinding;
  Variant FEditValue;
  TOwned<TcxCustomEditProperties> FProperties;
  IcxCustomInnerEdit* FInnerEdit = nullptr;
  TKeyEvent FOnAfterKeyDown;

  // -- keyboard, mouse and focus (fields)
  bool FFocused = false;
  bool FIsHiding = false;
  bool FIsKeyPressHandled = false;

  void CMDialogChar(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMHintShow(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void WMClipboard(TMessage& Message);
  void DeferredExitMessage(TMessage& Message);
  static void PublishInputMessages(TPublisher<TcxCustomEdit>& P);

  // -- sizing and the inner control (fields)
  bool FAutoWidth = true;
  bool FAutoHeight = true;
  // The point automatic sizing keeps fixed, in parent coordinates.
  static constexpr int NoAnchor = std::numeric_limits<int>::max();
  int FAnchorX = NoAnchor;
  int FAnchorY = NoAnchor;
  // sfLeft / sfTop: the anchor was read from a form file and awaits its rescaling.
  TScalingFlags FAnchorScalingFlags;
  bool FIsFirstSetSize = false;
  bool FHandleAllocating = false;
  bool FIsContentParamsInitialized = false;
  bool FSupportsTouchMode = false;
  // A paint record of the editor's kind, apart from the one it keeps.
  TOwned<TcxCustomEditViewInfo> NewEditViewInfo();
  TcxWindowProcLinkedObject* FWindowProcObject = nullptr;
  void InnerEditChanged(TObject*) { HandleContentChanged(); }

  // -- accessibility (fields)
  TComPtr<IcxAccessibilityHelper> FIAccessibilityHelper;

  // -- in-place editing (fields)
  void DblClickTimerElapsed(TObject* Sender);
  TcxCustomEditData* FEditData = nullptr;
  bool FIsInplaceInitializing = false;
  TOwned<TcxTimer> FDblClickTimer;
  TcxInplaceEditParams FInplaceParams;
};
