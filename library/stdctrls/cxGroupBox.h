// The group box: a frame around child controls with a caption on one of its
// sides (13 positions, the side ones turned), or a flat panel with the
// caption inside. It is an editor without a value of its own, so that it
// shares styles, look and feel and layout with the editors.
//
// Classes in this file:
//   TcxPanelStyle                  panel mode settings
//   TcxCustomGroupBoxProperties    properties of the group box kind
//   TcxGroupBoxViewData            layout: border and client extents, caption place
//   TcxGroupBoxViewInfo            paint record: background, caption, frame
//   TcxGroupBoxButtonViewInfo      one cell of a button group
//   TcxCustomGroupBox, TcxGroupBox the control
//   (button groups)                the grid of inner buttons shared by the
//                                  check and radio groups
//
// Coordinates: every rectangle is in the box's client coordinates, which
// are its window coordinates (the box keeps no non-client area here).
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "library/editors/text/cxTextEdit.h"
#include "library/stdctrls/cxCheckBox.h"

#include <cstdint>
#include <vector>

enum TcxCaptionAlignment {
  alTopLeft,
  alTopCenter,
  alTopRight,
  alBottomLeft,
  alBottomCenter,
  alBottomRight,
  alLeftTop,
  alLeftCenter,
  alLeftBottom,
  alRightTop,
  alRightCenter,
  alRightBottom,
  alCenterCenter
};
enum TcxPanelOffice11BackgroundKind { pobkGradient, pobkOffice11Color, pobkStyleColor };

template <>
struct TEnumInfo<TcxCaptionAlignment> {
  static constexpr const wchar_t* Name = L"TcxCaptionAlignment";
  static constexpr const wchar_t* Names[] = {
      L"alTopLeft",  L"alTopCenter",   L"alTopRight",  L"alBottomLeft", L"alBottomCenter",
      L"alBottomRight", L"alLeftTop", L"alLeftCenter", L"alLeftBottom", L"alRightTop",
      L"alRightCenter", L"alRightBottom", L"alCenterCenter"};
  static constexpr TcxCaptionAlignment Last = alCenterCenter;
};
template <>
struct TEnumInfo<TcxPanelOffice11BackgroundKind> {
  static constexpr const wchar_t* Name = L"TcxPanelOffice11BackgroundKind";
  static constexpr const wchar_t* Names[] = {L"pobkGradient", L"pobkOffice11Color", L"pobkStyleColor"};
  static constexpr TcxPanelOffice11BackgroundKind Last = pobkStyleColor;
};

TcxGroupBoxCaptionPosition CaptionAlignmentToPosition(TcxCaptionAlignment AAlignment);

class TcxCustomGroupBox;

using TcxGroupBoxCustomDrawEvent = Delegate<void(TcxCustomGroupBox*, bool&)>;
using TcxGroupBoxCustomDrawElementEvent =
    Delegate<void(TcxCustomGroupBox*, TCanvas*, const TRect&, TcxCustomLookAndFeelPainter*, bool&)>;
using TcxGroupBoxMeasureCaptionHeightEvent =
    Delegate<void(TcxCustomGroupBox*, TcxCustomLookAndFeelPainter*, int&)>;

// ---------------------------------------------------------------------------
// TcxPanelStyle

class TcxPanelStyle : public TPersistent {
  SK_CLASS(TcxPanelStyle, TPersistent)
 public:
  static void Publish(TPublisher<TcxPanelStyle>& P);
  virtual void Create(TcxCustomGroupBox* AEdit);
  void Destroy() override;
  // Active, CaptionIndent, WordWrap and OfficeBackgroundKind; not BorderWidth.
  void Assign(TPersistent* ASource) override;

  bool Active() const { return FActive; }
  void SetActive(bool AValue);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int AValue);
  // At least 2.
  int CaptionIndent() const { return FCaptionIndent; }
  void SetCaptionIndent(int AValue);
  TcxPanelOffice11BackgroundKind OfficeBackgroundKind() const { return FOfficeBackgroundKind; }
  void SetOfficeBackgroundKind(TcxPanelOffice11BackgroundKind AValue);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue);

 private:
  friend class TcxCustomGroupBox;
  // BorderWidth and CaptionIndent follow the box's scale.
  void ScaleChanged(int M, int D);
  void RefreshEdit();

  bool FActive = false;
  int FBorderWidth = 0;
  int FCaptionIndent = 2;
  TcxCustomGroupBox* FEdit = nullptr;
  TcxPanelOffice11BackgroundKind FOfficeBackgroundKind = pobkOffice11Color;
  bool FWordWrap = false;
};

