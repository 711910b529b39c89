// Window-procedure chains of the control unit.
#include "library/controls/control/cxControls.h"

#include "platform/runtime/Handles.h"

#include <algorithm>
#include <utility>

namespace {

// The chain that took a raw window's procedure.
const wchar_t* const ChainProp = L"cxWindowProcChain";

}  // namespace

// ---------------------------------------------------------------------------
// TcxWindowProcLinkedObject

TcxWindowProcLinkedObject* TcxWindowProcLinkedObject::Predecessor() const {
  return FDetachedPrev ? FDetachedPrev : static_cast<TcxWindowProcLinkedObject*>(Prev());
}

void TcxWindowProcLinkedObject::DefaultProc(TMessage& Message) {
  if (TcxWindowProcLinkedObject* previous = Predecessor()) previous->FWindowProc(Message);
}

// ---------------------------------------------------------------------------
// Subclassing helpers

TcxWindowProcLinkedObject* TcxSubclassingHelper::CreateLinkedObject(TcxWindowProcLinkedObjectList* AList) {
  return static_cast<TcxWindowProcLinkedObject*>(AList->Add());
}

void TcxClassLibrarySubclassingHelper::Create(TControl* AControl) { FControl = AControl; }

void TcxClassLibrarySubclassingHelper::StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) {
  FPrevWindowProc = FControl->WindowProc();
  FDefaultWindowProc =
      FPrevWindowProc ? FPrevWindowProc : BindEvent<&TcxClassLibrarySubclassingHelper::ControlWndProc>(this);
  FControl->SetWindowProc(BindEvent<&TcxWindowProcLinkedObjectList::WndProc>(AList));
}

void TcxClassLibrarySubclassingHelper::RestoreDefaultProc() { FControl->SetWindowProc(FPrevWindowProc); }

void TcxClassLibrarySubclassingHelper::ControlWndProc(TMessage& Message) { FControl->WndProc(Message); }

void TcxWin32SubclassingHelper::Create(HWND AHandle) { FHandle = AHandle; }

void TcxWin32SubclassingHelper::StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) {
  FAPIWndProc = &TcxWin32SubclassingHelper::APIWndProc;
  FDefaultWindowProc = BindEvent<&TcxWin32SubclassingHelper::CallAPIDefaultWndProc>(this);
  // The chain is found before the first message can arrive.
  SetPropW(FHandle, ChainProp, AList);
  FAPIDefaultWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FAPIWndProc)));
}

void TcxWin32SubclassingHelper::RestoreDefaultProc() {
  if (!FAPIDefaultWndProc || !IsWindow(FHandle)) return;
  SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FAPIDefaultWndProc));
  RemovePropW(FHandle, ChainProp);
}

