#include "platform/classes/Component.h"

#include "platform/classes/Filer.h"

#include <algorithm>
#include <cwctype>

void TComponent::Publish(TPublisher<TComponent>& P) {
  P.Property(L"Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  P.Property(L"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

void TComponent::Create(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!FComponentState.Contains(csDestroying)) Destroying();
  inherited::BeforeDestruction();
}

void TComponent::Destroy() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
  inherited::Destroy();
}

TComponent* TComponent::Components(int AIndex) const {
  if (AIndex < 0 || AIndex >= ComponentCount())
    throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return FComponents[static_cast<std::size_t>(AIndex)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& list = FOwner->FComponents;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int AValue) {
  if (!FOwner) return;
  const int current = ComponentIndex();
  if (current < 0) return;
  auto& list = FOwner->FComponents;
  AValue = std::clamp(AValue, 0, static_cast<int>(list.size()) - 1);
  if (AValue == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + AValue, this);
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (c->FName.size() == AName.size() &&
        std::equal(AName.begin(), AName.end(), c->FName.begin(),
                   [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); }))
      return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  ValidateRename(AComponent, String(), AComponent->FName);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  ValidateRename(AComponent, AComponent->FName, String());
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* instance = FComponents.back();
    Remove(instance);
    instance->Free();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  // Components of one owner hear of each other through the owner already.
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveFreeNotifications() {
  // Each subscriber removes itself from the list while it is told.
  while (!FFreeNotifies.empty()) {
    TComponent* subscriber = FFreeNotifies.back();
    subscriber->Notification(this, opRemove);
    RemoveNotification(subscriber);
    subscriber->RemoveNotification(this);
  }
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  const auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

String TComponent::GetNamePath() { return FName; }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}
TComponent* TComponent::GetChildOwner() { return nullptr; }
TComponent* TComponent::GetChildParent() { return this; }
TComponent* TComponent::GetParentComponent() { return nullptr; }
bool TComponent::HasParent() { return false; }
void TComponent::SetParentComponent(TComponent*) {}

void TComponent::SetChildOrder(TComponent*, int) {}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::Updating() { FComponentState.Include(csUpdating); }
void TComponent::Updated() { FComponentState.Exclude(csUpdating); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* AComponent, TOperation AOperation) {
  if (AOperation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // A component may go away while it is told: iterate over a copy.
  const std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
      c->Notification(AComponent, AOperation);
}

void TComponent::ValidateRename(TComponent* AComponent, const String&, const String& ANewName) {
  if (!AComponent || ANewName.empty()) return;
  if (TComponent* existing = FindComponent(ANewName); existing && existing != AComponent)
    throw EComponentError(L"Eine Komponente mit der Bezeichnung %s existiert bereits", {ANewName});
}

void TComponent::DoSetName(const String& ANewName) {
  if (FName == ANewName) return;
  if (!ANewName.empty() && !IsValidIdent(ANewName))
    throw EComponentError(L"'%s' ist kein gültiger Komponentenname", {ANewName});
  if (FOwner) FOwner->ValidateRename(this, FName, ANewName);
  else ValidateRename(nullptr, FName, ANewName);
  SetReference(false);
  FName = ANewName;
  SetReference(true);
}

void TComponent::SetReference(bool AEnable) {
  if (!FOwner || FName.empty()) return;
  const TFieldInfo* field = FOwner->ClassType()->TypeData().FindField(FName);
  if (!field) return;
  if (AEnable && !InheritsFrom(field->FieldClass))
    throw EComponentError(L"Das Feld %s ist vom Typ %s, nicht %s", {FName, field->FieldClass->ClassName(),
                                                                    ClassName()});
  field->Set(FOwner, AEnable ? this : nullptr);
}

TPersistent* TComponent::GetOwner() { return FOwner; }

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  AComponent->SetReference(true);
}

void TComponent::Remove(TComponent* AComponent) {
  AComponent->SetReference(false);
  AComponent->FOwner = nullptr;
  const auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
}

bool IsValidIdent(const String& AName) {
  if (AName.empty()) return false;
  auto letter = [](wchar_t c) { return c == L'_' || (c < 128 && std::iswalpha(c)); };
  if (!letter(AName[0])) return false;
  return std::all_of(AName.begin() + 1, AName.end(),
                     [&](wchar_t c) { return letter(c) || (c < 128 && std::iswdigit(c)); });
}

// ---------------------------------------------------------------------------
// TDataModule

void TDataModule::Publish(TPublisher<TDataModule>& P) {
  P.Property(L"PixelsPerInch", &TDataModule::PixelsPerInch, &TDataModule::SetPixelsPerInch).Default(0);
}
