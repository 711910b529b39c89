// RzCommon: the frame controller and the reader of obsolete stored properties.
#include "components/settings/RzCommon.h"

#include "platform/classes/Filer.h"

#include <algorithm>

TRzFrameControllerNotifications AllFrameControllerNotifications() {
  TRzFrameControllerNotifications result;
  for (int i = fcpColor; i <= fcpFramingPreference; ++i) result.Include(static_cast<TRzFrameControllerProperty>(i));
  return result;
}

// ---------------------------------------------------------------------------
// TRzFrameController

void TRzFrameController::Publish(TPublisher<TRzFrameController>& P) {
  P.Property(L"Color", &TRzFrameController::Color, &TRzFrameController::SetColor)
      .Stored(&TRzFrameController::IsColorStored)
      .Default(clWindow);
  P.Property(L"ParentColor", &TRzFrameController::ParentColor, &TRzFrameController::SetParentColor).Default(false);
  P.Property(L"FlatButtonColor", &TRzFrameController::FlatButtonColor, &TRzFrameController::SetFlatButtonColor)
      .Default(clBtnFace);
  P.Property(L"FlatButtons", &TRzFrameController::FlatButtons, &TRzFrameController::SetFlatButtons).Default(true);
  P.Property(L"DisabledColor", &TRzFrameController::DisabledColor, &TRzFrameController::SetDisabledColor)
      .Default(clBtnFace);
  P.Property(L"ReadOnlyColor", &TRzFrameController::ReadOnlyColor, &TRzFrameController::SetReadOnlyColor)
      .Default(clInfoBk);
  P.Property(L"ReadOnlyColorOnFocus", &TRzFrameController::ReadOnlyColorOnFocus,
             &TRzFrameController::SetReadOnlyColorOnFocus)
      .Default(false);
  P.Property(L"FocusColor", &TRzFrameController::FocusColor, &TRzFrameController::SetFocusColor).Default(clWindow);
  P.Property(L"FrameColor", &TRzFrameController::FrameColor, &TRzFrameController::SetFrameColor)
      .Default(clBtnShadow);
  P.Property(L"FrameHotColor", &TRzFrameController::FrameHotColor, &TRzFrameController::SetFrameHotColor)
      .Default(clBtnShadow);
  P.Property(L"FrameHotTrack", &TRzFrameController::FrameHotTrack, &TRzFrameController::SetFrameHotTrack)
      .Default(false);
  P.Property(L"FrameHotStyle", &TRzFrameController::FrameHotStyle, &TRzFrameController::SetFrameHotStyle)
      .Default(fsFlatBold);
  P.Property(L"FrameSides", &TRzFrameController::FrameSides, &TRzFrameController::SetFrameSides)
      .Default(sdAllSides);
  P.Property(L"FrameStyle", &TRzFrameController::FrameStyle, &TRzFrameController::SetFrameStyle).Default(fsFlat);
  P.Property(L"FrameVisible", &TRzFrameController::FrameVisible, &TRzFrameController::SetFrameVisible)
      .Default(false);
  P.Property(L"FramingPreference", &TRzFrameController::FramingPreference,
             &TRzFrameController::SetFramingPreference)
      .Default(fpXPThemes);
  P.Property(L"RegIniFile", &TRzFrameController::RegIniFile, &TRzFrameController::SetRegIniFile);
}

void TRzFrameController::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FColor = clWindow;
  FFlatButtonColor = clBtnFace;
  FFlatButtons = true;
  FDisabledColor = clBtnFace;
  FReadOnlyColor = clInfoBk;
  FFocusColor = clWindow;
  FFrameColor = clBtnShadow;
  FFrameHotColor = clBtnShadow;
  FFrameHotStyle = fsFlatBold;
  FFrameSides = sdAllSides;
  FFrameStyle = fsFlat;
  FFramingPreference = fpXPThemes;
}

void TRzFrameController::Destroy() {
  for (TControl* control : FControls) control->RemoveFreeNotification(this);
  FControls.clear();
  inherited::Destroy();
}

