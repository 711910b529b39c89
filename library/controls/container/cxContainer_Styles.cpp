// The container styles, the styles object and the style controller.
#include "library/controls/container/cxContainer.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/classes/Filer.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

namespace {

constexpr std::array<const wchar_t*, 10> StyleValueNames = {
    L"BorderColor", L"BorderStyle", L"Color",     L"Edges",       L"Font",
    L"HotTrack",    L"Shadow",      L"TextColor", L"TextStyle", L"TransparentBorder"};

TcxStyleController* DefaultStyleController = nullptr;

}  // namespace

TcxStyleController* GetDefaultStyleController() { return DefaultStyleController; }
void SetDefaultStyleController(TcxStyleController* AValue) { DefaultStyleController = AValue; }

// While held, a change of the own font is the style re-deriving it, not the
// user assigning one.
struct TcxContainerStyle::TFontLock {
  explicit TFontLock(TcxContainerStyle* AStyle) : Style(AStyle) { ++Style->FFontAssignedValueLockCount; }
  ~TFontLock() { --Style->FFontAssignedValueLockCount; }
  TFontLock(const TFontLock&) = delete;
  TFontLock& operator=(const TFontLock&) = delete;
  TcxContainerStyle* Style;
};

// ---------------------------------------------------------------------------
// TcxContainerStyle

void TcxContainerStyle::Publish(TPublisher<TcxContainerStyle>& P) {
  using S = TcxContainerStyle;
  P.Property(L"AssignedValues", &S::AssignedValues, &S::SetAssignedValues).Stored(false);
  P.Property(L"BorderColor", &S::BorderColor, &S::SetBorderColor).Stored(&S::IsStored<svBorderColor>);
  P.Property(L"BorderStyle", &S::BorderStyle, &S::SetBorderStyle).Stored(&S::IsStored<svBorderStyle>);
  P.Property(L"Color", &S::Color, &S::SetColor).Stored(&S::IsStored<svColor>);
  P.Property(L"Edges", &S::Edges, &S::SetEdges).Stored(&S::IsStored<svEdges>);
  P.Property(L"Font", &S::Font, &S::SetFont).Stored(&S::IsStored<svFont>);
  P.Property(L"HotTrack", &S::HotTrack, &S::SetHotTrack).Stored(&S::IsStored<svHotTrack>);
  P.Property(L"LookAndFeel", &S::LookAndFeel, &S::SetLookAndFeel);
  P.Property(L"Shadow", &S::Shadow, &S::SetShadow).Stored(&S::IsStored<svShadow>);
  P.Property(L"StyleController", &S::StyleController, &S::SetStyleController).Stored(&S::IsStyleControllerStored);
  P.Property(L"TextColor", &S::TextColor, &S::SetTextColor).Stored(&S::IsStored<svTextColor>);
  P.Property(L"TextStyle", &S::TextStyle, &S::SetTextStyle).Stored(&S::IsStored<svTextStyle>);
  P.Property(L"TransparentBorder", &S::TransparentBorder, &S::SetTransparentBorder)
      .Stored(&S::IsStored<svTransparentBorder>);
}

void TcxContainerStyle::Create(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle,
                               TcxContainerStateItem AState) {
  inherited::Create(AOwner);
  FState = AState;
  if (AState != csNormal) FParentStyle = AParentStyle;
  FDirectAccessMode = ADirectAccessMode;
  FBorderColor = clDefault;
  FBorderStyle = cbsNone;
  FEdges = DefaultEdges();
  FHotTrack = DefaultHotTrack();
  FShadow = DefaultShadow();
  FTransparentBorder = DefaultTransparentBorder();
  StyleData.Color = clDefault;
  StyleData.FontColor = clDefault;
  if (FDirectAccessMode) FAssignedValues = {svColor, svFont, svTextColor, svTextStyle};
  if (!FParentStyle && !FDirectAccessMode) {
    FFont.reset(New<TFont>());
    AssignDefaultFont(FFont.get());
    FFont->SetOnChange(BindEvent<&TcxContainerStyle::FontChanged>(this));
    StyleData.Font = FFont.get();
  }
  FVisibleFont.reset(New<TFont>());
  if (!FParentStyle) {
    FLookAndFeel.reset(New<TcxLookAndFeel>(this));
    FLookAndFeel->SetOnChanged(BindEvent<&TcxContainerStyle::LookAndFeelChanged>(this));
    // A controller's own styles end the chain.
    if (TcxStyleController* controller = GetDefaultStyleController(); controller && controller != Owner()) {
      LinkController(controller);
      UpdateFont();
    }
  }
}

