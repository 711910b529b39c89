// Accessibility: the node through which a control describes itself to
// screen readers (Active Accessibility) and to the UI Automation bridge.
//
// Classes in this file:
//   IcxAccessible, IdxAccessibleEx, IdxRawElementProviderSimple,
//   IdxScrollItemProvider, IdxRangeValueProvider, IdxExpandCollapseProvider,
//   IdxToggleProvider                the system's interfaces under the library's names
//   IcxAccessibilityHelper           gives the node behind an interface and
//                                    carries the owner-gone notice
//   TcxAccessibilityHelper           a node: the object itself (child 0) and
//                                    its children, nodes of their own or
//                                    simple elements the node describes
//   TdxChildAccessibleExPart         the bridge's element for a simple child
//   TdxScrollItemProvider, TdxRangeValueProvider, TdxExpandCollapseProvider,
//   TdxToggleProvider                the automation patterns over virtual operations
//   ReturnAccessibleObject, NotifyAccessibilityHelperRemoved ...
//                                    what controls call
//
// Nodes are real COM objects with reference counts: the control holds one
// reference, clients hold theirs, and the last release frees the node. Once
// the control is gone the node answers DISP_E_MEMBERNOTFOUND to every call
// instead of touching it. Every interface call answers an HRESULT: a bad
// child identifier (negative, beyond the children, or not a VT_I4) gives
// E_INVALIDARG, and an exception raised inside becomes E_FAIL, never
// crossing into the client. UI thread only.
#pragma once

#include "platform/runtime/ComPtr.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Types.h"

#include <oleacc.h>
#include <servprov.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

using IcxAccessible = IAccessible;
using IdxAccessibleEx = IAccessibleEx;
using IdxRawElementProviderSimple = IRawElementProviderSimple;

// The scroll-item pattern of UI Automation (the system headers here lack it).
struct IdxScrollItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ScrollIntoView() = 0;
};
__CRT_UUID_DECL(IdxScrollItemProvider, 0x2360C714, 0x4BF1, 0x4B26, 0xBA, 0x65, 0x9B, 0x21, 0x31, 0x61, 0x27, 0xEB)

