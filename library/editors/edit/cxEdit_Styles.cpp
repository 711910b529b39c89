// The editor styles, their controller, the styles of controls outside the
// container and the content alignment.
#include "library/editors/edit/cxEdit.h"

#include "library/editors/edit/cxEdit_Internal.h"
#include "platform/runtime/SysUtils.h"

#include <array>

namespace {

constexpr std::array<const wchar_t*, cxEditStyleValueCount - 10> EditStyleValueNames = {
    L"ButtonStyle", L"ButtonTransparency", L"PopupBorderStyle", L"GradientButtons", L"Gradient", L"GradientDirection"};

bool IsEditStyleValue(TcxContainerStyleValue AValue) { return AValue >= svButtonStyle; }

TOwned<TcxEditStyleController> GDefaultEditStyleController;

}  // namespace

TcxEditStyleController* DefaultEditStyleController() { return GDefaultEditStyleController.get(); }

void CreateDefaultEditStyleController() {
  if (GDefaultEditStyleController) return;
  GDefaultEditStyleController.reset(New<TcxEditStyleController>(nullptr));
  SetDefaultStyleController(GDefaultEditStyleController.get());
}

void FreeDefaultEditStyleController() {
  if (!GDefaultEditStyleController) return;
  // Cleared first, so that the styles it lets go do not link to it again.
  SetDefaultStyleController(nullptr);
  GDefaultEditStyleController.reset();
}

// ---------------------------------------------------------------------------
// TcxCustomEditStyle

void TcxCustomEditStyle::Publish(TPublisher<TcxCustomEditStyle>& P) {
  using S = TcxCustomEditStyle;
  P.Property(L"BorderStyle", &S::BorderStyle, &S::SetBorderStyle).Stored(&S::IsStored<svBorderStyle>);
  P.Property(L"ButtonStyle", &S::ButtonStyle, &S::SetButtonStyle).Stored(&S::IsStored<svButtonStyle>);
  P.Property(L"ButtonTransparency", &S::ButtonTransparency, &S::SetButtonTransparency)
      .Stored(&S::IsStored<svButtonTransparency>);
  P.Property(L"Gradient", &S::Gradient, &S::SetGradient).Stored(&S::IsStored<svGradient>);
  P.Property(L"GradientDirection", &S::GradientDirection, &S::SetGradientDirection)
      .Stored(&S::IsStored<svGradientDirection>);
  P.Property(L"PopupBorderStyle", &S::PopupBorderStyle, &S::SetPopupBorderStyle)
      .Stored(&S::IsStored<svPopupBorderStyle>);
  P.Property(L"StyleController", &S::StyleController, &S::SetStyleController).Stored(&S::IsStyleControllerStored);
}

void TcxCustomEditStyle::Create(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle,
                                TcxContainerStateItem AState) {
  inherited::Create(AOwner, ADirectAccessMode, AParentStyle, AState);
  FButtonStyle = btsDefault;
  FButtonTransparency = ebtNone;
  FGradientDirection = dirNone;
  FPopupBorderStyle = epbsDefault;
  FPopupCloseButton = true;
}

void TcxCustomEditStyle::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxCustomEditStyle*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  TcxContainerStyleUpdate update(this);
  FButtonStyle = source->FButtonStyle;
  FButtonTransparency = source->FButtonTransparency;
  FGradient = source->FGradient;
  FGradientButtons = source->FGradientButtons;
  FGradientDirection = source->FGradientDirection;
  FPopupBorderStyle = source->FPopupBorderStyle;
  FPopupCloseButton = source->FPopupCloseButton;
  inherited::Assign(ASource);
}

bool TcxCustomEditStyle::IsValueAssigned(TcxContainerStyleValue AValue) const {
  if (!IsEditStyleValue(AValue)) return inherited::IsValueAssigned(AValue);
  return AssigningEditStyle(AValue) != nullptr;
}

bool TcxCustomEditStyle::GetStyleValueName(TcxContainerStyleValue AValue, String& AName) const {
  if (!IsEditStyleValue(AValue)) return inherited::GetStyleValueName(AValue, AName);
  const auto index = static_cast<std::size_t>(AValue - svButtonStyle);
  if (index >= EditStyleValueNames.size()) {
    AName.clear();
    return false;
  }
  AName = EditStyleValueNames[index];
  return true;
}

void TcxCustomEditStyle::Init(const TcxViewParams& AParams) {
  TcxContainerStyleUpdate update(this);
  SetColor(AParams.Color);
  if (AParams.Font) SetFont(AParams.Font);
  SetTextColor(AParams.TextColor);
}

TcxContainerStyleValues TcxCustomEditStyle::ExtendedHiddenValues() const {
  return inherited::ExtendedHiddenValues() +
         TcxContainerStyleValues{svButtonTransparency, svPopupBorderStyle, svGradientButtons, svGradient,
                                 svGradientDirection};
}

