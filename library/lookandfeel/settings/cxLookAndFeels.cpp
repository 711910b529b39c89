#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include "library/core/base/dxCore.h"
#include "platform/classes/Filer.h"

#include <algorithm>
#include <optional>

namespace {

TcxRootLookAndFeel* GRootLookAndFeel = nullptr;
bool GLookAndFeelsFinalized = false;
bool GTouchMode = false;
bool GUseSkins = true;
// On only while the touch mode changes: the root's refresh then reaches the
// listeners even with nothing to report.
bool GForcedRefresh = false;
int GControllerCount = 0;
// Every live look-and-feel, so that none keeps a painter the manager frees.
std::vector<TcxLookAndFeel*> GLookAndFeels;
// Exists between the unit's start-up and shut-down.
std::optional<std::vector<TObject*>> GVisualRefinementsListeners;

const TcxLookAndFeelData DefaultData{};

TcxLookAndFeelValues Differences(const TcxLookAndFeelData& A, const TcxLookAndFeelData& B) {
  TcxLookAndFeelValues r;
  if (A.Kind != B.Kind) r.Include(lfvKind);
  if (A.NativeStyle != B.NativeStyle) r.Include(lfvNativeStyle);
  if (A.SkinName != B.SkinName) r.Include(lfvSkinName);
  if (A.ScrollbarMode != B.ScrollbarMode) r.Include(lfvScrollbarMode);
  if (A.RenderMode != B.RenderMode) r.Include(lfvRenderMode);
  if (A.ScrollMode != B.ScrollMode) r.Include(lfvScrollMode);
  return r;
}

bool IsController(TObject* AObject) { return Is<TcxLookAndFeelController>(AObject); }

}  // namespace

TcxLookAndFeelStyle LookAndFeelKindToStyle(TcxLookAndFeelKind AKind) {
  static constexpr TcxLookAndFeelStyle styles[] = {lfsFlat, lfsStandard, lfsUltraFlat, lfsOffice11};
  return styles[AKind];
}

TcxLookAndFeelKind LookAndFeelStyleToKind(TcxLookAndFeelStyle AStyle) {
  static constexpr TcxLookAndFeelKind kinds[] = {lfFlat, lfStandard, lfUltraFlat, lfStandard, lfOffice11, lfUltraFlat};
  return kinds[AStyle];
}

// ---------------------------------------------------------------------------
// TcxLookAndFeel

void TcxLookAndFeel::Publish(TPublisher<TcxLookAndFeel>& P) {
  using C = TcxLookAndFeel;
  // A value is stored only while it is assigned.
  P.Property(L"AssignedValues", &C::AssignedValues, &C::SetAssignedValues).Stored(false);
  P.Property(L"Kind", &C::Kind, &C::SetKind).Stored(&C::IsValueStored<lfvKind>);
  P.Property(L"NativeStyle", &C::NativeStyle, &C::SetNativeStyle).Stored(&C::IsValueStored<lfvNativeStyle>);
  P.Property(L"RenderMode", &C::RenderMode, &C::SetRenderMode).Stored(&C::IsValueStored<lfvRenderMode>);
  P.Property(L"ScrollbarMode", &C::ScrollbarMode, &C::SetScrollbarMode).Stored(&C::IsValueStored<lfvScrollbarMode>);
  P.Property(L"ScrollMode", &C::ScrollMode, &C::SetScrollMode).Stored(&C::IsValueStored<lfvScrollMode>);
  P.Property(L"SkinName", &C::SkinName, &C::SetSkinName).Stored(&C::IsValueStored<lfvSkinName>);
}

void TcxLookAndFeel::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FCurrentState = FData;
  FSystemPaletteChangedNotifier.reset(New<TcxSystemPaletteChangedNotifier>(false));
  FSystemPaletteChangedNotifier->SetOnSystemPaletteChanged(BindEvent<&TcxLookAndFeel::SystemPaletteChanged>(this));
  GLookAndFeels.push_back(this);
  if (!FIsRootLookAndFeel) {
    if (TcxLookAndFeel* root = GetRootLookAndFeel()) root->AddChangeListener(this);
    UpdateCurrentState();
  }
  UpdatePainter();
}