void TRzFrameController::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TRzFrameController*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  WithUpdate(this, [&] {
    SetColor(source->FColor);
    SetParentColor(source->FParentColor);
    SetFlatButtonColor(source->FFlatButtonColor);
    SetFlatButtons(source->FFlatButtons);
    SetDisabledColor(source->FDisabledColor);
    SetReadOnlyColor(source->FReadOnlyColor);
    SetReadOnlyColorOnFocus(source->FReadOnlyColorOnFocus);
    SetFocusColor(source->FFocusColor);
    SetFrameColor(source->FFrameColor);
    SetFrameHotColor(source->FFrameHotColor);
    SetFrameHotTrack(source->FFrameHotTrack);
    SetFrameHotStyle(source->FFrameHotStyle);
    SetFrameSides(source->FFrameSides);
    SetFrameStyle(source->FFrameStyle);
    SetFrameVisible(source->FFrameVisible);
    SetFramingPreference(source->FFramingPreference);
  });
}

void TRzFrameController::AddControl(TControl* AControl) {
  if (!AControl || std::find(FControls.begin(), FControls.end(), AControl) != FControls.end()) return;
  FControls.push_back(AControl);
  AControl->FreeNotification(this);
  UpdateControl(AControl, fcpAll);
}

void TRzFrameController::RemoveControl(TControl* AControl) {
  const auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  FControls.erase(it);
  AControl->RemoveFreeNotification(this);
}

void TRzFrameController::EndUpdate() {
  if (--FUpdateCount > 0) return;
  FUpdateCount = 0;
  NotifyControls(fcpAll);
}

void TRzFrameController::NotifyControls(TRzFrameControllerProperty AProperty) {
  if (FUpdateCount > 0) return;
  // A copy: a control may leave the controller while it is updated.
  const std::vector<TControl*> controls = FControls;
  for (TControl* control : controls)
    if (std::find(FControls.begin(), FControls.end(), control) != FControls.end()) UpdateControl(control, AProperty);
}

void TRzFrameController::SetControlProperty(TControl* AControl, const wchar_t* AName,
                                            TRzFrameControllerProperty AProperty) {
  const TPropInfo* prop = GetPropInfo(AControl, AName);
  if (!prop || !prop->SetOrd || !prop->GetOrd) return;
  std::int64_t value = 0;
  switch (AProperty) {
    case fcpColor: value = FColor; break;
    case fcpFocusColor: value = FFocusColor; break;
    case fcpDisabledColor: value = FDisabledColor; break;
    case fcpReadOnlyColor: value = FReadOnlyColor; break;
    case fcpReadOnlyColorOnFocus: value = FReadOnlyColorOnFocus; break;
    case fcpParentColor: value = FParentColor; break;
    case fcpFlatButtonColor: value = FFlatButtonColor; break;
    case fcpFlatButtons: value = FFlatButtons; break;
    case fcpFrameColor: value = FFrameColor; break;
    case fcpFrameHotColor: value = FFrameHotColor; break;
    case fcpFrameHotTrack: value = FFrameHotTrack; break;
    case fcpFrameHotStyle: value = FFrameHotStyle; break;
    case fcpFrameStyle: value = FFrameStyle; break;
    case fcpFrameVisible: value = FFrameVisible; break;
    case fcpFramingPreference: value = FFramingPreference; break;
    case fcpFrameSides:
      // Sides travel as their text: the control's set type may differ.
      if (prop->Kind() == tkSet)
        SetSetProp(AControl, prop, SetToString(TypeInfoOf<TSides>(), FFrameSides.ToBits(), false));
      return;
    default: return;
  }
  if (prop->Kind() == tkSet) return;
  SetOrdProp(AControl, prop, value);
}

