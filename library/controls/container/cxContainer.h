// The container unit: the control that draws a styled border around a
// content area that may host one native window, its state styles and the
// style controller that shares styles between containers.
//
// Classes in this file:
//   TcxContainerStateItem, TcxContainerState, TcxContainerHotState,
//   TcxContainerStyleValue(s)         the states and the style values
//   TcxContainerStyle                 a container's look in one state
//                                     (cxContainer_Styles.cpp)
//   TcxContainerStyles                the four state styles of one owner
//   TcxStyleController                a component whose styles many
//                                     containers follow
//   TcxContainerViewInfo              a container's computed geometry and
//                                     colours, and their painting
//                                     (cxContainer_ViewInfo.cpp)
//
// A style value is either assigned on the style or read at each access
// through a fixed chain: a value that only the normal style keeps is read
// there; then the style's own assigned value; then the style of the same
// state of the linked controller, and of that controller's controller;
// finally a default computed from the state and the look-and-feel. The
// assigned-values set, not the stored field, decides which. UI thread only.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Graphics.h"

#include <array>
#include <vector>

template <>
struct TEnumInfo<TcxContainerBorderStyle> {
  static constexpr const wchar_t* Name = L"TcxContainerBorderStyle";
  static constexpr const wchar_t* Names[] = {L"cbsNone", L"cbsSingle", L"cbsThick",    L"cbsFlat",
                                             L"cbs3D",   L"cbsUltraFlat", L"cbsOffice11"};
  static constexpr TcxContainerBorderStyle Last = cbsOffice11;
};

enum TcxContainerStateItem { csNormal, csActive, csDisabled, csHotTrack };
using TcxContainerState = TSet<TcxContainerStateItem>;
constexpr int cxContainerStateItemCount = csHotTrack + 1;

enum TcxContainerHotState { chsNoHotTrack, chsNormal, chsSelected };

// The values a style can assign. Editor styles add their own after
// svTransparentBorder (up to 31).
enum TcxContainerStyleValue {
  svBorderColor,
  svBorderStyle,
  svColor,
  svEdges,
  svFont,
  svHotTrack,
  svShadow,
  svTextColor,
  svTextStyle,
  svTransparentBorder
};
template <>
struct TEnumInfo<TcxContainerStyleValue> {
  static constexpr const wchar_t* Name = L"TcxContainerStyleValue";
  static constexpr const wchar_t* Names[] = {L"svBorderColor", L"svBorderStyle", L"svColor",     L"svEdges",
                                             L"svFont",        L"svHotTrack",    L"svShadow",    L"svTextColor",
                                             L"svTextStyle",   L"svTransparentBorder"};
  static constexpr TcxContainerStyleValue Last = svTransparentBorder;
};
using TcxContainerStyleValues = TSet<TcxContainerStyleValue>;

class TcxContainer;
class TcxContainerStyle;
class TcxStyleController;

// What a style draws with: read straight from here in direct-access mode.
struct TcxContainerStyleData {
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor FontColor = clDefault;
};

// ---------------------------------------------------------------------------
// TcxContainerStyle

class TcxContainerStyle : public TcxInterfacedPersistent {
  SK_CLASS(TcxContainerStyle, TcxInterfacedPersistent)
 public:
  static void Publish(TPublisher<TcxContainerStyle>& P);

  // AParentStyle is the normal style of a focused, disabled or hot style. A
  // direct-access style reads colour and font from StyleData and tells no one.
  virtual void Create(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle = nullptr,
                      TcxContainerStateItem AState = csNormal);
  void Destroy() override;
  void Assign(TPersistent* ASource) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // The style's font with its text colour and text style.
  TFont* GetVisibleFont();
  virtual bool HasBorder() const;
  // Whether the value is assigned here or through the controller chain.
  virtual bool IsValueAssigned(TcxContainerStyleValue AValue) const;
  virtual void RestoreDefaults();
  // The value named APropertyName (case-insensitive).
  bool GetStyleValue(const String& APropertyName, TcxContainerStyleValue& AStyleValue) const;
  virtual int GetStyleValueCount() const { return 10; }
  virtual bool GetStyleValueName(TcxContainerStyleValue AValue, String& AName) const;
  // Whether a state style (focused, disabled, hot) publishes the property.
  bool IsExtendedStylePropertyPublished(const String& APropertyName) const;