void TcxLookAndFeel::Destroy() {
  FSystemPaletteChangedNotifier.reset();
  {
    // Listeners that leave their master now stay on the list being walked.
    FIsDestruction = true;
    const TScopeExit done([this] { FIsDestruction = false; });
    const std::size_t count = FChangeListenerList.size();
    for (std::size_t i = 0; i < count; ++i)
      if (auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener>(FChangeListenerList[i]))
        listener->MasterDestroying(this);
  }
  FChangeListenerList.clear();
  if (TcxLookAndFeel* master = FMasterLookAndFeel ? FMasterLookAndFeel : GRootLookAndFeel)
    if (master != this) master->RemoveChangeListener(this);
  std::erase(GLookAndFeels, this);
  inherited::Destroy();
}

bool TcxLookAndFeel::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxLookAndFeelNotificationListener, IcxLookAndFeelNotificationListener2>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxLookAndFeel::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxLookAndFeel*>(ASource);
  if (!source) return inherited::Assign(ASource);
  if (source == this) return;
  FPrevState = FCurrentState;
  FData = source->FData;
  FAssignedValues = source->FAssignedValues;
  TcxLookAndFeel* master = source->MasterLookAndFeel();
  if (master == GRootLookAndFeel) master = nullptr;
  if (master != FMasterLookAndFeel && IsMasterAllowed(master)) ChangeMaster(master);
  ReportChangesSinceSnapshot();
}

void TcxLookAndFeel::EndUpdate() {
  if (--FUpdateLockCount == 0) Changed(std::exchange(FChangedValues, TcxLookAndFeelValues()));
}

void TcxLookAndFeel::Reset() {
  if (FIsRootLookAndFeel && FPainter) FPainter->ResetLookAndFeelSettings();
  SetAssignedValues(TcxLookAndFeelValues());
  if (FIsRootLookAndFeel) {
    GTouchMode = false;
    GUseSkins = true;
  }
}