struct IdxRangeValueProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(double AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(double* AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Maximum(double* AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Minimum(double* AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LargeChange(double* AValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SmallChange(double* AValue) = 0;
};
__CRT_UUID_DECL(IdxRangeValueProvider, 0x36DC7AEF, 0x33E6, 0x4691, 0xAF, 0xE1, 0x2B, 0xE7, 0x27, 0x4B, 0x3D, 0x33)

struct IdxExpandCollapseProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Expand() = 0;
  virtual HRESULT STDMETHODCALLTYPE Collapse() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(int* AState) = 0;
};
__CRT_UUID_DECL(IdxExpandCollapseProvider, 0xD847D3A5, 0xCAB0, 0x4A98, 0x8C, 0x32, 0xEC, 0xB4, 0x5C, 0x59, 0xAD, 0x24)

struct IdxToggleProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ToggleState(int* AState) = 0;
};
__CRT_UUID_DECL(IdxToggleProvider, 0x56D00BD0, 0xC4F4, 0x433C, 0xA8, 0x36, 0x1A, 0x52, 0xA5, 0x7E, 0x08, 0x92)

class TcxAccessibilityHelper;

struct IcxAccessibilityHelper : public IUnknown {
  virtual TcxAccessibilityHelper* STDMETHODCALLTYPE GetHelper() = 0;
  virtual void STDMETHODCALLTYPE OwnerObjectDestroyed() = 0;
};
__CRT_UUID_DECL(IcxAccessibilityHelper, 0xD4890860, 0x09B2, 0x4648, 0xBD, 0x9E, 0xDF, 0xFB, 0xD1, 0x40, 0xE5, 0xF1)

// The first element of a runtime identifier that the host completes.
constexpr int cxUiaAppendRuntimeId = 3;

// What a node supports for a child identifier (GetSupportedProperties).
enum : int {
  aopDefaultAction = 0x01,
  aopDescription = 0x02,
  aopFocus = 0x04,
  aopLocation = 0x08,  // hit test, location, navigation, child count
  aopShortcut = 0x10,
  aopValue = 0x20,
  aopSelect = 0x40,
};

// Navigation codes NavigateToChild receives.
enum TcxAccessibilityNavigationDirection { andLeft, andUp, andRight, andDown, andPrev, andNext };

class TcxAccessibilityHelper : public TObject,
                               public IcxAccessible,
                               public IOleWindow,
                               public IServiceProvider,
                               public IdxAccessibleEx,
                               public IdxRawElementProviderSimple,
                               public IcxAccessibilityHelper {
  SK_CLASS(TcxAccessibilityHelper, TObject)
 public:
  virtual void Create(TObject* AOwnerObject);
  void Destroy() override;

  TObject* OwnerObject() const { return FOwnerObject; }
  bool IsOwnerObjectLive() const { return FIsOwnerObjectLive; }
  bool Visible() { return (GetState(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE) == 0; }
  // The next child after (AGoForward) or before AStartIndex whose node is
  // selectable, or -1. A negative start is before the first (or after the
  // last) child.
  int GetNextSelectableChildIndex(int AStartIndex, bool AGoForward);
  // An extra child counted as child 1 (the system's object of an inner window).
  void SetInternalChild(IcxAccessible* AChild) { FInternalChild = TComPtr<IcxAccessible>(AChild); }

  // The node's part of the accessible tree; descendants answer for their
  // children and themselves.
  void STDMETHODCALLTYPE OwnerObjectDestroyed() override { FIsOwnerObjectLive = false; }
  virtual bool ChildIsSimpleElement(int AIndex);
  virtual void DoDefaultAction(int /*AChildID*/) {}
  virtual void SelectChild(long /*AFlags*/, int /*AChildID*/) {}
  virtual bool GetFocusedObject(bool& AIsChild, int& AChildIndex);
  virtual TcxAccessibilityHelper* GetChild(int /*AIndex*/) { return nullptr; }
  virtual int ChildCount() { return 0; }
  virtual int GetChildIndex(TcxAccessibilityHelper* AChild);
  virtual String GetDefaultActionDescription(int /*AChildID*/) { return String(); }
  virtual String GetDescription(int /*AChildID*/) { return String(); }
  // 1: the point is on the object itself, 2: on the child AChildIndex, 0: neither.
  virtual int GetHitTest(int X, int Y, int& AChildIndex);
  virtual bool GetAccessibleAtPoint(int /*X*/, int /*Y*/, TComPtr<IDispatch>& /*AObject*/) { return false; }
  virtual void GetKeyboardAccessParameters(int AChildID, WORD& AShortCut, String& ACaption);
  virtual String GetName(int /*AChildID*/) { return String(); }
  virtual HWND OwnerObjectWindow() { return nullptr; }
  virtual TcxAccessibilityHelper* Parent() { return nullptr; }
  virtual int GetRole(int /*AChildID*/) { return 0; }
  virtual bool Selectable() { return false; }
  virtual int GetState(int /*AChildID*/) { return 0; }
  virtual int GetSupportedProperties(int /*AChildID*/) { return 0; }
  virtual String GetValue(int AChildID);
  virtual int NavigateToChild(int AIndex, TcxAccessibilityNavigationDirection ADirection);
  virtual void SetValue(int /*AChildID*/, const String& /*AValue*/) {}
  virtual bool IsUIAutomationSupported() { return false; }
  virtual bool GetPatternProvider(PATTERNID /*APatternID*/, TComPtr<IUnknown>& /*AProvider*/, int /*AChildID*/) {
    return false;
  }
  virtual int GetUniqueID(int AChildID) { return AChildID; }
  virtual void GetPropertyValue(PROPERTYID APropertyID, int AChildID, VARIANT& AValue);
  virtual TRect GetScreenBounds(int /*AChildID*/) { return TRect(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* ACount) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** AParent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* ACount) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT AChild, IDispatch** ADispatch) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT AChild, BSTR* AName) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT AChild, BSTR* AValue) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT AChild, BSTR* ADescription) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT AChild, VARIANT* ARole) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT AChild, VARIANT* AState) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT AChild, BSTR* AHelp) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* AHelpFile, VARIANT AChild, long* ATopic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT AChild, BSTR* AShortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* AChild) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* AChildren) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT AChild, BSTR* AAction) override;
  HRESULT STDMETHODCALLTYPE accSelect(long AFlags, VARIANT AChild) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* ALeft, long* ATop, long* AWidth, long* AHeight, VARIANT AChild) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long ANavDir, VARIANT AStart, VARIANT* AEnd) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long X, long Y, VARIANT* AChild) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT AChild) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT AChild, BSTR AName) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT AChild, BSTR AValue) override;

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* AWindow) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }

  // IServiceProvider
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID AService, REFIID AIID, void** AObject) override;

  // IAccessibleEx
  HRESULT STDMETHODCALLTYPE GetObjectForChild(long AChildID, IAccessibleEx** AResult) override;
  HRESULT STDMETHODCALLTYPE GetIAccessiblePair(IAccessible** AAccessible, long* AChildID) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** AResult) override;
  HRESULT STDMETHODCALLTYPE ConvertReturnedElement(IRawElementProviderSimple* AIn,
                                                                 IAccessibleEx** AResult) override;

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* AResult) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID APatternID, IUnknown** AResult) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID APropertyID, VARIANT* AResult) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** AResult) override;

  // IcxAccessibilityHelper
  TcxAccessibilityHelper* STDMETHODCALLTYPE GetHelper() override { return this; }

 protected:
  TObject* FOwnerObject;

 private:
  // Runs AAnswer for a live owner, turning an exception into E_FAIL.
  template <class F>
  HRESULT Guarded(F&& AAnswer);
  // The child identifier a VARIANT carries: E_INVALIDARG unless a VT_I4
  // from 0 to AMaximum.
  HRESULT ChildID(const VARIANT& AChild, int AMaximum, int& AChildID);
  HRESULT ChildID(const VARIANT& AChild, int& AChildID) { return ChildID(AChild, ChildCount(), AChildID); }
  bool Supports(int AChildID, int AProperty) { return (GetSupportedProperties(AChildID) & AProperty) != 0; }
  // A non-simple child as its IDispatch, else the identifier, in AResult.
  void ChildToVariant(int AIndex, VARIANT& AResult);

  volatile long FRefCount;
  bool FIsOwnerObjectLive;
  TComPtr<IcxAccessible> FInternalChild;
  bool FLock;
};