void TcxContainerStyle::Destroy() {
  FIsDestroying = true;
  if (!FParentStyle && FStyleController) FStyleController->RemoveListener(this);
  FStyleController = nullptr;
  FLookAndFeel.reset();
  FVisibleFont.reset();
  FFont.reset();
  inherited::Destroy();
}

void TcxContainerStyle::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxContainerStyle*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  TcxContainerStyleUpdate update(this);
  if (!FParentStyle) {
    SetStyleController(source->StyleController());
    SetLookAndFeel(source->LookAndFeel());
  }
  FBorderColor = source->FBorderColor;
  FBorderStyle = source->FBorderStyle;
  FEdges = source->FEdges;
  FHotTrack = source->FHotTrack;
  FShadow = source->FShadow;
  FTransparentBorder = source->FTransparentBorder;
  StyleData.Color = source->StyleData.Color;
  if (FDirectAccessMode) {
    StyleData.Font = source->Font();
    StyleData.FontColor = source->TextColor();
  } else {
    if (FFont) {
      FFont->Assign(source->Font());
      if (source->FDirectAccessMode) FFont->SetColor(source->TextColor());
    }
    StyleData.FontColor = source->TextColor();
    FTextStyle = source->TextStyle();
  }
  FAssignedValues = source->FAssignedValues;
  Changed();
}

void TcxContainerStyle::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  CheckChanges();
}

void TcxContainerStyle::Changed() {
  FModified = true;
  CheckChanges();
}

void TcxContainerStyle::CheckChanges() {
  if (!FModified || FUpdateCount != 0) return;
  FModified = false;
  if (!FIsDestroying && !FDirectAccessMode) CallEvent(FOnChanged, this);
}

TFont* TcxContainerStyle::GetVisibleFont() {
  FVisibleFont->Assign(Font());
  FVisibleFont->SetColor(TextColor());
  FVisibleFont->SetStyle(TextStyle());
  return FVisibleFont.get();
}

bool TcxContainerStyle::HasBorder() const { return FParentStyle ? FParentStyle->HasBorder() : true; }

bool TcxContainerStyle::IsValueAssigned(TcxContainerStyleValue AValue) const {
  if (FDirectAccessMode) return true;
  if (FParentStyle && IsNormalOnlyValue(AValue)) return FParentStyle->IsValueAssigned(AValue);
  return AssigningStyle(AValue) != nullptr;
}

const TcxContainerStyle* TcxContainerStyle::ControllerStyle() const {
  TcxStyleController* controller = ActiveStyleController();
  return controller ? controller->GetInternalStyle(FState) : nullptr;
}

const TcxContainerStyle* TcxContainerStyle::AssigningStyle(TcxContainerStyleValue AValue) const {
  // Links that would close a cycle are refused, so the walk ends.
  for (const TcxContainerStyle* style = this; style; style = style->ControllerStyle())
    if (style->FAssignedValues.Contains(AValue)) return style;
  return nullptr;
}

void TcxContainerStyle::RestoreDefaults() {
  TcxContainerStyleUpdate update(this);
  SetAssignedValues({});
  if (!FParentStyle) FLookAndFeel->Reset();
  TcxContainer* container = Container();
  if (container) {
    container->SetParentColor(false);
    container->SetParentFont(true);
  } else if (!FDirectAccessMode && FFont) {
    TFontLock lock(this);
    AssignDefaultFont(FFont.get(), OwnerScaleFactor());
  }
  if (container && container->DefaultsToParentColor()) {
    TcxStyleController* controller = ActiveStyleController();
    if (!controller || !controller->Style()->IsValueAssigned(svColor)) container->SetParentColor(true);
  }
}

bool TcxContainerStyle::GetStyleValue(const String& APropertyName, TcxContainerStyleValue& AStyleValue) const {
  const String name = AnsiUpperCase(APropertyName);
  for (int i = 0; i < GetStyleValueCount(); ++i) {
    String valueName;
    if (GetStyleValueName(static_cast<TcxContainerStyleValue>(i), valueName) && AnsiUpperCase(valueName) == name) {
      AStyleValue = static_cast<TcxContainerStyleValue>(i);
      return true;
    }
  }
  return false;
}