void TcxLookAndFeel::SetStyle(TcxLookAndFeelStyle AStyle) {
  SetNativeStyle(AStyle == lfsNative);
  if (!NativeStyle()) SetKind(LookAndFeelStyleToKind(AStyle));
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetAvailablePainter(TdxThemedObjectType ANeededThemedObjectType) {
  return GetAvailablePainter(TdxThemedObjectTypes{ANeededThemedObjectType});
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetAvailablePainter(const TdxThemedObjectTypes& ANeededThemedObjectTypes) {
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  if (!manager) return nullptr;
  if (FCurrentState.NativeStyle && AreVisualStylesAvailable(ANeededThemedObjectTypes))
    return manager->GetPainter(lfsNative);
  if (FSkinPainter) return FSkinPainter;
  // Not the active style: with native style on and themes active it is the
  // Native painter, which cannot theme the types asked for.
  return manager->GetPainter(LookAndFeelKindToStyle(FCurrentState.Kind));
}

void TcxLookAndFeel::AddChangeListener(TObject* AListener) {
  auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener>(AListener);
  if (!listener) return;
  const bool controller = IsController(listener->ListenerObject());
  if (controller && !FIsRootLookAndFeel) return;
  if (std::ranges::find(FChangeListenerList, AListener) != FChangeListenerList.end()) return;
  FChangeListenerList.push_back(AListener);
  if (controller) ++GControllerCount;
}

void TcxLookAndFeel::RemoveChangeListener(TObject* AListener) {
  const auto it = std::ranges::find(FChangeListenerList, AListener);
  if (it == FChangeListenerList.end()) return;
  if (!FIsDestruction) FChangeListenerList.erase(it);
  auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener>(AListener);
  if (FIsRootLookAndFeel && listener && IsController(listener->ListenerObject()) && --GControllerCount == 0) Reset();
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues AValue) {
  if (FAssignedValues == AValue) return;
  FPrevState = FCurrentState;
  FAssignedValues = AValue;
  ReportChangesSinceSnapshot();
}

template <class T>
void TcxLookAndFeel::SetValue(TcxLookAndFeelValue AValue, T TcxLookAndFeelData::*AField, const T& ANewValue) {
  const T previous = FCurrentState.*AField;
  FAssignedValues.Include(AValue);
  FData.*AField = ANewValue;
  if (ResolvedState().*AField != previous) Changed({AValue});
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind AValue) { SetValue(lfvKind, &TcxLookAndFeelData::Kind, AValue); }

void TcxLookAndFeel::SetNativeStyle(bool AValue) {
  SetValue(lfvNativeStyle, &TcxLookAndFeelData::NativeStyle, AValue);
}

void TcxLookAndFeel::SetRenderMode(TdxRenderMode AValue) {
  SetValue(lfvRenderMode, &TcxLookAndFeelData::RenderMode, AValue);
}

void TcxLookAndFeel::SetScrollbarMode(TdxScrollbarMode AValue) {
  SetValue(lfvScrollbarMode, &TcxLookAndFeelData::ScrollbarMode, AValue);
}

void TcxLookAndFeel::SetScrollMode(TdxScrollMode AValue) {
  SetValue(lfvScrollMode, &TcxLookAndFeelData::ScrollMode, AValue);
}

void TcxLookAndFeel::SetSkinName(const TdxSkinName& AValue) {
  SetValue(lfvSkinName, &TcxLookAndFeelData::SkinName, AValue);
}

TcxLookAndFeel* TcxLookAndFeel::MasterLookAndFeel() const {
  return FMasterLookAndFeel ? FMasterLookAndFeel : GetRootLookAndFeel();
}

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* AValue) {
  if (AValue == GRootLookAndFeel) AValue = nullptr;
  if (AValue == FMasterLookAndFeel || !IsMasterAllowed(AValue)) return;
  FPrevState = FCurrentState;
  ChangeMaster(AValue);
  ReportChangesSinceSnapshot();
}

TcxLookAndFeelStyle TcxLookAndFeel::ActiveStyle() const {
  if (FCurrentState.NativeStyle && AreVisualStylesAvailable()) return lfsNative;
  if (FSkinPainter) return lfsSkin;
  return LookAndFeelKindToStyle(FCurrentState.Kind);
}

TdxTouchScrollUIMode TcxLookAndFeel::TouchScrollUIMode() const {
  switch (ScrollbarMode()) {
    case sbmDefault: return tsmDefault;
    case sbmTouch: return tsmEnabled;
    default: return tsmDisabled;
  }
}

void TcxLookAndFeel::SetTouchScrollUIMode(TdxTouchScrollUIMode AValue) {
  static constexpr TdxScrollbarMode modes[] = {sbmDefault, sbmTouch, sbmClassic};
  SetScrollbarMode(modes[AValue]);
}

void TcxLookAndFeel::MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
  MasterValuesChanged(Sender, AChangedValues);
}

void TcxLookAndFeel::MasterDestroying(TcxLookAndFeel*) { SetMasterLookAndFeel(nullptr); }

void TcxLookAndFeel::MasterBeginChange(TcxLookAndFeel*) { CallEvent(FOnMasterBeginChange, this); }

void TcxLookAndFeel::MasterEndChange(TcxLookAndFeel*) { CallEvent(FOnMasterEndChange, this); }

void TcxLookAndFeel::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  // The published SkinName is not stored while empty: an explicitly empty
  // name would be lost.
  AFiler->DefineProperty(
      L"SkinName", [this](TReader* AReader) { SetSkinName(AReader->ReadString()); },
      [this](TWriter* AWriter) { AWriter->WriteString(FData.SkinName); },
      FAssignedValues.Contains(lfvSkinName) && FData.SkinName.empty());
  AFiler->DefineProperty(
      L"TouchScrollUIMode",
      [this](TReader* AReader) {
        const String mode = AReader->ReadIdent();
        for (int i = 0; i <= tsmDisabled; ++i)
          if (SameText(mode, TEnumInfo<TdxTouchScrollUIMode>::Names[i]))
            SetTouchScrollUIMode(static_cast<TdxTouchScrollUIMode>(i));
      },
      nullptr, false);
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::GetSkinPainterByName(const String& AName) {
  if (!GUseSkins || AName.empty()) return nullptr;
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  return manager ? manager->GetPainter(AName) : nullptr;
}

void TcxLookAndFeel::UpdateCurrentState() {
  FCurrentState = ResolvedState();
  FSkinPainter = FCurrentState.NativeStyle ? nullptr : ResolveSkinPainter();
}

