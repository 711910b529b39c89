// A native window's own scroll bars as Windows reports them: the references
// the library's bars are checked against.
#pragma once

#include "platform/runtime/Types.h"
#include "platform/ui/Controls.h"

#include <windows.h>

inline SCROLLBARINFO NativeBarInfo(HWND AWindow, TScrollBarKind AKind) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(AWindow, AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, &info);
  return info;
}

inline bool NativeBarShown(HWND AWindow, TScrollBarKind AKind) {
  const SCROLLBARINFO info = NativeBarInfo(AWindow, AKind);
  return (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0 &&
         info.rcScrollBar.right > info.rcScrollBar.left && info.rcScrollBar.bottom > info.rcScrollBar.top;
}

inline SCROLLINFO NativeScrollInfo(HWND AWindow, TScrollBarKind AKind) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(AWindow, AKind == sbHorizontal ? SB_HORZ : SB_VERT, &info);
  return info;
}

inline TRect ScreenRectOf(HWND AWindow) {
  RECT r{};
  GetWindowRect(AWindow, &r);
  return TRect(r);
}
