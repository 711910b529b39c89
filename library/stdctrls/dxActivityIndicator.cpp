#include "library/stdctrls/dxActivityIndicator.h"

#include "library/lookandfeel/animation/dxAnimation.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

// The S-shaped ease of the dot kinds: 0 at 0, 0.5 at 0.5, 1 at 1, steep at
// both ends and flat in the middle.
double SinhEase(double AProgress) {
  static const double sinh3 = std::sinh(3.0);
  return (std::sinh(6 * AProgress - 3) + sinh3) / (2 * sinh3);
}

double Lerp(double AFrom, double ATo, double AT) { return (1 - AT) * AFrom + AT * ATo; }

// The elastic circle's ease of one angle: slow until A, a rising curve up to
// B, then straight on to 1.
double ElasticEase(double X, double A, double B) {
  if (X < A) return 0.55 * X;
  if (X <= B) return Lerp(0.55 * A, 1 - 0.55 * (1 - B), std::pow((X - A) / (B - A), 1.5));
  return Lerp(1 - 0.55 * (1 - B), 1, (X - B) / (1 - B));
}

const TdxActivityIndicatorHorizontalDotsRule HorizontalDotsRule;
const TdxActivityIndicatorCircularDotsRule CircularDotsRule;
const TdxActivityIndicatorGravityDotsRule GravityDotsRule;
const TdxActivityIndicatorElasticCircleRule ElasticCircleRule;

constexpr int MinDotCount = 1;
constexpr int MaxDotCount = 10;
constexpr int MinDotSize = 2;
constexpr int MaxDotSize = 50;

TcxRegisteredClasses* GKinds = nullptr;

}  // namespace

// ---------------------------------------------------------------------------
// Rules

double TdxActivityIndicatorCustomRule::CalculateGapBetweenElements(const TdxRectF&, double) const { return 0; }

void TdxActivityIndicatorArcBasedRule::CalculateAngles(double, double& AAngle1, double& AAngle2) const {
  AAngle1 = 0;
  AAngle2 = 0;
}

void TdxActivityIndicatorElasticCircleRule::CalculateAngles(double AProgress, double& AAngle1,
                                                            double& AAngle2) const {
  const double x = 1 - AProgress;
  AAngle1 = 720 * ElasticEase(x, 0.2, 0.5);
  AAngle2 = 720 * ElasticEase(x, 0.7, 1.0) - 10;
}

double TdxActivityIndicatorDotBasedRule::CalculateDotSize(double ADotSize, double) const { return ADotSize; }

TdxPointF TdxActivityIndicatorDotBasedRule::CalculatePosition(const TdxRectF& ABounds, double, double) const {
  return ABounds.TopLeft();
}

double TdxActivityIndicatorHorizontalDotsRule::CalculateGapBetweenElements(const TdxRectF& ABounds,
                                                                          double AElementSize) const {
  const double width = ABounds.Width();
  return width > 0 ? 5 * AElementSize / width : width;
}

TdxPointF TdxActivityIndicatorHorizontalDotsRule::CalculatePosition(const TdxRectF& ABounds, double,
                                                                    double AProgress) const {
  return TdxPointF(static_cast<float>(ABounds.Left + ABounds.Width() * Ease(AProgress)),
                   static_cast<float>(ABounds.Top + ABounds.Height() * 0.5));
}

double TdxActivityIndicatorHorizontalDotsRule::Ease(double AProgress) const {
  if (AProgress <= 0.2 || AProgress >= 0.8) return SinhEase(AProgress);
  const double low = SinhEase(0.2);
  const double high = SinhEase(0.8);
  return low + (AProgress - 0.2) / 0.6 * (high - low);
}

double TdxActivityIndicatorCircularDotsRule::CalculateGapBetweenElements(const TdxRectF& ABounds,
                                                                        double AElementSize) const {
  const double side = std::min(ABounds.Width(), ABounds.Height());
  return side > 0 ? 0.6 * AElementSize / side : side;
}