bool TcxContainerStyle::GetStyleValueName(TcxContainerStyleValue AValue, String& AName) const {
  const auto index = static_cast<std::size_t>(AValue);
  if (index >= StyleValueNames.size()) {
    AName.clear();
    return false;
  }
  AName = StyleValueNames[index];
  return true;
}

bool TcxContainerStyle::IsExtendedStylePropertyPublished(const String& APropertyName) const {
  if (SameText(APropertyName, L"LookAndFeel") || SameText(APropertyName, L"StyleController")) return false;
  TcxContainerStyleValue value;
  if (!GetStyleValue(APropertyName, value)) return true;
  return !ExtendedHiddenValues().Contains(value);
}

bool TcxContainerStyle::IsValueStored(TcxContainerStyleValue AValue) const {
  if (!FAssignedValues.Contains(AValue)) return false;
  TcxContainer* container = Container();
  String name;
  return !container || !GetStyleValueName(AValue, name) || container->IsStylePropertyPublished(name, FState != csNormal);
}

void TcxContainerStyle::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  bool hasData = IsValueStored(svFont) && FFont;
  if (hasData) {
    auto* ancestor = dynamic_cast<TcxContainerStyle*>(AFiler->Ancestor());
    hasData = !ancestor || ancestor->Font()->Handle() != FFont->Handle();
  }
  AFiler->DefineProperty(
      L"IsFontAssigned",
      [this](TReader* AReader) {
        if (AReader->ReadBoolean()) FAssignedValues.Include(svFont);
      },
      [](TWriter* AWriter) { AWriter->WriteBoolean(true); }, hasData);
}

// ---------------------------------------------------------------------------
// Values

template <class T>
void TcxContainerStyle::SetValue(TcxContainerStyleValue AValue, T& AField, const T& ANewValue) {
  if (FAssignedValues.Contains(AValue) && AField == ANewValue) return;
  AField = ANewValue;
  FAssignedValues.Include(AValue);
  Changed();
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues AValue) {
  if (FAssignedValues == AValue) return;
  FAssignedValues = AValue;
  if (!FParentStyle) UpdateFont();
  Changed();
}

TColor TcxContainerStyle::BorderColor() const {
  if (FDirectAccessMode) return clDefault;
  if (const TcxContainerStyle* style = AssigningStyle(svBorderColor)) return style->FBorderColor;
  return DefaultBorderColor();
}

void TcxContainerStyle::SetBorderColor(TColor AValue) { SetValue(svBorderColor, FBorderColor, AValue); }

TColor TcxContainerStyle::DefaultBorderColor() const {
  if (FState == csDisabled) return clBtnShadow;
  return FParentStyle ? FParentStyle->BorderColor() : clWindowFrame;
}

TcxContainerBorderStyle TcxContainerStyle::BorderStyle() const {
  if (FDirectAccessMode) return FAssignedValues.Contains(svBorderStyle) ? FBorderStyle : EffectiveBorderStyle();
  if (const TcxContainerStyle* style = AssigningStyle(svBorderStyle)) return style->FBorderStyle;
  return EffectiveBorderStyle();
}

void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle AValue) { SetValue(svBorderStyle, FBorderStyle, AValue); }

TcxContainerBorderStyle TcxContainerStyle::EffectiveBorderStyle() const {
  if (!FParentStyle) {
    static constexpr TcxContainerBorderStyle byKind[] = {cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11};
    return byKind[LookAndFeel()->Kind()];
  }
  // A focused or hot state that hot-tracks draws a heavier form of the
  // normal style's border; the disabled state keeps it.
  static constexpr TcxContainerBorderStyle heavier[] = {cbsFlat, cbsThick, cbsThick, cbs3D,
                                                        cbs3D,   cbsUltraFlat, cbsOffice11};
  const TcxContainerBorderStyle normal = FParentStyle->BorderStyle();
  return HotTrack() && (FState == csActive || FState == csHotTrack) ? heavier[normal] : normal;
}

TColor TcxContainerStyle::Color() const {
  if (FDirectAccessMode) return StyleData.Color;
  if (const TColor parent = ParentControlColor(true); parent != clDefault) return parent;
  return ResolvedColor();
}

TColor TcxContainerStyle::ResolvedColor() const {
  if (FDirectAccessMode) return StyleData.Color;
  if (const TcxContainerStyle* style = AssigningStyle(svColor)) return style->StyleData.Color;
  if (const TColor parent = ParentControlColor(false); parent != clDefault) return parent;
  return DefaultColor();
}

