// The container unit: the control that draws a styled border around a
// content area that may host one native window, its state styles and the
// style controller that shares styles between containers.
//
// Classes in this file:
//   TcxContainerStateItem, TcxContainerState, TcxContainerHotState,
//   TcxContainerStyleValue(s)         the states and the style values
//   TcxContainerStyle                 a container's look in one state
//                                     (cxContainer_Styles.cpp)
//   TcxContainerStyleUpdate           one batch of changes to a style, reported once
//   TcxContainerStyles                the four state styles of one owner
//   TcxStyleController                a component whose styles many
//                                     containers follow
//   IcxContainerInnerControl          an inner control naming its container
//   TcxContainerViewInfo              a container's computed geometry and
//                                     colours, and their painting
//                                     (cxContainer_ViewInfo.cpp)
//   TcxContainer                      the control: state, refresh, window
//                                     region, inner control (cxContainer.cpp)
//   TcxCustomInnerListBox, TdxCustomInnerListBoxAccessibilityHelper
//                                     the native list a container hosts and
//                                     its accessibility node
//                                     (cxContainer_InnerListBox.cpp)
//
// A style value is either assigned on the style or read at each access
// through a fixed chain: a value that only the normal style keeps is read
// there; then the style's own assigned value; then the style of the same
// state of the linked controller, and of that controller's controller;
// finally a default computed from the state and the look-and-feel. The
// assigned-values set, not the stored field, decides which. UI thread only.
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/controls/control/cxControls.h"
#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

#include <functional>

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
  // The container's own font becomes the style's, assigned, without telling
  // the container (it is applying that font already).
  void TakeFont(TFont* AFont);
  // The owner when it is a container.
  TcxContainer* Container() const;

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
  const TdxScaleFactor* OwnerScaleFactor() const;
  // A style without a container, or of one that defaults to its parent's
  // colour, takes the parent's colour by default.
  bool IsParentColored() const;
  // The parent's colour when the container follows it, else clDefault.
  TColor ParentControlColor(bool AInplaceToo) const;

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

// One batch of changes to a style: the style reports once when the scope
// ends, also when the batch raises.
class TcxContainerStyleUpdate {
 public:
  explicit TcxContainerStyleUpdate(TcxContainerStyle* AStyle) : FStyle(AStyle) { FStyle->BeginUpdate(); }
  ~TcxContainerStyleUpdate() { FStyle->EndUpdate(); }
  TcxContainerStyleUpdate(const TcxContainerStyleUpdate&) = delete;
  TcxContainerStyleUpdate& operator=(const TcxContainerStyleUpdate&) = delete;

 private:
  TcxContainerStyle* FStyle;
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
  // The colours of the style for the owner's state.
  virtual TColor CalculateBorderColor(TcxContainerStyle* AStyle, bool AEnabled, bool ADesigning, TcxContainer* AOwner);
  virtual TColor CalculateBackgroundColor(TcxContainerStyle* AStyle, bool AEnabled, TcxContainer* AOwner);
  virtual TColor CalculateTextColor(TcxContainerStyle* AStyle, bool AEnabled, TcxContainer* AOwner);

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

// ---------------------------------------------------------------------------
// TcxContainer

enum TcxMouseButton { cxmbNone, cxmbLeft, cxmbRight, cxmbMiddle };
TcxMouseButton ButtonToMouseButton(TMouseButton AButton);

// A control that a container hosts as its inner window and that names its
// container, which need not be among its parents.
struct IcxContainerInnerControl : public virtual IInterface {
  static constexpr GUID IID = {0x1B111318, 0xD9C9, 0x4C35, {0x9E, 0xFF, 0x5D, 0x95, 0x79, 0x3C, 0x01, 0x06}};
  virtual TWinControl* GetControl() = 0;
  virtual TWinControl* GetControlContainer() = 0;

