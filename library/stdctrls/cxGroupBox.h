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
// -- end button groups