void TcxLookAndFeel::UpdatePainter() { FPainter = GetAvailablePainter(TdxThemedObjectTypes()); }

template <class T>
T TcxLookAndFeel::ResolveValue(TcxLookAndFeelValue AValue, T TcxLookAndFeelData::*AField) {
  if (FAssignedValues.Contains(AValue)) return FData.*AField;
  if (FIsRootLookAndFeel) return DefaultData.*AField;
  const TcxLookAndFeel* master = CurrentMaster();
  return master ? master->FCurrentState.*AField : DefaultData.*AField;
}

TcxLookAndFeelKind TcxLookAndFeel::ResolveKind() { return ResolveValue(lfvKind, &TcxLookAndFeelData::Kind); }

bool TcxLookAndFeel::ResolveNativeStyle() { return ResolveValue(lfvNativeStyle, &TcxLookAndFeelData::NativeStyle); }

TdxRenderMode TcxLookAndFeel::ResolveRenderMode() {
  return ResolveValue(lfvRenderMode, &TcxLookAndFeelData::RenderMode);
}

TdxScrollbarMode TcxLookAndFeel::ResolveScrollbarMode() {
  return ResolveValue(lfvScrollbarMode, &TcxLookAndFeelData::ScrollbarMode);
}

TdxScrollMode TcxLookAndFeel::ResolveScrollMode() {
  return ResolveValue(lfvScrollMode, &TcxLookAndFeelData::ScrollMode);
}

TdxSkinName TcxLookAndFeel::ResolveSkinName() { return ResolveValue(lfvSkinName, &TcxLookAndFeelData::SkinName); }

TcxCustomLookAndFeelPainter* TcxLookAndFeel::ResolveSkinPainter() {
  if (FAssignedValues.Contains(lfvSkinName)) return GetSkinPainterByName(FData.SkinName);
  if (FIsRootLookAndFeel) return nullptr;
  TcxLookAndFeel* master = CurrentMaster();
  return master ? master->GetSkinPainterByName(master->FCurrentState.SkinName) : nullptr;
}

void TcxLookAndFeel::SystemPaletteChanged(TObject*) { Changed({lfvNativeStyle}); }

void TcxLookAndFeel::Changed(TcxLookAndFeelValues AChangedValues) {
  if (FIsDestruction || GLookAndFeelsFinalized) return;
  if (FCurrentState.UseSkins != GUseSkins) AChangedValues.Include(lfvSkinName);
  if (AChangedValues.Empty() && !GForcedRefresh) return;
  UpdateCurrentState();
  UpdatePainter();
  if (FUpdateLockCount > 0) {
    FChangedValues += AChangedValues;
    return;
  }
  NotifyListeners(AChangedValues);
  if (FOnChanged) FOnChanged(this, AChangedValues);
}

void TcxLookAndFeel::MasterValuesChanged(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  Changed(AChangedValues - FAssignedValues);
}

TcxLookAndFeel* TcxLookAndFeel::CurrentMaster() const {
  return FMasterLookAndFeel ? FMasterLookAndFeel : GetRootLookAndFeel();
}

bool TcxLookAndFeel::IsMasterAllowed(TcxLookAndFeel* AValue) const {
  if (FIsRootLookAndFeel) return false;
  // Values and changes would run round the chain for ever.
  for (const TcxLookAndFeel* master = AValue; master; master = master->FMasterLookAndFeel)
    if (master == this) return false;
  return true;
}

void TcxLookAndFeel::ChangeMaster(TcxLookAndFeel* AValue) {
  if (TcxLookAndFeel* master = CurrentMaster()) master->RemoveChangeListener(this);
  FMasterLookAndFeel = AValue;
  if (TcxLookAndFeel* master = CurrentMaster()) master->AddChangeListener(this);
}

TcxLookAndFeelData TcxLookAndFeel::ResolvedState() {
  TcxLookAndFeelData r;
  r.Kind = ResolveKind();
  r.NativeStyle = ResolveNativeStyle();
  r.SkinName = ResolveSkinName();
  r.ScrollbarMode = ResolveScrollbarMode();
  r.ScrollMode = ResolveScrollMode();
  r.RenderMode = ResolveRenderMode();
  r.UseSkins = GUseSkins;
  return r;
}

