#include "library/stdctrls/cxButtons.h"

#include "library/controls/control/cxControls.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <windowsx.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxButtonColors

void TcxButtonColors::Publish(TPublisher<TcxButtonColors>& P) {
  // Each colour is stored only while it is assigned.
  P.Property(L"Default", &TcxButtonColors::Default, &TcxButtonColors::SetDefault)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDefault>);
  P.Property(L"DefaultText", &TcxButtonColors::DefaultText, &TcxButtonColors::SetDefaultText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDefaultText>);
  P.Property(L"Disabled", &TcxButtonColors::Disabled, &TcxButtonColors::SetDisabled)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDisabled>);
  P.Property(L"DisabledText", &TcxButtonColors::DisabledText, &TcxButtonColors::SetDisabledText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iDisabledText>);
  P.Property(L"Hot", &TcxButtonColors::Hot, &TcxButtonColors::SetHot)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iHot>);
  P.Property(L"HotText", &TcxButtonColors::HotText, &TcxButtonColors::SetHotText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iHotText>);
  P.Property(L"Normal", &TcxButtonColors::Normal, &TcxButtonColors::SetNormal)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iNormal>);
  P.Property(L"NormalText", &TcxButtonColors::NormalText, &TcxButtonColors::SetNormalText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iNormalText>);
  P.Property(L"Pressed", &TcxButtonColors::Pressed, &TcxButtonColors::SetPressed)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iPressed>);
  P.Property(L"PressedText", &TcxButtonColors::PressedText, &TcxButtonColors::SetPressedText)
      .Stored(&TcxButtonColors::IsStored<TcxButtonColors::iPressedText>);
}

void TcxButtonColors::Create(TcxCustomButton* AButton) {
  FButton = AButton;
  FColors.fill(clDefault);
}

void TcxButtonColors::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxButtonColors*>(ASource)) {
    FColors = source->FColors;
    FAssigned = source->FAssigned;
    FButton->Invalidate();
    return;
  }
  inherited::Assign(ASource);
}

void TcxButtonColors::SetColor(int AIndex, TColor AValue) {
  const auto i = static_cast<std::size_t>(AIndex);
  if (AValue == clNone || AValue == clDefault) {
    FColors[i] = clDefault;
    FAssigned &= ~(1u << AIndex);
  } else {
    if (IsAssigned(AIndex) && FColors[i] == AValue) return;
    FColors[i] = AValue;
    FAssigned |= 1u << AIndex;
  }
  FButton->Invalidate();
}

TColor TcxButtonColors::BackgroundColor(TcxButtonState AState) const {
  static constexpr TIndex indexes[] = {iDefault, iNormal, iHot, iPressed, iDisabled};
  const TIndex index = indexes[AState];
  if (IsAssigned(index)) return Color(index);
  return AState == cxbsNormal ? Default() : Normal();
}

TColor TcxButtonColors::TextColor(TcxButtonState AState) const {
  static constexpr TIndex indexes[] = {iDefaultText, iNormalText, iHotText, iPressedText, iDisabledText};
  const TIndex index = indexes[AState];
  if (IsAssigned(index)) return Color(index);
  return AState == cxbsNormal ? DefaultText() : NormalText();
}

void TcxButtonColors::SetAssignedColors(unsigned AValue) {
  AValue &= (1u << ColorCount) - 1;
  if (!FButton->ComponentState().Contains(csDesigning) || AValue == FAssigned) return;
  for (int i = 0; i < ColorCount; ++i) {
    const unsigned bit = 1u << i;
    if (!(AValue & bit))
      FColors[static_cast<std::size_t>(i)] = clDefault;
    else if (FColors[static_cast<std::size_t>(i)] == clDefault)
      AValue &= ~bit;
  }
  FAssigned = AValue;
  FButton->Invalidate();
}

TPersistent* TcxButtonColors::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
// TcxButtonGlyph

void TcxButtonGlyph::Create(TcxCustomButton* AButton) {
  inherited::Create();
  FButton = AButton;
  FGlyph.reset(New<TdxSmartGlyph>());
  FGlyph->SetOnChange(BindEvent<&TcxButtonGlyph::GlyphChanged>(this));
}

void TcxButtonGlyph::Destroy() {
  FGlyph.reset();
  inherited::Destroy();
}

void TcxButtonGlyph::SetGlyph(TdxSmartGlyph* AValue) {
  FGlyph->Assign(AValue);
  const int width = FGlyph->SourceWidth();
  const int height = FGlyph->SourceHeight();
  const int frames = height > 0 && width % height == 0 ? width / height : 1;
  FNumGlyphs = frames >= 1 && frames < 5 ? frames : 1;
  FButton->Invalidate();
}

void TcxButtonGlyph::SetNumGlyphs(int AValue) {
  AValue = std::clamp(AValue, 1, 4);
  if (FNumGlyphs == AValue) return;
  FNumGlyphs = AValue;
  FButton->Invalidate();
}

void TcxButtonGlyph::GlyphChanged(TObject*) { FButton->Invalidate(); }

// ---------------------------------------------------------------------------
// TcxButtonImageOptions

