#include "library/core/data/cxDataUtils.h"

void TcxCustomDataBinding::Publish(TPublisher<TcxCustomDataBinding>& P) {
  P.Property(L"ReadOnly", &TcxCustomDataBinding::ReadOnly, &TcxCustomDataBinding::SetReadOnly).Default(false);
  P.Property(L"VisualControl", &TcxCustomDataBinding::VisualControl, &TcxCustomDataBinding::SetVisualControl);
  P.Property(L"OnDataChange", &TcxCustomDataBinding::OnDataChange, &TcxCustomDataBinding::SetOnDataChange);
  P.Property(L"OnDataSetChange", &TcxCustomDataBinding::OnDataSetChange, &TcxCustomDataBinding::SetOnDataSetChange);
  P.Property(L"OnUpdateData", &TcxCustomDataBinding::OnUpdateData, &TcxCustomDataBinding::SetOnUpdateData);
}

void TcxCustomDataBinding::Create(TComponent* AOwner, TComponent* ADataComponent) {
  FOwner = AOwner;
  FDataComponent = ADataComponent;
}

bool TcxCustomDataBinding::Modified() { return false; }
bool TcxCustomDataBinding::ReadOnly() { return FReadOnly; }

void TcxCustomDataBinding::SetReadOnly(bool AValue) {
  if (FReadOnly == AValue) return;
  FReadOnly = AValue;
  DoDataSetChange();
}

void TcxCustomDataBinding::SetVisualControl(TComponent* AValue) {
  if (FVisualControl == AValue) return;
  FVisualControl = AValue;
  DoVisualControlChanged();
}

bool TcxCustomDataBinding::CanModify() { return !ReadOnly(); }
bool TcxCustomDataBinding::ExecuteAction(TBasicAction*) { return false; }
Variant TcxCustomDataBinding::GetStoredValue(TcxDataEditValueSource, bool) { return Null(); }
bool TcxCustomDataBinding::IsControlReadOnly() { return ReadOnly(); }
bool TcxCustomDataBinding::IsDataSourceLive() { return true; }
bool TcxCustomDataBinding::IsDataStorage() { return false; }
void TcxCustomDataBinding::Reset() {}
bool TcxCustomDataBinding::SetEditMode() { return CanModify(); }
void TcxCustomDataBinding::SetStoredValue(TcxDataEditValueSource, const Variant&) {}
bool TcxCustomDataBinding::UpdateAction(TBasicAction*) { return false; }
void TcxCustomDataBinding::UpdateDataSource() {}

void TcxCustomDataBinding::DoDataChange() { CallEvent(FOnDataChange); }
void TcxCustomDataBinding::DoDataSetChange() { CallEvent(FOnDataSetChange); }
void TcxCustomDataBinding::DoUpdateData() { CallEvent(FOnUpdateData); }
void TcxCustomDataBinding::DoVisualControlChanged() {}
