// The radio button and the radio group.
//
// Classes in this file:
//   TcxRadioButtonState                 drawing state of the radio mark
//   GetRadioButtonTextMargins,
//   ApplyRadioButtonTextMargins         the caption's margins beside a mark
//   TdxRadioButtonAccessibilityHelper   the radio button's accessibility node
//   TcxRadioButton                      the radio button (cxRadioGroup_RadioButton.cpp)
//   TcxRadioGroupItem, TcxRadioGroupItems   the items with their values
//   TcxCustomRadioGroupProperties,
//   TcxRadioGroupProperties             settings of the radio group
//   TcxCustomRadioGroupViewData         layout, button states, native theme part
//   TcxCustomRadioGroupViewInfo,
//   TcxRadioGroupButtonViewInfo         paint records: radio glyphs and captions
//   TcxCustomRadioGroupButton           an inner radio button of a standalone group
//   TcxCustomRadioGroup, TcxRadioGroup  the editor control
//
// The radio button is a platform BUTTON window created owner-drawn: the
// platform keeps focus, keys, capture and the click notification; the
// control keeps its own check (an owner-drawn button keeps none), unchecks
// its siblings by GroupIndex and paints mark and caption through its
// look-and-feel painter.
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "library/stdctrls/cxGroupBox.h"
#include "platform/ui/StdCtrls.h"

enum TcxRadioButtonState { rbsDisabled, rbsHot, rbsNormal, rbsPressed };

// The caption's margins (left, top, right, bottom) at 100 % beside a radio
// mark; the in-place rows ignore word wrap and alignment.
TRect GetRadioButtonTextMargins(bool AIsInplace, bool ANativeStyle, bool AWordWrap, TAlignment AAlignment);
// The margins mirrored under right-to-left, scaled and taken off R.
void ApplyRadioButtonTextMargins(TRect& R, bool AIsInplace, bool ANativeStyle, bool AWordWrap, TAlignment AAlignment,
                                 bool AUseRightToLeftAlignment, const TdxScaleFactor* AScaleFactor);

class TcxRadioButton;

// ---------------------------------------------------------------------------
// TdxRadioButtonAccessibilityHelper

class TdxRadioButtonAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxRadioButtonAccessibilityHelper, TcxAccessibilityHelper)
 public:
  TRect GetScreenBounds(int AChildID) override;

 protected:
  String GetName(int AChildID) override;
  HWND OwnerObjectWindow() override;
  int GetRole(int) override { return ROLE_SYSTEM_RADIOBUTTON; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int) override { return aopFocus | aopLocation; }

 private:
  TcxRadioButton* RadioButton() const;
};

// ---------------------------------------------------------------------------
// TcxRadioButton

class TcxRadioButtonFadingHelper;

