// The label: a read-only editor whose edit value is its caption. It shows one
// text that can wrap, end in an ellipsis, turn by any angle (TrueType fonts
// only), carry a three-dimensional effect, be raised, lowered or outlined,
// be filled with a picture and have an etched line beside it. Its accelerator
// moves the focus to FocusControl.
//
// Classes in this file:
//   TcxLabelLineOptions           the optional line beside the text
//   TcxCustomLabelProperties      the settings of the label kind
//   TcxLabelProperties            the same, registered with the editor repository
//   TcxLabelEditStyle             labels' style: no border, no hot tracking of their own
//   TcxCustomLabelViewInfo        the paint record of one label; draws it
//   TcxCustomLabelViewData        the layout: text size, text and line rectangles
//   TcxLabelHelper                the start point of a turned text
//   TcxCustomLabel, TcxLabel      the control
//   TdxLabelAccessibilityHelper   its accessibility node (static text)
//
// Coordinates: the text rectangle T and the line rectangle L are in the
// label's client coordinates; the depth of the effect is kept at the
// properties' scale factor and rescaled to the view's where it is used.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "library/editors/text/cxTextEdit.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/stdctrls/cxExtEditConsts.h"

#include <cstdint>

enum TcxLabelEffect { cxleNormal, cxleFun, cxleExtrude, cxleCool };
enum TcxLabelStyle { cxlsNormal, cxlsRaised, cxlsLowered, cxlsOutLine };
enum TcxLabelOrientation {
  cxoLeft,
  cxoRight,
  cxoTop,
  cxoBottom,
  cxoLeftTop,
  cxoLeftBottom,
  cxoRightTop,
  cxoRightBottom
};
enum TcxLabelLineAlignment { cxllaTop, cxllaCenter, cxllaBottom };

template <>
struct TEnumInfo<TcxLabelEffect> {
  static constexpr const wchar_t* Name = L"TcxLabelEffect";
  static constexpr const wchar_t* Names[] = {L"cxleNormal", L"cxleFun", L"cxleExtrude", L"cxleCool"};
  static constexpr TcxLabelEffect Last = cxleCool;
};
template <>
struct TEnumInfo<TcxLabelStyle> {
  static constexpr const wchar_t* Name = L"TcxLabelStyle";
  static constexpr const wchar_t* Names[] = {L"cxlsNormal", L"cxlsRaised", L"cxlsLowered", L"cxlsOutLine"};
  static constexpr TcxLabelStyle Last = cxlsOutLine;
};
template <>
struct TEnumInfo<TcxLabelOrientation> {
  static constexpr const wchar_t* Name = L"TcxLabelOrientation";
  static constexpr const wchar_t* Names[] = {L"cxoLeft",     L"cxoRight",      L"cxoTop",      L"cxoBottom",
                                             L"cxoLeftTop",  L"cxoLeftBottom", L"cxoRightTop", L"cxoRightBottom"};
  static constexpr TcxLabelOrientation Last = cxoRightBottom;
};
template <>
struct TEnumInfo<TcxLabelLineAlignment> {
  static constexpr const wchar_t* Name = L"TcxLabelLineAlignment";
  static constexpr const wchar_t* Names[] = {L"cxllaTop", L"cxllaCenter", L"cxllaBottom"};
  static constexpr TcxLabelLineAlignment Last = cxllaBottom;
};

class TcxCustomLabel;

// ---------------------------------------------------------------------------
// TcxLabelLineOptions

class TcxLabelLineOptions : public TPersistent {
  SK_CLASS(TcxLabelLineOptions, TPersistent)
 public:
  static void Publish(TPublisher<TcxLabelLineOptions>& P);
  // From other line options: all four values, one OnChanged.
  void Assign(TPersistent* ASource) override;

  TcxLabelLineAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TcxLabelLineAlignment AValue) { SetField(FAlignment, AValue); }
  TColor InnerColor() const { return FInnerColor; }
  void SetInnerColor(TColor AValue) { SetField(FInnerColor, AValue); }
  TColor OuterColor() const { return FOuterColor; }
  void SetOuterColor(TColor AValue) { SetField(FOuterColor, AValue); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { SetField(FVisible, AValue); }

  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

 private:
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  void Changed() {
    if (FOnChanged) FOnChanged(this);
  }

  TcxLabelLineAlignment FAlignment = cxllaCenter;
  TColor FInnerColor = clDefault;
  TNotifyEvent FOnChanged;
  TColor FOuterColor = clDefault;
  bool FVisible = false;
};