void TcxButtonImageOptions::Publish(TPublisher<TcxButtonImageOptions>& P) {
  P.Property(L"Glyph", &TcxButtonImageOptions::Glyph, &TcxButtonImageOptions::SetGlyph);
  P.Property(L"ImageIndex", &TcxButtonImageOptions::ImageIndex, &TcxButtonImageOptions::SetImageIndex)
      .Default(-1)
      .Stored(&TcxButtonImageOptions::IsImageIndexStored);
  P.Property(L"Images", &TcxButtonImageOptions::Images, &TcxButtonImageOptions::SetImages);
  P.Property(L"Layout", &TcxButtonImageOptions::Layout, &TcxButtonImageOptions::SetLayout).Default(blGlyphLeft);
  P.Property(L"Margin", &TcxButtonImageOptions::Margin, &TcxButtonImageOptions::SetMargin).Default(-1);
  P.Property(L"NumGlyphs", &TcxButtonImageOptions::NumGlyphs, &TcxButtonImageOptions::SetNumGlyphs).Default(1);
  P.Property(L"Spacing", &TcxButtonImageOptions::Spacing, &TcxButtonImageOptions::SetSpacing).Default(4);
}

void TcxButtonImageOptions::Create(TcxCustomButton* AButton) {
  inherited::Create();
  FButton = AButton;
  FImageChangeLink.reset(New<TChangeLink>());
  FImageChangeLink->SetOnChange(BindEvent<&TcxButtonImageOptions::ImagesChanged>(this));
}

void TcxButtonImageOptions::Destroy() {
  SetImages(nullptr);
  FImageChangeLink.reset();
  inherited::Destroy();
}

void TcxButtonImageOptions::ImagesChanged(TObject*) {
  FButton->ViewInfo()->GlyphCache().Reset();
  Changed();
}

void TcxButtonImageOptions::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxButtonImageOptions*>(ASource)) {
    SetGlyph(source->Glyph());
    SetImageIndex(source->FImageIndex);
    SetImages(source->FImages);
    SetLayout(source->FLayout);
    SetMargin(source->FMargin);
    SetNumGlyphs(source->NumGlyphs());
    SetSpacing(source->FSpacing);
    return;
  }
  inherited::Assign(ASource);
}

TdxSmartGlyph* TcxButtonImageOptions::Glyph() const { return FButton->GlyphHolder()->Glyph(); }

void TcxButtonImageOptions::SetGlyph(TdxSmartGlyph* AValue) { FButton->GlyphHolder()->SetGlyph(AValue); }

int TcxButtonImageOptions::NumGlyphs() const { return FButton->GlyphHolder()->NumGlyphs(); }

void TcxButtonImageOptions::SetNumGlyphs(int AValue) { FButton->GlyphHolder()->SetNumGlyphs(AValue); }

void TcxButtonImageOptions::Changed() { FButton->Invalidate(); }

void TcxButtonImageOptions::SetImages(TCustomImageList* AValue) {
  if (FImages == AValue) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(FButton);
  }
  FImages = AValue;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(FButton);
  }
  Changed();
}

void TcxButtonImageOptions::SetImageIndex(int AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  Changed();
}

void TcxButtonImageOptions::SetLayout(TButtonLayout AValue) {
  if (FLayout == AValue) return;
  FLayout = AValue;
  Changed();
}

void TcxButtonImageOptions::SetMargin(int AValue) {
  if (FMargin == AValue || AValue < -1) return;
  FMargin = AValue;
  Changed();
}

void TcxButtonImageOptions::SetSpacing(int AValue) {
  if (FSpacing == AValue) return;
  FSpacing = AValue;
  Changed();
}

bool TcxButtonImageOptions::IsImageAssigned() const {
  if (FButton->GlyphHolder()->IsLoaded()) return true;
  return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

bool TcxButtonImageOptions::IsImageIndexStored() const { return !FButton->IsImageIndexLinked(); }

TPersistent* TcxButtonImageOptions::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
// TcxSpeedButtonOptions

void TcxSpeedButtonOptions::Publish(TPublisher<TcxSpeedButtonOptions>& P) {
  P.Property(L"AllowAllUp", &TcxSpeedButtonOptions::AllowAllUp, &TcxSpeedButtonOptions::SetAllowAllUp).Default(false);
  P.Property(L"CanBeFocused", &TcxSpeedButtonOptions::CanBeFocused, &TcxSpeedButtonOptions::SetCanBeFocused)
      .Default(true);
  P.Property(L"Down", &TcxSpeedButtonOptions::Down, &TcxSpeedButtonOptions::SetDown)
      .Default(false)
      .Stored(&TcxSpeedButtonOptions::IsDownStored);
  P.Property(L"Flat", &TcxSpeedButtonOptions::Flat, &TcxSpeedButtonOptions::SetFlat).Default(false);
  P.Property(L"GroupIndex", &TcxSpeedButtonOptions::GroupIndex, &TcxSpeedButtonOptions::SetGroupIndex)
      .Default(0)
      .Stored(&TcxSpeedButtonOptions::IsGroupIndexStored);
  P.Property(L"Transparent", &TcxSpeedButtonOptions::Transparent, &TcxSpeedButtonOptions::SetTransparent)
      .Default(false);
}

void TcxSpeedButtonOptions::Create(TcxCustomButton* AButton) { FButton = AButton; }

void TcxSpeedButtonOptions::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxSpeedButtonOptions*>(ASource)) {
    SetGroupIndex(source->FGroupIndex);
    SetAllowAllUp(source->FAllowAllUp);
    SetCanBeFocused(source->FCanBeFocused);
    SetDown(source->Down());
    SetFlat(source->FFlat);
    SetTransparent(source->FTransparent);
    return;
  }
  inherited::Assign(ASource);
}

