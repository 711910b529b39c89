// Persistent objects: what can be assigned, stored and found by class name.
//
// Classes in this file:
//   TPersistent             Assign/AssignTo, the owner chain, custom stored data
//   TInterfacedPersistent   a persistent object answering interfaces
//   RegisterClass ...       the registry of classes by name for the form reader, in class groups
#pragma once

#include "platform/classes/ClassErrors.h"
#include "platform/runtime/System.h"

#include <initializer_list>

class TFiler;
class TReader;
class TWriter;

class TPersistent : public TObject {
  SK_CLASS(TPersistent, TObject)
 public:
  // Copies ASource into this object; raises EConvertError when neither side
  // knows how.
  virtual void Assign(TPersistent* ASource);
  // The name by which this object is known below its owner ("Form1.Button1.Font").
  virtual String GetNamePath();

 protected:
  friend class TFiler;
  friend class TReader;
  friend class TWriter;
  virtual void AssignTo(TPersistent* ADest);
  // Declares stored data that is no published property.
  virtual void DefineProperties(TFiler* AFiler);
  virtual TPersistent* GetOwner();
  // Raises the cannot-assign error for ASource assigned to this object.
  [[noreturn]] void AssignError(TPersistent* ASource);
};

// A persistent object that answers interfaces. Reference counting goes to
// its owner's interface when the owner has one; otherwise it answers -1 and
// whoever created it frees it.
class TInterfacedPersistent : public TPersistent, public virtual IInterface {
  SK_CLASS(TInterfacedPersistent, TPersistent)
 public:
  void AfterConstruction() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  HRESULT QueryInterface(const GUID& AIID, void** AObj) override;
  int _AddRef() override;
  int _Release() override;

 private:
  IInterface* FOwnerInterface;
};

// The registry of classes by name, in class groups. Every class belongs to
// the group of its nearest ancestor (itself included) that roots a group or
// was grouped with one; the first group, rooted at TPersistent, holds the
// rest. A name is looked up in the active group, then in the first group, so
// two groups may each have a class of the same name. Registering a name twice
// in one group with the same class does nothing; with another class it
// raises EFilerError.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> AClasses);
void RegisterClassAlias(TClass AClass, const String& AAlias);
void UnRegisterClass(TClass AClass);
// Null when the name is unknown (not case-sensitive).
TClass GetClass(const String& AClassName);
// Raises EClassNotFound when the name is unknown.
TClass FindClass(const String& AClassName);
// A new group rooted at AClass (nothing when it roots one already).
void StartClassGroup(TClass AClass);
// AClass and its descendants join the group that AClassGroup belongs to.
void GroupDescendentsWith(TClass AClass, TClass AClassGroup);
// Makes the group of AClass the active one; answers the root of the group
// that was active before.
TClass ActivateClassGroup(TClass AClass);
// The root class of the group AClass belongs to.
TClass ClassGroupOf(TClass AClass);