// ---------------------------------------------------------------------------
// TcxCustomGroupBoxProperties

class TcxCustomGroupBoxProperties : public TcxCustomEditProperties {
  SK_CLASS(TcxCustomGroupBoxProperties, TcxCustomEditProperties)
 public:
  bool CanCompareEditValue() override { return true; }
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  bool HasOwnChangeNotification() override { return true; }
};

// ---------------------------------------------------------------------------
// TcxGroupBoxViewInfo

class TcxGroupBoxViewData;

class TcxGroupBoxViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxGroupBoxViewInfo, TcxCustomTextEditViewInfo)
 public:
  void Offset(int DX, int DY) override;
  // Invalidates CaptionRect in the owner's window without erasing.
  void InvalidateCaption();

  TcxCustomGroupBox* GroupBox() const;

  TRect CaptionRect;
  TcxGroupBoxCaptionPosition CaptionPosition = cxgpTop;
  TcxCaptionAlignment Alignment = alTopLeft;
  TRect FrameRect;
  bool IsPanel = false;
  TLeftRight ItemAlignment = taLeftJustify;

 protected:
  friend class TcxGroupBoxViewData;
  void InternalPaint(TcxCanvas* ACanvas) override;
  virtual void DrawCaption(TcxCanvas* ACanvas);
  // The caption font in the canvas with the caption's colour.
  void PrepareCaptionFont(TcxCanvas* ACanvas);

 private:
  void DrawBackground(TcxCanvas* ACanvas);
  void DrawFrame(TcxCanvas* ACanvas);
};

// ---------------------------------------------------------------------------
// TcxGroupBoxViewData

class TcxGroupBoxViewData : public TcxCustomEditViewData {
  SK_CLASS(TcxGroupBoxViewData, TcxCustomEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  TRect GetBorderExtent() override;
  TRect GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) override;
  bool HasShadow() override;

  TcxCustomGroupBox* GroupBox() const;
  TcxCaptionAlignment CaptionAlignment() const;
  bool IsPanel() const;
  String CaptionText() const;
  // Windows DrawText flags of the caption.
  UINT CaptionTextFlags() const;
  // The caption's measured size in the canvas's font (the caption font),
  // starting from AStart; cached by the box.
  TRect MeasureCaption(TcxCanvas* ACanvas, const TRect& AStart);

 protected:
  TcxContainerState CalculateContainerState(const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                            TShiftState Shift, bool AIsMouseEvent) override;

 private:
  bool HasCaptionExtent() const;
  int CaptionFontHeight() const;
  void CalculateFrameCaption(TcxCanvas* ACanvas, TcxGroupBoxViewInfo* AViewInfo);
  void CalculatePanelCaption(TcxCanvas* ACanvas, TcxGroupBoxViewInfo* AViewInfo);
};

// ---------------------------------------------------------------------------
// TcxGroupBoxButtonViewInfo

class TcxGroupBoxButtonViewInfo : public TcxEditButtonViewInfo {
  SK_CLASS(TcxGroupBoxButtonViewInfo, TcxEditButtonViewInfo)
 public:
  // A glyph-sized rectangle centred vertically in Bounds, flush with its
  // left (taLeftJustify) or right edge.
  virtual TRect GetGlyphRect(const TSize& AGlyphSize, TLeftRight AAlignment, bool AIsPaintCopy);

  String Caption;
  bool Enabled = true;
  TColor TextColor = clDefault;
  int Column = 0;
  int Row = 0;
};

// ---------------------------------------------------------------------------
// TcxCustomGroupBox

// The measured caption under the hash of what it was measured with.
struct TdxCachedRect {
  std::uint32_t Hash = 0;
  bool Valid = false;
  TRect Rect;
};

