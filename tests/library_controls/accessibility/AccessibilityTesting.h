// What the tests of accessibility clients share: child identifiers as
// VARIANTs and BSTR answers freed at the end of a scope.
#pragma once

#include "platform/runtime/System.h"

#include <oleauto.h>

inline VARIANT AccessibleChild(int AId) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = AId;
  return v;
}

struct TBstr {
  BSTR Value = nullptr;
  TBstr() = default;
  ~TBstr() { SysFreeString(Value); }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  String Text() const { return Value ? String(Value, SysStringLen(Value)) : String(); }
};