void TcxLookAndFeel::ReportChangesSinceSnapshot() { Changed(Differences(FPrevState, ResolvedState())); }

void TcxLookAndFeel::NotifyListeners(TcxLookAndFeelValues AChangedValues) {
  // Three passes over the listeners as they were; one that leaves during a
  // pass is not called again, and the others are not skipped.
  const std::vector<TObject*> listeners = FChangeListenerList;
  const auto pass = [&](auto&& ACall) {
    for (TObject* item : listeners)
      if (std::ranges::find(FChangeListenerList, item) != FChangeListenerList.end()) ACall(item);
  };
  pass([this](TObject* AItem) {
    if (auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener2>(AItem)) listener->MasterBeginChange(this);
  });
  pass([&](TObject* AItem) {
    if (auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener>(AItem))
      listener->MasterChanged(this, AChangedValues);
  });
  pass([this](TObject* AItem) {
    if (auto* listener = SupportsRaw<IcxLookAndFeelNotificationListener2>(AItem)) listener->MasterEndChange(this);
  });
}

// ---------------------------------------------------------------------------
// TcxRootLookAndFeel

void TcxRootLookAndFeel::Create(TPersistent* AOwner) {
  FIsRootLookAndFeel = true;
  GRootLookAndFeel = this;
  inherited::Create(AOwner);
}

void TcxRootLookAndFeel::Destroy() {
  inherited::Destroy();
  if (GRootLookAndFeel == this) GRootLookAndFeel = nullptr;
}

// ---------------------------------------------------------------------------
// Global routines

TcxLookAndFeel* GetRootLookAndFeel() {
  if (!GRootLookAndFeel && !GLookAndFeelsFinalized) New<TcxRootLookAndFeel>(nullptr);
  return GRootLookAndFeel;
}

bool HasRootLookAndFeel() { return GRootLookAndFeel != nullptr; }

bool IsTouchScrollUIEnabled() {
  if (!GRootLookAndFeel) return true;
  const TdxScrollbarMode mode = GRootLookAndFeel->ScrollbarMode();
  return mode == sbmDefault || mode == sbmTouch;
}

bool cxIsTouchModeEnabled() { return GTouchMode; }

bool cxUseSkins() { return GUseSkins; }

void SetcxUseSkins(bool AValue) { GUseSkins = AValue; }

void cxLookAndFeelsPainterRemoved(TcxCustomLookAndFeelPainter* APainter) {
  for (TcxLookAndFeel* lookAndFeel : GLookAndFeels)
    if (lookAndFeel->FPainter == APainter || lookAndFeel->FSkinPainter == APainter) {
      lookAndFeel->UpdateCurrentState();
      lookAndFeel->UpdatePainter();
    }
}

// ---------------------------------------------------------------------------
// TcxLookAndFeelController

void TcxLookAndFeelController::Publish(TPublisher<TcxLookAndFeelController>& P) {
  using C = TcxLookAndFeelController;
  P.Property(L"Kind", &C::Kind, &C::SetKind).Default(lfUltraFlat);
  P.Property(L"NativeStyle", &C::NativeStyle, &C::SetNativeStyle).Default(true);
  P.Property(L"ScrollbarMode", &C::ScrollbarMode, &C::SetScrollbarMode).Default(sbmDefault);
  P.Property(L"ScrollMode", &C::ScrollMode, &C::SetScrollMode).Default(scmDefault);
  P.Property(L"SkinName", &C::SkinName, &C::SetSkinName);
  P.Property(L"RenderMode", &C::RenderMode, &C::SetRenderMode).Default(rmDefault);
  P.Property(L"TouchMode", &C::TouchMode, &C::SetTouchMode).Default(false);
}

void TcxLookAndFeelController::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  if (TcxLookAndFeel* root = GetRootLookAndFeel()) root->AddChangeListener(this);
}

void TcxLookAndFeelController::Destroy() {
  if (GRootLookAndFeel) GRootLookAndFeel->RemoveChangeListener(this);
  inherited::Destroy();
}

bool TcxLookAndFeelController::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxLookAndFeelNotificationListener>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxLookAndFeelController::BeginUpdate() {
  if (GRootLookAndFeel) GRootLookAndFeel->BeginUpdate();
}