TcxContainer* TcxContainerStyle::Container() const { return dynamic_cast<TcxContainer*>(Owner()); }

bool TcxContainerStyle::IsParentColored() const {
  TcxContainer* container = Container();
  return !container || container->DefaultsToParentColor();
}

TColor TcxContainerStyle::ParentControlColor(bool AInplaceToo) const {
  TcxContainer* container = FParentStyle ? nullptr : Container();
  if (!container || !container->ParentColor() || !container->Parent()) return clDefault;
  if (!AInplaceToo && container->IsInplace()) return clDefault;
  return container->Parent()->Color();
}

void TcxContainerStyle::SetColor(TColor AValue) { SetValue(svColor, StyleData.Color, AValue); }

TColor TcxContainerStyle::DefaultColor() const {
  const bool parentColored = IsParentColored();
  if (!FParentStyle) return parentColored ? clBtnFace : clWindow;
  if (FState == csDisabled && !parentColored) return clBtnFace;
  return FParentStyle->Color();
}

TcxBorders TcxContainerStyle::Edges() const {
  if (FDirectAccessMode) return {};
  if (FParentStyle) return FParentStyle->Edges();
  if (const TcxContainerStyle* style = AssigningStyle(svEdges)) return style->FEdges;
  return DefaultEdges();
}

void TcxContainerStyle::SetEdges(TcxBorders AValue) {
  if (FParentStyle) return FParentStyle->SetEdges(AValue);
  SetValue(svEdges, FEdges, AValue);
}

TFont* TcxContainerStyle::Font() const {
  if (FDirectAccessMode) return StyleData.Font;
  return FParentStyle ? FParentStyle->Font() : FFont.get();
}

void TcxContainerStyle::SetFont(TFont* AValue) {
  if (FDirectAccessMode) {
    StyleData.Font = AValue;
    return;
  }
  if (FParentStyle) return FParentStyle->SetFont(AValue);
  FFont->Assign(AValue);
  // A copy equal to the current font changes nothing, yet counts as assigned.
  if (!FAssignedValues.Contains(svFont)) {
    FAssignedValues.Include(svFont);
    Changed();
  }
}

void TcxContainerStyle::FontChanged(TObject*) {
  if (FFontAssignedValueLockCount == 0) FAssignedValues.Include(svFont);
  Changed();
}

void TcxContainerStyle::UpdateFont() {
  if (FDirectAccessMode || FParentStyle || !FFont || FAssignedValues.Contains(svFont)) return;
  TFontLock lock(this);
  if (const TcxContainerStyle* style = AssigningStyle(svFont)) {
    FFont->Assign(style->Font());
    const TdxScaleFactor* target = OwnerScaleFactor();
    if (TcxStyleController* controller = ActiveStyleController(); controller && target)
      FFont->SetHeight(MulDiv(FFont->Height(), target->Numerator() * controller->ScaleFactor()->Denominator(),
                              target->Denominator() * controller->ScaleFactor()->Numerator()));
    return;
  }
  if (TcxContainer* container = Container(); container && container->ParentFont()) {
    FFont->Assign(container->Font());
    return;
  }
  AssignDefaultFont(FFont.get(), OwnerScaleFactor());
}

void TcxContainerStyle::TakeFont(TFont* AFont) {
  if (!FFont) return;
  {
    TFontLock lock(this);
    const TNotifyEvent onChanged = FOnChanged;
    FOnChanged = nullptr;
    FFont->Assign(AFont);
    FOnChanged = onChanged;
  }
  FAssignedValues.Include(svFont);
}

const TdxScaleFactor* TcxContainerStyle::OwnerScaleFactor() const {
  if (auto* controller = dynamic_cast<TcxScalableComponent*>(Owner())) return controller->ScaleFactor();
  if (auto* control = dynamic_cast<TcxCustomControl*>(Owner())) return control->GetScaleFactor();
  return nullptr;
}

bool TcxContainerStyle::HotTrack() const {
  if (FDirectAccessMode) return FAssignedValues.Contains(svHotTrack) ? FHotTrack : DefaultHotTrack();
  if (FParentStyle) return FParentStyle->HotTrack();
  if (const TcxContainerStyle* style = AssigningStyle(svHotTrack)) return style->FHotTrack;
  return DefaultHotTrack();
}