 protected:
  ~IcxContainerInnerControl() = default;
};

// What part of the inner control the container leaves visible.
struct TcxContainerInnerControlBounds {
  bool IsEmpty = true;
  TRect Rect;
};

// Every visible change (state, style, size, focus, mouse) ends in one
// refresh: the view info is recomputed at the mouse point, the inner control
// placed and restyled, the window region updated and the control
// invalidated (with an inner control only the border ring around it).
// Requests made while refreshing is locked, during creation or loading, or
// without a window only mark the container as changed; the next paint
// catches up.
// Tells its container that the mouse left the area tracked for hot tracking,
// and asks it whether a point still counts as inside and whether a press
// begun inside holds the capture (tracking then goes on).
class TcxContainerMouseTracker : public TNoRefCount<TObject>, public IcxMouseTrackingCaller3 {
  SK_CLASS(TcxContainerMouseTracker, TObject)
 public:
  void Create(TcxContainer* AContainer) { FContainer = AContainer; }
  bool GetInterface(const GUID& AIID, void** AObj) override;
  void MouseLeave() override;
  bool PtInCaller(const TPoint& P) override;
  bool IsCaptureObject() override;

 private:
  TcxContainer* FContainer;
};

class TcxContainer : public TcxControl {
  SK_CLASS(TcxContainer, TcxControl)
 public:
  static void Publish(TPublisher<TcxContainer>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  bool Focused();
  void SetFocus() override;
  void Invalidate() override;
  // While the inner control is the form's active control it stands in the
  // container's place, so that moving back from it does not land on the
  // container (which would hand the focus straight back).
  void GetTabOrderList(std::vector<TWinControl*>& AList) override;
  bool HasInnerControl() const { return FInnerControl != nullptr; }
  bool HasInnerControlHandle() const { return FInnerControl && FInnerControl->HandleAllocated(); }
  // The inner window's message passed through the container's filter; false
  // when the container does not take it.
  bool InnerControlDefaultHandler(TMessage& Message);
  // The inner window's message before its own handling: the hint at the
  // mouse and the popup-menu shortcuts of the container and its parents.
  // True when taken.
  virtual bool InnerControlMenuHandler(TMessage& Message);
  bool IsStylePropertyPublished(const String& APropertyName, bool AExtendedStyle);
  void LockAlignControls(bool ALock);
  void LockPopupMenu(bool ALock);
  void RestoreStyles() { FStyles->RestoreDefaults(); }
  void ShortRefreshContainer(bool AIsMouseEvent);
  TcxContainerStyle* GetInternalStyle(TcxContainerStateItem AState) const { return FStyles->GetStyle(AState); }
  void SetInternalStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) { FStyles->SetStyle(AState, AValue); }
  virtual void ClearSavedChildControlRegions() { FInnerControlBounds.IsEmpty = true; }
  virtual TRect GetVisibleBounds();
  virtual bool IsInplace() const { return false; }
  // The container's main bars take the place, range, page and position of
  // the inner window's native bars. AIsScrolling: only the values change
  // (the bars are being dragged), not their places.
  virtual void SetScrollBarsParameters(bool AIsScrolling);

  void LockRefresh() { ++FRefreshLockCount; }
  void UnlockRefresh(bool AIsMouseEvent = false);
  // The view info is calculated; a short refresh when it is not.
  void EnsureViewInfo();
  void RefreshContainer(const TPoint& P, TcxMouseButton AButton, bool AIsMouseEvent, TShiftState AShift);
  // The current style's font with its text colour.
  TFont* GetVisibleFont();
  TColor GetTextColor();
  bool IsStyleValueAssigned(TcxContainerStyleValue AValue);

  // Properties
  TWinControl* InnerControl() const { return FInnerControl; }
  void SetInnerControl(TWinControl* AValue);
  TWinControl* ActiveControl() { return FInnerControl ? FInnerControl : this; }
  // Drawing on desktop-composition glass.
  bool OnGlass() const { return ControlState().Contains(csGlassPaint); }
  void SetOnGlass(bool AValue);
  TRect VisibleBounds() { return GetVisibleBounds(); }
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TcxContainerStyles* Styles() const { return FStyles.get(); }
  bool IsViewInfoCalculated() const { return FIsViewInfoCalculated; }
  TcxStyleController* FakeStyleController() const { return Style()->StyleController(); }
  void SetFakeStyleController(TcxStyleController*) {}
  TcxContainerStyle* Style() const { return FStyles->Style(); }
  void SetStyle(TcxContainerStyle* AValue) { FStyles->Style()->Assign(AValue); }
  TcxContainerStyle* StyleDisabled() const { return FStyles->StyleDisabled(); }
  void SetStyleDisabled(TcxContainerStyle* AValue) { FStyles->StyleDisabled()->Assign(AValue); }
  TcxContainerStyle* StyleFocused() const { return FStyles->StyleFocused(); }
  void SetStyleFocused(TcxContainerStyle* AValue) { FStyles->StyleFocused()->Assign(AValue); }
  TcxContainerStyle* StyleHot() const { return FStyles->StyleHot(); }
  void SetStyleHot(TcxContainerStyle* AValue) { FStyles->StyleHot()->Assign(AValue); }