class TcxRadioButton : public TNoRefCount<TRadioButton>,
                       public TcxLookAndFeelOwner,
                       public IcxMouseTrackingCaller,
                       public IdxVisualRefinementsListener {
  SK_CLASS(TcxRadioButton, TRadioButton)
 public:
  static void Publish(TPublisher<TcxRadioButton>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Buttons with the same GroupIndex uncheck each other; plain platform
  // radio buttons of the parent are unchecked whatever their group.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int AValue) { FGroupIndex = AValue; }
  bool ShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool AValue);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  bool IsHeightStored() const { return !AutoSize(); }
  bool IsWidthStored() const { return !AutoSize() || WordWrap(); }

  // Focused is false while designing.
  bool Focused();
  // The whole window, without erasing; nothing without a window.
  void Invalidate() override;
  const TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TcxRadioButtonState State() const { return FState; }
  // The mark's rectangle in client coordinates.
  TRect GetCheckRect();
  // The caption's rectangle: the client beside the mark less the margins.
  TRect GetTextRect();
  // The painter for the themed button part.
  TcxCustomLookAndFeelPainter* Painter() const;
  // Painting into a device context (the owner-draw request's work).
  void PaintTo(HDC DC, bool AFocusChangeOnly = false);

  virtual void StateChanged(TcxRadioButtonState AOldState, TcxRadioButtonState ANewState);
  virtual void AdjustTextRect(TRect& R, bool ANativeStyle);
  virtual bool ShowPopupMenu(TComponent* AMenu, int X, int Y);
  virtual bool IsInplace() { return false; }
  virtual bool IsNativeBackground();
  virtual bool IsNativeStyle();
  virtual bool IsTransparent();
  virtual bool IsTransparentBackground();
  virtual void UpdateState(TMouseButton Button, TShiftState Shift, const TPoint& P);
  virtual bool NeedsBufferedPaint();
  virtual void DrawContent(TcxCanvas* ACanvas, bool AFocusChangeOnly);
  virtual void DrawBackground(TcxCanvas* ACanvas);
  virtual void DrawCaption(TcxCanvas* ACanvas, bool ANativeStyle);
  virtual void DrawRadioMark(TcxCanvas* ACanvas, TcxRadioButtonState AState);
  virtual void DrawTransparentBackground(TcxCanvas* ACanvas);
  virtual TColor GetTextColor();
  // The mark's normal and hot pictures for the fader.
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage);
  bool CanFade();
  void InvalidateCheckArea();

  // IcxMouseTrackingCaller
  void MouseLeave() override;
  // IdxVisualRefinementsListener
  void RefinementsChanged() override;

  void ChangeScale(int M, int D, bool AIsDpiChange) override;
  void ActionChange(TObject* Sender, bool ACheckDefaults) override;

 protected:
  friend class TdxRadioButtonAccessibilityHelper;
  friend class TcxCustomRadioGroup;
  bool GetChecked() const override { return FChecked; }
  void SetChecked(bool AValue) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateHandle() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void DoEnter() override;
  void DoContextPopup(const TPoint& MousePos, bool& Handled) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void WndProc(TMessage& Message) override;
  // The width and height a proposed size becomes with AutoSize.
  void CalculateAutoSize(int& NewWidth, int& NewHeight);
  // Unchecks the siblings this button excludes.
  void TurnSiblingsOff();
  void SetState(TcxRadioButtonState AValue);
  void UpdateStateFromCursor();
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  // An inner button of a container answers its container here.
  virtual TWinControl* ContainerOfInnerControl() { return nullptr; }

  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMHintShow(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void WMContextMenu(TMessage& Message);

  TcxCanvas* Canvas() const { return FCanvas.get(); }
  void SetColumnRow(int AColumn, int ARow) {
    FColumn = AColumn;
    FRow = ARow;
  }

 private:
  void PaintBuffered(HDC DC, bool AFocusChangeOnly);

  TOwned<TCanvas> FControlCanvas;
  TOwned<TcxCanvas> FCanvas;
  int FColumn = 0;
  int FRow = 0;
  int FGroupIndex = 0;
  TComPtr<IcxAccessibilityHelper> FAccessibilityHelper;
  TOwned<TdxScaleFactor> FScaleFactor;
  bool FShowEndEllipsis = false;
  TcxRadioButtonState FState = rbsNormal;
  bool FTransparent = false;
  bool FChecked = false;
  // A left press is being processed: the focus it brings checks nothing,
  // only the completed click does.
  bool FFocusingByMouse = false;
  TOwned<TcxRadioButtonFadingHelper> FFadingHelper;
};

// What the fader sees of a radio button: its mark in the normal and hot looks.
class TcxRadioButtonFadingHelper : public TdxFadingObjectHelper {
  SK_CLASS(TcxRadioButtonFadingHelper, TdxFadingObjectHelper)
 public:
  void Create(TcxRadioButton* AButton) { FButton = AButton; }
  bool CanFade() override { return FButton->CanFade(); }
  void DrawFadeImage() override { FButton->InvalidateCheckArea(); }
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override {
    FButton->GetFadingImages(AFadeOutImage, AFadeInImage);
  }

 private:
  TcxRadioButton* FButton = nullptr;
};

// -- radio group

