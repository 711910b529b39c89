// The editor buttons, their collection and their action link.
#include "library/editors/edit/cxEdit.h"

// ---------------------------------------------------------------------------
// TcxEditButtonActionLink

void TcxEditButtonActionLink::Create(TcxCustomEditButton* AClient) {
  inherited::Create(AClient);
  FClient = AClient;
}

bool TcxEditButtonActionLink::IsCaptionLinked() const {
  return inherited::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TcxEditButtonActionLink::IsEnabledLinked() const {
  return inherited::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TcxEditButtonActionLink::IsHintLinked() const {
  return inherited::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TcxEditButtonActionLink::IsImageIndexLinked() const {
  return CustomAction() && FClient->ImageIndex() == CustomAction()->ImageIndex();
}

bool TcxEditButtonActionLink::IsVisibleLinked() const {
  return inherited::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

// ---------------------------------------------------------------------------
// TcxCustomEditButton

namespace {

// Keeps a collection's update bracket open for a scope, also when it raises.
class TCollectionUpdate {
 public:
  explicit TCollectionUpdate(TCollection* ACollection) : FCollection(ACollection) {
    if (FCollection) FCollection->BeginUpdate();
  }
  ~TCollectionUpdate() {
    if (FCollection) FCollection->EndUpdate();
  }
  TCollectionUpdate(const TCollectionUpdate&) = delete;
  TCollectionUpdate& operator=(const TCollectionUpdate&) = delete;

 private:
  TCollection* FCollection;
};

}  // namespace

void TcxCustomEditButton::Create(TCollection* ACollection) {
  TCollectionUpdate update(ACollection);
  inherited::Create(ACollection);
  FGlyph.reset(New<TdxSmartGlyph>());
  FGlyph->SetOnChange(BindEvent<&TcxCustomEditButton::GlyphChanged>(this));
  FContentAlignment = taCenter;
  FEnabled = true;
  FKind = bkDown;
  FStretchable = true;
  FTextColor = clBtnText;
  FVisible = true;
  FImageIndex = -1;
}

void TcxCustomEditButton::Destroy() {
  SetAction(nullptr);
  FGlyph.reset();
  inherited::Destroy();
}

void TcxCustomEditButton::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxCustomEditButton*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  TCollectionUpdate update(Collection());
  SetCaption(source->Caption());
  SetAction(source->Action());
  SetImageIndex(source->ImageIndex());
  FVisibleCaption = source->FVisibleCaption;
  SetContentAlignment(source->ContentAlignment());
  SetDefault(source->Default());
  SetEnabled(source->Enabled());
  SetGlyph(source->Glyph());
  SetKind(source->Kind());
  SetLeftAlignment(source->LeftAlignment());
  SetStretchable(source->Stretchable());
  SetTag(source->Tag());
  SetTextColor(source->TextColor());
  SetVisible(source->Visible());
  SetWidth(source->Width());
  SetHint(source->Hint());
}

TBasicAction* TcxCustomEditButton::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TcxCustomEditButton::SetAction(TBasicAction* AValue) {
  TBasicAction* current = Action();
  if (FActionLink && current == AValue) return;
  if (FActionLink) {
    FActionLink.reset();
    if (auto* buttons = dynamic_cast<TcxCustomEditButtons*>(Collection()); buttons && current)
      buttons->UnwatchAction(current);
  }
  if (!AValue) return;
  FActionLink.reset(NewOfClass<TcxEditButtonActionLink>(GetButtonActionLinkClass(), this));
  FActionLink->SetAction(AValue);
  FActionLink->SetOnChange(BindEvent<&TcxCustomEditButton::ActionLinkChanged>(this));
  ApplyActionValues(AValue, AValue->ComponentState().Contains(csLoading));
  if (auto* buttons = dynamic_cast<TcxCustomEditButtons*>(Collection())) buttons->WatchAction(AValue);
}

void TcxCustomEditButton::SetCaption(const String& AValue) {
  if (FCaption == AValue) return;
  FCaption = AValue;
  FVisibleCaption = StripAccelerators(AValue, true);
  Changed(false);
}

void TcxCustomEditButton::SetDefault(bool AValue) {
  if (FDefault == AValue) return;
  if (AValue)
    if (TCollection* buttons = Collection())
      for (int i = 0; i < buttons->Count(); ++i) static_cast<TcxCustomEditButton*>(buttons->Items(i))->FDefault = false;
  FDefault = AValue;
  Changed(true);
}

void TcxCustomEditButton::ActionFreed(TBasicAction* AAction) {
  // The action empties its links before it tells the notificator, so an
  // empty link is the freed action's too.
  if (!FActionLink) return;
  TBasicAction* current = Action();
  if (current != AAction && current) return;
  FActionLink.reset();
}

void TcxCustomEditButton::UpdateActionLink() {
  if (FActionLink) FActionLink->Update();
}

void TcxCustomEditButton::ActionLinkChanged(TObject* Sender) {
  if (Sender == Action()) ApplyActionValues(Sender, false);
}

void TcxCustomEditButton::ApplyActionValues(TObject* ASender, bool ACheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(ASender);
  if (!action) return;
  if (!ACheckDefaults || FCaption.empty()) SetCaption(action->Caption());
  if (!ACheckDefaults || FEnabled) SetEnabled(action->Enabled());
  if (!ACheckDefaults || FHint.empty()) FHint = action->Hint();
  if (!ACheckDefaults || FVisible) SetVisible(action->Visible());
  if (!ACheckDefaults || FImageIndex == -1) SetImageIndex(action->ImageIndex());
}

// ---------------------------------------------------------------------------
// TcxEditButton

void TcxEditButton::Publish(TPublisher<TcxEditButton>& P) {
  using B = TcxEditButton;
  P.Property(L"Action", &B::Action, &B::SetAction);
  P.Property(L"Caption", &B::Caption, &B::SetCaption).Stored(&B::IsStored<&B::IsCaptionStored>);
  P.Property(L"ContentAlignment", &B::ContentAlignment, &B::SetContentAlignment).Default(taCenter);
  P.Property(L"Default", &B::Default, &B::SetDefault).Default(false);
  P.Property(L"Enabled", &B::Enabled, &B::SetEnabled).Default(true).Stored(&B::IsStored<&B::IsEnabledStored>);
  P.Property(L"ImageIndex", &B::ImageIndex, &B::SetImageIndex).Default(-1).Stored(&B::IsStored<&B::IsImageIndexStored>);
  P.Property(L"Glyph", &B::Glyph, &B::SetGlyph);
  P.Property(L"Hint", &B::Hint, &B::SetHint).Stored(&B::IsStored<&B::IsHintStored>);
  P.Property(L"Kind", &B::Kind, &B::SetKind).Default(bkDown);
  P.Property(L"LeftAlignment", &B::LeftAlignment, &B::SetLeftAlignment).Default(false);
  P.Property(L"Stretchable", &B::Stretchable, &B::SetStretchable).Default(true);
  P.Property(L"Tag", &B::Tag, &B::SetTag).Stored(&B::IsStored<&B::IsTagStored>);
  P.Property(L"Visible", &B::Visible, &B::SetVisible).Default(true).Stored(&B::IsStored<&B::IsVisibleStored>);
  P.Property(L"Width", &B::Width, &B::SetWidth).Default(0);
}

// ---------------------------------------------------------------------------
// TcxCustomEditButtons

void TcxCustomEditButtons::Create(TPersistent* AOwner, TClass AButtonClass) {
  inherited::Create(AButtonClass);
  FOwner = AOwner;
}

void TcxCustomEditButtons::Destroy() {
  FreeAndNil(FFreeNotificator);
  inherited::Destroy();
}

int TcxCustomEditButtons::VisibleCount() const {
  int count = 0;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Visible()) ++count;
  return count;
}

void TcxCustomEditButtons::ChangeScale(int M, int D) {
  TCollectionUpdate update(this);
  for (int i = 0; i < Count(); ++i) Items(i)->ChangeScale(M, D);
}

void TcxCustomEditButtons::UpdateActionLinks() {
  for (int i = 0; i < Count(); ++i) Items(i)->UpdateActionLink();
}

void TcxCustomEditButtons::Update(TCollectionItem*) { CallEvent(FOnChange, this); }

void TcxCustomEditButtons::ActionFreeNotification(TComponent* AComponent) {
  auto* action = dynamic_cast<TBasicAction*>(AComponent);
  for (int i = 0; i < Count(); ++i) Items(i)->ActionFreed(action);
}

void TcxCustomEditButtons::WatchAction(TBasicAction* AAction) {
  if (!FFreeNotificator) {
    FFreeNotificator = New<TcxFreeNotificator>(static_cast<TObject*>(this));
    FFreeNotificator->SetOnFreeNotification(BindEvent<&TcxCustomEditButtons::ActionFreeNotification>(this));
  }
  FFreeNotificator->AddSender(AAction);
}

void TcxCustomEditButtons::UnwatchAction(TBasicAction* AAction) {
  if (!FFreeNotificator) return;
  // Another button that still follows the action needs to hear of its end.
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Action() == AAction) return;
  FFreeNotificator->RemoveSender(AAction);
}