  // Overridables the styles and the view info ask
  virtual bool DefaultsToParentColor() { return false; }
  virtual TcxEditStateColorKind StyleStateIndex();
  virtual TColor ResolveParentTextColor() { return clDefault; }
  virtual bool UsesNativeStyle();
  virtual TcxContainerStyle* CurrentStyle();
  virtual void GetBorderExtents(TRect& R);
  virtual void ComputeBorderBounds(TRect& R);
  virtual TcxContainerStyleValues HiddenStyleValues() { return {}; }

 protected:
  friend class TcxContainerMouseTracker;
  friend class TcxCustomInnerListBox;
  friend class TcxCustomInnerTextEdit;
  friend struct TcxPopupHooks;

  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void Loaded() override;
  void Resize() override;
  void HandleScrollBarModeChange() override;
  void WndProc(TMessage& Message) override;
  void DestroyWnd() override;
  // Only the inner window is placed here: cut to the part of it that lies
  // inside the content, by a window region.
  void AlignControls(TControl* AControl, TRect& ARect) override;
  void PaintControl() override;
  bool WantsScrollBars() override { return false; }
  void RefreshScrollBars() override;
  TRect ClientBounds() override;
  void AdjustClientRect(TRect& ARect) override;
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void NotifyMouseEnter(TControl* AControl) override;
  void NotifyMouseLeave(TControl* AControl) override;
  void FocusChanged() override;
  void HandleEnabledChange() override;
  bool ShouldFocusOnClick() override;
  bool FocusOnMouseDownAllowed(TMouseButton Button, int X, int Y) override;
  TcxLookAndFeel* EffectiveLookAndFeel() override { return Style()->LookAndFeel(); }
  void TranslationChangedCore();

