// The control unit.
//
// Classes in this file:
//   TcxMessageWindow        a hidden window with an overridable window procedure
//                           (declared in library/core/system/cxMessageWindow.h, which
//                           the foundation's own message windows derive from)
//   TcxSystemController     wakes the UI thread for pending synchronisation
//                           when the library runs inside a dynamic library
//   IdxSystemInfoListener, TdxSystemInfo   cached system settings and their changes
//   TdxMessagesController   locked message kinds, one swallowed message, purging
//   TcxWindowProcLinkedObject, TcxWindowProcLinkedObjectList, TcxSubclassingHelper,
//   TcxClassLibrarySubclassingHelper, TcxWin32SubclassingHelper, TcxWindowProcController
//                           chains of handlers that see the messages of a window
//                           they do not own (cxControls_WindowProc.cpp)
//
// Process-wide services: the system controller exists from the unit's
// start-up on; SystemInfo, MessagesController and WindowProcController are
// created on first use.
// All are freed at the unit's shut-down, after which the accessors answer nil.
// Everything here runs on the UI thread.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/system/cxMessageWindow.h"
#include "platform/ui/Controls.h"
#include "platform/runtime/Threads.h"

#include <initializer_list>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------
// System controller

class TcxSystemController : public TcxMessageWindow {
  SK_CLASS(TcxSystemController, TcxMessageWindow)
 public:
  // The message that asks the UI thread to run pending synchronisation.
  static constexpr UINT WM_SYNCHRONIZE_THREADS = 0x8066;

  // Takes over the run-time's main-thread wake-up only inside a dynamic
  // library (an executable's application object does that work).
  void Create() override { Create(IsInsideLibrary()); }
  virtual void Create(bool AInsideLibrary);
  // Puts the previous wake-up back.
  void Destroy() override;

 protected:
  void WndProc(TMessage& AMessage) override;

 private:
  bool FWakeInstalled;
  TWakeMainThread FPrevWakeMainThread;
};

// ---------------------------------------------------------------------------
// System information

struct IdxSystemInfoListener : public virtual IInterface {
  static constexpr GUID IID = {0xF137963E, 0x6165, 0x47F9, {0xA4, 0xC7, 0x96, 0xBB, 0x4E, 0xB9, 0x1A, 0xE0}};
  // A system setting changed (its SPI_SET... code).
  virtual void Changed(UINT AParameter) = 0;

 protected:
  ~IdxSystemInfoListener() = default;
};

class TdxSystemInfo : public TcxMessageWindow {
  SK_CLASS(TdxSystemInfo, TcxMessageWindow)
 public:
  // Reads the cached settings.
  void Create() override;
  void Destroy() override;

  void AddListener(IdxSystemInfoListener* AListener);
  void RemoveListener(IdxSystemInfoListener* AListener);
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }

  // SystemParametersInfoW for one SPI_GET... code into AValue (a record's
  // size field is filled in first where the code needs it).
  bool GetParameter(UINT ACode, void* AValue);
  template <class T>
  bool GetParameter(UINT ACode, T& AValue) { return GetParameter(ACode, static_cast<void*>(&AValue)); }
  bool IsRemoteSession();

  bool IsDropShadow() const { return FIsDropShadow; }
  const NONCLIENTMETRICSW& NonClientMetrics() const { return FNonClientMetrics; }
  bool UseMouseWheelRouting() const { return FUseMouseWheelRouting; }

 protected:
  // Message-only before Windows 10; there and later a hidden top-level
  // window, which hears the setting broadcasts.
  bool IsMessageOnly() override;
  void WndProc(TMessage& AMessage) override;
  // Reads the cached value of one SPI_SET... code again.
  void UpdateCache(UINT AParameter);

 private:
  bool FIsDropShadow;
  std::vector<IPtr<IdxSystemInfoListener>> FListeners;
  NONCLIENTMETRICSW FNonClientMetrics;
  bool FUseMouseWheelRouting;
};

// ---------------------------------------------------------------------------
// Messages controller

class TdxMessagesController : public TObject {
  SK_CLASS(TdxMessagesController, TObject)
 public:
  // Gives a still blocked window its procedure back.
  void Destroy() override;

  // A number may be locked more than once; each unlock removes one.
  void LockMessages(std::initializer_list<UINT> AMessages);
  void UnlockMessages(std::initializer_list<UINT> AMessages);
  bool IsMessageLocked(UINT AMessage) const;
  // The window's next message, whatever it is, is swallowed (answered 1).
  // Raises EdxException "dxLockMessage fails" while another window is
  // blocked.
  void BlockMessage(HWND AWnd);
  // BlockMessage for a locked message, which then becomes 0.
  void BlockLockedMessage(HWND AWnd, UINT& AMessage);
  bool IsBlocked() const { return FOldWndProc != nullptr; }
  // A message of that number waits in the queue for that window.
  bool IsMessageInQueue(HWND AWnd, UINT AMessage);
  // Removes the window's messages from AMsgFrom to AMsgTo (0: AMsgFrom only):
  // all with APurgeAll, else the first. A removed WM_QUIT is posted again
  // and ends the removal. Whether a message was removed.
  bool KillMessages(HWND AWnd, UINT AMsgFrom, bool APurgeAll = true, UINT AMsgTo = 0);

 private:
  static LRESULT CALLBACK BlockingWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
  void Unblock();

  std::vector<UINT> FLockedMessages;
  WNDPROC FOldWndProc;
  HWND FBlockedWnd;
};

// ---------------------------------------------------------------------------
// Window-procedure chains
//
// A chain holds, for one class-library control or one raw window, the
// handlers that see its messages before it does. The newest handler runs
// first; one that wants the usual processing calls DefaultProc on its own
// node, which hands the message to the next older handler and in the end to
// the window's initial procedure. Adding the first handler subclasses the
// window; removing the last puts the initial procedure back.
//
// A handler may remove any node, itself and the last one included, while a
// message runs through the chain: a removed node leaves the chain at once
// but lives on, still passing messages to the node before it, until the
// outermost message of the chain has returned.