void TRzFrameController::UpdateControl(TControl* AControl, TRzFrameControllerProperty AProperty) {
  if (!AControl) return;
  if (auto* notification = SupportsRaw<IRzCustomFramingNotification>(AControl)) {
    notification->CustomFramingChanged();
    return;
  }
  TRzFrameControllerNotifications takes = AllFrameControllerNotifications();
  if (const TPropInfo* prop = GetPropInfo(AControl, L"FrameControllerNotifications");
      prop && prop->Kind() == tkSet && prop->GetOrd)
    takes = TRzFrameControllerNotifications::FromBits(static_cast<std::uint64_t>(GetOrdProp(AControl, prop)));
  struct TEntry {
    TRzFrameControllerProperty Property;
    const wchar_t* Name;
  };
  // The order in which a full update sets them.
  static constexpr TEntry all[] = {
      {fcpParentColor, L"ParentColor"},       {fcpColor, L"Color"},
      {fcpDisabledColor, L"DisabledColor"},   {fcpReadOnlyColor, L"ReadOnlyColor"},
      {fcpReadOnlyColorOnFocus, L"ReadOnlyColorOnFocus"}, {fcpFocusColor, L"FocusColor"},
      {fcpFlatButtonColor, L"FlatButtonColor"}, {fcpFlatButtons, L"FlatButtons"},
      {fcpFrameColor, L"FrameColor"},         {fcpFrameHotColor, L"FrameHotColor"},
      {fcpFrameHotTrack, L"FrameHotTrack"},   {fcpFrameHotStyle, L"FrameHotStyle"},
      {fcpFrameSides, L"FrameSides"},         {fcpFrameStyle, L"FrameStyle"},
      {fcpFrameVisible, L"FrameVisible"},     {fcpFramingPreference, L"FramingPreference"}};
  for (const TEntry& entry : all) {
    if (AProperty != fcpAll && AProperty != entry.Property) continue;
    if (!takes.Contains(entry.Property)) continue;
    // A full update leaves the colour to the parent while ParentColor is on.
    if (AProperty == fcpAll && entry.Property == fcpColor && FParentColor) continue;
    SetControlProperty(AControl, entry.Name, entry.Property);
  }
}

void TRzFrameController::Loaded() {
  inherited::Loaded();
  NotifyControls(fcpAll);
}

void TRzFrameController::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  const auto it = std::find(FControls.begin(), FControls.end(), AComponent);
  if (it != FControls.end()) FControls.erase(it);
}

void TRzFrameController::SetColor(TColor AValue) {
  if (FColor == AValue) return;
  const bool focusFollows = FFocusColor == FColor;
  if (focusFollows) FFocusColor = AValue;
  FColor = AValue;
  FParentColor = false;
  NotifyControls(fcpColor);
  if (focusFollows) NotifyControls(fcpFocusColor);
}

void TRzFrameController::SetParentColor(bool AValue) {
  if (FParentColor == AValue) return;
  FParentColor = AValue;
  NotifyControls(fcpParentColor);
  if (!AValue) NotifyControls(fcpColor);
}

void TRzFrameController::SetFlatButtonColor(TColor AValue) {
  if (FFlatButtonColor == AValue) return;
  FFlatButtonColor = AValue;
  NotifyControls(fcpFlatButtonColor);
}

void TRzFrameController::SetFlatButtons(bool AValue) {
  if (FFlatButtons == AValue) return;
  FFlatButtons = AValue;
  NotifyControls(fcpFlatButtons);
}

void TRzFrameController::SetDisabledColor(TColor AValue) {
  if (FDisabledColor == AValue) return;
  FDisabledColor = AValue;
  NotifyControls(fcpDisabledColor);
}

void TRzFrameController::SetReadOnlyColor(TColor AValue) {
  if (FReadOnlyColor == AValue) return;
  FReadOnlyColor = AValue;
  NotifyControls(fcpReadOnlyColor);
}

void TRzFrameController::SetReadOnlyColorOnFocus(bool AValue) {
  if (FReadOnlyColorOnFocus == AValue) return;
  FReadOnlyColorOnFocus = AValue;
  NotifyControls(fcpReadOnlyColorOnFocus);
}

void TRzFrameController::SetFocusColor(TColor AValue) {
  if (FFocusColor == AValue) return;
  FFocusColor = AValue;
  NotifyControls(fcpFocusColor);
}

void TRzFrameController::SetFrameColor(TColor AValue) {
  if (FFrameColor == AValue) return;
  FFrameColor = AValue;
  NotifyControls(fcpFrameColor);
}

void TRzFrameController::SetFrameHotColor(TColor AValue) {
  if (FFrameHotColor == AValue) return;
  FFrameHotColor = AValue;
  NotifyControls(fcpFrameHotColor);
}