  virtual void TrackedMouseLeave() { StopHotTracking(); }
  // The tracking timer's point test (AClientPoint in client coordinates)
  // and capture test.
  virtual bool TrackedPointInside(const TPoint& AClientPoint) {
    return TRect(0, 0, Width(), Height()).Contains(AClientPoint);
  }
  virtual bool TrackedCaptureInside() { return false; }
  virtual void AdjustAlignRect(TRect&) {}
  virtual TcxContainerState ComputeContainerState(const TPoint& P, bool AAllowHotTrack);
  virtual bool InnerControlPresent() { return FInnerControl != nullptr; }
  virtual void StyleInnerControl();
  virtual void AdjustFont(TFont*) {}
  virtual void ComputeViewInfo(const TPoint& P, bool AAllowHotTrack);
  virtual bool HandlesTabKey() { return true; }
  virtual bool HasTransparentBorder();
  virtual bool CanRefreshNow();
  virtual void ApplyStyleChanges(TObject* Sender);
  virtual TOwned<TcxRegion> CreateWindowRegion();
  virtual void QuickRefresh() { ShortRefreshContainer(false); }
  virtual bool FilterInnerControlMessage(TMessage& Message);
  virtual void CompleteMouseClick() {}
  virtual bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent);
  virtual void HandlePositionChange();
  virtual void StopHotTracking();
  virtual void GetChildRegionInfo(const TRect& R, TControl* AControl, TcxContainerInnerControlBounds& AInfo);
  virtual void GetOuterMargins(TRect& R) { R = TRect(); }
  virtual TcxContainerStyleClass StyleClass() { return TcxContainerStyle::ClassInfo(); }
  virtual TClass StylesClass() { return TcxContainerStyles::ClassInfo(); }
  virtual TClass ViewInfoClass() { return TcxContainerViewInfo::ClassInfo(); }
  // A fresh paint record of ViewInfoClass, for a descendant whose class is
  // known only after the container was made.
  void RecreateViewInfo();
  virtual void GetExtraRegionBounds(TRect& R) { R = TRect(); }
  virtual bool HasShadow();
  virtual TcxContainerStyle* SelectStyleForState(TcxContainerState AState);
  virtual bool ManagesInnerControl() { return !HostsChildControls(); }
  virtual bool CountsInnerWindowAsOwn() { return false; }
  virtual bool HasFocusInside() { return Focused(); }
  virtual bool HostsChildControls() { return false; }
  bool MouseTrackingActive() { return IsMouseTrackingActive(FMouseTracker.get()); }
  void BeginHotTracking();
  virtual bool IsReadOnlyState() { return false; }
  virtual void AdjustInnerControlBounds();
  // Overlay mode: R grown by the inner window's own bars (room for a list
  // box's bar even while it has none).
  TRect InflateByInnerScrollBars(TRect R);
  // Overlay mode: the popup bars over the content's far edges where the inner
  // window has a bar that scrolls; marks which of them may show.
  virtual void PlaceOverlayScrollBars();
  virtual bool NeedsWindowRegion() { return !IsInplace(); }
  virtual void UpdateWindowRegion();
  virtual TdxThemedObjectType GetThemedObjectType() { return totEdit; }
  virtual int GetNativePart();
  virtual int GetNativeState();
  virtual void FocusInnerControl();
  void AdjustInnerControlLocked();
  // The inner window's native bars (classic mode).
  virtual bool KeepsHorzScrollBarBiDiMode() { return false; }
  virtual void SyncScrollBar(IcxControlScrollBar* ABar);
  virtual bool GetInnerScrollBarInfo(SCROLLBARINFO& AInfo, TScrollBarKind AKind);
  // AScreenRect in the container's client coordinates; empty when it does
  // not lie inside the container.
  virtual TRect GetInnerScrollBarClientRect(const TRect& AScreenRect);
  virtual bool InnerScrollBarEnabled(IcxControlScrollBar* ABar, const SCROLLBARINFO& AInfo);
  virtual void ShowContainerScrollBar(IcxControlScrollBar* ABar, bool AVisible);
  bool IsInnerScrollBarVisible(TScrollBarKind AKind, SCROLLBARINFO& AInfo);
  bool GetInnerScrollInfo(TScrollBarKind AKind, SCROLLINFO& AInfo);
  bool NeedsChildRegionUpdate(TControl* AControl, const TcxContainerInnerControlBounds& AInfo);

 private:
  struct TInternalSetting;
  // The state step of the view info: state, hot state and border style.
  void ComputeState(const TPoint& P, bool AAllowHotTrack);
  void ComputeColors();
  TColor CalculateBorderColor(TcxContainerStyle* AStyle);
  TColor CalculateBackgroundColor(TcxContainerStyle* AStyle);
  void InvalidateBorderRing();
  void ApplyPendingWindowRegion();
  bool IsFocusWindow(HWND AWindow) const;

  // Message handlers
  void WMKillFocus(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);
  void ShortRefreshMessage(TMessage& Message);
  void ApplyWindowRegionMessage(TMessage& Message);
  void SetScrollBarsParametersMessage(TMessage&) { SetScrollBarsParameters(false); }

  TcxContainerState FActiveStyleState;
  TcxContainerStyle* FActiveStyle;
  bool FHasChanges;
  TWinControl* FInnerControl;
  TcxContainerInnerControlBounds FInnerControlBounds;
  bool FInnerControlMouseDown;
  bool FIsViewInfoCalculated;
  int FLockAlignControlsCount;
  int FPopupMenuLockCount;
  int FProcessEventsLockCount;
  int FRefreshLockCount;
  bool FInnerControlBufferedPaint;
  bool FScrollBarsCalculating;
  int FInternalSetting;
  bool FIsCreating;
  TOwned<TcxContainerStyles> FStyles;
  TOwned<TcxContainerViewInfo> FViewInfo;
  int FUpdateWindowRegionCount;
  bool FInternalWindowRegionSetting;
  TOwned<TcxRegion> FNewWindowRegion;
  TOwned<TcxContainerMouseTracker> FMouseTracker;
};