bool TcxSpeedButtonOptions::Down() const { return FButton->FInternalStates.Contains(bisDown); }

void TcxSpeedButtonOptions::SetDown(bool AValue) {
  if (FButton->Action()) return;
  FButton->SetDownState(AValue);
}

void TcxSpeedButtonOptions::SetAllowAllUp(bool AValue) {
  FAllowAllUp = AValue;
  NotifyGroup();
}

void TcxSpeedButtonOptions::SetCanBeFocused(bool AValue) {
  if (FCanBeFocused == AValue) return;
  FCanBeFocused = AValue;
  NotifyGroup();
  FButton->Invalidate();
}

void TcxSpeedButtonOptions::SetFlat(bool AValue) {
  FFlat = AValue;
  NotifyGroup();
  if (Active()) FButton->Invalidate();
}

void TcxSpeedButtonOptions::SetTransparent(bool AValue) {
  FTransparent = AValue;
  NotifyGroup();
  if (Active()) FButton->Invalidate();
}

void TcxSpeedButtonOptions::SetGroupIndex(int AValue) {
  FGroupIndex = AValue;
  NotifyGroup();
  if (AValue == 0) SetDown(false);
}

bool TcxSpeedButtonOptions::Active() const { return FGroupIndex != 0 || !FCanBeFocused; }

bool TcxSpeedButtonOptions::IsDownStored() const { return !FButton->IsCheckedLinked(); }

bool TcxSpeedButtonOptions::IsGroupIndexStored() const { return !FButton->IsGroupIndexLinked(); }

void TcxSpeedButtonOptions::EndUpdate() {
  --FLockCount;
  NotifyGroup();
}

void TcxSpeedButtonOptions::NotifyGroup() {
  if (FLockCount != 0 || !Active() || FGroupIndex == 0 || !FButton->Parent()) return;
  TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(FButton), 0};
  FButton->Parent()->Broadcast(message);
}

TPersistent* TcxSpeedButtonOptions::GetOwner() { return FButton; }

// ---------------------------------------------------------------------------
// TdxButtonAccessibilityHelper

TcxCustomButton* TdxButtonAccessibilityHelper::Button() const { return static_cast<TcxCustomButton*>(FOwnerObject); }

int TdxButtonAccessibilityHelper::ChildCount() { return Button()->Kind() == cxbkDropDownButton ? 1 : 0; }

void TdxButtonAccessibilityHelper::DoDefaultAction(int AChildID) {
  if (AChildID == CHILDID_SELF)
    Button()->Click();
  else
    Button()->PostDropDownMenu();
}

String TdxButtonAccessibilityHelper::GetDefaultActionDescription(int) { return L"Click"; }

String TdxButtonAccessibilityHelper::GetDescription(int) { return Button()->Description(); }

String TdxButtonAccessibilityHelper::GetName(int AChildID) {
  if (AChildID != CHILDID_SELF) return L"Open";
  const String caption = Button()->Caption();
  return caption.empty() ? Button()->Hint() : caption;
}

HWND TdxButtonAccessibilityHelper::OwnerObjectWindow() { return Button()->Handle(); }

int TdxButtonAccessibilityHelper::GetRole(int AChildID) {
  if (AChildID != CHILDID_SELF) return ROLE_SYSTEM_BUTTONDROPDOWN;
  return Button()->Kind() == cxbkDropDownButton ? ROLE_SYSTEM_SPLITBUTTON : ROLE_SYSTEM_PUSHBUTTON;
}

int TdxButtonAccessibilityHelper::GetState(int AChildID) {
  TcxCustomButton* button = Button();
  int result = button->Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
  if (AChildID != CHILDID_SELF) return result;
  if (button->SpeedButtonOptions()->CanBeFocused()) result |= STATE_SYSTEM_FOCUSABLE;
  if (button->ViewInfo()->State() == cxbsHot) result |= STATE_SYSTEM_HOTTRACKED;
  if (button->Focused()) result |= STATE_SYSTEM_FOCUSED;
  return result;
}

int TdxButtonAccessibilityHelper::GetSupportedProperties(int) {
  return aopDefaultAction | aopDescription | aopFocus | aopLocation;
}

TRect TdxButtonAccessibilityHelper::GetScreenBounds(int AChildID) {
  TcxCustomButton* button = Button();
  TcxButtonViewInfo* viewInfo = button->ViewInfo();
  TRect r = AChildID == CHILDID_SELF ? viewInfo->Bounds() : viewInfo->DropDownButtonRect();
  if (r.IsEmpty() && AChildID == CHILDID_SELF) r = button->ClientRect();
  r.Offset(button->ClientOrigin());
  return r;
}

// ---------------------------------------------------------------------------
// TcxCustomButton

