// The progress bar: an editor whose edit value is a Double between Min and
// Max, shown as a filled bar with optional text, an overload zone, a peak
// marker, LED segments, a gradient, a tiled image, a moving light segment or
// an endless marquee.
//
// Classes in this file:
//   TcxProgressBarPropertiesValues       which of Min and Max were assigned
//   TcxCustomProgressBarProperties       the settings; range maintenance, peak tracking, texts
//   TcxProgressBarProperties             the settings published
//   TcxCustomProgressBarViewData         the layout: every rectangle of the bar, automatic size
//   TcxCustomProgressBarViewInfo         the layout's result and the painting state
//                                        (painting and animation: cxProgressBar_Painting.cpp)
//   TcxProgressBarListener               a change listener bound to one bar
//   TdxProgressBarRangeValueProvider     the UI Automation range-value pattern
//   TdxProgressBarAccessibilityHelper    the bar's accessibility node
//   TcxFilterProgressBarHelper           prepares a filter editor for progress-bar values
//   TcxCustomProgressBar, TcxProgressBar the control
//
// One path carries a position to the screen: Position -> EditValue ->
// SyncDisplayValue (clamped into the view information's FPosition) -> the
// layout -> one block transfer of the bar buffer. A write that moves no edge
// and shows no text asks for no repaint; every paint the system asks for
// draws the whole bar.
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/editors/edit/cxEdit.h"
#include "library/editors/text/cxTextEdit.h"
#include "library/editors/filter/cxFilterEditHelpers.h"

#include <memory>
#include <vector>

class TcxCustomProgressBar;
class TcxCustomProgressBarViewInfo;

enum TcxProgressBarBarStyle {
  cxbsSolid, cxbsLEDs, cxbsGradient, cxbsGradientLEDs, cxbsBitmap, cxbsBitmapLEDs, cxbsAnimation, cxbsAnimationLEDs
};
template <>
struct TEnumInfo<TcxProgressBarBarStyle> {
  static constexpr const wchar_t* Name = L"TcxProgressBarBarStyle";
  static constexpr const wchar_t* Names[] = {L"cxbsSolid",  L"cxbsLEDs",       L"cxbsGradient",  L"cxbsGradientLEDs",
                                             L"cxbsBitmap", L"cxbsBitmapLEDs", L"cxbsAnimation", L"cxbsAnimationLEDs"};
  static constexpr TcxProgressBarBarStyle Last = cxbsAnimationLEDs;
};

enum TcxProgressBarTextStyle { cxtsPercent, cxtsPosition, cxtsText };
template <>
struct TEnumInfo<TcxProgressBarTextStyle> {
  static constexpr const wchar_t* Name = L"TcxProgressBarTextStyle";
  static constexpr const wchar_t* Names[] = {L"cxtsPercent", L"cxtsPosition", L"cxtsText"};
  static constexpr TcxProgressBarTextStyle Last = cxtsText;
};

enum TcxProgressBarOrientation { cxorHorizontal, cxorVertical };
template <>
struct TEnumInfo<TcxProgressBarOrientation> {
  static constexpr const wchar_t* Name = L"TcxProgressBarOrientation";
  static constexpr const wchar_t* Names[] = {L"cxorHorizontal", L"cxorVertical"};
  static constexpr TcxProgressBarOrientation Last = cxorVertical;
};

enum TcxProgressBarBevelOuter { cxbvNone, cxbvLowered, cxbvRaised };
template <>
struct TEnumInfo<TcxProgressBarBevelOuter> {
  static constexpr const wchar_t* Name = L"TcxProgressBarBevelOuter";
  static constexpr const wchar_t* Names[] = {L"cxbvNone", L"cxbvLowered", L"cxbvRaised"};
  static constexpr TcxProgressBarBevelOuter Last = cxbvRaised;
};

enum TcxProgressBarAnimationPath { cxapCycle, cxapPingPong };
template <>
struct TEnumInfo<TcxProgressBarAnimationPath> {
  static constexpr const wchar_t* Name = L"TcxProgressBarAnimationPath";
  static constexpr const wchar_t* Names[] = {L"cxapCycle", L"cxapPingPong"};
  static constexpr TcxProgressBarAnimationPath Last = cxapPingPong;
};

// 0..20 pixels per tick / 2.
using TcxProgressBarAnimationSpeed = unsigned;
constexpr TcxProgressBarAnimationSpeed cxProgressBarMaxAnimationSpeed = 20;