// Private messages of the container.
constexpr UINT DXM_CONTAINERSHORTREFRESH = 0x807F;
constexpr UINT DXM_CONTAINERSETSCROLLBARS = 0x8080;
// Posted to the inner window: paint once through its own device context.
constexpr UINT DXM_CONTAINERBUFFEREDPAINTONGLASS = 0x8081;
constexpr UINT DXM_CONTAINERSETWINDOWREGION = 0x8083;

// ---------------------------------------------------------------------------
// TcxCustomInnerListBox

// The native list a container hosts: no border of its own; keys, mouse,
// wheel, clicks and focus changes go to the container first; typing
// searches the items.
class TcxCustomInnerListBox : public TListBox {
  SK_CLASS(TcxCustomInnerListBox, TListBox)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  void DefaultHandler(TMessage& Message) override;

  // Must be set before the window is created.
  TcxContainer* Container() const { return FContainer; }
  void SetContainer(TcxContainer* AValue) { FContainer = AValue; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }
  // Whether a corner pixel of the item lies in the window.
  bool ItemVisible(int AIndex);
  // The container's bars follow the list's own (not while drawing is off).
  virtual void SetExternalScrollBarsParameters();
  // A scroll the container's bar asks for; ScrollTo answers the list's new
  // position on that bar.
  void ScrollBy(bool AVertical, TScrollCode ACode, int APos);
  void ScrollTo(bool AVertical, TScrollCode ACode, int& APos);

  // Incremental search: on, and the pause after which typing starts anew.
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
  DWORD AutoCompleteDelay() const { return FAutoCompleteDelay; }
  void SetAutoCompleteDelay(DWORD AValue) { FAutoCompleteDelay = AValue; }
  // The millisecond clock the search reads (GetTickCount unless replaced).
  void SetTickCount(std::function<DWORD()> AValue) { FTickCount = std::move(AValue); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void Click() override;
  void DblClick() override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;

  virtual void ProcessAutoComplete(wchar_t& Key);
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);

 private:
  TPoint ToContainer(int X, int Y) const { return TPoint(X + Left(), Y + Top()); }

  String FAutoCompleteFilter;
  bool FIsRedrawLocked;
  bool FAutoComplete;
  DWORD FAutoCompleteDelay;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  DWORD FPrevKeyPressTime;
  std::function<DWORD()> FTickCount;
  TcxContainer* FContainer;
  TComPtr<IcxAccessibilityHelper> FAccessibilityHelper;
  TOwned<TdxTouchScrollUIActivityHelper> FScrollUIActivityHelper;  // tells moves that reveal overlay bars
};

// The list as a node with one simple child per item.
class TdxCustomInnerListBoxAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxCustomInnerListBoxAccessibilityHelper, TcxAccessibilityHelper)
 public:
  void Create(TObject* AOwnerObject) override;

  TcxCustomInnerListBox* OwnerListBox() const { return static_cast<TcxCustomInnerListBox*>(FOwnerObject); }

  bool ChildIsSimpleElement(int) override { return true; }
  int ChildCount() override { return OwnerListBox()->Items()->Count(); }
  String GetDefaultActionDescription(int AChildID) override;
  String GetName(int AChildID) override;
  HWND OwnerObjectWindow() override { return OwnerListBox()->Handle(); }
  int GetRole(int AChildID) override { return AChildID == CHILDID_SELF ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM; }
  int GetState(int AChildID) override;
  int GetSupportedProperties(int AChildID) override;
  bool IsUIAutomationSupported() override { return true; }
  bool GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider, int AChildID) override;
  TRect GetScreenBounds(int AChildID) override;

 private:
  std::unique_ptr<TdxScrollItemProvider> FScrollItemProvider;
};

// The controller every normal style links to unless another is set; nil
// until the editors install theirs.
TcxStyleController* GetDefaultStyleController();
void SetDefaultStyleController(TcxStyleController* AValue);

// Unit start-up: the style controller joins the controls' class group.
void cxContainerInitialization();

// ---------------------------------------------------------------------------
// Popup windows and the visible-popup registry (cxContainer_Popup.cpp)
//
// Classes in this block:
//   TcxCustomPopupWindow        every drop-down: registered while shown,
//                               focus taken and given back, an optional
//                               local modal loop, a container frame
//   TcxPopupVisibleController   the shown popups, oldest first
//
// Three thread hooks set at unit start-up close shown popups on clicks
// outside them, application switches, hidden or closed owners, and drop
// Alt-key messages while one is open. Each does nothing while no popup is
// shown. A process-wide transition flag, raised while a popup opens or a
// click closes one, keeps the owner form's caption active meanwhile.