TdxPointF TdxActivityIndicatorCircularDotsRule::CalculatePosition(const TdxRectF& ABounds, double ADotSize,
                                                                  double AProgress) const {
  const double turns = GetTurnCount() * AProgress;
  const double angle = GetStartAngle() + Ease(turns - std::floor(turns)) * TwoPi;
  const double radius = (std::min(ABounds.Width(), ABounds.Height()) - ADotSize - 3) / 2;
  const TdxPointF centre = ABounds.CenterPoint();
  return TdxPointF(static_cast<float>(centre.X + radius * std::cos(angle)),
                   static_cast<float>(centre.Y + radius * std::sin(angle)));
}

double TdxActivityIndicatorCircularDotsRule::GetStartAngle() const { return std::numbers::pi / 3; }

double TdxActivityIndicatorCircularDotsRule::Ease(double AProgress) const { return SinhEase(AProgress); }

double TdxActivityIndicatorGravityDotsRule::CalculateDotSize(double ADotSize, double AProgress) const {
  return ADotSize * (1 + 3 * std::tanh(std::abs(2 * AProgress - 1)));
}

TdxPointF TdxActivityIndicatorGravityDotsRule::CalculatePosition(const TdxRectF& ABounds, double ADotSize,
                                                                 double AProgress) const {
  // The circle leaves room for the largest dot; mirrored, it starts at the top.
  TdxPointF p = TdxActivityIndicatorCircularDotsRule::CalculatePosition(ABounds, 3 * ADotSize, AProgress);
  p.Y = ABounds.Bottom - (p.Y - ABounds.Top);
  return p;
}

double TdxActivityIndicatorGravityDotsRule::GetStartAngle() const { return std::numbers::pi / 2; }

double TdxActivityIndicatorGravityDotsRule::Ease(double AProgress) const {
  const double a = 1 - AProgress;
  return a < 0.5 ? 4 * a * a * a : 1 - 4 * (1 - a) * (1 - a) * (1 - a);
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorPersistent

TPersistent* TdxActivityIndicatorPersistent::GetOwner() { return FOwner; }

// ---------------------------------------------------------------------------
// TdxActivityIndicatorProperties

void TdxActivityIndicatorProperties::Publish(TPublisher<TdxActivityIndicatorProperties>& P) {
  using C = TdxActivityIndicatorProperties;
  P.Property(L"AnimationTime", &C::AnimationTime, &C::SetAnimationTime).Default(2000);
  P.Property(L"OverlayColor", &C::OverlayColor, &C::SetOverlayColor).Stored(&C::IsOverlayColorStored);
}

void TdxActivityIndicatorProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FAnimationTime = 2000;
  FOverlayColor = TdxAlphaColors::Default;
}

void TdxActivityIndicatorProperties::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TdxActivityIndicatorProperties*>(ASource)) {
    FAnimationTime = std::max(source->FAnimationTime, 1u);
    FOverlayColor = source->FOverlayColor;
    FAnimationRestartDelay = source->FAnimationRestartDelay;
    Changed(dxaicRestart);
  }
}

void TdxActivityIndicatorProperties::SetAnimationTime(unsigned AValue) {
  AValue = std::max(AValue, 1u);
  if (FAnimationTime == AValue) return;
  FAnimationTime = AValue;
  Changed(dxaicRestart);
}

void TdxActivityIndicatorProperties::SetAnimationRestartDelay(unsigned AValue) {
  if (FAnimationRestartDelay == AValue) return;
  FAnimationRestartDelay = AValue;
  Changed(dxaicRestart);
}

void TdxActivityIndicatorProperties::SetOverlayColor(TdxAlphaColor AValue) {
  if (FOverlayColor == AValue) return;
  FOverlayColor = AValue;
  Changed(dxaicLayout);
}

