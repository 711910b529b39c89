#include "platform/ui/ActnList.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TBasicAction

void TBasicAction::Publish(TPublisher<TBasicAction>& P) {
  P.Property(L"OnExecute", &TBasicAction::OnExecute, &TBasicAction::SetOnExecute);
  P.Property(L"OnUpdate", &TBasicAction::OnUpdate, &TBasicAction::SetOnUpdate);
}

void TBasicAction::Create(TComponent* AOwner) { inherited::Create(AOwner); }

void TBasicAction::Destroy() {
  // Links outlive the action only as empty links.
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
  inherited::Destroy();
}

bool TBasicAction::Execute() {
  if (!FOnExecute) return Application() && Application()->ExecuteAction(this);
  FOnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!FOnUpdate) return false;
  FOnUpdate(this);
  return true;
}

void TBasicAction::SetOnExecute(TNotifyEvent AValue) {
  if (FOnExecute == AValue) return;
  FOnExecute = AValue;
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* ALink) {
  if (std::find(FClients.begin(), FClients.end(), ALink) == FClients.end()) FClients.push_back(ALink);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* ALink) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), ALink), FClients.end());
}

void TBasicAction::Change() {
  // A copy: a client may drop its link while it is told.
  const std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* link : clients)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

// ---------------------------------------------------------------------------
// TBasicActionLink

void TBasicActionLink::Create(TObject* AClient) {
  inherited::Create();
  FClient = AClient;
}

void TBasicActionLink::Destroy() {
  if (FAction) FAction->UnRegisterChanges(this);
  inherited::Destroy();
}

void TBasicActionLink::SetAction(TBasicAction* AValue) {
  if (FAction == AValue) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = AValue;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  // The action may free the client (and this link) while it runs.
  TBasicAction* action = FAction;
  TScopeExit executed([action] { action->SetActionComponent(nullptr); });
  return action->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

// ---------------------------------------------------------------------------
// TCustomAction

void TCustomAction::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FEnabled = true;
  FVisible = true;
  FImageIndex = -1;
}

bool TCustomAction::Execute() {
  if (!FEnabled) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return inherited::Execute();
}

void TCustomAction::SetCaption(const String& AValue) {
  if (FCaption == AValue) return;
  FCaption = AValue;
  Change();
}

void TCustomAction::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  Change();
}

void TCustomAction::SetChecked(bool AValue) {
  if (FChecked == AValue) return;
  FChecked = AValue;
  // Checking one action of a group unchecks its fellows of the same owner.
  if (AValue && FGroupIndex > 0 && Owner())
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
      if (auto* other = dynamic_cast<TCustomAction*>(Owner()->Components(i)))
        if (other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  Change();
}

void TCustomAction::SetVisible(bool AValue) {
  if (FVisible == AValue) return;
  FVisible = AValue;
  Change();
}

void TCustomAction::SetHint(const String& AValue) {
  if (FHint == AValue) return;
  FHint = AValue;
  Change();
}

void TCustomAction::SetImageIndex(int AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  Change();
}

void TCustomAction::SetShortCut(TShortCut AValue) {
  if (FShortCut == AValue) return;
  FShortCut = AValue;
  Change();
}

void TCustomAction::SetGroupIndex(int AValue) {
  if (FGroupIndex == AValue) return;
  FGroupIndex = AValue;
  Change();
}

void TAction::Publish(TPublisher<TAction>& P) {
  P.Property(L"AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck).Default(false);
  P.Property(L"Caption", &TAction::Caption, &TAction::SetCaption);
  P.Property(L"Checked", &TAction::Checked, &TAction::SetChecked).Default(false);
  P.Property(L"Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(true);
  P.Property(L"GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex).Default(0);
  P.Property(L"Hint", &TAction::Hint, &TAction::SetHint);
  P.Property(L"ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
  P.Property(L"ShortCut", &TAction::ShortCut, &TAction::SetShortCut).Default(0);
  P.Property(L"Visible", &TAction::Visible, &TAction::SetVisible).Default(true);
}

// ---------------------------------------------------------------------------
// Links

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }
bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsOnExecuteLinked() const { return Action() != nullptr; }

void TControlActionLink::Create(TControl* AClient) {
  inherited::Create(AClient);
  FControl = AClient;
}

// A property counts as linked while the control still shows the action's value.
bool TControlActionLink::IsCaptionLinked() const {
  return inherited::IsCaptionLinked() && FControl->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
  return inherited::IsEnabledLinked() && FControl->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
  return inherited::IsHintLinked() && FControl->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
  return inherited::IsVisibleLinked() && FControl->Visible() == CustomAction()->Visible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  return inherited::IsOnExecuteLinked() && FControl->OnClick() == Action()->OnExecute();
}

void ActnListInitialization() { RegisterClasses({TAction::ClassInfo()}); }