void TRzFrameController::SetFrameHotTrack(bool AValue) {
  if (FFrameHotTrack == AValue) return;
  FFrameHotTrack = AValue;
  if (AValue) {
    FFrameVisible = true;
    if (!ComponentState().Contains(csLoading)) FFrameSides = sdAllSides;
  }
  NotifyControls(fcpFrameHotTrack);
  if (AValue) {
    NotifyControls(fcpFrameVisible);
    NotifyControls(fcpFrameSides);
  }
}

void TRzFrameController::SetFrameHotStyle(TFrameStyle AValue) {
  if (FFrameHotStyle == AValue) return;
  FFrameHotStyle = AValue;
  NotifyControls(fcpFrameHotStyle);
}

void TRzFrameController::SetFrameSides(TSides AValue) {
  if (FFrameSides == AValue) return;
  FFrameSides = AValue;
  NotifyControls(fcpFrameSides);
}

void TRzFrameController::SetFrameStyle(TFrameStyle AValue) {
  if (FFrameStyle == AValue) return;
  FFrameStyle = AValue;
  NotifyControls(fcpFrameStyle);
}

void TRzFrameController::SetFrameVisible(bool AValue) {
  if (FFrameVisible == AValue) return;
  FFrameVisible = AValue;
  NotifyControls(fcpFrameVisible);
}

void TRzFrameController::SetFramingPreference(TFramingPreference AValue) {
  if (FFramingPreference == AValue) return;
  FFramingPreference = AValue;
  NotifyControls(fcpFramingPreference);
}

void TRzFrameController::SetRegIniFile(TRzRegIniFile* AValue) {
  if (FRegIniFile == AValue) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = AValue;
  if (FRegIniFile) FRegIniFile->FreeNotification(this);
}

void TRzFrameController::Save(const String& ASection) {
  if (!FRegIniFile)
    throw ENoRegIniFile(L"Cannot save Custom Framing settings--No TRzRegIniFile component specified");
  TRzRegIniFile* ini = FRegIniFile;
  ini->WriteInteger(ASection, L"Color", FColor);
  ini->WriteInteger(ASection, L"FlatButtonColor", FFlatButtonColor);
  ini->WriteBool(ASection, L"FlatButtons", FFlatButtons);
  ini->WriteInteger(ASection, L"DisabledColor", FDisabledColor);
  ini->WriteInteger(ASection, L"ReadOnlyColor", FReadOnlyColor);
  ini->WriteBool(ASection, L"ReadOnlyColorOnFocus", FReadOnlyColorOnFocus);
  ini->WriteInteger(ASection, L"FocusColor", FFocusColor);
  ini->WriteInteger(ASection, L"FrameColor", FFrameColor);
  ini->WriteInteger(ASection, L"FrameHotColor", FFrameHotColor);
  ini->WriteInteger(ASection, L"FrameHotStyle", FFrameHotStyle);
  ini->WriteBool(ASection, L"FrameHotTrack", FFrameHotTrack);
  ini->WriteBool(ASection, L"FrameSides_Left", FFrameSides.Contains(sdLeft));
  ini->WriteBool(ASection, L"FrameSides_Top", FFrameSides.Contains(sdTop));
  ini->WriteBool(ASection, L"FrameSides_Right", FFrameSides.Contains(sdRight));
  ini->WriteBool(ASection, L"FrameSides_Bottom", FFrameSides.Contains(sdBottom));
  ini->WriteInteger(ASection, L"FrameStyle", FFrameStyle);
  ini->WriteBool(ASection, L"FrameVisible", FFrameVisible);
  ini->WriteInteger(ASection, L"FramingPreference", FFramingPreference);
}