void TdxActivityIndicatorProperties::Changed(int AType) {
  // Only the indicator's current properties steer it.
  if (!FOwner || FOwner->Properties() != this) return;
  if (AType >= dxaicRestart) FOwner->AnimationController()->ResetTimer();
  if (AType >= dxaicLayout) FOwner->Recalculate();
  FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorDotBasedProperties

void TdxActivityIndicatorDotBasedProperties::Publish(TPublisher<TdxActivityIndicatorDotBasedProperties>& P) {
  using C = TdxActivityIndicatorDotBasedProperties;
  P.Property(L"AnimationRestartDelay", &C::AnimationRestartDelay, &C::SetAnimationRestartDelay).Default(0);
  P.Property(L"DotColor", &C::DotColor, &C::SetDotColor).Stored(&C::IsDotColorStored);
  P.Property(L"DotCount", &C::DotCount, &C::SetDotCount).Default(5);
  P.Property(L"DotSize", &C::DotSize, &C::SetDotSize).Default(6);
}

void TdxActivityIndicatorDotBasedProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FDotColor = TdxAlphaColors::Default;
  FDotCount = 5;
  FDotSize = 6;
}

void TdxActivityIndicatorDotBasedProperties::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxActivityIndicatorDotBasedProperties*>(ASource)) {
    FDotColor = source->FDotColor;
    FDotCount = static_cast<std::uint8_t>(std::clamp<int>(source->FDotCount, MinDotCount, MaxDotCount));
    FDotSize = static_cast<std::uint8_t>(std::clamp<int>(source->FDotSize, MinDotSize, MaxDotSize));
    Changed(dxaicRestart);
  }
}

void TdxActivityIndicatorDotBasedProperties::ChangeScale(int M, int D) { SetDotSize(MulDiv(DotSize(), M, D)); }

TdxActivityIndicatorViewInfo* TdxActivityIndicatorDotBasedProperties::CreateViewInfo() {
  return New<TdxActivityIndicatorDotBasedViewInfo>(FOwner);
}

void TdxActivityIndicatorDotBasedProperties::SetDotColor(TdxAlphaColor AValue) {
  if (FDotColor == AValue) return;
  FDotColor = AValue;
  Changed(dxaicLayout);
}

void TdxActivityIndicatorDotBasedProperties::SetDotCount(int AValue) {
  // No dots at all would leave the clock without a first element to time.
  AValue = std::clamp(AValue, MinDotCount, MaxDotCount);
  if (FDotCount == AValue) return;
  FDotCount = static_cast<std::uint8_t>(AValue);
  Changed(dxaicLayout);
}

void TdxActivityIndicatorDotBasedProperties::SetDotSize(int AValue) {
  AValue = std::clamp(AValue, MinDotSize, MaxDotSize);
  if (FDotSize == AValue) return;
  FDotSize = static_cast<std::uint8_t>(AValue);
  Changed(dxaicLayout);
}

void TdxActivityIndicatorHorizontalDotsProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FRule = &HorizontalDotsRule;
}

void TdxActivityIndicatorCircularDotsProperties::Publish(TPublisher<TdxActivityIndicatorCircularDotsProperties>& P) {
  using C = TdxActivityIndicatorCircularDotsProperties;
  P.Property(L"AnimationTime", &C::AnimationTime, &C::SetAnimationTime).Default(4000);
}

void TdxActivityIndicatorCircularDotsProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FAnimationTime = 4000;
  FRule = &CircularDotsRule;
}

void TdxActivityIndicatorGravityDotsProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FRule = &GravityDotsRule;
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorArcBasedProperties

void TdxActivityIndicatorArcBasedProperties::Publish(TPublisher<TdxActivityIndicatorArcBasedProperties>& P) {
  using C = TdxActivityIndicatorArcBasedProperties;
  P.Property(L"ArcColor", &C::ArcColor, &C::SetArcColor).Stored(&C::IsArcColorStored);
  P.Property(L"ArcThickness", &C::ArcThickness, &C::SetArcThickness).Default(3);
}

void TdxActivityIndicatorArcBasedProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FArcColor = TdxAlphaColors::Default;
  FArcThickness = 3;
}

void TdxActivityIndicatorArcBasedProperties::Assign(TPersistent* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxActivityIndicatorArcBasedProperties*>(ASource)) {
    SetArcColor(source->FArcColor);
    SetArcThickness(source->FArcThickness);
  }
}

void TdxActivityIndicatorArcBasedProperties::ChangeScale(int M, int D) {
  SetArcThickness(MulDiv(ArcThickness(), M, D));
}

TdxActivityIndicatorViewInfo* TdxActivityIndicatorArcBasedProperties::CreateViewInfo() {
  return New<TdxActivityIndicatorArcBasedViewInfo>(FOwner);
}

void TdxActivityIndicatorArcBasedProperties::SetArcColor(TdxAlphaColor AValue) {
  if (FArcColor == AValue) return;
  FArcColor = AValue;
  Changed(dxaicLayout);
}

void TdxActivityIndicatorArcBasedProperties::SetArcThickness(int AValue) {
  AValue = std::max(AValue, 1);
  if (FArcThickness == AValue) return;
  FArcThickness = AValue;
  Changed(dxaicLayout);
}

void TdxActivityIndicatorElasticCircleProperties::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FRule = &ElasticCircleRule;
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorAnimationController

void TdxActivityIndicatorAnimationController::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FTimer.reset(CreateTimer(1, false, BindEvent<&TdxActivityIndicatorAnimationController::TimerHandler>(this)));
}

void TdxActivityIndicatorAnimationController::Destroy() {
  FTimer.reset();
  inherited::Destroy();
}

bool TdxActivityIndicatorAnimationController::Active() const { return FTimer && FTimer->Enabled(); }

void TdxActivityIndicatorAnimationController::SetActive(bool AValue) {
  AValue = AValue && ViewInfo();
  if (AValue == Active()) return;
  FTimer->SetEnabled(AValue);
  ResetTimer();
  FOwner->Invalidate();
}

TdxActivityIndicatorProperties* TdxActivityIndicatorAnimationController::Properties() const {
  return FOwner->Properties();
}

TdxActivityIndicatorViewInfo* TdxActivityIndicatorAnimationController::ViewInfo() const {
  return FOwner->ViewInfo();
}

void TdxActivityIndicatorAnimationController::ResetTimer() {
  if (!Active()) return;
  FTimeStart = ReadPerformanceCounter();
  FTimeFinish = FTimeStart + MillisecondsToTicks(static_cast<std::int64_t>(Properties()->AnimationTime()) +
                                                 Properties()->AnimationRestartDelay());
  UpdateParams();
  FProgress = 0;
  FOwner->Invalidate();
  FOwner->Update();
}

void TdxActivityIndicatorAnimationController::UpdateParams() {
  if (!Active()) return;
  const TdxActivityIndicatorViewInfo* viewInfo = ViewInfo();
  FGapBetweenElements = Properties()->Rule()->CalculateGapBetweenElements(viewInfo->Bounds(), viewInfo->ElementSize());
  const double firstShare = (viewInfo->ElementCount() - 1) * FGapBetweenElements + 1;
  // At least one tick: the progress divides by this duration.
  const auto duration = static_cast<std::int64_t>(
      static_cast<double>(MillisecondsToTicks(Properties()->AnimationTime())) / firstShare);
  FTimeFinishOfFirstElement = FTimeStart + std::max<std::int64_t>(duration, 1);
}

