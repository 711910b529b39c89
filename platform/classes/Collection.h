// Collections: ordered lists of items of one class, stored with their owner.
//
// Classes in this file:
//   TCollectionItem, TCollection, TOwnedCollection, TCollectionNotification
#pragma once

#include "platform/classes/Persistent.h"

#include <vector>

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  SK_CLASS(TCollectionItem, TPersistent)
 public:
  // Creation joins ACollection (may be null); freeing leaves it.
  virtual void Create(TCollection* ACollection);
  void Destroy() override;

  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* AValue);
  int ID() const { return FID; }
  int Index() const;
  virtual void SetIndex(int AValue);
  virtual String DisplayName();
  virtual void SetDisplayName(const String& AValue);
  String GetNamePath() override;

 protected:
  // Tells the collection: this item (AAllItems false) or all items changed.
  void Changed(bool AAllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection;
  int FID;
};

class TCollection : public TPersistent {
  SK_CLASS(TCollection, TPersistent)
 public:
  // AItemClass must inherit from TCollectionItem.
  void Create(TClass AItemClass);
  void Destroy() override;

  TClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int AIndex) const;
  void SetItems(int AIndex, TCollectionItem* AValue);
  int UpdateCount() const { return FUpdateCount; }

  TCollectionItem* Add();
  TCollectionItem* Insert(int AIndex);
  void Delete(int AIndex);
  void Clear();
  void Exchange(int AIndex1, int AIndex2);
  TCollectionItem* FindItemID(int AID) const;
  virtual void BeginUpdate();
  virtual void EndUpdate();
  void Assign(TPersistent* ASource) override;
  String GetNamePath() override;

 protected:
  // Runs Update when no update is pending.
  void Changed();
  virtual void Notify(TCollectionItem* AItem, TCollectionNotification AAction);
  // AItem changed; null means the whole collection.
  virtual void Update(TCollectionItem* AItem);
  virtual void SetItemName(TCollectionItem* AItem);
  // The name of the owner's published property that holds this collection.
  String PropName();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* AItem);
  void RemoveItem(TCollectionItem* AItem);
  void CheckIndex(int AIndex) const;

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount;
  int FNextID;
};

class TOwnedCollection : public TCollection {
  SK_CLASS(TOwnedCollection, TCollection)
 public:
  void Create(TPersistent* AOwner, TClass AItemClass);

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};