void TcxCustomButton::Publish(TPublisher<TcxCustomButton>& P) {
  P.Property(L"Colors", &TcxCustomButton::Colors, &TcxCustomButton::SetColors);
  P.Property(L"Description", &TcxCustomButton::Description, &TcxCustomButton::SetDescription);
  P.Property(L"DropDownMenu", &TcxCustomButton::DropDownMenu, &TcxCustomButton::SetDropDownMenu);
  P.Property(L"Kind", &TcxCustomButton::Kind, &TcxCustomButton::SetKind).Default(cxbkStandard);
  PublishLookAndFeel(P);
  P.Property(L"OptionsImage", &TcxCustomButton::OptionsImage, &TcxCustomButton::SetOptionsImage);
  P.Property(L"PaintStyle", &TcxCustomButton::PaintStyle, &TcxCustomButton::SetPaintStyle).Default(bpsDefault);
  P.Property(L"PopupAlignment", &TcxCustomButton::PopupAlignment, &TcxCustomButton::SetPopupAlignment)
      .Default(paLeft);
  P.Property(L"RepeatClick", &TcxCustomButton::RepeatClick, &TcxCustomButton::SetRepeatClick).Default(false);
  P.Property(L"SpeedButtonOptions", &TcxCustomButton::SpeedButtonOptions, &TcxCustomButton::SetSpeedButtonOptions);
  P.Property(L"UseSystemPaint", &TcxCustomButton::UseSystemPaint, &TcxCustomButton::SetUseSystemPaint)
      .Default(false);
  P.Message<&TcxCustomButton::CNDrawItem>(CN_DRAWITEM);
  P.Message<&TcxCustomButton::CNCommand>(CN_COMMAND);
  P.Message<&TcxCustomButton::CNMeasureItem>(CN_MEASUREITEM);
  P.Message<&TcxCustomButton::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxCustomButton::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TcxCustomButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TcxCustomButton::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TcxCustomButton::CMButtonPressed>(CM_BUTTONPRESSED);
}

void TcxCustomButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FViewInfo.reset(New<TcxButtonViewInfo>(this));
  FFadingHelper.reset(New<TcxButtonFadingHelper>(this));
  FGlyph.reset(New<TcxButtonGlyph>(this));
  FColors.reset(New<TcxButtonColors>(this));
  FControlCanvas.reset(New<TCanvas>());
  FCanvas.reset(New<TcxCanvas>(FControlCanvas.get()));
  CreateLookAndFeel(this, BindEvent<&TcxCustomButton::LookAndFeelChanged>(this));
  FScaleFactor.reset(New<TdxScaleFactor>());
  FSpeedButtonOptions.reset(New<TcxSpeedButtonOptions>(this));
  FOptionsImage.reset(New<TcxButtonImageOptions>(this));
  FButtonPressTimer.reset(New<TcxTimer>(nullptr));
  FButtonPressTimer->SetEnabled(false);
  FButtonPressTimer->SetOnTimer(BindEvent<&TcxCustomButton::ButtonPressTimerHandler>(this));
  FShowFocusRect = true;
  IsLeftButtonDown = [] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; };
  SetBounds(Left(), Top(), 75, 25);
}

void TcxCustomButton::Destroy() {
  // Code after a nested message loop (the drop-down menu) finds the button gone.
  ClearObjectLinks(this);
  NotifyAccessibilityHelperRemoved(FAccessibilityHelper);
  // Its fade ends silently: the button is not asked to repaint.
  FFadingHelper.reset();
  FButtonPressTimer.reset();
  if (FOptionsImage) FOptionsImage->SetImages(nullptr);
  SetDropDownMenu(nullptr);
  FOptionsImage.reset();
  FSpeedButtonOptions.reset();
  FreeLookAndFeel();
  FScaleFactor.reset();
  FColors.reset();
  FCanvas.reset();
  FControlCanvas.reset();
  FGlyph.reset();
  FViewInfo.reset();
  FBuffer.reset();
  inherited::Destroy();
}

void TcxCustomButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The platform handles input and focus; the drawing is the button's own.
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

bool TcxCustomButton::CanResize(int& NewWidth, int& NewHeight) {
  if (!inherited::CanResize(NewWidth, NewHeight)) return false;
  if (AutoSize()) {
    const TSize optimal = GetOptimalSize();
    NewWidth = optimal.cx;
    NewHeight = optimal.cy;
  }
  return true;
}

void TcxCustomButton::SetButtonStyle(bool ADefault) {
  if (FIsFocused == ADefault) return;
  FIsFocused = ADefault;
  Invalidate();
}