void TdxActivityIndicatorAnimationController::Tick() {
  if (!Active()) return;
  const std::int64_t now = ReadPerformanceCounter();
  FProgress = static_cast<double>(std::min(FTimeFinish, now) - FTimeStart) /
              static_cast<double>(FTimeFinishOfFirstElement - FTimeStart);
  FOwner->Invalidate();
  FOwner->Update();
  // The new run starts here and shows its first frame at the next tick, so
  // a run shorter than one repaint cannot keep this tick going.
  if (now >= FTimeFinish) ResetTimer();
}

// ---------------------------------------------------------------------------
// TdxActivityIndicatorViewInfo

void TdxActivityIndicatorViewInfo::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FOverlayBrush.reset(New<TdxGPBrush>());
  FElementCount = 1;
}

void TdxActivityIndicatorViewInfo::Destroy() {
  FOverlayBrush.reset();
  inherited::Destroy();
}

TdxActivityIndicatorProperties* TdxActivityIndicatorViewInfo::Properties() const { return FOwner->Properties(); }

void TdxActivityIndicatorViewInfo::Calculate(const TdxRectF& ABounds) {
  FBounds = ABounds;
  const TdxAlphaColor overlay = Properties()->OverlayColor();
  FOverlayBrush->SetColor(overlay == TdxAlphaColors::Default ? TdxAlphaColors::Empty : overlay);
}

void TdxActivityIndicatorViewInfo::Draw(TdxGPCanvas* ACanvas) {
  if (FBounds.IsEmpty()) return;
  TdxRectF overlay = FBounds;
  overlay.Inflate(1, 1);
  ACanvas->FillRectangle(overlay, FOverlayBrush.get());
  if (FOwner->Active()) DrawElements(ACanvas);
}

TdxAlphaColor TdxActivityIndicatorViewInfo::GetDefaultColor() const {
  TcxCustomLookAndFeelPainter* painter = FOwner->Painter();
  TColor color = painter->PanelTextColor();
  if (color == clNone || color == clDefault) color = painter->DefaultContentTextColor();
  return ColorToAlphaColor(color, 255);
}

void TdxActivityIndicatorDotBasedViewInfo::Create(TdxCustomActivityIndicator* AOwner) {
  inherited::Create(AOwner);
  FDotBrush.reset(New<TdxGPBrush>());
}

void TdxActivityIndicatorDotBasedViewInfo::Destroy() {
  FDotBrush.reset();
  inherited::Destroy();
}

TdxActivityIndicatorDotBasedRuleClass TdxActivityIndicatorDotBasedViewInfo::Rule() const {
  return static_cast<TdxActivityIndicatorDotBasedRuleClass>(Properties()->Rule());
}

void TdxActivityIndicatorDotBasedViewInfo::Calculate(const TdxRectF& ABounds) {
  inherited::Calculate(ABounds);
  const auto* properties = static_cast<TdxActivityIndicatorDotBasedProperties*>(Properties());
  FElementSize = static_cast<float>(properties->DotSize());
  FElementCount = properties->DotCount();
  const TdxAlphaColor color = properties->DotColor();
  FDotBrush->SetColor(color == TdxAlphaColors::Default ? GetDefaultColor() : color);
}

void TdxActivityIndicatorDotBasedViewInfo::DrawElements(TdxGPCanvas* ACanvas) {
  const TdxActivityIndicatorDotBasedRule* rule = Rule();
  const TdxActivityIndicatorAnimationController* controller = FOwner->AnimationController();
  for (int i = 0; i < FElementCount; ++i) {
    double progress = controller->CalculateProgress(i);
    if (!rule->AllowHideDots()) progress = std::min(progress, 1.0);
    if (progress < 0 || progress > 1) continue;
    const TdxPointF centre = rule->CalculatePosition(FBounds, FElementSize, progress);
    const auto half = static_cast<float>(rule->CalculateDotSize(FElementSize, progress) / 2);
    ACanvas->Ellipse(TdxRectF(centre.X - half, centre.Y - half, centre.X + half, centre.Y + half), nullptr,
                     FDotBrush.get());
  }
}

