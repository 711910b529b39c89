// The activity indicator: an animated busy sign. While Active it draws moving
// dots or an elastic arc, otherwise only its background. The kind is chosen
// by the class of its properties; the kind's rule turns a progress value into
// the geometry of the elements; the controller turns the performance counter
// into that progress on a 1 ms timer; the view information draws through the
// shared GDI+ paint canvas.
//
// Classes in this file:
//   TdxActivityIndicatorCustomRule                 geometry of an animation kind (stateless)
//   TdxActivityIndicatorArcBasedRule               the two angles of an arc
//   TdxActivityIndicatorElasticCircleRule          the elastic circle
//   TdxActivityIndicatorDotBasedRule               hiding, size and position of a dot
//   TdxActivityIndicatorHorizontalDotsRule         dots running from left to right
//   TdxActivityIndicatorCircularDotsRule           dots running around a circle
//   TdxActivityIndicatorGravityDotsRule            dots falling around a circle
//   TdxActivityIndicatorPersistent                 base of the parts one indicator owns
//   TdxActivityIndicatorProperties                 settings of every kind; its class is the kind
//   TdxActivityIndicatorDotBasedProperties         settings of the dot kinds
//   TdxActivityIndicatorHorizontalDotsProperties   "Horizontal Dots"
//   TdxActivityIndicatorCircularDotsProperties     "Circular Dots"
//   TdxActivityIndicatorGravityDotsProperties      "Gravity Dots"
//   TdxActivityIndicatorArcBasedProperties         settings of the arc kinds
//   TdxActivityIndicatorElasticCircleProperties    "Elastic Circle"
//   TdxActivityIndicatorAnimationController        the clock: timer, run times, progress
//   TdxActivityIndicatorViewInfo                   bounds, element count and size; draws
//   TdxActivityIndicatorDotBasedViewInfo           draws the dots
//   TdxActivityIndicatorArcBasedViewInfo           draws the arc
//   TdxCustomActivityIndicator                     the control
//   TdxActivityIndicator                           the control with its properties published
#pragma once

#include "library/controls/control/cxControls.h"
#include "library/core/base/cxClasses.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <cstdint>

class TdxCustomActivityIndicator;
class TdxActivityIndicatorViewInfo;

// ---------------------------------------------------------------------------
// Rules: each kind has one constant instance; they hold no state.

class TdxActivityIndicatorCustomRule {
 public:
  virtual ~TdxActivityIndicatorCustomRule() = default;
  // How much progress separates two neighbouring elements.
  virtual double CalculateGapBetweenElements(const TdxRectF& ABounds, double AElementSize) const;
};
using TdxActivityIndicatorCustomRuleClass = const TdxActivityIndicatorCustomRule*;

class TdxActivityIndicatorArcBasedRule : public TdxActivityIndicatorCustomRule {
 public:
  // Degrees, counter-clockwise from the positive x axis.
  virtual void CalculateAngles(double AProgress, double& AAngle1, double& AAngle2) const;
};

class TdxActivityIndicatorElasticCircleRule : public TdxActivityIndicatorArcBasedRule {
 public:
  void CalculateAngles(double AProgress, double& AAngle1, double& AAngle2) const override;
};

class TdxActivityIndicatorDotBasedRule : public TdxActivityIndicatorCustomRule {
 public:
  // Whether a dot outside the progress 0..1 disappears (else it waits at 1).
  virtual bool AllowHideDots() const { return true; }
  virtual double CalculateDotSize(double ADotSize, double AProgress) const;
  // The centre of a dot.
  virtual TdxPointF CalculatePosition(const TdxRectF& ABounds, double ADotSize, double AProgress) const;
};
using TdxActivityIndicatorDotBasedRuleClass = const TdxActivityIndicatorDotBasedRule*;

class TdxActivityIndicatorHorizontalDotsRule : public TdxActivityIndicatorDotBasedRule {
 public:
  double CalculateGapBetweenElements(const TdxRectF& ABounds, double AElementSize) const override;
  TdxPointF CalculatePosition(const TdxRectF& ABounds, double ADotSize, double AProgress) const override;
  virtual double Ease(double AProgress) const;
};