  // Properties
  TcxContainerStyleValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxContainerStyleValues AValue);
  TColor BorderColor() const;
  void SetBorderColor(TColor AValue);
  TcxContainerBorderStyle BorderStyle() const;
  void SetBorderStyle(TcxContainerBorderStyle AValue);
  virtual TColor Color() const;
  void SetColor(TColor AValue);
  TcxBorders Edges() const;
  void SetEdges(TcxBorders AValue);
  TFont* Font() const;
  void SetFont(TFont* AValue);
  bool HotTrack() const;
  void SetHotTrack(bool AValue);
  TcxLookAndFeel* LookAndFeel() const;
  void SetLookAndFeel(TcxLookAndFeel* AValue);
  bool Shadow() const;
  void SetShadow(bool AValue);
  // The linked controller; nil when it is the default one.
  TcxStyleController* StyleController() const;
  void SetStyleController(TcxStyleController* AValue);
  virtual TColor TextColor() const;
  void SetTextColor(TColor AValue);
  virtual TFontStyles TextStyle() const;
  void SetTextStyle(TFontStyles AValue);
  bool TransparentBorder() const;
  void SetTransparentBorder(bool AValue);

  // The controller the chain goes on to, the default one included.
  TcxStyleController* ActiveStyleController() const;
  // The normal style (the style itself for the normal one).
  TcxContainerStyle* BaseStyle() { return FParentStyle ? FParentStyle : this; }
  const TcxContainerStyle* BaseStyle() const { return FParentStyle ? FParentStyle : this; }
  TcxContainerStateItem State() const { return FState; }
  bool DirectAccessMode() const { return FDirectAccessMode; }
  TcxContainerStyleData StyleData;

  // Events
  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

  // Colour resolution for a container applying its style: the chain first,
  // then the parent's colour when the container follows it, then the default.
  virtual TColor ResolvedColor() const;
  // The border style a state draws when nothing assigns one.
  virtual TcxContainerBorderStyle EffectiveBorderStyle() const;
  virtual TColor DefaultColor() const;
  // Re-reads the font from the controller chain, the container or the
  // default font, unless the style assigns its own.
  void UpdateFont();

 protected:
  void DefineProperties(TFiler* AFiler) override;
  virtual void Changed();
  virtual void ControllerChanged();
  virtual void ControllerFreeNotification(TcxStyleController* AController);
  virtual TColor DefaultBorderColor() const;
  virtual TColor DefaultDisabledTextColor() const { return clBtnShadow; }
  virtual TcxBorders DefaultEdges() const { return cxBordersAll(); }
  virtual bool DefaultHotTrack() const { return true; }
  virtual bool DefaultShadow() const { return false; }
  virtual TColor DefaultStyleTextColor() const;
  virtual TFontStyles DefaultTextStyle() const;
  virtual bool DefaultTransparentBorder() const { return true; }
  virtual TcxContainerStyleValues ExtendedHiddenValues() const {
    return {svEdges, svFont, svHotTrack, svShadow, svTransparentBorder};
  }
  virtual TcxStyleController* GetDefaultStyleController() const;
  // Values only the normal style keeps: a state style reads and writes them there.
  bool IsNormalOnlyValue(TcxContainerStyleValue AValue) const {
    return ExtendedHiddenValues().Contains(AValue);
  }

 private:
  friend class TcxStyleController;
  struct TFontLock;

  void FontChanged(TObject* Sender);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void CheckChanges();
  // The first style of the chain that assigns the value, or nil.
  const TcxContainerStyle* AssigningStyle(TcxContainerStyleValue AValue) const;
  // The style of this state in the next controller of the chain, or nil.
  const TcxContainerStyle* ControllerStyle() const;
  template <class T>
  void SetValue(TcxContainerStyleValue AValue, T& AField, const T& ANewValue);
  void LinkController(TcxStyleController* AValue);
  bool IsValueStored(TcxContainerStyleValue AValue) const;
  template <TcxContainerStyleValue V>
  bool IsStored() const { return IsValueStored(V); }
  bool IsStyleControllerStored() const { return !FParentStyle && StyleController(); }
  bool IsLookAndFeelStored() const { return !FParentStyle; }
  const TdxScaleFactor* OwnerScaleFactor() const;
  // Without a container owner a style takes its parent's colour by default.
  bool IsParentColored() const { return true; }

  TColor FBorderColor;
  TcxContainerBorderStyle FBorderStyle;
  TcxBorders FEdges;
  bool FHotTrack;
  bool FShadow;
  bool FTransparentBorder;
  bool FDirectAccessMode;
  int FFontAssignedValueLockCount;
  bool FIsDestroying;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  bool FModified;
  TcxContainerStyle* FParentStyle;
  TcxContainerStateItem FState;
  TFontStyles FTextStyle;
  int FUpdateCount;
  TOwned<TFont> FVisibleFont;
  TOwned<TFont> FFont;
  TNotifyEvent FOnChanged;
  TcxContainerStyleValues FAssignedValues;
  TcxStyleController* FStyleController;
};
using TcxContainerStyleClass = TClass;

