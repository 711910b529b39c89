// Components: named objects in an ownership tree, the unit of form descriptions.
//
// Classes in this file:
//   TComponentStateItem, TComponentState, TOperation
//   TComponent
//   TDataModule             a container of non-visual components
#pragma once

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <functional>
#include <vector>

enum TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  SK_CLASS(TComponent, TPersistent)
 public:
  static void Publish(TPublisher<TComponent>& P);

  // Construction and destruction. The owner frees its components, last
  // created first, after telling every free-notification subscriber.
  virtual void Create(TComponent* AOwner);
  void BeforeDestruction() override;
  void Destroy() override;

  // Properties
  TComponent* Owner() const { return FOwner; }
  const String& Name() const { return FName; }
  void SetName(const String& AValue) { DoSetName(AValue); }
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }
  const TComponentState& ComponentState() const { return FComponentState; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int AIndex) const;
  int ComponentIndex() const;
  void SetComponentIndex(int AValue);

  // Operations
  // The owned component of that name (not case-sensitive), or null.
  TComponent* FindComponent(const String& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Marks this component and its owned components as being destroyed.
  void Destroying();
  // AComponent is told (Notification with opRemove) when this one goes, and
  // the other way round.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  // Tells every free-notification subscriber now (Notification with
  // opRemove) and forgets them all; destruction does it at the latest.
  void RemoveFreeNotifications();
  String GetNamePath() override;

  // For the form reader and writer.
  virtual void GetChildren(const TGetChildProc& AProc, TComponent* ARoot);
  virtual TComponent* GetChildOwner();
  virtual TComponent* GetChildParent();
  virtual TComponent* GetParentComponent();
  virtual bool HasParent();
  virtual void SetParentComponent(TComponent* AValue);
  virtual void SetChildOrder(TComponent* AChild, int AOrder);
  // Reads this component's stored properties and the objects it contains
  // from a form description (Reader->Parent() is the enclosing component).
  virtual void ReadState(TReader* Reader);
  // Runs Loaded after the form reader assigned every stored property.
  void CallLoaded() { Loaded(); }
  void IncludeState(TComponentStateItem AItem) { FComponentState.Include(AItem); }
  void ExcludeState(TComponentStateItem AItem) { FComponentState.Exclude(AItem); }
  // Sets csUpdating in this component and its owned components, and back.
  virtual void Updating();
  virtual void Updated();

 protected:
  // After loading: clears csLoading.
  virtual void Loaded();
  // AComponent was inserted into or removed from this tree, or is being freed.
  virtual void Notification(TComponent* AComponent, TOperation AOperation);
  virtual void ValidateRename(TComponent* AComponent, const String& ACurName, const String& ANewName);
  virtual void DoSetName(const String& ANewName);
  TPersistent* GetOwner() override;

 private:
  // Stores this component in the owner's published field of its name, or clears it.
  void SetReference(bool AEnable);
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner;
  String FName;
  std::intptr_t FTag;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

// A component that holds non-visual components (a form without a window).
class TDataModule : public TComponent {
  SK_CLASS(TDataModule, TComponent)
 public:
  static void Publish(TPublisher<TDataModule>& P);

  // The resolution the module's description was made at; 0 when none says.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int AValue) { FPixelsPerInch = AValue; }

 private:
  int FPixelsPerInch;
};

// Whether AName is a valid identifier (letter or underscore, then letters,
// digits and underscores).
bool IsValidIdent(const String& AName);