// ---------------------------------------------------------------------------
// TcxCustomLabelProperties

class TcxCustomLabelProperties : public TcxCustomEditProperties {
  SK_CLASS(TcxCustomLabelProperties, TcxCustomEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  // Degrees, counter-clockwise.
  int Angle() const { return FAngle; }
  void SetAngle(int AValue) { SetValue(FAngle, AValue); }
  // Pixels at ScaleFactor.
  std::uint16_t Depth() const { return FDepth; }
  void SetDepth(std::uint16_t AValue) { SetValue(FDepth, AValue); }
  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* AValue) { FGlyph->Assign(AValue); }
  TcxLabelEffect LabelEffect() const { return FLabelEffect; }
  void SetLabelEffect(TcxLabelEffect AValue) { SetValue(FLabelEffect, AValue); }
  TcxLabelStyle LabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TcxLabelStyle AValue) { SetValue(FLabelStyle, AValue); }
  TcxLabelLineOptions* LineOptions() const { return FLineOptions.get(); }
  void SetLineOptions(TcxLabelLineOptions* AValue) { FLineOptions->Assign(AValue); }
  // The direction in which the effect extends.
  TcxLabelOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TcxLabelOrientation AValue) { SetValue(FOrientation, AValue); }
  int PenWidth() const { return FPenWidth; }
  void SetPenWidth(int AValue) { SetValue(FPenWidth, AValue); }
  TColor ShadowedColor() const { return FShadowedColor; }
  void SetShadowedColor(TColor AValue) { SetValue(FShadowedColor, AValue); }
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool AValue) { SetValue(FShowAccelChar, AValue); }
  bool ShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool AValue) { SetValue(FShowEndEllipsis, AValue); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool AValue) { SetValue(FWordWrap, AValue); }

  // The scale Depth is given at; ApplyScale moves both.
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  void ApplyScale(int M, int D);
  // An effect other than cxleNormal and a depth other than 0.
  bool HasDepth() const { return FLabelEffect != cxleNormal && FDepth != 0; }
  // At the properties' scale factor: (0, 0) without depth.
  TSize GetDepthDeltaSize() const;

  // TcxCustomEditProperties
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  TClass GetContainerClass() override;
  bool HasOwnChangeNotification() override { return true; }
  bool CanCompareEditValue() override { return true; }
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;

 private:
  template <class T>
  void SetValue(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  void PartChanged(TObject*) { Changed(); }

  int FAngle = 0;
  std::uint16_t FDepth = 0;
  TOwned<TdxSmartGlyph> FGlyph;
  TcxLabelEffect FLabelEffect = cxleNormal;
  TcxLabelStyle FLabelStyle = cxlsNormal;
  TOwned<TcxLabelLineOptions> FLineOptions;
  TcxLabelOrientation FOrientation = cxoRightBottom;
  int FPenWidth = 1;
  TColor FShadowedColor = clGrayText;
  bool FShowAccelChar = true;
  bool FShowEndEllipsis = false;
  bool FWordWrap = false;
  TOwned<TdxScaleFactor> FScaleFactor;
};

class TcxLabelProperties : public TcxCustomLabelProperties {
  SK_CLASS(TcxLabelProperties, TcxCustomLabelProperties)
 public:
  static void Publish(TPublisher<TcxLabelProperties>& P);
};

// ---------------------------------------------------------------------------
// TcxLabelEditStyle

class TcxLabelEditStyle : public TcxEditStyle {
  SK_CLASS(TcxLabelEditStyle, TcxEditStyle)
 public:
  // The normal style draws no border; the state styles keep the rule.
  TcxContainerBorderStyle EffectiveBorderStyle() const override;

 protected:
  bool DefaultHotTrack() const override { return false; }
};

// ---------------------------------------------------------------------------
// TcxCustomLabelViewInfo

class TcxCustomLabelViewData;

// One measuring result of the view data, kept between layouts.
struct TcxLabelTextSizeCacheEntry {
  std::uint32_t Key = 0;
  TSize Size;
  bool Valid = false;
};

class TcxCustomLabelViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxCustomLabelViewInfo, TcxCustomTextEditViewInfo)
 public:
  void Create() override;
  void Destroy() override;
  void Offset(int DX, int DY) override;

  // Algorithms of the label's drawing: the background of B, then the text
  // with its effect and style, then the line.
  virtual void DrawLabelBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawLabel(TcxCanvas* ACanvas);
  // Both measuring passes are measured again at the next layout.
  void ResetTextSizeCache();

  TcxEditAlignment* Alignment() const { return FAlignment.get(); }
  TSize DepthDeltaSize() const { return FDepthDeltaSize; }
  TRect LineRect() const { return FLineRect; }

  TRect FocusRect;
  bool HasGlyph = false;
  TPoint LeftTop;
  bool ShowAccelChar = true;

 protected:
  friend class TcxCustomLabelViewData;
  void InternalPaint(TcxCanvas* ACanvas) override;
  TColor DefaultStateTextColor(TcxEditStateColorKind AKind) override;
  void DrawFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect, TRect& AContentRect,
                            TColor& APenColor, TColor& ABrushColor) override;

 private:
  // The text at Q in the canvas's font and font colour.
  void DrawTextAt(TcxCanvas* ACanvas, const TPoint& Q, int AAngle, bool AIsPath);
  // The face: a glyph fill through the text's path, or the plain text.
  void DrawFace(TcxCanvas* ACanvas, const TPoint& Q, int AAngle, bool AIsTrueType);
  void DrawEffect(TcxCanvas* ACanvas, TPoint& P, const TSize& S, int AAngle);
  void DrawStyle(TcxCanvas* ACanvas, const TPoint& P, int AAngle, bool AIsTrueType);
  void DrawLine(TcxCanvas* ACanvas);
  bool IsVerticalLine() const { return FLineVertical; }

  TOwned<TcxEditAlignment> FAlignment;
  int FAngle = 0;
  int FDepth = 0;
  TSize FDepthDeltaSize;
  TOwned<TBitmap> FGlyph;
  TcxLabelEffect FLabelEffect = cxleNormal;
  TcxLabelStyle FLabelStyle = cxlsNormal;
  int FLabelStyleOffset = 0;
  TColor FLineInnerColor = clDefault;
  bool FLineVertical = false;
  TColor FLineOuterColor = clDefault;
  TRect FLineRect;
  TcxLabelOrientation FOrientation = cxoRightBottom;
  int FPenWidth = 1;
  TColor FShadowedColor = clGrayText;
  bool FWordWrap = false;
  TcxLabelTextSizeCacheEntry FTextSizes[2];
};

// ---------------------------------------------------------------------------
// TcxCustomLabelViewData

class TcxCustomLabelViewData : public TcxCustomTextEditViewData {
  SK_CLASS(TcxCustomLabelViewData, TcxCustomTextEditViewData)
 public:
  TcxCustomLabelProperties* Properties() const {
    return static_cast<TcxCustomLabelProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TSize GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                           const TcxEditSizeProperties& AEditSizeProperties,
                           TcxEditValidateInfo* AErrorData = nullptr) override;

  // 1 for a raised or lowered font under 12 points, 2 from 12 points, else 0.
  virtual int GetLabelStyleOffset(TcxCanvas* ACanvas);
  // The text size for the turned text in the canvas font, with the style
  // offset and the depth; AOwner (may be nil) keeps the result of each pass.
  virtual TSize CalculateTextSize(TcxCanvas* ACanvas, TcxCustomLabelViewInfo* AOwner, int APass, const String& AText,
                                  const TRect& R);
  virtual TRect CalculateTextRect(TcxCanvas* ACanvas, TcxCustomLabelViewInfo* AViewInfo, int AAngle);
  virtual TRect CalculateLineRect(TRect& ATextRect, const TRect& AClientRect, bool AVertical, int ALineHeight,
                                  bool AVisible, TcxLabelLineAlignment AAlignment);
  virtual int GetTextOutFlags();
  virtual int GetLineHeight();
  virtual bool IsLineVisible(int AAngle);
  // The depth delta at the view's scale factor.
  TSize ScaledDepthDeltaSize() const;

 protected:
  void AdjustContentExtent(TRect& AExtent) override;
  TcxEditPaintOptions GetEffectivePaintOptions() override;
  void ValueToDisplayText(const Variant& AEditValue, String& AText) override;

 private:
  bool IsEndEllipsisEffective();
  String LabelText(TcxCustomLabelViewInfo* AViewInfo, const Variant& AEditValue);
};