// The animation timer's interval in milliseconds.
constexpr unsigned cxProgressBarAnimationInterval = 30;

// The LED styles and the animation styles.
bool IsProgressBarLEDStyle(TcxProgressBarBarStyle AStyle);
bool IsProgressBarAnimationStyle(TcxProgressBarBarStyle AStyle);

// Half-way values to the even neighbour; saturated to the integer range, NaN
// gives 0.
int cxRoundToEven(double AValue);

// ---------------------------------------------------------------------------
// TcxProgressBarPropertiesValues

class TcxProgressBarPropertiesValues : public TcxCustomEditPropertiesValues {
  SK_CLASS(TcxProgressBarPropertiesValues, TcxCustomEditPropertiesValues)
 public:
  static void Publish(TPublisher<TcxProgressBarPropertiesValues>& P);

  bool Max() const { return MaxValue(); }
  void SetMax(bool AValue) { SetMaxValue(AValue); }
  bool Min() const { return MinValue(); }
  void SetMin(bool AValue) { SetMinValue(AValue); }

 private:
  // A non-zero assigned value stores itself.
  bool IsMaxStored() const;
  bool IsMinStored() const;
};

// ---------------------------------------------------------------------------
// TcxCustomProgressBarProperties

class TcxCustomProgressBarProperties : public TcxCustomEditProperties {
  SK_CLASS(TcxCustomProgressBarProperties, TcxCustomEditProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TcxProgressBarAnimationPath AnimationPath() const { return FAnimationPath; }
  void SetAnimationPath(TcxProgressBarAnimationPath AValue) { SetField(FAnimationPath, AValue); }
  unsigned AnimationRestartDelay() const { return FAnimationRestartDelay; }
  void SetAnimationRestartDelay(unsigned AValue) { SetField(FAnimationRestartDelay, AValue); }
  // Values above 20 are stored as 20.
  TcxProgressBarAnimationSpeed AnimationSpeed() const { return FAnimationSpeed; }
  void SetAnimationSpeed(TcxProgressBarAnimationSpeed AValue);
  TcxProgressBarPropertiesValues* AssignedValues() const {
    return static_cast<TcxProgressBarPropertiesValues*>(inherited::AssignedValues());
  }
  void SetAssignedValues(TcxProgressBarPropertiesValues* AValue) { inherited::SetAssignedValues(AValue); }
  TcxProgressBarBevelOuter BarBevelOuter() const { return FBarBevelOuter; }
  void SetBarBevelOuter(TcxProgressBarBevelOuter AValue) { SetField(FBarBevelOuter, AValue); }
  // An animation style also turns BeginColor green.
  TcxProgressBarBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TcxProgressBarBarStyle AValue);
  TColor BeginColor() const { return FBeginColor; }
  void SetBeginColor(TColor AValue) { SetField(FBeginColor, AValue); }
  // The gap in pixels between the frame and the bar.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int AValue);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor AValue) { SetField(FEndColor, AValue); }
  TBitmap* ForegroundImage() const { return FForegroundImage.get(); }
  void SetForegroundImage(TBitmap* AValue) { FForegroundImage->Assign(AValue); }
  // On, the text style becomes cxtsText.
  bool Marquee() const { return FMarquee; }
  void SetMarquee(bool AValue);
  // 100 and 0 unless assigned; a write corrects the other bound, OverloadValue
  // and PeakValue.
  double Max() { return MaxValue(); }
  void SetMax(double AValue);
  double Min() { return MinValue(); }
  void SetMin(double AValue);
  TcxProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TcxProgressBarOrientation AValue) { SetField(FOrientation, AValue); }
  TColor OverloadBeginColor() const { return FOverloadBeginColor; }
  void SetOverloadBeginColor(TColor AValue) { SetField(FOverloadBeginColor, AValue); }
  TColor OverloadEndColor() const { return FOverloadEndColor; }
  void SetOverloadEndColor(TColor AValue) { SetField(FOverloadEndColor, AValue); }
  // Kept inside Min..Max.
  double OverloadValue() const { return FOverloadValue; }
  void SetOverloadValue(double AValue);
  TColor PeakColor() const { return FPeakColor; }
  void SetPeakColor(TColor AValue) { SetField(FPeakColor, AValue); }
  // At least 1.
  int PeakSize() const { return FPeakSize; }
  void SetPeakSize(int AValue);
  // Grows with the positions shown until it is written again.
  double PeakValue() const { return FPeakValue; }
  void SetPeakValue(double AValue);
  bool ShowOverload() const { return FShowOverload; }
  void SetShowOverload(bool AValue) { SetField(FShowOverload, AValue); }
  bool ShowPeak() const { return FShowPeak; }
  void SetShowPeak(bool AValue) { SetField(FShowPeak, AValue); }
  bool ShowText() const { return FShowText; }
  void SetShowText(bool AValue) { SetField(FShowText, AValue); }
  // Only cxtsText while Marquee is on.
  TcxProgressBarTextStyle ShowTextStyle() const { return FShowTextStyle; }
  void SetShowTextStyle(TcxProgressBarTextStyle AValue);
  bool SolidTextColor() const { return FSolidTextColor; }
  void SetSolidTextColor(bool AValue) { SetField(FSolidTextColor, AValue); }
  // A non-empty text selects cxtsText.
  const String& Text() const { return FText; }
  void SetText(const String& AValue);
  TcxProgressBarOrientation TextOrientation() const { return FTextOrientation; }
  void SetTextOrientation(TcxProgressBarOrientation AValue) { SetField(FTextOrientation, AValue); }
  bool TransparentImage() const { return FTransparentImage; }
  void SetTransparentImage(bool AValue) { SetField(FTransparentImage, AValue); }

  // FPosition clamped into Min..Max when the range is not empty.
  void CorrectPosition(TcxCustomProgressBarViewInfo* AViewInfo);
  // The peak drawn for APosition; the stored PeakValue rises to it.
  double TrackPeak(double APosition);
  // The text the bar shows for AEditValue.
  void BuildDisplayText(const Variant& AEditValue, bool AMarquee, String& AText, bool AIsInplace, bool AFullText,
                        TcxProgressBarTextStyle AShowTextStyle);

  // Overridables
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetPropertiesValuesClass() override { return TcxProgressBarPropertiesValues::ClassInfo(); }
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  double GetMaxValue() override;
  double GetMinValue() override;
  bool HasOwnChangeNotification() override { return true; }
  bool CanCompareEditValue() override { return true; }
  TClass GetContainerClass() override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  // Strings with the dot as decimal separator, numbers and dates; 0 otherwise.
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;

  // Set by every position write, cleared by the layout.
  bool FIsPositionChanged = false;
  // The view information must copy the image again.
  bool FIsForegroundImageChanged = false;

 protected:
  bool IsMaxStored() const { return AssignedValues()->MaxValue(); }
  bool IsMinStored() const { return AssignedValues()->MinValue(); }
  bool IsOverloadValueStored() const { return FOverloadValue != 80; }
  bool IsPeakValueStored() const { return FPeakValue != 0; }
  bool IsShowTextStyleStored() const { return !FMarquee && FShowTextStyle != cxtsPercent; }

 private:
  template <class T>
  void SetField(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  void ForegroundImageChanged(TObject*);

  TcxProgressBarAnimationPath FAnimationPath = cxapCycle;
  unsigned FAnimationRestartDelay = 0;
  TcxProgressBarAnimationSpeed FAnimationSpeed = 10;
  TcxProgressBarBevelOuter FBarBevelOuter = cxbvNone;
  TcxProgressBarBarStyle FBarStyle = cxbsSolid;
  TColor FBeginColor = TColor(0x800000);
  int FBorderWidth = 0;
  TColor FEndColor = TColor(0xFFFFFF);
  TOwned<TBitmap> FForegroundImage;
  bool FMarquee = false;
  TcxProgressBarOrientation FOrientation = cxorHorizontal;
  TColor FOverloadBeginColor = TColor(0x8080FF);
  TColor FOverloadEndColor = TColor(0xFF00FF);
  double FOverloadValue = 80;
  TColor FPeakColor = TColor(0x0000FF);
  int FPeakSize = 2;
  double FPeakValue = 0;
  bool FShowOverload = false;
  bool FShowPeak = false;
  bool FShowText = true;
  TcxProgressBarTextStyle FShowTextStyle = cxtsPercent;
  bool FSolidTextColor = false;
  String FText;
  TcxProgressBarOrientation FTextOrientation = cxorHorizontal;
  bool FTransparentImage = true;
};