const TdxActivityIndicatorArcBasedRule* TdxActivityIndicatorArcBasedViewInfo::Rule() const {
  return static_cast<const TdxActivityIndicatorArcBasedRule*>(Properties()->Rule());
}

void TdxActivityIndicatorArcBasedViewInfo::Calculate(const TdxRectF& ABounds) {
  inherited::Calculate(ABounds);
  const auto* properties = static_cast<TdxActivityIndicatorArcBasedProperties*>(Properties());
  const double side = (std::min(FBounds.Width(), FBounds.Height()) - properties->ArcThickness() - 3) / 2.0;
  const TdxPointF centre = FBounds.CenterPoint();
  // The largest whole-pixel square inside the exact one.
  FArcArea = TRect(static_cast<int>(std::ceil(centre.X - side / 2)), static_cast<int>(std::ceil(centre.Y - side / 2)),
                   static_cast<int>(std::floor(centre.X + side / 2)),
                   static_cast<int>(std::floor(centre.Y + side / 2)));
  FArcThickness = static_cast<float>(properties->ArcThickness());
  FArcColor = properties->ArcColor() == TdxAlphaColors::Default ? GetDefaultColor() : properties->ArcColor();
}

void TdxActivityIndicatorArcBasedViewInfo::DrawElements(TdxGPCanvas* ACanvas) {
  if (2 * FArcThickness >= FArcArea.Width() || 2 * FArcThickness >= FArcArea.Height()) return;
  double angle1 = 0;
  double angle2 = 0;
  Rule()->CalculateAngles(FOwner->AnimationController()->CalculateProgress(0), angle1, angle2);
  ACanvas->Arc(FArcArea, static_cast<float>(angle1), static_cast<float>(angle2 - angle1), FArcColor, FArcThickness,
               psSolid);
}

// ---------------------------------------------------------------------------
// TdxCustomActivityIndicator

void TdxCustomActivityIndicator::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAntialiasing = true;
  FAnimationController.reset(CreateAnimationController());
  SetBounds(Left(), Top(), 300, 100);
  SetTabStop(false);
}

void TdxCustomActivityIndicator::AfterConstruction() {
  inherited::AfterConstruction();
  SetPropertiesClassName(RegisteredActivityIndicatorKinds()->Items(0)->ClassName());
}

void TdxCustomActivityIndicator::Destroy() {
  FAnimationController.reset();
  FProperties.reset();
  FViewInfo.reset();
  inherited::Destroy();
}

TdxActivityIndicatorAnimationController* TdxCustomActivityIndicator::CreateAnimationController() {
  return New<TdxActivityIndicatorAnimationController>(this);
}

void TdxCustomActivityIndicator::SetAntialiasing(bool AValue) {
  if (FAntialiasing == AValue) return;
  FAntialiasing = AValue;
  Invalidate();
}

String TdxCustomActivityIndicator::PropertiesClassName() const {
  return FProperties ? String(FProperties->ClassName()) : String();
}

void TdxCustomActivityIndicator::SetPropertiesClassName(const String& AValue) {
  if (AValue.empty()) {
    SetPropertiesClass(nullptr);
  } else if (const TClass kind = RegisteredActivityIndicatorKinds()->FindByClassName(AValue)) {
    SetPropertiesClass(kind);
  }
}

TdxActivityIndicatorPropertiesClass TdxCustomActivityIndicator::PropertiesClass() const {
  return FProperties ? FProperties->ClassType() : nullptr;
}

void TdxCustomActivityIndicator::SetPropertiesClass(TdxActivityIndicatorPropertiesClass AValue) {
  if (AValue == PropertiesClass()) return;
  // The new kind starts from progress 0 when the old one was running.
  const bool wasActive = Active();
  const TScopeExit restoreActive([this, wasActive] { SetActive(wasActive); });
  SetActive(false);
  FProperties.reset();
  FViewInfo.reset();
  if (AValue) {
    FProperties.reset(NewOfClass<TdxActivityIndicatorProperties>(AValue, this));
    FViewInfo.reset(FProperties->CreateViewInfo());
  }
  Recalculate();
}

