// The hidden message window of the control unit (cxControls).
//
// Classes in this file:
//   TcxMessageWindow   a hidden window whose messages reach a virtual WndProc
//
// The class belongs to the control unit, which re-exports it
// (library/controls/control/cxControls.h). It lives here because the foundation's own
// services derive from it (the timer window, the format controller) and the
// foundation never reaches up into the control framework; this file is the
// whole of that link.
#pragma once

#include "library/core/base/dxCoreClasses.h"

class TcxMessageWindow : public TcxIUnknownObject {
  SK_CLASS(TcxMessageWindow, TcxIUnknownObject)
 public:
  // Allocates the window; a message-only window (parent HWND_MESSAGE) when
  // IsMessageOnly answers true, else a hidden top-level window that also
  // receives the system's broadcasts. Raises EOutOfResources when Windows
  // refuses the window.
  virtual void Create();
  void Destroy() override;

  HWND Handle() const { return FHandle; }

 protected:
  virtual bool IsMessageOnly() { return true; }
  // Descendants handle their messages and call this for the others, which
  // go to DefWindowProcW; the answer is stored in AMessage.Result.
  virtual void WndProc(TMessage& AMessage);

 private:
  // The window's entry: an exception of WndProc goes to the application
  // object with this window object as the sender.
  void MainWndProc(TMessage& AMessage);

  HWND FHandle;
};