class TcxCustomGroupBox : public TcxCustomEdit {
  SK_CLASS(TcxCustomGroupBox, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TcxCustomGroupBox>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxCustomGroupBoxProperties* ActiveProperties() {
    return static_cast<TcxCustomGroupBoxProperties*>(inherited::ActiveProperties());
  }
  TClass GetPropertiesClass() override { return TcxCustomGroupBoxProperties::ClassInfo(); }
  TcxGroupBoxViewInfo* ViewInfo() const { return static_cast<TcxGroupBoxViewInfo*>(inherited::ViewInfo()); }

  TcxCaptionAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TcxCaptionAlignment AValue);
  // Left and right variants swapped under right-to-left alignment.
  TcxCaptionAlignment GetBiDiModeDependentAlignment();
  TColor CaptionBkColor() const { return FCaptionBkColor; }
  void SetCaptionBkColor(TColor AValue) { FCaptionBkColor = AValue; }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  TcxPanelStyle* PanelStyle() const { return FPanelStyle.get(); }
  void SetPanelStyle(TcxPanelStyle* AValue);
  bool RedrawOnResize() const { return FRedrawOnResize; }
  void SetRedrawOnResize(bool AValue) { FRedrawOnResize = AValue; }
  bool Transparent();
  void SetTransparent(bool AValue) { InternalProperties()->SetTransparent(AValue); }
  TColor Color() const { return Style()->Color(); }
  void SetColor(TColor AValue) { Style()->SetColor(AValue); }

  TcxGroupBoxCustomDrawEvent OnCustomDraw;
  TcxGroupBoxCustomDrawElementEvent OnCustomDrawCaption;
  TcxGroupBoxCustomDrawElementEvent OnCustomDrawContentBackground;
  TcxGroupBoxMeasureCaptionHeightEvent OnMeasureCaptionHeight;

  // The caption measured with AFlags from AStart in the canvas font,
  // through the cache.
  TRect MeasureCaptionCached(TcxCanvas* ACanvas, const TRect& AStart, UINT AFlags);
  // FCaptionFont from the style's visible font.
  void UpdateCaptionFont();
  // Refreshes the layout and the placement of the children.
  void UpdateNonClientArea();

  bool DefaultsToParentColor() override { return true; }
  bool CanProvideAccessibleObject() override { return false; }
  TcxContainerStyleValues HiddenStyleValues() override;
  void ComputeBorderBounds(TRect& R) override;

  virtual TOwned<TcxPanelStyle> CreatePanelStyle();
  virtual bool IsCaptionCheckBoxVisible() { return false; }
  virtual bool CanFocusOnClick() { return false; }
  virtual bool DoCustomDrawCaption(TcxCanvas* ACanvas, const TRect& ABounds, TcxCustomLookAndFeelPainter* APainter);
  virtual bool DoCustomDrawContentBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                             TcxCustomLookAndFeelPainter* APainter);
  virtual bool AllowsNonClientFrame() { return true; }
  // The box less its client extent (and the panel border): what aligned
  // children fill.
  void AdjustClientRect(TRect& ARect) override;

 protected:
  void InitializeEdit() override;
  bool HostsChildControls() override { return true; }
  bool ShouldFocusOnClick() override { return false; }
  bool CanAutoSize() override { return false; }
  bool IsFadingEnabled() override { return false; }
  bool HasShadow() override;
  bool HasTransparentBorder() override { return false; }
  void GetOuterMargins(TRect& R) override;
  TcxContainerStyle* SelectStyleForState(TcxContainerState AState) override;
  void ApplyStyleChanges(TObject* Sender) override;
  void PaintControl() override;
  void ApplyScale(int M, int D, bool AIsDpiChange) override;
  bool IsAccelCharHandling() const { return FIsAccelCharHandling; }

  void CMTextChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void WMNCHitTest(TMessage& Message);

 private:
  void RefreshLayout();

  TcxCaptionAlignment FAlignment = alTopLeft;
  TColor FCaptionBkColor = clDefault;
  bool FContentExtentsUpdating = false;
  bool FIsAccelCharHandling = false;
  TOwned<TcxPanelStyle> FPanelStyle;
  bool FRedrawOnResize = true;
  TOwned<TFont> FCaptionFont;
  TdxCachedRect FTextRect;
};

class TcxGroupBox : public TcxCustomGroupBox {
  SK_CLASS(TcxGroupBox, TcxCustomGroupBox)
 public:
  static void Publish(TPublisher<TcxGroupBox>& P);
};