// ---------------------------------------------------------------------------
// TcxLabelHelper

class TcxLabelHelper {
 public:
  // The origin ExtTextOut takes so that the bounding box of AText turned by
  // AAngle is aligned in ADrawingRect; the canvas holds the turned font.
  static TPoint CalculatePositionOfRotatedText(TcxCanvas* ACanvas, const String& AText, bool AShowAccelChar,
                                               const TRect& ADrawingRect, const TSize& ADepthDeltaSize, int AAngle,
                                               TAlignment AAlignHorz, TcxEditVertAlignment AAlignVert);
  static TPoint CalculatePositionOfRotatedText(TcxCanvas* ACanvas, const String& AText, const TRect& ADrawingRect,
                                               TcxCustomLabelProperties* AProperties);
};

// ---------------------------------------------------------------------------
// TcxCustomLabel

class TcxCustomLabel : public TcxCustomEdit {
  SK_CLASS(TcxCustomLabel, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TcxCustomLabel>& P);
  void Destroy() override;

  TcxCustomLabelProperties* ActiveProperties() {
    return static_cast<TcxCustomLabelProperties*>(inherited::ActiveProperties());
  }
  TcxCustomLabelProperties* Properties() const {
    return static_cast<TcxCustomLabelProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomLabelProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxLabelProperties::ClassInfo(); }
  TcxCustomLabelViewInfo* ViewInfo() const { return static_cast<TcxCustomLabelViewInfo*>(inherited::ViewInfo()); }

  // Not the label itself; cleared when that control goes away.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* AValue);
  bool Transparent() { return ActiveProperties()->Transparent(); }
  void SetTransparent(bool AValue) { Properties()->SetTransparent(AValue); }

  bool CanFocus() override { return IsInplace() && inherited::CanFocus(); }
  TClass GetAccessibilityHelperClass() override;
  bool DefaultsToParentColor() override { return true; }
  TcxEditStateColorKind StyleStateIndex() override;
  int GetTextBaseLine();
  bool HasTextBaseLine() { return ActiveProperties()->Angle() == 0; }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void InitializeEdit() override;
  TcxContainerStyleClass StyleClass() override { return TcxLabelEditStyle::ClassInfo(); }
  void AutoSizeChanged() override;
  void PropertiesChanged(TObject* Sender) override;
  bool KeepsHorizontalAnchor() override;
  bool KeepsVerticalAnchor() override;
  void ApplyEditValue(const Variant& AValue) override;
  void ApplyDisplayValue(const Variant& AValue) override;
  bool ShouldFocusOnClick() override { return inherited::ShouldFocusOnClick() && IsInplace(); }
  bool CanAutoHeight() override { return true; }
  bool CanAutoWidth() override { return true; }
  bool IsWordWrapped() override { return ActiveProperties()->WordWrap(); }
  bool IsFadingEnabled() override { return false; }
  void ApplyScale(int M, int D, bool AIsDpiChange) override;

  void CMTextChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:

  TWinControl* FFocusControl = nullptr;
  bool FLockCaption = false;
};

class TcxLabel : public TcxCustomLabel {
  SK_CLASS(TcxLabel, TcxCustomLabel)
 public:
  static void Publish(TPublisher<TcxLabel>& P);

  TcxLabelProperties* Properties() const { return static_cast<TcxLabelProperties*>(InternalProperties()); }
  void SetProperties(TcxLabelProperties* AValue) { InternalProperties()->Assign(AValue); }
  TcxLabelProperties* ActiveProperties() {
    return static_cast<TcxLabelProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxLabelEditStyle* Style() const { return static_cast<TcxLabelEditStyle*>(TcxCustomEdit::Style()); }
};

// ---------------------------------------------------------------------------
// TdxLabelAccessibilityHelper

class TdxLabelAccessibilityHelper : public TdxEditAccessibilityHelper {
  SK_CLASS(TdxLabelAccessibilityHelper, TdxEditAccessibilityHelper)
 protected:
  int GetRole(int) override { return ROLE_SYSTEM_STATICTEXT; }
  int GetSupportedProperties(int AChildID) override;
};

// How many times a label measured its text with DrawText since start-up: a
// layout that finds its sizes cached measures nothing.
int cxLabelMeasureCount();

// Unit start-up and shut-down: the properties class with the editor
// repository and the filter-edit controller, the class by name.
void cxLabelInitialization();
void cxLabelFinalization();