void TcxContainerStyle::SetHotTrack(bool AValue) {
  if (FParentStyle) return FParentStyle->SetHotTrack(AValue);
  SetValue(svHotTrack, FHotTrack, AValue);
}

TcxLookAndFeel* TcxContainerStyle::LookAndFeel() const {
  return FParentStyle ? FParentStyle->LookAndFeel() : FLookAndFeel.get();
}

void TcxContainerStyle::SetLookAndFeel(TcxLookAndFeel* AValue) { LookAndFeel()->Assign(AValue); }

void TcxContainerStyle::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); }

bool TcxContainerStyle::Shadow() const {
  if (FDirectAccessMode) return false;
  if (FParentStyle) return FParentStyle->Shadow();
  if (const TcxContainerStyle* style = AssigningStyle(svShadow)) return style->FShadow;
  return DefaultShadow();
}

void TcxContainerStyle::SetShadow(bool AValue) {
  if (FParentStyle) return FParentStyle->SetShadow(AValue);
  SetValue(svShadow, FShadow, AValue);
}

TColor TcxContainerStyle::TextColor() const {
  if (FDirectAccessMode) return StyleData.FontColor;
  if (const TcxContainerStyle* style = AssigningStyle(svTextColor)) return style->StyleData.FontColor;
  return DefaultStyleTextColor();
}

void TcxContainerStyle::SetTextColor(TColor AValue) {
  if (FAssignedValues.Contains(svTextColor) && TextColor() == AValue) return;
  StyleData.FontColor = AValue;
  FAssignedValues.Include(svTextColor);
  Changed();
}

TColor TcxContainerStyle::DefaultStyleTextColor() const {
  if (FState == csDisabled) return DefaultDisabledTextColor();
  return FParentStyle ? FParentStyle->TextColor() : Font()->Color();
}

TFontStyles TcxContainerStyle::TextStyle() const {
  if (FDirectAccessMode) return StyleData.Font ? StyleData.Font->Style() : TFontStyles();
  if (const TcxContainerStyle* style = AssigningStyle(svTextStyle)) return style->FTextStyle;
  return DefaultTextStyle();
}

void TcxContainerStyle::SetTextStyle(TFontStyles AValue) {
  if (FAssignedValues.Contains(svTextStyle) && TextStyle() == AValue) return;
  FTextStyle = AValue;
  FAssignedValues.Include(svTextStyle);
  Changed();
}

TFontStyles TcxContainerStyle::DefaultTextStyle() const {
  return FParentStyle ? FParentStyle->TextStyle() : Font()->Style();
}

bool TcxContainerStyle::TransparentBorder() const {
  if (FDirectAccessMode) return true;
  if (FParentStyle) return FParentStyle->TransparentBorder();
  if (const TcxContainerStyle* style = AssigningStyle(svTransparentBorder)) return style->FTransparentBorder;
  return DefaultTransparentBorder();
}

void TcxContainerStyle::SetTransparentBorder(bool AValue) {
  if (FParentStyle) return FParentStyle->SetTransparentBorder(AValue);
  SetValue(svTransparentBorder, FTransparentBorder, AValue);
}

// ---------------------------------------------------------------------------
// The controller link

TcxStyleController* TcxContainerStyle::GetDefaultStyleController() const { return ::GetDefaultStyleController(); }

TcxStyleController* TcxContainerStyle::ActiveStyleController() const {
  return FParentStyle ? FParentStyle->ActiveStyleController() : FStyleController;
}

TcxStyleController* TcxContainerStyle::StyleController() const {
  if (FParentStyle) return FParentStyle->StyleController();
  return FStyleController == GetDefaultStyleController() ? nullptr : FStyleController;
}

void TcxContainerStyle::SetStyleController(TcxStyleController* AValue) {
  if (FParentStyle) return FParentStyle->SetStyleController(AValue);
  TcxStyleController* defaultController = GetDefaultStyleController();
  if (defaultController && defaultController == Owner()) return;
  if (!AValue) AValue = defaultController;
  // Refuse a controller whose chain of normal styles leads back here.
  for (TcxStyleController* controller = AValue; controller; controller = controller->Style()->FStyleController)
    if (controller->Style() == this) return;
  if (AValue == FStyleController) return;
  LinkController(AValue);
  ControllerChanged();
}

void TcxContainerStyle::LinkController(TcxStyleController* AValue) {
  if (FStyleController) FStyleController->RemoveListener(this);
  FStyleController = AValue;
  if (FStyleController) FStyleController->AddListener(this);
}