// How many times a group box measured its caption since start-up: a layout
// that finds the measurement cached measures nothing.
int cxGroupBoxMeasureCount();

// Unit start-up: registers the class by name.
void cxGroupBoxInitialization();

// -- button groups
// A group box whose content is a grid of captioned buttons, one per item,
// filled column by column. A standalone group owns one inner button control
// per item (made by the kind: check boxes or radio buttons), keeps them in
// step with the items and moves them to the cells of the grid; drawn
// without a window, its view info paints the same grid itself.

class TcxButtonGroupItems;

class TcxButtonGroupItem : public TcxCaptionItem {
  SK_CLASS(TcxButtonGroupItem, TcxCaptionItem)
 public:
  // Creation and destruction each report one change (copAdd, copDelete).
  void Create(TCollection* ACollection) override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);

 protected:
  void ReportChange(int AIndex, TcxCollectionOperation AOperation);

 private:
  bool FEnabled = true;
};

class TcxButtonGroupItems : public TcxCaptionItems {
  SK_CLASS(TcxButtonGroupItems, TcxCaptionItems)
 public:
  void Destroy() override;
  TcxButtonGroupItem* GetItem(int AIndex) const { return static_cast<TcxButtonGroupItem*>(Items(AIndex)); }
  void SetItem(int AIndex, TcxButtonGroupItem* AValue) { SetItems(AIndex, AValue); }
  TcxCustomEditProperties* OwnerProperties() const;
  // Copies the items inside one update of the owner properties.
  void Assign(TPersistent* ASource) override;

  // The one item change being reported while ItemChanged is set.
  int ChangedItemIndex() const { return FChangedItemIndex; }
  TcxCollectionOperation ChangedItemOperation() const { return FChangedItemOperation; }
  bool ItemChanged() const { return FItemChanged; }
  bool IsDestroying() const { return FDestroying; }

  void InternalNotify(TcxButtonGroupItem* AItem, int AItemIndex, TcxCollectionOperation AItemOperation);

 protected:
  void Update(TCollectionItem* AItem) override;

 private:
  friend class TcxButtonGroupItem;
  // An item being created or freed reports its own single change once the
  // collection's update closes; the collection's notification in between
  // would reconcile the inner buttons by count first, and from the end.
  void BeginItemBracket();
  void EndItemBracket();

  int FItemBracketCount = 0;
  int FChangedItemIndex = -1;
  TcxCollectionOperation FChangedItemOperation = copChanged;
  bool FItemChanged = false;
  bool FDestroying = false;
};

// What GetButtonMetrics fills: the base the indent, the layout correction
// and the spacing; a kind the rest when a canvas is given.
struct TcxButtonGroupMetrics {
  int FixedTextOffset = 0;
  int FixedWidthCorrection = 0;
  int AutoTextOffset = 0;
  int AutoWidthCorrection = 0;
  int ButtonIndent = 0;
  int LayoutWidthCorrection = 0;
  int ColumnSpacing = 0;
  TSize GlyphSize;
};

class TcxCustomButtonGroupProperties : public TcxCustomGroupBoxProperties {
  SK_CLASS(TcxCustomButtonGroupProperties, TcxCustomGroupBoxProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  // At least 1.
  int Columns() const { return FColumns; }
  void SetColumns(int AValue);
  TcxButtonGroupItems* Items() const { return FItems.get(); }
  void SetItems(TcxButtonGroupItems* AValue) { FItems->Assign(AValue); }
  TLeftRight ItemAlignment() const { return FItemAlignment; }
  void SetItemAlignment(TLeftRight AValue);
  bool ShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool AValue);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue);

  virtual TOwned<TcxButtonGroupItems> CreateItems();
  // 0 without items; else the columns that the rows of min(Columns, n)
  // columns actually fill.
  virtual int GetColumnCount();
  // Asked only with items.
  int GetRowCount();

  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  TcxEditSupportedOperations GetSupportedOperations() override;

 private:
  int FColumns = 1;
  TOwned<TcxButtonGroupItems> FItems;
  TLeftRight FItemAlignment = taLeftJustify;
  bool FShowEndEllipsis = false;
  bool FWordWrap = false;
};

class TcxButtonGroupButtonViewInfo : public TcxGroupBoxButtonViewInfo {
  SK_CLASS(TcxButtonGroupButtonViewInfo, TcxGroupBoxButtonViewInfo)
};