#include "library/controls/windows/cxControls_Windows.h"

class TcxCustomPopupWindow;

class TcxPopupVisibleController : public TObject {
  SK_CLASS(TcxPopupVisibleController, TObject)
 public:
  void Register(TcxCustomPopupWindow* AItem);
  void UnRegister(TcxCustomPopupWindow* AItem);
  bool IsVisible(const TcxCustomPopupWindow* AItem) const;
  bool IsAnyVisible() const { return !FItems.empty(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxCustomPopupWindow* GetItems(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)); }
  // The first shown popup whose owner is related to AWnd closes, and every
  // popup shown after it, newest first.
  void CloseRelated(HWND AWnd);
  // Closes, one after another, the shown popups that neither capture the
  // focus while inactive nor own AWnd.
  void CloseUnRelated(HWND AWnd);

 private:
  std::vector<TcxCustomPopupWindow*> FItems;
};

// The registry, made on first use; nil once the unit has shut down.
TcxPopupVisibleController* cxPopupVisibleController();

class TcxCustomPopupWindow : public TcxPopupWindow {
  SK_CLASS(TcxCustomPopupWindow, TcxPopupWindow)
 public:
  static void Publish(TPublisher<TcxCustomPopupWindow>& P);
  // The messages that close the popup and give the focus to the owner, and
  // that show it again with the control focused before.
  static constexpr UINT CM_CLOSEPOPUP = 0x807D;
  static constexpr UINT CM_REPOPUP = 0x807E;

  // The popup is a component of its owner control, freed with it.
  void Create(TComponent* AOwner) override;
  void CreateNew(TComponent* AOwner) override;
  void Destroy() override;

  bool CanFocus() override { return Visible(); }
  // Shown, capturing the focus, and the focused window is the popup's or
  // related to it.
  bool Focused();
  // Closes later, from the message queue, and focuses the owner.
  void ClosePopup();
  void CloseUp() override;
  virtual void CorrectBoundsWithDesktopWorkArea(TPoint& APosition, TSize& ASize);
  virtual TClass GetStyleClass() { return TcxContainerStyle::ClassInfo(); }
  virtual TClass GetViewInfoClass() { return TcxContainerViewInfo::ClassInfo(); }
  bool HasCapture();
  // A shortcut no menu of the popup takes goes to its owner's form.
  bool IsShortCut(TMessage& Message) override;
  bool IsVisible() const;
  // Refuses a control being destroyed; the focus moves without the
  // activation notifications a focus change inside the popup would raise.
  bool SetFocusedControl(TWinControl* AControl) override;
  void LockDeactivate(bool ALock) { FDeactivateLockCount += ALock ? 1 : -1; }
  using TcxPopupWindow::Popup;
  // Shows the popup beside its owner control and focuses AFocusedControl
  // (or its first tab stop); with CaptureFocus and ModalMode it returns only
  // once the popup has closed.
  virtual void Popup(TWinControl* AFocusedControl);
  void Popup() override { Popup(nullptr); }
  void SetWindowEnabled(bool AEnable);

  bool CaptureFocus() const { return FCaptureFocus; }
  void SetCaptureFocus(bool AValue);
  bool IsTopMost() const { return FIsTopMost; }
  void SetIsTopMost(bool AValue);
  // Whether the last closing was a click on the owner; reading clears it.
  bool JustClosed();
  TWinControl* OwnerControl() const { return FOwnerControl; }
  bool ModalMode() const { return FModalMode; }
  void SetModalMode(bool AValue) { FModalMode = AValue; }
  bool TerminateOnDestroy() const { return FTerminateOnDestroy; }
  void SetTerminateOnDestroy(bool AValue) { FTerminateOnDestroy = AValue; }
  bool ShowWithoutActivation() const { return FShowWithoutActivation; }
  void SetShowWithoutActivation(bool AValue) { FShowWithoutActivation = AValue; }
  TcxContainerStyle* Style() const { return FStyle.get(); }
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TWinControl* FocusedControl() const { return FFocusedControl; }
  bool IsPopup() const { return FIsPopup; }
  int DeactivateLockCount() const { return FDeactivateLockCount; }

