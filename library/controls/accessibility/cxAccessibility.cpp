#include "library/controls/accessibility/cxAccessibility.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Menus.h"

#include <oleauto.h>

#include <optional>

namespace {

using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

struct TOleAcc {
  TOwnedModule Module;
  TAccessibleObjectFromWindow AccessibleObjectFromWindow = nullptr;
  TLresultFromObject LresultFromObject = nullptr;
};
std::optional<TOleAcc> OleAcc;

HRESULT AnswerString(const String& AText, BSTR* AResult) {
  *AResult = nullptr;
  if (AText.empty()) return S_FALSE;
  *AResult = SysAllocStringLen(AText.data(), static_cast<UINT>(AText.size()));
  return *AResult ? S_OK : E_OUTOFMEMORY;
}

void SetInteger(VARIANT& AResult, int AValue) {
  VariantInit(&AResult);
  AResult.vt = VT_I4;
  AResult.lVal = AValue;
}

// The key after the caption's accelerator mark, 0 when none.
wchar_t CaptionHotKey(const String& ACaption) {
  for (std::size_t i = 0; i + 1 < ACaption.size(); ++i) {
    if (ACaption[i] != L'&') continue;
    if (ACaption[i + 1] != L'&') return ACaption[i + 1];
    ++i;
  }
  return 0;
}

HRESULT SingleRuntimeId(int AUniqueID, SAFEARRAY** AResult) {
  *AResult = SafeArrayCreateVector(VT_I4, 0, 2);
  if (!*AResult) return E_OUTOFMEMORY;
  LONG index = 0;
  LONG value = cxUiaAppendRuntimeId;
  SafeArrayPutElement(*AResult, &index, &value);
  index = 1;
  value = AUniqueID;
  SafeArrayPutElement(*AResult, &index, &value);
  return S_OK;
}

// An exception inside an interface call answers E_FAIL: nothing crosses
// into the client.
template <class F>
HRESULT Contained(F&& AAnswer) {
  try {
    return AAnswer();
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

bool IsAccessibilitySupported() { return OleAcc && OleAcc->LresultFromObject; }

LRESULT ReturnAccessibleObject(WPARAM AWParam, TcxAccessibilityHelper* ANode) {
  if (!ANode || !IsAccessibilitySupported()) return E_NOINTERFACE;
  return OleAcc->LresultFromObject(__uuidof(IAccessible), AWParam, static_cast<IcxAccessible*>(ANode));
}

void NotifyAccessibilityHelperRemoved(TComPtr<IcxAccessibilityHelper>& ANode) {
  if (ANode) ANode->OwnerObjectDestroyed();
  ANode = nullptr;
}

TComPtr<IcxAccessible> cxAccessibleObjectFromWindow(HWND AWindow, DWORD AObjectID) {
  TComPtr<IcxAccessible> result;
  if (OleAcc && OleAcc->AccessibleObjectFromWindow)
    OleAcc->AccessibleObjectFromWindow(AWindow, AObjectID, __uuidof(IAccessible), result.ReceiveVoid());
  return result;
}

void cxAccessibilityInitialization() {
  OleAcc.emplace();
  OleAcc->Module.Reset(LoadLibraryW(L"oleacc.dll"));
  if (!OleAcc->Module) return;
  OleAcc->AccessibleObjectFromWindow = reinterpret_cast<TAccessibleObjectFromWindow>(
      reinterpret_cast<void*>(GetProcAddress(OleAcc->Module.Get(), "AccessibleObjectFromWindow")));
  OleAcc->LresultFromObject = reinterpret_cast<TLresultFromObject>(
      reinterpret_cast<void*>(GetProcAddress(OleAcc->Module.Get(), "LresultFromObject")));
}

void cxAccessibilityFinalization() { OleAcc.reset(); }

// ---------------------------------------------------------------------------
// TcxAccessibilityHelper: the node's own operations

void TcxAccessibilityHelper::Create(TObject* AOwnerObject) {
  inherited::Create();
  FOwnerObject = AOwnerObject;
  FIsOwnerObjectLive = true;
}

void TcxAccessibilityHelper::Destroy() {
  FInternalChild = nullptr;
  inherited::Destroy();
}

bool TcxAccessibilityHelper::ChildIsSimpleElement(int) {
  throw EdxException(L"The accessible object has no child elements");
}

String TcxAccessibilityHelper::GetValue(int) { throw EdxException(L"The accessible object has no value"); }

int TcxAccessibilityHelper::GetNextSelectableChildIndex(int AStartIndex, bool AGoForward) {
  const int count = ChildCount();
  if (AStartIndex >= count) throw EdxException(L"Child index out of range");
  int index = AStartIndex < 0 ? (AGoForward ? -1 : count) : AStartIndex;
  for (;;) {
    index += AGoForward ? 1 : -1;
    if (index < 0 || index >= count) return -1;
    if (TcxAccessibilityHelper* child = GetChild(index); child && child->Selectable()) return index;
  }
}

bool TcxAccessibilityHelper::GetFocusedObject(bool& AIsChild, int& AChildIndex) {
  AIsChild = false;
  AChildIndex = 0;
  for (int i = 0; i < ChildCount(); ++i) {
    bool childIsChild = false;
    int childIndex = 0;
    const bool found = ChildIsSimpleElement(i) ? (GetState(i + 1) & STATE_SYSTEM_FOCUSED) != 0
                                               : GetChild(i)->GetFocusedObject(childIsChild, childIndex);
    if (found) {
      AIsChild = true;
      AChildIndex = i;
      return true;
    }
  }
  return (GetState(CHILDID_SELF) & STATE_SYSTEM_FOCUSED) != 0;
}

int TcxAccessibilityHelper::GetChildIndex(TcxAccessibilityHelper* AChild) {
  for (int i = 0; i < ChildCount(); ++i)
    if (!ChildIsSimpleElement(i) && GetChild(i) == AChild) return i;
  return 0;
}

int TcxAccessibilityHelper::GetHitTest(int X, int Y, int& AChildIndex) {
  AChildIndex = 0;
  const TPoint p(X, Y);
  int result = GetScreenBounds(CHILDID_SELF).Contains(p) ? 1 : 0;
  for (int i = 0; i < ChildCount(); ++i) {
    const TRect bounds = ChildIsSimpleElement(i) ? GetScreenBounds(i + 1) : GetChild(i)->GetScreenBounds(CHILDID_SELF);
    if (bounds.Contains(p)) {
      AChildIndex = i;
      return 2;
    }
  }
  return result;
}

void TcxAccessibilityHelper::GetKeyboardAccessParameters(int, WORD& AShortCut, String& ACaption) {
  AShortCut = 0;
  ACaption.clear();
}

int TcxAccessibilityHelper::NavigateToChild(int AIndex, TcxAccessibilityNavigationDirection ADirection) {
  if (ADirection == andUp) return std::max(AIndex - 1, 0);
  if (ADirection == andDown) return std::min(AIndex + 1, ChildCount() - 1);
  return AIndex;
}

void TcxAccessibilityHelper::GetPropertyValue(PROPERTYID APropertyID, int AChildID, VARIANT& AValue) {
  VariantInit(&AValue);
  if (APropertyID == UIA_IsContentElementPropertyId && AChildID == CHILDID_SELF && ChildCount() > 0) {
    AValue.vt = VT_BOOL;
    AValue.boolVal = VARIANT_TRUE;
  }
}

// ---------------------------------------------------------------------------
// COM plumbing

HRESULT TcxAccessibilityHelper::QueryInterface(REFIID AIID, void** AObject) {
  if (!AObject) return E_POINTER;
  *AObject = nullptr;
  if (AIID == IID_IUnknown || AIID == __uuidof(IDispatch) || AIID == __uuidof(IAccessible))
    *AObject = static_cast<IcxAccessible*>(this);
  else if (AIID == __uuidof(IOleWindow))
    *AObject = static_cast<IOleWindow*>(this);
  else if (AIID == __uuidof(IServiceProvider))
    *AObject = static_cast<IServiceProvider*>(this);
  else if (AIID == __uuidof(IAccessibleEx))
    *AObject = static_cast<IdxAccessibleEx*>(this);
  else if (AIID == __uuidof(IRawElementProviderSimple))
    *AObject = static_cast<IdxRawElementProviderSimple*>(this);
  else if (AIID == __uuidof(IcxAccessibilityHelper))
    *AObject = static_cast<IcxAccessibilityHelper*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TcxAccessibilityHelper::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&FRefCount)); }

ULONG TcxAccessibilityHelper::Release() {
  const long count = InterlockedDecrement(&FRefCount);
  if (count == 0) Free();
  return static_cast<ULONG>(count);
}

template <class F>
HRESULT TcxAccessibilityHelper::Guarded(F&& AAnswer) {
  if (!FIsOwnerObjectLive) return DISP_E_MEMBERNOTFOUND;
  return Contained(std::forward<F>(AAnswer));
}

HRESULT TcxAccessibilityHelper::ChildID(const VARIANT& AChild, int AMaximum, int& AChildID) {
  if (AChild.vt != VT_I4 || AChild.lVal < 0 || AChild.lVal > AMaximum) return E_INVALIDARG;
  AChildID = AChild.lVal;
  return S_OK;
}

void TcxAccessibilityHelper::ChildToVariant(int AIndex, VARIANT& AResult) {
  if (ChildIsSimpleElement(AIndex)) {
    SetInteger(AResult, AIndex + 1);
    return;
  }
  VariantInit(&AResult);
  AResult.vt = VT_DISPATCH;
  AResult.pdispVal = static_cast<IcxAccessible*>(GetChild(AIndex));
  AResult.pdispVal->AddRef();
}

HRESULT TcxAccessibilityHelper::GetTypeInfoCount(UINT* ACount) {
  if (ACount) *ACount = 0;
  return E_NOTIMPL;
}
HRESULT TcxAccessibilityHelper::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT TcxAccessibilityHelper::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT TcxAccessibilityHelper::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IAccessible

HRESULT TcxAccessibilityHelper::get_accParent(IDispatch** AParent) {
  if (!AParent) return E_POINTER;
  *AParent = nullptr;
  return Guarded([&]() -> HRESULT {
    if (TcxAccessibilityHelper* parent = Parent()) {
      *AParent = static_cast<IcxAccessible*>(parent);
      (*AParent)->AddRef();
      return S_OK;
    }
    const HWND window = OwnerObjectWindow();
    if (!window) return S_FALSE;
    const bool isChild = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
    TComPtr<IcxAccessible> object =
        cxAccessibleObjectFromWindow(isChild ? GetParent(window) : GetDesktopWindow(), static_cast<DWORD>(OBJID_CLIENT));
    if (!object) return S_FALSE;
    *AParent = object.Detach();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accChildCount(long* ACount) {
  if (!ACount) return E_POINTER;
  *ACount = 0;
  return Guarded([&] {
    *ACount = ChildCount() + (FInternalChild ? 1 : 0);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accChild(VARIANT AChild, IDispatch** ADispatch) {
  if (!ADispatch) return E_POINTER;
  *ADispatch = nullptr;
  return Guarded([&]() -> HRESULT {
    if (AChild.vt != VT_I4) return E_INVALIDARG;
    int id = AChild.lVal;
    if (FInternalChild) {
      if (id == 1) {
        *ADispatch = TComPtr<IcxAccessible>(FInternalChild).Detach();
        return S_OK;
      }
      if (id > 1) --id;
    }
    if (id < 1 || id > ChildCount()) return E_INVALIDARG;
    if (ChildIsSimpleElement(id - 1)) return S_FALSE;
    TcxAccessibilityHelper* child = GetChild(id - 1);
    if (!child) return S_FALSE;
    *ADispatch = static_cast<IcxAccessible*>(child);
    (*ADispatch)->AddRef();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accName(VARIANT AChild, BSTR* AName) {
  if (!AName) return E_POINTER;
  *AName = nullptr;
  return Guarded([&] {
    int id = 0;
    const HRESULT r = ChildID(AChild, id);
    return FAILED(r) ? r : AnswerString(GetName(id), AName);
  });
}

HRESULT TcxAccessibilityHelper::get_accValue(VARIANT AChild, BSTR* AValue) {
  if (!AValue) return E_POINTER;
  *AValue = nullptr;
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(id, aopValue)) return S_FALSE;
    const String value = GetValue(id);
    *AValue = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accDescription(VARIANT AChild, BSTR* ADescription) {
  if (!ADescription) return E_POINTER;
  *ADescription = nullptr;
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    return Supports(id, aopDescription) ? AnswerString(GetDescription(id), ADescription) : S_FALSE;
  });
}

HRESULT TcxAccessibilityHelper::get_accRole(VARIANT AChild, VARIANT* ARole) {
  if (!ARole) return E_POINTER;
  VariantInit(ARole);
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    SetInteger(*ARole, GetRole(id));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accState(VARIANT AChild, VARIANT* AState) {
  if (!AState) return E_POINTER;
  VariantInit(AState);
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    SetInteger(*AState, GetState(id));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accHelp(VARIANT, BSTR* AHelp) {
  if (AHelp) *AHelp = nullptr;
  return Guarded([] { return S_FALSE; });
}

HRESULT TcxAccessibilityHelper::get_accHelpTopic(BSTR* AHelpFile, VARIANT, long* ATopic) {
  if (AHelpFile) *AHelpFile = nullptr;
  if (ATopic) *ATopic = 0;
  return Guarded([] { return S_FALSE; });
}

HRESULT TcxAccessibilityHelper::get_accKeyboardShortcut(VARIANT AChild, BSTR* AShortcut) {
  if (!AShortcut) return E_POINTER;
  *AShortcut = nullptr;
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(id, aopShortcut)) return S_FALSE;
    WORD shortCut = 0;
    String caption;
    GetKeyboardAccessParameters(id, shortCut, caption);
    if (shortCut) return AnswerString(ShortCutToText(shortCut), AShortcut);
    const wchar_t key = CaptionHotKey(caption);
    return key ? AnswerString(L"Alt+" + String(1, static_cast<wchar_t>(towupper(key))), AShortcut) : S_FALSE;
  });
}

HRESULT TcxAccessibilityHelper::get_accFocus(VARIANT* AChild) {
  if (!AChild) return E_POINTER;
  VariantInit(AChild);
  return Guarded([&]() -> HRESULT {
    bool isChild = false;
    int index = 0;
    if (!Supports(CHILDID_SELF, aopFocus) || !GetFocusedObject(isChild, index)) return S_FALSE;
    if (isChild)
      ChildToVariant(index, *AChild);
    else
      SetInteger(*AChild, CHILDID_SELF);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accSelection(VARIANT* AChildren) {
  if (!AChildren) return E_POINTER;
  VariantInit(AChildren);
  return Guarded([] { return S_FALSE; });
}

HRESULT TcxAccessibilityHelper::get_accDefaultAction(VARIANT AChild, BSTR* AAction) {
  if (!AAction) return E_POINTER;
  *AAction = nullptr;
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    return Supports(id, aopDefaultAction) ? AnswerString(GetDefaultActionDescription(id), AAction) : S_FALSE;
  });
}

HRESULT TcxAccessibilityHelper::accSelect(long AFlags, VARIANT AChild) {
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(CHILDID_SELF, aopSelect)) return S_FALSE;
    SelectChild(AFlags, id);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accLocation(long* ALeft, long* ATop, long* AWidth, long* AHeight, VARIANT AChild) {
  if (!ALeft || !ATop || !AWidth || !AHeight) return E_POINTER;
  *ALeft = *ATop = *AWidth = *AHeight = 0;
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(id, aopLocation)) return S_FALSE;
    const TRect r = GetScreenBounds(id);
    *ALeft = r.Left;
    *ATop = r.Top;
    *AWidth = r.Width();
    *AHeight = r.Height();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accNavigate(long ANavDir, VARIANT AStart, VARIANT* AEnd) {
  if (!AEnd) return E_POINTER;
  VariantInit(AEnd);
  return Guarded([&]() -> HRESULT {
    int start = 0;
    if (const HRESULT r = ChildID(AStart, start); FAILED(r)) return r;
    if (ANavDir == NAVDIR_FIRSTCHILD || ANavDir == NAVDIR_LASTCHILD) {
      if (start != CHILDID_SELF) return E_INVALIDARG;
      if (!Supports(CHILDID_SELF, aopLocation)) return DISP_E_MEMBERNOTFOUND;
      if (ChildCount() == 0) return S_FALSE;
      SetInteger(*AEnd, ANavDir == NAVDIR_FIRSTCHILD ? 1 : ChildCount());
      return S_OK;
    }
    if (start == CHILDID_SELF) {
      TcxAccessibilityHelper* parent = Parent();
      if (!parent || !parent->IsOwnerObjectLive() || !parent->Supports(CHILDID_SELF, aopLocation)) return S_FALSE;
      VARIANT self;
      SetInteger(self, parent->GetChildIndex(this) + 1);
      return parent->accNavigate(ANavDir, self, AEnd);
    }
    if (!Supports(CHILDID_SELF, aopLocation)) return DISP_E_MEMBERNOTFOUND;
    TcxAccessibilityNavigationDirection direction = andUp;
    switch (ANavDir) {
      case NAVDIR_LEFT: direction = andLeft; break;
      case NAVDIR_UP: direction = andUp; break;
      case NAVDIR_RIGHT: direction = andRight; break;
      case NAVDIR_DOWN: direction = andDown; break;
      case NAVDIR_PREVIOUS: direction = andPrev; break;
      case NAVDIR_NEXT: direction = andNext; break;
      default: break;
    }
    const int target = NavigateToChild(start - 1, direction);
    if (target == start - 1) return S_FALSE;
    SetInteger(*AEnd, target + 1);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accHitTest(long X, long Y, VARIANT* AChild) {
  if (!AChild) return E_POINTER;
  VariantInit(AChild);
  return Guarded([&]() -> HRESULT {
    if (!Supports(CHILDID_SELF, aopLocation)) return DISP_E_MEMBERNOTFOUND;
    TComPtr<IDispatch> foreign;
    if (GetAccessibleAtPoint(X, Y, foreign) && foreign) {
      AChild->vt = VT_DISPATCH;
      AChild->pdispVal = foreign.Detach();
      return S_OK;
    }
    int index = 0;
    switch (GetHitTest(X, Y, index)) {
      case 1:
        SetInteger(*AChild, CHILDID_SELF);
        return S_OK;
      case 2:
        ChildToVariant(index, *AChild);
        return S_OK;
      default:
        return FInternalChild ? FInternalChild->accHitTest(X, Y, AChild) : S_FALSE;
    }
  });
}

HRESULT TcxAccessibilityHelper::accDoDefaultAction(VARIANT AChild) {
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(id, aopDefaultAction)) return S_FALSE;
    DoDefaultAction(id);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::put_accName(VARIANT, BSTR) {
  return Guarded([] { return E_NOTIMPL; });
}

HRESULT TcxAccessibilityHelper::put_accValue(VARIANT AChild, BSTR AValue) {
  return Guarded([&]() -> HRESULT {
    int id = 0;
    if (const HRESULT r = ChildID(AChild, id); FAILED(r)) return r;
    if (!Supports(id, aopValue)) return S_FALSE;
    SetValue(id, AValue ? String(AValue, SysStringLen(AValue)) : String());
    return S_OK;
  });
}

// ---------------------------------------------------------------------------
// IOleWindow, IServiceProvider

HRESULT TcxAccessibilityHelper::GetWindow(HWND* AWindow) {
  if (!AWindow) return E_POINTER;
  *AWindow = nullptr;
  return Guarded([&] {
    *AWindow = OwnerObjectWindow();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::QueryService(REFGUID AService, REFIID AIID, void** AObject) {
  if (!AObject) return E_INVALIDARG;
  *AObject = nullptr;
  return Contained([&]() -> HRESULT {
    if (FIsOwnerObjectLive && IsUIAutomationSupported() && AService == __uuidof(IAccessibleEx))
      return QueryInterface(AIID, AObject);
    return E_NOINTERFACE;
  });
}

// ---------------------------------------------------------------------------
// The UI Automation bridge

HRESULT TcxAccessibilityHelper::GetObjectForChild(long AChildID, IAccessibleEx** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = nullptr;
  return Contained([&] {
    if (FIsOwnerObjectLive && AChildID > 0 && AChildID <= ChildCount() && ChildIsSimpleElement(AChildID - 1))
      *AResult = New<TdxChildAccessibleExPart>(this, static_cast<int>(AChildID));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::GetIAccessiblePair(IAccessible** AAccessible, long* AChildID) {
  if (!AAccessible || !AChildID) return E_POINTER;
  *AAccessible = static_cast<IcxAccessible*>(this);
  AddRef();
  *AChildID = CHILDID_SELF;
  return S_OK;
}

HRESULT TcxAccessibilityHelper::GetRuntimeId(SAFEARRAY** AResult) {
  if (!AResult) return E_POINTER;
  return Contained([&] { return SingleRuntimeId(GetUniqueID(CHILDID_SELF), AResult); });
}

HRESULT TcxAccessibilityHelper::ConvertReturnedElement(IRawElementProviderSimple*,
                                                                     IAccessibleEx** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = static_cast<IdxAccessibleEx*>(this);
  AddRef();
  return S_OK;
}

HRESULT TcxAccessibilityHelper::get_ProviderOptions(ProviderOptions* AResult) {
  if (!AResult) return E_POINTER;
  *AResult = ProviderOptions_ServerSideProvider;
  return S_OK;
}

HRESULT TcxAccessibilityHelper::GetPatternProvider(PATTERNID APatternID, IUnknown** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = nullptr;
  return Contained([&] {
    TComPtr<IUnknown> provider;
    if (!FIsOwnerObjectLive || !GetPatternProvider(APatternID, provider, CHILDID_SELF) || !provider) return S_FALSE;
    *AResult = provider.Detach();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::GetPropertyValue(PROPERTYID APropertyID, VARIANT* AResult) {
  if (!AResult) return E_POINTER;
  VariantInit(AResult);
  return Contained([&] {
    if (FIsOwnerObjectLive) GetPropertyValue(APropertyID, CHILDID_SELF, *AResult);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_HostRawElementProvider(IRawElementProviderSimple** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = nullptr;
  return S_OK;
}

// ---------------------------------------------------------------------------
// TdxChildAccessibleExPart

void TdxChildAccessibleExPart::Create(TcxAccessibilityHelper* AParent, int AIndex) {
  inherited::Create();
  FRefCount = 1;  // the reference handed to the caller
  FIAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(AParent));
  FIndex = AIndex;
}

void TdxChildAccessibleExPart::Destroy() {
  FIAccessibilityHelper = nullptr;
  inherited::Destroy();
}

HRESULT TdxChildAccessibleExPart::QueryInterface(REFIID AIID, void** AObject) {
  if (!AObject) return E_POINTER;
  *AObject = nullptr;
  if (AIID == IID_IUnknown || AIID == __uuidof(IAccessibleEx))
    *AObject = static_cast<IdxAccessibleEx*>(this);
  else if (AIID == __uuidof(IRawElementProviderSimple))
    *AObject = static_cast<IdxRawElementProviderSimple*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TdxChildAccessibleExPart::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&FRefCount)); }

ULONG TdxChildAccessibleExPart::Release() {
  const long count = InterlockedDecrement(&FRefCount);
  if (count == 0) Free();
  return static_cast<ULONG>(count);
}

HRESULT TdxChildAccessibleExPart::GetObjectForChild(long, IAccessibleEx** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = nullptr;
  return S_OK;
}

HRESULT TdxChildAccessibleExPart::GetIAccessiblePair(IAccessible** AAccessible, long* AChildID) {
  if (!AAccessible || !AChildID) return E_POINTER;
  *AAccessible = static_cast<IcxAccessible*>(FIAccessibilityHelper->GetHelper());
  (*AAccessible)->AddRef();
  *AChildID = FIndex;
  return S_OK;
}

HRESULT TdxChildAccessibleExPart::GetRuntimeId(SAFEARRAY** AResult) {
  if (AResult) *AResult = nullptr;
  return S_OK;
}

HRESULT TdxChildAccessibleExPart::ConvertReturnedElement(IRawElementProviderSimple*,
                                                                       IAccessibleEx** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = static_cast<IdxAccessibleEx*>(this);
  AddRef();
  return S_OK;
}

HRESULT TdxChildAccessibleExPart::get_ProviderOptions(ProviderOptions* AResult) {
  if (AResult) *AResult = ProviderOptions_ServerSideProvider;
  return S_OK;
}

HRESULT TdxChildAccessibleExPart::GetPatternProvider(PATTERNID APatternID, IUnknown** AResult) {
  if (!AResult) return E_POINTER;
  *AResult = nullptr;
  return Contained([&] {
    TcxAccessibilityHelper* parent = FIAccessibilityHelper->GetHelper();
    TComPtr<IUnknown> provider;
    if (!parent->IsOwnerObjectLive() || !parent->GetPatternProvider(APatternID, provider, FIndex) || !provider)
      return S_FALSE;
    *AResult = provider.Detach();
    return S_OK;
  });
}

HRESULT TdxChildAccessibleExPart::GetPropertyValue(PROPERTYID APropertyID, VARIANT* AResult) {
  if (!AResult) return E_POINTER;
  VariantInit(AResult);
  return Contained([&] {
    TcxAccessibilityHelper* parent = FIAccessibilityHelper->GetHelper();
    if (parent->IsOwnerObjectLive()) parent->GetPropertyValue(APropertyID, FIndex, *AResult);
    return S_OK;
  });
}

HRESULT TdxChildAccessibleExPart::get_HostRawElementProvider(IRawElementProviderSimple** AResult) {
  if (AResult) *AResult = nullptr;
  return S_OK;
}

// ---------------------------------------------------------------------------
// Pattern providers

namespace {

template <class T>
HRESULT Answer(T* AResult, T AValue) {
  if (!AResult) return E_POINTER;
  *AResult = AValue;
  return S_OK;
}

}  // namespace

HRESULT TdxScrollItemProvider::ScrollIntoView() {
  return Contained([this] {
    DoScrollIntoView();
    return S_OK;
  });
}

HRESULT TdxRangeValueProvider::SetValue(double AValue) {
  return Contained([&] {
    DoSetValue(AValue);
    return S_OK;
  });
}
HRESULT TdxRangeValueProvider::get_Value(double* AValue) {
  return Contained([&] { return Answer(AValue, GetValue()); });
}
HRESULT TdxRangeValueProvider::get_IsReadOnly(BOOL* AValue) {
  return Contained([&] { return Answer(AValue, static_cast<BOOL>(GetIsReadOnly() ? 1 : 0)); });
}
HRESULT TdxRangeValueProvider::get_Maximum(double* AValue) {
  return Contained([&] { return Answer(AValue, GetMaximum()); });
}
HRESULT TdxRangeValueProvider::get_Minimum(double* AValue) {
  return Contained([&] { return Answer(AValue, GetMinimum()); });
}
HRESULT TdxRangeValueProvider::get_LargeChange(double* AValue) {
  return Contained([&] { return Answer(AValue, GetLargeChange()); });
}
HRESULT TdxRangeValueProvider::get_SmallChange(double* AValue) {
  return Contained([&] { return Answer(AValue, GetSmallChange()); });
}

HRESULT TdxExpandCollapseProvider::Expand() {
  return Contained([this] {
    DoExpand();
    return S_OK;
  });
}
HRESULT TdxExpandCollapseProvider::Collapse() {
  return Contained([this] {
    DoCollapse();
    return S_OK;
  });
}
HRESULT TdxExpandCollapseProvider::get_ExpandCollapseState(int* AState) {
  return Contained([&] { return Answer(AState, GetExpandCollapseState()); });
}

HRESULT TdxToggleProvider::Toggle() {
  return Contained([this] {
    DoToggle();
    return S_OK;
  });
}
HRESULT TdxToggleProvider::get_ToggleState(int* AState) {
  return Contained([&] { return Answer(AState, GetToggleState()); });
}