const TcxCustomEditStyle* TcxCustomEditStyle::Parent() const {
  return State() == csNormal ? nullptr : static_cast<const TcxCustomEditStyle*>(inherited::BaseStyle());
}

TcxCustomEditStyle* TcxCustomEditStyle::BaseStyle() { return static_cast<TcxCustomEditStyle*>(inherited::BaseStyle()); }

TcxCustomEdit* TcxCustomEditStyle::Edit() const { return dynamic_cast<TcxCustomEdit*>(Owner()); }

TcxEditStyleController* TcxCustomEditStyle::ActiveStyleController() const {
  return dynamic_cast<TcxEditStyleController*>(inherited::ActiveStyleController());
}

TcxEditStyleController* TcxCustomEditStyle::StyleController() const {
  return dynamic_cast<TcxEditStyleController*>(inherited::StyleController());
}

void TcxCustomEditStyle::SetStyleController(TcxEditStyleController* AValue) { inherited::SetStyleController(AValue); }

const TcxCustomEditStyle* TcxCustomEditStyle::AssigningEditStyle(TcxContainerStyleValue AValue) const {
  // A plain controller's styles cannot hold editor values and end the walk;
  // links that would close a cycle are refused, so the walk ends.
  for (const TcxContainerStyle* style = this; style;) {
    const auto* editStyle = dynamic_cast<const TcxCustomEditStyle*>(style);
    if (!editStyle) return nullptr;
    if (editStyle->AssignedValues().Contains(AValue)) return editStyle;
    TcxStyleController* controller = style->ActiveStyleController();
    style = controller ? controller->GetInternalStyle(State()) : nullptr;
  }
  return nullptr;
}

template <class T>
T TcxCustomEditStyle::ReadValue(TcxContainerStyleValue AValue, T TcxCustomEditStyle::*AField,
                                T (TcxCustomEditStyle::*ADefault)() const) const {
  if (DirectAccessMode()) return AssignedValues().Contains(AValue) ? this->*AField : (this->*ADefault)();
  // A state style may hold a copied normal-only value; the normal style's counts.
  if (const TcxCustomEditStyle* parent = Parent(); parent && IsNormalOnlyValue(AValue))
    return parent->ReadValue(AValue, AField, ADefault);
  if (const TcxCustomEditStyle* style = AssigningEditStyle(AValue)) return style->*AField;
  return (this->*ADefault)();
}

template <class T>
void TcxCustomEditStyle::WriteValue(TcxContainerStyleValue AValue, T TcxCustomEditStyle::*AField,
                                    const T& ANewValue) {
  if (State() != csNormal && IsNormalOnlyValue(AValue)) return BaseStyle()->WriteValue(AValue, AField, ANewValue);
  if (AssignedValues().Contains(AValue) && this->*AField == ANewValue) return;
  this->*AField = ANewValue;
  TcxContainerStyleValues assigned = AssignedValues();
  // SetAssignedValues reports the change.
  if (assigned.Contains(AValue)) {
    Changed();
    return;
  }
  SetAssignedValues(assigned.Include(AValue));
}

TcxEditButtonStyle TcxCustomEditStyle::ButtonStyle() const {
  return ReadValue(svButtonStyle, &TcxCustomEditStyle::FButtonStyle, &TcxCustomEditStyle::DefaultButtonStyle);
}

void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle AValue) {
  WriteValue(svButtonStyle, &TcxCustomEditStyle::FButtonStyle, AValue);
}

TcxEditButtonTransparency TcxCustomEditStyle::ButtonTransparency() const {
  return ReadValue(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency,
                   &TcxCustomEditStyle::DefaultButtonTransparency);
}

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency AValue) {
  WriteValue(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency, AValue);
}

bool TcxCustomEditStyle::Gradient() const {
  return ReadValue(svGradient, &TcxCustomEditStyle::FGradient, &TcxCustomEditStyle::DefaultGradient);
}

void TcxCustomEditStyle::SetGradient(bool AValue) { WriteValue(svGradient, &TcxCustomEditStyle::FGradient, AValue); }

bool TcxCustomEditStyle::GradientButtons() const {
  return ReadValue(svGradientButtons, &TcxCustomEditStyle::FGradientButtons,
                   &TcxCustomEditStyle::DefaultGradientButtons);
}

void TcxCustomEditStyle::SetGradientButtons(bool AValue) {
  WriteValue(svGradientButtons, &TcxCustomEditStyle::FGradientButtons, AValue);
}

TcxEditGradientDirection TcxCustomEditStyle::GradientDirection() const {
  return ReadValue(svGradientDirection, &TcxCustomEditStyle::FGradientDirection,
                   &TcxCustomEditStyle::DefaultGradientDirection);
}

