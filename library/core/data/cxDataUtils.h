// The data-binding base: what connects a control to a data source. The base
// class works without data: it is always live, never modified, holds no
// stored value, and keeps only a read-only flag, the visual control and
// three notification events for data-aware descendants to raise.
//
// Classes in this file:
//   TcxDataEditValueSource      which value of a bound field is meant
//   TcxDataBindingNotifyEvent   a notification without parameters
//   TcxCustomDataBinding        the binding base
#pragma once

#include "platform/classes/Component.h"
#include "platform/runtime/Variants.h"

class TBasicAction;

enum TcxDataEditValueSource { evsValue, evsText, evsKey };

using TcxDataBindingNotifyEvent = Delegate<void()>;

class TcxCustomDataBinding : public TPersistent {
  SK_CLASS(TcxCustomDataBinding, TPersistent)
 public:
  static void Publish(TPublisher<TcxCustomDataBinding>& P);

  // AOwner is the control that creates the binding; its properties stream
  // as part of the owner's.
  virtual void Create(TComponent* AOwner, TComponent* ADataComponent);

  // Properties
  virtual bool Modified();
  virtual bool ReadOnly();
  // A change calls DoDataSetChange.
  virtual void SetReadOnly(bool AValue);
  TComponent* VisualControl() const { return FVisualControl; }
  // A change calls DoVisualControlChanged.
  void SetVisualControl(TComponent* AValue);
  TComponent* DataComponent() const { return FDataComponent; }

  // Operations that data-aware descendants override.
  virtual bool CanModify();
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual Variant GetStoredValue(TcxDataEditValueSource AValueSource, bool AFocused);
  virtual bool IsControlReadOnly();
  virtual bool IsDataSourceLive();
  virtual bool IsDataStorage();
  virtual void Reset();
  virtual bool SetEditMode();
  virtual void SetStoredValue(TcxDataEditValueSource AValueSource, const Variant& Value);
  virtual bool UpdateAction(TBasicAction* Action);
  virtual void UpdateDataSource();

  // Events
  TcxDataBindingNotifyEvent OnDataChange() const { return FOnDataChange; }
  void SetOnDataChange(TcxDataBindingNotifyEvent AValue) { FOnDataChange = AValue; }
  TcxDataBindingNotifyEvent OnDataSetChange() const { return FOnDataSetChange; }
  void SetOnDataSetChange(TcxDataBindingNotifyEvent AValue) { FOnDataSetChange = AValue; }
  TcxDataBindingNotifyEvent OnUpdateData() const { return FOnUpdateData; }
  void SetOnUpdateData(TcxDataBindingNotifyEvent AValue) { FOnUpdateData = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }
  virtual void DoDataChange();
  virtual void DoDataSetChange();
  virtual void DoUpdateData();
  virtual void DoVisualControlChanged();

 private:
  TComponent* FDataComponent;
  TComponent* FOwner;
  bool FReadOnly;
  TComponent* FVisualControl;
  TcxDataBindingNotifyEvent FOnDataChange;
  TcxDataBindingNotifyEvent FOnDataSetChange;
  TcxDataBindingNotifyEvent FOnUpdateData;
};
