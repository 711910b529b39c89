// Fuzz input read as the arguments of MSAA calls: little-endian numbers
// taken from the input (zeros once it runs out) and VARIANTs of every type;
// and the answers an accessibility node may give.
#pragma once

#include "fuzzers/support/FuzzMain.h"

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

class TInputReader {
 public:
  explicit TInputReader(const std::string& AInput) : FInput(AInput) {}
  bool More() const { return FAt < FInput.size(); }
  std::uint32_t Next(int ABytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < ABytes; ++i)
      value |= static_cast<std::uint32_t>(FAt < FInput.size() ? static_cast<unsigned char>(FInput[FAt++]) : 0)
               << (8 * i);
    return value;
  }

 private:
  const std::string& FInput;
  std::size_t FAt = 0;
};

// A VARIANT of a type picked from the input, its bits from the input too.
inline VARIANT MakeVariant(TInputReader& AReader) {
  static constexpr VARTYPE Types[] = {VT_EMPTY, VT_NULL, VT_I2,  VT_I4,  VT_R4,  VT_R8,   VT_BSTR,     VT_BOOL,    VT_I1,
                                      VT_UI1,   VT_UI2,  VT_UI4, VT_I8,  VT_UI8, VT_INT, VT_UINT, VT_DISPATCH, VT_UNKNOWN};
  VARIANT v;
  VariantInit(&v);
  const VARTYPE type = Types[AReader.Next(1) % std::size(Types)];
  const std::uint32_t bits = AReader.Next(4);
  v.vt = type;
  // Pointer-holding types carry nil: the node must not dereference them.
  if (type == VT_BSTR || type == VT_DISPATCH || type == VT_UNKNOWN) v.byref = nullptr;
  else std::memcpy(&v.lVal, &bits, sizeof(bits));
  return v;
}

// Every answer is one of the node's set; once the node's owner is freed,
// every call fails as a node without an object does.
inline void CheckAccessibleAnswer(HRESULT AResult, bool AOwnerGone) {
  switch (AResult) {
    case S_OK: case S_FALSE: case E_INVALIDARG: case E_FAIL: case E_NOTIMPL: case DISP_E_MEMBERNOTFOUND:
      break;
    default:
      FuzzInvariantBroken("an answer outside the node's set");
  }
  if (AOwnerGone && AResult != DISP_E_MEMBERNOTFOUND && AResult != E_NOTIMPL)
    FuzzInvariantBroken("a call after the owner was freed did not fail with DISP_E_MEMBERNOTFOUND");
}