void TcxCustomButton::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (FOptionsImage && AComponent == FOptionsImage->FImages) {
    FOptionsImage->FImages->UnRegisterChanges(FOptionsImage->FImageChangeLink.get());
    FOptionsImage->FImages = nullptr;
    FViewInfo->GlyphCache().Reset();
    Invalidate();
  }
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TcxCustomButton::SetKind(TcxButtonKind AValue) {
  if (FKind == AValue) return;
  FKind = AValue;
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TcxCustomButton::SetPaintStyle(TcxButtonPaintStyle AValue) {
  if (FPaintStyle == AValue) return;
  FPaintStyle = AValue;
  Invalidate();
}

void TcxCustomButton::SetDescription(const String& AValue) {
  if (FDescription == AValue) return;
  FDescription = AValue;
  Invalidate();
}

void TcxCustomButton::SetDropDownMenu(TComponent* AValue) {
  if (!dynamic_cast<TPopupMenu*>(AValue)) AValue = nullptr;
  if (FDropDownMenu == AValue) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = AValue;
  if (FDropDownMenu) FDropDownMenu->FreeNotification(this);
}

void TcxCustomButton::SetShowFocusRect(bool AValue) {
  if (FShowFocusRect == AValue) return;
  FShowFocusRect = AValue;
  Invalidate();
}

bool TcxCustomButton::CanBeFocused() const { return FKind == cxbkCommandLink || FSpeedButtonOptions->CanBeFocused(); }

int TcxCustomButton::GroupIndex() const { return FKind == cxbkCommandLink ? 0 : FSpeedButtonOptions->GroupIndex(); }

bool TcxCustomButton::IsSpeedButtonMode() const {
  return IsSpeedButtonModeAllowed() && (!CanBeFocused() || GroupIndex() != 0);
}

bool TcxCustomButton::IsSpeedButtonPartsDrawn() const {
  return IsSpeedButtonModeAllowed() && !CanBeFocused() &&
         (FSpeedButtonOptions->Flat() || FSpeedButtonOptions->Transparent());
}

bool TcxCustomButton::CanFocus() { return inherited::CanFocus() && CanBeFocused(); }

void TcxCustomButton::SetInternalStates(const TcxButtonInternalStates& AValue) {
  if (FInternalStates == AValue) return;
  const TcxButtonState old = GetPaintState();
  FInternalStates = AValue;
  if (FFadingHelper && CanFade()) FFadingHelper->CheckStartFading(old, GetPaintState());
  Invalidate();
}

TcxCustomLookAndFeelPainter* TcxCustomButton::Painter() const { return LookAndFeel()->Painter(); }

bool TcxCustomButton::IsHotTrackAvailable() const {
  TcxCustomLookAndFeelPainter* painter = Painter();
  return (painter && painter->IsButtonHotTrack()) || (FKind == cxbkCommandLink && Enabled());
}

TcxButtonState TcxCustomButton::GetPaintState() const {
  if (!Enabled()) return cxbsDisabled;
  if (FIsPaintPressed) return cxbsPressed;
  if (FInternalStates.Contains(bisHot) && IsHotTrackAvailable()) return cxbsHot;
  if (FIsPaintDefault) return cxbsDefault;
  return cxbsNormal;
}

TRect TcxCustomButton::DropDownPartRect() const {
  const TRect client(0, 0, Width(), Height());
  switch (FKind) {
    case cxbkStandard:
    case cxbkCommandLink:
      return TRect();
    case cxbkDropDownButton: {
      const int size = FViewInfo->Painter()->GetDropDownButtonSize();
      return UseRightToLeftAlignment() ? TRect(0, 0, size, client.Bottom)
                                       : TRect(client.Right - size, 0, client.Right, client.Bottom);
    }
    default:
      return client;
  }
}

void TcxCustomButton::SetDownState(bool AValue) {
  // Rule order matters: a button without a group (and no action) or a
  // disabled one never goes down, and the last down button of a group stays.
  const bool hasAction = Action() != nullptr;
  if ((GroupIndex() == 0 && !hasAction) || !Enabled()) AValue = false;
  const bool down = FInternalStates.Contains(bisDown);
  if (down == AValue) return;
  const TcxSpeedButtonOptions& options = *FSpeedButtonOptions;
  if (down && !options.AllowAllUp() && GroupIndex() != 0 && options.FLockCount == 0 && !hasAction &&
      IsSpeedButtonMode() && !ComponentState().Contains(csDesigning))
    return;
  if (AValue) {
    IncludeState(bisDown);
    FSpeedButtonOptions->NotifyGroup();
  } else {
    ExcludeState(bisDown);
  }
  Invalidate();
}

void TcxCustomButton::CMButtonPressed(TMessage& Message) {
  auto* sender = reinterpret_cast<TcxCustomButton*>(Message.LParam);
  if (!IsSpeedButtonMode() || GroupIndex() == 0 || static_cast<int>(Message.WParam) != GroupIndex() ||
      sender == this || !sender || !dynamic_cast<TcxCustomButton*>(static_cast<TObject*>(sender)))
    return;
  TcxSpeedButtonOptions& options = *FSpeedButtonOptions;
  const TcxSpeedButtonOptions& theirs = *sender->FSpeedButtonOptions;
  options.BeginUpdate();
  options.FCanBeFocused = theirs.FCanBeFocused;
  options.FAllowAllUp = theirs.FAllowAllUp;
  options.FFlat = theirs.FFlat;
  options.FTransparent = theirs.FTransparent;
  if (sender->Down() && Down() && (!Action() || Action() != sender->Action())) SetDownState(false);
  options.CancelUpdate();
  Invalidate();
}

void TcxCustomButton::Click() {
  const bool fromDropDownPartOnly = FInternalStates.Contains(bisMenuButtonPressed) && !FInternalStates.Contains(bisPressed);
  if (IsSpeedButtonMode() && !Action() && CanBeFocused() && !fromDropDownPartOnly &&
      !FInternalStates.Contains(bisAccelExecute))
    SetDownState(!Down());
  if (FKind == cxbkDropDown || FKind == cxbkOfficeDropDown)
    PostDropDownMenu();
  else
    inherited::Click();
}

void TcxCustomButton::CNCommand(TMessage& Message) {
  const bool fromDropDownPartOnly = FInternalStates.Contains(bisMenuButtonPressed) && !FInternalStates.Contains(bisPressed);
  if (HIWORD(Message.WParam) == BN_CLICKED && FKind == cxbkDropDownButton && fromDropDownPartOnly) return;
  InheritedMessage<TcxCustomButton>(Message);
}

void TcxCustomButton::CNMeasureItem(TMessage& Message) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  item->itemWidth = static_cast<UINT>(Width());
  item->itemHeight = static_cast<UINT>(Height());
}

void TcxCustomButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) && CanFocus()) {
    IncludeState(bisAccelExecute);
    Click();
    ExcludeState(bisAccelExecute);
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxCustomButton>(Message);
}

void TcxCustomButton::CMTextChanged(TMessage& Message) {
  InheritedMessage<TcxCustomButton>(Message);
  if (AutoSize()) AdjustSize();
  Invalidate();
}

void TcxCustomButton::CMFontChanged(TMessage& Message) {
  InheritedMessage<TcxCustomButton>(Message);
  if (AutoSize()) AdjustSize();
  Invalidate();
}

void TcxCustomButton::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TcxCustomButton>(Message);
  if (!Enabled()) ExcludeState(bisHot);
  // The paint state reads Enabled live, so the change is seen against the
  // state on the screen: a fade does not run on over a disabled button.
  if (FFadingHelper && CanFade()) FFadingHelper->CheckStartFading(FViewInfo->State(), GetPaintState());
  // A disabled button was not allowed down: it follows its action again.
  if (TCustomAction* action = LinkedAction()) SetDownState(action->Checked());
  Invalidate();
}

void TcxCustomButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (FUseSystemPaint && HandleAllocated())
    RecreateWnd();
  else
    Invalidate();
}

void TcxCustomButton::ChangeScale(int M, int D, bool AIsDpiChange) {
  FScaleFactor->Change(M, D);
  // Margin and Spacing keep their meaning (-1) or grow with the button.
  TcxButtonImageOptions& image = *FOptionsImage;
  if (image.FMargin != -1) image.FMargin = MulDiv(image.FMargin, M, D);
  if (image.FSpacing != -1) image.FSpacing = MulDiv(image.FSpacing, M, D);
  inherited::ChangeScale(M, D, AIsDpiChange);
  Invalidate();
}

TSize TcxCustomButton::GetOptimalSize() {
  const TScreenDC screen;
  const TSelectObject font(screen.Get(), Font()->Handle());
  String text = StripHotkey(Caption());
  if (text.empty()) text = L" ";
  SIZE caption{}, r{};
  GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &caption);
  GetTextExtentPoint32W(screen.Get(), L"R", 1, &r);
  return TSize(caption.cx + 3 * r.cx, MulDiv(caption.cy, 14, 8));
}

// --- mouse ------------------------------------------------------------------

void TcxCustomButton::MarkPressed(const TPoint& P) {
  if (FKind != cxbkStandard && FKind != cxbkCommandLink && DropDownPartRect().Contains(P))
    IncludeState(bisMenuButtonPressed);
  else
    IncludeState(bisPressed);
}

void TcxCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!CanBeFocused()) SetCapture(Handle());
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  MarkPressed(TPoint(X, Y));
  if (FRepeatClick && FInternalStates.Contains(bisPressed)) {
    FButtonPressTimer->SetInterval(400);
    FButtonPressTimer->SetEnabled(true);
  }
  if (FKind == cxbkDropDownButton && DropDownPartRect().Contains(TPoint(X, Y))) PostDropDownMenu();
  Invalidate();
}

void TcxCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (TRect(0, 0, Width(), Height()).Contains(TPoint(X, Y)))
    NotifyMouseEnter();
  else if (FInternalStates.Contains(bisHot))
    NotifyMouseLeave();
}

void TcxCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FButtonPressTimer->SetEnabled(false);
  const bool ownClick = !CanBeFocused() && Button == mbLeft && FInternalStates.Contains(bisHot) &&
                        (FInternalStates.Contains(bisPressed) ||
                         (FInternalStates.Contains(bisMenuButtonPressed) &&
                          (FKind == cxbkDropDown || FKind == cxbkOfficeDropDown)));
  if (ownClick && IsSpeedButtonMode() && !Action()) SetDownState(!Down());
  inherited::MouseUp(Button, Shift, X, Y);
  SetInternalStates(FInternalStates - TcxButtonInternalStates{bisPressed, bisMenuButtonPressed});
  if (!CanBeFocused() && GetCapture() == Handle()) ReleaseCapture();
  if (ownClick) Click();
  Invalidate();
  if (!FInternalStates.Contains(bisMenuVisible)) FIsDropDownMenuClosing = false;
}

void TcxCustomButton::MouseEnter() {
  inherited::MouseEnter();
  if (!ComponentState().Contains(csDesigning)) NotifyMouseEnter();
}

void TcxCustomButton::MouseLeave() {
  inherited::MouseLeave();
  if (!ComponentState().Contains(csDesigning)) NotifyMouseLeave();
}

void TcxCustomButton::NotifyMouseEnter() {
  if (Enabled()) IncludeState(bisHot);
}

