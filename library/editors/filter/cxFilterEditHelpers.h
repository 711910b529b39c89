// Filter-edit helpers: how an editor kind serves as the value editor of a
// filter condition (which data type a value has, which comparisons make sense
// for it, an editor prepared for entering a filter value), and the registry
// that maps each editor properties class to its helper class.
//
// Classes in this file:
//   TcxFilterDataType                 the kind of value a filter condition compares
//   TcxFilterControlOperator(s)       the comparisons a filter condition may use
//   TcxCustomFilterEditHelper         the base helper: class operations only
//   TcxFilterEditsController          properties class -> helper class
//
// Each editor unit registers its pair at start-up and unregisters it at
// shut-down; the controller goes with its last pair and comes back on the
// next use.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/data/cxDataStorage.h"
#include "library/editors/edit/cxEdit.h"

enum TcxFilterDataType { fdtText, fdtNumeric, fdtDate, fdtTime, fdtLookup, fdtCheck };

enum TcxFilterControlOperator {
  fcoNone,
  fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater, fcoGreaterEqual,
  fcoLike, fcoNotLike, fcoContains, fcoNotContains, fcoBeginsWith, fcoEndsWith,
  fcoBlanks, fcoNonBlanks,
  fcoBetween, fcoNotBetween, fcoInList, fcoNotInList,
  fcoYesterday, fcoToday, fcoTomorrow,
  fcoLast7Days, fcoLastWeek, fcoLast14Days, fcoLastTwoWeeks, fcoLast30Days, fcoLastMonth, fcoLastYear, fcoInPast,
  fcoThisWeek, fcoThisMonth, fcoThisYear,
  fcoNext7Days, fcoNextWeek, fcoNext14Days, fcoNextTwoWeeks, fcoNext30Days, fcoNextMonth, fcoNextYear, fcoInFuture
};
using TcxFilterControlOperators = TSet<TcxFilterControlOperator>;

// A helper has no instances: everything is a class operation, reached with
// cxFilterEditHelper(helper class). Editor kinds derive their helpers and
// override the operations in their TMeta.
class TcxCustomFilterEditHelper : public TObject {
  SK_CLASS(TcxCustomFilterEditHelper, TObject)
 public:
  struct TMeta : TObject::TMeta {
    // Drops the value events a filter editor must not raise (OnClosePopup stays).
    virtual void ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const;
    // Prepares AEdit's properties in force from the editor's properties.
    virtual void InitializeFilterEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties) const;
    virtual bool KeepsDefaultValuesProvider(TcxCustomEditProperties* AEditProperties) const;
    virtual bool EditPropertiesHasButtons() const { return false; }
    // Text without a value type; dates for the date-time kinds; numbers for numeric kinds.
    virtual TcxFilterDataType GetFilterDataType(TcxValueTypeClass AValueTypeClass) const;
    // The editor class a filter condition edits with; nil in the base.
    virtual TClass GetFilterEditClass() const { return nullptr; }
    // V is the editor's value, S its display text, else the value's text.
    virtual void GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties, Variant& V,
                                String& S) const;
    // The comparisons, the text ones only for a string value type.
    virtual TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                                  TcxValueTypeClass AValueTypeClass,
                                                                  bool AExtendedSet = false) const;
    // AProperties become a filter editor's copy of AEditProperties.
    virtual void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                                      bool AHasButtons) const;
    virtual bool IsValueValid(TcxValueTypeClass AValueTypeClass, Variant& AValue) const;
    virtual void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties,
                                const Variant& AValue) const;
    virtual bool UseDisplayValue() const { return false; }

    // An editor of GetFilterEditClass prepared for AEditProperties: the
    // list's shared one, or without a list a new unowned one the caller frees.
    TcxCustomEdit* GetFilterEdit(TcxCustomEditProperties* AEditProperties,
                                 TcxInplaceEditList* AInplaceEditList = nullptr) const;
  };
};

// The class operations of a helper class (EInvalidCast for another class).
inline const TcxCustomFilterEditHelper::TMeta* cxFilterEditHelper(TClass AHelperClass) {
  return ClassMeta<TcxCustomFilterEditHelper>(AHelperClass);
}

// The pairs (editor properties class, filter-edit helper class).
class TcxFilterEditsController : public TcxRegisteredClassList {
  SK_CLASS(TcxFilterEditsController, TcxRegisteredClassList)
 public:
  // Removes the pair; the process-wide controller frees itself with its last
  // pair, so this may be the last call on it.
  void Unregister(TClass APropertiesClass, TClass AHelperClass) override;
  // The helper registered for the class, else for its nearest ancestor that has one; nil for none.
  TClass FindHelper(TClass APropertiesClass);
};

// The process-wide controller, made on first use.
TcxFilterEditsController* GetFilterEditsController();
// Whether the controller lives now, without making it.
bool FilterEditsControllerExists();
// Shut-down: frees the controller if pairs are left.
void cxFilterEditHelpersFinalization();
