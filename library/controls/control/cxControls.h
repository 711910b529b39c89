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
//
// Process-wide services: the system controller exists from the unit's
// start-up on; SystemInfo and MessagesController are created on first use.
// All are freed at the unit's shut-down, after which the accessors answer nil.
// Everything here runs on the UI thread.
#pragma once

#include "library/core/system/cxMessageWindow.h"
#include "library/core/base/dxCore.h"
#include "platform/runtime/Threads.h"

#include <initializer_list>
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

// The process-wide services (nil once the unit has shut down).
TcxSystemController* cxSystemController();
TdxSystemInfo* SystemInfo();
TdxMessagesController* MessagesController();

// Whether the unit's start-up (run through the units loader) initialised the
// system's buffered painting, which its shut-down gives back.
bool cxControlsBufferedPaintInitialized();

// The unit's start-up and shut-down.
void cxControlsInitialization();
void cxControlsFinalization();