void TcxWin32SubclassingHelper::CallAPIDefaultWndProc(TMessage& Message) {
  Message.Result = CallWindowProcW(FAPIDefaultWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TcxWin32SubclassingHelper::APIWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  auto* chain = static_cast<TcxWindowProcLinkedObjectList*>(GetPropW(AWnd, ChainProp));
  if (!chain) return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  TMessage message{AMsg, AWParam, ALParam, 0};
  try {
    chain->WndProc(message);
  } catch (...) {
    // The chain may have freed itself on the way out.
    HandleCallbackException(nullptr);
  }
  return message.Result;
}

// ---------------------------------------------------------------------------
// TcxWindowProcLinkedObjectList

void TcxWindowProcLinkedObjectList::Create(TControl* AControl) {
  FControl = AControl;
  Subclass(New<TcxClassLibrarySubclassingHelper>(AControl));
}

void TcxWindowProcLinkedObjectList::Create(HWND AHandle) {
  FHandle = AHandle;
  Subclass(New<TcxWin32SubclassingHelper>(AHandle));
}

void TcxWindowProcLinkedObjectList::Subclass(TcxSubclassingHelper* AHelper) {
  FHelper.reset(AHelper);
  auto* initial = FHelper->CreateLinkedObject(this);
  initial->FControl = FControl;
  initial->FHandle = FHandle;
  initial->FChain = this;
  FHelper->StoreDefaultProc(this);
  initial->FWindowProc = FHelper->DefaultWindowProc();
}

void TcxWindowProcLinkedObjectList::Destroy() {
  if (FHelper && !FReleased) FHelper->RestoreDefaultProc();
  FreeDetachedNodes();
  inherited::Destroy();
  FHelper.reset();
}

TcxWindowProcLinkedObject* TcxWindowProcLinkedObjectList::AddHandler(const TWndMethod& AWindowProc) {
  TcxWindowProcLinkedObject* node = FHelper->CreateLinkedObject(this);
  node->FControl = FControl;
  node->FHandle = FHandle;
  node->FWindowProc = AWindowProc;
  node->FChain = this;
  return node;
}

bool TcxWindowProcLinkedObjectList::RemoveHandler(TcxWindowProcLinkedObject* ANode) {
  if (FDispatchDepth > 0) {
    // A message may be inside this node's handler or below it.
    TcxWindowProcLinkedObject* previous = ANode->Predecessor();
    Extract(ANode);
    ANode->FDetachedPrev = previous;
    FDetached.push_back(ANode);
  } else {
    Delete(ANode);
  }
  return HandlerCount() == 0;
}

void TcxWindowProcLinkedObjectList::Release() {
  if (!FReleased) {
    FReleased = true;
    FHelper->RestoreDefaultProc();
  }
  if (FDispatchDepth == 0) Free();
}

void TcxWindowProcLinkedObjectList::FreeDetachedNodes() {
  for (TcxWindowProcLinkedObject* node : std::exchange(FDetached, {})) node->Free();
}

void TcxWindowProcLinkedObjectList::WndProc(TMessage& Message) {
  ++FDispatchDepth;
  TScopeExit leave([this] {
    if (--FDispatchDepth > 0) return;
    FreeDetachedNodes();
    if (FReleased) Free();
  });
  static_cast<TcxWindowProcLinkedObject*>(Last())->FWindowProc(Message);
}

// ---------------------------------------------------------------------------
// TcxWindowProcController

void TcxWindowProcController::Destroy() {
  // Newest first, so that stacked raw subclasses come off in order.
  while (!FWindowProcObjects.empty()) FWindowProcObjects.pop_back();
  inherited::Destroy();
}

TcxWindowProcLinkedObjectList* TcxWindowProcController::Find(TControl* AControl, HWND AHandle) const {
  for (const TOwned<TcxWindowProcLinkedObjectList>& chain : FWindowProcObjects)
    if (chain->Control() == AControl && chain->Handle() == AHandle) return chain.get();
  return nullptr;
}

TcxWindowProcLinkedObject* TcxWindowProcController::Add(TControl* AControl, const TWndMethod& AWindowProc) {
  if (!AControl) return nullptr;
  TcxWindowProcLinkedObjectList* chain = Find(AControl, nullptr);
  if (!chain) {
    FWindowProcObjects.emplace_back(New<TcxWindowProcLinkedObjectList>(AControl));
    chain = FWindowProcObjects.back().get();
  }
  return chain->AddHandler(AWindowProc);
}

TcxWindowProcLinkedObject* TcxWindowProcController::Add(HWND AHandle, const TWndMethod& AWindowProc) {
  if (!AHandle) return nullptr;
  TcxWindowProcLinkedObjectList* chain = Find(nullptr, AHandle);
  if (!chain) {
    FWindowProcObjects.emplace_back(New<TcxWindowProcLinkedObjectList>(AHandle));
    chain = FWindowProcObjects.back().get();
  }
  return chain->AddHandler(AWindowProc);
}

void TcxWindowProcController::Remove(TcxWindowProcLinkedObject*& AObject) {
  TcxWindowProcLinkedObject* node = std::exchange(AObject, nullptr);
  if (!node) return;
  TcxWindowProcLinkedObjectList* chain = node->FChain;
  auto it = std::find_if(FWindowProcObjects.begin(), FWindowProcObjects.end(),
                         [chain](const TOwned<TcxWindowProcLinkedObjectList>& c) { return c.get() == chain; });
  if (it == FWindowProcObjects.end()) return;
  if (!chain->RemoveHandler(node)) return;
  it->release();
  FWindowProcObjects.erase(it);
  chain->Release();
}
