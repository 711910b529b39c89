#include "library/core/system/cxMessageWindow.h"

#include "platform/ui/WindowAllocation.h"

void TcxMessageWindow::Create() {
  inherited::Create();
  FHandle = AllocateHWnd(BindEvent<&TcxMessageWindow::MainWndProc>(this), IsMessageOnly());
}

void TcxMessageWindow::Destroy() {
  DeallocateHWnd(std::exchange(FHandle, nullptr));
  inherited::Destroy();
}

void TcxMessageWindow::WndProc(TMessage& AMessage) {
  AMessage.Result = DefWindowProcW(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

void TcxMessageWindow::MainWndProc(TMessage& AMessage) {
  try {
    WndProc(AMessage);
  } catch (...) {
    HandleCallbackException(this);
  }
}