class TcxWindowProcLinkedObjectList;

class TcxWindowProcLinkedObject : public TcxDoublyLinkedObject {
  SK_CLASS(TcxWindowProcLinkedObject, TcxDoublyLinkedObject)
 public:
  // Hands the message to the next older handler or the initial procedure.
  void DefaultProc(TMessage& Message);

  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  const TWndMethod& WindowProc() const { return FWindowProc; }

 private:
  friend class TcxWindowProcLinkedObjectList;
  friend class TcxWindowProcController;
  TcxWindowProcLinkedObject* Predecessor() const;

  TControl* FControl;
  HWND FHandle;
  TWndMethod FWindowProc;
  TcxWindowProcLinkedObjectList* FChain;
  // A node taken off its chain while a message ran through it: the node it
  // passed messages to then.
  TcxWindowProcLinkedObject* FDetachedPrev;
};

// How a chain takes the window's messages and gives them back.
class TcxSubclassingHelper : public TObject {
  SK_CLASS(TcxSubclassingHelper, TObject)
 public:
  // The procedure that was in place before subclassing.
  const TWndMethod& DefaultWindowProc() const { return FDefaultWindowProc; }

 protected:
  friend class TcxWindowProcLinkedObjectList;
  virtual TcxWindowProcLinkedObject* CreateLinkedObject(TcxWindowProcLinkedObjectList* AList);
  virtual void RestoreDefaultProc() = 0;
  // Stores the initial procedure and installs the chain's dispatcher.
  virtual void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) = 0;

  TWndMethod FDefaultWindowProc;
};

// Through the control's replaceable WindowProc.
class TcxClassLibrarySubclassingHelper : public TcxSubclassingHelper {
  SK_CLASS(TcxClassLibrarySubclassingHelper, TcxSubclassingHelper)
 public:
  void Create(TControl* AControl);

 protected:
  void RestoreDefaultProc() override;
  void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) override;

 private:
  // The control's own dispatch when it had no WindowProc of its own.
  void ControlWndProc(TMessage& Message);

  TControl* FControl;
  TWndMethod FPrevWindowProc;  // as it was, empty included
};

// Through GWLP_WNDPROC; the previous procedure is called with CallWindowProcW.
class TcxWin32SubclassingHelper : public TcxSubclassingHelper {
  SK_CLASS(TcxWin32SubclassingHelper, TcxSubclassingHelper)
 public:
  void Create(HWND AHandle);

 protected:
  void RestoreDefaultProc() override;
  void StoreDefaultProc(TcxWindowProcLinkedObjectList* AList) override;

 private:
  void CallAPIDefaultWndProc(TMessage& Message);
  static LRESULT CALLBACK APIWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

  HWND FHandle;
  WNDPROC FAPIWndProc;
  WNDPROC FAPIDefaultWndProc;
};

// The chain of one window. Its first node holds the initial procedure.
class TcxWindowProcLinkedObjectList : public TcxDoublyLinkedObjectList {
  SK_CLASS(TcxWindowProcLinkedObjectList, TcxDoublyLinkedObjectList)
 public:
  void Create(TControl* AControl);
  void Create(HWND AHandle);
  void Destroy() override;

  TcxWindowProcLinkedObject* AddHandler(const TWndMethod& AWindowProc);
  // Takes the node off the chain; it is freed once no message runs through
  // the chain. Answers whether only the initial-procedure node remains.
  bool RemoveHandler(TcxWindowProcLinkedObject* ANode);
  // The window gets its initial procedure back; the chain frees itself once
  // no message runs through it.
  void Release();
  // Every message of the window comes here first.
  void WndProc(TMessage& Message);

  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  int HandlerCount() const { return Count() - 1; }

 protected:
  TClass GetNodeClass() override { return TcxWindowProcLinkedObject::ClassInfo(); }

 private:
  void Subclass(TcxSubclassingHelper* AHelper);
  void FreeDetachedNodes();

  TOwned<TcxSubclassingHelper> FHelper;
  TControl* FControl;
  HWND FHandle;
  int FDispatchDepth;
  bool FReleased;
  std::vector<TcxWindowProcLinkedObject*> FDetached;
};

class TcxWindowProcController : public TObject {
  SK_CLASS(TcxWindowProcController, TObject)
 public:
  // Gives every window its initial procedure back.
  void Destroy() override;

  // Nil for a nil control or a 0 handle.
  TcxWindowProcLinkedObject* Add(TControl* AControl, const TWndMethod& AWindowProc);
  TcxWindowProcLinkedObject* Add(HWND AHandle, const TWndMethod& AWindowProc);
  // Removes the handler and clears the variable; nothing for nil.
  void Remove(TcxWindowProcLinkedObject*& AObject);
  int ChainCount() const { return static_cast<int>(FWindowProcObjects.size()); }

 private:
  TcxWindowProcLinkedObjectList* Find(TControl* AControl, HWND AHandle) const;

  std::vector<TOwned<TcxWindowProcLinkedObjectList>> FWindowProcObjects;
};

// The process-wide services (nil once the unit has shut down).
TcxSystemController* cxSystemController();
TdxSystemInfo* SystemInfo();
TdxMessagesController* MessagesController();
TcxWindowProcController* WindowProcController();

// Whether the unit's start-up (run through the units loader) initialised the
// system's buffered painting, which its shut-down gives back.
bool cxControlsBufferedPaintInitialized();

// The unit's start-up and shut-down.
void cxControlsInitialization();
void cxControlsFinalization();