// ---------------------------------------------------------------------------
// TcxContainerStyles

// The normal, focused, disabled and hot styles of one owner, freed with it.
class TcxContainerStyles : public TObject {
  SK_CLASS(TcxContainerStyles, TObject)
 public:
  // AStyleClass: a TcxContainerStyle class, nil for the base class.
  virtual void Create(TPersistent* AOwner, TcxContainerStyleClass AStyleClass);
  void Destroy() override;

  void RestoreDefaults();
  TcxContainerStyle* GetStyle(TcxContainerStateItem AState) const { return FStyles[AState].get(); }
  // Assigns into the state's style.
  void SetStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) { FStyles[AState]->Assign(AValue); }
  TcxContainerStyle* Style() const { return GetStyle(csNormal); }
  TcxContainerStyle* StyleDisabled() const { return GetStyle(csDisabled); }
  TcxContainerStyle* StyleFocused() const { return GetStyle(csActive); }
  TcxContainerStyle* StyleHot() const { return GetStyle(csHotTrack); }
  // Binds the change event of all four styles.
  void SetOnChanged(TNotifyEvent AValue);

 private:
  std::array<TOwned<TcxContainerStyle>, cxContainerStateItemCount> FStyles;
};

// ---------------------------------------------------------------------------
// TcxStyleController

class TcxStyleController : public TcxScalableComponent {
  SK_CLASS(TcxStyleController, TcxScalableComponent)
 public:
  static void Publish(TPublisher<TcxStyleController>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  void RestoreStyles() { FStyles->RestoreDefaults(); }
  TcxContainerStyle* GetInternalStyle(TcxContainerStateItem AState) const { return FStyles->GetStyle(AState); }
  void SetInternalStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) { FStyles->SetStyle(AState, AValue); }
  TcxContainerStyles* Styles() const { return FStyles.get(); }
  bool IsDestruction() const { return FIsDestruction; }
  // The normal style's own controller; writing does nothing.
  TcxStyleController* FakeStyleController() const { return Style()->StyleController(); }
  void SetFakeStyleController(TcxStyleController*) {}

  TcxContainerStyle* Style() const { return GetInternalStyle(csNormal); }
  void SetStyle(TcxContainerStyle* AValue) { SetInternalStyle(csNormal, AValue); }
  TcxContainerStyle* StyleDisabled() const { return GetInternalStyle(csDisabled); }
  void SetStyleDisabled(TcxContainerStyle* AValue) { SetInternalStyle(csDisabled, AValue); }
  TcxContainerStyle* StyleFocused() const { return GetInternalStyle(csActive); }
  void SetStyleFocused(TcxContainerStyle* AValue) { SetInternalStyle(csActive, AValue); }
  TcxContainerStyle* StyleHot() const { return GetInternalStyle(csHotTrack); }
  void SetStyleHot(TcxContainerStyle* AValue) { SetInternalStyle(csHotTrack, AValue); }