class TdxActivityIndicatorCircularDotsRule : public TdxActivityIndicatorDotBasedRule {
 public:
  double CalculateGapBetweenElements(const TdxRectF& ABounds, double AElementSize) const override;
  TdxPointF CalculatePosition(const TdxRectF& ABounds, double ADotSize, double AProgress) const override;
  // Radians; a growing angle turns clockwise on screen.
  virtual double GetStartAngle() const;
  virtual int GetTurnCount() const { return 2; }
  virtual double Ease(double AProgress) const;
};

class TdxActivityIndicatorGravityDotsRule : public TdxActivityIndicatorCircularDotsRule {
 public:
  bool AllowHideDots() const override { return false; }
  double CalculateDotSize(double ADotSize, double AProgress) const override;
  TdxPointF CalculatePosition(const TdxRectF& ABounds, double ADotSize, double AProgress) const override;
  double GetStartAngle() const override;
  int GetTurnCount() const override { return 1; }
  double Ease(double AProgress) const override;
};

// ---------------------------------------------------------------------------
// Parts of one indicator

class TdxActivityIndicatorPersistent : public TPersistent {
  SK_CLASS(TdxActivityIndicatorPersistent, TPersistent)
 public:
  virtual void Create(TdxCustomActivityIndicator* AOwner) { FOwner = AOwner; }
  TdxCustomActivityIndicator* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() override;

  TdxCustomActivityIndicator* FOwner;
};

// Change types of Changed: 1 recalculates, 2 also restarts a running animation.
constexpr int dxaicLayout = 1;
constexpr int dxaicRestart = 2;

class TdxActivityIndicatorProperties : public TdxActivityIndicatorPersistent {
  SK_CLASS(TdxActivityIndicatorProperties, TdxActivityIndicatorPersistent)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorProperties>& P);

  void Create(TdxCustomActivityIndicator* AOwner) override;
  // Copies from another kind what both kinds have; the rule stays this kind's.
  void Assign(TPersistent* ASource) override;

  // Milliseconds of one run, at least 1.
  unsigned AnimationTime() const { return FAnimationTime; }
  void SetAnimationTime(unsigned AValue);
  // Milliseconds without elements after each run.
  unsigned AnimationRestartDelay() const { return FAnimationRestartDelay; }
  void SetAnimationRestartDelay(unsigned AValue);
  // Fills the bounds under the elements; TdxAlphaColors::Default: not set.
  TdxAlphaColor OverlayColor() const { return FOverlayColor; }
  void SetOverlayColor(TdxAlphaColor AValue);
  TdxActivityIndicatorCustomRuleClass Rule() const { return FRule; }

  virtual void Changed(int AType);
  virtual void ChangeScale(int, int) {}
  // A new view information of this kind, owned by the caller.
  virtual TdxActivityIndicatorViewInfo* CreateViewInfo() = 0;

 protected:
  bool IsOverlayColorStored() const { return FOverlayColor != TdxAlphaColors::Default; }

  unsigned FAnimationTime;
  unsigned FAnimationRestartDelay;
  TdxAlphaColor FOverlayColor;
  TdxActivityIndicatorCustomRuleClass FRule;
};
using TdxActivityIndicatorPropertiesClass = TClass;

class TdxActivityIndicatorDotBasedProperties : public TdxActivityIndicatorProperties {
  SK_CLASS(TdxActivityIndicatorDotBasedProperties, TdxActivityIndicatorProperties)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorDotBasedProperties>& P);

  void Create(TdxCustomActivityIndicator* AOwner) override;
  // Counts and sizes are clamped here too: a stored form may hold any number.
  void Assign(TPersistent* ASource) override;
  void ChangeScale(int M, int D) override;
  TdxActivityIndicatorViewInfo* CreateViewInfo() override;

  // TdxAlphaColors::Default: the painter's panel text colour.
  TdxAlphaColor DotColor() const { return FDotColor; }
  void SetDotColor(TdxAlphaColor AValue);
  // 1..10.
  int DotCount() const { return FDotCount; }
  void SetDotCount(int AValue);
  // Pixels across, 2..50.
  int DotSize() const { return FDotSize; }
  void SetDotSize(int AValue);

 private:
  bool IsDotColorStored() const { return FDotColor != TdxAlphaColors::Default; }

  TdxAlphaColor FDotColor;
  std::uint8_t FDotCount;
  std::uint8_t FDotSize;
};