class TcxRadioGroupItem : public TcxButtonGroupItem {
  SK_CLASS(TcxRadioGroupItem, TcxButtonGroupItem)
 public:
  static void Publish(TPublisher<TcxRadioGroupItem>& P);
  void Create(TCollection* ACollection) override;
  void Assign(TPersistent* ASource) override;

  // Null until set; an equal edit value is ignored.
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& AValue);
  bool IsValueStored() const { return !FValue.IsNull(); }

 private:
  Variant FValue;
};

class TcxRadioGroupItems : public TcxButtonGroupItems {
  SK_CLASS(TcxRadioGroupItems, TcxButtonGroupItems)
 public:
  TcxRadioGroupItem* Add() { return static_cast<TcxRadioGroupItem*>(inherited::Add()); }
  TcxRadioGroupItem* GetItem(int AIndex) const { return static_cast<TcxRadioGroupItem*>(Items(AIndex)); }
};

class TcxCustomRadioGroupProperties : public TcxCustomButtonGroupProperties {
  SK_CLASS(TcxCustomRadioGroupProperties, TcxCustomButtonGroupProperties)
 public:
  void Create(TPersistent* AOwner) override;

  TcxRadioGroupItems* Items() const { return static_cast<TcxRadioGroupItems*>(inherited::Items()); }
  const String& DefaultCaption() const { return FDefaultCaption; }
  void SetDefaultCaption(const String& AValue) { FDefaultCaption = AValue; }
  bool IsDefaultCaptionStored() const;
  const Variant& DefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const Variant& AValue);
  bool IsDefaultValueStored() const { return !FDefaultValue.IsNull(); }

  // The first item whose value equals AEditValue, -1 for none.
  int GetRadioGroupItemIndex(const Variant& AEditValue);
  // -1: DefaultValue; else the item's Value, or its caption when that is
  // Null, or its index when the caption is empty too.
  Variant GetItemValue(int AIndex);

  TOwned<TcxButtonGroupItems> CreateItems() override;
  int GetColumnCount() override;
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  bool CanCompareEditValue() override { return true; }
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool HasOwnChangeNotification() override { return true; }
  bool IsResetEditClass() override { return true; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;

 private:
  String FDefaultCaption;
  Variant FDefaultValue;
};

class TcxRadioGroupProperties : public TcxCustomRadioGroupProperties {
  SK_CLASS(TcxRadioGroupProperties, TcxCustomRadioGroupProperties)
 public:
  static void Publish(TPublisher<TcxRadioGroupProperties>& P);
};

class TcxRadioGroupButtonViewInfo : public TcxButtonGroupButtonViewInfo {
  SK_CLASS(TcxRadioGroupButtonViewInfo, TcxButtonGroupButtonViewInfo)
 public:
  TRect GetGlyphRect(const TSize& AGlyphSize, TLeftRight AAlignment, bool AIsPaintCopy) override;
};

class TcxCustomRadioGroupViewInfo : public TcxButtonGroupViewInfo {
  SK_CLASS(TcxCustomRadioGroupViewInfo, TcxButtonGroupViewInfo)
 public:
  TClass GetButtonViewInfoClass() const override { return TcxRadioGroupButtonViewInfo::ClassInfo(); }
  void DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                         const TRect& AGlyphRect) override;
  void DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                       const TRect& AGlyphRect) override;
  bool IsButtonGlyphTransparent(TcxGroupBoxButtonViewInfo* AButtonViewInfo) override;

  int ItemIndex = -1;
};

class TcxCustomRadioGroupViewData : public TcxButtonGroupViewData {
  SK_CLASS(TcxCustomRadioGroupViewData, TcxButtonGroupViewData)
 public:
  TcxCustomRadioGroupProperties* Properties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  void GetButtonMetrics(bool AHasWidth, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) override;
  void GetButtonGlyphSize(TSize& ASize) override;
  // The themed part (2, the radio button) and state (1-8) of a button record.
  void CalculateRadioPartAndState(TcxGroupBoxButtonViewInfo* AButton, int AItemIndex);

  TcxCustomLookAndFeelPainter* RadioPainter();
};