class TcxProgressBarProperties : public TcxCustomProgressBarProperties {
  SK_CLASS(TcxProgressBarProperties, TcxCustomProgressBarProperties)
 public:
  static void Publish(TPublisher<TcxProgressBarProperties>& P);
};

// ---------------------------------------------------------------------------
// TcxCustomProgressBarViewData

class TcxCustomProgressBarViewData : public TcxCustomEditViewData {
  SK_CLASS(TcxCustomProgressBarViewData, TcxCustomEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtonsViewInfo(TcxCanvas*, const TRect&, const TPoint&, TcxMouseButton, TShiftState,
                                TcxCustomEditViewInfo*, bool) override {}
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TcxCustomProgressBarProperties* Properties() const {
    return static_cast<TcxCustomProgressBarProperties*>(inherited::Properties());
  }

 protected:
  TSize CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                          TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) override;
  TRect GetBorderExtentByPainter() override { return TRect(1, 1, 1, 1); }
  virtual void CalculateViewInfoProperties(TcxCustomProgressBarViewInfo* AViewInfo);
  virtual int GetSizeTextFlags() { return 0; }

 private:
  void CalculateFocusRect(TcxCanvas* ACanvas, TcxCustomProgressBarViewInfo* AViewInfo);
};

// ---------------------------------------------------------------------------
// TcxCustomProgressBarViewInfo

class TcxCustomProgressBarViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxCustomProgressBarViewInfo, TcxCustomTextEditViewInfo)
 public:
  void Create() override;
  void Destroy() override;
  // A copy for comparison takes the geometry and settings, never the timers
  // or bitmaps.
  void Assign(TObject* ASource) override;
  void Offset(int DX, int DY) override;
  bool NeedShowHint(TcxCanvas*, const TPoint&, const TRect&, String&, bool&, TRect&, int = 0) override {
    return false;
  }
  // The refresh after a position write that moved no edge and shows no text
  // invalidates nothing.
  bool Repaint(TWinControl* AControl, const TRect& AInnerEditRect, TcxContainerViewInfo* AViewInfo = nullptr) override;
  using TcxCustomEditViewInfo::Repaint;

  // Percentage of the range, rounded half to even, at most 100.
  int GetPercentDone() const;
  // "42 %", the position, or Text.
  String GetText() const;
  virtual int GetAnimationSegmentSize() const;
  bool IsLEDStyle() const { return IsProgressBarLEDStyle(FBarStyle); }
  bool IsAnimationStyle() const { return IsProgressBarAnimationStyle(FBarStyle); }
  // Animation style or marquee, a speed, neither designing nor in place.
  bool IsAnimationActive() const;
  TcxTimer* AnimationTimer() const { return FAnimationTimer.get(); }
  TcxTimer* AnimationRestartDelayTimer() const { return FAnimationRestartDelayTimer.get(); }
  // One tick of each timer, as the timers deliver it.
  void AnimationTimerTick(TObject* Sender);
  void AnimationRestartDelayTimerTick(TObject* Sender);
  // The pixels the segment travels before it turns or starts again.
  int GetAnimationPathLength() const;
  TcxBitmap* UsualBitmap() const { return FUsualBitmap.get(); }

  // Setting writes that may restart the animation.
  void SetAnimationPath(TcxProgressBarAnimationPath AValue);
  void SetAnimationSpeed(TcxProgressBarAnimationSpeed AValue);
  void SetBarStyle(TcxProgressBarBarStyle AValue);
  void SetMarquee(bool AValue);
  void SetOrientation(TcxProgressBarOrientation AValue);

  // Animation
  int FAnimationDirection = 1;
  TcxProgressBarAnimationPath FAnimationPath = cxapCycle;
  int FAnimationPosition = 0;
  unsigned FAnimationRestartDelay = 0;
  unsigned FAnimationSpeed = 0;
  // Copied settings
  TcxProgressBarBevelOuter FBarBevelOuter = cxbvNone;
  // The gap between the frame and the bar.
  int FBarBorderWidth = 0;
  TcxProgressBarBarStyle FBarStyle = cxbsSolid;
  TColor FBeginColor = clNone;
  TColor FEndColor = clNone;
  bool FMarquee = false;
  double FMax = 100;
  double FMin = 0;
  TcxProgressBarOrientation FOrientation = cxorHorizontal;
  TColor FOverloadBeginColor = clNone;
  TColor FOverloadEndColor = clNone;
  double FOverloadValue = 80;
  TColor FPeakColor = clNone;
  int FPeakSize = 1;
  double FPeakValue = 0;
  double FPosition = 0;
  bool FPropTransparent = false;
  bool FShowOverload = false;
  bool FShowPeak = false;
  bool FShowText = true;
  TcxProgressBarTextStyle FShowTextStyle = cxtsPercent;
  bool FSolidTextColor = false;
  TcxProgressBarOrientation FTextOrientation = cxorHorizontal;
  // Results of the layout
  bool FRealShowOverload = false;
  bool FRealShowPeak = false;
  bool FIsBoundsChanged = true;
  bool FIsBarRectChanged = false;
  TRect BarContentRect;
  TRect BarRect;
  TRect OverloadBarRect;
  TRect PeakBarRect;
  TRect ProgressBarRect;
  TRect FocusRect;
  TOwned<TBitmap> FForegroundImage;

 protected:
  // The entry point of a paint: the frame through the editor painting, the
  // bar through its buffer.
  void InternalPaint(TcxCanvas* ACanvas) override;
  virtual void PaintProgressBar(TcxCanvas* ACanvas);
  void DrawText(TcxCanvas* ACanvas) override;

 private:
  friend class TcxCustomProgressBarViewData;
  // The working rectangles of one paint, in buffer coordinates.
  struct TPaintRects {
    TRect Buffer;
    TRect Progress;
    TRect Overload;
    TRect Peak;
    TRect Filled;
    TRect Segment;
    int LEDStep = 0;
  };
  TPaintRects GetPaintRects() const;
  TRect GetSegmentRect(const TPaintRects& ARects) const;
  bool IsStandaloneMarquee() const { return FMarquee && !IsInplace; }
  void DrawBackground(TcxCanvas* ABufferCanvas, TcxCanvas* ACanvas, const TRect& ABufferRect);
  void SetBarClip(TcxCanvas* ACanvas, const TRect& R, const TPaintRects& ARects);
  void ExcludeLEDGaps(TcxCanvas* ACanvas, const TRect& R, int AStep);
  void DrawSolidBar(TcxCanvas* ACanvas, const TPaintRects& ARects);
  void DrawGradientBar(TcxCanvas* ACanvas, const TPaintRects& ARects);
  void DrawNativeBar(TcxCanvas* ACanvas, const TRect& R);
  void DrawBarBevel(TcxCanvas* ACanvas, const TRect& R);
  void DrawLEDBevels(TcxCanvas* ACanvas, const TPaintRects& ARects);
  void DrawPeak(TcxCanvas* ACanvas, const TPaintRects& ARects);
  void DrawImageBar(TcxCanvas* ACanvas, const TRect& R);
  void DrawAnimationBody(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AHighlighted);
  void DrawAnimationSegment(TcxCanvas* ACanvas, const TPaintRects& ARects);
  void DrawMarquee(TcxCanvas* ACanvas, const TRect& ASegment);
  // Starts or frees the animation timer as the settings ask while painting.
  void CheckAnimationTimer();
  void RestartAnimation();
  void StartRestartDelay();
  void AnimationStep();
  bool IsNativeAnimation() const { return NativeStyle && IsAnimationStyle(); }

  TOwned<TcxTimer> FAnimationRestartDelayTimer;
  TOwned<TcxTimer> FAnimationTimer;
  TOwned<TcxBitmap32> FNativeBitmap;
  TOwned<TcxBitmap32> FUsualBitmap;
  TOwned<TcxBitmap32> FVistaStyleMarqueeBitmap;
};