void TcxCustomButton::NotifyMouseLeave() { ExcludeState(bisHot); }

void TcxCustomButton::KeyDown(WORD& Key, TShiftState Shift) {
  if (FKind == cxbkDropDownButton && (Key == VK_UP || Key == VK_DOWN) &&
      (Shift.Contains(ssAlt) || Shift.Contains(ssShift))) {
    if (!FInternalStates.Contains(bisMenuVisible)) PostDropDownMenu();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

// --- repeat click -----------------------------------------------------------

void TcxCustomButton::ButtonPressTimerHandler(TObject*) { RepeatClickTick(); }

void TcxCustomButton::RepeatClickTick() {
  if (!IsLeftButtonDown()) {
    FButtonPressTimer->SetEnabled(false);
    return;
  }
  FButtonPressTimer->SetInterval(100);
  if (FInternalStates.Contains(bisHot) && FInternalStates.Contains(bisPressed)) Click();
}

// --- drop-down menu ---------------------------------------------------------

void TcxCustomButton::PostDropDownMenu() {
  if (FInternalStates.Contains(bisMenuVisible) || FIsDropDownMenuClosing || ComponentState().Contains(csDestroying))
    return;
  PostMessageW(Handle(), DXM_DROPDOWNPOPUPMENU, 0, 0);
}

void TcxCustomButton::HandleDropDownMenuMessage() {
  auto* menu = static_cast<TPopupMenu*>(FDropDownMenu);
  bool handled = false;
  CallEvent(FOnDropDownMenuPopup, this, menu, handled);
  if (handled || !menu) return;
  SetInternalStates((FInternalStates - TcxButtonInternalStates{bisMenuButtonPressed}).Include(bisMenuVisible));
  FIsDropDownMenuClosing = false;
  Repaint();
  // The menu runs its own message loop: the button may be freed meanwhile.
  TcxObjectLink* link = AddObjectLink(this);
  TPoint origin = ClientOrigin();
  const TPopupAlignment saved = menu->Alignment();
  const int x = FPopupAlignment == paLeft ? origin.X : FPopupAlignment == paRight ? origin.X + Width()
                                                                                  : origin.X + Width() / 2;
  menu->SetAlignment(FPopupAlignment);
  menu->SetPopupComponent(this);
  menu->Popup(x, origin.Y + Height());
  if (link->Ref) {
    menu->SetAlignment(saved);
    PostMessageW(Handle(), DXM_DROPDOWNPOPUPMENUCLOSED, 0, 0);
  }
  RemoveObjectLink(link);
}

void TcxCustomButton::HandleDropDownMenuClosed() {
  bool closing = FInternalStates.Contains(bisMenuButtonPressed);
  MSG pending{};
  if (!closing && HandleAllocated() &&
      (PeekMessageW(&pending, Handle(), WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE) ||
       PeekMessageW(&pending, Handle(), WM_LBUTTONDBLCLK, WM_LBUTTONDBLCLK, PM_NOREMOVE)))
    closing = DropDownPartRect().Contains(TPoint(GET_X_LPARAM(pending.lParam), GET_Y_LPARAM(pending.lParam)));
  FIsDropDownMenuClosing = closing;
  ExcludeState(bisMenuVisible);
}

// --- action link ------------------------------------------------------------

TCustomAction* TcxCustomButton::LinkedAction() const { return dynamic_cast<TCustomAction*>(Action()); }

void TcxCustomButton::ActionChange(TObject* Sender, bool ACheckDefaults) {
  inherited::ActionChange(Sender, ACheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  TcxButtonImageOptions& image = *FOptionsImage;
  const bool newLink = Sender != FLinkedAction;
  FLinkedAction = Sender;
  // A change of the action's image reaches the button only while it still
  // shows the index last taken from the action.
  const bool imageLinked = newLink || (FActionImageIndex && image.ImageIndex() == *FActionImageIndex);
  if (ACheckDefaults ? image.ImageIndex() == -1 : imageLinked) image.SetImageIndex(action->ImageIndex());
  FActionImageIndex = image.ImageIndex() == action->ImageIndex() ? std::optional<int>(action->ImageIndex())
                                                                  : std::nullopt;
  if (!ACheckDefaults || GroupIndex() == 0) FSpeedButtonOptions->SetGroupIndex(action->GroupIndex());
  if (!ACheckDefaults || !Down()) SetDownState(action->Checked());
}

bool TcxCustomButton::IsImageIndexLinked() const {
  TCustomAction* action = LinkedAction();
  return action && FOptionsImage->ImageIndex() == action->ImageIndex();
}

bool TcxCustomButton::IsCheckedLinked() const {
  TCustomAction* action = LinkedAction();
  return action && Down() == action->Checked();
}

bool TcxCustomButton::IsGroupIndexLinked() const {
  TCustomAction* action = LinkedAction();
  return action && FSpeedButtonOptions->GroupIndex() == action->GroupIndex();
}

// --- context menu -------------------------------------------------------------

void TcxCustomButton::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  inherited::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const bool byKeyboard = MousePos.X == -1 && MousePos.Y == -1;
  Handled = PopupContextMenu(ClientToScreen(byKeyboard ? TPoint() : MousePos));
}

bool TcxCustomButton::PopupContextMenu(const TPoint& AScreenPos) {
  TPopupMenu* menu = PopupMenu();
  if (!menu) return false;
  menu->SetPopupComponent(this);
  // The menu runs its own loop and may free the button: nothing follows.
  menu->Popup(AScreenPos.X, AScreenPos.Y);
  return true;
}

// --- messages ---------------------------------------------------------------

void TcxCustomButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!CanBeFocused() && !ComponentState().Contains(csDesigning)) {
        // A speed button never takes the focus: the platform window does not see the press.
        const TPoint p(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        if (Message.Msg == WM_LBUTTONDBLCLK) {
          SetCapture(Handle());
          if (GroupIndex() != 0) DblClick();
          MarkPressed(p);
          Invalidate();
        } else {
          MouseDown(mbLeft, KeysToShiftState(static_cast<WORD>(Message.WParam)) + TShiftState{ssLeft}, p.X, p.Y);
        }
        return;
      }
      // A fast second click is a second press.
      Message.Msg = WM_LBUTTONDOWN;
      break;
    case WM_CAPTURECHANGED:
      inherited::WndProc(Message);
      if (!ComponentState().Contains(csDesigning) && HandleAllocated()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) != Handle())
          SetInternalStates(FInternalStates - TcxButtonInternalStates{bisHot, bisPressed, bisMenuButtonPressed});
      }
      return;
    case WM_GETOBJECT:
      if (IsAccessibilitySupported() && (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
        if (!FAccessibilityHelper) {
          auto* node = New<TdxButtonAccessibilityHelper>(this);
          FAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
        }
        Message.Result = ReturnAccessibleObject(Message.WParam, FAccessibilityHelper->GetHelper());
        return;
      }
      break;
    case WM_DESTROY:
      if (FInternalStates.Contains(bisMenuVisible)) HandleDropDownMenuClosed();
      break;
    case DXM_DROPDOWNPOPUPMENU:
      HandleDropDownMenuMessage();
      return;
    case DXM_DROPDOWNPOPUPMENUCLOSED:
      HandleDropDownMenuClosed();
      return;
    default:
      break;
  }
  inherited::WndProc(Message);
}