class TcxCustomRadioGroup;

class TcxCustomRadioGroupButton : public TcxRadioButton, public IcxContainerInnerControl {
  SK_CLASS(TcxCustomRadioGroupButton, TcxRadioButton)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCustomRadioGroup* RadioGroup() const;
  // Changes Checked for the group, without reporting back to it.
  void InternalSetChecked(bool AValue);

  bool IsInplace() override;
  bool IsNativeBackground() override;
  bool IsNativeStyle() override;
  bool IsTransparent() override;
  bool IsTransparentBackground() override;
  bool CanFocus() override;

  // IcxContainerInnerControl
  TWinControl* GetControl() override { return this; }
  TWinControl* GetControlContainer() override;

 protected:
  void SetChecked(bool AValue) override;
  void DoEnter() override;
  void DoExit() override;
  void KeyPress(wchar_t& Key) override;
  void WndProc(TMessage& Message) override;
  TWinControl* ContainerOfInnerControl() override { return GetControlContainer(); }

 private:
  bool FFocusingByMouse = false;
  bool FInternalSettingChecked = false;
  bool FIsClickLocked = false;
};

class TcxCustomRadioGroup : public TcxCustomButtonGroup {
  SK_CLASS(TcxCustomRadioGroup, TcxCustomButtonGroup)
 public:
  TcxCustomRadioGroupProperties* ActiveProperties() {
    return static_cast<TcxCustomRadioGroupProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomRadioGroupProperties* Properties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(InternalProperties());
  }
  TClass GetPropertiesClass() override { return TcxCustomRadioGroupProperties::ClassInfo(); }
  TcxCustomRadioGroupViewInfo* ViewInfo() const {
    return static_cast<TcxCustomRadioGroupViewInfo*>(TcxCustomEdit::ViewInfo());
  }
  TcxCustomRadioGroupButton* Buttons(int AIndex) const {
    return static_cast<TcxCustomRadioGroupButton*>(Button(AIndex));
  }

  // While loading or updating: the index kept for after the load.
  int ItemIndex();
  // Clamped to -1 .. the last button.
  void SetItemIndex(int AValue);
  int LoadedItemIndex() const { return FLoadedItemIndex; }
  // The first checked inner button, -1 for none.
  int GetCheckedIndex();

  void Clear() override { SetItemIndex(-1); }
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;
  void SetFocus() override;
  void FocusAndSelect() override;
  void GetTabOrderList(std::vector<TWinControl*>& AList) override;

 protected:
  friend class TcxCustomRadioGroupButton;
  void InitializeEdit() override;
  void Loaded() override;
  void Updated() override;
  void ApplyEditValue(const Variant& AValue) override;
  bool HasFocusInside() override;
  TWinControl* CreateButton() override;
  HDC GetButtonDC(int AIndex) override;
  void UpdateButtons() override;
  void UpdateButtonStyles() override;
  void ArrangeButtons() override;

  bool IsLoadingOrUpdating() const;
  // The editor's step, then the buttons brought to the value's item.
  void ApplyEditValueAndButtons(const Variant& AValue, bool AFromButton);
  void SetCheckedButton(int AIndex, bool AFromButton);
  void HandleButtonChecked(TcxCustomRadioGroupButton* AButton);
  void ApplyLoadedState();

 private:
  int FLoadedItemIndex = -1;
};

class TcxRadioGroup : public TcxCustomRadioGroup {
  SK_CLASS(TcxRadioGroup, TcxCustomRadioGroup)
 public:
  static void Publish(TPublisher<TcxRadioGroup>& P);
  TClass GetPropertiesClass() override { return TcxRadioGroupProperties::ClassInfo(); }
  TcxRadioGroupProperties* Properties() const {
    return static_cast<TcxRadioGroupProperties*>(InternalProperties());
  }
  void SetProperties(TcxRadioGroupProperties* AValue) { InternalProperties()->Assign(AValue); }
};

// Unit start-up: the classes by name, the properties class with the editor
// repository (kept there until the program ends).
void cxRadioGroupInitialization();