// ---------------------------------------------------------------------------
// Listeners, accessibility, filtering

class TcxProgressBarListener : public TObject {
  SK_CLASS(TcxProgressBarListener, TObject)
 public:
  virtual void Create(TcxCustomProgressBar* AProgressBar) { FProgressBar = AProgressBar; }
  TcxCustomProgressBar* ProgressBar() const { return FProgressBar; }
  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

 private:
  TNotifyEvent FOnChanged;
  TcxCustomProgressBar* FProgressBar = nullptr;
};

// The range in the bar's own units, or 0..100 when the bar shows a
// percentage.
class TdxProgressBarRangeValueProvider : public TdxRangeValueProvider {
 public:
  TdxProgressBarRangeValueProvider(TcxAccessibilityHelper* AOwner, TcxCustomProgressBar* AProgressBar)
      : TdxRangeValueProvider(AOwner), FProgressBar(AProgressBar) {}

 protected:
  bool GetIsReadOnly() override { return true; }
  double GetMaximum() override;
  double GetMinimum() override;
  double GetValue() override;

 private:
  bool IsPercent() const;
  TcxCustomProgressBar* FProgressBar;
};

class TdxProgressBarAccessibilityHelper : public TdxEditAccessibilityHelper {
  SK_CLASS(TdxProgressBarAccessibilityHelper, TdxEditAccessibilityHelper)
 public:
  void Create(TObject* AOwnerObject) override;
  void Destroy() override;
  bool GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider, int AChildID) override;

 protected:
  int GetRole(int) override { return ROLE_SYSTEM_PROGRESSBAR; }
  int GetState(int) override { return STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE; }
  String GetValue(int AChildID) override;

 private:
  std::unique_ptr<TdxProgressBarRangeValueProvider> FRangeValueProvider;
};