void TRzFrameController::Load(const String& ASection) {
  if (!FRegIniFile)
    throw ENoRegIniFile(L"Cannot load Custom Framing settings--No TRzRegIniFile component specified");
  TRzRegIniFile* ini = FRegIniFile;
  // A stored style outside the frame styles reads as the default.
  auto style = [&](const wchar_t* AName, TFrameStyle ADefault) {
    const int value = ini->ReadInteger(ASection, AName, ADefault);
    return value >= fsNone && value <= fsFlatBold ? static_cast<TFrameStyle>(value) : ADefault;
  };
  WithUpdate(this, [&] {
    SetColor(TColor(ini->ReadInteger(ASection, L"Color", clWindow)));
    SetFlatButtonColor(TColor(ini->ReadInteger(ASection, L"FlatButtonColor", clBtnFace)));
    SetFlatButtons(ini->ReadBool(ASection, L"FlatButtons", true));
    SetDisabledColor(TColor(ini->ReadInteger(ASection, L"DisabledColor", clWindow)));
    SetReadOnlyColor(TColor(ini->ReadInteger(ASection, L"ReadOnlyColor", clInfoBk)));
    SetReadOnlyColorOnFocus(ini->ReadBool(ASection, L"ReadOnlyColorOnFocus", false));
    SetFocusColor(TColor(ini->ReadInteger(ASection, L"FocusColor", clWindow)));
    SetFrameColor(TColor(ini->ReadInteger(ASection, L"FrameColor", clBtnShadow)));
    SetFrameHotColor(TColor(ini->ReadInteger(ASection, L"FrameHotColor", clBtnShadow)));
    SetFrameHotStyle(style(L"FrameHotStyle", fsFlatBold));
    SetFrameHotTrack(ini->ReadBool(ASection, L"FrameHotTrack", false));
    TSides sides;
    if (ini->ReadBool(ASection, L"FrameSides_Left", true)) sides.Include(sdLeft);
    if (ini->ReadBool(ASection, L"FrameSides_Top", true)) sides.Include(sdTop);
    if (ini->ReadBool(ASection, L"FrameSides_Right", true)) sides.Include(sdRight);
    if (ini->ReadBool(ASection, L"FrameSides_Bottom", true)) sides.Include(sdBottom);
    SetFrameSides(sides);
    SetFrameStyle(style(L"FrameStyle", fsFlat));
    SetFrameVisible(ini->ReadBool(ASection, L"FrameVisible", false));
    const int preference = ini->ReadInteger(ASection, L"FramingPreference", fpXPThemes);
    SetFramingPreference(preference == fpCustomFraming ? fpCustomFraming : fpXPThemes);
  });
}

void TRzFrameController::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(L"FrameFlat", [this](TReader* AReader) { ReadFrameFlat(AReader); }, nullptr, false);
  AFiler->DefineProperty(L"FrameFocusStyle", [this](TReader* AReader) { ReadFrameFocusStyle(AReader); }, nullptr,
                         false);
  AFiler->DefineProperty(L"FrameFlatStyle", &TRzOldPropReader::ReadOldEnumProp, &TRzOldPropReader::WriteOldProp,
                         false);
}

void TRzFrameController::ReadFrameFlat(TReader* AReader) {
  const bool flat = AReader->ReadBoolean();
  SetFrameHotTrack(flat);
  if (flat) {
    SetFrameStyle(fsStatus);
    SetFrameHotStyle(fsLowered);
  }
}

void TRzFrameController::ReadFrameFocusStyle(TReader* AReader) {
  const String ident = AReader->ReadIdent();
  const std::int64_t value = GetEnumValue(TypeInfoOf<TFrameStyleEx>(), ident);
  if (value < fsNone || value > fsFlatBold) throw EReadError(L"Ungültiges Eigenschaftselement: %s", {ident});
  SetFrameHotStyle(static_cast<TFrameStyle>(value));
}

// ---------------------------------------------------------------------------
// TRzOldPropReader

void TRzOldPropReader::ReadOldBooleanProp(TReader* AReader) { AReader->ReadBoolean(); }
void TRzOldPropReader::ReadOldEnumProp(TReader* AReader) { AReader->ReadIdent(); }
void TRzOldPropReader::ReadOldIdentProp(TReader* AReader) { AReader->ReadIdent(); }
void TRzOldPropReader::ReadOldIntegerProp(TReader* AReader) { AReader->ReadInteger(); }
void TRzOldPropReader::ReadOldSetProp(TReader* AReader) { AReader->ReadSet(); }
void TRzOldPropReader::ReadOldStringProp(TReader* AReader) { AReader->ReadString(); }
