// Fuzz input read as the arguments of MSAA calls: little-endian numbers
// taken from the input (zeros once it runs out) and VARIANTs of every type;
// one of the IAccessible calls made with them; and the answers an
// accessibility node may give.
#pragma once

#include "fuzzers/support/FuzzMain.h"

#include <windows.h>

#include <oleacc.h>
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

// The IAccessible calls a driver picks from by number (below
// AccessibleCallCount); its own operations take the numbers above.
inline constexpr std::uint32_t AccessibleCallCount = 15;

struct TAccessibleAnswer {
  HRESULT Result = S_OK;
  bool TakesChild = true;  // hit tests, the focus and the child count take none
  long ChildCount = -1;    // what the child count answered
};

// Makes call AOp (below AccessibleCallCount) with AChild and further
// arguments from the input; every answer it gets back is freed.
inline TAccessibleAnswer CallAccessible(IAccessible* AObject, std::uint32_t AOp, const VARIANT& AChild,
                                        TInputReader& AReader) {
  TAccessibleAnswer answer;
  VARIANT out;
  VariantInit(&out);
  BSTR text = nullptr;
  HRESULT& r = answer.Result;
  switch (AOp) {
    case 0: r = AObject->get_accName(AChild, &text); break;
    case 1: r = AObject->get_accDescription(AChild, &text); break;
    case 2: r = AObject->get_accRole(AChild, &out); break;
    case 3: r = AObject->get_accState(AChild, &out); break;
    case 4: {
      long l, t, w, h;
      r = AObject->accLocation(&l, &t, &w, &h, AChild);
      break;
    }
    case 5: r = AObject->accNavigate(static_cast<long>(AReader.Next(4)), AChild, &out); break;
    case 6:
      answer.TakesChild = false;
      r = AObject->accHitTest(static_cast<long>(AReader.Next(4)), static_cast<long>(AReader.Next(4)), &out);
      break;
    case 7: {
      IDispatch* dispatch = nullptr;
      r = AObject->get_accChild(AChild, &dispatch);
      if (dispatch) dispatch->Release();
      break;
    }
    case 8: r = AObject->get_accDefaultAction(AChild, &text); break;
    case 9: r = AObject->accSelect(static_cast<long>(AReader.Next(1)), AChild); break;
    case 10: r = AObject->get_accKeyboardShortcut(AChild, &text); break;
    case 11: r = AObject->accDoDefaultAction(AChild); break;
    case 12: r = AObject->get_accValue(AChild, &text); break;
    case 13:
      answer.TakesChild = false;
      answer.ChildCount = 0;
      r = AObject->get_accChildCount(&answer.ChildCount);
      break;
    default:
      answer.TakesChild = false;
      r = AObject->get_accFocus(&out);
      break;
  }
  SysFreeString(text);
  VariantClear(&out);
  return answer;
}

// CheckAccessibleAnswer, and a child identifier that is no VT_I4 from 0 to
// AChildren answered with E_INVALIDARG while the owner lives.
inline void CheckAccessibleAnswer(const TAccessibleAnswer& AAnswer, const VARIANT& AChild, long AChildren,
                                  bool AOwnerGone) {
  CheckAccessibleAnswer(AAnswer.Result, AOwnerGone);
  const bool badChild = AChild.vt != VT_I4 || AChild.lVal < 0 || AChild.lVal > AChildren;
  if (AAnswer.TakesChild && badChild && !AOwnerGone && AAnswer.Result != E_INVALIDARG)
    FuzzInvariantBroken("a bad child identifier did not answer E_INVALIDARG");
}
