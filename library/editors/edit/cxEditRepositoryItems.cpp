#include "library/editors/edit/cxEditRepositoryItems.h"

#include "platform/classes/Filer.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxEditRepositoryItem

void TcxEditRepositoryItem::Publish(TPublisher<TcxEditRepositoryItem>& P) {
  P.Property(L"PropertiesEvents", &TcxEditRepositoryItem::PropertiesEvents,
             &TcxEditRepositoryItem::SetPropertiesEvents);
}

void TcxEditRepositoryItem::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FScaleFactor.reset(New<TdxOwnedScaleFactor>());
  FProperties.reset(NewOfClass<TcxCustomEditProperties>(EditPropertiesClass(), static_cast<TPersistent*>(this)));
  FProperties->SetOnPropertiesChanged(BindEvent<&TcxEditRepositoryItem::PropertiesChanged>(this));
}

// Each editor hears of the removal before the properties it uses go.
void TcxEditRepositoryItem::Destroy() {
  SetRepository(nullptr);
  while (!FListenerList.empty()) {
    IcxEditRepositoryItemListener* listener = FListenerList.back();
    listener->RepositoryItemRemoved(this);
    RemoveListener(listener);
  }
  FProperties.reset();
  FScaleFactor.reset();
  inherited::Destroy();
}

bool TcxEditRepositoryItem::ArePropertiesCompatible(TClass APropertiesClass) const {
  return FProperties->InheritsFrom(APropertiesClass);
}

void TcxEditRepositoryItem::AddListener(IcxEditRepositoryItemListener* AListener) {
  if (std::find(FListenerList.begin(), FListenerList.end(), AListener) == FListenerList.end())
    FListenerList.push_back(AListener);
}

void TcxEditRepositoryItem::RemoveListener(IcxEditRepositoryItemListener* AListener) {
  std::erase(FListenerList, AListener);
}

void TcxEditRepositoryItem::PropertiesChanged(TObject*) {
  for (auto i = FListenerList.size(); i-- > 0;)
    if (i < FListenerList.size()) FListenerList[i]->RepositoryItemPropertiesChanged(this);
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* AValue) {
  if (FRepository == AValue) return;
  if (FRepository) {
    FScaleFactor->SetOwner(nullptr);
    FRepository->RemoveItem(this);
  }
  FRepository = AValue;
  if (FRepository) {
    FRepository->AddItem(this);
    FScaleFactor->SetOwner(FRepository->ScaleFactor());
  }
}

String TcxEditRepositoryItem::GetBaseName() {
  static const String stem = L"TcxEditRepository";
  String kind = ClassName();
  const auto at = kind.find(stem);
  kind = at == String::npos ? String() : kind.substr(at + stem.size());
  return FRepository->Name() + kind;
}

TComponent* TcxEditRepositoryItem::GetParentComponent() { return FRepository; }

void TcxEditRepositoryItem::SetParentComponent(TComponent* AParent) {
  if (ComponentState().Contains(csLoading)) return;
  auto* repository = dynamic_cast<TcxEditRepository*>(AParent);
  if (AParent && !repository) throw EInvalidCast(L"Invalid class typecast");
  SetRepository(repository);
}

void TcxEditRepositoryItem::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  SetRepository(dynamic_cast<TcxEditRepository*>(Reader->Parent()));
}

// ---------------------------------------------------------------------------
// TcxEditRepository

void TcxEditRepository::Create(TComponent* AOwner) { inherited::Create(AOwner); }

void TcxEditRepository::Destroy() {
  Clear();
  inherited::Destroy();
}

void TcxEditRepository::Clear() {
  while (!FItems.empty()) FItems.back()->Free();
}

TcxEditRepositoryItem* TcxEditRepository::CreateItem(TClass AClass) { return CreateItemEx(AClass, this); }

TcxEditRepositoryItem* TcxEditRepository::CreateItemEx(TClass AClass, TComponent* AOwner) {
  auto* item = NewOfClass<TcxEditRepositoryItem>(AClass, AOwner);
  item->SetRepository(this);
  return item;
}

TcxEditRepositoryItem* TcxEditRepository::ItemByName(const String& AName) const {
  const auto it = std::find_if(FItems.begin(), FItems.end(),
                               [&](TcxEditRepositoryItem* AItem) { return AnsiSameText(AItem->Name(), AName); });
  return it == FItems.end() ? nullptr : *it;
}

void TcxEditRepository::RemoveItems(TClass AClass) {
  for (auto i = FItems.size(); i-- > 0;)
    if (i < FItems.size() && FItems[i]->InheritsFrom(AClass)) FItems[i]->Free();
}

void TcxEditRepository::GetChildren(const TGetChildProc& AProc, TComponent* ARoot) {
  for (TcxEditRepositoryItem* item : FItems)
    if (item->Owner() == ARoot) AProc(item);
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* AItem) {
  if (std::find(FItems.begin(), FItems.end(), AItem) == FItems.end()) FItems.push_back(AItem);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* AItem) { std::erase(FItems, AItem); }