void TcxLookAndFeelController::EndUpdate() {
  if (GRootLookAndFeel) GRootLookAndFeel->EndUpdate();
}

void TcxLookAndFeelController::Reset() {
  if (GRootLookAndFeel) GRootLookAndFeel->Reset();
}

TcxLookAndFeelKind TcxLookAndFeelController::Kind() const {
  return GRootLookAndFeel ? GRootLookAndFeel->Kind() : lfUltraFlat;
}

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetKind(AValue);
}

bool TcxLookAndFeelController::NativeStyle() const {
  return GRootLookAndFeel ? GRootLookAndFeel->NativeStyle() : true;
}

void TcxLookAndFeelController::SetNativeStyle(bool AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetNativeStyle(AValue);
}

TdxScrollbarMode TcxLookAndFeelController::ScrollbarMode() const {
  return GRootLookAndFeel ? GRootLookAndFeel->ScrollbarMode() : sbmDefault;
}

void TcxLookAndFeelController::SetScrollbarMode(TdxScrollbarMode AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetScrollbarMode(AValue);
}

TdxScrollMode TcxLookAndFeelController::ScrollMode() const {
  return GRootLookAndFeel ? GRootLookAndFeel->ScrollMode() : scmClassic;
}

void TcxLookAndFeelController::SetScrollMode(TdxScrollMode AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetScrollMode(AValue);
}

TdxSkinName TcxLookAndFeelController::SkinName() const {
  return GRootLookAndFeel ? GRootLookAndFeel->SkinName() : TdxSkinName();
}

void TcxLookAndFeelController::SetSkinName(const TdxSkinName& AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetSkinName(AValue);
}

TdxRenderMode TcxLookAndFeelController::RenderMode() const {
  return GRootLookAndFeel ? GRootLookAndFeel->RenderMode() : rmGDI;
}

void TcxLookAndFeelController::SetRenderMode(TdxRenderMode AValue) {
  if (GRootLookAndFeel) GRootLookAndFeel->SetRenderMode(AValue);
}

void TcxLookAndFeelController::SetTouchMode(bool AValue) {
  if (GTouchMode == AValue) return;
  GForcedRefresh = true;
  const TScopeExit done([] { GForcedRefresh = false; });
  GTouchMode = AValue;
  if (GRootLookAndFeel) GRootLookAndFeel->Refresh();
}

void TcxLookAndFeelController::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"TouchScrollUIMode",
      [this](TReader* AReader) {
        const bool enabled = AReader->ReadBoolean();
        if (enabled != IsTouchScrollUIEnabled()) SetScrollbarMode(enabled ? sbmTouch : sbmClassic);
      },
      nullptr, false);
}

// ---------------------------------------------------------------------------
// Visual refinements

void AddVisualRefinementsListener(TObject* AControl) {
  if (GVisualRefinementsListeners && SupportsRaw<IdxVisualRefinementsListener>(AControl))
    GVisualRefinementsListeners->push_back(AControl);
}

void RemoveVisualRefinementsListener(TObject* AControl) {
  if (GVisualRefinementsListeners) std::erase(*GVisualRefinementsListeners, AControl);
}

// ---------------------------------------------------------------------------
// TcxLookAndFeelOwner

void TcxLookAndFeelOwner::CreateLookAndFeel(TPersistent* AOwner, TcxLookAndFeelChangedEvent AOnChanged) {
  FLookAndFeel.reset(New<TcxLookAndFeel>(AOwner));
  FLookAndFeel->SetOnChanged(AOnChanged);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

namespace {

// Run by the units loader: from here on there is no root.
void FinalizeLookAndFeels() {
  GLookAndFeelsFinalized = true;
  if (TcxRootLookAndFeel* root = std::exchange(GRootLookAndFeel, nullptr)) root->Free();
}

}  // namespace

void cxLookAndFeelsInitialization() {
  GLookAndFeelsFinalized = false;
  GTouchMode = false;
  GUseSkins = true;
  if (TdxUnitsLoader* loader = GetUnitsLoader()) loader->AddUnit(nullptr, &FinalizeLookAndFeels);
  GVisualRefinementsListeners.emplace();
}

void cxLookAndFeelsFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&FinalizeLookAndFeels);
  else
    FinalizeLookAndFeels();
  GVisualRefinementsListeners.reset();
}