// --- painting ---------------------------------------------------------------

void TcxCustomButton::CNDrawItem(TMessage& Message) {
  if (!ComponentState().Contains(csDestroying)) PaintButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
  Message.Result = TRUE;
}

void TcxCustomButton::PaintButton(const DRAWITEMSTRUCT& AItem) {
  const TcxButtonState old = GetPaintState();
  FIsPaintPressed = ((AItem.itemState & ODS_SELECTED) && !FInternalStates.Contains(bisMenuButtonPressed)) ||
                    (FInternalStates.Contains(bisMenuVisible) && (FKind == cxbkDropDown || FKind == cxbkOfficeDropDown)) ||
                    Down() || (FInternalStates.Contains(bisHot) && FInternalStates.Contains(bisPressed));
  FIsPaintFocused = (AItem.itemState & ODS_FOCUS) != 0;
  FIsPaintDefault = (FIsPaintFocused || (Default() && ComponentState().Contains(csDesigning)) ||
                     FIsFocused) &&
                    CanBeFocused();
  if (FFadingHelper && CanFade()) FFadingHelper->CheckStartFading(old, GetPaintState());
  const TRect client(0, 0, AItem.rcItem.right - AItem.rcItem.left, AItem.rcItem.bottom - AItem.rcItem.top);
  FViewInfo->Calculate(client);
  // On glass the picture goes through a buffered paint, which keeps the
  // alpha that the glass text routine writes.
  if (IsPaintingOnGlass(this)) {
    HDC paintDC = nullptr;
    if (HPAINTBUFFER buffer = UxBeginBufferedPaint(AItem.hDC, client, BPBF_TOPDOWNDIB, nullptr, paintDC)) {
      {
        const TCanvasDCScope drawing(FControlCanvas.get(), paintDC);
        DrawViewInfo(FCanvas.get());
      }
      UxEndBufferedPaint(buffer, true);
      return;
    }
  }
  // The whole button is built off screen and copied in one transfer: it never flickers.
  if (!FBuffer || FBuffer->Width() != client.Width() || FBuffer->Height() != client.Height()) {
    FBuffer.reset();
    FBuffer.emplace(TMemoryDC::Dib32(nullptr, client.Width(), client.Height()));
  }
  if (!*FBuffer) return FBuffer.reset();
  {
    const TCanvasDCScope drawing(FControlCanvas.get(), FBuffer->DC());
    DrawViewInfo(FCanvas.get());
  }
  FBuffer->BlitTo(AItem.hDC, 0, 0);
}

void TcxCustomButton::DrawViewInfo(TcxCanvas* ACanvas) {
  bool handled = false;
  CallEvent(FOnCustomDraw, this, ACanvas, FViewInfo.get(), handled);
  if (!handled) FViewInfo->Draw(ACanvas);
}

void TcxCustomButton::DoGetDrawParams(TcxButtonState AState, TColor& AColor, TFont* AFont) {
  CallEvent(FOnGetDrawParams, this, AState, AColor, AFont);
}

void cxButtonsInitialization() { RegisterClasses({TcxButton::ClassInfo()}); }
