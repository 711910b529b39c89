// Shared properties: a repository item holds one properties object that
// several editors use instead of their own.
//
// Classes in this file:
//   TcxEditRepositoryItem   one shared properties object and its listening editors
//   TcxEditRepository       the component that owns and streams the items
#pragma once

#include "library/editors/edit/cxEdit.h"

#include <vector>

class TcxEditRepository;

class TcxEditRepositoryItem : public TComponent {
  SK_CLASS(TcxEditRepositoryItem, TComponent)
 public:
  static void Publish(TPublisher<TcxEditRepositoryItem>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // The item kind's properties class.
  static TClass GetEditPropertiesClass() { return TcxCustomEditProperties::ClassInfo(); }
  // Whether the owned properties are of APropertiesClass or below it.
  bool ArePropertiesCompatible(TClass APropertiesClass) const;

  TcxCustomEditProperties* Properties() const { return FProperties.get(); }
  // Copies AValue into the owned properties.
  void SetProperties(TcxCustomEditProperties* AValue) { FProperties->Assign(AValue); }
  TcxEditRepository* Repository() const { return FRepository; }
  void SetRepository(TcxEditRepository* AValue);
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  TNotifyEvent PropertiesEvents() const { return FPropertiesEvents; }
  void SetPropertiesEvents(TNotifyEvent AValue) { FPropertiesEvents = AValue; }
  int ListenerCount() const { return static_cast<int>(FListenerList.size()); }

  // Each listener at most once.
  virtual void AddListener(IcxEditRepositoryItemListener* AListener);
  virtual void RemoveListener(IcxEditRepositoryItemListener* AListener);
  // The repository's name followed by the kind word of the class name.
  virtual String GetBaseName();

  bool HasParent() override { return FRepository != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* AParent) override;

 protected:
  // Every listener, last to first.
  virtual void PropertiesChanged(TObject* Sender);
  // The class operation behind GetEditPropertiesClass, for creation by class reference.
  virtual TClass EditPropertiesClass() { return GetEditPropertiesClass(); }
  void ReadState(TReader* Reader) override;

 private:
  std::vector<IcxEditRepositoryItemListener*> FListenerList;
  TOwned<TcxCustomEditProperties> FProperties;
  TNotifyEvent FPropertiesEvents;
  TcxEditRepository* FRepository;
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
};

class TcxEditRepository : public TcxScalableComponent {
  SK_CLASS(TcxEditRepository, TcxScalableComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TcxEditRepositoryItem* Items(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)); }
  // Frees every item, last first.
  void Clear();
  virtual TcxEditRepositoryItem* CreateItem(TClass AClass);
  virtual TcxEditRepositoryItem* CreateItemEx(TClass AClass, TComponent* AOwner);
  // The first item of that name, compared ignoring case; nil when none.
  TcxEditRepositoryItem* ItemByName(const String& AName) const;
  // Frees every item of AClass or below it.
  void RemoveItems(TClass AClass);

  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;

 private:
  friend class TcxEditRepositoryItem;
  void AddItem(TcxEditRepositoryItem* AItem);
  void RemoveItem(TcxEditRepositoryItem* AItem);

  std::vector<TcxEditRepositoryItem*> FItems;
};