class TdxActivityIndicatorHorizontalDotsProperties : public TdxActivityIndicatorDotBasedProperties {
  SK_CLASS(TdxActivityIndicatorHorizontalDotsProperties, TdxActivityIndicatorDotBasedProperties)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
};

class TdxActivityIndicatorCircularDotsProperties : public TdxActivityIndicatorDotBasedProperties {
  SK_CLASS(TdxActivityIndicatorCircularDotsProperties, TdxActivityIndicatorDotBasedProperties)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorCircularDotsProperties>& P);
  void Create(TdxCustomActivityIndicator* AOwner) override;
};

class TdxActivityIndicatorGravityDotsProperties : public TdxActivityIndicatorDotBasedProperties {
  SK_CLASS(TdxActivityIndicatorGravityDotsProperties, TdxActivityIndicatorDotBasedProperties)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
};

class TdxActivityIndicatorArcBasedProperties : public TdxActivityIndicatorProperties {
  SK_CLASS(TdxActivityIndicatorArcBasedProperties, TdxActivityIndicatorProperties)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorArcBasedProperties>& P);

  void Create(TdxCustomActivityIndicator* AOwner) override;
  void Assign(TPersistent* ASource) override;
  void ChangeScale(int M, int D) override;
  TdxActivityIndicatorViewInfo* CreateViewInfo() override;

  // TdxAlphaColors::Default: the painter's panel text colour.
  TdxAlphaColor ArcColor() const { return FArcColor; }
  void SetArcColor(TdxAlphaColor AValue);
  // Pen width in pixels, at least 1.
  int ArcThickness() const { return FArcThickness; }
  void SetArcThickness(int AValue);

 private:
  bool IsArcColorStored() const { return FArcColor != TdxAlphaColors::Default; }

  TdxAlphaColor FArcColor;
  int FArcThickness;
};

class TdxActivityIndicatorElasticCircleProperties : public TdxActivityIndicatorArcBasedProperties {
  SK_CLASS(TdxActivityIndicatorElasticCircleProperties, TdxActivityIndicatorArcBasedProperties)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
};

// ---------------------------------------------------------------------------
// The clock

class TdxActivityIndicatorAnimationController : public TdxActivityIndicatorPersistent {
  SK_CLASS(TdxActivityIndicatorAnimationController, TdxActivityIndicatorPersistent)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
  void Destroy() override;

  // Whether the timer runs; never while the indicator has no kind.
  bool Active() const;
  void SetActive(bool AValue);
  // The progress of element AElementIndex: 0 when it sets off, 1 when it arrives.
  double CalculateProgress(int AElementIndex) const { return FProgress - AElementIndex * FGapBetweenElements; }
  // Starts a run at progress 0 (only while active).
  void ResetTimer();
  // The gap and the first element's duration from the current view information.
  void UpdateParams();
  // One frame: the progress from the counter, a synchronous repaint, a new run once this one ended.
  void Tick();

  TdxActivityIndicatorProperties* Properties() const;
  TdxActivityIndicatorViewInfo* ViewInfo() const;
  TcxTimer* Timer() const { return FTimer.get(); }
  double GapBetweenElements() const { return FGapBetweenElements; }
  double Progress() const { return FProgress; }

 private:
  void TimerHandler(TObject*) { Tick(); }

  double FGapBetweenElements;
  double FProgress;
  std::int64_t FTimeStart;
  std::int64_t FTimeFinish;
  std::int64_t FTimeFinishOfFirstElement;
  TOwned<TcxTimer> FTimer;
};

// ---------------------------------------------------------------------------
// Drawing

class TdxActivityIndicatorViewInfo : public TdxActivityIndicatorPersistent {
  SK_CLASS(TdxActivityIndicatorViewInfo, TdxActivityIndicatorPersistent)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
  void Destroy() override;

  virtual void Calculate(const TdxRectF& ABounds);
  // The overlay over the bounds grown by a pixel, then the elements while active.
  virtual void Draw(TdxGPCanvas* ACanvas);

  const TdxRectF& Bounds() const { return FBounds; }
  int ElementCount() const { return FElementCount; }
  float ElementSize() const { return FElementSize; }
  TdxGPBrush* OverlayBrush() const { return FOverlayBrush.get(); }
  TdxActivityIndicatorProperties* Properties() const;

 protected:
  virtual void DrawElements(TdxGPCanvas* ACanvas) = 0;
  // The painter's panel text colour, opaque.
  TdxAlphaColor GetDefaultColor() const;