  TNotifyEvent OnBeforeClosing() const { return FOnBeforeClosing; }
  void SetOnBeforeClosing(TNotifyEvent AValue) { FOnBeforeClosing = AValue; }
  TNotifyEvent OnClosed() const { return FOnClosed; }
  void SetOnClosed(TNotifyEvent AValue) { FOnClosed = AValue; }
  TNotifyEvent OnClosing() const { return FOnClosing; }
  void SetOnClosing(TNotifyEvent AValue) { FOnClosing = AValue; }
  TNotifyEvent OnShowed() const { return FOnShowed; }
  void SetOnShowed(TNotifyEvent AValue) { FOnShowed = AValue; }
  TNotifyEvent OnShowing() const { return FOnShowing; }
  void SetOnShowing(TNotifyEvent AValue) { FOnShowing = AValue; }

  // Alt keys a shown popup lets through: Page Up to Down arrow, and F4.
  virtual bool AcceptsSysKey(WORD AKey);
  // Whether a click that closed the popup is kept from its window.
  virtual bool ConsumesClosingClick(HWND AWnd, UINT AMessage, const TPoint& APoint, TShiftState AShift);

 protected:
  virtual bool NeedsWorkAreaCorrection() { return false; }
  virtual void DoBeforeClosing() { CallEvent(FOnBeforeClosing, this); }
  virtual void DoClosed() { CallEvent(FOnClosed, this); }
  virtual void DoClosing() { CallEvent(FOnClosing, this); }
  virtual void DoShowed() { CallEvent(FOnShowed, this); }
  virtual void DoShowing() { CallEvent(FOnShowing, this); }
  virtual bool ErasesBackground() { return false; }
  virtual void CloseOnModalResult() { CloseUp(); }
  virtual void HandleShowEmpty(TObject*) {}
  // Remembers the active form and control before the popup opens and takes
  // the DPI of the owner's surroundings.
  virtual void PrepareShow();

  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Deactivate() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void PaintWindow(HDC DC) override;
  void DrawFrame(HDC DC) override;
  TRect GetClientBounds() override;
  void VisibleChangedHook() override;

  // Message handlers
  void WMActivate(TMessage& Message);
  void WMActivateApp(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMClosePopup(TMessage& Message);
  void CMRepopup(TMessage& Message);

 private:
  friend class TcxPopupVisibleController;
  friend struct TcxPopupHooks;
  void SetFocusedControlOf(TWinControl*& AField, TWinControl* AValue);
  void ScaleToOwner();
  void CalculateViewInfo();
  void ReopenAfterChange();
  void ReturnFocus();
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  bool FCaptureFocus;
  int FDeactivateLockCount;
  bool FDeactivation;
  TWinControl* FFocusedControl;
  bool FIsPopup;
  bool FIsTopMost;
  bool FJustClosed;
  bool FModalMode;
  bool FTerminateOnDestroy;
  TWinControl* FOwnerControl;
  HWND FSavedWndParent;
  TNotifyEvent FOnBeforeClosing;
  TNotifyEvent FOnClosed;
  TNotifyEvent FOnClosing;
  TNotifyEvent FOnShowed;
  TNotifyEvent FOnShowing;
  TOwned<TcxContainerStyle> FStyle;
  TOwned<TcxContainerViewInfo> FViewInfo;
  TCustomForm* FPrevActiveForm;
  TWinControl* FPrevActiveControl;
  bool FShowWithoutActivation;
  bool FCreatingWindow;
};

// A and B are different windows and B is A, under A, or under A through
// the owners of the popups B's root window belongs to.
bool WindowsAreRelated(HWND A, HWND B);
// The control's window is H, or (with ACheckChildren) related to H.
bool IsControlHandle(TWinControl* AControl, HWND H, bool ACheckChildren);
// Whether a hint may show for the control: the application is active, the
// control is under the mouse, and its top-level form is the active one, an
// MDI parent, or holds the first shown popup's owner.
bool CanShowHintForControl(TControl* AControl);
// The first window from AWnd upwards that is not a child window.
HWND FirstTopLevelWindowOf(HWND AWnd);

// Unit start-up and shut-down of the popup part: the thread hooks.
void cxContainerPopupInitialization();
void cxContainerPopupFinalization();