// The UI Automation bridge's element for the simple child AIndex of a node.
class TdxChildAccessibleExPart : public TObject, public IdxAccessibleEx, public IdxRawElementProviderSimple {
  SK_CLASS(TdxChildAccessibleExPart, TObject)
 public:
  // Holds AParent; the caller receives the first reference.
  void Create(TcxAccessibilityHelper* AParent, int AIndex);
  void Destroy() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetObjectForChild(long AChildID, IAccessibleEx** AResult) override;
  HRESULT STDMETHODCALLTYPE GetIAccessiblePair(IAccessible** AAccessible, long* AChildID) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** AResult) override;
  HRESULT STDMETHODCALLTYPE ConvertReturnedElement(IRawElementProviderSimple* AIn,
                                                                 IAccessibleEx** AResult) override;
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* AResult) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID APatternID, IUnknown** AResult) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID APropertyID, VARIANT* AResult) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** AResult) override;

 private:
  volatile long FRefCount;
  TComPtr<IcxAccessibilityHelper> FIAccessibilityHelper;
  int FIndex;
};

// The automation patterns. Each answers its interface over virtual
// operations descendants override; its node owns it (no reference
// counting). Every call answers S_OK.
template <class I>
class TdxPatternProvider : public I {
 public:
  explicit TdxPatternProvider(TcxAccessibilityHelper* AOwner) : FOwner(AOwner) {}
  virtual ~TdxPatternProvider() = default;
  TdxPatternProvider(const TdxPatternProvider&) = delete;
  TdxPatternProvider& operator=(const TdxPatternProvider&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObject) override {
    if (!AObject) return E_POINTER;
    *AObject = AIID == IID_IUnknown || AIID == __uuidof(I) ? static_cast<I*>(this) : nullptr;
    return *AObject ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

 protected:
  TcxAccessibilityHelper* Owner() const { return FOwner; }

 private:
  TcxAccessibilityHelper* FOwner;
};

class TdxScrollItemProvider : public TdxPatternProvider<IdxScrollItemProvider> {
 public:
  using TdxPatternProvider::TdxPatternProvider;
  HRESULT STDMETHODCALLTYPE ScrollIntoView() override;