void TcxContainerStyle::ControllerChanged() {
  UpdateFont();
  Changed();
}

void TcxContainerStyle::ControllerFreeNotification(TcxStyleController* AController) {
  if (AController != FStyleController) return;
  // The default controller going away leaves the style on its own values.
  TcxStyleController* next = GetDefaultStyleController();
  LinkController(next == AController ? nullptr : next);
  ControllerChanged();
}

// ---------------------------------------------------------------------------
// TcxContainerStyles

void TcxContainerStyles::Create(TPersistent* AOwner, TcxContainerStyleClass AStyleClass) {
  if (!AStyleClass) AStyleClass = TcxContainerStyle::ClassInfo();
  FStyles[csNormal].reset(NewOfClass<TcxContainerStyle>(AStyleClass, AOwner, false, nullptr, csNormal));
  for (TcxContainerStateItem state : {csActive, csDisabled, csHotTrack})
    FStyles[state].reset(NewOfClass<TcxContainerStyle>(AStyleClass, AOwner, false, FStyles[csNormal].get(), state));
}

void TcxContainerStyles::Destroy() {
  for (TcxContainerStateItem state : {csHotTrack, csDisabled, csActive, csNormal}) FStyles[state].reset();
  inherited::Destroy();
}

void TcxContainerStyles::RestoreDefaults() {
  for (auto& style : FStyles) style->RestoreDefaults();
}

void TcxContainerStyles::SetOnChanged(TNotifyEvent AValue) {
  for (auto& style : FStyles) style->SetOnChanged(AValue);
}

// ---------------------------------------------------------------------------
// TcxStyleController

void TcxStyleController::Publish(TPublisher<TcxStyleController>& P) {
  using C = TcxStyleController;
  P.Property(L"FakeStyleController", &C::FakeStyleController, &C::SetFakeStyleController).Stored(false);
  P.Property(L"Style", &C::Style, &C::SetStyle);
  P.Property(L"StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property(L"StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property(L"StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property(L"OnStyleChanged", &C::OnStyleChanged, &C::SetOnStyleChanged);
}

void TcxStyleController::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FStyles.reset(NewOfClass<TcxContainerStyles>(GetStylesClass(), this, GetStyleClass()));
  FStyles->SetOnChanged(BindEvent<&TcxStyleController::Changed>(this));
}

void TcxStyleController::Destroy() {
  FIsDestruction = true;
  // Each notification relinks (and so removes) one listener.
  const std::vector<TcxContainerStyle*> listeners = FListeners;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) (*it)->ControllerFreeNotification(this);
  FStyles.reset();
  FListeners.clear();
  inherited::Destroy();
}

void TcxStyleController::Loaded() {
  inherited::Loaded();
  Changed();
}

void TcxStyleController::ChangeScaleFactor(int ANumerator, int ADenominator) {
  inherited::ChangeScaleFactor(ANumerator, ADenominator);
  for (TcxContainerStateItem state : {csNormal, csActive, csDisabled, csHotTrack}) {
    TcxContainerStyle* style = GetInternalStyle(state);
    if (style->AssignedValues().Contains(svFont))
      style->Font()->SetHeight(MulDiv(style->Font()->Height(), ANumerator, ADenominator));
  }
}

void TcxStyleController::AddListener(TcxContainerStyle* AStyle) {
  if (std::find(FListeners.begin(), FListeners.end(), AStyle) != FListeners.end()) return;
  FListeners.push_back(AStyle);
  AStyle->LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
}

void TcxStyleController::RemoveListener(TcxContainerStyle* AStyle) {
  const auto it = std::find(FListeners.begin(), FListeners.end(), AStyle);
  if (it == FListeners.end()) return;
  FListeners.erase(it);
  if (TcxLookAndFeel* lookAndFeel = AStyle->LookAndFeel()) lookAndFeel->SetMasterLookAndFeel(nullptr);
}

TcxContainerStyleClass TcxStyleController::GetStyleClass() const { return TcxContainerStyle::ClassInfo(); }

TClass TcxStyleController::GetStylesClass() const { return TcxContainerStyles::ClassInfo(); }

void TcxStyleController::Changed(TObject*) {
  CallEvent(FOnStyleChanged, this);
  if (FIsDestruction) return;
  const std::vector<TcxContainerStyle*> listeners = FListeners;
  for (TcxContainerStyle* style : listeners) style->ControllerChanged();
}