// Stands on the base helper until the spin editor's helper exists.
class TcxFilterProgressBarHelper : public TcxCustomFilterEditHelper {
  SK_CLASS(TcxFilterProgressBarHelper, TcxCustomFilterEditHelper)
 public:
  struct TMeta : TcxCustomFilterEditHelper::TMeta {
    TcxFilterDataType GetFilterDataType(TcxValueTypeClass) const override { return fdtNumeric; }
  };
};

// ---------------------------------------------------------------------------
// TcxCustomProgressBar

class TcxCustomProgressBar : public TcxCustomEdit {
  SK_CLASS(TcxCustomProgressBar, TcxCustomEdit)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxCustomProgressBarProperties* ActiveProperties() {
    return static_cast<TcxCustomProgressBarProperties*>(inherited::ActiveProperties());
  }
  TcxCustomProgressBarProperties* Properties() const {
    return static_cast<TcxCustomProgressBarProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomProgressBarProperties* AValue) { InternalProperties()->Assign(AValue); }
  TcxCustomProgressBarViewInfo* ViewInfo() const {
    return static_cast<TcxCustomProgressBarViewInfo*>(inherited::ViewInfo());
  }
  TClass GetPropertiesClass() override { return TcxCustomProgressBarProperties::ClassInfo(); }

  // An equal value (before clamping) and NaN are ignored; outside loading
  // the value is clamped into a non-empty range.
  double Position() const { return ViewInfo()->FPosition; }
  void SetPosition(double AValue);
  int PercentDone() const { return ViewInfo()->GetPercentDone(); }

  void RegisterListener(TcxProgressBarListener* AValue);
  void UnRegisterListener(TcxProgressBarListener* AValue);
  // Only an in-place bar takes the focus.
  bool CanFocus() override { return IsInplace(); }

 protected:
  bool ShouldFocusOnClick() override { return IsInplace() && inherited::ShouldFocusOnClick(); }
  bool DefaultsToParentColor() override { return true; }
  TcxEditStateColorKind StyleStateIndex() override { return Enabled() ? esckNormal : esckDisabled; }
  TcxContainerStyleValues HiddenStyleValues() override;
  void GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties) override;
  void InitializeEdit() override;
  bool CanAutoHeight() override { return ActiveProperties()->Orientation() == cxorHorizontal; }
  bool CanAutoWidth() override { return ActiveProperties()->Orientation() == cxorVertical; }
  void PropertiesChanged(TObject* Sender) override;
  void SyncDisplayValue() override;
  bool IsFadingEnabled() override { return false; }
  TClass GetAccessibilityHelperClass() override;
  // Position carries the value in a form.
  bool IsEditValueStored() const override { return false; }

  virtual void CorrectEditValueToRange();
  virtual void CorrectEditValueIfAllowed();
  bool IsPositionStored() const { return ViewInfo()->FPosition != 0; }

 private:
  void NotifyListeners();

  std::vector<TcxProgressBarListener*> FListeners;
};

class TcxProgressBar : public TcxCustomProgressBar {
  SK_CLASS(TcxProgressBar, TcxCustomProgressBar)
 public:
  static void Publish(TPublisher<TcxProgressBar>& P);

  TcxProgressBarProperties* ActiveProperties() {
    return static_cast<TcxProgressBarProperties*>(inherited::ActiveProperties());
  }
  TcxProgressBarProperties* Properties() const { return static_cast<TcxProgressBarProperties*>(inherited::Properties()); }
  void SetProperties(TcxProgressBarProperties* AValue) { inherited::SetProperties(AValue); }
  TClass GetPropertiesClass() override { return TcxProgressBarProperties::ClassInfo(); }
};

// Unit start-up: the class for form descriptions, the properties class in
// the editor registry and its filter helper; shut-down takes both back.
void cxProgressBarInitialization();
void cxProgressBarFinalization();
