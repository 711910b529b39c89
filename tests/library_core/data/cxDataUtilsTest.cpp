#include "library/core/data/cxDataUtils.h"

#include <gtest/gtest.h>

namespace {

// Counts what the binding reports.
class TcxDataBindingTestListener : public TObject {
  SK_CLASS(TcxDataBindingTestListener, TObject)
 public:
  void DataSetChanged() { ++DataSetChanges; }
  int DataSetChanges = 0;
};

class TcxDataBindingTestBinding : public TcxCustomDataBinding {
  SK_CLASS(TcxDataBindingTestBinding, TcxCustomDataBinding)
 public:
  int VisualControlChanges = 0;
  TPersistent* Owner() { return GetOwner(); }

 protected:
  void DoVisualControlChanged() override { ++VisualControlChanges; }
};

struct DataBinding : testing::Test {
  TOwned<TComponent> Control{New<TComponent>(nullptr)};
  TOwned<TComponent> Data{New<TComponent>(nullptr)};
  TOwned<TcxDataBindingTestBinding> Binding{New<TcxDataBindingTestBinding>(Control.get(), Data.get())};
  TOwned<TcxDataBindingTestListener> Listener{New<TcxDataBindingTestListener>()};
};

TEST_F(DataBinding, WithoutDataItIsLiveAndHoldsNothing) {
  EXPECT_EQ(Binding->Owner(), Control.get());
  EXPECT_EQ(Binding->DataComponent(), Data.get());
  EXPECT_TRUE(Binding->IsDataSourceLive());
  EXPECT_FALSE(Binding->IsDataStorage());
  EXPECT_FALSE(Binding->Modified());
  EXPECT_TRUE(Binding->GetStoredValue(evsValue, true).IsNull());
  Binding->SetStoredValue(evsText, Variant(5));
  EXPECT_TRUE(Binding->GetStoredValue(evsText, false).IsNull());
  EXPECT_FALSE(Binding->ExecuteAction(nullptr));
  EXPECT_FALSE(Binding->UpdateAction(nullptr));
}

TEST_F(DataBinding, ReadOnlyReportsChangesOnce) {
  Binding->SetOnDataSetChange(BindEvent<&TcxDataBindingTestListener::DataSetChanged>(Listener.get()));
  Binding->SetReadOnly(false);
  EXPECT_EQ(Listener->DataSetChanges, 0);
  Binding->SetReadOnly(true);
  EXPECT_EQ(Listener->DataSetChanges, 1);
  Binding->SetReadOnly(true);
  EXPECT_EQ(Listener->DataSetChanges, 1);
  // Set by name, as a form description would.
  SetOrdProp(Binding.get(), FindPropInfo(Binding.get(), L"ReadOnly"), 0);
  EXPECT_EQ(Listener->DataSetChanges, 2);
}

TEST_F(DataBinding, ModifyingAsReadOnlySays) {
  for (bool readOnly : {false, true, false}) {
    SCOPED_TRACE(readOnly);
    Binding->SetReadOnly(readOnly);
    EXPECT_EQ(Binding->CanModify(), !readOnly);
    EXPECT_EQ(Binding->SetEditMode(), !readOnly);
    EXPECT_EQ(Binding->IsControlReadOnly(), readOnly);
  }
}

TEST_F(DataBinding, VisualControlChangesAreReported) {
  Binding->SetVisualControl(Control.get());
  Binding->SetVisualControl(Control.get());
  EXPECT_EQ(Binding->VisualControl(), Control.get());
  EXPECT_EQ(Binding->VisualControlChanges, 1);
  Binding->SetVisualControl(nullptr);
  EXPECT_EQ(Binding->VisualControlChanges, 2);
}

TEST_F(DataBinding, PublishedForTheOwnersStream) {
  for (const wchar_t* name : {L"ReadOnly", L"VisualControl", L"OnDataChange", L"OnDataSetChange", L"OnUpdateData"}) {
    SCOPED_TRACE(UTF8Encode(name));
    EXPECT_NE(GetPropInfo(Binding.get(), name), nullptr);
  }
  EXPECT_FALSE(IsStoredProp(Binding.get(), FindPropInfo(Binding.get(), L"ReadOnly")));  // the default
}

}  // namespace