  // The normal styles linked to this controller, in linking order.
  const std::vector<TcxContainerStyle*>& Listeners() const { return FListeners; }

  TNotifyEvent OnStyleChanged() const { return FOnStyleChanged; }
  void SetOnStyleChanged(TNotifyEvent AValue) { FOnStyleChanged = AValue; }

 protected:
  void Loaded() override;
  void ChangeScaleFactor(int ANumerator, int ADenominator) override;
  virtual void AddListener(TcxContainerStyle* AStyle);
  virtual TcxContainerStyleClass GetStyleClass() const;
  virtual TClass GetStylesClass() const;
  virtual void RemoveListener(TcxContainerStyle* AStyle);

 private:
  friend class TcxContainerStyle;
  void Changed(TObject* Sender = nullptr);

  bool FIsDestruction;
  std::vector<TcxContainerStyle*> FListeners;
  TNotifyEvent FOnStyleChanged;
  TOwned<TcxContainerStyles> FStyles;
};

// ---------------------------------------------------------------------------
// TcxContainerViewInfo

// The width a container border of the style takes on each bordered side.
int BorderStyleToWidth(TcxContainerBorderStyle AStyle);

// The paint record of a container: computed by the container, painted here.
// Not native, the border ring lies just outside BorderRect on the sides in
// Edges and is drawn by the painter; natively the theme's content rectangle
// of Bounds is filled and the ring around it takes the theme's border colour.
class TcxContainerViewInfo : public TObject {
  SK_CLASS(TcxContainerViewInfo, TObject)
 public:
  virtual void Create();

  // From another view info only ClientRect is taken.
  virtual void Assign(TObject* ASource);
  // The region that differs from AViewInfo: none in the base.
  virtual TOwned<TcxRegion> GetUpdateRegion(TcxContainerViewInfo* AViewInfo);
  // Moves the rectangles once they are calculated.
  virtual void Offset(int DX, int DY);
  void Paint(TcxCanvas* ACanvas) { InternalPaint(ACanvas); }
  // Font and painter from the style's look-and-feel.
  virtual void UpdateStyle(TcxContainerStyle* AStyle);
  virtual TcxContainerBorderStyle GetBorderStyle() const { return BorderStyle; }

  bool Calculated() const { return FCalculated; }
  void SetCalculated(bool AValue) { FCalculated = AValue; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor AValue) { FBackgroundColor = AValue; }

  TColor BorderColor = clDefault;
  TRect BorderRect;
  TcxContainerBorderStyle BorderStyle = cbsNone;
  int BorderWidth = 0;
  TRect Bounds;
  TRect ClientRect;
  TcxContainerState ContainerState;
  TcxBorders Edges;
  TFont* Font = nullptr;
  TcxContainerHotState HotState = chsNoHotTrack;
  int NativePart = 0;
  int NativeState = 0;
  bool NativeStyle = false;
  TObject* Owner = nullptr;
  TcxCustomLookAndFeelPainter* Painter = nullptr;
  bool PaintOnGlass = false;
  bool Shadow = false;
  TdxThemedObjectType ThemedObjectType = totEdit;
  bool UseSkinnedColors = false;
  bool UseSkins = false;

 protected:
  virtual void DrawBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual TColor DefaultStateTextColor(TcxEditStateColorKind AKind);
  virtual void InternalPaint(TcxCanvas* ACanvas);

 private:
  void PaintBorderAndBackground(TcxCanvas* ACanvas);
  void PaintNative(TcxCanvas* ACanvas);

  TColor FBackgroundColor;
  bool FCalculated;
};

// The 3-pixel shadow right of and below R, which leaves the clip region.
void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R);
// The themed container border colour (the list box's with desktop
// composition, else the combo box's); clDefault without a theme.
TColor NativeContainerBorderColor();

// The controller every normal style links to unless another is set; nil
// until the editors install theirs.
TcxStyleController* GetDefaultStyleController();
void SetDefaultStyleController(TcxStyleController* AValue);

// Unit start-up: the style controller joins the controls' class group.
void cxContainerInitialization();