void TdxCustomActivityIndicator::SetProperties(TdxActivityIndicatorProperties* AValue) {
  if (!AValue) return;
  SetPropertiesClassName(AValue->ClassName());
  if (FProperties) FProperties->Assign(AValue);
}

void TdxCustomActivityIndicator::Recalculate() {
  if (FViewInfo) FViewInfo->Calculate(TdxRectF(ClientBounds()));
  if (FAnimationController) FAnimationController->UpdateParams();
}

void TdxCustomActivityIndicator::Loaded() {
  inherited::Loaded();
  Recalculate();
}

void TdxCustomActivityIndicator::ApplyScale(int M, int D, bool AIsDpiChange) {
  inherited::ApplyScale(M, D, AIsDpiChange);
  if (FProperties) FProperties->ChangeScale(M, D);
}

void TdxCustomActivityIndicator::PaintControl() {
  inherited::PaintControl();
  if (!FViewInfo) return;
  const TdxGPPaintCanvasScope paint(Canvas()->Handle(), ClientBounds());
  paint->SetSmoothingMode(FAntialiasing ? smAntiAlias : smHighSpeed);
  FViewInfo->Draw(paint.Canvas());
}

void TdxCustomActivityIndicator::FillBackground(TcxCanvas* ACanvas, const TRect& R) {
  ActivePainter()->DrawPanelContent(ACanvas, R);
}

void TdxCustomActivityIndicator::HandleLookAndFeelChange(TcxLookAndFeel* Sender,
                                                         TcxLookAndFeelValues AChangedValues) {
  inherited::HandleLookAndFeelChange(Sender, AChangedValues);
  Recalculate();
}

void TdxCustomActivityIndicator::HandleBoundsChange() {
  inherited::HandleBoundsChange();
  Recalculate();
}

// ---------------------------------------------------------------------------
// TdxActivityIndicator

void TdxActivityIndicator::Publish(TPublisher<TdxActivityIndicator>& P) {
  using C = TdxActivityIndicator;
  P.Property(L"Antialiasing", &C::Antialiasing, &C::SetAntialiasing).Default(true);
  P.Property(L"BorderStyle", &C::BorderStyle, &C::SetBorderStyle).Default(cxcbsNone);
  PublishLookAndFeel(P);
  // The kind comes before its settings, and Active after both: a stored
  // form chooses the kind, fills it, then starts it.
  P.Property(L"PropertiesClassName", &C::PropertiesClassName, &C::SetPropertiesClassName);
  P.Property(L"Properties", &C::Properties, &C::SetProperties);
  P.Property(L"Active", &C::Active, &C::SetActive).Default(false);
  P.Property(L"Transparent", &C::Transparent, &C::SetTransparent).Default(false);
}

// ---------------------------------------------------------------------------
// The registry of kinds

TcxRegisteredClasses* RegisteredActivityIndicatorKinds() {
  if (!GKinds) {
    GKinds = New<TcxRegisteredClasses>(false);
    GKinds->Register(TdxActivityIndicatorHorizontalDotsProperties::ClassInfo(), L"Horizontal Dots");
    GKinds->Register(TdxActivityIndicatorCircularDotsProperties::ClassInfo(), L"Circular Dots");
    GKinds->Register(TdxActivityIndicatorGravityDotsProperties::ClassInfo(), L"Gravity Dots");
    GKinds->Register(TdxActivityIndicatorElasticCircleProperties::ClassInfo(), L"Elastic Circle");
  }
  return GKinds;
}

void dxActivityIndicatorInitialization() { RegisterClasses({TdxActivityIndicator::ClassInfo()}); }

void dxActivityIndicatorFinalization() { FreeAndNil(GKinds); }