void TcxCustomEditStyle::SetGradientDirection(TcxEditGradientDirection AValue) {
  WriteValue(svGradientDirection, &TcxCustomEditStyle::FGradientDirection, AValue);
}

TcxEditPopupBorderStyle TcxCustomEditStyle::PopupBorderStyle() const {
  return ReadValue(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle,
                   &TcxCustomEditStyle::DefaultPopupBorderStyle);
}

void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle AValue) {
  WriteValue(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle, AValue);
}

bool TcxCustomEditStyle::PopupCloseButton() const {
  return Parent() ? Parent()->PopupCloseButton() : FPopupCloseButton;
}

TcxEditButtonStyle TcxCustomEditStyle::DefaultButtonStyle() const {
  return Parent() ? Parent()->ButtonStyle() : btsDefault;
}

TcxEditButtonTransparency TcxCustomEditStyle::DefaultButtonTransparency() const {
  return Parent() ? Parent()->ButtonTransparency() : ebtNone;
}

bool TcxCustomEditStyle::DefaultGradient() const { return Parent() ? Parent()->Gradient() : false; }

bool TcxCustomEditStyle::DefaultGradientButtons() const {
  return Parent() ? Parent()->GradientButtons() : false;
}

TcxEditGradientDirection TcxCustomEditStyle::DefaultGradientDirection() const {
  return Parent() ? Parent()->GradientDirection() : dirDown;
}

TcxEditPopupBorderStyle TcxCustomEditStyle::DefaultPopupBorderStyle() const {
  return Parent() ? Parent()->PopupBorderStyle() : epbsDefault;
}

bool TcxCustomEditStyle::IsEditValueStored(TcxContainerStyleValue AValue) const {
  if (!AssignedValues().Contains(AValue)) return false;
  const bool stateStyle = State() != csNormal;
  // A copied normal-only value is the normal style's to store.
  if (stateStyle && IsNormalOnlyValue(AValue)) return false;
  TcxContainer* container = Container();
  String name;
  return !container || !GetStyleValueName(AValue, name) || container->IsStylePropertyPublished(name, stateStyle);
}

// ---------------------------------------------------------------------------
// TcxEditStyleController

void TcxEditStyleController::Publish(TPublisher<TcxEditStyleController>& P) {
  using C = TcxEditStyleController;
  P.Property(L"Style", &C::Style, &C::SetStyle);
  P.Property(L"StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property(L"StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property(L"StyleHot", &C::StyleHot, &C::SetStyleHot);
}

TcxEditStyle* TcxEditStyleController::GetInternalStyle(TcxContainerStateItem AState) const {
  return static_cast<TcxEditStyle*>(inherited::GetInternalStyle(AState));
}

TcxContainerStyleClass TcxEditStyleController::GetStyleClass() const { return TcxEditStyle::ClassInfo(); }

// ---------------------------------------------------------------------------
// TcxEditAlignment

void TcxEditAlignment::Publish(TPublisher<TcxEditAlignment>& P) {
  P.Property(L"Horz", &TcxEditAlignment::Horz, &TcxEditAlignment::SetHorz).Stored(&TcxEditAlignment::IsHorzStored);
  P.Property(L"Vert", &TcxEditAlignment::Vert, &TcxEditAlignment::SetVert).Stored(&TcxEditAlignment::IsVertStored);
}

void TcxEditAlignment::Create(TPersistent* AOwner, TAlignment ADefaultHorzAlignment,
                              TcxEditVertAlignment ADefaultVertAlignment) {
  FOwner = AOwner;
  FDefaultHorzAlignment = ADefaultHorzAlignment;
  FDefaultVertAlignment = ADefaultVertAlignment;
  FHorz = ADefaultHorzAlignment;
  FVert = ADefaultVertAlignment;
}

void TcxEditAlignment::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxEditAlignment*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  FVert = source->FVert;
  FHorz = source->FHorz;
  FIsHorzAssigned = source->FIsHorzAssigned;
  Changed();
}

void TcxEditAlignment::Reset() {
  FIsHorzAssigned = false;
  Changed();
}

void TcxEditAlignment::SetHorz(TAlignment AValue) {
  if (FIsHorzAssigned && FHorz == AValue) return;
  FIsHorzAssigned = true;
  FHorz = AValue;
  Changed();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment AValue) {
  if (FVert == AValue) return;
  FVert = AValue;
  Changed();
}

// ---------------------------------------------------------------------------
// Caption measuring

TcxCaptionSize cxCaptionSize(TFont* AFont, const String& ACaption) {
  const String text = StringReplace(ACaption, L"&", L"", {});
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), AFont->Handle());
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  return TcxCaptionSize{static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight)};
}