 protected:
  virtual void DoScrollIntoView() {}
};

class TdxRangeValueProvider : public TdxPatternProvider<IdxRangeValueProvider> {
 public:
  using TdxPatternProvider::TdxPatternProvider;
  HRESULT STDMETHODCALLTYPE SetValue(double AValue) override;
  HRESULT STDMETHODCALLTYPE get_Value(double* AValue) override;
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* AValue) override;
  HRESULT STDMETHODCALLTYPE get_Maximum(double* AValue) override;
  HRESULT STDMETHODCALLTYPE get_Minimum(double* AValue) override;
  HRESULT STDMETHODCALLTYPE get_LargeChange(double* AValue) override;
  HRESULT STDMETHODCALLTYPE get_SmallChange(double* AValue) override;

 protected:
  virtual bool GetIsReadOnly() { return false; }
  virtual double GetLargeChange() { return 0; }
  virtual double GetMaximum() { return 0; }
  virtual double GetMinimum() { return 0; }
  virtual double GetSmallChange() { return 0; }
  virtual double GetValue() { return 0; }
  virtual void DoSetValue(double) {}
};

class TdxExpandCollapseProvider : public TdxPatternProvider<IdxExpandCollapseProvider> {
 public:
  using TdxPatternProvider::TdxPatternProvider;
  HRESULT STDMETHODCALLTYPE Expand() override;
  HRESULT STDMETHODCALLTYPE Collapse() override;
  HRESULT STDMETHODCALLTYPE get_ExpandCollapseState(int* AState) override;

 protected:
  virtual void DoCollapse() {}
  virtual void DoExpand() {}
  // 0 collapsed, 1 expanded, 2 partially expanded, 3 a leaf.
  virtual int GetExpandCollapseState() { return 0; }
};

class TdxToggleProvider : public TdxPatternProvider<IdxToggleProvider> {
 public:
  using TdxPatternProvider::TdxPatternProvider;
  HRESULT STDMETHODCALLTYPE Toggle() override;
  HRESULT STDMETHODCALLTYPE get_ToggleState(int* AState) override;

 protected:
  virtual void DoToggle() {}
  // 0 off, 1 on, 2 indeterminate.
  virtual int GetToggleState() { return 0; }
};

// Whether oleacc's LresultFromObject was bound at start-up.
bool IsAccessibilitySupported();
// The WM_GETOBJECT answer for the node: its IAccessible through
// LresultFromObject, E_NOINTERFACE without a node.
LRESULT ReturnAccessibleObject(WPARAM AWParam, TcxAccessibilityHelper* ANode);
// The node's owner is gone: every later call of the node fails. Clears ANode.
void NotifyAccessibilityHelperRemoved(TComPtr<IcxAccessibilityHelper>& ANode);
// The system's object of a window (AccessibleObjectFromWindow), nil when none.
TComPtr<IcxAccessible> cxAccessibleObjectFromWindow(HWND AWindow, DWORD AObjectID);

void cxAccessibilityInitialization();
void cxAccessibilityFinalization();