  TdxRectF FBounds;
  TOwned<TdxGPBrush> FOverlayBrush;
  int FElementCount;
  float FElementSize;
};

class TdxActivityIndicatorDotBasedViewInfo : public TdxActivityIndicatorViewInfo {
  SK_CLASS(TdxActivityIndicatorDotBasedViewInfo, TdxActivityIndicatorViewInfo)
 public:
  void Create(TdxCustomActivityIndicator* AOwner) override;
  void Destroy() override;
  void Calculate(const TdxRectF& ABounds) override;

  TdxGPBrush* DotBrush() const { return FDotBrush.get(); }
  TdxActivityIndicatorDotBasedRuleClass Rule() const;

 protected:
  void DrawElements(TdxGPCanvas* ACanvas) override;

 private:
  TOwned<TdxGPBrush> FDotBrush;
};

class TdxActivityIndicatorArcBasedViewInfo : public TdxActivityIndicatorViewInfo {
  SK_CLASS(TdxActivityIndicatorArcBasedViewInfo, TdxActivityIndicatorViewInfo)
 public:
  void Calculate(const TdxRectF& ABounds) override;

  const TRect& ArcArea() const { return FArcArea; }
  TdxAlphaColor ArcColor() const { return FArcColor; }
  float ArcThickness() const { return FArcThickness; }
  const TdxActivityIndicatorArcBasedRule* Rule() const;

 protected:
  void DrawElements(TdxGPCanvas* ACanvas) override;

 private:
  TRect FArcArea;
  TdxAlphaColor FArcColor;
  float FArcThickness;
};

// ---------------------------------------------------------------------------
// The control

class TdxCustomActivityIndicator : public TcxControl {
  SK_CLASS(TdxCustomActivityIndicator, TcxControl)
 public:
  void Create(TComponent* AOwner) override;
  // A new indicator shows the first registered kind.
  void AfterConstruction() override;
  void Destroy() override;

  bool Active() const { return FAnimationController->Active(); }
  void SetActive(bool AValue) { FAnimationController->SetActive(AValue); }
  bool Antialiasing() const { return FAntialiasing; }
  void SetAntialiasing(bool AValue);
  // The kind by class name; a name the registry does not know is ignored,
  // an empty one removes the kind.
  String PropertiesClassName() const;
  void SetPropertiesClassName(const String& AValue);
  TdxActivityIndicatorPropertiesClass PropertiesClass() const;
  void SetPropertiesClass(TdxActivityIndicatorPropertiesClass AValue);
  TdxActivityIndicatorProperties* Properties() const { return FProperties.get(); }
  // Takes AValue's kind, then copies its settings.
  void SetProperties(TdxActivityIndicatorProperties* AValue);

  TdxActivityIndicatorAnimationController* AnimationController() const { return FAnimationController.get(); }
  TdxActivityIndicatorViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TcxCustomLookAndFeelPainter* Painter() { return ActivePainter(); }

  void Recalculate();

 protected:
  void Loaded() override;
  bool NeedsDoubleBuffering() override { return true; }
  void ApplyScale(int M, int D, bool AIsDpiChange) override;
  void PaintControl() override;
  void FillBackground(TcxCanvas* ACanvas, const TRect& R) override;
  bool PaintsOwnBackground() override { return true; }
  bool HasTransparentBackground() override { return Transparent(); }
  void HandleLookAndFeelChange(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void HandleBoundsChange() override;
  virtual TdxActivityIndicatorAnimationController* CreateAnimationController();

 private:
  TOwned<TdxActivityIndicatorAnimationController> FAnimationController;
  bool FAntialiasing;
  TOwned<TdxActivityIndicatorProperties> FProperties;
  TOwned<TdxActivityIndicatorViewInfo> FViewInfo;
};

class TdxActivityIndicator : public TdxCustomActivityIndicator {
  SK_CLASS(TdxActivityIndicator, TdxCustomActivityIndicator)
 public:
  static void Publish(TPublisher<TdxActivityIndicator>& P);
};

// The kinds by class and description, made on first use.
TcxRegisteredClasses* RegisteredActivityIndicatorKinds();

// Unit start-up and shut-down.
void dxActivityIndicatorInitialization();
void dxActivityIndicatorFinalization();