class TcxButtonGroupViewInfo : public TcxGroupBoxViewInfo {
  SK_CLASS(TcxButtonGroupViewInfo, TcxGroupBoxViewInfo)
 public:
  TClass GetButtonViewInfoClass() const override { return TcxButtonGroupButtonViewInfo::ClassInfo(); }
  // The background beside the glyph, the glyph, then the caption.
  void PaintButtonFaded(TcxCanvas* ACanvas, int AButtonVisibleIndex) override;

  virtual void DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                                 const TRect& AGlyphRect) = 0;
  virtual void DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                               const TRect& AGlyphRect) = 0;
  virtual TSize GetGlyphSize() { return GlyphSize; }
  virtual bool IsButtonGlyphTransparent(TcxGroupBoxButtonViewInfo* AButtonViewInfo) = 0;

  TRect CaptionExtent;
  TSize GlyphSize;
};

class TcxButtonGroupViewData : public TcxGroupBoxViewData {
  SK_CLASS(TcxButtonGroupViewData, TcxGroupBoxViewData)
 public:
  TcxCustomButtonGroupProperties* Properties() const {
    return static_cast<TcxCustomButtonGroupProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  TSize GetEditConstantPartSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                                TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo = nullptr) override;

  virtual void CalculateButtonPositions(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);
  virtual void PrepareButtonsViewInfo(TcxCustomEditViewInfo* AViewInfo);
  // Library text flags of the button captions.
  virtual int GetButtonCaptionTextFlags();
  virtual void GetButtonMetrics(bool AHasWidth, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics);
  virtual void GetCaptionExtent(TRect& ARect) { ARect = TRect(); }
  virtual void GetButtonGlyphSize(TSize& ASize);
  static bool IsButtonNativeStyle(TcxLookAndFeel* ALookAndFeel);

 private:
  void CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, TcxMouseButton Button,
                             TShiftState Shift, bool AIsMouseEvent);
};

class TcxCustomButtonGroup : public TcxCustomGroupBox {
  SK_CLASS(TcxCustomButtonGroup, TcxCustomGroupBox)
 public:
  void Destroy() override;

  TcxCustomButtonGroupProperties* ActiveProperties() {
    return static_cast<TcxCustomButtonGroupProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomButtonGroupProperties* Properties() const {
    return static_cast<TcxCustomButtonGroupProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomButtonGroupProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomButtonGroupProperties::ClassInfo(); }

  // The inner buttons in item order.
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TWinControl* Button(int AIndex) const { return FButtons.at(static_cast<std::size_t>(AIndex)); }
  // The inner button that has the focus, -1 for none.
  int GetFocusedButtonIndex();
  // The first item whose cell holds P (client coordinates), -1 for none.
  int GetButtonIndexAt(const TPoint& P);
  bool IsButtonNativeStyle();
  void RefreshButtons();

  bool AllowsNonClientFrame() override { return false; }
  void ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData) override;

 protected:
  void InitializeEdit() override;
  void CreateWnd() override;
  void PropertiesChanged(TObject* Sender) override;
  void ApplyStyleChanges(TObject* Sender) override;
  void HandleEnabledChange() override;
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override;
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override;
  bool CanAutoSize() override { return !IsInplace() && AutoSize(); }
  bool HostsChildControls() override { return IsAccelCharHandling(); }
  bool NeedsWindowRegion() override { return true; }

  virtual void ArrangeButtons();
  // A new inner button of the kind, owned by the group.
  virtual TWinControl* CreateButton() = 0;
  virtual HDC GetButtonDC(int AIndex) = 0;
  virtual void InitializeButton(TWinControl* AButton);
  virtual void UpdateButtons();
  virtual void UpdateButtonCount(int ACount);
  virtual void UpdateButtonStyles();

 private:
  void AddButton();
  void FreeButton(int AIndex);
  void HandleButtonDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void HandleButtonDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void HandleButtonKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void HandleButtonKeyPress(TObject* Sender, wchar_t& Key);
  void HandleButtonKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void HandleButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void HandleButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void HandleButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void HandleButtonMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);

  std::vector<TWinControl*> FButtons;
  bool FIsButtonsUpdating = false;
};
// -- end button groups
