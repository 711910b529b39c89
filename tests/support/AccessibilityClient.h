// What the tests of accessibility clients share: a window's MSAA node,
// child identifiers as VARIANTs and BSTR answers freed at the end of a scope.
#pragma once

#include "platform/runtime/ComPtr.h"
#include "platform/runtime/System.h"

#include <oleacc.h>
#include <oleauto.h>

// The client node of a window, as an MSAA client gets it (nil on failure).
inline TComPtr<IAccessible> AccessibleClientOf(HWND AWnd) {
  TComPtr<IAccessible> client;
  if (AccessibleObjectFromWindow(AWnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 client.ReceiveVoid()) != S_OK)
    return {};
  return client;
}

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

// A BSTR answer as text, freed.
inline String TakeBstr(BSTR AValue) {
  const String result(AValue ? AValue : L"", AValue ? SysStringLen(AValue) : 0);
  SysFreeString(AValue);
  return result;
}
